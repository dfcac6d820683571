// Wide string lists: splitting, delimited text, sorting, duplicates,
// capacity, names and values, the ANSI view, files by character set, and
// the wide streams.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "classlib/SysUtils.h"
#include "tests/common/DamagedUtf8.h"
#include "tests/common/TestSupport.h"
#include "tests/unicode/VoxTestSupport.h"
#include "unicode/VoxClasses.h"

namespace {

using WLines = std::vector<std::wstring>;

WLines ItemsOf(const TVoxStrings* s) {
  WLines out;
  for (int i = 0; i < s->GetCount(); ++i) out.push_back(s->Get(i));
  return out;
}

Owned<TVoxStringList> ListOf(const WLines& items) {
  Owned<TVoxStringList> l = MakeOwned<TVoxStringList>();
  for (const std::wstring& s : items) l->Add(s);
  return l;
}

// --- Text, lines and delimiters ----------------------------------------------------------

TEST(VoxStringList, TextSplitsAtEachKindOfLineBreak) {
  struct Case {
    std::wstring Text;
    WLines Items;
  };
  const Case cases[] = {
      {L"a\r\nb", {L"a", L"b"}},
      {L"a\r\n", {L"a"}},
      {L"a\n\rb", {L"a", L"", L"b"}},
      {L"a\rb\nc", {L"a", L"b", L"c"}},
      {L"a\r\n\u2028b", {L"a", L"b"}},
      {L"a\u2028\u2028b", {L"a", L"", L"b"}},
      {std::wstring(L"a\0b", 3), {L"a"}},
      {L"\r\n", {L""}},
      {L"", {}},
      {L"\u0416\U0001F600\r\n\u00E9", {L"\u0416\U0001F600", L"\u00E9"}},
  };
  Owned<TVoxStringList> l = MakeOwned<TVoxStringList>();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Text));
    l->SetText(c.Text);
    EXPECT_EQ(c.Items, ItemsOf(l.get()));
  }
  l->SetText(L"a\nb");
  EXPECT_EQ(std::wstring(L"a\r\nb\r\n"), l->GetText());
  wchar_t* text = l->GetTextW();
  EXPECT_EQ(std::wstring(L"a\r\nb\r\n"), text);
  StrDisposeW(text);
  l->SetTextW(nullptr);
  EXPECT_EQ(0, l->GetCount());
}

TEST(VoxStringList, DelimitedTextIsReadAsThePlatformReadsIt) {
  struct Case {
    const wchar_t* Text;
    WLines Items;
  };
  const Case cases[] = {
      {L"a,b,", {L"a", L"b", L""}},
      {L"a b", {L"a", L"b"}},
      {L"\"x,y\",z", {L"x,y", L"z"}},
      {L"  a , b  ", {L"a", L"b"}},
      {L"\"a\"\"b\"", {L"a\"b"}},
      {L",a", {L"", L"a"}},
      {L"a,,b", {L"a", L"", L"b"}},
      {L"\"open", {L"open"}},
      {L"\"\"", {L""}},
      {L"", {}},
      {L"\u0416\u00E9,\U0001F600", {L"\u0416\u00E9", L"\U0001F600"}},
  };
  Owned<TVoxStringList> l = MakeOwned<TVoxStringList>();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    l->SetDelimitedText(c.Text);
    EXPECT_EQ(c.Items, ItemsOf(l.get()));
  }
}

