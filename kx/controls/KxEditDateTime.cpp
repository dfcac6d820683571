// TKxDateTimeEdit: a date or a time of day, read while it is typed, written
// again in its format when the focus leaves, stepped by keys and picked
// from a calendar or a clock that drops from the edit's button.
#include <cctype>
#include <functional>

#include "classlib/DateUtils.h"
#include "classlib/Scopes.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"
#include "kx/controls/KxEdit.h"

DEFINE_ENUM_TYPE(TKxDTEditType, "etDate", "etTime")

PUBLISHED(TKxDateTimeEdit) {
  using T = TKxDateTimeEdit;
  PublishKxEditProps(p, false);
  p.Prop("DropButtonVisible", &T::GetDropButtonVisible, &T::SetDropButtonVisible).Default(true);
  PublishKxFlatButtons(p);
  // The value is stored as Date or Time; the text is made from it.
  p.Prop("Text", &T::GetText, &T::SetText).Stored(false);
  p.Prop("EditType", &T::GetEditType, &T::SetEditType).Default(etDate);
  p.Prop("Format", &T::GetFormat, &T::SetFormat);
  p.Prop("Date", &T::GetDate, &T::SetDate).Stored(&T::IsDate);
  p.Prop("Time", &T::GetTime, &T::SetTime).Stored(&T::IsTime);
  p.Prop("CalendarColors", &T::GetCalendarColors, &T::SetCalendarColors);
  p.Prop("CalendarElements", &T::GetCalendarElements, &T::SetCalendarElements).Default(KxDefaultCalendarElements);
  p.Prop("CaptionTodayBtn", &T::GetCaptionTodayBtn, &T::SetCaptionTodayBtn);
  p.Prop("CaptionClearBtn", &T::GetCaptionClearBtn, &T::SetCaptionClearBtn);
  p.Prop("CaptionAM", &T::GetCaptionAM, &T::SetCaptionAM);
  p.Prop("CaptionPM", &T::GetCaptionPM, &T::SetCaptionPM);
  p.Prop("CaptionSet", &T::GetCaptionSet, &T::SetCaptionSet);
  p.Prop("ClockFaceColors", &T::GetClockFaceColors, &T::SetClockFaceColors);
  p.Prop("FirstDayOfWeek", &T::GetFirstDayOfWeek, &T::SetFirstDayOfWeek).Default(fdowLocale);
  p.Prop("HowToUseMsg", &T::GetHowToUseMsg, &T::SetHowToUseMsg);
  p.Prop("RestrictMinutes", &T::GetRestrictMinutes, &T::SetRestrictMinutes).Default(false);
  p.Prop("ShowHowToUseHint", &T::GetShowHowToUseHint, &T::SetShowHowToUseHint).Default(true);
  p.Prop("OnGetBoldDays", &T::GetOnGetBoldDays, &T::SetOnGetBoldDays);
  p.Prop("OnDateTimeChange", &T::GetOnDateTimeChange, &T::SetOnDateTimeChange);
}

namespace {

TDateTime TimeOfDay(TDateTime value) {
  // A time before midnight of day 0 is negative: its time of day is its
  // distance from midnight, as DecodeTime reads it.
  WORD h, m, s, ms;
  DecodeTime(value, h, m, s, ms);
  return EncodeTime(h, m, s, ms);
}

}  // namespace

TKxDateTimeEdit::TKxDateTimeEdit(TComponent* owner) : TKxCustomEdit(owner) {
  SetDropButtonVisible(true);
  calendarColors_ = New<TKxCalendarColors>(nullptr);
  clockFaceColors_ = New<TKxClockFaceColors>(nullptr);
}

void TKxDateTimeEdit::Destroy() {
  inherited::Destroy();
  FreeAndNil(calendarColors_);
  FreeAndNil(clockFaceColors_);
}

std::string TKxDateTimeEdit::DisplayFormat() const {
  if (!format_.empty()) return format_;
  return editType_ == etDate ? "ddddd" : "t";
}

// --- value
// -----------------------------------------------------------------------------------------

TDateTime TKxDateTimeEdit::GetDate() const { return static_cast<TDateTime>(Trunc(value_)); }

TDateTime TKxDateTimeEdit::GetTime() const { return Frac(value_); }

void TKxDateTimeEdit::SetDate(TDateTime value) {
  // The type first: changing it reads a typed text, which must not take
  // the place of the value given here.
  SetEditType(etDate);
  value_ = value;
  CheckDateTimeChange();
  UpdateText();
}

void TKxDateTimeEdit::SetTime(TDateTime value) {
  TRestore guard(settingTime_, true);
  SetEditType(etTime);
  value_ = value;
  timeSet_ = true;
  CheckDateTimeChange();
  UpdateText();
}

void TKxDateTimeEdit::SetEditType(TKxDTEditType value) {
  if (editType_ == value) return;
  editType_ = value;
  ReformatDateTime();
}

void TKxDateTimeEdit::SetFormat(const std::string& value) {
  if (format_ == value) return;
  // What was typed is read in the format it was typed for.
  SetDateTime();
  format_ = value;
  UpdateText();
}

