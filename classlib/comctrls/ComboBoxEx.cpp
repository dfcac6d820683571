#include "classlib/comctrls/ComboBoxEx.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "classlib/SysUtils.h"
#include "classlib/classes/Lists.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"

DEFINE_ENUM_TYPE(TComboBoxExStyle, "csExDropDown", "csExSimple", "csExDropDownList")

// ---------------------------------------------------------------------------
// TListControlItem, TListControlItems

PUBLISHED(TListControlItem) {
  p.Prop("Caption", &TListControlItem::GetCaption, &TListControlItem::SetCaption);
  p.Prop("ImageIndex", &TListControlItem::GetImageIndex, &TListControlItem::SetImageIndex).Default(-1);
}
IMPLEMENT_CLASS(TListControlItems)

void TListControlItem::ItemChanged() {
  // Inside an update the collection hears nothing of single items: the
  // whole list is written when the update ends.
  auto* items = dynamic_cast<TComboExItems*>(GetCollection());
  if (items && items->GetUpdateCount() > 0) items->rowsStale_ = true;
  Changed(false);
}

void TListControlItem::SetCaption(const std::string& value) {
  if (caption_ == value) return;
  caption_ = value;
  ItemChanged();
}

void TListControlItem::SetData(void* value) {
  if (data_ == value) return;
  data_ = value;
  ItemChanged();
}

void TListControlItem::SetImageIndex(int value) {
  if (imageIndex_ == value) return;
  imageIndex_ = value;
  ItemChanged();
}

std::string TListControlItem::GetDisplayName() const {
  return caption_.empty() ? inherited::GetDisplayName() : caption_;
}

void TListControlItem::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TListControlItem*>(source);
  if (!other) {
    inherited::Assign(source);
    return;
  }
  caption_ = other->caption_;
  data_ = other->data_;
  imageIndex_ = other->imageIndex_;
  ItemChanged();
}

int TListControlItems::IndexOfCaption(const std::string& s) const {
  for (int i = 0; i < GetCount(); ++i)
    if (AnsiSameText(GetItem(i)->GetCaption(), s)) return i;
  return -1;
}

// ---------------------------------------------------------------------------
// TComboExItem, TComboExItems

PUBLISHED(TComboExItem) {
  p.Prop("Indent", &TComboExItem::GetIndent, &TComboExItem::SetIndent).Default(0);
  p.Prop("OverlayImageIndex", &TComboExItem::GetOverlayImageIndex, &TComboExItem::SetOverlayImageIndex)
      .Default(-1);
  p.Prop("SelectedImageIndex", &TComboExItem::GetSelectedImageIndex, &TComboExItem::SetSelectedImageIndex)
      .Default(-1);
}
IMPLEMENT_CLASS(TComboExItems)

void TComboExItem::SetSelectedImageIndex(int value) {
  if (selectedImageIndex_ == value) return;
  selectedImageIndex_ = value;
  ItemChanged();
}

void TComboExItem::SetOverlayImageIndex(int value) {
  if (overlayImageIndex_ == value) return;
  overlayImageIndex_ = value;
  ItemChanged();
}

void TComboExItem::SetIndent(int value) {
  if (indent_ == value) return;
  indent_ = value;
  ItemChanged();
}

void TComboExItem::SetIndex(int value) {
  // The collection moves the item and then tells of a change of the whole
  // list: the rows follow then.
  if (auto* items = dynamic_cast<TComboExItems*>(GetCollection()); items && value != GetIndex())
    items->rowsStale_ = true;
  inherited::SetIndex(value);
}

void TComboExItem::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TComboExItem*>(source)) {
    selectedImageIndex_ = other->selectedImageIndex_;
    overlayImageIndex_ = other->overlayImageIndex_;
    indent_ = other->indent_;
  }
  // Copies caption, image and data and writes the row once.
  inherited::Assign(source);
}

TComboExItems::TComboExItems(TCustomComboBoxEx* owner)
    : TListControlItems(owner, TComboExItem::StaticClass()), owner_(owner) {}

TComboExItem* TComboExItems::AddItem(const std::string& caption, int imageIndex, int selectedImageIndex,
                                     int overlayImageIndex, int indent, void* data) {
  TComboExItem* item = Add();
  // One row written for the whole item.
  item->caption_ = caption;
  item->imageIndex_ = imageIndex;
  item->selectedImageIndex_ = selectedImageIndex;
  item->overlayImageIndex_ = overlayImageIndex;
  item->indent_ = indent;
  item->data_ = data;
  item->ItemChanged();
  return item;
}

