// The frame, bevel, border, arrow and bar drawing of unit KxCommon.
#include <vector>

#include "classlib/SysUtils.h"
#include "kx/foundation/KxCommon.h"
#include "kx/foundation/KxGrafx.h"
#include "kx/foundation/KxThemeSrv.h"

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
