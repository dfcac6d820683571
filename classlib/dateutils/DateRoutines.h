// The DateUtils unit: stepping dates and times, and ISO week numbers.
//
// The steps keep a TDateTime's time of day as the platform keeps it: counted
// forward from midnight, also for days before 30 December 1899, whose values
// are negative. A result outside 1 January 0001 to 31 December 9999 (or a
// value that is no date) raises EConvertError "Invalid argument to date
// encode", as IncMonth and EncodeDate do.
#pragma once

#include <cstdint>

#include "classlib/SysUtils.h"

// IncMonth by twelve months a year: 29 February becomes the 28th in a
// common year.
TDateTime IncYear(TDateTime value, int numberOfYears = 1);
TDateTime IncDay(TDateTime value, int numberOfDays = 1);
// To the millisecond; a step past midnight moves the date.
TDateTime IncHour(TDateTime value, int64_t numberOfHours = 1);
TDateTime IncMinute(TDateTime value, int64_t numberOfMinutes = 1);

// The ISO 8601 week of the year, 1 to 53: weeks begin on Monday and week 1
// holds the year's first Thursday, so the first days of January may be in
// week 52 or 53 and the last days of December in week 1. 0 for a value that
// is no date.
WORD WeekOf(TDateTime value);
