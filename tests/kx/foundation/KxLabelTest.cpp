// Labels and URL labels: angles and the auto-sized box the turned text must
// land in, drawn with a real TrueType face; arc text; the 3-D styles;
// blinking through the shared list; the fly-by colour; the URL label's shell
// call, visited colour and hand cursor; stored forms.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "kx/foundation/KxLabel.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/GraphicsTestUtil.h"
#include "tests/common/TestSupport.h"

using controls_test::TDib;

namespace {

COLORREF Rgb(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)); }

// The hand cursor is the project's own: 32 x 32, one bit deep, hot spot at
// the tip of the index finger, which is black; the corners show the screen.
TEST(KxHandCursor, TheResourceIsAHandWithItsHotSpotOnTheFingerTip) {
  HCURSOR hand = CreateKxHandCursor();
  ASSERT_NE(hand, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(hand, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 5u);
  EXPECT_EQ(info.yHotspot, 0u);
  BITMAP mask{};
  GetObjectA(info.hbmMask, sizeof mask, &mask);
  // A monochrome cursor: the AND mask over the XOR mask, no colour bitmap.
  EXPECT_EQ(info.hbmColor, nullptr);
  EXPECT_EQ(mask.bmWidth, 32);
  EXPECT_EQ(mask.bmHeight, 64);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, info.hbmMask);
  auto andBit = [&](int x, int y) { return GetPixel(dc, x, y) != 0; };
  auto xorBit = [&](int x, int y) { return GetPixel(dc, x, y + 32) != 0; };
  EXPECT_FALSE(andBit(5, 0));  // the tip: black
  EXPECT_FALSE(xorBit(5, 0));
  EXPECT_FALSE(andBit(5, 3));  // inside the finger: white
  EXPECT_TRUE(xorBit(5, 3));
  EXPECT_TRUE(andBit(0, 0));  // the corners: transparent
  EXPECT_TRUE(andBit(31, 31));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(info.hbmMask);
  DestroyCursor(hand);
}

// The extent of a text in a font, on a screen DC.
SIZE TextSize(TFont* font, const std::string& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->GetHandle());
  SIZE s{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &s);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return s;
}

// Where a painting put ink: the box of the pixels that differ from the
// background, in DIB coordinates (empty when there are none).
RECT InkBox(const TDib& dib, int w, int h, COLORREF background) {
  RECT box{w, h, 0, 0};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (dib.Pixel(x, y) != background) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

int CountColour(const TDib& dib, int w, int h, COLORREF colour) {
  int n = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) n += dib.Pixel(x, y) == colour;
  return n;
}

class KxLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    label = New<TKxLabel>(nullptr);
    label->GetFont()->SetName("Tahoma");  // TrueType: it turns
    label->GetFont()->SetHeight(-16);
    label->GetFont()->SetColor(clBlack);
    label->SetColor(clWhite);
    label->SetCaption("Rotate me");
  }
  void TearDown() override { FreeAndNil(label); }

  // Paints the label into a DIB with a margin of m pixels on every side,
  // filled with background.
  std::unique_ptr<TDib> Paint(int m, COLORREF background) {
    auto dib = std::make_unique<TDib>(label->GetWidth() + 2 * m, label->GetHeight() + 2 * m, background);
    SetViewportOrgEx(dib->DC(), m, m, nullptr);
    label->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib->DC()), 0);
    SetViewportOrgEx(dib->DC(), 0, 0, nullptr);
    return dib;
  }

  TKxLabel* label = nullptr;
};

struct TAngleCase {
  int set;
  int stored;
};

