// The framed list box and the tabbed list box: groups, colours by state,
// items across window re-creation, the horizontal extent, deleting, the
// retired stored-form names, tab stops, cells and header controls.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "kx/foundation/KxLstBox.h"
#include "tests/common/TestSupport.h"
#include "tests/kx/foundation/KxListTestSupport.h"

using namespace kx_test;
using controls_test::TDib;

namespace {

class KxListBoxTest : public ::testing::Test {
 protected:
  template <class T = TKxListBox>
  T* MakeList(int width = 150, int height = 120) {
    auto* list = New<T>(host.Control());
    list->SetParent(host.Control());
    list->SetBounds(0, 0, width, height);
    return list;
  }
  static std::vector<std::string> Items(TStrings* s) { return LinesOf(s); }

  THostedContainer host;
};

// --- groups -------------------------------------------------------------------

TEST_F(KxListBoxTest, GroupsByPrefix) {
  struct TCase {
    const char* Prefix;
    std::vector<std::string> Items;
  };
  const TCase cases[] = {
      {"//", {"//Fruit", "Apple", "Pear", "//Veg", "Leek", "//Empty"}},
      {"##", {"##Fruit", "Apple", "Pear", "##Veg", "Leek", "##Empty"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Prefix);
    TKxListBox* list = MakeList();
    list->SetGroupPrefix(c.Prefix);
    for (const std::string& s : c.Items) list->Add(s);
    EXPECT_TRUE(list->GetItemIsGroup(0));
    EXPECT_FALSE(list->GetItemIsGroup(1));
    EXPECT_FALSE(list->GetItemIsGroup(99));
    EXPECT_EQ(list->ItemIndexOfGroup(0), 0);
    EXPECT_EQ(list->ItemIndexOfGroup(1), 3);
    EXPECT_EQ(list->ItemIndexOfGroup(3), -1);
    EXPECT_EQ(list->ItemsInGroup(0), 2);
    EXPECT_EQ(list->ItemsInGroup(2), 0);
    EXPECT_EQ(list->ItemCaption(3), "Veg");
    EXPECT_EQ(list->ItemCaption(1), "Apple");
    EXPECT_EQ(list->ItemGroupIndex(4), 3);
    EXPECT_TRUE(list->ItemInsideGroup(2));
    EXPECT_EQ(list->InsertItemIntoGroup(1, 1, "Kale"), 5);
    EXPECT_EQ(list->InsertItemIntoGroup(1, 3, "Bad"), -1);  // the group holds two now
    EXPECT_EQ(list->InsertItemIntoGroup(7, 0, "Bad"), -1);
    EXPECT_EQ(list->AddItemToGroup(0, "Plum"), 3);
    EXPECT_EQ(list->AddItemToGroup(2, "None"), 8);
    EXPECT_EQ(list->AddItemToGroup(3, "None"), -1);
    list->SetItemIndex(1);
    list->ItemToGroup(1);
    EXPECT_EQ(list->GetItems()->Get(1), std::string(c.Prefix) + "Apple");
    EXPECT_EQ(list->GetItemIndex(), 1);  // kept selected
    list->GroupToItem(1);
    EXPECT_EQ(list->GetItems()->Get(1), "Apple");
    int added = list->AddGroup("More");
    EXPECT_EQ(added, list->GetItems()->GetCount() - 1);
    EXPECT_TRUE(list->GetItemIsGroup(added));
    list->Free();
  }
  // Without a prefix of its own, an item that begins with "//" is no header.
  TKxListBox* list = MakeList();
  list->SetGroupPrefix("##");
  list->Add("//Fruit");
  EXPECT_FALSE(list->GetItemIsGroup(0));
  EXPECT_EQ(list->ItemIndexOfGroup(0), -1);
}

TEST_F(KxListBoxTest, HeaderIsDrawnInTheGroupFontOverTheGroupColour) {
  TKxListBox* list = MakeList(160, 100);
  list->SetUseGradients(false);
  list->SetShowGroups(true);
  list->SetGroupColor(clYellow);
  list->GetGroupFont()->SetColor(clRed);
  list->Add("//Header");
  list->Add("Item");
  ASSERT_EQ(list->GetStyle(), lbOwnerDrawFixed);
  // The item height is what the font needs.
  EXPECT_EQ(list->GetItemHeight(), GetMinFontHeight(list->GetFont()));
  TDib dib(160, 100, RGB(1, 2, 3));
  PrintClient(list, dib);
  TRect header = list->ItemRect(0);
  TRect item = list->ItemRect(1);
  // The header's row: yellow ground, red text (the group font's colour).
  EXPECT_GT(CountColour(dib, header, Rgb(clYellow)), (header.right - header.left) * 3);
  EXPECT_GT(CountColour(dib, header, Rgb(clRed)), 5);
  // The plain item: window ground, no group colours.
  EXPECT_EQ(CountColour(dib, item, Rgb(clYellow)), 0);
  EXPECT_EQ(CountColour(dib, item, Rgb(clRed)), 0);
  EXPECT_GT(CountColour(dib, item, Rgb(clWindowText)), 5);

  // Without ShowGroups the header is a plain item.
  list->SetShowGroups(false);
  TDib plain(160, 100, RGB(1, 2, 3));
  PrintClient(list, plain);
  EXPECT_EQ(CountColour(plain, header, Rgb(clYellow)), 0);
}

TEST_F(KxListBoxTest, GradientHeaderRunsFromColorToGroupColor) {
  TKxListBox* list = MakeList(160, 100);
  list->SetShowGroups(true);
  list->SetColor(clWhite);
  list->SetGroupColor(clBlue);
  list->Add("//H");
  TDib dib(160, 100, RGB(1, 2, 3));
  PrintClient(list, dib);
  TRect header = list->ItemRect(0);
  int y = header.bottom - 1;  // below the text
  COLORREF left = dib.Pixel(1, y);
  COLORREF right = dib.Pixel(header.right - 2, y);
  EXPECT_GT(GetRValue(left), 200);   // near white at the leading edge
  EXPECT_LT(GetRValue(right), 40);   // near blue at the far end
  EXPECT_GT(GetBValue(right), 200);
}

// --- colours -----------------------------------------------------------------------

TEST_F(KxListBoxTest, ColoursFollowEnabledState) {
  TKxListBox* list = MakeList();
  list->SetDisabledColor(clSilver);
  list->SetColor(clAqua);
  EXPECT_EQ(list->GetFocusColor(), clAqua);  // it followed the normal colour
  list->SetEnabled(false);
  EXPECT_EQ(list->GetColor(), clSilver);
  EXPECT_EQ(list->GetNormalColor(), clAqua);
  list->SetEnabled(true);
  EXPECT_EQ(list->GetColor(), clAqua);
  list->SetFocusColor(clYellow);
  list->SetColor(clLime);
  EXPECT_EQ(list->GetFocusColor(), clYellow);  // set apart: it stays
}

// --- window re-creation --------------------------------------------------------------

TEST_F(KxListBoxTest, ItemsObjectsTopIndexAndSelectionSurviveRecreation) {
  TKxListBox* list = MakeList(150, 60);
  TObject marker;
  for (int i = 0; i < 30; ++i) list->AddObject("Item " + std::to_string(i), i == 12 ? &marker : nullptr);
  list->SetTopIndex(10);
  list->SetItemIndex(12);
  HWND before = list->GetHandle();
  list->SetFrameVisible(true);  // a new window
  EXPECT_NE(list->GetHandle(), before);
  EXPECT_EQ(list->GetItems()->GetCount(), 30);
  EXPECT_EQ(list->GetItems()->Get(29), "Item 29");
  EXPECT_EQ(list->GetItems()->GetObject(12), &marker);
  EXPECT_EQ(list->GetTopIndex(), 10);
  EXPECT_EQ(list->GetItemIndex(), 12);
  EXPECT_TRUE(list->GetCtl3D());
}

// --- deleting and selection --------------------------------------------------------------

TEST_F(KxListBoxTest, DeleteKeepsTheSelectionInPlace) {
  TKxListBox* list = MakeList();
  for (const char* s : {"a", "b", "c"}) list->Add(s);
  int clicks = 0;
  struct TCounter {
    int* n;
    void Click(TObject*) { ++*n; }
  } counter{&clicks};
  list->OnClick = TNotifyEvent(&counter, &TCounter::Click);
  list->SetItemIndex(1);
  list->Delete(1);
  EXPECT_EQ(list->GetItemIndex(), 1);  // now "c"
  EXPECT_EQ(list->SelectedItem(), "c");
  list->Delete(1);  // the last one went: one less
  EXPECT_EQ(list->GetItemIndex(), 0);
  EXPECT_EQ(clicks, 2);
  list->Delete(0);
  EXPECT_EQ(list->SelectedItem(), "");
  EXPECT_TRUE(list->FindItem("zzz") == false);
}

TEST_F(KxListBoxTest, DeleteSelectedItemsTellsOnce) {
  TKxListBox* list = MakeList();
  list->SetMultiSelect(true);
  for (const char* s : {"a", "b", "c", "d"}) list->Add(s);
  list->SelectAll();
  list->SetSelected(1, false);
  int told = 0;
  struct TCounter {
    int* n;
    void Tell(TObject*) { ++*n; }
  } counter{&told};
  list->OnDeleteItems = TNotifyEvent(&counter, &TCounter::Tell);
  list->DeleteSelectedItems();
  EXPECT_EQ(Items(list->GetItems()), (std::vector<std::string>{"b"}));
  EXPECT_EQ(told, 1);
}

// --- horizontal extent ----------------------------------------------------------------------

TEST_F(KxListBoxTest, HorizontalExtentFollowsTheWidestItem) {
  TKxListBox* list = MakeList(80, 80);
  list->SetHorzScrollBar(true);
  list->Add("short");
  int shortExtent = list->GetHorzExtent();
  list->Add("a much longer item than the list is wide");
  int longExtent = list->GetHorzExtent();
  EXPECT_GT(shortExtent, 0);
  EXPECT_GT(longExtent, list->GetClientWidth());
  EXPECT_EQ(SendMessageA(list->GetHandle(), LB_GETHORIZONTALEXTENT, 0, 0), longExtent);
  // The window shows its bar now that the item is wider than it.
  EXPECT_NE(GetWindowLongPtrA(list->GetHandle(), GWL_STYLE) & WS_HSCROLL, 0);
  list->GetItems()->Delete(1);
  EXPECT_EQ(list->GetHorzExtent(), shortExtent);
  list->Clear();
  EXPECT_EQ(list->GetHorzExtent(), 0);
  // Without the bar the window has no horizontal scroll bar, whatever its
  // items.
  list->Add("a much longer item than the list is wide");
  list->SetHorzScrollBar(false);
  EXPECT_EQ(GetWindowLongPtrA(list->GetHandle(), GWL_STYLE) & WS_HSCROLL, 0);
}

// Wine passes a list item's text between an ANSI caller and the system's
// wide list procedure through a buffer of 512 characters: past it the text
// came back empty or the process faulted. The framed lists read their items
// to draw them and to fit the extent and the automatic stops.
TEST_F(KxListBoxTest, ItemsOfAnyLengthReadBackWholeAndDraw) {
  auto* framed = MakeList(150, 80);
  framed->SetHorzScrollBar(true);
  auto* tabbed = MakeList<TKxTabbedListBox>(150, 80);
  tabbed->SetTabStopsMode(tsmAutomatic);
  const struct {
    const char* Name;
    TKxCustomListBox* List;
  } cases[] = {{"framed list box", framed}, {"tabbed list box", tabbed}};
  for (int n : kLongTextLengths) {
    SCOPED_TRACE(n);
    const std::string text = LongText(static_cast<size_t>(n));
    for (const auto& c : cases) {
      SCOPED_TRACE(c.Name);
      TStrings* items = c.List->GetItems();
      items->Clear();
      items->Add("before");
      items->Add(text);
      items->Add("after");
      ASSERT_EQ(items->GetCount(), 3);
      const std::string got = items->Get(1);
      EXPECT_EQ(got.size(), text.size());
      EXPECT_TRUE(got == text) << "the text differs";
      c.List->SetItemIndex(1);
      const RECT client = c.List->GetClientRect();
      TDib dib(client.right, client.bottom, RGB(1, 2, 3));
      SendMessageA(c.List->GetHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.DC()), PRF_CLIENT);
      EXPECT_NE(dib.Pixel(client.right / 2, c.List->GetItemHeight() + c.List->GetItemHeight() / 2), RGB(1, 2, 3))
          << "the item is not drawn";
    }
  }
}

// --- stored forms ---------------------------------------------------------------------------

class TKxListRoot : public TPanel {
  DECLARE_CLASS(TKxListRoot, TPanel)
  using TPanel::TPanel;
  TKxListBox* List1 = nullptr;
};
PUBLISHED(TKxListRoot) { p.Field("List1", &TKxListRoot::List1); }

std::string Written(TComponent* root) {
  Owned<TStringStream> out(New<TStringStream>());
  out->WriteComponent(root);
  return out->GetDataString();
}

// The lines of the object "List1" in a written form ("" when it is not there).
std::string ListPart(const std::string& written) {
  size_t at = written.find("object List1");
  if (at == std::string::npos) return "";
  return written.substr(at, written.find("\n  end", at) - at);
}

TEST_F(KxListBoxTest, RetiredFrameNamesAreReadAndNotWritten) {
  if (!GetClass("TKxListRoot")) RegisterClass(TKxListRoot::StaticClass());
  const char* text =
      "object Root: TKxListRoot\n"
      "  object List1: TKxListBox\n"
      "    FrameFlat = True\n"
      "    FrameFlatStyle = fsButtonUp\n"
      "    Items.Strings = (\n"
      "      'one'\n"
      "      'two')\n"
      "  end\n"
      "end\n";
  Owned<TKxListRoot> root(New<TKxListRoot>(nullptr));
  root->SetParent(host.Control());
  Owned<TStringStream> in(New<TStringStream>(std::string(text)));
  in->ReadComponent(root.get());
  ASSERT_NE(root->List1, nullptr);
  EXPECT_TRUE(root->List1->GetFrameHotTrack());
  EXPECT_TRUE(root->List1->GetFrameVisible());
  EXPECT_EQ(root->List1->GetFrameStyle(), fsStatus);
  EXPECT_EQ(root->List1->GetFrameHotStyle(), fsLowered);
  EXPECT_EQ(Items(root->List1->GetItems()), (std::vector<std::string>{"one", "two"}));

  const char* focusStyle =
      "object Root: TKxListRoot\n"
      "  object List1: TKxListBox\n"
      "    FrameFocusStyle = fsRaised\n"
      "  end\n"
      "end\n";
  Owned<TKxListRoot> second(New<TKxListRoot>(nullptr));
  second->SetParent(host.Control());
  Owned<TStringStream> in2(New<TStringStream>(std::string(focusStyle)));
  in2->ReadComponent(second.get());
  EXPECT_EQ(second->List1->GetFrameHotStyle(), fsRaised);

  Owned<TStringStream> out(New<TStringStream>());
  out->WriteComponent(root.get());
  std::string written = out->GetDataString();
  EXPECT_EQ(written.find("FrameFlat"), std::string::npos) << written;
  EXPECT_NE(written.find("FrameHotTrack = True"), std::string::npos) << written;
  EXPECT_EQ(written.find("GroupPrefix"), std::string::npos) << written;  // the default "//"
}

class TTabbedRoot : public TPanel {
  DECLARE_CLASS(TTabbedRoot, TPanel)
  using TPanel::TPanel;
  TKxTabbedListBox* Tabbed1 = nullptr;
};
PUBLISHED(TTabbedRoot) { p.Field("Tabbed1", &TTabbedRoot::Tabbed1); }

TEST_F(KxListBoxTest, TabStopsAreStoredOnlyWhenThereAreSome) {
  if (!GetClass("TTabbedRoot")) RegisterClass(TTabbedRoot::StaticClass());
  auto write = [](TComponent* root) {
    Owned<TStringStream> out(New<TStringStream>());
    out->WriteComponent(root);
    return out->GetDataString();
  };
  Owned<TTabbedRoot> root(New<TTabbedRoot>(nullptr));
  root->SetName("Root");
  root->SetParent(host.Control());
  auto* tabbed = New<TKxTabbedListBox>(root.get());
  tabbed->SetName("Tabbed1");
  tabbed->SetParent(root.get());
  EXPECT_EQ(write(root.get()).find("TabStops"), std::string::npos);
  tabbed->GetTabStops()->Add(10);
  tabbed->GetTabStops()->Add(-25);
  std::string text = write(root.get());
  SCOPED_TRACE(text);
  Owned<TTabbedRoot> copy(New<TTabbedRoot>(nullptr));
  copy->SetParent(host.Control());
  Owned<TStringStream> in(New<TStringStream>(text));
  in->ReadComponent(copy.get());
  ASSERT_NE(copy->Tabbed1, nullptr);
  EXPECT_EQ(copy->Tabbed1->GetTabArray(), (std::vector<int>{40, -100}));
}

TEST_F(KxListBoxTest, AFrameControllerSetsTheFrameAndKeepsItOutOfTheForm) {
  if (!GetClass("TKxListRoot")) RegisterClass(TKxListRoot::StaticClass());
  Owned<TKxListRoot> root(New<TKxListRoot>(nullptr));
  root->SetName("Root");
  root->SetParent(host.Control());
  auto* list = New<TKxListBox>(root.get());
  list->SetName("List1");
  list->SetParent(root.get());
  list->SetFrameColor(clGreen);
  list->SetColor(clAqua);
  auto* controller = New<TKxFrameController>(root.get());
  controller->SetName("Frames");
  controller->SetFrameColor(clMaroon);
  controller->SetFrameStyle(fsFlatBold);
  list->SetFrameController(controller);
  // Every setting arrives by its published name.
  EXPECT_EQ(list->GetFrameColor(), clMaroon);
  EXPECT_EQ(list->GetFrameStyle(), fsFlatBold);
  EXPECT_EQ(list->GetColor(), clWindow);
  controller->SetFrameHotColor(clOlive);
  EXPECT_EQ(list->GetFrameHotColor(), clOlive);

  std::string listPart = ListPart(Written(root.get()));
  EXPECT_NE(listPart.find("FrameController = Frames"), std::string::npos) << listPart;
  EXPECT_EQ(listPart.find("FrameColor"), std::string::npos) << listPart;
  EXPECT_EQ(listPart.find(" Color = "), std::string::npos) << listPart;
  // Freed, the controller leaves the list, which stores its colours again.
  controller->Free();
  EXPECT_EQ(list->GetFrameController(), nullptr);
  EXPECT_TRUE(list->IsFrameStored());
}

// The list box stores its colours and frame by rules of its own, apart from
// the framed combo boxes' and edits': Color stays in while disabled and goes
// while the parent's colour is followed, FocusColor is compared as written
// (a system colour is not its value), and under a frame controller only the
// frame's colours and the colours are left out.
TEST_F(KxListBoxTest, TheStoredFormKeepsTheListBoxsOwnRulesAndReadsBackTheSame) {
  if (!GetClass("TKxListRoot")) RegisterClass(TKxListRoot::StaticClass());
  struct TCase {
    const char* name;
    std::function<void(TKxListBox*, TKxFrameController*)> setUp;
    std::vector<std::string> written, left;
    // What the controller "Frames" holds, in the root written and in the
    // one read back (the form names it; it is not written in it).
    std::function<void(TKxFrameController*)> frames = [](TKxFrameController*) {};
  };
  const TCase cases[] = {
      {"following the parent's colour",
       [](TKxListBox* list, TKxFrameController*) { list->SetParentColor(true); },
       {"ParentColor = True"},
       {" Color = ", "FocusColor"}},
      {"disabled",
       [](TKxListBox* list, TKxFrameController*) {
         list->SetColor(clAqua);
         list->SetDisabledColor(clSilver);
         list->SetEnabled(false);
       },
       {"  Color = clAqua", "DisabledColor = clSilver", "Enabled = False"},
       {"FocusColor"}},
      {"a focus colour of the same value, named otherwise",
       [](TKxListBox* list, TKxFrameController*) {
         list->SetFocusColor(static_cast<TColor>(ColorToRGB(clWindow)));
       },
       {"FocusColor = "},
       {" Color = "}},
      {"under a frame controller",
       [](TKxListBox* list, TKxFrameController* frames) { list->SetFrameController(frames); },
       {"FrameController = Frames", "DisabledColor = clSilver", "FrameStyle = fsGroove",
        "FrameHotStyle = fsRaised", "FrameSides = [sdLeft, sdTop]", "FrameVisible = True"},
       {"FrameColor", "FrameHotColor", " Color = "},
       [](TKxFrameController* frames) {
         frames->SetFrameColor(clRed);
         frames->SetFrameHotColor(clBlue);
         frames->SetColor(clAqua);
         frames->SetDisabledColor(clSilver);
         frames->SetFrameStyle(fsGroove);
         frames->SetFrameHotStyle(fsRaised);
         frames->SetFrameSides({sdLeft, sdTop});
         frames->SetFrameVisible(true);
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<TKxListRoot> root(New<TKxListRoot>(nullptr));
    root->SetName("Root");
    root->SetParent(host.Control());
    auto* frames = New<TKxFrameController>(root.get());
    frames->SetName("Frames");
    c.frames(frames);
    auto* list = New<TKxListBox>(root.get());
    list->SetName("List1");
    list->SetParent(root.get());
    c.setUp(list, frames);
    std::string written = Written(root.get());
    std::string listPart = ListPart(written);
    for (const std::string& line : c.written)
      EXPECT_NE(listPart.find(line), std::string::npos) << line << "\n" << listPart;
    for (const std::string& line : c.left)
      EXPECT_EQ(listPart.find(line), std::string::npos) << line << "\n" << listPart;

    Owned<TKxListRoot> back(New<TKxListRoot>(nullptr));
    back->SetParent(host.Control());
    auto* backFrames = New<TKxFrameController>(back.get());
    backFrames->SetName("Frames");
    c.frames(backFrames);
    Owned<TStringStream> in(New<TStringStream>(written));
    in->ReadComponent(back.get());
    ASSERT_NE(back->List1, nullptr);
    EXPECT_EQ(Written(back.get()), written);
  }
}

// --- tabbed list box ------------------------------------------------------------------------

TEST_F(KxListBoxTest, AutomaticStopsFitTheWidestTextOfEachColumn) {
  auto* list = MakeList<TKxTabbedListBox>(200, 100);
  list->Add("ab\tx");
  list->Add("abcdefgh\ty\tz");
  list->Add("a\tlonger middle\tq");
  list->SetTabStopsMode(tsmAutomatic);
  int du = list->GetDialogUnits();
  EXPECT_EQ(du, GetAvgCharWidth(list->GetFont()));
  int w0 = list->GetCanvas()->TextWidth("abcdefgh");
  // Measured on the screen in the list's font.
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, list->GetFont()->GetHandle());
  SIZE s0{}, s1{};
  GetTextExtentPoint32A(dc, "abcdefgh", 8, &s0);
  GetTextExtentPoint32A(dc, "longer middle", 13, &s1);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  (void)w0;
  ASSERT_EQ(list->GetTabStops()->GetCount(), 2);
  int first = s0.cx / du + 4;
  EXPECT_EQ(list->GetTabStops()->GetItem(0), first);
  EXPECT_EQ(list->GetTabStops()->GetItem(1), first + s1.cx / du + 4);
  // The window gets them four times over (dialog template units).
  EXPECT_EQ(list->GetTabArray(), (std::vector<int>{first * 4, (first + s1.cx / du + 4) * 4}));

  // A bigger font: new dialog units, new stops.
  list->GetFont()->SetSize(20);
  EXPECT_GT(list->GetDialogUnits(), du);
  EXPECT_GT(list->GetTabStops()->GetItem(0) * list->GetDialogUnits(), first * du);
}

// Every item widens the first column, so the stops move with each one: the
// extent is the one measured through the stops as they are after the item.
TEST_F(KxListBoxTest, TheExtentOfATabbedListIsMeasuredThroughItsCurrentStops) {
  auto* list = MakeList<TKxTabbedListBox>(120, 100);
  list->SetHorzScrollBar(true);
  list->SetTabStopsMode(tsmAutomatic);
  for (const char* item : {"a\tx", "abcdefghijkl\ty", "abcdefghijklmnopqrstuvwx\tz"}) {
    list->Add(item);
    int extent = list->GetHorzExtent();
    list->AdjustHorzExtent();
    EXPECT_EQ(list->GetHorzExtent(), extent) << item;
  }
  int fitted = list->GetHorzExtent();
  list->SetTabStopsMode(tsmManual);
  list->GetTabStops()->SetItem(0, list->GetTabStops()->GetItem(0) + 40);
  EXPECT_EQ(list->GetHorzExtent(), fitted + 40 * list->GetDialogUnits()) << "stops set by hand";
}

TEST_F(KxListBoxTest, TabStopsReachTheWindowAtMostAThousand) {
  auto* list = MakeList<TKxTabbedListBox>();
  for (int i = 1; i <= 1005; ++i) list->GetTabStops()->Add(i * 2);
  EXPECT_EQ(list->GetTabArray().size(), 1000u);
  EXPECT_EQ(list->GetTabArray().back(), 2000 * 4);
  EXPECT_EQ(list->TabStopPixels().size(), 1000u);
  EXPECT_EQ(list->TabStopPixels()[0], 2 * list->GetDialogUnits());
}

TEST_F(KxListBoxTest, CellsAreReadAndWrittenBetweenTabs) {
  auto* list = MakeList<TKxTabbedListBox>();
  list->Add("name\tsize\tdate");
  list->Add("plain");
  struct TCase {
    int Column, Row;
    const char* Text;
  };
  for (TCase c : {TCase{0, 0, "name"}, TCase{1, 0, "size"}, TCase{2, 0, "date"}, TCase{0, 1, "plain"}}) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(list->GetCellText(c.Column, c.Row), c.Text);
  }
  EXPECT_EQ(MessageOf<ERangeError>([&] { list->GetCellText(1, 1); }), "Column parameter out of range");
  EXPECT_EQ(MessageOf<ERangeError>([&] { list->GetCellText(-1, 0); }), "Column parameter out of range");
  EXPECT_EQ(MessageOf<ERangeError>([&] { list->GetCellText(0, 2); }), "Row parameter out of range");
  EXPECT_EQ(MessageOf<ERangeError>([&] { list->SetCellText(3, 0, "x"); }), "Column parameter out of range");
  EXPECT_EQ(MessageOf<ERangeError>([&] { list->SetCellText(0, -1, "x"); }), "Row parameter out of range");
  list->SetCellText(1, 0, "12 KB");
  list->SetCellText(2, 0, "");
  list->SetCellText(0, 1, "other");
  EXPECT_EQ(list->GetItems()->Get(0), "name\t12 KB\t");
  EXPECT_EQ(list->GetItems()->Get(1), "other");
}

TEST_F(KxListBoxTest, StopsComeFromHeaderSections) {
  auto* list = MakeList<TKxTabbedListBox>(300, 100);
  int du = list->GetDialogUnits();
  list->GetTabStops()->Add(1);
  list->GetTabStops()->Add(-1);  // a right-aligned column
  list->GetTabStops()->Add(1);

  auto* header = New<THeaderControl>(host.Control());
  header->SetParent(host.Control());
  for (int w : {60, 90, 40}) header->GetSections()->Add()->SetWidth(w);
  list->UpdateFromHeader(header);
  EXPECT_EQ(list->GetTabStops()->GetItem(0), 60 / du + 1);
  EXPECT_EQ(list->GetTabStops()->GetItem(1), 1 - (40 + 150) / du);
  EXPECT_EQ(list->GetTabStops()->GetItem(2), 190 / du + 1);

  // The older header: its sections' widths; the last section counts only as
  // the neighbour of a right-aligned column.
  auto* old = New<THeader>(host.Control());
  old->SetParent(host.Control());
  old->SetBounds(0, 0, 300, 20);
  old->GetSections()->SetText("A\r\nB\r\nC\r\n");
  old->SetSectionWidth(0, 50);
  old->SetSectionWidth(1, 70);
  list->UpdateFromHeader(old);
  EXPECT_EQ(list->GetTabStops()->GetItem(0), 50 / du + 1);
  EXPECT_EQ(list->GetTabStops()->GetItem(1), 1 - (old->GetSectionWidth(2) + 120) / du);

  auto* other = New<TPanel>(host.Control());
  EXPECT_EQ(MessageOf<EHeaderError>([&] { list->UpdateFromHeader(other); }),
            "Only THeader and THeaderControl components can be passed to "
            "TKxCustomTabbedListBox.UpdateFromHeader");
}

TEST_F(KxListBoxTest, AFontWithoutAverageWidthStillDivides) {
  auto* list = MakeList<TKxTabbedListBox>();
  list->Add("a\tb");
  list->GetFont()->SetName("Tahoma");
  list->GetFont()->SetHeight(-1);
  // The smallest real font: an average width of a pixel at most (no font
  // under Wine measures 0, the case the guard is for).
  ASSERT_LE(GetAvgCharWidth(list->GetFont()), 1);
  EXPECT_EQ(list->GetDialogUnits(), 1);
  list->SetTabStopsMode(tsmAutomatic);
  EXPECT_EQ(list->GetTabStops()->GetCount(), 1);
  auto* header = New<THeaderControl>(host.Control());
  header->SetParent(host.Control());
  header->GetSections()->Add()->SetWidth(30);
  list->UpdateFromHeader(header);
  EXPECT_EQ(list->GetTabStops()->GetItem(0), 30 / list->GetDialogUnits() + 1);
}

}  // namespace
