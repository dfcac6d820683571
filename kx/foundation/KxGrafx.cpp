#include "kx/foundation/KxGrafx.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "classlib/Forms.h"

DEFINE_ENUM_TYPE(TGradientDirection, "gdDiagonalUp", "gdDiagonalDown", "gdHorizontalEnd", "gdHorizontalCenter",
                 "gdHorizontalBox", "gdVerticalEnd", "gdVerticalCenter", "gdVerticalBox", "gdSquareBox",
                 "gdBigSquareBox")
DEFINE_ENUM_TYPE(TTrapShape, "tsLeft", "tsCenter", "tsRight")
DEFINE_ENUM_TYPE(TTrapBevelStyle, "bsNone", "bsLowered", "bsRaised")
DEFINE_ENUM_TYPE(TTrapDirect, "tdLargeToSmall", "tdSmallToLarge")

namespace {

int Width(const TRect& r) { return r.right - r.left; }
int Height(const TRect& r) { return r.bottom - r.top; }

// A scratch bitmap of the given size whose canvas a blit may read.
Owned<TBitmap> Scratch(int w, int h, TPixelFormat format = pfDevice) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(format);
  b->SetSize(w, h);
  return b;
}

}  // namespace

// ---------------------------------------------------------------------------
// Bitmaps

void DrawTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& dest, const TRect& source,
                           TColor transparentColor) {
  int w = Width(dest), h = Height(dest);
  if (!bitmap || bitmap->GetEmpty() || w <= 0 || h <= 0) return;
  Owned<TBitmap> image = Scratch(w, h);
  image->GetCanvas()->CopyRect(TRect{0, 0, w, h}, bitmap->GetCanvas(), source);
  // The mask: transparent pixels white, the rest black (a copy to a
  // monochrome bitmap compares with the source's background colour).
  Owned<TBitmap> mask = Scratch(w, h);
  mask->SetMonochrome(true);
  HDC imageDC = image->GetCanvas()->GetHandle();
  COLORREF oldBk = SetBkColor(imageDC, static_cast<COLORREF>(ColorToRGB(transparentColor)));
  BitBlt(mask->GetCanvas()->GetHandle(), 0, 0, w, h, imageDC, 0, 0, SRCCOPY);
  SetBkColor(imageDC, oldBk);
  // Black out the image's transparent pixels (already black when the key is
  // black): AND with the inverted mask, taking mask 1 as black.
  if (ColorToRGB(transparentColor) != clBlack) {
    HDC maskDC = mask->GetCanvas()->GetHandle();
    COLORREF bk = SetBkColor(imageDC, RGB(0, 0, 0));
    COLORREF text = SetTextColor(imageDC, RGB(255, 255, 255));
    BitBlt(imageDC, 0, 0, w, h, maskDC, 0, 0, SRCAND);
    SetBkColor(imageDC, bk);
    SetTextColor(imageDC, text);
  }
  HDC dc = canvas->GetHandle();
  COLORREF bk = SetBkColor(dc, RGB(255, 255, 255));
  COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
  BitBlt(dc, dest.left, dest.top, w, h, mask->GetCanvas()->GetHandle(), 0, 0, SRCAND);
  BitBlt(dc, dest.left, dest.top, w, h, image->GetCanvas()->GetHandle(), 0, 0, SRCPAINT);
  SetBkColor(dc, bk);
  SetTextColor(dc, text);
}

void DrawFullTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& dest, const TRect& source,
                               TColor transparentColor) {
  int w = Width(dest), h = Height(dest);
  if (!bitmap || bitmap->GetEmpty() || w <= 0 || h <= 0) return;
  Owned<TBitmap> image = Scratch(w, h);
  image->GetCanvas()->CopyRect(TRect{0, 0, w, h}, bitmap->GetCanvas(), source);
  Owned<TBitmap> mask = Scratch(w, h);
  mask->SetMonochrome(true);
  HDC imageDC = image->GetCanvas()->GetHandle();
  COLORREF oldBk = SetBkColor(imageDC, static_cast<COLORREF>(ColorToRGB(transparentColor)));
  BitBlt(mask->GetCanvas()->GetHandle(), 0, 0, w, h, imageDC, 0, 0, SRCCOPY);
  SetBkColor(imageDC, oldBk);
  TransparentStretchBlt(canvas->GetHandle(), dest.left, dest.top, w, h, image->GetCanvas()->GetHandle(), 0, 0, w,
                        h, mask->GetCanvas()->GetHandle(), 0, 0);
}

