// Unit KxCommon: the type information of its enumerations and its start-up.
// Its code is split by area: KxCommonDraw, KxCommonColors, KxCommonHelpers,
// KxCommonDesktop, KxCommonSettings, KxCommonFrameController, KxCommonBlink.
#include "kx/foundation/KxCommonPrivate.h"

DEFINE_ENUM_TYPE(TFrameStyleEx, "fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered", "fsButtonDown", "fsRaised",
                 "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold", "fsFlatRounded")
DEFINE_ENUM_TYPE(TSide, "sdLeft", "sdTop", "sdRight", "sdBottom")
DEFINE_ENUM_TYPE(TFramingPreference, "fpCustomFraming", "fpXPThemes")
DEFINE_ENUM_TYPE(TTextStyle, "tsNormal", "tsRaised", "tsRecessed", "tsShadow")
DEFINE_ENUM_TYPE(TAlignmentVertical, "avTop", "avCenter", "avBottom")
DEFINE_ENUM_TYPE(TOrientation, "orHorizontal", "orVertical")
DEFINE_ENUM_TYPE(TDirection, "dirUp", "dirDown", "dirLeft", "dirRight")
DEFINE_ENUM_TYPE(TBarStyle, "bsTraditional", "bsLED")
DEFINE_ENUM_TYPE(TLineStyle, "lsNone", "lsFlat", "lsGroove", "lsBump")
DEFINE_ENUM_TYPE(TBlinkState, "bsOn", "bsOff")
DEFINE_ENUM_TYPE(TKxUIStyle, "uiWindows95", "uiWindowsXP")
DEFINE_ENUM_TYPE(TKxWindowsVersion, "Win95", "WinNT", "Win98", "WinMe", "Win2000", "WinXP", "WinServer2003")
DEFINE_ENUM_TYPE(TExpandOnType, "etMouseButton2Click", "etFocus", "etNone")
DEFINE_ENUM_TYPE(TKxScrollType, "stNone", "stRightToLeft", "stLeftToRight")
DEFINE_ENUM_TYPE(TKxHotTrackColorType, "htctComplement", "htctActual")
DEFINE_ENUM_TYPE(TKxScrollStyle, "scsNone", "scsLeft", "scsUp", "scsRight", "scsDown")
DEFINE_ENUM_TYPE(TKxGroupBarGradientPath, "gpTopToBottom", "gpBottomToTop")
DEFINE_ENUM_TYPE(TKxFrameProperty, "fpAll", "fpColor", "fpFocusColor", "fpDisabledColor", "fpParentColor",
                 "fpFlatButtonColor", "fpFlatButtons", "fpFrameColor", "fpHotColor", "fpHotTrack", "fpHotStyle",
                 "fpSides", "fpStyle", "fpVisible", "fpPreference")
DEFINE_ENUM_TYPE(TKxPathType, "ptIniFile", "ptRegistry")
DEFINE_ENUM_TYPE(TKxRegKey, "hkeyClassesRoot", "hkeyCurrentUser", "hkeyLocalMachine", "hkeyUsers",
                 "hkeyPerformanceData", "hkeyCurrentConfig", "hkeyDynData")
DEFINE_ENUM_TYPE(TKxRegAccessKey, "keyQueryValue", "keySetValue", "keyCreateSubKey", "keyEnumerateSubKeys",
                 "keyNotify", "keyCreateLink", "keyRead", "keyWrite", "keyExecute", "keyAllAccess")

const TTypeInfo* TFrameStyleTypeInfo() {
  static const TTypeInfo ti =
      MakeEnumTypeInfo("TFrameStyle", {"fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered", "fsButtonDown",
                                       "fsRaised", "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold"});
  return &ti;
}

// ---------------------------------------------------------------------------
// Start-up

void InitializeKxCommon() {
  RegisterClasses({TKxFrameController::StaticClass(), TKxRegIniFile::StaticClass(), TKxCustomColors::StaticClass()});
}

void FinalizeKxCommon() { FreeBlinkingControlsList(); }
