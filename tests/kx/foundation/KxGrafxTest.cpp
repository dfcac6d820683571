// The KxGrafx bitmap, gradient and trapezoid helpers, on real bitmaps.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "kx/foundation/KxGrafx.h"
#include "kx/foundation/KxIntLst.h"
#include "tests/kx/foundation/KxTestSupport.h"

namespace {

using kx_test::kPaper;
using kx_test::TPaintSurface;

// A bitmap whose every pixel differs: (x, y) -> RGB(x * 7, y * 11, x + y).
Owned<TBitmap> Pattern(int w, int h, TPixelFormat format = pf24bit) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(format);
  b->SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b->GetCanvas()->SetPixels(x, y, RGB(x * 7, y * 11, x + y));
  return b;
}

TEST(KxGrafxTest, FlipTurnsRowsOverAndTwiceRestoresExactly) {
  for (TPixelFormat format : {pf24bit, pf32bit, pf8bit}) {
    SCOPED_TRACE(format);
    Owned<TBitmap> b = Pattern(13, 7, format);
    Owned<TBitmap> original = MakeOwned<TBitmap>();
    original->Assign(b.get());
    FlipBitmap(b.get());
    EXPECT_EQ(b->GetCanvas()->GetPixels(3, 0), original->GetCanvas()->GetPixels(3, 6));
    EXPECT_EQ(b->GetCanvas()->GetPixels(12, 6), original->GetCanvas()->GetPixels(12, 0));
    FlipBitmap(b.get());
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 13; ++x)
        ASSERT_EQ(b->GetCanvas()->GetPixels(x, y), original->GetCanvas()->GetPixels(x, y)) << x << "," << y;
  }
}

TEST(KxGrafxTest, GradientRunEndsAtTheSecondColourInBands) {
  EXPECT_TRUE(GradientRun(clBlack, clWhite, 0, 16).empty());
  std::vector<COLORREF> run = GradientRun(clBlack, clWhite, 256, 1);
  EXPECT_EQ(run.back(), RGB(255, 255, 255));
  EXPECT_EQ(run.front(), RGB(0, 0, 0));
  // 64 colours: bands of 255 div 64 + 1 = 4 pixels.
  std::vector<COLORREF> banded = GradientRun(clBlack, clWhite, 256, 64);
  std::set<COLORREF> distinct(banded.begin(), banded.end());
  EXPECT_EQ(distinct.size(), 64u);
  EXPECT_EQ(banded[252], banded[255]);
  EXPECT_NE(banded[251], banded[252]);
  EXPECT_EQ(GradientRun(clRed, clBlue, 1, 8), (std::vector<COLORREF>{RGB(0, 0, 255)}));
}

TEST(KxGrafxTest, EqualColoursOnTheDiagonalFillOneColour) {
  for (TGradientDirection d : {gdDiagonalUp, gdDiagonalDown}) {
    TPaintSurface s(40, 30);
    PaintGradient(s.Canvas(), TRect{5, 5, 35, 25}, d, clTeal, clTeal, 16);
    std::set<COLORREF> seen;
    for (int y = 5; y < 25; ++y)
      for (int x = 5; x < 35; ++x) seen.insert(s.Pixel(x, y));
    EXPECT_EQ(seen, (std::set<COLORREF>{RGB(0, 128, 128)}));
    EXPECT_EQ(s.Pixel(4, 4), kPaper);
    EXPECT_EQ(s.Pixel(35, 25), kPaper);
  }
}

