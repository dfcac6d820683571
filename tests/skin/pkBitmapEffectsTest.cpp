#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>
#include <set>
#include <vector>

#include "skin/pkBitmap.h"
#include "tests/skin/SkinTestUtil.h"

using namespace skin_test;

namespace {

constexpr int kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF, kBlack = 0;

// One channel value per column, the same in all three channels.
Owned<TpkBitmap> Channels(std::initializer_list<int> values) {
  std::vector<int> row;
  for (int v : values) row.push_back(Gray(v));
  return MakePk(TPixels{row});
}
std::vector<int> ChannelsOf(const TpkBitmap* b) {
  std::vector<int> r;
  for (int x = 0; x < b->GetWidth(); ++x) r.push_back(b->GetPixel(x, 0) & 0xFF);
  return r;
}

using TEffect = std::function<void(TpkBitmap*)>;
struct TNamedEffect {
  const char* name;
  TEffect run;
};

// Every effect, with amounts at the Integer extremes as well as ordinary ones.
std::vector<TNamedEffect> AllEffects() {
  std::vector<TNamedEffect> all;
  for (int a : {INT_MIN, -300, -1, 0, 1, 3, 256, 300000, INT_MAX}) {
    all.push_back({"Blur", [a](TpkBitmap* b) { b->Blur(a); }});
    all.push_back({"Contrast", [a](TpkBitmap* b) { b->Contrast(a); }});
    all.push_back({"GaussianBlur", [a](TpkBitmap* b) { b->GaussianBlur(a); }});
    all.push_back({"Lightness", [a](TpkBitmap* b) { b->Lightness(a); }});
    all.push_back({"Mask", [a](TpkBitmap* b) { b->Mask(a); }});
    all.push_back({"ReplaceColor", [a](TpkBitmap* b) { b->ReplaceColor(Rgb(1, 2, 3), a); }});
    all.push_back({"Tint", [a](TpkBitmap* b) { b->Tint(a, -a, a / 2); }});
    all.push_back({"Colorize", [a](TpkBitmap* b) { b->Colorize(a, a, -a); }});
    all.push_back({"Rotate", [a](TpkBitmap* b) { b->Rotate(TPoint{a, -a}, a); }});
    all.push_back({"Saturation", [a](TpkBitmap* b) { b->Saturation(a); }});
    all.push_back({"Sharpen", [a](TpkBitmap* b) { b->Sharpen(a); }});
    all.push_back({"Sponge", [a](TpkBitmap* b) { b->Sponge(a); }});
    all.push_back({"Wave", [a](TpkBitmap* b) { b->Wave(true, a, 1, a); }});
    all.push_back({"Wave", [a](TpkBitmap* b) { b->Wave(false, 1, a, a); }});
    all.push_back({"AlphaBlend", [a](TpkBitmap* b) {
                     Owned<TpkBitmap> other = MakeRamp(b->GetWidth() + 1, b->GetHeight());
                     b->AlphaBlend(other.get(), a, true);
                   }});
  }
  for (double d : {1e300, -1e300, 1e-300, std::nan("")}) {
    all.push_back({"Rotate", [d](TpkBitmap* b) { b->Rotate(TPoint{-1, -1}, d); }});
    all.push_back({"Wave", [d](TpkBitmap* b) { b->Wave(true, d, d, d); }});
    all.push_back({"Wave", [d](TpkBitmap* b) { b->Wave(false, 0.5, 0.5, d); }});
  }
  all.push_back({"Emboss", [](TpkBitmap* b) { b->Emboss(); }});
  all.push_back({"Flip", [](TpkBitmap* b) { b->Flip(true); }});
  all.push_back({"Flip", [](TpkBitmap* b) { b->Flip(false); }});
  all.push_back({"GrayScale", [](TpkBitmap* b) { b->GrayScale(); }});
  all.push_back({"Invert", [](TpkBitmap* b) { b->Invert(); }});
  return all;
}

}  // namespace

// ---------------------------------------------------------------------------
// Every effect on every shape, at the extremes: no access outside the
// pixels (the checked build raises on one), no gap byte touched.

