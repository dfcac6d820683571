// The framed library's spin controls.
//
// TKxRapidFireButton is a speed button that repeats its click while it is
// held, optionally showing a scroll-bar arrow as its glyph. TKxSpinButtons
// pairs two control buttons (up or right, down or left) that repeat their
// clicks and take the focus to the control they serve. TKxSpinEdit is a
// framed edit holding a floating-point value within a range, stepped by
// its spin buttons, the arrow and page keys and the wheel. TKxSpinner draws
// an integer between a minus and a plus button of its own.
//
// Every repeat runs on a TTimer (the timer seam): InitialDelay before the
// first repeat, then Delay between repeats.
#pragma once

#include <cstdint>

#include "classlib/Buttons.h"
#include "classlib/ExtCtrls.h"
#include "classlib/ImgList.h"
#include "kx/controls/KxButton.h"
#include "kx/controls/KxEdit.h"

enum TSpinDirection { sdUpDown, sdLeftRight };
DECLARE_ENUM_TYPE(TSpinDirection);

// (Sender, AllowChange): a step about to change the value.
using TSpinChangingEvent = TClosure<void(TObject* Sender, bool& AllowChange)>;
// (Sender, Button): the button whose step was taken.
enum TSpinButtonType { sbUp, sbDown };
using TSpinButtonEvent = TClosure<void(TObject* Sender, TSpinButtonType Button)>;
// (Sender, NewValue, AllowChange).
using TKxSpinnerEvent = TClosure<void(TObject* Sender, int NewValue, bool& AllowChange)>;

// ---------------------------------------------------------------------------
// TKxRapidFireButton

class TKxRapidFireButton : public TSpeedButton {
  DECLARE_CLASS(TKxRapidFireButton, TSpeedButton)

  explicit TKxRapidFireButton(TComponent* owner);

  uint16_t GetInitialDelay() const { return initialDelay_; }
  void SetInitialDelay(uint16_t value) { initialDelay_ = value; }
  uint16_t GetDelay() const { return delay_; }
  void SetDelay(uint16_t value) { delay_ = value; }
  TKxScrollStyle GetScrollStyle() const { return scrollStyle_; }
  // The glyph becomes the scroll bar's arrow of that direction (none for
  // scsNone).
  void SetScrollStyle(TKxScrollStyle value);
  // Repeating (on at creation) and the focus rectangle (off).
  bool GetRepeating() const { return repeating_; }
  void SetRepeating(bool value) { repeating_ = value; }
  bool GetShowFocusRect() const { return showFocusRect_; }
  void SetShowFocusRect(bool value);
  // The repeat timer (null before the first press).
  TTimer* GetRepeatTimer() const { return repeatTimer_; }

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Paint() override;

 private:
  void TimerExpired(TObject* sender);
  void BuildArrowGlyph();

  uint16_t initialDelay_ = 400;
  uint16_t delay_ = 100;
  TKxScrollStyle scrollStyle_ = scsNone;
  bool repeating_ = true;
  bool showFocusRect_ = false;
  TTimer* repeatTimer_ = nullptr;
};

// ---------------------------------------------------------------------------
// TKxSpinButtons

class TKxSpinButtons : public TWinControl {
  DECLARE_CLASS(TKxSpinButtons, TWinControl)

  explicit TKxSpinButtons(TComponent* owner);

