// KxPopups: dates and times picked with the mouse, and the pop-up that
// shows such a picker under another control.
//
// StrToDateEx and StrToTimeEx read loosely typed text ("3 jan", "311299",
// "1230p") in the field order of the user's short date or long time format.
// TKxCalendar shows one month with its title, arrows, weekday initials,
// week numbers, bold days and Today/Clear buttons; holding its title opens
// TKxMonthList, a floating list of months that scrolls while the mouse is
// above or below it. TKxTimePicker sets a time of day on a clock face: the
// left button the hour, the right one the minute. TKxPopupPanel holds
// controls at design time and shows them, on demand, in a TKxPopup under
// another control, running a message loop of its own until a choice is made
// or the pop-up is dismissed.
//
// The unit has one header (with KxPopupsPicker.h, the pickers' shared base,
// under it); its code is split by family: KxPopups.cpp (the parsers and the
// month list), KxPopupsPicker.cpp (what the two pickers share),
// KxPopupsCalendar.cpp, KxPopupsClock.cpp (the time picker) and
// KxPopupsPanel.cpp (the pop-up and its panel).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "classlib/Classes.h"
#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/SysUtils.h"
#include "kx/controls/KxPanel.h"
#include "kx/controls/KxPopupsPicker.h"

// Posted by a pop-up to itself to end it; its handler frees the pop-up.
inline constexpr UINT CM_KXPOPUPCLOSE = 0x2423;

// The unit's resource strings (resources/KxPopups.rc).
inline constexpr int SKxTodayCaption = 65440;
inline constexpr int SKxClearCaption = 65441;
inline constexpr int SKxAMCaption = 65442;
inline constexpr int SKxPMCaption = 65443;
inline constexpr int SKxSetCaption = 65444;
inline constexpr int SKxHowToUseMsg = 65445;

// ---------------------------------------------------------------------------
// Parsers

// Text typed loosely as a date: numbers and month names in the order of
// ShortDateFormat, missing fields from today. 0 for empty text and for text
// that gives no valid date (numbers too large for a date field included).
// A digit run too long for a 32-bit integer raises EConvertError.
TDateTime StrToDateEx(const std::string& text);
// The same for a time of day in the order of LongTimeFormat, with "A",
// "P", "AM", "PM" or the locale's strings; 0 when no valid time results.
TDateTime StrToTimeEx(const std::string& text);

// A date moved by step (IncDay, IncMonth, IncYear...), into result: false,
// with result untouched, for a step that would leave 1 January 0001 to
// 31 December 9999, where those raise EConvertError. The calendar, its
// month list and the date/time edit step through it, so a step past either
// end leaves the date as it is.
bool KxTryStepDate(TDateTime from, const std::function<TDateTime(TDateTime)>& step, TDateTime& result);

// ---------------------------------------------------------------------------
// TKxCalendarColors / TKxClockFaceColors: the pickers' colours by index

class TKxCalendar;
class TKxTimePicker;

// 0 Days .. 6 TodaysDateFrame; a change repaints the calendar.
class TKxCalendarColors : public TKxPickerColors {
  DECLARE_CLASS(TKxCalendarColors, TKxPickerColors)

  explicit TKxCalendarColors(TKxCalendar* owner);
};

// 0 Face .. 4 MinuteTicks; a change repaints the time picker.
class TKxClockFaceColors : public TKxPickerColors {
  DECLARE_CLASS(TKxClockFaceColors, TKxPickerColors)

  explicit TKxClockFaceColors(TKxTimePicker* owner);
};

// ---------------------------------------------------------------------------
// TKxMonthList: the months around the calendar's, while its title is held

class TKxMonthList : public TCustomControl {
  DECLARE_CLASS(TKxMonthList, TCustomControl)

  // Placed over the calendar's title, shown.
  explicit TKxMonthList(TKxCalendar* calendar);

  int GetItemHeight() const { return itemHeight_; }
  TDateTime GetCenterMonth() const { return centerMonth_; }
  TDateTime GetHighlightMonth() const { return highlightMonth_; }

  // --- introduced virtual operations, in the library's order --------------------------
  virtual void SetHighlightMonth(TDateTime value);
  virtual void SetCenterMonth(TDateTime value);

  // The month of the row under p (client coordinates), or none (0) outside.
  void HighlightFromPoint(POINT p);
  // Scrolls one month towards the cursor when it is above or below the
  // list; returns the ticks to wait before the next step (fewer the
  // further away the cursor is).
  int ScrollStep();

  void CreateParams(TCreateParams& params) override;
  void Paint() override;

 private:
  TKxCalendar* calendar_;
  int itemHeight_ = 0;
  TDateTime centerMonth_ = 0;
  TDateTime highlightMonth_ = 0;
};

// ---------------------------------------------------------------------------
// TKxCalendar

