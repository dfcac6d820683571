// Radio buttons and check boxes: their states and clicks, the glyph from
// each source (custom strips, the built-in bitmaps mapped to the button's
// colours, the visual style, the classic look), key colours, the frame
// controller, actions, stored forms, and real keys and mouse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ActnList.h"
#include "kx/controls/KxRadChk.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

namespace {

// A strip of cells, each 13 x 13 in one colour.
Owned<TBitmap> Strip(std::initializer_list<TColor> colours, int cell = 13) {
  std::vector<std::string> rows(static_cast<size_t>(cell), std::string(colours.size() * cell, ' '));
  std::vector<TPaint> paints;
  char c = 'a';
  for (TColor colour : colours) {
    size_t i = static_cast<size_t>(c - 'a');
    for (auto& row : rows) row.replace(i * cell, cell, std::string(cell, c));
    paints.push_back({c, colour});
    ++c;
  }
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(static_cast<int>(colours.size()) * cell, cell);
  for (int y = 0; y < cell; ++y)
    for (int x = 0; x < b->GetWidth(); ++x) {
      char ch = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
      b->GetCanvas()->SetPixels(x, y, paints[static_cast<size_t>(ch - 'a')].Color);
    }
  return b;
}

// The glyph's pixel at (x, y) of the glyph as painted.
COLORREF GlyphPixel(TKxCustomGlyphButton* b, int x, int y) {
  TDib dib(b->GetWidth(), b->GetHeight(), RGB(1, 2, 3));
  PaintControl(b, dib);
  TRect g = b->GlyphRect();
  return dib.Pixel(g.left + x, g.top + y);
}

class KxRadioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i) {
      radios[i] = host.Add<TKxRadioButton>(10, 10 + 30 * i, 120, 20);
      radios[i]->SetCaption("Radio");
      radios[i]->OnClick = clicks[i].Event();
    }
    // Another parent's radio button stays out of it.
    auto* panel = host.Add<TCustomControl>(200, 10, 150, 100);
    stranger = New<TKxRadioButton>(host.Panel());
    stranger->SetParent(panel);
    stranger->SetBounds(0, 0, 100, 20);
    stranger->SetChecked(true);
  }

  TControlHost host;
  TKxRadioButton* radios[3] = {};
  TKxRadioButton* stranger = nullptr;
  TEventCounter clicks[3];
};

TEST_F(KxRadioTest, CheckingOneUnchecksTheOthersOfItsParentAndClicksOnce) {
  EXPECT_FALSE(radios[0]->GetTabStop()) << "unchecked: no tab stop";
  radios[0]->SetChecked(true);
  radios[2]->SetChecked(true);
  EXPECT_FALSE(radios[0]->GetChecked());
  EXPECT_FALSE(radios[1]->GetChecked());
  EXPECT_TRUE(radios[2]->GetChecked());
  EXPECT_TRUE(radios[2]->GetTabStop());
  EXPECT_FALSE(radios[0]->GetTabStop());
  EXPECT_EQ(clicks[0].Count, 1);
  EXPECT_EQ(clicks[2].Count, 1) << "once, for being checked";
  EXPECT_TRUE(stranger->GetChecked()) << "another parent's";
}

TEST_F(KxRadioTest, AClickChecksOnlyWhenReleasedOverTheButton) {
  TKxRadioButton* r = radios[1];
  r->HandleNeeded();
  r->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_FALSE(r->GetChecked()) << "the press's focus does not check";
  r->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 5));
  r->Perform(WM_LBUTTONUP, 0, MAKELPARAM(300, 5));
  EXPECT_FALSE(r->GetChecked());
  r->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  r->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(r->GetChecked());
  EXPECT_EQ(clicks[1].Count, 1);
  r->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  r->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(r->GetChecked()) << "a checked radio button stays checked";
}

TEST_F(KxRadioTest, CustomGlyphsByState) {
  TKxRadioButton* r = radios[0];
  r->SetCustomGlyphs(Strip({clRed, clMaroon, clBlue, clYellow, clFuchsia, clAqua}).get());
  EXPECT_TRUE(r->GetUseCustomGlyphs());
  EXPECT_EQ(r->GetGlyphWidth(), 13);
  r->HandleNeeded();
  struct Case {
    const char* Name;
    bool Checked, Pressed, Enabled;
    TColor Expect;
  };
  const Case cases[] = {
      {"unchecked", false, false, true, clRed},   {"checked", true, false, true, clMaroon},
      {"pressed unchecked", false, true, true, clBlue}, {"pressed checked", true, true, true, clYellow},
      {"disabled unchecked", false, false, false, clFuchsia}, {"disabled checked", true, false, false, clAqua},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    r->SetChecked(c.Checked);
    r->SetEnabled(c.Enabled);
    if (c.Pressed) r->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GlyphPixel(r, 6, 6), Shown(c.Expect));
    if (c.Pressed) r->Perform(WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
  }
}

