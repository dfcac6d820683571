// The buttons that drop a menu (menu button, menu toolbar button) and the
// toolbar button with its hot glyph and hidden caption.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "classlib/ActnList.h"
#include "classlib/Menus.h"
#include "classlib/Seams.h"
#include "classlib/menus/PopupList.h"
#include "kx/controls/KxButton.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

namespace {

// A pop-up menu that records each showing and closes again at once (the
// posted WM_CANCELMODE reaches the owner window inside TrackPopupMenu).
struct TMenuProbe {
  int Popups = 0;
  int DropDowns = 0;
  TObject* DropDownSender = nullptr;
  TPopupMenu* Menu = nullptr;
  void Popped(TObject*) {
    ++Popups;
    PostMessageA(PopupList()->GetWindow(), WM_CANCELMODE, 0, 0);
  }
  void Dropping(TObject* sender) {
    ++DropDowns;
    DropDownSender = sender;
  }
  TPopupMenu* Make(TComponent* owner, std::initializer_list<const char*> captions) {
    Menu = New<TPopupMenu>(owner);
    for (const char* c : captions) {
      auto* item = New<TMenuItem>(owner);
      item->SetCaption(c);
      Menu->GetItems()->Add(item);
    }
    Menu->OnPopup = TNotifyEvent(this, &TMenuProbe::Popped);
    return Menu;
  }
};

// The clock the drop rule reads, set by the test.
class TClock {
 public:
  TClock() : override_(Seams().TickCount, [this] { return now_; }) {}
  void Set(DWORD t) { now_ = t; }

 private:
  DWORD now_ = 1000;
  TSeamOverride<std::function<DWORD()>> override_;
};

void PressAndRelease(TControl* c, int x, int y) {
  c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  c->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

class KxMenuButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    button = host.Add<TKxMenuButton>(10, 10, 110, 25);
    button->SetDropDownMenu(probe.Make(host.Panel(), {"&First", "Second"}));
    button->OnDropDown = TNotifyEvent(&probe, &TMenuProbe::Dropping);
    button->OnClick = clicks.Event();
    button->HandleNeeded();
  }

  TClock clock;
  TControlHost host;
  TMenuProbe probe;
  TEventCounter clicks;
  TKxMenuButton* button = nullptr;
};

TEST_F(KxMenuButtonTest, APressDropsTheMenuWithoutAClick) {
  PressAndRelease(button, 20, 10);
  EXPECT_EQ(probe.Popups, 1);
  EXPECT_EQ(probe.DropDowns, 1);
  EXPECT_EQ(probe.DropDownSender, probe.Menu) << "OnDropDown names the menu";
  EXPECT_EQ(probe.Menu->GetPopupComponent(), button);
  EXPECT_EQ(clicks.Count, 0);
  EXPECT_FALSE(button->GetShowingPressed());
}

TEST_F(KxMenuButtonTest, APressThatClosedTheMenuDoesNotReopenIt) {
  struct Case {
    DWORD After;  // ms after the menu closed
    bool Reopens;
  };
  DWORD base = 10000;
  for (Case c : {Case{0, false}, Case{50, false}, Case{99, false}, Case{100, true}, Case{400, true}}) {
    SCOPED_TRACE(c.After);
    clock.Set(base += 10000);
    int before = probe.Popups;
    PressAndRelease(button, 20, 10);
    ASSERT_EQ(probe.Popups, before + 1);
    clock.Set(base + c.After);
    PressAndRelease(button, 20, 10);
    EXPECT_EQ(probe.Popups, before + 1 + (c.Reopens ? 1 : 0));
    EXPECT_EQ(clicks.Count, 0) << "neither press clicks";
    // Right after: a swallowed press forgot the drop, so this one opens; a
    // press that opened the menu again makes this one the closing press.
    clock.Set(base + c.After + 1);
    PressAndRelease(button, 20, 10);
    EXPECT_EQ(probe.Popups, before + 2);
  }
}

