// Types of the Forms unit: border styles and icons, positions, form styles
// and states, close actions, modal results and the events of forms and of
// the application. Kept apart from the classes so that other units (the
// standard controls' BorderStyle) can take the types alone.
#pragma once

#include <string>

#include "classlib/Win.h"
#include "classlib/Classes.h"
#include "classlib/Messages.h"
#include "classlib/controls/ControlTypes.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
DECLARE_ENUM_TYPE(TFormBorderStyle);
// The platform's bsNone..bsSingle subrange, for controls that have a border
// or none (list boxes, panels); C++ has no subranges, so it is the same type.
using TBorderStyle = TFormBorderStyle;

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
DECLARE_ENUM_TYPE(TBorderIcon);
using TBorderIcons = TSet<TBorderIcon>;

enum TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter
};
DECLARE_ENUM_TYPE(TPosition);

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
DECLARE_ENUM_TYPE(TFormStyle);

enum TWindowState { wsNormal, wsMinimized, wsMaximized };
DECLARE_ENUM_TYPE(TWindowState);

// How an MDI form tiles its children: one above the other or side by side.
enum TTileMode { tbHorizontal, tbVertical };
DECLARE_ENUM_TYPE(TTileMode);

enum TCloseAction { caNone, caHide, caFree, caMinimize };
DECLARE_ENUM_TYPE(TCloseAction);

enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
DECLARE_ENUM_TYPE(TFormStateItem);
using TFormState = TSet<TFormStateItem>;

enum TScrollBarKind { sbHorizontal, sbVertical };
DECLARE_ENUM_TYPE(TScrollBarKind);
using TScrollBarInc = int16_t;  // 1..32767

// What ShowModal returns: 0 while the form stays open.
using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = IDOK;
inline constexpr TModalResult mrCancel = IDCANCEL;
inline constexpr TModalResult mrAbort = IDABORT;
inline constexpr TModalResult mrRetry = IDRETRY;
inline constexpr TModalResult mrIgnore = IDIGNORE;
inline constexpr TModalResult mrYes = IDYES;
inline constexpr TModalResult mrNo = IDNO;
inline constexpr TModalResult mrAll = mrNo + 1;
inline constexpr TModalResult mrNoToAll = mrAll + 1;
inline constexpr TModalResult mrYesToAll = mrNoToAll + 1;

// A key with its shift state packed as menu shortcuts pack it.
inline uint16_t KeyToShortCut(WORD key, TShiftState shift) {
  uint16_t s = static_cast<uint16_t>(key & 0xFF);
  if (shift.Contains(ssShift)) s |= 0x2000;
  if (shift.Contains(ssCtrl)) s |= 0x4000;
  if (shift.Contains(ssAlt)) s |= 0x8000;
  return s;
}

// Form and application events.
using TShortCutEvent = TClosure<void(TMessage& Msg, bool& Handled)>;
using TCloseEvent = TClosure<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TClosure<void(TObject* Sender, bool& CanClose)>;

// Application events.
using TMessageEvent = TClosure<void(MSG& Msg, bool& Handled)>;
using TIdleEvent = TClosure<void(TObject* Sender, bool& Done)>;
using TExceptionEvent = TClosure<void(TObject* Sender, Exception& E)>;
using TShowHintEvent = TClosure<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;
// A procedure hooked into the application window (HookMainWindow): true
// when it has handled the message, which then goes no further.
using TWindowHook = TClosure<bool(TMessage& Message)>;
