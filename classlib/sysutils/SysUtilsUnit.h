// Start-up of the SysUtils unit: the platform facts and the user's locale
// settings, read by the first entry of the class library's unit list.
#pragma once

namespace SysUtils {
void Initialize();
}  // namespace SysUtils
