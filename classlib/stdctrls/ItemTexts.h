// Texts read back from the system's list box and edit windows: list items
// and memo lines, whatever their length.
//
// Wine hands LB_GETTEXT (and CB_GETLBTEXT, which the combo box passes on to
// its list as LB_GETTEXT) between an ANSI caller and a wide window procedure
// through a fixed buffer of 512 characters, its terminating one included: a
// longer item came back empty, or the buffer overflowed and the process
// faulted. The system's list procedure is wide and the class library's
// subclass in front of it is ANSI, so every ANSI read took that path.
// EM_GETLINE holds its buffer's size in one 16-bit word, so it cannot give a
// line longer than 65,534 characters.
//
// So a text that fits is read as before, with the ANSI message through the
// window (and whatever handles it there); a longer list item is read with
// the wide message where nothing converts it, through the window when it is
// a Unicode window (every procedure on its chain takes wide messages), else
// straight from the system's list procedure that the subclass passes its
// messages on to; a longer memo line is cut from the window's whole text.
// Texts come back in the ANSI code page.
//
// Surface for component writers (a control on the system's list box reads its
// items with these): include it directly; it changes only as the unit headers
// do.
#pragma once

#include <windows.h>

#include <string>

// The text of item index of a list box window (LB_GETTEXTLEN, LB_GETTEXT);
// listProc is the system's list procedure its subclass passes messages on
// to. False when the window has no such item.
bool ReadListBoxItem(HWND list, WNDPROC listProc, int index, std::string& text);

// The text of line index of a multi-line edit window, without its line end.
// False when the window has no such line.
bool ReadEditLine(HWND edit, int index, std::string& text);
