// The StdCtrls unit: the standard controls on the system's window classes
// (buttons, check boxes, radio buttons, edits, memos, combo boxes, list
// boxes, group boxes, scroll bars, static text) and the windowless label.
#pragma once

#include "classlib/stdctrls/StdCtrlsTypes.h"
#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/ComboBox.h"
#include "classlib/stdctrls/Edit.h"
#include "classlib/stdctrls/GroupBox.h"
#include "classlib/stdctrls/Label.h"
#include "classlib/stdctrls/ListBox.h"
#include "classlib/stdctrls/ScrollBar.h"
