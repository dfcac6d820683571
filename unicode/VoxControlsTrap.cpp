// Unicode windows for the class library's window controls: the wide window
// class, the window made with CreateWindowExW, and the trap between the
// window, the control's WindowProc and its DefWndProc.
//
// Paths of a message once the trap is attached:
//   window (wide) -> trap window procedure -> the control's MainWndProc ->
//   WindowProc = trap control handler -> the control's own WindowProc ->
//   handlers -> DefaultHandler -> CallWindowProcA(DefWndProc = trap default
//   procedure) -> CallWindowProcW(the window's real default procedure).
// Messages from the window carry wide parameters all the way; the class
// library never converts them, so they reach the default procedure as they
// came. Only text messages that code sends through the control (Perform)
// carry ANSI text: the trap sends those to the window with SendMessageA and
// Windows converts in both directions.
#include <algorithm>
#include <cstdint>

#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"
#include "unicode/VoxClasses.h"
#include "unicode/VoxControlsPrivate.h"
#include "unicode/VoxSysUtils.h"
#include "unicode/VoxWindows.h"

namespace vox_controls {

TComponentList* gPendingTraps = nullptr;
TWinControl* gCreatingControl = nullptr;
bool gFinalized = false;
ATOM gControlAtom = 0;
ATOM gWindowAtom = 0;

namespace {
int gLiveTraps = 0;
}  // namespace

int LiveTrapCount() { return gLiveTraps; }

}  // namespace vox_controls

using namespace vox_controls;

bool _IsShellProgramming = false;

namespace {

// The parked trap of a control, searched from the most recent; with
// remove, it leaves the list.
TWinControlTrap* FindPendingTrap(TWinControl* control, bool remove) {
  if (!gPendingTraps) return nullptr;
  for (int i = gPendingTraps->GetCount() - 1; i >= 0; --i) {
    auto* trap = static_cast<TWinControlTrap*>(gPendingTraps->GetItem(i));
    if (trap->GetControl() != control) continue;
    if (remove) gPendingTraps->Extract(trap);
    return trap;
  }
  return nullptr;
}

// The first procedure of every ".UnicodeClass" class: what the class
// library's InitWndProc does, with the wide calls so the window stays
// Unicode, and with the trap's own thunk to MainWndProc as the procedure.
LRESULT CALLBACK VoxInitWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = CreationControl;
  if (!control) return DefWindowProcW(window, msg, wParam, lParam);
  TWinControlTrap* trap = nullptr;
  try {
    trap = FindPendingTrap(control, false);
    if (!trap) {
      trap = New<TWinControlTrap>(control);
      if (gPendingTraps) gPendingTraps->Add(trap);
    }
  } catch (...) {
    CreationControl = nullptr;
    ControlsHandleException(control);
    return DefWindowProcW(window, msg, wParam, lParam);
  }
  control->SetWindowHandle(window);
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(trap->GetControlInstance()));
  if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0 && GetWindowLongPtrW(window, GWLP_ID) == 0)
    SetWindowLongPtrW(window, GWLP_ID, reinterpret_cast<LONG_PTR>(window));
  SetPropA(window, MAKEINTATOM(gControlAtom), control);
  SetPropA(window, MAKEINTATOM(gWindowAtom), control);
  CreationControl = nullptr;
  return CallWindowProcW(trap->GetControlInstance(), window, msg, wParam, lParam);
}

bool SameTextW(const std::wstring& a, const std::wstring& b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace

// --- The trap ------------------------------------------------------------------------

IMPLEMENT_CLASS(TWinControlTrap)

TWinControlTrap::TWinControlTrap(TWinControl* control) : TComponent(nullptr), control_(control) {
  controlInstance_ = MakeObjectInstance(TWndMethod(control, &TWinControl::MainWndProc));
  win32ProcInstance_ = MakeObjectInstance(TWndMethod(this, &TWinControlTrap::Win32Proc));
  defWin32ProcInstance_ = MakeObjectInstance(TWndMethod(this, &TWinControlTrap::DefWin32Proc));
  control->FreeNotification(this);
  ++gLiveTraps;
}

void TWinControlTrap::Destroy() {
  --gLiveTraps;
  if (control_) control_->RemoveFreeNotification(this);
  // A window that still calls a freed thunk reaches DefWindowProc, never
  // another object.
  FreeObjectInstance(defWin32ProcInstance_);
  FreeObjectInstance(win32ProcInstance_);
  FreeObjectInstance(controlInstance_);
  inherited::Destroy();
}

void TWinControlTrap::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != opRemove || component != control_) return;
  control_ = nullptr;
  // Freed on the way out of the window procedure that is running now.
  if (win32ProcLevel_ > 0) destroyWhenIdle_ = true;
  else Free();
}

