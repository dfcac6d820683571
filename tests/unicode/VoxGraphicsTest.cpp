// Wide canvas text drawn with real fonts into bitmaps, and pictures saved
// and loaded under wide names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/SysUtils.h"
#include "tests/common/TestSupport.h"
#include "tests/unicode/VoxTestSupport.h"
#include "unicode/VoxGraphics.h"

namespace {

Owned<TBitmap> WhiteBitmap(int w, int h) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(w, h);
  b->GetCanvas()->GetBrush()->SetColor(clWhite);
  b->GetCanvas()->FillRect(TRect{0, 0, w, h});
  b->GetCanvas()->GetFont()->SetName("Tahoma");
  b->GetCanvas()->GetFont()->SetSize(12);
  return b;
}

// First and last device column in [from, to) with any pixel other than the
// background, read from the bits (not through the DC, whose mapping may be
// mirrored); -1 when none.
std::pair<int, int> InkColumns(TBitmap* b, TColor background = clWhite, int from = 0, int to = -1) {
  GdiFlush();
  if (to < 0) to = b->GetWidth();
  const uint32_t bg = static_cast<uint32_t>(((background & 0xFF) << 16) | (background & 0xFF00) |
                                            ((background >> 16) & 0xFF));
  int first = -1, last = -1;
  for (int y = 0; y < b->GetHeight(); ++y) {
    const auto* row = static_cast<const uint32_t*>(b->GetScanLine(y));
    for (int x = from; x < to; ++x)
      if ((row[x] & 0xFFFFFF) != bg) {
        if (first < 0 || x < first) first = x;
        if (x > last) last = x;
      }
  }
  return {first, last};
}

// A canvas whose mapping runs x from right to left over a bitmap w wide.
void MirrorByMapping(TCanvas* c, int w) {
  HDC dc = c->GetHandle();
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, 1, 1, nullptr);
  SetViewportExtEx(dc, -1, 1, nullptr);
  SetViewportOrgEx(dc, w - 1, 0, nullptr);
}

TEST(VoxCanvasText, ExtentsMeasureTheWideText) {
  Owned<TBitmap> b = WhiteBitmap(10, 10);
  TCanvas* c = b->GetCanvas();
  EXPECT_EQ(0, WideCanvasTextWidth(c, L""));
  EXPECT_EQ(0, WideCanvasTextHeight(c, L""));
  TSize one = WideCanvasTextExtent(c, L"\u0416");
  TSize three = WideCanvasTextExtent(c, L"\u0416\u0416\u0416");
  EXPECT_GT(one.cx, 0);
  EXPECT_EQ(3 * one.cx, three.cx);
  EXPECT_EQ(c->TextHeight("X"), three.cy);
  SIZE direct;
  GetTextExtentPoint32W(c->GetHandle(), L"W\u00E9", 2, &direct);
  EXPECT_EQ(direct.cx, WideCanvasTextWidth(c, L"W\u00E9"));
}

TEST(VoxCanvasText, TextOutDrawsAtXAndMovesThePen) {
  Owned<TBitmap> b = WhiteBitmap(120, 30);
  TCanvas* c = b->GetCanvas();
  c->GetBrush()->SetStyle(bsClear);
  WideCanvasTextOut(c, 20, 5, L"\u0416\u0416");
  auto ink = InkColumns(b.get());
  const int width = WideCanvasTextWidth(c, L"\u0416\u0416");
  EXPECT_GE(ink.first, 20);
  EXPECT_LE(ink.first, 22);
  EXPECT_LE(ink.second, 20 + width);
  EXPECT_EQ(20 + width, c->GetPenPos().x);
  EXPECT_EQ(5, c->GetPenPos().y);
}

