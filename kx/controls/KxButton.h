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
#include <functional>
#include <string>
#include <utility>

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

// Fills r with a solid brush of color (nothing for an empty rectangle).
void KxFillSolid(TCanvas* canvas, const TRect& r, TColor color);
inline TRect KxInset(TRect r, int d) {
  InflateRect(&r, -d, -d);
  return r;
}

// Sends the control CM_MOUSEENTER when the control under the cursor (disabled
// ones included) is this one, else CM_MOUSELEAVE: a window-less button that
// held the mouse while pressed finds out where it is now.
void KxUpdateTracking(TControl* control);

// Points field at value and keeps the free notification between the two
// (the owner clears field in its Notification). False when unchanged.
template <class T>
bool KxReplaceReference(TComponent* owner, T*& field, T* value) {
  if (field == value) return false;
  if (field) field->RemoveFreeNotification(owner);
  field = value;
  if (field) field->FreeNotification(owner);
  return true;
}

// The same for an image list whose changes link tells the owner.
bool KxReplaceImages(TComponent* owner, TCustomImageList*& field, TCustomImageList* value, TChangeLink* link);

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
  // The control's own scaling, then Margin and Spacing by the same ratio; a
  // centred glyph (Margin -1) stays centred.
  void ChangeScale(int m, int d) override;

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

// ---------------------------------------------------------------------------
// Menu dropping, shared by the buttons that drop a pop-up menu.

// Shows menu under the button's bottom-left corner, right-aligned with the
// button instead when its estimated width (the widest top-level caption in
// the screen's menu font, plus 56) would pass the right edge of the work
// area of the monitor the corner is on. Returns when the menu has closed.
void KxPopupMenuUnder(TControl* button, TPopupMenu* menu);

// The click that closes a dropped menu must not drop it again: a press
// within 100 ms of the menu's closing only ends the capture, and the click
// that follows a drop or a swallowed press is skipped.
class TKxMenuDropGuard {
 public:
  // The shared rule for a left press that would drop the menu: true when
  // drop ran, false when the press was swallowed.
  bool Press(const std::function<void()>& drop);
  // Marks the next click to be skipped.
  void SkipNextClick() { skipClick_ = true; }
  // True once after a drop or a swallowed press (and clears the mark).
  bool TakeSkip() { return std::exchange(skipClick_, false); }
  DWORD GetDropTime() const { return dropTime_; }

 private:
  DWORD dropTime_ = 0;
  // A menu closed at dropTime_ (a tick of 0 is a time like any other).
  bool dropped_ = false;
  bool skipClick_ = false;
};

// ---------------------------------------------------------------------------
// TKxMenuButton: a bit button with an arrow that drops a pop-up menu.

class TKxMenuButton : public TKxBitBtn {
  DECLARE_CLASS(TKxMenuButton, TKxBitBtn)

  explicit TKxMenuButton(TComponent* owner);

  TPopupMenu* GetDropDownMenu() const { return dropDownMenu_; }
  void SetDropDownMenu(TPopupMenu* value);
  bool GetShowArrow() const { return showArrow_; }
  TNotifyEvent OnDropDown;
  TNotifyEvent GetOnDropDown() const { return OnDropDown; }
  void SetOnDropDown(TNotifyEvent e) { OnDropDown = e; }
  const TKxMenuDropGuard& GetDropGuard() const { return guard_; }

  // --- introduced virtual operations ---------------------------------------------------
  virtual void DoDropDown();
  virtual void SetShowArrow(bool value);
  // Fires OnDropDown with the menu as Sender.
  virtual void DropDown();

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void Click() override;
  TRect GetCaptionRect() override;
  TRect GetGlyphRect() override;
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;
  void WMKeyDown(TMessage& m) override;
  void CMDialogKey(TMessage& m) override;

 private:
  TPopupMenu* dropDownMenu_ = nullptr;
  bool showArrow_ = true;
  bool dialogKeyClick_ = false;
  TKxMenuDropGuard guard_;
};

