// The tokens of the stored-form text, for the reader. Internal to the
// stored-form units (Filer.h is the interface).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "classlib/classes/Errors.h"

namespace filer_detail {

// An EReadError that knows its line ("Line N: ..."). Final errors are
// reported as they are; the others (a wrong value, a missing property) are
// still to be named after the property being read, and OnError may pass over
// them. Its class name stays "EReadError".
class EReadErrorAt : public EReadError {
 public:
  EReadErrorAt(int line, std::string bare, bool final)
      : EReadError("Line " + std::to_string(line) + ": " + bare), Line(line), Bare(std::move(bare)),
        Final(final) {}
  int Line;
  std::string Bare;
  bool Final;
};

enum class TTok { Eof, Ident, Int, Float, String, Binary, Symbol };

struct TToken {
  TTok Kind = TTok::Eof;
  int Line = 1;
  size_t Start = 0;  // offsets in the text
  size_t End = 0;
  std::string Text;  // identifier (dotted names are one), symbol, number as written
  int64_t IntValue = 0;
  double FloatValue = 0;
  char Suffix = 0;   // of a float: 0, 's', 'c' or 'd'
  bool Wide = false;
  std::string Str;   // an ANSI string's bytes, or a binary value's
  std::wstring WStr;
};

}  // namespace filer_detail

// One token of look-ahead over the whole text.
class TFormParser {
 public:
  using TToken = filer_detail::TToken;

  explicit TFormParser(std::string text) : text_(std::move(text)) {}

  const TToken& Peek();
  TToken Take();
  // Goes back to the start of a token seen before (after OnError).
  void Reset(size_t pos, int line);
  // The offset just after the last token taken (the end at the end).
  size_t Consumed() const { return consumed_; }
  // The line of the last token seen.
  int Line() const { return lastLine_; }

  // Raise a final EReadError "Line N: message" / "what expected but x found".
  [[noreturn]] void Fail(int line, const std::string& message) const;
  [[noreturn]] void Expected(const std::string& what, const TToken& found) const;
  static std::string Describe(const TToken& t);

  // Inside "[...]" after ReadValue gave vaSet.
  bool InSet = false;
  bool SetNeedsComma = false;

 private:
  char At(size_t i) const { return i < text_.size() ? text_[i] : '\0'; }
  void SkipBlank();
  TToken Lex();
  void LexIdent(TToken& t);
  void LexNumber(TToken& t);
  void CheckNumberEnd(size_t b);
  void LexString(TToken& t);
  void LexBinary(TToken& t);

  std::string text_;
  size_t pos_ = 0;
  int line_ = 1;
  int lastLine_ = 1;
  size_t consumed_ = 0;
  std::optional<TToken> peeked_;
};
