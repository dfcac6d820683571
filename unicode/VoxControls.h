// VoxControls: UTF-16 captions and hints for any control of the class
// library, and real Unicode windows for its window controls.
//
// The class library speaks ANSI: Text, Caption and Hint are AnsiStrings and
// its windows are ANSI windows. A wide control keeps its wide text beside
// the ANSI one, synchronised: the wide value counts while its ANSI form is
// still the ANSI value, so ANSI code that assigns the caption later wins.
// A window control gets a Unicode window of the class "<class>.UnicodeClass"
// through the class library's creation seam (CreateWindowHandle), and a
// TWinControlTrap between the window, WindowProc and DefWndProc so that the
// class library's ANSI paths keep working on it: text messages sent by code
// reach the window through SendMessageA (Windows converts), and WM_CHAR of a
// character above 255 reaches ANSI handlers as 255 with the character in the
// high word of WParam, the default procedure as the character itself.
// Windowless controls keep their wide text in a caption holder.
//
// Where the wide API is missing (Win32PlatformIsUnicode false) every routine
// falls back to the class library's ANSI behaviour.
#pragma once

#include <functional>
#include <string>

#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "classlib/Win.h"

// The type of published wide Caption properties.
using TWideCaption = std::wstring;
// Writes the ANSI side of a synchronised pair.
using TSetAnsiStrEvent = std::function<void(const std::string& value)>;

// The wide caption and hint of a control, kept beside its ANSI ones while
// it has no Unicode window (and the hint always). One per control, in a list
// sorted by the control's address; it frees itself when its control goes.
class TWideCaptionHolder : public TComponent {
  DECLARE_CLASS(TWideCaptionHolder, TComponent)

  explicit TWideCaptionHolder(TControl* control);
  TControl* GetControl() const { return control_; }
  void Notification(TComponent* component, TOperation operation) override;

  std::wstring Caption;
  std::wstring Hint;

 private:
  TControl* control_;
};

// --- Synchronised strings -----------------------------------------------------
// wideStr, unless ansiStr no longer is its ANSI form: then wideStr becomes
// ansiStr widened. Returns wideStr.
std::wstring GetSyncedWideString(std::wstring& wideStr, const std::string& ansiStr);
// Stores value as wideStr and its ANSI form through setAnsiStr. A value that
// does not survive the ANSI round trip, whose ANSI form the ANSI side already
// holds, first writes "" so that the ANSI side sees a change.
void SetSyncedWideString(const std::wstring& value, std::wstring& wideStr, const std::string& ansiStr,
                         const TSetAnsiStrEvent& setAnsiStr);

// --- Wide text of any control ---------------------------------------------------
// False only when the control's action link supplies its caption / hint.
bool VoxControl_IsCaptionStored(TControl* control);
bool VoxControl_IsHintStored(TControl* control);
// The wide caption kept for a control without a window, while its ANSI form
// is still the control's ANSI text; otherwise defaultText.
std::wstring VoxControl_GetStoredText(TControl* control, const std::wstring& defaultText);
// The wide Text/Caption: from the Unicode window, the caption holder, or the
// ANSI text widened.
std::wstring VoxControl_GetText(TControl* control);
// Sets the wide Text/Caption; a window's text changes (and CM_TEXTCHANGED is
// sent) only when it differs.
void VoxControl_SetText(TControl* control, const std::wstring& value);
std::wstring VoxControl_GetHint(TControl* control);
void VoxControl_SetHint(TControl* control, const std::wstring& value);

// --- Hints --------------------------------------------------------------------------
// The first non-empty wide hint of the control or its parents.
std::wstring WideGetHint(TControl* control);
// The part before / after the first "|"; the whole hint without one.
std::wstring WideGetShortHint(const std::wstring& hint);
std::wstring WideGetLongHint(const std::wstring& hint);

// Layer-private consistency checks fail with EAssertionFailed
// "<message> (<unit>, line <n>)", the message beginning
// "VOX Internal Error: " where the layer names one.
[[noreturn]] void VoxAssertionFailed(const std::string& message, const char* unit, int line);
inline void VoxAssert(bool condition, const char* message, const char* unit, int line) {
  if (!condition) VoxAssertionFailed(message, unit, line);
}

// Unit start-up: the lists and the two window atoms; finalisation.
void InitializeVoxControls();
void FinalizeVoxControls();
