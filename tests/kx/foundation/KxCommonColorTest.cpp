// HSL on the 0..240 scale and the colour arithmetic built on it.
#include <gtest/gtest.h>

#include <vector>

#include "kx/foundation/KxCommon.h"

namespace {

struct THsl {
  int H, S, L;
};

THsl HslOf(TColor c) {
  uint8_t h, s, l;
  ColorToHSL(c, h, s, l);
  return {h, s, l};
}

TEST(KxCommonColorTest, KnownColoursInHSL) {
  struct TCase {
    TColor Color;
    THsl Hsl;
  };
  const std::vector<TCase> cases = {
      {clRed, {0, 240, 120}},    {clLime, {80, 240, 120}},  {clBlue, {160, 240, 120}},
      {clYellow, {40, 240, 120}}, {clWhite, {0, 0, 240}},    {clBlack, {0, 0, 0}},
      {clGray, {0, 0, 120}},      {clNavy, {160, 240, 60}},  {RGB(255, 128, 128), {0, 240, 180}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Color);
    THsl got = HslOf(c.Color);
    EXPECT_EQ(got.H, c.Hsl.H);
    EXPECT_EQ(got.S, c.Hsl.S);
    EXPECT_EQ(got.L, c.Hsl.L);
    EXPECT_EQ(ColorHue(c.Color), c.Hsl.H);
    EXPECT_EQ(ColorSaturation(c.Color), c.Hsl.S);
    EXPECT_EQ(ColorLuminance(c.Color), c.Hsl.L);
  }
  // A system colour is resolved first.
  EXPECT_EQ(ColorLuminance(clBtnFace), ColorLuminance(ColorToRGB(clBtnFace)));
}

TEST(KxCommonColorTest, HSLToColourAndBack) {
  EXPECT_EQ(HSLtoColor(0, 240, 120), clRed);
  EXPECT_EQ(HSLtoColor(239, 240, 120), clRed);  // the sector runs on 239
  // Sectors of 239 / 6: hue 80 lies just past the start of the third.
  EXPECT_EQ(HSLtoColor(80, 240, 120), static_cast<TColor>(RGB(0, 255, 2)));
  EXPECT_EQ(HSLtoColor(160, 240, 120), static_cast<TColor>(RGB(4, 0, 255)));
  EXPECT_EQ(HSLtoColor(0, 0, 240), clWhite);
  EXPECT_EQ(HSLtoColor(100, 200, 0), clBlack);
  // Grey 120 is 127.5: the tie goes to the even 128.
  EXPECT_EQ(HSLtoColor(0, 0, 120), static_cast<TColor>(RGB(128, 128, 128)));
  // Round trips stay within the 240 scale's step.
  for (TColor c : {TColor(RGB(10, 200, 30)), TColor(RGB(250, 240, 10)), TColor(RGB(90, 90, 200)),
                   TColor(RGB(200, 100, 50)), TColor(RGB(1, 2, 3))}) {
    SCOPED_TRACE(c);
    THsl h = HslOf(c);
    TColor back = HSLtoColor(static_cast<uint8_t>(h.H), static_cast<uint8_t>(h.S), static_cast<uint8_t>(h.L));
    EXPECT_NEAR(GetRValue(back), GetRValue(c), 3);
    EXPECT_NEAR(GetGValue(back), GetGValue(c), 3);
    EXPECT_NEAR(GetBValue(back), GetBValue(c), 3);
  }
}

// Saturation or lightness beyond 240 pushes a channel below 0 or above 1:
// it is clamped, not wrapped into the byte (-0.016 x 255 would be 252).
TEST(KxCommonColorTest, HSLBeyondTheScaleClampsChannels) {
  TColor c = HSLtoColor(0, 255, 60);
  EXPECT_GT(GetRValue(c), 120);
  EXPECT_EQ(GetGValue(c), 0);
  EXPECT_EQ(GetBValue(c), 0);
  // Lightness 250 is 1.04 of full: white, not 266 wrapped to 10.
  EXPECT_EQ(HSLtoColor(0, 0, 250), clWhite);
  EXPECT_EQ(HSLtoColor(0, 0, 255), clWhite);
}

TEST(KxCommonColorTest, DarkerLighterAndAdjust) {
  EXPECT_EQ(DarkerColor(clWhite, 255), clBlack);
  for (TColor c : {clBlack, clNavy, clRed, clBtnFace, TColor(RGB(12, 34, 56))}) {
    SCOPED_TRACE(c);
    EXPECT_EQ(LighterColor(c, 255), clWhite);
    EXPECT_EQ(DarkerColor(c, 255), clBlack);
  }
  EXPECT_EQ(AdjustColor(clBtnFace, 0), clBtnFace);  // still a system colour
  EXPECT_GE(AdjustColor(clBtnFace, 10), 0);
  EXPECT_GE(AdjustColor(clBtnFace, -10), 0);
  EXPECT_EQ(AdjustColor(clRed, -60), DarkerColor(clRed, 60));
  EXPECT_EQ(AdjustColor(clRed, 60), LighterColor(clRed, 60));
  // Only lightness moves: red 60 darker is (0, 240, 60).
  THsl d = HslOf(DarkerColor(clRed, 60));
  EXPECT_EQ(d.H, 0);
  EXPECT_EQ(d.S, 240);
  EXPECT_EQ(d.L, 60);
}

TEST(KxCommonColorTest, BlendAndCloseness) {
  const TColor a = RGB(200, 100, 0), b = RGB(0, 50, 250);
  EXPECT_EQ(BlendColors(a, b, 255), a);
  EXPECT_EQ(BlendColors(a, b, 0), b);
  EXPECT_EQ(BlendColors(clWhite, clBlack, 128), static_cast<TColor>(RGB(128, 128, 128)));
  EXPECT_EQ(BlendColors(clBtnFace, clBtnFace, 77), ColorToRGB(clBtnFace));
  EXPECT_TRUE(ColorsTooClose(clWhite, RGB(250, 250, 250)));
  EXPECT_TRUE(ColorsTooClose(clRed, RGB(230, 0, 0)));
  EXPECT_FALSE(ColorsTooClose(clRed, clMaroon));  // lightness 120 against 60
  EXPECT_FALSE(ColorsTooClose(clRed, clYellow));  // hue 0 against 40
}

TEST(KxCommonColorTest, TheTestDisplayHasFullColour) { EXPECT_TRUE(FullColorSupport()); }

}  // namespace
