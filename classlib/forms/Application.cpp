#include "classlib/forms/Application.h"

#include <algorithm>

#include "classlib/Seams.h"
#include "classlib/StdActns.h"
#include "classlib/controls/ObjectInstance.h"
#include "classlib/sysutils/OSError.h"
#include "classlib/forms/Screen.h"

TUnitGlobal<TApplication> Application("Application");

namespace {
constexpr UINT_PTR kHintTimerId = 1;
const char kAppWindowClass[] = "TApplication";

BOOL CALLBACK DisableWindowProc(HWND window, LPARAM data) {
  auto* info = reinterpret_cast<std::pair<HWND, TTaskWindowList*>*>(data);
  if (window != info->first && IsWindowVisible(window) && IsWindowEnabled(window)) {
    info->second->push_back(window);
    EnableWindow(window, FALSE);
  }
  return TRUE;
}

// A control that shows hints: the control itself or its nearest parent
// whose ShowHint is on.
TControl* GetHintControl(TControl* control) {
  while (control && !control->GetShowHint()) control = control->GetParent();
  if (control && control->IsDesigning()) control = nullptr;
  return control;
}

// The active window is one of this thread's: the application is in front.
bool ForegroundTask() {
  HWND active = GetActiveWindow();
  return active && GetWindowThreadProcessId(active, nullptr) == GetCurrentThreadId();
}

// Pixels between the cursor's hot spot and the lowest row the cursor draws:
// the hint goes below the cursor's picture, not under it.
int GetCursorHeightMargin() {
  ICONINFO info{};
  HCURSOR cursor = GetCursor();
  if (!cursor || !GetIconInfo(cursor, &info)) return GetSystemMetrics(SM_CYCURSOR);
  int result = GetSystemMetrics(SM_CYCURSOR) - static_cast<int>(info.yHotspot);
  BITMAP bm{};
  if (info.hbmMask && GetObjectA(info.hbmMask, sizeof bm, &bm)) {
    // A monochrome cursor keeps its AND mask above its XOR mask.
    bool mono = info.hbmColor == nullptr;
    int height = mono ? bm.bmHeight / 2 : bm.bmHeight;
    int stride = ((bm.bmWidth + 31) / 32) * 4;
    std::vector<uint8_t> bits(static_cast<size_t>(stride) * static_cast<size_t>(bm.bmHeight));
    struct {
      BITMAPINFOHEADER h;
      RGBQUAD colors[2];
    } bi{};
    bi.h.biSize = sizeof bi.h;
    bi.h.biWidth = bm.bmWidth;
    bi.h.biHeight = -bm.bmHeight;
    bi.h.biPlanes = 1;
    bi.h.biBitCount = 1;
    HDC dc = GetDC(nullptr);
    int got = GetDIBits(dc, info.hbmMask, 0, static_cast<UINT>(bm.bmHeight), bits.data(),
                        reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (got > 0) {
      auto row = [&](int y) { return bits.data() + static_cast<size_t>(y) * static_cast<size_t>(stride); };
      int last = -1;
      for (int y = 0; y < height; ++y) {
        bool drawn = false;
        for (int x = 0; x < bm.bmWidth && !drawn; ++x) {
          bool andBit = (row(y)[x / 8] >> (7 - x % 8)) & 1;
          bool xorBit = mono && ((row(y + height)[x / 8] >> (7 - x % 8)) & 1);
          drawn = !andBit || xorBit;
        }
        if (drawn) last = y;
      }
      if (last >= 0) result = last - static_cast<int>(info.yHotspot) + 1;
    }
  }
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  return result;
}

// The topmost visible, enabled top-level window of this thread other than
// window, the application window and hint windows: where the activation
// goes when a form hides.
struct TTopMostInfo {
  HWND skip;
  HWND found;
};
BOOL CALLBACK FindTopMostProc(HWND window, LPARAM data) {
  auto* info = reinterpret_cast<TTopMostInfo*>(data);
  if (window == info->skip || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
  if (Application && window == Application->GetHandle()) return TRUE;
  if (dynamic_cast<THintWindow*>(FindControl(window))) return TRUE;
  info->found = window;
  return FALSE;
}
}  // namespace

TTaskWindowList DisableTaskWindows(HWND activeWindow) {
  TTaskWindowList list;
  std::pair<HWND, TTaskWindowList*> info{activeWindow, &list};
  EnumThreadWindows(GetCurrentThreadId(), DisableWindowProc, reinterpret_cast<LPARAM>(&info));
  return list;
}

void EnableTaskWindows(const TTaskWindowList& list) {
  for (HWND w : list)
    if (IsWindow(w)) EnableWindow(w, TRUE);
}

HWND FindTopMostWindow(HWND skip) {
  TTopMostInfo info{skip, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindTopMostProc, reinterpret_cast<LPARAM>(&info));
  return info.found;
}

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TApplication)

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  // The title: the program's file name without folder and extension, its
  // first letter as it is and the rest in lower case.
  std::string name = GetExeName();
  size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  size_t dot = name.find('.');
  if (dot != std::string::npos) name.erase(dot);
  if (name.size() > 1) CharLowerA(CharNextA(name.data()));
  title_ = name;
  CreateHandle();
}

