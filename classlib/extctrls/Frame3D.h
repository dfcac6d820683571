// Frame3D: the three-dimensional frame that panels and other controls draw
// round their client area.
#pragma once

#include "classlib/Graphics.h"

// Draws width rings just inside rect: top and left edges in topColor, bottom
// and right edges in bottomColor (which takes the top-right and bottom-left
// corner pixels). On return rect is the area inside the rings.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);
