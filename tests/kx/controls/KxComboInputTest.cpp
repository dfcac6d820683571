// The framed combo box under the real keyboard and mouse on a shown form:
// typing completes, Enter moves on with TabOnEnter (and only closes an open
// list), a read-only combo box opens by no key or click yet copies, the
// focus colours it, and the wheel steps it.
#include <gtest/gtest.h>

#include "classlib/Clipbrd.h"
#include "classlib/StdCtrls.h"
#include "tests/kx/controls/KxComboTestSupport.h"

using namespace kxc_test;

namespace {

class SerialKxComboInput : public ::testing::Test {
 protected:
  void SetUp() override {
    combo = form.Add<TKxComboBox>(10, 10, 160, 24);
    for (const char* s : {"apple", "apricot", "banana", "blueberry", "cherry"}) combo->Add(s);
    next = form.Add<TEdit>(10, 60, 100, 22);
    // Away from where the list drops: an item under the pointer would be
    // picked as the list opens.
    forms_test::MoveMouseTo(POINT{0, 0});
    form.Show();
    form.Form()->SetActiveControl(combo);
    forms_test::PumpApplication(3);
  }
  void TearDown() override {
    if (combo->GetDroppedDown()) combo->SetDroppedDown(false);
  }
  // Keys with a modifier held.
  static void Chord(WORD modifier, WORD vk) {
    TShownForm::Key(modifier, true);
    TShownForm::Type(vk);
    TShownForm::Key(modifier, false);
  }
  // The centre of the drop-down button in the combo box's client area.
  POINT ButtonCentre() {
    TRect b = combo->ButtonRect();
    return POINT{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
  }

  TShownForm form;
  TKxComboBox* combo = nullptr;
  TEdit* next = nullptr;
};

TEST_F(SerialKxComboInput, TypedLettersAreCompletedAndEnterMovesOnWithTabOnEnter) {
  ASSERT_TRUE(combo->Focused());
  combo->SetTabOnEnter(true);
  form.Type('A');
  form.Type('P');
  form.Type('R');
  EXPECT_EQ(combo->GetText(), "apricot");
  EXPECT_EQ(EditSel(combo), std::make_pair(3, 7));
  form.Type(VK_RETURN);
  forms_test::PumpApplication(3);
  EXPECT_TRUE(next->Focused());
  EXPECT_FALSE(combo->Focused());
}

TEST_F(SerialKxComboInput, EnterWithTheListOpenOnlyClosesIt) {
  combo->SetTabOnEnter(true);
  form.Type(VK_F4);
  ASSERT_TRUE(combo->GetDroppedDown());
  form.Type(VK_DOWN);
  form.Type(VK_RETURN);
  EXPECT_FALSE(combo->GetDroppedDown());
  EXPECT_TRUE(combo->Focused());
  EXPECT_EQ(combo->GetItemIndex(), 0);
}

TEST_F(SerialKxComboInput, AReadOnlyComboOpensByNoKeyOrClickButCopies) {
  combo->SetItemIndex(2);
  combo->SetReadOnly(true);
  form.Type(VK_F4);
  EXPECT_FALSE(combo->GetDroppedDown()) << "F4";
  Chord(VK_MENU, VK_DOWN);
  EXPECT_FALSE(combo->GetDroppedDown()) << "Alt+Down";
  form.MoveTo(combo, ButtonCentre());
  form.Button(true);
  form.Button(false);
  EXPECT_FALSE(combo->GetDroppedDown()) << "a click on the button";
  form.Type('C');
  form.Type(VK_BACK);
  EXPECT_EQ(combo->GetText(), "banana");
  Clipboard()->SetAsText("before");
  SendMessageA(combo->GetEditHandle(), EM_SETSEL, 0, -1);
  Chord(VK_CONTROL, 'C');
  EXPECT_EQ(Clipboard()->GetAsText(), "banana");
}

TEST_F(SerialKxComboInput, WithoutAutoCompleteOnlyTheMouseIsBlocked) {
  combo->SetAutoComplete(false);
  combo->SetReadOnly(true);
  form.MoveTo(combo, ButtonCentre());
  form.Button(true);
  form.Button(false);
  EXPECT_FALSE(combo->GetDroppedDown());
  form.Type('Q');
  EXPECT_EQ(combo->GetText(), "") << "the edit part is read-only";
  form.Type(VK_F4);
  EXPECT_TRUE(combo->GetDroppedDown());
}

TEST_F(SerialKxComboInput, TheFocusColoursTheComboAndLeavingGivesItsColourBack) {
  combo->SetFocusColor(clYellow);
  next->SetFocus();
  forms_test::PumpApplication(3);
  EXPECT_EQ(combo->GetColor(), clWindow);
  form.MoveTo(combo, POINT{10, 10});
  form.Button(true);
  form.Button(false);
  EXPECT_TRUE(combo->Focused());
  EXPECT_EQ(combo->GetColor(), clYellow);
  form.Type(VK_TAB);
  EXPECT_EQ(combo->GetColor(), clWindow);
}

TEST_F(SerialKxComboInput, TheWheelStepsThroughTheItemsAndStopsAtTheLast) {
  combo->SetStyle(csDropDownList);
  combo->SetItemIndex(3);
  form.Form()->SetActiveControl(combo);
  form.MoveTo(combo, POINT{10, 10});
  for (int i = 0; i < 3; ++i) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
    SendInput(1, &in, sizeof in);
    forms_test::PumpApplication(3);
    EXPECT_EQ(combo->GetItemIndex(), 4) << "notch " << i;
  }
}

}  // namespace

