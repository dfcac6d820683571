// VoxWindows: one call for each wide Windows function the Unicode layer
// needs, with the arguments and result of the platform's W function.
//
// Where Win32PlatformIsUnicode holds (Windows NT, and so always here) the W
// function is called as it is. Otherwise, as on the Windows 9x family where
// most W functions are missing, the call goes through the A function: text
// arguments are converted to the ANSI code page (a character the code page
// lacks arrives as its default character) and text results are converted
// back into the caller's buffer by the result-copy rule (VoxCopyAnsiResult).
#pragma once

#include <string>
#include <vector>

#include "classlib/Win.h"

#include <shellapi.h>
#include <shlobj.h>

// The result-copy rule of the ANSI route: the A function's text r, converted
// to wide text w, goes into the caller's buffer of n characters.
// - w shorter than n: copied with its terminator; the result is its length.
// - otherwise, by mode: vcmExact copies n characters without a terminator and
//   returns n; vcmFitsWithTerminator (only when n is the length of w) copies
//   n - 1 characters and the terminator and returns the length + 1; else the
//   result is the length + 1 (the size needed) and, when n > 0, vcmClear
//   empties the buffer and vcmPath copies the leading path components (up to
//   and including a backslash) that fit when n >= 4; without a mode the
//   buffer is left alone.
enum : unsigned {
  vcmExact = 1,
  vcmFitsWithTerminator = 2,
  vcmClear = 4,
  vcmPath = 8,
};
DWORD VoxCopyAnsiResult(const std::string& r, wchar_t* buffer, DWORD n, unsigned modes);

BOOL Vox_SetWindowTextW(HWND wnd, LPCWSTR text);
DWORD Vox_GetShortPathNameW(LPCWSTR longPath, LPWSTR shortPath, DWORD n);
// filePart may be null.
DWORD Vox_GetFullPathNameW(LPCWSTR fileName, DWORD n, LPWSTR buffer, LPWSTR* filePart);
HANDLE Vox_CreateFileW(LPCWSTR fileName, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                       DWORD disposition, DWORD flags, HANDLE templateFile);
HANDLE Vox_FindFirstFileW(LPCWSTR fileName, WIN32_FIND_DATAW* findData);
BOOL Vox_FindNextFileW(HANDLE findFile, WIN32_FIND_DATAW* findData);
DWORD Vox_GetFileAttributesW(LPCWSTR fileName);
BOOL Vox_SetFileAttributesW(LPCWSTR fileName, DWORD attributes);
BOOL Vox_CreateDirectoryW(LPCWSTR pathName, LPSECURITY_ATTRIBUTES security);
BOOL Vox_DeleteFileW(LPCWSTR fileName);
BOOL Vox_MoveFileW(LPCWSTR existingName, LPCWSTR newName);
BOOL Vox_CopyFileW(LPCWSTR existingName, LPCWSTR newName, BOOL failIfExists);
HMODULE Vox_LoadLibraryExW(LPCWSTR fileName, HANDLE file, DWORD flags);
// iconPath is read and, as the platform does, may receive the path of the
// file the icon came from (a buffer of MAX_PATH characters).
HICON Vox_ExtractAssociatedIconW(HINSTANCE instance, LPWSTR iconPath, WORD* iconIndex);
DWORD Vox_GetFileVersionInfoSizeW(LPCWSTR fileName, LPDWORD handle);
BOOL Vox_GetFileVersionInfoW(LPCWSTR fileName, DWORD handle, DWORD len, LPVOID data);
BOOL Vox_GetDiskFreeSpaceW(LPCWSTR rootPath, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                           LPDWORD freeClusters, LPDWORD totalClusters);
// count -1: up to the terminator.
int Vox_DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format);
BOOL Vox_ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                     const INT* dx);
DWORD Vox_GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD n);
DWORD Vox_GetTempPathW(DWORD n, LPWSTR buffer);
UINT Vox_GetWindowsDirectoryW(LPWSTR buffer, UINT n);
UINT Vox_GetSystemDirectoryW(LPWSTR buffer, UINT n);
BOOL Vox_GetComputerNameW(LPWSTR buffer, LPDWORD size);
// An empty operation means the default verb (null) on both routes; on the
// ANSI route every empty text is passed as null.
HINSTANCE Vox_ShellExecuteW(HWND wnd, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters,
                            LPCWSTR directory, INT showCmd);
