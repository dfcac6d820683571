#include "kx/foundation/KxLabel.h"

#include <cmath>
#include <numbers>

#include "classlib/Forms.h"
#include "classlib/Scopes.h"
#include "classlib/Seams.h"
#include "classlib/SysUtils.h"
#include "classlib/graphics/Resources.h"

#include <shellapi.h>

DEFINE_ENUM_TYPE(TRotation, "roNone", "roFlat", "roCurve")
DEFINE_ENUM_TYPE(TCenterPoint, "cpUpperLeft", "cpUpperCenter", "cpUpperRight", "cpLeftCenter", "cpCenter",
                 "cpRightCenter", "cpLowerLeft", "cpLowerCenter", "cpLowerRight")
DEFINE_ENUM_TYPE(TKxCondenseCaption, "ccNone", "ccAtEnd", "ccWithinPath")

namespace {

constexpr double kPi = std::numbers::pi;

UINT AlignmentFlag(TAlignment a) {
  switch (a) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

}  // namespace

HCURSOR CreateKxHandCursor() {
  // Kept as the image of a cursor resource in RCDATA (resources/KxCommon.rc
  // says why), so it is made here as LoadCursor would make it.
  HINSTANCE module = FindResourceHInstance(MainInstance());
  HRSRC info = FindResourceA(module, "KXCOMMON_HANDCURSOR", RT_RCDATA);
  if (!info) return nullptr;
  HGLOBAL data = LoadResource(module, info);
  DWORD size = SizeofResource(module, info);
  if (!data || !size) return nullptr;
  auto* bits = static_cast<BYTE*>(LockResource(data));
  return reinterpret_cast<HCURSOR>(
      CreateIconFromResourceEx(bits, size, FALSE, 0x00030000, 0, 0, LR_DEFAULTCOLOR | LR_DEFAULTSIZE));
}

// ---------------------------------------------------------------------------
// TKxLabel

PUBLISHED(TKxLabel) {
  using C = TKxLabel;
  p.Prop("Angle", &C::GetAngle, &C::SetAngle).Default(0);
  p.Prop("Blinking", &C::GetBlinking, &C::SetBlinking).Default(false);
  p.Prop("BlinkColor", &C::GetBlinkColor, &C::SetBlinkColor).Default(clHighlight).Type(TColorTypeInfo());
  p.Prop("BlinkIntervalOff", &C::GetBlinkIntervalOff, &C::SetBlinkIntervalOff).Default(500);
  p.Prop("BlinkIntervalOn", &C::GetBlinkIntervalOn, &C::SetBlinkIntervalOn).Default(500);
  p.Prop("BevelWidth", &C::GetBevelWidth, &C::SetBevelWidth).Default(1);
  p.Prop("BorderInner", &C::GetBorderInner, &C::SetBorderInner).Default(fsNone);
  p.Prop("BorderOuter", &C::GetBorderOuter, &C::SetBorderOuter).Default(fsNone);
  p.Prop("BorderSides", &C::GetBorderSides, &C::SetBorderSides).Default(sdAllSides);
  p.Prop("BorderColor", &C::GetBorderColor, &C::SetBorderColor).Default(clBtnFace).Type(TColorTypeInfo());
  p.Prop("BorderHighlight", &C::GetBorderHighlight, &C::SetBorderHighlight)
      .Default(clBtnHighlight)
      .Type(TColorTypeInfo());
  p.Prop("BorderShadow", &C::GetBorderShadow, &C::SetBorderShadow).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("BorderWidth", &C::GetBorderWidth, &C::SetBorderWidth).Default(0);
  p.Prop("CondenseCaption", &C::GetCondenseCaption, &C::SetCondenseCaption).Default(ccNone);
  p.Prop("FlatColor", &C::GetFlatColor, &C::SetFlatColor).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("FlatColorAdjustment", &C::GetFlatColorAdjustment, &C::SetFlatColorAdjustment).Default(30);
  p.Prop("FrameController", &C::GetFrameController, &C::SetFrameController);
  p.Prop("CenterPoint", &C::GetCenterPoint, &C::SetCenterPoint).Default(cpCenter);
  p.Prop("FlyByColor", &C::GetFlyByColor, &C::SetFlyByColor).Default(clHighlight).Type(TColorTypeInfo());
  p.Prop("FlyByEnabled", &C::GetFlyByEnabled, &C::SetFlyByEnabled).Default(false);
  p.Prop("Layout", &C::GetLayout, &C::SetLayout).Default(tlTop);
  p.Prop("LightTextStyle", &C::GetLightTextStyle, &C::SetLightTextStyle).Default(false);
  p.Prop("Rotation", &C::GetRotation, &C::SetRotation).Default(roNone);
  p.Prop("HighlightColor", &C::GetHighlightColor, &C::SetHighlightColor)
      .Default(clBtnHighlight)
      .Type(TColorTypeInfo());
  p.Prop("ShadowColor", &C::GetShadowColor, &C::SetShadowColor).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("ShadowDepth", &C::GetShadowDepth, &C::SetShadowDepth).Default(2);
  p.Prop("TextStyle", &C::GetTextStyle, &C::SetTextStyle).Default(tsNormal);
  p.Prop("Color", &TControl::GetColor, &TControl::SetColor)
      .Default(clBtnFace)
      .Stored(&TControl::IsColorStored)
      .Type(TColorTypeInfo());
  p.Prop("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor).Default(true);
  p.Prop("OnMouseEnter", &C::GetOnMouseEnter, &C::SetOnMouseEnter);
  p.Prop("OnMouseLeave", &C::GetOnMouseLeave, &C::SetOnMouseLeave);
}

TKxLabel::TKxLabel(TComponent* owner) : TLabel(owner) {
  SetControlStyle(GetControlStyle() + TControlStyle{csOpaque});
  TCustomLabel::SetLayout(tlTop);
  BlinkingControlsList()->Add(this);
  // The label's own colours, without taking them for a parent's change.
  {
    TRestore own(ignoreParentColor_, true);
    SetColor(clBtnFace);
    SetParentColor(true);
  }
  normalColor_ = currentColor_ = GetFont()->GetColor();
}

void TKxLabel::Destroy() {
  if (frameController_) frameController_->RemoveControl(this);
  frameController_ = nullptr;
  if (TKxBlinkingControlsList* list = FindBlinkingControlsList()) list->Remove(this);
  FreeBlinkingControlsListIfEmpty();
  inherited::Destroy();
}

void TKxLabel::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  // Older stored forms named the border's sides "FrameSides": read and dropped.
  filer->DefineProperty("FrameSides", TKxOldPropReader::ReadOldSetProp, nullptr, false);
}

void TKxLabel::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == frameController_) frameController_ = nullptr;
}

