// The SyncObjs unit: locks shared by threads.
#pragma once

#include "classlib/syncobjs/CriticalSection.h"
