// Framed panel, group box and spacer: frame bands and alignment, grid,
// caption placement, children's own enabled states, edge-keeping bounds,
// repainting on resize, transparency, the frame controller, stored forms.
#include <gtest/gtest.h>

#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "kx/controls/KxPanel.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

namespace {

// The rectangle an alClient child gets: the panel's interior for children.
TRect ChildArea(TKxCustomPanel* panel) {
  auto* child = New<TPanel>(panel);
  child->SetParent(panel);
  child->SetAlign(alClient);
  TRect r = child->GetBoundsRect();
  child->Free();
  return r;
}

}  // namespace

TEST(KxPanel, ChildrenAreAlignedInsideTheFrameBands) {
  struct Case {
    TFrameStyleEx outer, inner;
    TSides sides;
    int bevelWidth, borderWidth;
    TRect expected;  // in a 100 x 60 panel
  };
  const Case cases[] = {
      {fsNone, fsNone, sdAllSides, 1, 0, {0, 0, 100, 60}},
      {fsFlat, fsNone, sdAllSides, 1, 0, {1, 1, 99, 59}},
      {fsRaised, fsNone, sdAllSides, 1, 0, {2, 2, 98, 58}},
      {fsFlatRounded, fsLowered, sdAllSides, 1, 0, {4, 4, 96, 56}},
      {fsStatus, fsNone, sdAllSides, 3, 0, {3, 3, 97, 57}},
      {fsPopup, fsFlat, TSides{sdTop, sdLeft}, 2, 0, {3, 3, 100, 60}},
      {fsGroove, fsNone, TSides{sdBottom}, 1, 0, {0, 0, 100, 58}},
      // BorderWidth comes from the class library's client rectangle.
      {fsFlat, fsNone, sdAllSides, 1, 4, {5, 5, 95, 55}},
  };
  TControlHost host;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "outer " << c.outer << " inner " << c.inner << " bevel " << c.bevelWidth);
    auto* panel = host.Add<TKxPanel>(0, 0, 100, 60);
    panel->SetBevelWidth(c.bevelWidth);
    panel->SetBorderWidth(c.borderWidth);
    panel->SetBorderOuter(c.outer);
    panel->SetBorderInner(c.inner);
    panel->SetBorderSides(c.sides);
    EXPECT_EQ(ChildArea(panel), c.expected);
    panel->Free();
  }
}

TEST(KxPanel, TheGridIsDrawnAtItsPitchAndASizeOfNothingDrawsNoLines) {
  TThemesOff off;
  TControlHost host;
  auto* panel = host.Add<TKxPanel>(0, 0, 40, 30);
  panel->SetBorderOuter(fsNone);
  panel->SetColor(clWhite);
  panel->SetGridColor(clRed);
  panel->SetShowGrid(true);
  const COLORREF red = RGB(255, 0, 0);
  {
    TDib dib(40, 30, RGB(1, 2, 3));
    PaintControl(panel, dib);
    // Dots at (8i - 1, 8j - 1).
    EXPECT_EQ(dib.Pixel(7, 7), red);
    EXPECT_EQ(dib.Pixel(39, 23), red);
    EXPECT_NE(dib.Pixel(8, 7), red);
    EXPECT_EQ(CountColour(dib, red, TRect{0, 0, 40, 30}), 5 * 3);
  }
  panel->SetGridStyle(gsSolidLines);
  panel->SetGridXSize(0);
  {
    TDib dib(40, 30, RGB(1, 2, 3));
    PaintControl(panel, dib);
    // Only the three horizontal lines: no vertical one, no division by zero.
    EXPECT_EQ(CountColour(dib, red, TRect{0, 0, 40, 30}), 3 * 40);
    EXPECT_EQ(dib.Pixel(0, 7), red);
    EXPECT_NE(dib.Pixel(7, 0), red);
  }
  panel->SetGridStyle(gsDottedLines);
  panel->SetGridSize(10, 0);
  {
    TDib dib(40, 30, RGB(1, 2, 3));
    PaintControl(panel, dib);
    // Vertical dotted lines at 9, 19, 29, 39: every second pixel from the
    // second one, none on the line's first.
    EXPECT_NE(dib.Pixel(9, 0), red);
    EXPECT_EQ(dib.Pixel(9, 1), red);
    EXPECT_NE(dib.Pixel(9, 2), red);
    EXPECT_EQ(dib.Pixel(9, 29), red);
    EXPECT_EQ(CountColour(dib, red, TRect{0, 0, 40, 30}), 4 * 15);
  }
}

