// KxButton: the framed library's buttons.
//
// The windowed family: TKxCustomButton presses with the mouse and the Space
// key, tracks the mouse for a hot look and draws its caption raised,
// recessed or shadowed; TKxButton is the push button (frame styles, the
// form's default and cancel roles, groups that keep one button down, the
// visual style); TKxBitBtn adds a glyph or an image-list image and the
// standard kinds (OK, Cancel ...). On them: TKxMenuButton drops a pop-up
// menu under itself. Toolbar buttons: TKxToolbarButton (a speed button with
// a hot glyph and a caption it can hide), TKxMenuToolbarButton (with a
// drop-down menu) and TKxToolButton (drawn by itself, optionally split into
// a button and a drop-down part, taking its look from a parent toolbar).
// Window-less buttons for inside other controls: TKxControlButton (glyph,
// spin arrow or drop-down arrow, repeating while held) and TKxShapeButton
// (shaped like the opaque part of its bitmap, with bevel rings).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "classlib/ActnList.h"
#include "classlib/Buttons.h"
#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "kx/foundation/KxCommon.h"
#include "kx/foundation/KxThemeSrv.h"

// ---------------------------------------------------------------------------
// The library's private messages of its buttons (numbers shared with the
// other units that send or answer them).

// A TKxBitmapButton of a group went down: WParam the group, LParam the button.
inline constexpr UINT CM_BUTTONEXTPRESSED = 0x2420;
// A TKxButton of a group went down (or changed its group or AllowAllUp).
inline constexpr UINT CM_KXBUTTONPRESSED = 0x2421;
// A tool button asks its parent toolbar for the caption setting, the
// glyph layout and the button size (TKxToolbar answers through the button's
// handlers of the same messages).
inline constexpr UINT CM_TOOLBARSHOWCAPTIONCHANGED = CM_BASE + 1002;
inline constexpr UINT CM_TOOLBARBUTTONLAYOUTCHANGED = CM_BASE + 1003;
inline constexpr UINT CM_TOOLBARBUTTONSIZECHANGED = CM_BASE + 1004;

// The DrawText flag of each horizontal alignment (taLeftJustify,
// taRightJustify, taCenter).
inline constexpr std::array<UINT, 3> KxTextAlignments = {DT_LEFT, DT_RIGHT, DT_CENTER};

// The number of cells of a glyph strip: width div height when the width is
// a whole multiple of a non-zero height and the quotient is below 5, else 1.
int KxGlyphCells(TBitmap* glyph);

// An 8 x 8 checker: back everywhere, fore where column and row have the same
// parity. The caller owns it.
Owned<TBitmap> KxCheckerPattern(TColor back, TColor fore);

// ---------------------------------------------------------------------------
// TKxCustomButton

class TKxCustomButton : public TCustomControl {
  DECLARE_CLASS(TKxCustomButton, TCustomControl)

  explicit TKxCustomButton(TComponent* owner);

  TAlignmentVertical GetAlignmentVertical() const { return alignmentVertical_; }
  TColor GetHotTrackColor() const { return hotTrackColor_; }
  void SetHotTrackColor(TColor value);
  TKxHotTrackColorType GetHotTrackColorType() const { return hotTrackColorType_; }
  void SetHotTrackColorType(TKxHotTrackColorType value);
  TColor GetHighlightColor() const { return highlightColor_; }
  bool GetLightTextStyle() const { return lightTextStyle_; }
  TTextStyle GetTextStyle() const { return textStyle_; }
  TColor GetTextHighlightColor() const { return textHighlightColor_; }
  TColor GetTextShadowColor() const { return textShadowColor_; }
  int GetTextShadowDepth() const { return textShadowDepth_; }
  bool GetHotTrack() const { return hotTrack_; }
  bool GetThemeAware() const { return themeAware_; }
  bool GetTransparent() const { return transparent_; }
  bool GetShowingPressed() const { return showingPressed_; }
  bool GetDragging() const { return dragging_; }
  bool GetMouseOver() const { return mouseOver_; }
  // ThemeAware and the visual style in use: the button draws themed.
  bool DrawsThemed() const;

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent GetOnMouseEnter() const { return OnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent e) { OnMouseEnter = e; }
  TNotifyEvent GetOnMouseLeave() const { return OnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent e) { OnMouseLeave = e; }