TComboExItem* TComboExItems::Insert(int index) {
  if (index < 0 || index > GetCount()) TList::Error(SListIndexError, index);
  return static_cast<TComboExItem*>(TCollection::Insert(index));
}

void TComboExItems::Update(TCollectionItem* item) {
  if (!owner_ || !owner_->HandleAllocated()) {
    rowsStale_ = false;
    return;
  }
  if (item) {
    owner_->WriteRow(static_cast<TComboExItem*>(item), item->GetIndex());
    return;
  }
  if (rowsStale_) owner_->WriteAllRows();
  rowsStale_ = false;
}

void TComboExItems::Notify(TCollectionItem* item, TCollectionNotification action) {
  inherited::Notify(item, action);
  if (!owner_ || !owner_->HandleAllocated()) return;
  // The item is in the list at its place in both cases: as the last one
  // just added, or still there while it is taken out.
  if (action == cnAdded) owner_->InsertRow(static_cast<TComboExItem*>(item), item->GetIndex());
  else if (action == cnExtracting) owner_->DeleteRow(item->GetIndex());
}

// ---------------------------------------------------------------------------
// TComboBoxExStrings

IMPLEMENT_CLASS(TComboBoxExStrings)

TComboExItems* TComboBoxExStrings::Items() const {
  return static_cast<TCustomComboBoxEx*>(comboBox_)->GetItemsEx();
}

int TComboBoxExStrings::GetCount() const { return Items()->GetCount(); }

std::string TComboBoxExStrings::Get(int index) const { return Items()->GetComboItem(index)->GetCaption(); }

void TComboBoxExStrings::Put(int index, const std::string& s) { Items()->GetComboItem(index)->SetCaption(s); }

TObject* TComboBoxExStrings::GetObject(int index) const {
  return static_cast<TObject*>(Items()->GetComboItem(index)->GetData());
}

void TComboBoxExStrings::PutObject(int index, TObject* obj) { Items()->GetComboItem(index)->SetData(obj); }

int TComboBoxExStrings::Add(const std::string& s) {
  TComboExItem* item = Items()->Add();
  item->SetCaption(s);
  return item->GetIndex();
}

void TComboBoxExStrings::Insert(int index, const std::string& s) { Items()->Insert(index)->SetCaption(s); }

void TComboBoxExStrings::Delete(int index) { Items()->Delete(index); }

void TComboBoxExStrings::Clear() { Items()->Clear(); }

int TComboBoxExStrings::IndexOf(const std::string& s) const { return Items()->IndexOfCaption(s); }

void TComboBoxExStrings::SetUpdateState(bool updating) {
  if (updating) Items()->BeginUpdate();
  TCustomCombo* combo = comboBox_;
  if (combo->HandleAllocated()) SendMessageA(combo->GetWindowHandle(), WM_SETREDRAW, updating ? FALSE : TRUE, 0);
  if (!updating) {
    Items()->EndUpdate();
    if (combo->HandleAllocated()) combo->Refresh();
  }
}

// ---------------------------------------------------------------------------
// TCustomComboBoxEx

