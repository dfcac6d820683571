// TTimer: its timer goes through the seam and fires by WM_TIMER to its own
// window.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Seams.h"

namespace {

struct TTimerCalls {
  std::vector<UINT> Set;  // intervals
  int Killed = 0;
  HWND Window = nullptr;
};

class TimerTest : public ::testing::Test {
 protected:
  TimerTest()
      : set_(Seams().SetTimer,
             [this](HWND h, UINT_PTR id, UINT elapse) -> UINT_PTR {
               calls.Window = h;
               calls.Set.push_back(elapse);
               return refuse ? 0 : id;
             }),
        kill_(Seams().KillTimer, [this](HWND, UINT_PTR) {
          ++calls.Killed;
          return TRUE;
        }) {}
  struct TTicker {
    int Ticks = 0;
    void Tick(TObject*) { ++Ticks; }
  };
  TTimerCalls calls;
  bool refuse = false;
  TTicker ticker;

 private:
  TSeamOverride<decltype(Seams().SetTimer)> set_;
  TSeamOverride<decltype(Seams().KillTimer)> kill_;
};

TEST_F(TimerTest, RunsOnlyWhenEnabledWithAnIntervalAndAHandler) {
  auto* timer = New<TTimer>(nullptr);
  EXPECT_TRUE(timer->GetEnabled());
  EXPECT_EQ(timer->GetInterval(), 1000u);
  EXPECT_TRUE(calls.Set.empty());  // no handler yet
  timer->SetOnTimer(TNotifyEvent(&ticker, &TTicker::Tick));
  ASSERT_EQ(calls.Set, std::vector<UINT>{1000});
  ASSERT_TRUE(IsWindow(calls.Window));
  SendMessageA(calls.Window, WM_TIMER, 1, 0);
  SendMessageA(calls.Window, WM_TIMER, 1, 0);
  EXPECT_EQ(ticker.Ticks, 2);

  timer->SetInterval(250);
  EXPECT_EQ(calls.Set.back(), 250u);
  calls.Set.clear();
  timer->SetEnabled(false);
  timer->SetInterval(0);
  timer->SetEnabled(true);
  EXPECT_TRUE(calls.Set.empty());
  timer->SetInterval(40);
  EXPECT_EQ(calls.Set, std::vector<UINT>{40});

  int killedBefore = calls.Killed;
  HWND window = calls.Window;
  timer->Free();
  EXPECT_GT(calls.Killed, killedBefore);
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(TimerTest, ARestartIsOneKillAndOneSet) {
  // Each timer call is a round trip to the window server; a timer that is
  // restarted at every keystroke must not pay more than stopping it and
  // starting it, and a stopped timer must not stay set.
  Owned<TTimer> timer(New<TTimer>(nullptr));
  timer->SetOnTimer(TNotifyEvent(&ticker, &TTicker::Tick));
  EXPECT_EQ(calls.Set, std::vector<UINT>{1000});
  int killed = calls.Killed;
  timer->SetEnabled(false);
  EXPECT_EQ(calls.Killed, killed + 1);
  timer->SetEnabled(true);
  EXPECT_EQ(calls.Set, (std::vector<UINT>{1000, 1000}));
  EXPECT_EQ(calls.Killed, killed + 1);
  timer->SetInterval(300);  // SetTimer on the same identifier replaces the timer
  EXPECT_EQ(calls.Set, (std::vector<UINT>{1000, 1000, 300}));
  EXPECT_EQ(calls.Killed, killed + 1);
  timer->SetInterval(0);
  EXPECT_EQ(calls.Killed, killed + 2);
  refuse = true;
  EXPECT_THROW(timer->SetInterval(500), EOutOfResources);
  refuse = false;
  EXPECT_EQ(calls.Killed, killed + 3) << "a refused timer leaves none set";
}

TEST_F(TimerTest, NoTimerLeftRaisesOutOfResources) {
  Owned<TTimer> timer(New<TTimer>(nullptr));
  refuse = true;
  try {
    timer->SetOnTimer(TNotifyEvent(&ticker, &TTicker::Tick));
    ADD_FAILURE() << "no exception";
  } catch (const EOutOfResources& e) {
    EXPECT_EQ(e.GetMessage(), "Not enough timers available");
  }
}

TEST_F(TimerTest, StoredPropertiesAndDefaults) {
  Owned<TTimer> timer(New<TTimer>(nullptr));
  EXPECT_TRUE(IsDefaultPropValue(timer.get(), GetPropInfo(timer.get(), "Interval")));
  timer->SetInterval(250);
  EXPECT_FALSE(IsDefaultPropValue(timer.get(), GetPropInfo(timer.get(), "Interval")));
  EXPECT_EQ(GetClass("TTimer"), TTimer::StaticClass());
}

}  // namespace
