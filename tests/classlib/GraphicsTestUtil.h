// Helpers of the graphics tests: bitmaps of a known format and pixel reads
// straight from their scan lines (never through GDI).
#pragma once

#include <cstdint>
#include <cstring>

#include "classlib/Graphics.h"

namespace graphics_test {

inline Owned<TBitmap> MakeBitmap(int w, int h, TPixelFormat pf = pf24bit, TColor fill = clWhite) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf);
  b->SetSize(w, h);
  if (fill != clWhite) {
    b->GetCanvas()->GetBrush()->SetColor(fill);
    b->GetCanvas()->FillRect(Rect(0, 0, w, h));
  }
  return b;
}

// The colour of one pixel of a 24- or 32-bit bitmap, as a TColor.
inline TColor PixelAt(TBitmap* b, int x, int y) {
  const uint8_t* row = static_cast<const uint8_t*>(b->GetScanLine(y));
  int bpp = b->GetPixelFormat() == pf24bit ? 3 : 4;
  const uint8_t* p = row + x * bpp;
  return static_cast<TColor>(RGB(p[2], p[1], p[0]));
}

// The bit of a 1-bit bitmap, most significant bit first.
inline int BitAt(TBitmap* b, int x, int y) {
  const uint8_t* row = static_cast<const uint8_t*>(b->GetScanLine(y));
  return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

}  // namespace graphics_test
