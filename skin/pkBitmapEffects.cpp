// The pixel effects of TpkBitmap. Each rewrites the bitmap's own 24-bit
// pixels, never touches the row-gap bytes, and does nothing on an empty
// bitmap. Amounts may be any Integer (the imager passes what it is given), so
// every product and sum is computed in 64 bits and clamped.
//
// The neighbourhood effects (Blur, Sharpen, Sponge, Emboss) work in place,
// row by row from the top and left to right, reading neighbours from the
// same memory: a neighbour above or to the left has already been rewritten
// when it is read. Their results depend on that order.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "classlib/Classes.h"
#include "skin/pkBitmap.h"

using pk_detail::TScopeExit;

namespace {

// Ratio * sin(...) may be any real: NaN counts as 0 and the rest is kept
// within a range whose rounding fits 64 bits (far beyond any image).
int64_t RoundShift(double v) {
  if (std::isnan(v)) return 0;
  constexpr double kLimit = 1e18;
  if (v > kLimit) v = kLimit;
  if (v < -kLimit) v = -kLimit;
  return Round(v);
}

// Random(n) for ranges beyond an Integer.
int64_t RandomWide(int64_t n) {
  if (n <= 0) return 0;
  if (n <= INT32_MAX) return Random(static_cast<int>(n));
  int64_t r = static_cast<int64_t>(Random() * static_cast<double>(n));
  return r >= n ? n - 1 : r;
}

inline int64_t Abs64(int64_t v) { return v < 0 ? -v : v; }

// The pixels of a same-sized temporary, row by row: the gap bytes stay.
void CopyPixelsFrom(TpkBitmap& dest, TpkBitmap& source) {
  const size_t bytes = static_cast<size_t>(3 * dest.GetWidth());
  for (int y = 0; y < dest.GetHeight(); ++y) std::memcpy(&dest.GetRowBytes(y)[0], &source.GetRowBytes(y)[0], bytes);
}

}  // namespace

// ---------------------------------------------------------------------------
// Channel tables

namespace {

// Every channel byte v of every pixel becomes t[v].
void ApplyTable(TpkBitmap& b, const uint8_t (&t)[256]) {
  const int n = 3 * b.GetWidth();
  for (int y = 0; y < b.GetHeight(); ++y) {
    TPixelRow<uint8_t> row = b.GetRowBytes(y);
    for (int i = 0; i < n; ++i) row[i] = t[row[i]];
  }
}

void ApplyTables(TpkBitmap& b, const uint8_t (&tr)[256], const uint8_t (&tg)[256], const uint8_t (&tb)[256]) {
  const int w = b.GetWidth();
  for (int y = 0; y < b.GetHeight(); ++y) {
    TPixelRow<RGBTRIPLE> row = b.GetRow(y);
    for (int x = 0; x < w; ++x) {
      RGBTRIPLE& p = row[x];
      p.rgbtBlue = tb[p.rgbtBlue];
      p.rgbtGreen = tg[p.rgbtGreen];
      p.rgbtRed = tr[p.rgbtRed];
    }
  }
}

// D[j] = j div 3, so that D[R] + D[G] + D[B] never exceeds 255.
struct TThirds {
  uint8_t d[258];
  TThirds() {
    for (int j = 0; j < 258; ++j) d[j] = static_cast<uint8_t>(j / 3);
  }
};
const TThirds& Thirds() {
  static const TThirds t;
  return t;
}

}  // namespace

void TpkBitmap::Lightness(int amount) {
  if (GetEmpty()) return;
  GdiFlush();
  const int64_t a = amount;
  uint8_t t[256];
  for (int64_t i = 0; i < 256; ++i)
    t[i] = a > 0 ? ClampByte(i + ((a * (255 - i)) >> 8)) : ClampByte(i - ((i * Abs64(a)) >> 8));
  ApplyTable(*this, t);
}

void TpkBitmap::Contrast(int amount) {
  if (GetEmpty()) return;
  GdiFlush();
  const int64_t a = amount;
  uint8_t t[256];
  for (int64_t i = 0; i < 256; ++i) {
    // Divided by 256 rounding toward zero, as C++ division does.
    int64_t d = Abs64(128 - i) * a / 256;
    t[i] = i <= 126 ? ClampByte(i - d) : ClampByte(i + d);
  }
  ApplyTable(*this, t);
}

