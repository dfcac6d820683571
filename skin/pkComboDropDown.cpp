#include "skin/pkComboDropDown.h"

namespace {
UINT& Message() {
  static UINT message = 0;
  return message;
}
}  // namespace

UINT GetPkComboDropDownMessage() { return Message(); }

void InitializePkComboDropDown() { Message() = RegisterWindowMessageA("PKCOMBODROPDOWNMESSAGE"); }

void FinalizePkComboDropDown() { Message() = 0; }
