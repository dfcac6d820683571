#include "classlib/contnrs/ObjectList.h"

IMPLEMENT_CLASS(TObjectList)

int TObjectList::FindInstanceOf(TClass cls, bool exact, int startAt) const {
  for (int i = startAt < 0 ? 0 : startAt; i < GetCount(); ++i) {
    TObject* obj = GetItem(i);
    if (!obj) continue;
    if (exact ? obj->ClassType() == cls : obj->InheritsFrom(cls)) return i;
  }
  return -1;
}

void TObjectList::Notify(void* ptr, TListNotification action) {
  if (ownsObjects_ && action == lnDeleted) static_cast<TObject*>(ptr)->Free();
  inherited::Notify(ptr, action);
}

// ---------------------------------------------------------------------------

// The component that stands for the list in each listed component's
// free-notification list (a list is not a component itself).
class TComponentList::TNexus : public TComponent {
  DECLARE_CLASS(TNexus, TComponent)
  explicit TNexus(TComponentList* list) : TComponent(nullptr), list_(list) {}

  void Notification(TComponent* component, TOperation operation) override {
    if (operation == opRemove && list_) list_->HandleFreeNotify(component);
    inherited::Notification(component, operation);
  }

 private:
  TComponentList* list_;
};

TClass TComponentList::TNexus::StaticClass() {
  static const TMetaClassOf<TNexus> mc("TComponentListNexus", inherited::StaticClass(), nullptr);
  return &mc;
}

IMPLEMENT_CLASS(TComponentList)

void TComponentList::Notify(void* ptr, TListNotification action) {
  if (!nexus_) nexus_ = New<TNexus>(this);
  if (ptr) {
    auto* component = static_cast<TComponent*>(static_cast<TObject*>(ptr));
    if (action == lnAdded) component->FreeNotification(nexus_);
    // The item has already left the array: a component listed twice stays
    // watched while another entry of it remains.
    else if (IndexOf(component) < 0) component->RemoveFreeNotification(nexus_);
  }
  inherited::Notify(ptr, action);
}

void TComponentList::HandleFreeNotify(TComponent* component) {
  // The component is being freed by someone else: every entry of it must
  // leave the list without the list freeing it a second time.
  while (IndexOf(component) >= 0) Extract(component);
}

void TComponentList::Destroy() {
  inherited::Destroy();
  FreeAndNil(nexus_);
}