// ---------------------------------------------------------------------------
// TKxToolbarButton: a flat speed button with a hot glyph and a caption it
// can hide.

class TKxToolbarButton : public TSpeedButton {
  DECLARE_CLASS(TKxToolbarButton, TSpeedButton)

  explicit TKxToolbarButton(TComponent* owner);

  TBitmap* GetHotGlyph() const { return hotGlyph_; }
  int GetHotNumGlyphs() const { return hotNumGlyphs_; }
  bool GetUseHotGlyph() const { return useHotGlyph_; }
  void SetUseHotGlyph(bool value) { useHotGlyph_ = value; }
  bool GetIgnoreActionCaption() const { return ignoreActionCaption_; }
  void SetIgnoreActionCaption(bool value) { ignoreActionCaption_ = value; }
  bool GetShowCaption() const { return showCaption_; }
  // The caption kept while ShowCaption is off (stored as "SaveCaption").
  const std::string& GetSavedCaption() const { return savedCaption_; }
  bool GetMouseOver() const { return mouseOver_; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent GetOnMouseEnter() const { return OnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent e) { OnMouseEnter = e; }
  TNotifyEvent GetOnMouseLeave() const { return OnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent e) { OnMouseLeave = e; }

  // --- introduced virtual operations ---------------------------------------------------
  virtual void SetHotNumGlyphs(int value);
  // Copies the bitmap and turns UseHotGlyph on.
  virtual void SetHotGlyph(TBitmap* value);
  // The caption shown (empty while ShowCaption is off).
  virtual std::string GetCaption();
  // While ShowCaption is off the text is kept for when it comes back on.
  virtual void SetCaption(const std::string& value);
  virtual void SetShowCaption(bool value);

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void ActionChange(TObject* sender, bool checkDefaults) override;
  TClass GetActionLinkClass() override;
  void DefineProperties(TFiler* filer) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
  void CMDialogChar(TMessage& m) override;

 protected:
  void Destroy() override;

 private:
  void HotGlyphChanged(TObject* sender);

  TBitmap* hotGlyph_ = nullptr;
  TBitmap* normalGlyph_ = nullptr;
  int hotNumGlyphs_ = 1;
  int savedNumGlyphs_ = 0;
  bool useHotGlyph_ = false;
  bool glyphSwapped_ = false;
  bool ignoreActionCaption_ = false;
  bool showCaption_ = true;
  bool mouseOver_ = false;
  std::string savedCaption_;
};

// Checked follows Down only while the two agree; the caption is not the
// action's while the button ignores it.
class TKxToolbarButtonActionLink : public TSpeedButtonActionLink {
  DECLARE_CLASS(TKxToolbarButtonActionLink, TSpeedButtonActionLink)
  using TSpeedButtonActionLink::TSpeedButtonActionLink;

  bool IsCheckedLinked() override;
  bool IsCaptionLinked() override;
  void SetChecked(bool v) override;
};

// ---------------------------------------------------------------------------
// TKxMenuToolbarButton: a toolbar button with a drop-down menu.

class TKxMenuToolbarButton : public TKxToolbarButton {
  DECLARE_CLASS(TKxMenuToolbarButton, TKxToolbarButton)

  explicit TKxMenuToolbarButton(TComponent* owner);

  TPopupMenu* GetDropDownMenu() const { return dropDownMenu_; }
  void SetDropDownMenu(TPopupMenu* value);
  bool GetShowArrow() const { return showArrow_; }
  void SetShowArrow(bool value);
  TNotifyEvent OnDropDown;
  TNotifyEvent GetOnDropDown() const { return OnDropDown; }
  void SetOnDropDown(TNotifyEvent e) { OnDropDown = e; }

