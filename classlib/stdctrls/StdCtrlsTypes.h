// Types of the StdCtrls unit shared by its control families.
#pragma once

#include "classlib/Controls.h"
#include "classlib/forms/FormTypes.h"

// Vertical placement of a label's text.
enum TTextLayout { tlTop, tlCenter, tlBottom };
DECLARE_ENUM_TYPE(TTextLayout);

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
DECLARE_ENUM_TYPE(TCheckBoxState);

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
DECLARE_ENUM_TYPE(TScrollStyle);

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
DECLARE_ENUM_TYPE(TEditCharCase);

enum TScrollCode {
  scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll
};
DECLARE_ENUM_TYPE(TScrollCode);

enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };
DECLARE_ENUM_TYPE(TStaticBorderStyle);

// The alignment values a left/right-only property takes (the platform's
// TLeftRight subrange of TAlignment).
using TLeftRight = TAlignment;

using TDrawItemEvent = TClosure<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = TClosure<void(TWinControl* Control, int Index, int& Height)>;
using TScrollEvent = TClosure<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// Stored-form class registration of the unit (run by its start-up entry).
void RegisterStdCtrlsClasses();
