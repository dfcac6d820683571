// The framed push button and bit button: kinds, glyph cells, groups, the
// layout of glyph and caption, the caption's text styles, painting in the
// visual style and without it, stored forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/graphics/Resources.h"
#include "kx/controls/KxButton.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

namespace {

TEST(KxBitBtnKind, EachKindSetsCaptionResultRolesAndATwoCellGlyph) {
  struct Case {
    TBitBtnKind Kind;
    const char* Caption;
    TModalResult Result;
    bool Default, Cancel;
  };
  const Case cases[] = {
      {bkOK, "OK", mrOk, true, false},          {bkCancel, "Cancel", mrCancel, false, true},
      {bkHelp, "&Help", mrNone, false, false},  {bkYes, "&Yes", mrYes, true, false},
      {bkNo, "&No", mrNo, false, true},         {bkClose, "&Close", mrNone, false, false},
      {bkAbort, "Abort", mrAbort, false, false}, {bkRetry, "&Retry", mrRetry, false, false},
      {bkIgnore, "&Ignore", mrIgnore, false, false}, {bkAll, "&All", mrAll, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Caption);
    Owned<TKxBitBtn> b(New<TKxBitBtn>(nullptr));
    b->SetCaption("before");
    b->SetKind(c.Kind);
    EXPECT_EQ(b->GetKind(), c.Kind);
    EXPECT_EQ(b->GetCaption(), c.Caption);
    EXPECT_EQ(b->GetModalResult(), c.Result);
    EXPECT_EQ(b->GetDefault(), c.Default);
    EXPECT_EQ(b->GetCancel(), c.Cancel);
    EXPECT_EQ(b->GetNumGlyphs(), 2);
    TBitmap* g = b->GetGlyph();
    ASSERT_FALSE(g->GetEmpty());
    EXPECT_EQ(g->GetWidth(), 2 * g->GetHeight()) << "normal and disabled cells";
    EXPECT_EQ(ColorToRGB(g->GetCanvas()->GetPixels(0, g->GetHeight() - 1)), ColorToRGB(clOlive))
        << "the bottom-left pixel names the transparent colour";
    EXPECT_EQ(GetBitBtnGlyph(c.Kind), GetBitBtnGlyph(c.Kind)) << "one cached bitmap per kind";
  }
  EXPECT_EQ(GetBitBtnGlyph(bkCustom), nullptr);
}

TEST(KxBitBtnKind, LeavingAKindsValuesTurnsItCustomForGood) {
  struct Case {
    const char* Name;
    void (*Change)(TKxBitBtn*);
  };
  const Case cases[] = {
      {"modal result", [](TKxBitBtn* b) { b->SetModalResult(mrNone); }},
      {"default", [](TKxBitBtn* b) { b->SetDefault(false); }},
      {"cancel", [](TKxBitBtn* b) { b->SetCancel(true); }},
      {"glyph", [](TKxBitBtn* b) { b->SetGlyph(SolidGlyph(16, 16, clRed).get()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Owned<TKxBitBtn> b(New<TKxBitBtn>(nullptr));
    b->SetKind(bkOK);
    c.Change(b.get());
    EXPECT_EQ(b->GetKind(), bkCustom);
    // Putting the value back does not bring the kind back.
    b->SetModalResult(mrOk);
    b->SetDefault(true);
    b->SetCancel(false);
    EXPECT_EQ(b->GetKind(), bkCustom);
    EXPECT_EQ(b->GetCaption(), "OK") << "the caption stays";
  }
}

TEST(KxBitBtnGlyph, CellsComeFromTheGlyphsShape) {
  struct Case {
    int W, H, Cells;
  };
  for (Case c : {Case{16, 16, 1}, Case{32, 16, 2}, Case{48, 16, 3}, Case{64, 16, 4}, Case{80, 16, 1},
                 Case{96, 16, 1}, Case{40, 16, 1}, Case{8, 16, 1}}) {
    SCOPED_TRACE(testing::Message() << c.W << "x" << c.H);
    Owned<TKxBitBtn> b(New<TKxBitBtn>(nullptr));
    b->SetNumGlyphs(3);
    b->SetGlyph(SolidGlyph(c.W, c.H, clRed).get());
    EXPECT_EQ(b->GetNumGlyphs(), c.Cells);
  }
}

TEST(KxBitBtnProps, MarginBelowMinusOneIsIgnoredAndScalingScalesMarginAndSpacing) {
  Owned<TKxBitBtn> b(New<TKxBitBtn>(nullptr));
  EXPECT_EQ(b->GetMargin(), 2);
  EXPECT_EQ(b->GetSpacing(), 4);
  b->SetMargin(-2);
  EXPECT_EQ(b->GetMargin(), 2);
  b->SetMargin(-1);
  EXPECT_EQ(b->GetMargin(), -1);
  b->SetMargin(6);
  b->ChangeScale(3, 2);
  EXPECT_EQ(b->GetMargin(), 9);
  EXPECT_EQ(b->GetSpacing(), 6);
}

TEST(KxBitBtnScale, AScaledFormScalesTheButtonThenItsMarginAndSpacing) {
  forms_test::TFreshApplication app;
  struct Case {
    int Margin, Spacing;
    int ScaledMargin, ScaledSpacing;
  };
  // -1 centres the glyph: it is no distance and stays -1.
  for (Case c : {Case{10, 4, 15, 6}, Case{0, 5, 0, 8}, Case{-1, 8, -1, 12}}) {
    SCOPED_TRACE(testing::Message() << "margin " << c.Margin << " spacing " << c.Spacing);
    Owned<TForm> form(New<TForm>(nullptr, 0));
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 300, 200);
    auto* b = New<TKxBitBtn>(form.get());
    b->SetParent(form.get());
    b->SetBounds(10, 20, 100, 40);
    b->SetCaption("Go");
    b->SetGlyph(SolidGlyph(16, 16, clRed).get());
    b->SetMargin(c.Margin);
    b->SetSpacing(c.Spacing);

    form->ScaleBy(3, 2);
    EXPECT_EQ(b->GetBoundsRect(), (TRect{15, 30, 165, 90})) << "the control's own scaling";
    EXPECT_EQ(b->GetMargin(), c.ScaledMargin);
    EXPECT_EQ(b->GetSpacing(), c.ScaledSpacing);
    // What shows: the glyph Margin in from the content area's left edge (5),
    // the caption's rectangle Spacing past the glyph.
    TDib dib(150, 60, RGB(1, 2, 3));
    PaintControl(b, dib);
    TRect glyph = ColourBox(dib, Shown(clRed), TRect{0, 0, 150, 60});
    EXPECT_EQ(glyph.left, 5 + std::max(c.ScaledMargin, 0));
    EXPECT_EQ(glyph.right - glyph.left, 16) << "the glyph keeps its size";
    if (c.ScaledMargin >= 0) {
      EXPECT_EQ(b->GetCaptionRect().left, glyph.right + c.ScaledSpacing);
    }
  }
}

// --- groups ---------------------------------------------------------------------------------

TEST(KxButtonGroup, DownNeedsAGroupAndOneButtonOfAGroupIsDown) {
  TControlHost host;
  auto* a = host.Add<TKxButton>(10, 10, 75, 25);
  auto* b = host.Add<TKxButton>(10, 40, 75, 25);
  auto* other = host.Add<TKxButton>(10, 70, 75, 25);
  a->SetDown(true);
  EXPECT_FALSE(a->GetDown()) << "no GroupIndex: stays up";
  for (TKxButton* x : {a, b}) x->SetGroupIndex(1);
  other->SetGroupIndex(2);
  other->SetDown(true);
  a->SetDown(true);
  EXPECT_TRUE(a->GetDown());
  EXPECT_EQ(a->GetState(), bsExclusive);
  b->SetDown(true);
  EXPECT_TRUE(b->GetDown());
  EXPECT_FALSE(a->GetDown()) << "the group's other button went up";
  EXPECT_EQ(a->GetState(), bsUp);
  EXPECT_TRUE(other->GetDown()) << "another group is untouched";
  b->SetDown(false);
  EXPECT_TRUE(b->GetDown()) << "without AllowAllUp the down button stays down";
}

TEST(KxButtonGroup, AllowAllUpIsSharedByTheGroup) {
  TControlHost host;
  auto* a = host.Add<TKxButton>(10, 10, 75, 25);
  auto* b = host.Add<TKxButton>(10, 40, 75, 25);
  a->SetGroupIndex(3);
  b->SetGroupIndex(3);
  b->SetDown(true);
  a->SetAllowAllUp(true);
  EXPECT_TRUE(b->GetAllowAllUp()) << "the receivers copy the sender's AllowAllUp";
  b->SetDown(false);
  EXPECT_FALSE(b->GetDown());
  EXPECT_FALSE(a->GetDown());
}

// --- pressing ----------------------------------------------------------------------------------

struct TClicks {
  int Count = 0;
  void Clicked(TObject*) { ++Count; }
};

TEST(KxButtonPress, ClickAndToggleOnlyWhenReleasedInside) {
  struct Case {
    const char* Name;
    POINT Release;
    int Clicks;
    bool Down;
  };
  const Case cases[] = {{"inside", {20, 10}, 1, true}, {"outside", {200, 10}, 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TControlHost host;
    auto* b = host.Add<TKxButton>(10, 10, 75, 25);
    b->SetGroupIndex(1);
    b->SetAllowAllUp(true);
    TClicks clicks;
    b->OnClick = TNotifyEvent(&clicks, &TClicks::Clicked);
    b->HandleNeeded();
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    EXPECT_TRUE(b->GetShowingPressed());
    b->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.Release.x, c.Release.y));
    EXPECT_EQ(b->GetShowingPressed(), c.Clicks == 1) << "the look follows the pointer";
    b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(c.Release.x, c.Release.y));
    EXPECT_FALSE(b->GetShowingPressed());
    EXPECT_EQ(clicks.Count, c.Clicks);
    EXPECT_EQ(b->GetDown(), c.Down);
  }
}

TEST(KxButtonPress, ClickSetsTheFormsModalResult) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* b = New<TKxButton>(form.get());
  b->SetParent(form.get());
  b->SetModalResult(mrRetry);
  b->Click();
  EXPECT_EQ(form->GetModalResult(), mrRetry);
}

