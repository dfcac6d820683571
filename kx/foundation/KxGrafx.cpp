#include "kx/foundation/KxGrafx.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include <intrin.h>

#include "classlib/Forms.h"
#include "classlib/Scopes.h"

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

// The source rectangle of a bitmap copied to a w x h scratch image, and its
// mask: transparent pixels white, the rest black (a copy to a monochrome
// bitmap compares with the source's background colour).
std::pair<Owned<TBitmap>, Owned<TBitmap>> ImageAndMask(TBitmap* bitmap, const TRect& source, int w, int h,
                                                       TColor transparentColor) {
  Owned<TBitmap> image = Scratch(w, h);
  image->GetCanvas()->CopyRect(TRect{0, 0, w, h}, bitmap->GetCanvas(), source);
  Owned<TBitmap> mask = Scratch(w, h);
  mask->SetMonochrome(true);
  HDC imageDC = image->GetCanvas()->GetHandle();
  COLORREF oldBk = SetBkColor(imageDC, static_cast<COLORREF>(ColorToRGB(transparentColor)));
  BitBlt(mask->GetCanvas()->GetHandle(), 0, 0, w, h, imageDC, 0, 0, SRCCOPY);
  SetBkColor(imageDC, oldBk);
  return {std::move(image), std::move(mask)};
}

}  // namespace

// ---------------------------------------------------------------------------
// Bitmaps

void DrawTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& dest, const TRect& source,
                           TColor transparentColor) {
  int w = Width(dest), h = Height(dest);
  if (!bitmap || bitmap->GetEmpty() || w <= 0 || h <= 0) return;
  auto [image, mask] = ImageAndMask(bitmap, source, w, h, transparentColor);
  HDC imageDC = image->GetCanvas()->GetHandle();
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
  auto [image, mask] = ImageAndMask(bitmap, source, w, h, transparentColor);
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

// Rows of 24- or 32-bit DIB pixels in memory (blue, green, red, and for 32
// bits a fourth byte left 0, as GDI leaves it in a DIB without alpha).
struct TPixelRows {
  uint8_t* Bits = nullptr;
  ptrdiff_t Stride = 0;  // from one row to the next below it; negative bottom-up
  int Width = 0, Height = 0, Bytes = 4;
  TPixelRow<uint8_t> Row(int y) const {
    return TPixelRow<uint8_t>(Bits + y * Stride, Width * Bytes);
  }
};

void StorePixel(uint8_t* p, COLORREF c, int bytes) {
  p[0] = GetBValue(c);
  p[1] = GetGValue(c);
  p[2] = GetRValue(c);
  if (bytes == 4) p[3] = 0;
}

// count copies of the pixel at p's start. A 32-bit pixel is one string
// store (the processor's fast-string fill writes whole cache lines, as fast
// as memset; the doubling copies below cost twice that on a row of 32-bit
// pixels). Three bytes: the first few one by one, the rest by copies that
// double what is done.
void FillPixels(uint8_t* p, int count, const uint8_t* pixel, int bytes) {
  if (count <= 0) return;
  if (bytes == 4) {
    unsigned long v;
    static_assert(sizeof v == 4);
    std::memcpy(&v, pixel, 4);
    __stosd(reinterpret_cast<unsigned long*>(p), v, static_cast<size_t>(count));
    return;
  }
  int first = std::min(count, 16);
  for (int i = 0; i < first; ++i) std::memcpy(p + 3 * i, pixel, 3);
  size_t total = static_cast<size_t>(count) * static_cast<size_t>(bytes);
  size_t done = static_cast<size_t>(first) * static_cast<size_t>(bytes);
  while (done < total) {
    size_t n = std::min(done, total - done);
    std::memcpy(p + done, p, n);
    done += n;
  }
}

// A run of a picture's row: copied from a table of pixels, or one pixel
// repeated.
struct TSpan {
  int Count = 0;
  const uint8_t* From = nullptr;  // nullptr: Pixel repeated
  const uint8_t* Pixel = nullptr;
};

// The picture PaintGradient draws, w x h, built row by row on demand: every
// row is at most three spans over tables made once, so a row costs what
// copying it costs.
class TGradientPicture {
 public:
  enum TShape {
    shRows,       // each row one colour: the run down the rows
    shColumns,    // every row the same: the run across the columns
    shDiagonal,   // the run along x + y (x mirrored)
    shRings       // nested rectangles in the top-left quarter, mirrored
  };

  TGradientPicture(int w, int h, int bytes) : w_(w), h_(h), bytes_(bytes) {}

  // Rows graded top to bottom (or columns left to right) over length
  // pixels; when length is below the extent the run is mirrored from the
  // far edge, the rows between meeting in the run's last colour.
  void Graded(bool rows, int length, TColor first, TColor second, int colorCount) {
    shape_ = rows ? shRows : shColumns;
    length_ = length;
    Table(run_, GradientRun(first, second, length, colorCount), false);
    if (rows) return;
    row_.resize(Offset(w_));
    for (int x = 0; x < w_; ++x) std::memcpy(&row_[Offset(x)], Entry(run_, Fold(x, w_)), Offset(1));
  }

  // The run along x + y from the top left (mirrored: from the top right).
  void Diagonal(bool mirrored, TColor first, TColor second, int colorCount) {
    shape_ = shDiagonal;
    mirrored_ = mirrored;
    Table(run_, GradientRun(first, second, w_ + h_ - 1, colorCount), mirrored);
  }

  // Nested rectangles over the top-left quarter qw x qh (ring = the nearer
  // of the top and left edges, advanced by the insets), mirrored into the
  // rest of the picture; a quarter as large as the picture is not mirrored.
  void Rings(int qw, int qh, int insetX, int insetY, TColor first, TColor second, int colorCount) {
    shape_ = shRings;
    qw_ = qw, qh_ = qh, insetX_ = insetX, insetY_ = insetY;
    length_ = std::max(1, std::min(qw + insetX, qh + insetY));
    std::vector<COLORREF> run = GradientRun(first, second, length_, colorCount);
    Table(run_, run, false);
    Table(reversed_, run, true);
  }

  int Width() const { return w_; }
  int Height() const { return h_; }

  // The row above y that row y repeats pixel for pixel, or -1: the rings'
  // lower half mirrors the upper one, and in the upper half the rows past
  // the last ring (a wide horizontal box's middle) are all that ring's row.
  int Repeats(int y) const {
    if (shape_ != shRings) return -1;
    if (y >= qh_) return h_ - 1 - y;
    return y > 0 && y - 1 + insetY_ >= length_ - 1 ? y - 1 : -1;
  }

  // Row y's spans from the left edge; their counts add up to the width.
  int Row(int y, TSpan spans[3]) const {
    switch (shape_) {
      case shRows:
        spans[0] = TSpan{w_, nullptr, Entry(run_, Fold(y, h_))};
        return 1;
      case shColumns:
        spans[0] = Copy(row_, 0, w_);
        return 1;
      case shDiagonal:
        // Mirrored, the table runs backwards: row y starts h - 1 - y in.
        spans[0] = Copy(run_, mirrored_ ? h_ - 1 - y : y, w_);
        return 1;
      case shRings: {
        // The quarter's row: the run from the left inset up to the row's
        // ring t, then t's colour; the right part mirrors it, so the same
        // colour goes on and the run comes back, read from the reversed table.
        int qy = y < qh_ ? y : h_ - 1 - y;
        int t = std::min(qy + insetY_, length_ - 1);
        int rw = w_ - qw_;
        int graded = std::clamp(t - insetX_, 0, qw_), back = std::min(graded, rw);
        spans[0] = Copy(run_, insetX_, graded);
        spans[1] = TSpan{qw_ - graded + rw - back, nullptr, Entry(run_, t)};
        spans[2] = Copy(reversed_, length_ - insetX_ - back, back);
        return 3;
      }
    }
    return 0;
  }

 private:
  size_t Offset(int index) const { return static_cast<size_t>(index) * static_cast<size_t>(bytes_); }
  void Table(std::vector<uint8_t>& table, const std::vector<COLORREF>& run, bool reversed) {
    table.resize(Offset(static_cast<int>(run.size())));
    for (size_t i = 0; i < run.size(); ++i)
      StorePixel(&table[Offset(static_cast<int>(i))], run[reversed ? run.size() - 1 - i : i], bytes_);
  }
  const uint8_t* Entry(const std::vector<uint8_t>& table, int index) const {
    TPixelRow<const uint8_t> view(table.data(), static_cast<int>(table.size()));
    return &view[static_cast<int>(Offset(index))];
  }
  // count pixels of the table from index (bounds checked in a checked build).
  TSpan Copy(const std::vector<uint8_t>& table, int index, int count) const {
    if (count <= 0) return TSpan{};
    TPixelRow<const uint8_t> view(table.data(), static_cast<int>(table.size()));
    (void)view[static_cast<int>(Offset(index + count)) - 1];
    return TSpan{count, &view[static_cast<int>(Offset(index))], nullptr};
  }
  // The run's index at position i of an extent: mirrored from the far edge
  // when the run is shorter than the extent.
  int Fold(int i, int extent) const {
    return length_ < extent ? std::min({i, extent - 1 - i, length_ - 1}) : i;
  }

  int w_, h_, bytes_;
  TShape shape_ = shRows;
  bool mirrored_ = false;
  int length_ = 1, qw_ = 0, qh_ = 0, insetX_ = 0, insetY_ = 0;
  std::vector<uint8_t> run_, reversed_, row_;
};

// Columns [x0, x1) of a row made of spans, written to out.
void PutSpans(uint8_t* out, const TSpan* spans, int count, int x0, int x1, int bytes) {
  int x = 0;
  for (int i = 0; i < count && x < x1; ++i) {
    const TSpan& s = spans[i];
    int a = std::max(x, x0), b = std::min(x + s.Count, x1);
    if (a < b) {
      if (s.From) std::memcpy(out, s.From + (a - x) * bytes, static_cast<size_t>(b - a) * static_cast<size_t>(bytes));
      else FillPixels(out, b - a, s.Pixel, bytes);
      out += (b - a) * bytes;
    }
    x += s.Count;
  }
}

// The picture with its top left at (left, top) of rows, inside clip (in the
// rows' pixels).
void PutPicture(const TGradientPicture& picture, const TPixelRows& rows, int left, int top, TRect clip) {
  clip.left = std::max<LONG>({clip.left, left, 0});
  clip.top = std::max<LONG>({clip.top, top, 0});
  clip.right = std::min<LONG>({clip.right, left + picture.Width(), rows.Width});
  clip.bottom = std::min<LONG>({clip.bottom, top + picture.Height(), rows.Height});
  if (clip.left >= clip.right) return;
  TSpan spans[3];
  const int from = static_cast<int>(clip.left) * rows.Bytes, to = static_cast<int>(clip.right) * rows.Bytes;
  for (int y = clip.top; y < clip.bottom; ++y) {
    TPixelRow<uint8_t> row = rows.Row(y);
    uint8_t* out = &row[from];
    (void)row[to - 1];
    // A row that repeats one written already is copied from it: one copy
    // instead of a row made of spans.
    int same = picture.Repeats(y - top);
    if (same >= 0 && same + top >= clip.top) {
      std::memcpy(out, &rows.Row(same + top)[from], static_cast<size_t>(to - from));
      continue;
    }
    int n = picture.Row(y - top, spans);
    PutSpans(out, spans, n, static_cast<int>(clip.left) - left, static_cast<int>(clip.right) - left, rows.Bytes);
  }
}

// A 32-bit top-down picture in memory, handed to a DC at once.
class TPixelBlock {
 public:
  TPixelBlock(int w, int h) : w_(w), h_(h), bits_(static_cast<size_t>(w) * static_cast<size_t>(h) * 4) {}
  TPixelRows Rows() { return TPixelRows{bits_.data(), ptrdiff_t{w_} * 4, w_, h_, 4}; }
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
  std::vector<uint8_t> bits_;
};

void PutThroughBlock(HDC dc, const TRect& rect, const TGradientPicture& picture) {
  TPixelBlock block(picture.Width(), picture.Height());
  PutPicture(picture, block.Rows(), 0, 0, TRect{0, 0, picture.Width(), picture.Height()});
  block.Put(dc, rect.left, rect.top);
}

// Whether the DIB's first row in memory is its top row. GetObject does not
// tell (Wine reports a positive height for a top-down section too), so a
// pixel of a row the gradient will write is marked at both places it could
// be in memory and GDI is asked which one it shows; both are put back.
// False when GDI shows neither (then the rows are not written directly).
bool ProbeTopDown(HDC dc, const TPixelRows& rows, POINT origin, const std::vector<TRect>& parts, bool& topDown) {
  topDown = true;
  for (const TRect& r : parts) {
    for (int y = r.top; y < r.bottom && y < r.top + 2; ++y) {
      // The middle row of an odd height is at the same place either way.
      if (2 * y == rows.Height - 1) continue;
      size_t at = static_cast<size_t>(r.left) * static_cast<size_t>(rows.Bytes);
      uint8_t* top = rows.Bits + static_cast<ptrdiff_t>(y) * rows.Stride + at;
      uint8_t* bottom = rows.Bits + static_cast<ptrdiff_t>(rows.Height - 1 - y) * rows.Stride + at;
      uint8_t savedTop[4], savedBottom[4];
      std::memcpy(savedTop, top, static_cast<size_t>(rows.Bytes));
      std::memcpy(savedBottom, bottom, static_cast<size_t>(rows.Bytes));
      StorePixel(top, RGB(0, 0, 0), rows.Bytes);
      StorePixel(bottom, RGB(255, 255, 255), rows.Bytes);
      COLORREF shown = GetPixel(dc, r.left - origin.x, y - origin.y);
      std::memcpy(top, savedTop, static_cast<size_t>(rows.Bytes));
      std::memcpy(bottom, savedBottom, static_cast<size_t>(rows.Bytes));
      topDown = shown == RGB(0, 0, 0);
      return topDown || shown == RGB(255, 255, 255);
    }
  }
  // Only a middle row (or nothing) is to be written.
  return true;
}

// Where dc lets the gradient write its pixels straight into memory: a
// memory DC holding a 24- or 32-bit DIB section, drawn on in plain pixels
// (no scaling, rotation or right-to-left mirroring) with a plain copy. Gives
// the rows (top row first), the rectangle in device pixels, and the parts of
// it that drawing reaches (inside the bitmap, the clip and meta regions).
bool DirectTarget(HDC dc, TCopyMode mode, const TRect& rect, TPixelRows& rows, TRect& dest,
                  std::vector<TRect>& parts) {
  if (mode != cmSrcCopy || GetObjectType(dc) != OBJ_MEMDC || GetMapMode(dc) != MM_TEXT) return false;
  DWORD layout = GetLayout(dc);
  if (layout == GDI_ERROR || (layout & LAYOUT_RTL)) return false;
  if (GetGraphicsMode(dc) != GM_COMPATIBLE) {
    XFORM x{};
    if (!GetWorldTransform(dc, &x) || x.eM11 != 1 || x.eM12 != 0 || x.eM21 != 0 || x.eM22 != 1 || x.eDx != 0 ||
        x.eDy != 0)
      return false;
  }
  DIBSECTION ds{};
  if (GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof(ds), &ds) != sizeof(ds) || !ds.dsBm.bmBits) return false;
  int bits = ds.dsBmih.biBitCount;
  if (ds.dsBmih.biCompression != BI_RGB || (bits != 24 && bits != 32)) return false;
  rows.Width = ds.dsBm.bmWidth;
  rows.Height = std::abs(ds.dsBm.bmHeight);
  rows.Bytes = bits / 8;
  rows.Stride = ds.dsBm.bmWidthBytes;
  rows.Bits = static_cast<uint8_t*>(ds.dsBm.bmBits);
  POINT origin{0, 0};
  LPtoDP(dc, &origin, 1);
  dest = TRect{rect.left + origin.x, rect.top + origin.y, rect.right + origin.x, rect.bottom + origin.y};
  TRect reach{std::max<LONG>(dest.left, 0), std::max<LONG>(dest.top, 0), std::min<LONG>(dest.right, rows.Width),
              std::min<LONG>(dest.bottom, rows.Height)};
  std::vector<TRect> clip;
  TOwnedGdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  // 3: the clip and meta regions together, in device pixels; 0 when the DC
  // has neither.
  int has = GetRandomRgn(dc, region.get(), 3);
  if (has < 0) return false;
  if (has == 0) {
    clip.push_back(reach);
  } else {
    DWORD size = GetRegionData(region.get(), 0, nullptr);
    if (size == 0) return false;
    std::vector<uint8_t> data(size);
    auto* rgn = reinterpret_cast<RGNDATA*>(data.data());
    if (GetRegionData(region.get(), size, rgn) == 0) return false;
    const auto* r = reinterpret_cast<const RECT*>(rgn->Buffer);
    clip.assign(r, r + rgn->rdh.nCount);
  }
  parts.clear();
  for (const TRect& c : clip) {
    TRect part{std::max(c.left, reach.left), std::max(c.top, reach.top), std::min(c.right, reach.right),
               std::min(c.bottom, reach.bottom)};
    if (part.left < part.right && part.top < part.bottom) parts.push_back(part);
  }
  // GDI may still be drawing into the section.
  GdiFlush();
  bool topDown = true;
  if (!ProbeTopDown(dc, rows, origin, parts, topDown)) return false;
  if (!topDown) {
    rows.Bits += static_cast<ptrdiff_t>(rows.Height - 1) * rows.Stride;
    rows.Stride = -rows.Stride;
  }
  return true;
}

}  // namespace