void TWinControlTrap::Attach(const std::string& paramsCaption) {
  handle_ = control_->GetWindowHandle();
  prevWin32Proc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(handle_, GWLP_WNDPROC));
  prevDefWin32Proc_ = control_->GetDefWndProc();
  SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(win32ProcInstance_));
  control_->SetDefWndProc(defWin32ProcInstance_);
  HookWindowProc();
  // A wide caption kept while there was no window comes back wide.
  VoxControl_SetText(control_, VoxControl_GetStoredText(control_, AnsiToWide(paramsCaption)));
}

void TWinControlTrap::HookWindowProc() {
  const TWndMethod own(control_, &TControl::WndProc);
  const TWndMethod mine(this, &TWinControlTrap::WinControl_WndProc);
  const TWndMethod current = control_->GetWindowProc();
  if (current == mine) return;
  if (!(current == own)) {
    // Someone replaced WindowProc. When the trap's handler is still in
    // their chain (they came after it and kept it over a new window), a
    // second hook would pack WM_CHAR twice; a WM_NULL down the chain tells.
    chainEndFound_ = false;
    {
      TRestore testing(testingForChainEnd_, true);
      control_->Perform(WM_NULL, 0, 0);
    }
    if (chainEndFound_) return;
  }
  prevWindowProc_ = current;
  control_->SetWindowProc(mine);
}

void TWinControlTrap::Detach() {
  if (control_ && !control_->IsDestroying()) StoreWideText(control_, WindowTextW(handle_));
  const TWndMethod mine(this, &TWinControlTrap::WinControl_WndProc);
  if (control_) {
    if (control_->GetWindowProc() == mine) control_->SetWindowProc(prevWindowProc_);
    control_->SetDefWndProc(prevDefWin32Proc_);
  }
  SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prevWin32Proc_));
  handle_ = nullptr;
  if (ideWindow_) destroyWhenIdle_ = true;
  else if (control_ && !control_->IsDestroying() && gPendingTraps) gPendingTraps->Add(this);
}

void TWinControlTrap::Win32Proc(TMessage& m) {
  if (gFinalized) return;
  ++win32ProcLevel_;
  HWND window = handle_;
  WNDPROC next = prevWin32Proc_;
  try {
    if (m.Msg == WM_DESTROY) Detach();
    lastWin32Msg_ = m.Msg;
    m.Result = CallWindowProcW(next, window, m.Msg, m.WParam, m.LParam);
  } catch (...) {
    ControlsHandleException(this);
  }
  // A message that never reached the control's handler must not make the
  // next Perform look as if it came from the window.
  lastWin32Msg_ = 0;
  if (--win32ProcLevel_ == 0 && destroyWhenIdle_) Free();
}

void TWinControlTrap::WinControl_WndProc(TMessage& m) {
  if (testingForChainEnd_ && m.Msg == WM_NULL) chainEndFound_ = true;
  if (!control_->HandleAllocated()) {
    control_->WndProc(m);
    return;
  }
  UINT fromWindow = lastWin32Msg_;
  lastWin32Msg_ = 0;
  if (m.Msg == CM_HINTSHOW) ProcessCMHintShowMsg(m);
  if (fromWindow != 0 || !IsTextMessage(m.Msg)) {
    if (m.Msg == WM_CHAR) MakeWMCharMsgSafeForAnsi(m);
    // Copied: the handler may free the control and this trap.
    TWndMethod next = prevWindowProc_;
    next(m);
  } else {
    m.Result = SendMessageA(handle_, m.Msg, m.WParam, m.LParam);
  }
}

