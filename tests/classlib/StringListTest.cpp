#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "tests/common/TestSupport.h"

namespace {

Owned<TStringList> ListOf(const Lines& lines) {
  Owned<TStringList> list = MakeOwned<TStringList>();
  for (const std::string& s : lines) list->Add(s);
  return list;
}

TEST(StringListTest, SortedListAndDuplicates) {
  struct Case {
    TDuplicates dup;
    std::vector<int> results;  // of Add for "b", "a", "c", "A"
    Lines lines;
    bool raises;
  } cases[] = {
      {dupIgnore, {0, 0, 2, 0}, {"a", "b", "c"}, false},
      {dupAccept, {0, 0, 2, 0}, {"A", "a", "b", "c"}, false},
      {dupError, {0, 0, 2}, {"a", "b", "c"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dup);
    Owned<TStringList> list = MakeOwned<TStringList>();
    list->SetSorted(true);
    list->SetDuplicates(c.dup);
    std::vector<int> results;
    std::string error = MessageOf<EStringListError>([&] {
      for (const char* s : {"b", "a", "c", "A"}) results.push_back(list->Add(s));
    });
    EXPECT_EQ(error, c.raises ? "String list does not allow duplicates" : "(no exception)");
    EXPECT_EQ(results, c.results);
    EXPECT_EQ(LinesOf(list.get()), c.lines);
  }
}

TEST(StringListTest, FindGivesTheFoundOrInsertionPlace) {
  Owned<TStringList> list = ListOf({"b", "d", "d", "d", "f"});
  list->SetSorted(true);
  struct Case {
    TDuplicates dup;
    const char* s;
    bool found;
    int index;
  } cases[] = {
      {dupIgnore, "a", false, 0}, {dupIgnore, "c", false, 1}, {dupIgnore, "D", true, 2},
      {dupIgnore, "e", false, 4}, {dupIgnore, "z", false, 5}, {dupAccept, "d", true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.s);
    list->SetDuplicates(c.dup);
    int index = -1;
    EXPECT_EQ(list->Find(c.s, index), c.found);
    EXPECT_EQ(index, c.index);
    EXPECT_EQ(list->IndexOf(c.s), c.found ? c.index : -1);
  }
}

TEST(StringListTest, SortedListRefusesPlacingWithoutLosingItems) {
  Owned<TStringList> list = ListOf({"c", "a", "b=2"});
  list->SetSorted(true);
  for (auto call : std::vector<std::function<void()>>{[&] { list->Insert(0, "x"); },
                                                      [&] { list->Put(1, "x"); },
                                                      [&] { list->Move(0, 2); },
                                                      [&] { list->SetValue("b", "1"); }}) {
    EXPECT_EQ(MessageOf<EStringListError>(call), "Operation not allowed on sorted list");
    EXPECT_EQ(LinesOf(list.get()), (Lines{"a", "b=2", "c"}));
  }
  // A new name=value line goes to its sorted place.
  list->SetValue("ab", "1");
  EXPECT_EQ(LinesOf(list.get()), (Lines{"a", "ab=1", "b=2", "c"}));
}

TEST(StringListTest, IndexErrorsNameTheIndexAndChangeNothing) {
  Owned<TStringList> list = ListOf({"a", "b"});
  struct Case {
    std::function<void()> call;
    const char* message;
  } cases[] = {
      {[&] { list->Get(-1); }, "List index out of bounds (-1)"},
      {[&] { list->GetObject(2); }, "List index out of bounds (2)"},
      {[&] { list->Delete(2); }, "List index out of bounds (2)"},
      {[&] { list->Insert(3, "x"); }, "List index out of bounds (3)"},
      {[&] { list->Exchange(0, 7); }, "List index out of bounds (7)"},
      {[&] { list->Move(0, 2); }, "List index out of bounds (2)"},
      {[&] { list->SetCapacity(1); }, "List capacity out of bounds (1)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(MessageOf<EStringListError>(c.call), c.message);
    EXPECT_EQ(LinesOf(list.get()), (Lines{"a", "b"}));
  }
}

TEST(StringListTest, NamesAndValues) {
  Owned<TStringList> list = ListOf({"a=1", "B=2", "c", "=x", "d=e=f", "b=3"});
  struct Case {
    int index;
    const char* name;
    const char* value;
  } cases[] = {{0, "a", "1"}, {1, "B", "2"}, {2, "", ""}, {3, "", "x"}, {4, "d", "e=f"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(list->GetName(c.index), c.name);
    EXPECT_EQ(list->GetValueFromIndex(c.index), c.value);
  }
  EXPECT_EQ(list->GetValue("b"), "2");  // first match, without regard to case
  EXPECT_EQ(list->GetValue("c"), "");   // a line without "=" has no name
  EXPECT_EQ(list->IndexOfName("D"), 4);

  list->SetValue("a", "9");
  list->SetValue("new", "v");
  list->SetValue("B", "");  // deletes the line
  list->SetValue("missing", "");
  list->SetValueFromIndex(0, "");
  list->SetValueFromIndex(1, "y");
  EXPECT_EQ(LinesOf(list.get()), (Lines{"c", "=y", "d=e=f", "b=3", "new=v"}));

  list->SetNameValueSeparator(':');
  list->SetValue("k", "v");
  EXPECT_EQ(list->GetValue("k"), "v");
  EXPECT_EQ(list->Get(5), "k:v");
}

TEST(StringListTest, ObjectsStayWithTheirStrings) {
  TObject objs[4];
  Owned<TStringList> list = MakeOwned<TStringList>();
  const char* names[] = {"d", "b", "a", "c"};
  for (int i = 0; i < 4; ++i) list->AddObject(names[i], &objs[i]);
  auto check = [&] {
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(names[i]);
      EXPECT_EQ(list->GetObject(list->IndexOf(names[i])), &objs[i]);
    }
  };
  list->Sort();
  EXPECT_EQ(LinesOf(list.get()), (Lines{"a", "b", "c", "d"}));
  check();
  list->Exchange(0, 3);
  check();
  list->Move(0, 2);
  check();
  list->Put(1, "c");
  check();
  list->CustomSort([](TStringList* l, int i, int j) { return l->Get(j).compare(l->Get(i)); });
  EXPECT_EQ(LinesOf(list.get()), (Lines{"d", "c", "b", "a"}));
  check();
  EXPECT_EQ(list->IndexOfObject(&objs[2]), 3);
}

TEST(StringListTest, AddStringsOfItselfDoublesTheList) {
  Owned<TStringList> list = ListOf({"a", "b"});
  TObject marker;
  list->PutObject(1, &marker);
  list->AddStrings(list.get());
  EXPECT_EQ(LinesOf(list.get()), (Lines{"a", "b", "a", "b"}));
  EXPECT_EQ(list->GetObject(3), &marker);
}

TEST(StringListTest, CaseSensitivityChangesTheSortedOrder) {
  Owned<TStringList> list = ListOf({"b", "B", "a"});
  list->SetSorted(true);
  EXPECT_EQ(list->IndexOf("A"), 0);
  list->SetCaseSensitive(true);
  EXPECT_EQ(list->IndexOf("A"), -1);
  // The user's locale sorts lower case before upper case of the same letter.
  EXPECT_EQ(LinesOf(list.get()), (Lines{"a", "b", "B"}));
}

TEST(StringListTest, TextSplitsOnCrLfCrAndLfAndJoinsWithCrLf) {
  struct Case {
    const char* text;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\rc", {"a", "b", "c"}},
      {"a\r\n", {"a"}},
      {"a\r\n\r\n", {"a", ""}},
      {"\r\n", {""}},
      {"a\n\rb", {"a", "", "b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Owned<TStringList> list = ListOf({"old"});
    list->SetText(c.text);
    EXPECT_EQ(LinesOf(list.get()), c.lines);
  }
  // A NUL inside the text is kept as data.
  Owned<TStringList> list = MakeOwned<TStringList>();
  list->SetTextStr(std::string("a\0b\nc", 5));
  EXPECT_EQ(LinesOf(list.get()), (Lines{std::string("a\0b", 3), "c"}));
  EXPECT_EQ(ListOf({"a", "", "b"})->GetText(), "a\r\n\r\nb\r\n");
}

TEST(StringListTest, CommaTextQuotesWhatWouldNotReadBack) {
  struct Case {
    Lines lines;
    const char* text;
  } cases[] = {
      {{}, ""},
      {{""}, "\"\""},
      {{"a", "b"}, "a,b"},
      {{"a b"}, "\"a b\""},
      {{"a,b", "c"}, "\"a,b\",c"},
      {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
      {{"a", ""}, "a,"},
      {{"", "a"}, ",a"},
      {{"a", "", "b"}, "a,,b"},
      {{" lead", "tab\t"}, "\" lead\",\"tab\t\""},
      {{"x\r\ny"}, "\"x\r\ny\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ListOf(c.lines)->GetCommaText(), c.text);
    Owned<TStringList> back = ListOf({"old"});
    back->SetCommaText(c.text);
    EXPECT_EQ(LinesOf(back.get()), c.lines);
  }
}

TEST(StringListTest, CommaTextReading) {
  struct Case {
    const char* text;
    Lines lines;
  } cases[] = {
      {"a b", {"a", "b"}},
      {"  a ,  b ,c  ", {"a", "b", "c"}},
      {"a,b,", {"a", "b", ""}},
      {"a, ", {"a"}},
      {"\"x\"\"y\"", {"x\"y"}},
      {"\"ab\"cd,e", {"ab", "cd", "e"}},
      {"\"unterminated", {"unterminated"}},
      {"a\"b", {"a\"b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Owned<TStringList> list = MakeOwned<TStringList>();
    list->SetCommaText(c.text);
    EXPECT_EQ(LinesOf(list.get()), c.lines);
  }
}

TEST(StringListTest, DelimitedTextUsesItsOwnDelimiterAndQuote) {
  Owned<TStringList> list = ListOf({"a;b", "it's", "c,d"});
  list->SetDelimiter(';');
  list->SetQuoteChar('\'');
  EXPECT_EQ(list->GetDelimitedText(), "'a;b';'it''s';c,d");
  // CommaText leaves the list's own characters alone when read...
  EXPECT_EQ(list->GetCommaText(), "a;b,it's,\"c,d\"");
  EXPECT_EQ(list->GetDelimiter(), ';');
  Owned<TStringList> back = MakeOwned<TStringList>();
  back->SetDelimiter(';');
  back->SetQuoteChar('\'');
  back->SetDelimitedText(list->GetDelimitedText());
  EXPECT_EQ(LinesOf(back.get()), LinesOf(list.get()));
  // ...and sets them when written.
  back->SetCommaText("x");
  EXPECT_EQ(back->GetDelimiter(), ',');
  EXPECT_EQ(back->GetQuoteChar(), '"');
}

class ChangeCounter : public TObject {
 public:
  int changes = 0;
  int changings = 0;
  void Change(TObject*) { ++changes; }
  void Changing(TObject*) { ++changings; }
};

TEST(StringListTest, ChangeEventsFireOncePerUpdate) {
  Owned<ChangeCounter> counter = MakeOwned<ChangeCounter>();
  Owned<TStringList> list = MakeOwned<TStringList>();
  list->SetOnChange(TNotifyEvent(counter.get(), &ChangeCounter::Change));
  list->SetOnChanging(TNotifyEvent(counter.get(), &ChangeCounter::Changing));
  list->Add("a");
  list->Add("b");
  EXPECT_EQ(counter->changes, 2);
  EXPECT_EQ(counter->changings, 2);

  list->BeginUpdate();
  list->BeginUpdate();
  list->Add("c");
  list->Delete(0);
  list->SetText("x\r\ny");
  list->EndUpdate();
  EXPECT_EQ(counter->changes, 2);
  list->EndUpdate();
  EXPECT_EQ(counter->changes, 3);
  EXPECT_EQ(counter->changings, 3);

  // Operations made of several steps change once as a whole.
  list->Move(0, 1);
  list->SetCommaText("p,q,r");
  list->Sort();
  // Each reports one change, even a sort that moves nothing.
  EXPECT_EQ(counter->changes, 6);
  EXPECT_EQ(counter->changings, 6);
  EXPECT_EQ(list->GetUpdateCount(), 0);
}

// Keeps its lines in a vector it does not own, the way a control keeps its
// items in its window: only the abstract core is overridden.
class TExternalStrings : public TStrings {
  DECLARE_CLASS(TExternalStrings, TStrings)
  explicit TExternalStrings(Lines* store) : store_(store) {}
  std::string Get(int index) const override {
    if (index < 0 || index >= GetCount()) Error("List index out of bounds (%d)", index);
    return (*store_)[static_cast<size_t>(index)];
  }
  int GetCount() const override { return static_cast<int>(store_->size()); }
  void Insert(int index, const std::string& s) override {
    if (index < 0 || index > GetCount()) Error("List index out of bounds (%d)", index);
    store_->insert(store_->begin() + index, s);
  }
  void Delete(int index) override {
    if (index < 0 || index >= GetCount()) Error("List index out of bounds (%d)", index);
    store_->erase(store_->begin() + index);
  }
  void Clear() override { store_->clear(); }

 private:
  Lines* store_;
};
IMPLEMENT_CLASS(TExternalStrings)

TEST(StringListTest, ADescendantWithItsItemsElsewhereGetsTheWholeBase) {
  Lines store;
  Owned<TExternalStrings> s = MakeOwned<TExternalStrings>(&store);
  EXPECT_EQ(s->Add("Alpha=1"), 0);
  s->Append("beta=2");
  s->SetValue("gamma", "3");
  EXPECT_EQ(s->IndexOf("ALPHA=1"), 0);
  EXPECT_EQ(s->GetValue("BETA"), "2");
  s->SetValue("beta", "20");
  s->SetValue("alpha", "");
  EXPECT_EQ(store, (Lines{"beta=20", "gamma=3"}));
  s->Exchange(0, 1);
  s->Move(1, 0);
  s->Put(1, "g=3");
  EXPECT_EQ(store, (Lines{"beta=20", "g=3"}));
  EXPECT_EQ(s->GetText(), "beta=20\r\ng=3\r\n");
  s->SetText("x\ny z");
  EXPECT_EQ(s->GetCommaText(), "x,\"y z\"");
  EXPECT_EQ(s->GetObject(0), nullptr);
  EXPECT_EQ(s->GetCapacity(), 2);

  Owned<TStringList> other = ListOf({"p", "q"});
  s->Assign(other.get());
  EXPECT_EQ(store, (Lines{"p", "q"}));
  other->Assign(s.get());
  EXPECT_TRUE(other->Equals(s.get()));
  s->AddStrings(other.get());
  EXPECT_EQ(store, (Lines{"p", "q", "p", "q"}));
  EXPECT_FALSE(other->Equals(s.get()));
  EXPECT_EQ(MessageOf<EStringListError>([&] { s->Move(0, 4); }), "List index out of bounds (4)");
  EXPECT_EQ(store.size(), 4u);
  EXPECT_THROW(s->Assign(MakeOwned<TPersistent>().get()), EConvertError);
}

}  // namespace
