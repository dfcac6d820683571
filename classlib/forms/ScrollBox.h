// TScrollBox: a scrolling container placed on a form, with a border.
//
// bsSingle (the default) draws a sunken client edge when the box is Ctl3D
// and a one-pixel window border when it is not; bsNone draws neither.
// Either change re-creates the window, since Windows reads these styles
// only at creation.
#pragma once

#include "classlib/forms/ScrollingWinControl.h"

class TScrollBox : public TScrollingWinControl {
  DECLARE_CLASS(TScrollBox, TScrollingWinControl)

  explicit TScrollBox(TComponent* owner);
  ~TScrollBox() override { DestroyUnfinished(); }

  TBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);

  void CreateParams(TCreateParams& params) override;
  void CMCtl3DChanged(TMessage& m) override;

 private:
  TBorderStyle borderStyle_ = bsSingle;
};
