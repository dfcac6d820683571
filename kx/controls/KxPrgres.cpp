#include "kx/controls/KxPrgres.h"

#include <cmath>

#include "classlib/Controls.h"
#include "kx/foundation/KxStatus.h"
#include "kx/foundation/KxThemeSrv.h"

void InitializeKxPrgres() { RegisterClasses({TKxProgressBar::StaticClass()}); }

IMPLEMENT_CLASS(TKxCustomProgressBar)

TKxCustomProgressBar::TKxCustomProgressBar(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(GetControlStyle() + TControlStyle{csOpaque});
  SetBounds(GetLeft(), GetTop(), 200, 24);
}

void TKxCustomProgressBar::SetBackColor(TColor value) { Store(backColor_, value); }
void TKxCustomProgressBar::SetBevelWidth(int value) { Store(bevelWidth_, value); }
void TKxCustomProgressBar::SetBorderColor(TColor value) { Store(borderColor_, value); }
void TKxCustomProgressBar::SetBorderInner(TFrameStyleEx value) { Store(borderInner_, value); }
void TKxCustomProgressBar::SetBorderOuter(TFrameStyleEx value) { Store(borderOuter_, value); }
void TKxCustomProgressBar::SetBorderWidth(int value) { Store(borderWidth_, value); }
void TKxCustomProgressBar::SetFlatColor(TColor value) { Store(flatColor_, value); }
void TKxCustomProgressBar::SetFlatColorAdjustment(int value) { Store(flatColorAdjustment_, value); }
void TKxCustomProgressBar::SetInteriorOffset(uint8_t value) { Store(interiorOffset_, value); }
void TKxCustomProgressBar::SetNumSegments(int value) { Store(numSegments_, value < 1 ? 1 : value > 100 ? 100 : value); }
void TKxCustomProgressBar::SetOrientation(TOrientation value) { Store(orientation_, value); }
void TKxCustomProgressBar::SetShowPercent(bool value) { Store(showPercent_, value); }
void TKxCustomProgressBar::SetThemeAware(bool value) { Store(themeAware_, value); }

void TKxCustomProgressBar::SetBarColor(TColor value) {
  barColor_ = value;
  GetFont()->SetColor(value);
  Invalidate();
}

void TKxCustomProgressBar::SetBarStyle(TBarStyle value) {
  barStyle_ = value;
  showPercent_ = value == bsTraditional;
  interiorOffset_ = value == bsLED ? 1 : 0;
  Invalidate();
}

void TKxCustomProgressBar::PercentChanged() {
  if (OnChange) OnChange(this, percent_);
}

void TKxCustomProgressBar::SetPercent(uint16_t value) {
  if (percent_ == value) return;
  percent_ = value;
  PercentChanged();
  Invalidate();
}

void TKxCustomProgressBar::SetPartsComplete(uint32_t value) {
  if (partsComplete_ == value) return;
  // While a stored form is read TotalParts may still come: the cap waits
  // for Loaded.
  if (IsLoading()) {
    partsComplete_ = value;
    return;
  }
  partsComplete_ = value > totalParts_ ? totalParts_ : value;
  if (totalParts_ != 0)
    SetPercent(static_cast<uint16_t>(
        std::nearbyint(static_cast<double>(partsComplete_) / static_cast<double>(totalParts_) * 100.0)));
}

void TKxCustomProgressBar::SetTotalParts(uint32_t value) {
  if (totalParts_ == value) return;
  totalParts_ = value;
  if (IsLoading()) return;
  partsComplete_ = 0;
  SetPercent(0);
}

void TKxCustomProgressBar::Loaded() {
  inherited::Loaded();
  if (partsComplete_ > totalParts_) partsComplete_ = totalParts_;
}

void TKxCustomProgressBar::SetBounds(int left, int top, int width, int height) {
  inherited::SetBounds(left, top, width, height);
  SetOrientation(GetWidth() < GetHeight() ? orVertical : orHorizontal);
}

bool TKxCustomProgressBar::UseThemes() const {
  if (!ThemeServices().GetThemesEnabled()) return false;
  TWinControl* bar = KxStatusBarParent(this);
  if (!bar) return true;
  PPropInfo info = GetPropInfo(bar, "ThemeAware");
  return info && GetOrdProp(bar, info) != 0;
}

