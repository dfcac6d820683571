#include "unicode/VoxSysUtils.h"

#include <oleauto.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "classlib/Classes.h"
#include "unicode/VoxSystem.h"
#include "unicode/VoxWindows.h"

bool Win32PlatformIsUnicode = true;
bool Win32PlatformIsXP = true;

void InitializeVoxSysUtils() {
  Win32PlatformIsUnicode = Win32Platform == VER_PLATFORM_WIN32_NT;
  Win32PlatformIsXP = (Win32MajorVersion == 5 && Win32MinorVersion >= 1) || Win32MajorVersion > 5;
}

// --- PWideChar ------------------------------------------------------------------

wchar_t* StrEndW(const wchar_t* str) { return const_cast<wchar_t*>(str + std::wcslen(str)); }

size_t StrLenW(const wchar_t* str) { return str ? std::wcslen(str) : 0; }

wchar_t* StrLCopyW(wchar_t* dest, const wchar_t* source, size_t maxLen) {
  size_t n = 0;
  while (n < maxLen && source[n]) {
    dest[n] = source[n];
    ++n;
  }
  dest[n] = 0;
  return dest;
}

wchar_t* StrCopyW(wchar_t* dest, const wchar_t* source) {
  std::memmove(dest, source, (std::wcslen(source) + 1) * sizeof(wchar_t));
  return dest;
}

wchar_t* StrECopyW(wchar_t* dest, const wchar_t* source) {
  size_t n = std::wcslen(source);
  std::memmove(dest, source, (n + 1) * sizeof(wchar_t));
  return dest + n;
}

wchar_t* StrPLCopyW(wchar_t* dest, const std::string& source, size_t maxLen) {
  std::wstring w = AnsiToWide(source);
  return StrLCopyW(dest, w.c_str(), maxLen);
}

wchar_t* StrPCopyW(wchar_t* dest, const std::string& source) {
  std::wstring w = AnsiToWide(source);
  return StrCopyW(dest, w.c_str());
}

namespace {

int CompareW(const wchar_t* a, int na, const wchar_t* b, int nb, DWORD flags) {
  return Vox_CompareStringW(GetThreadLocale(), flags, a, na, b, nb) - CSTR_EQUAL;
}

// The length of str, at most maxLen (the L-variants look no further).
int LimitedLen(const wchar_t* str, size_t maxLen) {
  size_t n = 0;
  while (n < maxLen && str[n]) ++n;
  return static_cast<int>(n);
}

}  // namespace

int StrLCompW(const wchar_t* str1, const wchar_t* str2, size_t maxLen) {
  return CompareW(str1, LimitedLen(str1, maxLen), str2, LimitedLen(str2, maxLen), 0);
}
int StrCompW(const wchar_t* str1, const wchar_t* str2) { return CompareW(str1, -1, str2, -1, 0); }
int StrLICompW(const wchar_t* str1, const wchar_t* str2, size_t maxLen) {
  return CompareW(str1, LimitedLen(str1, maxLen), str2, LimitedLen(str2, maxLen), NORM_IGNORECASE);
}
int StrICompW(const wchar_t* str1, const wchar_t* str2) { return CompareW(str1, -1, str2, -1, NORM_IGNORECASE); }

wchar_t* StrLowerW(wchar_t* str) {
  Vox_CharLowerBuffW(str, static_cast<DWORD>(std::wcslen(str)));
  return str;
}

wchar_t* StrUpperW(wchar_t* str) {
  Vox_CharUpperBuffW(str, static_cast<DWORD>(std::wcslen(str)));
  return str;
}

wchar_t* StrPosW(const wchar_t* str1, const wchar_t* str2) {
  if (!str1 || !str2 || !*str1 || !*str2) return nullptr;
  return const_cast<wchar_t*>(std::wcsstr(str1, str2));
}

wchar_t* StrScanW(const wchar_t* str, wchar_t chr) {
  for (;; ++str) {
    if (*str == chr) return const_cast<wchar_t*>(str);
    if (!*str) return nullptr;
  }
}

