// Helpers of the graphics tests: bitmaps of a known format and pixel reads
// straight from their scan lines (never through GDI).
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/classes/Streams.h"
#include "tests/common/LeakTestSupport.h"

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

// The GDI objects this process holds (the count shared by every library's
// tests).
using leak_test::GdiObjectCount;

// The GDI objects (DCs among them) that rounds of work leave behind: a DC
// taken and never given back keeps its handle, and the next GetDC makes a
// new one. One round goes first, for the caches the system fills on first
// use.
template <class F>
int GdiObjectsLeftBy(F work, int rounds = 16) {
  work();
  const int before = GdiObjectCount();
  for (int i = 0; i < rounds; ++i) work();
  return GdiObjectCount() - before;
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

// An enhanced metafile of a red width x height rectangle.
inline Owned<TMetafile> MakeRedMetafile(int width, int height) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT r{0, 0, width, height};
  FillRect(dc, &r, red);
  DeleteObject(red);
  Owned<TMetafile> m = MakeOwned<TMetafile>();
  m->SetHandle(CloseEnhMetaFile(dc));
  return m;
}

// What the graphic draws at (0, 0) over size x size pixels of navy, as the
// bytes of the BMP file.
inline std::vector<uint8_t> DrawnOnNavy(TGraphic* g, int size) {
  auto target = MakeBitmap(size, size, pf24bit, clNavy);
  target->GetCanvas()->Draw(0, 0, g);
  return SavedBytes(target.get());
}

}  // namespace graphics_test
