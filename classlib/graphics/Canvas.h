// TCanvas: a drawing surface over a device context.
//
// The canvas attaches an HDC with SaveDC and gives it back with RestoreDC, so
// whatever it changed (pen, brush, font, colours, ROP2) is undone on release.
// It owns a TFont, TPen and TBrush and selects their handles only when an
// operation needs them (RequiredState); when one of them changes, its handle
// is deselected at once (stock object in its place) so that it can be freed.
// A canvas without a DC asks the virtual CreateHandle for one: the bitmap's
// canvas makes a memory DC, the control canvas (controls unit) a window DC.
#pragma once

#include <string>
#include <vector>

#include "classlib/Types.h"
#include "classlib/Win.h"
#include "classlib/classes/Persistent.h"
#include "classlib/graphics/Colors.h"
#include "classlib/graphics/GraphicsObjects.h"

class TGraphic;
class TBitmap;

enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStates>;
inline constexpr TCanvasState csAllValid{csHandleValid, csFontValid, csPenValid, csBrushValid};

enum TFillStyle { fsSurface, fsBorder };
DECLARE_ENUM_TYPE(TFillStyle);

enum TCanvasOrientation { coLeftToRight, coRightToLeft };
DECLARE_ENUM_TYPE(TCanvasOrientation);

// Raster operations of CopyRect and Draw.
using TCopyMode = int32_t;
inline constexpr TCopyMode cmBlackness = BLACKNESS;
inline constexpr TCopyMode cmDstInvert = DSTINVERT;
inline constexpr TCopyMode cmMergeCopy = MERGECOPY;
inline constexpr TCopyMode cmMergePaint = MERGEPAINT;
inline constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
inline constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
inline constexpr TCopyMode cmPatCopy = PATCOPY;
inline constexpr TCopyMode cmPatInvert = PATINVERT;
inline constexpr TCopyMode cmPatPaint = PATPAINT;
inline constexpr TCopyMode cmSrcAnd = SRCAND;
inline constexpr TCopyMode cmSrcCopy = SRCCOPY;
inline constexpr TCopyMode cmSrcErase = SRCERASE;
inline constexpr TCopyMode cmSrcInvert = SRCINVERT;
inline constexpr TCopyMode cmSrcPaint = SRCPAINT;
inline constexpr TCopyMode cmWhiteness = WHITENESS;

class TCanvas;
// The canvas's DC with state selected, without announcing a change: for
// reading from a canvas (the source of a copy).
HDC CanvasDC(TCanvas* canvas, TCanvasState state = {csHandleValid});

// Copies src into dst (both stretched as StretchBlt does) leaving out the
// pixels whose mask bit is set: mask is a monochrome DC of the source's size,
// white (1) where the source is transparent.
void TransparentStretchBlt(HDC dst, int dstX, int dstY, int dstW, int dstH, HDC src, int srcX, int srcY, int srcW,
                           int srcH, HDC mask, int maskX, int maskY);

class TCanvas : public TPersistent {
  DECLARE_CLASS(TCanvas, TPersistent)

  TCanvas();
  ~TCanvas() override;

  // Drawing. Each operation runs Changing, selects what it needs, draws and
  // runs Changed.
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Ellipse(int x1, int y1, int x2, int y2);
  void Ellipse(const TRect& r) { Ellipse(r.left, r.top, r.right, r.bottom); }
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  void DrawFocusRect(const TRect& r);
  void Polygon(const TPoint* points, int count);
  void Polygon(const std::vector<TPoint>& points) { Polygon(points.data(), static_cast<int>(points.size())); }
  void Polyline(const TPoint* points, int count);
  void Polyline(const std::vector<TPoint>& points) { Polyline(points.data(), static_cast<int>(points.size())); }
  void PolyBezier(const TPoint* points, int count);
  void PolyBezier(const std::vector<TPoint>& points) { PolyBezier(points.data(), static_cast<int>(points.size())); }
  // The line ends one pixel short of (x, y), as GDI draws it.
  void LineTo(int x, int y);
  void MoveTo(int x, int y);
  TPoint GetPenPos();
  void SetPenPos(const TPoint& p) { MoveTo(p.x, p.y); }
  void FloodFill(int x, int y, TColor color, TFillStyle style);

