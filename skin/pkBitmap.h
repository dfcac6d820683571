// TpkBitmap: the skin library's own graphic, a 24-bit top-down DIB section
// whose every pixel is reachable in memory through a table of row pointers.
//
// It is the working surface of the imager's effect chain (the effects live in
// pkBitmapEffects.cpp), the image type of the image buttons, and the source
// of alpha blending. Pixels are three bytes blue, green, red; a pixel passed
// around as one integer (a "pixel triple") is red << 16 | green << 8 | blue,
// which is not the TColor order. Rows are padded to four bytes: the gap is
// Width mod 4 bytes and the stride 3 * Width + Width mod 4.
//
// Pixel loops read and write through GetRow/GetRowBytes, which check their
// indexes in a checked build (PERIVANE_CHECKED); the row-gap bytes are never
// part of a row view.
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/Win.h"
#include "skin/pkGdi.h"

class TpkBitmap;

// A listener of change notifications (bitmaps, buttons, imagers): the
// notifier sets Sender and calls Change, Changing or Loaded.
class TpkChangeLink : public TObject {
  DECLARE_CLASS(TpkChangeLink, TObject)

  TObject* GetSender() const { return sender_; }
  void SetSender(TObject* value) { sender_ = value; }

  virtual void Change();
  virtual void Changing();
  virtual void Loaded();

  const TNotifyEvent& GetOnChange() const { return onChange_; }
  void SetOnChange(const TNotifyEvent& e) { onChange_ = e; }
  const TNotifyEvent& GetOnChanging() const { return onChanging_; }
  void SetOnChanging(const TNotifyEvent& e) { onChanging_ = e; }
  const TNotifyEvent& GetOnLoaded() const { return onLoaded_; }
  void SetOnLoaded(const TNotifyEvent& e) { onLoaded_ = e; }

 private:
  TObject* sender_ = nullptr;
  TNotifyEvent onChange_;
  TNotifyEvent onChanging_;
  TNotifyEvent onLoaded_;
};

// Helpers shared by the bitmap and its effects. Arguments are 64-bit so that
// sums and products of any Integer amounts reach them unclipped.
inline uint8_t ClampByte(int64_t v) { return v < 0 ? 0 : v > 255 ? 255 : static_cast<uint8_t>(v); }
inline int64_t ClampInt(int64_t v, int64_t low, int64_t high) { return v > high ? high : v < low ? low : v; }
// ColorToRGB(c) as a pixel triple (red from the colour's low byte).
int ColorToPixel(TColor c);
// The TColor of a pixel triple.
TColor PixelToColor(int p);
inline int PixelOf(const RGBTRIPLE& t) { return t.rgbtRed << 16 | t.rgbtGreen << 8 | t.rgbtBlue; }
inline RGBTRIPLE TripleOf(int p) {
  return RGBTRIPLE{static_cast<BYTE>(p), static_cast<BYTE>(p >> 8), static_cast<BYTE>(p >> 16)};
}
// One row of a 1-bit mask (leftmost pixel in the high bit): 0 (black) where
// the pixel is key (a pixel triple), 1 (white) elsewhere.
void KeyMaskRow(TPixelRow<const RGBTRIPLE> pixels, TPixelRow<uint8_t> bits, int key);

class TpkBitmap : public TGraphic {
  DECLARE_CLASS(TpkBitmap, TGraphic)

  TpkBitmap();
  ~TpkBitmap() override;

