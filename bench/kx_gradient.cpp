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
// where it was asked for. The two sides are timed in turn (bench/Bench.h) so
// that a busy machine slows both alike; the figures are medians. After the
// timing each side draws once more over a sentinel colour, and the program
// checks that it covered every pixel.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/Bench.h"
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

const char* const kName = "kx gradient";

// f, then GdiFlush: what GDI batched is counted where it was asked for.
std::function<void()> Flushed(std::function<void()> f) {
  return [f = std::move(f)] {
    f();
    GdiFlush();
  };
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
    bench::Fail(kName, "GradientFill failed");
}

// The diagonal's own shape through GradientFill: two triangles.
void PlatformDiagonal(HDC dc) {
  TColor middle = RGB((0x20 + 0xF0) / 2, (0x40 + 0xE0) / 2, (0x80 + 0x10) / 2);
  TRIVERTEX v[4] = {Vertex(0, 0, kFirst), Vertex(kWidth, 0, middle), Vertex(kWidth, kHeight, kSecond),
                    Vertex(0, kHeight, middle)};
  GRADIENT_TRIANGLE t[2] = {{0, 1, 2}, {0, 2, 3}};
  if (!GradientFill(dc, v, 4, t, 2, GRADIENT_FILL_TRIANGLE)) bench::Fail(kName, "GradientFill failed");
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

// One result per direction; false when a side left pixels undrawn.
bool Measure(TPixelFormat format, const char* name) {
  Owned<TBitmap> target = MakeOwned<TBitmap>();
  target->SetPixelFormat(format);
  target->SetSize(kWidth, kHeight);
  TCanvas* canvas = target->GetCanvas();
  if (!IsDibSection(canvas->GetHandle())) {
    bench::Fail(kName, std::string("the ") + name + " target is not a DIB section");
    return false;
  }
  bool all = true;
  for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
    auto direction = static_cast<TGradientDirection>(d);
    auto ours = [&] { PaintGradient(canvas, TRect{0, 0, kWidth, kHeight}, direction, kFirst, kSecond, 64); };
    auto baseline = [&] { PlatformGradient(canvas->GetHandle(), direction); };
    auto [oursMs, baselineMs] = bench::Medians(Flushed(ours), Flushed(baseline), kRuns);
    const std::string what = GetEnumName(TypeInfo<TGradientDirection>(), d) + " " + name;
    int oursLeft = Uncovered(target.get(), ours), baselineLeft = Uncovered(target.get(), baseline);
    if (oursLeft || baselineLeft) {
      bench::Fail(kName, what + ": pixels not drawn: PaintGradient " + std::to_string(oursLeft) + ", GradientFill " +
                             std::to_string(baselineLeft));
      all = false;
      continue;
    }
    bench::Report(kName, what + " vs GradientFill", oursMs, baselineMs, 2.0);
    if (direction == gdDiagonalUp) {
      auto [triangles, rectangles] =
          bench::Medians(Flushed([&] { PlatformDiagonal(canvas->GetHandle()); }), Flushed(baseline), kRuns);
      bench::Note(kName, std::string("triangles ") + name + " vs GradientFill's rectangles", triangles,
                  rectangles);
    }
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
