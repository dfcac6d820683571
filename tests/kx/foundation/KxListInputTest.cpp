// The list box and the check list under the real keyboard and mouse
// (SendInput): type-ahead search with its reset timer, the hot frame, and
// toggling check states by click and space bar.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/Scopes.h"
#include "kx/foundation/KxChkLst.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/kx/foundation/KxListTestSupport.h"
#include "tests/kx/foundation/KxTestSupport.h"

using namespace forms_test;
using namespace kx_test;

namespace {

class SerialKxListInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 400, 260);
    list = New<TKxListBox>(form.get());
    list->SetBounds(10, 10, 150, 200);
    list->SetParent(form.get());
    list->SetBeepOnInvalidKey(false);
    for (const char* s : {"Apple", "Banana", "Abacus", "Cherry", "Abbey"}) list->Add(s);
    checks = New<TKxCheckList>(form.get());
    checks->SetBounds(200, 10, 180, 200);
    checks->SetParent(form.get());
    for (const char* s : {"One", "Two", "//Head", "Three", "Four"}) checks->GetItems()->Add(s);
    checks->SetItemEnabled(3, false);
    form->Show();
    SetForegroundWindow(form->GetHandle());
    PumpApplication(3);
  }
  void TearDown() override {
    LeftButton(false);
    PumpApplication(2);
  }
  void Type(const std::string& keys) {
    for (char c : keys) {
      TypeKey(static_cast<WORD>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
      PumpApplication(2);
    }
  }
  // The screen point at x pixels into an item's row of the check list.
  POINT ItemPoint(int index, int x) {
    TRect r = checks->ItemRect(index);
    return checks->ClientToScreen(POINT{r.left + x, (r.top + r.bottom) / 2});
  }
  void Click(POINT p) {
    MoveMouseTo(p);
    PumpApplication(2);
    LeftButton(true);
    PumpApplication(2);
    LeftButton(false);
    PumpApplication(2);
  }
  std::vector<int> States() {
    std::vector<int> s;
    for (int i = 0; i < checks->GetItems()->GetCount(); ++i) s.push_back(checks->GetItemState(i));
    return s;
  }

  TFreshApplication app;
  TFakeTimers timers;
  Owned<TForm> form;
  TKxListBox* list = nullptr;
  TKxCheckList* checks = nullptr;
};

TEST_F(SerialKxListInputTest, TypeAheadGathersKeysUntilTheTimerClearsThem) {
  list->SetFocus();
  PumpApplication(2);
  int matches = 0;
  struct TCounter {
    int* n;
    void Match(TObject*) { ++*n; }
  } counter{&matches};
  list->OnMatch = TNotifyEvent(&counter, &TCounter::Match);

  Type("ab");
  EXPECT_EQ(list->GetItemIndex(), 2);  // "Abacus", the first beginning with "ab"
  EXPECT_EQ(list->GetSearchString(), "ab");
  EXPECT_TRUE(timers.Running(1500));
  Type("b");
  EXPECT_EQ(list->GetItemIndex(), 4);  // "Abbey"
  // A key that matches nothing changes neither the selection nor the text.
  Type("x");
  EXPECT_EQ(list->GetItemIndex(), 4);
  EXPECT_EQ(list->GetSearchString(), "abb");
  EXPECT_EQ(matches, 3);

  // Backspace searches with what is left; the last one selects item 0.
  Type("\b");
  EXPECT_EQ(list->GetSearchString(), "ab");
  EXPECT_EQ(list->GetItemIndex(), 2);
  Type("\b\b");
  EXPECT_EQ(list->GetSearchString(), "");
  EXPECT_EQ(list->GetItemIndex(), 0);

  // The pause: the timer fires, stops and clears the text; "b" starts anew.
  Type("a");
  EXPECT_EQ(list->GetSearchString(), "a");
  EXPECT_EQ(timers.Fire(1500), 1);
  EXPECT_EQ(list->GetSearchString(), "");
  EXPECT_FALSE(timers.Running(1500));
  Type("b");
  EXPECT_EQ(list->GetItemIndex(), 1);  // "Banana"
  // An arrow key clears the text as well.
  TypeKey(VK_DOWN);
  PumpApplication(2);
  EXPECT_EQ(list->GetSearchString(), "");
  Type("\x1B");  // Escape: nothing selected
  EXPECT_EQ(list->GetItemIndex(), -1);
}

