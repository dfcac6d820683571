// The containers a framed tool bar sits in and the common-control tool bar
// with its buttons: items, bounds, clicks with the real mouse, action
// links; the pager scrolling its child; the control bar's bands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ActnList.h"
#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "tests/classlib/FormTestSupport.h"

using namespace forms_test;

namespace {

class ToolBarFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 300, 200);
    bar = New<TToolBar>(form.get());
    bar->SetParent(form.get());
  }
  TToolButton* AddButton(const std::string& name, TToolButtonStyle style, bool grouped = false) {
    auto* b = New<TToolButton>(form.get());
    b->SetName(name);
    b->SetCaption(name);
    b->SetStyle(style);
    b->SetGrouped(grouped);
    b->SetParent(bar);
    b->OnClick = TNotifyEvent(this, &ToolBarFixture::Clicked);
    return b;
  }
  void Clicked(TObject* sender) { clicks.push_back(static_cast<TComponent*>(sender)->GetName()); }
  RECT ItemRect(int i) {
    RECT r{};
    SendMessageA(bar->GetHandle(), TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  void ClickAt(TControl* c) {
    POINT p = c->ClientToScreen(POINT{c->GetWidth() / 2, c->GetHeight() / 2});
    MoveMouseTo(p);
    PumpApplication(3);
    LeftButton(true);
    PumpApplication(3);
    LeftButton(false);
    PumpApplication(3);
  }

  TFreshApplication app;
  Owned<TForm> form;
  TToolBar* bar = nullptr;
  std::vector<std::string> clicks;
};

TEST_F(ToolBarFixture, ButtonsAreTheControlsItemsAndTakeTheirBounds) {
  TToolButton* a = AddButton("A", tbsButton);
  TToolButton* sep = AddButton("Sep", tbsSeparator);
  TToolButton* b = AddButton("B", tbsCheck);
  HWND h = bar->GetHandle();
  ASSERT_EQ(SendMessageA(h, TB_BUTTONCOUNT, 0, 0), 3);
  EXPECT_EQ(bar->GetButtonCount(), 3);
  EXPECT_EQ(b->GetIndex(), 2);
  for (TToolButton* t : {a, sep, b}) {
    SCOPED_TRACE(t->GetName());
    RECT r = ItemRect(t->GetIndex());
    EXPECT_EQ(t->GetLeft(), r.left);
    EXPECT_EQ(t->GetWidth(), r.right - r.left);
  }
  EXPECT_EQ(sep->GetWidth(), 8);
  EXPECT_EQ(a->GetWidth(), 23);
  EXPECT_GE(b->GetLeft(), sep->GetLeft() + 8);
  // Down and Enabled reach the items; a button freed leaves its item.
  b->SetDown(true);
  EXPECT_NE(SendMessageA(h, TB_ISBUTTONCHECKED, 2, 0), 0);
  a->SetEnabled(false);
  EXPECT_EQ(SendMessageA(h, TB_ISBUTTONENABLED, 0, 0), 0);
  sep->Free();
  EXPECT_EQ(SendMessageA(h, TB_BUTTONCOUNT, 0, 0), 2);
  EXPECT_EQ(b->GetIndex(), 1);
  EXPECT_NE(SendMessageA(h, TB_ISBUTTONCHECKED, 1, 0), 0);
  // The framed tool bar tells its hosts by class name, without case.
  EXPECT_TRUE(bar->ClassNameIs("TToolbar"));
}

TEST_F(ToolBarFixture, AnActionsCheckedStateImageAndCaptionReachTheButton) {
  TToolButton* b = AddButton("B", tbsCheck);
  auto* action = New<TAction>(form.get());
  action->SetCaption("Bold");
  action->SetChecked(true);
  action->SetImageIndex(3);
  b->SetAction(action);
  EXPECT_EQ(b->GetCaption(), "Bold");
  EXPECT_TRUE(b->GetDown());
  EXPECT_EQ(b->GetImageIndex(), 3);
  EXPECT_NE(SendMessageA(bar->GetHandle(), TB_ISBUTTONCHECKED, 0, 0), 0);
  action->SetChecked(false);
  action->SetImageIndex(4);
  EXPECT_FALSE(b->GetDown());
  EXPECT_EQ(b->GetImageIndex(), 4);
  EXPECT_EQ(SendMessageA(bar->GetHandle(), TB_ISBUTTONCHECKED, 0, 0), 0);
  // A button changed on its own no longer follows.
  b->SetImageIndex(9);
  action->SetImageIndex(5);
  EXPECT_EQ(b->GetImageIndex(), 9);
  EXPECT_EQ(b->GetActionLink()->ClassName(), "TToolButtonActionLink");
}

class SerialToolBarTest : public ToolBarFixture {};

TEST_F(SerialToolBarTest, ClicksOnTheItemsClickTheButtonsAndAGroupKeepsOneDown) {
  TToolButton* plain = AddButton("Plain", tbsButton);
  TToolButton* left = AddButton("Left", tbsCheck, true);
  TToolButton* right = AddButton("Right", tbsCheck, true);
  left->SetDown(true);
  form->Show();
  SetForegroundWindow(form->GetHandle());
  PumpApplication(3);
  ClickAt(plain);
  ClickAt(right);
  EXPECT_EQ(clicks, (std::vector<std::string>{"Plain", "Right"}));
  EXPECT_TRUE(right->GetDown());
  EXPECT_FALSE(left->GetDown());
  // A second click on the down button of the group leaves it down.
  ClickAt(right);
  EXPECT_TRUE(right->GetDown());
  EXPECT_EQ(clicks.size(), 3u);
}

TEST(PageScrollerTest, TheChildIsScrolledByThePager) {
  TFreshApplication app;
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBounds(0, 0, 300, 100);
  auto* pager = New<TPageScroller>(form.get());
  pager->SetParent(form.get());
  pager->SetBounds(0, 0, 150, 30);
  auto* inner = New<TPanel>(form.get());
  inner->SetBounds(0, 0, 400, 30);
  pager->SetControl(inner);
  EXPECT_EQ(inner->GetParent(), pager);
  EXPECT_TRUE(pager->ClassNameIs("TPageScroller"));
  pager->HandleNeeded();
  EXPECT_EQ(GetParent(inner->GetHandle()), pager->GetHandle());
  pager->SetPosition(60);
  EXPECT_EQ(pager->GetPosition(), 60);
  // The pager moved the child's window; its bounds follow.
  RECT r{};
  GetWindowRect(inner->GetHandle(), &r);
  POINT origin{r.left, r.top};
  ScreenToClient(pager->GetHandle(), &origin);
  EXPECT_LT(origin.x, 0);
  EXPECT_EQ(inner->GetLeft(), origin.x);
  EXPECT_EQ(inner->GetWidth(), 400);
  // Past the end the pager stops at the child's width less its own.
  pager->SetPosition(1000);
  EXPECT_LE(pager->GetPosition(), 400 - 150 + 2 * pager->GetButtonSize());
  inner->Free();
  EXPECT_EQ(pager->GetControl(), nullptr);
}

class ControlBarFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 400, 200);
    cbar = New<TControlBar>(form.get());
    cbar->SetParent(form.get());
    cbar->SetBounds(0, 0, 400, 100);
    for (int i = 0; i < 3; ++i) {
      auto* p = New<TPanel>(form.get());
      p->SetBounds(200 - 60 * i, 2, 50, 20);  // placed right to left
      p->SetParent(cbar);
      panels.push_back(p);
    }
    // Bands are laid out once the bar has its window, as alignment is.
    cbar->HandleNeeded();
    cbar->Realign();
  }
  TFreshApplication app;
  Owned<TForm> form;
  TControlBar* cbar = nullptr;
  std::vector<TPanel*> panels;
};

