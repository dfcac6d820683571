#include "unicode/VoxWindows.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <memory>
#include <optional>

#include "classlib/Scopes.h"
#include "classlib/Seams.h"
#include "classlib/SysUtils.h"
#include "unicode/VoxSysUtils.h"

namespace {

// --- Text on the ANSI route ---------------------------------------------------

size_t WLen(LPCWSTR s) { return s ? std::wcslen(s) : 0; }

// Null stays null: the A functions tell a missing argument from an empty one.
std::optional<std::string> Ansi(LPCWSTR s) {
  if (!s) return std::nullopt;
  return WideToAnsi(s);
}
const char* Ptr(const std::optional<std::string>& s) { return s ? s->c_str() : nullptr; }
// Empty text and null alike become null.
const char* PtrOrNil(const std::optional<std::string>& s) { return s && !s->empty() ? s->c_str() : nullptr; }

// Copies wide text into a fixed wide field (cFileName...), always terminated.
template <size_t N>
void CopyField(wchar_t (&field)[N], const char* ansi) {
  std::wstring w = AnsiToWide(ansi);
  size_t n = std::min(w.size(), N - 1);
  std::memcpy(field, w.data(), n * sizeof(wchar_t));
  field[n] = 0;
}

// Calls an A function that fills a char buffer of `size` bytes and returns
// the length written (or the size needed when it does not fit), growing the
// buffer when the text is longer, so a long path is never cut short or read
// past its end. Returns nullopt when the call fails (0).
template <class F>
std::optional<std::string> AnsiResult(DWORD size, F call) {
  std::string buf(size, '\0');
  for (int tries = 0; tries < 4; ++tries) {
    DWORD r = call(buf.data(), static_cast<DWORD>(buf.size()));
    if (r == 0) return std::nullopt;
    if (r < buf.size()) {
      buf.resize(std::strlen(buf.c_str()));
      return buf;
    }
    buf.assign(static_cast<size_t>(r) + 1, '\0');
  }
  return std::nullopt;
}

// --- Shell entry points bound at run time --------------------------------------

using TSHFileOperationW = int(WINAPI*)(LPSHFILEOPSTRUCTW);
using TSHBrowseForFolderW = PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOW);
using TSHGetPathFromIDListW = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPWSTR);
using TSHGetFileInfoW = DWORD_PTR(WINAPI*)(LPCWSTR, DWORD, SHFILEINFOW*, UINT, UINT);

struct TShellEntries {
  HMODULE Module = nullptr;
  TSHFileOperationW FileOperation = nullptr;
  TSHBrowseForFolderW BrowseForFolder = nullptr;
  TSHGetPathFromIDListW GetPathFromIDList = nullptr;
  TSHGetFileInfoW GetFileInfo = nullptr;
};
TShellEntries gShell;

// Bound on the first wide call: a missing library or entry raises the last
// OS error, as the platform's wrappers do.
const TShellEntries& ShellEntries() {
  if (!gShell.Module) {
    HMODULE m = WinCheckH(LoadLibraryA("shell32.dll"));
    // A missing entry unbinds the others and lets go of the library.
    TRollback unbind([m] {
      FreeLibrary(m);
      gShell = {};
    });
    gShell.FileOperation = FunctionCast<TSHFileOperationW>(WinCheckP(GetProcAddress(m, "SHFileOperationW")));
    gShell.BrowseForFolder = FunctionCast<TSHBrowseForFolderW>(WinCheckP(GetProcAddress(m, "SHBrowseForFolderW")));
    gShell.GetPathFromIDList =
        FunctionCast<TSHGetPathFromIDListW>(WinCheckP(GetProcAddress(m, "SHGetPathFromIDListW")));
    gShell.GetFileInfo = FunctionCast<TSHGetFileInfoW>(WinCheckP(GetProcAddress(m, "SHGetFileInfoW")));
    unbind.Commit();
    gShell.Module = m;
  }
  return gShell;
}

