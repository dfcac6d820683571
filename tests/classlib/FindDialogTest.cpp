// The modeless find and replace dialogs run for real (FindTextA,
// ReplaceTextA): Execute returns while the dialog stays; the test types
// into the dialog's boxes, ticks its boxes and presses its buttons, and the
// application's loop carries the dialog's messages back to the object.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "tests/classlib/DialogTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"

#include <dlgs.h>

using namespace forms_test;
using namespace dialogs_test;

namespace {

constexpr int kFindEdit = edt1;
constexpr int kReplaceEdit = edt2;
constexpr int kMatchCaseBox = chx2;
constexpr int kReplaceButton = psh1;
constexpr int kReplaceAllButton = psh2;

// Clicks a button of the dialog (posted, then the loop runs).
void Click(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  PumpApplication(3);
}

struct TEvents {
  std::vector<std::string> Log;
  TFindDialog* Dialog = nullptr;
  // What each event saw: the kind, the text and the options as the
  // dialog left them.
  std::string Describe(const char* kind) {
    std::string s = std::string(kind) + " '" + Dialog->GetFindText() + "'";
    if (auto* r = dynamic_cast<TReplaceDialog*>(Dialog)) s += " -> '" + r->GetReplaceText() + "'";
    TFindOptions o = Dialog->GetOptions();
    for (auto [opt, name] : {std::pair{frDown, "down"}, {frMatchCase, "case"}, {frFindNext, "next"},
                             {frReplace, "replace"}, {frReplaceAll, "all"}})
      if (o.Contains(opt)) s += std::string(" ") + name;
    return s;
  }
  void Find(TObject*) { Log.push_back(Describe("find")); }
  void Replace(TObject*) { Log.push_back(Describe("replace")); }
};

class FindDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBounds(30, 30, 300, 200);
    form->Show();
    PumpApplication(2);
  }
  template <class D>
  D* Make() {
    D* d = New<D>(nullptr);
    owned.reset(d);
    script.Attach(d);
    events.Dialog = d;
    d->OnFind = TNotifyEvent(&events, &TEvents::Find);
    return d;
  }

  TFreshApplication app;
  Owned<TForm> form;
  Owned<TFindDialog> owned;
  TDialogScript script;
  TEvents events;
};

TEST_F(FindDialogTest, FindNextFiresOnFindWithTheTypedTextAndTheTickedOptions) {
  auto* d = Make<TFindDialog>();
  d->SetFindText("start");
  ASSERT_TRUE(d->Execute());
  HWND h = d->GetHandle();
  ASSERT_NE(h, nullptr);
  // Modeless: the form stays usable while the dialog is there.
  EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
  char shown[64] = {};
  GetDlgItemTextA(h, kFindEdit, shown, sizeof shown);
  EXPECT_STREQ(shown, "start");
  Click(h, IDOK);
  SetDlgItemTextA(h, kFindEdit, "Needle");
  CheckDlgButton(h, kMatchCaseBox, BST_CHECKED);
  Click(h, IDOK);
  EXPECT_EQ(events.Log, (Lines{"find 'start' down next", "find 'Needle' down case next"}));
  EXPECT_EQ(d->GetFindText(), "Needle");
  EXPECT_EQ(script.Log, (Lines{"show"}));
}

