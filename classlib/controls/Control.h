// TControl: the root of every visual control, windowed or not.
//
// Messages. A control's messages go through its replaceable WindowProc
// (default: the virtual WndProc), which preprocesses a few and calls the
// virtual Dispatch: the message table. Dispatch switches on the message
// number, calls the (virtual) handler of the class that handles it, and
// ends in the virtual DefaultHandler. A descendant handles a further message
// by overriding Dispatch (its "inherited" is inherited::Dispatch), and
// changes the handling of a message its ancestors handle by overriding that
// handler (its "inherited" is the ancestor's handler).
#pragma once

#include <string>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/controls/ControlTypes.h"
#include "classlib/controls/ControlsHooks.h"

class TBasicAction;
class TControlActionLink;
class TSizeConstraints;

// Min/max width and height of a control; 0 means no limit.
class TSizeConstraints : public TPersistent {
  DECLARE_CLASS(TSizeConstraints, TPersistent)

  explicit TSizeConstraints(TControl* control);

  int GetMaxHeight() const { return maxHeight_; }
  int GetMaxWidth() const { return maxWidth_; }
  int GetMinHeight() const { return minHeight_; }
  int GetMinWidth() const { return minWidth_; }
  // Index 0..3: MaxHeight, MaxWidth, MinHeight, MinWidth. A maximum below the
  // minimum pulls the minimum down, a minimum above the maximum pushes it up.
  int GetConstraint(int index) const;
  void SetConstraint(int index, int value);
  void SetMaxHeight(int v) { SetConstraint(0, v); }
  void SetMaxWidth(int v) { SetConstraint(1, v); }
  void SetMinHeight(int v) { SetConstraint(2, v); }
  void SetMinWidth(int v) { SetConstraint(3, v); }

  TControl* GetControl() const { return control_; }
  TNotifyEvent OnChange;

  void AssignTo(TPersistent* dest) override;

 protected:
  virtual void Change();

 private:
  TControl* control_;
  int maxHeight_ = 0;
  int maxWidth_ = 0;
  int minHeight_ = 0;
  int minWidth_ = 0;
};

class TControl : public TComponent {
  DECLARE_CLASS(TControl, TComponent)

  explicit TControl(TComponent* owner);
  ~TControl() override { DestroyUnfinished(); }

