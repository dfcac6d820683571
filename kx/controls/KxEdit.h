// The framed library's edits.
//
// TKxCustomEdit is the base of the library's single-line edits, on the
// class library's masked edit: a frame drawn in the non-client area over
// the system's border, hot while the control has the focus or the mouse,
// colours by state, membership of a frame controller, left or right
// alignment, Tab on Enter, a validation hook for masked input, and an
// optional drop-down button, also in the non-client area, that the colour,
// date and spin edits open their pop-ups from. TKxEdit publishes it as a
// plain edit; TKxMaskEdit adds the edit mask and its error event.
//
// TKxDateTimeEdit (KxEditDateTime.cpp) edits a date or a time of day: the
// text is read while it is typed, written again in its format when the
// focus leaves, stepped by keys, and set from a calendar or a clock that
// drops from the button.
//
// TKxMemo, TKxRichEdit and TKxHotKeyEdit carry the same frame and colours
// (no drop-down button) on the class library's memo, rich edit and hot-key
// control; the memo and the rich edit also keep track of the caret's line
// and column and of what the clipboard can do.
#pragma once

#include <functional>
#include <string>

#include "classlib/ComCtrls.h"
#include "classlib/Dialogs.h"
#include "classlib/Mask.h"
#include "classlib/Scopes.h"
#include "classlib/StdCtrls.h"
#include "kx/foundation/KxFramed.h"
#include "kx/controls/KxPopups.h"

// TKxFramedNC<Base>: the frame drawn over the system's border in the
// non-client area, repainted as the setting, the size or the parent's
// colour changes, and the hot states that entering and leaving the control
// set. The drop-down button of the edits comes on top of it.
template <class Base>
class TKxFramedNC : public TKxFramed<Base> {
 public:
  using TKxFramed<Base>::TKxFramed;

  // Shows or hides the frame; the window is made again (with the 3-D
  // border the frame is drawn over).
  void SetFrameVisible(bool value) override {
    if (this->frameVisible_ == value) return;
    this->frameVisible_ = value;
    if (value) this->SetCtl3D(true);
    this->RecreateWnd();
  }
  // The window's frame again, at once.
  void RepaintFrame() override {
    if (!this->HandleAllocated()) return;
    TRect r = this->GetClientRect();
    RedrawWindow(this->GetWindowHandle(), &r, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_INVALIDATE);
  }
  // The frame needs drawing by us (not by the theme).
  bool CustomFrame() { return this->frameVisible_ && !this->UseThemes(); }

  void CMEnter(TMessage& m) override {
    this->UpdateFrame(false, true);
    Base::CMEnter(m);
  }
  void CMExit(TMessage& m) override {
    Base::CMExit(m);
    this->UpdateFrame(false, false);
  }
  void CMParentColorChanged(TMessage& m) override {
    Base::CMParentColorChanged(m);
    if (CustomFrame()) RepaintFrame();
  }
  void WMSize(TMessage& m) override {
    Base::WMSize(m);
    if (CustomFrame()) RepaintFrame();
  }
  void Dispatch(TMessage& m) override {
    switch (m.Msg) {
      case WM_NCPAINT: WMNCPaint(m); return;
      case WM_PRINT: WMPrint(m); return;
      default: Base::Dispatch(m); return;
    }
  }
  // The system's border first, then ours over it on the window DC.
  virtual void WMNCPaint(TMessage& m) {
    this->DefaultHandler(m);
    if (!this->HandleAllocated()) return;
    bool painted = false;
    {
      TWindowDC dc(this->GetWindowHandle());
      painted = PaintNonClient(dc.Get());
    }
    if (painted) m.Result = 0;
  }
  // A printed window (WM_PRINT with PRF_NONCLIENT) shows the frame as the
  // screen does.
  virtual void WMPrint(TMessage& m) {
    this->DefaultHandler(m);
    if (!(m.LParam & PRF_NONCLIENT) || !m.WParam) return;
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    TSavedDC saved(dc);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SelectClipRgn(dc, nullptr);
    PaintNonClient(dc);
  }
  // What the library draws over the system's non-client area on dc (origin
  // at the window's corner): true when it drew.
  virtual bool PaintNonClient(HDC dc) { return this->PaintNCFrameOn(dc); }