void TApplication::CreateHandle() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA existing{};
  if (!GetClassInfoA(instance, kAppWindowClass, &existing)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "MAINICON");
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    wc.lpszClassName = kAppWindowClass;
    if (!RegisterClassA(&wc)) {
      RaiseLastOSError();
    }
  }
  handle_ = CreateWindowExA(0, kAppWindowClass, title_.c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                            nullptr, instance, nullptr);
  if (!handle_) {
    RaiseLastOSError();
  }
  title_.clear();
  objectInstance_ = MakeObjectInstance(TWndMethod(this, &TApplication::WndProc));
  SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(objectInstance_));
  HMENU sysMenu = GetSystemMenu(handle_, FALSE);
  DeleteMenu(sysMenu, SC_MAXIMIZE, MF_BYCOMMAND);
  DeleteMenu(sysMenu, SC_SIZE, MF_BYCOMMAND);
  DeleteMenu(sysMenu, SC_MOVE, MF_BYCOMMAND);
}

void TApplication::Destroy() {
  // The platform's DoneApplication: no hints, then the forms go while the
  // application window still owns them.
  if (handle_) ShowOwnedPopups(handle_, FALSE);
  SetShowHint(false);
  FreeOneShotHintWindow();
  Destroying();
  DestroyComponents();
  inherited::Destroy();
  StopHintTimer();
  if (handle_) {
    DestroyWindow(handle_);
    handle_ = nullptr;
  }
  FreeObjectInstance(objectInstance_);
  objectInstance_ = nullptr;
}

