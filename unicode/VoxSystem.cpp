#include "unicode/VoxSystem.h"

#include <cstring>
#include <memory>

#include "classlib/SysUtils.h"
#include "unicode/VoxSysUtils.h"
#include "unicode/VoxWindows.h"

UINT DefaultUserCodePage = CP_ACP;
TCustomLoadResStringW CustomLoadResStringW = nullptr;

void InitializeVoxSystem() { DefaultUserCodePage = CP_ACP; }

// --- UTF-7 tables ---------------------------------------------------------------
//
// Built at compile time from the character classes of RFC 2152: the base64
// alphabet, Set D (directly encoded), Set O (optionally direct) and white
// space. Every code above 127 must shift.

namespace {

constexpr char kBase64Chars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kSetD[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:?";
constexpr char kSetO[] = "!\"#$%&*;<=>@[]^_`{|}";
constexpr char kWhite[] = "\t\r\n ";

struct TUtf7Tables {
  bool MustShiftStrict[128];
  bool MustShiftOptional[128];
  signed char Base64Value[128];
};

constexpr TUtf7Tables MakeTables() {
  TUtf7Tables t{};
  for (int i = 0; i < 128; ++i) {
    t.MustShiftStrict[i] = true;
    t.MustShiftOptional[i] = true;
    t.Base64Value[i] = -1;
  }
  for (const char* p = kSetD; *p; ++p) t.MustShiftStrict[int(*p)] = t.MustShiftOptional[int(*p)] = false;
  for (const char* p = kWhite; *p; ++p) t.MustShiftStrict[int(*p)] = t.MustShiftOptional[int(*p)] = false;
  for (const char* p = kSetO; *p; ++p) t.MustShiftOptional[int(*p)] = false;
  for (int i = 0; i < 64; ++i) t.Base64Value[int(kBase64Chars[i])] = static_cast<signed char>(i);
  return t;
}

constexpr TUtf7Tables kUtf7 = MakeTables();

bool IsBase64Char(unsigned c) { return c < 128 && kUtf7.Base64Value[c] >= 0; }

}  // namespace

// --- UTF-7 encoder -----------------------------------------------------------------

int ConvertUTF16ToUTF7(const wchar_t*& src, const wchar_t* srcEnd, char*& dst, char* dstEnd, bool verbose,
                       bool optional) {
  const bool* mustShift = optional ? kUtf7.MustShiftOptional : kUtf7.MustShiftStrict;
  const wchar_t* s = src;
  char* d = dst;
  bool inBase64 = false;
  uint32_t bits = 0;
  int bitCount = 0;
  int result = cvtOK;
  // Each unit, and once more at the end with none, which closes a run.
  for (;;) {
    const bool present = s < srcEnd;
    const unsigned u = present ? static_cast<unsigned>(*s) : 0;
    const bool shift = present && (u > 127 || mustShift[u]);
    if (shift && !inBase64) {
      if (d >= dstEnd) {
        result = cvtTargetFull;
        break;
      }
      *d++ = '+';
      if (u == '+') {
        // "+" travels as "+-", outside base64.
        if (d >= dstEnd) {
          result = cvtTargetFull;
          break;
        }
        *d++ = '-';
        ++s;
        continue;
      }
      inBase64 = true;
    }
    if (inBase64) {
      if (shift) {
        bits = (bits << 16) | u;
        bitCount += 16;
      } else if (bitCount % 6) {
        const int pad = 6 - bitCount % 6;
        bits <<= pad;
        bitCount += pad;
      }
      while (bitCount >= 6) {
        if (d >= dstEnd) {
          result = cvtTargetFull;
          goto done;
        }
        bitCount -= 6;
        *d++ = kBase64Chars[(bits >> bitCount) & 0x3F];
      }
      if (!shift) {
        // The run closes with "-" only where the next byte would read as
        // part of it (or when asked to always).
        if (verbose || (present && (IsBase64Char(u) || u == '-'))) {
          if (d >= dstEnd) {
            result = cvtTargetFull;
            break;
          }
          *d++ = '-';
        }
        inBase64 = false;
      }
    }
    if (!present) break;
    if (!shift) {
      if (d >= dstEnd) {
        result = cvtTargetFull;
        break;
      }
      *d++ = static_cast<char>(u);
    }
    ++s;
  }
done:
  src = s;
  dst = d;
  return result;
}

// --- UTF-7 decoder ------------------------------------------------------------------

int ConvertUTF7ToUTF16(const char*& src, const char* srcEnd, wchar_t*& dst, wchar_t* dstEnd) {
  const char* s = src;
  wchar_t* d = dst;
  bool inBase64 = false, justShifted = false, wroteOne = false;
  uint32_t bits = 0;
  int bitCount = 0;
  int result = cvtOK;
  for (;;) {
    const bool present = s < srcEnd;
    const unsigned c = present ? static_cast<unsigned char>(*s) : 0;
    if (inBase64) {
      if (present && IsBase64Char(c)) {
        bits = (bits << 6) | static_cast<unsigned>(kUtf7.Base64Value[c]);
        bitCount += 6;
        justShifted = false;
        if (bitCount >= 16) {
          if (d >= dstEnd) {
            result = cvtTargetFull;
            break;
          }
          bitCount -= 16;
          *d++ = static_cast<wchar_t>((bits >> bitCount) & 0xFFFF);
          wroteOne = true;
        }
        ++s;
        continue;
      }
      // The run ends. Its padding bits must be zero (their value, not
      // their count, decides: "+AKM-" holds U+00A3 and two zero bits).
      inBase64 = false;
      if (bitCount > 0 && (bits & ((1u << bitCount) - 1)) != 0) result = cvtIllegal;
      if (present && c == '-') {
        if (justShifted) {
          if (d >= dstEnd) {
            result = cvtTargetFull;
            break;
          }
          *d++ = L'+';
        } else if (!wroteOne) {
          result = cvtIllegal;
        }
        ++s;
        continue;
      }
      // Any other byte (or the end) closes the run and is read as itself;
      // a run that gave no unit is illegal.
      if (!wroteOne) result = cvtIllegal;
    }
    if (!present) break;
    if (c == '+') {
      inBase64 = true;
      justShifted = true;
      wroteOne = false;
      bits = 0;
      bitCount = 0;
    } else {
      if (d >= dstEnd) {
        result = cvtTargetFull;
        break;
      }
      *d++ = static_cast<wchar_t>(c);
      if (c > 127) result = cvtIllegal;
    }
    ++s;
  }
  src = s;
  dst = d;
  return result;
}

std::string WideStringToUTF7(const std::wstring& s) {
  if (s.empty()) return {};
  const size_t cap = 7 * s.size();
  std::unique_ptr<char[]> buf(new char[cap]);
  const wchar_t* from = s.data();
  char* to = buf.get();
  if (ConvertUTF16ToUTF7(from, s.data() + s.size(), to, buf.get() + cap, false, true) == cvtTargetFull)
    throw Exception(SVoxBufferOverflow);
  return std::string(buf.get(), to);
}

std::wstring UTF7ToWideString(const std::string& s) {
  if (s.empty()) return {};
  std::unique_ptr<wchar_t[]> buf(new wchar_t[s.size()]);
  const char* from = s.data();
  wchar_t* to = buf.get();
  int r = ConvertUTF7ToUTF16(from, s.data() + s.size(), to, buf.get() + s.size());
  if (r == cvtIllegal) throw Exception(SVoxInvalidUTF7);
  if (r == cvtTargetFull) throw Exception(SVoxBufferOverflow);
  return std::wstring(buf.get(), to);
}

// --- UTF-8 and code pages ------------------------------------------------------------

std::string WideStringToUTF8(const std::wstring& s) { return UTF8Encode(s); }
std::wstring UTF8ToWideString(const std::string& s) { return UTF8Decode(s); }

std::wstring StringToWideStringEx(const std::string& s, UINT codePage) {
  if (codePage == CP_UTF7) return UTF7ToWideString(s);
  if (codePage == CP_UTF8) return UTF8ToWideString(s);
  if (s.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  if (n <= 0) RaiseLastOSError();
  std::wstring r(static_cast<size_t>(n), L'\0');
  if (MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), r.data(), n) <= 0) RaiseLastOSError();
  return r;
}