PUBLISHED(TComboBoxEx) {
  p.Prop("ItemsEx", &TComboBoxEx::GetItemsEx, &TComboBoxEx::SetItemsEx);
  // Before the text: a new style makes a new window.
  p.Prop("Style", &TComboBoxEx::GetStyle, &TComboBoxEx::SetStyle).Default(csExDropDown);
  PublishControlProps(p, {"Action", "Anchors", "BiDiMode"});
  PublishColor(p, clWindow);
  PublishControlProps(p, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode"});
  p.Prop("DropDownCount", &TComboBoxEx::GetDropDownCount, &TComboBoxEx::SetDropDownCount).Default(8);
  PublishControlProps(p, {"Enabled", "Font", "ImeMode", "ImeName"});
  p.Prop("MaxLength", &TComboBoxEx::GetMaxLength, &TComboBoxEx::SetMaxLength).Default(0);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder"});
  p.Prop("TabStop", &TComboBoxEx::GetTabStop, &TComboBoxEx::SetTabStop).Default(true);
  PublishControlProps(p, {"Text", "Visible"});
  p.Prop("OnChange", &TComboBoxEx::GetOnChange, &TComboBoxEx::SetOnChange);
  PublishControlProps(p, {"OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver"});
  p.Prop("OnDropDown", &TComboBoxEx::GetOnDropDown, &TComboBoxEx::SetOnDropDown);
  PublishControlProps(p, {"OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"});
  p.Prop("OnSelect", &TComboBoxEx::GetOnSelect, &TComboBoxEx::SetOnSelect);
  PublishControlProps(p, {"OnStartDock", "OnStartDrag"});
  p.Prop("Images", &TComboBoxEx::GetImages, &TComboBoxEx::SetImages);
}
IMPLEMENT_CLASS(TCustomComboBoxEx)
IMPLEMENT_CLASS(TComboBoxExActionLink)

TCustomComboBoxEx::TCustomComboBoxEx(TComponent* owner) : TCustomCombo(owner) {
  items_ = New<TComboBoxExStrings>(this);
  itemsEx_ = New<TComboExItems>(this);
  imageChangeLink_ = New<TChangeLink>();
  imageChangeLink_->SetOnChange(TNotifyEvent(this, &TCustomComboBoxEx::ImageListChange));
  comboInstance_ = MakeObjectInstance(TWndMethod(this, &TCustomComboBoxEx::ComboExWndProc));
}

void TCustomComboBoxEx::Destroy() {
  if (images_) images_->UnRegisterChanges(imageChangeLink_);
  inherited::Destroy();
  FreeAndNil(itemsEx_);
  FreeAndNil(imageChangeLink_);
  FreeObjectInstance(comboInstance_);
  comboInstance_ = nullptr;
}

TClass TCustomComboBoxEx::GetActionLinkClass() { return TComboBoxExActionLink::StaticClass(); }

void TCustomComboBoxEx::SetStyle(TComboBoxExStyle value) {
  if (style_ == value) return;
  style_ = value;
  TControlStyle cs = GetControlStyle();
  if (value == csExSimple) cs.Exclude(csFixedHeight);
  else cs.Include(csFixedHeight);
  SetControlStyle(cs);
  RecreateWnd();
}

void TCustomComboBoxEx::SetImages(TCustomImageList* value) {
  if (images_ == value) return;
  if (images_) images_->UnRegisterChanges(imageChangeLink_);
  images_ = value;
  if (images_) {
    images_->RegisterChanges(imageChangeLink_);
    images_->FreeNotification(this);
  }
  SendImageList();
}

void TCustomComboBoxEx::ImageListChange(TObject*) { SendImageList(); }

void TCustomComboBoxEx::SendImageList() {
  if (!HandleAllocated()) return;
  // The list's handle may be new after a change (a new size makes one).
  HIMAGELIST list = images_ ? images_->GetHandle() : nullptr;
  SendMessageA(GetWindowHandle(), CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
  Invalidate();
}

void TCustomComboBoxEx::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == images_) {
    images_ = nullptr;
    SendImageList();
  }
}

int TCustomComboBoxEx::GetItemHt() { return static_cast<int>(Perform(CB_GETITEMHEIGHT, 0, 0)); }

bool TCustomComboBoxEx::Focused() const {
  HWND focus = ::GetFocus();
  return inherited::Focused() || (focus && focus == comboHandle_);
}

// --- the window's rows ------------------------------------------------------------

namespace {
COMBOBOXEXITEMA RowOf(TComboExItem* item, int index) {
  COMBOBOXEXITEMA row{};
  row.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_OVERLAY | CBEIF_INDENT | CBEIF_LPARAM;
  row.iItem = index;
  row.pszText = const_cast<char*>(item->GetCaption().c_str());
  row.iImage = item->GetImageIndex();
  row.iSelectedImage = item->GetSelectedImageIndex();
  row.iOverlay = item->GetOverlayImageIndex();
  // A negative indent would ask the parent for one (I_INDENTCALLBACK).
  row.iIndent = std::max(item->GetIndent(), 0);
  row.lParam = reinterpret_cast<LPARAM>(item->GetData());
  return row;
}
}  // namespace

void TCustomComboBoxEx::InsertRow(TComboExItem* item, int index) {
  if (!HandleAllocated()) return;
  COMBOBOXEXITEMA row = RowOf(item, index);
  if (SendMessageA(GetWindowHandle(), CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)) < 0)
    throw EOutOfResources("Unable to insert an item");
}

