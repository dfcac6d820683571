#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Clipbrd.h"
#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "skin/pkBitmap.h"
#include "skin/pkImager.h"
#include "tests/skin/SkinTestSupport.h"
#include "tests/skin/SkinTestUtil.h"

using namespace skin_test;

namespace {

using DS = TpkImagerDrawStyle;

// A picture with every channel varied, so that effects show.
Owned<TBitmap> Ramp(int w, int h) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(w, h);
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<uint8_t*>(b->GetScanLine(y));
    for (int x = 0; x < w; ++x) {
      row[3 * x] = static_cast<uint8_t>(x * 37 + y * 11);
      row[3 * x + 1] = static_cast<uint8_t>(x * 5 + y * 29 + 40);
      row[3 * x + 2] = static_cast<uint8_t>(200 - x * 13 - y * 7);
    }
  }
  return b;
}

bool SamePixels(TpkBitmap* a, TpkBitmap* b) {
  if (a->GetWidth() != b->GetWidth() || a->GetHeight() != b->GetHeight()) return false;
  for (int y = 0; y < a->GetHeight(); ++y)
    for (int x = 0; x < a->GetWidth(); ++x)
      if (a->GetPixel(x, y) != b->GetPixel(x, y)) return false;
  return true;
}

class ImagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.reset(New<TForm>(nullptr, 0));
    form_->SetBounds(0, 0, 300, 200);
    imager_ = New<TpkImager>(form_.get());
    imager_->SetParent(form_.get());
    picture_ = Ramp(12, 8);
    imager_->GetPicture()->SetBitmap(picture_.get());
  }
  // The picture as a TpkBitmap, for reference effects.
  Owned<TpkBitmap> Reference() {
    Owned<TpkBitmap> r = MakeOwned<TpkBitmap>();
    r->Assign(picture_.get());
    return r;
  }
  TpkBitmap* Work() { return imager_->GetWorkBitmap(); }
  Owned<TForm> form_;
  TpkImager* imager_ = nullptr;
  Owned<TBitmap> picture_;
};

TEST_F(ImagerTest, ConstructionValues) {
  Owned<TpkImager> i(New<TpkImager>(nullptr));
  EXPECT_EQ(i->GetWidth(), 100);
  EXPECT_EQ(i->GetHeight(), 100);
  EXPECT_TRUE(i->GetControlStyle().Contains(csOpaque));
  EXPECT_TRUE(i->GetPreProcess());
  EXPECT_EQ(i->GetDrawStyle(), DS::dsNormal);
  EXPECT_TRUE(i->GetWorkBitmap()->GetRespectPalette());
  EXPECT_TRUE(i->GetWorkBitmap()->GetHalftonePalette());
  TpkBitmapOptions* o = i->GetBitmapOptions();
  EXPECT_EQ(o->GetColor(), clNone);
  EXPECT_EQ(o->GetTintColor(), clNone);
  EXPECT_EQ(o->GetIntOption(1), -1) << "Saturation off";
  EXPECT_EQ(o->GetRotation()->GetCenterX(), -1);
  EXPECT_EQ(o->GetAlphaBlend()->GetAmount(), 0);
  EXPECT_EQ(i->GetFocusControl(), nullptr);
}

TEST_F(ImagerTest, TheWorkingBitmapIsThePictureWhenNothingIsSet) {
  EXPECT_TRUE(SamePixels(Work(), Reference().get()));
}

// Pairs of effects that do not commute: the chain must run them in its
// fixed order, whatever order they were set in.
struct TOrderCase {
  const char* Name;
  std::function<void(TpkBitmapOptions*)> Set;
  std::function<void(TpkBitmap*)> InOrder;
};

