// TKxNumericEdit and TKxExpandEdit: the edits that hold a number within a
// range, and that widen while in use.
#include <climits>
#include <cmath>

#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"
#include "kx/controls/KxEdit.h"

bool KxDecimalSeparatorFits(TCustomEdit* edit) {
  const char separator = FormatSettings.DecimalSeparator;
  const bool inText = edit->GetText().find(separator) != std::string::npos;
  // A second separator only replaces a selected first one.
  if (edit->GetSelLength() > 0) return !inText || edit->GetSelText().find(separator) != std::string::npos;
  return !inText;
}

// ---------------------------------------------------------------------------
// TKxNumericEdit

TKxNumericEdit::TKxNumericEdit(TComponent* owner) : TKxEdit(owner) {
  SetControlStyle(GetControlStyle() - TControlStyle{csSetCaption});
  SetBounds(GetLeft(), GetTop(), 65, 21);
  SetAlignment(taRightJustify);
  displayFormat_ = ",0;(,0)";
  SetText(FormatText(0));
}

bool TKxNumericEdit::IsValidChar(char c) {
  const char separator = FormatSettings.DecimalSeparator;
  const bool isSign = c == '+' || c == '-';
  const bool isDigit = c >= '0' && c <= '9';
  const bool isSeparator = !integersOnly_ && c == separator;
  const bool isControl = static_cast<unsigned char>(c) < 32;
  if (!(isSign || isDigit || isSeparator || (isControl && c != '\r'))) return false;

  const std::string text = GetText();
  const int selStart = GetSelStart();
  const int selLength = GetSelLength();
  const std::string selected = selLength > 0 ? GetSelText() : std::string();
  auto has = [](const std::string& s, char ch) { return s.find(ch) != std::string::npos; };
  auto hasSign = [&](const std::string& s) { return has(s, '+') || has(s, '-'); };

  if (isSeparator) return KxDecimalSeparatorFits(this);
  if (isDigit || isControl) {
    // Nothing goes in front of the sign.
    return !(selLength == 0 && selStart == 0 && !text.empty() && (text[0] == '+' || text[0] == '-'));
  }
  // A sign: only first, and only one.
  if (selStart > 0 || hasSign(text)) {
    if (selLength == static_cast<int>(text.size())) return true;
    return selStart == 0 && selLength > 0 && hasSign(selected);
  }
  return true;
}

std::string TKxNumericEdit::FormatText(double value) { return FormatFloat(displayFormat_, value); }

double TKxNumericEdit::EvaluateText() {
  const std::string text = GetText();
  if (text.empty()) return 0;
  const char separator = FormatSettings.DecimalSeparator;
  bool negative = text.find('-') != std::string::npos || text.find('(') != std::string::npos;
  std::string number;
  // Thousands separators, brackets and anything else of the display
  // format drop out; what is left is read as a plain number.
  for (char c : text)
    if ((c >= '0' && c <= '9') || c == separator) number += c;
  if (number.empty()) return 0;
  if (negative) number.insert(number.begin(), '-');
  double value = 0;
  if (!TryStrToFloat(number, value) || !std::isfinite(value)) {
    MessageBeep(0);
    return 0;
  }
  return value;
}

void TKxNumericEdit::SetIntegersOnly(bool value) {
  if (integersOnly_ == value) return;
  integersOnly_ = value;
  if (value) SetValue(static_cast<double>(Round(GetValue())));
}

void TKxNumericEdit::SetMin(double value) {
  if (min_ == value) return;
  min_ = value;
  if (value > max_) max_ = value;
  Invalidate();
}

void TKxNumericEdit::SetMax(double value) {
  if (max_ == value) return;
  max_ = value;
  if (value < min_) min_ = value;
  Invalidate();
}

int TKxNumericEdit::GetIntValue() {
  // A number beyond an Integer would come out as its low 32 bits: it is
  // held at the nearer end of the range instead.
  double value = GetValue();
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(Round(value));
}

void TKxNumericEdit::SetIntValue(int value) { SetValue(value); }

double TKxNumericEdit::GetValue() {
  try {
    if (!GetText().empty()) return EvaluateText();
    if (allowBlank_) return blankValue_;
    SetText(FormatText(min_));
    return EvaluateText();
  } catch (const Exception&) {
    return min_;
  }
}

double TKxNumericEdit::CheckValue(double value) {
  double result = value;
  if (min_ != max_ || checkRange_) {
    if (result < min_) result = min_;
    else if (result > max_) result = max_;
  }
  valueChanged_ = result != lastValue_;
  lastValue_ = result;
  return result;
}

void TKxNumericEdit::SetValue(double value) {
  // No range check: the value is checked when the edit is left.
  if (value != EvaluateText()) SetText(FormatText(value));
}