TEST(PkEffects, EveryEffectOnThinAndTinyBitmaps) {
  const std::pair<int, int> shapes[] = {{1, 1}, {1, 5}, {5, 1}, {2, 2}, {5, 4}};
  for (auto [w, h] : shapes) {
    for (const TNamedEffect& e : AllEffects()) {
      SCOPED_TRACE(std::string(e.name) + " on " + std::to_string(w) + "x" + std::to_string(h));
      Owned<TpkBitmap> b = MakeRamp(w, h);
      // Mark the gap bytes.
      for (int y = 0; y < h; ++y)
        for (int g = 0; g < b->GetRowGap(); ++g) b->GetPixelData()[y * b->GetRowStride() + 3 * w + g] = 0xA5;
      EXPECT_NO_THROW(e.run(b.get()));
      EXPECT_EQ(b->GetWidth(), w);
      for (int y = 0; y < h; ++y)
        for (int g = 0; g < b->GetRowGap(); ++g)
          EXPECT_EQ(b->GetPixelData()[y * b->GetRowStride() + 3 * w + g], 0xA5);
    }
  }
}

TEST(PkEffects, EmptyBitmapsAreLeftAlone) {
  for (const TNamedEffect& e : AllEffects()) {
    SCOPED_TRACE(e.name);
    Owned<TpkBitmap> b = MakeOwned<TpkBitmap>();
    EXPECT_NO_THROW(e.run(b.get()));
    EXPECT_TRUE(b->GetEmpty());
  }
}

// ---------------------------------------------------------------------------
// Channel tables

TEST(PkEffects, ChannelTables) {
  struct TCase {
    const char* name;
    TEffect run;
    std::vector<int> in, out;
  } cases[] = {
      {"Lightness 0", [](TpkBitmap* b) { b->Lightness(0); }, {0, 1, 126, 127, 200, 255}, {0, 1, 126, 127, 200, 255}},
      {"Contrast 0", [](TpkBitmap* b) { b->Contrast(0); }, {0, 1, 126, 127, 200, 255}, {0, 1, 126, 127, 200, 255}},
      {"Contrast 256", [](TpkBitmap* b) { b->Contrast(256); }, {0, 126, 127, 128, 200}, {0, 124, 128, 128, 255}},
      // t = |128 - i| * a / 256 rounds toward zero for negative amounts too.
      {"Contrast -100", [](TpkBitmap* b) { b->Contrast(-100); }, {0, 120, 127, 200}, {50, 123, 127, 172}},
      {"Lightness 128", [](TpkBitmap* b) { b->Lightness(128); }, {0, 100, 255}, {127, 177, 255}},
      {"Lightness -128", [](TpkBitmap* b) { b->Lightness(-128); }, {0, 200, 255}, {0, 100, 128}},
      {"Lightness max", [](TpkBitmap* b) { b->Lightness(INT_MAX); }, {0, 100, 255}, {255, 255, 255}},
      {"Lightness min", [](TpkBitmap* b) { b->Lightness(INT_MIN); }, {0, 100, 255}, {0, 0, 0}},
      {"Contrast max", [](TpkBitmap* b) { b->Contrast(INT_MAX); }, {0, 126, 127, 128, 129}, {0, 0, 255, 128, 255}},
      {"Contrast min", [](TpkBitmap* b) { b->Contrast(INT_MIN); }, {0, 126, 127, 128, 129}, {255, 255, 0, 128, 0}},
      {"Invert", [](TpkBitmap* b) { b->Invert(); }, {0, 1, 200, 255}, {255, 254, 55, 0}},
      {"Tint 10", [](TpkBitmap* b) { b->Tint(10, 10, 10); }, {0, 250}, {10, 255}},
      {"Tint min", [](TpkBitmap* b) { b->Tint(INT_MIN, INT_MIN, INT_MIN); }, {0, 250}, {0, 0}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<int> row;
    for (int v : c.in) row.push_back(Gray(v));
    Owned<TpkBitmap> b = MakePk(TPixels{row});
    c.run(b.get());
    EXPECT_EQ(ChannelsOf(b.get()), c.out);
  }
}

TEST(PkEffects, TintAndColorizeWorkPerChannel) {
  Owned<TpkBitmap> b = MakePk({{Rgb(10, 20, 30), Rgb(250, 250, 250)}});
  b->Tint(1, 2, 3);
  EXPECT_EQ(PixelsOf(b.get()), (TPixels{{Rgb(11, 22, 33), Rgb(251, 252, 253)}}));
  b = MakePk({{Rgb(10, 20, 30), Rgb(200, 100, 50)}});
  b->Colorize(192, 192, 192);
  EXPECT_EQ(PixelsOf(b.get()), (TPixels{{Rgb(10, 20, 30), Rgb(200, 100, 50)}}));
  b->Colorize(202, 182, 0);
  EXPECT_EQ(PixelsOf(b.get()), (TPixels{{Rgb(20, 10, 0), Rgb(210, 90, 0)}}));
  // A transparent colour is left as it is.
  b = MakePk({{Rgb(10, 20, 30), Rgb(200, 100, 50)}});
  b->SetTransparentColor(static_cast<TColor>(RGB(200, 100, 50)));
  b->Colorize(255, 255, 255);
  EXPECT_EQ(PixelsOf(b.get()), (TPixels{{Rgb(73, 83, 93), Rgb(200, 100, 50)}}));
  b->Colorize(INT_MIN, INT_MAX, 0);
  EXPECT_EQ(PixelsOf(b.get()), (TPixels{{Rgb(0, 255, 0), Rgb(200, 100, 50)}}));
}

TEST(PkEffects, GrayScaleSumsThirds) {
  Owned<TpkBitmap> b = MakePk({{kWhite, Gray(2), Rgb(30, 60, 90), Rgb(1, 1, 1), Rgb(255, 0, 2)}});
  b->GrayScale();
  EXPECT_EQ(PixelsOf(b.get()), (TPixels{{Gray(255), Gray(0), Gray(60), Gray(0), Gray(85)}}));
}

TEST(PkEffects, SaturationIsWideAndClamped) {
  struct TCase {
    int amount;
    int expected;  // of the pixel (200, 100, 50), gray 115
  } cases[] = {
      {256, Rgb(200, 100, 50)},
      {0, Gray(115)},
      {-1, Gray(115)},
      {INT_MIN, Gray(115)},
      {128, Rgb(158, 108, 83)},
      // 200 * 300000 shr 8 does not fit 16 bits: kept wide, then clamped.
      {300000, Rgb(255, 0, 0)},
      {INT_MAX, Rgb(255, 0, 0)},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.amount);
    Owned<TpkBitmap> b = MakePk({{Rgb(200, 100, 50), kWhite, kBlack}});
    b->Saturation(c.amount);
    EXPECT_EQ(PixelsOf(b.get()), (TPixels{{c.expected, kWhite, kBlack}}));
  }
}