// The last value Vox_VerQueryValueW converted on the ANSI route.
std::wstring gLastVersionValue;

// A double-zero-terminated list of wide names as the same list in ANSI.
std::string AnsiNameList(LPCWSTR list) {
  std::string out;
  if (!list) return out;
  for (LPCWSTR p = list; *p; p += std::wcslen(p) + 1) {
    out += WideToAnsi(p);
    out += '\0';
  }
  out += '\0';
  return out;
}

// The ANSI name mappings the shell hands back: a count and the entries.
struct TAnsiNameMappings {
  UINT Count;
  SHNAMEMAPPINGA* Mappings;
};

wchar_t* NewWide(const std::wstring& s) {
  auto* p = new wchar_t[s.size() + 1];
  std::memcpy(p, s.c_str(), (s.size() + 1) * sizeof(wchar_t));
  return p;
}

// One character through CharUpperA/CharLowerA, when the code page has it and
// the result is one character again.
wchar_t AnsiCaseOne(wchar_t c, bool upper) {
  char bytes[4] = {};
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(CP_ACP, 0, &c, 1, bytes, 3, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return c;
  if (upper) CharUpperBuffA(bytes, static_cast<DWORD>(n));
  else CharLowerBuffA(bytes, static_cast<DWORD>(n));
  wchar_t out[4] = {};
  int m = MultiByteToWideChar(CP_ACP, 0, bytes, n, out, 3);
  return m == 1 ? out[0] : c;
}

LPWSTR CaseW(LPWSTR p, bool upper) {
  if (Vox_Is_IntResource(p)) {
    auto c = static_cast<wchar_t>(reinterpret_cast<uintptr_t>(p) & 0xFFFF);
    return reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(AnsiCaseOne(c, upper)));
  }
  for (LPWSTR q = p; *q; ++q) *q = AnsiCaseOne(*q, upper);
  return p;
}

}  // namespace

// --- The result-copy rule ---------------------------------------------------------

DWORD VoxCopyAnsiResult(const std::string& r, wchar_t* buffer, DWORD n, unsigned modes) {
  std::wstring w = AnsiToWide(r);
  const auto len = static_cast<DWORD>(w.size());
  if (len < n) {
    std::memcpy(buffer, w.c_str(), (w.size() + 1) * sizeof(wchar_t));
    return len;
  }
  if (modes & vcmExact) {
    if (n) std::memcpy(buffer, w.data(), n * sizeof(wchar_t));
    return n;
  }
  if ((modes & vcmFitsWithTerminator) && n == len && n > 0) {
    std::memcpy(buffer, w.data(), (n - 1) * sizeof(wchar_t));
    buffer[n - 1] = 0;
    return len + 1;
  }
  if (n > 0) {
    if (modes & vcmClear) {
      buffer[0] = 0;
    } else if ((modes & vcmPath) && n >= 4) {
      // The longest prefix ending in a backslash that fits with its terminator.
      size_t cut = w.rfind(L'\\', n - 2);
      size_t keep = cut == std::wstring::npos ? 0 : cut + 1;
      std::memcpy(buffer, w.data(), keep * sizeof(wchar_t));
      buffer[keep] = 0;
    }
  }
  return len + 1;
}

// --- The ANSI route's text helpers --------------------------------------------------