// The tick counter wraps to 0 after 49.7 days: the 100 ms after the menu
// closed count across the wrap as anywhere else, and a menu that closed at
// tick 0 is a menu that closed.
TEST_F(KxMenuButtonTest, TheClosingPressIsKnownAcrossTheTickCountersWrap) {
  struct Case {
    DWORD Closed, Pressed;
    bool Reopens;
  };
  for (Case c : {Case{0xFFFFFFF0, 0xFFFFFFF5, false}, Case{0xFFFFFFF0, 0x00000010, false},
                 Case{0xFFFFFFC0, 0x00000023, false}, Case{0xFFFFFFC0, 0x00000024, true},
                 Case{0xFFFFFF00, 0x00000050, true}, Case{0x00000000, 0x00000020, false},
                 Case{0xFFFFFFFF, 0x00000000, false}}) {
    SCOPED_TRACE(testing::Message() << std::hex << c.Closed << " then " << c.Pressed);
    auto* b = host.Add<TKxMenuButton>(10, 40, 110, 25);
    b->SetDropDownMenu(probe.Menu);
    b->HandleNeeded();
    int before = probe.Popups;
    clock.Set(c.Closed);
    PressAndRelease(b, 20, 10);
    EXPECT_EQ(probe.Popups, before + 1);
    clock.Set(c.Pressed);
    PressAndRelease(b, 20, 10);
    EXPECT_EQ(probe.Popups, before + 1 + (c.Reopens ? 1 : 0));
    b->Free();
  }
}

