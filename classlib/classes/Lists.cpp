#include "classlib/classes/Lists.h"

#include "classlib/SysUtils.h"

IMPLEMENT_CLASS(TList)

void TList::Error(const char* msg, int data) { throw EListError(Format(msg, {data})); }

void TList::Destroy() {
  // Clear is virtual: descendants free or release their items here, while
  // the object is still whole.
  Clear();
  inherited::Destroy();
}

void TList::CheckIndex(int index) const {
  if (index < 0 || index >= count_) Error(SListIndexError, index);
}

int TList::Add(void* item) {
  int result = count_;
  if (result == GetCapacity()) Grow();
  items_[static_cast<size_t>(result)] = item;
  ++count_;
  if (item) Notify(item, lnAdded);
  return result;
}

void TList::Clear() {
  SetCount(0);
  SetCapacity(0);
}

void TList::Delete(int index) {
  CheckIndex(index);
  void* item = items_[static_cast<size_t>(index)];
  items_.erase(items_.begin() + index);
  items_.push_back(nullptr);
  --count_;
  if (item) Notify(item, lnDeleted);
}

void TList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
}

TList* TList::Expand() {
  if (count_ == GetCapacity()) Grow();
  return this;
}

void* TList::Extract(void* item) {
  int i = IndexOf(item);
  if (i < 0) return nullptr;
  // Delete must not report the item as deleted: it leaves as extracted.
  items_[static_cast<size_t>(i)] = nullptr;
  Delete(i);
  Notify(item, lnExtracted);
  return item;
}

void* TList::First() const { return Get(0); }
void* TList::Last() const { return Get(count_ - 1); }

int TList::IndexOf(void* item) const {
  for (int i = 0; i < count_; ++i)
    if (items_[static_cast<size_t>(i)] == item) return i;
  return -1;
}

void TList::Insert(int index, void* item) {
  if (index < 0 || index > count_) Error(SListIndexError, index);
  if (count_ == GetCapacity()) Grow();
  items_.pop_back();  // the spare slot at the end makes room
  items_.insert(items_.begin() + index, item);
  ++count_;
  if (item) Notify(item, lnAdded);
}

void TList::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  if (newIndex < 0 || newIndex >= count_) Error(SListIndexError, newIndex);
  CheckIndex(curIndex);
  // A move is neither an addition nor a deletion: no notifications.
  void* item = items_[static_cast<size_t>(curIndex)];
  items_.erase(items_.begin() + curIndex);
  items_.insert(items_.begin() + newIndex, item);
}

int TList::Remove(void* item) {
  int result = IndexOf(item);
  if (result >= 0) Delete(result);
  return result;
}

void TList::Pack() {
  for (int i = count_ - 1; i >= 0; --i)
    if (!items_[static_cast<size_t>(i)]) Delete(i);
}

void TList::Sort(TListSortCompare compare) {
  if (count_ < 2 || !compare) return;
  void** items = items_.data();
  ListQuickSort(
      0, count_ - 1, [&](int i, int p) { return compare(items[i], items[p]); },
      [&](int i, int j) { std::swap(items[i], items[j]); });
}

void TList::Assign(TList* source) {
  if (source == this) return;
  Clear();
  SetCapacity(source->GetCapacity());
  for (int i = 0; i < source->count_; ++i) Add(source->items_[static_cast<size_t>(i)]);
}

void* TList::Get(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)];
}

void TList::Put(int index, void* item) {
  CheckIndex(index);
  void* old = items_[static_cast<size_t>(index)];
  if (item == old) return;
  items_[static_cast<size_t>(index)] = item;
  if (old) Notify(old, lnDeleted);
  if (item) Notify(item, lnAdded);
}

void TList::SetCount(int newCount) {
  if (newCount < 0 || newCount > MaxListSize) Error(SListCountError, newCount);
  if (newCount > GetCapacity()) SetCapacity(newCount);
  if (newCount > count_) {
    // The spare slots are always nil, so growing only moves the count.
    count_ = newCount;
  } else {
    // Always the last item: a Notify override (an owned object being freed)
    // may take other items out of the list meanwhile.
    while (count_ > newCount) Delete(count_ - 1);
  }
}

void TList::SetCapacity(int newCapacity) {
  if (newCapacity < count_ || newCapacity > MaxListSize) Error(SListCapacityError, newCapacity);
  items_.resize(static_cast<size_t>(newCapacity), nullptr);
  if (newCapacity == 0) items_.shrink_to_fit();
}

void TList::Notify(void*, TListNotification) {}

void TList::Grow() { SetCapacity(GetCapacity() + ListGrowthDelta(GetCapacity())); }
