#include <gtest/gtest.h>

#include <functional>

#include "classlib/Graphics.h"
#include "classlib/Seams.h"
#include "tests/classlib/GraphicsTestUtil.h"

using namespace graphics_test;

namespace {

// Every pixel of the bitmap is expected white except those listed.
struct TPixelCase {
  int x, y;
  TColor color;
};

void ExpectPixels(TBitmap* b, std::initializer_list<TPixelCase> pixels) {
  for (const auto& p : pixels) {
    SCOPED_TRACE(testing::Message() << "pixel (" << p.x << ", " << p.y << ")");
    EXPECT_EQ(PixelAt(b, p.x, p.y), p.color);
  }
}

class CanvasPixels : public testing::TestWithParam<TPixelFormat> {};

TEST_P(CanvasPixels, LineToLeavesOutItsEndPoint) {
  struct {
    TPoint from, to;
    TPoint firstIn, lastIn, excluded;
  } cases[] = {
      {{1, 1}, {5, 1}, {1, 1}, {4, 1}, {5, 1}},
      {{2, 6}, {2, 2}, {2, 6}, {2, 3}, {2, 2}},
      {{1, 1}, {4, 4}, {1, 1}, {3, 3}, {4, 4}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "to (" << c.to.x << ", " << c.to.y << ")");
    auto b = MakeBitmap(8, 8, GetParam());
    b->GetCanvas()->GetPen()->SetColor(clBlack);
    b->GetCanvas()->MoveTo(c.from.x, c.from.y);
    b->GetCanvas()->LineTo(c.to.x, c.to.y);
    ExpectPixels(b.get(), {{c.firstIn.x, c.firstIn.y, clBlack},
                           {c.lastIn.x, c.lastIn.y, clBlack},
                           {c.excluded.x, c.excluded.y, clWhite}});
    EXPECT_EQ(b->GetCanvas()->GetPenPos().x, c.to.x);
    EXPECT_EQ(b->GetCanvas()->GetPenPos().y, c.to.y);
  }
}

TEST_P(CanvasPixels, RectangleWithClearPenFillsOnePixelLess) {
  auto b = MakeBitmap(8, 8, GetParam());
  TCanvas* c = b->GetCanvas();
  c->GetPen()->SetStyle(psClear);
  c->GetBrush()->SetColor(clRed);
  c->Rectangle(2, 2, 6, 6);
  // Without a pen GDI fills up to right - 1 and bottom - 1.
  ExpectPixels(b.get(), {{2, 2, clRed}, {4, 4, clRed}, {5, 4, clWhite}, {4, 5, clWhite}, {1, 2, clWhite}});
}

TEST_P(CanvasPixels, RectangleWithClearBrushDrawsTheFrameOnly) {
  auto b = MakeBitmap(8, 8, GetParam());
  TCanvas* c = b->GetCanvas();
  c->GetPen()->SetColor(clBlue);
  c->GetBrush()->SetStyle(bsClear);
  c->Rectangle(1, 1, 6, 6);
  ExpectPixels(b.get(), {{1, 1, clBlue}, {5, 5, clBlue}, {5, 1, clBlue}, {3, 3, clWhite}, {6, 6, clWhite}});
}

TEST_P(CanvasPixels, FillRectCoversExactlyTheRectangle) {
  auto b = MakeBitmap(8, 8, GetParam());
  b->GetCanvas()->GetBrush()->SetColor(clLime);
  b->GetCanvas()->FillRect(Rect(1, 2, 4, 5));
  ExpectPixels(b.get(), {{1, 2, clLime}, {3, 4, clLime}, {4, 4, clWhite}, {3, 5, clWhite}, {0, 2, clWhite},
                         {1, 1, clWhite}});
}

TEST_P(CanvasPixels, BrushCopyPaintsTheKeyColourWithTheBrush) {
  auto src = MakeBitmap(4, 1, pf24bit);
  TColor row[] = {clRed, clGreen, clRed, clBlue};
  for (int x = 0; x < 4; ++x) src->GetCanvas()->SetPixels(x, 0, row[x]);
  struct {
    TBrushStyle style;
    TColor expected[4];
  } cases[] = {
      {bsSolid, {clFuchsia, clGreen, clFuchsia, clBlue}},
      {bsClear, {clYellow, clGreen, clYellow, clBlue}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.style);
    auto dst = MakeBitmap(6, 3, GetParam(), clYellow);
    TCanvas* canvas = dst->GetCanvas();
    canvas->GetBrush()->SetColor(clFuchsia);
    canvas->GetBrush()->SetStyle(c.style);
    canvas->BrushCopy(Rect(1, 1, 5, 2), src.get(), Rect(0, 0, 4, 1), clRed);
    for (int x = 0; x < 4; ++x) {
      SCOPED_TRACE(x);
      EXPECT_EQ(PixelAt(dst.get(), x + 1, 1), c.expected[x]);
    }
    EXPECT_EQ(PixelAt(dst.get(), 0, 1), clYellow);
    EXPECT_EQ(PixelAt(dst.get(), 5, 1), clYellow);
    EXPECT_EQ(PixelAt(dst.get(), 1, 0), clYellow);
  }
}

TEST_P(CanvasPixels, StretchDrawScalesEachPixel) {
  auto src = MakeBitmap(2, 2, pf24bit);
  TColor colors[2][2] = {{clRed, clLime}, {clBlue, clBlack}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) src->GetCanvas()->SetPixels(x, y, colors[y][x]);
  auto dst = MakeBitmap(6, 6, GetParam());
  dst->GetCanvas()->StretchDraw(Rect(1, 1, 5, 5), src.get());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      SCOPED_TRACE(testing::Message() << x << "," << y);
      EXPECT_EQ(PixelAt(dst.get(), x + 1, y + 1), colors[y / 2][x / 2]);
    }
  ExpectPixels(dst.get(), {{0, 0, clWhite}, {5, 5, clWhite}, {5, 1, clWhite}});
}

