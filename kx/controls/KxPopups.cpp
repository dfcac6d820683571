#include "kx/controls/KxPopups.h"

#include <cctype>
#include <utility>
#include <vector>

#include "classlib/DateUtils.h"
#include "classlib/Seams.h"

DEFINE_ENUM_TYPE(TKxFirstDayOfWeek, "fdowMonday", "fdowTuesday", "fdowWednesday", "fdowThursday", "fdowFriday",
                 "fdowSaturday", "fdowSunday", "fdowLocale")
DEFINE_ENUM_TYPE(TKxCalendarElement, "ceYear", "ceMonth", "ceArrows", "ceWeekNumbers", "ceDaysOfWeek", "ceFillDays",
                 "ceTodayButton", "ceClearButton")
DEFINE_ENUM_TYPE(TKxCalendarArea, "caYear", "caMonth", "caArrows", "caWeekNumbers", "caDays", "caDaysOfWeek",
                 "caFillDays", "caTodayButton", "caClearButton")

void InitializeKxPopups() {
  RegisterClasses({TKxCalendar::StaticClass(), TKxTimePicker::StaticClass(), TKxPopupPanel::StaticClass()});
}

// ---------------------------------------------------------------------------
// Parsers

namespace {

// The letters of letters in the order of their first appearance in format
// (either case), each once.
std::string ExtractFieldOrder(const std::string& format, const std::string& letters) {
  std::string order;
  for (char c : format) {
    char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (letters.find(u) != std::string::npos && order.find(u) == std::string::npos) order += u;
  }
  return order;
}

// 0 for a character that is neither letter nor digit, -1 for a letter, 1
// for a digit (or another alphanumeric character of the code page).
int CharClass(char c) {
  if (IsCharAlphaA(c)) return -1;
  if (IsCharAlphaNumericA(c)) return 1;
  return 0;
}

// The longest run of one class after the characters of class 0; rest keeps
// what follows. The run's class, or 0 when nothing is left.
int NextToken(std::string& rest, std::string& token) {
  size_t i = 0;
  while (i < rest.size() && CharClass(rest[i]) == 0) ++i;
  if (i == rest.size()) {
    rest.clear();
    token.clear();
    return 0;
  }
  int cls = CharClass(rest[i]);
  size_t j = i;
  while (j < rest.size() && CharClass(rest[j]) == cls) ++j;
  token = rest.substr(i, j - i);
  rest.erase(0, j);
  return cls;
}

// A month's name in a locale: day 1 of the month in 2000 formatted
// "dd MMMM", less the day and its blank.
std::string LocaleMonthName(LCID locale, int month) {
  SYSTEMTIME st{};
  st.wYear = 2000;
  st.wMonth = static_cast<WORD>(month);
  st.wDay = 1;
  char buffer[128] = {};
  if (GetDateFormatA(locale, 0, &st, "dd MMMM", buffer, sizeof buffer) <= 0) return {};
  std::string s = buffer;
  return s.size() > 3 ? s.substr(3) : std::string();
}

// word is upper case already: 1..12, or -1.
int MonthFromName(const std::string& word) {
  for (int i = 1; i <= 12; ++i) {
    if (word == AnsiUpperCase(FormatSettings.ShortMonthNames[i - 1]) ||
        word == AnsiUpperCase(FormatSettings.LongMonthNames[i - 1]) ||
        word == AnsiUpperCase(LocaleMonthName(LOCALE_USER_DEFAULT, i)) ||
        word == AnsiUpperCase(LocaleMonthName(0x0409, i)))
      return i;
  }
  return -1;
}

// -1 AM, 1 PM, 0 neither.
int AmPmFromName(const std::string& word) {
  if (word == AnsiUpperCase(FormatSettings.TimeAMString) || word == "AM" || word == "A") return -1;
  if (word == AnsiUpperCase(FormatSettings.TimePMString) || word == "PM" || word == "P") return 1;
  return 0;
}

void RemoveLetter(std::string& order, char letter) {
  size_t at = order.find(letter);
  if (at != std::string::npos) order.erase(at, 1);
}

// The numbers of a digit token: cut into two or three when split, else
// one. StrToInt raises EConvertError for a run beyond 32 bits.
std::vector<int64_t> Numbers(const std::string& token, bool split) {
  if (split) {
    switch (token.size()) {
      case 3: return {StrToInt(token.substr(0, 1)), StrToInt(token.substr(1, 2))};
      case 4: return {StrToInt(token.substr(0, 2)), StrToInt(token.substr(2, 2))};
      case 5: return {StrToInt(token.substr(0, 1)), StrToInt(token.substr(1, 2)), StrToInt(token.substr(3, 2))};
      case 6: return {StrToInt(token.substr(0, 2)), StrToInt(token.substr(2, 2)), StrToInt(token.substr(4, 2))};
      default: break;
    }
  }
  return {StrToInt(token)};
}

// The date and time fields are 16 bits wide: a larger number makes the
// text invalid instead of wrapping into another valid date.
constexpr int64_t kFieldMax = 0xFFFF;

}  // namespace

