// Standard actions: THintAction, which the application runs when its Hint
// changes and nobody handles OnHint (a status bar takes it as its target).
#pragma once

#include "classlib/ActnList.h"

class THintAction : public TCustomAction {
  DECLARE_CLASS(THintAction, TCustomAction)
  explicit THintAction(TComponent* owner);
};