TEST_P(CanvasPixels, CopyModeCombinesSourceAndDestination) {
  const TColor d = 0x0F3C5A, s = 0x33F00C;
  struct {
    TCopyMode mode;
    TColor expected;
  } cases[] = {
      {cmSrcCopy, s}, {cmSrcAnd, d & s}, {cmSrcPaint, d | s}, {cmSrcInvert, d ^ s}, {cmNotSrcCopy, ~s & 0xFFFFFF},
  };
  auto src = MakeBitmap(2, 2, pf24bit, s);
  for (auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.mode);
    // Through Draw and through CopyRect alike.
    auto viaDraw = MakeBitmap(4, 4, GetParam(), d);
    viaDraw->GetCanvas()->SetCopyMode(c.mode);
    viaDraw->GetCanvas()->Draw(1, 1, src.get());
    EXPECT_EQ(PixelAt(viaDraw.get(), 1, 1), c.expected);
    EXPECT_EQ(PixelAt(viaDraw.get(), 2, 2), c.expected);
    EXPECT_EQ(PixelAt(viaDraw.get(), 3, 3), d);
    auto viaCopy = MakeBitmap(4, 4, GetParam(), d);
    viaCopy->GetCanvas()->SetCopyMode(c.mode);
    viaCopy->GetCanvas()->CopyRect(Rect(0, 0, 2, 2), src->GetCanvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(PixelAt(viaCopy.get(), 0, 0), c.expected);
    EXPECT_EQ(PixelAt(viaCopy.get(), 2, 2), d);
  }
}

TEST_P(CanvasPixels, TransparentDrawLeavesTheKeyColourOut) {
  auto src = MakeBitmap(3, 1, pf24bit);
  src->GetCanvas()->SetPixels(0, 0, clRed);
  src->GetCanvas()->SetPixels(1, 0, clBlue);
  src->GetCanvas()->SetPixels(2, 0, clRed);
  src->SetTransparentColor(clRed);
  src->SetTransparent(true);
  auto dst = MakeBitmap(4, 2, GetParam(), clYellow);
  dst->GetCanvas()->Draw(1, 0, src.get());
  ExpectPixels(dst.get(), {{1, 0, clYellow}, {2, 0, clBlue}, {3, 0, clYellow}, {0, 0, clYellow}});
}

TEST_P(CanvasPixels, TextRectClipsToItsRectangleAndFillsIt) {
  auto b = MakeBitmap(20, 20, GetParam());
  TCanvas* c = b->GetCanvas();
  c->GetBrush()->SetColor(clYellow);
  c->GetFont()->SetColor(clBlack);
  c->TextRect(Rect(3, 3, 9, 9), 0, 0, "WWWWWWWW");
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      bool inside = x >= 3 && x < 9 && y >= 3 && y < 9;
      TColor p = PixelAt(b.get(), x, y);
      if (inside) EXPECT_NE(p, clWhite) << x << "," << y;
      else EXPECT_EQ(p, clWhite) << x << "," << y;
    }
}

TEST_P(CanvasPixels, PixelsReadAndWriteThroughTheCanvas) {
  auto b = MakeBitmap(3, 3, GetParam());
  b->GetCanvas()->SetPixels(1, 2, 0x123456);
  EXPECT_EQ(b->GetCanvas()->GetPixels(1, 2), 0x123456);
  EXPECT_EQ(PixelAt(b.get(), 1, 2), 0x123456);
  EXPECT_EQ(b->GetCanvas()->GetPixels(0, 0), clWhite);
  // A system colour is resolved when drawn.
  b->GetCanvas()->SetPixels(0, 0, clBtnFace);
  EXPECT_EQ(PixelAt(b.get(), 0, 0), ColorToRGB(clBtnFace));
}