TEST_F(ImagerTest, TheChainRunsInItsFixedOrder) {
  const TOrderCase cases[] = {
      {"invert before lightness is not the order",
       [](TpkBitmapOptions* o) {
         o->SetBoolOption(1, true);
         o->SetIntOption(0, 60);
       },
       [](TpkBitmap* r) {
         r->Lightness(60);
         r->Invert();
       }},
      {"gray scale then colorize then contrast",
       [](TpkBitmapOptions* o) {
         o->SetIntOption(4, 90);
         o->SetColor(RGB(250, 100, 30));
         o->SetBoolOption(2, true);
       },
       [](TpkBitmap* r) {
         r->GrayScale();
         r->Colorize(250, 100, 30);
         r->Contrast(90);
       }},
      {"tint then saturation then sharpen then flips",
       [](TpkBitmapOptions* o) {
         o->SetBoolOption(4, true);
         o->SetIntOption(5, 40);
         o->SetBoolOption(3, true);
         o->SetIntOption(1, 300);
         o->SetTintColor(RGB(100, 50, 20));
       },
       [](TpkBitmap* r) {
         r->Tint(50, 25, 10);
         r->Saturation(300);
         r->Sharpen(40);
         r->Flip(true);
         r->Flip(false);
       }},
      {"emboss before invert, blur before emboss",
       [](TpkBitmapOptions* o) {
         o->SetBoolOption(1, true);
         o->SetBoolOption(0, true);
         o->SetIntOption(3, 2);
       },
       [](TpkBitmap* r) {
         r->GaussianBlur(2);
         r->Emboss();
         r->Invert();
       }},
      {"gray scale before lightness",
       [](TpkBitmapOptions* o) {
         o->SetIntOption(0, -70);
         o->SetBoolOption(2, true);
       },
       [](TpkBitmap* r) {
         r->GrayScale();
         r->Lightness(-70);
       }},
      {"flip, then wave, then rotate",
       [](TpkBitmapOptions* o) {
         o->GetRotation()->SetAngle(30);
         o->GetWave()->SetRatio(2);
         o->GetWave()->SetXDiv(3);
         o->GetWave()->SetYDiv(2);
         o->SetBoolOption(3, true);
       },
       [](TpkBitmap* r) {
         r->Flip(true);
         r->Wave(false, 3, 2, 2);
         r->Rotate(TPoint{-1, -1}, 30);
       }},
  };
  for (const TOrderCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Owned<TpkImager> imager(New<TpkImager>(nullptr));
    imager->GetPicture()->SetBitmap(picture_.get());
    c.Set(imager->GetBitmapOptions());
    Owned<TpkBitmap> ref = Reference();
    c.InOrder(ref.get());
    EXPECT_TRUE(SamePixels(imager->GetWorkBitmap(), ref.get()));
  }
}

TEST_F(ImagerTest, EffectsNeverAccumulate) {
  TpkBitmapOptions* o = imager_->GetBitmapOptions();
  o->SetIntOption(0, 80);
  o->SetIntOption(0, 80);  // unchanged: nothing runs again
  Owned<TpkBitmap> once = Reference();
  once->Lightness(80);
  EXPECT_TRUE(SamePixels(Work(), once.get()));
  // A change of something else starts again from the picture.
  o->SetBoolOption(1, true);
  o->SetBoolOption(1, false);
  EXPECT_TRUE(SamePixels(Work(), once.get()));
  o->SetIntOption(0, 0);
  EXPECT_TRUE(SamePixels(Work(), Reference().get()));
}

TEST_F(ImagerTest, SaturationZeroIsGrayAndMinusOneSkips) {
  TpkBitmapOptions* o = imager_->GetBitmapOptions();
  o->SetIntOption(1, 0);
  for (int x = 0; x < 12; ++x) {
    int p = Work()->GetPixel(x, 3);
    EXPECT_EQ(p & 0xFF, (p >> 8) & 0xFF) << x;
    EXPECT_EQ(p & 0xFF, (p >> 16) & 0xFF) << x;
  }
  o->SetIntOption(1, -1);
  EXPECT_TRUE(SamePixels(Work(), Reference().get()));
}

TEST_F(ImagerTest, AlphaBlendWithAnEmptyBitmapChangesNothing) {
  imager_->GetBitmapOptions()->GetAlphaBlend()->SetAmount(125);
  EXPECT_TRUE(SamePixels(Work(), Reference().get()));
  Owned<TBitmap> white = BitmapFromText({".."}, {{'.', clWhite}});
  Owned<TpkBitmap> blend = MakeOwned<TpkBitmap>();
  blend->Assign(white.get());
  imager_->GetBitmapOptions()->GetAlphaBlend()->SetBitmap(blend.get());
  Owned<TpkBitmap> ref = Reference();
  ref->AlphaBlend(blend.get(), 125, true);
  EXPECT_TRUE(SamePixels(Work(), ref.get())) << "stretched to the picture's size";
}

