// The edit list box's in-place editor, the rank list box's dragging and the
// font list box's preview under the real mouse and keyboard (SendInput),
// with the editor's 400 ms delay fired through the timer seam.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Clipbrd.h"
#include "classlib/Forms.h"
#include "kx/foundation/KxLstBox.h"
#include "kx/foundation/KxPreviewFontPanel.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"
#include "tests/kx/foundation/KxListTestSupport.h"

using namespace forms_test;
using namespace kx_test;

namespace {

class SerialKxEditListInput : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 400, 260);
    list = New<TKxEditListBox>(form.get());
    list->SetBounds(10, 10, 180, 200);
    list->SetParent(form.get());
    for (const char* s : {"alpha", "beta", "gamma", "delta"}) list->Add(s);
    other = New<TKxListBox>(form.get());
    other->SetBounds(200, 10, 150, 200);
    other->SetParent(form.get());
    list->SetOnItemChanged(TKxItemChangedEvent(this, &SerialKxEditListInput::Changed));
    form->Show();
    SetForegroundWindow(form->GetHandle());
    other->SetFocus();
    PumpApplication(3);
  }
  void TearDown() override {
    LeftButton(false);
    PumpApplication(2);
  }
  void Changed(TObject*, int index) { changed.push_back(index); }
  // A click x pixels into an item; clicks at places more than the
  // double-click distance apart are single clicks.
  void Click(int index, int x) {
    TRect r = list->ItemRect(index);
    MoveMouseTo(list->ClientToScreen(POINT{r.left + x, (r.top + r.bottom) / 2}));
    PumpApplication(2);
    LeftButton(true);
    PumpApplication(2);
    LeftButton(false);
    PumpApplication(2);
  }
  void Type(WORD vk) {
    TypeKey(vk);
    PumpApplication(3);
  }
  bool EditorShown() { return list->GetEditor()->HandleAllocated() && IsWindowVisible(list->GetEditor()->GetHandle()); }

  TFreshApplication app;
  TFakeTimers timers;
  Owned<TForm> form;
  TKxEditListBox* list = nullptr;
  TKxListBox* other = nullptr;
  std::vector<int> changed;
};

TEST_F(SerialKxEditListInput, AClickOnTheSelectedItemOpensTheEditorAfterTheDelay) {
  Click(1, 10);  // takes the focus and selects
  timers.Fire(400);
  EXPECT_FALSE(EditorShown()) << "the first click only selects";
  Click(1, 60);
  EXPECT_FALSE(EditorShown()) << "not before the delay";
  EXPECT_EQ(timers.Fire(400), 1);
  ASSERT_TRUE(EditorShown());
  EXPECT_TRUE(list->GetPopupVisible());
  EXPECT_EQ(list->GetEditor()->GetText(), "beta");
  EXPECT_TRUE(list->GetEditor()->Focused());
  // Over the item, two pixels in from each side.
  RECT editor{}, item = list->ItemRect(1);
  GetWindowRect(list->GetEditor()->GetHandle(), &editor);
  POINT origin = list->ClientToScreen(POINT{item.left, item.top});
  EXPECT_EQ(editor.left, origin.x + 2);
  EXPECT_EQ(editor.top, origin.y);
  EXPECT_EQ(editor.right - editor.left, item.right - item.left - 4);
}

TEST_F(SerialKxEditListInput, AClickOnAnotherItemOrADoubleClickOpensNothing) {
  Click(1, 10);
  Click(2, 60);
  timers.Fire(400);
  EXPECT_FALSE(EditorShown());
  // A double click on the selected item: two clicks at one place.
  Click(2, 20);
  Click(2, 20);
  timers.Fire(400);
  EXPECT_FALSE(EditorShown());
}

TEST_F(SerialKxEditListInput, EnterKeepsTheTextAndEscapeDropsItBothTellTheItemChanged) {
  Click(0, 10);
  Type(VK_F2);
  ASSERT_TRUE(EditorShown());
  SendMessageA(list->GetEditor()->GetHandle(), EM_SETSEL, 0, -1);
  // Letters, C among them, are typed; Ctrl+C copies.
  for (WORD vk : {'C', 'A', 'B'}) Type(vk);
  EXPECT_EQ(list->GetEditor()->GetText(), "cab");
  Clipboard()->SetAsText("");
  SendMessageA(list->GetEditor()->GetHandle(), EM_SETSEL, 0, -1);
  INPUT ctrl[4]{};
  for (auto& in : ctrl) in.type = INPUT_KEYBOARD;
  ctrl[0].ki.wVk = VK_CONTROL;
  ctrl[1].ki.wVk = 'C';
  ctrl[2].ki.wVk = 'C';
  ctrl[2].ki.dwFlags = KEYEVENTF_KEYUP;
  ctrl[3].ki.wVk = VK_CONTROL;
  ctrl[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, ctrl, sizeof(INPUT));
  PumpApplication(3);
  EXPECT_EQ(Clipboard()->GetAsText(), "cab");
  Type(VK_RETURN);
  EXPECT_FALSE(EditorShown());
  EXPECT_FALSE(list->GetPopupVisible());
  EXPECT_EQ(list->GetItems()->Get(0), "cab");
  EXPECT_EQ(list->GetItemIndex(), 0);
  EXPECT_TRUE(list->Focused());
  EXPECT_EQ(changed, (std::vector<int>{0}));

  Type(VK_F2);
  ASSERT_TRUE(EditorShown());
  Type('Z');
  Type(VK_ESCAPE);
  EXPECT_FALSE(EditorShown());
  EXPECT_EQ(list->GetItems()->Get(0), "cab") << "Escape keeps the old text";
  EXPECT_EQ(changed, (std::vector<int>{0, 0})) << "and still tells";
}

