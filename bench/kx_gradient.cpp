// PaintGradient over 1024 x 768 in each direction against the platform's
// GradientFill of the same rectangle, both drawing into the same bitmap (a
// DIB section, which GDI draws in the calling thread; the program checks
// that it is one). Goal: at most 2x.
//
// The baseline is GradientFill's rectangle mode in the gradient's axis:
// one rectangle for the end directions, two mirrored halves for the centre
// ones. Diagonals and boxes have no rectangle-mode equivalent; they are held
// to the same baseline, the cheapest fill GDI has (every row one colour, or
// one row copied down), which is stricter than drawing their shape with
// GradientFill's triangles (printed for the diagonals, for reference).
//
// Each timed interval ends with GdiFlush, so work GDI batched is counted
// where it was asked for. The two sides are timed in turn (the order
// swapping each round) so that a busy machine slows both alike; the figures
// are medians. After the timing each side draws once more over a sentinel
// colour, and the program checks that it covered every pixel.
#include <algorithm>
#include <cstdint>
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
const int kRuns = 31;
const TColor kFirst = RGB(0x20, 0x40, 0x80), kSecond = RGB(0xF0, 0xE0, 0x10);
const COLORREF kSentinel = RGB(1, 2, 3);

double Now() {
  LARGE_INTEGER c, f;
  QueryPerformanceCounter(&c);
  QueryPerformanceFrequency(&f);
  return double(c.QuadPart) / double(f.QuadPart);
}

double Time(const std::function<void()>& f) {
  double t0 = Now();
  f();
  GdiFlush();
  return (Now() - t0) * 1000.0;
}

double MedianOf(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

std::pair<double, double> Medians(const std::function<void()>& ours, const std::function<void()>& baseline) {
  std::vector<double> a, b;
  for (int i = 0; i < kRuns; ++i) {
    if (i % 2) {
      a.push_back(Time(ours));
      b.push_back(Time(baseline));
    } else {
      b.push_back(Time(baseline));
      a.push_back(Time(ours));
    }
  }
  return {MedianOf(a), MedianOf(b)};
}

TRIVERTEX Vertex(int x, int y, TColor c) {
  auto channel = [](int v) { return static_cast<COLOR16>(v << 8); };
  COLORREF rgb = static_cast<COLORREF>(c);
  return TRIVERTEX{x, y, channel(GetRValue(rgb)), channel(GetGValue(rgb)), channel(GetBValue(rgb)), 0};
}

// GradientFill's rectangle mode from first at the top (or left) to second;
// the centre directions as two halves meeting in second.
void PlatformGradient(HDC dc, TGradientDirection direction) {
  bool columns = direction == gdVerticalEnd || direction == gdVerticalCenter;
  bool centre = direction == gdHorizontalCenter || direction == gdVerticalCenter;
  ULONG mode = columns ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V;
  std::vector<TRIVERTEX> v;
  std::vector<GRADIENT_RECT> r;
  if (!centre) {
    v = {Vertex(0, 0, kFirst), Vertex(kWidth, kHeight, kSecond)};
    r = {{0, 1}};
  } else if (columns) {
    v = {Vertex(0, 0, kFirst), Vertex(kWidth / 2, kHeight, kSecond), Vertex(kWidth / 2, 0, kSecond),
         Vertex(kWidth, kHeight, kFirst)};
    r = {{0, 1}, {2, 3}};
  } else {
    v = {Vertex(0, 0, kFirst), Vertex(kWidth, kHeight / 2, kSecond), Vertex(0, kHeight / 2, kSecond),
         Vertex(kWidth, kHeight, kFirst)};
    r = {{0, 1}, {2, 3}};
  }
  if (!GradientFill(dc, v.data(), static_cast<ULONG>(v.size()), r.data(), static_cast<ULONG>(r.size()), mode))
    std::printf("GradientFill failed\n");
}

// The diagonal's own shape through GradientFill: two triangles.
void PlatformDiagonal(HDC dc) {
  TColor middle = RGB((0x20 + 0xF0) / 2, (0x40 + 0xE0) / 2, (0x80 + 0x10) / 2);
  TRIVERTEX v[4] = {Vertex(0, 0, kFirst), Vertex(kWidth, 0, middle), Vertex(kWidth, kHeight, kSecond),
                    Vertex(0, kHeight, middle)};
  GRADIENT_TRIANGLE t[2] = {{0, 1, 2}, {0, 2, 3}};
  if (!GradientFill(dc, v, 4, t, 2, GRADIENT_FILL_TRIANGLE)) std::printf("GradientFill failed\n");
}

// The pixels of the sentinel colour left after draw.
int Uncovered(TBitmap* target, const std::function<void()>& draw) {
  TCanvas* canvas = target->GetCanvas();
  canvas->GetBrush()->SetColor(static_cast<TColor>(kSentinel));
  canvas->FillRect(TRect{0, 0, kWidth, kHeight});
  draw();
  int bytes = target->GetPixelFormat() == pf32bit ? 4 : 3;
  const uint8_t sentinel[3] = {GetBValue(kSentinel), GetGValue(kSentinel), GetRValue(kSentinel)};
  int left = 0;
  for (int y = 0; y < kHeight; ++y) {
    const auto* row = static_cast<const uint8_t*>(target->GetScanLine(y));
    for (int x = 0; x < kWidth; ++x)
      if (std::equal(sentinel, sentinel + 3, row + x * bytes)) ++left;
  }
  return left;
}

bool IsDibSection(HDC dc) {
  DIBSECTION ds{};
  return GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof(ds), &ds) == sizeof(ds);
}

