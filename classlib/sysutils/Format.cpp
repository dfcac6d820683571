#include "classlib/sysutils/Format.h"

#include <algorithm>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/sysutils/FloatText.h"
#include "classlib/sysutils/StringRoutines.h"
#include "classlib/sysutils/SysConst.h"

namespace {

// Text in the output's character type. Numbers are built as ANSI text (only
// digits, signs and the settings' separators) and widened when needed.
template <class C>
std::basic_string<C> Text(std::string_view s);
template <>
std::string Text<char>(std::string_view s) {
  return std::string(s);
}
template <>
std::wstring Text<wchar_t>(std::string_view s) {
  return AnsiToWide(s);
}

template <class C>
std::basic_string<C> WideText(std::wstring_view s);
template <>
std::string WideText<char>(std::wstring_view s) {
  return WideToAnsi(s);
}
template <>
std::wstring WideText<wchar_t>(std::wstring_view s) {
  return std::wstring(s);
}

std::string AnsiOf(std::string_view s) { return std::string(s); }
std::string AnsiOf(std::wstring_view s) { return WideToAnsi(s); }

template <class C>
class TFormatter {
 public:
  using Str = std::basic_string<C>;
  using View = std::basic_string_view<C>;

  TFormatter(View format, TVarRecs args, const TFormatSettings& fs)
      : format_(format), args_(args.begin(), args.end()), fs_(fs) {}

  Str Run() {
    Str out;
    size_t i = 0, n = format_.size();
    while (i < n) {
      C c = format_[i++];
      if (c != C('%')) {
        out += c;
        continue;
      }
      if (i >= n) Invalid();
      if (format_[i] == C('%')) {
        out += C('%');
        ++i;
        continue;
      }
      out += Specifier(i);
    }
    return out;
  }

 private:
  [[noreturn]] void Invalid() const { Fail(SysConst::SInvalidFormat); }
  [[noreturn]] void Missing() const { Fail(SysConst::SArgumentMissing); }
  [[noreturn]] void Fail(const char* message) const {
    // The message names the whole format, as the platform's does.
    throw EConvertError(Format(message, {AnsiOf(format_)}));
  }

  const TVarRec& NextArg() {
    if (argIndex_ >= args_.size()) Missing();
    return args_[argIndex_++];
  }

  // A decimal number or "*" (the next argument, an integer); -1 when absent.
  // Either way a number above 16M is no width (the text would be that long).
  int Number(size_t& i) {
    if (i < format_.size() && format_[i] == C('*')) {
      ++i;
      const TVarRec& a = NextArg();
      if (a.VType != TVarRec::vtInteger || a.VInteger > 0xFFFFFF) Invalid();
      return a.VInteger;
    }
    if (i >= format_.size() || format_[i] < C('0') || format_[i] > C('9')) return -1;
    long v = 0;
    while (i < format_.size() && format_[i] >= C('0') && format_[i] <= C('9')) {
      v = v * 10 + (format_[i++] - C('0'));
      if (v > 0xFFFFFF) Invalid();
    }
    return static_cast<int>(v);
  }

  Str Specifier(size_t& i) {
    const size_t n = format_.size();
    int number = Number(i);
    if (number >= 0 && i < n && format_[i] == C(':')) {
      argIndex_ = static_cast<size_t>(number);
      ++i;
      number = -1;
    }
    bool left = false;
    if (number < 0 && i < n && format_[i] == C('-')) {
      left = true;
      ++i;
    }
    int width = number >= 0 ? number : Number(i);
    int precision = -1;
    if (i < n && format_[i] == C('.')) {
      ++i;
      precision = std::max(0, Number(i));
    }
    if (i >= n) Invalid();
    C type = format_[i++];
    if (type >= C('a') && type <= C('z')) type = C(type - 32);
    Str text = Convert(static_cast<char>(type), precision);
    if (width > static_cast<int>(text.size())) {
      Str pad(static_cast<size_t>(width) - text.size(), C(' '));
      text = left ? text + pad : pad + text;
    }
    return text;
  }

