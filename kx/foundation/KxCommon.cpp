#include "kx/foundation/KxCommon.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "classlib/Buttons.h"
#include "classlib/Registry.h"
#include "classlib/graphics/Resources.h"
#include "classlib/SysUtils.h"
#include "kx/foundation/KxGrafx.h"
#include "kx/foundation/KxThemeSrv.h"

DEFINE_ENUM_TYPE(TFrameStyleEx, "fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered", "fsButtonDown", "fsRaised",
                 "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold", "fsFlatRounded")
DEFINE_ENUM_TYPE(TSide, "sdLeft", "sdTop", "sdRight", "sdBottom")
DEFINE_ENUM_TYPE(TFramingPreference, "fpCustomFraming", "fpXPThemes")
DEFINE_ENUM_TYPE(TTextStyle, "tsNormal", "tsRaised", "tsRecessed", "tsShadow")
DEFINE_ENUM_TYPE(TAlignmentVertical, "avTop", "avCenter", "avBottom")
DEFINE_ENUM_TYPE(TOrientation, "orHorizontal", "orVertical")
DEFINE_ENUM_TYPE(TDirection, "dirUp", "dirDown", "dirLeft", "dirRight")
DEFINE_ENUM_TYPE(TBarStyle, "bsTraditional", "bsLED")
DEFINE_ENUM_TYPE(TLineStyle, "lsNone", "lsFlat", "lsGroove", "lsBump")
DEFINE_ENUM_TYPE(TBlinkState, "bsOn", "bsOff")
DEFINE_ENUM_TYPE(TKxUIStyle, "uiWindows95", "uiWindowsXP")
DEFINE_ENUM_TYPE(TKxWindowsVersion, "Win95", "WinNT", "Win98", "WinMe", "Win2000", "WinXP", "WinServer2003")
DEFINE_ENUM_TYPE(TExpandOnType, "etMouseButton2Click", "etFocus", "etNone")
DEFINE_ENUM_TYPE(TKxScrollType, "stNone", "stRightToLeft", "stLeftToRight")
DEFINE_ENUM_TYPE(TKxHotTrackColorType, "htctComplement", "htctActual")
DEFINE_ENUM_TYPE(TKxScrollStyle, "scsNone", "scsLeft", "scsUp", "scsRight", "scsDown")
DEFINE_ENUM_TYPE(TKxGroupBarGradientPath, "gpTopToBottom", "gpBottomToTop")
DEFINE_ENUM_TYPE(TKxFrameProperty, "fpAll", "fpColor", "fpFocusColor", "fpDisabledColor", "fpParentColor",
                 "fpFlatButtonColor", "fpFlatButtons", "fpFrameColor", "fpHotColor", "fpHotTrack", "fpHotStyle",
                 "fpSides", "fpStyle", "fpVisible", "fpPreference")
DEFINE_ENUM_TYPE(TKxPathType, "ptIniFile", "ptRegistry")
DEFINE_ENUM_TYPE(TKxRegKey, "hkeyClassesRoot", "hkeyCurrentUser", "hkeyLocalMachine", "hkeyUsers",
                 "hkeyPerformanceData", "hkeyCurrentConfig", "hkeyDynData")
DEFINE_ENUM_TYPE(TKxRegAccessKey, "keyQueryValue", "keySetValue", "keyCreateSubKey", "keyEnumerateSubKeys",
                 "keyNotify", "keyCreateLink", "keyRead", "keyWrite", "keyExecute", "keyAllAccess")

const TTypeInfo* TFrameStyleTypeInfo() {
  static const TTypeInfo ti =
      MakeEnumTypeInfo("TFrameStyle", {"fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered", "fsButtonDown",
                                       "fsRaised", "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold"});
  return &ti;
}

// ---------------------------------------------------------------------------
// Frame drawing