void TCustomComboBoxEx::WriteRow(TComboExItem* item, int index) {
  if (!HandleAllocated() || index < 0) return;
  COMBOBOXEXITEMA row = RowOf(item, index);
  SendMessageA(GetWindowHandle(), CBEM_SETITEMA, 0, reinterpret_cast<LPARAM>(&row));
}

void TCustomComboBoxEx::DeleteRow(int index) {
  if (HandleAllocated()) SendMessageA(GetWindowHandle(), CBEM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void TCustomComboBoxEx::WriteAllRows() {
  if (!HandleAllocated()) return;
  HWND h = GetWindowHandle();
  int count = itemsEx_->GetCount();
  // The rows follow the items one to one: rows too many go, rows missing
  // come, and every row is written.
  while (SendMessageA(h, CB_GETCOUNT, 0, 0) > count)
    SendMessageA(h, CBEM_DELETEITEM, static_cast<WPARAM>(SendMessageA(h, CB_GETCOUNT, 0, 0) - 1), 0);
  int rows = static_cast<int>(SendMessageA(h, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (i < rows) WriteRow(itemsEx_->GetComboItem(i), i);
    else InsertRow(itemsEx_->GetComboItem(i), i);
  }
}

// --- the window --------------------------------------------------------------------

void TCustomComboBoxEx::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  CreateSubClass(params, WC_COMBOBOXEXA);
  static const DWORD styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST};
  params.Style |= WS_VSCROLL | styles[style_];
  params.WindowClass.style &= ~UINT{CS_HREDRAW | CS_VREDRAW};
}

void TCustomComboBoxEx::FindChildWindows(HWND& edit, HWND& list) {
  HWND h = GetWindowHandle();
  // The edit of the edit styles lives in the inner combo box, which holds
  // the list; the inner combo box answers for both.
  edit = reinterpret_cast<HWND>(SendMessageA(h, CBEM_GETEDITCONTROL, 0, 0));
  auto combo = reinterpret_cast<HWND>(SendMessageA(h, CBEM_GETCOMBOCONTROL, 0, 0));
  COMBOBOXINFO info{};
  info.cbSize = sizeof(COMBOBOXINFO);
  if (combo && GetComboBoxInfo(combo, &info)) list = info.hwndList;
}

void TCustomComboBoxEx::CreateWnd() {
  // The text of the last window (or the one set before the first): the
  // control gives the creation caption to no edit.
  std::string text = StoredText();
  inherited::CreateWnd();
  HWND h = GetWindowHandle();
  comboHandle_ = reinterpret_cast<HWND>(SendMessageA(h, CBEM_GETCOMBOCONTROL, 0, 0));
  if (comboHandle_) {
    defComboProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(comboHandle_, GWLP_WNDPROC));
    SetWindowLongPtrA(comboHandle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(comboInstance_));
  }
  SendImageList();
  SendMessageA(h, WM_SETREDRAW, FALSE, 0);
  try {
    for (int i = 0; i < itemsEx_->GetCount(); ++i) InsertRow(itemsEx_->GetComboItem(i), i);
  } catch (...) {
    SendMessageA(h, WM_SETREDRAW, TRUE, 0);
    throw;
  }
  SendMessageA(h, WM_SETREDRAW, TRUE, 0);
  itemsEx_->rowsStale_ = false;
  if (saveItemIndex_ >= 0 && saveItemIndex_ < itemsEx_->GetCount())
    SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(saveItemIndex_), 0);
  saveItemIndex_ = -1;
  // After the selection, which wrote its caption into the edit: the text
  // may have been typed since.
  if (editHandle_ && !text.empty()) SendMessageA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomComboBoxEx::DestroyWnd() {
  saveItemIndex_ = static_cast<int>(SendMessageA(GetWindowHandle(), CB_GETCURSEL, 0, 0));
  inherited::DestroyWnd();
}

void TCustomComboBoxEx::DestroyWindowHandle() {
  inherited::DestroyWindowHandle();
  comboHandle_ = nullptr;
}