void TpkBitmap::Tint(int r, int g, int b) {
  if (GetEmpty()) return;
  GdiFlush();
  uint8_t tr[256], tg[256], tb[256];
  for (int64_t i = 0; i < 256; ++i) {
    tb[i] = ClampByte(i + b);
    tg[i] = ClampByte(i + g);
    tr[i] = ClampByte(i + r);
  }
  ApplyTables(*this, tr, tg, tb);
}

void TpkBitmap::Invert() {
  if (GetEmpty()) return;
  GdiFlush();
  uint8_t t[256];
  for (int i = 0; i < 256; ++i) t[i] = static_cast<uint8_t>(255 - i);
  ApplyTable(*this, t);
}

void TpkBitmap::GrayScale() {
  if (GetEmpty()) return;
  GdiFlush();
  const uint8_t* d = Thirds().d;
  for (int y = 0; y < height_; ++y) {
    TPixelRow<RGBTRIPLE> row = GetRow(y);
    for (int x = 0; x < width_; ++x) {
      RGBTRIPLE& p = row[x];
      uint8_t gray = static_cast<uint8_t>(d[p.rgbtRed] + d[p.rgbtGreen] + d[p.rgbtBlue]);
      p.rgbtBlue = p.rgbtGreen = p.rgbtRed = gray;
    }
  }
}

void TpkBitmap::Saturation(int amount) {
  if (GetEmpty()) return;
  GdiFlush();
  // Wide weights and clamped channels: no amount wraps a table entry, and
  // amounts below 0 act as 0 (gray).
  const int64_t a = amount < 0 ? 0 : amount;
  int64_t w[256];
  for (int64_t i = 0; i < 256; ++i) w[i] = (i * a) >> 8;
  const uint8_t* d = Thirds().d;
  for (int y = 0; y < height_; ++y) {
    TPixelRow<RGBTRIPLE> row = GetRow(y);
    for (int x = 0; x < width_; ++x) {
      RGBTRIPLE& p = row[x];
      int64_t gray = d[p.rgbtRed] + d[p.rgbtGreen] + d[p.rgbtBlue];
      p.rgbtBlue = ClampByte(gray + w[p.rgbtBlue] - w[gray]);
      p.rgbtGreen = ClampByte(gray + w[p.rgbtGreen] - w[gray]);
      p.rgbtRed = ClampByte(gray + w[p.rgbtRed] - w[gray]);
    }
  }
}

void TpkBitmap::Colorize(int r, int g, int b) {
  if (GetEmpty()) return;
  GdiFlush();
  uint8_t tr[256], tg[256], tb[256];
  for (int64_t i = 0; i < 256; ++i) {
    tb[i] = ClampByte(i + b - 192);
    tg[i] = ClampByte(i + g - 192);
    tr[i] = ClampByte(i + r - 192);
  }
  if (transparentColor_ == clNone) {
    ApplyTables(*this, tr, tg, tb);
    return;
  }
  // The transparent colour keeps its pixels.
  const int key = ColorToPixel(transparentColor_);
  for (int y = 0; y < height_; ++y) {
    TPixelRow<RGBTRIPLE> row = GetRow(y);
    for (int x = 0; x < width_; ++x) {
      RGBTRIPLE& p = row[x];
      if (PixelOf(p) == key) continue;
      p.rgbtBlue = tb[p.rgbtBlue];
      p.rgbtGreen = tg[p.rgbtGreen];
      p.rgbtRed = tr[p.rgbtRed];
    }
  }
}

void TpkBitmap::Mask(int key) {
  if (GetEmpty()) return;
  GdiFlush();
  const RGBTRIPLE black{0, 0, 0}, white{255, 255, 255};
  for (int y = 0; y < height_; ++y) {
    TPixelRow<RGBTRIPLE> row = GetRow(y);
    for (int x = 0; x < width_; ++x) row[x] = PixelOf(row[x]) == key ? black : white;
  }
}

void TpkBitmap::ReplaceColor(int oldColor, int newColor) {
  if (GetEmpty()) return;
  GdiFlush();
  const RGBTRIPLE to = TripleOf(newColor);
  for (int y = 0; y < height_; ++y) {
    TPixelRow<RGBTRIPLE> row = GetRow(y);
    for (int x = 0; x < width_; ++x)
      if (PixelOf(row[x]) == oldColor) row[x] = to;
  }
}