void TWinControlTrap::DefWin32Proc(TMessage& m) {
  switch (m.Msg) {
    case WM_NOTIFYFORMAT: {
      HWND asking = reinterpret_cast<HWND>(m.WParam);
      bool wide = IsWindowUnicode(asking) ||
                  (gCreatingControl && gCreatingControl->GetWindowHandle() == asking);
      m.Result = Win32PlatformIsUnicode && wide ? NFR_UNICODE : NFR_ANSI;
      return;
    }
    case WM_CHAR:
      RestoreWMCharMsg(m);
      break;
    case WM_IME_CHAR:
      if (!_IsShellProgramming) {
        if (Win32PlatformIsXP) break;
        m.Result = SendMessageW(handle_, WM_CHAR, m.WParam, m.LParam);
        return;
      } else {
        wchar_t className[16]{};
        GetClassNameW(handle_, className, 16);
        if (SameTextW(className, L"EDIT") && control_ && ::GetParent(handle_) == control_->GetWindowHandle()) {
          PostMessageW(handle_, WM_CHAR, m.WParam, m.LParam);
          m.Result = 0;
        } else {
          m.Result = SendMessageW(handle_, WM_CHAR, m.WParam, m.LParam);
        }
        return;
      }
  }
  m.Result = CallWindowProcW(prevDefWin32Proc_, handle_, m.Msg, m.WParam, m.LParam);
}

// --- WM_CHAR packing ------------------------------------------------------------------------

bool IsTextMessage(UINT msg) { return msg == WM_SETTEXT || msg == WM_GETTEXT || msg == WM_GETTEXTLENGTH; }

void MakeWMCharMsgSafeForAnsi(TMessage& m) {
  VoxAssert(m.Msg == WM_CHAR, "", "VoxControls", 421);
  WPARAM low = m.WParam & 0xFFFF, high = (m.WParam >> 16) & 0xFFFF;
  if (!_IsShellProgramming) {
    VoxAssert(high == 0, "", "VoxControls", 424);
  } else if (high != 0) {
    // A shell's double-byte character: lead byte in the high word.
    VoxAssert(low <= 255, "", "VoxControls", 425);
    low |= high << 8;
    high = 0;
  }
  if (low > 255) {
    high = low;
    low = 255;
  }
  m.WParam = (m.WParam & ~WPARAM{0xFFFFFFFF}) | (high << 16) | low;
}

WORD RestoreWMCharMsg(TMessage& m) {
  VoxAssert(m.Msg == WM_CHAR, "", "VoxControls", 442);
  WPARAM low = m.WParam & 0xFFFF, high = (m.WParam >> 16) & 0xFFFF;
  if (high != 0 && low == 255) low = high;
  m.WParam = (m.WParam & ~WPARAM{0xFFFFFFFF}) | low;
  return static_cast<WORD>(high);
}

wchar_t GetWideCharFromWMCharMsg(const TMessage& m) {
  WPARAM low = m.WParam & 0xFFFF;
  if (low == 255 && (m.WParam & 0xFFFFFFFF) > 0xFFFF) return static_cast<wchar_t>((m.WParam >> 16) & 0xFFFF);
  return static_cast<wchar_t>(low);
}

void SetWideCharForWMCharMsg(TMessage& m, wchar_t c) {
  m.WParam = (m.WParam & ~WPARAM{0xFFFFFFFF}) | static_cast<WPARAM>(c);
  MakeWMCharMsgSafeForAnsi(m);
}

// --- Window class and window -----------------------------------------------------------------