// One line per direction; true when every ratio is within the goal.
bool Measure(TPixelFormat format, const char* name) {
  Owned<TBitmap> target = MakeOwned<TBitmap>();
  target->SetPixelFormat(format);
  target->SetSize(kWidth, kHeight);
  TCanvas* canvas = target->GetCanvas();
  if (!IsDibSection(canvas->GetHandle())) {
    std::printf("the %s target is not a DIB section\n", name);
    return false;
  }
  std::printf("%s DIB section, %d x %d, medians of %d\n", name, kWidth, kHeight, kRuns);
  bool all = true;
  for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
    auto direction = static_cast<TGradientDirection>(d);
    auto ours = [&] { PaintGradient(canvas, TRect{0, 0, kWidth, kHeight}, direction, kFirst, kSecond, 64); };
    auto baseline = [&] { PlatformGradient(canvas->GetHandle(), direction); };
    auto [oursMs, baselineMs] = Medians(ours, baseline);
    int oursLeft = Uncovered(target.get(), ours), baselineLeft = Uncovered(target.get(), baseline);
    double ratio = oursMs / baselineMs;
    bool met = ratio <= 2.0 && oursLeft == 0 && baselineLeft == 0;
    all = all && met;
    std::printf("  %-20s PaintGradient %7.3f ms  GradientFill %7.3f ms  ratio %5.2f  %s",
                GetEnumName(TypeInfo<TGradientDirection>(), d).c_str(), oursMs, baselineMs, ratio,
                met ? "ok" : "NOT met");
    if (oursLeft || baselineLeft)
      std::printf("  (pixels not drawn: PaintGradient %d, GradientFill %d)", oursLeft, baselineLeft);
    if (direction == gdDiagonalUp) {
      double triangles = Medians([&] { PlatformDiagonal(canvas->GetHandle()); }, baseline).first;
      std::printf("  (GradientFill's triangles, the same shape: %.3f ms)", triangles);
    }
    std::printf("\n");
  }
  return all;
}

}  // namespace

int main() {
  std::vector<TUnitEntry> units = ClasslibUnits();
  const std::vector<TUnitEntry>& kx = KxFoundationUnits();
  units.insert(units.end(), kx.begin(), kx.end());
  InitializeUnits(units);
  bool all = Measure(pf32bit, "32-bit");
  all = Measure(pf24bit, "24-bit") && all;
  FinalizeUnits();
  return all ? 0 : 1;
}
