// Types of the Menus unit: enumerations, events, the unit's exception and
// the shortcut bits.
#pragma once

#include "classlib/Controls.h"
#include "classlib/classes/Action.h"

class TMenu;
class TMenuItem;
class TMainMenu;
class TPopupMenu;
class TCustomImageList;

DECLARE_EXCEPTION(EMenuError, Exception);

// The modifier bits of a TShortCut; the low byte is the virtual key.
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

// A caption of this text is a separator line.
inline constexpr const char* cLineCaption = "-";
inline constexpr char cHotkeyPrefix = '&';

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
DECLARE_ENUM_TYPE(TMenuBreak);

enum TPopupAlignment { paLeft, paRight, paCenter };
DECLARE_ENUM_TYPE(TPopupAlignment);

enum TTrackButton { tbRightButton, tbLeftButton };
DECLARE_ENUM_TYPE(TTrackButton);

// The bits follow TrackPopupMenu's animation flags from TPM_HORPOSANIMATION
// (0x0400) on, so a set shifted left by 10 is the flags.
enum TMenuAnimations { maLeftToRight, maRightToLeft, maTopToBottom, maBottomToTop, maNone };
DECLARE_ENUM_TYPE(TMenuAnimations);
using TMenuAnimation = TSet<TMenuAnimations>;

enum TFindItemKind { fkCommand, fkHandle, fkShortCut };
DECLARE_ENUM_TYPE(TFindItemKind);

// Source is null when the menu as a whole changed; Rebuild when the native
// menu had to be built again.
using TMenuChangeEvent = TClosure<void(TObject* Sender, TMenuItem* Source, bool Rebuild)>;
using TMenuDrawItemEvent = TClosure<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    TClosure<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)>;
using TMenuMeasureItemEvent = TClosure<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
