#include "classlib/stdactns/SearchActions.h"

#include "classlib/Dialogs.h"
#include "classlib/StdCtrls.h"
#include "classlib/SysUtils.h"
#include "classlib/stdactns/StdActnsPublish.h"

namespace {
// Letters and digits of the ANSI code page make words.
bool IsWordChar(char c) { return IsCharAlphaNumericA(c) != FALSE; }
}  // namespace

bool SearchEdit(TCustomEdit* edit, const std::string& text, TFindOptions options, bool findFirst) {
  if (!edit || text.empty()) return false;
  std::string buffer = edit->GetText();
  const int n = static_cast<int>(buffer.size());
  const int m = static_cast<int>(text.size());
  if (m > n) return false;
  std::string pattern = text;
  if (!options.Contains(frMatchCase)) {
    buffer = AnsiLowerCase(buffer);
    pattern = AnsiLowerCase(pattern);
  }
  const bool wholeWord = options.Contains(frWholeWord);
  auto matchesAt = [&](int i) {
    if (buffer.compare(static_cast<size_t>(i), static_cast<size_t>(m), pattern) != 0) return false;
    if (!wholeWord) return true;
    return (i == 0 || !IsWordChar(buffer[static_cast<size_t>(i) - 1])) &&
           (i + m == n || !IsWordChar(buffer[static_cast<size_t>(i + m)]));
  };
  const int selStart = edit->GetSelStart();
  int found = -1;
  if (options.Contains(frDown)) {
    const int from = findFirst ? 0 : selStart + edit->GetSelLength();
    for (int i = std::max(from, 0); i <= n - m && found < 0; ++i)
      if (matchesAt(i)) found = i;
  } else {
    // Upwards: the nearest one that ends before the selection.
    const int from = findFirst ? n - m : std::min(selStart - m, n - m);
    for (int i = from; i >= 0 && found < 0; --i)
      if (matchesAt(i)) found = i;
  }
  if (found < 0) return false;
  edit->SetSelStart(found);
  edit->SetSelLength(m);
  return true;
}

// ---------------------------------------------------------------------------

PUBLISHED(TSearchAction) {}

TSearchAction::TSearchAction(TComponent* owner) : TEditAction(owner) {}

void TSearchAction::Destroy() {
  // The dialog goes with the action's owned components.
  dialog_ = nullptr;
  SetSearchControl(nullptr);
  inherited::Destroy();
}

void TSearchAction::SetFindDialog(TFindDialog* dialog) {
  dialog_ = dialog;
  AdoptActionDialog(dialog_);
  dialog_->OnFind = TNotifyEvent(this, &TSearchAction::Search);
}

void TSearchAction::SetSearchControl(TCustomEdit* edit) {
  if (edit == searchControl_) return;
  // The old edit stays watched: it may be the action's Control too.
  searchControl_ = edit;
  if (searchControl_) searchControl_->FreeNotification(this);
}

void TSearchAction::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == searchControl_) searchControl_ = nullptr;
  if (component == dialog_) dialog_ = nullptr;
}

void TSearchAction::UpdateTarget(TObject* target) { SetEnabled(GetControl(target)->GetTextLen() > 0); }

void TSearchAction::ExecuteTarget(TObject* target) {
  SetSearchControl(GetControl(target));
  if (dialog_) dialog_->Execute();
}

void TSearchAction::NotFound() { ShowMessage("Text not found: \"" + dialog_->GetFindText() + "\""); }

void TSearchAction::Search(TObject*) {
  if (!searchControl_ || !dialog_) return;
  const bool first = findFirst_;
  findFirst_ = false;
  if (!SearchEdit(searchControl_, dialog_->GetFindText(), dialog_->GetOptions(), first)) NotFound();
}

void TSearchAction::SearchIn(TCustomEdit* edit) {
  SetSearchControl(edit);
  Search(this);
}

// ---------------------------------------------------------------------------