namespace {

// Tiles from the first tile's source offset (ox, oy), later tiles starting
// at the bitmap's edges; each tile cut to the rectangle.
template <class DrawTile>
void Tile(TBitmap* bitmap, const TRect& rect, int ox, int oy, DrawTile draw) {
  int bw = bitmap->GetWidth(), bh = bitmap->GetHeight();
  if (bw <= 0 || bh <= 0) return;
  int sy = oy;
  for (int y = rect.top; y < rect.bottom; y += bh - sy, sy = 0) {
    int th = std::min<int>(bh - sy, rect.bottom - y);
    int sx = ox;
    for (int x = rect.left; x < rect.right; x += bw - sx, sx = 0) {
      int tw = std::min<int>(bw - sx, rect.right - x);
      draw(TRect{x, y, x + tw, y + th}, TRect{sx, sy, sx + tw, sy + th});
    }
  }
}

}  // namespace

void TileTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& rect, TColor transparentColor) {
  if (!bitmap || bitmap->GetEmpty()) return;
  Tile(bitmap, rect, 0, 0, [&](const TRect& d, const TRect& s) {
    DrawTransparentBitmap(canvas, bitmap, d, s, transparentColor);
  });
}

void StretchTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& rect, TColor transparentColor) {
  if (!bitmap || bitmap->GetEmpty()) return;
  DrawTransparentBitmap(canvas, bitmap, rect, TRect{0, 0, bitmap->GetWidth(), bitmap->GetHeight()},
                        transparentColor);
}

void TileBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& rect) {
  if (!bitmap || bitmap->GetEmpty()) return;
  Tile(bitmap, rect, 0, 0,
       [&](const TRect& d, const TRect& s) { canvas->CopyRect(d, bitmap->GetCanvas(), s); });
}

void TileRealizedBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& rect) {
  if (!bitmap || bitmap->GetEmpty()) return;
  int bw = bitmap->GetWidth(), bh = bitmap->GetHeight();
  int ox = ((rect.left % bw) + bw) % bw, oy = ((rect.top % bh) + bh) % bh;
  Tile(bitmap, rect, ox, oy,
       [&](const TRect& d, const TRect& s) { canvas->CopyRect(d, bitmap->GetCanvas(), s); });
}

void CenterBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& rect) {
  if (!bitmap || bitmap->GetEmpty()) return;
  int bw = bitmap->GetWidth(), bh = bitmap->GetHeight();
  int w = std::min(bw, Width(rect)), h = std::min(bh, Height(rect));
  if (w <= 0 || h <= 0) return;
  int dx = rect.left + (Width(rect) - w) / 2, dy = rect.top + (Height(rect) - h) / 2;
  int sx = (bw - w) / 2, sy = (bh - h) / 2;
  canvas->CopyRect(TRect{dx, dy, dx + w, dy + h}, bitmap->GetCanvas(), TRect{sx, sy, sx + w, sy + h});
}

void StretchBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& rect) {
  if (!bitmap || bitmap->GetEmpty()) return;
  canvas->CopyRect(rect, bitmap->GetCanvas(), TRect{0, 0, bitmap->GetWidth(), bitmap->GetHeight()});
}

void FlipBitmap(TBitmap* bitmap) {
  if (!bitmap || bitmap->GetEmpty()) return;
  int h = bitmap->GetHeight();
  // A copy of the same format (and colour table); row r of the copy is row
  // h - 1 - r of the bitmap, whatever the depth.
  Owned<TBitmap> copy = MakeOwned<TBitmap>();
  copy->Assign(bitmap);
  size_t bytes = static_cast<size_t>(bitmap->ScanLineAs<uint8_t>(0).Count());
  for (int r = 0; r < h; ++r) std::memcpy(copy->GetScanLine(r), bitmap->GetScanLine(h - 1 - r), bytes);
  copy->Changed(copy.get());
  bitmap->Assign(copy.get());
}

