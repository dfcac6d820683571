// The window actions: what an MDI form's Window menu does to its children.
//
// Their target is an MDI form (FormStyle fsMDIForm): the one named by Form,
// or, without one, whichever form the action reaches (the active form, then
// the main form). Each is enabled while that form has MDI children (close:
// while one is active); without an MDI form to take it an action keeps the
// state it had, since nothing decides for it. Made disabled: the first
// update decides.
#pragma once

#include "classlib/ActnList.h"
#include "classlib/Forms.h"

class TWindowAction : public TAction {
  DECLARE_CLASS(TWindowAction, TAction)

  explicit TWindowAction(TComponent* owner);

  TForm* GetForm() const { return form_; }
  void SetForm(TForm* v);

  bool HandlesTarget(TObject* target) override;
  void UpdateTarget(TObject* target) override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  // The form the action works on (the target, which HandlesTarget checked).
  virtual TForm* GetForm(TObject* target);

 private:
  TForm* form_ = nullptr;
};

// Closes the active MDI child (its Close: OnCloseQuery, OnClose).
class TWindowClose : public TWindowAction {
  DECLARE_CLASS(TWindowClose, TWindowAction)
  using TWindowAction::TWindowAction;
  void ExecuteTarget(TObject* target) override;
  void UpdateTarget(TObject* target) override;
};

class TWindowCascade : public TWindowAction {
  DECLARE_CLASS(TWindowCascade, TWindowAction)
  using TWindowAction::TWindowAction;
  void ExecuteTarget(TObject* target) override;
};

// Tiles one above the other (the form's TileMode becomes tbHorizontal).
class TWindowTileHorizontal : public TWindowAction {
  DECLARE_CLASS(TWindowTileHorizontal, TWindowAction)
  using TWindowAction::TWindowAction;
  void ExecuteTarget(TObject* target) override;
};

// Tiles side by side (the form's TileMode becomes tbVertical).
class TWindowTileVertical : public TWindowAction {
  DECLARE_CLASS(TWindowTileVertical, TWindowAction)
  using TWindowAction::TWindowAction;
  void ExecuteTarget(TObject* target) override;
};

// Minimises every child, the last one first.
class TWindowMinimizeAll : public TWindowAction {
  DECLARE_CLASS(TWindowMinimizeAll, TWindowAction)
  using TWindowAction::TWindowAction;
  void ExecuteTarget(TObject* target) override;
};

// Lines the minimised children up along the client's bottom edge.
class TWindowArrange : public TWindowAction {
  DECLARE_CLASS(TWindowArrange, TWindowAction)
  using TWindowAction::TWindowAction;
  void ExecuteTarget(TObject* target) override;
};

// Registers the window actions for stored forms (the StdActns unit's
// start-up).
void RegisterWindowActions();