void TKxLabel::Loaded() {
  inherited::Loaded();
  // Angle and Rotation are settled here, whatever order the form gave them.
  if (rotation_ == roNone && angle_ != 0) rotation_ = roFlat;
  if (rotation_ != roNone && !IsTrueTypeFont(GetFont())) GetFont()->SetName("Verdana");
  normalColor_ = currentColor_ = GetFont()->GetColor();
  AdjustBounds();
  if (IsDesigning()) Repaint();
}

void TKxLabel::CustomFramingChanged() {
  if (!frameController_ || !frameController_->GetFrameVisible()) return;
  borderOuter_ = frameController_->GetFrameStyle();
  borderSides_ = frameController_->GetFrameSides();
  flatColor_ = frameController_->GetFrameColor();
  flatColorAdjustment_ = 0;
  SetColor(frameController_->GetColor());
  SetParentColor(frameController_->GetParentColor());
  borderHighlight_ = LighterColor(GetColor(), 100);
  borderShadow_ = DarkerColor(GetColor(), 50);
  Invalidate();
}

void TKxLabel::SetFrameController(TKxFrameController* value) {
  KxSetFrameController(this, frameController_, value);
}

// --- rotation ------------------------------------------------------------------------------

void TKxLabel::SetAngle(int value) {
  // Into 0 .. 359 (the design stored a value below -360 as a negative angle).
  int a = value % 360;
  if (a < 0) a += 360;
  angle_ = a;
  // A stored form's Rotation may come after its Angle: Loaded settles both.
  if (IsLoading()) return;
  if (a != 0 && !IsTrueTypeFont(GetFont())) GetFont()->SetName("Verdana");
  if (a != 0 && rotation_ == roNone) rotation_ = roFlat;
  AdjustBounds();
  Repaint();
}

