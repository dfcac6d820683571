#include "classlib/forms/Frame.h"

#include "classlib/classes/Filer.h"
#include "classlib/forms/Application.h"
#include "classlib/forms/PublishScrolling.h"

IMPLEMENT_CLASS(TCustomFrame)

TCustomFrame::TCustomFrame(TComponent* owner) : TCustomFrame(owner, TFrame::StaticClass()) {}

TCustomFrame::TCustomFrame(TComponent* owner, TClass rootAncestor)
    : TScrollingWinControl(owner), rootAncestor_(rootAncestor) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
}

void TCustomFrame::AfterConstruction() {
  inherited::AfterConstruction();
  if (ClassType() == rootAncestor_ || GetComponentState().Contains(csDesignInstance)) {
    SetBounds(GetLeft(), GetTop(), 320, 240);
    return;
  }
  if (!InitInheritedComponent(this, rootAncestor_))
    throw EResNotFound("Resource " + ClassName() + " not found");
}

void TCustomFrame::CreateParams(TCreateParams& p) {
  inherited::CreateParams(p);
  // A frame shown on its own belongs to the application window.
  if (!GetParent() && Application) p.WndParent = Application->GetHandle();
}

void TCustomFrame::GetChildren(const TGetChildProc& proc, TComponent* root) {
  inherited::GetChildren(proc, root);
  if (root == this) GetOwnedChildren(proc);
}

void TCustomFrame::SetParent(TWinControl* parent) {
  // A window made without a parent belongs to the application window; it
  // is made again as the new parent's child.
  if (!GetParent() && HandleAllocated()) DestroyHandle();
  inherited::SetParent(parent);
}

PUBLISHED(TFrame) { PublishScrollingContainer(p, [](auto&) {}); }
