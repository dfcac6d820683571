// Shortcuts and captions: the key names of the platform, both ways, and
// accelerator marks.
#include <gtest/gtest.h>

#include "classlib/Menus.h"

namespace {

TEST(MenuShortCutTest, TextOfShortCutsAndBack) {
  struct Case {
    TShortCut shortCut;
    const char* text;
  };
  const Case cases[] = {
      {ShortCut('S', {ssCtrl}), "Ctrl+S"},
      {ShortCut(VK_DELETE, {ssShift}), "Shift+Del"},
      {ShortCut(VK_INSERT, {ssCtrl}), "Ctrl+Ins"},
      {ShortCut(VK_F1, {}), "F1"},
      {ShortCut(VK_F24, {ssAlt}), "Alt+F24"},
      {ShortCut('Z', {ssShift, ssCtrl, ssAlt}), "Shift+Ctrl+Alt+Z"},
      {ShortCut('0', {ssAlt}), "Alt+0"},
      {ShortCut(VK_BACK, {ssAlt}), "Alt+BkSp"},
      {ShortCut(VK_TAB, {ssCtrl}), "Ctrl+Tab"},
      {ShortCut(VK_RETURN, {}), "Enter"},
      {ShortCut(VK_ESCAPE, {}), "Esc"},
      {ShortCut(VK_SPACE, {ssCtrl}), "Ctrl+Space"},
      {ShortCut(VK_PRIOR, {}), "PgUp"},
      {ShortCut(VK_NEXT, {}), "PgDn"},
      {ShortCut(VK_END, {}), "End"},
      {ShortCut(VK_HOME, {}), "Home"},
      {ShortCut(VK_LEFT, {}), "Left"},
      {ShortCut(VK_UP, {}), "Up"},
      {ShortCut(VK_RIGHT, {}), "Right"},
      {ShortCut(VK_DOWN, {ssShift}), "Shift+Down"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ShortCutToText(c.shortCut), c.text);
    EXPECT_EQ(TextToShortCut(c.text), c.shortCut);
  }
  // The numeric pad's digits read as the digits; the text names the main
  // keyboard's key.
  EXPECT_EQ(ShortCutToText(ShortCut(VK_NUMPAD7, {ssCtrl})), "Ctrl+7");
  EXPECT_EQ(TextToShortCut("Ctrl+7"), ShortCut('7', {ssCtrl}));
}

TEST(MenuShortCutTest, TextIsReadWithoutRegardToCaseAndWithCaretForCtrl) {
  EXPECT_EQ(TextToShortCut("ctrl+shift+a"), ShortCut('A', {ssCtrl, ssShift}));
  EXPECT_EQ(TextToShortCut("^S"), ShortCut('S', {ssCtrl}));
  EXPECT_EQ(TextToShortCut("alt+f4"), ShortCut(VK_F4, {ssAlt}));
  EXPECT_EQ(TextToShortCut("DEL"), ShortCut(VK_DELETE, {}));
  EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
  EXPECT_EQ(TextToShortCut(""), 0);
  EXPECT_EQ(TextToShortCut("Ctrl+NoSuchKey"), 0);
}

TEST(MenuShortCutTest, PackingAndUnpacking) {
  EXPECT_EQ(ShortCut('S', {ssCtrl}), 0x4000 | 'S');
  EXPECT_EQ(ShortCut(0x100, {ssCtrl}), 0);  // not a key of a shortcut
  WORD key = 0;
  TShiftState shift;
  ShortCutToKey(ShortCut(VK_F5, {ssShift, ssAlt}), key, shift);
  EXPECT_EQ(key, VK_F5);
  EXPECT_EQ(shift, (TShiftState{ssShift, ssAlt}));
  EXPECT_EQ(ShortCutToText(0), "");
}

TEST(MenuShortCutTest, StripHotkeyRemovesMarksAndKeepsDoubledAmpersands) {
  struct Case {
    const char* caption;
    const char* stripped;
  };
  const Case cases[] = {
      {"&File", "File"}, {"E&xit", "Exit"}, {"Save && &Send", "Save & Send"}, {"&&", "&"},
      {"Trailing&", "Trailing"}, {"No marks", "No marks"}, {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    EXPECT_EQ(StripHotkey(c.caption), c.stripped);
  }
}

}  // namespace
