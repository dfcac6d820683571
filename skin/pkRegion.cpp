#include "skin/pkRegion.h"

#include <algorithm>
#include <cstring>

#include "classlib/Classes.h"

namespace {

constexpr uint64_t kHeaderSize = sizeof(RGNDATAHEADER);  // 32
static_assert(sizeof(RGNDATAHEADER) == 32 && sizeof(RECT) == 16, "the stored layout of region data");

uint32_t ReadU32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// The region of a few rectangles (one ExtCreateRegion, whose cost grows with
// the square of their count under Wine), or null when none has area.
HRGN RegionFromRects(const RECT* rects, size_t count) {
  if (count == 0) return nullptr;
  if (count == 1) return CreateRectRgnIndirect(rects);
  std::vector<uint8_t> block(kHeaderSize + count * sizeof(RECT));
  RGNDATAHEADER h{};
  h.dwSize = sizeof(RGNDATAHEADER);
  h.iType = RDH_RECTANGLES;
  h.nCount = static_cast<DWORD>(count);
  h.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
  h.rcBound = rects[0];
  for (size_t i = 1; i < count; ++i) UnionRect(&h.rcBound, &h.rcBound, &rects[i]);
  std::memcpy(block.data(), &h, sizeof h);
  std::memcpy(block.data() + kHeaderSize, rects, count * sizeof(RECT));
  return ExtCreateRegion(nullptr, static_cast<DWORD>(block.size()), reinterpret_cast<const RGNDATA*>(block.data()));
}

// The most rectangles given to one ExtCreateRegion.
constexpr size_t kChunk = 256;

// Bytes left in the stream from its position.
int64_t Remaining(TStream* stream) {
  int64_t rest = stream->GetSize() - stream->GetPosition();
  return rest < 0 ? 0 : rest;
}

// The 4-byte count, or false when the stream ends before it.
bool ReadCount(TStream* stream, uint32_t& count) {
  count = 0;
  return stream->Read(&count, sizeof count) == static_cast<int>(sizeof count);
}

// The block of count bytes that follows, when the stream holds all of it.
bool ReadBlock(TStream* stream, uint32_t count, std::vector<uint8_t>& block) {
  if (count > static_cast<uint64_t>(Remaining(stream))) return false;
  block.resize(count);
  return stream->Read(block.data(), static_cast<int>(count)) == static_cast<int>(count);
}

}  // namespace

bool IsValidRegionData(const void* data, uint64_t size) {
  if (!data || size < kHeaderSize) return false;
  auto p = static_cast<const uint8_t*>(data);
  uint64_t dwSize = ReadU32(p);
  uint64_t iType = ReadU32(p + 4);
  uint64_t nCount = ReadU32(p + 8);
  uint64_t nRgnSize = ReadU32(p + 12);
  if (dwSize != kHeaderSize || iType != RDH_RECTANGLES) return false;
  if (nCount * sizeof(RECT) > nRgnSize) return false;
  return dwSize + nRgnSize <= size;
}

HRGN RegionFromData(const void* data, uint64_t size) {
  if (!IsValidRegionData(data, size)) return nullptr;
  auto p = static_cast<const uint8_t*>(data);
  // The rectangles may sit anywhere in memory: copied out, not cast.
  std::vector<RECT> rects(ReadU32(p + 8));
  if (!rects.empty()) std::memcpy(rects.data(), p + kHeaderSize, rects.size() * sizeof(RECT));
  return pk_detail::RegionFromRectList(rects.data(), rects.size());
}

HRGN RegionFromBlob(const TpkRegionBlob& blob) {
  if (blob.IsEmpty()) return nullptr;
  return RegionFromData(blob.Bytes.data(), blob.Bytes.size());
}

TpkRegionBlob CaptureRegionBlob(HRGN region) {
  TpkRegionBlob blob;
  if (!region) return blob;
  DWORD size = GetRegionData(region, 0, nullptr);
  if (size == 0) return blob;
  blob.Bytes.resize(size);
  if (GetRegionData(region, size, reinterpret_cast<RGNDATA*>(blob.Bytes.data())) != size) blob.Clear();
  return blob;
}

TpkRegionBlob ReadRegionBlob(TStream* stream) {
  TpkRegionBlob blob;
  uint32_t count;
  if (!ReadCount(stream, count) || count == 0) return blob;
  if (!ReadBlock(stream, count, blob.Bytes) || !IsValidRegionData(blob.Bytes.data(), blob.Bytes.size()))
    blob.Clear();
  return blob;
}

