#include "kx/foundation/KxBHints.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Scopes.h"
#include "kx/foundation/KxCommon.h"
#include "kx/foundation/KxGrafx.h"

DEFINE_ENUM_TYPE(TKxHintCorner, "hcLowerRight", "hcLowerLeft", "hcUpperLeft", "hcUpperRight")

namespace {

// No balloon is narrower: the tail and the rounded corners need the room.
constexpr int kMinWidth = 55;
// The room the tail takes above or below the body, and what the body gives
// back of it when painted.
constexpr int kTailRoom = 28;
constexpr int kTailPaint = 20;

bool IsUpper(TKxHintCorner c) { return c == hcUpperLeft || c == hcUpperRight; }
bool IsRight(TKxHintCorner c) { return c == hcLowerRight || c == hcUpperRight; }

}  // namespace

TKxBalloonPlace KxPlaceBalloon(POINT anchor, int w, int h, TKxHintCorner corner, int screenWidth,
                               int screenHeight) {
  TKxBalloonPlace p{0, 0, corner};
  switch (corner) {
    case hcLowerRight: p = {anchor.x + 1, anchor.y, corner}; break;
    case hcLowerLeft: p = {anchor.x - w - 1, anchor.y, corner}; break;
    case hcUpperLeft: p = {anchor.x - w - 1, anchor.y - h, corner}; break;
    case hcUpperRight: p = {anchor.x + 1, anchor.y - h, corner}; break;
  }
  if (p.Y < 0) {
    // A balloon to the right stays to the right (the design turned a lower
    // right balloon above the screen's top into a lower left one without
    // moving it, so its tail pointed away from the mouse).
    p.Corner = IsRight(corner) ? hcLowerRight : hcLowerLeft;
    p.Y = anchor.y;
  }
  if (p.Y + h > screenHeight) {
    p.Corner = p.Corner == hcLowerRight ? hcUpperRight : hcUpperLeft;
    p.Y = anchor.y - h;
  }
  if (p.X + w > screenWidth) {
    p.Corner = p.Corner == hcLowerRight ? hcLowerLeft : hcUpperLeft;
    p.X = anchor.x - w - 1;
  }
  if (p.X < 0) {
    p.Corner = p.Corner == hcLowerLeft ? hcLowerRight : hcUpperRight;
    p.X = anchor.x + 1;
  }
  return p;
}

// ---------------------------------------------------------------------------
// TKxBalloonBitmaps

PUBLISHED(TKxBalloonBitmaps) {
  using C = TKxBalloonBitmaps;
  p.Prop("LowerRight", &C::GetLowerRight, &C::SetLowerRight);
  p.Prop("LowerLeft", &C::GetLowerLeft, &C::SetLowerLeft);
  p.Prop("UpperLeft", &C::GetUpperLeft, &C::SetUpperLeft);
  p.Prop("UpperRight", &C::GetUpperRight, &C::SetUpperRight);
  p.Prop("TransparentColor", &C::GetTransparentColor, &C::SetTransparentColor)
      .Default(clOlive)
      .Type(TColorTypeInfo());
}

TKxBalloonBitmaps::TKxBalloonBitmaps()
    : lowerRight_(New<TBitmap>()), lowerLeft_(New<TBitmap>()), upperLeft_(New<TBitmap>()),
      upperRight_(New<TBitmap>()) {}

void TKxBalloonBitmaps::Destroy() {
  FreeAndNil(lowerRight_);
  FreeAndNil(lowerLeft_);
  FreeAndNil(upperLeft_);
  FreeAndNil(upperRight_);
  inherited::Destroy();
}

TBitmap* TKxBalloonBitmaps::GetBitmap(TKxHintCorner corner) const {
  switch (corner) {
    case hcLowerRight: return lowerRight_;
    case hcLowerLeft: return lowerLeft_;
    case hcUpperLeft: return upperLeft_;
    case hcUpperRight: return upperRight_;
  }
  return nullptr;
}

void TKxBalloonBitmaps::Put(TBitmap* own, TBitmap* value) {
  if (own != value) own->Assign(value);
  if (OnChange) OnChange(this);
}

void TKxBalloonBitmaps::SetLowerRight(TBitmap* value) { Put(lowerRight_, value); }
void TKxBalloonBitmaps::SetLowerLeft(TBitmap* value) { Put(lowerLeft_, value); }
void TKxBalloonBitmaps::SetUpperLeft(TBitmap* value) { Put(upperLeft_, value); }
void TKxBalloonBitmaps::SetUpperRight(TBitmap* value) { Put(upperRight_, value); }

