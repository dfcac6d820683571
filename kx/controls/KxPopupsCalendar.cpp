#include <cmath>

#include "classlib/DateUtils.h"
#include "classlib/Seams.h"
#include "classlib/SysUtils.h"
#include "kx/controls/KxPopups.h"
#include "kx/controls/KxPopupsShared.h"
#include "kx/foundation/KxThemeSrv.h"

namespace {

constexpr TColor kCalendarColorDefaults[7] = {clWindowText, clBtnShadow,     clWindowText,
                                              clBtnShadow,  clHighlight,     clHighlightText,
                                              static_cast<TColor>(0x000080)};

// The calendar's one timer: the title's month list and the arrows' repeat.
constexpr UINT_PTR kRepeatTimerId = 0;
constexpr UINT kRepeatInterval = 50;

// 0 Monday .. 6 Sunday.
int Weekday(TDateTime d) { return (DayOfWeek(d) + 5) % 7; }

TDateTime DayOf(TDateTime d) { return std::trunc(d); }
TDateTime TimeOf(TDateTime d) { return d - std::trunc(d); }

// Whether d falls on 1 January 0001 to 31 December 9999, the days a date
// encodes: the grid's cells beyond either end show nothing.
bool IsCalendarDay(TDateTime d) {
  static const TDateTime first = EncodeDate(1, 1, 1), last = EncodeDate(9999, 12, 31);
  const TDateTime day = std::trunc(d);
  return day >= first && day <= last;
}

// A date outside that range is refused before anything changes.
void CheckCalendarDay(TDateTime d) {
  if (!IsCalendarDay(d)) throw EConvertError(SysConst::SDateEncodeError);
}

// A month or more on (or back), or nothing beyond the range.
bool StepMonths(TDateTime from, int months, TDateTime& result) {
  return KxTryStepDate(from, [months](TDateTime d) { return IncMonth(d, months); }, result);
}

}  // namespace

uint32_t DaysToBitmask(std::initializer_list<int> days) {
  uint32_t mask = 0;
  for (int d : days)
    if (d >= 1 && d <= 31) mask |= uint32_t{1} << (d - 1);
  return mask;
}

// ---------------------------------------------------------------------------
// TKxCalendarColors

PUBLISHED(TKxCalendarColors) {
  static const char* const names[7] = {"Days",  "FillDays",         "DaysOfWeek",      "Lines",
                                       "SelectedDateBack", "SelectedDateFore", "TodaysDateFrame"};
  PublishKxColorSet(p, names, kCalendarColorDefaults);
}

TKxCalendarColors::TKxCalendarColors(TKxCalendar* owner) : TKxPickerColors(owner, kCalendarColorDefaults) {}

// ---------------------------------------------------------------------------
// TKxCalendar

PUBLISHED(TKxCalendar) {
  using C = TKxCalendar;
  p.Prop("CalendarColors", &C::GetCalendarColors, &C::SetCalendarColors);
  p.Prop("CaptionClearBtn", &C::GetCaptionClearBtn, &C::SetCaptionClearBtn);
  p.Prop("CaptionTodayBtn", &C::GetCaptionTodayBtn, &C::SetCaptionTodayBtn);
  p.Prop("Date", &C::GetDate, &C::SetDate);
  p.Prop("FirstDayOfWeek", &C::GetFirstDayOfWeek, &C::SetFirstDayOfWeek).Default(fdowLocale);
  p.Prop("Elements", &C::GetElements, &C::SetElements).Default(KxDefaultCalendarElements);
  p.Prop("OnChange", &C::GetOnChange, &C::SetOnChange);
  p.Prop("OnGetBoldDays", &C::GetOnGetBoldDays, &C::SetOnGetBoldDays);
  PublishKxPickerPanelProps(p);
}

TKxCalendar::TKxCalendar(TComponent* owner) : TKxPickerBase(owner) {
  colors_ = New<TKxCalendarColors>(this);
  Clear();
  firstDayOfWeek_ = fdowLocale;
  SetBounds(GetLeft(), GetTop(), 147, 159);
  SetPickerDefaults();
  AdjustForFont();
}