TEST(VoxStringList, DelimitedTextIsWrittenWithQuotesWhereNeeded) {
  struct Case {
    WLines Items;
    const wchar_t* Text;
  };
  const Case cases[] = {
      {{L""}, L"\"\""},
      {{}, L""},
      {{L"a b", L"c"}, L"\"a b\",c"},
      {{L"", L"x"}, L",x"},
      {{L"a,b", L"say \"hi\""}, L"\"a,b\",\"say \"\"hi\"\"\""},
      {{L"\u0416"}, L"\u0416"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    Owned<TVoxStringList> l = ListOf(c.Items);
    EXPECT_EQ(std::wstring(c.Text), l->GetDelimitedText());
    // And back.
    Owned<TVoxStringList> back = MakeOwned<TVoxStringList>();
    back->SetDelimitedText(l->GetDelimitedText());
    if (!c.Items.empty()) {
      EXPECT_EQ(c.Items, ItemsOf(back.get()));
    }
  }
  Owned<TVoxStringList> l = ListOf({L"a;b", L"c"});
  l->SetDelimiter(L';');
  l->SetQuoteChar(L'\'');
  EXPECT_EQ(std::wstring(L"'a;b';c"), l->GetDelimitedText());
  // Comma text uses comma and double quote and leaves the list's own alone.
  EXPECT_EQ(std::wstring(L"a;b,c"), l->GetCommaText());
  EXPECT_EQ(L';', l->GetDelimiter());
  EXPECT_EQ(L'\'', l->GetQuoteChar());
  l->SetCommaText(L"x,\"y z\"");
  EXPECT_EQ((WLines{L"x", L"y z"}), ItemsOf(l.get()));
  EXPECT_EQ(L',', l->GetDelimiter());
}

TEST(VoxStringList, SeparatorsHaveDefaultsUntilSet) {
  Owned<TVoxStringList> l = MakeOwned<TVoxStringList>();
  EXPECT_TRUE(l->GetDefined().Empty());
  EXPECT_EQ(L'=', l->GetNameValueSeparator());
  EXPECT_TRUE(l->GetDefined().Contains(sdNameValueSeparator));
  l->SetDelimiter(L'|');
  Owned<TVoxStringList> copy = MakeOwned<TVoxStringList>();
  copy->Assign(l.get());
  EXPECT_EQ(L'|', copy->GetDelimiter());
}

// --- Sorting, duplicates, capacity ---------------------------------------------------------

TEST(VoxStringList, CapacityGrowsInThePlatformsSteps) {
  Owned<TVoxStringList> l = MakeOwned<TVoxStringList>();
  std::vector<int> steps{l->GetCapacity()};
  for (int i = 0; i < 80; ++i) {
    l->Add(L"x");
    if (l->GetCapacity() != steps.back()) steps.push_back(l->GetCapacity());
  }
  EXPECT_EQ((std::vector<int>{0, 4, 8, 12, 28, 44, 60, 76, 95}), steps);
  EXPECT_EQ("List capacity out of bounds (3)", MessageOf<EStringListError>([&] { l->SetCapacity(3); }));
  l->Clear();
  EXPECT_EQ(0, l->GetCapacity());
}

TEST(VoxStringList, SortedListsAndDuplicates) {
  Owned<TVoxStringList> l = ListOf({L"pear", L"Apple", L"\u00E9clair", L"fig"});
  l->SetSorted(true);
  EXPECT_EQ((WLines{L"Apple", L"\u00E9clair", L"fig", L"pear"}), ItemsOf(l.get()));
  EXPECT_EQ(1, l->Add(L"banana"));
  EXPECT_EQ(1, l->Add(L"BANANA")) << "dupIgnore gives the existing index";
  EXPECT_EQ(5, l->GetCount());
  l->SetDuplicates(dupError);
  EXPECT_EQ("String list does not allow duplicates", MessageOf<EStringListError>([&] { l->Add(L"fig"); }));
  l->SetDuplicates(dupAccept);
  l->Add(L"fig");
  EXPECT_EQ(6, l->GetCount());
  int index = -1;
  EXPECT_TRUE(l->Find(L"FIG", index));
  EXPECT_EQ(3, index) << "with dupAccept the first equal item";
  EXPECT_FALSE(l->Find(L"grape", index));
  EXPECT_EQ(5, index) << "the insertion place";
  EXPECT_EQ(2, l->IndexOf(L"\u00C9CLAIR"));
  EXPECT_EQ(-1, l->IndexOf(L"kiwi"));
  EXPECT_EQ("Operation not allowed on sorted list", MessageOf<EStringListError>([&] { l->Put(0, L"x"); }));
  EXPECT_EQ("Operation not allowed on sorted list", MessageOf<EStringListError>([&] { l->Insert(0, L"x"); }));
  l->SetCaseSensitive(true);
  EXPECT_EQ(-1, l->IndexOf(L"FIG"));
  l->SetSorted(false);
  l->Put(0, L"zebra");
  EXPECT_EQ(std::wstring(L"zebra"), l->Get(0));
}

TEST(VoxStringList, SortAgreesWithTheComparisonOnRandomItems) {
  std::mt19937 rng(99);
  const wchar_t alphabet[] = L"aAbB\u00E9\u00C9\u0436\u0416 -1";
  Owned<TVoxStringList> l = MakeOwned<TVoxStringList>();
  for (int i = 0; i < 500; ++i) {
    std::wstring s;
    for (int n = std::uniform_int_distribution<int>(0, 6)(rng); n > 0; --n)
      s += alphabet[std::uniform_int_distribution<int>(0, 11)(rng)];
    l->AddObject(s, reinterpret_cast<TObject*>(static_cast<intptr_t>(i + 1)));
  }
  WLines before = ItemsOf(l.get());
  std::vector<TObject*> objects;
  for (int i = 0; i < l->GetCount(); ++i) objects.push_back(l->GetObject(i));
  l->Sort();
  for (int i = 1; i < l->GetCount(); ++i)
    ASSERT_LE(WideCompareText(l->Get(i - 1), l->Get(i)), 0) << i;
  // Every item kept its object.
  for (int i = 0; i < l->GetCount(); ++i) {
    auto k = static_cast<size_t>(reinterpret_cast<intptr_t>(l->GetObject(i)) - 1);
    EXPECT_EQ(before[k], l->Get(i));
  }
  l->CustomSort([](TVoxStringList* list, int a, int b) {
    return static_cast<int>(list->Get(a).size()) - static_cast<int>(list->Get(b).size());
  });
  for (int i = 1; i < l->GetCount(); ++i) ASSERT_LE(l->Get(i - 1).size(), l->Get(i).size());
}

TEST(VoxStringList, IndexChecksNameTheOffendingIndex) {
  Owned<TVoxStringList> l = ListOf({L"a", L"b"});
  EXPECT_EQ("List index out of bounds (2)", MessageOf<EStringListError>([&] { l->Get(2); }));
  EXPECT_EQ("List index out of bounds (-1)", MessageOf<EStringListError>([&] { l->GetObject(-1); }));
  EXPECT_EQ("List index out of bounds (3)", MessageOf<EStringListError>([&] { l->Insert(3, L"x"); }));
  EXPECT_EQ("List index out of bounds (5)", MessageOf<EStringListError>([&] { l->Exchange(0, 5); }));
  EXPECT_EQ("List index out of bounds (2)", MessageOf<EStringListError>([&] { l->Delete(2); }));
  l->Insert(2, L"c");
  EXPECT_EQ((WLines{L"a", L"b", L"c"}), ItemsOf(l.get()));
  EXPECT_EQ("List index out of bounds (7)", MessageOf<EStringListError>([&] { l->Error(L"List index out of bounds (%d)", 7); }));
}

TEST(VoxStringList, NamesAndValues) {
  Owned<TVoxStringList> l = ListOf({L"Name=\u0416", L"plain", L"Empty=", L"a=b=c"});
  EXPECT_EQ(std::wstring(L"\u0416"), l->GetValue(L"name"));
  EXPECT_EQ(std::wstring(L"b=c"), l->GetValue(L"a"));
  EXPECT_EQ(std::wstring(), l->GetValue(L"plain"));
  EXPECT_EQ(std::wstring(), l->GetName(1));
  EXPECT_EQ(std::wstring(L"b=c"), l->GetValueFromIndex(3));
  EXPECT_EQ(std::wstring(), l->GetValueFromIndex(-1));
  l->SetValue(L"New", L"1");
  EXPECT_EQ(std::wstring(L"New=1"), l->Get(4));
  l->SetValue(L"Name", L"");
  EXPECT_EQ(-1, l->IndexOfName(L"Name"));
  l->SetValueFromIndex(-1, L"v");
  EXPECT_EQ(std::wstring(L"=v"), l->Get(l->GetCount() - 1));
  l->SetValueFromIndex(0, L"");
  EXPECT_EQ(std::wstring(L"Empty="), l->Get(0));
  l->SetNameValueSeparator(L':');
  l->SetText(L"k:v\r\nx:y");
  EXPECT_EQ(std::wstring(L"y"), l->GetValue(L"X"));
  l->SetSorted(true);
  EXPECT_EQ(1, l->IndexOfName(L"x"));
  EXPECT_EQ(-1, l->IndexOfName(L"z"));
}

// --- Events and the base operations -----------------------------------------------------------

class ChangeLog : public TObject {
 public:
  void Changing(TObject*) { log += "<"; }
  void Changed(TObject*) { log += ">"; }
  std::string log;
};

TEST(VoxStringList, ChangeEventsOnlyOutsideUpdates) {
  Owned<TVoxStringList> l = MakeOwned<TVoxStringList>();
  ChangeLog log;
  l->SetOnChanging(TNotifyEvent(&log, &ChangeLog::Changing));
  l->SetOnChange(TNotifyEvent(&log, &ChangeLog::Changed));
  l->Add(L"a");
  l->Add(L"b");
  l->Exchange(0, 1);
  l->Delete(0);
  EXPECT_EQ("<><><><>", log.log);
  log.log.clear();
  l->BeginUpdate();
  l->Add(L"c");
  l->Move(0, 1);
  l->Clear();
  l->EndUpdate();
  EXPECT_EQ("<>", log.log) << "once when the update starts and once when it ends";
  log.log.clear();
  l->Clear();
  EXPECT_EQ("", log.log) << "clearing an empty list changes nothing";
}

TEST(VoxStringList, MoveExchangeObjectsAndEquality) {
  Owned<TVoxStringList> l = ListOf({L"a", L"b", L"c"});
  TObject* o = reinterpret_cast<TObject*>(uintptr_t{0x10});
  l->PutObject(0, o);
  l->Move(0, 2);
  EXPECT_EQ((WLines{L"b", L"c", L"a"}), ItemsOf(l.get()));
  EXPECT_EQ(o, l->GetObject(2));
  EXPECT_EQ(2, l->IndexOfObject(o));
  l->Exchange(0, 2);
  EXPECT_EQ(o, l->GetObject(0));
  Owned<TVoxStringList> same = ListOf({L"a", L"c", L"b"});
  EXPECT_TRUE(l->Equals(same.get()));
  same->Put(0, L"A");
  EXPECT_FALSE(l->Equals(same.get())) << "exact comparison";
  l->AddStrings(same.get());
  EXPECT_EQ(6, l->GetCount());
}

// A list that refuses to grow past a limit, so that a list growing for ever
// fails the test instead of the machine.
class TCappedList : public TVoxStringList {
 public:
  explicit TCappedList(int cap) : cap_(cap) {}
  void InsertItem(int index, const std::wstring& s, TObject* obj) override {
    if (GetCount() >= cap_) throw EStringListError("grew past " + std::to_string(cap_));
    TVoxStringList::InsertItem(index, s, obj);
  }

 private:
  int cap_;
};

TEST(VoxStringList, AddStringsOfItselfDoublesTheList) {
  Owned<TCappedList> l = MakeOwned<TCappedList>(10);
  l->Add(L"a");
  l->Add(L"Ж");
  TObject marker;
  l->PutObject(1, &marker);
  l->AddStrings(l.get());
  EXPECT_EQ((WLines{L"a", L"Ж", L"a", L"Ж"}), ItemsOf(l.get()));
  EXPECT_EQ(&marker, l->GetObject(3));
}

TEST(VoxStringList, AssignFromItselfKeepsTheItems) {
  Owned<TVoxStringList> l = ListOf({L"a", L"Ж"});
  l->SetDelimiter(L';');
  l->Assign(l.get());
  EXPECT_EQ((WLines{L"a", L"Ж"}), ItemsOf(l.get()));
  EXPECT_EQ(L';', l->GetDelimiter());
}

TEST(VoxStringList, RefusedMovesAndCapacitiesLoseNothing) {
  struct TCase {
    bool Sorted;
    std::function<void(TVoxStringList*)> Call;
    const char* Message;
  };
  const TCase cases[] = {
      {false, [](TVoxStringList* l) { l->Move(0, 3); }, "List index out of bounds (3)"},
      {false, [](TVoxStringList* l) { l->Move(2, -1); }, "List index out of bounds (-1)"},
      {true, [](TVoxStringList* l) { l->Move(0, 2); }, "Operation not allowed on sorted list"},
      {true, [](TVoxStringList* l) { l->Move(2, 0); }, "Operation not allowed on sorted list"},
      {false, [](TVoxStringList* l) { l->SetCapacity(MaxListSize + 1); }, "List capacity out of bounds (134217728)"},
      {false, [](TVoxStringList* l) { l->SetCapacity(INT32_MAX); }, "List capacity out of bounds (2147483647)"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Message);
    Owned<TVoxStringList> l = ListOf({L"a", L"b", L"c"});
    TObject marker;
    l->PutObject(0, &marker);
    l->SetSorted(c.Sorted);
    EXPECT_EQ(c.Message, MessageOf<EStringListError>([&] { c.Call(l.get()); }));
    EXPECT_EQ((WLines{L"a", L"b", L"c"}), ItemsOf(l.get()));
    EXPECT_EQ(&marker, l->GetObject(0));
  }
}

TEST(VoxStringList, ASortWhoseComparisonContradictsItselfStaysOnTheList) {
  // Every item reads as before every other: the scans must stop at the
  // list's ends rather than read past them.
  for (int count : {2, 3, 7, 20}) {
    SCOPED_TRACE(count);
    Owned<TVoxStringList> l = MakeOwned<TVoxStringList>();
    for (int i = 0; i < count; ++i) l->Add(std::to_wstring(i));
    l->CustomSort([](TVoxStringList* list, int a, int b) {
      list->Get(a);
      list->Get(b);
      return -1;
    });
    WLines items = ItemsOf(l.get());
    std::sort(items.begin(), items.end());
    WLines expected;
    for (int i = 0; i < count; ++i) expected.push_back(std::to_wstring(i));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, items) << "every item still there once";
  }
}