void TKxBalloonBitmaps::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TKxBalloonBitmaps*>(source);
  if (!other) {
    inherited::Assign(source);
    return;
  }
  transparentColor_ = other->transparentColor_;
  SetLowerRight(other->lowerRight_);
  SetLowerLeft(other->lowerLeft_);
  SetUpperLeft(other->upperLeft_);
  SetUpperRight(other->upperRight_);
}

// ---------------------------------------------------------------------------
// TKxCustomHintWindow

IMPLEMENT_CLASS(TKxCustomHintWindow)

TKxCustomHintWindow::TKxCustomHintWindow(TComponent* owner) : THintWindow(owner) {
  font_ = New<TFont>();
  font_->SetName("MS Sans Serif");
  font_->SetSize(8);
  GetCanvas()->SetFont(font_);
  GetCanvas()->GetBrush()->SetStyle(bsClear);
  application_ = dynamic_cast<TApplication*>(owner);
  if (!application_) return;
  application_->OnShowHint = TShowHintEvent(this, &TKxCustomHintWindow::DoShowHint);
  if (IsDesigning()) return;
  // Every balloon-hints component on the application's forms connects; the
  // last one found is the window's.
  for (int i = 0; i < application_->GetComponentCount(); ++i) {
    auto* form = dynamic_cast<TCustomForm*>(application_->GetComponent(i));
    if (!form || form->IsDestroying()) continue;
    for (int j = 0; j < form->GetComponentCount(); ++j) {
      auto* hints = dynamic_cast<TKxBalloonHints*>(form->GetComponent(j));
      if (hints && !hints->IsDestroying()) hints->MakeConnection(this);
    }
  }
}

void TKxCustomHintWindow::Destroy() {
  // Every component that holds the window lets it go, not only the last one
  // it connected to (the design left the others a dangling window).
  if (application_) {
    for (int i = 0; i < application_->GetComponentCount(); ++i) {
      auto* form = dynamic_cast<TCustomForm*>(application_->GetComponent(i));
      if (!form) continue;
      for (int j = 0; j < form->GetComponentCount(); ++j) {
        auto* hints = dynamic_cast<TKxBalloonHints*>(form->GetComponent(j));
        if (hints && hints->GetHintWindow() == this) hints->BreakConnection(this);
      }
    }
    // The application's OnShowHint would otherwise call the freed window.
    if (application_->OnShowHint == TShowHintEvent(this, &TKxCustomHintWindow::DoShowHint))
      application_->OnShowHint = nullptr;
  }
  if (balloonHints_) balloonHints_->BreakConnection(this);
  SetHintControl(nullptr);
  inherited::Destroy();
  FreeAndNil(font_);
}

bool TKxCustomHintWindow::ShowBalloon() const { return balloonHints_ && balloonHints_->GetShowBalloon(); }

bool TKxCustomHintWindow::Shadow() const { return balloonHints_ && balloonHints_->GetShadow(); }

void TKxCustomHintWindow::SetFont(TFont* value) {
  font_->Assign(value);
  GetCanvas()->SetFont(font_);
}

void TKxCustomHintWindow::BitmapChanged(TObject*) {
  if (HandleAllocated() && IsWindowVisible(GetWindowHandle())) {
    UpdateShape();
    Invalidate();
  }
}

namespace {

// A 32-bit DIB section of w x h filled with one colour, for painting into;
// without pixels (Bits() null) where GDI refuses the section (no memory or
// no handle left for it).
class TPaintTarget {
 public:
  TPaintTarget(int w, int h, COLORREF fill) : bitmap_(MakeSection(w, h, bits_)), selected_(dc_.Get(), bitmap_.get()) {
    if (!bits_) return;
    TOwnedGdiObject<HBRUSH> brush(CreateSolidBrush(fill));
    RECT all{0, 0, w, h};
    FillRect(dc_.Get(), &all, brush.get());
  }
  HDC DC() const { return dc_.Get(); }
  const uint32_t* Bits() const {
    GdiFlush();
    return bits_;
  }

 private:
  static HBITMAP MakeSection(int w, int h, uint32_t*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = section ? static_cast<uint32_t*>(p) : nullptr;
    return section;
  }

