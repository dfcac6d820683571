#include "kx/foundation/KxUnits.h"

#include "kx/foundation/KxStatus.h"

const std::vector<TUnitEntry>& KxFoundationUnits() {
  static const std::vector<TUnitEntry> units = {
      {"KxStatus", InitializeKxStatus, FinalizeKxStatus},
  };
  return units;
}
