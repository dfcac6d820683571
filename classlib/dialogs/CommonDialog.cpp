#include "classlib/dialogs/CommonDialog.h"

#include <commdlg.h>

#include "classlib/Forms.h"

namespace {
// The dialog whose window DialogHook is waiting for; a dialog function runs
// its own modal loop on this thread, so one slot is enough (a dialog opened
// from a handler of another sets it anew before its own function runs).
TCommonDialog* CreationDialog = nullptr;

UINT HelpMessage() {
  static const UINT msg = RegisterWindowMessageA(HELPMSGSTRINGA);
  return msg;
}

}  // namespace

void TCommonDialog::CenterWindow(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  int w = r.right - r.left;
  int h = r.bottom - r.top;
  SetWindowPos(window, nullptr, work.left + (work.right - work.left - w) / 2,
               work.top + (work.bottom - work.top - h) / 3, 0, 0,
               SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOZORDER);
}

IMPLEMENT_CLASS(TCommonDialog)

TCommonDialog::TCommonDialog(TComponent* owner) : TComponent(owner) {
  objectInstance_ = MakeObjectInstance(TWndMethod(this, &TCommonDialog::MainWndProc));
}

void TCommonDialog::Destroy() {
  if (CreationDialog == this) CreationDialog = nullptr;
  FreeObjectInstance(objectInstance_);
  objectInstance_ = nullptr;
  inherited::Destroy();
}

void TCommonDialog::PrepareHook() { CreationDialog = this; }

UINT_PTR CALLBACK TCommonDialog::DialogHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The hook itself answers nothing: the dialog's messages go through the
  // subclassed window procedure from here on.
  if (msg != WM_INITDIALOG || !CreationDialog) return 0;
  CenterWindow(window);
  TakeWindow(window, wParam, lParam);
  return 0;
}

TCommonDialog* TCommonDialog::TakeWindow(HWND window, WPARAM wParam, LPARAM lParam) {
  TCommonDialog* dialog = CreationDialog;
  if (!dialog) return nullptr;
  CreationDialog = nullptr;
  dialog->handle_ = window;
  dialog->defWndProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(dialog->objectInstance_)));
  CallWindowProcA(dialog->objectInstance_, window, WM_INITDIALOG, wParam, lParam);
  return dialog;
}

void TCommonDialog::MainWndProc(TMessage& message) {
  try {
    WndProc(message);
  } catch (...) {
    Application->HandleException(this);
  }
}

void TCommonDialog::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_INITDIALOG:
      // The system's procedure has done its own WM_INITDIALOG before the
      // hook ran; only the show is left.
      DoShow();
      message.Result = 0;
      return;
    case WM_NCDESTROY: {
      DefaultHandler(message);
      // The window is gone: its procedure goes back, the handle is dropped.
      handle_ = nullptr;
      defWndProc_ = nullptr;
      DoClose();
      return;
    }
    default: DefaultHandler(message);
  }
}

void TCommonDialog::DefaultHandler(TMessage& message) {
  if (handle_ && defWndProc_)
    message.Result = CallWindowProcA(defWndProc_, handle_, message.Msg, message.WParam, message.LParam);
  else
    message.Result = 0;
}

void TCommonDialog::DoClose() {
  if (OnClose) OnClose(this);
}

void TCommonDialog::DoShow() {
  if (OnShow) OnShow(this);
}

bool TCommonDialog::MessageHook(TMessage& message) {
  if (message.Msg == HelpMessage() && helpContext_ != 0) {
    Application->HelpContext(helpContext_);
    return true;
  }
  return false;
}

BOOL TCommonDialog::RunTaskModal(const std::function<BOOL()>& call) {
  HWND activeWindow = GetActiveWindow();
  TTaskWindowList windows = DisableTaskWindows(nullptr);
  TWindowHook hook(this, &TCommonDialog::MessageHook);
  Application->HookMainWindow(hook);
  BOOL result = FALSE;
  try {
    PrepareHook();
    result = call();
  } catch (...) {
    CreationDialog = nullptr;
    Application->UnhookMainWindow(hook);
    EnableTaskWindows(windows);
    if (activeWindow) SetActiveWindow(activeWindow);
    throw;
  }
  CreationDialog = nullptr;
  Application->UnhookMainWindow(hook);
  EnableTaskWindows(windows);
  if (activeWindow) SetActiveWindow(activeWindow);
  return result;
}
