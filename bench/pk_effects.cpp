// TpkBitmap's effects and smooth stretching on a 1024 x 768 picture, against
// baselines doing comparable work over the same pixels, measured in the same
// run (bench/Bench.h).
//   channel tables (Lightness, Contrast, Tint, Invert, GrayScale, Colorize):
//     a plain 256-entry lookup over every pixel byte; goal <= 1.5x
//   Blur (4 taps): the same lookup loop; goal <= 4x
//   Sharpen and Emboss (9 taps): the same lookup loop; goal <= 12x
//   SmoothStretchDraw to 581 x 387 (its temporary bitmap included):
//     StretchBlt with COLORONCOLOR between the same DCs; goal <= 4x
#include <cstdint>
#include <functional>
#include <vector>

#include "bench/Bench.h"
#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "classlib/Units.h"
#include "skin/pkBitmap.h"
#include "skin/pkUnits.h"

namespace {

const char* const kName = "pk effects";
const int kWidth = 1024;
const int kHeight = 768;
const int kRuns = 15;

// A picture with some detail, as a photograph has.
void Fill(TpkBitmap* b) {
  for (int y = 0; y < kHeight; ++y) {
    TPixelRow<RGBTRIPLE> row = b->GetRow(y);
    for (int x = 0; x < kWidth; ++x)
      row[x] = RGBTRIPLE{static_cast<BYTE>(x + 3 * y), static_cast<BYTE>((x ^ y) & 255), static_cast<BYTE>(x * y)};
  }
}

// The baseline: every pixel byte through a 256-entry table, rows by raw
// pointers.
void LookupLoop(uint8_t* bits, int stride, const uint8_t (&table)[256]) {
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* p = bits + static_cast<size_t>(y) * stride;
    for (int i = 0; i < 3 * kWidth; ++i) p[i] = table[p[i]];
  }
}

}  // namespace

int main() {
  std::vector<TUnitEntry> units = ClasslibUnits();
  units.insert(units.end(), SkinUnits().begin(), SkinUnits().end());
  InitializeUnits(units);
  {
    Owned<TpkBitmap> b = MakeOwned<TpkBitmap>();
    b->SetSize(kWidth, kHeight);
    Fill(b.get());
    uint8_t table[256];
    for (int i = 0; i < 256; ++i) table[i] = static_cast<uint8_t>(255 - i);
    uint8_t* bits = b->GetPixelData();
    const int stride = b->GetRowStride();
    // Warmed up first, so that the processor's clock has settled.
    for (int i = 0; i < 20; ++i) LookupLoop(bits, stride, table);
    auto lookup = [&] { LookupLoop(bits, stride, table); };

    struct {
      const char* name;
      std::function<void()> run;
      double goal;
    } cases[] = {
        {"Lightness", [&] { b->Lightness(40); }, 1.5},
        {"Contrast", [&] { b->Contrast(60); }, 1.5},
        {"Tint", [&] { b->Tint(10, -10, 20); }, 1.5},
        {"Invert", [&] { b->Invert(); }, 1.5},
        {"GrayScale", [&] { b->GrayScale(); }, 1.5},
        {"Colorize", [&] { b->Colorize(200, 180, 190); }, 1.5},
        {"Blur (4 taps)", [&] { b->Blur(1); }, 4},
        {"Sharpen (9 taps)", [&] { b->Sharpen(1); }, 12},
        {"Emboss (9 taps)", [&] { b->Emboss(); }, 12},
    };
    for (auto& c : cases) {
      Fill(b.get());
      auto [ours, baseline] = bench::Medians(c.run, lookup, kRuns);
      bench::Report(kName, c.name, ours, baseline, c.goal);
    }

    Fill(b.get());
    Owned<TpkBitmap> target = MakeOwned<TpkBitmap>();
    target->SetSize(581, 387);
    TCanvas* canvas = target->GetCanvas();
    const TRect r = Rect(0, 0, 581, 387);
    auto [ours, blt] = bench::Medians([&] { b->SmoothStretchDraw(canvas, r); },
                               [&] {
                                 HDC dc = canvas->GetHandle();
                                 SetStretchBltMode(dc, COLORONCOLOR);
                                 StretchBlt(dc, 0, 0, 581, 387, b->GetMemoryDC(), 0, 0, kWidth, kHeight, SRCCOPY);
                                 GdiFlush();
                               },
                               kRuns);
    bench::Report(kName, "SmoothStretchDraw 1024x768 to 581x387", ours, blt, 4);
  }
  FinalizeUnits();
  return 0;
}
