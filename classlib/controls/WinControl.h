// TWinControl: a control with a window of its own.
//
// Creation: CreateHandle -> CreateWnd fills the parameters (virtual
// CreateParams), registers the window class with InitWndProc as its first
// procedure, sets CreationControl and calls the virtual CreateWindowHandle.
// InitWndProc, on the window's first message, gives the window to
// CreationControl: WindowHandle, the MainWndProc thunk, a child's id, the two
// window properties (control atom first). Messages then run
// thunk -> MainWndProc -> WindowProc -> WndProc -> Dispatch -> handler ->
// DefaultHandler -> CallWindowProcA(DefWndProc).
#pragma once

#include <string>
#include <vector>

#include "classlib/controls/Control.h"

class IDockManager;
class TDragDockObject;

class TWinControl : public TControl {
  DECLARE_CLASS(TWinControl, TControl)

  explicit TWinControl(TComponent* owner);
  ~TWinControl() override { DestroyUnfinished(); }
  // A control placed in a window that is not a class-library control.
  static TWinControl* CreateParented(TClass cls, HWND parentWindow);

  // --- window ------------------------------------------------------------------
  // The window, created on first use (parents first).
  HWND GetHandle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded();
  // The window as it is; set by InitWndProc and by CreateWindowHandle.
  HWND GetWindowHandle() const { return handle_; }
  void SetWindowHandle(HWND h) { handle_ = h; }
  // The procedure that unhandled messages go to (the subclassed system
  // class's, or DefWindowProcA).
  WNDPROC GetDefWndProc() const { return defWndProc_; }
  void SetDefWndProc(WNDPROC p) { defWndProc_ = p; }
  // The thunk that Windows calls: MainWndProc of this control.
  WNDPROC GetObjectInstance() const { return objectInstance_; }
  HWND GetParentWindow() const { return parentWindow_; }
  void SetParentWindow(HWND w);

  virtual void CreateParams(TCreateParams& params);
  // Takes the window class of a system class (BUTTON, LISTBOX...) so that
  // the control subclasses it; DefWndProc becomes that class's procedure.
  void CreateSubClass(TCreateParams& params, const char* controlClassName);
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWindowHandle();
  virtual void CreateWnd();
  virtual void DestroyWnd();
  virtual void CreateHandle();
  // Destroys the windows of this control and its children, keeping their
  // state (text, bounds, visibility) for the next CreateHandle.
  void DestroyHandle();
  // Destroys and re-creates the window (CM_RECREATEWND) when there is one.
  void RecreateWnd();
  void UpdateControlState();
  virtual void UpdateShowing();
  bool GetShowing() const { return showing_; }
  void UpdateBounds();

