// THintWindow: the small pop-up that shows a control's hint, and the hint
// text helpers.
//
// The application keeps one hint window of the class HintWindowClass names
// (replaceable at run time: turning Application->ShowHint off and on makes a
// new one from the current class). A control's CM_HINTSHOW may ask for
// another class for one showing. The window is a WS_POPUP|WS_BORDER window
// owned by the application window, never activated; its text is drawn with
// DrawText in the screen's hint font on Application->HintColor.
#pragma once

#include <string>

#include "classlib/Controls.h"
#include "classlib/forms/FormTypes.h"

class THintWindow : public TCustomControl {
  DECLARE_CLASS(THintWindow, TCustomControl)

  explicit THintWindow(TComponent* owner);

  // The window's rectangle (from 0, 0) for hint at most maxWidth wide.
  virtual TRect CalcHintRect(int maxWidth, const std::string& hint, void* data);
  // Shows hint in rect (screen coordinates), kept on the desktop.
  virtual void ActivateHint(TRect rect, const std::string& hint);
  virtual void ActivateHintData(TRect rect, const std::string& hint, void* data);
  // Destroys the window (the object stays for the next hint).
  virtual void ReleaseHandle();
  // True when msg should end the hint; the loop then cancels it and still
  // handles the message.
  virtual bool IsHintMsg(const MSG& msg);

  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Dispatch(TMessage& m) override;
  virtual void CMTextChanged(TMessage& m);
  virtual void WMNCPaint(TMessage& m);
  void WMNCHitTest(TMessage& m) override;

 private:
  bool activating_ = false;
};

// The class the application makes its hint window of (THintWindow or a
// descendant); replace it, then turn Application->ShowHint off and on.
extern THintWindowClass HintWindowClass;

// A control's hint, or its nearest parent's when it has none.
std::string GetHint(TControl* control);
// The part of a hint before "|" (the whole hint without one).
std::string GetShortHint(const std::string& hint);
// The part of a hint after "|" (the whole hint without one).
std::string GetLongHint(const std::string& hint);