void FillGrad(HDC dc, const TRect& rect, TColor first, TColor second, int colorCount, TOrientation orientation) {
  bool rows = orientation == orHorizontal;
  int length = rows ? Height(rect) : Width(rect);
  std::vector<COLORREF> run = GradientRun(first, second, length, colorCount);
  for (int i = 0; i < length;) {
    int j = i;
    while (j < length && run[static_cast<size_t>(j)] == run[static_cast<size_t>(i)]) ++j;
    TOwnedGdiObject<HBRUSH> brush(CreateSolidBrush(run[static_cast<size_t>(i)]));
    TRect band = rows ? TRect{rect.left, rect.top + i, rect.right, rect.top + j}
                      : TRect{rect.left + i, rect.top, rect.left + j, rect.bottom};
    FillRect(dc, &band, brush.get());
    i = j;
  }
}

void FillGradRect(HDC dc, const TRect& rect, TColor first, TColor second, int colorCount, int insetX, int insetY) {
  int w = Width(rect), h = Height(rect);
  if (w <= 0 || h <= 0) return;
  TGradientPicture picture(w, h, 4);
  picture.Rings(w, h, insetX, insetY, first, second, colorCount);
  PutThroughBlock(dc, rect, picture);
}

void FillGradDiag(HDC dc, const TRect& rect, TColor first, TColor second, int colorCount, bool mirrored) {
  int w = Width(rect), h = Height(rect);
  if (w <= 0 || h <= 0) return;
  if (ColorToRGB(first) == ColorToRGB(second)) {
    TOwnedGdiObject<HBRUSH> brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(first))));
    FillRect(dc, &rect, brush.get());
    return;
  }
  TGradientPicture picture(w, h, 4);
  picture.Diagonal(mirrored, first, second, colorCount);
  PutThroughBlock(dc, rect, picture);
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
  TColor a = ColorToRGB(first), b = ColorToRGB(second);
  canvas->Changing();
  HDC dc = CanvasDC(canvas, csAllValid);
  // The DC is left as drawing a bitmap on the canvas leaves it.
  SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(canvas->GetBrush()->GetColor())));
  SetStretchBltMode(dc, STRETCH_DELETESCANS);
  TPixelRows rows;
  TRect dest{};
  std::vector<TRect> parts;
  bool direct = DirectTarget(dc, canvas->GetCopyMode(), rect, rows, dest, parts);
  TGradientPicture picture(w, h, direct ? rows.Bytes : 4);
  switch (direction) {
    case gdDiagonalUp:
    case gdDiagonalDown: picture.Diagonal(direction == gdDiagonalDown, a, b, colorCount); break;
    case gdHorizontalEnd:
    case gdHorizontalCenter:
      // A centred gradient runs over half the height and is mirrored below;
      // a run shorter than a pixel counts as one.
      picture.Graded(true, direction == gdHorizontalEnd ? h : std::max(1, h / 2), a, b, colorCount);
      break;
    case gdVerticalEnd:
    case gdVerticalCenter:
      picture.Graded(false, direction == gdVerticalEnd ? w : std::max(1, w / 2), a, b, colorCount);
      break;
    case gdHorizontalBox:
    case gdVerticalBox:
    case gdSquareBox:
    case gdBigSquareBox: {
      int ix = 0, iy = 0;
      if (direction == gdHorizontalBox) iy = w / 4;
      else if (direction == gdVerticalBox) ix = h / 4;
      else if (direction == gdBigSquareBox) ix = w / 4, iy = h / 4;
      picture.Rings((w + 1) / 2, (h + 1) / 2, ix, iy, a, b, colorCount);
      break;
    }
  }
  if (direct) {
    // Straight into the bitmap's memory.
    for (const TRect& part : parts) PutPicture(picture, rows, dest.left, dest.top, part);
  } else {
    // Elsewhere the picture is made in memory and blitted, so that the
    // target's depth, mapping, layout and copy mode apply as to any bitmap.
    Owned<TBitmap> image = Scratch(w, h, pf32bit);
    PutThroughBlock(CanvasDC(image->GetCanvas()), TRect{0, 0, w, h}, picture);
    image->Draw(canvas, Bounds(rect.left, rect.top, w, h));
  }
  canvas->Changed();
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
  {
    TSavedDC saved(dc);
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
      if (!control->IsDesigning()) throw;
    }
  }
  if (invalidateParent && !dynamic_cast<TCustomControl*>(parent) && !dynamic_cast<TCustomForm*>(parent) &&
      !control->IsDesigning())
    parent->Invalidate();
}

void DrawParentImage(TControl* control, TCanvas* canvas, bool invalidateParent) {
  DrawParentImage(control, canvas->GetHandle(), invalidateParent);
}
