// The ComCtrls unit: the class library's controls over the system's common
// controls.
#pragma once

#include "classlib/comctrls/ComCtlVersion.h"
#include "classlib/comctrls/ComboBoxEx.h"
#include "classlib/comctrls/HeaderControl.h"
#include "classlib/comctrls/HotKey.h"
#include "classlib/comctrls/ListView.h"
#include "classlib/comctrls/PageScroller.h"
#include "classlib/comctrls/RichEdit.h"
#include "classlib/comctrls/ToolBar.h"
