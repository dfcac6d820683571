#include <vector>

#include "classlib/Messages.h"
#include "classlib/Scopes.h"
#include "kx/controls/KxPopups.h"
#include "kx/controls/KxPopupsShared.h"
#include "kx/foundation/KxThemeSrv.h"

// ---------------------------------------------------------------------------
// TKxCustomPopup

IMPLEMENT_CLASS(TKxCustomPopup)

TKxCustomPopup::TKxCustomPopup(TComponent* owner) : TKxCustomPanel(owner) {
  SetBorderWidth(2);
  SetBorderOuter(fsPopup);
  SetFlatColorAdjustment(0);
  SetVisible(false);
}

void TKxCustomPopup::AdjustClientRect(RECT& rect) {
  TCustomPanel::AdjustClientRect(rect);
  rect = FixClientRect(rect, false);
}

// The class library's alignment takes the client rectangle through
// AdjustClientRect, so the children align inside the frame.
void TKxCustomPopup::AlignControls(TControl* control, RECT& rect) { TWinControl::AlignControls(control, rect); }

void TKxCustomPopup::Paint() {
  if (!ThemeServices().GetThemesEnabled()) {
    inherited::Paint();
    return;
  }
  TRect client = GetClientRect();
  ThemeServices().DrawElement(GetCanvas()->GetHandle(), ThemeServices().GetElementDetails(tsThumbBtnHorzPressed),
                              client);
}

// ---------------------------------------------------------------------------
// TKxPopup

IMPLEMENT_CLASS(TKxPopup)

TKxPopup::TKxPopup(TKxPopupPanel* panel) : TKxCustomPopup(panel), panel_(panel) {
  SetVisible(false);
  if (TCustomForm* form = GetParentForm(panel)) SetParent(form);
  SetColor(panel->GetColor());
  GetFont()->Assign(panel->GetFont());
  SetHint(panel->GetHint());
  SetShowHint(panel->GetShowHint());
  SetCtl3D(false);
}

void TKxPopup::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  params.Style = WS_POPUP;
  params.ExStyle = 0;
}

TRect TKxPopup::Placement(const TRect& control, int width, int height, TAlignment alignment, const TRect& work) {
  int left = alignment == taLeftJustify    ? control.left
             : alignment == taRightJustify ? control.right - width
                                           : (control.left + control.right - width) / 2;
  int top = control.bottom;
  if (left + width > work.right) left = work.right - width;
  if (top + height > work.bottom) top = control.top - height;
  if (left < work.left) left = work.left;
  if (top < work.top) top = work.top;
  return TRect{left, top, left + width, top + height};
}

void TKxPopup::ShowFor(TControl* control, TAlignment alignment) {
  control_ = control;
  TRect where{};
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    GetWindowRect(win->GetHandle(), &where);
  } else if (control->GetParent()) {
    RECT b = control->GetBoundsRect();
    POINT tl = control->GetParent()->ClientToScreen(POINT{b.left, b.top});
    where = TRect{tl.x, tl.y, tl.x + (b.right - b.left), tl.y + (b.bottom - b.top)};
  } else {
    where = control->GetBoundsRect();
  }

  // The children move over from the last to the first; the first of them
  // that can take keys gets them.
  std::vector<TControl*> children = panel_->Controls();
  keyTarget_ = nullptr;
  for (TControl* c : children)
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->GetEnabled() && w->GetVisible()) {
      keyTarget_ = w;
      break;
    }
  for (auto it = children.rbegin(); it != children.rend(); ++it) (*it)->SetParent(this);
  holding_ = true;
  ::SetFocus(panel_->GetHandle());

  POINT corner{alignment == taRightJustify ? where.right : where.left, where.bottom};
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoA(MonitorFromPoint(corner, MONITOR_DEFAULTTONEAREST), &mi);
  TRect r = Placement(where, panel_->GetWidth(), panel_->GetHeight(), alignment, mi.rcWork);
  SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  // Shown through the class library, so that the children's windows show
  // with it; the platform's show without activation, on top.
  SetVisible(true);
  if (!HandleAllocated() || !IsWindowVisible(GetWindowHandle())) UpdateShowing();
  SetWindowPos(GetHandle(), HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  dismissed_ = true;
}

void TKxPopup::Restore() {
  if (!holding_) return;
  holding_ = false;
  if (HandleAllocated())
    SetWindowPos(GetWindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  SetVisible(false);
  std::vector<TControl*> children = Controls();
  for (auto it = children.rbegin(); it != children.rend(); ++it) (*it)->SetParent(panel_);
  SetParent(nullptr);
}

bool TKxPopup::Contains(HWND window) {
  if (!HandleAllocated()) return false;
  HWND self = GetWindowHandle();
  for (HWND w = window; w; w = ::GetParent(w))
    if (w == self) return true;
  return false;
}

void TKxPopup::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEACTIVATE: m.Result = MA_NOACTIVATE; return;
    case WM_NCACTIVATE: m.Result = 0; return;
    case WM_SYSCOMMAND:
      PostMessageA(GetWindowHandle(), CM_KXPOPUPCLOSE, 0, 0);
      m.Result = 0;
      return;
    case CM_KXPOPUPCLOSE:
      // The panel's children go back first: they must not go with the
      // pop-up. Nothing of this object is touched after Free.
      Restore();
      Free();
      return;
    default: break;
  }
  if (m.Msg >= WM_KEYFIRST && m.Msg <= WM_SYSDEADCHAR) {
    if (m.WParam == VK_ESCAPE) PostMessageA(GetWindowHandle(), CM_KXPOPUPCLOSE, 0, 0);
    if (keyTarget_ && keyTarget_->GetParent()) {
      m.Result = keyTarget_->Perform(m.Msg, m.WParam, m.LParam);
      return;
    }
  }
  inherited::WndProc(m);
}

