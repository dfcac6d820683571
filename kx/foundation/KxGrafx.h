// KxGrafx: the Kx library's bitmap helpers (transparent, tiled, centred and
// stretched drawing, flipping), the gradient fill of group headings and
// bars, the trapezoid helpers of the meter, and the helper with which
// transparent controls paint their parent behind them.
#pragma once

#include <cstdint>

#include "classlib/Controls.h"
#include "classlib/Graphics.h"
#include "kx/foundation/KxCommon.h"

enum TGradientDirection {
  gdDiagonalUp, gdDiagonalDown, gdHorizontalEnd, gdHorizontalCenter, gdHorizontalBox, gdVerticalEnd,
  gdVerticalCenter, gdVerticalBox, gdSquareBox, gdBigSquareBox
};
DECLARE_ENUM_TYPE(TGradientDirection);

// Four corners: upper-left, upper-right, lower-right, lower-left.
struct TTrap {
  TPoint Points[4];
};
enum TTrapShape { tsLeft, tsCenter, tsRight };
DECLARE_ENUM_TYPE(TTrapShape);
// Scoped: the class library's form border and bevel styles already use the
// bare names bsNone, bsLowered and bsRaised.
enum class TTrapBevelStyle { bsNone, bsLowered, bsRaised };
DECLARE_ENUM_TYPE(TTrapBevelStyle);
enum TTrapDirect { tdLargeToSmall, tdSmallToLarge };
DECLARE_ENUM_TYPE(TTrapDirect);

// --- bitmaps ---------------------------------------------------------------------

// Stretches source of the bitmap into dest, leaving pixels of the
// transparent colour out (mask with AND, image with OR).
void DrawTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& dest, const TRect& source,
                           TColor transparentColor);
// The same through the class library's transparent stretch blit.
void DrawFullTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& dest, const TRect& source,
                               TColor transparentColor);
void TileTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& rect, TColor transparentColor);
void StretchTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& rect, TColor transparentColor);
// Tiles from the rectangle's top-left corner.
void TileBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& rect);
// Tiles aligned to the canvas origin, so neighbouring areas meet seamlessly.
void TileRealizedBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& rect);
// Centred, cropped where it is larger than the rectangle.
void CenterBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& rect);
void StretchBitmap(TCanvas* canvas, TBitmap* bitmap, const TRect& rect);
// Turns the bitmap upside down in place.
void FlipBitmap(TBitmap* bitmap);

// --- gradients ---------------------------------------------------------------------

// Fills rect with a gradient from first to second colour; colorCount sets
// the width of the solid bands (above 8: 255 div colorCount + 1 pixels).
// On a 24- or 32-bit DIB section drawn in plain pixels with cmSrcCopy the
// rows go straight into the bitmap's memory; anywhere else the picture is
// drawn as a bitmap would be. The pixels are the same either way.
void PaintGradient(TCanvas* canvas, const TRect& rect, TGradientDirection direction, TColor first, TColor second,
                   int8_t colorCount);
// The colours of a graded run of length pixels, from its start (nearest the
// first colour) to its far end (the second colour), in bands.
std::vector<COLORREF> GradientRun(TColor first, TColor second, int length, int colorCount);
// Bands of rows (horizontal) or columns (vertical) over rect, one solid
// fill each.
void FillGrad(HDC dc, const TRect& rect, TColor first, TColor second, int colorCount, TOrientation orientation);
// Nested rectangles over rect growing inwards from its outer (top-left)
// edges, the inner edges advanced by insetX and insetY.
void FillGradRect(HDC dc, const TRect& rect, TColor first, TColor second, int colorCount, int insetX, int insetY);
// A diagonal fill over rect, mirrored in x when mirrored is set.
void FillGradDiag(HDC dc, const TRect& rect, TColor first, TColor second, int colorCount, bool mirrored);
// Repeats the strip at the start of (0, 0, width, height) across the rest by
// doubling blits: columns for a horizontal gradient, rows for a vertical one.
void BitFillBlit(HDC dc, int width, int height, int strip, TOrientation orientation);
// Mirrors the top-left quarter of (0, 0, width, height) into the others.
void BoxBitMirrorBlit(HDC dc, int width, int height);

// --- trapezoids ---------------------------------------------------------------------

void SetTrapezoid(TTrap& trap, const TRect& rect, int minSize, TTrapShape shape, TDirection direction,
                  TTrapDirect direct);
TTrap AdjustTrapezoid(const TTrap& trap, const TRect& rect, TDirection direction);
void InflateTrapezoid(TTrap& trap, int amount);
// The point of the line through p1 and p2 at p's x (dirLeft, dirRight) or
// y (dirUp, dirDown).
TPoint Intersect(const TPoint& p1, const TPoint& p2, const TPoint& p, TDirection direction);
void DrawTrapezoidBorder(TCanvas* canvas, const TTrap& trap, TTrapBevelStyle style, int width);

// --- parents ------------------------------------------------------------------------

// Paints the control's parent behind it into dc (erase, then paint).
void DrawParentImage(TControl* control, HDC dc, bool invalidateParent = false);
void DrawParentImage(TControl* control, TCanvas* canvas, bool invalidateParent = false);
