// TPersistent, TComponent and the class registry.
//
// A component owns the components created with it as owner and frees them
// with itself (last created, first freed); ownership is separate from the
// parent/child tree of controls. Components that hold references to others
// outside their owner ask for a free notification and are told
// (Notification(opRemove)) before the referenced component goes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "classlib/System.h"
#include "classlib/TypInfo.h"
#include "classlib/classes/Errors.h"

class TFiler;
class TReader;
class TWriter;
class TComponent;
class TBasicAction;

class TPersistent : public TObject {
  DECLARE_CLASS(TPersistent, TObject)

  // Copies source's state into this object; a class that cannot take the
  // source asks the source (AssignTo), and raises EConvertError
  // "Cannot assign a X to a Y" when neither can.
  virtual void Assign(TPersistent* source);
  virtual void AssignTo(TPersistent* dest);
  // Properties stored beside the published ones (older names, binary data).
  virtual void DefineProperties(TFiler* filer);
  virtual TPersistent* GetOwner();
  virtual std::string GetNamePath();

 protected:
  [[noreturn]] void AssignError(TPersistent* source);
};

enum TComponentStateItem {
  csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor,
  csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;
DECLARE_ENUM_TYPE(TComponentStateItem);

enum TComponentStyleItem { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = TSet<TComponentStyleItem>;
DECLARE_ENUM_TYPE(TComponentStyleItem);

enum TOperation { opInsert, opRemove };
DECLARE_ENUM_TYPE(TOperation);

using TGetChildProc = std::function<void(TComponent* child)>;
using TComponentClass = TClass;

class TComponent : public TPersistent {
  DECLARE_CLASS(TComponent, TPersistent)

  explicit TComponent(TComponent* owner);
  ~TComponent() override { DestroyUnfinished(); }

  const std::string& GetName() const { return name_; }
  virtual void SetName(const std::string& name);
  int GetTag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  TComponent* GetOwner() const { return owner_; }
  int GetComponentCount() const { return static_cast<int>(components_.size()); }
  // Raises EListError for an index out of range.
  TComponent* GetComponent(int index) const;
  int GetComponentIndex() const;
  void SetComponentIndex(int index);
  TComponent* FindComponent(std::string_view name) const;

  TComponentState GetComponentState() const { return state_; }
  TComponentStyle GetComponentStyle() const { return style_; }
  void SetComponentStyle(TComponentStyle s) { style_ = s; }
  bool IsLoading() const { return state_.Contains(csLoading); }
  bool IsDestroying() const { return state_.Contains(csDestroying); }
  bool IsDesigning() const { return state_.Contains(csDesigning); }

  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees every owned component, last first.
  void DestroyComponents();
  // Marks this component and its owned components as being destroyed.
  void Destroying();

  // Both components are told (Notification opRemove) when the other is freed.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Stored-form hooks.
  virtual void Loaded();
  virtual void ReadState(TReader* reader);
  virtual void WriteState(TWriter* writer);
  virtual void GetChildren(const TGetChildProc& proc, TComponent* root);
  virtual TComponent* GetChildOwner();
  virtual TComponent* GetChildParent();
  virtual void SetChildOrder(TComponent* child, int order);
  virtual bool HasParent();
  virtual TComponent* GetParentComponent();
  virtual void SetParentComponent(TComponent* value);
  virtual void Updating();
  virtual void Updated();

  // An action asks the component to run (update) it for itself when the
  // action handles this component as its target (defined in Action.cpp).
  virtual bool ExecuteAction(TBasicAction* action);
  virtual bool UpdateAction(TBasicAction* action);

  // The owner of a component is its persistent owner.
  TPersistent* GetOwner() override { return owner_; }
  std::string GetNamePath() override { return name_; }

  // Component-state switches used by the stored-form reader and writer.
  void SetDesigning(bool value, bool setChildren = true);
  void SetAncestor(bool value);
  void SetInline(bool value);
  void IncludeState(TComponentStateItem s) { state_.Include(s); }
  void ExcludeState(TComponentStateItem s) { state_.Exclude(s); }

  virtual void Notification(TComponent* component, TOperation operation);
  virtual void ValidateRename(TComponent* component, const std::string& curName, const std::string& newName);
  virtual void ValidateContainer(TComponent* component);
  virtual void ValidateInsert(TComponent* component);

  void BeforeDestruction() override;

 protected:
  void Destroy() override;
  // Renames without the validation (used while reading stored forms).
  void ChangeName(const std::string& name);

 private:
  void Insert(TComponent* c);
  void Remove(TComponent* c);
  void RemoveNotification(TComponent* c);

  TComponent* owner_ = nullptr;
  std::string name_;
  int tag_ = 0;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  TComponentState state_;
  TComponentStyle style_{csInheritable};
};

// True for a valid identifier (letter or "_" first, then letters, digits, "_").
bool IsValidIdent(std::string_view ident);

// The class registry read by stored forms.
void RegisterClass(TClass cls);
void RegisterClasses(std::initializer_list<TClass> classes);
void RegisterClassAlias(TClass cls, const std::string& alias);
void UnRegisterClass(TClass cls);
// Null when no class of that name is registered.
TClass GetClass(std::string_view name);
// Raises EClassNotFound "Class X not found".
TClass FindClass(std::string_view name);
// Every registered class once (a class registered under an alias too is
// listed once), by name (a class with an alias at the first of its names).
std::vector<TClass> RegisteredClasses();