  // --- introduced virtual operations, in the library's order ------------------------
  virtual void UpdateDisplay() {}
  virtual void RepaintDisplay() { Repaint(); }
  virtual TRect GetHotTrackRect();
  // The caption in rect: measured for its height, placed by
  // AlignmentVertical, drawn in the text style (embossed when disabled).
  virtual void Draw3DText(TCanvas* canvas, TRect rect, UINT flags);
  // A completed press (mouse released inside, Space released).
  virtual void ChangeState() = 0;
  virtual void SetAlignmentVertical(TAlignmentVertical value);
  virtual void SetHotTrack(bool value);
  virtual void SetHighlightColor(TColor value);
  virtual void SetLightTextStyle(bool value);
  virtual void SetTextStyle(TTextStyle value);
  virtual void SetTextHighlightColor(TColor value);
  virtual void SetTextShadowColor(TColor value);
  virtual void SetTextShadowDepth(int value);
  virtual void SetThemeAware(bool value);
  virtual void SetTransparent(bool value);
  virtual void MouseEnter();
  virtual void MouseLeave();

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

  void Dispatch(TMessage& m) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;
  void WMSetFocus(TMessage& m) override;
  void WMKillFocus(TMessage& m) override;
  void WMEraseBkgnd(TMessage& m) override;
  virtual void CMTextChanged(TMessage& m);

 protected:
  // The pressed look, as the mouse and the Space key set it.
  void SetShowingPressed(bool value) { showingPressed_ = value; }
  void SetDragging(bool value) { dragging_ = value; }
  void SetMouseOver(bool value) { mouseOver_ = value; }
  // Stores a changed value and invalidates.
  template <class V>
  void Store(V& field, V value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }

 private:
  TAlignmentVertical alignmentVertical_ = avCenter;
  TColor hotTrackColor_ = clHighlight;
  TKxHotTrackColorType hotTrackColorType_ = htctComplement;
  TColor highlightColor_ = clHighlight;
  bool lightTextStyle_ = false;
  TTextStyle textStyle_ = tsNormal;
  TColor textHighlightColor_ = clBtnHighlight;
  TColor textShadowColor_ = clBtnShadow;
  int textShadowDepth_ = 2;
  bool showingPressed_ = false;
  bool dragging_ = false;
  bool mouseOver_ = false;
  bool hotTrack_ = false;
  bool themeAware_ = true;
  bool transparent_ = false;
};

// ---------------------------------------------------------------------------
// TKxButton: the push button.

class TKxButton : public TKxCustomButton {
  DECLARE_CLASS(TKxButton, TKxCustomButton)

  explicit TKxButton(TComponent* owner);

  TAlignment GetAlignment() const { return alignment_; }
  bool GetDefault() const { return default_; }
  bool GetCancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  TModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  bool GetAllowAllUp() const { return allowAllUp_; }
  bool GetDown() const { return down_; }
  int GetGroupIndex() const { return groupIndex_; }
  bool GetShowDownPattern() const { return showDownPattern_; }
  bool GetShowFocusRect() const { return showFocusRect_; }
  TButtonState GetState() const { return state_; }
  // The button Enter clicks: Default, or the focused push button.
  bool GetActiveDefault() const { return activeDefault_; }
  bool GetClicking() const { return clicking_; }
  // Down in its group: drawn pressed whatever the mouse does.
  bool PressedInGroup() const { return groupIndex_ != 0 && down_; }

  // --- introduced virtual operations, in the library's order ------------------------
  virtual TRect GetCaptionRect();
  virtual void DrawButtonFace(TCanvas* canvas);
  // The checker the inside of a button down in its group is filled with.
  virtual Owned<TBitmap> CreateBrushPattern();
  virtual void SetAlignment(TAlignment value);
  virtual void SetDefault(bool value);
  virtual void SetAllowAllUp(bool value);
  // Acts only with a GroupIndex; a down button goes up only with AllowAllUp.
  virtual void SetDown(bool value);
  virtual void SetGroupIndex(int value);
  virtual void SetShowDownPattern(bool value);
  virtual void SetShowFocusRect(bool value);

  void ChangeState() override;
  void SetHotTrack(bool value) override;
  void UpdateDisplay() override;
  void Click() override;
  void Paint() override;
  void CreateWnd() override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyUp(WORD& key, TShiftState shift) override;
  void DefineProperties(TFiler* filer) override;

  void Dispatch(TMessage& m) override;
  void CMDialogKey(TMessage& m) override;
  void CMDialogChar(TMessage& m) override;
  void CMFocusChanged(TMessage& m) override;
  virtual void CMKxButtonPressed(TMessage& m);

