// The wide list box: wide items with their data in its Unicode window, kept
// across new windows, and the wide data of the virtual styles.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/common/TestSupport.h"
#include "tests/unicode/VoxStdCtrlsTestSupport.h"
#include "tests/unicode/VoxTestSupport.h"
#include "unicode/VoxStdCtrls.h"

using namespace controls_test;

namespace {

class VoxListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    list.reset(New<TVoxListBox>(nullptr));
    list->SetBounds(0, 0, 200, 120);
    list->SetParentWindow(host.Handle());
    for (auto& o : objects) o.reset(New<TObject>());
  }
  // Fills the list with a, b, c, d, each with its object.
  void Fill() {
    const std::wstring texts[] = {L"\u0430", L"\u0431", L"\u0432", L"\u0433"};
    for (int i = 0; i < 4; ++i) list->GetItems()->AddObject(texts[i], objects[i].get());
  }
  std::vector<std::wstring> Texts() {
    std::vector<std::wstring> t;
    for (int i = 0; i < list->GetItems()->GetCount(); ++i) t.push_back(list->GetItems()->Get(i));
    return t;
  }
  std::vector<TObject*> Objects() {
    std::vector<TObject*> o;
    for (int i = 0; i < list->GetItems()->GetCount(); ++i) o.push_back(list->GetItems()->GetObject(i));
    return o;
  }
  // The item's text as a wide caller of the window reads it.
  std::wstring WindowItem(int index) {
    HWND h = list->GetHandle();
    LRESULT length = SendMessageW(h, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return L"(LB_ERR)";
    std::wstring s(static_cast<size_t>(length) + 1, L'\0');
    LRESULT got = SendMessageW(h, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
    if (got == LB_ERR) return L"(LB_ERR)";
    s.resize(static_cast<size_t>(got));
    return s;
  }

  THostWindow host;
  Owned<TVoxListBox> list;
  Owned<TObject> objects[4];
};

TEST_F(VoxListBoxTest, TheItemsAreWideInTheWindow) {
  ASSERT_TRUE(IsWindowUnicode(list->GetHandle()));
  list->GetItems()->Add(kChinese);
  list->GetItems()->Insert(0, L"\u0416");
  EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"\u0416", kChinese}));
  EXPECT_EQ(WindowItem(1), kChinese);
  EXPECT_EQ(list->TCustomListBox::GetItems()->Get(1), "??") << "the class library reads its ANSI form";
  EXPECT_EQ(list->GetItems()->IndexOf(kChinese), 1);
  EXPECT_EQ(list->GetItems()->IndexOf(L"\u4E2D"), -1) << "an exact match only";
  EXPECT_EQ(MessageOf<EStringListError>([&] { list->GetItems()->Get(2); }), "List index out of bounds (2)");
}

TEST_F(VoxListBoxTest, ItemDataGoesWithItsItemThroughPutExchangeAndMove) {
  using Texts_ = std::vector<std::wstring>;
  struct Case {
    const char* what;
    std::function<void(TVoxStrings*)> change;
    int itemIndexBefore;
    Texts_ texts;
    std::vector<int> objects;  // indexes into the fixture's objects
    int itemIndexAfter;
  } cases[] = {
      {"Put keeps the data and the item index", [](TVoxStrings* s) { s->Put(1, kChinese); }, 1,
       {L"\u0430", kChinese, L"\u0432", L"\u0433"}, {0, 1, 2, 3}, 1},
      {"Exchange swaps texts and data; the index follows", [](TVoxStrings* s) { s->Exchange(0, 2); }, 0,
       {L"\u0432", L"\u0431", L"\u0430", L"\u0433"}, {2, 1, 0, 3}, 2},
      {"Move forwards", [](TVoxStrings* s) { s->Move(0, 3); }, -1,
       {L"\u0431", L"\u0432", L"\u0433", L"\u0430"}, {1, 2, 3, 0}, -1},
      {"Move backwards", [](TVoxStrings* s) { s->Move(3, 1); }, -1,
       {L"\u0430", L"\u0433", L"\u0431", L"\u0432"}, {0, 3, 1, 2}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    list->GetItems()->Clear();
    Fill();
    list->SetItemIndex(c.itemIndexBefore);
    c.change(list->GetItems());
    EXPECT_EQ(Texts(), c.texts);
    std::vector<TObject*> want;
    for (int i : c.objects) want.push_back(objects[i].get());
    EXPECT_EQ(Objects(), want);
    EXPECT_EQ(list->GetItemIndex(), c.itemIndexAfter);
  }
}

TEST_F(VoxListBoxTest, AMoveToABadIndexLosesNothing) {
  Fill();
  EXPECT_EQ(MessageOf<EStringListError>([&] { list->GetItems()->Move(1, 4); }), "List index out of bounds (4)");
  EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"\u0430", L"\u0431", L"\u0432", L"\u0433"}));
  EXPECT_EQ(Objects()[1], objects[1].get());
}