void WriteRegionBlob(TStream* stream, const TpkRegionBlob& blob) {
  uint32_t count = blob.GetByteCount();
  stream->WriteBuffer(&count, sizeof count);
  if (count) stream->WriteBuffer(blob.Bytes.data(), static_cast<int>(count));
}

HRGN ReadRegionData(TStream* stream, bool& stored) {
  stored = false;
  uint32_t count;
  if (!ReadCount(stream, count)) {
    // Not even a count: a damaged blob, not an empty one.
    stored = true;
    return nullptr;
  }
  if (count == 0) return nullptr;
  stored = true;
  std::vector<uint8_t> block;
  if (!ReadBlock(stream, count, block)) return nullptr;
  return RegionFromData(block.data(), block.size());
}

void WriteRegionData(TStream* stream, HRGN region) {
  WriteRegionBlob(stream, CaptureRegionBlob(region));
}

// --- building ---------------------------------------------------------------

namespace pk_detail {

void TRegionMerger::Push(TpkRegion region) {
  if (!region) {
    failed_ = true;
    return;
  }
  stack_.emplace_back(std::move(region), 0);
  while (stack_.size() >= 2 && stack_[stack_.size() - 1].second == stack_[stack_.size() - 2].second) {
    auto& below = stack_[stack_.size() - 2];
    auto& top = stack_.back();
    if (CombineRgn(below.first.get(), below.first.get(), top.first.get(), RGN_OR) == ERROR) failed_ = true;
    ++below.second;
    stack_.pop_back();
  }
}

HRGN TRegionMerger::Finish() {
  TpkRegion result;
  while (!stack_.empty()) {
    TpkRegion top = std::move(stack_.back().first);
    stack_.pop_back();
    if (!result) {
      result = std::move(top);
    } else if (CombineRgn(result.get(), top.get(), result.get(), RGN_OR) == ERROR) {
      failed_ = true;
    }
  }
  bool failed = failed_;
  failed_ = false;
  // A region the platform could not make whole is no region: the window
  // stays rectangular rather than taking a shape with holes.
  if (failed) return nullptr;
  return result.release();
}

void TRowRegionBuilder::AddRow(int y, const std::vector<TRun>& runs) {
  if (!bandRuns_.empty() && y == bandBottom_ && runs == bandRuns_) {
    bandBottom_ = y + 1;
    return;
  }
  FlushBand();
  if (runs.empty()) return;
  bandRuns_ = runs;
  bandTop_ = y;
  bandBottom_ = y + 1;
}

void TRowRegionBuilder::FlushBand() {
  if (bandRuns_.empty()) return;
  std::vector<RECT> rects;
  rects.reserve(bandRuns_.size());
  for (const TRun& r : bandRuns_) rects.push_back(RECT{r.Left, bandTop_, r.Right, bandBottom_});
  bandRuns_.clear();
  for (size_t at = 0; at < rects.size(); at += kChunk)
    merger_.Push(TpkRegion(RegionFromRects(rects.data() + at, std::min(kChunk, rects.size() - at))));
}

HRGN TRowRegionBuilder::Finish() {
  FlushBand();
  return merger_.Finish();
}

HRGN RegionFromRectList(const RECT* rects, size_t count) {
  TRegionMerger merger;
  std::vector<RECT> part;
  part.reserve(kChunk);
  auto flush = [&] {
    if (!part.empty()) merger.Push(TpkRegion(RegionFromRects(part.data(), part.size())));
    part.clear();
  };
  bool any = false;
  for (size_t i = 0; i < count; ++i) {
    const RECT& r = rects[i];
    if (r.left >= r.right || r.top >= r.bottom) continue;
    // A part is one band's neighbours (same top and bottom): GetRegionData
    // lists a region that way, so a stored blob makes few parts.
    if (!part.empty() && (part.size() == kChunk || r.top != part[0].top || r.bottom != part[0].bottom)) flush();
    part.push_back(r);
    any = true;
  }
  flush();
  // No rectangle with area is the empty region, as ExtCreateRegion makes it.
  if (!any) return CreateRectRgn(0, 0, 0, 0);
  return merger.Finish();
}

}  // namespace pk_detail

