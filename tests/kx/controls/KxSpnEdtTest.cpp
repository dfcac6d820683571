// The spin controls: the rapid-fire button's repeats and arrow glyph, the
// spin buttons' layout, glyphs and focus, the spin edit's steps, limits,
// keys, wheel and stored form, and the spinner's steps, drawing and hand
// cursor; repeats run through the timer seam, clicks with the real mouse.
#include <gtest/gtest.h>

#include <string>

#include "kx/controls/KxSpnEdt.h"
#include "tests/kx/controls/KxControlsTestSupport.h"
#include "tests/kx/controls/KxPopupsTestSupport.h"
#include "tests/kx/foundation/KxListTestSupport.h"

using namespace kxc_test;
using kx_test::TFakeTimers;

namespace {

// --- rapid-fire button ----------------------------------------------------------------------------

TEST(KxRapidFireButton, HeldItClicksAfterTheInitialDelayThenEveryDelayUntilReleased) {
  TFakeTimers timers;
  TControlHost host;
  host.Panel()->HandleNeeded();
  auto* b = host.Add<TKxRapidFireButton>(10, 10, 23, 22);
  TEventCounter clicks;
  b->OnClick = clicks.Event();
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(timers.Running(400));
  EXPECT_EQ(clicks.Count, 0);
  EXPECT_EQ(timers.Fire(400), 1);
  EXPECT_EQ(clicks.Count, 1);
  EXPECT_TRUE(timers.Running(100)) << "then every Delay";
  timers.Fire(100);
  timers.Fire(100);
  EXPECT_EQ(clicks.Count, 3);
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(timers.Running(100)) << "the release stops the repeats";
  EXPECT_EQ(clicks.Count, 4) << "the speed button's own click on release";
}

TEST(KxRapidFireButton, TheScrollStyleDrawsTheScrollBarsArrowAsTheGlyph) {
  TControlHost host;
  auto* b = host.Add<TKxRapidFireButton>(10, 10, 23, 22);
  struct TCase {
    TKxScrollStyle Style;
    int Width, Height;
    bool Vertical;     // the arrow points up or down
    bool TowardStart;  // up or left
  };
  const TCase cases[] = {
      {scsLeft, 9, 9, false, true},
      {scsUp, 9, 6, true, true},
      {scsRight, 9, 9, false, false},
      {scsDown, 9, 6, true, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Style));
    b->SetScrollStyle(c.Style);
    TBitmap* g = b->GetGlyph();
    ASSERT_EQ(g->GetWidth(), c.Width);
    ASSERT_EQ(g->GetHeight(), c.Height);
    // The arrow in the button text's colour: its run across the arrow's
    // axis is shortest at the tip.
    const TColor ink = static_cast<TColor>(ColorToRGB(clBtnText));
    auto run = [&](int at) {
      int n = 0;
      for (int i = 0; i < (c.Vertical ? c.Width : c.Height); ++i)
        n += (c.Vertical ? g->GetCanvas()->GetPixels(i, at) : g->GetCanvas()->GetPixels(at, i)) == ink;
      return n;
    };
    int first = -1, last = -1;
    for (int at = 0; at < (c.Vertical ? c.Height : c.Width); ++at)
      if (run(at) > 0) {
        if (first < 0) first = at;
        last = at;
      }
    ASSERT_GE(first, 0) << "no arrow drawn";
    EXPECT_LT(last - first, 5);
    if (c.TowardStart) EXPECT_LT(run(first), run(last));
    else EXPECT_GT(run(first), run(last));
  }
  b->SetScrollStyle(scsNone);
  EXPECT_TRUE(b->GetGlyph()->GetEmpty());
}

// --- spin buttons ---------------------------------------------------------------------------------

