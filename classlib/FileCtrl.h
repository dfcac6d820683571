// The FileCtrl unit: the folder picker.
#pragma once

#include "classlib/filectrl/SelectDirectory.h"
