// The System unit: the object model (TObject, class references, method
// pointers, sets, interfaces), Assert, and the basic arithmetic and 1-based
// string routines.
#pragma once

#include "classlib/system/Assert.h"
#include "classlib/system/Interfaces.h"
#include "classlib/system/Objects.h"
