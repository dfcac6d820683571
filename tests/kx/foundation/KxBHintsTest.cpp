// Balloon hints: where a balloon goes for each corner and each screen edge;
// the window class installed and restored; the settings that reach the live
// window; the balloon's size and shape drawn with the real font; and the
// hint shown and hidden by the application's clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "kx/foundation/KxBHints.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"

using controls_test::TDib;
using forms_test::PumpApplication;
using forms_test::TFreshApplication;

namespace {

struct TPlaceCase {
  const char* what;
  POINT anchor;
  TKxHintCorner corner;
  TKxBalloonPlace expected;
};

TEST(KxBalloonPlacement, EachCornerAndEachScreenEdge) {
  // A 120 x 60 balloon on a 1024 x 768 screen.
  const int w = 120, h = 60;
  const TPlaceCase cases[] = {
      {"lower right", {500, 400}, hcLowerRight, {501, 400, hcLowerRight}},
      {"lower left", {500, 400}, hcLowerLeft, {379, 400, hcLowerLeft}},
      {"upper left", {500, 400}, hcUpperLeft, {379, 340, hcUpperLeft}},
      {"upper right", {500, 400}, hcUpperRight, {501, 340, hcUpperRight}},
      {"top edge, upper right", {500, 30}, hcUpperRight, {501, 30, hcLowerRight}},
      {"top edge, upper left", {500, 30}, hcUpperLeft, {379, 30, hcLowerLeft}},
      {"bottom edge, lower right", {500, 740}, hcLowerRight, {501, 680, hcUpperRight}},
      {"bottom edge, lower left", {500, 740}, hcLowerLeft, {379, 680, hcUpperLeft}},
      {"right edge, lower right", {1000, 400}, hcLowerRight, {879, 400, hcLowerLeft}},
      {"right edge, upper right", {1000, 400}, hcUpperRight, {879, 340, hcUpperLeft}},
      {"left edge, lower left", {50, 400}, hcLowerLeft, {51, 400, hcLowerRight}},
      {"left edge, upper left", {50, 400}, hcUpperLeft, {51, 340, hcUpperRight}},
      {"bottom right corner", {1000, 740}, hcLowerRight, {879, 680, hcUpperLeft}},
      {"top left corner", {50, 30}, hcUpperLeft, {51, 30, hcLowerRight}},
      {"touching the right and bottom edges", {903, 708}, hcLowerRight, {904, 708, hcLowerRight}},
      {"touching the top edge", {500, 60}, hcUpperRight, {501, 0, hcUpperRight}},
      // Above the screen (a monitor above the main one), a balloon to the
      // right stays to the right.
      {"above the top, lower right", {500, -10}, hcLowerRight, {501, -10, hcLowerRight}},
  };
  for (const TPlaceCase& c : cases) {
    SCOPED_TRACE(c.what);
    TKxBalloonPlace p = KxPlaceBalloon(c.anchor, w, h, c.corner, 1024, 768);
    EXPECT_EQ(p.X, c.expected.X);
    EXPECT_EQ(p.Y, c.expected.Y);
    EXPECT_EQ(p.Corner, c.expected.Corner);
  }
}

// The text's extent in the window's font as the window measures it.
SIZE Measured(TKxCustomHintWindow* window, const std::string& text, int width) {
  RECT r{0, 0, width, 0};
  DrawTextA(window->GetCanvas()->GetHandle(), text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  return SIZE{r.right, r.bottom};
}

RECT WindowRect(TWinControl* w) {
  RECT r{};
  GetWindowRect(w->GetWindowHandle(), &r);
  return r;
}

bool Shown(THintWindow* w) { return w && w->HandleAllocated() && IsWindowVisible(w->GetWindowHandle()); }

COLORREF Rgb(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)); }

// A fresh application with a form it owns (the window finds its components
// on the application's forms) and the hint window class put back at the end.
class KxBalloonHintsTest : public ::testing::Test {
 protected:
  KxBalloonHintsTest() : savedClass_(HintWindowClass) {}
  ~KxBalloonHintsTest() override { HintWindowClass = savedClass_; }
  void SetUp() override {
    form = New<TForm>(Application, 0);
    form->SetBounds(100, 100, 300, 200);
  }
  void TearDown() override { FreeAndNil(form); }
  TKxCustomHintWindow* Window() const { return dynamic_cast<TKxCustomHintWindow*>(Application->GetHintWindow()); }

