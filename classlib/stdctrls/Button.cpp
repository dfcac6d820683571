#include "classlib/stdctrls/Button.h"

#include "classlib/ActnList.h"
#include "classlib/stdctrls/FormLink.h"
#include "classlib/stdctrls/StdCtrlsTables.h"

// ---------------------------------------------------------------------------
// TButtonControl

IMPLEMENT_CLASS(TButtonControl)

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {}

bool TButtonControl::IsCheckedStored() const {
  TControlActionLink* link = GetActionLink();
  return !link || !link->IsCheckedLinked();
}

void TButtonControl::SetWordWrap(bool v) {
  if (wordWrap_ == v) return;
  wordWrap_ = v;
  RecreateWnd();
}

void TButtonControl::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  if (wordWrap_) params.Style |= BS_MULTILINE;
}

void TButtonControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A click first takes the focus; the focus change must not click a
      // radio button (BN_CLICKED on focus), and a focus that was refused
      // (an OnExit that moved it elsewhere) ends the click.
      if (!IsDesigning() && !Focused()) {
        clicksDisabled_ = true;
        ::SetFocus(GetHandle());
        clicksDisabled_ = false;
        if (!Focused()) return;
      }
      break;
    case CN_COMMAND:
      if (clicksDisabled_) return;
      break;
  }
  inherited::WndProc(m);
}

void TButtonControl::ActionChange(TObject* sender, bool checkDefaults) {
  inherited::ActionChange(sender, checkDefaults);
  if (auto* action = dynamic_cast<TCustomAction*>(sender))
    if (!checkDefaults || !GetChecked()) SetChecked(action->GetChecked());
}

TClass TButtonControl::GetActionLinkClass() { return TButtonActionLink::StaticClass(); }

// ---------------------------------------------------------------------------
// TButtonActionLink

IMPLEMENT_CLASS(TButtonActionLink)

void TButtonActionLink::AssignClient(TObject* client) {
  inherited::AssignClient(client);
  buttonClient_ = dynamic_cast<TButtonControl*>(client);
  if (!buttonClient_) throw EInvalidCast("Invalid class typecast");
}

bool TButtonActionLink::IsCheckedLinked() {
  return inherited::IsCheckedLinked() && CustomAction() &&
         buttonClient_->GetChecked() == CustomAction()->GetChecked();
}

void TButtonActionLink::SetChecked(bool v) {
  if (!IsCheckedLinked()) return;
  buttonClient_->SetClicksDisabled(true);
  try {
    buttonClient_->SetChecked(v);
  } catch (...) {
    buttonClient_->SetClicksDisabled(false);
    throw;
  }
  buttonClient_->SetClicksDisabled(false);
}

// ---------------------------------------------------------------------------
// TButton

PUBLISHED(TButton) { PublishButtonTable(p); }

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
  SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
  SetBounds(GetLeft(), GetTop(), 75, 25);
  SetTabStop(true);
}

void TButton::Click() {
  SetParentFormModalResult(this, modalResult_);
  inherited::Click();
}

void TButton::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  CreateSubClass(params, "BUTTON");
  params.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd() {
  inherited::CreateWnd();
  active_ = default_;
}

void TButton::SetButtonStyle(bool isDefault) {
  if (!HandleAllocated()) return;
  LONG_PTR style = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((GetWindowLongPtrA(GetWindowHandle(), GWL_STYLE) & 0xF) != style)
    SendMessageA(GetWindowHandle(), BM_SETSTYLE, static_cast<WPARAM>(style), 1);
}

void TButton::SetDefault(bool v) {
  default_ = v;
  if (!HandleAllocated()) return;
  // Let every button of the form work out again which one is active.
  if (TWinControl* form = GetParentFormControl(this))
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(ParentFormActiveControl(this)));
}

void TButton::Dispatch(TMessage& m) {
  if (m.Msg == CN_COMMAND) CNCommand(m);
  else inherited::Dispatch(m);
}

void TButton::CNCommand(TMessage& m) {
  if (TWMCommand(m).NotifyCode() == BN_CLICKED) Click();
}

