#include "skin/pkUnits.h"

#include "skin/pkBitmap.h"
#include "skin/pkComboDropDown.h"
#include "skin/pkShared.h"

const std::vector<TUnitEntry>& SkinUnits() {
  static const std::vector<TUnitEntry> units = {
      {"pkShared", InitializePkShared, FinalizePkShared},
      {"pkComboDropDown", InitializePkComboDropDown, FinalizePkComboDropDown},
      {"pkBitmap", InitializePkBitmap, FinalizePkBitmap},
  };
  return units;
}
