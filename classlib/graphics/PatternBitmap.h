// The 8 x 8 checker of two colours that pressed toggle buttons and checked
// menu glyphs are filled with (the platform's AllocPatternBitmap).
#pragma once

#include "classlib/graphics/Bitmap.h"

// The checker of bkColor and fgColor (fgColor where x + y is even), made on
// first use and shared: the caller neither changes nor frees it (a brush's
// Bitmap, for instance). One per pair of colours as they are at the call,
// so a system colour that changed gets a new one. Kept until the graphics
// unit's finalisation.
TBitmap* AllocPatternBitmap(TColor bkColor, TColor fgColor);

namespace graphics_detail {
// Frees the shared patterns (the graphics unit's finalisation).
void FreePatternBitmaps();
}  // namespace graphics_detail