  // Pixels[x, y] through GetPixel/SetPixel; a point outside the surface
  // reads as -1 (GDI's CLR_INVALID).
  TColor GetPixels(int x, int y);
  void SetPixels(int x, int y, TColor color);

  // Text goes out in Font over the brush (clear brush: transparent).
  void TextOut(int x, int y, const std::string& text);
  // Clipped to r; the brush (unless clear) fills r first.
  void TextRect(const TRect& r, int x, int y, const std::string& text);
  TSize TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  // ETO_* flags added to every TextOut/TextRect.
  int GetTextFlags() const { return textFlags_; }
  void SetTextFlags(int v) { textFlags_ = v; }

  // Graphics: Draw at the graphic's own size, StretchDraw into r.
  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const TRect& r, TGraphic* graphic);
  // StretchBlt from another canvas with CopyMode.
  void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);
  // Copies source of bitmap to dest with every pixel of colour painted in the
  // brush (or, with a clear brush, left out).
  void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color);
  TCopyMode GetCopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode v) { copyMode_ = v; }

  TRect GetClipRect();
  // coRightToLeft when the DC's mapping runs x from right to left (window
  // and viewport x extents of opposite signs, as a right-to-left control
  // sets up): there text runs from its reference point towards smaller x,
  // so right-to-left text output starts one text width further right. A DC
  // mirrored with SetLayout(LAYOUT_RTL) is not counted: GDI itself runs its
  // text from the reference point towards larger logical x.
  TCanvasOrientation GetCanvasOrientation();
  // Deselects the pen, brush and font so that the next operation selects them
  // afresh (after the DC was changed behind the canvas's back).
  void Refresh();

  TFont* GetFont() const { return font_; }
  void SetFont(TFont* v) { font_->Assign(v); }
  TPen* GetPen() const { return pen_; }
  void SetPen(TPen* v) { pen_->Assign(v); }
  TBrush* GetBrush() const { return brush_; }
  void SetBrush(TBrush* v) { brush_->Assign(v); }

  // The DC, made on demand through CreateHandle, with the font, pen and brush
  // selected. Getting it runs Changing, since the caller may draw on it.
  HDC GetHandle();
  // Attaches a DC (SaveDC) after releasing the current one (RestoreDC); the
  // pen position carries over from one DC to the next.
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return handle_ != nullptr; }

  // Serialises drawing across threads; nested locks count.
  void Lock();
  void Unlock();
  bool TryLock();
  int GetLockCount() const { return lockCount_; }

  const TNotifyEvent& GetOnChange() const { return onChange_; }
  void SetOnChange(const TNotifyEvent& e) { onChange_ = e; }
  const TNotifyEvent& GetOnChanging() const { return onChanging_; }
  void SetOnChanging(const TNotifyEvent& e) { onChanging_ = e; }

  // Kept public: the wide-text and drawing helpers of other libraries select
  // the canvas's objects and announce their drawing exactly as the canvas
  // does itself.
  void RequiredState(TCanvasState state);
  virtual void Changing();
  virtual void Changed();

 protected:
  void Destroy() override;
  // Makes a DC when one is needed and none is attached; the base canvas has
  // none to make and raises EInvalidOperation "Canvas does not allow drawing".
  virtual void CreateHandle();

 private:
  friend HDC CanvasDC(TCanvas* canvas, TCanvasState state);
  void DeselectHandles();
  void FontChanged(TObject*);
  void PenChanged(TObject*);
  void BrushChanged(TObject*);

  HDC handle_ = nullptr;
  int savedDC_ = 0;
  TPoint penPos_{0, 0};
  TCanvasState state_;
  TFont* font_;
  TPen* pen_;
  TBrush* brush_;
  TCopyMode copyMode_ = cmSrcCopy;
  int textFlags_ = 0;
  TNotifyEvent onChange_;
  TNotifyEvent onChanging_;
  CRITICAL_SECTION lock_;
  int lockCount_ = 0;
};
