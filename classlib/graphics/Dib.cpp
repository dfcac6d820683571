#include <cstring>
#include <utility>

#include "classlib/Scopes.h"
#include "classlib/Seams.h"
#include "classlib/classes/Errors.h"
#include "classlib/graphics/DibCodec.h"

namespace graphics_detail {

int DibStride(int width, int bitCount) {
  return static_cast<int>(((static_cast<int64_t>(width) * bitCount + 31) / 32) * 4);
}

TDib::~TDib() {
  if (handle_) DeleteObject(handle_);
}

void TDib::Swap(TDib& o) noexcept {
  std::swap(handle_, o.handle_);
  std::swap(bits_, o.bits_);
  std::swap(width_, o.width_);
  std::swap(height_, o.height_);
  std::swap(stride_, o.stride_);
  std::swap(topDown_, o.topDown_);
  std::swap(ddb_, o.ddb_);
  std::swap(colorCount_, o.colorCount_);
  std::swap(format_, o.format_);
}

HBITMAP TDib::Release() {
  HBITMAP h = handle_;
  handle_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = stride_ = 0;
  topDown_ = false;
  ddb_ = false;
  colorCount_ = 0;
  format_ = TDibFormat{};
  return h;
}

TDib TDib::Make(int width, int height, const TDibFormat& format, const std::vector<RGBQUAD>& colors) {
  TDib d;
  if (width <= 0 || height <= 0) return d;
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD colors[256];
  } bi{};
  bi.h.biSize = sizeof bi.h;
  bi.h.biWidth = width;
  bi.h.biHeight = height;
  bi.h.biPlanes = 1;
  bi.h.biBitCount = static_cast<WORD>(format.BitCount);
  bi.h.biCompression = format.Compression;
  if (format.Compression == BI_BITFIELDS) {
    std::memcpy(bi.colors, format.Masks, sizeof format.Masks);
  } else if (format.BitCount <= 8) {
    size_t n = std::min<size_t>(colors.size(), size_t{1} << format.BitCount);
    bi.h.biClrUsed = static_cast<DWORD>(n);
    if (n) std::memcpy(bi.colors, colors.data(), n * sizeof(RGBQUAD));
    d.colorCount_ = static_cast<int>(n);
  }
  void* bits = nullptr;
  HBITMAP h = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!h || !bits) {
    if (h) DeleteObject(h);
    throw EOutOfResources("Out of system resources");
  }
  d.handle_ = h;
  d.bits_ = static_cast<uint8_t*>(bits);
  d.width_ = width;
  d.height_ = height;
  d.stride_ = DibStride(width, format.BitCount);
  d.format_ = format;
  return d;
}

TDib TDib::Adopt(HBITMAP handle) {
  TDib d;
  DIBSECTION ds{};
  if (!handle || GetObjectA(handle, sizeof ds, &ds) != sizeof ds || !ds.dsBm.bmBits) return d;
  d.handle_ = handle;
  d.bits_ = static_cast<uint8_t*>(ds.dsBm.bmBits);
  d.width_ = ds.dsBm.bmWidth;
  d.height_ = ds.dsBm.bmHeight < 0 ? -ds.dsBm.bmHeight : ds.dsBm.bmHeight;
  d.topDown_ = ds.dsBmih.biHeight < 0;
  d.stride_ = ds.dsBm.bmWidthBytes;
  d.format_.BitCount = ds.dsBmih.biBitCount;
  if (ds.dsBmih.biBitCount <= 8)
    d.colorCount_ = ds.dsBmih.biClrUsed ? static_cast<int>(ds.dsBmih.biClrUsed) : 1 << ds.dsBmih.biBitCount;
  d.format_.Compression = ds.dsBmih.biCompression == BI_BITFIELDS ? BI_BITFIELDS : BI_RGB;
  if (d.format_.Compression == BI_BITFIELDS) std::memcpy(d.format_.Masks, ds.dsBitfields, sizeof d.format_.Masks);
  return d;
}

TDib TDib::MakeMonoDdb(int width, int height) {
  TDib d;
  if (width <= 0 || height <= 0) return d;
  HBITMAP h = CreateBitmap(width, height, 1, 1, nullptr);
  if (!h) throw EOutOfResources("Out of system resources");
  return AdoptMonoDdb(h);
}

