// PaintGradient over 1024 x 768 in each direction, against the platform's
// GradientFill of the same rectangle (a two-colour rectangle fill in the
// gradient's own axis; the diagonal and box directions against the
// vertical one), both drawing into the same 32-bit bitmap. Goal: <= 2x.
// Each line prints the medians of the runs and their ratio.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/Units.h"
#include "kx/foundation/KxGrafx.h"
#include "kx/foundation/KxUnits.h"

namespace {

const int kWidth = 1024;
const int kHeight = 768;
const int kRuns = 15;

double Now() {
  LARGE_INTEGER c, f;
  QueryPerformanceCounter(&c);
  QueryPerformanceFrequency(&f);
  return double(c.QuadPart) / double(f.QuadPart);
}

double Time(const std::function<void()>& f) {
  double t0 = Now();
  f();
  return (Now() - t0) * 1000.0;
}

double MedianOf(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Taken in turn so that a busy machine slows both alike.
std::pair<double, double> Medians(const std::function<void()>& ours, const std::function<void()>& baseline) {
  std::vector<double> a, b;
  for (int i = 0; i < kRuns; ++i) {
    b.push_back(Time(baseline));
    a.push_back(Time(ours));
  }
  return {MedianOf(a), MedianOf(b)};
}

void PlatformGradient(HDC dc, bool vertical) {
  TRIVERTEX v[2] = {{0, 0, 0x2000, 0x4000, 0x8000, 0}, {kWidth, kHeight, 0xF000, 0xE000, 0x1000, 0}};
  GRADIENT_RECT r{0, 1};
  if (!GradientFill(dc, v, 2, &r, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H))
    std::printf("GradientFill failed\n");
}

}  // namespace

int main() {
  std::vector<TUnitEntry> units = ClasslibUnits();
  const std::vector<TUnitEntry>& kx = KxFoundationUnits();
  units.insert(units.end(), kx.begin(), kx.end());
  InitializeUnits(units);
  bool all = true;
  {
    Owned<TBitmap> target = MakeOwned<TBitmap>();
    target->SetPixelFormat(pf32bit);
    target->SetSize(kWidth, kHeight);
    TCanvas* canvas = target->GetCanvas();
    const TColor first = RGB(0x20, 0x40, 0x80), second = RGB(0xF0, 0xE0, 0x10);
    for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
      auto direction = static_cast<TGradientDirection>(d);
      bool columns = direction == gdVerticalEnd || direction == gdVerticalCenter;
      auto [ours, baseline] = Medians(
          [&] { PaintGradient(canvas, TRect{0, 0, kWidth, kHeight}, direction, first, second, 64); },
          [&] { PlatformGradient(canvas->GetHandle(), !columns); });
      // Both really drew: a pixel near the far corner is neither black nor
      // the other's colour.
      PlatformGradient(canvas->GetHandle(), !columns);
      TColor platform = canvas->GetPixels(kWidth - 2, kHeight - 2);
      PaintGradient(canvas, TRect{0, 0, kWidth, kHeight}, direction, first, second, 64);
      TColor kx = canvas->GetPixels(kWidth - 2, kHeight - 2);
      std::printf("  (far corner: GradientFill %06X, PaintGradient %06X)\n", static_cast<unsigned>(platform),
                  static_cast<unsigned>(kx));
      double ratio = ours / baseline;
      bool met = ratio <= 2.0;
      all = all && met;
      std::printf("%-20s ours %8.2f ms  GradientFill %8.2f ms  ratio %5.2f  %s\n",
                  GetEnumName(TypeInfo<TGradientDirection>(), d).c_str(), ours, baseline, ratio,
                  met ? "ok" : "over 2x");
    }
  }
  FinalizeUnits();
  return all ? 0 : 1;
}
