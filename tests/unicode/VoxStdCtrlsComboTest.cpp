// The wide combo box: wide items and text kept across new windows, its edit
// and list windows kept Unicode, and what typing does: the auto-search of
// the list styles (with the clock seam) and the auto-complete of the edit
// styles, on the real keyboard.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/ComboPicks.h"
#include "tests/common/TestSupport.h"
#include "tests/unicode/VoxStdCtrlsTestSupport.h"
#include "tests/unicode/VoxTestSupport.h"
#include "unicode/VoxStdCtrls.h"

using namespace controls_test;
using namespace forms_test;

namespace {

// Records the item indexes the control asks its window to select.
class TSpyComboBox : public TVoxComboBox {
  DECLARE_CLASS(TSpyComboBox, TVoxComboBox)
 public:
  using TVoxComboBox::TVoxComboBox;
  std::vector<WPARAM> SetCurSel;
  void WndProc(TMessage& m) override {
    if (m.Msg == CB_SETCURSEL) SetCurSel.push_back(m.WParam);
    inherited::WndProc(m);
  }
};
IMPLEMENT_CLASS(TSpyComboBox)

class VoxComboBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    combo.reset(New<TSpyComboBox>(nullptr));
    combo->SetBounds(0, 0, 200, 24);
    combo->SetParentWindow(host.Handle());
  }
  std::vector<std::wstring> Texts() {
    std::vector<std::wstring> t;
    for (int i = 0; i < combo->GetItems()->GetCount(); ++i) t.push_back(combo->GetItems()->Get(i));
    return t;
  }

  THostWindow host;
  Owned<TSpyComboBox> combo;
};

TEST_F(VoxComboBoxTest, TheItemsAreWideInTheWindow) {
  ASSERT_TRUE(IsWindowUnicode(combo->GetHandle()));
  combo->GetItems()->Add(kChinese);
  combo->GetItems()->Insert(0, L"\u0416");
  EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"\u0416", kChinese}));
  EXPECT_EQ(combo->TCustomCombo::GetItems()->Get(1), "??") << "the class library reads the ANSI form";
  EXPECT_EQ(combo->GetItems()->Get(2), L"") << "past the end";
  EXPECT_EQ(combo->GetItems()->IndexOf(kChinese), 1);
  combo->SetText(L"\u0443\u043A");
  combo->GetItems()->Clear();
  EXPECT_EQ(combo->GetItems()->GetCount(), 0);
  EXPECT_EQ(combo->GetText(), L"\u0443\u043A") << "clearing the items keeps the text";
}

TEST_F(VoxComboBoxTest, ANewWindowKeepsWideItemsItemIndexAndTextAndItsChildrenUnicode) {
  struct Case {
    const char* what;
    TComboBoxStyle from, to;
  } cases[] = {
      {"drop-down to list", csDropDown, csDropDownList},
      {"list to drop-down", csDropDownList, csDropDown},
      {"simple to owner-drawn list", csSimple, csOwnerDrawFixed},
      {"drop-down to simple", csDropDown, csSimple},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    combo.reset(New<TSpyComboBox>(nullptr));
    combo->SetStyle(c.from);
    combo->SetParentWindow(host.Handle());
    combo->GetItems()->Add(L"\u0430");
    combo->GetItems()->Add(kChinese);
    combo->GetItems()->Add(L"\u0416");
    combo->SetItemIndex(1);
    HWND first = combo->GetHandle();
    combo->SetStyle(c.to);
    combo->HandleNeeded();
    ASSERT_NE(combo->GetHandle(), first);
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"\u0430", kChinese, L"\u0416"}));
    EXPECT_EQ(combo->GetItemIndex(), 1);
    EXPECT_EQ(combo->GetText(), kChinese);
    if (HWND edit = combo->GetEditHandle()) {
      EXPECT_TRUE(IsWindowUnicode(edit));
    }
    ASSERT_NE(combo->GetListHandle(), nullptr);
    EXPECT_TRUE(IsWindowUnicode(combo->GetListHandle()));
  }
}

