#include "classlib/forms/ScrollBox.h"

#include "classlib/forms/PublishScrolling.h"

PUBLISHED(TScrollBox) {
  PublishScrollingContainer(p, [](auto& q) {
    q.Prop("BorderStyle", &TScrollBox::GetBorderStyle, &TScrollBox::SetBorderStyle).Default(bsSingle);
  });
}

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
  SetBounds(GetLeft(), GetTop(), 185, 41);
}

void TScrollBox::SetBorderStyle(TBorderStyle v) {
  if (borderStyle_ == v) return;
  borderStyle_ = v;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& p) {
  inherited::CreateParams(p);
  if (borderStyle_ != bsSingle) return;
  if (NewStyleControls && GetCtl3D()) p.ExStyle |= WS_EX_CLIENTEDGE;
  else p.Style |= WS_BORDER;
}

void TScrollBox::CMCtl3DChanged(TMessage& m) {
  // The edge is a creation style.
  if (NewStyleControls && borderStyle_ == bsSingle) RecreateWnd();
  inherited::CMCtl3DChanged(m);
}