std::string TApplication::GetExeName() const {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string TApplication::GetTitle() const {
  if (!handle_) return title_;
  int len = GetWindowTextLengthA(handle_);
  std::string s(static_cast<size_t>(len) + 1, '\0');
  int got = GetWindowTextA(handle_, s.data(), len + 1);
  s.resize(static_cast<size_t>(std::max(got, 0)));
  return s;
}

void TApplication::SetTitle(const std::string& v) {
  if (handle_) SetWindowTextA(handle_, v.c_str());
  else title_ = v;
}

// --- forms -------------------------------------------------------------------------

void TApplication::TakeCreatingReference(TComponent* instance) {
  if (!creatingReference_) return;
  auto assign = std::move(creatingReference_);
  creatingReference_ = nullptr;
  assign(instance);
}

void TApplication::AfterCreateForm(TComponent* instance) {
  if (!mainForm_)
    if (auto* form = dynamic_cast<TForm*>(instance)) {
      form->HandleNeeded();
      mainForm_ = form;
    }
}

void TApplication::UpdateVisible() {
  if (!handle_ || !Screen) return;
  bool any = false;
  for (int i = 0; i < Screen->GetFormCount() && !any; ++i) {
    TForm* f = Screen->GetForms(i);
    if (f->GetVisible() && !f->GetParent()) any = true;
  }
  if ((IsWindowVisible(handle_) != FALSE) != any)
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (any ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TApplication::Minimize() {
  if (IsIconic(handle_)) return;
  SetActiveWindow(handle_);
  if (mainForm_ && (showMainForm_ || mainForm_->GetVisible()) && IsWindowEnabled(mainForm_->GetHandle())) {
    // The application window takes the main form's place, so that the
    // minimising goes from there; the owned forms hide with it.
    SetWindowPos(handle_, mainForm_->GetHandle(), mainForm_->GetLeft(), mainForm_->GetTop(), mainForm_->GetWidth(), 0,
                 SWP_SHOWWINDOW);
    DefWindowProcA(handle_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else {
    ShowWindow(handle_, SW_MINIMIZE);
  }
  if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
  if (!IsIconic(handle_)) return;
  SetActiveWindow(handle_);
  ShowWindow(handle_, SW_RESTORE);
  // The forms the minimising hid come back with the application window
  // (Windows does it through WM_SHOWWINDOW; Wine needs asking).
  ShowOwnedPopups(handle_, TRUE);
  SetWindowPos(handle_, nullptr, GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (mainForm_ && mainForm_->GetWindowState() == wsMinimized && !mainForm_->GetVisible()) {
    mainForm_->SetWindowState(wsNormal);
    mainForm_->Show();
  }
  if (Screen && Screen->GetActiveControl() && Screen->GetActiveControl()->HandleAllocated())
    ::SetFocus(Screen->GetActiveControl()->GetWindowHandle());
  if (OnRestore) OnRestore(this);
}

// --- the loop ------------------------------------------------------------------------

void TApplication::Run() {
  if (!mainForm_) return;
  if (showMainForm_) {
    if (mainForm_->GetWindowState() == wsMinimized) Minimize();
    else mainForm_->SetVisible(true);
  }
  do {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  } while (!terminate_);
}

void TApplication::Terminate() { PostQuitMessage(0); }

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminate_ = true;
    return true;
  }
  bool handled = false;
  if (OnMessage) OnMessage(msg, handled);
  if (!IsHintMsg(msg) && !handled && !IsMDIMsg(msg) && !IsKeyMsg(msg) && !IsDlgMsg(msg)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::HandleMessage() {
  MSG msg{};
  if (!ProcessMessage(msg)) Idle(msg);
}

void TApplication::Idle(const MSG&) {
  TControl* control = DoMouseIdle();
  if (showHint_ && !mouseControl_) CancelHint();
  else if (hintTimerOn_ && static_cast<int32_t>(Seams().TickCount() - hintTimerDue_) >= 0) HintTimerExpired();
  SetHint(GetLongHint(::GetHint(control)));
  bool done = true;
  try {
    if (idleHook_) {
      auto hook = idleHook_;  // the hook may replace itself
      hook(done);
    }
    if (OnIdle) OnIdle(this, done);
    if (done) DoActionIdle();
  } catch (...) {
    HandleException(this);
  }
  if (done) WaitMessage();
}

TControl* TApplication::DoMouseIdle() {
  POINT p = Mouse().GetCursorPos();
  TControl* result = FindDragTarget(p, true);
  if (result && result->IsDesigning()) result = nullptr;
  TControl* capture = GetCaptureControl();
  if (mouseControl_ != result) {
    // With the mouse captured, only the capturing control hears of it.
    if ((mouseControl_ && !capture) || (capture && mouseControl_ == capture))
      mouseControl_->Perform(CM_MOUSELEAVE, 0, 0);
    mouseControl_ = result;
    if ((mouseControl_ && !capture) || (capture && mouseControl_ == capture))
      mouseControl_->Perform(CM_MOUSEENTER, 0, 0);
    if (showHint_) HintMouseAt(p);
  }
  return result;
}

void TApplication::DoActionIdle() {
  if (!Screen) return;
  // Copy: an update may close a form.
  std::vector<TCustomForm*> forms;
  for (int i = 0; i < Screen->GetCustomFormCount(); ++i) forms.push_back(Screen->GetCustomForms(i));
  for (TCustomForm* f : forms) {
    if (std::find(Screen->customForms_.begin(), Screen->customForms_.end(), f) == Screen->customForms_.end())
      continue;
    if (f->HandleAllocated() && IsWindowVisible(f->GetWindowHandle()) && IsWindowEnabled(f->GetWindowHandle()))
      f->UpdateActions();
  }
}

bool TApplication::IsHintMsg(MSG& msg) {
  if (hintWindow_ && hintWindow_->IsHintMsg(msg)) CancelHint();
  return false;
}

// MDI is not built: no form is an MDI child to take system keys.
bool TApplication::IsMDIMsg(MSG& msg) {
  // The MDI keys (Ctrl+F4, Ctrl+F6, Alt+minus) of the active MDI child.
  if (!mainForm_ || mainForm_->GetFormStyle() != fsMDIForm || !mainForm_->GetClientHandle() || !Screen) return false;
  TForm* active = Screen->GetActiveForm();
  return active && active->GetFormStyle() == fsMDIChild && TranslateMDISysAccel(mainForm_->GetClientHandle(), &msg);
}

bool TApplication::IsKeyMsg(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND window = GetCapture();
  if (!window) {
    // The nearest window of a control: others know nothing of CN_ messages.
    window = msg.hwnd;
    while (window && !FindControl(window)) window = GetParent(window);
    if (!window) window = msg.hwnd;
  } else if (reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)) != ControlsInstance()) {
    return false;
  }
  if (IsWindowUnicode(window)) return SendMessageW(window, CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
  return SendMessageA(window, CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::IsDlgMsg(MSG& msg) {
  if (!dialogHandle_) return false;
  if (IsWindowUnicode(msg.hwnd)) return IsDialogMessageW(dialogHandle_, &msg) != 0;
  return IsDialogMessageA(dialogHandle_, &msg) != 0;
}

// --- the application window ---------------------------------------------------------------

void TApplication::HookMainWindow(const TWindowHook& hook) { windowHooks_.push_back(hook); }

void TApplication::UnhookMainWindow(const TWindowHook& hook) {
  auto it = std::find(windowHooks_.begin(), windowHooks_.end(), hook);
  if (it != windowHooks_.end()) windowHooks_.erase(it);
}

void TApplication::WndProc(TMessage& m) {
  try {
    m.Result = 0;
    // Copy: a hook may unhook itself.
    std::vector<TWindowHook> hooks = windowHooks_;
    for (const TWindowHook& hook : hooks)
      if (hook(m)) return;
    auto defaultProc = [&] { m.Result = DefWindowProcA(handle_, m.Msg, m.WParam, m.LParam); };
    switch (m.Msg) {
      case WM_SYSCOMMAND:
        switch (m.WParam & 0xFFF0) {
          case SC_MINIMIZE: Minimize(); break;
          case SC_RESTORE: Restore(); break;
          default: defaultProc(); break;
        }
        break;
      case WM_CLOSE:
        if (mainForm_) mainForm_->Close();
        break;
      case WM_SETFOCUS:
        PostMessageA(handle_, CM_ENTER, 0, 0);
        defaultProc();
        break;
      case WM_ACTIVATEAPP:
        defaultProc();
        active_ = m.WParam != 0;
        PostMessageA(handle_, active_ ? CM_ACTIVATE : CM_DEACTIVATE, 0, 0);
        break;
      case WM_TIMER:
        if (m.WParam == kHintTimerId && hintTimerOn_) HintTimerExpired();
        else defaultProc();
        break;
      case WM_ENDSESSION:
        if (m.WParam) terminate_ = true;
        break;
      case WM_QUERYENDSESSION:
        m.Result = 1;
        break;
      case WM_SYSCOLORCHANGE:
        // The system tells each top-level form itself; a form inside a
        // window that is no form's hears it from here.
        if (Screen)
          for (int i = 0; i < Screen->GetCustomFormCount(); ++i) {
            TCustomForm* form = Screen->GetCustomForms(i);
            if (!form->GetParent() && form->GetParentWindow() && form->HandleAllocated())
              form->Perform(CM_SYSCOLORCHANGE, 0, 0);
          }
        defaultProc();
        break;
      case CM_ACTIONEXECUTE:
      case CM_ACTIONUPDATE:
        m.Result = DispatchAction(m.Msg, reinterpret_cast<TBasicAction*>(m.LParam)) ? 1 : 0;
        break;
      case CM_APPKEYDOWN:
        if (IsShortCut(m)) m.Result = 1;
        break;
      case CM_APPSYSCOMMAND:
        if (mainForm_ && mainForm_->HandleAllocated() && IsWindowEnabled(mainForm_->GetWindowHandle()) &&
            IsWindowVisible(mainForm_->GetWindowHandle())) {
          HWND saveFocus = GetFocus();
          ::SetFocus(mainForm_->GetWindowHandle());
          mainForm_->Perform(WM_SYSCOMMAND, m.WParam, m.LParam);
          ::SetFocus(saveFocus);
          m.Result = 1;
        }
        break;
      case CM_ACTIVATE:
        if (OnActivate) OnActivate(this);
        break;
      case CM_DEACTIVATE:
        if (OnDeactivate) OnDeactivate(this);
        break;
      case CM_ENTER:
        if (!IsIconic(handle_) && GetFocus() == handle_) {
          HWND top = FindTopMostWindow(nullptr);
          if (top) ::SetFocus(top);
        }
        break;
      case CM_INVOKEHELP:
        m.Result = HelpContext(static_cast<int>(m.LParam)) ? 1 : 0;
        break;
      case CM_DIALOGHANDLE:
        if (m.WParam == 1) m.Result = reinterpret_cast<LRESULT>(dialogHandle_);
        else dialogHandle_ = reinterpret_cast<HWND>(m.LParam);
        break;
      case WM_CTLCOLORMSGBOX:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLORDLG:
      case WM_CTLCOLORSCROLLBAR:
      case WM_CTLCOLORSTATIC:
        m.Result = SendMessageA(reinterpret_cast<HWND>(m.LParam), CN_BASE + m.Msg, m.WParam, m.LParam);
        break;
      default:
        defaultProc();
        break;
    }
  } catch (...) {
    HandleException(this);
  }
}

// --- exceptions ------------------------------------------------------------------------

void TApplication::HandleException(TObject* sender) {
  if (!std::current_exception()) return;
  if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
  try {
    throw;
  } catch (const EAbort&) {
    // Silent by design.
  } catch (Exception& e) {
    if (OnException) OnException(sender, e);
    else ShowException(e);
  } catch (const std::exception& e) {
    Exception wrapped(e.what());
    if (OnException) OnException(sender, wrapped);
    else ShowException(wrapped);
  } catch (...) {
    Exception wrapped("Unknown exception");
    if (OnException) OnException(sender, wrapped);
    else ShowException(wrapped);
  }
}

void TApplication::ShowException(const Exception& e) {
  std::string msg = e.GetMessage();
  // A message that does not end in punctuation gets its full stop.
  if (!msg.empty() && static_cast<unsigned char>(msg.back()) > '.') msg += '.';
  MessageBox(msg, GetTitle(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
  HWND active = GetActiveWindow();
  TTaskWindowList windows = DisableTaskWindows(nullptr);
  int result = 0;
  try {
    result = Seams().MessageBox(active, text, caption, flags);
  } catch (...) {
    EnableTaskWindows(windows);
    throw;
  }
  EnableTaskWindows(windows);
  if (active && IsWindow(active)) SetActiveWindow(active);
  return result;
}

// --- hints ---------------------------------------------------------------------------------

void TApplication::SetHint(const std::string& v) {
  if (hint_ == v) return;
  hint_ = v;
  if (OnHint) {
    OnHint(this);
    return;
  }
  // Without a handler, whoever takes a hint action (a status bar) shows it.
  Owned<THintAction> action(New<THintAction>(this));
  action->SetHint(v);
  action->Execute();
}

void TApplication::SetHintColor(TColor v) {
  hintColor_ = v;
  if (hintWindow_) hintWindow_->SetColor(v);
}

void TApplication::SetShowHint(bool v) {
  if (showHint_ == v) return;
  showHint_ = v;
  if (v) {
    hintWindow_ = CreateAs<THintWindow>(HintWindowClass, this);
    hintWindow_->SetColor(hintColor_);
  } else {
    CancelHint();
    FreeAndNil(hintWindow_);
  }
}

void TApplication::FreeOneShotHintWindow() { FreeAndNil(oneShotHintWindow_); }

void TApplication::ReleaseHintWindow() {
  if (hintWindow_) hintWindow_->ReleaseHandle();
}

void TApplication::HintMouseMessage(TControl* control, TMessage& message) {
  if (!showHint_) return;
  TWMMouse mm(message);
  HintMouseAt(control->ClientToScreen(mm.Pos()));
}

void TApplication::HintMouseAt(POINT p) {
  TControl* newHintControl = GetHintControl(FindDragTarget(p, true));
  if (!newHintControl || !newHintControl->GetShowHint()) {
    CancelHint();
    return;
  }
  if (newHintControl != hintControl_ || !PtInRect(&hintCursorRect_, p)) {
    bool wasActive = hintActive_;
    int pause = wasActive ? hintShortPause_ : hintPause_;
    newHintControl->Perform(CM_HINTSHOWPAUSE, wasActive ? 1 : 0, reinterpret_cast<LPARAM>(&pause));
    CancelHint();
    hintActive_ = wasActive;
    hintControl_ = newHintControl;
    StartHintTimer(pause, tmShowHint);
  }
}

void TApplication::StartHintTimer(int value, TTimerMode mode) {
  StopHintTimer();
  timerMode_ = mode;
  hintTimerDue_ = Seams().TickCount() + static_cast<DWORD>(std::max(value, 0));
  hintTimerOn_ = Seams().SetTimer(handle_, kHintTimerId, static_cast<UINT>(std::max(value, 0))) != 0;
  if (!hintTimerOn_) CancelHint();
}

void TApplication::StopHintTimer() {
  if (!hintTimerOn_) return;
  hintTimerOn_ = false;
  Seams().KillTimer(handle_, kHintTimerId);
}

void TApplication::HintTimerExpired() {
  StopHintTimer();
  if (timerMode_ == tmHideHint) {
    HideHint();
  } else {
    ActivateHint(Mouse().GetCursorPos());
  }
}

void TApplication::ActivateHint(POINT cursorPos) {
  hintActive_ = false;
  THintInfo info;
  if (showHint_ && hintWindow_ && hintControl_ && ForegroundTask() &&
      hintControl_ == GetHintControl(FindDragTarget(cursorPos, true))) {
    info.HintControl = hintControl_;
    info.HintPos = cursorPos;
    info.HintPos.y += GetCursorHeightMargin();
    info.HintMaxWidth = Screen ? Screen->GetWidth() : GetSystemMetrics(SM_CXSCREEN);
    info.HintColor = hintColor_;
    // The control's bounds in its own client coordinates.
    info.CursorRect = hintControl_->GetBoundsRect();
    POINT clientOrigin = hintControl_->GetClientOrigin();
    POINT parentOrigin{0, 0};
    if (hintControl_->GetParent()) {
      parentOrigin = hintControl_->GetParent()->GetClientOrigin();
    } else if (auto* w = dynamic_cast<TWinControl*>(hintControl_); w && w->GetParentWindow()) {
      ::ClientToScreen(w->GetParentWindow(), &parentOrigin);
    }
    OffsetRect(&info.CursorRect, parentOrigin.x - clientOrigin.x, parentOrigin.y - clientOrigin.y);
    info.CursorPos = hintControl_->ScreenToClient(cursorPos);
    info.HintStr = GetShortHint(::GetHint(hintControl_));
    info.ReshowTimeout = 0;
    info.HideTimeout = hintHidePause_;
    info.HintWindowClass = HintWindowClass;
    info.HintData = nullptr;
    bool canShow = hintControl_->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
    if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
    hintActive_ = canShow && hintControl_;
    if (hintActive_ && !info.HintStr.empty()) {
      // A class asked for by the control serves this showing only.
      FreeOneShotHintWindow();
      THintWindow* window = hintWindow_;
      if (info.HintWindowClass && info.HintWindowClass->InheritsFrom(THintWindow::StaticClass()) &&
          info.HintWindowClass != window->ClassType()) {
        oneShotHintWindow_ = CreateAs<THintWindow>(info.HintWindowClass, this);
        window = oneShotHintWindow_;
      }
      window->SetBiDiMode(hintControl_->GetBiDiMode());
      TRect r = window->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
      OffsetRect(&r, info.HintPos.x, info.HintPos.y);
      POINT tl = hintControl_->ClientToScreen(POINT{info.CursorRect.left, info.CursorRect.top});
      POINT br = hintControl_->ClientToScreen(POINT{info.CursorRect.right, info.CursorRect.bottom});
      hintCursorRect_ = RECT{tl.x, tl.y, br.x, br.y};
      window->SetColor(info.HintColor);
      window->ActivateHintData(r, info.HintStr, info.HintData);
      hintActive_ = true;
      if (info.ReshowTimeout > 0) StartHintTimer(info.ReshowTimeout, tmShowHint);
      else StartHintTimer(info.HideTimeout, tmHideHint);
      return;
    }
  }
  if (info.ReshowTimeout > 0) StartHintTimer(info.ReshowTimeout, tmShowHint);
  else CancelHint();
}

void TApplication::HideHint() {
  // The one-shot window is only hidden here: the hint may be cancelled from
  // inside its own window procedure. It goes at the next showing.
  for (THintWindow* w : {hintWindow_, oneShotHintWindow_})
    if (w && w->HandleAllocated() && IsWindowVisible(w->GetWindowHandle()))
      ShowWindow(w->GetWindowHandle(), SW_HIDE);
}

void TApplication::CancelHint() {
  if (!hintControl_) return;
  HideHint();
  hintControl_ = nullptr;
  hintActive_ = false;
  StopHintTimer();
}

void TApplication::ControlDestroyed(TControl* control) {
  if (mainForm_ == control) mainForm_ = nullptr;
  if (mouseControl_ == control) mouseControl_ = nullptr;
  if (hintControl_ == control) {
    HideHint();
    hintControl_ = nullptr;
    hintActive_ = false;
    StopHintTimer();
  }
  if (Screen) {
    if (Screen->activeControl_ == control) Screen->activeControl_ = nullptr;
    if (Screen->activeCustomForm_ == control) Screen->activeCustomForm_ = nullptr;
    if (Screen->focusedForm_ == control) Screen->focusedForm_ = nullptr;
    if (Screen->lastActiveControl_ == control) Screen->lastActiveControl_ = nullptr;
    if (Screen->lastActiveCustomForm_ == control) Screen->lastActiveCustomForm_ = nullptr;
    Screen->UpdateLastActive();
  }
}

// --- actions, shortcuts, help ---------------------------------------------------------------

bool TApplication::ExecuteAction(TBasicAction* action) {
  bool handled = false;
  if (OnActionExecute) OnActionExecute(action, handled);
  return handled;
}

bool TApplication::UpdateAction(TBasicAction* action) {
  bool handled = false;
  if (OnActionUpdate) OnActionUpdate(action, handled);
  return handled;
}

bool TApplication::DispatchAction(UINT msg, TBasicAction* action) {
  TCustomForm* form = Screen ? Screen->GetActiveForm() : nullptr;
  bool result = (form && form->Perform(msg, 0, reinterpret_cast<LPARAM>(action)) == 1) ||
                (mainForm_ && mainForm_ != form && mainForm_->Perform(msg, 0, reinterpret_cast<LPARAM>(action)) == 1);
  // An action that nobody handles and that has no OnExecute of its own is
  // disabled, when it asks to be.
  if (!result)
    if (auto* ca = dynamic_cast<TCustomAction*>(action); ca && ca->GetEnabled() && ca->GetDisableIfNoHandler())
      ca->SetEnabled(static_cast<bool>(ca->GetOnExecute()));
  return result;
}

bool TApplication::IsShortCut(TMessage& keyMessage) {
  bool handled = false;
  if (OnShortCut) OnShortCut(keyMessage, handled);
  if (handled) return true;
  return mainForm_ && mainForm_->HandleAllocated() && IsWindowEnabled(mainForm_->GetWindowHandle()) &&
         mainForm_->IsShortCut(keyMessage);
}

bool TApplication::HelpContext(int context) {
  bool callHelp = true;
  bool result = false;
  if (OnHelp) result = OnHelp(HELP_CONTEXT, context, callHelp);
  // No help engine of its own: without a handler there is no help to show.
  return result;
}