 protected:
  void ColorApplied() override {
    if (CustomFrame()) RepaintFrame();
  }
};

using TKxValidateErrorEvent = TClosure<void(TObject* Sender, std::string& Message)>;

class TKxCustomEdit : public TKxFramedNC<TCustomMaskEdit> {
  DECLARE_CLASS(TKxCustomEdit, TKxFramedNC<TCustomMaskEdit>)

  explicit TKxCustomEdit(TComponent* owner);
  ~TKxCustomEdit() override { DestroyUnfinished(); }

  // --- text and layout -------------------------------------------------------------
  TLeftRight GetAlignment() const { return alignment_; }
  // The window is made again with the new ES_LEFT or ES_RIGHT.
  virtual void SetAlignment(TLeftRight value);
  TAlignment GetControlsAlignment() const override { return alignment_; }
  bool GetTabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool v) { tabOnEnter_ = v; }
  // The area the text is edited in: the client rectangle.
  virtual TRect GetEditRect();
  // The text as the user sees it.
  virtual std::string GetRightJustifiedText();

  // --- frame -----------------------------------------------------------------------
  void UpdateFrame(bool isMouse, bool value) override;

  // --- drop-down button ----------------------------------------------------------------
  bool GetDropButtonVisible() const { return dropButtonVisible_; }
  // The window is made again with room for the button.
  virtual void SetDropButtonVisible(bool value);
  bool GetFlatButtons() const { return flatButtons_; }
  virtual void SetFlatButtons(bool value);
  TColor GetFlatButtonColor() const { return flatButtonColor_; }
  virtual void SetFlatButtonColor(TColor value);
  bool GetButtonDown() const { return buttonDown_; }
  virtual void SetButtonState(bool down);
  bool GetDroppedDown() const { return droppedDown_; }
  bool GetMouseOverButton() const { return mouseOverButton_; }
  // The button in window coordinates (origin at the window's corner).
  TRect ButtonRect();
  // Paints the button into r of the window DC on the frame canvas.
  virtual void DrawButton(const TRect& r);
  // The button pressed: DropDown (descendants open their pop-up there),
  // then CloseUp, with the mouse captured throughout.
  void DoDropDown();
  // The button up again (unless a pop-up is open) and the capture let go.
  void MouseCancel();
  void RepaintButton();

  // --- events ---------------------------------------------------------------------
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnDropDown;
  TKxValidateErrorEvent OnValidateError;
  TNotifyEvent GetOnCloseUp() const { return OnCloseUp; }
  void SetOnCloseUp(TNotifyEvent e) { OnCloseUp = e; }
  TNotifyEvent GetOnDropDown() const { return OnDropDown; }
  void SetOnDropDown(TNotifyEvent e) { OnDropDown = e; }
  TKxValidateErrorEvent GetOnValidateError() const { return OnValidateError; }
  void SetOnValidateError(TKxValidateErrorEvent e) { OnValidateError = e; }
  virtual void CloseUp();
  virtual void DropDown();

  // --- window and messages ---------------------------------------------------------------
  void CreateParams(TCreateParams& params) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void Dispatch(TMessage& m) override;
  bool PaintNonClient(HDC dc) override;
  void WMNCHitTest(TMessage& m) override;
  virtual void WMNCCalcSize(TMessage& m);
  void WMKillFocus(TMessage& m) override;
  void WMLButtonDown(TMessage& m) override;
  void WMLButtonUp(TMessage& m) override;
  void WMLButtonDblClk(TMessage& m) override;
  void WMRButtonDown(TMessage& m) override;
  void WMSetCursor(TMessage& m) override;
  void CMEnter(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;

 protected:
  // Masked input refused: OnValidateError may name the message to raise.
  void ValidateError() override;
  // For an edit whose whole face is its button.
  void SetMouseOverButton(bool value) { mouseOverButton_ = value; }
  // A picker dropped from the edit takes a flat frame in the edit's frame
  // colour when the edit's own frame is flat (pickers are panels or borders,
  // which share no base with these properties).
  template <class Picker>
  void ApplyPickerFrame(Picker* picker) {
    if ((GetFrameVisible() && !UseThemes() && GetFrameStyle() == fsFlat) || GetFrameStyle() == fsFlatBold) {
      picker->SetBorderOuter(fsFlat);
      picker->SetFlatColor(GetFrameColor());
    }
  }

 private:
  // Entering on the first 32-bit Windows selects the text itself.
  static bool IsWindows40();

  TLeftRight alignment_ = taLeftJustify;
  bool tabOnEnter_ = false;
  bool dropButtonVisible_ = false;
  bool buttonDown_ = false;
  bool mouseOverButton_ = false;
  bool droppedDown_ = false;
  bool flatButtons_ = false;
  TColor flatButtonColor_ = clBtnFace;
};

