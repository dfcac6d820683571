// Helpers of the skin tests: pictures drawn from text, regions compared as
// pixel sets, region blobs as bytes, stored forms as text, and handle counts.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "skin/pkRegion.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/common/LeakTestSupport.h"
#include "tests/common/TestSupport.h"

namespace skin_test {

// A picture written as text rows: each character is one pixel, its colour
// taken from the palette of (character, colour) pairs.
struct TPaint {
  char Ch;
  TColor Color;
};

inline Owned<TBitmap> BitmapFromText(const std::vector<std::string>& rows, std::initializer_list<TPaint> paints,
                                     TPixelFormat pf = pf24bit) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf24bit);
  int h = static_cast<int>(rows.size());
  int w = h ? static_cast<int>(rows[0].size()) : 0;
  b->SetSize(w, h);
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<uint8_t*>(b->GetScanLine(y));
    for (int x = 0; x < w; ++x) {
      TColor c = clWhite;
      for (const TPaint& p : paints)
        if (p.Ch == rows[static_cast<size_t>(y)][static_cast<size_t>(x)]) c = p.Color;
      row[3 * x + 0] = GetBValue(c);
      row[3 * x + 1] = GetGValue(c);
      row[3 * x + 2] = GetRValue(c);
    }
  }
  b->Changed(b.get());
  if (pf != pf24bit) b->SetPixelFormat(pf);
  return b;
}

// The pixels of a w x h area as text: '#' inside the region, '.' outside.
inline std::vector<std::string> RegionText(HRGN region, int w, int h) {
  std::vector<std::string> rows(static_cast<size_t>(h), std::string(static_cast<size_t>(w), '.'));
  if (!region) return rows;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (PtInRegion(region, x, y)) rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = '#';
  return rows;
}

// The region's bounding box, or an empty rectangle without a region.
inline RECT RegionBox(HRGN region) {
  RECT r{0, 0, 0, 0};
  if (region) GetRgnBox(region, &r);
  return r;
}

// A copy of the window's region (the caller owns it), or null when the
// window has none.
inline HRGN WindowRegion(HWND window) {
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  if (GetWindowRgn(window, r) == ERROR) {
    DeleteObject(r);
    return nullptr;
  }
  return r;
}

inline bool SameRegion(HRGN a, HRGN b) {
  if (!a || !b) return !a && !b;
  return EqualRgn(a, b) != 0;
}

// The bytes of a region blob as a stored form holds them: count, then block.
inline std::string BlobBytes(const std::vector<uint8_t>& block) {
  uint32_t n = static_cast<uint32_t>(block.size());
  std::string s(reinterpret_cast<const char*>(&n), sizeof n);
  s.append(reinterpret_cast<const char*>(block.data()), block.size());
  return s;
}

// A region block with the given header fields and rectangles.
inline std::vector<uint8_t> RegionBlock(uint32_t dwSize, uint32_t iType, uint32_t nCount, uint32_t nRgnSize,
                                        const std::vector<RECT>& rects) {
  std::vector<uint8_t> b(32 + rects.size() * sizeof(RECT));
  uint32_t h[4] = {dwSize, iType, nCount, nRgnSize};
  std::memcpy(b.data(), h, sizeof h);
  RECT bound{0, 0, 0, 0};
  if (!rects.empty()) {
    bound = rects[0];
    for (const RECT& r : rects) UnionRect(&bound, &bound, &r);
  }
  std::memcpy(b.data() + 16, &bound, sizeof bound);
  if (!rects.empty()) std::memcpy(b.data() + 32, rects.data(), rects.size() * sizeof(RECT));
  return b;
}

// Painting into a DIB and pumping messages as the class library's tests do.
using controls_test::PumpMessages;
using controls_test::TDib;

// Handle counts, shared by every library's tests.
using leak_test::ExpectNoHandleGrowth;
using leak_test::GdiObjectCount;
using leak_test::ThreadWindowCount;

}  // namespace skin_test
