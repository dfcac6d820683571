#include "classlib/classes/Strings.h"

#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"
#include "classlib/classes/Lists.h"
#include "classlib/classes/Streams.h"
#include "classlib/classes/StringsCore.h"
#include "classlib/classes/TextLines.h"

DEFINE_ENUM_TYPE(TDuplicates, "dupIgnore", "dupAccept", "dupError")

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string DelimitedText(const TStrings& list, char delimiter, char quote) {
  return strings_core::DelimitedText<std::string>(list, delimiter, quote, IsBlank, AnsiQuotedStr);
}

// The index just past a line's name: its first separator, npos when none.
size_t NameEnd(const std::string& s, char separator) {
  int p = AnsiPos(std::string(1, separator), s);
  return p == 0 ? std::string::npos : static_cast<size_t>(p - 1);
}

}  // namespace

IMPLEMENT_CLASS(TStrings)

void TStrings::Error(const char* msg, int data) const { throw EStringListError(Format(msg, {data})); }

void TStrings::Put(int index, const std::string& s) {
  TObject* obj = GetObject(index);
  Delete(index);
  InsertObject(index, s, obj);
}

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}
int TStrings::GetCapacity() const { return GetCount(); }
void TStrings::SetCapacity(int) {}
void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(const std::string& s1, const std::string& s2) const {
  return AnsiCompareText(s1, s2);
}

std::string TStrings::GetTextStr() const { return strings_core::JoinLines<std::string>(*this); }

void TStrings::SetTextStr(const std::string& value) {
  TUpdateScope update(this);
  Clear();
  ForEachTextLine(value, [this](std::string_view line) { Add(std::string(line)); });
}

int TStrings::Add(const std::string& s) {
  int result = GetCount();
  Insert(result, s);
  return result;
}

int TStrings::AddObject(const std::string& s, TObject* obj) {
  int result = Add(s);
  PutObject(result, obj);
  return result;
}

void TStrings::AddStrings(TStrings* strings) { strings_core::AddAll(*this, *strings); }

void TStrings::InsertObject(int index, const std::string& s, TObject* obj) {
  Insert(index, s);
  PutObject(index, obj);
}

void TStrings::Exchange(int index1, int index2) { strings_core::Exchange(*this, index1, index2); }

void TStrings::Move(int curIndex, int newIndex) {
  strings_core::Move(*this, curIndex, newIndex, [this](int index) { Error(SListIndexError, index); });
}

int TStrings::IndexOf(const std::string& s) const { return strings_core::IndexOf(*this, s); }

int TStrings::IndexOfName(const std::string& name) const {
  const char separator = nameValueSeparator_;
  return strings_core::IndexOfName(*this, name, [separator](const std::string& s) { return NameEnd(s, separator); });
}

int TStrings::IndexOfObject(TObject* obj) const { return strings_core::IndexOfObject(*this, obj); }

void TStrings::Assign(TPersistent* source) {
  if (auto* strings = dynamic_cast<TStrings*>(source)) {
    if (strings == this) return;
    TUpdateScope update(this);
    Clear();
    delimiter_ = strings->delimiter_;
    quoteChar_ = strings->quoteChar_;
    nameValueSeparator_ = strings->nameValueSeparator_;
    AddStrings(strings);
    return;
  }
  inherited::Assign(source);
}

bool TStrings::Equals(TStrings* strings) const { return strings_core::Equal(*this, *strings); }

void TStrings::BeginUpdate() {
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TStrings::EndUpdate() {
  --updateCount_;
  if (updateCount_ == 0) SetUpdateState(false);
}

std::string TStrings::ExtractName(const std::string& s) const {
  size_t p = NameEnd(s, nameValueSeparator_);
  return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStrings::GetName(int index) const { return ExtractName(Get(index)); }

namespace {
// The text after the first separator; "" for a line that has none.
std::string ValuePart(const std::string& line, char separator) {
  size_t p = NameEnd(line, separator);
  return p == std::string::npos ? std::string() : line.substr(p + 1);
}
}  // namespace

std::string TStrings::GetValue(const std::string& name) const {
  int i = IndexOfName(name);
  return i < 0 ? std::string() : ValuePart(Get(i), nameValueSeparator_);
}

void TStrings::SetValue(const std::string& name, const std::string& value) {
  int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  std::string line = name + nameValueSeparator_ + value;
  // A new line is added whole, so a sorted list puts it in its place.
  if (i < 0) Add(line);
  else Put(i, line);
}

std::string TStrings::GetValueFromIndex(int index) const {
  return index < 0 ? std::string() : ValuePart(Get(index), nameValueSeparator_);
}

void TStrings::SetValueFromIndex(int index, const std::string& value) {
  if (value.empty()) {
    if (index >= 0) Delete(index);
    return;
  }
  if (index < 0) Add(nameValueSeparator_ + value);
  else Put(index, GetName(index) + nameValueSeparator_ + value);
}

std::string TStrings::GetCommaText() const { return DelimitedText(*this, ',', '"'); }

void TStrings::SetCommaText(const std::string& value) {
  delimiter_ = ',';
  quoteChar_ = '"';
  SetDelimitedText(value);
}

std::string TStrings::GetDelimitedText() const { return DelimitedText(*this, delimiter_, quoteChar_); }

void TStrings::SetDelimitedText(const std::string& value) {
  strings_core::ReadDelimitedText(*this, value.data(), value.data() + value.size(), delimiter_, quoteChar_, IsBlank,
                                  AnsiExtractQuotedStr);
}

void TStrings::LoadFromFile(const std::string& fileName) {
  Owned<TFileStream> stream = MakeOwned<TFileStream>(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream.get());
}

void TStrings::LoadFromStream(TStream* stream) {
  TUpdateScope update(this);
  SetTextStr(ReadRestOfStream(stream));
}

void TStrings::SaveToFile(const std::string& fileName) {
  Owned<TFileStream> stream = MakeOwned<TFileStream>(fileName, fmCreate);
  SaveToStream(stream.get());
}

void TStrings::SaveToStream(TStream* stream) {
  std::string text = GetTextStr();
  stream->WriteBuffer(text.data(), static_cast<int>(text.size()));
}

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TStringList)

void TStringList::Destroy() {
  // No change events while the list goes.
  onChange_ = nullptr;
  onChanging_ = nullptr;
  inherited::Destroy();
}

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= GetCount()) Error(SListIndexError, index);
}

