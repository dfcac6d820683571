// The toolbar: rows and columns of controls with wrapping and automatic size,
// text options and the buttons that follow them, the parents that size it
// themselves, the layout saved to and restored from an INI file and the
// registry (damaged values included), stored forms, the tiled background.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/ComCtrls.h"
#include "classlib/IniFiles.h"
#include "classlib/Registry.h"
#include "classlib/SysUtils.h"
#include "kx/controls/KxButton.h"
#include "kx/controls/KxPanel.h"
#include "kx/foundation/KxThemeSrv.h"
#include "tests/common/TestSupport.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

namespace {

class KxToolbarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    toolbar = New<TKxToolbar>(host.Panel());
    toolbar->SetName("Bar");
    toolbar->SetParent(host.Panel());
  }
  // A plain control of the given size on the toolbar, named Cn.
  TControl* AddBox(int width, int height) {
    auto* c = New<TPanel>(host.Panel());
    c->SetName("C" + IntToStr(static_cast<int>(boxes.size())));
    c->SetBounds(0, 0, width, height);
    c->SetParent(toolbar);
    boxes.push_back(c);
    return c;
  }
  // The names of the listed controls in order, hidden ones with "##".
  Lines Order() const {
    Lines names;
    TKxToolbarControlList* list = toolbar->GetToolbarControls();
    for (int i = 0; i < list->GetCount(); ++i) {
      TControl* c = list->GetControl(i);
      names.push_back((c->GetVisible() ? "" : "##") + c->GetName());
    }
    return names;
  }

  TControlHost host{clBtnFace, 400, 300};
  TKxToolbar* toolbar = nullptr;
  std::vector<TControl*> boxes;
};

// --- layout -------------------------------------------------------------------------------

struct TLayoutCase {
  const char* Name;
  TOrientation Orientation;
  TAlign Align;
  bool Wrap;
  std::vector<SIZE> Sizes;
  std::vector<POINT> Places;
  SIZE BarSize;
};

void PrintTo(const TLayoutCase& c, std::ostream* os) { *os << c.Name; }

class KxToolbarLayoutTest : public KxToolbarTest, public ::testing::WithParamInterface<TLayoutCase> {};

TEST_P(KxToolbarLayoutTest, ControlsLineUpAndTheToolbarTakesTheirSize) {
  const TLayoutCase& c = GetParam();
  toolbar->SetOrientation(c.Orientation);
  toolbar->SetAlign(c.Align);
  toolbar->SetWrapControls(c.Wrap);
  for (const SIZE& s : c.Sizes) AddBox(s.cx, s.cy);
  for (size_t i = 0; i < boxes.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(boxes[i]->GetLeft(), c.Places[i].x);
    EXPECT_EQ(boxes[i]->GetTop(), c.Places[i].y);
    EXPECT_EQ(boxes[i]->GetWidth(), c.Sizes[i].cx) << "the control keeps its size";
  }
  EXPECT_EQ(toolbar->GetWidth(), c.BarSize.cx);
  EXPECT_EQ(toolbar->GetHeight(), c.BarSize.cy);
}

