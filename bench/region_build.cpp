// Building a window region from a skin: BuildRegionFromGraphic against two
// baselines measured in the same run over the same rectangles.
//   CombineRgn: one CreateRectRgn + CombineRgn(RGN_OR) per opaque run
//   ExtCreateRegion: one call over every run's rectangle, in band order
// The skin is 1024 x 768 with 32 opaque runs per row, shifted by one pixel
// per row (so no two neighbouring rows share a band), in 24 and 8 bits.
// EqualRgn checks that the three regions agree. Each line prints medians of
// the runs; goals: at least 20x faster than CombineRgn, at most half of
// ExtCreateRegion.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "classlib/Units.h"
#include "skin/pkUnits.h"
#include "skin/pkRegion.h"

namespace {

const int kWidth = 1024;
const int kHeight = 768;
const int kPeriod = kWidth / 32;  // 32 runs per row
const TColor kKey = clFuchsia;

double Now() {
  LARGE_INTEGER c, f;
  QueryPerformanceCounter(&c);
  QueryPerformanceFrequency(&f);
  return double(c.QuadPart) / double(f.QuadPart);
}

// The median of `runs` timings of f, in milliseconds.
double Median(int runs, const std::function<void()>& f) {
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    double t0 = Now();
    f();
    t.push_back((Now() - t0) * 1000.0);
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

bool Opaque(int x, int y) { return (x + y) % kPeriod < kPeriod / 2; }

std::vector<RECT> Runs() {
  std::vector<RECT> rects;
  for (int y = 0; y < kHeight; ++y) {
    int x = 0;
    while (x < kWidth) {
      while (x < kWidth && !Opaque(x, y)) ++x;
      if (x >= kWidth) break;
      int x0 = x;
      while (x < kWidth && Opaque(x, y)) ++x;
      rects.push_back(RECT{x0, y, x, y + 1});
    }
  }
  return rects;
}

Owned<TBitmap> Skin(TPixelFormat pf) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    auto* row = static_cast<uint8_t*>(b->GetScanLine(y));
    for (int x = 0; x < kWidth; ++x) {
      TColor c = Opaque(x, y) ? clNavy : kKey;
      row[3 * x] = GetBValue(c);
      row[3 * x + 1] = GetGValue(c);
      row[3 * x + 2] = GetRValue(c);
    }
  }
  if (pf != pf24bit) b->SetPixelFormat(pf);
  return b;
}

HRGN ByCombineRgn(const std::vector<RECT>& rects) {
  HRGN result = CreateRectRgn(0, 0, 0, 0);
  for (const RECT& r : rects) {
    HRGN one = CreateRectRgnIndirect(&r);
    CombineRgn(result, result, one, RGN_OR);
    DeleteObject(one);
  }
  return result;
}

HRGN ByExtCreateRegion(const std::vector<RECT>& rects) {
  std::vector<uint8_t> block(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  RGNDATAHEADER h{};
  h.dwSize = sizeof h;
  h.iType = RDH_RECTANGLES;
  h.nCount = static_cast<DWORD>(rects.size());
  h.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  h.rcBound = RECT{0, 0, kWidth, kHeight};
  std::memcpy(block.data(), &h, sizeof h);
  std::memcpy(block.data() + sizeof h, rects.data(), rects.size() * sizeof(RECT));
  return ExtCreateRegion(nullptr, static_cast<DWORD>(block.size()), reinterpret_cast<RGNDATA*>(block.data()));
}

int Run() {
  const int runs = 5;
  std::vector<RECT> rects = Runs();
  std::printf("region of %d x %d, %zu rectangles, median of %d runs\n", kWidth, kHeight, rects.size(), runs);

  HRGN combined = nullptr, created = nullptr;
  double tCombine = Median(runs, [&] {
    if (combined) DeleteObject(combined);
    combined = ByCombineRgn(rects);
  });
  double tExt = Median(runs, [&] {
    if (created) DeleteObject(created);
    created = ByExtCreateRegion(rects);
  });
  bool ok = EqualRgn(combined, created) != 0;

  for (TPixelFormat pf : {pf24bit, pf8bit}) {
    Owned<TBitmap> skin = Skin(pf);
    HRGN ours = nullptr;
    double t = Median(runs, [&] {
      if (ours) DeleteObject(ours);
      ours = BuildRegionFromGraphic(skin.get(), kKey);
    });
    bool same = ours && EqualRgn(ours, combined) && EqualRgn(ours, created);
    ok = ok && same;
    double vsCombine = tCombine / t, vsExt = t / tExt;
    std::printf("%-6s ours %9.2f ms   CombineRgn %9.2f ms (%.1fx faster, goal >= 20: %s)   "
                "ExtCreateRegion %9.2f ms (ratio %.2f, goal <= 0.5: %s)   regions %s\n",
                pf == pf24bit ? "24-bit" : "8-bit", t, tCombine, vsCombine, vsCombine >= 20 ? "met" : "NOT met",
                tExt, vsExt, vsExt <= 0.5 ? "met" : "NOT met", same ? "equal" : "DIFFER");
    if (ours) DeleteObject(ours);
  }
  DeleteObject(combined);
  DeleteObject(created);
  return ok ? 0 : 1;
}

}  // namespace

int main() {
  std::vector<TUnitEntry> units = ClasslibUnits();
  units.insert(units.end(), SkinUnits().begin(), SkinUnits().end());
  InitializeUnits(units);
  int rc = Run();
  FinalizeUnits();
  return rc;
}
