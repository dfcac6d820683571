#include "kx/foundation/KxStatus.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/Scopes.h"
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

// ---------------------------------------------------------------------------
// The lengths of a version block, checked before VerQueryValueA sees it.
//
// VerQueryValueA trusts every length in the block: it walks an entry's
// children up to the entry's own length without looking at the buffer's,
// and writes its ANSI copy of a string at an offset taken from the root's
// length (the half of the buffer past the resource that
// GetFileVersionInfoSizeA reserves for it). A damaged file therefore makes
// it read, and write, past the buffer. Each entry is: its length, its
// value's length and (32-bit blocks) its type, a zero-terminated key, the
// value and the children, each part starting on a four-byte boundary.

uint16_t WordAt(const std::vector<BYTE>& data, size_t at) {
  return static_cast<uint16_t>(data[at] | (data[at + 1] << 8));
}

size_t Aligned(size_t n) { return (n + 3) & ~size_t{3}; }

class TVersionBlockCheck {
 public:
  explicit TVersionBlockCheck(const std::vector<BYTE>& data) : data_(data) {}

  // True when every length of the block fits: the root within the part of
  // the buffer that holds the resource, each entry within its parent, no
  // entry empty, each key terminated and each value within its entry.
  bool Fits() {
    // The system tells the layouts apart as VerQueryValueA does: a 16-bit
    // block has the first character of its key where a 32-bit block has
    // the low byte of its type.
    if (data_.size() < 6) return false;
    wide_ = data_[4] < ' ';
    header_ = wide_ ? 6 : 4;
    charSize_ = wide_ ? 2 : 1;
    // A 32-bit block's ANSI copies take as many bytes again as the root,
    // after four bytes of signature.
    rootText_ = wide_ ? (data_.size() - 4) / 2 : data_.size();
    size_t rootEnd = 0, children = 0;
    if (!EntryFits(0, rootText_, rootEnd, children)) return false;
    rootText_ = rootEnd;
    // Entries still to check, as (next child, end of its parent): a loop,
    // not recursion, whatever the nesting.
    std::vector<std::pair<size_t, size_t>> open{{children, rootEnd}};
    while (!open.empty()) {
      auto [at, end] = open.back();
      if (at >= end) {
        open.pop_back();
        continue;
      }
      size_t entryEnd = 0, entryChildren = 0;
      if (!EntryFits(at, end, entryEnd, entryChildren)) return false;
      open.back().first = at + Aligned(WordAt(data_, at));
      open.emplace_back(entryChildren, entryEnd);
    }
    return true;
  }

 private:
  // The entry at `at`, which must end by `limit`; gives its end and where
  // its children start.
  bool EntryFits(size_t at, size_t limit, size_t& end, size_t& children) const {
    if (at > limit || limit - at < header_) return false;
    size_t length = WordAt(data_, at);
    if (length < header_ || length > limit - at) return false;
    end = at + length;
    size_t key = at + header_;
    for (;;) {
      if (end - key < charSize_) return false;
      bool zero = data_[key] == 0 && (charSize_ == 1 || data_[key + 1] == 0);
      key += charSize_;
      if (zero) break;
    }
    size_t value = at + Aligned(key - at);
    bool text = wide_ && WordAt(data_, at + 4) != 0;
    size_t valueBytes = size_t{WordAt(data_, at + 2)} * (text ? 2 : 1);
    if (valueBytes > 0) {
      // Some resource compilers count a string value in bytes rather than
      // characters, so its length reaches past its own entry: the system
      // reads it to the length given, which is harmless while it stays in
      // the resource (the text itself ends at its zero).
      size_t room = text ? rootText_ : end;
      if (value > room || valueBytes > room - value) return false;
    }
    children = value + Aligned(valueBytes);
    return true;
  }

  const std::vector<BYTE>& data_;
  bool wide_ = true;
  size_t header_ = 6;
  size_t charSize_ = 2;
  size_t rootText_ = 0;
};

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
    // A block whose lengths do not fit is never handed to the system: it
    // reads as a resource without a translation entry or keys.
    damaged_ = !TVersionBlockCheck(data_).Fits();
    if (damaged_) return;
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
    if (data_.empty() || damaged_) return false;
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
  bool damaged_ = false;
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
  TUpdateScope update(fields_);
  fields_->Clear();
  for (const std::string& v : values) fields_->Add(v);
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
