// The control button (faces, arrows, glyph, auto-repeat through the timer
// seam) and the shape button (bevel rings, hit test, stored images).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "classlib/Seams.h"
#include "kx/controls/KxButton.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

namespace {

// Window timers recorded instead of set: a test fires one by sending
// WM_TIMER to the window it was set on.
class TTimerLog {
 public:
  TTimerLog()
      : set_(Seams().SetTimer,
             [this](HWND w, UINT_PTR id, UINT interval) {
               Window = w;
               Id = id;
               Intervals.push_back(interval);
               Running = true;
               return id;
             }),
        kill_(Seams().KillTimer, [this](HWND, UINT_PTR) {
          Running = false;
          return TRUE;
        }) {}
  void Fire() { SendMessageA(Window, WM_TIMER, Id, 0); }

  HWND Window = nullptr;
  UINT_PTR Id = 0;
  std::vector<UINT> Intervals;
  bool Running = false;

 private:
  TSeamOverride<std::function<UINT_PTR(HWND, UINT_PTR, UINT)>> set_;
  TSeamOverride<std::function<BOOL(HWND, UINT_PTR)>> kill_;
};

TEST(KxControlButtonRepeat, HeldDownItClicksAfterTheInitialDelayThenEveryDelay) {
  struct Case {
    const char* Name;
    POINT Release;
    int ClicksAtEnd;
  };
  for (Case c : {Case{"released inside", {5, 5}, 3}, Case{"released outside", {60, 5}, 2}}) {
    SCOPED_TRACE(c.Name);
    TTimerLog timers;
    TControlHost host;
    host.Panel()->HandleNeeded();
    auto* b = host.Add<TKxControlButton>(10, 10, 17, 21);
    b->SetRepeatClicks(true);
    TEventCounter clicks;
    b->OnClick = clicks.Event();
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_TRUE(timers.Running);
    EXPECT_EQ(timers.Intervals.back(), 400u);
    EXPECT_EQ(clicks.Count, 0) << "nothing before the first tick";
    timers.Fire();
    EXPECT_EQ(clicks.Count, 1);
    EXPECT_EQ(timers.Intervals.back(), 100u) << "then every Delay";
    timers.Fire();
    EXPECT_EQ(clicks.Count, 2);
    b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(c.Release.x, c.Release.y));
    EXPECT_FALSE(timers.Running) << "a release stops the repeat";
    EXPECT_EQ(clicks.Count, c.ClicksAtEnd);
    EXPECT_FALSE(b->GetDown());
  }
}

TEST(KxControlButtonRepeat, WithoutRepeatClicksOnlyTheReleaseClicks) {
  TTimerLog timers;
  TControlHost host;
  auto* b = host.Add<TKxControlButton>(10, 10, 17, 21);
  TEventCounter clicks;
  b->OnClick = clicks.Event();
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(b->GetDown());
  EXPECT_EQ(b->GetRepeatTimer(), nullptr);
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks.Count, 1);
}

// The button's image in a state: up, under the mouse, or pressed.
enum TLook { lkUp, lkHot, lkDown };

struct TShot {
  std::vector<COLORREF> Pixels;
  bool operator==(const TShot& o) const { return Pixels == o.Pixels; }
};

TShot Shoot(TKxControlButton* b, TLook look) {
  if (look == lkHot) b->Perform(CM_MOUSEENTER, 0, 0);
  if (look == lkDown) b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  TDib dib(b->GetWidth(), b->GetHeight(), RGB(1, 2, 3));
  PaintControl(b, dib);
  if (look == lkDown) b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(500, 3));
  b->Perform(CM_MOUSELEAVE, 0, 0);
  TShot s;
  for (int y = 0; y < b->GetHeight(); ++y)
    for (int x = 0; x < b->GetWidth(); ++x) s.Pixels.push_back(dib.Pixel(x, y));
  return s;
}

TEST(KxControlButtonPaint, EveryStyleShowsItsStatesThemedAndClassic) {
  for (bool themed : {true, false}) {
    std::unique_ptr<TThemesOff> off;
    if (!themed) off = std::make_unique<TThemesOff>();
    for (TKxControlButtonStyle style : {cbsNone, cbsLeft, cbsUp, cbsRight, cbsDown, cbsDropDown})
      for (bool flat : {false, true}) {
        SCOPED_TRACE(testing::Message() << (themed ? "themed" : "classic") << " style " << style << " flat "
                                        << flat);
        TControlHost host(clRed);
        host.Panel()->HandleNeeded();
        auto* b = host.Add<TKxControlButton>(10, 10, 17, 21);
        b->SetStyle(style);
        b->SetFlat(flat);
        b->SetColor(clYellow);
        TShot up = Shoot(b, lkUp), hot = Shoot(b, lkHot), down = Shoot(b, lkDown);
        EXPECT_FALSE(up == down) << "pressed differs";
        if (themed || flat) {
          EXPECT_FALSE(up == hot) << "the hot look shows";
        }
        if (flat) {
          // A flat face at rest is its colour (with the arrow on it).
          EXPECT_EQ(up.Pixels[1], Shown(clYellow));
        }
        // The arrow styles draw an arrow on the face.
        if (style != cbsNone) {
          b->SetStyle(cbsNone);
          EXPECT_FALSE(Shoot(b, lkUp) == up) << "the arrow shows";
        }
      }
  }
}

