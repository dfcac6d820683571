#include "kx/foundation/KxBorder.h"

#include <algorithm>

#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"

namespace {

// Character codes 32 to 127; the sixth column of every cell is always off.
constexpr uint8_t kLEDFont[96][5] = {
    {  0,   0,   0,   0,   0},  // 32 blank
    {  0,   0, 250,   0,   0},  // 33 !
    {  0, 192,   0, 192,   0},  // 34 "
    { 40, 124,  40, 124,  40},  // 35 #
    { 36,  84, 254,  84,  72},  // 36 $
    {100, 104,  16,  44,  76},  // 37 %
    {108, 146, 170,  68,  10},  // 38 &
    {  0,  32, 192,   0,   0},  // 39 '
    {  0,   0, 124, 130,   0},  // 40 (
    {  0, 130, 124,   0,   0},  // 41 )
    { 84,  56, 254,  56,  84},  // 42 *
    { 16,  16, 124,  16,  16},  // 43 +
    {  0,   2,   4,   0,   0},  // 44 ,
    { 16,  16,  16,  16,  16},  // 45 -
    {  0,   0,   2,   0,   0},  // 46 .
    {  4,   8,  16,  32,  64},  // 47 /
    {124, 138, 146, 162, 124},  // 48 0
    {  0,  66, 254,   2,   0},  // 49 1
    { 70, 138, 146, 146,  98},  // 50 2
    { 68, 146, 146, 146, 108},  // 51 3
    {240,  16,  16,  16, 254},  // 52 4
    {244, 146, 146, 146, 140},  // 53 5
    {124, 146, 146, 146,  76},  // 54 6
    {192, 128, 142, 144, 224},  // 55 7
    {108, 146, 146, 146, 108},  // 56 8
    {100, 146, 146, 146, 124},  // 57 9
    {  0,   0,  36,   0,   0},  // 58 :
    {  0,   2,  36,   0,   0},  // 59 ;
    { 16,  40,  68, 130,   0},  // 60 <
    { 40,  40,  40,  40,  40},  // 61 =
    {  0, 130,  68,  40,  16},  // 62 >
    { 64, 128, 154, 144,  96},  // 63 ?
    {124, 146, 170, 186, 112},  // 64 @
    {126, 144, 144, 144, 126},  // 65 A
    {254, 146, 146, 146, 108},  // 66 B
    {124, 130, 130, 130,  68},  // 67 C
    {254, 130, 130, 130, 124},  // 68 D
    {254, 146, 146, 146, 130},  // 69 E
    {254, 144, 144, 144, 128},  // 70 F
    {124, 130, 146, 146,  92},  // 71 G
    {254,  16,  16,  16, 254},  // 72 H
    {130, 130, 254, 130, 130},  // 73 I
    {  4,   2,   2,   2, 252},  // 74 J
    {254,  16,  40,  68, 130},  // 75 K
    {254,   2,   2,   2,   2},  // 76 L
    {254,  64,  32,  64, 254},  // 77 M
    {254,  32,  16,   8, 254},  // 78 N
    {124, 130, 130, 130, 124},  // 79 O
    {254, 144, 144, 144,  96},  // 80 P
    {124, 130, 130, 134, 126},  // 81 Q
    {254, 144, 144, 144, 110},  // 82 R
    {100, 146, 146, 146,  76},  // 83 S
    {128, 128, 254, 128, 128},  // 84 T
    {252,   2,   2,   2, 252},  // 85 U
    {224,  24,   6,  24, 224},  // 86 V
    {252,   2,  12,   2, 252},  // 87 W
    {198,  40,  16,  40, 198},  // 88 X
    {192,  32,  30,  32, 192},  // 89 Y
    {134, 138, 146, 162, 194},  // 90 Z
    {  0, 254, 130, 130,   0},  // 91 [
    { 64,  32,  16,   8,   4},  // 92 backslash
    {  0, 130, 130, 254,   0},  // 93 ]
    { 32,  64, 128,  64,  32},  // 94 ^
    {  2,   2,   2,   2,   2},  // 95 _
    {  0,   0, 192,  32,   0},  // 96 `
    {  4,  42,  42,  42,  30},  // 97 a
    {254,  34,  34,  34,  28},  // 98 b
    { 28,  34,  34,  34,  20},  // 99 c
    { 28,  34,  34,  34, 254},  // 100 d
    { 28,  42,  42,  42,  24},  // 101 e
    { 16, 126, 144, 144,  64},  // 102 f
    { 16,  42,  42,  42,  28},  // 103 g
    {254,  32,  32,  32,  30},  // 104 h
    {  0,  34, 190,   2,   0},  // 105 i
    {  0,   2, 188,   0,   0},  // 106 j
    {254,   8,   8,  20,  34},  // 107 k
    {  0, 130, 254,   2,   0},  // 108 l
    { 62,  32,  62,  32,  30},  // 109 m
    { 62,  32,  32,  32,  30},  // 110 n
    { 28,  34,  34,  34,  28},  // 111 o
    { 62,  40,  40,  40,  16},  // 112 p
    { 16,  40,  40,  40,  62},  // 113 q
    { 62,  32,  32,  32,  16},  // 114 r
    { 18,  42,  42,  42,  36},  // 115 s
    { 32, 252,  34,  34,   0},  // 116 t
    { 60,   2,   2,   2,  62},  // 117 u
    { 56,   4,   2,   4,  56},  // 118 v
    { 60,   2,  12,   2,  60},  // 119 w
    { 34,  20,   8,  20,  34},  // 120 x
    { 34,  20,   8,  16,  32},  // 121 y
    { 34,  38,  42,  50,  34},  // 122 z
    {  0,  16, 108, 130,   0},  // 123 {
    {  0,   0, 254,   0,   0},  // 124 |
    {  0, 130, 108,  16,   0},  // 125 }
    { 64, 128,  64,  32,  64},  // 126 ~
    {  0, 124, 124, 124,   0},  // 127 block
};

// What a frame style takes from each chosen side of a border.
int FrameWidth(TFrameStyleEx style, int bevelWidth) {
  switch (style) {
    case fsNone: return 0;
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return bevelWidth;
    default: return 2;  // fsGroove .. fsButtonUp, fsFlatBold, fsFlatRounded
  }
}

void ShrinkSides(TRect& r, TSides sides, int by) {
  if (sides.Contains(sdLeft)) r.left += by;
  if (sides.Contains(sdTop)) r.top += by;
  if (sides.Contains(sdRight)) r.right -= by;
  if (sides.Contains(sdBottom)) r.bottom -= by;
}

// An off-screen bitmap of w x h filled with fill: where the LED display and
// the meter draw before one copy to the screen.
Owned<TBitmap> MakeBuffer(int w, int h, TColor fill) {
  Owned<TBitmap> buffer = MakeOwned<TBitmap>();
  buffer->SetSize(w, h);
  buffer->GetCanvas()->GetBrush()->SetColor(fill);
  buffer->GetCanvas()->FillRect(TRect{0, 0, w, h});
  return buffer;
}

}  // namespace