namespace {

void Line(TCanvas* canvas, int x1, int y1, int x2, int y2) {
  canvas->MoveTo(x1, y1);
  canvas->LineTo(x2, y2);
}

TRect Shrunk(const TRect& r, int by) { return TRect{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

// The upper-left / lower-right colours DrawBorderSides gives a style.
struct TStyleColors {
  TColor Ul, Lr;
};
TStyleColors SystemColorsOf(TFrameStyleEx style) {
  switch (style) {
    case fsFlat: return {cl3DDkShadow, cl3DDkShadow};
    case fsGroove: return {clBtnShadow, clBtnHighlight};
    case fsStatus: return {clBtnShadow, clBtnHighlight};
    case fsFlatBold: return {clBtnShadow, clBtnShadow};
    // fsBump, fsPopup, and fsFlatRounded drawn as the bump.
    default: return {clBtnHighlight, clBtnShadow};
  }
}

// The groove or bump: two offset rings of u and d with the corner pixels
// that keep it closed where a neighbouring side is missing.
TRect DrawGroove(TCanvas* canvas, const TRect& r, TColor u, TColor d, TSides sides) {
  bool left = sides.Contains(sdLeft), top = sides.Contains(sdTop);
  bool right = sides.Contains(sdRight), bottom = sides.Contains(sdBottom);
  if (right) canvas->SetPixels(r.right - 1, r.top, d);
  if (top && !right) canvas->SetPixels(r.right - 1, r.top, u);
  if (bottom) canvas->SetPixels(r.left, r.bottom - 1, d);
  if (left && !bottom) canvas->SetPixels(r.left, r.bottom - 1, u);
  if (top && !left) canvas->SetPixels(r.left, r.top + 1, d);
  if (left && !top) canvas->SetPixels(r.left + 1, r.top, d);
  if (bottom && !right) canvas->SetPixels(r.right - 1, r.bottom - 2, u);
  if (right && !bottom) canvas->SetPixels(r.right - 2, r.bottom - 1, u);
  canvas->GetPen()->SetWidth(1);
  DrawSides(canvas, TRect{r.left + 1, r.top + 1, r.right, r.bottom}, d, d, sides);
  DrawSides(canvas, TRect{r.left, r.top, r.right - 1, r.bottom - 1}, u, u, sides);
  return TRect{r.left + (left ? 2 : 0), r.top + (top ? 2 : 0), r.right - (right ? 2 : 0),
               r.bottom - (bottom ? 2 : 0)};
}

// Two one-pixel rings, outer then inner.
TRect TwoRings(TCanvas* canvas, const TRect& r, TColor outerUl, TColor outerLr, TColor innerUl, TColor innerLr,
               TSides sides) {
  TRect inner = DrawBevel(canvas, r, outerUl, outerLr, 1, sides);
  return DrawBevel(canvas, inner, innerUl, innerLr, 1, sides);
}

}  // namespace

TRect DrawSides(TCanvas* canvas, const TRect& bounds, TColor ulColor, TColor lrColor, TSides sides) {
  const TRect& r = bounds;
  if (ulColor != clNone) {
    canvas->GetPen()->SetColor(ulColor);
    if (sides.Contains(sdLeft)) Line(canvas, r.left, r.top, r.left, r.bottom);
    if (sides.Contains(sdTop)) Line(canvas, r.left, r.top, r.right, r.top);
  }
  if (lrColor != clNone) {
    canvas->GetPen()->SetColor(lrColor);
    if (sides.Contains(sdRight)) Line(canvas, r.right - 1, r.top, r.right - 1, r.bottom);
    if (sides.Contains(sdBottom)) Line(canvas, r.left, r.bottom - 1, r.right, r.bottom - 1);
  }
  TRect inner = r;
  if (sides.Contains(sdLeft)) ++inner.left;
  if (sides.Contains(sdTop)) ++inner.top;
  if (sides.Contains(sdRight)) --inner.right;
  if (sides.Contains(sdBottom)) --inner.bottom;
  return inner;
}

TRect DrawBevel(TCanvas* canvas, const TRect& bounds, TColor ulColor, TColor lrColor, int width, TSides sides) {
  canvas->GetPen()->SetWidth(1);
  TRect r = bounds;
  for (int i = 0; i < width; ++i) r = DrawSides(canvas, r, ulColor, lrColor, sides);
  return r;
}

TRect DrawCtl3DBorder(TCanvas* canvas, const TRect& bounds, bool sunken) {
  return DrawCtl3DBorderSides(canvas, bounds, sunken, sdAllSides);
}

TRect DrawCtl3DBorderSides(TCanvas* canvas, const TRect& bounds, bool sunken, TSides sides) {
  if (sunken) return TwoRings(canvas, bounds, clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight, sides);
  return TwoRings(canvas, bounds, cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow, sides);
}

TRect DrawButtonBorder(TCanvas* canvas, const TRect& bounds, bool pressed) {
  return DrawButtonBorderSides(canvas, bounds, pressed, sdAllSides);
}

TRect DrawButtonBorderSides(TCanvas* canvas, const TRect& bounds, bool pressed, TSides sides) {
  if (pressed) return TwoRings(canvas, bounds, clBtnText, clBtnText, clBtnShadow, clBtnShadow, sides);
  return TwoRings(canvas, bounds, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow, sides);
}

TRect DrawColorButtonBorder(TCanvas* canvas, const TRect& bounds, TColor color, bool pressed) {
  return DrawColorButtonBorderSides(canvas, bounds, color, pressed, sdAllSides);
}

TRect DrawColorButtonBorderSides(TCanvas* canvas, const TRect& bounds, TColor color, bool pressed, TSides sides) {
  if (pressed) {
    TColor outer = DarkerColor(color, 100), inner = DarkerColor(color, 50);
    return TwoRings(canvas, bounds, outer, outer, inner, inner, sides);
  }
  return TwoRings(canvas, bounds, LighterColor(color, 100), DarkerColor(color, 100), LighterColor(color, 40),
                  DarkerColor(color, 50), sides);
}

TRect DrawBorder(TCanvas* canvas, const TRect& bounds, TFrameStyleEx style) {
  return DrawBorderSides(canvas, bounds, style, sdAllSides);
}

TRect DrawBorderSides(TCanvas* canvas, const TRect& bounds, TFrameStyleEx style, TSides sides) {
  TStyleColors c = SystemColorsOf(style);
  switch (style) {
    case fsNone: return bounds;
    case fsFlat:
    case fsStatus:
    case fsPopup: return DrawBevel(canvas, bounds, c.Ul, c.Lr, 1, sides);
    case fsLowered:
    case fsRaised: return DrawCtl3DBorderSides(canvas, bounds, style == fsLowered, sides);
    case fsButtonDown:
    case fsButtonUp: return DrawButtonBorderSides(canvas, bounds, style == fsButtonDown, sides);
    case fsFlatBold: return DrawBevel(canvas, bounds, c.Ul, c.Lr, 2, sides);
    case fsGroove:
    case fsBump:
    case fsFlatRounded: return DrawGroove(canvas, bounds, c.Ul, c.Lr, sides);
  }
  return bounds;
}

TRect DrawColorBorder(TCanvas* canvas, const TRect& bounds, TColor color, TFrameStyleEx style) {
  return DrawColorBorderSides(canvas, bounds, color, style, sdAllSides);
}

TRect DrawColorBorderSides(TCanvas* canvas, const TRect& bounds, TColor color, TFrameStyleEx style, TSides sides) {
  switch (style) {
    case fsNone: return bounds;
    case fsFlat: {
      TColor c = DarkerColor(color, 50);
      return DrawBevel(canvas, bounds, c, c, 1, sdAllSides);
    }
    case fsGroove: return DrawGroove(canvas, bounds, DarkerColor(color, 50), LighterColor(color, 100), sides);
    case fsBump:
    case fsFlatRounded: return DrawGroove(canvas, bounds, LighterColor(color, 100), DarkerColor(color, 50), sides);
    case fsLowered:
      return TwoRings(canvas, bounds, DarkerColor(color, 50), LighterColor(color, 100), DarkerColor(color, 100),
                      LighterColor(color, 50), sides);
    case fsRaised:
      return TwoRings(canvas, bounds, LighterColor(color, 50), DarkerColor(color, 100), LighterColor(color, 100),
                      DarkerColor(color, 50), sides);
    case fsButtonDown:
    case fsButtonUp: return DrawColorButtonBorderSides(canvas, bounds, color, style == fsButtonDown, sides);
    case fsStatus: return DrawBevel(canvas, bounds, DarkerColor(color, 50), LighterColor(color, 100), 1, sides);
    case fsPopup: return DrawBevel(canvas, bounds, LighterColor(color, 100), DarkerColor(color, 50), 1, sides);
    case fsFlatBold: {
      TColor c = DarkerColor(color, 50);
      return DrawBevel(canvas, bounds, c, c, 2, sides);
    }
  }
  return bounds;
}

TRect DrawFocusBorder(TCanvas* canvas, const TRect& bounds) {
  const TRect& r = bounds;
  for (int x = r.left + 1; x < r.right; x += 2) {
    canvas->SetPixels(x, r.top, clBlack);
    canvas->SetPixels(x, r.bottom - 1, clBlack);
  }
  for (int y = r.top + 1; y < r.bottom; y += 2) {
    canvas->SetPixels(r.left, y, clBlack);
    canvas->SetPixels(r.right - 1, y, clBlack);
  }
  return Shrunk(r, 1);
}

TRect DrawRoundedFlatBorder(TCanvas* canvas, const TRect& bounds, TColor color, TSides sides) {
  const TRect& r = bounds;
  int l = sides.Contains(sdLeft) ? 1 : 0, t = sides.Contains(sdTop) ? 1 : 0;
  int rt = sides.Contains(sdRight) ? 1 : 0, b = sides.Contains(sdBottom) ? 1 : 0;
  canvas->GetPen()->SetColor(color);
  canvas->GetPen()->SetWidth(1);
  if (l) Line(canvas, r.left, r.top + 2 * t, r.left, r.bottom - 2 * b);
  if (t) Line(canvas, r.left + 2 * l, r.top, r.right - 2 * rt, r.top);
  if (rt) Line(canvas, r.right - 1, r.top + 2 * t, r.right - 1, r.bottom - 2 * b);
  if (b) Line(canvas, r.left + 2 * l, r.bottom - 1, r.right - 2 * rt, r.bottom - 1);
  if (l && t) canvas->SetPixels(r.left + 1, r.top + 1, color);
  if (rt && t) canvas->SetPixels(r.right - 2, r.top + 1, color);
  if (rt && b) canvas->SetPixels(r.right - 2, r.bottom - 2, color);
  if (l && b) canvas->SetPixels(r.left + 1, r.bottom - 2, color);
  return TRect{r.left + 2 * l, r.top + 2 * t, r.right - 2 * rt, r.bottom - 2 * b};
}

TRect DrawInnerOuterBorders(TCanvas* canvas, const TRect& bounds, TFrameStyleEx outerStyle,
                            TFrameStyleEx innerStyle, int borderWidth, TSides sides, int bevelWidth,
                            TColor borderColor, TColor highlightColor, TColor shadowColor, TColor flatColor,
                            int flatColorAdjustment, TColor controlColor, TColor parentColor, bool transparent,
                            bool softInnerFlatBorder) {
  TColor f = AdjustColor(flatColor, flatColorAdjustment);
  TRect r = bounds;
  auto rings = [&](TColor ul, TColor lr, int count) { r = DrawBevel(canvas, r, ul, lr, count, sides); };

  switch (outerStyle) {
    case fsFlat: rings(f, f, 1); break;
    case fsFlatBold: rings(f, f, 2); break;
    case fsFlatRounded: {
      bool bordered = borderWidth > 0 || innerStyle != fsNone;
      // The parent's colour shows in the rounded corners; the ring inside
      // the rounded line shows the border (or the control) colour.
      if (!transparent) {
        TRect inner = DrawBevel(canvas, r, parentColor, parentColor, 1, sides);
        TColor second = bordered ? borderColor : controlColor;
        DrawBevel(canvas, inner, second, second, 1, sides);
      } else if (bordered) {
        DrawBevel(canvas, Shrunk(r, 1), borderColor, borderColor, 1, sides);
      }
      r = DrawRoundedFlatBorder(canvas, r, f, sides);
      break;
    }
    case fsPopup: rings(highlightColor, shadowColor, bevelWidth); break;
    case fsStatus: rings(shadowColor, highlightColor, bevelWidth); break;
    default: r = DrawBorderSides(canvas, r, outerStyle, sides); break;
  }

  if (borderWidth > 0) rings(borderColor, borderColor, borderWidth);

  switch (innerStyle) {
    case fsFlat:
      if (softInnerFlatBorder) {
        canvas->GetPen()->SetColor(f);
        canvas->GetPen()->SetWidth(1);
        Line(canvas, r.left, r.top + 1, r.left, r.bottom - 1);
        Line(canvas, r.left + 1, r.top, r.right - 1, r.top);
        Line(canvas, r.right - 1, r.top + 1, r.right - 1, r.bottom - 1);
        Line(canvas, r.left + 1, r.bottom - 1, r.right - 1, r.bottom - 1);
        r = Shrunk(r, 1);
      } else {
        rings(f, f, 1);
      }
      break;
    case fsFlatBold: rings(f, f, 2); break;
    case fsFlatRounded: {
      TRect inner = DrawBevel(canvas, r, borderColor, borderColor, 1, sides);
      if (!transparent) DrawBevel(canvas, inner, controlColor, controlColor, 1, sides);
      r = DrawRoundedFlatBorder(canvas, r, f, sides);
      break;
    }
    case fsPopup: rings(highlightColor, shadowColor, bevelWidth); break;
    case fsStatus: rings(shadowColor, highlightColor, bevelWidth); break;
    default: r = DrawBorderSides(canvas, r, innerStyle, sides); break;
  }
  return r;
}

void DrawDropShadow(TCanvas* canvas, const TRect& bounds, int depth, TColor shadowColor) {
  if (depth <= 0) return;
  const TRect& r = bounds;
  int step = 128 / depth;
  for (int i = 1; i <= depth; ++i) {
    auto w = static_cast<uint8_t>(128 - (i - 1) * step);
    auto blend = [&](int x, int y) { canvas->SetPixels(x, y, BlendColors(shadowColor, canvas->GetPixels(x, y), w)); };
    // Ring i: the column i pixels right of the rectangle, from i pixels
    // below its top, and the row i pixels below it, from i pixels right of
    // its left edge; the corner pixel belongs to the column.
    int x = r.right - 1 + i, y = r.bottom - 1 + i;
    for (int row = r.top + i; row <= y; ++row) blend(x, row);
    for (int col = r.left + i; col < x; ++col) blend(col, y);
  }
}

void DrawFrame(TCanvas* canvas, int width, int height, TFrameStyleEx frameStyle, TColor controlColor,
               TColor frameColor, TSides sides, bool skipColorRing) {
  TRect r{0, 0, width, height};
  if (!skipColorRing) DrawBevel(canvas, r, controlColor, controlColor, 2, sdAllSides);
  switch (frameStyle) {
    case fsFlat: DrawBevel(canvas, r, frameColor, frameColor, 1, sides); break;
    case fsFlatBold: DrawBevel(canvas, r, frameColor, frameColor, 2, sides); break;
    default:
      if (controlColor == clWindow) DrawBorderSides(canvas, r, frameStyle, sides);
      else DrawColorBorderSides(canvas, r, controlColor, frameStyle, sides);
      break;
  }
}

void DrawLEDBar(TCanvas* canvas, const TRect& bounds, TOrientation orientation, TColor barColor, TColor backColor,
                int segments, int percent, bool themed) {
  const TRect& r = bounds;
  bool vertical = orientation == orVertical;
  if (themed && ThemeServices().GetThemesEnabled()) {
    TThemedElementDetails details = ThemeServices().GetElementDetails(vertical ? tpChunkVert : tpChunk);
    TRect area = Shrunk(r, 1);
    int w = area.right - area.left, h = area.bottom - area.top;
    if (!vertical) {
      area.right = area.left + static_cast<int>(Round(percent * w / 100.0));
      ThemeServices().DrawElement(canvas->GetHandle(), details, area);
      return;
    }
    int lit = static_cast<int>(Round(percent * h / 100.0));
    if (lit <= 0 || w <= 0) return;
    Owned<TBitmap> chunk = MakeOwned<TBitmap>();
    chunk->SetSize(w, lit);
    ThemeServices().DrawElement(chunk->GetCanvas()->GetHandle(), details, TRect{0, 0, w, lit});
    FlipBitmap(chunk.get());
    canvas->Draw(area.left, area.bottom - lit, chunk.get());
    return;
  }

  // No segments: nothing to light and nothing to divide by.
  if (segments <= 0) return;
  int extent = vertical ? r.bottom - r.top : r.right - r.left;
  int n = segments;
  int s = extent / n;
  if (extent <= 80 && n > 10) {
    n = 10;
    s = extent / 10;
  }
  if (s > 0) n += (extent - s * n) / s;
  int m = (extent - s * n) / 2;

  TPen* pen = canvas->GetPen();
  TBrush* brush = canvas->GetBrush();
  pen->SetStyle(psClear);
  brush->SetColor(backColor);
  // A clear pen fills one pixel short of the right and bottom coordinates.
  if (vertical) {
    canvas->Rectangle(r.left, r.top, r.right + 1, r.top + m + 1);
    canvas->Rectangle(r.left, r.bottom - m - 1, r.right + 1, r.bottom + 1);
  } else {
    canvas->Rectangle(r.left, r.top, r.left + m + 1, r.bottom + 1);
    canvas->Rectangle(r.right - m - 1, r.top, r.right + 1, r.bottom + 1);
  }
  pen->SetStyle(psSolid);
  pen->SetColor(backColor);
  pen->SetWidth(1);
  int lit = percent * n / 100;
  for (int k = 1; k <= n; ++k) {
    brush->SetColor(k <= lit ? barColor : backColor);
    // Each segment is s pixels long, its outline in the back colour.
    if (vertical) {
      int y = r.top + m + s * (n - k);
      canvas->Rectangle(r.left, y, r.right, y + s);
    } else {
      int x = r.left + m + s * (k - 1);
      canvas->Rectangle(x, r.top, x + s, r.bottom);
    }
  }
}

void DrawPercentBar(TCanvas* canvas, const TRect& bounds, TOrientation orientation, TColor barColor,
                    TColor backColor, uint16_t percent, bool showText) {
  const TRect& r = bounds;
  int w = r.right - r.left, h = r.bottom - r.top;
  std::string text = showText ? Format("%u%%", {static_cast<int64_t>(percent)}) : std::string();
  TRect filled = r, unfilled{0, 0, 0, 0};
  if (percent < 100) {
    if (orientation == orVertical) {
      filled.top = r.bottom - static_cast<int>(Round(percent * h / 100.0));
      unfilled = TRect{r.left, r.top, r.right, filled.top};
    } else {
      filled.right = r.left + static_cast<int>(Round(percent * w / 100.0));
      unfilled = TRect{filled.right, r.top, r.right, r.bottom};
    }
  }
  HDC dc = canvas->GetHandle();
  UINT oldAlign = SetTextAlign(dc, TA_CENTER | TA_TOP);
  int y = r.top + (h - canvas->TextHeight("X")) / 2;
  int x = r.left + w / 2;
  canvas->GetBrush()->SetColor(barColor);
  canvas->GetFont()->SetColor(backColor);
  canvas->TextRect(filled, x, y, text);
  if (unfilled.right > unfilled.left && unfilled.bottom > unfilled.top) {
    canvas->GetBrush()->SetColor(backColor);
    canvas->GetFont()->SetColor(barColor);
    canvas->TextRect(unfilled, x, y, text);
  }
  SetTextAlign(canvas->GetHandle(), oldAlign);
}

namespace {

// The arrows' colour: the themed drop-down button's own glyph colour in the
// XP style (unless it is too close to the window colour to read), black in
// the Windows 95 style, the shadow colour when disabled.
TColor ArrowColor(TKxUIStyle style, bool enabled) {
  if (!enabled) return clBtnShadow;
  if (style == uiWindows95) return clBlack;
  Owned<TBitmap> probe = MakeOwned<TBitmap>();
  probe->SetSize(17, 21);
  ThemeServices().DrawElement(probe->GetCanvas()->GetHandle(),
                              ThemeServices().GetElementDetails(tcDropDownButtonNormal), TRect{0, 0, 16, 20});
  TColor c = probe->GetCanvas()->GetPixels(8, 10);
  return ColorsTooClose(c, clWindow) ? cl3DDkShadow : c;
}

void FillArrow(TCanvas* canvas, TColor color, const std::vector<TPoint>& points) {
  TColor oldBrush = canvas->GetBrush()->GetColor();
  canvas->GetBrush()->SetColor(color);
  canvas->GetPen()->SetStyle(psClear);
  canvas->Polygon(points);
  canvas->GetPen()->SetStyle(psSolid);
  canvas->GetBrush()->SetColor(oldBrush);
}

}  // namespace

void DrawDropDownArrow(TCanvas* canvas, const TRect& bounds, TKxUIStyle style, bool pressed, bool enabled) {
  const TRect& r = bounds;
  int h = r.bottom - r.top;
  int x = r.left + (r.right - r.left) / 2 + (pressed ? 1 : 0);
  int y = r.top + h / 2 + (h % 2 ? 1 : 0) + (style == uiWindowsXP ? 2 : 0) - 1 - (pressed ? 0 : 1);
  TColor color = ArrowColor(style, enabled);
  if (style == uiWindows95)
    FillArrow(canvas, color, {{x, y + 3}, {x - 3, y - 1}, {x + 4, y - 1}});
  else
    FillArrow(canvas, color, {{x, y + 3}, {x - 4, y - 2}, {x - 3, y - 4}, {x, y}, {x + 3, y - 4}, {x + 5, y - 2}});
}

void DrawSpinArrow(TCanvas* canvas, const TRect& bounds, TKxUIStyle style, TDirection direction, bool pressed,
                   bool enabled) {
  const TRect& r = bounds;
  int h = r.bottom - r.top;
  int centre = r.left + (r.right - r.left) / 2;
  int y0 = r.top + h / 2 - (h % 2 == 0 ? 1 : 0);
  bool horizontal = direction == dirLeft || direction == dirRight;
  int shift = pressed && enabled ? 1 : 0;
  TColor color = ArrowColor(style, enabled);
  std::vector<TPoint> p;
  if (style == uiWindows95) {
    int y = (horizontal ? y0 : y0 + 2) + shift;
    int x = (horizontal ? centre - 2 : centre) + shift;
    switch (direction) {
      case dirUp: p = {{x, y - 5}, {x + 4, y}, {x - 4, y}}; break;
      case dirDown: p = {{x, y + 1}, {x - 3, y - 3}, {x + 4, y - 3}}; break;
      case dirLeft: p = {{x, y}, {x + 4, y - 4}, {x + 4, y + 4}}; break;
      case dirRight: p = {{x + 4, y}, {x, y + 4}, {x, y - 4}}; break;
    }
  } else {
    // A chevron with a one-pixel notch in its base; the other directions
    // mirror the upward one within the same extent.
    switch (direction) {
      case dirUp: {
        int x = centre + shift, y = y0 + 4 + shift;
        p = {{x, y - 5}, {x + 4, y}, {x + 1, y}, {x, y - 2}, {x - 1, y}, {x - 4, y}};
        break;
      }
      case dirDown: {
        int x = centre + shift, y = y0 + 2 + shift;
        p = {{x, y + 3}, {x - 4, y - 2}, {x - 1, y - 2}, {x, y}, {x + 1, y - 2}, {x + 4, y - 2}};
        break;
      }
      case dirLeft: {
        int x = centre - 1 + shift, y = y0 + shift;
        p = {{x, y}, {x + 5, y - 4}, {x + 5, y - 1}, {x + 3, y}, {x + 5, y + 1}, {x + 5, y + 4}};
        break;
      }
      case dirRight: {
        int x = centre - 3 + shift, y = y0 + shift;
        p = {{x + 5, y}, {x, y + 4}, {x, y + 1}, {x + 2, y}, {x, y - 1}, {x, y - 4}};
        break;
      }
    }
  }
  FillArrow(canvas, color, p);
}

// ---------------------------------------------------------------------------
// Colour arithmetic

namespace {

uint8_t RoundByte(double v) {
  // Ties go to the even neighbour, as the platform's Round does.
  double r = std::nearbyint(v);
  return static_cast<uint8_t>(std::clamp(r, 0.0, 255.0));
}

}  // namespace

void ColorToHSL(TColor color, uint8_t& hue, uint8_t& saturation, uint8_t& lightness) {
  TColor rgb = ColorToRGB(color);
  double r = GetRValue(rgb) / 255.0, g = GetGValue(rgb) / 255.0, b = GetBValue(rgb) / 255.0;
  double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  double l = (mx + mn) / 2, h = 0, s = 0;
  if (mx != mn) {
    double d = mx - mn;
    s = l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    if (r == mx) h = (g - b) / d;
    else if (g != mx) h = 4 + (r - g) / d;
    else h = 2 + (b - r) / d;
    h /= 6;
    if (h < 0) h += 1;
  }
  hue = RoundByte(h * 240);
  saturation = RoundByte(s * 240);
  lightness = RoundByte(l * 240);
}

uint8_t ColorHue(TColor color) {
  uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return h;
}

uint8_t ColorSaturation(TColor color) {
  uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return s;
}

uint8_t ColorLuminance(TColor color) {
  uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return l;
}

TColor HSLtoColor(uint8_t hue, uint8_t saturation, uint8_t lightness) {
  double l = lightness / 240.0, s = saturation / 240.0;
  double m2 = l < 0.5 ? l * (1 + s) : l + s - l * s;
  if (m2 <= 0) return clBlack;
  double m1 = 2 * l - m2;
  double sector = hue / 239.0 * 6;
  int k = static_cast<int>(sector);
  double f = sector - k;
  double up = m1 + (m2 - m1) * f, down = m2 - (m2 - m1) * f;
  double c[3];
  switch (k) {
    case 1: c[0] = down, c[1] = m2, c[2] = m1; break;
    case 2: c[0] = m1, c[1] = m2, c[2] = up; break;
    case 3: c[0] = m1, c[1] = down, c[2] = m2; break;
    case 4: c[0] = up, c[1] = m1, c[2] = m2; break;
    case 5: c[0] = m2, c[1] = m1, c[2] = down; break;
    default: c[0] = m2, c[1] = up, c[2] = m1; break;
  }
  // Saturation or lightness beyond 240 takes a channel outside 0..1; each is
  // clamped at both ends, never wrapped into a byte.
  uint8_t ch[3];
  for (int i = 0; i < 3; ++i) ch[i] = RoundByte(std::clamp(c[i], 0.0, 1.0) * 255);
  return static_cast<TColor>(RGB(ch[0], ch[1], ch[2]));
}

TColor DarkerColor(TColor color, uint8_t amount) {
  uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return HSLtoColor(h, s, static_cast<uint8_t>(std::max(0, l - amount)));
}

TColor LighterColor(TColor color, uint8_t amount) {
  uint8_t h, s, l;
  ColorToHSL(color, h, s, l);
  return HSLtoColor(h, s, static_cast<uint8_t>(std::min(255, l + amount)));
}

TColor AdjustColor(TColor color, int amount) {
  if (amount < 0) return DarkerColor(color, static_cast<uint8_t>(std::min(255, -amount)));
  if (amount > 0) return LighterColor(color, static_cast<uint8_t>(std::min(255, amount)));
  return color;
}

TColor BlendColors(TColor first, TColor second, uint8_t weight) {
  TColor a = ColorToRGB(first), b = ColorToRGB(second);
  double w = weight / 255.0;
  auto mix = [w](int x, int y) { return RoundByte(x * w + y * (1 - w)); };
  return static_cast<TColor>(RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
                                 mix(GetBValue(a), GetBValue(b))));
}

bool ColorsTooClose(TColor first, TColor second) {
  uint8_t h1, s1, l1, h2, s2, l2;
  ColorToHSL(first, h1, s1, l1);
  ColorToHSL(second, h2, s2, l2);
  return std::abs(h1 - h2) < 20 && std::abs(l1 - l2) < 60;
}

bool FullColorSupport() {
  HDC dc = GetDC(nullptr);
  int colors = GetDeviceCaps(dc, NUMCOLORS);
  ReleaseDC(nullptr, dc);
  return colors == -1;
}

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

TKxScreenFontDC::TKxScreenFontDC(TFont* font) : dc_(GetDC(nullptr)) { old_ = SelectObject(dc_, font->GetHandle()); }

TKxScreenFontDC::~TKxScreenFontDC() {
  SelectObject(dc_, old_);
  ReleaseDC(nullptr, dc_);
}

SIZE TKxScreenFontDC::Extent(const std::string& s) const {
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc_, s.c_str(), static_cast<int>(s.size()), &size);
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

// ---------------------------------------------------------------------------
// Windows version, desktop, monitors and centring

bool RunningUnder(TKxWindowsVersion version) {
  bool nt = Win32Platform == VER_PLATFORM_WIN32_NT, w9x = Win32Platform == VER_PLATFORM_WIN32_WINDOWS;
  int major = Win32MajorVersion, minor = Win32MinorVersion;
  switch (version) {
    case Win95: return w9x && major <= 4 && minor == 0;
    case WinNT: return nt && major <= 4;
    case Win98: return w9x && major <= 4 && minor == 10;
    case WinMe: return w9x && major <= 4 && minor == 90;
    case Win2000: return nt && major == 5 && minor == 0;
    case WinXP: return nt && major == 5 && minor == 1;
    case WinServer2003: return nt && major == 5 && minor == 2;
  }
  return false;
}

TRect GetDesktopClientRect() {
  TRect desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  HWND tray = FindWindowA("Shell_TrayWnd", "");
  if (!tray) return desktop;
  TRect bar{};
  GetWindowRect(tray, &bar);
  IntersectRect(&bar, &bar, &desktop);
  int bw = bar.right - bar.left, bh = bar.bottom - bar.top;
  if (bar.left == desktop.left && bar.top == desktop.top) {
    if (bar.right == desktop.right) desktop.top += bh;  // along the top
    else desktop.left += bw;                            // down the left
  } else if (bar.left == desktop.left) {
    desktop.bottom -= bh;  // along the bottom
  } else {
    desktop.right -= bw;  // down the right
  }
  return desktop;
}

TRect GetActiveWorkArea(TWinControl* control) {
  HMONITOR monitor = MonitorFromWindow(control ? control->GetHandle() : nullptr, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(monitor, &info);
  return info.rcWork;
}

int GetActiveWorkAreaWidth(TWinControl* control) {
  TRect r = GetActiveWorkArea(control);
  return r.right - r.left;
}

int GetActiveWorkAreaHeight(TWinControl* control) {
  TRect r = GetActiveWorkArea(control);
  return r.bottom - r.top;
}

TRect GetMonitorWorkArea(TMonitor* monitor) { return monitor->GetWorkareaRect(); }
TRect GetMonitorBoundsRect(TMonitor* monitor) { return monitor->GetBoundsRect(); }

namespace {

// Centres control over the screen rectangle r, kept on the limit rectangle's
// right and bottom edges and off negative coordinates.
void CenterOver(TControl* control, const TRect& r, const TRect& limit, int& left, int& top) {
  int w = control->GetWidth(), h = control->GetHeight();
  left = r.left + (r.right - r.left - w) / 2;
  if (left < 0) left = 0;
  if (left + w > limit.right) left = limit.right - w;
  top = r.top + (r.bottom - r.top - h) / 2;
  if (top < 0) top = 0;
  if (top + h > limit.bottom) top = limit.bottom - h;
}

}  // namespace

void CenterToWindow(TControl* control, TWinControl* window, int& left, int& top) {
  TRect r = window->GetBoundsRect();
  if (TWinControl* parent = window->GetParent()) {
    POINT origin = parent->ClientToScreen(POINT{0, 0});
    OffsetRect(&r, origin.x, origin.y);
  }
  CenterOver(control, r, GetActiveWorkArea(window), left, top);
}

void CenterToForm(TControl* control, TCustomForm* form, int& left, int& top) {
  CenterOver(control, form->GetBoundsRect(), GetActiveWorkArea(form), left, top);
}

void CenterToMDIChild(TControl* control, TCustomForm* form, int& left, int& top) {
  TRect r = form->GetBoundsRect();
  HWND client = nullptr;
  if (Application && Application->GetMainForm()) client = Application->GetMainForm()->GetClientHandle();
  MapWindowPoints(client, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  CenterOver(control, r, GetDesktopClientRect(), left, top);
}

// ---------------------------------------------------------------------------
// TKxDialogComponent

PUBLISHED(TKxDialogComponent) {
  p.Prop("CenterToParent", &TKxDialogComponent::GetCenterToParent, &TKxDialogComponent::SetCenterToParent)
      .Default(false);
  p.Prop("OriginLeft", &TKxDialogComponent::GetOriginLeft, &TKxDialogComponent::SetOriginLeft).Default(100);
  p.Prop("Position", &TKxDialogComponent::GetPosition, &TKxDialogComponent::SetPosition).Default(poScreenCenter);
  p.Prop("OriginTop", &TKxDialogComponent::GetOriginTop, &TKxDialogComponent::SetOriginTop).Default(100);
}

TKxDialogComponent::TKxDialogComponent(TComponent* owner) : TComponent(owner), font_(New<TFont>()) {
  if (auto* form = dynamic_cast<TForm*>(owner)) {
    font_->Assign(form->GetFont());
  } else {
    font_->SetName("MS Sans Serif");
    font_->SetSize(8);
    font_->SetStyle({});
  }
  captionOK_ = BitBtnCaption(bkOK);
  captionCancel_ = BitBtnCaption(bkCancel);
  captionHelp_ = BitBtnCaption(bkHelp);
}

void TKxDialogComponent::Destroy() {
  FreeAndNil(font_);
  inherited::Destroy();
}

void TKxDialogComponent::SetFont(TFont* value) { font_->Assign(value); }

void TKxDialogComponent::SetCenterToParent(bool value) {
  if (value == centerToParent_) return;
  centerToParent_ = value;
  position_ = value ? poOwnerFormCenter : poScreenCenter;
}

void TKxDialogComponent::CenterForm(TCustomForm* form) { form->SetPosition(position_); }

// ---------------------------------------------------------------------------
// DrawGroupBarBackground

void DrawGroupBarBackground(TCanvas* canvas, const TRect& bounds, bool themed, TKxGroupBarGradientPath path,
                            TColor color, int amount) {
  if (themed && ThemeServices().GetThemesEnabled()) {
    ThemeServices().DrawElement(canvas->GetHandle(), ThemeServices().GetElementDetails(tebExplorerBarRoot), bounds);
    return;
  }
  if (!FullColorSupport() || amount == 0) return;
  int third = (bounds.bottom - bounds.top) / 3;
  TRect upper{bounds.left, bounds.top, bounds.right, bounds.bottom - third};
  TRect lower{bounds.left, bounds.top + third, bounds.right, bounds.bottom};
  auto shade = [amount](TColor c) {
    return amount > 0 ? LighterColor(c, static_cast<uint8_t>(std::min(amount, 255)))
                      : DarkerColor(c, static_cast<uint8_t>(std::min(-amount, 255)));
  };
  // The first colour is at the top, the second at the bottom.
  if (path == gpTopToBottom) {
    if (amount > 0) PaintGradient(canvas, upper, gdHorizontalEnd, shade(color), color, 64);
    else PaintGradient(canvas, lower, gdHorizontalEnd, color, shade(color), 64);
  } else {
    if (amount > 0) PaintGradient(canvas, lower, gdHorizontalEnd, color, shade(color), 64);
    else PaintGradient(canvas, upper, gdHorizontalEnd, shade(color), color, 64);
  }
}

// ---------------------------------------------------------------------------
// TKxRegIniFile

PUBLISHED(TKxRegIniFile) {
  p.Prop("Path", &TKxRegIniFile::GetPath, &TKxRegIniFile::SetPath);
  p.Prop("PathType", &TKxRegIniFile::GetPathType, &TKxRegIniFile::SetPathType).Default(ptIniFile);
  p.Prop("RegKey", &TKxRegIniFile::GetRegKey, &TKxRegIniFile::SetRegKey).Default(hkeyCurrentUser);
  p.Prop("RegAccess", &TKxRegIniFile::GetRegAccess, &TKxRegIniFile::SetRegAccess)
      .Default(TKxRegAccess{keyAllAccess});
}

TKxRegIniFile::TKxRegIniFile(TComponent* owner) : TComponent(owner) {}

void TKxRegIniFile::Destroy() {
  FreeAndNil(store_);
  inherited::Destroy();
}

void TKxRegIniFile::SetPath(const std::string& value) {
  if (value == path_) return;
  path_ = value;
  recreate_ = true;
}

void TKxRegIniFile::SetPathType(TKxPathType value) {
  if (value == pathType_) return;
  pathType_ = value;
  recreate_ = true;
}

void TKxRegIniFile::SetRegKey(TKxRegKey value) {
  if (value == regKey_) return;
  regKey_ = value;
  recreate_ = true;
}

void TKxRegIniFile::SetRegAccess(TKxRegAccess value) {
  if (value == regAccess_) return;
  regAccess_ = value;
  recreate_ = true;
}

HKEY TKxRegIniFile::RootOf(TKxRegKey key) {
  // HKEY_CLASSES_ROOT (0x80000000) .. HKEY_DYN_DATA (0x80000006), in order.
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000000u + key)));
}

