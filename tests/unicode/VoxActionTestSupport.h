// Helpers of the wide action tests: wide clients of actions, as the layer's
// controls are (the wide link and the wide ActionChange step).
#pragma once

#include "unicode/VoxActnList.h"

template <class Base>
class TWideActionClientOf : public Base {
 public:
  using Base::Base;
  TClass GetActionLinkClass() override { return VoxControl_GetActionLinkClass(this, Base::GetActionLinkClass()); }
  void ActionChange(TObject* sender, bool checkDefaults) override {
    VoxControl_BeforeInherited_ActionChange(this, sender, checkDefaults);
    Base::ActionChange(sender, checkDefaults);
  }
};

class TWideLabel : public TWideActionClientOf<TLabel> {
  DECLARE_CLASS(TWideLabel, TLabel)
  using TWideActionClientOf::TWideActionClientOf;
};

class TWideSpeedButton : public TWideActionClientOf<TSpeedButton> {
  DECLARE_CLASS(TWideSpeedButton, TSpeedButton)
  using TWideActionClientOf::TWideActionClientOf;
};

// Wide window controls: a Unicode window of the system class (when the
// layer has the wide API), wide text and the wide link.
class TWideButton : public TWideActionClientOf<TButton> {
  DECLARE_CLASS(TWideButton, TButton)
  using TWideActionClientOf::TWideActionClientOf;
  void CreateWindowHandle(const TCreateParams& params) override { CreateUnicodeHandle(this, params, L"BUTTON"); }
};

class TWideCheckBox : public TWideActionClientOf<TCheckBox> {
  DECLARE_CLASS(TWideCheckBox, TCheckBox)
  using TWideActionClientOf::TWideActionClientOf;
  void CreateWindowHandle(const TCreateParams& params) override { CreateUnicodeHandle(this, params, L"BUTTON"); }
};

class TWideEdit : public TWideActionClientOf<TEdit> {
  DECLARE_CLASS(TWideEdit, TEdit)
  using TWideActionClientOf::TWideActionClientOf;
  void CreateWindowHandle(const TCreateParams& params) override { CreateUnicodeHandle(this, params, L"EDIT"); }
};
