#include "classlib/graphics/PatternBitmap.h"

#include <map>
#include <utility>

#include "classlib/graphics/Colors.h"

namespace {

RGBTRIPLE Triple(COLORREF c) { return RGBTRIPLE{GetBValue(c), GetGValue(c), GetRValue(c)}; }

// The patterns made so far, by their two colours as RGB (one GUI thread).
std::map<std::pair<COLORREF, COLORREF>, Owned<TBitmap>>& Patterns() {
  static std::map<std::pair<COLORREF, COLORREF>, Owned<TBitmap>> patterns;
  return patterns;
}

}  // namespace

TBitmap* AllocPatternBitmap(TColor bkColor, TColor fgColor) {
  const auto bk = static_cast<COLORREF>(ColorToRGB(bkColor));
  const auto fg = static_cast<COLORREF>(ColorToRGB(fgColor));
  Owned<TBitmap>& slot = Patterns()[{bk, fg}];
  if (!slot) {
    Owned<TBitmap> bitmap = MakeOwned<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(8, 8);
    const RGBTRIPLE tb = Triple(bk), tf = Triple(fg);
    for (int y = 0; y < 8; ++y) {
      auto row = bitmap->ScanLineAs<RGBTRIPLE>(y);
      for (int x = 0; x < 8; ++x) row[x] = (x + y) % 2 == 0 ? tf : tb;
    }
    slot = std::move(bitmap);
  }
  return slot.get();
}

void graphics_detail::FreePatternBitmaps() { Patterns().clear(); }
