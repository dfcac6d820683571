// KxGrafx: the Kx library's bitmap helpers (transparent, tiled, centred and
// stretched drawing, flipping), the gradient fill of group headings and
// bars, the trapezoid helpers of the meter, and the helper with which
// transparent controls paint their parent behind them.
#pragma once

#include "classlib/Graphics.h"

// Turns the bitmap upside down in place.
void FlipBitmap(TBitmap* bitmap);