  THintWindowClass savedClass_;
  TFreshApplication app;
  TForm* form = nullptr;
};

TEST_F(KxBalloonHintsTest, ItsWindowClassServesWhileItLivesAndThePreviousOneReturns) {
  THintWindowClass before = HintWindowClass;
  auto* hints = New<TKxBalloonHints>(form);
  EXPECT_EQ(HintWindowClass, TKxCustomHintWindow::StaticClass());
  TKxCustomHintWindow* window = Window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->GetBalloonHints(), hints);
  EXPECT_EQ(hints->GetHintWindow(), window);
  EXPECT_TRUE(Application->OnShowHint.IsAssigned());
  EXPECT_EQ(Application->GetHintShortPause(), 50);
  EXPECT_EQ(hints->GetHintShortPause(), 50);
  hints->SetHintPause(300);
  EXPECT_EQ(Application->GetHintPause(), 300);

  hints->Free();
  EXPECT_EQ(HintWindowClass, before);
  ASSERT_NE(Application->GetHintWindow(), nullptr);
  EXPECT_EQ(Application->GetHintWindow()->ClassType(), THintWindow::StaticClass());
  // The freed window's handler is not left with the application.
  EXPECT_FALSE(Application->OnShowHint.IsAssigned());
}

TEST_F(KxBalloonHintsTest, TheSettingsReachTheLiveWindowAndAWindowMadeLater) {
  auto* hints = New<TKxBalloonHints>(form);
  hints->SetCaptionWidth(150);
  hints->SetColor(clYellow);
  hints->SetCorner(hcLowerLeft);
  hints->SetAlignment(taCenter);
  hints->GetFont()->SetSize(12);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "live window" : "window made later");
    TKxCustomHintWindow* window = Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetCaptionWidth(), 150);
    // A new window wears the application's hint colour until it shows a
    // hint (DoShowHint gives it the component's).
    if (round == 0) {
      EXPECT_EQ(window->GetColor(), clYellow);
    }
    EXPECT_EQ(window->GetCorner(), hcLowerLeft);
    EXPECT_EQ(window->GetAlignment(), taCenter);
    EXPECT_EQ(window->GetFont()->GetSize(), 12);
    EXPECT_EQ(window->GetCanvas()->GetFont()->GetSize(), 12);
    EXPECT_EQ(window->GetBitmaps(), hints->GetBitmaps());
    Application->SetShowHint(false);
    Application->SetShowHint(true);
  }
}

TEST_F(KxBalloonHintsTest, DoShowHintGivesTheComponentsColourAndWidthAndRunsItsEvent) {
  auto* hints = New<TKxBalloonHints>(form);
  hints->SetColor(clAqua);
  hints->SetCaptionWidth(120);
  struct TSink : TObject {
    int calls = 0;
    void Show(std::string& s, bool&, THintInfo& info) {
      ++calls;
      EXPECT_EQ(info.HintMaxWidth, 120);
      s = "changed";
    }
  } sink;
  hints->OnShowHint = TShowHintEvent(&sink, &TSink::Show);
  std::string text = "hint";
  bool canShow = false;
  THintInfo info;
  info.HintColor = clRed;
  Application->OnShowHint(text, canShow, info);
  EXPECT_TRUE(canShow);
  EXPECT_EQ(info.HintColor, clAqua);
  EXPECT_EQ(info.HintMaxWidth, 120);
  EXPECT_EQ(sink.calls, 1);
  EXPECT_EQ(text, "changed");
  EXPECT_EQ(Window()->GetColor(), clAqua);
}

TEST_F(KxBalloonHintsTest, TheTextSizesTheWindowNeverNarrowerThan55) {
  New<TKxBalloonHints>(form);
  TKxCustomHintWindow* window = Window();
  window->SetCaption("Hi");
  EXPECT_EQ(window->GetWidth(), 55);
  EXPECT_EQ(window->GetHeight(), Measured(window, "Hi", 100).cy);
  // A long text wraps at CaptionWidth.
  std::string longText = "The manual of this product opens in the viewer configured for the disc";
  window->SetCaption(longText);
  SIZE s = Measured(window, longText, 100);
  EXPECT_LE(s.cx, 100);
  EXPECT_GT(s.cy, Measured(window, "Hi", 100).cy * 2);
  EXPECT_EQ(window->GetWidth(), std::max(55, static_cast<int>(s.cx)));
  EXPECT_EQ(window->GetHeight(), s.cy);
}