TEST(KxGrafxTest, EveryDirectionRunsBetweenTheColours) {
  struct TCase {
    TGradientDirection Direction;
    TPoint FirstAt, SecondAt;  // where each colour is (nearly) reached
  };
  const int w = 64, h = 48;
  const std::vector<TCase> cases = {
      {gdHorizontalEnd, {30, 0}, {30, h - 1}},   {gdHorizontalCenter, {30, 0}, {30, h / 2 - 1}},
      {gdVerticalEnd, {0, 20}, {w - 1, 20}},     {gdVerticalCenter, {0, 20}, {w / 2 - 1, 20}},
      {gdDiagonalUp, {0, 0}, {w - 1, h - 1}},    {gdDiagonalDown, {w - 1, 0}, {0, h - 1}},
      {gdSquareBox, {0, 0}, {w / 2 - 1, h / 2 - 1}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(GetEnumName(TypeInfo<TGradientDirection>(), c.Direction));
    TPaintSurface s(w, h);
    PaintGradient(s.Canvas(), TRect{0, 0, w, h}, c.Direction, clBlack, clWhite, 127);
    // Within one band (3 pixels of a run of 24 or more) of the first colour.
    EXPECT_LT(GetRValue(s.Pixel(c.FirstAt.x, c.FirstAt.y)), 40);
    EXPECT_EQ(s.Pixel(c.SecondAt.x, c.SecondAt.y), RGB(255, 255, 255));
  }
  // Centre and box gradients are mirrored.
  TPaintSurface s(w, h);
  PaintGradient(s.Canvas(), TRect{0, 0, w, h}, gdBigSquareBox, clBlack, clWhite, 127);
  EXPECT_EQ(s.Pixel(3, 5), s.Pixel(w - 4, 5));
  EXPECT_EQ(s.Pixel(3, 5), s.Pixel(3, h - 6));
}

TEST(KxGrafxTest, GradientsOverNothingOrOnePixelDoNotDivideByZero) {
  for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
    SCOPED_TRACE(d);
    TPaintSurface s(10, 10);
    PaintGradient(s.Canvas(), TRect{2, 2, 2, 8}, static_cast<TGradientDirection>(d), clRed, clBlue, 8);
    EXPECT_EQ(s.Pixel(2, 4), kPaper);
    PaintGradient(s.Canvas(), TRect{2, 2, 3, 3}, static_cast<TGradientDirection>(d), clRed, clBlue, 8);
    EXPECT_NE(s.Pixel(2, 2), kPaper);
    EXPECT_EQ(s.Pixel(3, 2), kPaper);
  }
}

TEST(KxGrafxTest, TransparentBitmapsLeaveTheKeyColourOut) {
  for (TColor key : {clBlack, clFuchsia}) {
    SCOPED_TRACE(key);
    Owned<TBitmap> b = MakeOwned<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(4, 4);
    b->GetCanvas()->GetBrush()->SetColor(key);
    b->GetCanvas()->FillRect(TRect{0, 0, 4, 4});
    b->GetCanvas()->SetPixels(1, 1, clLime);
    b->GetCanvas()->SetPixels(2, 2, clWhite);
    TPaintSurface s(20, 20, RGB(10, 20, 30));
    DrawTransparentBitmap(s.Canvas(), b.get(), TRect{4, 4, 12, 12}, TRect{0, 0, 4, 4}, key);
    EXPECT_EQ(s.Pixel(4, 4), RGB(10, 20, 30));
    EXPECT_EQ(s.Pixel(6, 6), RGB(0, 255, 0));  // stretched twice
    EXPECT_EQ(s.Pixel(9, 9), RGB(255, 255, 255));
    TPaintSurface t(20, 20, RGB(10, 20, 30));
    DrawFullTransparentBitmap(t.Canvas(), b.get(), TRect{4, 4, 12, 12}, TRect{0, 0, 4, 4}, key);
    EXPECT_EQ(t.Pixel(4, 4), RGB(10, 20, 30));
    EXPECT_EQ(t.Pixel(7, 7), RGB(0, 255, 0));
  }
}

TEST(KxGrafxTest, TilingCentringAndStretching) {
  Owned<TBitmap> b = Pattern(4, 3);
  TPaintSurface s(20, 20);
  TileBitmap(s.Canvas(), b.get(), TRect{2, 2, 12, 9});
  EXPECT_EQ(s.Pixel(2, 2), static_cast<COLORREF>(b->GetCanvas()->GetPixels(0, 0)));
  EXPECT_EQ(s.Pixel(6, 5), static_cast<COLORREF>(b->GetCanvas()->GetPixels(0, 0)));
  EXPECT_EQ(s.Pixel(11, 8), static_cast<COLORREF>(b->GetCanvas()->GetPixels(1, 0)));
  EXPECT_EQ(s.Pixel(12, 2), kPaper);
  TPaintSurface r(20, 20);
  TileRealizedBitmap(r.Canvas(), b.get(), TRect{5, 4, 12, 9});
  // Aligned to the canvas origin: (5, 4) shows the pixel (5 mod 4, 4 mod 3).
  EXPECT_EQ(r.Pixel(5, 4), static_cast<COLORREF>(b->GetCanvas()->GetPixels(1, 1)));
  EXPECT_EQ(r.Pixel(8, 6), static_cast<COLORREF>(b->GetCanvas()->GetPixels(0, 0)));
  TPaintSurface c(20, 20);
  Owned<TBitmap> big = Pattern(9, 9);
  CenterBitmap(c.Canvas(), big.get(), TRect{0, 0, 5, 20});
  EXPECT_EQ(c.Pixel(0, 5), static_cast<COLORREF>(big->GetCanvas()->GetPixels(2, 0)));
  EXPECT_EQ(c.Pixel(0, 4), kPaper);
}

