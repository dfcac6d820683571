#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "skin/pkBitmap.h"
#include "skin/pkComboDropDown.h"
#include "skin/pkShared.h"
#include "tests/skin/SkinTestUtil.h"

using namespace skin_test;

namespace {

constexpr int kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF, kBlack = 0;

int SysPixel(int index) { return ColorToPixel(static_cast<TColor>(GetSysColor(index))); }

}  // namespace

TEST(PkShared, StartUpSetsTheVersionAndTheDropDownMessage) {
  EXPECT_EQ(GetPkVersion(), "3000.03");
  EXPECT_GE(GetPkComboDropDownMessage(), 0xC000u);
  EXPECT_EQ(GetPkComboDropDownMessage(), RegisterWindowMessageA("PKCOMBODROPDOWNMESSAGE"));
}

TEST(PkShared, InheritsFromName) {
  struct {
    const char* name;
    bool expected;
  } cases[] = {{"TpkBitmap", true}, {"tgraphic", true}, {"TPERSISTENT", true}, {"TObject", true},
               {"TBitmap", false},  {"TpkBitma", false}, {"", false}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(InheritsFromName(TpkBitmap::StaticClass(), c.name), c.expected);
  }
  EXPECT_FALSE(InheritsFromName(static_cast<TObject*>(nullptr), "TObject"));
}

TEST(PkShared, AdjustColor) {
  struct {
    TColor color;
    int percent;
    bool relative;
    TColor expected;
  } cases[] = {
      {clRed, 50, true, static_cast<TColor>(RGB(255, 127, 127))},
      {clGray, -50, true, static_cast<TColor>(RGB(64, 64, 64))},
      {static_cast<TColor>(RGB(100, 200, 0)), 50, true, static_cast<TColor>(RGB(177, 227, 127))},
      {static_cast<TColor>(RGB(10, 20, 30)), 10, false, static_cast<TColor>(RGB(20, 30, 40))},
      {static_cast<TColor>(RGB(250, 5, 128)), 10, false, static_cast<TColor>(RGB(255, 15, 138))},
      {static_cast<TColor>(RGB(250, 5, 128)), -10, false, static_cast<TColor>(RGB(240, 0, 118))},
      // Saturated: a 0 channel beside a 255 one takes the percentage itself.
      {clLime, 30, false, static_cast<TColor>(RGB(30, 255, 30))},
      {clBlack, 0, true, clBlack},
      {clGray, INT_MAX, true, clWhite},
      {clGray, INT_MIN, true, clBlack},
      {clGray, INT_MAX, false, clWhite},
      {clGray, INT_MIN, false, clBlack},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.color) + " " + std::to_string(c.percent) + " " + std::to_string(c.relative));
    EXPECT_EQ(AdjustColor(c.color, c.percent, c.relative), c.expected);
  }
  // System colours are resolved first.
  EXPECT_EQ(AdjustColor(clBtnFace, 0, true), ColorToRGB(clBtnFace));
}

TEST(PkShared, SplitColor) {
  TpkColorBytes b = SplitColor(static_cast<TColor>(RGB(1, 2, 3)));
  EXPECT_EQ(b.R, 1);
  EXPECT_EQ(b.G, 2);
  EXPECT_EQ(b.B, 3);
  EXPECT_EQ(b.A, 0);
  b = SplitColor(clBtnFace);
  EXPECT_EQ(static_cast<TColor>(RGB(b.R, b.G, b.B)), ColorToRGB(clBtnFace));
}

