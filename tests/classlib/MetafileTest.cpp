#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "classlib/graphics/Metafile.h"
#include "tests/classlib/GraphicsTestUtil.h"

using namespace graphics_test;

namespace {

// An EMF of 20 x 10 mm, filled green with a red rectangle over its left half.
HENHMETAFILE MakeEmf() {
  HDC ref = GetDC(nullptr);
  int mmX = GetDeviceCaps(ref, HORZSIZE), mmY = GetDeviceCaps(ref, VERTSIZE);
  int pxX = GetDeviceCaps(ref, HORZRES), pxY = GetDeviceCaps(ref, VERTRES);
  RECT frame{0, 0, 2000, 1000};
  HDC dc = CreateEnhMetaFileA(ref, nullptr, &frame, nullptr);
  ReleaseDC(nullptr, ref);
  // The frame in reference-device pixels.
  int w = MulDiv(2000, pxX, mmX * 100), h = MulDiv(1000, pxY, mmY * 100);
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0)), red = CreateSolidBrush(RGB(255, 0, 0));
  RECT all{0, 0, w, h}, left{0, 0, w / 2, h};
  FillRect(dc, &all, green);
  FillRect(dc, &left, red);
  DeleteObject(green);
  DeleteObject(red);
  return CloseEnhMetaFile(dc);
}

// Plays the metafile into a 40 x 20 white DIB; the colours at the quarter
// and three-quarter points of the middle row.
std::pair<COLORREF, COLORREF> Played(TMetafile* m) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(40, 20);
  b->GetCanvas()->StretchDraw(Rect(0, 0, 40, 20), m);
  auto* row = static_cast<const uint8_t*>(b->GetScanLine(10));
  auto at = [&](int x) { return RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]); };
  return {at(10), at(30)};
}

TEST(MetafileTest, FormatsRoundTripAndPlay) {
  Owned<TMetafile> source = MakeOwned<TMetafile>();
  source->SetHandle(MakeEmf());
  EXPECT_NEAR(source->GetMMWidth(), 2000, 5);
  EXPECT_NEAR(source->GetMMHeight(), 1000, 5);

  auto emf = SavedBytes(source.get());
  source->SetEnhanced(false);
  auto placeable = SavedBytes(source.get());
  ASSERT_GT(placeable.size(), 22u);
  std::vector<uint8_t> bare(placeable.begin() + 22, placeable.end());

  struct {
    const char* Name;
    std::vector<uint8_t> Data;
    bool Enhanced;
  } cases[] = {{"EMF", emf, true}, {"placeable WMF", placeable, false}, {"bare WMF", bare, false}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Owned<TMetafile> m = MakeOwned<TMetafile>();
    m->LoadFromStream(StreamOf(c.Data).get());
    EXPECT_EQ(m->GetEnhanced(), c.Enhanced);
    EXPECT_FALSE(m->GetEmpty());
    if (c.Enhanced || c.Data.size() == placeable.size()) {
      EXPECT_NEAR(m->GetMMWidth(), 2000, 30);
      EXPECT_NEAR(m->GetMMHeight(), 1000, 30);
      EXPECT_NEAR(m->GetWidth(), 76, 1);  // 20 mm at 96 pixels per inch
    }
    auto [left, right] = Played(m.get());
    EXPECT_EQ(left, RGB(255, 0, 0));
    EXPECT_EQ(right, RGB(0, 255, 0));
  }
}

TEST(MetafileTest, DamagedDataRaisesAndLeavesTheMetafileUnchanged) {
  Owned<TMetafile> m = MakeOwned<TMetafile>();
  m->SetHandle(MakeEmf());
  auto emf = SavedBytes(m.get());
  m->SetEnhanced(false);
  auto wmf = SavedBytes(m.get());
  m->SetEnhanced(true);
  auto badChecksum = wmf;
  badChecksum[20] ^= 0x55;
  struct {
    const char* Name;
    std::vector<uint8_t> Data;
  } cases[] = {
      {"empty", {}},
      {"garbage", std::vector<uint8_t>(200, 0x5A)},
      {"truncated EMF", std::vector<uint8_t>(emf.begin(), emf.begin() + emf.size() / 2)},
      {"truncated WMF", std::vector<uint8_t>(wmf.begin(), wmf.begin() + wmf.size() / 2)},
      {"placeable checksum", badChecksum},
  };
  HENHMETAFILE before = m->GetHandle();
  for (auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_THROW(m->LoadFromStream(StreamOf(c.Data).get()), EInvalidGraphic);
    EXPECT_EQ(m->GetHandle(), before);
    EXPECT_TRUE(m->GetEnhanced());
  }
}

}  // namespace
