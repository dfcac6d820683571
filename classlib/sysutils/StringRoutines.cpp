#include "classlib/sysutils/StringRoutines.h"

#include <limits>
#include <type_traits>

#include "classlib/sysutils/FloatText.h"
#include "classlib/sysutils/Format.h"
#include "classlib/sysutils/Locale.h"
#include "classlib/sysutils/SysConst.h"

// ---------------------------------------------------------------------------
// Integers

std::string IntToStrSigned(int64_t value) { return std::to_string(value); }
std::string IntToStrUnsigned(uint64_t value) { return std::to_string(value); }

std::string IntToHexBits(uint64_t bits, int digits) {
  static const char hex[] = "0123456789ABCDEF";
  std::string s;
  do {
    s.insert(s.begin(), hex[bits & 0xF]);
    bits >>= 4;
  } while (bits != 0);
  if (static_cast<int>(s.size()) < digits) s.insert(0, static_cast<size_t>(digits) - s.size(), '0');
  return s;
}

namespace {

// The platform's Val for integers: leading blanks, a sign, then decimal
// digits or "$"/"0x" and hexadecimal digits, and nothing after them.
template <class T>
bool ValInt(const std::string& s, T& out) {
  using U = std::make_unsigned_t<T>;
  size_t i = 0, n = s.size();
  while (i < n && s[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  bool hex = false;
  if (i < n && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= n) return false;
  U acc = 0;
  if (hex) {
    for (; i < n; ++i) {
      char c = s[i];
      unsigned d;
      if (c >= '0' && c <= '9')
        d = static_cast<unsigned>(c - '0');
      else if (c >= 'A' && c <= 'F')
        d = static_cast<unsigned>(c - 'A' + 10);
      else if (c >= 'a' && c <= 'f')
        d = static_cast<unsigned>(c - 'a' + 10);
      else
        return false;
      if (acc > (std::numeric_limits<U>::max() >> 4)) return false;
      acc = static_cast<U>(acc * 16 + d);
    }
  } else {
    const U limit = static_cast<U>(std::numeric_limits<T>::max()) + (negative ? 1 : 0);
    for (; i < n; ++i) {
      char c = s[i];
      if (c < '0' || c > '9') return false;
      U d = static_cast<U>(c - '0');
      if (acc > (limit - d) / 10) return false;
      acc = static_cast<U>(acc * 10 + d);
    }
  }
  if (negative) acc = static_cast<U>(U(0) - acc);
  out = static_cast<T>(acc);
  return true;
}

[[noreturn]] void InvalidInteger(const std::string& s) {
  throw EConvertError(Format(SysConst::SInvalidInteger, {s}));
}

}  // namespace

bool TryStrToInt(const std::string& s, int& value) { return ValInt(s, value); }
bool TryStrToInt64(const std::string& s, int64_t& value) { return ValInt(s, value); }

int StrToInt(const std::string& s) {
  int v;
  if (!ValInt(s, v)) InvalidInteger(s);
  return v;
}

int64_t StrToInt64(const std::string& s) {
  int64_t v;
  if (!ValInt(s, v)) InvalidInteger(s);
  return v;
}

int StrToIntDef(const std::string& s, int def) {
  int v;
  return ValInt(s, v) ? v : def;
}

int64_t StrToInt64Def(const std::string& s, int64_t def) {
  int64_t v;
  return ValInt(s, v) ? v : def;
}

std::string BoolToStr(bool b, bool useBoolStrs) {
  if (useBoolStrs) return b ? "True" : "False";
  return b ? "-1" : "0";
}

bool TryStrToBool(const std::string& s, bool& value) {
  double d;
  if (TryStrToFloat(s, d)) {
    value = d != 0;
    return true;
  }
  if (AnsiSameText(s, "True")) {
    value = true;
    return true;
  }
  if (AnsiSameText(s, "False")) {
    value = false;
    return true;
  }
  return false;
}

bool StrToBool(const std::string& s) {
  bool b;
  if (!TryStrToBool(s, b)) throw EConvertError(Format(SysConst::SInvalidBoolean, {s}));
  return b;
}

// ---------------------------------------------------------------------------
// Trimming and case

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
}  // namespace

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string TrimLeft(const std::string& s) {
  size_t b = 0;
  while (b < s.size() && IsBlank(s[b])) ++b;
  return s.substr(b);
}

std::string TrimRight(const std::string& s) {
  size_t e = s.size();
  while (e > 0 && IsBlank(s[e - 1])) --e;
  return s.substr(0, e);
}

std::string UpperCase(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return r;
}

std::string LowerCase(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return r;
}

std::string AnsiUpperCase(const std::string& s) {
  std::string r = s;
  if (!r.empty()) CharUpperBuffA(r.data(), static_cast<DWORD>(r.size()));
  return r;
}

std::string AnsiLowerCase(const std::string& s) {
  std::string r = s;
  if (!r.empty()) CharLowerBuffA(r.data(), static_cast<DWORD>(r.size()));
  return r;
}

// ---------------------------------------------------------------------------
// Comparison

int CompareStr(const std::string& s1, const std::string& s2) {
  size_t n = std::min(s1.size(), s2.size());
  for (size_t i = 0; i < n; ++i) {
    int a = static_cast<unsigned char>(s1[i]), b = static_cast<unsigned char>(s2[i]);
    if (a != b) return a - b;
  }
  return static_cast<int>(s1.size()) - static_cast<int>(s2.size());
}

int CompareText(const std::string& s1, const std::string& s2) {
  size_t n = std::min(s1.size(), s2.size());
  for (size_t i = 0; i < n; ++i) {
    int a = static_cast<unsigned char>(s1[i]), b = static_cast<unsigned char>(s2[i]);
    if (a >= 'a' && a <= 'z') a -= 32;
    if (b >= 'a' && b <= 'z') b -= 32;
    if (a != b) return a - b;
  }
  return static_cast<int>(s1.size()) - static_cast<int>(s2.size());
}

bool SameText(const std::string& s1, const std::string& s2) { return SameName(s1, s2); }

namespace {
int CompareA(DWORD flags, const std::string& s1, const std::string& s2) {
  return CompareStringA(LOCALE_USER_DEFAULT, flags, s1.data(), static_cast<int>(s1.size()), s2.data(),
                        static_cast<int>(s2.size())) -
         CSTR_EQUAL;
}
int CompareW(DWORD flags, const std::wstring& s1, const std::wstring& s2) {
  return CompareStringW(LOCALE_USER_DEFAULT, flags, s1.data(), static_cast<int>(s1.size()), s2.data(),
                        static_cast<int>(s2.size())) -
         CSTR_EQUAL;
}
}  // namespace

int AnsiCompareStr(const std::string& s1, const std::string& s2) { return CompareA(0, s1, s2); }
int AnsiCompareText(const std::string& s1, const std::string& s2) { return CompareA(NORM_IGNORECASE, s1, s2); }
bool AnsiSameStr(const std::string& s1, const std::string& s2) { return AnsiCompareStr(s1, s2) == 0; }
bool AnsiSameText(const std::string& s1, const std::string& s2) { return AnsiCompareText(s1, s2) == 0; }

int WideCompareStr(const std::wstring& s1, const std::wstring& s2) { return CompareW(0, s1, s2); }
int WideCompareText(const std::wstring& s1, const std::wstring& s2) {
  return CompareW(NORM_IGNORECASE, s1, s2);
}
bool WideSameText(const std::wstring& s1, const std::wstring& s2) { return WideCompareText(s1, s2) == 0; }

// ---------------------------------------------------------------------------
// Searching, quoting, replacing

namespace {

bool IsLead(char c) { return SysLocale.FarEast && IsDBCSLeadByte(static_cast<BYTE>(c)); }

// Length in bytes of the character starting at s[i].
size_t CharLen(std::string_view s, size_t i) { return (IsLead(s[i]) && i + 1 < s.size()) ? 2 : 1; }

// First occurrence of c at a character boundary from i on, or npos.
size_t ScanChar(std::string_view s, size_t i, char c) {
  while (i < s.size()) {
    if (s[i] == c) return i;
    i += CharLen(s, i);
  }
  return std::string_view::npos;
}

}  // namespace

TMbcsByteType ByteType(const std::string& s, int index) {
  if (!SysLocale.FarEast || index < 1 || index > static_cast<int>(s.size())) return mbSingleByte;
  size_t target = static_cast<size_t>(index - 1), i = 0;
  while (i < target) {
    size_t len = CharLen(s, i);
    if (i + len > target) return mbTrailByte;
    i += len;
  }
  return IsLead(s[i]) ? mbLeadByte : mbSingleByte;
}

int AnsiPos(const std::string& sub, const std::string& s) {
  if (sub.empty() || sub.size() > s.size()) return 0;
  for (size_t i = 0; i + sub.size() <= s.size(); i += CharLen(s, i))
    if (s.compare(i, sub.size(), sub) == 0) return static_cast<int>(i) + 1;
  return 0;
}

std::string QuotedStr(const std::string& s) { return AnsiQuotedStr(s, '\''); }

std::string AnsiQuotedStr(const std::string& s, char quote) {
  std::string r(1, quote);
  for (size_t i = 0; i < s.size();) {
    size_t len = CharLen(s, i);
    if (len == 1 && s[i] == quote) r += quote;
    r.append(s, i, len);
    i += len;
  }
  r += quote;
  return r;
}

std::string AnsiExtractQuotedStr(const char*& src, char quote) {
  if (!src || *src != quote) return std::string();
  std::string_view rest(src + 1);
  std::string result;
  size_t i = 0;
  for (;;) {
    size_t q = ScanChar(rest, i, quote);
    if (q == std::string_view::npos) {
      // No closing quote: everything to the end is the text.
      result.append(rest.substr(i));
      i = rest.size();
      break;
    }
    result.append(rest.substr(i, q - i));
    if (q + 1 < rest.size() && rest[q + 1] == quote) {
      result += quote;
      i = q + 2;
    } else {
      i = q + 1;
      break;
    }
  }
  src = rest.data() + i;
  return result;
}

std::string AnsiDequotedStr(const std::string& s, char quote) {
  const char* p = s.c_str();
  std::string r = AnsiExtractQuotedStr(p, quote);
  return r.empty() ? s : r;
}

std::string StringReplace(const std::string& s, const std::string& oldPattern,
                          const std::string& newPattern, TReplaceFlags flags) {
  if (oldPattern.empty()) return s;
  const bool ignoreCase = flags.Contains(rfIgnoreCase);
  // Upper-casing keeps the length, so positions found in the folded copy
  // hold in the original.
  const std::string search = ignoreCase ? AnsiUpperCase(s) : s;
  const std::string pattern = ignoreCase ? AnsiUpperCase(oldPattern) : oldPattern;
  std::string result;
  size_t from = 0;
  while (from < s.size()) {
    int at = AnsiPos(pattern, search.substr(from));
    if (at == 0) break;
    size_t hit = from + static_cast<size_t>(at - 1);
    result.append(s, from, hit - from);
    result += newPattern;
    from = hit + oldPattern.size();
    if (!flags.Contains(rfReplaceAll)) break;
  }
  if (from < s.size()) result.append(s, from, std::string::npos);
  return result;
}

bool IsDelimiter(const std::string& delimiters, const std::string& s, int index) {
  if (index <= 0 || index > static_cast<int>(s.size()) || ByteType(s, index) != mbSingleByte) return false;
  char c = s[static_cast<size_t>(index - 1)];
  return c != '\0' && delimiters.find(c) != std::string::npos;
}

int LastDelimiter(const std::string& delimiters, const std::string& s) {
  for (int i = static_cast<int>(s.size()); i > 0; --i) {
    char c = s[static_cast<size_t>(i - 1)];
    if (c != '\0' && delimiters.find(c) != std::string::npos && ByteType(s, i) != mbTrailByte) return i;
  }
  return 0;
}

// ---------------------------------------------------------------------------
// ANSI <-> UTF-16

std::wstring AnsiToWide(std::string_view s) {
  if (s.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string WideToAnsi(std::wstring_view w) {
  if (w.empty()) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}
