#include "skin/pkpanel.h"

#include "classlib/Classes.h"
#include "classlib/Menus.h"
#include "skin/pkframe.h"

namespace {

void ClearStyle(HWND w, LONG_PTR bits) {
  LONG_PTR style = GetWindowLongPtrA(w, GWL_STYLE);
  if (style & bits) SetWindowLongPtrA(w, GWL_STYLE, style & ~bits);
}

}  // namespace

IMPLEMENT_CLASS(TpkCustomPanel)

TpkCustomPanel::TpkCustomPanel(TComponent* owner) : TCustomPanel(owner) { frame_ = New<TpkEditFrame>(this); }

void TpkCustomPanel::Destroy() {
  inherited::Destroy();
  FreeAndNil(frame_);
}

void TpkCustomPanel::SetFrame(TpkEditFrame* value) { frame_->Assign(value); }

bool TpkCustomPanel::IsTransparent() { return transparent_ && !IsDesigning(); }

bool TpkCustomPanel::FrameInEffect() const { return frame_ && frame_->InEffect(); }

bool TpkCustomPanel::FocusColorsDiffer() {
  if (!FrameInEffect()) return false;
  TColor nonFocus = frame_->GetNonFocusColor();
  TColor nonFocusFont = frame_->GetNonFocusFontColor();
  return (nonFocus != clNone && nonFocus != GetColor()) ||
         (nonFocusFont != clNone && nonFocusFont != GetFont()->GetColor());
}

void TpkCustomPanel::ClearClipChildren() {
  if (TWinControl* parent = GetParent())
    if (parent->HandleAllocated()) ClearStyle(parent->GetHandle(), WS_CLIPCHILDREN);
  if (HandleAllocated()) ClearStyle(GetHandle(), WS_CLIPCHILDREN);
}

void TpkCustomPanel::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  TControlStyle style = GetControlStyle();
  if (IsTransparent())
    style.Exclude(csOpaque);
  else
    style.Include(csOpaque);
  SetControlStyle(style);
  if (IsLoading() || !HandleAllocated() || IsDesigning()) return;
  Invalidate();
  ClearClipChildren();
  RecreateWnd();
}

void TpkCustomPanel::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  if (IsTransparent()) params.ExStyle |= WS_EX_TRANSPARENT;
}

void TpkCustomPanel::CreateWnd() {
  inherited::CreateWnd();
  ClearClipChildren();
}

void TpkCustomPanel::SetParent(TWinControl* parent) { inherited::SetParent(parent); }

void TpkCustomPanel::WMEraseBkgnd(TMessage& m) {
  if (IsTransparent()) {
    m.Result = 1;
    return;
  }
  inherited::WMEraseBkgnd(m);
}

void TpkCustomPanel::WMMove(TMessage& m) {
  inherited::WMMove(m);
  if (IsTransparent()) Invalidate();
}

void TpkCustomPanel::AlignControls(TControl* control, RECT& rect) {
  inherited::AlignControls(control, rect);
  if (IsTransparent()) Invalidate();
}

void TpkCustomPanel::Invalidate() {
  TWinControl* parent = GetParent();
  if (!IsTransparent() || !parent || !parent->HandleAllocated() || !HandleAllocated()) {
    inherited::Invalidate();
    return;
  }
  // The parent paints first what shows through; then the panel its own.
  HWND window = GetHandle();
  RECT update{0, 0, 0, 0};
  GetUpdateRect(window, &update, FALSE);
  if (IsRectEmpty(&update)) {
    RECT all = GetBoundsRect();
    InvalidateRect(parent->GetHandle(), &all, FALSE);
    InvalidateRect(window, nullptr, FALSE);
    return;
  }
  RECT inParent = update;
  OffsetRect(&inParent, GetLeft(), GetTop());
  InvalidateRect(parent->GetHandle(), &inParent, FALSE);
  InvalidateRect(window, &update, FALSE);
}

