// The six-state bitmap button: its size, the face of each state, the
// embossed disabled face, groups, keys, double clicks, the layout of glyph
// and caption, the shared pattern, stored forms.
#include <gtest/gtest.h>

#include <string>

#include "kx/controls/KxBmpBtn.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

namespace {

Owned<TBitmap> Solid(int w, int h, TColor c) { return SolidGlyph(w, h, c, c); }

TEST(KxBmpButtonSize, TheButtonTakesItsBitmapsSizeAndBorder) {
  struct Case {
    TButtonBorder Border;
    TButtonStyle Style;
    TBtnSize Size;
    int W, H;
  };
  const Case cases[] = {
      {bbButton, bsNew, bszButtonToBitmap, 44, 24},  {bbButton, bsWin31, bszButtonToBitmap, 46, 26},
      {bbButton, bsAutoDetect, bszButtonToBitmap, 44, 24}, {bbSingle, bsNew, bszButtonToBitmap, 42, 22},
      {bbNone, bsNew, bszButtonToBitmap, 40, 20},    {bbButton, bsNew, bszNeither, 80, 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "border " << c.Border << " style " << c.Style << " size " << c.Size);
    TControlHost host;
    auto* b = host.Add<TKxBmpButton>(0, 0, 80, 30);
    b->HandleNeeded();
    b->SetButtonSize(c.Size);
    b->SetButtonStyle(c.Style);
    b->SetButtonBorder(c.Border);
    b->GetBitmaps()->SetUp(Solid(40, 20, clRed).get());
    EXPECT_EQ(b->GetWidth(), c.W);
    EXPECT_EQ(b->GetHeight(), c.H);
    b->SetBounds(0, 0, 200, 200);
    EXPECT_EQ(b->GetWidth(), c.Size == bszButtonToBitmap ? c.W : 200) << "a resize keeps to the bitmap";
  }
}

class KxBmpButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    button = host.Add<TKxBmpButton>(10, 10, 80, 30);
    TKxButtonBitmaps* bm = button->GetBitmaps();
    bm->SetUp(Solid(20, 20, clRed).get());
    button->OnClick = clicks.Event();
    button->OnDblClick = doubles.Event();
    button->HandleNeeded();
  }
  COLORREF Centre() {
    TDib dib(button->GetWidth(), button->GetHeight(), RGB(1, 2, 3));
    PaintControl(button, dib);
    return dib.Pixel(button->GetWidth() / 2, button->GetHeight() / 2);
  }
  void Press(POINT down, POINT up) {
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
  }

  TControlHost host;
  TKxBmpButton* button = nullptr;
  TEventCounter clicks, doubles;
};

TEST_F(KxBmpButtonTest, EachLookShowsItsBitmapAndFallsBackToUp) {
  TKxButtonBitmaps* bm = button->GetBitmaps();
  EXPECT_EQ(Centre(), Shown(clRed)) << "up";
  bm->SetHot(Solid(20, 20, clLime).get());
  button->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(Centre(), Shown(clLime)) << "hot";
  button->Perform(CM_MOUSELEAVE, 0, 0);
  bm->SetUpAndFocused(Solid(20, 20, clAqua).get());
  button->SetFocus();
  EXPECT_EQ(Centre(), Shown(clAqua)) << "focused";
  button->SetShowFocus(false);
  EXPECT_EQ(Centre(), Shown(clRed)) << "focused without ShowFocus";
  button->SetGroupIndex(1);
  button->SetDown(true);
  EXPECT_EQ(Centre(), Shown(clRed)) << "stayed down without Down or StayDown: Up";
  bm->SetDown(Solid(20, 20, clBlue).get());
  EXPECT_EQ(Centre(), Shown(clBlue)) << "stayed down: Down";
  bm->SetStayDown(Solid(20, 20, clYellow).get());
  EXPECT_EQ(Centre(), Shown(clYellow)) << "stayed down: StayDown";
  button->SetAllowAllUp(true);
  button->SetDown(false);
  button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(Centre(), Shown(clBlue)) << "pressed";
  button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
  bm->SetDisabled(Solid(20, 20, clGray).get());
  button->SetEnabled(false);
  EXPECT_EQ(Centre(), Shown(clGray)) << "disabled";
}

