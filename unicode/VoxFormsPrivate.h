// What VoxForms shares with its tests: the hook's handle and the count of
// manual peeks.
#pragma once

#include "classlib/Win.h"

namespace vox_forms {

// The WH_GETMESSAGE hook of the main thread, or null (not the NT family,
// or finalised).
extern HHOOK gGetMessageHook;
// Above 0: the hook passes every message on unchanged.
extern int gManualPeekCount;

}  // namespace vox_forms