void TpkCustomPanel::Paint() {
  TCanvas* canvas = GetCanvas();
  TRect r = GetClientRect();
  bool opaque = !IsTransparent();
  if (FrameInEffect()) {
    TColor brush = GetColor();
    if (frame_->GetNonFocusColor() != clNone && !hasFocus_) brush = frame_->GetNonFocusColor();
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(brush);
    if (opaque) canvas->FillRect(r);
    frame_->DrawFrame(this, canvas, hasFocus_);
  } else {
    auto colors = [](TPanelBevel cut, TColor& top, TColor& bottom) {
      top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
      bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
    };
    TColor top, bottom;
    if (GetBevelOuter() != bvNone) {
      colors(GetBevelOuter(), top, bottom);
      Frame3D(canvas, r, top, bottom, GetBevelWidth());
    }
    Frame3D(canvas, r, GetColor(), GetColor(), GetBorderWidth());
    if (GetBevelInner() != bvNone) {
      colors(GetBevelInner(), top, bottom);
      Frame3D(canvas, r, top, bottom, GetBevelWidth());
    }
    if (opaque) {
      canvas->GetBrush()->SetStyle(bsSolid);
      canvas->GetBrush()->SetColor(GetColor());
      canvas->FillRect(r);
    }
  }
  canvas->GetBrush()->SetStyle(bsClear);
  canvas->SetFont(GetFont());
  int line = canvas->TextHeight("W");
  TRect text = r;
  text.top = (r.top + r.bottom - line) / 2;
  text.bottom = text.top + line;
  if (FrameInEffect() && frame_->GetNonFocusFontColor() != clNone && !hasFocus_)
    canvas->GetFont()->SetColor(frame_->GetNonFocusFontColor());
  UINT align = GetAlignment() == taLeftJustify ? DT_LEFT : GetAlignment() == taRightJustify ? DT_RIGHT : DT_CENTER;
  UINT flags = DrawTextBiDiModeFlags(align | DT_VCENTER | DT_EXPANDTABS);
  std::string caption = GetCaption();
  DrawTextA(canvas->GetHandle(), caption.c_str(), static_cast<int>(caption.size()), &text, flags);
}

void TpkCustomPanel::FocusChanged() {
  if (FocusColorsDiffer()) {
    Invalidate();
    return;
  }
  if (!FrameInEffect() || !HandleAllocated()) return;
  if (frame_->GetFocusBorders() == frame_->GetNonFocusBorders() &&
      frame_->GetFocusStyle() == frame_->GetNonFocusStyle())
    return;
  // Only the frame changes: the interior is left as it is.
  RECT client = GetClientRect();
  RECT interior = client;
  InflateRect(&interior, -2, -2);
  InvalidateRect(GetHandle(), &client, FALSE);
  ValidateRect(GetHandle(), &interior);
}

void TpkCustomPanel::CMEnter(TMessage& m) {
  inherited::CMEnter(m);
  hasFocus_ = true;
  FocusChanged();
}

void TpkCustomPanel::CMExit(TMessage& m) {
  inherited::CMExit(m);
  hasFocus_ = false;
  FocusChanged();
}

void TpkCustomPanel::CMTextChanged(TMessage& m) {
  if (!(IsDesigning() && !transparent_)) frame_->Refresh();
  inherited::CMTextChanged(m);
}

PUBLISHED(TpkPanel) {
  using C = TpkCustomPanel;
  PublishControlProps(p, {"Align"});
  p.Prop("Alignment", &C::GetAlignment, &C::SetAlignment).Default(taCenter);
  PublishControlProps(p, {"Anchors", "AutoSize"});
  p.Prop("BevelInner", &C::GetBevelInner, &C::SetBevelInner).Default(bvNone);
  p.Prop("BevelOuter", &C::GetBevelOuter, &C::SetBevelOuter).Default(bvRaised);
  p.Prop("BevelWidth", &C::GetBevelWidth, &C::SetBevelWidth).Default(1);
  PublishControlProps(p, {"BiDiMode"});
  p.Prop("BorderWidth", &C::GetBorderWidth, &C::SetBorderWidth).Default(0);
  p.Prop("BorderStyle", &C::GetBorderStyle, &C::SetBorderStyle).Default(bsNone);
  PublishControlProps(p, {"Caption"});
  p.Prop("Color", &TControl::GetColor, &TControl::SetColor)
      .Default(clBtnFace)
      .Stored(&TControl::IsColorStored)
      .Type(TColorTypeInfo());
  PublishControlProps(p, {"Constraints", "Ctl3D"});
  // A panel is made with UseDockManager on (TCustomPanel).
  PublishControlProp(p, "UseDockManager").Default(true);
  PublishControlProps(p, {"DockSite", "DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("FullRepaint", &C::GetFullRepaint, &C::SetFullRepaint).Default(true);
  PublishControlProps(p, {"Font"});
  p.Prop("Frame", &C::GetFrame, &C::SetFrame);
  p.Prop("Locked", &C::GetLocked, &C::SetLocked).Default(false);
  PublishControlProps(p, {"ParentBiDiMode"});
  p.Prop("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor).Default(false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder",
                          "TabStop"});
  p.Prop("Transparent", &C::GetTransparent, &C::SetTransparent).Default(false);
  PublishControlProps(p, {"Visible", "OnCanResize", "OnClick", "OnConstrainedResize", "OnContextPopup",
                          "OnDockDrop", "OnDockOver", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock",
                          "OnEndDrag", "OnEnter", "OnExit", "OnGetSiteInfo", "OnMouseDown", "OnMouseMove",
                          "OnMouseUp", "OnResize", "OnStartDock", "OnStartDrag", "OnUnDock"});
}

void InitializePkPanel() { RegisterClasses({TpkPanel::StaticClass()}); }

void FinalizePkPanel() { UnRegisterClass(TpkPanel::StaticClass()); }