TEST_F(KxBmpButtonTest, WithoutADisabledBitmapUpIsEmbossedAndTheCaptionToo) {
  TKxButtonBitmaps* bm = button->GetBitmaps();
  // A dark square on the transparent colour.
  std::vector<std::string> rows(20, std::string(20, '.'));
  for (int y = 5; y < 15; ++y) rows[y].replace(5, 10, "##########");
  bm->SetUp(BitmapFromText(rows, {{'.', clOlive}, {'#', clNavy}}).get());
  button->SetButtonSize(bszNeither);
  button->SetBounds(10, 10, 120, 40);
  button->SetCaption("Hi");
  button->SetEnabled(false);
  TDib dib(120, 40, RGB(1, 2, 3));
  PaintControl(button, dib);
  TRect shadow = ColourBox(dib, Shown(clBtnShadow), TRect{0, 0, 120, 40});
  TRect white = ColourBox(dib, Shown(clWhite), TRect{0, 0, 120, 40});
  EXPECT_EQ(CountColour(dib, Shown(clNavy), TRect{0, 0, 120, 40}), 0) << "no colour left";
  EXPECT_EQ(shadow.right - shadow.left, 10);
  EXPECT_EQ(white.right, std::max(shadow.right + 1, white.right)) << "the white copy one pixel on";
  EXPECT_GT(CountColour(dib, Shown(clGray), TRect{0, 0, 120, 40}), 0) << "the caption in grey";
}

TEST_F(KxBmpButtonTest, AGroupKeepsOneButtonDown) {
  auto* other = host.Add<TKxBmpButton>(100, 10, 80, 30);
  other->HandleNeeded();
  button->SetGroupIndex(1);
  other->SetGroupIndex(1);
  Press({5, 5}, {5, 5});
  EXPECT_TRUE(button->GetDown());
  EXPECT_EQ(clicks.Count, 1);
  other->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  other->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(other->GetDown());
  EXPECT_FALSE(button->GetDown()) << "pressing one raises the other";
  other->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  other->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(other->GetDown()) << "without AllowAllUp pressing it again keeps it down";
  EXPECT_EQ(other->GetState(), bsExclusive);
  other->SetAllowAllUp(true);
  EXPECT_TRUE(button->GetAllowAllUp());
  other->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  other->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(other->GetDown());
  // Released outside: no toggle, no click.
  int before = clicks.Count;
  Press({5, 5}, {500, 5});
  EXPECT_FALSE(button->GetDown());
  EXPECT_EQ(clicks.Count, before);
}

