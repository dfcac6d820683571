// The tokens of the stored-form text: names (dotted names are one token),
// numbers, strings, binary values and symbols, with their lines.
#include "classlib/classes/FilerParser.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

#include "classlib/SysUtils.h"
#include "classlib/classes/Streams.h"

using namespace filer_detail;

namespace {
bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int HexValue(char c) { return IsDigit(c) ? c - '0' : (c >= 'a' ? c - 'a' : c - 'A') + 10; }
}  // namespace

const TFormParser::TToken& TFormParser::Peek() {
  if (!peeked_) {
    peeked_ = Lex();
    lastLine_ = peeked_->Line;
  }
  return *peeked_;
}

TFormParser::TToken TFormParser::Take() {
  Peek();
  TToken t = std::move(*peeked_);
  peeked_.reset();
  consumed_ = t.Kind == TTok::Eof ? text_.size() : t.End;
  return t;
}

void TFormParser::Reset(size_t pos, int line) {
  peeked_.reset();
  pos_ = pos;
  line_ = line;
  InSet = false;
  SetNeedsComma = false;
}

void TFormParser::Fail(int line, const std::string& message) const {
  throw EReadErrorAt(line, message, true);
}

void TFormParser::Expected(const std::string& what, const TToken& found) const {
  Fail(found.Line, what + " expected but " + Describe(found) + " found");
}

std::string TFormParser::Describe(const TToken& t) {
  switch (t.Kind) {
    case TTok::Eof: return "end of file";
    case TTok::String: return "string constant";
    case TTok::Binary: return "binary value";
    default: return "'" + t.Text + "'";
  }
}

void TFormParser::SkipBlank() {
  while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) <= ' ') {
    char c = text_[pos_++];
    if (c == '\n' || (c == '\r' && At(pos_) != '\n')) ++line_;
  }
}

TFormParser::TToken TFormParser::Lex() {
  int lineBefore = line_;
  SkipBlank();
  TToken t;
  t.Line = line_;
  t.Start = pos_;
  if (pos_ >= text_.size()) {
    // The end of the text is reported on the last line that holds anything.
    t.Line = lineBefore;
    t.End = pos_;
    return t;
  }
  char c = text_[pos_];
  if (IsIdentStart(c)) LexIdent(t);
  else if (IsDigit(c) || c == '$' || (c == '-' && (IsDigit(At(pos_ + 1)) || At(pos_ + 1) == '$')))
    LexNumber(t);
  else if (c == '\'' || c == '#') LexString(t);
  else if (c == '{') LexBinary(t);
  else if (std::string_view("=:()[]<>,+").find(c) != std::string_view::npos) {
    t.Kind = TTok::Symbol;
    t.Text = std::string(1, c);
    ++pos_;
  } else {
    unsigned char u = static_cast<unsigned char>(c);
    Fail(line_, u >= 127 ? "Invalid character #" + std::to_string(u)
                         : std::string("Invalid character '") + c + "'");
  }
  t.End = pos_;
  return t;
}

void TFormParser::LexIdent(TToken& t) {
  size_t b = pos_;
  while (true) {
    while (IsIdentChar(At(pos_))) ++pos_;
    // Dotted names are one token: Font.Style, Form2.Button1.
    if (At(pos_) == '.' && IsIdentStart(At(pos_ + 1))) ++pos_;
    else break;
  }
  t.Kind = TTok::Ident;
  t.Text = text_.substr(b, pos_ - b);
}

void TFormParser::LexNumber(TToken& t) {
  size_t b = pos_;
  bool neg = false;
  if (At(pos_) == '-') {
    neg = true;
    ++pos_;
  }
  if (At(pos_) == '$') {
    ++pos_;
    size_t digits = pos_;
    uint64_t v = 0;
    while (IsHex(At(pos_))) {
      if (pos_ - digits >= 16) Fail(line_, "Invalid number " + text_.substr(b, pos_ + 1 - b));
      v = v * 16 + static_cast<uint64_t>(HexValue(At(pos_)));
      ++pos_;
    }
    size_t n = pos_ - digits;
    CheckNumberEnd(b);
    if (n == 0) Fail(line_, "Invalid number " + text_.substr(b, pos_ - b));
    // Up to eight digits are a 32-bit value: $80000005 is the negative
    // Integer the platform's colours and flags are.
    int64_t value = n <= 8 ? static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(v)))
                           : static_cast<int64_t>(v);
    t.Kind = TTok::Int;
    t.IntValue = neg ? -value : value;
    t.Text = text_.substr(b, pos_ - b);
    return;
  }
  while (IsDigit(At(pos_))) ++pos_;
  bool isFloat = false;
  if (At(pos_) == '.' && IsDigit(At(pos_ + 1))) {
    isFloat = true;
    ++pos_;
    while (IsDigit(At(pos_))) ++pos_;
  }
  if ((At(pos_) == 'e' || At(pos_) == 'E') &&
      (IsDigit(At(pos_ + 1)) || ((At(pos_ + 1) == '+' || At(pos_ + 1) == '-') && IsDigit(At(pos_ + 2))))) {
    isFloat = true;
    pos_ += 2;
    while (IsDigit(At(pos_))) ++pos_;
  }
  size_t numEnd = pos_;
  char s = At(pos_);
  if (s == 's' || s == 'S' || s == 'c' || s == 'C' || s == 'd' || s == 'D') {
    if (!IsIdentChar(At(pos_ + 1))) {
      isFloat = true;
      t.Suffix = static_cast<char>(s | 0x20);
      ++pos_;
    }
  }
  CheckNumberEnd(b);
  t.Text = text_.substr(b, pos_ - b);
  const char* first = text_.data() + b;
  const char* last = text_.data() + numEnd;
  if (isFloat) {
    double v = 0;
    // from_chars takes no leading '+' in the exponent.
    std::string num(first, last);
    std::erase(num, '+');
    auto r = std::from_chars(num.data(), num.data() + num.size(), v);
    if (r.ec != std::errc() || !std::isfinite(v)) Fail(line_, "Invalid number " + t.Text);
    t.Kind = TTok::Float;
    t.FloatValue = v;
  } else {
    int64_t v = 0;
    auto r = std::from_chars(first, last, v);
    if (r.ec != std::errc()) Fail(line_, "Invalid number " + t.Text);
    (void)neg;
    t.Kind = TTok::Int;
    t.IntValue = v;
  }
}

