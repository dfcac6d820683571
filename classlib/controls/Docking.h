// Docking: controls with DragKind dkDock dragged onto dock sites (window
// controls with DockSite), laid out there by the site's dock manager, or
// dropped elsewhere to float in a host window of their own.
//
// A dock drag is a drag (DragDrop.h) whose object is a TDragDockObject.
// While it moves, the drag asks each showing dock site for its influence
// rectangle (GetSiteInfo, OnGetSiteInfo) and takes the site under the
// cursor that will have the control; that site hears DockOver (OnDockOver:
// dsDragEnter, dsDragMove..., dsDragLeave) and says where the control would
// go (PositionDockRect: DockRect, DropAlign, DropOnControl). A frame drawn
// inverted on the screen shows DockRect: thin where the control would
// dock, thick where it would float. On release over an accepting site the
// control's old site is asked to let it go (DoUnDock, OnUnDock), the new
// site takes it (DockDrop: Dock, the dock manager's InsertControl,
// OnDockDrop); released elsewhere it floats (ManualFloat: a new floating
// host of FloatingDockSiteClass at DockRect). The source hears OnEndDock
// last: the site, or null when it floats or the drag was cancelled.
//
// The dock manager (IDockManager, by default a TDockTree) lays out a site's
// docked controls: a tree of zones split side by side or one above the
// other, each docked control in a leaf under a grabber. A press on a
// grabber starts a dock drag of its control; a press on the grabber's close
// button hides it.
#pragma once

#include <memory>
#include <vector>

#include "classlib/controls/DragDrop.h"
#include "classlib/controls/WinControl.h"

class TDragDockObject : public TBaseDragControlObject {
  DECLARE_CLASS(TDragDockObject, TBaseDragControlObject)

  explicit TDragDockObject(TControl* control);

  // Where the control would go, in screen coordinates.
  const RECT& GetDockRect() const { return dockRect_; }
  void SetDockRect(const RECT& r) { dockRect_ = r; }
  // The side of DropOnControl (or of the site) the control would take.
  TAlign GetDropAlign() const { return dropAlign_; }
  void SetDropAlign(TAlign v) { dropAlign_ = v; }
  TControl* GetDropOnControl() const { return dropOnControl_; }
  void SetDropOnControl(TControl* v) { dropOnControl_ = v; }
  // True while the control would float where it is dropped.
  bool GetFloating() const { return floating_; }
  void SetFloating(bool v) { floating_ = v; }
  // The frame's pen: thin over a site, thick while floating.
  int GetFrameWidth() const { return floating_ ? 4 : 1; }
  // Where in the control the cursor holds it.
  POINT GetGrabOffset() const { return grabOffset_; }
  void SetGrabOffset(POINT p) { grabOffset_ = p; }
  // The site under the cursor that would have the control, or null.
  TWinControl* GetDockTarget() const { return dockTarget_; }
  void SetDockTarget(TWinControl* v) { dockTarget_ = v; }
  bool GetAccepted() const { return accepted_; }
  void SetAccepted(bool v) { accepted_ = v; }

  TCursor GetDragCursor(bool accepted, int x, int y) override;
  void EndDrag(TObject* target, int x, int y) override;

  // The inverted frame on the screen: drawn at DockRect, erased where it
  // was drawn.
  void DrawDragDockImage();
  void EraseDragDockImage();

 private:
  RECT dockRect_{};
  TAlign dropAlign_ = alNone;
  TControl* dropOnControl_ = nullptr;
  bool floating_ = true;
  POINT grabOffset_{};
  TWinControl* dockTarget_ = nullptr;
  bool accepted_ = false;
  bool drawn_ = false;
  RECT drawnRect_{};
  int drawnWidth_ = 0;
};

// What a dock site asks of its dock manager.
class IDockManager : public TObject {
  DECLARE_CLASS(IDockManager, TObject)

