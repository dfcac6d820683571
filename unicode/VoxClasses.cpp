#include "unicode/VoxClasses.h"

#include <objbase.h>

#include <algorithm>
#include <cstring>

#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"
#include "classlib/classes/StringsCore.h"
#include "unicode/VoxSysUtils.h"
#include "unicode/VoxSystem.h"

DEFINE_ENUM_TYPE(TVoxStreamCharSet, "csAnsi", "csUnicode", "csUnicodeSwapped", "csUtf8")

bool RuntimeUTFStreaming = false;

void InitializeVoxClasses() { RuntimeUTFStreaming = false; }

namespace {

inline constexpr const wchar_t* SListIndexErrorW = L"List index out of bounds (%d)";
inline constexpr const wchar_t* SListCapacityErrorW = L"List capacity out of bounds (%d)";
inline constexpr const wchar_t* SSortedListErrorW = L"Operation not allowed on sorted list";
inline constexpr const wchar_t* SDuplicateStringW = L"String list does not allow duplicates";

// Runs f between BeginUpdate and EndUpdate, also when f throws.
template <class L, class F>
void Updating(L* list, F f) {
  TUpdateScope<L> update(list);
  f();
}

// Control characters and the space (NUL ends a wide text instead).
bool IsWideBlank(wchar_t c) { return c >= 1 && c <= 32; }

int64_t Remaining(TStream* stream) { return stream->GetSize() - stream->GetPosition(); }

std::string ReadRest(TStream* stream) {
  std::string bytes(static_cast<size_t>(std::max<int64_t>(Remaining(stream), 0)), '\0');
  if (!bytes.empty()) stream->ReadBuffer(bytes.data(), static_cast<int>(bytes.size()));
  return bytes;
}

// Text that an older reader's ANSI path would not give back: its UTF-8
// bytes widened through the ANSI code page differ from it.
bool NeedsUTF7(const std::wstring& s) { return !s.empty() && AnsiToWide(WideStringToUTF8(s)) != s; }

// Whether the UTF-7 and UTF-8 companions are applied while reading.
bool AlternateEncoding(TReader* reader) {
  TComponent* owner = reader->GetOwner();
  if (!owner) return false;
  if (owner->IsDesigning()) return true;
  return RuntimeUTFStreaming;
}

// The values of a list of string values (ANSI bytes as they are).
std::vector<std::string> ReadStringList(TReader* reader) {
  std::vector<std::string> values;
  reader->ReadListBegin();
  while (!reader->EndOfList()) values.push_back(reader->ReadString());
  reader->ReadListEnd();
  return values;
}

}  // namespace

// --- Character-set detection -----------------------------------------------------

TVoxStreamCharSet AutoDetectCharacterSet(TStream* stream) {
  unsigned char b[3];
  if (Remaining(stream) >= 2) {
    stream->ReadBuffer(b, 2);
    if (b[0] == 0xFF && b[1] == 0xFE) return csUnicode;
    if (b[0] == 0xFE && b[1] == 0xFF) return csUnicodeSwapped;
    stream->Seek(-2, soCurrent);
  }
  if (Remaining(stream) >= 3) {
    stream->ReadBuffer(b, 3);
    if (b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) return csUtf8;
    stream->Seek(-3, soCurrent);
  }
  return csAnsi;
}

// --- TAnsiStrings ----------------------------------------------------------------------

IMPLEMENT_CLASS(TAnsiStrings)

void TAnsiStrings::LoadFromFile(const std::wstring& fileName) {
  Owned<TVoxFileStream> s(New<TVoxFileStream>(fileName, fmOpenRead | fmShareDenyWrite));
  LoadFromStream(s.get());
}

void TAnsiStrings::SaveToFile(const std::wstring& fileName) {
  Owned<TVoxFileStream> s(New<TVoxFileStream>(fileName, fmCreate));
  SaveToStream(s.get());
}

void TAnsiStrings::LoadFromFileEx(const std::wstring& fileName, UINT codePage) {
  Owned<TVoxFileStream> s(New<TVoxFileStream>(fileName, fmOpenRead | fmShareDenyWrite));
  LoadFromStreamEx(s.get(), codePage);
}

