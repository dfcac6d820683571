// The framed combo box base: type-ahead in the list styles, auto-completion
// in the edit part, read-only mode, the wheel, colours by state, the frame
// and button it paints, items across window re-creation, deleted items'
// data and the stored form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "tests/common/ComboPicks.h"
#include "tests/common/TestSupport.h"
#include "tests/kx/controls/KxComboTestSupport.h"

using namespace kxc_test;
using kx_test::TFakeTimers;

IMPLEMENT_CLASS(TCountingCombo)

namespace {

const std::vector<std::string> kFruit = {"apple", "apricot", "banana", "blueberry", "cherry"};

class KxComboBoxTest : public ::testing::Test {
 protected:
  template <class T = TCountingCombo>
  T* MakeCombo(TComboBoxStyle style, const std::vector<std::string>& items = kFruit) {
    T* combo = host.Add<T>(10, 10, 160, 24);
    combo->SetStyle(style);
    for (const auto& s : items) combo->Add(s);
    events.Attach(combo);
    return combo;
  }
  TControlHost host;
  TComboEvents events;
};

// --- the list styles' type-ahead ------------------------------------------------------------

struct TSearchCase {
  const char* Name;
  const char* Keys;       // '\b' Backspace, '|' the 1500 ms pause
  int Index;              // ItemIndex afterwards
  const char* Search;     // the search string afterwards
  int Refused;            // keys beeped at
};

void PrintTo(const TSearchCase& c, std::ostream* os) { *os << c.Name; }

class KxComboSearchTest : public KxComboBoxTest, public ::testing::WithParamInterface<TSearchCase> {};

TEST_P(KxComboSearchTest, TypedKeysSelectTheFirstItemThatBeginsWithThem) {
  const TSearchCase& c = GetParam();
  TFakeTimers timers;
  auto* combo = MakeCombo(csDropDownList);
  for (const char* k = c.Keys; *k; ++k) {
    if (*k == '|') {
      EXPECT_EQ(timers.Fire(1500), 1) << "the search timer runs after a key";
      continue;
    }
    TypeChars(combo, std::string(1, *k));
  }
  EXPECT_EQ(combo->GetItemIndex(), c.Index);
  EXPECT_EQ(combo->GetSearchString(), c.Search);
  EXPECT_EQ(combo->Refused, c.Refused);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KxComboSearchTest,
    ::testing::Values(TSearchCase{"ab", "ab", 0, "a", 1},  // no "ab...": the "b" misses
                      TSearchCase{"apr", "apr", 1, "apr", 0}, TSearchCase{"bl", "bl", 3, "bl", 0},
                      TSearchCase{"pauseStartsAgain", "ap|c", 4, "c", 0},
                      TSearchCase{"noPauseGoesOn", "apc", 0, "ap", 1},
                      TSearchCase{"backspaceStepsBack", "apr\b", 0, "ap", 0},
                      TSearchCase{"backspaceToEmpty", "b\b", 0, "", 0},
                      TSearchCase{"backspaceOnNothing", "\b", -1, "", 1},
                      TSearchCase{"upperCase", "BLU", 3, "BLU", 0}),
    [](const auto& info) { return std::string(info.param.Name); });

// The reset counts from the last key, not from the first: the timer that
// comes 500 ms after "p" keeps "ap" and comes back when 1500 ms are over.
TEST_F(KxComboBoxTest, TheSearchStringGoesTheIntervalAfterTheLastKey) {
  TFakeTimers timers;
  auto* combo = MakeCombo(csDropDownList);
  TypeChars(combo, "a");
  timers.Pass(1000);
  TypeChars(combo, "p");
  EXPECT_EQ(timers.Fire(1500), 1);
  EXPECT_EQ(combo->GetSearchString(), "ap");
  EXPECT_TRUE(timers.Running(1000)) << "set again for what remains";
  EXPECT_EQ(timers.Fire(1000), 1);
  EXPECT_EQ(combo->GetSearchString(), "");
  EXPECT_FALSE(timers.Running(1000));
  EXPECT_FALSE(timers.Running(1500)) << "stopped until the next key";

  TypeChars(combo, "c");
  EXPECT_EQ(combo->GetSearchString(), "c");
  EXPECT_EQ(combo->GetItemIndex(), 4);
  EXPECT_TRUE(timers.Running(1500)) << "a new search starts a full interval";
}

TEST_F(KxComboBoxTest, TypingInTheListStyleFiresClickChangeAndTheKeyPressOncePerKey) {
  auto* combo = MakeCombo(csDropDownList);
  int presses = 0;
  struct TKeys {
    int* n;
    void Pressed(TObject*, char&) { ++*n; }
  } keys{&presses};
  combo->SetOnKeyPress(TKeyPressEvent(&keys, &TKeys::Pressed));
  TypeChars(combo, "ch");
  EXPECT_EQ(combo->GetItemIndex(), 4);
  EXPECT_EQ(events.Log, (std::vector<std::string>{"click", "change", "click", "change"}));
  EXPECT_EQ(presses, 2);
}

// --- auto-completion in the edit part ----------------------------------------------------------

struct TCompleteCase {
  const char* Name;
  bool KeepSearchCase;
  bool AllowEdit;
  const char* Keys;  // '\b' Backspace
  const char* Text;
  int SelStart, SelEnd;
  int Index;
  int Refused;
};

void PrintTo(const TCompleteCase& c, std::ostream* os) { *os << c.Name; }

class KxComboCompleteTest : public KxComboBoxTest, public ::testing::WithParamInterface<TCompleteCase> {};

TEST_P(KxComboCompleteTest, TypedTextIsCompletedWithTheTailSelected) {
  const TCompleteCase& c = GetParam();
  auto* combo = MakeCombo(csDropDown);
  combo->SetKeepSearchCase(c.KeepSearchCase);
  combo->SetAllowEdit(c.AllowEdit);
  TypeChars(combo, c.Keys);
  EXPECT_EQ(combo->GetText(), c.Text);
  EXPECT_EQ(EditSel(combo), std::make_pair(c.SelStart, c.SelEnd));
  EXPECT_EQ(combo->GetItemIndex(), c.Index);
  EXPECT_EQ(combo->Refused, c.Refused);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KxComboCompleteTest,
    ::testing::Values(TCompleteCase{"a", false, true, "a", "apple", 1, 5, 0, 0},
                      TCompleteCase{"apr", false, true, "apr", "apricot", 3, 7, 1, 0},
                      TCompleteCase{"caseOfTheItem", false, true, "APR", "apricot", 3, 7, 1, 0},
                      TCompleteCase{"keepSearchCase", true, true, "APR", "APRicot", 3, 7, -1, 0},
                      TCompleteCase{"noItemFreeText", false, true, "apx", "apx", 3, 3, -1, 0},
                      TCompleteCase{"noItemRefused", false, false, "apx", "apple", 2, 5, 0, 1},
                      TCompleteCase{"backspaceStepsBack", false, true, "apr\b", "apple", 2, 5, 0, 0},
                      TCompleteCase{"backspaceToEmpty", false, true, "a\b", "", 0, 0, -1, 0},
                      TCompleteCase{"backspaceOnNothing", false, true, "\b", "", 0, 0, -1, 1}),
    [](const auto& info) { return std::string(info.param.Name); });

// Wine passes a list item's text between an ANSI caller and the system's
// wide list procedure through a buffer of 512 characters: past it the text
// came back empty or the process faulted.
TEST_F(KxComboBoxTest, ItemsOfAnyLengthReadBackWhole) {
  for (int n : kLongTextLengths) {
    SCOPED_TRACE(n);
    const std::string text = LongText(static_cast<size_t>(n));
    for (TComboBoxStyle style : {csDropDown, csDropDownList}) {
      SCOPED_TRACE(style == csDropDown ? "drop-down" : "drop-down list");
      auto* combo = MakeCombo(style, {"apple", text, "zucchini"});
      const std::string got = combo->GetItems()->Get(1);
      EXPECT_EQ(got.size(), text.size());
      EXPECT_TRUE(got == text) << "the text differs";
      combo->Free();
    }
  }
}

// Picking an item makes the system's combo procedure read it from its list;
// Wine converted that read through 512 characters whenever the list's
// subclass was ANSI: a longer item came back empty or faulted the process.
// The framed and the history combo boxes complete typed text their own way,
// and the history box moves a text confirmed by Enter to the top of its list.
TEST_F(KxComboBoxTest, ItemsOfAnyLengthArePickedWhole) {
  auto framed = [&](TComboBoxStyle style) -> TCustomComboBox* {
    auto* combo = host.Add<TKxComboBox>(10, 10, 200, 24);
    combo->SetStyle(style);
    return combo;
  };
  auto history = [&](TComboBoxStyle style) -> TCustomComboBox* {
    auto* combo = host.Add<TKxMRUComboBox>(10, 10, 200, 24);
    combo->SetStyle(style);
    return combo;
  };
  {
    SCOPED_TRACE("framed");
    combo_test::ExpectLongItemsPickedWhole(framed, {csDropDown, csDropDownList});
  }
  {
    SCOPED_TRACE("history");
    combo_test::ExpectLongItemsPickedWhole(history, {csDropDown}, combo_test::TEnter::MovesTheTextFirst);
  }
}

TEST_F(KxComboBoxTest, CompletionFiresMatchAfterClickAndChange) {
  auto* combo = MakeCombo(csDropDown);
  TypeChars(combo, "ch");
  EXPECT_EQ(combo->GetText(), "cherry");
  ASSERT_GE(events.Log.size(), 3u);
  EXPECT_EQ(events.Log.back(), "match");
  EXPECT_EQ(events.Count("match"), 2);
}

TEST_F(KxComboBoxTest, WithoutAutoCompleteTheEditTakesTheTextAsTyped) {
  auto* combo = MakeCombo(csDropDown);
  combo->SetAutoComplete(false);
  TypeChars(combo, "ap");
  EXPECT_EQ(combo->GetText(), "ap");
  EXPECT_EQ(events.Count("match"), 0);
}

TEST_F(KxComboBoxTest, ATextSetInCodeIsCompletedButAnEmptyOneIsNot) {
  auto* combo = MakeCombo(csDropDown);
  combo->SetText("bl");
  EXPECT_EQ(combo->GetText(), "blueberry");
  EXPECT_EQ(EditSel(combo), std::make_pair(2, 9));
  combo->SetText("");
  EXPECT_EQ(combo->GetText(), "");
  combo->ForceText("ch");
  EXPECT_EQ(combo->GetText(), "ch");
}

// Enter keeps the search string for the next text change, but a handler
// that empties the text on Enter gets an empty text, not the completion of
// what was typed before.
TEST_F(KxComboBoxTest, ATextEmptiedOnEnterStaysEmpty) {
  auto* combo = MakeCombo(csDropDown);
  struct TClearOnEnter {
    TKxCustomComboBox* Combo;
    void Pressed(TObject*, char& key) {
      if (key == VK_RETURN) Combo->SetText("");
    }
  } clear{combo};
  combo->SetOnKeyPress(TKeyPressEvent(&clear, &TClearOnEnter::Pressed));
  TypeChars(combo, "apr");
  ASSERT_EQ(combo->GetText(), "apricot");
  PressKey(combo, VK_RETURN, '\r');
  EXPECT_EQ(combo->GetText(), "");
  EXPECT_EQ(combo->GetSearchString(), "");
  // What is typed next starts a new search.
  TypeChars(combo, "b");
  EXPECT_EQ(combo->GetText(), "banana");
  EXPECT_EQ(EditSel(combo), std::make_pair(1, 6));
}

TEST_F(KxComboBoxTest, LeavingWithATextThatIsNoItemFiresNotInList) {
  auto* combo = MakeCombo(csDropDown);
  TEventCounter notInList;
  combo->SetOnNotInList(notInList.Event());
  struct TCase {
    const char* text;
    int fired;
  };
  for (TCase c : {TCase{"kiwi", 1}, TCase{"", 0}, TCase{"banana", 0}}) {
    combo->ForceText(c.text);
    notInList.Count = 0;
    combo->Perform(CM_EXIT, 0, 0);
    EXPECT_EQ(notInList.Count, c.fired) << c.text;
  }
}

// --- read-only ------------------------------------------------------------------------------

TEST_F(KxComboBoxTest, ReadOnlyTakesNoTyping) {
  auto* combo = MakeCombo(csDropDown);
  combo->SetItemIndex(2);
  combo->SetReadOnly(true);
  TypeChars(combo, "ch\b");
  EXPECT_EQ(combo->GetText(), "banana");
  EXPECT_EQ(combo->GetItemIndex(), 2);
  // The edit window itself is read-only too.
  EXPECT_NE(GetWindowLongPtrA(combo->GetEditHandle(), GWL_STYLE) & ES_READONLY, 0);
  combo->SetReadOnly(false);
  EXPECT_EQ(GetWindowLongPtrA(combo->GetEditHandle(), GWL_STYLE) & ES_READONLY, 0);
}

TEST_F(KxComboBoxTest, ReadOnlySurvivesWindowRecreation) {
  auto* combo = MakeCombo(csDropDown);
  combo->SetReadOnly(true);
  combo->SetDropDownWidth(300);
  combo->SetItemIndex(3);
  combo->RecreateWnd();
  combo->HandleNeeded();
  EXPECT_NE(GetWindowLongPtrA(combo->GetEditHandle(), GWL_STYLE) & ES_READONLY, 0);
  EXPECT_EQ(combo->Perform(CB_GETDROPPEDWIDTH, 0, 0), 300);
  EXPECT_EQ(LinesOf(combo->GetItems()), kFruit);
  EXPECT_EQ(combo->GetItemIndex(), 3);
}

// --- wheel ------------------------------------------------------------------------------------

struct TWheelCase {
  int Start;
  int Notch;  // +1 up, -1 down
  int Index;
  int Changes;
};

void PrintTo(const TWheelCase& c, std::ostream* os) { *os << c.Start << (c.Notch > 0 ? " up" : " down"); }

class KxComboWheelTest : public KxComboBoxTest, public ::testing::WithParamInterface<TWheelCase> {};

TEST_P(KxComboWheelTest, ANotchStepsTheSelectionWithinTheList) {
  const TWheelCase& c = GetParam();
  auto* combo = MakeCombo(csDropDownList);
  combo->SetItemIndex(c.Start);
  events.Log.clear();
  POINT p = combo->ClientToScreen(POINT{5, 5});
  SendMessageA(combo->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, c.Notch * WHEEL_DELTA), MAKELPARAM(p.x, p.y));
  EXPECT_EQ(combo->GetItemIndex(), c.Index);
  EXPECT_EQ(events.Count("change"), c.Changes);
  EXPECT_EQ(events.Count("click"), c.Changes);
}