  IDockManager() = default;

  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
  // The zone rectangle of a docked control, in the site's client area.
  virtual void GetControlBounds(TControl* control, RECT& rect) = 0;
  virtual void InsertControl(TControl* control, TAlign insertAt, TControl* dropControl) = 0;
  virtual void PaintSite(HDC dc) = 0;
  // Where a control dropped beside dropControl (or on the site) would go:
  // dockRect in screen coordinates.
  virtual void PositionDockRect(TControl* client, TControl* dropControl, TAlign dropAlign, RECT& dockRect) = 0;
  virtual void RemoveControl(TControl* control) = 0;
  virtual void ResetBounds(bool force) = 0;
  // The site's mouse messages first: true when the manager took one (a
  // press on a grabber).
  virtual bool HandleMessage(TMessage& message) = 0;
};

enum TDockOrientation { doNoOrient, doHorizontal, doVertical };
DECLARE_ENUM_TYPE(TDockOrientation);

// A zone of a dock tree: a leaf holds one docked control; an inner zone
// splits its rectangle among its children, one above the other
// (doHorizontal) or side by side (doVertical), each by its share.
struct TDockZone {
  TDockZone* Parent = nullptr;
  std::vector<std::unique_ptr<TDockZone>> Children;
  TControl* Control = nullptr;
  TDockOrientation Orientation = doNoOrient;
  double Share = 1.0;
  RECT Rect{};
  bool Visible() const;
};

class TDockTree : public IDockManager {
  DECLARE_CLASS(TDockTree, IDockManager)

  explicit TDockTree(TWinControl* dockSite);

  TWinControl* GetDockSite() const { return dockSite_; }
  int GetGrabberSize() const { return grabberSize_; }

  void BeginUpdate() override { ++updateCount_; }
  void EndUpdate() override;
  void GetControlBounds(TControl* control, RECT& rect) override;
  void InsertControl(TControl* control, TAlign insertAt, TControl* dropControl) override;
  void PaintSite(HDC dc) override;
  void PositionDockRect(TControl* client, TControl* dropControl, TAlign dropAlign, RECT& dockRect) override;
  void RemoveControl(TControl* control) override;
  void ResetBounds(bool force) override;
  bool HandleMessage(TMessage& message) override;

  // The zone's rectangle less the grabber: where its control goes.
  virtual void AdjustDockRect(TControl* control, RECT& rect);
  // The grabber of a docked control over its zone rectangle: two raised
  // bars and a close button.
  virtual void PaintDockFrame(TCanvas* canvas, TControl* control, const RECT& rect);
  // The grabber lies at the left of the zones when the site is aligned to
  // the top or bottom, above them otherwise.
  bool GrabbersOnLeft() const;
  // The grabber strip and its close button of a zone rectangle.
  RECT GrabberRect(const RECT& zoneRect) const;
  RECT CloseButtonRect(const RECT& zoneRect) const;
  // The leaf of a docked control, or null.
  TDockZone* FindControlZone(TControl* control) const;

 protected:
  void Destroy() override;
  int grabberSize_ = 12;

 private:
  void LayoutZone(TDockZone* zone, const RECT& rect);
  void ForEachLeaf(TDockZone* zone, const std::function<void(TDockZone*)>& f) const;

  TWinControl* dockSite_;
  std::unique_ptr<TDockZone> root_;
  int updateCount_ = 0;
  bool resetting_ = false;
};

// The class of the floating hosts a control gets when it has none of its
// own (the Forms unit's TCustomDockForm, set at its start-up).
extern TClass DefaultFloatingDockSiteClass;

// The drag manager's dock part (DragDrop.cpp calls these for a
// TDragDockObject).
TDragDockObject* DockStartObject(TControl* control, bool& ownObject);
void DockDragTo(TDragDockObject* object, POINT pos);
// The drop or the cancel: true when the control docked or floated.
bool DockDrop(TDragDockObject* object, bool drop);
// A site goes: a drag over it forgets it.
void DockSiteDestroyed(TWinControl* site);
// The showing dock sites, in the order they became sites.
std::vector<TWinControl*>& DockSites();