void TAnsiStrings::SaveToFileEx(const std::wstring& fileName, UINT codePage) {
  Owned<TVoxFileStream> s(New<TVoxFileStream>(fileName, fmCreate));
  if (codePage == CP_UTF8) s->WriteBuffer("\xEF\xBB\xBF", 3);
  SaveToStreamEx(s.get(), codePage);
}

// --- TAnsiStringsForWideStrings -------------------------------------------------------

IMPLEMENT_CLASS(TAnsiStringsForWideStrings)

std::string TAnsiStringsForWideStrings::Get(int index) const { return WideToAnsi(owner_->Get(index)); }
int TAnsiStringsForWideStrings::GetCount() const { return owner_->GetCount(); }
void TAnsiStringsForWideStrings::Insert(int index, const std::string& s) { owner_->Insert(index, AnsiToWide(s)); }
void TAnsiStringsForWideStrings::Delete(int index) { owner_->Delete(index); }
void TAnsiStringsForWideStrings::Clear() { owner_->Clear(); }
void TAnsiStringsForWideStrings::Put(int index, const std::string& s) { owner_->Put(index, AnsiToWide(s)); }
TObject* TAnsiStringsForWideStrings::GetObject(int index) const { return owner_->GetObject(index); }
void TAnsiStringsForWideStrings::PutObject(int index, TObject* obj) { owner_->PutObject(index, obj); }
void TAnsiStringsForWideStrings::SetUpdateState(bool updating) {
  if (updating) owner_->BeginUpdate();
  else owner_->EndUpdate();
}

void TAnsiStringsForWideStrings::LoadFromStreamEx(TStream* stream, UINT codePage) {
  Updating(this, [&] {
    std::wstring text = StringToWideStringEx(ReadRest(stream), codePage);
    owner_->SetText(text);
  });
}

void TAnsiStringsForWideStrings::SaveToStreamEx(TStream* stream, UINT codePage) {
  std::string bytes = WideStringToStringEx(owner_->GetText(), codePage);
  if (!bytes.empty()) stream->WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
}

// --- TVoxStrings ----------------------------------------------------------------------------

PUBLISHED(TVoxStrings) {
  // The ANSI view is reachable by name but never stored: the items travel
  // as "WideStrings".
  p.Prop("AnsiStrings", &TVoxStrings::GetAnsiStrings, &TVoxStrings::SetAnsiStrings).Stored(false);
}

TVoxStrings::TVoxStrings() : ansiStrings_(New<TAnsiStringsForWideStrings>(this)) {}

void TVoxStrings::Destroy() {
  SetStringsAdapter(nullptr);
  FreeAndNil(ansiStrings_);
  inherited::Destroy();
}

void TVoxStrings::AssignTo(TPersistent* dest) {
  if (auto* strings = dynamic_cast<TStrings*>(dest)) {
    strings->Assign(ansiStrings_);
    return;
  }
  inherited::AssignTo(dest);
}

void TVoxStrings::Assign(TPersistent* source) {
  if (auto* wide = dynamic_cast<TVoxStrings*>(source)) {
    if (wide == this) return;
    Updating(this, [&] {
      Clear();
      defined_ = wide->defined_;
      delimiter_ = wide->delimiter_;
      quoteChar_ = wide->quoteChar_;
      nameValueSeparator_ = wide->nameValueSeparator_;
      AddStrings(wide);
    });
    return;
  }
  if (auto* strings = dynamic_cast<TStrings*>(source)) {
    ansiStrings_->Assign(strings);
    return;
  }
  inherited::Assign(source);
}

int TVoxStrings::GetCapacity() const { return GetCount(); }
TObject* TVoxStrings::GetObject(int) const { return nullptr; }
void TVoxStrings::PutObject(int, TObject*) {}
void TVoxStrings::SetCapacity(int) {}
void TVoxStrings::SetUpdateState(bool) {}

std::wstring TVoxStrings::GetTextStr() const { return strings_core::JoinLines<std::wstring>(*this); }

