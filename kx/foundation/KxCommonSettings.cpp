// The INI/registry settings storage and the custom colours of unit KxCommon.
#include <cstdio>
#include <cstring>
#include <vector>

#include "classlib/Registry.h"
#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"
#include "classlib/graphics/Resources.h"
#include "kx/foundation/KxCommon.h"

// ---------------------------------------------------------------------------
// TKxRegIniFile

PUBLISHED(TKxRegIniFile) {
  p.Prop("Path", &TKxRegIniFile::GetPath, &TKxRegIniFile::SetPath);
  p.Prop("PathType", &TKxRegIniFile::GetPathType, &TKxRegIniFile::SetPathType).Default(ptIniFile);
  p.Prop("RegKey", &TKxRegIniFile::GetRegKey, &TKxRegIniFile::SetRegKey).Default(hkeyCurrentUser);
  p.Prop("RegAccess", &TKxRegIniFile::GetRegAccess, &TKxRegIniFile::SetRegAccess)
      .Default(TKxRegAccess{keyAllAccess});
}

TKxRegIniFile::TKxRegIniFile(TComponent* owner) : TComponent(owner) {}

void TKxRegIniFile::Destroy() {
  FreeAndNil(store_);
  inherited::Destroy();
}

void TKxRegIniFile::SetPath(const std::string& value) {
  if (value == path_) return;
  path_ = value;
  recreate_ = true;
}

void TKxRegIniFile::SetPathType(TKxPathType value) {
  if (value == pathType_) return;
  pathType_ = value;
  recreate_ = true;
}

void TKxRegIniFile::SetRegKey(TKxRegKey value) {
  if (value == regKey_) return;
  regKey_ = value;
  recreate_ = true;
}

void TKxRegIniFile::SetRegAccess(TKxRegAccess value) {
  if (value == regAccess_) return;
  regAccess_ = value;
  recreate_ = true;
}

HKEY TKxRegIniFile::RootOf(TKxRegKey key) {
  // HKEY_CLASSES_ROOT (0x80000000) .. HKEY_DYN_DATA (0x80000006), in order.
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000000u + key)));
}

DWORD TKxRegIniFile::AccessMaskOf(TKxRegAccess access) {
  static const DWORD masks[] = {0x1, 0x2, 0x4, 0x8, 0x10, 0x20, 0x20019, 0x20006, 0x20019, 0xF003F};
  DWORD mask = 0;
  for (int k = keyQueryValue; k <= keyAllAccess; ++k)
    if (access.Contains(static_cast<TKxRegAccessKey>(k))) mask |= masks[k];
  return mask;
}

namespace {

std::string ExePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// Bytes as ReadSectionValues lists a binary value: two upper-case hex
// digits and a blank each.
std::string HexBytes(const std::vector<BYTE>& bytes) {
  std::string text;
  char hex[4];
  for (BYTE b : bytes) {
    std::snprintf(hex, sizeof hex, "%02X ", b);
    text += hex;
  }
  return text;
}

// One value of key as ReadSectionValues lists it. Its type and bytes are
// read together, once, so a value of any type or size gives a line and
// none raises (a typed read refuses a DWORD that is not four bytes long).
std::string RegistryValueText(HKEY key, const std::string& name) {
  constexpr const char* kUnknown = "Unknown Data Type";
  DWORD type = REG_NONE, size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return kUnknown;
  std::vector<BYTE> bytes;
  // The value may grow between the calls: the registry then tells the size
  // it has now. One that is gone meanwhile is listed as unknown.
  for (LONG rc = ERROR_MORE_DATA; rc != ERROR_SUCCESS;) {
    bytes.resize(size + 1);
    DWORD got = static_cast<DWORD>(bytes.size());
    rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, bytes.data(), &got);
    if (rc != ERROR_SUCCESS && (rc != ERROR_MORE_DATA || got <= size)) return kUnknown;
    size = got;
    if (rc == ERROR_SUCCESS) bytes.resize(got);
  }
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      const char* text = reinterpret_cast<const char*>(bytes.data());
      return std::string(text, strnlen(text, bytes.size()));
    }
    case REG_DWORD:
      if (bytes.size() == sizeof(int32_t)) {
        int32_t value;
        std::memcpy(&value, bytes.data(), sizeof value);
        return std::to_string(value);
      }
      // No number is known for a DWORD of another length: its bytes are
      // shown, all of them, as a binary value's.
      return HexBytes(bytes);
    case REG_BINARY: return HexBytes(bytes);
    default: return kUnknown;
  }
}

}  // namespace