TEST(KxGlyphButton, AStripsWidthGivesTheGlyphsWidthByTheNumberOfStates) {
  Owned<TKxRadioButton> r(New<TKxRadioButton>(nullptr));
  Owned<TKxCheckBox> c(New<TKxCheckBox>(nullptr));
  Owned<TBitmap> strip = MakeOwned<TBitmap>();
  strip->SetSize(78, 13);
  r->SetCustomGlyphs(strip.get());
  c->SetCustomGlyphs(strip.get());
  EXPECT_EQ(r->GetGlyphWidth(), 13);
  EXPECT_EQ(c->GetGlyphWidth(), 8);
  EXPECT_EQ(c->GetGlyphHeight(), 13);
  c->SetUseCustomGlyphs(false);
  EXPECT_EQ(c->GetGlyphWidth(), 13);
  strip->SetSize(0, 0);
  r->SetCustomGlyphs(strip.get());
  EXPECT_FALSE(r->GetUseCustomGlyphs()) << "an empty strip turns them off";
}

TEST_F(KxRadioTest, TheMaskColoursOfAGlyphBecomeWindowAndFrame) {
  // A strip whose unchecked cell is the mask colour and whose checked cell
  // is the frame-edge colour 0x008000.
  TKxRadioButton* r = radios[0];
  r->SetCustomGlyphs(Strip({clLime, clGreen, clRed, clRed, clRed, clRed}).get());
  r->SetFrameColor(clNavy);
  r->HandleNeeded();
  EXPECT_EQ(GlyphPixel(r, 6, 6), Shown(clWindow));
  r->SetChecked(true);
  TDib dib(r->GetWidth(), r->GetHeight(), RGB(1, 2, 3));
  PaintControl(r, dib);
  TRect g = r->GlyphRect();
  EXPECT_EQ(dib.Pixel(g.left + 6, g.top + 6), Shown(BlendColors(clNavy, r->GetColor(), 128)))
      << "half frame, half what the glyph stands on";
}

TEST(KxGlyphButton, AMappedColourIsNeverAKeyColour) {
  Owned<TKxRadioButton> r(New<TKxRadioButton>(nullptr));
  struct Case {
    TColor In, Out;
  };
  for (Case c : {Case{clOlive, static_cast<TColor>(0x008081)}, Case{clLime, static_cast<TColor>(0x00FF01)},
                 Case{static_cast<TColor>(0x808080), static_cast<TColor>(0x808081)}, Case{clRed, clRed},
                 Case{clHighlight, clHighlight}}) {
    SCOPED_TRACE(c.In);
    EXPECT_EQ(r->CheckColor(c.In), c.Out);
  }
  r->SetTransparentColor(clRed);
  EXPECT_EQ(r->CheckColor(clRed), static_cast<TColor>(0x000100)) << "the key colour follows TransparentColor";
}

// The built-in bitmaps, mapped to the button's colours (themes off).
TEST(KxGlyphButton, TheHotTrackingLookMapsTheBuiltInBitmaps) {
  TThemesOff off;
  TControlHost host;
  auto* r = host.Add<TKxRadioButton>(0, 0, 100, 20);
  auto* c = host.Add<TKxCheckBox>(0, 30, 100, 20);
  for (TKxCustomGlyphButton* b : {static_cast<TKxCustomGlyphButton*>(r), static_cast<TKxCustomGlyphButton*>(c)}) {
    b->SetHotTrack(true);
    b->SetFrameColor(static_cast<TColor>(RGB(0, 0, 200)));
    b->SetDisabledColor(static_cast<TColor>(RGB(230, 230, 100)));
    b->HandleNeeded();
  }
  ASSERT_TRUE(FullColorSupport());
  // Radio: the middle is the inside (or the dot), (5, 2) the inside's rim.
  EXPECT_EQ(GlyphPixel(r, 6, 6), Shown(clWindow));
  EXPECT_EQ(GlyphPixel(r, 5, 2), Shown(clWindow));
  r->SetChecked(true);
  EXPECT_EQ(GlyphPixel(r, 6, 6), Shown(r->CheckColor(clHighlight))) << "the dot";
  r->Perform(CM_MOUSEENTER, 0, 0);
  TColor light = HSLtoColor(static_cast<uint8_t>(ColorHue(clHighlight) < 120 ? ColorHue(clHighlight) + 120
                                                                              : ColorHue(clHighlight) - 120),
                            220, 180);
  EXPECT_EQ(GlyphPixel(r, 5, 2), Shown(DarkerColor(light, 30))) << "the rim glows under the mouse";
  r->Perform(CM_MOUSELEAVE, 0, 0);
  r->SetEnabled(false);
  EXPECT_EQ(GlyphPixel(r, 6, 6), Shown(clBtnShadow)) << "a disabled dot";
  r->SetChecked(false);
  EXPECT_EQ(GlyphPixel(r, 6, 6), Shown(r->GetDisabledColor())) << "a disabled inside";
  // Check box: grey frame to FrameColor, white inside to the window colour.
  EXPECT_EQ(GlyphPixel(c, 0, 6), Shown(c->GetFrameColor()));
  EXPECT_EQ(GlyphPixel(c, 6, 2), Shown(clWindow));
  c->SetEnabled(false);
  EXPECT_EQ(GlyphPixel(c, 6, 2), Shown(c->GetDisabledColor()));
}

