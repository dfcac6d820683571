// The bordered controls: the border's client rectangle, the LED display's
// dot geometry, cells and scrolling, and the meter's values, bar and
// segments, drawn by the parent into a DIB.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "kx/foundation/KxBorder.h"
#include "tests/kx/foundation/KxListTestSupport.h"

using namespace kx_test;
using controls_test::TDib;

namespace {

class KxBorderTest : public ::testing::Test {
 protected:
  template <class T>
  T* Make(int left, int top, int width, int height) {
    auto* c = New<T>(host.Control());
    c->SetParent(host.Control());
    c->SetBounds(left, top, width, height);
    return c;
  }
  // What the parent paints of its windowless children.
  void Paint(TDib& dib) { host.Control()->PaintControls(dib.DC(), nullptr); }

  THostedContainer host{400, 300};
};

TEST_F(KxBorderTest, ClientRectangleLosesEveryFrameOnItsSides) {
  auto* border = Make<TKxBorder>(0, 0, 50, 50);
  struct TCase {
    TFrameStyleEx Outer;
    int Width;
    TFrameStyleEx Inner;
    int Bevel;
    TSides Sides;
    TRect Client;
  };
  const TCase cases[] = {
      {fsFlat, 2, fsLowered, 1, sdAllSides, {5, 5, 45, 45}},
      {fsGroove, 0, fsNone, 1, sdAllSides, {2, 2, 48, 48}},
      {fsStatus, 0, fsPopup, 3, sdAllSides, {6, 6, 44, 44}},
      {fsFlatBold, 1, fsFlat, 1, TSides{sdLeft, sdTop}, {4, 4, 49, 49}},
      {fsNone, 30, fsNone, 1, sdAllSides, {0, 0, 0, 0}},  // turned inside out
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Outer));
    border->SetBorderOuter(c.Outer);
    border->SetBorderWidth(c.Width);
    border->SetBorderInner(c.Inner);
    border->SetBevelWidth(c.Bevel);
    border->SetBorderSides(c.Sides);
    RECT r = border->GetClientRect();
    EXPECT_EQ(r.left, c.Client.left);
    EXPECT_EQ(r.top, c.Client.top);
    EXPECT_EQ(r.right, c.Client.right);
    EXPECT_EQ(r.bottom, c.Client.bottom);
  }
}

// --- LED display ----------------------------------------------------------------

TEST_F(KxBorderTest, LEDDotsFollowTheClientHeight) {
  auto* led = Make<TKxLEDDisplay>(0, 0, 100, 30);
  EXPECT_EQ(led->GetClientRect().bottom - led->GetClientRect().top, 28);
  EXPECT_EQ(led->GetDotSize(), 3);  // 28 / 7.6 = 3.68
  EXPECT_EQ(led->GetDotGap(), 0);
  led->SetHeight(100);  // 98 / 7.6 = 12.9: gap 1
  EXPECT_EQ(led->GetDotSize(), 12);
  EXPECT_EQ(led->GetDotGap(), 1);
  EXPECT_EQ(led->GetCellWidth(), 78);
  led->SetBorderOuter(fsNone);  // a frame change counts too: 100 / 7.6
  EXPECT_EQ(led->GetDotSize(), 13);
}

