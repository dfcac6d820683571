// The tests' private discs: each is the whole sample disc, and what a test
// changes in it stays in it. Most of a disc is links to the sample disc's
// files, and every other test reads the sample disc, so a change that went
// through a link would reach them all. (The menu program is left out of the
// cases: reading its 64 MB twice would be most of the test's time.)
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "tests/app/AppTestSupport.h"

using namespace app_test;

namespace {

// The path of each entry of a listing, without its size and time.
std::vector<std::string> Names(const std::vector<std::string>& listing) {
  std::vector<std::string> names;
  for (const std::string& entry : listing) names.push_back(entry.substr(0, entry.find('|')));
  return names;
}

TEST(DiscCopy, ChangesStayInTheCopyAndTheSampleDiscKeepsEveryFile) {
  const struct {
    const char* File;
    bool Removed;  // else written over with new bytes
  } cases[] = {
      {"perivane.ini", false},
      {"Resource\\Product.TXT", false},
      {"Resource\\logo.bmp", true},
      {"Driver\\Setup.exe", true},
      {"FR\\PV-100 Manual.pdf", false},
      {"Docs\\PV-50 Quick Start.pdf", true},
      {"Tools\\Viewer.exe", false},
  };
  const std::string sample = SampleDisc();
  const std::vector<std::string> before = FolderListing(sample);
  std::vector<std::string> bytes;
  for (const auto& c : cases) bytes.push_back(ReadBytes(sample + "\\" + c.File));
  {
    TDiscCopy disc;
    EXPECT_EQ(Names(disc.Listing()), Names(before));
    for (size_t i = 0; i < std::size(cases); ++i) {
      SCOPED_TRACE(cases[i].File);
      ASSERT_FALSE(bytes[i].empty());
      // Compared as a whole: a program's bytes are no reading.
      EXPECT_TRUE(disc.Read(cases[i].File) == bytes[i]);
      if (cases[i].Removed) disc.Remove(cases[i].File);
      else disc.Write(cases[i].File, "changed by a test");
      EXPECT_TRUE(disc.Read(cases[i].File) == (cases[i].Removed ? "" : "changed by a test"));
    }
  }
  EXPECT_EQ(FolderListing(sample), before);
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].File);
    EXPECT_TRUE(ReadBytes(sample + "\\" + cases[i].File) == bytes[i]);
  }
}

}  // namespace
