#include "classlib/graphics/Bitmap.h"

#include <cstring>
#include <string>

#include "classlib/Scopes.h"
#include "classlib/Seams.h"
#include "classlib/classes/Errors.h"
#include "classlib/graphics/DibCodec.h"

using namespace graphics_detail;

DEFINE_ENUM_TYPE(TPixelFormat, "pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit", "pf24bit",
                 "pf32bit", "pfCustom")
DEFINE_ENUM_TYPE(TBitmapHandleType, "bmDIB", "bmDDB")
DEFINE_ENUM_TYPE(TTransparentMode, "tmAuto", "tmFixed")

// The bitmap's canvas: a memory DC with the DIB section selected, made when
// drawing needs it and dropped whenever the image is replaced or its handle
// is handed out (a bitmap can be selected into one DC only).
class TBitmapCanvas : public TCanvas {
  DECLARE_CLASS(TBitmapCanvas, TCanvas)

  explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}

  void FreeContext() {
    HDC dc = dc_;
    if (!dc) return;
    SetHandle(nullptr);
    if (old_) SelectObject(dc, old_);
    DeleteDC(dc);
    dc_ = nullptr;
    old_ = nullptr;
  }

 protected:
  void CreateHandle() override {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) throw EOutOfResources("Out of system resources");
    old_ = bitmap_->image_.Empty() ? nullptr : SelectObject(dc, bitmap_->image_.Handle());
    dc_ = dc;
    SetHandle(dc);
  }
  void Destroy() override {
    FreeContext();
    inherited::Destroy();
  }

 private:
  TBitmap* bitmap_;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

IMPLEMENT_CLASS(TBitmapCanvas)
IMPLEMENT_CLASS(TBitmap)

namespace {
[[noreturn]] void ScanLineError() { throw EInvalidGraphicOperation("Scan line index out of range"); }

bool IsPaletteFormat(const TDibFormat& f) { return f.BitCount > 0 && f.BitCount <= 8; }
}  // namespace

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
  if (maskHandle_) DeleteObject(maskHandle_);
  if (palette_) DeleteObject(palette_);
}

void TBitmap::Destroy() {
  if (canvas_) {
    static_cast<TBitmapCanvas*>(canvas_)->FreeContext();
    FreeAndNil(canvas_);
  }
  FreeMask();
  FreePalette();
  inherited::Destroy();
}

// ---------------------------------------------------------------------------
// Image bookkeeping

void TBitmap::FreeContext() const {
  if (canvas_) static_cast<TBitmapCanvas*>(canvas_)->FreeContext();
}

void TBitmap::FreeMask() {
  if (maskHandle_) DeleteObject(maskHandle_);
  maskHandle_ = nullptr;
}

void TBitmap::FreePalette() {
  if (palette_) DeleteObject(palette_);
  palette_ = nullptr;
}

void TBitmap::NewImage(TDib image, bool device, bool monoDevice) {
  FreeContext();
  FreeMask();
  gdiPending_ = true;
  FreePalette();
  if (!image.Empty()) format_ = image.Format();
  image_ = std::move(image);
  emptySize_ = TSize{0, 0};
  device_ = device;
  monoDevice_ = device && monoDevice;
}

const TDib& TBitmap::PixelsDib(TDib& scratch, std::vector<RGBQUAD>& colors) const {
  if (!image_.IsDdb()) {
    colors = GetColorTable();
    return image_;
  }
  // GetDIBits wants the bitmap selected in no DC.
  FreeContext();
  scratch = DdbToDib(image_);
  colors = MonoColors();
  return scratch;
}

TDibFormat TBitmap::CurrentFormat() const {
  if (!image_.Empty()) return image_.Format();
  if (monoDevice_) return TDibFormat{1};
  if (device_) return DeviceFormat(Seams().DisplayBitsPerPixel());
  return format_.BitCount ? format_ : TDibFormat{24};
}

std::vector<RGBQUAD> TBitmap::GetColorTable() const {
  if (image_.IsDdb()) return MonoColors();
  if (image_.Empty() || !IsPaletteFormat(image_.Format())) return {};
  // The canvas's DC holds the section: read through it (a second DC could
  // not select it), which also sees a table changed there.
  HDC dc = canvas_ && canvas_->HandleAllocated() ? CanvasDC(canvas_) : nullptr;
  std::vector<RGBQUAD> table = ReadColorTable(image_.Handle(), dc);
  if (table.size() > static_cast<size_t>(image_.ColorCount())) table.resize(static_cast<size_t>(image_.ColorCount()));
  return table;
}

