// The skin library's window message for its drop-down controls, registered
// by name at start-up so that every process agrees on its number.
#pragma once

#include "classlib/Win.h"

// RegisterWindowMessageA("PKCOMBODROPDOWNMESSAGE"); 0 before start-up.
UINT GetPkComboDropDownMessage();

void InitializePkComboDropDown();
void FinalizePkComboDropDown();
