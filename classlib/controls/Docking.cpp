#include "classlib/controls/Docking.h"

#include <algorithm>

#include "classlib/controls/CustomControl.h"

DEFINE_ENUM_TYPE(TDockOrientation, "doNoOrient", "doHorizontal", "doVertical")

TClass DefaultFloatingDockSiteClass = nullptr;

std::vector<TWinControl*>& DockSites() {
  static std::vector<TWinControl*> sites;
  return sites;
}

namespace {

// The drag in progress, for a site that goes while it is the target.
TDragDockObject* CurrentDockObject = nullptr;

bool IsSelfOrChild(TControl* c, TControl* of) {
  for (TControl* p = c; p; p = p->GetParent())
    if (p == of) return true;
  return false;
}

RECT ScreenRectOf(TControl* c) {
  POINT origin = c->GetParent() ? c->GetParent()->ClientToScreen(POINT{c->GetLeft(), c->GetTop()})
                                : POINT{c->GetLeft(), c->GetTop()};
  return RECT{origin.x, origin.y, origin.x + c->GetWidth(), origin.y + c->GetHeight()};
}

// The site at pos that will have the control: first among the controls
// under the cursor (innermost first), then any other site whose influence
// reaches there.
TWinControl* FindDockSite(TControl* client, POINT pos) {
  auto candidate = [&](TWinControl* site) -> bool {
    if (!site->GetDockSite() || !site->GetShowing() || IsSelfOrChild(site, client)) return false;
    RECT influence{};
    GetWindowRect(site->GetHandle(), &influence);
    bool canDock = true;
    site->GetSiteInfo(client, influence, pos, canDock);
    return canDock && PtInRect(&influence, pos);
  };
  HWND w = WindowFromPoint(pos);
  for (; w; w = GetParent(w)) {
    if (TWinControl* c = FindControl(w))
      if (candidate(c)) return c;
  }
  for (TWinControl* site : std::vector<TWinControl*>(DockSites()))
    if (candidate(site)) return site;
  return nullptr;
}

// The frame's inverted edges on the screen.
void InvertFrame(const RECT& r, int width) {
  HDC dc = GetDC(nullptr);
  HBRUSH brush = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  HGDIOBJ old = SelectObject(dc, brush);
  int w = r.right - r.left, h = r.bottom - r.top;
  PatBlt(dc, r.left, r.top, w, width, PATINVERT);
  PatBlt(dc, r.left, r.bottom - width, w, width, PATINVERT);
  PatBlt(dc, r.left, r.top + width, width, h - 2 * width, PATINVERT);
  PatBlt(dc, r.right - width, r.top + width, width, h - 2 * width, PATINVERT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
}

}  // namespace

// ---------------------------------------------------------------------------
// TDragDockObject

IMPLEMENT_CLASS(TDragDockObject)

TDragDockObject::TDragDockObject(TControl* control) : TBaseDragControlObject(control) {}

TCursor TDragDockObject::GetDragCursor(bool, int, int) { return crDefault; }

void TDragDockObject::EndDrag(TObject* target, int x, int y) { GetControl()->DoEndDock(target, x, y); }

void TDragDockObject::DrawDragDockImage() {
  EraseDragDockImage();
  drawnRect_ = dockRect_;
  drawnWidth_ = GetFrameWidth();
  InvertFrame(drawnRect_, drawnWidth_);
  drawn_ = true;
}

void TDragDockObject::EraseDragDockImage() {
  if (!drawn_) return;
  InvertFrame(drawnRect_, drawnWidth_);
  drawn_ = false;
}

// ---------------------------------------------------------------------------
// The drag manager's dock part

TDragDockObject* DockStartObject(TControl* control, bool& ownObject) {
  TObject* given = nullptr;
  control->DoStartDock(given);
  TDragDockObject* obj;
  if (given) {
    obj = dynamic_cast<TDragDockObject*>(given);
    if (!obj) throw EInvalidCast("Invalid class typecast");
    ownObject = false;
  } else {
    obj = New<TDragDockObject>(control);
    ownObject = true;
  }
  // The frame starts on the control, held where the cursor holds it.
  RECT r = ScreenRectOf(control);
  POINT cursor = Mouse().GetCursorPos();
  obj->SetDockRect(r);
  obj->SetGrabOffset(POINT{std::clamp<LONG>(cursor.x - r.left, 0, control->GetUndockWidth()),
                           std::clamp<LONG>(cursor.y - r.top, 0, control->GetUndockHeight())});
  CurrentDockObject = obj;
  return obj;
}

void DockDragTo(TDragDockObject* obj, POINT pos) {
  TControl* client = obj->GetControl();
  TWinControl* site = FindDockSite(client, pos);
  TWinControl* target = obj->GetDockTarget();
  if (site != target) {
    if (target) {
      bool accept = true;
      POINT p = target->ScreenToClient(pos);
      target->DockOver(obj, p.x, p.y, dsDragLeave, accept);
    }
    obj->SetDockTarget(site);
    target = site;
    if (target) {
      bool accept = true;
      POINT p = target->ScreenToClient(pos);
      target->DockOver(obj, p.x, p.y, dsDragEnter, accept);
    }
  }
  bool accepted = false;
  if (target) {
    bool accept = true;
    POINT p = target->ScreenToClient(pos);
    target->DockOver(obj, p.x, p.y, dsDragMove, accept);
    accepted = accept;
  }
  obj->SetAccepted(accepted);
  obj->SetFloating(!accepted);
  if (!accepted) {
    // Floating: the control's undocked size where the cursor holds it.
    POINT grab = obj->GetGrabOffset();
    obj->SetDockRect(RECT{pos.x - grab.x, pos.y - grab.y, pos.x - grab.x + client->GetUndockWidth(),
                          pos.y - grab.y + client->GetUndockHeight()});
  }
  obj->DrawDragDockImage();
  ::SetCursor(CursorHandleOf(obj->GetDragCursor(accepted, pos.x, pos.y)));
}

bool DockDrop(TDragDockObject* obj, bool drop) {
  obj->EraseDragDockImage();
  CurrentDockObject = nullptr;
  TControl* client = obj->GetControl();
  TWinControl* target = obj->GetDockTarget();
  POINT pos = obj->GetDragPos();
  bool accepted = obj->GetAccepted();
  if (target) {
    bool accept = true;
    POINT p = target->ScreenToClient(pos);
    target->DockOver(obj, p.x, p.y, dsDragLeave, accept);
    accepted = accepted && accept;
  }
  if (!drop) {
    obj->SetDockTarget(nullptr);
    return false;
  }
  TWinControl* old = client->GetHostDockSite();
  if (target && accepted) {
    if (old && old != target && !old->DoUnDock(target, client)) {
      obj->SetDockTarget(nullptr);
      return false;
    }
    POINT p = target->ScreenToClient(pos);
    target->DockDrop(obj, p.x, p.y);
    return true;
  }
  obj->SetDockTarget(nullptr);
  if (client->GetFloating()) {
    // Already floating: its host moves to the frame.
    TWinControl* host = client->GetHostDockSite();
    RECT r = obj->GetDockRect();
    RECT window{}, clientRect{};
    GetWindowRect(host->GetHandle(), &window);
    GetClientRect(host->GetHandle(), &clientRect);
    POINT origin{0, 0};
    ::ClientToScreen(host->GetHandle(), &origin);
    host->SetBounds(r.left - (origin.x - window.left), r.top - (origin.y - window.top), host->GetWidth(),
                    host->GetHeight());
    return true;
  }
  if (old && !old->DoUnDock(nullptr, client)) return false;
  return client->ManualFloat(obj->GetDockRect());
}

void DockSiteDestroyed(TWinControl* site) {
  auto& sites = DockSites();
  sites.erase(std::remove(sites.begin(), sites.end(), site), sites.end());
  if (CurrentDockObject && CurrentDockObject->GetDockTarget() == site) {
    CurrentDockObject->SetDockTarget(nullptr);
    CurrentDockObject->SetAccepted(false);
  }
}

// ---------------------------------------------------------------------------
// IDockManager and TDockTree

IMPLEMENT_CLASS(IDockManager)
IMPLEMENT_CLASS(TDockTree)

bool TDockZone::Visible() const {
  if (Control) return Control->GetVisible();
  for (const auto& c : Children)
    if (c->Visible()) return true;
  return false;
}

TDockTree::TDockTree(TWinControl* dockSite) : dockSite_(dockSite) {}

void TDockTree::Destroy() {
  root_.reset();
  inherited::Destroy();
}

void TDockTree::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) ResetBounds(true);
}

