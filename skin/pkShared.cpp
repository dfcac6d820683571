#include "skin/pkShared.h"

#include <vector>

#include "classlib/Classes.h"
#include "skin/pkBitmap.h"
#include "skin/pkGdi.h"

using pk_detail::TDCColors;
using pk_detail::TGdiObject;

DEFINE_ENUM_TYPE(TpkTokenOption, "ntSkipBlanks", "ntQuoted", "ntSpaces")

namespace {

std::string& Version() {
  static std::string version;
  return version;
}

// Ternary raster operations of the masked blits.
constexpr DWORD kRopDSna = 0x00220326;     // D AND NOT S
constexpr DWORD kRopDSPDxax = 0x00E20746;  // S ? P : D

}  // namespace

const std::string& GetPkVersion() { return Version(); }

void InitializePkShared() { Version() = "3000.03"; }

void FinalizePkShared() { Version().clear(); }

// ---------------------------------------------------------------------------
// Classes and colours

bool InheritsFromName(TClass cls, std::string_view name) {
  for (; cls; cls = cls->ClassParent())
    if (SameName(cls->ClassName(), name)) return true;
  return false;
}

TColor AdjustColor(TColor color, int percent, bool relative) {
  TpkColorBytes c = SplitColor(color);
  const int64_t p = percent;
  auto adjust = [&](int64_t v, int64_t other1, int64_t other2) -> uint8_t {
    int64_t r;
    if (v == 0 && p > 0 && (other1 == 255 || other2 == 255)) {
      // A fully saturated colour lightens towards white.
      r = relative ? p * 255 / 100 : p;
    } else if (relative) {
      r = p > 0 ? v + p * (255 - v) / 100 : v + p * v / 100;
    } else {
      r = v + p;
    }
    return ClampByte(r);
  };
  uint8_t r = adjust(c.R, c.G, c.B);
  uint8_t g = adjust(c.G, c.R, c.B);
  uint8_t b = adjust(c.B, c.R, c.G);
  return static_cast<TColor>(RGB(r, g, b));
}

TpkColorBytes SplitColor(TColor color) {
  uint32_t c = static_cast<uint32_t>(ColorToRGB(color));
  return TpkColorBytes{static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16),
                       static_cast<uint8_t>(c >> 24)};
}

// ---------------------------------------------------------------------------
// Masked drawing

void BlitThroughMask(TCanvas* canvas, const TRect& rect, TBitmap* image, bool viaCopy, TBitmap* mask) {
  if (!canvas || !image || !mask || image->GetEmpty() || mask->GetEmpty()) return;
  int w = std::min({RectWidth(rect), image->GetWidth(), mask->GetWidth()});
  int h = std::min({RectHeight(rect), image->GetHeight(), mask->GetHeight()});
  if (w <= 0 || h <= 0) return;
  HDC dst = canvas->GetHandle();
  HDC img = CanvasDC(image->GetCanvas());
  HDC msk = CanvasDC(mask->GetCanvas());
  Owned<TBitmap> copy;
  HDC target = dst;
  int x = rect.left, y = rect.top;
  if (viaCopy) {
    copy = MakeOwned<TBitmap>();
    copy->SetPixelFormat(pf24bit);
    copy->SetSize(w, h);
    target = copy->GetCanvas()->GetHandle();
    BitBlt(target, 0, 0, w, h, dst, x, y, SRCCOPY);
    x = y = 0;
  }
  {
    // A monochrome mask expands to black (0) and white (1): white cuts the
    // destination out, black keeps it.
    TDCColors colors(target, RGB(0, 0, 0), RGB(255, 255, 255));
    BitBlt(target, x, y, w, h, img, 0, 0, SRCINVERT);
    BitBlt(target, x, y, w, h, msk, 0, 0, kRopDSna);
    BitBlt(target, x, y, w, h, img, 0, 0, SRCINVERT);
  }
  if (viaCopy) BitBlt(dst, rect.left, rect.top, w, h, target, 0, 0, SRCCOPY);
}

