#include "classlib/syncobjs/CriticalSection.h"

#include "classlib/TypInfo.h"

IMPLEMENT_CLASS(TSynchroObject)
IMPLEMENT_CLASS(TCriticalSection)