void TDockTree::ForEachLeaf(TDockZone* zone, const std::function<void(TDockZone*)>& f) const {
  if (!zone) return;
  if (zone->Control) f(zone);
  for (const auto& c : zone->Children) ForEachLeaf(c.get(), f);
}

TDockZone* TDockTree::FindControlZone(TControl* control) const {
  TDockZone* found = nullptr;
  ForEachLeaf(root_.get(), [&](TDockZone* z) {
    if (z->Control == control) found = z;
  });
  return found;
}

void TDockTree::GetControlBounds(TControl* control, RECT& rect) {
  TDockZone* z = FindControlZone(control);
  rect = z ? z->Rect : RECT{};
}

void TDockTree::InsertControl(TControl* control, TAlign insertAt, TControl* dropControl) {
  if (FindControlZone(control)) RemoveControl(control);
  auto leaf = std::make_unique<TDockZone>();
  leaf->Control = control;
  if (!root_) {
    root_ = std::move(leaf);
    ResetBounds(true);
    return;
  }
  // A drop on the middle goes beside, to the right.
  if (insertAt == alClient || insertAt == alNone || insertAt == alCustom) insertAt = alRight;
  TDockOrientation orientation = insertAt == alLeft || insertAt == alRight ? doVertical : doHorizontal;
  bool before = insertAt == alLeft || insertAt == alTop;
  TDockZone* target = dropControl ? FindControlZone(dropControl) : nullptr;
  if (!target) target = root_.get();
  TDockZone* parent = target->Parent;
  if (parent && parent->Orientation == orientation) {
    // One more beside the target in its row or column: the two share the
    // target's part.
    leaf->Share = target->Share / 2;
    target->Share /= 2;
    leaf->Parent = parent;
    auto it = std::find_if(parent->Children.begin(), parent->Children.end(),
                           [target](const std::unique_ptr<TDockZone>& z) { return z.get() == target; });
    if (!before) ++it;
    parent->Children.insert(it, std::move(leaf));
  } else {
    // The target becomes half of a new zone split the new way.
    auto inner = std::make_unique<TDockZone>();
    inner->Orientation = orientation;
    inner->Share = target->Share;
    inner->Parent = parent;
    std::unique_ptr<TDockZone> held;
    if (parent) {
      for (auto& z : parent->Children)
        if (z.get() == target) {
          held = std::move(z);
          z = nullptr;
        }
    } else {
      held = std::move(root_);
    }
    held->Share = 0.5;
    held->Parent = inner.get();
    leaf->Share = 0.5;
    leaf->Parent = inner.get();
    if (before) {
      inner->Children.push_back(std::move(leaf));
      inner->Children.push_back(std::move(held));
    } else {
      inner->Children.push_back(std::move(held));
      inner->Children.push_back(std::move(leaf));
    }
    if (parent) {
      for (auto& z : parent->Children)
        if (!z) z = std::move(inner);
    } else {
      root_ = std::move(inner);
    }
  }
  ResetBounds(true);
}

