// KxLabel: the framed label (3-D text, rotation, arc text, blinking, a
// fly-by colour, caption condensing, a full border) and the URL label, which
// opens its URL through the shell when clicked.
#pragma once

#include "classlib/Win.h"

// The library's own hand cursor ("KXCOMMON_HANDCURSOR"), made afresh: the
// caller owns it (the screen, once installed). Null when the program lacks
// the resource.
HCURSOR CreateKxHandCursor();
