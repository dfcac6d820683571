#include "classlib/inifiles/IniFile.h"

#include "classlib/Classes.h"

IMPLEMENT_CLASS(TCustomIniFile)
IMPLEMENT_CLASS(TIniFile)

namespace {

// Reads a text value through a SysUtils conversion; empty or unconvertible
// text gives def.
template <class TryConvert>
double ReadConverted(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                     double def, TryConvert tryConvert) {
  std::string text = ini->ReadString(section, ident, "");
  double value;
  return !text.empty() && tryConvert(text, value) ? value : def;
}

}  // namespace

// ---------------------------------------------------------------------------
// TCustomIniFile

bool TCustomIniFile::SectionExists(const std::string& section) {
  auto names = MakeOwned<TStringList>();
  ReadSection(section, names.get());
  return names->GetCount() > 0;
}

bool TCustomIniFile::ValueExists(const std::string& section, const std::string& ident) {
  auto names = MakeOwned<TStringList>();
  ReadSection(section, names.get());
  return names->IndexOf(ident) >= 0;
}

int TCustomIniFile::ReadInteger(const std::string& section, const std::string& ident, int def) {
  // StrToIntDef takes "$" and "0x" hexadecimal itself.
  return StrToIntDef(ReadString(section, ident, ""), def);
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
  WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& ident, bool def) {
  return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

TDateTime TCustomIniFile::ReadDate(const std::string& section, const std::string& ident, TDateTime def) {
  return ReadConverted(this, section, ident, def,
                       [](const std::string& s, double& v) { return TryStrToDate(s, v); });
}

TDateTime TCustomIniFile::ReadDateTime(const std::string& section, const std::string& ident,
                                       TDateTime def) {
  return ReadConverted(this, section, ident, def,
                       [](const std::string& s, double& v) { return TryStrToDateTime(s, v); });
}

TDateTime TCustomIniFile::ReadTime(const std::string& section, const std::string& ident, TDateTime def) {
  return ReadConverted(this, section, ident, def,
                       [](const std::string& s, double& v) { return TryStrToTime(s, v); });
}

double TCustomIniFile::ReadFloat(const std::string& section, const std::string& ident, double def) {
  return ReadConverted(this, section, ident, def,
                       [](const std::string& s, double& v) { return TryStrToFloat(s, v); });
}

void TCustomIniFile::WriteDate(const std::string& section, const std::string& ident, TDateTime value) {
  WriteString(section, ident, DateToStr(value));
}

void TCustomIniFile::WriteDateTime(const std::string& section, const std::string& ident, TDateTime value) {
  WriteString(section, ident, DateTimeToStr(value));
}

void TCustomIniFile::WriteTime(const std::string& section, const std::string& ident, TDateTime value) {
  WriteString(section, ident, TimeToStr(value));
}

void TCustomIniFile::WriteFloat(const std::string& section, const std::string& ident, double value) {
  WriteString(section, ident, FloatToStr(value));
}

int TCustomIniFile::ReadBinaryStream(const std::string& section, const std::string& ident, TStream* value) {
  std::string text = ReadString(section, ident, "");
  if (text.empty()) return 0;
  return PutBytes(value, HexToBin(text));
}

void TCustomIniFile::WriteBinaryStream(const std::string& section, const std::string& ident, TStream* value) {
  std::vector<uint8_t> bytes = TakeBytes(value);
  WriteString(section, ident, BinToHex(bytes.data(), bytes.size()));
}

void TCustomIniFile::ReadSectionValues(const std::string& section, TStrings* strings) {
  auto names = MakeOwned<TStringList>();
  ReadSection(section, names.get());
  // Every value is read before the caller's list changes, so a failing read
  // leaves that list as it was.
  auto lines = MakeOwned<TStringList>();
  for (int i = 0; i < names->GetCount(); ++i) {
    std::string name = names->Get(i);
    lines->Add(name + "=" + ReadString(section, name, ""));
  }
  strings->Assign(lines.get());
}

std::vector<uint8_t> TCustomIniFile::TakeBytes(TStream* stream) {
  int64_t start = stream->GetPosition();
  int64_t count = stream->GetSize() - start;
  std::vector<uint8_t> bytes(count > 0 ? static_cast<size_t>(count) : 0);
  if (!bytes.empty()) {
    stream->ReadBuffer(bytes.data(), static_cast<int>(bytes.size()));
    stream->SetPosition(start);
  }
  return bytes;
}

int TCustomIniFile::PutBytes(TStream* stream, const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return 0;
  int64_t start = stream->GetPosition();
  stream->WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
  stream->SetPosition(start);
  return static_cast<int>(bytes.size());
}

// ---------------------------------------------------------------------------
// TIniFile

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& def) {
  // The profile API truncates to the buffer and then returns size - 1; grow
  // until the value fits.
  std::vector<char> buffer(2048);
  for (;;) {
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD n = GetPrivateProfileStringA(section.c_str(), ident.c_str(), def.c_str(), buffer.data(), size,
                                       GetFileName().c_str());
    if (n + 1 < size) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  if (!WritePrivateProfileStringA(section.c_str(), ident.c_str(), value.c_str(), GetFileName().c_str()))
    WriteError();
}

void TIniFile::ReadNames(const char* section, TStrings* strings) {
  // A list of names ends with two NULs; when it does not fit, the profile API
  // returns size - 2.
  std::vector<char> buffer(16384);
  DWORD n;
  for (;;) {
    DWORD size = static_cast<DWORD>(buffer.size());
    n = GetPrivateProfileStringA(section, nullptr, nullptr, buffer.data(), size, GetFileName().c_str());
    if (n + 2 < size) break;
    buffer.resize(buffer.size() * 2);
  }
  auto names = MakeOwned<TStringList>();
  for (const char* p = buffer.data(); p < buffer.data() + n && *p; p += std::strlen(p) + 1) names->Add(p);
  strings->Assign(names.get());
}

void TIniFile::ReadSection(const std::string& section, TStrings* strings) {
  ReadNames(section.c_str(), strings);
}

void TIniFile::ReadSections(TStrings* strings) { ReadNames(nullptr, strings); }

void TIniFile::EraseSection(const std::string& section) {
  if (!WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, GetFileName().c_str())) WriteError();
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident) {
  WritePrivateProfileStringA(section.c_str(), ident.c_str(), nullptr, GetFileName().c_str());
}

void TIniFile::UpdateFile() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, GetFileName().c_str()); }

void TIniFile::Destroy() {
  UpdateFile();
  inherited::Destroy();
}

void TIniFile::WriteError() const {
  throw EIniFileException(Format(SIniFileWriteError, {GetFileName()}));
}
