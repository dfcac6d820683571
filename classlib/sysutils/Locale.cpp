#include "classlib/sysutils/Locale.h"

#include <cstdlib>

TFormatSettings FormatSettings;
TSysLocale SysLocale;
int Win32Platform = 0;
int Win32MajorVersion = 0;
int Win32MinorVersion = 0;
int Win32BuildNumber = 0;
std::string Win32CSDVersion;

std::string GetLocaleStr(LCID locale, LCTYPE type, const std::string& def) {
  char buffer[256];
  int n = GetLocaleInfoA(locale, type, buffer, sizeof buffer);
  if (n <= 0) return def;
  return std::string(buffer, static_cast<size_t>(n - 1));  // n counts the terminator
}

char GetLocaleChar(LCID locale, LCTYPE type, char def) {
  // Read whole: a two-character buffer fails on a longer text and would give
  // the default for a separator such as a non-breaking space pair.
  std::string s = GetLocaleStr(locale, type, std::string());
  return s.empty() ? def : s[0];
}

namespace {

int LocaleInt(LCID locale, LCTYPE type, int def) {
  std::string s = GetLocaleStr(locale, type, std::string());
  if (s.empty()) return def;
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  return (end && *end == '\0') ? static_cast<int>(v) : def;
}

}  // namespace

void GetLocaleFormatSettings(LCID locale, TFormatSettings& fs) {
  const TFormatSettings defaults;
  for (int i = 0; i < 12; ++i) {
    fs.ShortMonthNames[i] =
        GetLocaleStr(locale, LOCALE_SABBREVMONTHNAME1 + i, defaults.ShortMonthNames[i]);
    fs.LongMonthNames[i] = GetLocaleStr(locale, LOCALE_SMONTHNAME1 + i, defaults.LongMonthNames[i]);
  }
  // Windows numbers the days from Monday, the run-time library from Sunday.
  for (int i = 0; i < 7; ++i) {
    int day = (i + 6) % 7;
    fs.ShortDayNames[i] = GetLocaleStr(locale, LOCALE_SABBREVDAYNAME1 + day, defaults.ShortDayNames[i]);
    fs.LongDayNames[i] = GetLocaleStr(locale, LOCALE_SDAYNAME1 + day, defaults.LongDayNames[i]);
  }
  fs.CurrencyString = GetLocaleStr(locale, LOCALE_SCURRENCY, "");
  fs.CurrencyFormat = static_cast<BYTE>(LocaleInt(locale, LOCALE_ICURRENCY, 0));
  fs.NegCurrFormat = static_cast<BYTE>(LocaleInt(locale, LOCALE_INEGCURR, 0));
  fs.ThousandSeparator = GetLocaleChar(locale, LOCALE_STHOUSAND, ',');
  fs.DecimalSeparator = GetLocaleChar(locale, LOCALE_SDECIMAL, '.');
  fs.CurrencyDecimals = static_cast<BYTE>(LocaleInt(locale, LOCALE_ICURRDIGITS, 0));
  fs.DateSeparator = GetLocaleChar(locale, LOCALE_SDATE, '/');
  fs.ShortDateFormat = GetLocaleStr(locale, LOCALE_SSHORTDATE, "m/d/yy");
  fs.LongDateFormat = GetLocaleStr(locale, LOCALE_SLONGDATE, "mmmm d, yyyy");
  fs.TimeSeparator = GetLocaleChar(locale, LOCALE_STIME, ':');
  fs.TimeAMString = GetLocaleStr(locale, LOCALE_S1159, "am");
  fs.TimePMString = GetLocaleStr(locale, LOCALE_S2359, "pm");
  // The time formats are built from the locale's flags, not copied from its
  // pictures: 12-hour clocks get the AM/PM marker before or after the time.
  std::string prefix, postfix;
  if (LocaleInt(locale, LOCALE_ITIME, 0) == 0) {
    if (LocaleInt(locale, LOCALE_ITIMEMARKPOSN, 0) == 0)
      postfix = " AMPM";
    else
      prefix = "AMPM ";
  }
  std::string hour = LocaleInt(locale, LOCALE_ITLZERO, 0) == 0 ? "h" : "hh";
  fs.ShortTimeFormat = prefix + hour + ":mm" + postfix;
  fs.LongTimeFormat = prefix + hour + ":mm:ss" + postfix;
  fs.ListSeparator = GetLocaleChar(locale, LOCALE_SLIST, ',');
}

void InitPlatformAndLocale() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (GetVersionExA(&info)) {
    Win32Platform = static_cast<int>(info.dwPlatformId);
    Win32MajorVersion = static_cast<int>(info.dwMajorVersion);
    Win32MinorVersion = static_cast<int>(info.dwMinorVersion);
    Win32BuildNumber = static_cast<int>(info.dwBuildNumber & 0xFFFF);
    Win32CSDVersion = info.szCSDVersion;
  }

  SysLocale = TSysLocale();
  LCID lcid = GetThreadLocale();
  if (lcid != 0) SysLocale.DefaultLCID = lcid;
  WORD lang = LANGIDFROMLCID(lcid);
  if (lang != 0) {
    SysLocale.PriLangID = PRIMARYLANGID(lang);
    SysLocale.SubLangID = SUBLANGID(lang);
  }
  SysLocale.MiddleEast = GetSystemMetrics(SM_MIDEASTENABLED) != 0;
  SysLocale.FarEast = GetSystemMetrics(SM_DBCSENABLED) != 0;

  GetLocaleFormatSettings(GetThreadLocale(), FormatSettings);
}