TEST_F(ImagerTest, RotationMakesTheWorkingBitmapSquare) {
  Owned<TBitmap> wide = Ramp(100, 60);
  imager_->GetPicture()->SetBitmap(wide.get());
  EXPECT_EQ(Work()->GetWidth(), 100);
  EXPECT_EQ(Work()->GetHeight(), 60);
  imager_->GetBitmapOptions()->GetRotation()->SetAngle(90);
  imager_->UpdateWorkingBitmap();
  EXPECT_EQ(Work()->GetWidth(), 100);
  EXPECT_EQ(Work()->GetHeight(), 100);
  // The picture was stretched over the square first, then rotated.
  Owned<TpkBitmap> ref = MakeOwned<TpkBitmap>();
  ref->SetSize(100, 100);
  Owned<TpkBitmap> src = MakeOwned<TpkBitmap>();
  src->Assign(wide.get());
  ref->GetCanvas()->StretchDraw(Rect(0, 0, 100, 100), src.get());
  ref->Rotate(TPoint{-1, -1}, 90);
  EXPECT_TRUE(SamePixels(Work(), ref.get()));
}

TEST_F(ImagerTest, SizeOfTheWorkingBitmap) {
  imager_->SetBounds(0, 0, 40, 30);
  struct TSizeCase {
    DS Style;
    bool PreProcess;
    int W, H;
  };
  const TSizeCase cases[] = {
      {DS::dsNormal, true, 12, 8},   {DS::dsStretch, true, 12, 8},       {DS::dsNormal, false, 12, 8},
      {DS::dsCenter, false, 12, 8},  {DS::dsStretch, false, 40, 30},     {DS::dsTile, false, 40, 30},
      {DS::dsProportional, false, 40, 30}, {DS::dsProportionalCenter, false, 40, 30},
  };
  for (const TSizeCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Style) * 10 + c.PreProcess);
    imager_->SetPreProcess(c.PreProcess);
    imager_->SetDrawStyle(c.Style);
    EXPECT_EQ(Work()->GetWidth(), c.W);
    EXPECT_EQ(Work()->GetHeight(), c.H);
  }
}

TEST_F(ImagerTest, TilingWithoutPreProcessTilesThePictureBeforeTheEffects) {
  imager_->SetBounds(0, 0, 30, 20);
  imager_->SetPreProcess(false);
  imager_->SetDrawStyle(DS::dsTile);
  ASSERT_EQ(Work()->GetWidth(), 30);
  // The picture repeats every 12 x 8 pixels.
  EXPECT_EQ(Work()->GetPixel(13, 9), Work()->GetPixel(1, 1));
  EXPECT_EQ(Work()->GetPixel(25, 17), Work()->GetPixel(1, 1));
  imager_->GetBitmapOptions()->SetBoolOption(1, true);
  Owned<TpkBitmap> ref = Reference();
  ref->Invert();
  EXPECT_EQ(Work()->GetPixel(13, 9), ref->GetPixel(1, 1));
}

struct TRectCase {
  DS Style;
  int W, H, Bw, Bh, Pw, Ph;
  TRect Expected;
};

