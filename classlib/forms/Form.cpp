#include "classlib/forms/Form.h"

#include <algorithm>

#include "classlib/ActnList.h"
#include "classlib/classes/Filer.h"
#include "classlib/forms/Application.h"
#include "classlib/forms/Screen.h"

DEFINE_ENUM_TYPE(TFormBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin")
DEFINE_ENUM_TYPE(TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp")
DEFINE_ENUM_TYPE(TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                 "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter")
DEFINE_ENUM_TYPE(TFormStyle, "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop")
DEFINE_ENUM_TYPE(TWindowState, "wsNormal", "wsMinimized", "wsMaximized")
DEFINE_ENUM_TYPE(TCloseAction, "caNone", "caHide", "caFree", "caMinimize")
DEFINE_ENUM_TYPE(TFormStateItem, "fsCreating", "fsVisible", "fsShowing", "fsModal", "fsCreatedMDIChild",
                 "fsActivated")

namespace {
// Counts focus changes: a focus message that started another change (an
// OnExit that moves the focus) ends the first one.
int gFocusCount = 0;

const char kCannotFocus[] = "Cannot focus a disabled or invisible window";

// The action lists among owner's components, and theirs, take the shortcut.
bool DispatchShortCut(TComponent* owner, TShortCut shortCut) {
  for (int i = 0; i < owner->GetComponentCount(); ++i) {
    TComponent* c = owner->GetComponent(i);
    if (auto* list = dynamic_cast<TCustomActionList*>(c)) {
      if (list->IsShortCut(shortCut)) return true;
    } else if (DispatchShortCut(c, shortCut)) {
      return true;
    }
  }
  return false;
}

// A control (and before it its children, last first) realises its palette;
// in the foreground the first one that has a palette ends the walk.
bool ControlPaletteChanged(TControl* control, bool foreground) {
  bool result = false;
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    for (int i = w->GetControlCount() - 1; i >= 0; --i) {
      if (foreground && result) return true;
      result = ControlPaletteChanged(w->GetControl(i), foreground) || result;
    }
  }
  if (foreground && result) return true;
  if (!control->GetVisible()) return result;
  HPALETTE palette = control->GetPalette();
  if (!palette) return result;
  auto* w = dynamic_cast<TWinControl*>(control);
  TWinControl* owner = w ? w : control->GetParent();
  if (!owner || !owner->HandleAllocated()) return true;
  HWND window = owner->GetWindowHandle();
  HDC dc = GetDC(window);
  HPALETTE old = SelectPalette(dc, palette, !foreground);
  if (RealizePalette(dc) != 0) control->Invalidate();
  SelectPalette(dc, old, TRUE);
  ReleaseDC(window, dc);
  return true;
}
}  // namespace

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TCustomForm)

TCustomForm::TCustomForm(TComponent* owner, int) : TScrollingWinControl(owner) { CreateNewForm(); }

TCustomForm::TCustomForm(TComponent* owner) : TScrollingWinControl(owner) {
  CreateNewForm();
  // The stored form is read once the whole object exists (AfterConstruction):
  // the reader binds fields and calls overrides of the final class.
  initPending_ = true;
  rootAncestor_ = TForm::StaticClass();
}

TCustomForm::TCustomForm(TComponent* owner, TClass rootAncestor) : TScrollingWinControl(owner) {
  CreateNewForm();
  initPending_ = true;
  rootAncestor_ = rootAncestor;
}

void TCustomForm::CreateNewForm() {
  if (Application) Application->TakeCreatingReference(this);
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
  SetBounds(0, 0, 320, 240);
  canvas_ = New<TControlCanvas>();
  canvas_->SetControl(this);
  pixelsPerInch_ = Screen ? Screen->GetPixelsPerInch() : 96;
  TControl::SetVisible(false);
  SetParentColor(false);
  SetParentFont(false);
  SetColor(clBtnFace);
  if (Screen) Screen->AddForm(this);
}

void TCustomForm::AfterConstruction() {
  inherited::AfterConstruction();
  if (initPending_) {
    initPending_ = false;
    InitFromStoredForm();
  }
  if (!oldCreateOrder_) DoCreate();
  if (formState_.Contains(fsActivated)) {
    formState_.Exclude(fsActivated);
    Activate();
  }
}

void TCustomForm::InitFromStoredForm() {
  if (ClassType() == rootAncestor_ || IsDesigning()) return;
  TGlobalNameSpace& ns = GlobalNameSpace();
  ns.BeginWrite();
  try {
    formState_.Include(fsCreating);
    bool found = false;
    try {
      found = InitInheritedComponent(this, rootAncestor_);
    } catch (...) {
      formState_.Exclude(fsCreating);
      throw;
    }
    formState_.Exclude(fsCreating);
    if (!found) throw EResNotFound("Resource " + ClassName() + " not found");
    if (oldCreateOrder_) DoCreate();
  } catch (...) {
    ns.EndWrite();
    throw;
  }
  ns.EndWrite();
}

void TCustomForm::BeforeDestruction() {
  inherited::BeforeDestruction();
  RemoveFixupReferences(this, "");
  if (formStyle_ != fsMDIChild) Hide();
  if (!oldCreateOrder_) DoDestroy();
}

void TCustomForm::Destroy() {
  if (oldCreateOrder_) DoDestroy();
  FreeAndNil(canvas_);
  if (Screen) Screen->RemoveForm(this);
  inherited::Destroy();
}

