// Window procedures bound to objects: an executable thunk per method.
//
// A thunk is "mov rcx, <instance record>; mov rax, <StdWndProc>; jmp rax": it
// replaces the window handle argument by its record and jumps (no frame of
// its own), so the method may free the thunk while it runs. StdWndProc copies
// the method out of the record before calling it and touches neither the
// record nor the object afterwards.
#pragma once

#include "classlib/controls/ControlTypes.h"

// Raises EOutOfResources when no executable memory can be had.
WNDPROC MakeObjectInstance(const TWndMethod& method);
// Returns the thunk to the pool; null is ignored.
void FreeObjectInstance(WNDPROC instance);

// A hidden WS_POPUP tool window ("TPUtilWindow") whose procedure calls method
// (the platform's AllocateHWnd): timers, the pop-up list and other
// non-visual objects receive their window messages through one. Raises
// EOSError when the window cannot be made.
HWND AllocateHWnd(const TWndMethod& method);
// Destroys the window and its method's thunk; null is ignored.
void DeallocateHWnd(HWND window);
