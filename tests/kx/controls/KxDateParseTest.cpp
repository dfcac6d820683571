// The forgiving date and time parsers: numbers and names in the order of
// the user's formats, today filling what is missing, the two-digit-year
// window, AM/PM, invalid and overlong numbers.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "kx/controls/KxPopups.h"
#include "tests/kx/controls/KxPopupsTestSupport.h"

using namespace kxp_test;

namespace {

struct TDateCase {
  const char* Format;  // ShortDateFormat
  const char* Text;
  const char* Expected;  // yyyy-mm-dd, or "0"
};

TEST(KxDateParse, ReadsLooseDatesInTheOrderOfTheShortDateFormat) {
  TPinnedFormats formats;
  TPinnedToday today(2024, 6, 15);
  const TDateCase cases[] = {
      {"M/d/yyyy", "12/25/2003", "2003-12-25"},
      // 25 cannot be a month: it goes to the day, then 12 to the month.
      {"M/d/yyyy", "25/12/2003", "2003-12-25"},
      {"M/d/yyyy", "", "0"},
      {"M/d/yyyy", "   ", "0"},
      {"M/d/yyyy", "jan 3", "2024-01-03"},
      {"d/M/yyyy", "jan 3", "2024-01-03"},
      {"d/M/yyyy", "3 jan", "2024-01-03"},
      // The 3 is the month; the name then sets January, so the day stays today's.
      {"M/d/yyyy", "3 jan", "2024-01-15"},
      {"M/d/yyyy", "December 25", "2024-12-25"},
      {"M/d/yyyy", "7", "2024-07-15"},
      {"M/d/yyyy", "7-4", "2024-07-04"},
      // Runs of digits without a separator: 1 + 2, 2 + 2, 1 + 2 + 2, 2 + 2 + 2.
      {"M/d/yyyy", "704", "2024-07-04"},
      {"M/d/yyyy", "0704", "2024-07-04"},
      {"M/d/yyyy", "70403", "2003-07-04"},
      {"d/M/yyyy", "311299", "1999-12-31"},
      // With a separator typed, a run is one number.
      {"M/d/yyyy", "7/2003", "2003-07-15"},
      {"M/d/yyyy", "2003/7/4", "2003-07-04"},
      // Without one, four digits are two numbers even when they look like a year.
      {"M/d/yyyy", "2003 7 4", "2007-03-20"},
      // A number above 12 is never a month: two of them both go to the day.
      {"M/d/yyyy", "13/13/2003", "2003-06-13"},
      // Two-digit years fall in the window around this year (1974..2073).
      {"M/d/yyyy", "1/2/73", "2073-01-02"},
      {"M/d/yyyy", "1/2/74", "1974-01-02"},
      {"M/d/yyyy", "1/2/03", "2003-01-02"},
      {"M/d/yyyy", "1/2/0003", "2003-01-02"},
      {"M/d/yyyy", "1/2/100", "0100-01-02"},
      // Invalid days give no date.
      {"M/d/yyyy", "2/30/2003", "0"},
      {"M/d/yyyy", "3/45/2003", "0"},
      {"M/d/yyyy", "0/0/2003", "0"},
      {"M/d/yyyy", "2/29/2023", "0"},
      {"M/d/yyyy", "2/29/2024", "2024-02-29"},
      {"M/d/yyyy", "1/1/10000", "0"},
      // Numbers beyond a 16-bit field make the text invalid; they do not
      // wrap into another valid date (70000 would be 4464, 65537 the 1st).
      {"M/d/yyyy", "1/1/70000", "0"},
      {"M/d/yyyy", "65537/1/2000", "0"},
      {"M/d/yyyy", "1/65537/2000", "0"},
      {"M/d/yyyy", "hello", "2024-06-15"},
  };
  for (const TDateCase& c : cases) {
    SCOPED_TRACE(std::string(c.Format) + " '" + c.Text + "'");
    FormatSettings.ShortDateFormat = c.Format;
    EXPECT_EQ(Ymd(StrToDateEx(c.Text)), c.Expected);
  }
}

TEST(KxDateParse, TakesTheSettingsRecordsSeparatorAndMonthNames) {
  TPinnedFormats formats;
  TPinnedToday today(2024, 6, 15);
  FormatSettings.ShortDateFormat = "dd.MM.yyyy";
  FormatSettings.DateSeparator = '.';
  FormatSettings.ShortMonthNames[4] = "Mai";
  FormatSettings.LongMonthNames[2] = "Maerz";
  EXPECT_EQ(Ymd(StrToDateEx("5. mai 2004")), "2004-05-05");
  EXPECT_EQ(Ymd(StrToDateEx("MAERZ 9")), "2024-03-09");
  // The US names are always understood, whatever the settings say.
  EXPECT_EQ(Ymd(StrToDateEx("9 march")), "2024-03-09");
  EXPECT_EQ(Ymd(StrToDateEx("31.12.99")), "1999-12-31");
  // A '.' typed is a separator: "0704" followed by one is one number.
  EXPECT_EQ(Ymd(StrToDateEx("0704.")), "0");
}

TEST(KxDateParse, ADigitRunBeyond32BitsRaisesTheConversionError) {
  TPinnedFormats formats;
  TPinnedToday today(2024, 6, 15);
  EXPECT_THROW(StrToDateEx("1/1/99999999999"), EConvertError);
  EXPECT_THROW(StrToTimeEx("99999999999"), EConvertError);
  // Within 32 bits the text is only invalid.
  EXPECT_EQ(StrToDateEx("1/1/2147483647"), 0);
}

struct TTimeCase {
  const char* Format;  // LongTimeFormat
  const char* Text;
  const char* Expected;  // hh:nn:ss.zzz
};

TEST(KxDateParse, ReadsLooseTimesInTheOrderOfTheLongTimeFormat) {
  TPinnedFormats formats;
  const TTimeCase cases[] = {
      {"h:mm:ss AMPM", "1230p", "12:30:00.000"},
      {"h:mm:ss AMPM", "12a", "00:00:00.000"},
      {"h:mm:ss AMPM", "12:00 AM", "00:00:00.000"},
      {"h:mm:ss AMPM", "12:15 pm", "12:15:00.000"},
      {"h:mm:ss AMPM", "9:15 PM", "21:15:00.000"},
      {"h:mm:ss AMPM", "pm 9", "21:00:00.000"},
      {"h:mm:ss AMPM", "7:5", "07:05:00.000"},
      {"h:mm:ss AMPM", "930", "09:30:00.000"},
      {"h:mm:ss AMPM", "1234", "12:34:00.000"},
      {"h:mm:ss AMPM", "1:2:3", "01:02:03.000"},
      {"h:mm:ss AMPM", "25:00", "01:00:00.000"},
      {"h:mm:ss AMPM", "49", "01:00:00.000"},
      {"h:mm:ss AMPM", "10:75", "10:00:00.000"},
      {"h:mm:ss AMPM", "10:15:99", "10:15:00.000"},
      {"h:mm:ss AMPM", "", "00:00:00.000"},
      {"h:mm:ss AMPM", "x", "00:00:00.000"},
      {"HH:mm:ss", "14:30", "14:30:00.000"},
      // A millisecond field: "5" there is 5 ms, "1234" is cut to 123.
      {"hh:nn:ss.zzz", "1:2:3.5", "01:02:03.005"},
      {"hh:nn:ss.zzz", "1:2:3.1234", "01:02:03.123"},
      {"hh:nn:ss.zzz", "1:2:3.999999", "01:02:03.999"},
  };
  for (const TTimeCase& c : cases) {
    SCOPED_TRACE(std::string(c.Format) + " '" + c.Text + "'");
    FormatSettings.LongTimeFormat = c.Format;
    EXPECT_EQ(Hms(StrToTimeEx(c.Text)), c.Expected);
  }
}

TEST(KxDateParse, UnderstandsTheSettingsRecordsAmAndPmStrings) {
  TPinnedFormats formats;
  FormatSettings.TimeAMString = "vorm";
  FormatSettings.TimePMString = "nachm";
  EXPECT_EQ(Hms(StrToTimeEx("5 nachm")), "17:00:00.000");
  EXPECT_EQ(Hms(StrToTimeEx("12:10 VORM")), "00:10:00.000");
  // "A" and "P" keep working; the first indicator counts.
  EXPECT_EQ(Hms(StrToTimeEx("5p a")), "17:00:00.000");
}

}  // namespace
