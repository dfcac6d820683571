// The wide wrappers: the result-copy rule, each wrapper on the ANSI route
// against the wide route, and the ANSI route's byte/character mapping.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <functional>
#include <vector>

#include "classlib/SysUtils.h"
#include "classlib/seams/SeamTable.h"
#include "tests/unicode/VoxTestSupport.h"
#include "unicode/VoxWindows.h"

namespace {

const wchar_t kSentinel = 0x7777;

// --- The result-copy rule -------------------------------------------------------------

struct CopyCase {
  const char* Name;
  const char* Result;
  DWORD N;
  unsigned Modes;
  DWORD Expected;
  const wchar_t* Buffer;  // what the buffer holds up to (and with) its terminator; null: untouched
  bool Terminated;
};

TEST(VoxCopyAnsiResult, FollowsTheRuleBelowAtAndAboveTheBuffer) {
  const CopyCase cases[] = {
      {"fits", "abc", 4, 0, 3, L"abc", true},
      {"fits, any mode", "abc", 10, vcmExact | vcmClear, 3, L"abc", true},
      {"exact at size", "abc", 3, vcmExact, 3, L"abc", false},
      {"exact below size", "abc", 2, vcmExact, 2, L"ab", false},
      {"fits with terminator at size", "abc", 3, vcmFitsWithTerminator, 4, L"ab", true},
      {"fits with terminator below size, clear", "abc", 2, vcmFitsWithTerminator | vcmClear, 4, L"", true},
      {"no mode at size", "abc", 3, 0, 4, nullptr, false},
      {"clear with no buffer", "abc", 0, vcmClear, 4, nullptr, false},
      {"path keeps the folders that fit", "C:\\dir\\file.txt", 8, vcmPath, 16, L"C:\\dir\\", true},
      {"path of one folder", "C:\\dir\\file.txt", 6, vcmPath, 16, L"C:\\", true},
      {"path too small", "C:\\dir\\file.txt", 3, vcmPath, 16, nullptr, false},
      {"converted from the code page", "caf\xE9", 5, 0, 4, L"caf\u00E9", true},
  };
  for (const CopyCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<wchar_t> buf(32, kSentinel);
    EXPECT_EQ(c.Expected, VoxCopyAnsiResult(c.Result, buf.data(), c.N, c.Modes));
    if (!c.Buffer) {
      EXPECT_EQ(kSentinel, buf[0]);
      continue;
    }
    size_t len = std::wcslen(c.Buffer);
    EXPECT_EQ(std::wstring(c.Buffer), std::wstring(buf.data(), len));
    if (c.Terminated) EXPECT_EQ(0, buf[len]);
    else EXPECT_EQ(kSentinel, buf[len]) << "written past the count";
    EXPECT_EQ(kSentinel, buf[c.N < 32 ? std::max<size_t>(c.N, len + 1) : 31]) << "written past the buffer";
  }
}

// --- Buffer-filling wrappers on both routes ------------------------------------------------

struct BufferCall {
  const char* Name;
  std::function<DWORD(wchar_t* buf, DWORD n)> Call;
};

std::wstring Full(const BufferCall& call) {
  std::vector<wchar_t> buf(1024, 0);
  DWORD n = call.Call(buf.data(), 1024);
  return std::wstring(buf.data(), n);
}

class VoxWrapperBuffers : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    file_ = std::wstring(temp) + L"vox-buffers-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    WriteFileBytes(file_, "x");
  }
  void TearDown() override { DeleteFileW(file_.c_str()); }
  std::wstring file_;
};

