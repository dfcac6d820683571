#include "skin/pkUnits.h"

#include "skin/pkBitmap.h"
#include "skin/pkComboDropDown.h"
#include "skin/pkImager.h"
#include "skin/pkShared.h"
#include "skin/pkimageform.h"

const std::vector<TUnitEntry>& SkinUnits() {
  static const std::vector<TUnitEntry> units = {
      {"pkShared", InitializePkShared, FinalizePkShared},
      {"pkComboDropDown", InitializePkComboDropDown, FinalizePkComboDropDown},
      {"pkBitmap", InitializePkBitmap, FinalizePkBitmap},
      {"pkimageform", InitializePkImageForm, FinalizePkImageForm},
      {"pkImager", InitializePkImager, FinalizePkImager},
  };
  return units;
}
