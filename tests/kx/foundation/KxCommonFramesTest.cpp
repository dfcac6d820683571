// The frame, border, bar and arrow drawing of KxCommon, checked pixel by
// pixel on a DIB: each ring's colours, the corner and line-end pixels, and
// the interior each function hands back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kx/foundation/KxCommon.h"
#include "tests/kx/foundation/KxTestSupport.h"

namespace {

using kx_test::kPaper;
using kx_test::Shown;
using kx_test::TPaintSurface;

bool SameRect(const TRect& a, const TRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::string Text(const TRect& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}
#define EXPECT_RECT(a, b) EXPECT_TRUE(SameRect(a, b)) << Text(a) << " vs " << Text(b)

const TRect kBox{2, 3, 22, 18};

TEST(KxCommonFramesTest, DrawSidesColoursLineEndsAndInterior) {
  TPaintSurface s(30, 24);
  TRect inner = DrawSides(s.Canvas(), kBox, clRed, clBlue, sdAllSides);
  EXPECT_RECT(inner, (TRect{3, 4, 21, 17}));
  kx_test::PumpMessages(0);
  // Upper-left colour on the left column and top row; the lower-right
  // colour wins both corners it shares with them.
  controls_test::ExpectPixels(s.Dib(), {{2, 3, Shown(clRed)},
                                        {2, 16, Shown(clRed)},
                                        {2, 17, Shown(clBlue)},
                                        {20, 3, Shown(clRed)},
                                        {21, 3, Shown(clBlue)},
                                        {21, 17, Shown(clBlue)},
                                        {10, 17, Shown(clBlue)},
                                        {3, 4, kPaper},
                                        {22, 3, kPaper},
                                        {2, 18, kPaper}});
}

TEST(KxCommonFramesTest, DrawSidesWithoutColoursDrawsNothingButStillShrinks) {
  struct TCase {
    TSides Sides;
    TRect Inner;
  };
  const std::vector<TCase> cases = {
      {sdAllSides, {3, 4, 21, 17}},
      {{}, kBox},
      {{sdLeft}, {3, 3, 22, 18}},
      {{sdTop, sdBottom}, {2, 4, 22, 17}},
      {{sdRight}, {2, 3, 21, 18}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Sides.Bits());
    TPaintSurface s(30, 24);
    EXPECT_RECT(DrawSides(s.Canvas(), kBox, clNone, clNone, c.Sides), c.Inner);
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 30; ++x) ASSERT_EQ(s.Pixel(x, y), kPaper) << x << "," << y;
  }
  // One colour of clNone leaves its two sides out only.
  TPaintSurface s(30, 24);
  DrawSides(s.Canvas(), kBox, clNone, clBlue, sdAllSides);
  EXPECT_EQ(s.Pixel(2, 10), kPaper);
  EXPECT_EQ(s.Pixel(10, 3), kPaper);
  EXPECT_EQ(s.Pixel(21, 10), Shown(clBlue));
}

TEST(KxCommonFramesTest, DrawBevelOfWidthZeroIsTheRectangleAndWiderBevelsNest) {
  TPaintSurface s(30, 24);
  EXPECT_RECT(DrawBevel(s.Canvas(), kBox, clRed, clBlue, 0, sdAllSides), kBox);
  EXPECT_EQ(s.Pixel(2, 10), kPaper);
  EXPECT_RECT(DrawBevel(s.Canvas(), kBox, clRed, clBlue, 3, sdAllSides), (TRect{5, 6, 19, 15}));
  EXPECT_EQ(s.Pixel(4, 10), Shown(clRed));
  EXPECT_EQ(s.Pixel(19, 10), Shown(clBlue));
  EXPECT_EQ(s.Pixel(5, 10), kPaper);
}

// For every style: the colour of the outer and inner ring on the left
// (upper-left role) and right (lower-right role) sides, and the interior.
struct TStyleCase {
  TFrameStyleEx Style;
  TColor OuterLeft, OuterRight, InnerLeft, InnerRight;  // clNone: paper
  int Inset;
};

TEST(KxCommonFramesTest, DrawBorderSidesEveryStyle) {
  const std::vector<TStyleCase> cases = {
      {fsNone, clNone, clNone, clNone, clNone, 0},
      {fsFlat, cl3DDkShadow, cl3DDkShadow, clNone, clNone, 1},
      {fsGroove, clBtnShadow, clBtnHighlight, clBtnHighlight, clBtnShadow, 2},
      {fsBump, clBtnHighlight, clBtnShadow, clBtnShadow, clBtnHighlight, 2},
      {fsLowered, clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight, 2},
      {fsButtonDown, clBtnText, clBtnText, clBtnShadow, clBtnShadow, 2},
      {fsRaised, cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow, 2},
      {fsButtonUp, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow, 2},
      {fsStatus, clBtnShadow, clBtnHighlight, clNone, clNone, 1},
      {fsPopup, clBtnHighlight, clBtnShadow, clNone, clNone, 1},
      {fsFlatBold, clBtnShadow, clBtnShadow, clBtnShadow, clBtnShadow, 2},
  };
  for (const TStyleCase& c : cases) {
    SCOPED_TRACE(GetEnumName(TypeInfo<TFrameStyleEx>(), c.Style));
    TPaintSurface s(30, 24);
    TRect inner = DrawBorderSides(s.Canvas(), kBox, c.Style, sdAllSides);
    EXPECT_RECT(inner, (TRect{kBox.left + c.Inset, kBox.top + c.Inset, kBox.right - c.Inset, kBox.bottom - c.Inset}));
    auto want = [](TColor col) { return col == clNone ? kPaper : Shown(col); };
    int y = 10;
    EXPECT_EQ(s.Pixel(kBox.left, y), want(c.OuterLeft));
    EXPECT_EQ(s.Pixel(kBox.right - 1, y), want(c.OuterRight));
    EXPECT_EQ(s.Pixel(kBox.left + 1, y), want(c.InnerLeft));
    EXPECT_EQ(s.Pixel(kBox.right - 2, y), want(c.InnerRight));
    EXPECT_EQ(s.Pixel(kBox.left + c.Inset, y), kPaper) << "interior";
  }
}

// The groove on the left and top only: its open ends keep the groove closed
// with upper-left pixels, and the right and bottom sides stay undrawn.
TEST(KxCommonFramesTest, GrooveOnTwoSidesClosesItsOpenEnds) {
  TPaintSurface s(30, 24);
  TRect inner = DrawBorderSides(s.Canvas(), kBox, fsGroove, {sdLeft, sdTop});
  EXPECT_RECT(inner, (TRect{4, 5, 22, 18}));
  COLORREF u = Shown(clBtnShadow), d = Shown(clBtnHighlight);
  controls_test::ExpectPixels(s.Dib(), {{21, 3, u},
                                        {2, 17, u},
                                        {2, 3, u},
                                        {3, 4, d},
                                        {10, 3, u},
                                        {10, 4, d},
                                        {21, 10, kPaper},
                                        {10, 17, kPaper}});
}

TEST(KxCommonFramesTest, ColourBordersShadeTheBaseColour) {
  const TColor base = RGB(40, 120, 200);
  struct TCase {
    TFrameStyleEx Style;
    TColor OuterLeft, OuterRight;
    int Inset;
  };
  const std::vector<TCase> cases = {
      {fsNone, clNone, clNone, 0},
      {fsFlat, DarkerColor(base, 50), DarkerColor(base, 50), 1},
      {fsLowered, DarkerColor(base, 50), LighterColor(base, 100), 2},
      {fsRaised, LighterColor(base, 50), DarkerColor(base, 100), 2},
      {fsButtonUp, LighterColor(base, 100), DarkerColor(base, 100), 2},
      {fsButtonDown, DarkerColor(base, 100), DarkerColor(base, 100), 2},
      {fsStatus, DarkerColor(base, 50), LighterColor(base, 100), 1},
      {fsPopup, LighterColor(base, 100), DarkerColor(base, 50), 1},
      {fsFlatBold, DarkerColor(base, 50), DarkerColor(base, 50), 2},
      {fsGroove, DarkerColor(base, 50), LighterColor(base, 100), 2},
      {fsBump, LighterColor(base, 100), DarkerColor(base, 50), 2},
      {fsFlatRounded, LighterColor(base, 100), DarkerColor(base, 50), 2},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(GetEnumName(TypeInfo<TFrameStyleEx>(), c.Style));
    TPaintSurface s(30, 24);
    TRect inner = DrawColorBorderSides(s.Canvas(), kBox, base, c.Style, sdAllSides);
    EXPECT_EQ(inner.left, kBox.left + c.Inset);
    EXPECT_EQ(inner.bottom, kBox.bottom - c.Inset);
    auto want = [](TColor col) { return col == clNone ? kPaper : Shown(col); };
    EXPECT_EQ(s.Pixel(kBox.left, 10), want(c.OuterLeft));
    EXPECT_EQ(s.Pixel(kBox.right - 1, 10), want(c.OuterRight));
  }
  // The unpressed colour button's inner upper-left ring is 40 lighter, not 50.
  TPaintSurface s(30, 24);
  DrawColorButtonBorder(s.Canvas(), kBox, base, false);
  EXPECT_EQ(s.Pixel(kBox.left + 1, 10), Shown(LighterColor(base, 40)));
  EXPECT_EQ(s.Pixel(kBox.right - 2, 10), Shown(DarkerColor(base, 50)));
}

TEST(KxCommonFramesTest, FocusBorderDotsEverySecondPixelFromTheSecond) {
  TPaintSurface s(30, 24, RGB(255, 255, 255));
  TRect inner = DrawFocusBorder(s.Canvas(), TRect{0, 0, 10, 8});
  EXPECT_RECT(inner, (TRect{1, 1, 9, 7}));
  std::string top, left;
  for (int x = 0; x < 10; ++x) top += s.Pixel(x, 0) == 0 ? '#' : '.';
  for (int y = 0; y < 8; ++y) left += s.Pixel(0, y) == 0 ? '#' : '.';
  EXPECT_EQ(top, ".#.#.#.#.#");
  EXPECT_EQ(left, ".#.#.#.#");
  EXPECT_EQ(s.Pixel(3, 7), 0u);
  EXPECT_EQ(s.Pixel(9, 3), 0u);
  EXPECT_EQ(s.Pixel(3, 3), RGB(255, 255, 255));
}

TEST(KxCommonFramesTest, RoundedFlatBorderLeavesCornersOutAndDotsInside) {
  TPaintSurface s(30, 24);
  TRect inner = DrawRoundedFlatBorder(s.Canvas(), kBox, clRed, sdAllSides);
  EXPECT_RECT(inner, (TRect{4, 5, 20, 16}));
  COLORREF red = Shown(clRed);
  controls_test::ExpectPixels(s.Dib(), {{2, 3, kPaper},
                                        {21, 3, kPaper},
                                        {2, 17, kPaper},
                                        {21, 17, kPaper},
                                        {3, 4, red},
                                        {20, 4, red},
                                        {20, 16, red},
                                        {3, 16, red},
                                        {4, 3, red},
                                        {19, 3, red},
                                        {20, 3, kPaper},
                                        {2, 5, red},
                                        {2, 15, red},
                                        {2, 16, kPaper}});
  // Without the top side, the left line runs up to the top.
  TPaintSurface t(30, 24);
  DrawRoundedFlatBorder(t.Canvas(), kBox, clRed, {sdLeft, sdRight, sdBottom});
  EXPECT_EQ(t.Pixel(2, 3), red);
  EXPECT_EQ(t.Pixel(3, 4), kPaper);
}

TEST(KxCommonFramesTest, InnerOuterBordersChainTheirSteps) {
  TPaintSurface s(40, 30);
  TRect box{0, 0, 40, 30};
  // Outer flat (1), border width 2, inner lowered (2).
  TRect inner = DrawInnerOuterBorders(s.Canvas(), box, fsFlat, fsLowered, 2, sdAllSides, 1, clLime, clWhite,
                                      clGray, clRed, 0, clYellow, clAqua, false, false);
  EXPECT_RECT(inner, (TRect{5, 5, 35, 25}));
  EXPECT_EQ(s.Pixel(0, 10), Shown(clRed));
  EXPECT_EQ(s.Pixel(1, 10), Shown(clLime));
  EXPECT_EQ(s.Pixel(2, 10), Shown(clLime));
  EXPECT_EQ(s.Pixel(3, 10), Shown(clBtnShadow));
  EXPECT_EQ(s.Pixel(4, 10), Shown(cl3DDkShadow));

  // Soft inner flat border: four lines without their corner pixels, and the
  // flat colour adjusted.
  TPaintSurface t(40, 30);
  inner = DrawInnerOuterBorders(t.Canvas(), box, fsNone, fsFlat, 0, sdAllSides, 1, clLime, clWhite, clGray,
                                RGB(100, 100, 100), 30, clYellow, clAqua, false, true);
  EXPECT_RECT(inner, (TRect{1, 1, 39, 29}));
  EXPECT_EQ(t.Pixel(0, 0), kPaper);
  EXPECT_EQ(t.Pixel(39, 29), kPaper);
  EXPECT_EQ(t.Pixel(0, 10), Shown(LighterColor(RGB(100, 100, 100), 30)));

  // Popup and status outer styles take the bevel width and the given colours.
  TPaintSurface u(40, 30);
  inner = DrawInnerOuterBorders(u.Canvas(), box, fsStatus, fsNone, 0, sdAllSides, 3, clLime, clWhite, clGray, clRed,
                                0, clYellow, clAqua, false, false);
  EXPECT_RECT(inner, (TRect{3, 3, 37, 27}));
  EXPECT_EQ(u.Pixel(2, 10), Shown(clGray));
  EXPECT_EQ(u.Pixel(37, 10), Shown(clWhite));
}

TEST(KxCommonFramesTest, RoundedOuterBorderShowsTheParentInItsCorners) {
  TPaintSurface s(40, 30);
  TRect inner = DrawInnerOuterBorders(s.Canvas(), TRect{0, 0, 40, 30}, fsFlatRounded, fsNone, 1, sdAllSides, 1,
                                      clLime, clWhite, clGray, clRed, 0, clYellow, clAqua, false, false);
  EXPECT_EQ(s.Pixel(0, 0), Shown(clAqua));    // parent colour in the corner
  EXPECT_EQ(s.Pixel(1, 1), Shown(clRed));     // the rounded corner's dot
  EXPECT_EQ(s.Pixel(2, 1), Shown(clLime));    // border ring inside the line
  EXPECT_EQ(s.Pixel(0, 10), Shown(clRed));    // the rounded line
  EXPECT_RECT(inner, (TRect{3, 3, 37, 27}));  // rounded (2) then the border ring (1)
  // Transparent: the corner is left as it was.
  TPaintSurface t(40, 30);
  DrawInnerOuterBorders(t.Canvas(), TRect{0, 0, 40, 30}, fsFlatRounded, fsNone, 1, sdAllSides, 1, clLime,
                        clWhite, clGray, clRed, 0, clYellow, clAqua, true, false);
  EXPECT_EQ(t.Pixel(0, 0), kPaper);
  EXPECT_EQ(t.Pixel(2, 1), Shown(clLime));
}

TEST(KxCommonFramesTest, DropShadowFadesOutwards) {
  TPaintSurface s(30, 30, RGB(255, 255, 255));
  DrawDropShadow(s.Canvas(), TRect{0, 0, 20, 20}, 4, clBlack);
  // Ring 1 is half black over white; each later ring lighter by 128 div 4.
  EXPECT_EQ(s.Pixel(20, 10), Shown(BlendColors(clBlack, clWhite, 128)));
  EXPECT_EQ(s.Pixel(10, 20), Shown(BlendColors(clBlack, clWhite, 128)));
  EXPECT_EQ(s.Pixel(21, 10), Shown(BlendColors(clBlack, clWhite, 96)));
  EXPECT_EQ(s.Pixel(23, 10), Shown(BlendColors(clBlack, clWhite, 32)));
  EXPECT_EQ(s.Pixel(24, 10), RGB(255, 255, 255));
  EXPECT_EQ(s.Pixel(20, 0), RGB(255, 255, 255));  // offset down by the ring
  EXPECT_EQ(s.Pixel(10, 10), RGB(255, 255, 255));
  TPaintSurface t(30, 30, RGB(255, 255, 255));
  DrawDropShadow(t.Canvas(), TRect{0, 0, 20, 20}, 0, clBlack);
  EXPECT_EQ(t.Pixel(20, 10), RGB(255, 255, 255));
}

TEST(KxCommonFramesTest, FrameErasesWithTheControlColourThenDrawsTheStyle) {
  TPaintSurface s(30, 20);
  DrawFrame(s.Canvas(), 30, 20, fsFlat, clYellow, clRed, {sdLeft, sdTop}, false);
  EXPECT_EQ(s.Pixel(0, 10), Shown(clRed));
  EXPECT_EQ(s.Pixel(1, 10), Shown(clYellow));
  EXPECT_EQ(s.Pixel(29, 10), Shown(clYellow));
  EXPECT_EQ(s.Pixel(28, 10), Shown(clYellow));
  EXPECT_EQ(s.Pixel(27, 10), kPaper);
  TPaintSurface t(30, 20);
  DrawFrame(t.Canvas(), 30, 20, fsLowered, clWindow, clRed, sdAllSides, true);
  EXPECT_EQ(t.Pixel(0, 10), Shown(clBtnShadow));
  EXPECT_EQ(t.Pixel(2, 10), kPaper);
  TPaintSurface u(30, 20);
  DrawFrame(u.Canvas(), 30, 20, fsLowered, clYellow, clRed, sdAllSides, true);
  EXPECT_EQ(u.Pixel(0, 10), Shown(DarkerColor(clYellow, 50)));
}

// Runs of the bar colour along a line of the bar.
std::vector<int> Runs(const TPaintSurface& s, COLORREF colour, int fixed, int from, int to, bool vertical) {
  std::vector<int> runs;
  int n = 0;
  for (int i = from; i < to; ++i) {
    COLORREF p = vertical ? s.Pixel(fixed, i) : s.Pixel(i, fixed);
    if (p == colour) {
      ++n;
    } else if (n) {
      runs.push_back(n);
      n = 0;
    }
  }
  if (n) runs.push_back(n);
  return runs;
}

TEST(KxCommonFramesTest, LEDBarOfEightyPixelsAndTwentySegmentsShowsTenSegmentsOfEight) {
  TPaintSurface s(100, 20);
  DrawLEDBar(s.Canvas(), TRect{10, 2, 90, 14}, orHorizontal, clLime, clBlack, 20, 50, false);
  // Five lit segments of eight pixels, each inside its one-pixel outline.
  EXPECT_EQ(Runs(s, Shown(clLime), 8, 0, 100, false), (std::vector<int>{6, 6, 6, 6, 6}));
  EXPECT_EQ(s.Pixel(10, 8), Shown(clBlack));
  EXPECT_EQ(s.Pixel(11, 8), Shown(clLime));
  EXPECT_EQ(s.Pixel(51, 8), Shown(clBlack));  // the sixth segment is dark
  EXPECT_EQ(s.Pixel(9, 8), kPaper);           // nothing left of the bar
  EXPECT_EQ(s.Pixel(90, 8), kPaper);

  // Vertically, lighting starts at the bottom.
  TPaintSurface v(20, 100);
  DrawLEDBar(v.Canvas(), TRect{2, 10, 14, 90}, orVertical, clLime, clBlack, 20, 30, false);
  EXPECT_EQ(Runs(v, Shown(clLime), 8, 0, 100, true), (std::vector<int>{6, 6, 6}));
  EXPECT_EQ(v.Pixel(8, 88), Shown(clLime));
  EXPECT_EQ(v.Pixel(8, 12), Shown(clBlack));
}

TEST(KxCommonFramesTest, LEDBarMarginsTakeWhatTheSegmentsLeave) {
  // 100 pixels, 7 segments: 14 each, then n grows by 2 div 14 = 0, margin 1.
  TPaintSurface s(120, 20);
  DrawLEDBar(s.Canvas(), TRect{10, 2, 110, 14}, orHorizontal, clLime, clBlack, 7, 100, false);
  std::vector<int> lit = Runs(s, Shown(clLime), 8, 0, 120, false);
  EXPECT_EQ(lit, (std::vector<int>(7, 12)));
  EXPECT_EQ(s.Pixel(10, 8), Shown(clBlack));  // the margin
  EXPECT_EQ(s.Pixel(11, 8), Shown(clBlack));  // the first outline
  EXPECT_EQ(s.Pixel(12, 8), Shown(clLime));
}

TEST(KxCommonFramesTest, LEDBarWithoutSegmentsDrawsNothing) {
  TPaintSurface s(100, 20);
  DrawLEDBar(s.Canvas(), TRect{10, 2, 90, 14}, orHorizontal, clLime, clBlack, 0, 50, false);
  for (int x = 0; x < 100; ++x) ASSERT_EQ(s.Pixel(x, 8), kPaper) << x;
}

TEST(KxCommonFramesTest, ThemedLEDBarDrawsProgressChunksOnlyOverTheLitPart) {
  ASSERT_TRUE(ThemeServices().GetThemesEnabled());
  TPaintSurface s(100, 20);
  DrawLEDBar(s.Canvas(), TRect{0, 0, 82, 12}, orHorizontal, clLime, clBlack, 10, 50, true);
  // The chunk covers (1, 1) .. (41, 11): the lit half of the inner 80.
  EXPECT_NE(s.Pixel(20, 6), kPaper);
  EXPECT_EQ(s.Pixel(45, 6), kPaper);
  EXPECT_EQ(s.Pixel(0, 6), kPaper);
  // With themes off the same call draws the classic segments.
  kx_test::TThemesOff off;
  TPaintSurface t(100, 20);
  DrawLEDBar(t.Canvas(), TRect{0, 0, 82, 12}, orHorizontal, clLime, clBlack, 10, 50, true);
  EXPECT_EQ(t.Pixel(70, 6), Shown(clBlack));
}

// The text a percent bar shows, drawn on its own in the bar's font.
TEST(KxCommonFramesTest, PercentBarAboveOneHundredFillsAllAndShowsTheNumber) {
  TPaintSurface s(80, 20);
  TRect r{0, 0, 80, 20};
  DrawPercentBar(s.Canvas(), r, orHorizontal, clNavy, clWhite, 150, true);
  // Only bar and text colours, and the text's pixels where "150%" would be.
  TPaintSurface ref(80, 20);
  ref.Canvas()->GetBrush()->SetColor(clNavy);
  ref.Canvas()->GetFont()->SetColor(clWhite);
  SetTextAlign(ref.Canvas()->GetHandle(), TA_CENTER | TA_TOP);
  ref.Canvas()->TextRect(r, 40, (20 - ref.Canvas()->TextHeight("X")) / 2, "150%");
  int textPixels = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 80; ++x) {
      ASSERT_EQ(s.Pixel(x, y), ref.Pixel(x, y)) << x << "," << y;
      textPixels += s.Pixel(x, y) == Shown(clWhite);
    }
  EXPECT_GT(textPixels, 10);
}