TEST_F(VoxListBoxTest, ANewWindowKeepsWideItemsDataItemIndexAndTopIndex) {
  list->SetHeight(40);  // room for two items: the top index can move
  Fill();
  list->GetItems()->Put(2, kChinese);
  list->SetItemIndex(2);
  list->SetTopIndex(1);
  HWND first = list->GetHandle();
  list->SetBorderStyle(bsNone);  // a new window
  ASSERT_NE(list->GetHandle(), first);
  EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"\u0430", L"\u0431", kChinese, L"\u0433"}));
  EXPECT_EQ(Objects()[2], objects[2].get());
  EXPECT_EQ(list->GetItemIndex(), 2);
  EXPECT_EQ(list->GetTopIndex(), 1);
}

TEST_F(VoxListBoxTest, VirtualListBoxesAnswerFromTheirWideDataOrTheAnsiData) {
  struct TData {
    void Wide(TWinControl*, int index, std::wstring& data) { data = index == 1 ? kChinese : L"\u0416"; }
    void Ansi(TWinControl*, int, std::string& data) { data = "\xE9t\xE9"; }
  } source;
  for (TListBoxStyle style : {lbVirtual, lbVirtualOwnerDraw}) {
    SCOPED_TRACE(style == lbVirtual ? "lbVirtual" : "lbVirtualOwnerDraw");
    list.reset(New<TVoxListBox>(nullptr));
    list->SetParentWindow(host.Handle());
    list->SetStyle(style);
    list->SetCount(3);
    EXPECT_EQ(WindowItem(1), L"(LB_ERR)") << "no data yet";
    list->TCustomListBox::OnData = TLBGetDataEvent(&source, &TData::Ansi);
    EXPECT_EQ(list->GetItems()->Get(1), L"\u00E9t\u00E9") << "the class library's data, widened";
    list->OnData = TLBGetWideDataEvent(&source, &TData::Wide);
    EXPECT_EQ(list->GetItems()->Get(1), kChinese) << "the wide data first";
    EXPECT_EQ(WindowItem(0), L"\u0416");
    EXPECT_EQ(WindowItem(3), L"(LB_ERR)") << "beyond the count";
    EXPECT_EQ(list->TCustomListBox::GetItems()->Get(1), "??") << "ANSI code reads the wide data's ANSI form";
  }
}

TEST_F(VoxListBoxTest, CopySelectionHandsOnWideItemsWithTheirObjects) {
  Fill();
  list->GetItems()->Put(1, kChinese);
  Owned<TVoxListBox> wide(New<TVoxListBox>(nullptr));
  wide->SetParentWindow(host.Handle());
  Owned<TListBox> ansi(New<TListBox>(nullptr));
  ansi->SetParentWindow(host.Handle());

  list->SetItemIndex(1);
  list->CopySelection(wide.get());
  list->CopySelection(ansi.get());
  ASSERT_EQ(wide->GetItems()->GetCount(), 1);
  EXPECT_EQ(wide->GetItems()->Get(0), kChinese);
  EXPECT_EQ(wide->GetItems()->GetObject(0), objects[1].get());
  EXPECT_EQ(ansi->GetItems()->Get(0), "??");

  list->SetMultiSelect(true);
  list->SetSelected(0, true);
  list->SetSelected(3, true);
  wide->GetItems()->Clear();
  list->CopySelection(wide.get());
  EXPECT_EQ(wide->GetItems()->GetCount(), 2);
  EXPECT_EQ(wide->GetItems()->Get(1), L"\u0433");
  EXPECT_EQ(wide->GetItems()->GetObject(1), objects[3].get());
}

TEST_F(VoxListBoxTest, AnOwnerDrawnItemIsDrawnWide) {
  list->SetStyle(lbOwnerDrawFixed);
  const std::wstring text = L"\u0416\u0416\u0416\u0416";
  list->GetItems()->Add(text);
  TItemInk ink = DrawItemInk(list->GetCanvas(), list->GetFont(), text,
                             [&] { list->DrawItem(0, Rect(0, 0, 200, 20), TOwnerDrawState{}); });
  ASSERT_GE(ink.First, 2) << "inset 2 pixels";
  EXPECT_LE(ink.Last, 2 + ink.Width + 2) << "a glyph may reach a pixel or two past its advance";
  EXPECT_GE(ink.Last, 2 + ink.Width - ink.Width / 4) << "all four characters";
}

TEST_F(VoxListBoxTest, TheStoredFormKeepsTheWideItems) {
  Owned<TForm> form, copy;
  auto* l = OnForm<TVoxListBox>(form, "List1");
  l->GetItems()->Add(kChinese);
  l->GetItems()->Add(L"\u0416");
  TVoxListBox* read = StoredCopy(l, copy);
  ASSERT_NE(read, nullptr) << WriteForm(form.get());
  EXPECT_EQ(read->GetItems()->GetText(), L"\u4E2D\u6587\r\n\u0416\r\n");
}

}  // namespace
