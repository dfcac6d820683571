#include "classlib/classes/Action.h"

#include <algorithm>

IMPLEMENT_CLASS(TBasicActionLink)

TBasicActionLink::TBasicActionLink(TObject* client) : client_(client) {}

void TBasicActionLink::AfterConstruction() {
  inherited::AfterConstruction();
  AssignClient(client_);
}

TBasicActionLink::~TBasicActionLink() = default;

void TBasicActionLink::Destroy() {
  if (action_) action_->UnRegisterChanges(this);
  inherited::Destroy();
}

void TBasicActionLink::Change() {
  if (OnChange) OnChange(action_);
}

bool TBasicActionLink::Execute(TComponent* component) {
  TBasicAction* action = action_;
  if (!action) return false;
  action->SetActionComponent(component);
  bool result = false;
  try {
    result = action->Execute();
  } catch (...) {
    // The action may have been unlinked (or freed) by its own handler.
    if (action_) action_->SetActionComponent(nullptr);
    throw;
  }
  if (action_) action_->SetActionComponent(nullptr);
  return result;
}

bool TBasicActionLink::Update() { return action_ && action_->Update(); }

void TBasicActionLink::SetAction(TBasicAction* value) {
  if (value == action_) return;
  if (action_) action_->UnRegisterChanges(this);
  action_ = value;
  if (value) value->RegisterChanges(this);
}

// ---------------------------------------------------------------------------

PUBLISHED(TBasicAction) {}

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

void TBasicAction::Destroy() {
  // Each link drops itself from the list as it lets go.
  while (!clients_.empty()) clients_.back()->SetAction(nullptr);
  SetActionComponent(nullptr);
  inherited::Destroy();
}

bool TBasicAction::HandlesTarget(TObject*) { return false; }
void TBasicAction::UpdateTarget(TObject*) {}
void TBasicAction::ExecuteTarget(TObject*) {}

bool TBasicAction::Execute() {
  if (!onExecute_) return false;
  onExecute_(this);
  return true;
}

bool TBasicAction::Update() {
  if (!onUpdate_) return false;
  onUpdate_(this);
  return true;
}

void TBasicAction::Change() {
  if (onChange_) onChange_(this);
}

void TBasicAction::SetOnExecute(TNotifyEvent value) {
  if (value == onExecute_) return;
  for (TBasicActionLink* link : clients_) link->SetOnExecute(value);
  onExecute_ = value;
  Change();
}

void TBasicAction::RegisterChanges(TBasicActionLink* link) {
  link->action_ = this;
  clients_.push_back(link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* link) {
  auto it = std::find(clients_.begin(), clients_.end(), link);
  if (it == clients_.end()) return;
  link->action_ = nullptr;
  clients_.erase(it);
}

void TBasicAction::SetActionComponent(TComponent* value) {
  if (value == actionComponent_) return;
  if (actionComponent_) actionComponent_->RemoveFreeNotification(this);
  actionComponent_ = value;
  if (value) value->FreeNotification(this);
}

void TBasicAction::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == actionComponent_) actionComponent_ = nullptr;
}

// ---------------------------------------------------------------------------
// TComponent's part in action dispatch (declared with TComponent).

bool TComponent::ExecuteAction(TBasicAction* action) {
  if (!action || !action->HandlesTarget(this)) return false;
  action->ExecuteTarget(this);
  return true;
}

bool TComponent::UpdateAction(TBasicAction* action) {
  if (!action || !action->HandlesTarget(this)) return false;
  action->UpdateTarget(this);
  return true;
}