BOOL Vox_CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                        LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                        LPVOID environment, LPCWSTR currentDirectory, LPSTARTUPINFOW startupInfo,
                        LPPROCESS_INFORMATION processInformation);
// 1 less, 2 equal, 3 greater (0 on failure). Without flags the ANSI route
// compares UTF-16 code units.
int Vox_CompareStringW(LCID locale, DWORD flags, LPCWSTR s1, int n1, LPCWSTR s2, int n2);
// A pointer whose high bits are all zero carries one character in its low word.
LPWSTR Vox_CharUpperW(LPWSTR p);
LPWSTR Vox_CharLowerW(LPWSTR p);
DWORD Vox_CharUpperBuffW(LPWSTR p, DWORD n);
DWORD Vox_CharLowerBuffW(LPWSTR p, DWORD n);
// One type per UTF-16 unit of src in charType, on both routes.
BOOL Vox_GetStringTypeExW(LCID locale, DWORD infoType, LPCWSTR src, int count, LPWORD charType);
// Reads the string table itself, on both routes: with no buffer or n <= 0
// the string's length, else min(n - 1, length) units copied and terminated.
int Vox_LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int n);
BOOL Vox_VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, PUINT len);
int Vox_SHFileOperationW(LPSHFILEOPSTRUCTW op);
void Vox_SHFreeNameMappings(HANDLE nameMappings);
PIDLIST_ABSOLUTE Vox_SHBrowseForFolderW(LPBROWSEINFOW info);
BOOL Vox_SHGetPathFromIDListW(PCIDLIST_ABSOLUTE pidl, LPWSTR path);
DWORD_PTR Vox_SHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT infoSize, UINT flags);
// True when the high bits of the pointer are zero (a resource number).
bool Vox_Is_IntResource(LPCWSTR p);

// The name mappings the ANSI route of Vox_SHFileOperationW hands back: the
// count, then the entries, each path a wide string of its own.
struct TVoxNameMappings {
  UINT Count;
  SHNAMEMAPPINGW* Mappings;
};

// The language-identifier helpers, as functions of the same names and
// results as the platform's macros (which they replace).
#undef MAKELANGID
#undef PRIMARYLANGID
#undef SUBLANGID
#undef MAKELCID
#undef SORTIDFROMLCID
#undef LANGIDFROMLCID
constexpr WORD MAKELANGID(WORD primary, WORD sub) { return static_cast<WORD>((sub << 10) | primary); }
constexpr WORD PRIMARYLANGID(WORD langId) { return static_cast<WORD>(langId & 0x3FF); }
constexpr WORD SUBLANGID(WORD langId) { return static_cast<WORD>((langId >> 10) & 0x3F); }
constexpr DWORD MAKELCID(WORD langId, WORD sortId) { return (static_cast<DWORD>(sortId) << 16) | langId; }
constexpr WORD SORTIDFROMLCID(DWORD lcid) { return static_cast<WORD>(lcid >> 16); }
constexpr WORD LANGIDFROMLCID(DWORD lcid) { return static_cast<WORD>(lcid & 0xFFFF); }

// Unit finalisation: lets go of shell32 and the last version value.
void FinalizeVoxWindows();

// The ANSI route's text helpers, public for the layer's own units and tests.
namespace VoxAnsi {
// Wide text (count units, -1: to the terminator) in a code page, with the
// byte offset of every UTF-16 unit's character: a surrogate pair is one
// character, a double-byte character two bytes.
struct TAnsiText {
  std::string Bytes;
  std::vector<int> FirstByte;  // per UTF-16 unit, plus one entry for the end
};
TAnsiText ToAnsi(LPCWSTR text, int count, UINT codePage = CP_ACP);
// The per-unit spacing array as one entry per byte: the character's advance
// on its first byte, 0 on the others.
std::vector<INT> DxPerByte(const TAnsiText& text, const INT* dx);
// Per-byte types (one per byte of text) back to one per UTF-16 unit: each
// unit takes the type of its character's first byte.
void TypesPerUnit(const TAnsiText& text, const WORD* byteTypes, WORD* unitTypes);
}  // namespace VoxAnsi