// ---------------------------------------------------------------------------
// Geometry in place

void TpkBitmap::Flip(bool horizontal) {
  if (GetEmpty()) return;
  GdiFlush();
  if (horizontal) {
    for (int y = 0; y < height_; ++y) {
      TPixelRow<RGBTRIPLE> row = GetRow(y);
      for (int c = 0; c <= (width_ - 1) / 2; ++c) std::swap(row[c], row[width_ - 1 - c]);
    }
    return;
  }
  std::vector<RGBTRIPLE> buffer(static_cast<size_t>(width_));
  const size_t bytes = buffer.size() * sizeof(RGBTRIPLE);
  for (int r = 0; r <= (height_ - 1) / 2; ++r) {
    int other = height_ - 1 - r;
    if (other == r) continue;
    RGBTRIPLE* a = &GetRow(r)[0];
    RGBTRIPLE* b = &GetRow(other)[0];
    std::memcpy(buffer.data(), a, bytes);
    std::memcpy(a, b, bytes);
    std::memcpy(b, buffer.data(), bytes);
  }
}

// ---------------------------------------------------------------------------
// Neighbourhood effects

namespace {

// The neighbours of a pass sit at +-a rows and columns; the sign of a does
// not matter, and a distance of the image's size or more clamps like that
// size does. This keeps the per-pixel clamping to plain int min/max.
int Reach(int64_t a, int size) { return static_cast<int>(std::min<int64_t>(a < 0 ? -a : a, size)); }

// One Blur pass at distance a; with Track, whether it changed a pixel.
template <bool Track>
bool BlurPass(TpkBitmap& bmp, int64_t a) {
  const int w = bmp.GetWidth(), h = bmp.GetHeight();
  const int dx = Reach(a, w), dy = Reach(a, h);
  bool changed = false;
  for (int y = 0; y < h; ++y) {
    TPixelRow<RGBTRIPLE> below = bmp.GetRow(std::min(y + dy, h - 1));
    TPixelRow<RGBTRIPLE> above = bmp.GetRow(std::max(y - dy, 0));
    TPixelRow<RGBTRIPLE> out = bmp.GetRow(y);
    for (int x = 0; x < w; ++x) {
      const int right = std::min(x + dx, w - 1), left = std::max(x - dx, 0);
      const RGBTRIPLE &p1 = below[right], &p2 = above[right], &p3 = below[left], &p4 = above[left];
      const BYTE b = static_cast<BYTE>((p1.rgbtBlue + p2.rgbtBlue + p3.rgbtBlue + p4.rgbtBlue) >> 2);
      const BYTE g = static_cast<BYTE>((p1.rgbtGreen + p2.rgbtGreen + p3.rgbtGreen + p4.rgbtGreen) >> 2);
      const BYTE r = static_cast<BYTE>((p1.rgbtRed + p2.rgbtRed + p3.rgbtRed + p4.rgbtRed) >> 2);
      RGBTRIPLE& o = out[x];
      if constexpr (Track) changed = changed || o.rgbtBlue != b || o.rgbtGreen != g || o.rgbtRed != r;
      o.rgbtBlue = b;
      o.rgbtGreen = g;
      o.rgbtRed = r;
    }
  }
  return changed;
}

}  // namespace

void TpkBitmap::Blur(int amount) {
  if (GetEmpty()) return;
  GdiFlush();
  BlurPass<false>(*this, amount);
}

void TpkBitmap::GaussianBlur(int amount) {
  if (GetEmpty() || amount <= 0) return;
  GdiFlush();
  int64_t a = amount;
  // From this distance on every neighbour clamps to a corner, so every such
  // pass is the same function of the image: once one changes nothing, the
  // rest of them would not either. That keeps Integer-sized amounts finite.
  const int64_t corner = std::max<int64_t>(std::max(width_, height_) - 1, 1);
  if (a >= corner) {
    for (int64_t passes = a - corner + 1; passes > 0; --passes)
      if (!BlurPass<true>(*this, corner)) break;
    a = corner - 1;
  }
  for (; a >= 1; --a) BlurPass<false>(*this, a);
}

