#include "classlib/graphics/Canvas.h"

#include "classlib/Scopes.h"
#include "classlib/classes/Errors.h"
#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Graphic.h"

DEFINE_ENUM_TYPE(TFillStyle, "fsSurface", "fsBorder")
DEFINE_ENUM_TYPE(TCanvasOrientation, "coLeftToRight", "coRightToLeft")

PUBLISHED(TCanvas) {
  p.Prop("Brush", &TCanvas::GetBrush, &TCanvas::SetBrush);
  p.Prop("CopyMode", &TCanvas::GetCopyMode, &TCanvas::SetCopyMode).Default(cmSrcCopy);
  p.Prop("Font", &TCanvas::GetFont, &TCanvas::SetFont);
  p.Prop("Pen", &TCanvas::GetPen, &TCanvas::SetPen);
}

TCanvas::TCanvas() {
  InitializeCriticalSection(&lock_);
  font_ = New<TFont>();
  font_->SetOnChange(TNotifyEvent(this, &TCanvas::FontChanged));
  pen_ = New<TPen>();
  pen_->SetOnChange(TNotifyEvent(this, &TCanvas::PenChanged));
  brush_ = New<TBrush>();
  brush_->SetOnChange(TNotifyEvent(this, &TCanvas::BrushChanged));
}

TCanvas::~TCanvas() { DeleteCriticalSection(&lock_); }

void TCanvas::Destroy() {
  SetHandle(nullptr);
  FreeAndNil(font_);
  FreeAndNil(pen_);
  FreeAndNil(brush_);
  inherited::Destroy();
}

void TCanvas::CreateHandle() { throw EInvalidOperation("Canvas does not allow drawing"); }

HDC TCanvas::GetHandle() {
  Changing();
  RequiredState(csAllValid);
  return handle_;
}

HDC CanvasDC(TCanvas* canvas, TCanvasState state) {
  canvas->RequiredState(state);
  return canvas->handle_;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == handle_) return;
  if (handle_) {
    DeselectHandles();
    // The pen position is the canvas's, not the DC's: it goes on in the next
    // DC (a bitmap's canvas gets a new DC whenever its handle was handed out).
    GetCurrentPositionEx(handle_, &penPos_);
    RestoreDC(handle_, savedDC_);
    handle_ = nullptr;
    savedDC_ = 0;
    state_.Exclude(csHandleValid);
  }
  if (dc) {
    savedDC_ = SaveDC(dc);
    handle_ = dc;
    state_.Include(csHandleValid);
    MoveToEx(dc, penPos_.x, penPos_.y, nullptr);
  }
}

void TCanvas::DeselectHandles() {
  if (!handle_) return;
  if (state_.Contains(csPenValid)) SelectObject(handle_, GetStockObject(BLACK_PEN));
  if (state_.Contains(csBrushValid)) SelectObject(handle_, GetStockObject(HOLLOW_BRUSH));
  if (state_.Contains(csFontValid)) SelectObject(handle_, GetStockObject(SYSTEM_FONT));
  state_ -= TCanvasState{csPenValid, csBrushValid, csFontValid};
}

void TCanvas::RequiredState(TCanvasState req) {
  TCanvasState needed = req - state_;
  if (needed.Empty()) return;
  if (needed.Contains(csHandleValid)) {
    CreateHandle();
    if (!handle_) throw EInvalidOperation("Canvas does not allow drawing");
  }
  if (needed.Contains(csFontValid)) {
    SelectObject(handle_, font_->GetHandle());
    SetTextColor(handle_, static_cast<COLORREF>(ColorToRGB(font_->GetColor())));
    state_.Include(csFontValid);
  }
  if (needed.Contains(csPenValid)) {
    SelectObject(handle_, pen_->GetHandle());
    SetROP2(handle_, PenModeToROP2(pen_->GetMode()));
    state_.Include(csPenValid);
  }
  if (needed.Contains(csBrushValid)) {
    HBRUSH b = brush_->GetHandle();
    UnrealizeObject(b);
    SelectObject(handle_, b);
    if (brush_->GetStyle() == bsSolid) {
      SetBkColor(handle_, static_cast<COLORREF>(ColorToRGB(brush_->GetColor())));
      SetBkMode(handle_, OPAQUE);
    } else {
      // Hatches and text go over what is there; a background colour equal to
      // the brush's would hide the hatch on some drivers.
      SetBkColor(handle_, ~static_cast<COLORREF>(ColorToRGB(brush_->GetColor())) & 0xFFFFFF);
      SetBkMode(handle_, TRANSPARENT);
    }
    state_.Include(csBrushValid);
  }
}

