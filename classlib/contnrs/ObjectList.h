// The Contnrs unit: lists of objects.
//
// TObjectList frees the objects it owns when they are deleted from it (not
// when they are extracted). TComponentList also drops a component from itself
// when that component is freed elsewhere, through a hidden helper component
// that asks each listed component for a free notification.
#pragma once

#include "classlib/Classes.h"

class TObjectList : public TList {
  DECLARE_CLASS(TObjectList, TList)

  TObjectList() = default;
  explicit TObjectList(bool ownsObjects) : ownsObjects_(ownsObjects) {}

  int Add(TObject* obj) { return inherited::Add(obj); }
  int Remove(TObject* obj) { return inherited::Remove(obj); }
  int IndexOf(TObject* obj) const { return inherited::IndexOf(obj); }
  void Insert(int index, TObject* obj) { inherited::Insert(index, obj); }
  TObject* Extract(TObject* obj) { return static_cast<TObject*>(inherited::Extract(obj)); }
  TObject* First() const { return static_cast<TObject*>(inherited::First()); }
  TObject* Last() const { return static_cast<TObject*>(inherited::Last()); }
  // The index of the first object of class cls (exactly that class when exact)
  // at or after startAt; -1 when there is none.
  int FindInstanceOf(TClass cls, bool exact = true, int startAt = 0) const;

  TObject* GetItem(int index) const { return static_cast<TObject*>(Get(index)); }
  void SetItem(int index, TObject* obj) { Put(index, obj); }
  bool GetOwnsObjects() const { return ownsObjects_; }
  void SetOwnsObjects(bool value) { ownsObjects_ = value; }

  void Notify(void* ptr, TListNotification action) override;

 private:
  bool ownsObjects_ = true;
};

class TComponentList : public TObjectList {
  DECLARE_CLASS(TComponentList, TObjectList)

  using TObjectList::TObjectList;

  int Add(TComponent* c) { return inherited::Add(c); }
  int Remove(TComponent* c) { return inherited::Remove(c); }
  int IndexOf(TComponent* c) const { return inherited::IndexOf(c); }
  void Insert(int index, TComponent* c) { inherited::Insert(index, c); }
  TComponent* Extract(TComponent* c) { return static_cast<TComponent*>(inherited::Extract(c)); }
  TComponent* First() const { return static_cast<TComponent*>(inherited::First()); }
  TComponent* Last() const { return static_cast<TComponent*>(inherited::Last()); }

  TComponent* GetItem(int index) const { return static_cast<TComponent*>(inherited::GetItem(index)); }
  void SetItem(int index, TComponent* c) { inherited::SetItem(index, c); }

  void Notify(void* ptr, TListNotification action) override;

 protected:
  void Destroy() override;

 private:
  class TNexus;
  void HandleFreeNotify(TComponent* component);

  TNexus* nexus_ = nullptr;
};
