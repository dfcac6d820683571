// The help actions: the help's contents, its topic search, help on using
// help, and the help topic of the focused control. They ask the
// application's OnHelp (HelpContext for a topic), which shows the help.
#pragma once

#include "classlib/ActnList.h"

class THelpAction : public TAction {
  DECLARE_CLASS(THelpAction, TAction)
  explicit THelpAction(TComponent* owner);

  // Whatever has the focus: help is the program's, not a control's.
  bool HandlesTarget(TObject* target) override;
  // Enabled while the application can show help.
  void UpdateTarget(TObject* target) override;
};

class THelpContents : public THelpAction {
  DECLARE_CLASS(THelpContents, THelpAction)
  using THelpAction::THelpAction;
  void ExecuteTarget(TObject* target) override;
};

class THelpTopicSearch : public THelpAction {
  DECLARE_CLASS(THelpTopicSearch, THelpAction)
  using THelpAction::THelpAction;
  void ExecuteTarget(TObject* target) override;
};

class THelpOnHelp : public THelpAction {
  DECLARE_CLASS(THelpOnHelp, THelpAction)
  using THelpAction::THelpAction;
  void ExecuteTarget(TObject* target) override;
};

// The help topic (HelpContext) of the screen's active control.
class THelpContextAction : public THelpAction {
  DECLARE_CLASS(THelpContextAction, THelpAction)
  using THelpAction::THelpAction;
  // Enabled while the active control has a help topic.
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};