TEST(VoxStringList, AnsiViewAndAssignment) {
  Owned<TVoxStringList> l = ListOf({L"caf\u00E9", L"\u0416"});
  TAnsiStrings* ansi = l->GetAnsiStrings();
  EXPECT_EQ(Lines({"caf\xE9", "?"}), LinesOf(ansi));
  ansi->Add("na\xEFve");
  EXPECT_EQ(std::wstring(L"na\u00EFve"), l->Get(2));
  ansi->Delete(0);
  EXPECT_EQ(2, l->GetCount());

  Owned<TStringList> plain = MakeOwned<TStringList>();
  plain->Add("\xE9t\xE9");
  l->Assign(plain.get());
  EXPECT_EQ((WLines{L"\u00E9t\u00E9"}), ItemsOf(l.get()));
  l->Add(L"\u0416");
  plain->Assign(l.get());
  EXPECT_EQ(Lines({"\xE9t\xE9", "?"}), LinesOf(plain.get()));
  Owned<TVoxWideStringPropertyFiler> other = MakeOwned<TVoxWideStringPropertyFiler>();
  EXPECT_THROW(l->Assign(other.get()), EConvertError);
}

class Adapter : public IWideStringsAdapter {
 public:
  void ReferenceStrings(TVoxStrings* s) override { log += s ? "ref " : "ref? "; }
  void ReleaseStrings() override { log += "release "; }
  std::string log;
};

