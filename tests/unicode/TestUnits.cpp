#include "classlib/Units.h"
#include "unicode/VoxUnits.h"

// The class library's start-up list, then the Unicode layer's.
const std::vector<TUnitEntry>& TestUnits() {
  static const std::vector<TUnitEntry> units = [] {
    std::vector<TUnitEntry> all = ClasslibUnits();
    const std::vector<TUnitEntry>& vox = VoxUnits();
    all.insert(all.end(), vox.begin(), vox.end());
    return all;
  }();
  return units;
}