TEST(PkEffects, MaskAndReplaceColor) {
  Owned<TpkBitmap> b = MakePk({{kRed, kGreen, kRed, Rgb(255, 0, 1)}});
  b->ReplaceColor(kRed, kBlue);
  EXPECT_EQ(PixelsOf(b.get()), (TPixels{{kBlue, kGreen, kBlue, Rgb(255, 0, 1)}}));
  b->Mask(kBlue);
  EXPECT_EQ(PixelsOf(b.get()), (TPixels{{kBlack, kWhite, kBlack, kWhite}}));
}

// ---------------------------------------------------------------------------
// Geometry

TEST(PkEffects, FlipMirrors) {
  Owned<TpkBitmap> b = MakeRamp(3, 3);
  TPixels before = PixelsOf(b.get());
  b->Flip(false);
  TPixels flipped = PixelsOf(b.get());
  EXPECT_EQ(flipped[1], before[1]);
  EXPECT_EQ(flipped[0], before[2]);
  b->Flip(false);
  EXPECT_EQ(PixelsOf(b.get()), before);
  b = MakeRamp(4, 2);
  before = PixelsOf(b.get());
  b->Flip(true);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(b->GetPixel(x, y), before[static_cast<size_t>(y)][static_cast<size_t>(3 - x)]);
}

TEST(PkEffects, Rotate180) {
  // 4 x 4 around (2, 2): both ways mirrored.
  Owned<TpkBitmap> b = MakeRamp(4, 4);
  TPixels before = PixelsOf(b.get());
  b->Rotate(TPoint{-1, -1}, 180);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(b->GetPixel(x, y), before[static_cast<size_t>(3 - y)][static_cast<size_t>(3 - x)]) << x << "," << y;
  // 3 x 3 around (1, 1): (0, 0) from (1, 1); column and row 2 keep the fill
  // colour, the source's top-left pixel.
  b = MakeRamp(3, 3);
  before = PixelsOf(b.get());
  b->Rotate(TPoint{-1, -1}, 180);
  EXPECT_EQ(b->GetPixel(0, 0), before[1][1]);
  EXPECT_EQ(b->GetPixel(1, 1), before[0][0]);
  EXPECT_EQ(b->GetPixel(1, 0), before[1][0]);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(b->GetPixel(2, i), before[0][0]);
    EXPECT_EQ(b->GetPixel(i, 2), before[0][0]);
  }
}

