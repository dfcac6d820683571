#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "classlib/SysUtils.h"

namespace {

// Fixed United States settings, whatever the machine's locale.
TFormatSettings Us() {
  TFormatSettings fs;
  fs.DecimalSeparator = '.';
  fs.ThousandSeparator = ',';
  fs.CurrencyString = "$";
  fs.CurrencyFormat = 0;
  fs.NegCurrFormat = 0;
  fs.CurrencyDecimals = 2;
  return fs;
}

struct FormatCase {
  const char* format;
  std::initializer_list<TVarRec> args;
  const char* expected;
};

TEST(SysUtilsFormat, Specifiers) {
  const int64_t minusOne64 = -1;
  // Arguments are viewed, not copied: strings in the table outlive it.
  const std::string cd = "cd";
  const std::wstring wide = L"wide";
  const FormatCase cases[] = {
      {"%d", {42}, "42"},
      {"[%5d]", {42}, "[   42]"},
      {"[%-5d]", {42}, "[42   ]"},
      {"[%05d]", {42}, "[   42]"},  // no zero flag: "05" is a width
      {"%.3d", {5}, "005"},
      {"%.3d", {-5}, "-005"},
      {"%d", {4000000000u}, "4000000000"},
      {"%u", {-1}, "4294967295"},
      {"%x", {255}, "FF"},
      {"%X", {-1}, "FFFFFFFF"},
      {"%x", {minusOne64}, "FFFFFFFFFFFFFFFF"},
      {"%.6x", {0xABC}, "000ABC"},
      {"%s", {"abc"}, "abc"},
      {"%.2s", {"abcdef"}, "ab"},
      {"[%5s|%-5s]", {"ab", cd}, "[   ab|cd   ]"},
      {"%s%s", {wide, 'c'}, "widec"},
      {"100%%", {}, "100%"},
      {"%1:s %0:s %s", {"a", "b"}, "b a b"},
      {"%*d", {5, 42}, "   42"},
      {"[%-*.*f]", {8, 1, 3.14159}, "[3.1     ]"},
      {"%5.2f", {3.14159}, " 3.14"},
      {"%f", {2.5}, "2.50"},
      {"%.0f", {0.5}, "1"},  // half away from zero
      {"%e", {1234.5}, "1.23450000000000E+003"},
      {"%.3e", {-0.000123}, "-1.23E-004"},
      {"%g", {0.5}, "0.5"},
      {"%g", {1e20}, "1E020"},
      {"%n", {1234567.891}, "1,234,567.89"},
      {"%m", {-1234.5}, "($1,234.50)"},
      {"%.0m", {7.0}, "$7"},
      {"%p", {reinterpret_cast<void*>(0x1234)}, "0000000000001234"},
      {"&%d %d %s %s", {1, 2, "item", "\r\n"}, "&1 2 item \r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_EQ(Format(c.format, c.args, Us()), c.expected);
  }
}

TEST(SysUtilsFormat, BadFormatsAndArguments) {
  const FormatCase invalid[] = {
      {"%d", {"x"}, nullptr}, {"%s", {1}, nullptr},   {"%f", {1}, nullptr},  {"%x", {1.5}, nullptr},
      {"%p", {"x"}, nullptr}, {"%", {1}, nullptr},    {"%k", {1}, nullptr},  {"%5", {1}, nullptr},
      {"%*d", {"x", 1}, nullptr}, {"%*d", {0x1000000, 1}, nullptr}, {"%.*s", {2147483647, "x"}, nullptr},
      {"%16777216d", {1}, nullptr},
  };
  for (const auto& c : invalid) {
    SCOPED_TRACE(c.format);
    try {
      Format(c.format, c.args);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.GetMessage(), std::string("Format '") + c.format + "' invalid or incompatible with argument");
    }
  }
  try {
    Format("%d %d", {1});
    ADD_FAILURE() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.GetMessage(), "No argument for format '%d %d'");
  }
  EXPECT_THROW(Format("%2:d", {1, 2}), EConvertError);
}

TEST(SysUtilsFormat, WideFormatKeepsUtf16) {
  EXPECT_EQ(WideFormat(L"%s (%s)", {std::wstring(L"\u20AC Open"), "Ctrl+O"}), L"\u20AC Open (Ctrl+O)");
  EXPECT_EQ(WideFormat(L"[%-4d]%s", {7, L'\u00E9'}), L"[7   ]\u00E9");
}