void TKxDateTimeEdit::SetCalendarColors(TKxCalendarColors* value) { calendarColors_->Assign(value); }

void TKxDateTimeEdit::SetClockFaceColors(TKxClockFaceColors* value) { clockFaceColors_->Assign(value); }

void TKxDateTimeEdit::Clear() {
  inherited::Clear();
  value_ = 0;
  CheckDateTimeChange();
  timeSet_ = false;
}

void TKxDateTimeEdit::DateTimeChange() {
  if (OnDateTimeChange) OnDateTimeChange(this, value_);
}

void TKxDateTimeEdit::CheckDateTimeChange() {
  bool changed = editType_ == etTime ? Frac(value_) != Frac(lastValue_) : Trunc(value_) != Trunc(lastValue_);
  if (!changed) return;
  DateTimeChange();
  lastValue_ = value_;
}

void TKxDateTimeEdit::SetDateTime() {
  if (!GetModified()) return;
  SetModified(false);
  // The text is read at every keystroke: a digit run too long for a number
  // (the parsers' conversion error) is text that does not parse yet, and
  // leaves the value as it was.
  try {
    if (editType_ == etTime) {
      TDateTime parsed = StrToTimeEx(GetText());
      value_ = parsed;
      timeSet_ = true;
    } else {
      value_ = StrToDateEx(GetText());
    }
  } catch (const EConvertError&) {
    return;
  }
  CheckDateTimeChange();
}

void TKxDateTimeEdit::UpdateText() {
  TRestore guard(updatingText_, true);
  std::string text;
  if (editType_ == etDate) {
    if (value_ != 0) text = FormatDateTime(DisplayFormat(), value_);
  } else if (settingTime_ || value_ != 0) {
    text = FormatDateTime(DisplayFormat(), value_);
  } else if (timeSet_ && (!GetText().empty() || pickerAccepted_)) {
    // Midnight given as a time shows; an emptied text stays empty.
    text = FormatDateTime(DisplayFormat(), value_);
  }
  SetText(text);
  SetModified(false);
}

void TKxDateTimeEdit::ReformatDateTime() {
  SetDateTime();
  UpdateText();
}

void TKxDateTimeEdit::Change() {
  if (!updatingText_) SetDateTime();
  inherited::Change();
}

// --- stepping
// --------------------------------------------------------------------------------------

namespace {

// The value a step starts from when there is none: today, or the time of
// day now to the minute.
TDateTime StepStart(TDateTime value, bool timeField) {
  if (value != 0) return value;
  if (!timeField) return Date();
  WORD h, m, s, ms;
  DecodeTime(Now(), h, m, s, ms);
  return EncodeTime(h, m, 0, 0);
}

}  // namespace

void TKxDateTimeEdit::AdjustYear(int step) {
  Step(false, [step](TDateTime v) { return IncYear(v, step); });
}
void TKxDateTimeEdit::AdjustMonth(int step) {
  Step(false, [step](TDateTime v) { return IncMonth(v, step); });
}
void TKxDateTimeEdit::AdjustDay(int step) {
  Step(false, [step](TDateTime v) { return IncDay(v, step); });
}
void TKxDateTimeEdit::AdjustHour(int step) {
  Step(true, [step](TDateTime v) { return IncHour(v, step); });
}
void TKxDateTimeEdit::AdjustMinute(int step) {
  Step(true, [step](TDateTime v) { return IncMinute(v, step); });
}

void TKxDateTimeEdit::Step(bool timeField, const std::function<TDateTime(TDateTime)>& increment) {
  TDateTime next = 0;
  // Past 31 December 9999 or before 1 January 0001: the date stays.
  if (!KxTryStepDate(StepStart(value_, timeField), increment, next)) return;
  if (editType_ == etTime) {
    // A time keeps its time of day only, as the clock does: a step back
    // past midnight gives the evening, not a day before day 0.
    next = TimeOfDay(next);
    timeSet_ = true;
  }
  value_ = next;
  CheckDateTimeChange();
  UpdateText();
}

// --- keys
// --------------------------------------------------------------------------------------------

void TKxDateTimeEdit::KeyDown(WORD& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  int step = key == VK_PRIOR || key == VK_UP ? 1 : key == VK_NEXT || key == VK_DOWN ? -1 : 0;
  if (step == 0) return;
  bool page = key == VK_PRIOR || key == VK_NEXT;
  // The text is replaced: the caret is not moved through it as well.
  key = 0;
  if (GetReadOnly()) return;
  if (editType_ == etDate) {
    if (!page)
      AdjustDay(step);
    else if (shift.Contains(ssShift))
      AdjustYear(step);
    else
      AdjustMonth(step);
  } else {
    if (page)
      AdjustHour(step);
    else
      AdjustMinute(step);
  }
}

