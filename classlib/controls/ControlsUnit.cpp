// Start-up of the Controls unit, its hook table and its free functions.
#include <cctype>

#include "classlib/ActnList.h"
#include "classlib/Seams.h"
#include "classlib/StdActns.h"
#include "classlib/controls/ControlsUnit.h"
#include "classlib/controls/WinControl.h"

DEFINE_ENUM_TYPE(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")
DEFINE_ENUM_TYPE(TControlStyleItem, "csAcceptsControls", "csCaptureMouse", "csDesignInteractive",
                 "csClickEvents", "csFramed", "csSetCaption", "csOpaque", "csDoubleClicks", "csFixedWidth",
                 "csFixedHeight", "csNoDesignVisible", "csReplicatable", "csNoStdEvents", "csDisplayDragImage",
                 "csReflector", "csActionClient", "csMenuEvents")
DEFINE_ENUM_TYPE(TControlStateItem, "csLButtonDown", "csClicked", "csPalette", "csReadingState",
                 "csAlignmentNeeded", "csFocusing", "csCreating", "csPaintCopy", "csCustomPaint",
                 "csDestroyingHandle", "csDocking")
DEFINE_ENUM_TYPE(TMouseButton, "mbLeft", "mbRight", "mbMiddle")
DEFINE_ENUM_TYPE(TShiftStateItem, "ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble")
DEFINE_ENUM_TYPE(TOwnerDrawStateItem, "odSelected", "odGrayed", "odDisabled", "odChecked", "odFocused",
                 "odDefault", "odHotLight", "odInactive", "odNoAccel", "odNoFocusRect", "odReserved1",
                 "odReserved2", "odComboBoxEdit")
DEFINE_ENUM_TYPE(TBiDiMode, "bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly")
DEFINE_ENUM_TYPE(TImeMode, "imDisable", "imClose", "imOpen", "imDontCare", "imSAlpha", "imAlpha", "imHira", "imSKata",
                 "imKata", "imChinese", "imSHanguel", "imHanguel")
DEFINE_ENUM_TYPE(TDragMode, "dmManual", "dmAutomatic")
DEFINE_ENUM_TYPE(TDragKind, "dkDrag", "dkDock")
DEFINE_ENUM_TYPE(TDragState, "dsDragEnter", "dsDragLeave", "dsDragMove")

TControlsHooks& ControlsHooks() {
  static TControlsHooks hooks;
  return hooks;
}

namespace {
void DefaultHandleException(TObject*) {
  std::string text;
  try {
    throw;
  } catch (const EAbort&) {
    return;  // silent by design
  } catch (const Exception& e) {
    text = e.GetMessage();
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
    text = "Unknown exception";
  }
  OutputDebugStringA((text + "\n").c_str());
  Seams().MessageBox(nullptr, text, "Error", MB_OK | MB_ICONSTOP);
}
}  // namespace

void ControlsHandleException(TObject* sender) noexcept {
  try {
    if (auto& f = ControlsHooks().HandleException) f(sender);
    else DefaultHandleException(sender);
  } catch (...) {
    // The handler itself failed: nothing may leave a window procedure.
    OutputDebugStringA("Exception in the exception handler\n");
  }
}

TShiftState KeysToShiftState(WORD keys) {
  TShiftState s;
  if (keys & MK_SHIFT) s.Include(ssShift);
  if (keys & MK_CONTROL) s.Include(ssCtrl);
  if (keys & MK_LBUTTON) s.Include(ssLeft);
  if (keys & MK_RBUTTON) s.Include(ssRight);
  if (keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyDataToShiftState(LONG keyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (keyData & 0x20000000) s.Include(ssAlt);
  return s;
}

std::string GetHotkey(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;  // "&&" is a literal ampersand
      continue;
    }
    return std::string(1, text[i + 1]);
  }
  return std::string();
}

bool IsAccel(WORD vk, const std::string& str) {
  std::string hot = GetHotkey(str);
  if (hot.empty() || vk > 0xFF) return false;
  // As the platform's CompareText: ASCII letters without regard to case.
  return std::toupper(vk) == std::toupper(static_cast<unsigned char>(hot[0]));
}

// --- cursors -------------------------------------------------------------------

namespace {
const TIdentMapEntry kCursors[] = {
    {crDefault, "crDefault"},   {crArrow, "crArrow"},         {crCross, "crCross"},
    {crIBeam, "crIBeam"},       {crSizeNESW, "crSizeNESW"},   {crSizeNS, "crSizeNS"},
    {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},       {crUpArrow, "crUpArrow"},
    {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},         {crNoDrop, "crNoDrop"},
    {crHSplit, "crHSplit"},     {crVSplit, "crVSplit"},       {crMultiDrag, "crMultiDrag"},
    {crSQLWait, "crSQLWait"},   {crNo, "crNo"},               {crAppStart, "crAppStart"},
    {crHelp, "crHelp"},         {crHandPoint, "crHandPoint"}, {crSizeAll, "crSizeAll"},
    {crNone, "crNone"},
};
}  // namespace

const TTypeInfo* CursorTypeInfo() {
  static const TTypeInfo* ti = MakeIntegerTypeInfo("TCursor", -32768, 32767);
  return ti;
}

bool CursorToIdent(int64_t cursor, std::string& ident) {
  return IntToIdent(cursor, ident, kCursors, std::size(kCursors));
}

bool IdentToCursor(std::string_view ident, int64_t& cursor) {
  return IdentToInt(ident, cursor, kCursors, std::size(kCursors));
}

std::string CursorToString(TCursor cursor) {
  std::string s;
  if (!CursorToIdent(cursor, s)) s = std::to_string(cursor);
  return s;
}

TCursor StringToCursor(const std::string& s) {
  int64_t v = 0;
  if (IdentToCursor(s, v)) return static_cast<TCursor>(v);
  try {
    return static_cast<TCursor>(std::stoi(s));
  } catch (const std::exception&) {
    throw EConvertError("'" + s + "' is not a valid integer value");
  }
}

// --- start-up ------------------------------------------------------------------

void ControlsAddAtoms();
void ControlsDeleteAtoms();

void InitializeControls() {
  ControlsAddAtoms();
  RegisterIntegerConsts(CursorTypeInfo(), IdentToCursor, CursorToIdent);
  RegisterClasses({TActionList::StaticClass(), TAction::StaticClass(), THintAction::StaticClass()});
}

void FinalizeControlAtoms() { ControlsDeleteAtoms(); }
