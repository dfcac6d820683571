// The published properties of the scrolling containers placed on forms (the
// scroll box, the frame): the same list in the same order, with the box's
// own BorderStyle after BiDiMode.
//
// Surface for component writers (a scrolling container beside the class
// library's publishes the same list): include it directly; it changes only as
// the unit headers do.
#pragma once

#include "classlib/Menus.h"
#include "classlib/controls/Publish.h"
#include "classlib/forms/ScrollingWinControl.h"

template <class T, class F>
void PublishScrollingContainer(TPublisher<T>& p, F afterBiDiMode) {
  using S = TScrollingWinControl;
  PublishControlProps(p, {"Align", "Anchors"});
  p.Prop("AutoScroll", &S::GetAutoScroll, &S::SetAutoScroll).Default(true);
  PublishControlProps(p, {"AutoSize", "BiDiMode"});
  afterBiDiMode(p);
  PublishControlProps(p, {"Constraints", "DockSite", "DragCursor", "DragKind", "DragMode", "Enabled", "Color",
                          "Ctl3D", "Font"});
  p.Prop("HorzScrollBar", &S::GetHorzScrollBar, &S::SetHorzScrollBar);
  PublishControlProps(p, {"ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint",
                          "PopupMenu", "ShowHint", "TabOrder", "TabStop"});
  p.Prop("VertScrollBar", &S::GetVertScrollBar, &S::SetVertScrollBar);
  PublishControlProps(p, {"Visible", "OnCanResize", "OnClick", "OnConstrainedResize", "OnContextPopup",
                          "OnDblClick", "OnDockDrop", "OnDockOver", "OnDragDrop", "OnDragOver", "OnEndDock",
                          "OnEndDrag", "OnEnter", "OnExit", "OnGetSiteInfo", "OnMouseDown", "OnMouseMove",
                          "OnMouseUp", "OnMouseWheel", "OnMouseWheelDown", "OnMouseWheelUp", "OnResize",
                          "OnStartDock", "OnStartDrag", "OnUnDock"});
}
