#include "classlib/extctrls/Shape.h"

#include <algorithm>
#include "classlib/stdctrls/StdCtrlsPublish.h"

DEFINE_ENUM_TYPE(TShapeType, "stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse",
                 "stCircle")

PUBLISHED(TShape) {
  PublishControlProps(p, {"Align", "Anchors"});
  p.Prop("Brush", &TShape::GetBrush, &TShape::SetBrush);
  PublishControlProps(p, {"DragCursor", "DragKind", "DragMode", "Enabled", "Constraints", "ParentShowHint"});
  p.Prop("Pen", &TShape::GetPen, &TShape::SetPen);
  p.Prop("Shape", &TShape::GetShape, &TShape::SetShape).Default(stRectangle);
  PublishControlProps(p, {"ShowHint", "Visible", "OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock",
                          "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDock",
                          "OnStartDrag"});
}

TShape::TShape(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(GetControlStyle() + TControlStyle{csReplicatable});
  SetBounds(GetLeft(), GetTop(), 65, 65);
  pen_ = New<TPen>();
  pen_->SetOnChange(TNotifyEvent(this, &TShape::StyleChanged));
  brush_ = New<TBrush>();
  brush_->SetOnChange(TNotifyEvent(this, &TShape::StyleChanged));
}

void TShape::Destroy() {
  inherited::Destroy();
  FreeAndNil(pen_);
  FreeAndNil(brush_);
}

void TShape::SetShape(TShapeType v) {
  if (shape_ == v) return;
  shape_ = v;
  Invalidate();
}

void TShape::StyleChanged(TObject*) { Invalidate(); }

void TShape::Paint() {
  TCanvas* canvas = GetCanvas();
  canvas->SetPen(pen_);
  canvas->SetBrush(brush_);
  // The outline's pen is centred on the figure's edge: the figure shrinks
  // by the pen width so that the whole pen stays inside the control.
  int penWidth = std::max(pen_->GetWidth(), 1);
  int x = penWidth / 2;
  int y = x;
  int w = GetWidth() - penWidth + 1;
  int h = GetHeight() - penWidth + 1;
  if (pen_->GetWidth() == 0) {
    --w;
    --h;
  }
  int s = std::min(w, h);
  if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
    x += (w - s) / 2;
    y += (h - s) / 2;
    w = s;
    h = s;
  }
  switch (shape_) {
    case stRectangle:
    case stSquare: canvas->Rectangle(x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: canvas->RoundRect(x, y, x + w, y + h, s / 4, s / 4); break;
    case stEllipse:
    case stCircle: canvas->Ellipse(x, y, x + w, y + h); break;
  }
}
