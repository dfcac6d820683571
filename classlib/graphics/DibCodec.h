// Internal to the graphics unit: pixel formats, colour tables, per-pixel
// reading and writing of DIB rows, and the BMP file reader and writer.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "classlib/graphics/Bitmap.h"

namespace graphics_detail {

inline bool IsPaletteFormatOf(const TDib& dib) { return !dib.Empty() && dib.Format().BitCount <= 8; }

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

// Black and white: the table of 1-bit DIBs and of monochrome bitmaps.
const std::vector<RGBQUAD>& MonoColors();
// A 1-bit DIB with the pixels of a monochrome DDB (selected in no DC).
TDib DdbToDib(const TDib& ddb);
// A monochrome DDB with the set bits of a 1-bit DIB.
TDib DibToMonoDdb(const TDib& dib);

// Copies src into a new DIB of the format (pixels converted one by one).
TDib ConvertDib(const TDib& src, const std::vector<RGBQUAD>& srcColors, const TDibFormat& format,
                const std::vector<RGBQUAD>& colors);
// An exact copy.
TDib CopyDib(const TDib& src, const std::vector<RGBQUAD>& colors);
// Paints the whole DIB in one colour.
void FillDib(const TDib& dib, const std::vector<RGBQUAD>& colors, TColor color);
// A 1-bit DIB (black, white) with the pixels of key set.
TDib MaskDib(const TDib& src, const std::vector<RGBQUAD>& colors, TColor key);

// Where and how the pixels of a packed DIB lie, from its header.
struct TBmpLayout {
  int Width = 0, Height = 0;
  bool TopDown = false;
  TDibFormat Format;
  uint32_t Compression = BI_RGB;
  std::vector<RGBQUAD> Colors;
  size_t BitsPos = 0;   // from the start of the packed DIB
  size_t Stride = 0;    // of a file row
  size_t BitsSize = 0;  // bytes from BitsPos to the end of the data
  bool Compressed() const { return Compression == BI_RLE8 || Compression == BI_RLE4; }
};
// Checks a packed DIB's header and colour table (within the n bytes at p) and
// where its pixels lie in the total bytes the DIB has; raises EInvalidGraphic.
TBmpLayout ParseDibHeader(const uint8_t* p, size_t n, size_t total, size_t bitsOffset);
// Makes the DIB and fills it with the bytes read (in file order) from the
// pixel data; raises EInvalidGraphic for bad RLE data.
TDib ReadDibBits(const TBmpLayout& layout, const std::function<void(void*, size_t)>& read);
// The most a BMP file's headers and colour table take.
inline constexpr size_t kBmpHeadersMax = sizeof(BITMAPFILEHEADER) + 124 + 12 + 256 * 4;

// A BMP file (BITMAPFILEHEADER first). Raises EInvalidGraphic with the reason
// for anything that is not a valid bitmap; reads nothing past size.
TDib ReadBmp(const uint8_t* data, size_t size);
// A packed DIB (header, masks, colour table, bits), as in resources;
// bitsOffset, when not 0, is where the bits start.
TDib ReadPackedDib(const uint8_t* data, size_t size, size_t bitsOffset = 0);
// The BMP file of a DIB: BITMAPINFOHEADER, masks, table, bottom-up rows.
std::vector<uint8_t> WriteBmp(const TDib& dib, const std::vector<RGBQUAD>& colors);

}  // namespace graphics_detail
