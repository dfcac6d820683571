// The Unicode layer's units that have start-up work, in start-up order. The
// program's list runs them after the class library's.
#pragma once

#include <vector>

#include "classlib/Units.h"

const std::vector<TUnitEntry>& VoxUnits();
