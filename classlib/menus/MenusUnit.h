// Start-up of the Menus unit, what it asks of the units above it, and the
// helpers that build menus in code.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>

#include "classlib/menus/Menu.h"
#include "classlib/menus/MenusHooks.h"

// The font owner-drawn items are drawn in (the hook's, or the system's menu
// font).
TFont* MenuFont();

// The Controls unit's IsMenuKey: the pop-up menus of the control and its
// parents, then the form (MenusHooks().FormIsShortCut), then CM_APPKEYDOWN
// to the application; true when one of them took the key.
bool IsMenuKey(TWinControl* control, TMessage& keyMessage);

// Menus built in code. The items have no owner; the menu frees them.
TMainMenu* NewMenu(TComponent* owner, const std::string& name, std::initializer_list<TMenuItem*> items);
TPopupMenu* NewPopupMenu(TComponent* owner, const std::string& name, TPopupAlignment alignment, bool autoPopup,
                         std::initializer_list<TMenuItem*> items);
TMenuItem* NewSubMenu(const std::string& caption, int helpContext, const std::string& name,
                      std::initializer_list<TMenuItem*> items, bool enabled = true);
TMenuItem* NewItem(const std::string& caption, TShortCut shortCut, bool checked, bool enabled, TNotifyEvent onClick,
                   int helpContext, const std::string& name);
TMenuItem* NewLine();

// The Menus unit's start-up entry: the pop-up list, the stored-form classes,
// the Controls unit's menu hooks; finalisation undoes them.
void InitializeMenus();
void FinalizeMenus();
