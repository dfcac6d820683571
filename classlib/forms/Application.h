// TApplication: the application window, the message loop, exceptions,
// hints and the main form. One instance, the global Application, made at
// start-up (after Screen) and freed at finalisation (before Screen).
//
// The application window is a hidden, zero-sized WS_POPUP|WS_CAPTION
// window. It owns every form that has no parent, shows the taskbar button
// (while any form is visible), takes the main form's minimise (the forms go
// with it) and the taskbar's restore, and receives WM_ACTIVATEAPP, which it
// turns into CM_ACTIVATE/CM_DEACTIVATE posted to itself (OnActivate,
// OnDeactivate). Procedures hooked with HookMainWindow see its messages
// first.
//
// The loop. ProcessMessage takes one message with PeekMessageA(PM_REMOVE)
// and runs, in this order, OnMessage, IsHintMsg, IsMDIMsg, IsKeyMsg,
// IsDlgMsg, then TranslateMessage and DispatchMessageA unless one of them
// took it; WM_QUIT sets Terminated. When the queue is empty, Idle tracks the
// control under the mouse (CM_MOUSELEAVE/CM_MOUSEENTER, MouseControl, the
// hint timer), checks the hint, sets Hint, runs OnIdle and the forms'
// UpdateActions, and waits for the next message (WaitMessage) unless OnIdle
// said it is not done. Run shows the main form and loops until Terminated;
// closing the main form terminates. ShowModal and pop-ups run HandleMessage
// in their own loops.
//
// Tests: the idle hook (SetIdleHook) runs at the start of every Idle of
// every loop, before OnIdle. It may end any modal loop (set the modal
// form's ModalResult, post a message) and must set done to false when it
// wants the loop to go on without waiting for a message. Hint and loop
// timing go through Seams().TickCount/SetTimer/KillTimer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "classlib/ActnList.h"
#include "classlib/forms/Form.h"
#include "classlib/forms/HintWindow.h"
#include "classlib/units/UnitGlobal.h"

using THelpEvent = TClosure<bool(WORD Command, intptr_t Data, bool& CallHelp)>;

class TApplication : public TComponent {
  DECLARE_CLASS(TApplication, TComponent)

  explicit TApplication(TComponent* owner);
  ~TApplication() override { DestroyUnfinished(); }