void TDockTree::RemoveControl(TControl* control) {
  TDockZone* zone = FindControlZone(control);
  if (!zone) return;
  TDockZone* parent = zone->Parent;
  if (!parent) {
    root_.reset();
    dockSite_->Invalidate();
    return;
  }
  parent->Children.erase(std::find_if(parent->Children.begin(), parent->Children.end(),
                                      [zone](const std::unique_ptr<TDockZone>& z) { return z.get() == zone; }));
  double total = 0;
  for (auto& c : parent->Children) total += c->Share;
  for (auto& c : parent->Children) c->Share = total > 0 ? c->Share / total : 1.0 / parent->Children.size();
  if (parent->Children.size() == 1) {
    // A zone with one child left gives way to it.
    std::unique_ptr<TDockZone> only = std::move(parent->Children.front());
    only->Share = parent->Share;
    TDockZone* grand = parent->Parent;
    only->Parent = grand;
    if (grand) {
      for (auto& z : grand->Children)
        if (z.get() == parent) z = std::move(only);
    } else {
      root_ = std::move(only);
    }
  }
  ResetBounds(true);
}

bool TDockTree::GrabbersOnLeft() const {
  TAlign a = dockSite_->GetAlign();
  return a == alTop || a == alBottom;
}

void TDockTree::AdjustDockRect(TControl*, RECT& rect) {
  if (GrabbersOnLeft()) rect.left += grabberSize_;
  else rect.top += grabberSize_;
}

