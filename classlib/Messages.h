// Window messages of the class library: the message record, its typed
// views, and the control (CM_*) and notification (CN_*) message numbers.
//
// The Win32 message numbers come from windows.h. TMessage carries the 64-bit
// WPARAM, LPARAM and LRESULT whole; there are no 32-bit overlays on it. The
// TWMxxx types are views over a TMessage that read and write its packed
// fields (character codes as LOWORD(WParam), mouse positions as signed
// words), so a handler that changes CharCode changes the message itself.
#pragma once

#include "classlib/Win.h"

#include <commctrl.h>

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// Control messages, with the platform's numbering.
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_ACTIVATE = CM_BASE + 0;
inline constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
inline constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
inline constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
inline constexpr UINT CM_CANCELMODE = CM_BASE + 4;
inline constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
inline constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
inline constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr UINT CM_HITTEST = CM_BASE + 10;
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
inline constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
inline constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
inline constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
inline constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
inline constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
inline constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
inline constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
inline constexpr UINT CM_ENTER = CM_BASE + 26;
inline constexpr UINT CM_EXIT = CM_BASE + 27;
inline constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
inline constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
inline constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
inline constexpr UINT CM_INVOKEHELP = CM_BASE + 31;
inline constexpr UINT CM_WINDOWHOOK = CM_BASE + 32;
inline constexpr UINT CM_RELEASE = CM_BASE + 33;
inline constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
inline constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
inline constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
inline constexpr UINT CM_WININICHANGE = CM_BASE + 37;
inline constexpr UINT CM_FONTCHANGE = CM_BASE + 38;
inline constexpr UINT CM_TIMECHANGE = CM_BASE + 39;
inline constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
inline constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
inline constexpr UINT CM_UIDEACTIVATE = CM_BASE + 42;
inline constexpr UINT CM_DOCWINDOWACTIVATE = CM_BASE + 43;
inline constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
inline constexpr UINT CM_GETDATALINK = CM_BASE + 45;
inline constexpr UINT CM_CHILDKEY = CM_BASE + 46;
inline constexpr UINT CM_DRAG = CM_BASE + 47;
inline constexpr UINT CM_HINTSHOW = CM_BASE + 48;
inline constexpr UINT CM_DIALOGHANDLE = CM_BASE + 49;
inline constexpr UINT CM_ISTOOLCONTROL = CM_BASE + 50;
inline constexpr UINT CM_RECREATEWND = CM_BASE + 51;
inline constexpr UINT CM_INVALIDATE = CM_BASE + 52;
inline constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;
inline constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
inline constexpr UINT CM_CHANGED = CM_BASE + 55;
inline constexpr UINT CM_DOCKCLIENT = CM_BASE + 56;
inline constexpr UINT CM_UNDOCKCLIENT = CM_BASE + 57;
inline constexpr UINT CM_FLOAT = CM_BASE + 58;
inline constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
inline constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
inline constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
inline constexpr UINT CM_ALLCHILDRENFLIPPED = CM_BASE + 62;
inline constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
inline constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
inline constexpr UINT CM_HINTSHOWPAUSE = CM_BASE + 65;
inline constexpr UINT CM_DOCKNOTIFICATION = CM_BASE + 66;
inline constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;
inline constexpr UINT CM_ISSHORTCUT = CM_BASE + 68;
inline constexpr UINT CM_INVALIDATEDOCKHOST = CM_BASE + 70;
inline constexpr UINT CM_SETACTIVECONTROL = CM_BASE + 71;
inline constexpr UINT CM_POPUPHWNDDESTROY = CM_BASE + 72;
inline constexpr UINT CM_CREATEPOPUP = CM_BASE + 73;
inline constexpr UINT CM_DESTROYHANDLE = CM_BASE + 74;
inline constexpr UINT CM_MOUSEACTIVATE = CM_BASE + 75;
inline constexpr UINT CM_CONTROLLISTCHANGING = CM_BASE + 76;

// Notifications a parent reflects back to the child that sent them.
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
inline constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
inline constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
inline constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
inline constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
inline constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
inline constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
inline constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;
inline constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
inline constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
inline constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
inline constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
inline constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
inline constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
inline constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;

// ---------------------------------------------------------------------------
// Typed views. Each holds the message it was made from; Result and the
// full-width fields are references into it.

struct TMessageView {
  explicit TMessageView(TMessage& m) : Message(m), Msg(m.Msg), Result(m.Result) {}
  TMessage& Message;
  UINT& Msg;
  LRESULT& Result;
};

// WM_KEYDOWN/UP, WM_CHAR, WM_SYS*, CN_KEYDOWN/CHAR, CM_DIALOGKEY/CHAR,
// CM_WANTSPECIALKEY.
struct TWMKey : TMessageView {
  using TMessageView::TMessageView;
  WORD CharCode() const { return LOWORD(Message.WParam); }
  void SetCharCode(WORD c) { Message.WParam = (Message.WParam & ~WPARAM{0xFFFF}) | c; }
  LONG KeyData() const { return static_cast<LONG>(Message.LParam); }
};
using TWMChar = TWMKey;
using TWMKeyDown = TWMKey;
using TWMKeyUp = TWMKey;
using TCMDialogKey = TWMKey;
using TCMDialogChar = TWMKey;
using TCMWantSpecialKey = TWMKey;