INSTANTIATE_TEST_SUITE_P(Notches, KxComboWheelTest,
                         ::testing::Values(TWheelCase{-1, -1, 0, 1}, TWheelCase{1, -1, 2, 1},
                                           TWheelCase{4, -1, 4, 0},  // the last item stays
                                           TWheelCase{3, 1, 2, 1}, TWheelCase{0, 1, 0, 0},
                                           TWheelCase{-1, 1, 0, 0}));

// --- colours and frame ----------------------------------------------------------------------------

TEST_F(KxComboBoxTest, ColoursFollowTheStateAndFocusColorFollowsColor) {
  auto* combo = MakeCombo(csDropDown);
  combo->SetColor(clYellow);
  EXPECT_EQ(combo->GetFocusColor(), clYellow) << "FocusColor followed while the same";
  combo->SetFocusColor(clAqua);
  combo->SetDisabledColor(clSilver);
  combo->Perform(CM_ENTER, 0, 0);
  EXPECT_TRUE(combo->Focused());
  EXPECT_EQ(combo->GetColor(), clAqua);
  combo->Perform(CM_EXIT, 0, 0);
  EXPECT_EQ(combo->GetColor(), clYellow);
  combo->SetEnabled(false);
  EXPECT_EQ(combo->GetColor(), clSilver);
  combo->SetDisabledColor(clGray);
  EXPECT_EQ(combo->GetColor(), clGray);
  combo->SetEnabled(true);
  EXPECT_EQ(combo->GetColor(), clYellow);
  EXPECT_EQ(combo->GetNormalColor(), clYellow);
  combo->SetColor(clLime);
  EXPECT_EQ(combo->GetFocusColor(), clAqua) << "a FocusColor of its own stays";
}