  // The window procedure the thunk calls; every exception stops here and
  // goes to the application's HandleException.
  void MainWndProc(TMessage& message);
  // The form's part of WM_SETFOCUS and WM_KILLFOCUS, for every window of the
  // control (a combo box's edit and list too): true when the message must go
  // no further.
  bool FocusMessageStops(const TMessage& m);
  void WndProc(TMessage& message) override;
  void Dispatch(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

  // --- children ---------------------------------------------------------------
  int GetControlCount() const { return static_cast<int>(controls_.size()); }
  // Raises EListError "List index out of bounds (%d)" for a bad index.
  TControl* GetControl(int index) const {
    if (index < 0 || index >= GetControlCount()) TList::Error(SListIndexError, index);
    return controls_[static_cast<size_t>(index)];
  }
  const std::vector<TControl*>& Controls() const { return controls_; }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool ContainsControl(TControl* control) const;
  // The topmost child at a client point: windowed ones first when allowed,
  // then windowless ones, each in reverse Z-order; CM_HITTEST decides.
  TControl* ControlAtPos(POINT pos, bool allowDisabled, bool allowWinControls = false);
  // Sends the message to each child until one answers with a non-zero result.
  void Broadcast(TMessage& message);
  void NotifyControls(UINT msg);
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  TComponent* GetChildOwner() override { return nullptr; }
  TComponent* GetChildParent() override { return this; }

  // --- alignment ----------------------------------------------------------------
  void DisableAlign();
  void EnableAlign();
  void Realign();
  bool AlignDisabled() const { return alignLevel_ != 0; }
  virtual void AlignControls(TControl* control, RECT& rect);
  virtual void AdjustClientRect(RECT& rect);
  void AlignControl(TControl* control);
  virtual void ControlsAligned() {}
  void AdjustSize() override;
  bool CanAutoSize(int& newWidth, int& newHeight) override;
  void SetBounds(int left, int top, int width, int height) override;
  RECT GetClientRect() override;
  POINT GetClientOrigin() override;
  void SetClientSize(POINT size) override;
  void UpdateAnchorRules() override;

  // --- painting -----------------------------------------------------------------
  TBrush* GetBrush() const { return brush_; }
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  // Paints the window (the default procedure's WM_PAINT) under the opaque
  // windowless children, then those children in Z-order.
  void PaintHandler(TMessage& m);
  // A WM_PAINT of a DoubleBuffered control: painted into a memory bitmap,
  // then copied in one go; false, with nothing painted, when no bitmap of
  // the client's size can be had (the paint then goes to the window).
  bool PaintBuffered(TMessage& m);
  virtual void PaintWindow(HDC dc);
  // Paints the visible windowless children from first onwards into dc.
  void PaintControls(HDC dc, TControl* first);
  bool GetDoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool v) { doubleBuffered_ = v; }
  void SetZOrder(bool topMost) override;

