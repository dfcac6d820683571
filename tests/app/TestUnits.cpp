#include "app/AppUnits.h"

// The menu program's own start-up list, so that the tests run with every
// unit initialised as in the program.
const std::vector<TUnitEntry>& TestUnits() { return AppUnits(); }