// ---------------------------------------------------------------------------
// Gradients

std::vector<COLORREF> GradientRun(TColor first, TColor second, int length, int colorCount) {
  std::vector<COLORREF> run;
  if (length <= 0) return run;
  run.resize(static_cast<size_t>(length));
  COLORREF a = static_cast<COLORREF>(ColorToRGB(first)), b = static_cast<COLORREF>(ColorToRGB(second));
  // 16.16 accumulators start at the second colour at the far end and step
  // towards the first.
  int64_t acc[3] = {int64_t{GetRValue(b)} << 16, int64_t{GetGValue(b)} << 16, int64_t{GetBValue(b)} << 16};
  int64_t step[3] = {(int64_t{GetRValue(a)} - GetRValue(b)) * 65536 / length,
                     (int64_t{GetGValue(a)} - GetGValue(b)) * 65536 / length,
                     (int64_t{GetBValue(a)} - GetBValue(b)) * 65536 / length};
  std::vector<COLORREF> pixel(static_cast<size_t>(length));
  for (int i = length - 1; i >= 0; --i) {
    pixel[static_cast<size_t>(i)] = RGB(acc[0] >> 16, acc[1] >> 16, acc[2] >> 16);
    for (int c = 0; c < 3; ++c) acc[c] += step[c];
  }
  int band = colorCount > 8 ? 255 / colorCount + 1 : std::max(colorCount, 1);
  // Bands from the far end: at least band pixels, then on while the colour
  // stays the same; each in its first pixel's colour.
  int i = length - 1;
  while (i >= 0) {
    COLORREF colour = pixel[static_cast<size_t>(i)];
    int end = std::max(i - band, -1);
    while (end >= 0 && pixel[static_cast<size_t>(end)] == colour) --end;
    for (int k = i; k > end; --k) run[static_cast<size_t>(k)] = colour;
    i = end;
  }
  return run;
}

namespace {

// Pixels of a DIB in memory, top row first, handed to the DC at once.
class TPixelBlock {
 public:
  TPixelBlock(int w, int h) : w_(w), h_(h), bits_(static_cast<size_t>(w) * static_cast<size_t>(h)) {}
  uint32_t* Row(int y) { return bits_.data() + static_cast<size_t>(y) * static_cast<size_t>(w_); }
  void Put(HDC dc, int x, int y) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w_;
    bi.bmiHeader.biHeight = -h_;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(w_), static_cast<DWORD>(h_), 0, 0, 0,
                      static_cast<UINT>(h_), bits_.data(), &bi, DIB_RGB_COLORS);
  }

 private:
  int w_, h_;
  std::vector<uint32_t> bits_;
};

uint32_t DibPixel(COLORREF c) { return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c); }

}  // namespace

void FillGrad(HDC dc, const TRect& rect, TColor first, TColor second, int colorCount, TOrientation orientation) {
  bool rows = orientation == orHorizontal;
  int length = rows ? Height(rect) : Width(rect);
  std::vector<COLORREF> run = GradientRun(first, second, length, colorCount);
  for (int i = 0; i < length;) {
    int j = i;
    while (j < length && run[static_cast<size_t>(j)] == run[static_cast<size_t>(i)]) ++j;
    HBRUSH brush = CreateSolidBrush(run[static_cast<size_t>(i)]);
    TRect band = rows ? TRect{rect.left, rect.top + i, rect.right, rect.top + j}
                      : TRect{rect.left + i, rect.top, rect.left + j, rect.bottom};
    FillRect(dc, &band, brush);
    DeleteObject(brush);
    i = j;
  }
}

