#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <cstring>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/Seams.h"
#include "classlib/classes/Streams.h"
#include "skin/pkBitmap.h"
#include "tests/skin/SkinTestUtil.h"

using namespace skin_test;

namespace {

constexpr int kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF, kBlack = 0;

// An 8-bit TBitmap whose 256 colours all differ: entry i = (i, 255 - i, 37 i).
RGBQUAD Entry(int i) {
  return RGBQUAD{static_cast<BYTE>(i * 37), static_cast<BYTE>(255 - i), static_cast<BYTE>(i), 0};
}
Owned<TBitmap> MakePaletted(int w, int h) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf8bit);
  b->SetSize(w, h);
  std::vector<uint8_t> buf(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) {
    RGBQUAD q = Entry(i);
    lp->palPalEntry[i] = PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
  }
  b->SetPalette(CreatePalette(lp));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b->ScanLineAs<uint8_t>(y)[x] = static_cast<uint8_t>(y * w + x + 7);
  return b;
}
int EntryPixel(int i) {
  RGBQUAD q = Entry(i);
  return Rgb(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

// Counts the notifications a bitmap's links receive, and from whom.
struct TLinkLog : TObject {
  std::vector<std::pair<int, TObject*>> calls;
  int id = 0;
  void OnChangeA(TObject* s) { calls.push_back({1, s}); }
  void OnChangeB(TObject* s) { calls.push_back({2, s}); }
};

}  // namespace

// ---------------------------------------------------------------------------
// Storage

TEST(PkBitmap, RowLayoutForWidthsOneToFive) {
  struct {
    int width, gap, stride;
  } cases[] = {{1, 1, 4}, {2, 2, 8}, {3, 3, 12}, {4, 0, 12}, {5, 1, 16}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.width);
    Owned<TpkBitmap> b = MakeOwned<TpkBitmap>();
    b->SetSize(c.width, 3);
    EXPECT_EQ(b->GetRowGap(), c.gap);
    EXPECT_EQ(b->GetRowStride(), c.stride);
    EXPECT_EQ(b->GetSize(), c.stride * 3);
    // The rows are where GDI keeps them: top-down, at the DIB's own stride.
    DIBSECTION ds{};
    ASSERT_EQ(GetObjectA(b->GetHandle(), sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmWidthBytes, c.stride);
    EXPECT_EQ(ds.dsBmih.biBitCount, 24);
    for (int y = 0; y < 3; ++y) EXPECT_EQ(&b->GetRowBytes(y)[0], b->GetPixelData() + y * c.stride);
    EXPECT_EQ(b->GetHeader().biWidth, c.width);
    EXPECT_EQ(b->GetHeader().biHeight, -3);
    // GDI and the row table agree on where a pixel is.
    SetPixel(b->GetMemoryDC(), c.width - 1, 2, RGB(1, 2, 3));
    GdiFlush();
    EXPECT_EQ(b->GetPixel(c.width - 1, 2), Rgb(1, 2, 3));
  }
}

TEST(PkBitmap, SetSizeIsWhiteAndZeroLeavesItEmpty) {
  Owned<TpkBitmap> b = MakePk(3, 2, kRed);
  b->SetSize(4, 3);
  EXPECT_EQ(PixelsOf(b.get()), TPixels(3, std::vector<int>(4, kWhite)));
  for (auto [w, h] : {std::pair{0, 3}, {3, 0}, {-1, 5}}) {
    b->SetSize(w, h);
    EXPECT_TRUE(b->GetEmpty());
    EXPECT_EQ(b->GetWidth(), 0);
    EXPECT_EQ(b->GetHeight(), 0);
    EXPECT_EQ(b->GetHandle(), nullptr);
    EXPECT_EQ(b->GetMemoryDC(), nullptr);
  }
}

// Sizes whose pixels pass 2 GB are refused with EOutOfResources, and the
// bitmap keeps its picture.
TEST(PkBitmap, HugeSizesAreRefusedAndChangeNothing) {
  struct TCase {
    const char* name;
    std::function<void(TpkBitmap*)> run;
  } cases[] = {
      {"SetSize max", [](TpkBitmap* b) { b->SetSize(INT_MAX, INT_MAX); }},
      {"SetSize tall", [](TpkBitmap* b) { b->SetSize(1, 0x20000000); }},
      {"SetSize wide", [](TpkBitmap* b) { b->SetSize(0x40000000, 1); }},
      {"SetWidth", [](TpkBitmap* b) { b->SetWidth(INT_MAX); }},
      {"Resize", [](TpkBitmap* b) { b->Resize(INT_MAX, 3); }},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<TpkBitmap> b = MakeRamp(3, 2);
    const TPixels before = PixelsOf(b.get());
    EXPECT_THROW(c.run(b.get()), EOutOfResources);
    EXPECT_EQ(PixelsOf(b.get()), before);
  }
}

TEST(PkBitmap, SameSizeKeepsPixelsNewSizeDoesNot) {
  Owned<TpkBitmap> b = MakeRamp(3, 2);
  TPixels before = PixelsOf(b.get());
  b->SetWidth(3);
  b->SetHeight(2);
  b->SetSizeIfChanged(3, 2);
  EXPECT_EQ(PixelsOf(b.get()), before);
  b->SetWidth(4);
  EXPECT_EQ(PixelsOf(b.get()), TPixels(2, std::vector<int>(4, kWhite)));
}

TEST(PkBitmap, ResizeKeepsThePictureStretched) {
  Owned<TpkBitmap> b = MakePk({{kRed, kGreen}, {kBlue, kBlack}});
  b->SetTransparent(true);  // stretched opaque all the same: key pixels stay
  b->Resize(4, 4);
  EXPECT_EQ(PixelsOf(b.get()), (TPixels{{kRed, kRed, kGreen, kGreen},
                                        {kRed, kRed, kGreen, kGreen},
                                        {kBlue, kBlue, kBlack, kBlack},
                                        {kBlue, kBlue, kBlack, kBlack}}));
}

TEST(PkBitmap, ParkAndUnparkRestorePixelsAndSize) {
  Owned<TpkBitmap> b = MakeRamp(5, 3);
  TPixels before = PixelsOf(b.get());
  b->ParkPixels();
  EXPECT_TRUE(b->GetEmpty());
  EXPECT_EQ(b->GetHandle(), nullptr);
  EXPECT_TRUE(b->HasParkedPixels());
  EXPECT_EQ(b->GetParkedSize(), 16 * 3);
  EXPECT_EQ(b->GetParkedDim().x, 5);
  EXPECT_EQ(b->GetParkedDim().y, 3);
  b->UnparkPixels();
  EXPECT_FALSE(b->HasParkedPixels());
  EXPECT_EQ(b->GetParkedSize(), 0);
  EXPECT_EQ(PixelsOf(b.get()), before);
  // Parking an empty bitmap parks nothing; unparking then does nothing.
  Owned<TpkBitmap> e = MakeOwned<TpkBitmap>();
  e->ParkPixels();
  EXPECT_FALSE(e->HasParkedPixels());
  e->UnparkPixels();
  EXPECT_TRUE(e->GetEmpty());
}

TEST(PkBitmap, LoadFromBitsRefusesTooFewBytes) {
  Owned<TpkBitmap> b = MakeRamp(2, 2);
  TPixels before = PixelsOf(b.get());
  std::vector<uint8_t> bytes(15);
  EXPECT_THROW(b->LoadFromBits(bytes.data(), 15, TPoint{5, 1}), EInvalidGraphic);
  EXPECT_EQ(PixelsOf(b.get()), before);
  bytes.assign(16, 0x40);
  b->LoadFromBits(bytes.data(), 16, TPoint{5, 1});
  EXPECT_EQ(PixelsOf(b.get()), TPixels(1, std::vector<int>(5, Gray(0x40))));
}

// ---------------------------------------------------------------------------
// Loading, assignment

TEST(PkBitmap, LoadsEveryBitmapDepthAsTwentyFourBits) {
  struct {
    TPixelFormat format;
    TPixelFormat expected;
  } cases[] = {{pf1bit, pf1bit}, {pf4bit, pf4bit},   {pf8bit, pf8bit},  {pf15bit, pf15bit},
               {pf16bit, pf16bit}, {pf24bit, pf24bit}, {pf32bit, pf32bit}, {pfDevice, pfDevice}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.format);
    Owned<TBitmap> src = MakeOwned<TBitmap>();
    src->SetPixelFormat(c.format);
    src->SetSize(3, 2);
    src->GetCanvas()->GetBrush()->SetColor(clBlack);
    src->GetCanvas()->FillRect(Rect(1, 0, 3, 1));
    Owned<TpkBitmap> b = MakeOwned<TpkBitmap>();
    b->LoadFromBitmap(src.get());
    EXPECT_EQ(b->GetPixelFormat(), c.expected);
    EXPECT_EQ(PixelsOf(b.get()), (TPixels{{kWhite, kBlack, kBlack}, {kWhite, kWhite, kWhite}}));
    bool palette = c.format == pf1bit || c.format == pf4bit || c.format == pf8bit;
    EXPECT_EQ(b->GetHasColorTable(), palette);
  }
}

