// TPrinterSetupDialog and TPrintDialog: the system's print dialogs
// (PrintDlgA), set up from and written back to the program's printer
// (Printer()): the dialog starts on its chosen printer with a copy of its
// device mode, and an accepted dialog chooses the printer and device mode
// the user set. Both need a printer: without one Execute raises EPrinter.
#pragma once

#include "classlib/dialogs/CommonDialog.h"

class TPrinterSetupDialog : public TCommonDialog {
  DECLARE_CLASS(TPrinterSetupDialog, TCommonDialog)
  using TCommonDialog::TCommonDialog;

  bool Execute() override;
};

enum TPrintRange { prAllPages, prSelection, prPageNums };
DECLARE_ENUM_TYPE(TPrintRange);

enum TPrintDialogOption { poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile };
DECLARE_ENUM_TYPE(TPrintDialogOption);
using TPrintDialogOptions = TSet<TPrintDialogOption>;

class TPrintDialog : public TCommonDialog {
  DECLARE_CLASS(TPrintDialog, TCommonDialog)
  using TCommonDialog::TCommonDialog;

  bool Execute() override;

  bool GetCollate() const { return collate_; }
  void SetCollate(bool v) { collate_ = v; }
  // 0: as the printer's device mode says. Kept by the dialog and given to
  // the printer when the dialog runs.
  int GetCopies() const { return copies_; }
  void SetCopies(int v) { copies_ = v; }
  int GetFromPage() const { return fromPage_; }
  void SetFromPage(int v) { fromPage_ = v; }
  int GetToPage() const { return toPage_; }
  void SetToPage(int v) { toPage_ = v; }
  int GetMinPage() const { return minPage_; }
  void SetMinPage(int v) { minPage_ = v; }
  int GetMaxPage() const { return maxPage_; }
  void SetMaxPage(int v) { maxPage_ = v; }
  TPrintDialogOptions GetOptions() const { return options_; }
  void SetOptions(TPrintDialogOptions v) { options_ = v; }
  bool GetPrintToFile() const { return printToFile_; }
  void SetPrintToFile(bool v) { printToFile_ = v; }
  TPrintRange GetPrintRange() const { return printRange_; }
  void SetPrintRange(TPrintRange v) { printRange_ = v; }

 private:
  bool collate_ = false;
  int copies_ = 0;
  int fromPage_ = 0;
  int toPage_ = 0;
  int minPage_ = 0;
  int maxPage_ = 0;
  TPrintDialogOptions options_;
  bool printToFile_ = false;
  TPrintRange printRange_ = prAllPages;
};