namespace VoxAnsi {

TAnsiText ToAnsi(LPCWSTR text, int count, UINT codePage) {
  TAnsiText t;
  size_t n = count < 0 ? WLen(text) : static_cast<size_t>(count);
  t.FirstByte.reserve(n + 1);
  size_t i = 0;
  while (i < n) {
    // A surrogate pair is one character of the code page.
    size_t units = (i + 1 < n && IS_HIGH_SURROGATE(text[i]) && IS_LOW_SURROGATE(text[i + 1])) ? 2 : 1;
    char bytes[16];
    int m = WideCharToMultiByte(codePage, 0, text + i, static_cast<int>(units), bytes, sizeof bytes, nullptr,
                                nullptr);
    if (m <= 0) {
      bytes[0] = '?';
      m = 1;
    }
    for (size_t u = 0; u < units; ++u) t.FirstByte.push_back(static_cast<int>(t.Bytes.size()));
    t.Bytes.append(bytes, static_cast<size_t>(m));
    i += units;
  }
  t.FirstByte.push_back(static_cast<int>(t.Bytes.size()));
  return t;
}

std::vector<INT> DxPerByte(const TAnsiText& text, const INT* dx) {
  std::vector<INT> out(text.Bytes.size(), 0);
  const size_t units = text.FirstByte.size() - 1;
  for (size_t u = 0; u < units; ++u) out[static_cast<size_t>(text.FirstByte[u])] += dx[u];
  return out;
}

void TypesPerUnit(const TAnsiText& text, const WORD* byteTypes, WORD* unitTypes) {
  const size_t units = text.FirstByte.size() - 1;
  for (size_t u = 0; u < units; ++u) unitTypes[u] = byteTypes[text.FirstByte[u]];
}

}  // namespace VoxAnsi

// --- The wrappers ---------------------------------------------------------------------

BOOL Vox_SetWindowTextW(HWND wnd, LPCWSTR text) {
  if (Win32PlatformIsUnicode) return SetWindowTextW(wnd, text);
  return SetWindowTextA(wnd, Ptr(Ansi(text)));
}

DWORD Vox_GetShortPathNameW(LPCWSTR longPath, LPWSTR shortPath, DWORD n) {
  if (Win32PlatformIsUnicode) return GetShortPathNameW(longPath, shortPath, n);
  auto path = Ansi(longPath);
  auto r = AnsiResult(520, [&](char* b, DWORD size) { return GetShortPathNameA(Ptr(path), b, size); });
  if (!r) return 0;
  return VoxCopyAnsiResult(*r, shortPath, n, vcmPath);
}

DWORD Vox_GetFullPathNameW(LPCWSTR fileName, DWORD n, LPWSTR buffer, LPWSTR* filePart) {
  if (Win32PlatformIsUnicode) return GetFullPathNameW(fileName, n, buffer, filePart);
  auto name = Ansi(fileName);
  size_t partAt = std::string::npos;
  auto r = AnsiResult(520, [&](char* b, DWORD size) {
    char* part = nullptr;
    DWORD len = GetFullPathNameA(Ptr(name), size, b, &part);
    partAt = part && len < size ? static_cast<size_t>(part - b) : std::string::npos;
    return len;
  });
  if (filePart) *filePart = nullptr;
  if (!r) return 0;
  DWORD result = VoxCopyAnsiResult(*r, buffer, n, vcmClear);
  if (filePart && partAt != std::string::npos && result < n)
    *filePart = buffer + AnsiToWide(std::string_view(*r).substr(0, partAt)).size();
  return result;
}

HANDLE Vox_CreateFileW(LPCWSTR fileName, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                       DWORD disposition, DWORD flags, HANDLE templateFile) {
  if (Win32PlatformIsUnicode)
    return CreateFileW(fileName, access, share, security, disposition, flags, templateFile);
  return CreateFileA(Ptr(Ansi(fileName)), access, share, security, disposition, flags, templateFile);
}

namespace {
// The record's first 44 bytes (attributes, times, sizes, reserved) are the
// same in both forms; the two names are converted.
void WideFindData(const WIN32_FIND_DATAA& a, WIN32_FIND_DATAW* w) {
  static_assert(offsetof(WIN32_FIND_DATAA, cFileName) == 44 && offsetof(WIN32_FIND_DATAW, cFileName) == 44);
  std::memcpy(w, &a, 44);
  CopyField(w->cFileName, a.cFileName);
  CopyField(w->cAlternateFileName, a.cAlternateFileName);
}
}  // namespace