TEST_F(KxMenuButtonTest, DialogKeysClickWhileSpaceAndF4DropTheMenu) {
  // Dialog keys need a form to take the focus on.
  Owned<TForm> form(New<TForm>(nullptr, 0));
  button->SetParent(form.get());
  button->SetCancel(true);
  EXPECT_EQ(button->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
  EXPECT_EQ(clicks.Count, 1) << "Escape clicks the cancel button";
  EXPECT_EQ(probe.Popups, 0);
  button->Perform(WM_KEYDOWN, VK_SPACE, 0);
  button->Perform(WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(probe.Popups, 1) << "Space drops the menu";
  EXPECT_EQ(clicks.Count, 1);
  clock.Set(9000);
  button->Perform(WM_KEYDOWN, VK_F4, 0);
  EXPECT_EQ(probe.Popups, 2) << "F4 drops the menu";
  button->SetDropDownMenu(nullptr);
  button->Click();
  EXPECT_EQ(clicks.Count, 1) << "the click after F4 is skipped";
  button->Click();
  EXPECT_EQ(clicks.Count, 2) << "without a menu it clicks";
}

TEST_F(KxMenuButtonTest, TheMenuIsRightAlignedWhenItWouldPassTheWorkAreasEdge) {
  TRect work = GetMonitorWorkArea(Screen->GetMonitors(0));
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBorderStyle(bsNone);
  auto* b = New<TKxMenuButton>(form.get());
  b->SetParent(form.get());
  b->SetBounds(0, 0, 100, 25);
  TMenuProbe wide;
  DWORD now = 50000;
  b->SetDropDownMenu(wide.Make(form.get(), {"A caption long enough to need room", "x"}));
  struct Case {
    const char* Name;
    int Left;
    bool RightAligned;
  };
  for (Case c : {Case{"at the left", work.left + 10, false}, Case{"at the right edge", work.right - 110, true}}) {
    SCOPED_TRACE(c.Name);
    form->SetBounds(c.Left, 100, 200, 60);
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    POINT anchor = b->ClientToScreen(POINT{0, 25});
    POINT at = wide.Menu->GetPopupPoint();
    EXPECT_EQ(at.y, anchor.y) << "under the button";
    if (c.RightAligned) {
      EXPECT_LT(at.x, anchor.x);
      EXPECT_LE(at.x + (anchor.x + 100 - at.x), work.right) << "its right edge is the button's";
    } else {
      EXPECT_EQ(at.x, anchor.x);
    }
    clock.Set(now += 1000);
  }
}

TEST(KxMenuButtonPaint, TheArrowSitsAtTheRightInTheTextColour) {
  TThemesOff themesOff;
  TControlHost host;
  auto* b = host.Add<TKxMenuButton>(0, 0, 110, 30);
  for (bool enabled : {true, false}) {
    SCOPED_TRACE(enabled);
    b->SetEnabled(enabled);
    TDib dib(110, 30, RGB(1, 2, 3));
    PaintControl(b, dib);
    // Apex (right - 12, middle + 2), the base 3 pixels up and to each side.
    int x = 110 - 12, y = 15 - 1;
    COLORREF ink = Shown(enabled ? clWindowText : clBtnShadow);
    EXPECT_EQ(dib.Pixel(x, y + 2), ink);
    EXPECT_EQ(dib.Pixel(x - 2, y + 1), ink);
    EXPECT_NE(dib.Pixel(x - 5, y + 1), ink);
  }
  // The caption and glyph give way to the arrow.
  b->SetShowArrow(false);
  TRect without = b->GetCaptionRect();
  b->SetShowArrow(true);
  EXPECT_EQ(without.right - b->GetCaptionRect().right, 14);
}

// --- TKxMenuToolbarButton --------------------------------------------------------------------

TEST(KxMenuToolbarButton, OnlyTheArrowPartDropsAndAGroupButtonIsClickedAfterwards) {
  TClock clock;
  TControlHost host;
  auto* b = host.Add<TKxMenuToolbarButton>(10, 10, 40, 22);
  EXPECT_EQ(b->GetMargin(), 2);
  TMenuProbe probe;
  b->SetDropDownMenu(probe.Make(host.Panel(), {"One"}));
  TEventCounter clicks;
  b->OnClick = clicks.Event();
  struct Case {
    const char* Name;
    bool ShowArrow;
    int X;
    bool Drops;
  };
  const Case cases[] = {{"left of the arrow", true, 10, false},
                        {"on the arrow", true, 40 - 15, true},
                        {"anywhere without the arrow", false, 10, true}};
  DWORD now = 1000;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    clock.Set(now += 1000);
    b->SetShowArrow(c.ShowArrow);
    int popups = probe.Popups, clicked = clicks.Count;
    PressAndRelease(b, c.X, 10);
    EXPECT_EQ(probe.Popups - popups, c.Drops ? 1 : 0);
    EXPECT_EQ(clicks.Count - clicked, c.Drops ? 0 : 1);
  }
  b->SetGroupIndex(1);
  b->SetAllowAllUp(true);
  clock.Set(now += 1000);
  int clicked = clicks.Count;
  PressAndRelease(b, 35, 10);
  EXPECT_EQ(clicks.Count - clicked, 1) << "the menu's group button is clicked when it closes";
}

// --- TKxToolbarButton -----------------------------------------------------------------------------

TEST(KxToolbarButton, AHiddenCaptionIsKeptAndATextSetMeanwhileIsNotLost) {
  Owned<TKxToolbarButton> b(New<TKxToolbarButton>(nullptr));
  EXPECT_TRUE(b->GetFlat());
  b->SetCaption("Open");
  b->SetShowCaption(false);
  EXPECT_EQ(b->GetCaption(), "");
  EXPECT_EQ(b->GetSavedCaption(), "Open");
  b->SetCaption("Save");
  EXPECT_EQ(b->GetCaption(), "") << "still hidden";
  b->SetShowCaption(true);
  EXPECT_EQ(b->GetCaption(), "Save") << "the text set while hidden comes back";
}

TEST(KxToolbarButton, TheSavedCaptionTravelsWithTheStoredFormWhileHidden) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* b = New<TKxToolbarButton>(form.get());
  b->SetParent(form.get());
  b->SetName("Tb1");
  b->SetCaption("Print");
  std::string shown = WriteForm(form.get());
  EXPECT_EQ(shown.find("SaveCaption"), std::string::npos) << shown;
  b->SetShowCaption(false);
  std::string hidden = WriteForm(form.get());
  EXPECT_NE(hidden.find("SaveCaption = 'Print'"), std::string::npos) << hidden;
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(hidden, copy.get());
  auto* c = dynamic_cast<TKxToolbarButton*>(copy->FindComponent("Tb1"));
  ASSERT_NE(c, nullptr);
  EXPECT_FALSE(c->GetShowCaption());
  EXPECT_EQ(c->GetCaption(), "");
  c->SetShowCaption(true);
  EXPECT_EQ(c->GetCaption(), "Print");
}

