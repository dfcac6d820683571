// The environment facts the project relies on: the Xvfb screen depth, the
// pinned locale, Wine's own fonts in the prefix, exceptions crossing a window
// procedure, and the cross-built libjpeg.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

#include <uxtheme.h>

namespace {

TEST(Toolchain, ScreenIs32BitsOnePlane) {
  HDC dc = GetDC(nullptr);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(dc, PLANES), 1);
  ReleaseDC(nullptr, dc);
}

TEST(Toolchain, LocaleIsEnglishUsWithCodePage1252) {
  EXPECT_EQ(GetACP(), 1252u);
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  ASSERT_GT(GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH), 0);
  EXPECT_EQ(std::wstring(name), L"en-US");
}

TEST(Toolchain, FileNamesHoldCharactersBeyondAscii) {
  wchar_t temp[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  CreateDirectoryW(temp, nullptr);
  const std::wstring name = std::wstring(temp) + L"toolchain-caf\u00e9-\u0416-\U0001F600-" +
                            std::to_wstring(GetCurrentProcessId()) + L".txt";
  HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << "error " << GetLastError();
  CloseHandle(h);
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(name.c_str(), &found);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  FindClose(find);
  EXPECT_EQ(name.substr(name.find(L"toolchain-")), found.cFileName);
  EXPECT_TRUE(DeleteFileW(name.c_str()));
}

int CALLBACK NoteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one match is enough
}

TEST(Toolchain, WineFontsAreInThePrefix) {
  HDC dc = GetDC(nullptr);
  ASSERT_NE(dc, nullptr);
  for (const char* face : {"MS Sans Serif", "Tahoma", "Marlett"}) {
    SCOPED_TRACE(face);
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", face);
    bool found = false;
    EnumFontFamiliesExA(dc, &lf, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    EXPECT_TRUE(found);
  }
  ReleaseDC(nullptr, dc);
}

LRESULT CALLBACK ThrowingProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP) throw std::runtime_error("from the window procedure");
  return DefWindowProcA(wnd, msg, wp, lp);
}

// Wine unwinds a C++ exception through SendMessageA into the caller. Real
// Windows x64 does not promise that, which is why the class library's window
// procedures catch everything themselves.
TEST(Toolchain, ExceptionInWindowProcedureReachesSendMessageCaller) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ThrowingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "PerivaneToolchainThrow";
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND wnd = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10,
                             nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(wnd, nullptr);
  std::string caught;
  try {
    SendMessageA(wnd, WM_APP, 0, 0);
  } catch (const std::runtime_error& e) {
    caught = e.what();
  }
  EXPECT_EQ(caught, "from the window procedure");
  DestroyWindow(wnd);
  UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

// Every program carries the common controls 6 manifest (resources/Manifest.rc):
// the process's activation context redirects comctl32.dll to the version 6
// assembly, and a standard control opens the visual style's data for itself
// (the prefix's "Light" style is active). Wine's comctl32 calls itself 5.81
// in every version number it gives, so the assembly is what tells.
TEST(Toolchain, ManifestBindsCommonControlsSixAndThemesControls) {
  ACTCTX_SECTION_KEYED_DATA data = {};
  data.cbSize = sizeof data;
  ASSERT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                       "comctl32.dll", &data));

  EXPECT_TRUE(IsThemeActive());
  HWND button = CreateWindowExA(0, "BUTTON", "b", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(button, nullptr);
  EXPECT_NE(GetWindowTheme(button), nullptr);
  DestroyWindow(button);
}

TEST(Toolchain, LibjpegLinks) {
  jpeg_decompress_struct cinfo = {};
  jpeg_error_mgr err = {};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_decompress(&cinfo);
  EXPECT_EQ(cinfo.global_state, 200);  // DSTATE_START: ready for a source
  jpeg_destroy_decompress(&cinfo);
  EXPECT_EQ(cinfo.global_state, 0);
}

}  // namespace
