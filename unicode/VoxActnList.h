// VoxActnList: UTF-16 Caption and Hint for the class library's actions, and
// action links that carry the wide texts to menu items and controls.
//
// The class library's actions and links speak ANSI and stay untouched. A
// wide action keeps its wide texts in a TCustomActionHelper that it owns,
// synchronised with its ANSI Caption and Hint as every wide text of the
// layer is (the wide value counts while its ANSI form is still the ANSI
// value). Setting a wide caption goes through the class library's ANSI
// setter, which tells the links before it stores the new ANSI caption; the
// wide links then hand their clients the helper's new wide text instead of
// the widened ANSI value they were given.
//
// A wide control publishes Action as any control does; it answers
// GetActionLinkClass with VoxControl_GetActionLinkClass and runs
// VoxControl_BeforeInherited_ActionChange before its inherited ActionChange.
#pragma once

#include <functional>
#include <string>

#include "classlib/ActnList.h"
#include "classlib/Buttons.h"
#include "classlib/ComCtrls.h"
#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"
#include "classlib/SysUtils.h"
#include "classlib/TypInfo.h"
#include "unicode/VoxClasses.h"
#include "unicode/VoxControls.h"

// Every wide action supports it; code asks with Supports<IVoxAction>.
class IVoxAction : public IInterface {
 public:
  static constexpr TGUID IID = TGUID::Parse("{59D0AE37-8161-4AD6-9102-14B28E5761EB}");
};

// The wide texts of one wide action: owned by the action, at most one per
// action, made on first need. While a text is being set the class library
// tells the links before it stores its new ANSI value: the wide text at the
// start of the set answers for the action meanwhile, and the ANSI form being
// set tells when the set has gone through.
class TCustomActionHelper : public TComponent {
  DECLARE_CLASS(TCustomActionHelper, TComponent)

  explicit TCustomActionHelper(TComponent* owner);

  TCustomAction* Action = nullptr;
  std::wstring Caption;
  bool SettingCaption = false;
  std::wstring CaptionBeforeSet;
  std::string AnsiCaptionBeingSet;
  std::wstring Hint;
  bool SettingHint = false;
  std::wstring HintBeforeSet;
  std::string AnsiHintBeingSet;
};

// --- Free routines -------------------------------------------------------------------
// The wide text of any action: a wide action's own, the ANSI value widened
// for any other.
std::wstring VoxAction_GetCaption(TCustomAction* action);
std::wstring VoxAction_GetHint(TCustomAction* action);
// Sets the wide text of a wide action (its ANSI form through the class
// library's setter, which tells the links); an ANSI action gets the ANSI form.
void VoxAction_SetCaption(TCustomAction* action, const std::wstring& value);
void VoxAction_SetHint(TCustomAction* action, const std::wstring& value);
// After an inherited Assign: the caption and hint of the source action or
// control.
void VoxAction_AfterInherited_Assign(TCustomAction* action, TPersistent* source);
// The wide link class for a control whose inherited GetActionLinkClass gave
// inheritedClass (which must be the wide class's parent).
TClass VoxControl_GetActionLinkClass(TControl* control, TClass inheritedClass);
// A wide action's caption and hint into the control's wide text and hint,
// before the control's inherited ActionChange takes the rest.
void VoxControl_BeforeInherited_ActionChange(TControl* control, TObject* sender, bool checkDefaults);

// The text a wide link hands its client for the ANSI value the class library
// gave it: the value widened, or the wide text being set on a wide action.
std::wstring VoxActionLink_Caption(TCustomAction* action, const std::string& value);
std::wstring VoxActionLink_Hint(TCustomAction* action, const std::string& value);

// --- Wide actions ------------------------------------------------------------------------
// The members every wide action class has, over the class library's action
// Base: Assign (inherited, then AfterAssign) and DefineProperties with the
// layer's steps, and the wide Caption and Hint. The ANSI setters stay
// reachable beside the wide ones.
template <class Base, void (*AfterAssign)(TCustomAction*, TPersistent*) = &VoxAction_AfterInherited_Assign>
class TVoxActionOf : public Base, public IVoxAction {
 public:
  using Wide = TVoxActionOf;
  using Base::Base;
  using Base::SetCaption;
  using Base::SetHint;

  void Assign(TPersistent* source) override {
    Base::Assign(source);
    AfterAssign(this, source);
  }
  // The component's own definitions (not the ANSI action's), then the
  // wide-text companions.
  void DefineProperties(TFiler* filer) override {
    this->TComponent::DefineProperties(filer);
    VoxPersistent_AfterInherited_DefineProperties(filer, this);
  }

  std::wstring GetCaption() { return VoxAction_GetCaption(this); }
  void SetCaption(const std::wstring& value) { VoxAction_SetCaption(this, value); }
  std::wstring GetHint() { return VoxAction_GetHint(this); }
  void SetHint(const std::wstring& value) { VoxAction_SetHint(this, value); }
};

