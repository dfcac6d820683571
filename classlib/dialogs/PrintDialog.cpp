#include "classlib/dialogs/PrintDialog.h"

#include <commdlg.h>

#include <cstring>

#include "classlib/Forms.h"
#include "classlib/Printers.h"

DEFINE_ENUM_TYPE(TPrintRange, "prAllPages", "prSelection", "prPageNums")
DEFINE_ENUM_TYPE(TPrintDialogOption, "poPrintToFile", "poPageNums", "poSelection", "poWarning", "poHelp",
                 "poDisablePrintToFile")

namespace {
// A copy of a global block (the dialog frees or keeps its own).
HGLOBAL CopyGlobal(HGLOBAL source) {
  if (!source) return nullptr;
  SIZE_T size = GlobalSize(source);
  HGLOBAL copy = GlobalAlloc(GHND, size);
  if (!copy) throw EOutOfMemory("Out of memory");
  std::memcpy(GlobalLock(copy), GlobalLock(source), size);
  GlobalUnlock(source);
  GlobalUnlock(copy);
  return copy;
}

// The printer's names as a DEVNAMES block: driver, device, port.
HGLOBAL MakeDevNames(const std::string& device, const std::string& driver, const std::string& port) {
  SIZE_T size = sizeof(DEVNAMES) + driver.size() + device.size() + port.size() + 3;
  HGLOBAL block = GlobalAlloc(GHND, size);
  if (!block) throw EOutOfMemory("Out of memory");
  auto* names = static_cast<DEVNAMES*>(GlobalLock(block));
  char* base = reinterpret_cast<char*>(names);
  WORD offset = sizeof(DEVNAMES);
  auto put = [&](const std::string& s) {
    std::memcpy(base + offset, s.c_str(), s.size() + 1);
    WORD at = offset;
    offset = static_cast<WORD>(offset + s.size() + 1);
    return at;
  };
  names->wDriverOffset = put(driver);
  names->wDeviceOffset = put(device);
  names->wOutputOffset = put(port);
  GlobalUnlock(block);
  return block;
}

// The dialog's record set up from the program's printer: a copy of its
// device mode (copies set when asked) and its names.
void PrepareRecord(PRINTDLGA& pd, int copies) {
  std::string device, driver, port;
  HGLOBAL deviceMode = nullptr;
  Printer()->GetPrinter(device, driver, port, deviceMode);
  pd.lStructSize = sizeof(PRINTDLGA);
  pd.hInstance = GetModuleHandleA(nullptr);
  pd.hDevMode = CopyGlobal(deviceMode);
  if (pd.hDevMode && copies > 0) {
    auto* mode = static_cast<DEVMODEA*>(GlobalLock(pd.hDevMode));
    mode->dmCopies = static_cast<short>(copies);
    mode->dmFields |= DM_COPIES;
    GlobalUnlock(pd.hDevMode);
  }
  try {
    pd.hDevNames = MakeDevNames(device, driver, port);
  } catch (...) {
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    throw;
  }
  pd.hwndOwner = Application ? Application->GetHandle() : nullptr;
}

// An accepted dialog: the printer takes the chosen device and device mode.
void TakeRecord(PRINTDLGA& pd) {
  auto* names = static_cast<DEVNAMES*>(GlobalLock(pd.hDevNames));
  const char* base = reinterpret_cast<const char*>(names);
  std::string driver = base + names->wDriverOffset;
  std::string device = base + names->wDeviceOffset;
  std::string port = base + names->wOutputOffset;
  GlobalUnlock(pd.hDevNames);
  GlobalFree(pd.hDevNames);
  pd.hDevNames = nullptr;
  HGLOBAL deviceMode = pd.hDevMode;
  pd.hDevMode = nullptr;
  Printer()->SetPrinter(device, driver, port, deviceMode);
}

void FreeRecord(PRINTDLGA& pd) {
  if (pd.hDevMode) GlobalFree(pd.hDevMode);
  if (pd.hDevNames) GlobalFree(pd.hDevNames);
  pd.hDevMode = nullptr;
  pd.hDevNames = nullptr;
}
}  // namespace

PUBLISHED(TPrinterSetupDialog) {
  p.Prop("Ctl3D", &TPrinterSetupDialog::GetCtl3D, &TPrinterSetupDialog::SetCtl3D).Default(true);
  p.Prop("HelpContext", &TPrinterSetupDialog::GetHelpContext, &TPrinterSetupDialog::SetHelpContext).Default(0);
  p.Prop("OnClose", &TPrinterSetupDialog::GetOnClose, &TPrinterSetupDialog::SetOnClose);
  p.Prop("OnShow", &TPrinterSetupDialog::GetOnShow, &TPrinterSetupDialog::SetOnShow);
}