// The dots of a cell as text rows: '#' lit, '.' off, read at each dot's
// middle in the painted DIB.
std::vector<std::string> CellDots(const TDib& dib, TKxLEDDisplay* led, int cellLeft) {
  TRect client = led->GetClientRect();
  int pitch = led->GetDotSize() + led->GetDotGap();
  int top = client.top + (client.bottom - client.top - led->GetCellHeight()) / 2;
  std::vector<std::string> rows;
  for (int r = 0; r < 7; ++r) {
    std::string row;
    for (int c = 0; c < 6; ++c) {
      int x = led->GetLeft() + client.left + cellLeft + c * pitch + led->GetDotSize() / 2;
      int y = led->GetTop() + top + r * pitch + led->GetDotSize() / 2;
      COLORREF p = dib.Pixel(x, y);
      row += p == Rgb(led->GetSegOnColor()) ? '#' : p == Rgb(led->GetSegOffColor()) ? '.' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST_F(KxBorderTest, LEDCellsShowTheirGlyphs) {
  auto* led = Make<TKxLEDDisplay>(10, 10, 100, 30);
  led->SetCaption("A1\t");
  TDib dib(400, 300, RGB(1, 2, 3));
  Paint(dib);
  int cell = led->GetCellWidth();
  EXPECT_EQ(CellDots(dib, led, 0), (std::vector<std::string>{
                                        ".###..",
                                        "#...#.",
                                        "#...#.",
                                        "#####.",
                                        "#...#.",
                                        "#...#.",
                                        "#...#.",
                                    }));
  EXPECT_EQ(CellDots(dib, led, cell), (std::vector<std::string>{
                                           "..#...",
                                           ".##...",
                                           "..#...",
                                           "..#...",
                                           "..#...",
                                           "..#...",
                                           ".###..",
                                       }));
  // The tab shows the block; the cells beyond the caption are blank.
  EXPECT_EQ(CellDots(dib, led, 2 * cell)[3], ".###..");
  EXPECT_EQ(CellDots(dib, led, 3 * cell)[3], "......");
}

TEST_F(KxBorderTest, LEDScrollsInFromTheLeftAndTellsWhenDone) {
  TFakeTimers timers;
  auto* led = Make<TKxLEDDisplay>(10, 10, 100, 30);
  led->SetCaption("I");
  led->SetScrollType(stLeftToRight);
  EXPECT_FALSE(timers.Running(100));  // scrolling is off: the type starts nothing
  led->SetScrolling(true);
  EXPECT_TRUE(timers.Running(100));
  int completed = 0;
  struct TCounter {
    int* n;
    void Done(TObject*) { ++*n; }
  } counter{&completed};
  led->OnScrollComplete = TNotifyEvent(&counter, &TCounter::Done);
  int pitch = led->GetDotSize() + led->GetDotGap();
  int cell = led->GetCellWidth();
  // Before the first tick the text lies wholly left of the panel; after
  // enough ticks for one cell it stands at the left edge.
  for (int i = 0; i < cell / pitch; ++i) timers.Fire(100);
  EXPECT_EQ(led->GetCurrentStep(), cell);
  TDib dib(400, 300, RGB(1, 2, 3));
  Paint(dib);
  EXPECT_EQ(CellDots(dib, led, 0)[0], "#####.");  // "I": a full top row
  // It completes when it has moved by the caption's width plus the panel's.
  EXPECT_EQ(led->GetStepCount(), cell * 1 + 100);
  int ticks = cell / pitch;
  while (completed == 0 && ticks < 1000) {
    timers.Fire(100);
    ++ticks;
  }
  EXPECT_EQ(completed, 1);
  EXPECT_EQ(ticks, (cell + 100 + pitch - 1) / pitch);
  EXPECT_EQ(led->GetCurrentStep(), 0);
  // Switched off: the timer stops; no type: switching on starts nothing.
  led->SetScrolling(false);
  EXPECT_FALSE(timers.Running(100));
  led->SetScrollType(stNone);
  led->SetScrolling(true);
  EXPECT_FALSE(timers.Running(100));
  led->SetScrollType(stRightToLeft);
  EXPECT_TRUE(timers.Running(100));
}

// --- meter ----------------------------------------------------------------------

TEST_F(KxBorderTest, MeterValuesStayInRange) {
  auto* meter = Make<TKxMeter>(0, 0, 150, 30);
  struct TCase {
    int Min, Max, Set, Value, Percent, Lit;
  };
  const TCase cases[] = {
      {0, 100, 50, 50, 50, 5},   {0, 100, 90, 90, 90, 9},   {0, 100, 150, 100, 100, 10},
      {0, 100, -5, 0, 0, 0},     {-50, 50, -20, -20, 30, 3}, {7, 7, 9, 7, 0, 0},  // Min = Max
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Set);
    meter->SetMin(c.Min);
    meter->SetMax(c.Max);
    meter->SetValue(c.Set);
    EXPECT_EQ(meter->GetValue(), c.Value);
    EXPECT_EQ(meter->GetPercent(), c.Percent);
    EXPECT_EQ(meter->LitSegments(), c.Lit);
    TDib dib(400, 300, RGB(1, 2, 3));
    Paint(dib);  // never divides by zero
  }
  meter->SetMin(0);
  meter->SetMax(100);
  meter->SetValue(40);
  meter->AddValue(25);
  EXPECT_EQ(meter->GetValue(), 65);
}

TEST_F(KxBorderTest, MeterSegmentsTakeTheirGroupsColours) {
  auto* meter = Make<TKxMeter>(10, 10, 150, 30);
  meter->SetShowPercent(false);
  meter->SetValue(90);
  TDib dib(400, 300, RGB(1, 2, 3));
  Paint(dib);
  // Ten segments along the client width, from the left.
  TRect client = meter->GetClientRect();
  int spacing = meter->GetSegSpacing();
  int extent = client.right - client.left - 2 * spacing;
  int length = (extent - 8 * spacing) / 10;
  int y = 10 + (client.top + client.bottom) / 2;
  std::vector<COLORREF> seen;
  for (int k = 0; k < 10; ++k) {
    int x = 10 + client.left + spacing + k * (length + spacing) + length / 2;
    seen.push_back(dib.Pixel(x, y));
  }
  COLORREF g = RGB(0, 128, 0), yl = RGB(255, 255, 0), r = RGB(255, 0, 0), off = RGB(0, 0, 0);
  EXPECT_EQ(seen, (std::vector<COLORREF>{g, g, g, g, g, yl, yl, yl, r, off}));
}

TEST_F(KxBorderTest, TrapezoidalMeterNarrowsTowardsItsEnd) {
  auto* meter = Make<TKxMeter>(10, 10, 150, 30);
  meter->SetMeterType(mtNormal);
  meter->SetShowPercent(false);
  meter->SetMeterShape(msTrapezoidal);
  meter->SetValue(100);
  TDib dib(400, 300, RGB(1, 2, 3));
  Paint(dib);
  // Full height at the start, TrapezoidMin (6) pixels, centred, at the end;
  // outside the trapezoid the button face.
  EXPECT_EQ(dib.Pixel(10 + 3, 10 + 2), Rgb(clRed));
  EXPECT_EQ(dib.Pixel(10 + 3, 10 + 27), Rgb(clRed));
  EXPECT_EQ(dib.Pixel(10 + 146, 10 + 15), Rgb(clRed));
  EXPECT_EQ(dib.Pixel(10 + 146, 10 + 3), Rgb(clBtnFace));
  EXPECT_EQ(dib.Pixel(10 + 146, 10 + 26), Rgb(clBtnFace));
  // Half the value: the far half is empty.
  meter->SetValue(50);
  TDib half(400, 300, RGB(1, 2, 3));
  Paint(half);
  EXPECT_EQ(half.Pixel(10 + 30, 10 + 15), Rgb(clRed));
  EXPECT_EQ(half.Pixel(10 + 120, 10 + 15), Rgb(clBtnFace));
}

TEST_F(KxBorderTest, MeterBarShowsForAnyValueAboveMin) {
  auto* meter = Make<TKxMeter>(10, 10, 150, 30);
  meter->SetMeterType(mtNormal);
  meter->SetShowPercent(false);
  meter->SetMin(-100);
  meter->SetMax(100);
  meter->SetValue(-50);  // a quarter of the range, below zero
  TDib dib(400, 300, RGB(1, 2, 3));
  Paint(dib);
  TRect client = meter->GetClientRect();
  int width = client.right - client.left;
  int y = 10 + (client.top + client.bottom) / 2;
  EXPECT_EQ(dib.Pixel(10 + client.left + 2, y), Rgb(clRed));
  EXPECT_EQ(dib.Pixel(10 + client.left + width / 4 - 2, y), Rgb(clRed));
  EXPECT_EQ(dib.Pixel(10 + client.left + width / 4 + 2, y), Rgb(clBlack));
  // The percent text shows the share of the range, over the bar.
  meter->SetShowPercent(true);
  EXPECT_EQ(meter->GetPercent(), 25);
}

}  // namespace

namespace {

class TBorderRoot : public TPanel {
  DECLARE_CLASS(TBorderRoot, TPanel)
  using TPanel::TPanel;
  TKxLEDDisplay* Led1 = nullptr;
  TKxMeter* Meter1 = nullptr;
};
PUBLISHED(TBorderRoot) {
  p.Field("Led1", &TBorderRoot::Led1);
  p.Field("Meter1", &TBorderRoot::Meter1);
}

TEST_F(KxBorderTest, StoredFormsKeepValuesAndDropRetiredNames) {
  if (!GetClass("TBorderRoot")) RegisterClass(TBorderRoot::StaticClass());
  const std::string text =
      "object Root: TBorderRoot\n"
      "  object Led1: TKxLEDDisplay\n"
      "    Caption = 'HELLO'\n"
      "    SegSpacing = 3\n"
      "    DisplayCells = 12\n"
      "    ScrollType = stLeftToRight\n"
      "  end\n"
      "  object Meter1: TKxMeter\n"
      "    Max = 50\n"
      "    Value = 20\n"
      "    Seg2Count = 4\n"
      "    MeterType = mtBar3D\n"
      "  end\n"
      "end\n";
  Owned<TBorderRoot> root(New<TBorderRoot>(nullptr));
  root->SetParent(host.Control());
  Owned<TStringStream> in(New<TStringStream>(text));
  in->ReadComponent(root.get());
  ASSERT_NE(root->Led1, nullptr);
  ASSERT_NE(root->Meter1, nullptr);
  EXPECT_EQ(root->Led1->GetCaption(), "HELLO");
  EXPECT_EQ(root->Led1->GetScrollType(), stLeftToRight);
  EXPECT_EQ(root->Led1->GetWidth(), 100);  // the LED display's own defaults
  EXPECT_EQ(root->Led1->GetBorderOuter(), fsStatus);
  EXPECT_EQ(root->Meter1->GetValue(), 20);
  EXPECT_EQ(root->Meter1->GetSegCount(1), 4);
  EXPECT_EQ(root->Meter1->GetMeterType(), mtBar3D);

  Owned<TStringStream> out(New<TStringStream>());
  out->WriteComponent(root.get());
  std::string written = out->GetDataString();
  SCOPED_TRACE(written);
  EXPECT_EQ(written.find("SegSpacing"), std::string::npos);  // the LED's retired one
  EXPECT_EQ(written.find("DisplayCells"), std::string::npos);
  EXPECT_EQ(written.find("BorderOuter"), std::string::npos);  // at its new default
  EXPECT_NE(written.find("Seg2Count = 4"), std::string::npos);
  EXPECT_EQ(written.find("Seg1Count"), std::string::npos);
}

}  // namespace
