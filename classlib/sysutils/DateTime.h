// Dates and times: TDateTime is a double counting days since 30 December 1899
// (the fraction is the time of day), as on the platform and in OLE.
//
// Now, Date, Time and the two-digit-year rule read the clock through
// Seams().LocalTime, so tests can fix "now".
#pragma once

#include <cstdint>
#include <string>

#include "classlib/Win.h"
#include "classlib/sysutils/Locale.h"

using TDateTime = double;
using TDate = TDateTime;
using TTime = TDateTime;

inline constexpr int HoursPerDay = 24;
inline constexpr int MinsPerHour = 60;
inline constexpr int SecsPerMin = 60;
inline constexpr int MSecsPerSec = 1000;
inline constexpr int MinsPerDay = HoursPerDay * MinsPerHour;
inline constexpr int SecsPerDay = MinsPerDay * SecsPerMin;
inline constexpr int MSecsPerDay = SecsPerDay * MSecsPerSec;
// Days from 1 January 0001 (day 1) to 30 December 1899 (TDateTime 0).
inline constexpr int DateDelta = 693594;

// Days of each month, [IsLeapYear(y)][month - 1].
inline constexpr WORD MonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                          {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

bool IsLeapYear(WORD year);

// Years 1 to 9999, months 1 to 12, days within the month; otherwise false
// (the Try forms) or EConvertError "Invalid argument to date encode".
bool TryEncodeDate(WORD year, WORD month, WORD day, TDateTime& date);
TDateTime EncodeDate(WORD year, WORD month, WORD day);
// Hours below 24, minutes and seconds below 60, milliseconds below 1000;
// otherwise false or EConvertError "Invalid argument to time encode".
bool TryEncodeTime(WORD hour, WORD min, WORD sec, WORD msec, TDateTime& time);
TDateTime EncodeTime(WORD hour, WORD min, WORD sec, WORD msec);

// Dates before 1 January 0001 (and values that are no date) decode as 0/0/0.
// The time part of a negative value is its distance from midnight.
void DecodeDate(TDateTime date, WORD& year, WORD& month, WORD& day);
void DecodeTime(TDateTime time, WORD& hour, WORD& min, WORD& sec, WORD& msec);

// A moment as a day number from 1 January 0001 (day 1) and milliseconds
// since midnight.
struct TTimeStamp {
  int Time = 0;
  int Date = 0;
};
// Rounded to the nearest millisecond (ties to even); the time of a negative
// TDateTime is its distance from midnight. A value that is no date (NaN,
// beyond a billion days) gives {0, 0}.
TTimeStamp DateTimeToTimeStamp(TDateTime dateTime);
// EConvertError "'%d.%d' is not a valid timestamp" (date, time) for a day
// before 1 January 0001 or a time outside one day.
TDateTime TimeStampToDateTime(const TTimeStamp& timeStamp);
// Milliseconds since the start of 1 January 0001 (day 1 begins at
// MSecsPerDay), and back.
int64_t TimeStampToMSecs(const TTimeStamp& timeStamp);
TTimeStamp MSecsToTimeStamp(int64_t msecs);

// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime date);
// The same day numberOfMonths later (or earlier), cut to the last day of a
// shorter month; the time of day is kept. A result outside the years 1 to
// 9999 raises EConvertError "Invalid argument to date encode".
TDateTime IncMonth(TDateTime date, int64_t numberOfMonths = 1);

TDateTime Now();
TDateTime Date();
TDateTime Time();
WORD CurrentYear();

// The platform's date/time pictures (letters in either case):
//   c  ShortDateFormat, then LongTimeFormat unless the time is midnight
//   d dd  day; ddd dddd short / long day name; ddddd ShortDateFormat;
//         dddddd LongDateFormat
//   m mm  month (minutes right after an h); mmm mmmm short / long month name
//   yy yyyy  year; h hh  hour; n nn  minute; s ss  second; z zzz  millisecond
//   t tt  ShortTimeFormat / LongTimeFormat
//   am/pm a/p  12-hour clock with these letters as written; ampm uses
//         TimeAMString / TimePMString
//   / :  DateSeparator / TimeSeparator;  'text' "text"  literal
// An empty picture is "c".
std::string FormatDateTime(const std::string& format, TDateTime dateTime, const TFormatSettings& fs = FormatSettings);
std::string DateToStr(TDateTime date, const TFormatSettings& fs = FormatSettings);
std::string TimeToStr(TDateTime time, const TFormatSettings& fs = FormatSettings);
std::string DateTimeToStr(TDateTime dateTime, const TFormatSettings& fs = FormatSettings);

// Dates are two or three numbers separated by DateSeparator in the order of
// ShortDateFormat (a missing year is this year; a one- or two-digit year
// falls in the window of TwoDigitYearCenturyWindow). Times are hours,
// optional minutes, seconds and milliseconds (after DecimalSeparator),
// separated by TimeSeparator, with TimeAMString/TimePMString or AM/PM before
// or after. Blanks may surround the parts. EConvertError "'%s' is not a valid
// date" / "time" / "date and time".
TDateTime StrToDate(const std::string& s, const TFormatSettings& fs = FormatSettings);
TDateTime StrToTime(const std::string& s, const TFormatSettings& fs = FormatSettings);
TDateTime StrToDateTime(const std::string& s, const TFormatSettings& fs = FormatSettings);
bool TryStrToDate(const std::string& s, TDateTime& value, const TFormatSettings& fs = FormatSettings);
bool TryStrToTime(const std::string& s, TDateTime& value, const TFormatSettings& fs = FormatSettings);
bool TryStrToDateTime(const std::string& s, TDateTime& value, const TFormatSettings& fs = FormatSettings);
