#include "classlib/registry/RegistryAccess.h"

#include <algorithm>
#include <cstring>

#include "classlib/Classes.h"

IMPLEMENT_CLASS(TRegistry)
IMPLEMENT_CLASS(TRegIniFile)
IMPLEMENT_CLASS(TRegistryIniFile)

namespace {

[[noreturn]] void RegError(const char* fmt, const std::string& name) {
  throw ERegistryException(Format(fmt, {name}));
}

bool IsRelative(const std::string& key) { return key.empty() || key[0] != '\\'; }

std::string WithoutLeadingSlash(const std::string& key) { return IsRelative(key) ? key : key.substr(1); }

TRegDataType DataTypeToRegData(DWORD type) {
  switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
  }
}

// Subkey or value names of a key, in the registry's order. The buffer grows
// while the registry reports a longer name than it holds.
std::vector<std::string> EnumNames(HKEY key, bool values) {
  std::vector<std::string> names;
  if (!key) return names;
  std::vector<char> buffer(256);
  for (DWORD index = 0;;) {
    DWORD len = static_cast<DWORD>(buffer.size());
    LONG rc = values ? RegEnumValueA(key, index, buffer.data(), &len, nullptr, nullptr, nullptr, nullptr)
                     : RegEnumKeyExA(key, index, buffer.data(), &len, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA && buffer.size() < (1u << 20)) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (rc != ERROR_SUCCESS) break;
    names.emplace_back(buffer.data(), len);
    ++index;
  }
  return names;
}

void AssignNames(TStrings* strings, const std::vector<std::string>& names) {
  auto list = MakeOwned<TStringList>();
  for (const std::string& name : names) list->Add(name);
  strings->Assign(list.get());
}

// RegDeleteKey removes only a key without subkeys: the subkeys go first.
bool DeleteTree(HKEY parent, const std::string& name) {
  {
    TRegKeyHandle key;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, key.Receive()) ==
        ERROR_SUCCESS) {
      for (const std::string& sub : EnumNames(key.Get(), false)) DeleteTree(key.Get(), sub);
    }
  }
  return RegDeleteKeyA(parent, name.c_str()) == ERROR_SUCCESS;
}

}  // namespace

// ---------------------------------------------------------------------------
// TRegistry: keys

void TRegistry::Destroy() {
  CloseKey();
  inherited::Destroy();
}

void TRegistry::SetRootKey(HKEY value) {
  if (value == rootKey_) return;
  rootKey_ = value;
  CloseKey();
}

void TRegistry::CloseKey() {
  if (!current_) return;
  if (!lazyWrite_) RegFlushKey(current_.Get());
  current_.Reset();
  currentPath_.clear();
}

void TRegistry::ChangeKey(TRegKeyHandle value, const std::string& path) {
  CloseKey();
  current_ = std::move(value);
  currentPath_ = path;
}

HKEY TRegistry::GetBaseKey(bool relative) const { return current_ && relative ? current_.Get() : rootKey_; }

TRegKeyHandle TRegistry::GetKey(const std::string& key) {
  TRegKeyHandle result;
  std::string path = WithoutLeadingSlash(key);
  if (RegOpenKeyExA(GetBaseKey(IsRelative(key)), path.c_str(), 0, access_, result.Receive()) != ERROR_SUCCESS)
    result.Reset();
  return result;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
  bool relative = IsRelative(key);
  std::string path = WithoutLeadingSlash(key);
  TRegKeyHandle opened;
  LONG rc = !canCreate || path.empty()
                ? RegOpenKeyExA(GetBaseKey(relative), path.c_str(), 0, access_, opened.Receive())
                : RegCreateKeyExA(GetBaseKey(relative), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  access_, nullptr, opened.Receive(), nullptr);
  if (rc != ERROR_SUCCESS) return false;
  if (current_ && relative) path = currentPath_ + "\\" + path;
  ChangeKey(std::move(opened), path);
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
  // The widest read access the key grants, as a restricted account may be
  // refused KEY_READ on keys it can still query.
  static const DWORD accesses[] = {KEY_READ, STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS,
                                   KEY_QUERY_VALUE};
  bool relative = IsRelative(key);
  std::string path = WithoutLeadingSlash(key);
  for (DWORD access : accesses) {
    TRegKeyHandle opened;
    if (RegOpenKeyExA(GetBaseKey(relative), path.c_str(), 0, access, opened.Receive()) != ERROR_SUCCESS)
      continue;
    access_ = access;
    if (current_ && relative) path = currentPath_ + "\\" + path;
    ChangeKey(std::move(opened), path);
    return true;
  }
  return false;
}