void TVoxStrings::Put(int index, const std::wstring& s) {
  TObject* obj = GetObject(index);
  Delete(index);
  InsertObject(index, s, obj);
}

void TVoxStrings::SetTextStr(const std::wstring& value) {
  Updating(this, [&] {
    Clear();
    const wchar_t* p = value.c_str();
    while (*p) {
      const wchar_t* start = p;
      while (*p && *p != L'\n' && *p != L'\r' && *p != 0x2028) ++p;
      Add(std::wstring(start, static_cast<size_t>(p - start)));
      if (*p == L'\r') ++p;
      if (*p == L'\n') ++p;
      if (*p == 0x2028) ++p;
    }
  });
}

int TVoxStrings::CompareStrings(const std::wstring& s1, const std::wstring& s2) const {
  return WideCompareText(s1, s2);
}

int TVoxStrings::Add(const std::wstring& s) {
  int index = GetCount();
  Insert(index, s);
  return index;
}

int TVoxStrings::AddObject(const std::wstring& s, TObject* obj) {
  int index = Add(s);
  PutObject(index, obj);
  return index;
}

void TVoxStrings::AddStrings(TVoxStrings* strings) { strings_core::AddAll(*this, *strings); }

void TVoxStrings::Exchange(int index1, int index2) { strings_core::Exchange(*this, index1, index2); }

wchar_t* TVoxStrings::GetTextW() const { return StrNewW(GetTextStr().c_str()); }

int TVoxStrings::IndexOf(const std::wstring& s) const { return strings_core::IndexOf(*this, s); }

int TVoxStrings::IndexOfName(const std::wstring& name) const {
  const wchar_t separator = GetNameValueSeparator();
  return strings_core::IndexOfName(*this, name, [separator](const std::wstring& s) { return s.find(separator); });
}

int TVoxStrings::IndexOfObject(TObject* obj) const { return strings_core::IndexOfObject(*this, obj); }

void TVoxStrings::InsertObject(int index, const std::wstring& s, TObject* obj) {
  Insert(index, s);
  PutObject(index, obj);
}

void TVoxStrings::LoadFromFile(const std::wstring& fileName) {
  Owned<TVoxFileStream> s(New<TVoxFileStream>(fileName, fmOpenRead | fmShareDenyWrite));
  lastFileCharSet_ = AutoDetectCharacterSet(s.get());
  s->SetPosition(0);
  LoadFromStream(s.get(), true);
}

void TVoxStrings::LoadFromStream(TStream* stream, bool withBOM) {
  Updating(this, [&] {
    TVoxStreamCharSet cs = withBOM ? AutoDetectCharacterSet(stream) : csUnicode;
    std::string bytes = ReadRest(stream);
    std::wstring text;
    switch (cs) {
      case csUnicode:
      case csUnicodeSwapped:
        // A trailing odd byte is no unit and is left out.
        text = UCS2ToWideString(bytes);
        if (cs == csUnicodeSwapped)
          for (wchar_t& c : text) c = static_cast<wchar_t>((c >> 8) | (c << 8));
        break;
      case csUtf8: text = UTF8ToWideString(bytes); break;
      case csAnsi: text = AnsiToWide(bytes); break;
    }
    SetTextStr(text);
  });
}

void TVoxStrings::Move(int curIndex, int newIndex) {
  strings_core::Move(*this, curIndex, newIndex, [this](int index) { Error(SListIndexErrorW, index); });
}

void TVoxStrings::SaveToFile(const std::wstring& fileName) {
  Owned<TVoxFileStream> s(New<TVoxFileStream>(fileName, fmCreate));
  SaveToStream(s.get(), true);
}

void TVoxStrings::SaveToStream(TStream* stream, bool withBOM) {
  if (withBOM) stream->WriteBuffer("\xFF\xFE", 2);
  std::string bytes = WideStringToUCS2(GetTextStr());
  if (!bytes.empty()) stream->WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
}

void TVoxStrings::SetTextW(const wchar_t* text) { SetTextStr(text ? text : L""); }

