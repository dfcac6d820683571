// The edit-mask language of the Mask unit, apart from any window: a mask
// read into its positions, and the conversions between what the user sees
// (the edit text, literals and blanks included) and the value a program
// reads (Text).
//
// A mask has up to three fields separated by ';': the mask itself, whether
// literals are kept in Text ("0": no; anything else, or no field: yes) and
// the character shown in a position not yet filled (default '_').
//
// Mask characters: L/l a letter, A/a a letter or digit, C/c any character,
// 0/9 a digit, # a digit or sign (capitals required, the others optional);
// ':' and '/' the locale's time and date separators; '_' a space; '>' upper
// case and '<' lower case from there on ("<>" neither); '\' makes the next
// character a literal; '!' keeps optional blanks at the start of Text
// instead of its end. Every other character is a literal.
#pragma once

#include <string>
#include <vector>

class TEditMaskInfo {
 public:
  enum TKind { mkLiteral, mkRequired, mkOptional };
  enum TCase { ecNone, ecUpper, ecLower };
  struct TPosition {
    TKind Kind = mkLiteral;
    char Code = 0;     // the mask character of an input position
    char Literal = 0;  // the character a literal position shows
    TCase Case = ecNone;
  };

  TEditMaskInfo() = default;
  explicit TEditMaskInfo(const std::string& editMask);

  bool IsMasked() const { return !positions_.empty(); }
  int Count() const { return static_cast<int>(positions_.size()); }
  const TPosition& At(int i) const { return positions_[static_cast<size_t>(i)]; }
  bool IsLiteral(int i) const { return At(i).Kind == mkLiteral; }
  bool SavesLiterals() const { return saveLiterals_; }
  char Blank() const { return blank_; }
  bool LeadingBlanks() const { return leadingBlanks_; }

  // The first input position at or after i (Count() when none).
  int NextInput(int i) const;
  // The last input position at or before i (-1 when none).
  int PriorInput(int i) const;
  // c as position i takes it (case changed), or false when it does not fit.
  bool Accepts(int i, char& c) const;

  // The edit text of a value without literals: the value's characters in
  // the input positions (from the left, or from the right with '!'), the
  // literals in theirs, blank where the value has nothing or a space.
  std::string InsertLiterals(const std::string& value, char blank) const;
  // The edit text of a value that holds the literals already: its own
  // characters position by position, padded with literals and blanks.
  std::string PadLiterals(const std::string& value, char blank) const;
  // Text from the edit text: the input characters with trailing blanks
  // (leading ones with '!') dropped and the rest as spaces, with the
  // literals put back when the mask keeps them.
  std::string TextOf(const std::string& editText) const;
  // The edit text for Text set by a program.
  std::string EditTextOf(const std::string& text) const;
  // True when every required position holds a fitting character, every
  // optional one a fitting character or nothing, and every literal its
  // literal; else false with pos the first wrong position.
  bool Validate(const std::string& editText, int& pos) const;

 private:
  std::vector<TPosition> positions_;
  bool saveLiterals_ = true;
  char blank_ = '_';
  bool leadingBlanks_ = false;
};

// The value formatted by the mask, as a program shows it (blanks as spaces).
std::string FormatMaskText(const std::string& editMask, const std::string& value);