TEST(KxPanel, TheCaptionSitsWhereItsVerticalAlignmentPutsIt) {
  TThemesOff off;
  TControlHost host;
  auto* panel = host.Add<TKxPanel>(0, 0, 120, 80);
  panel->SetBorderOuter(fsNone);
  panel->SetColor(clWhite);
  panel->GetFont()->SetColor(clBlack);
  panel->SetCaption("Hg");
  int h = KxTextHeight(panel->GetFont(), "Hg");
  struct Case {
    TAlignmentVertical v;
    int top;  // of the text's line box
  } const cases[] = {{avTop, 0}, {avCenter, (80 - h) / 2}, {avBottom, 80 - h - 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.v);
    panel->SetAlignmentVertical(c.v);
    TDib dib(120, 80, RGB(1, 2, 3));
    PaintControl(panel, dib);
    TRect ink = ColourBox(dib, RGB(0, 0, 0), TRect{0, 0, 120, 80});
    ASSERT_FALSE(IsRectEmpty(&ink));
    EXPECT_GE(ink.top, c.top);
    EXPECT_LE(ink.bottom, c.top + h);
  }
  // Disabled: a light copy one pixel down and right, the text in the shadow colour.
  panel->SetColor(clYellow);
  panel->SetEnabled(false);
  TDib dib(120, 80, RGB(1, 2, 3));
  PaintControl(panel, dib);
  EXPECT_EQ(CountColour(dib, RGB(0, 0, 0), TRect{0, 0, 120, 80}), 0);
  TRect shadow = ColourBox(dib, Shown(clBtnShadow), TRect{0, 0, 120, 80});
  TRect light = ColourBox(dib, Shown(clBtnHighlight), TRect{0, 0, 120, 80});
  EXPECT_EQ(light.right, shadow.right + 1);
  EXPECT_EQ(light.bottom, shadow.bottom + 1);
}

TEST(KxPanel, ChildrenGetTheirOwnEnabledStateBackAndAFreedChildIsForgotten) {
  TControlHost host;
  auto* panel = host.Add<TKxPanel>(0, 0, 200, 100);
  auto* a = New<TButton>(panel);
  a->SetParent(panel);
  auto* b = New<TButton>(panel);
  b->SetParent(panel);
  auto* gone = New<TButton>(panel);
  gone->SetParent(panel);
  b->SetEnabled(false);

  panel->SetEnabled(false);
  EXPECT_FALSE(a->GetEnabled());
  EXPECT_EQ(panel->GetSavedStates()->GetCount(), 3);
  gone->Free();
  EXPECT_EQ(panel->GetSavedStates()->GetCount(), 2) << "the freed child's entry goes with it";
  auto* late = New<TButton>(panel);
  late->SetParent(panel);
  late->SetEnabled(false);

  panel->SetEnabled(true);
  EXPECT_TRUE(a->GetEnabled());
  EXPECT_FALSE(b->GetEnabled()) << "disabled before the panel was";
  EXPECT_TRUE(late->GetEnabled()) << "added meanwhile: follows the panel";
}

TEST(KxPanel, APanelAlignedToTheBottomOrRightKeepsThatEdge) {
  TControlHost host(clBtnFace, 300, 200);
  auto* bottom = host.Add<TKxPanel>(0, 0, 100, 40);
  bottom->SetAlign(alBottom);
  EXPECT_EQ(bottom->GetTop() + bottom->GetHeight(), 200);
  bottom->SetHeight(70);
  EXPECT_EQ(bottom->GetTop(), 130);
  EXPECT_EQ(bottom->GetTop() + bottom->GetHeight(), 200);

  auto* right = host.Add<TKxPanel>(0, 0, 50, 40);
  right->SetAlign(alRight);
  int edge = right->GetLeft() + right->GetWidth();
  right->SetWidth(80);
  EXPECT_EQ(right->GetLeft() + right->GetWidth(), edge);
}

