#include "kx/foundation/KxUnits.h"

#include "kx/foundation/KxCommon.h"
#include "kx/foundation/KxStatus.h"
#include "kx/foundation/KxSysRes.h"
#include "kx/foundation/KxThemeSrv.h"
#include "kx/foundation/KxUxTheme.h"

const std::vector<TUnitEntry>& KxFoundationUnits() {
  static const std::vector<TUnitEntry> units = {
      // The lock around the visual-styles library; finalised last of these,
      // after the theme services have given their reference back.
      {"KxUxTheme", InitializeKxUxTheme, FinalizeKxUxTheme},
      {"KxThemeSrv", nullptr, FinalizeKxThemeSrv},
      // The settings classes in the class registry; the blink list freed.
      {"KxCommon", InitializeKxCommon, FinalizeKxCommon},
      {"KxSysRes", nullptr, FinalizeKxSysRes},
      {"KxStatus", InitializeKxStatus, FinalizeKxStatus},
  };
  return units;
}