// Margin 4, TopMargin 2, RowHeight 25; a host of 400 x 300.
INSTANTIATE_TEST_SUITE_P(
    Cases, KxToolbarLayoutTest,
    ::testing::Values(
        // The fourth control passes 400 - 4: a second row, rows of 25 plus
        // twice the top margin.
        TLayoutCase{"wrapsIntoASecondRow", orHorizontal, alTop, true,
                    {{100, 20}, {150, 20}, {120, 20}, {60, 10}},
                    {{4, 4}, {104, 4}, {254, 4}, {4, 34}}, {400, 54}},
        TLayoutCase{"noWrapRunsOn", orHorizontal, alTop, false,
                    {{100, 20}, {150, 20}, {120, 20}, {60, 10}},
                    {{4, 4}, {104, 4}, {254, 4}, {374, 9}}, {400, 29}},
        // Wider than the toolbar: the first control never starts a row.
        TLayoutCase{"aWideFirstControlStaysInRowOne", orHorizontal, alTop, true,
                    {{500, 20}, {10, 20}}, {{4, 4}, {4, 29}}, {400, 54}},
        TLayoutCase{"bottomAlignedGrowsLikeTop", orHorizontal, alBottom, true,
                    {{300, 20}, {200, 20}}, {{4, 4}, {4, 29}}, {400, 54}},
        // Side-aligned and never wrapping: the width stays as it is.
        TLayoutCase{"sideAlignedWithoutWrapKeepsItsWidth", orHorizontal, alLeft, true,
                    {{20, 20}}, {{4, 4}}, {32, 300}},
        TLayoutCase{"sideAlignedWrapsToTheWidest", orHorizontal, alLeft, true,
                    {{20, 20}, {20, 20}}, {{4, 4}, {4, 29}}, {28, 300}},
        // Columns: RowHeight per column plus the top margin plus 2.
        TLayoutCase{"verticalWrapsIntoColumns", orVertical, alLeft, true,
                    {{20, 100}, {20, 150}, {20, 60}},
                    {{6, 4}, {6, 104}, {31, 4}}, {54, 300}},
        TLayoutCase{"verticalOnTopTakesTheTallestColumn", orVertical, alTop, true,
                    {{20, 20}, {20, 20}}, {{6, 4}, {31, 4}}, {400, 28}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KxToolbarTest, HiddenControlsTakeNoPlaceAndAFreedControlLeavesTheList) {
  AddBox(50, 20);
  AddBox(60, 20);
  AddBox(70, 20);
  boxes[1]->SetVisible(false);
  toolbar->PositionControls();
  EXPECT_EQ(boxes[2]->GetLeft(), 54);
  boxes[0]->Free();
  EXPECT_EQ(toolbar->GetToolbarControls()->GetCount(), 2);
  EXPECT_EQ(boxes[2]->GetLeft(), 4) << "the rest move up at once";
}

TEST_F(KxToolbarTest, AlignmentSetsTheDividerSideUntilABorderIsSetByHand) {
  struct Case {
    TAlign Align;
    TSides Sides;
    int Width, Height;
  } cases[] = {{alLeft, TSides{sdLeft}, 32, 300}, {alRight, TSides{sdRight}, 32, 300},
               {alBottom, TSides{sdBottom}, 400, 29}, {alTop, TSides{sdTop}, 400, 29}};
  // Set to 32 across, then one empty row of 25 between the top margins
  // along the top or bottom; side-aligned, a row with nothing in it keeps
  // the width.
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Align);
    toolbar->SetAlign(c.Align);
    EXPECT_EQ(toolbar->GetBorderSides(), c.Sides);
    EXPECT_EQ(toolbar->GetBorderOuter(), fsGroove);
    EXPECT_EQ(toolbar->GetWidth(), c.Width);
    EXPECT_EQ(toolbar->GetHeight(), c.Height);
    EXPECT_TRUE(toolbar->GetAutoStyle());
  }
  toolbar->SetShowDivider(false);
  EXPECT_EQ(toolbar->GetBorderOuter(), fsNone);
  toolbar->SetBorderSides(TSides{sdTop, sdBottom});
  EXPECT_FALSE(toolbar->GetAutoStyle());
  toolbar->SetAlign(alLeft);
  EXPECT_EQ(toolbar->GetBorderSides(), (TSides{sdTop, sdBottom})) << "a border set by hand stays";
}