enum TKxFirstDayOfWeek { fdowMonday, fdowTuesday, fdowWednesday, fdowThursday, fdowFriday, fdowSaturday, fdowSunday,
                         fdowLocale };
DECLARE_ENUM_TYPE(TKxFirstDayOfWeek);
enum TKxCalendarElement { ceYear, ceMonth, ceArrows, ceWeekNumbers, ceDaysOfWeek, ceFillDays, ceTodayButton,
                          ceClearButton };
DECLARE_ENUM_TYPE(TKxCalendarElement);
using TKxCalendarElements = TSet<TKxCalendarElement>;
inline const TKxCalendarElements KxDefaultCalendarElements{ceYear,       ceMonth,        ceArrows,     ceDaysOfWeek,
                                                           ceFillDays,   ceTodayButton,  ceClearButton};
// caFillDays stands for no area at all.
enum TKxCalendarArea { caYear, caMonth, caArrows, caWeekNumbers, caDays, caDaysOfWeek, caFillDays, caTodayButton,
                       caClearButton };
DECLARE_ENUM_TYPE(TKxCalendarArea);

using TKxGetBoldDaysEvent = TClosure<void(TObject* Sender, uint16_t Year, uint16_t Month, uint32_t& Bitmask)>;

// Bit day - 1 for each day 1..31 of days; other values are ignored.
uint32_t DaysToBitmask(std::initializer_list<int> days);

class TKxCalendar : public TKxPickerBase {
  DECLARE_CLASS(TKxCalendar, TKxPickerBase)

  explicit TKxCalendar(TComponent* owner);

  TDateTime GetDate() const { return date_; }
  TDateTime GetViewDate() const { return viewDate_; }
  TDateTime GetFirstCellDate() const { return firstCellDate_; }
  TKxFirstDayOfWeek GetFirstDayOfWeek() const { return firstDayOfWeek_; }
  // 0 Monday .. 6 Sunday.
  int GetResolvedFirstDay() const { return firstDay_; }
  TKxCalendarElements GetElements() const { return elements_; }
  const std::string& GetCaptionTodayBtn() const { return captionTodayBtn_; }
  const std::string& GetCaptionClearBtn() const { return captionClearBtn_; }
  TKxCalendarColors* GetCalendarColors() const { return colors_; }
  TKxCalendarArea GetOverArea() const { return overArea_; }
  TKxCalendarArea GetPressedArea() const { return pressedArea_; }
  TKxMonthList* GetMonthList() const { return monthList_; }

  TNotifyEvent OnChange;
  TKxGetBoldDaysEvent OnGetBoldDays;
  TNotifyEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TNotifyEvent e) { OnChange = e; }
  TKxGetBoldDaysEvent GetOnGetBoldDays() const { return OnGetBoldDays; }
  void SetOnGetBoldDays(TKxGetBoldDaysEvent e) { OnGetBoldDays = e; }

  // --- introduced virtual operations, in the library's order --------------------------
  virtual void SetCalendarColors(TKxCalendarColors* value);
  virtual void SetCaptionClearBtn(const std::string& value);
  virtual void SetCaptionTodayBtn(const std::string& value);
  virtual void SetDate(TDateTime value);
  virtual void SetFirstDayOfWeek(TKxFirstDayOfWeek value);
  virtual void SetElements(TKxCalendarElements value);
  virtual void SetOverArea(TKxCalendarArea value);
  virtual void SetPressedArea(TKxCalendarArea value);
  virtual void SetViewDate(TDateTime value);
  // Dynamic.
  virtual void Changed();
  virtual void GetBoldDays(uint16_t year, uint16_t month, uint32_t& bitmask);

  void Clear();
  void Today();
  bool IsClear() const;
  // The width of "0", the text height and the buttons' captions' widths.
  void CalcFontSize() override;
  // The date of the day cell under the point (client coordinates), or 0.
  TDateTime HitTest(int x, int y);
  // Each area's rectangle for the present size, font and elements (the
  // caFillDays one is empty).
  void CalcAreas();
  TRect GetAreaRect(TKxCalendarArea area) {
    CalcAreas();
    return areas_[area];
  }
  int GetCellWidth() const { return cellW_; }
  int GetCellHeight() const { return cellH_; }
  // The size the calendar needs for its font and elements.
  SIZE NaturalSize() override;

  void CreateHandle() override;
  void CreateWnd() override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Click() override;
  void DblClick() override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void Dispatch(TMessage& m) override;
  void WMEraseBkgnd(TMessage& m) override;
  void WMNCHitTest(TMessage& m) override;
  void CMDialogChar(TMessage& m) override;

 protected:
  void Destroy() override;

 private:
  std::string TodayCaption() const;
  std::string ClearCaption() const;
  void UpdateHighlight(int x, int y);
  TDateTime InternalHitTest(const TRect& rect, POINT p);
  void StartTimer();
  void StopTimer();
  void TimerExpired();
  // A day of the month shown, as SetDate takes it (time part kept).
  void SelectDay(TDateTime day);
  void DrawButton(TCanvas* canvas, TKxCalendarArea area, const std::string& caption);
  void DrawSeparator(TCanvas* canvas, int x1, int y1, int x2, int y2, bool vertical);

  TDateTime date_ = 0;
  TDateTime viewDate_ = 0;
  TDateTime firstCellDate_ = 0;
  TKxFirstDayOfWeek firstDayOfWeek_ = fdowLocale;
  int firstDay_ = 0;
  TKxCalendarElements elements_ = KxDefaultCalendarElements;
  std::string captionTodayBtn_;
  std::string captionClearBtn_;
  TKxCalendarColors* colors_ = nullptr;
  int todayW_ = 0;
  int clearW_ = 0;
  int cellW_ = 0;
  int cellH_ = 0;
  TRect areas_[9]{};
  TKxCalendarArea pressedArea_ = caFillDays;
  TKxCalendarArea overArea_ = caFillDays;
  TRect pressedRect_{};
  int tickCounter_ = 0;
  bool timerOn_ = false;
  TKxMonthList* monthList_ = nullptr;
};