HANDLE Vox_FindFirstFileW(LPCWSTR fileName, WIN32_FIND_DATAW* findData) {
  if (Win32PlatformIsUnicode) return FindFirstFileW(fileName, findData);
  WIN32_FIND_DATAA a{};
  HANDLE h = FindFirstFileA(Ptr(Ansi(fileName)), &a);
  if (h != INVALID_HANDLE_VALUE) WideFindData(a, findData);
  return h;
}

BOOL Vox_FindNextFileW(HANDLE findFile, WIN32_FIND_DATAW* findData) {
  if (Win32PlatformIsUnicode) return FindNextFileW(findFile, findData);
  WIN32_FIND_DATAA a{};
  BOOL ok = FindNextFileA(findFile, &a);
  if (ok) WideFindData(a, findData);
  return ok;
}

DWORD Vox_GetFileAttributesW(LPCWSTR fileName) {
  if (Win32PlatformIsUnicode) return GetFileAttributesW(fileName);
  return GetFileAttributesA(Ptr(Ansi(fileName)));
}

BOOL Vox_SetFileAttributesW(LPCWSTR fileName, DWORD attributes) {
  if (Win32PlatformIsUnicode) return SetFileAttributesW(fileName, attributes);
  return SetFileAttributesA(Ptr(Ansi(fileName)), attributes);
}

BOOL Vox_CreateDirectoryW(LPCWSTR pathName, LPSECURITY_ATTRIBUTES security) {
  if (Win32PlatformIsUnicode) return CreateDirectoryW(pathName, security);
  return CreateDirectoryA(Ptr(Ansi(pathName)), security);
}

BOOL Vox_DeleteFileW(LPCWSTR fileName) {
  if (Win32PlatformIsUnicode) return DeleteFileW(fileName);
  return DeleteFileA(Ptr(Ansi(fileName)));
}

BOOL Vox_MoveFileW(LPCWSTR existingName, LPCWSTR newName) {
  if (Win32PlatformIsUnicode) return MoveFileW(existingName, newName);
  return MoveFileA(Ptr(Ansi(existingName)), Ptr(Ansi(newName)));
}

BOOL Vox_CopyFileW(LPCWSTR existingName, LPCWSTR newName, BOOL failIfExists) {
  if (Win32PlatformIsUnicode) return CopyFileW(existingName, newName, failIfExists);
  return CopyFileA(Ptr(Ansi(existingName)), Ptr(Ansi(newName)), failIfExists);
}

HMODULE Vox_LoadLibraryExW(LPCWSTR fileName, HANDLE file, DWORD flags) {
  if (Win32PlatformIsUnicode) return LoadLibraryExW(fileName, file, flags);
  return LoadLibraryExA(Ptr(Ansi(fileName)), file, flags);
}

HICON Vox_ExtractAssociatedIconW(HINSTANCE instance, LPWSTR iconPath, WORD* iconIndex) {
  if (Win32PlatformIsUnicode) return ExtractAssociatedIconW(instance, iconPath, iconIndex);
  std::string path = WideToAnsi(iconPath ? iconPath : L"");
  path.resize(std::max<size_t>(path.size() + 1, MAX_PATH), '\0');
  HICON icon = ExtractAssociatedIconA(instance, path.data(), iconIndex);
  if (iconPath) VoxCopyAnsiResult(path.c_str(), iconPath, MAX_PATH, vcmClear);
  return icon;
}

DWORD Vox_GetFileVersionInfoSizeW(LPCWSTR fileName, LPDWORD handle) {
  if (Win32PlatformIsUnicode) return GetFileVersionInfoSizeW(fileName, handle);
  return GetFileVersionInfoSizeA(Ptr(Ansi(fileName)), handle);
}

BOOL Vox_GetFileVersionInfoW(LPCWSTR fileName, DWORD handle, DWORD len, LPVOID data) {
  if (Win32PlatformIsUnicode) return GetFileVersionInfoW(fileName, handle, len, data);
  return GetFileVersionInfoA(Ptr(Ansi(fileName)), handle, len, data);
}

