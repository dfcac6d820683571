#include "classlib/dateutils/DateRoutines.h"

#include <cmath>

namespace {

// Day numbers of the time stamps (1 January 0001 is day 1).
constexpr int kFirstDay = 1;
constexpr int kLastDay = DateDelta + 2958465;  // 31 December 9999

[[noreturn]] void OutOfRange() { throw EConvertError(SysConst::SDateEncodeError); }

// value moved by count units of unit milliseconds, through its time stamp,
// whose time counts forward from midnight whatever the sign of value.
TDateTime IncMSecs(TDateTime value, int64_t count, int64_t unit) {
  const TTimeStamp from = DateTimeToTimeStamp(value);
  if (from.Date < kFirstDay || from.Date > kLastDay) OutOfRange();
  // Checked before multiplying, so that no count can overflow.
  const int64_t span = int64_t{kLastDay - kFirstDay + 1} * MSecsPerDay;
  if (count > span / unit || count < -(span / unit)) OutOfRange();
  const TTimeStamp to = MSecsToTimeStamp(TimeStampToMSecs(from) + count * unit);
  if (to.Date < kFirstDay || to.Date > kLastDay) OutOfRange();
  return TimeStampToDateTime(to);
}

}  // namespace

TDateTime IncYear(TDateTime value, int numberOfYears) { return IncMonth(value, int64_t{numberOfYears} * 12); }

TDateTime IncDay(TDateTime value, int numberOfDays) {
  // The day moves and the fraction stays as it is (not rounded to the
  // millisecond), the time counted from midnight as on the platform.
  const TTimeStamp from = DateTimeToTimeStamp(value);
  if (from.Date < kFirstDay || from.Date > kLastDay) OutOfRange();
  const int64_t day = int64_t{from.Date} + numberOfDays;
  if (day < kFirstDay || day > kLastDay) OutOfRange();
  const double date = std::trunc(value) + numberOfDays;
  const double time = std::fabs(value - std::trunc(value));
  return date >= 0 ? date + time : date - time;
}

TDateTime IncHour(TDateTime value, int64_t numberOfHours) {
  return IncMSecs(value, numberOfHours, int64_t{MinsPerHour} * SecsPerMin * MSecsPerSec);
}

TDateTime IncMinute(TDateTime value, int64_t numberOfMinutes) {
  return IncMSecs(value, numberOfMinutes, int64_t{SecsPerMin} * MSecsPerSec);
}

WORD WeekOf(TDateTime value) {
  const int day = DateTimeToTimeStamp(value).Date;
  if (day < kFirstDay || day > kLastDay) return 0;
  // Day 1 was a Monday. The week belongs to the year of its Thursday.
  const int thursday = day - (day - 1) % 7 + 3;
  WORD year, month, dayOfMonth;
  DecodeDate(TimeStampToDateTime(TTimeStamp{0, thursday}), year, month, dayOfMonth);
  const int firstOfYear = static_cast<int>(EncodeDate(year, 1, 1)) + DateDelta;
  return static_cast<WORD>((thursday - firstOfYear) / 7 + 1);
}
