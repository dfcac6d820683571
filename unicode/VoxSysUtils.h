// VoxSysUtils: the Unicode layer's platform flags and the WideString /
// PWideChar twins of the run-time library's string, file-name, file, date and
// character routines.
//
// Each routine behaves like its ANSI namesake, on UTF-16 text, and reaches
// the operating system only through the Vox_...W wrappers (VoxWindows), so
// the same code runs where the wide API is missing: the wrappers take the
// ANSI route whenever Win32PlatformIsUnicode is false.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "classlib/SysUtils.h"
#include "classlib/Win.h"

// The platform family: true on Windows NT (the wide API is there). Tests set
// it false to run the ANSI route of every wrapper.
extern bool Win32PlatformIsUnicode;
// Windows XP (5.1) or later.
extern bool Win32PlatformIsXP;

enum TVoxTextLineBreakStyle { tlbsLF, tlbsCRLF, tlbsCR };

// --- PWideChar ---------------------------------------------------------------
// The comparisons go through Vox_CompareStringW in the thread locale and
// return -1, 0 or 1; the L-variants compare at most maxLen characters.
wchar_t* StrEndW(const wchar_t* str);
size_t StrLenW(const wchar_t* str);
wchar_t* StrLCopyW(wchar_t* dest, const wchar_t* source, size_t maxLen);
wchar_t* StrCopyW(wchar_t* dest, const wchar_t* source);
// Returns the end (the terminator) of dest.
wchar_t* StrECopyW(wchar_t* dest, const wchar_t* source);
// From an ANSI string, widened through the ANSI code page.
wchar_t* StrPLCopyW(wchar_t* dest, const std::string& source, size_t maxLen);
wchar_t* StrPCopyW(wchar_t* dest, const std::string& source);
int StrLCompW(const wchar_t* str1, const wchar_t* str2, size_t maxLen);
int StrCompW(const wchar_t* str1, const wchar_t* str2);
int StrLICompW(const wchar_t* str1, const wchar_t* str2, size_t maxLen);
int StrICompW(const wchar_t* str1, const wchar_t* str2);
wchar_t* StrLowerW(wchar_t* str);
wchar_t* StrUpperW(wchar_t* str);
// The first occurrence of str2 in str1, or null.
wchar_t* StrPosW(const wchar_t* str1, const wchar_t* str2);
// The first / last chr in str, or null; chr 0 finds the terminator.
wchar_t* StrScanW(const wchar_t* str, wchar_t chr);
wchar_t* StrRScanW(const wchar_t* str, wchar_t chr);
// Appends source so that dest holds at most maxLen characters.
wchar_t* StrLCatW(wchar_t* dest, const wchar_t* source, size_t maxLen);
wchar_t* StrCatW(wchar_t* dest, const wchar_t* source);
// Copies count characters; the ranges may overlap.
wchar_t* StrMoveW(wchar_t* dest, const wchar_t* source, size_t count);
std::wstring StrPasW(const wchar_t* str);
// A buffer of size characters whose byte size (size * 2 + 4) is kept in a
// 32-bit word before the text; free it with StrDisposeW.
wchar_t* StrAllocW(size_t size);
size_t StrBufSizeW(const wchar_t* str);
// A StrAllocW copy of str (null for null).
wchar_t* StrNewW(const wchar_t* str);
void StrDisposeW(wchar_t* str);

// --- Case --------------------------------------------------------------------
std::wstring Vox_WideUpperCase(const std::wstring& s);
std::wstring Vox_WideLowerCase(const std::wstring& s);
// 1-based position of sub in s, both upper-cased; 0 when absent.
int WideTextPos(const std::wstring& sub, const std::wstring& s);