TEST_P(CanvasPixels, PatternBrushRepeatsItsBitmap) {
  auto pattern = MakeBitmap(8, 8, pf24bit, clBlue);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if ((x + y) % 2) pattern->GetCanvas()->SetPixels(x, y, clRed);
  auto b = MakeBitmap(16, 4, GetParam());
  b->GetCanvas()->GetBrush()->SetBitmap(pattern.get());
  b->GetCanvas()->FillRect(Rect(0, 0, 16, 4));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(PixelAt(b.get(), x, y), (x + y) % 2 ? clRed : clBlue) << x << "," << y;
}

TEST_P(CanvasPixels, MasksCombineWithAndThenPaint) {
  // The transparent drawing other libraries build from a mask: the mask
  // (white where transparent) with cmSrcAnd, then the image, its transparent
  // pixels black, with cmSrcPaint.
  auto image = MakeBitmap(3, 1, pf24bit);
  image->GetCanvas()->SetPixels(0, 0, clBlack);
  image->GetCanvas()->SetPixels(1, 0, clLime);
  image->GetCanvas()->SetPixels(2, 0, clBlack);
  auto mask = MakeOwned<TBitmap>();
  mask->Assign(image.get());
  mask->Mask(clBlack);
  auto dst = MakeBitmap(3, 1, GetParam(), clNavy);
  dst->GetCanvas()->SetCopyMode(cmSrcAnd);
  dst->GetCanvas()->Draw(0, 0, mask.get());
  dst->GetCanvas()->SetCopyMode(cmSrcPaint);
  dst->GetCanvas()->Draw(0, 0, image.get());
  ExpectPixels(dst.get(), {{0, 0, clNavy}, {1, 0, clLime}, {2, 0, clNavy}});
}

INSTANTIATE_TEST_SUITE_P(Depths, CanvasPixels, testing::Values(pf24bit, pf32bit),
                         [](const testing::TestParamInfo<TPixelFormat>& i) {
                           return i.param == pf24bit ? std::string("pf24bit") : std::string("pf32bit");
                         });

TEST(Canvas, AttachedDCGetsItsObjectsBackOnRelease) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN), brush = GetCurrentObject(dc, OBJ_BRUSH),
          font = GetCurrentObject(dc, OBJ_FONT);
  int rop = GetROP2(dc);
  {
    Owned<TCanvas> c = MakeOwned<TCanvas>();
    c->SetHandle(dc);
    c->GetPen()->SetMode(pmXor);
    c->GetPen()->SetColor(clRed);
    c->GetBrush()->SetColor(clBlue);
    c->RequiredState(csAllValid);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), c->GetPen()->GetHandle());
    EXPECT_EQ(GetROP2(dc), R2_XORPEN);
    // A change deselects the old pen at once, so it can be deleted.
    HPEN oldPen = c->GetPen()->GetHandle();
    c->GetPen()->SetColor(clGreen);
    EXPECT_EQ(GetObjectType(oldPen), 0u);
    c->RequiredState(csAllValid);
    c->SetHandle(nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    EXPECT_EQ(GetROP2(dc), rop);
    c->SetHandle(dc);
  }
  // Freeing the canvas releases the DC the same way.
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  DeleteDC(dc);
}

TEST(Canvas, ThePenPositionOutlivesTheDC) {
  auto b = MakeBitmap(8, 4, pf24bit);
  TCanvas* c = b->GetCanvas();
  c->GetPen()->SetColor(clBlack);
  c->MoveTo(2, 1);
  // Handing the bitmap's handle out releases the canvas's DC; the next
  // operation makes a new one.
  b->GetHandle();
  EXPECT_FALSE(c->HandleAllocated());
  c->LineTo(5, 1);
  ExpectPixels(b.get(), {{1, 1, clWhite}, {2, 1, clBlack}, {4, 1, clBlack}, {5, 1, clWhite}});
  EXPECT_EQ(c->GetPenPos().x, 5);

  // A DC attached from outside starts where the canvas's pen was, and gets
  // its own position back on release.
  HDC first = CreateCompatibleDC(nullptr), second = CreateCompatibleDC(nullptr);
  Owned<TCanvas> attached = MakeOwned<TCanvas>();
  attached->SetHandle(first);
  attached->MoveTo(7, 3);
  attached->SetHandle(second);
  POINT p{};
  GetCurrentPositionEx(second, &p);
  EXPECT_EQ(p.x, 7);
  EXPECT_EQ(p.y, 3);
  GetCurrentPositionEx(first, &p);
  EXPECT_EQ(p.x, 0);
  attached->SetHandle(nullptr);
  DeleteDC(first);
  DeleteDC(second);
}