void TCustomForm::DoCreate() {
  if (OnCreate) {
    try {
      OnCreate(this);
    } catch (...) {
      if (!Application) throw;
      Application->HandleException(this);
    }
  }
  if (formState_.Contains(fsVisible)) SetVisible(true);
}

void TCustomForm::DoDestroy() {
  if (!OnDestroy) return;
  try {
    OnDestroy(this);
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

TCanvas* TCustomForm::GetCanvas() const { return canvas_; }

// --- showing and closing -------------------------------------------------------------

void TCustomForm::SetVisible(bool v) {
  // While the stored form is read, Visible waits for the end of OnCreate.
  if (formState_.Contains(fsCreating)) {
    if (v) formState_.Include(fsVisible);
    else formState_.Exclude(fsVisible);
    return;
  }
  // The MDI client shows its children; it has no hidden ones.
  if (!v && formStyle_ == fsMDIChild && GetVisible() && !GetParent() && !IsDesigning())
    throw EInvalidOperation("Cannot hide an MDI Child Form");
  TControl::SetVisible(v);
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::Release() { PostMessageA(GetHandle(), CM_RELEASE, 0, 0); }

void TCustomForm::CMRelease(TMessage&) { Free(); }

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (formState_.Contains(fsModal)) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  if (formStyle_ == fsMDIChild) action = borderIcons_.Contains(biMinimize) ? caMinimize : caNone;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->GetMainForm() == this) Application->Terminate();
  else if (action == caHide) Hide();
  else if (action == caMinimize) SetWindowState(wsMinimized);
  else Release();
}

TModalResult TCustomForm::ShowModal() {
  if (GetVisible() || !GetEnabled() || formState_.Contains(fsModal) || formStyle_ == fsMDIChild)
    throw EInvalidOperation("Cannot make a visible window modal");
  if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  formState_.Include(fsModal);
  HWND activeWindow = GetActiveWindow();
  int saveFocusCount = gFocusCount;
  Screen->saveFocusedList_.insert(Screen->saveFocusedList_.begin(), Screen->focusedForm_);
  Screen->focusedForm_ = this;
  TCursor saveCursor = Screen->GetCursor();
  Screen->SetCursor(crDefault);
  int saveCount = Screen->cursorCount_;
  TTaskWindowList windows = DisableTaskWindows(nullptr);
  TModalResult result = mrNone;
  auto restore = [&] {
    if (Screen->cursorCount_ == saveCount) Screen->SetCursor(saveCursor);
    else Screen->SetCursor(crDefault);
    EnableTaskWindows(windows);
    if (!Screen->saveFocusedList_.empty()) {
      Screen->focusedForm_ = Screen->saveFocusedList_.front();
      Screen->saveFocusedList_.erase(Screen->saveFocusedList_.begin());
    } else {
      Screen->focusedForm_ = nullptr;
    }
    if (activeWindow && IsWindow(activeWindow)) SetActiveWindow(activeWindow);
    gFocusCount = saveFocusCount;
    formState_.Exclude(fsModal);
  };
  try {
    Show();
    try {
      SendMessageA(GetHandle(), CM_ACTIVATE, 0, 0);
      modalResult_ = mrNone;
      do {
        Application->HandleMessage();
        if (Application->GetTerminated()) modalResult_ = mrCancel;
        else if (modalResult_ != mrNone) CloseModal();
      } while (modalResult_ == mrNone);
      result = modalResult_;
      SendMessageA(GetHandle(), CM_DEACTIVATE, 0, 0);
      if (GetActiveWindow() != GetWindowHandle()) activeWindow = nullptr;
    } catch (...) {
      Hide();
      throw;
    }
    Hide();
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return result;
}

void TCustomForm::CloseModal() {
  try {
    TCloseAction action = caNone;
    if (CloseQuery()) {
      action = caHide;
      DoClose(action);
    }
    if (action == caNone) modalResult_ = mrNone;
    else if (action == caFree) Release();
  } catch (...) {
    modalResult_ = mrNone;
    Application->HandleException(this);
  }
}

void TCustomForm::PlaceOnShow() {
  auto place = [&](int x, int y) {
    SetBounds(std::max(x, 0), std::max(y, 0), GetWidth(), GetHeight());
  };
  switch (position_) {
    case poScreenCenter:
      place((Screen->GetWidth() - GetWidth()) / 2, (Screen->GetHeight() - GetHeight()) / 2);
      break;
    case poDesktopCenter:
      place((Screen->GetDesktopWidth() - GetWidth()) / 2, (Screen->GetDesktopHeight() - GetHeight()) / 2);
      break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* center = Application ? Application->GetMainForm() : nullptr;
      if (position_ == poOwnerFormCenter)
        if (auto* owner = dynamic_cast<TCustomForm*>(GetOwner())) center = owner;
      if (center && center != this)
        place((center->GetWidth() - GetWidth()) / 2 + center->GetLeft(),
              (center->GetHeight() - GetHeight()) / 2 + center->GetTop());
      else
        place((Screen->GetWidth() - GetWidth()) / 2, (Screen->GetHeight() - GetHeight()) / 2);
      break;
    }
    default:
      return;
  }
  // The form is placed once; later showings keep where it is.
  position_ = poDesigned;
}

void TCustomForm::CMShowingChanged(TMessage& m) {
  if (IsDesigning()) {
    inherited::CMShowingChanged(m);
    return;
  }
  if (formState_.Contains(fsShowing)) throw EInvalidOperation("Cannot change Visible in OnShow or OnHide");
  if (Application) Application->UpdateVisible();
  formState_.Include(fsShowing);
  try {
    HWND h = GetWindowHandle();
    if (GetShowing()) {
      try {
        DoShow();
      } catch (...) {
        if (!Application) throw;
        Application->HandleException(this);
      }
      PlaceOnShow();
      static const int kShowCommands[] = {SW_SHOWNORMAL, SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED};
      ShowWindow(h, kShowCommands[windowState_]);
    } else {
      try {
        DoHide();
      } catch (...) {
        if (!Application) throw;
        Application->HandleException(this);
      }
      const UINT hideFlags = SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
      if (formState_.Contains(fsModal)) {
        SetWindowPos(h, nullptr, 0, 0, 0, 0, hideFlags);
      } else {
        // The activation goes to the next window of the application, not to
        // another program.
        HWND next = nullptr;
        if (GetActiveWindow() == h && !IsIconic(h)) next = FindTopMostWindow(h);
        if (next) {
          SetWindowPos(h, nullptr, 0, 0, 0, 0, hideFlags);
          SetActiveWindow(next);
        } else {
          ShowWindow(h, SW_HIDE);
        }
      }
    }
  } catch (...) {
    formState_.Exclude(fsShowing);
    throw;
  }
  formState_.Exclude(fsShowing);
}

// --- focus ---------------------------------------------------------------------------

bool TCustomForm::SendFocusMessage(HWND window, UINT msg) {
  int count = gFocusCount;
  SendMessageA(window, msg, 0, 0);
  return gFocusCount == count;
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
  ++gFocusCount;
  activeControl_ = control != this ? control : nullptr;
  if (Screen) {
    Screen->activeControl_ = control;
    Screen->activeCustomForm_ = this;
    auto& forms = Screen->customForms_;
    auto it = std::find(forms.begin(), forms.end(), this);
    if (it != forms.end()) std::rotate(forms.begin(), it, it + 1);
  }
  if (control->GetControlState().Contains(csFocusing)) return false;
  control->SetControlState(control->GetControlState() + TControlState{csFocusing});
  // The chain of CM_DEACTIVATE/CM_ACTIVATE, CM_EXIT and CM_ENTER; false when
  // a handler moved the focus elsewhere meanwhile.
  auto run = [&]() -> bool {
    if (Screen && Screen->focusedForm_ != this) {
      if (TCustomForm* old = Screen->focusedForm_) {
        HWND h = old->GetHandle();
        Screen->focusedForm_ = nullptr;
        if (!SendFocusMessage(h, CM_DEACTIVATE)) return false;
      }
      Screen->focusedForm_ = this;
      if (!SendFocusMessage(GetHandle(), CM_ACTIVATE)) return false;
    }
    if (!focusedControl_) focusedControl_ = this;
    if (focusedControl_ == control) return true;
    while (focusedControl_ && !focusedControl_->ContainsControl(control)) {
      HWND h = focusedControl_->GetHandle();
      focusedControl_ = focusedControl_->GetParent();
      if (!SendFocusMessage(h, CM_EXIT)) return false;
    }
    while (focusedControl_ != control) {
      TWinControl* temp = control;
      while (temp->GetParent() && temp->GetParent() != focusedControl_) temp = temp->GetParent();
      focusedControl_ = temp;
      if (!SendFocusMessage(temp->GetHandle(), CM_ENTER)) return false;
    }
    for (TWinControl* p = control->GetParent(); p; p = p->GetParent())
      if (auto* s = dynamic_cast<TScrollingWinControl*>(p)) s->AutoScrollInView(control);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
    return true;
  };
  bool completed = false;
  try {
    completed = run();
  } catch (...) {
    control->SetControlState(control->GetControlState() - TControlState{csFocusing});
    throw;
  }
  control->SetControlState(control->GetControlState() - TControlState{csFocusing});
  if (!completed) return false;
  if (Screen) Screen->UpdateLastActive();
  return true;
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (activeControl_ == control) return;
  if (control && !(control != this && GetParentForm(control) == this && (IsLoading() || control->CanFocus())))
    throw EInvalidOperation(kCannotFocus);
  activeControl_ = control;
  if (!IsLoading() && active_) SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
  TWinControl* target = activeControl_ ? activeControl_ : this;
  ::SetFocus(target->GetHandle());
}

void TCustomForm::SetFocus() {
  if (active_) return;
  if (!GetVisible() || !GetEnabled()) throw EInvalidOperation(kCannotFocus);
  SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* control) {
  bool wasActive = active_;
  SetActiveControl(control);
  if (!wasActive) SetFocus();
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
  if (removing && control->ContainsControl(focusedControl_)) focusedControl_ = control->GetParent();
  if (control->ContainsControl(activeControl_)) SetActiveControl(nullptr);
}

void TCustomForm::SetActive(bool v) {
  active_ = v;
  if (!v) return;
  if (!activeControl_ && !IsDesigning()) activeControl_ = FindNextControl(nullptr, true, true, false);
  SetWindowFocus();
}

void TCustomForm::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) next->SetFocus();
}