  // --- focus and keys ---------------------------------------------------------------
  bool GetTabStop() const { return tabStop_; }
  void SetTabStop(bool v);
  int GetTabOrder() const;
  void SetTabOrder(int v);
  // The windowed children in tab order.
  void GetTabOrderList(std::vector<TWinControl*>& list);
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent);
  virtual bool CanFocus();
  virtual bool Focused() const;
  virtual void SetFocus();
  // Hands the focus to another control when this one loses it for good.
  void RemoveFocus(bool removing);

  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent GetOnKeyDown() const { return OnKeyDown; }
  void SetOnKeyDown(TKeyEvent e) { OnKeyDown = e; }
  TKeyPressEvent GetOnKeyPress() const { return OnKeyPress; }
  void SetOnKeyPress(TKeyPressEvent e) { OnKeyPress = e; }
  TKeyEvent GetOnKeyUp() const { return OnKeyUp; }
  void SetOnKeyUp(TKeyEvent e) { OnKeyUp = e; }
  TNotifyEvent GetOnEnter() const { return OnEnter; }
  void SetOnEnter(TNotifyEvent e) { OnEnter = e; }
  TNotifyEvent GetOnExit() const { return OnExit; }
  void SetOnExit(TNotifyEvent e) { OnExit = e; }
  // The form's preview, then KeyDown/KeyPress/KeyUp: true when the key was
  // consumed (set to 0).
  bool DoKeyDown(TMessage& m);
  bool DoKeyPress(TMessage& m);
  bool DoKeyUp(TMessage& m);
  virtual void KeyDown(WORD& key, TShiftState shift);
  virtual void KeyPress(char& key);
  virtual void KeyUp(WORD& key, TShiftState shift);
  virtual void DoEnter();
  virtual void DoExit();

  // --- input method (kept; see docs) ------------------------------------------------
  TImeMode GetImeMode() const { return imeMode_; }
  void SetImeMode(TImeMode v) { imeMode_ = v; }
  const TImeName& GetImeName() const { return imeName_; }
  void SetImeName(const TImeName& v) { imeName_ = v; }

  // --- scaling and flipping (controls/Scaling.cpp) -----------------------------------
  // The children scaled first, then the control itself, alignment held
  // meanwhile.
  void ChangeScale(int m, int d) override;
  void ScaleControls(int m, int d);
  // Scales the children and the control's size by m/d; its place stays.
  virtual void ScaleBy(int m, int d);
  // Mirrors the children within the client area (alLeft and alRight, akLeft
  // and akRight trade places), and theirs with allLevels; the control then
  // hears CM_ALLCHILDRENFLIPPED.
  virtual void FlipChildren(bool allLevels);
  virtual void DoFlipChildren();

  // --- docking (controls/Docking.h) ------------------------------------------------
  // A dock site takes controls dragged with DragKind dkDock; with
  // UseDockManager its dock manager (CreateDockManager) lays them out.
  bool GetDockSite() const { return dockSite_; }
  void SetDockSite(bool v);
  bool GetUseDockManager() const { return useDockManager_; }
  void SetUseDockManager(bool v);
  IDockManager* GetDockManager() const { return dockManager_; }
  int GetDockClientCount() const { return static_cast<int>(dockClients_.size()); }
  // Raises EListError "List index out of bounds (%d)" for a bad index.
  TControl* GetDockClients(int index) const;
  // The manager for this site: a TDockTree while the control is a dock site
  // using a dock manager and has none yet, else the one it has.
  virtual IDockManager* CreateDockManager();
  // The site's part of a dock drag (DockOver fires OnDockOver, DockDrop
  // docks the control and fires OnDockDrop, GetSiteInfo OnGetSiteInfo,
  // DoUnDock OnUnDock: false when the handler keeps the control).
  virtual void DockOver(TDragDockObject* source, int x, int y, TDragState state, bool& accept);
  virtual void DockDrop(TDragDockObject* source, int x, int y);
  virtual void GetSiteInfo(TControl* client, RECT& influenceRect, POINT mousePos, bool& canDock);
  virtual bool DoUnDock(TWinControl* newTarget, TControl* client);
  // Where the dragged control would go: DockRect, DropAlign, DropOnControl.
  virtual void PositionDockRect(TDragDockObject* source);
  // A docked control arrives (it becomes a child) or leaves.
  virtual void DoAddDockClient(TControl* client, const RECT& rect);
  virtual void DoRemoveDockClient(TControl* client);
  TDockDropEvent OnDockDrop;
  TDockOverEvent OnDockOver;
  TGetSiteInfoEvent OnGetSiteInfo;
  TUnDockEvent OnUnDock;
  TDockDropEvent GetOnDockDrop() const { return OnDockDrop; }
  void SetOnDockDrop(TDockDropEvent e) { OnDockDrop = e; }
  TDockOverEvent GetOnDockOver() const { return OnDockOver; }
  void SetOnDockOver(TDockOverEvent e) { OnDockOver = e; }
  TGetSiteInfoEvent GetOnGetSiteInfo() const { return OnGetSiteInfo; }
  void SetOnGetSiteInfo(TGetSiteInfoEvent e) { OnGetSiteInfo = e; }
  TUnDockEvent GetOnUnDock() const { return OnUnDock; }
  void SetOnUnDock(TUnDockEvent e) { OnUnDock = e; }

  void SetParent(TWinControl* parent) override;
  TClass GetActionLinkClass() override;
  void ReadState(TReader* reader) override;
  void Loaded() override;

  // --- message handlers -------------------------------------------------------------
  virtual void WMPaint(TMessage& m);
  virtual void WMEraseBkgnd(TMessage& m);
  virtual void WMCommand(TMessage& m);
  virtual void WMNotify(TMessage& m);
  virtual void WMDrawItem(TMessage& m);
  virtual void WMMeasureItem(TMessage& m);
  virtual void WMDeleteItem(TMessage& m);
  virtual void WMCompareItem(TMessage& m);
  virtual void WMHScroll(TMessage& m);
  virtual void WMVScroll(TMessage& m);
  virtual void WMCharToItem(TMessage& m);
  virtual void WMVKeyToItem(TMessage& m);
  virtual void WMSize(TMessage& m);
  virtual void WMMove(TMessage& m);
  virtual void WMSetCursor(TMessage& m);
  virtual void WMSetFocus(TMessage& m);
  virtual void WMKillFocus(TMessage& m);
  virtual void WMKeyDown(TMessage& m);
  virtual void WMSysKeyDown(TMessage& m);
  virtual void WMKeyUp(TMessage& m);
  virtual void WMSysKeyUp(TMessage& m);
  virtual void WMChar(TMessage& m);
  virtual void WMNCDestroy(TMessage& m);
  virtual void WMNCHitTest(TMessage& m);
  virtual void WMDestroy(TMessage& m);
  // The system tells its top-level windows that its colours changed; the
  // window's control tells every control below it (CM_SYSCOLORCHANGE).
  virtual void WMSysColorChange(TMessage& m);
  void CMSysColorChange(TMessage& m) override;
  virtual void WMContextMenu(TMessage& m) override;
  virtual void CNKeyDown(TMessage& m);
  virtual void CNKeyUp(TMessage& m);
  virtual void CNChar(TMessage& m);
  virtual void CNSysKeyDown(TMessage& m);
  virtual void CNSysChar(TMessage& m);
  virtual void CMChildKey(TMessage& m);
  virtual void CMDialogKey(TMessage& m);
  virtual void CMDialogChar(TMessage& m);
  virtual void CMFocusChanged(TMessage& m);
  virtual void CMEnter(TMessage& m);
  virtual void CMExit(TMessage& m);
  virtual void CMRecreateWnd(TMessage& m);
  virtual void CMInvalidate(TMessage& m);
  virtual void CMShowingChanged(TMessage& m);
  virtual void CMShowHintChanged(TMessage& m);
  virtual void CMBiDiModeChanged(TMessage& m);
  virtual void CMCtl3DChanged(TMessage& m);
  virtual void CMColorChanged(TMessage& m) override;
  virtual void CMFontChanged(TMessage& m) override;
  virtual void CMEnabledChanged(TMessage& m) override;
  virtual void CMVisibleChanged(TMessage& m) override;
  virtual void CMCursorChanged(TMessage& m);
  // CM_DRAG: dmFindTarget answers the windowless child under the point or
  // the control itself; the others go to the target's DoDragMsg.
  virtual void CMDrag(TMessage& m);
  virtual void WMWindowPosChanged(TMessage& m) override;

 protected:
  void Destroy() override;
  // True when a child of this control took the mouse message.
  bool IsControlMouseMsg(TMessage& m);
  // Sends msg + CN_BASE to the control of window; false when the window is
  // not a control's.
  bool DoControlMsg(HWND window, TMessage& m);
  HWND PrecedingWindow(TWinControl* control);

 private:
  friend class TControl;
  friend LRESULT CALLBACK InitWndProc(HWND, UINT, WPARAM, LPARAM);

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = nullptr;
  WNDPROC objectInstance_ = nullptr;
  HWND parentWindow_ = nullptr;
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  TBrush* brush_ = nullptr;
  int alignLevel_ = 0;
  bool showing_ = false;
  bool tabStop_ = false;
  bool doubleBuffered_ = false;
  bool dockSite_ = false;
  TImeMode imeMode_ = imDontCare;
  TImeName imeName_;
  bool useDockManager_ = false;
  IDockManager* dockManager_ = nullptr;
  std::vector<TControl*> dockClients_;
  void UpdateDockManager();
  void ForgetDockClient(TControl* client);
};

// The control whose window is being created; InitWndProc hands it the
// window. The Unicode layer sets it around its own CreateWindowExW.
extern TWinControl* CreationControl;

// The first window procedure of every class the class library registers.
LRESULT CALLBACK InitWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// The two window-property atoms (added at start-up, deleted after every
// later unit's finalisation).
ATOM ControlAtom();
ATOM WindowAtom();
struct TControlAtomNames {
  std::string WindowAtom;   // the library prefix and the process id
  std::string ControlAtom;  // "ControlOfs" with module instance and thread id
};
// The one function that builds both names; the Unicode layer looks the atoms
// up by these names with GlobalFindAtomA.
TControlAtomNames ControlAtomNames();
// The module that holds TWinControl (and registers the window classes).
HINSTANCE ControlsInstance();
