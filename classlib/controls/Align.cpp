// Alignment and anchoring of a window control's children, in the platform's
// order: alTop, alBottom, alLeft, alRight, alClient, alCustom, then the
// anchored (alNone) ones.
#include <algorithm>
#include <vector>

#include "classlib/controls/WinControl.h"
#include "classlib/controls/Docking.h"

DEFINE_ENUM_TYPE(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom")
DEFINE_ENUM_TYPE(TAnchorKind, "akLeft", "akTop", "akRight", "akBottom")

TAnchors AnchorAlign(TAlign align) {
  switch (align) {
    case alTop: return {akLeft, akTop, akRight};
    case alBottom: return {akLeft, akRight, akBottom};
    case alLeft: return {akLeft, akTop, akBottom};
    case alRight: return {akRight, akTop, akBottom};
    case alClient: return {akLeft, akTop, akRight, akBottom};
    default: return {akLeft, akTop};
  }
}

void TWinControl::DisableAlign() { ++alignLevel_; }

void TWinControl::EnableAlign() {
  if (--alignLevel_ == 0 && GetControlState().Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* control) {
  if (!handle_ || IsDestroying()) return;
  if (alignLevel_ != 0) {
    SetControlState(GetControlState() + TControlState{csAlignmentNeeded});
    return;
  }
  DisableAlign();
  try {
    RECT rect = GetClientRect();
    AlignControls(control, rect);
  } catch (...) {
    SetControlState(GetControlState() - TControlState{csAlignmentNeeded});
    EnableAlign();
    throw;
  }
  SetControlState(GetControlState() - TControlState{csAlignmentNeeded});
  EnableAlign();
}

void TWinControl::AdjustClientRect(RECT& rect) { rect = GetClientRect(); }

namespace {

bool InsertBefore(TControl* c1, TControl* c2, TAlign align) {
  switch (align) {
    case alTop: return c1->GetTop() < c2->GetTop();
    case alBottom: return c1->GetTop() + c1->GetHeight() >= c2->GetTop() + c2->GetHeight();
    case alLeft: return c1->GetLeft() < c2->GetLeft();
    case alRight: return c1->GetLeft() + c1->GetWidth() >= c2->GetLeft() + c2->GetWidth();
    default: return false;
  }
}

}  // namespace

void TWinControl::AlignControls(TControl* control, RECT& rect) {
  bool work = false;
  for (TControl* c : controls_)
    if (c->GetAlign() != alNone || !(c->GetAnchors() == TAnchors{akLeft, akTop})) work = true;

  // A move the anchor rules made keeps those rules.
  auto moveChild = [](TControl* c, int left, int top, int width, int height) {
    c->anchorMove_ = true;
    try {
      c->SetBounds(left, top, width, height);
    } catch (...) {
      c->anchorMove_ = false;
      throw;
    }
    c->anchorMove_ = false;
  };

  auto position = [&](TControl* c, TAlign align) {
    if (align == alNone || !(c->GetAnchors() == AnchorAlign(align))) {
      if (c->originalParentSize_.x != 0 && c->originalParentSize_.y != 0) {
        int newLeft = c->GetLeft(), newTop = c->GetTop();
        int newWidth = c->GetWidth(), newHeight = c->GetHeight();
        POINT parentSize;
        if (HandleAllocated()) {
          RECT cr = GetClientRect();
          parentSize = POINT{cr.right, cr.bottom};
        } else {
          parentSize = POINT{GetWidth(), GetHeight()};
        }
        TAnchors a = c->GetAnchors();
        POINT orig = c->originalParentSize_, rules = c->anchorRules_;
        if (a.Contains(akRight)) {
          if (a.Contains(akLeft)) newWidth = parentSize.x - (orig.x - rules.x);
          else newLeft = parentSize.x - (orig.x - rules.x);
        } else if (!a.Contains(akLeft)) {
          newLeft = MulDiv(rules.x, parentSize.x, orig.x) - newWidth / 2;
        }
        if (a.Contains(akBottom)) {
          if (a.Contains(akTop)) newHeight = parentSize.y - (orig.y - rules.y);
          else newTop = parentSize.y - (orig.y - rules.y);
        } else if (!a.Contains(akTop)) {
          newTop = MulDiv(rules.y, parentSize.y, orig.y) - newHeight / 2;
        }
        moveChild(c, newLeft, newTop, newWidth, newHeight);
      }
      if (align == alNone) return;
    }
    int newWidth = rect.right - rect.left;
    if (newWidth < 0 || align == alLeft || align == alRight || align == alCustom) newWidth = c->GetWidth();
    int newHeight = rect.bottom - rect.top;
    if (newHeight < 0 || align == alTop || align == alBottom || align == alCustom) newHeight = c->GetHeight();
    int newLeft = rect.left, newTop = rect.top;
    switch (align) {
      case alTop: rect.top += newHeight; break;
      case alBottom:
        rect.bottom -= newHeight;
        newTop = rect.bottom;
        break;
      case alLeft: rect.left += newWidth; break;
      case alRight:
        rect.right -= newWidth;
        newLeft = rect.right;
        break;
      case alCustom:
        newLeft = c->GetLeft();
        newTop = c->GetTop();
        break;
      default: break;
    }
    moveChild(c, newLeft, newTop, newWidth, newHeight);
    // A control that did not take the size it was given (constraints)
    // gives back or takes the difference.
    if (c->GetWidth() != newWidth || c->GetHeight() != newHeight) {
      switch (align) {
        case alTop: rect.top -= newHeight - c->GetHeight(); break;
        case alBottom: rect.bottom += newHeight - c->GetHeight(); break;
        case alLeft: rect.left -= newWidth - c->GetWidth(); break;
        case alRight: rect.right += newWidth - c->GetWidth(); break;
        case alClient:
          rect.right += newWidth - c->GetWidth();
          rect.bottom += newHeight - c->GetHeight();
          break;
        default: break;
      }
    }
  };

  auto doAlign = [&](TAlign align) {
    std::vector<TControl*> list;
    if (control && control->GetAlign() == align && (align == alNone || control->GetVisible()))
      list.push_back(control);
    for (TControl* c : std::vector<TControl*>(controls_)) {
      if (c->GetAlign() != align || c == control) continue;
      if (align != alNone && !c->GetVisible()) continue;
      size_t j = 0;
      while (j < list.size() && !InsertBefore(c, list[j], align)) ++j;
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
    }
    for (TControl* c : list) position(c, align);
  };

  if (work) {
    AdjustClientRect(rect);
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient, alCustom, alNone}) doAlign(a);
    ControlsAligned();
  }
  // The docked controls in their zones.
  if (dockSite_ && useDockManager_ && dockManager_) dockManager_->ResetBounds(false);
  if (showing_) AdjustSize();
}

