#include "kx/foundation/KxBHints.h"

TKxBalloonPlace KxPlaceBalloon(POINT anchor, int w, int h, TKxHintCorner corner, int screenWidth,
                               int screenHeight) {
  TKxBalloonPlace p{0, 0, corner};
  switch (corner) {
    case hcLowerRight: p = {anchor.x + 1, anchor.y, corner}; break;
    case hcLowerLeft: p = {anchor.x - w - 1, anchor.y, corner}; break;
    case hcUpperLeft: p = {anchor.x - w - 1, anchor.y - h, corner}; break;
    case hcUpperRight: p = {anchor.x + 1, anchor.y - h, corner}; break;
  }
  if (p.Y < 0) {
    // A balloon to the right stays to the right (the design turned a lower
    // right balloon above the screen's top into a lower left one without
    // moving it, so its tail pointed away from the mouse).
    p.Corner = corner == hcUpperRight || corner == hcLowerRight ? hcLowerRight : hcLowerLeft;
    p.Y = anchor.y;
  }
  if (p.Y + h > screenHeight) {
    p.Corner = p.Corner == hcLowerRight ? hcUpperRight : hcUpperLeft;
    p.Y = anchor.y - h;
  }
  if (p.X + w > screenWidth) {
    p.Corner = p.Corner == hcLowerRight ? hcLowerLeft : hcUpperLeft;
    p.X = anchor.x - w - 1;
  }
  if (p.X < 0) {
    p.Corner = p.Corner == hcLowerLeft ? hcLowerRight : hcUpperRight;
    p.X = anchor.x + 1;
  }
  return p;
}