bool TRegistry::CreateKey(const std::string& key) {
  std::string path = WithoutLeadingSlash(key);
  TRegKeyHandle created;
  if (RegCreateKeyExA(GetBaseKey(IsRelative(key)), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, created.Receive(), nullptr) != ERROR_SUCCESS)
    RegError(SRegCreateFailed, key);
  return true;
}

bool TRegistry::DeleteKey(const std::string& key) {
  std::string path = WithoutLeadingSlash(key);
  // An empty name would name the base key itself: every subkey of the open
  // key (or of the root) would go.
  if (path.empty()) return false;
  return DeleteTree(GetBaseKey(IsRelative(key)), path);
}

bool TRegistry::KeyExists(const std::string& key) {
  // Read access suffices to tell; Access may ask for more than is granted.
  DWORD saved = std::exchange(access_, STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS);
  bool exists = static_cast<bool>(GetKey(key));
  access_ = saved;
  return exists;
}

bool TRegistry::GetKeyInfo(TRegKeyInfo& value) {
  value = TRegKeyInfo();
  DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueLen = 0, maxDataLen = 0;
  if (!current_ || RegQueryInfoKeyA(current_.Get(), nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLen, nullptr,
                                    &values, &maxValueLen, &maxDataLen, nullptr, &value.FileTime) != ERROR_SUCCESS)
    return false;
  value.NumSubKeys = static_cast<int>(subKeys);
  value.MaxSubKeyLen = static_cast<int>(maxSubKeyLen);
  value.NumValues = static_cast<int>(values);
  value.MaxValueLen = static_cast<int>(maxValueLen);
  value.MaxDataLen = static_cast<int>(maxDataLen);
  return true;
}

bool TRegistry::HasSubKeys() {
  TRegKeyInfo info;
  return GetKeyInfo(info) && info.NumSubKeys > 0;
}

void TRegistry::GetKeyNames(TStrings* strings) { AssignNames(strings, EnumNames(current_.Get(), false)); }

void TRegistry::GetValueNames(TStrings* strings) { AssignNames(strings, EnumNames(current_.Get(), true)); }

// ---------------------------------------------------------------------------
// TRegistry: values

