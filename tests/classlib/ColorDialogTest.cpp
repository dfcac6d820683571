// The colour dialog run for real (ChooseColorA): each test closes it from
// its OnShow, the way a user would press OK or Cancel, after setting what it
// wants in the dialog's own controls.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "tests/classlib/DialogTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"

using namespace forms_test;
using namespace dialogs_test;

namespace {

// The colour dialog's red, green and blue edits (shown when full open).
constexpr int kRedEdit = 706, kGreenEdit = 707, kBlueEdit = 708;

class ColorDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = New<TColorDialog>(nullptr);
    script.Attach(dialog);
    form.reset(New<TForm>(nullptr, 0));
    form->SetBounds(50, 50, 200, 100);
    form->Show();
    PumpApplication(2);
  }
  void TearDown() override { dialog->Free(); }
  // Presses a button of the dialog once it is up.
  static void Press(TCommonDialog* d, int id) { PressButton(d->GetHandle(), id); }

  TFreshApplication app;
  Owned<TForm> form;
  TColorDialog* dialog = nullptr;
  TDialogScript script;
};

TEST_F(ColorDialogTest, OkCarriesTheColourBackAndTheOtherWindowsAreDisabledMeanwhile) {
  dialog->SetColor(RGB(10, 20, 30));
  dialog->SetOptions(TColorDialogOptions{cdFullOpen});
  bool formEnabledMeanwhile = true;
  script.OnShow = [&](TCommonDialog* d) {
    formEnabledMeanwhile = IsWindowEnabled(form->GetHandle()) != FALSE;
    // Full open: new numbers typed into the colour's edits.
    SetDlgItemInt(d->GetHandle(), kRedEdit, 200, FALSE);
    SetDlgItemInt(d->GetHandle(), kGreenEdit, 100, FALSE);
    SetDlgItemInt(d->GetHandle(), kBlueEdit, 50, FALSE);
    Press(d, IDOK);
  };
  ASSERT_TRUE(dialog->Execute());
  EXPECT_EQ(dialog->GetColor(), static_cast<TColor>(RGB(200, 100, 50)));
  EXPECT_FALSE(formEnabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
  EXPECT_EQ(dialog->GetHandle(), nullptr);
  EXPECT_EQ(script.Log, (std::vector<std::string>{"show", "close"}));
}

TEST_F(ColorDialogTest, CancelKeepsTheColourAndTheCustomColours) {
  dialog->SetColor(clRed);
  dialog->GetCustomColors()->SetText("ColorA=123456\n");
  script.OnShow = [&](TCommonDialog* d) { Press(d, IDCANCEL); };
  EXPECT_FALSE(dialog->Execute());
  EXPECT_EQ(dialog->GetColor(), clRed);
  EXPECT_EQ(LinesOf(dialog->GetCustomColors()), Lines{"ColorA=123456"});
}

TEST_F(ColorDialogTest, CustomColoursGoInAndComeBackAsSixteenLines) {
  // A system colour goes in as its RGB value; custom colours by name, in
  // any order; a line that is not hexadecimal is no colour (white).
  dialog->SetColor(clBtnFace);
  dialog->GetCustomColors()->SetText("ColorC=00FF00\nColorA=0000ff\nColorB=nonsense\n");
  script.OnShow = [&](TCommonDialog* d) { Press(d, IDOK); };
  ASSERT_TRUE(dialog->Execute());
  EXPECT_EQ(dialog->GetColor(), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  TStrings* c = dialog->GetCustomColors();
  EXPECT_EQ(c->GetValue("ColorA"), "0000FF");
  EXPECT_EQ(c->GetValue("ColorB"), "FFFFFF");
  EXPECT_EQ(c->GetValue("ColorC"), "00FF00");
  EXPECT_EQ(c->GetValue("ColorP"), "FFFFFF");
  int named = 0;
  for (char k = 'A'; k <= 'P'; ++k)
    if (c->IndexOfName(std::string("Color") + k) >= 0) ++named;
  EXPECT_EQ(named, 16);
  EXPECT_EQ(c->GetCount(), 16);
}

TEST_F(ColorDialogTest, AnExceptionInOnShowGoesToTheApplicationAndTheDialogStillCloses) {
  std::string reported;
  struct TCatcher {
    std::string* reported;
    void Handle(TObject*, Exception& e) { *reported = e.GetMessage(); }
  } catcher{&reported};
  Application->OnException = TExceptionEvent(&catcher, &TCatcher::Handle);
  script.OnShow = [&](TCommonDialog* d) {
    Press(d, IDCANCEL);
    throw EInvalidOperation("from OnShow");
  };
  EXPECT_FALSE(dialog->Execute());
  EXPECT_EQ(reported, "from OnShow");
  EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
}

}  // namespace
