#include "classlib/sysutils/FileNames.h"

#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/System.h"
#include "classlib/sysutils/Format.h"
#include "classlib/sysutils/StringRoutines.h"
#include "classlib/sysutils/SysConst.h"

std::string ExtractFilePath(const std::string& fileName) {
  return Copy(fileName, 1, LastDelimiter("\\:", fileName));
}

std::string ExtractFileDir(const std::string& fileName) {
  int i = LastDelimiter("\\:", fileName);
  // Keep the backslash of a root ("C:\", "\").
  if (i > 1 && fileName[static_cast<size_t>(i - 1)] == PathDelim && !IsDelimiter("\\:", fileName, i - 1)) --i;
  return Copy(fileName, 1, i);
}

std::string ExtractFileName(const std::string& fileName) {
  return Copy(fileName, LastDelimiter("\\:", fileName) + 1, INT64_MAX);
}

std::string ExtractFileExt(const std::string& fileName) {
  int i = LastDelimiter(".\\:", fileName);
  if (i > 0 && fileName[static_cast<size_t>(i - 1)] == '.') return Copy(fileName, i, INT64_MAX);
  return std::string();
}

std::string ExtractFileDrive(const std::string& fileName) {
  const size_t n = fileName.size();
  if (n >= 2 && fileName[1] == DriveDelim) return fileName.substr(0, 2);
  if (n >= 2 && fileName[0] == PathDelim && fileName[1] == PathDelim) {
    // "\\server\share": up to, not including, the backslash after the share.
    int delims = 0;
    size_t i = 2;
    for (; i < n; ++i) {
      if (fileName[i] == PathDelim && ++delims == 2) break;
    }
    return fileName.substr(0, i);
  }
  return std::string();
}

std::string ChangeFileExt(const std::string& fileName, const std::string& extension) {
  int i = LastDelimiter(".\\:", fileName);
  if (i == 0 || fileName[static_cast<size_t>(i - 1)] != '.') return fileName + extension;
  return fileName.substr(0, static_cast<size_t>(i - 1)) + extension;
}

bool IsPathDelimiter(const std::string& s, int index) {
  return index > 0 && index <= static_cast<int>(s.size()) && s[static_cast<size_t>(index - 1)] == PathDelim &&
         ByteType(s, index) == mbSingleByte;
}

std::string IncludeTrailingPathDelimiter(const std::string& s) {
  return IsPathDelimiter(s, static_cast<int>(s.size())) ? s : s + PathDelim;
}

std::string ExcludeTrailingPathDelimiter(const std::string& s) {
  return IsPathDelimiter(s, static_cast<int>(s.size())) ? s.substr(0, s.size() - 1) : s;
}

std::string IncludeTrailingBackslash(const std::string& s) { return IncludeTrailingPathDelimiter(s); }
std::string ExcludeTrailingBackslash(const std::string& s) { return ExcludeTrailingPathDelimiter(s); }

std::string ExpandFileName(const std::string& fileName) {
  // Sized by a first call: a fixed MAX_PATH buffer would cut long names.
  DWORD n = GetFullPathNameA(fileName.c_str(), 0, nullptr, nullptr);
  if (n == 0) return std::string();
  std::vector<char> buffer(n);
  DWORD len = GetFullPathNameA(fileName.c_str(), n, buffer.data(), nullptr);
  if (len == 0 || len >= n) return std::string();
  return std::string(buffer.data(), len);
}

bool FileExists(const std::string& fileName) {
  DWORD attr = GetFileAttributesA(fileName.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::string& directory) {
  DWORD attr = GetFileAttributesA(directory.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ForceDirectories(const std::string& dir) {
  if (dir.empty()) throw Exception(SysConst::SCannotCreateDir);
  std::string d = ExcludeTrailingPathDelimiter(dir);
  // Roots ("C:", "C:\", "\\server\share") are not made; stop there.
  if (d.size() < 3 || DirectoryExists(d) || ExtractFilePath(d) == d) return true;
  std::string parent = ExtractFilePath(d);
  if (!parent.empty() && !ForceDirectories(parent)) return false;
  return CreateDir(d);
}

bool CreateDir(const std::string& dir) { return CreateDirectoryA(dir.c_str(), nullptr) != 0; }
bool RemoveDir(const std::string& dir) { return RemoveDirectoryA(dir.c_str()) != 0; }
bool DeleteFile(const std::string& fileName) { return ::DeleteFileA(fileName.c_str()) != 0; }
bool RenameFile(const std::string& oldName, const std::string& newName) {
  return MoveFileA(oldName.c_str(), newName.c_str()) != 0;
}

std::string GetCurrentDir() {
  DWORD n = GetCurrentDirectoryA(0, nullptr);
  if (n == 0) return std::string();
  std::vector<char> buffer(n);
  DWORD len = GetCurrentDirectoryA(n, buffer.data());
  if (len == 0 || len >= n) return std::string();
  return std::string(buffer.data(), len);
}

bool SetCurrentDir(const std::string& dir) { return SetCurrentDirectoryA(dir.c_str()) != 0; }

void ChDir(const std::string& dir) {
  if (SetCurrentDir(dir)) return;
  DWORD code = GetLastError();
  const char* text = nullptr;
  switch (code) {
    case ERROR_FILE_NOT_FOUND: text = SysConst::SFileNotFound; break;
    case ERROR_PATH_NOT_FOUND: text = SysConst::SInvalidFilename; break;
    case ERROR_TOO_MANY_OPEN_FILES: text = SysConst::STooManyOpenFiles; break;
    case ERROR_ACCESS_DENIED: text = SysConst::SAccessDenied; break;
  }
  throw EInOutError(text ? std::string(text) : Format(SysConst::SInOutError, {code}));
}