void TWinControl::AdjustSize() {
  if (IsLoading() || !handle_) return;
  SetWindowPos(handle_, nullptr, 0, 0, GetWidth(), GetHeight(), SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
  RequestAlign();
}

bool TWinControl::CanAutoSize(int& newWidth, int& newHeight) {
  if (IsLoading() || controls_.empty()) return true;
  // The smallest client area that holds every visible, unaligned child.
  RECT extent{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  bool any = false;
  for (TControl* c : controls_) {
    if (!c->GetVisible()) continue;
    any = true;
    extent.left = std::min<LONG>(extent.left, c->GetLeft());
    extent.top = std::min<LONG>(extent.top, c->GetTop());
    extent.right = std::max<LONG>(extent.right, c->GetLeft() + c->GetWidth());
    extent.bottom = std::max<LONG>(extent.bottom, c->GetTop() + c->GetHeight());
  }
  if (!any) return true;
  RECT client = GetClientRect();
  RECT adjusted = client;
  AdjustClientRect(adjusted);
  int dw = GetWidth() - (adjusted.right - adjusted.left);
  int dh = GetHeight() - (adjusted.bottom - adjusted.top);
  newWidth = extent.right - std::min<LONG>(extent.left, 0) + dw;
  newHeight = extent.bottom - std::min<LONG>(extent.top, 0) + dh;
  return true;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (left == GetLeft() && top == GetTop() && width == GetWidth() && height == GetHeight()) return;
  if (!CheckNewSize(width, height)) return;
  if (handle_ && !IsIconic(handle_)) {
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (handle_) {
      // A minimised window keeps the new bounds for its restoring.
      WINDOWPLACEMENT placement{};
      placement.length = sizeof placement;
      GetWindowPlacement(handle_, &placement);
      placement.rcNormalPosition = GetBoundsRect();
      SetWindowPlacement(handle_, &placement);
    }
  }
  UpdateAnchorRules();
  RequestAlign();
}

RECT TWinControl::GetClientRect() {
  RECT r{};
  ::GetClientRect(GetHandle(), &r);
  return r;
}

POINT TWinControl::GetClientOrigin() {
  POINT p{0, 0};
  ::ClientToScreen(GetHandle(), &p);
  return p;
}

void TWinControl::SetClientSize(POINT size) {
  RECT client = GetClientRect();
  SetBounds(GetLeft(), GetTop(), GetWidth() - client.right + size.x, GetHeight() - client.bottom + size.y);
}

void TWinControl::UpdateAnchorRules() { TControl::UpdateAnchorRules(); }