TEST(VoxCanvasText, RightToLeftCanvasesPlaceTheTextWhereLeftToRightOnesDo) {
  const int w = 160;
  Owned<TBitmap> ltr = WhiteBitmap(w, 30), rtl = WhiteBitmap(w, 30);
  ltr->GetCanvas()->GetBrush()->SetStyle(bsClear);
  rtl->GetCanvas()->GetBrush()->SetStyle(bsClear);
  WideCanvasTextOut(ltr->GetCanvas(), 30, 5, L"\u0416\u00E9W");
  MirrorByMapping(rtl->GetCanvas(), w);
  ASSERT_EQ(coRightToLeft, rtl->GetCanvas()->GetCanvasOrientation());
  WideCanvasTextOut(rtl->GetCanvas(), 30, 5, L"\u0416\u00E9W");
  auto left = InkColumns(ltr.get()), right = InkColumns(rtl.get());
  ASSERT_GE(left.first, 0);
  ASSERT_GE(right.first, 0);
  // Mirrored: logical x is w - 1 - device x. There text runs from its
  // reference point towards smaller x, so its cell is (X' - width, X'] with
  // X' = X + width + 1: the cell of the left-to-right text, one pixel on.
  const int rtlFirst = w - 1 - right.second, rtlLast = w - 1 - right.first;
  const int textWidth = WideCanvasTextWidth(ltr->GetCanvas(), L"\u0416\u00E9W");
  EXPECT_GE(left.first, 30);
  EXPECT_LT(left.second, 30 + textWidth);
  EXPECT_GE(rtlFirst, 30 + 1);
  EXPECT_LE(rtlLast, 30 + textWidth + 1);
  EXPECT_EQ(30 + textWidth + 1 + textWidth, rtl->GetCanvas()->GetPenPos().x) << "the pen at the moved X + width";
}

TEST(VoxCanvasText, TextRectClipsAndFillsUnlessTheBrushIsClear) {
  for (bool clear : {false, true}) {
    SCOPED_TRACE(clear ? "clear brush" : "solid brush");
    Owned<TBitmap> b = WhiteBitmap(100, 30);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(clRed);
    if (clear) c->GetBrush()->SetStyle(bsClear);
    WideCanvasTextRect(c, TRect{20, 2, 50, 25}, 10, 2, L"\u0416\u0416\u0416\u0416\u0416\u0416\u0416");
    GdiFlush();
    // Nothing outside the rectangle, though the text is longer.
    for (int y = 0; y < 30; ++y) {
      EXPECT_EQ(clWhite, c->GetPixels(19, y));
      EXPECT_EQ(clWhite, c->GetPixels(50, y));
    }
    EXPECT_EQ(clWhite, c->GetPixels(30, 1));
    // Inside, the brush's colour where no glyph is (the corner), or nothing.
    EXPECT_EQ(clear ? clWhite : clRed, c->GetPixels(49, 24));
    auto ink = InkColumns(b.get(), clear ? clWhite : clRed, 20, 50);
    EXPECT_GE(ink.first, 20) << "glyphs inside the rectangle";
  }
}

TEST(VoxCanvasText, TextRectMovesRightToLeftTextOnlyWithRtlReading) {
  const int w = 160;
  auto draw = [&](bool rtlReading) {
    Owned<TBitmap> b = WhiteBitmap(w, 30);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetStyle(bsClear);
    if (rtlReading) c->SetTextFlags(ETO_RTLREADING);
    MirrorByMapping(c, w);
    WideCanvasTextRect(c, TRect{0, 0, w, 30}, 40, 5, L"\u0416\u0416");
    auto ink = InkColumns(b.get());
    return w - 1 - ink.second;  // first logical column
  };
  Owned<TBitmap> m = WhiteBitmap(10, 10);
  const int width = WideCanvasTextWidth(m->GetCanvas(), L"\u0416\u0416");
  EXPECT_NEAR(draw(true) - draw(false), width + 1, 1);
}

// --- Pictures under wide names -----------------------------------------------------------

Owned<TVoxPicture> PictureOfSize(int w, int h) {
  Owned<TVoxPicture> p = MakeOwned<TVoxPicture>();
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetSize(w, h);
  p->SetGraphic(b.get());
  return p;
}

