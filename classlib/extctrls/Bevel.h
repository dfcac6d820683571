// TBevel: a box, frame or line drawn in the button shadow and highlight
// colours, lowered or raised.
#pragma once

#include "classlib/Controls.h"

enum TBevelStyle { bsLowered, bsRaised };
DECLARE_ENUM_TYPE(TBevelStyle);
enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
DECLARE_ENUM_TYPE(TBevelShape);

class TBevel : public TGraphicControl {
  DECLARE_CLASS(TBevel, TGraphicControl)

  explicit TBevel(TComponent* owner);

  TBevelShape GetShape() const { return shape_; }
  void SetShape(TBevelShape v);
  TBevelStyle GetStyle() const { return style_; }
  void SetStyle(TBevelStyle v);

  void Paint() override;

 private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};