TEST(PkEffects, Rotate90AroundAGivenCentre) {
  // theta = -90 degrees: S = -1, C = 0: sx = cx + (Round(n) - 1) div 2,
  // sy = cy + (Round(-m) - 1) div 2.
  Owned<TpkBitmap> b = MakeRamp(4, 4);
  TPixels before = PixelsOf(b.get());
  b->Rotate(TPoint{2, 2}, 90);
  EXPECT_EQ(b->GetPixel(0, 0), before[3][0]);  // m = n = -3: sx = 2 - 2, sy = 2 + 1
  EXPECT_EQ(b->GetPixel(3, 0), before[0][0]);  // m = 3, n = -3: sx = 0, sy = 2 - 2
  EXPECT_EQ(b->GetPixel(0, 3), before[3][3]);  // m = -3, n = 3: sx = 3, sy = 3
}

TEST(PkEffects, Wave) {
  // XDiv 2/pi puts x = 1 and x = 3 at sin = 1 and -1 (shifts 2 and -2);
  // a huge YDiv keeps every row shift at 0.
  const double xDiv = 2 / std::numbers::pi, yDiv = 1e9;
  Owned<TpkBitmap> b = MakeRamp(4, 4);
  TPixels s = PixelsOf(b.get());
  b->Wave(false, xDiv, yDiv, 2);
  EXPECT_EQ(PixelsOf(b.get()), (TPixels{{s[0][0], s[2][1], s[0][2], kWhite},
                                        {s[1][0], s[3][1], s[1][2], kWhite},
                                        {s[2][0], kWhite, s[2][2], s[0][3]},
                                        {s[3][0], kWhite, s[3][2], s[1][3]}}));
  b = MakeRamp(4, 4);
  b->Wave(true, xDiv, yDiv, 2);
  // Wrapped: column 1 starts at row 2, column 3 (d = -2) at row 3 - 2 = 1.
  EXPECT_EQ(PixelsOf(b.get()), (TPixels{{s[0][0], s[2][1], s[0][2], s[1][3]},
                                        {s[1][0], s[3][1], s[1][2], s[2][3]},
                                        {s[2][0], s[0][1], s[2][2], s[3][3]},
                                        {s[3][0], s[1][1], s[3][2], s[0][3]}}));
  // A zero divisor does nothing.
  b = MakeRamp(4, 4);
  b->Wave(true, 0, 1, 5);
  b->Wave(false, 1, 0, 5);
  EXPECT_EQ(PixelsOf(b.get()), s);
}

TEST(PkEffects, WaveWithWrapOnOneRowShiftsNoRow) {
  Owned<TpkBitmap> b = MakeRamp(4, 1);
  TPixels s = PixelsOf(b.get());
  b->Wave(true, 2 / std::numbers::pi, 1e9, 7);
  EXPECT_EQ(PixelsOf(b.get()), s);
  // Row shifts still wrap the columns.
  b->Wave(true, 1e9, 2 / std::numbers::pi, 1);
  EXPECT_EQ(PixelsOf(b.get()), s);  // sin(0) = 0 on the only row
}

// ---------------------------------------------------------------------------
// Neighbourhood effects

TEST(PkEffects, BlurWorksInPlace) {
  // Pixel 2 reads pixel 1 after it was rewritten: (255 + 255 + 127 + 127) shr 2.
  Owned<TpkBitmap> b = Channels({0, 0, 255});
  b->Blur(1);
  EXPECT_EQ(ChannelsOf(b.get()), (std::vector<int>{0, 127, 191}));
  b = Channels({40, 80});
  b->Blur(0);
  EXPECT_EQ(ChannelsOf(b.get()), (std::vector<int>{40, 80}));
}

