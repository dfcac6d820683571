// VoxClasses: the UTF-16 counterpart of TStrings/TStringList, wide-file-name
// streams, and the wide property streaming of stored forms.
//
// TVoxStrings is an abstract list of wide strings with an object per item;
// everything it offers is built on Get, GetCount, Insert, Delete and Clear
// (and Put, GetObject/PutObject, capacity and update state where a
// descendant keeps more), so the wide controls keep their items in
// descendants that talk to the window. TVoxStringList keeps the items itself,
// optionally sorted. Every list exposes an ANSI view (AnsiStrings), so code
// written for TStrings can read and write it.
//
// Text files are read by their byte-order mark (FF FE, FE FF, EF BB BF,
// otherwise ANSI) and always written as UTF-16LE with FF FE.
//
// Stored forms keep a list's items as "WideStrings" (wide string values)
// and, where an item would not survive an older reader's ANSI path, also as
// "WideStrings_UTF7"; "Strings" and "WideStringsW" (UTF-8) are read only.
// A wide component calls VoxPersistent_AfterInherited_DefineProperties after
// its inherited DefineProperties, which adds "<Prop>_UTF7" (and reads
// "<Prop>W") for each published wide-string property.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Controls.h"
#include "classlib/Win.h"
#include "unicode/VoxSystem.h"

enum TVoxStreamCharSet { csAnsi, csUnicode, csUnicodeSwapped, csUtf8 };
DECLARE_ENUM_TYPE(TVoxStreamCharSet);

// Whether forms loaded at run time take the UTF-7 and UTF-8 companions of
// wide properties (always taken while designing). False from start-up.
extern bool RuntimeUTFStreaming;

// The character set of the stream's remaining bytes by their byte-order
// mark; a mark found is consumed, anything else leaves the position alone.
TVoxStreamCharSet AutoDetectCharacterSet(TStream* stream);

class TVoxStrings;

// An ANSI TStrings with wide file names and code-page aware loading and saving.
class TAnsiStrings : public TStrings {
  DECLARE_CLASS(TAnsiStrings, TStrings)

  using TStrings::LoadFromFile;
  using TStrings::SaveToFile;
  virtual void LoadFromStreamEx(TStream* stream, UINT codePage) = 0;
  virtual void SaveToStreamEx(TStream* stream, UINT codePage) = 0;
  void LoadFromFile(const std::wstring& fileName);
  void SaveToFile(const std::wstring& fileName);
  void LoadFromFileEx(const std::wstring& fileName, UINT codePage);
  // Code page 65001 (UTF-8) files begin with EF BB BF.
  void SaveToFileEx(const std::wstring& fileName, UINT codePage);
};

// The ANSI view of a wide list: items converted through the ANSI code page.
class TAnsiStringsForWideStrings : public TAnsiStrings {
  DECLARE_CLASS(TAnsiStringsForWideStrings, TAnsiStrings)

  explicit TAnsiStringsForWideStrings(TVoxStrings* owner) : owner_(owner) {}
  TVoxStrings* GetWideStrings() const { return owner_; }

  std::string Get(int index) const override;
  int GetCount() const override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* obj) override;
  void SetUpdateState(bool updating) override;
  // The whole of the stream's rest in the code page becomes the owner's text.
  void LoadFromStreamEx(TStream* stream, UINT codePage) override;
  // The owner's text in the code page, without a mark.
  void SaveToStreamEx(TStream* stream, UINT codePage) override;

 private:
  TVoxStrings* owner_;
};

// Told when it starts and stops serving a list (the platform's adapter
// interface between a string list and an OLE collection).
class IWideStringsAdapter {
 public:
  virtual ~IWideStringsAdapter() = default;
  virtual void ReferenceStrings(TVoxStrings* strings) = 0;
  virtual void ReleaseStrings() = 0;
};

enum TWideStringsDefinedItem { sdDelimiter, sdQuoteChar, sdNameValueSeparator };
using TWideStringsDefined = TSet<TWideStringsDefinedItem>;

class TVoxStrings : public TPersistent {
  DECLARE_CLASS(TVoxStrings, TPersistent)

  TVoxStrings();

