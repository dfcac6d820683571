#include "classlib/controls/Control.h"

#include <algorithm>
#include <climits>

#include "classlib/ActnList.h"
#include "classlib/Seams.h"
#include "classlib/controls/ControlActionLink.h"
#include "classlib/controls/DragDrop.h"
#include "classlib/controls/WinControl.h"

// ---------------------------------------------------------------------------
// TSizeConstraints

PUBLISHED(TSizeConstraints) {
  p.IndexedProp("MaxHeight", 0, &TSizeConstraints::GetConstraint, &TSizeConstraints::SetConstraint).Default(0);
  p.IndexedProp("MaxWidth", 1, &TSizeConstraints::GetConstraint, &TSizeConstraints::SetConstraint).Default(0);
  p.IndexedProp("MinHeight", 2, &TSizeConstraints::GetConstraint, &TSizeConstraints::SetConstraint).Default(0);
  p.IndexedProp("MinWidth", 3, &TSizeConstraints::GetConstraint, &TSizeConstraints::SetConstraint).Default(0);
}

TSizeConstraints::TSizeConstraints(TControl* control) : control_(control) {}

int TSizeConstraints::GetConstraint(int index) const {
  switch (index) {
    case 0: return maxHeight_;
    case 1: return maxWidth_;
    case 2: return minHeight_;
    default: return minWidth_;
  }
}

void TSizeConstraints::SetConstraint(int index, int value) {
  if (value < 0) value = 0;
  switch (index) {
    case 0:
      if (value == maxHeight_) return;
      maxHeight_ = value;
      if (value > 0 && value < minHeight_) minHeight_ = value;
      break;
    case 1:
      if (value == maxWidth_) return;
      maxWidth_ = value;
      if (value > 0 && value < minWidth_) minWidth_ = value;
      break;
    case 2:
      if (value == minHeight_) return;
      minHeight_ = value;
      if (maxHeight_ > 0 && value > maxHeight_) maxHeight_ = value;
      break;
    default:
      if (value == minWidth_) return;
      minWidth_ = value;
      if (maxWidth_ > 0 && value > maxWidth_) maxWidth_ = value;
      break;
  }
  Change();
}

void TSizeConstraints::Change() {
  if (OnChange) OnChange(this);
}

void TSizeConstraints::AssignTo(TPersistent* dest) {
  if (auto* d = dynamic_cast<TSizeConstraints*>(dest)) {
    d->minHeight_ = minHeight_;
    d->maxHeight_ = maxHeight_;
    d->minWidth_ = minWidth_;
    d->maxWidth_ = maxWidth_;
    d->Change();
  } else {
    inherited::AssignTo(dest);
  }
}

// ---------------------------------------------------------------------------
// Free functions

namespace {
// The windowless control that holds the capture through its parent's window.
TControl* gCaptureControl = nullptr;
// Set while a wheel turn that no control handled is in a window's own
// procedure: DefWindowProc hands WM_MOUSEWHEEL on to the parent window,
// whose control must not offer the same turn to the controls again.
int gWheelInDefault = 0;

constexpr int kMaxInt = INT_MAX;
}  // namespace

TControl* GetCaptureControl() {
  TControl* result = FindControl(::GetCapture());
  if (result && gCaptureControl && gCaptureControl->GetParent() == result) result = gCaptureControl;
  return result;
}

void SetCaptureControl(TControl* control) {
  ReleaseCapture();
  gCaptureControl = nullptr;
  if (!control) return;
  auto* win = dynamic_cast<TWinControl*>(control);
  if (!win) {
    if (!control->GetParent()) return;
    gCaptureControl = control;
    win = control->GetParent();
  }
  ::SetCapture(win->GetHandle());
}

TWinControl* GetParentFormControl(TControl* control) {
  if (!control) return nullptr;
  TControl* top = control;
  while (top->GetParent()) top = top->GetParent();
  auto& hooks = ControlsHooks();
  if (!hooks.AsForm || !hooks.AsForm(top)) return nullptr;
  return static_cast<TWinControl*>(top);
}

TCustomForm* GetParentForm(TControl* control) {
  TWinControl* top = GetParentFormControl(control);
  return top ? ControlsHooks().AsForm(top) : nullptr;
}

TCustomForm* ValidParentForm(TControl* control) {
  TCustomForm* form = GetParentForm(control);
  if (!form)
    throw EInvalidOperation("Control '" + (control ? control->GetName() : std::string()) +
                            "' has no parent window");
  return form;
}

TControl* FindDragTarget(POINT pos, bool allowDisabled) {
  HWND window = WindowFromPoint(pos);
  if (!window) return nullptr;
  TWinControl* control = FindControl(window);
  if (!control) return nullptr;
  TControl* child = control->ControlAtPos(control->ScreenToClient(pos), allowDisabled);
  return child ? child : control;
}