// A designer takes the keys of the form's controls; at run time nobody.
bool TCustomForm::WantChildKey(TControl*, TMessage&) { return false; }

void TCustomForm::SendCancelMode(TControl* sender) {
  if (active_ && activeControl_) activeControl_->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(sender));
}

bool TCustomForm::IsShortCut(TMessage& keyMessage) {
  bool handled = false;
  if (OnShortCut) OnShortCut(keyMessage, handled);
  if (handled) return true;
  if (menu_ && menu_->GetWindowHandle() && menu_->IsShortCut(keyMessage)) return true;
  TWMKey k(keyMessage);
  return DispatchShortCut(this, KeyToShortCut(k.CharCode(), KeyDataToShiftState(k.KeyData())));
}

void TCustomForm::MouseWheelHandler(TMessage& m) {
  if (focusedControl_) m.Result = focusedControl_->Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
  else inherited::MouseWheelHandler(m);
}

void TCustomForm::CMDialogKey(TMessage& m) {
  if (GetKeyState(VK_MENU) >= 0) {
    WORD key = TWMKey(m).CharCode();
    switch (key) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
          m.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        // Arrows move among the siblings of the active control, tab stop
        // or not.
        if (activeControl_ && activeControl_->GetParent()) {
          TWinControl* next = activeControl_->GetParent()->FindNextControl(
              activeControl_, key == VK_RIGHT || key == VK_DOWN, false, true);
          if (next) next->SetFocus();
          m.Result = 1;
        }
        return;
      default: break;
    }
  }
  // Enter, Escape and the rest go to the children (default and cancel buttons).
  inherited::CMDialogKey(m);
}