BOOL Vox_GetDiskFreeSpaceW(LPCWSTR rootPath, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                           LPDWORD freeClusters, LPDWORD totalClusters) {
  if (Win32PlatformIsUnicode)
    return GetDiskFreeSpaceW(rootPath, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters);
  return GetDiskFreeSpaceA(Ptr(Ansi(rootPath)), sectorsPerCluster, bytesPerSector, freeClusters, totalClusters);
}

int Vox_DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format) {
  if (Win32PlatformIsUnicode) return DrawTextW(dc, text, count, rect, format);
  // DT_MODIFYSTRING would write into the converted copy only; the caller's
  // text stays as it was.
  std::string a = WideToAnsi(std::wstring_view(text ? text : L"", count < 0 ? WLen(text) : size_t(count)));
  return DrawTextA(dc, a.c_str(), -1, rect, format & ~UINT(DT_MODIFYSTRING));
}

BOOL Vox_ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                     const INT* dx) {
  if (Win32PlatformIsUnicode) return ExtTextOutW(dc, x, y, options, rect, text, count, dx);
  // The ANSI call counts bytes: on a double-byte code page the count and
  // the spacing array must follow the bytes, not the characters.
  VoxAnsi::TAnsiText a = VoxAnsi::ToAnsi(text, static_cast<int>(count));
  std::vector<INT> dxBytes;
  if (dx) dxBytes = VoxAnsi::DxPerByte(a, dx);
  return ExtTextOutA(dc, x, y, options, rect, a.Bytes.c_str(), static_cast<UINT>(a.Bytes.size()),
                     dx ? dxBytes.data() : nullptr);
}

DWORD Vox_GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD n) {
  if (Win32PlatformIsUnicode) return GetModuleFileNameW(module, buffer, n);
  std::string b(MAX_PATH, '\0');
  DWORD r = GetModuleFileNameA(module, b.data(), MAX_PATH);
  if (r == 0) return 0;
  b.resize(std::min<DWORD>(r, MAX_PATH));
  return VoxCopyAnsiResult(b, buffer, n, vcmExact);
}

DWORD Vox_GetTempPathW(DWORD n, LPWSTR buffer) {
  if (Win32PlatformIsUnicode) return GetTempPathW(n, buffer);
  auto r = AnsiResult(MAX_PATH, [](char* b, DWORD size) { return GetTempPathA(size, b); });
  if (!r) return 0;
  return VoxCopyAnsiResult(*r, buffer, n, vcmFitsWithTerminator | vcmClear);
}

UINT Vox_GetWindowsDirectoryW(LPWSTR buffer, UINT n) {
  if (Win32PlatformIsUnicode) return GetWindowsDirectoryW(buffer, n);
  auto r = AnsiResult(MAX_PATH, [](char* b, DWORD size) { return GetWindowsDirectoryA(b, size); });
  if (!r) return 0;
  return VoxCopyAnsiResult(*r, buffer, n, 0);
}

UINT Vox_GetSystemDirectoryW(LPWSTR buffer, UINT n) {
  if (Win32PlatformIsUnicode) return GetSystemDirectoryW(buffer, n);
  auto r = AnsiResult(MAX_PATH, [](char* b, DWORD size) { return GetSystemDirectoryA(b, size); });
  if (!r) return 0;
  return VoxCopyAnsiResult(*r, buffer, n, 0);
}

