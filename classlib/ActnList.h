// The ActnList unit: action lists and the actions they hold. TBasicAction
// and its link belong to the Classes unit (classes/Action.h), as on the
// platform.
#pragma once

#include "classlib/actnlist/ActionList.h"
