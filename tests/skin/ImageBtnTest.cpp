#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "skin/pkBitmap.h"
#include "skin/pkImager.h"
#include "skin/pkImgBtn.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/SkinTestUtil.h"

using namespace skin_test;

namespace {

constexpr TColor kKey = clWhite;
constexpr TColor kInk = clNavy;

Owned<TpkBitmap> PkFromText(const std::vector<std::string>& rows, std::initializer_list<TPaint> paints) {
  Owned<TBitmap> b = BitmapFromText(rows, paints);
  Owned<TpkBitmap> pk = MakeOwned<TpkBitmap>();
  pk->Assign(b.get());
  return pk;
}

// The TColor of a TpkBitmap pixel.
TColor At(TpkBitmap* b, int x, int y) { return PixelToColor(b->GetPixel(x, y)); }

// A region's pixels over w x h as text rows.
std::vector<std::string> Shape(HRGN r, int w, int h) { return RegionText(r, w, h); }

// A 6 x 4 picture: a 4 x 2 block of ink inside a key border.
const std::vector<std::string> kBlock = {"......", ".####.", ".####.", "......"};

class ImageBtnTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.reset(New<TForm>(nullptr, 0));
    form_->SetBounds(0, 0, 200, 100);
  }
  TpkImageBtn* Add(const std::vector<std::string>& rows = kBlock, TColor transparent = kKey) {
    auto* b = New<TpkImageBtn>(form_.get());
    b->SetParent(form_.get());
    Owned<TpkBitmap> img = PkFromText(rows, {{'.', kKey}, {'#', kInk}, {'r', clRed}});
    b->SetImage(img.get());
    b->SetTransparentColor(transparent);
    b->SizeToImage();
    return b;
  }
  HRGN WindowRegion(TWinControl* c) { return skin_test::WindowRegion(c->GetHandle()); }
  Owned<TForm> form_;
};

TEST_F(ImageBtnTest, ConstructionValues) {
  Owned<TpkImageBtn> b(New<TpkImageBtn>(nullptr));
  EXPECT_EQ(b->GetColor(), clNone);
  EXPECT_EQ(b->GetTransparentColor(), clNone);
  EXPECT_EQ(b->GetDitherColor(), clWhite);
  EXPECT_EQ(b->GetDitherStyle(), dsDither);
  EXPECT_TRUE(b->StoresRegionData());
  EXPECT_EQ(b->GetImgOffsets()->GetImageDownX(), 2);
  EXPECT_EQ(b->GetImgOffsets()->GetImageDownY(), 2);
  EXPECT_TRUE(b->GetImage()->GetEmpty());
}

TEST_F(ImageBtnTest, TheWindowTakesTheImagesOutline) {
  TpkImageBtn* b = Add();
  EXPECT_EQ(b->GetWidth(), 6);
  EXPECT_EQ(b->GetHeight(), 4);
  b->HandleNeeded();
  TpkRegion r(WindowRegion(b));
  EXPECT_EQ(Shape(r.get(), 6, 4), (std::vector<std::string>{"......", ".####.", ".####.", "......"}));
  EXPECT_FALSE(b->GetRegionBlob(false).IsEmpty()) << "built once and kept";
}

struct TKeyCase {
  const char* Name;
  TColor Transparent;
  std::vector<std::string> Expected;  // '#' in the region
};

TEST_F(ImageBtnTest, TransparentColourConventions) {
  // First pixel red; the rest as in the rows.
  const std::vector<std::string> rows = {"r.....", ".####.", ".#rr#.", "......"};
  const TKeyCase cases[] = {
      {"clNone takes the first pixel", clNone, {".#####", "######", "##..##", "######"}},
      {"a colour as given", kKey, {"#.....", ".####.", ".####.", "......"}},
      {"a system colour matches nothing", clBtnFace, {"######", "######", "######", "######"}},
  };
  for (const TKeyCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TpkImageBtn* b = Add(rows, c.Transparent);
    b->HandleNeeded();
    TpkRegion r(WindowRegion(b));
    EXPECT_EQ(Shape(r.get(), 6, 4), c.Expected);
    b->Free();
  }
}

TEST_F(ImageBtnTest, NoRegionColourKeepsTheButtonRectangular) {
  TpkImageBtn* b = Add(kBlock, clNoRegion);
  b->HandleNeeded();
  EXPECT_FALSE(b->UseRegion());
  EXPECT_EQ(b->GetStateRegion(true, false), nullptr);
  TpkRegion r(WindowRegion(b));
  EXPECT_EQ(r, nullptr);
  EXPECT_TRUE(b->GetRegionBlob(false).IsEmpty());
  // The image is painted as it is; only what it leaves uncovered is Shadow.
  b->GetShadeColors()->SetShadow(clMaroon);
  b->SetGroupIndex(1);
  b->SetDitherColor(clNone);
  b->SetDown(true);
  Owned<TpkBitmap> face = MakeOwned<TpkBitmap>();
  b->PaintFace(face.get(), false, true, fbsNormal);
  EXPECT_EQ(At(face.get(), 0, 0), clMaroon);
  EXPECT_EQ(At(face.get(), 2, 2), kKey) << "the image's first pixel, shifted by (2, 2)";
  EXPECT_EQ(At(face.get(), 3, 3), kInk);
}