RECT TDockTree::GrabberRect(const RECT& z) const {
  return GrabbersOnLeft() ? RECT{z.left, z.top, z.left + grabberSize_, z.bottom}
                          : RECT{z.left, z.top, z.right, z.top + grabberSize_};
}

RECT TDockTree::CloseButtonRect(const RECT& z) const {
  return GrabbersOnLeft() ? RECT{z.left + 1, z.top + 1, z.left + grabberSize_ - 1, z.top + grabberSize_ - 1}
                          : RECT{z.right - grabberSize_ + 1, z.top + 1, z.right - 1, z.top + grabberSize_ - 1};
}

void TDockTree::LayoutZone(TDockZone* zone, const RECT& rect) {
  zone->Rect = rect;
  if (zone->Control) return;
  std::vector<TDockZone*> shown;
  double total = 0;
  for (auto& c : zone->Children)
    if (c->Visible()) {
      shown.push_back(c.get());
      total += c->Share;
    }
  bool sideBySide = zone->Orientation == doVertical;
  int length = sideBySide ? rect.right - rect.left : rect.bottom - rect.top;
  int at = sideBySide ? rect.left : rect.top;
  double used = 0;
  for (size_t i = 0; i < shown.size(); ++i) {
    used += shown[i]->Share;
    int end = i + 1 == shown.size() ? (sideBySide ? rect.right : rect.bottom)
                                    : (sideBySide ? rect.left : rect.top) + static_cast<int>(length * used / total);
    RECT r = sideBySide ? RECT{at, rect.top, end, rect.bottom} : RECT{rect.left, at, rect.right, end};
    LayoutZone(shown[i], r);
    at = end;
  }
}

void TDockTree::ResetBounds(bool) {
  if (updateCount_ > 0 || resetting_ || !root_ || !dockSite_->HandleAllocated()) return;
  resetting_ = true;
  try {
    RECT client = dockSite_->GetClientRect();
    dockSite_->AdjustClientRect(client);
    LayoutZone(root_.get(), client);
    ForEachLeaf(root_.get(), [this](TDockZone* z) {
      if (!z->Control->GetVisible()) return;
      RECT r = z->Rect;
      AdjustDockRect(z->Control, r);
      z->Control->SetBounds(r.left, r.top, std::max<LONG>(0, r.right - r.left), std::max<LONG>(0, r.bottom - r.top));
    });
  } catch (...) {
    resetting_ = false;
    throw;
  }
  resetting_ = false;
  dockSite_->Invalidate();
}

void TDockTree::PositionDockRect(TControl* client, TControl* dropControl, TAlign dropAlign, RECT& dockRect) {
  TDockZone* z = dropControl && dropControl != client ? FindControlZone(dropControl) : nullptr;
  RECT r = dockSite_->GetClientRect();
  bool alone = !root_ || (root_->Control == client);
  if (z) r = z->Rect;
  if (z || !alone) {
    int w = r.right - r.left, h = r.bottom - r.top;
    switch (dropAlign) {
      case alLeft: r.right = r.left + w / 2; break;
      case alRight: r.left += w / 2; break;
      case alTop: r.bottom = r.top + h / 2; break;
      case alBottom: r.top += h / 2; break;
      default: break;
    }
  }
  POINT a = dockSite_->ClientToScreen(POINT{r.left, r.top});
  dockRect = RECT{a.x, a.y, a.x + (r.right - r.left), a.y + (r.bottom - r.top)};
}