class TKxEdit : public TKxCustomEdit {
  DECLARE_CLASS(TKxEdit, TKxCustomEdit)
  using TKxCustomEdit::TKxCustomEdit;
};

class TKxMaskEdit : public TKxCustomEdit {
  DECLARE_CLASS(TKxMaskEdit, TKxCustomEdit)
  using TKxCustomEdit::TKxCustomEdit;
  // The edit text, the mask's literals and blanks included.
  std::string GetRightJustifiedText() override { return GetEditText(); }
};

// The published properties of TKxEdit and TKxMaskEdit, for descendants
// that publish the same (the mask edit adds its mask and error event).
template <class T>
void PublishKxEditProps(TPublisher<T>& p, bool masked) {
  p.Prop("Alignment", &T::GetAlignment, &T::SetAlignment).Default(taLeftJustify);
  PublishControlProps(p, {"Anchors"});
  p.Prop("AutoSelect", &T::GetAutoSelect, &T::SetAutoSelect).Default(true);
  p.Prop("AutoSize", &T::GetAutoSize, &T::SetAutoSize).Default(true);
  PublishControlProps(p, {"BiDiMode"});
  p.Prop("BorderStyle", &T::GetBorderStyle, &T::SetBorderStyle).Default(bsSingle);
  p.Prop("CharCase", &T::GetCharCase, &T::SetCharCase).Default(ecNormal);
  PublishKxColor(p);
  PublishControlProps(p, {"Constraints", "Ctl3D"});
  PublishKxDisabledColor(p);
  PublishControlProps(p, {"DragCursor", "DragKind", "DragMode"});
  if (masked) p.Prop("EditMask", &T::GetEditMask, &T::SetEditMask);
  PublishControlProps(p, {"Enabled"});
  PublishKxFocusColor(p);
  PublishControlProps(p, {"Font"});
  PublishKxFrameProps(p);
  p.Prop("HideSelection", &T::GetHideSelection, &T::SetHideSelection).Default(true);
  PublishControlProps(p, {"ImeMode", "ImeName"});
  p.Prop("MaxLength", &T::GetMaxLength, &T::SetMaxLength).Default(0);
  p.Prop("OEMConvert", &T::GetOEMConvert, &T::SetOEMConvert).Default(false);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint"});
  p.Prop("PasswordChar", &T::GetPasswordChar, &T::SetPasswordChar).Default('\0');
  PublishControlProps(p, {"PopupMenu"});
  p.Prop("ReadOnly", &T::GetReadOnly, &T::SetReadOnly).Default(false);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("TabOnEnter", &T::GetTabOnEnter, &T::SetTabOnEnter).Default(false);
  PublishControlProps(p, {"TabOrder"});
  p.Prop("TabStop", &T::GetTabStop, &T::SetTabStop).Default(true);
  // Text after EditMask, so that a stored value is read through the mask.
  p.Prop("Text", &T::GetText, &T::SetText);
  PublishControlProps(p, {"Visible"});
  p.Prop("OnChange", &T::GetOnChange, &T::SetOnChange);
  PublishControlProps(p, {"OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock",
                          "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown"});
  PublishKxMouseEvents(p);
  PublishControlProps(p, {"OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
  if (masked) p.Prop("OnValidateError", &T::GetOnValidateError, &T::SetOnValidateError);
}

// ---------------------------------------------------------------------------
// Numeric, expanding and colour edits

// Whether the decimal separator may be typed where the edit's caret and
// selection stand: one at most, or over a selection that holds it.
bool KxDecimalSeparatorFits(TCustomEdit* edit);

// A signed number, kept within Min..Max when the edit is left and shown
// through DisplayFormat (a FormatFloat picture).
class TKxNumericEdit : public TKxEdit {
  DECLARE_CLASS(TKxNumericEdit, TKxEdit)

  explicit TKxNumericEdit(TComponent* owner);

  bool GetAllowBlank() const { return allowBlank_; }
  void SetAllowBlank(bool value) { allowBlank_ = value; }
  double GetBlankValue() const { return blankValue_; }
  void SetBlankValue(double value) { blankValue_ = value; }
  bool GetCheckRange() const { return checkRange_; }
  void SetCheckRange(bool value) { checkRange_ = value; }
  bool GetIntegersOnly() const { return integersOnly_; }
  double GetMin() const { return min_; }
  double GetMax() const { return max_; }
  const std::string& GetDisplayFormat() const { return displayFormat_; }
  // Whether the last range check changed the value it was given.
  bool GetValueChanged() const { return valueChanged_; }

  // --- introduced virtual operations, in the library's order ------------------------
  virtual bool IsValidChar(char c);
  virtual std::string FormatText(double value);
  // The number the text shows: its digits and decimal separator, negative
  // with a '-' or '(' anywhere; 0 (with a beep) when they make no number.
  virtual double EvaluateText();
  virtual void SetIntegersOnly(bool value);
  virtual void SetMin(double value);
  virtual void SetMax(double value);
  // Round(Value), held to the range of an Integer.
  virtual int GetIntValue();
  virtual void SetIntValue(int value);
  virtual double GetValue();
  virtual double CheckValue(double value);
  virtual void SetValue(double value);
  virtual void SetDisplayFormat(const std::string& value);

  void Change() override;
  void KeyPress(char& key) override;
  void Loaded() override;
  void CMEnter(TMessage& m) override;
  void CMExit(TMessage& m) override;
  void WMPaste(TMessage& m) override;
  void WMCut(TMessage& m) override;

 private:
  // What entering does: the value taken from the text and shown formatted.
  void TakeValue();

  bool allowBlank_ = false;
  double blankValue_ = 0;
  bool checkRange_ = false;
  bool integersOnly_ = true;
  double min_ = 0;
  double max_ = 0;
  std::string displayFormat_;
  double lastValue_ = 0;
  bool valueChanged_ = false;
  bool suppressChange_ = false;
};

// An edit that widens to ExpandedWidth while it has the focus, or between
// two right clicks, and gives the width back afterwards.
class TKxExpandEdit : public TKxEdit {
  DECLARE_CLASS(TKxExpandEdit, TKxEdit)
  using TKxEdit::TKxEdit;

  int GetExpandedWidth() const { return expandedWidth_; }
  TExpandOnType GetExpandOn() const { return expandOn_; }
  bool GetExpanded() const { return expanded_; }

  virtual void SetExpandedWidth(int value);
  virtual void SetExpandOn(TExpandOnType value);

  void WMSetFocus(TMessage& m) override;
  void WMKillFocus(TMessage& m) override;
  void WMRButtonUp(TMessage& m) override;

 private:
  void Expand();

  int expandedWidth_ = 0;
  TExpandOnType expandOn_ = etNone;
  bool expanded_ = false;
  int normalWidth_ = 0;
};

// A colour shown as a swatch (a hatched box for clNone), chosen from the
// library's colour picker dropped in a pop-up panel. It takes no text.
class TKxColorEdit : public TKxCustomEdit {
  DECLARE_CLASS(TKxColorEdit, TKxCustomEdit)

  explicit TKxColorEdit(TComponent* owner);

  const std::string& GetCustomColorCaption() const { return customColorCaption_; }
  void SetCustomColorCaption(const std::string& v) { customColorCaption_ = v; }
  const std::string& GetDefaultColorCaption() const { return defaultColorCaption_; }
  void SetDefaultColorCaption(const std::string& v) { defaultColorCaption_ = v; }
  const std::string& GetNoColorCaption() const { return noColorCaption_; }
  void SetNoColorCaption(const std::string& v) { noColorCaption_ = v; }
  TColor GetCustomColor() const { return customColor_; }
  void SetCustomColor(TColor v) { customColor_ = v; }
  TKxCustomColors* GetCustomColors() const { return customColors_; }
  TColorDialogOptions GetColorDlgOptions() const { return colorDlgOptions_; }
  void SetColorDlgOptions(TColorDialogOptions v) { colorDlgOptions_ = v; }
  TColor GetDefaultColor() const { return defaultColor_; }
  void SetDefaultColor(TColor v) { defaultColor_ = v; }
  TColor GetSelectedColor() const { return selectedColor_; }
  bool GetShowColorHints() const { return showColorHints_; }
  void SetShowColorHints(bool v) { showColorHints_ = v; }
  bool GetShowNoColor() const { return showNoColor_; }
  void SetShowNoColor(bool v) { showNoColor_ = v; }
  bool GetShowCustomColor() const { return showCustomColor_; }
  void SetShowCustomColor(bool v) { showCustomColor_ = v; }
  bool GetShowDefaultColor() const { return showDefaultColor_; }
  void SetShowDefaultColor(bool v) { showDefaultColor_ = v; }
  bool GetShowSystemColors() const { return showSystemColors_; }
  void SetShowSystemColors(bool v) { showSystemColors_ = v; }

  // --- introduced virtual operations, in the library's order ------------------------
  // The picker in a pop-up panel under the edit (only on a form); a choice
  // becomes SelectedColor and fires Change.
  virtual void DisplayColorPicker();
  virtual void SetCustomColors(TKxCustomColors* value);
  virtual void SetSelectedColor(TColor value);

  void DropDown() override;
  void Notification(TComponent* component, TOperation operation) override;
  void WndProc(TMessage& m) override;
  void WMNCHitTest(TMessage& m) override;
  void WMLButtonDown(TMessage& m) override;
  void WMSetFocus(TMessage& m) override;
  void WMKillFocus(TMessage& m) override;
  void WMPaint(TMessage& m) override;

 private:
  void PaintSwatch(HDC dc);

  std::string customColorCaption_;
  std::string defaultColorCaption_;
  std::string noColorCaption_;
  TColor customColor_ = clWhite;
  TKxCustomColors* customColors_ = nullptr;
  TColorDialogOptions colorDlgOptions_{cdFullOpen};
  TColor defaultColor_ = clHighlight;
  TColor selectedColor_ = clNone;
  bool showColorHints_ = true;
  bool showNoColor_ = false;
  bool showCustomColor_ = false;
  bool showDefaultColor_ = false;
  bool showSystemColors_ = false;
};

// ---------------------------------------------------------------------------
// Date/time edit

enum TKxDTEditType { etDate, etTime };
DECLARE_ENUM_TYPE(TKxDTEditType);
// (Sender, the new value).
using TKxDateTimeChangeEvent = TClosure<void(TObject* Sender, TDateTime NewValue)>;

class TKxDateTimeEdit : public TKxCustomEdit {
  DECLARE_CLASS(TKxDateTimeEdit, TKxCustomEdit)

  explicit TKxDateTimeEdit(TComponent* owner);
  ~TKxDateTimeEdit() override { DestroyUnfinished(); }

  // The whole value: 0 is empty (unless a time was given).
  TDateTime GetValue() const { return value_; }
  TKxDTEditType GetEditType() const { return editType_; }
  const std::string& GetFormat() const { return format_; }
  // Format, or the default picture of the edit type ("ddddd", "t").
  std::string DisplayFormat() const;
  TKxCalendarColors* GetCalendarColors() const { return calendarColors_; }
  TKxClockFaceColors* GetClockFaceColors() const { return clockFaceColors_; }
  TKxCalendarElements GetCalendarElements() const { return calendarElements_; }
  void SetCalendarElements(TKxCalendarElements v) { calendarElements_ = v; }
  const std::string& GetCaptionTodayBtn() const { return captionTodayBtn_; }
  void SetCaptionTodayBtn(const std::string& v) { captionTodayBtn_ = v; }
  const std::string& GetCaptionClearBtn() const { return captionClearBtn_; }
  void SetCaptionClearBtn(const std::string& v) { captionClearBtn_ = v; }
  const std::string& GetCaptionAM() const { return captionAM_; }
  void SetCaptionAM(const std::string& v) { captionAM_ = v; }
  const std::string& GetCaptionPM() const { return captionPM_; }
  void SetCaptionPM(const std::string& v) { captionPM_ = v; }
  const std::string& GetCaptionSet() const { return captionSet_; }
  void SetCaptionSet(const std::string& v) { captionSet_ = v; }
  TKxFirstDayOfWeek GetFirstDayOfWeek() const { return firstDayOfWeek_; }
  void SetFirstDayOfWeek(TKxFirstDayOfWeek v) { firstDayOfWeek_ = v; }
  const std::string& GetHowToUseMsg() const { return howToUseMsg_; }
  void SetHowToUseMsg(const std::string& v) { howToUseMsg_ = v; }
  bool GetRestrictMinutes() const { return restrictMinutes_; }
  void SetRestrictMinutes(bool v) { restrictMinutes_ = v; }
  bool GetShowHowToUseHint() const { return showHowToUseHint_; }
  void SetShowHowToUseHint(bool v) { showHowToUseHint_ = v; }
  // The pop-up showing while the button is down (nullptr otherwise).
  TKxPopupPanel* GetDropPanel() const { return dropPanel_; }

  TKxGetBoldDaysEvent OnGetBoldDays;
  TKxDateTimeChangeEvent OnDateTimeChange;
  TKxGetBoldDaysEvent GetOnGetBoldDays() const { return OnGetBoldDays; }
  void SetOnGetBoldDays(TKxGetBoldDaysEvent e) { OnGetBoldDays = e; }
  TKxDateTimeChangeEvent GetOnDateTimeChange() const { return OnDateTimeChange; }
  void SetOnDateTimeChange(TKxDateTimeChangeEvent e) { OnDateTimeChange = e; }

  // --- introduced virtual operations, in the library's order --------------------------
  virtual void DisplayCalendar();
  virtual void DisplayTimePicker();
  virtual TDateTime GetDate() const;
  virtual void SetDate(TDateTime value);
  // Date is stored for a date edit, Time for a time edit.
  virtual bool IsDate() const { return editType_ == etDate; }
  virtual void SetEditType(TKxDTEditType value);
  virtual void SetFormat(const std::string& value);
  virtual TDateTime GetTime() const;
  virtual void SetTime(TDateTime value);
  virtual bool IsTime() const { return editType_ == etTime; }
  virtual void SetClockFaceColors(TKxClockFaceColors* value);
  virtual void SetCalendarColors(TKxCalendarColors* value);
  // Dynamic: fires OnDateTimeChange.
  virtual void DateTimeChange();

  // Bit day - 1 for each day 1..31 of days, for OnGetBoldDays handlers.
  static uint32_t DaysToBitmask(std::initializer_list<int> days) { return ::DaysToBitmask(days); }

  // Empties the text and the value.
  void Clear() override;
  void Change() override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void DropDown() override;
  void Dispatch(TMessage& m) override;
  void WMSetFocus(TMessage& m) override;
  void WMKillFocus(TMessage& m) override;

 protected:
  void Destroy() override;

 private:
  // Reads a typed (modified) text into the value.
  void SetDateTime();
  void CheckDateTimeChange();
  void UpdateText();
  void ReformatDateTime();
  void AdjustYear(int step);
  void AdjustMonth(int step);
  void AdjustDay(int step);
  void AdjustHour(int step);
  void AdjustMinute(int step);
  // One step of the value (from today or now when empty), shown.
  void Step(bool timeField, const std::function<TDateTime(TDateTime)>& increment);

  TDateTime value_ = 0;
  TDateTime lastValue_ = 0;
  bool timeSet_ = false;
  bool updatingText_ = false;
  bool settingTime_ = false;
  bool pickerAccepted_ = false;
  TKxDTEditType editType_ = etDate;
  std::string format_;
  TKxCalendarColors* calendarColors_ = nullptr;
  TKxClockFaceColors* clockFaceColors_ = nullptr;
  TKxCalendarElements calendarElements_ = KxDefaultCalendarElements;
  std::string captionTodayBtn_;
  std::string captionClearBtn_;
  std::string captionAM_;
  std::string captionPM_;
  std::string captionSet_;
  TKxFirstDayOfWeek firstDayOfWeek_ = fdowLocale;
  std::string howToUseMsg_;
  bool restrictMinutes_ = false;
  bool showHowToUseHint_ = true;
  TKxPopupPanel* dropPanel_ = nullptr;
};

// ---------------------------------------------------------------------------
// Memo, rich edit and hot-key edit

// (Sender, Line, Column): the caret's place, both counted from 1.
using TLineColChangeEvent = TClosure<void(TObject* Sender, int Line, int Column)>;
// (Sender, CanCopy, CanPaste): a selection to copy, text on the clipboard.
using TClipboardChangeEvent = TClosure<void(TObject* Sender, bool CanCopy, bool CanPaste)>;

// The framed edits with no drop-down button: the hot states are recorded,
// the frame repainted while hot tracking, and the colours follow.
template <class Base>
class TKxFramedPlain : public TKxFramedNC<Base> {
 public:
  using TKxFramedNC<Base>::TKxFramedNC;
  void UpdateFrame(bool isMouse, bool value) override {
    if (isMouse) this->mouseOver_ = value;
    else this->focused_ = value;
    if (this->GetFrameHotTrack()) this->RepaintFrame();
    this->UpdateColors();
  }
};

// What the memo and the rich edit add: the caret's line and column, the
// clipboard's state, wheel scrolling and Tab on Enter.
template <class Base>
class TKxLineColEdit : public TKxFramedPlain<Base> {
 public:
  explicit TKxLineColEdit(TComponent* owner) : TKxFramedPlain<Base>(owner) {}

  bool GetTabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool v) { tabOnEnter_ = v; }

  // The caret's line, from 1.
  int GetLine() {
    if (!this->HandleAllocated()) return 1;
    return static_cast<int>(Send(EM_LINEFROMCHAR, static_cast<WPARAM>(this->GetSelStart()), 0)) + 1;
  }
  // The caret's column in its line, from 1.
  int GetColumn() {
    if (!this->HandleAllocated()) return 1;
    return this->GetSelStart() - static_cast<int>(Send(EM_LINEINDEX, static_cast<WPARAM>(GetLine() - 1), 0)) + 1;
  }
  // The caret to the start of line, which becomes the first line shown.
  void SetLine(int line) {
    // A line that is not there (none before the first) leaves the caret
    // where it is.
    if (line < 1) return;
    LRESULT start = Send(EM_LINEINDEX, static_cast<WPARAM>(line - 1), 0);
    if (start < 0) return;
    Send(EM_SETSEL, static_cast<WPARAM>(start), start);
    if (GetLine() != line) return;
    int first = static_cast<int>(Send(EM_GETFIRSTVISIBLELINE, 0, 0));
    Send(EM_LINESCROLL, 0, line - first - 1);
    LineColChange();
  }
  // The caret to column of its line; one past the last character at most.
  void SetColumn(int column) {
    if (column < 1 || !this->HandleAllocated()) return;
    LRESULT start = Send(EM_LINEINDEX, static_cast<WPARAM>(-1), 0);
    int length = static_cast<int>(Send(EM_LINELENGTH, static_cast<WPARAM>(start), 0));
    if (column > length + 1) return;
    LRESULT at = start + column - 1;
    Send(EM_SETSEL, static_cast<WPARAM>(at), at);
    LineColChange();
  }
  void JumpTo(int line, int column) {
    SetLine(line);
    if (GetLine() == line) SetColumn(column);
  }

  TLineColChangeEvent OnLineColChange;
  TClipboardChangeEvent OnClipboardChange;
  TLineColChangeEvent GetOnLineColChange() const { return OnLineColChange; }
  void SetOnLineColChange(TLineColChangeEvent e) { OnLineColChange = e; }
  TClipboardChangeEvent GetOnClipboardChange() const { return OnClipboardChange; }
  void SetOnClipboardChange(TClipboardChangeEvent e) { OnClipboardChange = e; }
  virtual void LineColChange() {
    if (OnLineColChange) OnLineColChange(this, GetLine(), GetColumn());
    ClipboardChange();
  }
  virtual void ClipboardChange() {
    if (OnClipboardChange)
      OnClipboardChange(this, this->GetSelLength() != 0, IsClipboardFormatAvailable(CF_TEXT) != 0);
  }

  void CreateWnd() override {
    Base::CreateWnd();
    LineColChange();
    ClipboardChange();
  }
  void Change() override {
    Base::Change();
    LineColChange();
  }
  void Click() override {
    Base::Click();
    LineColChange();
  }
  void KeyDown(WORD& key, TShiftState shift) override {
    Base::KeyDown(key, shift);
    LineColChange();
  }
  void KeyUp(WORD& key, TShiftState shift) override {
    Base::KeyUp(key, shift);
    LineColChange();
  }
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
    Base::MouseUp(button, shift, x, y);
    ClipboardChange();
  }
  void KeyPress(char& key) override {
    if (tabOnEnter_ && key == '\r') {
      key = 0;
      PostMessageA(this->GetHandle(), WM_KEYDOWN, VK_TAB, 0);
      return;
    }
    Base::KeyPress(key);
  }
  // A notch scrolls one line, or the system's wheel lines with Ctrl held;
  // the window's own wheel scrolling is not asked.
  bool DoMouseWheelDown(TShiftState shift, POINT mousePos) override {
    Base::DoMouseWheelDown(shift, mousePos);
    Send(EM_LINESCROLL, 0, WheelLines(shift));
    return true;
  }
  bool DoMouseWheelUp(TShiftState shift, POINT mousePos) override {
    Base::DoMouseWheelUp(shift, mousePos);
    Send(EM_LINESCROLL, 0, -WheelLines(shift));
    return true;
  }

 private:
  LRESULT Send(UINT msg, WPARAM w, LPARAM l) { return SendMessageA(this->GetHandle(), msg, w, l); }
  int WheelLines(TShiftState shift) { return shift.Contains(ssCtrl) ? Mouse().GetWheelScrollLines() : 1; }

  bool tabOnEnter_ = false;
};

