#include <gtest/gtest.h>

#include <functional>

#include "classlib/Classes.h"
#include "classlib/Seams.h"
#include "skin/pkRegion.h"
#include "tests/skin/SkinTestSupport.h"

using namespace skin_test;

namespace {

constexpr TColor kKey = clFuchsia;
constexpr TColor kInk = clNavy;

// --- BuildRegionFromGraphic ------------------------------------------------------

struct TShapeCase {
  const char* Name;
  std::vector<std::string> Rows;  // '.' key colour, '#' ink
};

const TShapeCase kShapes[] = {
    {"one pixel", {"...", ".#.", "..."}},
    {"run reaching the right edge", {"..###", ".....", "#...#"}},
    {"whole picture", {"##", "##"}},
    {"holes and repeated rows", {"#.#.#", "#.#.#", "#####", "#.#.#"}},
    {"one column", {"#", ".", "#", "#"}},
    {"wider than a byte of mask", {"..........#.", "#..........#", "############"}},
};

TEST(RegionBuild, RegionIsTheSetOfPixelsThatDifferFromTheKey) {
  for (const TShapeCase& c : kShapes) {
    SCOPED_TRACE(c.Name);
    for (TPixelFormat pf : {pf24bit, pf8bit, pf32bit, pf4bit}) {
      SCOPED_TRACE(pf);
      Owned<TBitmap> b = BitmapFromText(c.Rows, {{'.', kKey}, {'#', kInk}}, pf);
      TpkRegion r(BuildRegionFromGraphic(b.get(), kKey));
      int w = static_cast<int>(c.Rows[0].size()), h = static_cast<int>(c.Rows.size());
      std::vector<std::string> want = c.Rows;
      for (auto& row : want) row += '.';
      want.push_back(std::string(static_cast<size_t>(w + 1), '.'));
      EXPECT_EQ(RegionText(r.get(), w + 1, h + 1), want);
    }
  }
}

TEST(RegionBuild, OnePixelRunIsAOneByOneRectangle) {
  Owned<TBitmap> b = BitmapFromText({"....", "..#.", "...."}, {{'.', kKey}, {'#', kInk}});
  TpkRegion r(BuildRegionFromGraphic(b.get(), kKey));
  ASSERT_TRUE(r);
  RECT box = RegionBox(r.get());
  EXPECT_EQ(box.left, 2);
  EXPECT_EQ(box.top, 1);
  EXPECT_EQ(box.right, 3);
  EXPECT_EQ(box.bottom, 2);
}

TEST(RegionBuild, AllTransparentOrEmptyGivesNoRegion) {
  for (TPixelFormat pf : {pf24bit, pf8bit}) {
    Owned<TBitmap> b = BitmapFromText({"...", "..."}, {{'.', kKey}}, pf);
    EXPECT_EQ(BuildRegionFromGraphic(b.get(), kKey), nullptr);
  }
  Owned<TBitmap> empty = MakeOwned<TBitmap>();
  EXPECT_EQ(BuildRegionFromGraphic(empty.get(), kKey), nullptr);
  EXPECT_EQ(BuildRegionFromGraphic(nullptr, kKey), nullptr);
}

TEST(RegionBuild, EightBitThroughTheMaskEqualsTwentyFourBit) {
  std::vector<std::string> rows;
  for (int y = 0; y < 37; ++y) {
    std::string row;
    for (int x = 0; x < 53; ++x) row += ((x * 7 + y * 3) % 5 < 2 || x == 52) ? '.' : '#';
    rows.push_back(row);
  }
  Owned<TBitmap> b24 = BitmapFromText(rows, {{'.', kKey}, {'#', kInk}});
  Owned<TBitmap> b8 = BitmapFromText(rows, {{'.', kKey}, {'#', kInk}}, pf8bit);
  TpkRegion r24(BuildRegionFromGraphic(b24.get(), kKey));
  TpkRegion r8(BuildRegionFromGraphic(b8.get(), kKey));
  ASSERT_TRUE(r24 && r8);
  EXPECT_TRUE(EqualRgn(r24.get(), r8.get()));
}

TEST(RegionBuild, SystemColourKeyMatchesNoPixelOfATwentyFourBitPicture) {
  // clBtnFace resolves to some RGB; paint the picture in exactly that RGB.
  TColor face = ColorToRGB(clBtnFace);
  Owned<TBitmap> b = BitmapFromText({"..", ".."}, {{'.', face}});
  TpkRegion r(BuildRegionFromGraphic(b.get(), clBtnFace));
  EXPECT_EQ(RegionText(r.get(), 2, 2), (std::vector<std::string>{"##", "##"}));
  // The plain colour does match.
  EXPECT_EQ(BuildRegionFromGraphic(b.get(), face), nullptr);
}

TEST(RegionBuild, ClNoneMatchesNothing) {
  Owned<TBitmap> b = BitmapFromText({"..", ".."}, {{'.', clWhite}});
  TpkRegion r(BuildRegionFromGraphic(b.get(), clNone));
  EXPECT_EQ(RegionText(r.get(), 2, 2), (std::vector<std::string>{"##", "##"}));
}

// A key means the same in every pixel format: the keys that name no colour
// make nothing transparent, a plain colour its own pixels. A system colour
// keeps the original design's difference: resolved through the mask, but
// compared as given (so never matching) at 24 bits.
TEST(RegionBuild, AKeyMeansTheSameInEveryPixelFormat) {
  const TColor face = ColorToRGB(clBtnFace);
  struct TKeyCase {
    const char* Name;
    TColor Key;
    bool NoColour;
  };
  const TKeyCase keys[] = {
      {"clNone", clNone, true},         {"-1", static_cast<TColor>(-1), true}, {"0x0FFFFFFF", clNoRegion, true},
      {"clDefault", clDefault, true},   {"white", clWhite, false},             {"black", clBlack, false},
  };
  for (int depth : {8, 32}) {
    TSeamOverride<std::function<int()>> seam(Seams().DisplayBitsPerPixel, [depth] { return depth; });
    for (TPixelFormat pf : {pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
      SCOPED_TRACE(testing::Message() << "display " << depth << ", format " << static_cast<int>(pf));
      // White, black and the face colour, as the format holds them (a
      // shallow one keeps the face colour's nearest).
      Owned<TBitmap> b = BitmapFromText({"wkf"}, {{'w', clWhite}, {'k', clBlack}, {'f', face}}, pf);
      Owned<TBitmap> held = MakeOwned<TBitmap>();
      held->Assign(b.get());
      held->SetPixelFormat(pf24bit);
      for (const TKeyCase& k : keys) {
        SCOPED_TRACE(k.Name);
        std::string expected;
        for (int x = 0; x < 3; ++x) {
          const auto* p = static_cast<const uint8_t*>(held->GetScanLine(0)) + 3 * x;
          expected += !k.NoColour && RGB(p[2], p[1], p[0]) == static_cast<COLORREF>(k.Key) ? '.' : '#';
        }
        TpkRegion r(BuildRegionFromGraphic(b.get(), k.Key));
        EXPECT_EQ(RegionText(r.get(), 3, 1)[0], expected);
      }
    }
  }
  // A system colour: at 24 bits nothing matches it, at 32 bits its RGB does.
  Owned<TBitmap> b24 = BitmapFromText({"wkf"}, {{'w', clWhite}, {'k', clBlack}, {'f', face}});
  Owned<TBitmap> b32 = BitmapFromText({"wkf"}, {{'w', clWhite}, {'k', clBlack}, {'f', face}}, pf32bit);
  TpkRegion r24(BuildRegionFromGraphic(b24.get(), clBtnFace)), r32(BuildRegionFromGraphic(b32.get(), clBtnFace));
  EXPECT_EQ(RegionText(r24.get(), 3, 1)[0], "###");
  EXPECT_EQ(RegionText(r32.get(), 3, 1)[0], "##.");
}

TEST(RegionBuild, RowBuilderMergesBandsToTheSameSetAsOneRectanglePerRun) {
  // Compare against the plain OR of every run, over enough rows to make a
  // deep merge tree with an odd remainder.
  pk_detail::TRowRegionBuilder builder;
  TpkRegion plain(CreateRectRgn(0, 0, 0, 0));
  std::vector<pk_detail::TRun> runs;
  for (int y = 0; y < 77; ++y) {
    runs.clear();
    if (y % 11 != 3) {
      int phase = (y / 3) % 4;
      for (int x = phase; x + 2 < 60; x += 6) runs.push_back({x, x + 2 + (y % 2)});
    }
    for (auto& r : runs) {
      TpkRegion one(CreateRectRgn(r.Left, y, r.Right, y + 1));
      CombineRgn(plain.get(), plain.get(), one.get(), RGN_OR);
    }
    builder.AddRow(y, runs);
  }
  TpkRegion built(builder.Finish());
  ASSERT_TRUE(built);
  EXPECT_TRUE(EqualRgn(built.get(), plain.get()));
  EXPECT_EQ(builder.Finish(), nullptr) << "the builder is empty after Finish";
}

TEST(RegionBuild, BuildingLeavesNoGdiObjectsBehind) {
  Owned<TBitmap> b24 = BitmapFromText({"#.#.#", "#####", "..#.."}, {{'.', kKey}, {'#', kInk}});
  Owned<TBitmap> b8 = BitmapFromText({"#.#.#", "#####", "..#.."}, {{'.', kKey}, {'#', kInk}}, pf8bit);
  Owned<TBitmap> none = BitmapFromText({"...", "..."}, {{'.', kKey}});
  ExpectNoHandleGrowth([&] {
    for (TBitmap* b : {b24.get(), b8.get(), none.get()}) TpkRegion(BuildRegionFromGraphic(b, kKey));
  });
}

// --- Blobs ------------------------------------------------------------------------

TpkRegion SampleRegion() {
  TpkRegion r(CreateRectRgn(0, 0, 10, 4));
  TpkRegion hole(CreateRectRgn(3, 1, 6, 3));
  CombineRgn(r.get(), r.get(), hole.get(), RGN_DIFF);
  return r;
}

TEST(RegionBlob, RoundTripThroughAStream) {
  TpkRegion r = SampleRegion();
  TpkRegionBlob blob = CaptureRegionBlob(r.get());
  ASSERT_FALSE(blob.IsEmpty());
  EXPECT_EQ(blob.GetByteCount(), GetRegionData(r.get(), 0, nullptr));

  Owned<TMemoryStream> s = MakeOwned<TMemoryStream>();
  WriteRegionBlob(s.get(), blob);
  EXPECT_EQ(s->GetSize(), 4 + static_cast<int64_t>(blob.GetByteCount()));
  s->SetPosition(0);
  TpkRegionBlob back = ReadRegionBlob(s.get());
  EXPECT_EQ(back.Bytes, blob.Bytes);
  TpkRegion again(RegionFromBlob(back));
  EXPECT_TRUE(SameRegion(again.get(), r.get()));

  // The image form's reader and writer use the same bytes.
  Owned<TMemoryStream> f = MakeOwned<TMemoryStream>();
  WriteRegionData(f.get(), r.get());
  f->SetPosition(0);
  bool stored = false;
  TpkRegion fromForm(ReadRegionData(f.get(), stored));
  EXPECT_TRUE(stored);
  EXPECT_TRUE(SameRegion(fromForm.get(), r.get()));
}

TEST(RegionBlob, NoRegionIsFourZeroBytes) {
  Owned<TStringStream> s = MakeOwned<TStringStream>();
  WriteRegionBlob(s.get(), TpkRegionBlob{});
  EXPECT_EQ(s->GetDataString(), std::string(4, '\0'));
  Owned<TStringStream> f = MakeOwned<TStringStream>();
  WriteRegionData(f.get(), nullptr);
  EXPECT_EQ(f->GetDataString(), std::string(4, '\0'));

  Owned<TStringStream> in = MakeOwned<TStringStream>(std::string(4, '\0'));
  EXPECT_TRUE(ReadRegionBlob(in.get()).IsEmpty());
  in->SetPosition(0);
  bool stored = true;
  EXPECT_EQ(ReadRegionData(in.get(), stored), nullptr);
  EXPECT_FALSE(stored) << "a count of 0 asks the image form to build its region";
}

struct TBlobCase {
  const char* Name;
  std::string Bytes;
  bool Valid;
};

std::vector<TBlobCase> BlobCases() {
  std::vector<RECT> two = {{0, 0, 4, 1}, {0, 1, 2, 3}};
  auto good = RegionBlock(32, 1, 2, 32, two);
  std::vector<TBlobCase> cases = {
      {"valid", BlobBytes(good), true},
      {"valid with a larger nRgnSize", BlobBytes([&] {
         auto b = RegionBlock(32, 1, 2, 48, two);
         b.resize(b.size() + 16, 0);
         return b;
       }()),
       true},
      {"empty stream", "", false},
      {"count cut short", std::string("\x10\x00", 2), false},
      {"count beyond the stream", BlobBytes(good).substr(0, 20), false},
      {"count of a huge block", std::string("\xFF\xFF\xFF\x7F", 4) + std::string(40, '\0'), false},
      {"block shorter than a header", BlobBytes(std::vector<uint8_t>(16, 0)), false},
      {"dwSize not 32", BlobBytes(RegionBlock(40, 1, 2, 32, two)), false},
      {"iType not rectangles", BlobBytes(RegionBlock(32, 2, 2, 32, two)), false},
      {"more rectangles than nRgnSize holds", BlobBytes(RegionBlock(32, 1, 3, 32, two)), false},
      {"nCount x 16 wraps in 32 bits", BlobBytes(RegionBlock(32, 1, 0x10000000u, 32, two)), false},
      {"nRgnSize beyond the block", BlobBytes(RegionBlock(32, 1, 2, 48, two)), false},
      {"dwSize + nRgnSize wraps in 32 bits", BlobBytes(RegionBlock(32, 1, 2, 0xFFFFFFF0u, two)), false},
  };
  return cases;
}

TEST(RegionBlob, DamagedOrShortBlobsAreAbsent) {
  for (const TBlobCase& c : BlobCases()) {
    SCOPED_TRACE(c.Name);
    Owned<TStringStream> s = MakeOwned<TStringStream>(c.Bytes);
    TpkRegionBlob blob = ReadRegionBlob(s.get());
    EXPECT_EQ(!blob.IsEmpty(), c.Valid);
    TpkRegion fromBlob(RegionFromBlob(blob));
    EXPECT_EQ(fromBlob != nullptr, c.Valid);

    Owned<TStringStream> f = MakeOwned<TStringStream>(c.Bytes);
    bool stored = false;
    TpkRegion fromForm(ReadRegionData(f.get(), stored));
    EXPECT_EQ(fromForm != nullptr, c.Valid);
    EXPECT_TRUE(stored) << "a damaged blob is not an empty one";
    if (c.Valid) {
      TpkRegion want(CreateRectRgn(0, 0, 4, 1));
      TpkRegion lower(CreateRectRgn(0, 1, 2, 3));
      CombineRgn(want.get(), want.get(), lower.get(), RGN_OR);
      EXPECT_TRUE(SameRegion(fromForm.get(), want.get()));
      EXPECT_TRUE(SameRegion(fromBlob.get(), want.get()));
    }
  }
}

// A stored block is read band by band, and the region is the one
// ExtCreateRegion makes of the same block: for GetRegionData's own lists,
// and for any list a file may hold (rectangles overlapping, out of order,
// without area, more than a part's worth in one band, none at all).
TEST(RegionBlob, ReadingMakesTheRegionExtCreateRegionMakes) {
  auto banded = [] {
    TpkRegion r(CreateRectRgn(0, 0, 0, 0));
    for (int y = 0; y < 300; y += 3)
      for (int x = (y * 7) % 11; x < 700; x += 13) {
        TpkRegion one(CreateRectRgn(x, y, x + 5 + y % 4, y + 2 + x % 3));
        CombineRgn(r.get(), r.get(), one.get(), RGN_OR);
      }
    TpkRegionBlob blob = CaptureRegionBlob(r.get());
    const auto* h = reinterpret_cast<const RGNDATAHEADER*>(blob.Bytes.data());
    const auto* first = reinterpret_cast<const RECT*>(blob.Bytes.data() + sizeof(RGNDATAHEADER));
    return std::vector<RECT>(first, first + h->nCount);
  };
  auto scattered = [] {
    std::vector<RECT> rects;
    uint32_t seed = 7;
    auto next = [&seed](int n) { return static_cast<int>((seed = seed * 1103515245 + 12345) >> 16) % n; };
    for (int i = 0; i < 500; ++i) {
      int x = next(300) - 20, y = next(200) - 20;
      rects.push_back(RECT{x, y, x + next(40) - 5, y + next(30) - 5});  // some without area
    }
    return rects;
  };
  std::vector<RECT> oneBand;
  for (int x = 0; x < 2000; x += 3) oneBand.push_back(RECT{x, 5, x + 2, 9});
  struct TListCase {
    const char* Name;
    std::vector<RECT> Rects;
  };
  const TListCase cases[] = {
      {"GetRegionData's bands", banded()},
      {"scattered and overlapping", scattered()},
      {"one band of 667 rectangles", oneBand},
      {"none", {}},
      {"none with area", {RECT{3, 3, 3, 9}, RECT{5, 5, 9, 2}}},
  };
  for (const TListCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<uint8_t> block =
        RegionBlock(32, RDH_RECTANGLES, static_cast<uint32_t>(c.Rects.size()),
                    static_cast<uint32_t>(c.Rects.size() * sizeof(RECT)), c.Rects);
    TpkRegion expected(ExtCreateRegion(nullptr, static_cast<DWORD>(block.size()),
                                       reinterpret_cast<const RGNDATA*>(block.data())));
    ASSERT_TRUE(expected);
    TpkRegion read(RegionFromData(block.data(), block.size()));
    ASSERT_TRUE(read);
    EXPECT_TRUE(SameRegion(read.get(), expected.get()));
    Owned<TStringStream> f = MakeOwned<TStringStream>(BlobBytes(block));
    bool stored = false;
    TpkRegion fromForm(ReadRegionData(f.get(), stored));
    EXPECT_TRUE(SameRegion(fromForm.get(), expected.get()));
  }
}

// A form's stored region of tens of thousands of rectangles (a detailed skin:
// every row shifted, 32 runs a row) reads back as the very region that was
// written: the same pixels and the same rectangles.
TEST(RegionBlob, ABigStoredRegionReadsBackTheSame) {
  const int w = 1024, h = 1280, period = 32;
  Owned<TBitmap> skin = MakeOwned<TBitmap>();
  skin->SetPixelFormat(pf24bit);
  skin->SetSize(w, h);
  for (int y = 0; y < h; ++y) {
    TPixelRow<RGBTRIPLE> row = skin->ScanLineAs<RGBTRIPLE>(y);
    for (int x = 0; x < w; ++x) {
      const TColor c = (x + y) % period < period / 2 ? kInk : kKey;
      row[x] = RGBTRIPLE{GetBValue(c), GetGValue(c), GetRValue(c)};
    }
  }
  TpkRegion built(BuildRegionFromGraphic(skin.get(), kKey));
  ASSERT_TRUE(built);
  TpkRegionBlob written = CaptureRegionBlob(built.get());
  ASSERT_GE(reinterpret_cast<const RGNDATAHEADER*>(written.Bytes.data())->nCount, 40000u);

  Owned<TMemoryStream> f = MakeOwned<TMemoryStream>();
  WriteRegionData(f.get(), built.get());
  f->SetPosition(0);
  bool stored = false;
  TpkRegion read(ReadRegionData(f.get(), stored));
  EXPECT_TRUE(stored);
  ASSERT_TRUE(read);
  EXPECT_TRUE(EqualRgn(read.get(), built.get()));
  EXPECT_TRUE(CaptureRegionBlob(read.get()).Bytes == written.Bytes);
}

TEST(RegionBlob, HeaderChecksAreSixtyFourBit) {
  auto b = RegionBlock(32, 1, 0x10000000u, 0, {});
  EXPECT_FALSE(IsValidRegionData(b.data(), b.size()));
  b = RegionBlock(32, 1, 0, 0xFFFFFFE0u, {});
  EXPECT_FALSE(IsValidRegionData(b.data(), b.size()));
  b = RegionBlock(32, 1, 0, 0, {});
  EXPECT_TRUE(IsValidRegionData(b.data(), b.size()));
  EXPECT_FALSE(IsValidRegionData(nullptr, 100));
}

}  // namespace
