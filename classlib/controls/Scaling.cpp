// Scaling (ChangeScale, ScaleBy) and mirroring (FlipChildren) through the
// control tree.
#include <vector>

#include "classlib/controls/WinControl.h"

void TControl::ScaleConstraints(int m, int d) {
  for (int i = 0; i < 4; ++i) {
    int v = constraints_->GetConstraint(i);
    if (v > 0) constraints_->SetConstraint(i, MulDiv(v, m, d));
  }
}

void TControl::ChangeScale(int m, int d) {
  if (m == d || d == 0) return;
  int x = MulDiv(left_, m, d);
  int y = MulDiv(top_, m, d);
  int w = controlStyle_.Contains(csFixedWidth) ? width_ : MulDiv(left_ + width_, m, d) - x;
  int h = controlStyle_.Contains(csFixedHeight) ? height_ : MulDiv(top_ + height_, m, d) - y;
  // The limits first, so the new bounds are not held to the old ones.
  ScaleConstraints(m, d);
  SetBounds(x, y, w, h);
  if (!parentFont_) font_->SetSize(MulDiv(font_->GetSize(), m, d));
}

void TWinControl::ScaleControls(int m, int d) {
  for (TControl* c : std::vector<TControl*>(controls_)) c->ChangeScale(m, d);
}

void TWinControl::ChangeScale(int m, int d) {
  if (m == d || d == 0) return;
  DisableAlign();
  try {
    ScaleControls(m, d);
    inherited::ChangeScale(m, d);
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
}

void TWinControl::ScaleBy(int m, int d) {
  if (m == d || d == 0) return;
  DisableAlign();
  try {
    ScaleControls(m, d);
    ScaleConstraints(m, d);
    SetBounds(GetLeft(), GetTop(), MulDiv(GetWidth(), m, d), MulDiv(GetHeight(), m, d));
    if (!GetParentFont()) GetFont()->SetSize(MulDiv(GetFont()->GetSize(), m, d));
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
}

void TWinControl::DoFlipChildren() {
  int width = GetClientWidth();
  for (TControl* c : controls_) {
    TAlign a = c->GetAlign();
    if (a == alLeft) c->SetAlign(alRight);
    else if (a == alRight) c->SetAlign(alLeft);
    TAnchors anchors = c->GetAnchors();
    if (anchors.Contains(akLeft) != anchors.Contains(akRight)) {
      anchors = anchors.Contains(akLeft) ? anchors - TAnchors{akLeft} + TAnchors{akRight}
                                         : anchors - TAnchors{akRight} + TAnchors{akLeft};
      c->SetAnchors(anchors);
    }
    c->SetLeft(width - c->GetLeft() - c->GetWidth());
  }
}

void TWinControl::FlipChildren(bool allLevels) {
  if (controls_.empty()) return;
  DisableAlign();
  try {
    DoFlipChildren();
    if (allLevels)
      for (TControl* c : std::vector<TControl*>(controls_))
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->FlipChildren(true);
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
  Perform(CM_ALLCHILDRENFLIPPED, 0, 0);
}