TEST(KxGlyphButton, EverySourceShowsTheStatesApart) {
  // Classic and themed: the checked and the unchecked glyph differ, and so
  // do the enabled and the disabled.
  for (bool themed : {false, true}) {
    SCOPED_TRACE(themed ? "themed" : "classic");
    std::unique_ptr<TThemesOff> off;
    if (!themed) off = std::make_unique<TThemesOff>();
    TControlHost host;
    auto* r = host.Add<TKxRadioButton>(0, 0, 100, 20);
    auto* c = host.Add<TKxCheckBox>(0, 30, 100, 20);
    c->SetAllowGrayed(true);
    auto shot = [](TKxCustomGlyphButton* b) {
      TDib dib(b->GetWidth(), b->GetHeight(), RGB(1, 2, 3));
      PaintControl(b, dib);
      std::vector<COLORREF> px;
      TRect g = b->GlyphRect();
      for (int y = g.top; y < g.bottom; ++y)
        for (int x = g.left; x < g.right; ++x) px.push_back(dib.Pixel(x, y));
      return px;
    };
    auto r0 = shot(r);
    r->SetChecked(true);
    auto r1 = shot(r);
    EXPECT_NE(r0, r1);
    std::vector<std::vector<COLORREF>> boxes;
    for (TCheckBoxState s : {cbUnchecked, cbChecked, cbGrayed}) {
      c->InitState(s);
      boxes.push_back(shot(c));
    }
    EXPECT_NE(boxes[0], boxes[1]);
    EXPECT_NE(boxes[1], boxes[2]);
    c->SetEnabled(false);
    EXPECT_NE(shot(c), boxes[2]);
  }
}

// --- check box ----------------------------------------------------------------------------

TEST(KxCheckBoxState, ClicksCycleThroughTheStates) {
  TControlHost host;
  auto* c = host.Add<TKxCheckBox>(10, 10, 100, 20);
  TEventCounter clicks;
  c->OnClick = clicks.Event();
  c->HandleNeeded();
  auto click = [&] {
    c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    c->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    return c->GetState();
  };
  EXPECT_EQ(click(), cbChecked);
  EXPECT_EQ(click(), cbUnchecked);
  c->SetAllowGrayed(true);
  EXPECT_EQ(click(), cbGrayed);
  EXPECT_EQ(click(), cbChecked);
  EXPECT_EQ(click(), cbUnchecked);
  EXPECT_EQ(clicks.Count, 5);
  c->InitState(cbChecked);
  EXPECT_EQ(clicks.Count, 5) << "InitState does not click";
  EXPECT_TRUE(c->GetChecked());
  c->SetChecked(false);
  EXPECT_EQ(c->GetState(), cbUnchecked);
}

TEST(KxCheckBoxState, CustomGlyphsByStateAndLook) {
  TControlHost host;
  auto* c = host.Add<TKxCheckBox>(10, 10, 100, 20);
  const TColor cells[9] = {clRed,    clMaroon, clBlue,   clYellow, clFuchsia,
                           clAqua,   clNavy,   clPurple, clTeal};
  c->SetCustomGlyphs(Strip({cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6], cells[7],
                            cells[8]}).get());
  c->HandleNeeded();
  for (int look = 0; look < 3; ++look)
    for (TCheckBoxState s : {cbUnchecked, cbChecked, cbGrayed}) {
      SCOPED_TRACE(testing::Message() << "look " << look << " state " << s);
      c->InitState(s);
      c->SetEnabled(look != 2);
      if (look == 1) c->Perform(WM_KEYDOWN, VK_SPACE, 0);
      EXPECT_EQ(GlyphPixel(c, 4, 6), Shown(cells[3 * look + s]));
      if (look == 1) c->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
    }
}