void DrawMasked(TCanvas* canvas, const TRect& rect, TpkBitmap* bitmap, TColor transparentColor) {
  if (!canvas || !bitmap || bitmap->GetEmpty()) return;
  Owned<TpkBitmap> copy = MakeOwned<TpkBitmap>();
  copy->Assign(bitmap);
  copy->SetTransparent(false);
  // The key pixels become black in the mask (and every other pixel white), so
  // that BlitThroughMask leaves the destination untouched under them.
  copy->SetTransparentColor(transparentColor == -1 || transparentColor == clNone ? clNone : transparentColor);
  Owned<TBitmap> image = MakeOwned<TBitmap>();
  image->SetPixelFormat(pf24bit);
  image->SetSize(copy->GetWidth(), copy->GetHeight());
  BitBlt(image->GetCanvas()->GetHandle(), 0, 0, copy->GetWidth(), copy->GetHeight(), copy->GetMemoryDC(), 0, 0,
         SRCCOPY);
  BlitThroughMask(canvas, rect, image.get(), false, copy->GetTransparencyMask());
}

void FillOutsideRegion(TpkBitmap* bitmap, HRGN region) {
  if (!bitmap || bitmap->GetEmpty()) return;
  GdiFlush();
  TColor color = bitmap->GetTransparentColor() == clNone ? PixelToColor(bitmap->GetPixel(0, 0))
                                                          : ColorToRGB(bitmap->GetTransparentColor());
  TGdiObject<HRGN> outside(CreateRectRgn(0, 0, bitmap->GetWidth(), bitmap->GetHeight()));
  if (!outside) return;
  if (region) CombineRgn(outside.get(), outside.get(), region, RGN_DIFF);
  TGdiObject<HBRUSH> brush(CreateSolidBrush(static_cast<COLORREF>(color)));
  FillRgn(bitmap->GetCanvas()->GetHandle(), outside.get(), brush.get());
}

void DrawDisabledGlyph(TBitmap* source, TBitmap* dest) {
  if (!source || !dest) return;
  int w = source->GetWidth(), h = source->GetHeight();
  // The shape is taken before Dest is touched: Dest may be Source itself.
  Owned<TBitmap> rgb = MakeOwned<TBitmap>();
  rgb->Assign(source);
  rgb->SetPixelFormat(pf24bit);
  const int key = ColorToPixel(source->GetTransparentColor());
  dest->SetSize(0, 0);
  dest->SetSize(w, h);
  if (w <= 0 || h <= 0) return;
  TCanvas* c = dest->GetCanvas();
  c->GetBrush()->SetColor(clBtnFace);
  c->FillRect(Rect(0, 0, w, h));
  // The shape as a mask with its pixels white (1) and the transparent ones
  // black (0).
  Owned<TBitmap> mask = MakeOwned<TBitmap>();
  mask->SetPixelFormat(pf1bit);
  mask->SetSize(w, h);
  for (int y = 0; y < h; ++y) {
    TPixelRow<RGBTRIPLE> src = rgb->ScanLineAs<RGBTRIPLE>(y);
    KeyMaskRow(TPixelRow<const RGBTRIPLE>(src.Data(), w), mask->ScanLineAs<uint8_t>(y), key);
  }
  HDC msk = CanvasDC(mask->GetCanvas());
  auto paint = [&](int x, int y, TColor color) {
    c->GetBrush()->SetColor(color);
    HDC dc = c->GetHandle();
    TDCColors colors(dc, RGB(0, 0, 0), RGB(255, 255, 255));
    BitBlt(dc, x, y, w, h, msk, 0, 0, kRopDSPDxax);
  };
  paint(1, 1, clBtnHighlight);
  paint(0, 0, clBtnShadow);
}

void DrawImageListImage(TCustomImageList* list, int index, TCanvas* canvas, int x, int y, TDrawingStyle style,
                        bool enabled) {
  if (!list || !canvas || index < 0 || index >= list->GetCount()) return;
  // The list draws both states as needed here: enabled through
  // ImageList_DrawEx with its colours (clNone and clDefault become CLR_NONE
  // and CLR_DEFAULT), disabled as its embossed monochrome shape.
  list->Draw(canvas, x, y, index, style, itImage, enabled);
}

void DrawImageListImageEven(TCustomImageList* list, int index, TCanvas* canvas, int x, int y, TDrawingStyle style,
                            bool enabled) {
  // Rounded down, also for negative x.
  DrawImageListImage(list, index, canvas, x & ~1, y, style, enabled);
}

