// What the standard actions that stand on TCustomAction (not TAction)
// publish: the action's own properties without OnExecute, since running
// them is their own work.
#pragma once

#include "classlib/ActnList.h"
#include "classlib/TypInfo.h"

template <class T>
void PublishStandardActionProps(TPublisher<T>& p) {
  p.Prop("Caption", &T::GetCaption, &T::SetCaption);
  p.Prop("Enabled", &T::GetEnabled, &T::SetEnabled).Default(true);
  p.Prop("HelpContext", &T::GetHelpContext, &T::SetHelpContext).Default(0);
  p.Prop("Hint", &T::GetHint, &T::SetHint);
  p.Prop("ImageIndex", &T::GetImageIndex, &T::SetImageIndex).Default(-1);
  p.Prop("ShortCut", &T::GetShortCut, &T::SetShortCut).Default(0);
  p.Prop("Visible", &T::GetVisible, &T::SetVisible).Default(true);
  p.Prop("OnHint", &T::GetOnHint, &T::SetOnHint);
  p.Prop("OnUpdate", &T::GetOnUpdate, &T::SetOnUpdate);
}

// The dialog actions add the events around their dialog.
template <class T>
void PublishDialogActionProps(TPublisher<T>& p) {
  PublishStandardActionProps(p);
  p.Prop("BeforeExecute", &T::GetBeforeExecute, &T::SetBeforeExecute);
  p.Prop("OnAccept", &T::GetOnAccept, &T::SetOnAccept);
  p.Prop("OnCancel", &T::GetOnCancel, &T::SetOnCancel);
}
