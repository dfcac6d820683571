// Balloon hints: where a balloon goes for each corner and each screen edge.
#include <gtest/gtest.h>

#include "kx/foundation/KxBHints.h"

namespace {

struct TPlaceCase {
  const char* what;
  POINT anchor;
  TKxHintCorner corner;
  TKxBalloonPlace expected;
};

TEST(KxBalloonPlacement, EachCornerAndEachScreenEdge) {
  // A 120 x 60 balloon on a 1024 x 768 screen.
  const int w = 120, h = 60;
  const TPlaceCase cases[] = {
      {"lower right", {500, 400}, hcLowerRight, {501, 400, hcLowerRight}},
      {"lower left", {500, 400}, hcLowerLeft, {379, 400, hcLowerLeft}},
      {"upper left", {500, 400}, hcUpperLeft, {379, 340, hcUpperLeft}},
      {"upper right", {500, 400}, hcUpperRight, {501, 340, hcUpperRight}},
      {"top edge, upper right", {500, 30}, hcUpperRight, {501, 30, hcLowerRight}},
      {"top edge, upper left", {500, 30}, hcUpperLeft, {379, 30, hcLowerLeft}},
      {"bottom edge, lower right", {500, 740}, hcLowerRight, {501, 680, hcUpperRight}},
      {"bottom edge, lower left", {500, 740}, hcLowerLeft, {379, 680, hcUpperLeft}},
      {"right edge, lower right", {1000, 400}, hcLowerRight, {879, 400, hcLowerLeft}},
      {"right edge, upper right", {1000, 400}, hcUpperRight, {879, 340, hcUpperLeft}},
      {"left edge, lower left", {50, 400}, hcLowerLeft, {51, 400, hcLowerRight}},
      {"left edge, upper left", {50, 400}, hcUpperLeft, {51, 340, hcUpperRight}},
      {"bottom right corner", {1000, 740}, hcLowerRight, {879, 680, hcUpperLeft}},
      {"top left corner", {50, 30}, hcUpperLeft, {51, 30, hcLowerRight}},
      {"touching the right and bottom edges", {903, 708}, hcLowerRight, {904, 708, hcLowerRight}},
      {"touching the top edge", {500, 60}, hcUpperRight, {501, 0, hcUpperRight}},
      // Above the screen (a monitor above the main one), a balloon to the
      // right stays to the right.
      {"above the top, lower right", {500, -10}, hcLowerRight, {501, -10, hcLowerRight}},
  };
  for (const TPlaceCase& c : cases) {
    SCOPED_TRACE(c.what);
    TKxBalloonPlace p = KxPlaceBalloon(c.anchor, w, h, c.corner, 1024, 768);
    EXPECT_EQ(p.X, c.expected.X);
    EXPECT_EQ(p.Y, c.expected.Y);
    EXPECT_EQ(p.Corner, c.expected.Corner);
  }
}

}  // namespace