void TKxLabel::SetRotation(TRotation value) {
  if (IsLoading()) {
    rotation_ = value;
    return;
  }
  if (value != roNone && !IsTrueTypeFont(GetFont())) GetFont()->SetName("Verdana");
  rotation_ = value;
  if (value == roFlat) centerPoint_ = cpCenter;
  if (value == roNone || value == roFlat) SetAngle(0);
  Invalidate();
}

// --- blinking --------------------------------------------------------------------------------

void TKxLabel::SetBlinking(bool value) {
  if (blinking_ == value) return;
  blinking_ = value;
  if (!value) {
    currentColor_ = normalColor_;
    Repaint();
  }
}

void TKxLabel::Blink(bool showBlinkColor) {
  currentColor_ = showBlinkColor ? blinkColor_ : normalColor_;
  Refresh();
}

void TKxLabel::SetBlinkColor(TColor value) {
  if (blinkColor_ == value) return;
  blinkColor_ = value;
  Invalidate();
}

// The intervals are the shared list's: every blinking control has the same.
uint16_t TKxLabel::GetBlinkIntervalOff() const {
  return static_cast<uint16_t>(BlinkingControlsList()->GetOffInterval());
}

void TKxLabel::SetBlinkIntervalOff(uint16_t value) { BlinkingControlsList()->SetOffInterval(value); }

uint16_t TKxLabel::GetBlinkIntervalOn() const { return static_cast<uint16_t>(BlinkingControlsList()->GetOnInterval()); }

void TKxLabel::SetBlinkIntervalOn(uint16_t value) { BlinkingControlsList()->SetOnInterval(value); }

void TKxLabel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_GETBLINKING: m.Result = blinking_ ? 1 : 0; return;
    case CM_BLINK:
      if (blinking_) Blink(m.WParam != 0);
      return;
    default: inherited::Dispatch(m); return;
  }
}

// --- colours, fonts and the mouse ----------------------------------------------------------

void TKxLabel::CMFontChanged(TMessage& m) {
  if (!IsLoading()) {
    if (!blinking_) normalColor_ = currentColor_ = GetFont()->GetColor();
    if (angle_ != 0 && !IsTrueTypeFont(GetFont())) SetAngle(0);
  }
  inherited::CMFontChanged(m);
}

void TKxLabel::CMTextChanged(TMessage& m) {
  inherited::CMTextChanged(m);
  Repaint();
}

void TKxLabel::CMParentColorChanged(TMessage& m) {
  if (ignoreParentColor_) return;
  inherited::CMParentColorChanged(m);
}

void TKxLabel::SetRestingFontColor(TColor color) {
  if (flyByShown_) savedFontColor_ = color;
  else GetFont()->SetColor(color);
}

void TKxLabel::CMMouseEnter(TMessage& m) {
  inherited::CMMouseEnter(m);
  if (flyByEnabled_ && !flyByShown_) {
    savedFontColor_ = GetFont()->GetColor();
    flyByShown_ = true;
    GetFont()->SetColor(flyByColor_);
  }
  MouseEnter();
}

void TKxLabel::CMMouseLeave(TMessage& m) {
  inherited::CMMouseLeave(m);
  if (flyByShown_) {
    flyByShown_ = false;
    GetFont()->SetColor(savedFontColor_);
  }
  MouseLeave();
}

