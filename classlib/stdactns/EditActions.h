// The edit actions: cut, copy, paste, select all, undo and delete on the
// focused edit or memo. Each serves a TCustomEdit that has the focus (or
// only its Control, when one is set), so a menu item or tool button bound
// to it works on whichever edit the user is in and is disabled elsewhere
// (no edit takes the action, and the application disables an action that
// nothing handles).
#pragma once

#include "classlib/ActnList.h"

class TCustomEdit;

class TEditAction : public TAction {
  DECLARE_CLASS(TEditAction, TAction)
  explicit TEditAction(TComponent* owner);

  // A focused edit: Control itself when one is set, else any edit.
  bool HandlesTarget(TObject* target) override;
  // Enabled while the edit has a selection (cut and copy).
  void UpdateTarget(TObject* target) override;

  // The one edit the action serves (null: the focused one, whichever).
  TCustomEdit* GetControl() const { return control_; }
  void SetControl(TCustomEdit* v);

  void Notification(TComponent* component, TOperation operation) override;

 protected:
  // The target as an edit; EInvalidCast for anything else.
  virtual TCustomEdit* GetControl(TObject* target);

 private:
  TCustomEdit* control_ = nullptr;
};

class TEditCut : public TEditAction {
  DECLARE_CLASS(TEditCut, TEditAction)
  using TEditAction::TEditAction;
  // A selection to take, in an edit that may be changed.
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};

class TEditCopy : public TEditAction {
  DECLARE_CLASS(TEditCopy, TEditAction)
  using TEditAction::TEditAction;
  void ExecuteTarget(TObject* target) override;
};

class TEditPaste : public TEditAction {
  DECLARE_CLASS(TEditPaste, TEditAction)
  using TEditAction::TEditAction;
  // Text on the clipboard, and an edit that may be changed.
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};

class TEditSelectAll : public TEditAction {
  DECLARE_CLASS(TEditSelectAll, TEditAction)
  using TEditAction::TEditAction;
  // Some text to select.
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};

class TEditUndo : public TEditAction {
  DECLARE_CLASS(TEditUndo, TEditAction)
  using TEditAction::TEditAction;
  // Something to undo, in an edit that may be changed.
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};

class TEditDelete : public TEditAction {
  DECLARE_CLASS(TEditDelete, TEditAction)
  using TEditAction::TEditAction;
  // A selection to delete, in an edit that may be changed.
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};
