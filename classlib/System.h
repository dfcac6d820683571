// The System unit: the object model (TObject, class references, method
// pointers, sets) and the basic arithmetic and 1-based string routines.
#pragma once

#include "classlib/system/Objects.h"
