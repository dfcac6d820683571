// The TypInfo unit: the published-property tables behind stored forms and
// property access by name.
#pragma once

#include "classlib/typinfo/PropTables.h"
