#include "classlib/classes/Persistent.h"

#include <algorithm>
#include <map>

#include "classlib/classes/Lists.h"

DEFINE_ENUM_TYPE(TComponentStateItem, "csLoading", "csReading", "csWriting", "csDestroying",
                 "csDesigning", "csAncestor", "csUpdating", "csFixups", "csFreeNotification",
                 "csInline", "csDesignInstance")
DEFINE_ENUM_TYPE(TComponentStyleItem, "csInheritable", "csCheckPropAvail", "csSubComponent",
                 "csTransient")
DEFINE_ENUM_TYPE(TOperation, "opInsert", "opRemove")

IMPLEMENT_CLASS(TPersistent)

void TPersistent::Assign(TPersistent* source) {
  if (source) source->AssignTo(this);
  else AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) { dest->AssignError(this); }

void TPersistent::DefineProperties(TFiler*) {}

TPersistent* TPersistent::GetOwner() { return nullptr; }

std::string TPersistent::GetNamePath() {
  std::string path = ClassName();
  if (TPersistent* owner = GetOwner()) {
    std::string ownerPath = owner->GetNamePath();
    if (!ownerPath.empty()) path = ownerPath + "." + path;
  }
  return path;
}

void TPersistent::AssignError(TPersistent* source) {
  std::string from = source ? source->ClassName() : "nil";
  throw EConvertError("Cannot assign a " + from + " to a " + ClassName());
}

// ---------------------------------------------------------------------------

PUBLISHED(TComponent) {
  // The name is written in the object header, never as a property.
  p.Prop("Name", &TComponent::GetName, &TComponent::SetName).Stored(false);
  p.Prop("Tag", &TComponent::GetTag, &TComponent::SetTag).Default(0);
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

void TComponent::BeforeDestruction() {
  if (!state_.Contains(csDestroying)) Destroying();
  inherited::BeforeDestruction();
}

void TComponent::Destroy() {
  Destroying();
  // A notified component may drop its own link to us (RemoveFreeNotification)
  // while we walk the list, so walk a shrinking list from its end.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    other->RemoveNotification(this);
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
  inherited::Destroy();
}

void TComponent::Destroying() {
  if (state_.Contains(csDestroying)) return;
  state_.Include(csDestroying);
  for (TComponent* c : components_) c->Destroying();
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* instance = components_.back();
    // Claimed before its removal is announced: a component told of it may
    // free the instance itself, which must not run the teardown a second
    // time, nor leave this loop holding a freed object.
    const bool claimed = ClaimFree(instance);
    if (instance->state_.Contains(csFreeNotification)) RemoveComponent(instance);
    else Remove(instance);
    if (claimed) FreeClaimed(instance);
  }
}

TComponent* TComponent::GetComponent(int index) const {
  if (index < 0 || index >= GetComponentCount()) TList::Error(SListIndexError, index);
  return components_[static_cast<size_t>(index)];
}

int TComponent::GetComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int index) {
  if (!owner_) return;
  auto& list = owner_->components_;
  int count = static_cast<int>(list.size());
  int cur = GetComponentIndex();
  if (cur < 0) return;
  if (index < 0) index = 0;
  if (index >= count) index = count - 1;
  if (index == cur) return;
  list.erase(list.begin() + cur);
  list.insert(list.begin() + index, this);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameName(c->name_, name)) return c;
  return nullptr;
}

void TComponent::SetName(const std::string& name) {
  if (name_ == name) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("'" + name + "' is not a valid component name");
  if (owner_) owner_->ValidateRename(this, name_, name);
  else ValidateRename(nullptr, name_, name);
  ChangeName(name);
}

void TComponent::ChangeName(const std::string& name) { name_ = name; }

void TComponent::ValidateRename(TComponent* component, const std::string& curName,
                                const std::string& newName) {
  if (component && !SameName(curName, newName) && component->owner_ == this &&
      FindComponent(newName))
    throw EComponentError("A component named " + newName + " already exists");
}

void TComponent::ValidateContainer(TComponent* component) { component->ValidateInsert(this); }
void TComponent::ValidateInsert(TComponent*) {}