void RegisterUnicodeClass(const TCreateParams& params, std::wstring& name, bool ideWindow) {
  name = AnsiToWide(params.WinClassName.substr(0, 64)) + L".UnicodeClass";
  WNDPROC proc = ideWindow ? &InitWndProc : &VoxInitWndProc;
  HINSTANCE instance = ControlsInstance();
  WNDCLASSW existing{};
  if (GetClassInfoW(instance, name.c_str(), &existing)) {
    if (existing.lpfnWndProc == proc) return;
    Win32Check(UnregisterClassW(name.c_str(), instance));
  }
  const WNDCLASSA& source = params.WindowClass;
  WNDCLASSW wc{};
  wc.style = source.style;
  wc.lpfnWndProc = proc;
  wc.cbClsExtra = source.cbClsExtra;
  wc.cbWndExtra = source.cbWndExtra;
  wc.hInstance = instance;
  wc.hIcon = source.hIcon;
  wc.hCursor = source.hCursor;
  wc.hbrBackground = source.hbrBackground;
  std::wstring menuName;
  if (source.lpszMenuName && !IS_INTRESOURCE(source.lpszMenuName)) {
    menuName = AnsiToWide(source.lpszMenuName);
    wc.lpszMenuName = menuName.c_str();
  } else {
    wc.lpszMenuName = reinterpret_cast<LPCWSTR>(source.lpszMenuName);
  }
  wc.lpszClassName = name.c_str();
  if (!RegisterClassW(&wc)) RaiseLastOSError();
}

void CreateUnicodeHandle(TWinControl* control, const TCreateParams& p, const std::wstring& subClass,
                         bool ideWindow) {
  if (!Win32PlatformIsUnicode) {
    HWND h = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                             p.Height, p.WndParent, nullptr, p.WindowClass.hInstance, p.Param);
    control->SetWindowHandle(h);
    return;
  }
  WNDCLASSW systemClass{};
  if (!subClass.empty() && GetClassInfoW(p.WindowClass.hInstance, subClass.c_str(), &systemClass))
    control->SetDefWndProc(systemClass.lpfnWndProc);
  else
    control->SetDefWndProc(&DefWindowProcW);
  std::wstring name;
  RegisterUnicodeClass(p, name, ideWindow);
  HWND h = nullptr;
  {
    gCreatingControl = control;
    TFinally created([] { gCreatingControl = nullptr; });
    // No caption here: it comes as wide text when the trap is attached.
    h = CreateWindowExW(p.ExStyle, name.c_str(), nullptr, p.Style, p.X, p.Y, p.Width, p.Height, p.WndParent,
                        nullptr, ControlsInstance(), p.Param);
  }
  if (!h) RaiseLastOSError();
  control->SetWindowHandle(h);
  // The class library's first procedure installed its own the ANSI way,
  // which made the window an ANSI one: the same procedure written back with
  // the wide call makes it Unicode again.
  if (ideWindow) SetWindowLongPtrW(h, GWLP_WNDPROC, GetWindowLongPtrA(h, GWLP_WNDPROC));
  SubClassUnicodeControl(control, p.Caption, ideWindow);
}

void SubClassUnicodeControl(TWinControl* control, const std::string& paramsCaption, bool ideWindow) {
  if (!IsWindowUnicode(control->GetWindowHandle()))
    throw Exception("VOX Internal Error: SubClassUnicodeControl.Control is not Unicode.");
  TWinControlTrap* trap = FindPendingTrap(control, true);
  if (!trap) trap = New<TWinControlTrap>(control);
  trap->Attach(paramsCaption);
  trap->SetIDEWindow(ideWindow);
}

void ReCreateUnicodeWnd(TWinControl* control, const std::wstring& subClass, bool ideWindow) {
  bool wasFocused = control->Focused();
  control->DestroyHandle();
  TCreateParams params;
  control->CreateParams(params);
  {
    // Cleared afterwards whatever happened: a pointer left there would hand
    // the next window made to this control.
    CreationControl = control;
    TFinally created([] { CreationControl = nullptr; });
    CreateUnicodeHandle(control, params, subClass, ideWindow);
  }
  // The window holds the text now; the ANSI copy kept for it would only
  // hide the wide one from the next reader.
  control->StoredText().clear();
  control->Perform(WM_SETFONT, reinterpret_cast<WPARAM>(control->GetFont()->GetHandle()), 1);
  if (control->GetAutoSize()) control->AdjustSize();
  control->UpdateControlState();
  if (wasFocused && control->HandleAllocated()) control->SetFocus();
}
