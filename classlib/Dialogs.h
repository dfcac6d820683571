// The Dialogs unit: the common dialogs' base and the colour dialog.
#pragma once

#include "classlib/dialogs/ColorDialog.h"
#include "classlib/dialogs/CommonDialog.h"