TEST(KxControlButtonPaint, TheGlyphIsCentredAndItsSecondCellShowsWhenDisabled) {
  TThemesOff themesOff;
  TControlHost host;
  auto* b = host.Add<TKxControlButton>(0, 0, 21, 21);
  Owned<TBitmap> g = BitmapFromText({"RRRRGGGG", "RRRRGGGG", "RRRRGGGG", "oRRRGGGG"},
                                    {{'R', clRed}, {'G', clLime}, {'o', clOlive}});
  b->SetGlyph(g.get());
  EXPECT_EQ(b->GetNumGlyphs(), 2);
  for (bool enabled : {true, false}) {
    SCOPED_TRACE(enabled);
    b->SetEnabled(enabled);
    TDib dib(21, 21, RGB(1, 2, 3));
    PaintControl(b, dib);
    TRect box = ColourBox(dib, Shown(enabled ? clRed : clLime), TRect{0, 0, 21, 21});
    EXPECT_EQ(box, (TRect{8, 8, 12, 12})) << "4 x 4 in the middle of the face";
  }
}

// --- shape button --------------------------------------------------------------------------

constexpr TColor kKey = clFuchsia;

// An 11 x 11 picture on the key colour with a 3 x 3 square in the middle.
Owned<TBitmap> Square() {
  std::vector<std::string> rows(11, std::string(11, '.'));
  for (int y = 4; y < 7; ++y) rows[y].replace(4, 3, "###");
  return BitmapFromText(rows, {{'.', kKey}, {'#', clBlack}});
}

class KxShapeButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.Panel()->HandleNeeded();
    button = host.Add<TKxShapeButton>(20, 20, 80, 80);
    button->SetBevelHighlightColor(clRed);
    button->SetBevelShadowColor(clBlue);
    button->SetBorderColor(clLime);
  }
  COLORREF Up(int x, int y) { return static_cast<COLORREF>(ColorToRGB(button->GetBitmapUp()->GetCanvas()->GetPixels(x, y))); }
  COLORREF Down(int x, int y) {
    return static_cast<COLORREF>(ColorToRGB(button->GetBitmapDown()->GetCanvas()->GetPixels(x, y)));
  }

  TControlHost host;
  TKxShapeButton* button = nullptr;
};

TEST_F(KxShapeButtonTest, BevelRingsAroundTheShapeWithABorderRingOutside) {
  button->SetBitmap(Square().get());
  EXPECT_EQ(button->GetWidth(), 15) << "auto size: the bitmap and 4";
  EXPECT_EQ(button->GetHeight(), 15);
  COLORREF red = Shown(clRed), blue = Shown(clBlue), lime = Shown(clLime), key = Shown(kKey);
  // Along the middle row, left to right: border, two highlight rings, the
  // square, two shadow rings, border.
  std::vector<COLORREF> row, column;
  for (int x = 1; x < 10; ++x) row.push_back(Up(x, 5));
  for (int y = 1; y < 10; ++y) column.push_back(Up(5, y));
  std::vector<COLORREF> expect{lime, red, red, 0, 0, 0, blue, blue, lime};
  EXPECT_EQ(row, expect);
  EXPECT_EQ(column, expect);
  EXPECT_EQ(Up(0, 5), key) << "nothing past the rings";
  // Pressed: the light and dark sides swap and the outer ring has no lower
  // right side.
  std::vector<COLORREF> pressed;
  for (int x = 1; x < 10; ++x) pressed.push_back(Down(x, 5));
  EXPECT_EQ(pressed, (std::vector<COLORREF>{lime, blue, blue, 0, 0, 0, red, red, key}));

  button->SetBorderStyle(bsNone);
  EXPECT_EQ(Up(1, 5), key) << "two rings without the border";
  EXPECT_EQ(Up(2, 5), red);
  button->SetBevelWidth(5);
  EXPECT_EQ(button->GetBevelWidth(), 2);
  button->SetBevelWidth(0);
  EXPECT_EQ(Up(3, 5), key) << "no rings at all";
}

TEST_F(KxShapeButtonTest, AHighlightInTheTransparentColourIsMovedOffIt) {
  button->SetBevelHighlightColor(kKey);
  button->SetBorderStyle(bsNone);
  button->SetBitmap(Square().get());
  EXPECT_EQ(Up(3, 5), Shown(DarkerColor(kKey, 1)));
}

