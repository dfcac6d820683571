#include "classlib/extctrls/Panel.h"

#include "classlib/extctrls/Frame3D.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"

DEFINE_ENUM_TYPE(TBevelCut, "bvNone", "bvLowered", "bvRaised", "bvSpace")

PUBLISHED(TPanel) {
  PublishControlProps(p, {"Align"});
  p.Prop("Alignment", &TPanel::GetAlignment, &TPanel::SetAlignment).Default(taCenter);
  PublishControlProps(p, {"Anchors", "AutoSize"});
  p.Prop("BevelInner", &TPanel::GetBevelInner, &TPanel::SetBevelInner).Default(bvNone);
  p.Prop("BevelOuter", &TPanel::GetBevelOuter, &TPanel::SetBevelOuter).Default(bvRaised);
  p.Prop("BevelWidth", &TPanel::GetBevelWidth, &TPanel::SetBevelWidth).Default(1);
  PublishControlProps(p, {"BiDiMode"});
  p.Prop("BorderWidth", &TPanel::GetBorderWidth, &TPanel::SetBorderWidth).Default(0);
  p.Prop("BorderStyle", &TPanel::GetBorderStyle, &TPanel::SetBorderStyle).Default(bsNone);
  PublishControlProps(p, {"Caption"});
  PublishColor(p, clBtnFace);
  PublishControlProps(p, {"Constraints", "Ctl3D"});
  // A panel is made with UseDockManager on (TCustomPanel).
  PublishControlProp(p, "UseDockManager").Default(true);
  PublishControlProps(p, {"DockSite", "DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("FullRepaint", &TPanel::GetFullRepaint, &TPanel::SetFullRepaint).Default(true);
  PublishControlProps(p, {"Font"});
  p.Prop("Locked", &TPanel::GetLocked, &TPanel::SetLocked).Default(false);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder",
                          "TabStop", "Visible", "OnCanResize", "OnClick", "OnConstrainedResize",
                          "OnContextPopup", "OnDockDrop", "OnDockOver", "OnDblClick", "OnDragDrop", "OnDragOver",
                          "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnGetSiteInfo", "OnMouseDown",
                          "OnMouseMove", "OnMouseUp", "OnResize", "OnStartDock", "OnStartDrag", "OnUnDock"});
}
IMPLEMENT_CLASS(TCustomPanel)

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                csDoubleClicks, csReplicatable});
  SetBounds(GetLeft(), GetTop(), 185, 41);
  SetColor(clBtnFace);
  SetParentColor(false);
  SetUseDockManager(true);
}

void TCustomPanel::SetAlignment(TAlignment v) {
  if (alignment_ == v) return;
  alignment_ = v;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel v) {
  if (bevelInner_ == v) return;
  bevelInner_ = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel v) {
  if (bevelOuter_ == v) return;
  bevelOuter_ = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(TBevelWidth v) {
  if (v < 1) v = 1;
  if (bevelWidth_ == v) return;
  bevelWidth_ = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderWidth(TBorderWidth v) {
  if (v < 0) v = 0;
  if (borderWidth_ == v) return;
  borderWidth_ = v;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle v) {
  if (v != bsSingle) v = bsNone;
  if (borderStyle_ == v) return;
  borderStyle_ = v;
  RecreateWnd();
}

void TCustomPanel::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  if (borderStyle_ == bsSingle) {
    if (GetCtl3D()) params.ExStyle |= WS_EX_CLIENTEDGE;
    else params.Style |= WS_BORDER;
  }
  params.WindowClass.style &= ~UINT{CS_HREDRAW | CS_VREDRAW};
}

void TCustomPanel::AdjustClientRect(RECT& rect) {
  inherited::AdjustClientRect(rect);
  int inset = borderWidth_;
  if (bevelOuter_ != bvNone) inset += bevelWidth_;
  if (bevelInner_ != bvNone) inset += bevelWidth_;
  InflateRect(&rect, -inset, -inset);
}

namespace {
// bvLowered: shadow above and left, highlight below and right; any other
// cut the other way round.
void BevelColors(TPanelBevel bevel, TColor& top, TColor& bottom) {
  top = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
  bottom = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
}
}  // namespace

void TCustomPanel::Paint() {
  TCanvas* canvas = GetCanvas();
  TRect rect = GetClientRect();
  TColor top, bottom;
  if (bevelOuter_ != bvNone) {
    BevelColors(bevelOuter_, top, bottom);
    Frame3D(canvas, rect, top, bottom, bevelWidth_);
  }
  Frame3D(canvas, rect, GetColor(), GetColor(), borderWidth_);
  if (bevelInner_ != bvNone) {
    BevelColors(bevelInner_, top, bottom);
    Frame3D(canvas, rect, top, bottom, bevelWidth_);
  }
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(rect);
  canvas->GetBrush()->SetStyle(bsClear);
  canvas->SetFont(GetFont());
  // One line, centred vertically on the height of "W".
  int fontHeight = canvas->TextHeight("W");
  rect.top = (rect.bottom + rect.top - fontHeight) / 2;
  rect.bottom = rect.top + fontHeight;
  UINT align = alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
  UINT flags = DrawTextBiDiModeFlags(DT_EXPANDTABS | DT_VCENTER | align);
  std::string caption = GetCaption();
  DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &rect, flags);
}

void TCustomPanel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED: CMTextChanged(m); return;
    case CM_BORDERCHANGED: CMBorderChanged(m); return;
    case CM_ISTOOLCONTROL: CMIsToolControl(m); return;
    default: inherited::Dispatch(m); return;
  }
}

void TCustomPanel::CMTextChanged(TMessage&) { Invalidate(); }

void TCustomPanel::CMBorderChanged(TMessage&) { Invalidate(); }

void TCustomPanel::CMIsToolControl(TMessage& m) { m.Result = locked_ ? 0 : 1; }

void TCustomPanel::CMCtl3DChanged(TMessage& m) {
  if (borderStyle_ == bsSingle) RecreateWnd();
  inherited::CMCtl3DChanged(m);
}

void TCustomPanel::WMWindowPosChanged(TMessage& m) {
  auto* pos = TWMWindowPosChanged(m).WindowPos();
  if (HandleAllocated() && pos) {
    if (fullRepaint_ || !GetCaption().empty()) {
      Invalidate();
    } else {
      // Only the bevels on the side that moved need painting again.
      int bevelPixels = borderWidth_;
      if (bevelInner_ != bvNone) bevelPixels += bevelWidth_;
      if (bevelOuter_ != bvNone) bevelPixels += bevelWidth_;
      if (bevelPixels > 0) {
        RECT r{0, 0, GetWidth(), GetHeight()};
        if (pos->cx != r.right) {
          RECT strip{r.right - bevelPixels - 1, 0, r.right, r.bottom};
          InvalidateRect(GetWindowHandle(), &strip, TRUE);
        }
        if (pos->cy != r.bottom) {
          RECT strip{0, r.bottom - bevelPixels - 1, r.right, r.bottom};
          InvalidateRect(GetWindowHandle(), &strip, TRUE);
        }
      }
    }
  }
  inherited::WMWindowPosChanged(m);
}
