// PaintGradient's pixels, pinned: every direction over a table of sizes
// (empty, one pixel across, odd and even) and colour counts, on the kinds
// of target a caller hands it (a bitmap's canvas in 32 and 24 bits, a
// device bitmap, a clipped or offset DC, another copy mode).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "kx/foundation/KxGrafx.h"

namespace {

// What surrounds the rectangle: a gradient must leave it as it was.
const COLORREF kAround = RGB(1, 2, 3);

struct TSizeCase {
  int Width, Height;
};
// Empty, one pixel across either way, odd and even, the box quarters' odd
// halves, and one larger than the end directions' 8-pixel strip.
const std::vector<TSizeCase> kSizes = {{0, 0},  {0, 6},  {6, 0},  {1, 1},   {1, 6},   {6, 1},  {2, 3},
                                       {3, 2},  {5, 5},  {8, 8},  {9, 7},   {16, 9},  {31, 17}, {64, 48}};

struct TColourCase {
  TColor First, Second;
  int8_t Count;
};
// Band widths of 1, 8 and 29 pixels and the narrowest (127 colours: 3), a
// count that is not positive, a system colour, and equal colours.
const std::vector<TColourCase> kColours = {
    {RGB(0x20, 0x40, 0x80), RGB(0xF0, 0xE0, 0x10), 1},   {clBlack, clWhite, 8},
    {RGB(0xF0, 0xE0, 0x10), RGB(0x20, 0x40, 0x80), 9},   {clBlack, clWhite, 127},
    {RGB(200, 10, 90), RGB(10, 250, 30), -3},            {clBtnFace, clNavy, 64},
    {clTeal, clTeal, 16},
};

uint64_t Fold(uint64_t hash, const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  for (size_t i = 0; i < size; ++i) hash = (hash ^ p[i]) * 0x100000001B3ull;
  return hash;
}

// A bitmap of the format in kAround, gradient drawn into rect.
Owned<TBitmap> Painted(TPixelFormat format, int w, int h, const TRect& rect, TGradientDirection d,
                       const TColourCase& c) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(format);
  b->SetSize(w, h);
  b->GetCanvas()->GetBrush()->SetColor(static_cast<TColor>(kAround));
  b->GetCanvas()->FillRect(TRect{0, 0, w, h});
  PaintGradient(b->GetCanvas(), rect, d, c.First, c.Second, c.Count);
  return b;
}

// Every size and colour case of one direction, drawn 2 pixels in from the
// top left of a bitmap 5 pixels larger each way, folded into one hash of
// the whole bitmap's bytes (the 32-bit pixels' unused byte included).
uint64_t DirectionHash(TGradientDirection d) {
  uint64_t hash = 0xCBF29CE484222325ull;
  for (const TSizeCase& s : kSizes) {
    for (const TColourCase& c : kColours) {
      int w = s.Width + 5, h = s.Height + 5;
      Owned<TBitmap> b = Painted(pf32bit, w, h, TRect{2, 2, 2 + s.Width, 2 + s.Height}, d, c);
      for (int y = 0; y < h; ++y) hash = Fold(hash, b->GetScanLine(y), static_cast<size_t>(w) * 4);
    }
  }
  return hash;
}

struct TChangeCounter {
  int n = 0;
  void OnChange(TObject*) { ++n; }
};

std::string DirectionName(int d) { return GetEnumName(TypeInfo<TGradientDirection>(), d); }

TEST(KxGradientTest, EveryDirectionKeepsItsPixels) {
  // Pinned from the drawing through an off-screen bitmap; drawing faster
  // must not move a single pixel.
  const uint64_t expected[] = {
      0xfb44bfd738eb975a, 0x1b381a4b142053e6, 0x434d1e99f7b912f0, 0xbdaa220da99565f5, 0xaca4e8989d468895,
      0x0c608d9b4f3c30e4, 0x847c016e87845261, 0x12150227213d7b21, 0x3c09fbca02fc2d59, 0xef2ed547a3496a95,
  };
  for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
    SCOPED_TRACE(DirectionName(d));
    EXPECT_EQ(DirectionHash(static_cast<TGradientDirection>(d)), expected[d])
        << std::hex << "0x" << DirectionHash(static_cast<TGradientDirection>(d));
  }
}

