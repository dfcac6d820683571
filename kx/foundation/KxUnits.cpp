#include "kx/foundation/KxUnits.h"

#include "kx/foundation/KxBHints.h"
#include "kx/foundation/KxBorder.h"
#include "kx/foundation/KxChkLst.h"
#include "kx/foundation/KxCommon.h"
#include "kx/foundation/KxLabel.h"
#include "kx/foundation/KxLstBox.h"
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
      {"KxBHints", InitializeKxBHints, FinalizeKxBHints},
      {"KxLabel", InitializeKxLabel, FinalizeKxLabel},
      {"KxStatus", InitializeKxStatus, FinalizeKxStatus},
      // The stored-form classes of the bordered controls, list boxes and
      // check list.
      {"KxBorder", InitializeKxBorder, FinalizeKxBorder},
      {"KxLstBox", InitializeKxLstBox, FinalizeKxLstBox},
      {"KxChkLst", InitializeKxChkLst, FinalizeKxChkLst},
  };
  return units;
}
