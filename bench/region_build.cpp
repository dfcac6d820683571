// Window regions from skins, and from the region data stored with a form.
//
// Building (BuildRegionFromGraphic) against baselines over the same runs:
//   CombineRgn: one CreateRectRgn + CombineRgn(RGN_OR) per opaque run, at
//     1024 x 768; goal: at least 20 times faster (ratio <= 0.05)
//   ExtCreateRegion: one call over the region's own rectangles (as
//     GetRegionData lists them: one per run of each band), at 256 x 192 up
//     to 2048 x 1536; goal: at most half its time
// The skins are banded: 16 opaque runs per row, the same for eight rows,
// then shifted, in 24 and 8 bits.
//
// Reading (ReadRegionData, the image form's reader, over the blob that
// GetRegionData gives) against building the same region from its picture;
// goal: at most twice the building. The pictures are 1024 wide with 32 runs
// per row, every row shifted, so the region has 32 rectangles a row: 1,000
// to 80,000 rectangles.
//
// EqualRgn checks that every region agrees with its baseline's; a region
// that differs fails the benchmark (exit code 1), a missed goal does not.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "bench/Bench.h"
#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "classlib/Units.h"
#include "skin/pkRegion.h"
#include "skin/pkUnits.h"

namespace {

const char* const kName = "region";
const TColor kKey = clFuchsia;

// A skin of w x h whose opaque pixels are those opaque(x, y) names.
template <class Opaque>
Owned<TBitmap> Skin(int w, int h, TPixelFormat pf, Opaque opaque) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(w, h);
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<uint8_t*>(b->GetScanLine(y));
    for (int x = 0; x < w; ++x) {
      TColor c = opaque(x, y) ? clNavy : kKey;
      row[3 * x] = GetBValue(c);
      row[3 * x + 1] = GetGValue(c);
      row[3 * x + 2] = GetRValue(c);
    }
  }
  if (pf != pf24bit) b->SetPixelFormat(pf);
  return b;
}

// One rectangle per opaque run of each row, top to bottom.
template <class Opaque>
std::vector<RECT> Runs(int w, int h, Opaque opaque) {
  std::vector<RECT> rects;
  for (int y = 0; y < h; ++y) {
    int x = 0;
    while (x < w) {
      while (x < w && !opaque(x, y)) ++x;
      if (x >= w) break;
      int x0 = x;
      while (x < w && opaque(x, y)) ++x;
      rects.push_back(RECT{x0, y, x, y + 1});
    }
  }
  return rects;
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

// A region's own data, as GetRegionData gives it.
std::vector<uint8_t> DataOf(HRGN region) {
  std::vector<uint8_t> block(GetRegionData(region, 0, nullptr));
  GetRegionData(region, static_cast<DWORD>(block.size()), reinterpret_cast<RGNDATA*>(block.data()));
  return block;
}

HRGN ByExtCreateRegion(const std::vector<uint8_t>& block) {
  return ExtCreateRegion(nullptr, static_cast<DWORD>(block.size()), reinterpret_cast<const RGNDATA*>(block.data()));
}

// A region made again on every call; the last one is kept for the check.
class TKept {
 public:
  ~TKept() { Reset(nullptr); }
  void Reset(HRGN r) {
    if (region_) DeleteObject(region_);
    region_ = r;
  }
  HRGN Get() const { return region_; }

 private:
  HRGN region_ = nullptr;
};

bool Same(HRGN a, HRGN b) { return a && b && EqualRgn(a, b); }

bool BuildAgainstCombineRgn() {
  const int w = 1024, h = 768, period = w / 32;
  auto opaque = [](int x, int y) { return (x + y) % period < period / 2; };
  Owned<TBitmap> skin = Skin(w, h, pf24bit, opaque);
  std::vector<RECT> rects = Runs(w, h, opaque);
  TKept ours, base;
  auto [t, tBase] = bench::Medians([&] { ours.Reset(BuildRegionFromGraphic(skin.get(), kKey)); },
                                   [&] { base.Reset(ByCombineRgn(rects)); }, 5);
  if (!Same(ours.Get(), base.Get())) {
    bench::Fail(kName, "the built region differs from CombineRgn's");
    return false;
  }
  bench::Report(kName, "build 1024x768 24-bit vs CombineRgn", t, tBase, 0.05);
  return true;
}

bool BuildAgainstExtCreateRegion() {
  bool all = true;
  const SIZE sizes[] = {{256, 192}, {512, 384}, {1024, 768}, {2048, 1536}};
  for (SIZE size : sizes) {
    const int w = size.cx, h = size.cy, period = w / 16;
    auto opaque = [period](int x, int y) { return (x + y / 8) % period < period / 2; };
    for (TPixelFormat pf : {pf24bit, pf8bit}) {
      Owned<TBitmap> skin = Skin(w, h, pf, opaque);
      TKept ours, base;
      ours.Reset(BuildRegionFromGraphic(skin.get(), kKey));
      const std::vector<uint8_t> block = DataOf(ours.Get());
      auto [t, tBase] = bench::Medians([&] { ours.Reset(BuildRegionFromGraphic(skin.get(), kKey)); },
                                       [&] { base.Reset(ByExtCreateRegion(block)); });
      std::string name = "build " + std::to_string(w) + "x" + std::to_string(h) +
                         (pf == pf24bit ? " 24-bit" : " 8-bit") + " vs ExtCreateRegion";
      if (!Same(ours.Get(), base.Get())) {
        bench::Fail(kName, name + ": the regions differ");
        all = false;
        continue;
      }
      bench::Report(kName, name, t, tBase, 0.5);
    }
  }
  return all;
}

bool ReadAgainstBuild() {
  bool all = true;
  for (int count : {1000, 10000, 40000, 80000}) {
    const int w = 1024, h = (count + 31) / 32, period = w / 32;
    auto opaque = [](int x, int y) { return (x + y) % period < period / 2; };
    Owned<TBitmap> skin = Skin(w, h, pf24bit, opaque);
    TKept built, read;
    built.Reset(BuildRegionFromGraphic(skin.get(), kKey));
    Owned<TMemoryStream> stored = MakeOwned<TMemoryStream>();
    WriteRegionData(stored.get(), built.Get());
    auto [t, tBase] = bench::Medians(
        [&] {
          stored->SetPosition(0);
          bool isStored = false;
          read.Reset(ReadRegionData(stored.get(), isStored));
        },
        [&] { built.Reset(BuildRegionFromGraphic(skin.get(), kKey)); });
    std::string name = "read " + std::to_string(32 * h) + " rectangles vs build";
    if (!Same(read.Get(), built.Get())) {
      bench::Fail(kName, name + ": the regions differ");
      all = false;
      continue;
    }
    bench::Report(kName, name, t, tBase, 2.0);
  }
  return all;
}

}  // namespace

int main() {
  std::vector<TUnitEntry> units = ClasslibUnits();
  units.insert(units.end(), SkinUnits().begin(), SkinUnits().end());
  InitializeUnits(units);
  bool ok = BuildAgainstCombineRgn();
  ok = BuildAgainstExtCreateRegion() && ok;
  ok = ReadAgainstBuild() && ok;
  FinalizeUnits();
  return ok ? 0 : 1;
}
