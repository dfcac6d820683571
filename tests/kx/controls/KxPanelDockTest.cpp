// The framed panel as a dock site: its dock manager, a control docked with
// the real mouse under a caption bar (on top, or a strip on the left for a
// panel aligned to the top or bottom) in the caption colours of its focus,
// repainted when the site is clicked or hears a command.
#include <gtest/gtest.h>

#include <string>

#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"
#include "kx/controls/KxPanel.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;
using namespace forms_test;

namespace {

TEST(KxPanelDockManager, ADockSiteGetsTheLibrarysManagerAndGivesItsWindowProcBack) {
  TControlHost host;
  auto* panel = host.Add<TKxPanel>(0, 0, 200, 150);
  TWndMethod own = panel->GetWindowProc();
  EXPECT_EQ(panel->GetDockManager(), nullptr);
  panel->SetDockSite(true);
  auto* manager = dynamic_cast<TKxPanelDockManager*>(panel->GetDockManager());
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->GetGrabberSize(), 14);
  EXPECT_EQ(manager->GetCaptionFont()->GetName(), "Verdana");
  EXPECT_EQ(manager->GetCloseFont()->GetName(), "Marlett");
  EXPECT_TRUE(panel->GetDoubleBuffered());
  EXPECT_FALSE(panel->GetWindowProc() == own) << "the manager listens first";
  panel->SetUseDockManager(false);
  EXPECT_EQ(panel->GetDockManager(), nullptr);
  EXPECT_TRUE(panel->GetWindowProc() == own);
  panel->SetUseDockManager(true);
  ASSERT_NE(panel->GetDockManager(), nullptr);
  panel->SetDockSite(false);
  EXPECT_EQ(panel->GetDockManager(), nullptr);
  EXPECT_TRUE(panel->GetWindowProc() == own);
}

// Without client captions the class library's grabber is drawn: no caption
// bar in the caption colours.
TEST(KxPanelDockManager, WithoutClientCaptionsTheTreesOwnGrabberIsDrawn) {
  TControlHost host;
  auto* site = host.Add<TKxPanel>(0, 0, 200, 150);
  site->SetDockSite(true);
  site->SetShowDockClientCaptions(false);
  auto* client = host.Add<TPanel>(250, 0, 80, 60);
  client->ManualDock(site);
  ASSERT_EQ(client->GetHostDockSite(), site);
  RECT zone{};
  site->GetDockManager()->GetControlBounds(client, zone);
  TDib dib(200, 150, 0x00FF00);
  PaintControl(site, dib);
  TRect bar{zone.left, zone.top, zone.right, zone.top + 14};
  EXPECT_EQ(CountColour(dib, ColorToRGB(clInactiveCaption), bar), 0);
  EXPECT_EQ(CountColour(dib, ColorToRGB(clActiveCaption), bar), 0);
  site->SetShowDockClientCaptions(true);
  PaintControl(site, dib);
  EXPECT_EQ(ColourBox(dib, ColorToRGB(clInactiveCaption), TRect(zone)), bar);
}

struct TDockCase {
  const char* Name;
  TAlign Align;
};

void PrintTo(const TDockCase& c, std::ostream* os) { *os << c.Name; }

class SerialKxPanelDock : public ::testing::TestWithParam<TDockCase> {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 500, 400);
    site = New<TKxPanel>(form.get());
    site->SetName("Site");
    site->SetBounds(0, 0, 240, 200);
    site->SetParent(form.get());
    site->SetAlign(GetParam().Align);
    site->SetDockSite(true);
    one = New<TPanel>(form.get());
    one->SetName("One");
    one->SetCaption("One");
    one->SetBounds(300, 250, 120, 80);
    one->SetParent(form.get());
    one->SetDragKind(dkDock);
    one->SetDragMode(dmAutomatic);
    site->SetOnPaint(TNotifyEvent(this, &SerialKxPanelDock::Painted));
    reference = New<TKxPanel>(form.get());
    reference->SetVisible(false);
    reference->SetParent(form.get());
    edit = New<TEdit>(form.get());
    edit->SetBounds(300, 360, 100, 24);
    edit->SetParent(form.get());
    form->Show();
    SetForegroundWindow(form->GetHandle());
    PumpApplication(3);
  }
  void TearDown() override {
    LeftButton(false);
    PumpApplication(3);
  }
  void Painted(TObject*) { ++paints; }

  TFreshApplication app;
  TThemesOff themesOff;
  Owned<TForm> form;
  TKxPanel* site = nullptr;
  TPanel* one = nullptr;
  TKxPanel* reference = nullptr;
  TEdit* edit = nullptr;
  int paints = 0;
};

