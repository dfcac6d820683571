// A panel draws its bevels with Frame3D: outer bevel, a BorderWidth ring in
// its colour, inner bevel, then its colour inside.
#include "ControlTestSupport.h"

#include "classlib/ExtCtrls.h"

using namespace controls_test;

namespace {

COLORREF Sys(int index) { return GetSysColor(index); }

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    panel = New<TPanel>(nullptr);
    panel->SetBounds(0, 0, 60, 40);
    panel->SetCaption("");
    panel->SetParentWindow(host.Handle());
  }
  void TearDown() override { panel->Free(); }
  THostWindow host;
  TPanel* panel = nullptr;
};

TEST_F(PanelTest, BevelsAndBorderRingInFrameColours) {
  const COLORREF hi = Sys(COLOR_BTNHIGHLIGHT), sh = Sys(COLOR_BTNSHADOW), face = Sys(COLOR_BTNFACE);
  struct Case {
    const char* name;
    TPanelBevel outer, inner;
    int bevelWidth, borderWidth;
    std::vector<TPixelProbe> probes;
  };
  const Case cases[] = {
      {"raised", bvRaised, bvNone, 1, 0,
       // top-left in highlight; bottom, right and the far corners in shadow
       {{0, 0, hi}, {30, 0, hi}, {0, 20, hi}, {59, 0, sh}, {0, 39, sh}, {59, 39, sh}, {30, 39, sh},
        {59, 20, sh}, {1, 1, face}, {30, 20, face}}},
      {"lowered", bvLowered, bvNone, 1, 0, {{0, 0, sh}, {30, 0, sh}, {59, 39, hi}, {0, 39, hi}, {1, 1, face}}},
      {"two wide", bvRaised, bvNone, 2, 0, {{1, 1, hi}, {58, 38, sh}, {2, 2, face}}},
      {"outer, ring, inner", bvRaised, bvLowered, 1, 2,
       {{0, 0, hi}, {59, 39, sh}, {1, 1, face}, {2, 2, face}, {3, 3, sh}, {30, 3, sh}, {56, 36, hi},
        {3, 36, hi}, {4, 4, face}}},
      {"none", bvNone, bvNone, 1, 0, {{0, 0, face}, {59, 39, face}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    panel->SetBevelOuter(c.outer);
    panel->SetBevelInner(c.inner);
    panel->SetBevelWidth(c.bevelWidth);
    panel->SetBorderWidth(c.borderWidth);
    TDib dib(60, 40, RGB(1, 2, 3));
    panel->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
    ExpectPixels(dib, c.probes);
  }
}

TEST_F(PanelTest, ClientAreaOfChildrenLiesInsideTheBevels) {
  panel->SetBevelOuter(bvRaised);
  panel->SetBevelInner(bvLowered);
  panel->SetBevelWidth(2);
  panel->SetBorderWidth(3);
  RECT r = panel->GetClientRect();
  panel->AdjustClientRect(r);
  EXPECT_EQ(r.left, 7);
  EXPECT_EQ(r.top, 7);
  EXPECT_EQ(r.right, 60 - 7);
  EXPECT_EQ(r.bottom, 40 - 7);
}

TEST_F(PanelTest, Frame3DLeavesTheInnerRectangle) {
  TDib dib(20, 10, RGB(0, 0, 0));
  Owned<TCanvas> canvas(New<TCanvas>());
  canvas->SetHandle(dib.DC());
  TRect r = Rect(2, 1, 18, 9);
  Frame3D(canvas.get(), r, clRed, clBlue, 2);
  canvas->SetHandle(nullptr);
  const TRect inner = Rect(4, 3, 16, 7);
  EXPECT_TRUE(EqualRect(&r, &inner));
  EXPECT_EQ(dib.Pixel(2, 1), RGB(255, 0, 0));
  EXPECT_EQ(dib.Pixel(17, 1), RGB(0, 0, 255));  // top-right corner: bottom colour
  EXPECT_EQ(dib.Pixel(2, 8), RGB(0, 0, 255));   // bottom-left corner: bottom colour
  EXPECT_EQ(dib.Pixel(3, 2), RGB(255, 0, 0));   // second ring
  EXPECT_EQ(dib.Pixel(4, 3), RGB(0, 0, 0));     // inside: untouched
}

}  // namespace