BOOL Vox_GetComputerNameW(LPWSTR buffer, LPDWORD size) {
  if (Win32PlatformIsUnicode) return GetComputerNameW(buffer, size);
  char a[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD aSize = sizeof a;
  if (!GetComputerNameA(a, &aSize)) return FALSE;
  std::wstring w = AnsiToWide(a);
  const auto len = static_cast<DWORD>(w.size());
  if (len == 0 || len >= *size) {
    *size = len + 1;
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return FALSE;
  }
  std::memcpy(buffer, w.c_str(), (w.size() + 1) * sizeof(wchar_t));
  *size = len;
  return TRUE;
}

HINSTANCE Vox_ShellExecuteW(HWND wnd, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                            INT showCmd) {
  if (operation && !*operation) operation = nullptr;
  if (Win32PlatformIsUnicode) return Seams().ShellExecuteW(wnd, operation, file, parameters, directory, showCmd);
  auto op = Ansi(operation), f = Ansi(file), params = Ansi(parameters), dir = Ansi(directory);
  return Seams().ShellExecute(wnd, PtrOrNil(op), PtrOrNil(f), PtrOrNil(params), PtrOrNil(dir), showCmd);
}

BOOL Vox_CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                        LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                        LPVOID environment, LPCWSTR currentDirectory, LPSTARTUPINFOW startupInfo,
                        LPPROCESS_INFORMATION processInformation) {
  if (Win32PlatformIsUnicode)
    return CreateProcessW(applicationName, commandLine, processAttributes, threadAttributes, inheritHandles,
                          creationFlags, environment, currentDirectory, startupInfo, processInformation);
  auto app = Ansi(applicationName), dir = Ansi(currentDirectory);
  std::string cmd = WideToAnsi(commandLine ? commandLine : L"");
  // The record has the same layout in both forms; its two texts are
  // converted so that the A function does not read wide text as ANSI.
  STARTUPINFOA si{};
  std::optional<std::string> desktop, title;
  if (startupInfo) {
    std::memcpy(&si, startupInfo, sizeof si);
    si.cb = sizeof si;
    si.lpReserved = nullptr;
    desktop = Ansi(startupInfo->lpDesktop);
    title = Ansi(startupInfo->lpTitle);
    si.lpDesktop = const_cast<char*>(Ptr(desktop));
    si.lpTitle = const_cast<char*>(Ptr(title));
  }
  return CreateProcessA(PtrOrNil(app), cmd.empty() ? nullptr : cmd.data(), processAttributes, threadAttributes,
                        inheritHandles, creationFlags, environment, PtrOrNil(dir), startupInfo ? &si : nullptr,
                        processInformation);
}

int Vox_CompareStringW(LCID locale, DWORD flags, LPCWSTR s1, int n1, LPCWSTR s2, int n2) {
  if (Win32PlatformIsUnicode) return CompareStringW(locale, flags, s1, n1, s2, n2);
  std::wstring_view a(s1, n1 < 0 ? WLen(s1) : size_t(n1));
  std::wstring_view b(s2, n2 < 0 ? WLen(s2) : size_t(n2));
  if (flags == 0) {
    int c = a.compare(b);  // code units, as wchar_t is unsigned
    return c < 0 ? CSTR_LESS_THAN : c > 0 ? CSTR_GREATER_THAN : CSTR_EQUAL;
  }
  std::string x = WideToAnsi(a), y = WideToAnsi(b);
  return CompareStringA(locale, flags, x.c_str(), -1, y.c_str(), -1);
}

LPWSTR Vox_CharUpperW(LPWSTR p) {
  if (Win32PlatformIsUnicode) return CharUpperW(p);
  return CaseW(p, true);
}

LPWSTR Vox_CharLowerW(LPWSTR p) {
  if (Win32PlatformIsUnicode) return CharLowerW(p);
  return CaseW(p, false);
}

DWORD Vox_CharUpperBuffW(LPWSTR p, DWORD n) {
  if (Win32PlatformIsUnicode) return CharUpperBuffW(p, n);
  for (DWORD i = 0; i < n; ++i) p[i] = AnsiCaseOne(p[i], true);
  return n;
}

DWORD Vox_CharLowerBuffW(LPWSTR p, DWORD n) {
  if (Win32PlatformIsUnicode) return CharLowerBuffW(p, n);
  for (DWORD i = 0; i < n; ++i) p[i] = AnsiCaseOne(p[i], false);
  return n;
}

