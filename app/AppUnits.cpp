#include "app/AppUnits.h"

#include "kx/controls/KxControlsUnits.h"
#include "kx/foundation/KxUnits.h"
#include "skin/pkUnits.h"
#include "unicode/VoxUnits.h"

// The class library first (everything stands on it), then the libraries in
// the order the system starts them: the Unicode layer, the image-skin
// library, the component library. Each library's list keeps its own order.
const std::vector<TUnitEntry>& AppUnits() {
  static const std::vector<TUnitEntry> units = [] {
    std::vector<TUnitEntry> all = ClasslibUnits();
    for (const auto* library : {&VoxUnits(), &SkinUnits(), &KxFoundationUnits(), &KxControlsUnits()})
      all.insert(all.end(), library->begin(), library->end());
    return all;
  }();
  return units;
}