TEST_F(SerialKxEditListInput, LeavingTheEditorKeepsItsTextAndASortedListKeepsTheObject) {
  list->SetSorted(true);
  int tag = 7;
  list->GetItems()->PutObject(list->GetItems()->IndexOf("gamma"), reinterpret_cast<TObject*>(&tag));
  Click(list->GetItems()->IndexOf("gamma"), 10);
  Type(VK_F2);
  ASSERT_TRUE(EditorShown());
  list->GetEditor()->SetText("aardvark");
  other->SetFocus();  // the editor loses the focus
  PumpApplication(3);
  EXPECT_FALSE(EditorShown());
  EXPECT_EQ(LinesOf(list->GetItems()), (std::vector<std::string>{"aardvark", "alpha", "beta", "delta"}));
  EXPECT_EQ(list->GetItems()->GetObject(0), reinterpret_cast<TObject*>(&tag));
  EXPECT_EQ(list->GetItemIndex(), 0);
}

TEST_F(SerialKxEditListInput, DeleteRemovesTheSelectionWhenAllowed) {
  Click(3, 10);
  Type(VK_DELETE);
  EXPECT_EQ(list->GetItems()->GetCount(), 4);
  list->SetAllowDeleteByKbd(true);
  Type(VK_DELETE);
  EXPECT_EQ(LinesOf(list->GetItems()), (std::vector<std::string>{"alpha", "beta", "gamma"}));
  list->SetAllowEdit(false);
  Type(VK_F2);
  EXPECT_FALSE(EditorShown());
}

// The editor takes the focus: a shown form of its own.
TEST_F(SerialKxEditListInput, TheEditorIsOfferedToItsEventsAndCanBeRefused) {
  list->SetItemIndex(1);
  list->SetFocus();
  PumpApplication(2);
  bool allow = false;
  int askedFor = -1;
  struct TEvents {
    bool* allow;
    int* askedFor;
    void Showing(TObject*, int index, bool& allowEdit) {
      *askedFor = index;
      allowEdit = *allow;
    }
    void Size(TObject*, int, TRect& r) { r.right = r.left + 50; }
  } events{&allow, &askedFor};
  list->SetOnShowingEditor(TKxShowingEditorEvent(&events, &TEvents::Showing));
  list->SetOnSizeEditRect(TKxSizeEditRectEvent(&events, &TEvents::Size));
  list->ShowEditor();
  EXPECT_EQ(askedFor, 1);
  EXPECT_FALSE(list->GetPopupVisible());
  EXPECT_EQ(list->GetEditor()->GetText(), "beta");
  list->HideEditor(true);  // nothing shown: nothing happens
  EXPECT_EQ(LinesOf(list->GetItems()), (std::vector<std::string>{"alpha", "beta", "gamma", "delta"}));
  allow = true;
  list->ShowEditor();
  EXPECT_TRUE(list->GetPopupVisible());
  RECT r{};
  GetClientRect(list->GetEditor()->GetHandle(), &r);
  RECT w{};
  GetWindowRect(list->GetEditor()->GetHandle(), &w);
  EXPECT_EQ(w.right - w.left, 50) << "the size the event gave";
  list->GetEditor()->SetText("B!");
  list->HideEditor(true);
  EXPECT_EQ(LinesOf(list->GetItems()), (std::vector<std::string>{"alpha", "B!", "gamma", "delta"}));
}

// --- rank list box ----------------------------------------------------------------------------

class SerialKxRankListInput : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 300, 260);
    list = New<TKxRankListBox>(form.get());
    list->SetBounds(10, 40, 150, 150);
    list->SetParent(form.get());
    for (const char* s : {"one", "two", "three", "four", "five"}) list->Add(s);
    list->SetOnMoveItem(TKxMoveItemEvent(this, &SerialKxRankListInput::Moved));
    form->Show();
    SetForegroundWindow(form->GetHandle());
    PumpApplication(3);
  }
  void TearDown() override {
    LeftButton(false);
    PumpApplication(2);
  }
  void Moved(TObject*, int from, int to) { moves.push_back({from, to}); }
  POINT ItemPoint(int index) {
    TRect r = list->ItemRect(index);
    return list->ClientToScreen(POINT{r.left + 20, (r.top + r.bottom) / 2});
  }
  void Drag(int from, POINT to, bool shift) {
    MoveMouseTo(ItemPoint(from));
    PumpApplication(2);
    if (shift) KeyDown(VK_SHIFT, true);
    LeftButton(true);
    PumpApplication(2);
    POINT start = ItemPoint(from);
    // In steps, as a hand moves.
    for (int i = 1; i <= 4; ++i) {
      MoveMouseTo(POINT{start.x + (to.x - start.x) * i / 4, start.y + (to.y - start.y) * i / 4});
      PumpApplication(2);
    }
    LeftButton(false);
    PumpApplication(2);
    if (shift) KeyDown(VK_SHIFT, false);
  }
  static void KeyDown(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
    PumpApplication(2);
  }

  TFreshApplication app;
  Owned<TForm> form;
  TKxRankListBox* list = nullptr;
  std::vector<std::pair<int, int>> moves;
};