std::string WideStringToStringEx(const std::wstring& ws, UINT codePage) {
  if (codePage == CP_UTF7) return WideStringToUTF7(ws);
  if (codePage == CP_UTF8) return WideStringToUTF8(ws);
  if (ws.empty()) return {};
  int n = WideCharToMultiByte(codePage, 0, ws.data(), static_cast<int>(ws.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) RaiseLastOSError();
  std::string r(static_cast<size_t>(n), '\0');
  if (WideCharToMultiByte(codePage, 0, ws.data(), static_cast<int>(ws.size()), r.data(), n, nullptr, nullptr) <= 0)
    RaiseLastOSError();
  return r;
}

std::wstring UCS2ToWideString(const std::string& s) {
  std::wstring r(s.size() / 2, L'\0');
  if (!r.empty()) std::memcpy(r.data(), s.data(), r.size() * 2);
  return r;
}

std::string WideStringToUCS2(const std::wstring& ws) {
  std::string r(ws.size() * 2, '\0');
  if (!r.empty()) std::memcpy(r.data(), ws.data(), r.size());
  return r;
}

UINT CharSetToCodePage(DWORD charset) {
  CHARSETINFO info{};
  if (!TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<uintptr_t>(charset)), &info, TCI_SRCCHARSET))
    RaiseLastOSError();
  return info.ciACP;
}

