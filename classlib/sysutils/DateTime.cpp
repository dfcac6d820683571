#include "classlib/sysutils/DateTime.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "classlib/Exceptions.h"
#include "classlib/Seams.h"
#include "classlib/sysutils/Format.h"
#include "classlib/sysutils/StringRoutines.h"
#include "classlib/sysutils/SysConst.h"

// The platform rounds to the nearest millisecond (ties to even), divides
// with truncation and keeps the time as a positive distance from midnight.
TTimeStamp DateTimeToTimeStamp(TDateTime dt) {
  TTimeStamp t;
  // Beyond these bounds (and for NaN) there is no date to speak of.
  if (!(std::fabs(dt) < 1e9)) return t;
  int64_t ms = static_cast<int64_t>(std::nearbyint(dt * MSecsPerDay));
  t.Date = static_cast<int>(ms / MSecsPerDay + DateDelta);
  t.Time = static_cast<int>(std::llabs(ms % MSecsPerDay));
  return t;
}

TDateTime TimeStampToDateTime(const TTimeStamp& ts) {
  if (ts.Date < 1 || ts.Time < 0 || ts.Time >= MSecsPerDay)
    throw EConvertError(Format(SysConst::SInvalidTimeStamp, {ts.Date, ts.Time}));
  // Days before 30 December 1899 are negative, their time still counts
  // forward from midnight.
  const double day = static_cast<double>(ts.Date - DateDelta);
  const double time = static_cast<double>(ts.Time) / MSecsPerDay;
  return day < 0 ? day - time : day + time;
}

int64_t TimeStampToMSecs(const TTimeStamp& ts) { return int64_t{ts.Date} * MSecsPerDay + ts.Time; }

TTimeStamp MSecsToTimeStamp(int64_t msecs) {
  // Floored, so that the time stays within the day for any input.
  int64_t date = msecs / MSecsPerDay, time = msecs % MSecsPerDay;
  if (time < 0) time += MSecsPerDay, --date;
  TTimeStamp t;
  t.Date = static_cast<int>(date);
  t.Time = static_cast<int>(time);
  return t;
}

namespace {

SYSTEMTIME LocalNow() {
  SYSTEMTIME st = {};
  Seams().LocalTime(st);
  return st;
}

}  // namespace