TEST_F(KxToolbarTest, TurningTheToolbarTurnsItsSpacersOnlyOnAChange) {
  auto* spacer = New<TKxSpacer>(host.Panel());
  spacer->SetParent(toolbar);
  spacer->SetBounds(0, 0, 8, 22);
  toolbar->SetOrientation(orHorizontal);
  EXPECT_EQ(spacer->GetOrientation(), orHorizontal);
  EXPECT_EQ(spacer->GetWidth(), 8) << "the same orientation exchanges nothing";
  EXPECT_EQ(spacer->GetHeight(), 22);
  toolbar->SetOrientation(orVertical);
  EXPECT_EQ(spacer->GetOrientation(), orVertical);
  EXPECT_EQ(spacer->GetWidth(), 22);
  EXPECT_EQ(spacer->GetHeight(), 8);
  toolbar->SetOrientation(orVertical);
  EXPECT_EQ(spacer->GetWidth(), 22);
}

TEST_F(KxToolbarTest, ItTellsOfShowingAndHidingAndForgetsAFreedImageList) {
  TEventCounter changed;
  toolbar->SetOnVisibleChanged(changed.Event());
  toolbar->SetVisible(false);
  toolbar->SetVisible(true);
  EXPECT_EQ(changed.Count, 2);
  auto* images = New<TCustomImageList>(host.Panel(), 16, 16);
  toolbar->SetImages(images);
  images->Free();
  EXPECT_EQ(toolbar->GetImages(), nullptr);
}

// --- parents ------------------------------------------------------------------------------

TEST_F(KxToolbarTest, ParentsThatSizeTheirToolbarsTurnAutoResizeOff) {
  auto* scroller = New<TPageScroller>(host.Panel());
  scroller->SetParent(host.Panel());
  auto* bar = New<TToolBar>(host.Panel());
  bar->SetParent(host.Panel());
  for (TWinControl* parent : std::vector<TWinControl*>{scroller, bar}) {
    SCOPED_TRACE(parent->ClassName());
    auto* t = New<TKxToolbar>(host.Panel());
    t->SetParent(parent);
    EXPECT_FALSE(t->GetAutoResize());
    t->SetAutoResize(true);
    EXPECT_FALSE(t->GetAutoResize()) << "cannot be switched on there";
    t->SetParent(host.Panel());
    t->SetAutoResize(true);
    EXPECT_TRUE(t->GetAutoResize());
  }
}

// The parent is told of the new size; a toolbar on no parent resizes alone.
TEST_F(KxToolbarTest, AnAutomaticResizePostsASizeMessageToAParentThereIs) {
  MSG m;
  HWND parent = host.Panel()->GetHandle();
  while (PeekMessageA(&m, parent, WM_SIZE, WM_SIZE, PM_REMOVE)) {
  }
  AddBox(50, 20);
  toolbar->SetRowHeight(40);
  ASSERT_EQ(toolbar->GetHeight(), 44);
  ASSERT_TRUE(PeekMessageA(&m, parent, WM_SIZE, WM_SIZE, PM_REMOVE));
  EXPECT_EQ(m.wParam, static_cast<WPARAM>(SIZE_RESTORED));
  EXPECT_EQ(m.lParam, MAKELPARAM(400, 300));

  Owned<TKxToolbar> alone(New<TKxToolbar>(nullptr));
  auto* c = New<TPanel>(alone.get());
  c->SetBounds(0, 0, 50, 20);
  c->SetParent(alone.get());
  alone->SetRowHeight(40);
  EXPECT_EQ(alone->GetHeight(), 44);
}

// --- text options -------------------------------------------------------------------------