 protected:
  // Tells the group (the parent's controls) that this button is down, or
  // that its group or AllowAllUp changed.
  void BroadcastPressed();
  // Down without the group rule (a receiver going up).
  void SetDownState(bool value);
  // The hot-tracking look (enabled or disabled); returns the inside.
  TRect PaintHotTrackFrame(TCanvas* canvas, const TRect& client);
  // The standard look; returns the inside.
  TRect PaintStandardFrame(TCanvas* canvas, const TRect& client);
  void PaintThemed(TCanvas* canvas, const TRect& client);
  bool SpacePressed() const { return spacePressed_; }

 private:
  TAlignment alignment_ = taCenter;
  bool default_ = false;
  bool cancel_ = false;
  TModalResult modalResult_ = mrNone;
  bool activeDefault_ = false;
  bool spacePressed_ = false;
  bool allowAllUp_ = false;
  bool down_ = false;
  int groupIndex_ = 0;
  bool showDownPattern_ = true;
  bool showFocusRect_ = true;
  TButtonState state_ = bsUp;
  bool clicking_ = false;
};

// ---------------------------------------------------------------------------
// TKxBitBtn: the push button with a glyph or an image-list image.

// The kind's two-cell glyph (normal, disabled), loaded from the program's
// "KXCOMMON_*" bitmap on first use and kept for the process; null for
// bkCustom.
TBitmap* GetBitBtnGlyph(TBitBtnKind kind);
void InitializeKxButton();
void FinalizeKxButton();

class TKxBitBtn : public TKxButton {
  DECLARE_CLASS(TKxBitBtn, TKxButton)

  explicit TKxBitBtn(TComponent* owner);

  TBitmap* GetGlyph() const { return glyph_; }
  TButtonLayout GetLayout() const { return layout_; }
  int GetMargin() const { return margin_; }
  int GetNumGlyphs() const { return numGlyphs_; }
  int GetSpacing() const { return spacing_; }
  int GetImageIndex() const { return imageIndex_; }
  int GetDisabledIndex() const { return disabledIndex_; }
  TCustomImageList* GetImages() const { return images_; }
  bool GetGlyphSetByUser() const { return glyphSetByUser_; }
  // The stored-form predicates: the kind's own values are not written.
  bool IsCustomKind() const { return const_cast<TKxBitBtn*>(this)->GetKind() == bkCustom; }
  bool IsCaptionStoredForKind() const;
  // Scales Margin and Spacing (MulDiv(value, multiplier, divider)), as a
  // form scaled to another font size asks its controls to.
  void ChangeScale(int multiplier, int divider);

  // --- introduced virtual operations, in the library's order ------------------------
  virtual TSize GetImageSize();
  virtual TRect GetGlyphRect();
  virtual void DrawImage(TCanvas* canvas);
  virtual void DrawGlyph(TCanvas* canvas);
  virtual void SetGlyph(TBitmap* value);
  // A kind other than bkCustom lasts while Default, Cancel and ModalResult
  // keep its values and the glyph is the kind's; then it reads bkCustom.
  virtual TBitBtnKind GetKind();
  virtual void SetKind(TBitBtnKind value);
  virtual void SetLayout(TButtonLayout value);
  // Values below -1 are ignored; -1 centres glyph and caption together.
  virtual void SetMargin(int value);
  virtual void SetNumGlyphs(int value);
  virtual void SetSpacing(int value);
  virtual void SetImageIndex(int value);
  virtual void SetDisabledIndex(int value);
  virtual void SetImages(TCustomImageList* value);

  TRect GetCaptionRect() override;
  void DrawButtonFace(TCanvas* canvas) override;
  void ActionChange(TObject* sender, bool checkDefaults) override;
  void Notification(TComponent* component, TOperation operation) override;
  HPALETTE GetPalette() override { return glyph_->GetPalette(); }

 protected:
  void Destroy() override;
  // Glyph or image to show.
  bool HasImage();
  // The caption's height as Draw3DText measures it in rect.
  int MeasureCaptionHeight(const TRect& rect);

 private:
  void GlyphChanged(TObject* sender);
  void ImageListChange(TObject* sender);

  TBitmap* glyph_ = nullptr;
  TBitBtnKind kind_ = bkCustom;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = 2;
  int numGlyphs_ = 1;
  int spacing_ = 4;
  bool glyphSetByUser_ = false;
  bool settingKindGlyph_ = false;
  int imageIndex_ = -1;
  int disabledIndex_ = -1;
  TCustomImageList* images_ = nullptr;
  TChangeLink* imageChangeLink_ = nullptr;
};
