// Progress bar: percentages from parts, the stored form's order, the shape
// deciding the orientation, the two styles' switches, what the classic bar
// draws where, and the stored form.
#include <gtest/gtest.h>

#include "classlib/Forms.h"
#include "kx/controls/KxPrgres.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

TEST(KxProgressBar, PartsCompleteSetThePercentageOfTheTotal) {
  TControlHost host;
  auto* bar = host.Add<TKxProgressBar>(0, 0, 200, 24);
  bar->SetPercent(40);
  bar->SetPartsComplete(3);
  EXPECT_EQ(bar->GetPercent(), 40) << "no total: the percentage stays";
  bar->SetTotalParts(8);
  EXPECT_EQ(bar->GetPartsComplete(), 0u);
  EXPECT_EQ(bar->GetPercent(), 0) << "a new total starts again";
  const struct {
    uint32_t parts;
    uint16_t percent;
  } cases[] = {{1, 12}, {3, 38}, {4, 50}, {5, 62}, {8, 100}, {20, 100}};  // halves to even
  for (const auto& c : cases) {
    SCOPED_TRACE(c.parts);
    bar->SetPartsComplete(c.parts);
    EXPECT_EQ(bar->GetPercent(), c.percent);
  }
  EXPECT_EQ(bar->GetPartsComplete(), 8u) << "capped at the total";
  bar->SetTotalParts(10);
  bar->IncParts(3);
  bar->IncPartsByOne();
  EXPECT_EQ(bar->GetPercent(), 40);
}

TEST(KxProgressBar, OnChangeTellsEachNewPercentage) {
  TControlHost host;
  auto* bar = host.Add<TKxProgressBar>(0, 0, 200, 24);
  std::vector<int> seen;
  struct THandler {
    std::vector<int>* seen;
    void Changed(TObject*, int percent) { seen->push_back(percent); }
  } handler{&seen};
  bar->SetOnChange(TProgressChangeEvent(&handler, &THandler::Changed));
  bar->SetPercent(10);
  bar->SetPercent(10);
  bar->SetTotalParts(4);
  bar->SetPartsComplete(1);
  EXPECT_EQ(seen, (std::vector<int>{10, 0, 25}));
}

TEST(KxProgressBar, TheShapeDecidesTheOrientationAndTheStyleItsExtras) {
  TControlHost host;
  auto* bar = host.Add<TKxProgressBar>(0, 0, 200, 24);
  EXPECT_EQ(bar->GetOrientation(), orHorizontal);
  bar->SetBounds(0, 0, 20, 100);
  EXPECT_EQ(bar->GetOrientation(), orVertical);
  bar->SetBounds(0, 0, 100, 20);
  EXPECT_EQ(bar->GetOrientation(), orHorizontal);
  bar->SetBarStyle(bsLED);
  EXPECT_FALSE(bar->GetShowPercent());
  EXPECT_EQ(bar->GetInteriorOffset(), 1);
  bar->SetBarStyle(bsTraditional);
  EXPECT_TRUE(bar->GetShowPercent());
  EXPECT_EQ(bar->GetInteriorOffset(), 0);
}

TEST(KxProgressBar, TheClassicBarFillsItsShareOfTheInterior) {
  TThemesOff off;
  TControlHost host;
  auto* bar = host.Add<TKxProgressBar>(0, 0, 200, 24);
  bar->SetBarColor(clRed);
  bar->SetBackColor(clWhite);
  bar->SetShowPercent(false);
  bar->SetPercent(50);
  TRect area = bar->BarArea();
  EXPECT_EQ(area, (TRect{2, 2, 198, 22})) << "inside the lowered frame";
  TDib dib(200, 24, RGB(1, 2, 3));
  PaintControl(bar, dib);
  TRect red = ColourBox(dib, RGB(255, 0, 0), TRect{0, 0, 200, 24});
  EXPECT_EQ(red.left, area.left);
  EXPECT_NEAR(red.right - red.left, (area.right - area.left) / 2, 1);
  EXPECT_EQ(dib.Pixel(area.right - 2, 10), RGB(255, 255, 255));

  bar->SetBarStyle(bsLED);
  EXPECT_EQ(bar->BarArea(), (TRect{3, 3, 197, 21})) << "one more pixel of back colour round the segments";
  TDib led(200, 24, RGB(1, 2, 3));
  PaintControl(bar, led);
  EXPECT_EQ(led.Pixel(2, 10), RGB(255, 255, 255));
  EXPECT_TRUE(Inside(ColourBox(led, RGB(255, 0, 0), TRect{0, 0, 200, 24}), TRect{3, 3, 101, 21}));
}

TEST(KxProgressBar, AStoredFormKeepsItsPartsAndPercentWhateverTheOrder) {
  for (uint32_t stored : {7u, 15u}) {
    SCOPED_TRACE(stored);
    std::string text =
        "object Form1: TForm\n"
        "  object Bar1: TKxProgressBar\n"
        "    PartsComplete = " + std::to_string(stored) + "\n"
        "    Percent = 70\n"
        "    TotalParts = 10\n"
        "  end\n"
        "end\n";
    Owned<TForm> form(New<TForm>(nullptr, 0));
    ReadForm(text, form.get());
    auto* bar = dynamic_cast<TKxProgressBar*>(form->FindComponent("Bar1"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetPartsComplete(), stored > 10 ? 10u : stored) << "capped once loaded";
    EXPECT_EQ(bar->GetTotalParts(), 10u);
    EXPECT_EQ(bar->GetPercent(), 70) << "the stored percentage wins";
  }
}

TEST(KxProgressBar, TheStoredFormReadsBackTheSame) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* bar = New<TKxProgressBar>(form.get());
  bar->SetParent(form.get());
  bar->SetName("Bar1");
  bar->SetBarStyle(bsLED);
  bar->SetNumSegments(12);
  bar->SetTotalParts(9);
  bar->SetPartsComplete(3);
  std::string text = WriteForm(form.get());
  EXPECT_NE(text.find("InteriorOffset = 1"), std::string::npos) << text;
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  EXPECT_EQ(WriteForm(copy.get()), text);
}
