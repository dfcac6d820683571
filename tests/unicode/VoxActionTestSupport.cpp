#include "tests/unicode/VoxActionTestSupport.h"

IMPLEMENT_CLASS(TWideLabel)
IMPLEMENT_CLASS(TWideSpeedButton)