void TKxLabel::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TKxLabel::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TKxLabel::SetFlyByColor(TColor value) {
  if (flyByColor_ == value) return;
  flyByColor_ = value;
  Invalidate();
}

void TKxLabel::SetFlyByEnabled(bool value) {
  if (flyByEnabled_ == value) return;
  flyByEnabled_ = value;
  if (!value && flyByShown_) {
    flyByShown_ = false;
    GetFont()->SetColor(savedFontColor_);
  }
}

// --- plain setters ---------------------------------------------------------------------------

namespace {
template <class T>
bool Store(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}
}  // namespace

void TKxLabel::SetBevelWidth(int value) {
  if (Store(bevelWidth_, value)) Invalidate();
}
void TKxLabel::SetBorderColor(TColor value) {
  if (Store(borderColor_, value)) Invalidate();
}
void TKxLabel::SetBorderInner(TFrameStyleEx value) {
  if (Store(borderInner_, value)) Invalidate();
}
void TKxLabel::SetBorderOuter(TFrameStyleEx value) {
  if (Store(borderOuter_, value)) Invalidate();
}
void TKxLabel::SetBorderSides(TSides value) {
  if (Store(borderSides_, value)) Invalidate();
}
void TKxLabel::SetBorderHighlight(TColor value) {
  if (Store(borderHighlight_, value)) Invalidate();
}
void TKxLabel::SetBorderShadow(TColor value) {
  if (Store(borderShadow_, value)) Invalidate();
}
void TKxLabel::SetBorderWidth(int value) {
  if (Store(borderWidth_, value)) Invalidate();
}
void TKxLabel::SetFlatColor(TColor value) {
  if (Store(flatColor_, value)) Invalidate();
}
void TKxLabel::SetFlatColorAdjustment(int value) {
  if (Store(flatColorAdjustment_, value)) Invalidate();
}
void TKxLabel::SetCenterPoint(TCenterPoint value) {
  if (Store(centerPoint_, value)) Invalidate();
}
void TKxLabel::SetLightTextStyle(bool value) {
  if (Store(lightTextStyle_, value)) Invalidate();
}
void TKxLabel::SetTextStyle(TTextStyle value) {
  if (Store(textStyle_, value)) Invalidate();
}
void TKxLabel::SetHighlightColor(TColor value) {
  if (Store(highlightColor_, value)) Invalidate();
}
void TKxLabel::SetShadowColor(TColor value) {
  if (Store(shadowColor_, value)) Invalidate();
}
void TKxLabel::SetShadowDepth(int value) {
  if (Store(shadowDepth_, value)) Invalidate();
}

void TKxLabel::SetCondenseCaption(TKxCondenseCaption value) {
  if (!Store(condenseCaption_, value)) return;
  // A condensed caption fits the label; the label no longer fits it.
  if (value != ccNone) SetAutoSize(false);
  Invalidate();
}

TTextLayout TKxLabel::GetLayout() const { return TCustomLabel::GetLayout(); }

void TKxLabel::SetLayout(TTextLayout value) { TCustomLabel::SetLayout(value); }

UINT TKxLabel::CondenseFlag() const {
  switch (condenseCaption_) {
    case ccAtEnd: return DT_END_ELLIPSIS;
    case ccWithinPath: return DT_PATH_ELLIPSIS;
    default: return 0;
  }
}

// --- geometry ------------------------------------------------------------------------------

int TKxLabel::StyleWidth(TFrameStyleEx style) const {
  switch (style) {
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return bevelWidth_;
    case fsGroove:
    case fsBump:
    case fsLowered:
    case fsButtonDown:
    case fsRaised:
    case fsButtonUp: return 2;
    default: return 0;
  }
}

