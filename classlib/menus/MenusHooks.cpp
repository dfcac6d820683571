#include "classlib/menus/MenusHooks.h"

TMenusHooks& MenusHooks() {
  static TMenusHooks hooks;
  return hooks;
}
