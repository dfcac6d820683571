#include "skin/pkBitmap.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <unordered_map>

#include "classlib/Seams.h"
#include "skin/pkShared.h"

using pk_detail::TGdiObject;
using pk_detail::TScopeExit;
using pk_detail::TScreenDC;

// ---------------------------------------------------------------------------
// TpkChangeLink

IMPLEMENT_CLASS(TpkChangeLink)

void TpkChangeLink::Change() {
  if (onChange_) onChange_(sender_);
}

void TpkChangeLink::Changing() {
  if (onChanging_) onChanging_(sender_);
}

void TpkChangeLink::Loaded() {
  if (onLoaded_) onLoaded_(sender_);
}

// ---------------------------------------------------------------------------
// Helpers

int ColorToPixel(TColor c) {
  uint32_t rgb = static_cast<uint32_t>(ColorToRGB(c));
  return static_cast<int>((rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF));
}

TColor PixelToColor(int p) {
  return static_cast<TColor>(RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF));
}

void KeyMaskRow(TPixelRow<const RGBTRIPLE> pixels, TPixelRow<uint8_t> bits, int key) {
  for (int x = 0; x < pixels.Count(); ++x) {
    const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
    if (PixelOf(pixels[x]) == key) bits[x >> 3] = static_cast<uint8_t>(bits[x >> 3] & ~bit);
    else bits[x >> 3] = static_cast<uint8_t>(bits[x >> 3] | bit);
  }
}