void FillGradRect(HDC dc, const TRect& rect, TColor first, TColor second, int colorCount, int insetX, int insetY) {
  int w = Width(rect), h = Height(rect);
  if (w <= 0 || h <= 0) return;
  // Ring t of the nested rectangles: the nearer of the (advanced) top and
  // left edges; the run reaches the second colour at the inner corner.
  int length = std::max(1, std::min(w + insetX, h + insetY));
  std::vector<COLORREF> run = GradientRun(first, second, length, colorCount);
  TPixelBlock block(w, h);
  for (int y = 0; y < h; ++y) {
    uint32_t* row = block.Row(y);
    for (int x = 0; x < w; ++x) {
      int t = std::min({x + insetX, y + insetY, length - 1});
      row[x] = DibPixel(run[static_cast<size_t>(t)]);
    }
  }
  block.Put(dc, rect.left, rect.top);
}

void FillGradDiag(HDC dc, const TRect& rect, TColor first, TColor second, int colorCount, bool mirrored) {
  int w = Width(rect), h = Height(rect);
  if (w <= 0 || h <= 0) return;
  if (ColorToRGB(first) == ColorToRGB(second)) {
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(first)));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    return;
  }
  // The colour runs along x + y; each row is a window into one table.
  std::vector<COLORREF> run = GradientRun(first, second, w + h - 1, colorCount);
  std::vector<uint32_t> table(run.size());
  for (size_t i = 0; i < run.size(); ++i) table[i] = DibPixel(run[i]);
  TPixelBlock block(w, h);
  for (int y = 0; y < h; ++y) {
    uint32_t* row = block.Row(y);
    if (!mirrored) {
      std::memcpy(row, table.data() + y, static_cast<size_t>(w) * sizeof(uint32_t));
    } else {
      for (int x = 0; x < w; ++x) row[x] = table[static_cast<size_t>(w - 1 - x + y)];
    }
  }
  block.Put(dc, rect.left, rect.top);
}

void BitFillBlit(HDC dc, int width, int height, int strip, TOrientation orientation) {
  bool across = orientation == orHorizontal;
  int extent = across ? width : height;
  for (int done = std::max(strip, 1); done < extent; done *= 2) {
    int n = std::min(done, extent - done);
    if (across) BitBlt(dc, done, 0, n, height, dc, 0, 0, SRCCOPY);
    else BitBlt(dc, 0, done, width, n, dc, 0, 0, SRCCOPY);
  }
}

void BoxBitMirrorBlit(HDC dc, int width, int height) {
  int qw = (width + 1) / 2, qh = (height + 1) / 2;
  int rw = width - qw, rh = height - qh;
  // Negative extents mirror: the top right from the top left, then the
  // bottom half from the top.
  if (rw > 0) StretchBlt(dc, width - 1, 0, -rw, qh, dc, 0, 0, rw, qh, SRCCOPY);
  if (rh > 0) StretchBlt(dc, 0, height - 1, width, -rh, dc, 0, 0, width, rh, SRCCOPY);
}