// The text's ink, left and right, in the bar drawn at an offset.
TEST(KxCommonFramesTest, PercentBarTextIsCentredInItsOwnRectangle) {
  TPaintSurface s(200, 20);
  TRect r{100, 0, 180, 20};
  DrawPercentBar(s.Canvas(), r, orHorizontal, clNavy, clWhite, 40, true);
  int first = -1, last = -1;
  for (int x = 100; x < 180; ++x)
    for (int y = 0; y < 20; ++y) {
      COLORREF p = s.Pixel(x, y);
      bool ink = (x < 132 && p == Shown(clWhite)) || (x >= 132 && p == Shown(clNavy));
      if (ink) {
        if (first < 0) first = x;
        last = x;
      }
    }
  ASSERT_GE(first, 0);
  EXPECT_NEAR((first + last) / 2.0, 140.0, 2.0);
  // The filled part is the left 40 per cent, and nothing leaves the bar.
  EXPECT_EQ(s.Pixel(100, 1), Shown(clNavy));
  EXPECT_EQ(s.Pixel(131, 1), Shown(clNavy));
  EXPECT_EQ(s.Pixel(132, 1), Shown(clWhite));
  EXPECT_EQ(s.Pixel(99, 10), kPaper);
  EXPECT_EQ(s.Pixel(180, 10), kPaper);
}