TEST(KxPanel, WithoutFullRepaintAResizeRepaintsOnlyTheUncoveredStrip) {
  TControlHost host;
  host.Show();
  auto* panel = host.Add<TKxPanel>(0, 0, 100, 60);
  panel->SetFullRepaint(false);
  panel->HandleNeeded();
  ShowWindow(panel->GetHandle(), SW_SHOWNOACTIVATE);
  UpdateWindow(panel->GetHandle());
  ValidateRect(panel->GetHandle(), nullptr);
  panel->SetBounds(0, 0, 100, 80);
  RECT update{};
  GetUpdateRect(panel->GetHandle(), &update, FALSE);
  // The old bottom frame (from the interior's bottom less one) is redrawn;
  // the middle is not.
  EXPECT_LE(update.top, 60 - 2 - 1);
  EXPECT_GT(update.top, 30);

  panel->SetCaption("Text");
  ValidateRect(panel->GetHandle(), nullptr);
  panel->SetBounds(0, 0, 120, 80);
  GetUpdateRect(panel->GetHandle(), &update, FALSE);
  EXPECT_EQ(update, (RECT{0, 0, 120, 80})) << "a caption moves: all of it";
}

TEST(KxPanel, ATransparentPanelShowsItsParentAndItsFrameOnly) {
  TThemesOff off;
  TControlHost host(clRed);
  auto* panel = host.Add<TKxPanel>(10, 10, 50, 30);
  panel->SetColor(clWhite);
  panel->SetTransparent(true);
  EXPECT_FALSE(panel->GetControlStyle().Contains(csOpaque));
  TDib dib(50, 30, RGB(1, 2, 3));
  PaintControl(panel, dib);
  EXPECT_EQ(dib.Pixel(25, 15), RGB(255, 0, 0)) << "the parent behind it";
  EXPECT_NE(dib.Pixel(0, 15), RGB(255, 0, 0)) << "the raised frame is still drawn";
  EXPECT_NE(dib.Pixel(0, 15), RGB(1, 2, 3));
  panel->SetTransparent(false);
  EXPECT_TRUE(panel->GetControlStyle().Contains(csOpaque));
}

TEST(KxPanel, AFrameControllerSetsTheFrameWhenItsFrameIsVisible) {
  TControlHost host;
  auto* panel = host.Add<TKxPanel>(0, 0, 100, 60);
  Owned<TKxFrameController> controller(New<TKxFrameController>(nullptr));
  controller->SetFrameStyle(fsFlatBold);
  controller->SetColor(clYellow);
  panel->SetFrameController(controller.get());
  EXPECT_EQ(panel->GetBorderOuter(), fsRaised) << "FrameVisible is off";
  controller->SetFrameVisible(true);
  EXPECT_EQ(panel->GetBorderOuter(), fsFlatBold);
  EXPECT_EQ(panel->GetColor(), clYellow);
  EXPECT_EQ(panel->GetFlatColorAdjustment(), 0);
  EXPECT_EQ(panel->GetBorderHighlight(), LighterColor(clYellow, 100));
  controller.reset();
  EXPECT_EQ(panel->GetFrameController(), nullptr);
}

TEST(KxPanel, MouseEnterAndLeaveFireWithThePanelAsSender) {
  TControlHost host;
  auto* panel = host.Add<TKxPanel>(0, 0, 100, 60);
  TEventCounter enter, leave;
  panel->SetOnMouseEnter(enter.Event());
  panel->SetOnMouseLeave(leave.Event());
  panel->Perform(CM_MOUSEENTER, 0, 0);
  panel->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(enter.Count, 1);
  EXPECT_EQ(leave.Count, 1);
  EXPECT_EQ(enter.Sender, panel);
}