TEST(KxButtonProps, HotTrackMakesTheButtonTransparent) {
  Owned<TKxButton> b(New<TKxButton>(nullptr));
  EXPECT_FALSE(b->GetTransparent());
  b->SetHotTrack(true);
  EXPECT_TRUE(b->GetTransparent());
  b->SetHotTrack(false);
  EXPECT_FALSE(b->GetTransparent());
}

// --- layout ----------------------------------------------------------------------------------

// The caption's height as the button measures it: its font, word-wrapped in
// the rectangle.
int CaptionHeight(TKxButton* b, TRect r) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, b->GetFont()->GetHandle());
  std::string caption = b->GetCaption();
  DrawTextA(dc, caption.c_str(), -1, &r, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return r.bottom - r.top;
}

TEST(KxBitBtnLayout, GlyphAndCaptionForEachLayoutMarginAndSpacing) {
  TThemesOff themesOff;
  // A 120 x 60 button: the content area is the client inset by 5.
  constexpr int W = 120, H = 60, G = 16;
  struct Case {
    TButtonLayout Layout;
    int Margin, Spacing;
  };
  std::vector<Case> cases;
  for (TButtonLayout l : {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom})
    for (auto [m, s] : {std::pair{2, 4}, std::pair{0, 0}, std::pair{6, 10}, std::pair{-1, 4}, std::pair{-1, 0}})
      cases.push_back(Case{l, m, s});
  TControlHost host;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "layout " << c.Layout << " margin " << c.Margin << " spacing " << c.Spacing);
    auto* b = host.Add<TKxBitBtn>(0, 0, W, H);
    b->SetCaption("Go");
    b->GetFont()->SetColor(clBlue);
    b->SetGlyph(SolidGlyph(G, G, clRed).get());
    b->SetLayout(c.Layout);
    b->SetMargin(c.Margin);
    b->SetSpacing(c.Spacing);
    TDib dib(W, H, RGB(1, 2, 3));
    PaintControl(b, dib);

    // Where the glyph goes: Margin from the content area's edge on its side
    // (the free space split around glyph and caption for -1), centred across.
    int h = CaptionHeight(b, TRect{5, 5, W - 5, H - 5});
    int half = (H - h - G - c.Spacing) / 2;
    TPoint at{5 + (W - 10 - G + 1) / 2, 5 + (H - 10 - G + 1) / 2};
    bool m = c.Margin >= 0;
    switch (c.Layout) {
      case blGlyphLeft: at.x = 5 + (m ? c.Margin : 0); break;
      case blGlyphRight: at.x = W - 5 - (m ? c.Margin : 0) - G; break;
      case blGlyphTop: at.y = m ? 5 + c.Margin : half; break;
      case blGlyphBottom: at.y = m ? H - 5 - c.Margin - G : 5 + h + half; break;
    }
    TRect glyph = b->GetGlyphRect();
    EXPECT_EQ(glyph, (TRect{at.x, at.y, at.x + G, at.y + G}));
    EXPECT_EQ(ColourBox(dib, Shown(clRed), TRect{0, 0, W, H}), glyph) << "drawn where laid out";

    TRect caption = b->GetCaptionRect();
    TRect ink = ColourBox(dib, Shown(clBlue), TRect{3, 3, W - 3, H - 3});
    ASSERT_GT(ink.right, ink.left) << "the caption is drawn";
    EXPECT_TRUE(Inside(ink, caption)) << "in its rectangle";
    EXPECT_FALSE(Overlap(ink, glyph)) << "never over the glyph";
    if (m) {
      // Spacing lies between the glyph and the caption's rectangle.
      switch (c.Layout) {
        case blGlyphLeft: EXPECT_EQ(caption.left, glyph.right + c.Spacing); break;
        case blGlyphRight: EXPECT_EQ(caption.right, glyph.left - c.Spacing); break;
        case blGlyphTop: EXPECT_EQ(caption.top, glyph.bottom + c.Spacing); break;
        case blGlyphBottom: EXPECT_EQ(caption.bottom, glyph.top - c.Spacing); break;
      }
    }
    b->Free();
  }
}