TEST(VoxStringList, StringsAdapterIsToldWhenItServesAndStops) {
  auto a = std::make_shared<Adapter>();
  {
    Owned<TVoxStringList> l = MakeOwned<TVoxStringList>();
    l->SetStringsAdapter(a);
    EXPECT_EQ("ref ", a->log);
  }
  EXPECT_EQ("ref release ", a->log);
}

// --- Files by character set -----------------------------------------------------------------------

TEST(VoxStringFiles, LoadDetectsTheCharacterSet) {
  struct Case {
    const char* Name;
    std::string Bytes;
    TVoxStreamCharSet CharSet;
    WLines Items;
  };
  const Case cases[] = {
      {"UTF-16LE", std::string("\xFF\xFE" "a\0\r\0\n\0\x16\x04", 10), csUnicode, {L"a", L"\u0416"}},
      {"UTF-16BE", std::string("\xFE\xFF\0a\0\n\x04\x16", 8), csUnicodeSwapped, {L"a", L"\u0416"}},
      {"UTF-8", "\xEF\xBB\xBF\xD0\x96\r\n\xE2\x82\xAC", csUtf8, {L"\u0416", L"\u20AC"}},
      {"ANSI", "caf\xE9\nx", csAnsi, {L"caf\u00E9", L"x"}},
      {"empty", "", csAnsi, {}},
      {"one byte", "x", csAnsi, {L"x"}},
      {"a lone mark", "\xFF\xFE", csUnicode, {}},
      {"odd length", std::string("\xFF\xFE" "a\0b", 5), csUnicode, {L"a"}},
      {"cut UTF-16 pair", std::string("\xFF\xFE\x3D\xD8", 4), csUnicode, {std::wstring(1, wchar_t(0xD83D))}},
      {"cut UTF-8", "\xEF\xBB\xBF\xE2\x82", csUtf8, {L"\uFFFD"}},
      {"overlong UTF-8", "\xEF\xBB\xBF\xC0\xAF", csUtf8, {L"\uFFFD\uFFFD"}},
      {"half a UTF-8 mark", "\xEF\xBB", csAnsi, {L"\u00EF\u00BB"}},
  };
  TWideTempFolder dir(L"vox-load");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::wstring file = dir.Path(L"\u0416 list.txt");
    WriteFileBytes(file, c.Bytes);
    Owned<TVoxStringList> l = ListOf({L"old"});
    l->LoadFromFile(file);
    EXPECT_EQ(c.CharSet, l->GetLastFileCharSet());
    EXPECT_EQ(c.Items, ItemsOf(l.get()));
  }
}