const uint8_t* KxLEDGlyph(char c) {
  auto code = static_cast<unsigned char>(c);
  if (code < 32 || code > 126) code = 127;
  return kLEDFont[code - 32];
}

// ---------------------------------------------------------------------------
// TKxBorder

PUBLISHED(TKxBorder) {
  PublishControlProps(p, {"Align", "Anchors"});
  p.Prop("BevelWidth", &TKxBorder::GetBevelWidth, &TKxBorder::SetBevelWidth).Default(1);
  p.Prop("BorderColor", &TKxBorder::GetBorderColor, &TKxBorder::SetBorderColor).Default(clBtnFace).Type(TColorTypeInfo());
  p.Prop("BorderHighlight", &TKxBorder::GetBorderHighlight, &TKxBorder::SetBorderHighlight)
      .Default(clBtnHighlight)
      .Type(TColorTypeInfo());
  p.Prop("BorderInner", &TKxBorder::GetBorderInner, &TKxBorder::SetBorderInner).Default(fsNone);
  p.Prop("BorderOuter", &TKxBorder::GetBorderOuter, &TKxBorder::SetBorderOuter).Default(fsGroove);
  p.Prop("BorderShadow", &TKxBorder::GetBorderShadow, &TKxBorder::SetBorderShadow)
      .Default(clBtnShadow)
      .Type(TColorTypeInfo());
  p.Prop("BorderSides", &TKxBorder::GetBorderSides, &TKxBorder::SetBorderSides).Default(sdAllSides);
  p.Prop("BorderWidth", &TKxBorder::GetBorderWidth, &TKxBorder::SetBorderWidth).Default(0);
  PublishControlProps(p, {"Constraints", "DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("FlatColor", &TKxBorder::GetFlatColor, &TKxBorder::SetFlatColor).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("FlatColorAdjustment", &TKxBorder::GetFlatColorAdjustment, &TKxBorder::SetFlatColorAdjustment).Default(30);
  PublishControlProps(p, {"ParentShowHint", "ShowHint", "Visible", "OnClick", "OnDblClick", "OnDragDrop",
                          "OnDragOver", "OnEndDock", "OnEndDrag", "OnMouseDown"});
  p.Prop("OnMouseEnter", &TKxBorder::GetOnMouseEnter, &TKxBorder::SetOnMouseEnter);
  p.Prop("OnMouseLeave", &TKxBorder::GetOnMouseLeave, &TKxBorder::SetOnMouseLeave);
  PublishControlProps(p, {"OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
}

TKxBorder::TKxBorder(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(GetControlStyle() - TControlStyle{csSetCaption});
  SetBounds(GetLeft(), GetTop(), 50, 50);
}

void TKxBorder::AdjustClientRect(TRect& rect) {
  InflateRect(&rect, -borderWidth_, -borderWidth_);
  ShrinkSides(rect, borderSides_, FrameWidth(borderOuter_, bevelWidth_));
  ShrinkSides(rect, borderSides_, FrameWidth(borderInner_, bevelWidth_));
  if (rect.right < rect.left || rect.bottom < rect.top) rect = TRect{0, 0, 0, 0};
}

RECT TKxBorder::GetClientRect() {
  TRect r = inherited::GetClientRect();
  AdjustClientRect(r);
  return r;
}

void TKxBorder::Paint() {
  TCanvas* canvas = GetCanvas();
  TRect r{0, 0, GetWidth(), GetHeight()};
  if (IsDesigning() && borderOuter_ == fsNone && borderWidth_ != 0) {
    canvas->GetPen()->SetStyle(psDot);
    canvas->GetPen()->SetColor(clBlack);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->Rectangle(r);
    InflateRect(&r, -1, -1);
  }
  TColor parentColor = GetParent() ? GetParent()->GetColor() : clBtnFace;
  bool transparent = !GetControlStyle().Contains(csOpaque);
  DrawInnerOuterBorders(canvas, r, borderOuter_, borderInner_, borderWidth_, borderSides_, bevelWidth_, borderColor_,
                        borderHighlight_, borderShadow_, flatColor_, flatColorAdjustment_, InteriorColor(), parentColor,
                        transparent, false);
}

void TKxBorder::SetBevelWidth(int value) { Change(bevelWidth_, value); }
void TKxBorder::SetBorderColor(TColor value) { Change(borderColor_, value); }
void TKxBorder::SetBorderHighlight(TColor value) { Change(borderHighlight_, value); }
void TKxBorder::SetBorderInner(TFrameStyleEx value) { Change(borderInner_, value); }
void TKxBorder::SetBorderOuter(TFrameStyleEx value) { Change(borderOuter_, value); }
void TKxBorder::SetBorderShadow(TColor value) { Change(borderShadow_, value); }
void TKxBorder::SetBorderSides(TSides value) { Change(borderSides_, value); }
void TKxBorder::SetBorderWidth(int value) { Change(borderWidth_, value); }
void TKxBorder::SetFlatColor(TColor value) { Change(flatColor_, value); }
void TKxBorder::SetFlatColorAdjustment(int value) { Change(flatColorAdjustment_, value); }

void TKxBorder::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TKxBorder::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TKxBorder::CMMouseEnter(TMessage& m) {
  inherited::CMMouseEnter(m);
  MouseEnter();
}

void TKxBorder::CMMouseLeave(TMessage& m) {
  inherited::CMMouseLeave(m);
  MouseLeave();
}

// ---------------------------------------------------------------------------
// TKxLEDDisplay

PUBLISHED(TKxLEDDisplay) {
  p.Prop("Caption", &TKxLEDDisplay::GetCaption, &TKxLEDDisplay::SetCaption);
  p.Prop("BackColor", &TKxLEDDisplay::GetBackColor, &TKxLEDDisplay::SetBackColor).Default(clBlack).Type(TColorTypeInfo());
  p.Prop("SegOnColor", &TKxLEDDisplay::GetSegOnColor, &TKxLEDDisplay::SetSegOnColor)
      .Default(static_cast<TColor>(0x00FF00))
      .Type(TColorTypeInfo());
  p.Prop("SegOffColor", &TKxLEDDisplay::GetSegOffColor, &TKxLEDDisplay::SetSegOffColor)
      .Default(static_cast<TColor>(0x003300))
      .Type(TColorTypeInfo());
  p.Prop("ScrollType", &TKxLEDDisplay::GetScrollType, &TKxLEDDisplay::SetScrollType).Default(stRightToLeft);
  p.Prop("Scrolling", &TKxLEDDisplay::GetScrolling, &TKxLEDDisplay::SetScrolling).Default(false);
  p.Prop("ScrollDelay", &TKxLEDDisplay::GetScrollDelay, &TKxLEDDisplay::SetScrollDelay).Default(100);
  p.Prop("OnScrollComplete", &TKxLEDDisplay::GetOnScrollComplete, &TKxLEDDisplay::SetOnScrollComplete);
  p.Prop("BorderOuter", &TKxLEDDisplay::GetBorderOuter, &TKxLEDDisplay::SetBorderOuter).Default(fsStatus);
  p.Prop("Height", &TKxLEDDisplay::GetHeight, &TKxLEDDisplay::SetHeight).Default(30);
  p.Prop("Width", &TKxLEDDisplay::GetWidth, &TKxLEDDisplay::SetWidth).Default(100);
  PublishControlProps(p, {"Align", "Enabled", "ShowHint", "ParentShowHint", "PopupMenu", "Visible", "OnClick",
                          "OnDblClick"});
}

TKxLEDDisplay::TKxLEDDisplay(TComponent* owner) : TKxBorder(owner) {
  SetControlStyle(GetControlStyle() + TControlStyle{csOpaque});
  timer_ = New<TTimer>(nullptr);
  timer_->SetEnabled(false);
  timer_->SetInterval(scrollDelay_);
  timer_->SetOnTimer(TNotifyEvent(this, &TKxLEDDisplay::TimerExpired));
  TKxBorder::SetBorderOuter(fsStatus);
  SetBounds(GetLeft(), GetTop(), 100, 30);
  UpdateDotSize();
}

void TKxLEDDisplay::Destroy() {
  inherited::Destroy();
  FreeAndNil(timer_);
}

void TKxLEDDisplay::UpdateDotSize() {
  int h = GetClientRect().bottom - GetClientRect().top;
  dotSize_ = std::max(1, static_cast<int>(h / 7.6));
  dotGap_ = static_cast<int>(dotSize_ * 0.1);
  UpdateStepCount();
}

void TKxLEDDisplay::UpdateStepCount() {
  stepCount_ = GetCellWidth() * static_cast<int>(caption_.size()) + GetWidth();
}

void TKxLEDDisplay::SetBounds(int left, int top, int width, int height) {
  inherited::SetBounds(left, top, width, height);
  UpdateDotSize();
}

void TKxLEDDisplay::Loaded() {
  inherited::Loaded();
  UpdateDotSize();
}

#define KX_LED_BORDER_SETTER(Name, Type)   \
  void TKxLEDDisplay::Set##Name(Type value) { \
    inherited::Set##Name(value);             \
    UpdateDotSize();                         \
  }
KX_LED_BORDER_SETTER(BevelWidth, int)
KX_LED_BORDER_SETTER(BorderInner, TFrameStyleEx)
KX_LED_BORDER_SETTER(BorderOuter, TFrameStyleEx)
KX_LED_BORDER_SETTER(BorderSides, TSides)
KX_LED_BORDER_SETTER(BorderWidth, int)
#undef KX_LED_BORDER_SETTER

void TKxLEDDisplay::SetCaption(const std::string& value) {
  if (caption_ == value) return;
  caption_ = value;
  Perform(CM_TEXTCHANGED, 0, 0);
  Repaint();
}

void TKxLEDDisplay::Dispatch(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) {
    UpdateStepCount();
    Invalidate();
    return;
  }
  inherited::Dispatch(m);
}

void TKxLEDDisplay::SetBackColor(TColor value) { Change(backColor_, value); }

void TKxLEDDisplay::SetSegOnColor(TColor value) { Change(segOnColor_, value); }

void TKxLEDDisplay::SetSegOffColor(TColor value) { Change(segOffColor_, value); }

// The timer runs only while scrolling is on and there is a direction to
// scroll in.
void TKxLEDDisplay::UpdateTimer() { timer_->SetEnabled(scrolling_ && scrollType_ != stNone); }

void TKxLEDDisplay::SetScrollType(TKxScrollType value) {
  if (scrollType_ == value) return;
  scrollType_ = value;
  UpdateTimer();
  Invalidate();
}

void TKxLEDDisplay::SetScrolling(bool value) {
  if (scrolling_ == value) return;
  scrolling_ = value;
  if (!value) currentStep_ = 0;
  UpdateTimer();
  Invalidate();
}

void TKxLEDDisplay::SetScrollDelay(uint16_t value) {
  scrollDelay_ = value;
  timer_->SetInterval(value);
}

void TKxLEDDisplay::TimerExpired(TObject*) {
  if (!timer_->GetEnabled()) return;
  currentStep_ += dotSize_ + dotGap_;
  Repaint();
  if (currentStep_ >= stepCount_) {
    currentStep_ = 0;
    ScrollComplete();
  }
}

void TKxLEDDisplay::ScrollComplete() {
  if (OnScrollComplete) OnScrollComplete(this);
}

void TKxLEDDisplay::DrawCell(TCanvas* canvas, const TRect& rect, char c) {
  const uint8_t* glyph = KxLEDGlyph(c);
  int pitch = dotSize_ + dotGap_;
  canvas->GetPen()->SetColor(backColor_);
  canvas->GetPen()->SetStyle(psSolid);
  canvas->GetBrush()->SetStyle(bsSolid);
  for (int col = 0; col < 6; ++col) {
    for (int row = 0; row < 7; ++row) {
      bool lit = col < 5 && (glyph[col] & (0x80 >> row)) != 0;
      canvas->GetBrush()->SetColor(lit ? segOnColor_ : segOffColor_);
      int x = rect.left + col * pitch;
      int y = rect.top + row * pitch;
      canvas->Rectangle(x, y, x + dotSize_ + 1, y + dotSize_ + 1);
    }
  }
}

void TKxLEDDisplay::Paint() {
  inherited::Paint();
  TRect client = GetClientRect();
  int w = client.right - client.left;
  int h = client.bottom - client.top;
  if (w <= 0 || h <= 7) return;
  Owned<TBitmap> buffer = MakeBuffer(w, h, backColor_);
  TCanvas* c = buffer->GetCanvas();
  int cellW = GetCellWidth();
  int cellH = GetCellHeight();
  int top = (h - cellH) / 2;
  for (int x = 0; x < w; x += cellW) DrawCell(c, TRect{x, top, x + cellW, top + cellH}, ' ');
  int pitch = dotSize_ + dotGap_;
  int x = 0;
  if (scrollType_ != stNone && scrolling_) {
    if (scrollType_ == stRightToLeft) x = (w / pitch) * pitch - currentStep_;
    else x = currentStep_ - cellW * static_cast<int>(caption_.size());
  }
  for (char ch : caption_) {
    DrawCell(c, TRect{x, top, x + cellW, top + cellH}, ch);
    x += cellW;
  }
  TCanvas* canvas = GetCanvas();
  canvas->SetCopyMode(cmSrcCopy);
  canvas->Draw(client.left, client.top, buffer.get());
}

// Older stored forms: "SegSpacing" and "DisplayCells" are read and dropped.
void TKxLEDDisplay::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  filer->DefineProperty("SegSpacing", &TKxOldPropReader::ReadOldIntegerProp, nullptr, false);
  filer->DefineProperty("DisplayCells", &TKxOldPropReader::ReadOldIntegerProp, nullptr, false);
}

// ---------------------------------------------------------------------------
// TKxMeter

DEFINE_ENUM_TYPE(TKxMeterType, "mtNormal", "mtBar3D", "mtLED")
DEFINE_ENUM_TYPE(TKxMeterShape, "msRectangular", "msTrapezoidal")

PUBLISHED(TKxMeter) {
  p.Prop("Direction", &TKxMeter::GetDirection, &TKxMeter::SetDirection).Default(dirRight);
  p.Prop("Bitmap", &TKxMeter::GetBitmap, &TKxMeter::SetBitmap);
  p.Prop("BrushStyle", &TKxMeter::GetBrushStyle, &TKxMeter::SetBrush).Default(bsSolid);
  p.Prop("Min", &TKxMeter::GetMin, &TKxMeter::SetMin).Default(0);
  p.Prop("Max", &TKxMeter::GetMax, &TKxMeter::SetMax).Default(100);
  p.Prop("Value", &TKxMeter::GetValue, &TKxMeter::SetValue).Default(0);
  p.Prop("BackColor", &TKxMeter::GetBackColor, &TKxMeter::SetBackColor).Default(clBlack).Type(TColorTypeInfo());
  p.Prop("BarColor", &TKxMeter::GetBarColor, &TKxMeter::SetBarColor).Default(clRed).Type(TColorTypeInfo());
  p.Prop("MeterType", &TKxMeter::GetMeterType, &TKxMeter::SetMeterType).Default(mtLED);
  p.Prop("MeterShape", &TKxMeter::GetMeterShape, &TKxMeter::SetMeterShape).Default(msRectangular);
  p.Prop("ShowPercent", &TKxMeter::GetShowPercent, &TKxMeter::SetShowPercent).Default(true);
  p.Prop("SegSpacing", &TKxMeter::GetSegSpacing, &TKxMeter::SetSegSpacing).Default(2);
  p.Prop("SegOffColor", &TKxMeter::GetSegOffColor, &TKxMeter::SetSegOffColor).Default(clBlack).Type(TColorTypeInfo());
  p.IndexedProp("Seg1Count", 0, &TKxMeter::GetSegCount, &TKxMeter::SetSegCount).Default(5);
  p.IndexedProp("Seg1Color", 0, &TKxMeter::GetSegColor, &TKxMeter::SetSegColor)
      .Default(static_cast<TColor>(0x008000))
      .Type(TColorTypeInfo());
  p.IndexedProp("Seg2Count", 1, &TKxMeter::GetSegCount, &TKxMeter::SetSegCount).Default(3);
  p.IndexedProp("Seg2Color", 1, &TKxMeter::GetSegColor, &TKxMeter::SetSegColor)
      .Default(static_cast<TColor>(0x00FFFF))
      .Type(TColorTypeInfo());
  p.IndexedProp("Seg3Count", 2, &TKxMeter::GetSegCount, &TKxMeter::SetSegCount).Default(2);
  p.IndexedProp("Seg3Color", 2, &TKxMeter::GetSegColor, &TKxMeter::SetSegColor)
      .Default(static_cast<TColor>(0x0000FF))
      .Type(TColorTypeInfo());
  p.Prop("TrapezoidDir", &TKxMeter::GetTrapezoidDir, &TKxMeter::SetTrapDirect).Default(tdLargeToSmall);
  p.Prop("TrapezoidMin", &TKxMeter::GetTrapezoidMin, &TKxMeter::SetTrapMin).Default(6);
  p.Prop("TrapezoidShape", &TKxMeter::GetTrapezoidShape, &TKxMeter::SetTrapShape).Default(tsCenter);
  p.Prop("BorderOuter", &TKxMeter::GetBorderOuter, &TKxMeter::SetBorderOuter).Default(fsStatus);
  p.Prop("Height", &TKxMeter::GetHeight, &TKxMeter::SetHeight).Default(30);
  p.Prop("Width", &TKxMeter::GetWidth, &TKxMeter::SetWidth).Default(150);
  PublishControlProps(p, {"Align", "Color", "Font", "ParentColor", "ParentFont", "ShowHint", "ParentShowHint",
                          "OnClick", "OnDblClick"});
}

TKxMeter::TKxMeter(TComponent* owner) : TKxBorder(owner) {
  SetControlStyle(GetControlStyle() + TControlStyle{csOpaque});
  bitmap_ = New<TBitmap>();
  bitmap_->SetOnChange(TNotifyEvent(this, &TKxMeter::BitmapChanged));
  SetBorderOuter(fsStatus);
  SetBounds(GetLeft(), GetTop(), 150, 30);
}

void TKxMeter::Destroy() {
  inherited::Destroy();
  FreeAndNil(bitmap_);
}

void TKxMeter::BitmapChanged(TObject*) { Invalidate(); }

void TKxMeter::SetMin(int value) { Change(min_, value); }
void TKxMeter::SetMax(int value) { Change(max_, value); }
void TKxMeter::SetBarColor(TColor value) { Change(barColor_, value); }
void TKxMeter::SetBackColor(TColor value) { Change(backColor_, value); }
void TKxMeter::SetMeterType(TKxMeterType value) { Change(meterType_, value); }
void TKxMeter::SetMeterShape(TKxMeterShape value) { Change(meterShape_, value); }
void TKxMeter::SetTrapDirect(TTrapDirect value) { Change(trapDirect_, value); }
void TKxMeter::SetTrapShape(TTrapShape value) { Change(trapShape_, value); }
void TKxMeter::SetTrapMin(int value) { Change(trapMin_, value); }
void TKxMeter::SetDirection(TDirection value) { Change(direction_, value); }
void TKxMeter::SetBrush(TBrushStyle value) { Change(brushStyle_, value); }
void TKxMeter::SetShowPercent(bool value) { Change(showPercent_, value); }
void TKxMeter::SetSegSpacing(uint8_t value) { Change(segSpacing_, value); }
void TKxMeter::SetSegOffColor(TColor value) { Change(segOffColor_, value); }

void TKxMeter::SetValue(int value) { Change(value_, std::max(min_, std::min(value, max_))); }

void TKxMeter::SetBitmap(TBitmap* value) { bitmap_->Assign(value); }

uint8_t TKxMeter::GetSegCount(int index) { return segCounts_[std::clamp(index, 0, 2)]; }

void TKxMeter::SetSegCount(int index, uint8_t value) {
  // Counts are positive: a group of none would leave the segment length
  // without a divisor.
  if (value < 1) value = 1;
  Change(segCounts_[std::clamp(index, 0, 2)], value);
}

TColor TKxMeter::GetSegColor(int index) { return segColors_[std::clamp(index, 0, 2)]; }

void TKxMeter::SetSegColor(int index, TColor value) {
  Change(segColors_[std::clamp(index, 0, 2)], value);
}

double TKxMeter::Fraction() const {
  if (max_ <= min_) return 0;
  return static_cast<double>(value_ - min_) / (max_ - min_);
}

int TKxMeter::GetPercent() {
  if (max_ <= min_) return 0;
  return static_cast<int>(static_cast<int64_t>(value_ - min_) * 100 / (max_ - min_));
}

int TKxMeter::LitSegments() {
  if (max_ <= min_) return 0;
  int n = segCounts_[0] + segCounts_[1] + segCounts_[2];
  return static_cast<int>(static_cast<int64_t>(n) * (value_ - min_) / (max_ - min_));
}

void TKxMeter::Paint() {
  if (GetWidth() < 4 || GetHeight() < 4) return;
  bool trapezoid = meterShape_ == msTrapezoidal;
  TRect area;
  TColor background;
  if (trapezoid) {
    area = TRect{0, 0, GetWidth(), GetHeight()};
    background = clBtnFace;
  } else {
    inherited::Paint();
    area = GetClientRect();
    background = backColor_;
  }
  int w = area.right - area.left;
  int h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return;
  Owned<TBitmap> buffer = MakeBuffer(w, h, background);
  TCanvas* c = buffer->GetCanvas();
  TRect work{0, 0, w, h};
  TTrap trap{};
  trapBevel_ = 0;
  if (trapezoid) SetTrapezoid(trap, work, trapMin_, trapShape_, direction_, trapDirect_);
  TFrameStyleEx outer = GetBorderOuter();
  if (outer == fsLowered || outer == fsRaised) {
    if (trapezoid) {
      if (backColor_ != clBtnFace) {
        c->GetBrush()->SetColor(backColor_);
        c->GetPen()->SetColor(backColor_);
        c->Polygon(trap.Points, 4);
      }
      DrawTrapezoidBorder(c, trap, TTrapBevelStyle::bsLowered, GetBevelWidth());
    }
    InflateRect(&work, -GetBevelWidth(), -GetBevelWidth());
    trapBevel_ = GetBevelWidth();
  }
  if (trapezoid && trapBevel_ > 0) InflateTrapezoid(trap, -trapBevel_);
  if (meterType_ == mtLED) DrawSegmentBar(c, work, trapezoid, trap);
  else DrawStandardBar(c, work, trapezoid, trap);
  GetCanvas()->Draw(area.left, area.top, buffer.get());
}

void TKxMeter::DrawStandardBar(TCanvas* canvas, TRect area, bool trapezoid, const TTrap& trap) {
  double f = Fraction();
  int w = area.right - area.left;
  int h = area.bottom - area.top;
  TRect filled = area;
  switch (direction_) {
    case dirUp: filled.top = area.bottom - static_cast<int>(h * f); break;
    case dirDown: filled.bottom = area.top + static_cast<int>(h * f); break;
    case dirLeft: filled.left = area.right - static_cast<int>(w * f); break;
    case dirRight: filled.right = area.left + static_cast<int>(w * f); break;
  }
  TTrap filledTrap = trapezoid ? AdjustTrapezoid(trap, filled, direction_) : TTrap{};
  // Any value above the minimum shows, also below zero.
  bool hasBar = value_ > min_ && filled.right > filled.left && filled.bottom > filled.top;
  if (hasBar) {
    if (!bitmap_->GetEmpty()) {
      // The canvas forgets its selections after the DC's state comes back.
      TFinally refresh([canvas] { canvas->Refresh(); });
      HDC dc = canvas->GetHandle();
      TSavedDC saved(dc);
      if (trapezoid) {
        // The DC keeps a copy of the clip region.
        TOwnedGdiObject<HRGN> clip(CreatePolygonRgn(filledTrap.Points, 4, WINDING));
        SelectClipRgn(dc, clip.get());
      }
      TileBitmap(canvas, bitmap_, filled);
    } else {
      canvas->GetBrush()->SetColor(barColor_);
      canvas->GetBrush()->SetStyle(brushStyle_);
      if (trapezoid) {
        canvas->GetPen()->SetColor(barColor_);
        canvas->Polygon(filledTrap.Points, 4);
      } else {
        canvas->FillRect(filled);
      }
      canvas->GetBrush()->SetStyle(bsSolid);
    }
    int bevel = GetBevelWidth();
    if (meterType_ == mtBar3D && filled.right - filled.left > 2 * bevel && filled.bottom - filled.top > 2 * bevel) {
      if (trapezoid) DrawTrapezoidBorder(canvas, filledTrap, TTrapBevelStyle::bsRaised, bevel);
      else DrawBevel(canvas, filled, clBtnHighlight, clBtnShadow, bevel, sdAllSides);
    }
  }
  if (showPercent_) {
    std::string text = Format("%d%%", {GetPercent()});
    canvas->GetFont()->Assign(GetFont());
    canvas->GetBrush()->SetStyle(bsClear);
    TSize size = canvas->TextExtent(text);
    TRect client{0, 0, area.right + area.left, area.bottom + area.top};
    canvas->TextOut((client.right - size.cx) / 2, (client.bottom - size.cy) / 2, text);
    canvas->GetBrush()->SetStyle(bsSolid);
  }
}

void TKxMeter::DrawSegmentBar(TCanvas* canvas, TRect area, bool trapezoid, TTrap trap) {
  int n = segCounts_[0] + segCounts_[1] + segCounts_[2];
  int lit = LitSegments();
  int spacing = segSpacing_;
  InflateRect(&area, -spacing, -spacing);
  if (trapezoid) InflateTrapezoid(trap, -spacing);
  bool vertical = direction_ == dirUp || direction_ == dirDown;
  int extent = vertical ? area.bottom - area.top : area.right - area.left;
  // (N - 2) gaps, not N - 1: the segments keep the original's length.
  int length = (extent - (n - 2) * spacing) / n;
  if (length <= 0) return;
  for (int k = 0; k < n; ++k) {
    int from = k * (length + spacing);
    TRect cell = area;
    switch (direction_) {
      case dirUp:
        cell.bottom = area.bottom - from;
        cell.top = cell.bottom - length;
        break;
      case dirDown:
        cell.top = area.top + from;
        cell.bottom = cell.top + length;
        break;
      case dirLeft:
        cell.right = area.right - from;
        cell.left = cell.right - length;
        break;
      case dirRight:
        cell.left = area.left + from;
        cell.right = cell.left + length;
        break;
    }
    TColor color = segOffColor_;
    if (k < lit) {
      if (k < segCounts_[0]) color = segColors_[0];
      else if (k < segCounts_[0] + segCounts_[1]) color = segColors_[1];
      else color = segColors_[2];
    }
    canvas->GetBrush()->SetColor(color);
    if (trapezoid) {
      TTrap cut = AdjustTrapezoid(trap, cell, direction_);
      canvas->GetPen()->SetColor(clBlack);
      canvas->GetPen()->SetWidth(1);
      canvas->Polygon(cut.Points, 4);
    } else {
      TRect inside = cell;
      InflateRect(&inside, -1, -1);
      canvas->FillRect(inside);
    }
  }
}

void InitializeKxBorder() {
  RegisterClasses({TKxBorder::StaticClass(), TKxLEDDisplay::StaticClass(), TKxMeter::StaticClass()});
}

void FinalizeKxBorder() {
  UnRegisterClass(TKxMeter::StaticClass());
  UnRegisterClass(TKxLEDDisplay::StaticClass());
  UnRegisterClass(TKxBorder::StaticClass());
}