TEST(KxCheckBoxState, SpacePressesAndEscapeBeforeTheReleaseCancels) {
  TControlHost host;
  auto* c = host.Add<TKxCheckBox>(10, 10, 100, 20);
  c->HandleNeeded();
  c->Perform(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(c->GetShowingPressed());
  c->Perform(WM_KEYUP, VK_SPACE, 0);
  EXPECT_FALSE(c->GetShowingPressed());
  EXPECT_EQ(c->GetState(), cbChecked);
  c->Perform(WM_KEYDOWN, VK_SPACE, 0);
  c->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(c->GetShowingPressed());
  c->Perform(WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(c->GetState(), cbChecked) << "cancelled";
}

// --- framing, actions, stored forms -------------------------------------------------------------

TEST(KxGlyphButton, AVisibleFrameControllerGivesItsColours) {
  Owned<TKxFrameController> controller(New<TKxFrameController>(nullptr));
  Owned<TKxCheckBox> c(New<TKxCheckBox>(nullptr));
  controller->SetFrameColor(clMaroon);
  controller->SetDisabledColor(clTeal);
  c->SetFrameController(controller.get());
  EXPECT_EQ(c->GetFrameColor(), clBtnShadow) << "an invisible frame gives nothing";
  controller->SetFrameVisible(true);
  EXPECT_EQ(c->GetFrameColor(), clMaroon);
  EXPECT_EQ(c->GetDisabledColor(), clTeal);
  EXPECT_EQ(controller->GetControlCount(), 1);
  c->SetFrameController(nullptr);
  EXPECT_EQ(controller->GetControlCount(), 0);
  c->SetFrameController(controller.get());
  controller.reset();
  EXPECT_EQ(c->GetFrameController(), nullptr) << "a freed controller is let go";
}

TEST(KxGlyphButton, CheckedFollowsAnActionWhileTheyAgree) {
  TControlHost host;
  auto* action = New<TAction>(host.Panel());
  auto* c = host.Add<TKxCheckBox>(0, 0, 100, 20);
  action->SetChecked(true);
  c->SetAction(action);
  EXPECT_TRUE(c->GetChecked());
  EXPECT_FALSE(c->IsCheckedStored());
  action->SetChecked(false);
  EXPECT_FALSE(c->GetChecked());
  c->SetChecked(true);
  EXPECT_TRUE(c->IsCheckedStored()) << "no longer the action's";
}

TEST(KxGlyphButton, StoredFormsReadTheRetiredFlatAndKeepTheState) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* c = New<TKxCheckBox>(form.get());
  c->SetParent(form.get());
  c->SetName("Check1");
  c->SetAllowGrayed(true);
  c->InitState(cbGrayed);
  std::string text = WriteForm(form.get());
  EXPECT_NE(text.find("State = cbGrayed"), std::string::npos) << text;
  std::string old = text;
  old.insert(old.find("State = cbGrayed"), "Flat = True\n    ");
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(old, copy.get());
  auto* d = dynamic_cast<TKxCheckBox*>(copy->FindComponent("Check1"));
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->GetState(), cbGrayed);
  EXPECT_TRUE(d->GetHotTrack());
  std::string again = WriteForm(copy.get());
  EXPECT_EQ(again.find("Flat ="), std::string::npos);
}

TEST(KxGlyphButton, TheFocusBorderSurroundsTheCaption) {
  TThemesOff off;
  TControlHost host;
  host.Show();
  auto* c = host.Add<TKxCheckBox>(0, 0, 200, 20);
  c->SetCaption("Box");
  c->HandleNeeded();
  ::SetFocus(c->GetHandle());
  ASSERT_TRUE(c->Focused());
  TDib dib(200, 20, RGB(1, 2, 3));
  PaintControl(c, dib);
  TRect text = c->CaptionRect();
  // Dotted: every second pixel of the top edge, from its second one.
  EXPECT_EQ(dib.Pixel(text.left, text.top - 1), RGB(0, 0, 0));
  EXPECT_NE(dib.Pixel(text.left - 1, text.top - 1), RGB(0, 0, 0));
  int dots = 0;
  for (int x = text.left; x < 200; ++x) dots += dib.Pixel(x, text.top - 1) == RGB(0, 0, 0) ? 1 : 0;
  EXPECT_LT(dots, 40) << "only as wide as the caption";
}

// --- real keys -----------------------------------------------------------------------------

TEST(SerialKxRadioInput, TabbingIntoARadioButtonChecksItAndTabOnEnterMovesOn) {
  TShownForm form;
  auto* first = form.Add<TKxCheckBox>(10, 10, 100, 20);
  first->SetTabOnEnter(true);
  auto* radio = form.Add<TKxRadioButton>(10, 40, 100, 20);
  radio->SetTabStop(true);
  form.Show();
  first->SetFocus();
  forms_test::PumpApplication(2);
  ASSERT_TRUE(first->Focused());
  form.Type(VK_RETURN);
  EXPECT_TRUE(radio->Focused()) << "Enter moved on as Tab";
  EXPECT_TRUE(radio->GetChecked()) << "arriving by key checks it";
  EXPECT_EQ(first->GetState(), cbUnchecked);
}

}  // namespace