TEST_P(SerialKxPanelDock, ADockedControlGetsTheLibrarysCaptionBarInItsFocusColours) {
  const bool strip = GetParam().Align == alTop;
  POINT centre = one->ClientToScreen(POINT{60, 40});
  RealDrag(centre, site->ClientToScreen(POINT{site->GetWidth() / 2, site->GetHeight() / 2}));
  ASSERT_EQ(one->GetHostDockSite(), site);
  RECT zone{};
  site->GetDockManager()->GetControlBounds(one, zone);
  // Inside the panel's frame; the control beside or below the bar.
  EXPECT_TRUE(Inside(TRect(zone), TRect{2, 2, site->GetWidth() - 2, site->GetHeight() - 2}));
  EXPECT_EQ(one->GetLeft(), zone.left + (strip ? 14 : 0));
  EXPECT_EQ(one->GetTop(), zone.top + (strip ? 0 : 14));

  const int w = site->GetWidth(), h = site->GetHeight();
  TRect bar = strip ? TRect{zone.left, zone.top, zone.left + 14, zone.bottom}
                    : TRect{zone.left, zone.top, zone.right, zone.top + 14};
  TRect glyph = strip ? TRect{zone.left + 1, zone.top + 1, zone.left + 12, zone.top + 12}
                      : TRect{zone.right - 15, zone.top + 1, zone.right - 2, zone.top + 12};
  TRect title = strip ? TRect{bar.left, glyph.bottom, bar.right, bar.bottom}
                      : TRect{bar.left, bar.top, glyph.left, bar.bottom};
  auto expectBar = [&](TColor fill, TColor text, const char* what) {
    SCOPED_TRACE(what);
    TDib dib(w, h, 0x00FF00);
    PaintControl(site, dib);
    EXPECT_EQ(ColourBox(dib, ColorToRGB(fill), TRect(zone)), bar);
    EXPECT_GT(CountColour(dib, ColorToRGB(text), glyph), 0) << "the close glyph";
    // A turned title is always in the caption text colour.
    EXPECT_GT(CountColour(dib, ColorToRGB(strip ? clCaptionText : text), title), 0) << "the control's text";
    // The panel's own frame around it all, as a panel that is no site.
    reference->SetBounds(0, 0, w, h);
    TDib plain(w, h, 0x00FF00);
    PaintControl(reference, plain);
    for (int x = 0; x < w; ++x)
      for (int y : {0, 1, h - 2, h - 1}) ASSERT_EQ(dib.Pixel(x, y), plain.Pixel(x, y)) << x << ", " << y;
  };
  ASSERT_NE(ColorToRGB(clActiveCaption), ColorToRGB(clInactiveCaption));
  expectBar(clInactiveCaption, clInactiveCaptionText, "without the focus");

  // The control takes the focus; a click on the site's frame repaints.
  one->SetFocus();
  PumpApplication(3);
  ASSERT_TRUE(one->Focused());
  paints = 0;
  RealClick(site->ClientToScreen(POINT{1, h - 2}));
  EXPECT_GT(paints, 0) << "WM_MOUSEACTIVATE";
  expectBar(clActiveCaption, clCaptionText, "with the focus");

  // The focus goes elsewhere; a command on the site repaints.
  edit->SetFocus();
  PumpApplication(3);
  paints = 0;
  SendMessageA(site->GetHandle(), WM_COMMAND, 0, 0);
  PumpApplication(3);
  EXPECT_GT(paints, 0) << "WM_COMMAND";
  expectBar(clInactiveCaption, clInactiveCaptionText, "the focus gone");
}

INSTANTIATE_TEST_SUITE_P(Sides, SerialKxPanelDock,
                         ::testing::Values(TDockCase{"barOnTop", alLeft}, TDockCase{"stripOnTheLeft", alTop}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