  // In this order: the DC first, the pixels known as soon as the section is
  // made, and at the end the section let go of before it is deleted.
  TMemoryDC dc_;
  uint32_t* bits_ = nullptr;
  TOwnedGdiObject<HBITMAP> bitmap_;
  TSelectedObject selected_;
};

}  // namespace

// The window takes the outline of what it paints. Where the balloon does not
// reach, the design counted on CS_SAVEBITS to show the screen below; neither
// Wine nor a composited desktop keeps it, and those parts of the window came
// out black. The balloon is painted twice, on black and on white: the pixels
// that come out the same are the balloon's.
void TKxCustomHintWindow::UpdateShape() {
  if (!HandleAllocated()) return;
  const TRect client = GetClientRect();
  const int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return;
  TPaintTarget black(w, h, RGB(0, 0, 0)), white(w, h, RGB(255, 255, 255));
  if (!black.Bits() || !white.Bits()) {
    // No memory for the pictures of a window this large: it shows whole, as
    // a window that was never cut does.
    SetWindowRgn(GetWindowHandle(), nullptr, TRUE);
    return;
  }
  Perform(WM_PAINT, reinterpret_cast<WPARAM>(black.DC()), 0);
  Perform(WM_PAINT, reinterpret_cast<WPARAM>(white.DC()), 0);
  const uint32_t* a = black.Bits();
  const uint32_t* b = white.Bits();
  std::vector<RECT> runs;
  for (int y = 0; y < h; ++y) {
    const size_t row = static_cast<size_t>(y) * static_cast<size_t>(w);
    for (int x = 0; x < w;) {
      if ((a[row + x] & 0xFFFFFF) != (b[row + x] & 0xFFFFFF)) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < w && (a[row + x] & 0xFFFFFF) == (b[row + x] & 0xFFFFFF)) ++x;
      runs.push_back(RECT{start, y, x, y + 1});
    }
  }
  std::vector<BYTE> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
  auto* region = reinterpret_cast<RGNDATA*>(data.data());
  region->rdh.dwSize = sizeof(RGNDATAHEADER);
  region->rdh.iType = RDH_RECTANGLES;
  region->rdh.nCount = static_cast<DWORD>(runs.size());
  region->rdh.rcBound = RECT{0, 0, w, h};
  if (!runs.empty()) std::copy(runs.begin(), runs.end(), reinterpret_cast<RECT*>(region->Buffer));
  TOwnedGdiObject<HRGN> shape(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), region));
  // The system owns the region from here on.
  if (shape && SetWindowRgn(GetWindowHandle(), shape.get(), TRUE)) shape.release();
}

// The hint control is watched: the window keeps it beyond one showing.
void TKxCustomHintWindow::SetHintControl(TControl* control) {
  if (hintInfo_.HintControl == control) return;
  if (hintInfo_.HintControl) hintInfo_.HintControl->RemoveFreeNotification(this);
  hintInfo_.HintControl = control;
  if (control) control->FreeNotification(this);
}

void TKxCustomHintWindow::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == hintInfo_.HintControl) hintInfo_.HintControl = nullptr;
}

void TKxCustomHintWindow::DoShowHint(std::string& hintStr, bool& canShow, THintInfo& hintInfo) {
  if (balloonHints_) {
    hintInfo.HintColor = balloonHints_->GetColor();
    canShow = true;
    hintInfo.HintMaxWidth = balloonHints_->GetCaptionWidth();
    if (balloonHints_->OnShowHint) balloonHints_->OnShowHint(hintStr, canShow, hintInfo);
  }
  TControl* watched = hintInfo_.HintControl;
  hintInfo_ = hintInfo;
  hintInfo_.HintControl = watched;
  SetHintControl(hintInfo.HintControl);
  SetColor(hintInfo.HintColor);
}

void TKxCustomHintWindow::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  // No border: the balloon draws its own outline.
  params.Style = WS_POPUP | 0x20;
  params.WindowClass.style |= CS_SAVEBITS;
}

