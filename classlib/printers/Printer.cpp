#include "classlib/printers/Printer.h"

#include <winspool.h>

#include <vector>

namespace {
constexpr const char* SPrinterIndexError = "Printer index out of range";
constexpr const char* SNoDefaultPrinter = "There is no default printer currently selected";
constexpr const char* SInvalidPrinter = "Printer selected is not valid";

TPrinter* ThePrinter = nullptr;

int CALLBACK AddFontFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data) {
  reinterpret_cast<TStrings*>(data)->Add(font->lfFaceName);
  return 1;
}
}  // namespace

IMPLEMENT_CLASS(TPrinter)

TPrinter::TPrinter() {
  printers_ = New<TStringList>();
  fonts_ = New<TStringList>();
  fonts_->SetSorted(true);
  fonts_->SetDuplicates(dupIgnore);
}

void TPrinter::Destroy() {
  FreeHandle();
  FreeDeviceMode();
  FreeAndNil(fonts_);
  FreeAndNil(printers_);
  inherited::Destroy();
}

void TPrinter::FreeHandle() {
  if (handle_) DeleteDC(handle_);
  handle_ = nullptr;
  fonts_->Clear();
  fontsRead_ = false;
}

TStrings* TPrinter::GetPrinters() {
  if (printersRead_) return printers_;
  printersRead_ = true;
  printers_->Clear();
  // Local printers and connections, by name; the size asked first.
  DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  DWORD needed = 0, count = 0;
  EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &count);
  if (needed == 0) return printers_;
  std::vector<BYTE> buffer(needed);
  if (!EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) return printers_;
  const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
  for (DWORD i = 0; i < count; ++i)
    if (info[i].pPrinterName) printers_->Add(info[i].pPrinterName);
  return printers_;
}

void TPrinter::SetToDefaultPrinter() {
  char name[512] = {};
  DWORD size = sizeof name;
  int index = -1;
  if (GetDefaultPrinterA(name, &size)) index = GetPrinters()->IndexOf(name);
  if (index < 0) throw EPrinter(SNoDefaultPrinter);
  printerIndex_ = index;
}

int TPrinter::GetPrinterIndex() {
  if (printerIndex_ == -1) SetToDefaultPrinter();
  return printerIndex_;
}

void TPrinter::SetPrinterIndex(int v) {
  if (v < -1 || v >= GetPrinters()->GetCount()) throw EPrinter(SPrinterIndexError);
  if (v == -1) SetToDefaultPrinter();
  else printerIndex_ = v;
  FreeHandle();
  FreeDeviceMode();
}

void TPrinter::FreeDeviceMode() {
  if (deviceMode_) GlobalFree(deviceMode_);
  deviceMode_ = nullptr;
}

void TPrinter::GetPrinter(std::string& device, std::string& driver, std::string& port, HGLOBAL& deviceMode) {
  device = GetPrinters()->Get(GetPrinterIndex());
  HANDLE printer = nullptr;
  if (!OpenPrinterA(const_cast<char*>(device.c_str()), &printer, nullptr)) throw EPrinter(SInvalidPrinter);
  try {
    DWORD needed = 0;
    ::GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (!needed || !::GetPrinterA(printer, 2, info.data(), needed, &needed)) throw EPrinter(SInvalidPrinter);
    const auto* p2 = reinterpret_cast<const PRINTER_INFO_2A*>(info.data());
    driver = p2->pDriverName ? p2->pDriverName : "";
    port = p2->pPortName ? p2->pPortName : "";
    if (!deviceMode_) {
      // The driver's defaults, in a global block as the dialogs take it.
      LONG size = DocumentPropertiesA(nullptr, printer, const_cast<char*>(device.c_str()), nullptr, nullptr, 0);
      if (size > 0) {
        HGLOBAL block = GlobalAlloc(GHND, static_cast<SIZE_T>(size));
        if (!block) throw EOutOfMemory("Out of memory");
        auto* dm = static_cast<DEVMODEA*>(GlobalLock(block));
        LONG r = DocumentPropertiesA(nullptr, printer, const_cast<char*>(device.c_str()), dm, nullptr, DM_OUT_BUFFER);
        GlobalUnlock(block);
        if (r < 0) GlobalFree(block);
        else deviceMode_ = block;
      }
    }
  } catch (...) {
    ClosePrinter(printer);
    throw;
  }
  ClosePrinter(printer);
  deviceMode = deviceMode_;
}

void TPrinter::SetPrinter(const std::string& device, const std::string&, const std::string&, HGLOBAL deviceMode) {
  int index = GetPrinters()->IndexOf(device);
  if (index < 0) {
    Refresh();
    index = GetPrinters()->IndexOf(device);
  }
  if (index < 0) {
    if (deviceMode) GlobalFree(deviceMode);
    throw EPrinter(SInvalidPrinter);
  }
  printerIndex_ = index;
  FreeHandle();
  if (deviceMode != deviceMode_) {
    FreeDeviceMode();
    deviceMode_ = deviceMode;
  }
}

int TPrinter::GetCopies() {
  std::string device, driver, port;
  HGLOBAL dm = nullptr;
  GetPrinter(device, driver, port, dm);
  if (!dm) return 1;
  const auto* mode = static_cast<const DEVMODEA*>(GlobalLock(dm));
  int copies = (mode->dmFields & DM_COPIES) ? mode->dmCopies : 1;
  GlobalUnlock(dm);
  return copies;
}

void TPrinter::SetCopies(int v) {
  std::string device, driver, port;
  HGLOBAL dm = nullptr;
  GetPrinter(device, driver, port, dm);
  if (!dm) return;
  auto* mode = static_cast<DEVMODEA*>(GlobalLock(dm));
  mode->dmCopies = static_cast<short>(v);
  mode->dmFields |= DM_COPIES;
  GlobalUnlock(dm);
}

HDC TPrinter::GetHandle() {
  if (handle_) return handle_;
  int index = GetPrinterIndex();
  std::string name = GetPrinters()->Get(index);
  handle_ = CreateICA("WINSPOOL", name.c_str(), nullptr, nullptr);
  if (!handle_) throw EPrinter(SInvalidPrinter);
  return handle_;
}

TStrings* TPrinter::GetFonts() {
  if (!fontsRead_) {
    HDC dc = GetHandle();
    fonts_->Clear();
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(dc, &lf, AddFontFamily, reinterpret_cast<LPARAM>(fonts_), 0);
    fontsRead_ = true;
  }
  return fonts_;
}

void TPrinter::Refresh() {
  FreeHandle();
  FreeDeviceMode();
  printers_->Clear();
  printersRead_ = false;
  printerIndex_ = -1;
}

TPrinter* Printer() {
  if (!ThePrinter) ThePrinter = New<TPrinter>();
  return ThePrinter;
}

TPrinter* SetPrinter(TPrinter* newPrinter) {
  TPrinter* old = ThePrinter;
  ThePrinter = newPrinter;
  return old;
}

void FinalizePrinters() { FreeAndNil(ThePrinter); }
