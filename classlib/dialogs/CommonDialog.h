// TCommonDialog: the base of the system's common dialogs (colour, and those
// the Unicode layer adds). Execute runs the system's dialog function
// task-modal: the application's other windows are disabled meanwhile and
// the active window and focus come back afterwards. Every dialog function
// is given DialogHook, which on the dialog's first message subclasses the
// dialog window with the object's MainWndProc thunk, so the dialog's
// messages reach WndProc (WM_INITDIALOG fires OnShow, WM_NCDESTROY OnClose)
// and Handle is the dialog's window while it shows.
#pragma once

#include <functional>
#include <string>

#include "classlib/Controls.h"

class TCommonDialog : public TComponent {
  DECLARE_CLASS(TCommonDialog, TComponent)

  explicit TCommonDialog(TComponent* owner);

  // True when the user accepted the dialog.
  virtual bool Execute() = 0;

  // The dialog's window while it shows, else null.
  HWND GetHandle() const { return handle_; }
  bool GetCtl3D() const { return ctl3D_; }
  void SetCtl3D(bool v) { ctl3D_ = v; }
  int GetHelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; }
  // A dialog template resource of the program's module replacing the
  // system's (empty: none).
  const std::string& GetTemplate() const { return template_; }
  void SetTemplate(const std::string& v) { template_ = v; }

  TNotifyEvent OnClose;
  TNotifyEvent OnShow;
  TNotifyEvent GetOnClose() const { return OnClose; }
  void SetOnClose(TNotifyEvent e) { OnClose = e; }
  TNotifyEvent GetOnShow() const { return OnShow; }
  void SetOnShow(TNotifyEvent e) { OnShow = e; }

  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage& message);

 protected:
  void Destroy() override;
  virtual void DoClose();
  virtual void DoShow();
  // The application window's messages while the dialog shows: the dialog's
  // Help button asks for HelpContext.
  virtual bool MessageHook(TMessage& message);
  // Runs dialogFunc(data) task-modal; its result.
  template <class Data>
  BOOL TaskModalDialog(BOOL(WINAPI* dialogFunc)(Data*), Data& data) {
    return RunTaskModal([&] { return dialogFunc(&data); });
  }
  BOOL RunTaskModal(const std::function<BOOL()>& call);
  // The hook procedure every dialog function gets (lpfnHook): centres the
  // dialog and hands its window to the waiting dialog object.
  static UINT_PTR CALLBACK DialogHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  // Makes this dialog the one the hooks give the next dialog window to.
  void PrepareHook();
  // For a hook's WM_INITDIALOG: the waiting dialog object (null when none
  // waits) takes the window: Handle, the window subclassed with its thunk,
  // and the WM_INITDIALOG passed on to its WndProc.
  static TCommonDialog* TakeWindow(HWND window, WPARAM wParam, LPARAM lParam);
  // The window in the middle of the work area, a third from the top.
  static void CenterWindow(HWND window);

 private:
  void MainWndProc(TMessage& message);

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = nullptr;
  WNDPROC objectInstance_ = nullptr;
  bool ctl3D_ = true;
  int helpContext_ = 0;
  std::string template_;
};
