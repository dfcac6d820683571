#include "classlib/sysutils/FloatText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/sysutils/Format.h"
#include "classlib/sysutils/SysConst.h"

namespace {

// A value as decimal digits: 0.Digits x 10^Exponent. Zero has no digits.
struct TFloatRec {
  bool Negative = false;
  bool Nan = false;
  bool Inf = false;
  int Exponent = 0;
  std::string Digits;
  bool IsZero() const { return !Nan && !Inf && Digits.empty(); }
};

constexpr int kMaxDigits = 18;
constexpr int kAllDecimals = 9999;

// The digits of value rounded to at most precision significant digits and
// at most decimals digits after the point. Rounding is half away from zero
// on the 18-digit expansion, as the platform's FloatToDecimal.
TFloatRec FloatToDecimal(double value, int precision, int decimals) {
  TFloatRec r;
  if (std::isnan(value)) {
    r.Nan = true;
    return r;
  }
  r.Negative = std::signbit(value);
  if (std::isinf(value)) {
    r.Inf = true;
    return r;
  }
  if (value == 0) {
    r.Negative = false;
    return r;
  }
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.17e", std::fabs(value));
  std::string all(1, buf[0]);
  all.append(buf + 2, kMaxDigits - 1);
  r.Exponent = std::atoi(std::strchr(buf, 'e') + 1) + 1;

  precision = std::clamp(precision, 1, kMaxDigits);
  long keep = std::min<long>(precision, static_cast<long>(r.Exponent) + decimals);
  if (keep < 0) {
    r.Negative = false;
    r.Exponent = 0;
    return r;
  }
  bool up = keep < kMaxDigits && all[static_cast<size_t>(keep)] >= '5';
  std::string d = all.substr(0, static_cast<size_t>(keep));
  if (up) {
    long i = keep - 1;
    while (i >= 0 && d[static_cast<size_t>(i)] == '9') d[static_cast<size_t>(i--)] = '0';
    if (i >= 0) {
      ++d[static_cast<size_t>(i)];
    } else {
      d.insert(d.begin(), '1');
      ++r.Exponent;
    }
  }
  while (!d.empty() && d.back() == '0') d.pop_back();
  if (d.empty()) {
    // Rounded away entirely: a plain zero, without a minus sign.
    r.Negative = false;
    r.Exponent = 0;
  }
  r.Digits = d;
  return r;
}

std::string Special(const TFloatRec& r) {
  if (r.Nan) return "NAN";
  return r.Negative ? "-INF" : "INF";
}

// "E", the sign ('+' only when asked) and at least minDigits digits.
std::string ExponentText(int exponent, int minDigits, bool plus) {
  std::string s = "E";
  if (exponent < 0)
    s += '-';
  else if (plus)
    s += '+';
  std::string digits = std::to_string(std::abs(exponent));
  minDigits = std::clamp(minDigits, 0, 4);
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, static_cast<size_t>(minDigits) - digits.size(), '0');
  return s + digits;
}

// The digit at decimal place p of r (0 is the first digit after the point
// of 0.Digits, shifted by Exponent).
char DigitAt(const TFloatRec& r, long p) {
  return (p >= 0 && p < static_cast<long>(r.Digits.size())) ? r.Digits[static_cast<size_t>(p)] : '0';
}

std::string WithThousands(const std::string& digits, char sep) {
  if (sep == '\0') return digits;
  std::string s;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) s += sep;
    s += digits[i];
  }
  return s;
}

