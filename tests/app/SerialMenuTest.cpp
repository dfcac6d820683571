// End to end: the real perivane.exe started on a private disc made from the
// sample disc and worked from this process as a user would (its windows found,
// clicks sent through SendInput, state, regions and pixels read back).
#include <gtest/gtest.h>

#include <algorithm>

#include "app/perivane.h"
#include "disc/MenuDriver.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/TestSupport.h"

using namespace app_test;
using namespace menu_driver;

namespace {

// Long enough for a start under a loaded machine; the waits end as soon as
// what they wait for happens.
constexpr DWORD kStartMs = 30000;
constexpr DWORD kStepMs = 10000;

// The splash's hold for a start that does not look at the splash: none.
const std::string kNoHold = "PERIVANE_SPLASH_HOLD_MS=0";

class SerialMenu : public ::testing::Test {
 protected:
  // Starts the menu in the disc copy's folder (or another current folder),
  // its splash held as the shipped program holds it or not at all.
  enum class THold { Real, None };
  TProcess Start(const std::string& dir = "", THold hold = THold::None) {
    std::vector<std::string> env{"PERIVANE_DISC_LOG=" + disc_.Path("disc.log")};
    if (hold == THold::None) env.push_back(kNoHold);
    return TProcess(disc_.Path("perivane.exe"), dir.empty() ? disc_.Folder() : dir, env);
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
  void ClickAt(HWND main, int x, int y) { ClickIn(main, POINT{x, y}); }
  // Ends the menu with its exit button; the exit code is 0.
  void Exit(TProcess& menu, HWND main) {
    ClickAt(main, 590 + 11, 432 + 11);  // the sample disc's exit button
    DWORD code = 99;
    ASSERT_TRUE(menu.WaitExit(kStepMs, code)) << "the exit button did not end the menu";
    EXPECT_EQ(code, 0u);
  }

  // The sample disc's places, in the form's client coordinates.
  static constexpr POINT kProductSelector{56 + 75, 154 + 10};
  static constexpr POINT kLanguageSelector{56 + 75, 218 + 10};
  static constexpr POINT kLaunchPanel{392, 320};

  // Launch button 1 to 3 (their tops in the panel: 0, 30, 60).
  static HWND LaunchButton(HWND main, int number) {
    for (HWND button : ChildWindows(main, "TpkImageBtn")) {
      const RECT r = RectIn(button, main);
      if (r.left == kLaunchPanel.x && r.top == kLaunchPanel.y + 30 * (number - 1)) return button;
    }
    return nullptr;
  }
  static HWND Selector(HWND main, POINT at) {
    for (HWND button : ChildWindows(main, "TpkImageBtn")) {
      const RECT r = RectIn(button, main);
      if (r.left <= at.x && at.x < r.right && r.top <= at.y && at.y < r.bottom) return button;
    }
    return nullptr;
  }
  HWND Drop(TProcess& menu, HWND main, POINT selector, const char* className) {
    HWND list = DropList(main, selector, className, kStepMs, menu.Handle());
    EXPECT_NE(list, nullptr) << className << " did not drop";
    return list;
  }
  // Picks row index of the list under a selector as a user does: a click on
  // the selector, a click on the row; waits until the list has gone and the
  // menu has painted what the pick changed.
  void Pick(TProcess& menu, HWND main, POINT selector, const char* className, int index) {
    HWND list = Drop(menu, main, selector, className);
    ASSERT_NE(list, nullptr);
    const POINT row = ListRow(list, index);
    Click(row.x, row.y);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(list); }, kStepMs, menu.Handle()))
        << className << " did not close";
    ASSERT_TRUE(WaitPainted(main, kStepMs, menu.Handle()));
  }
  // How many pixels of a window on the screen are pure black.
  static int BlackPixels(HWND window) {
    const TShot shot = CaptureScreen(ScreenRect(window));
    return static_cast<int>(std::count(shot.Pixels.begin(), shot.Pixels.end(), 0u));
  }
  // The lines the disc's programs wrote ("program|folder|arguments").
  std::vector<std::string> DiscLog() const {
    std::vector<std::string> lines;
    const std::string text = disc_.Read("disc.log");
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
      lines.push_back(text.substr(start, end - start));
    return lines;
  }

  TDiscCopy disc_;
};

