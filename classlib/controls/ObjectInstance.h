// Window procedures bound to objects: an executable thunk per method.
//
// A thunk is "mov r10, <instance record>; mov rax, <entry>; jmp rax": it
// leaves the window procedure's arguments alone, adds its record and jumps
// (no frame of its own), so the method may free the thunk while it runs.
// The entry calls the method copied out of the record and touches neither
// the record nor the object afterwards.
//
// A freed thunk stays callable: a window, or a subclass that kept the
// thunk as the procedure it calls on, reaches the system's DefWindowProc
// through it, never another object. Its record serves a new method only
// once the window that last called it is gone.
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
