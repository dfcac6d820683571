#include "skin/pkframe.h"

#include "skin/pkGdi.h"
#include "skin/pkShared.h"

DEFINE_ENUM_TYPE(TpkEditFrameEnabled, "efLeftBorder", "efTopBorder", "efRightBorder", "efBottomBorder")
DEFINE_ENUM_TYPE(TpkEditFocusStyle, "efsFrameBox", "efsFrameSunken", "efsFrameRaised", "efsFrameEtched",
                 "efsFrameBump", "efsFrameSingle")

PUBLISHED(TpkEditFrame) {
  p.Prop("Enabled", &TpkEditFrame::GetEnabled, &TpkEditFrame::SetEnabled).Default(false);
  p.Prop("Transparent", &TpkEditFrame::GetTransparent, &TpkEditFrame::SetTransparent).Default(false);
  p.Prop("AutoSizeHeightAdjust", &TpkEditFrame::GetAutoSizeHeightAdjust, &TpkEditFrame::SetAutoSizeHeightAdjust)
      .Default(0);
  p.Prop("FocusBorders", &TpkEditFrame::GetFocusBorders, &TpkEditFrame::SetFocusBorders).Default(kpkAllBorders);
  p.Prop("NonFocusBorders", &TpkEditFrame::GetNonFocusBorders, &TpkEditFrame::SetNonFocusBorders)
      .Default(TpkEditFrameEnabledSet{efBottomBorder});
  p.Prop("FocusStyle", &TpkEditFrame::GetFocusStyle, &TpkEditFrame::SetFocusStyle).Default(efsFrameBox);
  p.Prop("NonFocusStyle", &TpkEditFrame::GetNonFocusStyle, &TpkEditFrame::SetNonFocusStyle).Default(efsFrameBox);
  p.Prop("NonFocusTextOffsetX", &TpkEditFrame::GetNonFocusTextOffsetX, &TpkEditFrame::SetNonFocusTextOffsetX)
      .Default(0);
  p.Prop("NonFocusTextOffsetY", &TpkEditFrame::GetNonFocusTextOffsetY, &TpkEditFrame::SetNonFocusTextOffsetY)
      .Default(0);
  p.Prop("NonFocusTransparentFontColor", &TpkEditFrame::GetNonFocusTransparentFontColor,
         &TpkEditFrame::SetNonFocusTransparentFontColor)
      .Type(TColorTypeInfo())
      .Default(clNone);
  p.Prop("NonFocusColor", &TpkEditFrame::GetNonFocusColor, &TpkEditFrame::SetNonFocusColor)
      .Type(TColorTypeInfo())
      .Default(clNone);
  p.Prop("NonFocusFontColor", &TpkEditFrame::GetNonFocusFontColor, &TpkEditFrame::SetNonFocusFontColor)
      .Type(TColorTypeInfo())
      .Default(clNone);
  p.Prop("MouseEnterSameAsFocus", &TpkEditFrame::GetMouseEnterSameAsFocus, &TpkEditFrame::SetMouseEnterSameAsFocus)
      .Default(false);
}

TpkEditFrame::TpkEditFrame(TComponent* owner) : owner_(dynamic_cast<TWinControl*>(owner)) {}

TPersistent* TpkEditFrame::GetOwner() { return owner_; }

bool TpkEditFrame::OwnerIsEdit() const { return InheritsFromName(owner_, "TCustomEdit"); }

// ---------------------------------------------------------------------------
// Assignment

void TpkEditFrame::Assign(TPersistent* source) {
  if (!dynamic_cast<TpkEditFrame*>(source) && !InheritsFromName(source, "TjnEditFrame")) {
    inherited::Assign(source);
    return;
  }
  // By property name: the other library's frame publishes the same names.
  auto copy = [&](const char* name) {
    if (PPropInfo from = GetPropInfo(source, name))
      if (PPropInfo to = GetPropInfo(this, name)) SetOrdProp(this, to, GetOrdProp(source, from));
  };
  copy("FocusStyle");
  copy("Enabled");
  copy("Transparent");
  if (!enabled_) return;
  for (const char* name : {"AutoSizeHeightAdjust", "FocusBorders", "NonFocusBorders", "NonFocusStyle",
                           "NonFocusTextOffsetX", "NonFocusTextOffsetY", "NonFocusTransparentFontColor",
                           "NonFocusColor", "NonFocusFontColor", "MouseEnterSameAsFocus"})
    copy(name);
}

// ---------------------------------------------------------------------------
// Setters

void TpkEditFrame::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  if (!OwnerIsEdit()) return;
  // The frame replaces the edit's own border.
  if (value && IsPublishedProp(owner_, "BorderStyle")) SetOrdProp(owner_, "BorderStyle", 0);
  if (IsPublishedProp(owner_, "AutoSize") && GetOrdProp(owner_, "AutoSize")) AdjustHeight();
  owner_->Invalidate();
}