  HWND GetHandle() const { return handle_; }
  void Initialize() {}
  // Creates a form (any component) owned by the application. reference is
  // set as soon as the form's constructor starts, so OnCreate may use it;
  // null when the creation fails. The first TForm made this way is MainForm.
  template <class T>
  void CreateForm(TClass instanceClass, T*& reference);
  TCustomForm* GetMainForm() const { return mainForm_; }
  bool GetShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool v) { showMainForm_ = v; }

  // --- the loop ----------------------------------------------------------------
  void Run();
  // Ends the loop: posts WM_QUIT.
  void Terminate();
  bool GetTerminated() const { return terminate_; }
  // Handles every queued message, then returns.
  void ProcessMessages();
  // Handles one message, or idles when there is none.
  void HandleMessage();
  bool ProcessMessage(MSG& msg);
  void Idle(const MSG& msg);
  bool IsHintMsg(MSG& msg);
  bool IsMDIMsg(MSG& msg);
  bool IsKeyMsg(MSG& msg);
  bool IsDlgMsg(MSG& msg);
  bool GetActive() const { return active_; }
  // The modeless dialog whose keys IsDialogMessage handles.
  HWND GetDialogHandle() const { return dialogHandle_; }
  void SetDialogHandle(HWND v) { dialogHandle_ = v; }
  TControl* GetMouseControl() const { return mouseControl_; }
  const std::function<void(bool& done)>& GetIdleHook() const { return idleHook_; }
  void SetIdleHook(std::function<void(bool& done)> hook) { idleHook_ = std::move(hook); }

  // --- the application window ---------------------------------------------------------
  void WndProc(TMessage& message);
  void HookMainWindow(const TWindowHook& hook);
  void UnhookMainWindow(const TWindowHook& hook);
  void Minimize();
  void Restore();
  // Shows the application window (the taskbar button) while a form is visible.
  void UpdateVisible();
  std::string GetTitle() const;
  void SetTitle(const std::string& v);
  std::string GetExeName() const;

  // --- exceptions and messages -----------------------------------------------------------
  // Call inside a catch block: the current exception goes to OnException or
  // ShowException; EAbort is silent.
  void HandleException(TObject* sender);
  void ShowException(const Exception& e);
  // A message box over the active window (through the message-box seam),
  // the other windows of the application disabled meanwhile.
  int MessageBox(const std::string& text, const std::string& caption, UINT flags = MB_OK);

  // --- hints ---------------------------------------------------------------------------------
  const std::string& GetHint() const { return hint_; }
  // Fires OnHint, or without it a THintAction with the new hint.
  void SetHint(const std::string& v);
  TColor GetHintColor() const { return hintColor_; }
  void SetHintColor(TColor v);
  int GetHintPause() const { return hintPause_; }
  void SetHintPause(int v) { hintPause_ = v; }
  int GetHintShortPause() const { return hintShortPause_; }
  void SetHintShortPause(int v) { hintShortPause_ = v; }
  int GetHintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int v) { hintHidePause_ = v; }
  bool GetHintShortCuts() const { return hintShortCuts_; }
  void SetHintShortCuts(bool v) { hintShortCuts_ = v; }
  bool GetShowHint() const { return showHint_; }
  // On: a new hint window of HintWindowClass; off: the window is freed.
  void SetShowHint(bool v);
  // The application's hint window (null while ShowHint is off).
  THintWindow* GetHintWindow() const { return hintWindow_; }
  // Shows the hint of the control under cursorPos (screen) now.
  void ActivateHint(POINT cursorPos);
  void CancelHint();
  void HideHint();
  // Every WM_MOUSEMOVE a control gets: restarts the hint timer when the
  // mouse reaches another hint control or leaves the hint's area.
  void HintMouseMessage(TControl* control, TMessage& message);
  // The hint window's handle goes (the last form closed).
  void ReleaseHintWindow();
  void ControlDestroyed(TControl* control);

  // --- actions, shortcuts, help -------------------------------------------------------------
  bool ExecuteAction(TBasicAction* action) override;
  bool UpdateAction(TBasicAction* action) override;
  // OnShortCut, then the main form's shortcuts (CM_APPKEYDOWN).
  bool IsShortCut(TMessage& keyMessage);
  bool HelpContext(int context);
  const std::string& GetHelpFile() const { return helpFile_; }
  void SetHelpFile(const std::string& v) { helpFile_ = v; }

  // Called by the form constructor that CreateForm started.
  void TakeCreatingReference(TComponent* instance);

  TActionEvent OnActionExecute;
  TActionEvent OnActionUpdate;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TExceptionEvent OnException;
  THelpEvent OnHelp;
  TNotifyEvent OnHint;
  TIdleEvent OnIdle;
  TMessageEvent OnMessage;
  TShortCutEvent OnShortCut;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  TShowHintEvent OnShowHint;

 protected:
  void Destroy() override;

 private:
  enum TTimerMode { tmShowHint, tmHideHint };
  void CreateHandle();
  void AfterCreateForm(TComponent* instance);
  TControl* DoMouseIdle();
  void DoActionIdle();
  bool DispatchAction(UINT msg, TBasicAction* action);
  void HintMouseAt(POINT screenPos);
  void StartHintTimer(int value, TTimerMode mode);
  void StopHintTimer();
  void HintTimerExpired();
  void FreeOneShotHintWindow();

  HWND handle_ = nullptr;
  WNDPROC objectInstance_ = nullptr;
  std::vector<TWindowHook> windowHooks_;
  TCustomForm* mainForm_ = nullptr;
  std::function<void(TComponent*)> creatingReference_;
  bool showMainForm_ = true;
  bool terminate_ = false;
  bool active_ = true;
  HWND dialogHandle_ = nullptr;
  TControl* mouseControl_ = nullptr;
  std::function<void(bool& done)> idleHook_;
  std::string title_;
  std::string hint_;
  std::string helpFile_;

  TColor hintColor_ = clInfoBk;
  int hintPause_ = 500;
  int hintShortPause_ = 0;
  int hintHidePause_ = 2500;
  bool hintShortCuts_ = true;
  bool showHint_ = false;
  THintWindow* hintWindow_ = nullptr;
  // A window of another class asked for by CM_HINTSHOW, for one showing.
  THintWindow* oneShotHintWindow_ = nullptr;
  TControl* hintControl_ = nullptr;
  bool hintActive_ = false;
  RECT hintCursorRect_{};
  bool hintTimerOn_ = false;
  DWORD hintTimerDue_ = 0;
  TTimerMode timerMode_ = tmShowHint;
};

// Made by the Forms unit's start-up entry; reached before it, it raises an
// error that names the start-up list.
extern TUnitGlobal<TApplication> Application;

// The windows of this thread that are visible and enabled, except
// activeWindow, disabled (for a modal form or a message box); give the list
// back to EnableTaskWindows.
using TTaskWindowList = std::vector<HWND>;
TTaskWindowList DisableTaskWindows(HWND activeWindow);
void EnableTaskWindows(const TTaskWindowList& list);
// The topmost visible, enabled window of this thread other than skip, the
// application window and hint windows; null when there is none.
HWND FindTopMostWindow(HWND skip);

template <class T>
void TApplication::CreateForm(TClass instanceClass, T*& reference) {
  creatingReference_ = [&reference](TComponent* c) { reference = static_cast<T*>(c); };
  T* instance = nullptr;
  try {
    instance = CreateAs<T>(instanceClass, this);
  } catch (...) {
    creatingReference_ = nullptr;
    reference = nullptr;
    throw;
  }
  creatingReference_ = nullptr;
  reference = instance;
  AfterCreateForm(instance);
}
