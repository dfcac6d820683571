#include <gtest/gtest.h>

#include <limits>

#include "classlib/Seams.h"
#include "classlib/SysUtils.h"

namespace {

// A fixed clock (10 March 2010, 14:30:15.250) and fixed United States
// settings for each test, restored afterwards.
class SysUtilsDateTime : public ::testing::Test {
 protected:
  SysUtilsDateTime()
      : clock_(Seams().LocalTime, [](SYSTEMTIME& t) {
          t = {};
          t.wYear = 2010, t.wMonth = 3, t.wDay = 10, t.wDayOfWeek = 3;
          t.wHour = 14, t.wMinute = 30, t.wSecond = 15, t.wMilliseconds = 250;
        }) {}
  void SetUp() override {
    saved_ = FormatSettings;
    FormatSettings = TFormatSettings();
    FormatSettings.DateSeparator = '/';
    FormatSettings.TimeSeparator = ':';
    FormatSettings.DecimalSeparator = '.';
    FormatSettings.ShortDateFormat = "M/d/yyyy";
    FormatSettings.LongDateFormat = "dddd, MMMM d, yyyy";
    FormatSettings.ShortTimeFormat = "h:mm AMPM";
    FormatSettings.LongTimeFormat = "h:mm:ss AMPM";
    FormatSettings.TimeAMString = "AM";
    FormatSettings.TimePMString = "PM";
    FormatSettings.TwoDigitYearCenturyWindow = 50;
  }
  void TearDown() override { FormatSettings = saved_; }

  static TDateTime DT(WORD y, WORD mo, WORD d, WORD h = 0, WORD mi = 0, WORD s = 0, WORD ms = 0) {
    return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, ms);
  }

 private:
  TSeamOverride<std::function<void(SYSTEMTIME&)>> clock_;
  TFormatSettings saved_;
};

TEST_F(SysUtilsDateTime, EncodeDecodeRoundTrip) {
  struct {
    WORD y, m, d;
    double serial;
    int dayOfWeek;
  } cases[] = {
      {1899, 12, 30, 0, 7},  {1900, 1, 1, 2, 2},         {1900, 2, 28, 60, 4},  {1900, 3, 1, 61, 5},
      {2000, 2, 29, 36585, 3}, {2004, 12, 31, 38352, 6}, {1, 1, 1, -693593, 2}, {9999, 12, 31, 2958465, 6},
      {1600, 2, 29, -109512, 3}, {1899, 12, 29, -1, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
    TDateTime dt = EncodeDate(c.y, c.m, c.d);
    EXPECT_EQ(dt, c.serial);
    WORD y, m, d;
    DecodeDate(dt >= 0 ? dt + 0.75 : dt - 0.75, y, m, d);  // with a time of day
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(m, c.m);
    EXPECT_EQ(d, c.d);
    EXPECT_EQ(DayOfWeek(dt), c.dayOfWeek);
  }
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2004));
  EXPECT_EQ(MonthDays[IsLeapYear(2004)][1], 29);
}

TEST_F(SysUtilsDateTime, InvalidDatesAndTimesRaise) {
  struct {
    WORD y, m, d;
  } dates[] = {{1900, 2, 29}, {2001, 2, 29}, {2000, 13, 1}, {2000, 0, 1}, {0, 1, 1},
               {10000, 1, 1}, {2000, 4, 31}, {2000, 1, 0}};
  for (const auto& c : dates) {
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
    TDateTime dt = -1;
    EXPECT_FALSE(TryEncodeDate(c.y, c.m, c.d, dt));
    EXPECT_EQ(dt, -1);
    try {
      EncodeDate(c.y, c.m, c.d);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.GetMessage(), "Invalid argument to date encode");
    }
  }
  struct {
    WORD h, m, s, ms;
  } times[] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}};
  for (const auto& c : times) {
    SCOPED_TRACE(testing::Message() << c.h << ":" << c.m << ":" << c.s << "." << c.ms);
    TDateTime t;
    EXPECT_FALSE(TryEncodeTime(c.h, c.m, c.s, c.ms, t));
    EXPECT_THROW(EncodeTime(c.h, c.m, c.s, c.ms), EConvertError);
  }
  try {
    EncodeTime(24, 0, 0, 0);
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.GetMessage(), "Invalid argument to time encode");
  }
}

TEST_F(SysUtilsDateTime, DecodeTimeRoundsToTheMillisecond) {
  WORD h, m, s, ms;
  DecodeTime(EncodeTime(23, 59, 59, 999), h, m, s, ms);
  EXPECT_EQ(h, 23);
  EXPECT_EQ(m, 59);
  EXPECT_EQ(s, 59);
  EXPECT_EQ(ms, 999);
  // A negative value: the day before 30 December 1899, six hours in.
  WORD y, mo, d;
  DecodeDate(-1.25, y, mo, d);
  DecodeTime(-1.25, h, m, s, ms);
  EXPECT_EQ(d, 29);
  EXPECT_EQ(h, 6);
  // Before 1 January 0001 there is no date.
  DecodeDate(-700000, y, mo, d);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(mo, 0);
}