int TMouse::GetWheelScrollLines() const {
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  return static_cast<int>(lines);
}

POINT TMouse::GetCursorPos() const {
  POINT p{};
  Seams().GetCursorPos(p);
  return p;
}

void TMouse::SetCursorPos(POINT p) const { Seams().SetCursorPos(p.x, p.y); }

void TMouse::SetCapture(HWND w) const {
  if (w) ::SetCapture(w);
  else ReleaseCapture();
}

TMouse& Mouse() {
  static TMouse mouse;
  return mouse;
}

// ---------------------------------------------------------------------------
// TControl

PUBLISHED(TControl) {
  p.Prop("Left", &TControl::GetLeft, &TControl::SetLeft);
  p.Prop("Top", &TControl::GetTop, &TControl::SetTop);
  p.Prop("Width", &TControl::GetWidth, &TControl::SetWidth);
  p.Prop("Height", &TControl::GetHeight, &TControl::SetHeight);
  p.Prop("Cursor", &TControl::GetCursor, &TControl::SetCursor).Default(crDefault).Type(CursorTypeInfo());
  p.Prop("Hint", &TControl::GetHint, &TControl::SetHint).Stored(&TControl::IsHintStored);
  p.Prop("HelpContext", &TControl::GetHelpContext, &TControl::SetHelpContext)
      .Default(0)
      .Stored(&TControl::IsHelpContextStored);
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  windowProc_ = TWndMethod(this, &TControl::WndProc);
  font_ = New<TFont>();
  font_->SetOnChange(TNotifyEvent(this, &TControl::FontChanged));
  try {
    constraints_ = New<TSizeConstraints>(this);
  } catch (...) {
    // This part is not built, so its Destroy will not run.
    FreeAndNil(font_);
    throw;
  }
  constraints_->OnChange = TNotifyEvent(this, &TControl::DoConstraintsChange);
}

void TControl::Destroy() {
  if (auto& f = ControlsHooks().ControlDestroyed) f(this);
  DragControlDestroyed(this);
  if (gCaptureControl == this) SetCaptureControl(nullptr);
  SetParent(nullptr);
  FreeAndNil(actionLink_);
  inherited::Destroy();
  FreeAndNil(constraints_);
  FreeAndNil(font_);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage message{msg, wParam, lParam, 0};
  WindowProc(message);
  return message.Result;
}

void TControl::WndProc(TMessage& m) {
  if (m.Msg >= WM_KEYFIRST && m.Msg <= WM_KEYLAST) {
    auto& hooks = ControlsHooks();
    if (hooks.WantChildKey) {
      if (TCustomForm* form = GetParentForm(this))
        if (hooks.WantChildKey(form, this, m)) return;
    }
  } else if (m.Msg >= WM_MOUSEMOVE && m.Msg <= WM_MBUTTONDBLCLK) {
    if (!controlStyle_.Contains(csDoubleClicks)) {
      switch (m.Msg) {
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
          m.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
          break;
      }
    }
    switch (m.Msg) {
      case WM_MOUSEMOVE:
        if (auto& f = ControlsHooks().HintMouseMessage) f(this, m);
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        if (dragMode_ == dmAutomatic && !IsDesigning()) {
          // The press starts the drag and goes no further.
          BeginAutoDrag();
          return;
        }
        controlState_.Include(csLButtonDown);
        break;
      case WM_LBUTTONUP:
        controlState_.Exclude(csLButtonDown);
        break;
    }
  }
  // Nothing of this object is touched after Dispatch: a handler may free it.
  Dispatch(m);
}

void TControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(m); return;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(m); return;
    case WM_RBUTTONDOWN: WMRButtonDown(m); return;
    case WM_RBUTTONDBLCLK: WMRButtonDblClk(m); return;
    case WM_MBUTTONDOWN: WMMButtonDown(m); return;
    case WM_MBUTTONDBLCLK: WMMButtonDblClk(m); return;
    case WM_LBUTTONUP: WMLButtonUp(m); return;
    case WM_RBUTTONUP: WMRButtonUp(m); return;
    case WM_MBUTTONUP: WMMButtonUp(m); return;
    case WM_MOUSEMOVE: WMMouseMove(m); return;
    case WM_CANCELMODE: WMCancelMode(m); return;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(m); return;
    case WM_CONTEXTMENU: WMContextMenu(m); return;
    case WM_MOUSEWHEEL: WMMouseWheel(m); return;
    case CM_MOUSEWHEEL: CMMouseWheel(m); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(m); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); return;
    case CM_FONTCHANGED: CMFontChanged(m); return;
    case CM_COLORCHANGED: CMColorChanged(m); return;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(m); return;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(m); return;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(m); return;
    case CM_PARENTBIDIMODECHANGED: CMParentBiDiModeChanged(m); return;
    case CM_PARENTCTL3DCHANGED: CMParentCtl3DChanged(m); return;
    case CM_HITTEST: CMHitTest(m); return;
    case CM_MOUSEENTER: CMMouseEnter(m); return;
    case CM_MOUSELEAVE: CMMouseLeave(m); return;
    case CM_HINTSHOW: CMHintShow(m); return;
    case CM_DESIGNHITTEST: CMDesignHitTest(m); return;
    case CM_SYSCOLORCHANGE: CMSysColorChange(m); return;
    default: DefaultHandler(m); return;
  }
}