TEST_F(KxComboBoxTest, FrameHotTrackShowsTheFrameOnEverySide) {
  auto* combo = MakeCombo(csDropDown);
  combo->SetFrameSides(TSides{sdTop});
  combo->SetFrameHotTrack(true);
  EXPECT_TRUE(combo->GetFrameVisible());
  EXPECT_EQ(combo->GetFrameSides(), sdAllSides);
  EXPECT_FALSE(combo->GetCtl3D());
  combo->SetFrameVisible(false);
  EXPECT_TRUE(combo->GetCtl3D());
}

struct TPaintCase {
  const char* Name;
  bool HotTrack;
  bool Hot;
  TFrameStyle Style;
  TColor Expected;  // the outer ring's colour
  int Width;        // how many rings have it
};

void PrintTo(const TPaintCase& c, std::ostream* os) { *os << c.Name; }

class KxComboFrameTest : public KxComboBoxTest, public ::testing::WithParamInterface<TPaintCase> {};

TEST_P(KxComboFrameTest, TheFrameIsPaintedInItsStyleAndColour) {
  const TPaintCase& c = GetParam();
  TThemesOff themesOff;
  auto* combo = MakeCombo(csDropDownList);
  combo->SetFramingPreference(fpCustomFraming);
  combo->SetFrameVisible(true);
  combo->SetFrameColor(clRed);
  combo->SetFrameHotColor(clBlue);
  combo->SetFrameStyle(c.Style);
  combo->SetFrameHotStyle(c.Style);
  combo->SetFrameHotTrack(c.HotTrack);
  if (c.Hot) combo->Perform(CM_MOUSEENTER, 0, 0);
  TDib dib(160, 24, RGB(1, 2, 3));
  PaintControl(combo, dib);
  int h = combo->GetHeight();
  COLORREF want = kx_test::Shown(c.Expected);
  for (int ring = 0; ring < 2; ++ring) {
    SCOPED_TRACE(ring);
    bool inFrame = ring < c.Width;
    EXPECT_EQ(dib.Pixel(20, ring) == want, inFrame);
    EXPECT_EQ(dib.Pixel(ring, h / 2) == want, inFrame);
    EXPECT_EQ(dib.Pixel(20, h - 1 - ring) == want, inFrame);
  }
}