void TVoxStrings::BeginUpdate() {
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TVoxStrings::EndUpdate() {
  --updateCount_;
  if (updateCount_ == 0) SetUpdateState(false);
}

bool TVoxStrings::Equals(const TVoxStrings* strings) const { return strings_core::Equal(*this, *strings); }

void TVoxStrings::Error(const std::wstring& msg, int data) const {
  throw EStringListError(Format(WideToAnsi(msg), {data}));
}

void TVoxStrings::Error(PResStringRec msg, int data) const { Error(LoadResStringW(msg), data); }

std::wstring TVoxStrings::ExtractName(const std::wstring& s) const {
  size_t p = s.find(GetNameValueSeparator());
  return p == std::wstring::npos ? std::wstring() : s.substr(0, p);
}

std::wstring TVoxStrings::GetValue(const std::wstring& name) const {
  int i = IndexOfName(name);
  if (i < 0) return {};
  return Copy(Get(i), static_cast<int64_t>(name.size()) + 2, INT32_MAX);
}

void TVoxStrings::SetValue(const std::wstring& name, const std::wstring& value) {
  int i = IndexOfName(name);
  if (!value.empty()) {
    if (i < 0) i = Add(L"");
    Put(i, name + GetNameValueSeparator() + value);
  } else if (i >= 0) {
    Delete(i);
  }
}

std::wstring TVoxStrings::GetValueFromIndex(int index) const {
  if (index < 0) return {};
  return Copy(Get(index), static_cast<int64_t>(GetName(index).size()) + 2, INT32_MAX);
}

void TVoxStrings::SetValueFromIndex(int index, const std::wstring& value) {
  if (!value.empty()) {
    if (index < 0) index = Add(L"");
    Put(index, GetName(index) + GetNameValueSeparator() + value);
  } else if (index >= 0) {
    Delete(index);
  }
}

std::wstring TVoxStrings::GetDelimitedText() const { return DelimitedText(GetDelimiter(), GetQuoteChar()); }

std::wstring TVoxStrings::DelimitedText(wchar_t delimiter, wchar_t quote) const {
  return strings_core::DelimitedText<std::wstring>(*this, delimiter, quote, IsWideBlank, WideQuotedStr);
}

void TVoxStrings::SetDelimitedText(const std::wstring& value) {
  // The text ends at its first NUL, as the wide text does everywhere.
  const wchar_t* text = value.c_str();
  strings_core::ReadDelimitedText(*this, text, text + std::wcslen(text), GetDelimiter(), GetQuoteChar(), IsWideBlank,
                                  WideExtractQuotedStr);
}

std::wstring TVoxStrings::GetCommaText() const { return DelimitedText(L',', L'"'); }

void TVoxStrings::SetCommaText(const std::wstring& value) {
  SetDelimiter(L',');
  SetQuoteChar(L'"');
  SetDelimitedText(value);
}

wchar_t TVoxStrings::DefinedChar(TWideStringsDefinedItem item, wchar_t& slot, wchar_t def) const {
  if (!defined_.Contains(item)) {
    slot = def;
    defined_.Include(item);
  }
  return slot;
}

void TVoxStrings::DefineChar(TWideStringsDefinedItem item, wchar_t& slot, wchar_t value) {
  slot = value;
  defined_.Include(item);
}

wchar_t TVoxStrings::GetDelimiter() const { return DefinedChar(sdDelimiter, delimiter_, L','); }
void TVoxStrings::SetDelimiter(wchar_t c) { DefineChar(sdDelimiter, delimiter_, c); }
wchar_t TVoxStrings::GetQuoteChar() const { return DefinedChar(sdQuoteChar, quoteChar_, L'"'); }
void TVoxStrings::SetQuoteChar(wchar_t c) { DefineChar(sdQuoteChar, quoteChar_, c); }
wchar_t TVoxStrings::GetNameValueSeparator() const {
  return DefinedChar(sdNameValueSeparator, nameValueSeparator_, L'=');
}
void TVoxStrings::SetNameValueSeparator(wchar_t c) { DefineChar(sdNameValueSeparator, nameValueSeparator_, c); }

void TVoxStrings::SetAnsiStrings(TAnsiStrings* value) { ansiStrings_->Assign(value); }

void TVoxStrings::SetStringsAdapter(std::shared_ptr<IWideStringsAdapter> value) {
  if (adapter_) adapter_->ReleaseStrings();
  adapter_ = std::move(value);
  if (adapter_) adapter_->ReferenceStrings(this);
}

// --- Stored forms: the list's own properties ----------------------------------------------

void TVoxStrings::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  bool hasData;
  if (TPersistent* ancestor = filer->GetAncestor()) {
    auto* other = dynamic_cast<TVoxStrings*>(ancestor);
    hasData = !other || !Equals(other);
  } else {
    hasData = GetCount() > 0;
  }
  bool needsUtf7 = false;
  if (hasData)
    for (int i = 0; i < GetCount() && !needsUtf7; ++i) needsUtf7 = NeedsUTF7(Get(i));
  filer->DefineProperty("Strings", [this](TReader* r) { ReadData(r); }, nullptr, false);
  filer->DefineProperty(
      "WideStrings", [this](TReader* r) { ReadData(r); }, [this](TWriter* w) { WriteData(w); }, hasData);
  filer->DefineProperty("WideStringsW", [this](TReader* r) { ReadDataUTF8(r); }, nullptr, false);
  filer->DefineProperty(
      "WideStrings_UTF7", [this](TReader* r) { ReadDataUTF7(r); }, [this](TWriter* w) { WriteDataUTF7(w); },
      hasData && needsUtf7);
}