void TCanvas::FontChanged(TObject*) {
  if (state_.Contains(csFontValid)) {
    state_.Exclude(csFontValid);
    SelectObject(handle_, GetStockObject(SYSTEM_FONT));
  }
}

void TCanvas::PenChanged(TObject*) {
  if (state_.Contains(csPenValid)) {
    state_.Exclude(csPenValid);
    SelectObject(handle_, GetStockObject(BLACK_PEN));
  }
}

void TCanvas::BrushChanged(TObject*) {
  if (state_.Contains(csBrushValid)) {
    state_.Exclude(csBrushValid);
    SelectObject(handle_, GetStockObject(HOLLOW_BRUSH));
  }
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::Changing() {
  if (onChanging_) onChanging_(this);
}

void TCanvas::Changed() {
  if (onChange_) onChange_(this);
}

void TCanvas::Lock() {
  EnterCriticalSection(&lock_);
  ++lockCount_;
}

void TCanvas::Unlock() {
  --lockCount_;
  LeaveCriticalSection(&lock_);
}

bool TCanvas::TryLock() {
  if (!TryEnterCriticalSection(&lock_)) return false;
  ++lockCount_;
  return true;
}

// ---------------------------------------------------------------------------
// Shapes

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  ::Arc(handle_, x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Chord(handle_, x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Pie(handle_, x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Ellipse(handle_, x1, y1, x2, y2);
  Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Rectangle(handle_, x1, y1, x2, y2);
  Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::RoundRect(handle_, x1, y1, x2, y2, x3, y3);
  Changed();
}

void TCanvas::FillRect(const TRect& r) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FillRect(handle_, &r, brush_->GetHandle());
  Changed();
}

void TCanvas::FrameRect(const TRect& r) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FrameRect(handle_, &r, brush_->GetHandle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::DrawFocusRect(handle_, &r);
  Changed();
}

void TCanvas::Polygon(const TPoint* points, int count) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Polygon(handle_, points, count);
  Changed();
}

void TCanvas::Polyline(const TPoint* points, int count) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Polyline(handle_, points, count);
  Changed();
}

void TCanvas::PolyBezier(const TPoint* points, int count) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::PolyBezier(handle_, points, static_cast<DWORD>(count));
  Changed();
}

void TCanvas::LineTo(int x, int y) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::LineTo(handle_, x, y);
  Changed();
}

void TCanvas::MoveTo(int x, int y) {
  RequiredState({csHandleValid});
  MoveToEx(handle_, x, y, nullptr);
}

TPoint TCanvas::GetPenPos() {
  RequiredState({csHandleValid});
  TPoint p{};
  GetCurrentPositionEx(handle_, &p);
  return p;
}

void TCanvas::FloodFill(int x, int y, TColor color, TFillStyle style) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ExtFloodFill(handle_, x, y, static_cast<COLORREF>(ColorToRGB(color)),
               style == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
  Changed();
}

TColor TCanvas::GetPixels(int x, int y) {
  RequiredState({csHandleValid});
  return static_cast<TColor>(::GetPixel(handle_, x, y));
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  ::SetPixel(handle_, x, y, static_cast<COLORREF>(ColorToRGB(color)));
  Changed();
}

TRect TCanvas::GetClipRect() {
  RequiredState({csHandleValid});
  TRect r{};
  GetClipBox(handle_, &r);
  return r;
}

TCanvasOrientation TCanvas::GetCanvasOrientation() {
  RequiredState({csHandleValid});
  SIZE window{1, 1}, viewport{1, 1};
  GetWindowExtEx(handle_, &window);
  GetViewportExtEx(handle_, &viewport);
  return (window.cx < 0) != (viewport.cx < 0) ? coRightToLeft : coLeftToRight;
}

// ---------------------------------------------------------------------------
// Text