std::string General(const TFloatRec& r, int precision, int expDigits, const TFormatSettings& fs) {
  if (r.Nan || r.Inf) return Special(r);
  if (r.IsZero()) return "0";
  std::string s = r.Negative ? "-" : "";
  if (r.Exponent > precision || r.Exponent < -3) {
    s += r.Digits[0];
    if (r.Digits.size() > 1) s += fs.DecimalSeparator + r.Digits.substr(1);
    return s + ExponentText(r.Exponent - 1, expDigits, false);
  }
  if (r.Exponent <= 0) {
    s += '0';
  } else {
    for (long p = 0; p < r.Exponent; ++p) s += DigitAt(r, p);
  }
  if (static_cast<long>(r.Digits.size()) > r.Exponent) {
    s += fs.DecimalSeparator;
    for (long p = r.Exponent; p < static_cast<long>(r.Digits.size()); ++p) s += DigitAt(r, p);
  }
  return s;
}

// Integer and fraction digits of a fixed-point rendering (no sign).
void FixedParts(const TFloatRec& r, int decimals, std::string& intPart, std::string& fracPart) {
  intPart.clear();
  fracPart.clear();
  for (long p = 0; p < r.Exponent; ++p) intPart += DigitAt(r, p);
  if (intPart.empty()) intPart = "0";
  for (long j = 0; j < decimals; ++j) fracPart += DigitAt(r, r.Exponent + j);
}

std::string Currency(const std::string& number, bool negative, const TFormatSettings& fs) {
  static const char* const kPositive[] = {"$1", "1$", "$ 1", "1 $"};
  static const char* const kNegative[] = {"($1)", "-$1", "$-1", "$1-", "(1$)", "-1$", "1-$", "1$-",
                                          "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
  const char* pattern = negative ? kNegative[std::min<int>(fs.NegCurrFormat, 15)]
                                 : kPositive[std::min<int>(fs.CurrencyFormat, 3)];
  std::string s;
  for (const char* p = pattern; *p; ++p) {
    if (*p == '$')
      s += fs.CurrencyString;
    else if (*p == '1')
      s += number;
    else
      s += *p;
  }
  return s;
}

}  // namespace

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& fs) {
  precision = std::clamp(precision, 1, kMaxDigits);
  switch (format) {
    case ffExponent: {
      TFloatRec r = FloatToDecimal(value, precision, kAllDecimals);
      if (r.Nan || r.Inf) return Special(r);
      std::string s = r.Negative ? "-" : "";
      s += DigitAt(r, 0);
      if (precision > 1) {
        s += fs.DecimalSeparator;
        for (long p = 1; p < precision; ++p) s += DigitAt(r, p);
      }
      return s + ExponentText(r.IsZero() ? 0 : r.Exponent - 1, digits, true);
    }
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      digits = std::clamp(digits, 0, kMaxDigits);
      TFloatRec r = FloatToDecimal(value, kMaxDigits, digits);
      if (r.Nan || r.Inf) return Special(r);
      // More integer digits than the precision holds: the general form.
      if (r.Exponent > precision) return General(FloatToDecimal(value, precision, kAllDecimals), precision, 0, fs);
      std::string intPart, fracPart;
      FixedParts(r, digits, intPart, fracPart);
      if (format != ffFixed) intPart = WithThousands(intPart, fs.ThousandSeparator);
      std::string number = intPart;
      if (digits > 0) number += fs.DecimalSeparator + fracPart;
      if (format == ffCurrency) return Currency(number, r.Negative, fs);
      return r.Negative ? "-" + number : number;
    }
    case ffGeneral:
    default:
      return General(FloatToDecimal(value, precision, kAllDecimals), precision, digits, fs);
  }
}

std::string FloatToStr(double value, const TFormatSettings& fs) { return FloatToStrF(value, ffGeneral, 15, 0, fs); }

// ---------------------------------------------------------------------------
// FormatFloat

namespace {

// Splits a picture into its sections at ';' outside quotes.
std::vector<std::string> Sections(const std::string& format) {
  std::vector<std::string> out(1);
  char quote = 0;
  for (char c : format) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      out.emplace_back();
      continue;
    }
    out.back() += c;
  }
  return out;
}