TEST_F(ImageBtnTest, AnAllTransparentImageGivesNoRegion) {
  TpkImageBtn* b = Add({"....", "...."});
  b->HandleNeeded();
  EXPECT_EQ(b->GetStateRegion(true, false), nullptr);
  TpkRegion r(WindowRegion(b));
  EXPECT_EQ(r, nullptr);
}

TEST_F(ImageBtnTest, APressedButtonWithoutDownImageShowsTheUpImageShiftedOverShadow) {
  TpkImageBtn* b = Add();
  b->GetShadeColors()->SetShadow(clMaroon);
  b->SetGroupIndex(1);
  b->SetDitherColor(clNone);
  Owned<TpkBitmap> face = MakeOwned<TpkBitmap>();
  b->PaintFace(face.get(), false, true, fbsNormal);
  // Key pixels are replaced by Shadow, the ink moves by (2, 2).
  EXPECT_EQ(At(face.get(), 1, 1), clMaroon);
  EXPECT_EQ(At(face.get(), 3, 3), kInk);
  EXPECT_EQ(At(face.get(), 5, 3), kInk);
  EXPECT_EQ(At(face.get(), 2, 2), clMaroon);
  // The pressed state keeps the up state's shape.
  TpkRegion up(b->GetStateRegion(true, false));
  TpkRegion down(b->GetStateRegion(true, true));
  EXPECT_TRUE(SameRegion(up.get(), down.get()));
  EXPECT_FALSE(b->StateShapesDiffer());
}

TEST_F(ImageBtnTest, RaisedStyleRendersSmallerAndShapesBothStates) {
  std::vector<std::string> rows(10, std::string(20, '#'));
  TpkImageBtn* b = Add(rows);
  b->SetShadeStyle(fbsRaised);
  Owned<TpkBitmap> scratch = MakeOwned<TpkBitmap>();
  b->RenderImage(b->GetImage(), scratch.get(), false, true, fbsRaised);
  EXPECT_EQ(scratch->GetWidth(), 18);
  EXPECT_EQ(scratch->GetHeight(), 8);
  TpkRegion up(b->GetStateRegion(true, false));
  TpkRegion down(b->GetStateRegion(true, true));
  TpkRegion shape(CreateRectRgn(0, 0, 18, 8));
  TpkRegion moved(CreateRectRgn(2, 2, 20, 10));
  TpkRegion both(CreateRectRgn(0, 0, 0, 0));
  CombineRgn(both.get(), shape.get(), moved.get(), RGN_OR);
  EXPECT_TRUE(SameRegion(up.get(), both.get()));
  EXPECT_TRUE(SameRegion(down.get(), moved.get()));
  EXPECT_TRUE(b->StateShapesDiffer());
}

TEST_F(ImageBtnTest, AnImageChangeDropsOnlyItsStatesBlobAndResizingDropsBoth) {
  TpkImageBtn* b = Add();
  Owned<TpkBitmap> down = PkFromText({"......", "..##..", "..##..", "......"}, {{'.', kKey}, {'#', kInk}});
  b->SetImageDown(down.get());
  b->HandleNeeded();
  TpkRegion(b->GetStateRegion(true, false));
  TpkRegion(b->GetStateRegion(true, true));
  ASSERT_FALSE(b->GetRegionBlob(false).IsEmpty());
  ASSERT_FALSE(b->GetRegionBlob(true).IsEmpty());
  b->GetImageDown()->SetPixel(0, 0, 0x123456);
  b->GetImageDown()->Changed(b->GetImageDown());
  EXPECT_FALSE(b->GetRegionBlob(false).IsEmpty());
  EXPECT_TRUE(b->GetRegionBlob(true).IsEmpty());
  TpkRegion(b->GetStateRegion(true, true));
  b->GetImage()->Changed(b->GetImage());
  EXPECT_TRUE(b->GetRegionBlob(false).IsEmpty());
  EXPECT_FALSE(b->GetRegionBlob(true).IsEmpty());
  TpkRegion(b->GetStateRegion(true, false));
  b->SetBounds(b->GetLeft(), b->GetTop(), 12, 8);
  // WM_SIZE dropped both and applied the up state again.
  EXPECT_TRUE(b->GetRegionBlob(true).IsEmpty());
  TpkRegion r(WindowRegion(b));
  RECT box = RegionBox(r.get());
  EXPECT_EQ(box.left, 2) << "the shape follows the new size";
  EXPECT_EQ(box.right, 10);
}

TEST_F(ImageBtnTest, ChangingTheColourOutsideLoadingDropsTheBlobs) {
  TpkImageBtn* b = Add();
  b->HandleNeeded();
  TpkRegion(b->GetStateRegion(true, true));
  ASSERT_FALSE(b->GetRegionBlob(false).IsEmpty());
  // While a form is read, blobs stay (they come after TransparentColor).
  b->IncludeState(csLoading);
  b->SetTransparentColor(kInk);
  EXPECT_FALSE(b->GetRegionBlob(false).IsEmpty());
  EXPECT_FALSE(b->GetRegionBlob(true).IsEmpty());
  b->ExcludeState(csLoading);
  b->SetTransparentColor(kKey);
  b->SetTransparentColor(kInk);
  // The window was made again with a region of the new colour.
  TpkRegion r(WindowRegion(b));
  EXPECT_EQ(Shape(r.get(), 6, 4), (std::vector<std::string>{"######", "#....#", "#....#", "######"}));
}