TDib TDib::AdoptMonoDdb(HBITMAP handle) {
  TDib d;
  BITMAP bm{};
  if (!handle || !GetObjectA(handle, sizeof bm, &bm) || bm.bmBitsPixel != 1 || bm.bmPlanes != 1) return d;
  d.handle_ = handle;
  d.width_ = bm.bmWidth;
  d.height_ = bm.bmHeight;
  d.stride_ = DibStride(bm.bmWidth, 1);
  d.format_ = TDibFormat{1};
  d.colorCount_ = 2;
  d.ddb_ = true;
  return d;
}

const std::vector<RGBQUAD>& MonoColors() {
  static const std::vector<RGBQUAD> mono = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
  return mono;
}

namespace {
struct TMonoInfo {
  BITMAPINFOHEADER h;
  RGBQUAD colors[2];
};
TMonoInfo MonoInfo(int width, int height) {
  TMonoInfo bi{};
  bi.h.biSize = sizeof bi.h;
  bi.h.biWidth = width;
  bi.h.biHeight = height;
  bi.h.biPlanes = 1;
  bi.h.biBitCount = 1;
  bi.colors[1] = RGBQUAD{255, 255, 255, 0};
  return bi;
}
}  // namespace

TDib DdbToDib(const TDib& ddb) {
  TDib d = TDib::Make(ddb.Width(), ddb.Height(), TDibFormat{1}, MonoColors());
  if (d.Empty()) return d;
  TMonoInfo bi = MonoInfo(ddb.Width(), ddb.Height());
  GetDIBits(TScreenDC().Get(), ddb.Handle(), 0, static_cast<UINT>(ddb.Height()), d.Bits(),
            reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  return d;
}

TDib DibToMonoDdb(const TDib& dib) {
  TDib d = TDib::MakeMonoDdb(dib.Width(), dib.Height());
  if (d.Empty()) return d;
  GdiFlush();
  TMonoInfo bi = MonoInfo(dib.Width(), dib.Height());
  SetDIBits(TScreenDC().Get(), d.Handle(), 0, static_cast<UINT>(dib.Height()), dib.Bits(),
            reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  return d;
}

TDibFormat DeviceFormat(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1: return TDibFormat{1};
    case 4: return TDibFormat{4};
    case 8: return TDibFormat{8};
    case 15: return TDibFormat{16};
    case 16: return TDibFormat{16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}};
    case 24: return TDibFormat{24};
    default: return TDibFormat{32};
  }
}

TDibFormat FormatOf(TPixelFormat pf) {
  switch (pf) {
    case pf1bit: return TDibFormat{1};
    case pf4bit: return TDibFormat{4};
    case pf8bit: return TDibFormat{8};
    case pf15bit: return TDibFormat{16};
    case pf16bit: return TDibFormat{16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}};
    case pf24bit: return TDibFormat{24};
    case pf32bit: return TDibFormat{32};
    default: return DeviceFormat(Seams().DisplayBitsPerPixel());
  }
}

std::vector<RGBQUAD> DefaultColors(const TDibFormat& format) {
  auto q = [](BYTE r, BYTE g, BYTE b) { return RGBQUAD{b, g, r, 0}; };
  switch (format.BitCount) {
    case 1: return {q(0, 0, 0), q(255, 255, 255)};
    case 4:
      return {q(0, 0, 0),     q(128, 0, 0),   q(0, 128, 0),   q(128, 128, 0), q(0, 0, 128),   q(128, 0, 128),
              q(0, 128, 128), q(192, 192, 192), q(128, 128, 128), q(255, 0, 0), q(0, 255, 0), q(255, 255, 0),
              q(0, 0, 255),   q(255, 0, 255), q(0, 255, 255), q(255, 255, 255)};
    case 8: {
      std::vector<RGBQUAD> table;
      TOwnedGdiObject<HPALETTE> pal(CreateHalftonePalette(TScreenDC().Get()));
      PALETTEENTRY entries[256]{};
      UINT n = pal ? GetPaletteEntries(pal.get(), 0, 256, entries) : 0;
      for (UINT i = 0; i < n; ++i) table.push_back(q(entries[i].peRed, entries[i].peGreen, entries[i].peBlue));
      // Without a halftone palette: a 6x6x6 cube and greys.
      if (table.empty())
        for (int i = 0; i < 256; ++i)
          table.push_back(i < 216 ? q(static_cast<BYTE>(i / 36 * 51), static_cast<BYTE>(i / 6 % 6 * 51),
                                      static_cast<BYTE>(i % 6 * 51))
                                  : q(static_cast<BYTE>((i - 216) * 6), static_cast<BYTE>((i - 216) * 6),
                                      static_cast<BYTE>((i - 216) * 6)));
      return table;
    }
    default: return {};
  }
}

