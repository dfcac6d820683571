#include "unicode/VoxStdActns.h"

void VoxStdActn_AfterInherited_Assign(TCustomAction* action, TPersistent* source) {
  VoxAction_AfterInherited_Assign(action, source);
}

PUBLISHED(TVoxHintAction) { PublishWideActionHint(p); }

TVoxHintAction::TVoxHintAction(TComponent* owner) : Wide(owner) {}
