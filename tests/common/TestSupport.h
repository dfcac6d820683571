// Helpers shared by the tests of every library: the message of an expected
// exception, the lines of a string list, a private scratch folder, and
// stored forms as text.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "classlib/Classes.h"

// The message of the E that f raises, or "(no exception)". Another
// exception class passes through and fails the test on its own.
template <class E>
std::string MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const E& e) {
    return e.GetMessage();
  }
  return "(no exception)";
}

using Lines = std::vector<std::string>;

// The strings of a list, in its order.
Lines LinesOf(const TStrings* s);

// A folder of its own under the system's temporary folder, named after the
// tag and the process (tests run in parallel), removed with every file made
// through Path when the test ends.
class TTempFolder {
 public:
  explicit TTempFolder(const std::string& tag);
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  // The folder, without a trailing backslash.
  const std::string& Folder() const { return folder_; }
  // A file name in the folder, deleted at the end whether or not it exists.
  std::string Path(const std::string& name);

 private:
  std::string folder_;
  std::vector<std::string> files_;
};

// Item and line lengths that reading a text back from a control's window
// must survive: both sides of the 512 characters Wine converts a list item's
// text through, and far beyond.
inline constexpr int kLongTextLengths[] = {512, 513, 600, 10000, 100000};
// A text of n characters, characters beyond ASCII among them ("Caf\xE9
// cr\xE8me, " over and over, in the ANSI code page), without a line end.
std::string LongText(size_t n);

// The stored form of root, as text.
std::string WriteForm(TComponent* root);
// Reads a stored form's text into root.
void ReadForm(const std::string& text, TComponent* root);