DWORD TKxRegIniFile::AccessMaskOf(TKxRegAccess access) {
  static const DWORD masks[] = {0x1, 0x2, 0x4, 0x8, 0x10, 0x20, 0x20019, 0x20006, 0x20019, 0xF003F};
  DWORD mask = 0;
  for (int k = keyQueryValue; k <= keyAllAccess; ++k)
    if (access.Contains(static_cast<TKxRegAccessKey>(k))) mask |= masks[k];
  return mask;
}

namespace {

std::string ExePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// Bytes as ReadSectionValues lists a binary value: two upper-case hex
// digits and a blank each.
std::string HexBytes(const std::vector<BYTE>& bytes) {
  std::string text;
  char hex[4];
  for (BYTE b : bytes) {
    std::snprintf(hex, sizeof hex, "%02X ", b);
    text += hex;
  }
  return text;
}

// One value of key as ReadSectionValues lists it. Its type and bytes are
// read together, once, so a value of any type or size gives a line and
// none raises (a typed read refuses a DWORD that is not four bytes long).
std::string RegistryValueText(HKEY key, const std::string& name) {
  constexpr const char* kUnknown = "Unknown Data Type";
  DWORD type = REG_NONE, size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return kUnknown;
  std::vector<BYTE> bytes;
  // The value may grow between the calls: the registry then tells the size
  // it has now. One that is gone meanwhile is listed as unknown.
  for (LONG rc = ERROR_MORE_DATA; rc != ERROR_SUCCESS;) {
    bytes.resize(size + 1);
    DWORD got = static_cast<DWORD>(bytes.size());
    rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, bytes.data(), &got);
    if (rc != ERROR_SUCCESS && (rc != ERROR_MORE_DATA || got <= size)) return kUnknown;
    size = got;
    if (rc == ERROR_SUCCESS) bytes.resize(got);
  }
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      const char* text = reinterpret_cast<const char*>(bytes.data());
      return std::string(text, strnlen(text, bytes.size()));
    }
    case REG_DWORD:
      if (bytes.size() == sizeof(int32_t)) {
        int32_t value;
        std::memcpy(&value, bytes.data(), sizeof value);
        return std::to_string(value);
      }
      // No number is known for a DWORD of another length: its bytes are
      // shown, all of them, as a binary value's.
      return HexBytes(bytes);
    case REG_BINARY: return HexBytes(bytes);
    default: return kUnknown;
  }
}

}  // namespace

