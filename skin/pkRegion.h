// Window regions of the skin library: building a region from the outline of
// a picture, and the region blob in which a region travels through a stored
// form ("RegionData", "DownRegionData").
//
// A region blob is a 32-bit byte count (0: no region, nothing follows), then
// the RGNDATA block exactly as GetRegionData lays it out: a 32-byte header
// (dwSize 32, iType RDH_RECTANGLES, nCount, nRgnSize, rcBound), then nCount
// rectangles in band order. Stored forms come from files, so every blob is
// checked before a byte of it is trusted: a header that does not describe a
// rectangle list lying inside the blob makes the blob absent (the window
// stays rectangular), and no more is ever allocated or read than the blob
// holds. A valid block whose nRgnSize is larger than its rectangles need is
// accepted, as GetRegionData's own output may be.
//
// Transparent-colour conventions (TColor values):
//   clNone (0x1FFFFFFF)   take the key from the picture (the image form: its
//                         bottom-left pixel; an image button: the first pixel
//                         of the state's image);
//   0x0FFFFFFF            image buttons only: no region at all;
//   -1 (0xFFFFFFFF)       the TpkBitmap builder only: the first pixel of row 0;
//   anything else         that colour as a plain RGB value.
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/Win.h"
#include "classlib/Graphics.h"
#include "skin/pkGdi.h"

class TStream;

// The image button's "no region" colour.
inline constexpr TColor clNoRegion = 0x0FFFFFFF;
// The TpkBitmap builder's "first pixel of the first row".
inline constexpr TColor clFirstPixel = static_cast<TColor>(0xFFFFFFFF);

// A region this code still owns (not yet handed to a window or a caller).
using TpkRegion = pk_detail::TGdiObject<HRGN>;

// A region blob held in memory: the bytes of the RGNDATA block (empty: no
// region, a byte count of 0).
struct TpkRegionBlob {
  std::vector<uint8_t> Bytes;

  uint32_t GetByteCount() const { return static_cast<uint32_t>(Bytes.size()); }
  bool IsEmpty() const { return Bytes.empty(); }
  void Clear() { std::vector<uint8_t>().swap(Bytes); }
};

// True when data holds a region block: dwSize 32, iType RDH_RECTANGLES,
// 16 x nCount not above nRgnSize, and dwSize + nRgnSize within size (all in
// 64-bit arithmetic).
bool IsValidRegionData(const void* data, uint64_t size);
// The region of a region block: the union of its nCount rectangles, the
// same region ExtCreateRegion makes of it, built band by band (one
// ExtCreateRegion over tens of thousands of rectangles takes seconds under
// Wine). Null when the block is not valid or the platform fails. The caller
// owns the region.
HRGN RegionFromData(const void* data, uint64_t size);
HRGN RegionFromBlob(const TpkRegionBlob& blob);
// The region's block as GetRegionData gives it; no region gives an empty blob.
TpkRegionBlob CaptureRegionBlob(HRGN region);

// The button's reader: the count, then that many bytes. A short stream, a
// count larger than what the stream holds, or a block that is not valid
// gives an empty blob; nothing beyond the stream's bytes is allocated.
TpkRegionBlob ReadRegionBlob(TStream* stream);
// The count, then the bytes.
void WriteRegionBlob(TStream* stream, const TpkRegionBlob& blob);

// The image form's reader: the region stored in the stream (the caller owns
// it), or null. stored is false only when the count is 0 (the form then
// builds its region from its picture); a damaged blob is stored but absent.
HRGN ReadRegionData(TStream* stream, bool& stored);
// Writes the region's block with its count, or a count of 0 without one.
void WriteRegionData(TStream* stream, HRGN region);

// The keys that name no colour: clNone, clDefault, 0x0FFFFFFF and -1.
bool IsNoColourKey(TColor key);

// The region of the pixels of graphic that differ from transparentColor, or
// null for an empty picture or one without any opaque pixel. The caller owns
// the region. A key that names no colour makes nothing transparent. A
// 24-bit picture compares each pixel with the key as given, so a system
// colour matches no pixel; every other format goes through TBitmap::Mask,
// which resolves a system colour to its RGB first (the original design's
// difference, kept for stored pictures).
HRGN BuildRegionFromGraphic(TGraphic* graphic, TColor transparentColor);

namespace pk_detail {

// One opaque run of a row: pixels Left .. Right - 1.
struct TRun {
  int Left;
  int Right;
  friend bool operator==(const TRun& a, const TRun& b) { return a.Left == b.Left && a.Right == b.Right; }
};

// Makes the union of regions pushed one after another: they are merged
// pairwise in a balanced tree. Under Wine that is far faster than OR-ing one
// rectangle at a time or one ExtCreateRegion over every rectangle, whose
// cost grows with the square of the count, and it gives the same pixel set.
class TRegionMerger {
 public:
  TRegionMerger() = default;
  TRegionMerger(const TRegionMerger&) = delete;
  TRegionMerger& operator=(const TRegionMerger&) = delete;

  // Takes the region over; a null region (one the platform could not make)
  // spoils the result.
  void Push(TpkRegion region);
  // The union (null when nothing was pushed, or when the platform failed to
  // make or combine a part: a region with holes is no region); the merger is
  // empty afterwards.
  HRGN Finish();

 private:
  // Merged regions with their level: two of one level merge into the next.
  std::vector<std::pair<TpkRegion, int>> stack_;
  bool failed_ = false;
};

// Makes the union of one-row runs, given top to bottom. Rows whose runs
// repeat the row above join its band; each band becomes one region.
class TRowRegionBuilder {
 public:
  TRowRegionBuilder() = default;
  TRowRegionBuilder(const TRowRegionBuilder&) = delete;
  TRowRegionBuilder& operator=(const TRowRegionBuilder&) = delete;

  // The runs of row y (ascending, not touching one another); rows come in
  // increasing order.
  void AddRow(int y, const std::vector<TRun>& runs);
  // The union (null when no row had a run); the builder is empty afterwards.
  HRGN Finish();

 private:
  void FlushBand();

  std::vector<TRun> bandRuns_;
  int bandTop_ = 0;
  int bandBottom_ = 0;
  TRegionMerger merger_;
};

// The union of count rectangles in any order, as ExtCreateRegion makes it
// (rectangles without area add nothing; none with area is the empty
// region), or null when the platform fails.
// Neighbouring rectangles of one band (GetRegionData's order) become one
// region each, at most a few hundred at a time, and the parts are merged.
HRGN RegionFromRectList(const RECT* rects, size_t count);

// The runs of one row: x where pixel(x) != key, for x in 0 .. width - 1.
template <class PixelAt>
void ScanRuns(int width, PixelAt pixelAt, uint32_t key, std::vector<TRun>& runs) {
  runs.clear();
  int x = 0;
  while (x < width) {
    while (x < width && pixelAt(x) == key) ++x;
    if (x >= width) break;
    int x0 = x;
    while (x < width && pixelAt(x) != key) ++x;
    runs.push_back(TRun{x0, x});
  }
}

}  // namespace pk_detail
