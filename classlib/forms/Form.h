// TCustomForm and TForm: top-level windows built from stored forms.
//
// Creation. A form class with a stored form ("TFORMMAIN", the class name in
// upper case, in the module's RCDATA) is made by its (Owner) constructor,
// New<TFormMain>(owner) or Application->CreateForm. The stored form is read
// in AfterConstruction, once the object is whole (the reader binds the
// final class's fields and calls its overrides), so the C++ constructors of
// all its classes have run by then: under the global name-space lock, with
// fsCreating in FormState, the stored forms of its classes are read from the
// one below TForm down to its own (InitInheritedComponent); none raises
// EResNotFound "Resource %s not found". OnCreate follows the reading: with
// OldCreateOrder still inside the lock, without it at the end of
// AfterConstruction. Work that needs the read form goes in OnCreate (or in
// an AfterConstruction override after inherited). OldCreateOrder also places
// OnDestroy: before the descendants' Destroy (false, in BeforeDestruction)
// or after it (true). TForm(owner, 0) is the platform's CreateNew: an empty
// form, no stored form read.
//
// Windows. Every form without a parent is owned by the application window
// (which shows the taskbar button), so forms have no taskbar buttons of
// their own and minimising the main form minimises the application.
#pragma once

#include <string>
#include <vector>

#include "classlib/Menus.h"
#include "classlib/forms/FormTypes.h"
#include "classlib/forms/ScrollingWinControl.h"

class TControlCanvas;
class TForm;

class TCustomForm : public TScrollingWinControl {
  DECLARE_CLASS(TCustomForm, TScrollingWinControl)

  // The platform's CreateNew: an empty form.
  TCustomForm(TComponent* owner, int dummy);
  // Creates the form and reads its stored form (see above).
  explicit TCustomForm(TComponent* owner);
  // The same with the stored forms read from the class below rootAncestor
  // (a base class of forms that has no stored form of its own, as the
  // Unicode layer's wide form).
  TCustomForm(TComponent* owner, TClass rootAncestor);
  ~TCustomForm() override { DestroyUnfinished(); }

  void AfterConstruction() override;
  void BeforeDestruction() override;

