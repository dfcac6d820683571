// Buttons on the system BUTTON class: TButtonControl (the base of push
// buttons, check boxes and radio buttons, with its action link), TButton,
// TCustomCheckBox/TCheckBox and TRadioButton.
#pragma once

#include "classlib/stdctrls/StdCtrlsTypes.h"

class TButtonControl : public TWinControl {
  DECLARE_CLASS(TButtonControl, TWinControl)

  explicit TButtonControl(TComponent* owner);

  // Checked of a check box or radio button (nothing for a push button).
  virtual bool GetChecked() const { return false; }
  virtual void SetChecked(bool) {}
  bool IsCheckedStored() const;
  // While set, changing Checked runs no Click (a focus change or an action
  // link sets Checked without a click).
  bool GetClicksDisabled() const { return clicksDisabled_; }
  void SetClicksDisabled(bool v) { clicksDisabled_ = v; }
  // BS_MULTILINE: the caption wraps.
  bool GetWordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);

  void WndProc(TMessage& m) override;
  void CreateParams(TCreateParams& params) override;
  void ActionChange(TObject* sender, bool checkDefaults) override;
  TClass GetActionLinkClass() override;

 private:
  bool clicksDisabled_ = false;
  bool wordWrap_ = false;
};

// The action link of button controls: Checked follows the action's.
class TButtonActionLink : public TWinControlActionLink {
  DECLARE_CLASS(TButtonActionLink, TWinControlActionLink)
  using TWinControlActionLink::TWinControlActionLink;

  bool IsCheckedLinked() override;
  void SetChecked(bool v) override;

 protected:
  void AssignClient(TObject* client) override;
  TButtonControl* buttonClient_ = nullptr;
};

class TButton : public TButtonControl {
  DECLARE_CLASS(TButton, TButtonControl)

  explicit TButton(TComponent* owner);

  // Enter clicks the default button of the form while no other button has
  // the focus; the button shows BS_DEFPUSHBUTTON while it is the active one.
  bool GetDefault() const { return default_; }
  void SetDefault(bool v);
  // Escape clicks a cancel button.
  bool GetCancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  // Given to the parent form's ModalResult when the button is clicked.
  TModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult v) { modalResult_ = v; }
  // True while the button is the one Enter clicks.
  bool GetActive() const { return active_; }

  void Click() override;
  // BS_PUSHBUTTON or BS_DEFPUSHBUTTON on the window (BM_SETSTYLE).
  virtual void SetButtonStyle(bool isDefault);

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& m) override;

  virtual void CNCommand(TMessage& m);
  void CMDialogKey(TMessage& m) override;
  void CMDialogChar(TMessage& m) override;
  void CMFocusChanged(TMessage& m) override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  bool active_ = false;
  TModalResult modalResult_ = mrNone;
};

class TCustomCheckBox : public TButtonControl {
  DECLARE_CLASS(TCustomCheckBox, TButtonControl)

  explicit TCustomCheckBox(TComponent* owner);

  // The caption's side: taRightJustify puts it right of the box.
  TLeftRight GetAlignment() const { return alignment_; }
  void SetAlignment(TLeftRight v);
  bool GetAllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool v) { allowGrayed_ = v; }
  TCheckBoxState GetState() const { return state_; }
  virtual void SetState(TCheckBoxState v);
  bool GetChecked() const override { return state_ == cbChecked; }
  void SetChecked(bool v) override { SetState(v ? cbChecked : cbUnchecked); }
  // The next state of the user's click: unchecked, (grayed,) checked.
  virtual void Toggle();

  void Click() override;
  TAlignment GetControlsAlignment() const override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& m) override;

  virtual void CNCommand(TMessage& m);
  void CMDialogChar(TMessage& m) override;

 private:
  TLeftRight alignment_ = taRightJustify;
  bool allowGrayed_ = false;
  TCheckBoxState state_ = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
  DECLARE_CLASS(TCheckBox, TCustomCheckBox)
  using TCustomCheckBox::TCustomCheckBox;
};

class TRadioButton : public TButtonControl {
  DECLARE_CLASS(TRadioButton, TButtonControl)

  explicit TRadioButton(TComponent* owner);

  TLeftRight GetAlignment() const { return alignment_; }
  void SetAlignment(TLeftRight v);
  bool GetChecked() const override { return checked_; }
  // Checking one radio button unchecks its siblings and clicks it.
  void SetChecked(bool v) override;

  TAlignment GetControlsAlignment() const override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& m) override;

  virtual void CNCommand(TMessage& m);
  void CMDialogChar(TMessage& m) override;

 private:
  TLeftRight alignment_ = taRightJustify;
  bool checked_ = false;
};
