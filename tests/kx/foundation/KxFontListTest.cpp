// The font list box: the families of the prefix through the filter, each
// with the glyph of its type, the recently used block, what a new window
// keeps, what a stored form leaves out; the rank list box's refusals; the
// edit list box's editor is tested under real input (KxEditListInputTest).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "kx/foundation/KxLstBox.h"
#include "kx/foundation/KxPreviewFontPanel.h"
#include "tests/common/TestSupport.h"
#include "tests/kx/foundation/KxListTestSupport.h"
#include "tests/kx/foundation/KxTestSupport.h"

using namespace kx_test;
using controls_test::TDib;

namespace {

class KxFontListTest : public ::testing::Test {
 protected:
  template <class T = TKxFontListBox>
  T* MakeList(int width = 200, int height = 160) {
    auto* list = New<T>(host.Control());
    list->SetParent(host.Control());
    list->SetBounds(0, 0, width, height);
    list->HandleNeeded();
    return list;
  }
  THostedContainer host;
};

TEST_F(KxFontListTest, TrueTypeOnlyListsTrueTypeFamiliesWithTheirGlyph) {
  TThemesOff themesOff;
  auto* list = MakeList();
  list->SetColor(clWhite);
  list->SetFontType(ftTrueType);
  list->HandleNeeded();
  ASSERT_GT(list->GetItems()->GetCount(), 0);
  TKxFontGlyphs glyphs;
  glyphs.Load();
  int h = list->GetItemHeight();
  for (int i = 0; i < list->GetItems()->GetCount(); ++i) {
    BYTE pitch = KxFontItemPitch(list->GetItems()->GetObject(i));
    ASSERT_NE(pitch & TMPF_TRUETYPE, 0) << list->GetItems()->Get(i);
    if (i >= 3) continue;
    TKxFontGlyph kind = KxFontGlyphFor(pitch, fdScreen);
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_LISTBOX;
    d.itemID = static_cast<UINT>(i);
    d.itemAction = ODA_DRAWENTIRE;
    d.hwndItem = list->GetHandle();
    TDib dib(200, h, RGB(1, 2, 3));
    d.hDC = dib.DC();
    d.rcItem = RECT{0, 0, 200, h};
    list->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    TBitmap* glyph = glyphs.Glyph(kind);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x) {
        TColor c = glyph->GetCanvas()->GetPixels(x, y);
        COLORREF want = c == clOlive ? RGB(255, 255, 255) : static_cast<COLORREF>(c);
        ASSERT_EQ(dib.Pixel(4 + x, (h - 12) / 2 + y), want) << i << ": " << x << "," << y;
      }
  }
}

// The first item from index on whose name the list holds once (the prefix
// lists some families once per character set).
int UniqueFrom(TKxFontListBox* list, int index) {
  TStrings* items = list->GetItems();
  for (; index < items->GetCount(); ++index) {
    int n = 0;
    for (int i = 0; i < items->GetCount(); ++i) n += items->Get(i) == items->Get(index);
    if (n == 1) return index;
  }
  return -1;
}

// The index of name below the recently used block.
int SortedPlace(TKxFontListBox* list, const std::string& name) {
  for (int i = list->GetMRUCount() + 1; i < list->GetItems()->GetCount(); ++i)
    if (list->GetItems()->Get(i) == name) return i;
  return -1;
}

TEST_F(KxFontListTest, TheRecentlyUsedBlockGrowsOnTopAndSurvivesANewWindow) {
  auto* list = MakeList();
  int first = UniqueFrom(list, 1);
  int second = UniqueFrom(list, first + 1);
  ASSERT_GE(second, 0) << "two fonts the prefix lists once";
  std::string a = list->GetItems()->Get(first), b = list->GetItems()->Get(second);
  list->SetItemIndex(first);
  list->AddFontToMRUList();
  EXPECT_EQ(list->GetMRUCount(), -1) << "only with MaintainMRUFonts";
  list->SetMaintainMRUFonts(true);
  list->AddFontToMRUList();
  EXPECT_EQ(list->GetItems()->Get(0), a);
  EXPECT_EQ(list->GetMRUCount(), 0);
  EXPECT_EQ(list->GetItemIndex(), 0);
  list->SetItemIndex(SortedPlace(list, b));
  list->AddFontToMRUList();
  list->SetItemIndex(SortedPlace(list, a));  // a again, from its sorted place
  list->AddFontToMRUList();
  EXPECT_EQ(list->GetItems()->Get(0), a);
  EXPECT_EQ(list->GetItems()->Get(1), b);
  EXPECT_EQ(list->GetMRUCount(), 1);
  int count = list->GetItems()->GetCount();
  list->GetFont()->SetSize(11);  // a new window
  list->HandleNeeded();
  EXPECT_EQ(list->GetItems()->GetCount(), count);
  EXPECT_EQ(list->GetItems()->Get(0), a);
  EXPECT_EQ(list->GetItems()->Get(1), b);
  EXPECT_EQ(list->GetMRUCount(), 1);
  EXPECT_EQ(list->GetFontName(), a);
  TFont* font = list->GetSelectedFont();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->GetName(), a);
  EXPECT_EQ(font->GetSize(), 8);
}