TEST(PkEffects, GaussianBlurIsBlursFromNDownToOne) {
  for (int n : {1, 3, 7, INT_MAX}) {
    SCOPED_TRACE(n);
    Owned<TpkBitmap> a = MakeRamp(6, 5), b = MakeRamp(6, 5);
    a->GaussianBlur(n);
    // Distances of 5 and more all clamp to the corners.
    int64_t passes = 0;
    for (int64_t d = n; d >= 1 && passes < 50; --d, ++passes) b->Blur(static_cast<int>(std::min<int64_t>(d, 5)));
    if (n == INT_MAX)
      for (int d = 4; d >= 1; --d) b->Blur(d);
    EXPECT_EQ(PixelsOf(a.get()), PixelsOf(b.get()));
  }
  Owned<TpkBitmap> c = MakeRamp(3, 3);
  TPixels before = PixelsOf(c.get());
  c->GaussianBlur(0);
  c->GaussianBlur(INT_MIN);
  EXPECT_EQ(PixelsOf(c.get()), before);
}

TEST(PkEffects, SharpenWorksInPlace) {
  // x = 0: S = 5 * 100 + 3 * 200; x = 1 reads the new x = 0 (62).
  Owned<TpkBitmap> b = Channels({100, 200, 100});
  b->Sharpen(1);
  EXPECT_EQ(ChannelsOf(b.get()), (std::vector<int>{62, 255, 41}));
  b = Channels({10, 90, 250});
  b->Sharpen(0);
  EXPECT_EQ(ChannelsOf(b.get()), (std::vector<int>{10, 90, 250}));
}

TEST(PkEffects, SpongeDisplacesOnlyWithAPositiveAmount) {
  for (int a : {0, -1, INT_MIN}) {
    Owned<TpkBitmap> b = MakeRamp(5, 4);
    TPixels before = PixelsOf(b.get());
    b->Sponge(a);
    EXPECT_EQ(PixelsOf(b.get()), before);
  }
  SetRandSeed(12345);
  for (int a : {1, 3, INT_MAX}) {
    SCOPED_TRACE(a);
    Owned<TpkBitmap> b = MakeRamp(5, 4);
    std::set<int> colours;
    for (auto& row : PixelsOf(b.get())) colours.insert(row.begin(), row.end());
    b->Sponge(a);
    for (auto& row : PixelsOf(b.get()))
      for (int p : row) EXPECT_TRUE(colours.count(p));
  }
}

TEST(PkEffects, EmbossAgainstTheLowerRightNeighbour) {
  auto emboss = [](int ref, int v) { return ((255 - ref) + v) >> 1; };
  for (auto [w, h] : {std::pair{4, 4}, {3, 3}, {2, 2}, {5, 3}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    Owned<TpkBitmap> b = MakeRamp(w, h);
    TPixels p = PixelsOf(b.get());
    b->Emboss();
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        // Rows above the last two: the original pixel one down and one right
        // (the last column its own column); the last two rows: pixel
        // (1, Height - 1) as it was.
        int ref = y < h - 2 ? p[static_cast<size_t>(y + 1)][static_cast<size_t>(std::min(x + 1, w - 1))]
                            : p[static_cast<size_t>(h - 1)][1];
        int v = p[static_cast<size_t>(y)][static_cast<size_t>(x)];
        int expected = emboss(ref >> 16 & 0xFF, v >> 16 & 0xFF) << 16 | emboss(ref >> 8 & 0xFF, v >> 8 & 0xFF) << 8 |
                       emboss(ref & 0xFF, v & 0xFF);
        EXPECT_EQ(b->GetPixel(x, y), expected) << x << "," << y;
      }
  }
  // Fewer than two rows or columns: unchanged.
  for (auto [w, h] : {std::pair{1, 1}, {1, 4}, {4, 1}}) {
    Owned<TpkBitmap> b = MakeRamp(w, h);
    TPixels before = PixelsOf(b.get());
    b->Emboss();
    EXPECT_EQ(PixelsOf(b.get()), before);
  }
}

// ---------------------------------------------------------------------------
// Alpha blend

