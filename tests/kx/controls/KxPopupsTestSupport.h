// Helpers of the pop-up unit's tests and of the edits that drop pop-ups:
// the format settings and today's date pinned for a test, dates written as
// tests read them, steps run while a pop-up's own loop runs, and the
// thread's windows counted.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "classlib/SysUtils.h"
#include "kx/controls/KxPopups.h"

namespace kxp_test {

// The format settings of the test locale (en-US), restored afterwards; a
// test changes the record, never the machine.
class TPinnedFormats {
 public:
  TPinnedFormats() : saved_(FormatSettings) {
    FormatSettings = TFormatSettings();
    FormatSettings.ShortDateFormat = "M/d/yyyy";
    FormatSettings.LongTimeFormat = "h:mm:ss AMPM";
    FormatSettings.DateSeparator = '/';
    FormatSettings.TimeSeparator = ':';
  }
  ~TPinnedFormats() { FormatSettings = saved_; }
  TPinnedFormats(const TPinnedFormats&) = delete;
  TPinnedFormats& operator=(const TPinnedFormats&) = delete;

 private:
  TFormatSettings saved_;
};

// The local clock stands at a fixed moment while the object lives.
class TPinnedToday {
 public:
  TPinnedToday(WORD year, WORD month, WORD day, WORD hour = 10, WORD minute = 0)
      : clock_(Seams().LocalTime, [=](SYSTEMTIME& t) {
          t = SYSTEMTIME{};
          t.wYear = year;
          t.wMonth = month;
          t.wDay = day;
          t.wHour = hour;
          t.wMinute = minute;
        }) {}

 private:
  TSeamOverride<decltype(Seams().LocalTime)> clock_;
};

// "yyyy-mm-dd" (or "0" for no date), for messages.
inline std::string Ymd(TDateTime d) {
  if (d == 0) return "0";
  return FormatDateTime("yyyy-mm-dd", d);
}
inline std::string Hms(TDateTime t) { return FormatDateTime("hh:nn:ss.zzz", t); }

// Steps run one after the other from the application's idle moments while
// a pop-up's loop runs (every few idle moments, so that real input has
// arrived before the next step). When the steps are done and the loop
// still runs after many more moments, the panel is closed and the test is
// told: no test waits for ever.
// The pop-up showing on this thread's windows, if any (for a panel that a
// control makes and frees itself).
inline TKxPopup* ShownPopup() {
  TKxPopup* found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM out) -> BOOL {
        auto* popup = dynamic_cast<TKxPopup*>(FindControl(w));
        if (popup && IsWindowVisible(w)) *reinterpret_cast<TKxPopup**>(out) = popup;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

class TPopupScript {
 public:
  // panel: the one whose loop runs, or null for whichever shows.
  TPopupScript(TKxPopupPanel* panel, std::vector<std::function<void()>> steps)
      : panel_(panel), steps_(std::move(steps)), saved_(Application->GetIdleHook()) {
    Application->SetIdleHook([this](bool& done) {
      done = false;
      if (++idles_ % 5 != 0) return;
      if (next_ < steps_.size()) {
        steps_[next_++]();
      } else if (++after_ > 400) {
        TKxPopupPanel* panel = panel_;
        if (!panel)
          if (TKxPopup* shown = ShownPopup()) panel = shown->GetPanel();
        if (panel && panel->GetActive()) {
          stuck_ = true;
          panel->Close(nullptr);
        }
      }
    });
  }
  ~TPopupScript() { Application->SetIdleHook(saved_); }
  TPopupScript(const TPopupScript&) = delete;
  TPopupScript& operator=(const TPopupScript&) = delete;
  size_t StepsRun() const { return next_; }
  bool Stuck() const { return stuck_; }

 private:
  TKxPopupPanel* panel_;
  std::vector<std::function<void()>> steps_;
  std::function<void(bool&)> saved_;
  size_t next_ = 0;
  int idles_ = 0;
  int after_ = 0;
  bool stuck_ = false;
};

inline int ThreadWindows() {
  int n = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND, LPARAM counter) -> BOOL {
        ++*reinterpret_cast<int*>(counter);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  return n;
}

}  // namespace kxp_test
