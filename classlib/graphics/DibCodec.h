// Internal to the graphics unit: pixel formats, colour tables, per-pixel
// reading and writing of DIB rows, and the BMP file reader and writer.
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/graphics/Bitmap.h"

namespace graphics_detail {

// The layout the display's own bitmaps have at a depth (pfDevice).
TDibFormat DeviceFormat(int bitsPerPixel);
TDibFormat FormatOf(TPixelFormat pf);
// The table a new bitmap of a palette format starts with: black and white,
// the 16 VGA colours, the halftone palette.
std::vector<RGBQUAD> DefaultColors(const TDibFormat& format);
// The colour table of a DIB section (empty for formats without one).
std::vector<RGBQUAD> ReadColorTable(HBITMAP dib, HDC selectedIn = nullptr);

// Reads and writes pixels of one row as TColor values (0x00BBGGRR).
class TPixelCodec {
 public:
  TPixelCodec(const TDibFormat& format, std::vector<RGBQUAD> colors);
  TColor Get(const uint8_t* row, int x) const;
  void Set(uint8_t* row, int x, TColor color);
  // The colour as it reads back after being written in this format.
  TColor Quantize(TColor color);

 private:
  uint32_t Index(TColor color);
  TDibFormat format_;
  std::vector<RGBQUAD> colors_;
  int shift_[3] = {0, 0, 0};
  int bits_[3] = {0, 0, 0};
  TColor lastColor_ = -1;
  uint32_t lastIndex_ = 0;
};

// Copies src into a new DIB of the format (pixels converted one by one).
TDib ConvertDib(const TDib& src, const std::vector<RGBQUAD>& srcColors, const TDibFormat& format,
                const std::vector<RGBQUAD>& colors);
// An exact copy.
TDib CopyDib(const TDib& src, const std::vector<RGBQUAD>& colors);
// Paints the whole DIB in one colour.
void FillDib(const TDib& dib, const std::vector<RGBQUAD>& colors, TColor color);
// A 1-bit DIB (black, white) with the pixels of key set.
TDib MaskDib(const TDib& src, const std::vector<RGBQUAD>& colors, TColor key);

// A BMP file (BITMAPFILEHEADER first). Raises EInvalidGraphic with the reason
// for anything that is not a valid bitmap; reads nothing past size.
TDib ReadBmp(const uint8_t* data, size_t size);
// A packed DIB (header, masks, colour table, bits), as in resources;
// bitsOffset, when not 0, is where the bits start.
TDib ReadPackedDib(const uint8_t* data, size_t size, size_t bitsOffset = 0);
// The BMP file of a DIB: BITMAPINFOHEADER, masks, table, bottom-up rows.
std::vector<uint8_t> WriteBmp(const TDib& dib, const std::vector<RGBQUAD>& colors);

}  // namespace graphics_detail
