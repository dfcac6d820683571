// The image combo box: items drawn as image and caption indented by level,
// the item height from the real font and the images, captions found without
// regard to case, items kept across window re-creation and freed when
// removed for good.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ImgList.h"
#include "tests/kx/controls/KxComboTestSupport.h"

using namespace kxc_test;

namespace {

class KxImageComboTest : public ::testing::Test {
 protected:
  KxImageComboTest() {
    images = New<TImageList>(nullptr);
    images->SetWidth(16);
    images->SetHeight(16);
    Owned<TBitmap> red = SolidGlyph(16, 16, clRed, clRed);
    images->Add(red.get(), nullptr);
  }
  ~KxImageComboTest() override {
    host.Panel()->Free();
    images->Free();
  }
  TKxImageComboBox* MakeCombo() {
    auto* combo = host.Add<TKxImageComboBox>(10, 10, 200, 24);
    combo->HandleNeeded();
    return combo;
  }
  // The item drawn as the system asks for it (reflected WM_DRAWITEM) into
  // a DIB: the list's item or the edit part's.
  static void DrawItem(TKxImageComboBox* combo, int index, const TDib& dib, UINT itemState) {
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_COMBOBOX;
    d.itemID = static_cast<UINT>(index);
    d.itemAction = ODA_DRAWENTIRE;
    d.itemState = itemState;
    d.hwndItem = combo->GetHandle();
    d.hDC = dib.DC();
    d.rcItem = RECT{0, 0, 200, 20};
    d.itemData = static_cast<ULONG_PTR>(combo->Perform(CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    combo->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
  }
  static std::vector<std::string> Captions(TKxImageComboBox* combo) {
    std::vector<std::string> out;
    for (int i = 0; i < combo->Count(); ++i) out.push_back(combo->GetImageComboBoxItem(i)->GetCaption());
    return out;
  }

  TControlHost host;
  TImageList* images = nullptr;
};

TEST_F(KxImageComboTest, AnIndentedItemIsDrawnFurtherRightInTheListButNotInTheEditPart) {
  auto* combo = MakeCombo();
  combo->SetImages(images);
  combo->SetColor(clWhite);
  combo->AddItem("Top", 0, 0);
  combo->AddItem("Deep", 0, 2);
  struct TCase {
    int index;
    UINT state;
    int left;
  };
  for (TCase c : {TCase{0, 0, 2}, TCase{1, 0, 2 + 24}, TCase{1, ODS_COMBOBOXEDIT, 2}}) {
    SCOPED_TRACE(testing::Message() << c.index << " " << c.state);
    TDib dib(200, 20, RGB(1, 2, 3));
    DrawItem(combo, c.index, dib, c.state);
    TRect red = ColourBox(dib, RGB(255, 0, 0), TRect{0, 0, 200, 20});
    EXPECT_EQ(red.left, c.left);
    EXPECT_EQ(red.right - red.left, 16);
    EXPECT_EQ(red.top, (20 - 16) / 2);
  }
}

TEST_F(KxImageComboTest, OnlyTheCaptionOfASelectedItemIsHighlighted) {
  auto* combo = MakeCombo();
  combo->SetImages(images);
  combo->SetColor(clWhite);
  combo->AddItem("Caption", 0, 1);
  int gets = 0;
  struct TGet {
    int* n;
    void Get(TObject*, TKxImageComboBoxItem* item) {
      ++*n;
      item->SetCaption("Given");
    }
  } get{&gets};
  combo->SetOnGetItemData(TKxImageComboBoxGetItemDataEvent(&get, &TGet::Get));
  TDib dib(200, 20, RGB(1, 2, 3));
  DrawItem(combo, 0, dib, ODS_SELECTED);
  EXPECT_EQ(gets, 1);
  // Right of the image (a selected image is blended with the highlight).
  int imageRight = 2 + 12 + 16;
  TRect lit = ColourBox(dib, kx_test::Shown(clHighlight), TRect{imageRight, 0, 200, 20});
  int textLeft = 1 + 12 + 16 + 4;
  EXPECT_EQ(lit.left, textLeft);
  EXPECT_EQ(lit.top, 0);
  EXPECT_EQ(lit.bottom, 19);
  combo->GetCanvas()->GetFont()->Assign(combo->GetFont());
  EXPECT_EQ(lit.right, textLeft + combo->GetCanvas()->TextWidth("Given") + 3) << "the caption read on demand";
  EXPECT_EQ(dib.Pixel(190, 10), RGB(255, 255, 255)) << "the rest shows Color";
}

TEST_F(KxImageComboTest, TheItemHeightIsTheFontsOrTheImagesWhicheverIsTaller) {
  auto* combo = MakeCombo();
  combo->GetFont()->SetName("Tahoma");
  combo->GetFont()->SetSize(8);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, combo->GetFont()->GetHandle());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  int textHeight = tm.tmHeight + 4;
  combo->SetImages(images);
  EXPECT_EQ(combo->Perform(CB_GETITEMHEIGHT, 0, 0), std::max(textHeight, 16));
  Owned<TImageList> tall(New<TImageList>(nullptr));
  tall->SetWidth(32);
  tall->SetHeight(40);
  combo->SetImages(tall.get());
  EXPECT_EQ(combo->Perform(CB_GETITEMHEIGHT, 0, 0), 40);
  combo->GetFont()->SetSize(36);
  EXPECT_GT(combo->Perform(CB_GETITEMHEIGHT, 0, 0), 40) << "a big font is taller than the images";
  combo->SetImages(nullptr);
}

TEST_F(KxImageComboTest, CaptionsAreFoundWithoutRegardToCase) {
  auto* combo = MakeCombo();
  combo->AddItem("Documents", 0, 0);
  TKxImageComboBoxItem* music = combo->AddItem("My Music", 0, 1);
  EXPECT_EQ(music->GetIndex(), 1);
  EXPECT_EQ(music->GetOverlayIndex(), -1);
  EXPECT_EQ(combo->IndexOf("MY MUSIC"), 1);
  EXPECT_EQ(combo->IndexOf("music"), -1);
  EXPECT_EQ(combo->GetImageComboBoxItem(1), music);
}

TEST_F(KxImageComboTest, ItemsOutliveWindowRecreationAndAreFreedWhenRemoved) {
  auto* combo = MakeCombo();
  std::vector<TKxImageComboBoxItem*> deleted;
  struct TSink {
    std::vector<TKxImageComboBoxItem*>* out;
    void Deleted(TObject*, TKxImageComboBoxItem* item) { out->push_back(item); }
  } sink{&deleted};
  combo->SetOnDeleteImageItem(TKxDeleteImageComboBoxItemEvent(&sink, &TSink::Deleted));
  TKxImageComboBoxItem* a = combo->AddItem("a", 0, 0);
  TKxImageComboBoxItem* b = combo->AddItem("b", 0, 1);
  TKxImageComboBoxItem* c = combo->AddItem("c", 0, 2);
  combo->SetItemIndex(1);
  // Each of these makes the window again.
  combo->SetImages(images);
  combo->GetFont()->SetSize(14);
  combo->RecreateWnd();
  combo->HandleNeeded();
  EXPECT_EQ(Captions(combo), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(combo->GetImageComboBoxItem(0), a);
  EXPECT_EQ(combo->GetImageComboBoxItem(2), c);
  EXPECT_EQ(combo->GetItemIndex(), 1);
  EXPECT_TRUE(deleted.empty()) << "nothing left for good";
  EXPECT_EQ(combo->OwnedItemCount(), 3);

  combo->Delete(1);
  EXPECT_EQ(deleted, (std::vector<TKxImageComboBoxItem*>{b}));
  EXPECT_EQ(combo->OwnedItemCount(), 2);
  combo->ClearItems();
  EXPECT_EQ(deleted.size(), 3u);
  EXPECT_EQ(combo->OwnedItemCount(), 0);
  EXPECT_EQ(combo->Count(), 0);
}

TEST_F(KxImageComboTest, AnItemTakenOutOfItemsByHandStaysValidUntilTheComboGoes) {
  auto* combo = MakeCombo();
  combo->AddItem("a", 0, 0);
  TKxImageComboBoxItem* b = combo->AddItem("b", 0, 0);
  combo->GetItems()->Move(1, 0);  // a delete and an insert of the same object
  EXPECT_EQ(combo->GetImageComboBoxItem(0), b);
  EXPECT_EQ(b->GetCaption(), "b");
  EXPECT_EQ(combo->OwnedItemCount(), 2);
}

TEST_F(KxImageComboTest, AnObjectOfAnotherClassIsNoItem) {
  auto* combo = MakeCombo();
  combo->AddItem("a", 0, 0);
  Owned<TStringList> stranger(New<TStringList>());
  combo->GetItems()->PutObject(0, stranger.get());
  EXPECT_THROW(combo->GetImageComboBoxItem(0), EInvalidCast);
  combo->GetItems()->PutObject(0, nullptr);
}

// The background is filled with a brush made for the erase. A combo box told
// to erase before it can have a window (it has no parent yet) raises on the
// way, and gives the brush back all the same.
TEST_F(KxImageComboTest, AnEraseThatFailsGivesItsBrushBack) {
  Owned<TKxImageComboBox> loose(New<TKxImageComboBox>(nullptr));
  TDib dib(20, 20, RGB(1, 2, 3));
  auto erase = [&] { loose->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dib.DC()), 0); };
  int left = GdiObjectsLeftBy([&] { EXPECT_THROW(erase(), EInvalidOperation); });
  EXPECT_EQ(left, 0);
}

}  // namespace