// ---------------------------------------------------------------------------
// TKxTimePicker

class TKxTimePicker : public TKxPickerBase {
  DECLARE_CLASS(TKxTimePicker, TKxPickerBase)

  explicit TKxTimePicker(TComponent* owner);

  TDateTime GetTime() const { return time_; }
  bool GetPM() const { return pm_; }
  const std::string& GetCaptionAM() const { return captionAM_; }
  const std::string& GetCaptionPM() const { return captionPM_; }
  const std::string& GetCaptionSet() const { return captionSet_; }
  TKxClockFaceColors* GetClockFaceColors() const { return colors_; }
  const std::string& GetHowToUseMsg() const { return howToUseMsg_; }
  void SetHowToUseMsg(const std::string& value) { howToUseMsg_ = value; }
  bool GetRestrictMinutes() const { return restrictMinutes_; }
  void SetRestrictMinutes(bool value) { restrictMinutes_ = value; }
  bool GetShowHowToUseHint() const { return showHowToUseHint_; }
  void SetShowHowToUseHint(bool value) { showHowToUseHint_ = value; }
  bool GetShowSetButton() const { return showSetButton_; }
  THintWindow* GetHintWindow() const { return hintWindow_; }
  TTimer* GetHintTimer() const { return hintTimer_; }

  // The layout of the last paint (or of CalcRects).
  TRect GetDisplayRect() const { return displayRect_; }
  TRect GetClockRect() const { return clockRect_; }
  POINT GetClockCenter() const { return center_; }
  int GetClockRadius() const { return radius_; }
  TRect GetAMRect() const { return amRect_; }
  TRect GetPMRect() const { return pmRect_; }
  TRect GetSetRect() const { return setRect_; }

  TNotifyEvent OnChange;
  TNotifyEvent OnSetBtnClick;
  TNotifyEvent OnSetTime;
  TNotifyEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TNotifyEvent e) { OnChange = e; }
  TNotifyEvent GetOnSetBtnClick() const { return OnSetBtnClick; }
  void SetOnSetBtnClick(TNotifyEvent e) { OnSetBtnClick = e; }
  TNotifyEvent GetOnSetTime() const { return OnSetTime; }
  void SetOnSetTime(TNotifyEvent e) { OnSetTime = e; }

  // --- introduced virtual operations, in the library's order --------------------------
  virtual void DrawClock(const TRect& rect, POINT center, int radius);
  virtual void SetCaptionAM(const std::string& value);
  virtual void SetCaptionPM(const std::string& value);
  virtual void SetCaptionSet(const std::string& value);
  virtual void SetClockFaceColors(TKxClockFaceColors* value);
  virtual void SetTime(TDateTime value);
  virtual void SetShowSetButton(bool value);
  // Dynamic.
  virtual void SetBtnClick();
  virtual void Changed();
  virtual void MouseEnter() override;
  virtual void MouseLeave() override;

  void SetHour(int hour);
  void SetMinutes(int minute);
  void ChangeToAM();
  void ChangeToPM();
  void AdjustHour(int hours);
  void AdjustMinute(int minutes);
  void Clear();
  bool IsClear() const;
  void CalcRects();
  SIZE NaturalSize() override;
  int GetHourFromXY(int x, int y) const;
  int GetMinuteFromXY(int x, int y, bool restrict) const;
  // The angle of (dx, dy) in [0, 2 pi), clockwise from 3 o'clock (screen y
  // grows downwards).
  static double NormalizedArcTan(double dx, double dy);
  // The how-to-use hint for the point (client coordinates).
  void DoHint(int x, int y);

  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void CMDialogChar(TMessage& m) override;

 protected:
  void Destroy() override;

 private:
  std::string AMCaption() const;
  std::string PMCaption() const;
  std::string SetCaption() const;
  std::string HowToUse() const;
  int Hour() const;
  int Minute() const;
  void HintTimerExpired(TObject* sender);
  void HideHint();
  void DrawRadio(TCanvas* canvas, const TRect& item, bool checked, const std::string& caption);

  TDateTime time_ = 0;
  bool pm_ = false;
  std::string captionAM_;
  std::string captionPM_;
  std::string captionSet_;
  std::string howToUseMsg_;
  bool showSetButton_ = false;
  bool restrictMinutes_ = false;
  bool showHowToUseHint_ = true;
  TKxClockFaceColors* colors_ = nullptr;
  TRect displayRect_{};
  TRect clockRect_{};
  POINT center_{};
  int radius_ = 0;
  TRect amRect_{};
  TRect pmRect_{};
  TRect setRect_{};
  bool leftDown_ = false;
  bool rightDown_ = false;
  bool amPressed_ = false;
  bool pmPressed_ = false;
  bool setPressed_ = false;
  bool dragging_ = false;
  THintWindow* hintWindow_ = nullptr;
  TTimer* hintTimer_ = nullptr;
};