TEST_F(SysUtilsDateTime, IncMonthClampsToTheMonthEnd) {
  struct {
    TDateTime from;
    int months;
    TDateTime expected;
  } cases[] = {
      {DT(2003, 1, 31), 1, DT(2003, 2, 28)},  {DT(2004, 1, 31), 1, DT(2004, 2, 29)},
      {DT(2004, 3, 31), -1, DT(2004, 2, 29)}, {DT(2003, 12, 15), 1, DT(2004, 1, 15)},
      {DT(2004, 1, 15), -1, DT(2003, 12, 15)}, {DT(2004, 2, 29), 12, DT(2005, 2, 28)},
      {DT(2004, 5, 31), -25, DT(2002, 4, 30)}, {DT(2004, 5, 31, 18), 0, DT(2004, 5, 31, 18)},
      {DT(2004, 1, 31, 6, 30), 1, DT(2004, 2, 29, 6, 30)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << FormatDateTime("yyyy-mm-dd hh:nn", c.from) << " " << c.months);
    EXPECT_DOUBLE_EQ(IncMonth(c.from, c.months), c.expected);
  }
  EXPECT_THROW(IncMonth(DT(9999, 12, 1), 1), EConvertError);
  // A day before 30 December 1899 keeps its time counting from midnight.
  EXPECT_DOUBLE_EQ(IncMonth(-1.25, 1), DT(1900, 1, 29, 6));
  // Steps beyond any year raise instead of overflowing.
  for (int64_t months : {int64_t{2147483647}, int64_t{-2147483647} - 1, INT64_MAX, INT64_MIN,
                         int64_t{-2004} * 12, int64_t{8000} * 12}) {
    SCOPED_TRACE(months);
    EXPECT_THROW(IncMonth(DT(2004, 1, 31), months), EConvertError);
  }
  EXPECT_DOUBLE_EQ(IncMonth(DT(2004, 1, 31), -2003 * 12), DT(1, 1, 31));
  EXPECT_DOUBLE_EQ(IncMonth(DT(2004, 1, 31), 7995 * 12 + 11), DT(9999, 12, 31));
}

TEST_F(SysUtilsDateTime, TimeStampsCountFromTheFirstDayAndForwardWithinEachDay) {
  struct {
    TDateTime value;
    int date, time;
  } cases[] = {
      {0, DateDelta, 0},
      {DT(2010, 3, 10, 14, 30, 15, 250), DateDelta + 40247, 52215250},
      {-1.25, DateDelta - 1, 21600000},  // 29 December 1899, 6:00
      {-0.5, DateDelta, 43200000},       // the same as +0.5
      {EncodeDate(1, 1, 1), 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    TTimeStamp ts = DateTimeToTimeStamp(c.value);
    EXPECT_EQ(ts.Date, c.date);
    EXPECT_EQ(ts.Time, c.time);
    EXPECT_EQ(TimeStampToMSecs(ts), int64_t{c.date} * MSecsPerDay + c.time);
    TTimeStamp back = MSecsToTimeStamp(TimeStampToMSecs(ts));
    EXPECT_EQ(back.Date, c.date);
    EXPECT_EQ(back.Time, c.time);
    EXPECT_DOUBLE_EQ(TimeStampToDateTime(ts), c.value == -0.5 ? 0.5 : c.value);
  }
  TTimeStamp before = MSecsToTimeStamp(-1);
  EXPECT_EQ(before.Date, -1);
  EXPECT_EQ(before.Time, MSecsPerDay - 1);
  for (TTimeStamp bad : {TTimeStamp{0, 0}, TTimeStamp{-1, 5}, TTimeStamp{MSecsPerDay, 5}}) {
    SCOPED_TRACE(testing::Message() << bad.Date << "." << bad.Time);
    try {
      TimeStampToDateTime(bad);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.GetMessage(), "'" + IntToStr(bad.Date) + "." + IntToStr(bad.Time) + "' is not a valid timestamp");
    }
  }
  EXPECT_EQ(DateTimeToTimeStamp(std::numeric_limits<double>::quiet_NaN()).Date, 0);
}

TEST_F(SysUtilsDateTime, NowReadsTheClockSeam) {
  EXPECT_DOUBLE_EQ(Now(), DT(2010, 3, 10, 14, 30, 15, 250));
  EXPECT_DOUBLE_EQ(Date(), DT(2010, 3, 10));
  EXPECT_DOUBLE_EQ(Time(), EncodeTime(14, 30, 15, 250));
  EXPECT_EQ(CurrentYear(), 2010);
}