std::string TKxRegIniFile::EffectivePath() const {
  if (!path_.empty()) return path_;
  if (pathType_ == ptIniFile) return ChangeFileExt(ExePath(), ".ini");
  std::string title = Application ? Application->GetTitle() : std::string();
  if (title.empty()) title = ChangeFileExt(ExtractFileName(ExePath()), "");
  return "\\Software\\Temp\\" + title;
}

void TKxRegIniFile::CheckAccess() {
  if (!recreate_) return;
  FreeAndNil(store_);
  if (pathType_ == ptIniFile) {
    store_ = New<TIniFile>(EffectivePath());
  } else {
    auto* reg = New<TRegistryIniFile>("", AccessMaskOf(regAccess_));
    store_ = reg;
    reg->GetRegIniFile()->SetRootKey(RootOf(regKey_));
    reg->GetRegIniFile()->OpenKey(EffectivePath(), true);
  }
  recreate_ = false;
}

TCustomIniFile* TKxRegIniFile::Store() {
  CheckAccess();
  return store_;
}

bool TKxRegIniFile::SectionExists(const std::string& section) { return Store()->SectionExists(section); }
bool TKxRegIniFile::ValueExists(const std::string& section, const std::string& name) {
  return Store()->ValueExists(section, name);
}
bool TKxRegIniFile::ReadBool(const std::string& section, const std::string& name, bool def) {
  return Store()->ReadBool(section, name, def);
}
void TKxRegIniFile::WriteBool(const std::string& section, const std::string& name, bool value) {
  Store()->WriteBool(section, name, value);
}
TDateTime TKxRegIniFile::ReadDate(const std::string& section, const std::string& name, TDateTime def) {
  return Store()->ReadDate(section, name, def);
}
void TKxRegIniFile::WriteDate(const std::string& section, const std::string& name, TDateTime value) {
  Store()->WriteDate(section, name, value);
}
TDateTime TKxRegIniFile::ReadDateTime(const std::string& section, const std::string& name, TDateTime def) {
  return Store()->ReadDateTime(section, name, def);
}
void TKxRegIniFile::WriteDateTime(const std::string& section, const std::string& name, TDateTime value) {
  Store()->WriteDateTime(section, name, value);
}
double TKxRegIniFile::ReadFloat(const std::string& section, const std::string& name, double def) {
  return Store()->ReadFloat(section, name, def);
}
void TKxRegIniFile::WriteFloat(const std::string& section, const std::string& name, double value) {
  Store()->WriteFloat(section, name, value);
}
int TKxRegIniFile::ReadInteger(const std::string& section, const std::string& name, int def) {
  return Store()->ReadInteger(section, name, def);
}
void TKxRegIniFile::WriteInteger(const std::string& section, const std::string& name, int value) {
  Store()->WriteInteger(section, name, value);
}
std::string TKxRegIniFile::ReadString(const std::string& section, const std::string& name, const std::string& def) {
  return Store()->ReadString(section, name, def);
}
void TKxRegIniFile::WriteString(const std::string& section, const std::string& name, const std::string& value) {
  Store()->WriteString(section, name, value);
}
TDateTime TKxRegIniFile::ReadTime(const std::string& section, const std::string& name, TDateTime def) {
  return Store()->ReadTime(section, name, def);
}
void TKxRegIniFile::WriteTime(const std::string& section, const std::string& name, TDateTime value) {
  Store()->WriteTime(section, name, value);
}
int TKxRegIniFile::ReadBinaryStream(const std::string& section, const std::string& name, TStream* value) {
  return Store()->ReadBinaryStream(section, name, value);
}
void TKxRegIniFile::WriteBinaryStream(const std::string& section, const std::string& name, TStream* value) {
  Store()->WriteBinaryStream(section, name, value);
}
void TKxRegIniFile::ReadSection(const std::string& section, TStrings* strings) {
  Store()->ReadSection(section, strings);
}
void TKxRegIniFile::ReadSections(TStrings* strings) { Store()->ReadSections(strings); }
void TKxRegIniFile::EraseSection(const std::string& section) { Store()->EraseSection(section); }
void TKxRegIniFile::DeleteKey(const std::string& section, const std::string& name) {
  Store()->DeleteKey(section, name);
}