  // --- messages --------------------------------------------------------------
  // Sends a message through WindowProc and returns its result.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  const TWndMethod& GetWindowProc() const { return windowProc_; }
  void SetWindowProc(const TWndMethod& proc) { windowProc_ = proc; }
  // Calls WindowProc; what the window and Perform both use.
  void WindowProc(TMessage& message) {
    TWndMethod proc = windowProc_;
    proc(message);
  }
  virtual void WndProc(TMessage& message);
  virtual void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage& message);

  // --- position and size -----------------------------------------------------
  int GetLeft() const { return left_; }
  int GetTop() const { return top_; }
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT GetBoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  void SetBoundsRect(const RECT& r) { SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); }
  virtual RECT GetClientRect();
  int GetClientWidth() { return GetClientRect().right; }
  int GetClientHeight() { return GetClientRect().bottom; }
  void SetClientWidth(int v);
  void SetClientHeight(int v);
  virtual void SetClientSize(POINT size);
  virtual POINT GetClientOrigin();
  POINT ClientToScreen(POINT p);
  POINT ScreenToClient(POINT p);

  TAlign GetAlign() const { return align_; }
  void SetAlign(TAlign v);
  TAnchors GetAnchors() const { return anchors_; }
  void SetAnchors(TAnchors v);
  bool IsAnchorsStored() const { return anchors_ != AnchorAlign(align_); }
  virtual bool GetAutoSize() const { return autoSize_; }
  virtual void SetAutoSize(bool v);
  TSizeConstraints* GetConstraints() const { return constraints_; }
  void SetConstraints(TSizeConstraints* v) { constraints_->Assign(v); }
  // Asks the parent to realign this control.
  virtual void RequestAlign();
  // Applies the size the control wants (AutoSize, constraints).
  virtual void AdjustSize();
  virtual void UpdateAnchorRules();
  virtual bool CanResize(int& newWidth, int& newHeight);
  virtual bool CanAutoSize(int& newWidth, int& newHeight);
  virtual void ConstrainedResize(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight);
  virtual void Resize();
  bool CheckNewSize(int& newWidth, int& newHeight);

  // --- tree -----------------------------------------------------------------
  TWinControl* GetParent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  HWND GetParentWindowOfControl() const;

  // --- state and appearance --------------------------------------------------
  bool GetVisible() const { return visible_; }
  void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  virtual bool GetEnabled() const { return enabled_; }
  virtual void SetEnabled(bool v);
  TColor GetColor() const { return color_; }
  virtual void SetColor(TColor v);
  bool IsColorStored() const { return !parentColor_; }
  bool GetParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TFont* GetFont() const { return font_; }
  virtual void SetFont(TFont* v);
  bool IsFontStored() const { return !parentFont_; }
  bool GetParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  TControlStyle GetControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle v) { controlStyle_ = v; }
  TControlState GetControlState() const { return controlState_; }
  void SetControlState(TControlState v) { controlState_ = v; }
  TCursor GetCursor() const { return cursor_; }
  void SetCursor(TCursor v);
  TCursor GetDragCursor() const { return dragCursor_; }
  void SetDragCursor(TCursor v) { dragCursor_ = v; }
  TDragKind GetDragKind() const { return dragKind_; }
  void SetDragKind(TDragKind v) { dragKind_ = v; }
  TDragMode GetDragMode() const { return dragMode_; }
  virtual void SetDragMode(TDragMode v) { dragMode_ = v; }
  bool GetCtl3D() const { return ctl3D_; }
  void SetCtl3D(bool v);
  bool IsCtl3DStored() const { return !parentCtl3D_; }
  bool GetParentCtl3D() const { return parentCtl3D_; }
  void SetParentCtl3D(bool v);
  TBiDiMode GetBiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode v);
  bool IsBiDiModeStored() const { return !parentBiDiMode_; }
  bool GetParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool v);
  // Right-to-left reading and alignment take effect only on a Middle-East
  // enabled system, as on the platform.
  bool UseRightToLeftAlignment() const;
  bool UseRightToLeftReading() const;
  bool UseRightToLeftScrollBar() const;
  bool IsRightToLeft() const;
  // DrawText flags with the reading order (and, for right-to-left alignment,
  // DT_LEFT and DT_RIGHT swapped).
  UINT DrawTextBiDiModeFlags(UINT flags) const;
  UINT DrawTextBiDiModeFlagsReadingOnly() const;
  virtual TAlignment GetControlsAlignment() const { return taLeftJustify; }
  void InitiateAction();

  // --- text ------------------------------------------------------------------
  // Caption and Text are the same text, read and written through
  // WM_GETTEXT/WM_SETTEXT (Perform) so that descendants and the Unicode layer
  // can intercept them; setting a new value sends CM_TEXTCHANGED.
  std::string GetText();
  void SetText(const std::string& v);
  std::string GetCaption() { return GetText(); }
  void SetCaption(const std::string& v) { SetText(v); }
  bool IsCaptionStored() const;
  int GetTextLen();
  int GetTextBuf(char* buffer, int bufSize);
  void SetTextBuf(const char* buffer);
  // The text kept while the control has no window (the Unicode layer drops
  // it when it recreates a window with wide text).
  std::string& StoredText() { return text_; }

  // --- hints and help ---------------------------------------------------------
  const std::string& GetHint() const { return hint_; }
  void SetHint(const std::string& v) { hint_ = v; }
  bool IsHintStored() const;
  bool GetShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  bool IsShowHintStored() const { return !parentShowHint_; }
  bool GetParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool v);
  int GetHelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; }
  bool IsHelpContextStored() const;
  TPopupMenu* GetPopupMenu() const { return popupMenu_; }
  virtual TPopupMenu* GetPopupMenuForContext() { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* v);

  // --- actions -----------------------------------------------------------------
  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* v);
  TControlActionLink* GetActionLink() const { return actionLink_; }
  virtual void ActionChange(TObject* sender, bool checkDefaults);
  virtual TClass GetActionLinkClass();
  bool IsEnabledStored() const;
  bool IsVisibleStored() const;
  bool IsOnClickStored() const;

  // --- painting ---------------------------------------------------------------
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void InvalidateControl(bool isVisible, bool isOpaque);
  virtual HPALETTE GetPalette() { return nullptr; }
  void BringToFront() { SetZOrder(true); }
  void SendToBack() { SetZOrder(false); }
  virtual void SetZOrder(bool topMost);
  // True when the control shows on screen: it and all its parents visible.
  bool IsControlVisible() const;

  // --- mouse and keyboard -----------------------------------------------------
  bool GetMouseCapture() const;
  void SetMouseCapture(bool v);
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DoContextPopup(POINT mousePos, bool& handled);
  // The mouse wheel. The system sends WM_MOUSEWHEEL to the focused window;
  // its control hands it to MouseWheelHandler, which gives it to the form's
  // focused control as CM_MOUSEWHEEL (a control on no form: to itself).
  // CM_MOUSEWHEEL asks DoMouseWheel and, when that does not handle it,
  // goes on to the parent, up to the form. A turn nobody handled goes to
  // the window's own procedure as the system sent it.
  virtual void MouseWheelHandler(TMessage& message);
  // OnMouseWheel; unhandled, the turns add up and each whole notch
  // (WHEEL_DELTA) calls DoMouseWheelDown (towards the user) or
  // DoMouseWheelUp. True when handled.
  virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, POINT mousePos);
  virtual bool DoMouseWheelDown(TShiftState shift, POINT mousePos);
  virtual bool DoMouseWheelUp(TShiftState shift, POINT mousePos);
  // Tells the form that holds the control to end modes (drops, drags).
  void SendCancelMode(TControl* sender);
  // Dragging (controls/DragDrop.h; docking: DragKind dkDock, Docking.h). BeginDrag starts
  // a drag of this control: at once when immediate, else once the cursor
  // has moved threshold pixels (-1: Mouse().GetDragThreshold()). With
  // DragMode dmAutomatic a press of the left button calls BeginAutoDrag.
  void BeginDrag(bool immediate, int threshold = -1);
  virtual void BeginAutoDrag();
  bool Dragging() const;
  // Ends this control's drag: dropped where the cursor is, or cancelled.
  void EndDrag(bool drop);
  virtual void DragCanceled() {}
  // CM_DRAG for this control as the target: DragOver or DragDrop.
  virtual void DoDragMsg(TMessage& m);
  virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);
  virtual void DragDrop(TObject* source, int x, int y);
  virtual void DoStartDrag(TObject*& dragObject);
  virtual void DoEndDrag(TObject* target, int x, int y);

  // --- scaling (controls/Scaling.cpp) ------------------------------------------
  // Scales the control by m/d: its edges (its width and height through its
  // right and bottom edges, so neighbours stay flush; a fixed width or
  // height stays), its constraints, and its font unless it takes its
  // parent's.
  virtual void ChangeScale(int m, int d);
  void ScaleConstraints(int m, int d);

  // --- docking (controls/Docking.h) -------------------------------------------
  // The site the control is docked in (its floating host while it floats),
  // or null.
  TWinControl* GetHostDockSite() const { return hostDockSite_; }
  void SetHostDockSite(TWinControl* v);
  // True while the control sits alone in a floating host of its own.
  bool GetFloating() const;
  // The class of the host made when the control floats (null: the default
  // floating form).
  TClass GetFloatingDockSiteClass() const { return floatingDockSiteClass_; }
  void SetFloatingDockSiteClass(TClass v) { floatingDockSiteClass_ = v; }
  // The size the control takes when it floats (its size when it docked).
  int GetUndockWidth() const { return undockWidth_ > 0 ? undockWidth_ : width_; }
  void SetUndockWidth(int v) { undockWidth_ = v; }
  int GetUndockHeight() const { return undockHeight_ > 0 ? undockHeight_ : height_; }
  void SetUndockHeight(int v) { undockHeight_ = v; }
  // Docks into newDockSite beside dropControl on controlSide (null site:
  // floats where the control is); the old site is asked first. False when
  // the old site refused.
  bool ManualDock(TWinControl* newDockSite, TControl* dropControl = nullptr, TAlign controlSide = alNone);
  // Floats in a new host whose client area is screenRect.
  bool ManualFloat(const RECT& screenRect);
  // Leaves the old site for newDockSite (null: none) with the bounds rect
  // (the new site's client coordinates).
  virtual void Dock(TWinControl* newDockSite, const RECT& rect);
  virtual void DoDock(TWinControl* newDockSite, RECT& rect);
  // The side of the control nearest to a point of its client area.
  TAlign GetDockEdge(POINT mousePos);
  // The floating host: FloatingDockSiteClass (or the default) owned by the
  // control's owner, its client area at bounds (screen).
  virtual TWinControl* CreateFloatingDockSite(const RECT& bounds);
  virtual void DoStartDock(TObject*& dragObject);
  virtual void DoEndDock(TObject* target, int x, int y);

  // Events.
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnResize;
  TCanResizeEvent OnCanResize;
  TConstrainedResizeEvent OnConstrainedResize;
  TContextPopupEvent OnContextPopup;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TStartDragEvent OnStartDrag;
  TEndDragEvent OnEndDrag;
  TStartDragEvent OnStartDock;
  TEndDragEvent OnEndDock;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TNotifyEvent GetOnClick() const { return OnClick; }
  void SetOnClick(TNotifyEvent e) { OnClick = e; }
  TNotifyEvent GetOnDblClick() const { return OnDblClick; }
  void SetOnDblClick(TNotifyEvent e) { OnDblClick = e; }
  TMouseEvent GetOnMouseDown() const { return OnMouseDown; }
  void SetOnMouseDown(TMouseEvent e) { OnMouseDown = e; }
  TMouseMoveEvent GetOnMouseMove() const { return OnMouseMove; }
  void SetOnMouseMove(TMouseMoveEvent e) { OnMouseMove = e; }
  TMouseEvent GetOnMouseUp() const { return OnMouseUp; }
  void SetOnMouseUp(TMouseEvent e) { OnMouseUp = e; }
  TNotifyEvent GetOnResize() const { return OnResize; }
  void SetOnResize(TNotifyEvent e) { OnResize = e; }
  TCanResizeEvent GetOnCanResize() const { return OnCanResize; }
  void SetOnCanResize(TCanResizeEvent e) { OnCanResize = e; }
  TConstrainedResizeEvent GetOnConstrainedResize() const { return OnConstrainedResize; }
  void SetOnConstrainedResize(TConstrainedResizeEvent e) { OnConstrainedResize = e; }
  TContextPopupEvent GetOnContextPopup() const { return OnContextPopup; }
  void SetOnContextPopup(TContextPopupEvent e) { OnContextPopup = e; }
  TDragOverEvent GetOnDragOver() const { return OnDragOver; }
  void SetOnDragOver(TDragOverEvent e) { OnDragOver = e; }
  TDragDropEvent GetOnDragDrop() const { return OnDragDrop; }
  void SetOnDragDrop(TDragDropEvent e) { OnDragDrop = e; }
  TStartDragEvent GetOnStartDrag() const { return OnStartDrag; }
  void SetOnStartDrag(TStartDragEvent e) { OnStartDrag = e; }
  TEndDragEvent GetOnEndDrag() const { return OnEndDrag; }
  void SetOnEndDrag(TEndDragEvent e) { OnEndDrag = e; }
  TStartDragEvent GetOnStartDock() const { return OnStartDock; }
  void SetOnStartDock(TStartDragEvent e) { OnStartDock = e; }
  TEndDragEvent GetOnEndDock() const { return OnEndDock; }
  void SetOnEndDock(TEndDragEvent e) { OnEndDock = e; }
  TMouseWheelEvent GetOnMouseWheel() const { return OnMouseWheel; }
  void SetOnMouseWheel(TMouseWheelEvent e) { OnMouseWheel = e; }
  TMouseWheelUpDownEvent GetOnMouseWheelDown() const { return OnMouseWheelDown; }
  void SetOnMouseWheelDown(TMouseWheelUpDownEvent e) { OnMouseWheelDown = e; }
  TMouseWheelUpDownEvent GetOnMouseWheelUp() const { return OnMouseWheelUp; }
  void SetOnMouseWheelUp(TMouseWheelUpDownEvent e) { OnMouseWheelUp = e; }

  // --- stored forms -------------------------------------------------------------
  bool HasParent() override { return true; }
  TComponent* GetParentComponent() override;
  void SetParentComponent(TComponent* value) override;
  void ReadState(TReader* reader) override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

  // --- message handlers (virtual; "inherited" is the ancestor's handler) --------
  virtual void WMLButtonDown(TMessage& m);
  virtual void WMLButtonDblClk(TMessage& m);
  virtual void WMRButtonDown(TMessage& m);
  virtual void WMRButtonDblClk(TMessage& m);
  virtual void WMMButtonDown(TMessage& m);
  virtual void WMMButtonDblClk(TMessage& m);
  virtual void WMLButtonUp(TMessage& m);
  virtual void WMRButtonUp(TMessage& m);
  virtual void WMMButtonUp(TMessage& m);
  virtual void WMMouseMove(TMessage& m);
  virtual void WMCancelMode(TMessage& m);
  virtual void WMWindowPosChanged(TMessage& m);
  virtual void WMContextMenu(TMessage& m);
  virtual void WMMouseWheel(TMessage& m);
  virtual void CMMouseWheel(TMessage& m);
  virtual void CMVisibleChanged(TMessage& m);
  virtual void CMEnabledChanged(TMessage& m);
  virtual void CMFontChanged(TMessage& m);
  virtual void CMColorChanged(TMessage& m);
  virtual void CMParentFontChanged(TMessage& m);
  virtual void CMParentColorChanged(TMessage& m);
  virtual void CMParentShowHintChanged(TMessage& m);
  virtual void CMParentBiDiModeChanged(TMessage& m);
  virtual void CMParentCtl3DChanged(TMessage& m);
  virtual void CMHitTest(TMessage& m);
  virtual void CMMouseEnter(TMessage& m);
  virtual void CMMouseLeave(TMessage& m);
  virtual void CMHintShow(TMessage& m);
  virtual void CMDesignHitTest(TMessage& m);
  // The system's colours changed (a window control passes it on to its
  // children); nothing of its own.
  virtual void CMSysColorChange(TMessage& m);

 protected:
  void Destroy() override;
  virtual void Changed();
  virtual void DoMouseDown(TMessage& m, TMouseButton button, TShiftState shift);
  virtual void DoMouseUp(TMessage& m, TMouseButton button);
  virtual void FontChanged(TObject* sender);
  virtual void DoConstraintsChange(TObject* sender);
  virtual void DoActionChange(TObject* sender);
  virtual void SetZOrderPosition(int position);
  virtual void VisibleChanging() {}
  void DoConstrainedResize(int& newWidth, int& newHeight);
  bool DoCanResize(int& newWidth, int& newHeight);
  bool DoCanAutoSize(int& newWidth, int& newHeight);
  void SetParentValue(TWinControl* parent) { parent_ = parent; }

 private:
  friend class TWinControl;

  TWndMethod windowProc_;
  TWinControl* parent_ = nullptr;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  TAlign align_ = alNone;
  TAnchors anchors_{akLeft, akTop};
  POINT anchorRules_{};
  POINT originalParentSize_{};
  bool anchorMove_ = false;
  bool autoSize_ = false;
  TSizeConstraints* constraints_ = nullptr;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clWindow;
  bool parentColor_ = true;
  TFont* font_ = nullptr;
  bool parentFont_ = true;
  TControlStyle controlStyle_{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState controlState_;
  TCursor cursor_ = crDefault;
  TCursor dragCursor_ = crDrag;
  TDragKind dragKind_ = dkDrag;
  TDragMode dragMode_ = dmManual;
  bool ctl3D_ = true;
  bool parentCtl3D_ = true;
  TBiDiMode biDiMode_ = bdLeftToRight;
  bool parentBiDiMode_ = true;
  std::string text_;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  int helpContext_ = 0;
  TPopupMenu* popupMenu_ = nullptr;
  TControlActionLink* actionLink_ = nullptr;
  TWinControl* hostDockSite_ = nullptr;
  TClass floatingDockSiteClass_ = nullptr;
  int undockWidth_ = 0;
  int undockHeight_ = 0;
  // Wheel turns not yet a whole notch.
  int wheelAccumulator_ = 0;
};

