// Hints: the pause before a hint shows (on the clock seam), the hint window
// class replaced at run time, and the class a control asks for one showing.
#include <gtest/gtest.h>

#include <string>

#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "tests/classlib/FormTestSupport.h"

using namespace forms_test;

namespace {

class TCountingHintWindow : public THintWindow {
  DECLARE_CLASS(TCountingHintWindow, THintWindow)
  explicit TCountingHintWindow(TComponent* owner) : THintWindow(owner) {}
  static inline int Activations = 0;
  static inline std::string LastHint;
  void ActivateHint(TRect rect, const std::string& hint) override {
    ++Activations;
    LastHint = hint;
    inherited::ActivateHint(rect, hint);
  }
};
IMPLEMENT_CLASS(TCountingHintWindow)

class TOtherHintWindow : public TCountingHintWindow {
  DECLARE_CLASS(TOtherHintWindow, TCountingHintWindow)
  explicit TOtherHintWindow(TComponent* owner) : TCountingHintWindow(owner) {}
};
IMPLEMENT_CLASS(TOtherHintWindow)

// A windowless control whose CM_HINTSHOW may ask for another window class.
class THintProbe : public TGraphicControl {
  DECLARE_CLASS(THintProbe, TGraphicControl)
  explicit THintProbe(TComponent* owner) : TGraphicControl(owner) {}
  THintWindowClass AskFor = nullptr;
  void CMHintShow(TMessage& m) override {
    inherited::CMHintShow(m);
    if (AskFor) reinterpret_cast<THintInfo*>(m.LParam)->HintWindowClass = AskFor;
  }
};
IMPLEMENT_CLASS(THintProbe)

// Time, timers and the cursor under the test's control; a form with two
// hint controls, in front.
class SerialHintTest : public ::testing::Test {
 protected:
  SerialHintTest()
      : tick_(Seams().TickCount, [this] { return now; }),
        setTimer_(Seams().SetTimer,
                  [this](HWND, UINT_PTR id, UINT elapse) {
                    lastTimer = elapse;
                    return id;
                  }),
        killTimer_(Seams().KillTimer, [](HWND, UINT_PTR) { return TRUE; }),
        cursor_(Seams().GetCursorPos, [this](POINT& p) {
          p = cursor;
          return TRUE;
        }),
        savedClass_(HintWindowClass) {}
  ~SerialHintTest() override { HintWindowClass = savedClass_; }

  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBorderStyle(bsNone);
    form->SetBounds(200, 150, 300, 100);
    first = New<THintProbe>(form.get());
    first->SetBounds(10, 10, 100, 40);
    first->SetHint("First|The first control");
    first->SetShowHint(true);
    first->SetParent(form.get());
    second = New<THintProbe>(form.get());
    second->SetBounds(150, 10, 100, 40);
    second->SetHint("Second");
    second->SetShowHint(true);
    second->SetParent(form.get());
    form->Show();
    SetForegroundWindow(form->GetHandle());
    cursor = POINT{0, 0};
    PumpApplication(2);
    TCountingHintWindow::Activations = 0;
  }
  // Puts the cursor on a control and lets the application see it.
  void PointAt(TControl* c) {
    cursor = c->ClientToScreen(POINT{c->GetWidth() / 2, c->GetHeight() / 2});
    PumpApplication(1);
  }
  void Wait(DWORD ms) {
    now += ms;
    PumpApplication(1);
  }
  bool HintShown(THintWindow* w) const {
    return w && w->HandleAllocated() && IsWindowVisible(w->GetWindowHandle());
  }

  DWORD now = 100000;
  UINT lastTimer = 0;
  POINT cursor{};
  TFreshApplication app;
  Owned<TForm> form;
  THintProbe* first = nullptr;
  THintProbe* second = nullptr;

 private:
  TSeamOverride<decltype(Seams().TickCount)> tick_;
  TSeamOverride<decltype(Seams().SetTimer)> setTimer_;
  TSeamOverride<decltype(Seams().KillTimer)> killTimer_;
  TSeamOverride<decltype(Seams().GetCursorPos)> cursor_;
  THintWindowClass savedClass_;
};

TEST_F(SerialHintTest, AHintShowsAfterTheHintPause) {
  Application->SetHintPause(500);
  PointAt(first);
  EXPECT_EQ(Application->GetMouseControl(), first);
  EXPECT_EQ(lastTimer, 500u);
  EXPECT_EQ(Application->GetHint(), "The first control");
  Wait(499);
  EXPECT_FALSE(HintShown(Application->GetHintWindow()));
  Wait(1);
  THintWindow* window = Application->GetHintWindow();
  ASSERT_TRUE(HintShown(window));
  EXPECT_EQ(window->GetCaption(), "First");
  EXPECT_EQ(window->GetColor(), Application->GetHintColor());
  // Below the cursor, owned by the application window, never active.
  RECT r;
  GetWindowRect(window->GetWindowHandle(), &r);
  EXPECT_GT(r.top, cursor.y);
  EXPECT_EQ(GetWindow(window->GetWindowHandle(), GW_OWNER), Application->GetHandle());
  EXPECT_NE(GetActiveWindow(), window->GetWindowHandle());

  // Hidden after the hide pause; leaving the form cancels the hint.
  Wait(static_cast<DWORD>(Application->GetHintHidePause()));
  EXPECT_FALSE(HintShown(window));
}

TEST_F(SerialHintTest, AReplacedWindowClassServesAfterShowHintOffAndOn) {
  HintWindowClass = TCountingHintWindow::StaticClass();
  EXPECT_EQ(Application->GetHintWindow()->ClassType(), THintWindow::StaticClass());
  Application->SetShowHint(false);
  EXPECT_EQ(Application->GetHintWindow(), nullptr);
  Application->SetShowHint(true);
  ASSERT_EQ(Application->GetHintWindow()->ClassType(), TCountingHintWindow::StaticClass());
  PointAt(second);
  Wait(static_cast<DWORD>(Application->GetHintPause()));
  EXPECT_EQ(TCountingHintWindow::Activations, 1);
  EXPECT_EQ(TCountingHintWindow::LastHint, "Second");
  EXPECT_TRUE(HintShown(Application->GetHintWindow()));
}

TEST_F(SerialHintTest, AControlMayAskForAnotherWindowForOneShowing) {
  first->AskFor = TOtherHintWindow::StaticClass();
  PointAt(first);
  Wait(static_cast<DWORD>(Application->GetHintPause()));
  EXPECT_EQ(TCountingHintWindow::Activations, 1);
  EXPECT_EQ(TCountingHintWindow::LastHint, "First");
  EXPECT_FALSE(HintShown(Application->GetHintWindow()));
  EXPECT_EQ(Application->GetHintWindow()->ClassType(), THintWindow::StaticClass());

  // The next showing is the application's own window again.
  PointAt(second);
  Wait(static_cast<DWORD>(Application->GetHintPause()));
  EXPECT_EQ(TCountingHintWindow::Activations, 1);
  EXPECT_TRUE(HintShown(Application->GetHintWindow()));
  EXPECT_EQ(Application->GetHintWindow()->GetCaption(), "Second");
}

}  // namespace