// An image button that tells whether its up image is parked.
class TParkingImageBtn : public TpkImageBtn {
  DECLARE_CLASS(TParkingImageBtn, TpkImageBtn)
  using TpkImageBtn::TpkImageBtn;
  bool Parked() const { return ImageParked(); }
};
IMPLEMENT_CLASS(TParkingImageBtn)

TEST_F(ImageBtnTest, ThePixelsAreParkedWhileThereIsNoWindowAndComeBackWhenAskedFor) {
  RegisterClass(TParkingImageBtn::StaticClass());  // the stored form names it
  auto* b = New<TParkingImageBtn>(form_.get());
  b->SetParent(form_.get());
  b->SetName("Parking1");
  Owned<TpkBitmap> img = PkFromText(kBlock, {{'.', kKey}, {'#', kInk}});
  b->SetImage(img.get());
  b->HandleNeeded();
  EXPECT_FALSE(b->Parked());
  b->DestroyHandle();
  EXPECT_TRUE(b->Parked()) << "no window: the pixels wait in memory";
  b->HandleNeeded();
  EXPECT_FALSE(b->Parked());
  EXPECT_EQ(PixelsOf(b->GetImage()), PixelsOf(img.get()));
  // Asked for while parked (a stored form, another button), the image is
  // all there.
  struct TAsk {
    const char* Name;
    std::function<TPixels()> Ask;
  };
  const TAsk asks[] = {
      {"a stored form",
       [this] {
         Owned<TForm> copy(New<TForm>(nullptr, 0));
         ReadForm(WriteForm(form_.get()), copy.get());
         auto* c = dynamic_cast<TpkImageBtn*>(copy->FindComponent("Parking1"));
         return c ? PixelsOf(c->GetImage()) : TPixels{};
       }},
      {"another button",
       [this, b] {
         auto* other = New<TpkImageBtn>(form_.get());
         other->SetImage(b->GetImage());
         return PixelsOf(other->GetImage());
       }},
  };
  for (const TAsk& ask : asks) {
    SCOPED_TRACE(ask.Name);
    b->HandleNeeded();
    b->DestroyHandle();
    ASSERT_TRUE(b->Parked());
    EXPECT_EQ(ask.Ask(), PixelsOf(img.get()));
  }
  // A button that follows this one hears the pixels come back, and asks
  // for them in turn: they come back once.
  auto* follower = New<TpkImageBtn>(form_.get());
  follower->SetParent(form_.get());
  follower->SetExtImage(b);
  b->HandleNeeded();
  b->DestroyHandle();
  ASSERT_TRUE(b->Parked());
  EXPECT_EQ(PixelsOf(follower->GetStateImage(false)), PixelsOf(img.get()));
  b->HandleNeeded();
  b->DestroyHandle();
  b->HandleNeeded();
  EXPECT_EQ(PixelsOf(b->GetImage()), PixelsOf(img.get()));
  follower->Free();
  // A picture given while the window is gone is not overwritten by the
  // parked one when the window comes back.
  b->DestroyHandle();
  Owned<TpkBitmap> fresh = PkFromText({"rr", "rr"}, {{'r', clRed}});
  b->SetImage(fresh.get());
  b->HandleNeeded();
  EXPECT_EQ(b->GetImage()->GetWidth(), 2);
  EXPECT_EQ(At(b->GetImage(), 0, 0), clRed);
  UnRegisterClass(TParkingImageBtn::StaticClass());
}

TEST_F(ImageBtnTest, StickyDownWithoutDownImageIsDithered) {
  struct TDitherCase {
    TpkDitherStyle Style;
    TColor At00, At10;  // at (1, 1) and (2, 1), both inside the shape
  };
  const TDitherCase cases[] = {
      {dsFill, clRed, clRed},
      {dsDither, clSilver, clRed},
      {dsBlendDither, kInk, clRed},
  };
  for (const TDitherCase& c : cases) {
    SCOPED_TRACE(c.Style);
    TpkImageBtn* b = Add();
    b->SetGroupIndex(1);
    b->SetDitherColor(clRed);
    b->SetDitherStyle(c.Style);
    Owned<TpkBitmap> scratch = MakeOwned<TpkBitmap>();
    b->RenderImage(b->GetImage(), scratch.get(), true, false, fbsNormal);
    TColor a = At(scratch.get(), 1, 1), n = At(scratch.get(), 2, 1);
    // The checker alternates; which cell is which depends on the brush origin.
    if (c.Style == dsFill) {
      EXPECT_EQ(a, clRed);
      EXPECT_EQ(n, clRed);
    } else {
      EXPECT_TRUE((a == c.At00 && n == c.At10) || (a == c.At10 && n == c.At00)) << std::hex << a << " " << n;
    }
    EXPECT_EQ(At(scratch.get(), 0, 0), kKey) << "outside the shape nothing is dithered";
    b->Free();
  }
}

TEST_F(ImageBtnTest, ColorTintsTheShapeAndLeavesTheKey) {
  TpkImageBtn* b = Add({"..", ".#"});
  Owned<TpkBitmap> gray = PkFromText({"..", ".g"}, {{'.', kKey}, {'g', clGray}});
  b->SetImage(gray.get());
  b->SetColor(RGB(192, 192, 192));
  Owned<TpkBitmap> s = MakeOwned<TpkBitmap>();
  b->RenderImage(b->GetImage(), s.get(), false, false, fbsNormal);
  EXPECT_EQ(At(s.get(), 1, 1), clGray) << "192 is no change";
  b->SetColor(clRed);
  b->RenderImage(b->GetImage(), s.get(), false, false, fbsNormal);
  EXPECT_EQ(At(s.get(), 1, 1), static_cast<TColor>(RGB(128 + 63, 0, 0)));
  EXPECT_EQ(At(s.get(), 0, 0), kKey);
}

