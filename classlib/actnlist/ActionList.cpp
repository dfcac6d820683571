#include "classlib/actnlist/ActionList.h"

#include <algorithm>

#include "classlib/Messages.h"
#include "classlib/controls/ControlsHooks.h"

#if __has_include("classlib/ImgList.h")
#include "classlib/ImgList.h"
#define CLASSLIB_HAS_IMGLIST 1
#endif

DEFINE_ENUM_TYPE(TActionListState, "asNormal", "asSuspended", "asSuspendedEnabled")

LRESULT SendAppMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  auto& hooks = ControlsHooks();
  HWND app = hooks.ApplicationHandle ? hooks.ApplicationHandle() : nullptr;
  return app ? SendMessageA(app, msg, wParam, lParam) : 0;
}

// ---------------------------------------------------------------------------

PUBLISHED(TContainedAction) {
  p.Prop("Category", &TContainedAction::GetCategory, &TContainedAction::SetCategory);
}

TContainedAction::TContainedAction(TComponent* owner) : TBasicAction(owner) {}

void TContainedAction::Destroy() {
  if (actionList_) actionList_->RemoveAction(this);
  inherited::Destroy();
}

bool TContainedAction::Execute() {
  auto& hooks = ControlsHooks();
  if (actionList_ && actionList_->ExecuteAction(this)) return true;
  if (hooks.ExecuteAction && hooks.ExecuteAction(this)) return true;
  if (inherited::Execute()) return true;
  return SendAppMessage(CM_ACTIONEXECUTE, 0, reinterpret_cast<LPARAM>(this)) == 1;
}

bool TContainedAction::Update() {
  auto& hooks = ControlsHooks();
  if (actionList_ && actionList_->UpdateAction(this)) return true;
  if (hooks.UpdateAction && hooks.UpdateAction(this)) return true;
  if (inherited::Update()) return true;
  return SendAppMessage(CM_ACTIONUPDATE, 0, reinterpret_cast<LPARAM>(this)) == 1;
}

void TContainedAction::SetActionList(TCustomActionList* list) {
  if (list == actionList_) return;
  if (actionList_) actionList_->RemoveAction(this);
  if (list) list->AddAction(this);
}

int TContainedAction::GetIndex() const {
  if (!actionList_) return -1;
  auto& a = actionList_->actions_;
  auto it = std::find(a.begin(), a.end(), this);
  return it == a.end() ? -1 : static_cast<int>(it - a.begin());
}

void TContainedAction::SetIndex(int v) {
  int cur = GetIndex();
  if (cur < 0) return;
  auto& a = actionList_->actions_;
  v = std::clamp(v, 0, static_cast<int>(a.size()) - 1);
  if (v == cur) return;
  a.erase(a.begin() + cur);
  a.insert(a.begin() + v, this);
}

void TContainedAction::SetCategory(const std::string& v) {
  if (v == category_) return;
  category_ = v;
  if (actionList_) actionList_->Change();
}

TComponent* TContainedAction::GetParentComponent() { return actionList_; }

void TContainedAction::SetParentComponent(TComponent* parent) {
  if (auto* list = dynamic_cast<TCustomActionList*>(parent)) SetActionList(list);
}

// ---------------------------------------------------------------------------

PUBLISHED(TCustomAction) {}

TCustomAction::TCustomAction(TComponent* owner) : TContainedAction(owner) {}

template <class F>
void TCustomAction::ForLinks(F f) {
  // A link may drop itself while it is told: walk a copy.
  std::vector<TBasicActionLink*> links = clients_;
  for (TBasicActionLink* l : links)
    if (auto* link = dynamic_cast<TActionLink*>(l)) f(link);
}

bool TCustomAction::Suspended() const { return GetActionList() && GetActionList()->GetState() != asNormal; }

bool TCustomAction::Execute() {
  if (Suspended()) return false;
  Update();
  return enabled_ && inherited::Execute();
}

bool TCustomAction::DoHint(std::string& hintStr) {
  bool result = true;
  if (OnHint) OnHint(hintStr, result);
  return result;
}

void TCustomAction::SetCaption(const std::string& v) {
  if (v == caption_) return;
  ForLinks([&](TActionLink* l) { l->SetCaption(v); });
  caption_ = v;
  Change();
}

void TCustomAction::SetChecked(bool v) {
  if (checking_ || v == checked_) return;
  checking_ = true;
  try {
    ForLinks([&](TActionLink* l) { l->SetChecked(v); });
    checked_ = v;
    // One checked action per group of a list.
    if (groupIndex_ > 0 && v && GetActionList()) {
      for (int i = 0; i < GetActionList()->GetActionCount(); ++i) {
        auto* a = dynamic_cast<TCustomAction*>(GetActionList()->GetAction(i));
        if (a && a != this && a->groupIndex_ == groupIndex_) a->SetChecked(false);
      }
    }
    Change();
  } catch (...) {
    checking_ = false;
    throw;
  }
  checking_ = false;
}

