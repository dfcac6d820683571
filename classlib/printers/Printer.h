// TPrinter and Printer(): the system's printers as a list, the one chosen
// (PrinterIndex, -1 for the default printer) and an information context on
// it (Handle) on which fonts are enumerated.
//
// A machine without printers is an ordinary case: making the object and
// reading Printers never fail (the list is empty); only what needs a
// printer (PrinterIndex of the default printer, Handle, Fonts) raises
// EPrinter, as the platform does.
#pragma once

#include <string>

#include "classlib/Classes.h"

DECLARE_EXCEPTION(EPrinter, Exception);

class TPrinter : public TObject {
  DECLARE_CLASS(TPrinter, TObject)

  TPrinter();

  // The printers' names; read from the system on first use and by Refresh.
  TStrings* GetPrinters();
  // -1 means the default printer; reading it gives that printer's index
  // (EPrinter "There is no default printer currently selected" when there
  // is none); an index outside the list raises EPrinter "Printer index out
  // of range".
  int GetPrinterIndex();
  void SetPrinterIndex(int v);
  // An information context of the chosen printer, made on first use and
  // kept until the choice changes.
  HDC GetHandle();
  // The font families of the chosen printer, sorted.
  TStrings* GetFonts();
  // Forgets the list, the handle and the fonts; the next use reads them again.
  void Refresh();

  // The chosen printer's names and its device mode (a global handle the
  // printer keeps; made from the driver's defaults on first use). EPrinter
  // without a printer.
  void GetPrinter(std::string& device, std::string& driver, std::string& port, HGLOBAL& deviceMode);
  // Chooses the printer named device (listed again first when it is not in
  // the list; EPrinter "Printer selected is not valid" when it is not there
  // either) and takes deviceMode over as its device mode (null: the
  // driver's defaults).
  void SetPrinter(const std::string& device, const std::string& driver, const std::string& port,
                  HGLOBAL deviceMode);
  // The number of copies in the device mode.
  int GetCopies();
  void SetCopies(int v);

 protected:
  void Destroy() override;

 private:
  void FreeHandle();
  void FreeDeviceMode();
  void SetToDefaultPrinter();

  TStringList* printers_ = nullptr;
  TStringList* fonts_ = nullptr;
  bool printersRead_ = false;
  bool fontsRead_ = false;
  int printerIndex_ = -1;
  HDC handle_ = nullptr;
  HGLOBAL deviceMode_ = nullptr;
};

// The program's printer, made on first use (nothing is asked of the system
// before that).
TPrinter* Printer();
// Installs another printer object (the old one is returned, not freed).
TPrinter* SetPrinter(TPrinter* newPrinter);
// The Printers unit's finalisation: the printer object goes.
void FinalizePrinters();
