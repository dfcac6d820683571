// TStrings and TStringList: lists of ANSI strings, each with an object
// reference beside it.
//
// TStrings is abstract. Everything it offers (names and values, text and
// comma text, loading and saving, Move, Exchange, IndexOf...) is built on a
// small virtual core: Get, GetCount, Insert, Delete and Clear, plus Put,
// GetObject/PutObject, GetCapacity/SetCapacity and SetUpdateState when a
// descendant keeps more than strings. Descendants that keep their items
// elsewhere (a list box window, another list) override that core only.
// The core is public because other libraries reach it from outside.
//
// TStringList keeps the items itself, optionally sorted, and never owns the
// objects it holds.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "classlib/System.h"
#include "classlib/TypInfo.h"
#include "classlib/classes/Errors.h"
#include "classlib/classes/Persistent.h"

class TStream;

inline constexpr const char* SSortedListError = "Operation not allowed on sorted list";
inline constexpr const char* SDuplicateString = "String list does not allow duplicates";
// "List index out of bounds (%d)" and "List capacity out of bounds (%d)" are
// the list messages of Lists.h, raised here as EStringListError.

enum TDuplicates { dupIgnore, dupAccept, dupError };
DECLARE_ENUM_TYPE(TDuplicates);

class TStrings : public TPersistent {
  DECLARE_CLASS(TStrings, TPersistent)

  // --- The virtual core --------------------------------------------------
  virtual std::string Get(int index) const = 0;
  virtual int GetCount() const = 0;
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  // Replaces the string, keeping the object (base: Delete, then InsertObject).
  virtual void Put(int index, const std::string& s);
  // Base: no objects are kept (nil; PutObject does nothing).
  virtual TObject* GetObject(int index) const;
  virtual void PutObject(int index, TObject* obj);
  // Base: the capacity is the count; setting it does nothing.
  virtual int GetCapacity() const;
  virtual void SetCapacity(int newCapacity);
  // Called when the first BeginUpdate starts and the last EndUpdate ends.
  virtual void SetUpdateState(bool updating);
  // Used by IndexOf, IndexOfName and sorting (base: AnsiCompareText).
  virtual int CompareStrings(const std::string& s1, const std::string& s2) const;
  // Every line followed by CR LF.
  virtual std::string GetTextStr() const;
  // Clears, then adds one line for each run ended by CR LF, LF or CR.
  virtual void SetTextStr(const std::string& value);

  // Returns the index of the new string.
  virtual int Add(const std::string& s);
  virtual int AddObject(const std::string& s, TObject* obj);
  void Append(const std::string& s) { Add(s); }
  virtual void AddStrings(TStrings* strings);
  virtual void InsertObject(int index, const std::string& s, TObject* obj);
  virtual void Exchange(int index1, int index2);
  virtual void Move(int curIndex, int newIndex);
  virtual int IndexOf(const std::string& s) const;
  virtual int IndexOfName(const std::string& name) const;
  virtual int IndexOfObject(TObject* obj) const;

  // From another TStrings: its separators, quote character and items.
  void Assign(TPersistent* source) override;
  // Same count and the same strings, compared exactly.
  bool Equals(TStrings* strings) const;

  void BeginUpdate();
  void EndUpdate();
  int GetUpdateCount() const { return updateCount_; }

  // --- Properties ----------------------------------------------------------
  // Names[i]: the part before the first separator, "" when there is none.
  std::string GetName(int index) const;
  // Values[name]: the part after "name=" of the first such line, "" when none.
  std::string GetValue(const std::string& name) const;
  // Sets "name=value"; an empty value deletes the line.
  void SetValue(const std::string& name, const std::string& value);
  std::string GetValueFromIndex(int index) const;
  void SetValueFromIndex(int index, const std::string& value);

  std::string GetText() const { return GetTextStr(); }
  void SetText(const std::string& text) { SetTextStr(text); }
  std::string GetCommaText() const;
  void SetCommaText(const std::string& value);
  std::string GetDelimitedText() const;
  void SetDelimitedText(const std::string& value);

