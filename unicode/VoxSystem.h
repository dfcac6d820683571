// VoxSystem: the Unicode layer's text encodings: its own UTF-7 codec (RFC
// 2152), UTF-8 through the class library's converters, conversions by Windows
// code page, UCS-2 byte packing, code-page queries, wide resource strings and
// the wide command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Win.h"

// Code page of the ANSI-mapping tests (IsWideCharMappableToAnsi...); 0 is
// the system's ANSI code page.
extern UINT DefaultUserCodePage;

inline constexpr const char* SVoxBufferOverflow = "Buffer overflow";
inline constexpr const char* SVoxInvalidUTF7 = "Invalid UTF7";

// A resource string: the module that holds it and its identifier; an
// identifier above 0xFFFF is the address of the text itself.
struct TResStringRec {
  HMODULE* Module;
  uintptr_t Identifier;
};
using PResStringRec = const TResStringRec*;

// Asked first by LoadResStringW; answering true supplies the text.
using TCustomLoadResStringW = bool (*)(PResStringRec rec, std::wstring& value);
extern TCustomLoadResStringW CustomLoadResStringW;

// --- UTF-7 ------------------------------------------------------------------
// The codec's results.
enum : int { cvtOK = 0, cvtIllegal = 1, cvtTargetFull = 2 };

// Encodes UTF-16 units [src, srcEnd) into bytes [dst, dstEnd). Verbose closes
// every base64 run with "-"; Optional sends the optionally direct characters
// (Set O) as themselves. src and dst report how far the codec read and wrote.
int ConvertUTF16ToUTF7(const wchar_t*& src, const wchar_t* srcEnd, char*& dst, char* dstEnd, bool verbose,
                       bool optional);
// Decodes bytes [src, srcEnd) into UTF-16 units [dst, dstEnd). Illegal input
// does not stop decoding: cvtIllegal is returned after the whole input.
int ConvertUTF7ToUTF16(const char*& src, const char* srcEnd, wchar_t*& dst, wchar_t* dstEnd);

// Verbose off, optional characters direct. Raises Exception "Buffer overflow".
std::string WideStringToUTF7(const std::wstring& s);
// Raises Exception "Invalid UTF7" (or "Buffer overflow").
std::wstring UTF7ToWideString(const std::string& s);

// --- UTF-8 and code pages ---------------------------------------------------------
std::string WideStringToUTF8(const std::wstring& s);
// Never fails: each ill-formed part of the bytes gives one U+FFFD and the
// rest is kept (the class library's UTF8Decode).
std::wstring UTF8ToWideString(const std::string& s);
// CP_UTF7 and CP_UTF8 go through the layer's codecs, any other code page
// through the system; a code page the system refuses raises the last OS error.
std::wstring StringToWideStringEx(const std::string& s, UINT codePage);
std::string WideStringToStringEx(const std::wstring& ws, UINT codePage);
// The bytes as UTF-16LE units (an odd last byte is dropped), and back.
std::wstring UCS2ToWideString(const std::string& s);
std::string WideStringToUCS2(const std::wstring& ws);

// The code page of a font character set (raises the last OS error for an
// unknown one), of a locale, of the keyboard.
UINT CharSetToCodePage(DWORD charset);
UINT LCIDToCodePage(LCID locale);
UINT KeyboardCodePage();
// The character of a key's ANSI code in the keyboard's code page.
wchar_t KeyUnicode(char c);
// Swaps the bytes of every unit up to the terminator, in place.
void StrSwapByteOrder(wchar_t* str);

// The wide text of a resource string: CustomLoadResStringW first; a
// numbered string from its module's string table; an address: its text,
// UTF-8 after a byte-order mark EF BB BF, else ANSI.
std::wstring LoadResStringW(PResStringRec rec);

// --- The wide command line -------------------------------------------------------------
// The parameters after the program name.
int WideParamCount();
// 0: the module file name; past the end: "".
std::wstring WideParamStr(int index);
// A command line split as WideParamStr splits it, the program name first;
// stops at the first empty parameter.
std::vector<std::wstring> WideSplitCommandLine(const wchar_t* commandLine);

// Unit start-up.
void InitializeVoxSystem();