void TCustomAction::SetEnabled(bool v) {
  if (v == enabled_) return;
  if (TCustomActionList* list = GetActionList()) {
    if (list->GetState() == asSuspended) {
      enabled_ = v;
      return;
    }
    if (list->GetState() == asSuspendedEnabled) v = true;
  }
  ForLinks([&](TActionLink* l) { l->SetEnabled(v); });
  enabled_ = v;
  Change();
}

void TCustomAction::SetGroupIndex(int v) {
  if (v == groupIndex_) return;
  groupIndex_ = v;
  if (checked_ && v > 0 && GetActionList()) {
    for (int i = 0; i < GetActionList()->GetActionCount(); ++i) {
      auto* a = dynamic_cast<TCustomAction*>(GetActionList()->GetAction(i));
      if (a && a != this && a->groupIndex_ == v) a->SetChecked(false);
    }
  }
  ForLinks([&](TActionLink* l) { l->SetGroupIndex(v); });
  Change();
}

void TCustomAction::SetHelpContext(int v) {
  if (v == helpContext_) return;
  ForLinks([&](TActionLink* l) { l->SetHelpContext(v); });
  helpContext_ = v;
  Change();
}

void TCustomAction::SetHint(const std::string& v) {
  if (v == hint_) return;
  ForLinks([&](TActionLink* l) { l->SetHint(v); });
  hint_ = v;
  Change();
}

void TCustomAction::SetImageIndex(int v) {
  if (v == imageIndex_) return;
  ForLinks([&](TActionLink* l) { l->SetImageIndex(v); });
  imageIndex_ = v;
  Change();
}

void TCustomAction::SetShortCut(TShortCut v) {
  if (v == shortCut_) return;
  ForLinks([&](TActionLink* l) { l->SetShortCut(v); });
  shortCut_ = v;
  Change();
}

void TCustomAction::SetVisible(bool v) {
  if (v == visible_) return;
  ForLinks([&](TActionLink* l) { l->SetVisible(v); });
  visible_ = v;
  Change();
}

TCustomImageList* TCustomAction::GetImages() const {
  return GetActionList() ? GetActionList()->GetImages() : nullptr;
}

void TCustomAction::AssignTo(TPersistent* dest) {
  auto* a = dynamic_cast<TCustomAction*>(dest);
  if (!a) {
    inherited::AssignTo(dest);
    return;
  }
  a->SetCaption(caption_);
  a->SetChecked(checked_);
  a->SetEnabled(enabled_);
  a->SetGroupIndex(groupIndex_);
  a->SetHelpContext(helpContext_);
  a->SetHint(hint_);
  a->SetImageIndex(imageIndex_);
  a->SetShortCut(shortCut_);
  a->SetVisible(visible_);
  a->SetOnExecute(GetOnExecute());
  a->SetOnUpdate(GetOnUpdate());
  a->OnHint = OnHint;
}

// ---------------------------------------------------------------------------

PUBLISHED(TAction) {
  p.Prop("Caption", &TAction::GetCaption, &TAction::SetCaption);
  p.Prop("Checked", &TAction::GetChecked, &TAction::SetChecked).Default(false);
  p.Prop("Enabled", &TAction::GetEnabled, &TAction::SetEnabled).Default(true);
  p.Prop("GroupIndex", &TAction::GetGroupIndex, &TAction::SetGroupIndex).Default(0);
  p.Prop("HelpContext", &TAction::GetHelpContext, &TAction::SetHelpContext).Default(0);
  p.Prop("Hint", &TAction::GetHint, &TAction::SetHint);
  p.Prop("ImageIndex", &TAction::GetImageIndex, &TAction::SetImageIndex).Default(-1);
  p.Prop("ShortCut", &TAction::GetShortCut, &TAction::SetShortCut).Default(0);
  p.Prop("Visible", &TAction::GetVisible, &TAction::SetVisible).Default(true);
  p.Prop("OnExecute", &TAction::GetOnExecute, &TAction::SetOnExecute);
  p.Prop("OnHint", &TAction::GetOnHint, &TAction::SetOnHint);
  p.Prop("OnUpdate", &TAction::GetOnUpdate, &TAction::SetOnUpdate);
}

TAction::TAction(TComponent* owner) : TCustomAction(owner) { SetDisableIfNoHandler(true); }

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TActionLink)

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(GetAction()); }

