// TKxEditListBox and TKxPopupEdit: items edited in place.
#include "kx/foundation/KxLstBox.h"

namespace {
constexpr UINT kEditDelayMs = 400;
}  // namespace

// ---------------------------------------------------------------------------
// TKxPopupEdit

IMPLEMENT_CLASS(TKxPopupEdit)

TKxPopupEdit::TKxPopupEdit(TComponent* owner) : TCustomEdit(owner) {
  SetParentCtl3D(false);
  SetCtl3D(false);
  SetTabStop(false);
  SetBorderStyle(bsSingle);
  SetVisible(false);
}

void TKxPopupEdit::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  params.WindowClass.style |= CS_SAVEBITS;
}

void TKxPopupEdit::CNKeyDown(TMessage& m) {
  TWMKey k(m);
  switch (k.CharCode()) {
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_TAB:
      // The editor's own keys: no dialog key of the form takes them.
      m.Result = 0;
      return;
    case 'C':
      // Ctrl+C copies the editor's text: a Copy shortcut of the form would
      // take it first. A plain C is typed like every other letter.
      if (GetKeyState(VK_CONTROL) < 0) {
        m.Result = 0;
        return;
      }
      break;
  }
  inherited::CNKeyDown(m);
}

void TKxPopupEdit::KeyDown(WORD& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  switch (key) {
    case VK_TAB:
      key = 0;
      break;
    case VK_RETURN:
      key = 0;
      if (listBox_) listBox_->HideEditor(true);
      break;
    case VK_ESCAPE:
      key = 0;
      if (listBox_) listBox_->HideEditor(false);
      break;
  }
}

void TKxPopupEdit::KeyPress(char& key) {
  // Their characters would only make a single-line edit beep.
  if (key == VK_RETURN || key == VK_ESCAPE || key == VK_TAB) {
    key = 0;
    return;
  }
  inherited::KeyPress(key);
}

void TKxPopupEdit::WMKillFocus(TMessage& m) {
  inherited::WMKillFocus(m);
  if (listBox_) listBox_->HideEditor(true);
}

void TKxPopupEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_SHOWINGCHANGED:
      // Only the list box shows and hides the editor.
      return;
    case CM_CANCELMODE:
      if (reinterpret_cast<TControl*>(m.LParam) != this && listBox_) listBox_->HideEditor(true);
      return;
    default:
      inherited::Dispatch(m);
      return;
  }
}

// ---------------------------------------------------------------------------
// TKxEditListBox

TKxEditListBox::TKxEditListBox(TComponent* owner) : TKxListBox(owner) {
  editor_ = New<TKxPopupEdit>(this);
  editor_->SetParent(this);
  editor_->SetListBox(this);
  editTimer_ = New<TTimer>(nullptr);
  editTimer_->SetEnabled(false);
  editTimer_->SetInterval(kEditDelayMs);
  editTimer_->SetOnTimer(TNotifyEvent(this, &TKxEditListBox::EditTimerExpired));
}

void TKxEditListBox::Destroy() {
  inherited::Destroy();
  FreeAndNil(editTimer_);
}

void TKxEditListBox::WMSetFocus(TMessage& m) {
  justGotFocus_ = true;
  inherited::WMSetFocus(m);
}

void TKxEditListBox::WMLButtonDown(TMessage& m) {
  int selected = GetItemIndex();
  if (!justGotFocus_) {
    if (selected == editorIdx_) showEditorOnNextClick_ = !showEditorOnNextClick_;
    else showEditorOnNextClick_ = true;
  }
  justGotFocus_ = false;
  editorIdx_ = selected;
  inherited::WMLButtonDown(m);
}

void TKxEditListBox::WMLButtonDblClk(TMessage& m) {
  showEditorOnNextClick_ = false;
  doubleClicked_ = true;
  inherited::WMLButtonDblClk(m);
}

void TKxEditListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseUp(button, shift, x, y);
  // The focus that came with this click (the list box may hear of it again
  // while it handles the press) is spent with it.
  justGotFocus_ = false;
  if (doubleClicked_) {
    doubleClicked_ = false;
    return;
  }
  if (ItemAtPos(TPoint{x, y}, true) >= 0) {
    editTimer_->SetEnabled(false);
    editTimer_->SetEnabled(true);
  }
}

