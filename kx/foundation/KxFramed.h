// The frame and colour machinery the library's list boxes, combo boxes and
// edits share.
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
// area, the list boxes and the edits in their non-client area. A family says
// so by overriding RepaintFrame (what a changed setting redraws),
// SetFrameVisible and UpdateFrame; the list boxes and the edits call
// PaintNCFrame from their WM_NCPAINT.
#pragma once

#include <string>

#include "classlib/Classes.h"
#include "classlib/Controls.h"
#include "classlib/Scopes.h"
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
    TFinally updated([this] { updatingColors_ = false; });
    updatingColors_ = true;
    if (!this->GetEnabled()) this->SetColor(settings_.disabledColor);
    else if (FrameFocused()) this->SetColor(settings_.focusColor);
    else this->SetColor(settings_.color);
  }
  // A colour given from outside becomes the normal colour, and FocusColor
  // follows it while the two were the same.
  void SetColor(TColor value) override {
    if (!updatingColors_) {
      if (settings_.focusColor == settings_.color) settings_.focusColor = value;
      settings_.color = value;
    }
    Base::SetColor(value);
    ColorApplied();
  }
  TColor GetNormalColor() const { return settings_.color; }
  TColor GetDisabledColor() const { return settings_.disabledColor; }
  virtual void SetDisabledColor(TColor value) {
    settings_.disabledColor = value;
    if (!this->GetEnabled()) UpdateColors();
  }
  TColor GetFocusColor() const { return settings_.focusColor; }
  virtual void SetFocusColor(TColor value) {
    settings_.focusColor = value;
    if (FrameFocused()) UpdateColors();
  }

  // --- frame --------------------------------------------------------------------
  TColor GetFrameColor() const { return settings_.frameColor; }
  virtual void SetFrameColor(TColor value) { ChangeFrame(settings_.frameColor, value); }
  TColor GetFrameHotColor() const { return settings_.frameHotColor; }
  virtual void SetFrameHotColor(TColor value) { ChangeFrame(settings_.frameHotColor, value); }
  TFrameStyle GetFrameHotStyle() const { return settings_.frameHotStyle; }
  virtual void SetFrameHotStyle(TFrameStyle value) { ChangeFrame(settings_.frameHotStyle, value); }
  TSides GetFrameSides() const { return settings_.frameSides; }
  virtual void SetFrameSides(TSides value) { ChangeFrame(settings_.frameSides, value); }
  TFrameStyle GetFrameStyle() const { return settings_.frameStyle; }
  virtual void SetFrameStyle(TFrameStyle value) { ChangeFrame(settings_.frameStyle, value); }
  bool GetFrameHotTrack() const { return settings_.frameHotTrack; }
  // Hot tracking shows the frame, on every side unless a stored form is
  // being read (which sets the sides itself).
  virtual void SetFrameHotTrack(bool value) {
    if (settings_.frameHotTrack == value) return;
    settings_.frameHotTrack = value;
    if (value) {
      SetFrameVisible(true);
      if (!this->IsLoading()) settings_.frameSides = sdAllSides;
    }
    RepaintFrame();
    this->Invalidate();
  }
  bool GetFrameVisible() const { return frameVisible_; }
  virtual void SetFrameVisible(bool value) = 0;
  TFramingPreference GetFramingPreference() const { return settings_.framingPreference; }
  virtual void SetFramingPreference(TFramingPreference value) {
    if (settings_.framingPreference == value) return;
    settings_.framingPreference = value;
    if (value == fpCustomFraming) RepaintFrame();
  }
  TKxFrameController* GetFrameController() const { return frameController_; }
  virtual void SetFrameController(TKxFrameController* value) { KxSetFrameController(this, frameController_, value); }
  // The themed look is asked for and themes are on.
  virtual bool UseThemes() {
    return settings_.framingPreference == fpXPThemes && ThemeServices().GetThemesEnabled();
  }
  // Draws the frame again after a setting changed.
  virtual void RepaintFrame() = 0;
  // Records a hot state (the mouse over the control, or the focus), then
  // redraws and recolours.
  virtual void UpdateFrame(bool isMouse, bool value) = 0;
  bool GetMouseOver() const { return mouseOver_; }
  bool GetHasFocus() const { return focused_; }
  // The focus the colours and the hot frame follow: what entering and
  // leaving the control recorded.
  virtual bool FrameFocused() const { return focused_; }
  // The style and colour the frame shows now: the hot ones while hot
  // tracking and hot.
  bool FrameIsHot() const { return settings_.frameHotTrack && (mouseOver_ || FrameFocused()); }
  TFrameStyle CurrentFrameStyle() const { return FrameIsHot() ? settings_.frameHotStyle : settings_.frameStyle; }
  TColor CurrentFrameColor() const { return FrameIsHot() ? settings_.frameHotColor : settings_.frameColor; }

  // --- stored rules ---------------------------------------------------------------
  bool IsColorStored() const { return !frameController_ && this->GetEnabled(); }
  bool IsFocusColorStored() const {
    return !frameController_ && ColorToRGB(settings_.focusColor) != ColorToRGB(settings_.color);
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
  void DefineProperties(TFiler* filer) override {
    Base::DefineProperties(filer);
    KxDefineRetiredFrameProperties(filer, this);
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
    TWindowDC dc(this->GetWindowHandle());
    return PaintNCFrameOn(dc.Get());
  }
  // The same frame on dc, whose origin is the window's corner.
  bool PaintNCFrameOn(HDC dc) {
    if (!frameVisible_ || UseThemes()) return false;
    TCanvasPaintScope scope(frameCanvas_, dc);
    DrawFrame(frameCanvas_, this->GetWidth(), this->GetHeight(), CurrentFrameStyle(), FrameSurroundColor(),
              CurrentFrameColor(), settings_.frameSides, false);
    return true;
  }
  // The colour of the ring drawn around the frame (and of its bevels on a
  // colour other than the window's): the control's own.
  virtual TColor FrameSurroundColor() { return this->GetColor(); }
  TCanvas* FrameCanvas() const { return frameCanvas_; }

  bool frameVisible_ = false;
  bool focused_ = false;
  bool mouseOver_ = false;

 private:
  TCanvas* frameCanvas_ = nullptr;
  TKxFrameSettings settings_;
  bool updatingColors_ = false;
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