TEST_F(ImageBtnTest, EdgesFollowTheOutlineAlongDiagonals) {
  std::vector<std::string> rows = {"..........", ".########.", ".########.", ".########.", ".########.",
                                   ".########.", ".########.", ".########.", ".########.", ".........."};
  TpkImageBtn* b = Add(rows);
  // The same picture pressed, so that nothing is shifted.
  Owned<TpkBitmap> same = MakeOwned<TpkBitmap>();
  same->Assign(b->GetImage());
  b->SetImageDown(same.get());
  TpkShadeColors* sc = b->GetShadeColors();
  sc->SetBtnHighlight(clAqua);
  sc->SetBtn3DLight(clLime);
  sc->SetBtnShadow(clGray);
  sc->SetBtnBlack(clBlack);
  struct TEdgeCase {
    const char* Name;
    bool Pressed, Default;
    std::vector<std::pair<POINT, TColor>> Expect;
  };
  const TEdgeCase cases[] = {
      {"up", false, false, {{{1, 1}, clAqua}, {{2, 2}, clLime}, {{8, 8}, clBlack}, {{7, 7}, clGray},
                            {{4, 1}, clAqua}, {{8, 5}, clBlack}, {{5, 5}, kInk}}},
      {"pressed", true, false, {{{1, 1}, clBlack}, {{2, 2}, clGray}, {{8, 8}, clAqua}, {{7, 7}, clLime}}},
      {"default", false, true, {{{1, 1}, clBlack}, {{2, 2}, clAqua}, {{3, 3}, clLime}, {{8, 8}, clBlack},
                                {{7, 7}, clBlack}, {{6, 6}, clGray}}},
  };
  for (const TEdgeCase& c : cases) {
    SCOPED_TRACE(c.Name);
    b->SetDefault(c.Default);
    b->SetGroupIndex(c.Pressed ? 1 : 0);
    b->SetDown(c.Pressed);
    Owned<TpkBitmap> face = MakeOwned<TpkBitmap>();
    b->PaintFace(face.get(), false, c.Pressed, fbsHighlight);
    for (auto& [p, color] : c.Expect) EXPECT_EQ(At(face.get(), p.x, p.y), color) << p.x << "," << p.y;
    EXPECT_EQ(At(face.get(), 0, 0), kKey);
  }
}

TEST_F(ImageBtnTest, EdgesOfAShapeThatFillsTheBitmapStayInsideIt) {
  // Every pixel opaque: entries and exits lie on the borders, and the
  // steps before and after them would be outside (a checked build raises
  // on any such write).
  for (int w : {1, 2, 3, 7}) {
    for (int h : {1, 2, 5}) {
      SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
      std::vector<std::string> rows(static_cast<size_t>(h), std::string(static_cast<size_t>(w), '#'));
      TpkImageBtn* b = Add(rows, kKey);
      b->SetDefault(true);
      b->SetOptions(TpkButtonOptions{boFocusable});
      Owned<TpkBitmap> face = MakeOwned<TpkBitmap>();
      EXPECT_NO_THROW(b->PaintFace(face.get(), false, true, fbsHighlight));
      EXPECT_NO_THROW(b->PaintFace(face.get(), false, false, fbsHighlight));
      EXPECT_EQ(face->GetWidth(), w);
      b->Free();
    }
  }
}

TEST_F(ImageBtnTest, AButtonWithoutAreaPaintsNothingAndKeepsItsImages) {
  const SIZE sizes[] = {{0, 0}, {0, 4}, {6, 0}};
  for (SIZE size : sizes) {
    for (TpkShadeStyle style : {fbsNormal, fbsRaised, fbsHighlight, fbsFlat}) {
      SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy) + " style " + std::to_string(style));
      TpkImageBtn* b = Add();
      b->SetShadeStyle(style);
      b->SetColor(clRed);
      b->SetGroupIndex(1);
      b->SetBounds(0, 0, size.cx, size.cy);
      b->HandleNeeded();
      EXPECT_NO_THROW(b->RepaintNow());
      b->SetDown(true);
      EXPECT_NO_THROW(b->RepaintNow());
      EXPECT_EQ(b->PixelColorAt(TPoint{0, 0}), clNone);
      EXPECT_NO_THROW(b->BakeShading());
      EXPECT_EQ(b->GetImage()->GetWidth(), 6) << "nothing to bake: the images stay";
      EXPECT_TRUE(b->GetImageDown()->GetEmpty());
      b->Free();
    }
  }
}

TEST_F(ImageBtnTest, PixelColorAtReadsThePaintedFace) {
  TpkImageBtn* b = Add();
  b->GetShadeColors()->SetShadow(clMaroon);
  EXPECT_EQ(b->PixelColorAt(POINT{0, 0}), clMaroon) << "the key shows Shadow";
  EXPECT_EQ(b->PixelColorAt(POINT{2, 1}), kInk);
}