TEST(KxBitBtnLayout, APressedButtonMovesItsGlyphDownRightUnthemedAndRightThemed) {
  TControlHost host;
  auto* b = host.Add<TKxBitBtn>(0, 0, 100, 40);
  b->SetGlyph(SolidGlyph(16, 16, clRed).get());
  b->HandleNeeded();
  struct Case {
    const char* Name;
    bool Themed;
    POINT Shift;
  };
  for (Case c : {Case{"classic", false, {1, 1}}, Case{"themed", true, {1, 0}}}) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TThemesOff> off;
    if (!c.Themed) off = std::make_unique<TThemesOff>();
    ASSERT_EQ(b->DrawsThemed(), c.Themed);
    TRect up = b->GetGlyphRect();
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_TRUE(b->GetShowingPressed());
    TRect down = b->GetGlyphRect();
    b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
    EXPECT_EQ(down.left - up.left, c.Shift.x);
    EXPECT_EQ(down.top - up.top, c.Shift.y);
  }
}

TEST(KxBitBtnLayout, AnImageListImageTakesTheGlyphsPlace) {
  TThemesOff themesOff;
  TControlHost host;
  auto* b = host.Add<TKxBitBtn>(0, 0, 100, 40);
  auto* images = New<TCustomImageList>(host.Panel(), 10, 10);
  images->Add(SolidGlyph(10, 10, clLime, clLime).get(), nullptr);
  images->Add(SolidGlyph(10, 10, clFuchsia, clFuchsia).get(), nullptr);
  b->SetGlyph(SolidGlyph(16, 16, clRed).get());
  b->SetImages(images);
  b->SetImageIndex(0);
  EXPECT_EQ(b->GetImageSize(), (TSize{10, 10}));
  struct Case {
    const char* Name;
    bool Enabled;
    int DisabledIndex;
    COLORREF Expect;
  };
  for (Case c : {Case{"enabled", true, -1, Shown(clLime)}, Case{"disabled image", false, 1, Shown(clFuchsia)}}) {
    SCOPED_TRACE(c.Name);
    b->SetEnabled(c.Enabled);
    b->SetDisabledIndex(c.DisabledIndex);
    TDib dib(100, 40, RGB(1, 2, 3));
    PaintControl(b, dib);
    TRect r = b->GetGlyphRect();
    EXPECT_EQ(dib.Pixel(r.left + 5, r.top + 5), c.Expect);
    EXPECT_EQ(CountColour(dib, Shown(clRed), TRect{0, 0, 100, 40}), 0) << "not the glyph";
  }
  images->Free();
  EXPECT_EQ(b->GetImages(), nullptr) << "a freed image list is let go";
}