INSTANTIATE_TEST_SUITE_P(Styles, KxComboFrameTest,
                         ::testing::Values(TPaintCase{"flat", false, false, fsFlat, clRed, 1},
                                           TPaintCase{"flatBold", false, false, fsFlatBold, clRed, 2},
                                           TPaintCase{"hotWhenHot", true, true, fsFlat, clBlue, 1},
                                           TPaintCase{"notHotYet", true, false, fsFlat, clRed, 1},
                                           TPaintCase{"hotIgnoredWithoutTracking", false, true, fsFlat, clRed, 1}),
                         [](const auto& info) { return std::string(info.param.Name); });

// A paint that brings no DC of its own draws the frame and button on a DC of
// the window taken for it: a button that fails to draw gives it back.
TEST_F(KxComboBoxTest, AButtonThatFailsToDrawGivesItsDCBack) {
  auto* combo = MakeCombo(csDropDownList);
  combo->SetFlatButtons(true);
  combo->HandleNeeded();
  combo->Perform(CM_MOUSEENTER, 0, 0);
  ASSERT_TRUE(ThemeServices().GetThemesEnabled());
  TThemeDrawingFails failing(ThemeServices().GetElementDetails(tcDropDownButtonHot));
  int left = GdiObjectsLeftBy([&] { EXPECT_THROW(combo->Perform(WM_PAINT, 0, 0), Exception); });
  EXPECT_EQ(left, 0);
}

