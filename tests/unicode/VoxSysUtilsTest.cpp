// The wide run-time routines: PWideChar buffers, case, text, paths, files on
// real folders with wide names (on both routes), dates, characters.
#include <gtest/gtest.h>

#include <cwchar>
#include <random>
#include <string>
#include <vector>

#include "classlib/SysUtils.h"
#include "tests/common/TestSupport.h"
#include "tests/unicode/VoxTestSupport.h"
#include "unicode/VoxSysUtils.h"
#include "unicode/VoxSystem.h"

namespace {

// --- PWideChar -----------------------------------------------------------------------

TEST(VoxPWideChar, AllocatedBuffersKnowTheirSize) {
  wchar_t* p = StrAllocW(10);
  EXPECT_EQ(10u, StrBufSizeW(p));
  EXPECT_EQ(0u, StrLenW(p));
  StrDisposeW(p);
  wchar_t* copy = StrNewW(L"caf\u00E9");
  EXPECT_EQ(std::wstring(L"caf\u00E9"), copy);
  EXPECT_EQ(5u, StrBufSizeW(copy));
  StrDisposeW(copy);
  EXPECT_EQ(nullptr, StrNewW(nullptr));
  StrDisposeW(nullptr);
}

TEST(VoxPWideChar, CopiesStopAtTheLimit) {
  struct Case {
    size_t MaxLen;
    const wchar_t* Expected;
  };
  for (const Case& c : {Case{0, L""}, Case{2, L"ab"}, Case{3, L"abc"}, Case{9, L"abc"}}) {
    SCOPED_TRACE(c.MaxLen);
    wchar_t buf[12];
    std::fill(std::begin(buf), std::end(buf), 0x7777);
    EXPECT_EQ(buf, StrLCopyW(buf, L"abc", c.MaxLen));
    EXPECT_EQ(std::wstring(c.Expected), buf);
    EXPECT_EQ(0x7777, buf[std::wcslen(c.Expected) + 1]) << "one terminator, nothing more";
  }
  wchar_t buf[16] = L"ab";
  EXPECT_EQ(buf + 3, StrECopyW(buf, L"xyz"));
  StrLCatW(buf, L"12345", 5);
  EXPECT_EQ(std::wstring(L"xyz12"), buf);
  StrCatW(buf, L"!");
  EXPECT_EQ(std::wstring(L"xyz12!"), buf);
  StrPCopyW(buf, "caf\xE9");
  EXPECT_EQ(std::wstring(L"caf\u00E9"), buf);
  StrPLCopyW(buf, "caf\xE9", 2);
  EXPECT_EQ(std::wstring(L"ca"), buf);
  StrCopyW(buf, L"abcdef");
  StrMoveW(buf + 1, buf, 3);
  EXPECT_EQ(std::wstring(L"aabcef"), buf);
}

TEST(VoxPWideChar, SearchAndCompare) {
  const wchar_t* s = L"a.b.c";
  EXPECT_EQ(s + 1, StrScanW(s, L'.'));
  EXPECT_EQ(s + 3, StrRScanW(s, L'.'));
  EXPECT_EQ(s + 5, StrScanW(s, 0));
  EXPECT_EQ(s + 5, StrRScanW(s, 0));
  EXPECT_EQ(nullptr, StrScanW(s, L'x'));
  EXPECT_EQ(s + 2, StrPosW(s, L"b.c"));
  EXPECT_EQ(nullptr, StrPosW(s, L""));
  EXPECT_EQ(std::wstring(L"a.b.c"), StrPasW(s));
  EXPECT_EQ(s + 5, StrEndW(s));

  struct Case {
    const wchar_t* A;
    const wchar_t* B;
    size_t MaxLen;
    int Comp, LComp, IComp, LIComp;
  };
  const Case cases[] = {
      {L"abc", L"abd", 2, -1, 0, -1, 0},
      {L"ABC", L"abc", 3, 1, 1, 0, 0},
      {L"ab", L"abc", 9, -1, -1, -1, -1},
      {L"\u00E9t\u00E9", L"\u00C9T\u00C9", 3, -1, -1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    EXPECT_EQ(c.Comp, StrCompW(c.A, c.B));
    EXPECT_EQ(c.LComp, StrLCompW(c.A, c.B, c.MaxLen));
    EXPECT_EQ(c.IComp, StrICompW(c.A, c.B));
    EXPECT_EQ(c.LIComp, StrLICompW(c.A, c.B, c.MaxLen));
  }
}

// --- Case --------------------------------------------------------------------------------

TEST(VoxCase, FollowsTheRoute) {
  EXPECT_EQ(std::wstring(L"\u00C4RGER \u0416"), Vox_WideUpperCase(L"\u00E4rger \u0436"));
  EXPECT_EQ(std::wstring(L"\u00E4rger \u0436"), Vox_WideLowerCase(L"\u00C4RGER \u0416"));
  EXPECT_EQ(4, WideTextPos(L"\u0416X", L"abc\u0436x"));
  EXPECT_EQ(0, WideTextPos(L"", L"abc"));
  TAnsiRoute ansi;
  // A character the ANSI code page lacks keeps its case there.
  EXPECT_EQ(std::wstring(L"\u00C4RGER \u0436"), Vox_WideUpperCase(L"\u00E4rger \u0436"));
  char upper[] = "a";
  CharUpperA(upper);
  EXPECT_EQ(std::wstring(L"A"), Vox_WideUpperCase(L"a"));
}

// --- Text --------------------------------------------------------------------------------

TEST(VoxText, StringReplace) {
  struct Case {
    const wchar_t* S;
    const wchar_t* Old;
    const wchar_t* New;
    TReplaceFlags Flags;
    bool WholeWord;
    const wchar_t* Expected;
  };
  const Case cases[] = {
      {L"a-b-c", L"-", L"+", {}, false, L"a+b-c"},
      {L"a-b-c", L"-", L"+", {rfReplaceAll}, false, L"a+b+c"},
      {L"\u0416a\u0436A", L"\u0416A", L"x", {rfReplaceAll, rfIgnoreCase}, false, L"xx"},
      {L"\u0416a\u0436A", L"\u0416A", L"x", {rfReplaceAll}, false, L"\u0416a\u0436A"},
      {L"cat concat cat.", L"cat", L"dog", {rfReplaceAll}, true, L"dog concat dog."},
      {L"cats cat", L"cat", L"dog", {}, true, L"cats dog"},
      {L"catcat", L"cat", L"cat cat", {rfReplaceAll}, true, L"catcat"},
      {L"abc", L"", L"x", {rfReplaceAll}, false, L"abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    EXPECT_EQ(std::wstring(c.Expected), WideStringReplace(c.S, c.Old, c.New, c.Flags, c.WholeWord));
  }
}

TEST(VoxText, AdjustLineBreaks) {
  struct Case {
    const wchar_t* S;
    TVoxTextLineBreakStyle Style;
    const wchar_t* Expected;
  };
  const Case cases[] = {
      {L"a\r\r\nb", tlbsCRLF, L"a\r\n\r\nb"},
      {L"a\nb\rc\r\nd\u2028e", tlbsLF, L"a\nb\nc\nd\ne"},
      {L"a\nb\r\n", tlbsCR, L"a\rb\r"},
      {L"\n", tlbsCRLF, L"\r\n"},
      {L"", tlbsCRLF, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    EXPECT_EQ(std::wstring(c.Expected), VoxAdjustLineBreaks(c.S, c.Style));
    EXPECT_EQ(std::wcslen(c.Expected), VoxAdjustLineBreaksLength(c.S, c.Style));
  }
}

TEST(VoxText, QuotedStrings) {
  EXPECT_EQ(std::wstring(L"'it''s'"), WideQuotedStr(L"it's", L'\''));
  EXPECT_EQ(std::wstring(L"\"\""), WideQuotedStr(L"", L'"'));
  struct Case {
    const wchar_t* P;
    const wchar_t* Value;
    size_t Moved;
  };
  const Case cases[] = {
      {L"'it''s' rest", L"it's", 7},
      {L"'open to the end", L"open to the end", 16},
      {L"''", L"", 2},
      {L"plain", L"", 0},
      {L"", L"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.P);
    const wchar_t* p = c.P;
    EXPECT_EQ(std::wstring(c.Value), WideExtractQuotedStr(p, L'\''));
    EXPECT_EQ(c.Moved, static_cast<size_t>(p - c.P));
  }
}

TEST(VoxText, WrapText) {
  struct Case {
    const wchar_t* Line;
    int MaxCol;
    const wchar_t* Expected;
  };
  const Case cases[] = {
      {L"The quick brown fox", 10, L"The quick \r\nbrown fox"},
      {L"short", 10, L"short"},
      {L"one-two-three", 5, L"one-\r\ntwo-\r\nthree"},
      {L"say \"a b c d e\" ok", 6, L"say \r\n\"a b c d e\" \r\nok"},
      {L"abc def\r\nghi jkl", 7, L"abc def\r\nghi jkl"},
      {L"nobreakpossiblehere", 5, L"nobreakpossiblehere"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Line);
    EXPECT_EQ(std::wstring(c.Expected), WideWrapText(c.Line, c.MaxCol));
  }
  EXPECT_EQ(std::wstring(L"a b |c"), WideWrapText(L"a b c", L"|", L" ", 3));
}

// Wrapping only inserts line breaks: a break character that follows a break
// (a second space, a minus sign, a tab) stays in the text, and may itself be
// where the next line breaks.
TEST(VoxText, WrapTextNeverDropsACharacter) {
  struct Case {
    const wchar_t* Line;
    int MaxCol;
    const wchar_t* Expected;
  };
  const Case cases[] = {
      {L"ab -cd", 2, L"ab \r\n-\r\ncd"},
      {L"ab  cd", 2, L"ab \r\n \r\ncd"},
      {L"a - b", 1, L"a \r\n- \r\nb"},
      {L"x\t\ty", 1, L"x\t\r\n\t\r\ny"},
      {L"abc  ", 2, L"abc \r\n "},
      {L"The quick  brown fox", 10, L"The quick  \r\nbrown fox"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Line);
    EXPECT_EQ(std::wstring(c.Expected), WideWrapText(c.Line, c.MaxCol));
  }
  EXPECT_EQ(std::wstring(L"a | |b"), WideWrapText(L"a  b", L"|", L" ", 1));

  // Any text: taking the inserted breaks out again gives the text back.
  std::mt19937 rng(29);
  const std::wstring alphabet = L"ab -\t'\"";
  for (int i = 0; i < 500; ++i) {
    std::wstring line;
    for (size_t n = rng() % 24; n > 0; --n) line += alphabet[rng() % alphabet.size()];
    const int maxCol = 1 + static_cast<int>(rng() % 6);
    std::wstring wrapped = WideWrapText(line, L"|", L" -\t", maxCol);
    std::erase(wrapped, L'|');
    ASSERT_EQ(line, wrapped) << "max " << maxCol;
  }
}

TEST(VoxText, IsRtfAndLastChar) {
  EXPECT_TRUE(IsRTF(L"{\\rtf1\\ansi}"));
  EXPECT_TRUE(IsRTF(L"{URTF"));
  EXPECT_FALSE(IsRTF(L"{\\rt"));
  EXPECT_FALSE(IsRTF(L" {\\rtf"));
  std::wstring s = L"ab";
  EXPECT_EQ(s.data() + 1, WideLastChar(s));
  EXPECT_EQ(nullptr, WideLastChar(L""));
}

// --- Paths -------------------------------------------------------------------------------

TEST(VoxPaths, SplitWithDrivesUncAndNone) {
  struct Case {
    const wchar_t* Name;
    const wchar_t* Path;
    const wchar_t* Dir;
    const wchar_t* Drive;
    const wchar_t* File;
    const wchar_t* Ext;
  };
  const Case cases[] = {
      {L"C:\\dir\\sub\\name.txt", L"C:\\dir\\sub\\", L"C:\\dir\\sub", L"C:", L"name.txt", L".txt"},
      {L"C:\\dir\\sub", L"C:\\dir\\", L"C:\\dir", L"C:", L"sub", L""},
      {L"C:\\", L"C:\\", L"C:\\", L"C:", L"", L""},
      {L"C:name.x", L"C:", L"C:", L"C:", L"name.x", L".x"},
      {L"\\\\server\\share\\dir\\f.\u00E9", L"\\\\server\\share\\dir\\", L"\\\\server\\share\\dir",
       L"\\\\server\\share", L"f.\u00E9", L".\u00E9"},
      {L"\\\\server\\share", L"\\\\server\\", L"\\\\server", L"\\\\server\\share", L"share", L""},
      {L"\\\\server", L"\\\\", L"\\\\", L"\\\\server", L"server", L""},
      {L"rel\\dir.d\\name", L"rel\\dir.d\\", L"rel\\dir.d", L"", L"name", L""},
      {L"name", L"", L"", L"", L"name", L""},
      {L"", L"", L"", L"", L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(std::wstring(c.Path), WideExtractFilePath(c.Name));
    EXPECT_EQ(std::wstring(c.Dir), WideExtractFileDir(c.Name));
    EXPECT_EQ(std::wstring(c.Drive), WideExtractFileDrive(c.Name));
    EXPECT_EQ(std::wstring(c.File), WideExtractFileName(c.Name));
    EXPECT_EQ(std::wstring(c.Ext), WideExtractFileExt(c.Name));
  }
}

TEST(VoxPaths, ChangeExtensionAndDelimiters) {
  EXPECT_EQ(std::wstring(L"C:\\a.b\\name.bak"), WideChangeFileExt(L"C:\\a.b\\name", L".bak"));
  EXPECT_EQ(std::wstring(L"C:\\a.b\\name.bak"), WideChangeFileExt(L"C:\\a.b\\name.txt", L".bak"));
  EXPECT_EQ(std::wstring(L"name"), WideChangeFileExt(L"name.txt", L""));
  EXPECT_EQ(std::wstring(L"C:\\"), WideIncludeTrailingBackslash(L"C:"));
  EXPECT_EQ(std::wstring(L"\\"), WideIncludeTrailingBackslash(L""));
  EXPECT_EQ(std::wstring(L"C:\\d\\"), WideIncludeTrailingBackslash(L"C:\\d\\"));
  EXPECT_EQ(std::wstring(L"C:\\d"), WideExcludeTrailingBackslash(L"C:\\d\\"));
  EXPECT_TRUE(WideIsPathDelimiter(L"a\\", 2));
  EXPECT_FALSE(WideIsPathDelimiter(L"a\\", 3));
  EXPECT_FALSE(WideIsPathDelimiter(L"a\\", 0));
  EXPECT_TRUE(WideIsDelimiter(L",;", L"a;b", 2));
  EXPECT_EQ(4, WideLastDelimiter(L".\\", L"a\\b.c"));
  EXPECT_EQ(0, WideLastDelimiter(L".", L"abc"));
}

TEST(VoxPaths, RelativePaths) {
  struct Case {
    const wchar_t* Base;
    const wchar_t* Dest;
    const wchar_t* Expected;
  };
  const Case cases[] = {
      {L"C:\\a\\b\\base.txt", L"C:\\a\\c\\d.txt", L"..\\c\\d.txt"},
      {L"C:\\a\\b\\", L"C:\\a\\b\\x\\y.txt", L"x\\y.txt"},
      {L"C:\\A\\B\\f", L"c:\\a\\b\\g", L"g"},
      {L"C:\\a\\b\\c\\f", L"C:\\x.txt", L"..\\..\\..\\x.txt"},
      {L"C:\\a\\f", L"D:\\a\\g", L"D:\\a\\g"},
      {L"\\\\srv\\share\\a\\f", L"\\\\srv\\share\\b\\g", L"..\\b\\g"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Dest);
    EXPECT_EQ(std::wstring(c.Expected), WideExtractRelativePath(c.Base, c.Dest));
  }
}

TEST(VoxPaths, ExpandAtMaxPathAndBeyond) {
  for (size_t len : {size_t{MAX_PATH - 10}, size_t{MAX_PATH}, size_t{MAX_PATH + 40}, size_t{700}}) {
    SCOPED_TRACE(len);
    std::wstring name = L"C:\\" + std::wstring(len - 3, L'\u00E9');
    EXPECT_EQ(name, WideExpandFileName(name));
    // The ANSI functions stop at MAX_PATH: the whole name or nothing.
    TAnsiRoute route;
    std::wstring ansi = WideExpandFileName(name);
    EXPECT_TRUE(ansi == name || (ansi.empty() && len >= MAX_PATH)) << ansi.size();
  }
  EXPECT_EQ(std::wstring(L"C:\\a\\c"), WideExpandFileName(L"C:\\a\\b\\..\\c"));
  EXPECT_EQ(std::wstring(), WideExtractShortPathName(L"C:\\no such folder\\x.txt"));
}

// --- Files on both routes --------------------------------------------------------------------

class VoxFiles : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override { route_ = std::make_unique<TAnsiRoute>(GetParam()); }
  void TearDown() override { route_.reset(); }
  // A wide name on the wide route; one the ANSI code page holds on the other.
  std::wstring Name(const std::wstring& stem) const {
    return stem + (GetParam() ? L"-caf\u00E9" : L"-\u0416\u4E2D\U0001F600");
  }
  std::unique_ptr<TAnsiRoute> route_;
};

TEST_P(VoxFiles, CreateOpenAndQuery) {
  TWideTempFolder dir(L"vox-files");
  const std::wstring file = dir.Path(Name(L"file") + L".txt");
  EXPECT_FALSE(WideFileExists(file));
  HANDLE h = WideFileCreate(file);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  DWORD written = 0;
  WriteFile(h, "abc", 3, &written, nullptr);
  CloseHandle(h);
  EXPECT_TRUE(WideFileExists(file));
  EXPECT_FALSE(WideDirectoryExists(file));
  EXPECT_TRUE(WideDirectoryExists(dir.Folder()));
  EXPECT_FALSE(WideFileExists(dir.Folder()));

  // Sharing follows the mode tables: a deny-write holder lets readers in.
  HANDLE holder = WideFileOpen(file, fmOpenRead | fmShareDenyWrite);
  ASSERT_NE(INVALID_HANDLE_VALUE, holder);
  HANDLE reader = WideFileOpen(file, fmOpenRead | fmShareDenyWrite);
  EXPECT_NE(INVALID_HANDLE_VALUE, reader);
  if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
  EXPECT_EQ(INVALID_HANDLE_VALUE, WideFileOpen(file, fmOpenWrite | fmShareDenyNone));
  CloseHandle(holder);
  EXPECT_EQ(INVALID_HANDLE_VALUE, WideFileOpen(file, 0x0003)) << "no such access mode";
  EXPECT_EQ(INVALID_HANDLE_VALUE, WideFileOpen(dir.Path(L"missing"), fmOpenRead));

  EXPECT_EQ(0, WideFileSetAttr(file, faReadOnly));
  EXPECT_EQ(faReadOnly, WideFileGetAttr(file) & faReadOnly);
  EXPECT_NE(0, WideFileSetAttr(dir.Path(L"missing"), faReadOnly));
  EXPECT_EQ(-1, WideFileGetAttr(dir.Path(L"missing")));
  EXPECT_EQ(0, WideFileSetAttr(file, 0));

  const std::wstring copy = dir.Path(Name(L"copy") + L".txt");
  EXPECT_TRUE(WideCopyFile(file, copy, true));
  EXPECT_FALSE(WideCopyFile(file, copy, true));
  EXPECT_TRUE(WideCopyFile(file, copy, false));
  const std::wstring moved = dir.Path(Name(L"moved") + L".txt");
  EXPECT_TRUE(WideRenameFile(copy, moved));
  EXPECT_FALSE(WideRenameFile(copy, moved));
  EXPECT_EQ("abc", ReadFileBytes(moved));
  EXPECT_TRUE(WideDeleteFile(moved));
  EXPECT_FALSE(WideDeleteFile(moved));
}

TEST_P(VoxFiles, ForceDirectoriesAndSearch) {
  TWideTempFolder dir(L"vox-force");
  const std::wstring deep = dir.Path(Name(L"a") + L"\\" + Name(L"b") + L"\\c\\");
  EXPECT_TRUE(WideForceDirectories(deep));
  EXPECT_TRUE(WideDirectoryExists(WideExcludeTrailingBackslash(deep)));
  EXPECT_TRUE(WideForceDirectories(deep)) << "already there";
  EXPECT_EQ("Unable to create directory", MessageOf<Exception>([] { WideForceDirectories(L""); }));
  WriteFileBytes(deep + L"blocker", "x");
  EXPECT_FALSE(WideForceDirectories(deep + L"blocker\\below")) << "a file stands in the way";

  WriteFileBytes(deep + Name(L"found"), "x");
  const std::wstring list = dir.Folder() + L";;" + WideExcludeTrailingBackslash(deep) + L";" + dir.Path(L"none");
  EXPECT_EQ(deep + Name(L"found"), WideFileSearch(Name(L"found"), list));
  EXPECT_EQ(std::wstring(), WideFileSearch(L"missing", list));
  EXPECT_EQ(deep + Name(L"found"), WideFileSearch(deep + Name(L"found"), L""));
}

TEST_P(VoxFiles, FindSkipsWhatTheAttributesLeaveOut) {
  TWideTempFolder dir(L"vox-findfirst");
  WriteFileBytes(dir.Path(Name(L"plain") + L".dat"), "12345");
  WriteFileBytes(dir.Path(Name(L"hidden") + L".dat"), "1");
  SetFileAttributesW(dir.Path(Name(L"hidden") + L".dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
  CreateDirectoryW(dir.Path(Name(L"sub") + L".dat").c_str(), nullptr);

  auto names = [&](int attr) {
    std::vector<std::wstring> found;
    TSearchRecW f;
    int r = WideFindFirst(dir.Path(L"*.dat"), attr, f);
    while (r == 0) {
      found.push_back(f.Name);
      r = WideFindNext(f);
    }
    EXPECT_EQ(ERROR_NO_MORE_FILES, r);
    WideFindClose(f);
    std::sort(found.begin(), found.end());
    return found;
  };
  EXPECT_EQ(std::vector<std::wstring>{Name(L"plain") + L".dat"}, names(0));
  EXPECT_EQ((std::vector<std::wstring>{Name(L"hidden") + L".dat", Name(L"plain") + L".dat"}), names(faHidden));
  EXPECT_EQ(3u, names(faAnyFile).size());

  TSearchRecW f;
  ASSERT_EQ(0, WideFindFirst(dir.Path(Name(L"plain") + L".dat"), 0, f));
  EXPECT_EQ(5, f.Size);
  EXPECT_EQ(0, f.Attr & faDirectory);
  // The local DOS time of a file made a moment ago: this year, at least.
  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_EQ(now.wYear - 1980, (f.Time >> 25) & 0x7F);
  WideFindClose(f);
  EXPECT_NE(0, WideFindFirst(dir.Path(L"*.none"), faAnyFile, f));
  EXPECT_EQ(INVALID_HANDLE_VALUE, f.FindHandle);
}

TEST_P(VoxFiles, ShortNamesOpenTheLongFile) {
  TWideTempFolder dir(L"vox-short");
  const std::wstring file = dir.Path(Name(L"a long file name") + L".text");
  WriteFileBytes(file, "short");
  std::wstring shortName = WideExtractShortPathName(file);
  ASSERT_FALSE(shortName.empty());
  EXPECT_EQ("short", ReadFileBytes(shortName));
  EXPECT_TRUE(WideIsPathDelimiter(WideExtractFilePath(shortName), static_cast<int>(WideExtractFilePath(shortName).size())));
}

INSTANTIATE_TEST_SUITE_P(Routes, VoxFiles, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& i) { return i.param ? "Ansi" : "Wide"; });

// --- Dates, locale, module, checks -----------------------------------------------------------

TEST(VoxDates, ParseThroughTheVariantParser) {
  EXPECT_DOUBLE_EQ(EncodeDate(2020, 12, 25), VoxStrToDate(L"12/25/2020"));
  EXPECT_DOUBLE_EQ(EncodeTime(13, 45, 0, 0), VoxStrToTime(L"1:45 PM"));
  EXPECT_NEAR(EncodeDate(2020, 12, 25) + EncodeTime(6, 30, 0, 0), VoxStrToDateTime(L"12/25/2020 6:30"), 1e-9);
  EXPECT_TRUE(ValidDateStr(L"1/2/2003"));
  EXPECT_TRUE(ValidTimeStr(L"10:00"));
  EXPECT_TRUE(ValidDateTimeStr(L"1/2/2003 10:00"));
  EXPECT_FALSE(ValidDateStr(L"not a date"));
  EXPECT_FALSE(ValidDateTimeStr(L""));
  std::string m = MessageOf<EConvertError>([] { VoxStrToDate(L"caf\u00E9"); });
  EXPECT_EQ(0u, m.find("'caf\xE9' is not a valid date\r\n")) << m;
  EXPECT_GT(m.size(), std::string("'caf\xE9' is not a valid date\r\n").size()) << "the parser's message follows";
  EXPECT_EQ(0u, MessageOf<EConvertError>([] { VoxStrToTime(L"x"); }).find("'x' is not a valid time\r\n"));
  EXPECT_EQ(0u, MessageOf<EConvertError>([] { VoxStrToDateTime(L"x"); }).find("'x' is not a valid date and time"));
}

TEST(VoxLocale, LocaleStringsAndModuleName) {
  for (bool ansi : {false, true}) {
    SCOPED_TRACE(ansi ? "ANSI" : "wide");
    TAnsiRoute route(ansi);
    EXPECT_EQ(std::wstring(L"English"), WideGetLocaleStr(0x0409, LOCALE_SENGLANGUAGE, L"x"));
    EXPECT_EQ(std::wstring(L"fallback"), WideGetLocaleStr(0x0409, 0x7FFF, L"fallback"));
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(std::wstring(self), WideGetModuleFileName(nullptr));
  }
}

TEST(VoxChecks, RaiseTheLastError) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  try {
    WinCheckH(static_cast<HANDLE>(nullptr));
    FAIL() << "no exception";
  } catch (const EOSError& e) {
    EXPECT_EQ(unsigned(ERROR_FILE_NOT_FOUND), e.GetErrorCode());
  }
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_THROW(WinCheckFileH(INVALID_HANDLE_VALUE), EOSError);
  EXPECT_THROW(WinCheckP(static_cast<void*>(nullptr)), EOSError);
  int x = 0;
  EXPECT_EQ(&x, WinCheckP(&x));
  EXPECT_EQ(reinterpret_cast<HANDLE>(8), WinCheckH(reinterpret_cast<HANDLE>(8)));
  EXPECT_EQ(nullptr, WinCheckFileH(nullptr));
}

// --- Characters ---------------------------------------------------------------------------------

TEST(VoxCharacters, ClassesOfTheThreadLocale) {
  struct Case {
    wchar_t C;
    bool Upper, Lower, Digit, Space, Punct, Cntrl, Blank, XDigit, Alpha, AlNum;
  };
  const Case cases[] = {
      {L'A', true, false, false, false, false, false, false, true, true, true},
      {L'\u0436', false, true, false, false, false, false, false, false, true, true},
      {L'7', false, false, true, false, false, false, false, true, false, true},
      {L' ', false, false, false, true, false, false, true, false, false, false},
      {L'\t', false, false, false, true, false, true, true, false, false, false},
      {L',', false, false, false, false, true, false, false, false, false, false},
      {L'\u00BF', false, false, false, false, true, false, false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.C));
    EXPECT_EQ(c.Upper, IsWideCharUpper(c.C));
    EXPECT_EQ(c.Lower, IsWideCharLower(c.C));
    EXPECT_EQ(c.Digit, IsWideCharDigit(c.C));
    EXPECT_EQ(c.Space, IsWideCharSpace(c.C));
    EXPECT_EQ(c.Punct, IsWideCharPunct(c.C));
    EXPECT_EQ(c.Cntrl, IsWideCharCntrl(c.C));
    EXPECT_EQ(c.Blank, IsWideCharBlank(c.C));
    EXPECT_EQ(c.XDigit, IsWideCharXDigit(c.C));
    EXPECT_EQ(c.Alpha, IsWideCharAlpha(c.C));
    EXPECT_EQ(c.AlNum, IsWideCharAlphaNumeric(c.C));
  }
}

TEST(VoxCharacters, MappableToTheUsersCodePage) {
  EXPECT_TRUE(IsWideCharMappableToAnsi(L'\u00E9'));
  EXPECT_FALSE(IsWideCharMappableToAnsi(L'\u0416'));
  EXPECT_TRUE(IsWideStringMappableToAnsi(L"caf\u00E9"));
  EXPECT_FALSE(IsWideStringMappableToAnsi(L"caf\u00E9 \u0416"));
  const UINT saved = DefaultUserCodePage;
  DefaultUserCodePage = 1251;
  EXPECT_TRUE(IsWideCharMappableToAnsi(L'\u0416'));
  EXPECT_FALSE(IsWideCharMappableToAnsi(L'\u00E9'));
  DefaultUserCodePage = CP_UTF8;
  EXPECT_TRUE(IsWideStringMappableToAnsi(L"\u0416\U0001F600"));
  DefaultUserCodePage = saved;
}

// --- String arrays --------------------------------------------------------------------------------

TEST(VoxStringArrays, ZeroSeparatedRuns) {
  const wchar_t array[] = L"one\0tw\u00F6\0three\0\0after";
  EXPECT_EQ(std::wstring(array, 15), ExtractStringArrayStr(array));
  EXPECT_EQ((std::vector<std::wstring>{L"one", L"tw\u00F6", L"three"}), ExtractStringsFromStringArray(array));
  const wchar_t* p = array;
  EXPECT_EQ(std::wstring(L"one"), ExtractStringFromStringArray(p));
  EXPECT_EQ(array + 4, p);
  const wchar_t* q = L"a,b";
  EXPECT_EQ(std::wstring(L"a"), ExtractStringFromStringArray(q, L','));
  EXPECT_EQ(std::wstring(L"b"), ExtractStringFromStringArray(q, L','));
  EXPECT_EQ(0, *q) << "stays at the end";
  EXPECT_EQ((std::vector<std::wstring>{L"x", L"y"}), ExtractStringsFromStringArray(L"x;y", L';'));
  EXPECT_TRUE(ExtractStringsFromStringArray(L"").empty());
  EXPECT_EQ(std::wstring(), ExtractStringArrayStr(nullptr));
}

TEST(VoxPlatformFlags, DescribeTheRunningSystem) {
  EXPECT_TRUE(Win32PlatformIsUnicode);
  EXPECT_EQ(Win32MajorVersion > 5 || (Win32MajorVersion == 5 && Win32MinorVersion >= 1), Win32PlatformIsXP);
}

}  // namespace