void TVoxStrings::ReadData(TReader* reader) {
  TValueType kind = reader->NextValue();
  if (kind == vaString || kind == vaLString || kind == vaWString || kind == vaUTF8String) {
    SetText(reader->ReadWideString());
    return;
  }
  std::vector<std::wstring> items;
  reader->ReadListBegin();
  while (!reader->EndOfList()) items.push_back(reader->ReadWideString());
  reader->ReadListEnd();
  ReplaceItems(items);
}

void TVoxStrings::ReplaceItems(const std::vector<std::wstring>& items) {
  Updating(this, [&] {
    Clear();
    for (const std::wstring& s : items) Add(s);
  });
}

void TVoxStrings::WriteData(TWriter* writer) {
  writer->WriteListBegin();
  for (int i = 0; i < GetCount(); ++i) writer->WriteWideString(Get(i));
  writer->WriteListEnd();
}

void TVoxStrings::ReadDataUTF8(TReader* reader) {
  std::vector<std::string> values = ReadStringList(reader);
  if (!AlternateEncoding(reader) && GetCount() > 0) return;
  std::vector<std::wstring> items;
  for (const std::string& v : values) items.push_back(UTF8ToWideString(v));
  ReplaceItems(items);
}

void TVoxStrings::ReadDataUTF7(TReader* reader) {
  std::vector<std::string> values = ReadStringList(reader);
  if (!AlternateEncoding(reader)) return;
  // Every value is decoded before the list changes: an illegal one leaves
  // the list as it was.
  std::vector<std::wstring> items;
  for (const std::string& v : values) items.push_back(UTF7ToWideString(v));
  ReplaceItems(items);
}

void TVoxStrings::WriteDataUTF7(TWriter* writer) {
  writer->WriteListBegin();
  for (int i = 0; i < GetCount(); ++i) writer->WriteString(WideStringToUTF7(Get(i)));
  writer->WriteListEnd();
}

// --- TVoxStringList ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxStringList)

void TVoxStringList::Destroy() {
  // No notifications while the list goes.
  onChange_ = nullptr;
  onChanging_ = nullptr;
  items_.clear();
  capacity_ = 0;
  inherited::Destroy();
}

void TVoxStringList::CheckIndex(int index) const {
  if (index < 0 || index >= GetCount()) Error(SListIndexErrorW, index);
}

std::wstring TVoxStringList::Get(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)].String;
}

TObject* TVoxStringList::GetObject(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)].Object;
}

