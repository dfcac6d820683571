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

// The class library's restored value, under the name the menu files knew.
template <class T>
using TRestore = ::TRestore<T>;

}  // namespace vox_menus