TEST(KxGradientTest, CentreGradientsAreSymmetricWithTheCentreColourInTheMiddle) {
  // An odd extent has a middle row (or column) of its own: it shows the
  // centre colour like its neighbours, not what the bitmap held before.
  for (TGradientDirection d : {gdHorizontalCenter, gdVerticalCenter}) {
    for (int extent : {2, 3, 5, 8, 9, 31}) {
      SCOPED_TRACE(testing::Message() << DirectionName(d) << " over " << extent);
      bool rows = d == gdHorizontalCenter;
      int w = rows ? 11 : extent, h = rows ? extent : 11;
      Owned<TBitmap> b = Painted(pf32bit, w, h, TRect{0, 0, w, h}, d, kColours[0]);
      auto at = [&](int along, int across) {
        return rows ? b->ScanLineAs<uint32_t>(along)[across] : b->ScanLineAs<uint32_t>(across)[along];
      };
      for (int i = 0; i < extent; ++i) {
        for (int k = 0; k < 11; ++k) {
          ASSERT_EQ(at(i, k), at(extent - 1 - i, k)) << i << "," << k;
          ASSERT_EQ(at(i, k), at(i, 0)) << i << "," << k;
        }
      }
      EXPECT_EQ(at(extent / 2, 0), 0xF0E010u);
      EXPECT_EQ(at((extent - 1) / 2, 0), 0xF0E010u);
    }
  }
}

TEST(KxGradientTest, TheDeviceContextHelpersDrawWhatPaintGradientDraws) {
  // Each helper over a rectangle of a DC, against the part of a
  // PaintGradient picture it makes.
  const TColourCase c = kColours[3];
  const int w = 21, h = 13, qw = 11, qh = 7;
  struct THelperCase {
    const char* Name;
    TGradientDirection Direction;
    TRect Part;  // of the picture, which the helper draws at its place
    void (*Draw)(HDC, const TRect&, const TColourCase&);
  };
  const std::vector<THelperCase> cases = {
      {"FillGradDiag", gdDiagonalUp, {0, 0, w, h},
       [](HDC dc, const TRect& r, const TColourCase& k) { FillGradDiag(dc, r, k.First, k.Second, k.Count, false); }},
      {"FillGradDiag mirrored", gdDiagonalDown, {0, 0, w, h},
       [](HDC dc, const TRect& r, const TColourCase& k) { FillGradDiag(dc, r, k.First, k.Second, k.Count, true); }},
      {"FillGrad rows", gdHorizontalEnd, {0, 0, w, h},
       [](HDC dc, const TRect& r, const TColourCase& k) { FillGrad(dc, r, k.First, k.Second, k.Count, orHorizontal); }},
      {"FillGrad columns", gdVerticalEnd, {0, 0, w, h},
       [](HDC dc, const TRect& r, const TColourCase& k) { FillGrad(dc, r, k.First, k.Second, k.Count, orVertical); }},
      {"FillGradRect", gdBigSquareBox, {0, 0, qw, qh},
       [](HDC dc, const TRect& r, const TColourCase& k) {
         FillGradRect(dc, r, k.First, k.Second, k.Count, w / 4, h / 4);
       }},
  };
  for (const THelperCase& hc : cases) {
    SCOPED_TRACE(hc.Name);
    Owned<TBitmap> picture = Painted(pf32bit, w, h, TRect{0, 0, w, h}, hc.Direction, c);
    int pw = hc.Part.right - hc.Part.left, ph = hc.Part.bottom - hc.Part.top;
    Owned<TBitmap> helper = MakeOwned<TBitmap>();
    helper->SetPixelFormat(pf32bit);
    helper->SetSize(pw + 4, ph + 4);
    hc.Draw(helper->GetCanvas()->GetHandle(), TRect{2, 2, 2 + pw, 2 + ph}, c);
    for (int y = 0; y < ph; ++y)
      for (int x = 0; x < pw; ++x)
        ASSERT_EQ(helper->ScanLineAs<uint32_t>(y + 2)[x + 2], picture->ScanLineAs<uint32_t>(y)[x]) << x << "," << y;
  }
}