TEST_F(VoxComboBoxTest, TheEditKeepsWideTextTypedIntoItAfterANewWindow) {
  combo->SetStyle(csDropDownList);
  combo->SetStyle(csDropDown);  // the edit of a second window
  combo->HandleNeeded();
  HWND edit = combo->GetEditHandle();
  ASSERT_NE(edit, nullptr);
  for (wchar_t c : kChinese) SendMessageW(edit, WM_CHAR, c, 1);
  EXPECT_EQ(combo->GetText(), kChinese);
  EXPECT_EQ(WideWindowText(edit), kChinese);
}

TEST_F(VoxComboBoxTest, ASavedItemIndexPastTheLastItemIsNoSelection) {
  TVoxComboSaved saved;
  for (int index : {2, 5}) {
    SCOPED_TRACE(index);
    saved.Items = New<TVoxStringList>();
    saved.Items->Add(L"\u0430");
    saved.Items->Add(L"\u0431");
    saved.ItemIndex = index;
    combo->GetItems()->Clear();
    combo->SetCurSel.clear();
    VoxCombo_AfterInherited_CreateWnd(combo.get(), combo->GetItems(), saved);
    EXPECT_EQ(saved.Items, nullptr);
    EXPECT_EQ(combo->GetItems()->GetCount(), 2);
    EXPECT_EQ(combo->GetItemIndex(), -1);
    for (WPARAM asked : combo->SetCurSel)
      EXPECT_TRUE(static_cast<int>(asked) < 2 || asked == static_cast<WPARAM>(-1)) << "asked for " << asked;
  }
}

TEST_F(VoxComboBoxTest, ChoosingAnItemGivesTheWideText) {
  combo->GetItems()->Add(L"\u0430");
  combo->GetItems()->Add(kChinese);
  int selects = 0;
  struct TCounter {
    int* n;
    void OnSelect(TObject*) { ++*n; }
  } counter{&selects};
  combo->OnSelect = TNotifyEvent(&counter, &TCounter::OnSelect);
  // What the list sends when the user picks an item.
  SendMessageW(combo->GetHandle(), CB_SETCURSEL, 1, 0);
  SendMessageW(combo->GetHandle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo->GetHandle()));
  EXPECT_EQ(combo->GetText(), kChinese);
  EXPECT_EQ(selects, 1);
}

// The wide combo box puts the class library's subclasses of its edit and
// list back as wide ones; picking a long item must read it whole there too.
TEST_F(VoxComboBoxTest, ItemsOfAnyLengthArePickedWhole) {
  combo_test::ExpectLongItemsPickedWhole(
      [&](TComboBoxStyle style) -> TCustomComboBox* {
        auto* c = New<TVoxComboBox>(nullptr);
        c->SetBounds(0, 0, 200, 24);
        c->SetStyle(style);
        c->SetParentWindow(host.Handle());
        return c;
      },
      {csDropDown, csDropDownList});
}

TEST_F(VoxComboBoxTest, TheSelectedTextCountsWideCharactersAndTheListStylesHaveNone) {
  combo->SetText(L"a\u4E2D\u6587b");
  combo->SetSelStart(1);
  combo->SetSelLength(2);
  EXPECT_EQ(combo->GetSelText(), kChinese);
  combo->SetSelText(L"\u0416");
  EXPECT_EQ(combo->GetText(), L"a\u0416b");
  combo->SetStyle(csDropDownList);
  combo->GetItems()->Add(L"\u0416");
  combo->SetItemIndex(0);
  EXPECT_EQ(combo->GetSelText(), L"");
  combo->SetSelText(L"x");
  EXPECT_EQ(combo->GetText(), L"\u0416");
}

TEST_F(VoxComboBoxTest, TheStoredFormKeepsWideItemsAndText) {
  Owned<TForm> form, copy;
  auto* c = OnForm<TVoxComboBox>(form, "Combo1");
  c->GetItems()->Add(kChinese);
  c->GetItems()->Add(L"\u0416");
  c->SetText(L"\u0443");
  TVoxComboBox* read = StoredCopy(c, copy);
  ASSERT_NE(read, nullptr) << WriteForm(form.get());
  EXPECT_EQ(read->GetItems()->GetText(), L"\u4E2D\u6587\r\n\u0416\r\n");
  EXPECT_EQ(read->GetText(), L"\u0443");
}

