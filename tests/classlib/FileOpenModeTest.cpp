// The open-mode tables that TFileStream and the Unicode layer's wide file
// functions share.
#include <gtest/gtest.h>

#include "classlib/Classes.h"

namespace {

TEST(FileOpenModeFlags, MapsEveryAccessAndSharingMode) {
  struct Case {
    WORD Mode;
    bool Valid;
    DWORD Access, Share;
  };
  const Case cases[] = {
      {fmOpenRead, true, GENERIC_READ, 0},
      {fmOpenWrite | fmShareExclusive, true, GENERIC_WRITE, 0},
      {fmOpenReadWrite | fmShareDenyWrite, true, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ},
      {fmOpenRead | fmShareDenyRead, true, GENERIC_READ, FILE_SHARE_WRITE},
      {fmOpenRead | fmShareDenyNone, true, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE},
      {0x0003, false, 0, 0},  // no such access
      {0x0050, false, 0, 0},  // no such sharing
      {fmCreate, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Mode);
    DWORD access = 0xDEAD, share = 0xDEAD;
    ASSERT_EQ(c.Valid, FileOpenModeFlags(c.Mode, access, share));
    if (!c.Valid) continue;
    EXPECT_EQ(c.Access, access);
    EXPECT_EQ(c.Share, share);
  }
}

}  // namespace
