// GetComCtlVersion: the version of the common controls library the process
// uses, as the platform's ComCtrls unit gives it (major in the high word,
// minor in the low word), and the version marks callers compare it with.
#pragma once

#include <cstdint>

inline constexpr uint32_t ComCtlVersionIE3 = 0x00040046;
inline constexpr uint32_t ComCtlVersionIE4 = 0x00040047;
inline constexpr uint32_t ComCtlVersionIE401 = 0x00040048;
inline constexpr uint32_t ComCtlVersionIE5 = 0x00050050;
inline constexpr uint32_t ComCtlVersionIE501 = 0x00050051;
inline constexpr uint32_t ComCtlVersionIE6 = 0x00060000;

// Version 6 is reached only through a manifest that binds the process to the
// side-by-side assembly: when the activation context redirects
// "comctl32.dll" to an assembly, that assembly's version counts; otherwise
// the library's DllGetVersion. 0 when neither answers.
uint32_t GetComCtlVersion();
