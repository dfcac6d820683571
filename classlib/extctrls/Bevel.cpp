#include "classlib/extctrls/Bevel.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"

DEFINE_ENUM_TYPE(TBevelStyle, "bsLowered", "bsRaised")
DEFINE_ENUM_TYPE(TBevelShape, "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine",
                 "bsSpacer")

PUBLISHED(TBevel) {
  PublishControlProps(p, {"Align", "Anchors", "Constraints", "ParentShowHint"});
  p.Prop("Shape", &TBevel::GetShape, &TBevel::SetShape).Default(bsBox);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("Style", &TBevel::GetStyle, &TBevel::SetStyle).Default(bsLowered);
  PublishControlProps(p, {"Visible"});
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(GetControlStyle() + TControlStyle{csReplicatable});
  SetBounds(GetLeft(), GetTop(), 50, 50);
}

void TBevel::SetShape(TBevelShape v) {
  if (shape_ == v) return;
  shape_ = v;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle v) {
  if (style_ == v) return;
  style_ = v;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* canvas = GetCanvas();
  int w = GetWidth();
  int h = GetHeight();
  if (IsDesigning() && shape_ == bsSpacer) {
    canvas->GetPen()->SetStyle(psDot);
    canvas->GetPen()->SetColor(clBlack);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->Rectangle(0, 0, w, h);
    return;
  }
  canvas->GetPen()->SetWidth(1);
  canvas->GetPen()->SetStyle(psSolid);
  // Lowered: shadow first (above, left), highlight second; raised the
  // other way round.
  TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
  // A rectangle's outline: its left and top edges in one colour, its right
  // and bottom edges in the other (the right colour takes both far corners).
  auto bevelRect = [&](TRect r, TColor topLeft, TColor bottomRight) {
    canvas->GetPen()->SetColor(topLeft);
    canvas->Polyline({{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}});
    canvas->GetPen()->SetColor(bottomRight);
    canvas->Polyline({{r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}});
  };
  auto bevelLine = [&](TColor color, int x1, int y1, int x2, int y2) {
    canvas->GetPen()->SetColor(color);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
  };
  switch (shape_) {
    case bsBox:
      bevelRect(Rect(0, 0, w - 1, h - 1), first, second);
      break;
    case bsFrame:
      // Two outlines one pixel apart: the inner one in reversed colours.
      bevelRect(Rect(1, 1, w - 1, h - 1), second, second);
      bevelRect(Rect(0, 0, w - 2, h - 2), first, first);
      break;
    case bsTopLine:
      bevelLine(first, 0, 0, w, 0);
      bevelLine(second, 0, 1, w, 1);
      break;
    case bsBottomLine:
      bevelLine(first, 0, h - 2, w, h - 2);
      bevelLine(second, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      bevelLine(first, 0, 0, 0, h);
      bevelLine(second, 1, 0, 1, h);
      break;
    case bsRightLine:
      bevelLine(first, w - 2, 0, w - 2, h);
      bevelLine(second, w - 1, 0, w - 1, h);
      break;
    case bsSpacer:
      break;
  }
}
