// Scaling a nested form by 3/2 and back with real fonts, and mirroring
// children.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/FormTestSupport.h"

using namespace forms_test;

namespace {

TEST(ScalingTest, ANestedFormScaledByThreeHalvesAndBack) {
  TFreshApplication app;
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBorderStyle(bsSizeable);
  form->SetBounds(30, 30, 200, 100);
  form->SetClientWidth(300);
  form->SetClientHeight(200);
  form->GetFont()->SetSize(8);
  auto* panel = New<TPanel>(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(10, 10, 120, 80);
  panel->GetConstraints()->SetMaxWidth(200);
  auto* edit = New<TEdit>(form.get());
  edit->SetParent(panel);
  edit->SetBounds(10, 10, 100, 21);
  auto* button = New<TButton>(form.get());
  button->SetParent(panel);
  button->SetBounds(10, 40, 76, 26);
  button->GetFont()->SetSize(10);  // its own font
  auto* label = New<TLabel>(form.get());
  label->SetParent(form.get());
  label->SetAutoSize(false);
  label->SetBounds(150, 20, 60, 14);
  form->HandleNeeded();
  int editHeight = edit->GetHeight();
  RECT formWindow = form->GetBoundsRect();

  form->ScaleBy(3, 2);
  struct Case {
    TControl* control;
    RECT bounds;
  };
  for (Case c : {Case{panel, {15, 15, 195, 135}}, Case{button, {15, 60, 129, 99}}, Case{label, {225, 30, 315, 51}}}) {
    SCOPED_TRACE(c.control->ClassName());
    RECT r = c.control->GetBoundsRect();
    EXPECT_TRUE(EqualRect(&r, &c.bounds)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
  EXPECT_EQ(form->GetClientWidth(), 450);
  EXPECT_EQ(form->GetClientHeight(), 300);
  EXPECT_EQ(form->GetLeft(), formWindow.left);  // the form stays where it is
  EXPECT_EQ(form->GetFont()->GetSize(), 12);
  EXPECT_EQ(button->GetFont()->GetSize(), 15);
  EXPECT_EQ(edit->GetFont()->GetSize(), 12);  // the parents' font
  EXPECT_EQ(panel->GetConstraints()->GetMaxWidth(), 300);
  // The edit's height follows its font (measured), not the ratio.
  EXPECT_EQ(edit->GetLeft(), 15);
  EXPECT_GT(edit->GetHeight(), editHeight);

  form->ScaleBy(2, 3);
  for (Case c : {Case{panel, {10, 10, 130, 90}}, Case{button, {10, 40, 86, 66}}, Case{label, {150, 20, 210, 34}}}) {
    SCOPED_TRACE(c.control->ClassName());
    RECT r = c.control->GetBoundsRect();
    EXPECT_TRUE(EqualRect(&r, &c.bounds)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
  EXPECT_EQ(form->GetClientWidth(), 300);
  EXPECT_EQ(form->GetClientHeight(), 200);
  EXPECT_EQ(form->GetFont()->GetSize(), 8);
  EXPECT_EQ(button->GetFont()->GetSize(), 10);
  EXPECT_EQ(edit->GetHeight(), editHeight);
  EXPECT_EQ(panel->GetConstraints()->GetMaxWidth(), 200);
  RECT back = form->GetBoundsRect();
  EXPECT_TRUE(EqualRect(&back, &formWindow));
}

TEST(ScalingTest, FlipChildrenMirrorsPlacesAlignmentsAndAnchors) {
  TFreshApplication app;
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 300, 200);
  auto* left = New<TPanel>(form.get());
  left->SetParent(form.get());
  left->SetWidth(50);
  left->SetAlign(alLeft);
  auto* box = New<TPanel>(form.get());
  box->SetParent(form.get());
  box->SetBounds(100, 10, 120, 100);
  box->SetAnchors(TAnchors{akLeft, akTop});
  auto* inner = New<TPanel>(form.get());
  inner->SetParent(box);
  inner->SetBounds(10, 10, 30, 30);
  form->HandleNeeded();
  int boxClient = box->GetClientWidth();
  form->FlipChildren(false);
  EXPECT_EQ(left->GetAlign(), alRight);
  EXPECT_EQ(left->GetLeft(), 250);
  EXPECT_EQ(box->GetLeft(), 300 - 100 - 120);
  EXPECT_TRUE((box->GetAnchors() == TAnchors{akRight, akTop}));
  EXPECT_EQ(inner->GetLeft(), 10);  // not all levels
  form->FlipChildren(true);
  EXPECT_EQ(left->GetAlign(), alLeft);
  EXPECT_EQ(box->GetLeft(), 100);
  EXPECT_EQ(inner->GetLeft(), boxClient - 10 - 30);
}

}  // namespace
