// What the VoxMenus files share among themselves.
#pragma once

#include "classlib/Scopes.h"
#include "unicode/VoxMenus.h"

namespace vox_menus {

// A top-level item of a main menu (on its bar).
bool IsTopLevelOfMainMenu(const TMenuItem* item, TMenu* menu);
// UpdateMenuString of the wide items of item's tree, children first and
// from the last to the first; items being read or destroyed are skipped
// with their children.
void UpdateMenuStrings(TMenuItem* item, TMenu* menu);

}  // namespace vox_menus