void TpkBitmap::Sharpen(int amount) {
  if (GetEmpty()) return;
  GdiFlush();
  const int w = width_, h = height_;
  const int dx = Reach(amount, w), dy = Reach(amount, h);
  // (256 C - 16 S) / 128 rounding toward zero, S the sum of the eight
  // samples around the centre C.
  auto sharpen = [](int c, int sum) { return ClampByte((256 * c - 16 * sum) / 128); };
  // Per channel, the sums of the row above and the row below at each column.
  std::vector<uint16_t> both(static_cast<size_t>(3 * w));
  for (int y = 0; y < h; ++y) {
    const int upRow = std::max(y - dy, 0), downRow = std::min(y + dy, h - 1);
    TPixelRow<RGBTRIPLE> up = GetRow(upRow);
    TPixelRow<RGBTRIPLE> mid = GetRow(y);
    TPixelRow<RGBTRIPLE> down = GetRow(downRow);
    if (upRow == y || downRow == y) {
      // An edge row reads itself above or below, as it is being rewritten.
      for (int x = 0; x < w; ++x) {
        const int l = std::max(x - dx, 0), r = std::min(x + dx, w - 1);
        const RGBTRIPLE &a1 = up[l], &a2 = up[x], &a3 = up[r], &b1 = mid[l], &b3 = mid[r], &c1 = down[l],
                        &c2 = down[x], &c3 = down[r];
        RGBTRIPLE& c = mid[x];
        const int sb = a1.rgbtBlue + a2.rgbtBlue + a3.rgbtBlue + b1.rgbtBlue + b3.rgbtBlue + c1.rgbtBlue +
                       c2.rgbtBlue + c3.rgbtBlue;
        const int sg = a1.rgbtGreen + a2.rgbtGreen + a3.rgbtGreen + b1.rgbtGreen + b3.rgbtGreen + c1.rgbtGreen +
                       c2.rgbtGreen + c3.rgbtGreen;
        const int sr = a1.rgbtRed + a2.rgbtRed + a3.rgbtRed + b1.rgbtRed + b3.rgbtRed + c1.rgbtRed + c2.rgbtRed +
                       c3.rgbtRed;
        const uint8_t nb = sharpen(c.rgbtBlue, sb), ng = sharpen(c.rgbtGreen, sg), nr = sharpen(c.rgbtRed, sr);
        c.rgbtBlue = nb;
        c.rgbtGreen = ng;
        c.rgbtRed = nr;
      }
      continue;
    }
    // Other rows: the rows above and below stay as they are while this one
    // is rewritten, so their column sums can be taken first.
    TPixelRow<uint16_t> ud(both.data(), 3 * w);
    for (int x = 0; x < w; ++x) {
      ud[3 * x] = static_cast<uint16_t>(up[x].rgbtBlue + down[x].rgbtBlue);
      ud[3 * x + 1] = static_cast<uint16_t>(up[x].rgbtGreen + down[x].rgbtGreen);
      ud[3 * x + 2] = static_cast<uint16_t>(up[x].rgbtRed + down[x].rgbtRed);
    }
    for (int x = 0; x < w; ++x) {
      const int l = std::max(x - dx, 0), r = std::min(x + dx, w - 1);
      const RGBTRIPLE &b1 = mid[l], &b3 = mid[r];
      RGBTRIPLE& c = mid[x];
      const int sb = ud[3 * l] + ud[3 * x] + ud[3 * r] + b1.rgbtBlue + b3.rgbtBlue;
      const int sg = ud[3 * l + 1] + ud[3 * x + 1] + ud[3 * r + 1] + b1.rgbtGreen + b3.rgbtGreen;
      const int sr = ud[3 * l + 2] + ud[3 * x + 2] + ud[3 * r + 2] + b1.rgbtRed + b3.rgbtRed;
      const uint8_t nb = sharpen(c.rgbtBlue, sb), ng = sharpen(c.rgbtGreen, sg), nr = sharpen(c.rgbtRed, sr);
      c.rgbtBlue = nb;
      c.rgbtGreen = ng;
      c.rgbtRed = nr;
    }
  }
}

