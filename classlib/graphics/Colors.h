// TColor: the platform's 32-bit colour (red in the low byte, then green and
// blue). A system colour has the high bit set and carries a COLOR_xxx index in
// its low byte; ColorToRGB resolves it through GetSysColor. clNone and
// clDefault are markers, never drawn as such.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/Win.h"
#include "classlib/TypInfo.h"

using TColor = int32_t;
// The named type record stored forms use to write colours as identifiers.
const TTypeInfo* TColorTypeInfo();

namespace graphics_detail {
constexpr TColor SysColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }
}  // namespace graphics_detail

inline constexpr TColor clScrollBar = graphics_detail::SysColor(COLOR_SCROLLBAR);
inline constexpr TColor clBackground = graphics_detail::SysColor(COLOR_BACKGROUND);
inline constexpr TColor clActiveCaption = graphics_detail::SysColor(COLOR_ACTIVECAPTION);
inline constexpr TColor clInactiveCaption = graphics_detail::SysColor(COLOR_INACTIVECAPTION);
inline constexpr TColor clMenu = graphics_detail::SysColor(COLOR_MENU);
inline constexpr TColor clWindow = graphics_detail::SysColor(COLOR_WINDOW);
inline constexpr TColor clWindowFrame = graphics_detail::SysColor(COLOR_WINDOWFRAME);
inline constexpr TColor clMenuText = graphics_detail::SysColor(COLOR_MENUTEXT);
inline constexpr TColor clWindowText = graphics_detail::SysColor(COLOR_WINDOWTEXT);
inline constexpr TColor clCaptionText = graphics_detail::SysColor(COLOR_CAPTIONTEXT);
inline constexpr TColor clActiveBorder = graphics_detail::SysColor(COLOR_ACTIVEBORDER);
inline constexpr TColor clInactiveBorder = graphics_detail::SysColor(COLOR_INACTIVEBORDER);
inline constexpr TColor clAppWorkSpace = graphics_detail::SysColor(COLOR_APPWORKSPACE);
inline constexpr TColor clHighlight = graphics_detail::SysColor(COLOR_HIGHLIGHT);
inline constexpr TColor clHighlightText = graphics_detail::SysColor(COLOR_HIGHLIGHTTEXT);
inline constexpr TColor clBtnFace = graphics_detail::SysColor(COLOR_BTNFACE);
inline constexpr TColor clBtnShadow = graphics_detail::SysColor(COLOR_BTNSHADOW);
inline constexpr TColor clGrayText = graphics_detail::SysColor(COLOR_GRAYTEXT);
inline constexpr TColor clBtnText = graphics_detail::SysColor(COLOR_BTNTEXT);
inline constexpr TColor clInactiveCaptionText = graphics_detail::SysColor(COLOR_INACTIVECAPTIONTEXT);
inline constexpr TColor clBtnHighlight = graphics_detail::SysColor(COLOR_BTNHIGHLIGHT);
inline constexpr TColor cl3DDkShadow = graphics_detail::SysColor(COLOR_3DDKSHADOW);
inline constexpr TColor cl3DLight = graphics_detail::SysColor(COLOR_3DLIGHT);
inline constexpr TColor clInfoText = graphics_detail::SysColor(COLOR_INFOTEXT);
inline constexpr TColor clInfoBk = graphics_detail::SysColor(COLOR_INFOBK);
inline constexpr TColor clHotLight = graphics_detail::SysColor(COLOR_HOTLIGHT);
inline constexpr TColor clGradientActiveCaption = graphics_detail::SysColor(COLOR_GRADIENTACTIVECAPTION);
inline constexpr TColor clGradientInactiveCaption = graphics_detail::SysColor(COLOR_GRADIENTINACTIVECAPTION);
inline constexpr TColor clMenuHighlight = graphics_detail::SysColor(COLOR_MENUHILIGHT);
inline constexpr TColor clMenuBar = graphics_detail::SysColor(COLOR_MENUBAR);

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clLtGray = 0xC0C0C0;
inline constexpr TColor clDkGray = 0x808080;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// A system colour (negative) becomes GetSysColor of its index; any other
// value is returned unchanged (clNone and clDefault included).
TColor ColorToRGB(TColor color);
// "clRed" for a colour of the ident map, else "$00BBGGRR".
std::string ColorToString(TColor color);
// Accepts an identifier of the map or a number ("$FF0000", "255"); raises
// EConvertError otherwise.
TColor StringToColor(const std::string& s);
bool ColorToIdent(int32_t color, std::string& ident);
bool IdentToColor(const std::string& ident, int32_t& color);

// Font character sets (TFontCharset, a byte) and their identifiers, written
// by stored forms as "DEFAULT_CHARSET".
using TFontCharset = uint8_t;
const TTypeInfo* TFontCharsetTypeInfo();
bool CharsetToIdent(int32_t charset, std::string& ident);
bool IdentToCharset(const std::string& ident, int32_t& charset);

namespace graphics_detail {
// Registers the colour and charset ident maps with the type records.
void RegisterColorIdents();
}  // namespace graphics_detail
