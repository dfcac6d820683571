// KxBHints: balloon hints. A rounded box with a tail that points at the
// mouse, optionally with a drop shadow, replaces the application's hint
// window while a TKxBalloonHints component lives.
#pragma once

#include <cstdint>

#include "classlib/Types.h"

// Where the balloon lies relative to the point its tail touches.
enum TKxHintCorner : uint8_t { hcLowerRight, hcLowerLeft, hcUpperLeft, hcUpperRight };

// The place of a balloon of w x h whose tail touches anchor, on a screen of
// screenWidth x screenHeight: the preferred corner, turned away from each
// screen edge the balloon would cross (top, bottom, right, left, in that
// order).
struct TKxBalloonPlace {
  int X;
  int Y;
  TKxHintCorner Corner;
};
TKxBalloonPlace KxPlaceBalloon(POINT anchor, int w, int h, TKxHintCorner corner, int screenWidth, int screenHeight);