// A UTF-8 file with a damaged line loads every line: the damaged one with
// U+FFFD for each bad sequence, through the marked file and through the ANSI
// view's code page 65001 alike.
TEST(VoxStringFiles, DamagedUtf8LineCostsOnlyItsBadBytes) {
  TWideTempFolder dir(L"vox-damaged");
  const std::wstring file = dir.Path(L"damaged.txt");
  for (const TDamagedUtf8& c : DamagedUtf8()) {
    SCOPED_TRACE(c.What);
    const std::string body = "first\r\n" + c.Bytes + "\r\n\xD0\x96 last";
    const WLines expected{L"first", c.Text, L"\u0416 last"};
    WriteFileBytes(file, "\xEF\xBB\xBF" + body);
    Owned<TVoxStringList> l = ListOf({L"old"});
    l->LoadFromFile(file);
    EXPECT_EQ(expected, ItemsOf(l.get()));
    WriteFileBytes(file, body);
    Owned<TVoxStringList> viaCodePage = ListOf({L"old"});
    viaCodePage->GetAnsiStrings()->LoadFromFileEx(file, CP_UTF8);
    EXPECT_EQ(expected, ItemsOf(viaCodePage.get()));
  }
}

TEST(VoxStringFiles, SaveWritesUtf16WithAMarkAndABreakAfterEveryItem) {
  TWideTempFolder dir(L"vox-save");
  const std::wstring file = dir.Path(L"\u4E2D\u6587.txt");
  Owned<TVoxStringList> l = ListOf({L"\u0416", L"", L"a\U0001F600"});
  l->SaveToFile(file);
  EXPECT_EQ(std::string("\xFF\xFE\x16\x04\r\0\n\0\r\0\n\0a\0\x3D\xD8\x00\xDE\r\0\n\0", 22), ReadFileBytes(file));
  Owned<TVoxStringList> back = MakeOwned<TVoxStringList>();
  back->LoadFromFile(file);
  EXPECT_TRUE(back->Equals(l.get()));
  // Streams without the mark are UTF-16LE both ways.
  Owned<TMemoryStream> m = MakeOwned<TMemoryStream>();
  l->SaveToStream(m.get(), false);
  EXPECT_EQ(20, m->GetSize());
  m->SetPosition(0);
  back->Clear();
  back->LoadFromStream(m.get(), false);
  EXPECT_TRUE(back->Equals(l.get()));
  EXPECT_EQ("Cannot open file " + WideToAnsi(dir.Path(L"missing.txt")),
            MessageOf<EFOpenError>([&] { back->LoadFromFile(dir.Path(L"missing.txt")); }));
  EXPECT_TRUE(back->Equals(l.get())) << "a failed load leaves the list alone";
  EXPECT_EQ(0u, MessageOf<EFCreateError>([&] { l->SaveToFile(dir.Path(L"no folder\\x.txt")); })
                    .find("Cannot create file "));
}