// Publishes the wide Caption and Hint of a wide action class T (no default:
// always written).
template <class T>
void PublishWideActionCaption(TPublisher<T>& p) {
  using Wide = typename T::Wide;
  p.Prop("Caption", &Wide::GetCaption, static_cast<void (Wide::*)(const std::wstring&)>(&Wide::SetCaption));
}
template <class T>
void PublishWideActionHint(TPublisher<T>& p) {
  using Wide = typename T::Wide;
  p.Prop("Hint", &Wide::GetHint, static_cast<void (Wide::*)(const std::wstring&)>(&Wide::SetHint));
}

class TVoxCustomAction : public TVoxActionOf<TCustomAction> {
  DECLARE_CLASS(TVoxCustomAction, TCustomAction)
  explicit TVoxCustomAction(TComponent* owner);
};

class TVoxAction : public TVoxActionOf<TAction> {
  DECLARE_CLASS(TVoxAction, TAction)
  explicit TVoxAction(TComponent* owner);
};

// --- The wide action list ------------------------------------------------------------------
class TVoxActionList;
// Set by a designer: turns the ANSI actions of a list being designed into
// wide ones.
using TUpgradeActionListItemsProc = std::function<void(TVoxActionList* list)>;
extern TUpgradeActionListItemsProc UpgradeActionListItemsProc;

// At run time the class library's action list. While designed, an ANSI
// action added to it starts a 50 ms timer whose tick hands the list to
// UpgradeActionListItemsProc (the designer adds actions one by one; the
// timer lets it finish first).
class TVoxActionList : public TActionList {
  DECLARE_CLASS(TVoxActionList, TActionList)
  explicit TVoxActionList(TComponent* owner);

  // The design-time timer (null at run time).
  TTimer* GetCheckActionsTimer() const { return checkActionsTimer_; }

 protected:
  void Change() override;

 private:
  void CheckActions(TObject* sender);
  TTimer* checkActionsTimer_ = nullptr;
  int knownActionCount_ = 0;
};

// --- Wide action links --------------------------------------------------------------------------
// The wide caption and hint of a control link over the class library's link
// Base: linked only while the control's wide text (hint) is the action's
// too; the control gets wide text.
template <class Base>
class TVoxControlActionLinkOf : public Base {
 public:
  using Base::Base;

  bool IsCaptionLinked() override {
    return Base::IsCaptionLinked() && VoxAction_GetCaption(this->CustomAction()) == VoxControl_GetText(this->client_);
  }
  bool IsHintLinked() override {
    return Base::IsHintLinked() && VoxAction_GetHint(this->CustomAction()) == VoxControl_GetHint(this->client_);
  }
  void SetCaption(const std::string& value) override {
    if (IsCaptionLinked()) VoxControl_SetText(this->client_, VoxActionLink_Caption(this->CustomAction(), value));
  }
  void SetHint(const std::string& value) override {
    if (IsHintLinked()) VoxControl_SetHint(this->client_, VoxActionLink_Hint(this->CustomAction(), value));
  }
};

class TVoxControlActionLink : public TVoxControlActionLinkOf<TControlActionLink> {
  DECLARE_CLASS(TVoxControlActionLink, TControlActionLink)
  using TVoxControlActionLinkOf::TVoxControlActionLinkOf;
};

class TVoxWinControlActionLink : public TVoxControlActionLinkOf<TWinControlActionLink> {
  DECLARE_CLASS(TVoxWinControlActionLink, TWinControlActionLink)
  using TVoxControlActionLinkOf::TVoxControlActionLinkOf;
};

class TVoxButtonActionLink : public TVoxControlActionLinkOf<TButtonActionLink> {
  DECLARE_CLASS(TVoxButtonActionLink, TButtonActionLink)
  using TVoxControlActionLinkOf::TVoxControlActionLinkOf;
};

class TVoxToolButtonActionLink : public TVoxControlActionLinkOf<TToolButtonActionLink> {
  DECLARE_CLASS(TVoxToolButtonActionLink, TToolButtonActionLink)
  using TVoxControlActionLinkOf::TVoxControlActionLinkOf;
};

class TVoxSpeedButtonActionLink : public TVoxControlActionLinkOf<TSpeedButtonActionLink> {
  DECLARE_CLASS(TVoxSpeedButtonActionLink, TSpeedButtonActionLink)
  using TVoxControlActionLinkOf::TVoxControlActionLinkOf;
};

class TVoxListViewActionLink : public TVoxControlActionLinkOf<TListViewActionLink> {
  DECLARE_CLASS(TVoxListViewActionLink, TListViewActionLink)
  using TVoxControlActionLinkOf::TVoxControlActionLinkOf;
};

class TVoxComboBoxExActionLink : public TVoxControlActionLinkOf<TComboBoxExActionLink> {
  DECLARE_CLASS(TVoxComboBoxExActionLink, TComboBoxExActionLink)
  using TVoxControlActionLinkOf::TVoxControlActionLinkOf;
};

// The link of a wide menu item: the caption is linked while the item shows
// the action's caption apart from accelerator marks and case (the class
// library moves marks when it picks hotkeys).
class TVoxMenuActionLink : public TMenuActionLink {
  DECLARE_CLASS(TVoxMenuActionLink, TMenuActionLink)
  using TMenuActionLink::TMenuActionLink;

  bool IsCaptionLinked() override;
  bool IsHintLinked() override;
  void SetCaption(const std::string& value) override;
  void SetHint(const std::string& value) override;
};
