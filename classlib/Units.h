// The unit start-up list: ordered initialisation and finalisation of every
// unit that has start-up work.
#pragma once

#include "classlib/units/UnitGlobal.h"
#include "classlib/units/UnitList.h"
