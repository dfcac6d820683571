#include "classlib/classes/Collection.h"

#include <algorithm>

DEFINE_ENUM_TYPE(TCollectionNotification, "cnAdded", "cnExtracting", "cnDeleting")

namespace {
// The collection whose Add is making an item: item constructors take it from
// here, as the platform's item constructor takes its collection argument.
thread_local TCollection* gAddingTo = nullptr;

[[noreturn]] void IndexError(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}
}  // namespace

IMPLEMENT_CLASS(TCollectionItem)

TCollectionItem::TCollectionItem(TCollection* collection) {
  joining_ = collection ? collection : gAddingTo;
  // An item made inside this item's constructor must not take our collection.
  gAddingTo = nullptr;
}

void TCollectionItem::AfterConstruction() {
  inherited::AfterConstruction();
  TCollection* c = joining_;
  joining_ = nullptr;
  if (c) SetCollection(c);
}

void TCollectionItem::Destroy() {
  SetCollection(nullptr);
  inherited::Destroy();
}

void TCollectionItem::SetCollection(TCollection* value) {
  if (collection_ == value) return;
  if (collection_) collection_->RemoveItem(this);
  if (value) value->InsertItem(this);
}

int TCollectionItem::GetIndex() const {
  if (!collection_) return -1;
  auto& items = collection_->items_;
  auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int value) {
  int cur = GetIndex();
  if (cur < 0 || cur == value) return;
  auto& items = collection_->items_;
  if (value < 0 || value >= static_cast<int>(items.size())) IndexError(value);
  items.erase(items.begin() + cur);
  items.insert(items.begin() + value, this);
  Changed(true);
}

std::string TCollectionItem::GetDisplayName() const { return ClassName(); }

void TCollectionItem::SetDisplayName(const std::string&) { Changed(false); }

TPersistent* TCollectionItem::GetOwner() { return collection_; }

std::string TCollectionItem::GetNamePath() {
  if (!collection_) return ClassName();
  return collection_->GetNamePath() + "[" + std::to_string(GetIndex()) + "]";
}

void TCollectionItem::Changed(bool allItems) {
  if (collection_ && collection_->updateCount_ == 0) collection_->Update(allItems ? nullptr : this);
}

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TCollection)
IMPLEMENT_CLASS(TOwnedCollection)

TCollection::TCollection(TClass itemClass) : itemClass_(itemClass) {}

void TCollection::Destroy() {
  // No Update calls for a collection that is going.
  updateCount_ = 1;
  Clear();
  inherited::Destroy();
}

TCollectionItem* TCollection::Add() {
  TCollection* saved = gAddingTo;
  gAddingTo = this;
  TCollectionItem* item = nullptr;
  try {
    item = CreateAs<TCollectionItem>(itemClass_);
  } catch (...) {
    gAddingTo = saved;
    throw;
  }
  gAddingTo = saved;
  // An item class whose constructor named another collection still lands here.
  if (item->collection_ != this) item->SetCollection(this);
  return item;
}

TCollectionItem* TCollection::Insert(int index) {
  TCollectionItem* item = Add();
  item->SetIndex(index);
  return item;
}

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  try {
    while (!items_.empty()) items_.back()->Free();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::Delete(int index) {
  TCollectionItem* item = GetItem(index);
  Notify(item, cnDeleting);
  item->Free();
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  Changed();
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Assign(TPersistent* source) {
  auto* src = dynamic_cast<TCollection*>(source);
  if (!src) {
    inherited::Assign(source);
    return;
  }
  BeginUpdate();
  try {
    Clear();
    for (TCollectionItem* item : src->items_) Add()->Assign(item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TCollectionItem* TCollection::GetItem(int index) const {
  if (index < 0 || index >= GetCount()) IndexError(index);
  return items_[static_cast<size_t>(index)];
}

void TCollection::SetItem(int index, TCollectionItem* value) { GetItem(index)->Assign(value); }

TCollectionItem* TCollection::FindItemID(int id) const {
  for (TCollectionItem* item : items_)
    if (item->id_ == id) return item;
  return nullptr;
}

std::string TCollection::GetPropName() {
  if (!propName_.empty()) return propName_;
  TPersistent* owner = GetOwner();
  if (!owner) return {};
  for (PPropInfo p : GetPropInfos(owner->ClassType()))
    if (p->PropType->Kind == tkClass && p->GetObj && p->GetObj(owner) == this) {
      propName_ = p->Name;
      break;
    }
  return propName_;
}

std::string TCollection::GetNamePath() {
  TPersistent* owner = GetOwner();
  if (!owner) return ClassName();
  std::string ownerPath = owner->GetNamePath();
  std::string prop = GetPropName();
  if (ownerPath.empty() || prop.empty()) return ClassName();
  return ownerPath + "." + prop;
}

void TCollection::Update(TCollectionItem*) {}
void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}
void TCollection::SetItemName(TCollectionItem*) {}

void TCollection::InsertItem(TCollectionItem* item) {
  if (itemClass_ && !itemClass_->IsInstance(item))
    throw EListError("A " + item->ClassName() + " cannot be an item of a collection of " +
                     itemClass_->ClassName());
  items_.push_back(item);
  item->collection_ = this;
  item->id_ = nextID_++;
  SetItemName(item);
  Notify(item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  Notify(item, cnExtracting);
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it != items_.end()) items_.erase(it);
  item->collection_ = nullptr;
  Changed();
}
