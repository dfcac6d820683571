// What the VoxMenus files share among themselves.
#pragma once

#include "unicode/VoxMenus.h"

namespace vox_menus {

// A top-level item of a main menu (on its bar).
bool IsTopLevelOfMainMenu(const TMenuItem* item, TMenu* menu);
// UpdateMenuString of the wide items of item's tree, children first and
// from the last to the first; items being read or destroyed are skipped
// with their children.
void UpdateMenuStrings(TMenuItem* item, TMenu* menu);

// Restores a value when the scope ends, also on an exception.
template <class T>
class TRestore {
 public:
  TRestore(T& ref, T value) : ref_(ref), saved_(ref) { ref_ = value; }
  ~TRestore() { ref_ = saved_; }
  TRestore(const TRestore&) = delete;
  TRestore& operator=(const TRestore&) = delete;

 private:
  T& ref_;
  T saved_;
};

}  // namespace vox_menus
