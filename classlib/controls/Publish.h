// Publishing the standard control properties.
//
// As on the platform, TControl publishes only Left, Top, Width, Height,
// Cursor, Hint and HelpContext; each descendant chooses which of the others
// it publishes, in its PUBLISHED block:
//   PUBLISHED(TButton) { PublishControlProps(p, {"Action", "Anchors", "Caption", ...}); ... }
// Each name gets the platform's stored-form name, default and stored
// predicate: the default of the class that first publishes it
// (UseDockManager: TWinControl's False). A class whose constructor sets
// another default publishes it on its own and chains that default:
//   PublishControlProp(p, "UseDockManager").Default(true);  // a panel
// A name this helper does not know raises EPropertyError when the class's
// table is first built, so a typo shows at once.
#pragma once

#include <initializer_list>
#include <string_view>

#include "classlib/controls/WinControl.h"

template <class T>
TPropBuilder<T> PublishControlProp(TPublisher<T>& p, std::string_view n) {
  using C = TControl;
  if (n == "Action") return p.Prop("Action", &C::GetAction, &C::SetAction);
  else if (n == "Align") return p.Prop("Align", &C::GetAlign, &C::SetAlign).Default(alNone);
  else if (n == "Anchors")
    return p.Prop("Anchors", &C::GetAnchors, &C::SetAnchors).Stored(&C::IsAnchorsStored);
  else if (n == "AutoSize") return p.Prop("AutoSize", &C::GetAutoSize, &C::SetAutoSize).Default(false);
  else if (n == "BiDiMode")
    return p.Prop("BiDiMode", &C::GetBiDiMode, &C::SetBiDiMode).Stored(&C::IsBiDiModeStored);
  else if (n == "Caption") return p.Prop("Caption", &C::GetCaption, &C::SetCaption).Stored(&C::IsCaptionStored);
  else if (n == "Text") return p.Prop("Text", &C::GetText, &C::SetText);
  else if (n == "Color")
    return p.Prop("Color", &C::GetColor, &C::SetColor).Stored(&C::IsColorStored).Type(TColorTypeInfo());
  else if (n == "Constraints") return p.Prop("Constraints", &C::GetConstraints, &C::SetConstraints);
  else if (n == "Ctl3D") return p.Prop("Ctl3D", &C::GetCtl3D, &C::SetCtl3D).Stored(&C::IsCtl3DStored);
  else if (n == "DragCursor")
    return p.Prop("DragCursor", &C::GetDragCursor, &C::SetDragCursor).Default(crDrag).Type(CursorTypeInfo());
  else if (n == "DragKind") return p.Prop("DragKind", &C::GetDragKind, &C::SetDragKind).Default(dkDrag);
  else if (n == "DragMode") return p.Prop("DragMode", &C::GetDragMode, &C::SetDragMode).Default(dmManual);
  else if (n == "Enabled")
    return p.Prop("Enabled", &C::GetEnabled, &C::SetEnabled).Default(true).Stored(&C::IsEnabledStored);
  else if (n == "Font") return p.Prop("Font", &C::GetFont, &C::SetFont).Stored(&C::IsFontStored);
  else if (n == "ParentBiDiMode")
    return p.Prop("ParentBiDiMode", &C::GetParentBiDiMode, &C::SetParentBiDiMode).Default(true);
  else if (n == "ParentColor") return p.Prop("ParentColor", &C::GetParentColor, &C::SetParentColor).Default(true);
  else if (n == "ParentCtl3D") return p.Prop("ParentCtl3D", &C::GetParentCtl3D, &C::SetParentCtl3D).Default(true);
  else if (n == "ParentFont") return p.Prop("ParentFont", &C::GetParentFont, &C::SetParentFont).Default(true);
  else if (n == "ParentShowHint")
    return p.Prop("ParentShowHint", &C::GetParentShowHint, &C::SetParentShowHint).Default(true);
  else if (n == "PopupMenu") return p.Prop("PopupMenu", &T::GetPopupMenu, &T::SetPopupMenu);
  else if (n == "ShowHint") return p.Prop("ShowHint", &C::GetShowHint, &C::SetShowHint).Stored(&C::IsShowHintStored);
  else if (n == "Visible")
    return p.Prop("Visible", &C::GetVisible, &C::SetVisible).Default(true).Stored(&C::IsVisibleStored);
  else if (n == "OnClick") return p.Prop("OnClick", &C::GetOnClick, &C::SetOnClick).Stored(&C::IsOnClickStored);
  else if (n == "OnContextPopup") return p.Prop("OnContextPopup", &C::GetOnContextPopup, &C::SetOnContextPopup);
  else if (n == "OnDblClick") return p.Prop("OnDblClick", &C::GetOnDblClick, &C::SetOnDblClick);
  else if (n == "OnDragDrop") return p.Prop("OnDragDrop", &C::GetOnDragDrop, &C::SetOnDragDrop);
  else if (n == "OnDragOver") return p.Prop("OnDragOver", &C::GetOnDragOver, &C::SetOnDragOver);
  else if (n == "OnEndDock") return p.Prop("OnEndDock", &C::GetOnEndDock, &C::SetOnEndDock);
  else if (n == "OnEndDrag") return p.Prop("OnEndDrag", &C::GetOnEndDrag, &C::SetOnEndDrag);
  else if (n == "OnMouseDown") return p.Prop("OnMouseDown", &C::GetOnMouseDown, &C::SetOnMouseDown);
  else if (n == "OnMouseMove") return p.Prop("OnMouseMove", &C::GetOnMouseMove, &C::SetOnMouseMove);
  else if (n == "OnMouseUp") return p.Prop("OnMouseUp", &C::GetOnMouseUp, &C::SetOnMouseUp);
  else if (n == "OnMouseWheel") return p.Prop("OnMouseWheel", &C::GetOnMouseWheel, &C::SetOnMouseWheel);
  else if (n == "OnMouseWheelDown")
    return p.Prop("OnMouseWheelDown", &C::GetOnMouseWheelDown, &C::SetOnMouseWheelDown);
  else if (n == "OnMouseWheelUp") return p.Prop("OnMouseWheelUp", &C::GetOnMouseWheelUp, &C::SetOnMouseWheelUp);
  else if (n == "OnResize") return p.Prop("OnResize", &C::GetOnResize, &C::SetOnResize);
  else if (n == "OnCanResize") return p.Prop("OnCanResize", &C::GetOnCanResize, &C::SetOnCanResize);
  else if (n == "OnConstrainedResize")
    return p.Prop("OnConstrainedResize", &C::GetOnConstrainedResize, &C::SetOnConstrainedResize);
  else if (n == "OnStartDock") return p.Prop("OnStartDock", &C::GetOnStartDock, &C::SetOnStartDock);
  else if (n == "OnStartDrag") return p.Prop("OnStartDrag", &C::GetOnStartDrag, &C::SetOnStartDrag);
  else if constexpr (std::is_base_of_v<TWinControl, T>) {
    using W = TWinControl;
    if (n == "TabStop") return p.Prop("TabStop", &W::GetTabStop, &W::SetTabStop).Default(false);
    else if (n == "TabOrder") return p.Prop("TabOrder", &W::GetTabOrder, &W::SetTabOrder).Default(-1);
    else if (n == "DockSite") return p.Prop("DockSite", &W::GetDockSite, &W::SetDockSite).Default(false);
    else if (n == "ImeMode") return p.Prop("ImeMode", &W::GetImeMode, &W::SetImeMode).Default(imDontCare);
    else if (n == "ImeName") return p.Prop("ImeName", &W::GetImeName, &W::SetImeName);
    else if (n == "UseDockManager")
      return p.Prop("UseDockManager", &W::GetUseDockManager, &W::SetUseDockManager).Default(false);
    else if (n == "OnEnter") return p.Prop("OnEnter", &W::GetOnEnter, &W::SetOnEnter);
    else if (n == "OnExit") return p.Prop("OnExit", &W::GetOnExit, &W::SetOnExit);
    else if (n == "OnKeyDown") return p.Prop("OnKeyDown", &W::GetOnKeyDown, &W::SetOnKeyDown);
    else if (n == "OnKeyPress") return p.Prop("OnKeyPress", &W::GetOnKeyPress, &W::SetOnKeyPress);
    else if (n == "OnKeyUp") return p.Prop("OnKeyUp", &W::GetOnKeyUp, &W::SetOnKeyUp);
    else if (n == "OnDockDrop") return p.Prop("OnDockDrop", &W::GetOnDockDrop, &W::SetOnDockDrop);
    else if (n == "OnDockOver") return p.Prop("OnDockOver", &W::GetOnDockOver, &W::SetOnDockOver);
    else if (n == "OnGetSiteInfo") return p.Prop("OnGetSiteInfo", &W::GetOnGetSiteInfo, &W::SetOnGetSiteInfo);
    else if (n == "OnUnDock") return p.Prop("OnUnDock", &W::GetOnUnDock, &W::SetOnUnDock);
    else throw EPropertyError("Unknown control property " + std::string(n));
  } else {
    throw EPropertyError("Unknown control property " + std::string(n));
  }
}

template <class T>
void PublishControlProps(TPublisher<T>& p, std::initializer_list<std::string_view> names) {
  for (std::string_view n : names) PublishControlProp(p, n);
}