TDateTime StrToDateEx(const std::string& text) {
  std::string input = Trim(text);
  if (input.empty()) return 0;
  const std::string fullOrder = ExtractFieldOrder(FormatSettings.ShortDateFormat, "DMY");
  std::string order = fullOrder;
  WORD y0, m0, d0;
  DecodeDate(Date(), y0, m0, d0);
  int64_t year = y0, month = m0, day = d0;
  bool tooLarge = false;
  bool hasSeparator = input.find(FormatSettings.DateSeparator) != std::string::npos;
  std::string rest = AnsiUpperCase(input);
  std::string token;
  for (int round = 0; round < 3; ++round) {
    int cls = NextToken(rest, token);
    while (cls < 0) {
      int named = MonthFromName(token);
      if (named > 0) {
        month = named;
        RemoveLetter(order, 'M');
      }
      cls = NextToken(rest, token);
    }
    if (cls == 0 || order.empty()) break;
    bool split = token.size() >= 3 && token.size() <= 6 && !hasSeparator && order != "Y";
    for (int64_t n : Numbers(token, split)) {
      if (order.empty()) break;
      if (n > kFieldMax) tooLarge = true;
      char letter = order[0];
      if (n >= 1000) letter = 'Y';
      else if (n > 12 && letter != 'Y') letter = 'D';
      if (letter == 'Y') year = n;
      else if (letter == 'M') month = n;
      else day = n;
      RemoveLetter(order, letter);
    }
  }
  if (tooLarge) return 0;
  if (month > 12) {
    if (day <= 12) std::swap(month, day);
    else month = 1;
  }
  TDateTime result = 0;
  if (year >= 100) {
    if (!TryEncodeDate(static_cast<WORD>(year), static_cast<WORD>(month), static_cast<WORD>(day), result)) return 0;
    return result;
  }
  // A short year goes through StrToDate, whose two-digit-year rule applies.
  std::string s;
  for (char letter : fullOrder) {
    int64_t n = letter == 'Y' ? year : letter == 'M' ? month : day;
    s += FormatSettings.DateSeparator + std::to_string(n);
  }
  if (!s.empty()) s.erase(0, 1);
  if (!TryStrToDate(s, result)) return 0;
  return result;
}

TDateTime StrToTimeEx(const std::string& text) {
  std::string order = ExtractFieldOrder(FormatSettings.LongTimeFormat, "HMNSZ");
  int64_t hour = 0, minute = 0, second = 0, msec = 0;
  int indicator = 0;
  std::string rest = AnsiUpperCase(text);
  std::string token;
  for (int round = 0; round < 4; ++round) {
    int cls = NextToken(rest, token);
    while (cls < 0) {
      if (indicator == 0) indicator = AmPmFromName(token);
      cls = NextToken(rest, token);
    }
    if (cls == 0 || order.empty()) break;
    // A lone remaining field takes the whole run ("1234" as milliseconds).
    bool split = (token.size() == 3 || token.size() == 4) && order.size() > 1;
    for (int64_t n : Numbers(token, split)) {
      if (order.empty()) break;
      char letter = order[0];
      order.erase(0, 1);
      if (letter == 'H') hour = n;
      else if (letter == 'M' || letter == 'N') minute = n;
      else if (letter == 'S') second = n;
      else msec = n;
    }
  }
  if (indicator > 0 && hour < 12) hour += 12;
  else if (indicator < 0 && hour == 12) hour = 0;
  hour %= 24;
  if (minute > 59) minute = 0;
  if (second > 59) second = 0;
  while (msec > 999) msec /= 10;
  TDateTime result = 0;
  if (!TryEncodeTime(static_cast<WORD>(hour), static_cast<WORD>(minute), static_cast<WORD>(second),
                     static_cast<WORD>(msec), result))
    return 0;
  return result;
}