// A turned text's auto-sized box is the box of the turned text: the ink of
// the painting lands inside it (a pixel of anti-aliasing aside) and fills it
// across its longer side. The second and fourth quadrants (100, 270) are
// where a box with width and height swapped would cut the text off.
TEST_F(KxLabelTest, EachAngleIsStoredInRangeAndTheAutoSizedBoxHoldsTheTurnedText) {
  const SIZE text = TextSize(label->GetFont(), "Rotate me");
  const TAngleCase cases[] = {{0, 0},     {45, 45},   {90, 90},   {100, 100}, {180, 180},
                              {270, 270}, {-90, 270}, {-450, 270}, {450, 90}, {360, 0}};
  for (const TAngleCase& c : cases) {
    SCOPED_TRACE(c.set);
    label->SetAngle(0);
    label->SetRotation(roNone);
    label->SetAngle(c.set);
    EXPECT_EQ(label->GetAngle(), c.stored);
    EXPECT_EQ(label->GetRotation(), c.stored == 0 ? roNone : roFlat);
    const double a = c.stored * std::numbers::pi / 180;
    const double cs = std::fabs(std::cos(a)), sn = std::fabs(std::sin(a));
    EXPECT_NEAR(label->GetWidth(), cs * text.cx + sn * text.cy, 1.0);
    EXPECT_NEAR(label->GetHeight(), sn * text.cx + cs * text.cy, 1.0);

    const int m = 20;
    const COLORREF back = RGB(0, 255, 0);
    auto dib = Paint(m, back);
    const int w = label->GetWidth(), h = label->GetHeight();
    RECT ink = InkBox(*dib, w + 2 * m, h + 2 * m, back);
    // The label's white fill is ink too: look at the black text alone.
    RECT textInk{w + 2 * m, h + 2 * m, 0, 0};
    for (int y = 0; y < h + 2 * m; ++y)
      for (int x = 0; x < w + 2 * m; ++x)
        if (dib->Pixel(x, y) == RGB(0, 0, 0)) {
          textInk.left = std::min<LONG>(textInk.left, x);
          textInk.top = std::min<LONG>(textInk.top, y);
          textInk.right = std::max<LONG>(textInk.right, x + 1);
          textInk.bottom = std::max<LONG>(textInk.bottom, y + 1);
        }
    ASSERT_LT(textInk.left, textInk.right) << "no text drawn";
    EXPECT_EQ(ink.left, m);
    EXPECT_EQ(ink.top, m);
    EXPECT_GE(textInk.left, m - 1);
    EXPECT_GE(textInk.top, m - 1);
    EXPECT_LE(textInk.right, m + w + 1);
    EXPECT_LE(textInk.bottom, m + h + 1);
    // The text runs along the label's longer side.
    int inkW = textInk.right - textInk.left, inkH = textInk.bottom - textInk.top;
    if (w > 2 * h) {
      EXPECT_GT(inkW, w / 2);
    }
    if (h > 2 * w) {
      EXPECT_GT(inkH, h / 2);
    }
  }
}

TEST_F(KxLabelTest, AnAngleSwitchesAnUnturnedLabelToFlatAndNoRotationClearsIt) {
  label->SetAngle(45);
  EXPECT_EQ(label->GetRotation(), roFlat);
  label->SetRotation(roNone);
  EXPECT_EQ(label->GetAngle(), 0);
  label->SetRotation(roCurve);
  label->SetAngle(30);
  EXPECT_EQ(label->GetRotation(), roCurve);
  label->SetCenterPoint(cpLowerLeft);
  label->SetRotation(roFlat);
  EXPECT_EQ(label->GetAngle(), 0);
  EXPECT_EQ(label->GetCenterPoint(), cpCenter);
}

TEST_F(KxLabelTest, OnlyTrueTypeTurnsABitmapFontBecomesVerdanaAndBackResetsTheAngle) {
  label->GetFont()->SetName("MS Sans Serif");  // a bitmap face with Wine's fonts
  ASSERT_FALSE(IsTrueTypeFont(label->GetFont()));
  label->SetAngle(45);
  EXPECT_EQ(label->GetFont()->GetName(), "Verdana");
  EXPECT_EQ(label->GetAngle(), 45);
  label->GetFont()->SetName("MS Sans Serif");
  EXPECT_EQ(label->GetAngle(), 0);
}