TEST(SysUtilsFormat, FormatUsesTheGlobalSettings) {
  TFormatSettings saved = FormatSettings;
  FormatSettings.DecimalSeparator = ',';
  FormatSettings.ThousandSeparator = '.';
  std::string s = Format("%.1f %n", {2.25, 1234.5});
  std::string f = FloatToStr(0.5);
  FormatSettings = saved;
  EXPECT_EQ(s, "2,3 1.234,50");
  EXPECT_EQ(f, "0,5");
}

TEST(SysUtilsFormat, FloatToStr) {
  struct {
    double value;
    const char* expected;
  } cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {1.5, "1.5"},
      {-2.5, "-2.5"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {123456789012345.0, "123456789012345"},
      {1e15, "1E15"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {-1.5e-7, "-1.5E-7"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(FloatToStr(c.value, Us()), c.expected);
  }
}

TEST(SysUtilsFormat, FloatToStrF) {
  struct {
    double value;
    TFloatFormat format;
    int precision, digits;
    const char* expected;
  } cases[] = {
      {0.125, ffFixed, 18, 2, "0.13"},  // 18-digit expansion, then half up
      {2.675, ffFixed, 18, 2, "2.67"},  // the double is just below 2.675
      {-0.001, ffFixed, 18, 2, "0.00"},
      {99.999, ffFixed, 18, 2, "100.00"},
      {1234.5, ffFixed, 18, 0, "1235"},
      {12345.678, ffFixed, 3, 2, "1.23E4"},  // more integer digits than the precision
      {1234567.5, ffNumber, 18, 1, "1,234,567.5"},
      {-123.0, ffNumber, 18, 0, "-123"},
      {1234.5, ffExponent, 4, 2, "1.235E+03"},
      {0.0, ffExponent, 3, 0, "0.00E+0"},
      {5.0, ffCurrency, 18, 2, "$5.00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(FloatToStrF(c.value, c.format, c.precision, c.digits, Us()), c.expected);
  }
}

TEST(SysUtilsFormat, FormatFloatPictures) {
  struct {
    const char* picture;
    double value;
    const char* expected;
  } cases[] = {
      {"0.00", 3.14159, "3.14"},
      {"#,##0", 1234567, "1,234,567"},
      {"#,##0.00", -1234.5, "-1,234.50"},
      {"#,##0", 12, "12"},
      {"0.##", 1, "1"},
      {"0.##", 1.5, "1.5"},
      {"#.##", 0.5, ".5"},
      {"#", 0, ""},
      {"000", 7, "007"},
      {"00", 12345, "12345"},
      {"0", 2.5, "3"},
      {"0", -0.4, "0"},
      {"0.00;(0.00)", -2, "(2.00)"},
      {"0.00;(0.00);zero", 0, "zero"},
      {"0.0;;'nil'", 0.01, "nil"},  // rounds to zero: the zero section
      {"0.00E+00", 1234.5, "1.23E+03"},
      {"0.0E-0", 0.00012, "1.2E-4"},
      {"'$'#,##0.00", 5, "$5.00"},
      {"\"#\"0", 5, "#5"},
      {"", 2.5, "2.5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.picture);
    EXPECT_EQ(FormatFloat(c.picture, c.value, Us()), c.expected);
  }
  TFormatSettings de = Us();
  de.DecimalSeparator = ',';
  de.ThousandSeparator = '.';
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, de), "1.234,50");
}

TEST(SysUtilsFormat, StrToFloat) {
  struct {
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {"1.5", true, 1.5},   {" -2.5e3 ", true, -2500}, {"+.5", true, 0.5}, {"7", true, 7},
      {"1E-2", true, 0.01}, {"1,5", false, 0},         {"", false, 0},     {".", false, 0},
      {"1e", false, 0},     {"abc", false, 0},         {"1.5x", false, 0}, {"1e999", false, 0},
      {"1 000", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    double v = -1;
    EXPECT_EQ(TryStrToFloat(c.text, v, Us()), c.ok);
    if (c.ok) {
      EXPECT_DOUBLE_EQ(v, c.value);
    }
  }
  TFormatSettings de = Us();
  de.DecimalSeparator = ',';
  EXPECT_DOUBLE_EQ(StrToFloat("1,5", de), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloatDef("x", 4.5, de), 4.5);
  try {
    StrToFloat("1.5.2", Us());
    ADD_FAILURE() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.GetMessage(), "'1.5.2' is not a valid floating point value");
  }
}

}  // namespace
