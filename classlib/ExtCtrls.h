// The ExtCtrls unit: the timer, panels, bevels, shapes, images, the older
// header, the control bar and the Frame3D helper.
#pragma once

#include "classlib/extctrls/Bevel.h"
#include "classlib/extctrls/ControlBar.h"
#include "classlib/extctrls/Frame3D.h"
#include "classlib/extctrls/Header.h"
#include "classlib/extctrls/Image.h"
#include "classlib/extctrls/Panel.h"
#include "classlib/extctrls/Shape.h"
#include "classlib/extctrls/Timer.h"