TEST(KxCommonFramesTest, DisabledArrowsAreShadowColouredInBothStyles) {
  for (TKxUIStyle style : {uiWindows95, uiWindowsXP}) {
    SCOPED_TRACE(style);
    TPaintSurface s(20, 20);
    DrawDropDownArrow(s.Canvas(), TRect{0, 0, 17, 20}, style, false, false);
    TPaintSurface t(20, 20);
    DrawSpinArrow(t.Canvas(), TRect{0, 0, 17, 20}, style, dirUp, false, false);
    int shadow = 0, other = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        for (const TPaintSurface* p : {&s, &t}) {
          COLORREF c = p->Pixel(x, y);
          if (c == Shown(clBtnShadow)) ++shadow;
          else if (c != kPaper) ++other;
        }
      }
    EXPECT_GT(shadow, 8);
    EXPECT_EQ(other, 0);
  }
}

// The painted area of an arrow: its bounding box.
TRect Ink(const TPaintSurface& s, int w, int h) {
  TRect r{w, h, -1, -1};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (s.Pixel(x, y) != kPaper) {
        r.left = std::min<int>(r.left, x);
        r.top = std::min<int>(r.top, y);
        r.right = std::max<int>(r.right, x + 1);
        r.bottom = std::max<int>(r.bottom, y + 1);
      }
  return r;
}

