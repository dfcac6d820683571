#include "classlib/graphics/Resources.h"

#include <algorithm>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Scopes.h"
#include "classlib/graphics/DibCodec.h"

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

// Maps one colour through the tables.
COLORREF MapColor(COLORREF c, std::span<const COLORREF> from, std::span<const COLORREF> to) {
  for (size_t i = 0; i < from.size(); ++i)
    if (from[i] == c) return to[i];
  return c;
}

}  // namespace

HBITMAP CreateMappedRes(HINSTANCE instance, const TResourceName& name,
                        std::span<const TColor> oldColors, std::span<const TColor> newColors) {
  using namespace graphics_detail;
  HINSTANCE module = FindResourceHInstance(instance);
  HRSRC res = FindResourceA(module, name.Get(), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  if (!res) throw EResNotFound("Resource " + name.ToString() + " not found");
  HGLOBAL global = LoadResource(module, res);
  const auto* data = global ? static_cast<const uint8_t*>(LockResource(global)) : nullptr;
  if (!data) throw EInvalidGraphic("Bitmap resource " + name.ToString() + " is not valid");
  // The bitmap reader checks the packed DIB and gives a private copy (the
  // resource's memory is read-only).
  TDib dib;
  try {
    dib = ReadPackedDib(data, SizeofResource(module, res));
  } catch (const EInvalidGraphic& e) {
    throw EInvalidGraphic("Bitmap resource " + name.ToString() + " is not valid (" + e.GetMessage() + ")");
  }

  std::vector<COLORREF> from, to;
  size_t n = std::min(oldColors.size(), newColors.size());
  for (size_t i = 0; i < n; ++i) {
    from.push_back(static_cast<COLORREF>(ColorToRGB(oldColors[i])));
    to.push_back(static_cast<COLORREF>(ColorToRGB(newColors[i])));
  }
  const TDibFormat& format = dib.Format();
  if (format.BitCount <= 8) {
    std::vector<RGBQUAD> table = ReadColorTable(dib.Handle());
    for (RGBQUAD& q : table) {
      COLORREF c = MapColor(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue), from, to);
      q = RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0};
    }
    TMemoryDC dc(dib.Handle());
    SetDIBColorTable(dc.Get(), 0, static_cast<UINT>(table.size()), table.data());
  } else if ((format.BitCount == 24 || format.BitCount == 32) && format.Compression == BI_RGB) {
    TPixelCodec codec(format, {});
    for (int y = 0; y < dib.Height(); ++y) {
      uint8_t* row = dib.Row(y);
      for (int x = 0; x < dib.Width(); ++x)
        codec.Set(row, x, static_cast<TColor>(MapColor(static_cast<COLORREF>(codec.Get(row, x)), from, to)));
    }
  }

  // A device-dependent copy, as the platform returns.
  TOwnedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(TScreenDC().Get(), dib.Width(), dib.Height()));
  if (!bitmap) throw EOutOfResources("Out of system resources");
  {
    TMemoryDC source(dib.Handle()), target(bitmap.get());
    BitBlt(target.Get(), 0, 0, dib.Width(), dib.Height(), source.Get(), 0, 0, SRCCOPY);
  }
  return bitmap.release();
}