// Client-area mouse messages: Keys in WParam, the position as two signed
// words in LParam.
struct TWMMouse : TMessageView {
  using TMessageView::TMessageView;
  WORD Keys() const { return LOWORD(Message.WParam); }
  short XPos() const { return static_cast<short>(LOWORD(Message.LParam)); }
  short YPos() const { return static_cast<short>(HIWORD(Message.LParam)); }
  POINT Pos() const { return POINT{XPos(), YPos()}; }
};
using TWMLButtonDown = TWMMouse;
using TWMLButtonUp = TWMMouse;
using TWMMouseMove = TWMMouse;
// CM_HITTEST and WM_NCHITTEST read their point the same way.
using TCMHitTest = TWMMouse;
using TWMNCHitTest = TWMMouse;
// WM_CONTEXTMENU: window in WParam, screen point (or -1, -1) in LParam.
using TWMContextMenu = TWMMouse;

struct TWMMouseWheel : TMessageView {
  using TMessageView::TMessageView;
  WORD Keys() const { return LOWORD(Message.WParam); }
  short WheelDelta() const { return static_cast<short>(HIWORD(Message.WParam)); }
  short XPos() const { return static_cast<short>(LOWORD(Message.LParam)); }
  short YPos() const { return static_cast<short>(HIWORD(Message.LParam)); }
};

struct TWMPaint : TMessageView {
  using TMessageView::TMessageView;
  HDC DC() const { return reinterpret_cast<HDC>(Message.WParam); }
  void SetDC(HDC dc) { Message.WParam = reinterpret_cast<WPARAM>(dc); }
};
using TWMEraseBkgnd = TWMPaint;

struct TWMCommand : TMessageView {
  using TMessageView::TMessageView;
  WORD ItemID() const { return LOWORD(Message.WParam); }
  WORD NotifyCode() const { return HIWORD(Message.WParam); }
  HWND Ctl() const { return reinterpret_cast<HWND>(Message.LParam); }
};

struct TWMNotify : TMessageView {
  using TMessageView::TMessageView;
  NMHDR* NMHdr() const { return reinterpret_cast<NMHDR*>(Message.LParam); }
};

struct TWMDrawItem : TMessageView {
  using TMessageView::TMessageView;
  DRAWITEMSTRUCT* DrawItemStruct() const { return reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam); }
};
struct TWMMeasureItem : TMessageView {
  using TMessageView::TMessageView;
  MEASUREITEMSTRUCT* MeasureItemStruct() const {
    return reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  }
};
struct TWMDeleteItem : TMessageView {
  using TMessageView::TMessageView;
  DELETEITEMSTRUCT* DeleteItemStruct() const { return reinterpret_cast<DELETEITEMSTRUCT*>(Message.LParam); }
};
struct TWMCompareItem : TMessageView {
  using TMessageView::TMessageView;
  COMPAREITEMSTRUCT* CompareItemStruct() const {
    return reinterpret_cast<COMPAREITEMSTRUCT*>(Message.LParam);
  }
};

struct TWMWindowPosMsg : TMessageView {
  using TMessageView::TMessageView;
  WINDOWPOS* WindowPos() const { return reinterpret_cast<WINDOWPOS*>(Message.LParam); }
};
using TWMWindowPosChanged = TWMWindowPosMsg;
using TWMWindowPosChanging = TWMWindowPosMsg;

struct TWMSetCursor : TMessageView {
  using TMessageView::TMessageView;
  HWND CursorWnd() const { return reinterpret_cast<HWND>(Message.WParam); }
  short HitTest() const { return static_cast<short>(LOWORD(Message.LParam)); }
  WORD MouseMsg() const { return HIWORD(Message.LParam); }
};

struct TWMSize : TMessageView {
  using TMessageView::TMessageView;
  WPARAM SizeType() const { return Message.WParam; }
  WORD Width() const { return LOWORD(Message.LParam); }
  WORD Height() const { return HIWORD(Message.LParam); }
};

struct TWMFocus : TMessageView {
  using TMessageView::TMessageView;
  HWND FocusedWnd() const { return reinterpret_cast<HWND>(Message.WParam); }
};
using TWMSetFocus = TWMFocus;
using TWMKillFocus = TWMFocus;

// Scroll bars and list-box keys: the sending control's window in LParam.
struct TWMScroll : TMessageView {
  using TMessageView::TMessageView;
  WORD ScrollCode() const { return LOWORD(Message.WParam); }
  short Pos() const { return static_cast<short>(HIWORD(Message.WParam)); }
  HWND ScrollBar() const { return reinterpret_cast<HWND>(Message.LParam); }
};
using TWMCharToItem = TWMScroll;
using TWMVKeyToItem = TWMScroll;

// CM_CHILDKEY: key in WParam, the control that got it in LParam.
class TControl;
struct TCMChildKey : TMessageView {
  using TMessageView::TMessageView;
  WORD CharCode() const { return LOWORD(Message.WParam); }
  TControl* Sender() const { return reinterpret_cast<TControl*>(Message.LParam); }
};

// CM_FOCUSCHANGED: the newly focused control in LParam.
class TWinControl;
struct TCMFocusChanged : TMessageView {
  using TMessageView::TMessageView;
  TWinControl* Sender() const { return reinterpret_cast<TWinControl*>(Message.LParam); }
};

// CM_CANCELMODE: the control that caused it in LParam.
struct TCMCancelMode : TMessageView {
  using TMessageView::TMessageView;
  TControl* Sender() const { return reinterpret_cast<TControl*>(Message.LParam); }
};

// CM_ACTIONEXECUTE / CM_ACTIONUPDATE: the action in LParam.
class TBasicAction;
struct TCMAction : TMessageView {
  using TMessageView::TMessageView;
  TBasicAction* Action() const { return reinterpret_cast<TBasicAction*>(Message.LParam); }
};
