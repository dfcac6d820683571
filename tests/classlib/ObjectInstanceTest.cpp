// Thunks after their object went: a window that still calls a freed thunk
// reaches DefWindowProc, never the object that takes the thunk's record
// next, and the record serves again once that window is gone.
#include "ControlTestSupport.h"
#include "tests/classlib/FormTestSupport.h"

using namespace controls_test;

namespace {

struct TCounter {
  int Calls = 0;
  void Proc(TMessage& m) {
    ++Calls;
    m.Result = 42;
  }
};

// A subclass that keeps the procedure it replaced and calls on through it,
// as a hook installed after the object's thunk does.
WNDPROC gKeptProc = nullptr;
LRESULT CALLBACK KeepingSubclass(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(gKeptProc, window, msg, wParam, lParam);
}

constexpr UINT kLate = WM_APP + 5;

TEST(ObjectInstanceTest, AFreedThunkThatASubclassKeptReachesDefWindowProcNeverTheNextObject) {
  THostWindow host;
  HWND w = host.Handle();
  TCounter a, b;
  WNDPROC thunkA = MakeObjectInstance(TWndMethod(&a, &TCounter::Proc));
  auto original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(thunkA)));
  gKeptProc = thunkA;
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KeepingSubclass));
  EXPECT_EQ(SendMessageA(w, kLate, 0, 0), 42);
  EXPECT_EQ(a.Calls, 1);

  for (int i = 0; i < 3; ++i) PostMessageA(w, kLate, 0, 0);
  FreeObjectInstance(thunkA);  // the object goes; the subclass stays
  PumpMessages();              // through the freed thunk
  WNDPROC thunkB = MakeObjectInstance(TWndMethod(&b, &TCounter::Proc));
  EXPECT_NE(thunkB, thunkA);
  for (int i = 0; i < 3; ++i) PostMessageA(w, kLate, 0, 0);
  PumpMessages();
  EXPECT_EQ(a.Calls, 1);
  EXPECT_EQ(b.Calls, 0);
  // DefWindowProc took the text.
  SendMessageA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("default"));
  char text[16] = {};
  GetWindowTextA(w, text, sizeof text);
  EXPECT_STREQ(text, "default");

  // Once the window is gone its old thunk's record serves again.
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  DestroyWindow(w);
  std::vector<WNDPROC> taken;
  bool reused = false;
  for (int i = 0; i < 4000 && !reused; ++i) {
    taken.push_back(MakeObjectInstance(TWndMethod(&b, &TCounter::Proc)));
    reused = taken.back() == thunkA;
  }
  EXPECT_TRUE(reused);
  for (WNDPROC p : taken) FreeObjectInstance(p);
  FreeObjectInstance(thunkB);
}

// A control whose window outlives it: DestroyWindow refuses a window of
// another thread; here the control keeps the window as such a refusal
// would.
class TOutlivedControl : public TProbeControl {
  DECLARE_CLASS(TOutlivedControl, TProbeControl)
  using TProbeControl::TProbeControl;
  void DestroyWindowHandle() override { SetWindowHandle(nullptr); }
};
IMPLEMENT_CLASS(TOutlivedControl)

TEST(ObjectInstanceTest, MessagesQueuedForAFreedControlsWindowReachNoOtherControl) {
  EnsureControlsUnit();
  THostWindow host;
  auto* first = New<TOutlivedControl>(nullptr);
  first->SetBounds(0, 0, 50, 20);
  first->SetParentWindow(host.Handle());
  HWND window = first->GetHandle();
  for (int i = 0; i < 3; ++i) PostMessageA(window, kLate, 0, 0);
  first->Free();
  EXPECT_EQ(FindControl(window), nullptr);

  auto* second = New<TProbeControl>(nullptr);
  second->SetBounds(0, 30, 50, 20);
  second->SetParentWindow(host.Handle());
  second->HandleNeeded();
  PumpMessages();
  EXPECT_FALSE(second->SawMessage(kLate));
  EXPECT_TRUE(IsWindow(window));
  // The outlived window still works, on the system's default procedure.
  EXPECT_TRUE(SetWindowTextA(window, "alone"));
  DestroyWindow(window);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(IsWindow(second->GetWindowHandle()));
  second->Free();
}

// A method that throws, on a window of the utility class that timers, the
// pop-up list and drags use: the application reports the exception, the
// caller of SendMessage never sees it, and the loop goes on.
TEST(ObjectInstanceTest, AThrowingMethodIsReportedByTheApplicationAndNeverReachesTheCaller) {
  forms_test::TFreshApplication app;
  constexpr UINT kFail = WM_APP + 6;
  struct TFailing {
    HWND Window = nullptr;
    std::vector<UINT> Seen;
    void Proc(TMessage& m) {
      if (m.Msg == kFail || m.Msg == kLate) Seen.push_back(m.Msg);
      if (m.Msg == kFail) throw EInvalidOperation("window failed");
      m.Result = DefWindowProcA(Window, m.Msg, m.WParam, m.LParam);
    }
  } failing;
  struct TLog {
    std::vector<std::string> Messages;
    void OnException(TObject*, Exception& e) { Messages.push_back(e.GetMessage()); }
  } log;
  Application->OnException = TExceptionEvent(&log, &TLog::OnException);
  failing.Window = AllocateHWnd(TWndMethod(&failing, &TFailing::Proc));

  LRESULT result = -1;
  EXPECT_NO_THROW(result = SendMessageA(failing.Window, kFail, 0, 0));
  EXPECT_EQ(result, 0);
  EXPECT_EQ(log.Messages, std::vector<std::string>{"window failed"});

  PostMessageA(failing.Window, kFail, 0, 0);
  PostMessageA(failing.Window, kLate, 0, 0);
  EXPECT_NO_THROW(forms_test::PumpApplication(2));
  EXPECT_EQ(log.Messages, (std::vector<std::string>{"window failed", "window failed"}));
  EXPECT_EQ(failing.Seen, (std::vector<UINT>{kFail, kFail, kLate}));
  DeallocateHWnd(failing.Window);
}

}  // namespace