void TKxCustomHintWindow::CMTextChanged(TMessage& m) {
  inherited::CMTextChanged(m);
  std::string caption = GetCaption();
  TRect r = Rect(0, 0, captionWidth_, 0);
  DrawTextA(GetCanvas()->GetHandle(), caption.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  if (OnSetHintRect) OnSetHintRect(this, GetCanvas(), r, caption, currentCorner_);
  int w = std::max(kMinWidth, static_cast<int>(r.right - r.left));
  int h = r.bottom - r.top;
  if (OnSetHintWinSize) OnSetHintWinSize(this, GetCanvas(), w, h, caption, currentCorner_);
  w = std::max(kMinWidth, w);
  SetBounds(GetLeft(), GetTop(), w, h);
}

void TKxCustomHintWindow::WMNCPaint(TMessage&) {}

void TKxCustomHintWindow::WMNCHitTest(TMessage& m) { m.Result = HTTRANSPARENT; }

void TKxCustomHintWindow::Dispatch(TMessage& m) { inherited::Dispatch(m); }

void TKxCustomHintWindow::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_SETFOCUS:
      // A hint never keeps the focus.
      ::SetFocus(reinterpret_cast<HWND>(message.WParam));
      return;
    case WM_ERASEBKGND:
      message.Result = 1;
      return;
    default:
      break;
  }
  if (message.Msg >= WM_MOUSEMOVE && message.Msg <= WM_MBUTTONDBLCLK) {
    MouseMessage(message);
    return;
  }
  inherited::WndProc(message);
}

