#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "classlib/Classes.h"
#include "tests/common/TestSupport.h"

namespace {

std::vector<std::string>* gLog = nullptr;
// While a test runs, freed components are zeroed and kept here, not given
// back to the heap (whose free lists would write into them): a use after
// free then meets a null vtable and fails the test.
std::vector<void*>* gGraveyard = nullptr;

class TLogged : public TComponent {
  DECLARE_CLASS(TLogged, TComponent)
  explicit TLogged(TComponent* owner, std::string tag = {}) : TComponent(owner), tag_(std::move(tag)) {}
  TComponent* watched = nullptr;
  void Watch(TComponent* c) {
    watched = c;
    c->FreeNotification(this);
  }
  void Notification(TComponent* c, TOperation op) override {
    inherited::Notification(c, op);
    if (op == opRemove && c == watched) {
      watched = nullptr;
      if (gLog) gLog->push_back(tag_ + " lost " + c->GetName());
    }
  }
  virtual std::string Describe() const { return "base"; }
  [[gnu::noinline]] static void* operator new(std::size_t size) { return ::operator new(size); }
  [[gnu::noinline]] static void operator delete(void* p, std::size_t size) {
    std::memset(p, 0, size);
    if (gGraveyard) gGraveyard->push_back(p);
    else ::operator delete(p);
  }

 protected:
  void Destroy() override {
    if (gLog) gLog->push_back(tag_ + " destroyed as " + Describe());
    inherited::Destroy();
  }
  std::string tag_;
};
IMPLEMENT_CLASS(TLogged)

class TDerived : public TLogged {
  DECLARE_CLASS(TDerived, TLogged)
  using TLogged::TLogged;
  std::string Describe() const override { return "derived"; }
};
IMPLEMENT_CLASS(TDerived)

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gLog = &log;
    gGraveyard = &graveyard;
  }
  void TearDown() override {
    gLog = nullptr;
    gGraveyard = nullptr;
    for (void* p : graveyard) ::operator delete(p);
  }
  std::vector<std::string> log;
  std::vector<void*> graveyard;
};

TEST_F(ComponentTest, OwnerFreesOwnedLastFirstAndVirtualsReachOverrides) {
  TLogged* owner = New<TLogged>(nullptr, "owner");
  New<TDerived>(owner, "a");
  New<TLogged>(owner, "b");
  EXPECT_EQ(owner->GetComponentCount(), 2);
  owner->Free();
  std::vector<std::string> want = {"owner destroyed as base", "b destroyed as base",
                                   "a destroyed as derived"};
  EXPECT_EQ(log, want);
}

TEST_F(ComponentTest, FreeNotificationTellsTheWatcherAcrossOwners) {
  Owned<TComponent> left(New<TComponent>(nullptr));
  Owned<TComponent> right(New<TComponent>(nullptr));
  TLogged* watcher = New<TLogged>(left.get(), "w");
  TLogged* target = New<TLogged>(right.get(), "t");
  target->SetName("Target");
  watcher->Watch(target);
  target->Free();
  EXPECT_EQ(watcher->watched, nullptr);
  EXPECT_EQ(right->GetComponentCount(), 0);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1], "w lost Target");
  // The watcher going first must not leave the target pointing at it.
  TLogged* t2 = New<TLogged>(right.get(), "t2");
  watcher->Watch(t2);
  watcher->Free();
  t2->Free();
}

TEST_F(ComponentTest, SiblingsHearOfRemovalThroughTheirOwner) {
  Owned<TComponent> owner(New<TComponent>(nullptr));
  TLogged* watcher = New<TLogged>(owner.get(), "w");
  TLogged* target = New<TLogged>(owner.get(), "t");
  target->SetName("Sib");
  watcher->watched = target;  // same owner: no explicit free notification needed
  target->Free();
  EXPECT_EQ(watcher->watched, nullptr);
}

// Frees the component it is told is going, as a component that made a
// helper for itself might.
class TFreesOnRemoval : public TLogged {
  DECLARE_CLASS(TFreesOnRemoval, TLogged)
  using TLogged::TLogged;
  void Notification(TComponent* c, TOperation op) override {
    inherited::Notification(c, op);
    if (op == opRemove && c == helper) {
      helper = nullptr;
      c->Free();
    }
  }
  TComponent* helper = nullptr;
};
IMPLEMENT_CLASS(TFreesOnRemoval)