TEST(PkShared, StringHelpers) {
  struct {
    std::string in, out;
  } strip[] = {{"&File", "File"}, {"Save && Exit", "Save & Exit"}, {"a&&&b", "a&b"}, {"end&", "end"}, {"", ""},
               {"&&&&", "&&"}};
  for (auto& c : strip) EXPECT_EQ(StripAccelerators(c.in), c.out) << c.in;

  EXPECT_EQ(ReplaceAll("a-b-c", "-", "--"), "a--b--c");
  EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");

  EXPECT_EQ(PosFrom("b", "abcabc", 1), 2);
  EXPECT_EQ(PosFrom("b", "abcabc", 3), 5);
  EXPECT_EQ(PosFrom("b", "abcabc", 6), 0);
  EXPECT_EQ(PosFrom("b", "abcabc", 0), 2);
  EXPECT_EQ(PosFrom("b", "abcabc", 99), 0);

  EXPECT_EQ(NthPos("ab", "ab ab ab", 1), 1);
  EXPECT_EQ(NthPos("ab", "ab ab ab", 3), 7);
  EXPECT_EQ(NthPos("ab", "ab ab ab", 4), 0);
  EXPECT_EQ(NthPos("ab", "ab ab ab", 0), 0);
  EXPECT_EQ(NthPos("aa", "aaaa", 2), 3);

  EXPECT_EQ(CountOf("aaaa", "aa"), 2);
  EXPECT_EQ(CountOf("a\r\nb\r\n", "\r\n"), 2);
  EXPECT_EQ(CountOf("abc", ""), 0);

  struct {
    std::string s, delimiter;
    int n;
    std::string expected;
  } fields[] = {
      {"one\r\ntwo", "\r\n", 0, "one"},  {"one\r\ntwo", "\r\n", 1, "two"}, {"one\r\ntwo", "\r\n", 2, ""},
      {"a,,c", ",", 1, ""},              {"a,,c", ",", 2, "c"},           {"abc", ",", 0, "abc"},
      {"abc", ",", 1, ""},               {"", ",", 0, ""},                {"a,b", ",", -1, ""},
  };
  for (auto& c : fields) {
    SCOPED_TRACE(c.s + " " + std::to_string(c.n));
    EXPECT_EQ(NthField(c.s, c.delimiter, c.n), c.expected);
  }
}

