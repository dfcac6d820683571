// The frame and colour machinery the library's combo boxes and edits share.
//
// TKxFramed<Base> adds to a standard control of the class library: colours
// that follow the state (DisabledColor while disabled, FocusColor while
// focused, else the normal colour the published Color reads and writes), a
// custom frame with its own style, colour and sides that turns to a hot
// style while the control has the focus or the mouse (FrameHotTrack),
// membership of a TKxFrameController, OnMouseEnter/OnMouseLeave, and the
// retired stored names "FrameFlat", "FrameFocusStyle" and "FrameFlatStyle".
//
// How a frame is drawn differs: the combo box paints it over its client
// area, the edits in their non-client area. A family says so by overriding
// RepaintFrame (what a changed setting redraws), SetFrameVisible and
// UpdateFrame; the edits call PaintNCFrame from their WM_NCPAINT.
#pragma once

#include <string>

#include "classlib/Classes.h"
#include "classlib/Controls.h"
#include "classlib/TypInfo.h"
#include "kx/foundation/KxCommon.h"
#include "kx/foundation/KxThemeSrv.h"

template <class Base>
class TKxFramed : public Base {
 public:
  explicit TKxFramed(TComponent* owner) : Base(owner) {
    this->SetControlStyle(this->GetControlStyle() - TControlStyle{csSetCaption});
    auto* canvas = New<TControlCanvas>();
    canvas->SetControl(this);
    frameCanvas_ = canvas;
  }
  ~TKxFramed() override { this->DestroyUnfinished(); }

  // --- colours ------------------------------------------------------------------
  // DisabledColor, FocusColor or the normal colour, by state (not while
  // loading).
  virtual void UpdateColors() {
    if (this->IsLoading()) return;
    updatingColors_ = true;
    try {
      if (!this->GetEnabled()) this->SetColor(disabledColor_);
      else if (focused_) this->SetColor(focusColor_);
      else this->SetColor(normalColor_);
    } catch (...) {
      updatingColors_ = false;
      throw;
    }
    updatingColors_ = false;
  }
  // A colour given from outside becomes the normal colour, and FocusColor
  // follows it while the two were the same.
  void SetColor(TColor value) override {
    if (!updatingColors_) {
      if (focusColor_ == normalColor_) focusColor_ = value;
      normalColor_ = value;
    }
    Base::SetColor(value);
    ColorApplied();
  }
  TColor GetNormalColor() const { return normalColor_; }
  TColor GetDisabledColor() const { return disabledColor_; }
  virtual void SetDisabledColor(TColor value) {
    disabledColor_ = value;
    if (!this->GetEnabled()) UpdateColors();
  }
  TColor GetFocusColor() const { return focusColor_; }
  virtual void SetFocusColor(TColor value) {
    focusColor_ = value;
    if (focused_) UpdateColors();
  }

  // --- frame --------------------------------------------------------------------
  TColor GetFrameColor() const { return frameColor_; }
  virtual void SetFrameColor(TColor value) { ChangeFrame(frameColor_, value); }
  TColor GetFrameHotColor() const { return frameHotColor_; }
  virtual void SetFrameHotColor(TColor value) { ChangeFrame(frameHotColor_, value); }
  TFrameStyle GetFrameHotStyle() const { return frameHotStyle_; }
  virtual void SetFrameHotStyle(TFrameStyle value) { ChangeFrame(frameHotStyle_, value); }
  TSides GetFrameSides() const { return frameSides_; }
  virtual void SetFrameSides(TSides value) { ChangeFrame(frameSides_, value); }
  TFrameStyle GetFrameStyle() const { return frameStyle_; }
  virtual void SetFrameStyle(TFrameStyle value) { ChangeFrame(frameStyle_, value); }
  bool GetFrameHotTrack() const { return frameHotTrack_; }
  // Hot tracking shows the frame, on every side unless a stored form is
  // being read (which sets the sides itself).
  virtual void SetFrameHotTrack(bool value) {
    if (frameHotTrack_ == value) return;
    frameHotTrack_ = value;
    if (value) {
      SetFrameVisible(true);
      if (!this->IsLoading()) frameSides_ = sdAllSides;
    }
    RepaintFrame();
    this->Invalidate();
  }
  bool GetFrameVisible() const { return frameVisible_; }
  virtual void SetFrameVisible(bool value) = 0;
  TFramingPreference GetFramingPreference() const { return framingPreference_; }
  virtual void SetFramingPreference(TFramingPreference value) {
    if (framingPreference_ == value) return;
    framingPreference_ = value;
    if (value == fpCustomFraming) RepaintFrame();
  }
  TKxFrameController* GetFrameController() const { return frameController_; }
  virtual void SetFrameController(TKxFrameController* value) { KxSetFrameController(this, frameController_, value); }
  // The themed look is asked for and themes are on.
  virtual bool UseThemes() { return framingPreference_ == fpXPThemes && ThemeServices().GetThemesEnabled(); }
  // Draws the frame again after a setting changed.
  virtual void RepaintFrame() = 0;
  // Records a hot state (the mouse over the control, or the focus), then
  // redraws and recolours.
  virtual void UpdateFrame(bool isMouse, bool value) = 0;
  bool GetMouseOver() const { return mouseOver_; }
  bool GetHasFocus() const { return focused_; }
  // The style and colour the frame shows now: the hot ones while hot
  // tracking and hot.
  bool FrameIsHot() const { return frameHotTrack_ && (mouseOver_ || focused_); }
  TFrameStyle CurrentFrameStyle() const { return FrameIsHot() ? frameHotStyle_ : frameStyle_; }
  TColor CurrentFrameColor() const { return FrameIsHot() ? frameHotColor_ : frameColor_; }