struct TPicture {
  int IntPlaces = 0;    // '0'/'#' before the decimal point
  int FracPlaces = 0;   // '0'/'#' after it
  int IntZeros = 0;     // integer digits always shown (from the first '0')
  int FracZeros = 0;    // fraction digits always shown (to the last '0')
  bool Thousands = false;
  bool Scientific = false;
};

bool IsExponentAt(const std::string& f, size_t i) {
  return (f[i] == 'E' || f[i] == 'e') && i + 1 < f.size() && (f[i + 1] == '+' || f[i + 1] == '-');
}

TPicture ScanPicture(const std::string& f) {
  TPicture p;
  bool afterPoint = false;
  int firstIntZero = -1;
  for (size_t i = 0; i < f.size(); ++i) {
    char c = f[i];
    if (c == '"' || c == '\'') {
      size_t end = f.find(c, i + 1);
      i = end == std::string::npos ? f.size() : end;
    } else if (c == '0' || c == '#') {
      if (afterPoint) {
        ++p.FracPlaces;
        if (c == '0') p.FracZeros = p.FracPlaces;
      } else {
        if (c == '0' && firstIntZero < 0) firstIntZero = p.IntPlaces;
        ++p.IntPlaces;
      }
    } else if (c == '.') {
      afterPoint = true;
    } else if (c == ',') {
      if (!afterPoint) p.Thousands = true;
    } else if (IsExponentAt(f, i)) {
      p.Scientific = true;
      i += 1;
      while (i + 1 < f.size() && f[i + 1] == '0') ++i;
    }
  }
  if (firstIntZero >= 0) p.IntZeros = p.IntPlaces - firstIntZero;
  return p;
}