  void SetColor(TColor value) override;
  TSpinDirection GetDirection() const { return direction_; }
  void SetDirection(TSpinDirection value);
  bool GetFlat() const { return flat_; }
  void SetFlat(bool value);
  TWinControl* GetFocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* value);
  TBitmap* GetGlyphUpRight() const;
  void SetGlyphUpRight(TBitmap* value);
  TBitmap* GetGlyphDownLeft() const;
  void SetGlyphDownLeft(TBitmap* value);
  int GetNumGlyphsUpRight() const;
  void SetNumGlyphsUpRight(int value);
  int GetNumGlyphsDownLeft() const;
  void SetNumGlyphsDownLeft(int value);
  bool IsUpRightCustom() const { return upRightCustom_; }
  bool IsDownLeftCustom() const { return downLeftCustom_; }
  TOrientation GetOrientation() const { return orientation_; }
  // Turning halves the width (to vertical) or doubles it (to horizontal).
  void SetOrientation(TOrientation value);
  bool GetAllEnabled() const;
  // Enabled of the control and of both buttons.
  void SetAllEnabled(bool value);
  TKxControlButton* GetUpRightButton() const { return upRight_; }
  TKxControlButton* GetDownLeftButton() const { return downLeft_; }

  TNotifyEvent OnUpRightClick;
  TNotifyEvent OnDownLeftClick;
  TNotifyEvent GetOnUpRightClick() const { return OnUpRightClick; }
  void SetOnUpRightClick(TNotifyEvent e) { OnUpRightClick = e; }
  TNotifyEvent GetOnDownLeftClick() const { return OnDownLeftClick; }
  void SetOnDownLeftClick(TNotifyEvent e) { OnDownLeftClick = e; }

  // Lays the two buttons out over the control.
  void AdjustDimensions();
  // Before a press on a button: the focus to FocusControl, or to this
  // control; false when it did not get there (the press is dropped).
  bool TakeFocusForPress();

  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void Notification(TComponent* component, TOperation operation) override;
  void Dispatch(TMessage& m) override;
  void WMSize(TMessage& m) override;

 private:
  void UpRightClicked(TObject* sender);
  void DownLeftClicked(TObject* sender);
  // The arrow of the button's direction in place of a glyph.
  void RestoreArrows();
  void AssignGlyph(TKxControlButton* button, TBitmap* value, bool& custom);
  void GlyphChanged(TKxControlButton* button, bool& custom);

  TKxControlButton* upRight_ = nullptr;
  TKxControlButton* downLeft_ = nullptr;
  TKxControlButton* focusedButton_ = nullptr;
  TSpinDirection direction_ = sdUpDown;
  bool flat_ = false;
  TWinControl* focusControl_ = nullptr;
  bool upRightCustom_ = false;
  bool downLeftCustom_ = false;
  TOrientation orientation_ = orVertical;
};

// ---------------------------------------------------------------------------
// TKxSpinEdit

class TKxSpinEdit : public TKxCustomEdit {
  DECLARE_CLASS(TKxSpinEdit, TKxCustomEdit)

  explicit TKxSpinEdit(TComponent* owner);

