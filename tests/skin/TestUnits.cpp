#include "classlib/Units.h"
#include "skin/pkUnits.h"

// The class library's start-up list, then the skin library's.
const std::vector<TUnitEntry>& TestUnits() {
  static const std::vector<TUnitEntry> units = [] {
    std::vector<TUnitEntry> all = ClasslibUnits();
    const std::vector<TUnitEntry>& skin = SkinUnits();
    all.insert(all.end(), skin.begin(), skin.end());
    return all;
  }();
  return units;
}