class TKxMemo : public TKxLineColEdit<TMemo> {
  DECLARE_CLASS(TKxMemo, TKxLineColEdit<TMemo>)
  using TKxLineColEdit<TMemo>::TKxLineColEdit;
  ~TKxMemo() override { DestroyUnfinished(); }
};

class TKxRichEdit : public TKxLineColEdit<TRichEdit> {
  DECLARE_CLASS(TKxRichEdit, TKxLineColEdit<TRichEdit>)
  using TKxLineColEdit<TRichEdit>::TKxLineColEdit;
  ~TKxRichEdit() override { DestroyUnfinished(); }
  void SelectionChange() override;
  // Disabled, the window keeps its own colours: only WS_DISABLED is set.
  void CMEnabledChanged(TMessage& m) override;
};

class TKxHotKeyEdit : public TKxFramedPlain<THotKey> {
  DECLARE_CLASS(TKxHotKeyEdit, TKxFramedPlain<THotKey>)
  explicit TKxHotKeyEdit(TComponent* owner);
  ~TKxHotKeyEdit() override { DestroyUnfinished(); }
};

// The drop-down button's properties, which the edits that show it publish
// (call where "DropButtonVisible" belongs alphabetically; the flat button
// properties follow among the F's).
template <class T>
void PublishKxDropButtonVisible(TPublisher<T>& p) {
  p.Prop("DropButtonVisible", &T::GetDropButtonVisible, &T::SetDropButtonVisible).Default(false);
}
template <class T>
void PublishKxFlatButtons(TPublisher<T>& p) {
  p.Prop("FlatButtonColor", &T::GetFlatButtonColor, &T::SetFlatButtonColor)
      .Default(clBtnFace)
      .Stored(&T::IsFrameStored)
      .Type(TColorTypeInfo());
  p.Prop("FlatButtons", &T::GetFlatButtons, &T::SetFlatButtons).Default(false);
}

// Start-up: the edits' stored-form classes.
void InitializeKxEdit();
void FinalizeKxEdit();