TEST_F(KxToolbarTest, TextOptionsSetTheButtonsAndARowThatFitsThem) {
  auto* tb = New<TKxToolbarButton>(host.Panel());
  tb->SetParent(toolbar);
  auto* tool = New<TKxToolButton>(host.Panel());
  tool->SetCaption("Open");
  tool->SetParent(toolbar);
  struct Case {
    TKxToolbarTextOptions Options;
    TButtonLayout Layout;
    int Width, Height;
    bool Captions;
    int RowHorizontal, RowVertical;
  } cases[] = {{ttoShowTextLabels, blGlyphTop, 60, 40, true, 40, 60},
               {ttoSelectiveTextOnRight, blGlyphLeft, 60, 25, true, 25, 60},
               {ttoNoTextLabels, blGlyphLeft, 25, 25, false, 25, 25}};
  for (TOrientation o : {orHorizontal, orVertical})
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "orientation " << o << " options " << c.Options);
      toolbar->SetOrientation(o);
      toolbar->SetTextOptions(c.Options);
      EXPECT_EQ(toolbar->GetTextOptions(), c.Options) << "never left as custom";
      EXPECT_EQ(toolbar->GetButtonLayout(), c.Layout);
      EXPECT_EQ(toolbar->GetButtonWidth(), c.Width);
      EXPECT_EQ(toolbar->GetButtonHeight(), c.Height);
      EXPECT_EQ(toolbar->GetShowButtonCaptions(), c.Captions);
      EXPECT_EQ(toolbar->GetRowHeight(), o == orHorizontal ? c.RowHorizontal : c.RowVertical);
      EXPECT_EQ(tb->GetWidth(), c.Width);
      EXPECT_EQ(tb->GetHeight(), c.Height);
      EXPECT_EQ(tb->GetShowCaption(), c.Captions);
      EXPECT_EQ(tb->GetLayout(), c.Layout);
      // The tool button follows through the toolbar's messages.
      EXPECT_EQ(tool->GetShowCaption(), c.Captions);
      EXPECT_EQ(tool->GetLayout(), c.Layout);
      EXPECT_EQ(tool->GetHeight(), c.Height);
      EXPECT_GE(tool->GetWidth(), c.Width);
      toolbar->SetTextOptions(ttoCustom);
    }
  toolbar->SetTextOptions(ttoNoTextLabels);
  toolbar->SetButtonWidth(30);
  EXPECT_EQ(toolbar->GetTextOptions(), ttoCustom) << "a size set by hand";
  EXPECT_EQ(tool->GetWidth(), 30);
  toolbar->SetTextOptions(ttoCustom);
  EXPECT_EQ(toolbar->GetButtonWidth(), 30) << "custom changes nothing";
}

// --- the saved layout ---------------------------------------------------------------------

// An INI file of the test's own.
class KxToolbarLayoutStore : public KxToolbarTest {
 protected:
  void SetUp() override {
    KxToolbarTest::SetUp();
    path = temp.Path("layout.ini");
    store = New<TKxRegIniFile>(host.Panel());
    store->SetPath(path);
    toolbar->SetRegIniFile(store);
    for (int i = 0; i < 3; ++i) AddBox(40, 20);
  }
  Lines Section() const {
    Owned<TIniFile> ini(New<TIniFile>(path));
    Owned<TStringList> lines(New<TStringList>());
    ini->ReadSectionValues("Bar", lines.get());
    return LinesOf(lines.get());
  }
  void Write(const std::vector<std::pair<std::string, std::string>>& values) const {
    Owned<TIniFile> ini(New<TIniFile>(path));
    ini->EraseSection("Bar");
    for (const auto& [name, value] : values) ini->WriteString("Bar", name, value);
  }

  TTempFolder temp{"KxToolbar"};
  std::string path;
  TKxRegIniFile* store = nullptr;
};

TEST_F(KxToolbarLayoutStore, TheLayoutGoesToTheToolbarsSectionAndComesBack) {
  toolbar->SetTextOptions(ttoSelectiveTextOnRight);
  toolbar->GetToolbarControls()->Move(2, 0);
  boxes[1]->SetVisible(false);
  toolbar->SaveLayout();
  EXPECT_EQ(Section(), (Lines{"TextOptions=2", "Count=3", "Control0=C2", "Control1=C0", "Control2=##C1"}));

  toolbar->GetToolbarControls()->Move(0, 2);
  boxes[1]->SetVisible(true);
  toolbar->SetTextOptions(ttoNoTextLabels);
  toolbar->RestoreLayout();
  EXPECT_EQ(Order(), (Lines{"C2", "C0", "##C1"}));
  EXPECT_EQ(toolbar->GetTextOptions(), ttoSelectiveTextOnRight);
  EXPECT_EQ(boxes[2]->GetLeft(), 4) << "laid out in the restored order";
  EXPECT_EQ(boxes[0]->GetLeft(), 44);
}

