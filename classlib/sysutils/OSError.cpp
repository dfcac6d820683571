#include "classlib/sysutils/OSError.h"

#include "classlib/Exceptions.h"
#include "classlib/sysutils/Format.h"
#include "classlib/sysutils/SysConst.h"

std::string SysErrorMessage(DWORD errorCode) {
  char buffer[1024];
  DWORD len = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                             nullptr, errorCode, 0, buffer, sizeof buffer, nullptr);
  while (len > 0 && (static_cast<unsigned char>(buffer[len - 1]) <= ' ' || buffer[len - 1] == '.')) --len;
  return std::string(buffer, len);
}

void RaiseLastOSError() { RaiseLastOSError(GetLastError()); }

void RaiseLastOSError(DWORD lastError) {
  if (lastError == 0) throw EOSError(SysConst::SUnkOSError, 0);
  throw EOSError(Format(SysConst::SOSError, {lastError, SysErrorMessage(lastError)}), lastError);
}

void RaiseLastWin32Error() { RaiseLastOSError(); }

BOOL Win32Check(BOOL retVal) {
  if (!retVal) RaiseLastOSError();
  return retVal;
}