TEST(KxPanel, StoredFormsReadTheRetiredSidesAndWriteBackTheSame) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* panel = New<TKxPanel>(form.get());
  panel->SetParent(form.get());
  panel->SetName("Panel1");
  panel->SetBorderInner(fsLowered);
  panel->SetBorderSides(TSides{sdLeft, sdBottom});
  panel->SetGridStyle(gsSolidLines);
  panel->SetAlignmentVertical(avBottom);
  auto* group = New<TKxGroupBox>(form.get());
  group->SetParent(form.get());
  group->SetName("Group1");
  group->SetGroupBoxStyle(gsTopLine);
  auto* spacer = New<TKxSpacer>(form.get());
  spacer->SetParent(form.get());
  spacer->SetName("Spacer1");
  spacer->SetGrooved(true);
  spacer->SetOrientation(orVertical);
  std::string text = WriteForm(form.get());
  EXPECT_EQ(text.find("BevelOuter"), std::string::npos) << text;
  EXPECT_EQ(text.find("GroupStyle = gsFlat"), std::string::npos) << "the default is not written";

  std::string old = text;
  old.insert(old.find("GridStyle"), "FrameSides = [sdLeft]\n    ");
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(old, copy.get());
  auto* p2 = dynamic_cast<TKxPanel*>(copy->FindComponent("Panel1"));
  auto* s2 = dynamic_cast<TKxSpacer*>(copy->FindComponent("Spacer1"));
  ASSERT_NE(p2, nullptr);
  ASSERT_NE(s2, nullptr);
  EXPECT_EQ(p2->GetBorderSides(), (TSides{sdLeft, sdBottom})) << "the retired name is read and dropped";
  EXPECT_EQ(s2->GetWidth(), spacer->GetWidth()) << "loading does not turn it again";
  EXPECT_EQ(WriteForm(copy.get()), text);
}

// --- group box ---------------------------------------------------------------------------

TEST(KxGroupBox, TheClientAreaLeavesRoomForTheCaptionByStyle) {
  TControlHost host;
  auto* group = host.Add<TKxGroupBox>(0, 0, 200, 105);
  int h = KxTextHeight(group->GetFont(), "Yy");
  struct Case {
    TKxGroupBoxStyle style;
    int borderWidth;
    TRect expected;
  } const cases[] = {
      {gsCustom, 0, {2, h + 2, 198, 103}},
      {gsStandard, 0, {2, h + 2, 198, 103}},
      {gsFlat, 0, {1, h + 1, 199, 104}},
      {gsTopLine, 0, {1, h + 1, 199, 104}},
      // A border wider than half the text keeps only half the text above.
      {gsFlat, 20, {21, 20 + h / 2 - 1 + 1, 179, 84}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    group->SetGroupBoxStyle(c.style);
    group->SetBorderWidth(c.borderWidth);
    EXPECT_EQ(ChildArea(group), c.expected);
  }
}

TEST(KxGroupBox, OnlyTheStandardAndFlatStylesStayThemeAware) {
  const struct {
    TKxGroupBoxStyle style;
    bool themeAware;
  } cases[] = {{gsStandard, true}, {gsFlat, true}, {gsTopLine, false}, {gsCustom, false}};
  TControlHost host;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    auto* group = host.Add<TKxGroupBox>(0, 0, 100, 100);
    group->SetGroupBoxStyle(c.style);
    EXPECT_EQ(group->GetThemeAware(), c.themeAware);
    group->Free();
  }
}