void TpkBitmap::Sponge(int amount) {
  // A range of 0 or less draws nothing to displace by.
  if (GetEmpty() || amount <= 0) return;
  GdiFlush();
  for (int y = 0; y < height_; ++y) {
    TPixelRow<RGBTRIPLE> out = GetRow(y);
    for (int x = 0; x < width_; ++x) {
      int64_t k = Random(amount);
      int64_t col = ClampInt(x + k - RandomWide(2 * k), 0, width_ - 1);
      int64_t row = ClampInt(y + k - RandomWide(2 * k), 0, height_ - 1);
      out[x] = GetRow(static_cast<int>(row))[static_cast<int>(col)];
    }
  }
}

void TpkBitmap::Emboss() {
  // The reference pixel (1, 1) exists only from 2 x 2 on.
  if (GetEmpty() || width_ < 2 || height_ < 2) return;
  GdiFlush();
  // The last row is embossed against its own unmodified pixel at column 1.
  std::vector<RGBTRIPLE> last(static_cast<size_t>(width_));
  {
    TPixelRow<RGBTRIPLE> src = GetRow(height_ - 1);
    for (int x = 0; x < width_; ++x) last[static_cast<size_t>(x)] = src[x];
  }
  TPixelRow<RGBTRIPLE> saved(last.data(), width_);
  int refRow = 1, refCol = 1;
  bool fromSaved = false;
  for (int i = 0; i < height_; ++i) {
    TPixelRow<RGBTRIPLE> out = GetRow(i);
    for (int j = 0; j < width_; ++j) {
      const RGBTRIPLE ref = fromSaved ? saved[refCol] : GetRow(refRow)[refCol];
      RGBTRIPLE& p = out[j];
      p.rgbtBlue = static_cast<BYTE>(((255 - ref.rgbtBlue) + p.rgbtBlue) >> 1);
      p.rgbtGreen = static_cast<BYTE>(((255 - ref.rgbtGreen) + p.rgbtGreen) >> 1);
      p.rgbtRed = static_cast<BYTE>(((255 - ref.rgbtRed) + p.rgbtRed) >> 1);
      // The last two columns of a row share one reference.
      if (i < height_ - 2 && j < width_ - 2) ++refCol;
    }
    refCol = 1;
    if (i < height_ - 2) refRow = i + 2;
    else fromSaved = true;
  }
}

// ---------------------------------------------------------------------------
// Geometric effects through a temporary

void TpkBitmap::Rotate(TPoint center, double angle) {
  if (GetEmpty() || !std::isfinite(angle)) return;
  GdiFlush();
  const int64_t cx = center.x < 0 ? width_ / 2 : center.x;
  const int64_t cy = center.y < 0 ? height_ / 2 : center.y;
  Owned<TpkBitmap> tmp = MakeOwned<TpkBitmap>();
  tmp->Allocate(width_, height_, false);
  const TpkBitmap* self = this;
  const RGBTRIPLE fill = self->GetRow(0)[0];
  for (int y = 0; y < height_; ++y) {
    TPixelRow<RGBTRIPLE> row = tmp->GetRow(y);
    for (int x = 0; x < width_; ++x) row[x] = fill;
  }
  const double theta = -angle * std::numbers::pi / 180;
  const double s = std::sin(theta), c = std::cos(theta);
  for (int y = 0; y < height_; ++y) {
    TPixelRow<RGBTRIPLE> out = tmp->GetRow(y);
    const double n = static_cast<double>(2 * (y - cy) + 1);
    for (int x = 0; x < width_; ++x) {
      const double m = static_cast<double>(2 * (x - cx) + 1);
      // Centres of pixels, doubled so that they are odd integers; div
      // truncates toward zero.
      int64_t sx = cx + (Round(m * c - n * s) - 1) / 2;
      int64_t sy = cy + (Round(m * s + n * c) - 1) / 2;
      if (sx >= 0 && sx < width_ && sy >= 0 && sy < height_)
        out[x] = self->GetRow(static_cast<int>(sy))[static_cast<int>(sx)];
    }
  }
  CopyPixelsFrom(*this, *tmp);
}