TEST(ImagerDrawRect, RectanglesForEveryStyleAndZeroSizes) {
  const TRectCase cases[] = {
      {DS::dsNormal, 100, 50, 20, 10, 20, 10, {0, 0, 20, 10}},
      {DS::dsCenter, 100, 50, 20, 10, 20, 10, {40, 20, 60, 30}},
      {DS::dsStretch, 100, 50, 20, 10, 20, 10, {0, 0, 100, 50}},
      {DS::dsTile, 100, 50, 20, 10, 20, 10, {0, 0, 100, 50}},
      {DS::dsProportional, 100, 50, 20, 10, 20, 10, {0, 0, 100, 50}},
      {DS::dsProportional, 100, 50, 10, 20, 10, 20, {0, 0, 25, 50}},
      {DS::dsProportional, 100, 50, 40, 10, 40, 10, {0, 0, 100, 25}},
      {DS::dsProportionalCenter, 100, 50, 10, 20, 10, 20, {37, 0, 62, 50}},
      {DS::dsProportionalCenter, 100, 50, 40, 10, 40, 10, {0, 12, 100, 37}},
      {DS::dsProportional, 0, 50, 10, 20, 10, 20, {0, 0, 0, 0}},
      {DS::dsProportional, 100, 0, 10, 20, 10, 20, {0, 0, 0, 0}},
      {DS::dsProportionalCenter, 100, 50, 0, 0, 0, 0, {0, 0, 0, 0}},
      {DS::dsProportionalCenter, 0, 0, 10, 20, 10, 20, {0, 0, 0, 0}},
      {DS::dsCenter, 0, 0, 0, 0, 0, 0, {0, 0, 0, 0}},
  };
  for (const TRectCase& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.Style)) + " " + std::to_string(c.W) + "x" + std::to_string(c.H));
    TRect r = ImagerDrawRect(c.Style, c.W, c.H, c.Bw, c.Bh, c.Pw, c.Ph);
    EXPECT_TRUE(EqualRect(&r, &c.Expected)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
}

TEST_F(ImagerTest, SettingTheTransparentColourRunsTheChainAgain) {
  Work()->SetPixel(0, 0, 0x010203);
  imager_->SetTransparentColor(clRed);
  EXPECT_EQ(imager_->GetTransparentColor(), clRed);
  EXPECT_TRUE(SamePixels(Work(), Reference().get()));
}

TEST_F(ImagerTest, BeginUpdateHoldsTheChainUntilEndUpdate) {
  TpkBitmapOptions* o = imager_->GetBitmapOptions();
  o->BeginUpdate();
  o->SetBoolOption(1, true);
  o->SetIntOption(0, 30);
  EXPECT_TRUE(SamePixels(Work(), Reference().get()));
  o->EndUpdate();
  Owned<TpkBitmap> ref = Reference();
  ref->Lightness(30);
  ref->Invert();
  EXPECT_TRUE(SamePixels(Work(), ref.get()));
}

TEST_F(ImagerTest, AutoSizeTakesThePicturesSize) {
  imager_->SetAutoSize(true);
  EXPECT_EQ(imager_->GetWidth(), 12);
  EXPECT_EQ(imager_->GetHeight(), 8);
  Owned<TBitmap> other = Ramp(30, 5);
  imager_->GetPicture()->SetBitmap(other.get());
  EXPECT_EQ(imager_->GetWidth(), 30);
  EXPECT_EQ(imager_->GetHeight(), 5);
}

TEST_F(ImagerTest, PaintsTheWorkingBitmapInTheDrawRectangle) {
  imager_->SetBounds(10, 5, 40, 30);
  imager_->SetDrawStyle(DS::dsCenter);
  TDib dib(60, 40, clWhite);
  form_->PaintControls(dib.DC(), nullptr);
  // Centred: x = 20 - 6 = 14, y = 15 - 4 = 11, inside the control at (10, 5).
  EXPECT_EQ(dib.Pixel(10 + 14, 5 + 11), static_cast<COLORREF>(PixelToColor(Work()->GetPixel(0, 0))));
  EXPECT_EQ(dib.Pixel(10 + 14 + 11, 5 + 11 + 7), static_cast<COLORREF>(PixelToColor(Work()->GetPixel(11, 7))));
}

TEST_F(ImagerTest, FocusableMakesAFocusProxy) {
  imager_->SetFocusable(true);
  TpkImagerWinControl* proxy = imager_->GetFocusControl();
  ASSERT_NE(proxy, nullptr);
  EXPECT_EQ(proxy->GetParent(), form_.get());
  EXPECT_EQ(proxy->GetWidth(), 0);
  EXPECT_EQ(proxy->GetImager(), imager_);
  imager_->SetFocusable(false);
  EXPECT_EQ(imager_->GetFocusControl(), nullptr);
  imager_->SetTabStop(true);
  ASSERT_NE(imager_->GetFocusControl(), nullptr);
  EXPECT_TRUE(imager_->GetFocusControl()->GetTabStop());
}

