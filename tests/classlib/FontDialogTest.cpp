// The font dialog run for real (ChooseFontA), driven from its OnShow: the
// test picks in the dialog's lists and presses its buttons as a user would.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "classlib/Dialogs.h"

#include <dlgs.h>
#include "classlib/Forms.h"
#include "classlib/Printers.h"
#include "tests/classlib/DialogTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"

using namespace forms_test;
using namespace dialogs_test;

namespace {

// The font dialog's face, colour lists and its Apply button.
constexpr int kFaceCombo = cmb1;
constexpr int kColorCombo = cmb4;
constexpr int kApplyButton = psh3;

// Picks the item of a list of the dialog the way a click does: the
// selection, then the notification the dialog acts on.
void PickInCombo(HWND dialog, int id, int index, WORD notification) {
  HWND combo = GetDlgItem(dialog, id);
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(combo));
}

// The index of the list item whose data is the colour.
int ColorIndex(HWND dialog, COLORREF color) {
  HWND combo = GetDlgItem(dialog, kColorCombo);
  int n = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i)
    if (static_cast<COLORREF>(SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) == color) return i;
  return -1;
}

// Picks the first of the faces that the dialog lists; the face picked.
std::string PickFace(HWND dialog, std::initializer_list<std::string> faces) {
  HWND combo = GetDlgItem(dialog, kFaceCombo);
  int n = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (const std::string& face : faces)
    for (int i = 0; i < n; ++i) {
      char name[LF_FACESIZE] = {};
      SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
      if (face == name) {
        PickInCombo(dialog, kFaceCombo, i, CBN_SELCHANGE);
        return face;
      }
    }
  return {};
}

class FontDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = New<TFontDialog>(nullptr);
    script.Attach(dialog);
    dialog->GetFont()->SetName("Tahoma");
    dialog->GetFont()->SetHeight(-13);
    dialog->GetFont()->SetStyle({fsBold});
    form.reset(New<TForm>(nullptr, 0));
    form->SetBounds(60, 60, 200, 100);
    form->Show();
    PumpApplication(2);
  }
  void TearDown() override { dialog->Free(); }

  TFreshApplication app;
  Owned<TForm> form;
  TFontDialog* dialog = nullptr;
  TDialogScript script;
};

TEST_F(FontDialogTest, OkGivesTheFontBackAndKeepsTheColourTheUserDidNotPick) {
  // A system colour that the dialog's list does not hold.
  dialog->GetFont()->SetColor(clBtnFace);
  bool formEnabledMeanwhile = true;
  script.OnShow = [&](TCommonDialog* d) {
    formEnabledMeanwhile = IsWindowEnabled(form->GetHandle()) != FALSE;
    PressButton(d->GetHandle(), IDOK);
  };
  ASSERT_TRUE(dialog->Execute());
  TFont* f = dialog->GetFont();
  EXPECT_EQ(f->GetName(), "Tahoma");
  EXPECT_EQ(f->GetHeight(), -13);
  EXPECT_EQ(f->GetStyle(), TFontStyles{fsBold});
  EXPECT_EQ(f->GetColor(), clBtnFace);
  EXPECT_FALSE(formEnabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
  EXPECT_EQ(script.Log, (Lines{"show", "close"}));
}

TEST_F(FontDialogTest, AFaceAndAColourPickedInTheDialogComeBack) {
  std::string picked;
  script.OnShow = [&](TCommonDialog* d) {
    HWND h = d->GetHandle();
    // Another face than the font's, and red.
    picked = PickFace(h, {"Marlett", "MS Sans Serif"});
    int red = ColorIndex(h, RGB(255, 0, 0));
    if (red >= 0) PickInCombo(h, kColorCombo, red, CBN_SELENDOK);
    PressButton(h, IDOK);
  };
  ASSERT_TRUE(dialog->Execute());
  ASSERT_FALSE(picked.empty());
  EXPECT_EQ(dialog->GetFont()->GetName(), picked);
  EXPECT_EQ(dialog->GetFont()->GetColor(), static_cast<TColor>(RGB(255, 0, 0)));
}

TEST_F(FontDialogTest, ApplyHandsTheChoiceOverWhileTheDialogStaysAndCancelKeepsWhatWasApplied) {
  HWND applyWindow = nullptr;
  bool applyButtonShown = false;
  std::string fontNameAtApply;
  struct TApplier {
    std::function<void(HWND)> f;
    void Apply(TObject*, HWND wnd) { f(wnd); }
  } applier;
  applier.f = [&](HWND wnd) {
    applyWindow = wnd;
    fontNameAtApply = dialog->GetFont()->GetName();
    PressButton(wnd, IDCANCEL);
  };
  dialog->OnApply = TFDApplyEvent(&applier, &TApplier::Apply);
  HWND shown = nullptr;
  std::string picked;
  script.OnShow = [&](TCommonDialog* d) {
    shown = d->GetHandle();
    picked = PickFace(shown, {"Marlett", "MS Sans Serif"});
    HWND button = GetDlgItem(shown, kApplyButton);
    // The dialog itself is not visible yet at its WM_INITDIALOG.
    applyButtonShown = button && (GetWindowLongPtrA(button, GWL_STYLE) & WS_VISIBLE);
    PostMessageA(shown, WM_COMMAND, MAKEWPARAM(kApplyButton, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  };
  EXPECT_FALSE(dialog->Execute());
  EXPECT_TRUE(applyButtonShown);
  EXPECT_EQ(applyWindow, shown);
  ASSERT_FALSE(picked.empty());
  EXPECT_EQ(fontNameAtApply, picked);
  EXPECT_EQ(dialog->GetFont()->GetName(), picked);
}

TEST_F(FontDialogTest, PrinterFontsNeedAPrinter) {
  ASSERT_EQ(Printer()->GetPrinters()->GetCount(), 0) << "this machine has a printer";
  dialog->SetDevice(TFontDialogDevice::fdBoth);
  EXPECT_EQ(MessageOf<EPrinter>([&] { dialog->Execute(); }), "There is no default printer currently selected");
  EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
  EXPECT_TRUE(script.Log.empty());
}

}  // namespace