  // --- TPersistent / TGraphic ------------------------------------------------
  void AssignTo(TPersistent* dest) override;
  void Assign(TPersistent* source) override;
  // Nothing while SuppressChange is set; else OnChange, then the links.
  void Changed(TObject* sender) override;
  void Draw(TCanvas* canvas, const TRect& rect) override;
  bool GetEmpty() const override { return !handle_; }
  int GetHeight() const override { return height_; }
  int GetWidth() const override { return width_; }
  void SetHeight(int value) override { SetSizeIfChanged(width_, value); }
  void SetWidth(int value) override { SetSizeIfChanged(value, height_); }
  void SetTransparent(bool value) override;
  // The palette realised around a draw on a palette display (0 otherwise).
  HPALETTE GetPalette() override { return palette_.get(); }
  // The platform's BMP format, through a TBitmap.
  void LoadFromStream(TStream* stream) override;
  void SaveToStream(TStream* stream) override;
  // Clipboard formats are not supported: both do nothing.
  void LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette) override;
  void SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) override;

  // --- Palette, storage and loading ------------------------------------------
  virtual void RestorePalette(TCanvas* canvas, HPALETTE oldPalette);
  virtual void RealizePalette(TCanvas* canvas, HPALETTE& oldPalette);
  // Releases the DIB section and everything built on it; the bitmap is empty.
  virtual void FreeImage();
  virtual void BuildRowTable();
  virtual void NotifyLinks();
  virtual void CreatePalette();
  virtual void RegisterChanges(TpkChangeLink* link);
  virtual void UnregisterChanges(TpkChangeLink* link);
  virtual void Clear() { FreeImage(); }
  virtual void FreeParkedPixels();
  // A new white image (contents lost); a dimension of 0 or less leaves the
  // bitmap empty.
  virtual void SetSize(int width, int height);
  virtual void LoadFromBitmap(TBitmap* bitmap);
  virtual void LoadFromGraphic(TGraphic* graphic);
  virtual void AssignGraphic(TGraphic* graphic);
  // Pixel bytes in this bitmap's own layout for a picture of dim.x x dim.y;
  // EInvalidGraphic (bitmap unchanged) when size is too small for it.
  virtual void LoadFromBits(const void* data, int size, TPoint dim);
  virtual void SaveToBitmap(TBitmap* bitmap);
  virtual void SetSizeIfChanged(int width, int height);
  // Keeps the picture, stretched to the new size.
  virtual void Resize(int width, int height);
  // Moves the pixels into memory and releases every GDI object.
  virtual void ParkPixels();
  virtual void SmoothStretchDraw(TCanvas* canvas, const TRect& rect);
  virtual void StretchDraw(TCanvas* canvas, const TRect& rect);
  virtual void TileDraw(TCanvas* canvas, const TRect& rect);
  virtual void DrawTransparent(TCanvas* canvas, const TRect& rect);
  virtual void UnparkPixels();

  // --- Effects (pkBitmapEffects.cpp) -----------------------------------------
  virtual void Blur(int amount);
  virtual void Contrast(int amount);
  virtual void Emboss();
  virtual void Flip(bool horizontal);
  virtual void GaussianBlur(int amount);
  virtual void GrayScale();
  virtual void Invert();
  virtual void Lightness(int amount);
  // Pixels equal to key (a pixel triple) black, all others white.
  virtual void Mask(int key);
  virtual void ReplaceColor(int oldColor, int newColor);
  virtual void Tint(int r, int g, int b);
  virtual void Colorize(int r, int g, int b);
  virtual void Rotate(TPoint center, double angle);
  virtual void Saturation(int amount);
  virtual void Sharpen(int amount);
  virtual void Sponge(int amount);
  virtual void Wave(bool wrap, double xDiv, double yDiv, double ratio);
  // Moves every pixel toward source's by amount/256 of the difference;
  // EInvalidOperation when the sizes differ and stretch is false.
  void AlphaBlend(TpkBitmap* source, int amount, bool stretch);

  // The monochrome mask of the transparent colour: black where a pixel has
  // the key colour, white elsewhere. Owned by the bitmap and dropped whenever
  // the pixels, TransparentColor or Transparent may have changed.
  TBitmap* GetTransparencyMask();
  bool HasParkedPixels() const { return parkedSize_ > 0 && !parked_.empty(); }

  // --- Pixels ----------------------------------------------------------------
  // Row y (0 = top) as Width pixels. The non-const views may be written, so
  // they drop the transparency mask.
  TPixelRow<RGBTRIPLE> GetRow(int y);
  TPixelRow<const RGBTRIPLE> GetRow(int y) const;
  // Row y as its 3 * Width pixel bytes (no gap bytes).
  TPixelRow<uint8_t> GetRowBytes(int y);
  // Pixel triples.
  int GetPixel(int x, int y) const { return PixelOf(GetRow(y)[x]); }
  void SetPixel(int x, int y, int p) { GetRow(y)[x] = TripleOf(p); }

  // --- Fields ----------------------------------------------------------------
  bool GetSmoothStretching() const { return smoothStretching_; }
  void SetSmoothStretching(bool value) { smoothStretching_ = value; }
  // clNone: the colour of the top-left pixel when the mask is built.
  TColor GetTransparentColor() const { return transparentColor_; }
  void SetTransparentColor(TColor value);
  int GetRowGap() const { return rowGap_; }
  int GetRowStride() const { return rowStride_; }
  int GetSize() const { return size_; }
  uint8_t* GetPixelData() {
    DropMask();
    return pixelData_;
  }
  const uint8_t* GetPixelData() const { return pixelData_; }
  HBITMAP GetHandle() const { return handle_.get(); }
  // The DC the section is selected into. Through a non-const bitmap it may be
  // drawn on, so it drops the transparency mask.
  HDC GetMemoryDC() {
    DropMask();
    return memoryDC_.Get();
  }
  HDC GetMemoryDC() const { return memoryDC_.Get(); }
  TCanvas* GetCanvas() const { return canvas_; }
  int GetParkedSize() const { return parkedSize_; }
  TPoint GetParkedDim() const { return parkedDim_; }
  TPixelFormat GetPixelFormat() const { return pixelFormat_; }
  void SetPixelFormat(TPixelFormat value) { pixelFormat_ = value; }
  bool GetRespectPalette() const { return respectPalette_; }
  void SetRespectPalette(bool value) { respectPalette_ = value; }
  bool GetHalftonePalette() const { return halftonePalette_; }
  void SetHalftonePalette(bool value) { halftonePalette_ = value; }
  bool GetSuppressChange() const { return suppressChange_; }
  void SetSuppressChange(bool value) { suppressChange_ = value; }
  const BITMAPINFOHEADER& GetHeader() const { return header_; }
  bool GetHasColorTable() const { return hasColorTable_; }
  // The 256 entries taken from the last TBitmap loaded.
  const RGBQUAD* GetColorTable() const { return colorTable_; }
  void SetColorTable(const RGBQUAD* table, bool hasColorTable);

 protected:
  void Destroy() override;

 private:
  void DropMask() { FreeAndNil(transparencyMask_); }
  void CanvasChanging(TObject*) { DropMask(); }
  void FillHeader(int width, int height);
  // SetSize, white or (for a temporary whose every pixel is written next)
  // as the section comes.
  void Allocate(int width, int height, bool white);
  // A new DIB section of the given size (zero bits); the old image stays
  // until the caller installs the new one.
  pk_detail::TGdiObject<HBITMAP> MakeSection(int width, int height, uint8_t*& bits);
  void InstallSection(pk_detail::TGdiObject<HBITMAP> section, uint8_t* bits, int width, int height);
  bool OnPaletteDisplay() const;
  // The key of the transparency mask as a pixel triple.
  int MaskKey() const;
  void DrawWhole(HDC dc, int x, int y);
  // Bits per pixel (1, 4 or 8) of a palette-format bitmap's rows, or 0.
  static int IndexBitCount(TBitmap* bitmap);
  // Pixels into a palette-format bitmap of that many bits per pixel as
  // indices of its colour table.
  void WriteIndexed(TBitmap* bitmap, int bits) const;
  // The smooth stretch's target of w x h (contents undefined), kept between
  // draws.
  TpkBitmap* StretchScratch(int w, int h);

  bool smoothStretching_ = false;
  TColor transparentColor_ = clNone;
  int width_ = 0;
  int height_ = 0;
  int rowGap_ = 0;
  int rowStride_ = 0;
  int size_ = 0;
  uint8_t* pixelData_ = nullptr;
  pk_detail::TGdiObject<HBITMAP> handle_;
  pk_detail::TMemoryDC memoryDC_;
  TCanvas* canvas_ = nullptr;
  std::vector<TpkChangeLink*> linkList_;
  std::vector<uint8_t> parked_;
  int parkedSize_ = 0;
  TPoint parkedDim_{0, 0};
  TPixelFormat pixelFormat_ = pf24bit;
  bool respectPalette_ = false;
  bool halftonePalette_ = false;
  bool suppressChange_ = false;
  BITMAPINFOHEADER header_{};
  bool hasColorTable_ = false;
  pk_detail::TGdiObject<HPALETTE> palette_;
  RGBQUAD colorTable_[256]{};
  std::vector<uint8_t*> rows_;
  TBitmap* transparencyMask_ = nullptr;
  // Reused by SmoothStretchDraw while the target size stays: a new DIB
  // section and memory DC for every draw cost more than the filter itself.
  // Released with the image.
  TpkBitmap* stretchScratch_ = nullptr;
  bool paletteHeld_ = false;
  bool copyingOut_ = false;
};

// Start-up of the unit: TpkBitmap joins the class registry, so stored forms
// and pictures can hold it.
void InitializePkBitmap();
void FinalizePkBitmap();
