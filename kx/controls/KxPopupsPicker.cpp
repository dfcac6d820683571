#include "kx/controls/KxPopupsPicker.h"

#include <algorithm>

#include "kx/foundation/KxThemeSrv.h"

// ---------------------------------------------------------------------------
// TKxPickerColors

IMPLEMENT_CLASS(TKxPickerColors)

TColor TKxPickerColors::GetColor(int index) const {
  return index >= 0 && index < static_cast<int>(colors_.size()) ? colors_[static_cast<size_t>(index)] : clNone;
}

void TKxPickerColors::SetColor(int index, TColor value) {
  if (index < 0 || index >= static_cast<int>(colors_.size())) return;
  colors_[static_cast<size_t>(index)] = value;
  Changed();
}

void TKxPickerColors::Assign(TPersistent* source) {
  if (source && source->ClassType() == ClassType()) {
    colors_ = static_cast<TKxPickerColors*>(source)->colors_;
    Changed();
    return;
  }
  inherited::Assign(source);
}

void TKxPickerColors::Changed() {
  if (owner_) owner_->Invalidate();
}

// ---------------------------------------------------------------------------
// TKxPickerBase

IMPLEMENT_CLASS(TKxPickerBase)

TKxPickerBase::TKxPickerBase(TComponent* owner) : TKxCustomPanel(owner) {
  SetControlStyle(GetControlStyle() - TControlStyle{csAcceptsControls, csSetCaption, csNoStdEvents} +
                  TControlStyle{csReflector});
}

void TKxPickerBase::SetPickerDefaults() {
  SetColor(clWindow);
  SetParentColor(false);
  SetFlatColorAdjustment(0);
  SetBorderOuter(fsLowered);
  SetTabStop(true);
  SetAutoSize(true);
  SetDoubleBuffered(true);
}

void TKxPickerBase::CalcFontSize() {
  charW_ = KxTextWidth(GetFont(), "0");
  textH_ = KxTextHeight(GetFont(), "0");
}

void TKxPickerBase::AdjustForFont() {
  CalcFontSize();
  AdjustSize();
  Invalidate();
}

bool TKxPickerBase::CanAutoSize(int& newWidth, int& newHeight) {
  SIZE s = NaturalSize();
  newWidth = s.cx;
  newHeight = s.cy;
  return true;
}

void TKxPickerBase::ConstrainedResize(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight) {
  inherited::ConstrainedResize(minWidth, minHeight, maxWidth, maxHeight);
  SIZE s = NaturalSize();
  minWidth = std::max<int>(minWidth, s.cx);
  minHeight = std::max<int>(minHeight, s.cy);
}

// The class library's AdjustSize of a windowed control moves nothing that
// is already where it was, so a new natural size is applied here.
void TKxPickerBase::AdjustSize() {
  if (!IsLoading() && textH_ > 0) {
    int w = GetWidth(), h = GetHeight();
    if (CheckNewSize(w, h) && (w != GetWidth() || h != GetHeight())) SetBounds(GetLeft(), GetTop(), w, h);
  }
  inherited::AdjustSize();
}

void TKxPickerBase::AdjustClientRect(RECT& rect) {
  TCustomPanel::AdjustClientRect(rect);
  rect = FixClientRect(rect, false);
}

void TKxPickerBase::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (!IsDesigning() && !isPopup_ && CanFocus()) SetFocus();
}

void TKxPickerBase::DoEnter() {
  inherited::DoEnter();
  Invalidate();
}

void TKxPickerBase::DoExit() {
  inherited::DoExit();
  Invalidate();
}

void TKxPickerBase::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    m.Result = DLGC_WANTARROWS;
    return;
  }
  inherited::Dispatch(m);
}

void TKxPickerBase::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  AdjustForFont();
}

bool TKxPickerBase::FlatLook() const { return GetBorderOuter() == fsFlat || GetBorderOuter() == fsFlatBold; }

void TKxPickerBase::PaintBackground(TCanvas* canvas) {
  if (ThemeServices().GetThemesEnabled())
    ThemeServices().DrawElement(canvas->GetHandle(), ThemeServices().GetElementDetails(teEditRoot), GetClientRect());
  else
    inherited::Paint();
}

void TKxPickerBase::DrawBar(TCanvas* canvas, const TRect& rect) {
  if (ThemeServices().GetThemesEnabled()) {
    ThemeServices().DrawElement(canvas->GetHandle(), ThemeServices().GetElementDetails(thHeaderRoot), rect);
    return;
  }
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(clBtnFace);
  RECT e = rect;
  DrawEdge(canvas->GetHandle(), &e, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE | (FlatLook() ? BF_FLAT : 0));
}

void TKxPickerBase::DrawBarText(TCanvas* canvas, const std::string& text, const TRect& rect) {
  canvas->GetBrush()->SetStyle(bsClear);
  canvas->GetFont()->SetColor(GetFont()->GetColor());
  CenterText(canvas, text, rect);
}

void TKxPickerBase::CenterText(TCanvas* canvas, const std::string& text, TRect rect) {
  // The handle is taken here: it selects the font and the background mode
  // of the brush set last, which a handle taken earlier would not carry.
  DrawTextA(canvas->GetHandle(), text.c_str(), -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TKxPickerBase::DrawPickerButton(TCanvas* canvas, const TRect& rect, const std::string& caption, bool pressed) {
  TRect r = rect;
  if (ThemeServices().GetThemesEnabled()) {
    ThemeServices().DrawElement(canvas->GetHandle(),
                                ThemeServices().GetElementDetails(pressed ? tbPushButtonPressed : tbPushButtonNormal),
                                r);
  } else {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(clBtnFace);
    UINT edge = pressed ? EDGE_SUNKEN : FlatLook() ? EDGE_ETCHED : EDGE_RAISED;
    RECT e = r;
    DrawEdge(canvas->GetHandle(), &e, edge, BF_RECT | BF_MIDDLE | BF_SOFT | BF_ADJUST);
  }
  canvas->GetBrush()->SetStyle(bsClear);
  if (pressed) OffsetRect(&r, 2, 2);
  canvas->GetFont()->SetColor(GetFont()->GetColor());
  CenterText(canvas, caption, r);
}