void TVoxStringList::Put(int index, const std::wstring& s) {
  if (sorted_) Error(SSortedListErrorW, 0);
  CheckIndex(index);
  Changing();
  items_[static_cast<size_t>(index)].String = s;
  Changed();
}

void TVoxStringList::PutObject(int index, TObject* obj) {
  CheckIndex(index);
  Changing();
  items_[static_cast<size_t>(index)].Object = obj;
  Changed();
}

void TVoxStringList::SetCapacity(int newCapacity) {
  if (newCapacity < GetCount() || newCapacity > MaxListSize) Error(SListCapacityErrorW, newCapacity);
  capacity_ = newCapacity;
  if (newCapacity == 0) items_.shrink_to_fit();
  else items_.reserve(static_cast<size_t>(newCapacity));
}

void TVoxStringList::SetUpdateState(bool updating) {
  if (updating) Changing();
  else Changed();
}

int TVoxStringList::CompareStrings(const std::wstring& s1, const std::wstring& s2) const {
  return caseSensitive_ ? WideCompareStr(s1, s2) : WideCompareText(s1, s2);
}

void TVoxStringList::Changing() {
  if (GetUpdateCount() == 0 && onChanging_) onChanging_(this);
}

void TVoxStringList::Changed() {
  if (GetUpdateCount() == 0 && onChange_) onChange_(this);
}

int TVoxStringList::Add(const std::wstring& s) { return AddObject(s, nullptr); }

int TVoxStringList::AddObject(const std::wstring& s, TObject* obj) {
  int index;
  if (!sorted_) {
    index = GetCount();
  } else if (Find(s, index)) {
    switch (duplicates_) {
      case dupIgnore: return index;
      case dupError: Error(SDuplicateStringW, 0);
      case dupAccept: break;
    }
  }
  InsertItem(index, s, obj);
  return index;
}

void TVoxStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  SetCapacity(0);
  Changed();
}

void TVoxStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TVoxStringList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
  Changed();
}

void TVoxStringList::Move(int curIndex, int newIndex) {
  // Refused before the item is taken out: a sorted list has no free places.
  if (sorted_ && curIndex != newIndex) Error(SSortedListErrorW, 0);
  inherited::Move(curIndex, newIndex);
}

int TVoxStringList::IndexOf(const std::wstring& s) const {
  if (!sorted_) return TVoxStrings::IndexOf(s);
  int index;
  return Find(s, index) ? index : -1;
}

int TVoxStringList::IndexOfName(const std::wstring& name) const {
  if (sorted_) {
    const std::wstring key = name + GetNameValueSeparator();
    int index;
    Find(key, index);
    if (index < GetCount()) {
      const std::wstring& item = items_[static_cast<size_t>(index)].String;
      if (CompareStrings(item.substr(0, key.size()), key) == 0) return index;
    }
  }
  return TVoxStrings::IndexOfName(name);
}

void TVoxStringList::Insert(int index, const std::wstring& s) { InsertObject(index, s, nullptr); }

void TVoxStringList::InsertObject(int index, const std::wstring& s, TObject* obj) {
  if (sorted_) Error(SSortedListErrorW, 0);
  if (index < 0 || index > GetCount()) Error(SListIndexErrorW, index);
  InsertItem(index, s, obj);
}

void TVoxStringList::Grow() { SetCapacity(capacity_ + ListGrowthDelta(capacity_)); }

void TVoxStringList::InsertItem(int index, const std::wstring& s, TObject* obj) {
  Changing();
  if (GetCount() == capacity_) Grow();
  items_.insert(items_.begin() + index, TItem{s, obj});
  Changed();
}

bool TVoxStringList::Find(const std::wstring& s, int& index) const {
  return strings_core::SortedFind(
      GetCount(), [&](int i) { return CompareStrings(items_[static_cast<size_t>(i)].String, s); },
      duplicates_ == dupAccept, index);
}

int TVoxStringList::CompareItems(TVoxStringList* list, int index1, int index2) {
  return list->CompareStrings(list->items_[static_cast<size_t>(index1)].String,
                              list->items_[static_cast<size_t>(index2)].String);
}

