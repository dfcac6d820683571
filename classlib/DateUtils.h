// The DateUtils unit: stepping dates and times, ISO week numbers.
#pragma once

#include "classlib/dateutils/DateRoutines.h"
