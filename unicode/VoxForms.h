// VoxForms: the Unicode layer's application companion, its message hook and
// the wide top-level window classes.
//
// The class library's loop takes messages with PeekMessageA, which turns a
// typed character above 255 into '?' before any window sees it. On the NT
// family the layer installs a WH_GETMESSAGE hook on the main thread: it sees
// the message as the system holds it, dispatches a WM_CHAR of 256 and above
// aimed at a Unicode window with DispatchMessageW itself, and blanks the
// message (WM_NULL) so that the loop does nothing more with it. Code that
// peeks with PM_REMOVE for a purpose of its own (a drag loop, a pop-up's
// loop) turns the hook off meanwhile with the manual-peek counter.
//
// TVoxApplication keeps the wide application hint beside the class library's
// ANSI one and runs the hint actions with the wide text; the unit's start-up
// makes it (VoxApplication) whether or not any wide control is ever made.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/Forms.h"
#include "classlib/Units.h"
#include "unicode/VoxControls.h"
#include "unicode/VoxStdCtrls.h"

class TVoxAppIdleEventControl;

class TVoxApplication : public TComponent {
  DECLARE_CLASS(TVoxApplication, TComponent)

  // Hooks the application window (CM_ACTIONEXECUTE).
  explicit TVoxApplication(TComponent* owner);
  ~TVoxApplication() override { DestroyUnfinished(); }

  // Kept in step with Application->Hint: the wide value while its ANSI
  // form is still the application's hint.
  std::wstring GetHint();
  void SetHint(const std::wstring& value);
  // Writes the class library's application hint.
  void SetAnsiAppHint(const std::string& value);
  // The wide long hint of the control under the mouse becomes the hint.
  void DoIdle();
  // IsDialogMessage for the application's modeless dialog, if any: the
  // wide call for a Unicode window's message (the hook's wide form).
  bool IsDlgMsg(MSG& msg);
  // What the hook does with a message taken from the queue: true when it
  // dispatched it itself (a wide character for a Unicode window).
  bool ProcessMessage(MSG& msg);
  // Hooked into the application window: runs a plain hint action whose
  // hint is this hint's ANSI form with the wide hint.
  bool WndProc(TMessage& message);

  TVoxAppIdleEventControl* GetIdleEventControl() const { return idleEventControl_; }

 protected:
  void Destroy() override;

 private:
  friend class TVoxAppIdleEventControl;
  std::wstring hint_;
  TVoxAppIdleEventControl* idleEventControl_ = nullptr;
  bool mainFormInspected_ = false;
};

// Made by the unit's start-up, freed by its finalisation.
extern TUnitGlobal<TVoxApplication> VoxApplication;

// An invisible control on a main form that is not a TVoxForm: its action's
// update, run by the form at idle time, keeps the wide hint current.
class TVoxAppIdleEventControl : public TControl {
  DECLARE_CLASS(TVoxAppIdleEventControl, TControl)

  // owner: the main form, which becomes its parent.
  explicit TVoxAppIdleEventControl(TComponent* owner);
  ~TVoxAppIdleEventControl() override { DestroyUnfinished(); }

 protected:
  void Destroy() override;

 private:
  void IdleAction(TObject* sender);
};

// A form with a Unicode window and wide Caption and Hint.
class TVoxForm : public TForm {
  DECLARE_CLASS(TVoxForm, TForm)

  // Reads the stored forms of the classes below TVoxForm (TVoxForm itself
  // has none).
  explicit TVoxForm(TComponent* owner);
  // An empty form (the platform's CreateNew).
  TVoxForm(TComponent* owner, int dummy);

  void DefaultHandler(TMessage& message) override;
  void DefineProperties(TFiler* filer) override;
  void CreateWindowHandle(const TCreateParams& params) override;
  void DestroyWindowHandle() override;
  void UpdateActions() override;
  void ActionChange(TObject* sender, bool checkDefaults) override;
  TClass GetActionLinkClass() override;
  void Dispatch(TMessage& message) override;

  std::wstring GetCaption() { return VoxControl_GetText(this); }
  void SetCaption(const std::wstring& v) { VoxControl_SetText(this, v); }
  bool IsCaptionStored() const { return VoxControl_IsCaptionStored(const_cast<TVoxForm*>(this)); }
  std::wstring GetHint() { return VoxControl_GetHint(this); }
  void SetHint(const std::wstring& v) { VoxControl_SetHint(this, v); }
  bool IsHintStored() const { return VoxControl_IsHintStored(const_cast<TVoxForm*>(this)); }

  // The selected item's wide long hint becomes the application's hint.
  void WMMenuSelect(TMessage& message) override;
  // The menus' first items are written again in the new direction.
  void CMBiDiModeChanged(TMessage& message) override;
  void WMWindowPosChanging(TMessage& message);
};

// A scroll box with a Unicode window and a wide Hint.
class TVoxScrollBox : public TVoxControlOf<TScrollBox> {
  DECLARE_CLASS(TVoxScrollBox, TScrollBox)

  explicit TVoxScrollBox(TComponent* owner);

  void CreateWindowHandle(const TCreateParams& params) override;
  // Updating the scroll bars changes the client area, which sends WM_SIZE
  // again from inside the handler; where the bars keep appearing and
  // disappearing the chain would never end, so the 32nd nested WM_SIZE is
  // not handled.
  void WMSize(TMessage& m) override;

 private:
  int sizeNesting_ = 0;
};

// A frame with a Unicode window and a wide Hint. A class below TVoxFrame
// reads its stored forms from the one below TVoxFrame down to its own.
class TVoxCustomFrame : public TVoxControlOf<TCustomFrame> {
  DECLARE_CLASS(TVoxCustomFrame, TCustomFrame)

  explicit TVoxCustomFrame(TComponent* owner);

  void CreateWindowHandle(const TCreateParams& params) override;
};

// The wide frame with the frame's published properties.
class TVoxFrame : public TVoxCustomFrame {
  DECLARE_CLASS(TVoxFrame, TVoxCustomFrame)
  using TVoxCustomFrame::TVoxCustomFrame;
};

// Whether charCode (a key's ANSI code up to 255, else a UTF-16 unit) is the
// accelerator character of caption, case ignored.
bool IsWideCharAccel(uint16_t charCode, const std::wstring& caption);

// While the count is above 0 the hook passes every message on unchanged.
void EnableManualPeekMessageWithRemove();
// Never below 0.
void DisableManualPeekMessageWithRemove();

// Unit start-up: the application companion and, on the NT family, the hook
// of the main thread; finalisation reports a failing unhook and goes on.
void InitializeVoxForms();
void FinalizeVoxForms();
