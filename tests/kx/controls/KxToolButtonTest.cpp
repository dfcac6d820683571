// The tool button: split and whole drop-downs, groups, the image it shows in
// each state, its coupling to its parent toolbar, stored forms.
#include <gtest/gtest.h>

#include <string>

#include "classlib/Menus.h"
#include "classlib/Seams.h"
#include "classlib/menus/PopupList.h"
#include "kx/controls/KxButton.h"
#include "kx/controls/KxPanel.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

namespace {

struct TMenuCloser {
  int Popups = 0;
  void Popped(TObject*) {
    ++Popups;
    PostMessageA(PopupList()->GetWindow(), WM_CANCELMODE, 0, 0);
  }
};

class TClock {
 public:
  TClock() : override_(Seams().TickCount, [this] { return now_; }) {}
  void Advance() { now_ += 1000; }

 private:
  DWORD now_ = 1000;
  TSeamOverride<std::function<DWORD()>> override_;
};

// Images: 0 blue (normal), 1 lime (hot), 2 red (down), 3 yellow (disabled).
TCustomImageList* FourImages(TComponent* owner) {
  auto* images = New<TCustomImageList>(owner, 16, 16);
  for (TColor c : {clBlue, clLime, clRed, clYellow}) images->Add(SolidGlyph(16, 16, c, c).get(), nullptr);
  return images;
}

class KxToolButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    button = host.Add<TKxToolButton>(10, 10, 40, 25);
    button->OnClick = clicks.Event();
    menu = New<TPopupMenu>(host.Panel());
    auto* item = New<TMenuItem>(host.Panel());
    item->SetCaption("Item");
    menu->GetItems()->Add(item);
    menu->OnPopup = TNotifyEvent(&closer, &TMenuCloser::Popped);
  }
  void Press(int x) {
    clock.Advance();
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 10));
    button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, 10));
  }

  TClock clock;
  TControlHost host;
  TKxToolButton* button = nullptr;
  TPopupMenu* menu = nullptr;
  TMenuCloser closer;
  TEventCounter clicks;
};

TEST_F(KxToolButtonTest, ASplitButtonClicksLeftOfItsDropDownPartAndDropsInIt) {
  button->SetToolStyle(tsDropDown);
  button->SetDropDownMenu(menu);
  int w = button->GetWidth();
  struct Case {
    const char* Name;
    int X;
    bool Drops;
  };
  for (Case c : {Case{"button part", 5, false}, Case{"last pixel before the part", w - 15, false},
                 Case{"first pixel of the part", w - 14, true}, Case{"last pixel", w - 1, true}}) {
    SCOPED_TRACE(c.Name);
    int popups = closer.Popups, clicked = clicks.Count;
    Press(c.X);
    EXPECT_EQ(closer.Popups - popups, c.Drops ? 1 : 0);
    // After a drop the next press on the button part only ends it; make one.
    if (c.Drops) {
      Press(5);
    } else {
      EXPECT_EQ(clicks.Count - clicked, 1);
    }
  }
  EXPECT_EQ(button->GetState(), bsUp);
}

TEST_F(KxToolButtonTest, WithoutOnClickAnyPressDropsAndAnEmptyMenuDoesNothing) {
  button->OnClick = TNotifyEvent();
  button->SetToolStyle(tsDropDown);
  button->SetDropDownMenu(menu);
  Press(5);
  EXPECT_EQ(closer.Popups, 1) << "the whole button drops";
  menu->GetItems()->Clear();
  Press(button->GetWidth() - 3);
  EXPECT_EQ(closer.Popups, 1);
  EXPECT_EQ(button->GetState(), bsUp);
}

TEST_F(KxToolButtonTest, DropDownStyleWidensTheButtonAndClearsItsGroup) {
  button->SetGroupIndex(4);
  button->SetToolStyle(tsDropDown);
  EXPECT_EQ(button->GetGroupIndex(), 0);
  EXPECT_EQ(button->GetWidth(), 40 + 14);
  EXPECT_TRUE(button->GetUseToolbarButtonSize()) << "the size still follows the toolbar";
  button->SetGroupIndex(2);
  EXPECT_EQ(button->GetGroupIndex(), 0) << "a drop-down button takes no group";
  button->SetToolStyle(tsButton);
  EXPECT_EQ(button->GetWidth(), 40);
}