// The one start that holds the splash as the shipped program does.
TEST_F(SerialMenu, TheSplashComesFirstThenTheMainFormAndASecondCopyLeavesAtOnce) {
  // The last look that found no splash: it showed after that.
  DWORD noSplashYet = Now();
  TProcess menu = Start("", THold::Real);
  HWND splash = nullptr;
  bool mainBeforeSplash = false;
  ASSERT_TRUE(WaitUntil(
      [&] {
        const DWORD now = Now();
        if (FindProcessWindow(menu.Pid(), "TFormMain")) mainBeforeSplash = true;
        splash = FindProcessWindow(menu.Pid(), "TFormLoadwait");
        if (!splash) noSplashYet = now;
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
  // The splash stays its whole hold after the main form is made, so the
  // main form shows no sooner than the hold after the splash did.
  EXPECT_GE(Now() - noSplashYet, SplashHoldMs);
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
  // The lists are read once, when the window first shows: coming back from
  // the taskbar reads no list again (this one would fail with a box).
  disc_.Remove("Resource\\Product.TXT");
  ClickAt(main, 560 + 11, 432 + 11);  // the sample disc's minimise button
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main) || IsIconic(main); }, kStepMs, menu.Handle()))
      << "the minimise button did not minimise";
  // The taskbar's restore reaches the application window.
  HWND application = FindProcessWindow(menu.Pid(), "TApplication", false);
  ASSERT_NE(application, nullptr);
  PostMessageA(application, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(main); }, kStepMs, menu.Handle()))
      << "the menu did not come back";
  EXPECT_EQ(FindDialog(menu.Pid(), "perivane"), nullptr) << "a list was read again";
  Exit(menu, main);
}