TEST_F(VoxComboBoxTest, CopySelectionHandsOnTheWideItemWithItsObject) {
  Owned<TObject> object(New<TObject>());
  combo->AddItem(L"\u0430", nullptr);
  combo->AddItem(kChinese, object.get());
  Owned<TVoxListBox> wide(New<TVoxListBox>(nullptr));
  wide->SetParentWindow(host.Handle());
  combo->CopySelection(wide.get());
  EXPECT_EQ(wide->GetItems()->GetCount(), 0) << "nothing selected";
  combo->SetItemIndex(1);
  combo->CopySelection(wide.get());
  ASSERT_EQ(wide->GetItems()->GetCount(), 1);
  EXPECT_EQ(wide->GetItems()->Get(0), kChinese);
  EXPECT_EQ(wide->GetItems()->GetObject(0), object.get());
}

TEST_F(VoxComboBoxTest, AnOwnerDrawnItemIsDrawnWide) {
  combo->SetStyle(csOwnerDrawFixed);
  const std::wstring text = L"\u0416\u0416\u0416\u0416";
  combo->GetItems()->Add(text);
  combo->HandleNeeded();
  TItemInk ink = DrawItemInk(combo->GetCanvas(), combo->GetFont(), text,
                             [&] { combo->DrawItem(0, Rect(0, 0, 200, 20), TOwnerDrawState{}); });
  ASSERT_GE(ink.First, 2) << "from 2 pixels in";
  EXPECT_LE(ink.Last, 2 + ink.Width + 2);
  EXPECT_GE(ink.Last, 2 + ink.Width - ink.Width / 4) << "all four characters";
}

// A combo box whose items are found by its own search.
class TFindingComboBox : public TVoxComboBox, public IVoxComboFindString {
  DECLARE_CLASS(TFindingComboBox, TVoxComboBox)
 public:
  using TVoxComboBox::TVoxComboBox;
  std::vector<std::wstring> Asked;
  int FindString(const std::wstring& value, int) override {
    Asked.push_back(value);
    return value == L"x" ? 1 : -1;  // "x" stands for the second item
  }
};
IMPLEMENT_CLASS(TFindingComboBox)

TEST_F(VoxComboBoxTest, AControlWithItsOwnSearchFindsTheItemsItself) {
  Owned<TFindingComboBox> finding(New<TFindingComboBox>(nullptr));
  finding->SetStyle(csDropDownList);
  finding->SetParentWindow(host.Handle());
  finding->GetItems()->Add(L"\u0430");
  finding->GetItems()->Add(kChinese);
  TSeamOverride<decltype(Seams().TickCount)> clock(Seams().TickCount, [] { return DWORD{5000}; });
  SendMessageW(finding->GetHandle(), WM_CHAR, L'x', 1);
  EXPECT_EQ(finding->Asked, std::vector<std::wstring>{L"x"});
  EXPECT_EQ(finding->GetItemIndex(), 1);
  EXPECT_EQ(finding->GetText(), kChinese);
}

// --- Typing -------------------------------------------------------------------------------------

// Focus is the desktop's: the suite runs alone.
class SerialVoxComboTyping : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBounds(40, 40, 300, 200);
    combo = New<TVoxComboBox>(form.get());
    combo->SetParent(form.get());
    combo->SetBounds(10, 10, 200, 24);
    form->Show();
    SetForegroundWindow(form->GetHandle());
    PumpApplication(3);
  }
  void Items(std::initializer_list<const wchar_t*> items) {
    for (const wchar_t* s : items) combo->GetItems()->Add(s);
  }
  void Type(const std::wstring& text) {
    TypeWideText(text);
    PumpApplication(3);
  }

  TFreshApplication app;
  DWORD now = 10000;
  TSeamOverride<decltype(Seams().TickCount)> clock{Seams().TickCount, [this] { return now; }};
  Owned<TForm> form;
  TVoxComboBox* combo = nullptr;
};