TEST_F(ImageBtnTest, BakeShadingMakesTheHighlightFacesTheImages) {
  std::vector<std::string> rows = {"..........", ".########.", ".########.", ".########.", ".########.",
                                   ".########.", ".########.", ".########.", ".########.", ".........."};
  TpkImageBtn* b = Add(rows);
  b->BakeShading();
  ASSERT_FALSE(b->GetImageDown()->GetEmpty());
  EXPECT_EQ(b->GetImage()->GetWidth(), 10);
  // The up face carries its edges.
  TpkShadeColors* sc = b->GetShadeColors();
  EXPECT_EQ(At(b->GetImage(), 1, 1), ColorToRGB(sc->GetBtnHighlight()));
  EXPECT_EQ(At(b->GetImage(), 8, 8), ColorToRGB(sc->GetBtnBlack()));
  EXPECT_EQ(At(b->GetImage(), 5, 5), kInk);
  EXPECT_EQ(At(b->GetImage(), 0, 0), kKey);
  // Pressed without a down image the face moved by (2, 2); outside the
  // pressed shape it is the transparent colour.
  EXPECT_EQ(At(b->GetImageDown(), 3, 3), ColorToRGB(sc->GetBtnBlack()));
  EXPECT_EQ(At(b->GetImageDown(), 0, 0), kKey);
}

TEST_F(ImageBtnTest, AnotherButtonCanBeTheImageSource) {
  TpkImageBtn* source = Add();
  auto* b = New<TpkImageBtn>(form_.get());
  b->SetParent(form_.get());
  b->SetBounds(100, 0, 6, 4);
  b->SetTransparentColor(kKey);
  b->SetExtImage(source);
  EXPECT_EQ(b->GetStateImage(false), source->GetImage());
  b->HandleNeeded();
  TpkRegion(b->GetStateRegion(true, false));
  ASSERT_FALSE(b->GetRegionBlob(false).IsEmpty());
  // The source's change reaches the button through the link.
  source->GetImage()->Changed(source->GetImage());
  EXPECT_TRUE(b->GetRegionBlob(false).IsEmpty());
  source->Free();
  EXPECT_EQ(b->GetExtImage(), nullptr);
  EXPECT_EQ(b->GetStateImage(false), b->GetImage());
}

TEST_F(ImageBtnTest, AssignCopiesTheSettingsAndTakesTheSourceAsImage) {
  TpkImageBtn* a = Add();
  a->SetDitherColor(clLime);
  a->SetDitherStyle(dsFill);
  a->GetImgOffsets()->SetImageDownX(5);
  auto* b = New<TpkImageBtn>(form_.get());
  b->SetParent(form_.get());
  EXPECT_NO_THROW(b->Assign(a));
  EXPECT_EQ(b->GetDitherColor(), clLime);
  EXPECT_EQ(b->GetDitherStyle(), dsFill);
  EXPECT_EQ(b->GetImgOffsets()->GetImageDownX(), 5);
  EXPECT_EQ(b->GetTransparentColor(), kKey);
  EXPECT_EQ(b->GetExtImage(), a);
  EXPECT_EQ(b->GetExtImageDown(), a);
}

// An image button that counts the change notifications it is given.
class TCountingImageBtn : public TpkImageBtn {
  DECLARE_CLASS(TCountingImageBtn, TpkImageBtn)
  using TpkImageBtn::TpkImageBtn;
  int Changes = 0;
  void ImageChanged(TObject* sender) override {
    ++Changes;
    inherited::ImageChanged(sender);
  }
};
IMPLEMENT_CLASS(TCountingImageBtn)

TEST_F(ImageBtnTest, OneSourceForBothStatesIsFollowedOnceAndLetGoWhenCleared) {
  TpkImageBtn* source = Add();
  auto* b = New<TCountingImageBtn>(form_.get());
  b->SetParent(form_.get());
  b->Assign(source);  // both ExtImage and ExtImageDown become the source
  ASSERT_EQ(b->GetExtImageDown(), source);
  b->Changes = 0;
  source->GetImage()->Changed(source->GetImage());
  EXPECT_EQ(b->Changes, 1) << "one notification per change";
  // Either property alone still follows it.
  b->SetExtImage(nullptr);
  b->Changes = 0;
  source->GetImage()->Changed(source->GetImage());
  EXPECT_EQ(b->Changes, 1);
  b->SetExtImageDown(nullptr);
  b->Changes = 0;
  source->GetImage()->Changed(source->GetImage());
  EXPECT_EQ(b->Changes, 0) << "no source left: nothing follows";
  // Freed while following, the button leaves nothing behind in the source.
  auto* c = New<TCountingImageBtn>(form_.get());
  c->SetParent(form_.get());
  c->Assign(source);
  c->Free();
  EXPECT_NO_THROW(source->GetImage()->Changed(source->GetImage()));
}

TEST_F(ImageBtnTest, BakeShadingWithoutARegionKeepsThePressedFace) {
  std::vector<std::string> rows = {"..........", ".########.", ".########.", ".########.", ".########.",
                                   ".########.", ".########.", ".########.", ".########.", ".........."};
  TpkImageBtn* b = Add(rows, clNoRegion);
  b->BakeShading();
  ASSERT_FALSE(b->GetImageDown()->GetEmpty());
  // No shape cuts anything: the face shifted by (2, 2) is all there.
  EXPECT_EQ(At(b->GetImageDown(), 6, 6), kInk);
  EXPECT_EQ(At(b->GetImageDown(), 2, 2), kKey) << "the image's first pixel, shifted";
}

