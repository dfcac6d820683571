// TCustomHotKey and THotKey: a key-combination field over the system's hot
// key control ("msctls_hotkey32"). HotKey is the combination as a shortcut
// (the key with scShift, scCtrl and scAlt); InvalidKeys names the modifier
// combinations the control refuses and Modifiers those it puts in their
// place (HKM_SETRULES).
#pragma once

#include "classlib/Controls.h"
#include "classlib/menus/MenuTypes.h"

enum THKModifier { hkShift, hkCtrl, hkAlt, hkExt };
DECLARE_ENUM_TYPE(THKModifier);
using THKModifiers = TSet<THKModifier>;
enum THKInvalidKey { hcNone, hcShift, hcCtrl, hcAlt, hcShiftCtrl, hcShiftAlt, hcCtrlAlt, hcShiftCtrlAlt };
DECLARE_ENUM_TYPE(THKInvalidKey);
using THKInvalidKeys = TSet<THKInvalidKey>;

class TCustomHotKey : public TWinControl {
  DECLARE_CLASS(TCustomHotKey, TWinControl)

  explicit TCustomHotKey(TComponent* owner);

  // The window's combination while there is one.
  TShortCut GetHotKey();
  void SetHotKey(TShortCut v);
  THKInvalidKeys GetInvalidKeys() const { return invalidKeys_; }
  void SetInvalidKeys(THKInvalidKeys v);
  THKModifiers GetModifiers() const { return modifiers_; }
  void SetModifiers(THKModifiers v);

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  void UpdateRules();
  void ShortCutToHotKey(TShortCut v);

  TShortCut hotKey_;
  THKInvalidKeys invalidKeys_{hcNone, hcShift};
  THKModifiers modifiers_{hkAlt};
};

class THotKey : public TCustomHotKey {
  DECLARE_CLASS(THotKey, TCustomHotKey)
  using TCustomHotKey::TCustomHotKey;
};
