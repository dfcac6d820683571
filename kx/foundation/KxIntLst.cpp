#include "kx/foundation/KxIntLst.h"

#include <algorithm>

#include "classlib/SysUtils.h"

IMPLEMENT_CLASS(TKxIntegerList)

void TKxIntegerList::CheckIndex(int index) const {
  if (index < 0 || index >= GetCount()) TList::Error(SListIndexError, index);
}

void TKxIntegerList::CheckRange(int32_t value) const {
  if (min_ != max_ && (value < min_ || value > max_))
    throw EOutOfRange(Format("Value must be within %d..%d", {min_, max_}));
}

void TKxIntegerList::Assign(TPersistent* source) {
  if (auto* list = dynamic_cast<TKxIntegerList*>(source)) {
    if (list == this) return;
    Clear();
    AddIntegers(list);
    return;
  }
  inherited::Assign(source);
}

int32_t TKxIntegerList::GetItem(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)];
}

// SetItem, Exchange and Move do what they are asked on a sorted list too,
// without sorting again: a caller that unsorts the list this way owns the
// result (Find and IndexOf search as if it were sorted).
void TKxIntegerList::SetItem(int index, int32_t value) {
  CheckIndex(index);
  CheckRange(value);
  items_[static_cast<size_t>(index)] = value;
}

bool TKxIntegerList::Find(int32_t value, int& index) const {
  bool found = false;
  int low = 0, high = GetCount() - 1;
  while (low <= high) {
    int middle = (low + high) / 2;
    int32_t item = items_[static_cast<size_t>(middle)];
    if (item < value) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (item == value) {
        found = true;
        if (duplicates_ != dupAccept) low = middle;
      }
    }
  }
  index = low;
  return found;
}

int TKxIntegerList::Add(int32_t value) {
  int index = GetCount();
  if (sorted_ && Find(value, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) throw EListError("Duplicates not allowed");
  }
  InsertNumber(index, value);
  return index;
}

void TKxIntegerList::AddIntegers(TKxIntegerList* list) {
  for (int i = 0; i < list->GetCount(); ++i) Add(list->items_[static_cast<size_t>(i)]);
}

void TKxIntegerList::Clear() { items_.clear(); }

void TKxIntegerList::Delete(int index) {
  CheckIndex(index);
  items_.erase(items_.begin() + index);
}

bool TKxIntegerList::Equals(const TKxIntegerList* list) const { return list && list->items_ == items_; }

void TKxIntegerList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
}

int TKxIntegerList::IndexOf(int32_t value) const {
  if (sorted_) {
    int index = 0;
    return Find(value, index) ? index : -1;
  }
  auto it = std::find(items_.begin(), items_.end(), value);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TKxIntegerList::Insert(int index, int32_t value) {
  if (sorted_) throw EListError("Operation not allowed on sorted list");
  if (index < 0 || index > GetCount()) TList::Error(SListIndexError, index);
  InsertNumber(index, value);
}

void TKxIntegerList::InsertNumber(int index, int32_t value) {
  CheckRange(value);
  if (index < 0 || index > GetCount()) TList::Error(SListIndexError, index);
  items_.insert(items_.begin() + index, value);
}

void TKxIntegerList::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  int32_t value = items_[static_cast<size_t>(curIndex)];
  items_.erase(items_.begin() + curIndex);
  items_.insert(items_.begin() + newIndex, value);
}

void TKxIntegerList::Sort() {
  if (sorted_ || GetCount() <= 1) return;
  std::sort(items_.begin(), items_.end());
}

void TKxIntegerList::SetSorted(bool value) {
  if (value == sorted_) return;
  if (value) Sort();
  sorted_ = value;
}

void TKxIntegerList::SetMin(int32_t value) {
  if (value == min_) return;
  for (int32_t item : items_)
    if (item < value)
      throw EOutOfRange(Format("Unable to set new minimum value.\rList contains values below %d", {value}));
  min_ = value;
  if (max_ < min_) max_ = min_;
}

void TKxIntegerList::SetMax(int32_t value) {
  if (value == max_) return;
  for (int32_t item : items_)
    if (item > value)
      throw EOutOfRange(Format("Unable to set new maximum value.\rList contains values above %d", {value}));
  max_ = value;
  if (min_ > max_) min_ = max_;
}

void TKxIntegerList::ReadIntegers(TReader* reader) {
  Clear();
  reader->ReadListBegin();
  while (!reader->EndOfList()) Add(reader->ReadInteger());
  reader->ReadListEnd();
}

void TKxIntegerList::WriteIntegers(TWriter* writer) {
  writer->WriteListBegin();
  for (int32_t item : items_) writer->WriteInteger(item);
  writer->WriteListEnd();
}

void TKxIntegerList::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  auto* ancestor = dynamic_cast<TKxIntegerList*>(filer->GetAncestor());
  filer->DefineProperty(
      "Min", [this](TReader* r) { min_ = r->ReadInteger(); }, [this](TWriter* w) { w->WriteInteger(min_); },
      min_ != 0);
  filer->DefineProperty(
      "Max", [this](TReader* r) { max_ = r->ReadInteger(); }, [this](TWriter* w) { w->WriteInteger(max_); },
      max_ != 0);
  bool differs = ancestor ? !Equals(ancestor) : true;
  filer->DefineProperty(
      "Integers", [this](TReader* r) { ReadIntegers(r); }, [this](TWriter* w) { WriteIntegers(w); },
      GetCount() > 0 && differs);
}
