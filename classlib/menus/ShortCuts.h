// Menu shortcuts and captions: packing a key with its shift state, the
// shortcut's text ("Ctrl+S", "Shift+Del", "F5") and back, and accelerator
// marks. GetHotkey (the accelerator character) lives in the Controls unit.
#pragma once

#include <string>

#include "classlib/menus/MenuTypes.h"

// The key (a virtual key below 256) with the modifiers of shift; a key above
// 255 gives 0.
TShortCut ShortCut(WORD key, TShiftState shift);
// Splits a shortcut into its key and its shift state.
void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift);
// "Shift+", "Ctrl+", "Alt+" (in that order) and the key's name: the fixed
// names ("BkSp", "Tab", "Enter", "Esc", "Space", "PgUp", "PgDn", "End",
// "Home", "Left", "Up", "Right", "Down", "Ins", "Del"), the digit or letter,
// "F1".."F24", or the keyboard's own name of any other key. "" when the key
// has no name.
std::string ShortCutToText(TShortCut shortCut);
// The inverse: leading "Shift+", "Ctrl+" (or "^") and "Alt+" in any order
// and case, then a key name as ShortCutToText writes it (case ignored);
// 0 when the name is no key's.
TShortCut TextToShortCut(const std::string& text);
// The caption without its accelerator marks ("&&" keeps one "&"); on a
// Far-East system a mark written "(&X)" goes as a whole.
std::string StripHotkey(const std::string& text);