TEST_F(SerialVoxComboTyping, AListStyleSearchesWhatWasTypedUntilAPause) {
  combo->SetStyle(csDropDownList);
  Items({L"apple", L"avocado", L"banana", L"\u0416uk", L"\u0436ar"});
  combo->SetFocus();
  PumpApplication(2);
  struct Step {
    const char* what;
    DWORD pause;
    wchar_t typed;
    std::wstring selected;
  } steps[] = {
      {"the first letter", 0, L'a', L"apple"},
      {"a second letter soon after", 300, L'v', L"avocado"},
      {"after a pause a new search", 1300, L'b', L"banana"},
      {"a wide letter", 1300, L'\u0416', L"\u0416uk"},
      {"it goes on from there", 1249, L'u', L"\u0416uk"},
      {"a letter that matches nothing changes nothing", 10, L'q', L"\u0416uk"},
      {"and leaves the prefix as it was", 10, L'k', L"\u0416uk"},
      {"exactly the pause starts again", 1250, L'\u0436', L"\u0436ar"},
      {"and goes on", 100, L'a', L"\u0436ar"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    now += s.pause;
    Type(std::wstring(1, s.typed));
    ASSERT_GE(combo->GetItemIndex(), 0);
    EXPECT_EQ(combo->GetItems()->Get(combo->GetItemIndex()), s.selected);
    EXPECT_EQ(combo->GetText(), s.selected);
  }
}

TEST_F(SerialVoxComboTyping, OnlyACharacterTheSearchDoesNotUseReachesOnKeyPress) {
  combo->SetStyle(csDropDownList);
  Items({L"\u0416uk", L"\u0436ar"});
  struct TKeys {
    int n = 0;
    void OnKeyPress(TObject*, char&) { ++n; }
  } keys;
  combo->OnKeyPress = TKeyPressEvent(&keys, &TKeys::OnKeyPress);
  combo->SetFocus();
  PumpApplication(2);
  Type(L"\u0416");
  EXPECT_EQ(combo->GetItemIndex(), 0);
  EXPECT_EQ(keys.n, 0) << "used by the search";
  now += 10;
  Type(L"q");
  EXPECT_GT(keys.n, 0) << "matched nothing: passed on";
  EXPECT_EQ(combo->GetItemIndex(), 0);
}

TEST_F(SerialVoxComboTyping, AutoDropDownOpensTheListKeepingWhatWasTypedAndTabClosesIt) {
  Items({L"\u0416\u0443\u043A", L"Alphabet"});
  combo->SetAutoDropDown(true);
  combo->SetFocus();
  PumpApplication(2);
  Type(L"\u0416");
  EXPECT_TRUE(combo->GetDroppedDown());
  EXPECT_EQ(combo->GetText(), L"\u0416\u0443\u043A");
  EXPECT_EQ(combo->GetSelStart(), 1);
  EXPECT_EQ(combo->GetSelLength(), 2);
  Type(L"\t");
  EXPECT_FALSE(combo->GetDroppedDown());
}

TEST_F(SerialVoxComboTyping, AnEditStyleCompletesKeepingTheTypedCase) {
  Items({L"Alphabet", L"\u0416\u0443\u043A", L"\u0416\u0430\u0440"});
  combo->SetFocus();
  PumpApplication(2);
  struct Step {
    const char* what;
    std::wstring typed;
    std::wstring text;
    int selStart, selLength;
  } steps[] = {
      {"completed from the first item", L"AL", L"ALphabet", 2, 6},
      {"typing over the completion", L"P", L"ALPhabet", 3, 5},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    Type(s.typed);
    EXPECT_EQ(combo->GetText(), s.text);
    EXPECT_EQ(combo->GetSelStart(), s.selStart);
    EXPECT_EQ(combo->GetSelLength(), s.selLength);
  }
  combo->SetText(L"");
  Type(L"\u0416\u0430");
  EXPECT_EQ(combo->GetText(), L"\u0416\u0430\u0440") << "the wide letters as typed, the rest of the item";
  EXPECT_EQ(combo->GetSelStart(), 2);
  EXPECT_EQ(combo->GetItemIndex(), 2);
  combo->SetText(L"");
  Type(L"\u4E2D");
  EXPECT_EQ(combo->GetText(), L"\u4E2D") << "nothing to complete: the character as typed";
}

}  // namespace