struct TBorderCase {
  const char* what;
  TFrameStyleEx outer, inner;
  int borderWidth, bevelWidth;
  TSides sides;
  TTextStyle style;
  int dw, dh;  // growth of the auto-sized box
};

TEST_F(KxLabelTest, AutoSizeMakesRoomForBordersAndTheShadow) {
  const SIZE text = TextSize(label->GetFont(), "Rotate me");
  const TBorderCase cases[] = {
      {"nothing", fsNone, fsNone, 0, 1, sdAllSides, tsNormal, 0, 0},
      {"flat", fsFlat, fsNone, 0, 1, sdAllSides, tsNormal, 2, 2},
      {"lowered and flat", fsLowered, fsFlat, 0, 1, sdAllSides, tsNormal, 6, 6},
      {"border width", fsNone, fsNone, 3, 1, sdAllSides, tsNormal, 6, 6},
      {"status, bevel 3", fsStatus, fsNone, 0, 3, sdAllSides, tsNormal, 6, 6},
      {"raised, left side", fsRaised, fsNone, 0, 1, TSides{sdLeft}, tsNormal, 2, 0},
      {"groove, top and bottom", fsGroove, fsNone, 0, 1, TSides{sdTop, sdBottom}, tsNormal, 0, 4},
      {"shadow of depth 2", fsNone, fsNone, 0, 1, sdAllSides, tsShadow, 2, 2},
  };
  for (const TBorderCase& c : cases) {
    SCOPED_TRACE(c.what);
    label->SetBorderOuter(c.outer);
    label->SetBorderInner(c.inner);
    label->SetBorderWidth(c.borderWidth);
    label->SetBevelWidth(c.bevelWidth);
    label->SetBorderSides(c.sides);
    label->SetTextStyle(c.style);
    label->AdjustBounds();
    EXPECT_EQ(label->GetWidth(), text.cx + c.dw);
    EXPECT_EQ(label->GetHeight(), text.cy + c.dh);
  }
}

TEST_F(KxLabelTest, CondensingTurnsAutoSizeOffAndEndsTheCaptionWithAnEllipsis) {
  label->SetCondenseCaption(ccAtEnd);
  EXPECT_FALSE(label->GetAutoSize());
  label->SetCaption("A caption far too long for its label");
  label->SetBounds(0, 0, 60, 20);
  auto dib = Paint(0, RGB(0, 255, 0));
  // The text stops short of the right edge: the ellipsis, not a cut word.
  RECT ink{60, 20, 0, 0};
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x)
      if (dib->Pixel(x, y) == RGB(0, 0, 0)) ink.right = std::max<LONG>(ink.right, x + 1);
  EXPECT_GT(ink.right, 30);
  EXPECT_LE(ink.right, 60);
}

struct TStyleCase {
  const char* what;
  TTextStyle style;
  bool light;
  bool enabled;
  // Which colours must show: text (black), highlight (white 1), shadow.
  bool text, highlight, shadow;
};

TEST_F(KxLabelTest, TheTextStylesDrawTheirLayers) {
  const TColor highlight = clYellow, shadow = clBlue;
  label->SetHighlightColor(highlight);
  label->SetShadowColor(shadow);
  label->SetColor(clWhite);
  const TStyleCase cases[] = {
      {"normal", tsNormal, false, true, true, false, false},
      {"raised", tsRaised, false, true, true, true, true},
      {"raised, light", tsRaised, true, true, true, true, false},
      {"recessed", tsRecessed, false, true, true, true, true},
      {"recessed, light", tsRecessed, true, true, true, true, false},
      {"shadow", tsShadow, false, true, true, false, true},
  };
  for (const TStyleCase& c : cases) {
    SCOPED_TRACE(c.what);
    label->SetTextStyle(c.style);
    label->SetLightTextStyle(c.light);
    label->SetEnabled(c.enabled);
    auto dib = Paint(0, RGB(0, 255, 0));
    int w = label->GetWidth(), h = label->GetHeight();
    EXPECT_EQ(CountColour(*dib, w, h, RGB(0, 0, 0)) > 0, c.text);
    EXPECT_EQ(CountColour(*dib, w, h, Rgb(highlight)) > 0, c.highlight);
    EXPECT_EQ(CountColour(*dib, w, h, Rgb(shadow)) > 0, c.shadow);
  }
  // Disabled: embossed in the system's colours, whatever the style.
  label->SetTextStyle(tsRaised);
  label->SetEnabled(false);
  auto dib = Paint(0, RGB(0, 255, 0));
  int w = label->GetWidth(), h = label->GetHeight();
  EXPECT_GT(CountColour(*dib, w, h, Rgb(clBtnShadow)), 0);
  EXPECT_EQ(CountColour(*dib, w, h, Rgb(shadow)), 0);
}

