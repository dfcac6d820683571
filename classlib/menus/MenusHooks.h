// What the Menus unit asks of the units built on it (the form's shortcuts,
// the application's hint, the screen's menu font). The Forms unit fills the
// table at its start-up and clears it at its finalisation: see
// forms/FormsHooks.cpp. An empty entry gives the behaviour of a menu in a
// program without forms.
#pragma once

#include <functional>
#include <string>

#include "classlib/Messages.h"

class TCustomForm;
class TFont;

struct TMenusHooks {
  // The form's own shortcut handling (the platform's TCustomForm.IsShortCut:
  // OnShortCut, its Menu, its action lists) for a key of one of its
  // controls, after the pop-up menus of the control and its parents; true
  // when the form took the key.
  std::function<bool(TCustomForm* form, TMessage& keyMessage)> FormIsShortCut;
  // Application->Hint := hint (an item of a pop-up menu was selected).
  std::function<void(const std::string& hint)> SetApplicationHint;
  // Screen->MenuFont, the font of owner-drawn pop-up items. Default: the
  // system's menu font.
  std::function<TFont*()> MenuFont;
};

// The process's table; the Forms unit fills it at its start-up
// (forms/FormsHooks.cpp).
TMenusHooks& MenusHooks();