void TControl::DefaultHandler(TMessage& m) {
  switch (m.Msg) {
    case WM_GETTEXT: {
      if (m.WParam == 0 || m.LParam == 0) {
        m.Result = 0;
        return;
      }
      size_t n = std::min<size_t>(text_.size(), static_cast<size_t>(m.WParam) - 1);
      char* buf = reinterpret_cast<char*>(m.LParam);
      std::memcpy(buf, text_.data(), n);
      buf[n] = '\0';
      m.Result = static_cast<LRESULT>(n);
      return;
    }
    case WM_GETTEXTLENGTH:
      m.Result = static_cast<LRESULT>(text_.size());
      return;
    case WM_SETTEXT: {
      const char* p = reinterpret_cast<const char*>(m.LParam);
      text_ = p ? p : "";
      m.Result = TRUE;
      return;
    }
  }
}

// --- bounds ---------------------------------------------------------------

void TControl::SetBounds(int left, int top, int width, int height) {
  if (!CheckNewSize(width, height)) return;
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  InvalidateControl(visible_, false);
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  UpdateAnchorRules();
  Invalidate();
  Perform(WM_WINDOWPOSCHANGED, 0, 0);
  RequestAlign();
  if (!IsLoading()) Resize();
}

RECT TControl::GetClientRect() { return RECT{0, 0, width_, height_}; }

void TControl::SetClientSize(POINT size) {
  RECT client = GetClientRect();
  SetBounds(left_, top_, width_ - client.right + size.x, height_ - client.bottom + size.y);
}

void TControl::SetClientWidth(int v) { SetClientSize(POINT{v, GetClientHeight()}); }
void TControl::SetClientHeight(int v) { SetClientSize(POINT{GetClientWidth(), v}); }

POINT TControl::GetClientOrigin() {
  if (!parent_) throw EInvalidOperation("Control '" + GetName() + "' has no parent window");
  POINT p = parent_->GetClientOrigin();
  p.x += left_;
  p.y += top_;
  return p;
}

POINT TControl::ClientToScreen(POINT p) {
  POINT o = GetClientOrigin();
  return POINT{p.x + o.x, p.y + o.y};
}

POINT TControl::ScreenToClient(POINT p) {
  POINT o = GetClientOrigin();
  return POINT{p.x - o.x, p.y - o.y};
}

void TControl::SetAlign(TAlign v) {
  if (align_ != v) {
    TAlign old = align_;
    align_ = v;
    anchors_ = AnchorAlign(v);
    if (!IsLoading() && (!IsDesigning() || parent_)) {
      bool oldVertical = old == alTop || old == alBottom;
      bool newHorizontal = v == alLeft || v == alRight;
      if (oldVertical == newHorizontal && old != alNone && old != alClient && v != alNone && v != alClient)
        SetBounds(left_, top_, height_, width_);  // turned by 90 degrees: swap
      else
        AdjustSize();
    }
  }
  RequestAlign();
}

void TControl::SetAnchors(TAnchors v) {
  if (anchors_ == v) return;
  anchors_ = v;
  if (!IsLoading()) UpdateAnchorRules();
}

void TControl::SetAutoSize(bool v) {
  if (autoSize_ == v) return;
  autoSize_ = v;
  if (v) AdjustSize();
}

void TControl::RequestAlign() {
  if (parent_) parent_->AlignControl(this);
}

void TControl::AdjustSize() {
  if (!IsLoading()) SetBounds(left_, top_, width_, height_);
}

void TControl::UpdateAnchorRules() {
  if (anchorMove_ || IsLoading()) return;
  if (anchors_ == TAnchors{akLeft, akTop}) {
    originalParentSize_ = POINT{0, 0};
    return;
  }
  if (anchors_.Contains(akRight))
    anchorRules_.x = anchors_.Contains(akLeft) ? width_ : left_;
  else
    anchorRules_.x = left_ + width_ / 2;
  if (anchors_.Contains(akBottom))
    anchorRules_.y = anchors_.Contains(akTop) ? height_ : top_;
  else
    anchorRules_.y = top_ + height_ / 2;
  if (parent_) {
    if (parent_->HandleAllocated()) {
      RECT r = parent_->GetClientRect();
      originalParentSize_ = POINT{r.right, r.bottom};
    } else {
      originalParentSize_ = POINT{parent_->width_, parent_->height_};
    }
  }
}