TEST_F(ComponentTest, AComponentFreedWhileItsOwnerAnnouncesItsRemovalGoesOnce) {
  TLogged* owner = New<TLogged>(nullptr, "owner");
  auto* sibling = New<TFreesOnRemoval>(owner, "sibling");
  TLogged* helper = New<TLogged>(owner, "helper");
  sibling->helper = helper;
  helper->FreeNotification(sibling);  // same owner: the removal is announced
  owner->Free();
  std::vector<std::string> want = {"owner destroyed as base", "helper destroyed as base",
                                   "sibling destroyed as base"};
  EXPECT_EQ(log, want);
}

TEST_F(ComponentTest, InsertingMovesAComponentFromItsOldOwner) {
  TLogged* first = New<TLogged>(nullptr, "first");
  TLogged* second = New<TLogged>(nullptr, "second");
  TLogged* moved = New<TLogged>(first, "moved");
  moved->SetName("Moved");
  second->InsertComponent(moved);
  EXPECT_EQ(moved->GetOwner(), second);
  EXPECT_EQ(first->GetComponentCount(), 0);
  EXPECT_EQ(second->FindComponent("Moved"), moved);
  first->Free();
  second->Free();
  std::vector<std::string> want = {"first destroyed as base", "second destroyed as base",
                                   "moved destroyed as base"};
  EXPECT_EQ(log, want);
}

TEST_F(ComponentTest, NamesAreValidatedAndUniqueInTheOwner) {
  Owned<TComponent> owner(New<TComponent>(nullptr));
  TComponent* a = New<TComponent>(owner.get());
  TComponent* b = New<TComponent>(owner.get());
  a->SetName("Button1");
  EXPECT_THROW(b->SetName("button1"), EComponentError);
  EXPECT_THROW(b->SetName("1abc"), EComponentError);
  b->SetName("Button2");
  EXPECT_EQ(owner->FindComponent("BUTTON2"), b);
  EXPECT_EQ(owner->FindComponent(""), nullptr);
  b->SetComponentIndex(0);
  EXPECT_EQ(owner->GetComponent(0), b);
  EXPECT_EQ(MessageOf<EListError>([&] { owner->GetComponent(2); }), "List index out of bounds (2)");
}

TEST_F(ComponentTest, ClassRegistryFindsByNameIgnoringCase) {
  RegisterClass(TDerived::StaticClass());
  EXPECT_EQ(GetClass("tderived"), TDerived::StaticClass());
  EXPECT_EQ(GetClass("TNoSuchClass"), nullptr);
  EXPECT_THROW(FindClass("TNoSuchClass"), EClassNotFound);
  UnRegisterClass(TDerived::StaticClass());
  EXPECT_EQ(GetClass("TDerived"), nullptr);
}

TEST_F(ComponentTest, RegisteredClassesListsEachClassOnceAndForgetsAnUnregisteredOne) {
  auto count = [](TClass cls) {
    const std::vector<TClass> all = RegisteredClasses();
    return std::count(all.begin(), all.end(), cls);
  };
  EXPECT_EQ(count(TDerived::StaticClass()), 0);
  RegisterClass(TDerived::StaticClass());
  RegisterClass(TDerived::StaticClass());
  RegisterClassAlias(TDerived::StaticClass(), "TDerivedAlias");
  EXPECT_EQ(count(TDerived::StaticClass()), 1) << "registered twice and under an alias";
  UnRegisterClass(TDerived::StaticClass());
  EXPECT_EQ(count(TDerived::StaticClass()), 0);
  EXPECT_EQ(GetClass("TDerivedAlias"), nullptr);
}

TEST(Persistent, AssignWithoutSupportRaisesConvertError) {
  Owned<TPersistent> a(New<TPersistent>());
  Owned<TComponent> b(New<TComponent>(nullptr));
  try {
    a->Assign(b.get());
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.GetMessage(), "Cannot assign a TComponent to a TPersistent");
  }
}

}  // namespace
