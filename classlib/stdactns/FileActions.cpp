#include "classlib/stdactns/FileActions.h"

#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "classlib/stdactns/StdActnsPublish.h"

PUBLISHED(TFileAction) {}

std::string TFileAction::GetFileName() const {
  auto* d = dynamic_cast<TOpenDialog*>(GetCommonDialog());
  return d ? d->GetFileName() : std::string();
}

void TFileAction::SetFileName(const std::string& v) {
  if (auto* d = dynamic_cast<TOpenDialog*>(GetCommonDialog())) d->SetFileName(v);
}

// ---------------------------------------------------------------------------

PUBLISHED(TFileOpen) {
  p.Prop("Dialog", &TFileOpen::GetDialog, nullptr);
  PublishDialogActionProps(p);
}

TClass TFileOpen::GetDialogClass() { return TOpenDialog::StaticClass(); }
TOpenDialog* TFileOpen::GetDialog() const { return static_cast<TOpenDialog*>(GetCommonDialog()); }

// ---------------------------------------------------------------------------

PUBLISHED(TFileOpenWith) {
  p.Prop("FileName", &TFileOpenWith::GetFileName, &TFileOpenWith::SetFileName);
}

void TFileOpenWith::ExecuteTarget(TObject* target) {
  std::string file = fileName_;
  if (file.empty()) {
    inherited::ExecuteTarget(target);
    if (!GetExecuteResult()) return;
    file = TFileAction::GetFileName();
  }
  // The shell's "Open With" chooser takes the rest of its command line as
  // the file's name, spaces and all: no quotes.
  const std::string params = "shell32.dll,OpenAs_RunDLL " + file;
  HWND owner = Application ? Application->GetHandle() : nullptr;
  Seams().ShellExecute(owner, "open", "rundll32.exe", params.c_str(), nullptr, SW_SHOW);
}

// ---------------------------------------------------------------------------

PUBLISHED(TFileSaveAs) {
  p.Prop("Dialog", &TFileSaveAs::GetDialog, nullptr);
  PublishDialogActionProps(p);
}

TClass TFileSaveAs::GetDialogClass() { return TSaveDialog::StaticClass(); }
TSaveDialog* TFileSaveAs::GetDialog() const { return static_cast<TSaveDialog*>(GetCommonDialog()); }

// ---------------------------------------------------------------------------

PUBLISHED(TFilePrintSetup) {
  p.Prop("Dialog", &TFilePrintSetup::GetDialog, nullptr);
  PublishDialogActionProps(p);
}

TClass TFilePrintSetup::GetDialogClass() { return TPrinterSetupDialog::StaticClass(); }
TPrinterSetupDialog* TFilePrintSetup::GetDialog() const {
  return static_cast<TPrinterSetupDialog*>(GetCommonDialog());
}

// ---------------------------------------------------------------------------

PUBLISHED(TFileExit) { PublishStandardActionProps(p); }

TFileExit::TFileExit(TComponent* owner) : TCustomAction(owner) {}

bool TFileExit::HandlesTarget(TObject*) { return true; }

void TFileExit::ExecuteTarget(TObject*) {
  if (!Application || !Application->GetMainForm()) return;
  // Whatever help shows goes with the program.
  if (Application->OnHelp) {
    bool callHelp = true;
    Application->OnHelp(HELP_QUIT, 0, callHelp);
  }
  Application->GetMainForm()->Close();
}