void TKxCalendar::Destroy() {
  StopTimer();
  inherited::Destroy();
  FreeAndNil(colors_);
}

std::string TKxCalendar::TodayCaption() const {
  return captionTodayBtn_.empty() ? LoadStr(SKxTodayCaption) : captionTodayBtn_;
}

std::string TKxCalendar::ClearCaption() const {
  return captionClearBtn_.empty() ? LoadStr(SKxClearCaption) : captionClearBtn_;
}

// --- values ----------------------------------------------------------------------------------------

void TKxCalendar::SetDate(TDateTime value) {
  CheckCalendarDay(value);
  if (DayOf(value) == DayOf(date_) && !IsForcing()) return;
  date_ = value;
  SetViewDate(value != 0 ? value : Date());
  Changed();
  Invalidate();
}

void TKxCalendar::SetViewDate(TDateTime value) {
  CheckCalendarDay(value);
  if (DayOf(value) == viewDate_ && !IsForcing()) return;
  viewDate_ = DayOf(value);
  WORD y, m, d;
  DecodeDate(viewDate_, y, m, d);
  // The first row always shows at least the last day of the month before.
  TDateTime lastBefore = EncodeDate(y, m, 1) - 1;
  firstCellDate_ = lastBefore - (Weekday(lastBefore) - firstDay_ + 7) % 7;
  Invalidate();
}

void TKxCalendar::Clear() {
  Forcing([this] { SetDate(0); });
}

void TKxCalendar::Today() {
  Forcing([this] { SetDate(Date() + TimeOf(date_)); });
}

bool TKxCalendar::IsClear() const { return DayOf(date_) == 0; }

void TKxCalendar::SetFirstDayOfWeek(TKxFirstDayOfWeek value) {
  if (HandleAllocated()) {
    if (value == fdowLocale) {
      std::string digit = GetLocaleStr(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, "0");
      int day = digit.empty() ? 0 : digit[0] - '0';
      firstDay_ = day >= 0 && day <= 6 ? day : 0;
    } else {
      firstDay_ = static_cast<int>(value);
    }
  }
  firstDayOfWeek_ = value;
  Forcing([this] { SetDate(date_); });
}

void TKxCalendar::SetCalendarColors(TKxCalendarColors* value) { colors_->Assign(value); }

void TKxCalendar::SetElements(TKxCalendarElements value) {
  if (elements_ == value) return;
  elements_ = value;
  AdjustForFont();
}

void TKxCalendar::SetCaptionTodayBtn(const std::string& value) {
  if (captionTodayBtn_ == value) return;
  captionTodayBtn_ = value;
  AdjustForFont();
}

void TKxCalendar::SetCaptionClearBtn(const std::string& value) {
  if (captionClearBtn_ == value) return;
  captionClearBtn_ = value;
  AdjustForFont();
}

void TKxCalendar::SetOverArea(TKxCalendarArea value) {
  if (overArea_ == value) return;
  bool touches = overArea_ == pressedArea_ || value == pressedArea_;
  overArea_ = value;
  if (touches && !IsRectEmpty(&pressedRect_) && HandleAllocated())
    InvalidateRect(GetWindowHandle(), &pressedRect_, FALSE);
}

void TKxCalendar::SetPressedArea(TKxCalendarArea value) {
  if (pressedArea_ == value) return;
  pressedArea_ = value;
  if (!IsRectEmpty(&pressedRect_) && HandleAllocated()) InvalidateRect(GetWindowHandle(), &pressedRect_, FALSE);
}

void TKxCalendar::Changed() {
  if (OnChange) OnChange(this);
}

void TKxCalendar::GetBoldDays(uint16_t year, uint16_t month, uint32_t& bitmask) {
  if (OnGetBoldDays) OnGetBoldDays(this, year, month, bitmask);
}

// --- size --------------------------------------------------------------------------------------------

