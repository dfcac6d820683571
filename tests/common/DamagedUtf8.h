// Damaged UTF-8 and the text it decodes to: every well-formed sequence is
// kept and each maximal ill-formed subpart (the longest start of a sequence
// that could still have become well-formed, or else one byte) becomes one
// U+FFFD. Shared by the decoder's tests and by the tests of the paths that
// reach it (string-list files, code-page conversion, stored properties). No
// case holds CR, LF or NUL, so a case can stand as one line of a file.
#pragma once

#include <string>
#include <vector>

struct TDamagedUtf8 {
  const char* What;
  std::string Bytes;
  std::wstring Text;
};

inline const std::vector<TDamagedUtf8>& DamagedUtf8() {
  static const std::vector<TDamagedUtf8> cases = {
      // Overlong forms: C0 and C1 never begin a sequence; E0 and F0 refuse
      // the second bytes that would make the value fit fewer bytes.
      {"overlong 2-byte '/'", "a\xC0\xAF" "b", L"a\uFFFD\uFFFDb"},
      {"overlong 2-byte U+007F", "\xC1\xBF", L"\uFFFD\uFFFD"},
      {"overlong 3-byte '/'", "a\xE0\x80\xAF" "b", L"a\uFFFD\uFFFD\uFFFDb"},
      {"overlong 4-byte '/'", "\xF0\x80\x80\xAF", L"\uFFFD\uFFFD\uFFFD\uFFFD"},
      // Surrogates encoded as three bytes (CESU-8).
      {"encoded high surrogate", "x\xED\xA0\x80y", L"x\uFFFD\uFFFD\uFFFDy"},
      {"encoded low surrogate", "\xED\xBF\xBF", L"\uFFFD\uFFFD\uFFFD"},
      {"encoded surrogate pair", "\xED\xA0\xBD\xED\xB8\x80",
       L"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
      // The old 5- and 6-byte forms.
      {"5-byte form", "a\xF8\x88\x80\x80\x80" "b", L"a\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDb"},
      {"6-byte form", "\xFC\x84\x80\x80\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
      // Values above U+10FFFF.
      {"U+110000", "a\xF4\x90\x80\x80" "b", L"a\uFFFD\uFFFD\uFFFD\uFFFDb"},
      {"F5 lead", "\xF5\x80\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"U+1FFFFF", "\xF7\xBF\xBF\xBF", L"\uFFFD\uFFFD\uFFFD\uFFFD"},
      // Sequences cut short at the end: the whole start is one U+FFFD.
      {"2-byte cut at the end", "abc\xC3", L"abc\uFFFD"},
      {"3-byte cut at the end", "abc\xE2\x82", L"abc\uFFFD"},
      {"4-byte cut at the end", "abc\xF0\x9F\x98", L"abc\uFFFD"},
      // ... and in the middle, before an ASCII byte or another sequence.
      {"3-byte cut before ASCII", "\xE2\x82z", L"\uFFFDz"},
      {"4-byte cut before a whole one", "\xF0\x9F\x98\xF0\x9F\x98\x80", L"\uFFFD\U0001F600"},
      {"2-byte cut before a 3-byte", "\xC3\xE2\x82\xAC", L"\uFFFD\u20AC"},
      {"two cut sequences", "\xE2\x82\xE2\x82", L"\uFFFD\uFFFD"},
      // Continuation bytes without a lead, alone and after a whole sequence.
      {"stray continuation", "\x80z", L"\uFFFDz"},
      {"two stray continuations", "a\xBF\xBF" "b", L"a\uFFFD\uFFFDb"},
      {"continuation after a whole sequence", "\xC3\xA9\xA9", L"\u00E9\uFFFD"},
      {"continuation after a 4-byte sequence", "\xF0\x9F\x98\x80\x80", L"\U0001F600\uFFFD"},
      // Bytes that never occur, and one bad byte in longer good text.
      {"FE and FF", "\xFE\xFF", L"\uFFFD\uFFFD"},
      {"one bad byte in good text", "caf\xC3\xA9 \xFF \xD0\x96\xE2\x82\xAC", L"caf\u00E9 \uFFFD \u0416\u20AC"},
      // The edges that are still well-formed stay as they are.
      {"edges kept", "\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF\xC2\x80",
       L"\uD7FF\uE000\uFFFF\U0010FFFF\u0080"},
  };
  return cases;
}
