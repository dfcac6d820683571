// The mouse wheel: a turn of the real wheel reaches the focused control and
// climbs its parents to the form until a control handles it; the events,
// the notches a turn adds up to, the shift state and the system's lines per
// notch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/FormTestSupport.h"

using namespace forms_test;
using controls_test::TProbeControl;

namespace {

// Who heard which wheel event, and who handles it.
struct TWheelLog {
  std::vector<std::string> Heard;
  TControl* Handler = nullptr;  // the control whose events say "handled"
  TShiftState LastShift;
  int LastDelta = 0;
  POINT LastPos{};

  void Wheel(TObject* sender, TShiftState shift, int delta, POINT pos, bool& handled) {
    Heard.push_back(Name(sender) + " wheel " + std::to_string(delta));
    LastShift = shift;
    LastDelta = delta;
    LastPos = pos;
    handled = false;  // the notches decide
  }
  void Down(TObject* sender, TShiftState, POINT, bool& handled) {
    Heard.push_back(Name(sender) + " down");
    handled = sender == Handler;
  }
  void Up(TObject* sender, TShiftState, POINT, bool& handled) {
    Heard.push_back(Name(sender) + " up");
    handled = sender == Handler;
  }
  static std::string Name(TObject* sender) { return static_cast<TComponent*>(sender)->GetName(); }
};

class MouseWheelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetName("Form");
    form->SetBounds(120, 120, 300, 200);
    panel = New<TProbeControl>(form.get());
    panel->SetName("Panel");
    panel->SetControlStyle(panel->GetControlStyle() + TControlStyle{csAcceptsControls});
    panel->SetBounds(10, 10, 200, 120);
    panel->SetParent(form.get());
    edit = New<TProbeControl>(form.get());
    edit->SetName("Edit");
    edit->SetBounds(10, 10, 100, 24);
    edit->SetParent(panel);
    for (TControl* c : std::vector<TControl*>{form.get(), panel, edit}) {
      c->OnMouseWheel = TMouseWheelEvent(&log, &TWheelLog::Wheel);
      c->OnMouseWheelDown = TMouseWheelUpDownEvent(&log, &TWheelLog::Down);
      c->OnMouseWheelUp = TMouseWheelUpDownEvent(&log, &TWheelLog::Up);
    }
  }

  TFreshApplication app;
  Owned<TForm> form;
  TProbeControl* panel = nullptr;
  TProbeControl* edit = nullptr;
  TWheelLog log;
};

// Without a focused control the form takes the turn itself: the key flags
// become the shift state, the point stays in screen coordinates, and the
// window's own procedure still gets a turn nobody handled.
TEST_F(MouseWheelTest, WithNothingFocusedTheFormHearsTheTurnWithItsShiftAndPoint) {
  edit->HandleNeeded();
  LRESULT r = SendMessageA(edit->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL | MK_LBUTTON, -WHEEL_DELTA),
                           MAKELPARAM(150, 160));
  EXPECT_EQ(r, 0);
  EXPECT_EQ(log.Heard, (std::vector<std::string>{"Form wheel -120", "Form down"}));
  EXPECT_EQ(log.LastShift, (TShiftState{ssCtrl, ssLeft}));
  EXPECT_EQ(log.LastPos.x, 150);
  EXPECT_EQ(log.LastPos.y, 160);
  // The edit's window procedure had the message, once, as it was sent.
  EXPECT_TRUE(edit->SawMessage(WM_MOUSEWHEEL));

  log.Heard.clear();
  log.Handler = form.get();
  r = SendMessageA(form->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(150, 160));
  EXPECT_EQ(r, 1);
  EXPECT_EQ(log.Heard, (std::vector<std::string>{"Form wheel 120", "Form up"}));
}

// Turns smaller than a notch add up; a large one counts each notch.
TEST_F(MouseWheelTest, PartialTurnsAddUpToWholeNotches) {
  struct TCase {
    int delta;
    std::vector<std::string> heard;
  };
  const TCase cases[] = {
      {-60, {"Form wheel -60"}},
      {-60, {"Form wheel -60", "Form down"}},
      {2 * WHEEL_DELTA + 40, {"Form wheel 280", "Form up", "Form up"}},
      {80, {"Form wheel 80", "Form up"}},  // 40 were left over
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.delta);
    log.Heard.clear();
    form->Perform(CM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(c.delta)), 0);
    EXPECT_EQ(log.Heard, c.heard);
  }
}

TEST_F(MouseWheelTest, FormsPublishTheWheelEvents) {
  for (const char* name : {"OnMouseWheel", "OnMouseWheelDown", "OnMouseWheelUp"}) {
    SCOPED_TRACE(name);
    EXPECT_NE(GetPropInfo(TForm::StaticClass(), name), nullptr);
  }
}

// The real wheel: the system sends the turn to the focused window.
class SerialMouseWheelTest : public MouseWheelTest {
 protected:
  void Turn(int delta) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.mouseData = static_cast<DWORD>(delta);
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    SendInput(1, &in, sizeof in);
    PumpApplication(3);
  }
};

TEST_F(SerialMouseWheelTest, ATurnClimbsFromTheFocusedControlUntilOneHandlesIt) {
  form->Show();
  SetForegroundWindow(form->GetHandle());
  PumpApplication(3);
  edit->SetFocus();
  ASSERT_EQ(GetFocus(), edit->GetHandle());
  MoveMouseTo(edit->ClientToScreen(POINT{5, 5}));
  PumpApplication(2);
  struct TCase {
    const char* name;
    TControl* handler;
    int delta;
    std::vector<std::string> heard;
  };
  const TCase cases[] = {
      {"the focused control", edit, -WHEEL_DELTA, {"Edit wheel -120", "Edit down"}},
      {"its parent", panel, WHEEL_DELTA, {"Edit wheel 120", "Edit up", "Panel wheel 120", "Panel up"}},
      // Each hears it once: the window procedures hand it on to the parent
      // windows too, which do not offer it again.
      {"nobody",
       nullptr,
       -WHEEL_DELTA,
       {"Edit wheel -120", "Edit down", "Panel wheel -120", "Panel down", "Form wheel -120", "Form down"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    log.Heard.clear();
    log.Handler = c.handler;
    Turn(c.delta);
    EXPECT_EQ(log.Heard, c.heard);
  }
}

TEST_F(SerialMouseWheelTest, WheelScrollLinesIsTheSystemsSetting) {
  UINT saved = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &saved, 0);
  for (UINT lines : {1u, 7u}) {
    SCOPED_TRACE(lines);
    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, lines, nullptr, 0);
    EXPECT_EQ(Mouse().GetWheelScrollLines(), static_cast<int>(lines));
  }
  SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, saved, nullptr, 0);
}

}  // namespace
