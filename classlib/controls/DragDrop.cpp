#include "classlib/controls/DragDrop.h"

#include <cstdlib>

#include "classlib/controls/Docking.h"
#include "classlib/controls/ObjectInstance.h"
#include "classlib/controls/WinControl.h"

IMPLEMENT_CLASS(TDragObject)
IMPLEMENT_CLASS(TBaseDragControlObject)
IMPLEMENT_CLASS(TDragControlObject)

// The drag in progress (one GUI thread, as the platform's unit globals).
struct TDragManager {
  TControl* Control = nullptr;
  TDragObject* Object = nullptr;
  // The drag made Object itself (no OnStartDrag gave one): it frees it, and
  // the handlers see the control as the source.
  bool OwnObject = false;
  HWND CaptureWindow = nullptr;
  POINT StartPos{};
  HCURSOR SaveCursor = nullptr;
  int Threshold = 0;
  // False until the cursor has gone Threshold pixels from the start.
  bool Active = false;

  static TDragManager& Get() {
    static TDragManager manager;
    return manager;
  }

  static LRESULT Send(HWND window, TDragMessage msg, TDragObject* source, TControl* target, POINT pos) {
    if (!window) return 0;
    TDragRec rec{pos, source, target, false};
    return SendMessageA(window, CM_DRAG, static_cast<WPARAM>(msg), reinterpret_cast<LPARAM>(&rec));
  }

  // The nearest window under pos that belongs to a control, and the control
  // it names there.
  TControl* FindTarget(POINT pos, HWND& window) {
    window = WindowFromPoint(pos);
    while (window && !FindControl(window)) window = GetParent(window);
    return reinterpret_cast<TControl*>(Send(window, dmFindTarget, Object, nullptr, pos));
  }

  bool DragOver(TDragMessage msg) {
    return Object->dragTarget_ &&
           Send(Object->dragHandle_, msg, Object, Object->dragTarget_, Object->dragPos_) != 0;
  }

  void DragTo(POINT pos) {
    if (!Active && std::abs(StartPos.x - pos.x) < Threshold && std::abs(StartPos.y - pos.y) < Threshold) return;
    TDragObject* obj = Object;
    if (auto* dock = dynamic_cast<TDragDockObject*>(obj)) {
      // Docking finds its sites and draws its frame itself (Docking.cpp).
      Active = true;
      obj->dragPos_ = pos;
      DockDragTo(dock, pos);
      return;
    }
    HWND window = nullptr;
    TControl* target = FindTarget(pos, window);
    if (target != obj->dragTarget_) {
      DragOver(dmDragLeave);
      if (Object != obj) return;  // a handler ended the drag
      obj->dragTarget_ = target;
      obj->dragHandle_ = window;
      obj->dragPos_ = pos;
      DragOver(dmDragEnter);
      if (Object != obj) return;
    }
    obj->dragPos_ = pos;
    if (obj->dragTarget_) obj->dragTargetPos_ = obj->dragTarget_->ScreenToClient(pos);
    bool accepted = DragOver(dmDragMove);
    if (Object != obj) return;
    TCursor cursor = obj->GetDragCursor(accepted, pos.x, pos.y);
    Active = true;
    ::SetCursor(CursorHandleOf(cursor));
  }

  void Init(TDragObject* obj, bool immediate, int threshold) {
    Object = obj;
    obj->dragTarget_ = nullptr;
    obj->dragHandle_ = nullptr;
    POINT pos = Mouse().GetCursorPos();
    StartPos = pos;
    obj->dragPos_ = pos;
    SaveCursor = ::GetCursor();
    Threshold = threshold;
    Active = false;
    CaptureWindow = obj->Capture();
    if (immediate) {
      Active = true;
      DragTo(pos);
    }
  }

  // Back to no drag; the object goes when the drag made it.
  void Clear() {
    TDragObject* obj = Object;
    bool own = OwnObject;
    Object = nullptr;
    Control = nullptr;
    OwnObject = false;
    Active = false;
    if (own) obj->Free();
  }

  void ControlDestroyed(TControl* control) {
    if (Object && Object->dragTarget_ == control) {
      Object->dragTarget_ = nullptr;
      Object->dragHandle_ = nullptr;
    }
    if (Control != control || !Object) return;
    // The source goes: the drag ends without a word to it.
    if (!Object->cancelling_) {
      HWND capture = CaptureWindow;
      CaptureWindow = nullptr;
      Object->cancelling_ = true;
      Object->ReleaseCapture(capture);
      ::SetCursor(SaveCursor);
      Object->cancelling_ = false;
    }
    Clear();
  }

