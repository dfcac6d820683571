// TList: the class library's list of untyped pointers.
//
// Items are stored as given; the list never owns what they point to. A
// descendant that must react when an item enters or leaves (TObjectList frees
// owned objects, TComponentList watches components) overrides Notify, which
// every path that adds or removes a non-nil item goes through.
#pragma once

#include <string>
#include <vector>

#include "classlib/System.h"
#include "classlib/TypInfo.h"
#include "classlib/classes/Errors.h"

inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
inline constexpr const char* SListCapacityError = "List capacity out of bounds (%d)";
inline constexpr const char* SListCountError = "List count out of bounds (%d)";

// The largest count and capacity the platform's list allows.
inline constexpr int MaxListSize = 0x7FFFFFFF / 16;

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// How much a full list grows: a quarter of a large list, 16 items of a
// middling one, 4 of a small one, as the platform's lists grow.
inline int ListGrowthDelta(int capacity) { return capacity > 64 ? capacity / 4 : capacity > 8 ? 16 : 4; }

// The platform's quick sort of the positions l..r of a list (TList and
// TStringList sort alike): compare(i, p) compares the items at positions i
// and p (the pivot), exchange(i, j) swaps two items, and the pivot's
// position follows its item when that is exchanged. The bounds guards only
// matter for a comparison that contradicts itself, which must not run off
// the list.
template <class Compare, class Exchange>
void ListQuickSort(int l, int r, const Compare& compare, const Exchange& exchange) {
  int i;
  do {
    i = l;
    int j = r;
    int p = (l + r) >> 1;
    do {
      while (i < r && compare(i, p) < 0) ++i;
      while (j > l && compare(j, p) > 0) --j;
      if (i <= j) {
        exchange(i, j);
        if (p == i) p = j;
        else if (p == j) p = i;
        ++i;
        --j;
      }
    } while (i <= j);
    if (l < j) ListQuickSort(l, j, compare, exchange);
    l = i;
  } while (i < r);
}

// Negative when item1 sorts before item2, 0 when equal, positive after.
using TListSortCompare = int (*)(void* item1, void* item2);

class TList : public TObject {
  DECLARE_CLASS(TList, TObject)

  int Add(void* item);
  virtual void Clear();
  void Delete(int index);
  void Exchange(int index1, int index2);
  // Grows the capacity when the list is full; returns the list itself.
  TList* Expand();
  // Removes item without the lnDeleted notification (lnExtracted instead);
  // returns item, or nullptr when it is not in the list.
  void* Extract(void* item);
  void* First() const;
  void* Last() const;
  int IndexOf(void* item) const;
  void Insert(int index, void* item);
  void Move(int curIndex, int newIndex);
  // Deletes the first occurrence; returns its former index or -1.
  int Remove(void* item);
  // Deletes every nil item.
  void Pack();
  void Sort(TListSortCompare compare);
  // Makes this list a copy of source's items.
  void Assign(TList* source);

  void* Get(int index) const;
  void Put(int index, void* item);
  int GetCount() const { return count_; }
  // A larger count appends nil items; a smaller one deletes from the end.
  void SetCount(int newCount);
  int GetCapacity() const { return static_cast<int>(items_.size()); }
  void SetCapacity(int newCapacity);
  // The item array (valid until the next change of capacity).
  void** GetList() { return items_.data(); }

  // Raises EListError with msg formatted with data ("%d").
  [[noreturn]] static void Error(const char* msg, int data);

  virtual void Notify(void* ptr, TListNotification action);
  virtual void Grow();

 protected:
  void Destroy() override;

 private:
  void CheckIndex(int index) const;

  // Capacity is items_.size(); only the first count_ entries are items.
  std::vector<void*> items_;
  int count_ = 0;
};