void TKxRegIniFile::ReadSectionValues(const std::string& section, TStrings* strings) {
  TCustomIniFile* store = Store();
  if (pathType_ == ptIniFile) {
    store->ReadSectionValues(section, strings);
    return;
  }
  // Every value of the key as text, whatever its type: a registry object of
  // its own, with default access, on the key the other operations use.
  Owned<TRegistry> reg(New<TRegistry>());
  reg->SetRootKey(RootOf(regKey_));
  std::string base = EffectivePath();
  std::string key = !base.empty() && base.back() == '\\' ? base + section : base + "\\" + section;
  Owned<TStringList> lines(New<TStringList>());
  if (reg->OpenKey(key, false)) {
    Owned<TStringList> names(New<TStringList>());
    reg->GetValueNames(names.get());
    names->Sort();
    for (int i = 0; i < names->GetCount(); ++i) {
      std::string name = names->Get(i);
      lines->Add((name.empty() ? "Default" : name) + "=" + RegistryValueText(reg->GetCurrentKey(), name));
    }
  }
  strings->BeginUpdate();
  try {
    strings->Clear();
    strings->AddStrings(lines.get());
  } catch (...) {
    strings->EndUpdate();
    throw;
  }
  strings->EndUpdate();
}

// ---------------------------------------------------------------------------
// TKxCustomColors

