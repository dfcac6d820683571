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