TEST(KxToolbarButton, TheHotGlyphShowsWhileTheMouseIsOver) {
  TControlHost host;
  auto* b = host.Add<TKxToolbarButton>(0, 0, 30, 30);
  b->SetGlyph(SolidGlyph(16, 16, clRed).get());
  b->SetHotGlyph(SolidGlyph(48, 16, clLime).get());
  EXPECT_TRUE(b->GetUseHotGlyph());
  EXPECT_EQ(b->GetHotNumGlyphs(), 3);
  TEventCounter entered, left;
  b->OnMouseEnter = entered.Event();
  b->OnMouseLeave = left.Event();
  b->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(entered.Count, 1);
  EXPECT_EQ(b->GetGlyph()->GetWidth(), 48);
  EXPECT_EQ(b->GetNumGlyphs(), 3);
  b->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(left.Count, 1);
  EXPECT_EQ(b->GetGlyph()->GetWidth(), 16);
  EXPECT_EQ(b->GetNumGlyphs(), 1);
  EXPECT_EQ(ColorToRGB(b->GetGlyph()->GetCanvas()->GetPixels(5, 5)), ColorToRGB(clRed));
  b->SetEnabled(false);
  b->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(b->GetGlyph()->GetWidth(), 16) << "a disabled button keeps its glyph";
}

TEST(KxToolbarButton, TheAcceleratorTogglesAGroupButtonAndClicks) {
  TControlHost host;
  auto* b = host.Add<TKxToolbarButton>(0, 0, 60, 24);
  b->SetCaption("&Bold");
  b->SetGroupIndex(1);
  b->SetAllowAllUp(true);
  TEventCounter clicks;
  b->OnClick = clicks.Event();
  host.Panel()->HandleNeeded();
  for (bool down : {true, false}) {
    EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'B', 0), 1);
    EXPECT_EQ(b->GetDown(), down);
  }
  EXPECT_EQ(clicks.Count, 2);
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'X', 0), 0);
}

TEST(KxToolbarButton, AnActionGivesItsImageAndCheckedStateButNotAnIgnoredCaption) {
  TControlHost host;
  auto* images = New<TCustomImageList>(host.Panel(), 12, 12);
  images->AddMasked(SolidGlyph(12, 12, clBlue, clBlue).get(), clFuchsia);
  auto* list = New<TActionList>(host.Panel());
  list->SetImages(images);
  auto* action = New<TAction>(host.Panel());
  action->SetActionList(list);
  action->SetCaption("Act");
  action->SetImageIndex(0);
  action->SetChecked(true);
  auto* b = host.Add<TKxToolbarButton>(0, 0, 60, 24);
  b->SetGroupIndex(1);
  b->SetAllowAllUp(true);
  b->SetCaption("Mine");
  b->SetIgnoreActionCaption(true);
  b->SetAction(action);
  EXPECT_EQ(b->GetCaption(), "Mine");
  EXPECT_TRUE(b->GetDown());
  EXPECT_EQ(b->GetGlyph()->GetWidth(), 12);
  EXPECT_FALSE(b->GetActionLink()->IsCaptionLinked());
  action->SetCaption("Other");
  EXPECT_EQ(b->GetCaption(), "Mine");
  action->SetChecked(false);
  EXPECT_FALSE(b->GetDown()) << "Checked follows while both agree";
}

}  // namespace