void TKxNumericEdit::SetDisplayFormat(const std::string& value) {
  if (displayFormat_ == value) return;
  double current = GetValue();
  displayFormat_ = value;
  if (!IsLoading()) SetText(FormatText(current));
}

void TKxNumericEdit::Change() {
  if (IsLoading() || suppressChange_) return;
  inherited::Change();
}

void TKxNumericEdit::KeyPress(char& key) {
  inherited::KeyPress(key);
  if (key != 0 && !IsValidChar(key)) {
    key = 0;
    MessageBeep(0);
  }
}

void TKxNumericEdit::TakeValue() {
  valueChanged_ = false;
  lastValue_ = EvaluateText();
  if (!allowBlank_) SetText(FormatText(lastValue_));
}

void TKxNumericEdit::Loaded() {
  inherited::Loaded();
  TRestore quiet(suppressChange_, true);
  TakeValue();
}

void TKxNumericEdit::CMEnter(TMessage& m) {
  TakeValue();
  inherited::CMEnter(m);
}

void TKxNumericEdit::CMExit(TMessage& m) {
  if (allowBlank_ && GetText().empty()) {
    inherited::CMExit(m);
    return;
  }
  double value = 0;
  try {
    value = CheckValue(EvaluateText());
  } catch (const Exception&) {
    value = min_;
    SetValue(value);
  }
  SetText(FormatText(value));
  inherited::CMExit(m);
}

void TKxNumericEdit::WMPaste(TMessage& m) {
  if (GetReadOnly()) return;
  inherited::WMPaste(m);
}

void TKxNumericEdit::WMCut(TMessage& m) {
  if (GetReadOnly()) return;
  inherited::WMCut(m);
}

PUBLISHED(TKxNumericEdit) {
  using C = TKxNumericEdit;
  p.Prop("Alignment", &C::GetAlignment, &C::SetAlignment).Default(taRightJustify);
  // The value is stored; the text follows from it.
  p.Prop("Text", &C::GetText, &C::SetText).Stored(false);
  p.Prop("AllowBlank", &C::GetAllowBlank, &C::SetAllowBlank).Default(false);
  p.Prop("BlankValue", &C::GetBlankValue, &C::SetBlankValue);
  p.Prop("CheckRange", &C::GetCheckRange, &C::SetCheckRange).Default(false);
  p.Prop("DisplayFormat", &C::GetDisplayFormat, &C::SetDisplayFormat);
  p.Prop("IntegersOnly", &C::GetIntegersOnly, &C::SetIntegersOnly).Default(true);
  p.Prop("Max", &C::GetMax, &C::SetMax);
  p.Prop("Min", &C::GetMin, &C::SetMin);
  p.Prop("Value", &C::GetValue, &C::SetValue);
}

// ---------------------------------------------------------------------------
// TKxExpandEdit

void TKxExpandEdit::SetExpandedWidth(int value) {
  expandedWidth_ = value;
  Invalidate();
}

void TKxExpandEdit::SetExpandOn(TExpandOnType value) {
  expandOn_ = value;
  Invalidate();
}

void TKxExpandEdit::Expand() {
  BringToFront();
  normalWidth_ = GetWidth();
  SetWidth(expandedWidth_);
  expanded_ = true;
}

void TKxExpandEdit::WMSetFocus(TMessage& m) {
  if (expandOn_ == etFocus && !expanded_ && expandedWidth_ > 0) {
    Expand();
    if (GetAutoSelect()) {
      SetSelLength(0);
      SelectAll();
    }
  }
  inherited::WMSetFocus(m);
}

void TKxExpandEdit::WMRButtonUp(TMessage& m) {
  if (expandOn_ != etMouseButton2Click || expandedWidth_ <= 0) {
    inherited::WMRButtonUp(m);
    return;
  }
  // The right button toggles the width instead of opening the menu.
  if (expanded_) {
    SetWidth(normalWidth_);
    expanded_ = false;
    return;
  }
  Expand();
  SetFocus();
  if (GetAutoSelect()) {
    SetSelLength(0);
    SelectAll();
  }
}

void TKxExpandEdit::WMKillFocus(TMessage& m) {
  if (expandOn_ != etNone && expandedWidth_ > 0 && expanded_) SetWidth(normalWidth_);
  expanded_ = false;
  inherited::WMKillFocus(m);
}

PUBLISHED(TKxExpandEdit) {
  using C = TKxExpandEdit;
  p.Prop("ExpandedWidth", &C::GetExpandedWidth, &C::SetExpandedWidth).Default(0);
  p.Prop("ExpandOn", &C::GetExpandOn, &C::SetExpandOn).Default(etNone);
}