wchar_t* StrRScanW(const wchar_t* str, wchar_t chr) {
  const wchar_t* found = nullptr;
  for (;; ++str) {
    if (*str == chr) found = str;
    if (!*str) return const_cast<wchar_t*>(found);
  }
}

wchar_t* StrLCatW(wchar_t* dest, const wchar_t* source, size_t maxLen) {
  size_t n = std::wcslen(dest);
  if (n < maxLen) StrLCopyW(dest + n, source, maxLen - n);
  return dest;
}

wchar_t* StrCatW(wchar_t* dest, const wchar_t* source) {
  StrCopyW(StrEndW(dest), source);
  return dest;
}

wchar_t* StrMoveW(wchar_t* dest, const wchar_t* source, size_t count) {
  std::memmove(dest, source, count * sizeof(wchar_t));
  return dest;
}

std::wstring StrPasW(const wchar_t* str) { return str ? std::wstring(str) : std::wstring(); }

wchar_t* StrAllocW(size_t size) {
  const size_t bytes = size * sizeof(wchar_t) + 4;
  auto* block = new char[bytes];
  auto word = static_cast<uint32_t>(bytes);
  std::memcpy(block, &word, 4);
  auto* text = reinterpret_cast<wchar_t*>(block + 4);
  if (size) text[0] = 0;
  return text;
}

size_t StrBufSizeW(const wchar_t* str) {
  uint32_t word;
  std::memcpy(&word, reinterpret_cast<const char*>(str) - 4, 4);
  return (word - 4) / sizeof(wchar_t);
}

wchar_t* StrNewW(const wchar_t* str) {
  if (!str) return nullptr;
  size_t n = std::wcslen(str);
  wchar_t* p = StrAllocW(n + 1);
  std::memcpy(p, str, (n + 1) * sizeof(wchar_t));
  return p;
}

void StrDisposeW(wchar_t* str) {
  if (str) delete[] (reinterpret_cast<char*>(str) - 4);
}

// --- Case ---------------------------------------------------------------------

std::wstring Vox_WideUpperCase(const std::wstring& s) {
  std::wstring r = s;
  if (!r.empty()) Vox_CharUpperBuffW(r.data(), static_cast<DWORD>(r.size()));
  return r;
}

std::wstring Vox_WideLowerCase(const std::wstring& s) {
  std::wstring r = s;
  if (!r.empty()) Vox_CharLowerBuffW(r.data(), static_cast<DWORD>(r.size()));
  return r;
}

int WideTextPos(const std::wstring& sub, const std::wstring& s) {
  return Pos(Vox_WideUpperCase(sub), Vox_WideUpperCase(s));
}

// --- Text ------------------------------------------------------------------------

const wchar_t* WideLastChar(const std::wstring& s) { return s.empty() ? nullptr : s.data() + s.size() - 1; }

std::wstring WideStringReplace(const std::wstring& s, const std::wstring& oldPattern,
                               const std::wstring& newPattern, TReplaceFlags flags, bool wholeWord) {
  const bool ignoreCase = flags.Contains(rfIgnoreCase);
  const std::wstring searchIn = ignoreCase ? Vox_WideUpperCase(s) : s;
  const std::wstring pattern = ignoreCase ? Vox_WideUpperCase(oldPattern) : oldPattern;
  auto separates = [](wchar_t c) { return IsWideCharSpace(c) || IsWideCharPunct(c); };
  std::wstring result;
  size_t pos = 0;
  while (!pattern.empty()) {
    size_t hit = searchIn.find(pattern, pos);
    if (hit == std::wstring::npos) break;
    result.append(s, pos, hit - pos);
    const size_t end = hit + pattern.size();
    bool counts = true;
    if (wholeWord) {
      bool beforeOk = result.empty() || separates(result.back());
      bool afterOk = end >= s.size() || separates(s[end]);
      counts = beforeOk && afterOk;
    }
    pos = end;
    if (!counts) {
      result.append(s, hit, pattern.size());
      continue;
    }
    result += newPattern;
    if (!flags.Contains(rfReplaceAll)) break;
  }
  result.append(s, pos, std::wstring::npos);
  return result;
}