TEST(Canvas, WithoutADCItCannotDraw) {
  Owned<TCanvas> c = MakeOwned<TCanvas>();
  EXPECT_THROW(c->FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
}

TEST(Canvas, DrawingOnABitmapChangesTheBitmap) {
  auto b = MakeBitmap(4, 4);
  struct TCounter {
    int changes = 0;
    void OnChange(TObject*) { ++changes; }
  } n;
  b->SetOnChange(TNotifyEvent(&n, &TCounter::OnChange));
  b->GetCanvas()->FillRect(Rect(0, 0, 2, 2));
  b->GetCanvas()->LineTo(3, 3);
  EXPECT_EQ(n.changes, 2);
}

TEST(Canvas, LockNestsAndCounts) {
  Owned<TCanvas> c = MakeOwned<TCanvas>();
  c->Lock();
  EXPECT_TRUE(c->TryLock());
  EXPECT_EQ(c->GetLockCount(), 2);
  c->Unlock();
  c->Unlock();
  EXPECT_EQ(c->GetLockCount(), 0);
}

// Every canvas operation, and the bitmap work around it, gives back every GDI
// object it made: the count after many rounds is the count after one.
TEST(Canvas, OperationsLeaveNoGdiObjectBehind) {
  ASSERT_GT(GdiObjectCount(), 0);
  TSeamOverride<std::function<int()>> seam(Seams().DisplayBitsPerPixel, [] { return 8; });
  auto source = MakeBitmap(8, 8, pf24bit, clRed);
  source->GetCanvas()->SetPixels(2, 2, clBlue);
  auto round = [&source] {
    auto b = MakeBitmap(16, 16, pf24bit);
    TCanvas* c = b->GetCanvas();
    c->GetFont()->SetStyle({fsBold});
    c->GetFont()->SetColor(clMaroon);
    c->GetPen()->SetWidth(2);
    c->GetPen()->SetColor(clGreen);
    c->GetBrush()->SetStyle(bsDiagCross);
    c->Rectangle(1, 1, 9, 9);
    c->TextOut(1, 1, "Ag");
    // Changed while selected: each old handle is deselected and deleted.
    c->GetPen()->SetColor(clPurple);
    c->GetBrush()->SetStyle(bsSolid);
    c->GetFont()->SetName("Arial");
    c->Ellipse(2, 2, 12, 12);
    c->MoveTo(0, 0);
    c->LineTo(15, 15);
    c->TextRect(Rect(0, 0, 8, 8), 0, 0, "Ag");
    c->GetBrush()->SetColor(clYellow);
    c->FillRect(Rect(0, 0, 4, 4));
    c->FrameRect(Rect(0, 0, 6, 6));
    c->DrawFocusRect(Rect(1, 1, 7, 7));
    c->GetBrush()->SetBitmap(source.get());
    c->FillRect(Rect(4, 4, 12, 12));
    c->GetBrush()->SetBitmap(nullptr);
    c->SetPixels(3, 3, clAqua);
    c->CopyRect(Rect(0, 0, 8, 8), source->GetCanvas(), Rect(0, 0, 4, 4));
    c->BrushCopy(Rect(0, 0, 8, 8), source.get(), Rect(0, 0, 8, 8), clRed);
    c->GetBrush()->SetStyle(bsClear);
    c->BrushCopy(Rect(0, 0, 8, 8), source.get(), Rect(0, 0, 8, 8), clRed);
    c->StretchDraw(Rect(0, 0, 16, 16), source.get());
    source->SetTransparent(true);
    c->Draw(2, 2, source.get());
    source->SetTransparent(false);
    auto palette = MakeBitmap(4, 4, pf8bit, clLime);
    c->Draw(0, 0, palette.get());
    b->SetPixelFormat(pf8bit);
    b->SetMonochrome(true);
    b->SetSize(20, 20);
    auto copy = MakeOwned<TBitmap>();
    copy->Assign(b.get());
    copy->Mask(clWhite);
    std::vector<uint8_t> bytes = source->SaveToBytes();
    copy->LoadFromBytes(bytes.data(), bytes.size());
    // A DC of the caller's, attached and given back.
    HDC dc = CreateCompatibleDC(nullptr);
    Owned<TCanvas> attached = MakeOwned<TCanvas>();
    attached->SetHandle(dc);
    attached->GetFont()->SetSize(12);
    attached->TextOut(0, 0, "x");
    attached->GetPen()->SetStyle(psDot);
    attached->LineTo(5, 5);
    attached->SetHandle(nullptr);
    DeleteDC(dc);
  };
  round();
  const int before = GdiObjectCount();
  for (int i = 0; i < 20; ++i) round();
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