// A mouse message that reaches the balloon: leaving a box of 2 pixels around
// where the hint was asked for cancels it; the message then goes to the hint
// control, in that control's coordinates. Without a hint control there is
// nothing to compare with or to hand the message to (the design dereferenced
// the missing control).
void TKxCustomHintWindow::MouseMessage(TMessage& message) {
  TControl* control = hintInfo_.HintControl;
  if (!control) return;
  POINT mouse{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
  POINT screen = mouse;
  if (HandleAllocated()) ::ClientToScreen(GetWindowHandle(), &screen);
  else screen = POINT{mouse.x + GetLeft(), mouse.y + GetTop()};
  if (message.Msg == WM_MOUSEMOVE && active_) {
    POINT at = control->ClientToScreen(hintInfo_.CursorPos);
    if (std::abs(screen.x - at.x) > 2 || std::abs(screen.y - at.y) > 2) {
      active_ = false;
      if (application_) application_->CancelHint();
    }
  }
  POINT local = control->ScreenToClient(screen);
  control->Perform(message.Msg, message.WParam, MAKELPARAM(local.x, local.y));
}

// Keys (0x100 .. 0x108), the application's activation and key messages,
// commands and every mouse button and wheel message end a balloon; a mouse
// move does not.
bool TKxCustomHintWindow::IsHintMsg(const MSG& msg) {
  UINT m = msg.message;
  return (m >= WM_KEYDOWN && m <= 0x108) || m == CM_ACTIVATE || m == CM_DEACTIVATE || m == CM_APPKEYDOWN ||
         m == CM_APPSYSCOMMAND || m == WM_COMMAND || (m >= WM_LBUTTONDOWN && m <= WM_MOUSEWHEEL);
}

void TKxCustomHintWindow::ReleaseHandle() { DestroyHandle(); }

void TKxCustomHintWindow::ActivateHint(TRect rect, const std::string& hint) {
  TRect r = rect;
  SetCaption(hint);
  if (OnSetHintRect) OnSetHintRect(this, GetCanvas(), r, hint, currentCorner_);
  SetBoundsRect(r);
  bool balloon = ShowBalloon();
  bool shadow = Shadow();
  if (balloon) {
    if (IsUpper(currentCorner_)) {
      r.bottom += kTailRoom;
      if (shadow) r.right += 2;
    } else {
      r.top -= kTailRoom;
      if (shadow) {
        r.right += 2;
        r.bottom += 2;
      }
    }
  }
  InflateRect(&r, 2, 2);
  POINT anchor{GetLeft(), GetTop()};
  if (hintInfo_.HintControl) anchor = hintInfo_.HintControl->ClientToScreen(hintInfo_.CursorPos);
  if (balloon) OffsetRect(&r, anchor.x - r.left, anchor.y - r.top);
  int w = std::max(kMinWidth, static_cast<int>(r.right - r.left));
  int h = r.bottom - r.top;
  if (OnSetHintWinSize) OnSetHintWinSize(this, GetCanvas(), w, h, hint, currentCorner_);
  w = std::max(kMinWidth, w);
  if (!balloon) corner_ = hcLowerRight;
  int screenWidth = Screen ? Screen->GetWidth() : GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = Screen ? Screen->GetHeight() : GetSystemMetrics(SM_CYSCREEN);
  TKxBalloonPlace place = KxPlaceBalloon(POINT{r.left, r.top}, w, h, corner_, screenWidth, screenHeight);
  currentCorner_ = place.Corner;
  // Sized first, so that the shape is made for the size it will show at.
  SetWindowPos(GetHandle(), nullptr, place.X, place.Y, w, h, SWP_NOACTIVATE | SWP_NOZORDER);
  UpdateShape();
  SetWindowPos(GetHandle(), HWND_TOPMOST, place.X, place.Y, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
  active_ = true;
}

void TKxCustomHintWindow::Paint() {
  TRect body = GetClientRect();
  if (ShowBalloon()) {
    if (IsUpper(currentCorner_)) {
      body.bottom -= kTailPaint;
      if (Shadow()) body.right -= 2;
    } else {
      body.top += kTailPaint;
      if (Shadow()) {
        body.right -= 2;
        body.bottom -= 2;
      }
    }
  }
  TCanvas* canvas = GetCanvas();
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(GetColor());
  canvas->GetPen()->SetColor(clBlack);
  canvas->GetPen()->SetWidth(1);
  canvas->SetFont(font_);
  DrawBalloon(canvas, body);
}

void TKxCustomHintWindow::DrawBalloon(TCanvas* canvas, TRect body) {
  TRect& b = body;
  const TRect c = GetClientRect();
  std::string caption = GetCaption();
  if (OnSetHintRect) OnSetHintRect(this, canvas, b, caption, currentCorner_);
  TRect text = b;
  bool pictures = false;
  if (bitmaps_)
    for (TKxHintCorner k : {hcLowerRight, hcLowerLeft, hcUpperLeft, hcUpperRight})
      pictures = pictures || bitmaps_->GetBitmap(k)->HandleAllocated();
  if (pictures) {
    DrawBitmapBalloon(canvas);
  } else if (ShowBalloon()) {
    auto round = [&](const TRect& r, TColor pen, TColor brush) {
      canvas->GetPen()->SetColor(pen);
      canvas->GetBrush()->SetStyle(bsSolid);
      canvas->GetBrush()->SetColor(brush);
      canvas->RoundRect(r.left, r.top, r.right, r.bottom, 10, 10);
    };
    auto triangle = [&](std::vector<TPoint> points, int shift, TColor pen, TColor brush) {
      for (TPoint& p : points) {
        p.x += shift;
        p.y += shift;
      }
      canvas->GetPen()->SetColor(pen);
      canvas->GetBrush()->SetStyle(bsSolid);
      canvas->GetBrush()->SetColor(brush);
      canvas->Polygon(points);
    };
    if (Shadow()) {
      TRect s = b;
      OffsetRect(&s, 2, 2);
      round(s, clBtnShadow, clBtnShadow);
      s = b;
      OffsetRect(&s, 1, 1);
      round(s, cl3DDkShadow, cl3DDkShadow);
    }
    round(b, clInfoText, GetColor());
    // The tail: a triangle from the body to the client's edge, and a strip
    // (columns and rows inclusive) that takes away the body's outline where
    // the tail joins it.
    std::vector<TPoint> tail;
    TRect strip;
    switch (currentCorner_) {
      case hcLowerRight:
        tail = {{b.left + 10, b.top + 1}, {b.left + 10, c.top + 1}, {b.left + 30, b.top + 1}};
        strip = Rect(b.left + 10, b.top + 1, b.left + 31, b.top + 2);
        break;
      case hcLowerLeft:
        tail = {{b.right - 10, b.top + 1}, {b.right - 10, c.top + 1}, {b.right - 30, b.top + 1}};
        strip = Rect(b.right - 30, b.top + 1, b.right - 9, b.top + 2);
        break;
      case hcUpperLeft:
        tail = {{b.right - 10, b.bottom - 2}, {b.right - 10, c.bottom - 2}, {b.right - 30, b.bottom - 2}};
        strip = Rect(b.right - 30, b.bottom - 3, b.right - 9, b.bottom - 1);
        break;
      case hcUpperRight:
        tail = {{b.left + 10, b.bottom - 2}, {b.left + 10, c.bottom - 2}, {b.left + 30, b.bottom - 2}};
        strip = Rect(b.left + 10, b.bottom - 3, b.left + 31, b.bottom - 1);
        break;
    }
    if (Shadow() && currentCorner_ != hcLowerRight) {
      triangle(tail, 2, clBtnShadow, clBtnShadow);
      triangle(tail, 1, cl3DDkShadow, cl3DDkShadow);
    }
    triangle(tail, 0, clInfoText, clInfoBk);
    canvas->GetBrush()->SetColor(clInfoBk);
    canvas->FillRect(strip);
    text = b;
    InflateRect(&text, -4, -4);
  } else {
    canvas->Rectangle(b);
    if (Shadow()) {
      TRect inner = DrawSides(canvas, b, clBtnHighlight, clBlack, sdAllSides);
      DrawSides(canvas, inner, GetColor(), clBtnShadow, sdAllSides);
    } else {
      DrawSides(canvas, b, clInfoText, clInfoText, sdAllSides);
    }
    text = b;
    OffsetRect(&text, alignment_ == taRightJustify ? -2 : alignment_ == taCenter ? 0 : 2, 2);
  }
  UINT align = alignment_ == taRightJustify ? DT_RIGHT : alignment_ == taCenter ? DT_CENTER : DT_LEFT;
  HDC dc = canvas->GetHandle();
  int oldMode = SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, caption.c_str(), -1, &text, DT_WORDBREAK | DT_NOPREFIX | align);
  SetBkMode(dc, oldMode);
}

void TKxCustomHintWindow::DrawBitmapBalloon(TCanvas* canvas) {
  if (!bitmaps_) return;
  TBitmap* picture = bitmaps_->GetBitmap(currentCorner_);
  TKxHintCorner from = currentCorner_;
  if (!picture->HandleAllocated()) {
    picture = nullptr;
    for (TKxHintCorner k : {hcUpperRight, hcUpperLeft, hcLowerRight, hcLowerLeft})
      if (bitmaps_->GetBitmap(k)->HandleAllocated()) {
        picture = bitmaps_->GetBitmap(k);
        from = k;
        break;
      }
  }
  if (!picture) return;
  int w = picture->GetWidth(), h = picture->GetHeight();
  // Another corner's picture is mirrored across the axis on which the two
  // corners differ: its source rectangle runs backwards there.
  TRect source = Rect(0, 0, w, h);
  if (IsRight(from) != IsRight(currentCorner_)) std::swap(source.left, source.right);
  if (IsUpper(from) != IsUpper(currentCorner_)) std::swap(source.top, source.bottom);
  canvas->SetCopyMode(cmSrcCopy);
  HDC dc = canvas->GetHandle();
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(255, 255, 255));
  DrawTransparentBitmap(canvas, picture, GetClientRect(), source, bitmaps_->GetTransparentColor());
}