TEST(KxBitBtnGlyph, ADisabledButtonShowsTheSecondCell) {
  TThemesOff themesOff;
  TControlHost host;
  auto* b = host.Add<TKxBitBtn>(0, 0, 100, 40);
  // Two cells: red, then green; the bottom-left pixel olive.
  Owned<TBitmap> g = BitmapFromText({"RRRRGGGG", "RRRRGGGG", "RRRRGGGG", "oRRRGGGG"},
                                    {{'R', clRed}, {'G', clLime}, {'o', clOlive}});
  b->SetGlyph(g.get());
  b->SetNumGlyphs(2);
  for (bool enabled : {true, false}) {
    SCOPED_TRACE(enabled);
    b->SetEnabled(enabled);
    TDib dib(100, 40, RGB(1, 2, 3));
    PaintControl(b, dib);
    TRect r = b->GetGlyphRect();
    EXPECT_EQ(dib.Pixel(r.left + 1, r.top + 1), Shown(enabled ? clRed : clLime));
    EXPECT_NE(dib.Pixel(r.left, r.bottom - 1), Shown(clOlive)) << "the key colour is transparent";
  }
}

// --- caption text styles ------------------------------------------------------------------------

TEST(KxButtonText, RaisedRecessedAndShadowedCaptions) {
  TThemesOff themesOff;
  struct Case {
    const char* Name;
    TTextStyle Style;
    bool Light;
    TAlignment Alignment;
    // Offsets of the highlight's and the shadow's ink from the caption's
    // (right and bottom edges); no ink of that colour when absent.
    bool Highlight;
    POINT HighlightAt;
    bool Shadow;
    POINT ShadowAt;
  };
  const Case cases[] = {
      {"normal", tsNormal, false, taCenter, false, {}, false, {}},
      {"raised", tsRaised, false, taCenter, true, {-1, -1}, true, {1, 1}},
      {"raised light", tsRaised, true, taCenter, true, {-1, -1}, false, {}},
      {"recessed", tsRecessed, false, taCenter, true, {1, 1}, true, {-1, -1}},
      {"recessed light", tsRecessed, true, taCenter, true, {1, 1}, false, {}},
      {"shadow", tsShadow, false, taCenter, false, {}, true, {3, 3}},
      {"shadow right-aligned", tsShadow, false, taRightJustify, false, {}, true, {3, 3}},
  };
  TControlHost host;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* b = host.Add<TKxButton>(0, 0, 120, 40);
    b->SetCaption("HHHH");
    b->GetFont()->SetColor(clBlue);
    b->SetTextHighlightColor(clLime);
    b->SetTextShadowColor(clRed);
    b->SetTextShadowDepth(3);
    b->SetTextStyle(c.Style);
    b->SetLightTextStyle(c.Light);
    b->SetAlignment(c.Alignment);
    TDib dib(120, 40, RGB(1, 2, 3));
    PaintControl(b, dib);
    TRect area{4, 4, 116, 36};
    TRect ink = ColourBox(dib, Shown(clBlue), area);
    ASSERT_GT(ink.right, ink.left);
    TRect hi = ColourBox(dib, Shown(clLime), area);
    TRect sh = ColourBox(dib, Shown(clRed), area);
    EXPECT_EQ(hi.right > hi.left, c.Highlight);
    EXPECT_EQ(sh.right > sh.left, c.Shadow);
    // The ink on top hides part of the pass below: compare the edges the
    // pass sticks out at.
    auto expectOffset = [&](const TRect& pass, POINT at) {
      if (at.x > 0) {
        EXPECT_EQ(pass.right - ink.right, at.x);
      } else {
        EXPECT_EQ(pass.left - ink.left, at.x);
      }
      if (at.y > 0) {
        EXPECT_EQ(pass.bottom - ink.bottom, at.y);
      } else {
        EXPECT_EQ(pass.top - ink.top, at.y);
      }
    };
    if (c.Highlight) expectOffset(hi, c.HighlightAt);
    if (c.Shadow) expectOffset(sh, c.ShadowAt);
    if (c.Alignment == taRightJustify) {
      EXPECT_LE(ink.right, b->GetCaptionRect().right - 3) << "the caption gives way to its shadow";
    }
    b->Free();
  }
}