TEST_F(KxComboBoxTest, AFlatButtonAtRestShowsTheControlColourAndReadOnlyHidesTheButton) {
  TThemesOff themesOff;
  auto* combo = MakeCombo(csDropDownList);
  combo->SetColor(clYellow);
  TRect button = combo->ButtonRect();
  int cx = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(button.right, combo->GetWidth() - 2);
  EXPECT_EQ(button.left, combo->GetWidth() - 2 - cx);
  COLORREF yellow = kx_test::Shown(clYellow);
  {
    TDib dib(160, 24, RGB(1, 2, 3));
    PaintControl(combo, dib);
    EXPECT_LT(CountColour(dib, yellow, button), 10) << "the system's button";
  }
  combo->SetFlatButtons(true);
  {
    TDib dib(160, 24, RGB(1, 2, 3));
    PaintControl(combo, dib);
    int area = (button.right - button.left) * (button.bottom - button.top);
    int yellowPixels = CountColour(dib, yellow, button);
    EXPECT_GT(yellowPixels, area / 2);
    EXPECT_LT(yellowPixels, area) << "the arrow shows";
  }
  combo->SetFlatButtons(false);
  combo->SetReadOnly(true);
  {
    TDib dib(160, 24, RGB(1, 2, 3));
    PaintControl(combo, dib);
    int area = (button.right - button.left) * (button.bottom - button.top);
    EXPECT_EQ(CountColour(dib, yellow, button), area) << "no button";
  }
}

