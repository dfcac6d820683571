// String routines of the run-time library: integer conversions, trimming,
// case, comparison, quoting, replacing and delimiter search.
//
// Positions are 1-based and 0 means "none", as the platform's callers expect.
// The plain routines (UpperCase, CompareText) work on ASCII only; the Ansi
// ones go through the user locale (CharUpperBuffA, CompareStringA) and step
// over double-byte characters on a Far-East system.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

#include "classlib/System.h"
#include "classlib/Win.h"

// ---------------------------------------------------------------------------
// Integers

std::string IntToStrSigned(int64_t value);
std::string IntToStrUnsigned(uint64_t value);
template <std::integral T>
std::string IntToStr(T value) {
  if constexpr (std::is_signed_v<T>)
    return IntToStrSigned(value);
  else
    return IntToStrUnsigned(value);
}

// Upper-case hexadecimal, at least digits wide. A negative value shows its
// two's complement in the width of its own type (8 digits for an int, 16 for
// an int64).
std::string IntToHexBits(uint64_t bits, int digits);
template <std::integral T>
std::string IntToHex(T value, int digits) {
  if constexpr (sizeof(T) <= 4)
    return IntToHexBits(static_cast<uint32_t>(value), digits);
  else
    return IntToHexBits(static_cast<uint64_t>(value), digits);
}

// Decimal with optional leading blanks and sign, or hexadecimal after "$" or
// "0x"; nothing may follow the digits. Out of range or malformed text raises
// EConvertError "'%s' is not a valid integer value" (the Def and Try forms
// give the default or false instead). Hexadecimal takes the full unsigned
// range of the type ("$FFFFFFFF" is -1).
int StrToInt(const std::string& s);
int64_t StrToInt64(const std::string& s);
int StrToIntDef(const std::string& s, int def);
int64_t StrToInt64Def(const std::string& s, int64_t def);
bool TryStrToInt(const std::string& s, int& value);
bool TryStrToInt64(const std::string& s, int64_t& value);

// "0"/"-1", or "False"/"True" with useBoolStrs.
std::string BoolToStr(bool b, bool useBoolStrs = false);
// A number (non-zero is true) or "True"/"False" in any case.
bool StrToBool(const std::string& s);
bool TryStrToBool(const std::string& s, bool& value);

// ---------------------------------------------------------------------------
// Trimming and case

// Remove control characters and blanks (every character <= ' ').
std::string Trim(const std::string& s);
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);

// 'a'..'z' and 'A'..'Z' only.
std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);
// Through the user locale (CharUpperBuffA / CharLowerBuffA).
std::string AnsiUpperCase(const std::string& s);
std::string AnsiLowerCase(const std::string& s);

// ---------------------------------------------------------------------------
// Comparison: < 0, 0 or > 0.

// Byte by byte.
int CompareStr(const std::string& s1, const std::string& s2);
// Byte by byte with 'a'..'z' folded to upper case.
int CompareText(const std::string& s1, const std::string& s2);
bool SameText(const std::string& s1, const std::string& s2);
// CompareStringA in the user locale, exact or ignoring case.
int AnsiCompareStr(const std::string& s1, const std::string& s2);
int AnsiCompareText(const std::string& s1, const std::string& s2);
bool AnsiSameStr(const std::string& s1, const std::string& s2);
bool AnsiSameText(const std::string& s1, const std::string& s2);

// CompareStringW in the user locale.
int WideCompareStr(const std::wstring& s1, const std::wstring& s2);
int WideCompareText(const std::wstring& s1, const std::wstring& s2);
bool WideSameText(const std::wstring& s1, const std::wstring& s2);

// ---------------------------------------------------------------------------
// Searching, quoting, replacing

enum TMbcsByteType { mbSingleByte, mbLeadByte, mbTrailByte };
// The kind of byte at the 1-based index; always mbSingleByte unless the
// system uses double-byte character sets.
TMbcsByteType ByteType(const std::string& s, int index);

// 1-based position of sub in s on character boundaries; 0 when absent or empty.
int AnsiPos(const std::string& sub, const std::string& s);

// 'text' with every quote doubled.
std::string QuotedStr(const std::string& s);
std::string AnsiQuotedStr(const std::string& s, char quote);
// When src starts with quote: the text up to the closing quote with doubled
// quotes undone, and src moved past the closing quote (to the terminator
// when there is none). Otherwise "" and src stays.
std::string AnsiExtractQuotedStr(const char*& src, char quote);
// The quoted text of s, or s itself when it does not start with quote or the
// quoted text is empty.
std::string AnsiDequotedStr(const std::string& s, char quote);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag>;
// Replaces the first (or, with rfReplaceAll, every) occurrence of
// oldPattern; rfIgnoreCase compares through AnsiUpperCase.
std::string StringReplace(const std::string& s, const std::string& oldPattern,
                          const std::string& newPattern, TReplaceFlags flags);

// Whether the character at the 1-based index is one of delimiters.
bool IsDelimiter(const std::string& delimiters, const std::string& s, int index);
// 1-based index of the last character of s that is one of delimiters; 0 if none.
int LastDelimiter(const std::string& delimiters, const std::string& s);

// ---------------------------------------------------------------------------
// ANSI <-> UTF-16 in the ANSI code page (CP_ACP).
std::wstring AnsiToWide(std::string_view s);
std::string WideToAnsi(std::wstring_view s);