namespace {

// The header of the DIB calls: 24 bits, top-down (a negative height puts
// row 0 at the top), every other member 0.
BITMAPINFO Info24(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

// ---------------------------------------------------------------------------
// TpkBitmap: storage

IMPLEMENT_CLASS(TpkBitmap)

TpkBitmap::TpkBitmap() {
  canvas_ = New<TCanvas>();
  // Drawing on the canvas changes pixels the cached mask was made from.
  canvas_->SetOnChanging(TNotifyEvent(this, &TpkBitmap::CanvasChanging));
  FillHeader(0, 0);
}

TpkBitmap::~TpkBitmap() = default;

void TpkBitmap::Destroy() {
  linkList_.clear();
  FreeParkedPixels();
  FreeImage();
  palette_.reset();
  FreeAndNil(canvas_);
  inherited::Destroy();
}

void TpkBitmap::FillHeader(int width, int height) { header_ = Info24(width, height).bmiHeader; }

TGdiObject<HBITMAP> TpkBitmap::MakeSection(int width, int height, uint8_t*& bits) {
  int64_t stride = int64_t{3} * width + width % 4;
  if (width <= 0 || height <= 0 || stride * height > INT_MAX)
    throw EOutOfResources("Out of system resources");
  BITMAPINFO info = Info24(width, height);
  void* p = nullptr;
  TGdiObject<HBITMAP> section(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0));
  if (!section || !p) throw EOutOfResources("Out of system resources");
  bits = static_cast<uint8_t*>(p);
  return section;
}

void TpkBitmap::InstallSection(TGdiObject<HBITMAP> section, uint8_t* bits, int width, int height) {
  FreeImage();
  width_ = width;
  height_ = height;
  FillHeader(width, height);
  pixelData_ = bits;
  handle_ = std::move(section);
  BuildRowTable();
}

void TpkBitmap::BuildRowTable() {
  rowGap_ = width_ % 4;
  rowStride_ = 3 * width_ + rowGap_;
  size_ = rowStride_ * height_;
  rows_.resize(static_cast<size_t>(height_));
  for (int y = 0; y < height_; ++y) rows_[static_cast<size_t>(y)] = pixelData_ + static_cast<size_t>(y) * rowStride_;
  if (handle_) {
    memoryDC_.Select(handle_.get());
    canvas_->SetHandle(memoryDC_.Get());
  } else {
    FreeImage();
  }
  Changed(this);
}

void TpkBitmap::FreeImage() {
  FreeAndNil(stretchScratch_);
  canvas_->SetHandle(nullptr);
  memoryDC_.Reset();
  handle_.reset();
  rows_.clear();
  rows_.shrink_to_fit();
  DropMask();
  width_ = height_ = 0;
  rowGap_ = rowStride_ = size_ = 0;
  pixelData_ = nullptr;
}

void TpkBitmap::SetSize(int width, int height) { Allocate(width, height, true); }

void TpkBitmap::Allocate(int width, int height, bool white) {
  if (width <= 0 || height <= 0) {
    FreeImage();
    return;
  }
  uint8_t* bits = nullptr;
  TGdiObject<HBITMAP> section = MakeSection(width, height, bits);
  // White before anyone is told of the new image.
  if (white) std::memset(bits, 0xFF, static_cast<size_t>(3 * width + width % 4) * static_cast<size_t>(height));
  InstallSection(std::move(section), bits, width, height);
}

void TpkBitmap::SetSizeIfChanged(int width, int height) {
  if (width == width_ && height == height_) return;
  SetSize(width, height);
}

void TpkBitmap::Resize(int width, int height) {
  if (width == width_ && height == height_) return;
  if (GetEmpty()) {
    SetSize(width, height);
    return;
  }
  Owned<TpkBitmap> copy = MakeOwned<TpkBitmap>();
  copy->Assign(this);
  // The copy stretches opaque: the picture is kept whole, key pixels too.
  copy->SetSuppressChange(true);
  copy->SetTransparent(false);
  SetSize(width, height);
  if (!GetEmpty()) canvas_->StretchDraw(Rect(0, 0, width, height), copy.get());
}

TPixelRow<RGBTRIPLE> TpkBitmap::GetRow(int y) {
#ifdef PERIVANE_CHECKED
  if (y < 0 || y >= height_) throw ERangeError("Row index " + std::to_string(y) + " out of range");
#endif
  DropMask();
  return TPixelRow<RGBTRIPLE>(reinterpret_cast<RGBTRIPLE*>(rows_[static_cast<size_t>(y)]), width_);
}

TPixelRow<const RGBTRIPLE> TpkBitmap::GetRow(int y) const {
#ifdef PERIVANE_CHECKED
  if (y < 0 || y >= height_) throw ERangeError("Row index " + std::to_string(y) + " out of range");
#endif
  return TPixelRow<const RGBTRIPLE>(reinterpret_cast<const RGBTRIPLE*>(rows_[static_cast<size_t>(y)]), width_);
}

TPixelRow<uint8_t> TpkBitmap::GetRowBytes(int y) {
#ifdef PERIVANE_CHECKED
  if (y < 0 || y >= height_) throw ERangeError("Row index " + std::to_string(y) + " out of range");
#endif
  DropMask();
  return TPixelRow<uint8_t>(rows_[static_cast<size_t>(y)], 3 * width_);
}

void TpkBitmap::SetColorTable(const RGBQUAD* table, bool hasColorTable) {
  if (table) std::memcpy(colorTable_, table, sizeof colorTable_);
  hasColorTable_ = hasColorTable;
}

void TpkBitmap::SetTransparentColor(TColor value) {
  if (value == transparentColor_) return;
  transparentColor_ = value;
  DropMask();
}

void TpkBitmap::SetTransparent(bool value) {
  DropMask();
  inherited::SetTransparent(value);
}

// ---------------------------------------------------------------------------
// Loading and saving

void TpkBitmap::LoadFromBitmap(TBitmap* bitmap) {
  if (!bitmap || bitmap->GetEmpty()) {
    FreeImage();
    Changed(this);
    return;
  }
  int width = bitmap->GetWidth(), height = bitmap->GetHeight();
  uint8_t* bits = nullptr;
  TGdiObject<HBITMAP> section = MakeSection(width, height, bits);
  // Handle releases the bitmap's own DC: GetDIBits wants it unselected.
  HBITMAP source = bitmap->GetHandle();
  BITMAPINFO info = Info24(width, height);
  {
    TScreenDC screen;
    // Any source depth comes out as 24 bits, top row first.
    if (GetDIBits(screen.Get(), source, 0, static_cast<UINT>(height), bits, &info, DIB_RGB_COLORS) != height)
      throw EInvalidGraphic("Bitmap image is not valid");
  }
  TPixelFormat format = bitmap->GetPixelFormat();
  if (format == pfCustom) {
    DIBSECTION ds{};
    int bpp = GetObjectA(source, sizeof ds, &ds) ? ds.dsBm.bmBitsPixel : 24;
    switch (bpp) {
      case 1: format = pf1bit; break;
      case 4: format = pf4bit; break;
      case 8: format = pf8bit; break;
      case 16: format = pf16bit; break;
      case 32: format = pf32bit; break;
      default: format = pf24bit; break;
    }
  }
  std::vector<RGBQUAD> table = bitmap->GetColorTable();
  pixelFormat_ = format;
  std::memset(colorTable_, 0, sizeof colorTable_);
  std::copy_n(table.begin(), std::min<size_t>(table.size(), 256), colorTable_);
  hasColorTable_ = !table.empty();
  InstallSection(std::move(section), bits, width, height);
}

void TpkBitmap::LoadFromGraphic(TGraphic* graphic) {
  if (!graphic || graphic->GetEmpty()) {
    FreeImage();
    Changed(this);
    return;
  }
  Owned<TBitmap> bmp = MakeOwned<TBitmap>();
  // 24 bits whatever the display: a device bitmap would lose colours on a
  // palette display.
  bmp->SetPixelFormat(pf24bit);
  bmp->SetSize(graphic->GetWidth(), graphic->GetHeight());
  bmp->GetCanvas()->Draw(0, 0, graphic);
  LoadFromBitmap(bmp.get());
}

void TpkBitmap::AssignGraphic(TGraphic* graphic) { LoadFromGraphic(graphic); }

void TpkBitmap::LoadFromBits(const void* data, int size, TPoint dim) {
  if (dim.x <= 0 || dim.y <= 0) {
    FreeImage();
    Changed(this);
    return;
  }
  int64_t needed = (int64_t{3} * dim.x + dim.x % 4) * dim.y;
  if (!data || size < needed) throw EInvalidGraphic("Bitmap image is not valid: too few pixel bytes");
  uint8_t* bits = nullptr;
  TGdiObject<HBITMAP> section = MakeSection(dim.x, dim.y, bits);
  // Copied as they are: a round trip through a device bitmap would reduce
  // them to the display's depth.
  std::memcpy(bits, data, static_cast<size_t>(needed));
  InstallSection(std::move(section), bits, dim.x, dim.y);
}

void TpkBitmap::SaveToBitmap(TBitmap* bitmap) {
  if (!bitmap) return;
  bitmap->SetPixelFormat(pixelFormat_);
  bitmap->SetSize(width_, height_);
  if (GetEmpty()) return;
  if (!bitmap->GetColorTable().empty()) {
    if (hasColorTable_) SetDIBColorTable(bitmap->GetCanvas()->GetHandle(), 0, 256, colorTable_);
    if (int bits = IndexBitCount(bitmap)) {
      WriteIndexed(bitmap, bits);
      return;
    }
  }
  copyingOut_ = true;
  TScopeExit done([this] { copyingOut_ = false; });
  // Drawn plain (never through the mask): CopyingOut is set.
  bitmap->GetCanvas()->Draw(0, 0, this);
}

int TpkBitmap::IndexBitCount(TBitmap* bitmap) {
  // The bits of the rows as they are laid out, not as PixelFormat names
  // them: a pfDevice bitmap's rows are as deep as the display (half a byte a
  // pixel at 4 bits, an eighth at 1). A monochrome device bitmap becomes a
  // 1-bit DIB on the first scan line, so that comes first.
  bitmap->GetScanLine(0);
  DIBSECTION ds{};
  if (GetObjectA(bitmap->GetHandle(), sizeof ds, &ds) != sizeof ds) return 0;
  const int bits = ds.dsBm.bmBitsPixel;
  return bits == 1 || bits == 4 || bits == 8 ? bits : 0;
}

void TpkBitmap::WriteIndexed(TBitmap* bitmap, int bits) const {
  // Each pixel takes the index of its colour in the bitmap's table (the
  // nearest one when it has no exact entry). GDI's own 24-to-8-bit blit may
  // pick a neighbouring entry (Wine's does), which would not give back the
  // indices a palette picture was loaded with.
  const std::vector<RGBQUAD> table = bitmap->GetColorTable();
  // Drawing on the canvas may still sit in GDI's batch.
  GdiFlush();
  std::unordered_map<int, uint8_t> found;
  auto indexOf = [&](int p) -> uint8_t {
    auto it = found.find(p);
    if (it != found.end()) return it->second;
    int r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
    int64_t best = INT64_MAX;
    uint8_t index = 0;
    for (size_t i = 0; i < table.size(); ++i) {
      int64_t dr = r - table[i].rgbRed, dg = g - table[i].rgbGreen, db = b - table[i].rgbBlue;
      int64_t d = dr * dr + dg * dg + db * db;
      if (d < best) {
        best = d;
        index = static_cast<uint8_t>(i);
      }
    }
    found.emplace(p, index);
    return index;
  };
  for (int y = 0; y < height_; ++y) {
    TPixelRow<const RGBTRIPLE> src = GetRow(y);
    TPixelRow<uint8_t> dst = bitmap->ScanLineAs<uint8_t>(y);
    for (int x = 0; x < width_; ++x) {
      uint8_t index = indexOf(PixelOf(src[x]));
      if (bits == 8) {
        dst[x] = index;
      } else {
        int perByte = 8 / bits, shift = (perByte - 1 - x % perByte) * bits;
        uint8_t mask = static_cast<uint8_t>(((1 << bits) - 1) << shift);
        uint8_t& byte = dst[x / perByte];
        byte = static_cast<uint8_t>((byte & ~mask) | (index << shift));
      }
    }
  }
  bitmap->Changed(bitmap);
}

void TpkBitmap::LoadFromStream(TStream* stream) {
  Owned<TBitmap> bmp = MakeOwned<TBitmap>();
  bmp->LoadFromStream(stream);
  LoadFromBitmap(bmp.get());
}

void TpkBitmap::SaveToStream(TStream* stream) {
  Owned<TBitmap> bmp = MakeOwned<TBitmap>();
  SaveToBitmap(bmp.get());
  bmp->SaveToStream(stream);
}

void TpkBitmap::LoadFromClipboardFormat(WORD, HANDLE, HPALETTE) {}

void TpkBitmap::SaveToClipboardFormat(WORD&, HANDLE&, HPALETTE&) {}

// ---------------------------------------------------------------------------
// Assignment

void TpkBitmap::Assign(TPersistent* source) {
  if (source == this) return;
  auto* bmp = dynamic_cast<TBitmap*>(source);
  if (!source || (bmp && bmp->GetEmpty())) {
    FreeImage();
    Changed(this);
    return;
  }
  if (bmp) {
    pixelFormat_ = bmp->GetPixelFormat();
    LoadFromBitmap(bmp);
    SetTransparent(bmp->GetTransparent());
    return;
  }
  auto* graphic = dynamic_cast<TGraphic*>(source);
  if (!graphic || dynamic_cast<TpkBitmap*>(source)) {
    inherited::Assign(source);
    return;
  }
  AssignGraphic(graphic);
}

void TpkBitmap::AssignTo(TPersistent* dest) {
  if (auto* bmp = dynamic_cast<TBitmap*>(dest)) {
    bmp->SetPixelFormat(pixelFormat_);
    SaveToBitmap(bmp);
    bmp->SetTransparent(GetTransparent());
    bmp->SetTransparentColor(transparentColor_);
    return;
  }
  auto* pk = dynamic_cast<TpkBitmap*>(dest);
  if (!pk) {
    inherited::AssignTo(dest);
    return;
  }
  if (pk == this) return;
  if (GetEmpty()) {
    pk->Clear();
  } else {
    bool saved = pk->suppressChange_;
    pk->suppressChange_ = true;
    TScopeExit restore([pk, saved] { pk->suppressChange_ = saved; });
    pk->respectPalette_ = respectPalette_;
    pk->halftonePalette_ = halftonePalette_;
    pk->SetSize(width_, height_);
    GdiFlush();
    std::memcpy(pk->GetPixelData(), pixelData_, static_cast<size_t>(size_));
    pk->SetTransparent(GetTransparent());
    pk->smoothStretching_ = smoothStretching_;
    pk->SetTransparentColor(transparentColor_);
    pk->pixelFormat_ = pixelFormat_;
    std::memcpy(pk->colorTable_, colorTable_, sizeof colorTable_);
    pk->hasColorTable_ = hasColorTable_;
  }
  pk->Changed(pk);
}

// ---------------------------------------------------------------------------
// Change notification

void TpkBitmap::Changed(TObject* sender) {
  DropMask();
  if (suppressChange_) return;
  inherited::Changed(sender);
  NotifyLinks();
}

void TpkBitmap::NotifyLinks() {
  // A link may unregister (or free) another while it is told; the list is
  // walked as it was, skipping links that left meanwhile.
  std::vector<TpkChangeLink*> links = linkList_;
  for (TpkChangeLink* link : links) {
    if (std::find(linkList_.begin(), linkList_.end(), link) == linkList_.end()) continue;
    link->SetSender(this);
    link->Change();
  }
}

void TpkBitmap::RegisterChanges(TpkChangeLink* link) {
  if (link) linkList_.push_back(link);
}

void TpkBitmap::UnregisterChanges(TpkChangeLink* link) {
  auto it = std::find(linkList_.begin(), linkList_.end(), link);
  if (it != linkList_.end()) linkList_.erase(it);
}

// ---------------------------------------------------------------------------
// Palette

bool TpkBitmap::OnPaletteDisplay() const { return Seams().DisplayBitsPerPixel() <= 8; }

void TpkBitmap::CreatePalette() {
  if (palette_) return;
  if (hasColorTable_) {
    std::vector<uint8_t> buf(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = 256;
    for (int i = 0; i < 256; ++i)
      lp->palPalEntry[i] = PALETTEENTRY{colorTable_[i].rgbRed, colorTable_[i].rgbGreen, colorTable_[i].rgbBlue, 0};
    palette_.reset(::CreatePalette(lp));
  } else {
    TScreenDC screen;
    palette_.reset(CreateHalftonePalette(screen.Get()));
  }
}

void TpkBitmap::RealizePalette(TCanvas* canvas, HPALETTE& oldPalette) {
  oldPalette = nullptr;
  // The flags first: asking the display's depth costs a call to the display.
  if (!(respectPalette_ || halftonePalette_) || !OnPaletteDisplay()) return;
  if (respectPalette_) {
    CreatePalette();
  } else {
    TScreenDC screen;
    palette_.reset(CreateHalftonePalette(screen.Get()));
  }
  if (!palette_) return;
  HDC dc = canvas->GetHandle();
  oldPalette = SelectPalette(dc, palette_.get(), TRUE);
  ::RealizePalette(dc);
}

void TpkBitmap::RestorePalette(TCanvas* canvas, HPALETTE oldPalette) {
  if (!palette_) return;
  if (oldPalette) SelectPalette(canvas->GetHandle(), oldPalette, TRUE);
  palette_.reset();
}

// ---------------------------------------------------------------------------
// Drawing

void TpkBitmap::DrawWhole(HDC dc, int x, int y) {
  BitBlt(dc, x, y, width_, height_, memoryDC_.Get(), 0, 0, SRCCOPY);
}

void TpkBitmap::Draw(TCanvas* canvas, const TRect& rect) {
  if (GetEmpty()) return;
  HPALETTE old = nullptr;
  bool own = !paletteHeld_;
  if (own) RealizePalette(canvas, old);
  TScopeExit restore([&] {
    if (own) RestorePalette(canvas, old);
  });
  if (rect.right - rect.left != width_ || rect.bottom - rect.top != height_) {
    if (smoothStretching_) SmoothStretchDraw(canvas, rect);
    else StretchDraw(canvas, rect);
  } else if (GetTransparent() && !copyingOut_) {
    DrawTransparent(canvas, rect);
  } else {
    DrawWhole(canvas->GetHandle(), rect.left, rect.top);
  }
}

void TpkBitmap::StretchDraw(TCanvas* canvas, const TRect& rect) {
  int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (GetEmpty() || w <= 0 || h <= 0) return;
  if (GetTransparent()) {
    Owned<TpkBitmap> tmp = MakeOwned<TpkBitmap>();
    tmp->SetSize(w, h);
    // The copy keys on the same colour as this bitmap.
    tmp->SetTransparentColor(transparentColor_);
    StretchBlt(tmp->GetMemoryDC(), 0, 0, w, h, memoryDC_.Get(), 0, 0, width_, height_, SRCCOPY);
    tmp->DrawTransparent(canvas, rect);
    return;
  }
  HDC dc = canvas->GetHandle();
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, rect.left, rect.top, w, h, memoryDC_.Get(), 0, 0, width_, height_, SRCCOPY);
}

void TpkBitmap::SmoothStretchDraw(TCanvas* canvas, const TRect& rect) {
  int dw = rect.right - rect.left, dh = rect.bottom - rect.top;
  if (GetEmpty() || dw <= 0 || dh <= 0) return;
  int sw = width_, sh = height_;
  TpkBitmap* tmp = StretchScratch(dw, dh);
  tmp->SetTransparentColor(transparentColor_);
  GdiFlush();
  // Bilinear in 15-bit fixed point. The source columns and weights of each
  // target column are the same on every row: worked out once.
  const int64_t xStep = (int64_t{sw - 1} << 15) / dw;
  const int64_t yStep = (int64_t{sh - 1} << 15) / dh;
  std::vector<int> left(static_cast<size_t>(dw)), right(static_cast<size_t>(dw));
  std::vector<uint32_t> frac(static_cast<size_t>(dw));
  for (int x = 0; x < dw; ++x) {
    int64_t sx = x * xStep;
    left[static_cast<size_t>(x)] = static_cast<int>(sx >> 15);
    // A one-pixel-wide source is its own right neighbour (with weight 0).
    right[static_cast<size_t>(x)] = std::min(static_cast<int>(sx >> 15) + 1, sw - 1);
    frac[static_cast<size_t>(x)] = static_cast<uint32_t>(sx & 0x7FFF);
  }
  const TpkBitmap* self = this;
  for (int y = 0; y < dh; ++y) {
    int64_t sy = y * yStep;
    int upper = static_cast<int>(sy >> 15);
    int lower = std::min(upper + 1, sh - 1);
    uint32_t wy = static_cast<uint32_t>(sy & 0x7FFF);
    uint32_t wy1 = 0x8000 - wy;
    TPixelRow<const RGBTRIPLE> u = self->GetRow(upper);
    TPixelRow<const RGBTRIPLE> l = self->GetRow(lower);
    TPixelRow<RGBTRIPLE> out = tmp->GetRow(y);
    for (int x = 0; x < dw; ++x) {
      const int c = left[static_cast<size_t>(x)], c1 = right[static_cast<size_t>(x)];
      const uint32_t fx = frac[static_cast<size_t>(x)];
      const uint32_t f = (fx * wy1) >> 15;
      const uint32_t hh = (fx * wy) >> 15;
      const uint32_t wu = wy1 - f, wl = wy - hh;
      const RGBTRIPLE& a = u[c];
      const RGBTRIPLE& b = u[c1];
      const RGBTRIPLE& d = l[c];
      const RGBTRIPLE& e = l[c1];
      RGBTRIPLE& o = out[x];
      o.rgbtBlue = static_cast<BYTE>((a.rgbtBlue * wu + b.rgbtBlue * f + d.rgbtBlue * wl + e.rgbtBlue * hh) >> 15);
      o.rgbtGreen =
          static_cast<BYTE>((a.rgbtGreen * wu + b.rgbtGreen * f + d.rgbtGreen * wl + e.rgbtGreen * hh) >> 15);
      o.rgbtRed = static_cast<BYTE>((a.rgbtRed * wu + b.rgbtRed * f + d.rgbtRed * wl + e.rgbtRed * hh) >> 15);
    }
  }
  if (GetTransparent()) tmp->DrawTransparent(canvas, rect);
  else canvas->Draw(rect.left, rect.top, tmp);
}

TpkBitmap* TpkBitmap::StretchScratch(int w, int h) {
  if (!stretchScratch_) stretchScratch_ = New<TpkBitmap>();
  // Every pixel is written by the caller: no white fill.
  if (stretchScratch_->GetWidth() != w || stretchScratch_->GetHeight() != h) stretchScratch_->Allocate(w, h, false);
  return stretchScratch_;
}

void TpkBitmap::DrawTransparent(TCanvas* canvas, const TRect& rect) {
  if (GetEmpty() || rect.right <= rect.left || rect.bottom <= rect.top) return;
  Owned<TBitmap> image = MakeOwned<TBitmap>();
  image->SetPixelFormat(pf24bit);
  image->SetSize(width_, height_);
  BitBlt(image->GetCanvas()->GetHandle(), 0, 0, width_, height_, memoryDC_.Get(), 0, 0, SRCCOPY);
  BlitThroughMask(canvas, rect, image.get(), true, GetTransparencyMask());
}

int TpkBitmap::MaskKey() const {
  return transparentColor_ == clNone ? GetPixel(0, 0) : ColorToPixel(transparentColor_);
}

TBitmap* TpkBitmap::GetTransparencyMask() {
  if (transparencyMask_ || GetEmpty()) return transparencyMask_;
  GdiFlush();
  const TpkBitmap* self = this;
  const int key = MaskKey();
  Owned<TBitmap> mask = MakeOwned<TBitmap>();
  mask->SetPixelFormat(pf1bit);
  mask->SetSize(width_, height_);
  // Black for the key colour, white for every other pixel: the polarity
  // BlitThroughMask expects.
  for (int y = 0; y < height_; ++y) KeyMaskRow(self->GetRow(y), mask->ScanLineAs<uint8_t>(y), key);
  transparencyMask_ = mask.release();
  return transparencyMask_;
}

void TpkBitmap::TileDraw(TCanvas* canvas, const TRect& rect) {
  if (GetEmpty() || rect.right <= rect.left || rect.bottom <= rect.top) return;
  paletteHeld_ = true;
  HPALETTE old = nullptr;
  TScopeExit restore([&] {
    paletteHeld_ = false;
    RestorePalette(canvas, old);
  });
  RealizePalette(canvas, old);
  // Tiles from the rectangle's top-left until it is covered.
  for (int64_t ty = rect.top; ty < rect.bottom; ty += height_)
    for (int64_t tx = rect.left; tx < rect.right; tx += width_)
      canvas->Draw(static_cast<int>(tx), static_cast<int>(ty), this);
}

// ---------------------------------------------------------------------------
// Parked pixels

void TpkBitmap::ParkPixels() {
  FreeParkedPixels();
  if (!GetEmpty()) {
    GdiFlush();
    parked_.assign(pixelData_, pixelData_ + size_);
    parkedSize_ = size_;
    parkedDim_ = TPoint{width_, height_};
  }
  FreeImage();
}

void TpkBitmap::UnparkPixels() {
  if (!HasParkedPixels()) return;
  LoadFromBits(parked_.data(), parkedSize_, parkedDim_);
  FreeParkedPixels();
}

void TpkBitmap::FreeParkedPixels() {
  parked_.clear();
  parked_.shrink_to_fit();
  parkedDim_ = TPoint{0, 0};
  parkedSize_ = 0;
}

// ---------------------------------------------------------------------------

void InitializePkBitmap() { RegisterClass(TpkBitmap::StaticClass()); }

void FinalizePkBitmap() { UnRegisterClass(TpkBitmap::StaticClass()); }
