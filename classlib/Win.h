// The one way project code includes the Windows headers.
//
// Every project header that names a Win32 type includes this file first, so
// that the ANSI macros (TextOut -> TextOutA, GetMessage -> GetMessageA...)
// rename a method identically in every translation unit; a unit that saw
// <windows.h> while another did not would link against a different name.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef STRICT
#define STRICT
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#ifndef WINVER
#define WINVER 0x0601
#endif
#include <windows.h>

// GetProcAddress results and thunks reach typed function pointers through here
// only: the one place that silences -Wcast-function-type.
template <class Fn, class From>
inline Fn FunctionCast(From f) noexcept {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
  return reinterpret_cast<Fn>(f);
#pragma GCC diagnostic pop
}