void TKxEditListBox::EditTimerExpired(TObject*) {
  editTimer_->SetEnabled(false);
  int index = GetItemIndex();
  if (allowEdit_ && index == editorIdx_ && showEditorOnNextClick_ && index != -1) ShowEditor();
}

void TKxEditListBox::KeyDown(WORD& key, TShiftState shift) {
  if (key == VK_DELETE && allowDeleteByKbd_) {
    DeleteSelectedItems();
    key = 0;
    return;
  }
  if (key == VK_F2 && allowEdit_) {
    showEditorOnNextClick_ = true;
    ShowEditor();
    key = 0;
    return;
  }
  inherited::KeyDown(key, shift);
}

void TKxEditListBox::SizeEditRect(int index, TRect& rect) {
  if (OnSizeEditRect) OnSizeEditRect(this, index, rect);
}

void TKxEditListBox::DoShowingEditor(int index, bool& allowEdit) {
  if (OnShowingEditor) OnShowingEditor(this, index, allowEdit);
}

void TKxEditListBox::DoHidingEditor() {
  if (OnHidingEditor) OnHidingEditor(this);
}

void TKxEditListBox::ItemChanged(int index) {
  if (OnItemChanged) OnItemChanged(this, index);
}

void TKxEditListBox::ShowEditor() {
  if (GetItems()->GetCount() == 0) return;
  HWND h = GetHandle();
  currIdx_ = static_cast<int>(SendMessageA(h, LB_GETCARETINDEX, 0, 0));
  if (currIdx_ < 0) return;
  SendMessageA(h, LB_SETCARETINDEX, static_cast<WPARAM>(currIdx_), 0);
  if (!GetMultiSelect()) SetItemIndex(-1);
  UnselectAll();
  editor_->SetText(GetItems()->Get(currIdx_));
  bool allow = true;
  DoShowingEditor(currIdx_, allow);
  if (!allow) return;
  TRect r = ItemRect(currIdx_);
  r.left += 2;
  r.right -= 2;
  SizeEditRect(currIdx_, r);
  SetWindowPos(editor_->GetHandle(), HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  // The window's focus: the editor is shown by its window alone, and as a
  // control it stays invisible.
  ::SetFocus(editor_->GetHandle());
  popupVisible_ = true;
}

void TKxEditListBox::HideEditor(bool accept) {
  if (!popupVisible_) return;
  TStrings* items = GetItems();
  if (accept && currIdx_ >= 0 && currIdx_ < items->GetCount()) {
    std::string text = editor_->GetText();
    if (GetSorted()) {
      // The text finds its sorted place; the item's object goes with it.
      TObject* obj = items->GetObject(currIdx_);
      items->Delete(currIdx_);
      currIdx_ = items->AddObject(text, obj);
      SendMessageA(GetHandle(), LB_SETCARETINDEX, static_cast<WPARAM>(currIdx_), 0);
    } else {
      items->Put(currIdx_, text);
    }
  }
  DoHidingEditor();
  popupVisible_ = false;
  if (editor_->HandleAllocated())
    SetWindowPos(editor_->GetWindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (HandleAllocated() && IsWindowVisible(GetWindowHandle())) ::SetFocus(GetWindowHandle());
  if (currIdx_ >= 0 && currIdx_ < items->GetCount()) {
    if (GetMultiSelect()) SetSelected(currIdx_, true);
    else SetItemIndex(currIdx_);
  }
  ItemChanged(currIdx_);
}

PUBLISHED(TKxEditListBox) {
  using T = TKxEditListBox;
  PublishKxListBoxProps(p);
  p.Prop("AllowEdit", &T::GetAllowEdit, &T::SetAllowEdit).Default(true);
  p.Prop("AllowDeleteByKbd", &T::GetAllowDeleteByKbd, &T::SetAllowDeleteByKbd).Default(false);
  p.Prop("PopupVisible", &T::GetPopupVisible, nullptr);
  p.Prop("OnSizeEditRect", &T::GetOnSizeEditRect, &T::SetOnSizeEditRect);
  p.Prop("OnShowingEditor", &T::GetOnShowingEditor, &T::SetOnShowingEditor);
  p.Prop("OnHidingEditor", &T::GetOnHidingEditor, &T::SetOnHidingEditor);
  p.Prop("OnItemChanged", &T::GetOnItemChanged, &T::SetOnItemChanged);
}
