// What the KxCommon files share among themselves.
#pragma once

#include "kx/foundation/KxCommon.h"

// Frees the blink list whatever it still holds: the unit's finalisation,
// after which no control blinks.
void FreeBlinkingControlsList();
