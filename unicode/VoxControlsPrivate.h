// What the VoxControls files share among themselves.
#pragma once

#include <string>

#include "classlib/Contnrs.h"
#include "unicode/VoxControls.h"

namespace vox_controls {

// Owns the holders; sorted by control address.
extern TComponentList* gCaptionHolders;
// Traps detached from a window whose control lives on, waiting for its next
// window; does not own them.
extern TComponentList* gPendingTraps;
// The control whose window CreateWindowExW is making (WM_NOTIFYFORMAT).
extern TWinControl* gCreatingControl;
// Set by the unit's finalisation: trap window procedures pass nothing on.
extern bool gFinalized;
// The two window-property atoms, found by name at start-up.
extern ATOM gControlAtom;
extern ATOM gWindowAtom;

// The control's holder; with create, a new one when it has none.
TWideCaptionHolder* FindWideCaptionHolder(TControl* control, bool create);
// The window's text through GetWindowTextW.
std::wstring WindowTextW(HWND window);
// Keeps the wide caption of a control without a window: the holder's
// caption, and the ANSI form as the control's text.
void StoreWideText(TControl* control, const std::wstring& value);

// The traps alive now (for the tests' leak checks).
int LiveTrapCount();

}  // namespace vox_controls
