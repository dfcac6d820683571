// Radio and check groups: the column layout with real fonts, the item
// appearance given to every item, the radio group's veto in code, by click
// and by the real mouse, the check group's stored states, enabling, the
// item font that follows the group's font, stored forms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kx/controls/KxRadGrp.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

namespace {

// The width of text in font, measured on a DC of our own.
int TextWidthIn(TFont* font, const std::string& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->GetHandle());
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size.cx;
}

int FontHeightIn(TFont* font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->GetHandle());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm.tmHeight + 2;
}

void SetLines(TKxCustomItemGroup* group, const std::vector<std::string>& lines) {
  group->GetItems()->Clear();
  for (const std::string& s : lines) group->GetItems()->Add(s);
}

// Records what OnChanging is asked and answers with Allow.
struct TChangingLog {
  bool Allow = true;
  std::vector<int> Asked;
  void Changing(TObject*, int newIndex, bool& allow) {
    Asked.push_back(newIndex);
    allow = Allow;
  }
  TKxIndexChangingEvent Event() { return TKxIndexChangingEvent(this, &TChangingLog::Changing); }
};

// The radio group's state in one look: the index and which items are
// checked.
std::string Checked(TKxCustomRadioGroup* g) {
  std::string s = std::to_string(g->GetItemIndex()) + ":";
  for (int i = 0; i < g->GetItemCount(); ++i) s += g->GetButtons(i)->GetChecked() ? '1' : '0';
  return s;
}