void TDockTree::PaintDockFrame(TCanvas* canvas, TControl*, const RECT& rect) {
  HDC dc = canvas->GetHandle();
  RECT g = GrabberRect(rect);
  RECT close = CloseButtonRect(rect);
  // Two raised bars along the grabber, short of the close button.
  for (int offset : {3, 7}) {
    RECT bar = GrabbersOnLeft() ? RECT{g.left + offset, close.bottom + 2, g.left + offset + 3, g.bottom - 2}
                                : RECT{g.left + 2, g.top + offset, close.left - 2, g.top + offset + 3};
    if (bar.right > bar.left && bar.bottom > bar.top) DrawEdge(dc, &bar, BDR_RAISEDINNER, BF_RECT);
  }
  DrawFrameControl(dc, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE);
}

void TDockTree::PaintSite(HDC dc) {
  if (!root_) return;
  auto canvas = MakeOwned<TCanvas>();
  canvas->SetHandle(dc);
  try {
    ForEachLeaf(root_.get(), [&](TDockZone* z) {
      if (z->Control->GetVisible()) PaintDockFrame(canvas.get(), z->Control, z->Rect);
    });
  } catch (...) {
    canvas->SetHandle(nullptr);
    throw;
  }
  canvas->SetHandle(nullptr);
}

bool TDockTree::HandleMessage(TMessage& m) {
  if (m.Msg != WM_LBUTTONDOWN && m.Msg != WM_LBUTTONDBLCLK) return false;
  POINT p = TWMMouse(m).Pos();
  TDockZone* hit = nullptr;
  bool onClose = false;
  ForEachLeaf(root_.get(), [&](TDockZone* z) {
    if (hit || !z->Control->GetVisible()) return;
    RECT close = CloseButtonRect(z->Rect);
    RECT grab = GrabberRect(z->Rect);
    if (PtInRect(&close, p)) {
      hit = z;
      onClose = true;
    } else if (PtInRect(&grab, p)) {
      hit = z;
    }
  });
  if (!hit) return false;
  TControl* c = hit->Control;
  if (onClose) {
    c->SetVisible(false);
    ResetBounds(true);
  } else {
    c->BeginDrag(false);
  }
  m.Result = 0;
  return true;
}

// ---------------------------------------------------------------------------
// TControl's docking

void TControl::SetHostDockSite(TWinControl* v) {
  if (v) ManualDock(v);
  else if (hostDockSite_) ManualFloat(GetParent() ? RECT{} : GetBoundsRect());
}

bool TControl::GetFloating() const {
  // Alone in a host that is no site of its own parent: the floating host.
  return hostDockSite_ && !hostDockSite_->GetParent() && hostDockSite_->GetDockClientCount() == 1 &&
         DefaultFloatingDockSiteClass && hostDockSite_->InheritsFrom(floatingDockSiteClass_
                                                                          ? floatingDockSiteClass_
                                                                          : DefaultFloatingDockSiteClass);
}

TAlign TControl::GetDockEdge(POINT p) {
  int w = width_, h = height_;
  if (p.x <= 0) return alLeft;
  if (p.x >= w) return alRight;
  if (p.y <= 0) return alTop;
  if (p.y >= h) return alBottom;
  int top = p.y, bottom = h - p.y, left = p.x, right = w - p.x;
  if (std::min(top, bottom) < std::min(left, right)) return top < bottom ? alTop : alBottom;
  return left < right ? alLeft : alRight;
}