void TKxLabel::FixClientRect(TRect& rect, bool includeBorderWidth) {
  if (includeBorderWidth) InflateRect(&rect, -borderWidth_, -borderWidth_);
  for (TFrameStyleEx style : {borderOuter_, borderInner_}) {
    int w = StyleWidth(style);
    if (borderSides_.Contains(sdLeft)) rect.left += w;
    if (borderSides_.Contains(sdTop)) rect.top += w;
    if (borderSides_.Contains(sdRight)) rect.right -= w;
    if (borderSides_.Contains(sdBottom)) rect.bottom -= w;
  }
}

void TKxLabel::AdjustForBorders(TRect& rect) {
  for (int w : {StyleWidth(borderOuter_), borderWidth_, StyleWidth(borderInner_)}) {
    if (borderSides_.Contains(sdLeft)) rect.right += w;
    if (borderSides_.Contains(sdRight)) rect.right += w;
    if (borderSides_.Contains(sdTop)) rect.bottom += w;
    if (borderSides_.Contains(sdBottom)) rect.bottom += w;
  }
  if (rotation_ == roNone) {
    if (textStyle_ == tsShadow) {
      rect.right += shadowDepth_;
      rect.bottom += shadowDepth_;
    }
  } else if (rotation_ == roFlat && angle_ != 0 && angle_ != 180) {
    if (textStyle_ == tsShadow) {
      rect.right += shadowDepth_ / 2;
      rect.bottom += shadowDepth_ / 2;
    }
    // The box of the turned box. By the absolute sine and cosine of the angle
    // itself: the design's (angle mod 90) swapped width and height in the
    // second and fourth quadrants.
    double a = angle_ * kPi / 180;
    double c = std::fabs(std::cos(a)), s = std::fabs(std::sin(a));
    double w = rect.right, h = rect.bottom;
    rect.right = static_cast<int>(Round(s * h + c * w));
    rect.bottom = static_cast<int>(Round(s * w + c * h));
  }
}

void TKxLabel::AdjustBounds() {
  if (GetComponentState().Contains(csReading) || !GetAutoSize()) return;
  TRect r = GetClientRect();
  FixClientRect(r, true);
  OffsetRect(&r, -r.left, -r.top);
  {
    TScreenDC screen;
    TCanvasPaintScope measuring(GetCanvas(), screen.Get());
    DoDrawText(r, DT_CALCRECT | DT_EXPANDTABS | (GetWordWrap() ? DT_WORDBREAK : 0) | CondenseFlag());
  }
  AdjustForBorders(r);
  TAlignment a = GetAlignment();
  if (UseRightToLeftAlignment()) a = a == taLeftJustify ? taRightJustify : a == taRightJustify ? taLeftJustify : a;
  int x = GetLeft();
  if (a == taRightJustify) x += GetWidth() - r.right;
  SetBounds(x, GetTop(), r.right, r.bottom);
}

TPoint TKxLabel::CalcCenterPoint() const {
  const int w = GetWidth(), h = GetHeight(), b = borderWidth_;
  if (rotation_ == roFlat) return TPoint{w / 2, h / 2};
  switch (centerPoint_) {
    case cpUpperLeft: return TPoint{b, b};
    case cpUpperCenter: return TPoint{w / 2, b};
    case cpUpperRight: return TPoint{w, b};
    case cpLeftCenter: return TPoint{b, h / 2};
    case cpCenter: return TPoint{w / 2, h / 2};
    case cpRightCenter: return TPoint{w - b, h / 2};
    case cpLowerLeft: return TPoint{b, h - b};
    case cpLowerCenter: return TPoint{w / 2, h - b};
    case cpLowerRight: return TPoint{w - b, h - b};
  }
  return TPoint{w / 2, h / 2};
}

TPoint TKxLabel::CalcRadius() const {
  const int w = GetWidth(), h = GetHeight(), a = 2 * borderWidth_;
  switch (centerPoint_) {
    case cpUpperCenter:
    case cpLowerCenter: return TPoint{w / 2 - a, h - a};
    case cpLeftCenter:
    case cpRightCenter: return TPoint{w - a, h / 2 - a};
    case cpCenter: return TPoint{w / 2 - a, h / 2 - a};
    default: return TPoint{w - a, h - a};
  }
}

