#include "classlib/forms/UtilWindow.h"

#include "classlib/controls/ObjectInstance.h"

namespace {
const char kUtilWindowClass[] = "TPUtilWindow";
}  // namespace

HWND AllocateHWnd(const TWndMethod& method) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA existing{};
  if (!GetClassInfoA(instance, kUtilWindowClass, &existing)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = kUtilWindowClass;
    RegisterClassA(&wc);
  }
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kUtilWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                instance, nullptr);
  if (!window) {
    DWORD err = GetLastError();
    throw EOSError("System Error.  Code: " + std::to_string(err), err);
  }
  if (method) {
    WNDPROC thunk = MakeObjectInstance(method);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(thunk));
  }
  return window;
}

void DeallocateHWnd(HWND window) {
  if (!window) return;
  auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  DestroyWindow(window);
  if (proc != &DefWindowProcA) FreeObjectInstance(proc);
}