namespace {

const wchar_t* BreakOf(TVoxTextLineBreakStyle style) {
  switch (style) {
    case tlbsLF: return L"\n";
    case tlbsCR: return L"\r";
    default: return L"\r\n";
  }
}

// Calls line(text) for each run of s and brk() for each line break of any kind.
template <class Text, class Break>
void WalkLineBreaks(const std::wstring& s, Text text, Break brk) {
  size_t start = 0, i = 0;
  while (i < s.size()) {
    wchar_t c = s[i];
    if (c == L'\r' || c == L'\n' || c == 0x2028) {
      text(start, i - start);
      brk();
      i += (c == L'\r' && i + 1 < s.size() && s[i + 1] == L'\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  text(start, s.size() - start);
}

}  // namespace

size_t VoxAdjustLineBreaksLength(const std::wstring& s, TVoxTextLineBreakStyle style) {
  size_t n = 0;
  const size_t brk = std::wcslen(BreakOf(style));
  WalkLineBreaks(s, [&](size_t, size_t len) { n += len; }, [&] { n += brk; });
  return n;
}

std::wstring VoxAdjustLineBreaks(const std::wstring& s, TVoxTextLineBreakStyle style) {
  std::wstring r;
  r.reserve(VoxAdjustLineBreaksLength(s, style));
  WalkLineBreaks(s, [&](size_t at, size_t len) { r.append(s, at, len); }, [&] { r += BreakOf(style); });
  return r;
}

std::wstring WideQuotedStr(const std::wstring& s, wchar_t quote) {
  std::wstring r(1, quote);
  for (wchar_t c : s) {
    r += c;
    if (c == quote) r += c;
  }
  r += quote;
  return r;
}

std::wstring WideExtractQuotedStr(const wchar_t*& p, wchar_t quote) {
  if (!p || *p != quote) return {};
  std::wstring r;
  const wchar_t* q = p + 1;
  while (*q) {
    if (*q == quote) {
      ++q;
      if (*q != quote) break;
    }
    r += *q++;
  }
  p = q;
  return r;
}

std::wstring WideWrapText(const std::wstring& line, const std::wstring& breakStr, const std::wstring& breakChars,
                          int maxCol) {
  auto isBreakChar = [&](wchar_t c) { return breakChars.find(c) != std::wstring::npos; };
  std::wstring out;
  const size_t n = line.size();
  size_t lineStart = 0, i = 0;
  size_t breakPos = std::wstring::npos;
  int col = 0;
  wchar_t quote = 0;
  while (i < n) {
    wchar_t c = line[i];
    if (!quote && c == L'\r' && i + 1 < n && line[i + 1] == L'\n') {
      // A line break already there ends the line and restarts the count.
      i += 2;
      out.append(line, lineStart, i - lineStart);
      lineStart = i;
      col = 0;
      breakPos = std::wstring::npos;
      continue;
    }
    if (c == L'\'' || c == L'"') {
      if (quote == c) quote = 0;
      else if (!quote) quote = c;
    } else if (!quote && isBreakChar(c)) {
      breakPos = i;
    }
    ++i;
    ++col;
    if (!quote && col > maxCol && breakPos != std::wstring::npos) {
      // Only the break is inserted: break characters after it (a second
      // space, a minus sign) begin the next line and may end it in turn.
      out.append(line, lineStart, breakPos + 1 - lineStart);
      const size_t next = breakPos + 1;
      if (next < n) out += breakStr;
      lineStart = next;
      col = static_cast<int>(i - next);
      breakPos = std::wstring::npos;
    }
  }
  out.append(line, lineStart, std::wstring::npos);
  return out;
}

std::wstring WideWrapText(const std::wstring& line, int maxCol) { return WideWrapText(line, L"\r\n", L" -\t", maxCol); }

bool IsRTF(const std::wstring& value) {
  if (value.size() < 5) return false;
  std::wstring head = Vox_WideUpperCase(value.substr(0, 5));
  return head == L"{\\RTF" || head == L"{URTF";
}

// --- Paths ---------------------------------------------------------------------------

bool WideIsDelimiter(const std::wstring& delimiters, const std::wstring& s, int index) {
  if (index < 1 || index > static_cast<int>(s.size())) return false;
  return delimiters.find(s[static_cast<size_t>(index - 1)]) != std::wstring::npos;
}

bool WideIsPathDelimiter(const std::wstring& s, int index) {
  return index > 0 && index <= static_cast<int>(s.size()) && s[static_cast<size_t>(index - 1)] == L'\\';
}

int WideLastDelimiter(const std::wstring& delimiters, const std::wstring& s) {
  size_t p = s.find_last_of(delimiters);
  return p == std::wstring::npos ? 0 : static_cast<int>(p) + 1;
}

std::wstring WideIncludeTrailingBackslash(const std::wstring& s) {
  return WideIsPathDelimiter(s, static_cast<int>(s.size())) ? s : s + L'\\';
}

std::wstring WideExcludeTrailingBackslash(const std::wstring& s) {
  return WideIsPathDelimiter(s, static_cast<int>(s.size())) ? s.substr(0, s.size() - 1) : s;
}

std::wstring WideChangeFileExt(const std::wstring& fileName, const std::wstring& extension) {
  int i = WideLastDelimiter(L".\\:", fileName);
  // A dot before the last path delimiter is not an extension: append.
  if (i == 0 || fileName[static_cast<size_t>(i - 1)] != L'.') return fileName + extension;
  return fileName.substr(0, static_cast<size_t>(i - 1)) + extension;
}

std::wstring WideExtractFilePath(const std::wstring& fileName) {
  return fileName.substr(0, static_cast<size_t>(WideLastDelimiter(L"\\:", fileName)));
}

std::wstring WideExtractFileDir(const std::wstring& fileName) {
  int i = WideLastDelimiter(L"\\:", fileName);
  // "C:\" keeps its backslash; "C:\dir\" loses it.
  if (i > 1 && fileName[static_cast<size_t>(i - 1)] == L'\\' && !WideIsDelimiter(L"\\:", fileName, i - 1)) --i;
  return fileName.substr(0, static_cast<size_t>(i));
}

std::wstring WideExtractFileDrive(const std::wstring& fileName) {
  if (fileName.size() >= 2 && fileName[1] == L':') return fileName.substr(0, 2);
  if (fileName.size() >= 2 && fileName[0] == L'\\' && fileName[1] == L'\\') {
    // "\\server\share": up to the backslash after the share, if any.
    size_t server = fileName.find(L'\\', 2);
    if (server == std::wstring::npos) return fileName;
    size_t share = fileName.find(L'\\', server + 1);
    return share == std::wstring::npos ? fileName : fileName.substr(0, share);
  }
  return {};
}

std::wstring WideExtractFileName(const std::wstring& fileName) {
  return fileName.substr(static_cast<size_t>(WideLastDelimiter(L"\\:", fileName)));
}

std::wstring WideExtractFileExt(const std::wstring& fileName) {
  int i = WideLastDelimiter(L".\\:", fileName);
  if (i > 0 && fileName[static_cast<size_t>(i - 1)] == L'.') return fileName.substr(static_cast<size_t>(i - 1));
  return {};
}

namespace {

// The folders of a path ("C:\a\b\" gives "a", "b"; the drive is not one).
std::vector<std::wstring> FoldersOf(const std::wstring& path) {
  std::vector<std::wstring> parts;
  std::wstring rest = path.substr(WideExtractFileDrive(path).size());
  size_t start = 0;
  while (start < rest.size()) {
    size_t end = rest.find(L'\\', start);
    if (end == std::wstring::npos) end = rest.size();
    if (end > start) parts.push_back(rest.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

bool SameFileNameW(const std::wstring& a, const std::wstring& b) {
  return CompareW(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), NORM_IGNORECASE) == 0;
}

}  // namespace

std::wstring WideExtractRelativePath(const std::wstring& baseName, const std::wstring& destName) {
  std::wstring basePath = WideExtractFilePath(baseName), destPath = WideExtractFilePath(destName);
  if (!SameFileNameW(WideExtractFileDrive(basePath), WideExtractFileDrive(destPath))) return destName;
  std::vector<std::wstring> base = FoldersOf(basePath), dest = FoldersOf(destPath);
  size_t common = 0;
  while (common < base.size() && common < dest.size() && SameFileNameW(base[common], dest[common])) ++common;
  std::wstring r;
  for (size_t i = common; i < base.size(); ++i) r += L"..\\";
  for (size_t i = common; i < dest.size(); ++i) r += dest[i] + L'\\';
  return r + WideExtractFileName(destName);
}

namespace {

// A path query into a buffer of MAX_PATH characters, asked again with the
// size needed when the path is longer; "" when the call fails.
template <class F>
std::wstring PathQuery(F call) {
  std::wstring buf(MAX_PATH, L'\0');
  for (int tries = 0; tries < 3; ++tries) {
    DWORD r = call(buf.data(), static_cast<DWORD>(buf.size()));
    if (r == 0) return {};
    if (r < buf.size()) {
      buf.resize(r);
      return buf;
    }
    buf.assign(static_cast<size_t>(r) + 1, L'\0');
  }
  return {};
}

}  // namespace

std::wstring WideExpandFileName(const std::wstring& fileName) {
  return PathQuery([&](wchar_t* b, DWORD n) { return Vox_GetFullPathNameW(fileName.c_str(), n, b, nullptr); });
}

std::wstring WideExtractShortPathName(const std::wstring& fileName) {
  return PathQuery([&](wchar_t* b, DWORD n) { return Vox_GetShortPathNameW(fileName.c_str(), b, n); });
}

// --- Files ---------------------------------------------------------------------------

HANDLE WideFileCreate(const std::wstring& fileName) {
  return Vox_CreateFileW(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE WideFileOpen(const std::wstring& fileName, WORD mode) {
  DWORD access, share;
  if (!FileOpenModeFlags(mode, access, share)) return INVALID_HANDLE_VALUE;
  return Vox_CreateFileW(fileName.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool WideFileExists(const std::wstring& fileName) {
  DWORD a = Vox_GetFileAttributesW(fileName.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool WideDirectoryExists(const std::wstring& name) {
  DWORD a = Vox_GetFileAttributesW(name.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

int WideFileGetAttr(const std::wstring& fileName) {
  return static_cast<int>(Vox_GetFileAttributesW(fileName.c_str()));
}

int WideFileSetAttr(const std::wstring& fileName, int attr) {
  if (Vox_SetFileAttributesW(fileName.c_str(), static_cast<DWORD>(attr))) return 0;
  return static_cast<int>(GetLastError());
}

bool WideForceDirectories(const std::wstring& dir) {
  if (dir.empty()) throw Exception(SysConst::SCannotCreateDir);
  std::wstring d = WideExcludeTrailingBackslash(dir);
  // A drive ("C:") or a root needs no making.
  if (d.size() < 3 || WideDirectoryExists(d)) return true;
  std::wstring parent = WideExtractFilePath(d);
  if (parent == d || parent.empty()) return Vox_CreateDirectoryW(d.c_str(), nullptr) != FALSE;
  return WideForceDirectories(parent) && Vox_CreateDirectoryW(d.c_str(), nullptr) != FALSE;
}

std::wstring WideFileSearch(const std::wstring& name, const std::wstring& dirList) {
  if (WideFileExists(name)) return name;
  size_t start = 0;
  while (start <= dirList.size()) {
    size_t end = dirList.find(L';', start);
    if (end == std::wstring::npos) end = dirList.size();
    std::wstring dir = dirList.substr(start, end - start);
    if (!dir.empty()) {
      wchar_t last = dir.back();
      if (last != L'\\' && last != L':') dir += L'\\';
      if (WideFileExists(dir + name)) return dir + name;
    }
    start = end + 1;
  }
  return {};
}

bool WideRenameFile(const std::wstring& oldName, const std::wstring& newName) {
  return Vox_MoveFileW(oldName.c_str(), newName.c_str()) != FALSE;
}

bool WideDeleteFile(const std::wstring& fileName) { return Vox_DeleteFileW(fileName.c_str()) != FALSE; }

bool WideCopyFile(const std::wstring& fromFile, const std::wstring& toFile, bool failIfExists) {
  return Vox_CopyFileW(fromFile.c_str(), toFile.c_str(), failIfExists) != FALSE;
}

namespace {

// Moves on to the first entry whose attributes are allowed; 0 or the error.
int FindMatchingFile(TSearchRecW& f) {
  while (f.FindData.dwFileAttributes & static_cast<DWORD>(f.ExcludeAttr)) {
    if (!Vox_FindNextFileW(f.FindHandle, &f.FindData)) return static_cast<int>(GetLastError());
  }
  FILETIME local;
  FileTimeToLocalFileTime(&f.FindData.ftLastWriteTime, &local);
  WORD date = 0, time = 0;
  FileTimeToDosDateTime(&local, &date, &time);
  f.Time = static_cast<int>((static_cast<DWORD>(date) << 16) | time);
  f.Size = (static_cast<int64_t>(f.FindData.nFileSizeHigh) << 32) | f.FindData.nFileSizeLow;
  f.Attr = static_cast<int>(f.FindData.dwFileAttributes);
  f.Name = f.FindData.cFileName;
  return 0;
}

}  // namespace

int WideFindFirst(const std::wstring& path, int attr, TSearchRecW& f) {
  const int kExcludable = faHidden | faSysFile | faVolumeID | faDirectory;
  f.ExcludeAttr = ~attr & kExcludable;
  f.FindHandle = Vox_FindFirstFileW(path.c_str(), &f.FindData);
  if (f.FindHandle == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  int r = FindMatchingFile(f);
  if (r != 0) WideFindClose(f);
  return r;
}

int WideFindNext(TSearchRecW& f) {
  if (!Vox_FindNextFileW(f.FindHandle, &f.FindData)) return static_cast<int>(GetLastError());
  return FindMatchingFile(f);
}

void WideFindClose(TSearchRecW& f) {
  if (f.FindHandle != INVALID_HANDLE_VALUE) FindClose(f.FindHandle);
  f.FindHandle = INVALID_HANDLE_VALUE;
}

// --- Dates -------------------------------------------------------------------------

namespace {

HRESULT ParseDate(const std::wstring& s, ULONG flags, DATE& value) {
  return VarDateFromStr(const_cast<OLECHAR*>(s.c_str()), GetThreadLocale(), flags, &value);
}

TDateTime StrToDateChecked(const std::wstring& s, ULONG flags, const char* message) {
  DATE value = 0;
  HRESULT hr = ParseDate(s, flags, value);
  if (FAILED(hr)) {
    // The system may have no text for the parser's code.
    std::string why = SysErrorMessage(static_cast<DWORD>(hr));
    if (why.empty()) why = Format("OLE error %.8X", {static_cast<int>(hr)});
    throw EConvertError(Format(message, {WideToAnsi(s)}) + "\r\n" + why);
  }
  return value;
}

}  // namespace

bool ValidDateTimeStr(const std::wstring& s) {
  DATE d;
  return SUCCEEDED(ParseDate(s, 0, d));
}
bool ValidDateStr(const std::wstring& s) {
  DATE d;
  return SUCCEEDED(ParseDate(s, VAR_DATEVALUEONLY, d));
}
bool ValidTimeStr(const std::wstring& s) {
  DATE d;
  return SUCCEEDED(ParseDate(s, VAR_TIMEVALUEONLY, d));
}
TDateTime VoxStrToDateTime(const std::wstring& s) { return StrToDateChecked(s, 0, SysConst::SInvalidDateTime); }
TDateTime VoxStrToDate(const std::wstring& s) {
  return StrToDateChecked(s, VAR_DATEVALUEONLY, SysConst::SInvalidDate);
}
TDateTime VoxStrToTime(const std::wstring& s) {
  return StrToDateChecked(s, VAR_TIMEVALUEONLY, SysConst::SInvalidTime);
}

// --- Locale and module ---------------------------------------------------------------

std::wstring WideGetLocaleStr(LCID locale, LCTYPE lcType, const std::wstring& def) {
  if (!Win32PlatformIsUnicode) return AnsiToWide(GetLocaleStr(locale, lcType, WideToAnsi(def)));
  int n = GetLocaleInfoW(locale, lcType, nullptr, 0);
  if (n <= 0) return def;
  std::wstring r(static_cast<size_t>(n), L'\0');
  n = GetLocaleInfoW(locale, lcType, r.data(), n);
  if (n <= 0) return def;
  r.resize(static_cast<size_t>(n - 1));
  return r;
}

std::wstring WideGetModuleFileName(HMODULE module) {
  wchar_t buf[MAX_PATH + 1] = {};
  DWORD n = Vox_GetModuleFileNameW(module, buf, MAX_PATH);
  if (n == 0) RaiseLastOSError();
  return std::wstring(buf, std::min<DWORD>(n, MAX_PATH));
}

// --- Character classes ------------------------------------------------------------

namespace {

WORD CharType1(wchar_t c) {
  WORD type = 0;
  if (!Vox_GetStringTypeExW(GetThreadLocale(), CT_CTYPE1, &c, 1, &type)) RaiseLastOSError();
  return type;
}

}  // namespace

bool IsWideCharUpper(wchar_t c) { return CharType1(c) & C1_UPPER; }
bool IsWideCharLower(wchar_t c) { return CharType1(c) & C1_LOWER; }
bool IsWideCharDigit(wchar_t c) { return CharType1(c) & C1_DIGIT; }
bool IsWideCharSpace(wchar_t c) { return CharType1(c) & C1_SPACE; }
bool IsWideCharPunct(wchar_t c) { return CharType1(c) & C1_PUNCT; }
bool IsWideCharCntrl(wchar_t c) { return CharType1(c) & C1_CNTRL; }
bool IsWideCharBlank(wchar_t c) { return CharType1(c) & C1_BLANK; }
bool IsWideCharXDigit(wchar_t c) { return CharType1(c) & C1_XDIGIT; }
bool IsWideCharAlpha(wchar_t c) { return CharType1(c) & C1_ALPHA; }
bool IsWideCharAlphaNumeric(wchar_t c) { return CharType1(c) & (C1_ALPHA | C1_DIGIT); }

// --- String arrays --------------------------------------------------------------------

std::wstring ExtractStringArrayStr(const wchar_t* p) {
  if (!p) return {};
  const wchar_t* q = p;
  while (*q) q += std::wcslen(q) + 1;
  return std::wstring(p, static_cast<size_t>(q - p) + 1);
}

std::wstring ExtractStringFromStringArray(const wchar_t*& p, wchar_t separator) {
  const wchar_t* q = p;
  // Any other separator than 0 is looked for up to the string's own
  // terminator, where p then stays.
  while (*q && *q != separator) ++q;
  std::wstring r(p, static_cast<size_t>(q - p));
  p = (separator == 0 || *q) ? q + 1 : q;
  return r;
}

std::vector<std::wstring> ExtractStringsFromStringArray(const wchar_t* p, wchar_t separator) {
  std::vector<std::wstring> out;
  if (!p) return out;
  while (*p) {
    if (out.size() == out.capacity()) out.reserve(out.capacity() + 256);
    out.push_back(ExtractStringFromStringArray(p, separator));
  }
  out.shrink_to_fit();
  return out;
}

// --- ANSI mapping ----------------------------------------------------------------------

bool IsWideStringMappableToAnsi(const std::wstring& s) {
  if (s.empty()) return true;
  UINT cp = DefaultUserCodePage;
  // The Unicode code pages hold every character (and refuse the default-
  // character question).
  if (cp == CP_UTF7 || cp == CP_UTF8) return true;
  // No best fit: a character that would come back as another (e-acute as
  // "e") is not mappable.
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr,
                              &usedDefault);
  return n > 0 && !usedDefault;
}

bool IsWideCharMappableToAnsi(wchar_t c) { return IsWideStringMappableToAnsi(std::wstring(1, c)); }
