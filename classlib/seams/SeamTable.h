// Test seams: the few calls whose results are not deterministic under Wine.
//
// Each seam is a function object that defaults to the real call; tests swap
// one in with TSeamOverride (restored when the override goes out of scope).
// Nothing else in the system is reached through a seam.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "classlib/Win.h"

#include <shellapi.h>

struct TSeams {
  // Colour depth of the display in bits per pixel (planes x bits).
  std::function<int()> DisplayBitsPerPixel;
  // Milliseconds since start-up, as GetTickCount.
  std::function<DWORD()> TickCount;
  // A wait of a fixed time, as Sleep: a test that has no use for the wait
  // makes it instant.
  std::function<void(DWORD)> Sleep;
  // Local date and time, as GetLocalTime.
  std::function<void(SYSTEMTIME&)> LocalTime;
  // Window timers, as SetTimer/KillTimer on a window.
  std::function<UINT_PTR(HWND, UINT_PTR, UINT)> SetTimer;
  std::function<BOOL(HWND, UINT_PTR)> KillTimer;
  // Cursor position in screen coordinates.
  std::function<BOOL(POINT&)> GetCursorPos;
  std::function<BOOL(int, int)> SetCursorPos;
  // Message boxes; returns the button pressed (IDOK...).
  std::function<int(HWND, const std::string& text, const std::string& caption, UINT flags)> MessageBox;
  std::function<int(HWND, const std::wstring& text, const std::wstring& caption, UINT flags)> MessageBoxW;
  // Shell execution, as ShellExecuteA; returns its HINSTANCE-coded result.
  std::function<HINSTANCE(HWND, const char* verb, const char* file, const char* params,
                          const char* dir, int show)>
      ShellExecute;
  // The same for wide text, as ShellExecuteW.
  std::function<HINSTANCE(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t* params,
                          const wchar_t* dir, int show)>
      ShellExecuteW;
  std::function<BOOL(SHELLEXECUTEINFOA*)> ShellExecuteEx;
  // Starting a program by its command line, as WinExec; above 31 on success.
  std::function<UINT(const char* commandLine, UINT show)> WinExec;
  // GdiFlush before pixels are read directly: Windows may batch drawing,
  // Wine draws at once, so only a count of the flushes shows that a read
  // after drawing waits for the drawing.
  std::function<BOOL()> GdiFlush;
  // The keyboard's mapping of a virtual key, as MapVirtualKeyW: scan codes
  // and characters depend on the keyboard the system detects, and a driver
  // may answer for codes beyond the 256 virtual keys.
  std::function<UINT(UINT code, UINT mapType)> MapVirtualKeyW;
};

// The process's seams (global by design: they stand for the platform).
TSeams& Seams();

// Swaps one seam for the life of the override.
template <class F>
class TSeamOverride {
 public:
  TSeamOverride(F& seam, F replacement) : seam_(seam), saved_(std::move(seam)) {
    seam_ = std::move(replacement);
  }
  ~TSeamOverride() { seam_ = std::move(saved_); }
  TSeamOverride(const TSeamOverride&) = delete;
  TSeamOverride& operator=(const TSeamOverride&) = delete;

 private:
  F& seam_;
  F saved_;
};
