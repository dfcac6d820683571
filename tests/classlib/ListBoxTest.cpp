// The list box keeps its items in the LISTBOX window: re-creation, owner
// drawing, hit testing, notifications and the strings object's errors.
#include "ControlTestSupport.h"

#include <map>
#include <set>

#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"

using namespace controls_test;

namespace {

TObject* Data(intptr_t v) { return reinterpret_cast<TObject*>(v); }

class ListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    parent = New<TPanel>(nullptr);
    parent->SetBounds(0, 0, 300, 250);
    parent->SetParentWindow(host.Handle());
    list = New<TListBox>(parent);
    list->SetBounds(10, 10, 150, 200);
    list->SetParent(parent);
  }
  void TearDown() override { parent->Free(); }

  void Fill(std::initializer_list<const char*> texts) {
    intptr_t n = 1;
    for (const char* t : texts) list->GetItems()->AddObject(t, Data(0x1000 * n++));
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> v;
    for (int i = 0; i < list->GetItems()->GetCount(); ++i) v.push_back(list->GetItems()->Get(i));
    return v;
  }

  THostWindow host;
  TPanel* parent = nullptr;
  TListBox* list = nullptr;
};

TEST_F(ListBoxTest, ItemsLiveInTheWindow) {
  Fill({"one", "two"});
  HWND h = list->GetWindowHandle();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(SendMessageA(h, LB_GETCOUNT, 0, 0), 2);
  SendMessageA(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("three"));
  EXPECT_EQ(list->GetItems()->GetCount(), 3);
  EXPECT_EQ(list->GetItems()->Get(2), "three");
  EXPECT_EQ(list->GetItems()->GetObject(1), Data(0x2000));
}