  // --- The virtual core, in the platform's slot order ----------------------
  void AssignTo(TPersistent* dest) override;
  void DefineProperties(TFiler* filer) override;
  // From a wide list: its separators and items; from a TStrings: through
  // the ANSI view (each item widened with the ANSI code page).
  void Assign(TPersistent* source) override;
  virtual std::wstring Get(int index) const = 0;
  virtual int GetCapacity() const;
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int index) const;
  // Every item followed by CR LF.
  virtual std::wstring GetTextStr() const;
  virtual void Put(int index, const std::wstring& s);
  virtual void PutObject(int index, TObject* obj);
  virtual void SetCapacity(int newCapacity);
  // Clears, then one item per line: NUL ends the text, and CR LF, a lone
  // LF, a lone CR and CR LF U+2028 each end one line.
  virtual void SetTextStr(const std::wstring& value);
  virtual void SetUpdateState(bool updating);
  // Base: WideCompareText.
  virtual int CompareStrings(const std::wstring& s1, const std::wstring& s2) const;
  // Returns the index of the new item.
  virtual int Add(const std::wstring& s);
  virtual int AddObject(const std::wstring& s, TObject* obj);
  virtual void AddStrings(TVoxStrings* strings);
  virtual void Clear() = 0;
  virtual void Delete(int index) = 0;
  virtual void Exchange(int index1, int index2);
  // A StrNewW copy of the text; the caller frees it with StrDisposeW.
  virtual wchar_t* GetTextW() const;
  virtual int IndexOf(const std::wstring& s) const;
  virtual int IndexOfName(const std::wstring& name) const;
  virtual int IndexOfObject(TObject* obj) const;
  virtual void Insert(int index, const std::wstring& s) = 0;
  virtual void InsertObject(int index, const std::wstring& s, TObject* obj);
  virtual void LoadFromFile(const std::wstring& fileName);
  virtual void LoadFromStream(TStream* stream, bool withBOM = true);
  virtual void Move(int curIndex, int newIndex);
  virtual void SaveToFile(const std::wstring& fileName);
  virtual void SaveToStream(TStream* stream, bool withBOM = true);
  virtual void SetTextW(const wchar_t* text);

  void Append(const std::wstring& s) { Add(s); }
  void BeginUpdate();
  void EndUpdate();
  int GetUpdateCount() const { return updateCount_; }
  // Same count and the same items, compared exactly.
  bool Equals(const TVoxStrings* strings) const;
  // Raise EStringListError with msg formatted with data ("%d").
  [[noreturn]] void Error(const std::wstring& msg, int data) const;
  [[noreturn]] void Error(PResStringRec msg, int data) const;

  // --- Properties -------------------------------------------------------------
  std::wstring GetString(int index) const { return Get(index); }
  void SetString(int index, const std::wstring& s) { Put(index, s); }
  std::wstring ExtractName(const std::wstring& s) const;
  std::wstring GetName(int index) const { return ExtractName(Get(index)); }
  std::wstring GetValue(const std::wstring& name) const;
  void SetValue(const std::wstring& name, const std::wstring& value);
  std::wstring GetValueFromIndex(int index) const;
  void SetValueFromIndex(int index, const std::wstring& value);
  std::wstring GetText() const { return GetTextStr(); }
  void SetText(const std::wstring& text) { SetTextStr(text); }
  std::wstring GetCommaText() const;
  void SetCommaText(const std::wstring& value);
  std::wstring GetDelimitedText() const;
  void SetDelimitedText(const std::wstring& value);
  // Each gives its default (",", the double quote, "=") until it is set.
  wchar_t GetDelimiter() const;
  void SetDelimiter(wchar_t c);
  wchar_t GetQuoteChar() const;
  void SetQuoteChar(wchar_t c);
  wchar_t GetNameValueSeparator() const;
  void SetNameValueSeparator(wchar_t c);
  TWideStringsDefined GetDefined() const { return defined_; }

  TAnsiStrings* GetAnsiStrings() const { return ansiStrings_; }
  void SetAnsiStrings(TAnsiStrings* value);
  const std::shared_ptr<IWideStringsAdapter>& GetStringsAdapter() const { return adapter_; }
  void SetStringsAdapter(std::shared_ptr<IWideStringsAdapter> value);
  // The character set of the last file LoadFromFile read.
  TVoxStreamCharSet GetLastFileCharSet() const { return lastFileCharSet_; }

  // --- Stored forms ------------------------------------------------------------
  void ReadData(TReader* reader);
  void ReadDataUTF7(TReader* reader);
  void ReadDataUTF8(TReader* reader);
  void WriteData(TWriter* writer);
  void WriteDataUTF7(TWriter* writer);

 protected:
  void Destroy() override;

 private:
  std::wstring DelimitedText(wchar_t delimiter, wchar_t quote) const;
  wchar_t DefinedChar(TWideStringsDefinedItem item, wchar_t& slot, wchar_t def) const;
  void DefineChar(TWideStringsDefinedItem item, wchar_t& slot, wchar_t value);
  // Clears and adds the items inside one update.
  void ReplaceItems(const std::vector<std::wstring>& items);

  int updateCount_ = 0;
  std::shared_ptr<IWideStringsAdapter> adapter_;
  TAnsiStrings* ansiStrings_;
  TVoxStreamCharSet lastFileCharSet_ = csUnicode;
  mutable TWideStringsDefined defined_;
  mutable wchar_t delimiter_ = L',';
  mutable wchar_t quoteChar_ = L'"';
  mutable wchar_t nameValueSeparator_ = L'=';
};

class TVoxStringList;
// Negative when item index1 sorts before item index2, 0 when equal.
using TVoxStringListSortCompare = int (*)(TVoxStringList* list, int index1, int index2);

class TVoxStringList : public TVoxStrings {
  DECLARE_CLASS(TVoxStringList, TVoxStrings)

