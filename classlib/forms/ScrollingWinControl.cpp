#include "classlib/forms/ScrollingWinControl.h"

#include <algorithm>
#include <vector>

DEFINE_ENUM_TYPE(TScrollBarKind, "sbHorizontal", "sbVertical")

// ---------------------------------------------------------------------------
// TControlScrollBar

PUBLISHED(TControlScrollBar) {
  p.Prop("Increment", &TControlScrollBar::GetIncrement, &TControlScrollBar::SetIncrement).Default(8);
  p.Prop("Position", &TControlScrollBar::GetPosition, &TControlScrollBar::SetPosition).Default(0);
  p.Prop("Range", &TControlScrollBar::GetRange, &TControlScrollBar::SetRange)
      .Default(0)
      .Stored(&TControlScrollBar::IsRangeStored);
  p.Prop("Visible", &TControlScrollBar::GetVisible, &TControlScrollBar::SetVisible).Default(true);
}

TControlScrollBar::TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind)
    : control_(control), kind_(kind) {}

void TControlScrollBar::Assign(TPersistent* source) {
  auto* s = dynamic_cast<TControlScrollBar*>(source);
  if (!s) {
    inherited::Assign(source);
    return;
  }
  visible_ = s->visible_;
  range_ = s->range_;
  increment_ = s->increment_;
  control_->UpdateScrollBars();
  SetPosition(s->position_);
}

void TControlScrollBar::SetIncrement(TScrollBarInc v) { increment_ = std::max<TScrollBarInc>(v, 1); }

bool TControlScrollBar::IsRangeStored() const { return !control_->GetAutoScroll(); }

int TControlScrollBar::ControlSize(bool controlSB, bool assumeSB) {
  HWND h = control_->GetHandle();
  LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE);
  int borderAdjust = (style & (WS_BORDER | WS_THICKFRAME)) != 0 ? 1 : 0;
  auto adjustment = [&](LONG_PTR otherBar, int metric) {
    if (controlSB) return 0;
    bool shown = (style & otherBar) != 0;
    if (assumeSB && !shown) return -(GetSystemMetrics(metric) - borderAdjust);
    if (!assumeSB && shown) return GetSystemMetrics(metric) - borderAdjust;
    return 0;
  };
  RECT client = control_->GetClientRect();
  if (kind_ == sbVertical) return client.bottom + adjustment(WS_HSCROLL, SM_CYHSCROLL);
  return client.right + adjustment(WS_VSCROLL, SM_CXVSCROLL);
}

bool TControlScrollBar::IsScrollBarVisible() {
  if (!control_->HandleAllocated()) return false;
  LONG_PTR style = GetWindowLongPtrA(control_->GetWindowHandle(), GWL_STYLE);
  return visible_ && (style & (kind_ == sbVertical ? WS_VSCROLL : WS_HSCROLL)) != 0;
}

void TControlScrollBar::SetPosition(int v) {
  if (control_->GetComponentState().Contains(csReading)) {
    position_ = v;
    return;
  }
  v = std::clamp(v, 0, calcRange_);
  if (v != position_) {
    int old = position_;
    position_ = v;
    if (kind_ == sbHorizontal) control_->ScrollBy(old - v, 0);
    else control_->ScrollBy(0, old - v);
  }
  if (control_->HandleAllocated()) {
    int bar = kind_ == sbHorizontal ? SB_HORZ : SB_VERT;
    if (GetScrollPos(control_->GetWindowHandle(), bar) != position_)
      SetScrollPos(control_->GetWindowHandle(), bar, position_, TRUE);
  }
}

void TControlScrollBar::SetRange(int v) {
  // A range set by hand ends AutoScroll, as on the platform.
  control_->autoScroll_ = false;
  DoSetRange(v);
}

void TControlScrollBar::DoSetRange(int v) {
  range_ = std::max(v, 0);
  control_->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool v) {
  visible_ = v;
  control_->UpdateScrollBars();
}

void TControlScrollBar::Update(bool controlSB, bool assumeSB) {
  int size = ControlSize(controlSB, assumeSB);
  calcRange_ = visible_ ? std::max(range_ - size, 0) : 0;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  si.nMin = 0;
  si.nMax = calcRange_ > 0 ? range_ : 0;
  si.nPage = static_cast<UINT>(size + 1);
  si.nPos = position_;
  si.nTrackPos = position_;
  SetScrollInfo(control_->GetWindowHandle(), kind_ == sbHorizontal ? SB_HORZ : SB_VERT, &si, TRUE);
  SetPosition(position_);
  pageIncrement_ = ControlSize(true, false) * 9 / 10;
}

