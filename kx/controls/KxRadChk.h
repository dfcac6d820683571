// KxRadChk: owner-drawn radio buttons and check boxes.
//
// TKxCustomGlyphButton paints a 13 x 13 state glyph beside its caption,
// from one of four sources: a strip of the user's own glyphs
// (CustomGlyphs), the visual style, the library's built-in bitmaps mapped
// to the button's colours (the hot-tracking look), or the classic
// DrawFrameControl look. TKxRadioButton and TKxCustomCheckBox/TKxCheckBox
// supply the states; TKxCheckedActionLink ties Checked to an action's.
#pragma once

#include <span>
#include <string>

#include "classlib/StdCtrls.h"
#include "kx/controls/KxButton.h"
#include "kx/foundation/KxCommon.h"

using TLeftRight = TAlignment;

class TKxCustomGlyphButton : public TKxCustomButton, public IKxCustomFramingNotification {
  DECLARE_CLASS(TKxCustomGlyphButton, TKxCustomButton)

  explicit TKxCustomGlyphButton(TComponent* owner);

  int GetGlyphWidth() const { return glyphWidth_; }
  int GetGlyphHeight() const { return glyphHeight_; }
  int GetNumStates() const { return numStates_; }
  TBitmap* GetCustomGlyphs() const { return customGlyphs_; }
  bool GetUseCustomGlyphs() const { return useCustomGlyphs_; }
  bool GetTabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool value) { tabOnEnter_ = value; }
  TColor GetFrameColor() const { return frameColor_; }
  TColor GetDisabledColor() const { return disabledColor_; }
  TColor GetTransparentColor() const { return transparentColor_; }
  TColor GetWinMaskColor() const { return winMaskColor_; }
  TKxFrameController* GetFrameController() const { return frameController_; }
  TLeftRight GetAlignment() const { return alignment_; }
  bool IsCheckedStored() const;
  // The glyph's place in the control.
  TRect GlyphRect();
  // The rectangle the caption is drawn in.
  TRect CaptionRect();

  // --- introduced virtual operations, in the library's order ------------------------
  // The colour, moved one unit off a key colour (TransparentColor,
  // WinMaskColor, 0x808080) so that it is never keyed out.
  virtual TColor CheckColor(TColor color);
  // Fills the glyph bitmap (GlyphWidth x GlyphHeight) for the state.
  virtual void SelectGlyph(TBitmap* bitmap) = 0;
  virtual void DrawGlyph(TCanvas* canvas);
  // Copies cell index of source (cells width wide) into bitmap.
  virtual void ExtractGlyph(int index, TBitmap* bitmap, TBitmap* source, int width, int height);
  virtual void SetAlignment(TLeftRight value);
  virtual bool GetChecked() { return false; }
  virtual void SetChecked(bool) {}
  virtual void SetCustomGlyphs(TBitmap* value);
  virtual void SetFrameColor(TColor value);
  virtual void SetFrameController(TKxFrameController* value);
  virtual void SetUseCustomGlyphs(bool value);
  virtual void SetDisabledColor(TColor value);
  virtual void SetTransparentColor(TColor value);
  virtual void SetWinMaskColor(TColor value);

  void Paint() override;
  void UpdateDisplay() override { Repaint(); }
  void RepaintDisplay() override { Repaint(); }
  TRect GetHotTrackRect() override { return GlyphRect(); }
  void SetTransparent(bool value) override;
  void CustomFramingChanged() override;
  void DefineProperties(TFiler* filer) override;
  void Notification(TComponent* component, TOperation operation) override;
  void ActionChange(TObject* sender, bool checkDefaults) override;
  TClass GetActionLinkClass() override;
  TAlignment GetControlsAlignment() const override;
  void KeyPress(char& key) override;

  void WMEraseBkgnd(TMessage& m) override;
  void WMSize(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;
  void CMParentColorChanged(TMessage& m) override;

 protected:
  void Destroy() override;
  void SetNumStates(int value) { numStates_ = value; }
  // The background is taken again at the next paint.
  void RefreshBackground() { refreshBackground_ = true; }
  // The hot-tracking colours: the light and the dark one.
  void HotColors(TColor& light, TColor& dark);
  // A built-in bitmap with its key colours mapped.
  void LoadMapped(TBitmap* bitmap, const char* name, std::span<const TColor> from, std::span<const TColor> to);

 private:
  void CustomGlyphsChanged(TObject* sender);
  void UpdateGlyphSize();

  int glyphWidth_ = 13;
  int glyphHeight_ = 13;
  int numStates_ = 2;
  TBitmap* customGlyphs_ = nullptr;
  bool useCustomGlyphs_ = false;
  bool tabOnEnter_ = false;
  TColor frameColor_ = clBtnShadow;
  TColor disabledColor_ = clBtnFace;
  TColor transparentColor_ = clOlive;
  TColor winMaskColor_ = clLime;
  TKxFrameController* frameController_ = nullptr;
  TBitmap* background_ = nullptr;
  bool refreshBackground_ = true;
  TLeftRight alignment_ = taRightJustify;
};

class TKxRadioButton : public TKxCustomGlyphButton {
  DECLARE_CLASS(TKxRadioButton, TKxCustomGlyphButton)

  explicit TKxRadioButton(TComponent* owner);

  bool GetChecked() override { return checked_; }
  // Checking unchecks every other radio button of the parent and clicks.
  void SetChecked(bool value) override;
  bool GetCheckedValue() const { return checked_; }
  void ChangeState() override;
  void SelectGlyph(TBitmap* bitmap) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

  void CMDialogChar(TMessage& m) override;
  void CMDialogKey(TMessage& m) override;
  void WMSetFocus(TMessage& m) override;
  void WMLButtonDblClk(TMessage& m) override;

 private:
  bool checked_ = false;
  bool usingMouse_ = false;
};

class TKxCustomCheckBox : public TKxCustomGlyphButton {
  DECLARE_CLASS(TKxCustomCheckBox, TKxCustomGlyphButton)

  explicit TKxCustomCheckBox(TComponent* owner);

  TCheckBoxState GetState() const { return state_; }
  bool GetAllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  // Sets the state and repaints without a click.
  void InitState(TCheckBoxState value);

  // --- introduced virtual operation --------------------------------------------------
  // A new state repaints and clicks.
  virtual void SetState(TCheckBoxState value);

  bool GetChecked() override { return state_ == cbChecked; }
  void SetChecked(bool value) override { SetState(value ? cbChecked : cbUnchecked); }
  void ChangeState() override;
  void SelectGlyph(TBitmap* bitmap) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyUp(WORD& key, TShiftState shift) override;
  void DoExit() override;
  void CMDialogChar(TMessage& m) override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  bool keyToggle_ = false;
};

class TKxCheckBox : public TKxCustomCheckBox {
  DECLARE_CLASS(TKxCheckBox, TKxCustomCheckBox)
  using TKxCustomCheckBox::TKxCustomCheckBox;
};

// Checked follows the action while the two agree.
class TKxCheckedActionLink : public TControlActionLink {
  DECLARE_CLASS(TKxCheckedActionLink, TControlActionLink)
  using TControlActionLink::TControlActionLink;

  bool IsCheckedLinked() override;
  void SetChecked(bool v) override;

 protected:
  void AssignClient(TObject* client) override;
  TKxCustomGlyphButton* glyphClient_ = nullptr;
};

void InitializeKxRadChk();