TEST_F(ImageBtnTest, ParentClippingReadsAndWritesTheParentsStyle) {
  TpkImageBtn* b = Add();
  HWND parent = form_->GetHandle();
  SetWindowLongPtrA(parent, GWL_STYLE, GetWindowLongPtrA(parent, GWL_STYLE) | WS_CLIPCHILDREN);
  EXPECT_TRUE(b->GetParentClipping());
  b->SetParentClipping(false);
  EXPECT_FALSE(b->GetParentClipping());
  EXPECT_EQ(GetWindowLongPtrA(parent, GWL_STYLE) & WS_CLIPCHILDREN, 0);
  b->SetParentClipping(true);
  EXPECT_TRUE(b->GetParentClipping());
}

TEST_F(ImageBtnTest, RespectPaletteIsTheUpImagesAndSetsBoth) {
  TpkImageBtn* b = Add();
  b->SetRespectPalette(true);
  EXPECT_TRUE(b->GetImage()->GetRespectPalette());
  EXPECT_TRUE(b->GetImageDown()->GetRespectPalette());
  b->GetImage()->SetRespectPalette(false);
  EXPECT_FALSE(b->GetRespectPalette());
}

TEST_F(ImageBtnTest, ChangingStateInvalidatesWhatTheShapesDoNotShare) {
  TpkImageBtn* b = Add();
  b->SetLeft(20);
  b->SetTop(10);
  Owned<TpkBitmap> down = PkFromText({"......", "......", "...##.", "......"}, {{'.', kKey}, {'#', kInk}});
  b->SetImageDown(down.get());
  b->SetGroupIndex(1);
  // A sibling window under part of the button, and one beside it.
  auto* over = New<TCustomControl>(form_.get());
  over->SetParent(form_.get());
  over->SetBounds(22, 8, 10, 10);
  auto* apart = New<TCustomControl>(form_.get());
  apart->SetParent(form_.get());
  apart->SetBounds(100, 50, 10, 10);
  form_->Show();
  PumpMessages();
  for (HWND w : {form_->GetHandle(), over->GetHandle(), apart->GetHandle()}) ValidateRect(w, nullptr);
  b->SetDown(true);
  RECT sibling{};
  EXPECT_TRUE(GetUpdateRect(over->GetHandle(), &sibling, FALSE)) << "an overlapping sibling repaints";
  EXPECT_FALSE(GetUpdateRect(apart->GetHandle(), &sibling, FALSE));
  TpkRegion update(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetUpdateRgn(form_->GetHandle(), update.get(), FALSE), ERROR);
  // (21, 11) was in the up shape only; (23, 12) is in both.
  EXPECT_TRUE(PtInRegion(update.get(), 21, 11));
  EXPECT_FALSE(PtInRegion(update.get(), 23, 12));
  TpkRegion r(WindowRegion(b));
  EXPECT_EQ(Shape(r.get(), 6, 4), (std::vector<std::string>{"......", "......", "...##.", "......"}));
}

// A state whose image is all key has no region: its window is the whole
// rectangle. Going to it and coming back from it, the parent repaints the
// part the two shapes do not share, in either order of the states.
TEST_F(ImageBtnTest, AStateWithoutARegionCountsAsTheWholeRectangle) {
  const std::vector<std::string> none = {"......", "......", "......", "......"};
  for (bool shapedUp : {true, false}) {
    SCOPED_TRACE(shapedUp ? "shaped up, unshaped down" : "unshaped up, shaped down");
    TpkImageBtn* b = Add(shapedUp ? kBlock : none);
    b->SetLeft(20);
    b->SetTop(10);
    Owned<TpkBitmap> down = PkFromText(shapedUp ? none : kBlock, {{'.', kKey}, {'#', kInk}});
    b->SetImageDown(down.get());
    b->SetGroupIndex(1);
    form_->Show();
    PumpMessages();
    for (bool pressed : {true, false}) {
      SCOPED_TRACE(pressed ? "pressed" : "released");
      ValidateRect(form_->GetHandle(), nullptr);
      b->SetDown(pressed);
      TpkRegion update(CreateRectRgn(0, 0, 0, 0));
      ASSERT_NE(GetUpdateRgn(form_->GetHandle(), update.get(), FALSE), ERROR);
      // (20, 10) is in the rectangle only; (23, 12) in the block too.
      EXPECT_TRUE(PtInRegion(update.get(), 20, 10));
      EXPECT_TRUE(PtInRegion(update.get(), 25, 13));
      EXPECT_FALSE(PtInRegion(update.get(), 23, 12));
      EXPECT_FALSE(PtInRegion(update.get(), 19, 10)) << "beside the button";
    }
    form_->Hide();
    b->Free();
  }
}

TEST_F(ImageBtnTest, InvalidateOutsideRegionRepaintsTheParentAroundTheShape) {
  TpkImageBtn* b = Add();
  b->SetLeft(30);
  b->SetTop(20);
  form_->Show();
  PumpMessages();
  ValidateRect(form_->GetHandle(), nullptr);
  b->InvalidateOutsideRegion(false);
  TpkRegion update(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetUpdateRgn(form_->GetHandle(), update.get(), FALSE), ERROR);
  EXPECT_TRUE(PtInRegion(update.get(), 30, 20)) << "a key pixel of the button";
  EXPECT_TRUE(PtInRegion(update.get(), 35, 23));
  EXPECT_FALSE(PtInRegion(update.get(), 32, 21)) << "inside the shape";
  EXPECT_FALSE(PtInRegion(update.get(), 29, 20)) << "beside the button";
}