bool TControl::CanResize(int& newWidth, int& newHeight) {
  bool resize = true;
  if (OnCanResize) OnCanResize(this, newWidth, newHeight, resize);
  return resize;
}

bool TControl::CanAutoSize(int&, int&) { return true; }

void TControl::ConstrainedResize(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight) {
  if (OnConstrainedResize) OnConstrainedResize(this, minWidth, minHeight, maxWidth, maxHeight);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::DoConstrainedResize(int& newWidth, int& newHeight) {
  int minWidth = constraints_->GetMinWidth();
  int minHeight = constraints_->GetMinHeight();
  int maxWidth = constraints_->GetMaxWidth() > 0 ? constraints_->GetMaxWidth() : kMaxInt;
  int maxHeight = constraints_->GetMaxHeight() > 0 ? constraints_->GetMaxHeight() : kMaxInt;
  ConstrainedResize(minWidth, minHeight, maxWidth, maxHeight);
  if (newWidth < minWidth) newWidth = minWidth;
  else if (newWidth > maxWidth) newWidth = maxWidth;
  if (newHeight < minHeight) newHeight = minHeight;
  else if (newHeight > maxHeight) newHeight = maxHeight;
}

bool TControl::DoCanResize(int& newWidth, int& newHeight) {
  bool result = CanResize(newWidth, newHeight);
  if (result) DoConstrainedResize(newWidth, newHeight);
  return result;
}

bool TControl::DoCanAutoSize(int& newWidth, int& newHeight) {
  if (align_ == alClient) return true;
  int w = newWidth, h = newHeight;
  bool result = CanAutoSize(w, h);
  if (align_ == alNone || align_ == alLeft || align_ == alRight) newWidth = w;
  if (align_ == alNone || align_ == alTop || align_ == alBottom) newHeight = h;
  return result;
}

bool TControl::CheckNewSize(int& newWidth, int& newHeight) {
  int w = newWidth, h = newHeight;
  if (!DoCanResize(w, h)) return false;
  int w2 = w, h2 = h;
  bool result = !GetAutoSize() || (DoCanAutoSize(w2, h2) && w2 == w && h2 == h) || DoCanAutoSize(w, h);
  if (result) {
    newWidth = w;
    newHeight = h;
  }
  return result;
}

void TControl::DoConstraintsChange(TObject*) { AdjustSize(); }

// --- tree -----------------------------------------------------------------

void TControl::SetParent(TWinControl* parent) {
  if (parent_ == parent) return;
  // Nor one of its own children: the parent chain would be a loop.
  for (TWinControl* p = parent; p; p = p->GetParent())
    if (p == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) {
    parent->InsertControl(this);
    UpdateAnchorRules();
  }
}

HWND TControl::GetParentWindowOfControl() const {
  return parent_ ? parent_->GetHandle() : nullptr;
}

TComponent* TControl::GetParentComponent() { return parent_; }

void TControl::SetParentComponent(TComponent* value) {
  if (auto* w = dynamic_cast<TWinControl*>(value)) SetParent(w);
}

void TControl::ReadState(TReader* reader) {
  controlState_.Include(csReadingState);
  try {
    inherited::ReadState(reader);
  } catch (...) {
    controlState_.Exclude(csReadingState);
    throw;
  }
  controlState_.Exclude(csReadingState);
  if (parent_) {
    Perform(CM_PARENTCOLORCHANGED, 0, 0);
    Perform(CM_PARENTFONTCHANGED, 0, 0);
    Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
  }
}

void TControl::Loaded() {
  inherited::Loaded();
  if (TBasicAction* action = GetAction()) ActionChange(action, true);
  UpdateAnchorRules();
}

void TControl::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != opRemove || !component) return;
  auto& hooks = ControlsHooks();
  if (popupMenu_ && hooks.PopupMenuComponent && hooks.PopupMenuComponent(popupMenu_) == component)
    popupMenu_ = nullptr;
  else if (actionLink_ && component == actionLink_->GetAction())
    SetAction(nullptr);
}

// --- state and appearance ----------------------------------------------------

void TControl::SetVisible(bool v) {
  if (visible_ == v) return;
  VisibleChanging();
  visible_ = v;
  Perform(CM_VISIBLECHANGED, v ? 1 : 0, 0);
  RequestAlign();
}