// The control a window belongs to (the class library's or the Unicode
// layer's), or null.
TWinControl* FindControl(HWND window);
// The control at a screen point: the window's control, or its windowless
// child under the point.
TControl* FindDragTarget(POINT pos, bool allowDisabled);
// The cursor handle of a cursor value: the screen's (Screen->Cursors), or
// the system cursor of a stock value; null for crNone and unknown values.
HCURSOR CursorHandleOf(TCursor cursor);
// The control that holds the mouse capture, windowless ones included.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);

// The form a control sits on (its top-level parent when that is a form).
TCustomForm* GetParentForm(TControl* control);
// As GetParentForm, but raises EInvalidOperation "Control 'X' has no parent
// window" when there is none.
TCustomForm* ValidParentForm(TControl* control);
// The top-level parent of a control when it is a form, as a window control.
TWinControl* GetParentFormControl(TControl* control);

// Mouse wheel settings, drag settings and the cursor position (the
// platform's Mouse).
class TMouse {
 public:
  int GetWheelScrollLines() const;
  POINT GetCursorPos() const;
  void SetCursorPos(POINT p) const;
  HWND GetCapture() const { return ::GetCapture(); }
  void SetCapture(HWND w) const;
  // How an automatic drag starts: at once, or after DragThreshold pixels.
  bool GetDragImmediate() const { return dragImmediate_; }
  void SetDragImmediate(bool v) { dragImmediate_ = v; }
  int GetDragThreshold() const { return dragThreshold_; }
  void SetDragThreshold(int v) { dragThreshold_ = v; }

 private:
  bool dragImmediate_ = true;
  int dragThreshold_ = 5;
};
TMouse& Mouse();
