// The search actions on a real memo: Find and Replace open the system's
// modeless dialogs for the focused memo, the test types into the dialog and
// presses its buttons as a user would, and the memo's selection shows what
// was found. "Text not found" arrives through the message-box seam.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/ActnList.h"
#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "classlib/StdActns.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"

#include <dlgs.h>

using namespace forms_test;

namespace {

constexpr int kFindEdit = edt1;
constexpr int kReplaceEdit = edt2;
constexpr int kMatchCaseBox = chx2;
constexpr int kUpButton = rad1;
constexpr int kReplaceButton = psh1;
constexpr int kReplaceAllButton = psh2;

// SearchEdit over a table: where the search starts, which way it goes and
// what counts as a match.
struct TSearchCase {
  const char* Text;
  int SelStart, SelLength;
  const char* Find;
  TFindOptions Options;
  bool FindFirst;
  int Found;  // -1: nothing found, the selection stays
};

TEST(StdSearchEditTest, SearchEditFindsFromTheSelectionInTheDialogsWay) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* memo = New<TMemo>(form.get());
  memo->SetParent(form.get());
  const TFindOptions down{frDown};
  const TSearchCase cases[] = {
      {"a cat, a Cat", 0, 0, "cat", down, false, 2},
      {"a cat, a Cat", 2, 3, "cat", down, false, 9},              // after the selection
      {"a cat, a Cat", 2, 3, "cat", {frDown, frMatchCase}, false, -1},
      {"a cat, a Cat", 9, 3, "cat", down, false, -1},
      {"a cat, a Cat", 9, 3, "cat", down, true, 2},               // find first: from the start
      {"a cat, a Cat", 12, 0, "cat", {}, false, 9},               // upwards from the end
      {"a cat, a Cat", 9, 3, "cat", {}, false, 2},                // upwards: before the selection
      {"a cat, a Cat", 2, 3, "cat", {}, false, -1},
      {"a cat, a Cat", 0, 0, "cat", {}, true, 9},                 // find first upwards: from the end
      {"concat cat", 0, 0, "cat", {frDown, frWholeWord}, false, 7},
      {"cat_x cat", 0, 0, "cat", {frDown, frWholeWord}, false, 0},  // "_" is no letter
      {"line\r\ntwo two", 0, 0, "two", down, false, 6},          // positions count the line break
      {"short", 0, 0, "longer than it", down, false, -1},
      {"", 0, 0, "x", down, false, -1},
      {"text", 0, 0, "", down, false, -1},
      {"\xC9t\xE9 \xE9T\xC9", 0, 0, "\xE9t\xE9", {frDown}, false, 0},  // code page letters fold too
      {"\xC9t\xE9 \xE9t\xE9", 0, 0, "\xE9t\xE9", {frDown, frMatchCase}, false, 4},
  };
  for (const TSearchCase& c : cases) {
    SCOPED_TRACE(std::string("'") + c.Find + "' in '" + c.Text + "' from " + std::to_string(c.SelStart));
    memo->SetText(c.Text);
    memo->SetSelStart(c.SelStart);
    memo->SetSelLength(c.SelLength);
    EXPECT_EQ(SearchEdit(memo, c.Find, c.Options, c.FindFirst), c.Found >= 0);
    EXPECT_EQ(memo->GetSelStart(), c.Found >= 0 ? c.Found : c.SelStart);
    EXPECT_EQ(memo->GetSelLength(), c.Found >= 0 ? static_cast<int>(std::string(c.Find).size()) : c.SelLength);
  }
}

class SerialStdSearchActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBounds(40, 40, 360, 220);
    memo = New<TMemo>(form.get());
    memo->SetParent(form.get());
    memo->SetBounds(10, 10, 300, 100);
    button = New<TButton>(form.get());
    button->SetParent(form.get());
    button->SetBounds(10, 120, 80, 24);
    form->Show();
    SetForegroundWindow(form->GetHandle());
    FocusMemo();
  }
  void FocusMemo() {
    SetForegroundWindow(form->GetHandle());
    memo->SetFocus();
    PumpApplication(3);
    ASSERT_TRUE(memo->Focused());
  }
  // Clicks a button of the dialog (posted, then the loop runs).
  static void Click(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    PumpApplication(3);
  }
  std::string Selection() { return std::to_string(memo->GetSelStart()) + "+" + std::to_string(memo->GetSelLength()); }

  TFreshApplication app;
  Owned<TForm> form;
  TMemo* memo = nullptr;
  TButton* button = nullptr;
  std::vector<std::string> boxes;
  TSeamOverride<decltype(Seams().MessageBox)> box{Seams().MessageBox,
                                                   [this](HWND, const std::string& text, const std::string&, UINT) {
                                                     boxes.push_back(text);
                                                     return IDOK;
                                                   }};
};

