// Helpers of the pop-up unit's tests: the format settings and today's date
// pinned for a test, dates written as tests read them.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "classlib/Seams.h"
#include "classlib/SysUtils.h"

namespace kxp_test {

// The format settings of the test locale (en-US), restored afterwards; a
// test changes the record, never the machine.
class TPinnedFormats {
 public:
  TPinnedFormats() : saved_(FormatSettings) {
    FormatSettings = TFormatSettings();
    FormatSettings.ShortDateFormat = "M/d/yyyy";
    FormatSettings.LongTimeFormat = "h:mm:ss AMPM";
    FormatSettings.DateSeparator = '/';
    FormatSettings.TimeSeparator = ':';
  }
  ~TPinnedFormats() { FormatSettings = saved_; }
  TPinnedFormats(const TPinnedFormats&) = delete;
  TPinnedFormats& operator=(const TPinnedFormats&) = delete;

 private:
  TFormatSettings saved_;
};

// The local clock stands at a fixed moment while the object lives.
class TPinnedToday {
 public:
  TPinnedToday(WORD year, WORD month, WORD day, WORD hour = 10, WORD minute = 0)
      : clock_(Seams().LocalTime, [=](SYSTEMTIME& t) {
          t = SYSTEMTIME{};
          t.wYear = year;
          t.wMonth = month;
          t.wDay = day;
          t.wHour = hour;
          t.wMinute = minute;
        }) {}

 private:
  TSeamOverride<decltype(Seams().LocalTime)> clock_;
};

// "yyyy-mm-dd" (or "0" for no date), for messages.
inline std::string Ymd(TDateTime d) {
  if (d == 0) return "0";
  return FormatDateTime("yyyy-mm-dd", d);
}
inline std::string Hms(TDateTime t) { return FormatDateTime("hh:nn:ss.zzz", t); }

}  // namespace kxp_test