  Str Convert(char type, int precision) {
    switch (type) {
      case 'D':
      case 'U':
      case 'X':
        return Text<C>(Integer(type, precision));
      case 'E':
      case 'F':
      case 'G':
      case 'N':
      case 'M':
        return Text<C>(Float(type, precision));
      case 'P': {
        const TVarRec& a = NextArg();
        if (a.VType != TVarRec::vtPointer) Invalid();
        return Text<C>(IntToHex(reinterpret_cast<uintptr_t>(a.VPointer), static_cast<int>(2 * sizeof(void*))));
      }
      case 'S': {
        const TVarRec& a = NextArg();
        Str s;
        switch (a.VType) {
          case TVarRec::vtString: s = Text<C>(a.VString); break;
          case TVarRec::vtWideString: s = WideText<C>(a.VWideString); break;
          case TVarRec::vtChar: s = Text<C>(std::string_view(&a.VChar, 1)); break;
          case TVarRec::vtWideChar: s = WideText<C>(std::wstring_view(&a.VWideChar, 1)); break;
          default: Invalid();
        }
        if (precision >= 0 && precision < static_cast<int>(s.size())) s.resize(static_cast<size_t>(precision));
        return s;
      }
      default:
        Invalid();
    }
  }

  std::string Integer(char type, int precision) {
    const TVarRec& a = NextArg();
    bool negative = false;
    uint64_t magnitude;
    if (a.VType == TVarRec::vtInteger) {
      if (type == 'D') {
        negative = a.VInteger < 0;
        magnitude = negative ? 0 - static_cast<uint64_t>(static_cast<int64_t>(a.VInteger))
                             : static_cast<uint64_t>(a.VInteger);
      } else {
        // An Integer shows as its 32-bit pattern.
        magnitude = static_cast<uint32_t>(a.VInteger);
      }
    } else if (a.VType == TVarRec::vtInt64) {
      if (type == 'D') {
        negative = a.VInt64 < 0;
        magnitude = negative ? 0 - static_cast<uint64_t>(a.VInt64) : static_cast<uint64_t>(a.VInt64);
      } else {
        magnitude = static_cast<uint64_t>(a.VInt64);
      }
    } else {
      Invalid();
    }
    std::string digits = type == 'X' ? IntToHexBits(magnitude, 0) : IntToStrUnsigned(magnitude);
    const int minDigits = std::min(precision, 32);
    if (minDigits > static_cast<int>(digits.size()))
      digits.insert(0, static_cast<size_t>(minDigits) - digits.size(), '0');
    return negative ? "-" + digits : digits;
  }

  std::string Float(char type, int precision) {
    const TVarRec& a = NextArg();
    if (a.VType != TVarRec::vtExtended) Invalid();
    double v = a.VExtended;
    switch (type) {
      case 'E': return FloatToStrF(v, ffExponent, precision < 0 ? 15 : precision, 3, fs_);
      case 'F': return FloatToStrF(v, ffFixed, 18, precision < 0 ? 2 : precision, fs_);
      case 'G': return FloatToStrF(v, ffGeneral, precision < 0 ? 15 : precision, 3, fs_);
      case 'N': return FloatToStrF(v, ffNumber, 18, precision < 0 ? 2 : precision, fs_);
      default: return FloatToStrF(v, ffCurrency, 18, precision < 0 ? fs_.CurrencyDecimals : precision, fs_);
    }
  }

  View format_;
  std::vector<TVarRec> args_;
  const TFormatSettings& fs_;
  size_t argIndex_ = 0;
};

}  // namespace

std::string Format(std::string_view format, TVarRecs args, const TFormatSettings& fs) {
  return TFormatter<char>(format, args, fs).Run();
}

std::wstring WideFormat(std::wstring_view format, TVarRecs args, const TFormatSettings& fs) {
  return TFormatter<wchar_t>(format, args, fs).Run();
}
