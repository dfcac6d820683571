#include <gtest/gtest.h>

#include <climits>

#include "classlib/SysUtils.h"

namespace {

TEST(SysUtilsStrings, StrToIntDefFollowsVal) {
  struct {
    const char* text;
    int expected;
  } cases[] = {
      {"42", 42},         {"$1F", 31},       {"0x10", 16},          {"0X1f", 31},
      {" 7", 7},          {"+5", 5},         {"-$10", -16},         {"-2147483648", INT_MIN},
      {"$FFFFFFFF", -1},  {"", -99},         {"abc", -99},          {"-", -99},
      {"$", -99},         {"0x", -99},       {"7 ", -99},           {"2147483648", -99},
      {"$100000000", -99}, {"1.0", -99},     {"\t7", -99},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(StrToIntDef(c.text, -99), c.expected);
  }
}

TEST(SysUtilsStrings, IntegerConversionsRaiseAndWiden) {
  try {
    StrToInt("abc");
    ADD_FAILURE() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.GetMessage(), "'abc' is not a valid integer value");
  }
  EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(StrToInt64Def("9223372036854775808", 3), 3);
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64("2147483648"), 2147483648LL);
  int v = 0;
  EXPECT_FALSE(TryStrToInt("x", v));
  EXPECT_TRUE(TryStrToInt("-12", v));
  EXPECT_EQ(v, -12);

  EXPECT_EQ(IntToStr(-5), "-5");
  EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(IntToStr(4000000000u), "4000000000");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(int64_t{-1}, 2), "FFFFFFFFFFFFFFFF");
}

TEST(SysUtilsStrings, Booleans) {
  EXPECT_EQ(BoolToStr(true), "-1");
  EXPECT_EQ(BoolToStr(false), "0");
  EXPECT_EQ(BoolToStr(true, true), "True");
  EXPECT_TRUE(StrToBool("true"));
  EXPECT_TRUE(StrToBool("2"));
  EXPECT_FALSE(StrToBool("FALSE"));
  EXPECT_FALSE(StrToBool("0"));
  EXPECT_THROW(StrToBool("yes"), EConvertError);
}

TEST(SysUtilsStrings, TrimFamily) {
  struct {
    std::string in, both, left, right;
  } cases[] = {
      {"  a b \t\r\n", "a b", "a b \t\r\n", "  a b"},
      {std::string("\0\x01x\x7f", 4), "x\x7f", "x\x7f", std::string("\0\x01x\x7f", 4)},
      {" \t ", "", "", ""},
      {"", "", "", ""},
      {"\xA0x\xA0", "\xA0x\xA0", "\xA0x\xA0", "\xA0x\xA0"},  // no-break space is not a blank
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(Trim(c.in), c.both);
    EXPECT_EQ(TrimLeft(c.in), c.left);
    EXPECT_EQ(TrimRight(c.in), c.right);
  }
}

TEST(SysUtilsStrings, CaseAsciiAndLocale) {
  EXPECT_EQ(UpperCase("abz\xE9["), "ABZ\xE9[");
  EXPECT_EQ(LowerCase("ABZ\xC9@"), "abz\xC9@");
  // Code page 1252: e acute (E9) and E acute (C9).
  EXPECT_EQ(AnsiUpperCase("ab\xE9"), "AB\xC9");
  EXPECT_EQ(AnsiLowerCase("AB\xC9"), "ab\xE9");
}

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(SysUtilsStrings, ComparisonSigns) {
  struct {
    const char* a;
    const char* b;
    int compareText, compareStr, ansiText;
  } cases[] = {
      {"abc", "ABC", 0, 1, 0},
      {"a", "b", -1, -1, -1},
      {"b", "A", 1, 1, 1},
      {"ab", "abc", -1, -1, -1},
      {"", "", 0, 0, 0},
      // Folded to upper case, '_' (5F) sorts after letters (41-5A).
      {"_", "a", 1, -1, -1},
      {"a", "B", -1, 1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " / " + c.b);
    EXPECT_EQ(Sign(CompareText(c.a, c.b)), c.compareText);
    EXPECT_EQ(Sign(CompareStr(c.a, c.b)), c.compareStr);
    EXPECT_EQ(Sign(AnsiCompareText(c.a, c.b)), c.ansiText);
    EXPECT_EQ(SameText(c.a, c.b), c.compareText == 0);
    EXPECT_EQ(AnsiSameText(c.a, c.b), c.ansiText == 0);
  }
  EXPECT_LT(AnsiCompareStr("a", "B"), 0);  // linguistic, unlike CompareStr
  EXPECT_FALSE(AnsiSameStr("a", "A"));
  EXPECT_TRUE(AnsiSameText("\xE9t\xE9", "\xC9T\xC9"));
  EXPECT_TRUE(WideSameText(L"\u00C4rger", L"\u00E4RGER"));
  EXPECT_LT(WideCompareText(L"abc", L"ABD"), 0);
  EXPECT_GT(WideCompareStr(L"b", L"a"), 0);
}

TEST(SysUtilsStrings, Quoting) {
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(AnsiQuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");
  struct {
    const char* in;
    const char* out;
    const char* rest;
  } cases[] = {
      {"'a''b'rest", "a'b", "rest"},
      {"'open", "open", ""},
      {"''", "", ""},
      {"x'y'", "", "x'y'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    const char* p = c.in;
    EXPECT_EQ(AnsiExtractQuotedStr(p, '\''), c.out);
    EXPECT_STREQ(p, c.rest);
  }
  EXPECT_EQ(AnsiDequotedStr("\"q\"\"x\"", '"'), "q\"x");
  EXPECT_EQ(AnsiDequotedStr("plain", '"'), "plain");
  EXPECT_EQ(AnsiDequotedStr("\"\"", '"'), "\"\"");
}

TEST(SysUtilsStrings, StringReplace) {
  struct {
    const char* s;
    const char* from;
    const char* to;
    TReplaceFlags flags;
    const char* expected;
  } cases[] = {
      {"aXbXc", "X", "-", {}, "a-bXc"},
      {"aXbXc", "X", "-", {rfReplaceAll}, "a-b-c"},
      {"aXbxc", "x", "-", {rfReplaceAll}, "aXb-c"},
      {"aXbxc", "x", "-", {rfReplaceAll, rfIgnoreCase}, "a-b-c"},
      {"aaa", "aa", "b", {rfReplaceAll}, "ba"},
      {"abc", "", "x", {rfReplaceAll}, "abc"},
      {"abc", "abc", "", {}, ""},
      {"x\xE9y", "\xC9", "e", {rfIgnoreCase}, "xey"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.s);
    EXPECT_EQ(StringReplace(c.s, c.from, c.to, c.flags), c.expected);
  }
}

TEST(SysUtilsStrings, Delimiters) {
  EXPECT_EQ(LastDelimiter("\\:", "C:\\dir\\file"), 7);
  EXPECT_EQ(LastDelimiter(".", "abc"), 0);
  EXPECT_EQ(LastDelimiter(".", ""), 0);
  EXPECT_TRUE(IsDelimiter(".,", "a,b", 2));
  EXPECT_FALSE(IsDelimiter(".,", "a,b", 1));
  EXPECT_FALSE(IsDelimiter(".,", "a,b", 0));
  EXPECT_FALSE(IsDelimiter(".,", "a,b", 4));
  EXPECT_EQ(AnsiPos("b", "abcb"), 2);
  EXPECT_EQ(AnsiPos("", "abc"), 0);
  EXPECT_EQ(AnsiPos("abcd", "abc"), 0);
}

}  // namespace
