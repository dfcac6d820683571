// What a window that shows menus does with their messages. The system sends
// a menu's messages to the window that shows it: a form's menu bar to the
// form, a pop-up menu to the pop-up list's window (PopupList.h). Both hand
// them to the menus here, so that both find, draw and measure items alike.
#pragma once

#include <string>

#include "classlib/menus/Menu.h"

// The item a WM_MENUSELECT names among menu's items: by sub-menu handle for
// an item with a sub-menu (the message gives its position in the menu), by
// command id otherwise; null when the menu closed (flags 0xFFFF and no
// menu) or no item of menu is named.
TMenuItem* MenuSelectItem(TMenu* menu, const TMessage& menuSelect);

// The part of a hint after the first "|" (all of it when there is none):
// what a selected menu item shows as the application's hint.
std::string MenuItemLongHint(const TMenuItem* item);

// WM_DRAWITEM of an owner-drawn item of menu: the item is drawn in the menu
// font (DrawMenuItem) on a canvas that gives the DC back as it found it.
// False when the message is not a menu's or no item of menu has its id.
bool DrawMenuItemMessage(TMenu* menu, const DRAWITEMSTRUCT* drawItem);

// WM_MEASUREITEM of an owner-drawn item of menu: measured in the menu font
// on a DC of window. False as for DrawMenuItemMessage.
bool MeasureMenuItemMessage(TMenu* menu, HWND window, MEASUREITEMSTRUCT* measureItem);