TEST_F(KxLabelTest, ArcTextDrawsInsideTheLabelAndLeaksNoFont) {
  label->SetAutoSize(false);
  label->SetRotation(roCurve);
  label->SetBounds(0, 0, 120, 120);
  label->SetCaption("Around the arc");
  label->SetAngle(60);
  const int m = 10;
  auto first = Paint(m, RGB(0, 255, 0));
  RECT ink = InkBox(*first, 140, 140, RGB(0, 255, 0));
  EXPECT_EQ(ink.left, m);
  EXPECT_EQ(ink.right, m + 120);
  EXPECT_GT(CountColour(*first, 140, 140, RGB(0, 0, 0)), 30);

  const int before = graphics_test::GdiObjectCount();
  for (int i = 0; i < 60; ++i) Paint(0, RGB(0, 255, 0));
  EXPECT_EQ(graphics_test::GdiObjectCount(), before);
}

// A label too small for its radius: a radius of 0 or less draws no text (no
// division by a zero radius); a radius shorter than the text's height draws
// nothing outside the label.
TEST_F(KxLabelTest, ArcTextOnALabelTooSmallForItsRadiusDrawsNothingOutside) {
  label->SetAutoSize(false);
  label->SetRotation(roCurve);
  label->SetCaption("Arc");
  const struct {
    int size, borderWidth;
    bool text;
  } cases[] = {{1, 0, false}, {12, 3, false}, {6, 3, false}, {30, 0, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size << " x " << c.size << ", border " << c.borderWidth);
    label->SetBorderWidth(c.borderWidth);
    label->SetBounds(0, 0, c.size, c.size);
    const int m = 30, side = c.size + 2 * m;
    auto dib = Paint(m, RGB(0, 255, 0));
    RECT text{side, side, 0, 0};
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x)
        if (dib->Pixel(x, y) == RGB(0, 0, 0)) {
          text.left = std::min<LONG>(text.left, x);
          text.top = std::min<LONG>(text.top, y);
          text.right = std::max<LONG>(text.right, x + 1);
          text.bottom = std::max<LONG>(text.bottom, y + 1);
        }
    if (!c.text) {
      EXPECT_GE(text.left, text.right) << "text drawn";
      continue;
    }
    ASSERT_LT(text.left, text.right) << "no text drawn";
    EXPECT_GE(text.left, m);
    EXPECT_GE(text.top, m);
    EXPECT_LE(text.right, m + c.size);
    EXPECT_LE(text.bottom, m + c.size);
  }
}

