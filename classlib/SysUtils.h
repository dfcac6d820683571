// The SysUtils unit: conversions, string and file-name routines, dates and
// times, format settings and operating-system errors. Start-up reads the
// platform facts and the user's locale settings (SysUtils::Initialize, the
// first entry of the class library's unit list).
#pragma once

#include "classlib/Exceptions.h"
#include "classlib/sysutils/DateTime.h"
#include "classlib/sysutils/FileNames.h"
#include "classlib/sysutils/FloatText.h"
#include "classlib/sysutils/Format.h"
#include "classlib/sysutils/Locale.h"
#include "classlib/sysutils/OSError.h"
#include "classlib/sysutils/StringRoutines.h"
#include "classlib/sysutils/Supports.h"
#include "classlib/sysutils/SysConst.h"
#include "classlib/sysutils/SysUtilsUnit.h"
