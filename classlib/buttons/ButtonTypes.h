// Types of the Buttons unit: the bit-button kinds with their captions and
// modal results, glyph layouts, button styles and states.
#pragma once

#include <string>

#include "classlib/Controls.h"
#include "classlib/forms/FormTypes.h"

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
DECLARE_ENUM_TYPE(TBitBtnKind);

// Where a button's glyph sits beside its caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
DECLARE_ENUM_TYPE(TButtonLayout);

// bsAutoDetect draws as the system does; bsWin31 and bsNew force a look.
enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };
DECLARE_ENUM_TYPE(TButtonStyle);

// How a button is shown: up, disabled, pressed, or down in its group.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
DECLARE_ENUM_TYPE(TButtonState);

// The number of cells in a glyph bitmap: 1 to 4 (up, disabled, down, and
// down in a group).
using TNumGlyphs = int;

// The caption of a kind ("OK", "Cancel", "&Help", "&Yes", "&No", "&Close",
// "Abort", "&Retry", "&Ignore", "&All"), loaded from the program's string
// table; "" for bkCustom.
std::string BitBtnCaption(TBitBtnKind kind);
// The modal result of a kind (mrNone for bkCustom, bkHelp and bkClose).
TModalResult BitBtnModalResult(TBitBtnKind kind);

// The string-table identifiers of the kind captions (resources/Buttons.rc),
// bkOK first; bkCustom has none.
inline constexpr int SBitBtnCaptionBase = 64640;
