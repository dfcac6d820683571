// The check list: its item strings over the window (line format in and out,
// states beside their items), states across window re-creation, the stored
// form the menu keeps, glyphs, groups and the enabling rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "kx/foundation/KxChkLst.h"
#include "tests/common/TestSupport.h"
#include "kx/foundation/KxThemeSrv.h"
#include "tests/kx/foundation/KxListTestSupport.h"
#include "tests/kx/foundation/KxTestSupport.h"

using namespace kx_test;
using controls_test::TDib;

namespace {

// Each item as "text:state" plus "d" for a disabled one.
std::vector<std::string> Described(TKxCheckList* list) {
  std::vector<std::string> out;
  for (int i = 0; i < list->GetItems()->GetCount(); ++i)
    out.push_back(list->GetItems()->Get(i) + ":" + std::to_string(list->GetItemState(i)) +
                  (list->GetItemEnabled(i) ? "" : "d"));
  return out;
}

class KxCheckListTest : public ::testing::Test {
 protected:
  TKxCheckList* MakeList(int width = 150, int height = 120) {
    auto* list = New<TKxCheckList>(host.Control());
    list->SetParent(host.Control());
    list->SetBounds(0, 0, width, height);
    return list;
  }
  static void Load(TKxCheckList* list, const std::string& bytes) {
    Owned<TStringStream> s(New<TStringStream>(bytes));
    list->LoadFromStream(s.get());
  }
  static std::string Save(TKxCheckList* list) {
    Owned<TStringStream> s(New<TStringStream>());
    list->SaveToStream(s.get());
    return s->GetDataString();
  }