bool TRegistry::GetDataInfo(const std::string& valueName, TRegDataInfo& value) {
  value = TRegDataInfo();
  DWORD type = REG_NONE, size = 0;
  if (!current_ || RegQueryValueExA(current_.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return false;
  value.RegData = DataTypeToRegData(type);
  value.DataSize = static_cast<int>(size);
  return true;
}

int TRegistry::GetDataSize(const std::string& valueName) {
  TRegDataInfo info;
  return GetDataInfo(valueName, info) ? info.DataSize : -1;
}

TRegDataType TRegistry::GetDataType(const std::string& valueName) {
  TRegDataInfo info;
  GetDataInfo(valueName, info);
  return info.RegData;
}

bool TRegistry::ValueExists(const std::string& name) {
  TRegDataInfo info;
  return GetDataInfo(name, info);
}

bool TRegistry::DeleteValue(const std::string& name) {
  return current_ && RegDeleteValueA(current_.Get(), name.c_str()) == ERROR_SUCCESS;
}

void TRegistry::RenameValue(const std::string& oldName, const std::string& newName) {
  DWORD type = REG_NONE;
  std::vector<uint8_t> data;
  if (ValueExists(newName) || !QueryValue(oldName, type, data)) return;
  // The new value is written before the old one goes, with the old raw type,
  // so a failure loses nothing.
  PutData(newName, data.data(), static_cast<DWORD>(data.size()), type);
  DeleteValue(oldName);
}

bool TRegistry::QueryValue(const std::string& name, DWORD& type, std::vector<uint8_t>& data) {
  DWORD size = 0;
  if (!current_ || RegQueryValueExA(current_.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return false;
  // The value may grow between the two calls: ask again with the new size.
  for (int attempt = 0; attempt < 8; ++attempt) {
    data.resize(size + 1);
    DWORD got = static_cast<DWORD>(data.size());
    LONG rc = RegQueryValueExA(current_.Get(), name.c_str(), nullptr, &type, data.data(), &got);
    if (rc == ERROR_MORE_DATA) {
      size = got > size ? got : size * 2;
      continue;
    }
    if (rc != ERROR_SUCCESS) return false;
    data.resize(got);
    return true;
  }
  return false;
}

void TRegistry::PutData(const std::string& name, const void* buffer, DWORD size, DWORD type) {
  if (!current_ || RegSetValueExA(current_.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(buffer), size) !=
                       ERROR_SUCCESS)
    RegError(SRegSetDataFailed, name);
}

std::vector<uint8_t> TRegistry::GetChecked(const std::string& name, DWORD type, size_t size) {
  DWORD actual = REG_NONE;
  std::vector<uint8_t> data;
  if (!QueryValue(name, actual, data)) RegError(SRegGetDataFailed, name);
  if (actual != type || data.size() != size) RegError(SInvalidRegType, name);
  return data;
}

std::string TRegistry::ReadString(const std::string& name) {
  DWORD type = REG_NONE;
  std::vector<uint8_t> data;
  if (!QueryValue(name, type, data) || data.empty()) return "";
  if (type != REG_SZ && type != REG_EXPAND_SZ) RegError(SInvalidRegType, name);
  const char* text = reinterpret_cast<const char*>(data.data());
  return std::string(text, strnlen(text, data.size()));
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  PutData(name, value.c_str(), static_cast<DWORD>(value.size() + 1), REG_SZ);
}

void TRegistry::WriteExpandString(const std::string& name, const std::string& value) {
  PutData(name, value.c_str(), static_cast<DWORD>(value.size() + 1), REG_EXPAND_SZ);
}

int TRegistry::ReadInteger(const std::string& name) {
  int32_t value;
  std::memcpy(&value, GetChecked(name, REG_DWORD, sizeof value).data(), sizeof value);
  return value;
}

void TRegistry::WriteInteger(const std::string& name, int value) {
  int32_t data = value;
  PutData(name, &data, sizeof data, REG_DWORD);
}

bool TRegistry::ReadBool(const std::string& name) { return ReadInteger(name) != 0; }

void TRegistry::WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

double TRegistry::ReadFloat(const std::string& name) {
  double value;
  std::memcpy(&value, GetChecked(name, REG_BINARY, sizeof value).data(), sizeof value);
  return value;
}

void TRegistry::WriteFloat(const std::string& name, double value) { PutData(name, &value, sizeof value, REG_BINARY); }

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int bufSize) {
  DWORD type = REG_NONE;
  std::vector<uint8_t> data;
  if (!QueryValue(name, type, data)) return 0;
  TRegDataType kind = DataTypeToRegData(type);
  if ((kind != rdBinary && kind != rdUnknown) || data.size() > static_cast<size_t>(bufSize < 0 ? 0 : bufSize))
    RegError(SInvalidRegType, name);
  if (!data.empty()) std::memcpy(buffer, data.data(), data.size());
  return static_cast<int>(data.size());
}

void TRegistry::WriteBinaryData(const std::string& name, const void* buffer, int bufSize) {
  PutData(name, buffer, static_cast<DWORD>(bufSize < 0 ? 0 : bufSize), REG_BINARY);
}

// ---------------------------------------------------------------------------
// TRegIniFile

TRegIniFile::TRegIniFile(const std::string& fileName, DWORD access) : TRegistry(access), fileName_(fileName) {
  OpenKey(fileName, true);
}

bool TRegIniFile::InSection(const std::string& section, const std::function<void()>& f) {
  TRegKeyHandle key = GetKey(section);
  if (!key) return false;
  struct Restore {
    TRegIniFile* self;
    TRegKeyHandle saved;
    // The section's key comes back here and is closed.
    ~Restore() { self->ExchangeCurrentKey(std::move(saved)); }
  } restore{this, ExchangeCurrentKey(std::move(key))};
  f();
  return true;
}

void TRegIniFile::InNewSection(const std::string& section, const std::string& ident,
                               const std::function<void()>& f) {
  CreateKey(section);
  if (!InSection(section, f)) RegError(SRegSetDataFailed, ident);
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident, const std::string& def) {
  std::string result = def;
  InSection(section, [&] {
    if (ValueExists(ident)) result = TRegistry::ReadString(ident);
  });
  return result;
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  InNewSection(section, ident, [&] { TRegistry::WriteString(ident, value); });
}

void TRegIniFile::ReadSection(const std::string& section, TStrings* strings) {
  if (!InSection(section, [&] { GetValueNames(strings); })) strings->Clear();
}

void TRegIniFile::ReadSections(TStrings* strings) { GetKeyNames(strings); }

void TRegIniFile::EraseSection(const std::string& section) { TRegistry::DeleteKey(section); }

void TRegIniFile::DeleteKey(const std::string& section, const std::string& ident) {
  InSection(section, [&] { DeleteValue(ident); });
}

// ---------------------------------------------------------------------------
// TRegistryIniFile

TRegistryIniFile::TRegistryIniFile(const std::string& fileName, DWORD access)
    : TCustomIniFile(fileName), regIniFile_(New<TRegIniFile>(fileName, access)) {}

template <class T, class Native, class Text>
T TRegistryIniFile::ReadNative(const std::string& section, const std::string& ident, T def, Native native,
                               Text text) {
  T result = def;
  bool asText = false;
  regIniFile_->InSection(section, [&] {
    TRegDataInfo info;
    if (!regIniFile_->GetDataInfo(ident, info)) return;
    if (info.RegData == rdString || info.RegData == rdExpandString)
      asText = true;
    else
      result = native();
  });
  // Outside the section: the text conversion reads the value again through
  // ReadString, which opens the section itself.
  return asText ? text() : result;
}

std::string TRegistryIniFile::ReadString(const std::string& section, const std::string& ident,
                                         const std::string& def) {
  return regIniFile_->ReadString(section, ident, def);
}

void TRegistryIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  regIniFile_->WriteString(section, ident, value);
}

int TRegistryIniFile::ReadInteger(const std::string& section, const std::string& ident, int def) {
  return ReadNative(
      section, ident, def, [&] { return regIniFile_->ReadInteger(ident); },
      [&] { return inherited::ReadInteger(section, ident, def); });
}

void TRegistryIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
  regIniFile_->InNewSection(section, ident, [&] { regIniFile_->WriteInteger(ident, value); });
}

double TRegistryIniFile::ReadFloat(const std::string& section, const std::string& ident, double def) {
  return ReadNative(
      section, ident, def, [&] { return regIniFile_->ReadFloat(ident); },
      [&] { return inherited::ReadFloat(section, ident, def); });
}

void TRegistryIniFile::WriteFloat(const std::string& section, const std::string& ident, double value) {
  regIniFile_->InNewSection(section, ident, [&] { regIniFile_->WriteFloat(ident, value); });
}

TDateTime TRegistryIniFile::ReadDate(const std::string& section, const std::string& ident, TDateTime def) {
  return ReadNative(
      section, ident, def, [&] { return regIniFile_->ReadDate(ident); },
      [&] { return inherited::ReadDate(section, ident, def); });
}

TDateTime TRegistryIniFile::ReadDateTime(const std::string& section, const std::string& ident, TDateTime def) {
  return ReadNative(
      section, ident, def, [&] { return regIniFile_->ReadDateTime(ident); },
      [&] { return inherited::ReadDateTime(section, ident, def); });
}

TDateTime TRegistryIniFile::ReadTime(const std::string& section, const std::string& ident, TDateTime def) {
  return ReadNative(
      section, ident, def, [&] { return regIniFile_->ReadTime(ident); },
      [&] { return inherited::ReadTime(section, ident, def); });
}

void TRegistryIniFile::WriteDate(const std::string& section, const std::string& ident, TDateTime value) {
  TRegistryIniFile::WriteFloat(section, ident, value);
}

void TRegistryIniFile::WriteDateTime(const std::string& section, const std::string& ident, TDateTime value) {
  TRegistryIniFile::WriteFloat(section, ident, value);
}

void TRegistryIniFile::WriteTime(const std::string& section, const std::string& ident, TDateTime value) {
  TRegistryIniFile::WriteFloat(section, ident, value);
}

int TRegistryIniFile::ReadBinaryStream(const std::string& section, const std::string& ident, TStream* value) {
  return ReadNative(
      section, ident, 0,
      [&] {
        std::vector<uint8_t> bytes(static_cast<size_t>(std::max(regIniFile_->GetDataSize(ident), 0)));
        bytes.resize(static_cast<size_t>(
            regIniFile_->ReadBinaryData(ident, bytes.data(), static_cast<int>(bytes.size()))));
        return PutBytes(value, bytes);
      },
      [&] { return inherited::ReadBinaryStream(section, ident, value); });
}

void TRegistryIniFile::WriteBinaryStream(const std::string& section, const std::string& ident, TStream* value) {
  std::vector<uint8_t> bytes = TakeBytes(value);
  regIniFile_->InNewSection(section, ident, [&] {
    regIniFile_->WriteBinaryData(ident, bytes.data(), static_cast<int>(bytes.size()));
  });
}

void TRegistryIniFile::ReadSection(const std::string& section, TStrings* strings) {
  regIniFile_->ReadSection(section, strings);
}

void TRegistryIniFile::ReadSections(TStrings* strings) { regIniFile_->ReadSections(strings); }

void TRegistryIniFile::EraseSection(const std::string& section) { regIniFile_->EraseSection(section); }

void TRegistryIniFile::DeleteKey(const std::string& section, const std::string& ident) {
  regIniFile_->DeleteKey(section, ident);
}