TEST_F(SerialStdSearchActionsTest, FindSelectsEachMatchInTurnThenSaysThereIsNoMore) {
  auto* find = New<TSearchFind>(form.get());
  memo->SetText("a cat, a Cat, a cAT");
  EXPECT_TRUE(find->Execute());
  HWND h = find->GetDialog()->GetHandle();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(find->GetSearchControl(), memo);
  SetDlgItemTextA(h, kFindEdit, "cat");
  std::vector<std::string> seen;
  for (int i = 0; i < 4; ++i) {
    Click(h, IDOK);
    seen.push_back(Selection());
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"2+3", "9+3", "16+3", "16+3"}));
  EXPECT_EQ(boxes, std::vector<std::string>{"Text not found: \"cat\""});

  // Upwards with the case as typed.
  CheckDlgButton(h, kMatchCaseBox, BST_CHECKED);
  CheckRadioButton(h, rad1, rad2, kUpButton);
  Click(h, IDOK);
  EXPECT_EQ(Selection(), "2+3");
  find->GetDialog()->CloseDialog();
  PumpApplication(2);
}

TEST_F(SerialStdSearchActionsTest, TheSearchActionsNeedAFocusedEditWithText) {
  auto* find = New<TSearchFind>(form.get());
  auto* replace = New<TSearchReplace>(form.get());
  memo->SetText("");
  EXPECT_FALSE(find->Execute());
  EXPECT_FALSE(find->GetEnabled());
  EXPECT_EQ(find->GetDialog()->GetHandle(), nullptr);

  memo->SetText("text");
  memo->SetReadOnly(true);
  find->Update();
  replace->Update();
  EXPECT_TRUE(find->GetEnabled());
  EXPECT_FALSE(replace->GetEnabled());  // nothing may be replaced in a read-only memo

  memo->SetReadOnly(false);
  button->SetFocus();
  PumpApplication(2);
  EXPECT_FALSE(find->Execute());
  EXPECT_FALSE(find->GetEnabled());
}

TEST_F(SerialStdSearchActionsTest, ReplaceTakesTheFoundTextAndMovesOnAndReplaceAllEnds) {
  auto* replace = New<TSearchReplace>(form.get());
  memo->SetText("banana");
  EXPECT_TRUE(replace->Execute());
  HWND h = replace->GetDialog()->GetHandle();
  ASSERT_NE(h, nullptr);
  SetDlgItemTextA(h, kFindEdit, "an");
  SetDlgItemTextA(h, kReplaceEdit, "AN");
  // Replace first finds, then replaces what it found and finds the next.
  Click(h, kReplaceButton);
  EXPECT_EQ(memo->GetText(), "banana");
  EXPECT_EQ(Selection(), "1+2");
  Click(h, kReplaceButton);
  EXPECT_EQ(memo->GetText(), "bANana");
  EXPECT_EQ(Selection(), "3+2");
  Click(h, kReplaceButton);
  EXPECT_EQ(memo->GetText(), "bANANa");
  EXPECT_TRUE(boxes.empty());  // the last one replaced, though no more follow
  Click(h, kReplaceButton);
  EXPECT_EQ(boxes, std::vector<std::string>{"Text not found: \"an\""});

  // A replacement that holds the searched text: each one is replaced once.
  memo->SetText("banana");
  memo->SetSelStart(0);
  SetDlgItemTextA(h, kFindEdit, "a");
  SetDlgItemTextA(h, kReplaceEdit, "aa");
  Click(h, kReplaceAllButton);
  EXPECT_EQ(memo->GetText(), "baanaanaa");
  EXPECT_EQ(boxes.size(), 1u);
  replace->GetDialog()->CloseDialog();
  PumpApplication(2);
}

TEST_F(SerialStdSearchActionsTest, FindNextSearchesTheFocusedEditWithTheFindActionsText) {
  auto* find = New<TSearchFind>(form.get());
  auto* next = New<TSearchFindNext>(form.get());
  memo->SetText("two one two one two");
  EXPECT_FALSE(next->Execute());  // no Find action yet
  next->SetSearchFind(find);
  EXPECT_FALSE(next->Execute());  // nothing to find yet
  EXPECT_FALSE(next->GetEnabled());

  find->GetDialog()->SetFindText("one");
  memo->SetSelStart(0);
  EXPECT_TRUE(next->Execute());
  EXPECT_EQ(Selection(), "4+3");
  EXPECT_TRUE(next->Execute());
  EXPECT_EQ(Selection(), "12+3");
  EXPECT_TRUE(next->Execute());
  EXPECT_EQ(Selection(), "12+3");
  EXPECT_EQ(boxes, std::vector<std::string>{"Text not found: \"one\""});

  find->Free();
  EXPECT_EQ(next->GetSearchFind(), nullptr);
  EXPECT_FALSE(next->Execute());
}

TEST_F(SerialStdSearchActionsTest, FindFirstStartsAtTheStartWhateverIsSelected) {
  auto* first = New<TSearchFindFirst>(form.get());
  memo->SetText("x one x one");
  memo->SetSelStart(6);
  memo->SetSelLength(1);
  EXPECT_TRUE(first->Execute());
  HWND h = first->GetDialog()->GetHandle();
  ASSERT_NE(h, nullptr);
  SetDlgItemTextA(h, kFindEdit, "x");
  Click(h, IDOK);
  EXPECT_EQ(Selection(), "0+1");
  Click(h, IDOK);  // then on from there
  EXPECT_EQ(Selection(), "6+1");
  Click(h, IDOK);
  EXPECT_EQ(boxes, std::vector<std::string>{"Text not found: \"x\""});
  first->GetDialog()->CloseDialog();
  PumpApplication(2);
}

}  // namespace
