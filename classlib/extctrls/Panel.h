// TCustomPanel and TPanel: a container that draws bevels round its client
// area and its caption centred in one line.
#pragma once

#include "classlib/Controls.h"
#include "classlib/forms/FormTypes.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
DECLARE_ENUM_TYPE(TBevelCut);
using TPanelBevel = TBevelCut;
using TBevelWidth = int;  // 1 and up
using TBorderWidth = int;  // 0 and up

class TCustomPanel : public TCustomControl {
  DECLARE_CLASS(TCustomPanel, TCustomControl)

  explicit TCustomPanel(TComponent* owner);

  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TPanelBevel GetBevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel v);
  TPanelBevel GetBevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel v);
  TBevelWidth GetBevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(TBevelWidth v);
  // The ring in Color between the outer and the inner bevel.
  TBorderWidth GetBorderWidth() const { return borderWidth_; }
  void SetBorderWidth(TBorderWidth v);
  // bsSingle: a window border (a sunken client edge with Ctl3D).
  TBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  // A size change repaints the whole panel (else only the uncovered bevels).
  bool GetFullRepaint() const { return fullRepaint_; }
  void SetFullRepaint(bool v) { fullRepaint_ = v; }
  // A locked panel is not replaced by an in-place editor's tool bar.
  bool GetLocked() const { return locked_; }
  void SetLocked(bool v) { locked_ = v; }

  TAlignment GetControlsAlignment() const override { return alignment_; }
  void AdjustClientRect(RECT& rect) override;
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

  void Dispatch(TMessage& m) override;
  void WMWindowPosChanged(TMessage& m) override;
  void CMCtl3DChanged(TMessage& m) override;
  virtual void CMTextChanged(TMessage& m);
  virtual void CMBorderChanged(TMessage& m);
  virtual void CMIsToolControl(TMessage& m);

 private:
  TAlignment alignment_ = taCenter;
  TPanelBevel bevelInner_ = bvNone;
  TPanelBevel bevelOuter_ = bvRaised;
  TBevelWidth bevelWidth_ = 1;
  TBorderWidth borderWidth_ = 0;
  TBorderStyle borderStyle_ = bsNone;
  bool fullRepaint_ = true;
  bool locked_ = false;
};

class TPanel : public TCustomPanel {
  DECLARE_CLASS(TPanel, TCustomPanel)
  using TCustomPanel::TCustomPanel;
};