TEST(PkBitmap, EightBitBitmapKeepsItsColourTableThereAndBack) {
  Owned<TBitmap> src = MakePaletted(4, 3);
  Owned<TpkBitmap> b = MakeOwned<TpkBitmap>();
  b->Assign(src.get());
  EXPECT_EQ(b->GetPixelFormat(), pf8bit);
  ASSERT_TRUE(b->GetHasColorTable());
  const std::vector<RGBQUAD> srcTable = src->GetColorTable();
  ASSERT_EQ(srcTable.size(), 256u);
  for (int i = 0; i < 256; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(std::memcmp(&b->GetColorTable()[i], &srcTable[static_cast<size_t>(i)], 3), 0);
  }
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(b->GetPixel(x, y), EntryPixel(y * 4 + x + 7));

  Owned<TBitmap> back = MakeOwned<TBitmap>();
  back->Assign(b.get());
  EXPECT_EQ(back->GetPixelFormat(), pf8bit);
  std::vector<RGBQUAD> table = back->GetColorTable();
  ASSERT_EQ(table.size(), 256u);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(std::memcmp(&table[static_cast<size_t>(i)], &srcTable[static_cast<size_t>(i)], 3), 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(back->ScanLineAs<uint8_t>(y)[x], y * 4 + x + 7);
}

TEST(PkBitmap, AssignmentRules) {
  Owned<TpkBitmap> b = MakeRamp(3, 2);
  // nil and an empty TBitmap empty it.
  b->Assign(nullptr);
  EXPECT_TRUE(b->GetEmpty());
  b = MakeRamp(3, 2);
  Owned<TBitmap> empty = MakeOwned<TBitmap>();
  b->Assign(empty.get());
  EXPECT_TRUE(b->GetEmpty());

  // A TBitmap brings its transparency flag.
  Owned<TBitmap> bmp = MakeOwned<TBitmap>();
  bmp->SetPixelFormat(pf24bit);
  bmp->SetSize(2, 2);
  bmp->SetTransparent(true);
  b->Assign(bmp.get());
  EXPECT_TRUE(b->GetTransparent());
  EXPECT_EQ(b->GetPixelFormat(), pf24bit);

  // Another TpkBitmap copies everything, quietly, then says so once.
  Owned<TpkBitmap> src = MakeRamp(5, 2);
  src->SetTransparent(true);
  src->SetSmoothStretching(true);
  src->SetTransparentColor(clRed);
  src->SetRespectPalette(true);
  src->SetHalftonePalette(true);
  RGBQUAD table[256]{};
  table[3] = RGBQUAD{1, 2, 3, 0};
  src->SetColorTable(table, true);
  Owned<TpkBitmap> dst = MakeOwned<TpkBitmap>();
  TChangeCounter counter;
  dst->SetOnChange(counter.Event());
  dst->Assign(src.get());
  EXPECT_EQ(counter.changes, 1);
  EXPECT_EQ(PixelsOf(dst.get()), PixelsOf(src.get()));
  EXPECT_TRUE(dst->GetTransparent());
  EXPECT_TRUE(dst->GetSmoothStretching());
  EXPECT_EQ(dst->GetTransparentColor(), clRed);
  EXPECT_TRUE(dst->GetRespectPalette());
  EXPECT_TRUE(dst->GetHalftonePalette());
  EXPECT_TRUE(dst->GetHasColorTable());
  EXPECT_EQ(dst->GetColorTable()[3].rgbRed, 3);
  EXPECT_FALSE(dst->GetSuppressChange());
  // An empty TpkBitmap clears the destination.
  Owned<TpkBitmap> none = MakeOwned<TpkBitmap>();
  dst->Assign(none.get());
  EXPECT_TRUE(dst->GetEmpty());
  // Assigning a bitmap to itself changes nothing.
  src->Assign(src.get());
  EXPECT_EQ(src->GetWidth(), 5);
}

TEST(PkBitmap, CannotAssignToAnUnrelatedClass) {
  Owned<TpkBitmap> b = MakeRamp(2, 2);
  struct TOther : TPersistent {
  } other;
  try {
    b->AssignTo(&other);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_NE(e.GetMessage().find("TpkBitmap"), std::string::npos);
  }
}

TEST(PkBitmap, OtherGraphicsAreDrawnIn) {
  Owned<TBitmap> bmp = MakeOwned<TBitmap>();
  bmp->SetPixelFormat(pf24bit);
  bmp->SetSize(2, 1);
  bmp->GetCanvas()->SetPixels(1, 0, clRed);
  Owned<TPicture> pic = MakeOwned<TPicture>();
  pic->SetGraphic(bmp.get());
  Owned<TpkBitmap> b = MakeOwned<TpkBitmap>();
  b->LoadFromGraphic(pic->GetGraphic());
  EXPECT_EQ(PixelsOf(b.get()), (TPixels{{kWhite, kRed}}));
}

TEST(PkBitmap, StreamRoundTripAndRegistration) {
  Owned<TpkBitmap> b = MakeRamp(5, 3);
  Owned<TMemoryStream> s = MakeOwned<TMemoryStream>();
  b->SaveToStream(s.get());
  s->SetPosition(0);
  Owned<TpkBitmap> c = MakeOwned<TpkBitmap>();
  c->LoadFromStream(s.get());
  EXPECT_EQ(PixelsOf(c.get()), PixelsOf(b.get()));
  // Stored forms and pictures find the class by name.
  EXPECT_EQ(GetClass("TpkBitmap"), TpkBitmap::StaticClass());
  EXPECT_EQ(FindGraphicClassByName("TpkBitmap"), TpkBitmap::StaticClass());
  Owned<TPicture> pic = MakeOwned<TPicture>();
  pic->SetGraphic(b.get());
  ASSERT_NE(dynamic_cast<TpkBitmap*>(pic->GetGraphic()), nullptr);
  EXPECT_EQ(PixelsOf(static_cast<TpkBitmap*>(pic->GetGraphic())), PixelsOf(b.get()));
}

// ---------------------------------------------------------------------------
// Change notification

TEST(PkBitmap, LinksAreToldInOrderUnlessSuppressed) {
  Owned<TpkBitmap> b = MakeRamp(2, 2);
  TLinkLog log;
  Owned<TpkChangeLink> a = MakeOwned<TpkChangeLink>(), c = MakeOwned<TpkChangeLink>();
  a->SetOnChange(TNotifyEvent(&log, &TLinkLog::OnChangeA));
  c->SetOnChange(TNotifyEvent(&log, &TLinkLog::OnChangeB));
  b->RegisterChanges(a.get());
  b->RegisterChanges(c.get());
  b->Changed(b.get());
  EXPECT_EQ(log.calls, (std::vector<std::pair<int, TObject*>>{{1, b.get()}, {2, b.get()}}));
  EXPECT_EQ(a->GetSender(), b.get());
  log.calls.clear();
  b->SetSuppressChange(true);
  b->Changed(b.get());
  EXPECT_TRUE(log.calls.empty());
  b->SetSuppressChange(false);
  b->UnregisterChanges(a.get());
  b->SetSize(3, 3);
  EXPECT_EQ(log.calls, (std::vector<std::pair<int, TObject*>>{{2, b.get()}}));
}

// ---------------------------------------------------------------------------
// Drawing

TEST(PkBitmap, SmoothStretchValues) {
  struct TCase {
    const char* name;
    TPixels source;
    int w, h;
    TPixels expected;
  } cases[] = {
      // Steps of (1 shl 15) div 3: weights 10922 and 21844 of 32768.
      {"2x1 to 3x1", {{kBlack, kWhite}}, 3, 1, {{kBlack, Gray(84), Gray(169)}}},
      {"1x1 enlarged", {{kRed}}, 3, 2, {{kRed, kRed, kRed}, {kRed, kRed, kRed}}},
      {"1x2 widened", {{kBlack}, {kWhite}}, 3, 3, {{0, 0, 0}, {Gray(84), Gray(84), Gray(84)}, {Gray(169), Gray(169), Gray(169)}}},
      {"2x1 heightened", {{kBlack, kWhite}}, 3, 2, {{0, Gray(84), Gray(169)}, {0, Gray(84), Gray(169)}}},
      {"2x2 to 4x4 keeps the top-left", {{kRed, kGreen}, {kBlue, kBlack}}, 4, 4, {}},
      {"shrunk", {{kBlack, kWhite, kBlack, kWhite}}, 2, 1, {{kBlack, Gray(127)}}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<TpkBitmap> src = MakePk(c.source);
    Owned<TpkBitmap> dst = MakePk(c.w + 2, c.h + 2, kBlue);
    src->SmoothStretchDraw(dst->GetCanvas(), Bounds(1, 1, c.w, c.h));
    GdiFlush();
    TPixels got(static_cast<size_t>(c.h), std::vector<int>(static_cast<size_t>(c.w)));
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x) got[static_cast<size_t>(y)][static_cast<size_t>(x)] = dst->GetPixel(x + 1, y + 1);
    if (c.expected.empty()) {
      EXPECT_EQ(got[0][0], kRed);
    } else {
      EXPECT_EQ(got, c.expected);
    }
    // Nothing outside the rectangle.
    EXPECT_EQ(dst->GetPixel(0, 0), kBlue);
    EXPECT_EQ(dst->GetPixel(c.w + 1, c.h + 1), kBlue);
  }
}

TEST(PkBitmap, ZeroAreaRectanglesDrawNothing) {
  Owned<TpkBitmap> src = MakeRamp(3, 2);
  for (bool transparent : {false, true}) {
    src->SetTransparent(transparent);
    for (TRect r : {Rect(1, 1, 1, 3), Rect(1, 1, 3, 1), Rect(2, 2, 0, 0)}) {
      Owned<TpkBitmap> dst = MakePk(4, 4, kBlue);
      src->SmoothStretchDraw(dst->GetCanvas(), r);
      src->StretchDraw(dst->GetCanvas(), r);
      src->DrawTransparent(dst->GetCanvas(), r);
      src->TileDraw(dst->GetCanvas(), r);
      dst->GetCanvas()->StretchDraw(r, src.get());
      EXPECT_EQ(PixelsOf(dst.get()), TPixels(4, std::vector<int>(4, kBlue)));
    }
  }
  // And an empty bitmap draws nothing anywhere.
  Owned<TpkBitmap> empty = MakeOwned<TpkBitmap>();
  Owned<TpkBitmap> dst = MakePk(2, 2, kBlue);
  empty->TileDraw(dst->GetCanvas(), Rect(0, 0, 2, 2));
  empty->SmoothStretchDraw(dst->GetCanvas(), Rect(0, 0, 2, 2));
  dst->GetCanvas()->StretchDraw(Rect(0, 0, 2, 2), empty.get());
  EXPECT_EQ(PixelsOf(dst.get()), TPixels(2, std::vector<int>(2, kBlue)));
}

TEST(PkBitmap, PlainStretchAndDraw) {
  Owned<TpkBitmap> src = MakePk({{kRed, kGreen}});
  Owned<TpkBitmap> dst = MakePk(5, 2, kBlue);
  dst->GetCanvas()->StretchDraw(Rect(0, 0, 4, 1), src.get());
  dst->GetCanvas()->Draw(3, 1, src.get());
  GdiFlush();
  EXPECT_EQ(PixelsOf(dst.get()), (TPixels{{kRed, kRed, kGreen, kGreen, kBlue}, {kBlue, kBlue, kBlue, kRed, kGreen}}));
}

TEST(PkBitmap, TransparentDrawingKeysOnTheTopLeftOrTheColour) {
  struct TCase {
    const char* name;
    TColor transparentColor;
    TPixels source;
    TPixels expected;  // drawn over blue
  } cases[] = {
      {"clNone: top-left", clNone, {{kRed, kGreen, kRed}}, {{kBlue, kGreen, kBlue}}},
      {"a colour", clLime, {{kRed, kGreen, kRed}}, {{kRed, kBlue, kRed}}},
      {"1x1", clNone, {{kRed}}, {{kBlue}}},
      {"1xN", clNone, {{kRed}, {kGreen}, {kRed}}, {{kBlue}, {kGreen}, {kBlue}}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<TpkBitmap> src = MakePk(c.source);
    src->SetTransparent(true);
    src->SetTransparentColor(c.transparentColor);
    Owned<TpkBitmap> dst = MakePk(src->GetWidth(), src->GetHeight(), kBlue);
    dst->GetCanvas()->Draw(0, 0, src.get());
    GdiFlush();
    EXPECT_EQ(PixelsOf(dst.get()), c.expected);
    // The mask is black (0) on the key, white (1) where the source shows.
    TBitmap* mask = src->GetTransparencyMask();
    ASSERT_NE(mask, nullptr);
    ASSERT_EQ(mask->GetPixelFormat(), pf1bit);
    for (int y = 0; y < src->GetHeight(); ++y)
      for (int x = 0; x < src->GetWidth(); ++x) {
        const int bit = mask->ScanLineAs<uint8_t>(y)[x >> 3] >> (7 - (x & 7)) & 1;
        EXPECT_EQ(bit, c.expected[static_cast<size_t>(y)][static_cast<size_t>(x)] != kBlue) << x << "," << y;
      }
  }
}

TEST(PkBitmap, StretchedTransparentDrawingKeysTheSameColour) {
  Owned<TpkBitmap> src = MakePk({{kGreen, kGreen}, {kGreen, kRed}});
  src->SetTransparent(true);
  src->SetTransparentColor(clLime);
  for (bool smooth : {false, true}) {
    SCOPED_TRACE(smooth);
    src->SetSmoothStretching(smooth);
    Owned<TpkBitmap> dst = MakePk(4, 4, kBlue);
    dst->GetCanvas()->StretchDraw(Rect(0, 0, 4, 4), src.get());
    GdiFlush();
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dst->GetPixel(x, 0), kBlue) << x;
    EXPECT_NE(dst->GetPixel(3, 3), kBlue);
    if (!smooth) {
      EXPECT_EQ(dst->GetPixel(3, 3), kRed);
    }
  }
}

// The smooth stretch keeps its target bitmap between draws of one size: a
// second draw after the picture changed draws the new picture and its new
// transparent pixels, exactly as a fresh copy of it draws.
TEST(PkBitmap, SmoothStretchDrawsTheCurrentPictureEachTime) {
  Owned<TpkBitmap> src = MakePk({{kGreen, kGreen, kRed}, {kGreen, kRed, kRed}});
  src->SetSmoothStretching(true);
  for (bool transparent : {false, true}) {
    SCOPED_TRACE(transparent);
    src->SetTransparent(transparent);
    src->SetTransparentColor(clLime);
    for (int round = 0; round < 3; ++round) {
      SCOPED_TRACE(round);
      Owned<TpkBitmap> fresh = MakePk(PixelsOf(src.get()));
      fresh->SetTransparent(transparent);
      fresh->SetTransparentColor(clLime);
      Owned<TpkBitmap> kept = MakePk(8, 6, kBlue), once = MakePk(8, 6, kBlue);
      src->SmoothStretchDraw(kept->GetCanvas(), Rect(1, 1, 7, 5));
      fresh->SmoothStretchDraw(once->GetCanvas(), Rect(1, 1, 7, 5));
      EXPECT_EQ(PixelsOf(kept.get()), PixelsOf(once.get()));
      // The key moves to the other side of the picture.
      src->Flip(true);
    }
  }
}

// The mask follows every change of pixels, key colour and transparency
// (a kept mask would draw the old key's pixels transparent).
TEST(PkBitmap, TransparencyMaskFollowsChanges) {
  struct TCase {
    const char* name;
    std::function<void(TpkBitmap*)> change;
    TPixels expected;  // source {{red, green, red}} changed, drawn over blue
  } cases[] = {
      {"pixel written", [](TpkBitmap* b) { b->SetPixel(1, 0, kRed); }, {{kBlue, kBlue, kBlue}}},
      {"effect", [](TpkBitmap* b) { b->ReplaceColor(kGreen, kRed); }, {{kBlue, kBlue, kBlue}}},
      {"canvas drawing", [](TpkBitmap* b) { b->GetCanvas()->SetPixels(0, 0, clLime); }, {{kBlue, kBlue, kRed}}},
      {"memory DC drawing", [](TpkBitmap* b) { SetPixelV(b->GetMemoryDC(), 0, 0, RGB(0, 255, 0)); },
       {{kBlue, kBlue, kRed}}},
      {"key colour", [](TpkBitmap* b) { b->SetTransparentColor(clLime); }, {{kRed, kBlue, kRed}}},
      {"loaded",
       [](TpkBitmap* b) {
         Owned<TpkBitmap> other = MakePk({{kGreen, kRed, kGreen}});
         other->SetTransparent(true);
         b->Assign(other.get());
       },
       {{kBlue, kRed, kBlue}}},
      {"opaque", [](TpkBitmap* b) { b->SetTransparent(false); }, {{kRed, kGreen, kRed}}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<TpkBitmap> src = MakePk({{kRed, kGreen, kRed}});
    src->SetTransparent(true);
    Owned<TpkBitmap> first = MakePk(3, 1, kBlue);
    first->GetCanvas()->Draw(0, 0, src.get());
    ASSERT_NE(src->GetTransparencyMask(), nullptr);
    c.change(src.get());
    Owned<TpkBitmap> dst = MakePk(3, 1, kBlue);
    dst->GetCanvas()->Draw(0, 0, src.get());
    GdiFlush();
    EXPECT_EQ(PixelsOf(dst.get()), c.expected);
  }
}

TEST(PkBitmap, CopyingOutNeverGoesThroughTheMask) {
  Owned<TpkBitmap> src = MakePk({{kRed, kGreen}});
  src->SetTransparent(true);
  Owned<TBitmap> out = MakeOwned<TBitmap>();
  out->Assign(src.get());
  EXPECT_TRUE(out->GetTransparent());
  EXPECT_EQ(PixelOfBitmap(out.get(), 0, 0), kRed);
  EXPECT_EQ(PixelOfBitmap(out.get(), 1, 0), kGreen);
}

TEST(PkBitmap, TileDrawCoversTheRectangleFromItsCorner) {
  Owned<TpkBitmap> tile = MakePk({{kRed, kGreen}});
  struct {
    TRect rect;
    const char* name;
  } cases[] = {{Rect(0, 0, 5, 2), "at the origin"}, {Rect(3, 1, 7, 3), "beyond one tile"}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<TpkBitmap> dst = MakePk(9, 4, kBlue);
    tile->TileDraw(dst->GetCanvas(), c.rect);
    GdiFlush();
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 9; ++x) {
        bool inside = x >= c.rect.left && x < c.rect.right && y >= c.rect.top && y < c.rect.bottom;
        if (!inside) continue;
        EXPECT_EQ(dst->GetPixel(x, y), (x - c.rect.left) % 2 ? kGreen : kRed) << x << "," << y;
      }
    EXPECT_EQ(dst->GetPixel(c.rect.left - (c.rect.left ? 1 : 0), 3), kBlue);
  }
}

TEST(PkBitmap, PaletteDisplaysRealiseTheColourTable) {
  Owned<TBitmap> src = MakePaletted(2, 2);
  Owned<TpkBitmap> b = MakeOwned<TpkBitmap>();
  b->Assign(src.get());
  b->SetRespectPalette(true);
  Owned<TpkBitmap> target = MakePk(2, 2, kWhite);
  HPALETTE old = nullptr;
  {
    // A deep display realises nothing.
    TSeamOverride<std::function<int()>> depth(Seams().DisplayBitsPerPixel, [] { return 32; });
    b->RealizePalette(target->GetCanvas(), old);
    EXPECT_EQ(old, nullptr);
    EXPECT_EQ(b->GetPalette(), nullptr);
  }
  TSeamOverride<std::function<int()>> depth(Seams().DisplayBitsPerPixel, [] { return 8; });
  b->RealizePalette(target->GetCanvas(), old);
  ASSERT_NE(b->GetPalette(), nullptr);
  HDC dc = target->GetCanvas()->GetHandle();
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), b->GetPalette());
  PALETTEENTRY entries[256]{};
  ASSERT_EQ(GetPaletteEntries(b->GetPalette(), 0, 256, entries), 256u);
  for (int i = 0; i < 256; ++i) {
    RGBQUAD q = Entry(i);
    EXPECT_EQ(entries[i].peRed, q.rgbRed);
    EXPECT_EQ(entries[i].peGreen, q.rgbGreen);
    EXPECT_EQ(entries[i].peBlue, q.rgbBlue);
  }
  b->RestorePalette(target->GetCanvas(), old);
  EXPECT_EQ(b->GetPalette(), nullptr);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), old);
  // Without a colour table the halftone palette stands in; a draw realises
  // and releases it, the pixels arrive unchanged.
  Owned<TpkBitmap> plain = MakeRamp(2, 2);
  plain->SetHalftonePalette(true);
  plain->RealizePalette(target->GetCanvas(), old);
  EXPECT_NE(plain->GetPalette(), nullptr);
  plain->RestorePalette(target->GetCanvas(), old);
  target->GetCanvas()->Draw(0, 0, plain.get());
  GdiFlush();
  EXPECT_EQ(plain->GetPalette(), nullptr);
  EXPECT_EQ(PixelsOf(target.get()), PixelsOf(plain.get()));
}