bool IsNoColourKey(TColor key) {
  return key == clNone || key == clDefault || key == clNoRegion || key == clFirstPixel;
}

HRGN BuildRegionFromGraphic(TGraphic* graphic, TColor transparentColor) {
  using pk_detail::TRun;
  if (!graphic || graphic->GetWidth() <= 0 || graphic->GetHeight() <= 0) return nullptr;
  // A key that names no colour makes nothing transparent, whatever the
  // picture's format: the monochrome mask would resolve clNone to white and
  // -1 to black.
  if (IsNoColourKey(transparentColor)) return CreateRectRgn(0, 0, graphic->GetWidth(), graphic->GetHeight());
  // A 24-bit or palette bitmap is read in place (a copy took most of the
  // time for a small skin); every other picture is copied, as the mask
  // changes it.
  auto readInPlace = [](TPixelFormat pf) { return pf == pf24bit || pf == pf8bit || pf == pf4bit || pf == pf1bit; };
  Owned<TBitmap> copy;
  auto* bitmap = dynamic_cast<TBitmap*>(graphic);
  if (!bitmap || !readInPlace(bitmap->GetPixelFormat())) {
    copy = MakeOwned<TBitmap>();
    copy->Assign(graphic);
    bitmap = copy.get();
  }
  int width = bitmap->GetWidth();
  int height = bitmap->GetHeight();
  if (width <= 0 || height <= 0) return nullptr;

  pk_detail::TRowRegionBuilder builder;
  std::vector<TRun> runs;
  const TPixelFormat pf = bitmap->GetPixelFormat();
  if (pf == pf24bit) {
    // The pixel's TColor (red in the low byte) against the colour as given:
    // a system colour (negative) matches no pixel.
    uint32_t key = static_cast<uint32_t>(transparentColor);
    for (int y = 0; y < height; ++y) {
      TPixelRow<const RGBTRIPLE> row = bitmap->ScanLineAs<const RGBTRIPLE>(y);
      pk_detail::ScanRuns(
          width,
          [&row](int x) {
            const RGBTRIPLE& p = row[x];
            return uint32_t{p.rgbtBlue} << 16 | uint32_t{p.rgbtGreen} << 8 | p.rgbtRed;
          },
          key, runs);
      builder.AddRow(y, runs);
    }
  } else if (readInPlace(pf)) {
    // A palette picture compares as TBitmap::Mask does: an index is the key
    // when its colour in the table is the key's RGB (a system colour
    // resolved); an index past the table reads as black.
    const int bits = pf == pf8bit ? 8 : pf == pf4bit ? 4 : 1;
    const std::vector<RGBQUAD> table = bitmap->GetColorTable();
    const COLORREF key = static_cast<COLORREF>(ColorToRGB(transparentColor));
    uint32_t isKey[256];
    for (size_t i = 0; i < 256; ++i) {
      const RGBQUAD q = i < table.size() ? table[i] : RGBQUAD{0, 0, 0, 0};
      isKey[i] = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue) == key ? 0u : 1u;
    }
    for (int y = 0; y < height; ++y) {
      TPixelRow<const uint8_t> row = bitmap->ScanLineAs<const uint8_t>(y);
      if (bits == 8)
        pk_detail::ScanRuns(width, [&](int x) { return isKey[row[x]]; }, 0u, runs);
      else if (bits == 4)
        pk_detail::ScanRuns(width, [&](int x) { return isKey[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF]; }, 0u, runs);
      else
        pk_detail::ScanRuns(width, [&](int x) { return isKey[(row[x >> 3] >> (7 - (x & 7))) & 1]; }, 0u, runs);
      builder.AddRow(y, runs);
    }
  } else {
    // Every other depth goes through the monochrome mask: a set bit is the
    // transparent colour (reads as 0), a clear bit opaque (0xFFFFFF).
    bitmap->Mask(transparentColor);
    for (int y = 0; y < height; ++y) {
      TPixelRow<const uint8_t> row = bitmap->ScanLineAs<const uint8_t>(y);
      pk_detail::ScanRuns(
          width, [&row](int x) { return (row[x >> 3] & (0x80 >> (x & 7))) ? 0u : 0xFFFFFFu; }, 0u, runs);
      builder.AddRow(y, runs);
    }
  }
  return builder.Finish();
}