TEST(PkShared, NextToken) {
  struct TCase {
    std::string text;
    TpkTokenOptions options;
    std::string delimiters;
    std::vector<std::string> tokens;
  } cases[] = {
      {"one two  three", {ntSkipBlanks}, " ", {"one", "two", "three"}},
      {"a,b,,c", {}, ",", {"a", "b", "", "c"}},
      {"  \"quoted text\",next", {ntSkipBlanks, ntQuoted}, ",", {"quoted text", "", "next"}},
      {"with space;x", {ntSpaces}, ";", {"with space", "x"}},
      {"stop here", {}, ";", {"stop", "here"}},
      {"ctl\x01mid", {ntSpaces}, ";", {"ctl", "mid"}},
      {"\x01\x02", {}, ";", {"", ""}},
      {"", {ntSkipBlanks}, ",", {}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<std::string> got;
    int pos = 1;
    std::string token;
    for (int guard = 0; guard < 20 && NextToken(c.text, pos, c.options, token, c.delimiters); ++guard)
      got.push_back(token);
    EXPECT_EQ(got, c.tokens);
  }
}

TEST(PkShared, SmallHelpers) {
  UINT flags = 0x10;
  SetFlag(true, flags, 0x4u);
  EXPECT_EQ(flags, 0x14u);
  SetFlag(false, flags, 0x10u);
  EXPECT_EQ(flags, 0x4u);
  EXPECT_EQ(Smaller(3, -2), -2);
  EXPECT_EQ(Larger(3, -2), 3);
  EXPECT_EQ(RectWidth(Rect(2, 3, 7, 11)), 5);
  EXPECT_EQ(RectHeight(Rect(2, 3, 7, 11)), 8);
  TPoint p;
  SetPoint(p, 4, -5);
  EXPECT_EQ(p.x, 4);
  EXPECT_EQ(p.y, -5);
  uint32_t colors[] = {0x11223344, 0xFF0000FF, 0x00ABCDEF};
  SwapColorBytes(colors, 3);
  EXPECT_EQ(colors[0], 0x00443322u);
  EXPECT_EQ(colors[1], 0x00FF0000u);
  EXPECT_EQ(colors[2], 0x00EFCDABu);
  SwapColorBytes(nullptr, 5);
}

// ---------------------------------------------------------------------------
// Masked drawing

// Key pixels of the source leave the destination as it was; every other
// pixel is copied (the mask is black on the key).
TEST(PkShared, DrawMaskedLeavesKeyPixelsOut) {
  struct TCase {
    const char* name;
    TColor key;
    TPixels expected;
  } cases[] = {
      {"key colour", clLime, {{kRed, kBlue, kWhite}}},
      {"-1: first pixel", -1, {{kBlue, kGreen, kWhite}}},
      {"clNone: first pixel", clNone, {{kBlue, kGreen, kWhite}}},
      {"no such colour", clFuchsia, {{kRed, kGreen, kWhite}}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<TpkBitmap> src = MakePk({{kRed, kGreen, kWhite}});
    Owned<TpkBitmap> dst = MakePk(4, 2, kBlue);
    DrawMasked(dst->GetCanvas(), Rect(0, 1, 3, 2), src.get(), c.key);
    GdiFlush();
    EXPECT_EQ(dst->GetPixel(3, 1), kBlue);
    EXPECT_EQ(PixelsOf(dst.get())[0], std::vector<int>(4, kBlue));
    std::vector<int> row = PixelsOf(dst.get())[1];
    row.resize(3);
    EXPECT_EQ(TPixels{row}, c.expected);
  }
}

// BlitThroughMask shows the image where its mask is white and keeps the
// destination where it is black, directly or through a copy.
TEST(PkShared, BlitThroughMaskPolarity) {
  for (bool viaCopy : {false, true}) {
    SCOPED_TRACE(viaCopy);
    Owned<TBitmap> image = MakeOwned<TBitmap>();
    image->SetPixelFormat(pf24bit);
    image->SetSize(3, 1);
    image->GetCanvas()->SetPixels(0, 0, clRed);
    image->GetCanvas()->SetPixels(1, 0, clLime);
    image->GetCanvas()->SetPixels(2, 0, clWhite);
    Owned<TBitmap> mask = MakeOwned<TBitmap>();
    mask->SetPixelFormat(pf1bit);
    mask->SetSize(3, 1);
    mask->ScanLineAs<uint8_t>(0)[0] = 0xA0;  // white, black, white
    Owned<TpkBitmap> dst = MakePk(5, 1, kBlue);
    dst->GetCanvas()->GetFont()->SetColor(static_cast<TColor>(RGB(1, 2, 3)));
    dst->GetCanvas()->GetBrush()->SetColor(static_cast<TColor>(RGB(4, 5, 6)));
    BlitThroughMask(dst->GetCanvas(), Rect(1, 0, 4, 1), image.get(), viaCopy, mask.get());
    GdiFlush();
    EXPECT_EQ(PixelsOf(dst.get()), (TPixels{{kBlue, kRed, kBlue, kWhite, kBlue}}));
    // The DC's colours are put back.
    EXPECT_EQ(GetTextColor(dst->GetMemoryDC()), RGB(1, 2, 3));
    EXPECT_EQ(GetBkColor(dst->GetMemoryDC()), RGB(4, 5, 6));
  }
}

TEST(PkShared, FillOutsideRegion) {
  for (TColor key : {clLime, clNone}) {
    SCOPED_TRACE(key);
    Owned<TpkBitmap> b = MakePk(4, 3, kRed);
    b->SetPixel(0, 0, kBlue);
    b->SetTransparentColor(key);
    pk_detail::TGdiObject<HRGN> region(CreateRectRgn(1, 1, 3, 2));
    FillOutsideRegion(b.get(), region.get());
    GdiFlush();
    int fill = key == clNone ? kBlue : kGreen;
    EXPECT_EQ(PixelsOf(b.get()), (TPixels{{fill, fill, fill, fill}, {fill, kRed, kRed, fill}, {fill, fill, fill, fill}}));
  }
}

// The glyph's shape embossed on the button face; also in place, with Dest
// the Source itself.
TEST(PkShared, DrawDisabledGlyphEmbossesTheShape) {
  for (bool inPlace : {false, true}) {
    SCOPED_TRACE(inPlace);
    Owned<TBitmap> src = MakeOwned<TBitmap>();
    src->SetPixelFormat(pf24bit);
    src->SetSize(4, 4);  // white: the bottom-left pixel, the transparent colour
    src->GetCanvas()->SetPixels(1, 1, clBlack);
    src->GetCanvas()->SetPixels(2, 1, clRed);
    Owned<TBitmap> other = MakeOwned<TBitmap>();
    other->SetPixelFormat(pf24bit);
    TBitmap* dst = inPlace ? src.get() : other.get();
    DrawDisabledGlyph(src.get(), dst);
    ASSERT_EQ(dst->GetWidth(), 4);
    int face = SysPixel(COLOR_BTNFACE), light = SysPixel(COLOR_BTNHIGHLIGHT), shade = SysPixel(COLOR_BTNSHADOW);
    EXPECT_EQ(PixelOfBitmap(dst, 1, 1), shade);
    EXPECT_EQ(PixelOfBitmap(dst, 2, 1), shade);
    EXPECT_EQ(PixelOfBitmap(dst, 2, 2), light);
    EXPECT_EQ(PixelOfBitmap(dst, 3, 2), light);
    EXPECT_EQ(PixelOfBitmap(dst, 0, 0), face);
    EXPECT_EQ(PixelOfBitmap(dst, 1, 2), face);
  }
}

// ---------------------------------------------------------------------------
// Checker, tiles, rectangles

TEST(PkShared, FillCheckerRefusesNoSecondColour) {
  Owned<TpkBitmap> b = MakePk(2, 2, kWhite);
  try {
    FillChecker(b->GetCanvas(), Rect(0, 0, 2, 2), clRed, clNone);
    FAIL() << "no exception";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.GetMessage(), "Color2 cannot be clNone");
  }
}

TEST(PkShared, FillCheckerAlternatesTheColours) {
  Owned<TpkBitmap> b = MakePk(4, 3, kWhite);
  FillChecker(b->GetCanvas(), Rect(0, 0, 4, 2), clRed, clBlue);
  GdiFlush();
  // Pattern rows 0xAA and 0x55: set bits take Color1, clear bits Color2.
  EXPECT_EQ(PixelsOf(b.get()), (TPixels{{kRed, kBlue, kRed, kBlue}, {kBlue, kRed, kBlue, kRed}, {kWhite, kWhite, kWhite, kWhite}}));
  // Color1 clNone paints only the Color2 cells.
  Owned<TpkBitmap> c = MakePk(4, 2, kGreen);
  FillChecker(c->GetCanvas(), Rect(0, 0, 4, 2), clNone, clBlue);
  GdiFlush();
  EXPECT_EQ(PixelsOf(c.get()), (TPixels{{kGreen, kBlue, kGreen, kBlue}, {kBlue, kGreen, kBlue, kGreen}}));
  // The brush alone: an 8 x 8 pattern.
  HBRUSH brush = CheckerBrush();
  ASSERT_NE(brush, nullptr);
  LOGBRUSH lb{};
  GetObjectA(brush, sizeof lb, &lb);
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_PATTERN));
  DeleteObject(brush);
}

