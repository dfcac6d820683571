// The geometry, string, component and font helpers of unit KxCommon.
#include <algorithm>
#include <cctype>

#include "classlib/SysUtils.h"
#include "kx/foundation/KxCommon.h"

// ---------------------------------------------------------------------------
// Geometry, string, component and font helpers

TRect CenterRect(const TRect& bounds, int width, int height) {
  int left = (bounds.left + bounds.right - width) / 2;
  int top = (bounds.top + bounds.bottom - height) / 2;
  return TRect{left, top, left + width, top + height};
}

void Swap(int& a, int& b) { std::swap(a, b); }
void Swap(uint16_t& a, uint16_t& b) { std::swap(a, b); }

char LastChar(const std::string& s) { return s.empty() ? '\0' : s.back(); }

int CountChar(char c, const std::string& s) { return static_cast<int>(std::count(s.begin(), s.end(), c)); }

std::string CopyEx(const std::string& s, int start, char c, int count) {
  int n = static_cast<int>(s.size());
  if (start < 1) start = 1;
  int found = 0;
  for (int i = start; i <= n; ++i) {
    if (s[static_cast<size_t>(i - 1)] == c && ++found == count) return Copy(s, start, i);
  }
  return s;
}

bool RemoveChar(std::string& s, char c) {
  size_t p = s.find(c);
  if (p == std::string::npos) return false;
  s.erase(p, 1);
  return true;
}

std::string GetNewComponentName(TComponent* owner, const std::string& base, bool tryBaseFirst) {
  if (tryBaseFirst && (!owner || !owner->FindComponent(base))) return base;
  for (int i = 1;; ++i) {
    std::string name = base + std::to_string(i);
    if (!owner || !owner->FindComponent(name)) return name;
  }
}

std::string CreateValidIdent(const std::string& s, const std::string& def) {
  auto letter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; };
  auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
  bool valid = !s.empty() && letter(s[0]);
  for (size_t i = 1; valid && i < s.size(); ++i) valid = letter(s[i]) || digit(s[i]);
  if (valid) return s;
  std::string result;
  for (size_t i = 0; i < s.size(); ++i)
    if (letter(s[i]) || (i > 0 && digit(s[i]))) result += s[i];
  return result.empty() ? def : result;
}

HFONT RotateFont(TFont* font, int angle) {
  LOGFONTA lf{};
  lf.lfHeight = font->GetHeight();
  lf.lfWidth = 0;
  lf.lfEscapement = angle * 10;
  lf.lfOrientation = 0;
  TFontStyles style = font->GetStyle();
  lf.lfWeight = style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = style.Contains(fsItalic);
  lf.lfUnderline = style.Contains(fsUnderline);
  lf.lfStrikeOut = style.Contains(fsStrikeOut);
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  switch (font->GetPitch()) {
    case fpVariable: lf.lfPitchAndFamily = VARIABLE_PITCH; break;
    case fpFixed: lf.lfPitchAndFamily = FIXED_PITCH; break;
    default: lf.lfPitchAndFamily = DEFAULT_PITCH; break;
  }
  lstrcpynA(lf.lfFaceName, font->GetName().c_str(), LF_FACESIZE);
  return CreateFontIndirectA(&lf);
}

namespace {

// The text metrics of the font on a screen DC.
TEXTMETRICA ScreenMetrics(TFont* font) {
  TEXTMETRICA tm{};
  TKxScreenFontDC dc(font);
  GetTextMetricsA(dc.DC(), &tm);
  return tm;
}

}  // namespace

bool IsTrueTypeFont(TFont* font) { return (ScreenMetrics(font).tmPitchAndFamily & TMPF_TRUETYPE) != 0; }

int GetMinFontHeight(TFont* font) { return ScreenMetrics(font).tmHeight + 2; }

int GetAvgCharWidth(TFont* font) {
  static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  return static_cast<int>(Round(TKxScreenFontDC(font).Width(alphabet) / 52.0));
}

TKxScreenFontDC::TKxScreenFontDC(TFont* font) : font_(screen_.Get(), font->GetHandle()) {}

SIZE TKxScreenFontDC::Extent(const std::string& s) const {
  SIZE size{0, 0};
  GetTextExtentPoint32A(screen_.Get(), s.c_str(), static_cast<int>(s.size()), &size);
  return size;
}

void AddImageToImageList(TCustomImageList* imageList, TBitmap* bitmap, bool twoImages, int& index,
                         int& secondIndex) {
  index = -1;
  secondIndex = -1;
  if (!imageList || !bitmap || bitmap->GetEmpty()) return;
  int w = bitmap->GetWidth(), h = bitmap->GetHeight();
  // The mask colour is the pixel of row 15 of the first column (the glyphs'
  // usual bottom row); a shorter bitmap gives it from its own last row.
  TColor mask = bitmap->GetCanvas()->GetPixels(0, std::min(15, h - 1));
  if (w == h) {
    imageList->AddMasked(bitmap, mask);
    index = imageList->GetCount() - 1;
  } else if (twoImages) {
    imageList->AddMasked(bitmap, mask);
    secondIndex = imageList->GetCount() - 1;
    index = secondIndex - 1;
  } else {
    Owned<TBitmap> part = MakeOwned<TBitmap>();
    int pw = imageList->GetWidth(), ph = imageList->GetHeight();
    part->SetSize(pw, ph);
    TRect r{0, 0, pw, ph};
    part->GetCanvas()->CopyRect(r, bitmap->GetCanvas(), r);
    imageList->AddMasked(part.get(), mask);
    index = imageList->GetCount() - 1;
  }
}

void UpdateObjectInspector(TControl* control) {
  // The class library has no form designer to tell: at run time, and in
  // every state the designer would skip, this is nothing.
  (void)control;
}
