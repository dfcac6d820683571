// The Buttons unit: the bit-button kinds and their captions, glyph layouts,
// button styles and states, DrawButtonFace and TSpeedButton.
#pragma once

#include "classlib/buttons/ButtonFace.h"
#include "classlib/buttons/ButtonTypes.h"
#include "classlib/buttons/SpeedButton.h"