struct TActivateCase {
  const char* what;
  bool showBalloon;
  bool shadow;
  TKxHintCorner corner;
  TRect rect;  // as the application gives it
  TKxHintCorner current;
  RECT expected;  // the window on the screen
};

// Without a hint control the anchor is the rectangle's top-left: the first
// showing grows the rectangle by the tail's 28 pixels, then by 2 on every
// side (and 2 for the shadow), and places it by the corner.
TEST_F(KxBalloonHintsTest, ActivationSizesAndPlacesTheBalloonByItsCorner) {
  auto* hints = New<TKxBalloonHints>(form);
  const int screenW = Screen->GetWidth();
  const TActivateCase cases[] = {
      // 60 x 20 -> 64 x 52 with the tail.
      {"upper right", true, false, hcUpperRight, Rect(300, 300, 360, 320), hcUpperRight, {301, 248, 365, 300}},
      {"lower right", true, false, hcLowerRight, Rect(300, 300, 360, 320), hcLowerRight, {301, 300, 365, 352}},
      {"lower left", true, false, hcLowerLeft, Rect(300, 300, 360, 320), hcLowerLeft, {235, 300, 299, 352}},
      {"upper left", true, false, hcUpperLeft, Rect(300, 300, 360, 320), hcUpperLeft, {235, 248, 299, 300}},
      // The shadow: 2 more to the right, and below for a lower corner.
      {"shadow, lower right", true, true, hcLowerRight, Rect(300, 300, 360, 320), hcLowerRight,
       {301, 300, 367, 354}},
      // Near the top an upper balloon turns down; near the right edge a
      // right balloon turns left.
      {"top edge", true, false, hcUpperRight, Rect(300, 10, 360, 30), hcLowerRight, {301, 10, 365, 62}},
      {"right edge", true, false, hcLowerRight, Rect(screenW - 30, 300, screenW + 30, 320), hcLowerLeft,
       {screenW - 95, 300, screenW - 31, 352}},
      // A narrow hint is 55 wide.
      {"narrow", true, false, hcLowerRight, Rect(300, 300, 310, 320), hcLowerRight, {301, 300, 356, 352}},
      // No balloon: a framed rectangle, lower right of the rectangle's
      // corner, without the tail's room and whatever the corner.
      {"no balloon", false, false, hcUpperLeft, Rect(300, 300, 360, 320), hcLowerRight, {299, 298, 363, 322}},
  };
  for (const TActivateCase& c : cases) {
    SCOPED_TRACE(c.what);
    hints->SetShowBalloon(c.showBalloon);
    hints->SetShadow(c.shadow);
    hints->SetCorner(c.corner);
    Application->SetShowHint(false);  // a new window: no previous corner
    Application->SetShowHint(true);
    TKxCustomHintWindow* window = Window();
    window->ActivateHint(c.rect, "hint");
    EXPECT_TRUE(Shown(window));
    EXPECT_TRUE(window->GetActive());
    EXPECT_EQ(window->GetCurrentCorner(), c.current);
    RECT r = WindowRect(window);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
    if (!c.showBalloon) {
      EXPECT_EQ(window->GetCorner(), hcLowerRight);
    }
  }
}

// A point of the balloon's shape and the colour it must have (fill: the
// colour the DIB had before).
struct TShapeProbe {
  int x, y;
  TColor colour;
};

