#include "classlib/comctrls/ToolBar.h"

#include <algorithm>

#include "classlib/stdctrls/StdCtrlsPublish.h"

DEFINE_ENUM_TYPE(TToolButtonStyle, "tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider")

// ---------------------------------------------------------------------------
// TToolButton

PUBLISHED(TToolButton) {
  PublishControlProps(p, {"Action"});
  p.Prop("AllowAllUp", &TToolButton::GetAllowAllUp, &TToolButton::SetAllowAllUp).Default(false);
  PublishControlProps(p, {"Caption"});
  p.Prop("Down", &TToolButton::GetDown, &TToolButton::SetDown).Default(false);
  PublishControlProps(p, {"DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("Grouped", &TToolButton::GetGrouped, &TToolButton::SetGrouped).Default(false);
  p.Prop("ImageIndex", &TToolButton::GetImageIndex, &TToolButton::SetImageIndex).Default(-1);
  PublishControlProps(p, {"ParentShowHint", "PopupMenu"});
  PublishControlProps(p, {"ShowHint"});
  p.Prop("Style", &TToolButton::GetStyle, &TToolButton::SetStyle).Default(tbsButton);
  PublishControlProps(p, {"Visible"});
  p.Prop("Wrap", &TToolButton::GetWrap, &TToolButton::SetWrap).Default(false);
  PublishControlProps(p, {"OnClick", "OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag",
                          "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(TControlStyle{csCaptureMouse, csSetCaption, csClickEvents});
  SetBounds(GetLeft(), GetTop(), 23, 22);
}

TToolBar* TToolButton::GetToolBar() const { return dynamic_cast<TToolBar*>(GetParent()); }

int TToolButton::GetIndex() const {
  TToolBar* bar = GetToolBar();
  if (!bar) return -1;
  auto it = std::find(bar->buttons_.begin(), bar->buttons_.end(), this);
  return it == bar->buttons_.end() ? -1 : static_cast<int>(it - bar->buttons_.begin());
}

void TToolButton::RefreshItem() {
  if (TToolBar* bar = GetToolBar()) bar->RecreateButtons();
}

void TToolButton::SetDown(bool v) {
  if (down_ == v) return;
  down_ = v;
  if (TToolBar* bar = GetToolBar()) bar->ButtonDownChanged(this);
}

void TToolButton::SetGrouped(bool v) {
  if (grouped_ == v) return;
  grouped_ = v;
  RefreshItem();
}

void TToolButton::SetImageIndex(int v) {
  if (imageIndex_ == v) return;
  imageIndex_ = v;
  RefreshItem();
}

void TToolButton::SetStyle(TToolButtonStyle v) {
  if (style_ == v) return;
  style_ = v;
  // A separator is as wide as a button's usual gap, a button as the bar's
  // buttons.
  if (!IsLoading() && (v == tbsSeparator || v == tbsDivider)) SetWidth(8);
  RefreshItem();
}

void TToolButton::SetWrap(bool v) {
  if (wrap_ == v) return;
  wrap_ = v;
  RefreshItem();
}

void TToolButton::SetParent(TWinControl* parent) {
  TToolBar* old = GetToolBar();
  if (old && old != parent) {
    old->buttons_.erase(std::remove(old->buttons_.begin(), old->buttons_.end(), this), old->buttons_.end());
  }
  inherited::SetParent(parent);
  TToolBar* bar = GetToolBar();
  if (bar && std::find(bar->buttons_.begin(), bar->buttons_.end(), this) == bar->buttons_.end())
    bar->buttons_.push_back(this);
  if (old && old != bar) old->RecreateButtons();
  if (bar) bar->RecreateButtons();
}

void TToolButton::Click() { inherited::Click(); }

void TToolButton::ActionChange(TObject* sender, bool checkDefaults) {
  inherited::ActionChange(sender, checkDefaults);
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (!action) return;
  if (!checkDefaults || !down_) SetDown(action->GetChecked());
  if (!checkDefaults || imageIndex_ == -1) SetImageIndex(action->GetImageIndex());
}

TClass TToolButton::GetActionLinkClass() { return TToolButtonActionLink::StaticClass(); }

void TToolButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_VISIBLECHANGED:
      inherited::Dispatch(m);
      RefreshItem();
      return;
    default: inherited::Dispatch(m);
  }
}

// ---------------------------------------------------------------------------
// TToolButtonActionLink

IMPLEMENT_CLASS(TToolButtonActionLink)

void TToolButtonActionLink::AssignClient(TObject* client) {
  inherited::AssignClient(client);
  button_ = dynamic_cast<TToolButton*>(client);
}

bool TToolButtonActionLink::IsCheckedLinked() {
  return inherited::IsCheckedLinked() && button_ && button_->GetDown() == CustomAction()->GetChecked();
}

bool TToolButtonActionLink::IsImageIndexLinked() {
  return inherited::IsImageIndexLinked() && button_ && button_->GetImageIndex() == CustomAction()->GetImageIndex();
}

void TToolButtonActionLink::SetChecked(bool v) {
  if (IsCheckedLinked()) button_->SetDown(v);
}

void TToolButtonActionLink::SetImageIndex(int v) {
  if (IsImageIndexLinked()) button_->SetImageIndex(v);
}

// ---------------------------------------------------------------------------
// TToolBar

PUBLISHED(TToolBar) {
  PublishControlProps(p, {"Align", "Anchors", "AutoSize", "BiDiMode"});
  p.Prop("ButtonHeight", &TToolBar::GetButtonHeight, &TToolBar::SetButtonHeight).Default(22);
  p.Prop("ButtonWidth", &TToolBar::GetButtonWidth, &TToolBar::SetButtonWidth).Default(23);
  PublishControlProps(p, {"Caption"});
  PublishColor(p, clBtnFace);
  PublishControlProps(p, {"Constraints", "DockSite", "DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("Flat", &TToolBar::GetFlat, &TToolBar::SetFlat).Default(false);
  PublishControlProps(p, {"Font"});
  p.Prop("Images", &TToolBar::GetImages, &TToolBar::SetImages);
  PublishControlProps(p, {"ParentColor", "ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("ShowCaptions", &TToolBar::GetShowCaptions, &TToolBar::SetShowCaptions).Default(false);
  PublishControlProps(p, {"ShowHint", "TabOrder", "TabStop", "Visible"});
  p.Prop("Wrapable", &TToolBar::GetWrapable, &TToolBar::SetWrapable).Default(true);
  PublishControlProps(p, {"OnClick", "OnContextPopup", "OnDblClick", "OnDockDrop", "OnDockOver", "OnDragDrop",
                          "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnGetSiteInfo",
                          "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize", "OnStartDock", "OnStartDrag",
                          "OnUnDock"});
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csMenuEvents,
                                csSetCaption});
  SetBounds(GetLeft(), GetTop(), 150, 29);
  SetAlign(alTop);
  SetColor(clBtnFace);
  SetParentColor(false);
  imageChangeLink_ = New<TChangeLink>();
  imageChangeLink_->SetOnChange(TNotifyEvent(this, &TToolBar::ImageListChange));
}

void TToolBar::Destroy() {
  if (images_) images_->UnRegisterChanges(imageChangeLink_);
  FreeAndNil(imageChangeLink_);
  inherited::Destroy();
  buttons_.clear();
}

TToolButton* TToolBar::GetButton(int index) const {
  if (index < 0 || index >= GetButtonCount()) TList::Error(SListIndexError, index);
  return buttons_[static_cast<size_t>(index)];
}

void TToolBar::SetButtonWidth(int v) {
  if (buttonWidth_ == v) return;
  buttonWidth_ = v;
  RecreateButtons();
}

void TToolBar::SetButtonHeight(int v) {
  if (buttonHeight_ == v) return;
  buttonHeight_ = v;
  RecreateButtons();
}

void TToolBar::SetShowCaptions(bool v) {
  if (showCaptions_ == v) return;
  showCaptions_ = v;
  // The control measures its buttons for captions only when made.
  RecreateWnd();
}

void TToolBar::SetFlat(bool v) {
  if (flat_ == v) return;
  flat_ = v;
  RecreateWnd();
}

void TToolBar::SetWrapable(bool v) {
  if (wrapable_ == v) return;
  wrapable_ = v;
  RecreateWnd();
}

void TToolBar::SetImages(TCustomImageList* v) {
  if (images_ == v) return;
  if (images_) images_->UnRegisterChanges(imageChangeLink_);
  images_ = v;
  if (images_) {
    images_->RegisterChanges(imageChangeLink_);
    images_->FreeNotification(this);
  }
  RecreateButtons();
}

void TToolBar::ImageListChange(TObject*) { RecreateButtons(); }

void TToolBar::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == images_) {
    images_ = nullptr;
    RecreateButtons();
  }
}

void TToolBar::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  CreateSubClass(params, TOOLBARCLASSNAMEA);
  // The class library places and sizes the bar (Align), not the control.
  params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | CCS_TOP | TBSTYLE_TOOLTIPS;
  if (flat_) params.Style |= TBSTYLE_FLAT | TBSTYLE_TRANSPARENT;
  if (wrapable_) params.Style |= TBSTYLE_WRAPABLE;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TToolBar::CreateWnd() {
  inherited::CreateWnd();
  SendMessageA(GetWindowHandle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  RecreateButtons();
}

void TToolBar::RecreateButtons() {
  if (!HandleAllocated() || IsDestroying()) return;
  HWND h = GetWindowHandle();
  while (SendMessageA(h, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageA(h, TB_DELETEBUTTON, 0, 0);
  SendMessageA(h, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_ ? images_->GetHandle() : nullptr));
  if (images_) SendMessageA(h, TB_SETBITMAPSIZE, 0, MAKELPARAM(images_->GetWidth(), images_->GetHeight()));
  else SendMessageA(h, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  std::vector<TBBUTTON> items;
  std::vector<std::string> captions;
  captions.reserve(buttons_.size());
  for (size_t i = 0; i < buttons_.size(); ++i) {
    TToolButton* b = buttons_[i];
    TBBUTTON item{};
    item.idCommand = static_cast<int>(i);
    item.iBitmap = b->GetImageIndex();
    item.iString = -1;
    if (showCaptions_) {
      captions.push_back(b->GetCaption());
      item.iString = reinterpret_cast<INT_PTR>(captions.back().c_str());
    }
    switch (b->GetStyle()) {
      case tbsButton: item.fsStyle = BTNS_BUTTON; break;
      case tbsCheck: item.fsStyle = BTNS_CHECK | (b->GetGrouped() ? BTNS_GROUP : 0); break;
      case tbsDropDown: item.fsStyle = BTNS_DROPDOWN; break;
      case tbsSeparator:
      case tbsDivider:
        item.fsStyle = BTNS_SEP;
        item.iBitmap = b->GetWidth();
        break;
    }
    if (b->GetEnabled()) item.fsState |= TBSTATE_ENABLED;
    if (b->GetDown()) item.fsState |= TBSTATE_CHECKED;
    if (b->GetWrap()) item.fsState |= TBSTATE_WRAP;
    if (!b->GetVisible()) item.fsState |= TBSTATE_HIDDEN;
    items.push_back(item);
  }
  if (!items.empty())
    SendMessageA(h, TB_ADDBUTTONSA, items.size(), reinterpret_cast<LPARAM>(items.data()));
  SendMessageA(h, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
  SendMessageA(h, TB_AUTOSIZE, 0, 0);
  UpdateButtonBounds();
  Invalidate();
}

void TToolBar::UpdateButtonBounds() {
  if (!HandleAllocated() || updatingBounds_) return;
  updatingBounds_ = true;
  try {
    for (size_t i = 0; i < buttons_.size(); ++i) {
      RECT r{};
      if (SendMessageA(GetWindowHandle(), TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)))
        buttons_[i]->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
  } catch (...) {
    updatingBounds_ = false;
    throw;
  }
  updatingBounds_ = false;
}

void TToolBar::ButtonDownChanged(TToolButton* button) {
  // Programmatic changes keep a group to one button down.
  if (button->GetDown() && button->GetGrouped() && button->GetStyle() == tbsCheck) {
    int index = button->GetIndex();
    for (int dir : {-1, 1})
      for (int i = index + dir; i >= 0 && i < GetButtonCount(); i += dir) {
        TToolButton* other = buttons_[static_cast<size_t>(i)];
        if (other->GetStyle() != tbsCheck || !other->GetGrouped()) break;
        if (other->GetDown()) {
          other->down_ = false;
          if (HandleAllocated()) SendMessageA(GetWindowHandle(), TB_CHECKBUTTON, static_cast<WPARAM>(i), FALSE);
        }
      }
  }
  if (HandleAllocated())
    SendMessageA(GetWindowHandle(), TB_CHECKBUTTON, static_cast<WPARAM>(button->GetIndex()), button->GetDown());
}

void TToolBar::WndProc(TMessage& m) {
  // The control presses and draws its items: mouse messages over a tool
  // button (or over no child) go to it, not to the windowless button.
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && !IsDesigning()) {
    TControl* c = ControlAtPos(TWMMouse(m).Pos(), false);
    if (!c || dynamic_cast<TToolButton*>(c)) {
      TControl::WndProc(m);
      return;
    }
  }
  inherited::WndProc(m);
}

void TToolBar::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND: CNCommand(m); return;
    case CM_CONTROLCHANGE: CMControlChange(m); return;
    case WM_SIZE:
      inherited::Dispatch(m);
      UpdateButtonBounds();
      return;
    default: inherited::Dispatch(m);
  }
}

void TToolBar::CNCommand(TMessage& m) {
  int id = LOWORD(m.WParam);
  m.Result = 0;
  if (id < 0 || id >= GetButtonCount()) return;
  TToolButton* b = buttons_[static_cast<size_t>(id)];
  if (b->GetStyle() == tbsCheck) {
    bool checked = SendMessageA(GetWindowHandle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(id), 0) != 0;
    // A group without AllowAllUp keeps its button down.
    if (!checked && b->GetGrouped() && !b->GetAllowAllUp()) {
      checked = true;
      SendMessageA(GetWindowHandle(), TB_CHECKBUTTON, static_cast<WPARAM>(id), TRUE);
    }
    b->down_ = checked;
    if (checked && b->GetGrouped())
      for (TToolButton* other : buttons_)
        if (other != b && other->GetGrouped()) other->down_ =
            SendMessageA(GetWindowHandle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(other->GetIndex()), 0) != 0;
  }
  b->Click();
}

void TToolBar::CMControlChange(TMessage& m) {
  inherited::Dispatch(m);
  // A button leaving the bar (freed or moved) leaves its item.
  auto* c = reinterpret_cast<TControl*>(m.WParam);
  if (m.LParam == FALSE) {
    auto it = std::find(buttons_.begin(), buttons_.end(), c);
    if (it != buttons_.end()) {
      buttons_.erase(it);
      RecreateButtons();
    }
  }
}