std::string TStringList::Get(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)].String;
}

TObject* TStringList::GetObject(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)].Object;
}

void TStringList::Changing() {
  if (GetUpdateCount() == 0 && onChanging_) onChanging_(this);
}

void TStringList::Changed() {
  if (GetUpdateCount() == 0 && onChange_) onChange_(this);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) Changing();
  else Changed();
}

int TStringList::CompareStrings(const std::string& s1, const std::string& s2) const {
  return caseSensitive_ ? AnsiCompareStr(s1, s2) : AnsiCompareText(s1, s2);
}

int TStringList::Add(const std::string& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const std::string& s, TObject* obj) {
  int index = GetCount();
  if (sorted_ && Find(s, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) Error(SDuplicateString, 0);
  }
  InsertItem(index, s, obj);
  return index;
}

void TStringList::Insert(int index, const std::string& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const std::string& s, TObject* obj) {
  if (sorted_) Error(SSortedListError, 0);
  if (index < 0 || index > GetCount()) Error(SListIndexError, index);
  InsertItem(index, s, obj);
}

void TStringList::InsertItem(int index, const std::string& s, TObject* obj) {
  Changing();
  if (GetCount() == capacity_) Grow();
  items_.insert(items_.begin() + index, TStringItem{s, obj});
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  SetCapacity(0);
  Changed();
}

void TStringList::Put(int index, const std::string& s) {
  if (sorted_) Error(SSortedListError, 0);
  CheckIndex(index);
  Changing();
  items_[static_cast<size_t>(index)].String = s;
  Changed();
}

void TStringList::PutObject(int index, TObject* obj) {
  CheckIndex(index);
  Changing();
  items_[static_cast<size_t>(index)].Object = obj;
  Changed();
}

void TStringList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
  Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
  // Refused before the item is taken out: a sorted list has no free places.
  if (sorted_ && curIndex != newIndex) Error(SSortedListError, 0);
  inherited::Move(curIndex, newIndex);
}

int TStringList::IndexOf(const std::string& s) const {
  if (!sorted_) return inherited::IndexOf(s);
  int index;
  return Find(s, index) ? index : -1;
}

bool TStringList::Find(const std::string& s, int& index) const {
  return strings_core::SortedFind(
      GetCount(), [&](int i) { return CompareStrings(items_[static_cast<size_t>(i)].String, s); },
      duplicates_ == dupAccept, index);
}

void TStringList::SetCapacity(int newCapacity) {
  if (newCapacity < GetCount() || newCapacity > MaxListSize) Error(SListCapacityError, newCapacity);
  capacity_ = newCapacity;
  if (newCapacity == 0) items_.shrink_to_fit();
  else items_.reserve(static_cast<size_t>(newCapacity));
}

void TStringList::Grow() { SetCapacity(capacity_ + ListGrowthDelta(capacity_)); }

namespace {
int CompareByStrings(TStringList* list, int index1, int index2) {
  return list->CompareStrings(list->Get(index1), list->Get(index2));
}
}  // namespace

void TStringList::Sort() { CustomSort(CompareByStrings); }

void TStringList::CustomSort(const TStringListSortFunction& compare) {
  if (!sorted_) SortItems(compare);
}

void TStringList::SortItems(const TStringListSortFunction& compare) {
  strings_core::SortItems(*this, items_, compare);
}

void TStringList::SetSorted(bool value) {
  if (sorted_ == value) return;
  if (value) Sort();
  sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value) {
  if (caseSensitive_ == value) return;
  caseSensitive_ = value;
  // A sorted list must be in the order of its new comparison (Sort itself
  // leaves a sorted list alone).
  if (sorted_) SortItems(CompareByStrings);
}

std::string ReadRestOfStream(TStream* stream) {
  int64_t size = stream->GetSize() - stream->GetPosition();
  std::string text(size > 0 ? static_cast<size_t>(size) : 0, '\0');
  int got = text.empty() ? 0 : stream->Read(text.data(), static_cast<int>(text.size()));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}