TEST_F(ControlBarFixture, BandsKeepTheirRowsAndOrderAndEmptyRowsCloseUp) {
  // One row; the bands do not overlap and each has its grabber on the left.
  for (TPanel* p : panels) EXPECT_EQ(cbar->RowOf(p), 0);
  EXPECT_GE(panels[1]->GetLeft() - TControlBar::GrabberSize, panels[2]->GetLeft() + 50);
  EXPECT_GE(panels[2]->GetLeft(), 2 + TControlBar::GrabberSize);
  // A band put in the third row lands in the second: the empty row closes.
  panels[0]->SetTop(2 + 2 * cbar->GetRowSize());
  EXPECT_EQ(cbar->RowOf(panels[0]), 1);
  EXPECT_EQ(panels[0]->GetTop(), 2 + cbar->GetRowSize() + (cbar->GetRowSize() - 2 - 20) / 2);
  cbar->SetAutoSize(true);
  EXPECT_EQ(cbar->GetHeight(), 2 * cbar->GetRowSize() + 4);
  EXPECT_TRUE(cbar->ClassNameIs("TControlBar"));
}

class SerialControlBarTest : public ControlBarFixture {};

TEST_F(SerialControlBarTest, ABandDraggedByItsGrabberMovesToAnotherRow) {
  form->Show();
  SetForegroundWindow(form->GetHandle());
  PumpApplication(3);
  TPanel* p = panels[1];
  RECT band = cbar->BandRect(p);
  POINT grab = cbar->ClientToScreen(POINT{band.left + 4, (band.top + band.bottom) / 2});
  MoveMouseTo(grab);
  PumpApplication(3);
  LeftButton(true);
  PumpApplication(3);
  MoveMouseTo(POINT{grab.x + 30, grab.y + cbar->GetRowSize() / 2});
  PumpApplication(3);
  MoveMouseTo(POINT{grab.x + 60, grab.y + cbar->GetRowSize()});
  PumpApplication(3);
  LeftButton(false);
  PumpApplication(3);
  EXPECT_EQ(cbar->RowOf(p), 1);
  EXPECT_EQ(cbar->RowOf(panels[0]), 0);
  EXPECT_EQ(cbar->RowOf(panels[2]), 0);
  EXPECT_EQ(p->GetLeft(), band.left + TControlBar::GrabberSize + 60);
}

}  // namespace