void TVoxStringList::Sort() { CustomSort(CompareItems); }

void TVoxStringList::CustomSort(TVoxStringListSortCompare compare) {
  if (!sorted_) SortItems(compare);
}

void TVoxStringList::SortItems(TVoxStringListSortCompare compare) {
  strings_core::SortItems(*this, items_, compare);
}

void TVoxStringList::SetSorted(bool value) {
  if (sorted_ == value) return;
  if (value) Sort();
  sorted_ = value;
}

void TVoxStringList::SetCaseSensitive(bool value) {
  if (caseSensitive_ == value) return;
  caseSensitive_ = value;
  // A sorted list must be in the order of its new comparison (Sort itself
  // leaves a sorted list alone).
  if (sorted_) SortItems(CompareItems);
}

// --- Streams ------------------------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxFileStream)

namespace {
HANDLE OpenWide(const std::wstring& fileName, WORD mode) {
  return mode == fmCreate ? WideFileCreate(fileName) : WideFileOpen(fileName, mode);
}
}  // namespace

TVoxFileStream::TVoxFileStream(const std::wstring& fileName, WORD mode) : THandleStream(OpenWide(fileName, mode)) {
  if (handle_ == INVALID_HANDLE_VALUE) {
    if (mode == fmCreate) throw EFCreateError(Format(SFCreateError, {WideToAnsi(fileName)}));
    throw EFOpenError(Format(SFOpenError, {WideToAnsi(fileName)}));
  }
}

TVoxFileStream::~TVoxFileStream() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

IMPLEMENT_CLASS(TVoxMemoryStream)

void TVoxMemoryStream::LoadFromFile(const std::wstring& fileName) {
  Owned<TVoxFileStream> s(New<TVoxFileStream>(fileName, fmOpenRead | fmShareDenyWrite));
  LoadFromStream(s.get());
}

void TVoxMemoryStream::SaveToFile(const std::wstring& fileName) {
  Owned<TVoxFileStream> s(New<TVoxFileStream>(fileName, fmCreate));
  SaveToStream(s.get());
}

IMPLEMENT_CLASS(TVoxResourceStream)

TVoxResourceStream::TVoxResourceStream(HINSTANCE instance, const std::wstring& resName, const wchar_t* resType) {
  Initialize(instance, resName.c_str(), resType, resName);
}

TVoxResourceStream::TVoxResourceStream(HINSTANCE instance, int resId, const wchar_t* resType) {
  Initialize(instance, MAKEINTRESOURCEW(resId), resType, std::to_wstring(resId));
}

void TVoxResourceStream::Initialize(HINSTANCE instance, const wchar_t* name, const wchar_t* type,
                                    const std::wstring& shownName) {
  resInfo_ = FindResourceW(instance, name, type);
  if (resInfo_) global_ = LoadResource(instance, resInfo_);
  void* data = global_ ? LockResource(global_) : nullptr;
  if (!data) throw EResNotFound(Format(SResNotFound, {WideToAnsi(shownName)}));
  SetPointer(data, SizeofResource(instance, resInfo_));
}

TVoxResourceStream::~TVoxResourceStream() {
  // Resources of a loaded module live as long as the module; freeing is
  // the platform's no-op, kept for symmetry with the loading.
  if (global_) FreeResource(global_);
}

int TVoxResourceStream::Write(const void*, int) { throw EStreamError(SCantWriteResourceStreamError); }

void TVoxResourceStream::SaveToFile(const std::wstring& fileName) {
  Owned<TVoxFileStream> s(New<TVoxFileStream>(fileName, fmCreate));
  SaveToStream(s.get());
}

// --- Free routines ------------------------------------------------------------------------------

bool FindSortedListByTarget(TList* list, TTargetCompare targetCompare, void* target, int& index) {
  return strings_core::SortedFind(
      list->GetCount(), [&](int i) { return targetCompare(list->Get(i), target); }, false, index);
}

