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

// --- Unicode windows ---------------------------------------------------------------
// Sits between a control's Unicode window, the class library's dispatch
// (WindowProc) and the default procedure (DefWndProc): messages from the
// window pass on wide; text messages that code sends through the control go
// to the window with SendMessageA, so Windows converts between the ANSI
// caller and the wide window; WM_CHAR above 255 reaches ANSI handlers packed
// (255, the character in the high word) and the default procedure whole.
// One per control: made with its first window, parked while the control has
// none, freed with the control.
class TWinControlTrap : public TComponent {
  DECLARE_CLASS(TWinControlTrap, TComponent)

  explicit TWinControlTrap(TWinControl* control);
  void Notification(TComponent* component, TOperation operation) override;

  TWinControl* GetControl() const { return control_; }
  HWND GetHandle() const { return handle_; }
  // The thunk that calls the control's MainWndProc: the window's procedure
  // from its first message until the trap is attached.
  WNDPROC GetControlInstance() const { return controlInstance_; }
  void SetIDEWindow(bool v) { ideWindow_ = v; }

  void Attach(const std::string& paramsCaption);
  // The control's WindowProc while attached.
  void WinControl_WndProc(TMessage& message);

 protected:
  void Destroy() override;

 private:
  void Win32Proc(TMessage& message);
  void DefWin32Proc(TMessage& message);
  void Detach();
  void HookWindowProc();

  WNDPROC controlInstance_ = nullptr;
  WNDPROC win32ProcInstance_ = nullptr;
  WNDPROC defWin32ProcInstance_ = nullptr;
  TWinControl* control_;
  HWND handle_ = nullptr;
  WNDPROC prevWin32Proc_ = nullptr;
  WNDPROC prevDefWin32Proc_ = nullptr;
  TWndMethod prevWindowProc_;
  UINT lastWin32Msg_ = 0;
  int win32ProcLevel_ = 0;
  bool ideWindow_ = false;
  bool destroyWhenIdle_ = false;
  bool testingForChainEnd_ = false;
  bool chainEndFound_ = false;
};

// Changes how WM_CHAR and WM_IME_CHAR are handled for a shell's own windows
// (see the trap's default procedure); false at start.
extern bool _IsShellProgramming;

// WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH.
bool IsTextMessage(UINT msg);
// WM_CHAR packing: a character above 255 travels in the high word of
// WParam while the low word reads 255, so ANSI code sees one byte.
void MakeWMCharMsgSafeForAnsi(TMessage& message);
// Unpacks; returns the high word it had.
WORD RestoreWMCharMsg(TMessage& message);
wchar_t GetWideCharFromWMCharMsg(const TMessage& message);
void SetWideCharForWMCharMsg(TMessage& message, wchar_t c);

// Registers "<class>.UnicodeClass" (the class library's class name, at most
// 64 characters, and the suffix) from params' window class; name receives it.
void RegisterUnicodeClass(const TCreateParams& params, std::wstring& name, bool ideWindow = false);
// Creates the control's window as a Unicode window (the control's
// CreateWindowHandle calls it); subClass names the system class whose
// procedure is the default one ("EDIT"), empty for DefWindowProcW.
void CreateUnicodeHandle(TWinControl* control, const TCreateParams& params, const std::wstring& subClass,
                         bool ideWindow = false);
// Attaches the control's trap to its new Unicode window and gives the window
// the control's wide text.
void SubClassUnicodeControl(TWinControl* control, const std::string& paramsCaption, bool ideWindow = false);
// Destroys the control's window and makes a Unicode one in its place.
void ReCreateUnicodeWnd(TWinControl* control, const std::wstring& subClass, bool ideWindow = false);

// A wide item added to a list control (a wide list box or combo box).
class IWideCustomListControl : public IInterface {
 public:
  static constexpr TGUID IID = TGUID::Parse("{C1801F41-51E9-4DB5-8DB8-58AC86698C2E}");
  virtual void AddItem(const std::wstring& item, TObject* object) = 0;
};
// The wide add when the control has one, else the ANSI AddItem.
void WideListControl_AddItem(TCustomListControl* control, const std::wstring& item, TObject* object);

// --- Wide hints ----------------------------------------------------------------------
// Prepares CM_HINTSHOW for a wide hint: the plain hint window class becomes
// TVoxHintWindow, the hint info marks itself as its data, and the hint
// text is the ANSI form of the control's short wide hint.
void ProcessCMHintShowMsg(TMessage& message);

// A hint window with a Unicode window that shows the wide hint of the
// control its hint info marks.
class TVoxHintWindow : public THintWindow {
  DECLARE_CLASS(TVoxHintWindow, THintWindow)

  explicit TVoxHintWindow(TComponent* owner);

  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandle(const TCreateParams& params) override;
  void Paint() override;
  void ActivateHint(TRect rect, const std::string& hint) override;
  void ActivateHintData(TRect rect, const std::string& hint, void* data) override;
  TRect CalcHintRect(int maxWidth, const std::string& hint, void* data) override;
  void CMTextChanged(TMessage& message) override;

  std::wstring GetCaption() { return VoxControl_GetText(this); }
  void SetCaption(const std::wstring& v) { VoxControl_SetText(this, v); }

 private:
  bool activating_ = false;
  bool paintingSuppressed_ = false;
};

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