void TKxLabel::AdjustForLayout(const std::string& text, UINT flags, TRect& rect) {
  TTextLayout layout = GetLayout();
  if (layout == tlCenter || layout == tlBottom) {
    TRect measured = rect;
    DrawTextA(GetCanvas()->GetHandle(), text.c_str(), -1, &measured, flags | DT_CALCRECT | CondenseFlag());
    int dy = GetHeight() - borderWidth_ - measured.bottom;
    OffsetRect(&rect, 0, layout == tlBottom ? dy : dy / 2);
  }
  if ((flags & DT_RIGHT) && textStyle_ == tsShadow) OffsetRect(&rect, -shadowDepth_, 0);
  if (layout == tlBottom && textStyle_ == tsShadow) OffsetRect(&rect, 0, -shadowDepth_);
}

// --- painting ------------------------------------------------------------------------------

void TKxLabel::Paint() {
  TCanvas* canvas = GetCanvas();
  TColor parentColor = GetParent() ? GetParent()->GetColor() : GetColor();
  TRect inner = DrawInnerOuterBorders(canvas, Rect(0, 0, GetWidth(), GetHeight()), borderOuter_, borderInner_,
                                      borderWidth_, borderSides_, bevelWidth_, borderColor_, borderHighlight_,
                                      borderShadow_, flatColor_, flatColorAdjustment_, GetColor(), parentColor,
                                      GetTransparent(), false);
  if (!GetTransparent()) {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(inner);
  }
  canvas->GetBrush()->SetStyle(bsClear);
  if (rotation_ == roCurve) DrawArcText();
  else Draw3DText();
}

void TKxLabel::TextLayer(const std::string& text, UINT flags, const TRect& rect, TPoint at, bool rotated,
                         TColor colour, int dx, int dy) {
  TCanvas* canvas = GetCanvas();
  canvas->GetFont()->SetColor(colour);
  if (rotated) {
    canvas->TextRect(rect, at.x + dx, at.y + dy, text);
    return;
  }
  TRect r = rect;
  OffsetRect(&r, dx, dy);
  DrawTextA(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &r, flags);
}

