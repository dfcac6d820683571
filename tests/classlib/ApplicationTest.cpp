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

// A hint window that tells when the loop asks it about a message.
std::vector<std::string>* gLoopLog = nullptr;
class TLoggingHintWindow : public THintWindow {
  DECLARE_CLASS(TLoggingHintWindow, THintWindow)
  explicit TLoggingHintWindow(TComponent* owner) : THintWindow(owner) {}
  bool IsHintMsg(const MSG& msg) override {
    if (gLoopLog && msg.message == WM_KEYDOWN) gLoopLog->push_back("IsHintMsg");
    return inherited::IsHintMsg(msg);
  }
};
IMPLEMENT_CLASS(TLoggingHintWindow)

// A window control that logs the key messages it gets.
class TKeyLogger : public TWinControl {
  DECLARE_CLASS(TKeyLogger, TWinControl)
  explicit TKeyLogger(TComponent* owner) : TWinControl(owner) {}
  void WndProc(TMessage& m) override {
    if (gLoopLog && m.Msg == CN_KEYDOWN) gLoopLog->push_back("CN_KEYDOWN");
    if (gLoopLog && m.Msg == WM_KEYDOWN) gLoopLog->push_back("WM_KEYDOWN");
    inherited::WndProc(m);
  }
};
IMPLEMENT_CLASS(TKeyLogger)

TEST(ApplicationTest, TheLoopAsksOnMessageThenTheHintThenTheControlThenDispatches) {
  THintWindowClass savedClass = HintWindowClass;
  HintWindowClass = TLoggingHintWindow::StaticClass();
  TFreshApplication app;
  HintWindowClass = savedClass;
  std::vector<std::string> log;
  gLoopLog = &log;
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* control = New<TKeyLogger>(form.get());
  control->SetParent(form.get());
  struct TOnMessage {
    std::vector<std::string>* Log;
    bool Handle = false;
    void Message(MSG& msg, bool& handled) {
      if (msg.message != WM_KEYDOWN) return;
      Log->push_back("OnMessage");
      handled = Handle;
    }
  } onMessage{&log};
  Application->OnMessage = TMessageEvent(&onMessage, &TOnMessage::Message);
  struct Case {
    bool handled;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      // The control hears the key as CN_KEYDOWN first (IsKeyMsg), then as
      // the dispatched WM_KEYDOWN.
      {false, {"OnMessage", "IsHintMsg", "CN_KEYDOWN", "WM_KEYDOWN"}},
      // A message OnMessage handles still ends a hint, and goes no further.
      {true, {"OnMessage", "IsHintMsg"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.handled);
    log.clear();
    onMessage.Handle = c.handled;
    PostMessageA(control->GetHandle(), WM_KEYDOWN, 'A', 1);
    Application->ProcessMessages();
    EXPECT_EQ(log, c.expected);
  }
  gLoopLog = nullptr;
}

TEST(ApplicationTest, HookedProceduresSeeTheApplicationWindowsMessagesFirst) {
  TFreshApplication app;
  struct THook {
    std::vector<UINT> Seen;
    bool Take = true;
    bool Hook(TMessage& m) {
      if (m.Msg != WM_ACTIVATEAPP) return false;
      Seen.push_back(m.Msg);
      return Take;
    }
  } first, second;
  int activations = 0;
  struct TEvents {
    int* Count;
    void Deactivate(TObject*) { ++*Count; }
  } events{&activations};
  Application->OnDeactivate = TNotifyEvent(&events, &TEvents::Deactivate);
  Application->HookMainWindow(TWindowHook(&first, &THook::Hook));
  Application->HookMainWindow(TWindowHook(&second, &THook::Hook));
  HWND h = Application->GetHandle();
  // The first hook takes the message: the second and the application's own
  // handling never see it.
  SendMessageA(h, WM_ACTIVATEAPP, FALSE, 0);
  PumpApplication(2);
  EXPECT_EQ(first.Seen.size(), 1u);
  EXPECT_TRUE(second.Seen.empty());
  EXPECT_TRUE(Application->GetActive());
  EXPECT_EQ(activations, 0);
  // Unhooked, the next one goes on to the second hook, which lets it pass.
  Application->UnhookMainWindow(TWindowHook(&first, &THook::Hook));
  second.Take = false;
  SendMessageA(h, WM_ACTIVATEAPP, FALSE, 0);
  PumpApplication(2);
  EXPECT_EQ(first.Seen.size(), 1u);
  EXPECT_EQ(second.Seen.size(), 1u);
  EXPECT_FALSE(Application->GetActive());
  EXPECT_EQ(activations, 1);
  Application->UnhookMainWindow(TWindowHook(&second, &THook::Hook));
}

TEST(ApplicationTest, IdleRunsOnIdleAndUpdatesTheActionsOfVisibleForms) {
  TFreshApplication app;
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBorderStyle(bsNone);
  auto* list = New<TActionList>(form.get());
  auto* action = New<TAction>(form.get());
  action->SetActionList(list);
  auto* control = New<TKeyLogger>(form.get());
  control->SetParent(form.get());
  control->SetAction(action);
  struct TCounts {
    int Idles = 0;
    int Updates = 0;
    void Idle(TObject*, bool&) { ++Idles; }
    void Update(TObject*) { ++Updates; }
  } counts;
  Application->OnIdle = TIdleEvent(&counts, &TCounts::Idle);
  action->SetOnUpdate(TNotifyEvent(&counts, &TCounts::Update));
  // One idle as the loop has it (OnIdle leaves Done true, so the actions are
  // updated), its wait cut short by a message posted meanwhile.
  auto idleOnce = [] {
    Application->ProcessMessages();
    Application->SetIdleHook([](bool&) { PostMessageA(Application->GetHandle(), WM_NULL, 0, 0); });
    MSG msg{};
    Application->Idle(msg);
    Application->SetIdleHook(nullptr);
  };
  idleOnce();
  EXPECT_EQ(counts.Idles, 1);
  EXPECT_EQ(counts.Updates, 0);  // the form is hidden
  form->Show();
  idleOnce();
  EXPECT_EQ(counts.Idles, 2);
  EXPECT_EQ(counts.Updates, 1);
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