std::string TKxRegIniFile::EffectivePath() const {
  if (!path_.empty()) return path_;
  if (pathType_ == ptIniFile) return ChangeFileExt(ExePath(), ".ini");
  std::string title = Application ? Application->GetTitle() : std::string();
  if (title.empty()) title = ChangeFileExt(ExtractFileName(ExePath()), "");
  return "\\Software\\Temp\\" + title;
}

void TKxRegIniFile::CheckAccess() {
  if (!recreate_) return;
  FreeAndNil(store_);
  if (pathType_ == ptIniFile) {
    store_ = New<TIniFile>(EffectivePath());
  } else {
    auto* reg = New<TRegistryIniFile>("", AccessMaskOf(regAccess_));
    store_ = reg;
    reg->GetRegIniFile()->SetRootKey(RootOf(regKey_));
    reg->GetRegIniFile()->OpenKey(EffectivePath(), true);
  }
  recreate_ = false;
}

TCustomIniFile* TKxRegIniFile::Store() {
  CheckAccess();
  return store_;
}

bool TKxRegIniFile::SectionExists(const std::string& section) { return Store()->SectionExists(section); }
bool TKxRegIniFile::ValueExists(const std::string& section, const std::string& name) {
  return Store()->ValueExists(section, name);
}
bool TKxRegIniFile::ReadBool(const std::string& section, const std::string& name, bool def) {
  return Store()->ReadBool(section, name, def);
}
void TKxRegIniFile::WriteBool(const std::string& section, const std::string& name, bool value) {
  Store()->WriteBool(section, name, value);
}
TDateTime TKxRegIniFile::ReadDate(const std::string& section, const std::string& name, TDateTime def) {
  return Store()->ReadDate(section, name, def);
}
void TKxRegIniFile::WriteDate(const std::string& section, const std::string& name, TDateTime value) {
  Store()->WriteDate(section, name, value);
}
TDateTime TKxRegIniFile::ReadDateTime(const std::string& section, const std::string& name, TDateTime def) {
  return Store()->ReadDateTime(section, name, def);
}
void TKxRegIniFile::WriteDateTime(const std::string& section, const std::string& name, TDateTime value) {
  Store()->WriteDateTime(section, name, value);
}
double TKxRegIniFile::ReadFloat(const std::string& section, const std::string& name, double def) {
  return Store()->ReadFloat(section, name, def);
}
void TKxRegIniFile::WriteFloat(const std::string& section, const std::string& name, double value) {
  Store()->WriteFloat(section, name, value);
}
int TKxRegIniFile::ReadInteger(const std::string& section, const std::string& name, int def) {
  return Store()->ReadInteger(section, name, def);
}
void TKxRegIniFile::WriteInteger(const std::string& section, const std::string& name, int value) {
  Store()->WriteInteger(section, name, value);
}
std::string TKxRegIniFile::ReadString(const std::string& section, const std::string& name, const std::string& def) {
  return Store()->ReadString(section, name, def);
}
void TKxRegIniFile::WriteString(const std::string& section, const std::string& name, const std::string& value) {
  Store()->WriteString(section, name, value);
}
TDateTime TKxRegIniFile::ReadTime(const std::string& section, const std::string& name, TDateTime def) {
  return Store()->ReadTime(section, name, def);
}
void TKxRegIniFile::WriteTime(const std::string& section, const std::string& name, TDateTime value) {
  Store()->WriteTime(section, name, value);
}
int TKxRegIniFile::ReadBinaryStream(const std::string& section, const std::string& name, TStream* value) {
  return Store()->ReadBinaryStream(section, name, value);
}
void TKxRegIniFile::WriteBinaryStream(const std::string& section, const std::string& name, TStream* value) {
  Store()->WriteBinaryStream(section, name, value);
}
void TKxRegIniFile::ReadSection(const std::string& section, TStrings* strings) {
  Store()->ReadSection(section, strings);
}
void TKxRegIniFile::ReadSections(TStrings* strings) { Store()->ReadSections(strings); }
void TKxRegIniFile::EraseSection(const std::string& section) { Store()->EraseSection(section); }
void TKxRegIniFile::DeleteKey(const std::string& section, const std::string& name) {
  Store()->DeleteKey(section, name);
}

