// The Registry unit: registry keys, and INI-style access to them.
#pragma once

#include "classlib/registry/RegistryAccess.h"