bool TBitmap::GetEmpty() const { return image_.Empty(); }

void TBitmap::Changed(TObject* sender) {
  FreeMask();
  inherited::Changed(sender);
}

void TBitmap::Changing(TObject*) {
  // The pixels may change; the colour table (and so the palette) does not.
  // GDI may batch what is drawn now: ScanLine flushes before it reads.
  FreeMask();
  gdiPending_ = true;
}

// ---------------------------------------------------------------------------
// Size and format

void TBitmap::SetWidth(int value) { SetSize(value, GetHeight()); }
void TBitmap::SetHeight(int value) { SetSize(GetWidth(), value); }

void TBitmap::SetSize(int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (width == GetWidth() && height == GetHeight()) return;
  Resize(width, height);
  Changed(this);
}

void TBitmap::Resize(int width, int height) {
  if (width == 0 || height == 0) {
    TDibFormat f = CurrentFormat();
    NewImage(TDib(), device_, monoDevice_);
    format_ = f;
    emptySize_ = TSize{width, height};
    return;
  }
  if (monoDevice_) {
    // White, with the old bits at the top left.
    TDib next = TDib::MakeMonoDdb(width, height);
    FreeContext();
    TMemoryDC to(next.Handle());
    PatBlt(to.Get(), 0, 0, width, height, WHITENESS);
    if (!image_.Empty()) {
      TMemoryDC from(image_.Handle());
      BitBlt(to.Get(), 0, 0, image_.Width(), image_.Height(), from.Get(), 0, 0, SRCCOPY);
    }
    NewImage(std::move(next), true, true);
    return;
  }
  TDibFormat f = CurrentFormat();
  std::vector<RGBQUAD> colors = image_.Empty() ? DefaultColors(f) : GetColorTable();
  TDib next = TDib::Make(width, height, f, colors);
  FillDib(next, colors, clWhite);
  if (!image_.Empty()) {
    // The old pixels stay at the top left.
    GdiFlush();
    int w = std::min(width, image_.Width()), h = std::min(height, image_.Height());
    size_t wholeBytes = static_cast<size_t>(w) * static_cast<size_t>(f.BitCount) / 8;
    int done = static_cast<int>(wholeBytes * 8 / static_cast<size_t>(f.BitCount));
    TPixelCodec codec(f, colors);
    for (int y = 0; y < h; ++y) {
      std::memcpy(next.Row(y), image_.Row(y), wholeBytes);
      for (int x = done; x < w; ++x) codec.Set(next.Row(y), x, codec.Get(image_.Row(y), x));
    }
  }
  NewImage(std::move(next), device_);
}

TPixelFormat TBitmap::GetPixelFormat() const {
  if (device_) return pfDevice;
  const TDibFormat& f = CurrentFormat();
  switch (f.BitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16:
      if (f.Compression == BI_RGB) return pf15bit;
      if (f == FormatOf(pf16bit)) return pf16bit;
      return pfCustom;
    case 24: return pf24bit;
    case 32: return f.Compression == BI_RGB ? pf32bit : pfCustom;
    default: return pfCustom;
  }
}

void TBitmap::ConvertTo(const TDibFormat& format, const std::vector<RGBQUAD>& colors, bool device) {
  if (image_.Empty()) {
    TSize size = emptySize_;
    NewImage(TDib(), device);
    format_ = format;
    emptySize_ = size;
    return;
  }
  TDib scratch;
  std::vector<RGBQUAD> from;
  const TDib& src = PixelsDib(scratch, from);
  TDib next = ConvertDib(src, from, format, colors);
  NewImage(std::move(next), device);
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
  if (value == GetPixelFormat()) return;
  if (value == pfCustom) throw EInvalidGraphic("Invalid pixel format");
  if (value == pfDevice) {
    SetHandleType(bmDDB);
    return;
  }
  TDibFormat f = FormatOf(value);
  ConvertTo(f, DefaultColors(f), false);
  SetPaletteModified(IsPaletteFormat(f));
  Changed(this);
}