// A bitmap loaded from a TBitmap goes back into that format: through
// AssignTo and through a stream, in every pixel format at every display
// depth. A device bitmap's rows are as wide as the display's depth makes
// them (half a byte a pixel at 4 bits), whatever its PixelFormat says.
TEST(PkBitmap, WritesBackIntoEveryPixelFormatAtEveryDisplayDepth) {
  for (int depth : AllDisplayDepths()) {
    TSeamOverride<std::function<int()>> seam(Seams().DisplayBitsPerPixel, [depth] { return depth; });
    for (TPixelFormat pf : AllPixelFormats()) {
      SCOPED_TRACE(testing::Message() << "depth " << depth << ", format " << static_cast<int>(pf));
      Owned<TBitmap> src = StripedBitmap(pf);
      Owned<TpkBitmap> pk = MakeOwned<TpkBitmap>();
      pk->Assign(src.get());
      Owned<TBitmap> assigned = MakeOwned<TBitmap>();
      assigned->Assign(pk.get());
      EXPECT_EQ(assigned->GetPixelFormat(), pf);
      EXPECT_EQ(ColoursOf(assigned.get()), ColoursOf(src.get())) << "AssignTo";
      Owned<TMemoryStream> stream = MakeOwned<TMemoryStream>();
      pk->SaveToStream(stream.get());
      stream->SetPosition(0);
      Owned<TBitmap> streamed = MakeOwned<TBitmap>();
      streamed->LoadFromStream(stream.get());
      EXPECT_EQ(ColoursOf(streamed.get()), ColoursOf(src.get())) << "SaveToStream";
    }
  }
}

