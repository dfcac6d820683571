// scripts/run's screenshot: waits for the menu's main window, optionally
// picks a product and a language as a user would, lets it paint, writes the
// whole screen as a 24-bit BMP and ends the menu by closing its main window
// (as its exit button does).
//
//   snap.exe OUT.bmp [seconds [product language]]
//     product, language: rows of the two lists from 1 (the sample disc's
//     selectors); exit code 0, or 1 when no menu appeared or a pick failed
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/app/MenuDriver.h"

using namespace menu_driver;

namespace {

// The sample disc's selectors, in the form's client coordinates.
constexpr POINT kProductSelector{56 + 75, 154 + 10};
constexpr POINT kLanguageSelector{56 + 75, 218 + 10};

bool Pick(HWND main, POINT selector, const char* listClass, int row) {
  HWND list = DropList(main, selector, listClass, 10000);
  if (!list) return false;
  WaitPainted(main, 5000);
  const POINT at = ListRow(list, row - 1);
  Click(at.x, at.y);
  return WaitUntil([&] { return !IsWindowVisible(list); }, 10000);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3 && argc != 5) {
    std::fprintf(stderr, "usage: snap OUT.bmp [seconds [product language]]\n");
    return 2;
  }
  const DWORD ms = (argc > 2 ? std::stoul(argv[2]) : 60) * 1000;
  HWND main = nullptr;
  // The main form shows after the splash has gone.
  auto shown = [&] {
    main = FindWindowA("TFormMain", nullptr);
    return main && IsWindowVisible(main) && !FindWindowA("TFormLoadwait", nullptr);
  };
  if (!WaitUntil(shown, ms)) {
    std::fprintf(stderr, "snap: the menu's main window did not appear\n");
    return 1;
  }
  WaitPainted(main, 5000);
  if (argc == 5 && !(Pick(main, kProductSelector, "TKxListBox", std::stoi(argv[3])) &&
                     Pick(main, kLanguageSelector, "TKxCheckList", std::stoi(argv[4])))) {
    std::fprintf(stderr, "snap: the pick did not happen\n");
    PostMessageA(main, WM_CLOSE, 0, 0);
    return 1;
  }
  // Away from the buttons, so that no hint covers them.
  MoveMouse(0, 0);
  WaitPainted(main, 5000);
  const bool saved = SaveBmp(CaptureScreen(), argv[1]);
  PostMessageA(main, WM_CLOSE, 0, 0);
  if (!saved) {
    std::fprintf(stderr, "snap: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
