// KxIntLst: TKxIntegerList, a persistent list of integers with optional
// sorting, duplicate rules and a value range, stored in forms as the list
// properties "Min", "Max" and "Integers".
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/Classes.h"

// The library's range violation.
DECLARE_EXCEPTION(EOutOfRange, Exception);

class TKxIntegerList : public TPersistent {
  DECLARE_CLASS(TKxIntegerList, TPersistent)

  TKxIntegerList() = default;

  // From another integer list: Clear, then AddIntegers.
  void Assign(TPersistent* source) override;

  int GetCount() const { return static_cast<int>(items_.size()); }
  int32_t GetItem(int index) const;
  // Range-checked as InsertNumber; a sorted list is not sorted again.
  virtual void SetItem(int index, int32_t value);
  int32_t operator[](int index) const { return GetItem(index); }

  virtual int Add(int32_t value);
  virtual void AddIntegers(TKxIntegerList* list);
  virtual void Clear();
  virtual void Delete(int index);
  bool Equals(const TKxIntegerList* list) const;
  // Exchange and Move move entries on a sorted list too, unsorting it.
  virtual void Exchange(int index1, int index2);
  // Binary search of a sorted list: the position found, or where the value
  // would go.
  virtual bool Find(int32_t value, int& index) const;
  virtual int IndexOf(int32_t value) const;
  virtual void Insert(int index, int32_t value);
  virtual void InsertNumber(int index, int32_t value);
  virtual void Move(int curIndex, int newIndex);
  virtual void Sort();

  bool GetSorted() const { return sorted_; }
  void SetSorted(bool value);
  TDuplicates GetDuplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates value) { duplicates_ = value; }
  int32_t GetMin() const { return min_; }
  void SetMin(int32_t value);
  int32_t GetMax() const { return max_; }
  void SetMax(int32_t value);

  void DefineProperties(TFiler* filer) override;

 private:
  void CheckIndex(int index) const;
  void CheckRange(int32_t value) const;
  void ReadIntegers(TReader* reader);
  void WriteIntegers(TWriter* writer);

  std::vector<int32_t> items_;
  bool sorted_ = false;
  TDuplicates duplicates_ = dupIgnore;
  int32_t min_ = 0;
  int32_t max_ = 0;
};