bool TControl::ManualDock(TWinControl* newDockSite, TControl* dropControl, TAlign controlSide) {
  if (!newDockSite) {
    RECT r = GetBoundsRect();
    if (GetParent()) {
      POINT a = GetParent()->ClientToScreen(POINT{r.left, r.top});
      r = RECT{a.x, a.y, a.x + GetUndockWidth(), a.y + GetUndockHeight()};
    }
    if (hostDockSite_ && !hostDockSite_->DoUnDock(nullptr, this)) return false;
    return ManualFloat(r);
  }
  if (hostDockSite_ && hostDockSite_ != newDockSite && !hostDockSite_->DoUnDock(newDockSite, this)) return false;
  auto obj = MakeOwned<TDragDockObject>(this);
  obj->SetDropOnControl(dropControl);
  obj->SetDropAlign(controlSide);
  RECT r = newDockSite->GetClientRect();
  POINT a = newDockSite->ClientToScreen(POINT{0, 0});
  obj->SetDockRect(RECT{a.x, a.y, a.x + r.right, a.y + r.bottom});
  newDockSite->DockDrop(obj.get(), 0, 0);
  return true;
}

bool TControl::ManualFloat(const RECT& screenRect) {
  TWinControl* host = CreateFloatingDockSite(screenRect);
  if (!host) return false;
  RECT client = host->GetClientRect();
  Dock(host, client);
  host->SetVisible(true);
  return true;
}

TWinControl* TControl::CreateFloatingDockSite(const RECT& bounds) {
  TClass cls = floatingDockSiteClass_ ? floatingDockSiteClass_ : DefaultFloatingDockSiteClass;
  if (!cls) return nullptr;
  auto* host = CreateAs<TWinControl>(cls, static_cast<const TComponent*>(this)->GetOwner());
  // The host's client area where the frame was: its non-client parts go
  // round it.
  RECT window = bounds;
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(host->GetHandle(), GWL_STYLE));
  DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(host->GetHandle(), GWL_EXSTYLE));
  AdjustWindowRectEx(&window, style, FALSE, exStyle);
  host->SetBounds(window.left, window.top, window.right - window.left, window.bottom - window.top);
  return host;
}

void TControl::Dock(TWinControl* newDockSite, const RECT& rect) {
  RECT r = rect;
  TWinControl* old = hostDockSite_;
  controlState_.Include(csDocking);
  try {
    if (old && old != newDockSite) {
      old->dockClients_.erase(std::remove(old->dockClients_.begin(), old->dockClients_.end(), this),
                              old->dockClients_.end());
      if (old->dockManager_) old->dockManager_->RemoveControl(this);
      old->DoRemoveDockClient(this);
    }
    // The size it floats at is the size it had before it docked.
    if (newDockSite && (!old || GetFloating())) {
      undockWidth_ = width_;
      undockHeight_ = height_;
    }
    DoDock(newDockSite, r);
    hostDockSite_ = newDockSite;
    if (newDockSite) {
      if (std::find(newDockSite->dockClients_.begin(), newDockSite->dockClients_.end(), this) ==
          newDockSite->dockClients_.end())
        newDockSite->dockClients_.push_back(this);
      newDockSite->DoAddDockClient(this, r);
    }
  } catch (...) {
    controlState_.Exclude(csDocking);
    throw;
  }
  controlState_.Exclude(csDocking);
}