void TKxCalendar::CalcFontSize() {
  inherited::CalcFontSize();
  todayW_ = KxTextWidth(GetFont(), TodayCaption());
  clearW_ = KxTextWidth(GetFont(), ClearCaption());
}

SIZE TKxCalendar::NaturalSize() {
  bool title = elements_.Contains(ceYear) || elements_.Contains(ceMonth);
  bool today = elements_.Contains(ceTodayButton);
  bool clear = elements_.Contains(ceClearButton);
  int base = title ? textH_ + 9 : 4;
  int h = elements_.Contains(ceDaysOfWeek) ? base + 7 * textH_ + 16 : base + 6 * textH_ + 13;
  if (today || clear) h += textH_ + 17;
  int w = elements_.Contains(ceWeekNumbers) ? 16 * charW_ + 40 : 14 * charW_ + 35;
  if (today && clear) w = std::max(w, todayW_ + clearW_ + 39);
  else if (today) w = std::max(w, todayW_ + 34);
  else if (clear) w = std::max(w, clearW_ + 34);
  w += 4 * charW_;
  return SIZE{w, h};
}

void TKxCalendar::CalcAreas() {
  for (TRect& a : areas_) a = TRect{0, 0, 0, 0};
  RECT client{0, 0, GetWidth(), GetHeight()};
  if (HandleAllocated()) client = GetClientRect();
  AdjustClientRect(client);
  TRect r = client;
  if (elements_.Contains(ceYear) || elements_.Contains(ceMonth)) {
    areas_[caYear] = TRect{r.left, r.top, r.right, r.top + textH_ + 5};
    if (elements_.Contains(ceArrows)) {
      int side = textH_ + 5;
      areas_[caMonth] = TRect{r.left, r.top, r.left + side, r.top + side};
      areas_[caArrows] = TRect{r.right - side, r.top, r.right, r.top + side};
    }
    r.top = areas_[caYear].bottom;
  }
  r.left += 2 * charW_ - 1;
  r.right -= 2 * charW_ + 1;
  bool today = elements_.Contains(ceTodayButton);
  bool clear = elements_.Contains(ceClearButton);
  if (today || clear) {
    TRect row{r.left, r.bottom - textH_ - 18, r.right, r.bottom};
    TRect todayPart = row, clearPart = row;
    if (today && clear) {
      todayPart.right = todayW_ + (row.left + row.right - todayW_ - clearW_ - 5) / 2;
      clearPart.left = todayPart.right + 5;
    }
    if (today) areas_[caTodayButton] = CenterRect(todayPart, todayW_ + 17, textH_ + 7);
    if (clear) areas_[caClearButton] = CenterRect(clearPart, clearW_ + 17, textH_ + 7);
    r.bottom = row.top + 1;
  }
  if (elements_.Contains(ceWeekNumbers)) {
    areas_[caWeekNumbers] = TRect{r.left, r.top, r.left + 2 * charW_ + 10, r.bottom};
    r.left = areas_[caWeekNumbers].right;
  }
  bool dow = elements_.Contains(ceDaysOfWeek);
  cellW_ = (r.right - r.left) / 7;
  cellH_ = dow ? (r.bottom - r.top - 2) / 7 : (r.bottom - r.top - 1) / 6;
  if (dow) {
    areas_[caDaysOfWeek] = TRect{r.left, r.top, r.right, r.top + cellH_};
    if (elements_.Contains(ceWeekNumbers)) areas_[caWeekNumbers].top = areas_[caDaysOfWeek].bottom;
    r.top += cellH_ + 2;
  }
  areas_[caDays] = r;
}

void TKxCalendar::CreateHandle() {
  pressedArea_ = caFillDays;
  inherited::CreateHandle();
}

void TKxCalendar::CreateWnd() {
  inherited::CreateWnd();
  // The locale's first weekday is read once a window exists.
  SetFirstDayOfWeek(firstDayOfWeek_);
}

// --- painting ----------------------------------------------------------------------------------------