TEST_F(VoxWrapperBuffers, AnsiRouteGivesTheWideAnswerWhenTheBufferIsLargeEnough) {
  const std::wstring file = file_;
  const BufferCall calls[] = {
      {"GetModuleFileName", [](wchar_t* b, DWORD n) { return Vox_GetModuleFileNameW(nullptr, b, n); }},
      {"GetTempPath", [](wchar_t* b, DWORD n) { return Vox_GetTempPathW(n, b); }},
      {"GetWindowsDirectory", [](wchar_t* b, DWORD n) { return Vox_GetWindowsDirectoryW(b, n); }},
      {"GetSystemDirectory", [](wchar_t* b, DWORD n) { return Vox_GetSystemDirectoryW(b, n); }},
      {"GetShortPathName", [file](wchar_t* b, DWORD n) { return Vox_GetShortPathNameW(file.c_str(), b, n); }},
      {"GetFullPathName",
       [](wchar_t* b, DWORD n) { return Vox_GetFullPathNameW(L"C:\\a\\.\\b\\..\\name.txt", n, b, nullptr); }},
  };
  for (const BufferCall& c : calls) {
    SCOPED_TRACE(c.Name);
    std::wstring wide = Full(c);
    ASSERT_FALSE(wide.empty());
    TAnsiRoute ansi;
    EXPECT_EQ(wide, Full(c));
  }
}

// What each wrapper's mode does when the buffer is one short or just the
// length of the text, on the ANSI route.
TEST_F(VoxWrapperBuffers, AnsiRouteAtAndBelowTheLength) {
  struct ModeCase {
    BufferCall Call;
    unsigned Modes;
  };
  const std::wstring file = file_;
  const ModeCase cases[] = {
      {{"GetModuleFileName", [](wchar_t* b, DWORD n) { return Vox_GetModuleFileNameW(nullptr, b, n); }}, vcmExact},
      {{"GetTempPath", [](wchar_t* b, DWORD n) { return Vox_GetTempPathW(n, b); }},
       vcmFitsWithTerminator | vcmClear},
      {{"GetWindowsDirectory", [](wchar_t* b, DWORD n) { return Vox_GetWindowsDirectoryW(b, n); }}, 0},
      {{"GetShortPathName", [file](wchar_t* b, DWORD n) { return Vox_GetShortPathNameW(file.c_str(), b, n); }},
       vcmPath},
      {{"GetFullPathName",
        [](wchar_t* b, DWORD n) { return Vox_GetFullPathNameW(L"C:\\a\\name.txt", n, b, nullptr); }},
       vcmClear},
  };
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(c.Call.Name);
    const std::wstring text = Full(c.Call);
    const auto len = static_cast<DWORD>(text.size());
    TAnsiRoute ansi;
    for (DWORD n : {len, len - 1}) {
      SCOPED_TRACE(n);
      std::vector<wchar_t> buf(len + 8, kSentinel), expected(len + 8, kSentinel);
      DWORD want = VoxCopyAnsiResult(WideToAnsi(text), expected.data(), n, c.Modes);
      EXPECT_EQ(want, c.Call.Call(buf.data(), n));
      EXPECT_EQ(expected, buf);
    }
  }
}

TEST(VoxWrappers, GetFullPathNamePointsAtTheFilePartOnBothRoutes) {
  for (bool ansi : {false, true}) {
    SCOPED_TRACE(ansi ? "ANSI" : "wide");
    TAnsiRoute route(ansi);
    wchar_t buf[MAX_PATH];
    wchar_t* part = nullptr;
    DWORD n = Vox_GetFullPathNameW(L"C:\\caf\u00E9\\name.txt", MAX_PATH, buf, &part);
    ASSERT_EQ(std::wstring(L"C:\\caf\u00E9\\name.txt"), std::wstring(buf, n));
    ASSERT_NE(nullptr, part);
    EXPECT_EQ(std::wstring(L"name.txt"), part);
    // Too small: the size needed, and no file part.
    part = buf;
    EXPECT_EQ(n + 1, Vox_GetFullPathNameW(L"C:\\caf\u00E9\\name.txt", 4, buf, &part));
    EXPECT_EQ(nullptr, part);
  }
}