std::string RenderSection(const std::string& f, double magnitude, bool minus, const TFormatSettings& fs,
                          bool* roundedToZero) {
  TPicture pic = ScanPicture(f);
  std::string intDigits, fracDigits;
  int exponent = 0;
  if (pic.Scientific) {
    TFloatRec r = FloatToDecimal(magnitude, std::max(1, pic.IntPlaces + pic.FracPlaces), kAllDecimals);
    *roundedToZero = r.IsZero();
    if (!r.IsZero()) exponent = r.Exponent - pic.IntPlaces;
    for (long k = 0; k < pic.IntPlaces; ++k) intDigits += DigitAt(r, k);
    for (long k = 0; k < pic.FracPlaces; ++k) fracDigits += DigitAt(r, pic.IntPlaces + k);
    size_t lead = 0;
    while (lead < intDigits.size() && intDigits[lead] == '0' &&
           static_cast<int>(intDigits.size() - lead) > pic.IntZeros)
      ++lead;
    intDigits.erase(0, lead);
  } else {
    TFloatRec r = FloatToDecimal(magnitude, kMaxDigits, pic.FracPlaces);
    *roundedToZero = r.IsZero();
    for (long p = 0; p < r.Exponent; ++p) intDigits += DigitAt(r, p);
    if (static_cast<int>(intDigits.size()) < pic.IntZeros)
      intDigits.insert(0, static_cast<size_t>(pic.IntZeros) - intDigits.size(), '0');
    for (long k = 0; k < pic.FracPlaces; ++k) fracDigits += DigitAt(r, r.Exponent + k);
  }
  while (static_cast<int>(fracDigits.size()) > pic.FracZeros && fracDigits.back() == '0') fracDigits.pop_back();

  std::string out = (minus && !*roundedToZero) ? "-" : "";
  const int n = static_cast<int>(intDigits.size());
  auto putInt = [&](int index) {
    out += intDigits[static_cast<size_t>(index)];
    int left = n - 1 - index;
    if (pic.Thousands && fs.ThousandSeparator != '\0' && left > 0 && left % 3 == 0) out += fs.ThousandSeparator;
  };
  int intSeen = 0, fracSeen = 0;
  bool afterPoint = false;
  // The integer digits beyond the placeholders go at the first placeholder.
  const int extra = n - pic.IntPlaces;
  for (size_t i = 0; i < f.size(); ++i) {
    char c = f[i];
    if (c == '"' || c == '\'') {
      size_t end = f.find(c, i + 1);
      if (end == std::string::npos) end = f.size();
      out.append(f, i + 1, end - i - 1);
      i = end;
    } else if (c == '0' || c == '#') {
      if (afterPoint) {
        if (fracSeen < static_cast<int>(fracDigits.size())) out += fracDigits[static_cast<size_t>(fracSeen)];
        ++fracSeen;
      } else {
        int index = intSeen + extra;
        if (intSeen == 0)
          for (int k = 0; k <= index; ++k) putInt(k);
        else if (index >= 0)
          putInt(index);
        ++intSeen;
      }
    } else if (c == '.') {
      if (afterPoint) continue;
      afterPoint = true;
      if (pic.IntPlaces == 0)
        for (int k = 0; k < n; ++k) putInt(k);
      if (!fracDigits.empty()) out += fs.DecimalSeparator;
    } else if (c == ',') {
      // Only switches thousand separators on.
    } else if (IsExponentAt(f, i)) {
      int zeros = 0;
      size_t j = i + 2;
      while (j < f.size() && f[j] == '0') ++zeros, ++j;
      out += c;
      if (exponent < 0)
        out += '-';
      else if (f[i + 1] == '+')
        out += '+';
      std::string e = std::to_string(std::abs(exponent));
      zeros = std::min(zeros, 4);
      if (static_cast<int>(e.size()) < zeros) e.insert(0, static_cast<size_t>(zeros) - e.size(), '0');
      out += e;
      i = j - 1;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string FormatFloat(const std::string& format, double value, const TFormatSettings& fs) {
  if (format.empty() || std::isnan(value) || std::isinf(value)) return FloatToStr(value, fs);
  std::vector<std::string> sections = Sections(format);
  auto has = [&](size_t i) { return i < sections.size() && !sections[i].empty(); };
  size_t section = 0;
  if (value < 0 && has(1))
    section = 1;
  else if (value == 0 && has(2))
    section = 2;
  bool zero = false;
  // The negative section carries its own sign (or parentheses).
  bool minus = value < 0 && section == 0;
  std::string text = RenderSection(sections[section], std::fabs(value), minus, fs, &zero);
  if (zero && section != 2 && has(2)) text = RenderSection(sections[2], 0.0, false, fs, &zero);
  return text;
}

// ---------------------------------------------------------------------------
// StrToFloat

bool TryStrToFloat(const std::string& s, double& value, const TFormatSettings& fs) {
  size_t i = 0, n = s.size();
  while (i < n && s[i] == ' ') ++i;
  std::string c;  // the number in the C locale's notation
  if (i < n && (s[i] == '-' || s[i] == '+')) c += s[i++];
  int digits = 0;
  while (i < n && s[i] >= '0' && s[i] <= '9') c += s[i++], ++digits;
  if (i < n && s[i] == fs.DecimalSeparator) {
    c += '.';
    ++i;
    while (i < n && s[i] >= '0' && s[i] <= '9') c += s[i++], ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (s[i] == 'E' || s[i] == 'e')) {
    c += 'e';
    ++i;
    if (i < n && (s[i] == '-' || s[i] == '+')) c += s[i++];
    int expDigits = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') c += s[i++], ++expDigits;
    if (expDigits == 0) return false;
  }
  while (i < n && s[i] == ' ') ++i;
  if (i != n) return false;
  double v = std::strtod(c.c_str(), nullptr);
  if (std::isinf(v)) return false;
  value = v;
  return true;
}

double StrToFloat(const std::string& s, const TFormatSettings& fs) {
  double v;
  if (!TryStrToFloat(s, v, fs)) throw EConvertError(Format(SysConst::SInvalidFloat, {s}));
  return v;
}

double StrToFloatDef(const std::string& s, double def, const TFormatSettings& fs) {
  double v;
  return TryStrToFloat(s, v, fs) ? v : def;
}