  // --- introduced virtual operations ---------------------------------------------------
  virtual void DoDropDown();
  virtual void DropDown();

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void Click() override;
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TPopupMenu* dropDownMenu_ = nullptr;
  bool showArrow_ = true;
  TKxMenuDropGuard guard_;
};

// ---------------------------------------------------------------------------
// TKxToolButton: a window-less tool button drawn by itself, optionally split
// into a button part and a 14-pixel drop-down part, that takes its caption
// setting, layout and size from a parent TKxToolbar.

enum TKxToolStyle { tsButton, tsDropDown };
DECLARE_ENUM_TYPE(TKxToolStyle);

// The tool button's state: a TButtonState or, while its menu is open, this.
inline constexpr int kToolStateDropDownOpen = bsExclusive + 1;

class TKxToolButton : public TGraphicControl {
  DECLARE_CLASS(TKxToolButton, TGraphicControl)

  explicit TKxToolButton(TComponent* owner);

  bool GetAllowAllUp() const { return allowAllUp_; }
  int GetDisabledIndex() const { return disabledIndex_; }
  int GetDownIndex() const { return downIndex_; }
  int GetHotIndex() const { return hotIndex_; }
  int GetImageIndex() const { return imageIndex_; }
  int GetGroupIndex() const { return groupIndex_; }
  bool GetDown() const { return down_; }
  TPopupMenu* GetDropDownMenu() const { return dropDownMenu_; }
  bool GetFlat() const { return flat_; }
  TCustomImageList* GetImages() const { return images_; }
  TButtonLayout GetLayout() const { return layout_; }
  bool GetShowCaption() const { return showCaption_; }
  bool GetTransparent() const { return transparent_; }
  bool GetUseToolbarButtonLayout() const { return useToolbarButtonLayout_; }
  bool GetUseToolbarButtonSize() const { return useToolbarButtonSize_; }
  bool GetUseToolbarShowCaption() const { return useToolbarShowCaption_; }
  TKxToolStyle GetToolStyle() const { return toolStyle_; }
  // A TButtonState, or kToolStateDropDownOpen.
  int GetState() const { return state_; }
  bool GetMouseOver() const { return mouseOver_; }
  bool GetTreatAsNormal() const { return treatAsNormal_; }
  const TKxMenuDropGuard& GetDropGuard() const { return guard_; }
  // The parent when it is a TKxToolbar (found by class name: the toolbar
  // is a panel of a later unit), else null.
  TWinControl* GetToolbar() const;
  // The list images come from: Images, else the toolbar's.
  TCustomImageList* ImageList() const;
  // The stored-form predicates.
  bool IsWidthStored() const;
  bool IsHeightStored() const;
  bool IsLayoutStored() const { return !useToolbarButtonLayout_; }
  bool IsShowCaptionStored() const { return !useToolbarShowCaption_; }
  bool IsDownStored() const;
  bool IsImageIndexStored() const;

  TNotifyEvent OnDropDown;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent GetOnDropDown() const { return OnDropDown; }
  void SetOnDropDown(TNotifyEvent e) { OnDropDown = e; }
  TNotifyEvent GetOnMouseEnter() const { return OnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent e) { OnMouseEnter = e; }
  TNotifyEvent GetOnMouseLeave() const { return OnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent e) { OnMouseLeave = e; }

  // --- introduced virtual operations, in the library's order ------------------------
  virtual void PickupToolbarStyles();
  virtual TRect DrawBtnBorder(TCanvas* canvas, TRect rect);
  virtual void DrawImage(TCanvas* canvas);
  virtual void DrawArrow(TCanvas* canvas, const TRect& rect);
  virtual void DrawCaption(TCanvas* canvas);
  virtual void DoDropDown();
  virtual TSize GetImageSize();
  virtual TRect GetCaptionRect();
  virtual TRect GetImageRect();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void SetAllowAllUp(bool value);
  // Acts only with a GroupIndex; a down button goes up only with
  // AllowAllUp.
  virtual void SetDown(bool value);
  virtual void SetDropDownMenu(TPopupMenu* value);
  virtual void SetFlat(bool value);
  virtual void SetGroupIndex(int value);
  virtual void SetHotIndex(int value);
  virtual void SetImageIndex(int value);
  virtual void SetDownIndex(int value);
  virtual void SetDisabledIndex(int value);
  virtual void SetImages(TCustomImageList* value);
  virtual void SetUseToolbarButtonLayout(bool value);
  virtual void SetLayout(TButtonLayout value);
  virtual void SetUseToolbarButtonSize(bool value);
  virtual int GetWidth() const { return TControl::GetWidth(); }
  virtual void SetWidth(int value);
  virtual int GetHeight() const { return TControl::GetHeight(); }
  virtual void SetHeight(int value);
  virtual void SetUseToolbarShowCaption(bool value);
  virtual void SetShowCaption(bool value);
  virtual void SetToolStyle(TKxToolStyle value);
  virtual void SetTransparent(bool value);
  // Fires OnDropDown with the menu as Sender.
  virtual void DropDown();