TEST_F(KxBmpButtonTest, EnterClicksAndSpaceClicksOnceOnRelease) {
  button->Perform(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(clicks.Count, 1);
  button->Perform(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(button->GetState(), bsDown);
  EXPECT_EQ(clicks.Count, 1);
  button->Perform(WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(clicks.Count, 2);
  EXPECT_EQ(button->GetState(), bsUp);
}

TEST_F(KxBmpButtonTest, ADoubleClickCountsOnlyOnAButtonThatStaysDown) {
  button->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(doubles.Count, 0);
  button->SetGroupIndex(2);
  button->SetDown(true);
  button->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(doubles.Count, 1);
}

TEST_F(KxBmpButtonTest, TheDownPatternIsSharedByTheLiveButtons) {
  EXPECT_EQ(TKxBmpButton::SharedPattern(), nullptr) << "made on first need";
  button->GetBitmaps()->SetUp(Solid(20, 20, clOlive).get());  // all transparent
  button->SetButtonBorder(bbSingle);
  button->SetGroupIndex(1);
  button->SetDown(true);
  TDib dib(button->GetWidth(), button->GetHeight(), RGB(1, 2, 3));
  PaintControl(button, dib);
  ASSERT_NE(TKxBmpButton::SharedPattern(), nullptr);
  EXPECT_EQ(dib.Pixel(2, 2), RGB(255, 255, 255)) << "the checker inside the border";
  EXPECT_EQ(dib.Pixel(3, 2), Shown(clBtnFace));
  int live = TKxBmpButton::LiveCount();
  auto* other = host.Add<TKxBmpButton>(0, 0, 10, 10);
  EXPECT_EQ(TKxBmpButton::LiveCount(), live + 1);
  other->Free();
  EXPECT_NE(TKxBmpButton::SharedPattern(), nullptr);
  button->Free();
  button = nullptr;
  EXPECT_EQ(TKxBmpButton::LiveCount(), live - 1);
  EXPECT_EQ(TKxBmpButton::SharedPattern(), nullptr) << "gone with the last";
}

TEST_F(KxBmpButtonTest, ClickSetsTheFormsModalResultAndStoredFormsKeepColours) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* b = New<TKxBmpButton>(form.get());
  b->SetParent(form.get());
  b->SetName("Bmp1");
  b->SetModalResult(mrYes);
  b->Click();
  EXPECT_EQ(form->GetModalResult(), mrYes);
  b->GetBitmaps()->SetUp(Solid(8, 6, clRed).get());
  std::string text = WriteForm(form.get());
  for (const char* always : {"Color = clBtnFace", "Bitmaps.TransparentColor = clOlive", "Bitmaps.Up.Data"})
    EXPECT_NE(text.find(always), std::string::npos) << always << "\n" << text;
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* c = dynamic_cast<TKxBmpButton*>(copy->FindComponent("Bmp1"));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->GetWidth(), 8);
  EXPECT_EQ(c->GetHeight(), 6);
}

TEST(KxBmpButtonLayout, GlyphAndCaptionAlongEachLayout) {
  const TRect face{0, 0, 100, 40};
  const TSize glyph{16, 16}, text{30, 12};
  struct Case {
    TButtonLayout Layout;
    int Margin, Spacing;
    TPoint Glyph;
    TPoint Text;
  };
  const Case cases[] = {
      // Centred together: (100 - 16 - 4 - 30 + 1) / 2 = 25.
      {blGlyphLeft, -1, 4, {25, 12}, {45, 14}},
      {blGlyphRight, -1, 4, {59, 12}, {25, 14}},
      // Three equal parts: (100 - 46) / 3 = 18.
      {blGlyphLeft, -1, -1, {18, 12}, {52, 14}},
      {blGlyphLeft, 3, 4, {3, 12}, {23, 14}},
      // The caption centred in what is left: (100 - 19 - 30) / 2 = 25.
      {blGlyphLeft, 3, -1, {3, 12}, {44, 14}},
      {blGlyphTop, 2, 3, {42, 2}, {35, 21}},
      {blGlyphBottom, 2, 3, {42, 22}, {35, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "layout " << c.Layout << " margin " << c.Margin << " spacing " << c.Spacing);
    TPoint g;
    TRect t;
    KxBmpButtonLayout(face, glyph, text, c.Layout, c.Margin, c.Spacing, g, t);
    EXPECT_EQ(g.x, c.Glyph.x);
    EXPECT_EQ(g.y, c.Glyph.y);
    EXPECT_EQ(t.left, c.Text.x);
    EXPECT_EQ(t.top, c.Text.y);
  }
  // Without a caption there is no spacing: the glyph alone is centred.
  TPoint g;
  TRect t;
  KxBmpButtonLayout(face, glyph, TSize{0, 0}, blGlyphLeft, -1, 10, g, t);
  EXPECT_EQ(g.x, 42);
}

}  // namespace

namespace {

TEST(SerialKxBmpButtonInput, EnterAndSpaceOnTheFocusedButtonClickAndAMouseClickToo) {
  TShownForm form;
  auto* b = form.Add<TKxBmpButton>(20, 20, 80, 30);
  b->GetBitmaps()->SetUp(Solid(40, 20, clRed).get());
  TEventCounter clicks;
  b->OnClick = clicks.Event();
  form.Show();
  b->SetFocus();
  forms_test::PumpApplication(2);
  ASSERT_TRUE(b->Focused());
  form.Type(VK_RETURN);
  EXPECT_EQ(clicks.Count, 1) << "Enter";
  form.Key(VK_SPACE, true);
  EXPECT_EQ(b->GetState(), bsDown);
  form.Key(VK_SPACE, false);
  EXPECT_EQ(clicks.Count, 2) << "Space, once";
  form.MoveTo(b, POINT{10, 10});
  form.Button(true);
  form.Button(false);
  EXPECT_EQ(clicks.Count, 3) << "the mouse";
}

}  // namespace