void TKxLabel::Draw3DText() {
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  TRect r = GetClientRect();
  FixClientRect(r, true);
  UINT flags = AlignmentFlag(GetAlignment()) | DT_EXPANDTABS;
  if (UseRightToLeftReading()) flags |= DT_RTLREADING | DT_RIGHT;
  if (GetWordWrap()) flags |= DT_WORDBREAK;
  if (!GetShowAccelChar()) flags |= DT_NOPREFIX;
  flags |= CondenseFlag();
  const int d = shadowDepth_ / 2;
  const bool shadow = textStyle_ == tsShadow;
  const std::string text = GetLabelText();
  const bool rotated = rotation_ == roFlat;
  TPoint p{GetWidth() / 2, GetHeight() / 2};
  if (rotated) {
    const double theta = angle_ * kPi / 180 + kPi / 2;
    const int lineHeight = canvas->TextHeight("Pp");
    const double q = lineHeight / 4.0;
    const int w = canvas->TextWidth(text);
    const int f = w + (shadow ? d : 0);
    const int h = lineHeight + (shadow ? d : 0);
    const TAlignment a = GetAlignment();
    UINT align = TA_BASELINE;
    switch (angle_) {
      case 0:
        if (a == taCenter) align = TA_CENTER | TA_TOP;
        else {
          align = TA_LEFT | TA_TOP;
          p.x = a == taRightJustify ? r.right - w - 2 * d : r.left + d;
        }
        p.y -= h / 2;
        break;
      case 90:
        p.x -= static_cast<int>(Round(std::cos(theta) * q));
        p.y = a == taCenter ? r.bottom - (r.bottom - f) / 2 : a == taRightJustify ? r.top + f + d : r.bottom - d;
        break;
      case 180:
        p.x = a == taCenter ? r.right - (r.right - f) / 2 : a == taRightJustify ? r.left + f : r.right - d;
        p.y -= h / 4;
        break;
      case 270:
        p.x -= static_cast<int>(Round(std::cos(theta) * q));
        p.y = a == taCenter ? (r.bottom - f) / 2 : a == taRightJustify ? r.bottom - f - d : r.top + d;
        break;
      default:
        p.x -= static_cast<int>(Round(std::cos(theta) * q));
        p.y += static_cast<int>(Round(std::sin(theta) * q));
        align = TA_BASELINE | TA_CENTER;
        break;
    }
    SetTextAlign(canvas->GetHandle(), align);
    canvas->GetFont()->SetHandle(RotateFont(GetFont(), angle_));
  } else {
    AdjustForLayout(text, flags, r);
  }
  if (GetEnabled()) {
    switch (textStyle_) {
      case tsRaised:
        if (!lightTextStyle_) TextLayer(text, flags, r, p, rotated, shadowColor_, 1, 1);
        TextLayer(text, flags, r, p, rotated, highlightColor_, -1, -1);
        break;
      case tsRecessed:
        TextLayer(text, flags, r, p, rotated, highlightColor_, 1, 1);
        if (!lightTextStyle_) TextLayer(text, flags, r, p, rotated, shadowColor_, -1, -1);
        break;
      case tsShadow:
        if (rotated) TextLayer(text, flags, r, p, rotated, shadowColor_, d, d);
        else TextLayer(text, flags, r, p, rotated, shadowColor_, shadowDepth_, shadowDepth_);
        break;
      default: break;
    }
    int off = rotated && shadow ? -d : 0;
    TextLayer(text, flags, r, p, rotated, currentColor_, off, off);
  } else {
    TextLayer(text, flags, r, p, rotated, clBtnHighlight, 1, 1);
    TextLayer(text, flags, r, p, rotated, clBtnShadow, 0, 0);
  }
  if (rotated) {
    SetTextAlign(canvas->GetHandle(), TA_LEFT | TA_TOP);
    canvas->SetFont(GetFont());
  }
}

void TKxLabel::DrawArcText() {
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  const TPoint c = CalcCenterPoint();
  const TPoint q = CalcRadius();
  // A label too small for any radius shows no arc (the design divided by a
  // radius of 0 and drew outside the label with a negative one).
  if (q.x <= 0 || q.y <= 0) return;
  HDC dc = canvas->GetHandle();
  TSavedDC saved(dc);
  // The font of the label again, before the DC's state comes back.
  TFinally labelFont([this, canvas] { canvas->SetFont(GetFont()); });
  IntersectClipRect(dc, 0, 0, GetWidth(), GetHeight());
  SetTextAlign(dc, TA_BASELINE | TA_CENTER);
  LOGFONTA lf{};
  GetObjectA(GetFont()->GetHandle(), sizeof lf, &lf);
  double theta = angle_ * kPi / 180;
  const std::string text = GetLabelText();
  for (char ch : text) {
    const std::string one(1, ch);
    const int th = canvas->TextHeight("Yy");
    const int x = c.x - static_cast<int>(Round(std::sin(theta) * (q.x - th)));
    const int y = c.y - static_cast<int>(Round(std::cos(theta) * (q.y - th)));
    lf.lfEscapement = static_cast<LONG>(Round(theta * 1800 / kPi));
    // The canvas's font takes the new handle and deletes the one before.
    canvas->GetFont()->SetHandle(CreateFontIndirectA(&lf));
    auto layer = [&](TColor colour, int dx, int dy) {
      canvas->GetFont()->SetColor(colour);
      canvas->TextOut(x + dx, y + dy, one);
    };
    TColor colour = currentColor_;
    if (GetEnabled()) {
      switch (textStyle_) {
        case tsRaised:
          if (!lightTextStyle_) layer(shadowColor_, 1, 1);
          layer(highlightColor_, -1, -1);
          break;
        case tsRecessed:
          layer(highlightColor_, 1, 1);
          if (!lightTextStyle_) layer(shadowColor_, -1, -1);
          break;
        case tsShadow: layer(shadowColor_, shadowDepth_, shadowDepth_); break;
        default: break;
      }
    } else {
      layer(clBtnHighlight, 1, 1);
      colour = clBtnShadow;
    }
    layer(colour, 0, 0);
    theta -= (canvas->TextWidth("w") + 2) / static_cast<double>(q.x);
  }
}

