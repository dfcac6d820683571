// pkframe: TpkEditFrame, the edit-style frame settings of the skin library's
// panel (and of edit-like owners): which borders are drawn, in which 3-D
// style, while focused and while not, and the colours and text offsets of the
// unfocused state.
#pragma once

#include "classlib/Controls.h"
#include "classlib/Graphics.h"

enum TpkEditFrameEnabled { efLeftBorder, efTopBorder, efRightBorder, efBottomBorder };
DECLARE_ENUM_TYPE(TpkEditFrameEnabled);
using TpkEditFrameEnabledSet = TSet<TpkEditFrameEnabled>;
enum TpkEditFocusStyle { efsFrameBox, efsFrameSunken, efsFrameRaised, efsFrameEtched, efsFrameBump, efsFrameSingle };
DECLARE_ENUM_TYPE(TpkEditFocusStyle);

inline constexpr TpkEditFrameEnabledSet kpkAllBorders{efLeftBorder, efTopBorder, efRightBorder, efBottomBorder};

class TpkEditFrame : public TPersistent {
  DECLARE_CLASS(TpkEditFrame, TPersistent)

  // The frame keeps its owner when it is a windowed control.
  explicit TpkEditFrame(TComponent* owner);

  // From another TpkEditFrame, or an object of a class named "TjnEditFrame"
  // (read by property name): FocusStyle, Enabled and Transparent always, the
  // rest only when the frame is then enabled.
  void Assign(TPersistent* source) override;
  TPersistent* GetOwner() override;
  TWinControl* GetOwnerControl() const { return owner_; }

  // The frame on control's client rectangle (DrawEdge).
  void DrawFrame(TControl* control, TCanvas* canvas, bool focused);
  // Where the text starts inside the frame.
  void GetTextOffsets(bool focused, int& x, int& y) const;
  // Edit owners only: height = text height of the owner's font + the border
  // allowance (+ AutoSizeHeightAdjust when enabled).
  void AdjustHeight();
  // Repaints the owner's area in its parents while they are transparent
  // skin panels or group boxes.
  void InvalidateTransparent();
  // The frame is drawn instead of the owner's own border.
  bool InEffect() const { return enabled_; }
  // The owner's frame repaints (through its parents when transparent).
  void Refresh();

  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool GetTransparent() const { return transparent_; }
  void SetTransparent(bool value);
  int GetAutoSizeHeightAdjust() const { return autoSizeHeightAdjust_; }
  void SetAutoSizeHeightAdjust(int value) { autoSizeHeightAdjust_ = value; }
  TpkEditFrameEnabledSet GetFocusBorders() const { return focusBorders_; }
  void SetFocusBorders(TpkEditFrameEnabledSet value);
  TpkEditFrameEnabledSet GetNonFocusBorders() const { return nonFocusBorders_; }
  void SetNonFocusBorders(TpkEditFrameEnabledSet value);
  TpkEditFocusStyle GetFocusStyle() const { return focusStyle_; }
  void SetFocusStyle(TpkEditFocusStyle value) { focusStyle_ = value; }
  TpkEditFocusStyle GetNonFocusStyle() const { return nonFocusStyle_; }
  void SetNonFocusStyle(TpkEditFocusStyle value);
  int GetNonFocusTextOffsetX() const { return nonFocusTextOffsetX_; }
  void SetNonFocusTextOffsetX(int value) { nonFocusTextOffsetX_ = value; }
  int GetNonFocusTextOffsetY() const { return nonFocusTextOffsetY_; }
  void SetNonFocusTextOffsetY(int value) { nonFocusTextOffsetY_ = value; }
  TColor GetNonFocusTransparentFontColor() const { return nonFocusTransparentFontColor_; }
  void SetNonFocusTransparentFontColor(TColor value) { nonFocusTransparentFontColor_ = value; }
  TColor GetNonFocusColor() const { return nonFocusColor_; }
  void SetNonFocusColor(TColor value) { nonFocusColor_ = value; }
  TColor GetNonFocusFontColor() const { return nonFocusFontColor_; }
  void SetNonFocusFontColor(TColor value) { nonFocusFontColor_ = value; }
  bool GetMouseEnterSameAsFocus() const { return mouseEnterSameAsFocus_; }
  void SetMouseEnterSameAsFocus(bool value) { mouseEnterSameAsFocus_ = value; }

 private:
  bool OwnerIsEdit() const;
  void RepaintEditOwner(bool throughParent);

  TWinControl* owner_ = nullptr;
  bool enabled_ = false;
  bool transparent_ = false;
  int autoSizeHeightAdjust_ = 0;
  TpkEditFrameEnabledSet focusBorders_ = kpkAllBorders;
  TpkEditFrameEnabledSet nonFocusBorders_{efBottomBorder};
  TpkEditFocusStyle focusStyle_ = efsFrameBox;
  TpkEditFocusStyle nonFocusStyle_ = efsFrameBox;
  int nonFocusTextOffsetX_ = 0;
  int nonFocusTextOffsetY_ = 0;
  TColor nonFocusTransparentFontColor_ = clNone;
  TColor nonFocusColor_ = clNone;
  TColor nonFocusFontColor_ = clNone;
  bool mouseEnterSameAsFocus_ = false;
};