void TKxDateTimeEdit::KeyPress(char& key) {
  if (editType_ == etTime && key != 0 && IsCharAlphaA(key)) {
    char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
    if (upper != 'A' && upper != 'M' && upper != 'P') {
      key = 0;
      MessageBeep(0);
    }
  }
  char separator = editType_ == etDate ? FormatSettings.DateSeparator : FormatSettings.TimeSeparator;
  if (key != 0 && key != separator) {
    int step = key == '+' || key == '=' ? 1 : key == '-' || key == '_' ? -1 : 0;
    if (step != 0) {
      key = 0;
      if (GetReadOnly()) return;
      if (editType_ == etDate)
        AdjustDay(step);
      else
        AdjustHour(step);
      return;
    }
  }
  inherited::KeyPress(key);
}

// --- messages
// ---------------------------------------------------------------------------------------

void TKxDateTimeEdit::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) {
    m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    return;
  }
  inherited::Dispatch(m);
}

void TKxDateTimeEdit::WMSetFocus(TMessage& m) {
  inherited::WMSetFocus(m);
  UpdateText();
}

void TKxDateTimeEdit::WMKillFocus(TMessage& m) {
  inherited::WMKillFocus(m);
  ReformatDateTime();
}

// --- pop-ups
// -----------------------------------------------------------------------------------------

void TKxDateTimeEdit::DropDown() {
  if (GetReadOnly()) return;
  inherited::DropDown();
  // The focus goes to the pop-up and comes back: that is no leaving and
  // entering for the form's handlers.
  TNotifyEvent onEnter = GetOnEnter();
  TNotifyEvent onExit = GetOnExit();
  SetOnEnter(TNotifyEvent());
  SetOnExit(TNotifyEvent());
  try {
    if (editType_ == etDate)
      DisplayCalendar();
    else
      DisplayTimePicker();
  } catch (const std::exception&) {
    // A pop-up that fails leaves the value as it was.
  }
  SetOnEnter(onEnter);
  SetOnExit(onExit);
}

namespace {

// A pop-up panel on the form for one drop-down, with AutoSelect off while
// it shows (a focus coming back would select the text); both undone at
// the end, whatever happens.
class TDropScope {
 public:
  TDropScope(TKxDateTimeEdit* edit, TCustomForm* form, TKxPopupPanel*& current)
      : edit_(edit), current_(current), autoSelect_(edit->GetAutoSelect()) {
    edit->SetAutoSelect(false);
    panel_.reset(New<TKxPopupPanel>(nullptr));
    panel_->SetParent(form);
    panel_->GetFont()->SetName(edit->GetFont()->GetName());
    panel_->SetColor(edit->GetNormalColor());
    current_ = panel_.get();
  }
  ~TDropScope() {
    current_ = nullptr;
    panel_.reset();
    edit_->SetAutoSelect(autoSelect_);
  }
  TDropScope(const TDropScope&) = delete;
  TDropScope& operator=(const TDropScope&) = delete;
  TKxPopupPanel* Panel() const { return panel_.get(); }

 private:
  TKxDateTimeEdit* edit_;
  TKxPopupPanel*& current_;
  bool autoSelect_;
  Owned<TKxPopupPanel> panel_;
};

}  // namespace

void TKxDateTimeEdit::DisplayCalendar() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return;
  TDropScope scope(this, form, dropPanel_);
  TKxPopupPanel* panel = scope.Panel();
  auto* calendar = New<TKxCalendar>(panel);
  calendar->SetParent(panel);
  calendar->SetIsPopup(true);
  calendar->SetColor(GetNormalColor());
  calendar->SetElements(calendarElements_);
  calendar->SetFirstDayOfWeek(firstDayOfWeek_);
  calendar->SetCaptionClearBtn(captionClearBtn_);
  calendar->SetCaptionTodayBtn(captionTodayBtn_);
  calendar->OnGetBoldDays = OnGetBoldDays;
  calendar->HandleNeeded();
  calendar->SetDate(GetDate() != 0 ? GetDate() : ::Date());
  ApplyPickerFrame(calendar);
  calendar->SetCalendarColors(calendarColors_);
  calendar->OnClick = TNotifyEvent(panel, &TKxPopupPanel::Close);
  if (panel->Popup(this)) SetDate(calendar->GetDate());
}

void TKxDateTimeEdit::DisplayTimePicker() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return;
  TDropScope scope(this, form, dropPanel_);
  TKxPopupPanel* panel = scope.Panel();
  auto* picker = New<TKxTimePicker>(panel);
  picker->SetParent(panel);
  picker->SetIsPopup(true);
  picker->SetColor(GetNormalColor());
  picker->SetCaptionAM(captionAM_);
  picker->SetCaptionPM(captionPM_);
  picker->SetCaptionSet(captionSet_);
  picker->HandleNeeded();
  picker->SetTime(GetTime());
  ApplyPickerFrame(picker);
  picker->SetClockFaceColors(clockFaceColors_);
  picker->SetShowSetButton(true);
  picker->SetShowHowToUseHint(showHowToUseHint_);
  picker->SetHowToUseMsg(howToUseMsg_);
  picker->SetRestrictMinutes(restrictMinutes_);
  picker->OnSetBtnClick = TNotifyEvent(panel, &TKxPopupPanel::Close);
  if (panel->Popup(this)) {
    TRestore accepted(pickerAccepted_, true);
    SetTime(picker->GetTime());
  }
}