void TBitmap::SetHandleType(TBitmapHandleType value) {
  if (value == GetHandleType()) return;
  if (value == bmDIB) {
    // The same pixels, now named by their own format.
    if (image_.IsDdb()) {
      NewImage(DdbToDib(image_), false);
      return;
    }
    if (image_.Empty()) format_ = CurrentFormat();
    device_ = monoDevice_ = false;
    return;
  }
  TDibFormat f = DeviceFormat(Seams().DisplayBitsPerPixel());
  if (!image_.Empty() && image_.Format() == f) {
    device_ = true;
    return;
  }
  ConvertTo(f, DefaultColors(f), true);
  Changed(this);
}

bool TBitmap::GetMonochrome() const { return CurrentFormat().BitCount == 1; }

void TBitmap::SetMonochrome(bool value) {
  if (value == GetMonochrome()) return;
  if (value && device_) {
    // A device bitmap becomes a monochrome DDB: white where it was white
    // (GDI's background-colour rule), black elsewhere.
    TDib mono;
    TSize size = emptySize_;
    if (!image_.Empty()) mono = DibToMonoDdb(MaskDib(image_, GetColorTable(), clWhite));
    NewImage(std::move(mono), true, true);
    format_ = TDibFormat{1};
    if (image_.Empty()) emptySize_ = size;
  } else if (value) {
    ConvertTo(TDibFormat{1}, DefaultColors(TDibFormat{1}), false);
  } else {
    TDibFormat f = DeviceFormat(Seams().DisplayBitsPerPixel());
    ConvertTo(f, DefaultColors(f), true);
  }
  Changed(this);
}

// ---------------------------------------------------------------------------
// Pixels

void* TBitmap::GetScanLine(int row) {
  if (row < 0 || row >= GetHeight()) ScanLineError();
  // A monochrome device bitmap has no bits to reach: it becomes a 1-bit DIB.
  if (image_.IsDdb()) NewImage(DdbToDib(image_), false);
  FreeMask();
  // GDI may still be drawing into the section, but only when something drew
  // since the last flush: a flush per row of a pass over the pixels cost as
  // much as copying them all.
  if (gdiPending_) {
    Seams().GdiFlush();
    gdiPending_ = false;
  }
  return image_.Row(row);
}

void TBitmap::Mask(TColor transparentColor) {
  if (image_.Empty()) return;
  TColor key = transparentColor == clDefault ? GetTransparentColor() : ColorToRGB(transparentColor);
  TDib scratch;
  std::vector<RGBQUAD> colors;
  TDib mask = MaskDib(PixelsDib(scratch, colors), colors, key);
  NewImage(std::move(mask), false);
  Changed(this);
}

HBITMAP TBitmap::GetMaskHandle() {
  if (!maskHandle_ && !image_.Empty()) {
    TColor key = GetTransparentColor();
    TDib scratch;
    std::vector<RGBQUAD> colors;
    maskHandle_ = MaskDib(PixelsDib(scratch, colors), colors, key).Release();
  }
  return maskHandle_;
}

HBITMAP TBitmap::ReleaseMaskHandle() {
  HBITMAP h = GetMaskHandle();
  maskHandle_ = nullptr;
  return h;
}

TColor TBitmap::GetTransparentColor() {
  if (transparentColor_ != clDefault) return ColorToRGB(transparentColor_);
  if (GetMonochrome()) return clWhite;
  if (image_.Empty()) return clDefault;
  GdiFlush();
  TPixelCodec codec(image_.Format(), GetColorTable());
  return codec.Get(image_.Row(image_.Height() - 1), 0);
}

void TBitmap::SetTransparentColor(TColor value) {
  if (value == transparentColor_) return;
  transparentMode_ = value == clDefault ? tmAuto : tmFixed;
  transparentColor_ = value;
  Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
  if (value == transparentMode_) return;
  if (value == tmAuto) SetTransparentColor(clDefault);
  else SetTransparentColor(GetTransparentColor());
}

// ---------------------------------------------------------------------------
// Handles, palette, canvas

TCanvas* TBitmap::GetCanvas() {
  if (!canvas_) {
    canvas_ = New<TBitmapCanvas>(this);
    canvas_->SetOnChange(TNotifyEvent(static_cast<TGraphic*>(this), &TGraphic::Changed));
    canvas_->SetOnChanging(TNotifyEvent(this, &TBitmap::Changing));
  }
  return canvas_;
}

