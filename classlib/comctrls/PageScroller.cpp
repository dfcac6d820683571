#include "classlib/comctrls/PageScroller.h"

#include "classlib/stdctrls/StdCtrlsPublish.h"

DEFINE_ENUM_TYPE(TPageScrollerOrientation, "soHorizontal", "soVertical")

PUBLISHED(TPageScroller) {
  PublishControlProps(p, {"Align", "Anchors"});
  p.Prop("AutoScroll", &TPageScroller::GetAutoScroll, &TPageScroller::SetAutoScroll).Default(false);
  p.Prop("ButtonSize", &TPageScroller::GetButtonSize, &TPageScroller::SetButtonSize).Default(12);
  PublishColor(p, clBtnFace);
  PublishControlProps(p, {"Constraints"});
  p.Prop("Control", &TPageScroller::GetControl, &TPageScroller::SetControl);
  PublishControlProps(p, {"DragCursor", "DragKind", "DragMode", "Enabled", "Font"});
  p.Prop("Orientation", &TPageScroller::GetOrientation, &TPageScroller::SetOrientation).Default(soHorizontal);
  PublishControlProps(p, {"ParentColor", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder",
                          "TabStop", "Visible", "OnClick", "OnContextPopup", "OnDragDrop", "OnDragOver",
                          "OnEndDrag", "OnEnter", "OnExit", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize",
                          "OnStartDrag"});
}

TPageScroller::TPageScroller(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csSetCaption});
  SetBounds(GetLeft(), GetTop(), 150, 45);
  SetColor(clBtnFace);
  SetParentColor(false);
}

void TPageScroller::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  CreateSubClass(params, WC_PAGESCROLLERA);
  params.Style |= orientation_ == soHorizontal ? PGS_HORZ : PGS_VERT;
  if (autoScroll_) params.Style |= PGS_AUTOSCROLL;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TPageScroller::CreateWnd() {
  inherited::CreateWnd();
  SendMessageA(GetWindowHandle(), PGM_SETBUTTONSIZE, 0, buttonSize_);
  UpdateChild();
  SendMessageA(GetWindowHandle(), PGM_SETPOS, 0, position_);
}

void TPageScroller::SetControl(TWinControl* v) {
  if (control_ == v) return;
  if (v && v->GetParent() != this) v->SetParent(this);
  control_ = v;
  if (v) v->FreeNotification(this);
  UpdateChild();
}

void TPageScroller::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == control_) {
    control_ = nullptr;
    UpdateChild();
  }
}

void TPageScroller::UpdateChild() {
  if (!HandleAllocated() || IsDestroying()) return;
  HWND child = control_ ? control_->GetHandle() : nullptr;
  SendMessageA(GetWindowHandle(), PGM_SETCHILD, 0, reinterpret_cast<LPARAM>(child));
  SendMessageA(GetWindowHandle(), PGM_RECALCSIZE, 0, 0);
}

void TPageScroller::SetOrientation(TPageScrollerOrientation v) {
  if (orientation_ == v) return;
  orientation_ = v;
  RecreateWnd();
}

void TPageScroller::SetButtonSize(int v) {
  if (buttonSize_ == v) return;
  buttonSize_ = v;
  if (HandleAllocated()) SendMessageA(GetWindowHandle(), PGM_SETBUTTONSIZE, 0, v);
}

void TPageScroller::SetAutoScroll(bool v) {
  if (autoScroll_ == v) return;
  autoScroll_ = v;
  RecreateWnd();
}

int TPageScroller::GetPosition() {
  if (HandleAllocated()) position_ = static_cast<int>(SendMessageA(GetWindowHandle(), PGM_GETPOS, 0, 0));
  return position_;
}

void TPageScroller::SetPosition(int v) {
  position_ = v;
  if (HandleAllocated()) SendMessageA(GetWindowHandle(), PGM_SETPOS, 0, v);
}

void TPageScroller::AlignControls(TControl*, RECT&) {
  // The pager places its child; alignment would fight it.
}

void TPageScroller::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY: CNNotify(m); return;
    default: inherited::Dispatch(m);
  }
}

void TPageScroller::CNNotify(TMessage& m) {
  auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
  m.Result = 0;
  if (!hdr) return;
  if (hdr->code == PGN_CALCSIZE && control_) {
    auto* calc = reinterpret_cast<NMPGCALCSIZE*>(m.LParam);
    if (calc->dwFlag == PGF_CALCWIDTH) calc->iWidth = control_->GetWidth();
    else calc->iHeight = control_->GetHeight();
  }
}
