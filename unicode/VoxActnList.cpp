#include "unicode/VoxActnList.h"

#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"
#include "unicode/VoxMenus.h"
#include "unicode/VoxSysUtils.h"

// --- The helper ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TCustomActionHelper)

TCustomActionHelper::TCustomActionHelper(TComponent* owner) : TComponent(owner) {
  Action = dynamic_cast<TCustomAction*>(owner);
}

namespace {

// The wide action's helper, found among the components it owns; with
// create, made when it has none. An action on its way out gets none: its
// owned components are going too.
TCustomActionHelper* FindActionHelper(TCustomAction* action, bool create) {
  if (!action || !Supports<IVoxAction>(action)) return nullptr;
  for (int i = 0; i < action->GetComponentCount(); ++i)
    if (auto* helper = dynamic_cast<TCustomActionHelper*>(action->GetComponent(i))) return helper;
  if (!create || action->IsDestroying()) return nullptr;
  return New<TCustomActionHelper>(action);
}

// One wide text of a wide action: the caption's fields or the hint's, and
// the class library's own ANSI getter and setter of that text (called as
// the class library's, whatever a descendant may override).
struct TWideActionText {
  std::wstring TCustomActionHelper::*Wide;
  bool TCustomActionHelper::*Setting;
  std::wstring TCustomActionHelper::*BeforeSet;
  std::string TCustomActionHelper::*AnsiBeingSet;
  const std::string& (*GetAnsi)(TCustomAction* action);
  void (*SetAnsi)(TCustomAction* action, const std::string& value);
};

const TWideActionText kCaption = {
    &TCustomActionHelper::Caption,
    &TCustomActionHelper::SettingCaption,
    &TCustomActionHelper::CaptionBeforeSet,
    &TCustomActionHelper::AnsiCaptionBeingSet,
    [](TCustomAction* a) -> const std::string& { return a->TCustomAction::GetCaption(); },
    [](TCustomAction* a, const std::string& v) { a->TCustomAction::SetCaption(v); },
};
const TWideActionText kHint = {
    &TCustomActionHelper::Hint,
    &TCustomActionHelper::SettingHint,
    &TCustomActionHelper::HintBeforeSet,
    &TCustomActionHelper::AnsiHintBeingSet,
    [](TCustomAction* a) -> const std::string& { return a->TCustomAction::GetHint(); },
    [](TCustomAction* a, const std::string& v) { a->TCustomAction::SetHint(v); },
};

// The class library tells the links of a new ANSI text before it stores it:
// until the stored ANSI text is the one being set, the set is under way.
bool SetUnderWay(TCustomAction* action, TCustomActionHelper* helper, const TWideActionText& t) {
  return helper->*t.Setting && t.GetAnsi(action) != helper->*t.AnsiBeingSet;
}

std::wstring GetWideText(TCustomAction* action, const TWideActionText& t) {
  TCustomActionHelper* helper = FindActionHelper(action, true);
  if (!helper) return AnsiToWide(t.GetAnsi(action));
  if (SetUnderWay(action, helper, t)) return helper->*t.BeforeSet;
  return GetSyncedWideString(helper->*t.Wide, t.GetAnsi(action));
}

void SetWideText(TCustomAction* action, const std::wstring& value, const TWideActionText& t) {
  TCustomActionHelper* helper = FindActionHelper(action, true);
  if (!helper) {
    t.SetAnsi(action, WideToAnsi(value));
    return;
  }
  // A text that shares its ANSI form with the current one ("Жук" and "Мир"
  // are both "???") goes through "" so that the ANSI side sees a change.
  // That step comes first, as a set of its own: the links follow it to ""
  // and, still linked, then take the new wide text.
  std::string ansiValue = WideToAnsi(value);
  if (value != GetWideText(action, t) && AnsiToWide(ansiValue) != value && t.GetAnsi(action) == ansiValue)
    t.SetAnsi(action, std::string());
  helper->*t.BeforeSet = GetWideText(action, t);
  helper->*t.AnsiBeingSet = ansiValue;
  TRestore setting(helper->*t.Setting, true);
  SetSyncedWideString(value, helper->*t.Wide, t.GetAnsi(action),
                      [action, &t](const std::string& s) { t.SetAnsi(action, s); });
}

std::wstring LinkText(TCustomAction* action, const std::string& value, const TWideActionText& t) {
  TCustomActionHelper* helper = FindActionHelper(action, false);
  if (helper && SetUnderWay(action, helper, t)) return helper->*t.Wide;
  return AnsiToWide(value);
}

}  // namespace

// --- Free routines -------------------------------------------------------------------

std::wstring VoxAction_GetCaption(TCustomAction* action) { return GetWideText(action, kCaption); }
std::wstring VoxAction_GetHint(TCustomAction* action) { return GetWideText(action, kHint); }
void VoxAction_SetCaption(TCustomAction* action, const std::wstring& value) { SetWideText(action, value, kCaption); }
void VoxAction_SetHint(TCustomAction* action, const std::wstring& value) { SetWideText(action, value, kHint); }

std::wstring VoxActionLink_Caption(TCustomAction* action, const std::string& value) {
  return LinkText(action, value, kCaption);
}
std::wstring VoxActionLink_Hint(TCustomAction* action, const std::string& value) {
  return LinkText(action, value, kHint);
}