TEST_F(SysUtilsDateTime, FormatDateTimeCodes) {
  // Friday 4 July 2003, 15:05:09.045.
  const TDateTime dt = DT(2003, 7, 4, 15, 5, 9, 45);
  struct {
    const char* format;
    const char* expected;
  } cases[] = {
      {"yyyy-mm-dd hh:nn:ss.zzz", "2003-07-04 15:05:09.045"},
      {"d/m/yy", "4/7/03"},
      {"y", "03"},
      {"ddd dddd mmm mmmm", "Fri Friday Jul July"},
      {"DD MM YYYY", "04 07 2003"},
      {"h:m:s z", "15:5:9 45"},
      {"hh:mm", "15:05"},  // m after h is the minute
      {"h:mm am/pm", "3:05 pm"},
      {"hh:mm AM/PM", "03:05 PM"},
      {"h a/p", "3 p"},
      {"h:nn ampm", "3:05 PM"},
      {"ampm h", "PM 3"},
      {"h 'a' ampm", "3 a PM"},  // quoted text does not count as a marker
      {"ddddd", "7/4/2003"},
      {"dddddd", "Friday, July 4, 2003"},
      {"t", "3:05 PM"},
      {"tt", "3:05:09 PM"},
      {"c", "7/4/2003 3:05:09 PM"},
      {"", "7/4/2003 3:05:09 PM"},
      {"'yyyy' \"mm\" yyyy", "yyyy mm 2003"},
      {"yyyy*Q!", "2003*Q!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_EQ(FormatDateTime(c.format, dt), c.expected);
  }
  EXPECT_EQ(FormatDateTime("h am/pm", DT(2003, 7, 4, 0, 30)), "12 am");
  EXPECT_EQ(FormatDateTime("h am/pm", DT(2003, 7, 4, 12)), "12 pm");
  EXPECT_EQ(FormatDateTime("c", DT(2003, 7, 4)), "7/4/2003");

  FormatSettings.DateSeparator = '-';
  FormatSettings.TimeSeparator = '.';
  EXPECT_EQ(FormatDateTime("d/m/yy h:nn", dt), "4-7-03 15.05");
  EXPECT_EQ(DateToStr(dt), "7-4-2003");
  EXPECT_EQ(TimeToStr(dt), "3.05.09 PM");
  EXPECT_EQ(DateTimeToStr(dt), "7-4-2003 3.05.09 PM");
}

TEST_F(SysUtilsDateTime, FormatDateTimeStopsNestedSettings) {
  // A setting that names itself ends: pictures nest two levels deep.
  FormatSettings.ShortDateFormat = "ddddd!";
  EXPECT_EQ(FormatDateTime("ddddd", DT(2003, 7, 4)), "!");
  EXPECT_EQ(FormatDateTime("<ddddd>", DT(2003, 7, 4)), "<!>");
}

TEST_F(SysUtilsDateTime, StrToDateFollowsTheSettingsOrder) {
  struct {
    const char* shortFormat;
    char separator;
    const char* text;
    TDateTime expected;  // 0: invalid
  } cases[] = {
      {"M/d/yyyy", '/', "12/25/2003", DT(2003, 12, 25)},
      {"M/d/yyyy", '/', " 1 / 2 / 2003 ", DT(2003, 1, 2)},
      {"M/d/yyyy", '/', "12/25", DT(2010, 12, 25)},  // this year
      {"M/d/yyyy", '/', "1/2/03", DT(2003, 1, 2)},
      {"M/d/yyyy", '/', "1/2/60", DT(1960, 1, 2)},  // the window starts 50 years back
      {"M/d/yyyy", '/', "1/2/59", DT(2059, 1, 2)},
      {"M/d/yyyy", '/', "1/2/003", DT(3, 1, 2)},  // three digits are a full year
      {"dd.MM.yyyy", '.', "25.12.2003", DT(2003, 12, 25)},
      {"dd.MM.yyyy", '.', "25.12", DT(2010, 12, 25)},
      {"yyyy-MM-dd", '-', "2003-12-25", DT(2003, 12, 25)},
      {"yyyy-MM-dd", '-', "12-25", DT(2010, 12, 25)},
      {"M/d/yyyy", '/', "25/12/2003", 0},
      {"M/d/yyyy", '/', "2/30/2003", 0},
      {"M/d/yyyy", '/', "1/2/2003x", 0},
      {"M/d/yyyy", '/', "1/2/", 0},
      {"M/d/yyyy", '/', "", 0},
      {"M/d/yyyy", '/', "12", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.shortFormat) + " " + c.text);
    FormatSettings.ShortDateFormat = c.shortFormat;
    FormatSettings.DateSeparator = c.separator;
    TDateTime v = -1;
    EXPECT_EQ(TryStrToDate(c.text, v), c.expected != 0);
    if (c.expected != 0) {
      EXPECT_EQ(v, c.expected);
    }
  }
  FormatSettings.ShortDateFormat = "M/d/yyyy";
  FormatSettings.DateSeparator = '/';
  FormatSettings.TwoDigitYearCenturyWindow = 0;
  EXPECT_EQ(StrToDate("1/2/75"), DT(2075, 1, 2));
  try {
    StrToDate("abc");
    ADD_FAILURE() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.GetMessage(), "'abc' is not a valid date");
  }
}

