#include "classlib/Units.h"

// The class library's start-up list; the framed library's units follow it.
const std::vector<TUnitEntry>& TestUnits() { return ClasslibUnits(); }
