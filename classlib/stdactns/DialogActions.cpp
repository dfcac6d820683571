#include "classlib/stdactns/DialogActions.h"

#include "classlib/Dialogs.h"
#include "classlib/stdactns/StdActnsPublish.h"

void AdoptActionDialog(TCommonDialog* dialog) {
  dialog->SetName(dialog->ClassName().substr(1));
  TComponentStyle style = dialog->GetComponentStyle();
  style.Include(csSubComponent);
  dialog->SetComponentStyle(style);
}

PUBLISHED(TCommonDialogAction) {}

TCommonDialogAction::TCommonDialogAction(TComponent* owner) : TCustomAction(owner) {
  // The dialog is the action's handler: nothing else need take it.
  SetDisableIfNoHandler(false);
}

void TCommonDialogAction::AfterConstruction() {
  inherited::AfterConstruction();
  TClass dialogClass = GetDialogClass();
  if (!dialogClass) return;
  dialog_ = CreateAs<TCommonDialog>(dialogClass, this);
  AdoptActionDialog(dialog_);
}

void TCommonDialogAction::Destroy() {
  // The dialog goes with the action's owned components; until then it is
  // no longer the action's.
  dialog_ = nullptr;
  inherited::Destroy();
}

void TCommonDialogAction::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == dialog_) dialog_ = nullptr;
}

TClass TCommonDialogAction::GetDialogClass() { return nullptr; }

bool TCommonDialogAction::HandlesTarget(TObject*) { return true; }

void TCommonDialogAction::ExecuteTarget(TObject*) {
  executeResult_ = false;
  if (!dialog_) return;
  if (beforeExecute_) beforeExecute_(this);
  executeResult_ = dialog_->Execute();
  if (executeResult_) {
    if (onAccept_) onAccept_(this);
  } else if (onCancel_) {
    onCancel_(this);
  }
}

// ---------------------------------------------------------------------------

PUBLISHED(TFontEdit) {
  p.Prop("Dialog", &TFontEdit::GetDialog, nullptr);
  PublishDialogActionProps(p);
}

TClass TFontEdit::GetDialogClass() { return TFontDialog::StaticClass(); }
TFontDialog* TFontEdit::GetDialog() const { return static_cast<TFontDialog*>(GetCommonDialog()); }

PUBLISHED(TColorSelect) {
  p.Prop("Dialog", &TColorSelect::GetDialog, nullptr);
  PublishDialogActionProps(p);
}

TClass TColorSelect::GetDialogClass() { return TColorDialog::StaticClass(); }
TColorDialog* TColorSelect::GetDialog() const { return static_cast<TColorDialog*>(GetCommonDialog()); }

PUBLISHED(TPrintDlg) {
  p.Prop("Dialog", &TPrintDlg::GetDialog, nullptr);
  PublishDialogActionProps(p);
}

TClass TPrintDlg::GetDialogClass() { return TPrintDialog::StaticClass(); }
TPrintDialog* TPrintDlg::GetDialog() const { return static_cast<TPrintDialog*>(GetCommonDialog()); }