// --- items ------------------------------------------------------------------------------------

TEST_F(KxComboBoxTest, ADeletedItemHandsItsDataToOnDeleteItem) {
  auto* combo = MakeCombo(csDropDownList, {});
  std::vector<void*> deleted;
  struct TSink {
    std::vector<void*>* out;
    void Deleted(TObject*, void* data) { out->push_back(data); }
  } sink{&deleted};
  combo->SetOnDeleteItem(TKxDeleteComboItemEvent(&sink, &TSink::Deleted));
  int a = 0, b = 0;
  combo->AddObject("a", reinterpret_cast<TObject*>(&a));
  combo->AddObject("b", reinterpret_cast<TObject*>(&b));
  combo->Add("c");
  combo->Delete(0);
  EXPECT_EQ(deleted, (std::vector<void*>{&a}));
  combo->ClearItems();
  EXPECT_EQ(deleted, (std::vector<void*>{&a, &b})) << "an item without data says nothing";
}

TEST_F(KxComboBoxTest, FindAndClosestSelectWithoutEvents) {
  auto* combo = MakeCombo(csDropDown);
  EXPECT_TRUE(combo->FindItem("cherry"));
  EXPECT_EQ(combo->GetItemIndex(), 4);
  EXPECT_FALSE(combo->FindItem("cher"));
  EXPECT_TRUE(combo->FindClosestItem("BLU"));
  EXPECT_EQ(combo->GetItemIndex(), 3);
  EXPECT_EQ(combo->FindClosest("zz"), -1);
  EXPECT_EQ(combo->IndexOf("banana"), 2);
  EXPECT_EQ(combo->Count(), 5);
  EXPECT_TRUE(events.Log.empty());
}

// --- stored form ------------------------------------------------------------------------------------