bool TControl::IsControlVisible() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TControl::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor v) {
  if (color_ == v) return;
  color_ = v;
  parentColor_ = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool v) {
  if (parentColor_ == v) return;
  parentColor_ = v;
  if (parent_ && !GetComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetFont(TFont* v) { font_->Assign(v); }

void TControl::FontChanged(TObject*) {
  parentFont_ = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool v) {
  if (parentFont_ == v) return;
  parentFont_ = v;
  if (parent_ && !GetComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor v) {
  if (cursor_ == v) return;
  cursor_ = v;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetCtl3D(bool v) {
  if (ctl3D_ == v) return;
  ctl3D_ = v;
  parentCtl3D_ = false;
  Perform(CM_CTL3DCHANGED, 0, 0);
}

void TControl::SetParentCtl3D(bool v) {
  if (parentCtl3D_ == v) return;
  parentCtl3D_ = v;
  if (parent_ && !GetComponentState().Contains(csReading)) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TControl::SetBiDiMode(TBiDiMode v) {
  if (biDiMode_ == v) return;
  biDiMode_ = v;
  parentBiDiMode_ = false;
  Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool v) {
  if (parentBiDiMode_ == v) return;
  parentBiDiMode_ = v;
  if (parent_ && !GetComponentState().Contains(csReading)) Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

namespace {
bool MiddleEast() { return GetSystemMetrics(SM_MIDEASTENABLED) != 0; }
}  // namespace

bool TControl::UseRightToLeftAlignment() const { return MiddleEast() && biDiMode_ == bdRightToLeft; }
bool TControl::UseRightToLeftReading() const { return MiddleEast() && biDiMode_ != bdLeftToRight; }
bool TControl::UseRightToLeftScrollBar() const {
  return MiddleEast() && biDiMode_ != bdLeftToRight && biDiMode_ != bdRightToLeftReadingOnly;
}
bool TControl::IsRightToLeft() const { return UseRightToLeftReading() || UseRightToLeftAlignment(); }

UINT TControl::DrawTextBiDiModeFlagsReadingOnly() const { return UseRightToLeftReading() ? DT_RTLREADING : 0; }

UINT TControl::DrawTextBiDiModeFlags(UINT flags) const {
  UINT result = flags;
  if (UseRightToLeftAlignment()) {
    if ((flags & (DT_CENTER | DT_RIGHT)) == DT_LEFT) result |= DT_RIGHT;
    else if (flags & DT_RIGHT) result &= ~UINT{DT_RIGHT};
  }
  return result | DrawTextBiDiModeFlagsReadingOnly();
}

void TControl::Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this)); }

// --- text ---------------------------------------------------------------------

int TControl::GetTextLen() { return static_cast<int>(Perform(WM_GETTEXTLENGTH, 0, 0)); }

int TControl::GetTextBuf(char* buffer, int bufSize) {
  return static_cast<int>(Perform(WM_GETTEXT, static_cast<WPARAM>(bufSize), reinterpret_cast<LPARAM>(buffer)));
}

void TControl::SetTextBuf(const char* buffer) {
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(buffer));
  Perform(CM_TEXTCHANGED, 0, 0);
}

std::string TControl::GetText() {
  int len = GetTextLen();
  if (len <= 0) return std::string();
  std::string s(static_cast<size_t>(len) + 1, '\0');
  int got = GetTextBuf(s.data(), len + 1);
  s.resize(static_cast<size_t>(std::clamp(got, 0, len)));
  return s;
}

void TControl::SetText(const std::string& v) {
  if (GetText() != v) SetTextBuf(v.c_str());
}

// --- hints, help, actions -------------------------------------------------------

void TControl::SetShowHint(bool v) {
  if (showHint_ == v) return;
  showHint_ = v;
  parentShowHint_ = false;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool v) {
  if (parentShowHint_ == v) return;
  parentShowHint_ = v;
  if (parent_ && !GetComponentState().Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* v) {
  auto& hooks = ControlsHooks();
  popupMenu_ = v;
  if (v && hooks.PopupMenuComponent) hooks.PopupMenuComponent(v)->FreeNotification(this);
}

TBasicAction* TControl::GetAction() const { return actionLink_ ? actionLink_->GetAction() : nullptr; }

void TControl::SetAction(TBasicAction* v) {
  if (!v) {
    FreeAndNil(actionLink_);
    controlStyle_.Exclude(csActionClient);
    return;
  }
  controlStyle_.Include(csActionClient);
  if (!actionLink_) actionLink_ = CreateAs<TControlActionLink>(GetActionLinkClass(), this);
  actionLink_->SetAction(v);
  actionLink_->OnChange = TNotifyEvent(this, &TControl::DoActionChange);
  ActionChange(v, v->IsLoading());
  v->FreeNotification(this);
}

TClass TControl::GetActionLinkClass() { return TControlActionLink::StaticClass(); }

void TControl::DoActionChange(TObject* sender) {
  if (sender == GetAction()) ActionChange(sender, false);
}

void TControl::ActionChange(TObject* sender, bool checkDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (!action) return;
  if (!checkDefaults || GetCaption().empty() || GetCaption() == GetName()) SetCaption(action->GetCaption());
  if (!checkDefaults || GetEnabled()) SetEnabled(action->GetEnabled());
  if (!checkDefaults || hint_.empty()) SetHint(action->GetHint());
  if (!checkDefaults || visible_) SetVisible(action->GetVisible());
  if (!checkDefaults || helpContext_ == 0) SetHelpContext(action->GetHelpContext());
  if (!checkDefaults || !OnClick) OnClick = action->GetOnExecute();
}

void TControl::InitiateAction() {
  if (actionLink_) actionLink_->Update();
}

bool TControl::IsCaptionStored() const { return !actionLink_ || !actionLink_->IsCaptionLinked(); }
bool TControl::IsEnabledStored() const { return !actionLink_ || !actionLink_->IsEnabledLinked(); }
bool TControl::IsHintStored() const { return !actionLink_ || !actionLink_->IsHintLinked(); }
bool TControl::IsHelpContextStored() const { return !actionLink_ || !actionLink_->IsHelpContextLinked(); }
bool TControl::IsVisibleStored() const { return !actionLink_ || !actionLink_->IsVisibleLinked(); }
bool TControl::IsOnClickStored() const { return !actionLink_ || !actionLink_->IsOnExecuteLinked(); }

// --- painting -------------------------------------------------------------------

void TControl::InvalidateControl(bool isVisible, bool isOpaque) {
  if (!isVisible || !parent_ || !parent_->HandleAllocated()) return;
  RECT rect = GetBoundsRect();
  // The background needs no erasing when an opaque sibling below covers it.
  auto backgroundClipped = [&] {
    const auto& list = parent_->Controls();
    auto it = std::find(list.begin(), list.end(), this);
    while (it != list.begin()) {
      --it;
      TControl* c = *it;
      if (dynamic_cast<TWinControl*>(c)) continue;
      if (c->visible_ && c->controlStyle_.Contains(csOpaque)) {
        RECT r, b = c->GetBoundsRect();
        IntersectRect(&r, &rect, &b);
        if (EqualRect(&r, &rect)) return true;
      }
    }
    return false;
  };
  bool erase = !(isOpaque || parent_->controlStyle_.Contains(csOpaque) || backgroundClipped());
  InvalidateRect(parent_->GetWindowHandle(), &rect, erase ? TRUE : FALSE);
}

void TControl::Invalidate() { InvalidateControl(visible_, controlStyle_.Contains(csOpaque)); }

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  if (!visible_ || !parent_ || !parent_->HandleAllocated()) return;
  if (controlStyle_.Contains(csOpaque)) {
    HWND w = parent_->GetWindowHandle();
    HDC dc = GetDC(w);
    IntersectClipRect(dc, left_, top_, left_ + width_, top_ + height_);
    parent_->PaintControls(dc, this);
    ReleaseDC(w, dc);
  } else {
    Invalidate();
    Update();
  }
}

void TControl::SetZOrder(bool topMost) {
  if (!parent_) return;
  SetZOrderPosition(topMost ? parent_->GetControlCount() - 1 : 0);
}

void TControl::SetZOrderPosition(int position) {
  if (!parent_) return;
  auto& list = parent_->controls_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  int count = static_cast<int>(list.size());
  position = std::clamp(position, 0, count - 1);
  int current = static_cast<int>(it - list.begin());
  if (position == current) return;
  list.erase(it);
  list.insert(list.begin() + position, this);
  InvalidateControl(visible_, true);
}

// --- mouse ---------------------------------------------------------------------

bool TControl::GetMouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool v) {
  if (GetMouseCapture() == v) return;
  SetCaptureControl(v ? this : nullptr);
}

void TControl::Click() {
  TBasicAction* action = GetAction();
  // OnClick runs unless it is just the action's OnExecute, which the link runs.
  if (OnClick && action && !(OnClick == action->GetOnExecute())) OnClick(this);
  else if (!IsDesigning() && actionLink_) actionLink_->Execute(this);
  else if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::DoContextPopup(POINT mousePos, bool& handled) {
  if (OnContextPopup) OnContextPopup(this, mousePos, handled);
}

void TControl::MouseWheelHandler(TMessage& m) {
  TWinControl* form = GetParentFormControl(this);
  if (form && form != this) form->MouseWheelHandler(m);
  else m.Result = Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, POINT mousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
  if (handled) return true;
  wheelAccumulator_ += wheelDelta;
  while (wheelAccumulator_ >= WHEEL_DELTA || wheelAccumulator_ <= -WHEEL_DELTA) {
    if (wheelAccumulator_ < 0) {
      wheelAccumulator_ += WHEEL_DELTA;
      handled = DoMouseWheelDown(shift, mousePos);
    } else {
      wheelAccumulator_ -= WHEEL_DELTA;
      handled = DoMouseWheelUp(shift, mousePos);
    }
  }
  return handled;
}

bool TControl::DoMouseWheelDown(TShiftState shift, POINT mousePos) {
  bool handled = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, shift, mousePos, handled);
  return handled;
}

bool TControl::DoMouseWheelUp(TShiftState shift, POINT mousePos) {
  bool handled = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, shift, mousePos, handled);
  return handled;
}

