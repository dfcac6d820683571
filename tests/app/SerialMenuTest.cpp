// End to end: the real perivane.exe started on a private copy of the sample
// disc and worked from this process as a user would (its windows found,
// clicks sent through SendInput, state, regions and pixels read back).
#include <gtest/gtest.h>

#include "app/perivane.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/MenuDriver.h"

using namespace app_test;
using namespace menu_driver;

namespace {

// Long enough for a start under a loaded machine; the waits end as soon as
// what they wait for happens.
constexpr DWORD kStartMs = 30000;
constexpr DWORD kStepMs = 10000;

class SerialMenu : public ::testing::Test {
 protected:
  // Starts the menu in the disc copy's folder (or another current folder).
  TProcess Start(const std::string& dir = "") {
    return TProcess(disc_.Path("perivane.exe"), dir.empty() ? disc_.Folder() : dir,
                    {"PERIVANE_DISC_LOG=" + disc_.Path("disc.log")});
  }
  // Waits for the main form shown after the splash; fails the test if not.
  HWND WaitMain(TProcess& menu) {
    HWND main = nullptr;
    WaitUntil(
        [&] {
          main = FindProcessWindow(menu.Pid(), "TFormMain");
          return main && !FindProcessWindow(menu.Pid(), "TFormLoadwait");
        },
        kStartMs, menu.Handle());
    EXPECT_NE(main, nullptr) << "the main window did not appear";
    return main;
  }
  // A click on a control of the main form, at its stored-form name's
  // place: left/top in form coordinates, plus a point inside it.
  void ClickAt(HWND main, int x, int y) {
    Activate(main);
    const RECT r = ScreenRect(main);
    Click(r.left + x, r.top + y);
  }
  // Ends the menu with its exit button; the exit code is 0.
  void Exit(TProcess& menu, HWND main) {
    ClickAt(main, 590 + 11, 432 + 11);  // the sample disc's exit button
    DWORD code = 99;
    ASSERT_TRUE(menu.WaitExit(kStepMs, code)) << "the exit button did not end the menu";
    EXPECT_EQ(code, 0u);
  }

  TDiscCopy disc_;
};

TEST_F(SerialMenu, TheSplashComesFirstThenTheMainFormAndASecondCopyLeavesAtOnce) {
  TProcess menu = Start();
  HWND splash = nullptr;
  bool mainBeforeSplash = false;
  ASSERT_TRUE(WaitUntil(
      [&] {
        if (FindProcessWindow(menu.Pid(), "TFormMain")) mainBeforeSplash = true;
        splash = FindProcessWindow(menu.Pid(), "TFormLoadwait");
        return splash != nullptr;
      },
      kStartMs, menu.Handle()));
  const RECT s = ScreenRect(splash);
  EXPECT_FALSE(mainBeforeSplash);
  EXPECT_EQ(WindowText(splash), "Loading . . .");
  // The splash takes the size of its picture (the sample's is 360 x 120).
  EXPECT_EQ(s.right - s.left, 360);
  EXPECT_EQ(s.bottom - s.top, 120);

  HWND main = WaitMain(menu);
  ASSERT_NE(main, nullptr);
  // Borderless, the skin's size, centred on the 1024 x 768 screen, not cut
  // to a shape.
  const RECT m = ScreenRect(main);
  EXPECT_EQ(m.left, (1024 - 640) / 2);
  EXPECT_EQ(m.top, (768 - 480) / 2);
  EXPECT_EQ(m.right - m.left, 640);
  EXPECT_EQ(m.bottom - m.top, 480);
  EXPECT_EQ(GetWindowLongPtrA(main, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
  EXPECT_TRUE(WindowRegionRects(main).empty());
  // What shows is the skin: the title band's colour at the top left, the
  // dark selector column, the light product corner.
  ASSERT_TRUE(WaitPainted(main, kStepMs, menu.Handle()));
  const TShot shot = CaptureScreen(m);
  auto dark = [](uint32_t p) { return ((p >> 16) & 0xFF) < 80 && ((p >> 8) & 0xFF) < 100; };
  auto light = [](uint32_t p) { return ((p >> 16) & 0xFF) > 220 && ((p >> 8) & 0xFF) > 220; };
  EXPECT_TRUE(dark(shot.At(5, 5))) << std::hex << shot.At(5, 5);
  EXPECT_TRUE(dark(shot.At(45, 250))) << std::hex << shot.At(45, 250);
  EXPECT_TRUE(light(shot.At(500, 200))) << std::hex << shot.At(500, 200);

  // A second copy while the first runs: exit code 0, no window at all.
  TProcess second = Start();
  DWORD code = 99;
  bool windowed = false;
  WaitUntil(
      [&] {
        if (FindProcessWindow(second.Pid(), "")) windowed = true;
        return !second.Running();
      },
      kStartMs, second.Handle());
  ASSERT_TRUE(second.WaitExit(0, code));
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(windowed);

  Exit(menu, main);
}

TEST_F(SerialMenu, TheMinimiseButtonMinimisesTheTaskbarRestoresAndExitEnds) {
  TProcess menu = Start();
  HWND main = WaitMain(menu);
  ASSERT_NE(main, nullptr);
  ClickAt(main, 560 + 11, 432 + 11);  // the sample disc's minimise button
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main) || IsIconic(main); }, kStepMs, menu.Handle()))
      << "the minimise button did not minimise";
  // The taskbar's restore reaches the application window.
  HWND application = FindProcessWindow(menu.Pid(), "TApplication", false);
  ASSERT_NE(application, nullptr);
  PostMessageA(application, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(main); }, kStepMs, menu.Handle()))
      << "the menu did not come back";
  Exit(menu, main);
}

TEST_F(SerialMenu, StartedFromAnotherFolderTheSplashKeepsItsStoredSize) {
  TProcess menu = Start(disc_.Path("Docs"));
  HWND splash = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (splash = FindProcessWindow(menu.Pid(), "TFormLoadwait")) != nullptr; },
                        kStartMs, menu.Handle()));
  const RECT s = ScreenRect(splash);
  EXPECT_EQ(s.right - s.left, 298);
  EXPECT_EQ(s.bottom - s.top, 89);
  // The skin is still found through the program's folder.
  HWND main = WaitMain(menu);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ScreenRect(main).right - ScreenRect(main).left, 640);
  Exit(menu, main);
}

}  // namespace