// A list box that takes no more lines after a few families (LB_ERRSPACE,
// as a full list answers): the list's error comes out of making the window
// instead of a short list that looks like every font the system has, and
// the recently used block stays on top of what was listed.
TEST_F(KxFontListTest, AListThatRefusesAFamilyRaisesAndKeepsItsRecentBlock) {
  auto* list = MakeList();
  list->SetMaintainMRUFonts(true);
  int first = UniqueFrom(list, 1);
  ASSERT_GE(first, 0);
  std::string a = list->GetItems()->Get(first);
  list->SetItemIndex(first);
  list->AddFontToMRUList();
  ASSERT_EQ(list->GetMRUCount(), 0);
  int full = list->GetItems()->GetCount();
  ASSERT_GT(full, 5);
  // Full after three lines of the listing: the new window first gets the
  // old lines back (emptied, then filled), then is emptied for the fonts.
  struct TFullAfter {
    TWndMethod Saved;
    int Emptied = 0;
    int Left = 3;
    void Proc(TMessage& m) {
      if (m.Msg == LB_RESETCONTENT) ++Emptied;
      if (m.Msg == LB_ADDSTRING && Emptied >= 2 && Left-- <= 0) {
        m.Result = LB_ERRSPACE;
        return;
      }
      Saved(m);
    }
  } spy;
  spy.Saved = list->GetWindowProc();
  list->SetWindowProc(TWndMethod(&spy, &TFullAfter::Proc));
  EXPECT_THROW(
      {
        list->RecreateWnd();
        list->HandleNeeded();
      },
      EOutOfResources);
  list->SetWindowProc(spy.Saved);
  EXPECT_EQ(list->GetItems()->GetCount(), 3 + 1);
  EXPECT_EQ(list->GetItems()->Get(0), a);
  EXPECT_EQ(list->GetMRUCount(), 0);
  list->RecreateWnd();
  list->HandleNeeded();
  EXPECT_EQ(list->GetItems()->GetCount(), full);
  EXPECT_EQ(list->GetItems()->Get(0), a);
}

// The list a caller hands to the enumeration: its handler's exception comes
// out once the enumeration is over, with what was listed before it.
TEST_F(KxFontListTest, AnExceptionOfTheListsHandlerLeavesTheEnumeration) {
  Owned<TStringList> all(New<TStringList>());
  KxLoadFonts(all.get(), fdScreen, ftAll, true);
  ASSERT_GT(all->GetCount(), 3);
  struct TThrowAt {
    TStringList* List;
    void Changed(TObject*) {
      if (List->GetCount() == 3) throw EAbort("enough fonts");
    }
  };
  Owned<TStringList> some(New<TStringList>());
  TThrowAt handler{some.get()};
  some->SetOnChange(TNotifyEvent(&handler, &TThrowAt::Changed));
  EXPECT_THROW(KxLoadFonts(some.get(), fdScreen, ftAll, true), EAbort);
  EXPECT_EQ(some->GetCount(), 3);
}

class TFontListRoot : public TPanel {
  DECLARE_CLASS(TFontListRoot, TPanel)
  using TPanel::TPanel;
  TKxFontListBox* Fonts = nullptr;
};
PUBLISHED(TFontListRoot) { p.Field("Fonts", &TFontListRoot::Fonts); }

TEST_F(KxFontListTest, AStoredFormKeepsTheSettingsAndTheChosenFontNotTheList) {
  if (!GetClass("TFontListRoot")) RegisterClass(TFontListRoot::StaticClass());
  Owned<TFontListRoot> root(New<TFontListRoot>(nullptr));
  root->SetName("Root");
  root->SetParent(host.Control());
  auto* list = New<TKxFontListBox>(root.get());
  list->SetName("Fonts");
  list->SetParent(root.get());
  list->HandleNeeded();
  list->SetShowStyle(ssFontNameAndSample);
  std::string chosen = list->GetItems()->Get(2);
  list->SetFontName(chosen);
  Owned<TStringStream> out(New<TStringStream>());
  out->WriteComponent(root.get());
  std::string text = out->GetDataString();
  SCOPED_TRACE(text);
  EXPECT_EQ(text.find("Items"), std::string::npos);
  EXPECT_EQ(text.find("Sorted"), std::string::npos);
  EXPECT_EQ(text.find("\n    Style = "), std::string::npos);
  EXPECT_EQ(text.find("TKxPreviewFontPanel"), std::string::npos) << "the preview is the list's own";
  Owned<TFontListRoot> copy(New<TFontListRoot>(nullptr));
  copy->SetParent(host.Control());
  Owned<TStringStream> in(New<TStringStream>(text));
  in->ReadComponent(copy.get());
  ASSERT_NE(copy->Fonts, nullptr);
  EXPECT_EQ(copy->Fonts->GetShowStyle(), ssFontNameAndSample);
  EXPECT_EQ(copy->Fonts->GetFontName(), chosen);
}

TEST_F(KxFontListTest, TheRankListRefusesToChangeMoveOnDragWhileMoving) {
  auto* list = MakeList<TKxRankListBox>();
  EXPECT_FALSE(list->GetMultiSelect());
  EXPECT_FALSE(list->GetExtendedSelect());
  for (const char* s : {"a", "b", "c"}) list->Add(s);
  list->MouseDown(mbLeft, TShiftState{ssShift, ssLeft}, 5, list->ItemRect(0).top + 2);
  ASSERT_TRUE(list->GetMoving());
  try {
    list->SetMoveOnDrag(false);
    ADD_FAILURE() << "refused while moving";
  } catch (const Exception& e) {
    EXPECT_EQ(e.GetMessage(), "MoveOnDrag property cannot be changed while moving an item");
  }
  list->MouseUp(mbLeft, TShiftState{ssShift}, 5, list->ItemRect(0).top + 2);
  EXPECT_FALSE(list->GetMoving());
  list->SetMoveOnDrag(false);
  EXPECT_FALSE(list->GetMoveOnDrag());
}

}  // namespace