  THostedContainer host;
};

TEST_F(KxCheckListTest, LoadsTheLineFormat) {
  TKxCheckList* list = MakeList();
  Load(list, "&1 2 Deutsch\r\n&0 1 English \r\nItaliano\r\n\r\n&1 9 Klingon\nLast");
  EXPECT_EQ(Described(list), (std::vector<std::string>{"Deutsch:2", "English :1d", "Italiano:0", ":0",
                                                       "Klingon:0", "Last:0"}));
}

TEST_F(KxCheckListTest, SavesExactBytesAndReadsThemBack) {
  TKxCheckList* list = MakeList();
  EXPECT_EQ(Save(list), "");  // an empty list writes nothing
  list->AddEx("Manual", true, true);
  list->AddEx("Driver", false, false);
  list->GetItems()->Add("Reader");
  list->SetItemState(2, cbGrayed);
  std::string bytes = Save(list);
  EXPECT_EQ(bytes, "&1 1 Manual \r\n&0 0 Driver \r\n&1 2 Reader \r\n");

  TKxCheckList* copy = MakeList();
  Load(copy, bytes);
  // The writer's blank comes back as part of the text, as stored files
  // always had it.
  EXPECT_EQ(Described(copy), (std::vector<std::string>{"Manual :1", "Driver :0d", "Reader :2"}));
  EXPECT_EQ(Save(copy), "&1 1 Manual  \r\n&0 0 Driver  \r\n&1 2 Reader  \r\n");
}

TEST_F(KxCheckListTest, ALineThatCannotBeReadStopsTheLoadWithTheItemsReadBeforeIt) {
  const struct {
    const char* Name;
    std::string Bytes;
    const char* Message;
    std::vector<std::string> Items;
  } cases[] = {
      {"the first line", "&1 x Broken\r\n&1 1 Fine\r\n", "'x' is not a valid integer value", {}},
      {"a middle line", "&1 1 Fine\r\nPlain\r\n&0 ? Broken\r\n&1 2 After\r\n", "'?' is not a valid integer value",
       {"Fine:1", "Plain:0"}},
      {"the last line, without an end", "&0 2 Fine\r\n&1 x", "'x' is not a valid integer value", {"Fine:2d"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    for (bool sorted : {false, true}) {
      SCOPED_TRACE(sorted ? "sorted" : "in file order");
      TKxCheckList* list = MakeList();
      list->SetSorted(sorted);
      list->SetTabStopsMode(tsmAutomatic);
      list->AddEx("Old", true, false);
      EXPECT_EQ(MessageOf<EConvertError>([&] { Load(list, c.Bytes); }), c.Message);
      // The old items went; the ones before the bad line stay with their
      // states, and the list is drawn again.
      EXPECT_EQ(Described(list), c.Items);
      EXPECT_FALSE(list->GetChangingItems());
    }
  }
}

// Wine passes a list item's text between an ANSI caller and the system's
// wide list procedure through a buffer of 512 characters: past it a loaded
// list with automatic stops faulted while it fitted them, and a saved item
// lost its text ("&0 2  ") or faulted.
TEST_F(KxCheckListTest, ItemsOfAnyLengthLoadReadSaveAndComeBackWhole) {
  for (int n : kLongTextLengths) {
    SCOPED_TRACE(n);
    const std::string text = LongText(static_cast<size_t>(n));
    TKxCheckList* list = MakeList();
    list->SetTabStopsMode(tsmAutomatic);
    list->SetHorzScrollBar(true);
    Load(list, "&0 2 before\r\n&1 1 " + text + "\r\nafter\r\n");
    ASSERT_EQ(list->GetItems()->GetCount(), 3);
    const std::string got = list->GetItems()->Get(1);
    EXPECT_EQ(got.size(), text.size());
    EXPECT_TRUE(got == text) << "the text read back differs";
    EXPECT_EQ(list->GetItemState(1), cbChecked);
    const std::string saved = Save(list);
    const std::string expected = "&0 2 before \r\n&1 1 " + text + " \r\n&1 0 after \r\n";
    EXPECT_EQ(saved.size(), expected.size());
    EXPECT_TRUE(saved == expected) << "the saved lines differ";
    // Round trip: the writer's blank joins the text, as for every item.
    TKxCheckList* copy = MakeList();
    copy->SetTabStopsMode(tsmAutomatic);
    Load(copy, saved);
    ASSERT_EQ(copy->GetItems()->GetCount(), 3);
    EXPECT_TRUE(copy->GetItems()->Get(1) == text + " ") << "the text after a round trip differs";
    EXPECT_EQ(copy->GetItemState(1), cbChecked);
    EXPECT_FALSE(copy->GetItemEnabled(0));
  }
}

TEST_F(KxCheckListTest, ALoadedListFitsItsItemsAsOneAddedItemByItem) {
  // A load hands its items to the window in one go; the list must come out
  // as the same items added one by one leave it: states beside their texts
  // (a sorted list too), the horizontal extent and the automatic tab stops
  // fitted to every item, and items drawn afterwards.
  const std::string bytes = "&1 2 zeta\tshort\r\n&0 1 A much longer first column\tx\r\n&1 1 mid\tA longer second one\r\n";
  for (bool sorted : {false, true}) {
    SCOPED_TRACE(sorted ? "sorted" : "in file order");
    TKxCheckList* lists[2] = {MakeList(), MakeList()};
    for (TKxCheckList* list : lists) {
      list->SetSorted(sorted);
      list->SetHorzScrollBar(true);
      list->SetTabStopsMode(tsmAutomatic);
    }
    Load(lists[0], bytes);
    lists[1]->AddEx("zeta\tshort", true, true);
    lists[1]->GetItems()->Add("A much longer first column\tx");
    lists[1]->AddEx("mid\tA longer second one", true, true);
    int added = lists[1]->GetItems()->IndexOf("A much longer first column\tx");
    lists[1]->SetItemEnabled(added, false);
    lists[1]->SetItemState(added, cbChecked);
    lists[1]->SetItemState(lists[1]->GetItems()->IndexOf("zeta\tshort"), cbGrayed);
    EXPECT_EQ(Described(lists[0]), Described(lists[1]));
    EXPECT_EQ(Described(lists[0]).front(), sorted ? "A much longer first column\tx:1d" : "zeta\tshort:2");
    // Item by item, each extent is measured with the stops before that
    // item's; measured again, with the final stops, it is the loaded one.
    lists[1]->AdjustHorzExtent();
    EXPECT_GT(lists[0]->GetHorzExtent(), 200);
    EXPECT_EQ(lists[0]->GetHorzExtent(), lists[1]->GetHorzExtent());
    EXPECT_EQ(SendMessageA(lists[0]->GetHandle(), LB_GETHORIZONTALEXTENT, 0, 0), lists[0]->GetHorzExtent());
    ASSERT_GT(lists[0]->GetTabStops()->GetCount(), 0);
    ASSERT_EQ(lists[0]->GetTabStops()->GetCount(), lists[1]->GetTabStops()->GetCount());
    for (int i = 0; i < lists[0]->GetTabStops()->GetCount(); ++i)
      EXPECT_EQ(lists[0]->GetTabStops()->GetItem(i), lists[1]->GetTabStops()->GetItem(i)) << "stop " << i;
    EXPECT_FALSE(lists[0]->GetChangingItems()) << "items are drawn again after the load";
  }
}

TEST_F(KxCheckListTest, StatesTravelWithTheirItems) {
  TKxCheckList* list = MakeList();
  Load(list, "&1 1 a\r\n&1 0 b\r\n&0 2 c\r\n");
  list->GetItems()->Exchange(0, 2);
  EXPECT_EQ(Described(list), (std::vector<std::string>{"c:2d", "b:0", "a:1"}));
  list->GetItems()->Move(0, 2);
  EXPECT_EQ(Described(list), (std::vector<std::string>{"b:0", "a:1", "c:2d"}));
  list->GetItems()->Put(1, "A");
  EXPECT_EQ(Described(list), (std::vector<std::string>{"b:0", "A:1", "c:2d"}));
  list->GetItems()->Insert(0, "new");
  list->GetItems()->Delete(1);
  EXPECT_EQ(Described(list), (std::vector<std::string>{"new:0", "A:1", "c:2d"}));
  EXPECT_EQ(MessageOf<EListError>([&] { list->GetItemState(3); }), "List index out of bounds (3)");
  EXPECT_EQ(MessageOf<EStringListError>([&] { list->GetItems()->Get(3); }), "List index out of bounds (3)");
  // A copy into another check list and into a holding list keeps them.
  TKxCheckList* other = MakeList();
  other->GetItems()->Assign(list->GetItems());
  EXPECT_EQ(Described(other), Described(list));
  Owned<TPacketStringList> held = MakeOwned<TPacketStringList>();
  held->Assign(list->GetItems());
  EXPECT_EQ(held->GetPacket(2).State, cbGrayed);
  EXPECT_FALSE(held->GetPacket(2).Enabled);
}

TEST_F(KxCheckListTest, StatesEnabledFlagsObjectsAndSelectionSurviveRecreation) {
  TKxCheckList* list = MakeList(150, 60);
  TObject marker;
  for (int i = 0; i < 20; ++i) list->AddEx("L" + std::to_string(i), i % 3 == 0, i % 4 != 0);
  list->GetItems()->PutObject(7, &marker);
  list->SetItemState(5, cbGrayed);
  list->SetTopIndex(6);
  list->SetItemIndex(8);
  std::vector<std::string> before = Described(list);
  HWND old = list->GetHandle();
  list->SetFrameVisible(true);
  ASSERT_NE(list->GetHandle(), old);
  EXPECT_EQ(Described(list), before);
  EXPECT_EQ(list->GetItems()->GetObject(7), &marker);
  EXPECT_EQ(list->GetTopIndex(), 6);
  EXPECT_EQ(list->GetItemIndex(), 8);
  // A new font height makes a new window too.
  list->GetFont()->SetSize(18);
  EXPECT_EQ(Described(list), before);
}

TEST_F(KxCheckListTest, GroupsAndCounts) {
  TKxCheckList* list = MakeList();
  Load(list, "//One\r\na\r\nb\r\n//Two\r\nc\r\n");
  list->CheckGroup(0);
  EXPECT_EQ(Described(list), (std::vector<std::string>{"//One:0", "a:1", "b:1", "//Two:0", "c:0"}));
  list->SetGroupState(1, cbGrayed);
  list->DisableGroup(0);
  EXPECT_EQ(Described(list), (std::vector<std::string>{"//One:0", "a:1d", "b:1d", "//Two:0", "c:2"}));
  list->SetItemChecked(0, true);  // a header may be set by the program
  EXPECT_EQ(list->ItemsChecked(), 2);  // but never counts
  list->UncheckGroup(0);
  list->EnableGroup(0);
  list->CheckAll();
  EXPECT_EQ(list->ItemsChecked(), 3);
  list->UncheckAll();
  EXPECT_EQ(list->ItemsChecked(), 0);
}

TEST_F(KxCheckListTest, EnablingTheControlEnablesEveryItem) {
  TKxCheckList* list = MakeList();
  list->AddEx("a", false, false);
  list->AddEx("b", false, true);
  list->SetEnabled(false);
  EXPECT_EQ(Described(list), (std::vector<std::string>{"a:0d", "b:0d"}));
  list->SetEnabled(true);
  EXPECT_EQ(Described(list), (std::vector<std::string>{"a:0", "b:0"}));
}

TEST_F(KxCheckListTest, CustomStripGivesGlyphsAndTheDisabledCells) {
  TKxCheckList* list = MakeList(150, 80);
  // Six 13 x 13 cells, each in its own colour: unchecked, checked, grayed,
  // then the same disabled.
  const TColor cells[6] = {clRed, clLime, clBlue, clYellow, clFuchsia, clAqua};
  Owned<TBitmap> strip = MakeOwned<TBitmap>();
  strip->SetPixelFormat(pf24bit);
  strip->SetSize(78, 13);
  for (int k = 0; k < 6; ++k) {
    strip->GetCanvas()->GetBrush()->SetColor(cells[k]);
    strip->GetCanvas()->FillRect(TRect{k * 13, 0, k * 13 + 13, 13});
  }
  list->SetCustomGlyphs(strip.get());
  EXPECT_TRUE(list->GetUseCustomGlyphs());
  EXPECT_EQ(list->GetGlyphWidth(), 13);
  EXPECT_EQ(list->GetGlyphHeight(), 13);
  EXPECT_EQ(list->OwnerDrawItemIndent(), 21);
  list->AddEx("on", true, true);
  list->AddEx("off", true, false);
  list->AddEx("grey", false, true);
  list->SetItemState(2, cbGrayed);
  TDib dib(150, 80, RGB(1, 2, 3));
  PrintClient(list, dib);
  struct TProbe {
    int Item;
    TColor Colour;
  };
  for (TProbe p : {TProbe{0, clLime}, TProbe{1, clFuchsia}, TProbe{2, clBlue}}) {
    SCOPED_TRACE(p.Item);
    TRect r = list->ItemRect(p.Item);
    int y = r.top + (list->GetItemHeight() - 13) / 2 + 6;
    EXPECT_EQ(dib.Pixel(r.left + 4 + 6, y), Rgb(p.Colour));  // the glyph's middle
    EXPECT_EQ(dib.Pixel(r.left + 1, y), Rgb(list->GetColor()));  // left of it
  }
  // The disabled item's text is drawn in the shadow colour.
  TRect r1 = list->ItemRect(1);
  TRect text{r1.left + 21, r1.top, r1.right, r1.bottom};
  EXPECT_GT(CountColour(dib, text, Rgb(clBtnShadow)), 5);
  EXPECT_EQ(CountColour(dib, text, Rgb(clWindowText)), 0);

  // Emptied, the strip gives the built-in size back.
  Owned<TBitmap> empty = MakeOwned<TBitmap>();
  list->SetCustomGlyphs(empty.get());
  EXPECT_FALSE(list->GetUseCustomGlyphs());
  EXPECT_EQ(list->GetGlyphWidth(), 13);
}

TEST_F(KxCheckListTest, BuiltInBoxesTakeTheControlsColoursWithoutThemes) {
  TThemesOff off;
  TKxCheckList* list = MakeList(150, 80);
  list->SetFrameColor(clMaroon);
  list->SetDisabledColor(clSilver);
  list->SetHighlightColor(clNavy);
  list->AddEx("on", true, true);
  list->AddEx("off", true, false);
  list->GetItems()->Add("grey");
  list->SetItemState(2, cbGrayed);
  TDib dib(150, 80, RGB(1, 2, 3));
  PrintClient(list, dib);
  struct TProbe {
    int Item, X, Y;
    TColor Colour;
  };
  // Inside the 13 x 13 box: (0, 0) the frame, (2, 2) the face, (6, 6) on
  // the mark; (2, 3) is a face pixel of the grayed box's dither.
  const TProbe probes[] = {
      {0, 0, 0, clMaroon}, {0, 2, 2, clWindow},  {0, 6, 6, clNavy},
      {1, 0, 0, clMaroon}, {1, 2, 2, clSilver},  {1, 6, 6, clBtnShadow},
      {2, 0, 0, clMaroon}, {2, 2, 3, clWindow},  {2, 6, 6, clNavy},
  };
  for (const TProbe& p : probes) {
    SCOPED_TRACE(testing::Message() << p.Item << ": " << p.X << "," << p.Y);
    TRect r = list->ItemRect(p.Item);
    int top = r.top + (list->GetItemHeight() - 13) / 2;
    EXPECT_EQ(dib.Pixel(r.left + 4 + p.X, top + p.Y), Rgb(p.Colour));
  }
}

TEST_F(KxCheckListTest, ThemedBoxesComeFromTheVisualStyle) {
  ASSERT_TRUE(ThemeServices().GetThemesEnabled()) << "the test prefix runs with a visual style";
  TKxCheckList* list = MakeList(150, 80);
  list->SetFrameColor(clMaroon);
  list->AddEx("on", true, true);
  TDib dib(150, 80, RGB(1, 2, 3));
  PrintClient(list, dib);
  TRect r = list->ItemRect(0);
  int top = r.top + (list->GetItemHeight() - 13) / 2;
  // Not the built-in box: no frame in the control's frame colour.
  EXPECT_EQ(CountColour(dib, TRect{r.left + 4, top, r.left + 17, top + 13}, Rgb(clMaroon)), 0);
  EXPECT_EQ(CountColour(dib, TRect{r.left + 4, top, r.left + 17, top + 13}, RGB(1, 2, 3)), 0);
}

TEST_F(KxCheckListTest, CheckColourStepsOffTheGlyphsKeyColours) {
  TKxCheckList* list = MakeList();
  EXPECT_EQ(list->CheckColor(clOlive), static_cast<TColor>(0x008081));
  EXPECT_EQ(list->CheckColor(static_cast<TColor>(0x808080)), static_cast<TColor>(0x808081));
  EXPECT_EQ(list->CheckColor(clRed), clRed);
}

// --- the menu's stored form ---------------------------------------------------------------

class TCheckListRoot : public TPanel {
  DECLARE_CLASS(TCheckListRoot, TPanel)
  using TPanel::TPanel;
  TKxCheckList* KxCheckListL = nullptr;
};
PUBLISHED(TCheckListRoot) { p.Field("KxCheckListL", &TCheckListRoot::KxCheckListL); }

TEST_F(KxCheckListTest, TheMenusStoredFormReadsAndWritesBack) {
  if (!GetClass("TCheckListRoot")) RegisterClass(TCheckListRoot::StaticClass());
  const std::string text =
      "object Root: TCheckListRoot\n"
      "  object KxCheckListL: TKxCheckList\n"
      "    Left = 0\n"
      "    Top = 0\n"
      "    Width = 120\n"
      "    Height = 100\n"
      "    Items.Strings = (\n"
      "      '//Language')\n"
      "    Items.ItemEnabled = (\n"
      "      True)\n"
      "    Items.ItemState = (\n"
      "      0)\n"
      "    UseCustomGlyphs = True\n"
      "  end\n"
      "end\n";
  Owned<TCheckListRoot> root(New<TCheckListRoot>(nullptr));
  root->SetParent(host.Control());
  Owned<TStringStream> in(New<TStringStream>(text));
  in->ReadComponent(root.get());
  TKxCheckList* list = root->KxCheckListL;
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Described(list), (std::vector<std::string>{"//Language:0"}));
  EXPECT_TRUE(list->GetItemIsGroup(0));
  // UseCustomGlyphs without a strip: no box, an indent of 8 pixels.
  EXPECT_EQ(list->GetGlyphWidth(), 0);
  EXPECT_EQ(list->GetGlyphHeight(), 0);
  EXPECT_EQ(list->OwnerDrawItemIndent(), 8);

  Owned<TStringStream> out(New<TStringStream>());
  out->WriteComponent(root.get());
  std::string written = out->GetDataString();
  written.erase(std::remove(written.begin(), written.end(), '\r'), written.end());
  SCOPED_TRACE(written);
  EXPECT_NE(written.find("Items.ItemEnabled = (\n      True)"), std::string::npos);
  EXPECT_NE(written.find("Items.ItemState = (\n      0)"), std::string::npos);

  // Out-of-range stored states read as unchecked; an empty list stores
  // neither list.
  std::string bad = text;
  bad.replace(bad.find("      0)"), 8, "      7)");
  Owned<TCheckListRoot> second(New<TCheckListRoot>(nullptr));
  second->SetParent(host.Control());
  Owned<TStringStream> in2(New<TStringStream>(bad));
  in2->ReadComponent(second.get());
  EXPECT_EQ(second->KxCheckListL->GetItemState(0), cbUnchecked);
  second->KxCheckListL->Clear();
  Owned<TStringStream> out2(New<TStringStream>());
  out2->WriteComponent(second.get());
  EXPECT_EQ(out2->GetDataString().find("ItemEnabled"), std::string::npos);
  EXPECT_EQ(out2->GetDataString().find("ItemState"), std::string::npos);
}

}  // namespace
