// The push buttons under the real mouse and keyboard on a shown form: the
// form's dialog keys reach the default and cancel buttons, Space presses,
// a click toggles a group button.
#include <gtest/gtest.h>

#include "classlib/StdCtrls.h"
#include "kx/controls/KxButton.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

namespace {

class SerialKxButtonInput : public ::testing::Test {
 protected:
  void SetUp() override {
    edit = form.Add<TEdit>(10, 10, 100, 22);
    ok = form.Add<TKxBitBtn>(10, 50, 75, 25);
    ok->SetKind(bkOK);
    cancel = form.Add<TKxBitBtn>(100, 50, 75, 25);
    cancel->SetKind(bkCancel);
    other = form.Add<TKxButton>(190, 50, 75, 25);
    other->SetCaption("&Other");
    for (auto [b, counter] : {std::pair<TKxButton*, TEventCounter*>{ok, &okClicks},
                              {cancel, &cancelClicks}, {other, &otherClicks}})
      b->OnClick = counter->Event();
    form.Show();
    form.Form()->SetActiveControl(edit);
    forms_test::PumpApplication(2);
  }

  TShownForm form;
  TEdit* edit = nullptr;
  TKxBitBtn* ok = nullptr;
  TKxBitBtn* cancel = nullptr;
  TKxButton* other = nullptr;
  TEventCounter okClicks, cancelClicks, otherClicks;
};

TEST_F(SerialKxButtonInput, EnterClicksTheDefaultAndEscapeTheCancelButton) {
  ASSERT_TRUE(edit->Focused());
  EXPECT_TRUE(ok->GetActiveDefault());
  form.Type(VK_RETURN);
  EXPECT_EQ(okClicks.Count, 1);
  EXPECT_EQ(form.Form()->GetModalResult(), mrOk);
  form.Form()->SetModalResult(mrNone);
  form.Type(VK_ESCAPE);
  EXPECT_EQ(cancelClicks.Count, 1);
  EXPECT_EQ(form.Form()->GetModalResult(), mrCancel);
  EXPECT_EQ(otherClicks.Count, 0);
}

TEST_F(SerialKxButtonInput, EnterOnAnotherFocusedButtonClicksThatOne) {
  other->SetFocus();
  forms_test::PumpApplication(2);
  ASSERT_TRUE(other->Focused());
  EXPECT_TRUE(other->GetActiveDefault());
  EXPECT_FALSE(ok->GetActiveDefault()) << "the default gives way to the focused button";
  form.Type(VK_RETURN);
  EXPECT_EQ(otherClicks.Count, 1);
  EXPECT_EQ(okClicks.Count, 0);
  edit->SetFocus();
  forms_test::PumpApplication(2);
  EXPECT_TRUE(ok->GetActiveDefault()) << "and takes over again";
}

TEST_F(SerialKxButtonInput, TheAcceleratorClicks) {
  form.Key(VK_MENU, true);
  form.Type('O');
  form.Key(VK_MENU, false);
  EXPECT_EQ(otherClicks.Count, 1);
}

TEST_F(SerialKxButtonInput, SpacePressesUntilReleasedAndClicksOnce) {
  other->SetFocus();
  forms_test::PumpApplication(2);
  form.Key(VK_SPACE, true);
  EXPECT_TRUE(other->GetShowingPressed());
  EXPECT_EQ(otherClicks.Count, 0);
  form.Key(VK_SPACE, false);
  EXPECT_FALSE(other->GetShowingPressed());
  EXPECT_EQ(otherClicks.Count, 1);
}

TEST_F(SerialKxButtonInput, AMouseClickFocusesClicksAndTogglesAGroupButton) {
  other->SetGroupIndex(1);
  other->SetAllowAllUp(true);
  form.MoveTo(other, POINT{20, 10});
  form.Button(true);
  EXPECT_TRUE(other->Focused()) << "a press takes the focus";
  EXPECT_TRUE(other->GetShowingPressed());
  form.Button(false);
  EXPECT_EQ(otherClicks.Count, 1);
  EXPECT_TRUE(other->GetDown());
  // Pressed, dragged off and released there: nothing.
  form.Button(true);
  form.MoveTo(other, POINT{20, 60});
  EXPECT_FALSE(other->GetShowingPressed());
  form.Button(false);
  EXPECT_EQ(otherClicks.Count, 1);
  EXPECT_TRUE(other->GetDown());
}

}  // namespace