std::vector<RGBQUAD> ReadColorTable(HBITMAP dib, HDC selectedIn) {
  std::vector<RGBQUAD> table(256);
  UINT n = 0;
  if (selectedIn) {
    n = GetDIBColorTable(selectedIn, 0, 256, table.data());
  } else if (dib) {
    TMemoryDC dc(dib);
    n = GetDIBColorTable(dc.Get(), 0, 256, table.data());
  }
  table.resize(n);
  return table;
}

// ---------------------------------------------------------------------------
namespace {
int LowBit(DWORD m) {
  int s = 0;
  while (m && !(m & 1)) {
    m >>= 1;
    ++s;
  }
  return s;
}
int BitCount(DWORD m) {
  int n = 0;
  for (; m; m &= m - 1) ++n;
  return n;
}
// Widens a channel of n bits to 8 by repeating its bits, as GDI does.
BYTE Widen(uint32_t v, int n) {
  if (n <= 0) return 0;
  if (n >= 8) return static_cast<BYTE>(v >> (n - 8));
  uint32_t r = 0;
  int have = 0;
  while (have < 8) {
    r = (r << n) | v;
    have += n;
  }
  return static_cast<BYTE>(r >> (have - 8));
}
uint32_t IndexAt(const uint8_t* row, int x, int bpp) {
  switch (bpp) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    default: return row[x];
  }
}
void SetIndexAt(uint8_t* row, int x, int bpp, uint32_t v) {
  switch (bpp) {
    case 1: {
      uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
      if (v) row[x >> 3] |= bit;
      else row[x >> 3] &= static_cast<uint8_t>(~bit);
      break;
    }
    case 4: {
      uint8_t& b = row[x >> 1];
      b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (v & 0xF)) : static_cast<uint8_t>((b & 0x0F) | ((v & 0xF) << 4));
      break;
    }
    default: row[x] = static_cast<uint8_t>(v);
  }
}
}  // namespace

TPixelCodec::TPixelCodec(const TDibFormat& format, std::vector<RGBQUAD> colors)
    : format_(format), colors_(std::move(colors)) {
  DWORD masks[3] = {0, 0, 0};
  if (format.Compression == BI_BITFIELDS) {
    std::memcpy(masks, format.Masks, sizeof masks);
  } else if (format.BitCount == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  }
  for (int i = 0; i < 3; ++i) {
    shift_[i] = LowBit(masks[i]);
    bits_[i] = BitCount(masks[i]);
  }
}

