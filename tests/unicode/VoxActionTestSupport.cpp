#include "tests/unicode/VoxActionTestSupport.h"

IMPLEMENT_CLASS(TWideLabel)
IMPLEMENT_CLASS(TWideSpeedButton)
IMPLEMENT_CLASS(TWideButton)
IMPLEMENT_CLASS(TWideCheckBox)
IMPLEMENT_CLASS(TWideEdit)
