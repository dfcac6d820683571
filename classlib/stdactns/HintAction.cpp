#include "classlib/stdactns/HintAction.h"

PUBLISHED(THintAction) { p.Prop("Hint", &THintAction::GetHint, &THintAction::SetHint); }

// Runs even without a handler: its targets do the work.
THintAction::THintAction(TComponent* owner) : TCustomAction(owner) { SetDisableIfNoHandler(false); }
