// What the VoxControls files share among themselves.
#pragma once

#include <string>

#include "classlib/Contnrs.h"
#include "unicode/VoxControls.h"

namespace vox_controls {

// Owns the holders; sorted by control address.
extern TComponentList* gCaptionHolders;

// The control's holder; with create, a new one when it has none.
TWideCaptionHolder* FindWideCaptionHolder(TControl* control, bool create);
// The window's text through GetWindowTextW.
std::wstring WindowTextW(HWND window);

}  // namespace vox_controls