// ---------------------------------------------------------------------------
// TKxBalloonHints

PUBLISHED(TKxBalloonHints) {
  using C = TKxBalloonHints;
  p.Prop("Alignment", &C::GetAlignment, &C::SetAlignment).Default(taLeftJustify);
  p.Prop("Bitmaps", &C::GetBitmaps, &C::SetBitmaps);
  p.Prop("CaptionWidth", &C::GetCaptionWidth, &C::SetCaptionWidth).Default(100);
  p.Prop("Color", &C::GetColor, &C::SetColor).Default(clInfoBk).Type(TColorTypeInfo());
  p.Prop("Corner", &C::GetCorner, &C::SetCorner).Default(hcUpperRight);
  p.Prop("Font", &C::GetFont, &C::SetFont);
  // The application's: always written.
  p.Prop("HintPause", &C::GetHintPause, &C::SetHintPause);
  p.Prop("HintShortPause", &C::GetHintShortPause, &C::SetHintShortPause).Default(50);
  p.Prop("Shadow", &C::GetShadow, &C::SetShadow).Default(false);
  p.Prop("ShowBalloon", &C::GetShowBalloon, &C::SetShowBalloon).Default(true);
  p.Prop("OnSetHintWinSize", &C::GetOnSetHintWinSize, &C::SetOnSetHintWinSize);
  p.Prop("OnSetHintRect", &C::GetOnSetHintRect, &C::SetOnSetHintRect);
  p.Prop("OnShowHint", &C::GetOnShowHint, &C::SetOnShowHint);
}

