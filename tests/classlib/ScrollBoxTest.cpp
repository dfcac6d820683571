// The scroll box: its border styles, its stored form, and scrolling its
// children with the real mouse on its own scroll bar.
#include <gtest/gtest.h>

#include <string>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"

using namespace forms_test;

namespace {

LONG_PTR StyleOf(TWinControl* c) { return GetWindowLongPtrA(c->GetHandle(), GWL_STYLE); }
LONG_PTR ExStyleOf(TWinControl* c) { return GetWindowLongPtrA(c->GetHandle(), GWL_EXSTYLE); }

TEST(ScrollBoxTest, BorderStyleAndCtl3DChooseTheEdgeAndRecreateTheWindow) {
  struct Case {
    TBorderStyle Style;
    bool Ctl3D;
    bool ClientEdge;
    bool Border;
  };
  const Case cases[] = {
      {bsSingle, true, true, false},
      {bsSingle, false, false, true},
      {bsNone, true, false, false},
      {bsNone, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Style) + (c.Ctl3D ? " 3D" : " flat"));
    Owned<TForm> form(New<TForm>(nullptr, 0));
    auto* box = New<TScrollBox>(form.get());
    box->SetParent(form.get());
    EXPECT_EQ(box->GetWidth(), 185);
    EXPECT_EQ(box->GetHeight(), 41);
    // Made with the other settings first: the change must reach the window.
    box->SetCtl3D(!c.Ctl3D);
    box->SetBorderStyle(c.Style == bsSingle ? bsNone : bsSingle);
    box->HandleNeeded();
    box->SetBorderStyle(c.Style);
    box->SetCtl3D(c.Ctl3D);
    EXPECT_EQ((ExStyleOf(box) & WS_EX_CLIENTEDGE) != 0, c.ClientEdge);
    EXPECT_EQ((StyleOf(box) & WS_BORDER) != 0, c.Border);
  }
}

TEST(ScrollBoxTest, StoredFormKeepsTheBorderAndTheChildrenAndScrollsToThem) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  ReadForm(
      "object Form1: TForm\n"
      "  object Box1: TScrollBox\n"
      "    Left = 0\n"
      "    Top = 0\n"
      "    Width = 150\n"
      "    Height = 100\n"
      "    BorderStyle = bsNone\n"
      "    object Panel1: TPanel\n"
      "      Left = 10\n"
      "      Top = 200\n"
      "      Width = 80\n"
      "      Height = 50\n"
      "    end\n"
      "  end\n"
      "end\n",
      form.get());
  auto* box = dynamic_cast<TScrollBox*>(form->FindComponent("Box1"));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->GetBorderStyle(), bsNone);
  ASSERT_EQ(box->GetControlCount(), 1);
  // The ranges follow the children once the box has its window (its size).
  box->HandleNeeded();
  EXPECT_EQ(box->GetVertScrollBar()->GetRange(), 250);
  EXPECT_EQ(box->GetHorzScrollBar()->GetRange(), 90);

  std::string text = WriteForm(form.get());
  EXPECT_NE(text.find("BorderStyle = bsNone"), std::string::npos) << text;
  EXPECT_EQ(text.find("Range"), std::string::npos) << "AutoScroll computes it\n" << text;
  box->SetBorderStyle(bsSingle);
  text = WriteForm(form.get());
  EXPECT_EQ(text.find("BorderStyle"), std::string::npos) << "the default\n" << text;
}

// The user clicks the down arrow of the box's scroll bar, then the page
// below the thumb: the children move up by Increment, then by nine tenths
// of the client height.
TEST(SerialScrollBoxTest, ClickingTheScrollBarMovesTheChildren) {
  TFreshApplication app;
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBorderStyle(bsNone);
  form->SetBounds(100, 100, 300, 200);
  auto* box = New<TScrollBox>(form.get());
  box->SetBounds(10, 10, 150, 100);
  box->SetParent(form.get());
  auto* panel = New<TPanel>(form.get());
  panel->SetBounds(10, 300, 80, 50);
  panel->SetParent(box);
  form->Show();
  SetForegroundWindow(form->GetHandle());
  PumpApplication(3);

  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetScrollBarInfo(box->GetHandle(), OBJID_VSCROLL, &info));
  ASSERT_FALSE(info.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "the bar shows";
  const int x = (info.rcScrollBar.left + info.rcScrollBar.right) / 2;
  auto click = [&](int y) {
    MoveMouseTo(POINT{x, y});
    LeftButton(true);
    LeftButton(false);
    PumpApplication(3);
  };
  click(info.rcScrollBar.bottom - info.dxyLineButton / 2);
  EXPECT_EQ(box->GetVertScrollBar()->GetPosition(), 8);
  EXPECT_EQ(panel->GetTop(), 300 - 8);

  click(info.rcScrollBar.bottom - info.dxyLineButton - 4);
  const int page = box->GetClientHeight() * 9 / 10;
  EXPECT_EQ(box->GetVertScrollBar()->GetPosition(), 8 + page);
  EXPECT_EQ(panel->GetTop(), 300 - 8 - page);
}

}  // namespace
