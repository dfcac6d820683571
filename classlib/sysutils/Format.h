// Format and WideFormat: the run-time library's printf.
//
//   "%" [index ":"] ["-"] [width] ["." precision] type
//
// Types (either case): d (decimal), u (unsigned), x (hexadecimal, always upper
// case), e f g n m (scientific, fixed, general, number, money), p (pointer),
// s (string or character); "%%" is a percent sign. Index, width and
// precision may be "*" (taken from the next argument, an integer). An index
// moves the argument position; later specifiers go on from there. Precision
// is the minimum digit count for d/u/x, the maximum length for s and the
// digit count for the floating types (defaults e 15, f 2, g 15, n 2, m
// CurrencyDecimals). A width pads with blanks, on the left or with "-" on the
// right. A bad specifier or an argument of the wrong kind raises
// EConvertError "Format '%s' invalid or incompatible with argument"; a
// missing argument raises EConvertError "No argument for format '%s'".
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "classlib/sysutils/Locale.h"

// One argument of Format (the platform's open array of const). String
// arguments are viewed, not copied: a TVarRec lives only as long as the call.
struct TVarRec {
  enum TKind : unsigned char { vtInteger, vtInt64, vtExtended, vtChar, vtWideChar, vtString, vtWideString, vtPointer };

  static_assert(sizeof(long) == 4, "long is a 32-bit Integer on Windows");
  TVarRec(int v) : VType(vtInteger), VInteger(v) {}
  TVarRec(long v) : VType(vtInteger), VInteger(v) {}
  // Cardinals travel as Int64, so that values above MaxInt stay positive.
  TVarRec(unsigned v) : VType(vtInt64), VInt64(v) {}
  TVarRec(unsigned long v) : VType(vtInt64), VInt64(v) {}
  TVarRec(long long v) : VType(vtInt64), VInt64(v) {}
  TVarRec(unsigned long long v) : VType(vtInt64), VInt64(static_cast<int64_t>(v)) {}
  TVarRec(double v) : VType(vtExtended), VExtended(v) {}
  TVarRec(long double v) : VType(vtExtended), VExtended(static_cast<double>(v)) {}
  TVarRec(char v) : VType(vtChar), VChar(v) {}
  TVarRec(wchar_t v) : VType(vtWideChar), VWideChar(v) {}
  TVarRec(const char* v) : VType(vtString), VString(v ? v : "") {}
  TVarRec(const std::string& v) : VType(vtString), VString(v) {}
  TVarRec(std::string_view v) : VType(vtString), VString(v) {}
  TVarRec(const wchar_t* v) : VType(vtWideString), VWideString(v ? v : L"") {}
  TVarRec(const std::wstring& v) : VType(vtWideString), VWideString(v) {}
  TVarRec(std::wstring_view v) : VType(vtWideString), VWideString(v) {}
  TVarRec(const void* v) : VType(vtPointer), VPointer(v) {}
  TVarRec(std::nullptr_t) : VType(vtPointer), VPointer(nullptr) {}

  TKind VType;
  int VInteger = 0;
  int64_t VInt64 = 0;
  double VExtended = 0;
  char VChar = 0;
  wchar_t VWideChar = 0;
  std::string_view VString;
  std::wstring_view VWideString;
  const void* VPointer = nullptr;
};

using TVarRecs = std::initializer_list<TVarRec>;

std::string Format(std::string_view format, TVarRecs args, const TFormatSettings& fs = FormatSettings);
// The same on UTF-16 text; ANSI string arguments are widened (CP_ACP).
std::wstring WideFormat(std::wstring_view format, TVarRecs args, const TFormatSettings& fs = FormatSettings);