struct TDamagedCase {
  const char* Name;
  std::vector<std::pair<std::string, std::string>> Stored;
  Lines Order;
  TKxToolbarTextOptions Options;
};

void PrintTo(const TDamagedCase& c, std::ostream* os) { *os << c.Name; }

class KxToolbarDamagedLayout : public KxToolbarLayoutStore, public ::testing::WithParamInterface<TDamagedCase> {};

TEST_P(KxToolbarDamagedLayout, WhatCannotBeUsedIsLeftAlone) {
  const TDamagedCase& c = GetParam();
  toolbar->SetTextOptions(ttoShowTextLabels);
  Write(c.Stored);
  toolbar->RestoreLayout();
  EXPECT_EQ(Order(), c.Order);
  EXPECT_EQ(toolbar->GetTextOptions(), c.Options);
}

INSTANTIATE_TEST_SUITE_P(
    Stores, KxToolbarDamagedLayout,
    ::testing::Values(
        TDamagedCase{"nothingStored", {}, {"C0", "C1", "C2"}, ttoShowTextLabels},
        // Another number of controls: the order is not touched, the options
        // still are.
        TDamagedCase{"countOfAnotherToolbar",
                     {{"TextOptions", "0"}, {"Count", "2"}, {"Control0", "C2"}, {"Control1", "C1"}},
                     {"C0", "C1", "C2"}, ttoNoTextLabels},
        TDamagedCase{"countThatIsNoNumber", {{"Count", "three"}, {"Control0", "C2"}}, {"C0", "C1", "C2"},
                     ttoShowTextLabels},
        TDamagedCase{"optionsAboveTheRange", {{"TextOptions", "4"}}, {"C0", "C1", "C2"}, ttoShowTextLabels},
        TDamagedCase{"optionsBelowTheRange", {{"TextOptions", "-7"}}, {"C0", "C1", "C2"}, ttoShowTextLabels},
        TDamagedCase{"optionsThatAreNoNumber", {{"TextOptions", "custom"}}, {"C0", "C1", "C2"}, ttoShowTextLabels},
        TDamagedCase{"customOptions", {{"TextOptions", "3"}}, {"C0", "C1", "C2"}, ttoCustom},
        // Empty entries and names that are no control's are skipped.
        TDamagedCase{"unknownAndEmptyNames",
                     {{"Count", "3"}, {"Control0", "C2"}, {"Control1", "Renamed"}, {"Control2", "##"}},
                     {"C2", "C0", "C1"}, ttoShowTextLabels},
        TDamagedCase{"namesInAnotherCase", {{"Count", "3"}, {"Control0", "##c1"}}, {"##C1", "C0", "C2"},
                     ttoShowTextLabels}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KxToolbarLayoutStore, WithoutAStoreNothingIsWrittenOrChanged) {
  toolbar->SetRegIniFile(nullptr);
  for (bool saving : {true, false}) {
    SCOPED_TRACE(saving);
    EXPECT_EQ(MessageOf<Exception>([&] { saving ? toolbar->SaveLayout() : toolbar->RestoreLayout(); }),
              "No TKxRegIniFile component specified");
  }
  EXPECT_EQ(Section(), Lines{});
  EXPECT_EQ(Order(), (Lines{"C0", "C1", "C2"}));
  // A store freed first is forgotten.
  toolbar->SetRegIniFile(store);
  store->Free();
  EXPECT_EQ(toolbar->GetRegIniFile(), nullptr);
}

TEST_F(KxToolbarLayoutStore, TheRegistryKeepsTheLayoutAndItsDamagedValuesAreLeftAlone) {
  TScratchRegistryKey scratch("Toolbar");
  const std::string& key = scratch.Key();
  store->SetPathType(ptRegistry);
  store->SetPath(key);
  toolbar->SetTextOptions(ttoShowTextLabels);
  toolbar->GetToolbarControls()->Move(0, 2);
  boxes[2]->SetVisible(false);
  toolbar->SaveLayout();

  Owned<TRegistry> reg(New<TRegistry>());
  reg->SetRootKey(HKEY_CURRENT_USER);
  ASSERT_TRUE(reg->OpenKey(key + "\\Bar", false));
  EXPECT_EQ(reg->GetDataType("Count"), rdInteger);
  EXPECT_EQ(reg->ReadInteger("TextOptions"), 1);
  EXPECT_EQ(reg->ReadString("Control1"), "##C2");

  toolbar->GetToolbarControls()->Move(2, 0);
  boxes[2]->SetVisible(true);
  toolbar->SetTextOptions(ttoNoTextLabels);
  toolbar->RestoreLayout();
  EXPECT_EQ(Order(), (Lines{"C1", "##C2", "C0"}));
  EXPECT_EQ(toolbar->GetTextOptions(), ttoShowTextLabels);

  // Numbers written as text are read as numbers; out of range they are not
  // used.
  reg->WriteString("TextOptions", "2");
  toolbar->RestoreLayout();
  EXPECT_EQ(toolbar->GetTextOptions(), ttoSelectiveTextOnRight);
  reg->WriteInteger("TextOptions", 9);
  toolbar->RestoreLayout();
  EXPECT_EQ(toolbar->GetTextOptions(), ttoSelectiveTextOnRight);
  // A value of another kind altogether: a clear error, and nothing changed.
  reg->WriteInteger("TextOptions", 0);
  char bytes[2] = {1, 2};
  reg->WriteBinaryData("Count", bytes, 2);
  toolbar->GetToolbarControls()->Move(0, 2);
  Lines before = Order();
  EXPECT_NE(MessageOf<Exception>([&] { toolbar->RestoreLayout(); }), "(no exception)");
  EXPECT_EQ(Order(), before);
  EXPECT_EQ(toolbar->GetTextOptions(), ttoSelectiveTextOnRight);
  reg->CloseKey();
}

// A save then a restore in the same program gives back the order and the
// visibility saved, whenever the controls got their names: after joining
// the toolbar, renamed after joining, or before it as a stored form has it.
TEST(KxToolbar, ASavedLayoutComesBackWheneverTheControlsWereNamed) {
  struct TCase {
    const char* Name;
    std::function<void(TForm*)> Build;
  };
  auto panel = [](TForm* form, TKxToolbar* bar, const std::string& name) {
    auto* c = New<TPanel>(form);
    c->SetName(name);
    c->SetBounds(0, 0, 40, 20);
    c->SetParent(bar);
    return c;
  };
  auto bar = [](TForm* form) {
    auto* b = New<TKxToolbar>(form);
    b->SetName("Bar1");
    b->SetParent(form);
    b->HandleNeeded();  // controls join as they are aligned, which needs a window
    return b;
  };
  const TCase cases[] = {
      {"namedAfterJoining",
       [&](TForm* form) {
         TKxToolbar* b = bar(form);
         panel(form, b, "A");
         panel(form, b, "B");
         panel(form, b, "")->SetName("Late");
       }},
      {"renamedAfterJoining",
       [&](TForm* form) {
         TKxToolbar* b = bar(form);
         panel(form, b, "A");
         panel(form, b, "B")->SetName("Renamed");
         panel(form, b, "C");
       }},
      {"namedBeforeLoaded",
       [](TForm* form) {
         ReadForm("object Form: TForm\n"
                  "  object Bar1: TKxToolbar\n"
                  "    object A: TPanel\n"
                  "    end\n"
                  "    object B: TPanel\n"
                  "    end\n"
                  "    object C: TPanel\n"
                  "    end\n"
                  "  end\n"
                  "end\n",
                  form);
       }},
  };
  TTempFolder temp("KxToolbar");
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Owned<TForm> form(New<TForm>(nullptr, 0));
    c.Build(form.get());
    auto* toolbar = dynamic_cast<TKxToolbar*>(form->FindComponent("Bar1"));
    ASSERT_NE(toolbar, nullptr);
    TKxToolbarControlList* list = toolbar->GetToolbarControls();
    ASSERT_EQ(list->GetCount(), 3);
    auto order = [&] {
      Lines names;
      for (int i = 0; i < list->GetCount(); ++i)
        names.push_back((list->GetControl(i)->GetVisible() ? "" : "##") + list->GetControl(i)->GetName());
      return names;
    };
    auto* store = New<TKxRegIniFile>(form.get());
    store->SetPath(temp.Path(std::string(c.Name) + ".ini"));
    toolbar->SetRegIniFile(store);
    // The last control first and hidden, the one in the middle last and
    // hidden.
    list->Move(2, 0);
    list->GetControl(0)->SetVisible(false);
    list->GetControl(2)->SetVisible(false);
    Lines saved = order();
    toolbar->SaveLayout();

    list->Move(0, 2);
    list->Move(0, 1);
    for (int i = 0; i < list->GetCount(); ++i) list->GetControl(i)->SetVisible(true);
    ASSERT_NE(order(), saved);
    toolbar->RestoreLayout();
    EXPECT_EQ(order(), saved);
  }
}