class TComboRoot : public TPanel {
  DECLARE_CLASS(TComboRoot, TPanel)
  using TPanel::TPanel;
  TKxComboBox* Combo1 = nullptr;
};
PUBLISHED(TComboRoot) { p.Field("Combo1", &TComboRoot::Combo1); }

std::string Written(TComponent* root) {
  Owned<TStringStream> out(New<TStringStream>());
  out->WriteComponent(root);
  return out->GetDataString();
}

TEST_F(KxComboBoxTest, RetiredNamesAreReadAndNeverWritten) {
  if (!GetClass("TComboRoot")) RegisterClass(TComboRoot::StaticClass());
  struct TCase {
    const char* lines;
    bool hotTrack;
    TFrameStyle style, hotStyle;
  };
  for (TCase c : {TCase{"FrameFlat = True\nFrameFlatStyle = fsButtonUp\n", true, fsStatus, fsLowered},
                  TCase{"FrameFlat = False\n", false, fsFlat, fsFlatBold},
                  TCase{"FrameFocusStyle = fsRaised\n", false, fsFlat, fsRaised}}) {
    SCOPED_TRACE(c.lines);
    std::string text = std::string("object Root: TComboRoot\n  object Combo1: TKxComboBox\n") + c.lines +
                       "    Items.Strings = (\n      'one'\n      'two')\n  end\nend\n";
    Owned<TComboRoot> root(New<TComboRoot>(nullptr));
    root->SetParent(host.Panel());
    Owned<TStringStream> in(New<TStringStream>(text));
    in->ReadComponent(root.get());
    ASSERT_NE(root->Combo1, nullptr);
    EXPECT_EQ(root->Combo1->GetFrameHotTrack(), c.hotTrack);
    EXPECT_EQ(root->Combo1->GetFrameStyle(), c.style);
    EXPECT_EQ(root->Combo1->GetFrameHotStyle(), c.hotStyle);
    EXPECT_EQ(LinesOf(root->Combo1->GetItems()), (std::vector<std::string>{"one", "two"}));
    std::string written = Written(root.get());
    EXPECT_EQ(written.find("FrameFlat"), std::string::npos) << written;
    EXPECT_EQ(written.find("FrameFocusStyle"), std::string::npos) << written;
  }
}

TEST_F(KxComboBoxTest, AFrameControllerKeepsTheFrameAndColoursOutOfTheForm) {
  if (!GetClass("TComboRoot")) RegisterClass(TComboRoot::StaticClass());
  Owned<TComboRoot> root(New<TComboRoot>(nullptr));
  root->SetName("Root");
  root->SetParent(host.Panel());
  auto* combo = New<TKxComboBox>(root.get());
  combo->SetName("Combo1");
  combo->SetParent(root.get());
  combo->SetColor(clAqua);
  combo->SetFlatButtons(true);
  combo->SetFrameColor(clGreen);
  std::string before = Written(root.get());
  EXPECT_NE(before.find("FlatButtons = True"), std::string::npos) << before;
  EXPECT_NE(before.find("FrameColor = clGreen"), std::string::npos) << before;
  EXPECT_NE(before.find(" Color = clAqua"), std::string::npos) << before;

  auto* controller = New<TKxFrameController>(root.get());
  controller->SetName("Frames");
  controller->SetFrameColor(clMaroon);
  combo->SetFrameController(controller);
  EXPECT_EQ(combo->GetFrameColor(), clMaroon);
  EXPECT_EQ(combo->GetFlatButtons(), controller->GetFlatButtons());
  std::string after = Written(root.get());
  size_t at = after.find("object Combo1");
  std::string part = after.substr(at, after.find("end", at) - at);
  EXPECT_NE(part.find("FrameController = Frames"), std::string::npos) << part;
  for (const char* name : {"FrameColor", "FlatButtons", "DisabledColor", " Color = "})
    EXPECT_EQ(part.find(name), std::string::npos) << name << "\n" << part;
  controller->Free();
  EXPECT_EQ(combo->GetFrameController(), nullptr);
  EXPECT_TRUE(combo->IsFrameStored());
}

}  // namespace
