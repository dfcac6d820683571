// Helpers of the framed combo box tests: keystrokes sent to the window that
// takes them (the edit part or the combo box itself), the events a combo box
// fires, and a combo box that counts its refused keys.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kx/controls/KxCmboBx.h"
#include "tests/kx/controls/KxControlsTestSupport.h"
#include "tests/kx/foundation/KxListTestSupport.h"

namespace kxc_test {

// A combo box that counts the keys it refused (it beeps for them).
class TCountingCombo : public TKxComboBox {
  DECLARE_CLASS(TCountingCombo, TKxComboBox)
  using TKxComboBox::TKxComboBox;
  int Refused = 0;
  void InvalidKeyPressed() override {
    ++Refused;
    inherited::InvalidKeyPressed();
  }
};

// The window a typed character reaches: the edit part, or the combo box.
inline HWND KeyWindow(TKxCustomComboBox* combo) {
  combo->HandleNeeded();
  return combo->GetEditHandle() ? combo->GetEditHandle() : combo->GetHandle();
}

// Characters as the keyboard's WM_CHAR messages to the window that takes
// them (the control's own handling included).
inline void TypeChars(TKxCustomComboBox* combo, const std::string& text) {
  HWND w = KeyWindow(combo);
  for (char c : text) SendMessageA(w, WM_CHAR, static_cast<unsigned char>(c), 1);
}

// A key as WM_KEYDOWN, then its character when it has one.
inline void PressKey(TKxCustomComboBox* combo, WORD vk, char ch = 0) {
  HWND w = KeyWindow(combo);
  SendMessageA(w, WM_KEYDOWN, vk, 1);
  if (ch) SendMessageA(w, WM_CHAR, static_cast<unsigned char>(ch), 1);
  SendMessageA(w, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
}

// The edit part's selection as (start, end).
inline std::pair<int, int> EditSel(TKxCustomComboBox* combo) {
  DWORD start = 0, end = 0;
  SendMessageA(combo->GetHandle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

// The Click, Change and OnMatch events of a combo box, in order.
struct TComboEvents {
  std::vector<std::string> Log;
  void Attach(TKxCustomComboBox* combo) {
    combo->SetOnClick(TNotifyEvent(this, &TComboEvents::Clicked));
    combo->SetOnChange(TNotifyEvent(this, &TComboEvents::Changed));
    combo->SetOnMatch(TNotifyEvent(this, &TComboEvents::Matched));
  }
  void Clicked(TObject*) { Log.push_back("click"); }
  void Changed(TObject*) { Log.push_back("change"); }
  void Matched(TObject*) { Log.push_back("match"); }
  int Count(const std::string& what) const {
    int n = 0;
    for (const auto& s : Log) n += s == what;
    return n;
  }
};

}  // namespace kxc_test