  bool GetAllowBlank() const { return allowBlank_; }
  void SetAllowBlank(bool value) { allowBlank_ = value; }
  double GetBlankValue() const { return blankValue_; }
  void SetBlankValue(double value) { blankValue_ = value; }
  bool GetAllowKeyEdit() const { return allowKeyEdit_; }
  void SetAllowKeyEdit(bool value) { allowKeyEdit_ = value; }
  TBitmap* GetButtonUpGlyph() const { return buttons_->GetGlyphUpRight(); }
  void SetButtonUpGlyph(TBitmap* value) { buttons_->SetGlyphUpRight(value); }
  TBitmap* GetButtonDownGlyph() const { return buttons_->GetGlyphDownLeft(); }
  void SetButtonDownGlyph(TBitmap* value) { buttons_->SetGlyphDownLeft(value); }
  int GetButtonUpNumGlyphs() const { return buttons_->GetNumGlyphsUpRight(); }
  void SetButtonUpNumGlyphs(int value) { buttons_->SetNumGlyphsUpRight(value); }
  int GetButtonDownNumGlyphs() const { return buttons_->GetNumGlyphsDownLeft(); }
  void SetButtonDownNumGlyphs(int value) { buttons_->SetNumGlyphsDownLeft(value); }
  bool IsButtonUpCustom() const { return buttons_->IsUpRightCustom(); }
  bool IsButtonDownCustom() const { return buttons_->IsDownLeftCustom(); }
  int GetButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int value);
  bool GetCheckRange() const { return checkRange_; }
  void SetCheckRange(bool value);
  uint8_t GetDecimals() const { return decimals_; }
  void SetDecimals(uint8_t value);
  TSpinDirection GetDirection() const { return buttons_->GetDirection(); }
  void SetDirection(TSpinDirection value) { buttons_->SetDirection(value); }
  double GetIncrement() const { return increment_; }
  void SetIncrement(double value) { increment_ = value; }
  bool GetIntegersOnly() const { return integersOnly_; }
  void SetIntegersOnly(bool value);
  double GetMin() const { return min_; }
  void SetMin(double value);
  double GetMax() const { return max_; }
  void SetMax(double value);
  TOrientation GetOrientation() const { return buttons_->GetOrientation(); }
  void SetOrientation(TOrientation value);
  double GetPageSize() const { return pageSize_; }
  void SetPageSize(double value) { pageSize_ = value; }
  double GetValue();
  void SetValue(double value);
  int GetIntValue();
  TKxSpinButtons* GetButtons() const { return buttons_; }

  bool IsIncrementStored() const { return increment_ != 1; }
  bool IsMinStored() const { return min_ != 0; }
  bool IsMaxStored() const { return max_ != 100; }
  bool IsPageSizeStored() const { return pageSize_ != 10; }

  TSpinChangingEvent OnChanging;
  TSpinButtonEvent OnButtonClick;
  TSpinChangingEvent GetOnChanging() const { return OnChanging; }
  void SetOnChanging(TSpinChangingEvent e) { OnChanging = e; }
  TSpinButtonEvent GetOnButtonClick() const { return OnButtonClick; }
  void SetOnButtonClick(TSpinButtonEvent e) { OnButtonClick = e; }

  // V held in [Min, Max] when the two differ or CheckRange is set.
  double CheckValue(double value);
  // A step of amount up or down (a beep when read-only), asked of
  // OnChanging first; OnButtonClick tells which way.
  void IncValue(double amount);
  void DecValue(double amount);
  bool CanChange();
  bool IsValidChar(char c);
  // The buttons at the right edge (the left for right-to-left), the edit
  // margin beside them.
  void ResizeButtons();
  void SetEditRect();

  TRect GetEditRect() override;
  // The size asked for: an edit's automatic size is its height by its font,
  // never the extent of its buttons child.
  bool CanAutoSize(int& newWidth, int& newHeight) override;
  void SetFlatButtons(bool value) override;
  void SetFrameStyle(TFrameStyle value) override;
  void UpdateFrame(bool isMouse, bool value) override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void DefineProperties(TFiler* filer) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  bool DoMouseWheelDown(TShiftState shift, POINT mousePos) override;
  bool DoMouseWheelUp(TShiftState shift, POINT mousePos) override;
  void CMEnter(TMessage& m) override;
  void CMExit(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  void WMSize(TMessage& m) override;
  void WMPaste(TMessage& m) override;
  void WMCut(TMessage& m) override;

 private:
  void Step(double amount, TSpinButtonType button);
  void UpClicked(TObject* sender);
  void DownClicked(TObject* sender);
  // The value kept again after a setting that limits it.
  void ReapplyValue();

  TKxSpinButtons* buttons_ = nullptr;
  bool allowBlank_ = false;
  double blankValue_ = 0;
  bool allowKeyEdit_ = false;
  int buttonWidth_ = 17;
  bool checkRange_ = false;
  uint8_t decimals_ = 0;
  double increment_ = 1;
  bool integersOnly_ = true;
  double min_ = 0;
  double max_ = 100;
  double pageSize_ = 10;
};

// ---------------------------------------------------------------------------
// TKxSpinner

class TKxSpinner : public TCustomControl {
  DECLARE_CLASS(TKxSpinner, TCustomControl)

  explicit TKxSpinner(TComponent* owner);

