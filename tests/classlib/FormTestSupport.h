// Helpers of the Forms tests: a fresh application object per test, a
// bounded pump that never waits, and the way to end a modal loop.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "classlib/Forms.h"

namespace forms_test {

// Replaces the global application with a new one for the life of the
// object (as the start-up makes it: hints on), so that a test may run the
// loop, make a main form and terminate without touching the next test.
class TFreshApplication {
 public:
  TFreshApplication() : saved_(Application) {
    Application = New<TApplication>(nullptr);
    Application->SetShowHint(true);
  }
  ~TFreshApplication() {
    Application->Free();
    Application = saved_;
    // What the test left queued (a WM_QUIT among it) goes with it.
    MSG msg;
    for (int i = 0; i < 200 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i)
      if (msg.message != WM_QUIT) DispatchMessageA(&msg);
  }
  TFreshApplication(const TFreshApplication&) = delete;
  TFreshApplication& operator=(const TFreshApplication&) = delete;

 private:
  TApplication* saved_;
};

// Runs the application's loop a bounded number of rounds: every queued
// message, then one Idle that does not wait.
inline void PumpApplication(int rounds = 10) {
  auto saved = Application->GetIdleHook();
  Application->SetIdleHook([saved](bool& done) {
    if (saved) saved(done);
    done = false;
  });
  for (int i = 0; i < rounds; ++i) {
    Application->ProcessMessages();
    MSG msg{};
    Application->Idle(msg);
  }
  Application->SetIdleHook(saved);
}

// Ends the innermost modal loop with result at its first idle moment: the
// idle hook sets the modal form's ModalResult (and keeps the loop from
// waiting). Installed for the life of the object.
class TEndModal {
 public:
  explicit TEndModal(TModalResult result) : saved_(Application->GetIdleHook()) {
    Application->SetIdleHook([result](bool& done) {
      TCustomForm* form = Screen->GetFocusedForm();
      if (form && form->GetFormState().Contains(fsModal) && form->GetModalResult() == mrNone)
        form->SetModalResult(result);
      done = false;
    });
  }
  ~TEndModal() { Application->SetIdleHook(saved_); }
  TEndModal(const TEndModal&) = delete;
  TEndModal& operator=(const TEndModal&) = delete;

 private:
  std::function<void(bool&)> saved_;
};

// Moves the real mouse (SendInput) to a screen point.
inline void MoveMouseTo(POINT p) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

// Presses or releases the real left mouse button (SendInput) where the
// cursor is.
inline void LeftButton(bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
}

// Presses and releases a key of the real keyboard (SendInput).
inline void TypeKey(WORD vk) {
  INPUT in[2]{};
  in[0].type = INPUT_KEYBOARD;
  in[0].ki.wVk = vk;
  in[1] = in[0];
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
}

// Types a key with Ctrl (or another modifier) held on the real keyboard.
inline void TypeChord(WORD modifier, WORD vk) {
  const WORD keys[4] = {modifier, vk, vk, modifier};
  INPUT in[4]{};
  for (int i = 0; i < 4; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = keys[i];
    if (i >= 2) in[i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  SendInput(4, in, sizeof(INPUT));
}

}  // namespace forms_test