namespace {

class TRegKey {
 public:
  TRegKey(HKEY parent, const std::wstring& path) {
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~TRegKey() {
    if (key_) RegCloseKey(key_);
  }
  TRegKey(const TRegKey&) = delete;
  TRegKey& operator=(const TRegKey&) = delete;
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// The default value of a sub-key, environment strings expanded; "" when none.
std::wstring DefaultValue(HKEY key, const wchar_t* subKey) {
  TRegKey sub(key, subKey);
  if (!sub.Get()) return {};
  DWORD type = 0, bytes = 0;
  if (RegQueryValueExW(sub.Get(), nullptr, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
  std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(sub.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &bytes) !=
      ERROR_SUCCESS)
    return {};
  value.resize(std::wcslen(value.c_str()));
  if (type == REG_EXPAND_SZ) {
    DWORD n = ExpandEnvironmentStringsW(value.c_str(), nullptr, 0);
    std::wstring expanded(n, L'\0');
    ExpandEnvironmentStringsW(value.c_str(), expanded.data(), n);
    expanded.resize(std::wcslen(expanded.c_str()));
    value = expanded;
  }
  return value;
}

}  // namespace

bool ClassIsRegistered(const CLSID& clsid) {
  LPOLESTR progId = nullptr;
  if (FAILED(ProgIDFromCLSID(clsid, &progId))) return false;
  CoTaskMemFree(progId);
  wchar_t text[64] = {};
  StringFromGUID2(clsid, text, 64);
  TRegKey key(HKEY_LOCAL_MACHINE, std::wstring(L"SOFTWARE\\Classes\\CLSID\\") + text);
  if (!key.Get()) return false;
  std::wstring server = DefaultValue(key.Get(), L"InProcServer32");
  if (server.empty()) server = DefaultValue(key.Get(), L"InProcServer");
  return !server.empty() && WideFileExists(server);
}

// --- Wide property streaming -----------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxWideStringPropertyFiler)

void TVoxWideStringPropertyFiler::ReadDataUTF8(TReader* reader) {
  std::wstring value = UTF8ToWideString(reader->ReadString());
  if (AlternateEncoding(reader)) SetWideStrProp(Instance, PropInfo, value);
}

void TVoxWideStringPropertyFiler::ReadDataUTF7(TReader* reader) {
  std::string utf7 = reader->ReadString();
  if (AlternateEncoding(reader)) SetWideStrProp(Instance, PropInfo, UTF7ToWideString(utf7));
}

void TVoxWideStringPropertyFiler::WriteDataUTF7(TWriter* writer) {
  writer->WriteString(WideStringToUTF7(GetWideStrProp(Instance, PropInfo)));
}

void VoxPersistent_AfterInherited_DefineProperties(TFiler* filer, TPersistent* instance) {
  TClass cls = instance->ClassType();
  if (GetPropCount(cls) == 0) return;
  Owned<TVoxWideStringPropertyFiler> propFiler(New<TVoxWideStringPropertyFiler>());
  propFiler->Instance = instance;
  TVoxWideStringPropertyFiler* pf = propFiler.get();
  for (PPropInfo prop : GetPropInfos(cls)) {
    if (!prop) break;
    if (prop->PropType->Kind != tkWString) continue;
    if (!GetPropInfo(instance, prop->Name, TTypeKinds{tkWString})) continue;
    pf->PropInfo = prop;
    filer->DefineProperty(prop->Name + "W", [pf](TReader* r) { pf->ReadDataUTF8(r); }, nullptr, false);
    bool hasData = false;
    if (prop->CanRead() && IsStoredProp(instance, prop)) {
      std::wstring value = GetWideStrProp(instance, prop);
      bool differs = true;
      if (TPersistent* ancestor = filer->GetAncestor())
        if (PPropInfo ap = GetPropInfo(ancestor, prop->Name, TTypeKinds{tkWString}); ap && ap->CanRead())
          differs = GetWideStrProp(ancestor, ap) != value;
      hasData = differs && NeedsUTF7(value);
    }
    filer->DefineProperty(
        prop->Name + "_UTF7", [pf](TReader* r) { pf->ReadDataUTF7(r); }, [pf](TWriter* w) { pf->WriteDataUTF7(w); },
        hasData);
  }
}
