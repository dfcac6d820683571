// The menu program's start-up list: every unit with start-up work, in the
// system's start-up order. WinMain runs it before the entry's logic and
// finalises it, in reverse, after.
#pragma once

#include <vector>

#include "classlib/Units.h"

const std::vector<TUnitEntry>& AppUnits();