PUBLISHED(TKxCustomColors) {
  p.Prop("Colors", &TKxCustomColors::GetColors, &TKxCustomColors::SetColors);
  p.Prop("RegIniFile", &TKxCustomColors::GetRegIniFile, &TKxCustomColors::SetRegIniFile);
}

TKxCustomColors::TKxCustomColors(TComponent* owner) : TComponent(owner), colors_(New<TStringList>()) {
  InitColors();
}

void TKxCustomColors::Destroy() {
  FreeAndNil(colors_);
  inherited::Destroy();
}

void TKxCustomColors::InitColors() {
  for (char letter = 'A'; letter <= 'P'; ++letter) colors_->Add(std::string("Color") + letter + "=FFFFFF");
}

std::string TKxCustomColors::GetColorName(int index) const { return colors_->GetName(index); }

void TKxCustomColors::FixupColors() {
  for (int i = 0; i < colors_->GetCount(); ++i) {
    int value = StrToInt("$" + colors_->GetValueFromIndex(i)) & 0xFFFFFF;
    char hex[8];
    std::snprintf(hex, sizeof hex, "%.6x", value);
    colors_->SetValueFromIndex(i, hex);
  }
}

void TKxCustomColors::SetColors(TStrings* value) {
  colors_->Assign(value);
  FixupColors();
}

void TKxCustomColors::SetRegIniFile(TKxRegIniFile* value) {
  if (value == regIniFile_) return;
  if (regIniFile_) regIniFile_->RemoveFreeNotification(this);
  regIniFile_ = value;
  if (value) value->FreeNotification(this);
}

void TKxCustomColors::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == regIniFile_) regIniFile_ = nullptr;
}

void TKxCustomColors::Load(const std::string& section) {
  if (!regIniFile_) throw Exception(LoadStr(SKxCannotLoadColors));
  regIniFile_->ReadSectionValues(section, colors_);
  FixupColors();
}

void TKxCustomColors::Save(const std::string& section) {
  if (!regIniFile_) throw Exception(LoadStr(SKxCannotSaveColors));
  for (int i = 0; i < colors_->GetCount(); ++i)
    regIniFile_->WriteString(section, colors_->GetName(i), colors_->GetValueFromIndex(i));
}

// ---------------------------------------------------------------------------
// TKxOldPropReader