TEST_F(FindDialogTest, ClosingRemembersThePlaceAndASecondExecuteReopensThere) {
  auto* d = Make<TFindDialog>();
  d->SetPosition({120, 90});
  ASSERT_TRUE(d->Execute());
  HWND first = d->GetHandle();
  RECT r{};
  GetWindowRect(first, &r);
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.top, 90);
  // While open, Execute brings the same dialog up again.
  ASSERT_TRUE(d->Execute());
  EXPECT_EQ(d->GetHandle(), first);
  // The user moves it and closes it.
  SetWindowPos(first, nullptr, 150, 110, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Closed, and opened again before the loop runs once more.
  SendMessageA(first, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(d->GetHandle(), nullptr);
  EXPECT_EQ(d->GetLeft(), 150);
  EXPECT_EQ(d->GetTop(), 110);
  EXPECT_EQ(script.Log, (Lines{"show", "close"}));
  ASSERT_TRUE(d->Execute());
  PumpApplication(3);
  ASSERT_TRUE(IsWindow(d->GetHandle()));
  GetWindowRect(d->GetHandle(), &r);
  EXPECT_EQ(r.left, 150);
  EXPECT_EQ(r.top, 110);
  d->CloseDialog();
  PumpApplication(3);
  EXPECT_EQ(d->GetHandle(), nullptr);
}

TEST_F(FindDialogTest, ReplaceAndReplaceAllFireOnReplace) {
  auto* d = Make<TReplaceDialog>();
  d->OnReplace = TNotifyEvent(&events, &TEvents::Replace);
  d->SetFindText("cat");
  d->SetReplaceText("dog");
  ASSERT_TRUE(d->Execute());
  HWND h = d->GetHandle();
  char shown[64] = {};
  GetDlgItemTextA(h, kReplaceEdit, shown, sizeof shown);
  EXPECT_STREQ(shown, "dog");
  Click(h, kReplaceButton);
  SetDlgItemTextA(h, kReplaceEdit, "bird");
  Click(h, kReplaceAllButton);
  Click(h, IDOK);
  // The replace dialog searches downwards without saying so.
  ASSERT_EQ(events.Log.size(), 3u);
  EXPECT_EQ(events.Log[0].rfind("replace 'cat' -> 'dog'", 0), 0u) << events.Log[0];
  EXPECT_NE(events.Log[0].find(" replace"), std::string::npos);
  EXPECT_EQ(events.Log[1].rfind("replace 'cat' -> 'bird'", 0), 0u) << events.Log[1];
  EXPECT_NE(events.Log[1].find(" all"), std::string::npos);
  EXPECT_EQ(events.Log[2].rfind("find 'cat' -> 'bird'", 0), 0u) << events.Log[2];
}

TEST_F(FindDialogTest, TextsAreCutToWhatTheDialogHolds) {
  auto* d = Make<TReplaceDialog>();
  d->SetFindText(std::string(300, 'f'));
  d->SetReplaceText(std::string(256, 'r'));
  EXPECT_EQ(d->GetFindText(), std::string(255, 'f'));
  EXPECT_EQ(d->GetReplaceText(), std::string(255, 'r'));
}

TEST_F(FindDialogTest, FreeingTheObjectClosesAnOpenDialog) {
  auto* d = Make<TFindDialog>();
  ASSERT_TRUE(d->Execute());
  HWND h = d->GetHandle();
  owned.reset();
  EXPECT_FALSE(IsWindow(h));
  PumpApplication(3);
}

// The dialog's keys work under the class library's loop: while the dialog
// is active it is the application's DialogHandle (IsDialogMessage), so Tab
// moves between its controls and Escape closes it.
TEST(SerialFindDialogKeys, TabAndEscapeWorkUnderTheApplicationsLoop) {
  TFreshApplication app;
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBounds(30, 30, 300, 200);
  form->Show();
  Owned<TFindDialog> d(New<TFindDialog>(nullptr));
  ASSERT_TRUE(d->Execute());
  HWND h = d->GetHandle();
  SetForegroundWindow(h);
  SetFocus(GetDlgItem(h, kFindEdit));
  PumpApplication(5);
  EXPECT_EQ(Application->GetDialogHandle(), h);
  HWND before = GetFocus();
  TypeKey(VK_TAB);
  PumpApplication(5);
  EXPECT_NE(GetFocus(), before);
  EXPECT_EQ(GetParent(GetFocus()), h);
  TypeKey(VK_ESCAPE);
  PumpApplication(5);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(d->GetHandle(), nullptr);
  EXPECT_EQ(Application->GetDialogHandle(), nullptr);
}

}  // namespace