BOOL Vox_GetStringTypeExW(LCID locale, DWORD infoType, LPCWSTR src, int count, LPWORD charType) {
  if (Win32PlatformIsUnicode) return GetStringTypeExW(locale, infoType, src, count, charType);
  // One result per ANSI byte comes back; the caller's array has one per
  // UTF-16 unit, so the results are mapped back by character.
  VoxAnsi::TAnsiText a = VoxAnsi::ToAnsi(src, count);
  if (a.Bytes.empty()) return TRUE;
  std::vector<WORD> types(a.Bytes.size() + 1, 0);
  if (!GetStringTypeExA(locale, infoType, a.Bytes.c_str(), static_cast<int>(a.Bytes.size()), types.data()))
    return FALSE;
  VoxAnsi::TypesPerUnit(a, types.data(), charType);
  return TRUE;
}

int Vox_LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int n) {
  // Negative identifiers are kept in the table by their magnitude.
  if ((id >> 16) == 0xFFFF) id = static_cast<UINT>(-static_cast<int>(id));
  if (id > 0xFFFF) return 0;
  HRSRC res = FindResourceA(instance, MAKEINTRESOURCEA(id / 16 + 1), MAKEINTRESOURCEA(6) /* RT_STRING */);
  if (!res) return 0;
  HGLOBAL global = LoadResource(instance, res);
  const auto* p = static_cast<const WCHAR*>(global ? LockResource(global) : nullptr);
  if (!p) return 0;
  const WCHAR* end = p + SizeofResource(instance, res) / sizeof(WCHAR);
  for (UINT i = 0; i < id % 16; ++i) {
    if (p >= end) return 0;
    p += 1 + *p;
  }
  if (p >= end) return 0;
  int len = std::min<int>(*p, static_cast<int>(end - p - 1));
  if (!buffer || n <= 0) return len;
  int copied = std::min(n - 1, len);
  std::memcpy(buffer, p + 1, static_cast<size_t>(copied) * sizeof(WCHAR));
  buffer[copied] = 0;
  return copied;
}

BOOL Vox_VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, PUINT len) {
  if (Win32PlatformIsUnicode) return VerQueryValueW(block, subBlock, buffer, len);
  std::string sub = WideToAnsi(subBlock ? subBlock : L"");
  LPVOID value = nullptr;
  UINT valueLen = 0;
  if (!VerQueryValueA(block, sub.c_str(), &value, &valueLen)) return FALSE;
  static const char kStrings[] = "\\StringFileInfo";
  if (sub.size() >= sizeof kStrings - 1 && CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, sub.c_str(),
                                                          sizeof kStrings - 1, kStrings, -1) == CSTR_EQUAL) {
    gLastVersionValue = AnsiToWide(static_cast<const char*>(value));
    *buffer = gLastVersionValue.data();
    *len = static_cast<UINT>(gLastVersionValue.size() + 1);
  } else {
    *buffer = value;
    *len = valueLen;
  }
  return TRUE;
}

int Vox_SHFileOperationW(LPSHFILEOPSTRUCTW op) {
  if (Win32PlatformIsUnicode) return ShellEntries().FileOperation(op);
  std::string from = AnsiNameList(op->pFrom), to = AnsiNameList(op->pTo);
  auto title = Ansi(op->lpszProgressTitle);
  SHFILEOPSTRUCTA a{};
  a.hwnd = op->hwnd;
  a.wFunc = op->wFunc;
  a.pFrom = op->pFrom ? from.c_str() : nullptr;
  a.pTo = op->pTo ? to.c_str() : nullptr;
  a.fFlags = op->fFlags;
  a.lpszProgressTitle = Ptr(title);
  int result = SHFileOperationA(&a);
  op->fAnyOperationsAborted = a.fAnyOperationsAborted;
  op->hNameMappings = nullptr;
  if ((op->fFlags & FOF_WANTMAPPINGHANDLE) && a.hNameMappings) {
    const auto* src = static_cast<const TAnsiNameMappings*>(a.hNameMappings);
    auto* dst = new TVoxNameMappings{src->Count, new SHNAMEMAPPINGW[src->Count]};
    for (UINT i = 0; i < src->Count; ++i) {
      const SHNAMEMAPPINGA& m = src->Mappings[i];
      std::wstring oldPath = AnsiToWide(std::string_view(m.pszOldPath, static_cast<size_t>(m.cchOldPath)));
      std::wstring newPath = AnsiToWide(std::string_view(m.pszNewPath, static_cast<size_t>(m.cchNewPath)));
      dst->Mappings[i] = {NewWide(oldPath), NewWide(newPath), static_cast<int>(oldPath.size()),
                          static_cast<int>(newPath.size())};
    }
    SHFreeNameMappings(a.hNameMappings);
    op->hNameMappings = dst;
  }
  return result;
}