TRect TKxCustomProgressBar::PaintTo(TCanvas* canvas) {
  TRect r{0, 0, GetWidth(), GetHeight()};
  int off = interiorOffset_;
  auto themes = [&]() -> TThemeServices& { return ThemeServices(); };
  auto barElement = [&]() { return themes().GetElementDetails(orientation_ == orVertical ? tpBarVert : tpBar); };
  TWinControl* bar = KxStatusBarParent(this);
  if (UseThemes() && bar) {
    Owned<TBitmap> back = MakeOwned<TBitmap>();
    back->SetSize(bar->GetWidth(), bar->GetHeight());
    themes().DrawElement(back->GetCanvas()->GetHandle(), themes().GetElementDetails(tsStatusRoot),
                         TRect{0, 0, bar->GetWidth(), bar->GetHeight()});
    canvas->CopyRect(r, back->GetCanvas(), TRect{GetLeft(), GetTop(), GetLeft() + GetWidth(), GetTop() + GetHeight()});
    themes().DrawElement(canvas->GetHandle(), themes().GetElementDetails(tsPane), r);
    if (off == 0) InflateRect(&r, -3, -2);
    else InflateRect(&r, -(off + 2), -(off + 1));
    if (themeAware_) themes().DrawElement(canvas->GetHandle(), barElement(), r);
    int shrink = themeAware_ && barStyle_ == bsTraditional ? off + 3 : off + 1;
    InflateRect(&r, -shrink, -shrink);
  } else if (UseThemes()) {
    themes().DrawElement(canvas->GetHandle(), barElement(), r);
    int shrink = barStyle_ == bsTraditional ? off + 3 : themeAware_ ? off + 1 : off + 2;
    InflateRect(&r, -shrink, -shrink);
  } else {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(borderColor_);
    canvas->FillRect(r);
    TColor parentColor = GetParent() ? GetParent()->GetColor() : borderColor_;
    r = DrawInnerOuterBorders(canvas, r, borderOuter_, borderInner_, borderWidth_, sdAllSides, bevelWidth_,
                              borderColor_, clBtnHighlight, clBtnShadow, flatColor_, flatColorAdjustment_, backColor_,
                              parentColor, false, true);
    if (off > 0) {
      canvas->GetPen()->SetStyle(psInsideFrame);
      canvas->GetPen()->SetWidth(off);
      canvas->GetPen()->SetColor(backColor_);
      canvas->GetBrush()->SetStyle(bsClear);
      canvas->Rectangle(r);
      canvas->GetPen()->SetWidth(1);
      canvas->GetPen()->SetStyle(psSolid);
      canvas->GetBrush()->SetStyle(bsSolid);
      InflateRect(&r, -off, -off);
    }
  }
  if (barStyle_ == bsLED) DrawLEDBar(canvas, r, orientation_, barColor_, backColor_, numSegments_, percent_, themeAware_);
  else DrawPercentBar(canvas, r, orientation_, barColor_, backColor_, percent_, showPercent_);
  return r;
}

TRect TKxCustomProgressBar::BarArea() {
  Owned<TBitmap> scratch = MakeOwned<TBitmap>();
  scratch->SetSize(GetWidth(), GetHeight());
  scratch->GetCanvas()->SetFont(GetFont());
  return PaintTo(scratch->GetCanvas());
}

void TKxCustomProgressBar::Paint() {
  Owned<TBitmap> offscreen = MakeOwned<TBitmap>();
  offscreen->SetSize(GetWidth(), GetHeight());
  offscreen->GetCanvas()->SetFont(GetFont());
  PaintTo(offscreen->GetCanvas());
  GetCanvas()->Draw(0, 0, offscreen.get());
}

void TKxCustomProgressBar::CMHitTest(TMessage& m) {
  inherited::CMHitTest(m);
  TWinControl* bar = KxStatusBarParent(this);
  if (!bar) return;
  int x = static_cast<short>(LOWORD(m.LParam));
  if (x >= GetWidth() - 12) m.Result = bar->Perform(WM_NCHITTEST, m.WParam, m.LParam);
}

PUBLISHED(TKxProgressBar) {
  using C = TKxCustomProgressBar;
  PublishControlProps(p, {"Align", "Anchors"});
  p.Prop("BackColor", &C::GetBackColor, &C::SetBackColor).Default(clWhite).Type(TColorTypeInfo());
  p.Prop("BarColor", &C::GetBarColor, &C::SetBarColor).Default(clHighlight).Type(TColorTypeInfo());
  p.Prop("BarStyle", &C::GetBarStyle, &C::SetBarStyle).Default(bsTraditional);
  p.Prop("BevelWidth", &C::GetBevelWidth, &C::SetBevelWidth).Default(1);
  p.Prop("BorderColor", &C::GetBorderColor, &C::SetBorderColor).Default(clBtnFace).Type(TColorTypeInfo());
  p.Prop("BorderInner", &C::GetBorderInner, &C::SetBorderInner).Default(fsNone).Type(TFrameStyleTypeInfo());
  p.Prop("BorderOuter", &C::GetBorderOuter, &C::SetBorderOuter).Default(fsLowered).Type(TFrameStyleTypeInfo());
  p.Prop("BorderWidth", &C::GetBorderWidth, &C::SetBorderWidth).Default(0);
  PublishControlProps(p, {"Constraints", "DragKind"});
  p.Prop("FlatColor", &C::GetFlatColor, &C::SetFlatColor).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("FlatColorAdjustment", &C::GetFlatColorAdjustment, &C::SetFlatColorAdjustment).Default(30);
  PublishControlProps(p, {"Font"});
  p.Prop("Height", &TControl::GetHeight, &TControl::SetHeight).Default(24);
  p.Prop("InteriorOffset", &C::GetInteriorOffset, &C::SetInteriorOffset).Default(0);
  p.Prop("NumSegments", &C::GetNumSegments, &C::SetNumSegments).Default(20);
  p.Prop("Orientation", &C::GetOrientation, &C::SetOrientation).Default(orHorizontal);
  PublishControlProps(p, {"ParentFont", "ParentShowHint"});
  p.Prop("PartsComplete", &C::GetPartsComplete, &C::SetPartsComplete).Default(0);
  p.Prop("Percent", &C::GetPercent, &C::SetPercent).Default(0);
  PublishControlProps(p, {"PopupMenu", "ShowHint"});
  p.Prop("ShowPercent", &C::GetShowPercent, &C::SetShowPercent).Default(true);
  p.Prop("ThemeAware", &C::GetThemeAware, &C::SetThemeAware).Default(true);
  p.Prop("TotalParts", &C::GetTotalParts, &C::SetTotalParts).Default(0);
  PublishControlProps(p, {"Visible"});
  p.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Default(200);
  p.Prop("OnChange", &C::GetOnChange, &C::SetOnChange);
  PublishControlProps(p, {"OnClick", "OnContextPopup", "OnDblClick", "OnEndDock", "OnMouseDown", "OnMouseMove",
                          "OnMouseUp", "OnStartDock"});
}