UINT LCIDToCodePage(LCID locale) {
  char buf[6] = {};
  GetLocaleInfoA(locale, LOCALE_IDEFAULTANSICODEPAGE, buf, sizeof buf);
  return static_cast<UINT>(StrToIntDef(buf, static_cast<int>(GetACP())));
}

UINT KeyboardCodePage() {
  return LCIDToCodePage(LOWORD(reinterpret_cast<uintptr_t>(GetKeyboardLayout(0))));
}

wchar_t KeyUnicode(char c) {
  wchar_t w = 0;
  MultiByteToWideChar(KeyboardCodePage(), MB_USEGLYPHCHARS, &c, 1, &w, 1);
  return w;
}

void StrSwapByteOrder(wchar_t* str) {
  for (; str && *str; ++str) *str = static_cast<wchar_t>((*str >> 8) | (*str << 8));
}

std::wstring LoadResStringW(PResStringRec rec) {
  std::wstring custom;
  if (CustomLoadResStringW && CustomLoadResStringW(rec, custom)) return custom;
  if (!rec) return {};
  if (rec->Identifier <= 0xFFFF) {
    std::unique_ptr<wchar_t[]> buf(new wchar_t[4097]);
    int n = Vox_LoadStringW(rec->Module ? *rec->Module : nullptr, static_cast<UINT>(rec->Identifier), buf.get(),
                            4097);
    return std::wstring(buf.get(), static_cast<size_t>(n > 0 ? n : 0));
  }
  const char* text = reinterpret_cast<const char*>(rec->Identifier);
  const size_t len = std::strlen(text);
  if (len > 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) return UTF8ToWideString(std::string(text + 3));
  return AnsiToWide(text);
}

// --- The wide command line -------------------------------------------------------------

namespace {

constexpr size_t kMaxParam = 8192;

// The next parameter from p on: blanks and empty quote pairs are skipped;
// a quoted stretch keeps its blanks and loses its quotes.
const wchar_t* NextParam(const wchar_t* p, std::wstring& param) {
  param.clear();
  for (;;) {
    while (*p && *p <= L' ') ++p;
    if (p[0] == L'"' && p[1] == L'"') p += 2;
    else break;
  }
  while (*p > L' ') {
    if (*p == L'"') {
      ++p;
      while (*p && *p != L'"') {
        if (param.size() < kMaxParam) param += *p;
        ++p;
      }
      if (*p) ++p;
    } else {
      if (param.size() < kMaxParam) param += *p;
      ++p;
    }
  }
  return p;
}

}  // namespace

std::vector<std::wstring> WideSplitCommandLine(const wchar_t* commandLine) {
  std::vector<std::wstring> out;
  if (!commandLine) return out;
  std::wstring param;
  const wchar_t* p = NextParam(commandLine, param);
  out.push_back(param);
  for (;;) {
    p = NextParam(p, param);
    if (param.empty()) break;
    out.push_back(param);
  }
  return out;
}

int WideParamCount() { return static_cast<int>(WideSplitCommandLine(GetCommandLineW()).size()) - 1; }

std::wstring WideParamStr(int index) {
  if (index == 0) return WideGetModuleFileName(nullptr);
  std::vector<std::wstring> params = WideSplitCommandLine(GetCommandLineW());
  if (index < 0 || static_cast<size_t>(index) >= params.size()) return {};
  return params[static_cast<size_t>(index)];
}
