// The framed library's control units that have start-up work, in start-up
// order. The program's list runs them after the foundation's.
#pragma once

#include <vector>

#include "classlib/Units.h"

const std::vector<TUnitEntry>& KxControlsUnits();