TEST_F(KxLabelTest, BlinkingFollowsTheSharedListsTicks) {
  Owned<TKxLabel> other(New<TKxLabel>(nullptr));
  label->SetBlinkColor(clRed);
  label->SetBlinking(true);
  EXPECT_EQ(label->Perform(CM_GETBLINKING, 0, 0), 1);
  EXPECT_EQ(other->Perform(CM_GETBLINKING, 0, 0), 0);
  TKxBlinkingControlsList* list = FindBlinkingControlsList();
  ASSERT_NE(list, nullptr);
  TColor otherColour = other->GetCurrentTextColor();
  // bsOff shows the blink colour, bsOn the normal one; a label that does not
  // blink is not told.
  for (TBlinkState expected : {bsOn, bsOff, bsOn}) {
    list->TimerFired(nullptr);
    ASSERT_EQ(list->GetBlinkState(), expected);
    EXPECT_EQ(label->GetCurrentTextColor(), expected == bsOff ? clRed : clBlack);
    EXPECT_EQ(other->GetCurrentTextColor(), otherColour);
  }
  list->TimerFired(nullptr);
  EXPECT_EQ(label->GetCurrentTextColor(), clRed);
  label->SetBlinking(false);
  EXPECT_EQ(label->GetCurrentTextColor(), clBlack);
  // The intervals are the list's, the same for every label.
  label->SetBlinkIntervalOn(300);
  EXPECT_EQ(other->GetBlinkIntervalOn(), 300);
  label->SetBlinkIntervalOn(500);
}

TEST_F(KxLabelTest, TheBlinkListGoesWithTheLastLabel) {
  ASSERT_NE(FindBlinkingControlsList(), nullptr);
  FreeAndNil(label);
  EXPECT_EQ(FindBlinkingControlsList(), nullptr);
}

TEST_F(KxLabelTest, TheFlyByColourShowsWhileTheMouseIsOver) {
  struct TSink : TObject {
    std::vector<std::string> seen;
    void Enter(TObject*) { seen.push_back("enter"); }
    void Leave(TObject*) { seen.push_back("leave"); }
  } sink;
  label->OnMouseEnter = TNotifyEvent(&sink, &TSink::Enter);
  label->OnMouseLeave = TNotifyEvent(&sink, &TSink::Leave);
  label->SetFlyByColor(clRed);
  label->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(label->GetFont()->GetColor(), clBlack) << "not enabled";
  label->Perform(CM_MOUSELEAVE, 0, 0);
  label->SetFlyByEnabled(true);
  label->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(label->GetFont()->GetColor(), clRed);
  EXPECT_EQ(label->GetCurrentTextColor(), clRed);
  label->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(label->GetFont()->GetColor(), clBlack);
  // Turned off while shown: the font's colour comes back.
  label->Perform(CM_MOUSEENTER, 0, 0);
  label->SetFlyByEnabled(false);
  EXPECT_EQ(label->GetFont()->GetColor(), clBlack);
  EXPECT_EQ(sink.seen, (std::vector<std::string>{"enter", "leave", "enter", "leave", "enter"}));
}

TEST_F(KxLabelTest, TheFrameControllersLookIsTakenWhileItsFrameShows) {
  Owned<TKxFrameController> controller(New<TKxFrameController>(nullptr));
  controller->SetFrameStyle(fsFlat);
  controller->SetFrameSides(TSides{sdTop, sdBottom});
  controller->SetFrameColor(clRed);
  controller->SetColor(clYellow);
  label->SetFrameController(controller.get());
  EXPECT_EQ(label->GetBorderOuter(), fsNone) << "the frame is not visible";
  controller->SetFrameVisible(true);
  EXPECT_EQ(label->GetBorderOuter(), fsFlat);
  EXPECT_EQ(label->GetBorderSides(), (TSides{sdTop, sdBottom}));
  EXPECT_EQ(label->GetFlatColor(), clRed);
  EXPECT_EQ(label->GetFlatColorAdjustment(), 0);
  EXPECT_EQ(label->GetColor(), clYellow);
  EXPECT_EQ(label->GetBorderHighlight(), LighterColor(clYellow, 100));
  EXPECT_EQ(label->GetBorderShadow(), DarkerColor(clYellow, 50));
  controller.reset();
  EXPECT_EQ(label->GetFrameController(), nullptr);
}