void VoxAction_AfterInherited_Assign(TCustomAction* action, TPersistent* source) {
  // The wide texts themselves, not only their ANSI forms: a copy keeps what
  // the code page cannot hold (the ANSI side gets the same ANSI forms).
  if (auto* sourceAction = dynamic_cast<TCustomAction*>(source)) {
    VoxAction_SetCaption(action, VoxAction_GetCaption(sourceAction));
    VoxAction_SetHint(action, VoxAction_GetHint(sourceAction));
  } else if (auto* control = dynamic_cast<TControl*>(source)) {
    VoxAction_SetCaption(action, VoxControl_GetText(control));
    VoxAction_SetHint(action, VoxControl_GetHint(control));
  }
}

TClass VoxControl_GetActionLinkClass(TControl* control, TClass inheritedClass) {
  TClass result;
  if (dynamic_cast<TCustomListView*>(control)) result = TVoxListViewActionLink::StaticClass();
  else if (dynamic_cast<TComboBoxEx*>(control)) result = TVoxComboBoxExActionLink::StaticClass();
  else if (dynamic_cast<TSpeedButton*>(control)) result = TVoxSpeedButtonActionLink::StaticClass();
  else if (dynamic_cast<TToolButton*>(control)) result = TVoxToolButtonActionLink::StaticClass();
  else if (dynamic_cast<TButtonControl*>(control)) result = TVoxButtonActionLink::StaticClass();
  else if (dynamic_cast<TWinControl*>(control)) result = TVoxWinControlActionLink::StaticClass();
  else result = TVoxControlActionLink::StaticClass();
  // A control class with a link of its own would lose what its link does.
  VoxAssert(inheritedClass == result->ClassParent(), "Assertion failure", "VoxActnList", 450);
  return result;
}

void VoxControl_BeforeInherited_ActionChange(TControl* control, TObject* sender, bool checkDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (!action || !Supports<IVoxAction>(action)) return;
  // A caption that is still the control's name is the designer's default.
  std::wstring text = VoxControl_GetText(control);
  if (!checkDefaults || text.empty() || text == AnsiToWide(control->GetName()))
    VoxControl_SetText(control, VoxAction_GetCaption(action));
  if (!checkDefaults || VoxControl_GetHint(control).empty()) VoxControl_SetHint(control, VoxAction_GetHint(action));
}

// --- Wide actions ------------------------------------------------------------------------

PUBLISHED(TVoxCustomAction) {}

TVoxCustomAction::TVoxCustomAction(TComponent* owner) : TVoxActionOf(owner) {}

PUBLISHED(TVoxAction) {
  PublishWideActionCaption(p);
  PublishWideActionHint(p);
}

TVoxAction::TVoxAction(TComponent* owner) : TVoxActionOf(owner) {}

// --- The wide action list ------------------------------------------------------------------

TUpgradeActionListItemsProc UpgradeActionListItemsProc;

IMPLEMENT_CLASS(TVoxActionList)

TVoxActionList::TVoxActionList(TComponent* owner) : TActionList(owner) {
  if (!IsDesigning()) return;
  checkActionsTimer_ = New<TTimer>(this);
  checkActionsTimer_->SetEnabled(false);
  checkActionsTimer_->SetInterval(50);
  checkActionsTimer_->SetOnTimer(TNotifyEvent(this, &TVoxActionList::CheckActions));
}

void TVoxActionList::Change() {
  inherited::Change();
  // An action is added at the end; a shorter or equal list lost or moved one.
  int count = GetActionCount();
  if (checkActionsTimer_ && count > knownActionCount_ && !Supports<IVoxAction>(GetAction(count - 1))) {
    checkActionsTimer_->SetEnabled(false);
    checkActionsTimer_->SetEnabled(true);
  }
  knownActionCount_ = count;
}

void TVoxActionList::CheckActions(TObject*) {
  checkActionsTimer_->SetEnabled(false);
  VoxAssert(IsDesigning(), "Assertion failure", "VoxActnList", 246);
  VoxAssert(static_cast<bool>(UpgradeActionListItemsProc), "Assertion failure", "VoxActnList", 247);
  UpgradeActionListItemsProc(this);
}

// --- Wide action links --------------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxControlActionLink)
IMPLEMENT_CLASS(TVoxWinControlActionLink)
IMPLEMENT_CLASS(TVoxButtonActionLink)
IMPLEMENT_CLASS(TVoxToolButtonActionLink)
IMPLEMENT_CLASS(TVoxSpeedButtonActionLink)
IMPLEMENT_CLASS(TVoxListViewActionLink)
IMPLEMENT_CLASS(TVoxComboBoxExActionLink)
IMPLEMENT_CLASS(TVoxMenuActionLink)

bool TVoxMenuActionLink::IsCaptionLinked() {
  return inherited::IsCaptionLinked() &&
         WideSameCaption(VoxAction_GetCaption(CustomAction()), WideGetMenuItemCaption(GetClient()));
}

bool TVoxMenuActionLink::IsHintLinked() {
  return inherited::IsHintLinked() && VoxAction_GetHint(CustomAction()) == WideGetMenuItemHint(GetClient());
}

void TVoxMenuActionLink::SetCaption(const std::string& value) {
  if (!IsCaptionLinked()) return;
  std::wstring text = VoxActionLink_Caption(CustomAction(), value);
  if (auto* item = dynamic_cast<TVoxMenuItem*>(GetClient())) item->SetCaption(text);
  else GetClient()->SetCaption(WideToAnsi(text));
}

void TVoxMenuActionLink::SetHint(const std::string& value) {
  if (!IsHintLinked()) return;
  std::wstring text = VoxActionLink_Hint(CustomAction(), value);
  if (auto* item = dynamic_cast<TVoxMenuItem*>(GetClient())) item->SetHint(text);
  else GetClient()->SetHint(WideToAnsi(text));
}