  void AssignTo(TPersistent* dest) override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void SetParent(TWinControl* parent) override;
  void Paint() override;
  void Click() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void ActionChange(TObject* sender, bool checkDefaults) override;
  TClass GetActionLinkClass() override;

  void Dispatch(TMessage& m) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
  virtual void CMDialogChar(TMessage& m);
  virtual void CMButtonPressed(TMessage& m);
  virtual void CMTextChanged(TMessage& m);
  virtual void CMToolbarShowCaptionChanged(TMessage& m);
  virtual void CMToolbarButtonLayoutChanged(TMessage& m);
  virtual void CMToolbarButtonSizeChanged(TMessage& m);

 protected:
  void Destroy() override;
  // Sends itself CM_MOUSEENTER or CM_MOUSELEAVE as the cursor now is
  // (flat or themed buttons, enabled).
  void UpdateTracking();
  bool Themed() const;
  // Split: a drop-down button with an OnClick of its own.
  bool IsSplit() const { return toolStyle_ == tsDropDown && static_cast<bool>(OnClick); }
  // SetDown; false when a release was refused.
  bool TrySetDown(bool value);

 private:
  void ImageListChange(TObject* sender);
  void GrowToImages();
  void SendToolbarMessage(UINT msg);
  void SetStateInvalidate(int state);

  bool allowAllUp_ = false;
  int disabledIndex_ = -1;
  int downIndex_ = -1;
  int hotIndex_ = -1;
  int imageIndex_ = -1;
  int groupIndex_ = 0;
  bool down_ = false;
  TPopupMenu* dropDownMenu_ = nullptr;
  bool flat_ = true;
  TCustomImageList* images_ = nullptr;
  TChangeLink* imageChangeLink_ = nullptr;
  TButtonLayout layout_ = blGlyphLeft;
  bool showCaption_ = false;
  bool transparent_ = true;
  bool useToolbarButtonLayout_ = true;
  bool useToolbarButtonSize_ = true;
  bool useToolbarShowCaption_ = true;
  TKxToolStyle toolStyle_ = tsButton;
  int state_ = bsUp;
  bool dragging_ = false;
  bool mouseOver_ = false;
  bool treatAsNormal_ = true;
  TKxMenuDropGuard guard_;
};

// Checked and ImageIndex follow the action only while both sides agree.
class TKxToolButtonActionLink : public TControlActionLink {
  DECLARE_CLASS(TKxToolButtonActionLink, TControlActionLink)
  using TControlActionLink::TControlActionLink;

  bool IsCheckedLinked() override;
  bool IsImageIndexLinked() override;
  void SetChecked(bool v) override;
  void SetImageIndex(int v) override;

 protected:
  void AssignClient(TObject* client) override;
  TKxToolButton* toolClient_ = nullptr;
};

// ---------------------------------------------------------------------------
// TKxControlButton: a small window-less button for inside other controls: a
// face with a glyph, a spin arrow or a drop-down arrow, repeating its click
// while held.

enum TKxControlButtonStyle { cbsNone, cbsLeft, cbsUp, cbsRight, cbsDown, cbsDropDown };
DECLARE_ENUM_TYPE(TKxControlButtonStyle);

class TKxControlButton : public TGraphicControl {
  DECLARE_CLASS(TKxControlButton, TGraphicControl)

  explicit TKxControlButton(TComponent* owner);