HBITMAP TBitmap::GetHandle() {
  FreeContext();
  Changing(this);
  return image_.Handle();
}

void TBitmap::SetHandle(HBITMAP value) {
  if (value && value == image_.Handle()) return;
  if (!value) {
    NewImage(TDib(), device_, monoDevice_);
    Changed(this);
    return;
  }
  TDib dib = TDib::Adopt(value);
  bool device = false, mono = false;
  if (dib.Empty()) dib = TDib::AdoptMonoDdb(value);
  if (!dib.Empty()) {
    device = mono = dib.IsDdb();
  } else {
    // Any other device-dependent bitmap: its pixels, read back at 32 bits,
    // become a DIB in the display's format.
    BITMAP bm{};
    if (!GetObjectA(value, sizeof bm, &bm)) throw EInvalidGraphic("Bitmap image is not valid");
    TDib wide = TDib::Make(bm.bmWidth, bm.bmHeight, TDibFormat{32}, {});
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    GetDIBits(TScreenDC().Get(), value, 0, static_cast<UINT>(bm.bmHeight), wide.Bits(), &bi, DIB_RGB_COLORS);
    TDibFormat f = DeviceFormat(Seams().DisplayBitsPerPixel());
    dib = f == wide.Format() ? std::move(wide) : ConvertDib(wide, {}, f, DefaultColors(f));
    device = true;
    DeleteObject(value);
  }
  NewImage(std::move(dib), device, mono);
  Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
  FreeContext();
  FreeMask();
  FreePalette();
  Changing(this);
  TDibFormat f = CurrentFormat();
  HBITMAP h = image_.Release();
  format_ = f;
  return h;
}

