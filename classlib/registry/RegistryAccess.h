// The Registry unit: TRegistry over the Win32 registry API, TRegIniFile
// (INI-style sections as subkeys of the opened key) and TRegistryIniFile,
// the TCustomIniFile interface over a TRegIniFile.
//
// Key paths: a path starting with "\" is absolute (below RootKey); any other
// path is relative to the current key, or to RootKey when no key is open.
#pragma once

#include "classlib/Win.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "classlib/IniFiles.h"
#include "classlib/System.h"

class TStrings;
class TStream;

DECLARE_EXCEPTION(ERegistryException, Exception);

inline constexpr const char* SRegCreateFailed = "Failed to create key %s";
inline constexpr const char* SRegGetDataFailed = "Failed to get data for '%s'";
inline constexpr const char* SRegSetDataFailed = "Failed to set data for '%s'";
inline constexpr const char* SInvalidRegType = "Invalid data type for '%s'";

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegKeyInfo {
  int NumSubKeys = 0;
  int MaxSubKeyLen = 0;
  int NumValues = 0;
  int MaxValueLen = 0;
  int MaxDataLen = 0;
  FILETIME FileTime{};
};

struct TRegDataInfo {
  TRegDataType RegData = rdUnknown;
  int DataSize = 0;
};

// Sole owner of an opened registry key; closes it once.
class TRegKeyHandle {
 public:
  TRegKeyHandle() = default;
  explicit TRegKeyHandle(HKEY key) noexcept : key_(key) {}
  TRegKeyHandle(TRegKeyHandle&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  TRegKeyHandle& operator=(TRegKeyHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }
  TRegKeyHandle(const TRegKeyHandle&) = delete;
  TRegKeyHandle& operator=(const TRegKeyHandle&) = delete;
  ~TRegKeyHandle() { Reset(); }

  HKEY Get() const noexcept { return key_; }
  explicit operator bool() const noexcept { return key_ != nullptr; }
  void Reset() noexcept {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }
  // For the out-parameter of RegOpenKeyEx/RegCreateKeyEx.
  HKEY* Receive() noexcept {
    Reset();
    return &key_;
  }

 private:
  HKEY key_ = nullptr;
};

class TRegistry : public TObject {
  DECLARE_CLASS(TRegistry, TObject)

  // RootKey HKEY_CURRENT_USER, Access KEY_ALL_ACCESS, LazyWrite true.
  TRegistry() = default;
  explicit TRegistry(DWORD access) : access_(access) {}

  HKEY GetRootKey() const { return rootKey_; }
  // A new root closes the current key.
  void SetRootKey(HKEY value);
  // The open key (null when none) and its path as given to OpenKey.
  HKEY GetCurrentKey() const { return current_.Get(); }
  const std::string& GetCurrentPath() const { return currentPath_; }
  DWORD GetAccess() const { return access_; }
  void SetAccess(DWORD value) { access_ = value; }
  // False: closing a key flushes it to disk first.
  bool GetLazyWrite() const { return lazyWrite_; }
  void SetLazyWrite(bool value) { lazyWrite_ = value; }

  void CloseKey();
  // Opens the key with Access, creating it (and missing parents) when
  // canCreate; on success it becomes the current key.
  bool OpenKey(const std::string& key, bool canCreate);
  // Opens with the widest read access granted (KEY_READ, then query and
  // enumerate, then query only) and sets Access to it.
  bool OpenKeyReadOnly(const std::string& key);
  // Creates the key without opening it; raises "Failed to create key".
  bool CreateKey(const std::string& key);
  // Deletes the key with all its subkeys. An empty name deletes nothing.
  bool DeleteKey(const std::string& key);
  bool KeyExists(const std::string& key);
  bool HasSubKeys();
  bool GetKeyInfo(TRegKeyInfo& value);
  // The names of the current key's subkeys / values; the list is replaced.
  void GetKeyNames(TStrings* strings);
  void GetValueNames(TStrings* strings);

  bool ValueExists(const std::string& name);
  bool GetDataInfo(const std::string& valueName, TRegDataInfo& value);
  // -1 when the value does not exist.
  int GetDataSize(const std::string& valueName);
  // rdUnknown when the value does not exist.
  TRegDataType GetDataType(const std::string& valueName);
  bool DeleteValue(const std::string& name);
  // Nothing happens when oldName is missing or newName exists already.
  void RenameValue(const std::string& oldName, const std::string& newName);

  // Typed access. A missing value raises "Failed to get data" (ReadString
  // gives "" instead); a value of another type raises "Invalid data type";
  // a failed write raises "Failed to set data". Floats, dates and times are
  // 8-byte binary doubles.
  std::string ReadString(const std::string& name);
  void WriteString(const std::string& name, const std::string& value);
  void WriteExpandString(const std::string& name, const std::string& value);
  int ReadInteger(const std::string& name);
  void WriteInteger(const std::string& name, int value);
  bool ReadBool(const std::string& name);
  void WriteBool(const std::string& name, bool value);
  double ReadFloat(const std::string& name);
  void WriteFloat(const std::string& name, double value);
  TDateTime ReadDate(const std::string& name) { return ReadFloat(name); }
  TDateTime ReadDateTime(const std::string& name) { return ReadFloat(name); }
  TDateTime ReadTime(const std::string& name) { return ReadFloat(name); }
  void WriteDate(const std::string& name, TDateTime value) { WriteFloat(name, value); }
  void WriteDateTime(const std::string& name, TDateTime value) { WriteFloat(name, value); }
  void WriteTime(const std::string& name, TDateTime value) { WriteFloat(name, value); }
  // Binary (or untyped) data up to bufSize bytes; returns the size, 0 when
  // the value does not exist.
  int ReadBinaryData(const std::string& name, void* buffer, int bufSize);
  void WriteBinaryData(const std::string& name, const void* buffer, int bufSize);

