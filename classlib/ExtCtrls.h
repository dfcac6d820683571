// The ExtCtrls unit: the timer and the extra standard controls.
#pragma once

#include "classlib/extctrls/Timer.h"