// One kind of target, filled with kAround: its canvas, with the DC state a
// caller may have set, and its pixels read back as 0x00RRGGBB, top row first.
struct TTargetCase {
  const char* Name;
  // A bitmap's canvas in this format; pfDevice: a canvas over a device
  // bitmap of the screen, pfCustom: over a top-down 24-bit DIB section.
  TPixelFormat Format;
  void (*Prepare)(TCanvas*, HDC);  // DC state set before drawing
};

void NoState(TCanvas*, HDC) {}
void MovedAndClipped(TCanvas*, HDC dc) {
  SetViewportOrgEx(dc, 3, -2, nullptr);
  IntersectClipRect(dc, 1, 3, 20, 17);
}
void WindowOrigin(TCanvas*, HDC dc) { SetWindowOrgEx(dc, -1, 2, nullptr); }
void ClipWithAHole(TCanvas*, HDC dc) { ExcludeClipRect(dc, 6, 5, 13, 9); }
void InvertingCopy(TCanvas* canvas, HDC) { canvas->SetCopyMode(cmSrcInvert); }
void Scaled(TCanvas*, HDC dc) {
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, 2, 2, nullptr);
  SetViewportExtEx(dc, 3, 2, nullptr);
}
void RightToLeft(TCanvas*, HDC dc) { SetLayout(dc, LAYOUT_RTL); }

const std::vector<TTargetCase> kTargets = {
    {"32-bit bitmap", pf32bit, NoState},
    {"24-bit bitmap", pf24bit, NoState},
    {"16-bit bitmap", pf16bit, NoState},
    {"8-bit bitmap", pf8bit, NoState},
    {"device bitmap", pfDevice, NoState},
    {"top-down DIB section", pfCustom, NoState},
    {"top-down DIB section, clipped", pfCustom, MovedAndClipped},
    {"moved origin, clipped", pf32bit, MovedAndClipped},
    {"window origin", pf24bit, WindowOrigin},
    {"clip with a hole", pf24bit, ClipWithAHole},
    {"inverting copy mode", pf32bit, InvertingCopy},
    {"scaled mapping", pf32bit, Scaled},
    {"right-to-left layout", pf32bit, RightToLeft},
};

// An odd width: 24-bit rows end in padding.
const int kTargetWidth = 23, kTargetHeight = 18;

// A target of the case's kind in kAround, its state set, kept with what
// its pixels are read from.
class TTarget {
 public:
  explicit TTarget(const TTargetCase& c) {
    if (c.Format == pfDevice || c.Format == pfCustom) {
      HDC screen = GetDC(nullptr);
      if (c.Format == pfDevice) {
        ddb_ = CreateCompatibleBitmap(screen, kTargetWidth, kTargetHeight);
      } else {
        BITMAPINFO bi = Info(24);
        void* bits = nullptr;
        ddb_ = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
      }
      dc_ = CreateCompatibleDC(screen);
      ReleaseDC(nullptr, screen);
      old_ = SelectObject(dc_, ddb_);
      canvas_ = MakeOwned<TCanvas>();
      canvas_->SetHandle(dc_);
    } else {
      bitmap_ = MakeOwned<TBitmap>();
      bitmap_->SetPixelFormat(c.Format);
      bitmap_->SetSize(kTargetWidth, kTargetHeight);
    }
    Canvas()->GetBrush()->SetColor(static_cast<TColor>(kAround));
    Canvas()->FillRect(TRect{0, 0, kTargetWidth, kTargetHeight});
    c.Prepare(Canvas(), Canvas()->GetHandle());
  }
  ~TTarget() {
    if (!dc_) return;
    canvas_->SetHandle(nullptr);
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(ddb_);
  }
  TTarget(const TTarget&) = delete;
  TTarget& operator=(const TTarget&) = delete;

