// A shape is drawn with its own pen and brush inside its bounds.
#include "ControlTestSupport.h"

#include "classlib/ExtCtrls.h"

using namespace controls_test;

namespace {

TEST(ShapeTest, FiguresFitTheBoundsWithPenAndBrush) {
  const COLORREF bg = RGB(1, 2, 3), pen = RGB(0, 0, 255), fill = RGB(255, 0, 0);
  struct Case {
    const char* name;
    TShapeType shape;
    int penWidth;
    std::vector<TPixelProbe> probes;
  };
  // The shape is 60 x 40.
  const Case cases[] = {
      {"rectangle", stRectangle, 1, {{0, 0, pen}, {59, 39, pen}, {59, 0, pen}, {1, 1, fill}, {30, 20, fill}}},
      // The square is 40 x 40, centred: 10 pixels free on each side.
      {"square", stSquare, 1, {{9, 20, bg}, {10, 20, pen}, {49, 20, pen}, {50, 20, bg}, {30, 20, fill}}},
      // Wide pens stay inside: the figure shrinks by the pen's width.
      {"thick rectangle", stRectangle, 3,
       {{30, 0, pen}, {30, 2, pen}, {30, 3, fill}, {59, 20, pen}, {57, 20, pen}, {56, 20, fill}}},
      {"ellipse", stEllipse, 1, {{0, 0, bg}, {59, 0, bg}, {30, 20, fill}, {0, 20, pen}, {30, 0, pen}}},
      {"circle", stCircle, 1, {{10, 0, bg}, {30, 20, fill}, {30, 0, pen}, {5, 20, bg}}},
      {"round rect", stRoundRect, 1, {{0, 0, bg}, {30, 0, pen}, {30, 20, fill}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<TShape> shape(New<TShape>(nullptr));
    shape->SetBounds(0, 0, 60, 40);
    shape->SetShape(c.shape);
    shape->GetPen()->SetColor(clBlue);
    shape->GetPen()->SetWidth(c.penWidth);
    shape->GetBrush()->SetColor(clRed);
    TDib dib(60, 40, bg);
    shape->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
    ExpectPixels(dib, c.probes);
  }
}

}  // namespace
