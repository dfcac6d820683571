// What the calendar and the time picker publish alike inside the KxPopups
// unit: the panel properties and their colour sets (their shared code is
// TKxPickerBase, KxPopupsPicker.h).
#pragma once

#include <string>

#include "classlib/Controls.h"
#include "classlib/graphics/Resources.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"
#include "kx/controls/KxPanel.h"

// The panel properties and events of the calendar and the time picker,
// with the pickers' own defaults (BorderOuter fsLowered, Color clWindow,
// AutoSize and TabStop on, FlatColorAdjustment 0).
template <class T>
void PublishKxPickerPanelProps(TPublisher<T>& p) {
  using P = TKxCustomPanel;
  PublishControlProps(p, {"Align"});
  p.Prop("Alignment", &TCustomPanel::GetAlignment, &TCustomPanel::SetAlignment).Default(taCenter);
  PublishControlProps(p, {"Anchors"});
  p.Prop("AutoSize", &TControl::GetAutoSize, &TControl::SetAutoSize).Default(true);
  p.Prop("BevelWidth", &TCustomPanel::GetBevelWidth, &TCustomPanel::SetBevelWidth).Default(1);
  PublishControlProps(p, {"BiDiMode"});
  p.Prop("BorderInner", &P::GetBorderInner, &P::SetBorderInner).Default(fsNone).Type(TFrameStyleTypeInfo());
  p.Prop("BorderOuter", &P::GetBorderOuter, &P::SetBorderOuter).Default(fsLowered).Type(TFrameStyleTypeInfo());
  p.Prop("BorderSides", &P::GetBorderSides, &P::SetBorderSides).Default(sdAllSides);
  p.Prop("BorderColor", &P::GetBorderColor, &P::SetBorderColor).Default(clBtnFace).Type(TColorTypeInfo());
  p.Prop("BorderHighlight", &P::GetBorderHighlight, &P::SetBorderHighlight)
      .Default(clBtnHighlight)
      .Type(TColorTypeInfo());
  p.Prop("BorderShadow", &P::GetBorderShadow, &P::SetBorderShadow).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("BorderWidth", &TCustomPanel::GetBorderWidth, &TCustomPanel::SetBorderWidth).Default(0);
  PublishColor(p, clWindow);
  PublishControlProps(p, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("FlatColor", &P::GetFlatColor, &P::SetFlatColor).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("FlatColorAdjustment", &P::GetFlatColorAdjustment, &P::SetFlatColorAdjustment).Default(0);
  PublishControlProps(p, {"Font", "ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder"});
  p.Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop).Default(true);
  PublishControlProps(p, {"Visible", "OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver",
                          "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp",
                          "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
}

// The colour set's properties, one a colour, named in index order.
template <class T, int N>
void PublishKxColorSet(TPublisher<T>& p, const char* const (&names)[N], const TColor (&defaults)[N]) {
  for (int i = 0; i < N; ++i)
    p.IndexedProp(names[i], i, &T::GetColor, &T::SetColor).Default(defaults[i]).Type(TColorTypeInfo());
}