// --- Text ----------------------------------------------------------------------
// The last character of s (a pointer into s), or null when s is empty.
const wchar_t* WideLastChar(const std::wstring& s);
// rfReplaceAll and rfIgnoreCase as StringReplace; with wholeWord a hit counts
// only between characters that are absent, white space or punctuation.
std::wstring WideStringReplace(const std::wstring& s, const std::wstring& oldPattern,
                               const std::wstring& newPattern, TReplaceFlags flags,
                               bool wholeWord = false);
// Every CR LF, lone CR, lone LF and U+2028 becomes the style's line break.
size_t VoxAdjustLineBreaksLength(const std::wstring& s, TVoxTextLineBreakStyle style = tlbsCRLF);
std::wstring VoxAdjustLineBreaks(const std::wstring& s, TVoxTextLineBreakStyle style = tlbsCRLF);
std::wstring WideQuotedStr(const std::wstring& s, wchar_t quote);
// When p starts with quote: the text up to the closing quote with doubled
// quotes undone, p moved past it (to the terminator when there is none).
// Otherwise "" and p stays.
std::wstring WideExtractQuotedStr(const wchar_t*& p, wchar_t quote);
// Breaks lines longer than maxCol at the last break character before the
// limit, keeping quoted stretches together; an existing CR LF restarts the count.
std::wstring WideWrapText(const std::wstring& line, const std::wstring& breakStr,
                          const std::wstring& breakChars, int maxCol);
// CR LF and the break characters space, hyphen and tab.
std::wstring WideWrapText(const std::wstring& line, int maxCol);
// Text that begins "{\rtf" or "{urtf" (either case).
bool IsRTF(const std::wstring& value);

// --- Paths -----------------------------------------------------------------------
std::wstring WideIncludeTrailingBackslash(const std::wstring& s);
std::wstring WideExcludeTrailingBackslash(const std::wstring& s);
// Index is 1-based.
bool WideIsDelimiter(const std::wstring& delimiters, const std::wstring& s, int index);
bool WideIsPathDelimiter(const std::wstring& s, int index);
int WideLastDelimiter(const std::wstring& delimiters, const std::wstring& s);
std::wstring WideChangeFileExt(const std::wstring& fileName, const std::wstring& extension);
std::wstring WideExtractFilePath(const std::wstring& fileName);
std::wstring WideExtractFileDir(const std::wstring& fileName);
// "C:" or, for a UNC name, "\\server\share"; "" otherwise.
std::wstring WideExtractFileDrive(const std::wstring& fileName);
std::wstring WideExtractFileName(const std::wstring& fileName);
std::wstring WideExtractFileExt(const std::wstring& fileName);
// destName relative to the folder of baseName ("..\" for every folder of
// the base not shared with the destination); destName itself on another drive.
std::wstring WideExtractRelativePath(const std::wstring& baseName, const std::wstring& destName);
std::wstring WideExpandFileName(const std::wstring& fileName);
// The 8.3 name of an existing file; "" when there is none.
std::wstring WideExtractShortPathName(const std::wstring& fileName);

// --- Files -------------------------------------------------------------------------
// Create (always, read/write, exclusive) or open an existing file with an
// fmOpen* | fmShare* mode; INVALID_HANDLE_VALUE on failure.
HANDLE WideFileCreate(const std::wstring& fileName);
HANDLE WideFileOpen(const std::wstring& fileName, WORD mode);
bool WideFileExists(const std::wstring& fileName);
bool WideDirectoryExists(const std::wstring& name);
// The attributes, or -1 (INVALID_FILE_ATTRIBUTES) when the file is missing.
int WideFileGetAttr(const std::wstring& fileName);
// 0, or the system error code.
int WideFileSetAttr(const std::wstring& fileName, int attr);
// Creates dir and its missing parents. An empty name raises Exception
// "Unable to create directory".
bool WideForceDirectories(const std::wstring& dir);
// The name as given when it exists, else the first directory of the ";"
// list that holds it (directory + name); "" when none does.
std::wstring WideFileSearch(const std::wstring& name, const std::wstring& dirList);
bool WideRenameFile(const std::wstring& oldName, const std::wstring& newName);
bool WideDeleteFile(const std::wstring& fileName);
bool WideCopyFile(const std::wstring& fromFile, const std::wstring& toFile, bool failIfExists);