TEST_F(SerialKxListInputTest, TheWheelScrollsBySystemLinesNotPastTheTop) {
  for (int i = 0; i < 40; ++i) list->Add("More " + std::to_string(i));
  list->SetFocus();
  MoveMouseTo(list->ClientToScreen(POINT{20, 20}));
  PumpApplication(2);
  auto wheel = [](int notches) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = static_cast<DWORD>(notches * WHEEL_DELTA);
    SendInput(1, &in, sizeof in);
    PumpApplication(2);
  };
  int lines = Mouse().GetWheelScrollLines();
  ASSERT_GT(lines, 0);
  wheel(-1);  // towards the user: down
  EXPECT_EQ(list->GetTopIndex(), lines);
  wheel(-1);
  EXPECT_EQ(list->GetTopIndex(), 2 * lines);
  wheel(1);
  EXPECT_EQ(list->GetTopIndex(), lines);
  wheel(1);
  wheel(1);  // only as far as the top
  EXPECT_EQ(list->GetTopIndex(), 0);
}

TEST_F(SerialKxListInputTest, WideItemsShowATipWhereThePointerRests) {
  list->Add("A product name far wider than the list\twith a column");
  int wide = list->GetItems()->GetCount() - 1;
  auto pointAt = [&](int index) {
    TRect r = list->ItemRect(index);
    return list->ClientToScreen(POINT{r.left + 20, (r.top + r.bottom) / 2});
  };
  MoveMouseTo(pointAt(wide));
  PumpApplication(3);
  THintWindow* tip = list->GetItemHintWindow();
  ASSERT_NE(tip, nullptr);
  ASSERT_TRUE(tip->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(tip->GetWindowHandle()));
  // The tab is opened into blanks; the tip lies over the item.
  EXPECT_EQ(tip->GetText(), "A product name far wider than the list        with a column");
  RECT shown{};
  GetWindowRect(tip->GetWindowHandle(), &shown);
  POINT itemTop = list->ClientToScreen(POINT{list->ItemRect(wide).left, list->ItemRect(wide).top});
  EXPECT_EQ(shown.left, itemTop.x - 1);
  EXPECT_LE(std::abs(shown.top - itemTop.y), list->GetItemHeight());
  // A narrow item: no tip.
  MoveMouseTo(pointAt(0));
  PumpApplication(3);
  EXPECT_FALSE(IsWindowVisible(tip->GetWindowHandle()));
}

TEST_F(SerialKxListInputTest, ThePointerMakesTheFrameHotUnlessFocused) {
  list->SetFrameHotTrack(true);
  EXPECT_TRUE(list->GetFrameVisible());
  PumpApplication(2);
  std::vector<std::string> heard;
  struct TLog {
    std::vector<std::string>* out;
    void Enter(TObject*) { out->push_back("enter"); }
    void Leave(TObject*) { out->push_back("leave"); }
  } log{&heard};
  list->OnMouseEnter = TNotifyEvent(&log, &TLog::Enter);
  list->OnMouseLeave = TNotifyEvent(&log, &TLog::Leave);
  MoveMouseTo(form->ClientToScreen(POINT{180, 240}));  // the form, outside both lists
  PumpApplication(3);
  heard.clear();
  MoveMouseTo(list->ClientToScreen(POINT{30, 30}));
  PumpApplication(3);
  EXPECT_TRUE(list->GetMouseOver());
  MoveMouseTo(form->ClientToScreen(POINT{180, 240}));
  PumpApplication(3);
  EXPECT_FALSE(list->GetMouseOver());
  EXPECT_EQ(heard, (std::vector<std::string>{"enter", "leave"}));
}

// The frame lies over the window's border: its outer ring takes the parent's
// colour (the list sits on the form's yellow, not on its own white), and
// while the pointer is over the list or the list has the focus the bold hot
// frame covers both rings.
TEST_F(SerialKxListInputTest, TheFrameIsDrawnAgainstTheParentAndHotWithPointerOrFocus) {
  TThemesOff themesOff;
  form->SetColor(clYellow);
  list->SetFramingPreference(fpCustomFraming);
  list->SetFrameColor(clRed);
  list->SetFrameHotColor(clBlue);
  list->SetFrameHotTrack(true);
  const POINT away = form->ClientToScreen(POINT{180, 240});
  MoveMouseTo(away);
  checks->SetFocus();
  PumpApplication(3);
  // The two outer pixels of the left side, as the screen shows them.
  auto edge = [&] {
    TWindowDC dc(list->GetHandle());
    int y = list->GetHeight() / 2;
    return std::vector<COLORREF>{GetPixel(dc.Get(), 0, y), GetPixel(dc.Get(), 1, y)};
  };
  const std::vector<COLORREF> cold{Shown(clRed), Shown(clYellow)};
  const std::vector<COLORREF> hot{Shown(clBlue), Shown(clBlue)};
  EXPECT_EQ(edge(), cold);
  MoveMouseTo(list->ClientToScreen(POINT{30, 30}));
  PumpApplication(3);
  EXPECT_EQ(edge(), hot) << "the pointer over the list";
  MoveMouseTo(away);
  PumpApplication(3);
  EXPECT_EQ(edge(), cold);
  list->SetFocus();
  PumpApplication(3);
  EXPECT_EQ(edge(), hot) << "the focus in the list";
  checks->SetFocus();
  PumpApplication(3);
  EXPECT_EQ(edge(), cold);
}