TEST(VoxWrappers, GetComputerNameWithNoRoomFailsAndGivesTheSizeNeeded) {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  ASSERT_TRUE(Vox_GetComputerNameW(name, &size));
  const std::wstring wide(name, size);
  for (bool ansi : {false, true}) {
    SCOPED_TRACE(ansi ? "ANSI" : "wide");
    TAnsiRoute route(ansi);
    DWORD none = 0;
    EXPECT_FALSE(Vox_GetComputerNameW(name, &none));
    EXPECT_EQ(wide.size() + 1, none);
    DWORD room = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(Vox_GetComputerNameW(name, &room));
    EXPECT_EQ(wide, std::wstring(name, room));
  }
}

// --- Text through the ANSI code page ------------------------------------------------------

TEST(VoxWrappers, AnsiRouteSendsAMissingCharacterAsTheDefaultCharacter) {
  HWND wnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, wnd);
  wchar_t text[16];
  ASSERT_TRUE(Vox_SetWindowTextW(wnd, L"a\u0416\u00E9"));
  GetWindowTextW(wnd, text, 16);
  EXPECT_EQ(std::wstring(L"a\u0416\u00E9"), text);
  {
    TAnsiRoute ansi;
    ASSERT_TRUE(Vox_SetWindowTextW(wnd, L"a\u0416\u00E9"));
  }
  GetWindowTextW(wnd, text, 16);
  EXPECT_EQ(std::wstring(L"a?\u00E9"), text);
  DestroyWindow(wnd);
}

TEST(VoxWrappers, CompareStringWithoutFlagsIsBinaryOnTheAnsiRoute) {
  struct Case {
    const wchar_t* A;
    int NA;
    const wchar_t* B;
    int NB;
    int Ansi;
  };
  const Case cases[] = {
      {L"a", -1, L"B", -1, CSTR_GREATER_THAN},  // every lower-case letter after every upper-case one
      {L"Z", -1, L"a", -1, CSTR_LESS_THAN},
      {L"abc", 2, L"abd", 2, CSTR_EQUAL},        // counts limit both texts
      {L"ab", -1, L"abc", -1, CSTR_LESS_THAN},
      {L"\u0416", -1, L"\u0416", -1, CSTR_EQUAL},
  };
  TAnsiRoute ansi;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    EXPECT_EQ(c.Ansi, Vox_CompareStringW(LOCALE_USER_DEFAULT, 0, c.A, c.NA, c.B, c.NB));
  }
  for (wchar_t lower = L'a'; lower <= L'z'; ++lower)
    for (wchar_t upper = L'A'; upper <= L'Z'; ++upper)
      ASSERT_EQ(CSTR_GREATER_THAN, Vox_CompareStringW(LOCALE_USER_DEFAULT, 0, &lower, 1, &upper, 1))
          << char(lower) << " after " << char(upper);
  // With flags, the locale's comparison of the ANSI texts.
  EXPECT_EQ(CSTR_EQUAL, Vox_CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, L"caf\u00C9", -1, L"CAF\u00E9", -1));
  EXPECT_EQ(CSTR_LESS_THAN, Vox_CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, L"a", -1, L"B", -1));
}

TEST(VoxWrappers, CharUpperAndLowerOnBothRoutes) {
  struct Case {
    wchar_t In;
    wchar_t WideUpper;
    wchar_t AnsiUpper;  // a character missing from the code page stays
  };
  const Case cases[] = {{L'a', L'A', L'A'}, {L'\u00E4', L'\u00C4', L'\u00C4'}, {L'\u0436', L'\u0416', L'\u0436'},
                        {L'1', L'1', L'1'}};
  for (bool ansi : {false, true}) {
    SCOPED_TRACE(ansi ? "ANSI" : "wide");
    TAnsiRoute route(ansi);
    std::wstring text, upper;
    for (const Case& c : cases) {
      wchar_t want = ansi ? c.AnsiUpper : c.WideUpper;
      // One character in the pointer's low word.
      LPWSTR one = Vox_CharUpperW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(c.In)));
      EXPECT_EQ(want, static_cast<wchar_t>(reinterpret_cast<uintptr_t>(one)));
      text += c.In;
      upper += want;
    }
    std::wstring s = text;
    EXPECT_EQ(s.data(), Vox_CharUpperW(s.data()));
    EXPECT_EQ(upper, s);
    std::wstring b = text;
    EXPECT_EQ(b.size(), Vox_CharUpperBuffW(b.data(), static_cast<DWORD>(b.size())));
    EXPECT_EQ(upper, b);
    EXPECT_EQ(b.size(), Vox_CharLowerBuffW(b.data(), static_cast<DWORD>(b.size())));
    EXPECT_EQ(ansi ? std::wstring(L"a\u00E4\u0436" L"1") : text, b);
  }
}

