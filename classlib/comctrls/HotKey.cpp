#include "classlib/comctrls/HotKey.h"

#include "classlib/stdctrls/StdCtrlsPublish.h"

DEFINE_ENUM_TYPE(THKModifier, "hkShift", "hkCtrl", "hkAlt", "hkExt")
DEFINE_ENUM_TYPE(THKInvalidKey, "hcNone", "hcShift", "hcCtrl", "hcAlt", "hcShiftCtrl", "hcShiftAlt", "hcCtrlAlt",
                 "hcShiftCtrlAlt")

namespace {
// The control's modifier flags in the high byte of its word, the key in the
// low one.
TShortCut FromHotKeyWord(WORD w) {
  BYTE flags = HIBYTE(w);
  TShortCut s = LOBYTE(w);
  if (flags & HOTKEYF_SHIFT) s |= scShift;
  if (flags & HOTKEYF_CONTROL) s |= scCtrl;
  if (flags & HOTKEYF_ALT) s |= scAlt;
  return s;
}

WORD ToHotKeyWord(TShortCut s, bool ext) {
  BYTE flags = 0;
  if (s & scShift) flags |= HOTKEYF_SHIFT;
  if (s & scCtrl) flags |= HOTKEYF_CONTROL;
  if (s & scAlt) flags |= HOTKEYF_ALT;
  if (ext) flags |= HOTKEYF_EXT;
  return MAKEWORD(LOBYTE(s), flags);
}
}  // namespace

PUBLISHED(THotKey) {
  PublishControlProps(p, {"Anchors", "BiDiMode", "Constraints", "Enabled"});
  p.Prop("HotKey", &THotKey::GetHotKey, &THotKey::SetHotKey).Default(scAlt | 'A');
  p.Prop("InvalidKeys", &THotKey::GetInvalidKeys, &THotKey::SetInvalidKeys)
      .Default(THKInvalidKeys{hcNone, hcShift});
  p.Prop("Modifiers", &THotKey::GetModifiers, &THotKey::SetModifiers).Default(THKModifiers{hkAlt});
  PublishControlProps(p, {"ParentBiDiMode", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder"});
  p.Prop("TabStop", &THotKey::GetTabStop, &THotKey::SetTabStop).Default(true);
  PublishControlProps(p, {"Visible", "OnContextPopup", "OnEnter", "OnExit", "OnMouseDown", "OnMouseMove",
                          "OnMouseUp"});
}
IMPLEMENT_CLASS(TCustomHotKey)

TCustomHotKey::TCustomHotKey(TComponent* owner) : TWinControl(owner) {
  SetBounds(GetLeft(), GetTop(), 121, 25);
  SetTabStop(true);
  SetParentColor(false);
  // Alt+A, the platform's first combination.
  hotKey_ = scAlt | 'A';
}

void TCustomHotKey::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  CreateSubClass(params, HOTKEY_CLASSA);
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomHotKey::CreateWnd() {
  inherited::CreateWnd();
  UpdateRules();
  ShortCutToHotKey(hotKey_);
}

void TCustomHotKey::DestroyWnd() {
  hotKey_ = GetHotKey();
  inherited::DestroyWnd();
}

TShortCut TCustomHotKey::GetHotKey() {
  if (HandleAllocated()) hotKey_ = FromHotKeyWord(LOWORD(SendMessageA(GetWindowHandle(), HKM_GETHOTKEY, 0, 0)));
  return hotKey_;
}

void TCustomHotKey::SetHotKey(TShortCut v) {
  hotKey_ = v;
  ShortCutToHotKey(v);
}

void TCustomHotKey::ShortCutToHotKey(TShortCut v) {
  if (HandleAllocated())
    SendMessageA(GetWindowHandle(), HKM_SETHOTKEY, ToHotKeyWord(v, modifiers_.Contains(hkExt)), 0);
}

void TCustomHotKey::SetInvalidKeys(THKInvalidKeys v) {
  if (invalidKeys_ == v) return;
  invalidKeys_ = v;
  UpdateRules();
}

void TCustomHotKey::SetModifiers(THKModifiers v) {
  if (modifiers_ == v) return;
  modifiers_ = v;
  UpdateRules();
  ShortCutToHotKey(hotKey_);
}

void TCustomHotKey::UpdateRules() {
  if (!HandleAllocated()) return;
  static const WORD invalidFlags[] = {HKCOMB_NONE, HKCOMB_S,  HKCOMB_C,  HKCOMB_A,
                                      HKCOMB_SC,   HKCOMB_SA, HKCOMB_CA, HKCOMB_SCA};
  WORD invalid = 0;
  for (int k = hcNone; k <= hcShiftCtrlAlt; ++k)
    if (invalidKeys_.Contains(static_cast<THKInvalidKey>(k))) invalid |= invalidFlags[k];
  WORD mods = 0;
  if (modifiers_.Contains(hkShift)) mods |= HOTKEYF_SHIFT;
  if (modifiers_.Contains(hkCtrl)) mods |= HOTKEYF_CONTROL;
  if (modifiers_.Contains(hkAlt)) mods |= HOTKEYF_ALT;
  if (modifiers_.Contains(hkExt)) mods |= HOTKEYF_EXT;
  SendMessageA(GetWindowHandle(), HKM_SETRULES, invalid, MAKELPARAM(mods, 0));
}
