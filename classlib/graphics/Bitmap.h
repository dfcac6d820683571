// TBitmap: a bitmap graphic kept as a DIB section.
//
// The pixels live in one DIB section in the format PixelFormat names, so every
// row is reachable through ScanLine (row 0 is the top row) and through the
// canvas's memory DC at the same time. pfDevice stands for a bitmap in the
// display's own format (the platform's device-dependent bitmap); here it is a
// DIB section of the display's depth, read through the colour-depth seam, so
// that it too has scan lines. Growing a bitmap keeps its pixels at the top
// left and paints the new area white.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Types.h"
#include "classlib/Win.h"
#include "classlib/graphics/Canvas.h"
#include "classlib/graphics/Colors.h"
#include "classlib/graphics/Graphic.h"
#include "classlib/graphics/PixelRow.h"

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
DECLARE_ENUM_TYPE(TPixelFormat);
enum TBitmapHandleType { bmDIB, bmDDB };
DECLARE_ENUM_TYPE(TBitmapHandleType);
enum TTransparentMode { tmAuto, tmFixed };
DECLARE_ENUM_TYPE(TTransparentMode);

namespace graphics_detail {
// The layout of a DIB: bits per pixel, BI_RGB or BI_BITFIELDS with its masks.
struct TDibFormat {
  int BitCount = 0;
  DWORD Compression = BI_RGB;
  DWORD Masks[3] = {0, 0, 0};
  friend bool operator==(const TDibFormat& a, const TDibFormat& b) {
    return a.BitCount == b.BitCount && a.Compression == b.Compression && a.Masks[0] == b.Masks[0] &&
           a.Masks[1] == b.Masks[1] && a.Masks[2] == b.Masks[2];
  }
};

// One DIB section (bottom-up, as BMP files and the platform keep it), owned.
class TDib {
 public:
  TDib() = default;
  TDib(TDib&& o) noexcept { Swap(o); }
  TDib& operator=(TDib&& o) noexcept {
    TDib tmp(std::move(o));
    Swap(tmp);
    return *this;
  }
  TDib(const TDib&) = delete;
  TDib& operator=(const TDib&) = delete;
  ~TDib();

  // Raises EOutOfResources when GDI cannot make the section. The pixels are
  // zero; colors gives the colour table of a palette format.
  static TDib Make(int width, int height, const TDibFormat& format, const std::vector<RGBQUAD>& colors);
  // Takes over a DIB section handle (null when it is none).
  static TDib Adopt(HBITMAP handle);
  // A monochrome device-dependent bitmap (CreateBitmap), all black; it has
  // no bits of its own to reach.
  static TDib MakeMonoDdb(int width, int height);
  // Takes over a monochrome device-dependent bitmap.
  static TDib AdoptMonoDdb(HBITMAP handle);
  HBITMAP Release();
  void Swap(TDib& o) noexcept;

  bool Empty() const { return handle_ == nullptr; }
  bool IsDdb() const { return ddb_; }
  HBITMAP Handle() const { return handle_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Stride() const { return stride_; }
  const TDibFormat& Format() const { return format_; }
  // Entries of the colour table the section was made with (0: none).
  int ColorCount() const { return colorCount_; }
  uint8_t* Bits() const { return bits_; }
  // Row y counted from the top.
  uint8_t* Row(int y) const {
    size_t r = static_cast<size_t>(topDown_ ? y : height_ - 1 - y);
    return bits_ + r * static_cast<size_t>(stride_);
  }

 private:
  HBITMAP handle_ = nullptr;
  uint8_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  bool topDown_ = false;
  bool ddb_ = false;
  int colorCount_ = 0;
  TDibFormat format_;
};

int DibStride(int width, int bitCount);
}  // namespace graphics_detail

class TBitmap : public TGraphic {
  DECLARE_CLASS(TBitmap, TGraphic)

  TBitmap();
  ~TBitmap() override;

  // From another TBitmap (or nil): a copy of its pixels, format and
  // transparency settings. From any other graphic: the graphic's own AssignTo,
  // which by default draws it into this bitmap.
  void Assign(TPersistent* source) override;

  void Draw(TCanvas* canvas, const TRect& rect) override;
  bool GetEmpty() const override;
  // While one side is 0 there are no pixels, but both sides read back as
  // set, so that setting the width and then the height makes the image.
  int GetWidth() const override { return image_.Empty() ? emptySize_.cx : image_.Width(); }
  int GetHeight() const override { return image_.Empty() ? emptySize_.cy : image_.Height(); }
  void SetWidth(int value) override;
  void SetHeight(int value) override;
  void SetSize(int width, int height);
  // The palette of a palette format (from its colour table), or a halftone
  // palette when the display is shallower than the bitmap; 0 otherwise or
  // when IgnorePalette is set. Owned by the bitmap.
  HPALETTE GetPalette() override;
  // Takes over the palette; a palette format takes its colours as its table.
  void SetPalette(HPALETTE value) override;
  HPALETTE ReleasePalette();