TEST_F(ImagerTest, TheProxyForwardsEnterExitAndKeys) {
  struct TLog {
    std::vector<std::string> Lines;
    void Enter(TObject*) { Lines.push_back("enter"); }
    void Exit(TObject*) { Lines.push_back("exit"); }
    void Key(TObject*, WORD& k, TShiftState) { Lines.push_back("key " + std::to_string(k)); }
  } log;
  imager_->SetFocusable(true);
  imager_->OnEnter = TNotifyEvent(&log, &TLog::Enter);
  imager_->OnExit = TNotifyEvent(&log, &TLog::Exit);
  imager_->OnKeyDown = TKeyEvent(&log, &TLog::Key);
  TpkImagerWinControl* proxy = imager_->GetFocusControl();
  proxy->Perform(CM_ENTER, 0, 0);
  EXPECT_TRUE(imager_->GetHasFocus());
  WORD key = 'A';
  proxy->KeyDown(key, {});
  proxy->Perform(CM_EXIT, 0, 0);
  EXPECT_FALSE(imager_->GetHasFocus());
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"enter", "key 65", "exit"}));
}

TEST_F(ImagerTest, ApplyingPaintingAndFreeingLeaveNoHandlesBehind) {
  ExpectNoHandleGrowth([this] {
    auto* i = New<TpkImager>(form_.get());
    i->SetParent(form_.get());
    i->GetPicture()->SetBitmap(picture_.get());
    i->GetBitmapOptions()->SetIntOption(0, 20);
    i->GetBitmapOptions()->GetRotation()->SetAngle(30);
    i->SetFocusable(true);
    i->SetDrawStyle(DS::dsTile);
    TDib dib(120, 120, clWhite);
    form_->PaintControls(dib.DC(), nullptr);
    i->Free();
    auto* d = New<TpkDBCustomImager>(form_.get());
    d->SetParent(form_.get());
    d->GetPicture()->SetBitmap(picture_.get());
    d->SetTransparent(true);
    d->HandleNeeded();
    d->Repaint();
    d->Free();
  });
}

TEST_F(ImagerTest, StoredFormKeepsTheOptionsAndAlwaysWritesThem) {
  imager_->SetName("pkImager1");
  imager_->GetBitmapOptions()->SetIntOption(0, 25);
  imager_->GetBitmapOptions()->GetWave()->SetRatio(3);
  imager_->SetDrawStyle(DS::dsCenter);
  std::string text = WriteForm(form_.get());
  for (const char* always : {"PreProcess = True", "BitmapOptions.Lightness = 25", "BitmapOptions.Saturation = -1",
                             "BitmapOptions.Contrast = 0", "BitmapOptions.GrayScale = False",
                             "BitmapOptions.Wave.Ratio = 3", "BitmapOptions.Rotation.Angle = 0",
                             "BitmapOptions.Color = clNone", "DrawStyle = dsCenter", "Transparent = False"})
    EXPECT_NE(text.find(always), std::string::npos) << always << "\n" << text;
  EXPECT_EQ(text.find("RespectPalette"), std::string::npos) << text;
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* c = dynamic_cast<TpkImager*>(copy->FindComponent("pkImager1"));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->GetBitmapOptions()->GetIntOption(0), 25);
  EXPECT_EQ(c->GetBitmapOptions()->GetWave()->GetRatio(), 3);
  EXPECT_EQ(c->GetDrawStyle(), DS::dsCenter);
  // Loaded applied the chain once, from the stored picture.
  Owned<TpkBitmap> ref = Reference();
  ref->Lightness(25);
  EXPECT_TRUE(SamePixels(c->GetWorkBitmap(), ref.get()));
}

