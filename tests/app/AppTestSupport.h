// Helpers of the menu program's tests: the sample disc, private copies of it
// to change, the settings file written by a test, a fresh application with
// the main form made on a disc, and a bounded pump.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/FrmMain.h"
#include "classlib/Forms.h"

namespace app_test {

// build/disc: the sample disc the build lays out, with the menu beside it.
std::string SampleDisc();
// build/disc-tools: the programs of the disc before they are copied in.
std::string ToolsFolder();

// Every entry of a folder and its subfolders as "relative path|size|write
// time", sorted: two listings are equal when nothing was made, changed or
// removed.
std::vector<std::string> FolderListing(const std::string& folder);
// A file's bytes; "" when it cannot be read.
std::string ReadBytes(const std::string& path);

// A private disc in the temporary folder made from the sample disc, removed
// with everything in it when the object goes. Folder() has no trailing
// backslash. What tests change (the settings file and the Resource folder)
// is copied; every other file is a hard link to the sample's (a copy where
// no link can be made), so that a disc costs little whatever the size of the
// programs on it. Write replaces a file rather than writing into it, so the
// sample disc behind a link never changes.
class TDiscCopy {
 public:
  TDiscCopy();
  ~TDiscCopy();
  TDiscCopy(const TDiscCopy&) = delete;
  TDiscCopy& operator=(const TDiscCopy&) = delete;

  const std::string& Folder() const { return folder_; }
  std::string Path(const std::string& relative) const { return folder_ + "\\" + relative; }
  // Writes a file of the disc (its folder made when missing).
  void Write(const std::string& relative, const std::string& bytes) const;
  void Remove(const std::string& relative) const;
  std::string Read(const std::string& relative) const { return ReadBytes(Path(relative)); }
  // FolderListing of the disc.
  std::vector<std::string> Listing() const { return FolderListing(folder_); }

 private:
  std::string folder_;
};

// Settings file text from sections of "key=value" lines, in order.
using TSettings = std::vector<std::pair<std::string, std::vector<std::string>>>;
std::string IniText(const TSettings& settings);

// Every message box the menu shows (text, caption), answered with IDOK and
// recorded instead of shown, for the life of the object.
class TRecordedBoxes {
 public:
  TRecordedBoxes();
  ~TRecordedBoxes();
  TRecordedBoxes(const TRecordedBoxes&) = delete;
  TRecordedBoxes& operator=(const TRecordedBoxes&) = delete;
  const std::vector<std::pair<std::string, std::string>>& Boxes() const { return boxes_; }

 private:
  std::vector<std::pair<std::string, std::string>> boxes_;
  std::function<int(HWND, const std::string&, const std::string&, UINT)> saved_;
};

// A fresh application whose main form is the menu's, made on the disc in
// folder (ExeDir = folder + "\"), at the given colour depth (through the
// depth seam). The form is created (FormCreate has run) but not shown.
class TMenuFixture {
 public:
  explicit TMenuFixture(const std::string& folder, int colorDepth = 32);
  ~TMenuFixture();
  TMenuFixture(const TMenuFixture&) = delete;
  TMenuFixture& operator=(const TMenuFixture&) = delete;

  TFormMain* Form() const { return form_; }

 private:
  TApplication* savedApplication_;
  std::string savedExeDir_;
  TFormMain* form_ = nullptr;
  std::function<int()> savedDepth_;
};

// Runs the application's queue a bounded number of rounds without waiting.
void Pump(int rounds = 10);

}  // namespace app_test
