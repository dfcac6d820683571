// KxPrgres: the framed progress bar.
//
// A percentage drawn as a solid bar with an optional centred percentage
// (bsTraditional) or as LED segments (bsLED), horizontal or vertical as the
// bar's shape says, framed like the library's panels, in the visual style
// when it is in use, and blending into a themed status bar. Progress is set
// as a percentage or as parts complete out of a total.
#pragma once

#include <cstdint>

#include "classlib/Controls.h"
#include "kx/foundation/KxCommon.h"

using TProgressChangeEvent = TClosure<void(TObject* sender, int percent)>;

class TKxCustomProgressBar : public TGraphicControl {
  DECLARE_CLASS(TKxCustomProgressBar, TGraphicControl)

  explicit TKxCustomProgressBar(TComponent* owner);

  uint16_t GetPercent() const { return percent_; }
  bool GetShowPercent() const { return showPercent_; }
  uint32_t GetPartsComplete() const { return partsComplete_; }
  uint32_t GetTotalParts() const { return totalParts_; }
  TBarStyle GetBarStyle() const { return barStyle_; }
  int GetNumSegments() const { return numSegments_; }
  TOrientation GetOrientation() const { return orientation_; }
  uint8_t GetInteriorOffset() const { return interiorOffset_; }
  TColor GetBackColor() const { return backColor_; }
  TColor GetBarColor() const { return barColor_; }
  TColor GetBorderColor() const { return borderColor_; }
  TFrameStyleEx GetBorderInner() const { return borderInner_; }
  TFrameStyleEx GetBorderOuter() const { return borderOuter_; }
  int GetBevelWidth() const { return bevelWidth_; }
  int GetBorderWidth() const { return borderWidth_; }
  TColor GetFlatColor() const { return flatColor_; }
  int GetFlatColorAdjustment() const { return flatColorAdjustment_; }
  bool GetThemeAware() const { return themeAware_; }
  // The visual style is in use and, on a status bar, that bar is theme-aware.
  bool UseThemes() const;
  // Where the bar is drawn in (0, 0, Width, Height), as Paint finds it.
  TRect BarArea();

  TProgressChangeEvent OnChange;
  TProgressChangeEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TProgressChangeEvent e) { OnChange = e; }

  void IncParts(uint32_t n) { SetPartsComplete(partsComplete_ + n); }
  void IncPartsByOne() { IncParts(1); }

  // --- introduced virtual operations, in the library's order --------------------------
  virtual void SetBackColor(TColor value);
  virtual void SetBarColor(TColor value);
  virtual void SetBarStyle(TBarStyle value);
  virtual void SetBevelWidth(int value);
  virtual void SetBorderColor(TColor value);
  virtual void SetBorderInner(TFrameStyleEx value);
  virtual void SetBorderOuter(TFrameStyleEx value);
  virtual void SetBorderWidth(int value);
  virtual void SetFlatColor(TColor value);
  virtual void SetFlatColorAdjustment(int value);
  virtual void SetInteriorOffset(uint8_t value);
  virtual void SetNumSegments(int value);
  virtual void SetOrientation(TOrientation value);
  virtual void SetPartsComplete(uint32_t value);
  virtual void SetPercent(uint16_t value);
  virtual void SetShowPercent(bool value);
  virtual void SetTotalParts(uint32_t value);
  virtual void SetThemeAware(bool value);
  // Dynamic: fires OnChange with the new Percent.
  virtual void PercentChanged();

  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;
  void Paint() override;
  void CMHitTest(TMessage& m) override;

 private:
  template <class V>
  void Store(V& field, V value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  // Paints into canvas at the control's size; returns the bar area.
  TRect PaintTo(TCanvas* canvas);

  uint16_t percent_ = 0;
  bool showPercent_ = true;
  uint32_t partsComplete_ = 0;
  uint32_t totalParts_ = 0;
  TBarStyle barStyle_ = bsTraditional;
  int numSegments_ = 20;
  TOrientation orientation_ = orHorizontal;
  uint8_t interiorOffset_ = 0;
  TColor backColor_ = clWhite;
  TColor barColor_ = clHighlight;
  TColor borderColor_ = clBtnFace;
  TFrameStyleEx borderInner_ = fsNone;
  TFrameStyleEx borderOuter_ = fsLowered;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 30;
  bool themeAware_ = true;
};

class TKxProgressBar : public TKxCustomProgressBar {
  DECLARE_CLASS(TKxProgressBar, TKxCustomProgressBar)
  using TKxCustomProgressBar::TKxCustomProgressBar;
};

void InitializeKxPrgres();