void PaintGradient(TCanvas* canvas, const TRect& rect, TGradientDirection direction, TColor first, TColor second,
                   int8_t colorCount) {
  int w = Width(rect), h = Height(rect);
  if (w <= 0 || h <= 0) return;
  Owned<TBitmap> image = Scratch(w, h, pf32bit);
  HDC dc = image->GetCanvas()->GetHandle();
  TColor a = ColorToRGB(first), b = ColorToRGB(second);
  const int strip = 8;
  switch (direction) {
    case gdDiagonalUp:
    case gdDiagonalDown: FillGradDiag(dc, TRect{0, 0, w, h}, a, b, colorCount, direction == gdDiagonalDown); break;
    case gdHorizontalEnd:
    case gdHorizontalCenter: {
      // A centred gradient runs over half the height and is mirrored below;
      // a run shorter than a pixel counts as one.
      int length = direction == gdHorizontalEnd ? h : std::max(1, h / 2);
      FillGrad(dc, TRect{0, 0, std::min(strip, w), length}, a, b, colorCount, orHorizontal);
      // An odd height leaves a middle row for the centre colour.
      if (direction == gdHorizontalCenter && h > 2 * length)
        BitBlt(dc, 0, length, std::min(strip, w), 1, dc, 0, length - 1, SRCCOPY);
      if (direction == gdHorizontalCenter && h > length)
        StretchBlt(dc, 0, h - 1, std::min(strip, w), -(h - length), dc, 0, 0, std::min(strip, w), h - length,
                   SRCCOPY);
      BitFillBlit(dc, w, h, strip, orHorizontal);
      break;
    }
    case gdVerticalEnd:
    case gdVerticalCenter: {
      int length = direction == gdVerticalEnd ? w : std::max(1, w / 2);
      FillGrad(dc, TRect{0, 0, length, std::min(strip, h)}, a, b, colorCount, orVertical);
      if (direction == gdVerticalCenter && w > 2 * length)
        BitBlt(dc, length, 0, 1, std::min(strip, h), dc, length - 1, 0, SRCCOPY);
      if (direction == gdVerticalCenter && w > length)
        StretchBlt(dc, w - 1, 0, -(w - length), std::min(strip, h), dc, 0, 0, w - length, std::min(strip, h),
                   SRCCOPY);
      BitFillBlit(dc, w, h, strip, orVertical);
      break;
    }
    case gdHorizontalBox:
    case gdVerticalBox:
    case gdSquareBox:
    case gdBigSquareBox: {
      int qw = (w + 1) / 2, qh = (h + 1) / 2;
      int ix = 0, iy = 0;
      if (direction == gdHorizontalBox) iy = w / 4;
      else if (direction == gdVerticalBox) ix = h / 4;
      else if (direction == gdBigSquareBox) ix = w / 4, iy = h / 4;
      FillGradRect(dc, TRect{0, 0, qw, qh}, a, b, colorCount, ix, iy);
      BoxBitMirrorBlit(dc, w, h);
      break;
    }
  }
  canvas->Draw(rect.left, rect.top, image.get());
}

// ---------------------------------------------------------------------------
// Trapezoids

void SetTrapezoid(TTrap& trap, const TRect& rect, int minSize, TTrapShape shape, TDirection direction,
                  TTrapDirect direct) {
  auto inset = [shape](int difference) {
    return shape == tsLeft ? 0 : shape == tsCenter ? difference / 2 : difference;
  };
  if (direction == dirUp || direction == dirDown) {
    int w = Width(rect), narrow = std::min(w, minSize), d = inset(w - narrow);
    bool topNarrow = (direction == dirUp && direct == tdLargeToSmall) ||
                     (direction == dirDown && direct == tdSmallToLarge);
    TPoint ul{rect.left, rect.top}, ur{rect.right, rect.top}, lr{rect.right, rect.bottom},
        ll{rect.left, rect.bottom};
    if (topNarrow) {
      ul.x = rect.left + d;
      ur.x = ul.x + narrow;
    } else {
      ll.x = rect.left + d;
      lr.x = ll.x + narrow;
    }
    trap = TTrap{{ul, ur, lr, ll}};
  } else {
    int h = Height(rect), narrow = std::min(h, minSize), d = inset(h - narrow);
    bool rightNarrow = (direction == dirRight && direct == tdLargeToSmall) ||
                       (direction == dirLeft && direct == tdSmallToLarge);
    TPoint ul{rect.left, rect.top}, ur{rect.right, rect.top}, lr{rect.right, rect.bottom},
        ll{rect.left, rect.bottom};
    if (rightNarrow) {
      ur.y = rect.top + d;
      lr.y = ur.y + narrow;
    } else {
      ul.y = rect.top + d;
      ll.y = ul.y + narrow;
    }
    trap = TTrap{{ul, ur, lr, ll}};
  }
}