void TComponent::InsertComponent(TComponent* component) {
  component->ValidateContainer(this);
  // A component has one owner: one that moves leaves its old owner first,
  // or both would free it.
  if (component->owner_) component->owner_->RemoveComponent(component);
  ValidateRename(component, "", component->name_);
  Insert(component);
  if (state_.Contains(csDesigning)) component->SetDesigning(true);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  ValidateRename(component, component->name_, "");
  Notification(component, opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent* c) {
  components_.push_back(c);
  c->owner_ = this;
}

void TComponent::Remove(TComponent* c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it != components_.end()) components_.erase(it);
  c->owner_ = nullptr;
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  // Owned components hear of every insertion and removal in their owner;
  // one of them may free others while being told, so index each time.
  for (size_t i = components_.size(); i-- > 0;) {
    if (i >= components_.size()) continue;
    components_[i]->Notification(component, operation);
  }
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (!owner_ || component->owner_ != owner_) {
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
      freeNotifies_.push_back(component);
      component->FreeNotification(this);
    }
  }
  state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  RemoveNotification(component);
  component->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* c) {
  auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), c);
  if (it != freeNotifies_.end()) freeNotifies_.erase(it);
}

void TComponent::Loaded() { state_.Exclude(csLoading); }

void TComponent::GetChildren(const TGetChildProc&, TComponent*) {}
TComponent* TComponent::GetChildOwner() { return nullptr; }
TComponent* TComponent::GetChildParent() { return this; }
void TComponent::SetChildOrder(TComponent*, int) {}
bool TComponent::HasParent() { return false; }
TComponent* TComponent::GetParentComponent() { return nullptr; }
void TComponent::SetParentComponent(TComponent*) {}
void TComponent::Updating() { state_.Include(csUpdating); }
void TComponent::Updated() { state_.Exclude(csUpdating); }

void TComponent::SetDesigning(bool value, bool setChildren) {
  if (value) state_.Include(csDesigning);
  else state_.Exclude(csDesigning);
  if (setChildren)
    for (TComponent* c : components_) c->SetDesigning(value, true);
}

void TComponent::SetAncestor(bool value) {
  if (value) state_.Include(csAncestor);
  else state_.Exclude(csAncestor);
  for (TComponent* c : components_) c->SetAncestor(value);
}

void TComponent::SetInline(bool value) {
  if (value) state_.Include(csInline);
  else state_.Exclude(csInline);
}

// ---------------------------------------------------------------------------

bool IsValidIdent(std::string_view ident) {
  auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (ident.empty() || !alpha(ident[0])) return false;
  for (char c : ident)
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

namespace {
struct NameLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
  }
};
// The process's registered classes: the registry is global by design.
std::map<std::string, TClass, NameLess>& Registry() {
  static std::map<std::string, TClass, NameLess> r;
  return r;
}
}  // namespace

void RegisterClass(TClass cls) {
  auto& r = Registry();
  auto it = r.find(cls->ClassName());
  if (it != r.end() && it->second != cls)
    throw EFilerError("A class named " + cls->ClassName() + " already exists");
  r[cls->ClassName()] = cls;
}

void RegisterClasses(std::initializer_list<TClass> classes) {
  for (TClass c : classes) RegisterClass(c);
}

void RegisterClassAlias(TClass cls, const std::string& alias) { Registry()[alias] = cls; }

void UnRegisterClass(TClass cls) {
  auto& r = Registry();
  for (auto it = r.begin(); it != r.end();) {
    if (it->second == cls) it = r.erase(it);
    else ++it;
  }
}

TClass GetClass(std::string_view name) {
  auto& r = Registry();
  auto it = r.find(std::string(name));
  return it == r.end() ? nullptr : it->second;
}

TClass FindClass(std::string_view name) {
  TClass c = GetClass(name);
  if (!c) throw EClassNotFound("Class " + std::string(name) + " not found");
  return c;
}

std::vector<TClass> RegisteredClasses() {
  std::vector<TClass> classes;
  for (const auto& [name, cls] : Registry())
    if (std::find(classes.begin(), classes.end(), cls) == classes.end()) classes.push_back(cls);
  return classes;
}
