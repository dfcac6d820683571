// The search actions: Find, Find First, Find Next and Replace on the
// focused edit or memo, through the system's modeless find and replace
// dialogs. Executing Find or Replace opens the action's dialog for the
// focused edit; the dialog's buttons then search (and replace) in that
// edit, selecting what they find, and say "Text not found" when nothing is
// there. Find Next searches again with the text of its Find action.
#pragma once

#include <string>

#include "classlib/dialogs/FindDialog.h"
#include "classlib/stdactns/DialogActions.h"
#include "classlib/stdactns/EditActions.h"

// Searches edit for text from its selection in the options' direction
// (frDown: after the selection; otherwise before it), or from the start
// (the end, upwards) with findFirst; honours frMatchCase and frWholeWord.
// What it finds becomes the selection. False when there is nothing to find.
bool SearchEdit(TCustomEdit* edit, const std::string& text, TFindOptions options, bool findFirst = false);

class TSearchAction : public TEditAction {
  DECLARE_CLASS(TSearchAction, TEditAction)
  explicit TSearchAction(TComponent* owner);
  ~TSearchAction() override { DestroyUnfinished(); }

  // Some text to search.
  void UpdateTarget(TObject* target) override;
  // Opens the dialog for the target edit.
  void ExecuteTarget(TObject* target) override;

  // Searches the edit the dialog was opened for with the dialog's text
  // and options (the dialog's Find Next).
  virtual void Search(TObject* sender);
  // The same in edit (Find Next with the focus in another edit).
  void SearchIn(TCustomEdit* edit);
  // The edit the dialog searches (null before the first run and once that
  // edit is gone).
  TCustomEdit* GetSearchControl() const { return searchControl_; }

  void Notification(TComponent* component, TOperation operation) override;

 protected:
  // The dialog of the descendant, made by its constructor; its OnFind
  // is Search.
  void SetFindDialog(TFindDialog* dialog);
  TFindDialog* GetFindDialog() const { return dialog_; }
  void SetSearchControl(TCustomEdit* edit);
  void Destroy() override;
  // "Text not found" with the text.
  void NotFound();
  // The next search starts at the start (at the end, upwards).
  bool findFirst_ = false;

 private:
  TFindDialog* dialog_ = nullptr;
  TCustomEdit* searchControl_ = nullptr;
};

class TSearchFind : public TSearchAction {
  DECLARE_CLASS(TSearchFind, TSearchAction)
  explicit TSearchFind(TComponent* owner);
  TFindDialog* GetDialog() const { return GetFindDialog(); }
};

// Find that starts at the start of the text.
class TSearchFindFirst : public TSearchFind {
  DECLARE_CLASS(TSearchFindFirst, TSearchFind)
  using TSearchFind::TSearchFind;
  void ExecuteTarget(TObject* target) override;
};

class TSearchReplace : public TSearchAction {
  DECLARE_CLASS(TSearchReplace, TSearchAction)
  explicit TSearchReplace(TComponent* owner);
  TReplaceDialog* GetDialog() const;

  // Text to search in an edit that may be changed.
  void UpdateTarget(TObject* target) override;
  // The dialog's Replace (the found text, then on to the next) and
  // Replace All (every one from the selection on).
  virtual void Replace(TObject* sender);
};

// Searches the focused edit again with the text and options of its
// SearchFind's dialog.
class TSearchFindNext : public TCustomAction {
  DECLARE_CLASS(TSearchFindNext, TCustomAction)
  explicit TSearchFindNext(TComponent* owner);

  // A focused edit, once there is a SearchFind.
  bool HandlesTarget(TObject* target) override;
  // Enabled when there is a text to find and text to search.
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;

  TSearchFind* GetSearchFind() const { return searchFind_; }
  void SetSearchFind(TSearchFind* v);

  void Notification(TComponent* component, TOperation operation) override;

 private:
  TSearchFind* searchFind_ = nullptr;
};