namespace {

class SerialKxMRUMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    mru = form.Add<TKxMRUComboBox>(10, 10, 160, 24);
    mru->Add("alpha");
    other = form.Add<TEdit>(10, 60, 100, 22);
    form.Show();
    form.Form()->SetActiveControl(other);
    forms_test::PumpApplication(3);
  }
  std::vector<bool> Enabled() {
    std::vector<bool> out;
    for (int i = 0; i < 10; ++i) out.push_back(mru->GetMenuItem(i)->GetEnabled());
    return out;
  }
  TShownForm form;
  TKxMRUComboBox* mru = nullptr;
  TEdit* other = nullptr;
};

TEST_F(SerialKxMRUMenu, TheMenuTakesTheFocusAndEnablesWhatTheTextAllows) {
  Clipboard()->SetAsText("");
  TPopupMenu* menu = mru->GetEditMenu();
  menu->DoPopup(menu);
  forms_test::PumpApplication(3);
  EXPECT_TRUE(mru->Focused()) << "the combo box takes the focus";
  // No text: no selection, nothing to select or remove, an empty clipboard.
  std::vector<bool> none = Enabled();
  for (int i : {2, 3, 4, 5, 7, 9}) EXPECT_FALSE(none[static_cast<size_t>(i)]) << i;

  form.Type('B');
  form.Type('E');
  SendMessageA(mru->GetEditHandle(), EM_SETSEL, 0, -1);
  Clipboard()->SetAsText("paste me");
  menu->DoPopup(menu);
  std::vector<bool> some = Enabled();
  for (int i : {0, 2, 3, 4, 5, 7, 9}) EXPECT_TRUE(some[static_cast<size_t>(i)]) << i;

  // Cut through the menu's item: the text goes to the clipboard.
  mru->GetMenuItem(2)->Click();
  EXPECT_EQ(Clipboard()->GetAsText(), "be");
  EXPECT_EQ(mru->GetText(), "");
  mru->GetMenuItem(4)->Click();
  EXPECT_EQ(mru->GetText(), "be");
  mru->GetMenuItem(7)->Click();
  EXPECT_EQ(EditSel(mru), std::make_pair(0, 2));
}

}  // namespace
