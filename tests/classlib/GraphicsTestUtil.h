// Helpers of the graphics tests: bitmaps of a known format and pixel reads
// straight from their scan lines (never through GDI).
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/classes/Streams.h"

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

// A memory stream holding the bytes, positioned at its start.
inline Owned<TMemoryStream> StreamOf(const std::vector<uint8_t>& data) {
  Owned<TMemoryStream> s = MakeOwned<TMemoryStream>();
  if (!data.empty()) s->WriteBuffer(data.data(), static_cast<int>(data.size()));
  s->SetPosition(0);
  return s;
}

inline std::vector<uint8_t> BytesOf(TMemoryStream* s) {
  auto* p = static_cast<const uint8_t*>(s->GetMemory());
  return std::vector<uint8_t>(p, p + s->GetSize());
}

// What the graphic's SaveToStream writes.
inline std::vector<uint8_t> SavedBytes(TGraphic* g) {
  Owned<TMemoryStream> s = MakeOwned<TMemoryStream>();
  g->SaveToStream(s.get());
  return BytesOf(s.get());
}

}  // namespace graphics_test
