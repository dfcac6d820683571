// The drag manager of the Controls unit: dragging one control onto another
// (DragKind dkDrag). Docking is not built; its properties and events are
// only kept.
//
// A drag starts with TControl::BeginDrag, or with DragMode dmAutomatic by a
// press of the left button. The source's OnStartDrag may hand over its own
// drag object; without one the drag makes a TDragControlObject of the
// source, and then the targets' OnDragOver and OnDragDrop see the source
// control itself. The drag object's hidden window holds the mouse capture.
// Each mouse move finds the control under the cursor (the nearest window of
// a control, asked with CM_DRAG dmFindTarget, answers its windowless child
// there or itself), tells the old target dmDragLeave and the new one
// dmDragEnter, then dmDragMove, whose answer picks the cursor (the source's
// DragCursor, or crNoDrop). A drag that is not immediate begins once the
// cursor has moved Threshold pixels on either axis. Releasing a button
// drops: the target's answer to dmDragLeave decides, an accepting target
// gets dmDragDrop (its DragDrop), and the source's OnEndDrag hears the
// target (null when the drop was refused or cancelled). Escape (through the
// application's IsKeyMsg), a lost capture or EndDrag(false) cancel.
#pragma once

#include "classlib/controls/ControlTypes.h"

class TDragObject : public TObject {
  DECLARE_CLASS(TDragObject, TObject)

  TDragObject() = default;

  // Takes the mouse capture for the drag: a hidden window of this object.
  virtual HWND Capture();
  virtual void ReleaseCapture(HWND window);
  // The cursor while the target accepts the drag or not.
  virtual TCursor GetDragCursor(bool accepted, int x, int y);
  // The drag has ended: dropped on target at (x, y) of its client area when
  // accepted.
  virtual void Finished(TObject* target, int x, int y, bool accepted);

  bool GetCancelling() const { return cancelling_; }
  bool GetDropped() const { return dropped_; }
  HWND GetDragHandle() const { return dragHandle_; }
  POINT GetDragPos() const { return dragPos_; }
  POINT GetDragTargetPos() const { return dragTargetPos_; }
  TControl* GetDragTarget() const { return dragTarget_; }

  // The capture window's messages: moves, button releases, lost capture,
  // and the keys IsKeyMsg hands it as CN_KEYDOWN/CN_KEYUP (Escape cancels).
  virtual void WndProc(TMessage& m);

 private:
  friend struct TDragManager;
  void MainWndProc(TMessage& m);

  HWND captureWindow_ = nullptr;
  bool cancelling_ = false;
  bool dropped_ = false;
  HWND dragHandle_ = nullptr;
  POINT dragPos_{};
  POINT dragTargetPos_{};
  TControl* dragTarget_ = nullptr;
};

// A drag whose source is a control: its end goes to the control's
// DoEndDrag.
class TBaseDragControlObject : public TDragObject {
  DECLARE_CLASS(TBaseDragControlObject, TDragObject)

  explicit TBaseDragControlObject(TControl* control) : control_(control) {}

  TControl* GetControl() const { return control_; }
  virtual void EndDrag(TObject* target, int x, int y);
  void Finished(TObject* target, int x, int y, bool accepted) override;

 private:
  TControl* control_;
};

// The drag object the drag makes when OnStartDrag gives none: the cursor is
// the control's DragCursor over an accepting target, crNoDrop elsewhere.
class TDragControlObject : public TBaseDragControlObject {
  DECLARE_CLASS(TDragControlObject, TBaseDragControlObject)
  using TBaseDragControlObject::TBaseDragControlObject;

  TCursor GetDragCursor(bool accepted, int x, int y) override;
};

// True when sender is a drag object (the Source a handler is given).
bool IsDragObject(TObject* sender);
// Ends the drag in progress without a drop.
void CancelDrag();

// What TControl asks of the drag manager.
// Starts dragging control (its OnStartDrag first).
void DragInitControl(TControl* control, bool immediate, int threshold);
// Ends the drag: dropped where the cursor is, or cancelled.
void DragDone(bool drop);
// The Source a target's OnDragOver and OnDragDrop see: the dragged control
// when the drag made its own drag object, else the drag object.
TObject* DragSourceOf(TDragObject* source);
// The control being dragged, or null.
TControl* DragControl();
// A control that goes: a drag from it is cancelled, a drag over it forgets it.
void DragControlDestroyed(TControl* control);