// A number must end where a name could not go on: "12abc" is no number.
void TFormParser::CheckNumberEnd(size_t b) {
  char c = At(pos_);
  if (IsIdentChar(c) || c == '.' || c == '$') {
    size_t e = pos_;
    while (IsIdentChar(At(e)) || At(e) == '.' || At(e) == '$') ++e;
    Fail(line_, "Invalid number " + text_.substr(b, e - b));
  }
}

// 'quoted'#13#10'parts', joined across lines by "+". A code is a character
// of the code page in an ANSI string and a UTF-16 unit in a wide one; the
// string is wide when a code is above 255 or is written with four or more
// digits (#0233: a wide character that the ANSI range would also hold).
void TFormParser::LexString(TToken& t) {
  struct Part {
    bool IsCode;
    std::string Literal;
    unsigned Code;
  };
  std::vector<Part> parts;
  bool wide = false;
  while (true) {
    int startLine = line_;
    char c = At(pos_);
    if (c == '\'') {
      ++pos_;
      std::string lit;
      while (true) {
        if (pos_ >= text_.size() || text_[pos_] == '\r' || text_[pos_] == '\n')
          Fail(startLine, "Unterminated string");
        char d = text_[pos_++];
        if (d == '\'') {
          if (At(pos_) == '\'') {
            lit += '\'';
            ++pos_;
          } else {
            break;
          }
        } else {
          lit += d;
        }
      }
      parts.push_back({false, std::move(lit), 0});
    } else if (c == '#') {
      size_t b = pos_++;
      bool hex = At(pos_) == '$';
      if (hex) ++pos_;
      size_t digits = pos_;
      unsigned v = 0;
      while (hex ? IsHex(At(pos_)) : IsDigit(At(pos_))) {
        v = v * (hex ? 16 : 10) + static_cast<unsigned>(HexValue(At(pos_)));
        ++pos_;
        if (v > 0xFFFF) break;
      }
      size_t n = pos_ - digits;
      if (n == 0 || v > 0xFFFF || IsIdentChar(At(pos_))) {
        while (IsIdentChar(At(pos_)) || At(pos_) == '$') ++pos_;
        Fail(line_, "Invalid character code " + text_.substr(b, pos_ - b));
      }
      if (v > 255 || n >= 4) wide = true;
      parts.push_back({true, {}, v});
    } else {
      break;
    }
    if (At(pos_) == '\'' || At(pos_) == '#') continue;
    // A "+" joins the next string, on this line or a later one.
    size_t savePos = pos_;
    int saveLine = line_;
    SkipBlank();
    if (At(pos_) != '+') {
      pos_ = savePos;
      line_ = saveLine;
      break;
    }
    ++pos_;
    SkipBlank();
    if (At(pos_) != '\'' && At(pos_) != '#') Expected("String constant", Lex());
  }
  t.Kind = TTok::String;
  t.Wide = wide;
  for (const Part& p : parts) {
    if (wide) t.WStr += p.IsCode ? std::wstring(1, static_cast<wchar_t>(p.Code)) : AnsiToWide(p.Literal);
    else t.Str += p.IsCode ? std::string(1, static_cast<char>(p.Code)) : p.Literal;
  }
  t.Text = "string";
}

void TFormParser::LexBinary(TToken& t) {
  int startLine = line_;
  ++pos_;
  std::string hex;
  while (true) {
    if (pos_ >= text_.size()) Fail(startLine, "Unterminated binary value");
    char c = text_[pos_];
    if (c == '}') {
      ++pos_;
      break;
    }
    if (static_cast<unsigned char>(c) <= ' ') {
      SkipBlank();
      continue;
    }
    if (!IsHex(c)) {
      unsigned char u = static_cast<unsigned char>(c);
      std::string shown = u < 127 ? std::string(1, c) : "#" + std::to_string(u);
      Fail(line_, "'}' expected but '" + shown + "' found");
    }
    hex += c;
    ++pos_;
  }
  if (hex.size() % 2) Fail(startLine, "Odd number of hex digits in binary value");
  t.Kind = TTok::Binary;
  t.Text = "binary";
  std::vector<uint8_t> bytes = HexToBin(hex);
  t.Str.assign(bytes.begin(), bytes.end());
}