TEST_F(SerialKxListInputTest, ClickOnTheBoxTogglesAndOnTheTextOnlyWhenAsked) {
  int box = checks->GetGlyphWidth() / 2 + 4;
  int text = checks->GetGlyphWidth() + 30;
  Click(ItemPoint(0, box));
  EXPECT_EQ(States(), (std::vector<int>{1, 0, 0, 0, 0}));
  Click(ItemPoint(1, text));
  EXPECT_EQ(checks->GetItemIndex(), 1);
  EXPECT_EQ(States(), (std::vector<int>{1, 0, 0, 0, 0}));
  checks->SetToggleOnItemClick(true);
  Click(ItemPoint(0, text + 2));
  EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0, 0}));
  // Pressed on one item, released on another: nothing.
  MoveMouseTo(ItemPoint(1, box));
  PumpApplication(2);
  LeftButton(true);
  PumpApplication(2);
  MoveMouseTo(ItemPoint(0, box));
  PumpApplication(2);
  LeftButton(false);
  PumpApplication(2);
  EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0, 0}));
  // A header and a disabled item never toggle.
  Click(ItemPoint(2, box + 1));
  Click(ItemPoint(3, box));
  EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0, 0}));
}

TEST_F(SerialKxListInputTest, SpaceCyclesThroughGrayedWhenAllowed) {
  checks->SetFocus();
  checks->SetItemIndex(0);
  PumpApplication(2);
  std::vector<std::string> told;
  struct TLog {
    std::vector<std::string>* out;
    void Changed(TObject*, int index, TCheckBoxState s) {
      out->push_back(std::to_string(index) + ">" + std::to_string(s));
    }
  } log{&told};
  checks->OnChange = TStateChangeEvent(&log, &TLog::Changed);
  std::vector<int> seen;
  for (int i = 0; i < 3; ++i) {
    TypeKey(VK_SPACE);
    PumpApplication(2);
    seen.push_back(checks->GetItemState(0));
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 0, 1}));
  checks->SetAllowGrayed(true);
  seen.clear();
  for (int i = 0; i < 3; ++i) {
    TypeKey(VK_SPACE);
    PumpApplication(2);
    seen.push_back(checks->GetItemState(0));
  }
  EXPECT_EQ(seen, (std::vector<int>{0, 2, 1}));
  EXPECT_EQ(told, (std::vector<std::string>{"0>1", "0>0", "0>1", "0>0", "0>2", "0>1"}));
  // The blank is no search text: the selection stayed.
  EXPECT_EQ(checks->GetItemIndex(), 0);
  EXPECT_EQ(checks->GetSearchString(), "");
}

TEST_F(SerialKxListInputTest, OnChangingCanRefuse) {
  bool allow = false;
  int changes = 0;
  struct TGate {
    bool* allow;
    int* changes;
    void Changing(TObject*, int, TCheckBoxState, bool& ok) { ok = *allow; }
    void Changed(TObject*, int, TCheckBoxState) { ++*changes; }
  } gate{&allow, &changes};
  checks->OnChanging = TStateChangingEvent(&gate, &TGate::Changing);
  checks->OnChange = TStateChangeEvent(&gate, &TGate::Changed);
  int box = checks->GetGlyphWidth() / 2 + 4;
  Click(ItemPoint(4, box));
  EXPECT_EQ(checks->GetItemState(4), cbUnchecked);
  EXPECT_EQ(changes, 0);
  allow = true;
  Click(ItemPoint(1, box));
  EXPECT_EQ(checks->GetItemState(1), cbChecked);
  EXPECT_EQ(changes, 1);
  // Set by the program: no events.
  checks->SetItemState(1, cbGrayed);
  EXPECT_EQ(changes, 1);
}

}  // namespace
