// Types of the Controls unit: alignment, anchors, control style and state,
// mouse and keyboard types, cursors, creation parameters and event types.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/Win.h"
#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "classlib/Messages.h"

class TControl;
class TWinControl;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
DECLARE_ENUM_TYPE(TAlign);
using TAlignSet = TSet<TAlign>;

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
DECLARE_ENUM_TYPE(TAnchorKind);
using TAnchors = TSet<TAnchorKind>;
// The anchors an alignment implies.
TAnchors AnchorAlign(TAlign align);

// The platform keeps TAlignment in its Classes unit.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
DECLARE_ENUM_TYPE(TAlignment);

enum TControlStyleItem {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed,
  csSetCaption, csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible,
  csReplicatable, csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents
};
DECLARE_ENUM_TYPE(TControlStyleItem);
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
  csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing,
  csCreating, csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking
};
DECLARE_ENUM_TYPE(TControlStateItem);
using TControlState = TSet<TControlStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
DECLARE_ENUM_TYPE(TMouseButton);

// The platform keeps TShiftState in its Classes unit.
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
DECLARE_ENUM_TYPE(TShiftStateItem);
using TShiftState = TSet<TShiftStateItem>;

// MK_* key flags of a mouse message as a shift state.
TShiftState KeysToShiftState(WORD keys);
// The shift state of a key message's key data (Alt from bit 29).
TShiftState KeyDataToShiftState(LONG keyData);
// True when Str's accelerator (the character after a single "&") is the
// character of the virtual key VK, compared without regard to case.
bool IsAccel(WORD vk, const std::string& str);
// The accelerator character of a caption, or "" when it has none.
std::string GetHotkey(const std::string& text);

// The state of an owner-drawn item (menus, list boxes, combo boxes): the
// bits of DRAWITEMSTRUCT.itemState in the same order (ODS_SELECTED is bit 0
// ... ODS_COMBOBOXEDIT bit 12), so a state is OwnerDrawStateOf(itemState).
// The platform keeps it in its Windows unit, below menus and controls alike.
enum TOwnerDrawStateItem {
  odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive,
  odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit
};
DECLARE_ENUM_TYPE(TOwnerDrawStateItem);
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
inline TOwnerDrawState OwnerDrawStateOf(UINT itemState) { return TOwnerDrawState::FromBits(itemState & 0x1FFF); }

enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
DECLARE_ENUM_TYPE(TBiDiMode);

// The input method a control asks for while it has the focus, and the IME
// it names (Far-East systems).
enum TImeMode {
  imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese, imSHanguel,
  imHanguel
};
DECLARE_ENUM_TYPE(TImeMode);
using TImeName = std::string;

enum TDragMode { dmManual, dmAutomatic };
DECLARE_ENUM_TYPE(TDragMode);
enum TDragKind { dkDrag, dkDock };
DECLARE_ENUM_TYPE(TDragKind);
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
DECLARE_ENUM_TYPE(TDragState);

// CM_DRAG: what the drag asks of the window (WParam) about the drag record
// (LParam). The first three are the TDragState a target's DragOver gets.
enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };
class TDragObject;
struct TDragRec {
  POINT Pos{};                    // the cursor, screen coordinates
  TDragObject* Source = nullptr;  // the drag
  TControl* Target = nullptr;     // the control dmFindTarget found
  bool Docking = false;
};
struct TCMDrag : TMessageView {
  using TMessageView::TMessageView;
  TDragMessage DragMessage() const { return static_cast<TDragMessage>(Message.WParam); }
  TDragRec* DragRec() const { return reinterpret_cast<TDragRec*>(Message.LParam); }
};

// CM_MOUSEWHEEL: the shift state in the low word of WParam (the bits of a
// TShiftState), the wheel's turn in its high word (WHEEL_DELTA a notch,
// positive away from the user), the cursor in screen coordinates in LParam.
struct TCMMouseWheel : TMessageView {
  using TMessageView::TMessageView;
  TShiftState ShiftState() const { return TShiftState::FromBits(LOWORD(Message.WParam)); }
  short WheelDelta() const { return static_cast<short>(HIWORD(Message.WParam)); }
  POINT Pos() const {
    return POINT{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
  }
};

// Cursors: a named integer type with the platform's stock values.
using TCursor = int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSize = -22;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;
const TTypeInfo* CursorTypeInfo();
bool CursorToIdent(int64_t cursor, std::string& ident);
bool IdentToCursor(std::string_view ident, int64_t& cursor);
std::string CursorToString(TCursor cursor);
TCursor StringToCursor(const std::string& s);

// Window creation parameters, filled by the virtual CreateParams.
struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSA WindowClass{};
  // The class name the window class is registered under (at most 63
  // characters, as the platform's 64-character buffer).
  std::string WinClassName;
};

class THintWindow;
// A class reference to THintWindow or a descendant (Forms unit).
using THintWindowClass = TClass;

// What CM_HINTSHOW hands to the control under the mouse (LParam); the
// control may change it for this one showing.
struct THintInfo {
  TControl* HintControl = nullptr;
  THintWindowClass HintWindowClass = nullptr;
  POINT HintPos{};
  int HintMaxWidth = 0;
  TColor HintColor = 0;
  RECT CursorRect{};
  POINT CursorPos{};
  int ReshowTimeout = 0;
  int HideTimeout = 0;
  std::string HintStr;
  void* HintData = nullptr;
};
struct TCMHintShow : TMessageView {
  using TMessageView::TMessageView;
  THintInfo* HintInfo() const { return reinterpret_cast<THintInfo*>(Message.LParam); }
};

// Events.
using TMouseEvent = TClosure<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TClosure<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = TClosure<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = TClosure<void(TObject* Sender, char& Key)>;
using TContextPopupEvent = TClosure<void(TObject* Sender, POINT MousePos, bool& Handled)>;
using TCanResizeEvent = TClosure<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
using TConstrainedResizeEvent =
    TClosure<void(TObject* Sender, int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight)>;
using TMouseWheelEvent =
    TClosure<void(TObject* Sender, TShiftState Shift, int WheelDelta, POINT MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = TClosure<void(TObject* Sender, TShiftState Shift, POINT MousePos, bool& Handled)>;
using TDragOverEvent =
    TClosure<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = TClosure<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TStartDragEvent = TClosure<void(TObject* Sender, TObject*& DragObject)>;
using TEndDragEvent = TClosure<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TDockDropEvent = TClosure<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TDockOverEvent =
    TClosure<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TUnDockEvent = TClosure<void(TObject* Sender, TControl* Client, TWinControl* NewTarget, bool& Allow)>;
using TGetSiteInfoEvent =
    TClosure<void(TObject* Sender, TControl* DockClient, RECT& InfluenceRect, POINT MousePos, bool& CanDock)>;
using TWndMethod = TClosure<void(TMessage& Message)>;

// The platform's NewStyleControls: true on every system with the Windows 95
// look (version 4 and later), which is every system this runs on. Buttons
// that draw in the automatic style read it; a program may clear it for the
// old look.
inline bool NewStyleControls = true;