void TKxCalendar::DrawSeparator(TCanvas* canvas, int x1, int y1, int x2, int y2, bool vertical) {
  if (ThemeServices().GetThemesEnabled()) {
    TRect r = vertical ? TRect{x1 - 1, y1 - 1, x1 + 2, y2 + 1} : TRect{x1, y1 - 1, x2, y1 + 2};
    ThemeServices().DrawElement(canvas->GetHandle(),
                                ThemeServices().GetElementDetails(vertical ? ttbSeparatorNormal : ttbSeparatorVertNormal),
                                r);
    return;
  }
  canvas->GetPen()->SetStyle(psSolid);
  canvas->GetPen()->SetWidth(1);
  canvas->GetPen()->SetColor(colors_->GetColor(3));
  canvas->MoveTo(x1, y1);
  canvas->LineTo(x2, y2);
}

void TKxCalendar::DrawButton(TCanvas* canvas, TKxCalendarArea area, const std::string& caption) {
  DrawPickerButton(canvas, areas_[area], caption, pressedArea_ == area && overArea_ == area);
}

void TKxCalendar::Paint() {
  CalcAreas();
  TCanvas* canvas = GetCanvas();
  bool themed = ThemeServices().GetThemesEnabled();
  PaintBackground(canvas);
  canvas->SetFont(GetFont());

  // Title.
  if (elements_.Contains(ceYear) || elements_.Contains(ceMonth)) {
    TRect title = areas_[caYear];
    DrawBar(canvas, title);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->GetFont()->SetColor(GetFont()->GetColor());
    if (elements_.Contains(ceArrows)) {
      Owned<TFont> marlett = MakeOwned<TFont>();
      marlett->Assign(GetFont());
      marlett->SetName("Marlett");
      marlett->SetStyle(TFontStyles{});
      marlett->SetSize(GetFont()->GetSize() + 4);
      canvas->SetFont(marlett.get());
      CenterText(canvas, "3", areas_[caMonth]);
      CenterText(canvas, "4", areas_[caArrows]);
      canvas->SetFont(GetFont());
    }
    std::string text = FormatDateTime("mmmm", viewDate_);
    if (elements_.Contains(ceYear)) text += FormatDateTime(" yyyy", viewDate_);
    DrawBarText(canvas, text, title);
  }

  bool anyButton = elements_.Contains(ceTodayButton) || elements_.Contains(ceClearButton);
  if (elements_.Contains(ceTodayButton)) DrawButton(canvas, caTodayButton, TodayCaption());
  if (elements_.Contains(ceClearButton)) DrawButton(canvas, caClearButton, ClearCaption());

  bool weeks = elements_.Contains(ceWeekNumbers);
  const TRect& wn = areas_[caWeekNumbers];
  int separatorLeft = weeks ? wn.right - (themed ? 6 : 5) : 0;

  // Weekday initials.
  if (elements_.Contains(ceDaysOfWeek)) {
    const TRect& a = areas_[caDaysOfWeek];
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(GetColor());
    canvas->GetFont()->SetColor(colors_->GetColor(2));
    for (int col = 0; col < 7; ++col) {
      RECT cell{a.left + col * cellW_, a.top - 1, a.left + col * cellW_ + cellW_ - 2, a.top - 1 + cellH_};
      std::string name = FormatSettings.ShortDayNames[(firstDay_ + col + 1) % 7];
      std::string initial = name.substr(0, 1);
      DrawTextA(canvas->GetHandle(), initial.c_str(), -1, &cell, DT_RIGHT | DT_NOCLIP | DT_VCENTER | DT_SINGLELINE);
    }
    if (anyButton || weeks) {
      int y = a.top - 1 + cellH_;
      DrawSeparator(canvas, weeks ? separatorLeft : a.left, y, a.right, y, false);
    }
  }

  // Bold days: the view month's, and with fill days the neighbours' (no
  // neighbour before January 0001 or after December 9999).
  WORD vy, vm, vd;
  DecodeDate(viewDate_, vy, vm, vd);
  uint32_t boldView = 0, boldPrev = 0, boldNext = 0;
  GetBoldDays(vy, vm, boldView);
  TDateTime prevMonth = 0, nextMonth = 0;
  bool hasPrev = StepMonths(EncodeDate(vy, vm, 1), -1, prevMonth);
  bool hasNext = StepMonths(EncodeDate(vy, vm, 1), 1, nextMonth);
  if (elements_.Contains(ceFillDays)) {
    WORD y, m, d;
    if (hasPrev) {
      DecodeDate(prevMonth, y, m, d);
      GetBoldDays(y, m, boldPrev);
    }
    if (hasNext) {
      DecodeDate(nextMonth, y, m, d);
      GetBoldDays(y, m, boldNext);
    }
  }

  if (weeks) {
    int extra = themed ? 1 : 0;
    DrawSeparator(canvas, wn.right - 5, wn.top - extra, wn.right - 5, wn.bottom + extra, true);
  }

  // The grid.
  const TRect& days = areas_[caDays];
  TDateTime today = Date();
  TDateTime selected = DayOf(date_);
  Owned<TFont> bold = MakeOwned<TFont>();
  bold->Assign(GetFont());
  bold->SetStyle(GetFont()->GetStyle() + TFontStyles{fsBold});
  TDateTime cellDate = firstCellDate_;
  for (int row = 0; row < 6; ++row) {
    for (int col = 0; col < 7; ++col, cellDate += 1) {
      if (!IsCalendarDay(cellDate)) continue;
      WORD y, m, d;
      DecodeDate(cellDate, y, m, d);
      bool inView = m == vm && y == vy;
      if (!inView && !elements_.Contains(ceFillDays)) continue;
      uint32_t mask = inView ? boldView : cellDate < viewDate_ ? boldPrev : boldNext;
      bool isBold = (mask >> (d - 1)) & 1;
      canvas->SetFont(isBold ? bold.get() : GetFont());
      canvas->GetFont()->SetColor(colors_->GetColor(inView ? 0 : 1));
      canvas->GetBrush()->SetStyle(bsSolid);
      canvas->GetBrush()->SetColor(GetColor());
      int left = days.left + col * cellW_;
      int top = days.top - 1 + row * cellH_;
      RECT cell{left, top, left + cellW_ - 2, top + cellH_};
      RECT wide{left, top, left + cellW_, top + cellH_};
      if (cellDate == selected) {
        canvas->GetBrush()->SetColor(colors_->GetColor(4));
        canvas->FillRect(wide);
        canvas->GetFont()->SetColor(colors_->GetColor(5));
        if (Focused()) DrawFocusRect(canvas->GetHandle(), &wide);
      }
      std::string number = std::to_string(d);
      canvas->GetBrush()->SetStyle(bsClear);
      DrawTextA(canvas->GetHandle(), number.c_str(), -1, &cell, DT_RIGHT | DT_NOCLIP | DT_VCENTER | DT_SINGLELINE);
      if (cellDate == today) {
        canvas->GetPen()->SetStyle(psSolid);
        canvas->GetPen()->SetWidth(1);
        canvas->GetPen()->SetColor(colors_->GetColor(6));
        canvas->Rectangle(wide);
      }
    }
    TDateTime second = firstCellDate_ + 7 * row + 1;
    if (weeks && IsCalendarDay(second)) {
      canvas->SetFont(GetFont());
      canvas->GetBrush()->SetStyle(bsSolid);
      canvas->GetBrush()->SetColor(GetColor());
      canvas->GetFont()->SetColor(colors_->GetColor(2));
      TRect cell{wn.left, wn.top + 1 + row * cellH_, wn.right - 5, wn.top + 1 + (row + 1) * cellH_};
      CenterText(canvas, std::to_string(WeekOf(second)), cell);
    }
  }
  canvas->SetFont(GetFont());
  canvas->GetBrush()->SetStyle(bsSolid);

  if (anyButton) {
    int y = days.bottom - 1;
    DrawSeparator(canvas, weeks ? separatorLeft : days.left, y, days.right, y, false);
  }
}

