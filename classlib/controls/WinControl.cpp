#include "classlib/controls/WinControl.h"

#include "classlib/controls/Docking.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "classlib/Scopes.h"
#include "classlib/controls/ControlActionLink.h"
#include "classlib/controls/CustomControl.h"
#include "classlib/controls/ObjectInstance.h"
#include "classlib/sysutils/OSError.h"
#include "classlib/units/UnitGlobal.h"

TWinControl* CreationControl = nullptr;

namespace {
ATOM gControlAtom = 0;
ATOM gWindowAtom = 0;

// Binds a window to its control: the two properties FindControl and the
// Unicode layer read, the control atom first, so that whoever sees the
// window atom (the sign that a window is a control's) finds the control.
void SetControlProps(HWND window, TWinControl* control) {
  SetPropA(window, MAKEINTATOM(gControlAtom), control);
  SetPropA(window, MAKEINTATOM(gWindowAtom), control);
}

void RemoveControlProps(HWND window) {
  RemovePropA(window, MAKEINTATOM(gControlAtom));
  RemovePropA(window, MAKEINTATOM(gWindowAtom));
}

// A bitmap in the screen's format; null when GDI refuses the size.
HBITMAP CreateScreenBitmap(int width, int height) {
  TScreenDC screen;
  return CreateCompatibleBitmap(screen.Get(), width, height);
}

}  // namespace

ATOM ControlAtom() { return gControlAtom; }
ATOM WindowAtom() { return gWindowAtom; }

HINSTANCE ControlsInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ControlsInstance), &module);
  return module;
}

TControlAtomNames ControlAtomNames() {
  char buf[64];
  TControlAtomNames names;
  std::snprintf(buf, sizeof buf, "ClassLib%.8lX", static_cast<unsigned long>(GetCurrentProcessId()));
  names.WindowAtom = buf;
  // A 64-bit module handle keeps all its digits: at least 8, more when the
  // handle needs them.
  std::snprintf(buf, sizeof buf, "ControlOfs%.8llX%.8lX",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(ControlsInstance())),
                static_cast<unsigned long>(GetCurrentThreadId()));
  names.ControlAtom = buf;
  return names;
}

void ControlsAddAtoms() {
  TControlAtomNames names = ControlAtomNames();
  gWindowAtom = GlobalAddAtomA(names.WindowAtom.c_str());
  gControlAtom = GlobalAddAtomA(names.ControlAtom.c_str());
}

void ControlsDeleteAtoms() {
  if (gControlAtom) GlobalDeleteAtom(gControlAtom);
  if (gWindowAtom) GlobalDeleteAtom(gWindowAtom);
  gControlAtom = gWindowAtom = 0;
}

TWinControl* FindControl(HWND window) {
  if (!window || !gControlAtom) return nullptr;
  // Only windows of this process carry our properties.
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != GetCurrentProcessId()) return nullptr;
  return static_cast<TWinControl*>(GetPropA(window, MAKEINTATOM(gControlAtom)));
}

LRESULT CALLBACK InitWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = CreationControl;
  if (!control) return DefWindowProcA(window, msg, wParam, lParam);
  control->handle_ = window;
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control->objectInstance_));
  if ((GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) != 0 && GetWindowLongPtrA(window, GWLP_ID) == 0)
    SetWindowLongPtrA(window, GWLP_ID, reinterpret_cast<LONG_PTR>(window));
  SetControlProps(window, control);
  CreationControl = nullptr;
  return CallWindowProcA(control->objectInstance_, window, msg, wParam, lParam);
}

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TWinControl)

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
  objectInstance_ = MakeObjectInstance(TWndMethod(this, &TWinControl::MainWndProc));
  try {
    brush_ = New<TBrush>();
  } catch (...) {
    // This part is not built, so its Destroy will not run.
    FreeObjectInstance(objectInstance_);
    throw;
  }
  brush_->SetColor(GetColor());
}

TWinControl* TWinControl::CreateParented(TClass cls, HWND parentWindow) {
  auto* control = CreateAs<TWinControl>(cls, nullptr);
  control->SetParentWindow(parentWindow);
  return control;
}

void TWinControl::Destroy() {
  Destroying();
  // No longer a site: no drag finds it, and its docked children go with it.
  DockSiteDestroyed(this);
  dockClients_.clear();
  FreeAndNil(dockManager_);
  if (GetParent()) RemoveFocus(true);
  if (HWND window = handle_) {
    FreeDeviceContextsOf(window);
    DestroyWindowHandle();
    // A window that outlives its control (DestroyWindow refused it) must no
    // longer name the control; its messages reach the freed thunk, which
    // hands them to DefWindowProc.
    if (IsWindow(window) && FindControl(window) == this) RemoveControlProps(window);
  }
  // A parent frees the controls it holds, owned by it or not.
  while (!controls_.empty()) {
    TControl* child = controls_.back();
    controls_.pop_back();
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), child), tabList_.end());
    child->SetParentValue(nullptr);
    child->Free();
  }
  inherited::Destroy();
  FreeAndNil(brush_);
  FreeObjectInstance(objectInstance_);
  objectInstance_ = nullptr;
}

// --- window ---------------------------------------------------------------------