// --- stored forms -------------------------------------------------------------------------

TEST(KxToolbar, StoredFormsKeepTheOrderAndWriteBackTheSame) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* bar = New<TKxToolbar>(form.get());
  bar->SetName("Bar1");
  bar->SetParent(form.get());
  // Controls join the list as they are aligned, which needs a window.
  bar->HandleNeeded();
  std::string empty = WriteForm(form.get());
  EXPECT_EQ(empty.find("ToolbarControls"), std::string::npos) << "an empty toolbar\n" << empty;
  EXPECT_EQ(empty.find("CustomizeCaptions"), std::string::npos) << "captions never set\n" << empty;
  EXPECT_EQ(empty.find("UseDockManager"), std::string::npos) << "on, as for every panel\n" << empty;
  for (const char* name : {"Open", "Save", "Print"}) {
    auto* b = New<TKxToolbarButton>(form.get());
    b->SetName(name);
    b->SetParent(bar);
  }
  bar->GetToolbarControls()->Move(2, 0);
  bar->SetTextOptions(ttoShowTextLabels);
  bar->GetCustomizeCaptions()->SetCaption(1, "Arrange");
  // Any set marks the texts as changed, even one past the nine.
  Owned<TKxCustomizeCaptions> other(New<TKxCustomizeCaptions>());
  other->SetCaption(10, "nothing");
  EXPECT_TRUE(other->GetChanged());
  EXPECT_EQ(other->GetCaption(10), "");
  std::string text = WriteForm(form.get());
  std::string flat = StringReplace(text, "\r", "", {rfReplaceAll});
  EXPECT_NE(flat.find("ToolbarControls = (\n      Print\n      Open\n      Save)"), std::string::npos) << flat;
  // Once one caption is set, all nine are stored.
  EXPECT_NE(flat.find("CustomizeCaptions.Title = 'Arrange'"), std::string::npos) << flat;
  EXPECT_NE(flat.find("CustomizeCaptions.Close = 'Close'"), std::string::npos) << flat;

  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* bar2 = dynamic_cast<TKxToolbar*>(copy->FindComponent("Bar1"));
  ASSERT_NE(bar2, nullptr);
  TKxToolbarControlList* list = bar2->GetToolbarControls();
  ASSERT_EQ(list->GetCount(), 3);
  EXPECT_EQ(list->GetControl(0)->GetName(), "Print");
  EXPECT_LT(list->GetControl(0)->GetLeft(), list->GetControl(1)->GetLeft()) << "laid out in the stored order";
  EXPECT_EQ(bar2->GetTextOptions(), ttoShowTextLabels);
  EXPECT_EQ(bar2->GetCustomizeCaptions()->GetCaption(1), "Arrange");
  EXPECT_EQ(bar2->GetCustomizeCaptions()->GetCaption(3), "Close");
  EXPECT_EQ(WriteForm(copy.get()), text);
}