void TKxOldPropReader::ReadOldBooleanProp(TReader* reader) { reader->ReadBoolean(); }
void TKxOldPropReader::ReadOldEnumProp(TReader* reader) { reader->ReadIdent(); }
void TKxOldPropReader::ReadOldIdentProp(TReader* reader) { reader->ReadIdent(); }
void TKxOldPropReader::ReadOldIntegerProp(TReader* reader) { reader->ReadInteger(); }
void TKxOldPropReader::ReadOldSetProp(TReader* reader) {
  reader->ReadValue();
  while (!reader->ReadStr().empty()) {
  }
}
void TKxOldPropReader::ReadOldStringProp(TReader* reader) { reader->ReadString(); }
void TKxOldPropReader::WriteOldProp(TWriter*) {}

// ---------------------------------------------------------------------------
// TKxFrameController

PUBLISHED(TKxFrameController) {
  using C = TKxFrameController;
  p.Prop("Color", &C::GetColor, &C::SetColor).Type(TColorTypeInfo()).Default(clWindow).Stored(&C::IsColorStored);
  p.Prop("DisabledColor", &C::GetDisabledColor, &C::SetDisabledColor).Type(TColorTypeInfo()).Default(clBtnFace);
  p.Prop("FlatButtonColor", &C::GetFlatButtonColor, &C::SetFlatButtonColor)
      .Type(TColorTypeInfo())
      .Default(clBtnFace);
  p.Prop("FlatButtons", &C::GetFlatButtons, &C::SetFlatButtons).Default(true);
  p.Prop("FocusColor", &C::GetFocusColor, &C::SetFocusColor).Type(TColorTypeInfo()).Default(clWindow);
  p.Prop("FrameColor", &C::GetFrameColor, &C::SetFrameColor).Type(TColorTypeInfo()).Default(clBtnShadow);
  p.Prop("FrameHotColor", &C::GetFrameHotColor, &C::SetFrameHotColor).Type(TColorTypeInfo()).Default(clBtnShadow);
  p.Prop("FrameHotStyle", &C::GetFrameHotStyle, &C::SetFrameHotStyle).Type(TFrameStyleTypeInfo()).Default(fsFlatBold);
  p.Prop("FrameHotTrack", &C::GetFrameHotTrack, &C::SetFrameHotTrack).Default(false);
  p.Prop("FrameSides", &C::GetFrameSides, &C::SetFrameSides).Default(sdAllSides);
  p.Prop("FrameStyle", &C::GetFrameStyle, &C::SetFrameStyle).Type(TFrameStyleTypeInfo()).Default(fsFlat);
  p.Prop("FrameVisible", &C::GetFrameVisible, &C::SetFrameVisible).Default(false);
  p.Prop("FramingPreference", &C::GetFramingPreference, &C::SetFramingPreference).Default(fpXPThemes);
  p.Prop("ParentColor", &C::GetParentColor, &C::SetParentColor).Default(false);
  p.Prop("RegIniFile", &C::GetRegIniFile, &C::SetRegIniFile);
}

TKxFrameController::TKxFrameController(TComponent* owner) : TComponent(owner) {}

void TKxFrameController::Destroy() {
  FreeAndNil(controls_);
  inherited::Destroy();
}

void TKxFrameController::AddControl(TComponent* control) {
  if (!control) return;
  if (!controls_) controls_ = New<TList>();
  if (controls_->IndexOf(control) >= 0) return;
  controls_->Add(control);
  UpdateControlFrame(control, fpAll);
}

void TKxFrameController::RemoveControl(TComponent* control) {
  if (!controls_) return;
  controls_->Remove(control);
  if (controls_->GetCount() == 0) FreeAndNil(controls_);
}

void KxSetFrameController(TComponent* control, TKxFrameController*& field, TKxFrameController* value) {
  if (field == value) return;
  if (field) field->RemoveControl(control);
  field = value;
  if (value) {
    value->AddControl(control);
    value->FreeNotification(control);
  }
}

int TKxFrameController::GetControlCount() const { return controls_ ? controls_->GetCount() : 0; }

void TKxFrameController::BeginUpdate() { ++updateCount_; }

void TKxFrameController::EndUpdate() {
  if (--updateCount_ <= 0) {
    updateCount_ = 0;
    UpdateFrames(fpAll);
  }
}

void TKxFrameController::UpdateControls() { UpdateFrames(fpAll); }

void TKxFrameController::UpdateFrames(TKxFrameProperty property) {
  if (updateCount_ > 0 || !controls_) return;
  for (int i = 0; i < controls_->GetCount(); ++i)
    UpdateControlFrame(static_cast<TComponent*>(controls_->Get(i)), property);
}

namespace {

// Sets an ordinal (or colour) property of the control when it publishes one
// of that name; a control without it is left alone.
void SetOrdIfPublished(TObject* control, const char* name, int64_t value) {
  PPropInfo p = GetPropInfo(control, name);
  if (p && p->SetOrd) SetOrdProp(control, p, value);
}

}  // namespace

void TKxFrameController::UpdateControlFrame(TComponent* control, TKxFrameProperty property) {
  auto* target = dynamic_cast<TControl*>(control);
  if (!target) return;
  if (auto* custom = dynamic_cast<IKxCustomFramingNotification*>(target)) {
    custom->CustomFramingChanged();
    return;
  }
  auto push = [&](TKxFrameProperty p) {
    switch (p) {
      case fpColor: SetOrdIfPublished(target, "Color", color_); break;
      case fpFocusColor: SetOrdIfPublished(target, "FocusColor", focusColor_); break;
      case fpDisabledColor: SetOrdIfPublished(target, "DisabledColor", disabledColor_); break;
      case fpParentColor: SetOrdIfPublished(target, "ParentColor", parentColor_); break;
      case fpFlatButtonColor: SetOrdIfPublished(target, "FlatButtonColor", flatButtonColor_); break;
      case fpFlatButtons: SetOrdIfPublished(target, "FlatButtons", flatButtons_); break;
      case fpFrameColor: SetOrdIfPublished(target, "FrameColor", frameColor_); break;
      case fpHotColor: SetOrdIfPublished(target, "FrameHotColor", frameHotColor_); break;
      case fpHotTrack: SetOrdIfPublished(target, "FrameHotTrack", frameHotTrack_); break;
      case fpHotStyle: SetOrdIfPublished(target, "FrameHotStyle", frameHotStyle_); break;
      case fpSides:
        // The set goes as its text, so a control's own set type takes it.
        if (PPropInfo info = GetPropInfo(target, "FrameSides"); info && info->SetOrd)
          SetSetProp(target, info, GetSetProp(this, "FrameSides"));
        break;
      case fpStyle: SetOrdIfPublished(target, "FrameStyle", frameStyle_); break;
      case fpVisible: SetOrdIfPublished(target, "FrameVisible", frameVisible_); break;
      case fpPreference: SetOrdIfPublished(target, "FramingPreference", framingPreference_); break;
      case fpAll: break;
    }
  };
  if (property != fpAll) {
    push(property);
    return;
  }
  push(fpParentColor);
  if (!parentColor_) push(fpColor);
  for (TKxFrameProperty p : {fpDisabledColor, fpFocusColor, fpFlatButtonColor, fpFlatButtons, fpFrameColor,
                             fpHotColor, fpHotTrack, fpHotStyle, fpSides, fpStyle, fpVisible, fpPreference})
    push(p);
}

void TKxFrameController::SetColor(TColor value) {
  if (value == color_) return;
  if (focusColor_ == color_) focusColor_ = value;
  color_ = value;
  parentColor_ = false;
  UpdateFrames(fpColor);
}

void TKxFrameController::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  UpdateFrames(fpParentColor);
  if (!value) UpdateFrames(fpColor);
}

#define KX_FRAME_SETTER(Name, Field, Property)           \
  void TKxFrameController::Name(decltype(Field) value) { \
    if (value == Field) return;                          \
    Field = value;                                       \
    UpdateFrames(Property);                              \
  }
KX_FRAME_SETTER(SetFlatButtonColor, flatButtonColor_, fpFlatButtonColor)
KX_FRAME_SETTER(SetFlatButtons, flatButtons_, fpFlatButtons)
KX_FRAME_SETTER(SetDisabledColor, disabledColor_, fpDisabledColor)
KX_FRAME_SETTER(SetFocusColor, focusColor_, fpFocusColor)
KX_FRAME_SETTER(SetFrameColor, frameColor_, fpFrameColor)
KX_FRAME_SETTER(SetFrameHotColor, frameHotColor_, fpHotColor)
KX_FRAME_SETTER(SetFrameHotStyle, frameHotStyle_, fpHotStyle)
KX_FRAME_SETTER(SetFrameSides, frameSides_, fpSides)
KX_FRAME_SETTER(SetFrameStyle, frameStyle_, fpStyle)
KX_FRAME_SETTER(SetFrameVisible, frameVisible_, fpVisible)
KX_FRAME_SETTER(SetFramingPreference, framingPreference_, fpPreference)
#undef KX_FRAME_SETTER