void TWinControl::SetParentWindow(HWND w) {
  if (GetParent() || parentWindow_ == w) return;
  if (handle_ && parentWindow_ && w) {
    ::SetParent(handle_, w);
  } else {
    DestroyHandle();
  }
  parentWindow_ = w;
  UpdateControlState();
}

HWND TWinControl::GetHandle() {
  HandleNeeded();
  return handle_;
}

void TWinControl::HandleNeeded() {
  if (handle_) return;
  if (GetParent()) GetParent()->HandleNeeded();
  CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& params) {
  params = TCreateParams();
  params.Caption = StoredText();
  params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (UseRightToLeftReading()) params.ExStyle |= WS_EX_RTLREADING;
  if (UseRightToLeftScrollBar()) params.ExStyle |= WS_EX_LEFTSCROLLBAR;
  if (UseRightToLeftAlignment()) {
    if (GetControlsAlignment() == taLeftJustify) params.ExStyle |= WS_EX_RIGHT;
    else if (GetControlsAlignment() == taRightJustify) params.ExStyle |= WS_EX_LEFT;
  }
  if (GetControlStyle().Contains(csAcceptsControls)) {
    params.Style |= WS_CLIPCHILDREN;
    params.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (!IsDesigning() && !GetEnabled()) params.Style |= WS_DISABLED;
  if (tabStop_) params.Style |= WS_TABSTOP;
  params.X = GetLeft();
  params.Y = GetTop();
  params.Width = GetWidth();
  params.Height = GetHeight();
  params.WndParent = GetParent() ? GetParent()->GetHandle() : parentWindow_;
  params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  params.WindowClass.lpfnWndProc = DefWindowProcA;
  params.WindowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  params.WindowClass.hbrBackground = nullptr;
  params.WindowClass.hInstance = ControlsInstance();
  params.WinClassName = ClassName().substr(0, 63);
}

void TWinControl::CreateSubClass(TCreateParams& params, const char* controlClassName) {
  if (!controlClassName) return;
  HINSTANCE saveInstance = params.WindowClass.hInstance;
  if (!GetClassInfoA(ControlsInstance(), controlClassName, &params.WindowClass) &&
      !GetClassInfoA(nullptr, controlClassName, &params.WindowClass))
    GetClassInfoA(params.WindowClass.hInstance, controlClassName, &params.WindowClass);
  params.WindowClass.hInstance = saveInstance;
  params.WindowClass.style &= ~UINT{CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS};
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
  HWND h = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                           p.Height, p.WndParent, nullptr, p.WindowClass.hInstance, p.Param);
  handle_ = h;
}

void TWinControl::CreateWnd() {
  // Without the Controls unit's atoms no window could be found as its
  // control again (FindControl): every message would miss its object.
  if (!gControlAtom) RaiseUnitsNotStarted("A window control");
  TCreateParams params;
  CreateParams(params);
  if (!params.WndParent && (params.Style & WS_CHILD) && !IsDesigning())
    throw EInvalidOperation("Control '" + GetName() + "' has no parent window");
  defWndProc_ = params.WindowClass.lpfnWndProc;
  WNDCLASSA existing{};
  bool registered = GetClassInfoA(params.WindowClass.hInstance, params.WinClassName.c_str(), &existing) != 0;
  if (!registered || existing.lpfnWndProc != &InitWndProc) {
    if (registered) UnregisterClassA(params.WinClassName.c_str(), params.WindowClass.hInstance);
    params.WindowClass.lpfnWndProc = &InitWndProc;
    params.WindowClass.lpszClassName = params.WinClassName.c_str();
    if (!RegisterClassA(&params.WindowClass)) {
      RaiseLastOSError();
    }
  }
  CreationControl = this;
  try {
    CreateWindowHandle(params);
  } catch (...) {
    CreationControl = nullptr;
    throw;
  }
  CreationControl = nullptr;
  if (!handle_) {
    RaiseLastOSError();
  }
  if ((GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD) && GetWindowLongPtrA(handle_, GWLP_ID) == 0)
    SetWindowLongPtrA(handle_, GWLP_ID, reinterpret_cast<LONG_PTR>(handle_));
  StoredText().clear();
  UpdateBounds();
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->GetHandle()), 1);
  if (GetAutoSize()) AdjustSize();
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  CreateWnd();
  // Again for a window that CreateWindowHandle made without InitWndProc.
  SetControlProps(handle_, this);
  if (GetParent())
    SetWindowPos(handle_, GetParent()->PrecedingWindow(this), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (TControl* c : controls_) c->UpdateAnchorRules();
}

void TWinControl::DestroyWindowHandle() {
  SetControlState(GetControlState() + TControlState{csDestroyingHandle});
  BOOL ok = DestroyWindow(handle_);
  SetControlState(GetControlState() - TControlState{csDestroyingHandle});
  handle_ = nullptr;
  if (!ok && !IsDestroying()) {
    RaiseLastOSError();
  }
}

void TWinControl::DestroyWnd() {
  // The window's text stays with the control until the next window.
  // Read as every text is, through WindowProc (the Unicode layer answers
  // with the ANSI form of its wide text).
  std::string text = GetText();
  FreeDeviceContextsOf(handle_);
  DestroyWindowHandle();
  StoredText() = text;
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (handle_) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage&) {
  bool wasFocused = Focused();
  DestroyHandle();
  UpdateControlState();
  if (wasFocused && handle_) ::SetFocus(handle_);
}

