// A bevel's shapes in the shadow and highlight colours.
#include "ControlTestSupport.h"

#include "classlib/ExtCtrls.h"

using namespace controls_test;

namespace {

TEST(BevelTest, ShapesAndStylesInShadowAndHighlight) {
  const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), sh = GetSysColor(COLOR_BTNSHADOW), bg = RGB(1, 2, 3);
  struct Case {
    const char* name;
    TBevelShape shape;
    TBevelStyle style;
    std::vector<TPixelProbe> probes;
  };
  // The bevel is 30 x 20.
  const Case cases[] = {
      {"box lowered", bsBox, bsLowered,
       {{0, 0, sh}, {0, 19, sh}, {15, 0, sh}, {29, 0, hi}, {29, 19, hi}, {15, 19, hi}, {15, 10, bg}}},
      {"box raised", bsBox, bsRaised, {{0, 0, hi}, {29, 19, sh}, {15, 10, bg}}},
      {"frame lowered", bsFrame, bsLowered,
       {{0, 0, sh}, {28, 0, sh}, {1, 1, hi}, {29, 19, hi}, {28, 18, sh}, {15, 10, bg}}},
      {"top line", bsTopLine, bsLowered, {{5, 0, sh}, {5, 1, hi}, {5, 2, bg}}},
      {"bottom line", bsBottomLine, bsRaised, {{5, 18, hi}, {5, 19, sh}, {5, 17, bg}}},
      {"left line", bsLeftLine, bsLowered, {{0, 5, sh}, {1, 5, hi}, {2, 5, bg}}},
      {"right line", bsRightLine, bsLowered, {{28, 5, sh}, {29, 5, hi}, {27, 5, bg}}},
      {"spacer", bsSpacer, bsLowered, {{0, 0, bg}, {29, 19, bg}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<TBevel> bevel(New<TBevel>(nullptr));
    bevel->SetBounds(0, 0, 30, 20);
    bevel->SetShape(c.shape);
    bevel->SetStyle(c.style);
    TDib dib(30, 20, bg);
    bevel->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
    ExpectPixels(dib, c.probes);
  }
}

}  // namespace