TEST(KxCommonFramesTest, WindowsNinetyFiveDropDownArrowSitsAtTheCentreAndMovesWhenPressed) {
  // 16 x 20: centre x 8, y = 10 - 1 - 1 = 8: the triangle (8, 11), (5, 7),
  // (12, 7), filled without its right and bottom edges.
  TPaintSurface s(20, 24);
  DrawDropDownArrow(s.Canvas(), TRect{0, 0, 16, 20}, uiWindows95, false, true);
  TRect ink = Ink(s, 20, 24);
  EXPECT_EQ(ink.top, 7);
  EXPECT_EQ(ink.left, 5);
  EXPECT_EQ(s.Pixel(8, 8), 0u);
  TPaintSurface p(20, 24);
  DrawDropDownArrow(p.Canvas(), TRect{0, 0, 16, 20}, uiWindows95, true, true);
  TRect pressed = Ink(p, 20, 24);
  EXPECT_EQ(pressed.left, ink.left + 1);
  EXPECT_EQ(pressed.top, ink.top + 1);
}

TEST(KxCommonFramesTest, SpinArrowsPointTheirWay) {
  struct TCase {
    TDirection Direction;
  };
  for (TDirection d : {dirUp, dirDown, dirLeft, dirRight}) {
    SCOPED_TRACE(GetEnumName(TypeInfo<TDirection>(), d));
    for (TKxUIStyle style : {uiWindows95, uiWindowsXP}) {
      TPaintSurface s(24, 24);
      DrawSpinArrow(s.Canvas(), TRect{0, 0, 24, 24}, style, d, false, true);
      TRect ink = Ink(s, 24, 24);
      ASSERT_LT(ink.left, ink.right);
      // The point of the arrow is its narrowest edge: count the ink on the
      // first and last row or column.
      auto count = [&](bool column, int at) {
        int n = 0;
        for (int i = 0; i < 24; ++i) n += (column ? s.Pixel(at, i) : s.Pixel(i, at)) != kPaper;
        return n;
      };
      int first, last;
      if (d == dirUp || d == dirDown) {
        first = count(false, ink.top);
        last = count(false, ink.bottom - 1);
      } else {
        first = count(true, ink.left);
        last = count(true, ink.right - 1);
      }
      if (d == dirUp || d == dirLeft) EXPECT_LT(first, last) << style;
      else EXPECT_GT(first, last) << style;
    }
  }
}

TEST(KxCommonFramesTest, XPArrowColourFallsBackWhenThemesAreOff) {
  kx_test::TThemesOff off;
  TPaintSurface s(20, 24);
  DrawDropDownArrow(s.Canvas(), TRect{0, 0, 16, 20}, uiWindowsXP, false, true);
  int dark = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 20; ++x) dark += s.Pixel(x, y) == Shown(cl3DDkShadow);
  EXPECT_GT(dark, 8);
}

TEST(KxCommonFramesTest, FrameStyleNamesStopBeforeTheRoundedStyle) {
  const TTypeInfo* ti = TFrameStyleTypeInfo();
  EXPECT_EQ(ti->EnumNames.size(), 11u);
  EXPECT_EQ(ti->EnumNames.back(), "fsFlatBold");
  EXPECT_EQ(TypeInfo<TFrameStyleEx>()->EnumNames.size(), 12u);
  EXPECT_EQ(GetEnumName(TypeInfo<TKxRegAccessKey>(), keyAllAccess), "keyAllAccess");
  EXPECT_EQ(GetEnumName(TypeInfo<TKxWindowsVersion>(), WinServer2003), "WinServer2003");
}

}  // namespace