void TCanvas::TextOut(int x, int y, const std::string& text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  ExtTextOutA(handle_, x, y, static_cast<UINT>(textFlags_), nullptr, text.data(), static_cast<UINT>(text.size()),
              nullptr);
  // The pen follows the text, as the platform leaves it.
  MoveTo(x + TextWidth(text), y);
  Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  UINT options = ETO_CLIPPED | static_cast<UINT>(textFlags_);
  if (brush_->GetStyle() != bsClear) options |= ETO_OPAQUE;
  ExtTextOutA(handle_, x, y, options, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
  Changed();
}

TSize TCanvas::TextExtent(const std::string& text) {
  RequiredState({csHandleValid, csFontValid});
  TSize s{0, 0};
  GetTextExtentPoint32A(handle_, text.data(), static_cast<int>(text.size()), &s);
  return s;
}

// ---------------------------------------------------------------------------
// Graphics

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->GetEmpty()) return;
  Changing();
  RequiredState({csHandleValid});
  // A monochrome source takes the brush colour for its set bits.
  SetBkColor(handle_, static_cast<COLORREF>(ColorToRGB(brush_->GetColor())));
  graphic->Draw(this, Bounds(x, y, graphic->GetWidth(), graphic->GetHeight()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
  if (!graphic) return;
  Changing();
  RequiredState(csAllValid);
  graphic->Draw(this, r);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  canvas->RequiredState({csHandleValid, csBrushValid});
  StretchBlt(handle_, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, canvas->handle_,
             source.left, source.top, source.right - source.left, source.bottom - source.top,
             static_cast<DWORD>(copyMode_));
  Changed();
}

void TransparentStretchBlt(HDC dst, int dstX, int dstY, int dstW, int dstH, HDC src, int srcX, int srcY, int srcW,
                           int srcH, HDC mask, int maskX, int maskY) {
  // The source with its transparent pixels made black: the mask (white where
  // transparent), then SRCERASE (source AND NOT mask).
  using namespace graphics_detail;
  TDib scratch = TDib::Make(srcW, srcH, TDibFormat{32}, {});
  if (scratch.Empty()) return;  // an empty (or reversed) source shows nothing
  TMemoryDC mem(scratch.Handle());
  SetTextColor(mem.Get(), RGB(0, 0, 0));
  SetBkColor(mem.Get(), RGB(255, 255, 255));
  BitBlt(mem.Get(), 0, 0, srcW, srcH, mask, maskX, maskY, SRCCOPY);
  BitBlt(mem.Get(), 0, 0, srcW, srcH, src, srcX, srcY, SRCERASE);
  // The destination keeps its pixels where the mask is white and turns black
  // under the opaque ones; XOR then puts the source there.
  COLORREF text = SetTextColor(dst, RGB(0, 0, 0));
  COLORREF back = SetBkColor(dst, RGB(255, 255, 255));
  StretchBlt(dst, dstX, dstY, dstW, dstH, mask, maskX, maskY, srcW, srcH, SRCAND);
  StretchBlt(dst, dstX, dstY, dstW, dstH, mem.Get(), 0, 0, srcW, srcH, SRCINVERT);
  SetTextColor(dst, text);
  SetBkColor(dst, back);
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color) {
  if (!bitmap || bitmap->GetEmpty()) return;
  // D ^ (P & (S ^ D)): where the mask is white (the key colour) the brush,
  // elsewhere the destination, which already holds the copied bitmap.
  constexpr DWORD kRopDSPDxax = 0x00E20746;
  Lock();
  try {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    int dstW = dest.right - dest.left, dstH = dest.bottom - dest.top;
    int srcW = source.right - source.left, srcH = source.bottom - source.top;
    Owned<TBitmap> mask = MakeOwned<TBitmap>();
    mask->Assign(bitmap);
    mask->Mask(color);
    HDC maskDC = CanvasDC(mask->GetCanvas());
    HDC srcDC = CanvasDC(bitmap->GetCanvas());
    if (brush_->GetStyle() == bsClear) {
      TransparentStretchBlt(handle_, dest.left, dest.top, dstW, dstH, srcDC, source.left, source.top, srcW, srcH,
                            maskDC, source.left, source.top);
    } else {
      StretchBlt(handle_, dest.left, dest.top, dstW, dstH, srcDC, source.left, source.top, srcW, srcH, SRCCOPY);
      COLORREF text = SetTextColor(handle_, RGB(0, 0, 0));
      COLORREF back = SetBkColor(handle_, RGB(255, 255, 255));
      StretchBlt(handle_, dest.left, dest.top, dstW, dstH, maskDC, source.left, source.top, srcW, srcH, kRopDSPDxax);
      SetTextColor(handle_, text);
      SetBkColor(handle_, back);
    }
    Changed();
  } catch (...) {
    Unlock();
    throw;
  }
  Unlock();
}