TEST_F(KxLabelTest, AStoredFormKeepsTheAngleWhateverTheOrderAndDropsFrameSides) {
  for (const char* order : {"    Angle = 45\n    Rotation = roFlat\n", "    Rotation = roFlat\n    Angle = 45\n"}) {
    SCOPED_TRACE(order);
    Owned<TForm> form(New<TForm>(nullptr, 0));
    ReadForm(std::string("object Form1: TForm\n"
                         "  object KxLabel1: TKxLabel\n"
                         "    Caption = 'Stored'\n"
                         "    Font.Name = 'Tahoma'\n"
                         "    FrameSides = [sdLeft, sdTop]\n") +
                 order + "  end\nend\n",
             form.get());
    auto* stored = dynamic_cast<TKxLabel*>(form->FindComponent("KxLabel1"));
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->GetAngle(), 45);
    EXPECT_EQ(stored->GetRotation(), roFlat);
    std::string text = WriteForm(form.get());
    EXPECT_EQ(text.find("FrameSides"), std::string::npos) << text;
    EXPECT_NE(text.find("Angle = 45"), std::string::npos) << text;
    EXPECT_EQ(text.find("ShadowDepth"), std::string::npos) << text;
  }
}

// ---------------------------------------------------------------------------
// URL label

// What the shell seam was asked, and the process handle it gave back.
struct TShellCall {
  int calls = 0;
  std::string verb, file;
  ULONG mask = 0;
  HWND window = reinterpret_cast<HWND>(1);
  int show = 0;
  DWORD size = 0;
  HANDLE process = nullptr;
};

class KxURLLabelTest : public ::testing::Test {
 protected:
  KxURLLabelTest()
      : shell_(Seams().ShellExecuteEx,
               [this](SHELLEXECUTEINFOA* info) {
                 ++call.calls;
                 call.verb = info->lpVerb ? info->lpVerb : "";
                 call.file = info->lpFile ? info->lpFile : "";
                 call.mask = info->fMask;
                 call.window = info->hwnd;
                 call.show = info->nShow;
                 call.size = info->cbSize;
                 if (!succeed) return FALSE;
                 // A real handle, to see whether the label closes it.
                 call.process = CreateEventA(nullptr, TRUE, FALSE, nullptr);
                 info->hProcess = call.process;
                 return TRUE;
               }),
        winExec_(Seams().WinExec, [this](const char* line, UINT show) {
          winExecs.push_back(line);
          winExecShow = show;
          return 33u;
        }) {}
  void SetUp() override { label = New<TKxURLLabel>(nullptr); }
  void TearDown() override {
    FreeAndNil(label);
    if (call.process && HandleOpen(call.process)) CloseHandle(call.process);
  }
  static bool HandleOpen(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != 0;
  }

  TKxURLLabel* label = nullptr;
  TShellCall call;
  bool succeed = true;
  std::vector<std::string> winExecs;
  UINT winExecShow = 0;

 private:
  TSeamOverride<decltype(Seams().ShellExecuteEx)> shell_;
  TSeamOverride<decltype(Seams().WinExec)> winExec_;
};

TEST_F(KxURLLabelTest, AClickOpensTheURLThroughTheShellClosesTheProcessAndTurnsVisited) {
  label->SetURL("http://www.example.com/support");
  EXPECT_EQ(label->GetFont()->GetColor(), clHighlight);
  EXPECT_TRUE(label->GetFont()->GetStyle().Contains(fsUnderline));
  label->Click();
  ASSERT_EQ(call.calls, 1);
  EXPECT_EQ(call.verb, "Open");
  EXPECT_EQ(call.file, "http://www.example.com/support");
  EXPECT_EQ(call.mask, static_cast<ULONG>(0x540));
  EXPECT_EQ(call.window, nullptr);
  EXPECT_EQ(call.show, SW_SHOWNORMAL);
  EXPECT_EQ(call.size, sizeof(SHELLEXECUTEINFOA));
  EXPECT_FALSE(HandleOpen(call.process)) << "the process handle is left open";
  EXPECT_TRUE(label->GetVisited());
  EXPECT_EQ(label->GetFont()->GetColor(), label->GetVisitedColor());
  EXPECT_EQ(label->GetVisitedColor(), static_cast<TColor>(0x800080));
}

