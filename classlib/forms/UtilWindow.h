// Hidden utility windows whose messages go to a method (the platform's
// AllocateHWnd): timers and other non-visual components receive their
// window messages through one.
#pragma once

#include "classlib/controls/ControlTypes.h"

// A hidden WS_POPUP tool window whose procedure calls method. Raises
// EOSError when the window cannot be made.
HWND AllocateHWnd(const TWndMethod& method);
// Destroys the window and its method thunk; null is ignored.
void DeallocateHWnd(HWND window);