TEST_F(SysUtilsDateTime, StrToTimeAndDateTime) {
  struct {
    const char* text;
    TDateTime expected;  // -1: invalid
  } times[] = {
      {"15:05", EncodeTime(15, 5, 0, 0)},
      {"3:05 PM", EncodeTime(15, 5, 0, 0)},
      {"3:05:09 pm", EncodeTime(15, 5, 9, 0)},
      {"AM 12:30", EncodeTime(0, 30, 0, 0)},
      {"12 PM", EncodeTime(12, 0, 0, 0)},
      {"1:2:3.4", EncodeTime(1, 2, 3, 4)},
      {"7", EncodeTime(7, 0, 0, 0)},
      {"13 PM", -1},
      {"0 AM", -1},
      {"25:00", -1},
      {"10:75", -1},
      {"abc", -1},
      {"", -1},
      {"3:05 XM", -1},
  };
  for (const auto& c : times) {
    SCOPED_TRACE(c.text);
    TDateTime v = -2;
    EXPECT_EQ(TryStrToTime(c.text, v), c.expected != -1);
    if (c.expected != -1) {
      EXPECT_DOUBLE_EQ(v, c.expected);
    }
  }
  EXPECT_DOUBLE_EQ(StrToDateTime("7/4/2003 3:05 PM"), DT(2003, 7, 4, 15, 5));
  EXPECT_DOUBLE_EQ(StrToDateTime("7/4/2003"), DT(2003, 7, 4));
  EXPECT_DOUBLE_EQ(StrToDateTime("15:05"), EncodeTime(15, 5, 0, 0));
  try {
    StrToDateTime("7/4/2003 x");
    ADD_FAILURE() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.GetMessage(), "'7/4/2003 x' is not a valid date and time");
  }
  try {
    StrToTime("x");
    ADD_FAILURE() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.GetMessage(), "'x' is not a valid time");
  }
  // What DateTimeToStr writes, StrToDateTime reads back.
  TDateTime dt = DT(1999, 11, 30, 23, 59, 58);
  EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(dt)), dt);
}

TEST(SysUtilsLocale, SettingsComeFromTheLocale) {
  TFormatSettings us;
  GetLocaleFormatSettings(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT), us);
  EXPECT_EQ(us.DecimalSeparator, '.');
  EXPECT_EQ(us.DateSeparator, '/');
  EXPECT_EQ(us.ShortDateFormat, "M/d/yyyy");
  EXPECT_EQ(us.LongTimeFormat, "h:mm:ss AMPM");
  EXPECT_EQ(us.ShortTimeFormat, "h:mm AMPM");
  EXPECT_EQ(us.TimePMString, "PM");
  EXPECT_EQ(us.LongMonthNames[0], "January");
  EXPECT_EQ(us.ShortDayNames[0], "Sun");
  EXPECT_EQ(us.LongDayNames[6], "Saturday");

  TFormatSettings de;
  GetLocaleFormatSettings(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT), de);
  EXPECT_EQ(de.DecimalSeparator, ',');
  EXPECT_EQ(de.ThousandSeparator, '.');
  EXPECT_EQ(de.DateSeparator, '.');
  EXPECT_EQ(de.LongTimeFormat, "hh:mm:ss");  // 24-hour clock with leading zero
  EXPECT_EQ(de.LongDayNames[0], "Sonntag");
  EXPECT_EQ(de.LongDayNames[1], "Montag");
}

TEST(SysUtilsLocale, StartUpReadsThePlatformAndTheUserLocale) {
  TFormatSettings saved = FormatSettings;
  FormatSettings = TFormatSettings();
  FormatSettings.ShortDateFormat = "x";
  SysUtils::Initialize();
  TFormatSettings read = FormatSettings;
  FormatSettings = saved;
  EXPECT_EQ(Win32Platform, VER_PLATFORM_WIN32_NT);
  EXPECT_GE(Win32MajorVersion, 5);
  EXPECT_EQ(SysLocale.DefaultLCID, GetThreadLocale());
  // The test environment pins the en-US locale.
  EXPECT_EQ(read.ShortDateFormat, "M/d/yyyy");
  EXPECT_EQ(read.LongTimeFormat, "h:mm:ss AMPM");
}

}  // namespace