TEST(VoxWrappers, GetStringTypeExGivesOneTypePerUnitOnBothRoutes) {
  // A surrogate pair becomes one "?" on the ANSI route; both of its units
  // take that character's type, and nothing is written past the count.
  const std::wstring text = L"aZ5 ,\u00E9\U0001F600x";
  std::vector<WORD> wide(text.size() + 1, 0xEEEE), ansi(text.size() + 1, 0xEEEE);
  ASSERT_TRUE(Vox_GetStringTypeExW(LOCALE_USER_DEFAULT, CT_CTYPE1, text.c_str(), static_cast<int>(text.size()),
                                   wide.data()));
  {
    TAnsiRoute route;
    ASSERT_TRUE(Vox_GetStringTypeExW(LOCALE_USER_DEFAULT, CT_CTYPE1, text.c_str(), static_cast<int>(text.size()),
                                     ansi.data()));
  }
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(wide[i], ansi[i]) << "unit " << i;
  WORD question = 0;
  GetStringTypeExW(LOCALE_USER_DEFAULT, CT_CTYPE1, L"?", 1, &question);
  EXPECT_EQ(question, ansi[6]);
  EXPECT_EQ(question, ansi[7]);
  EXPECT_EQ(wide[8], ansi[8]);
  EXPECT_EQ(0xEEEE, ansi[9]);
}

// On a double-byte code page the ANSI calls count bytes: the spacing array
// goes per byte and the per-byte types come back per character.
TEST(VoxAnsiText, DoubleByteCharactersMapBetweenBytesAndUnits) {
  const std::wstring text = L"a\u3042" L"1b";  // HIRAGANA A is 2 bytes in code page 932
  VoxAnsi::TAnsiText t = VoxAnsi::ToAnsi(text.c_str(), static_cast<int>(text.size()), 932);
  ASSERT_EQ(5u, t.Bytes.size());
  EXPECT_EQ((std::vector<int>{0, 1, 3, 4, 5}), t.FirstByte);
  const INT dx[] = {7, 13, 5, 3};
  EXPECT_EQ((std::vector<INT>{7, 13, 0, 5, 3}), VoxAnsi::DxPerByte(t, dx));

  // One type per byte comes back from the ANSI call; each unit takes its
  // character's first byte's type and the trail byte's is dropped.
  const WORD perByte[] = {C1_LOWER, C1_ALPHA, C1_PUNCT, C1_DIGIT, C1_LOWER | C1_XDIGIT};
  WORD perUnit[5] = {0xEEEE, 0xEEEE, 0xEEEE, 0xEEEE, 0xEEEE};
  VoxAnsi::TypesPerUnit(t, perByte, perUnit);
  EXPECT_EQ((std::vector<WORD>{C1_LOWER, C1_ALPHA, C1_DIGIT, C1_LOWER | C1_XDIGIT, 0xEEEE}),
            std::vector<WORD>(perUnit, perUnit + 5));
}