void TWinControl::UpdateControlState() {
  TWinControl* top = this;
  while (top->GetParent()) {
    top = top->GetParent();
    if (!top->showing_) return;
  }
  auto& hooks = ControlsHooks();
  bool isForm = hooks.AsForm && hooks.AsForm(top);
  if (isForm || top->parentWindow_) UpdateShowing();
}

void TWinControl::UpdateShowing() {
  bool show = GetVisible() && !GetControlState().Contains(csReadingState);
  if (show) {
    if (!handle_) CreateHandle();
    for (TControl* c : controls_)
      if (auto* w = dynamic_cast<TWinControl*>(c)) w->UpdateShowing();
  }
  if (handle_ && showing_ != show) {
    showing_ = show;
    try {
      Perform(CM_SHOWINGCHANGED, 0, 0);
    } catch (...) {
      showing_ = !show;
      throw;
    }
  }
}

void TWinControl::CMShowingChanged(TMessage&) {
  const UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(handle_, nullptr, 0, 0, 0, 0, flags | (showing_ ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::UpdateBounds() {
  RECT r{};
  GetWindowRect(handle_, &r);
  if (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD) {
    if (HWND parent = ::GetParent(handle_)) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  left_ = r.left;
  top_ = r.top;
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  UpdateAnchorRules();
}

// --- dispatch -------------------------------------------------------------------

void TWinControl::MainWndProc(TMessage& message) {
  try {
    WindowProc(message);
  } catch (...) {
    ControlsHandleException(this);
  }
  // Global: touches nothing of this control, which the message may have freed.
  FreeDeviceContexts();
}

bool TWinControl::FocusMessageStops(const TMessage& m) {
  if (m.Msg == WM_SETFOCUS) {
    // The form records the focus and tells the controls it leaves and
    // enters; a handler that moved the focus on ends this one.
    auto& hooks = ControlsHooks();
    if (hooks.SetFocusedControl)
      if (TCustomForm* form = GetParentForm(this)) return !hooks.SetFocusedControl(form, this);
  } else if (m.Msg == WM_KILLFOCUS) {
    // The form is moving the focus within itself.
    return GetControlState().Contains(csFocusing);
  }
  return false;
}

void TWinControl::WndProc(TMessage& m) {
  if (FocusMessageStops(m)) return;
  switch (m.Msg) {
    case WM_NCHITTEST: {
      TControl::WndProc(m);
      if (m.Result == HTTRANSPARENT) {
        POINT p = ScreenToClient(TWMMouse(m).Pos());
        if (ControlAtPos(p, false)) m.Result = HTCLIENT;
      }
      return;
    }
    case WM_CANCELMODE:
      if (::GetCapture() == handle_) {
        TControl* c = GetCaptureControl();
        if (c && c != this && c->GetParent() == this) c->Perform(WM_CANCELMODE, 0, 0);
      }
      break;
    default:
      if (m.Msg >= WM_MOUSEMOVE && m.Msg <= WM_MBUTTONDBLCLK) {
        // A dock site's grabbers take their presses first.
        if (dockSite_ && useDockManager_ && dockManager_ && !IsDesigning() && dockManager_->HandleMessage(m))
          return;
        if (IsControlMouseMsg(m)) {
          // The child's handler may have taken the window away.
          if (m.Result == 0 && handle_) DefWindowProcA(handle_, m.Msg, m.WParam, m.LParam);
          return;
        }
      }
      break;
  }
  TControl::WndProc(m);
}

void TWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: WMPaint(m); return;
    case WM_ERASEBKGND: WMEraseBkgnd(m); return;
    case WM_COMMAND: WMCommand(m); return;
    case WM_NOTIFY: WMNotify(m); return;
    case WM_DRAWITEM: WMDrawItem(m); return;
    case WM_MEASUREITEM: WMMeasureItem(m); return;
    case WM_DELETEITEM: WMDeleteItem(m); return;
    case WM_COMPAREITEM: WMCompareItem(m); return;
    case WM_HSCROLL: WMHScroll(m); return;
    case WM_VSCROLL: WMVScroll(m); return;
    case WM_CHARTOITEM: WMCharToItem(m); return;
    case WM_VKEYTOITEM: WMVKeyToItem(m); return;
    case WM_SIZE: WMSize(m); return;
    case WM_MOVE: WMMove(m); return;
    case WM_SETCURSOR: WMSetCursor(m); return;
    case WM_SETFOCUS: WMSetFocus(m); return;
    case WM_KILLFOCUS: WMKillFocus(m); return;
    case WM_KEYDOWN: WMKeyDown(m); return;
    case WM_SYSKEYDOWN: WMSysKeyDown(m); return;
    case WM_KEYUP: WMKeyUp(m); return;
    case WM_SYSKEYUP: WMSysKeyUp(m); return;
    case WM_CHAR: WMChar(m); return;
    case WM_NCDESTROY: WMNCDestroy(m); return;
    case WM_NCHITTEST: WMNCHitTest(m); return;
    case WM_DESTROY: WMDestroy(m); return;
    case WM_SYSCOLORCHANGE: WMSysColorChange(m); return;
    case CM_SYSCOLORCHANGE: CMSysColorChange(m); return;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(m); return;
    case WM_CONTEXTMENU: WMContextMenu(m); return;
    case CN_KEYDOWN: CNKeyDown(m); return;
    case CN_KEYUP: CNKeyUp(m); return;
    case CN_CHAR: CNChar(m); return;
    case CN_SYSKEYDOWN: CNSysKeyDown(m); return;
    case CN_SYSCHAR: CNSysChar(m); return;
    case CM_CHILDKEY: CMChildKey(m); return;
    case CM_DIALOGKEY: CMDialogKey(m); return;
    case CM_DIALOGCHAR: CMDialogChar(m); return;
    case CM_FOCUSCHANGED: CMFocusChanged(m); return;
    case CM_ENTER: CMEnter(m); return;
    case CM_EXIT: CMExit(m); return;
    case CM_RECREATEWND: CMRecreateWnd(m); return;
    case CM_INVALIDATE: CMInvalidate(m); return;
    case CM_SHOWINGCHANGED: CMShowingChanged(m); return;
    case CM_SHOWHINTCHANGED: CMShowHintChanged(m); return;
    case CM_BIDIMODECHANGED: CMBiDiModeChanged(m); return;
    case CM_CTL3DCHANGED: CMCtl3DChanged(m); return;
    case CM_COLORCHANGED: CMColorChanged(m); return;
    case CM_FONTCHANGED: CMFontChanged(m); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(m); return;
    case CM_CURSORCHANGED: CMCursorChanged(m); return;
    case CM_DRAG: CMDrag(m); return;
    default: TControl::Dispatch(m); return;
  }
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (!handle_) {
    TControl::DefaultHandler(m);
    return;
  }
  if (m.Msg == WM_CONTEXTMENU && GetParent()) {
    m.Result = GetParent()->Perform(m.Msg, m.WParam, m.LParam);
    if (m.Result != 0) return;
  }
  if (m.Msg >= WM_CTLCOLORMSGBOX && m.Msg <= WM_CTLCOLORSTATIC) {
    HWND child = reinterpret_cast<HWND>(m.LParam);
    if (FindControl(child)) {
      m.Result = SendMessageA(child, CN_BASE + m.Msg, m.WParam, m.LParam);
      return;
    }
  } else if (m.Msg >= CN_CTLCOLORMSGBOX && m.Msg <= CN_CTLCOLORSTATIC) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    SetTextColor(dc, ColorToRGB(GetFont()->GetColor()));
    SetBkColor(dc, ColorToRGB(brush_->GetColor()));
    m.Result = reinterpret_cast<LRESULT>(brush_->GetHandle());
    return;
  }
  m.Result = CallWindowProcA(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

bool TWinControl::DoControlMsg(HWND window, TMessage& m) {
  TWinControl* control = FindControl(window);
  if (!control) return false;
  m.Result = control->Perform(m.Msg + CN_BASE, m.WParam, m.LParam);
  return true;
}

void TWinControl::WMCommand(TMessage& m) {
  if (!DoControlMsg(TWMCommand(m).Ctl(), m)) DefaultHandler(m);
}

void TWinControl::WMNotify(TMessage& m) {
  NMHDR* hdr = TWMNotify(m).NMHdr();
  if (!hdr || !DoControlMsg(hdr->hwndFrom, m)) DefaultHandler(m);
}

void TWinControl::WMDrawItem(TMessage& m) {
  DRAWITEMSTRUCT* d = TWMDrawItem(m).DrawItemStruct();
  if (!d || d->CtlType == ODT_MENU || !DoControlMsg(d->hwndItem, m)) DefaultHandler(m);
}

void TWinControl::WMMeasureItem(TMessage& m) {
  MEASUREITEMSTRUCT* mi = TWMMeasureItem(m).MeasureItemStruct();
  // The item's window comes from its id, which is the child's own handle.
  if (!mi || mi->CtlType == ODT_MENU || !handle_ ||
      !DoControlMsg(GetDlgItem(handle_, static_cast<int>(mi->CtlID)), m))
    DefaultHandler(m);
}

void TWinControl::WMDeleteItem(TMessage& m) {
  DELETEITEMSTRUCT* d = TWMDeleteItem(m).DeleteItemStruct();
  if (!d || !DoControlMsg(d->hwndItem, m)) DefaultHandler(m);
}

void TWinControl::WMCompareItem(TMessage& m) {
  COMPAREITEMSTRUCT* c = TWMCompareItem(m).CompareItemStruct();
  if (!c || !DoControlMsg(c->hwndItem, m)) DefaultHandler(m);
}

void TWinControl::WMHScroll(TMessage& m) {
  if (!DoControlMsg(TWMScroll(m).ScrollBar(), m)) DefaultHandler(m);
}

void TWinControl::WMVScroll(TMessage& m) {
  if (!DoControlMsg(TWMScroll(m).ScrollBar(), m)) DefaultHandler(m);
}

void TWinControl::WMCharToItem(TMessage& m) {
  if (!DoControlMsg(TWMScroll(m).ScrollBar(), m)) DefaultHandler(m);
}

void TWinControl::WMVKeyToItem(TMessage& m) {
  if (!DoControlMsg(TWMScroll(m).ScrollBar(), m)) DefaultHandler(m);
}

// --- children -----------------------------------------------------------------------

void TWinControl::InsertControl(TControl* control) {
  control->ValidateContainer(this);
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), TRUE);
  controls_.push_back(control);
  if (auto* w = dynamic_cast<TWinControl*>(control)) tabList_.push_back(w);
  control->SetParentValue(this);
  if (!control->GetComponentState().Contains(csReading)) {
    control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    control->Perform(CM_PARENTFONTCHANGED, 0, 0);
    control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    control->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
      control->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
      w->UpdateControlState();
    } else if (handle_) {
      control->Invalidate();
    }
    AlignControl(control);
  }
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), TRUE);
}

