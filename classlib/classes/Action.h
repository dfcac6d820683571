// TBasicAction and TBasicActionLink: the part of actions that lives in the
// Classes unit. An action tells every registered link of its changes; a link
// forwards them to its client (a control, a menu item).
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/classes/Persistent.h"

// A key with its shift state packed as the platform packs menu shortcuts.
using TShortCut = uint16_t;
inline constexpr TShortCut scNone = 0;

class TBasicAction;

class TBasicActionLink : public TObject {
  DECLARE_CLASS(TBasicActionLink, TObject)

  explicit TBasicActionLink(TObject* client);
  ~TBasicActionLink() override;
  // Hands the client to AssignClient, where overrides take it.
  void AfterConstruction() override;

  // Runs the action with component as its ActionComponent for the call.
  virtual bool Execute(TComponent* component = nullptr);
  virtual bool Update();

  TBasicAction* GetAction() const { return action_; }
  virtual void SetAction(TBasicAction* value);

  TNotifyEvent OnChange;

  // Changes of the action, handed to the client by descendants.
  virtual void Change();
  virtual bool IsOnExecuteLinked() { return true; }
  virtual void SetOnExecute(TNotifyEvent) {}

 protected:
  virtual void AssignClient(TObject*) {}
  void Destroy() override;

 private:
  friend class TBasicAction;
  TObject* client_ = nullptr;
  TBasicAction* action_ = nullptr;
};

class TBasicAction : public TComponent {
  DECLARE_CLASS(TBasicAction, TComponent)

  explicit TBasicAction(TComponent* owner);
  ~TBasicAction() override { DestroyUnfinished(); }

  // A target-specific action says which components it serves.
  virtual bool HandlesTarget(TObject* target);
  virtual void UpdateTarget(TObject* target);
  virtual void ExecuteTarget(TObject* target);
  // OnExecute when assigned: true when something ran.
  virtual bool Execute();
  // OnUpdate when assigned: true when something ran.
  virtual bool Update();

  void RegisterChanges(TBasicActionLink* link);
  void UnRegisterChanges(TBasicActionLink* link);
  int GetClientCount() const { return static_cast<int>(clients_.size()); }
  TBasicActionLink* GetClient(int i) const { return clients_[static_cast<size_t>(i)]; }

  TComponent* GetActionComponent() const { return actionComponent_; }
  void SetActionComponent(TComponent* value);

  TNotifyEvent GetOnExecute() const { return onExecute_; }
  virtual void SetOnExecute(TNotifyEvent value);
  TNotifyEvent GetOnUpdate() const { return onUpdate_; }
  void SetOnUpdate(TNotifyEvent value) { onUpdate_ = value; }

  void Notification(TComponent* component, TOperation operation) override;

 protected:
  virtual void Change();
  void Destroy() override;
  // Links that hear of every change (the action list's own).
  TNotifyEvent onChange_;
  std::vector<TBasicActionLink*> clients_;

 private:
  TComponent* actionComponent_ = nullptr;
  TNotifyEvent onExecute_;
  TNotifyEvent onUpdate_;
};