TEST(PkBitmap, ClipboardFormatsAreIgnored) {
  Owned<TpkBitmap> b = MakeRamp(2, 2);
  WORD format = 7;
  HANDLE data = nullptr;
  HPALETTE pal = nullptr;
  b->SaveToClipboardFormat(format, data, pal);
  b->LoadFromClipboardFormat(CF_BITMAP, nullptr, nullptr);
  EXPECT_EQ(format, 7);
  EXPECT_EQ(b->GetWidth(), 2);
}

#ifdef PERIVANE_CHECKED
TEST(PkBitmap, PixelAccessIsCheckedOutsideTheImage) {
  Owned<TpkBitmap> b = MakeRamp(3, 2);
  EXPECT_THROW(b->GetRow(2), ERangeError);
  EXPECT_THROW(b->GetRow(-1), ERangeError);
  EXPECT_THROW(b->GetRow(0)[3], ERangeError);
  EXPECT_THROW(b->GetRowBytes(0)[9], ERangeError);
  EXPECT_THROW(b->GetPixel(-1, 0), ERangeError);
}
#endif

// ---------------------------------------------------------------------------
// Stored forms

namespace {

class TPkImageHolder : public TComponent {
  DECLARE_CLASS(TPkImageHolder, TComponent)
  explicit TPkImageHolder(TComponent* owner) : TComponent(owner) {}
  ~TPkImageHolder() override {
    FreeObject(image_);
    FreeObject(picture_);
  }
  TpkBitmap* GetImage() const { return image_; }
  void SetImage(TpkBitmap* v) { image_->Assign(v); }
  TPicture* GetPicture() const { return picture_; }
  void SetPicture(TPicture* v) { picture_->Assign(v); }

