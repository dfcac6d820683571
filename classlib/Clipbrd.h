// The Clipbrd unit: the process's clipboard object.
#pragma once

#include "classlib/clipbrd/Clipboard.h"