TEST_F(SerialMenu, StartedFromAnotherFolderTheSplashKeepsItsStoredSize) {
  // Held, so that the splash stays long enough to be measured.
  TProcess menu = Start(disc_.Path("Docs"), THold::Real);
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

// The road of one request: the product list drops under its selector, a
// pick sets the launch buttons, the picture and the languages offered; the
// language list then burns the language's captions into the images.
TEST_F(SerialMenu, PickingAProductSetsButtonsPictureAndLanguagesAndALanguageBurnsItsCaptions) {
  TProcess menu = Start();
  HWND main = WaitMain(menu);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitPainted(main, kStepMs, menu.Handle()));
  const RECT m = ScreenRect(main);
  // Placed as the sample's settings say.
  HWND products = Selector(main, kProductSelector);
  HWND languages = Selector(main, kLanguageSelector);
  ASSERT_NE(products, nullptr);
  ASSERT_NE(languages, nullptr);
  EXPECT_EQ(RectIn(products, main).top, 128 + 21 + 5);
  EXPECT_EQ(RectIn(languages, main).top, 128 + 21 + 5 + 13 + 25 + 21 + 5);
  // No launch button shows before a product is picked (hidden controls
  // have no window yet).
  for (int n = 1; n <= 3; ++n) {
    HWND button = LaunchButton(main, n);
    EXPECT_TRUE(!button || !IsWindowVisible(button)) << n;
  }
  EXPECT_EQ(BlackPixels(languages), 0);
  // The titles in white over the selectors, the link in navy where the
  // settings put it.
  const TShot start = CaptureScreen(m);
  auto count = [&](const TShot& shot, RECT r, uint32_t colour) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += shot.At(x, y) == colour;
    return n;
  };
  EXPECT_GT(count(start, RECT{56, 128, 256, 128 + 13}, 0xFFFFFF), 50);
  EXPECT_GT(count(start, RECT{56, 192, 256, 192 + 13}, 0xFFFFFF), 50);
  EXPECT_EQ(count(start, RECT{56, 128 + 13, 256, 154}, 0xFFFFFF), 0);
  EXPECT_GT(count(start, RECT{216, 432, 416, 432 + 18}, 0x000080), 50);

  // The pointer leaving a dropped list, without a click, closes it and
  // applies the item selected (the first).
  HWND list = Drop(menu, main, kProductSelector, "TKxListBox");
  ASSERT_NE(list, nullptr);
  // A user leaves a list he has seen. The list shows before the menu has
  // painted it, and only the menu's idle takes the pointer into it: a list
  // that never heard of the pointer coming in hears nothing of it leaving.
  ASSERT_TRUE(WaitPainted(list, kStepMs, menu.Handle()));
  MoveMouse(m.left + 300, m.top + 200);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(list) && IsWindowVisible(LaunchButton(main, 1)); }, kStepMs,
                        menu.Handle()));
  EXPECT_EQ(WindowText(products), "Orlo PV-100");

  list = Drop(menu, main, kProductSelector, "TKxListBox");
  ASSERT_NE(list, nullptr);
  // Under its selector, 10 wider, 128 high; the pointer moved 25 pixels down
  // into it.
  const RECT l = RectIn(list, main);
  EXPECT_EQ(l.left, 56);
  EXPECT_EQ(l.top, 154 + 21);
  EXPECT_EQ(l.right - l.left, 160);
  EXPECT_EQ(l.bottom - l.top, 128);
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, m.left + kProductSelector.x);
  EXPECT_EQ(cursor.y, m.top + kProductSelector.y + 25);
  const POINT row = ListRow(list, 2);  // "Orlo PV-300 Pro": a keyed BMP, languages 2, 5 and 6
  Click(row.x, row.y);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(list) && WindowText(products) == "Orlo PV-300 Pro"; },
                        kStepMs, menu.Handle()));
  ASSERT_TRUE(WaitPainted(main, kStepMs, menu.Handle()));
  EXPECT_EQ(WindowText(LaunchButton(main, 1)), "Manual");
  EXPECT_EQ(WindowText(LaunchButton(main, 2)), "Driver");
  EXPECT_EQ(WindowText(LaunchButton(main, 3)), "Acrobat Reader");
  // The picture at its place: the device's red body, and the lime around
  // it transparent (the card of the skin shows through).
  const TShot shot = CaptureScreen(m);
  const uint32_t body = shot.At(370 + 30, 114 + 100);
  EXPECT_GT((body >> 16) & 0xFF, 140u) << std::hex << body;
  EXPECT_LT((body >> 8) & 0xFF, 110u) << std::hex << body;
  const uint32_t corner = shot.At(370 + 3, 114 + 3);
  EXPECT_NE(corner, 0x00FF00u);
  EXPECT_GT(corner & 0xFF, 200u) << std::hex << corner;

  // The languages the product offers are drawn in the text colour, the
  // others greyed (row 0 is the selected one).
  HWND checks = Drop(menu, main, kLanguageSelector, "TKxCheckList");
  ASSERT_NE(checks, nullptr);
  ASSERT_TRUE(WaitPainted(checks, kStepMs, menu.Handle()));
  RECT client{};
  GetClientRect(checks, &client);
  POINT origin{0, 0};
  ClientToScreen(checks, &origin);
  const int height = static_cast<int>(SendMessageA(checks, LB_GETITEMHEIGHT, 0, 0));
  const TShot items = CaptureScreen(RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
  const bool offered[] = {true, true, false, false, true, true};
  for (int r = 1; r < 6; ++r) {
    int dark = 0, grey = 0;
    for (int y = r * height; y < (r + 1) * height && y < items.Height; ++y)
      for (int x = 0; x < items.Width; ++x) {
        const uint32_t p = items.At(x, y);
        const int red = (p >> 16) & 0xFF, green = (p >> 8) & 0xFF, blue = p & 0xFF;
        if (red < 64 && green < 64 && blue < 64) ++dark;
        else if (red == green && green == blue && red < 200) ++grey;
      }
    SCOPED_TRACE(r);
    if (offered[r]) EXPECT_GT(dark, 10);
    else {
      EXPECT_EQ(dark, 0);
      EXPECT_GT(grey, 10);
    }
  }
  Click(ListRow(checks, 1).x, ListRow(checks, 1).y);  // English
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(checks); }, kStepMs, menu.Handle()));
  ASSERT_TRUE(WaitUntil([&] { return BlackPixels(languages) > 20; }, kStepMs, menu.Handle()))
      << "no caption was burnt into the language selector";
  ASSERT_TRUE(WaitPainted(main, kStepMs, menu.Handle()));
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    // The sample shows the built-in captions: the buttons' own are blank.
    EXPECT_EQ(WindowText(LaunchButton(main, n)), " ");
    EXPECT_GT(BlackPixels(LaunchButton(main, n)), 20);
  }
  Exit(menu, main);
}