// ---------------------------------------------------------------------------
// Checker, tiles, rectangles

HBRUSH CheckerBrush() {
  static const WORD kRows[8] = {0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555};
  TGdiObject<HBITMAP> pattern(CreateBitmap(8, 8, 1, 1, kRows));
  if (!pattern) return nullptr;
  return CreatePatternBrush(pattern.get());
}

void FillChecker(TCanvas* canvas, const TRect& rect, TColor color1, TColor color2) {
  if (color2 == clNone) throw EInvalidOperation("Color2 cannot be clNone");
  if (!canvas || RectWidth(rect) <= 0 || RectHeight(rect) <= 0) return;
  if (color1 == clNone) {
    // The checker over a key colour no Color2 cell can have, then drawn
    // without its key pixels.
    Owned<TpkBitmap> scratch = MakeOwned<TpkBitmap>();
    scratch->SetSize(RectWidth(rect), RectHeight(rect));
    COLORREF inverse = ~static_cast<COLORREF>(ColorToRGB(color2)) & 0xFFFFFF;
    TColor key = static_cast<TColor>(GetNearestColor(scratch->GetMemoryDC(), inverse));
    FillChecker(scratch->GetCanvas(), Rect(0, 0, RectWidth(rect), RectHeight(rect)), key, color2);
    DrawMasked(canvas, rect, scratch.get(), key);
    return;
  }
  TGdiObject<HBRUSH> brush(CheckerBrush());
  HDC dc = canvas->GetHandle();
  // The pattern's 0 bits take the text colour, its 1 bits the background.
  TDCColors colors(dc, static_cast<COLORREF>(ColorToRGB(color2)), static_cast<COLORREF>(ColorToRGB(color1)));
  FillRect(dc, &rect, brush.get());
}

void TileGraphic(TGraphic* graphic, TCanvas* canvas, const TRect& rect) {
  if (!graphic || !canvas || graphic->GetEmpty()) return;
  int gw = graphic->GetWidth(), gh = graphic->GetHeight();
  int rw = RectWidth(rect), rh = RectHeight(rect);
  if (gw <= 0 || gh <= 0 || rw <= 0 || rh <= 0) return;
  for (int64_t y = 0; y < rh; y += gh)
    for (int64_t x = 0; x < rw; x += gw) canvas->Draw(static_cast<int>(x), static_cast<int>(y), graphic);
}

TRect FitRect(const TRect& rect, int width, int height) {
  int64_t rw = RectWidth(rect), rh = RectHeight(rect);
  if (width <= 0 || height <= 0 || rw <= 0 || rh <= 0) return Rect(rect.left, rect.top, rect.left, rect.top);
  int64_t w, h;
  if (rw * height <= rh * width) {
    w = rw;
    h = rw * height / width;
  } else {
    h = rh;
    w = rh * width / height;
  }
  return Bounds(rect.left, rect.top, static_cast<int>(w), static_cast<int>(h));
}

TRect FitRectCentered(const TRect& rect, int width, int height) {
  TRect r = FitRect(rect, width, height);
  if (r.right == r.left) return r;
  OffsetRect(&r, (RectWidth(rect) - RectWidth(r)) / 2, (RectHeight(rect) - RectHeight(r)) / 2);
  return r;
}

// ---------------------------------------------------------------------------
// Text measuring

int TextHeightIn(TCanvas* canvas, UINT flags, int width, const std::string& text) {
  if (!canvas) return 0;
  HDC dc = CanvasDC(canvas, {csHandleValid, csFontValid});
  TRect r = Rect(0, 0, width, 0);
  std::string buf = text;
  DrawTextExA(dc, buf.data(), static_cast<int>(buf.size()), &r, flags | DT_CALCRECT, nullptr);
  return r.bottom - r.top;
}

