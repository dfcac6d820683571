#include "classlib/stdactns/EditActions.h"

#include "classlib/Clipbrd.h"
#include "classlib/StdCtrls.h"

PUBLISHED(TEditAction) {}

TEditAction::TEditAction(TComponent* owner) : TAction(owner) {}

void TEditAction::SetControl(TCustomEdit* v) {
  if (v == control_) return;
  // The old edit stays watched: a search action may still search it.
  control_ = v;
  if (control_) control_->FreeNotification(this);
}

void TEditAction::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == control_) control_ = nullptr;
}

TCustomEdit* TEditAction::GetControl(TObject* target) {
  if (auto* edit = dynamic_cast<TCustomEdit*>(target)) return edit;
  throw EInvalidCast("Invalid class typecast");
}

bool TEditAction::HandlesTarget(TObject* target) {
  auto* edit = dynamic_cast<TCustomEdit*>(target);
  if (!edit || (control_ && edit != control_)) return false;
  return edit->Focused();
}

void TEditAction::UpdateTarget(TObject* target) { SetEnabled(GetControl(target)->GetSelLength() > 0); }

// ---------------------------------------------------------------------------

PUBLISHED(TEditCut) {}

void TEditCut::UpdateTarget(TObject* target) {
  TCustomEdit* edit = GetControl(target);
  SetEnabled(edit->GetSelLength() > 0 && !edit->GetReadOnly());
}

void TEditCut::ExecuteTarget(TObject* target) { GetControl(target)->CutToClipboard(); }

PUBLISHED(TEditCopy) {}

void TEditCopy::ExecuteTarget(TObject* target) { GetControl(target)->CopyToClipboard(); }

PUBLISHED(TEditPaste) {}

void TEditPaste::UpdateTarget(TObject* target) {
  TCustomEdit* edit = GetControl(target);
  SetEnabled(!edit->GetReadOnly() && Clipboard()->HasFormat(CF_TEXT));
}

void TEditPaste::ExecuteTarget(TObject* target) { GetControl(target)->PasteFromClipboard(); }

PUBLISHED(TEditSelectAll) {}

void TEditSelectAll::UpdateTarget(TObject* target) { SetEnabled(GetControl(target)->GetTextLen() > 0); }

void TEditSelectAll::ExecuteTarget(TObject* target) { GetControl(target)->SelectAll(); }

PUBLISHED(TEditUndo) {}

void TEditUndo::UpdateTarget(TObject* target) {
  TCustomEdit* edit = GetControl(target);
  SetEnabled(!edit->GetReadOnly() && edit->GetCanUndo());
}

void TEditUndo::ExecuteTarget(TObject* target) { GetControl(target)->Undo(); }

PUBLISHED(TEditDelete) {}

void TEditDelete::UpdateTarget(TObject* target) {
  TCustomEdit* edit = GetControl(target);
  SetEnabled(edit->GetSelLength() > 0 && !edit->GetReadOnly());
}

void TEditDelete::ExecuteTarget(TObject* target) { GetControl(target)->ClearSelection(); }