void TCustomComboBoxEx::AdjustDropDown() {
  // The inner combo box drops its list as far as its own window reaches, as
  // a combo box does: the window is made DropDownCount items taller while
  // the list is open.
  if (!comboHandle_) return;
  int count = std::clamp(GetItemCount(), 1, std::max(GetDropDownCount(), 1));
  RECT r{};
  ::GetClientRect(comboHandle_, &r);
  SetWindowPos(comboHandle_, nullptr, 0, 0, r.right, GetItemHt() * count + GetHeight() + 2,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void TCustomComboBoxEx::ComboExWndProc(TMessage& m) {
  // The inner combo box has the focus in the list styles, as the edit has
  // it in the others.
  if (!ChildMessageTaken(m)) ComboWndProc(m, comboHandle_, defComboProc_);
}

void TCustomComboBoxEx::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      // Without an edit the control answers with no text: the text is the
      // selected item's caption, as a list-style combo box has it.
      if (!HandleAllocated() || editHandle_) break;
      int i = static_cast<int>(SendMessageA(GetWindowHandle(), CB_GETCURSEL, 0, 0));
      std::string text = i >= 0 && i < itemsEx_->GetCount() ? itemsEx_->GetComboItem(i)->GetCaption() : "";
      if (m.Msg == WM_GETTEXTLENGTH) {
        m.Result = static_cast<LRESULT>(text.size());
      } else {
        auto* buffer = reinterpret_cast<char*>(m.LParam);
        size_t room = static_cast<size_t>(m.WParam);
        if (!buffer || room == 0) {
          m.Result = 0;
        } else {
          size_t n = std::min(text.size(), room - 1);
          std::memcpy(buffer, text.data(), n);
          buffer[n] = '\0';
          m.Result = static_cast<LRESULT>(n);
        }
      }
      return;
    }
    case WM_GETDLGCODE:
      // Keys go where the inner combo box wants them (the arrows select).
      if (comboHandle_) {
        m.Result = SendMessageA(comboHandle_, WM_GETDLGCODE, m.WParam, m.LParam);
        return;
      }
      break;
    case WM_SETTEXT:
    case CB_SETCURSEL:
    case CB_RESETCONTENT:
    case CBEM_INSERTITEMA:
    case CBEM_SETITEMA:
    case CBEM_DELETEITEM: {
      // The control reports its edit changed when the program writes it;
      // the combo box's OnChange is for what the user types.
      ++quiet_;
      try {
        inherited::WndProc(m);
      } catch (...) {
        --quiet_;
        throw;
      }
      --quiet_;
      return;
    }
  }
  inherited::WndProc(m);
}

void TCustomComboBoxEx::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND: CNCommand(m); return;
    case CN_NOTIFY: CNNotify(m); return;
    default: inherited::Dispatch(m); return;
  }
}

void TCustomComboBoxEx::CNCommand(TMessage& m) {
  switch (TWMCommand(m).NotifyCode()) {
    case CBN_DBLCLK:
      DblClick();
      break;
    case CBN_EDITCHANGE:
      if (quiet_ == 0) Change();
      break;
    case CBN_DROPDOWN:
      DropDown();
      AdjustDropDown();
      break;
    case CBN_SELCHANGE:
      Click();
      Select();
      break;
    case CBN_CLOSEUP:
      CloseUp();
      break;
    case CBN_SETFOCUS:
      isFocused_ = true;
      break;
    case CBN_KILLFOCUS:
      isFocused_ = false;
      break;
  }
}

void TCustomComboBoxEx::CNNotify(TMessage& m) {
  auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
  if (!hdr) return;
  // An image index of -1 is the control's "ask me" value: it asks for the
  // item's own, which is none. Both kinds of request carry the same
  // fields before the text.
  if (hdr->code != static_cast<UINT>(CBEN_GETDISPINFOA) && hdr->code != static_cast<UINT>(CBEN_GETDISPINFOW))
    return;
  COMBOBOXEXITEMA& row = reinterpret_cast<NMCOMBOBOXEXA*>(m.LParam)->ceItem;
  int i = static_cast<int>(row.iItem);
  if (i < 0 || i >= itemsEx_->GetCount()) return;
  TComboExItem* item = itemsEx_->GetComboItem(i);
  if (row.mask & CBEIF_IMAGE) row.iImage = item->GetImageIndex();
  if (row.mask & CBEIF_SELECTEDIMAGE) row.iSelectedImage = item->GetSelectedImageIndex();
  if (row.mask & CBEIF_OVERLAY) row.iOverlay = item->GetOverlayImageIndex();
  if (row.mask & CBEIF_INDENT) row.iIndent = std::max(item->GetIndent(), 0);
}
