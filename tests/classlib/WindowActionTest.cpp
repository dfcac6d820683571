// The window actions on a real MDI form: which targets they take, enabled
// only while there are children (close: while one is active), and what
// each does when it runs through its action list and the forms.
#include <gtest/gtest.h>

#include <string>

#include "classlib/ActnList.h"
#include "classlib/StdActns.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/MdiTestSupport.h"

using namespace forms_test;
using namespace mdi_test;

namespace {

class WindowActionTest : public MdiFixture {
 protected:
  void SetUp() override {
    MdiFixture::SetUp();
    list_ = New<TActionList>(main_);
  }
  template <class A>
  A* Add() {
    auto* a = New<A>(main_);
    a->SetActionList(list_);
    return a;
  }
  TActionList* list_ = nullptr;
};

TEST_F(WindowActionTest, TheTargetIsAnMdiFormTheNamedOneWhenThereIsOne) {
  auto* action = Add<TWindowCascade>();
  Owned<TForm> plain(New<TForm>(nullptr, 0));
  Owned<TEdit> edit(New<TEdit>(nullptr));
  EXPECT_TRUE(action->HandlesTarget(main_));
  EXPECT_FALSE(action->HandlesTarget(plain.get()));
  EXPECT_FALSE(action->HandlesTarget(edit.get()));
  EXPECT_FALSE(action->HandlesTarget(nullptr));
  Owned<TForm> other(New<TForm>(nullptr, 0));
  action->SetForm(other.get());
  EXPECT_FALSE(action->HandlesTarget(main_)) << "only the form it names";
  other.reset();
  EXPECT_EQ(action->GetForm(), nullptr) << "a freed form is forgotten";
  EXPECT_TRUE(action->HandlesTarget(main_));
}

TEST_F(WindowActionTest, EachIsEnabledWhileThereAreChildren) {
  TBasicAction* actions[] = {Add<TWindowClose>(),          Add<TWindowCascade>(),
                             Add<TWindowTileHorizontal>(), Add<TWindowTileVertical>(),
                             Add<TWindowMinimizeAll>(),    Add<TWindowArrange>()};
  for (TBasicAction* a : actions) {
    SCOPED_TRACE(a->ClassName());
    auto* action = static_cast<TCustomAction*>(a);
    EXPECT_FALSE(action->GetEnabled()) << "made disabled";
    action->Update();
    EXPECT_FALSE(action->GetEnabled()) << "no children";
  }
  AddChild("A");
  for (TBasicAction* a : actions) {
    SCOPED_TRACE(a->ClassName());
    a->Update();
    EXPECT_TRUE(static_cast<TCustomAction*>(a)->GetEnabled());
  }
}

TEST_F(WindowActionTest, EachRunsOnTheMdiFormsChildren) {
  TForm* a = AddChild("A");
  TForm* b = AddChild("B");
  RECT area = ClientArea();

  auto* vertical = Add<TWindowTileVertical>();
  EXPECT_TRUE(vertical->Execute());
  EXPECT_EQ(main_->GetTileMode(), tbVertical);
  EXPECT_EQ(InClient(a).top, InClient(b).top);
  EXPECT_EQ(InClient(a).bottom - InClient(a).top, area.bottom);

  auto* horizontal = Add<TWindowTileHorizontal>();
  EXPECT_TRUE(horizontal->Execute());
  EXPECT_EQ(main_->GetTileMode(), tbHorizontal);
  EXPECT_EQ(InClient(a).left, InClient(b).left);
  EXPECT_EQ(InClient(a).right - InClient(a).left, area.right);

  auto* cascade = Add<TWindowCascade>();
  EXPECT_TRUE(cascade->Execute());
  EXPECT_NE(InClient(a).left, InClient(b).left);
  EXPECT_EQ(InClient(a).right - InClient(a).left, InClient(b).right - InClient(b).left);

  auto* minimize = Add<TWindowMinimizeAll>();
  EXPECT_TRUE(minimize->Execute());
  EXPECT_TRUE(IsIconic(a->GetHandle()));
  EXPECT_TRUE(IsIconic(b->GetHandle()));

  // An icon dragged away goes back to the row along the bottom.
  RECT before = InClient(a);
  SetWindowPos(a->GetHandle(), nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  auto* arrange = Add<TWindowArrange>();
  EXPECT_TRUE(arrange->Execute());
  RECT after = InClient(a);
  EXPECT_EQ(after.bottom, area.bottom);
  EXPECT_EQ(after.top, before.top);
}

TEST_F(WindowActionTest, CloseClosesTheActiveChildAndIsDisabledWithoutOne) {
  TForm* a = AddChild("A");
  TForm* b = AddChild("B");
  struct TFree {
    void Close(TObject*, TCloseAction& action) { action = caFree; }
  } closer;
  b->OnClose = TCloseEvent(&closer, &TFree::Close);
  auto* close = Add<TWindowClose>();
  ASSERT_EQ(main_->GetActiveMDIChild(), b);
  EXPECT_TRUE(close->Execute());
  PumpApplication(3);
  EXPECT_EQ(main_->GetMDIChildCount(), 1);
  EXPECT_EQ(main_->GetMDIChildren(0), a);

  // A child with neither a minimise box nor OnClose stays as it is.
  a->SetBorderIcons({biSystemMenu});
  PumpApplication(2);
  main_->Next();
  close->Update();
  ASSERT_TRUE(close->GetEnabled());
  EXPECT_TRUE(close->Execute());
  EXPECT_FALSE(IsIconic(a->GetHandle()));
  EXPECT_EQ(main_->GetMDIChildCount(), 1);
}

}  // namespace