TEST(VoxWrappers, ExtTextOutSpacingLandsTheSameOnBothRoutes) {
  // "A" then a character missing from the code page then "B", 30 pixels
  // apart: the B starts at 60 on both routes.
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 120, -20, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  const INT dx[] = {30, 30, 30};
  auto inkColumns = [&](bool ansi) {
    TAnsiRoute route(ansi);
    RECT all{0, 0, 120, 20};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_TRUE(Vox_ExtTextOutW(dc, 0, 0, 0, nullptr, L"A\u0416B", 3, dx));
    GdiFlush();
    std::vector<bool> ink(120, false);
    auto* px = static_cast<const uint32_t*>(bits);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 120; ++x)
        if ((px[y * 120 + x] & 0xFFFFFF) != 0xFFFFFF) ink[static_cast<size_t>(x)] = true;
    return ink;
  };
  std::vector<bool> wide = inkColumns(false), ansi = inkColumns(true);
  auto firstFrom = [](const std::vector<bool>& ink, size_t from) {
    for (size_t x = from; x < ink.size(); ++x)
      if (ink[x]) return static_cast<int>(x);
    return -1;
  };
  EXPECT_GE(firstFrom(wide, 58), 58);
  EXPECT_EQ(firstFrom(wide, 58), firstFrom(ansi, 58));
  EXPECT_LE(firstFrom(ansi, 58), 64);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

// --- Resources -----------------------------------------------------------------------------

TEST(VoxWrappers, LoadStringReadsTheStringTable) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  for (bool ansi : {false, true}) {
    SCOPED_TRACE(ansi ? "ANSI" : "wide");
    TAnsiRoute route(ansi);
    wchar_t buf[64];
    const std::wstring gruss = L"Gr\u00FC\u00DF Gott \u0416";
    EXPECT_EQ(static_cast<int>(gruss.size()), Vox_LoadStringW(inst, 100, buf, 64));
    EXPECT_EQ(gruss, buf);
    // No buffer: the length.
    EXPECT_EQ(static_cast<int>(gruss.size()), Vox_LoadStringW(inst, 100, nullptr, 0));
    EXPECT_EQ(static_cast<int>(gruss.size()), Vox_LoadStringW(inst, 100, buf, 0));
    // A short buffer: what fits, terminated.
    buf[3] = kSentinel;
    EXPECT_EQ(3, Vox_LoadStringW(inst, 100, buf, 4));
    EXPECT_EQ(std::wstring(L"Gr\u00FC"), buf);
    // A negative identifier is its magnitude.
    EXPECT_EQ(5, Vox_LoadStringW(inst, static_cast<UINT>(-101), buf, 64));
    EXPECT_EQ(std::wstring(L"plain"), buf);
    EXPECT_EQ(12, Vox_LoadStringW(inst, 117, buf, 64));
    // An empty entry of a block that exists, and a block that does not.
    EXPECT_EQ(0, Vox_LoadStringW(inst, 102, buf, 64));
    EXPECT_EQ(0, Vox_LoadStringW(inst, 4000, buf, 64));
  }
}