TEST_F(KxShapeButtonTest, OutsideTheShapeTheMouseReachesTheControlBeneath) {
  auto* beneath = host.Add<TKxControlButton>(20, 20, 15, 15);
  beneath->SendToBack();
  button->SetBitmap(Square().get());
  TEventCounter shapeClicks, beneathClicks;
  button->OnClick = shapeClicks.Event();
  beneath->OnClick = beneathClicks.Event();
  struct Case {
    const char* Name;
    POINT At;  // in the shape button
    bool Shape;
  };
  for (Case c : {Case{"the square", {5, 5}, true}, Case{"a ring", {2, 5}, true}, Case{"a corner", {0, 0}, false},
                 Case{"past the bitmap", {13, 13}, false}}) {
    SCOPED_TRACE(c.Name);
    int s = shapeClicks.Count, b = beneathClicks.Count;
    LPARAM at = MAKELPARAM(20 + c.At.x, 20 + c.At.y);
    host.Panel()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
    host.Panel()->Perform(WM_LBUTTONUP, 0, at);
    EXPECT_EQ(shapeClicks.Count - s, c.Shape ? 1 : 0);
    EXPECT_EQ(beneathClicks.Count - b, c.Shape ? 0 : 1);
  }
}

TEST_F(KxShapeButtonTest, PressedItShowsThePressedImageMovedByOne) {
  button->SetBorderStyle(bsNone);
  button->SetBitmap(Square().get());
  button->SetCaption("");
  TDib up(15, 15, RGB(1, 2, 3)), down(15, 15, RGB(1, 2, 3));
  PaintControl(button, up);
  button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(button->GetState(), bsDown);
  PaintControl(button, down);
  button->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(0, 0));
  EXPECT_EQ(button->GetState(), bsUp) << "off the shape";
  button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(0, 0));
  EXPECT_EQ(up.Pixel(0, 0), RGB(1, 2, 3)) << "the background shows through";
  EXPECT_EQ(up.Pixel(5, 5), RGB(0, 0, 0));
  EXPECT_EQ(up.Pixel(3, 5), Shown(clRed));
  EXPECT_EQ(down.Pixel(4, 6), Shown(clBlue)) << "the pressed image's ring, one pixel on";
  EXPECT_EQ(down.Pixel(7, 7), RGB(0, 0, 0));
}

TEST_F(KxShapeButtonTest, TheImagesTravelWithTheFormAndGoWithTheBitmap) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* b = New<TKxShapeButton>(form.get());
  b->SetParent(form.get());
  b->SetName("Shape1");
  b->SetBitmap(Square().get());
  std::string text = WriteForm(form.get());
  EXPECT_NE(text.find("BitmapUp = {"), std::string::npos) << text;
  EXPECT_NE(text.find("BitmapDown = {"), std::string::npos);
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* c = dynamic_cast<TKxShapeButton*>(copy->FindComponent("Shape1"));
  ASSERT_NE(c, nullptr);
  for (int x = 0; x < 11; ++x)
    EXPECT_EQ(c->GetBitmapUp()->GetCanvas()->GetPixels(x, 5), b->GetBitmapUp()->GetCanvas()->GetPixels(x, 5));
  EXPECT_TRUE(c->MaskHit(2, 5)) << "a ring is hit";
  EXPECT_FALSE(c->MaskHit(0, 0));

  b->SetBitmap(nullptr);
  EXPECT_TRUE(b->GetBitmapUp()->GetEmpty());
  EXPECT_TRUE(b->GetBitmapDown()->GetEmpty());
  std::string cleared = WriteForm(form.get());
  EXPECT_EQ(cleared.find("BitmapUp"), std::string::npos);
  EXPECT_EQ(cleared.find("BitmapDown"), std::string::npos);
  EXPECT_TRUE(b->MaskHit(0, 0)) << "no mask: hit everywhere";
}

TEST_F(KxShapeButtonTest, SettingACaptionPlaceMovesTheCaptionThere) {
  EXPECT_EQ(button->GetCaptionPosition(), cpCentered);
  button->SetCaptionX(0);
  EXPECT_EQ(button->GetCaptionPosition(), cpCentered) << "no change, no switch";
  button->SetCaptionY(7);
  EXPECT_EQ(button->GetCaptionPosition(), cpXY);
  button->SetCaption("Go");
  TRect r = button->GetCaptionRect(button->GetCanvas());
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 7);
}

TEST(KxCopyPalette, CopiesEntriesAndRefusesWhatIsNoPalette) {
  EXPECT_EQ(KxCopyPalette(nullptr), nullptr);
  struct {
    LOGPALETTE head;
    PALETTEENTRY more[1];
  } log{{0x300, 2, {{10, 20, 30, 0}}}, {{40, 50, 60, 0}}};
  HPALETTE p = CreatePalette(&log.head);
  HPALETTE copy = KxCopyPalette(p);
  ASSERT_NE(copy, nullptr);
  PALETTEENTRY e[2]{};
  EXPECT_EQ(GetPaletteEntries(copy, 0, 2, e), 2u);
  EXPECT_EQ(e[1].peGreen, 50);
  DeleteObject(copy);
  DeleteObject(p);
  EXPECT_EQ(MessageOf<EInvalidGraphic>([] { KxCopyPalette(reinterpret_cast<HPALETTE>(GetStockObject(WHITE_BRUSH))); }),
            "Invalid palette in CopyPalette");
}

}  // namespace
