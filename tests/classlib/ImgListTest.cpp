#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "classlib/ImgList.h"

namespace {

// A 16 x 16 bitmap: a red square (4..11) on a fuchsia background.
Owned<TBitmap> Glyph() {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(16, 16);
  b->GetCanvas()->GetBrush()->SetColor(clFuchsia);
  b->GetCanvas()->FillRect(Rect(0, 0, 16, 16));
  b->GetCanvas()->GetBrush()->SetColor(clRed);
  b->GetCanvas()->FillRect(Rect(4, 4, 12, 12));
  return b;
}

Owned<TBitmap> Target(TColor fill) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(20, 20);
  b->GetCanvas()->GetBrush()->SetColor(fill);
  b->GetCanvas()->FillRect(Rect(0, 0, 20, 20));
  return b;
}

COLORREF PixelAt(TBitmap* b, int x, int y) {
  auto* row = static_cast<const uint8_t*>(b->GetScanLine(y));
  return RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
}

COLORREF Rgb(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)); }

TEST(ImgListTest, AddMaskedDrawsTransparentlyAndKeepsTheCallersBitmap) {
  // The mask colour named, or clDefault: the bottom-left pixel's.
  for (TColor maskColor : {clFuchsia, clDefault}) {
    SCOPED_TRACE(ColorToString(maskColor));
    Owned<TImageList> list = MakeOwned<TImageList>(nullptr);
    auto glyph = Glyph();
    EXPECT_EQ(list->AddMasked(glyph.get(), maskColor), 0);
    EXPECT_EQ(list->Add(glyph.get(), nullptr), 1);
    EXPECT_EQ(list->GetCount(), 2);
    EXPECT_EQ(PixelAt(glyph.get(), 0, 0), RGB(255, 0, 255));  // not blackened

    auto t = Target(clWhite);
    list->Draw(t->GetCanvas(), 2, 2, 0);
    EXPECT_EQ(PixelAt(t.get(), 2, 2), RGB(255, 255, 255));  // masked out
    EXPECT_EQ(PixelAt(t.get(), 8, 8), RGB(255, 0, 0));
    list->Draw(t->GetCanvas(), 2, 2, 1);  // without a mask: all of it
    EXPECT_EQ(PixelAt(t.get(), 2, 2), RGB(255, 0, 255));

    // Replacing keys the same way.
    list->ReplaceMasked(1, glyph.get(), maskColor);
    auto u = Target(clWhite);
    list->Draw(u->GetCanvas(), 2, 2, 1);
    EXPECT_EQ(PixelAt(u.get(), 2, 2), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(u.get(), 8, 8), RGB(255, 0, 0));
  }
}

TEST(ImgListTest, DisabledDrawingEmbossesTheShape) {
  Owned<TImageList> list = MakeOwned<TImageList>(nullptr);
  auto glyph = Glyph();
  list->AddMasked(glyph.get(), clFuchsia);
  auto enabled = Target(clYellow), disabled = Target(clYellow);
  list->Draw(enabled->GetCanvas(), 2, 2, 0, true);
  list->Draw(disabled->GetCanvas(), 2, 2, 0, false);
  // The red square (6..13 on the target) in the shadow colour, its copy one
  // pixel down and right in the highlight colour showing only past it; the
  // transparent part untouched.
  EXPECT_EQ(PixelAt(enabled.get(), 8, 8), RGB(255, 0, 0));
  EXPECT_EQ(PixelAt(disabled.get(), 8, 8), Rgb(clBtnShadow));
  EXPECT_EQ(PixelAt(disabled.get(), 14, 14), Rgb(clBtnHighlight));
  EXPECT_EQ(PixelAt(disabled.get(), 14, 8), Rgb(clBtnHighlight));
  EXPECT_EQ(PixelAt(disabled.get(), 3, 3), RGB(255, 255, 0));
  EXPECT_EQ(PixelAt(disabled.get(), 16, 16), RGB(255, 255, 0));
}

TEST(ImgListTest, CountClearDeleteAndSizeChangeEmptyTheList) {
  Owned<TImageList> list = MakeOwned<TImageList>(nullptr);
  Owned<TBitmap> strip = MakeOwned<TBitmap>();
  strip->SetPixelFormat(pf24bit);
  strip->SetSize(48, 16);  // three images side by side
  EXPECT_EQ(list->Add(strip.get(), nullptr), 0);
  EXPECT_EQ(list->GetCount(), 3);
  list->Delete(1);
  EXPECT_EQ(list->GetCount(), 2);
  EXPECT_THROW(list->Delete(2), EInvalidOperation);
  list->Clear();
  EXPECT_EQ(list->GetCount(), 0);

  list->Add(strip.get(), nullptr);
  list->SetWidth(24);
  EXPECT_EQ(list->GetCount(), 0);
  list->Add(strip.get(), nullptr);
  EXPECT_EQ(list->GetCount(), 2);
  list->SetHeight(8);
  EXPECT_EQ(list->GetCount(), 0);
  int w = 0, h = 0;
  ImageList_GetIconSize(list->GetHandle(), &w, &h);
  EXPECT_EQ(w, 24);
  EXPECT_EQ(h, 8);

  auto small = Glyph();
  list->SetHeight(32);
  EXPECT_THROW(list->Add(small.get(), nullptr), EInvalidOperation);
}