TEST_F(KxToolButtonTest, GroupButtonsReleaseEachOther) {
  auto* other = host.Add<TKxToolButton>(60, 10, 40, 25);
  button->SetGroupIndex(1);
  other->SetGroupIndex(1);
  Press(5);
  EXPECT_TRUE(button->GetDown());
  EXPECT_EQ(button->GetState(), bsExclusive);
  EXPECT_EQ(clicks.Count, 1);
  Press(5);
  EXPECT_TRUE(button->GetDown()) << "the down button stays down without AllowAllUp";
  EXPECT_EQ(clicks.Count, 1) << "a refused release does not click";
  other->SetDown(true);
  EXPECT_FALSE(button->GetDown());
  other->SetAllowAllUp(true);
  EXPECT_TRUE(button->GetAllowAllUp());
}

TEST_F(KxToolButtonTest, TheImageFollowsTheState) {
  auto* images = FourImages(host.Panel());
  button->SetImages(images);
  button->SetImageIndex(0);
  button->SetHotIndex(1);
  button->SetDownIndex(2);
  struct Case {
    const char* Name;
    bool Themed;
  };
  for (Case theme : {Case{"themed", true}, Case{"classic", false}}) {
    SCOPED_TRACE(theme.Name);
    std::unique_ptr<TThemesOff> off;
    if (!theme.Themed) off = std::make_unique<TThemesOff>();
    auto shows = [&] {
      TDib dib(40, 25, RGB(1, 2, 3));
      PaintControl(button, dib);
      TRect r = button->GetImageRect();
      return dib.Pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    EXPECT_EQ(shows(), Shown(clBlue)) << "normal";
    button->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(shows(), Shown(clLime)) << "hot";
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(shows(), Shown(clRed)) << "pressed";
    button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
    button->Perform(CM_MOUSELEAVE, 0, 0);
    button->SetDisabledIndex(3);
    button->SetEnabled(false);
    EXPECT_EQ(shows(), Shown(clYellow)) << "disabled";
    button->SetEnabled(true);
    button->SetDisabledIndex(-1);
  }
  images->Free();
  EXPECT_EQ(button->GetImages(), nullptr);
}

TEST_F(KxToolButtonTest, AClassicDownGroupButtonShowsTheChecker) {
  TThemesOff themesOff;
  button->SetGroupIndex(1);
  button->SetDown(true);
  TDib dib(40, 25, RGB(1, 2, 3));
  PaintControl(button, dib);
  // Inside the lowered frame: face and highlight alternate.
  int highlight = 0;
  for (int x = 5; x < 9; ++x) highlight += dib.Pixel(x, 5) == Shown(clBtnHighlight) ? 1 : 0;
  EXPECT_EQ(highlight, 2);
}

TEST_F(KxToolButtonTest, TheCaptionIsDrawnOnlyWhenShown) {
  button->SetCaption("Tool");
  button->GetFont()->SetColor(clBlue);
  button->SetBounds(10, 10, 80, 25);
  for (bool shown : {false, true}) {
    SCOPED_TRACE(shown);
    button->SetShowCaption(shown);
    TDib dib(80, 25, RGB(1, 2, 3));
    PaintControl(button, dib);
    TRect ink = ColourBox(dib, Shown(clBlue), TRect{0, 0, 80, 25});
    EXPECT_EQ(ink.right > ink.left, shown);
    if (shown) {
      EXPECT_TRUE(Inside(ink, button->GetCaptionRect()));
    }
  }
}

// --- the toolbar ---------------------------------------------------------------------------

class KxToolButtonOnToolbar : public ::testing::Test {
 protected:
  void SetUp() override {
    toolbar = New<TKxToolbar>(host.Panel());
    toolbar->SetBounds(0, 0, 300, 40);
    toolbar->SetParent(host.Panel());
    images = FourImages(host.Panel());
    toolbar->SetImages(images);
    toolbar->SetButtonWidth(40);
    toolbar->SetButtonHeight(30);
  }
  TKxToolButton* AddButton() {
    auto* b = New<TKxToolButton>(host.Panel());
    b->SetCaption("Caption");
    b->SetImageIndex(0);
    b->SetParent(toolbar);
    return b;
  }
  int CaptionWidth(TKxToolButton* b) {
    TCanvas* c = b->GetCanvas();
    c->GetFont()->Assign(b->GetFont());
    return c->TextWidth(b->GetCaption());
  }

  TControlHost host;
  TKxToolbar* toolbar = nullptr;
  TCustomImageList* images = nullptr;
};

TEST_F(KxToolButtonOnToolbar, TheButtonTakesTheToolbarsSizeWidenedForItsCaption) {
  for (bool captions : {false, true})
    for (TButtonLayout layout : {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom})
      for (TKxToolStyle style : {tsButton, tsDropDown}) {
        SCOPED_TRACE(testing::Message() << "captions " << captions << " layout " << layout << " style " << style);
        toolbar->SetShowButtonCaptions(captions);
        toolbar->SetButtonLayout(layout);
        auto* b = AddButton();
        b->SetToolStyle(style);
        b->Perform(CM_TOOLBARBUTTONSIZECHANGED, 0, 0);
        EXPECT_EQ(b->GetShowCaption(), captions);
        EXPECT_EQ(b->GetLayout(), layout);
        int text = CaptionWidth(b);
        int w = 40;
        if (captions) w = std::max(w, (layout == blGlyphLeft || layout == blGlyphRight) ? 16 + text + 12 : text + 8);
        if (style == tsDropDown) w += 14;
        EXPECT_EQ(b->GetWidth(), w);
        EXPECT_EQ(b->GetHeight(), 30);
        EXPECT_EQ(b->ImageList(), images) << "the toolbar's images";
        b->Free();
      }
}

TEST_F(KxToolButtonOnToolbar, SettingAValueDirectlyStopsFollowingTheToolbar) {
  auto* b = AddButton();
  ASSERT_EQ(b->GetWidth(), 40);
  b->SetWidth(60);
  EXPECT_FALSE(b->GetUseToolbarButtonSize());
  toolbar->SetButtonWidth(50);
  b->Perform(CM_TOOLBARBUTTONSIZECHANGED, 0, 0);
  EXPECT_EQ(b->GetWidth(), 60);
  b->SetUseToolbarButtonSize(true);
  EXPECT_EQ(b->GetWidth(), 50) << "turning the flag on follows at once";

  toolbar->SetButtonLayout(blGlyphTop);
  b->SetLayout(blGlyphRight);
  EXPECT_FALSE(b->GetUseToolbarButtonLayout());
  b->SetUseToolbarButtonLayout(true);
  EXPECT_EQ(b->GetLayout(), blGlyphTop);

  toolbar->SetShowButtonCaptions(true);
  b->SetShowCaption(false);
  EXPECT_FALSE(b->GetUseToolbarShowCaption());
  b->SetUseToolbarShowCaption(true);
  EXPECT_TRUE(b->GetShowCaption());
}

TEST_F(KxToolButtonOnToolbar, WhatFollowsTheToolbarIsNotStored) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* bar = New<TKxToolbar>(form.get());
  bar->SetName("Bar1");
  bar->SetParent(form.get());
  bar->SetButtonWidth(40);
  bar->SetButtonHeight(30);
  auto* b = New<TKxToolButton>(form.get());
  b->SetName("Tool1");
  b->SetParent(bar);
  // The button's own lines in the stored form.
  auto buttonText = [&] {
    std::string text = WriteForm(form.get());
    size_t at = text.find("object Tool1");
    return at == std::string::npos ? text : text.substr(at, text.find("end", at) - at);
  };
  std::string following = buttonText();
  for (const char* never : {"Width = 40", "Height = 30", "Layout", "ShowCaption"})
    EXPECT_EQ(following.find(never), std::string::npos) << never << "\n" << following;
  b->SetWidth(70);
  b->SetLayout(blGlyphTop);
  b->SetShowCaption(true);
  std::string own = buttonText();
  for (const char* always : {"Width = 70", "Layout = blGlyphTop", "ShowCaption = True", "UseToolbarButtonSize = False"})
    EXPECT_NE(own.find(always), std::string::npos) << always << "\n" << own;
}

}  // namespace
