// The end-to-end driver: works the real menu program from a second process
// as a user would. It starts perivane.exe in a folder, finds its windows,
// moves the mouse and clicks through SendInput, and reads back what a user
// sees: window state, window regions and screen pixels.
//
// Plain Win32 and the standard library, no test framework: the screenshot
// tool of scripts/run (disc/Snap.cpp), the end-to-end tests and the menu's
// benchmark share it (the library menu_driver).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace menu_driver {

// A started process, ended (if still running) and its handles closed when
// the object goes.
class TProcess {
 public:
  TProcess() = default;
  // Starts exe with the current folder dir, the caller's environment plus
  // the given "NAME=value" entries and the arguments after the program's
  // quoted name; throws std::runtime_error when it fails.
  TProcess(const std::string& exe, const std::string& dir, const std::vector<std::string>& extraEnv = {},
           const std::string& arguments = "");
  ~TProcess();
  TProcess(TProcess&& other) noexcept;
  TProcess& operator=(TProcess&& other) noexcept;
  TProcess(const TProcess&) = delete;
  TProcess& operator=(const TProcess&) = delete;

  DWORD Pid() const { return pid_; }
  HANDLE Handle() const { return process_; }
  // Waits up to ms for the process to end; true with its exit code then.
  bool WaitExit(DWORD ms, DWORD& code);
  bool Running() const;
  void Kill();

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// The milliseconds clock of the driver's waits.
DWORD Now();

// Polls until the condition holds or ms have passed; between polls it waits
// on the process (so a process that dies ends the wait early) or, without
// one, on nothing for a tick. Returns the condition's last answer.
bool WaitUntil(const std::function<bool()>& condition, DWORD ms, HANDLE process = nullptr);

// The process's top-level window of a class ("" = any class), visible ones
// only when visibleOnly; null when there is none.
HWND FindProcessWindow(DWORD pid, const std::string& className, bool visibleOnly = true);
// Every top-level window of the process, visible or not.
std::vector<HWND> ProcessWindows(DWORD pid);
// The child window (any depth) of parent with this class and text ("" for
// any text); null when there is none.
HWND FindChild(HWND parent, const std::string& className, const std::string& text = "");
// Every child window (any depth) of parent with this class, in the order
// EnumChildWindows gives them.
std::vector<HWND> ChildWindows(HWND parent, const std::string& className);
// A child window's rectangle in the client coordinates of another window
// (its form).
RECT RectIn(HWND child, HWND form);
// The process's visible dialog box (class "#32770") with this title; null
// when there is none.
HWND FindDialog(DWORD pid, const std::string& title);
// The text a message box shows: its static text control's.
std::string MessageBoxText(HWND box);
std::string WindowText(HWND window);
std::string ClassOf(HWND window);
// The window's rectangle on the screen.
RECT ScreenRect(HWND window);

// Brings the window to the front and makes it the active one (there is no
// window manager under Xvfb to do it).
void Activate(HWND window);
// Moves the pointer through SendInput (absolute, in screen pixels).
void MoveMouse(int x, int y);
// A left click at a screen point: move, press, release.
void Click(int x, int y);

// Brings the form to the front and clicks a point of its client area.
void ClickIn(HWND form, POINT at);
// Drops the list of a selector: a click on the selector (a point of the
// form's client area), then waits until the form's list box window of that
// class shows; null when it did not within ms.
HWND DropList(HWND form, POINT selector, const std::string& listClass, DWORD ms, HANDLE process = nullptr);
// The screen point in the middle of row index of a list box window.
POINT ListRow(HWND list, int index);
// Picks row index (from 0) of the list under a selector as a user does: the
// list dropped with a click on the selector, the row scrolled into view and
// clicked; waits until the list has gone. "" when the row was picked, else
// what went wrong, rows counted from 1 as a user counts them. A row the list
// does not have is never clicked (a click beside the list would close it on
// the row already selected): the list stays dropped.
std::string PickRow(HWND form, POINT selector, const std::string& listClass, int index, DWORD ms,
                    HANDLE process = nullptr);

// Screen pixels of a rectangle as 0x00RRGGBB, row by row.
struct TShot {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};
TShot CaptureScreen(const RECT& rect);
// The whole screen.
TShot CaptureScreen();
// An uncompressed 24-bit BMP of the shot.
bool SaveBmp(const TShot& shot, const std::string& file);

// Waits until the window has painted what it shows: it is repainted now
// (its thread answers the paint), its queue is drained, and two captures of
// it in a row are the same. False when that did not happen within ms.
bool WaitPainted(HWND window, DWORD ms, HANDLE process = nullptr);

// The window's region in its own window coordinates: the rectangles of
// GetWindowRgn, or none when the window has no region.
std::vector<RECT> WindowRegionRects(HWND window);

}  // namespace menu_driver