TEST(ImgListTest, StoredDataKeepImagesMasksAndBackground) {
  Owned<TImageList> a = MakeOwned<TImageList>(nullptr);
  auto glyph = Glyph();
  a->AddMasked(glyph.get(), clFuchsia);
  a->Add(glyph.get(), nullptr);
  a->SetBkColor(clLime);
  Owned<TMemoryStream> data = MakeOwned<TMemoryStream>();
  a->WriteData(data.get());
  data->SetPosition(0);
  Owned<TImageList> b = MakeOwned<TImageList>(nullptr);
  b->ReadData(data.get());
  EXPECT_EQ(b->GetCount(), 2);
  EXPECT_EQ(b->GetBkColor(), clLime);
  b->SetBkColor(clNone);
  auto t = Target(clWhite);
  b->Draw(t->GetCanvas(), 0, 0, 0);
  EXPECT_EQ(PixelAt(t.get(), 1, 1), RGB(255, 255, 255));
  EXPECT_EQ(PixelAt(t.get(), 5, 5), RGB(255, 0, 0));

  Owned<TMemoryStream> damaged = MakeOwned<TMemoryStream>();
  damaged->WriteBuffer("not an image list", 17);
  damaged->SetPosition(0);
  EXPECT_THROW(b->ReadData(damaged.get()), EReadError);
  EXPECT_EQ(b->GetCount(), 2);
}

TEST(ImgListTest, StoredFormsCarryTheImagesAsBitmapData) {
  Owned<TImageList> a = MakeOwned<TImageList>(nullptr);
  a->SetName("Images");
  Owned<TMemoryStream> form = MakeOwned<TMemoryStream>();
  form->WriteComponent(a.get());
  const int64_t emptySize = form->GetSize();  // no images: no "Bitmap"

  auto glyph = Glyph();
  a->AddMasked(glyph.get(), clFuchsia);
  a->SetDrawingStyle(dsTransparent);
  form->SetSize(0);
  form->WriteComponent(a.get());
  EXPECT_GT(form->GetSize(), emptySize + 16 * 16 * 3);
  form->SetPosition(0);
  Owned<TImageList> b = MakeOwned<TImageList>(nullptr);
  form->ReadComponent(b.get());
  EXPECT_EQ(b->GetCount(), 1);
  EXPECT_EQ(b->GetDrawingStyle(), dsTransparent);
  auto t = Target(clWhite);
  b->Draw(t->GetCanvas(), 0, 0, 0);
  EXPECT_EQ(PixelAt(t.get(), 1, 1), RGB(255, 255, 255));
  EXPECT_EQ(PixelAt(t.get(), 5, 5), RGB(255, 0, 0));
}

class TLinkWatcher : public TObject {
 public:
  std::vector<std::string> Log;
  void LinkChanged(TObject* sender) { Log.push_back(sender ? "link:" + sender->ClassName() : "link:nil"); }
  void ListChanged(TObject*) { Log.push_back("list"); }
};

TEST(ImgListTest, ChangesReachLinksThenOnChangeAndLinksOutliveTheList) {
  TLinkWatcher w;
  TCustomImageList* list = New<TImageList>(nullptr);
  TChangeLink* link = New<TChangeLink>();
  link->SetOnChange(TNotifyEvent(&w, &TLinkWatcher::LinkChanged));
  list->RegisterChanges(link);
  list->SetOnChange(TNotifyEvent(&w, &TLinkWatcher::ListChanged));
  EXPECT_EQ(link->GetSender(), list);

  list->SetBkColor(clNone);
  EXPECT_EQ(ImageList_GetBkColor(list->GetHandle()), CLR_NONE);
  list->SetBkColor(clRed);
  EXPECT_EQ(ImageList_GetBkColor(list->GetHandle()), RGB(255, 0, 0));
  EXPECT_EQ(list->GetBkColor(), clRed);
  std::vector<std::string> want = {"link:TImageList", "list", "link:TImageList", "list"};
  EXPECT_EQ(w.Log, want);

  list->Free();
  EXPECT_EQ(link->GetSender(), nullptr);
  link->Free();  // nothing left to unregister from
}

}  // namespace
