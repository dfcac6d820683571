// The Buttons unit: the bit-button kinds and their captions, glyph layouts,
// button styles and states, and TSpeedButton.
#pragma once

#include "classlib/buttons/ButtonTypes.h"
#include "classlib/buttons/SpeedButton.h"
