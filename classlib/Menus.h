// The Menus unit: menu items, main and pop-up menus, the pop-up list, and
// shortcuts.
#pragma once

#include "classlib/menus/Menu.h"
#include "classlib/menus/MenuItem.h"
#include "classlib/menus/MenuMessages.h"
#include "classlib/menus/MenuTypes.h"
#include "classlib/menus/MenusUnit.h"
#include "classlib/menus/PopupList.h"
#include "classlib/menus/ShortCuts.h"
