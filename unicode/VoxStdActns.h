// VoxStdActns: the class library's standard actions with UTF-16 Caption and
// Hint. Each is the class library's action of the same name with the wide
// action's members (VoxActnList); a copy by Assign also takes what the
// standard action's own kind carries.
#pragma once

#include "classlib/StdActns.h"
#include "unicode/VoxActnList.h"

// VoxAction_AfterInherited_Assign, then what both actions' kind carries
// beyond the action's own properties.
void VoxStdActn_AfterInherited_Assign(TCustomAction* action, TPersistent* source);

// The wide members over a standard action of the class library.
template <class Base>
using TVoxStdActionOf = TVoxActionOf<Base, &VoxStdActn_AfterInherited_Assign>;

// The application's hint handed to its targets (a status bar): the wide
// hint only.
class TVoxHintAction : public TVoxStdActionOf<THintAction> {
  DECLARE_CLASS(TVoxHintAction, THintAction)
  explicit TVoxHintAction(TComponent* owner);
};
