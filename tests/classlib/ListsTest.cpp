#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Contnrs.h"
#include "tests/common/TestSupport.h"

namespace {

void* P(intptr_t n) { return reinterpret_cast<void*>(n); }

TEST(ListsTest, IndexCountAndCapacityErrors) {
  Owned<TList> list = MakeOwned<TList>();
  list->Add(P(1));
  list->Add(P(2));
  struct Case {
    const char* what;
    std::function<void(TList*)> call;
    const char* message;
  } cases[] = {
      {"Get(-1)", [](TList* l) { l->Get(-1); }, "List index out of bounds (-1)"},
      {"Get(Count)", [](TList* l) { l->Get(2); }, "List index out of bounds (2)"},
      {"Put(Count)", [](TList* l) { l->Put(2, P(9)); }, "List index out of bounds (2)"},
      {"Delete(Count)", [](TList* l) { l->Delete(2); }, "List index out of bounds (2)"},
      {"Insert(Count+1)", [](TList* l) { l->Insert(3, P(9)); }, "List index out of bounds (3)"},
      {"Exchange second", [](TList* l) { l->Exchange(0, 5); }, "List index out of bounds (5)"},
      {"Move to Count", [](TList* l) { l->Move(0, 2); }, "List index out of bounds (2)"},
      {"SetCount(-1)", [](TList* l) { l->SetCount(-1); }, "List count out of bounds (-1)"},
      {"SetCapacity(1)", [](TList* l) { l->SetCapacity(1); }, "List capacity out of bounds (1)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MessageOf<EListError>([&] { c.call(list.get()); }), c.message);
    EXPECT_EQ(list->GetCount(), 2);
    EXPECT_EQ(list->Get(0), P(1));
    EXPECT_EQ(list->Get(1), P(2));
  }
}

TEST(ListsTest, CapacityGrowsInThePlatformsSteps) {
  Owned<TList> list = MakeOwned<TList>();
  std::vector<int> seen{list->GetCapacity()};
  for (int i = 0; i < 80; ++i) {
    list->Add(nullptr);
    if (list->GetCapacity() != seen.back()) seen.push_back(list->GetCapacity());
  }
  EXPECT_EQ(MessageOf<EListError>([&] { MakeOwned<TList>()->First(); }),
            "List index out of bounds (0)");
  EXPECT_EQ(seen, (std::vector<int>{0, 4, 8, 12, 28, 44, 60, 76, 95}));
}

class TLogList : public TList {
  DECLARE_CLASS(TLogList, TList)
  std::vector<std::string> log;
  void Notify(void* ptr, TListNotification action) override {
    static const char* names[] = {"added", "extracted", "deleted"};
    log.push_back(std::to_string(reinterpret_cast<intptr_t>(ptr)) + " " + names[action]);
    inherited::Notify(ptr, action);
  }
};
IMPLEMENT_CLASS(TLogList)

TEST(ListsTest, NotifySeesEveryItemThatEntersOrLeaves) {
  TLogList* list = New<TLogList>();
  list->Add(P(1));
  list->Add(nullptr);  // nil items are never reported
  list->Insert(0, P(2));
  list->Move(0, 2);  // moves are neither
  list->Exchange(0, 1);
  list->SetCount(5);
  list->Put(0, P(3));
  EXPECT_EQ(list->Extract(P(3)), P(3));
  EXPECT_EQ(list->Extract(P(7)), nullptr);
  list->Pack();
  EXPECT_EQ(list->GetCount(), 2);
  EXPECT_EQ(list->Remove(P(1)), 0);
  list->Add(P(4));
  std::vector<std::string> log = list->log;
  EXPECT_EQ(log, (std::vector<std::string>{"1 added", "2 added", "3 added", "3 extracted",
                                           "1 deleted", "4 added"}));
  list->log.clear();
  list->SetCount(0);
  EXPECT_EQ(list->log, (std::vector<std::string>{"4 deleted", "2 deleted"}));
  list->Free();
}

TEST(ListsTest, SortAndAssign) {
  Owned<TList> list = MakeOwned<TList>();
  for (intptr_t v : {5, 3, 9, 1, 3, 7}) list->Add(P(v));
  list->Sort([](void* a, void* b) {
    return static_cast<int>(reinterpret_cast<intptr_t>(a) - reinterpret_cast<intptr_t>(b));
  });
  Owned<TList> copy = MakeOwned<TList>();
  copy->Assign(list.get());
  std::vector<intptr_t> got;
  for (int i = 0; i < copy->GetCount(); ++i) got.push_back(reinterpret_cast<intptr_t>(copy->Get(i)));
  EXPECT_EQ(got, (std::vector<intptr_t>{1, 3, 3, 5, 7, 9}));
  EXPECT_EQ(copy->First(), P(1));
  EXPECT_EQ(copy->Last(), P(9));
  EXPECT_EQ(copy->IndexOf(P(3)), 1);
}

// ---------------------------------------------------------------------------

std::vector<std::string>* gFreed = nullptr;

class TTracked : public TComponent {
  DECLARE_CLASS(TTracked, TComponent)
  explicit TTracked(TComponent* owner, std::string tag = {}) : TComponent(owner), tag_(std::move(tag)) {}

 protected:
  void Destroy() override {
    if (gFreed) gFreed->push_back(tag_);
    inherited::Destroy();
  }
  std::string tag_;
};
IMPLEMENT_CLASS(TTracked)

class ObjectListTest : public ::testing::Test {
 protected:
  void SetUp() override { gFreed = &freed; }
  void TearDown() override { gFreed = nullptr; }
  std::vector<std::string> freed;
};

TEST_F(ObjectListTest, OwnedObjectsAreFreedWhenDeletedButNotWhenExtracted) {
  TObjectList* list = New<TObjectList>();
  TTracked* a = New<TTracked>(nullptr, "a");
  TTracked* b = New<TTracked>(nullptr, "b");
  list->Add(a);
  list->Add(b);
  list->Add(New<TTracked>(nullptr, "c"));
  EXPECT_EQ(list->Extract(b), b);
  list->Delete(0);
  EXPECT_EQ(freed, (std::vector<std::string>{"a"}));
  EXPECT_EQ(list->FindInstanceOf(TTracked::StaticClass()), 0);
  EXPECT_EQ(list->FindInstanceOf(TComponent::StaticClass()), -1);
  EXPECT_EQ(list->FindInstanceOf(TComponent::StaticClass(), false), 0);
  list->Free();
  EXPECT_EQ(freed, (std::vector<std::string>{"a", "c"}));
  b->Free();

  Owned<TObjectList> notOwning = MakeOwned<TObjectList>(false);
  TTracked* d = New<TTracked>(nullptr, "d");
  notOwning->Add(d);
  notOwning->Clear();
  EXPECT_EQ(freed.size(), 3u);  // only b, freed by hand
  d->Free();
}

// Takes its partner out of the list (which frees it) when it goes itself.
class TPartner : public TTracked {
  DECLARE_CLASS(TPartner, TTracked)
  using TTracked::TTracked;
  TObjectList* list = nullptr;
  TObject* partner = nullptr;

 protected:
  void Destroy() override {
    if (list && partner) list->Remove(partner);
    inherited::Destroy();
  }
};
IMPLEMENT_CLASS(TPartner)

TEST_F(ObjectListTest, ClearingSurvivesAnItemThatTakesOthersWithIt) {
  for (int newCount : {0, 1}) {
    SCOPED_TRACE(newCount);
    freed.clear();
    Owned<TObjectList> list = MakeOwned<TObjectList>();
    TTracked* first = New<TTracked>(nullptr, "first");
    TTracked* second = New<TTracked>(nullptr, "second");
    TPartner* last = New<TPartner>(nullptr, "last");
    last->list = list.get();
    last->partner = second;
    list->Add(first);
    list->Add(second);
    list->Add(last);
    list->SetCount(newCount);
    EXPECT_EQ(list->GetCount(), newCount);
    // The last item takes its partner before it logs its own end.
    if (newCount == 0) EXPECT_EQ(freed, (std::vector<std::string>{"second", "last", "first"}));
    else EXPECT_EQ(freed, (std::vector<std::string>{"second", "last"}));
  }
}

TEST_F(ObjectListTest, ComponentListDropsAComponentFreedElsewhere) {
  TComponentList* list = New<TComponentList>(false);
  TTracked* owner = New<TTracked>(nullptr, "owner");
  TTracked* a = New<TTracked>(owner, "a");
  TTracked* b = New<TTracked>(owner, "b");
  list->Add(a);
  list->Add(b);
  list->Add(a);
  b->Free();
  ASSERT_EQ(list->GetCount(), 2);
  EXPECT_EQ(list->GetItem(0), a);
  // Deleting one of a's two entries must keep watching the other.
  list->Delete(0);
  list->Add(a);
  // The owner frees a: every entry of it leaves the list.
  owner->Free();
  EXPECT_EQ(list->GetCount(), 0);
  list->Free();
}

TEST_F(ObjectListTest, OwningComponentListFreesItsComponentsAndForgetsThemFirst) {
  TComponentList* list = New<TComponentList>();
  TTracked* a = New<TTracked>(nullptr, "a");
  TTracked* b = New<TTracked>(nullptr, "b");
  list->Add(a);
  list->Add(b);
  list->Remove(a);
  EXPECT_EQ(freed, (std::vector<std::string>{"a"}));
  // An extracted component is no longer watched: freeing it later leaves the
  // list alone.
  list->Add(New<TTracked>(nullptr, "c"));
  EXPECT_EQ(list->Extract(b), b);
  b->Free();
  EXPECT_EQ(list->GetCount(), 1);
  list->Free();
  EXPECT_EQ(freed, (std::vector<std::string>{"a", "b", "c"}));
}

}  // namespace