void TButton::CMDialogKey(TMessage& m) {
  TWMKey k(m);
  WORD key = k.CharCode();
  if (((key == VK_RETURN && active_) || (key == VK_ESCAPE && cancel_)) &&
      KeyDataToShiftState(k.KeyData()).Empty() && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  inherited::CMDialogKey(m);
}

void TButton::CMDialogChar(TMessage& m) {
  if (IsAccel(TWMKey(m).CharCode(), GetCaption()) && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  inherited::CMDialogChar(m);
}

void TButton::CMFocusChanged(TMessage& m) {
  TWinControl* sender = TCMFocusChanged(m).Sender();
  if (dynamic_cast<TButton*>(sender)) active_ = sender == this;
  else active_ = default_;
  SetButtonStyle(active_);
  inherited::CMFocusChanged(m);
}

// ---------------------------------------------------------------------------
// TCustomCheckBox

PUBLISHED(TCheckBox) { PublishCheckBoxTable(p); }
IMPLEMENT_CLASS(TCustomCheckBox)

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
  SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
  SetBounds(GetLeft(), GetTop(), 97, 17);
  SetTabStop(true);
}

void TCustomCheckBox::SetAlignment(TLeftRight v) {
  if (v == taCenter) v = taRightJustify;
  if (alignment_ == v) return;
  alignment_ = v;
  RecreateWnd();
}

TAlignment TCustomCheckBox::GetControlsAlignment() const {
  if (!UseRightToLeftAlignment()) return taRightJustify;
  return alignment_ == taRightJustify ? taLeftJustify : taRightJustify;
}

void TCustomCheckBox::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  CreateSubClass(params, "BUTTON");
  params.Style |= BS_3STATE;
  // BS_LEFTTEXT puts the caption left of the box; right-to-left alignment
  // mirrors the choice.
  bool leftText = alignment_ == taLeftJustify;
  if (UseRightToLeftAlignment()) leftText = !leftText;
  if (leftText) params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd() {
  inherited::CreateWnd();
  SendMessageA(GetWindowHandle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCustomCheckBox::SetState(TCheckBoxState v) {
  if (state_ == v) return;
  state_ = v;
  if (HandleAllocated()) SendMessageA(GetWindowHandle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
  if (!GetClicksDisabled()) Click();
}

void TCustomCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCustomCheckBox::Click() {
  // The window may have changed its check itself (BS_AUTO... styles of a
  // descendant): take its state first.
  if (HandleAllocated())
    state_ = static_cast<TCheckBoxState>(SendMessageA(GetWindowHandle(), BM_GETCHECK, 0, 0) & 3);
  Changed();
  inherited::Click();
}

void TCustomCheckBox::Dispatch(TMessage& m) {
  if (m.Msg == CN_COMMAND) CNCommand(m);
  else inherited::Dispatch(m);
}

void TCustomCheckBox::CNCommand(TMessage& m) {
  if (TWMCommand(m).NotifyCode() == BN_CLICKED) Toggle();
}

void TCustomCheckBox::CMDialogChar(TMessage& m) {
  if (IsAccel(TWMKey(m).CharCode(), GetCaption()) && CanFocus()) {
    SetFocus();
    if (Focused()) Toggle();
    m.Result = 1;
    return;
  }
  inherited::CMDialogChar(m);
}

// ---------------------------------------------------------------------------
// TRadioButton

PUBLISHED(TRadioButton) { PublishRadioButtonTable(p); }

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
  SetBounds(GetLeft(), GetTop(), 113, 17);
}

void TRadioButton::SetAlignment(TLeftRight v) {
  if (v == taCenter) v = taRightJustify;
  if (alignment_ == v) return;
  alignment_ = v;
  RecreateWnd();
}

TAlignment TRadioButton::GetControlsAlignment() const {
  if (!UseRightToLeftAlignment()) return taRightJustify;
  return alignment_ == taRightJustify ? taLeftJustify : taRightJustify;
}

void TRadioButton::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  CreateSubClass(params, "BUTTON");
  params.Style |= BS_RADIOBUTTON;
  bool leftText = alignment_ == taLeftJustify;
  if (UseRightToLeftAlignment()) leftText = !leftText;
  if (leftText) params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd() {
  inherited::CreateWnd();
  SendMessageA(GetWindowHandle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool v) {
  if (checked_ == v) return;
  checked_ = v;
  SetTabStop(v);
  if (HandleAllocated())
    SendMessageA(GetWindowHandle(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!v) return;
  if (TWinControl* parent = GetParent()) {
    // Index each time: a sibling's handler may change the list.
    for (int i = 0; i < parent->GetControlCount(); ++i) {
      auto* sibling = dynamic_cast<TRadioButton*>(parent->GetControl(i));
      if (sibling && sibling != this) sibling->SetChecked(false);
    }
  }
  Changed();
  if (!GetClicksDisabled()) Click();
}

void TRadioButton::Dispatch(TMessage& m) {
  if (m.Msg == CN_COMMAND) CNCommand(m);
  else inherited::Dispatch(m);
}

void TRadioButton::CNCommand(TMessage& m) {
  switch (TWMCommand(m).NotifyCode()) {
    case BN_CLICKED: SetChecked(true); break;
    case BN_DOUBLECLICKED: DblClick(); break;
  }
}

void TRadioButton::CMDialogChar(TMessage& m) {
  if (IsAccel(TWMKey(m).CharCode(), GetCaption()) && CanFocus()) {
    SetFocus();
    m.Result = 1;
    return;
  }
  inherited::CMDialogChar(m);
}
