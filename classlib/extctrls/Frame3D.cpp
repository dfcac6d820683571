#include "classlib/extctrls/Frame3D.h"

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
  canvas->GetPen()->SetWidth(1);
  // The rings run on the last row and column inside the rectangle.
  rect.bottom -= 1;
  rect.right -= 1;
  for (; width > 0; --width) {
    // GDI leaves out a polyline's last point: the top edge stops short of
    // the top-right corner, and the bottom edge runs one past the left
    // column so the bottom-left corner takes the bottom colour.
    TPoint topLeftRun[3] = {{rect.left, rect.bottom}, {rect.left, rect.top}, {rect.right, rect.top}};
    canvas->GetPen()->SetColor(topColor);
    canvas->Polyline(topLeftRun, 3);
    TPoint bottomRightRun[3] = {{rect.right, rect.top}, {rect.right, rect.bottom}, {rect.left - 1, rect.bottom}};
    canvas->GetPen()->SetColor(bottomColor);
    canvas->Polyline(bottomRightRun, 3);
    InflateRect(&rect, -1, -1);
  }
  rect.bottom += 1;
  rect.right += 1;
}