TColor TPixelCodec::Get(const uint8_t* row, int x) const {
  int bpp = format_.BitCount;
  if (bpp <= 8) {
    uint32_t i = IndexAt(row, x, bpp);
    if (i >= colors_.size()) return 0;
    const RGBQUAD& c = colors_[i];
    return static_cast<TColor>(RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
  }
  if (bpp == 24) {
    const uint8_t* p = row + x * 3;
    return static_cast<TColor>(RGB(p[2], p[1], p[0]));
  }
  uint32_t v;
  if (bpp == 16) {
    uint16_t w;
    std::memcpy(&w, row + x * 2, 2);
    v = w;
  } else {
    std::memcpy(&v, row + x * 4, 4);
    if (format_.Compression != BI_BITFIELDS) return static_cast<TColor>(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
  }
  BYTE c[3];
  for (int i = 0; i < 3; ++i) c[i] = Widen((v >> shift_[i]) & ((1u << bits_[i]) - 1u), bits_[i]);
  return static_cast<TColor>(RGB(c[0], c[1], c[2]));
}

uint32_t TPixelCodec::Index(TColor color) {
  if (color == lastColor_) return lastIndex_;
  int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  uint32_t best = 0;
  int bestDist = INT32_MAX;
  for (size_t i = 0; i < colors_.size(); ++i) {
    int dr = colors_[i].rgbRed - r, dg = colors_[i].rgbGreen - g, db = colors_[i].rgbBlue - b;
    int d = dr * dr + dg * dg + db * db;
    if (d < bestDist) {
      bestDist = d;
      best = static_cast<uint32_t>(i);
      if (d == 0) break;
    }
  }
  lastColor_ = color;
  lastIndex_ = best;
  return best;
}

void TPixelCodec::Set(uint8_t* row, int x, TColor color) {
  int bpp = format_.BitCount;
  if (bpp <= 8) {
    SetIndexAt(row, x, bpp, Index(color));
    return;
  }
  BYTE r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  if (bpp == 24) {
    uint8_t* p = row + x * 3;
    p[0] = b, p[1] = g, p[2] = r;
    return;
  }
  uint32_t v;
  if (bpp == 32 && format_.Compression != BI_BITFIELDS) {
    v = (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
  } else {
    BYTE c[3] = {r, g, b};
    v = 0;
    for (int i = 0; i < 3; ++i)
      if (bits_[i]) v |= (bits_[i] >= 8 ? uint32_t{c[i]} << (bits_[i] - 8) : uint32_t{c[i]} >> (8 - bits_[i])) << shift_[i];
  }
  if (bpp == 16) {
    uint16_t w = static_cast<uint16_t>(v);
    std::memcpy(row + x * 2, &w, 2);
  } else {
    std::memcpy(row + x * 4, &v, 4);
  }
}

TColor TPixelCodec::Quantize(TColor color) {
  uint8_t buf[4] = {0, 0, 0, 0};
  Set(buf, 0, color);
  return Get(buf, 0);
}

TDib ConvertDib(const TDib& src, const std::vector<RGBQUAD>& srcColors, const TDibFormat& format,
                const std::vector<RGBQUAD>& colors) {
  TDib d = TDib::Make(src.Width(), src.Height(), format, colors);
  if (d.Empty()) return d;
  GdiFlush();
  TPixelCodec in(src.Format(), srcColors), out(format, colors);
  for (int y = 0; y < src.Height(); ++y) {
    const uint8_t* s = src.Row(y);
    uint8_t* t = d.Row(y);
    for (int x = 0; x < src.Width(); ++x) out.Set(t, x, in.Get(s, x));
  }
  return d;
}

TDib CopyDib(const TDib& src, const std::vector<RGBQUAD>& colors) {
  TDib d = TDib::Make(src.Width(), src.Height(), src.Format(), colors);
  if (d.Empty()) return d;
  GdiFlush();
  for (int y = 0; y < src.Height(); ++y) std::memcpy(d.Row(y), src.Row(y), static_cast<size_t>(src.Stride()));
  return d;
}

void FillDib(const TDib& dib, const std::vector<RGBQUAD>& colors, TColor color) {
  if (dib.Empty()) return;
  GdiFlush();
  TPixelCodec codec(dib.Format(), colors);
  uint8_t* first = dib.Row(0);
  for (int x = 0; x < dib.Width(); ++x) codec.Set(first, x, color);
  for (int y = 1; y < dib.Height(); ++y) std::memcpy(dib.Row(y), first, static_cast<size_t>(dib.Stride()));
}

TDib MaskDib(const TDib& src, const std::vector<RGBQUAD>& colors, TColor key) {
  TDib d = TDib::Make(src.Width(), src.Height(), TDibFormat{1}, MonoColors());
  if (d.Empty()) return d;
  GdiFlush();
  TPixelCodec in(src.Format(), colors);
  // A key the format cannot hold exactly is compared as it would be stored.
  TColor k = src.Format().BitCount <= 8 ? key : in.Quantize(key);
  for (int y = 0; y < src.Height(); ++y) {
    const uint8_t* s = src.Row(y);
    uint8_t* t = d.Row(y);
    for (int x = 0; x < src.Width(); ++x)
      if (in.Get(s, x) == k) t[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
  }
  return d;
}

}  // namespace graphics_detail