void TKxCalendar::WMEraseBkgnd(TMessage& m) { m.Result = 0; }

// --- mouse -------------------------------------------------------------------------------------------

namespace {

// The area under a point: the last of caClearButton down to caYear whose
// rectangle holds it, searched from caClearButton so that the arrows win
// over the title they sit in.
TKxCalendarArea AreaAt(const TRect* areas, POINT p) {
  for (int a = caClearButton; a >= caYear; --a)
    if (PtInRect(&areas[a], p)) return static_cast<TKxCalendarArea>(a);
  return caFillDays;
}

}  // namespace

void TKxCalendar::WMNCHitTest(TMessage& m) {
  inherited::WMNCHitTest(m);
  CalcAreas();
  POINT p = ScreenToClient(POINT{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))});
  SetOverArea(AreaAt(areas_, p));
}

void TKxCalendar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  CalcAreas();
  RECT client = GetClientRect();
  POINT p{x, y};
  if (!PtInRect(&client, p)) SetOverArea(caFillDays);
  else SetOverArea(AreaAt(areas_, p));
  if (overArea_ == caDays || overArea_ == caTodayButton || overArea_ == caClearButton)
    pressedRect_ = areas_[overArea_];
  else
    pressedRect_ = TRect{0, 0, 0, 0};
  SetPressedArea(overArea_);
  if (pressedArea_ == caYear || pressedArea_ == caMonth || pressedArea_ == caArrows) StartTimer();
  else UpdateHighlight(x, y);
}

