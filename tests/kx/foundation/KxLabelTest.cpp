// Labels and URL labels.
#include <gtest/gtest.h>

#include "classlib/Graphics.h"
#include "kx/foundation/KxLabel.h"

namespace {

// The hand cursor is the project's own: 32 x 32, one bit deep, hot spot at
// the tip of the index finger, which is black; the corners show the screen.
TEST(KxHandCursor, TheResourceIsAHandWithItsHotSpotOnTheFingerTip) {
  HCURSOR hand = CreateKxHandCursor();
  ASSERT_NE(hand, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(hand, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 5u);
  EXPECT_EQ(info.yHotspot, 0u);
  BITMAP mask{};
  GetObjectA(info.hbmMask, sizeof mask, &mask);
  // A monochrome cursor: the AND mask over the XOR mask, no colour bitmap.
  EXPECT_EQ(info.hbmColor, nullptr);
  EXPECT_EQ(mask.bmWidth, 32);
  EXPECT_EQ(mask.bmHeight, 64);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, info.hbmMask);
  auto andBit = [&](int x, int y) { return GetPixel(dc, x, y) != 0; };
  auto xorBit = [&](int x, int y) { return GetPixel(dc, x, y + 32) != 0; };
  EXPECT_FALSE(andBit(5, 0));  // the tip: black
  EXPECT_FALSE(xorBit(5, 0));
  EXPECT_FALSE(andBit(5, 3));  // inside the finger: white
  EXPECT_TRUE(xorBit(5, 3));
  EXPECT_TRUE(andBit(0, 0));  // the corners: transparent
  EXPECT_TRUE(andBit(31, 31));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(info.hbmMask);
  DestroyCursor(hand);
}

}  // namespace
