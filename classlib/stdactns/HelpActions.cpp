#include "classlib/stdactns/HelpActions.h"

#include "classlib/Forms.h"

namespace {
// The control whose topic the context action shows.
TControl* ActiveHelpControl() { return Screen ? Screen->GetActiveControl() : nullptr; }

// A help request for the application's OnHelp, the only help there is (as
// its HelpContext asks): false when nothing showed help.
bool AskHelp(WORD command, intptr_t data) {
  if (!Application || !Application->OnHelp) return false;
  bool callHelp = true;
  return Application->OnHelp(command, data, callHelp);
}
}  // namespace

PUBLISHED(THelpAction) {}

THelpAction::THelpAction(TComponent* owner) : TAction(owner) {}

bool THelpAction::HandlesTarget(TObject*) { return true; }

void THelpAction::UpdateTarget(TObject*) {
  SetEnabled(Application && (Application->OnHelp || !Application->GetHelpFile().empty()));
}

PUBLISHED(THelpContents) {}

void THelpContents::ExecuteTarget(TObject*) { AskHelp(HELP_FINDER, 0); }

PUBLISHED(THelpTopicSearch) {}

void THelpTopicSearch::ExecuteTarget(TObject*) {
  // The keyword search opens on an empty keyword: the user types one.
  static const char empty[] = "";
  AskHelp(HELP_PARTIALKEY, reinterpret_cast<intptr_t>(empty));
}

PUBLISHED(THelpOnHelp) {}

void THelpOnHelp::ExecuteTarget(TObject*) { AskHelp(HELP_HELPONHELP, 0); }

PUBLISHED(THelpContextAction) {}

void THelpContextAction::UpdateTarget(TObject* target) {
  TControl* control = ActiveHelpControl();
  if (!control || control->GetHelpContext() == 0) SetEnabled(false);
  else inherited::UpdateTarget(target);
}

void THelpContextAction::ExecuteTarget(TObject*) {
  TControl* control = ActiveHelpControl();
  if (control && control->GetHelpContext() != 0 && Application) Application->HelpContext(control->GetHelpContext());
}