TEST_F(KxBalloonHintsTest, TheBalloonIsDrawnWithItsTailAtTheCurrentCorner) {
  auto* hints = New<TKxBalloonHints>(form);
  hints->SetColor(clInfoBk);
  const TColor fill = 0x00FF00FF;
  // 64 x 52: the body is 32 rows high, the tail 20 rows above or below it.
  for (TKxHintCorner corner : {hcLowerRight, hcLowerLeft, hcUpperLeft, hcUpperRight}) {
    SCOPED_TRACE(GetEnumName(TypeInfo<TKxHintCorner>(), corner));
    hints->SetCorner(corner);
    Application->SetShowHint(false);
    Application->SetShowHint(true);
    TKxCustomHintWindow* window = Window();
    window->ActivateHint(Rect(400, 400, 460, 420), "");
    ASSERT_EQ(window->GetCurrentCorner(), corner);
    const int w = window->GetWidth(), h = window->GetHeight();
    ASSERT_EQ(w, 64);
    ASSERT_EQ(h, 52);
    bool upper = corner == hcUpperLeft || corner == hcUpperRight;
    bool right = corner == hcLowerRight || corner == hcUpperRight;
    // Mirrors a point given for the lower-right balloon.
    auto at = [&](int x, int y, TColor c) {
      return TShapeProbe{right ? x : w - 1 - x, upper ? h - 1 - y : y, c};
    };
    int bodyEdge = 20;  // the body's outline next to the tail
    std::vector<TShapeProbe> probes = {
        at(13, 15, clInfoBk),              // inside the tail
        at(25, 5, fill),                   // beside the tail: not drawn
        at(16, bodyEdge, clInfoBk),        // where the tail joins the body
        at(45, bodyEdge, clInfoText),      // the body's outline elsewhere
        at(2, bodyEdge + 16, clInfoBk),    // inside the body
        at(0, 2, fill),                    // outside everything
    };
    TDib dib(w, h, Rgb(fill));
    window->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
    for (const TShapeProbe& p : probes) {
      SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
      EXPECT_EQ(dib.Pixel(p.x, p.y), Rgb(p.colour));
    }
  }
}

// The window is cut to the balloon: what lies beside the tail and the body
// is not part of it (it showed black under Wine), every pixel drawn is.
TEST_F(KxBalloonHintsTest, TheWindowTakesTheOutlineOfTheBalloonItDraws) {
  auto* hints = New<TKxBalloonHints>(form);
  for (bool shadow : {false, true})
    for (TKxHintCorner corner : {hcLowerRight, hcLowerLeft, hcUpperLeft, hcUpperRight}) {
      SCOPED_TRACE(testing::Message() << GetEnumName(TypeInfo<TKxHintCorner>(), corner) << " shadow " << shadow);
      hints->SetCorner(corner);
      hints->SetShadow(shadow);
      Application->SetShowHint(false);
      Application->SetShowHint(true);
      TKxCustomHintWindow* window = Window();
      window->ActivateHint(Rect(400, 400, 460, 420), "Not on this disc");
      const int w = window->GetWidth(), h = window->GetHeight();
      HRGN shape = CreateRectRgn(0, 0, 0, 0);
      ASSERT_NE(GetWindowRgn(window->GetWindowHandle(), shape), ERROR);
      // Every pixel the balloon paints (on either background) is in the
      // shape, and no other.
      TDib onBlack(w, h, RGB(0, 0, 0)), onWhite(w, h, RGB(255, 255, 255));
      window->Perform(WM_PAINT, reinterpret_cast<WPARAM>(onBlack.DC()), 0);
      window->Perform(WM_PAINT, reinterpret_cast<WPARAM>(onWhite.DC()), 0);
      int drawn = 0, wrong = 0;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const bool painted = onBlack.Pixel(x, y) == onWhite.Pixel(x, y);
          drawn += painted;
          wrong += painted != (PtInRegion(shape, x, y) != FALSE);
        }
      DeleteObject(shape);
      EXPECT_EQ(wrong, 0);
      // The tail's side of the window is mostly outside the balloon.
      EXPECT_GT(drawn, w * h / 2);
      EXPECT_LT(drawn, w * h - 20 * 20);
    }
}

TEST_F(KxBalloonHintsTest, TheShadowLiesRightOfAndBelowTheBody) {
  auto* hints = New<TKxBalloonHints>(form);
  hints->SetShadow(true);
  hints->SetCorner(hcLowerRight);
  TKxCustomHintWindow* window = Window();
  window->ActivateHint(Rect(400, 400, 460, 420), "");
  const int w = window->GetWidth(), h = window->GetHeight();
  TDib dib(w, h, RGB(255, 0, 255));
  window->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
  const int mid = 20 + (h - 20) / 2;
  EXPECT_EQ(dib.Pixel(w - 3, mid), Rgb(clInfoText));  // the body's outline
  EXPECT_EQ(dib.Pixel(w - 2, mid), Rgb(cl3DDkShadow));
  EXPECT_EQ(dib.Pixel(w - 1, mid), Rgb(clBtnShadow));
  EXPECT_EQ(dib.Pixel(w / 2, h - 1), Rgb(clBtnShadow));
}