TEST(KxGrafxTest, TrapezoidsNarrowTheWayTheyGrow) {
  TTrap t{};
  SetTrapezoid(t, TRect{0, 0, 100, 50}, 20, tsCenter, dirUp, tdLargeToSmall);
  EXPECT_EQ(t.Points[0].x, 40);
  EXPECT_EQ(t.Points[1].x, 60);
  EXPECT_EQ(t.Points[3].x, 0);
  EXPECT_EQ(t.Points[2].x, 100);
  SetTrapezoid(t, TRect{0, 0, 100, 50}, 20, tsRight, dirUp, tdSmallToLarge);
  EXPECT_EQ(t.Points[3].x, 80);
  EXPECT_EQ(t.Points[0].x, 0);
  SetTrapezoid(t, TRect{0, 0, 100, 50}, 10, tsLeft, dirRight, tdLargeToSmall);
  EXPECT_EQ(t.Points[1].y, 0);
  EXPECT_EQ(t.Points[2].y, 10);
  EXPECT_EQ(t.Points[3].y, 50);
  TPoint p = Intersect(TPoint{0, 0}, TPoint{10, 30}, TPoint{0, 10}, dirUp);
  EXPECT_EQ(p.x, 3);  // 10 * 10 / 30, fraction dropped
  EXPECT_EQ(p.y, 10);
  TTrap cut = AdjustTrapezoid(TTrap{{{40, 0}, {60, 0}, {100, 50}, {0, 50}}}, TRect{0, 25, 100, 50}, dirUp);
  EXPECT_EQ(cut.Points[0].x, 20);
  EXPECT_EQ(cut.Points[1].x, 80);
  InflateTrapezoid(cut, 2);
  EXPECT_EQ(cut.Points[0].x, 18);
  EXPECT_EQ(cut.Points[2].y, 52);
}

TEST(KxGrafxTest, TrapezoidBorderColoursBySide) {
  TPaintSurface s(40, 40);
  TTrap t{{{5, 5}, {30, 5}, {30, 30}, {5, 30}}};
  DrawTrapezoidBorder(s.Canvas(), t, TTrapBevelStyle::bsLowered, 2);
  EXPECT_EQ(s.Pixel(5, 15), kx_test::Shown(clBtnShadow));
  EXPECT_EQ(s.Pixel(6, 15), kx_test::Shown(clBtnShadow));
  EXPECT_EQ(s.Pixel(30, 15), kx_test::Shown(clBtnHighlight));
  EXPECT_EQ(s.Pixel(8, 15), kPaper);
}

TEST(KxGrafxTest, IntegerListStoredProperties) {
  Owned<TKxIntegerList> list(New<TKxIntegerList>());
  Owned<TStringStream> stream(New<TStringStream>());
  // Written through a component's property would need a host; the defined
  // properties are written and read through a filer directly.
  list->SetSorted(true);
  for (int v : {7, -2, 7, 4}) list->Add(v);
  list->SetMin(-5);
  list->SetMax(10);
  {
    Owned<TWriter> w(New<TWriter>(stream.get()));
    list->DefineProperties(w.get());
  }
  std::string text = stream->GetDataString();
  EXPECT_NE(text.find("Min = -5"), std::string::npos) << text;
  EXPECT_NE(text.find("Max = 10"), std::string::npos) << text;
  EXPECT_NE(text.find("Integers = (\r\n"), std::string::npos) << text;
  Owned<TKxIntegerList> empty(New<TKxIntegerList>());
  Owned<TStringStream> none(New<TStringStream>());
  {
    Owned<TWriter> w(New<TWriter>(none.get()));
    empty->DefineProperties(w.get());
  }
  EXPECT_EQ(none->GetDataString(), "");
}

}  // namespace