void Vox_SHFreeNameMappings(HANDLE nameMappings) {
  if (Win32PlatformIsUnicode) {
    SHFreeNameMappings(nameMappings);
    return;
  }
  auto* m = static_cast<TVoxNameMappings*>(nameMappings);
  if (!m) return;
  for (UINT i = 0; i < m->Count; ++i) {
    delete[] m->Mappings[i].pszOldPath;
    delete[] m->Mappings[i].pszNewPath;
  }
  delete[] m->Mappings;
  delete m;
}

PIDLIST_ABSOLUTE Vox_SHBrowseForFolderW(LPBROWSEINFOW info) {
  if (Win32PlatformIsUnicode) return ShellEntries().BrowseForFolder(info);
  char displayName[MAX_PATH] = {};
  auto title = Ansi(info->lpszTitle);
  BROWSEINFOA a{};
  a.hwndOwner = info->hwndOwner;
  a.pidlRoot = info->pidlRoot;
  a.pszDisplayName = info->pszDisplayName ? displayName : nullptr;
  a.lpszTitle = Ptr(title);
  a.ulFlags = info->ulFlags;
  a.lpfn = info->lpfn;
  a.lParam = info->lParam;
  a.iImage = info->iImage;
  PIDLIST_ABSOLUTE pidl = SHBrowseForFolderA(&a);
  info->iImage = a.iImage;
  if (info->pszDisplayName) VoxCopyAnsiResult(displayName, info->pszDisplayName, MAX_PATH, vcmClear);
  return pidl;
}

BOOL Vox_SHGetPathFromIDListW(PCIDLIST_ABSOLUTE pidl, LPWSTR path) {
  if (Win32PlatformIsUnicode) return ShellEntries().GetPathFromIDList(pidl, path);
  char a[MAX_PATH] = {};
  if (!SHGetPathFromIDListA(pidl, a)) return FALSE;
  VoxCopyAnsiResult(a, path, MAX_PATH, vcmClear);
  return TRUE;
}

DWORD_PTR Vox_SHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT infoSize, UINT flags) {
  if (Win32PlatformIsUnicode) return ShellEntries().GetFileInfo(path, attributes, info, infoSize, flags);
  // With SHGFI_PIDL the "path" is an item list, not text.
  std::optional<std::string> a;
  if (!(flags & SHGFI_PIDL)) a = Ansi(path);
  const char* p = (flags & SHGFI_PIDL) ? reinterpret_cast<const char*>(path) : Ptr(a);
  SHFILEINFOA fa{};
  DWORD_PTR r = SHGetFileInfoA(p, attributes, info ? &fa : nullptr, info ? sizeof fa : 0, flags);
  if (info) {
    std::memset(info, 0, std::min<size_t>(infoSize, sizeof *info));
    info->hIcon = fa.hIcon;
    info->iIcon = fa.iIcon;
    info->dwAttributes = fa.dwAttributes;
    CopyField(info->szDisplayName, fa.szDisplayName);
    CopyField(info->szTypeName, fa.szTypeName);
  }
  return r;
}

bool Vox_Is_IntResource(LPCWSTR p) { return (reinterpret_cast<uintptr_t>(p) >> 16) == 0; }

void FinalizeVoxWindows() {
  if (gShell.Module) FreeLibrary(gShell.Module);
  gShell = {};
  std::wstring().swap(gLastVersionValue);
}