void TpkEditFrame::SetTransparent(bool value) {
  transparent_ = value;
  if (!enabled_ || !owner_ || owner_->IsDesigning()) return;
  if (InheritsFromName(owner_->GetParent(), "TCustomGrid")) return;
  if (!owner_->HandleAllocated()) return;
  HWND parent = ::GetParent(owner_->GetHandle());
  // A window clipped out of its parent cannot show the parent through
  // itself: the owner rebuilds its window.
  if (parent && (GetWindowLongPtrA(parent, GWL_STYLE) & WS_CLIPCHILDREN)) owner_->Perform(CM_RECREATEWND, 0, 0);
}

void TpkEditFrame::RepaintEditOwner(bool throughParent) {
  if (!OwnerIsEdit()) return;
  if (throughParent && enabled_ && transparent_ && owner_->GetParent() && owner_->GetParent()->HandleAllocated()) {
    RECT r = owner_->GetBoundsRect();
    InvalidateRect(owner_->GetParent()->GetHandle(), &r, FALSE);
    return;
  }
  owner_->Invalidate();
}

void TpkEditFrame::SetFocusBorders(TpkEditFrameEnabledSet value) {
  focusBorders_ = value;
  RepaintEditOwner(false);
}

void TpkEditFrame::SetNonFocusBorders(TpkEditFrameEnabledSet value) {
  nonFocusBorders_ = value;
  RepaintEditOwner(true);
}

void TpkEditFrame::SetNonFocusStyle(TpkEditFocusStyle value) {
  if (value == nonFocusStyle_) return;
  nonFocusStyle_ = value;
  RepaintEditOwner(false);
}

// ---------------------------------------------------------------------------
// Drawing and layout

void TpkEditFrame::DrawFrame(TControl* control, TCanvas* canvas, bool focused) {
  if (!control || !canvas) return;
  RECT r = control->GetClientRect();
  const TpkEditFrameEnabledSet borders = focused ? focusBorders_ : nonFocusBorders_;
  const TpkEditFocusStyle style = focused ? focusStyle_ : nonFocusStyle_;
  if (!borders.Contains(efRightBorder) && transparent_) r.right -= 2;
  UINT flags = 0;
  if (borders.Contains(efLeftBorder)) flags |= BF_LEFT;
  if (borders.Contains(efTopBorder)) flags |= BF_TOP;
  if (borders.Contains(efRightBorder)) flags |= BF_RIGHT;
  if (borders.Contains(efBottomBorder)) flags |= BF_BOTTOM;
  static const struct {
    UINT edge, flags;
  } kStyles[] = {
      {EDGE_SUNKEN, BF_MONO},       // efsFrameBox
      {EDGE_SUNKEN, 0},             // efsFrameSunken
      {EDGE_RAISED, 0},             // efsFrameRaised
      {EDGE_ETCHED, 0},             // efsFrameEtched
      {EDGE_BUMP, 0},               // efsFrameBump
      {BDR_SUNKENINNER, BF_MONO},   // efsFrameSingle
  };
  DrawEdge(canvas->GetHandle(), &r, kStyles[style].edge, flags | kStyles[style].flags);
}

void TpkEditFrame::GetTextOffsets(bool focused, int& x, int& y) const {
  const TpkEditFrameEnabledSet borders = focused ? focusBorders_ : nonFocusBorders_;
  const TpkEditFocusStyle style = focused ? focusStyle_ : nonFocusStyle_;
  const bool thin = style == efsFrameBox || style == efsFrameSingle;
  x = borders.Contains(efLeftBorder) ? (thin ? 2 : 3) : 1;
  y = borders.Contains(efTopBorder) && !thin ? 3 : 2;
  x += nonFocusTextOffsetX_;
  y += nonFocusTextOffsetY_;
}

void TpkEditFrame::AdjustHeight() {
  if (!OwnerIsEdit()) return;
  TEXTMETRICA tm{};
  {
    pk_detail::TScreenDC screen;
    HGDIOBJ old = SelectObject(screen.Get(), owner_->GetFont()->GetHandle());
    GetTextMetricsA(screen.Get(), &tm);
    SelectObject(screen.Get(), old);
  }
  // Two 3-D edges above and below the text, as a sunken edit allows.
  int height = tm.tmHeight + 4 * GetSystemMetrics(SM_CYEDGE);
  if (enabled_) height += autoSizeHeightAdjust_;
  owner_->SetHeight(height);
}

void TpkEditFrame::InvalidateTransparent() {
  if (!owner_) return;
  RECT r = owner_->GetBoundsRect();
  for (TWinControl* p = owner_->GetParent(); p; p = p->GetParent()) {
    if (p->HandleAllocated()) InvalidateRect(p->GetHandle(), &r, FALSE);
    bool transparentPanel = (InheritsFromName(p, "TpkPanel") || InheritsFromName(p, "TpkGroupBox")) &&
                            IsPublishedProp(p, "Transparent") && GetOrdProp(p, "Transparent") != 0;
    if (!transparentPanel) break;
    OffsetRect(&r, p->GetLeft(), p->GetTop());
  }
}

void TpkEditFrame::Refresh() {
  if (!owner_) return;
  if (enabled_ && transparent_) InvalidateTransparent();
  else owner_->Invalidate();
}
