#include "classlib/Units.h"
#include "kx/controls/KxControlsUnits.h"
#include "kx/foundation/KxUnits.h"

// The class library's start-up list, then the framed library's foundation
// and its controls.
const std::vector<TUnitEntry>& TestUnits() {
  static const std::vector<TUnitEntry> units = [] {
    std::vector<TUnitEntry> all = ClasslibUnits();
    for (const auto* library : {&KxFoundationUnits(), &KxControlsUnits()})
      all.insert(all.end(), library->begin(), library->end());
    return all;
  }();
  return units;
}
