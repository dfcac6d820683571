// The pop-up panel: its children shown under a control in a window that
// never takes the activation, its own message loop ended by a click
// outside, Escape, a child's choice or the application losing the
// activation, the children and the focus given back, and no window left.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/StdCtrls.h"
#include "kx/controls/KxPopups.h"
#include "tests/kx/controls/KxControlsTestSupport.h"
#include "tests/kx/controls/KxPopupsTestSupport.h"

using namespace kxc_test;
using namespace kxp_test;

namespace {

TEST(KxPopupPlacement, OpensUnderTheControlAndStaysInTheWorkArea) {
  const TRect work{0, 0, 1024, 740};
  struct TCase {
    const char* Name;
    TRect Control;
    TAlignment Alignment;
    TRect Expected;
  };
  const TCase cases[] = {
      {"right edges line up", {100, 100, 200, 121}, taRightJustify, {50, 121, 200, 221}},
      {"left edges line up", {100, 100, 200, 121}, taLeftJustify, {100, 121, 250, 221}},
      {"centred", {100, 100, 200, 121}, taCenter, {75, 121, 225, 221}},
      {"above when the bottom would pass", {100, 700, 200, 721}, taLeftJustify, {100, 600, 250, 700}},
      {"shifted left at the right edge", {950, 100, 1000, 121}, taLeftJustify, {874, 121, 1024, 221}},
      {"raised to the left edge", {10, 100, 60, 121}, taRightJustify, {0, 121, 150, 221}},
      {"raised to the top when it fits nowhere", {100, 50, 200, 71}, taLeftJustify, {100, 71, 250, 171}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(TKxPopup::Placement(c.Control, 150, 100, c.Alignment, work), c.Expected);
  }
  // Taller than the room above and below: above, then raised to the top.
  EXPECT_EQ(TKxPopup::Placement(TRect{100, 300, 200, 321}, 150, 600, taLeftJustify, work),
            (TRect{100, 0, 250, 600}));
}

POINT CentreOnScreen(TControl* c) { return c->ClientToScreen(POINT{c->GetWidth() / 2, c->GetHeight() / 2}); }

void Press(POINT p) {
  forms_test::MoveMouseTo(p);
  forms_test::LeftButton(true);
}

class SerialKxPopup : public ::testing::Test {
 protected:
  SerialKxPopup() {
    anchor_ = shown_.Add<TEdit>(20, 20, 120, 21);
    other_ = shown_.Add<TButton>(250, 220, 60, 24);
    other_->OnClick = otherClicks_.Event();
    panel_ = shown_.Add<TKxPopupPanel>(0, 0, 100, 100);
    calendar_ = New<TKxCalendar>(shown_.Form());
    calendar_->SetParent(panel_);
    calendar_->SetIsPopup(true);
    calendar_->SetDate(EncodeDate(2024, 6, 10));
    calendar_->OnClick = TNotifyEvent(panel_, &TKxPopupPanel::Close);
    ok_ = New<TButton>(shown_.Form());
    ok_->SetParent(panel_);
    ok_->SetBounds(0, calendar_->GetHeight(), 60, 24);
    ok_->SetCaption("OK");
    ok_->OnClick = TNotifyEvent(panel_, &TKxPopupPanel::Close);
    shown_.Show();
    anchor_->SetFocus();
    forms_test::PumpApplication(3);
    windows_ = ThreadWindows();
  }
  ~SerialKxPopup() override { forms_test::LeftButton(false); }

  // Runs Popup under the script; the pop-up's window as it showed.
  bool Run(std::vector<std::function<void()>> steps) {
    TPopupScript script(panel_, std::move(steps));
    bool result = panel_->Popup(anchor_);
    EXPECT_FALSE(script.Stuck()) << "the loop did not end by the steps";
    forms_test::LeftButton(false);
    forms_test::PumpApplication(3);
    return result;
  }
  std::function<void()> Record() {
    return [this] {
      popupWindow_ = panel_->GetPopup() ? panel_->GetPopup()->GetHandle() : nullptr;
      if (popupWindow_) {
        GetWindowRect(popupWindow_, &popupRect_);
        popupVisible_ = IsWindowVisible(popupWindow_) != 0;
        activeDuring_ = GetActiveWindow();
        childParent_ = calendar_->GetParent();
      }
    };
  }
  // After Popup returned: the children are home in their order, nothing of
  // the pop-up is left and the focus is where it was.
  void ExpectRestored(bool focusBack = true) {
    EXPECT_FALSE(panel_->GetActive());
    ASSERT_EQ(panel_->GetControlCount(), 2);
    EXPECT_EQ(panel_->GetControl(0), calendar_);
    EXPECT_EQ(panel_->GetControl(1), ok_);
    EXPECT_EQ(calendar_->GetParent(), panel_);
    EXPECT_FALSE(IsWindow(popupWindow_));
    EXPECT_EQ(ThreadWindows(), windows_) << "a window was left behind";
    if (focusBack) {
      EXPECT_EQ(GetFocus(), anchor_->GetHandle());
    }
  }

  TShownForm shown_{400, 300};
  TEdit* anchor_ = nullptr;
  TButton* other_ = nullptr;
  TEventCounter otherClicks_;
  TKxPopupPanel* panel_ = nullptr;
  TKxCalendar* calendar_ = nullptr;
  TButton* ok_ = nullptr;
  int windows_ = 0;
  HWND popupWindow_ = nullptr;
  RECT popupRect_{};
  bool popupVisible_ = false;
  HWND activeDuring_ = nullptr;
  TWinControl* childParent_ = nullptr;
};

TEST_F(SerialKxPopup, AChildsChoiceClosesItWithTrueUnderTheControlWithoutActivation) {
  TEventCounter popups, closes;
  panel_->OnPopup = popups.Event();
  panel_->OnClose = closes.Event();
  bool result = Run({Record(), [this] { Press(CentreOnScreen(ok_)); }, [] { forms_test::LeftButton(false); }});
  EXPECT_TRUE(result);
  EXPECT_TRUE(popupVisible_);
  EXPECT_NE(childParent_, panel_) << "the children showed in the pop-up";
  EXPECT_EQ(activeDuring_, shown_.Form()->GetHandle()) << "the form stays active";
  // Right-justified under the edit.
  RECT anchor{};
  GetWindowRect(anchor_->GetHandle(), &anchor);
  EXPECT_EQ(popupRect_.right, anchor.right);
  EXPECT_EQ(popupRect_.top, anchor.bottom);
  EXPECT_EQ(popups.Count, 1);
  EXPECT_EQ(closes.Count, 1);
  ExpectRestored();
}

TEST_F(SerialKxPopup, AClickOutsideDismissesItAndGoesNowhereElse) {
  bool result = Run({Record(), [this] { Press(CentreOnScreen(other_)); }, [] { forms_test::LeftButton(false); }});
  EXPECT_FALSE(result);
  EXPECT_EQ(otherClicks_.Count, 0) << "the click was consumed";
  ExpectRestored();
  // Without a pop-up the same click reaches the button.
  RealClick(CentreOnScreen(other_));
  EXPECT_EQ(otherClicks_.Count, 1);
}

TEST_F(SerialKxPopup, EscapeDismissesItAndEnterReachesTheFirstChild) {
  EXPECT_FALSE(Run({Record(), [] { forms_test::TypeKey(VK_ESCAPE); }}));
  ExpectRestored();
  EXPECT_EQ(Ymd(calendar_->GetDate()), "2024-06-10");

  // The keys go to the calendar: Right picks the next day, Enter its click.
  EXPECT_TRUE(Run({Record(), [] { forms_test::TypeKey(VK_RIGHT); }, [] { forms_test::TypeKey(VK_RETURN); }}));
  EXPECT_EQ(Ymd(calendar_->GetDate()), "2024-06-11");
  ExpectRestored();
}

TEST_F(SerialKxPopup, TheApplicationLosingTheActivationDismissesIt) {
  EXPECT_FALSE(Run({Record(), [] { SendMessageA(Application->GetHandle(), WM_ACTIVATEAPP, FALSE, 0); }}));
  EXPECT_FALSE(Application->GetActive());
  // An inactive application's focus is not moved.
  ExpectRestored(false);
}

TEST_F(SerialKxPopup, APopupWhileOneShowsIsRefusedAndAnOldCloseEndsNoNewLoop) {
  bool second = true;
  EXPECT_TRUE(Run({Record(), [&] { second = panel_->Popup(anchor_); }, [this] { panel_->Close(nullptr); }}));
  EXPECT_FALSE(second);
  ExpectRestored();

  // A close message meant for an earlier pop-up's window waits in the
  // queue: the next loop runs on until its own end.
  {
    controls_test::THostWindow earlier;
    PostMessageA(earlier.Handle(), CM_KXPOPUPCLOSE, 0, 0);
    TPopupScript script(panel_, {Record(), [] {}, [] {}, [] { forms_test::TypeKey(VK_ESCAPE); }});
    EXPECT_FALSE(panel_->Popup(anchor_));
    EXPECT_EQ(script.StepsRun(), 4u) << "ended before its own Escape";
    EXPECT_FALSE(script.Stuck());
  }
  forms_test::PumpApplication(3);
  ExpectRestored();
}

TEST(KxPopupStored, AStoredPanelKeepsItsAlignment) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* p = New<TKxPopupPanel>(form.get());
  p->SetParent(form.get());
  p->SetName("Drop");
  EXPECT_EQ(p->GetAlignment(), taRightJustify);
  EXPECT_FALSE(p->GetVisible());
  p->SetAlignment(taLeftJustify);
  std::string text = WriteForm(form.get());
  EXPECT_NE(text.find("Alignment = taLeftJustify"), std::string::npos) << text;
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* read = dynamic_cast<TKxPopupPanel*>(copy->FindComponent("Drop"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetAlignment(), taLeftJustify);
}

}  // namespace
