#include "classlib/SysUtils.h"
#include "classlib/sysutils/SysUtilsUnit.h"

namespace SysUtils {
void Initialize() { InitPlatformAndLocale(); }
}  // namespace SysUtils

void Abort() { throw EAbort(SysConst::SOperationAborted); }
