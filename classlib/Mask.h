// The Mask unit: the edit-mask language and the masked edit.
#pragma once

#include "classlib/mask/EditMask.h"
#include "classlib/mask/MaskEdit.h"