void Click(TKxCustomGlyphButton* item) {
  item->HandleNeeded();
  item->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  item->Perform(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

}  // namespace

TEST(KxItemGroup, ItemsAreLaidOutInOneToSixteenColumnsByTheirCaptionsOrEvenly) {
  TControlHost host;
  auto* group = host.Add<TKxRadioGroup>(0, 0, 200, 150);
  SetLines(group, {"One", "Two wide line", "Three", "IV", "V"});
  TFont* f = group->GetItemFont();
  const int fh = FontHeightIn(group->GetFont());
  const int pitch = 17 + 3;
  auto column = [&](std::initializer_list<const char*> captions) {
    int w = 0;
    for (const char* c : captions) w = std::max(w, TextWidthIn(f, c) + 13 + 12);
    return w;
  };
  struct Case {
    const char* Name;
    int Columns;
    bool Even;
    std::string Caption;
    TKxGroupBoxStyle Style;
    TFrameStyleEx Outer;
    int BorderWidth;
    std::vector<std::pair<int, TRect>> Items;  // item index and its bounds
  };
  const int c0 = column({"One", "Two wide line", "Three"}), c1 = column({"IV", "V"});
  const int all = column({"One", "Two wide line", "Three", "IV", "V"});
  const Case cases[] = {
      {"one column, no caption, flat", 1, false, "", gsFlat, fsNone, 0,
       {{0, {8, 3, 8 + all - 4, 3 + 17}}, {4, {8, 3 + 4 * pitch, 8 + all - 4, 20 + 4 * pitch}}}},
      {"two columns by caption width", 2, false, "", gsFlat, fsNone, 0,
       {{0, {8, 3, 8 + c0 - 4, 20}}, {3, {8 + c0, 3, 8 + c0 + c1 - 4, 20}},
        {4, {8 + c0, 3 + pitch, 8 + c0 + c1 - 4, 20 + pitch}}}},
      {"three even columns of 60", 3, true, "", gsFlat, fsNone, 0,
       {{0, {8, 3, 68, 20}}, {2, {68, 3, 128, 20}}, {3, {68, 3 + pitch, 128, 20 + pitch}}, {4, {128, 3, 188, 20}}}},
      // 2 pixels of the groove and BorderWidth + 1 above the first row.
      {"caption, grooved border of 3", 3, true, "Group", gsFlat, fsGroove, 3, {{0, {8, fh + 8, 8 + 58, fh + 8 + 17}}}},
      {"standard style, no caption", 1, true, "", gsStandard, fsNone, 0,
       {{0, {8, fh / 2 + 4, 8 + 182, fh / 2 + 4 + 17}}}},
      {"standard style, caption", 1, true, "Group", gsStandard, fsRaised, 0, {{0, {8, fh + 2, 8 + 182, fh + 2 + 17}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    group->SetColumns(c.Columns);
    group->SetSpaceEvenly(c.Even);
    group->SetCaption(c.Caption);
    group->SetGroupBoxStyle(c.Style);
    group->SetBorderOuter(c.Outer);
    group->SetBorderWidth(c.BorderWidth);
    group->ArrangeItems();  // border settings alone do not lay out
    for (auto [i, r] : c.Items) EXPECT_EQ(group->GetButtons(i)->GetBoundsRect(), r) << "item " << i;
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(group->GetButtons(i)->GetVisible());
  }
  for (auto [set, got] : {std::pair{0, 1}, {-3, 1}, {20, 16}, {16, 16}, {5, 5}}) {
    group->SetColumns(set);
    EXPECT_EQ(group->GetColumns(), got) << set;
  }
}

TEST(KxItemGroup, EveryItemTakesTheGroupsItemAppearance) {
  TControlHost host;
  auto* group = host.Add<TKxCheckGroup>(0, 0, 200, 150);
  SetLines(group, {"A", "B"});
  group->SetItemFrameColor(clRed);
  group->SetItemHotTrack(true);
  group->SetItemHighlightColor(clGreen);
  group->SetItemHotTrackColor(clNavy);
  group->SetItemHotTrackColorType(htctActual);
  group->SetTextStyle(tsShadow);
  group->SetTextShadowDepth(4);
  group->SetTransparentColor(clPurple);
  group->SetAllowGrayed(true);
  group->GetItems()->Add("C");  // made after the settings: given them too
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    TKxGroupCheck* c = group->GetChecks(i);
    EXPECT_EQ(c->GetFrameColor(), clRed);
    EXPECT_TRUE(c->GetHotTrack());
    EXPECT_EQ(c->GetHighlightColor(), clGreen);
    EXPECT_EQ(c->GetHotTrackColor(), clNavy);
    EXPECT_EQ(c->GetHotTrackColorType(), htctActual);
    EXPECT_EQ(c->GetTextStyle(), tsShadow);
    EXPECT_EQ(c->GetTextShadowDepth(), 4);
    EXPECT_EQ(c->GetTransparentColor(), clPurple);
    EXPECT_EQ(c->GetWinMaskColor(), clTeal) << "the group's default, not the check box's";
    EXPECT_TRUE(c->GetAllowGrayed());
    EXPECT_EQ(c->GetFont()->GetName(), group->GetItemFont()->GetName());
    EXPECT_EQ(c->GetOwner(), group);
  }
  // A strip of 9 cells of 10 pixels: each item's glyph is 10 wide, and the
  // layout reserves that much.
  Owned<TBitmap> strip = SolidGlyph(90, 10, clBlue);
  group->SetCustomGlyphs(strip.get());
  EXPECT_TRUE(group->GetUseCustomGlyphs());
  EXPECT_EQ(group->ItemGlyphSize(), (SIZE{10, 10}));
  EXPECT_EQ(group->GetChecks(0)->GetGlyphWidth(), 10);
  EXPECT_EQ(group->GetChecks(0)->GetWidth(), TextWidthIn(group->GetItemFont(), "A") + 10 + 12 - 4);
}

// --- the radio group's veto --------------------------------------------------------------

class KxRadioGroupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    group = host.Add<TKxRadioGroup>(0, 0, 200, 150);
    SetLines(group, {"A", "B", "C", "D"});
    group->OnChanging = log.Event();
    group->SetOnClick(clicks.Event());
  }
  TControlHost host;
  TKxRadioGroup* group = nullptr;
  TChangingLog log;
  TEventCounter clicks;
};

TEST_F(KxRadioGroupTest, SettingItemIndexInCodeAsksFirstAndARefusalChangesNothing) {
  group->SetItemIndex(1);
  EXPECT_EQ(Checked(group), "1:0100");
  EXPECT_EQ(log.Asked, (std::vector<int>{1}));
  EXPECT_EQ(clicks.Count, 1) << "OnClick like a click";

  log.Allow = false;
  group->SetItemIndex(3);
  EXPECT_EQ(Checked(group), "1:0100") << "index and checked item still agree";
  EXPECT_EQ(clicks.Count, 1);

  log.Allow = true;
  struct Case {
    int Set;
    const char* Expect;
  } const cases[] = {{9, "3:0001"}, {-5, "-1:0000"}, {0, "0:1000"}};
  for (const Case& c : cases) {
    group->SetItemIndex(c.Set);
    EXPECT_EQ(Checked(group), c.Expect) << c.Set;
  }
  EXPECT_EQ(log.Asked, (std::vector<int>{1, 3, 3, 0})) << "clearing to -1 asks nothing";
}

TEST_F(KxRadioGroupTest, ARefusedClickGivesThePreviousItemBackOrUndoesItself) {
  log.Allow = false;
  Click(group->GetButtons(2));
  EXPECT_EQ(Checked(group), "-1:0000") << "nothing before: the click is undone";
  log.Allow = true;
  Click(group->GetButtons(2));
  EXPECT_EQ(Checked(group), "2:0010");
  EXPECT_EQ(clicks.Count, 1);
  log.Allow = false;
  Click(group->GetButtons(0));
  EXPECT_EQ(Checked(group), "2:0010");
  EXPECT_EQ(log.Asked, (std::vector<int>{2, 2, 0}));
  EXPECT_EQ(clicks.Count, 1);
}

TEST_F(KxRadioGroupTest, LinesRemovedPastTheIndexSelectTheNewLastLine) {
  group->SetItemIndex(3);
  group->GetItems()->Delete(3);
  group->GetItems()->Delete(2);
  EXPECT_EQ(group->GetItemCount(), 2);
  EXPECT_EQ(Checked(group), "1:01");
  group->GetItems()->Clear();
  EXPECT_EQ(Checked(group), "-1:");
}

TEST(KxItemGroup, EnablingTheGroupEnablesEveryItemAgain) {
  TControlHost host;
  auto* group = host.Add<TKxRadioGroup>(0, 0, 200, 150);
  SetLines(group, {"A", "B", "C"});
  group->SetItemEnabled(1, false);
  group->SetEnabled(false);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(group->GetItemEnabled(i)) << i;
  group->SetEnabled(true);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(group->GetItemEnabled(i)) << i << ", also the one disabled by hand";
  group->SetEnabled(false);
  group->GetItems()->Add("D");
  EXPECT_FALSE(group->GetItemEnabled(3)) << "a new item is as enabled as its group";
}

TEST(KxItemGroup, TheItemFontFollowsTheFontUntilSetAndScales) {
  TControlHost host;
  auto* group = host.Add<TKxRadioGroup>(0, 0, 200, 150);
  SetLines(group, {"A"});
  group->GetFont()->SetName("Arial");
  group->GetFont()->SetSize(12);
  EXPECT_EQ(group->GetItemFont()->GetName(), "Arial");
  EXPECT_EQ(group->GetButtons(0)->GetFont()->GetSize(), 12);
  EXPECT_FALSE(group->IsItemFontStored());

  group->GetItemFont()->SetSize(10);
  EXPECT_TRUE(group->IsItemFontStored());
  group->GetFont()->SetSize(14);
  EXPECT_EQ(group->GetItemFont()->GetSize(), 10) << "set on its own: kept";

  group->ChangeScale(2, 1);
  EXPECT_EQ(group->GetItemFont()->GetSize(), 20);
  EXPECT_EQ(group->GetItemHeight(), 34);
  EXPECT_EQ(group->GetVerticalSpacing(), 6);
  EXPECT_EQ(group->GetStartYPos(), 4);
  EXPECT_EQ(group->GetStartXPos(), 8) << "not scaled";
  EXPECT_EQ(group->GetButtons(0)->GetHeight(), 34);
}

// --- stored forms --------------------------------------------------------------------------

TEST(KxCheckGroup, StoredStatesComeBackAndWhatNoItemHoldsIsLeftOut) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* group = New<TKxCheckGroup>(form.get());
  group->SetParent(form.get());
  group->SetName("Checks1");
  SetLines(group, {"A", "B", "C"});
  group->SetAllowGrayed(true);
  group->SetItemState(0, cbChecked);
  group->SetItemState(2, cbGrayed);
  auto* empty = New<TKxCheckGroup>(form.get());
  empty->SetParent(form.get());
  empty->SetName("Empty1");
  auto* radio = New<TKxRadioGroup>(form.get());
  radio->SetParent(form.get());
  radio->SetName("Radio1");
  SetLines(radio, {"X", "Y"});
  radio->SetItemIndex(1);
  radio->SetColumns(2);
  std::string text = WriteForm(form.get());
  std::erase(text, '\r');
  const std::string stored = "CheckStates = (\n      1\n      0\n      2)";
  EXPECT_NE(text.find(stored), std::string::npos) << text;
  EXPECT_EQ(text.find("CheckStates", text.find("object Empty1")), std::string::npos) << "an empty group";
  EXPECT_EQ(text.find("ItemFont"), std::string::npos) << "following the font: not stored";
  EXPECT_EQ(text.find("TKxGroup"), std::string::npos) << "items are never stored";

  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* g2 = dynamic_cast<TKxCheckGroup*>(copy->FindComponent("Checks1"));
  auto* r2 = dynamic_cast<TKxRadioGroup*>(copy->FindComponent("Radio1"));
  ASSERT_NE(g2, nullptr);
  ASSERT_NE(r2, nullptr);
  EXPECT_EQ(g2->GetItemState(0), cbChecked);
  EXPECT_EQ(g2->GetItemState(1), cbUnchecked);
  EXPECT_EQ(g2->GetItemState(2), cbGrayed);
  EXPECT_EQ(Checked(r2), "1:01");
  EXPECT_EQ(r2->GetButtons(1)->GetLeft(), radio->GetButtons(1)->GetLeft()) << "laid out after reading";
  std::string again = WriteForm(copy.get());
  std::erase(again, '\r');
  EXPECT_EQ(again, text);

  // States beyond the items, out of range or retired names.
  std::string odd = text;
  odd.replace(odd.find(stored), stored.size(),
              "CheckStates = (\n      7\n      1\n      -1\n      1\n      1)\n    Flat = True");
  Owned<TForm> third(New<TForm>(nullptr, 0));
  ReadForm(odd, third.get());
  auto* g3 = dynamic_cast<TKxCheckGroup*>(third->FindComponent("Checks1"));
  ASSERT_NE(g3, nullptr);
  EXPECT_EQ(g3->GetItemState(0), cbUnchecked) << "7 is no state";
  EXPECT_EQ(g3->GetItemState(1), cbChecked);
  EXPECT_EQ(g3->GetItemState(2), cbUnchecked) << "-1 is no state";
  EXPECT_TRUE(g3->GetItemHotTrack()) << "the retired Flat";
}

