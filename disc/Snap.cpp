// scripts/run's screenshot: waits for the menu's main window, optionally
// picks a product and a language as a user would, lets it paint, writes the
// whole screen as a 24-bit BMP and ends the menu by closing its main window
// (as its exit button does).
//
//   snap.exe OUT.bmp [seconds [product language]]
//     product, language: rows of the two lists from 1 (the sample disc's
//     selectors); exit code 0, or 1 when no menu appeared or a pick failed
//     (a row the list does not have included), 2 for arguments it cannot read
#include <windows.h>

#include <cstdio>
#include <string>

#include "disc/MenuDriver.h"

using namespace menu_driver;

namespace {

// The sample disc's selectors, in the form's client coordinates.
constexpr POINT kProductSelector{56 + 75, 154 + 10};
constexpr POINT kLanguageSelector{56 + 75, 218 + 10};

// A whole number from 1 to 9999 written in digits only, else 0.
int WholeNumber(const char* text) {
  int value = 0;
  for (const char* p = text; *p; ++p) {
    if (*p < '0' || *p > '9' || value > 999) return 0;
    value = value * 10 + (*p - '0');
  }
  return value;
}

// Picks a row (from 1); false, after saying why, when it did not happen.
bool Pick(HWND main, POINT selector, const char* listClass, const char* what, int row) {
  const std::string error = PickRow(main, selector, listClass, row - 1, 10000);
  if (error.empty()) return true;
  std::fprintf(stderr, "snap: cannot pick %s %d: %s\n", what, row, error.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3 && argc != 5) {
    std::fprintf(stderr, "usage: snap OUT.bmp [seconds [product language]]\n");
    return 2;
  }
  const int seconds = argc > 2 ? WholeNumber(argv[2]) : 60;
  const int product = argc == 5 ? WholeNumber(argv[3]) : 1;
  const int language = argc == 5 ? WholeNumber(argv[4]) : 1;
  if (seconds == 0 || product == 0 || language == 0) {
    std::fprintf(stderr, "snap: seconds, product and language are whole numbers from 1\n");
    return 2;
  }
  const DWORD ms = static_cast<DWORD>(seconds) * 1000;
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
  if (argc == 5 && !(Pick(main, kProductSelector, "TKxListBox", "product", product) &&
                     Pick(main, kLanguageSelector, "TKxCheckList", "language", language))) {
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
