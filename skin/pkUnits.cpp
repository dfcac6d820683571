#include "skin/pkUnits.h"

#include "skin/pkBitmap.h"
#include "skin/pkButton.h"
#include "skin/pkComboDropDown.h"
#include "skin/pkImager.h"
#include "skin/pkImgBtn.h"
#include "skin/pkShared.h"
#include "skin/pkimageform.h"
#include "skin/pkpanel.h"

const std::vector<TUnitEntry>& SkinUnits() {
  static const std::vector<TUnitEntry> units = {
      {"pkShared", InitializePkShared, FinalizePkShared},
      {"pkComboDropDown", InitializePkComboDropDown, FinalizePkComboDropDown},
      {"pkBitmap", InitializePkBitmap, FinalizePkBitmap},
      {"pkimageform", InitializePkImageForm, FinalizePkImageForm},
      {"pkImager", InitializePkImager, FinalizePkImager},
      // The kind glyphs are loaded on first use and freed here.
      {"pkButton", nullptr, FinalizePkButton},
      {"pkImgBtn", InitializePkImgBtn, FinalizePkImgBtn},
      {"pkpanel", InitializePkPanel, FinalizePkPanel},
  };
  return units;
}
