// The run-time library's message texts. Other units (the Unicode layer's own
// conversions among them) raise with the same words, so they live in one place.
#pragma once

namespace SysConst {
inline constexpr const char* SInvalidInteger = "'%s' is not a valid integer value";
inline constexpr const char* SInvalidFloat = "'%s' is not a valid floating point value";
inline constexpr const char* SInvalidBoolean = "'%s' is not a valid boolean value";
inline constexpr const char* SInvalidDate = "'%s' is not a valid date";
inline constexpr const char* SInvalidTime = "'%s' is not a valid time";
inline constexpr const char* SInvalidDateTime = "'%s' is not a valid date and time";
inline constexpr const char* SInvalidFormat = "Format '%s' invalid or incompatible with argument";
inline constexpr const char* SArgumentMissing = "No argument for format '%s'";
inline constexpr const char* SDateEncodeError = "Invalid argument to date encode";
inline constexpr const char* STimeEncodeError = "Invalid argument to time encode";
inline constexpr const char* SInvalidTimeStamp = "'%d.%d' is not a valid timestamp";
inline constexpr const char* SOperationAborted = "Operation aborted";
inline constexpr const char* SOSError = "System Error.  Code: %d.\r\n%s";
inline constexpr const char* SUnkOSError = "A call to an OS function failed";
inline constexpr const char* SCannotCreateDir = "Unable to create directory";
inline constexpr const char* SInOutError = "I/O error %d";
inline constexpr const char* SFileNotFound = "File not found";
inline constexpr const char* SInvalidFilename = "Invalid filename";
inline constexpr const char* STooManyOpenFiles = "Too many open files";
inline constexpr const char* SAccessDenied = "File access denied";
}  // namespace SysConst