void TKxFrameController::SetFrameHotTrack(bool value) {
  if (value == frameHotTrack_) return;
  frameHotTrack_ = value;
  if (value) {
    SetFrameVisible(true);
    if (!IsLoading()) frameSides_ = sdAllSides;
  }
  UpdateFrames(fpHotTrack);
}

void TKxFrameController::SetRegIniFile(TKxRegIniFile* value) {
  if (value == regIniFile_) return;
  if (regIniFile_) regIniFile_->RemoveFreeNotification(this);
  regIniFile_ = value;
  if (value) value->FreeNotification(this);
}

void TKxFrameController::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == regIniFile_) regIniFile_ = nullptr;
}

void TKxFrameController::Loaded() {
  inherited::Loaded();
  UpdateControls();
}

void TKxFrameController::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TKxFrameController*>(source);
  if (!other) {
    inherited::Assign(source);
    return;
  }
  BeginUpdate();
  color_ = other->color_;
  disabledColor_ = other->disabledColor_;
  flatButtonColor_ = other->flatButtonColor_;
  flatButtons_ = other->flatButtons_;
  focusColor_ = other->focusColor_;
  frameColor_ = other->frameColor_;
  frameHotColor_ = other->frameHotColor_;
  frameHotStyle_ = other->frameHotStyle_;
  frameHotTrack_ = other->frameHotTrack_;
  frameSides_ = other->frameSides_;
  frameStyle_ = other->frameStyle_;
  frameVisible_ = other->frameVisible_;
  framingPreference_ = other->framingPreference_;
  parentColor_ = other->parentColor_;
  EndUpdate();
}

void TKxFrameController::Load(const std::string& section) {
  if (!regIniFile_) throw Exception(LoadStr(SKxCannotLoadFraming));
  TKxRegIniFile* ini = regIniFile_;
  BeginUpdate();
  try {
    // Ordinals come back range-checked: a stored file may hold anything.
    color_ = ini->ReadInteger(section, "Color", clWindow);
    flatButtonColor_ = ini->ReadInteger(section, "FlatButtonColor", clBtnFace);
    flatButtons_ = ini->ReadBool(section, "FlatButtons", true);
    disabledColor_ = ini->ReadInteger(section, "DisabledColor", clWindow);
    focusColor_ = ini->ReadInteger(section, "FocusColor", clWindow);
    frameColor_ = ini->ReadInteger(section, "FrameColor", clBtnShadow);
    frameHotColor_ = ini->ReadInteger(section, "FrameHotColor", clBtnShadow);
    frameHotStyle_ = OrdinalOr(ini->ReadInteger(section, "FrameHotStyle", fsFlatBold), fsLastFrameStyle, fsFlatBold);
    frameHotTrack_ = ini->ReadBool(section, "FrameHotTrack", false);
    TSides sides;
    if (ini->ReadBool(section, "FrameSides_Left", true)) sides.Include(sdLeft);
    if (ini->ReadBool(section, "FrameSides_Top", true)) sides.Include(sdTop);
    if (ini->ReadBool(section, "FrameSides_Right", true)) sides.Include(sdRight);
    if (ini->ReadBool(section, "FrameSides_Bottom", true)) sides.Include(sdBottom);
    frameSides_ = sides;
    frameStyle_ = OrdinalOr(ini->ReadInteger(section, "FrameStyle", fsFlat), fsLastFrameStyle, fsFlat);
    frameVisible_ = ini->ReadBool(section, "FrameVisible", false);
    framingPreference_ =
        OrdinalOr(ini->ReadInteger(section, "FramingPreference", fpXPThemes), fpXPThemes, fpXPThemes);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TKxFrameController::Save(const std::string& section) {
  if (!regIniFile_) throw Exception(LoadStr(SKxCannotSaveFraming));
  TKxRegIniFile* ini = regIniFile_;
  ini->WriteInteger(section, "Color", color_);
  ini->WriteInteger(section, "FlatButtonColor", flatButtonColor_);
  ini->WriteBool(section, "FlatButtons", flatButtons_);
  ini->WriteInteger(section, "DisabledColor", disabledColor_);
  ini->WriteInteger(section, "FocusColor", focusColor_);
  ini->WriteInteger(section, "FrameColor", frameColor_);
  ini->WriteInteger(section, "FrameHotColor", frameHotColor_);
  ini->WriteInteger(section, "FrameHotStyle", frameHotStyle_);
  ini->WriteBool(section, "FrameHotTrack", frameHotTrack_);
  ini->WriteBool(section, "FrameSides_Left", frameSides_.Contains(sdLeft));
  ini->WriteBool(section, "FrameSides_Top", frameSides_.Contains(sdTop));
  ini->WriteBool(section, "FrameSides_Right", frameSides_.Contains(sdRight));
  ini->WriteBool(section, "FrameSides_Bottom", frameSides_.Contains(sdBottom));
  ini->WriteInteger(section, "FrameStyle", frameStyle_);
  ini->WriteBool(section, "FrameVisible", frameVisible_);
  ini->WriteInteger(section, "FramingPreference", framingPreference_);
}

void TKxFrameController::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  // Names older versions wrote: read, mapped or dropped, never written.
  filer->DefineProperty("FrameFlat", [this](TReader* r) { ReadFrameFlat(r); }, nullptr, false);
  filer->DefineProperty("FrameFocusStyle", [this](TReader* r) { ReadFrameFocusStyle(r); }, nullptr, false);
  filer->DefineProperty("FrameFlatStyle", &TKxOldPropReader::ReadOldEnumProp, nullptr, false);
}

void TKxFrameController::ReadFrameFlat(TReader* reader) {
  bool flat = reader->ReadBoolean();
  SetFrameHotTrack(flat);
  if (flat) {
    SetFrameStyle(fsStatus);
    SetFrameHotStyle(fsLowered);
  }
}

void TKxFrameController::ReadFrameFocusStyle(TReader* reader) {
  int style = GetEnumValue(TypeInfo<TFrameStyleEx>(), reader->ReadIdent());
  if (style >= 0) SetFrameHotStyle(static_cast<TFrameStyleEx>(style));
}

// ---------------------------------------------------------------------------
// TKxBlinkingControlsList

IMPLEMENT_CLASS(TKxBlinkingControlsList)

TKxBlinkingControlsList::TKxBlinkingControlsList() : timer_(New<TTimer>(nullptr)) {
  timer_->SetInterval(static_cast<uint32_t>(offInterval_));
  timer_->SetOnTimer(TNotifyEvent(this, &TKxBlinkingControlsList::TimerFired));
  timer_->SetEnabled(true);
}

void TKxBlinkingControlsList::Destroy() {
  FreeAndNil(timer_);
  inherited::Destroy();
}

void TKxBlinkingControlsList::Add(TControl* control) { controls_.Add(control); }

void TKxBlinkingControlsList::Remove(TControl* control) { controls_.Remove(control); }

int TKxBlinkingControlsList::GetCount() const { return controls_.GetCount(); }

void TKxBlinkingControlsList::TimerFired(TObject*) {
  if (state_ == bsOff) {
    state_ = bsOn;
    timer_->SetInterval(static_cast<uint32_t>(offInterval_));
  } else {
    state_ = bsOff;
    timer_->SetInterval(static_cast<uint32_t>(onInterval_));
  }
  // A control told the state may stop blinking and leave the list, or free
  // controls, itself or the last one and with it this list.
  TBlinkState state = state_;
  controls_.Walk([state](TControl* control) {
    if (control->Perform(CM_GETBLINKING, 0, 0) == 1) control->Perform(CM_BLINK, state, 0);
  });
}

namespace {
TKxBlinkingControlsList* blinkingControls = nullptr;
}  // namespace

TKxBlinkingControlsList* BlinkingControlsList() {
  if (!blinkingControls) blinkingControls = New<TKxBlinkingControlsList>();
  return blinkingControls;
}

TKxBlinkingControlsList* FindBlinkingControlsList() { return blinkingControls; }

void FreeBlinkingControlsListIfEmpty() {
  if (blinkingControls && blinkingControls->GetCount() == 0) FreeAndNil(blinkingControls);
}

// ---------------------------------------------------------------------------
// Start-up

void InitializeKxCommon() {
  RegisterClasses({TKxFrameController::StaticClass(), TKxRegIniFile::StaticClass(), TKxCustomColors::StaticClass()});
}

void FinalizeKxCommon() { FreeAndNil(blinkingControls); }