  bool GetFlat() const { return flat_; }
  TBitmap* GetGlyph() const { return glyph_; }
  int GetNumGlyphs() const { return numGlyphs_; }
  uint16_t GetDelay() const { return delay_; }
  void SetDelay(uint16_t value) { delay_ = value; }
  uint16_t GetInitialDelay() const { return initialDelay_; }
  void SetInitialDelay(uint16_t value) { initialDelay_ = value; }
  bool GetRepeatClicks() const { return repeatClicks_; }
  void SetRepeatClicks(bool value) { repeatClicks_ = value; }
  TKxControlButtonStyle GetStyle() const { return style_; }
  bool GetDown() const { return down_; }
  bool GetMouseOver() const { return mouseOver_; }
  // The repeat timer (null before the first press that repeats).
  TTimer* GetRepeatTimer() const { return repeatTimer_; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent GetOnMouseEnter() const { return OnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent e) { OnMouseEnter = e; }
  TNotifyEvent GetOnMouseLeave() const { return OnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent e) { OnMouseLeave = e; }

  // --- introduced virtual operations, in the library's order ------------------------
  // Each draws its face on rect and returns what is left inside it.
  virtual TRect DrawBtnFace(TCanvas* canvas, const TRect& rect);
  virtual TRect DrawSpinButton(TCanvas* canvas, const TRect& rect);
  virtual TRect DrawDropDownButton(TCanvas* canvas, const TRect& rect);
  virtual void DrawGlyph(TCanvas* canvas, const TRect& rect);
  virtual TSize GetImageSize();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void SetFlat(bool value);
  virtual void SetGlyph(TBitmap* value);
  virtual void SetNumGlyphs(int value);
  virtual void SetStyle(TKxControlButtonStyle value);

  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;

 protected:
  void Destroy() override;
  // The active look: down, or under the mouse and enabled, or designing.
  bool Active() const;
  void UpdateTracking();

 private:
  void GlyphChanged(TObject* sender);
  void TimerExpired(TObject* sender);
  // The unthemed face (border and fill); returns the inside.
  TRect DrawClassicFace(TCanvas* canvas, TRect rect);

  bool flat_ = false;
  TBitmap* glyph_ = nullptr;
  int numGlyphs_ = 1;
  uint16_t delay_ = 100;
  uint16_t initialDelay_ = 400;
  bool repeatClicks_ = false;
  TKxControlButtonStyle style_ = cbsNone;
  bool down_ = false;
  bool dragging_ = false;
  bool mouseOver_ = false;
  TTimer* repeatTimer_ = nullptr;
};

// ---------------------------------------------------------------------------
// TKxShapeButton: a button shaped like the opaque part of its bitmap (the
// bitmap's transparent colour is the outside), with raised and pressed images
// built with bevel rings around the shape. Outside the shape it is
// transparent to the mouse.

using TKxBevelWidth = int;  // 0..2
enum TKxCaptionPosition { cpCentered, cpXY };
DECLARE_ENUM_TYPE(TKxCaptionPosition);

// A copy of a palette (the caller owns it); null for none or an empty one.
// Raises EInvalidGraphic "Invalid palette in CopyPalette" when the palette
// cannot be read, "Cannot get palette entries in CopyPalette" when fewer
// entries come back than it holds, and EOutOfResources "Cannot create
// palette in CopyPalette".
HPALETTE KxCopyPalette(HPALETTE palette);

class TKxShapeButton : public TGraphicControl {
  DECLARE_CLASS(TKxShapeButton, TGraphicControl)

  explicit TKxShapeButton(TComponent* owner);

