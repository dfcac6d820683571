// The file actions: open, open with, save as, print setup and exit. The
// first four run their dialog as every dialog action does; the file name
// the user chose is the dialog's FileName. Open With hands a file to the
// system's "Open With" chooser; Exit closes the main form.
#pragma once

#include <string>

#include "classlib/stdactns/DialogActions.h"

class TOpenDialog;
class TSaveDialog;
class TPrinterSetupDialog;

class TFileAction : public TCommonDialogAction {
  DECLARE_CLASS(TFileAction, TCommonDialogAction)
  using TCommonDialogAction::TCommonDialogAction;

  // The file dialog's FileName ("" without a file dialog).
  std::string GetFileName() const;
  void SetFileName(const std::string& v);
};

class TFileOpen : public TFileAction {
  DECLARE_CLASS(TFileOpen, TFileAction)
  using TFileAction::TFileAction;
  TOpenDialog* GetDialog() const;

 protected:
  TClass GetDialogClass() override;
};

// Offers a file to the programs that can open it: FileName when set, else
// the file chosen in the open dialog (nothing when the dialog is cancelled).
class TFileOpenWith : public TFileOpen {
  DECLARE_CLASS(TFileOpenWith, TFileOpen)
  using TFileOpen::TFileOpen;

  void ExecuteTarget(TObject* target) override;

  const std::string& GetFileName() const { return fileName_; }
  void SetFileName(const std::string& v) { fileName_ = v; }

 private:
  std::string fileName_;
};

class TFileSaveAs : public TFileAction {
  DECLARE_CLASS(TFileSaveAs, TFileAction)
  using TFileAction::TFileAction;
  TSaveDialog* GetDialog() const;

 protected:
  TClass GetDialogClass() override;
};

class TFilePrintSetup : public TCommonDialogAction {
  DECLARE_CLASS(TFilePrintSetup, TCommonDialogAction)
  using TCommonDialogAction::TCommonDialogAction;
  TPrinterSetupDialog* GetDialog() const;

 protected:
  TClass GetDialogClass() override;
};

// Closes the application's main form, which ends the program.
class TFileExit : public TCustomAction {
  DECLARE_CLASS(TFileExit, TCustomAction)
  explicit TFileExit(TComponent* owner);

  bool HandlesTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};
