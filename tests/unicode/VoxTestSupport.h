// Helpers of the Unicode layer's tests: the ANSI route forced for a scope,
// a scratch folder with wide names, and wide file contents.
#pragma once

#include <string>

#include <vector>

#include "classlib/StdCtrls.h"
#include "classlib/Win.h"
#include "unicode/VoxSysUtils.h"

// Runs the wrappers' ANSI route (the old platform family) while it lives.
class TAnsiRoute {
 public:
  explicit TAnsiRoute(bool ansi = true) : saved_(Win32PlatformIsUnicode) { Win32PlatformIsUnicode = !ansi; }
  ~TAnsiRoute() { Win32PlatformIsUnicode = saved_; }
  TAnsiRoute(const TAnsiRoute&) = delete;
  TAnsiRoute& operator=(const TAnsiRoute&) = delete;

 private:
  bool saved_;
};

// A folder of its own under the temporary folder (process id and a counter
// in its name), removed with everything in it at the end of the test.
class TWideTempFolder {
 public:
  explicit TWideTempFolder(const std::wstring& tag);
  ~TWideTempFolder();
  TWideTempFolder(const TWideTempFolder&) = delete;
  TWideTempFolder& operator=(const TWideTempFolder&) = delete;

  // Without a trailing backslash.
  const std::wstring& Folder() const { return folder_; }
  std::wstring Path(const std::wstring& name) const { return folder_ + L"\\" + name; }

 private:
  std::wstring folder_;
};

// Whole files as bytes, through the wide API.
void WriteFileBytes(const std::wstring& fileName, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& fileName);

// An edit whose window is a Unicode EDIT, as the layer's wide edits make it;
// it records what its WndProc sees, and frees itself on kFreeYourself.
class TWideTestEdit : public TEdit {
  DECLARE_CLASS(TWideTestEdit, TEdit)
 public:
  using TEdit::TEdit;
  static constexpr UINT kFreeYourself = WM_APP + 1;

  std::vector<WPARAM> Chars;  // WM_CHAR as WndProc saw it
  int TextChanged = 0;        // CM_TEXTCHANGED

  void CreateWindowHandle(const TCreateParams& p) override;
  void WndProc(TMessage& m) override;
};

// The window's text as wide code reads it (WM_GETTEXT sent wide: an EDIT
// keeps its text apart from the window's title).
std::wstring WideWindowText(HWND window);