void TKxRegIniFile::ReadSectionValues(const std::string& section, TStrings* strings) {
  TCustomIniFile* store = Store();
  if (pathType_ == ptIniFile) {
    store->ReadSectionValues(section, strings);
    return;
  }
  // Every value of the key as text, whatever its type: a registry object of
  // its own, with default access, on the key the other operations use.
  Owned<TRegistry> reg(New<TRegistry>());
  reg->SetRootKey(RootOf(regKey_));
  std::string base = EffectivePath();
  std::string key = !base.empty() && base.back() == '\\' ? base + section : base + "\\" + section;
  Owned<TStringList> lines(New<TStringList>());
  if (reg->OpenKey(key, false)) {
    Owned<TStringList> names(New<TStringList>());
    reg->GetValueNames(names.get());
    names->Sort();
    for (int i = 0; i < names->GetCount(); ++i) {
      std::string name = names->Get(i);
      lines->Add((name.empty() ? "Default" : name) + "=" + RegistryValueText(reg->GetCurrentKey(), name));
    }
  }
  TUpdateScope update(strings);
  strings->Clear();
  strings->AddStrings(lines.get());
}

// ---------------------------------------------------------------------------
// TKxCustomColors

PUBLISHED(TKxCustomColors) {
  p.Prop("Colors", &TKxCustomColors::GetColors, &TKxCustomColors::SetColors);
  p.Prop("RegIniFile", &TKxCustomColors::GetRegIniFile, &TKxCustomColors::SetRegIniFile);
}

TKxCustomColors::TKxCustomColors(TComponent* owner) : TComponent(owner), colors_(New<TStringList>()) {
  InitColors();
}

void TKxCustomColors::Destroy() {
  FreeAndNil(colors_);
  inherited::Destroy();
}

void TKxCustomColors::InitColors() {
  for (char letter = 'A'; letter <= 'P'; ++letter) colors_->Add(std::string("Color") + letter + "=FFFFFF");
}

std::string TKxCustomColors::GetColorName(int index) const { return colors_->GetName(index); }

void TKxCustomColors::FixupColors() {
  for (int i = 0; i < colors_->GetCount(); ++i) {
    int value = StrToInt("$" + colors_->GetValueFromIndex(i)) & 0xFFFFFF;
    char hex[8];
    std::snprintf(hex, sizeof hex, "%.6x", value);
    colors_->SetValueFromIndex(i, hex);
  }
}

void TKxCustomColors::SetColors(TStrings* value) {
  colors_->Assign(value);
  FixupColors();
}

void TKxCustomColors::SetRegIniFile(TKxRegIniFile* value) {
  if (value == regIniFile_) return;
  if (regIniFile_) regIniFile_->RemoveFreeNotification(this);
  regIniFile_ = value;
  if (value) value->FreeNotification(this);
}

void TKxCustomColors::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == regIniFile_) regIniFile_ = nullptr;
}

void TKxCustomColors::Load(const std::string& section) {
  if (!regIniFile_) throw Exception(LoadStr(SKxCannotLoadColors));
  regIniFile_->ReadSectionValues(section, colors_);
  FixupColors();
}

void TKxCustomColors::Save(const std::string& section) {
  if (!regIniFile_) throw Exception(LoadStr(SKxCannotSaveColors));
  for (int i = 0; i < colors_->GetCount(); ++i)
    regIniFile_->WriteString(section, colors_->GetName(i), colors_->GetValueFromIndex(i));
}
