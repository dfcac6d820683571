// TCustomGroupBox and TGroupBox: a frame with a caption round other
// controls; its accelerator focuses the first of them.
#pragma once

#include "classlib/stdctrls/StdCtrlsTypes.h"

class TCustomGroupBox : public TCustomControl {
  DECLARE_CLASS(TCustomGroupBox, TCustomControl)

  explicit TCustomGroupBox(TComponent* owner);

  // Below the caption's line and inside the frame.
  void AdjustClientRect(RECT& rect) override;
  void Paint() override;
  // The caption's width and its drawing with DrawText flags: the one place
  // the caption's characters are measured and drawn, which a wide
  // descendant overrides.
  virtual int CaptionTextWidth(TCanvas* canvas);
  virtual void DrawCaptionText(TCanvas* canvas, TRect& rect, UINT flags);

  void Dispatch(TMessage& m) override;
  void CMDialogChar(TMessage& m) override;
  void CMCtl3DChanged(TMessage& m) override;
  virtual void CMTextChanged(TMessage& m);
  void WMSize(TMessage& m) override;
};

class TGroupBox : public TCustomGroupBox {
  DECLARE_CLASS(TGroupBox, TCustomGroupBox)
  using TCustomGroupBox::TCustomGroupBox;
};
