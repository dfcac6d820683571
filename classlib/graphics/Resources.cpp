#include "classlib/graphics/Resources.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "classlib/Classes.h"

HINSTANCE MainInstance() { return GetModuleHandleA(nullptr); }

HINSTANCE FindResourceHInstance(HINSTANCE instance) { return instance ? instance : MainInstance(); }

std::string LoadStr(int ident) { return LoadStr(nullptr, ident); }

std::string LoadStr(HINSTANCE instance, int ident) {
  HINSTANCE module = FindResourceHInstance(instance);
  // LoadStringA cuts a string that does not fit and returns the count it
  // copied, so a result that fills the buffer may have been cut: grow and ask
  // again. An entry holds at most 65535 characters.
  std::vector<char> buffer(256);
  for (;;) {
    int n = LoadStringA(module, static_cast<UINT>(ident), buffer.data(), static_cast<int>(buffer.size()));
    if (n <= 0) return std::string();
    if (static_cast<size_t>(n) < buffer.size() - 1 || buffer.size() > 65536)
      return std::string(buffer.data(), static_cast<size_t>(n));
    buffer.resize(buffer.size() * 4);
  }
}

std::string LoadResString(PResStringRec rec) {
  if (!rec) return std::string();
  if (rec->Identifier > 0xFFFF) return std::string(reinterpret_cast<const char*>(rec->Identifier));
  return LoadStr(rec->Module, static_cast<int>(rec->Identifier));
}

HCURSOR LoadCursorResource(const TResourceName& name, HINSTANCE instance) {
  return LoadCursorA(FindResourceHInstance(instance), name.Get());
}

HICON LoadIconResource(const TResourceName& name, HINSTANCE instance) {
  return LoadIconA(FindResourceHInstance(instance), name.Get());
}

bool ResourceExists(const TResourceName& name, LPCSTR type, HINSTANCE instance) {
  return FindResourceA(FindResourceHInstance(instance), name.Get(), type) != nullptr;
}

namespace {

[[noreturn]] void BadBitmapResource(const TResourceName& name) {
  throw EInvalidGraphic("Bitmap resource " + name.ToString() + " is not valid");
}

// Maps one colour (blue, green, red bytes) through the tables.
void MapColor(BYTE& b, BYTE& g, BYTE& r, std::span<const COLORREF> from, std::span<const COLORREF> to) {
  COLORREF c = RGB(r, g, b);
  for (size_t i = 0; i < from.size(); ++i) {
    if (from[i] == c) {
      r = GetRValue(to[i]);
      g = GetGValue(to[i]);
      b = GetBValue(to[i]);
      return;
    }
  }
}

}  // namespace

HBITMAP CreateMappedRes(HINSTANCE instance, const TResourceName& name,
                        std::span<const TColor> oldColors, std::span<const TColor> newColors) {
  HINSTANCE module = FindResourceHInstance(instance);
  HRSRC res = FindResourceA(module, name.Get(), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  if (!res) throw EResNotFound("Resource " + name.ToString() + " not found");
  HGLOBAL global = LoadResource(module, res);
  const auto* data = global ? static_cast<const BYTE*>(LockResource(global)) : nullptr;
  size_t size = SizeofResource(module, res);
  if (!data || size < sizeof(BITMAPINFOHEADER)) BadBitmapResource(name);

  BITMAPINFOHEADER header;
  std::memcpy(&header, data, sizeof header);
  if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > size || header.biWidth <= 0 ||
      header.biHeight == 0 || header.biPlanes != 1)
    BadBitmapResource(name);
  size_t colors = header.biClrUsed;
  if (header.biBitCount <= 8 && colors == 0) colors = size_t{1} << header.biBitCount;
  if (header.biBitCount > 8 && header.biCompression != BI_BITFIELDS && header.biClrUsed == 0) colors = 0;
  size_t masks = (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER)) ? 3 : 0;
  size_t tableBytes = (colors + masks) * sizeof(RGBQUAD);
  size_t bitsOffset = header.biSize + tableBytes;
  uint64_t stride = ((uint64_t{static_cast<uint32_t>(header.biWidth)} * header.biBitCount + 31) / 32) * 4;
  uint64_t rows = header.biHeight < 0 ? uint64_t(-int64_t{header.biHeight}) : uint64_t(header.biHeight);
  bool compressed = header.biCompression == BI_RLE4 || header.biCompression == BI_RLE8;
  uint64_t bitsBytes = compressed ? size - std::min(size, bitsOffset) : stride * rows;
  if (bitsOffset > size || bitsBytes > size - bitsOffset) BadBitmapResource(name);

  std::vector<COLORREF> from, to;
  size_t n = std::min(oldColors.size(), newColors.size());
  for (size_t i = 0; i < n; ++i) {
    from.push_back(static_cast<COLORREF>(ColorToRGB(oldColors[i])));
    to.push_back(static_cast<COLORREF>(ColorToRGB(newColors[i])));
  }

  // A private copy: the resource's memory is read-only.
  std::vector<BYTE> copy(data, data + bitsOffset + bitsBytes);
  auto* table = reinterpret_cast<RGBQUAD*>(copy.data() + header.biSize + masks * sizeof(RGBQUAD));
  for (size_t i = 0; i < colors && header.biBitCount <= 8; ++i)
    MapColor(table[i].rgbBlue, table[i].rgbGreen, table[i].rgbRed, from, to);
  if (!compressed && header.biCompression == BI_RGB && (header.biBitCount == 24 || header.biBitCount == 32)) {
    size_t step = header.biBitCount / 8;
    for (uint64_t y = 0; y < rows; ++y) {
      BYTE* p = copy.data() + bitsOffset + y * stride;
      for (LONG x = 0; x < header.biWidth; ++x, p += step) MapColor(p[0], p[1], p[2], from, to);
    }
  }

  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, reinterpret_cast<const BITMAPINFOHEADER*>(copy.data()), CBM_INIT,
                                  copy.data() + bitsOffset, reinterpret_cast<const BITMAPINFO*>(copy.data()),
                                  DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (!bitmap) throw EOutOfResources("Out of system resources");
  return bitmap;
}