  TVoxStringList() = default;

  std::wstring Get(int index) const override;
  int GetCapacity() const override { return capacity_; }
  int GetCount() const override { return static_cast<int>(items_.size()); }
  TObject* GetObject(int index) const override;
  void Put(int index, const std::wstring& s) override;
  void PutObject(int index, TObject* obj) override;
  void SetCapacity(int newCapacity) override;
  void SetUpdateState(bool updating) override;
  // WideCompareStr when CaseSensitive, else WideCompareText.
  int CompareStrings(const std::wstring& s1, const std::wstring& s2) const override;
  int Add(const std::wstring& s) override;
  int AddObject(const std::wstring& s, TObject* obj) override;
  void Clear() override;
  void Delete(int index) override;
  void Exchange(int index1, int index2) override;
  int IndexOf(const std::wstring& s) const override;
  int IndexOfName(const std::wstring& name) const override;
  void Insert(int index, const std::wstring& s) override;
  void InsertObject(int index, const std::wstring& s, TObject* obj) override;
  void Move(int curIndex, int newIndex) override;

  // OnChanging/OnChange, only while no update is in progress.
  virtual void Changing();
  virtual void Changed();
  virtual void InsertItem(int index, const std::wstring& s, TObject* obj);
  // Binary search of a sorted list; index receives the item's place (with
  // dupAccept the first equal one) or the insertion place.
  virtual bool Find(const std::wstring& s, int& index) const;
  virtual void Sort();
  // Sorts an unsorted list of two or more items.
  virtual void CustomSort(TVoxStringListSortCompare compare);

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
  struct TItem {
    std::wstring String;
    TObject* Object = nullptr;
  };
  void CheckIndex(int index) const;
  void Grow();
  void SortItems(TVoxStringListSortCompare compare);
  static int CompareItems(TVoxStringList* list, int index1, int index2);

  std::vector<TItem> items_;
  int capacity_ = 0;
  bool sorted_ = false;
  TDuplicates duplicates_ = dupIgnore;
  bool caseSensitive_ = false;
  TNotifyEvent onChange_;
  TNotifyEvent onChanging_;
};

// --- Streams with wide file names --------------------------------------------------

class TVoxFileStream : public THandleStream {
  DECLARE_CLASS(TVoxFileStream, THandleStream)

  // fmCreate creates (WideFileCreate), anything else opens (WideFileOpen).
  // Raise EFCreateError "Cannot create file %s" / EFOpenError "Cannot open file %s".
  TVoxFileStream(const std::wstring& fileName, WORD mode);
  ~TVoxFileStream() override;
};

class TVoxMemoryStream : public TMemoryStream {
  DECLARE_CLASS(TVoxMemoryStream, TMemoryStream)

  using TMemoryStream::LoadFromFile;
  using TCustomMemoryStream::SaveToFile;
  void LoadFromFile(const std::wstring& fileName);
  void SaveToFile(const std::wstring& fileName);
};

class TVoxResourceStream : public TCustomMemoryStream {
  DECLARE_CLASS(TVoxResourceStream, TCustomMemoryStream)

  // Raise EResNotFound "Resource %s not found".
  TVoxResourceStream(HINSTANCE instance, const std::wstring& resName, const wchar_t* resType);
  TVoxResourceStream(HINSTANCE instance, int resId, const wchar_t* resType);
  ~TVoxResourceStream() override;

  // Raises EStreamError "Can't write to a read-only resource stream".
  int Write(const void* buffer, int count) override;
  using TCustomMemoryStream::SaveToFile;
  void SaveToFile(const std::wstring& fileName);

 private:
  void Initialize(HINSTANCE instance, const wchar_t* name, const wchar_t* type, const std::wstring& shownName);
  HRSRC resInfo_ = nullptr;
  HGLOBAL global_ = nullptr;
};

// --- Free routines ----------------------------------------------------------------------

// Binary search of a sorted TList by compare(item, target): true when found,
// index the item's place or the insertion place.
using TTargetCompare = int (*)(void* item, void* target);
bool FindSortedListByTarget(TList* list, TTargetCompare targetCompare, void* target, int& index);
// A class with a ProgID whose in-process server file exists.
bool ClassIsRegistered(const CLSID& clsid);

// --- Wide property streaming ------------------------------------------------------------

// Remembers the instance being filed and the one wide property being defined.
class TVoxWideStringPropertyFiler : public TPersistent {
  DECLARE_CLASS(TVoxWideStringPropertyFiler, TPersistent)

  TPersistent* Instance = nullptr;
  PPropInfo PropInfo = nullptr;

  void ReadDataUTF8(TReader* reader);
  void ReadDataUTF7(TReader* reader);
  void WriteDataUTF7(TWriter* writer);
};

// Called by every wide component's DefineProperties after the inherited one.
void VoxPersistent_AfterInherited_DefineProperties(TFiler* filer, TPersistent* instance);

// Unit start-up.
void InitializeVoxClasses();
