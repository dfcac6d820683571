#include "classlib/Units.h"

const std::vector<TUnitEntry>& TestUnits() { return ClasslibUnits(); }
