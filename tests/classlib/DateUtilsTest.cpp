#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <limits>
#include <string>

#include "classlib/DateUtils.h"

namespace {

TDateTime DT(WORD y, WORD mo, WORD d, WORD h = 0, WORD mi = 0, WORD s = 0, WORD ms = 0) {
  return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, ms);
}

// The moment a value stands for, to the millisecond, whichever of the
// values for one moment it is.
std::string Moment(TDateTime v) {
  TDateTime clean = TimeStampToDateTime(DateTimeToTimeStamp(v));
  WORD y, mo, d, h, mi, s, ms;
  DecodeDate(clean, y, mo, d);
  DecodeTime(clean, h, mi, s, ms);
  char text[40];
  snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", y, mo, d, h, mi, s, ms);
  return text;
}

TEST(DateUtils, Steps) {
  const TDateTime before1900 = -1.25;  // 29 December 1899, 6:00
  struct {
    const char* what;
    TDateTime result;
    const char* moment;
  } cases[] = {
      {"year", IncYear(DT(2010, 3, 10, 14, 30)), "2011-03-10 14:30:00.000"},
      {"year from 29 February", IncYear(DT(2004, 2, 29, 6), 1), "2005-02-28 06:00:00.000"},
      {"years back", IncYear(DT(2004, 2, 29), -4), "2000-02-29 00:00:00.000"},
      {"day", IncDay(DT(2010, 12, 31, 23)), "2011-01-01 23:00:00.000"},
      {"days back", IncDay(DT(2010, 3, 1, 12), -1), "2010-02-28 12:00:00.000"},
      {"day across 30 December 1899", IncDay(before1900, 2), "1899-12-31 06:00:00.000"},
      {"day before 1900", IncDay(before1900, -1), "1899-12-28 06:00:00.000"},
      {"hour past midnight", IncHour(DT(2010, 3, 10, 23, 30)), "2010-03-11 00:30:00.000"},
      {"hours back past midnight", IncHour(DT(2010, 3, 10, 1, 15), -2), "2010-03-09 23:15:00.000"},
      {"hour before 1900", IncHour(before1900, 1), "1899-12-29 07:00:00.000"},
      {"hours across 30 December 1899", IncHour(before1900, 24 + 18), "1899-12-31 00:00:00.000"},
      {"minute past the hour", IncMinute(DT(2010, 3, 10, 14, 59, 30)), "2010-03-10 15:00:30.000"},
      {"minutes back past midnight", IncMinute(DT(2010, 3, 10), -1), "2010-03-09 23:59:00.000"},
      {"minute before 1900", IncMinute(before1900, -1), "1899-12-29 05:59:00.000"},
      {"a week of minutes", IncMinute(DT(2010, 3, 10, 8), 7 * 24 * 60), "2010-03-17 08:00:00.000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Moment(c.result), c.moment);
  }
  // Whole steps of a millisecond-exact value give the exact value.
  EXPECT_EQ(IncHour(DT(2010, 3, 10, 23), 2), DT(2010, 3, 11, 1));
  EXPECT_EQ(IncMinute(DT(2010, 3, 10, 23, 59), 1), DT(2010, 3, 11));
  EXPECT_EQ(IncDay(DT(2010, 3, 10, 0, 0, 0, 1), 1), DT(2010, 3, 11, 0, 0, 0, 1));
}

TEST(DateUtils, StepsOutsideTheYearsRaise) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct {
    const char* what;
    std::function<void()> step;
  } cases[] = {
      {"year 10000", [] { IncYear(DT(9999, 6, 1)); }},
      {"huge years", [] { IncYear(DT(2010, 1, 1), 2147483647); }},
      {"day 10000", [] { IncDay(DT(9999, 12, 31, 12)); }},
      {"before day 1", [] { IncDay(DT(1, 1, 1), -1); }},
      {"hour 10000", [] { IncHour(DT(9999, 12, 31, 23, 30)); }},
      {"huge hours", [] { IncHour(DT(2010, 1, 1), INT64_MAX); }},
      {"huge minutes back", [] { IncMinute(DT(2010, 1, 1), INT64_MIN); }},
      {"minute before day 1", [] { IncMinute(DT(1, 1, 1), -1); }},
      {"no date", [nan] { IncHour(nan); }},
      {"no date for a day", [nan] { IncDay(nan); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.step();
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.GetMessage(), "Invalid argument to date encode");
    }
  }
  EXPECT_EQ(Moment(IncMinute(DT(9999, 12, 31, 23, 58))), "9999-12-31 23:59:00.000");
}

TEST(DateUtils, WeekOfIsTheIsoWeek) {
  struct {
    WORD y, m, d;
    WORD week;
  } cases[] = {
      {2004, 12, 31, 53}, {2005, 1, 1, 53}, {2005, 1, 2, 53},  {2005, 1, 3, 1},   {2007, 12, 31, 1},
      {2008, 12, 29, 1},  {2009, 12, 31, 53}, {2010, 1, 3, 53}, {2010, 1, 4, 1},   {2010, 3, 10, 10},
      {1899, 12, 29, 52}, {1, 1, 1, 1},      {9999, 12, 31, 52}, {2012, 12, 30, 52}, {2012, 12, 31, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
    TDateTime date = EncodeDate(c.y, c.m, c.d);
    EXPECT_EQ(WeekOf(date), c.week);
    // The time of day changes nothing, before 1900 too.
    EXPECT_EQ(WeekOf(date >= 0 ? date + 0.99 : date - 0.99), c.week);
  }
  EXPECT_EQ(WeekOf(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(WeekOf(-700000), 0);
}

}  // namespace