TEST_F(ListBoxTest, ReCreatedWindowKeepsItemsDataAndSelection) {
  struct Case {
    const char* name;
    std::function<void(TListBox*)> change;
    std::vector<std::string> expected;  // texts after the change
  };
  const Case cases[] = {
      {"Style", [](TListBox* l) { l->SetStyle(lbOwnerDrawFixed); }, {"pear", "apple", "fig", "kiwi"}},
      {"IntegralHeight", [](TListBox* l) { l->SetIntegralHeight(true); }, {"pear", "apple", "fig", "kiwi"}},
      {"BorderStyle", [](TListBox* l) { l->SetBorderStyle(bsNone); }, {"pear", "apple", "fig", "kiwi"}},
      {"RecreateWnd", [](TListBox* l) { l->RecreateWnd(); }, {"pear", "apple", "fig", "kiwi"}},
      // A sorted window puts the texts in order; each keeps its own data.
      {"Sorted", [](TListBox* l) { l->SetSorted(true); }, {"apple", "fig", "kiwi", "pear"}},
  };
  const std::map<std::string, TObject*> dataOf = {
      {"pear", Data(0x1000)}, {"apple", Data(0x2000)}, {"fig", Data(0x3000)}, {"kiwi", Data(0x4000)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    list->Free();
    list = New<TListBox>(parent);
    list->SetBounds(10, 10, 150, 200);
    list->SetParent(parent);
    Fill({"pear", "apple", "fig", "kiwi"});
    list->SetItemIndex(2);  // "fig"
    HWND before = list->GetHandle();
    c.change(list);
    EXPECT_NE(list->GetHandle(), before);
    EXPECT_EQ(Texts(), c.expected);
    for (int i = 0; i < list->GetItems()->GetCount(); ++i)
      EXPECT_EQ(list->GetItems()->GetObject(i), dataOf.at(list->GetItems()->Get(i)));
    EXPECT_EQ(list->GetItemIndex(), 2);
  }
}

TEST_F(ListBoxTest, DestroyedHandleKeepsItemsUntilTheNextWindow) {
  Fill({"a", "b", "c"});
  list->SetItemIndex(1);
  list->DestroyHandle();
  EXPECT_FALSE(list->HandleAllocated());
  EXPECT_EQ(Texts(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(list->GetItems()->GetObject(2), Data(0x3000));
  EXPECT_EQ(list->GetItemIndex(), 1);
}

// Records what reaches OnDrawItem.
struct TDrawRecorder : TObject {
  struct Call {
    int index;
    TRect rect;
    TOwnerDrawState state;
    TColor brush;
  };
  std::vector<Call> calls;
  TListBox* list = nullptr;
  void Draw(TWinControl*, int index, TRect rect, TOwnerDrawState state) {
    calls.push_back({index, rect, state, list->GetCanvas()->GetBrush()->GetColor()});
  }
  void Measure(TWinControl*, int index, int& height) { height = 10 + 5 * index; }
};

TEST_F(ListBoxTest, DrawItemRequestReachesOnDrawItemWithItemAndRect) {
  list->SetStyle(lbOwnerDrawFixed);
  Fill({"zero", "one", "two"});
  TDrawRecorder rec;
  rec.list = list;
  list->OnDrawItem = TDrawItemEvent(&rec, &TDrawRecorder::Draw);
  TDib dib(100, 100, RGB(1, 2, 3));
  DRAWITEMSTRUCT d{};
  d.CtlType = ODT_LISTBOX;
  d.CtlID = static_cast<UINT>(GetWindowLongPtrA(list->GetHandle(), GWLP_ID));
  d.itemID = 1;
  d.itemAction = ODA_DRAWENTIRE;
  d.itemState = ODS_SELECTED | ODS_FOCUS;
  d.hwndItem = list->GetHandle();
  d.hDC = dib.DC();
  d.rcItem = RECT{0, 16, 100, 32};
  SendMessageA(parent->GetHandle(), WM_DRAWITEM, d.CtlID, reinterpret_cast<LPARAM>(&d));
  ASSERT_EQ(rec.calls.size(), 1u);
  EXPECT_EQ(rec.calls[0].index, 1);
  EXPECT_TRUE(EqualRect(&rec.calls[0].rect, &d.rcItem));
  EXPECT_TRUE(rec.calls[0].state.Contains(odSelected));
  EXPECT_TRUE(rec.calls[0].state.Contains(odFocused));
  EXPECT_FALSE(rec.calls[0].state.Contains(odDisabled));
  EXPECT_EQ(rec.calls[0].brush, clHighlight);
}

TEST_F(ListBoxTest, DefaultDrawingFillsTheItemInTheSelectionColour) {
  list->SetStyle(lbOwnerDrawFixed);
  Fill({"zero", "one"});
  struct Case {
    UINT state;
    COLORREF fill;
  };
  const Case cases[] = {{ODS_SELECTED, GetSysColor(COLOR_HIGHLIGHT)}, {0, GetSysColor(COLOR_WINDOW)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    TDib dib(100, 40, RGB(1, 2, 3));
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_LISTBOX;
    d.itemID = 0;
    d.itemState = c.state;
    d.hwndItem = list->GetHandle();
    d.hDC = dib.DC();
    d.rcItem = RECT{0, 10, 100, 26};
    SendMessageA(parent->GetHandle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    EXPECT_EQ(dib.Pixel(0, 10), c.fill);     // the text starts 2 pixels in
    EXPECT_EQ(dib.Pixel(99, 25), c.fill);
    EXPECT_EQ(dib.Pixel(50, 5), RGB(1, 2, 3));  // outside the item: untouched
  }
}

TEST_F(ListBoxTest, PaintingAnOwnerDrawnListDrawsEachVisibleItem) {
  list->SetStyle(lbOwnerDrawFixed);
  list->SetItemHeight(20);
  Fill({"zero", "one", "two"});
  TDrawRecorder rec;
  rec.list = list;
  list->OnDrawItem = TDrawItemEvent(&rec, &TDrawRecorder::Draw);
  host.Show();
  parent->Show();
  RedrawWindow(list->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  std::set<int> drawn;
  for (const auto& call : rec.calls) {
    drawn.insert(call.index);
    EXPECT_EQ(call.rect.bottom - call.rect.top, 20);
    EXPECT_EQ(call.rect.top, 20 * call.index);
  }
  EXPECT_EQ(drawn, (std::set<int>{0, 1, 2}));
}

TEST_F(ListBoxTest, VariableItemsTakeTheHeightOnMeasureItemGives) {
  TDrawRecorder rec;
  list->OnMeasureItem = TMeasureItemEvent(&rec, &TDrawRecorder::Measure);
  list->SetStyle(lbOwnerDrawVariable);
  Fill({"a", "b", "c"});
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    TRect r = list->ItemRect(i);
    EXPECT_EQ(r.bottom - r.top, 10 + 5 * i);
  }
}

TEST_F(ListBoxTest, ItemAtPosAndItemRect) {
  Fill({"a", "b", "c"});
  int h = list->GetItemHeight();
  ASSERT_GT(h, 0);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    TRect r = list->ItemRect(i);
    EXPECT_EQ(r.top, i * h);
    EXPECT_EQ(r.bottom - r.top, h);
    EXPECT_EQ(list->ItemAtPos(TPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, true), i);
  }
  TRect after = list->ItemRect(3);  // the place below the last item
  EXPECT_EQ(after.top, 3 * h);
  EXPECT_EQ(after.bottom, 4 * h);
  TRect none = list->ItemRect(7);
  EXPECT_TRUE(IsRectEmpty(&none));
  struct Case {
    TPoint p;
    bool existing;
    int expected;
  };
  const Case cases[] = {
      {{5, 3 * h + 2}, true, -1},  // below the last item
      {{5, 3 * h + 2}, false, 3},  // ... counts as the next item
      {{-5, 2}, true, -1},         // outside the client area
      {{-5, 2}, false, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.p.y);
    EXPECT_EQ(list->ItemAtPos(c.p, c.existing), c.expected);
  }
}

struct TClickCounter : TObject {
  int clicks = 0;
  int doubleClicks = 0;
  void Click(TObject*) { ++clicks; }
  void DblClick(TObject*) { ++doubleClicks; }
};

TEST_F(ListBoxTest, SelectionChangeClicksAndDoubleClickReachesOnDblClick) {
  Fill({"a", "b"});
  TClickCounter counter;
  list->OnClick = TNotifyEvent(&counter, &TClickCounter::Click);
  list->OnDblClick = TNotifyEvent(&counter, &TClickCounter::DblClick);
  HWND h = list->GetHandle();
  WPARAM id = static_cast<WPARAM>(GetWindowLongPtrA(h, GWLP_ID)) & 0xFFFF;
  SendMessageA(parent->GetHandle(), WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(h));
  SendMessageA(parent->GetHandle(), WM_COMMAND, MAKEWPARAM(id, LBN_DBLCLK), reinterpret_cast<LPARAM>(h));
  EXPECT_EQ(counter.clicks, 1);
  EXPECT_EQ(counter.doubleClicks, 1);
  // Setting ItemIndex in code is no click.
  list->SetItemIndex(1);
  EXPECT_EQ(counter.clicks, 1);
}

TEST_F(ListBoxTest, MultiSelectSelectedAndSelCount) {
  list->SetMultiSelect(true);
  Fill({"a", "b", "c", "d"});
  list->SetSelected(1, true);
  list->SetSelected(3, true);
  EXPECT_EQ(list->GetSelCount(), 2);
  EXPECT_TRUE(list->GetSelected(1));
  EXPECT_FALSE(list->GetSelected(2));
  EXPECT_THROW(list->GetSelected(9), EListError);
  list->DeleteSelected();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"a", "c"}));
}

TEST_F(ListBoxTest, BadIndexesRaiseAndLoseNothing) {
  Fill({"a", "b", "c"});
  TStrings* items = list->GetItems();
  EXPECT_THROW(items->Get(3), EStringListError);
  EXPECT_THROW(items->GetObject(-1), EStringListError);
  EXPECT_THROW(items->Delete(5), EStringListError);
  EXPECT_THROW(items->Move(0, 3), EStringListError);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"a", "b", "c"}));
  items->Move(0, 2);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"b", "c", "a"}));
  EXPECT_EQ(items->GetObject(2), Data(0x1000));
  items->Exchange(0, 1);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_EQ(items->GetObject(0), Data(0x3000));
  items->Put(1, "B");
  EXPECT_EQ(items->Get(1), "B");
  EXPECT_EQ(items->GetObject(1), Data(0x2000));
}

}  // namespace
