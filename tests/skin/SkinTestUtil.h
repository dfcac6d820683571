// Helpers of the skin tests: TpkBitmaps of known pixels and pixel reads
// straight from memory (never through GDI).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "classlib/Graphics.h"
#include "skin/pkBitmap.h"

// Points compare and print by their coordinates (POINT is a global type, so
// these live in the global namespace where lookup finds them).
inline bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }
inline void PrintTo(const POINT& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

namespace skin_test {

// Pixel triples, top row first.
using TPixels = std::vector<std::vector<int>>;

inline Owned<TpkBitmap> MakePk(const TPixels& rows) {
  Owned<TpkBitmap> b = MakeOwned<TpkBitmap>();
  int h = static_cast<int>(rows.size()), w = h ? static_cast<int>(rows[0].size()) : 0;
  b->SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b->SetPixel(x, y, rows[static_cast<size_t>(y)][static_cast<size_t>(x)]);
  return b;
}

inline Owned<TpkBitmap> MakePk(int w, int h, int fill) {
  return MakePk(TPixels(static_cast<size_t>(h), std::vector<int>(static_cast<size_t>(w), fill)));
}

// A picture where every pixel differs: red = 10 * x + 1, green = 10 * y + 2,
// blue = x + y + 3.
inline Owned<TpkBitmap> MakeRamp(int w, int h) {
  TPixels rows(static_cast<size_t>(h), std::vector<int>(static_cast<size_t>(w)));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = (10 * x + 1) << 16 | (10 * y + 2) << 8 | (x + y + 3);
  return MakePk(rows);
}

inline TPixels PixelsOf(const TpkBitmap* b) {
  TPixels rows(static_cast<size_t>(b->GetHeight()), std::vector<int>(static_cast<size_t>(b->GetWidth())));
  for (int y = 0; y < b->GetHeight(); ++y)
    for (int x = 0; x < b->GetWidth(); ++x) rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = b->GetPixel(x, y);
  return rows;
}

// Counts the OnChange notifications of what it is hooked to.
struct TChangeCounter : TObject {
  int changes = 0;
  void Hit(TObject*) { ++changes; }
  TNotifyEvent Event() { return TNotifyEvent(this, &TChangeCounter::Hit); }
};

inline int Gray(int v) { return v << 16 | v << 8 | v; }
inline int Rgb(int r, int g, int b) { return r << 16 | g << 8 | b; }

// A pixel triple of a 24- or 32-bit TBitmap.
inline int PixelOfBitmap(TBitmap* b, int x, int y) {
  const uint8_t* row = static_cast<const uint8_t*>(b->GetScanLine(y));
  int bpp = b->GetPixelFormat() == pf24bit ? 3 : 4;
  const uint8_t* p = row + x * bpp;
  return p[2] << 16 | p[1] << 8 | p[0];
}

// The pixel formats a TBitmap can have and the display depths the seam
// can report: the table the write-back paths are checked over.
inline const std::vector<TPixelFormat>& AllPixelFormats() {
  static const std::vector<TPixelFormat> formats = {pfDevice, pf1bit,  pf4bit,  pf8bit,
                                                    pf15bit,  pf16bit, pf24bit, pf32bit};
  return formats;
}
inline const std::vector<int>& AllDisplayDepths() {
  static const std::vector<int> depths = {1, 4, 8, 16, 24, 32};
  return depths;
}

// A 100 x 3 TBitmap in pf (made at the display depth in force) with columns
// of colours every such bitmap holds exactly: black and white, and for more
// than one bit per pixel red and blue too.
inline Owned<TBitmap> StripedBitmap(TPixelFormat pf) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf);
  b->SetSize(100, 3);
  const bool mono = b->GetMonochrome();
  const TColor colors[] = {clBlack, clWhite, clRed, clBlue};
  const int n = mono ? 2 : 4;
  TCanvas* c = b->GetCanvas();
  for (int x = 0; x < 100; ++x) {
    c->GetBrush()->SetColor(colors[(x * 7 / 5) % n]);
    c->FillRect(Rect(x, 0, x + 1, 3));
  }
  return b;
}

// The colours of a TBitmap of any format, row by row, as pixel triples.
inline std::vector<std::vector<int>> ColoursOf(TBitmap* b) {
  Owned<TBitmap> copy = MakeOwned<TBitmap>();
  copy->Assign(b);
  copy->SetPixelFormat(pf24bit);
  std::vector<std::vector<int>> rows(static_cast<size_t>(copy->GetHeight()));
  for (int y = 0; y < copy->GetHeight(); ++y)
    for (int x = 0; x < copy->GetWidth(); ++x) rows[static_cast<size_t>(y)].push_back(PixelOfBitmap(copy.get(), x, y));
  return rows;
}

}  // namespace skin_test