TKxBalloonHints::TKxBalloonHints(TComponent* owner) : TComponent(owner) {
  bitmaps_ = New<TKxBalloonBitmaps>();
  bitmaps_->OnChange = TNotifyEvent(this, &TKxBalloonHints::BitmapsChanged);
  font_ = New<TFont>();
  font_->SetName("MS Sans Serif");
  font_->SetSize(8);
  font_->SetOnChange(TNotifyEvent(this, &TKxBalloonHints::FontChanged));
  SetHintShortPause(50);
  if (IsDesigning()) return;
  // Last: the new window connects to this component at once.
  savedClass_ = HintWindowClass;
  installed_ = true;
  SwapHintWindowClass(TKxCustomHintWindow::StaticClass());
}

void TKxBalloonHints::Destroy() {
  if (installed_ && Application && !Application->IsDestroying()) SwapHintWindowClass(savedClass_);
  installed_ = false;
  if (window_) BreakConnection(window_);
  inherited::Destroy();
  FreeAndNil(bitmaps_);
  FreeAndNil(font_);
}

void TKxBalloonHints::SwapHintWindowClass(THintWindowClass cls) {
  if (!Application) {
    HintWindowClass = cls;
    return;
  }
  bool showHint = Application->GetShowHint();
  Application->SetShowHint(false);
  HintWindowClass = cls;
  Application->SetShowHint(showHint);
}

void TKxBalloonHints::MakeConnection(TKxCustomHintWindow* window) {
  if (!window) return;
  // A window follows one component: the previous one lets it go.
  if (TKxBalloonHints* previous = window->GetBalloonHints(); previous && previous != this)
    previous->window_ = nullptr;
  window_ = window;
  window->Connect(this);
  window->SetCaptionWidth(captionWidth_);
  window->SetColor(color_);
  window->SetCorner(corner_);
  window->SetAlignment(alignment_);
  window->SetBitmaps(bitmaps_);
  window->OnSetHintWinSize = onSetHintWinSize_;
  window->OnSetHintRect = onSetHintRect_;
  window->SetFont(font_);
}

void TKxBalloonHints::BreakConnection(TKxCustomHintWindow* window) {
  if (!window || window_ != window) return;
  window_ = nullptr;
  if (window->GetBalloonHints() != this) return;
  // Nothing of the component stays with the window.
  window->Connect(nullptr);
  window->SetBitmaps(nullptr);
  window->OnSetHintWinSize = nullptr;
  window->OnSetHintRect = nullptr;
}

void TKxBalloonHints::FontChanged(TObject*) {
  if (window_) window_->SetFont(font_);
}

void TKxBalloonHints::BitmapsChanged(TObject* sender) {
  if (window_) window_->BitmapChanged(sender);
}

void TKxBalloonHints::SetFont(TFont* value) { font_->Assign(value); }

void TKxBalloonHints::SetColor(TColor value) {
  color_ = value;
  if (window_) window_->SetColor(value);
}

void TKxBalloonHints::SetCaptionWidth(int value) {
  captionWidth_ = value;
  if (window_) window_->SetCaptionWidth(value);
}

void TKxBalloonHints::SetAlignment(TAlignment value) {
  alignment_ = value;
  if (window_) window_->SetAlignment(value);
}

void TKxBalloonHints::SetCorner(TKxHintCorner value) {
  corner_ = value;
  if (window_) window_->SetCorner(value);
}

void TKxBalloonHints::SetOnSetHintWinSize(TSetHintWinSizeEvent value) {
  onSetHintWinSize_ = value;
  if (window_) window_->OnSetHintWinSize = value;
}

void TKxBalloonHints::SetOnSetHintRect(TSetHintRectEvent value) {
  onSetHintRect_ = value;
  if (window_) window_->OnSetHintRect = value;
}

int TKxBalloonHints::GetHintPause() const { return Application ? Application->GetHintPause() : 0; }

void TKxBalloonHints::SetHintPause(int value) {
  if (Application) Application->SetHintPause(value);
}

int TKxBalloonHints::GetHintShortPause() const { return Application ? Application->GetHintShortPause() : 0; }

void TKxBalloonHints::SetHintShortPause(int value) {
  if (Application) Application->SetHintShortPause(value);
}

void TKxBalloonHints::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  // Older stored forms chose the look by "BalloonStyle": read and dropped.
  filer->DefineProperty("BalloonStyle", TKxOldPropReader::ReadOldEnumProp, nullptr, false);
}

// ---------------------------------------------------------------------------

void InitializeKxBHints() { RegisterClasses({TKxBalloonHints::StaticClass()}); }

void FinalizeKxBHints() { UnRegisterClass(TKxBalloonHints::StaticClass()); }
