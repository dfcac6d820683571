// scripts/run's screenshot: waits for the menu's main window, lets it paint,
// writes the whole screen as a 24-bit BMP and ends the menu by closing its
// main window (as its exit button does).
//
//   snap.exe OUT.bmp [seconds]     exit code 0, or 1 when no menu appeared
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/app/MenuDriver.h"

using namespace menu_driver;

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: snap OUT.bmp [seconds]\n");
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
  const bool saved = SaveBmp(CaptureScreen(), argv[1]);
  PostMessageA(main, WM_CLOSE, 0, 0);
  if (!saved) {
    std::fprintf(stderr, "snap: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