void TControl::DoDock(TWinControl*, RECT& rect) {
  SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void TControl::DoStartDock(TObject*& dragObject) {
  if (OnStartDock) OnStartDock(this, dragObject);
}

void TControl::DoEndDock(TObject* target, int x, int y) {
  if (OnEndDock) OnEndDock(this, target, x, y);
}

// ---------------------------------------------------------------------------
// TWinControl's docking

void TWinControl::SetDockSite(bool v) {
  if (dockSite_ == v) return;
  dockSite_ = v;
  auto& sites = DockSites();
  if (v) sites.push_back(this);
  else sites.erase(std::remove(sites.begin(), sites.end(), this), sites.end());
  UpdateDockManager();
}

void TWinControl::SetUseDockManager(bool v) {
  if (useDockManager_ == v) return;
  useDockManager_ = v;
  UpdateDockManager();
}

void TWinControl::UpdateDockManager() {
  if (dockSite_ && useDockManager_) {
    IDockManager* m = CreateDockManager();
    if (m != dockManager_) {
      FreeObject(dockManager_);
      dockManager_ = m;
      for (TControl* c : dockClients_) dockManager_->InsertControl(c, alNone, nullptr);
    }
  } else if (dockManager_) {
    FreeAndNil(dockManager_);
  }
}

TControl* TWinControl::GetDockClients(int index) const {
  if (index < 0 || index >= GetDockClientCount()) TList::Error(SListIndexError, index);
  return dockClients_[static_cast<size_t>(index)];
}

IDockManager* TWinControl::CreateDockManager() {
  if (!dockManager_ && dockSite_ && useDockManager_) return New<TDockTree>(this);
  return dockManager_;
}

void TWinControl::GetSiteInfo(TControl* client, RECT& influenceRect, POINT mousePos, bool& canDock) {
  if (OnGetSiteInfo) OnGetSiteInfo(this, client, influenceRect, mousePos, canDock);
}

void TWinControl::PositionDockRect(TDragDockObject* source) {
  TControl* client = source->GetControl();
  POINT p = ScreenToClient(source->GetDragPos());
  // The docked control under the cursor, and the side of it (or of the
  // site) the cursor is nearest.
  TControl* dropOn = nullptr;
  for (TControl* c : dockClients_) {
    RECT r = c->GetBoundsRect();
    if (dockManager_ && useDockManager_) dockManager_->GetControlBounds(c, r);
    if (c != client && c->GetVisible() && PtInRect(&r, p)) dropOn = c;
  }
  TAlign align;
  if (dropOn) {
    RECT r = dropOn->GetBoundsRect();
    if (dockManager_ && useDockManager_) dockManager_->GetControlBounds(dropOn, r);
    int w = r.right - r.left, h = r.bottom - r.top;
    int left = p.x - r.left, top = p.y - r.top;
    align = std::min(top, h - top) < std::min(left, w - left) ? (top < h - top ? alTop : alBottom)
                                                              : (left < w - left ? alLeft : alRight);
  } else {
    align = GetDockEdge(p);
  }
  source->SetDropOnControl(dropOn);
  source->SetDropAlign(align);
  RECT rect{};
  if (dockManager_ && useDockManager_) {
    dockManager_->PositionDockRect(client, dropOn, align, rect);
  } else {
    RECT c = GetClientRect();
    POINT a = ClientToScreen(POINT{0, 0});
    rect = RECT{a.x, a.y, a.x + c.right, a.y + c.bottom};
  }
  source->SetDockRect(rect);
}

void TWinControl::DockOver(TDragDockObject* source, int x, int y, TDragState state, bool& accept) {
  PositionDockRect(source);
  if (OnDockOver) OnDockOver(this, source, x, y, state, accept);
}

void TWinControl::DockDrop(TDragDockObject* source, int x, int y) {
  TControl* client = source->GetControl();
  RECT r = source->GetDockRect();
  POINT a = ScreenToClient(POINT{r.left, r.top});
  DisableAlign();
  try {
    client->Dock(this, RECT{a.x, a.y, a.x + (r.right - r.left), a.y + (r.bottom - r.top)});
    if (useDockManager_ && dockManager_)
      dockManager_->InsertControl(client, source->GetDropAlign(), source->GetDropOnControl());
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
  if (OnDockDrop) OnDockDrop(this, source, x, y);
}

bool TWinControl::DoUnDock(TWinControl* newTarget, TControl* client) {
  bool allow = true;
  if (OnUnDock) OnUnDock(this, client, newTarget, allow);
  if (allow && useDockManager_ && dockManager_ && newTarget != this) dockManager_->RemoveControl(client);
  return allow;
}

void TWinControl::DoAddDockClient(TControl* client, const RECT&) { client->SetParent(this); }

void TWinControl::DoRemoveDockClient(TControl*) {}

void TWinControl::ForgetDockClient(TControl* client) {
  auto it = std::find(dockClients_.begin(), dockClients_.end(), client);
  if (it == dockClients_.end()) return;
  // Taken away by other means than a dock (a new parent, freed).
  if (client->GetControlState().Contains(csDocking)) return;
  dockClients_.erase(it);
  if (dockManager_) dockManager_->RemoveControl(client);
  if (client->hostDockSite_ == this) client->hostDockSite_ = nullptr;
  DoRemoveDockClient(client);
}
