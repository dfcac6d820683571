// The application: its loop, exceptions, activation, the mouse tracking and
// the main form's minimising.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "tests/classlib/FormTestSupport.h"

using namespace forms_test;

namespace {

// Terminates the loop after many idle rounds, so that a fault fails the test
// instead of hanging it.
class TLoopGuard {
 public:
  TLoopGuard() {
    Application->SetIdleHook([this](bool& done) {
      done = false;
      if (++rounds_ == 5000) Application->Terminate();
    });
  }
  ~TLoopGuard() { Application->SetIdleHook(nullptr); }
  bool Expired() const { return rounds_ >= 5000; }

 private:
  int rounds_ = 0;
};

struct TExceptionLog {
  std::vector<std::string> Messages;
  std::vector<TObject*> Senders;
  void OnException(TObject* sender, Exception& e) {
    Senders.push_back(sender);
    Messages.push_back(e.GetMessage());
  }
};

TEST(ApplicationTest, AThrowingHandlerIsReportedOnceAndTheLoopGoesOn) {
  TFreshApplication app;
  TForm* main = nullptr;
  Application->CreateForm(TForm::StaticClass(), main);
  ASSERT_EQ(Application->GetMainForm(), main);

  HWND timerWindow = nullptr;
  TSeamOverride<decltype(Seams().SetTimer)> setTimer(Seams().SetTimer, [&](HWND h, UINT_PTR id, UINT) {
    timerWindow = h;
    return id;
  });
  struct TTicker {
    int Ticks = 0;
    void Tick(TObject*) {
      if (++Ticks == 1) throw EInvalidOperation("tick failed");
    }
  } ticker;
  auto* timer = New<TTimer>(main);
  timer->SetOnTimer(TNotifyEvent(&ticker, &TTicker::Tick));
  ASSERT_NE(timerWindow, nullptr);

  TExceptionLog log;
  Application->OnException = TExceptionEvent(&log, &TExceptionLog::OnException);
  PostMessageA(timerWindow, WM_TIMER, 1, 0);
  PostMessageA(timerWindow, WM_TIMER, 1, 0);
  PostMessageA(main->GetHandle(), WM_CLOSE, 0, 0);
  TLoopGuard guard;
  Application->Run();

  EXPECT_FALSE(guard.Expired());
  EXPECT_TRUE(Application->GetTerminated());
  EXPECT_EQ(log.Messages, std::vector<std::string>{"tick failed"});
  EXPECT_EQ(log.Senders, std::vector<TObject*>{timer});
  EXPECT_EQ(ticker.Ticks, 2);
}

TEST(ApplicationTest, ClosingTheMainFormEndsRun) {
  TFreshApplication app;
  TForm* main = nullptr;
  Application->CreateForm(TForm::StaticClass(), main);
  TForm* other = nullptr;
  Application->CreateForm(TForm::StaticClass(), other);
  EXPECT_EQ(Application->GetMainForm(), main);
  struct TCloser {
    int Closes = 0;
    void Close(TObject*, TCloseAction&) { ++Closes; }
  } closer;
  main->OnClose = TCloseEvent(&closer, &TCloser::Close);
  PostMessageA(other->GetHandle(), WM_CLOSE, 0, 0);  // a second form: only hidden
  PostMessageA(main->GetHandle(), WM_CLOSE, 0, 0);
  TLoopGuard guard;
  Application->Run();
  EXPECT_FALSE(guard.Expired());
  EXPECT_TRUE(Application->GetTerminated());
  EXPECT_EQ(closer.Closes, 1);
  // Run showed the main form and the application window with it.
  EXPECT_TRUE(main->GetVisible());
  EXPECT_TRUE(IsWindowVisible(Application->GetHandle()));
  EXPECT_EQ(GetWindow(main->GetHandle(), GW_OWNER), Application->GetHandle());
}

TEST(ApplicationTest, ExceptionsAreShownWithAFullStopAndEAbortIsSilent) {
  TFreshApplication app;
  std::vector<std::string> boxes;
  TSeamOverride<decltype(Seams().MessageBox)> box(
      Seams().MessageBox, [&](HWND, const std::string& text, const std::string& caption, UINT flags) {
        boxes.push_back(text);
        EXPECT_EQ(caption, Application->GetTitle());
        EXPECT_EQ(flags, UINT{MB_OK | MB_ICONSTOP});
        return IDOK;
      });
  auto report = [](auto thrower) {
    try {
      thrower();
    } catch (...) {
      Application->HandleException(nullptr);
    }
  };
  report([] { throw Exception("boom"); });
  report([] { throw Exception("stop!"); });
  report([] { throw Exception("done."); });
  report([] { throw std::runtime_error("plain"); });
  report([] { Abort(); });
  EXPECT_EQ(boxes, (std::vector<std::string>{"boom.", "stop!", "done.", "plain."}));
}

TEST(ApplicationTest, ActivationOfTheApplicationReachesItsEvents) {
  TFreshApplication app;
  struct TEvents {
    std::vector<std::string> Log;
    void Activate(TObject*) { Log.push_back("activate"); }
    void Deactivate(TObject*) { Log.push_back("deactivate"); }
  } events;
  Application->OnActivate = TNotifyEvent(&events, &TEvents::Activate);
  Application->OnDeactivate = TNotifyEvent(&events, &TEvents::Deactivate);
  SendMessageA(Application->GetHandle(), WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_FALSE(Application->GetActive());
  EXPECT_TRUE(events.Log.empty());  // posted, not sent
  PumpApplication(2);
  SendMessageA(Application->GetHandle(), WM_ACTIVATEAPP, TRUE, 0);
  EXPECT_TRUE(Application->GetActive());
  PumpApplication(2);
  EXPECT_EQ(events.Log, (std::vector<std::string>{"deactivate", "activate"}));
}

// --- with the desktop to itself -------------------------------------------------

class TMouseProbe : public TGraphicControl {
  DECLARE_CLASS(TMouseProbe, TGraphicControl)
  explicit TMouseProbe(TComponent* owner) : TGraphicControl(owner) {}
  std::vector<std::string>* Log = nullptr;
  void CMMouseEnter(TMessage& m) override {
    inherited::CMMouseEnter(m);
    Log->push_back("enter " + GetName());
  }
  void CMMouseLeave(TMessage& m) override {
    inherited::CMMouseLeave(m);
    Log->push_back("leave " + GetName());
  }
};
IMPLEMENT_CLASS(TMouseProbe)

TEST(SerialApplicationTest, MouseEnterAndLeaveReachWindowlessAndDisabledControls) {
  TFreshApplication app;
  std::vector<std::string> log;
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBorderStyle(bsNone);
  form->SetBounds(100, 100, 200, 100);
  auto probe = [&](const char* name, int left, bool enabled) {
    auto* p = New<TMouseProbe>(form.get());
    p->SetName(name);
    p->Log = &log;
    p->SetBounds(left, 10, 40, 30);
    p->SetEnabled(enabled);
    p->SetParent(form.get());
    return p;
  };
  TMouseProbe* a = probe("A", 10, true);
  TMouseProbe* b = probe("B", 60, false);
  form->Show();
  SetForegroundWindow(form->GetHandle());
  PumpApplication(3);

  MoveMouseTo(POINT{100 + 25, 100 + 20});
  PumpApplication(3);
  EXPECT_EQ(Application->GetMouseControl(), a);
  MoveMouseTo(POINT{100 + 75, 100 + 20});
  PumpApplication(3);
  EXPECT_EQ(Application->GetMouseControl(), b);
  MoveMouseTo(POINT{100 + 150, 100 + 80});
  PumpApplication(3);
  EXPECT_EQ(Application->GetMouseControl(), form.get());
  EXPECT_EQ(log, (std::vector<std::string>{"enter A", "leave A", "enter B", "leave B"}));

  MoveMouseTo(POINT{100 + 25, 100 + 20});
  PumpApplication(3);
  ASSERT_EQ(Application->GetMouseControl(), a);
  a->Free();
  EXPECT_EQ(Application->GetMouseControl(), nullptr);
}

TEST(SerialApplicationTest, ABorderlessMainFormMinimisesAndRestoresWithTheApplication) {
  TFreshApplication app;
  TForm* main = nullptr;
  Application->CreateForm(TForm::StaticClass(), main);
  main->SetBorderStyle(bsNone);
  main->SetBounds(50, 60, 200, 100);
  main->Show();
  SetForegroundWindow(main->GetHandle());
  PumpApplication(3);
  HWND app_ = Application->GetHandle();
  ASSERT_TRUE(IsWindowVisible(main->GetHandle()));
  EXPECT_EQ(GetWindowLongPtrA(main->GetHandle(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
  // The one taskbar entry is the application window's (visible, unowned, no
  // tool window); the form, owned by it, has none.
  auto taskbarEntry = [](HWND w) {
    return IsWindowVisible(w) && !GetWindow(w, GW_OWNER) &&
           !(GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  };
  EXPECT_TRUE(taskbarEntry(app_));
  EXPECT_FALSE(taskbarEntry(main->GetHandle()));

  // What the menu's minimise button sends.
  SendMessageA(main->GetHandle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  PumpApplication(3);
  EXPECT_TRUE(IsIconic(app_));
  EXPECT_TRUE(taskbarEntry(app_));
  EXPECT_FALSE(IsIconic(main->GetHandle()));
  EXPECT_FALSE(IsWindowVisible(main->GetHandle()));

  // What the taskbar button sends.
  SendMessageA(app_, WM_SYSCOMMAND, SC_RESTORE, 0);
  PumpApplication(3);
  EXPECT_FALSE(IsIconic(app_));
  EXPECT_TRUE(taskbarEntry(app_));
  EXPECT_TRUE(IsWindowVisible(main->GetHandle()));
  RECT r;
  GetWindowRect(main->GetHandle(), &r);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.top, 60);
}

}  // namespace
