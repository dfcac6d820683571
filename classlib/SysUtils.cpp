#include "classlib/SysUtils.h"

namespace SysUtils {
void Initialize() { InitPlatformAndLocale(); }
}  // namespace SysUtils

void Abort() { throw EAbort(SysConst::SOperationAborted); }
