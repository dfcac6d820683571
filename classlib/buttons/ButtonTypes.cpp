#include "classlib/buttons/ButtonTypes.h"

#include "classlib/graphics/Resources.h"

DEFINE_ENUM_TYPE(TBitBtnKind, "bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort",
                 "bkRetry", "bkIgnore", "bkAll")
DEFINE_ENUM_TYPE(TButtonLayout, "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom")
DEFINE_ENUM_TYPE(TButtonStyle, "bsAutoDetect", "bsWin31", "bsNew")
DEFINE_ENUM_TYPE(TButtonState, "bsUp", "bsDisabled", "bsDown", "bsExclusive")

std::string BitBtnCaption(TBitBtnKind kind) {
  if (kind <= bkCustom || kind > bkAll) return std::string();
  return LoadStr(SBitBtnCaptionBase + static_cast<int>(kind) - static_cast<int>(bkOK));
}

TModalResult BitBtnModalResult(TBitBtnKind kind) {
  switch (kind) {
    case bkOK: return mrOk;
    case bkCancel: return mrCancel;
    case bkYes: return mrYes;
    case bkNo: return mrNo;
    case bkAbort: return mrAbort;
    case bkRetry: return mrRetry;
    case bkIgnore: return mrIgnore;
    case bkAll: return mrAll;
    default: return mrNone;
  }
}