void MultiLineExtent(TCanvas* canvas, const std::string& text, int lineSpacing, TSize& size, UINT flags,
                     int width) {
  size = TSize{0, 0};
  if (!canvas) return;
  HDC dc = CanvasDC(canvas, {csHandleValid, csFontValid});
  int count = CountOf(text, "\r\n") + 1;
  for (int i = 0; i < count; ++i) {
    std::string line = NthField(text, "\r\n", i);
    int lw, lh;
    if (width > 0) {
      TRect r = Rect(0, 0, width, 0);
      DrawTextExA(dc, line.data(), static_cast<int>(line.size()), &r, flags | DT_CALCRECT, nullptr);
      lw = r.right - r.left;
      lh = r.bottom - r.top;
    } else {
      lw = canvas->TextWidth(line);
      lh = canvas->TextHeight(line);
    }
    size.cx = std::max<LONG>(size.cx, lw);
    size.cy += lh + (i > 0 ? lineSpacing : 0);
  }
}

// ---------------------------------------------------------------------------
// Strings

std::string StripAccelerators(const std::string& s) {
  std::string r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '&') {
      r += s[i];
    } else if (i + 1 < s.size() && s[i + 1] == '&') {
      r += '&';
      ++i;
    }
  }
  return r;
}

std::string ReplaceAll(const std::string& s, const std::string& oldPart, const std::string& newPart) {
  if (oldPart.empty()) return s;
  std::string r;
  size_t from = 0;
  for (size_t at; (at = s.find(oldPart, from)) != std::string::npos; from = at + oldPart.size()) {
    r.append(s, from, at - from);
    r += newPart;
  }
  r.append(s, from, std::string::npos);
  return r;
}

int PosFrom(const std::string& sub, const std::string& s, int start) {
  if (sub.empty() || start > static_cast<int>(s.size())) return 0;
  size_t at = s.find(sub, static_cast<size_t>(std::max(start, 1) - 1));
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

int NthPos(const std::string& sub, const std::string& s, int n) {
  if (sub.empty() || n < 1) return 0;
  int pos = 0;
  for (int i = 0; i < n; ++i) {
    pos = PosFrom(sub, s, pos == 0 ? 1 : pos + static_cast<int>(sub.size()));
    if (pos == 0) return 0;
  }
  return pos;
}

int CountOf(const std::string& s, const std::string& sub) {
  if (sub.empty()) return 0;
  int n = 0;
  for (size_t at = s.find(sub); at != std::string::npos; at = s.find(sub, at + sub.size())) ++n;
  return n;
}

std::string NthField(const std::string& s, const std::string& delimiter, int n) {
  if (n < 0) return {};
  if (delimiter.empty()) return n == 0 ? s : std::string();
  int start = n == 0 ? 1 : NthPos(delimiter, s, n);
  if (start == 0) return {};
  if (n > 0) start += static_cast<int>(delimiter.size());
  int end = PosFrom(delimiter, s, start);
  if (end == 0) end = static_cast<int>(s.size()) + 1;
  return s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(end - start));
}

bool NextToken(const std::string& s, int& pos, TpkTokenOptions options, std::string& token,
               const std::string& delimiters) {
  token.clear();
  const int n = static_cast<int>(s.size());
  if (pos < 1) pos = 1;
  if (options.Contains(ntSkipBlanks))
    while (pos <= n && (s[static_cast<size_t>(pos - 1)] == ' ' || s[static_cast<size_t>(pos - 1)] == '\t')) ++pos;
  if (pos > n) return false;
  if (options.Contains(ntQuoted) && s[static_cast<size_t>(pos - 1)] == '"') {
    size_t close = s.find('"', static_cast<size_t>(pos));
    size_t end = close == std::string::npos ? s.size() : close;
    token = s.substr(static_cast<size_t>(pos), end - static_cast<size_t>(pos));
    pos = static_cast<int>(end) + 2;
    return true;
  }
  while (pos <= n) {
    unsigned char c = static_cast<unsigned char>(s[static_cast<size_t>(pos - 1)]);
    if (delimiters.find(static_cast<char>(c)) != std::string::npos) {
      ++pos;
      break;
    }
    if (c < ' ' || (!options.Contains(ntSpaces) && c < '!')) {
      ++pos;
      break;
    }
    token += static_cast<char>(c);
    ++pos;
  }
  return true;
}

// ---------------------------------------------------------------------------
// Windows

void InvalidateOverlapping(HWND parent, HWND window) {
  RECT wr;
  if (!parent || !window || !GetWindowRect(window, &wr)) return;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (child == window) continue;
    RECT cr, common;
    if (GetWindowRect(child, &cr) && IntersectRect(&common, &cr, &wr))
      RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}