 private:
  TpkBitmap* image_ = New<TpkBitmap>();
  TPicture* picture_ = New<TPicture>();
};

}  // namespace

PUBLISHED(TPkImageHolder) {
  p.Prop("Image", &TPkImageHolder::GetImage, &TPkImageHolder::SetImage);
  p.Prop("Picture", &TPkImageHolder::GetPicture, &TPkImageHolder::SetPicture);
}

TEST(PkBitmap, StoredFormRoundTrip) {
  Owned<TPkImageHolder> a(New<TPkImageHolder>(nullptr));
  a->SetName("Holder");
  Owned<TStringStream> empty(New<TStringStream>());
  empty->WriteComponent(a.get());
  // An empty bitmap writes no data.
  EXPECT_EQ(empty->GetDataString().find("Data"), std::string::npos);

  a->GetImage()->Assign(MakeRamp(5, 3).get());
  a->GetPicture()->SetGraphic(MakeRamp(2, 4).get());
  Owned<TStringStream> s(New<TStringStream>());
  s->WriteComponent(a.get());
  std::string text = s->GetDataString();
  EXPECT_NE(text.find("Image.Data = {"), std::string::npos) << text;
  // The picture names its graphic's class: length 9, then "TpkBitmap".
  EXPECT_NE(text.find("Picture.Data = {\r\n    0954706B4269746D6170"), std::string::npos) << text;

  Owned<TPkImageHolder> b(New<TPkImageHolder>(nullptr));
  Owned<TStringStream> in(New<TStringStream>(text));
  in->ReadComponent(b.get());
  EXPECT_EQ(PixelsOf(b->GetImage()), PixelsOf(a->GetImage()));
  auto* pic = dynamic_cast<TpkBitmap*>(b->GetPicture()->GetGraphic());
  ASSERT_NE(pic, nullptr);
  EXPECT_EQ(PixelsOf(pic), PixelsOf(MakeRamp(2, 4).get()));
}