struct TTargetCase {
  const char* what;
  const char* url;
  const char* caption;
  const char* file;  // null: no call
};

TEST_F(KxURLLabelTest, TheTargetIsTheURLOrTheCaptionUntrimmed) {
  const TTargetCase cases[] = {
      {"URL", "http://a.example/", "Caption", "http://a.example/"},
      {"URL with blanks", " http://a.example/ ", "", " http://a.example/ "},
      {"empty URL", "", "http://caption.example/", "http://caption.example/"},
      {"blank URL", "   ", "http://caption.example/", "http://caption.example/"},
      {"blank URL, empty caption", "   ", "", nullptr},
      {"blank URL, blank caption", "", "  ", nullptr},
  };
  for (const TTargetCase& c : cases) {
    SCOPED_TRACE(c.what);
    call = TShellCall{};
    label->SetURL(c.url);
    label->SetCaption(c.caption);
    label->Click();
    if (c.file) {
      ASSERT_EQ(call.calls, 1);
      EXPECT_EQ(call.file, c.file);
      CloseHandle(call.process);
      call.process = nullptr;
    } else {
      EXPECT_EQ(call.calls, 0);
    }
  }
}

TEST_F(KxURLLabelTest, AFailedHtmPageStartsTheOpenWithDialogAndStaysUnvisited) {
  succeed = false;
  const struct {
    const char* url;
    bool openWith;
  } cases[] = {{"C:\\Disc\\Docs\\index.htm", true}, {"index.HTM", true}, {"index.html", false}, {"manual.pdf", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    winExecs.clear();
    label->SetURL(c.url);
    label->Click();
    EXPECT_FALSE(label->GetVisited());
    EXPECT_EQ(label->GetFont()->GetColor(), clHighlight);
    if (c.openWith) {
      EXPECT_EQ(winExecs, std::vector<std::string>{"RunDLL32.exe Shell32.dll,OpenAs_RunDLL *.htm"});
      EXPECT_EQ(winExecShow, static_cast<UINT>(SW_SHOWNORMAL));
    } else {
      EXPECT_TRUE(winExecs.empty());
    }
  }
}

TEST_F(KxURLLabelTest, TheColourFollowsVisitedAndSurvivesTheFlyByColour) {
  label->SetUnvisitedColor(clNavy);
  EXPECT_EQ(label->GetFont()->GetColor(), clNavy);
  label->SetVisitedColor(clMaroon);
  EXPECT_EQ(label->GetFont()->GetColor(), clNavy);
  label->SetVisited(true);
  EXPECT_EQ(label->GetFont()->GetColor(), clMaroon);
  label->SetVisited(false);

  // Clicked while the mouse is over it: the visited colour, not the colour
  // from before the mouse came, shows when the mouse leaves.
  label->SetURL("http://www.example.com/");
  label->SetFlyByEnabled(true);
  label->SetFlyByColor(clRed);
  label->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(label->GetFont()->GetColor(), clRed);
  label->Click();
  EXPECT_EQ(label->GetFont()->GetColor(), clRed);
  label->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(label->GetFont()->GetColor(), clMaroon);
}

TEST_F(KxURLLabelTest, TheHandCursorIsTheScreensCursor26000) {
  EXPECT_EQ(label->GetCursor(), crKxHand);
  EXPECT_EQ(crKxHand, 26000);
  // Not Windows 95 or NT 4: the system's own hand.
  EXPECT_EQ(Screen->GetCursors(crKxHand), LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));
  // Written only when it differs from 26000.
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* url = New<TKxURLLabel>(form.get());
  url->SetName("Link");
  url->SetParent(form.get());
  std::string text = WriteForm(form.get());
  EXPECT_EQ(text.find("Cursor"), std::string::npos) << text;
  url->SetCursor(crDefault);
  text = WriteForm(form.get());
  EXPECT_NE(text.find("Cursor = crDefault"), std::string::npos) << text;
}

}  // namespace