void TCustomForm::UpdateActions() {
  if (IsDesigning() || !GetShowing()) return;
  InitiateAction();
  // The items of the menu bar.
  if (menu_)
    for (int i = 0; i < menu_->GetItems()->GetCount(); ++i)
      if (TMenuItem* item = menu_->GetItems()->GetItem(i); item->GetVisible()) item->InitiateAction();
  auto traverse = [](auto& self, TWinControl* container) -> void {
    if (!container->GetShowing()) return;
    for (TControl* c : std::vector<TControl*>(container->Controls())) {
      if (c->GetControlStyle().Contains(csActionClient) && c->GetVisible()) c->InitiateAction();
      if (auto* w = dynamic_cast<TWinControl*>(c)) self(self, w);
    }
  };
  traverse(traverse, this);
}

namespace {
// The form's controls, the active one and the form first, then the rest
// depth first, until one takes the action.
template <class F>
bool TraverseActionClients(TWinControl* container, F take) {
  if (!container->GetShowing()) return false;
  for (TControl* c : std::vector<TControl*>(container->Controls())) {
    if (c->GetVisible() && take(c)) return true;
    if (auto* w = dynamic_cast<TWinControl*>(c); w && TraverseActionClients(w, take)) return true;
  }
  return false;
}
}  // namespace

void TCustomForm::CMActionExecute(TMessage& m) {
  if (IsDesigning() || !GetShowing()) return;
  auto* action = reinterpret_cast<TBasicAction*>(m.LParam);
  auto take = [action](TControl* c) { return c && c->ExecuteAction(action); };
  if (take(activeControl_) || take(this) || TraverseActionClients(this, take)) m.Result = 1;
}

void TCustomForm::CMActionUpdate(TMessage& m) {
  if (IsDesigning() || !GetShowing()) return;
  auto* action = reinterpret_cast<TBasicAction*>(m.LParam);
  auto take = [action](TControl* c) { return c && c->UpdateAction(action); };
  if (take(activeControl_) || take(this) || TraverseActionClients(this, take)) m.Result = 1;
}

void TCustomForm::CMActivate(TMessage&) {
  if (!GetComponentState().Contains(csReading)) Activate();
  else formState_.Include(fsActivated);
}

void TCustomForm::CMDeactivate(TMessage&) {
  if (!GetComponentState().Contains(csReading)) Deactivate();
  else formState_.Exclude(fsActivated);
}

// --- appearance -----------------------------------------------------------------------

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  if (borderStyle_ == v) return;
  borderStyle_ = v;
  if (!IsDesigning()) RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons v) {
  if (borderIcons_ == v) return;
  borderIcons_ = v;
  if (!IsDesigning()) RecreateWnd();
}