TEST_F(KxBalloonHintsTest, WithoutTheBalloonAFramedRectangleIsDrawn) {
  auto* hints = New<TKxBalloonHints>(form);
  hints->SetShowBalloon(false);
  hints->SetColor(clWhite);
  TKxCustomHintWindow* window = Window();
  window->ActivateHint(Rect(400, 400, 460, 420), "");
  const int w = window->GetWidth(), h = window->GetHeight();
  TDib dib(w, h, RGB(255, 0, 255));
  window->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
  controls_test::ExpectPixels(dib, {{0, 0, Rgb(clInfoText)},
                                    {w - 1, h - 1, Rgb(clInfoText)},
                                    {w / 2, 0, Rgb(clInfoText)},
                                    {1, h / 2, Rgb(clWhite)}});
}

// A picture of four coloured quadrants, the bottom-right one in the
// transparent colour.
Owned<TBitmap> Quadrants() {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(64, 52);
  TCanvas* c = b->GetCanvas();
  auto fill = [&](int l, int t, int r, int bt, TColor col) {
    c->GetBrush()->SetColor(col);
    c->FillRect(Rect(l, t, r, bt));
  };
  fill(0, 0, 32, 26, clRed);
  fill(32, 0, 64, 26, clBlue);
  fill(0, 26, 32, 52, clLime);
  fill(32, 26, 64, 52, clOlive);
  return b;
}

struct TMirrorCase {
  TKxHintCorner current;
  // The colours seen at the top-left, top-right and bottom-left quadrants.
  TColor topLeft, topRight, bottomLeft;
};

TEST_F(KxBalloonHintsTest, ACornerWithoutItsPictureShowsTheUpperRightOneMirrored) {
  auto* hints = New<TKxBalloonHints>(form);
  Owned<TBitmap> picture = Quadrants();
  hints->GetBitmaps()->SetUpperRight(picture.get());
  const TColor fill = 0x00FF00FF;
  const TMirrorCase cases[] = {
      {hcUpperRight, clRed, clBlue, clLime},
      {hcLowerRight, clLime, fill, clRed},  // upside down
      {hcUpperLeft, clBlue, clRed, fill},   // left to right
      {hcLowerLeft, fill, clLime, clBlue},  // both
  };
  for (const TMirrorCase& c : cases) {
    SCOPED_TRACE(GetEnumName(TypeInfo<TKxHintCorner>(), c.current));
    hints->SetCorner(c.current);
    Application->SetShowHint(false);
    Application->SetShowHint(true);
    TKxCustomHintWindow* window = Window();
    window->ActivateHint(Rect(400, 400, 460, 420), "");
    ASSERT_EQ(window->GetCurrentCorner(), c.current);
    TDib dib(window->GetWidth(), window->GetHeight(), Rgb(fill));
    window->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
    controls_test::ExpectPixels(dib, {{8, 6, Rgb(c.topLeft)}, {56, 6, Rgb(c.topRight)}, {8, 46, Rgb(c.bottomLeft)}});
  }
}

TEST_F(KxBalloonHintsTest, AMouseMoveWithoutAHintControlDoesNothing) {
  New<TKxBalloonHints>(form);
  TKxCustomHintWindow* window = Window();
  window->ActivateHint(Rect(400, 400, 460, 420), "hint");
  window->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(40, 40));
  window->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
  EXPECT_TRUE(window->GetActive());
  EXPECT_TRUE(Shown(window));
}

TEST_F(KxBalloonHintsTest, KeysButtonsAndCommandsEndTheHintButMouseMovesDoNot) {
  New<TKxBalloonHints>(form);
  TKxCustomHintWindow* window = Window();
  const struct {
    UINT msg;
    bool ends;
  } cases[] = {{WM_KEYDOWN, true},       {0x108, true},         {WM_SYSKEYUP, true},     {CM_ACTIVATE, true},
               {CM_DEACTIVATE, true},    {CM_APPKEYDOWN, true}, {CM_APPSYSCOMMAND, true}, {WM_COMMAND, true},
               {WM_LBUTTONDOWN, true},   {WM_MOUSEWHEEL, true}, {WM_MOUSEMOVE, false},   {WM_PAINT, false},
               {WM_NCMOUSEMOVE, false},  {0x109, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.msg);
    MSG m{};
    m.message = c.msg;
    EXPECT_EQ(window->IsHintMsg(m), c.ends);
  }
}