TEST(KxSpinButtons, TheTwoButtonsShareTheControlByOrientationAndShowTheirDirection) {
  TControlHost host;
  auto* s = host.Add<TKxSpinButtons>(10, 10, 16, 25);
  EXPECT_EQ(s->GetUpRightButton()->GetBoundsRect(), (TRect{0, 0, 16, 12}));
  EXPECT_EQ(s->GetDownLeftButton()->GetBoundsRect(), (TRect{0, 12, 16, 24}));
  EXPECT_EQ(s->GetUpRightButton()->GetStyle(), cbsUp);
  EXPECT_EQ(s->GetDownLeftButton()->GetStyle(), cbsDown);
  s->SetOrientation(orHorizontal);
  EXPECT_EQ(s->GetWidth(), 32) << "turned, the width doubles";
  EXPECT_EQ(s->GetDownLeftButton()->GetBoundsRect(), (TRect{0, 0, 16, 24}));
  EXPECT_EQ(s->GetUpRightButton()->GetBoundsRect(), (TRect{16, 0, 32, 24}));
  s->SetDirection(sdLeftRight);
  EXPECT_EQ(s->GetUpRightButton()->GetStyle(), cbsRight);
  EXPECT_EQ(s->GetDownLeftButton()->GetStyle(), cbsLeft);
  s->SetOrientation(orVertical);
  EXPECT_EQ(s->GetWidth(), 16);

  // A glyph replaces the arrow; an empty one brings it back.
  Owned<TBitmap> glyph = SolidGlyph(8, 8, clRed);
  s->SetGlyphUpRight(glyph.get());
  EXPECT_EQ(s->GetUpRightButton()->GetStyle(), cbsNone);
  EXPECT_TRUE(s->IsUpRightCustom());
  Owned<TBitmap> empty(New<TBitmap>());
  s->SetGlyphUpRight(empty.get());
  EXPECT_EQ(s->GetUpRightButton()->GetStyle(), cbsRight);
  EXPECT_FALSE(s->IsUpRightCustom());
}

