// Helpers of the framed list box, check list and bordered control tests:
// window timers held by the test (fired by WM_TIMER, never waited for), a
// shown host with a container that reflects owner drawing, and an item's
// drawing printed into a DIB.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Seams.h"
#include "tests/classlib/ControlTestSupport.h"

namespace kx_test {

// Every window timer set while the object lives, by window: a test fires
// the ones of an interval (the 1500 ms search reset, the LED's scroll tick).
// The clock stands still meanwhile: Pass moves it on, and a timer fires at
// its own time (when it was set, or last fired, plus its interval), as a
// window timer does.
class TFakeTimers {
 public:
  TFakeTimers()
      : now_(GetTickCount()),
        tick_(Seams().TickCount, [this] { return now_; }),
        set_(Seams().SetTimer,
             [this](HWND h, UINT_PTR id, UINT elapse) -> UINT_PTR {
               live_[{h, id}] = {elapse, now_};
               return id;
             }),
        kill_(Seams().KillTimer, [this](HWND h, UINT_PTR id) {
          live_.erase({h, id});
          return TRUE;
        }) {}

  bool Running(UINT interval) const {
    for (const auto& [key, timer] : live_)
      if (timer.Elapse == interval) return true;
    return false;
  }
  // Sends WM_TIMER to every running timer of that interval; how many.
  int Fire(UINT interval) {
    std::vector<std::pair<HWND, UINT_PTR>> due;
    for (const auto& [key, timer] : live_)
      if (timer.Elapse == interval) due.push_back(key);
    for (const auto& key : due) {
      auto it = live_.find(key);
      if (it == live_.end()) continue;
      DWORD at = it->second.SetAt + it->second.Elapse;
      if (static_cast<LONG>(at - now_) > 0) now_ = at;
      it->second.SetAt = now_;  // the period starts again
      SendMessageA(key.first, WM_TIMER, key.second, 0);
    }
    return static_cast<int>(due.size());
  }
  // Time passes without a timer firing.
  void Pass(DWORD ms) { now_ += ms; }

 private:
  struct TLive {
    UINT Elapse;
    DWORD SetAt;
  };
  DWORD now_;
  TSeamOverride<decltype(Seams().TickCount)> tick_;
  std::map<std::pair<HWND, UINT_PTR>, TLive> live_;
  TSeamOverride<decltype(Seams().SetTimer)> set_;
  TSeamOverride<decltype(Seams().KillTimer)> kill_;
};

// A shown host window with a container control on it: the container
// reflects WM_DRAWITEM to the list, as a form does.
class THostedContainer {
 public:
  THostedContainer(int width = 300, int height = 240) {
    host_.Show();
    container_ = New<TPanel>(nullptr);
    container_->SetBevelOuter(bvNone);
    container_->SetBounds(0, 0, width, height);
    container_->SetParentWindow(host_.Handle());
    container_->HandleNeeded();
    ShowWindow(container_->GetHandle(), SW_SHOWNOACTIVATE);
  }
  ~THostedContainer() { container_->Free(); }
  THostedContainer(const THostedContainer&) = delete;
  THostedContainer& operator=(const THostedContainer&) = delete;
  TWinControl* Control() const { return container_; }

 private:
  controls_test::THostWindow host_;
  TPanel* container_ = nullptr;
};

// The list's client area as the window paints it (WM_PRINTCLIENT: the
// background, then every visible item through owner drawing).
inline void PrintClient(TWinControl* list, const controls_test::TDib& dib) {
  SendMessageA(list->GetHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dib.DC()), 0);
  SendMessageA(list->GetHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.DC()), PRF_CLIENT);
}

// How many pixels of a rectangle of the DIB have the colour.
inline int CountColour(const controls_test::TDib& dib, const RECT& r, COLORREF colour) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (dib.Pixel(x, y) == colour) ++n;
  return n;
}

inline COLORREF Rgb(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)); }

}  // namespace kx_test