void TCustomForm::SetBorderWidth(int v) {
  v = std::max(v, 0);
  if (borderWidth_ == v) return;
  borderWidth_ = v;
  if (HandleAllocated())
    SetWindowPos(GetWindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::SetFormStyle(TFormStyle v) {
  if (formStyle_ == v) return;
  if (v == fsMDIChild && position_ == poDesigned) position_ = poDefault;
  if (!IsDesigning()) DestroyHandle();
  formStyle_ = v;
  if (!IsDesigning()) UpdateControlState();
  if (v == fsMDIChild) SetVisible(true);
}

void TCustomForm::SetWindowState(TWindowState v) {
  if (windowState_ == v) return;
  windowState_ = v;
  static const int kShowCommands[] = {SW_SHOWNORMAL, SW_MINIMIZE, SW_SHOWMAXIMIZED};
  if (!IsDesigning() && GetShowing()) ShowWindow(GetWindowHandle(), kShowCommands[v]);
}

void TCustomForm::SetPixelsPerInch(int v) {
  // Kept only: forms are never scaled.
  if (v > 0) pixelsPerInch_ = v;
}

bool TCustomForm::IsFormSizeStored() const {
  return GetAutoScroll() || GetHorzScrollBar()->GetRange() != 0 || GetVertScrollBar()->GetRange() != 0;
}

void TCustomForm::SetClientWidth(int v) {
  if (GetControlState().Contains(csReadingState)) readClientWidth_ = v;
  else TControl::SetClientWidth(v);
}

void TCustomForm::SetClientHeight(int v) {
  if (GetControlState().Contains(csReadingState)) readClientHeight_ = v;
  else TControl::SetClientHeight(v);
}

RECT TCustomForm::GetClientRect() {
  if (HandleAllocated()) return inherited::GetClientRect();
  // No window yet: the client area the window will have, from its styles.
  TCreateParams params;
  CreateParams(params);
  RECT frame{0, 0, 0, 0};
  bool menuBar = menu_ && borderStyle_ != bsDialog && !(params.Style & WS_CHILD);
  AdjustWindowRectEx(&frame, params.Style & ~DWORD{WS_MINIMIZE | WS_MAXIMIZE}, menuBar, params.ExStyle);
  int w = GetWidth() - (frame.right - frame.left) - 2 * borderWidth_;
  int h = GetHeight() - (frame.bottom - frame.top) - 2 * borderWidth_;
  return RECT{0, 0, std::max(w, 0), std::max(h, 0)};
}

void TCustomForm::SetLayeredAttribs() {
  if (IsDesigning() || !HandleAllocated()) return;
  HWND h = GetWindowHandle();
  LONG_PTR exStyle = GetWindowLongPtrA(h, GWL_EXSTYLE);
  if (alphaBlend_ || transparentColor_) {
    if (!(exStyle & WS_EX_LAYERED)) SetWindowLongPtrA(h, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(h, static_cast<COLORREF>(ColorToRGB(transparentColorValue_)), alphaBlendValue_,
                               (alphaBlend_ ? LWA_ALPHA : 0) | (transparentColor_ ? LWA_COLORKEY : 0));
  } else if (exStyle & WS_EX_LAYERED) {
    SetWindowLongPtrA(h, GWL_EXSTYLE, exStyle & ~LONG_PTR{WS_EX_LAYERED});
    RedrawWindow(h, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void TCustomForm::SetAlphaBlend(bool v) {
  if (alphaBlend_ == v) return;
  alphaBlend_ = v;
  SetLayeredAttribs();
}

void TCustomForm::SetAlphaBlendValue(uint8_t v) {
  if (alphaBlendValue_ == v) return;
  alphaBlendValue_ = v;
  SetLayeredAttribs();
}

void TCustomForm::SetTransparentColor(bool v) {
  if (transparentColor_ == v) return;
  transparentColor_ = v;
  SetLayeredAttribs();
}

void TCustomForm::SetTransparentColorValue(TColor v) {
  if (transparentColorValue_ == v) return;
  transparentColorValue_ = v;
  SetLayeredAttribs();
}

void TCustomForm::SetMenu(TMainMenu* v) {
  if (v && Screen)
    for (int i = 0; i < Screen->GetCustomFormCount(); ++i)
      if (TCustomForm* f = Screen->GetCustomForms(i); f != this && f->menu_ == v)
        throw EInvalidOperation("Menu '" + v->GetName() + "' is already being used by another form");
  if (menu_) menu_->SetWindowHandle(nullptr);
  if (IsDestroying() || (v && v->IsDestroying())) v = nullptr;
  menu_ = v;
  if (v) v->FreeNotification(this);
  if (!HandleAllocated()) return;
  HWND h = GetWindowHandle();
  if (v && (IsDesigning() || borderStyle_ != bsDialog)) {
    if (::GetMenu(h) != v->GetHandle()) ::SetMenu(h, v->GetHandle());
    v->SetWindowHandle(h);
  } else if (::GetMenu(h)) {
    ::SetMenu(h, nullptr);
  }
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == menu_) SetMenu(nullptr);
  if (component == activeControl_) activeControl_ = nullptr;
  if (component == focusedControl_) focusedControl_ = nullptr;
}

// --- window ---------------------------------------------------------------------------

void TCustomForm::CreateParams(TCreateParams& p) {
  inherited::CreateParams(p);
  if (alphaBlend_ || transparentColor_) p.ExStyle |= WS_EX_LAYERED;
  if (!GetParent() && !GetParentWindow()) {
    // Owned by the application window: no taskbar button of its own, and it
    // goes with the application when that is minimised.
    p.WndParent = Application ? Application->GetHandle() : nullptr;
    p.Style &= ~DWORD{WS_CHILD | WS_GROUP | WS_TABSTOP};
  }
  p.WindowClass.style = CS_DBLCLKS;
  // What an MDI child does not handle goes to the MDI default procedure
  // (maximising into the frame, the child's system menu, activation).
  // A visible MDI child is made visible by its client: only a child created
  // visible becomes the client's active child (shown later, it stays
  // inactive). Every way of making the window (WM_MDICREATE,
  // CreateMDIWindowW) takes the style from here.
  if (formStyle_ == fsMDIChild && !IsDesigning()) {
    p.WindowClass.lpfnWndProc = DefMDIChildProcA;
    if (GetVisible()) p.Style |= WS_VISIBLE;
  }
  TFormBorderStyle style = IsDesigning() ? bsSizeable : borderStyle_;
  if (formStyle_ == fsMDIChild && (style == bsNone || style == bsDialog)) style = bsSizeable;
  TBorderIcons icons = borderIcons_;
  bool topLevel = !GetParent() && !GetParentWindow();
  switch (style) {
    case bsNone:
      if (topLevel) p.Style |= WS_POPUP;
      icons = {};
      break;
    case bsSingle:
    case bsToolWindow: p.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      p.Style |= WS_POPUP | WS_CAPTION;
      p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      icons = icons * TBorderIcons{biSystemMenu, biHelp};
      p.WindowClass.style |= CS_SAVEBITS | CS_BYTEALIGNWINDOW;
      break;
  }
  if (style == bsToolWindow || style == bsSizeToolWin) {
    p.ExStyle |= WS_EX_TOOLWINDOW;
    icons = icons * TBorderIcons{biSystemMenu};
  }
  if (style == bsSingle || style == bsSizeable || style == bsNone) {
    if (formStyle_ != fsMDIChild || icons.Contains(biSystemMenu)) {
      if (icons.Contains(biMinimize)) p.Style |= WS_MINIMIZEBOX;
      if (icons.Contains(biMaximize)) p.Style |= WS_MAXIMIZEBOX;
    }
    if (windowState_ == wsMinimized) p.Style |= WS_MINIMIZE;
    else if (windowState_ == wsMaximized) p.Style |= WS_MAXIMIZE;
  }
  if (icons.Contains(biSystemMenu)) p.Style |= WS_SYSMENU;
  if (icons.Contains(biHelp)) p.ExStyle |= WS_EX_CONTEXTHELP;
  if (!IsDesigning()) {
    if (position_ == poDefault || position_ == poDefaultPosOnly) {
      p.X = CW_USEDEFAULT;
      p.Y = CW_USEDEFAULT;
    }
    if ((position_ == poDefault || position_ == poDefaultSizeOnly) &&
        (borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin)) {
      p.Width = CW_USEDEFAULT;
      p.Height = CW_USEDEFAULT;
    }
  }
}

void TCustomForm::CreateWnd() {
  inherited::CreateWnd();
  if (!IsDesigning() && formStyle_ == fsMDIForm) CreateMDIClient();
  if (!IsDesigning() && formStyle_ == fsStayOnTop)
    SetWindowPos(GetWindowHandle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetLayeredAttribs();
}

void TCustomForm::PaintWindow(HDC dc) {
  TCanvasPaintScope scope(canvas_, dc);
  Paint();
}

void TCustomForm::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_NCCREATE: WMNCCreate(m); return;
    case WM_ACTIVATE: WMActivate(m); return;
    case WM_CLOSE: WMClose(m); return;
    case WM_SYSCOMMAND: WMSysCommand(m); return;
    case WM_QUERYNEWPALETTE: WMQueryNewPalette(m); return;
    case WM_PALETTECHANGED: WMPaletteChanged(m); return;
    case WM_NCCALCSIZE: WMNCCalcSize(m); return;
    case WM_NCPAINT: WMNCPaint(m); return;
    case WM_INITMENUPOPUP: WMInitMenuPopup(m); return;
    case WM_MENUSELECT: WMMenuSelect(m); return;
    case WM_ENTERMENULOOP: WMEnterMenuLoop(m); return;
    case WM_MDIACTIVATE: WMMDIActivate(m); return;
    case WM_WINDOWPOSCHANGING: WMWindowPosChanging(m); return;
    case CM_ACTIVATE: CMActivate(m); return;
    case CM_DEACTIVATE: CMDeactivate(m); return;
    case CM_RELEASE: CMRelease(m); return;
    case CM_ACTIONEXECUTE: CMActionExecute(m); return;
    case CM_ACTIONUPDATE: CMActionUpdate(m); return;
    default: inherited::Dispatch(m); return;
  }
}

void TCustomForm::WMNCCreate(TMessage& m) {
  DefaultHandler(m);
  // The menu bar before the first size calculation.
  SetMenu(menu_);
}

void TCustomForm::WMDestroy(TMessage& m) {
  // Windows would destroy the bar with the window; the menu keeps it.
  if (menu_ && HandleAllocated()) {
    ::SetMenu(GetWindowHandle(), nullptr);
    menu_->SetWindowHandle(nullptr);
  }
  inherited::WMDestroy(m);
}

void TCustomForm::WMCommand(TMessage& m) {
  // Menu items and accelerators send no control's window.
  if (m.LParam == 0 && menu_ && menu_->DispatchCommand(LOWORD(m.WParam))) return;
  inherited::WMCommand(m);
}

void TCustomForm::WMInitMenuPopup(TMessage& m) {
  if (menu_ && menu_->DispatchPopup(reinterpret_cast<HMENU>(m.WParam))) return;
  DefaultHandler(m);
}

void TCustomForm::WMMenuSelect(TMessage& m) {
  if (!menu_) {
    DefaultHandler(m);
    return;
  }
  std::string hint = MenuItemLongHint(MenuSelectItem(menu_, m));
  if (Application) Application->SetHint(hint);
}

void TCustomForm::WMDrawItem(TMessage& m) {
  if (DrawMenuItemMessage(menu_, TWMDrawItem(m).DrawItemStruct())) m.Result = TRUE;
  else inherited::WMDrawItem(m);
}

void TCustomForm::WMMeasureItem(TMessage& m) {
  if (MeasureMenuItemMessage(menu_, GetWindowHandle(), TWMMeasureItem(m).MeasureItemStruct())) m.Result = TRUE;
  else inherited::WMMeasureItem(m);
}

void TCustomForm::WMEnterMenuLoop(TMessage& m) {
  SendCancelMode(nullptr);
  DefaultHandler(m);
}

void TCustomForm::WMWindowPosChanging(TMessage& m) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
  // Not while minimised: the icon's size is the system's.
  if (pos && !(pos->flags & SWP_NOSIZE) && !GetComponentState().Contains(csReading) && !IsDestroying() &&
      !IsIconic(GetWindowHandle())) {
    int width = pos->cx, height = pos->cy;
    if (CheckNewSize(width, height)) {
      pos->cx = width;
      pos->cy = height;
    } else {
      pos->flags |= SWP_NOSIZE;
    }
  }
  DefaultHandler(m);
}

void TCustomForm::CMBiDiModeChanged(TMessage& m) {
  inherited::CMBiDiModeChanged(m);
  for (int i = 0; i < GetComponentCount(); ++i)
    if (auto* menu = dynamic_cast<TMenu*>(GetComponent(i))) menu->ParentBiDiModeChanged(this);
}

void TCustomForm::WMActivate(TMessage& m) {
  if (formStyle_ != fsMDIForm || IsDesigning()) SetActive(LOWORD(m.WParam) != WA_INACTIVE);
}

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMSysCommand(TMessage& m) {
  UINT cmd = static_cast<UINT>(m.WParam & 0xFFF0);
  if (cmd == SC_MINIMIZE && Application && Application->GetMainForm() == this) {
    // Minimising the main form minimises the application, which hides every
    // form it owns and keeps the taskbar button.
    Application->WndProc(m);
  } else if (cmd != SC_MOVE || IsDesigning() || GetAlign() == alNone || windowState_ == wsMinimized) {
    DefaultHandler(m);
  }
  if ((cmd == SC_MINIMIZE || cmd == SC_RESTORE) && !IsDesigning() && GetAlign() != alNone) RequestAlign();
}

bool TCustomForm::PaletteChanged(bool foreground) { return ControlPaletteChanged(this, foreground); }

void TCustomForm::WMQueryNewPalette(TMessage& m) {
  m.Result = (HandleAllocated() && !IsIconic(GetWindowHandle()) && PaletteChanged(true)) ? 1 : 0;
}

void TCustomForm::WMPaletteChanged(TMessage& m) {
  // Another window realised its palette: ours again, in the background.
  if (reinterpret_cast<HWND>(m.WParam) != GetWindowHandle()) PaletteChanged(false);
  m.Result = 0;
}

void TCustomForm::WMNCCalcSize(TMessage& m) {
  DefaultHandler(m);
  if (borderWidth_ > 0 && m.LParam) {
    // The first rectangle of either form of the message is the client area.
    auto* r = reinterpret_cast<RECT*>(m.LParam);
    InflateRect(r, -borderWidth_, -borderWidth_);
  }
}

void TCustomForm::WMNCPaint(TMessage& m) {
  DefaultHandler(m);
  if (borderWidth_ <= 0) return;
  HWND h = GetWindowHandle();
  RECT window;
  GetWindowRect(h, &window);
  POINT origin{0, 0};
  ::ClientToScreen(h, &origin);
  RECT client;
  ::GetClientRect(h, &client);
  OffsetRect(&client, origin.x - window.left, origin.y - window.top);
  RECT outer = client;
  InflateRect(&outer, borderWidth_, borderWidth_);
  HDC dc = GetWindowDC(h);
  ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  FillRect(dc, &outer, GetBrush()->GetHandle());
  ReleaseDC(h, dc);
}

void TCustomForm::WMPaint(TMessage& m) {
  HWND h = GetWindowHandle();
  if (h && IsIconic(h)) {
    DefaultHandler(m);
    return;
  }
  SetControlState(GetControlState() + TControlState{csCustomPaint});
  try {
    inherited::WMPaint(m);
  } catch (...) {
    SetControlState(GetControlState() - TControlState{csCustomPaint});
    throw;
  }
  SetControlState(GetControlState() - TControlState{csCustomPaint});
}

void TCustomForm::WMSize(TMessage& m) {
  if (!IsDesigning()) {
    switch (m.WParam) {
      case SIZE_RESTORED: windowState_ = wsNormal; break;
      case SIZE_MINIMIZED: windowState_ = wsMinimized; break;
      case SIZE_MAXIMIZED: windowState_ = wsMaximized; break;
      default: break;
    }
  }
  inherited::WMSize(m);
}

// --- stored forms -------------------------------------------------------------------------

void TCustomForm::ReadState(TReader* reader) {
  DisableAlign();
  readClientWidth_ = 0;
  readClientHeight_ = 0;
  try {
    inherited::ReadState(reader);
    // Client sizes wait for the border style, which may come later.
    if (readClientWidth_ > 0) TControl::SetClientWidth(readClientWidth_);
    if (readClientHeight_ > 0) TControl::SetClientHeight(readClientHeight_);
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
}

void TCustomForm::GetChildren(const TGetChildProc& proc, TComponent* root) {
  inherited::GetChildren(proc, root);
  if (root == this) GetOwnedChildren(proc);
}

void TCustomForm::Loaded() {
  inherited::Loaded();
  if (TWinControl* control = activeControl_) {
    activeControl_ = nullptr;
    if (control->CanFocus()) SetActiveControl(control);
  }
}

void TCustomForm::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  // Written after the published properties, as the platform writes them.
  filer->DefineProperty(
      "PixelsPerInch", [this](TReader* r) { SetPixelsPerInch(r->ReadInteger()); },
      [this](TWriter* w) { w->WriteInteger(pixelsPerInch_); }, true);
  filer->DefineProperty(
      "TextHeight", [this](TReader* r) { textHeight_ = r->ReadInteger(); },
      [this](TWriter* w) { w->WriteInteger(textHeight_); }, textHeight_ != 0);
}

// ---------------------------------------------------------------------------

PUBLISHED(TForm) {
  using F = TCustomForm;
  // Size: Width/Height or ClientWidth/ClientHeight (see IsFormSizeStored).
  p.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Stored(&F::IsFormSizeStored);
  p.Prop("Height", &TControl::GetHeight, &TControl::SetHeight).Stored(&F::IsFormSizeStored);
  PublishControlProps(p, {"Action"});
  p.Prop("ActiveControl", &F::GetActiveControl, &F::SetActiveControl);
  PublishControlProps(p, {"Align"});
  p.Prop("AlphaBlend", &F::GetAlphaBlend, &F::SetAlphaBlend).Default(false);
  p.Prop("AlphaBlendValue", &F::GetAlphaBlendValue, &F::SetAlphaBlendValue).Default(255);
  PublishControlProps(p, {"Anchors"});
  p.Prop("AutoScroll", &TScrollingWinControl::GetAutoScroll, &TScrollingWinControl::SetAutoScroll).Default(true);
  PublishControlProps(p, {"AutoSize", "BiDiMode"});
  p.Prop("BorderIcons", &F::GetBorderIcons, &F::SetBorderIcons)
      .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  p.Prop("BorderStyle", &F::GetBorderStyle, &F::SetBorderStyle).Default(bsSizeable);
  p.Prop("BorderWidth", &F::GetBorderWidth, &F::SetBorderWidth).Default(0);
  PublishControlProps(p, {"Caption"});
  p.Prop("ClientHeight", &TControl::GetClientHeight, &F::SetClientHeight).Stored(&F::IsClientSizeStored);
  p.Prop("ClientWidth", &TControl::GetClientWidth, &F::SetClientWidth).Stored(&F::IsClientSizeStored);
  PublishControlProps(p, {"Color"});
  p.Prop("TransparentColor", &F::GetTransparentColor, &F::SetTransparentColor).Default(false);
  p.Prop("TransparentColorValue", &F::GetTransparentColorValue, &F::SetTransparentColorValue)
      .Default(0)
      .Type(TColorTypeInfo());
  PublishControlProps(p, {"Constraints", "Ctl3D", "UseDockManager", "DockSite", "DragKind", "DragMode",
                          "Enabled"});
  p.Prop("ParentFont", &TControl::GetParentFont, &TControl::SetParentFont).Default(false);
  PublishControlProps(p, {"Font"});
  p.Prop("FormStyle", &F::GetFormStyle, &F::SetFormStyle).Default(fsNormal);
  p.Prop("HorzScrollBar", &TScrollingWinControl::GetHorzScrollBar, &TScrollingWinControl::SetHorzScrollBar);
  p.Prop("KeyPreview", &F::GetKeyPreview, &F::SetKeyPreview).Default(false);
  p.Prop("Menu", &F::GetMenu, &F::SetMenu);
  p.Prop("OldCreateOrder", &F::GetOldCreateOrder, &F::SetOldCreateOrder);
  PublishControlProps(p, {"ParentBiDiMode", "PopupMenu"});
  p.Prop("Position", &F::GetPosition, &F::SetPosition).Default(poDesigned);
  p.Prop("Scaled", &F::GetScaled, &F::SetScaled).Default(true);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("VertScrollBar", &TScrollingWinControl::GetVertScrollBar, &TScrollingWinControl::SetVertScrollBar);
  p.Prop("Visible", &TControl::GetVisible, &F::SetVisible).Default(false);
  p.Prop("WindowState", &F::GetWindowState, &F::SetWindowState).Default(wsNormal);
  p.Prop("OnActivate", &F::GetOnActivate, &F::SetOnActivate);
  PublishControlProps(p, {"OnCanResize", "OnClick"});
  p.Prop("OnClose", &F::GetOnClose, &F::SetOnClose);
  p.Prop("OnCloseQuery", &F::GetOnCloseQuery, &F::SetOnCloseQuery);
  PublishControlProps(p, {"OnConstrainedResize", "OnContextPopup"});
  p.Prop("OnCreate", &F::GetOnCreate, &F::SetOnCreate);
  PublishControlProps(p, {"OnDblClick"});
  p.Prop("OnDestroy", &F::GetOnDestroy, &F::SetOnDestroy);
  p.Prop("OnDeactivate", &F::GetOnDeactivate, &F::SetOnDeactivate);
  PublishControlProps(p, {"OnDockDrop", "OnDockOver", "OnDragDrop", "OnDragOver", "OnEndDock", "OnGetSiteInfo"});
  p.Prop("OnHide", &F::GetOnHide, &F::SetOnHide);
  PublishControlProps(p, {"OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp",
                          "OnMouseWheel", "OnMouseWheelDown", "OnMouseWheelUp"});
  p.Prop("OnPaint", &F::GetOnPaint, &F::SetOnPaint);
  PublishControlProps(p, {"OnResize"});
  p.Prop("OnShortCut", &F::GetOnShortCut, &F::SetOnShortCut);
  p.Prop("OnShow", &F::GetOnShow, &F::SetOnShow);
  PublishControlProps(p, {"OnStartDock", "OnUnDock"});
}