void TKxCalendar::MouseMove(TShiftState shift, int x, int y) {
  inherited::MouseMove(shift, x, y);
  // The system sends no WM_NCHITTEST to a window that holds the capture, so
  // the area under the mouse follows its moves as well.
  CalcAreas();
  SetOverArea(AreaAt(areas_, POINT{x, y}));
  UpdateHighlight(x, y);
}

void TKxCalendar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    if (monthList_ && monthList_->GetHighlightMonth() != 0) SetViewDate(monthList_->GetHighlightMonth());
    SetPressedArea(caFillDays);
    StopTimer();
  }
  inherited::MouseUp(button, shift, x, y);
}

void TKxCalendar::SelectDay(TDateTime day) {
  date_ = day + TimeOf(date_);
  Changed();
  Invalidate();
}

void TKxCalendar::UpdateHighlight(int x, int y) {
  if (monthList_) {
    POINT screen = ClientToScreen(POINT{x, y});
    monthList_->HighlightFromPoint(monthList_->ScreenToClient(screen));
    return;
  }
  if (pressedArea_ != caDays || overArea_ != caDays) return;
  TDateTime d = InternalHitTest(pressedRect_, POINT{x, y});
  if (d != 0 && d != DayOf(date_)) SelectDay(d);
}

TDateTime TKxCalendar::InternalHitTest(const TRect& rect, POINT p) {
  if (!PtInRect(&rect, p)) return 0;
  WORD vy, vm, vd;
  DecodeDate(viewDate_, vy, vm, vd);
  TDateTime cellDate = firstCellDate_;
  for (int row = 0; row < 6; ++row)
    for (int col = 0; col < 7; ++col, cellDate += 1) {
      RECT cell{rect.left + col * cellW_, rect.top - 1 + row * cellH_, rect.left + (col + 1) * cellW_,
                rect.top - 1 + (row + 1) * cellH_};
      if (!PtInRect(&cell, p)) continue;
      if (!IsCalendarDay(cellDate)) return 0;
      WORD y, m, d;
      DecodeDate(cellDate, y, m, d);
      if ((y == vy && m == vm) || elements_.Contains(ceFillDays)) return cellDate;
    }
  return 0;
}

TDateTime TKxCalendar::HitTest(int x, int y) {
  CalcAreas();
  return InternalHitTest(areas_[caDays], POINT{x, y});
}

