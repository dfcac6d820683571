#include <gtest/gtest.h>

#include "classlib/ComCtrls.h"

namespace {

// The programs carry the common controls 6 manifest, so the version the
// process uses is 6.0 (Wine's library alone would say 5.81).
TEST(ComCtlVersionTest, TheManifestMakesItVersionSix) {
  uint32_t v = GetComCtlVersion();
  EXPECT_EQ(v >> 16, 6u);
  EXPECT_GE(v, ComCtlVersionIE6);
}

}  // namespace
