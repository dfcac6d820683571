#include "classlib/mask/EditMask.h"

#include <algorithm>

#include "classlib/Win.h"
#include "classlib/sysutils/Locale.h"

namespace {

// The unescaped field separators of a mask, in order.
std::vector<size_t> FieldSeparators(const std::string& mask) {
  std::vector<size_t> seps;
  for (size_t i = 0; i < mask.size(); ++i) {
    if (mask[i] == '\\') ++i;
    else if (mask[i] == ';') seps.push_back(i);
  }
  return seps;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return IsCharAlphaA(c) != FALSE; }
bool IsLetterOrDigit(char c) { return IsCharAlphaNumericA(c) != FALSE; }

}  // namespace

TEditMaskInfo::TEditMaskInfo(const std::string& editMask) {
  std::vector<size_t> seps = FieldSeparators(editMask);
  std::string mask = seps.empty() ? editMask : editMask.substr(0, seps[0]);
  // The fields are read from the end, so that a mask with one separator
  // names the save flag and one with two the blank too.
  if (!seps.empty()) {
    size_t saveAt = seps.size() >= 2 ? seps[seps.size() - 2] : seps.back();
    if (saveAt + 1 < editMask.size()) saveLiterals_ = editMask[saveAt + 1] != '0';
    if (seps.size() >= 2 && seps.back() + 1 < editMask.size()) blank_ = editMask[seps.back() + 1];
  }
  TCase current = ecNone;
  for (size_t i = 0; i < mask.size(); ++i) {
    char c = mask[i];
    TPosition p;
    switch (c) {
      case '!': leadingBlanks_ = true; continue;
      case '>':
        if (i + 1 < mask.size() && mask[i + 1] == '<') {
          current = ecNone;
          ++i;
        } else {
          current = ecUpper;
        }
        continue;
      case '<':
        if (i + 1 < mask.size() && mask[i + 1] == '>') {
          current = ecNone;
          ++i;
        } else {
          current = ecLower;
        }
        continue;
      case '\\':
        // A backslash at the very end stands for itself.
        p.Literal = i + 1 < mask.size() ? mask[++i] : '\\';
        break;
      case 'L': case 'A': case 'C': case '0':
        p.Kind = mkRequired;
        p.Code = c;
        break;
      case 'l': case 'a': case 'c': case '9': case '#':
        p.Kind = mkOptional;
        p.Code = c;
        break;
      case ':': p.Literal = FormatSettings.TimeSeparator; break;
      case '/': p.Literal = FormatSettings.DateSeparator; break;
      case '_': p.Literal = ' '; break;
      default: p.Literal = c; break;
    }
    p.Case = current;
    positions_.push_back(p);
  }
}

int TEditMaskInfo::NextInput(int i) const {
  for (i = std::max(i, 0); i < Count(); ++i)
    if (!IsLiteral(i)) return i;
  return Count();
}

int TEditMaskInfo::PriorInput(int i) const {
  for (i = std::min(i, Count() - 1); i >= 0; --i)
    if (!IsLiteral(i)) return i;
  return -1;
}

bool TEditMaskInfo::Accepts(int i, char& c) const {
  if (i < 0 || i >= Count() || IsLiteral(i)) return false;
  const TPosition& p = At(i);
  char ch = c;
  if (p.Case != ecNone) {
    char buf[2] = {ch, 0};
    if (p.Case == ecUpper) CharUpperA(buf);
    else CharLowerA(buf);
    ch = buf[0];
  }
  bool ok = false;
  switch (p.Code) {
    case 'L': case 'l': ok = IsLetter(ch); break;
    case 'A': case 'a': ok = IsLetterOrDigit(ch); break;
    case 'C': case 'c': ok = static_cast<unsigned char>(ch) >= 32; break;
    case '0': case '9': ok = IsDigit(ch); break;
    case '#': ok = IsDigit(ch) || ch == '+' || ch == '-'; break;
    default: break;
  }
  // An optional position takes a space as "nothing here".
  if (!ok && ch == ' ' && p.Kind == mkOptional) ok = true;
  if (ok) c = ch;
  return ok;
}

std::string TEditMaskInfo::InsertLiterals(const std::string& value, char blank) const {
  std::string out(static_cast<size_t>(Count()), blank);
  int inputs = 0;
  for (int i = 0; i < Count(); ++i)
    if (!IsLiteral(i)) ++inputs;
  int n = std::min<int>(inputs, static_cast<int>(value.size()));
  // With '!' the value fills the last input positions.
  int skip = leadingBlanks_ ? inputs - n : 0;
  int k = 0;  // input positions met
  int v = 0;  // characters of the value taken
  for (int i = 0; i < Count(); ++i) {
    if (IsLiteral(i)) {
      out[static_cast<size_t>(i)] = At(i).Literal;
      continue;
    }
    if (k++ >= skip && v < n) {
      char c = value[static_cast<size_t>(v++)];
      out[static_cast<size_t>(i)] = c == ' ' ? blank : c;
    }
  }
  return out;
}

std::string TEditMaskInfo::PadLiterals(const std::string& value, char blank) const {
  std::string out(static_cast<size_t>(Count()), blank);
  for (int i = 0; i < Count(); ++i) {
    if (IsLiteral(i)) out[static_cast<size_t>(i)] = At(i).Literal;
    else if (i < static_cast<int>(value.size()) && value[static_cast<size_t>(i)] != ' ')
      out[static_cast<size_t>(i)] = value[static_cast<size_t>(i)];
  }
  return out;
}

std::string TEditMaskInfo::TextOf(const std::string& editText) const {
  std::string raw;
  for (int i = 0; i < Count() && i < static_cast<int>(editText.size()); ++i)
    if (!IsLiteral(i)) raw += editText[static_cast<size_t>(i)];
  auto isBlank = [this](char c) { return c == blank_ || c == ' '; };
  if (leadingBlanks_) {
    size_t first = 0;
    while (first < raw.size() && isBlank(raw[first])) ++first;
    raw.erase(0, first);
  } else {
    while (!raw.empty() && isBlank(raw.back())) raw.pop_back();
  }
  std::replace(raw.begin(), raw.end(), blank_, ' ');
  return saveLiterals_ ? InsertLiterals(raw, ' ') : raw;
}

std::string TEditMaskInfo::EditTextOf(const std::string& text) const {
  return saveLiterals_ ? PadLiterals(text, blank_) : InsertLiterals(text, blank_);
}

bool TEditMaskInfo::Validate(const std::string& editText, int& pos) const {
  for (int i = 0; i < Count(); ++i) {
    char c = i < static_cast<int>(editText.size()) ? editText[static_cast<size_t>(i)] : blank_;
    const TPosition& p = At(i);
    bool ok;
    if (p.Kind == mkLiteral) {
      ok = c == p.Literal;
    } else if (c == blank_ || c == ' ') {
      // Any character position takes a typed space; an empty required one
      // is wrong.
      ok = p.Kind == mkOptional || (c == ' ' && p.Code == 'C');
    } else {
      char t = c;
      ok = Accepts(i, t) && t == c;
    }
    if (!ok) {
      pos = i;
      return false;
    }
  }
  return true;
}

std::string FormatMaskText(const std::string& editMask, const std::string& value) {
  TEditMaskInfo info(editMask);
  if (!info.IsMasked()) return value;
  return info.SavesLiterals() ? info.PadLiterals(value, ' ') : info.InsertLiterals(value, ' ');
}