TEST(DBImager, StartsAsAWindowOfItsOwnAndSeesThroughWhenTransparent) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* d = New<TpkDBCustomImager>(form.get());
  d->SetParent(form.get());
  EXPECT_FALSE(d->GetParentColor());
  EXPECT_EQ(d->GetColor(), clWindow);
  Owned<TBitmap> picture = Ramp(12, 8);
  d->GetPicture()->SetBitmap(picture.get());
  EXPECT_EQ(d->GetWorkBitmap()->GetWidth(), 12);
  d->GetBitmapOptions()->SetBoolOption(1, true);
  Owned<TpkBitmap> ref = MakeOwned<TpkBitmap>();
  ref->Assign(picture.get());
  ref->Invert();
  EXPECT_TRUE(SamePixels(d->GetWorkBitmap(), ref.get()));
  // Opaque, the background is erased by the platform; transparent, not.
  HWND parent = form->GetHandle();
  SetWindowLongPtrA(parent, GWL_STYLE, GetWindowLongPtrA(parent, GWL_STYLE) | WS_CLIPCHILDREN);
  d->HandleNeeded();
  EXPECT_NE(GetWindowLongPtrA(parent, GWL_STYLE) & WS_CLIPCHILDREN, 0);
  d->SetTransparent(true);
  d->RecreateWnd();
  d->HandleNeeded();
  EXPECT_EQ(GetWindowLongPtrA(parent, GWL_STYLE) & WS_CLIPCHILDREN, 0);
  TDib dib(4, 4, clRed);
  EXPECT_EQ(d->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dib.DC()), 0), 1);
  EXPECT_EQ(dib.Pixel(1, 1), static_cast<COLORREF>(clRed)) << "nothing erased";
}

// Grids are recognised by class name.
class TCustomGrid : public TCustomControl {
  DECLARE_CLASS(TCustomGrid, TCustomControl)
  using TCustomControl::TCustomControl;
};
IMPLEMENT_CLASS(TCustomGrid)

TEST(DBImager, InvalidatesItselfAndWhenTransparentItsParent) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBounds(0, 0, 200, 150);
  auto* d = New<TpkDBCustomImager>(form.get());
  d->SetParent(form.get());
  d->SetBounds(20, 10, 40, 30);
  form->Show();
  PumpMessages();
  struct TCase {
    const char* Name;
    bool Transparent;
    std::function<void()> Act;
  };
  const TCase cases[] = {
      {"Invalidate, opaque", false, [d] { d->Invalidate(); }},
      {"Invalidate, transparent", true, [d] { d->Invalidate(); }},
      {"CM_ENTER", false, [d] { d->Perform(CM_ENTER, 0, 0); }},
      {"CM_EXIT, transparent", true, [d] { d->Perform(CM_EXIT, 0, 0); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    d->SetTransparent(c.Transparent);
    PumpMessages();
    ValidateRect(form->GetHandle(), nullptr);
    ValidateRect(d->GetHandle(), nullptr);
    c.Act();
    RECT u{};
    EXPECT_TRUE(GetUpdateRect(d->GetHandle(), &u, FALSE));
    EXPECT_EQ(GetUpdateRect(form->GetHandle(), &u, FALSE) != 0, c.Transparent);
    if (c.Transparent) {
      EXPECT_EQ(u.left, 20);
      EXPECT_EQ(u.bottom, 40);
    }
  }
}

TEST(DBImager, AGridParentOrTransparencyLeavesTheBackgroundUnerased) {
  for (bool grid : {false, true}) {
    SCOPED_TRACE(grid ? "in a grid" : "in a form");
    Owned<TForm> form(New<TForm>(nullptr, 0));
    TWinControl* parent = form.get();
    if (grid) {
      parent = New<TCustomGrid>(form.get());
      parent->SetParent(form.get());
      parent->SetBounds(0, 0, 100, 100);
    }
    auto* d = New<TpkDBCustomImager>(form.get());
    d->SetParent(parent);
    d->SetColor(clLime);
    d->HandleNeeded();
    TDib dib(4, 4, clRed);
    EXPECT_NE(d->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dib.DC()), 0), 0);
    EXPECT_EQ(dib.Pixel(1, 1), static_cast<COLORREF>(grid ? clRed : clLime));
  }
}