void TKxCalendar::Click() {
  if (pressedArea_ != overArea_) return;
  if (pressedArea_ == caDays) SetViewDate(date_);
  else if (pressedArea_ == caTodayButton) Today();
  else if (pressedArea_ == caClearButton) Clear();
  else return;
  inherited::Click();
}

void TKxCalendar::DblClick() {
  if (pressedArea_ != overArea_) return;
  if (pressedArea_ == caDays || pressedArea_ == caTodayButton || pressedArea_ == caClearButton)
    inherited::DblClick();
}

// --- timer -------------------------------------------------------------------------------------------

void TKxCalendar::StartTimer() {
  if (overArea_ == caYear && !monthList_) monthList_ = New<TKxMonthList>(this);
  tickCounter_ = -1;
  TimerExpired();
  // The timer's identifier is 0, so SetTimer's result says nothing here.
  if (HandleAllocated()) {
    Seams().SetTimer(GetWindowHandle(), kRepeatTimerId, kRepeatInterval);
    timerOn_ = true;
  }
}

void TKxCalendar::StopTimer() {
  if (timerOn_ && HandleAllocated()) Seams().KillTimer(GetWindowHandle(), kRepeatTimerId);
  timerOn_ = false;
  FreeAndNil(monthList_);
}

void TKxCalendar::TimerExpired() {
  if (pressedArea_ == caYear) {
    --tickCounter_;
    if (tickCounter_ > 0 || !monthList_) return;
    tickCounter_ = monthList_->ScrollStep();
    return;
  }
  if (pressedArea_ != caMonth && pressedArea_ != caArrows) return;
  ++tickCounter_;
  int c = tickCounter_;
  bool step = (c <= 19 && c % 5 == 0) || (c >= 20 && c <= 199 && c % 2 == 0) || c >= 200;
  TDateTime month = 0;
  if (step && overArea_ == pressedArea_ && StepMonths(viewDate_, pressedArea_ == caMonth ? -1 : 1, month))
    SetViewDate(month);
}

// --- keyboard and messages -----------------------------------------------------------------------------

void TKxCalendar::KeyDown(WORD& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  if (shift.Contains(ssShift) || shift.Contains(ssCtrl) || shift.Contains(ssAlt)) return;
  TDateTime base = IsClear() ? Date() : date_;
  WORD y, m, d;
  DecodeDate(base, y, m, d);
  // A step past 31 December 9999 or before 1 January 0001 leaves the date.
  TDateTime next = 0;
  auto days = [&](int n) {
    if (KxTryStepDate(base, [n](TDateTime v) { return IncDay(v, n); }, next)) SetDate(next);
  };
  auto months = [&](int n) {
    if (elements_.Contains(ceMonth) && StepMonths(base, n, next)) SetDate(next);
  };
  switch (key) {
    case VK_HOME: SetDate(EncodeDate(y, m, 1) + TimeOf(base)); break;
    case VK_END: SetDate(EncodeDate(y, m, MonthDays[IsLeapYear(y)][m - 1]) + TimeOf(base)); break;
    case VK_LEFT: days(-1); break;
    case VK_RIGHT: days(1); break;
    case VK_UP: days(-7); break;
    case VK_DOWN: days(7); break;
    case VK_PRIOR: months(-1); break;
    case VK_NEXT: months(1); break;
    case VK_RETURN: TKxCustomPanel::Click(); break;
    default: break;
  }
}

void TKxCalendar::CMDialogChar(TMessage& m) {
  if (GetEnabled()) {
    WORD key = LOWORD(m.WParam);
    if (!captionClearBtn_.empty() && IsAccel(key, captionClearBtn_)) {
      Clear();
      m.Result = 1;
      return;
    }
    if (!captionTodayBtn_.empty() && IsAccel(key, captionTodayBtn_)) {
      Today();
      m.Result = 1;
      return;
    }
  }
  inherited::CMDialogChar(m);
}

void TKxCalendar::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_TIMER:
      if (m.WParam == kRepeatTimerId) {
        TimerExpired();
        return;
      }
      break;
    default: break;
  }
  inherited::Dispatch(m);
}
