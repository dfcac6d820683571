// File names and the file system, in the ANSI code page.
//
// Name routines split at the last "\" or ":" (and "." for extensions) and do
// not touch the disk; the file-system routines return false on failure, as
// on the platform, except ChDir, which raises EInOutError.
#pragma once

#include <string>

#include "classlib/Win.h"

inline constexpr char PathDelim = '\\';
inline constexpr char DriveDelim = ':';
inline constexpr char PathSep = ';';

// "C:\dir\" of "C:\dir\name.ext"; "" when there is no folder.
std::string ExtractFilePath(const std::string& fileName);
// As ExtractFilePath without the trailing backslash, except at a root
// ("C:\" stays "C:\").
std::string ExtractFileDir(const std::string& fileName);
// "name.ext".
std::string ExtractFileName(const std::string& fileName);
// ".ext" including the dot; "" when the name has none.
std::string ExtractFileExt(const std::string& fileName);
// "C:" or, for a UNC name, "\\server\share"; "" otherwise.
std::string ExtractFileDrive(const std::string& fileName);
// The name with its extension replaced (or added); extension includes the dot.
std::string ChangeFileExt(const std::string& fileName, const std::string& extension);

bool IsPathDelimiter(const std::string& s, int index);
std::string IncludeTrailingPathDelimiter(const std::string& s);
std::string ExcludeTrailingPathDelimiter(const std::string& s);
std::string IncludeTrailingBackslash(const std::string& s);
std::string ExcludeTrailingBackslash(const std::string& s);

// The full path through GetFullPathNameA (relative to the current folder).
std::string ExpandFileName(const std::string& fileName);

// An existing file that is not a folder.
bool FileExists(const std::string& fileName);
bool DirectoryExists(const std::string& directory);
// Creates dir and its missing parents; false when one cannot be made. An
// empty name raises Exception "Unable to create directory".
bool ForceDirectories(const std::string& dir);
bool CreateDir(const std::string& dir);
bool RemoveDir(const std::string& dir);
// Win.h maps DeleteFile to DeleteFileA in every file alike; this is an
// overload of that name for strings.
bool DeleteFile(const std::string& fileName);
bool RenameFile(const std::string& oldName, const std::string& newName);

std::string GetCurrentDir();
bool SetCurrentDir(const std::string& dir);
// SetCurrentDir that raises EInOutError ("File not found", "Invalid
// filename", ... or "I/O error %d") on failure.
void ChDir(const std::string& dir);