  void Done(bool drop) {
    TDragObject* obj = Object;
    if (!obj || obj->cancelling_) return;
    obj->cancelling_ = true;
    obj->dropped_ = drop;
    bool accepted = false;
    POINT targetPos{};
    try {
      HWND capture = CaptureWindow;
      CaptureWindow = nullptr;
      obj->ReleaseCapture(capture);
      targetPos = obj->dragTarget_ ? obj->dragTargetPos_ : obj->dragPos_;
      if (auto* dock = dynamic_cast<TDragDockObject*>(obj)) {
        // Docked or floated; the source hears the site, or none when the
        // control floats.
        accepted = DockDrop(dock, Active && drop);
        obj->dragTarget_ = dock->GetDockTarget();
        targetPos = obj->dragTarget_ ? obj->dragTarget_->ScreenToClient(obj->dragPos_) : obj->dragPos_;
      } else {
        // The target hears the leave also when the drag is cancelled.
        accepted = Active && DragOver(dmDragLeave) && drop;
        if (!accepted) {
          obj->dragPos_ = POINT{};
          targetPos = POINT{};
        }
        Send(obj->dragHandle_, accepted ? dmDragDrop : dmDragCancel, obj, obj->dragTarget_, obj->dragPos_);
      }
    } catch (...) {
      ::SetCursor(SaveCursor);
      obj->cancelling_ = false;
      Clear();
      throw;
    }
    ::SetCursor(SaveCursor);
    obj->cancelling_ = false;
    TControl* target = accepted ? obj->dragTarget_ : nullptr;
    // The source hears the end with no drag in progress any more.
    Object = nullptr;
    Control = nullptr;
    try {
      obj->Finished(target, targetPos.x, targetPos.y, accepted);
    } catch (...) {
      Object = obj;
      Clear();
      throw;
    }
    Object = obj;
    Clear();
  }
};

// ---------------------------------------------------------------------------

HWND TDragObject::Capture() {
  captureWindow_ = AllocateHWnd(TWndMethod(this, &TDragObject::MainWndProc));
  ::SetCapture(captureWindow_);
  return captureWindow_;
}

void TDragObject::ReleaseCapture(HWND window) {
  ::ReleaseCapture();
  DeallocateHWnd(window);
  if (window == captureWindow_) captureWindow_ = nullptr;
}

TCursor TDragObject::GetDragCursor(bool accepted, int, int) { return accepted ? crDrag : crNoDrop; }

void TDragObject::Finished(TObject*, int, int, bool) {}

void TDragObject::MainWndProc(TMessage& m) {
  try {
    WndProc(m);
  } catch (...) {
    // The drag ends; this object may be gone by then, so it is not named.
    if (TDragManager::Get().Control) {
      try {
        DragDone(false);
      } catch (...) {
      }
    }
    ControlsHandleException(nullptr);
  }
}

void TDragObject::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      POINT p = TWMMouse(m).Pos();
      ::ClientToScreen(captureWindow_, &p);
      TDragManager::Get().DragTo(p);
      return;
    }
    case WM_CAPTURECHANGED:
      DragDone(false);
      return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      DragDone(true);
      return;
    case CN_KEYUP:
      if (m.WParam == VK_CONTROL) TDragManager::Get().DragTo(dragPos_);
      return;
    case CN_KEYDOWN:
      if (m.WParam == VK_CONTROL) {
        TDragManager::Get().DragTo(dragPos_);
      } else if (m.WParam == VK_ESCAPE) {
        // The key is used up.
        m.Result = 1;
        DragDone(false);
      }
      return;
  }
  m.Result = DefWindowProcA(captureWindow_, m.Msg, m.WParam, m.LParam);
}

void TBaseDragControlObject::EndDrag(TObject* target, int x, int y) { control_->DoEndDrag(target, x, y); }

void TBaseDragControlObject::Finished(TObject* target, int x, int y, bool accepted) {
  if (!accepted) {
    control_->DragCanceled();
    target = nullptr;
  }
  EndDrag(target, x, y);
}

TCursor TDragControlObject::GetDragCursor(bool accepted, int, int) {
  return accepted ? GetControl()->GetDragCursor() : crNoDrop;
}

// ---------------------------------------------------------------------------

bool IsDragObject(TObject* sender) { return dynamic_cast<TDragObject*>(sender) != nullptr; }

void CancelDrag() {
  if (TDragManager::Get().Object) DragDone(false);
  TDragManager::Get().Control = nullptr;
}

void DragInitControl(TControl* control, bool immediate, int threshold) {
  TDragManager& d = TDragManager::Get();
  d.Control = control;
  d.OwnObject = false;
  TDragObject* obj = nullptr;
  try {
    if (control->GetDragKind() == dkDock) {
      bool own = false;
      obj = DockStartObject(control, own);
      d.OwnObject = own;
      if (d.Control != control) {  // OnStartDock ended it
        if (own) obj->Free();
        return;
      }
    } else {
      TObject* given = nullptr;
      control->DoStartDrag(given);
      if (d.Control != control) return;  // OnStartDrag ended it
      if (given) {
        obj = dynamic_cast<TDragObject*>(given);
        if (!obj) throw EInvalidCast("Invalid class typecast");
      } else {
        obj = New<TDragControlObject>(control);
        d.OwnObject = true;
      }
    }
    d.Init(obj, immediate, threshold);
  } catch (...) {
    if (d.CaptureWindow) {
      HWND capture = d.CaptureWindow;
      d.CaptureWindow = nullptr;
      if (obj) obj->ReleaseCapture(capture);
    }
    if (d.OwnObject && obj) obj->Free();
    d.Object = nullptr;
    d.Control = nullptr;
    d.OwnObject = false;
    throw;
  }
}

void DragDone(bool drop) { TDragManager::Get().Done(drop); }

TControl* DragControl() { return TDragManager::Get().Control; }

TObject* DragSourceOf(TDragObject* source) {
  TDragManager& d = TDragManager::Get();
  if (source && source == d.Object && d.OwnObject)
    if (auto* c = dynamic_cast<TBaseDragControlObject*>(source)) return c->GetControl();
  return source;
}

void DragControlDestroyed(TControl* control) { TDragManager::Get().ControlDestroyed(control); }