PUBLISHED(TSearchFind) { p.Prop("Dialog", &TSearchFind::GetDialog, nullptr); }

TSearchFind::TSearchFind(TComponent* owner) : TSearchAction(owner) { SetFindDialog(New<TFindDialog>(this)); }

PUBLISHED(TSearchFindFirst) {}

void TSearchFindFirst::ExecuteTarget(TObject* target) {
  findFirst_ = true;
  inherited::ExecuteTarget(target);
}

// ---------------------------------------------------------------------------

PUBLISHED(TSearchReplace) { p.Prop("Dialog", &TSearchReplace::GetDialog, nullptr); }

TSearchReplace::TSearchReplace(TComponent* owner) : TSearchAction(owner) {
  auto* dialog = New<TReplaceDialog>(this);
  SetFindDialog(dialog);
  dialog->OnReplace = TNotifyEvent(this, &TSearchReplace::Replace);
}

TReplaceDialog* TSearchReplace::GetDialog() const { return static_cast<TReplaceDialog*>(GetFindDialog()); }

void TSearchReplace::UpdateTarget(TObject* target) {
  TCustomEdit* edit = GetControl(target);
  SetEnabled(edit->GetTextLen() > 0 && !edit->GetReadOnly());
}

void TSearchReplace::Replace(TObject*) {
  TCustomEdit* edit = GetSearchControl();
  TReplaceDialog* dialog = GetDialog();
  if (!edit || !dialog) return;
  const std::string findText = dialog->GetFindText();
  if (findText.empty()) return;
  const TFindOptions options = dialog->GetOptions();
  const bool matchCase = options.Contains(frMatchCase);
  auto selectionMatches = [&] {
    std::string sel = edit->GetSelText();
    return matchCase ? sel == findText : AnsiSameText(sel, findText);
  };
  auto replaceSelection = [&] { edit->SetSelText(dialog->GetReplaceText()); };
  const bool first = findFirst_;
  findFirst_ = false;
  int replaced = 0;
  if (!first && selectionMatches()) {
    replaceSelection();
    ++replaced;
  }
  bool found = SearchEdit(edit, findText, options, first);
  if (options.Contains(frReplaceAll)) {
    // Each search starts after the text just put in: the loop ends even
    // when the new text holds the searched one.
    while (found) {
      replaceSelection();
      ++replaced;
      found = SearchEdit(edit, findText, options, false);
    }
  }
  if (!found && replaced == 0) NotFound();
}

// ---------------------------------------------------------------------------

PUBLISHED(TSearchFindNext) {
  p.Prop("SearchFind", &TSearchFindNext::GetSearchFind, &TSearchFindNext::SetSearchFind);
  PublishStandardActionProps(p);
}

TSearchFindNext::TSearchFindNext(TComponent* owner) : TCustomAction(owner) {}

void TSearchFindNext::SetSearchFind(TSearchFind* v) {
  if (v == searchFind_) return;
  if (searchFind_) searchFind_->RemoveFreeNotification(this);
  searchFind_ = v;
  if (searchFind_) searchFind_->FreeNotification(this);
}

void TSearchFindNext::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == searchFind_) searchFind_ = nullptr;
}

bool TSearchFindNext::HandlesTarget(TObject* target) {
  auto* edit = dynamic_cast<TCustomEdit*>(target);
  return searchFind_ && edit && edit->Focused();
}

void TSearchFindNext::UpdateTarget(TObject* target) {
  auto* edit = dynamic_cast<TCustomEdit*>(target);
  SetEnabled(searchFind_ && searchFind_->GetDialog() && !searchFind_->GetDialog()->GetFindText().empty() && edit &&
             edit->GetTextLen() > 0);
}

void TSearchFindNext::ExecuteTarget(TObject* target) {
  auto* edit = dynamic_cast<TCustomEdit*>(target);
  if (searchFind_ && edit) searchFind_->SearchIn(edit);
}