void TpkBitmap::Wave(bool wrap, double xDiv, double yDiv, double ratio) {
  if (GetEmpty() || xDiv == 0 || yDiv == 0) return;
  GdiFlush();
  const int64_t w = width_, h = height_;
  std::vector<int64_t> shift(static_cast<size_t>(h));
  for (int64_t y = 0; y < h; ++y) shift[static_cast<size_t>(y)] = RoundShift(ratio * std::sin(y / yDiv));
  Owned<TpkBitmap> tmp = MakeOwned<TpkBitmap>();
  tmp->SetSize(width_, height_);
  const TpkBitmap* self = this;
  for (int64_t x = 0; x < w; ++x) {
    int64_t d = RoundShift(ratio * std::sin(x / xDiv));
    if (wrap) {
      if (h == 1) d = 0;  // a single row has nowhere to wrap to
      else if (d < 0) d = (h - 1) - ((-d) % h);
      else if (d >= h) d = d % (h - 1);
      int64_t src = d;
      for (int64_t y = 0; y < h; ++y) {
        int64_t c = x + shift[static_cast<size_t>(y)];
        if (c < 0) c = (w - 1) - ((-c) % w);
        else if (c >= w) c = c % w;
        tmp->GetRow(static_cast<int>(y))[static_cast<int>(x)] =
            self->GetRow(static_cast<int>(src))[static_cast<int>(c)];
        if (++src == h) src = 0;
      }
    } else {
      if (d >= h) continue;  // the whole column stays white
      for (int64_t y = 0; y < h; ++y) {
        int64_t sx = x + shift[static_cast<size_t>(y)], sy = y + d;
        if (sx >= 0 && sx < w && sy >= 0 && sy < h)
          tmp->GetRow(static_cast<int>(y))[static_cast<int>(x)] =
              self->GetRow(static_cast<int>(sy))[static_cast<int>(sx)];
      }
    }
  }
  CopyPixelsFrom(*this, *tmp);
}

// ---------------------------------------------------------------------------

void TpkBitmap::AlphaBlend(TpkBitmap* source, int amount, bool stretch) {
  if (!source || GetEmpty() || source->GetEmpty()) return;
  TpkBitmap* blend = source;
  Owned<TpkBitmap> tmp;
  if (source->GetWidth() != width_ || source->GetHeight() != height_) {
    if (!stretch)
      throw EInvalidOperation("In Alpha Blend, Blend Bitmap must be same dimensions as Current Bitmap");
    // The source stretches opaque; its flag is put back without telling its
    // listeners of a change that never was.
    const bool wasTransparent = source->GetTransparent();
    {
      const bool suppressed = source->GetSuppressChange();
      source->SetSuppressChange(true);
      TScopeExit restore([&] {
        source->SetTransparent(wasTransparent);
        source->SetSuppressChange(suppressed);
      });
      source->SetTransparent(false);
      tmp = MakeOwned<TpkBitmap>();
      tmp->SetTransparent(wasTransparent);
      tmp->SetSize(width_, height_);
      tmp->GetCanvas()->StretchDraw(Rect(0, 0, width_, height_), source);
    }
    blend = tmp.get();
  }
  GdiFlush();
  // T[k] = (Amount * k) shr 8, of which the low byte is used: p moves toward
  // q by Amount/256 of the difference, modulo 256.
  uint8_t t[511];
  for (int64_t k = -255; k <= 255; ++k) t[k + 255] = static_cast<uint8_t>((int64_t{amount} * k) >> 8);
  const bool keyed = blend->GetTransparent();
  const TpkBitmap* q = blend;
  const int key = keyed ? q->GetPixel(0, 0) : 0;
  for (int y = 0; y < height_; ++y) {
    TPixelRow<RGBTRIPLE> own = GetRow(y);
    TPixelRow<const RGBTRIPLE> other = q->GetRow(y);
    for (int x = 0; x < width_; ++x) {
      const RGBTRIPLE b = other[x];
      if (keyed && PixelOf(b) == key) continue;
      RGBTRIPLE& p = own[x];
      p.rgbtBlue = static_cast<BYTE>(p.rgbtBlue + t[b.rgbtBlue - p.rgbtBlue + 255]);
      p.rgbtGreen = static_cast<BYTE>(p.rgbtGreen + t[b.rgbtGreen - p.rgbtGreen + 255]);
      p.rgbtRed = static_cast<BYTE>(p.rgbtRed + t[b.rgbtRed - p.rgbtRed + 255]);
    }
  }
}
