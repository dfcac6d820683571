#include "classlib/extctrls/Timer.h"

#include "classlib/Seams.h"
#include "classlib/controls/ControlsHooks.h"
#include "classlib/controls/ObjectInstance.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
}  // namespace

PUBLISHED(TTimer) {
  p.Prop("Enabled", &TTimer::GetEnabled, &TTimer::SetEnabled).Default(true);
  p.Prop("Interval", &TTimer::GetInterval, &TTimer::SetInterval).Default(1000);
  p.Prop("OnTimer", &TTimer::GetOnTimer, &TTimer::SetOnTimer);
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  window_ = AllocateHWnd(TWndMethod(this, &TTimer::WndProc));
}

void TTimer::Destroy() {
  enabled_ = false;
  UpdateTimer();
  DeallocateHWnd(window_);
  window_ = nullptr;
  inherited::Destroy();
}

void TTimer::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  UpdateTimer();
}

void TTimer::SetInterval(uint32_t v) {
  if (interval_ == v) return;
  interval_ = v;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent v) {
  onTimer_ = v;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (!window_) return;
  // Each timer call is a round trip to the window server (Wine's server),
  // and a timer restarted at every keystroke pays them per key: SetTimer on
  // an identifier already set replaces that timer and starts its interval
  // again, so no KillTimer goes before it.
  if (interval_ != 0 && enabled_ && onTimer_) {
    if (Seams().SetTimer(window_, kTimerId, interval_) != 0) return;
    Seams().KillTimer(window_, kTimerId);
    throw EOutOfResources("Not enough timers available");
  }
  Seams().KillTimer(window_, kTimerId);
}

void TTimer::Timer() {
  if (onTimer_) onTimer_(this);
}

void TTimer::WndProc(TMessage& m) {
  if (m.Msg == WM_TIMER) {
    try {
      Timer();
    } catch (...) {
      ControlsHandleException(this);
    }
  } else {
    m.Result = DefWindowProcA(window_, m.Msg, m.WParam, m.LParam);
  }
}