// ---------------------------------------------------------------------------
// TKxPopupPanel

PUBLISHED(TKxPopupPanel) {
  using C = TKxPopupPanel;
  p.Prop("OnClose", &C::GetOnClose, &C::SetOnClose);
  p.Prop("OnPopup", &C::GetOnPopup, &C::SetOnPopup);
  p.Prop("Alignment", &TCustomPanel::GetAlignment, &TCustomPanel::SetAlignment).Default(taRightJustify);
  p.Prop("AutoSize", &TControl::GetAutoSize, &TControl::SetAutoSize).Default(true);
  PublishControlProps(p, {"BiDiMode"});
  PublishColor(p, clBtnFace);
  PublishControlProps(p, {"Ctl3D", "Enabled", "Font", "ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint",
                          "OnContextPopup"});
}

TKxPopupPanel::TKxPopupPanel(TComponent* owner) : TKxCustomPopup(owner) {
  SetAlignment(taRightJustify);
  SetBounds(GetLeft(), GetTop(), 100, 100);
  SetControlStyle(GetControlStyle() + TControlStyle{csAcceptsControls});
  SetColor(clBtnFace);
  SetParentColor(false);
  SetAutoSize(true);
}

void TKxPopupPanel::DoPopup() {
  if (OnPopup) OnPopup(this);
}

void TKxPopupPanel::DoClose() {
  if (OnClose) OnClose(this);
}

void TKxPopupPanel::Close(TObject*) {
  if (!popup_ || !popup_->HandleAllocated()) return;
  popup_->SetDismissed(false);
  PostMessageA(popup_->GetWindowHandle(), CM_KXPOPUPCLOSE, 0, 0);
}

bool TKxPopupPanel::CanAutoSize(int& newWidth, int& newHeight) {
  bool any = false;
  LONG right = 0, bottom = 0;
  for (TControl* c : Controls()) {
    if (!c->GetVisible()) continue;
    any = true;
    right = std::max<LONG>(right, c->GetLeft() + c->GetWidth());
    bottom = std::max<LONG>(bottom, c->GetTop() + c->GetHeight());
  }
  if (!any) return true;
  RECT frame{0, 0, GetWidth(), GetHeight()};
  RECT inner = frame;
  AdjustClientRect(inner);
  newWidth = right + (frame.right - inner.right);
  newHeight = bottom + (frame.bottom - inner.bottom);
  return true;
}

void TKxPopupPanel::DestroyWnd() {
  Close(this);
  inherited::DestroyWnd();
}

void TKxPopupPanel::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == popup_) popup_ = nullptr;
}

bool TKxPopupPanel::Popup(TControl* control) {
  if (popup_) return false;
  control_ = control;
  TCustomForm* form = GetParentForm(this);
  HWND focus = GetFocus();
  if (form) form->DisableAutoRange();
  TFinally finish([&] {
    if (form) form->EnableAutoRange();
    if (Application->GetActive() && focus && IsWindow(focus)) ::SetFocus(focus);
    control_ = nullptr;
    // No close message can reach a pop-up whose window went with its form,
    // so it is let go here.
    if (TKxPopup* p = popup_) {
      popup_ = nullptr;
      p->Restore();
      p->Free();
    }
  });
  DoPopup();
  HandleNeeded();
  // The class library sizes only what shows: a hidden panel takes its
  // children's size now.
  if (GetAutoSize()) {
    int w = GetWidth(), h = GetHeight();
    if (CanAutoSize(w, h)) SetBounds(GetLeft(), GetTop(), w, h);
  }
  popup_ = New<TKxPopup>(this);
  popup_->FreeNotification(this);
  popup_->ShowFor(control, GetAlignment());
  RunLoop();
  const bool result = popup_ && !popup_->GetDismissed();
  DoClose();
  return result;
}

void TKxPopupPanel::RunLoop() {
  try {
    for (;;) {
      if (!popup_ || !popup_->GetHolding()) return;
      HWND self = popup_->GetWindowHandle();
      if (Application->GetTerminated()) {
        popup_->Restore();
        PostMessageA(self, CM_KXPOPUPCLOSE, 0, 0);
        return;
      }
      MSG msg{};
      if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        Application->Idle(msg);
        continue;
      }
      // A close message of an earlier pop-up is not this one's: it goes on
      // to its own window below.
      if (msg.message == WM_KILLFOCUS || (msg.message == CM_KXPOPUPCLOSE && msg.hwnd == self)) {
        popup_->Restore();
        return;
      }
      if (msg.message == WM_ACTIVATEAPP || msg.message == CM_DEACTIVATE) {
        popup_->Restore();
        PostMessageA(self, CM_KXPOPUPCLOSE, 0, 0);
        return;
      }
      switch (msg.message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
          if (popup_->Contains(msg.hwnd)) break;
          // A click outside ends the pop-up and goes nowhere else.
          PeekMessageA(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);
          popup_->Restore();
          PostMessageA(self, CM_KXPOPUPCLOSE, 0, 0);
          return;
        default: break;
      }
      if (msg.message >= WM_KEYFIRST && msg.message <= WM_SYSDEADCHAR) {
        PeekMessageA(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);
        SendMessageA(self, msg.message, msg.wParam, msg.lParam);
        continue;
      }
      Application->HandleMessage();
    }
  } catch (...) {
    if (popup_) popup_->Restore();
    throw;
  }
}