TEST(PkEffects, AlphaBlendValues) {
  struct TCase {
    int amount, own, blend, expected;
  } cases[] = {
      {255, kBlack, kWhite, Gray(254)},
      {0, Gray(10), kWhite, Gray(10)},
      {128, Gray(0), Gray(200), Gray(100)},
      // Toward a darker colour: T[-200] = (128 * -200) shr 8 = -100.
      {128, Gray(200), Gray(0), Gray(100)},
      // Only the low byte of the table is used (modulo 256).
      {512, Gray(0), Gray(200), Gray(144)},
      {INT_MAX, Gray(0), Gray(1), Gray(255)},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.amount);
    Owned<TpkBitmap> b = MakePk(2, 1, c.own), src = MakePk(2, 1, c.blend);
    b->AlphaBlend(src.get(), c.amount, false);
    EXPECT_EQ(PixelsOf(b.get()), (TPixels{{c.expected, c.expected}}));
  }
}

TEST(PkEffects, AlphaBlendSkipsTheKeyOfATransparentSource) {
  Owned<TpkBitmap> b = MakePk(3, 1, kBlack);
  Owned<TpkBitmap> src = MakePk({{kRed, kWhite, kRed}});
  src->SetTransparent(true);
  b->AlphaBlend(src.get(), 255, false);
  EXPECT_EQ(PixelsOf(b.get()), (TPixels{{kBlack, Gray(254), kBlack}}));
}

TEST(PkEffects, AlphaBlendOfAnotherSize) {
  Owned<TpkBitmap> b = MakePk(4, 2, kBlack);
  Owned<TpkBitmap> src = MakePk({{kWhite, kRed}});
  src->SetTransparent(true);
  TChangeCounter counter;
  src->SetOnChange(counter.Event());
  try {
    b->AlphaBlend(src.get(), 255, false);
    FAIL() << "no exception";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.GetMessage(), "In Alpha Blend, Blend Bitmap must be same dimensions as Current Bitmap");
  }
  EXPECT_EQ(PixelsOf(b.get()), TPixels(2, std::vector<int>(4, kBlack)));
  // Stretched: the source's flag comes back, quietly; its key (the top-left
  // of the stretched copy) is skipped.
  b->AlphaBlend(src.get(), 255, true);
  EXPECT_TRUE(src->GetTransparent());
  EXPECT_EQ(counter.changes, 0);
  EXPECT_EQ(PixelsOf(b.get()), TPixels(2, (std::vector<int>{kBlack, kBlack, Rgb(254, 0, 0), Rgb(254, 0, 0)})));
}

// Blur and Sharpen against their definitions, worked in place pixel by pixel
// over the same memory, on every kind of row (edge rows read themselves).
TEST(PkEffects, BlurAndSharpenFollowTheirDefinitions) {
  auto clampTo = [](int64_t v, int hi) { return static_cast<int>(std::min<int64_t>(std::max<int64_t>(v, 0), hi)); };
  auto reference = [&](TPixels p, int a, bool sharpen) {
    const int h = static_cast<int>(p.size()), w = static_cast<int>(p[0].size());
    auto at = [&](int64_t y, int64_t x) -> int& {
      return p[static_cast<size_t>(clampTo(y, h - 1))][static_cast<size_t>(clampTo(x, w - 1))];
    };
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        int result = 0;
        for (int shift : {0, 8, 16}) {
          auto ch = [&](int64_t yy, int64_t xx) { return at(yy, xx) >> shift & 0xFF; };
          int v;
          if (sharpen) {
            int s = 0;
            for (int dy : {-1, 0, 1})
              for (int dx : {-1, 0, 1})
                if (dy || dx) s += ch(y + int64_t{dy} * a, x + int64_t{dx} * a);
            v = static_cast<int>(ClampByte((256 * ch(y, x) - 16 * s) / 128));
          } else {
            v = (ch(y + a, x + a) + ch(y - a, x + a) + ch(y + a, x - a) + ch(y - a, x - a)) >> 2;
          }
          result |= v << shift;
        }
        at(y, x) = result;
      }
    return p;
  };
  for (bool sharpen : {false, true})
    for (int a : {1, 2, -3, 10}) {
      SCOPED_TRACE(std::string(sharpen ? "Sharpen " : "Blur ") + std::to_string(a));
      Owned<TpkBitmap> b = MakeRamp(7, 5);
      // Some contrast, so that sharpening clamps here and there.
      b->SetPixel(3, 2, kWhite);
      b->SetPixel(1, 1, kBlack);
      TPixels expected = reference(PixelsOf(b.get()), a, sharpen);
      if (sharpen) b->Sharpen(a);
      else b->Blur(a);
      EXPECT_EQ(PixelsOf(b.get()), expected);
    }
}