TPoint Intersect(const TPoint& p1, const TPoint& p2, const TPoint& p, TDirection direction) {
  if (direction == dirLeft || direction == dirRight) {
    if (p2.x == p1.x) return TPoint{p.x, p1.y};
    return TPoint{p.x, static_cast<LONG>(p1.y + int64_t{p2.y - p1.y} * (p.x - p1.x) / (p2.x - p1.x))};
  }
  if (p2.y == p1.y) return TPoint{p1.x, p.y};
  return TPoint{static_cast<LONG>(p1.x + int64_t{p2.x - p1.x} * (p.y - p1.y) / (p2.y - p1.y)), p.y};
}

TTrap AdjustTrapezoid(const TTrap& trap, const TRect& rect, TDirection direction) {
  const TPoint* p = trap.Points;
  TTrap t = trap;
  if (direction == dirUp || direction == dirDown) {
    // The slanted sides (left: ul-ll, right: ur-lr) cut at the top and bottom.
    t.Points[0] = Intersect(p[0], p[3], TPoint{0, rect.top}, direction);
    t.Points[3] = Intersect(p[0], p[3], TPoint{0, rect.bottom}, direction);
    t.Points[1] = Intersect(p[1], p[2], TPoint{0, rect.top}, direction);
    t.Points[2] = Intersect(p[1], p[2], TPoint{0, rect.bottom}, direction);
  } else {
    t.Points[0] = Intersect(p[0], p[1], TPoint{rect.left, 0}, direction);
    t.Points[1] = Intersect(p[0], p[1], TPoint{rect.right, 0}, direction);
    t.Points[3] = Intersect(p[3], p[2], TPoint{rect.left, 0}, direction);
    t.Points[2] = Intersect(p[3], p[2], TPoint{rect.right, 0}, direction);
  }
  return t;
}

void InflateTrapezoid(TTrap& trap, int amount) {
  trap.Points[0].x -= amount, trap.Points[0].y -= amount;
  trap.Points[1].x += amount, trap.Points[1].y -= amount;
  trap.Points[2].x += amount, trap.Points[2].y += amount;
  trap.Points[3].x -= amount, trap.Points[3].y += amount;
}

void DrawTrapezoidBorder(TCanvas* canvas, const TTrap& trap, TTrapBevelStyle style, int width) {
  if (style == TTrapBevelStyle::bsNone) return;
  TPen* pen = canvas->GetPen();
  TColor oldColor = pen->GetColor();
  int oldWidth = pen->GetWidth();
  pen->SetWidth(1);
  TColor lowerRight = style == TTrapBevelStyle::bsLowered ? clBtnHighlight : clBtnShadow;
  TColor upperLeft = style == TTrapBevelStyle::bsLowered ? clBtnShadow : clBtnHighlight;
  TTrap t = trap;
  for (int k = 0; k < width; ++k) {
    pen->SetColor(lowerRight);
    canvas->Polyline(std::vector<TPoint>{t.Points[1], t.Points[2], t.Points[3]});
    pen->SetColor(upperLeft);
    canvas->Polyline(std::vector<TPoint>{t.Points[3], t.Points[0], t.Points[1]});
    InflateTrapezoid(t, -1);
  }
  pen->SetColor(oldColor);
  pen->SetWidth(oldWidth);
}

// ---------------------------------------------------------------------------
// DrawParentImage

void DrawParentImage(TControl* control, HDC dc, bool invalidateParent) {
  TWinControl* parent = control ? control->GetParent() : nullptr;
  if (!parent) return;
  int saved = SaveDC(dc);
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - control->GetLeft(), origin.y - control->GetTop(), nullptr);
  TRect client = parent->GetClientRect();
  IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
  try {
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  } catch (...) {
    // At design time a parent that cannot paint must not stop the control.
    if (!control->IsDesigning()) {
      RestoreDC(dc, saved);
      throw;
    }
  }
  RestoreDC(dc, saved);
  if (invalidateParent && !dynamic_cast<TCustomControl*>(parent) && !dynamic_cast<TCustomForm*>(parent) &&
      !control->IsDesigning())
    parent->Invalidate();
}

void DrawParentImage(TControl* control, TCanvas* canvas, bool invalidateParent) {
  DrawParentImage(control, canvas->GetHandle(), invalidateParent);
}
