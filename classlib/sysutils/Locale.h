// Locale-dependent settings of the run-time library and the platform facts
// read once at start-up.
//
// FormatSettings stands for the platform's global format variables
// (DecimalSeparator, ShortDateFormat, ...): every conversion routine reads it
// unless it is handed a TFormatSettings of its own. It is filled from the
// user's locale by SysUtils::Initialize; tests set fields and restore them.
#pragma once

#include <array>
#include <string>

#include "classlib/Win.h"

struct TFormatSettings {
  std::string CurrencyString = "$";
  BYTE CurrencyFormat = 0;  // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
  BYTE NegCurrFormat = 0;   // 0 to 15, as LOCALE_INEGCURR
  char ThousandSeparator = ',';
  char DecimalSeparator = '.';
  BYTE CurrencyDecimals = 2;
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char ListSeparator = ',';
  std::string ShortDateFormat = "M/d/yyyy";
  std::string LongDateFormat = "dddd, MMMM d, yyyy";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::string ShortTimeFormat = "h:mm AMPM";
  std::string LongTimeFormat = "h:mm:ss AMPM";
  // Index 0 is January / Sunday.
  std::array<std::string, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames = {"January", "February", "March",     "April",
                                                "May",     "June",     "July",      "August",
                                                "September", "October", "November", "December"};
  std::array<std::string, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                             "Thursday", "Friday", "Saturday"};
  // A two-digit year falls in the hundred years that end this many years
  // after the current one (0: the current century).
  WORD TwoDigitYearCenturyWindow = 50;
};

// The process's settings (the platform's global variables).
extern TFormatSettings FormatSettings;

// Fills settings from a locale, as the run-time library does at start-up.
void GetLocaleFormatSettings(LCID locale, TFormatSettings& settings);

// GetLocaleInfoA's text, or def when the locale has none.
std::string GetLocaleStr(LCID locale, LCTYPE type, const std::string& def);
// The first character of GetLocaleInfoA's text, or def.
char GetLocaleChar(LCID locale, LCTYPE type, char def);

struct TSysLocale {
  LCID DefaultLCID = 0x0409;
  int PriLangID = LANG_ENGLISH;
  int SubLangID = SUBLANG_ENGLISH_US;
  bool FarEast = false;     // double-byte character sets are enabled
  bool MiddleEast = false;  // right-to-left scripts are enabled
};
extern TSysLocale SysLocale;

// The operating system, from GetVersionEx (VER_PLATFORM_WIN32_NT is 2).
extern int Win32Platform;
extern int Win32MajorVersion;
extern int Win32MinorVersion;
extern int Win32BuildNumber;
extern std::string Win32CSDVersion;

// Reads the platform facts, the system locale and FormatSettings.
void InitPlatformAndLocale();