void TWinControl::RemoveControl(TControl* control) {
  ForgetDockClient(control);
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), FALSE);
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    w->RemoveFocus(true);
    w->DestroyHandle();
  } else if (handle_) {
    control->InvalidateControl(control->GetVisible(), false);
  }
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
  control->SetParentValue(nullptr);
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), FALSE);
  Realign();
}

bool TWinControl::ContainsControl(TControl* control) const {
  while (control && control != this) control = control->GetParent();
  return control == this;
}

TControl* TWinControl::ControlAtPos(POINT pos, bool allowDisabled, bool allowWinControls) {
  auto hit = [&](TControl* c) {
    POINT p{pos.x - c->GetLeft(), pos.y - c->GetTop()};
    RECT r = c->GetClientRect();
    if (!PtInRect(&r, p)) return false;
    if (!c->GetVisible() || !(c->GetEnabled() || allowDisabled)) return false;
    return c->Perform(CM_HITTEST, 0, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y))) != 0;
  };
  if (allowWinControls)
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
      if (dynamic_cast<TWinControl*>(*it) && hit(*it)) return *it;
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
    if (!dynamic_cast<TWinControl*>(*it) && hit(*it)) return *it;
  return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
  // A child may leave the list while it is told: index each time.
  for (size_t i = 0; i < controls_.size(); ++i) {
    controls_[i]->WindowProc(message);
    if (message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT msg) {
  TMessage m{msg, 0, 0, 0};
  Broadcast(m);
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
  // In creation order, so a stored form reads them back the same way.
  for (TControl* c : std::vector<TControl*>(controls_))
    if (c->GetOwner() == root) proc(c);
}

void TWinControl::SetParent(TWinControl* parent) {
  if (parent && GetParent() != parent && parentWindow_) parentWindow_ = nullptr;
  TControl::SetParent(parent);
}

TClass TWinControl::GetActionLinkClass() { return TWinControlActionLink::StaticClass(); }

void TWinControl::ReadState(TReader* reader) {
  DisableAlign();
  try {
    TControl::ReadState(reader);
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
}

void TWinControl::Loaded() {
  TControl::Loaded();
  if (handle_) {
    UpdateBounds();
  }
  Realign();
}

// --- painting ------------------------------------------------------------------------

void TWinControl::Invalidate() { Perform(CM_INVALIDATE, 0, 0); }

void TWinControl::CMInvalidate(TMessage& m) {
  if (!handle_) return;
  if (GetParent()) GetParent()->Perform(CM_INVALIDATE, 1, 0);
  if (m.WParam == 0) InvalidateRect(handle_, nullptr, !GetControlStyle().Contains(csOpaque));
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::WMPaint(TMessage& m) {
  TWMPaint pm(m);
  if (doubleBuffered_ && !pm.DC() && PaintBuffered(m)) return;
  bool hasWindowless = std::any_of(controls_.begin(), controls_.end(),
                                   [](TControl* c) { return !dynamic_cast<TWinControl*>(c); });
  if (!GetControlState().Contains(csCustomPaint) && !hasWindowless) DefaultHandler(m);
  else PaintHandler(m);
}

bool TWinControl::PaintBuffered(TMessage& m) {
  RECT client = GetClientRect();
  TOwnedGdiObject<HBITMAP> bitmap(CreateScreenBitmap(client.right, client.bottom));
  if (!bitmap) return false;
  std::optional<TMemoryDC> memory;
  try {
    memory.emplace(bitmap.get());
  } catch (const EOutOfResources&) {
    return false;
  }
  HDC memDC = memory->Get();
  TPaintDC paint(handle_);
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memDC), reinterpret_cast<LPARAM>(memDC));
  {
    TWMPaint pm(m);
    pm.SetDC(memDC);
    TFinally handBack([&pm] { pm.SetDC(nullptr); });
    WMPaint(m);
  }
  BitBlt(paint.Get(), 0, 0, client.right, client.bottom, memDC, 0, 0, SRCCOPY);
  return true;
}

void TWinControl::PaintHandler(TMessage& m) {
  TWMPaint pm(m);
  HDC dc = pm.DC();
  std::optional<TPaintDC> paint;
  if (!dc) dc = paint.emplace(handle_).Get();
  {
    TSavedDC saved(dc);
    int clip = SIMPLEREGION;
    // The window paints only where no opaque windowless child will.
    for (TControl* c : controls_) {
      if (dynamic_cast<TWinControl*>(c)) continue;
      if (c->GetVisible() && c->GetControlStyle().Contains(csOpaque)) {
        clip = ExcludeClipRect(dc, c->GetLeft(), c->GetTop(), c->GetLeft() + c->GetWidth(),
                               c->GetTop() + c->GetHeight());
        if (clip == NULLREGION) break;
      }
    }
    if (clip != NULLREGION) PaintWindow(dc);
  }
  PaintControls(dc, nullptr);
  // The grabbers over the docked controls' zones.
  if (dockSite_ && useDockManager_ && dockManager_) dockManager_->PaintSite(dc);
}

void TWinControl::PaintWindow(HDC dc) {
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  auto it = controls_.begin();
  if (first) {
    it = std::find(controls_.begin(), controls_.end(), first);
    if (it == controls_.end()) it = controls_.begin();
  }
  // Copy: a child's paint handler must not change the list we walk.
  std::vector<TControl*> list(it, controls_.end());
  for (TControl* c : list) {
    if (dynamic_cast<TWinControl*>(c) || !c->GetVisible()) continue;
    RECT r = c->GetBoundsRect();
    if (!RectVisible(dc, &r)) continue;
    if (GetControlState().Contains(csPaintCopy)) c->controlState_.Include(csPaintCopy);
    int saved = SaveDC(dc);
    POINT org;
    GetWindowOrgEx(dc, &org);
    SetWindowOrgEx(dc, org.x - c->GetLeft(), org.y - c->GetTop(), nullptr);
    IntersectClipRect(dc, 0, 0, c->GetWidth(), c->GetHeight());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
    c->controlState_.Exclude(csPaintCopy);
  }
}

void TWinControl::WMEraseBkgnd(TMessage& m) {
  if (!doubleBuffered_ || m.WParam == static_cast<WPARAM>(m.LParam)) {
    RECT r = GetClientRect();
    FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush_->GetHandle());
  }
  m.Result = 1;
}

