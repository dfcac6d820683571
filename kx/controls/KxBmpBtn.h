// KxBmpBtn: TKxBmpButton, a focusable button whose face is one of up to six
// bitmaps, one per look (up, up and focused, disabled, down, stayed down in
// its group, under the mouse), held by TKxButtonBitmaps. It sizes itself to
// its bitmap or stretches or tiles it, shows a caption beside or over it,
// keeps one button of a group down and sets its form's modal result.
#pragma once

#include <string>

#include "classlib/Buttons.h"
#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/Graphics.h"
#include "kx/controls/KxButton.h"

class TKxBmpButton;

// The six bitmaps, each assigned by copy; OnChange fires on any change of a
// bitmap or of TransparentColor.
class TKxButtonBitmaps : public TPersistent {
  DECLARE_CLASS(TKxButtonBitmaps, TPersistent)

  TKxButtonBitmaps();

  TBitmap* GetUp() const { return up_; }
  TBitmap* GetUpAndFocused() const { return upAndFocused_; }
  TBitmap* GetDisabled() const { return disabled_; }
  TBitmap* GetDown() const { return down_; }
  TBitmap* GetStayDown() const { return stayDown_; }
  TBitmap* GetHot() const { return hot_; }
  TColor GetTransparentColor() const { return transparentColor_; }
  TNotifyEvent OnChange;

  // --- introduced virtual operations, in the library's order ------------------------
  virtual void SetUp(TBitmap* value);
  virtual void SetUpAndFocused(TBitmap* value);
  virtual void SetDisabled(TBitmap* value);
  virtual void SetDown(TBitmap* value);
  virtual void SetStayDown(TBitmap* value);
  virtual void SetHot(TBitmap* value);
  virtual void SetTransparentColor(TColor value);

  void AssignTo(TPersistent* dest) override;

 protected:
  void Destroy() override;

 private:
  void Changed(TObject* sender);

  TBitmap* up_ = nullptr;
  TBitmap* upAndFocused_ = nullptr;
  TBitmap* disabled_ = nullptr;
  TBitmap* down_ = nullptr;
  TBitmap* stayDown_ = nullptr;
  TBitmap* hot_ = nullptr;
  TColor transparentColor_ = clOlive;
};

enum TButtonBorder { bbNone, bbSingle, bbButton };
DECLARE_ENUM_TYPE(TButtonBorder);
enum TBtnSize { bszNeither, bszButtonToBitmap, bszStretchToButton, bszTileToButton };
DECLARE_ENUM_TYPE(TBtnSize);

// Where glyph and caption go inside face: glyphSize (0 x 0 for none) and
// textSize laid out along the layout's axis by margin and spacing (-1:
// spread evenly), both centred across it. Returns the glyph's top-left in
// glyphPos and the caption's rectangle in textRect.
void KxBmpButtonLayout(const TRect& face, TSize glyphSize, TSize textSize, TButtonLayout layout, int margin,
                       int spacing, TPoint& glyphPos, TRect& textRect);

class TKxBmpButton : public TCustomControl {
  DECLARE_CLASS(TKxBmpButton, TCustomControl)

  explicit TKxBmpButton(TComponent* owner);

  bool GetAllowAllUp() const { return allowAllUp_; }
  int GetCaptionDownOffset() const { return captionDownOffset_; }
  TModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  int GetGroupIndex() const { return groupIndex_; }
  bool GetDown() const { return down_; }
  TKxButtonBitmaps* GetBitmaps() const { return bitmaps_; }
  void SetBitmaps(TKxButtonBitmaps* value) { bitmaps_->Assign(value); }
  TButtonBorder GetButtonBorder() const { return buttonBorder_; }
  bool GetShowDownPattern() const { return showDownPattern_; }
  bool GetShowFocus() const { return showFocus_; }
  TBtnSize GetButtonSize() const { return buttonSize_; }
  TButtonStyle GetButtonStyle() const { return buttonStyle_; }
  TButtonLayout GetLayout() const { return layout_; }
  int GetMargin() const { return margin_; }
  int GetSpacing() const { return spacing_; }
  TButtonState GetState() const { return state_; }
  bool GetPressed() const { return pressed_; }
  bool GetMouseOver() const { return mouseOver_; }
  // bsNew, or bsAutoDetect on a system with the new look.
  bool NewStyle() const;
  // The border's width: 0, 1, or 2 (new style) or 3 for a button border.
  int BorderWidth() const;
  // The face bitmap for the current look (null: none to draw); a disabled
  // look without its own bitmap is embossed from Up into scratch.
  TBitmap* FaceImage(TBitmap* scratch);
  // Live bitmap buttons and their shared pattern (null while none needs it).
  static int LiveCount();
  static TBitmap* SharedPattern();

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent GetOnMouseEnter() const { return OnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent e) { OnMouseEnter = e; }
  TNotifyEvent GetOnMouseLeave() const { return OnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent e) { OnMouseLeave = e; }

  // --- introduced virtual operations, in the library's order ------------------------
  virtual void SetAllowAllUp(bool value);
  virtual void SetButtonBorder(TButtonBorder value);
  virtual void SetButtonSize(TBtnSize value);
  virtual void SetButtonStyle(TButtonStyle value);
  void SetColor(TColor value) override;
  // Acts only with a GroupIndex; a down button goes up only with AllowAllUp.
  virtual void SetDown(bool value);
  virtual void SetCaptionDownOffset(int value);
  virtual void SetGroupIndex(int value);
  virtual void SetLayout(TButtonLayout value);
  // Values below -1 are ignored.
  virtual void SetMargin(int value);
  virtual void SetShowDownPattern(bool value);
  virtual void SetShowFocus(bool value);
  virtual void SetSpacing(int value);
  virtual void MouseEnter();
  virtual void MouseLeave();

  // Ends a press: a click in a group toggles Down; Click when clicked.
  void ClickButton(bool clicked);
  // Applies ButtonSize bszButtonToBitmap (outside loading) and repaints.
  void SizeToBitmap();

  void Click() override;
  void Paint() override;
  void Loaded() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyUp(WORD& key, TShiftState shift) override;

  void Dispatch(TMessage& m) override;
  void WMSize(TMessage& m) override;
  void WMSetFocus(TMessage& m) override;
  void WMKillFocus(TMessage& m) override;
  void WMLButtonDblClk(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;
  void CMDialogChar(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
  virtual void CMTextChanged(TMessage& m);
  virtual void CMSysColorChange(TMessage& m);
  virtual void CMButtonExtPressed(TMessage& m);

 protected:
  void Destroy() override;

 private:
  void BitmapsChanged(TObject* sender);
  void Broadcast();
  void SetState(TButtonState state);

  bool allowAllUp_ = false;
  int captionDownOffset_ = 1;
  TModalResult modalResult_ = mrNone;
  int groupIndex_ = 0;
  bool down_ = false;
  TKxButtonBitmaps* bitmaps_ = nullptr;
  TButtonBorder buttonBorder_ = bbNone;
  bool showDownPattern_ = true;
  bool showFocus_ = true;
  TBtnSize buttonSize_ = bszButtonToBitmap;
  TButtonStyle buttonStyle_ = bsAutoDetect;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
  TButtonState state_ = bsUp;
  bool focused_ = false;
  bool mouseOver_ = false;
  bool pressed_ = false;
};

void InitializeKxBmpBtn();
void FinalizeKxBmpBtn();