TEST(KxButtonText, VerticalAlignmentPlacesTheCaption) {
  TThemesOff themesOff;
  TControlHost host;
  std::vector<int> tops;
  for (TAlignmentVertical a : {avTop, avCenter, avBottom}) {
    auto* b = host.Add<TKxButton>(0, 0, 100, 60);
    b->SetCaption("Hg");
    b->GetFont()->SetColor(clBlue);
    b->SetAlignmentVertical(a);
    TDib dib(100, 60, RGB(1, 2, 3));
    PaintControl(b, dib);
    TRect ink = ColourBox(dib, Shown(clBlue), TRect{4, 4, 96, 56});
    TRect caption = b->GetCaptionRect();
    int h = CaptionHeight(b, caption);
    switch (a) {
      case avTop: EXPECT_LT(ink.top - caption.top, h / 2) << "in the top line"; break;
      case avCenter: EXPECT_LE(std::abs((ink.top + ink.bottom) / 2 - (caption.top + caption.bottom) / 2), h / 4); break;
      case avBottom: EXPECT_LT(caption.bottom - ink.bottom, h / 2 + 1) << "in the bottom line"; break;
    }
    tops.push_back(ink.top);
    b->Free();
  }
  EXPECT_LT(tops[0], tops[1]);
  EXPECT_LT(tops[1], tops[2]);
}

