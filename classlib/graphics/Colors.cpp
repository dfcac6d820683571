#include "classlib/graphics/Colors.h"

#include <cstdio>
#include <iterator>

#include "classlib/Exceptions.h"

namespace {

// The platform's colour identifiers, in its order; clLtGray and clDkGray are
// aliases of clSilver and clGray and so have no entry (clSilver wins).
const TIdentMapEntry kColors[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

const TIdentMapEntry kCharsets[] = {
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},
    {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
};

// The platform's StrToInt for colours: decimal or "$" hexadecimal, an
// optional sign, nothing else.
bool ParseInt(const std::string& s, int32_t& out) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
  bool hex = false;
  if (i < s.size() && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= s.size()) return false;
  uint64_t v = 0;
  for (; i < s.size(); ++i) {
    char c = s[i];
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    v = v * (hex ? 16 : 10) + static_cast<uint64_t>(d);
    if (v > (hex ? 0xFFFFFFFFull : 0x80000000ull)) return false;
  }
  if (!hex && !neg && v > 0x7FFFFFFFull) return false;
  uint32_t u = static_cast<uint32_t>(v);
  out = static_cast<int32_t>(neg ? 0u - u : u);
  return true;
}

}  // namespace

const TTypeInfo* TColorTypeInfo() { return MakeIntegerTypeInfo("TColor"); }
const TTypeInfo* TFontCharsetTypeInfo() { return MakeIntegerTypeInfo("TFontCharset", 0, 255); }

TColor ColorToRGB(TColor color) {
  if (color < 0) return static_cast<TColor>(GetSysColor(color & 0xFF));
  return color;
}

bool ColorToIdent(int32_t color, std::string& ident) {
  return IntToIdent(color, ident, kColors, std::size(kColors));
}

bool IdentToColor(const std::string& ident, int32_t& color) {
  int64_t v = 0;
  if (!IdentToInt(ident, v, kColors, std::size(kColors))) return false;
  color = static_cast<int32_t>(v);
  return true;
}

std::string ColorToString(TColor color) {
  std::string ident;
  if (ColorToIdent(color, ident)) return ident;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%.8X", static_cast<unsigned>(color));
  return buf;
}

TColor StringToColor(const std::string& s) {
  int32_t c = 0;
  if (IdentToColor(s, c)) return c;
  if (ParseInt(s, c)) return c;
  throw EConvertError("'" + s + "' is not a valid integer value");
}

bool CharsetToIdent(int32_t charset, std::string& ident) {
  return IntToIdent(charset, ident, kCharsets, std::size(kCharsets));
}

bool IdentToCharset(const std::string& ident, int32_t& charset) {
  int64_t v = 0;
  if (!IdentToInt(ident, v, kCharsets, std::size(kCharsets))) return false;
  charset = static_cast<int32_t>(v);
  return true;
}

namespace graphics_detail {
void RegisterColorIdents() {
  RegisterIntegerConsts(
      TColorTypeInfo(),
      [](std::string_view ident, int64_t& v) { return IdentToInt(ident, v, kColors, std::size(kColors)); },
      [](int64_t v, std::string& ident) { return IntToIdent(v, ident, kColors, std::size(kColors)); });
  RegisterIntegerConsts(
      TFontCharsetTypeInfo(),
      [](std::string_view ident, int64_t& v) { return IdentToInt(ident, v, kCharsets, std::size(kCharsets)); },
      [](int64_t v, std::string& ident) { return IntToIdent(v, ident, kCharsets, std::size(kCharsets)); });
}
}  // namespace graphics_detail