TEST(SerialKxSpinButtons, TheArrowKeysClickTheButtonsAndAPressFocusesTheControlServedFirst) {
  TShownForm shown;
  auto* edit = shown.Add<TEdit>(10, 40, 80, 21);
  auto* other = shown.Add<TEdit>(10, 80, 80, 21);
  auto* s = shown.Add<TKxSpinButtons>(10, 10, 16, 25);
  shown.Show();
  TEventCounter ups, downs;
  s->OnUpRightClick = ups.Event();
  s->OnDownLeftClick = downs.Event();
  EXPECT_EQ(s->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
  SendMessageA(s->GetHandle(), WM_KEYDOWN, VK_UP, 1);
  SendMessageA(s->GetHandle(), WM_KEYDOWN, VK_DOWN, 1);
  SendMessageA(s->GetHandle(), WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(ups.Count, 1);
  EXPECT_EQ(downs.Count, 2);

  other->SetFocus();
  s->SetFocusControl(edit);
  TKxControlButton* up = s->GetUpRightButton();
  TShownForm::MoveTo(up, POINT{3, 3});
  TShownForm::Button(true);
  EXPECT_TRUE(edit->Focused()) << "the press took the focus to the control served";
  EXPECT_TRUE(up->GetDown());
  TShownForm::Button(false);
  EXPECT_EQ(ups.Count, 2);
  // Without a control to serve, the pair itself takes the focus when it
  // is a tab stop.
  other->SetFocus();
  s->SetFocusControl(nullptr);
  s->SetTabStop(true);
  TShownForm::Button(true);
  EXPECT_TRUE(s->Focused());
  TShownForm::Button(false);
  EXPECT_EQ(ups.Count, 3);
}

// --- spin edit -------------------------------------------------------------------------------------

class KxSpinEditTest : public ::testing::Test {
 protected:
  KxSpinEditTest() {
    edit = host.Add<TKxSpinEdit>(10, 10, 80, 21);
    edit->HandleNeeded();
  }
  void Key(WORD vk) { SendMessageA(edit->GetHandle(), WM_KEYDOWN, vk, 1); }
  void Wheel(int delta, bool ctrl) {
    POINT p = edit->ClientToScreen(POINT{5, 5});
    SendMessageA(edit->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(ctrl ? MK_CONTROL : 0, delta), MAKELPARAM(p.x, p.y));
  }
  kxp_test::TPinnedFormats formats;
  TControlHost host;
  TKxSpinEdit* edit = nullptr;
};

TEST_F(KxSpinEditTest, StepsByIncrementAndPageWithinTheRange) {
  struct TCase {
    const char* Name;
    double Min, Max, Start;
    bool CheckRange;
    WORD Key;
    int WheelDelta;  // with Key 0
    bool Ctrl;
    const char* Shown;
  };
  const TCase cases[] = {
      {"Page Up clamped", 0, 100, 99, false, VK_PRIOR, 0, false, "100"},
      {"Page Down", 0, 100, 50, false, VK_NEXT, 0, false, "40"},
      {"Up", 0, 100, 50, false, VK_UP, 0, false, "51"},
      {"Down clamped", 0, 100, 0, false, VK_DOWN, 0, false, "0"},
      {"no limit with Min = Max", 0, 0, 500, false, VK_PRIOR, 0, false, "510"},
      {"Min = Max with CheckRange", 0, 0, 0, true, VK_PRIOR, 0, false, "0"},
      {"wheel up", 0, 100, 50, false, 0, WHEEL_DELTA, false, "51"},
      {"wheel down with Ctrl", 0, 100, 50, false, 0, -WHEEL_DELTA, true, "40"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    edit->SetMin(c.Min);
    edit->SetMax(c.Max);
    edit->SetCheckRange(c.CheckRange);
    edit->SetValue(c.Start);
    if (c.Key) Key(c.Key);
    else Wheel(c.WheelDelta, c.Ctrl);
    EXPECT_EQ(edit->GetText(), c.Shown);
  }
}

TEST_F(KxSpinEditTest, DecimalsShowInTheTextAndIntegersOnlyRounds) {
  edit->SetIntegersOnly(false);
  edit->SetDecimals(2);
  edit->SetValue(1.5);
  EXPECT_EQ(edit->GetText(), "1.50");
  edit->SetIncrement(0.25);
  Key(VK_UP);
  EXPECT_EQ(edit->GetText(), "1.75");
  EXPECT_EQ(edit->GetIntValue(), 2);
  edit->SetIntegersOnly(true);
  EXPECT_EQ(edit->GetText(), "2");
  EXPECT_EQ(edit->GetDecimals(), 0);
}

TEST_F(KxSpinEditTest, WithoutKeyEditTypingBeepsAndChangesNothingButTheArrowsStillStep) {
  edit->SetValue(5);
  TBeepCounter beeps;
  for (char c : std::string("12a"))
    SendMessageA(edit->GetHandle(), WM_CHAR, static_cast<unsigned char>(c), 1);
  Key(VK_DELETE);
  EXPECT_EQ(edit->GetText(), "5");
  EXPECT_EQ(beeps.Take(), 4) << "three characters and Delete";
  Key(VK_UP);
  EXPECT_EQ(edit->GetText(), "6");

  edit->SetAllowKeyEdit(true);
  edit->SelectAll();
  for (char c : std::string("12a"))
    SendMessageA(edit->GetHandle(), WM_CHAR, static_cast<unsigned char>(c), 1);
  EXPECT_EQ(edit->GetText(), "12");
  EXPECT_EQ(beeps.Take(), 1) << "the letter";
  edit->Perform(CM_EXIT, 0, 0);
  EXPECT_EQ(edit->GetText(), "12");
  edit->SetText("250");
  edit->Perform(CM_EXIT, 0, 0);
  EXPECT_EQ(edit->GetText(), "100") << "leaving keeps the range";

  edit->SetReadOnly(true);
  Key(VK_UP);
  EXPECT_EQ(edit->GetText(), "100");
  EXPECT_EQ(beeps.Take(), 1) << "a step of a read-only edit beeps";
}

TEST_F(KxSpinEditTest, ARefusedChangeKeepsTheValueAndReportsNoButton) {
  struct TLog {
    bool Allow = false;
    int Asked = 0;
    std::vector<TSpinButtonType> Buttons;
    void Changing(TObject*, bool& allow) {
      ++Asked;
      allow = Allow;
    }
    void Clicked(TObject*, TSpinButtonType b) { Buttons.push_back(b); }
  } log;
  edit->SetOnChanging(TSpinChangingEvent(&log, &TLog::Changing));
  edit->SetOnButtonClick(TSpinButtonEvent(&log, &TLog::Clicked));
  edit->SetValue(10);
  Key(VK_UP);
  EXPECT_EQ(edit->GetText(), "10");
  EXPECT_EQ(log.Asked, 1);
  EXPECT_TRUE(log.Buttons.empty());
  log.Allow = true;
  Key(VK_UP);
  Key(VK_NEXT);
  EXPECT_EQ(edit->GetText(), "1");
  EXPECT_EQ(log.Buttons, (std::vector<TSpinButtonType>{sbUp, sbDown}));
}

TEST_F(KxSpinEditTest, TheButtonsSitAtTheRightAndTheTextStopsBesideThem) {
  TKxSpinButtons* b = edit->GetButtons();
  EXPECT_EQ(b->GetParent(), edit);
  EXPECT_EQ(b->GetWidth(), 17);
  EXPECT_EQ(b->GetLeft() + b->GetWidth(), edit->GetWidth() - (ThemeServices().GetThemesEnabled() ? 3 : 4));
  LRESULT margins = SendMessageA(edit->GetHandle(), EM_GETMARGINS, 0, 0);
  EXPECT_EQ(HIWORD(margins), 19);
  EXPECT_EQ(LOWORD(margins), 0);
  edit->SetButtonWidth(25);
  EXPECT_EQ(b->GetWidth(), 25);
  EXPECT_EQ(HIWORD(SendMessageA(edit->GetHandle(), EM_GETMARGINS, 0, 0)), 27);
  EXPECT_EQ(edit->GetEditRect().right, edit->GetClientWidth() - 27);
}

// Made at run time, a spin edit is commonly sized before it has a parent;
// either way it takes the width it is given, its buttons at its right.
TEST(KxSpinEditSize, ItTakesTheWidthItIsGivenBeforeOrAfterItsParent) {
  TControlHost host;
  host.Show();
  const int inset = ThemeServices().GetThemesEnabled() ? 3 : 4;
  for (bool sizeFirst : {true, false}) {
    SCOPED_TRACE(sizeFirst ? "sized first" : "parented first");
    auto* edit = New<TKxSpinEdit>(host.Panel());
    if (sizeFirst) {
      EXPECT_NO_THROW(edit->SetBounds(10, 10, 150, 30));
    }
    edit->SetParent(host.Panel());
    if (!sizeFirst) edit->SetBounds(10, 10, 150, 30);
    edit->HandleNeeded();
    EXPECT_EQ(edit->GetLeft(), 10);
    EXPECT_EQ(edit->GetWidth(), 150);
    TKxSpinButtons* b = edit->GetButtons();
    EXPECT_EQ(b->GetLeft() + b->GetWidth(), 150 - inset);
    edit->SetWidth(90);
    EXPECT_EQ(edit->GetWidth(), 90);
    EXPECT_EQ(b->GetLeft() + b->GetWidth(), 90 - inset);
    edit->Free();
  }
  // Width and Height alone before the parent, too.
  auto* edit = New<TKxSpinEdit>(host.Panel());
  EXPECT_NO_THROW(edit->SetWidth(120));
  EXPECT_NO_THROW(edit->SetHeight(40));
  edit->SetParent(host.Panel());
  edit->HandleNeeded();
  EXPECT_EQ(edit->GetWidth(), 120);
  EXPECT_EQ(edit->GetButtons()->GetLeft() + edit->GetButtons()->GetWidth(), 120 - inset);
}

class TSpinRoot : public TPanel {
  DECLARE_CLASS(TSpinRoot, TPanel)
  using TPanel::TPanel;
  TKxSpinEdit* Spin = nullptr;
  TKxSpinner* Counter = nullptr;
};
PUBLISHED(TSpinRoot) {
  p.Field("Spin", &TSpinRoot::Spin);
  p.Field("Counter", &TSpinRoot::Counter);
}

TEST_F(KxSpinEditTest, TheStoredFormKeepsAZeroMaxAndReadsTheRetiredNames) {
  if (!GetClass("TSpinRoot")) RegisterClass(TSpinRoot::StaticClass());
  std::string text =
      "object Root: TSpinRoot\n"
      "  object Spin: TKxSpinEdit\n"
      "    FlatButtonParentColor = True\n"
      "    Min = -50\n"
      "    Max = 0\n"
      "    Increment = 0\n"
      "    Value = -7\n"
      "  end\n"
      "  object Counter: TKxSpinner\n"
      "    NumGlyphsMinus = 2\n"
      "    NumGlyphsPlus = 2\n"
      "    Flat = True\n"
      "    Max = 0\n"
      "    Min = -9\n"
      "    Value = -3\n"
      "  end\n"
      "end\n";
  Owned<TSpinRoot> root(New<TSpinRoot>(nullptr));
  root->SetParent(host.Panel());
  ReadForm(text, root.get());
  ASSERT_NE(root->Spin, nullptr);
  ASSERT_NE(root->Counter, nullptr);
  EXPECT_EQ(root->Spin->GetMax(), 0);
  EXPECT_EQ(root->Spin->GetIncrement(), 0);
  EXPECT_EQ(root->Spin->GetText(), "-7");
  EXPECT_EQ(root->Counter->GetValue(), -3);
  EXPECT_EQ(root->Counter->GetMax(), 0);

  std::string written = WriteForm(root.get());
  for (const char* line : {"Max = 0", "Min = -50", "Increment = 0", "Value = -7", "Min = -9", "Value = -3"})
    EXPECT_NE(written.find(line), std::string::npos) << line << "\n" << written;
  for (const char* name : {"FlatButtonParentColor", "NumGlyphs", "Flat =", "PageSize", "TKxSpinButtons", "Glyph"})
    EXPECT_EQ(written.find(name), std::string::npos) << name << "\n" << written;
}

// --- spinner --------------------------------------------------------------------------------------

TEST(KxSpinner, KeysWheelAndLimitsStepTheValueUnlessOnChangingRefuses) {
  TControlHost host;
  auto* s = host.Add<TKxSpinner>(10, 10, 80, 18);
  s->HandleNeeded();
  TEventCounter changes;
  s->OnChange = changes.Event();
  struct TCase {
    WORD Key;
    int Delta;
    bool Ctrl;
    int Expected;
  };
  s->SetValue(50);
  const TCase cases[] = {{VK_PRIOR, 0, false, 60},   {VK_NEXT, 0, false, 50},  {VK_UP, 0, false, 51},
                         {VK_RIGHT, 0, false, 52},   {VK_ADD, 0, false, 53},   {VK_DOWN, 0, false, 52},
                         {VK_LEFT, 0, false, 51},    {VK_SUBTRACT, 0, false, 50}, {0, WHEEL_DELTA, false, 51},
                         {0, -WHEEL_DELTA, true, 41}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Key ? c.Key : c.Delta);
    if (c.Key) {
      SendMessageA(s->GetHandle(), WM_KEYDOWN, c.Key, 1);
    } else {
      POINT p = s->ClientToScreen(POINT{40, 9});
      SendMessageA(s->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(c.Ctrl ? MK_CONTROL : 0, c.Delta), MAKELPARAM(p.x, p.y));
    }
    EXPECT_EQ(s->GetValue(), c.Expected);
  }
  EXPECT_EQ(changes.Count, 11);
  EXPECT_NE(s->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, 0);

  s->SetMax(40);
  EXPECT_EQ(s->GetValue(), 40) << "a lower Max takes the value with it";
  s->SetMin(45);
  EXPECT_EQ(s->GetMax(), 45);
  EXPECT_EQ(s->GetValue(), 40) << "Min = Max: no limit";
  s->SetMax(100);
  s->SetMin(60);
  EXPECT_EQ(s->GetValue(), 60) << "a higher Min takes the value with it";

  struct TRefuse {
    void Changing(TObject*, int, bool& allow) { allow = false; }
  } refuse;
  s->SetOnChanging(TKxSpinnerEvent(&refuse, &TRefuse::Changing));
  int before = changes.Count;
  SendMessageA(s->GetHandle(), WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(s->GetValue(), 60);
  EXPECT_EQ(changes.Count, before);
}

TEST(KxSpinner, TheSignsAreDrawnInTheirButtonsAndTheValueBetween) {
  TControlHost host;
  auto* s = host.Add<TKxSpinner>(10, 10, 80, 18);
  s->SetValue(7);
  TDib dib(80, 18, RGB(1, 2, 3));
  PaintControl(s, dib);
  const COLORREF sign = ColorToRGB(clActiveCaption);
  const int w = 80, h = 18, bw = 18;
  EXPECT_EQ(ColourBox(dib, sign, TRect{0, 0, bw, h}), (TRect{4, h / 2 - 1, bw - 4, h / 2 + 1}));
  EXPECT_EQ(ColourBox(dib, sign, TRect{w - bw, 0, w, h}), (TRect{w - bw + 4, h / 2 - bw / 2 + 4, w - 4, h / 2 + bw / 2 - 4}));
  // The frame of the value between the buttons, and the text inside it.
  EXPECT_EQ(dib.Pixel(40, 0), ColorToRGB(clBtnShadow));
  TRect text = ColourBox(dib, ColorToRGB(clWindowText), TRect{bw, 1, w - bw, h - 1});
  ASSERT_GT(text.right, text.left) << "no value drawn";
  EXPECT_NEAR((text.left + text.right) / 2.0, w / 2.0, 2.0);
}

class SerialKxSpinner : public ::testing::Test {
 protected:
  SerialKxSpinner() {
    spinner = shown.Add<TKxSpinner>(20, 20, 100, 22);
    spinner->SetValue(10);
    shown.Show();
  }
  POINT Plus() const { return POINT{spinner->GetWidth() - 6, 11}; }
  POINT Minus() const { return POINT{6, 11}; }
  TShownForm shown;
  TKxSpinner* spinner = nullptr;
};

TEST_F(SerialKxSpinner, HoldingAButtonStepsOnEachTickAndOnceMoreOnRelease) {
  TFakeTimers timers;
  TShownForm::MoveTo(spinner, Plus());
  TShownForm::Button(true);
  EXPECT_TRUE(spinner->Focused()) << "a press takes the focus";
  EXPECT_TRUE(spinner->GetPlusDown());
  EXPECT_TRUE(timers.Running(400));
  EXPECT_EQ(spinner->GetValue(), 10) << "nothing before the first tick";
  timers.Fire(400);
  EXPECT_EQ(spinner->GetValue(), 11);
  EXPECT_TRUE(timers.Running(100));
  timers.Fire(100);
  timers.Fire(100);
  EXPECT_EQ(spinner->GetValue(), 13);
  TShownForm::Button(false);
  EXPECT_EQ(spinner->GetValue(), 14) << "the release steps once";
  EXPECT_FALSE(timers.Running(100));
  EXPECT_FALSE(spinner->GetPlusDown());

  TShownForm::MoveTo(spinner, Minus());
  TShownForm::Button(true);
  TShownForm::Button(false);
  EXPECT_EQ(spinner->GetValue(), 13) << "a click on minus";
  TShownForm::MoveTo(spinner, POINT{50, 11});
  TShownForm::Button(true);
  TShownForm::Button(false);
  EXPECT_EQ(spinner->GetValue(), 13) << "a click on the value";
}

TEST_F(SerialKxSpinner, TheButtonsShowTheHandCursor) {
  HCURSOR hand = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
  EXPECT_EQ(spinner->GetButtonCursor(), hand) << "the system's hand on this Windows";
  for (POINT p : {Plus(), Minus()}) {
    TShownForm::MoveTo(spinner, POINT{50, 11});
    EXPECT_NE(GetCursor(), hand);
    TShownForm::MoveTo(spinner, p);
    EXPECT_EQ(GetCursor(), hand);
  }
}

// --- spin edit with the real mouse -----------------------------------------------------------------

TEST(SerialKxSpinEdit, AHeldButtonRepeatsItsStepAndFocusesTheEdit) {
  TShownForm shown;
  auto* other = shown.Add<TKxEdit>(20, 60, 80, 21);
  auto* edit = shown.Add<TKxSpinEdit>(20, 20, 80, 21);
  edit->SetValue(20);
  shown.Show();
  other->SetFocus();
  forms_test::PumpApplication(3);
  TFakeTimers timers;
  TKxControlButton* up = edit->GetButtons()->GetUpRightButton();
  TShownForm::MoveTo(up, POINT{up->GetWidth() / 2, up->GetHeight() / 2});
  TShownForm::Button(true);
  EXPECT_TRUE(edit->Focused()) << "the press focused the edit";
  timers.Fire(400);
  timers.Fire(100);
  EXPECT_EQ(edit->GetText(), "22");
  TShownForm::Button(false);
  EXPECT_EQ(edit->GetText(), "23") << "the release clicks once more";
  TKxControlButton* down = edit->GetButtons()->GetDownLeftButton();
  TShownForm::MoveTo(down, POINT{down->GetWidth() / 2, down->GetHeight() / 2});
  TShownForm::Button(true);
  TShownForm::Button(false);
  EXPECT_EQ(edit->GetText(), "22");
}

}  // namespace
