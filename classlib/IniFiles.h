// The IniFiles unit: settings by section and name over INI files.
#pragma once

#include "classlib/inifiles/IniFile.h"