void TControl::SendCancelMode(TControl* sender) {
  auto& hooks = ControlsHooks();
  if (!hooks.SendCancelMode) return;
  if (TCustomForm* form = GetParentForm(this)) hooks.SendCancelMode(form, sender);
}

void TControl::BeginDrag(bool immediate, int threshold) {
  auto& hooks = ControlsHooks();
  if (dragKind_ != dkDock && hooks.AsForm && hooks.AsForm(this)) throw EInvalidOperation("Cannot drag a form");
  if (DragControl()) return;
  if (controlState_.Contains(csLButtonDown)) {
    // The press that started the drag ends here for the control.
    POINT p = ScreenToClient(Mouse().GetCursorPos());
    Perform(WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
  }
  if (threshold < 0) threshold = Mouse().GetDragThreshold();
  DragInitControl(this, immediate, threshold);
}

void TControl::BeginAutoDrag() { BeginDrag(Mouse().GetDragImmediate(), Mouse().GetDragThreshold()); }

bool TControl::Dragging() const { return DragControl() == this; }

void TControl::EndDrag(bool drop) {
  if (Dragging()) DragDone(drop);
}

void TControl::DoDragMsg(TMessage& m) {
  TCMDrag dm(m);
  TDragRec* rec = dm.DragRec();
  if (!rec) return;
  TObject* source = DragSourceOf(rec->Source);
  POINT p = ScreenToClient(rec->Pos);
  switch (dm.DragMessage()) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
      bool accepts = true;
      DragOver(source, p.x, p.y, static_cast<TDragState>(dm.DragMessage()), accepts);
      m.Result = accepts ? 1 : 0;
      break;
    }
    case dmDragDrop:
      DragDrop(source, p.x, p.y);
      break;
    default:
      break;
  }
}

void TControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
  accept = false;
  if (OnDragOver) {
    accept = true;
    OnDragOver(this, source, x, y, state, accept);
  }
}

void TControl::DragDrop(TObject* source, int x, int y) {
  if (OnDragDrop) OnDragDrop(this, source, x, y);
}

void TControl::DoStartDrag(TObject*& dragObject) {
  if (OnStartDrag) OnStartDrag(this, dragObject);
}

void TControl::DoEndDrag(TObject* target, int x, int y) {
  if (OnEndDrag) OnEndDrag(this, target, x, y);
}

void TControl::DoMouseDown(TMessage& m, TMouseButton button, TShiftState shift) {
  if (controlStyle_.Contains(csNoStdEvents)) return;
  TWMMouse mm(m);
  MouseDown(button, KeysToShiftState(mm.Keys()) + shift, mm.XPos(), mm.YPos());
}

void TControl::DoMouseUp(TMessage& m, TMouseButton button) {
  if (controlStyle_.Contains(csNoStdEvents)) return;
  TWMMouse mm(m);
  MouseUp(button, KeysToShiftState(mm.Keys()), mm.XPos(), mm.YPos());
}

// --- message handlers -------------------------------------------------------------

void TControl::WMLButtonDown(TMessage& m) {
  SendCancelMode(this);
  DefaultHandler(m);
  if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (controlStyle_.Contains(csClickEvents)) controlState_.Include(csClicked);
  DoMouseDown(m, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& m) {
  SendCancelMode(this);
  DefaultHandler(m);
  if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (controlStyle_.Contains(csClickEvents)) DblClick();
  DoMouseDown(m, mbLeft, {ssDouble});
}

void TControl::WMRButtonDown(TMessage& m) {
  DefaultHandler(m);
  DoMouseDown(m, mbRight, {});
}

void TControl::WMRButtonDblClk(TMessage& m) {
  DefaultHandler(m);
  DoMouseDown(m, mbRight, {ssDouble});
}

void TControl::WMMButtonDown(TMessage& m) {
  DefaultHandler(m);
  DoMouseDown(m, mbMiddle, {});
}

void TControl::WMMButtonDblClk(TMessage& m) {
  DefaultHandler(m);
  DoMouseDown(m, mbMiddle, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& m) {
  DefaultHandler(m);
  if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (controlState_.Contains(csClicked)) {
    controlState_.Exclude(csClicked);
    RECT r = GetClientRect();
    POINT p = TWMMouse(m).Pos();
    if (PtInRect(&r, p)) Click();
  }
  // Click may have freed the control; the platform reads the message only.
  DoMouseUp(m, mbLeft);
}

void TControl::WMRButtonUp(TMessage& m) {
  DefaultHandler(m);
  DoMouseUp(m, mbRight);
}

void TControl::WMMButtonUp(TMessage& m) {
  DefaultHandler(m);
  DoMouseUp(m, mbMiddle);
}

void TControl::WMMouseMove(TMessage& m) {
  DefaultHandler(m);
  if (controlStyle_.Contains(csNoStdEvents)) return;
  TWMMouse mm(m);
  MouseMove(KeysToShiftState(mm.Keys()), mm.XPos(), mm.YPos());
}

void TControl::WMCancelMode(TMessage& m) {
  DefaultHandler(m);
  if (GetMouseCapture()) {
    SetMouseCapture(false);
    if (controlState_.Contains(csLButtonDown)) Perform(WM_LBUTTONUP, 0, MAKELPARAM(0xFFFF, 0xFFFF));
  } else {
    controlState_.Exclude(csLButtonDown);
  }
}

void TControl::WMWindowPosChanged(TMessage& m) {
  DefaultHandler(m);
  // Windowless: nothing of its own; windowed controls update their bounds.
}

void TControl::WMContextMenu(TMessage& m) {
  if (m.Result != 0 || IsDesigning()) return;
  TWMContextMenu cm(m);
  POINT pt = cm.Pos();
  bool invalid = pt.x == -1 && pt.y == -1;
  POINT temp = pt;
  if (!invalid) {
    temp = ScreenToClient(pt);
    RECT r = GetClientRect();
    if (!PtInRect(&r, temp)) {
      DefaultHandler(m);
      return;
    }
  }
  bool handled = false;
  DoContextPopup(temp, handled);
  m.Result = handled ? 1 : 0;
  if (handled) return;
  TPopupMenu* menu = GetPopupMenuForContext();
  auto& hooks = ControlsHooks();
  if (menu && hooks.PopupMenuPopup) {
    SendCancelMode(nullptr);
    if (invalid) pt = ClientToScreen(POINT{0, 0});
    if (hooks.PopupMenuPopup(menu, this, pt)) m.Result = 1;
  }
  if (m.Result == 0) DefaultHandler(m);
}

void TControl::WMMouseWheel(TMessage& m) {
  if (gWheelInDefault == 0) {
    // The controls see the shift state where the system put the key flags;
    // the window's own procedure gets the message as the system sent it.
    TWMMouseWheel wheel(m);
    const auto shift = static_cast<WORD>(KeysToShiftState(wheel.Keys()).Bits());
    TMessage cm{m.Msg, MAKEWPARAM(shift, HIWORD(m.WParam)), m.LParam, 0};
    MouseWheelHandler(cm);
    if (cm.Result != 0) {
      m.Result = cm.Result;
      return;
    }
  }
  ++gWheelInDefault;
  try {
    DefaultHandler(m);
  } catch (...) {
    --gWheelInDefault;
    throw;
  }
  --gWheelInDefault;
}

void TControl::CMMouseWheel(TMessage& m) {
  TCMMouseWheel wheel(m);
  m.Result = 0;
  if (DoMouseWheel(wheel.ShiftState(), wheel.WheelDelta(), wheel.Pos())) m.Result = 1;
  else if (parent_) m.Result = parent_->Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
}

void TControl::CMVisibleChanged(TMessage&) {
  InvalidateControl(true, visible_ && controlStyle_.Contains(csOpaque));
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage& m) {
  if (!parentFont_) return;
  if (m.WParam != 0) SetFont(reinterpret_cast<TFont*>(m.LParam));
  else if (parent_) SetFont(parent_->font_);
  parentFont_ = true;
}

void TControl::CMParentColorChanged(TMessage& m) {
  if (!parentColor_) return;
  if (m.WParam != 0) SetColor(static_cast<TColor>(m.LParam));
  else if (parent_) SetColor(parent_->color_);
  parentColor_ = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (!parentShowHint_ || !parent_) return;
  SetShowHint(parent_->showHint_);
  parentShowHint_ = true;
}

void TControl::CMParentBiDiModeChanged(TMessage&) {
  if (!parentBiDiMode_ || !parent_) return;
  SetBiDiMode(parent_->biDiMode_);
  parentBiDiMode_ = true;
}

void TControl::CMParentCtl3DChanged(TMessage&) {
  if (!parentCtl3D_ || !parent_) return;
  SetCtl3D(parent_->ctl3D_);
  parentCtl3D_ = true;
}

void TControl::CMHitTest(TMessage& m) { m.Result = HTCLIENT; }
void TControl::CMDesignHitTest(TMessage& m) { m.Result = 0; }
void TControl::CMMouseEnter(TMessage&) {}
void TControl::CMSysColorChange(TMessage&) {}
void TControl::CMMouseLeave(TMessage&) {}

void TControl::CMHintShow(TMessage& m) {
  if (!actionLink_) return;
  auto* info = reinterpret_cast<THintInfo*>(m.LParam);
  if (info && !actionLink_->DoShowHint(info->HintStr)) m.Result = 1;
}