  void LoadFromStream(TStream* stream) override;
  void SaveToStream(TStream* stream) override;
  void LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette) override;
  void SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) override;
  // The stored-form "Data": a 32-bit byte count, then the BMP file.
  void ReadData(TStream* stream) override;
  void WriteData(TStream* stream) override;
  // A BITMAP resource (RT_BITMAP) of the module.
  void LoadFromResourceName(HINSTANCE instance, const std::string& name);
  void LoadFromResourceID(HINSTANCE instance, int id);

  // The BMP file of the bitmap in its own depth.
  std::vector<uint8_t> SaveToBytes() const;
  // Reads a BMP file; the bitmap is unchanged when it is not valid
  // (EInvalidGraphic).
  void LoadFromBytes(const uint8_t* data, size_t size);

  TCanvas* GetCanvas();
  // The DIB section. Getting it releases the canvas's DC (so the caller may
  // select it elsewhere) and runs Changing, as the caller may draw on it.
  HBITMAP GetHandle();
  // Takes over a bitmap: a DIB section as it is, any other bitmap copied into
  // a DIB of its depth (then deleted).
  void SetHandle(HBITMAP value);
  // Gives the DIB section away; the bitmap becomes empty.
  HBITMAP ReleaseHandle();
  bool HandleAllocated() const { return !image_.Empty(); }
  TBitmapHandleType GetHandleType() const { return device_ ? bmDDB : bmDIB; }
  void SetHandleType(TBitmapHandleType value);

  // A 1-bit mask of TransparentColor (pixels of that colour set), owned.
  HBITMAP GetMaskHandle();
  HBITMAP ReleaseMaskHandle();

  TPixelFormat GetPixelFormat() const;
  // Converts the pixels; pfCustom raises EInvalidGraphic.
  void SetPixelFormat(TPixelFormat value);
  bool GetMonochrome() const;
  void SetMonochrome(bool value);

  // The first byte of row (0 = top); EInvalidGraphicOperation "Scan line
  // index out of range" outside 0..Height-1. GDI's batch is flushed first
  // when the canvas drew (or the handle was handed out) since the last
  // flush; a caller who draws on a DC it keeps flushes itself.
  void* GetScanLine(int row);
  // The row as pixels of type T (RGBTRIPLE for pf24bit...), index-checked in
  // a checked build.
  template <class T>
  TPixelRow<T> ScanLineAs(int row) {
    auto* p = static_cast<T*>(GetScanLine(row));
    return TPixelRow<T>(p, static_cast<int>(image_.Stride() / sizeof(T)));
  }

  // Turns the bitmap into its own 1-bit mask of color: pixels of that colour
  // become set bits (white), all others clear (black).
  void Mask(TColor transparentColor);

  // tmAuto: the bottom-left pixel (white for a monochrome bitmap); tmFixed:
  // the colour set. Setting a colour makes the mode tmFixed.
  TColor GetTransparentColor();
  void SetTransparentColor(TColor value);
  TTransparentMode GetTransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode value);

  bool GetIgnorePalette() const { return ignorePalette_; }
  void SetIgnorePalette(bool value);

  // Drops the cached GDI objects (mask, palette, the canvas's DC); the pixels
  // stay.
  void FreeImage();
  void Dormant() { FreeImage(); }

  void Changed(TObject* sender) override;
  // Before the pixels change (canvas drawing, ScanLine, Handle): the cached
  // mask no longer holds.
  void Changing(TObject* sender);

  // The colour table of a palette format (empty for the others).
  std::vector<RGBQUAD> GetColorTable() const;

 protected:
  void Destroy() override;

 private:
  friend class TBitmapCanvas;
  using TDib = graphics_detail::TDib;
  using TDibFormat = graphics_detail::TDibFormat;

  void NewImage(TDib image, bool device, bool monoDevice = false);
  // The pixels as a DIB with its colour table: the image itself, or a DIB
  // copy of a monochrome device bitmap.
  const TDib& PixelsDib(TDib& scratch, std::vector<RGBQUAD>& colors) const;
  void Resize(int width, int height);
  TDibFormat CurrentFormat() const;
  void ConvertTo(const TDibFormat& format, const std::vector<RGBQUAD>& colors, bool device);
  void FreeContext() const;
  void FreeMask();
  void FreePalette();
  HPALETTE PaletteNeeded();

  TDib image_;
  TDibFormat format_;  // the format of the next image while empty
  TSize emptySize_{0, 0};  // the size asked for while empty
  bool device_ = true;
  bool monoDevice_ = false;  // a device bitmap that is a monochrome DDB
  TCanvas* canvas_ = nullptr;
  HBITMAP maskHandle_ = nullptr;
  HPALETTE palette_ = nullptr;
  bool ignorePalette_ = false;
  TColor transparentColor_ = clDefault;
  TTransparentMode transparentMode_ = tmAuto;
  // Something may have drawn into the pixels since the last GdiFlush.
  bool gdiPending_ = true;
};
