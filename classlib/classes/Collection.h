// TCollection, TCollectionItem and TOwnedCollection: lists of items of one
// class that stored forms keep as "< item ... end >".
//
// Items are made through the collection's item class, so an item class is
// default-constructible: it declares `explicit TFooItem(TCollection* c =
// nullptr) : TCollectionItem(c) {}`. An item made by the collection's Add
// (or Insert) finds its collection while its constructors run (GetCollection)
// and joins it in AfterConstruction, once it is whole, so that the
// collection's Notify and Update reach a complete item.
#pragma once

#include <string>
#include <vector>

#include "classlib/System.h"
#include "classlib/TypInfo.h"
#include "classlib/classes/Errors.h"
#include "classlib/classes/Persistent.h"

class TCollection;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };
DECLARE_ENUM_TYPE(TCollectionNotification);

class TCollectionItem : public TPersistent {
  DECLARE_CLASS(TCollectionItem, TPersistent)

  // A null collection means the collection whose Add or Insert is making
  // the item (none when the item is made on its own).
  explicit TCollectionItem(TCollection* collection = nullptr);
  void AfterConstruction() override;

  TCollection* GetCollection() const { return collection_ ? collection_ : joining_; }
  // Leaves the old collection and joins the new one (as its last item).
  virtual void SetCollection(TCollection* value);
  int GetID() const { return id_; }
  // -1 outside a collection.
  int GetIndex() const;
  virtual void SetIndex(int value);
  // The class name unless a descendant names its items.
  virtual std::string GetDisplayName() const;
  virtual void SetDisplayName(const std::string& value);

  TPersistent* GetOwner() override;
  // "Owner.Prop[i]" (the collection's name path and the index).
  std::string GetNamePath() override;

 protected:
  // Tells the collection (Update) unless it is being updated: with allItems
  // the collection as a whole, otherwise this item.
  void Changed(bool allItems);
  void Destroy() override;

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  TCollection* joining_ = nullptr;
  int id_ = 0;
};

class TCollection : public TPersistent {
  DECLARE_CLASS(TCollection, TPersistent)

  // itemClass: TCollectionItem or a descendant.
  explicit TCollection(TClass itemClass);

  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Clear();
  // Raises EListError for an index out of range.
  void Delete(int index);
  void BeginUpdate();
  virtual void EndUpdate();
  int GetUpdateCount() const { return updateCount_; }

  // From another collection: its items, each assigned to a new item.
  void Assign(TPersistent* source) override;

  int GetCount() const { return static_cast<int>(items_.size()); }
  // Raises EListError "List index out of bounds (%d)".
  TCollectionItem* GetItem(int index) const;
  // Assigns value to the item at index.
  void SetItem(int index, TCollectionItem* value);
  TCollectionItem* FindItemID(int id) const;
  TClass GetItemClass() const { return itemClass_; }

  // "OwnerPath.PropName", or the class name when there is no owner.
  std::string GetNamePath() override;
  // The name of the owner's published property that holds this collection.
  std::string GetPropName();

  // Called with the item that changed, or null when the whole collection did.
  virtual void Update(TCollectionItem* item);
  virtual void Notify(TCollectionItem* item, TCollectionNotification action);
  virtual void SetItemName(TCollectionItem* item);
  // Update(null) unless an update is running.
  void Changed();

 protected:
  void Destroy() override;

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);

  TClass itemClass_;
  std::vector<TCollectionItem*> items_;
  int updateCount_ = 0;
  int nextID_ = 0;
  std::string propName_;
};

// A collection that knows the persistent that holds it (GetOwner).
class TOwnedCollection : public TCollection {
  DECLARE_CLASS(TOwnedCollection, TCollection)

  TOwnedCollection(TPersistent* owner, TClass itemClass) : TCollection(itemClass), owner_(owner) {}
  TPersistent* GetOwner() override { return owner_; }

 private:
  TPersistent* owner_;
};
