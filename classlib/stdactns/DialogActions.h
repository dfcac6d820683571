// The dialog actions: TCommonDialogAction runs a common dialog that the
// action makes and owns (its Dialog, stored with the action's properties),
// with BeforeExecute before it and OnAccept or OnCancel after it; the font,
// colour and print actions are its plain descendants, whose dialogs the
// program reads in OnAccept.
#pragma once

#include "classlib/ActnList.h"

class TCommonDialog;
class TFontDialog;
class TColorDialog;
class TPrintDialog;

// Makes dialog its action's own: named after its class without the "T"
// ("OpenDialog") and a sub-component, whose properties a stored form keeps
// under the action's "Dialog.".
void AdoptActionDialog(TCommonDialog* dialog);

class TCommonDialogAction : public TCustomAction {
  DECLARE_CLASS(TCommonDialogAction, TCustomAction)
  explicit TCommonDialogAction(TComponent* owner);
  ~TCommonDialogAction() override { DestroyUnfinished(); }
  // Makes the dialog of GetDialogClass (a virtual call the constructor
  // cannot make).
  void AfterConstruction() override;

  // Runs with whatever has the focus.
  bool HandlesTarget(TObject* target) override;
  // BeforeExecute, the dialog, then OnAccept or OnCancel.
  void ExecuteTarget(TObject* target) override;

  // Whether the last run's dialog was accepted.
  bool GetExecuteResult() const { return executeResult_; }
  TNotifyEvent GetBeforeExecute() const { return beforeExecute_; }
  void SetBeforeExecute(TNotifyEvent e) { beforeExecute_ = e; }
  TNotifyEvent GetOnAccept() const { return onAccept_; }
  void SetOnAccept(TNotifyEvent e) { onAccept_ = e; }
  TNotifyEvent GetOnCancel() const { return onCancel_; }
  void SetOnCancel(TNotifyEvent e) { onCancel_ = e; }

  void Notification(TComponent* component, TOperation operation) override;

 protected:
  // The dialog's class (null: no dialog, and running does nothing).
  virtual TClass GetDialogClass();
  TCommonDialog* GetCommonDialog() const { return dialog_; }
  void Destroy() override;

 private:
  TCommonDialog* dialog_ = nullptr;
  bool executeResult_ = false;
  TNotifyEvent beforeExecute_;
  TNotifyEvent onAccept_;
  TNotifyEvent onCancel_;
};

class TFontEdit : public TCommonDialogAction {
  DECLARE_CLASS(TFontEdit, TCommonDialogAction)
  using TCommonDialogAction::TCommonDialogAction;
  TFontDialog* GetDialog() const;

 protected:
  TClass GetDialogClass() override;
};

class TColorSelect : public TCommonDialogAction {
  DECLARE_CLASS(TColorSelect, TCommonDialogAction)
  using TCommonDialogAction::TCommonDialogAction;
  TColorDialog* GetDialog() const;

 protected:
  TClass GetDialogClass() override;
};

class TPrintDlg : public TCommonDialogAction {
  DECLARE_CLASS(TPrintDlg, TCommonDialogAction)
  using TCommonDialogAction::TCommonDialogAction;
  TPrintDialog* GetDialog() const;

 protected:
  TClass GetDialogClass() override;
};