TEST_F(KxBalloonHintsTest, AStoredFormReadsTheRetiredBalloonStyleAndWritesOnlyWhatDiffers) {
  ReadForm("object Form1: TForm\n"
           "  object KxBalloonHints1: TKxBalloonHints\n"
           "    Alignment = taCenter\n"
           "    BalloonStyle = bsShadow\n"
           "    Corner = hcLowerLeft\n"
           "    HintPause = 500\n"
           "    Shadow = True\n"
           "  end\n"
           "end\n",
           form);
  auto* hints = dynamic_cast<TKxBalloonHints*>(form->FindComponent("KxBalloonHints1"));
  ASSERT_NE(hints, nullptr);
  EXPECT_EQ(hints->GetCorner(), hcLowerLeft);
  EXPECT_TRUE(hints->GetShadow());
  EXPECT_EQ(Application->GetHintPause(), 500);
  EXPECT_EQ(Window()->GetBalloonHints(), hints);
  EXPECT_EQ(Window()->GetCorner(), hcLowerLeft);
  EXPECT_EQ(Window()->GetAlignment(), taCenter);

  std::string text = WriteForm(form);
  EXPECT_EQ(text.find("BalloonStyle"), std::string::npos) << text;
  EXPECT_EQ(text.find("CaptionWidth"), std::string::npos) << text;
  EXPECT_EQ(text.find("HintShortPause"), std::string::npos) << text;
  for (const char* line : {"Alignment = taCenter", "Corner = hcLowerLeft", "HintPause = 500", "Shadow = True"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
}

// ---------------------------------------------------------------------------
// The whole road: the application's clock, its timers and the cursor under
// the test's control; the form in front.

class SerialKxBalloonHints : public ::testing::Test {
 protected:
  SerialKxBalloonHints()
      : savedClass_(HintWindowClass),
        tick_(Seams().TickCount, [this] { return now; }),
        setTimer_(Seams().SetTimer, [](HWND, UINT_PTR id, UINT) { return id; }),
        killTimer_(Seams().KillTimer, [](HWND, UINT_PTR) { return TRUE; }),
        cursor_(Seams().GetCursorPos, [this](POINT& p) {
          p = cursor;
          return TRUE;
        }) {}
  ~SerialKxBalloonHints() override { HintWindowClass = savedClass_; }

  void SetUp() override {
    form = New<TForm>(Application, 0);
    form->SetBorderStyle(bsNone);
    form->SetBounds(200, 300, 300, 100);
    hints = New<TKxBalloonHints>(form);
    target = New<TPanel>(form);
    target->SetBounds(20, 20, 200, 50);
    target->SetHint("Opens the manual");
    target->SetShowHint(true);
    target->SetParent(form);
    form->Show();
    SetForegroundWindow(form->GetHandle());
    PumpApplication(2);
  }
  void TearDown() override { FreeAndNil(form); }
  void PointAt(POINT client) {
    cursor = target->ClientToScreen(client);
    PumpApplication(1);
  }
  void Wait(DWORD ms) {
    now += ms;
    PumpApplication(1);
  }
  TKxCustomHintWindow* Window() const { return dynamic_cast<TKxCustomHintWindow*>(Application->GetHintWindow()); }

  DWORD now = 200000;
  POINT cursor{0, 0};
  THintWindowClass savedClass_;
  TFreshApplication app;
  TForm* form = nullptr;
  TKxBalloonHints* hints = nullptr;
  TPanel* target = nullptr;

 private:
  TSeamOverride<decltype(Seams().TickCount)> tick_;
  TSeamOverride<decltype(Seams().SetTimer)> setTimer_;
  TSeamOverride<decltype(Seams().KillTimer)> killTimer_;
  TSeamOverride<decltype(Seams().GetCursorPos)> cursor_;
};

TEST_F(SerialKxBalloonHints, TheBalloonShowsAfterHintPauseAtTheMouseAndHidesAfterHintHidePause) {
  hints->SetHintPause(300);
  PointAt(POINT{50, 25});
  Wait(299);
  TKxCustomHintWindow* window = Window();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(Shown(window));
  Wait(1);
  ASSERT_TRUE(Shown(window));
  EXPECT_EQ(window->GetCaption(), "Opens the manual");
  EXPECT_EQ(window->GetColor(), hints->GetColor());
  EXPECT_EQ(window->GetHintInfo().HintControl, target);
  // Upper right of the mouse: its left edge one pixel right of it, its
  // bottom on it.
  EXPECT_EQ(window->GetCurrentCorner(), hcUpperRight);
  RECT r = WindowRect(window);
  EXPECT_EQ(r.left, cursor.x + 1);
  EXPECT_EQ(r.bottom, cursor.y);

  Wait(static_cast<DWORD>(Application->GetHintHidePause()) - 1);
  EXPECT_TRUE(Shown(window));
  Wait(1);
  EXPECT_FALSE(Shown(window));
}

TEST_F(SerialKxBalloonHints, AMouseMoveOverTheBalloonThreePixelsAwayHidesIt) {
  PointAt(POINT{50, 25});
  Wait(static_cast<DWORD>(Application->GetHintPause()));
  TKxCustomHintWindow* window = Window();
  ASSERT_TRUE(Shown(window));
  // The mouse in the window's coordinates, moved by (dx, dy).
  auto move = [&](int dx, int dy) {
    POINT p{cursor.x + dx, cursor.y + dy};
    ScreenToClient(window->GetWindowHandle(), &p);
    window->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  };
  move(2, -2);
  EXPECT_TRUE(Shown(window));
  EXPECT_TRUE(window->GetActive());
  move(3, -2);
  EXPECT_FALSE(window->GetActive());
  EXPECT_FALSE(Shown(window));
}

TEST_F(SerialKxBalloonHints, AFreedHintControlIsForgotten) {
  PointAt(POINT{50, 25});
  Wait(static_cast<DWORD>(Application->GetHintPause()));
  TKxCustomHintWindow* window = Window();
  ASSERT_EQ(window->GetHintInfo().HintControl, target);
  FreeAndNil(target);
  EXPECT_EQ(window->GetHintInfo().HintControl, nullptr);
  window->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(200, 200));
}

}  // namespace

