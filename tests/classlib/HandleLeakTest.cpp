// Forms full of controls, made, shown, painted, re-created and freed again
// and again, leave no GDI or USER handle behind.
#include <gtest/gtest.h>

#include "classlib/Buttons.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/LeakTestSupport.h"

using namespace forms_test;

namespace {

using leak_test::CountHandles;
using leak_test::THandleCounts;

// One form of every kind of control the class library has, shown, painted,
// partly re-created, then freed.
void MakeShowAndFreeAForm() {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBounds(40, 40, 420, 320);
  form->SetCaption("handles");
  auto* menu = New<TMainMenu>(form.get());
  auto* file = New<TMenuItem>(form.get());
  file->SetCaption("&File");
  menu->GetItems()->Add(file);
  auto* open = New<TMenuItem>(form.get());
  open->SetCaption("&Open");
  file->Add(open);
  form->SetMenu(menu);
  auto* popup = New<TPopupMenu>(form.get());
  auto* popupItem = New<TMenuItem>(form.get());
  popupItem->SetCaption("Item");
  popup->GetItems()->Add(popupItem);
  form->SetPopupMenu(popup);

  auto* panel = New<TPanel>(form.get());
  panel->SetBounds(0, 0, 200, 150);
  panel->SetCaption("panel");
  panel->SetParent(form.get());
  auto place = [&](TControl* c, TWinControl* parent, int x, int y) {
    c->SetBounds(x, y, 80, 24);
    c->SetParent(parent);
  };
  auto* label = New<TLabel>(form.get());
  label->SetCaption("&label");
  place(label, panel, 4, 4);
  auto* button = New<TButton>(form.get());
  button->SetCaption("OK");
  place(button, panel, 4, 30);
  auto* check = New<TCheckBox>(form.get());
  check->SetCaption("check");
  place(check, panel, 4, 60);
  auto* radio = New<TRadioButton>(form.get());
  radio->SetCaption("radio");
  place(radio, panel, 4, 90);
  auto* speed = New<TSpeedButton>(form.get());
  speed->GetGlyph()->SetSize(16, 16);
  place(speed, panel, 100, 4);
  auto* edit = New<TEdit>(form.get());
  edit->SetText("edit");
  place(edit, form.get(), 210, 4);
  auto* memo = New<TMemo>(form.get());
  place(memo, form.get(), 210, 34);
  memo->GetLines()->Add("memo");
  auto* combo = New<TComboBox>(form.get());
  place(combo, form.get(), 210, 64);
  combo->GetItems()->Add("one");
  combo->GetItems()->Add("two");
  auto* list = New<TListBox>(form.get());
  place(list, form.get(), 210, 100);
  list->SetStyle(lbOwnerDrawFixed);
  for (const char* s : {"a", "b", "c"}) list->GetItems()->Add(s);
  auto* group = New<TGroupBox>(form.get());
  group->SetCaption("group");
  place(group, form.get(), 4, 160);
  auto* scroll = New<TScrollBar>(form.get());
  place(scroll, form.get(), 100, 160);
  auto* bevel = New<TBevel>(form.get());
  place(bevel, form.get(), 4, 200);
  auto* shape = New<TShape>(form.get());
  place(shape, form.get(), 100, 200);
  auto* image = New<TImage>(form.get());
  place(image, form.get(), 4, 240);
  image->GetCanvas()->FillRect(Rect(0, 0, 10, 10));
  auto* timer = New<TTimer>(form.get());
  timer->SetInterval(60000);
  struct TTicker {
    void Tick(TObject*) {}
  };
  static TTicker ticker;
  timer->SetOnTimer(TNotifyEvent(&ticker, &TTicker::Tick));

  form->Show();
  UpdateWindow(form->GetHandle());
  PumpApplication(2);
  list->SetSorted(true);      // a new list window with the items
  panel->SetBorderWidth(2);   // a repaint
  combo->SetStyle(csDropDownList);
  form->SetBorderStyle(bsSingle);  // a new form window, menu bar kept
  UpdateWindow(form->GetHandle());
  PumpApplication(2);
  form->Hide();
}

TEST(HandleLeakTest, FormsWithControlsGiveBackEveryHandle) {
  TFreshApplication app;
  // The first round makes what lives for the program: window classes, the
  // stock cursors, the fonts and brushes the caches keep.
  MakeShowAndFreeAForm();
  PumpApplication(2);
  THandleCounts before = CountHandles();
  ASSERT_GT(before.Gdi, 0);
  ASSERT_GT(before.User, 0);
  constexpr int kRounds = 12;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    MakeShowAndFreeAForm();
  }
  PumpApplication(2);
  THandleCounts after = CountHandles();
  // A handle left by a form is left by every one of them. Wine's DC cache
  // keeps the DCs of the most paints that ever overlapped, which a loaded
  // machine may raise by one or two: fewer than one object a round is no
  // leak of a form's.
  EXPECT_GE(after.Gdi, before.Gdi - 2);
  EXPECT_LT(after.Gdi - before.Gdi, kRounds);
  EXPECT_EQ(after.User, before.User);
}

}  // namespace
