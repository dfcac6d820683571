// The test seams: the calls whose results are not deterministic under Wine.
#pragma once

#include "classlib/seams/SeamTable.h"
