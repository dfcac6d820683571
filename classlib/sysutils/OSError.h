// Operating-system errors as exceptions.
#pragma once

#include <string>

#include "classlib/Win.h"

// FormatMessage's text for a system error code, without the trailing
// period, blanks and line breaks.
std::string SysErrorMessage(DWORD errorCode);

// Raises EOSError "System Error.  Code: %d.\r\n%s" for the code (by default
// GetLastError), or "A call to an OS function failed" when it is 0.
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(DWORD lastError);
[[noreturn]] void RaiseLastWin32Error();

// Returns retVal; a FALSE result raises the last OS error.
BOOL Win32Check(BOOL retVal);