TEST(PkShared, TileGraphicCoversFromTheOrigin) {
  Owned<TpkBitmap> tile = MakePk({{kRed, kGreen}, {kBlue, kBlack}});
  Owned<TpkBitmap> dst = MakePk(6, 5, kWhite);
  TileGraphic(tile.get(), dst->GetCanvas(), Rect(10, 10, 15, 13));
  GdiFlush();
  TPixels p = PixelsOf(dst.get());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(p[static_cast<size_t>(y)][static_cast<size_t>(x)], y % 2 ? (x % 2 ? kBlack : kBlue) : (x % 2 ? kGreen : kRed));
  EXPECT_EQ(p[4][0], kWhite);
  // Zero sizes draw nothing and end.
  Owned<TpkBitmap> empty = MakeOwned<TpkBitmap>();
  Owned<TpkBitmap> dst2 = MakePk(2, 2, kWhite);
  TileGraphic(empty.get(), dst2->GetCanvas(), Rect(0, 0, 2, 2));
  TileGraphic(tile.get(), dst2->GetCanvas(), Rect(0, 0, 0, 2));
  TileGraphic(tile.get(), dst2->GetCanvas(), Rect(0, 0, 2, -1));
  TileGraphic(nullptr, dst2->GetCanvas(), Rect(0, 0, 2, 2));
  EXPECT_EQ(PixelsOf(dst2.get()), TPixels(2, std::vector<int>(2, kWhite)));
}

