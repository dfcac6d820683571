// The control and notification message numbers: other libraries and stored
// programs of the platform send them by number, so they must not move.
#include <gtest/gtest.h>

#include "classlib/Messages.h"

namespace {

TEST(MessagesTest, ControlMessagesKeepThePlatformsNumbers) {
  struct Case {
    const char* name;
    UINT value;
    UINT expected;
  };
  const Case cases[] = {
      {"CM_BASE", CM_BASE, 0xB000},
      {"CM_ACTIVATE", CM_ACTIVATE, 0xB000},
      {"CM_DEACTIVATE", CM_DEACTIVATE, 0xB001},
      {"CM_CANCELMODE", CM_CANCELMODE, 0xB004},
      {"CM_DIALOGKEY", CM_DIALOGKEY, 0xB005},
      {"CM_DIALOGCHAR", CM_DIALOGCHAR, 0xB006},
      {"CM_FOCUSCHANGED", CM_FOCUSCHANGED, 0xB007},
      {"CM_HITTEST", CM_HITTEST, 0xB00A},
      {"CM_TEXTCHANGED", CM_TEXTCHANGED, 0xB012},
      {"CM_MOUSEENTER", CM_MOUSEENTER, 0xB013},
      {"CM_MOUSELEAVE", CM_MOUSELEAVE, 0xB014},
      {"CM_APPKEYDOWN", CM_APPKEYDOWN, 0xB016},
      {"CM_APPSYSCOMMAND", CM_APPSYSCOMMAND, 0xB017},
      {"CM_ENTER", CM_ENTER, 0xB01A},
      {"CM_EXIT", CM_EXIT, 0xB01B},
      {"CM_WANTSPECIALKEY", CM_WANTSPECIALKEY, 0xB01E},
      {"CM_RELEASE", CM_RELEASE, 0xB021},
      {"CM_CHILDKEY", CM_CHILDKEY, 0xB02E},
      {"CM_DRAG", CM_DRAG, 0xB02F},
      {"CM_HINTSHOW", CM_HINTSHOW, 0xB030},
      {"CM_RECREATEWND", CM_RECREATEWND, 0xB033},
      {"CM_INVALIDATE", CM_INVALIDATE, 0xB034},
      {"CM_BIDIMODECHANGED", CM_BIDIMODECHANGED, 0xB03C},
      {"CM_ACTIONUPDATE", CM_ACTIONUPDATE, 0xB03F},
      {"CM_ACTIONEXECUTE", CM_ACTIONEXECUTE, 0xB040},
      {"CM_HINTSHOWPAUSE", CM_HINTSHOWPAUSE, 0xB041},
      {"CM_MOUSEWHEEL", CM_MOUSEWHEEL, 0xB043},
      {"CM_CONTROLLISTCHANGING", CM_CONTROLLISTCHANGING, 0xB04C},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.value, c.expected);
  }
  // The libraries' own messages start above every one of the class library's.
  EXPECT_LT(CM_CONTROLLISTCHANGING, CM_BASE + 1000);
}

TEST(MessagesTest, NotificationsAreTheWindowMessagesAboveCNBase) {
  struct Case {
    const char* name;
    UINT value;
    UINT msg;
  };
  const Case cases[] = {
      {"CN_COMMAND", CN_COMMAND, WM_COMMAND},           {"CN_NOTIFY", CN_NOTIFY, WM_NOTIFY},
      {"CN_DRAWITEM", CN_DRAWITEM, WM_DRAWITEM},        {"CN_MEASUREITEM", CN_MEASUREITEM, WM_MEASUREITEM},
      {"CN_DELETEITEM", CN_DELETEITEM, WM_DELETEITEM},  {"CN_COMPAREITEM", CN_COMPAREITEM, WM_COMPAREITEM},
      {"CN_HSCROLL", CN_HSCROLL, WM_HSCROLL},           {"CN_VSCROLL", CN_VSCROLL, WM_VSCROLL},
      {"CN_CHARTOITEM", CN_CHARTOITEM, WM_CHARTOITEM},  {"CN_VKEYTOITEM", CN_VKEYTOITEM, WM_VKEYTOITEM},
      {"CN_CTLCOLORMSGBOX", CN_CTLCOLORMSGBOX, WM_CTLCOLORMSGBOX},
      {"CN_CTLCOLORSTATIC", CN_CTLCOLORSTATIC, WM_CTLCOLORSTATIC},
      {"CN_KEYDOWN", CN_KEYDOWN, WM_KEYDOWN},           {"CN_CHAR", CN_CHAR, WM_CHAR},
      {"CN_SYSKEYDOWN", CN_SYSKEYDOWN, WM_SYSKEYDOWN},  {"CN_SYSCHAR", CN_SYSCHAR, WM_SYSCHAR},
  };
  EXPECT_EQ(CN_BASE, 0xBC00u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.value, 0xBC00u + c.msg);
  }
}

}  // namespace