TEST(KxCheckGroup, AClickTellsTheIndexAndTheNewState) {
  TControlHost host;
  auto* group = host.Add<TKxCheckGroup>(0, 0, 200, 150);
  SetLines(group, {"A", "B"});
  group->SetAllowGrayed(true);
  std::vector<std::pair<int, TCheckBoxState>> told;
  struct TSink {
    std::vector<std::pair<int, TCheckBoxState>>* Told;
    void Change(TObject*, int index, TCheckBoxState state) { Told->push_back({index, state}); }
  } sink{&told};
  group->SetOnChange(TStateChangeEvent(&sink, &TSink::Change));
  Click(group->GetChecks(1));
  Click(group->GetChecks(1));
  group->SetItemChecked(0, true);
  EXPECT_EQ(told, (std::vector<std::pair<int, TCheckBoxState>>{{1, cbGrayed}, {1, cbChecked}, {0, cbChecked}}));
}

// --- real mouse ------------------------------------------------------------------------------

TEST(SerialKxRadioGroupInput, ARefusedClickLeavesThePreviousItemFocusedAndKeysMoveOn) {
  TShownForm form(320, 200);
  auto* group = form.Add<TKxRadioGroup>(10, 10, 200, 150);
  SetLines(group, {"First", "Second", "Third"});
  TChangingLog log;
  group->OnChanging = log.Event();
  form.Show();
  TShownForm::MoveTo(group->GetButtons(1), POINT{5, 5});
  TShownForm::Button(true);
  TShownForm::Button(false);
  EXPECT_EQ(Checked(group), "1:010");
  EXPECT_TRUE(group->GetButtons(1)->Focused());

  log.Allow = false;
  TShownForm::MoveTo(group->GetButtons(2), POINT{5, 5});
  TShownForm::Button(true);
  TShownForm::Button(false);
  EXPECT_EQ(Checked(group), "1:010");
  EXPECT_TRUE(group->GetButtons(1)->Focused()) << "the previous item has the focus again";
  EXPECT_EQ(log.Asked, (std::vector<int>{1, 2}));

  // The arrow key moves on through the same question.
  log.Allow = true;
  form.Type(VK_DOWN);
  EXPECT_EQ(Checked(group), "2:001");

  // Enter on an item moves on as Tab does when the group says so.
  auto* next = form.Add<TKxCheckBox>(220, 10, 80, 20);
  group->SetTabOnEnter(true);
  ASSERT_TRUE(group->GetButtons(2)->Focused());
  form.Type(VK_RETURN);
  EXPECT_TRUE(next->Focused());
}
