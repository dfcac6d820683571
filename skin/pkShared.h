// pkShared: the helpers the skin library's controls share. Class-name tests
// (for classes the library may not link), colour adjustment, masked and tiled
// drawing, image-list drawing, checker dithering, proportional rectangles,
// text measuring and string splitting, window invalidation, and the library's
// version string.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "classlib/Win.h"
#include "skin/pkColorSwap.h"

class TpkBitmap;

// The library's version, "3000.03" while the unit is initialised.
const std::string& GetPkVersion();

// True when cls or one of its ancestors is named name (without regard to case).
bool InheritsFromName(TClass cls, std::string_view name);
inline bool InheritsFromName(const TObject* obj, std::string_view name) {
  return obj && InheritsFromName(obj->ClassType(), name);
}

// Each channel moved by percent: relative to the room left towards white
// (positive) or black (negative), or by percent itself; clamped to 0..255.
TColor AdjustColor(TColor color, int percent, bool relative);

struct TpkColorBytes {
  uint8_t R, G, B, A;
};
// ColorToRGB, then its four bytes.
TpkColorBytes SplitColor(TColor color);

// Draws bitmap at rect's top-left leaving out every pixel of the transparent
// colour (-1 or clNone: the first pixel of the first row): the destination
// keeps its own pixels there.
void DrawMasked(TCanvas* canvas, const TRect& rect, TpkBitmap* bitmap, TColor transparentColor);
// Puts image at rect's top-left where mask is white and keeps the
// destination where mask is black (XOR, cut out the mask with DSna, XOR).
// With viaCopy the work is done on a copy of the destination rectangle that
// is copied back in one blit. The DC's colours are restored.
void BlitThroughMask(TCanvas* canvas, const TRect& rect, TBitmap* image, bool viaCopy, TBitmap* mask);
// Fills the part of bitmap outside region with its transparent colour.
void FillOutsideRegion(TpkBitmap* bitmap, HRGN region);

// An image of the list: enabled through ImageList_DrawEx with the list's
// colours; disabled as its monochrome mask, embossed (clBtnHighlight one
// pixel down and right, clBtnShadow over it).
void DrawImageListImage(TCustomImageList* list, int index, TCanvas* canvas, int x, int y, TDrawingStyle style,
                        bool enabled);
// The same at the even x at or left of x.
void DrawImageListImageEven(TCustomImageList* list, int index, TCanvas* canvas, int x, int y, TDrawingStyle style,
                            bool enabled);
// Dest becomes Source's size on clBtnFace with Source's shape (its pixels
// that are not its transparent colour) embossed in clBtnHighlight and
// clBtnShadow.
void DrawDisabledGlyph(TBitmap* source, TBitmap* dest);

// An 8 x 8 monochrome pattern brush of alternating pixels; the caller
// deletes it.
HBRUSH CheckerBrush();
// Checker of color1 and color2; color1 clNone paints only the color2 cells.
// color2 clNone raises EInvalidOperation.
void FillChecker(TCanvas* canvas, const TRect& rect, TColor color1, TColor color2);
// The graphic repeated from (0, 0) until the rectangle's width and height are
// covered; nothing for an empty graphic or rectangle.
void TileGraphic(TGraphic* graphic, TCanvas* canvas, const TRect& rect);
// The largest rectangle of aspect width : height inside rect, at its
// top-left or centred on the free axis; empty (at rect's top-left) when
// either is empty.
TRect FitRect(const TRect& rect, int width, int height);
TRect FitRectCentered(const TRect& rect, int width, int height);

// Height of text laid out by DrawTextEx (flags plus DT_CALCRECT) in width.
int TextHeightIn(TCanvas* canvas, UINT flags, int width, const std::string& text);
// Extent of text split at CR LF: heights summed with lineSpacing between
// lines, the widest line's width. With width > 0 each line is measured by
// DrawTextEx in that width, else by TextHeight/TextWidth.
void MultiLineExtent(TCanvas* canvas, const std::string& text, int lineSpacing, TSize& size, UINT flags, int width);

// "&&" becomes "&", a single "&" is removed.
std::string StripAccelerators(const std::string& s);
std::string ReplaceAll(const std::string& s, const std::string& oldPart, const std::string& newPart);
// 1-based position of sub in s at or after start; 0 when absent.
int PosFrom(const std::string& sub, const std::string& s, int start);
// 1-based position of the n-th (from 1) occurrence of sub; 0 when absent.
int NthPos(const std::string& sub, const std::string& s, int n);
// Occurrences of sub in s, not overlapping.
int CountOf(const std::string& s, const std::string& sub);
// The n-th (from 0) piece of s between delimiters; "" past the last.
std::string NthField(const std::string& s, const std::string& delimiter, int n);

enum TpkTokenOption { ntSkipBlanks, ntQuoted, ntSpaces };
DECLARE_ENUM_TYPE(TpkTokenOption);
using TpkTokenOptions = TSet<TpkTokenOption>;
// Reads the token at pos (1-based). ntSkipBlanks skips spaces and tabs
// first; ntQuoted returns a stretch in double quotes without them; otherwise
// the characters before the first delimiter, control character or, without
// ntSpaces, character below "!"; that character is consumed too. False when
// nothing is left.
bool NextToken(const std::string& s, int& pos, TpkTokenOptions options, std::string& token,
               const std::string& delimiters);

// Every other child window of parent whose window rectangle meets window's is
// invalidated, with its own children, without erasing.
void InvalidateOverlapping(HWND parent, HWND window);

template <class T>
void SetFlag(bool condition, T& flags, T mask) {
  if (condition) flags |= mask;
  else flags &= ~mask;
}
template <class T>
T Smaller(T a, T b) {
  return std::min(a, b);
}
template <class T>
T Larger(T a, T b) {
  return std::max(a, b);
}
inline int RectWidth(const TRect& r) { return r.right - r.left; }
inline int RectHeight(const TRect& r) { return r.bottom - r.top; }
inline void SetPoint(TPoint& p, int x, int y) {
  p.x = x;
  p.y = y;
}

void InitializePkShared();
void FinalizePkShared();