  // --- stored rules ---------------------------------------------------------------
  bool IsColorStored() const { return !frameController_ && this->GetEnabled(); }
  bool IsFocusColorStored() const {
    return !frameController_ && ColorToRGB(focusColor_) != ColorToRGB(normalColor_);
  }
  bool IsFrameStored() const { return !frameController_; }

  // --- events ---------------------------------------------------------------------
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent GetOnMouseEnter() const { return OnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent e) { OnMouseEnter = e; }
  TNotifyEvent GetOnMouseLeave() const { return OnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent e) { OnMouseLeave = e; }
  virtual void MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
  }
  virtual void MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
  }

  // --- messages and life ------------------------------------------------------------
  void CMMouseEnter(TMessage& m) override {
    Base::CMMouseEnter(m);
    UpdateFrame(true, true);
    MouseEnter();
  }
  void CMMouseLeave(TMessage& m) override {
    Base::CMMouseLeave(m);
    UpdateFrame(true, false);
    MouseLeave();
  }
  void CMEnabledChanged(TMessage& m) override {
    Base::CMEnabledChanged(m);
    UpdateColors();
  }
  void Loaded() override {
    Base::Loaded();
    UpdateColors();
    UpdateFrame(false, false);
  }
  void Notification(TComponent* component, TOperation operation) override {
    Base::Notification(component, operation);
    if (operation == opRemove && component == frameController_) frameController_ = nullptr;
  }
  // Older stored forms: "FrameFlat" and "FrameFocusStyle" map onto the hot
  // frame; "FrameFlatStyle" is read and dropped. None is written again.
  void DefineProperties(TFiler* filer) override {
    Base::DefineProperties(filer);
    filer->DefineProperty("FrameFlat", [this](TReader* r) { ReadFrameFlat(r); }, nullptr, false);
    filer->DefineProperty("FrameFocusStyle", [this](TReader* r) { ReadFrameFocusStyle(r); }, nullptr, false);
    filer->DefineProperty("FrameFlatStyle", &TKxOldPropReader::ReadOldEnumProp, nullptr, false);
  }

 protected:
  void Destroy() override {
    if (frameController_) {
      frameController_->RemoveControl(this);
      frameController_ = nullptr;
    }
    Base::Destroy();
    FreeAndNil(frameCanvas_);
  }
  // After Color was applied (the edits repaint their frame).
  virtual void ColorApplied() {}
  template <class T>
  void ChangeFrame(T& field, T value) {
    if (field == value) return;
    field = value;
    RepaintFrame();
  }
  // The frame drawn over the window's non-client area (the edits'
  // WM_NCPAINT, after the system drew its border): true when drawn.
  bool PaintNCFrame() {
    if (!frameVisible_ || UseThemes() || !this->HandleAllocated()) return false;
    HWND h = this->GetWindowHandle();
    HDC dc = GetWindowDC(h);
    try {
      PaintNCFrameOn(dc);
    } catch (...) {
      ReleaseDC(h, dc);
      throw;
    }
    ReleaseDC(h, dc);
    return true;
  }
  // The same frame on dc, whose origin is the window's corner.
  bool PaintNCFrameOn(HDC dc) {
    if (!frameVisible_ || UseThemes()) return false;
    TCanvasPaintScope scope(frameCanvas_, dc);
    DrawFrame(frameCanvas_, this->GetWidth(), this->GetHeight(), CurrentFrameStyle(), this->GetColor(),
              CurrentFrameColor(), frameSides_, false);
    return true;
  }
  TCanvas* FrameCanvas() const { return frameCanvas_; }

  bool frameVisible_ = false;
  bool focused_ = false;
  bool mouseOver_ = false;

 private:
  void ReadFrameFlat(TReader* reader) {
    bool flat = reader->ReadBoolean();
    SetFrameHotTrack(flat);
    if (flat) {
      SetFrameStyle(fsStatus);
      SetFrameHotStyle(fsLowered);
    }
  }
  void ReadFrameFocusStyle(TReader* reader) {
    int value = GetEnumValue(TypeInfo<TFrameStyleEx>(), reader->ReadIdent());
    if (value >= 0 && value <= static_cast<int>(fsLastFrameStyle)) SetFrameHotStyle(static_cast<TFrameStyle>(value));
  }

  TCanvas* frameCanvas_ = nullptr;
  TColor normalColor_ = clWindow;
  TColor disabledColor_ = clBtnFace;
  TColor focusColor_ = clWindow;
  bool updatingColors_ = false;
  TColor frameColor_ = clBtnShadow;
  TColor frameHotColor_ = clBtnShadow;
  bool frameHotTrack_ = false;
  TFrameStyle frameHotStyle_ = fsFlatBold;
  TSides frameSides_ = sdAllSides;
  TFrameStyle frameStyle_ = fsFlat;
  TFramingPreference framingPreference_ = fpXPThemes;
  TKxFrameController* frameController_ = nullptr;
};

