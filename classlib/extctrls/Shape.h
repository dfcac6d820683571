// TShape: a rectangle, square, rounded rectangle or square, ellipse or
// circle drawn with its own pen and brush.
#pragma once

#include "classlib/Controls.h"

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
DECLARE_ENUM_TYPE(TShapeType);

class TShape : public TGraphicControl {
  DECLARE_CLASS(TShape, TGraphicControl)

  explicit TShape(TComponent* owner);

  TBrush* GetBrush() const { return brush_; }
  void SetBrush(TBrush* v) { brush_->Assign(v); }
  TPen* GetPen() const { return pen_; }
  void SetPen(TPen* v) { pen_->Assign(v); }
  TShapeType GetShape() const { return shape_; }
  void SetShape(TShapeType v);

  // Repaints after a change of the pen or the brush.
  void StyleChanged(TObject* sender);
  void Paint() override;

 protected:
  void Destroy() override;

 private:
  TPen* pen_ = nullptr;
  TBrush* brush_ = nullptr;
  TShapeType shape_ = stRectangle;
};