TEST_F(ImageBtnTest, AnImagersWorkingBitmapCanBeTheImage) {
  auto* imager = New<TpkImager>(form_.get());
  imager->SetParent(form_.get());
  Owned<TBitmap> picture = BitmapFromText({"ab..", "....", "...."}, {{'a', clRed}, {'b', clLime}, {'.', clBlue}});
  imager->GetPicture()->SetBitmap(picture.get());
  TpkBitmap* work = imager->GetWorkBitmap();
  auto* b = New<TpkImageBtn>(form_.get());
  b->SetParent(form_.get());
  b->SetBounds(100, 0, 4, 3);
  b->SetTransparentColor(clNoRegion);
  b->SetExtImage(imager);
  EXPECT_EQ(b->GetStateImage(false), work);
  b->SetTransparentColor(PixelToColor(work->GetPixel(0, 0)));
  b->HandleNeeded();
  TpkRegion(b->GetStateRegion(true, false));
  ASSERT_FALSE(b->GetRegionBlob(false).IsEmpty());
  imager->GetBitmapOptions()->SetBoolOption(1, true);
  EXPECT_TRUE(b->GetRegionBlob(false).IsEmpty()) << "the imager's change reached the button";
}

TEST_F(ImageBtnTest, ShapingPaintingAndFreeingLeaveNoHandlesBehind) {
  // A hidden form: a shown one gets its window surface whenever the
  // display gets round to it, which would count as growth.
  ExpectNoHandleGrowth([this] {
    TpkImageBtn* b = Add();
    Owned<TpkBitmap> down = PkFromText({"......", "..##..", "..##..", "......"}, {{'.', kKey}, {'#', kInk}});
    b->SetImageDown(down.get());
    b->SetGroupIndex(1);
    b->SetShadeStyle(fbsRaised);
    b->HandleNeeded();
    b->SetDown(true);
    b->RepaintNow();
    b->SetDown(false);
    b->SetBounds(0, 0, 12, 8);
    b->SetShadeStyle(fbsHighlight);
    b->RepaintNow();
    POINT p{1, 1};
    b->IsPointInButton(&p);
    b->InvalidateOutsideRegion(true);
    b->PixelColorAt(TPoint{1, 1});
    b->BakeShading();
    b->SetColor(clLime);
    b->SetImageDown(nullptr);
    b->SetDitherStyle(dsBlendDither);
    b->SetDown(true);
    b->RepaintNow();
    b->SetKind(bkOK);
    b->SetEnabled(false);
    b->RepaintNow();
    PumpMessages();
    b->Free();
  });
}

// --- stored forms -------------------------------------------------------------------------

TEST_F(ImageBtnTest, StoredFormRoundTripWithTheRegionBlobs) {
  TpkImageBtn* b = Add();
  b->SetName("pkImageBtn1");
  b->SetCaption("Go");
  b->HandleNeeded();
  TpkRegion(b->GetStateRegion(true, true));
  std::string text = WriteForm(form_.get());
  for (const char* always : {"RegionData = {", "DownRegionData = {", "TransparentColor = clWhite",
                             "DitherColor = clWhite", "DitherStyle = dsDither", "ParentClipping = ",
                             "ShadeStyle = fbsNormal", "Color = clNone", "TabStop = True", "Caption = 'Go'"})
    EXPECT_NE(text.find(always), std::string::npos) << always << "\n" << text;
  for (const char* never : {"Glyph.Data", "Kind", "Layout", "Margin", "NumGlyphs", "Spacing", "RespectPalette"})
    EXPECT_EQ(text.find(never), std::string::npos) << never << "\n" << text;

  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* c = dynamic_cast<TpkImageBtn*>(copy->FindComponent("pkImageBtn1"));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->GetRegionBlob(false).Bytes, b->GetRegionBlob(false).Bytes) << "read blobs stay";
  EXPECT_EQ(c->GetRegionBlob(true).Bytes, b->GetRegionBlob(true).Bytes);
  EXPECT_EQ(c->GetTransparentColor(), kKey);
  EXPECT_EQ(c->GetCaption(), "Go");
  EXPECT_EQ(c->GetImage()->GetWidth(), 6);
  c->HandleNeeded();
  TpkRegion r(WindowRegion(c));
  EXPECT_EQ(Shape(r.get(), 6, 4), (std::vector<std::string>{"......", ".####.", ".####.", "......"}));
}

TEST_F(ImageBtnTest, AKindsCaptionAndGlyphAreNotStored) {
  auto* b = New<TpkImageBtn>(form_.get());
  b->SetParent(form_.get());
  b->SetName("Ok1");
  b->SetKind(bkOK);
  std::string text = WriteForm(form_.get());
  EXPECT_NE(text.find("Kind = bkOK"), std::string::npos) << text;
  EXPECT_EQ(text.find("Caption"), std::string::npos) << text;
  EXPECT_EQ(text.find("Glyph.Data"), std::string::npos) << text;
  EXPECT_NE(text.find("Default = True"), std::string::npos) << text;
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* c = dynamic_cast<TpkImageBtn*>(copy->FindComponent("Ok1"));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->GetKind(), bkOK);
  EXPECT_EQ(c->GetCaption(), "OK");
  EXPECT_EQ(c->GetGlyph()->GetWidth(), 36);
}