TEST(PkShared, FitRect) {
  struct {
    TRect rect;
    int w, h;
    TRect fit, centred;
  } cases[] = {
      {Rect(0, 0, 100, 50), 20, 20, Rect(0, 0, 50, 50), Rect(25, 0, 75, 50)},
      {Rect(10, 10, 60, 110), 4, 2, Rect(10, 10, 60, 35), Rect(10, 47, 60, 72)},
      {Rect(0, 0, 30, 30), 3, 1, Rect(0, 0, 30, 10), Rect(0, 10, 30, 20)},
      {Rect(0, 0, 7, 5), 7, 5, Rect(0, 0, 7, 5), Rect(0, 0, 7, 5)},
      // Empty sizes give an empty rectangle at the top-left.
      {Rect(5, 6, 50, 60), 0, 10, Rect(5, 6, 5, 6), Rect(5, 6, 5, 6)},
      {Rect(5, 6, 50, 60), 10, 0, Rect(5, 6, 5, 6), Rect(5, 6, 5, 6)},
      {Rect(5, 6, 5, 60), 10, 10, Rect(5, 6, 5, 6), Rect(5, 6, 5, 6)},
      {Rect(5, 6, 50, 6), 10, 10, Rect(5, 6, 5, 6), Rect(5, 6, 5, 6)},
      {Rect(0, 0, 100, 100), INT_MAX, 1, Rect(0, 0, 100, 0), Rect(0, 50, 100, 50)},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
    TRect f = FitRect(c.rect, c.w, c.h), g = FitRectCentered(c.rect, c.w, c.h);
    EXPECT_TRUE(EqualRect(&f, &c.fit)) << f.left << "," << f.top << "," << f.right << "," << f.bottom;
    EXPECT_TRUE(EqualRect(&g, &c.centred)) << g.left << "," << g.top << "," << g.right << "," << g.bottom;
  }
}

// ---------------------------------------------------------------------------
// Text measuring

TEST(PkShared, TextMeasuring) {
  Owned<TpkBitmap> b = MakePk(10, 10, kWhite);
  TCanvas* c = b->GetCanvas();
  c->GetFont()->SetName("Tahoma");
  c->GetFont()->SetHeight(-13);
  const int line = c->TextHeight("Ag");
  ASSERT_GT(line, 0);
  TSize size;
  MultiLineExtent(c, "Short\r\nA longer line", 5, size, 0, 0);
  EXPECT_EQ(size.cy, 2 * line + 5);
  EXPECT_EQ(size.cx, c->TextWidth("A longer line"));
  MultiLineExtent(c, "one line", 5, size, 0, 0);
  EXPECT_EQ(size.cy, line);
  // In a width, with word breaks: as DrawTextEx lays each line out.
  const int narrow = c->TextWidth("longer") + 2;
  EXPECT_EQ(TextHeightIn(c, DT_WORDBREAK, narrow, "A longer line"), 3 * line);
  MultiLineExtent(c, "Short\r\nA longer line", 5, size, DT_WORDBREAK, narrow);
  EXPECT_EQ(size.cy, line + 5 + 3 * line);
  EXPECT_LE(size.cx, narrow);
  // Without a canvas nothing is measured.
  EXPECT_EQ(TextHeightIn(nullptr, 0, 10, "x"), 0);
  MultiLineExtent(nullptr, "x", 5, size, 0, 0);
  EXPECT_EQ(size.cx, 0);
  EXPECT_EQ(size.cy, 0);
}