  TColor GetButtonColor() const { return buttonColor_; }
  void SetButtonColor(TColor value);
  int GetButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int value);
  bool GetCheckRange() const { return checkRange_; }
  void SetCheckRange(bool value);
  TColor GetFrameColor() const { return frameColor_; }
  void SetFrameColor(TColor value);
  int GetIncrement() const { return increment_; }
  void SetIncrement(int value) { increment_ = value; }
  TCustomImageList* GetImages() const { return images_; }
  void SetImages(TCustomImageList* value);
  int GetImageIndexMinus() const { return imageIndexMinus_; }
  void SetImageIndexMinus(int value);
  int GetImageIndexPlus() const { return imageIndexPlus_; }
  void SetImageIndexPlus(int value);
  int GetMin() const { return min_; }
  void SetMin(int value);
  int GetMax() const { return max_; }
  void SetMax(int value);
  int GetPageSize() const { return pageSize_; }
  void SetPageSize(int value) { pageSize_ = value; }
  bool GetTabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool value) { tabOnEnter_ = value; }
  int GetValue() const { return value_; }
  void SetValue(int value);
  // Kept for stored forms of old; never drawn.
  TBitmap* GetGlyphMinus() const { return glyphMinus_; }
  TBitmap* GetGlyphPlus() const { return glyphPlus_; }
  uint16_t GetInitialDelay() const { return initialDelay_; }
  uint16_t GetDelay() const { return delay_; }
  bool GetMinusDown() const { return minusDown_; }
  bool GetPlusDown() const { return plusDown_; }
  HCURSOR GetButtonCursor() const { return buttonCursor_; }
  TTimer* GetRepeatTimer() const { return repeatTimer_; }

  TNotifyEvent OnChange;
  TKxSpinnerEvent OnChanging;
  TNotifyEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TNotifyEvent e) { OnChange = e; }
  TKxSpinnerEvent GetOnChanging() const { return OnChanging; }
  void SetOnChanging(TKxSpinnerEvent e) { OnChanging = e; }

  int CheckValue(int value);
  bool CanChange(int value);
  virtual void Change();
  void IncValue(int amount) { SetValue(value_ + amount); }
  void DecValue(int amount) { SetValue(value_ - amount); }
  // The minus button at the left, the plus button at the right, each
  // ButtonWidth wide.
  TRect MinusRect() const { return TRect{0, 0, buttonWidth_, GetHeight()}; }
  TRect PlusRect() const { return TRect{GetWidth() - buttonWidth_, 0, GetWidth(), GetHeight()}; }
  void DrawButton(bool isPlus, bool down, const TRect& r);

  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  bool DoMouseWheelDown(TShiftState shift, POINT mousePos) override;
  bool DoMouseWheelUp(TShiftState shift, POINT mousePos) override;
  void DoEnter() override;
  void DoExit() override;
  void Notification(TComponent* component, TOperation operation) override;
  void DefineProperties(TFiler* filer) override;
  void Dispatch(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;
  void CMDesignHitTest(TMessage& m) override;
  void WMSetCursor(TMessage& m) override;

 protected:
  void Destroy() override;

 private:
  void TimerExpired(TObject* sender);
  void ImagesChanged(TObject* sender);
  // The control grows to hold the images.
  void CheckMinSize();
  // Which button the cursor is over now: +1 plus, -1 minus, 0 neither.
  int ButtonUnderCursor();
  int ButtonAt(POINT p) const;

  TColor buttonColor_ = clBtnFace;
  int buttonWidth_ = 18;
  bool checkRange_ = false;
  TColor frameColor_ = clBtnShadow;
  int increment_ = 1;
  TCustomImageList* images_ = nullptr;
  TChangeLink* imageLink_ = nullptr;
  int imageIndexMinus_ = -1;
  int imageIndexPlus_ = -1;
  int min_ = 0;
  int max_ = 100;
  int pageSize_ = 10;
  bool tabOnEnter_ = false;
  int value_ = 0;
  TBitmap* glyphMinus_ = nullptr;
  TBitmap* glyphPlus_ = nullptr;
  bool minusDown_ = false;
  bool plusDown_ = false;
  TTimer* repeatTimer_ = nullptr;
  uint16_t initialDelay_ = 400;
  uint16_t delay_ = 100;
  HCURSOR buttonCursor_ = nullptr;
  bool ownsCursor_ = false;
};

// Start-up: the spin controls' stored-form classes.
void InitializeKxSpnEdt();
void FinalizeKxSpnEdt();