  char GetDelimiter() const { return delimiter_; }
  void SetDelimiter(char c) { delimiter_ = c; }
  char GetQuoteChar() const { return quoteChar_; }
  void SetQuoteChar(char c) { quoteChar_ = c; }
  char GetNameValueSeparator() const { return nameValueSeparator_; }
  void SetNameValueSeparator(char c) { nameValueSeparator_ = c; }

  // --- Files and streams (ANSI bytes as they are) ----------------------------
  virtual void LoadFromFile(const std::string& fileName);
  virtual void LoadFromStream(TStream* stream);
  virtual void SaveToFile(const std::string& fileName);
  virtual void SaveToStream(TStream* stream);

  // --- Stored forms: the "Strings" property ----------------------------------
  void DefineProperties(TFiler* filer) override;
  void ReadData(TReader* reader);
  void WriteData(TWriter* writer);

  // Raises EStringListError with msg formatted with data ("%d").
  [[noreturn]] void Error(const char* msg, int data) const;
  // The part of s before the first name/value separator ("" when none).
  std::string ExtractName(const std::string& s) const;

 private:
  char delimiter_ = ',';
  char quoteChar_ = '"';
  char nameValueSeparator_ = '=';
  int updateCount_ = 0;
};

class TStringList;
// Negative when item index1 sorts before item index2, 0 when equal.
using TStringListSortCompare = int (*)(TStringList* list, int index1, int index2);
using TStringListSortFunction = std::function<int(TStringList* list, int index1, int index2)>;

class TStringList : public TStrings {
  DECLARE_CLASS(TStringList, TStrings)

  std::string Get(int index) const override;
  int GetCount() const override { return static_cast<int>(items_.size()); }
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* obj) override;
  int GetCapacity() const override { return capacity_; }
  void SetCapacity(int newCapacity) override;
  void SetUpdateState(bool updating) override;
  // AnsiCompareStr when CaseSensitive, else AnsiCompareText.
  int CompareStrings(const std::string& s1, const std::string& s2) const override;

  // Sorted: the place Find gives (dupIgnore returns the existing index,
  // dupError raises); unsorted: the end.
  int Add(const std::string& s) override;
  int AddObject(const std::string& s, TObject* obj) override;
  void InsertObject(int index, const std::string& s, TObject* obj) override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;
  int IndexOf(const std::string& s) const override;

  // Binary search of a sorted list: true when found; index receives the
  // item's place (with dupAccept the first equal item), or the insertion
  // place when not found.
  virtual bool Find(const std::string& s, int& index) const;
  virtual void Sort();
  // Sorts an unsorted list with the given comparison (a plain function of the
  // platform's type or any callable).
  virtual void CustomSort(const TStringListSortFunction& compare);
  // OnChanging/OnChange, only while no update is in progress.
  virtual void Changing();
  virtual void Changed();
  virtual void InsertItem(int index, const std::string& s, TObject* obj);

  bool GetSorted() const { return sorted_; }
  void SetSorted(bool value);
  TDuplicates GetDuplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates value) { duplicates_ = value; }
  bool GetCaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value);
  TNotifyEvent GetOnChange() const { return onChange_; }
  void SetOnChange(TNotifyEvent e) { onChange_ = e; }
  TNotifyEvent GetOnChanging() const { return onChanging_; }
  void SetOnChanging(TNotifyEvent e) { onChanging_ = e; }

 protected:
  void Destroy() override;

 private:
  struct TStringItem {
    std::string String;
    TObject* Object = nullptr;
  };
  void CheckIndex(int index) const;
  void Grow();
  void SortItems(const TStringListSortFunction& compare);

  std::vector<TStringItem> items_;
  int capacity_ = 0;
  bool sorted_ = false;
  TDuplicates duplicates_ = dupIgnore;
  bool caseSensitive_ = false;
  TNotifyEvent onChange_;
  TNotifyEvent onChanging_;
};