// A flat drop-down button while hot: a one-pixel bevel on the button face
// colour (reversed while down), a coloured border on any other colour, the
// inside filled and the arrow drawn.
inline void DrawHotFlatButton(TCanvas* canvas, const TRect& r, TColor color, bool down, bool enabled) {
  canvas->GetBrush()->SetColor(color);
  TRect inside = color == clBtnFace
                     ? DrawBevel(canvas, r, down ? clBtnShadow : clBtnHighlight, down ? clBtnHighlight : clBtnShadow,
                                 1, sdAllSides)
                     : DrawColorBorder(canvas, r, color, down ? fsStatus : fsPopup);
  canvas->GetBrush()->SetColor(color);
  canvas->FillRect(inside);
  DrawDropDownArrow(canvas, r, uiWindows95, down, enabled);
}

// The frame and colour properties every framed combo box and edit
// publishes, in the stored forms' order among the others (call where
// "Color" belongs; the frame names follow "DisabledColor" alphabetically).
template <class T>
void PublishKxColor(TPublisher<T>& p) {
  p.Prop("Color", &T::GetNormalColor, &T::SetColor).Default(clWindow).Stored(&T::IsColorStored).Type(TColorTypeInfo());
}
template <class T>
void PublishKxDisabledColor(TPublisher<T>& p) {
  p.Prop("DisabledColor", &T::GetDisabledColor, &T::SetDisabledColor)
      .Default(clBtnFace)
      .Stored(&T::IsFrameStored)
      .Type(TColorTypeInfo());
}
template <class T>
void PublishKxFocusColor(TPublisher<T>& p) {
  p.Prop("FocusColor", &T::GetFocusColor, &T::SetFocusColor)
      .Default(clWindow)
      .Stored(&T::IsFocusColorStored)
      .Type(TColorTypeInfo());
}
template <class T>
void PublishKxFrameProps(TPublisher<T>& p) {
  p.Prop("FrameColor", &T::GetFrameColor, &T::SetFrameColor)
      .Default(clBtnShadow)
      .Stored(&T::IsFrameStored)
      .Type(TColorTypeInfo());
  p.Prop("FrameController", &T::GetFrameController, &T::SetFrameController);
  p.Prop("FrameHotColor", &T::GetFrameHotColor, &T::SetFrameHotColor)
      .Default(clBtnShadow)
      .Stored(&T::IsFrameStored)
      .Type(TColorTypeInfo());
  p.Prop("FrameHotTrack", &T::GetFrameHotTrack, &T::SetFrameHotTrack).Default(false).Stored(&T::IsFrameStored);
  p.Prop("FrameHotStyle", &T::GetFrameHotStyle, &T::SetFrameHotStyle)
      .Default(fsFlatBold)
      .Stored(&T::IsFrameStored)
      .Type(TFrameStyleTypeInfo());
  p.Prop("FrameSides", &T::GetFrameSides, &T::SetFrameSides).Default(sdAllSides).Stored(&T::IsFrameStored);
  p.Prop("FrameStyle", &T::GetFrameStyle, &T::SetFrameStyle)
      .Default(fsFlat)
      .Stored(&T::IsFrameStored)
      .Type(TFrameStyleTypeInfo());
  p.Prop("FrameVisible", &T::GetFrameVisible, &T::SetFrameVisible).Default(false).Stored(&T::IsFrameStored);
  p.Prop("FramingPreference", &T::GetFramingPreference, &T::SetFramingPreference).Default(fpXPThemes);
}
template <class T>
void PublishKxMouseEvents(TPublisher<T>& p) {
  p.Prop("OnMouseEnter", &T::GetOnMouseEnter, &T::SetOnMouseEnter);
  p.Prop("OnMouseLeave", &T::GetOnMouseLeave, &T::SetOnMouseLeave);
}
