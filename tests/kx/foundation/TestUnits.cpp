#include "classlib/Units.h"
#include "kx/foundation/KxUnits.h"

// The class library's start-up list, then the framed library's foundation.
const std::vector<TUnitEntry>& TestUnits() {
  static const std::vector<TUnitEntry> units = [] {
    std::vector<TUnitEntry> all = ClasslibUnits();
    const std::vector<TUnitEntry>& kx = KxFoundationUnits();
    all.insert(all.end(), kx.begin(), kx.end());
    return all;
  }();
  return units;
}
