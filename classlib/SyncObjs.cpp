#include "classlib/SyncObjs.h"

#include "classlib/TypInfo.h"

IMPLEMENT_CLASS(TSynchroObject)
IMPLEMENT_CLASS(TCriticalSection)