// ---------------------------------------------------------------------------
// TKxURLLabel

PUBLISHED(TKxURLLabel) {
  using C = TKxURLLabel;
  p.Prop("Cursor", &TControl::GetCursor, &TControl::SetCursor).Default(crKxHand).Type(CursorTypeInfo());
  p.Prop("TextStyle", &C::GetTextStyle, &C::SetTextStyle).Default(tsNormal);
  p.Prop("URL", &C::GetURL, &C::SetURL);
  p.Prop("Visited", &C::GetVisited, &C::SetVisited).Default(false);
  p.Prop("UnvisitedColor", &C::GetUnvisitedColor, &C::SetUnvisitedColor)
      .Default(clHighlight)
      .Type(TColorTypeInfo());
  p.Prop("VisitedColor", &C::GetVisitedColor, &C::SetVisitedColor).Default(0x800080).Type(TColorTypeInfo());
}

TKxURLLabel::TKxURLLabel(TComponent* owner) : TKxLabel(owner) {
  // Windows 95 and NT 4 have no hand cursor of their own.
  HCURSOR hand = RunningUnder(Win95) || RunningUnder(WinNT) ? CreateKxHandCursor()
                                                            : LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
  if (Screen && hand) Screen->SetCursors(crKxHand, hand);
  SetCursor(crKxHand);
  GetFont()->SetColor(clHighlight);
  GetFont()->SetStyle(TFontStyles{fsUnderline});
}

void TKxURLLabel::UpdateFontColor() { SetRestingFontColor(visited_ ? visitedColor_ : unvisitedColor_); }

void TKxURLLabel::SetVisited(bool value) {
  if (visited_ == value) return;
  visited_ = value;
  UpdateFontColor();
  Invalidate();
}

void TKxURLLabel::SetUnvisitedColor(TColor value) {
  if (unvisitedColor_ == value) return;
  unvisitedColor_ = value;
  UpdateFontColor();
  Invalidate();
}

void TKxURLLabel::SetVisitedColor(TColor value) {
  if (visitedColor_ == value) return;
  visitedColor_ = value;
  UpdateFontColor();
  Invalidate();
}

void TKxURLLabel::Click() {
  inherited::Click();
  std::string target = Trim(url_).empty() ? GetCaption() : url_;
  if (Trim(target).empty()) return;
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_NOCLOSEPROCESS;
  info.hwnd = nullptr;
  info.lpVerb = "Open";
  info.lpFile = target.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (Seams().ShellExecuteEx(&info)) {
    // Asked for with SEE_MASK_NOCLOSEPROCESS and never used: closed at once
    // (the design leaked one process handle per click).
    if (info.hProcess) CloseHandle(info.hProcess);
    SetVisited(true);
    return;
  }
  // A page the shell has no program for: let the user choose one.
  if (UpperCase(ExtractFileExt(target)) == ".HTM")
    Seams().WinExec("RunDLL32.exe Shell32.dll,OpenAs_RunDLL *.htm", SW_SHOWNORMAL);
}

// ---------------------------------------------------------------------------

void InitializeKxLabel() { RegisterClasses({TKxLabel::StaticClass(), TKxURLLabel::StaticClass()}); }

void FinalizeKxLabel() {
  UnRegisterClass(TKxURLLabel::StaticClass());
  UnRegisterClass(TKxLabel::StaticClass());
}
