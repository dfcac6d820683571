#include "kx/foundation/KxStatus.h"

#include <cstring>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/SysUtils.h"
#include "classlib/graphics/Resources.h"

DEFINE_ENUM_TYPE(TKxVersionInfoField, "vifCompanyName", "vifFileDescription", "vifFileVersion", "vifInternalName",
                 "vifCopyright", "vifTrademarks", "vifOriginalFilename", "vifProductName", "vifProductVersion",
                 "vifComments")

namespace {

constexpr const char* kKeys[] = {"CompanyName",     "FileDescription", "FileVersion",      "InternalName",
                                 "LegalCopyright",  "LegalTrademarks", "OriginalFilename", "ProductName",
                                 "ProductVersion",  "Comments"};
constexpr int kFieldCount = static_cast<int>(sizeof kKeys / sizeof kKeys[0]);

// The platform's module-name buffer: MAX_PATH plus one.
constexpr DWORD kModuleNameSize = 261;

}  // namespace

const char* KxVersionInfoKey(TKxVersionInfoField field) {
  auto i = static_cast<size_t>(field);
  return i < static_cast<size_t>(kFieldCount) ? kKeys[i] : "";
}

// ---------------------------------------------------------------------------
// The version block of one file, freed with the object.

class TKxVersionInfo::TVersionBlock {
 public:
  // Empty when the file has no version resource (or cannot be read).
  explicit TVersionBlock(const std::string& path) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) return;
    data_.assign(size, 0);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data_.data())) {
      // The size said there is a resource; its table simply reads as empty.
      std::fill(data_.begin(), data_.end(), 0);
    }
    // The language and code page of the first translation, as "%.4x%.4x";
    // both stay empty without a translation entry.
    void* value = nullptr;
    UINT length = 0;
    std::string language, codePage;
    if (VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation", &value, &length) && value &&
        length >= sizeof(DWORD)) {
      DWORD translation;
      std::memcpy(&translation, value, sizeof translation);
      language = Format("%.4x", {static_cast<int>(LOWORD(translation))});
      codePage = Format("%.4x", {static_cast<int>(HIWORD(translation))});
    }
    prefix_ = "StringFileInfo\\" + language + codePage + "\\";
  }

  bool Available() const { return !data_.empty(); }

  // The text of key in the string table; false when the key is missing.
  bool Query(const std::string& key, std::string& text) {
    if (data_.empty()) return false;
    void* value = nullptr;
    UINT length = 0;
    std::string path = prefix_ + key;
    if (!VerQueryValueA(data_.data(), path.c_str(), &value, &length) || !value) return false;
    // The text ends at its terminating zero, or at the length the block
    // gives for it when a damaged block has none.
    const char* p = static_cast<const char*>(value);
    const char* blockEnd = reinterpret_cast<const char*>(data_.data() + data_.size());
    size_t limit = p >= reinterpret_cast<const char*>(data_.data()) && p < blockEnd
                       ? static_cast<size_t>(blockEnd - p)
                       : 0;
    if (length < limit) limit = length;
    text.assign(p, strnlen(p, limit));
    return true;
  }

 private:
  std::vector<BYTE> data_;
  std::string prefix_;
};

// ---------------------------------------------------------------------------
// TKxVersionInfo

PUBLISHED(TKxVersionInfo) {
  // No default: a read fills in the program's own path, which is written.
  p.Prop("FilePath", &TKxVersionInfo::GetFilePath, &TKxVersionInfo::SetFilePath);
}

TKxVersionInfo::TKxVersionInfo(TComponent* owner) : TComponent(owner) {
  fields_ = New<TStringList>();
  if (!IsDesigning()) GetVersionInfo();
}

void TKxVersionInfo::Destroy() {
  inherited::Destroy();
  FreeAndNil(fields_);
  FreeAndNil(statusList_);
}

void TKxVersionInfo::Loaded() {
  inherited::Loaded();
  if (IsDesigning()) return;
  GetVersionInfo();
  UpdateStatusControls();
}

void TKxVersionInfo::SetFilePath(const std::string& value) {
  if (value == filePath_) return;
  filePath_ = value;
  if (IsDesigning() || IsLoading()) return;
  GetVersionInfo();
  UpdateStatusControls();
}

TKxVersionInfo::TVersionBlock TKxVersionInfo::ReadBlock() {
  if (filePath_.empty()) {
    char name[kModuleNameSize] = {};
    DWORD n = GetModuleFileNameA(MainInstance(), name, kModuleNameSize);
    filePath_.assign(name, n < kModuleNameSize ? n : kModuleNameSize - 1);
  }
  TVersionBlock block(filePath_);
  available_ = block.Available();
  return block;
}

void TKxVersionInfo::GetVersionInfo() {
  TVersionBlock block = ReadBlock();
  std::vector<std::string> values;
  for (const char* key : kKeys) {
    std::string text;
    if (!available_) text = SKxValueNotAvailable;
    else if (!block.Query(key, text)) text.clear();
    values.push_back(text);
  }
  fields_->BeginUpdate();
  try {
    fields_->Clear();
    for (const std::string& v : values) fields_->Add(v);
  } catch (...) {
    fields_->EndUpdate();
    throw;
  }
  fields_->EndUpdate();
}

std::string TKxVersionInfo::GetField(int index) const { return fields_->Get(index); }

std::string TKxVersionInfo::GetVerField(TKxVersionInfoField field) const { return GetField(static_cast<int>(field)); }

std::string TKxVersionInfo::GetCustomKeyValue(const std::string& key) {
  TVersionBlock block = ReadBlock();
  std::string text;
  if (!block.Query(key, text)) return SKxValueNotAvailable;
  return text;
}

void TKxVersionInfo::UpdateStatusControls() {
  if (!statusList_) return;
  for (int i = 0; statusList_ && i < statusList_->GetCount(); ++i)
    static_cast<TKxVersionInfoStatus*>(statusList_->Get(i))->UpdateCaption();
}

int TKxVersionInfo::AddStatus(TKxVersionInfoStatus* status) {
  if (!statusList_) statusList_ = New<TList>();
  int index = statusList_->IndexOf(status);
  if (index >= 0) return index;
  return statusList_->Add(status);
}

void TKxVersionInfo::RemoveStatus(TKxVersionInfoStatus* status) {
  if (!statusList_) return;
  statusList_->Remove(status);
  if (statusList_->GetCount() == 0) FreeAndNil(statusList_);
}

// ---------------------------------------------------------------------------

void InitializeKxStatus() {
  RegisterClasses({TKxVersionInfo::StaticClass()});
  InitializeKxStatusPanes();
}

void FinalizeKxStatus() {
  FinalizeKxStatusPanes();
  UnRegisterClass(TKxVersionInfo::StaticClass());
}