 protected:
  void Destroy() override;

  // The key opened with Access; empty when it cannot be opened.
  TRegKeyHandle GetKey(const std::string& key);
  // The current key for relative paths when one is open, else RootKey.
  HKEY GetBaseKey(bool relative) const;
  // Makes value the current key for a while; returns the previous one.
  TRegKeyHandle ExchangeCurrentKey(TRegKeyHandle value) { return std::exchange(current_, std::move(value)); }

 private:
  void ChangeKey(TRegKeyHandle value, const std::string& path);
  // Raw type and bytes of a value; false when it does not exist.
  bool QueryValue(const std::string& name, DWORD& type, std::vector<uint8_t>& data);
  void PutData(const std::string& name, const void* buffer, DWORD size, DWORD type);
  // The value's bytes, checked to be of the given type (and size when > 0).
  std::vector<uint8_t> GetChecked(const std::string& name, DWORD type, size_t size);

  HKEY rootKey_ = HKEY_CURRENT_USER;
  TRegKeyHandle current_;
  std::string currentPath_;
  DWORD access_ = KEY_ALL_ACCESS;
  bool lazyWrite_ = true;
};

// The registry as an INI file: the file name is a key opened (and created)
// at construction; sections are its subkeys, idents their values, and every
// value is a string.
class TRegIniFile : public TRegistry {
  DECLARE_CLASS(TRegIniFile, TRegistry)

  explicit TRegIniFile(const std::string& fileName) : TRegIniFile(fileName, KEY_ALL_ACCESS) {}
  TRegIniFile(const std::string& fileName, DWORD access);

  const std::string& GetFileName() const { return fileName_; }

  std::string ReadString(const std::string& section, const std::string& ident, const std::string& def);
  void WriteString(const std::string& section, const std::string& ident, const std::string& value);
  void ReadSection(const std::string& section, TStrings* strings);
  void ReadSections(TStrings* strings);
  void EraseSection(const std::string& section);
  void DeleteKey(const std::string& section, const std::string& ident);

 private:
  friend class TRegistryIniFile;
  // Runs f with the section's key as the current key and returns true; false
  // (f not run) when the section cannot be opened.
  bool InSection(const std::string& section, const std::function<void()>& f);
  // The same for a write: the section is created first, and one that still
  // cannot be opened raises "Failed to set data for" ident.
  void InNewSection(const std::string& section, const std::string& ident, const std::function<void()>& f);

  std::string fileName_;
};

// TCustomIniFile over a TRegIniFile. Values keep their registry types:
// integers are DWORDs, floats, dates and times binary doubles, streams
// binary data. A value stored as a string is read through the text
// conversions of TCustomIniFile.
class TRegistryIniFile : public TCustomIniFile {
  DECLARE_CLASS(TRegistryIniFile, TCustomIniFile)

  explicit TRegistryIniFile(const std::string& fileName) : TRegistryIniFile(fileName, KEY_ALL_ACCESS) {}
  TRegistryIniFile(const std::string& fileName, DWORD access);

  TRegIniFile* GetRegIniFile() const { return regIniFile_.get(); }

  std::string ReadString(const std::string& section, const std::string& ident,
                         const std::string& def) override;
  void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
  int ReadInteger(const std::string& section, const std::string& ident, int def) override;
  void WriteInteger(const std::string& section, const std::string& ident, int value) override;
  double ReadFloat(const std::string& section, const std::string& ident, double def) override;
  void WriteFloat(const std::string& section, const std::string& ident, double value) override;
  TDateTime ReadDate(const std::string& section, const std::string& ident, TDateTime def) override;
  TDateTime ReadDateTime(const std::string& section, const std::string& ident, TDateTime def) override;
  TDateTime ReadTime(const std::string& section, const std::string& ident, TDateTime def) override;
  void WriteDate(const std::string& section, const std::string& ident, TDateTime value) override;
  void WriteDateTime(const std::string& section, const std::string& ident, TDateTime value) override;
  void WriteTime(const std::string& section, const std::string& ident, TDateTime value) override;
  int ReadBinaryStream(const std::string& section, const std::string& ident, TStream* value) override;
  void WriteBinaryStream(const std::string& section, const std::string& ident, TStream* value) override;
  void ReadSection(const std::string& section, TStrings* strings) override;
  void ReadSections(TStrings* strings) override;
  void EraseSection(const std::string& section) override;
  void DeleteKey(const std::string& section, const std::string& ident) override;
  void UpdateFile() override {}

 private:
  template <class T, class Native, class Text>
  T ReadNative(const std::string& section, const std::string& ident, T def, Native native, Text text);

  Owned<TRegIniFile> regIniFile_;
};