TEST(VoxWrappers, VersionValuesAreWideOnBothRoutes) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  for (bool ansi : {false, true}) {
    SCOPED_TRACE(ansi ? "ANSI" : "wide");
    TAnsiRoute route(ansi);
    DWORD handle = 0;
    DWORD size = Vox_GetFileVersionInfoSizeW(self, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(Vox_GetFileVersionInfoW(self, handle, size, block.data()));
    void* value = nullptr;
    UINT len = 0;
    ASSERT_TRUE(Vox_VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\ProductName", &value, &len));
    EXPECT_EQ(std::wstring(L"Vox caf\u00E9"), static_cast<const wchar_t*>(value));
    EXPECT_EQ(9u, len);
    // Anything else comes back as it is in the block.
    ASSERT_TRUE(Vox_VerQueryValueW(block.data(), L"\\", &value, &len));
    EXPECT_EQ(sizeof(VS_FIXEDFILEINFO), len);
    EXPECT_EQ(0x00010002u, static_cast<VS_FIXEDFILEINFO*>(value)->dwFileVersionMS);
  }
}

// --- Files and the shell ----------------------------------------------------------------------

TEST(VoxWrappers, FindFileGivesTheSameRecordOnBothRoutes) {
  TWideTempFolder dir(L"vox-find");
  const std::wstring name = L"caf\u00E9 with a long name.txt";
  WriteFileBytes(dir.Path(name), "12345");
  WIN32_FIND_DATAW wide{}, ansi{};
  HANDLE h = Vox_FindFirstFileW(dir.Path(L"*.txt").c_str(), &wide);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  EXPECT_FALSE(Vox_FindNextFileW(h, &wide));
  FindClose(h);
  {
    TAnsiRoute route;
    h = Vox_FindFirstFileW(dir.Path(L"*.txt").c_str(), &ansi);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    WIN32_FIND_DATAW next = ansi;
    EXPECT_FALSE(Vox_FindNextFileW(h, &next));
    FindClose(h);
    WIN32_FIND_DATAW none{};
    EXPECT_EQ(INVALID_HANDLE_VALUE, Vox_FindFirstFileW(dir.Path(L"*.none").c_str(), &none));
  }
  EXPECT_EQ(name, wide.cFileName);
  EXPECT_EQ(std::wstring(wide.cFileName), ansi.cFileName);
  EXPECT_EQ(std::wstring(wide.cAlternateFileName), ansi.cAlternateFileName);
  EXPECT_EQ(0, std::memcmp(&wide, &ansi, 44)) << "attributes, times and sizes";
  EXPECT_EQ(5u, ansi.nFileSizeLow);
}

TEST(VoxWrappers, ShellFileOperationCopiesANameListOnBothRoutes) {
  for (bool ansi : {false, true}) {
    SCOPED_TRACE(ansi ? "ANSI" : "wide");
    TAnsiRoute route(ansi);
    TWideTempFolder dir(L"vox-shop");
    WriteFileBytes(dir.Path(L"one \u00E9.txt"), "1");
    WriteFileBytes(dir.Path(L"two.txt"), "22");
    CreateDirectoryW(dir.Path(L"to").c_str(), nullptr);
    std::wstring from = dir.Path(L"one \u00E9.txt") + L'\0' + dir.Path(L"two.txt") + L'\0';
    std::wstring to = dir.Path(L"to") + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_COPY;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    op.fAnyOperationsAborted = TRUE;
    EXPECT_EQ(0, Vox_SHFileOperationW(&op));
    EXPECT_FALSE(op.fAnyOperationsAborted);
    EXPECT_EQ("1", ReadFileBytes(dir.Path(L"to\\one \u00E9.txt")));
    EXPECT_EQ("22", ReadFileBytes(dir.Path(L"to\\two.txt")));
    Vox_SHFreeNameMappings(op.hNameMappings);
  }
}

TEST(VoxWrappers, ShellFileInfoIsConvertedOnTheAnsiRoute) {
  TWideTempFolder dir(L"vox-info");
  const std::wstring file = dir.Path(L"caf\u00E9.txt");
  WriteFileBytes(file, "x");
  SHFILEINFOW wide{}, ansi{};
  ASSERT_TRUE(Vox_SHGetFileInfoW(file.c_str(), 0, &wide, sizeof wide, SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES));
  {
    TAnsiRoute route;
    std::memset(&ansi, 0x55, sizeof ansi);
    ASSERT_TRUE(Vox_SHGetFileInfoW(file.c_str(), 0, &ansi, sizeof ansi, SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES));
  }
  EXPECT_EQ(std::wstring(wide.szDisplayName), ansi.szDisplayName);
  EXPECT_EQ(wide.dwAttributes, ansi.dwAttributes);
  EXPECT_EQ(std::wstring(), ansi.szTypeName) << "the record is cleared first";
}

TEST(VoxWrappers, ShellExecutePassesEmptyTextsAsNothing) {
  struct Seen {
    bool VerbNull, ParamsNull, DirNull;
  } seen{};
  TSeamOverride<decltype(Seams().ShellExecuteW)> w(
      Seams().ShellExecuteW, [&](HWND, const wchar_t* verb, const wchar_t*, const wchar_t* params,
                                 const wchar_t* dir, int) {
        seen = {verb == nullptr, params == nullptr, dir == nullptr};
        return reinterpret_cast<HINSTANCE>(33);
      });
  TSeamOverride<decltype(Seams().ShellExecute)> a(
      Seams().ShellExecute, [&](HWND, const char* verb, const char*, const char* params, const char* dir, int) {
        seen = {verb == nullptr, params == nullptr, dir == nullptr};
        return reinterpret_cast<HINSTANCE>(33);
      });
  EXPECT_EQ(reinterpret_cast<HINSTANCE>(33), Vox_ShellExecuteW(nullptr, L"", L"x.txt", L"", L"", SW_SHOW));
  EXPECT_TRUE(seen.VerbNull);
  EXPECT_FALSE(seen.ParamsNull) << "the wide route passes other empty texts as they are";
  {
    TAnsiRoute route;
    Vox_ShellExecuteW(nullptr, L"", L"x.txt", L"", L"", SW_SHOW);
    EXPECT_TRUE(seen.VerbNull && seen.ParamsNull && seen.DirNull);
    Vox_ShellExecuteW(nullptr, L"open", L"x.txt", L"-a", L"C:\\", SW_SHOW);
    EXPECT_FALSE(seen.VerbNull || seen.ParamsNull || seen.DirNull);
  }
}

TEST(VoxWrappers, CreateProcessRunsOnBothRoutes) {
  for (bool ansi : {false, true}) {
    SCOPED_TRACE(ansi ? "ANSI" : "wide");
    TAnsiRoute route(ansi);
    wchar_t cmd[] = L"cmd.exe /c exit 7";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.lpTitle = const_cast<wchar_t*>(L"Vox \u00E9");
    PROCESS_INFORMATION pi{};
    // An empty folder means the current one on the ANSI route.
    ASSERT_TRUE(Vox_CreateProcessW(nullptr, cmd, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                   ansi ? L"" : nullptr, &si, &pi));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 30000));
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(7u, code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (!ansi) break;  // the wide route is the platform's own call, once is enough
  }
}