bool TActionLink::IsCaptionLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsGroupIndexLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsHelpContextLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsImageIndexLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsShortCutLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() { return CustomAction() != nullptr; }

bool TActionLink::DoShowHint(std::string& hintStr) {
  TCustomAction* action = CustomAction();
  if (!action) return true;
  bool result = action->DoHint(hintStr);
  auto& hooks = ControlsHooks();
  if (result && hooks.HintShortCuts && hooks.HintShortCuts() && action->GetShortCut() != scNone &&
      !hintStr.empty() && hooks.ShortCutToText)
    hintStr = hintStr + " (" + hooks.ShortCutToText(action->GetShortCut()) + ")";
  return result;
}

// ---------------------------------------------------------------------------

PUBLISHED(TCustomActionList) {}

TCustomActionList::TCustomActionList(TComponent* owner) : TComponent(owner) {}

void TCustomActionList::Destroy() {
  // The actions outlive the list only as orphans; the owner frees them.
  while (!actions_.empty()) RemoveAction(actions_.back());
  inherited::Destroy();
}

void TCustomActionList::AddAction(TContainedAction* action) {
  if (!action || action->actionList_ == this) return;
  if (action->actionList_) action->actionList_->RemoveAction(action);
  actions_.push_back(action);
  action->actionList_ = this;
  action->FreeNotification(this);
  Change();
}

void TCustomActionList::RemoveAction(TContainedAction* action) {
  auto it = std::find(actions_.begin(), actions_.end(), action);
  if (it == actions_.end()) return;
  actions_.erase(it);
  action->actionList_ = nullptr;
  Change();
}

bool TCustomActionList::ExecuteAction(TBasicAction* action) {
  bool handled = false;
  if (state_ == asNormal && OnExecute) OnExecute(action, handled);
  return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* action) {
  bool handled = false;
  if (state_ == asNormal && OnUpdate) OnUpdate(action, handled);
  return handled;
}

bool TCustomActionList::IsShortCut(TShortCut shortCut) {
  if (state_ != asNormal || shortCut == scNone) return false;
  for (TContainedAction* a : std::vector<TContainedAction*>(actions_)) {
    auto* ca = dynamic_cast<TCustomAction*>(a);
    if (ca && ca->GetShortCut() == shortCut) return ca->Execute();
  }
  return false;
}

void TCustomActionList::SetState(TActionListState v) {
  if (v == state_) return;
  state_ = v;
  // Back to normal or into "all enabled": every action shows it at once.
  if (v != asSuspended)
    for (TContainedAction* a : actions_)
      if (auto* ca = dynamic_cast<TCustomAction*>(a)) {
        if (v == asSuspendedEnabled) ca->SetEnabled(true);
        else ca->Update();
      }
}

void TCustomActionList::SetImages(TCustomImageList* v) {
  auto& hooks = ControlsHooks();
  if (images_ && hooks.ImageListComponent) hooks.ImageListComponent(images_)->RemoveFreeNotification(this);
  images_ = v;
  if (images_ && hooks.ImageListComponent) hooks.ImageListComponent(images_)->FreeNotification(this);
}

void TCustomActionList::Change() {
  if (OnChange) OnChange(this);
}

void TCustomActionList::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TContainedAction* a : std::vector<TContainedAction*>(actions_))
    if (a->GetOwner() == root) proc(a);
}

void TCustomActionList::SetChildOrder(TComponent* child, int order) {
  auto* a = dynamic_cast<TContainedAction*>(child);
  if (a && a->actionList_ == this) a->SetIndex(order);
}

void TCustomActionList::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != opRemove) return;
  auto& hooks = ControlsHooks();
  if (images_ && hooks.ImageListComponent && hooks.ImageListComponent(images_) == component) images_ = nullptr;
  if (auto* a = dynamic_cast<TContainedAction*>(component)) RemoveAction(a);
}

// ---------------------------------------------------------------------------

PUBLISHED(TActionList) {
#ifdef CLASSLIB_HAS_IMGLIST
  p.Prop("Images", &TActionList::GetImages, &TActionList::SetImages);
#endif
  p.Prop("State", &TActionList::GetState, &TActionList::SetState).Default(asNormal);
  p.Prop("OnChange", &TActionList::GetOnChange, &TActionList::SetOnChange);
  p.Prop("OnExecute", &TActionList::GetOnExecute, &TActionList::SetOnExecute);
  p.Prop("OnUpdate", &TActionList::GetOnUpdate, &TActionList::SetOnUpdate);
}

TActionList::TActionList(TComponent* owner) : TCustomActionList(owner) {}