void TControlScrollBar::ScrollMessage(TMessage& m) {
  TWMScroll s(m);
  switch (s.ScrollCode()) {
    case SB_LINEUP: SetPosition(position_ - increment_); break;
    case SB_LINEDOWN: SetPosition(position_ + increment_); break;
    case SB_PAGEUP: SetPosition(position_ - pageIncrement_); break;
    case SB_PAGEDOWN: SetPosition(position_ + pageIncrement_); break;
    case SB_THUMBPOSITION: {
      // The message's 16-bit position cannot carry a larger range.
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(control_->GetWindowHandle(), kind_ == sbHorizontal ? SB_HORZ : SB_VERT, &si);
      SetPosition(si.nTrackPos);
      break;
    }
    case SB_TOP: SetPosition(0); break;
    case SB_BOTTOM: SetPosition(calcRange_); break;
    default: break;  // SB_THUMBTRACK: no live tracking; SB_ENDSCROLL
  }
}

// ---------------------------------------------------------------------------
// TScrollingWinControl

IMPLEMENT_CLASS(TScrollingWinControl)

TScrollingWinControl::TScrollingWinControl(TComponent* owner) : TWinControl(owner) {
  horzScrollBar_ = New<TControlScrollBar>(this, sbHorizontal);
  vertScrollBar_ = New<TControlScrollBar>(this, sbVertical);
}

void TScrollingWinControl::Destroy() {
  inherited::Destroy();
  FreeAndNil(horzScrollBar_);
  FreeAndNil(vertScrollBar_);
}

void TScrollingWinControl::SetAutoScroll(bool v) {
  if (autoScroll_ == v) return;
  autoScroll_ = v;
  if (v) {
    CalcAutoRange();
  } else {
    horzScrollBar_->SetRange(0);
    vertScrollBar_->SetRange(0);
  }
}

void TScrollingWinControl::DisableAutoRange() { ++autoRangeCount_; }

void TScrollingWinControl::EnableAutoRange() {
  if (autoRangeCount_ > 0 && --autoRangeCount_ == 0) CalcAutoRange();
}

void TScrollingWinControl::CalcAutoRange() {
  if (autoRangeCount_ > 0 || !autoScroll_) return;
  int range = 0, margin = 0;
  if (horzScrollBar_->GetVisible()) {
    for (TControl* c : Controls()) {
      if (!c->GetVisible()) continue;
      TAlign a = c->GetAlign();
      if (a == alLeft || (a == alNone && (c->GetAnchors() * TAnchors{akLeft, akRight}) == TAnchors{akLeft}))
        range = std::max(range, horzScrollBar_->GetPosition() + c->GetLeft() + c->GetWidth());
      else if (a == alRight)
        margin += c->GetWidth();
    }
  }
  horzScrollBar_->DoSetRange(horzScrollBar_->GetVisible() ? range + margin : 0);
  range = margin = 0;
  if (vertScrollBar_->GetVisible()) {
    for (TControl* c : Controls()) {
      if (!c->GetVisible()) continue;
      TAlign a = c->GetAlign();
      if (a == alTop || (a == alNone && (c->GetAnchors() * TAnchors{akTop, akBottom}) == TAnchors{akTop}))
        range = std::max(range, vertScrollBar_->GetPosition() + c->GetTop() + c->GetHeight());
      else if (a == alBottom)
        margin += c->GetHeight();
    }
  }
  vertScrollBar_->DoSetRange(vertScrollBar_->GetVisible() ? range + margin : 0);
}

void TScrollingWinControl::UpdateScrollBars() {
  if (updatingScrollBars_ || !HandleAllocated()) return;
  updatingScrollBars_ = true;
  try {
    // The bar that is needed first is updated last, counting the other.
    if (vertScrollBar_->GetRange() > vertScrollBar_->ControlSize(false, false)) {
      horzScrollBar_->Update(false, true);
      vertScrollBar_->Update(true, false);
    } else if (horzScrollBar_->GetRange() > horzScrollBar_->ControlSize(false, false)) {
      vertScrollBar_->Update(false, true);
      horzScrollBar_->Update(true, false);
    } else {
      vertScrollBar_->Update(false, false);
      horzScrollBar_->Update(true, false);
    }
  } catch (...) {
    updatingScrollBars_ = false;
    throw;
  }
  updatingScrollBars_ = false;
}