size_t FilesIn(const TWideTempFolder& dir) {
  size_t n = 0;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(dir.Path(L"*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return n;
}

class VoxPictureFiles : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override { route_ = std::make_unique<TAnsiRoute>(GetParam()); }
  void TearDown() override { route_.reset(); }
  std::wstring Name() const { return GetParam() ? L"caf\u00E9 picture.bmp" : L"\u0416\u4E2D picture.bmp"; }
  std::unique_ptr<TAnsiRoute> route_;
};

TEST_P(VoxPictureFiles, SaveAndLoadUnderAWideName) {
  TWideTempFolder dir(L"vox-picture");
  const std::wstring file = dir.Path(Name());
  PictureOfSize(7, 5)->SaveToFile(file);
  Owned<TVoxPicture> back = MakeOwned<TVoxPicture>();
  back->LoadFromFile(file);
  EXPECT_EQ(7, back->GetWidth());
  EXPECT_EQ(5, back->GetHeight());
  // Saving over it replaces it.
  PictureOfSize(3, 9)->SaveToFile(file);
  back->LoadFromFile(file);
  EXPECT_EQ(3, back->GetWidth());
  EXPECT_EQ(1u, FilesIn(dir)) << "no temporary file is left";
}

TEST_P(VoxPictureFiles, NothingIsWrittenWithoutAGraphic) {
  TWideTempFolder dir(L"vox-picture-empty");
  const std::wstring file = dir.Path(Name());
  Owned<TVoxPicture> empty = MakeOwned<TVoxPicture>();
  empty->SaveToFile(file);
  EXPECT_EQ(0u, FilesIn(dir));
  WriteFileBytes(file, "old");
  empty->SaveToFile(file);
  EXPECT_EQ("old", ReadFileBytes(file));
}

TEST_P(VoxPictureFiles, AFailedReplaceKeepsTheOldFile) {
  TWideTempFolder dir(L"vox-picture-fail");
  // A folder where the picture should go cannot be replaced by a file.
  const std::wstring file = dir.Path(Name());
  ASSERT_TRUE(CreateDirectoryW(file.c_str(), nullptr));
  WriteFileBytes(file + L"\\inside.txt", "kept");
  EXPECT_THROW(PictureOfSize(4, 4)->SaveToFile(file), EOSError);
  EXPECT_EQ("kept", ReadFileBytes(file + L"\\inside.txt"));
  EXPECT_EQ(0u, FilesIn(dir)) << "the temporary file is gone";
}

TEST_P(VoxPictureFiles, ATargetHeldOpenIsNeverLost) {
  TWideTempFolder dir(L"vox-picture-held");
  const std::wstring file = dir.Path(Name());
  PictureOfSize(6, 6)->SaveToFile(file);
  const std::string old = ReadFileBytes(file);
  // Someone reads the old picture and lets others delete it meanwhile.
  HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  bool saved = true;
  try {
    PictureOfSize(2, 8)->SaveToFile(file);
  } catch (const EOSError&) {
    saved = false;
  }
  CloseHandle(held);
  std::string now = ReadFileBytes(file);
  ASSERT_NE("(missing)", now) << "the old picture and the new one are both lost";
  if (saved) {
    Owned<TVoxPicture> back = MakeOwned<TVoxPicture>();
    back->LoadFromFile(file);
    EXPECT_EQ(2, back->GetWidth());
  } else {
    EXPECT_EQ(old, now);
  }
  EXPECT_EQ(1u, FilesIn(dir));
}

TEST_P(VoxPictureFiles, LoadingAMissingFileRaisesAndKeepsThePicture) {
  TWideTempFolder dir(L"vox-picture-missing");
  Owned<TVoxPicture> p = PictureOfSize(5, 5);
  EXPECT_ANY_THROW(p->LoadFromFile(dir.Path(Name())));
  EXPECT_EQ(5, p->GetWidth());
}

INSTANTIATE_TEST_SUITE_P(Routes, VoxPictureFiles, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& i) { return i.param ? "Ansi" : "Wide"; });

}  // namespace