TEST(KxButtonText, ADisabledCaptionIsEmbossed) {
  TThemesOff themesOff;
  TControlHost host(clRed);
  auto* b = host.Add<TKxButton>(0, 0, 100, 40);
  b->SetCaption("HHHH");
  b->GetFont()->SetColor(clBlue);
  b->SetEnabled(false);
  TDib dib(100, 40, RGB(1, 2, 3));
  PaintControl(b, dib);
  TRect area{4, 4, 96, 36};
  EXPECT_EQ(CountColour(dib, Shown(clBlue), area), 0);
  TRect shadow = ColourBox(dib, Shown(clBtnShadow), area);
  TRect light = ColourBox(dib, Shown(clBtnHighlight), area);
  ASSERT_GT(shadow.right, shadow.left);
  EXPECT_EQ(light.right - shadow.right, 1);
  EXPECT_EQ(light.bottom - shadow.bottom, 1);
}

// --- painting ----------------------------------------------------------------------------------

TEST(KxButtonPaint, ClassicFramesByRoleAndGroup) {
  TThemesOff themesOff;
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto add = [&](int top) {
    auto* b = New<TKxButton>(form.get());
    b->SetParent(form.get());
    b->SetBounds(0, top, 80, 30);
    return b;
  };
  auto* plain = add(0);
  auto* def = add(40);
  auto* grouped = add(80);
  grouped->SetGroupIndex(1);
  grouped->SetDown(true);
  for (TKxButton* b : {plain, def, grouped}) b->HandleNeeded();
  def->SetDefault(true);

  TDib a(80, 30, RGB(1, 2, 3)), d(80, 30, RGB(1, 2, 3)), g(80, 30, RGB(1, 2, 3));
  PaintControl(plain, a);
  PaintControl(def, d);
  PaintControl(grouped, g);
  EXPECT_TRUE(def->GetActiveDefault());
  EXPECT_EQ(d.Pixel(0, 0), Shown(clWindowFrame)) << "the default button's frame";
  EXPECT_NE(a.Pixel(0, 0), Shown(clWindowFrame));
  // Down in its group with the down pattern: a checker of silver on the
  // face inside the lowered frame.
  int silver = 0, face = 0;
  for (int y = 10; y < 12; ++y)
    for (int x = 10; x < 12; ++x) {
      COLORREF p = g.Pixel(x, y);
      bool same = (x % 2) == (y % 2);
      if (same && p == Shown(clSilver)) ++silver;
      if (!same && p == Shown(clBtnFace)) ++face;
    }
  EXPECT_EQ(silver, 2);
  EXPECT_EQ(face, 2);
  grouped->SetShowDownPattern(false);
  TDib g2(80, 30, RGB(1, 2, 3));
  PaintControl(grouped, g2);
  EXPECT_EQ(g2.Pixel(10, 10), Shown(clBtnFace));
}

TEST(KxButtonPaint, HotTrackingShowsTheParentAroundTheRoundedFrame) {
  TThemesOff themesOff;
  TControlHost host(clRed);
  auto* b = host.Add<TKxButton>(20, 20, 80, 30);
  b->SetHotTrack(true);
  TDib dib(80, 30, RGB(1, 2, 3));
  PaintControl(b, dib);
  COLORREF red = Shown(clRed);
  COLORREF dark = Shown(DarkerColor(clBtnFace, 20));
  COLORREF light = Shown(LighterColor(clBtnFace, 20));
  controls_test::ExpectPixels(dib, {{0, 0, red},   {1, 0, red},     {0, 1, red},     {79, 29, red},
                                    {1, 1, dark},  {2, 0, dark},    {0, 2, dark},    {78, 1, dark},
                                    {78, 28, light}, {79, 15, light}, {40, 29, light}});
  // Under the mouse the face shows the hot colours.
  b->Perform(CM_MOUSEENTER, 0, 0);
  TDib hot(80, 30, RGB(1, 2, 3));
  PaintControl(b, hot);
  EXPECT_NE(hot.Pixel(2, 15), dib.Pixel(2, 15));
  EXPECT_EQ(hot.Pixel(0, 0), red);
}