TEST(KxGroupBox, TheClassicStylesDrawTheirFrameAndCutItForTheCaption) {
  TThemesOff off;
  TControlHost host;
  auto* group = host.Add<TKxGroupBox>(0, 0, 120, 80);
  group->SetColor(clWhite);
  group->SetFlatColor(clRed);
  group->SetFlatColorAdjustment(0);
  group->SetCaption("Group");
  int half = KxTextHeight(group->GetFont(), "Pp") / 2;
  const COLORREF red = RGB(255, 0, 0);
  TRect caption = group->CaptionRect();
  EXPECT_EQ(caption.left, 8);

  TDib dib(120, 80, RGB(1, 2, 3));
  PaintControl(group, dib);
  // gsFlat: the rounded line, its corners cut, one inner corner pixel.
  EXPECT_EQ(dib.Pixel(0, half + 2), red);
  EXPECT_NE(dib.Pixel(0, half + 1), red);
  EXPECT_EQ(dib.Pixel(1, half + 1), red);
  EXPECT_EQ(dib.Pixel(119, 40), red);
  EXPECT_EQ(dib.Pixel(60, 79), red);
  EXPECT_EQ(dib.Pixel(caption.right + 2, half), red);
  EXPECT_NE(dib.Pixel(caption.left + 1, half), red) << "the caption's box is cleared";

  group->SetGroupBoxStyle(gsTopLine);
  group->SetBorderOuter(fsFlatBold);
  TDib top(120, 80, RGB(1, 2, 3));
  PaintControl(group, top);
  EXPECT_TRUE(group->CaptionRect().left == 0);
  EXPECT_EQ(top.Pixel(100, half), red);
  EXPECT_EQ(top.Pixel(100, half + 1), red);
  EXPECT_NE(top.Pixel(118, half), red) << "the line stops two pixels short";
  EXPECT_NE(top.Pixel(0, 40), red) << "top line only";

  group->SetGroupBoxStyle(gsStandard);
  group->SetBorderOuter(fsNone);
  TDib standard(120, 80, RGB(1, 2, 3));
  PaintControl(group, standard);
  // A groove: shadow then highlight on the left edge.
  EXPECT_EQ(standard.Pixel(0, 40), Shown(clBtnShadow));
  EXPECT_EQ(standard.Pixel(1, 40), Shown(clBtnHighlight));
}

TEST(KxGroupBox, ItsAcceleratorSelectsTheFirstChild) {
  TShownForm shown;
  auto* group = shown.Add<TKxGroupBox>(10, 10, 200, 100);
  group->SetCaption("&Options");
  auto* edit = New<TEdit>(group);
  edit->SetParent(group);
  edit->SetBounds(10, 30, 100, 20);
  auto* other = shown.Add<TEdit>(10, 150, 100, 20);
  shown.Show();
  other->SetFocus();
  EXPECT_EQ(group->Perform(CM_DIALOGCHAR, 'o', 0), 1);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(group->Perform(CM_DIALOGCHAR, 'x', 0), 0);
}

// --- spacer ------------------------------------------------------------------------------

TEST(KxSpacer, TurningExchangesWidthAndHeightOnlyOnAChange) {
  TControlHost host;
  auto* spacer = host.Add<TKxSpacer>(0, 0, 8, 25);
  spacer->SetOrientation(orHorizontal);
  EXPECT_EQ(spacer->GetWidth(), 8) << "the same orientation turns nothing";
  spacer->SetOrientation(orVertical);
  EXPECT_EQ(spacer->GetWidth(), 25);
  EXPECT_EQ(spacer->GetHeight(), 8);
  spacer->SetOrientation(orVertical);
  EXPECT_EQ(spacer->GetWidth(), 25);
}

TEST(KxSpacer, AGrooveIsAShadowAndALightLineAcrossItsLongerSide) {
  TThemesOff off;
  TControlHost host;
  auto* spacer = host.Add<TKxSpacer>(0, 0, 8, 25);
  {
    TDib dib(8, 25, RGB(1, 2, 3));
    PaintControl(spacer, dib);
    EXPECT_EQ(CountColour(dib, RGB(1, 2, 3), TRect{0, 0, 8, 25}), 8 * 25) << "not grooved: nothing";
  }
  spacer->SetGrooved(true);
  TDib dib(8, 25, RGB(1, 2, 3));
  PaintControl(spacer, dib);
  // x = 8 div 2 - 1 = 3, from the second row down.
  EXPECT_EQ(dib.Pixel(3, 1), Shown(clBtnShadow));
  EXPECT_EQ(dib.Pixel(4, 24), Shown(clBtnHighlight));
  EXPECT_EQ(dib.Pixel(3, 0), RGB(1, 2, 3));
  spacer->SetBounds(0, 0, 30, 6);
  TDib wide(30, 6, RGB(1, 2, 3));
  PaintControl(spacer, wide);
  EXPECT_EQ(wide.Pixel(1, 2), Shown(clBtnShadow));
  EXPECT_EQ(wide.Pixel(29, 3), Shown(clBtnHighlight));
}
