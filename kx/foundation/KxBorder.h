// Bordered, window-less display controls: TKxBorder (an area inside an
// outer frame, a border and an inner frame), TKxLEDDisplay (its caption in
// a simulated dot-matrix LED panel that can scroll) and TKxMeter (a value
// as a bar, a bevelled bar or LED segments, in a rectangle or a trapezoid).
#pragma once

#include <cstdint>
#include <string>

#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Graphics.h"
#include "kx/foundation/KxCommon.h"
#include "kx/foundation/KxGrafx.h"

// The LED dot font: five column bytes, left to right, for a character; bit
// 7 of a byte is the top dot and bit 1 the seventh, bottom one. Characters
// below 32 or above 126 show cell 127, a filled block.
const uint8_t* KxLEDGlyph(char c);

class TKxBorder : public TGraphicControl {
  DECLARE_CLASS(TKxBorder, TGraphicControl)

  explicit TKxBorder(TComponent* owner);

  // The rectangle inside the border: less BorderWidth, then the outer and
  // the inner frame on each side in BorderSides.
  virtual void AdjustClientRect(TRect& rect);
  RECT GetClientRect() override;
  // The colour drawn inside the frames (the LED display's and the meter's
  // BackColor).
  virtual TColor InteriorColor() { return clYellow; }
  void Paint() override;

  int GetBevelWidth() const { return bevelWidth_; }
  virtual void SetBevelWidth(int value);
  TColor GetBorderColor() const { return borderColor_; }
  virtual void SetBorderColor(TColor value);
  TColor GetBorderHighlight() const { return borderHighlight_; }
  virtual void SetBorderHighlight(TColor value);
  TFrameStyleEx GetBorderInner() const { return borderInner_; }
  virtual void SetBorderInner(TFrameStyleEx value);
  TFrameStyleEx GetBorderOuter() const { return borderOuter_; }
  virtual void SetBorderOuter(TFrameStyleEx value);
  TColor GetBorderShadow() const { return borderShadow_; }
  virtual void SetBorderShadow(TColor value);
  TSides GetBorderSides() const { return borderSides_; }
  virtual void SetBorderSides(TSides value);
  int GetBorderWidth() const { return borderWidth_; }
  virtual void SetBorderWidth(int value);
  TColor GetFlatColor() const { return flatColor_; }
  virtual void SetFlatColor(TColor value);
  int GetFlatColorAdjustment() const { return flatColorAdjustment_; }
  virtual void SetFlatColorAdjustment(int value);

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent GetOnMouseEnter() const { return OnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent e) { OnMouseEnter = e; }
  TNotifyEvent GetOnMouseLeave() const { return OnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent e) { OnMouseLeave = e; }
  virtual void MouseEnter();
  virtual void MouseLeave();
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;

 protected:
  // What every setter of these controls does: store a changed value and
  // repaint.
  template <class T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }

 private:
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TColor borderColor_ = clBtnFace;
  TColor borderHighlight_ = clBtnHighlight;
  TColor borderShadow_ = clBtnShadow;
  TFrameStyleEx borderInner_ = fsNone;
  TFrameStyleEx borderOuter_ = fsGroove;
  TSides borderSides_ = sdAllSides;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 30;
};

class TKxLEDDisplay : public TKxBorder {
  DECLARE_CLASS(TKxLEDDisplay, TKxBorder)

  explicit TKxLEDDisplay(TComponent* owner);

  TColor InteriorColor() override { return backColor_; }
  void Paint() override;
  // One character cell: 7 rows of 6 dots, the sixth column always off.
  virtual void DrawCell(TCanvas* canvas, const TRect& rect, char c);

  const std::string& GetCaption() const { return caption_; }
  virtual void SetCaption(const std::string& value);
  TColor GetBackColor() const { return backColor_; }
  virtual void SetBackColor(TColor value);
  TColor GetSegOnColor() const { return segOnColor_; }
  virtual void SetSegOnColor(TColor value);
  TColor GetSegOffColor() const { return segOffColor_; }
  virtual void SetSegOffColor(TColor value);
  TKxScrollType GetScrollType() const { return scrollType_; }
  void SetScrollType(TKxScrollType value);
  bool GetScrolling() const { return scrolling_; }
  virtual void SetScrolling(bool value);
  uint16_t GetScrollDelay() const { return scrollDelay_; }
  void SetScrollDelay(uint16_t value);

  void SetBevelWidth(int value) override;
  void SetBorderInner(TFrameStyleEx value) override;
  void SetBorderOuter(TFrameStyleEx value) override;
  void SetBorderSides(TSides value) override;
  void SetBorderWidth(int value) override;
  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;
  void DefineProperties(TFiler* filer) override;
  void Dispatch(TMessage& m) override;

  // Dot size and gap in pixels, the cell's size, the scroll position and
  // its end (caption width + control width).
  int GetDotSize() const { return dotSize_; }
  int GetDotGap() const { return dotGap_; }
  int GetCellWidth() const { return (dotSize_ + dotGap_) * 6; }
  int GetCellHeight() const { return dotSize_ * 7 + dotGap_ * 6; }
  int GetCurrentStep() const { return currentStep_; }
  int GetStepCount() const { return stepCount_; }
  // The scroll timer: tests fire it through the timer seam.
  TTimer* GetTimer() const { return timer_; }