void TScrollingWinControl::ScrollBy(int dx, int dy) {
  HWND h = GetWindowHandle();
  bool shown = h && IsWindowVisible(h);
  if (shown) ScrollWindow(h, dx, dy, nullptr, nullptr);
  DisableAlign();
  try {
    for (TControl* c : std::vector<TControl*>(Controls())) {
      auto* w = dynamic_cast<TWinControl*>(c);
      if (!w || !w->HandleAllocated()) {
        c->SetBounds(c->GetLeft() + dx, c->GetTop() + dy, c->GetWidth(), c->GetHeight());
      } else if (!shown) {
        // ScrollWindow moves the child windows only of a shown window.
        SetWindowPos(w->GetWindowHandle(), nullptr, c->GetLeft() + dx, c->GetTop() + dy, c->GetWidth(),
                     c->GetHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
      }
    }
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
  Realign();
}

void TScrollingWinControl::ScrollInView(TControl* control) {
  if (!control || !HandleAllocated()) return;
  RECT r = control->GetClientRect();
  POINT tl = ScreenToClient(control->ClientToScreen(POINT{r.left, r.top}));
  POINT br = ScreenToClient(control->ClientToScreen(POINT{r.right, r.bottom}));
  RECT client = GetClientRect();
  if (tl.x < 0) {
    horzScrollBar_->SetPosition(horzScrollBar_->GetPosition() + tl.x);
  } else if (br.x > client.right) {
    if (br.x - tl.x > client.right) br.x = tl.x + client.right;
    horzScrollBar_->SetPosition(horzScrollBar_->GetPosition() + br.x - client.right);
  }
  if (tl.y < 0) {
    vertScrollBar_->SetPosition(vertScrollBar_->GetPosition() + tl.y);
  } else if (br.y > client.bottom) {
    if (br.y - tl.y > client.bottom) br.y = tl.y + client.bottom;
    vertScrollBar_->SetPosition(vertScrollBar_->GetPosition() + br.y - client.bottom);
  }
}

void TScrollingWinControl::AutoScrollInView(TControl* control) {
  if (control && !control->IsLoading() && !IsLoading()) ScrollInView(control);
}

void TScrollingWinControl::AlignControls(TControl* control, RECT& rect) {
  CalcAutoRange();
  inherited::AlignControls(control, rect);
}

void TScrollingWinControl::AdjustClientRect(RECT& rect) {
  // Children align within the whole scrolled area, not just the visible part.
  RECT client = GetClientRect();
  int w = std::max<int>(horzScrollBar_->GetRange(), client.right);
  int h = std::max<int>(vertScrollBar_->GetRange(), client.bottom);
  int left = -horzScrollBar_->GetPosition(), top = -vertScrollBar_->GetPosition();
  rect = RECT{left, top, left + w, top + h};
}

void TScrollingWinControl::GetOwnedChildren(const TGetChildProc& proc) {
  // A copy: writing a component must not see the list change under it.
  std::vector<TComponent*> owned;
  for (int i = 0; i < GetComponentCount(); ++i) owned.push_back(GetComponent(i));
  for (TComponent* c : owned)
    if (!c->HasParent()) proc(c);
}

void TScrollingWinControl::CreateParams(TCreateParams& p) {
  inherited::CreateParams(p);
  // Scrolling moves the pixels; a size change need not repaint everything.
  p.WindowClass.style &= ~UINT{CS_HREDRAW | CS_VREDRAW};
}

void TScrollingWinControl::CreateWnd() {
  inherited::CreateWnd();
  UpdateScrollBars();
}

void TScrollingWinControl::WMSize(TMessage& m) {
  inherited::WMSize(m);
  UpdateScrollBars();
}

void TScrollingWinControl::WMHScroll(TMessage& m) {
  if (m.LParam == 0) horzScrollBar_->ScrollMessage(m);
  else inherited::WMHScroll(m);
}

void TScrollingWinControl::WMVScroll(TMessage& m) {
  if (m.LParam == 0) vertScrollBar_->ScrollMessage(m);
  else inherited::WMVScroll(m);
}