TEST(KxButtonPaint, InTheVisualStyleEachStateHasItsLook) {
  TControlHost host;
  auto* b = host.Add<TKxButton>(0, 0, 80, 30);
  b->SetGroupIndex(1);
  b->SetAllowAllUp(true);
  ASSERT_TRUE(b->DrawsThemed()) << "the prefix's visual style is active";
  TDib normal(80, 30, RGB(1, 2, 3)), pressed(80, 30, RGB(1, 2, 3)), disabled(80, 30, RGB(1, 2, 3));
  PaintControl(b, normal);
  b->SetDown(true);
  PaintControl(b, pressed);
  b->SetDown(false);
  b->SetEnabled(false);
  PaintControl(b, disabled);
  EXPECT_FALSE(SameImage(normal, pressed, 80, 30));
  EXPECT_FALSE(SameImage(normal, disabled, 80, 30));
  b->SetEnabled(true);
  TThemesOff off;
  TDib classic(80, 30, RGB(1, 2, 3));
  PaintControl(b, classic);
  bool differs = false;
  for (int x = 0; x < 80 && !differs; ++x) differs = classic.Pixel(x, 0) != normal.Pixel(x, 0);
  EXPECT_TRUE(differs) << "the classic frame is not the theme's";
}

TEST(KxButtonPaint, TheFocusRectangleIsDottedInsideTheFrame) {
  TThemesOff themesOff;
  TControlHost host;
  auto* b = host.Add<TKxButton>(0, 0, 80, 30);
  b->HandleNeeded();
  b->SetFocus();
  ASSERT_TRUE(b->Focused());
  TDib dib(80, 30, RGB(1, 2, 3));
  PaintControl(b, dib);
  // Every second pixel of the rectangle inset by 4, from its second one.
  EXPECT_EQ(dib.Pixel(5, 4), RGB(0, 0, 0));
  EXPECT_NE(dib.Pixel(4, 4), RGB(0, 0, 0));
  b->SetShowFocusRect(false);
  TDib none(80, 30, RGB(1, 2, 3));
  PaintControl(b, none);
  EXPECT_NE(none.Pixel(5, 4), RGB(0, 0, 0));
}

// --- stored forms -----------------------------------------------------------------------------

TEST(KxBitBtnStored, AKindsValuesAreNotWrittenAndFrameFlatIsRead) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* b = New<TKxBitBtn>(form.get());
  b->SetParent(form.get());
  b->SetName("Ok1");
  b->SetKind(bkOK);
  std::string text = WriteForm(form.get());
  EXPECT_NE(text.find("Kind = bkOK"), std::string::npos) << text;
  for (const char* never : {"Caption", "Glyph", "Default", "ModalResult", "NumGlyphs", "FrameFlat"})
    EXPECT_EQ(text.find(never), std::string::npos) << never << "\n" << text;
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* c = dynamic_cast<TKxBitBtn*>(copy->FindComponent("Ok1"));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->GetKind(), bkOK);
  EXPECT_EQ(c->GetCaption(), "OK");

  // A custom caption and an older form's "FrameFlat".
  std::string old = text;
  old.insert(old.find("Kind = bkOK"), "Caption = 'Fine'\n    FrameFlat = True\n    ");
  Owned<TForm> older(New<TForm>(nullptr, 0));
  ReadForm(old, older.get());
  auto* o = dynamic_cast<TKxBitBtn*>(older->FindComponent("Ok1"));
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->GetCaption(), "Fine") << "a stored caption survives the kind";
  EXPECT_TRUE(o->GetHotTrack());
  EXPECT_TRUE(o->GetTransparent());
  std::string again = WriteForm(older.get());
  EXPECT_EQ(again.find("FrameFlat"), std::string::npos);
  EXPECT_NE(again.find("HotTrack = True"), std::string::npos);
  EXPECT_NE(again.find("Caption = 'Fine'"), std::string::npos);
}

}  // namespace