void TWinControl::SetZOrder(bool topMost) {
  if (GetParent()) {
    SetZOrderPosition(topMost ? GetParent()->GetControlCount() - 1 : 0);
    if (handle_)
      SetWindowPos(handle_, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else if (handle_) {
    SetWindowPos(handle_, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
}

HWND TWinControl::PrecedingWindow(TWinControl* control) {
  // The window that must come right before control's: the next windowed
  // sibling in the list that has a window (windows lie in reverse order).
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it != controls_.end()) {
    for (++it; it != controls_.end(); ++it)
      if (auto* w = dynamic_cast<TWinControl*>(*it))
        if (w->handle_) return w->handle_;
  }
  return HWND_TOP;
}

// --- focus and keys ---------------------------------------------------------------

void TWinControl::SetTabStop(bool v) {
  if (tabStop_ == v) return;
  tabStop_ = v;
  if (handle_) {
    LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
    SetWindowLongPtrA(handle_, GWL_STYLE, v ? (style | WS_TABSTOP) : (style & ~LONG_PTR{WS_TABSTOP}));
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

int TWinControl::GetTabOrder() const {
  if (!GetParent()) return -1;
  const auto& list = GetParent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int v) {
  if (!GetParent()) return;
  auto& list = GetParent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  int count = static_cast<int>(list.size());
  if (v < 0 || v >= count) v = count - 1;
  list.erase(it);
  list.insert(list.begin() + v, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
  for (TWinControl* c : tabList_) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int count = static_cast<int>(list.size());
  auto it = std::find(list.begin(), list.end(), current);
  int start = it == list.end() ? (goForward ? count - 1 : 0) : static_cast<int>(it - list.begin());
  int i = start;
  do {
    i = goForward ? (i + 1) % count : (i + count - 1) % count;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c != current && c->CanFocus() && (!checkTabStop || c->GetTabStop()) &&
        (!checkParent || c->GetParent() == this))
      return c;
  } while (i != start);
  return nullptr;
}

bool TWinControl::CanFocus() {
  TWinControl* form = GetParentFormControl(this);
  if (!form) return false;
  for (TControl* c = this; c && c != form; c = c->GetParent())
    if (!c->GetVisible() || !c->GetEnabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return handle_ && ::GetFocus() == handle_; }

void TWinControl::SetFocus() {
  auto& hooks = ControlsHooks();
  if (TCustomForm* form = GetParentForm(this)) {
    if (hooks.FocusControl) hooks.FocusControl(form, this);
  } else if (parentWindow_ || GetParent()) {
    ::SetFocus(GetHandle());
  } else {
    ValidParentForm(this);
  }
}

void TWinControl::RemoveFocus(bool removing) {
  auto& hooks = ControlsHooks();
  if (!hooks.DefocusControl) return;
  if (TCustomForm* form = GetParentForm(this)) hooks.DefocusControl(form, this, removing);
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

namespace {
// The form that previews the keys of its controls, when it is not the
// control itself.
TWinControl* PreviewingForm(TWinControl* control) {
  auto& hooks = ControlsHooks();
  if (!hooks.KeyPreview) return nullptr;
  TWinControl* form = GetParentFormControl(control);
  if (!form || form == control || !hooks.KeyPreview(GetParentForm(control))) return nullptr;
  return form;
}
}  // namespace

bool TWinControl::DoKeyDown(TMessage& m) {
  if (TWinControl* form = PreviewingForm(this))
    if (form->DoKeyDown(m)) return true;
  TWMKey k(m);
  if (!GetControlStyle().Contains(csNoStdEvents)) {
    WORD key = k.CharCode();
    KeyDown(key, KeyDataToShiftState(k.KeyData()));
    k.SetCharCode(key);
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyPress(TMessage& m) {
  if (TWinControl* form = PreviewingForm(this))
    if (form->DoKeyPress(m)) return true;
  TWMKey k(m);
  if (!GetControlStyle().Contains(csNoStdEvents)) {
    char ch = static_cast<char>(k.CharCode());
    KeyPress(ch);
    k.SetCharCode(static_cast<unsigned char>(ch));
    if (ch == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyUp(TMessage& m) {
  if (TWinControl* form = PreviewingForm(this))
    if (form->DoKeyUp(m)) return true;
  TWMKey k(m);
  if (!GetControlStyle().Contains(csNoStdEvents)) {
    WORD key = k.CharCode();
    KeyUp(key, KeyDataToShiftState(k.KeyData()));
    k.SetCharCode(key);
    if (key == 0) return true;
  }
  return false;
}

void TWinControl::WMKeyDown(TMessage& m) {
  if (!DoKeyDown(m)) DefaultHandler(m);
}

void TWinControl::WMSysKeyDown(TMessage& m) {
  if (!DoKeyDown(m)) DefaultHandler(m);
}

void TWinControl::WMKeyUp(TMessage& m) {
  if (!DoKeyUp(m)) DefaultHandler(m);
}

void TWinControl::WMSysKeyUp(TMessage& m) {
  if (!DoKeyUp(m)) DefaultHandler(m);
}

void TWinControl::WMChar(TMessage& m) {
  if (!DoKeyPress(m)) DefaultHandler(m);
}

void TWinControl::CNKeyDown(TMessage& m) {
  TWMKey k(m);
  m.Result = 1;
  auto& hooks = ControlsHooks();
  if (hooks.IsMenuKey && hooks.IsMenuKey(this, m)) return;
  if (!IsDesigning()) {
    if (Perform(CM_CHILDKEY, k.CharCode(), reinterpret_cast<LPARAM>(this)) != 0) return;
    LRESULT mask = 0;
    switch (k.CharCode()) {
      case VK_TAB: mask = DLGC_WANTTAB; break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN: mask = DLGC_WANTARROWS; break;
      case VK_RETURN:
      case VK_EXECUTE:
      case VK_ESCAPE:
      case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, k.CharCode(), 0) == 0 &&
        (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0) {
      if (TWinControl* form = GetParentFormControl(this))
        if (form->Perform(CM_DIALOGKEY, k.CharCode(), static_cast<LPARAM>(k.KeyData())) != 0) return;
    }
  }
  m.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& m) { m.Result = 0; }

void TWinControl::CNChar(TMessage& m) {
  if (IsDesigning()) return;
  TWMKey k(m);
  m.Result = 1;
  if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0) {
    if (TWinControl* form = GetParentFormControl(this))
      if (form->Perform(CM_DIALOGCHAR, k.CharCode(), static_cast<LPARAM>(k.KeyData())) != 0) return;
  }
  m.Result = 0;
}

void TWinControl::CNSysKeyDown(TMessage& m) {
  m.Result = 1;
  auto& hooks = ControlsHooks();
  if (hooks.IsMenuKey && hooks.IsMenuKey(this, m)) return;
  if (!IsDesigning()) {
    if (Perform(CM_CHILDKEY, TWMKey(m).CharCode(), reinterpret_cast<LPARAM>(this)) != 0) return;
    if (TWinControl* form = GetParentFormControl(this))
      if (form->Perform(CM_DIALOGKEY, TWMKey(m).CharCode(), m.LParam) != 0) return;
  }
  m.Result = 0;
}

void TWinControl::CNSysChar(TMessage& m) {
  m.Result = 0;
  if (IsDesigning()) return;
  TWMKey k(m);
  // Alt+character: an accelerator of some control of the form.
  if (k.CharCode() != VK_SPACE) {
    if (TWinControl* form = GetParentFormControl(this))
      m.Result = form->Perform(CM_DIALOGCHAR, k.CharCode(), m.LParam);
  }
}

void TWinControl::CMChildKey(TMessage& m) {
  // Every parent up to the form may take a child's key first.
  if (GetParent()) GetParent()->WindowProc(m);
}

void TWinControl::CMDialogKey(TMessage& m) { Broadcast(m); }
void TWinControl::CMDialogChar(TMessage& m) { Broadcast(m); }
void TWinControl::CMFocusChanged(TMessage& m) { Broadcast(m); }
void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::WMSetFocus(TMessage& m) { DefaultHandler(m); }
void TWinControl::WMKillFocus(TMessage& m) { DefaultHandler(m); }

// --- other handlers ------------------------------------------------------------------

void TWinControl::WMSize(TMessage& m) {
  UpdateBounds();
  DefaultHandler(m);
  Realign();
  if (!IsLoading()) Resize();
}

void TWinControl::WMMove(TMessage& m) {
  UpdateBounds();
  DefaultHandler(m);
}

void TWinControl::WMWindowPosChanged(TMessage& m) {
  if (!GetControlState().Contains(csDestroyingHandle) && handle_) UpdateBounds();
  // Only a real notification carries a WINDOWPOS for the window procedure.
  if (m.LParam) DefaultHandler(m);
}

HCURSOR CursorHandleOf(TCursor cursor) {
  auto& hooks = ControlsHooks();
  if (HCURSOR h = hooks.CursorHandle ? hooks.CursorHandle(cursor) : nullptr) return h;
  // The stock cursors by their system ids when no screen maps them.
  static const struct {
    TCursor c;
    int id;
  } stock[] = {{crArrow, 32512},    {crCross, 32515},    {crIBeam, 32513},    {crSizeNESW, 32643},
               {crSizeNS, 32645},   {crSizeNWSE, 32642}, {crSizeWE, 32644},   {crUpArrow, 32516},
               {crHourGlass, 32514}, {crNo, 32648},      {crAppStart, 32650}, {crHelp, 32651},
               {crHandPoint, 32649}, {crSizeAll, 32646}, {crDefault, 32512}, {crDrag, 32512},
               {crMultiDrag, 32512}, {crNoDrop, 32648}};
  for (auto& s : stock)
    if (s.c == cursor) return LoadCursorA(nullptr, MAKEINTRESOURCEA(s.id));
  return nullptr;
}

void TWinControl::WMSetCursor(TMessage& m) {
  TWMSetCursor sc(m);
  if (sc.CursorWnd() == handle_ && sc.HitTest() == HTCLIENT) {
    auto& hooks = ControlsHooks();
    TCursor cursor = hooks.ScreenCursor ? hooks.ScreenCursor() : crDefault;
    if (cursor == crDefault) {
      POINT p = Mouse().GetCursorPos();
      if (TControl* c = ControlAtPos(ScreenToClient(p), false)) cursor = c->GetCursor();
      if (cursor == crDefault) cursor = GetCursor();
    }
    if (cursor != crDefault) {
      HCURSOR h = CursorHandleOf(cursor);
      if (h || cursor == crNone) {
        ::SetCursor(h);
        m.Result = 1;
        return;
      }
    }
  }
  DefaultHandler(m);
}

void TWinControl::CMDrag(TMessage& m) {
  TCMDrag dm(m);
  TDragRec* rec = dm.DragRec();
  if (!rec) return;
  switch (dm.DragMessage()) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove:
    case dmDragDrop:
      if (rec->Target) rec->Target->DoDragMsg(m);
      break;
    case dmFindTarget: {
      TControl* c = ControlAtPos(ScreenToClient(rec->Pos), false);
      m.Result = reinterpret_cast<LRESULT>(c ? c : this);
      break;
    }
    default:
      break;
  }
}

void TWinControl::WMNCHitTest(TMessage& m) { DefaultHandler(m); }

void TWinControl::WMDestroy(TMessage& m) { DefaultHandler(m); }

void TWinControl::WMSysColorChange(TMessage& m) {
  Perform(CM_SYSCOLORCHANGE, 0, 0);
  DefaultHandler(m);
}

void TWinControl::CMSysColorChange(TMessage& m) { Broadcast(m); }

void TWinControl::WMNCDestroy(TMessage& m) {
  DefaultHandler(m);
  HWND h = handle_;
  if (h) RemoveControlProps(h);
  handle_ = nullptr;
  showing_ = false;
}

void TWinControl::WMContextMenu(TMessage& m) { TControl::WMContextMenu(m); }

void TWinControl::CMShowHintChanged(TMessage&) { NotifyControls(CM_PARENTSHOWHINTCHANGED); }

void TWinControl::CMBiDiModeChanged(TMessage&) {
  if (handle_ && !IsLoading()) RecreateWnd();
  NotifyControls(CM_PARENTBIDIMODECHANGED);
}

void TWinControl::CMCtl3DChanged(TMessage&) { NotifyControls(CM_PARENTCTL3DCHANGED); }

void TWinControl::CMColorChanged(TMessage& m) {
  brush_->SetColor(GetColor());
  NotifyControls(CM_PARENTCOLORCHANGED);
  TControl::CMColorChanged(m);
}

void TWinControl::CMFontChanged(TMessage& m) {
  TControl::CMFontChanged(m);
  if (handle_) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->GetHandle()), 0);
  NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMEnabledChanged(TMessage&) {
  if (!GetEnabled() && GetParent()) RemoveFocus(false);
  if (handle_ && !IsDesigning()) EnableWindow(handle_, GetEnabled());
}

void TWinControl::CMVisibleChanged(TMessage&) {
  if (!GetVisible() && GetParent()) RemoveFocus(false);
  UpdateControlState();
}

void TWinControl::CMCursorChanged(TMessage&) {
  // Show the new cursor at once when the mouse is over this window.
  POINT p = Mouse().GetCursorPos();
  if (handle_ && WindowFromPoint(p) == handle_) Perform(WM_SETCURSOR, reinterpret_cast<WPARAM>(handle_), HTCLIENT);
}

bool TWinControl::IsControlMouseMsg(TMessage& m) {
  TControl* control = nullptr;
  if (::GetCapture() == handle_) {
    TControl* captured = GetCaptureControl();
    if (captured && captured != this && captured->GetParent() == this) control = captured;
  } else {
    control = ControlAtPos(TWMMouse(m).Pos(), false);
  }
  if (!control) return false;
  TWMMouse mm(m);
  int x = mm.XPos() - control->GetLeft();
  int y = mm.YPos() - control->GetTop();
  m.Result = control->Perform(m.Msg, m.WParam, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
  return true;
}