// File attributes of WideFindFirst (the run-time library's fa* values).
inline constexpr int faReadOnly = 0x01;
inline constexpr int faHidden = 0x02;
inline constexpr int faSysFile = 0x04;
inline constexpr int faVolumeID = 0x08;
inline constexpr int faDirectory = 0x10;
inline constexpr int faArchive = 0x20;
inline constexpr int faAnyFile = 0x3F;

struct TSearchRecW {
  int Time = 0;  // local DOS date and time
  int64_t Size = 0;
  int Attr = 0;
  std::wstring Name;
  int ExcludeAttr = 0;
  HANDLE FindHandle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW FindData{};
};
// 0, or the system error code. Entries with attributes outside attr
// (hidden, system, volume, directory) are skipped.
int WideFindFirst(const std::wstring& path, int attr, TSearchRecW& f);
int WideFindNext(TSearchRecW& f);
void WideFindClose(TSearchRecW& f);

// --- Dates (the system's variant date parser, in the thread locale) ---------------
bool ValidDateTimeStr(const std::wstring& s);
bool ValidDateStr(const std::wstring& s);
bool ValidTimeStr(const std::wstring& s);
// Raise EConvertError "'%s' is not a valid date and time" (date, time) followed
// by CR LF and the parser's error message.
TDateTime VoxStrToDateTime(const std::wstring& s);
TDateTime VoxStrToDate(const std::wstring& s);
TDateTime VoxStrToTime(const std::wstring& s);

// --- Locale and module -------------------------------------------------------------
std::wstring WideGetLocaleStr(LCID locale, LCTYPE lcType, const std::wstring& def);
// Raises the last OS error when the name cannot be had.
std::wstring WideGetModuleFileName(HMODULE module);

// --- Checks: raise the last OS error (RaiseLastOSError) on failure ------------------
template <class H>
H WinCheckH(H handle) {
  if (!handle) RaiseLastOSError();
  return handle;
}
inline HANDLE WinCheckFileH(HANDLE handle) {
  if (handle == INVALID_HANDLE_VALUE) RaiseLastOSError();
  return handle;
}
template <class P>
P WinCheckP(P pointer) {
  if (!pointer) RaiseLastOSError();
  return pointer;
}

// --- Character classes (CT_CTYPE1 in the thread locale; failure raises) -------------
bool IsWideCharUpper(wchar_t c);
bool IsWideCharLower(wchar_t c);
bool IsWideCharDigit(wchar_t c);
bool IsWideCharSpace(wchar_t c);
bool IsWideCharPunct(wchar_t c);
bool IsWideCharCntrl(wchar_t c);
bool IsWideCharBlank(wchar_t c);
bool IsWideCharXDigit(wchar_t c);
bool IsWideCharAlpha(wchar_t c);
bool IsWideCharAlphaNumeric(wchar_t c);

// --- String arrays: zero-terminated strings ended by an empty one -------------------
// The whole run, every terminator included (the final empty string's too).
std::wstring ExtractStringArrayStr(const wchar_t* p);
// The text up to separator; p moves past it, or to the end of the text.
std::wstring ExtractStringFromStringArray(const wchar_t*& p, wchar_t separator = 0);
std::vector<std::wstring> ExtractStringsFromStringArray(const wchar_t* p, wchar_t separator = 0);

// --- ANSI mapping (DefaultUserCodePage) ---------------------------------------------
// True when the character / text converts without the code page's default character.
bool IsWideCharMappableToAnsi(wchar_t c);
bool IsWideStringMappableToAnsi(const std::wstring& s);

// Unit start-up: the platform flags.
void InitializeVoxSysUtils();