// Launching through the real shell: a program of the disc as the document
// (with the language's folder), the driver, a document no program opens
// (the disc's viewer gets it), and a document that is missing (the hint).
TEST_F(SerialMenu, LaunchButtonsOpenThroughTheShellInTheDocumentsFolderOrShowTheHint) {
  disc_.Write("FR\\Open Me.exe", disc_.Read("Driver\\Setup.exe"));
  disc_.Write("FR\\Notes.pvm", "a document of a kind no program opens");
  std::string ini = disc_.Read("perivane.ini");
  auto replace = [&](const std::string& from, const std::string& to) {
    const size_t at = ini.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    ini.replace(at, from.size(), to);
  };
  replace("BTNCMD1=+PV-100 Manual.pdf", "BTNCMD1=+Open Me.exe");
  replace("BTNCMD1=+PV-200 Manual.pdf", "BTNCMD1=+Notes.pvm");
  disc_.Write("perivane.ini", ini);
  TProcess menu = Start();
  HWND main = WaitMain(menu);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitPainted(main, kStepMs, menu.Handle()));
  auto press = [&](int number) {
    HWND button = LaunchButton(main, number);
    const RECT r = ScreenRect(button);
    Activate(main);
    Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  };
  auto logged = [&](size_t lines) {
    return WaitUntil([&] { return DiscLog().size() >= lines; }, kStepMs, menu.Handle());
  };
  auto same = [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; };
  const std::string fr = disc_.Path("FR");

  Pick(menu, main, kProductSelector, "TKxListBox", 0);  // PV-100: every language
  Pick(menu, main, kLanguageSelector, "TKxCheckList", 3);  // French: folder FR
  press(1);
  ASSERT_TRUE(logged(1)) << "the program in the language's folder did not run";
  press(2);
  ASSERT_TRUE(logged(2)) << "the driver did not run";
  Pick(menu, main, kProductSelector, "TKxListBox", 1);  // PV-200 offers French too
  press(1);
  ASSERT_TRUE(logged(3)) << "the viewer did not run";
  const std::vector<std::string> log = DiscLog();
  ASSERT_EQ(log.size(), 3u);
  auto field = [](const std::string& line, int n) {
    size_t start = 0;
    for (int i = 0; i < n; ++i) start = line.find('|', start) + 1;
    return line.substr(start, line.find('|', start) - start);
  };
  // program | current folder | arguments
  EXPECT_TRUE(same(field(log[0], 0), fr + "\\Open Me.exe")) << log[0];
  EXPECT_TRUE(same(field(log[0], 1), fr)) << log[0];
  EXPECT_EQ(field(log[0], 2), "") << log[0];
  EXPECT_TRUE(same(field(log[1], 0), disc_.Path("Driver\\Setup.exe"))) << log[1];
  EXPECT_TRUE(same(field(log[1], 1), disc_.Path("Driver"))) << log[1];
  EXPECT_TRUE(same(field(log[2], 0), disc_.Path("Tools\\Viewer.exe"))) << log[2];
  EXPECT_TRUE(same(field(log[2], 1), fr)) << log[2];
  EXPECT_TRUE(same(field(log[2], 2), "\"" + fr + "\\Notes.pvm\"")) << log[2];

  // The PV-300's driver is not on the disc: nothing starts, and resting the
  // pointer on the button shows the product's hint.
  Pick(menu, main, kProductSelector, "TKxListBox", 2);
  press(2);
  const RECT button = ScreenRect(LaunchButton(main, 2));
  MoveMouse((button.left + button.right) / 2 + 2, (button.top + button.bottom) / 2);
  const std::string hint = "The driver of the Orlo PV-300 Pro is not on this disc.";
  HWND shown = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (HWND w : ProcessWindows(menu.Pid()))
          if (IsWindowVisible(w) && WindowText(w) == hint) shown = w;
        return shown != nullptr;
      },
      kStepMs, menu.Handle()))
      << "no hint";
  // In a balloon.
  EXPECT_EQ(ClassOf(shown), "TKxCustomHintWindow");
  EXPECT_EQ(DiscLog().size(), 3u);
  Exit(menu, main);
}

