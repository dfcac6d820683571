// TTimer: a component that fires OnTimer every Interval milliseconds while
// Enabled and assigned. It receives its WM_TIMER through a utility window
// of its own; the timer is set through the timer seam, so a test fires it
// by sending WM_TIMER to the window the seam was given.
#pragma once

#include <cstdint>

#include "classlib/Classes.h"
#include "classlib/Messages.h"

class TTimer : public TComponent {
  DECLARE_CLASS(TTimer, TComponent)

  explicit TTimer(TComponent* owner);

  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool v);
  // Milliseconds; 0 stops the timer.
  uint32_t GetInterval() const { return interval_; }
  void SetInterval(uint32_t v);
  TNotifyEvent GetOnTimer() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent v);

 protected:
  void Destroy() override;
  virtual void Timer();

 private:
  // Sets or kills the window timer after a change; raises EOutOfResources
  // "Not enough timers available" when none can be had.
  void UpdateTimer();
  void WndProc(TMessage& m);

  HWND window_ = nullptr;
  bool enabled_ = true;
  uint32_t interval_ = 1000;
  TNotifyEvent onTimer_;
};
