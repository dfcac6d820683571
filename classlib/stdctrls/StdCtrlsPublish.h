// What the standard controls' published-property tables need: the Menus
// unit (so that PopupMenu is published), and Color and ParentColor with the
// default of the class that publishes them (the platform's controls
// redeclare these defaults: a list box or a panel keeps its own colour, so
// ParentColor defaults to False).
//
// Surface for component writers (a control derived from a standard one
// publishes its properties with these): include it directly; it changes only
// as the unit headers do.
#pragma once

#include "classlib/Controls.h"
#include "classlib/Menus.h"

template <class T>
void PublishColor(TPublisher<T>& p, TColor defaultColor) {
  p.Prop("Color", &TControl::GetColor, &TControl::SetColor)
      .Default(defaultColor)
      .Stored(&TControl::IsColorStored)
      .Type(TColorTypeInfo());
}

template <class T>
void PublishParentColor(TPublisher<T>& p, bool defaultValue) {
  p.Prop("ParentColor", &TControl::GetParentColor, &TControl::SetParentColor).Default(defaultValue);
}