TEST_F(ImageBtnTest, AForgottenKindStoresItsCaption) {
  auto* b = New<TpkImageBtn>(form_.get());
  b->SetParent(form_.get());
  b->SetName("Ok1");
  b->SetKind(bkOK);
  b->SetDefault(false);  // the kind is forgotten; its caption stays
  std::string text = WriteForm(form_.get());
  EXPECT_NE(text.find("Caption = 'OK'"), std::string::npos) << text;
  EXPECT_EQ(text.find("Kind = "), std::string::npos) << text;
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* c = dynamic_cast<TpkImageBtn*>(copy->FindComponent("Ok1"));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->GetCaption(), "OK");
  EXPECT_EQ(c->GetKind(), bkCustom);
}

}  // namespace

namespace {

// Edges of a focused button: a black outer edge as for Default, and with
// boFocusable the entry one step further in, the step before it in
// BtnFocus while pressed. Focus needs the desktop: alone.
class SerialImageBtnFocusEdges : public ImageBtnTest {};

TEST_F(SerialImageBtnFocusEdges, FocusedAndFocusableButtonsMoveTheirEdgesInwards) {
  std::vector<std::string> rows = {"..........", ".########.", ".########.", ".########.", ".########.",
                                   ".########.", ".########.", ".########.", ".########.", ".........."};
  TpkImageBtn* b = Add(rows);
  Owned<TpkBitmap> same = MakeOwned<TpkBitmap>();
  same->Assign(b->GetImage());
  b->SetImageDown(same.get());
  TpkShadeColors* sc = b->GetShadeColors();
  sc->SetBtnHighlight(clAqua);
  sc->SetBtn3DLight(clLime);
  sc->SetBtnShadow(clGray);
  sc->SetBtnBlack(clBlack);
  sc->SetBtnFocus(clFuchsia);
  form_->Show();
  SetForegroundWindow(form_->GetHandle());
  SetActiveWindow(form_->GetHandle());
  PumpMessages();
  struct TFocusCase {
    const char* Name;
    bool Focusable, Pressed;
    std::vector<std::pair<POINT, TColor>> Expect;
  };
  // Along the main diagonal: the shape enters at (1, 1) and leaves at (8, 8).
  const TFocusCase cases[] = {
      {"focused", false, false, {{{1, 1}, clBlack}, {{2, 2}, clAqua}, {{3, 3}, clLime}, {{4, 4}, kInk},
                                 {{6, 6}, clGray}, {{7, 7}, clBlack}, {{8, 8}, clBlack}}},
      {"focusable, focused", true, false, {{{1, 1}, clBlack}, {{2, 2}, kInk}, {{3, 3}, clAqua}, {{4, 4}, clLime},
                                           {{6, 6}, clGray}, {{7, 7}, clBlack}, {{8, 8}, clBlack}}},
      {"focusable, focused, pressed", true, true, {{{1, 1}, clBlack}, {{2, 2}, clFuchsia}, {{3, 3}, clBlack},
                                                   {{4, 4}, clGray}, {{6, 6}, clLime}, {{7, 7}, clAqua},
                                                   {{8, 8}, clBlack}}},
  };
  for (const TFocusCase& c : cases) {
    SCOPED_TRACE(c.Name);
    b->SetOptions(c.Focusable ? TpkButtonOptions{boFocusable} : TpkButtonOptions{});
    b->SetGroupIndex(c.Pressed ? 1 : 0);
    b->SetDown(c.Pressed);
    ::SetFocus(b->GetHandle());
    ASSERT_TRUE(b->Focused());
    Owned<TpkBitmap> face = MakeOwned<TpkBitmap>();
    b->PaintFace(face.get(), false, c.Pressed, fbsHighlight);
    for (auto& [p, color] : c.Expect) EXPECT_EQ(At(face.get(), p.x, p.y), color) << p.x << "," << p.y;
    EXPECT_EQ(At(face.get(), 0, 0), kKey);
  }
}

// The hit test looks at the active window: alone on the desktop.
class SerialImageBtnHitTest : public ImageBtnTest {};

TEST_F(SerialImageBtnHitTest, ShapedButtonsHitTheirShapesOnlyOnTheActiveForm) {
  TpkImageBtn* b = Add({"..........", ".######...", ".######...", ".........."});
  Owned<TpkBitmap> down = PkFromText({"..........", "..........", "....#####.", "...#####.."}, {{'.', kKey}, {'#', kInk}});
  b->SetImageDown(down.get());
  ASSERT_TRUE(b->StateShapesDiffer());
  form_->Show();
  SetForegroundWindow(form_->GetHandle());
  SetActiveWindow(form_->GetHandle());
  PumpMessages();
  ASSERT_EQ(GetActiveWindow(), form_->GetHandle());
  struct TPointCase {
    POINT P;
    bool In;
  };
  // Up: the up shape (the applied region) or the pressed one.
  const TPointCase cases[] = {{{2, 1}, true}, {{5, 3}, true}, {{8, 2}, true}, {{0, 0}, false}, {{9, 0}, false},
                              {{1, 3}, false}};
  for (const TPointCase& c : cases) EXPECT_EQ(b->IsPointInButton(&c.P), c.In) << c.P.x << "," << c.P.y;
  // Another active window: nothing is in the button.
  Owned<TForm> other(New<TForm>(nullptr, 0));
  other->Show();
  SetForegroundWindow(other->GetHandle());
  SetActiveWindow(other->GetHandle());
  PumpMessages();
  ASSERT_NE(GetActiveWindow(), form_->GetHandle());
  POINT inside{2, 1};
  EXPECT_FALSE(b->IsPointInButton(&inside));
}

}  // namespace
