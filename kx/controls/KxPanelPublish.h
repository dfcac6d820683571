// What the framed group boxes publish, for TKxGroupBox and the groups built
// on it (radio and check groups), which publish the same and more.
#pragma once

#include "classlib/Controls.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"
#include "kx/controls/KxPanel.h"

template <class T>
void PublishKxGroupBoxProps(TPublisher<T>& p) {
  using C = TKxCustomPanel;
  using G = TKxCustomGroupBox;
  PublishControlProps(p, {"Align"});
  p.Prop("Alignment", &TCustomPanel::GetAlignment, &TCustomPanel::SetAlignment).Default(taLeftJustify);
  PublishControlProps(p, {"Anchors"});
  p.Prop("BevelWidth", &TCustomPanel::GetBevelWidth, &TCustomPanel::SetBevelWidth).Default(1);
  PublishControlProps(p, {"BiDiMode"});
  p.Prop("BorderInner", &C::GetBorderInner, &C::SetBorderInner).Default(fsNone).Type(TFrameStyleTypeInfo());
  p.Prop("BorderOuter", &C::GetBorderOuter, &C::SetBorderOuter).Default(fsNone).Type(TFrameStyleTypeInfo());
  p.Prop("BorderSides", &C::GetBorderSides, &C::SetBorderSides).Default(sdAllSides);
  p.Prop("BorderColor", &C::GetBorderColor, &C::SetBorderColor).Default(clBtnFace).Type(TColorTypeInfo());
  p.Prop("BorderWidth", &TCustomPanel::GetBorderWidth, &TCustomPanel::SetBorderWidth).Default(0);
  PublishControlProps(p, {"Caption"});
  PublishColor(p, clBtnFace);
  PublishControlProps(p, {"Constraints", "Ctl3D", "DockSite", "DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("FlatColor", &C::GetFlatColor, &C::SetFlatColor).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("FlatColorAdjustment", &C::GetFlatColorAdjustment, &C::SetFlatColorAdjustment).Default(30);
  PublishControlProps(p, {"Font"});
  p.Prop("GroupStyle", &G::GetGroupStyle, &G::SetGroupBoxStyle).Default(gsFlat);
  p.Prop("Height", &TControl::GetHeight, &TControl::SetHeight).Default(105);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("ShowDockClientCaptions", &C::GetShowDockClientCaptions, &C::SetShowDockClientCaptions).Default(true);
  PublishControlProps(p, {"ShowHint", "TabOrder", "TabStop"});
  p.Prop("ThemeAware", &C::GetThemeAware, &C::SetThemeAware).Default(true);
  p.Prop("Transparent", &C::GetTransparent, &C::SetTransparent).Default(false);
  PublishControlProps(p, {"Visible", "OnClick", "OnContextPopup", "OnDblClick", "OnDockDrop", "OnDockOver",
                          "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit",
                          "OnGetSiteInfo", "OnMouseDown"});
  p.Prop("OnMouseEnter", &C::GetOnMouseEnter, &C::SetOnMouseEnter);
  p.Prop("OnMouseLeave", &C::GetOnMouseLeave, &C::SetOnMouseLeave);
  PublishControlProps(p, {"OnMouseMove", "OnMouseUp"});
  p.Prop("OnPaint", &C::GetOnPaint, &C::SetOnPaint);
  PublishControlProps(p, {"OnResize", "OnStartDock", "OnStartDrag", "OnUnDock"});
}
