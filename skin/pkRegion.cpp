#include "skin/pkRegion.h"

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

// The bytes ExtCreateRegion is given: dwSize + nRgnSize of a valid block.
uint64_t UsedSize(const uint8_t* data) { return uint64_t{ReadU32(data)} + uint64_t{ReadU32(data + 12)}; }

// One band's region from its rectangles, already in band order.
HRGN RegionFromRects(const std::vector<RECT>& rects) {
  if (rects.empty()) return nullptr;
  if (rects.size() == 1) return CreateRectRgnIndirect(&rects[0]);
  std::vector<uint8_t> block(kHeaderSize + rects.size() * sizeof(RECT));
  RGNDATAHEADER h{};
  h.dwSize = sizeof(RGNDATAHEADER);
  h.iType = RDH_RECTANGLES;
  h.nCount = static_cast<DWORD>(rects.size());
  h.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  h.rcBound = RECT{rects.front().left, rects.front().top, rects.back().right, rects.back().bottom};
  for (const RECT& r : rects) {
    if (r.left < h.rcBound.left) h.rcBound.left = r.left;
    if (r.right > h.rcBound.right) h.rcBound.right = r.right;
  }
  std::memcpy(block.data(), &h, sizeof h);
  std::memcpy(block.data() + kHeaderSize, rects.data(), rects.size() * sizeof(RECT));
  return ExtCreateRegion(nullptr, static_cast<DWORD>(block.size()), reinterpret_cast<const RGNDATA*>(block.data()));
}

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
  uint64_t used = UsedSize(static_cast<const uint8_t*>(data));
  if (used > 0xFFFFFFFFu) return nullptr;
  return ExtCreateRegion(nullptr, static_cast<DWORD>(used), static_cast<const RGNDATA*>(data));
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
  TpkRegion band(RegionFromRects(rects));
  if (!band) {
    failed_ = true;
    return;
  }
  Push(std::move(band));
}

void TRowRegionBuilder::Push(TpkRegion region) {
  stack_.emplace_back(std::move(region), 0);
  while (stack_.size() >= 2 && stack_[stack_.size() - 1].second == stack_[stack_.size() - 2].second) {
    auto& below = stack_[stack_.size() - 2];
    auto& top = stack_.back();
    if (CombineRgn(below.first.get(), below.first.get(), top.first.get(), RGN_OR) == ERROR) failed_ = true;
    ++below.second;
    stack_.pop_back();
  }
}

HRGN TRowRegionBuilder::Finish() {
  FlushBand();
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
  Owned<TBitmap> bitmap = MakeOwned<TBitmap>();
  bitmap->Assign(graphic);
  int width = bitmap->GetWidth();
  int height = bitmap->GetHeight();
  if (width <= 0 || height <= 0) return nullptr;

  pk_detail::TRowRegionBuilder builder;
  std::vector<TRun> runs;
  if (bitmap->GetPixelFormat() == pf24bit) {
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