bool IsLeapYear(WORD year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

bool TryEncodeDate(WORD year, WORD month, WORD day, TDateTime& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
  const WORD* table = MonthDays[IsLeapYear(year)];
  if (day < 1 || day > table[month - 1]) return false;
  int days = day;
  for (int i = 0; i < month - 1; ++i) days += table[i];
  int y = year - 1;
  date = static_cast<double>(y * 365 + y / 4 - y / 100 + y / 400 + days - DateDelta);
  return true;
}

TDateTime EncodeDate(WORD year, WORD month, WORD day) {
  TDateTime d;
  if (!TryEncodeDate(year, month, day, d)) throw EConvertError(SysConst::SDateEncodeError);
  return d;
}

bool TryEncodeTime(WORD hour, WORD min, WORD sec, WORD msec, TDateTime& time) {
  if (hour >= HoursPerDay || min >= MinsPerHour || sec >= SecsPerMin || msec >= MSecsPerSec) return false;
  time = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(WORD hour, WORD min, WORD sec, WORD msec) {
  TDateTime t;
  if (!TryEncodeTime(hour, min, sec, msec, t)) throw EConvertError(SysConst::STimeEncodeError);
  return t;
}

void DecodeDate(TDateTime date, WORD& year, WORD& month, WORD& day) {
  int64_t t = DateTimeToTimeStamp(date).Date;
  if (t <= 0) {
    year = month = day = 0;
    return;
  }
  constexpr int64_t D1 = 365, D4 = D1 * 4 + 1, D100 = D4 * 25 - 1, D400 = D100 * 4 + 1;
  --t;
  int64_t y = 1 + t / D400 * 400;
  t %= D400;
  int64_t i = t / D100, d = t % D100;
  if (i == 4) --i, d += D100;  // the last day of a 400-year cycle
  y += i * 100;
  y += d / D4 * 4;
  d %= D4;
  i = d / D1;
  d %= D1;
  if (i == 4) --i, d += D1;  // the last day of a leap cycle
  y += i;
  const WORD* table = MonthDays[IsLeapYear(static_cast<WORD>(y))];
  int m = 0;
  while (d >= table[m]) d -= table[m++];
  year = static_cast<WORD>(y);
  month = static_cast<WORD>(m + 1);
  day = static_cast<WORD>(d + 1);
}

void DecodeTime(TDateTime time, WORD& hour, WORD& min, WORD& sec, WORD& msec) {
  int ms = DateTimeToTimeStamp(time).Time;
  hour = static_cast<WORD>(ms / 3600000);
  min = static_cast<WORD>(ms / 60000 % 60);
  sec = static_cast<WORD>(ms / 1000 % 60);
  msec = static_cast<WORD>(ms % 1000);
}

int DayOfWeek(TDateTime date) {
  // Day 1 (1 January 0001) was a Monday.
  int64_t d = DateTimeToTimeStamp(date).Date % 7;
  if (d < 0) d += 7;
  return static_cast<int>(d) + 1;
}

TDateTime IncMonth(TDateTime date, int64_t numberOfMonths) {
  WORD year, month, day;
  DecodeDate(date, year, month, day);
  // Counted in 64 bits: any step beyond ten thousand years fails below.
  const int64_t limit = int64_t{10000} * 12;
  if (numberOfMonths < -limit || numberOfMonths > limit) throw EConvertError(SysConst::SDateEncodeError);
  const int64_t total = int64_t{year} * 12 + (month - 1) + numberOfMonths;
  if (total < 12 || total >= limit) throw EConvertError(SysConst::SDateEncodeError);
  const int y = static_cast<int>(total / 12), m = static_cast<int>(total % 12) + 1;
  WORD last = MonthDays[IsLeapYear(static_cast<WORD>(y))][m - 1];
  TDateTime result = EncodeDate(static_cast<WORD>(y), static_cast<WORD>(m), day > last ? last : day);
  double time = std::fabs(date - std::trunc(date));
  return result >= 0 ? result + time : result - time;
}

TDateTime Now() {
  SYSTEMTIME st = LocalNow();
  return EncodeDate(st.wYear, st.wMonth, st.wDay) + EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}

TDateTime Date() {
  SYSTEMTIME st = LocalNow();
  return EncodeDate(st.wYear, st.wMonth, st.wDay);
}

TDateTime Time() {
  SYSTEMTIME st = LocalNow();
  return EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}

WORD CurrentYear() {
  SYSTEMTIME st = LocalNow();
  return st.wYear;
}

// ---------------------------------------------------------------------------
// FormatDateTime

namespace {

class TDateFormatter {
 public:
  TDateFormatter(TDateTime dt, const TFormatSettings& fs) : dt_(dt), fs_(fs) {
    DecodeDate(dt, year_, month_, day_);
    DecodeTime(dt, hour_, min_, sec_, msec_);
  }

  std::string Run(const std::string& format) {
    Append(format.empty() ? std::string_view("c") : std::string_view(format));
    return out_;
  }

 private:
  static bool StartsWithNoCase(std::string_view s, size_t i, std::string_view word) {
    if (s.size() - i < word.size()) return false;
    for (size_t k = 0; k < word.size(); ++k) {
      char c = s[i + k];
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
      if (c != word[k]) return false;
    }
    return true;
  }

  void Number(int value, int digits) { out_ += Format("%.*d", {digits, value}); }

  void Append(std::string_view f) {
    // Nested pictures (ddddd inside c inside ...) stop at the second level,
    // so a setting that names itself cannot recurse for ever.
    if (level_ >= 2) return;
    ++level_;
    char lastToken = ' ';
    bool use12Hour = false;
    size_t i = 0;
    while (i < f.size()) {
      char starter = f[i++];
      char token = starter;
      if (token >= 'a' && token <= 'z') token = static_cast<char>(token - 32);
      if (token >= 'A' && token <= 'Z') {
        if (token == 'M' && lastToken == 'H') token = 'N';
        lastToken = token;
      }
      // Repeats of the same character as written.
      auto count = [&] {
        int n = 1;
        while (i < f.size() && f[i] == starter) ++i, ++n;
        return n;
      };
      switch (token) {
        case 'Y': {
          int n = count();
          if (n <= 2)
            Number(year_ % 100, 2);
          else
            Number(year_, 4);
          break;
        }
        case 'M': {
          int n = count();
          if (month_ == 0 && n >= 3) break;
          if (n <= 2)
            Number(month_, n);
          else if (n == 3)
            out_ += fs_.ShortMonthNames[month_ - 1];
          else
            out_ += fs_.LongMonthNames[month_ - 1];
          break;
        }
        case 'D': {
          int n = count();
          if (n <= 2)
            Number(day_, n);
          else if (n == 3)
            out_ += fs_.ShortDayNames[DayOfWeek(dt_) - 1];
          else if (n == 4)
            out_ += fs_.LongDayNames[DayOfWeek(dt_) - 1];
          else if (n == 5)
            Append(fs_.ShortDateFormat);
          else
            Append(fs_.LongDateFormat);
          break;
        }
        case 'H': {
          int n = count();
          // A 12-hour marker later in the picture (before the next hour)
          // switches the clock.
          bool quoted = false;
          for (size_t p = i; p < f.size(); ++p) {
            char c = f[p];
            if (c == '\'' || c == '"') {
              quoted = !quoted;
            } else if (!quoted && (c == 'A' || c == 'a')) {
              if (StartsWithNoCase(f, p, "AM/PM") || StartsWithNoCase(f, p, "A/P") ||
                  StartsWithNoCase(f, p, "AMPM"))
                use12Hour = true;
              break;
            } else if (!quoted && (c == 'H' || c == 'h')) {
              break;
            }
          }
          int h = hour_;
          if (use12Hour) {
            if (h == 0)
              h = 12;
            else if (h > 12)
              h -= 12;
          }
          Number(h, n > 2 ? 2 : n);
          break;
        }
        case 'N': {
          int n = count();
          Number(min_, n > 2 ? 2 : n);
          break;
        }
        case 'S': {
          int n = count();
          Number(sec_, n > 2 ? 2 : n);
          break;
        }
        case 'Z': {
          int n = count();
          Number(msec_, n > 3 ? 3 : n);
          break;
        }
        case 'T': {
          int n = count();
          Append(n == 1 ? fs_.ShortTimeFormat : fs_.LongTimeFormat);
          break;
        }
        case 'A': {
          size_t at = i - 1;
          if (StartsWithNoCase(f, at, "AM/PM")) {
            out_.append(f.substr(hour_ >= 12 ? at + 3 : at, 2));
            i = at + 5;
            use12Hour = true;
          } else if (StartsWithNoCase(f, at, "A/P")) {
            out_ += f[hour_ >= 12 ? at + 2 : at];
            i = at + 3;
            use12Hour = true;
          } else if (StartsWithNoCase(f, at, "AMPM")) {
            out_ += hour_ < 12 ? fs_.TimeAMString : fs_.TimePMString;
            i = at + 4;
            use12Hour = true;
          } else {
            out_ += starter;
          }
          break;
        }
        case 'C': {
          count();
          Append(fs_.ShortDateFormat);
          if (hour_ != 0 || min_ != 0 || sec_ != 0) {
            out_ += ' ';
            Append(fs_.LongTimeFormat);
          }
          break;
        }
        case '/':
          if (fs_.DateSeparator != '\0') out_ += fs_.DateSeparator;
          break;
        case ':':
          if (fs_.TimeSeparator != '\0') out_ += fs_.TimeSeparator;
          break;
        case '\'':
        case '"': {
          size_t end = f.find(starter, i);
          if (end == std::string_view::npos) end = f.size();
          out_.append(f.substr(i, end - i));
          i = end < f.size() ? end + 1 : end;
          break;
        }
        default:
          out_ += starter;
      }
    }
    --level_;
  }

  TDateTime dt_;
  const TFormatSettings& fs_;
  WORD year_, month_, day_, hour_, min_, sec_, msec_;
  std::string out_;
  int level_ = 0;
};

}  // namespace

std::string FormatDateTime(const std::string& format, TDateTime dateTime, const TFormatSettings& fs) {
  return TDateFormatter(dateTime, fs).Run(format);
}

std::string DateToStr(TDateTime date, const TFormatSettings& fs) {
  return FormatDateTime(fs.ShortDateFormat, date, fs);
}
std::string TimeToStr(TDateTime time, const TFormatSettings& fs) {
  return FormatDateTime(fs.LongTimeFormat, time, fs);
}
std::string DateTimeToStr(TDateTime dateTime, const TFormatSettings& fs) { return FormatDateTime("", dateTime, fs); }

// ---------------------------------------------------------------------------
// Parsing

namespace {

enum TDateOrder { doMDY, doDMY, doYMD };

// The order of the first of the day, month or year letters in the picture.
TDateOrder GetDateOrder(const std::string& format) {
  for (char c : format) {
    switch (c & 0xDF) {
      case 'Y':
      case 'E': return doYMD;
      case 'M': return doMDY;
      case 'D': return doDMY;
    }
  }
  return doMDY;
}

class TScanner {
 public:
  TScanner(const std::string& s, const TFormatSettings& fs) : s_(s), fs_(fs) {}

  bool AtEnd() const { return pos_ >= s_.size(); }
  size_t Pos() const { return pos_; }
  void SetPos(size_t p) { pos_ = p; }

  void Blanks() {
    while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
  }

  bool Char(char c) {
    Blanks();
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  // Digits up to a value of 1000 or more; digits receives their count.
  bool Number(WORD& value, int& digits) {
    Blanks();
    size_t i = pos_;
    unsigned n = 0;
    while (i < s_.size() && s_[i] >= '0' && s_[i] <= '9' && n < 1000) n = n * 10 + static_cast<unsigned>(s_[i++] - '0');
    if (i == pos_) return false;
    digits = static_cast<int>(i - pos_);
    pos_ = i;
    value = static_cast<WORD>(n);
    return true;
  }

  bool Word(const std::string& symbol) {
    if (symbol.empty()) return false;
    Blanks();
    if (AnsiCompareText(symbol, s_.substr(pos_, symbol.size())) != 0) return false;
    pos_ += symbol.size();
    return true;
  }

  bool Date(TDateTime& date) {
    TDateOrder order = GetDateOrder(fs_.ShortDateFormat);
    WORD n1, n2, n3, y, m, d;
    int l1, l2, l3, yearLen;
    if (!(Number(n1, l1) && Char(fs_.DateSeparator) && Number(n2, l2))) return false;
    if (Char(fs_.DateSeparator)) {
      if (!Number(n3, l3)) return false;
      switch (order) {
        case doMDY: y = n3, yearLen = l3, m = n1, d = n2; break;
        case doDMY: y = n3, yearLen = l3, m = n2, d = n1; break;
        default: y = n1, yearLen = l1, m = n2, d = n3; break;
      }
      if (yearLen <= 2) {
        int base = CurrentYear() - fs_.TwoDigitYearCenturyWindow;
        int full = y + base / 100 * 100;
        if (fs_.TwoDigitYearCenturyWindow > 0 && full < base) full += 100;
        y = static_cast<WORD>(full);
      }
    } else {
      y = CurrentYear();
      if (order == doDMY)
        d = n1, m = n2;
      else
        m = n1, d = n2;
    }
    Char(fs_.DateSeparator);
    Blanks();
    return TryEncodeDate(y, m, d, date);
  }

  bool Time(TDateTime& time) {
    int baseHour = -1;
    if (Word(fs_.TimeAMString) || Word("AM"))
      baseHour = 0;
    else if (Word(fs_.TimePMString) || Word("PM"))
      baseHour = 12;
    if (baseHour >= 0) Blanks();
    WORD hour, min = 0, sec = 0, msec = 0;
    int junk;
    if (!Number(hour, junk)) return false;
    if (Char(fs_.TimeSeparator)) {
      if (!Number(min, junk)) return false;
      if (Char(fs_.TimeSeparator)) {
        if (!Number(sec, junk)) return false;
        if (Char(fs_.DecimalSeparator) && !Number(msec, junk)) return false;
      }
    }
    if (baseHour < 0) {
      if (Word(fs_.TimeAMString) || Word("AM"))
        baseHour = 0;
      else if (Word(fs_.TimePMString) || Word("PM"))
        baseHour = 12;
    }
    if (baseHour >= 0) {
      if (hour == 0 || hour > 12) return false;
      if (hour == 12) hour = 0;
      hour = static_cast<WORD>(hour + baseHour);
    }
    Blanks();
    return TryEncodeTime(hour, min, sec, msec, time);
  }

 private:
  const std::string& s_;
  const TFormatSettings& fs_;
  size_t pos_ = 0;
};

[[noreturn]] void Invalid(const char* message, const std::string& s) {
  throw EConvertError(Format(message, {s}));
}

}  // namespace

bool TryStrToDate(const std::string& s, TDateTime& value, const TFormatSettings& fs) {
  TScanner sc(s, fs);
  TDateTime d;
  if (!sc.Date(d) || !sc.AtEnd()) return false;
  value = d;
  return true;
}

bool TryStrToTime(const std::string& s, TDateTime& value, const TFormatSettings& fs) {
  TScanner sc(s, fs);
  TDateTime t;
  if (!sc.Time(t) || !sc.AtEnd()) return false;
  value = t;
  return true;
}

bool TryStrToDateTime(const std::string& s, TDateTime& value, const TFormatSettings& fs) {
  TScanner sc(s, fs);
  TDateTime d, t = 0;
  if (sc.Date(d) && (sc.AtEnd() || (sc.Time(t) && sc.AtEnd()))) {
    value = d >= 0 ? d + t : d - t;
    return true;
  }
  // A time alone.
  return TryStrToTime(s, value, fs);
}

TDateTime StrToDate(const std::string& s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToDate(s, v, fs)) Invalid(SysConst::SInvalidDate, s);
  return v;
}

TDateTime StrToTime(const std::string& s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToTime(s, v, fs)) Invalid(SysConst::SInvalidTime, s);
  return v;
}

TDateTime StrToDateTime(const std::string& s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToDateTime(s, v, fs)) Invalid(SysConst::SInvalidDateTime, s);
  return v;
}