  TNotifyEvent OnScrollComplete;
  TNotifyEvent GetOnScrollComplete() const { return OnScrollComplete; }
  void SetOnScrollComplete(TNotifyEvent e) { OnScrollComplete = e; }
  virtual void ScrollComplete();

 protected:
  void Destroy() override;

 private:
  void UpdateDotSize();
  void UpdateStepCount();
  void UpdateTimer();
  void TimerExpired(TObject* sender);

  std::string caption_;
  TColor backColor_ = clBlack;
  TColor segOnColor_ = static_cast<TColor>(0x00FF00);
  TColor segOffColor_ = static_cast<TColor>(0x003300);
  TKxScrollType scrollType_ = stRightToLeft;
  bool scrolling_ = false;
  uint16_t scrollDelay_ = 100;
  int dotSize_ = 1;
  int dotGap_ = 0;
  int stepCount_ = 0;
  int currentStep_ = 0;
  TTimer* timer_ = nullptr;
};

enum TKxMeterType { mtNormal, mtBar3D, mtLED };
DECLARE_ENUM_TYPE(TKxMeterType);
enum TKxMeterShape { msRectangular, msTrapezoidal };
DECLARE_ENUM_TYPE(TKxMeterShape);

class TKxMeter : public TKxBorder {
  DECLARE_CLASS(TKxMeter, TKxBorder)

  explicit TKxMeter(TComponent* owner);

  TColor InteriorColor() override { return backColor_; }
  void Paint() override;

  int GetMin() const { return min_; }
  virtual void SetMin(int value);
  int GetMax() const { return max_; }
  virtual void SetMax(int value);
  int GetValue() const { return value_; }
  // Clamped to Min..Max.
  virtual void SetValue(int value);
  void AddValue(int delta) { SetValue(value_ + delta); }
  TColor GetBarColor() const { return barColor_; }
  virtual void SetBarColor(TColor value);
  TColor GetBackColor() const { return backColor_; }
  virtual void SetBackColor(TColor value);
  TKxMeterType GetMeterType() const { return meterType_; }
  virtual void SetMeterType(TKxMeterType value);
  TKxMeterShape GetMeterShape() const { return meterShape_; }
  virtual void SetMeterShape(TKxMeterShape value);
  TTrapDirect GetTrapezoidDir() const { return trapDirect_; }
  virtual void SetTrapDirect(TTrapDirect value);
  TTrapShape GetTrapezoidShape() const { return trapShape_; }
  virtual void SetTrapShape(TTrapShape value);
  int GetTrapezoidMin() const { return trapMin_; }
  virtual void SetTrapMin(int value);
  TDirection GetDirection() const { return direction_; }
  virtual void SetDirection(TDirection value);
  TBitmap* GetBitmap() const { return bitmap_; }
  // Copies the bitmap.
  virtual void SetBitmap(TBitmap* value);
  TBrushStyle GetBrushStyle() const { return brushStyle_; }
  virtual void SetBrush(TBrushStyle value);
  bool GetShowPercent() const { return showPercent_; }
  virtual void SetShowPercent(bool value);
  // (Value - Min) * 100 div (Max - Min); 0 when Min equals Max.
  virtual int GetPercent();
  uint8_t GetSegSpacing() const { return segSpacing_; }
  virtual void SetSegSpacing(uint8_t value);
  TColor GetSegOffColor() const { return segOffColor_; }
  virtual void SetSegOffColor(TColor value);
  // The three segment groups, index 0, 1, 2.
  virtual uint8_t GetSegCount(int index);
  virtual void SetSegCount(int index, uint8_t value);
  virtual TColor GetSegColor(int index);
  virtual void SetSegColor(int index, TColor value);
  // How many segments a value lights: N * (Value - Min) div (Max - Min).
  int LitSegments();

 protected:
  void Destroy() override;

 private:
  void BitmapChanged(TObject* sender);
  // The fraction of the range the value stands at, 0 .. 1.
  double Fraction() const;
  void DrawStandardBar(TCanvas* canvas, TRect area, bool trapezoid, const TTrap& trap);
  void DrawSegmentBar(TCanvas* canvas, TRect area, bool trapezoid, TTrap trap);

  TDirection direction_ = dirRight;
  TBitmap* bitmap_ = nullptr;
  TBrushStyle brushStyle_ = bsSolid;
  int min_ = 0;
  int max_ = 100;
  int value_ = 0;
  TColor backColor_ = clBlack;
  TColor barColor_ = clRed;
  TKxMeterType meterType_ = mtLED;
  TKxMeterShape meterShape_ = msRectangular;
  bool showPercent_ = true;
  uint8_t segSpacing_ = 2;
  TColor segOffColor_ = clBlack;
  uint8_t segCounts_[3] = {5, 3, 2};
  TColor segColors_[3] = {static_cast<TColor>(0x008000), static_cast<TColor>(0x00FFFF),
                          static_cast<TColor>(0x0000FF)};
  TTrapDirect trapDirect_ = tdLargeToSmall;
  int trapMin_ = 6;
  TTrapShape trapShape_ = tsCenter;
  int trapBevel_ = 0;
};

// Start-up: the bordered controls' stored-form classes.
void InitializeKxBorder();
void FinalizeKxBorder();