// ---------------------------------------------------------------------------
// Windows

namespace {

struct TWindowClass {
  TWindowClass() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PkSharedTestWindow";
    RegisterClassA(&wc);
  }
};

HWND Child(HWND parent, int x, int y, int w, int h) {
  return CreateWindowExA(0, "PkSharedTestWindow", "", WS_CHILD | WS_VISIBLE, x, y, w, h, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

bool Invalid(HWND w) {
  RECT r;
  return GetUpdateRect(w, &r, FALSE) != FALSE;
}

}  // namespace

TEST(PkShared, InvalidateOverlappingReachesOverlappingSiblingsAndTheirChildren) {
  static TWindowClass cls;
  HWND parent = CreateWindowExA(WS_EX_NOACTIVATE, "PkSharedTestWindow", "", WS_POPUP, 0, 0, 200, 200, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(parent, nullptr);
  // Only visible windows collect update regions; shown without activation.
  ShowWindow(parent, SW_SHOWNOACTIVATE);
  HWND target = Child(parent, 50, 50, 40, 40);
  HWND overlapping = Child(parent, 80, 80, 40, 40);
  HWND grandChild = Child(overlapping, 0, 0, 10, 10);
  HWND apart = Child(parent, 150, 150, 20, 20);
  RedrawWindow(parent, nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN | RDW_NOERASE | RDW_NOFRAME);
  for (HWND w : {target, overlapping, grandChild, apart}) ASSERT_FALSE(Invalid(w));
  InvalidateOverlapping(parent, target);
  EXPECT_TRUE(Invalid(overlapping));
  EXPECT_TRUE(Invalid(grandChild));
  EXPECT_FALSE(Invalid(apart));
  EXPECT_FALSE(Invalid(target));
  DestroyWindow(parent);
}

// ---------------------------------------------------------------------------
// Image lists

TEST(PkShared, DrawImageListImage) {
  Owned<TImageList> list(New<TImageList>(nullptr));
  list->SetWidth(2);
  list->SetHeight(2);
  Owned<TBitmap> image = MakeOwned<TBitmap>();
  image->SetPixelFormat(pf24bit);
  image->SetSize(2, 2);
  image->GetCanvas()->GetBrush()->SetColor(clRed);
  image->GetCanvas()->FillRect(Rect(0, 0, 2, 2));
  image->GetCanvas()->SetPixels(1, 1, clLime);
  list->AddMasked(image.get(), clLime);

  Owned<TpkBitmap> dst = MakePk(6, 3, kBlue);
  DrawImageListImage(list.get(), 0, dst->GetCanvas(), 1, 0, dsNormal, true);
  DrawImageListImageEven(list.get(), 0, dst->GetCanvas(), 5, 0, dsNormal, true);
  GdiFlush();
  // The masked pixel stays blue; the even variant lands at x = 4.
  EXPECT_EQ(PixelsOf(dst.get())[0], (std::vector<int>{kBlue, kRed, kRed, kBlue, kRed, kRed}));
  EXPECT_EQ(PixelsOf(dst.get())[1], (std::vector<int>{kBlue, kRed, kBlue, kBlue, kRed, kBlue}));
  // Disabled: the shape embossed.
  Owned<TpkBitmap> dis = MakePk(4, 4, kBlue);
  DrawImageListImage(list.get(), 0, dis->GetCanvas(), 0, 0, dsNormal, false);
  GdiFlush();
  EXPECT_EQ(dis->GetPixel(0, 0), SysPixel(COLOR_BTNSHADOW));
  EXPECT_EQ(dis->GetPixel(2, 2), kBlue);
  // An index outside the list draws nothing.
  DrawImageListImage(list.get(), 5, dis->GetCanvas(), 0, 0, dsNormal, true);
  DrawImageListImage(nullptr, 0, dis->GetCanvas(), 0, 0, dsNormal, true);
}