bool KxTryStepDate(TDateTime from, const std::function<TDateTime(TDateTime)>& step, TDateTime& result) {
  try {
    result = step(from);
  } catch (const EConvertError&) {
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------
// TKxMonthList

IMPLEMENT_CLASS(TKxMonthList)

namespace {

bool SameMonth(TDateTime a, TDateTime b) {
  WORD ya, ma, da, yb, mb, db;
  DecodeDate(a, ya, ma, da);
  DecodeDate(b, yb, mb, db);
  return ya == yb && ma == mb;
}

// The month months after (before) centre; false beyond the range of dates,
// where a row shows nothing and cannot be picked.
bool MonthAround(TDateTime centre, int months, TDateTime& month) {
  return KxTryStepDate(centre, [months](TDateTime d) { return IncMonth(d, months); }, month);
}

}  // namespace

TKxMonthList::TKxMonthList(TKxCalendar* calendar) : TCustomControl(calendar), calendar_(calendar) {
  SetVisible(false);
  SetParent(calendar);
  SetColor(calendar->GetColor());
  TCanvas* canvas = calendar->GetCanvas();
  canvas->SetFont(calendar->GetFont());
  itemHeight_ = KxTextHeight(calendar->GetFont(), "0") + 2;
  int w = KxTextWidth(calendar->GetFont(), "0") + 2;
  POINT at = calendar->ClientToScreen(POINT{2 * w, 2 - 3 * itemHeight_});
  SetBounds(at.x, at.y, calendar->GetWidth() - 4 * w, 7 * itemHeight_ + 2);
  centerMonth_ = highlightMonth_ = calendar->GetViewDate();
  SetDoubleBuffered(true);
  SetVisible(true);
}

void TKxMonthList::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  params.Style = (params.Style & ~WS_CHILD) | WS_POPUP | WS_BORDER;
}

void TKxMonthList::SetHighlightMonth(TDateTime value) {
  if (highlightMonth_ == value) return;
  highlightMonth_ = value;
  Invalidate();
}

void TKxMonthList::SetCenterMonth(TDateTime value) {
  if (centerMonth_ == value) return;
  centerMonth_ = value;
  Invalidate();
}

void TKxMonthList::HighlightFromPoint(POINT p) {
  RECT client = GetClientRect();
  TDateTime month = 0;
  if (PtInRect(&client, p) && itemHeight_ > 0 && MonthAround(centerMonth_, p.y / itemHeight_ - 3, month))
    SetHighlightMonth(month);
  else
    SetHighlightMonth(0);
}

int TKxMonthList::ScrollStep() {
  POINT cursor{};
  Seams().GetCursorPos(cursor);
  POINT p = ScreenToClient(cursor);
  // At the first or the last month the centre stays where it is.
  int d;
  TDateTime month = 0;
  if (p.y < 0) {
    if (MonthAround(centerMonth_, -1, month)) SetCenterMonth(month);
    d = -p.y;
  } else if (p.y > GetHeight()) {
    if (MonthAround(centerMonth_, 1, month)) SetCenterMonth(month);
    d = p.y - GetHeight();
  } else {
    d = p.y;
  }
  return d / 10 < 6 ? 5 - d / 10 : 0;
}

void TKxMonthList::Paint() {
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  RECT client = GetClientRect();
  for (int i = 0; i < 7; ++i) {
    TRect row{client.left, client.top + i * itemHeight_, client.right, client.top + (i + 1) * itemHeight_};
    TDateTime month = 0;
    bool exists = MonthAround(centerMonth_, i - 3, month);
    bool highlighted = exists && highlightMonth_ != 0 && SameMonth(month, highlightMonth_);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(highlighted ? clHighlight : GetColor());
    canvas->FillRect(row);
    if (!exists) continue;
    canvas->GetFont()->SetColor(highlighted ? clHighlightText : GetFont()->GetColor());
    std::string text = FormatDateTime("mmmm yyyy", month);
    canvas->GetBrush()->SetStyle(bsClear);
    DrawTextA(canvas->GetHandle(), text.c_str(), -1, &row, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  canvas->GetBrush()->SetStyle(bsSolid);
}