TEST(VoxStringFiles, AnsiViewLoadsAndSavesByCodePage) {
  TWideTempFolder dir(L"vox-codepage");
  Owned<TVoxStringList> l = MakeOwned<TVoxStringList>();
  TAnsiStrings* ansi = l->GetAnsiStrings();
  struct Case {
    UINT CodePage;
    std::string Bytes;
  };
  const Case cases[] = {
      {1251, "\xC6\r\n\xE6\r\n"},
      {CP_UTF8, "\xEF\xBB\xBF\xD0\x96\r\n\xD0\xB6\r\n"},
      {CP_UTF7, "+BBY\r\n+BDY\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.CodePage);
    l->SetText(L"\u0416\r\n\u0436");
    const std::wstring file = dir.Path(L"cp \u00E9.txt");
    ansi->SaveToFileEx(file, c.CodePage);
    EXPECT_EQ(c.Bytes, ReadFileBytes(file));
    l->Clear();
    WriteFileBytes(file, c.CodePage == CP_UTF8 ? c.Bytes.substr(3) : c.Bytes);
    ansi->LoadFromFileEx(file, c.CodePage);
    EXPECT_EQ((WLines{L"\u0416", L"\u0436"}), ItemsOf(l.get()));
  }
  // The plain ANSI file functions with a wide name.
  l->SetText(L"caf\u00E9");
  ansi->SaveToFile(dir.Path(L"\u0416.txt"));
  EXPECT_EQ("caf\xE9\r\n", ReadFileBytes(dir.Path(L"\u0416.txt")));
  l->Clear();
  ansi->LoadFromFile(dir.Path(L"\u0416.txt"));
  EXPECT_EQ((WLines{L"caf\u00E9"}), ItemsOf(l.get()));
  WriteFileBytes(dir.Path(L"bad.txt"), "+");
  EXPECT_EQ("Invalid UTF7", MessageOf<Exception>([&] { ansi->LoadFromFileEx(dir.Path(L"bad.txt"), CP_UTF7); }));
  EXPECT_EQ((WLines{L"caf\u00E9"}), ItemsOf(l.get())) << "nothing half-loaded";
}

// --- Streams ----------------------------------------------------------------------------------------

TEST(VoxStreams, FileMemoryAndResourceStreamsTakeWideNames) {
  TWideTempFolder dir(L"vox-streams");
  const std::wstring file = dir.Path(L"\u0416\u00E9.bin");
  {
    Owned<TVoxFileStream> s(New<TVoxFileStream>(file, fmCreate));
    s->WriteBuffer("abc", 3);
  }
  Owned<TVoxMemoryStream> m = MakeOwned<TVoxMemoryStream>();
  m->LoadFromFile(file);
  EXPECT_EQ(3, m->GetSize());
  m->SaveToFile(dir.Path(L"copy \u0416.bin"));
  EXPECT_EQ("abc", ReadFileBytes(dir.Path(L"copy \u0416.bin")));
  EXPECT_THROW(New<TVoxFileStream>(dir.Path(L"missing"), fmOpenRead), EFOpenError);

  Owned<TVoxResourceStream> r(New<TVoxResourceStream>(GetModuleHandleW(nullptr), L"VOXDATA", MAKEINTRESOURCEW(10)));
  std::string data(static_cast<size_t>(r->GetSize()), '\0');
  r->ReadBuffer(data.data(), static_cast<int>(data.size()));
  EXPECT_EQ(std::string("wide resource\0", 14), data.substr(0, 14));
  EXPECT_EQ("Can't write to a read-only resource stream", MessageOf<EStreamError>([&] { r->Write("x", 1); }));
  r->SaveToFile(dir.Path(L"res \u0416.bin"));
  EXPECT_EQ(data, ReadFileBytes(dir.Path(L"res \u0416.bin")));
  EXPECT_EQ("Resource NOPE not found",
            MessageOf<EResNotFound>([] { New<TVoxResourceStream>(GetModuleHandleW(nullptr), L"NOPE", MAKEINTRESOURCEW(10)); }));
  EXPECT_EQ("Resource 77 not found",
            MessageOf<EResNotFound>([] { New<TVoxResourceStream>(GetModuleHandleW(nullptr), 77, MAKEINTRESOURCEW(10)); }));
}

TEST(VoxStreams, AutoDetectLeavesWhatIsNoMark) {
  struct Case {
    std::string Bytes;
    TVoxStreamCharSet CharSet;
    int64_t Position;
  };
  const Case cases[] = {
      {"\xFF\xFExx", csUnicode, 2},       {"\xFE\xFFxx", csUnicodeSwapped, 2}, {"\xEF\xBB\xBFx", csUtf8, 3},
      {"\xEF\xBB\xBE", csAnsi, 0},         {"\xFF", csAnsi, 0},                 {"", csAnsi, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Bytes));
    Owned<TStringStream> s(New<TStringStream>(c.Bytes));
    EXPECT_EQ(c.CharSet, AutoDetectCharacterSet(s.get()));
    EXPECT_EQ(c.Position, s->GetPosition());
  }
}