bool TPrinterSetupDialog::Execute() {
  PRINTDLGA pd{};
  PrepareRecord(pd, 0);
  pd.Flags = PD_ENABLESETUPHOOK | PD_PRINTSETUP;
  pd.lpfnSetupHook = &TCommonDialog::DialogHook;
  bool result = false;
  try {
    result = TaskModalDialog(&PrintDlgA, pd) != FALSE;
    if (result) TakeRecord(pd);
  } catch (...) {
    FreeRecord(pd);
    throw;
  }
  FreeRecord(pd);
  return result;
}

PUBLISHED(TPrintDialog) {
  p.Prop("Collate", &TPrintDialog::GetCollate, &TPrintDialog::SetCollate).Default(false);
  p.Prop("Copies", &TPrintDialog::GetCopies, &TPrintDialog::SetCopies).Default(0);
  p.Prop("Ctl3D", &TPrintDialog::GetCtl3D, &TPrintDialog::SetCtl3D).Default(true);
  p.Prop("FromPage", &TPrintDialog::GetFromPage, &TPrintDialog::SetFromPage).Default(0);
  p.Prop("HelpContext", &TPrintDialog::GetHelpContext, &TPrintDialog::SetHelpContext).Default(0);
  p.Prop("MinPage", &TPrintDialog::GetMinPage, &TPrintDialog::SetMinPage).Default(0);
  p.Prop("MaxPage", &TPrintDialog::GetMaxPage, &TPrintDialog::SetMaxPage).Default(0);
  p.Prop("Options", &TPrintDialog::GetOptions, &TPrintDialog::SetOptions).Default(TPrintDialogOptions{});
  p.Prop("PrintToFile", &TPrintDialog::GetPrintToFile, &TPrintDialog::SetPrintToFile).Default(false);
  p.Prop("PrintRange", &TPrintDialog::GetPrintRange, &TPrintDialog::SetPrintRange).Default(prAllPages);
  p.Prop("ToPage", &TPrintDialog::GetToPage, &TPrintDialog::SetToPage).Default(0);
  p.Prop("OnClose", &TPrintDialog::GetOnClose, &TPrintDialog::SetOnClose);
  p.Prop("OnShow", &TPrintDialog::GetOnShow, &TPrintDialog::SetOnShow);
}

bool TPrintDialog::Execute() {
  static const DWORD ranges[] = {PD_ALLPAGES, PD_SELECTION, PD_PAGENUMS};
  PRINTDLGA pd{};
  PrepareRecord(pd, copies_);
  pd.Flags = ranges[printRange_] | PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;
  if (collate_) pd.Flags |= PD_COLLATE;
  if (!options_.Contains(poPrintToFile)) pd.Flags |= PD_HIDEPRINTTOFILE;
  if (!options_.Contains(poPageNums)) pd.Flags |= PD_NOPAGENUMS;
  if (!options_.Contains(poSelection)) pd.Flags |= PD_NOSELECTION;
  if (options_.Contains(poDisablePrintToFile)) pd.Flags |= PD_DISABLEPRINTTOFILE;
  if (printToFile_) pd.Flags |= PD_PRINTTOFILE;
  if (options_.Contains(poHelp)) pd.Flags |= PD_SHOWHELP;
  if (!options_.Contains(poWarning)) pd.Flags |= PD_NOWARNING;
  if (!GetTemplate().empty()) {
    pd.Flags |= PD_ENABLEPRINTTEMPLATE;
    pd.lpPrintTemplateName = GetTemplate().c_str();
  }
  pd.nFromPage = static_cast<WORD>(fromPage_);
  pd.nToPage = static_cast<WORD>(toPage_);
  pd.nMinPage = static_cast<WORD>(minPage_);
  pd.nMaxPage = static_cast<WORD>(maxPage_);
  pd.lpfnPrintHook = &TCommonDialog::DialogHook;
  pd.lpfnSetupHook = &TCommonDialog::DialogHook;
  bool result = false;
  try {
    result = TaskModalDialog(&PrintDlgA, pd) != FALSE;
    if (result) {
      collate_ = (pd.Flags & PD_COLLATE) != 0;
      printToFile_ = (pd.Flags & PD_PRINTTOFILE) != 0;
      printRange_ = (pd.Flags & PD_SELECTION) ? prSelection : (pd.Flags & PD_PAGENUMS) ? prPageNums : prAllPages;
      fromPage_ = pd.nFromPage;
      toPage_ = pd.nToPage;
      TakeRecord(pd);
      // With the copies in the device mode the record says 1.
      copies_ = pd.nCopies == 1 ? Printer()->GetCopies() : pd.nCopies;
    }
  } catch (...) {
    FreeRecord(pd);
    throw;
  }
  FreeRecord(pd);
  return result;
}