  TCanvas* Canvas() { return bitmap_ ? bitmap_->GetCanvas() : canvas_.get(); }
  // A top-down DIB of the target's size.
  static BITMAPINFO Info(int bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = kTargetWidth;
    bi.bmiHeader.biHeight = -kTargetHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = static_cast<WORD>(bits);
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
  }
  std::vector<uint32_t> Pixels() {
    std::vector<uint32_t> bits(static_cast<size_t>(kTargetWidth) * kTargetHeight);
    BITMAPINFO bi = Info(32);
    // GetDIBits wants the bitmap out of any DC.
    if (bitmap_) {
      HBITMAP h = bitmap_->GetHandle();
      HDC screen = GetDC(nullptr);
      GetDIBits(screen, h, 0, kTargetHeight, bits.data(), &bi, DIB_RGB_COLORS);
      ReleaseDC(nullptr, screen);
    } else {
      canvas_->SetHandle(nullptr);
      SelectObject(dc_, old_);
      GetDIBits(dc_, ddb_, 0, kTargetHeight, bits.data(), &bi, DIB_RGB_COLORS);
      SelectObject(dc_, ddb_);
      canvas_->SetHandle(dc_);
    }
    for (uint32_t& p : bits) p &= 0xFFFFFF;
    return bits;
  }

 private:
  Owned<TBitmap> bitmap_;
  Owned<TCanvas> canvas_;
  HDC dc_ = nullptr;
  HBITMAP ddb_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

TEST(KxGradientTest, EveryTargetShowsTheGradientsOwnPicture) {
  // Whatever the target, it ends up as if the gradient's picture (drawn on
  // a 32-bit bitmap of the rectangle's size) had been drawn at the
  // rectangle's top left: the target's depth, origin, mapping, layout, clip
  // and copy mode apply, and nothing outside the rectangle changes.
  const std::vector<TRect> rects = {{2, 3, 19, 16}, {-5, -4, 20, 11}, {10, 8, 40, 30}, {7, 7, 8, 15}};
  const TColourCase colours = kColours[0];
  for (const TTargetCase& target : kTargets) {
    for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
      for (const TRect& r : rects) {
        SCOPED_TRACE(testing::Message() << target.Name << ", " << DirectionName(d) << ", " << r.left << ","
                                        << r.top << "," << r.right << "," << r.bottom);
        auto direction = static_cast<TGradientDirection>(d);
        Owned<TBitmap> picture =
            Painted(pf32bit, r.right - r.left, r.bottom - r.top, TRect{0, 0, r.right - r.left, r.bottom - r.top},
                    direction, colours);
        TTarget painted(target), drawn(target);
        PaintGradient(painted.Canvas(), r, direction, colours.First, colours.Second, colours.Count);
        drawn.Canvas()->Draw(r.left, r.top, picture.get());
        ASSERT_EQ(painted.Pixels(), drawn.Pixels());
      }
    }
  }
}

TEST(KxGradientTest, TheBitmapHearsOfTheChange) {
  // Once per gradient drawn, none for an empty one: a bitmap that caches
  // its mask or a control repainting on OnChange must see the new pixels.
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(20, 10);
  TChangeCounter changes;
  b->SetOnChange(TNotifyEvent(&changes, &TChangeCounter::OnChange));
  PaintGradient(b->GetCanvas(), TRect{0, 0, 20, 10}, gdDiagonalUp, clRed, clBlue, 16);
  EXPECT_EQ(changes.n, 1);
  PaintGradient(b->GetCanvas(), TRect{5, 5, 5, 9}, gdDiagonalUp, clRed, clBlue, 16);
  EXPECT_EQ(changes.n, 1);
}

}  // namespace
