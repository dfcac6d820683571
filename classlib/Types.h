// The platform's geometry types: rectangles and points in pixels.
//
// TRect is the Win32 RECT itself (right and bottom exclusive), so that it
// passes to every GDI and USER call unchanged; likewise TPoint and TSize.
#pragma once

#include "classlib/Win.h"

using TRect = RECT;
using TPoint = POINT;
using TSize = SIZE;

inline TRect Rect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) {
  return TRect{left, top, left + width, top + height};
}
inline TPoint Point(int x, int y) { return TPoint{x, y}; }
