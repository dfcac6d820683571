// MDI forms: the client window, children made in it, their order and
// activation, tiling, cascading, closing, the MDI keys, and the errors of
// a child without an MDI form.
#include <gtest/gtest.h>

#include <string>

#include "tests/classlib/MdiTestSupport.h"
#include "tests/common/TestSupport.h"

using namespace forms_test;
using namespace mdi_test;

namespace {

class MdiTest : public MdiFixture {};

TEST_F(MdiTest, ChildrenLiveInTheClientBelowTheAlignedControls) {
  HWND client = main_->GetClientHandle();
  ASSERT_NE(client, nullptr);
  char cls[32] = {};
  GetClassNameA(client, cls, sizeof cls);
  EXPECT_STREQ(cls, "MDIClient");
  RECT r;
  GetWindowRect(client, &r);
  MapWindowPoints(nullptr, main_->GetHandle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.top, 30) << "below the top strip";
  EXPECT_EQ(r.bottom, main_->GetClientHeight());

  EXPECT_EQ(main_->GetMDIChildCount(), 0);
  EXPECT_EQ(main_->GetActiveMDIChild(), nullptr);
  TForm* a = AddChild("A");
  TForm* b = AddChild("B");
  EXPECT_EQ(GetParent(a->GetHandle()), client);
  EXPECT_TRUE(a->GetFormState().Contains(fsCreatedMDIChild));
  EXPECT_TRUE(IsWindowVisible(b->GetHandle()));
  EXPECT_EQ(main_->GetMDIChildCount(), 2);
  EXPECT_EQ(main_->GetActiveMDIChild(), b) << "the newest child is active";
  EXPECT_EQ(main_->GetMDIChildren(2), nullptr);

  main_->Next();
  EXPECT_EQ(main_->GetActiveMDIChild(), a);
  main_->Previous();
  EXPECT_EQ(main_->GetActiveMDIChild(), b);

  // The children's order is the screen's: the most recently active first.
  a->SetFocus();
  PumpApplication(2);
  EXPECT_EQ(main_->GetActiveMDIChild(), a);
  EXPECT_EQ(main_->GetMDIChildren(0), a);
  EXPECT_EQ(main_->GetMDIChildren(1), b);
}

TEST_F(MdiTest, TileAndCascadeArrangeTheChildrenInTheClient) {
  TForm* a = AddChild("A");
  TForm* b = AddChild("B");
  RECT area = ClientArea();

  main_->SetTileMode(tbVertical);
  main_->Tile();
  RECT ra = InClient(a), rb = InClient(b);
  EXPECT_EQ(ra.top, rb.top) << "side by side";
  EXPECT_NE(ra.left, rb.left);
  EXPECT_EQ(ra.bottom - ra.top, area.bottom);
  EXPECT_NEAR((ra.right - ra.left) + (rb.right - rb.left), area.right, 1);

  main_->SetTileMode(tbHorizontal);
  main_->Tile();
  ra = InClient(a);
  rb = InClient(b);
  EXPECT_EQ(ra.left, rb.left) << "one above the other";
  EXPECT_NE(ra.top, rb.top);
  EXPECT_EQ(ra.right - ra.left, area.right);
  EXPECT_NEAR((ra.bottom - ra.top) + (rb.bottom - rb.top), area.bottom, 1);

  main_->Cascade();
  ra = InClient(a);
  rb = InClient(b);
  EXPECT_NE(ra.left, rb.left);
  EXPECT_EQ(rb.left - ra.left, rb.top - ra.top) << "down and to the right by one step";
  EXPECT_EQ(ra.right - ra.left, rb.right - rb.left);
}

TEST_F(MdiTest, ClosingAChildMinimisesItUnlessOnCloseFreesIt) {
  TForm* a = AddChild("A");
  TForm* b = AddChild("B");
  struct THandlers {
    bool Freed = false;
    void Destroyed(TObject*) { Freed = true; }
    void CloseFrees(TObject*, TCloseAction& action) { action = caFree; }
  } h;
  b->OnDestroy = TNotifyEvent(&h, &THandlers::Destroyed);

  a->Close();
  EXPECT_TRUE(IsIconic(a->GetHandle())) << "a child with a minimise box is minimised";
  EXPECT_EQ(a->GetWindowState(), wsMinimized);

  b->OnClose = TCloseEvent(&h, &THandlers::CloseFrees);
  SendMessageA(b->GetHandle(), WM_CLOSE, 0, 0);
  PumpApplication(3);
  EXPECT_TRUE(h.Freed);
  EXPECT_EQ(main_->GetMDIChildCount(), 1);
  EXPECT_EQ(main_->GetMDIChildren(0), a);
}

TEST_F(MdiTest, AChildCannotBeHidden) {
  TForm* a = AddChild("A");
  EXPECT_EQ(MessageOf<EInvalidOperation>([&] { a->Hide(); }), "Cannot hide an MDI Child Form");
  EXPECT_TRUE(IsWindowVisible(a->GetHandle()));
  EXPECT_EQ(MessageOf<EInvalidOperation>([&] { a->ShowModal(); }), "Cannot make a visible window modal");
}

// A child needs an MDI main form with its client window.
TEST(MdiErrors, AChildWithoutAnMdiMainFormCannotBeMade) {
  const char kText[] = "Cannot create form. No MDI forms are currently active";
  for (bool withMain : {false, true}) {
    SCOPED_TRACE(withMain ? "normal main form" : "no main form");
    TFreshApplication app;
    TForm* main = nullptr;
    if (withMain) Application->CreateForm(TForm::StaticClass(), main);
    Owned<TForm> child(New<TForm>(nullptr, 0));
    EXPECT_EQ(MessageOf<EInvalidOperation>([&] { child->SetFormStyle(fsMDIChild); }), kText);
    EXPECT_FALSE(child->HandleAllocated());
  }
}

// The MDI keys of the active child through the loop (IsMDIMsg): Ctrl+F6
// goes to the next child, Ctrl+F4 closes the active one.
class SerialMdiTest : public MdiFixture {};

TEST_F(SerialMdiTest, TheMdiKeysOfTheRealKeyboardReachTheClient) {
  TForm* main = main_;
  TForm* a = AddChild("A");
  TForm* b = AddChild("B");
  SetForegroundWindow(main->GetHandle());
  b->SetFocus();
  PumpApplication(3);
  ASSERT_EQ(Screen->GetActiveForm(), b);
  ASSERT_EQ(main->GetActiveMDIChild(), b);

  TypeChord(VK_CONTROL, VK_F6);
  PumpApplication(3);
  EXPECT_EQ(main->GetActiveMDIChild(), a);

  TypeChord(VK_CONTROL, VK_F4);
  PumpApplication(3);
  EXPECT_TRUE(IsIconic(a->GetHandle())) << "closed, that is minimised";
}

}  // namespace
