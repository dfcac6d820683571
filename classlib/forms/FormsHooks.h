// The Forms unit's side of the cross-unit hook tables: the entries of
// TControlsHooks (controls/ControlsHooks.h) and TMenusHooks
// (menus/MenusHooks.h) that need a form, the application or the screen.
// The Menus unit fills the Controls entries about pop-up menus itself
// (InitializeMenus in menus/MenusUnit.cpp).
#pragma once

// At the Forms unit's start-up, before the screen and the application exist.
void FillFormsHooks();
// At its finalisation, after both are gone: the entries it filled, emptied.
void ClearFormsHooks();