TEST_F(SerialKxRankListInput, APlainDragMovesNothing) {
  Drag(0, ItemPoint(3), false);
  EXPECT_EQ(LinesOf(list->GetItems()), (std::vector<std::string>{"one", "two", "three", "four", "five"}));
  EXPECT_TRUE(moves.empty());
}

TEST_F(SerialKxRankListInput, AShiftDragMovesTheItemStepByStep) {
  Drag(0, ItemPoint(3), true);
  EXPECT_EQ(LinesOf(list->GetItems()), (std::vector<std::string>{"two", "three", "four", "one", "five"}));
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.front().first, 0);
  EXPECT_EQ(moves.back().second, 3);
  for (size_t i = 1; i < moves.size(); ++i) EXPECT_EQ(moves[i].first, moves[i - 1].second) << "one item, step by step";
  EXPECT_EQ(list->GetItemIndex(), 3);
  EXPECT_FALSE(list->GetMoving());
}

TEST_F(SerialKxRankListInput, DraggingAboveTheListMovesTheItemToTheTop) {
  POINT above = list->ClientToScreen(POINT{20, -25});
  Drag(4, above, true);
  EXPECT_EQ(list->GetItems()->Get(0), "five");
  EXPECT_EQ(list->GetItemIndex(), 0);
}

TEST_F(SerialKxRankListInput, WithoutMoveOnDragTheItemMovesOnceWhenDropped) {
  list->SetMoveOnDrag(false);
  Drag(1, ItemPoint(4), true);
  EXPECT_EQ(LinesOf(list->GetItems()), (std::vector<std::string>{"one", "three", "four", "five", "two"}));
  EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{1, 4}}));
}

TEST_F(SerialKxRankListInput, ShiftAndTheKeysMoveTheSelectedItem) {
  list->SetFocus();
  list->SetItemIndex(2);
  PumpApplication(2);
  struct TCase {
    WORD key;
    std::vector<std::string> items;
  };
  KeyDown(VK_SHIFT, true);
  for (const TCase& c :
       {TCase{VK_UP, {"one", "three", "two", "four", "five"}}, TCase{VK_HOME, {"three", "one", "two", "four", "five"}},
        TCase{VK_UP, {"three", "one", "two", "four", "five"}}, TCase{VK_END, {"one", "two", "four", "five", "three"}},
        TCase{VK_DOWN, {"one", "two", "four", "five", "three"}}}) {
    SCOPED_TRACE(c.key);
    TypeKey(c.key);
    PumpApplication(3);
    EXPECT_EQ(LinesOf(list->GetItems()), c.items);
  }
  KeyDown(VK_SHIFT, false);
  EXPECT_EQ(list->GetItemIndex(), 4);
}

// --- font list box -----------------------------------------------------------------------------

TEST(SerialKxFontListInput, APressShowsThePreviewBesideTheListAndTheReleaseHidesIt) {
  TFreshApplication app;
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBorderStyle(bsNone);
  form->SetBounds(100, 100, 300, 260);
  auto* fonts = New<TKxFontListBox>(form.get());
  fonts->SetBounds(10, 10, 150, 200);
  fonts->SetParent(form.get());
  fonts->SetShowStyle(ssFontPreview);
  form->Show();
  SetForegroundWindow(form->GetHandle());
  PumpApplication(3);
  TKxPreviewFontPanel* panel = fonts->GetPreviewPanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->GetServed(), fonts);
  TRect item = fonts->ItemRect(1);
  MoveMouseTo(fonts->ClientToScreen(POINT{40, (item.top + item.bottom) / 2}));
  PumpApplication(2);
  LeftButton(true);
  PumpApplication(3);
  ASSERT_TRUE(panel->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(panel->GetHandle()));
  RECT shown{}, window{};
  GetWindowRect(panel->GetHandle(), &shown);
  GetWindowRect(fonts->GetHandle(), &window);
  EXPECT_EQ(shown.left, window.right - 1);
  EXPECT_EQ(shown.top, fonts->ClientToScreen(POINT{0, 0}).y);
  EXPECT_EQ(panel->GetFont()->GetName(), fonts->GetItems()->Get(1)) << "the focused item names the face";
  LeftButton(false);
  PumpApplication(3);
  EXPECT_FALSE(IsWindowVisible(panel->GetHandle()));
}

}  // namespace