// --- Free routines ------------------------------------------------------------------------------------

int CompareInts(void* item, void* target) {
  return static_cast<int>(reinterpret_cast<intptr_t>(item) - reinterpret_cast<intptr_t>(target));
}

TEST(VoxFreeRoutines, FindSortedListByTarget) {
  Owned<TList> list = MakeOwned<TList>();
  for (intptr_t v : {10, 20, 20, 30}) list->Add(reinterpret_cast<void*>(v));
  struct Case {
    intptr_t Target;
    bool Found;
    int Index;
  };
  for (const Case& c : {Case{20, true, 1}, Case{25, false, 3}, Case{5, false, 0}, Case{40, false, 4},
                        Case{30, true, 3}}) {
    SCOPED_TRACE(c.Target);
    int index = -1;
    EXPECT_EQ(c.Found, FindSortedListByTarget(list.get(), CompareInts, reinterpret_cast<void*>(c.Target), index));
    EXPECT_EQ(c.Index, index);
  }
  Owned<TList> empty = MakeOwned<TList>();
  int index = -1;
  EXPECT_FALSE(FindSortedListByTarget(empty.get(), CompareInts, nullptr, index));
  EXPECT_EQ(0, index);
}

TEST(VoxFreeRoutines, ClassIsRegisteredNeedsAServerFile) {
  // The XML document class has a ProgID and msxml.dll as its server.
  const CLSID xmlDom = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
  EXPECT_TRUE(ClassIsRegistered(xmlDom));
  // The shell's link object has a server but no ProgID.
  const CLSID shellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  EXPECT_FALSE(ClassIsRegistered(shellLink));
  const CLSID unknown = {0x12345678, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
  EXPECT_FALSE(ClassIsRegistered(unknown));
}

}  // namespace