// ---------------------------------------------------------------------------
// Pop-ups

class TKxPopupPanel;

class TKxCustomPopup : public TKxCustomPanel {
  DECLARE_CLASS(TKxCustomPopup, TKxCustomPanel)

  explicit TKxCustomPopup(TComponent* owner);

  void AdjustClientRect(RECT& rect) override;
  void AlignControls(TControl* control, RECT& rect) override;
  void Paint() override;
};

// The floating window a pop-up panel's children are shown in while its
// Popup runs. It never takes the activation from its form.
class TKxPopup : public TKxCustomPopup {
  DECLARE_CLASS(TKxPopup, TKxCustomPopup)

  explicit TKxPopup(TKxPopupPanel* panel);

  TKxPopupPanel* GetPanel() const { return panel_; }
  TControl* GetControl() const { return control_; }
  TWinControl* GetKeyTarget() const { return keyTarget_; }
  bool GetDismissed() const { return dismissed_; }
  void SetDismissed(bool value) { dismissed_ = value; }
  // True while the panel's children are in the pop-up.
  bool GetHolding() const { return holding_; }
  // Takes the panel's children and shows them under control, without
  // activation.
  void ShowFor(TControl* control, TAlignment alignment);
  // Hides the window, gives the children back to the panel in their order
  // and leaves the form.
  void Restore();
  // Whether window is the pop-up or lies inside it.
  bool Contains(HWND window);
  // Where a pop-up of that size goes under a control's screen rectangle,
  // kept in the work area.
  static TRect Placement(const TRect& control, int width, int height, TAlignment alignment, const TRect& workArea);

  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;

 private:
  TKxPopupPanel* panel_;
  TControl* control_ = nullptr;
  TWinControl* keyTarget_ = nullptr;
  bool dismissed_ = true;
  bool holding_ = false;
};

class TKxPopupPanel : public TKxCustomPopup {
  DECLARE_CLASS(TKxPopupPanel, TKxCustomPopup)

  explicit TKxPopupPanel(TComponent* owner);

  // Shows the children under control until a choice is made (true: Close
  // was called) or the pop-up is dismissed (false). False at once while a
  // pop-up is already showing.
  bool Popup(TControl* control);
  // Ends the pop-up as accepted. A TNotifyEvent, so a child's OnClick can
  // be wired to it.
  void Close(TObject* sender);
  bool GetActive() const { return popup_ != nullptr; }
  TKxPopup* GetPopup() const { return popup_; }
  TControl* GetPopupControl() const { return control_; }

  TNotifyEvent OnPopup;
  TNotifyEvent OnClose;
  TNotifyEvent GetOnPopup() const { return OnPopup; }
  void SetOnPopup(TNotifyEvent e) { OnPopup = e; }
  TNotifyEvent GetOnClose() const { return OnClose; }
  void SetOnClose(TNotifyEvent e) { OnClose = e; }

  // Dynamic.
  virtual void DoPopup();
  virtual void DoClose();

  // The children's extent and the frame: a hidden panel is sized when it
  // pops up.
  bool CanAutoSize(int& newWidth, int& newHeight) override;
  void DestroyWnd() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // The pop-up's message loop; ends when the pop-up is closed, dismissed
  // or gone.
  void RunLoop();

  TControl* control_ = nullptr;
  TKxPopup* popup_ = nullptr;
};

void InitializeKxPopups();
