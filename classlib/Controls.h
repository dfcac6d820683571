// The Controls unit: TControl, TWinControl, TGraphicControl, TCustomControl,
// their messages, alignment, actions links and hooks.
#pragma once

#include "classlib/Messages.h"
#include "classlib/controls/ControlActionLink.h"
#include "classlib/controls/ControlTypes.h"
#include "classlib/controls/Control.h"
#include "classlib/controls/CustomControl.h"
#include "classlib/controls/DragDrop.h"
#include "classlib/controls/Docking.h"
#include "classlib/controls/ControlsHooks.h"
#include "classlib/controls/ObjectInstance.h"
#include "classlib/controls/Publish.h"
#include "classlib/controls/WinControl.h"
