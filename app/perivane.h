// perivane: the menu program's entry and its program-wide values.
//
// The entry lets one copy run (the named mutex "PERIVANE_ORLO"), probes the
// display's colour depth (it picks the skin set), fixes the executable's
// folder as the base of every path, covers the start with the splash, creates
// the main form, holds the splash a fixed time and runs the message loop.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/Win.h"

class TFormMain;

// The display as the entry found it; all zero when the screen's device
// context could not be had (a depth of 0 picks the 8-bit skin set).
struct TScreenInfo {
  uint16_t ColorDepth = 0;  // planes x bits per pixel
  uint16_t HorzRes = 0;
  int32_t VertRes = 0;
};

// "perivane.ini", the settings file beside the executable.
extern const std::string IniFileName;
// The executable's folder with its trailing backslash: the base of every path
// the menu reads (the splash picture alone is read relative to the current
// folder).
extern std::string ExeDir;
extern TScreenInfo ScreenInfo;
extern TFormMain* FormMain;

// The mutex whose existence means that a copy of the menu runs.
inline constexpr const char* MutexName = "PERIVANE_ORLO";
// How long the splash stays after the main form is made.
inline constexpr DWORD SplashHoldMs = 1500;
// The hold the entry waits, through the sleep seam: SplashHoldMs, or in the
// checked build a shorter one named by PERIVANE_SPLASH_HOLD_MS (whole
// milliseconds up to SplashHoldMs; anything else is ignored).
DWORD SplashHold();

// The probe of a screen device context (null: the probe failed).
TScreenInfo ScreenInfoFromDC(HDC dc);
// Fills ScreenInfo from the screen and returns it.
TScreenInfo ProbeScreen();

// The entry's work after the unit start-up list: returns the exit code
// (0 on every path).
int PerivaneMain();