TEST(VoxWrappers, PlainPathWrappersAgreeOnBothRoutes) {
  for (bool ansi : {false, true}) {
    SCOPED_TRACE(ansi ? "ANSI" : "wide");
    TAnsiRoute route(ansi);
    TWideTempFolder dir(L"vox-plain");
    const std::wstring sub = dir.Path(L"caf\u00E9");
    EXPECT_TRUE(Vox_CreateDirectoryW(sub.c_str(), nullptr));
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_DIRECTORY), Vox_GetFileAttributesW(sub.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    const std::wstring a = sub + L"\\\u00E0.txt", b = sub + L"\\b.txt", c = sub + L"\\c.txt";
    HANDLE h = Vox_CreateFileW(a.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    CloseHandle(h);
    EXPECT_TRUE(Vox_SetFileAttributesW(a.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_READONLY), Vox_GetFileAttributesW(a.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(Vox_SetFileAttributesW(a.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(Vox_CopyFileW(a.c_str(), b.c_str(), TRUE));
    EXPECT_FALSE(Vox_CopyFileW(a.c_str(), b.c_str(), TRUE)) << "fail if exists";
    EXPECT_TRUE(Vox_MoveFileW(b.c_str(), c.c_str()));
    EXPECT_TRUE(Vox_DeleteFileW(c.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Vox_GetFileAttributesW(c.c_str()));
    DWORD spc = 0, bps = 0, free = 0, total = 0;
    EXPECT_TRUE(Vox_GetDiskFreeSpaceW(L"C:\\", &spc, &bps, &free, &total));
    EXPECT_GT(bps, 0u);
    HMODULE k = Vox_LoadLibraryExW(L"kernel32.dll", nullptr, 0);
    EXPECT_EQ(GetModuleHandleW(L"kernel32.dll"), k);
    FreeLibrary(k);
    wchar_t iconFile[MAX_PATH];
    GetSystemDirectoryW(iconFile, MAX_PATH);
    wcscat(iconFile, L"\\shell32.dll");
    WORD index = 0;
    HICON icon = Vox_ExtractAssociatedIconW(GetModuleHandleW(nullptr), iconFile, &index);
    EXPECT_NE(nullptr, icon);
    if (icon) DestroyIcon(icon);
  }
}

TEST(VoxWrappers, DrawTextMeasuresTheSameOnBothRoutes) {
  HDC dc = CreateCompatibleDC(nullptr);
  RECT wide{0, 0, 0, 0}, ansi{0, 0, 0, 0};
  EXPECT_GT(Vox_DrawTextW(dc, L"Caf\u00E9 au lait, more", 8, &wide, DT_CALCRECT | DT_SINGLELINE), 0);
  {
    TAnsiRoute route;
    EXPECT_GT(Vox_DrawTextW(dc, L"Caf\u00E9 au lait, more", 8, &ansi, DT_CALCRECT | DT_SINGLELINE), 0);
  }
  EXPECT_GT(wide.right, 0);
  EXPECT_EQ(wide.right, ansi.right);
  EXPECT_EQ(wide.bottom, ansi.bottom);
  DeleteDC(dc);
}

TEST(VoxLanguageIds, MatchThePlatformsMacros) {
  EXPECT_EQ(0x0409, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  EXPECT_EQ(0x07, PRIMARYLANGID(0x0407));
  EXPECT_EQ(0x3F, SUBLANGID(0xFC09));
  EXPECT_EQ(0x00020409u, MAKELCID(0x0409, 2));
  EXPECT_EQ(0x1234, SORTIDFROMLCID(0x12340409));
  EXPECT_EQ(0x0409, LANGIDFROMLCID(0x12340409));
  EXPECT_TRUE(Vox_Is_IntResource(reinterpret_cast<LPCWSTR>(uintptr_t{0xFFFF})));
  EXPECT_FALSE(Vox_Is_IntResource(L"name"));
}

}  // namespace

namespace {

TEST(VoxWrappers, PathFromAnItemListOnBothRoutes) {
  PIDLIST_ABSOLUTE pidl = nullptr;
  ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, CSIDL_WINDOWS, &pidl));
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  for (bool ansi : {false, true}) {
    SCOPED_TRACE(ansi ? "ANSI" : "wide");
    TAnsiRoute route(ansi);
    wchar_t path[MAX_PATH] = {};
    ASSERT_TRUE(Vox_SHGetPathFromIDListW(pidl, path));
    EXPECT_EQ(0, lstrcmpiW(windows, path));
  }
  CoTaskMemFree(pidl);
}

// The browse dialog is modal: its callback presses OK as soon as it is up.
int CALLBACK PressOk(HWND wnd, UINT msg, LPARAM, LPARAM) {
  if (msg == BFFM_INITIALIZED) PostMessageW(wnd, WM_COMMAND, IDOK, 0);
  return 0;
}

TEST(SerialVoxBrowseForFolder, ReturnsTheChosenFolderWithItsNameOnBothRoutes) {
  PIDLIST_ABSOLUTE root = nullptr;
  ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, CSIDL_WINDOWS, &root));
  for (bool ansi : {false, true}) {
    SCOPED_TRACE(ansi ? "ANSI" : "wide");
    TAnsiRoute route(ansi);
    wchar_t name[MAX_PATH] = L"unchanged";
    BROWSEINFOW info{};
    info.pidlRoot = root;
    info.pszDisplayName = name;
    info.lpszTitle = L"Choose caf\u00E9";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = PressOk;
    PIDLIST_ABSOLUTE chosen = Vox_SHBrowseForFolderW(&info);
    ASSERT_NE(nullptr, chosen);
    wchar_t path[MAX_PATH] = {};
    EXPECT_TRUE(Vox_SHGetPathFromIDListW(chosen, path));
    EXPECT_NE(std::wstring(L"unchanged"), name);
    EXPECT_FALSE(std::wstring(path).empty());
    CoTaskMemFree(chosen);
  }
  CoTaskMemFree(root);
}

}  // namespace