HPALETTE TBitmap::PaletteNeeded() {
  if (ignorePalette_ || palette_ || image_.Empty() || image_.IsDdb()) return palette_;
  if (IsPaletteFormat(image_.Format())) {
    std::vector<RGBQUAD> table = GetColorTable();
    if (table.empty()) return nullptr;
    std::vector<uint8_t> buf(sizeof(LOGPALETTE) + table.size() * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = static_cast<WORD>(table.size());
    for (size_t i = 0; i < table.size(); ++i)
      lp->palPalEntry[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    palette_ = CreatePalette(lp);
  } else if (Seams().DisplayBitsPerPixel() < image_.Format().BitCount && Seams().DisplayBitsPerPixel() <= 8) {
    // A deep image on a palette display draws through the halftone palette.
    palette_ = CreateHalftonePalette(TScreenDC().Get());
  }
  return palette_;
}

HPALETTE TBitmap::GetPalette() { return PaletteNeeded(); }

void TBitmap::SetPalette(HPALETTE value) {
  if (value == palette_) return;
  FreePalette();
  if (value && !image_.Empty() && !image_.IsDdb() && IsPaletteFormat(image_.Format())) {
    PALETTEENTRY entries[256]{};
    UINT n = GetPaletteEntries(value, 0, 1u << image_.Format().BitCount, entries);
    RGBQUAD table[256]{};
    for (UINT i = 0; i < n; ++i) table[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    if (canvas_ && canvas_->HandleAllocated()) {
      SetDIBColorTable(CanvasDC(canvas_), 0, n, table);
    } else {
      TMemoryDC dc(image_.Handle());
      SetDIBColorTable(dc.Get(), 0, n, table);
    }
  }
  palette_ = value;
  SetPaletteModified(true);
  Changed(this);
}

HPALETTE TBitmap::ReleasePalette() {
  HPALETTE p = PaletteNeeded();
  palette_ = nullptr;
  return p;
}

void TBitmap::SetIgnorePalette(bool value) {
  if (value == ignorePalette_) return;
  ignorePalette_ = value;
  FreePalette();
  Changed(this);
}

void TBitmap::FreeImage() {
  FreeContext();
  FreeMask();
  FreePalette();
}

// ---------------------------------------------------------------------------
// Drawing and copying

void TBitmap::Draw(TCanvas* canvas, const TRect& rect) {
  if (image_.Empty()) return;
  HDC dst = CanvasDC(canvas, csAllValid);
  // Palettes are realised only where the display has one.
  HPALETTE pal = !ignorePalette_ && Seams().DisplayBitsPerPixel() <= 8 ? PaletteNeeded() : nullptr;
  TSelectedPalette palette(dst, pal);
  if (!GetMonochrome()) SetStretchBltMode(dst, STRETCH_DELETESCANS);
  int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (GetTransparent()) {
    HBITMAP mask = GetMaskHandle();
    HDC src = CanvasDC(GetCanvas());
    TMemoryDC maskDC(mask);
    TransparentStretchBlt(dst, rect.left, rect.top, w, h, src, 0, 0, GetWidth(), GetHeight(), maskDC.Get(), 0, 0);
  } else {
    HDC src = CanvasDC(GetCanvas());
    StretchBlt(dst, rect.left, rect.top, w, h, src, 0, 0, GetWidth(), GetHeight(),
               static_cast<DWORD>(canvas->GetCopyMode()));
  }
}

void TBitmap::Assign(TPersistent* source) {
  if (!source) {
    NewImage(TDib(), device_, monoDevice_);
    SetPaletteModified(false);
    Changed(this);
    return;
  }
  if (auto* b = dynamic_cast<TBitmap*>(source)) {
    if (b == this) return;
    TDib copy;
    if (b->image_.IsDdb()) {
      TDib scratch;
      std::vector<RGBQUAD> colors;
      copy = DibToMonoDdb(b->PixelsDib(scratch, colors));
    } else {
      copy = CopyDib(b->image_, b->GetColorTable());
    }
    NewImage(std::move(copy), b->device_, b->monoDevice_);
    format_ = b->CurrentFormat();
    emptySize_ = b->emptySize_;
    ignorePalette_ = b->ignorePalette_;
    transparentColor_ = b->transparentColor_;
    transparentMode_ = b->transparentMode_;
    // The platform copies the flag without announcing it; Changed follows.
    if (GetTransparent() != b->GetTransparent()) {
      TNotifyEvent saved = GetOnChange();
      SetOnChange(nullptr);
      SetTransparent(b->GetTransparent());
      SetOnChange(saved);
    }
    SetPaletteModified(GetPalette() != nullptr);
    Changed(this);
    return;
  }
  inherited::Assign(source);
}

// ---------------------------------------------------------------------------
// BMP files, resources, clipboard

std::vector<uint8_t> TBitmap::SaveToBytes() const {
  TDib scratch;
  std::vector<RGBQUAD> colors;
  const TDib& dib = PixelsDib(scratch, colors);
  return WriteBmp(dib, colors);
}

void TBitmap::LoadFromBytes(const uint8_t* data, size_t size) {
  TDib dib;
  if (size) dib = ReadBmp(data, size);
  NewImage(std::move(dib), false);
  SetPaletteModified(IsPaletteFormatOf(image_));
  Changed(this);
}

void TBitmap::SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) {
  format = CF_BITMAP;
  data = nullptr;
  palette = nullptr;
  if (image_.Empty()) return;
  // The clipboard takes a device-dependent copy (and owns it from then on).
  HBITMAP ddb = CreateCompatibleBitmap(TScreenDC().Get(), GetWidth(), GetHeight());
  if (!ddb) throw EOutOfResources("Out of system resources");
  {
    TMemoryDC dc(ddb);
    HDC src = CanvasDC(GetCanvas());
    BitBlt(dc.Get(), 0, 0, GetWidth(), GetHeight(), src, 0, 0, SRCCOPY);
  }
  data = ddb;
  if (HPALETTE own = GetPalette()) {
    PALETTEENTRY entries[256]{};
    UINT n = GetPaletteEntries(own, 0, 256, entries);
    std::vector<uint8_t> buf(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = static_cast<WORD>(n);
    std::memcpy(lp->palPalEntry, entries, n * sizeof(PALETTEENTRY));
    palette = CreatePalette(lp);
  }
}

void TBitmap::LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE) {
  if (format != CF_BITMAP || !data) throw EInvalidGraphic("Unsupported clipboard format");
  // The clipboard keeps its bitmap: take a copy.
  HBITMAP copy = static_cast<HBITMAP>(CopyImage(data, IMAGE_BITMAP, 0, 0, 0));
  if (!copy) throw EInvalidGraphic("Bitmap image is not valid");
  SetHandle(copy);
}