TEST(KxToolbar, AStoredNameWhoseControlMovedElsewhereIsDropped) {
  const std::string text =
      "object Form: TForm\n"
      "  object Bar1: TKxToolbar\n"
      "    ToolbarControls = (\n"
      "      Gone\n"
      "      B\n"
      "      Moved\n"
      "      A)\n"
      "    object A: TPanel\n"
      "    end\n"
      "    object B: TPanel\n"
      "    end\n"
      "    object C: TPanel\n"
      "    end\n"
      "  end\n"
      "  object Moved: TPanel\n"
      "  end\n"
      "end\n";
  Owned<TForm> form(New<TForm>(nullptr, 0));
  ReadForm(text, form.get());
  auto* bar = dynamic_cast<TKxToolbar*>(form->FindComponent("Bar1"));
  ASSERT_NE(bar, nullptr);
  Lines names;
  for (int i = 0; i < bar->GetToolbarControls()->GetCount(); ++i)
    names.push_back(bar->GetToolbarControls()->GetControl(i)->GetName());
  // The listed names first, then the children not listed yet.
  EXPECT_EQ(names, (Lines{"B", "A", "C"}));
}

// --- painting -----------------------------------------------------------------------------

TEST_F(KxToolbarTest, TheBackgroundIsTiledFromTheInteriorAndClippedToIt) {
  TThemesOff off;
  toolbar->SetAutoResize(false);
  toolbar->SetHeight(30);
  Owned<TBitmap> tile = BitmapFromText({"b.........", "..........", "..........", "..........", "..........",
                                        "..........", "..........", "..........", "..........", ".........."},
                                       {{'b', clBlue}, {'.', clRed}});
  toolbar->SetBackground(tile.get());
  TDib dib(400, 30, 0x00FF00);
  PaintControl(toolbar, dib);
  // The divider takes the top two rows (a groove on the top side).
  EXPECT_EQ(dib.Pixel(0, 2), ColorToRGB(clBlue));
  EXPECT_EQ(dib.Pixel(10, 2), ColorToRGB(clBlue));
  EXPECT_EQ(dib.Pixel(390, 22), ColorToRGB(clBlue));
  EXPECT_EQ(dib.Pixel(1, 3), ColorToRGB(clRed));
  EXPECT_NE(dib.Pixel(0, 0), ColorToRGB(clRed)) << "the divider is not painted over";
  EXPECT_EQ(CountColour(dib, ColorToRGB(clBlue), TRect{0, 0, 400, 30}), 40 * 3);
}

TEST_F(KxToolbarTest, ThemedOnlyTheRebarBackgroundIsDrawn) {
  if (!ThemeServices().GetThemesEnabled()) GTEST_SKIP() << "themes are off in this prefix";
  toolbar->SetAutoResize(false);
  toolbar->SetHeight(30);
  TDib themed(400, 30, 0x00FF00);
  PaintControl(toolbar, themed);
  TDib rebar(400, 30, 0x00FF00);
  TRect r{0, 0, 400, 30};
  ThemeServices().DrawElement(rebar.DC(), ThemeServices().GetElementDetails(trRebarRoot), r);
  EXPECT_TRUE(SameImage(themed, rebar, 400, 30)) << "no divider drawn over it";
}

}  // namespace