TEST(DBImager, ItsWorkingBitmapFollowsTheSizeAndTheStyle) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* d = New<TpkDBCustomImager>(form.get());
  d->SetParent(form.get());
  Owned<TBitmap> picture = Ramp(12, 8);
  d->GetPicture()->SetBitmap(picture.get());
  d->SetPreProcess(false);
  d->SetDrawStyle(DS::dsStretch);
  d->SetBounds(0, 0, 40, 30);
  EXPECT_EQ(d->GetWorkBitmap()->GetWidth(), 40);
  EXPECT_EQ(d->GetWorkBitmap()->GetHeight(), 30);
  // The chain ran over the resized bitmap: the stretched picture, inverted.
  d->GetBitmapOptions()->SetBoolOption(1, true);
  d->SetBounds(0, 0, 24, 16);
  Owned<TpkBitmap> src = MakeOwned<TpkBitmap>();
  src->Assign(picture.get());
  Owned<TpkBitmap> ref = MakeOwned<TpkBitmap>();
  ref->SetSize(24, 16);
  ref->GetCanvas()->StretchDraw(Rect(0, 0, 24, 16), src.get());
  ref->Invert();
  EXPECT_TRUE(SamePixels(d->GetWorkBitmap(), ref.get()));
  d->SetAutoSize(true);
  d->SetPreProcess(true);
  d->SetDrawStyle(DS::dsNormal);
  EXPECT_EQ(d->GetWidth(), 12);
  EXPECT_EQ(d->GetWorkBitmap()->GetWidth(), 12);
}

// The clipboard is the desktop's: alone.
class SerialImagerClipboard : public ImagerTest {};

// The copy goes through the working bitmap written into a TBitmap of the
// picture's format: every format at every display depth. What comes back is
// what the clipboard gives for the picture itself (at a shallow display the
// clipboard's device bitmap has fewer colours).
TEST_F(SerialImagerClipboard, CopiesPicturesOfEveryPixelFormatAtEveryDisplayDepth) {
  for (int depth : AllDisplayDepths()) {
    TSeamOverride<std::function<int()>> seam(Seams().DisplayBitsPerPixel, [depth] { return depth; });
    for (TPixelFormat pf : AllPixelFormats()) {
      SCOPED_TRACE(testing::Message() << "depth " << depth << ", format " << static_cast<int>(pf));
      Owned<TBitmap> src = StripedBitmap(pf);
      Clipboard()->Assign(src.get());
      Owned<TBitmap> expected = MakeOwned<TBitmap>();
      expected->Assign(Clipboard());
      imager_->GetPicture()->SetBitmap(src.get());
      Clipboard()->Clear();
      imager_->CopyToClipboard();
      ASSERT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
      Owned<TBitmap> copied = MakeOwned<TBitmap>();
      copied->Assign(Clipboard());
      EXPECT_EQ(ColoursOf(copied.get()), ColoursOf(expected.get()));
    }
  }
  Clipboard()->Clear();
}

TEST_F(SerialImagerClipboard, KeysCopyCutAndPaste) {
  imager_->SetFocusable(true);
  WORD key = VK_INSERT;
  imager_->DoKeyDown(key, TShiftState{ssCtrl});
  ASSERT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
  Owned<TBitmap> copied = MakeOwned<TBitmap>();
  copied->Assign(Clipboard());
  EXPECT_EQ(copied->GetWidth(), 12);

  Owned<TBitmap> other = Ramp(5, 3);
  Clipboard()->Assign(other.get());
  key = VK_INSERT;
  imager_->DoKeyDown(key, TShiftState{ssShift});
  EXPECT_EQ(imager_->GetPicture()->GetWidth(), 5);
  EXPECT_EQ(Work()->GetWidth(), 5);

  char c = 24;  // Ctrl+X
  imager_->DoKeyPress(c);
  EXPECT_EQ(imager_->GetPicture()->GetGraphic(), nullptr);
  copied->Assign(Clipboard());
  EXPECT_EQ(copied->GetWidth(), 5);

  // Nothing to paste: nothing happens.
  Clipboard()->Clear();
  c = 22;
  imager_->DoKeyPress(c);
  EXPECT_EQ(imager_->GetPicture()->GetGraphic(), nullptr);
}

}  // namespace