// List lines far longer than a list item usually is: each list drops and
// draws its long row, and the menu goes on (Wine passes a list item's text
// to an ANSI reader through a buffer of 512 characters, and the menu
// faulted the moment a list with such a line was drawn).
TEST_F(SerialMenu, ListLinesOf600CharactersDropWithTheirListsAndTheMenuGoesOn) {
  const std::string line = LongText(600);
  disc_.Write("Resource\\Product.TXT", disc_.Read("Resource\\Product.TXT") + line + "\r\n");
  disc_.Write("Resource\\Language.TXT", disc_.Read("Resource\\Language.TXT") + "&1 0 " + line + " \r\n");
  TProcess menu = Start();
  HWND main = WaitMain(menu);
  ASSERT_NE(main, nullptr);
  const struct {
    const char* Name;
    POINT Selector;
    const char* Class;
    int LongRow;
  } lists[] = {{"products", kProductSelector, "TKxListBox", 4}, {"languages", kLanguageSelector, "TKxCheckList", 6}};
  for (const auto& l : lists) {
    SCOPED_TRACE(l.Name);
    HWND list = Drop(menu, main, l.Selector, l.Class);
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(WaitPainted(list, kStepMs, menu.Handle()));
    ASSERT_TRUE(menu.Running());
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), l.LongRow + 1);
    // The long row shows text: pixels other than the list's colour at its
    // left edge.
    RECT client{};
    GetClientRect(list, &client);
    POINT origin{0, 0};
    ClientToScreen(list, &origin);
    const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    const TShot shot = CaptureScreen(RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
    int ink = 0;
    for (int y = l.LongRow * height; y < (l.LongRow + 1) * height && y < shot.Height; ++y)
      for (int x = 0; x < shot.Width; ++x) ink += shot.At(x, y) != shot.At(0, y) ? 1 : 0;
    EXPECT_GT(ink, 50);
    const POINT first = ListRow(list, 0);
    Click(first.x, first.y);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(list); }, kStepMs, menu.Handle()))
        << l.Class << " did not close";
    ASSERT_TRUE(WaitPainted(main, kStepMs, menu.Handle()));
  }
  Exit(menu, main);
}

// Bad files on the disc: each failed load is one box (the menu's "Tip" for a
// skin file, the application's error box for a list file); after OK the
// menu goes on and works, and it has written nothing on the disc.
TEST_F(SerialMenu, ABadFileGivesOneBoxAndTheMenuGoesOn) {
  struct TCase {
    const char* Removed;
    const char* Title;
    const char* Text;  // before the file's full path
  } cases[] = {
      {"Resource\\EXE24_1024_768A.BMP", "Tip", "Need button picture file: "},
      {"Resource\\Product.TXT", "perivane", "Cannot open file "},
      {"Resource\\Language.TXT", "perivane", "Cannot open file "},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Removed);
    TDiscCopy disc;
    disc.Remove(c.Removed);
    const std::vector<std::string> before = disc.Listing();
    const std::string text = c.Text + disc.Path(c.Removed);
    TProcess menu(disc.Path("perivane.exe"), disc.Folder(), {kNoHold});
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindDialog(menu.Pid(), c.Title)) != nullptr; }, kStartMs,
                          menu.Handle()))
        << "no box";
    EXPECT_EQ(MessageBoxText(box).substr(0, text.size()), text);
    HWND ok = FindChild(box, "Button", "OK");
    ASSERT_NE(ok, nullptr);
    const RECT r = ScreenRect(ok);
    Activate(box);
    Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    HWND main = WaitMain(menu);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(FindDialog(menu.Pid(), c.Title), nullptr) << "a second box";
    Exit(menu, main);
    EXPECT_EQ(disc.Listing(), before);
  }
}

// scripts/run's screenshot tool picks through the driver: a row a list does
// not have is an error (exit code 1, no picture), never another row picked in
// its place. The tool closes the menu either way.
TEST_F(SerialMenu, TheScreenshotToolRefusesARowTheListDoesNotHave) {
  const struct {
    const char* Rows;  // product and language, from 1
    DWORD Code;
  } cases[] = {{"9 1", 1}, {"1 7", 1}, {"4 2", 0}};
  const std::string shot = disc_.Path("shot.bmp");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Rows);
    disc_.Remove("shot.bmp");
    TProcess menu = Start();
    ASSERT_NE(WaitMain(menu), nullptr);
    TProcess snap(ToolsFolder() + "\\snap.exe", disc_.Folder(), {}, "\"" + shot + "\" 30 " + c.Rows);
    DWORD code = 99;
    ASSERT_TRUE(snap.WaitExit(kStartMs, code));
    EXPECT_EQ(code, c.Code);
    EXPECT_EQ(disc_.Read("shot.bmp").empty(), c.Code != 0);
    ASSERT_TRUE(menu.WaitExit(kStepMs, code)) << "the menu was not closed";
  }
}

}  // namespace