  // --- showing and closing ------------------------------------------------------
  void Show();
  void Hide();
  void SetVisible(bool v);
  // Runs a local loop until ModalResult is set; raises EInvalidOperation
  // "Cannot make a visible window modal" when the form is visible, disabled
  // or modal already.
  TModalResult ShowModal();
  // CloseQuery, then OnClose with caHide (caNone for a form that stays);
  // the action decides: the main form ends the application, caHide hides,
  // caMinimize minimises, caFree releases. A modal form gets mrCancel.
  void Close();
  virtual bool CloseQuery();
  // Frees the form once the messages queued before it are handled (posts
  // CM_RELEASE to itself).
  void Release();
  TModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult v) { modalResult_ = v; }
  TFormState GetFormState() const { return formState_; }
  void SetFormState(TFormState v) { formState_ = v; }

  // --- focus ----------------------------------------------------------------------
  bool GetActive() const { return active_; }
  TWinControl* GetActiveControl() const { return activeControl_; }
  // Raises EInvalidOperation "Cannot focus a disabled or invisible window"
  // for a control that is not on this form or cannot take the focus.
  void SetActiveControl(TWinControl* control);
  void SetFocus() override;

  // --- scaling (forms/FormScale.cpp) ----------------------------------------------
  // The controls, the client area (the borders stay), the constraints and
  // the form's font by m/d; the form stays where it is. ScaleBy is the same.
  void ChangeScale(int m, int d) override;
  void ScaleBy(int m, int d) override { ChangeScale(m, d); }
  // What the Controls unit asks of the form (its hooks).
  bool SetFocusedControl(TWinControl* control);
  void FocusControl(TWinControl* control);
  void DefocusControl(TWinControl* control, bool removing);
  virtual bool WantChildKey(TControl* child, TMessage& message);
  void SendCancelMode(TControl* sender);
  // The platform's TWinControl.SelectNext, on the form: the next (previous)
  // control in tab order after current takes the focus.
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
  // OnShortCut, then the form's Menu, then the action lists among its
  // components (and theirs) take the key as a shortcut.
  virtual bool IsShortCut(TMessage& keyMessage);
  // A wheel turn goes to the control that has the form's focus (CM_MOUSEWHEEL,
  // which climbs from there up to the form).
  void MouseWheelHandler(TMessage& message) override;
  // The form's key events see its controls' keys first (the Controls unit
  // asks through its KeyPreview hook); a key set to 0 there goes no further.
  bool GetKeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  // Updates the actions of the form and of its action-client controls.
  virtual void UpdateActions();

  // --- appearance -------------------------------------------------------------------
  TFormBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle v);
  TBorderIcons GetBorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons v);
  int GetBorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);
  TPosition GetPosition() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  TFormStyle GetFormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle v);
  TWindowState GetWindowState() const { return windowState_; }
  void SetWindowState(TWindowState v);
  // The client size also before the window exists (from the window styles
  // the form will have).
  RECT GetClientRect() override;
  // Stored-form size: Width/Height with AutoScroll or a scroll range,
  // ClientWidth/ClientHeight otherwise.
  bool IsClientSizeStored() const { return !IsFormSizeStored(); }
  bool IsFormSizeStored() const;
  // While the stored form is read, kept until its end (the border style may
  // come later); then as TControl's.
  void SetClientWidth(int v);
  void SetClientHeight(int v);
  // Kept from the stored form; the form is never scaled (see docs).
  int GetPixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int v);
  int GetTextHeight() const { return textHeight_; }
  void SetTextHeight(int v) { textHeight_ = v; }
  bool GetScaled() const { return scaled_; }
  void SetScaled(bool v) { scaled_ = v; }
  bool GetOldCreateOrder() const { return oldCreateOrder_; }
  void SetOldCreateOrder(bool v) { oldCreateOrder_ = v; }
  // Layered windows.
  bool GetAlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool v);
  uint8_t GetAlphaBlendValue() const { return alphaBlendValue_; }
  void SetAlphaBlendValue(uint8_t v);
  bool GetTransparentColor() const { return transparentColor_; }
  void SetTransparentColor(bool v);
  TColor GetTransparentColorValue() const { return transparentColorValue_; }
  void SetTransparentColorValue(TColor v);
  // The menu bar. Raises EInvalidOperation "Menu 'X' is already being used
  // by another form" for a menu another form shows; a dialog shows none.
  TMainMenu* GetMenu() const { return menu_; }
  void SetMenu(TMainMenu* v);
  // --- MDI (forms/FormMDI.cpp) ---------------------------------------------------------
  // An fsMDIForm holds its children in an MDI client window ("MDICLIENT",
  // subclassed: it erases and paints with the form's brush and controls) in
  // the area its aligned controls leave; null otherwise and before the
  // window. An fsMDIChild is made by the main form's client (WM_MDICREATE);
  // without an MDI main form its window cannot be made: EInvalidOperation
  // "Cannot create form. No MDI forms are currently active". It is always
  // visible: hiding it raises EInvalidOperation "Cannot hide an MDI Child
  // Form".
  HWND GetClientHandle() const { return clientHandle_; }
  // The MDI children of an MDI form with a client window, in the screen's
  // order (the most recently active first); null for an index out of range.
  int GetMDIChildCount() const;
  TForm* GetMDIChildren(int index) const;
  TForm* GetActiveMDIChild() const;
  TCanvas* GetCanvas() const;
  HPALETTE GetPalette() override { return nullptr; }

  // --- events ------------------------------------------------------------------------
  TNotifyEvent OnActivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnHide;
  TNotifyEvent OnPaint;
  TShortCutEvent OnShortCut;
  TNotifyEvent OnShow;
  TNotifyEvent GetOnActivate() const { return OnActivate; }
  void SetOnActivate(TNotifyEvent e) { OnActivate = e; }
  TCloseEvent GetOnClose() const { return OnClose; }
  void SetOnClose(TCloseEvent e) { OnClose = e; }
  TCloseQueryEvent GetOnCloseQuery() const { return OnCloseQuery; }
  void SetOnCloseQuery(TCloseQueryEvent e) { OnCloseQuery = e; }
  TNotifyEvent GetOnCreate() const { return OnCreate; }
  void SetOnCreate(TNotifyEvent e) { OnCreate = e; }
  TNotifyEvent GetOnDeactivate() const { return OnDeactivate; }
  void SetOnDeactivate(TNotifyEvent e) { OnDeactivate = e; }
  TNotifyEvent GetOnDestroy() const { return OnDestroy; }
  void SetOnDestroy(TNotifyEvent e) { OnDestroy = e; }
  TNotifyEvent GetOnHide() const { return OnHide; }
  void SetOnHide(TNotifyEvent e) { OnHide = e; }
  TNotifyEvent GetOnPaint() const { return OnPaint; }
  void SetOnPaint(TNotifyEvent e) { OnPaint = e; }
  TShortCutEvent GetOnShortCut() const { return OnShortCut; }
  void SetOnShortCut(TShortCutEvent e) { OnShortCut = e; }
  TNotifyEvent GetOnShow() const { return OnShow; }
  void SetOnShow(TNotifyEvent e) { OnShow = e; }

  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);
  virtual void Activate();
  virtual void Deactivate();
  virtual void Paint();

  // --- window and messages ------------------------------------------------------------
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void CreateWindowHandle(const TCreateParams& params) override;
  void DestroyWindowHandle() override;
  // An MDI form's messages end in DefFrameProc (WM_SIZE in DefWindowProc:
  // the client takes the area the aligned controls leave, not all of it).
  void DefaultHandler(TMessage& m) override;
  void AlignControls(TControl* control, RECT& rect) override;
  void PaintWindow(HDC dc) override;
  void Dispatch(TMessage& m) override;
  void ReadState(TReader* reader) override;
  void Loaded() override;
  void DefineProperties(TFiler* filer) override;
  // Its controls, then (for the form being written) the components it owns
  // that no parent writes: menus, timers, every non-visual component.
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void Notification(TComponent* component, TOperation operation) override;

  virtual void WMNCCreate(TMessage& m);
  void WMDestroy(TMessage& m) override;
  virtual void WMActivate(TMessage& m);
  virtual void WMClose(TMessage& m);
  virtual void WMSysCommand(TMessage& m);
  virtual void WMQueryNewPalette(TMessage& m);
  virtual void WMPaletteChanged(TMessage& m);
  virtual void WMNCCalcSize(TMessage& m);
  virtual void WMNCPaint(TMessage& m);
  // The menu bar: a command (LParam 0) clicks the menu's item; a sub-menu
  // about to open updates and clicks its item; a selected item's long hint
  // becomes the application's hint; owner-drawn items are drawn and
  // measured by their items. Pop-up menus get theirs through the pop-up
  // list's window.
  void WMCommand(TMessage& m) override;
  virtual void WMInitMenuPopup(TMessage& m);
  virtual void WMMenuSelect(TMessage& m);
  void WMDrawItem(TMessage& m) override;
  void WMMeasureItem(TMessage& m) override;
  // A menu loop starting ends the modes of the active control (drops,
  // drags) first.
  virtual void WMEnterMenuLoop(TMessage& m);
  // An MDI child becomes the active form (focus to its active control) or
  // stops being it.
  virtual void WMMDIActivate(TMessage& m);
  // A size from outside (the user's border drag, another program) keeps to
  // the constraints and OnCanResize as SetBounds does. Not virtual: a
  // descendant adds to it by taking the message in its Dispatch first and
  // passing it on, which must reach this one and not come back to it.
  void WMWindowPosChanging(TMessage& m);
  // The window takes the new reading order; menus that follow the form's
  // BiDiMode follow it.
  void CMBiDiModeChanged(TMessage& m) override;
  virtual void CMActivate(TMessage& m);
  virtual void CMDeactivate(TMessage& m);
  virtual void CMRelease(TMessage& m);
  virtual void CMActionExecute(TMessage& m);
  virtual void CMActionUpdate(TMessage& m);
  void WMPaint(TMessage& m) override;
  void WMSize(TMessage& m) override;
  void CMDialogKey(TMessage& m) override;
  void CMShowingChanged(TMessage& m) override;

 protected:
  void Destroy() override;

 private:
  void CreateNewForm();
  void CreateMDIClient();
  void ClientWndProc(TMessage& m);
  void InitFromStoredForm();
  void SetActive(bool v);
  void SetWindowFocus();
  void SetLayeredAttribs();
  void CloseModal();
  // True when no further focus change happened while the message was sent.
  bool SendFocusMessage(HWND window, UINT msg);
  void PlaceOnShow();
  bool PaletteChanged(bool foreground);

  TFormState formState_;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  int borderWidth_ = 0;
  TPosition position_ = poDesigned;
  TFormStyle formStyle_ = fsNormal;
  TWindowState windowState_ = wsNormal;
  TModalResult modalResult_ = mrNone;
  bool active_ = false;
  bool keyPreview_ = false;
  bool oldCreateOrder_ = false;
  bool scaled_ = true;
  int pixelsPerInch_ = 96;
  int textHeight_ = 0;
  bool alphaBlend_ = false;
  uint8_t alphaBlendValue_ = 255;
  bool transparentColor_ = false;
  TColor transparentColorValue_ = 0;
  TMainMenu* menu_ = nullptr;
  HWND clientHandle_ = nullptr;
  WNDPROC clientInstance_ = nullptr;
  WNDPROC defClientProc_ = nullptr;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  TControlCanvas* canvas_ = nullptr;
  // Set by the (owner) constructor: AfterConstruction reads the stored form.
  bool initPending_ = false;
  TClass rootAncestor_ = nullptr;
  // ClientWidth/ClientHeight read from the stored form, applied at its end.
  int readClientWidth_ = 0;
  int readClientHeight_ = 0;
};

class TForm : public TCustomForm {
  DECLARE_CLASS(TForm, TCustomForm)

  TForm(TComponent* owner, int dummy) : TCustomForm(owner, dummy) {}
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
  TForm(TComponent* owner, TClass rootAncestor) : TCustomForm(owner, rootAncestor) {}

  // The MDI client's own arrangements; each does nothing unless the form is
  // an MDI form with its client window.
  void ArrangeIcons();
  void Cascade();
  // Side by side (tbVertical) or one above the other (tbHorizontal).
  void Tile();
  // Activates the next (previous) child.
  void Next();
  void Previous();
  TTileMode GetTileMode() const { return tileMode_; }
  void SetTileMode(TTileMode v) { tileMode_ = v; }

 private:
  TTileMode tileMode_ = tbHorizontal;
};

// The form class a class reference creates, checked.
using TFormClass = TClass;
