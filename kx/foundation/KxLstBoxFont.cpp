// What the font lists share (the font combo box and the font list box):
// the family filter and enumeration, the type glyphs, the drawing of one
// item, the preview's sample text and the most recently used block.
#include <algorithm>

#include "classlib/Printers.h"
#include "classlib/graphics/Resources.h"
#include "classlib/StdCtrls.h"
#include "kx/foundation/KxLstBox.h"

DEFINE_ENUM_TYPE(TKxFontDevice, "fdScreen", "fdPrinter")
DEFINE_ENUM_TYPE(TKxFontType, "ftAll", "ftTrueType", "ftFixedPitch", "ftPrinter")
DEFINE_ENUM_TYPE(TKxShowStyle, "ssFontName", "ssFontSample", "ssFontNameAndSample", "ssFontPreview")

namespace {

constexpr const char* kSample = "AaBbYyZz";
constexpr int kGlyphSize = 12;

struct TEnumTarget {
  TStrings* Items;
  TKxFontType Type;
  bool ShowSymbolFonts;
};

int CALLBACK AddFamily(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD, LPARAM data) {
  auto* target = reinterpret_cast<TEnumTarget*>(data);
  if (KxFontPassesFilter(font->lfCharSet, metrics->tmPitchAndFamily, target->Type, target->ShowSymbolFonts)) {
    std::string name(font->lfFaceName, strnlen(font->lfFaceName, LF_FACESIZE));
    // A callback of the system: nothing may leave it.
    try {
      target->Items->AddObject(name, reinterpret_cast<TObject*>(static_cast<uintptr_t>(metrics->tmPitchAndFamily)));
    } catch (...) {
      return 0;
    }
  }
  return 1;
}

// A screen DC with a font selected, given back at the end of the scope.
class TFontDC {
 public:
  explicit TFontDC(TFont* font) : dc_(GetDC(nullptr)), old_(SelectObject(dc_, font->GetHandle())) {}
  ~TFontDC() {
    SelectObject(dc_, old_);
    ReleaseDC(nullptr, dc_);
  }
  TFontDC(const TFontDC&) = delete;
  TFontDC& operator=(const TFontDC&) = delete;
  int Width(const std::string& s) const {
    SIZE size{};
    GetTextExtentPoint32A(dc_, s.c_str(), static_cast<int>(s.size()), &size);
    return size.cx;
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace

bool KxFontPassesFilter(BYTE charSet, BYTE pitchAndFamily, TKxFontType type, bool showSymbolFonts) {
  if (charSet == SYMBOL_CHARSET && !showSymbolFonts) return false;
  switch (type) {
    case ftAll: return true;
    case ftTrueType: return (pitchAndFamily & TMPF_TRUETYPE) != 0;
    case ftFixedPitch: return (pitchAndFamily & TMPF_FIXED_PITCH) == 0;
    case ftPrinter: return false;
  }
  return false;
}

void KxLoadFonts(TStrings* items, TKxFontDevice device, TKxFontType type, bool showSymbolFonts) {
  TEnumTarget target{items, type, showSymbolFonts};
  if (device == fdPrinter) {
    HDC dc = nullptr;
    try {
      dc = Printer()->GetHandle();
    } catch (const EPrinter&) {
      return;  // no printer: no printer fonts
    }
    EnumFontFamiliesA(dc, nullptr, AddFamily, reinterpret_cast<LPARAM>(&target));
    return;
  }
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesA(dc, nullptr, AddFamily, reinterpret_cast<LPARAM>(&target));
  ReleaseDC(nullptr, dc);
}

TKxFontGlyph KxFontGlyphFor(BYTE pitchAndFamily, TKxFontDevice device) {
  bool trueType = (pitchAndFamily & TMPF_TRUETYPE) != 0;
  bool fixed = (pitchAndFamily & TMPF_FIXED_PITCH) == 0;
  if (trueType && fixed) return fgTrueTypeFixed;
  if (trueType) return fgTrueType;
  if (fixed) return fgFixedPitch;
  return device == fdPrinter ? fgPrinter : fgDevice;
}

TKxFontGlyphs::~TKxFontGlyphs() {
  for (TBitmap*& b : glyphs_) FreeAndNil(b);
}

void TKxFontGlyphs::Load() {
  static const char* const kNames[5] = {"KXCMBOBX_TRUETYPE", "KXCMBOBX_FIXEDPITCH", "KXCMBOBX_TRUETYPEFIXED",
                                        "KXCMBOBX_PRINTER", "KXCMBOBX_DEVICE"};
  for (int i = 0; i < 5; ++i) {
    if (!glyphs_[i]) glyphs_[i] = New<TBitmap>();
    glyphs_[i]->LoadFromResourceName(MainInstance(), kNames[i]);
  }
}

void TKxFontGlyphs::Draw(TCanvas* canvas, int left, int top, BYTE pitchAndFamily, TKxFontDevice device,
                         TColor back) const {
  TBitmap* glyph = glyphs_[KxFontGlyphFor(pitchAndFamily, device)];
  if (!glyph || glyph->GetEmpty()) return;
  Owned<TBitmap> square(New<TBitmap>());
  square->SetSize(kGlyphSize, kGlyphSize);
  TCanvas* c = square->GetCanvas();
  c->GetBrush()->SetColor(back);
  TRect r{0, 0, kGlyphSize, kGlyphSize};
  c->BrushCopy(r, glyph, r, clOlive);
  canvas->Draw(left, top, square.get());
}

void KxDrawFontItem(const TKxFontGlyphs& glyphs, const TKxFontItemDraw& d) {
  TCanvas* canvas = d.Canvas;
  const TRect& r = d.Rect;
  canvas->FillRect(r);
  glyphs.Draw(canvas, r.left - 20, r.top + (d.ItemHeight - kGlyphSize) / 2, d.Pitch, d.Device, d.Back);
  if (!d.Enabled) canvas->GetFont()->SetColor(clBtnShadow);
  int y = r.top + (d.ItemHeight - canvas->TextHeight("Yy")) / 2;
  TKxShowStyle style = d.Style;
  if (d.ComboEdit && style == ssFontNameAndSample) style = ssFontName;
  switch (style) {
    case ssFontName:
    case ssFontPreview:
      canvas->TextRect(r, r.left + 2, y, d.Name);
      break;
    case ssFontSample:
      canvas->GetFont()->SetName(d.Name);
      canvas->TextRect(r, r.left + 2, y, d.Name);
      break;
    case ssFontNameAndSample: {
      int mid = r.left + (r.right - r.left) / 2;
      canvas->TextRect(TRect{r.left, r.top, mid - 4, r.bottom}, r.left + 2, y, d.Name);
      canvas->GetPen()->SetColor(d.Enabled ? clWindowText : clBtnShadow);
      canvas->MoveTo(mid - 2, r.top);
      canvas->LineTo(mid - 2, r.bottom);
      canvas->GetFont()->SetName(d.Name);
      canvas->TextRect(TRect{mid, r.top, r.right, r.bottom}, mid + 2, y, d.Name);
      break;
    }
  }
  if (d.MRULine && !d.ComboEdit) {
    canvas->GetPen()->SetColor(clBtnShadow);
    canvas->MoveTo(0, r.bottom - 1);
    canvas->LineTo(r.right, r.bottom - 1);
  }
}

std::string KxPreviewText(const std::string& previewText, TCustomEdit* edit, TFont* font, int width,
                          TAlignment& alignment) {
  std::string text = previewText.empty() ? kSample : previewText;
  alignment = taCenter;
  if (edit) {
    alignment = taLeftJustify;
    return edit->GetSelLength() >= 1 ? edit->GetSelText() : edit->GetText().substr(0, 10);
  }
  TFontDC dc(font);
  if (dc.Width(text) >= width) {
    text = "AaBbYyZ";
    if (dc.Width(text) >= width) text = "AaBbYy";
  }
  return text;
}

void KxAddFontToMRU(TStrings* items, int selected, int& lastMRU) {
  if (selected <= 0 || selected >= items->GetCount()) return;
  std::string name = items->Get(selected);
  int last = std::min(lastMRU, items->GetCount() - 1);
  for (int i = 0; i <= last; ++i) {
    if (items->Get(i) != name) continue;
    items->Move(i, 0);
    return;
  }
  items->InsertObject(0, name, items->GetObject(selected));
  ++lastMRU;
}