namespace {

// Every GDI handle the system has taken, but `spare` of them, for the life
// of the object.
class TGdiHandlesTaken {
 public:
  explicit TGdiHandlesTaken(int spare) {
    while (HRGN r = CreateRectRgn(0, 0, 1, 1)) regions_.push_back(r);
    for (int i = 0; i < spare && !regions_.empty(); ++i) {
      DeleteObject(regions_.back());
      regions_.pop_back();
    }
  }
  ~TGdiHandlesTaken() {
    for (HRGN r : regions_) DeleteObject(r);
  }
  TGdiHandlesTaken(const TGdiHandlesTaken&) = delete;
  TGdiHandlesTaken& operator=(const TGdiHandlesTaken&) = delete;

 private:
  std::vector<HRGN> regions_;
};

}  // namespace

// The outline is cut from two pictures of the window. Where GDI refuses
// them (here: no handle left for a picture's section, or for its DC), the
// window is left whole or the refusal raises; a picture without pixels is
// never read.
TEST_F(KxBalloonHintsTest, AShapeWithoutItsPicturesLeavesTheWindowWholeOrRaises) {
  New<TKxBalloonHints>(form);
  Application->SetShowHint(false);
  Application->SetShowHint(true);
  TKxCustomHintWindow* window = Window();
  window->ActivateHint(Rect(400, 400, 460, 420), "hint");
  const HWND h = window->GetWindowHandle();
  int whole = 0;
  for (int spare = 0; spare <= 8; ++spare) {
    SCOPED_TRACE(spare);
    {
      TGdiHandlesTaken taken(spare);
      try {
        window->UpdateShape();
      } catch (const Exception&) {
      }
    }
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    whole += GetWindowRgn(h, shape) == ERROR;
    DeleteObject(shape);
  }
  EXPECT_GT(whole, 0) << "a window without its pictures shows whole";
  window->UpdateShape();
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(h, shape), ERROR) << "cut again once GDI has room";
  DeleteObject(shape);
}
