// The layer's encodings: its own UTF-7 codec against the cases of RFC 2152
// and against the platform's code page 65000, UTF-8, code pages, UCS-2,
// resource strings and the wide command line.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "classlib/SysUtils.h"
#include "tests/common/DamagedUtf8.h"
#include "tests/common/TestSupport.h"
#include "unicode/VoxSysUtils.h"
#include "unicode/VoxSystem.h"

namespace {

// The platform's own conversions, for cross-checks.
std::string PlatformToMulti(const std::wstring& s, UINT cp) {
  if (s.empty()) return {};
  int n = WideCharToMultiByte(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string r(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(cp, 0, s.data(), static_cast<int>(s.size()), r.data(), n, nullptr, nullptr);
  return r;
}
std::wstring PlatformToWide(const std::string& s, UINT cp) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring r(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), r.data(), n);
  return r;
}

// Random UTF-16: ASCII of every class (direct, optional, "+", "-", blanks),
// Latin-1, other BMP characters and surrogate pairs.
std::wstring RandomText(std::mt19937& rng, size_t maxLen) {
  std::uniform_int_distribution<size_t> len(0, maxLen);
  std::uniform_int_distribution<int> kind(0, 5);
  std::wstring s;
  for (size_t i = 0, n = len(rng); i < n; ++i) {
    switch (kind(rng)) {
      case 0: s += static_cast<wchar_t>(std::uniform_int_distribution<int>(32, 126)(rng)); break;
      case 1: s += L"+-!~\\ \t\r\n."[std::uniform_int_distribution<int>(0, 10)(rng)]; break;
      case 2: s += static_cast<wchar_t>(std::uniform_int_distribution<int>(0xA0, 0xFF)(rng)); break;
      case 3: s += static_cast<wchar_t>(std::uniform_int_distribution<int>(0x100, 0xD7FF)(rng)); break;
      case 4: s += static_cast<wchar_t>(std::uniform_int_distribution<int>(0xE000, 0xFFFD)(rng)); break;
      default: {
        unsigned cp = std::uniform_int_distribution<unsigned>(0x10000, 0x10FFFF)(rng) - 0x10000;
        s += static_cast<wchar_t>(0xD800 + (cp >> 10));
        s += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
      }
    }
  }
  return s;
}

// --- UTF-7 --------------------------------------------------------------------------------

TEST(VoxUTF7, EncodesAsRfc2152WithOptionalCharactersDirect) {
  struct Case {
    const wchar_t* Text;
    const char* Utf7;
  };
  const Case cases[] = {
      {L"+", "+-"},
      {L"a+b", "a+-b"},
      {L"Hi Mom -\u263A-!", "Hi Mom -+Jjo--!"},  // the run closes with "-" before a "-"
      {L"A\u2262\u0391.", "A+ImIDkQ."},          // and without one before a full stop
      {L"\u00A3", "+AKM"},
      {L"\u00A31", "+AKM-1"},                     // before a base64 character it must close
      {L"\u65E5\u672C\u8A9E", "+ZeVnLIqe"},
      {L"~\\", "+AH4AXA"},
      {L"!\"#$%&*;<=>@[]^_`{|}", "!\"#$%&*;<=>@[]^_`{|}"},
      {L"a\tb\r\nc d", "a\tb\r\nc d"},
      {L"\U0001F600", "+2D3eAA"},
      {L"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Utf7);
    EXPECT_EQ(std::string(c.Utf7), WideStringToUTF7(c.Text));
    EXPECT_EQ(std::wstring(c.Text), UTF7ToWideString(c.Utf7));
  }
}

TEST(VoxUTF7, StrictAndVerboseEncodings) {
  struct Case {
    const wchar_t* Text;
    bool Verbose, Optional;
    const char* Utf7;
  };
  const Case cases[] = {
      {L"a!b", false, false, "a+ACE-b"},
      {L"!", false, false, "+ACE"},
      {L"!", true, false, "+ACE-"},
      {L"\u00A3.", true, true, "+AKM-."},
      {L"+", true, true, "+-"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Utf7);
    std::wstring text = c.Text;
    char out[64];
    const wchar_t* src = text.data();
    char* dst = out;
    EXPECT_EQ(cvtOK, ConvertUTF16ToUTF7(src, text.data() + text.size(), dst, out + sizeof out, c.Verbose, c.Optional));
    EXPECT_EQ(text.data() + text.size(), src);
    EXPECT_EQ(std::string(c.Utf7), std::string(out, dst));
  }
}

TEST(VoxUTF7, IllegalInputIsReportedAfterDecodingToTheEnd) {
  struct Case {
    const char* Utf7;
    const wchar_t* Decoded;  // what the codec wrote
  };
  const Case cases[] = {
      {"+", L""},                // a plus at the end
      {"a+!b", L"a!b"},          // a run with no unit
      {"+A-x", L"x"},            // six bits are not a unit
      {"+AKN-", L"\u00A3"},      // padding bits that are not zero
      {"caf\xE9", L"caf\u00E9"},  // a byte above 127 outside a run
      {"+AKM\xE9", L"\u00A3\u00E9"},
      {"\xE9+-", L"\u00E9+"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Utf7);
    std::string in = c.Utf7;
    wchar_t out[16];
    const char* src = in.data();
    wchar_t* dst = out;
    EXPECT_EQ(cvtIllegal, ConvertUTF7ToUTF16(src, in.data() + in.size(), dst, out + 16));
    EXPECT_EQ(in.data() + in.size(), src) << "decoding goes on to the end";
    EXPECT_EQ(std::wstring(c.Decoded), std::wstring(out, dst));
    EXPECT_EQ("Invalid UTF7", MessageOf<Exception>([&] { UTF7ToWideString(in); }));
  }
  // Legal: "+-", a run ended by the input after whole units with zero bits.
  EXPECT_EQ(std::wstring(L"+"), UTF7ToWideString("+-"));
  EXPECT_EQ(std::wstring(L"\u00A3"), UTF7ToWideString("+AKM-"));
  EXPECT_EQ(std::wstring(L"\u00A3"), UTF7ToWideString("+AKM"));
  EXPECT_EQ(std::wstring(L"a\u00A3+"), UTF7ToWideString("a+AKM-+-"));
}

TEST(VoxUTF7, AFullTargetStopsWithWhatFits) {
  std::wstring text = L"ab\u00A3cd";
  char out[4];
  const wchar_t* src = text.data();
  char* dst = out;
  EXPECT_EQ(cvtTargetFull, ConvertUTF16ToUTF7(src, text.data() + text.size(), dst, out + sizeof out, false, true));
  EXPECT_EQ(out + 4, dst);
  EXPECT_EQ(std::string("ab+A"), std::string(out, dst));
  EXPECT_EQ(text.data() + 2, src) << "the unit being written is not counted as read";

  std::string in = "abc+AKM-d";
  wchar_t w[3];
  const char* from = in.data();
  wchar_t* to = w;
  EXPECT_EQ(cvtTargetFull, ConvertUTF7ToUTF16(from, in.data() + in.size(), to, w + 3));
  EXPECT_EQ(std::wstring(L"abc"), std::wstring(w, to));
  EXPECT_EQ(in.data() + 6, from) << "stops at the byte that completes the unit";
}

TEST(VoxUTF7, RoundTripsRandomTextAndAgreesWithThePlatform) {
  std::mt19937 rng(20261210);
  for (int i = 0; i < 300; ++i) {
    std::wstring text = RandomText(rng, 40);
    std::string utf7 = WideStringToUTF7(text);
    ASSERT_EQ(text, UTF7ToWideString(utf7)) << utf7;
    // The platform's code page 65000 reads ours, and we read the platform's.
    ASSERT_EQ(text, PlatformToWide(utf7, CP_UTF7)) << utf7;
    std::string theirs = PlatformToMulti(text, CP_UTF7);
    ASSERT_EQ(text, UTF7ToWideString(theirs)) << theirs;
  }
}

// --- UTF-8 and code pages --------------------------------------------------------------------

TEST(VoxUTF8, RoundTripsRandomText) {
  std::mt19937 rng(7);
  for (int i = 0; i < 300; ++i) {
    std::wstring text = RandomText(rng, 40);
    std::string utf8 = WideStringToUTF8(text);
    ASSERT_EQ(PlatformToMulti(text, CP_UTF8), utf8);
    ASSERT_EQ(text, UTF8ToWideString(utf8));
  }
}

// Damaged UTF-8 keeps every good sequence, with U+FFFD for each bad one,
// whether it is decoded directly or as code page 65001 (as every other code
// page replaces what it cannot map).
TEST(VoxUTF8, DamagedInputKeepsTheRestOfTheText) {
  for (const TDamagedUtf8& c : DamagedUtf8()) {
    SCOPED_TRACE(c.What);
    EXPECT_EQ(c.Text, UTF8ToWideString(c.Bytes));
    EXPECT_EQ(c.Text, StringToWideStringEx(c.Bytes, CP_UTF8));
  }
  EXPECT_EQ(std::wstring(L"\u20AC\U0001F600"), UTF8ToWideString("\xE2\x82\xAC\xF0\x9F\x98\x80"));
}

TEST(VoxCodePages, ConvertByCodePage) {
  EXPECT_EQ(std::wstring(L"\u0416"), StringToWideStringEx("\xC6", 1251));
  EXPECT_EQ(std::string("\xC6"), WideStringToStringEx(L"\u0416", 1251));
  EXPECT_EQ(std::string("+BBY-a"), WideStringToStringEx(L"\u0416a", CP_UTF7));
  EXPECT_EQ(std::wstring(L"\u0416a"), StringToWideStringEx("+BBY-a", CP_UTF7));
  EXPECT_EQ(std::string("\xD0\x96"), WideStringToStringEx(L"\u0416", CP_UTF8));
  EXPECT_EQ(std::wstring(L"\u0416"), StringToWideStringEx("\xD0\x96", CP_UTF8));
  EXPECT_EQ(std::wstring(), StringToWideStringEx("", 1251));
  EXPECT_EQ("Invalid UTF7", MessageOf<Exception>([] { StringToWideStringEx("+", CP_UTF7); }));
  EXPECT_THROW(StringToWideStringEx("abc", 12345), EOSError);
  EXPECT_THROW(WideStringToStringEx(L"abc", 12345), EOSError);
}

TEST(VoxCodePages, UCS2Packing) {
  EXPECT_EQ(std::wstring(L"\u0416"), UCS2ToWideString(std::string("\x16\x04\x41", 3)));
  EXPECT_EQ(std::wstring(), UCS2ToWideString("x"));
  EXPECT_EQ(std::string("\x16\x04" "a\0", 4), WideStringToUCS2(L"\u0416a"));
  wchar_t s[] = L"\u0416a";
  StrSwapByteOrder(s);
  EXPECT_EQ(std::wstring(L"\u1604\u6100"), s);
  StrSwapByteOrder(nullptr);
}

TEST(VoxCodePages, CodePagesOfCharsetsLocalesAndTheKeyboard) {
  EXPECT_EQ(1252u, CharSetToCodePage(ANSI_CHARSET));
  EXPECT_EQ(1251u, CharSetToCodePage(RUSSIAN_CHARSET));
  EXPECT_EQ(932u, CharSetToCodePage(SHIFTJIS_CHARSET));
  EXPECT_THROW(CharSetToCodePage(77), EOSError);
  EXPECT_EQ(1251u, LCIDToCodePage(0x0419));
  EXPECT_EQ(1252u, LCIDToCodePage(0x0409));
  EXPECT_EQ(GetACP(), LCIDToCodePage(0x7F7F)) << "an unknown locale gives the ANSI code page";
  EXPECT_EQ(1252u, KeyboardCodePage());
  EXPECT_EQ(L'\u00E9', KeyUnicode('\xE9'));
  EXPECT_EQ(L'\u20AC', KeyUnicode('\x80'));
}

// --- Resource strings -------------------------------------------------------------------------

HMODULE gSelf = nullptr;
bool AnswerForTheFirst(PResStringRec rec, std::wstring& value) {
  if (rec && rec->Identifier == 101) {
    value = L"custom";
    return true;
  }
  return false;
}

TEST(VoxResStrings, NumberedTextAndCustom) {
  gSelf = GetModuleHandleW(nullptr);
  const TResStringRec numbered{&gSelf, 100};
  EXPECT_EQ(std::wstring(L"Gr\u00FC\u00DF Gott \u0416"), LoadResStringW(&numbered));
  const TResStringRec missing{&gSelf, 4000};
  EXPECT_EQ(std::wstring(), LoadResStringW(&missing));
  static const char utf8[] = "\xEF\xBB\xBF\xD0\x96!";
  const TResStringRec fromUtf8{&gSelf, reinterpret_cast<uintptr_t>(utf8)};
  EXPECT_EQ(std::wstring(L"\u0416!"), LoadResStringW(&fromUtf8));
  static const char ansi[] = "caf\xE9";
  const TResStringRec fromAnsi{&gSelf, reinterpret_cast<uintptr_t>(ansi)};
  EXPECT_EQ(std::wstring(L"caf\u00E9"), LoadResStringW(&fromAnsi));
  static const char justMark[] = "\xEF\xBB\xBF";
  const TResStringRec onlyMark{&gSelf, reinterpret_cast<uintptr_t>(justMark)};
  EXPECT_EQ(std::wstring(L"\u00EF\u00BB\u00BF"), LoadResStringW(&onlyMark)) << "three bytes are not more than three";
  EXPECT_EQ(std::wstring(), LoadResStringW(nullptr));

  CustomLoadResStringW = AnswerForTheFirst;
  const TResStringRec plain{&gSelf, 101};
  EXPECT_EQ(std::wstring(L"custom"), LoadResStringW(&plain));
  EXPECT_EQ(std::wstring(L"Gr\u00FC\u00DF Gott \u0416"), LoadResStringW(&numbered));
  CustomLoadResStringW = nullptr;
  EXPECT_EQ(std::wstring(L"plain"), LoadResStringW(&plain));
}

// --- The command line ----------------------------------------------------------------------------

TEST(VoxCommandLine, SplitsAsTheRunTimeLibraryDoes) {
  struct Case {
    const wchar_t* Line;
    std::vector<std::wstring> Params;
  };
  const Case cases[] = {
      {L"prog a  b", {L"prog", L"a", L"b"}},
      {L"\"C:\\my prog.exe\" \"x y\" z", {L"C:\\my prog.exe", L"x y", L"z"}},
      {L"p a\"b c\"d", {L"p", L"ab cd"}},
      {L"p \"\" a", {L"p", L"a"}},
      {L"p \"open to the end", {L"p", L"open to the end"}},
      {L"p \"", {L"p"}},
      {L"p \"\"", {L"p"}},
      {L"p\t\x01x\x1Fy", {L"p", L"x", L"y"}},
      {L"  \u0416\u00E9 \U0001F600", {L"\u0416\u00E9", L"\U0001F600"}},
      {L"", {L""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Line);
    EXPECT_EQ(c.Params, WideSplitCommandLine(c.Line));
  }
  std::wstring longParam(9000, L'x');
  std::vector<std::wstring> split = WideSplitCommandLine((L"p " + longParam + L" next").c_str());
  ASSERT_EQ(3u, split.size());
  EXPECT_EQ(8192u, split[1].size());
  EXPECT_EQ(std::wstring(L"next"), split[2]);
}

TEST(VoxCommandLine, ThisProcessesParameters) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(std::wstring(self), WideParamStr(0));
  std::vector<std::wstring> split = WideSplitCommandLine(GetCommandLineW());
  ASSERT_EQ(static_cast<int>(split.size()) - 1, WideParamCount());
  for (int i = 1; i <= WideParamCount(); ++i) EXPECT_EQ(split[static_cast<size_t>(i)], WideParamStr(i));
  EXPECT_EQ(std::wstring(), WideParamStr(WideParamCount() + 1));
  EXPECT_EQ(std::wstring(), WideParamStr(-1));
}

}  // namespace