  TColor GetBevelHighlightColor() const { return bevelHighlightColor_; }
  TColor GetBevelShadowColor() const { return bevelShadowColor_; }
  TKxBevelWidth GetBevelWidth() const { return bevelWidth_; }
  TBitmap* GetBitmap() const { return bitmap_; }
  TBitmap* GetBitmapUp() const { return bitmapUp_; }
  TBitmap* GetBitmapDown() const { return bitmapDown_; }
  TBorderStyle GetBorderStyle() const { return borderStyle_; }
  TColor GetBorderColor() const { return borderColor_; }
  bool GetPreciseClick() const { return preciseClick_; }
  void SetPreciseClick(bool value) { preciseClick_ = value; }
  bool GetPreciseShowHint() const { return preciseShowHint_; }
  void SetPreciseShowHint(bool value) { preciseShowHint_ = value; }
  TKxCaptionPosition GetCaptionPosition() const { return captionPosition_; }
  int GetCaptionX() const { return captionX_; }
  int GetCaptionY() const { return captionY_; }
  bool GetAutoSize() const override { return autoSize_; }
  // Up or down.
  TButtonState GetState() const { return state_; }

  // --- introduced virtual operations, in the library's order ------------------------
  virtual void DrawButtonText(TCanvas* canvas);
  virtual TRect GetCaptionRect(TCanvas* canvas);
  virtual void ReadBitmapUpData(TStream* stream);
  virtual void WriteBitmapUpData(TStream* stream);
  virtual void ReadBitmapDownData(TStream* stream);
  virtual void WriteBitmapDownData(TStream* stream);
  virtual void SetBevelHighlightColor(TColor value);
  virtual void SetBevelShadowColor(TColor value);
  // Values above 2 store 2.
  virtual void SetBevelWidth(TKxBevelWidth value);
  virtual void SetBitmap(TBitmap* value);
  virtual void SetBitmapDown(TBitmap* value);
  virtual void SetBitmapUp(TBitmap* value);
  virtual void SetBorderColor(TColor value);
  virtual void SetBorderStyle(TBorderStyle value);
  virtual void SetCaptionPosition(TKxCaptionPosition value);
  virtual void SetCaptionX(int value);
  virtual void SetCaptionY(int value);
  // True where the button takes the mouse: no mask, or an opaque pixel.
  virtual bool PtInMask(int x, int y);
  virtual void SetCaptionXY(int x, int y);

  // The image of the source with its bevel rings for a state (up or down).
  void Create3DBitmap(TBitmap* source, TButtonState state, TBitmap* dest);
  // Builds the raised and pressed images and the hit mask again.
  void GenerateImages();
  // The mask pixel at (x, y): true where the button is hit.
  bool MaskHit(int x, int y) const;

  void DefineProperties(TFiler* filer) override;
  void Loaded() override;
  void SetAutoSize(bool value) override;
  void Invalidate() override;
  void SetBounds(int left, int top, int width, int height) override;
  void Paint() override;
  HPALETTE GetPalette() override { return bitmap_->GetPalette(); }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

  void Dispatch(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  void CMHitTest(TMessage& m) override;
  virtual void CMDialogChar(TMessage& m);
  virtual void CMTextChanged(TMessage& m);
  virtual void CMSysColorChange(TMessage& m);

 protected:
  void Destroy() override;

 private:
  void BitmapChanged(TObject* sender);
  // The hit test of the pointer's place, as the options ask for it.
  bool InsideForPress(int x, int y);
  void RestoreHintAndCursor();

  bool autoSize_ = true;
  TColor bevelHighlightColor_ = clBtnHighlight;
  TColor bevelShadowColor_ = clBtnShadow;
  TKxBevelWidth bevelWidth_ = 2;
  TBitmap* bitmap_ = nullptr;
  TBitmap* bitmapUp_ = nullptr;
  TBitmap* bitmapDown_ = nullptr;
  TBitmap* mask_ = nullptr;
  TBorderStyle borderStyle_ = bsSingle;
  TColor borderColor_ = cl3DDkShadow;
  bool preciseClick_ = true;
  bool preciseShowHint_ = true;
  TKxCaptionPosition captionPosition_ = cpCentered;
  int captionX_ = 0;
  int captionY_ = 0;
  TButtonState state_ = bsUp;
  bool dragging_ = false;
  bool cursorSaved_ = false;
  TCursor savedCursor_ = crDefault;
  bool hintSaved_ = false;
  bool savedShowHint_ = false;
  bool savedParentShowHint_ = true;
};
