#include "classlib/menus/Menu.h"

#include <functional>

#include "classlib/ImgList.h"
#include "classlib/SysUtils.h"
#include "classlib/menus/PopupList.h"

DEFINE_ENUM_TYPE(TMenuBreak, "mbNone", "mbBreak", "mbBarBreak")
DEFINE_ENUM_TYPE(TPopupAlignment, "paLeft", "paRight", "paCenter")
DEFINE_ENUM_TYPE(TTrackButton, "tbRightButton", "tbLeftButton")
DEFINE_ENUM_TYPE(TMenuAnimations, "maLeftToRight", "maRightToLeft", "maTopToBottom", "maBottomToTop", "maNone")
DEFINE_ENUM_TYPE(TFindItemKind, "fkCommand", "fkHandle", "fkShortCut")

IMPLEMENT_CLASS(TMenu)

TMenu::TMenu(TComponent* owner) : TComponent(owner) {
  items_ = New<TMenuItem>(this);
  items_->menu_ = this;
  items_->onChange_ = TMenuChangeEvent(this, &TMenu::MenuChanged);
  ParentBiDiModeChanged();
}

void TMenu::Destroy() {
  SetImages(nullptr);
  FreeAndNil(items_);
  inherited::Destroy();
}

HMENU TMenu::GetHandle() { return items_->GetHandle(); }

void TMenu::SetWindowHandle(HWND value) { windowHandle_ = value; }

void TMenu::SetImages(TCustomImageList* value) {
  if (images_ == value) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = value;
  if (images_) images_->FreeNotification(this);
  if (!IsDestroying()) UpdateItems();
}

void TMenu::SetOwnerDraw(bool value) {
  if (ownerDraw_ == value) return;
  ownerDraw_ = value;
  UpdateItems();
}

void TMenu::SetBiDiMode(TBiDiMode value) {
  if (biDiMode_ == value) return;
  biDiMode_ = value;
  parentBiDiMode_ = false;
  // The direction shows only on a Middle-East system (IsRightToLeft): the
  // items need writing again only there.
  if (SysLocale.MiddleEast) UpdateItems();
}

void TMenu::SetParentBiDiMode(bool value) {
  if (parentBiDiMode_ == value) return;
  parentBiDiMode_ = value;
  ParentBiDiModeChanged();
}

void TMenu::ParentBiDiModeChanged() { ParentBiDiModeChanged(GetOwner()); }

void TMenu::ParentBiDiModeChanged(TObject* control) {
  if (!parentBiDiMode_) return;
  if (auto* c = dynamic_cast<TControl*>(control)) {
    SetBiDiMode(c->GetBiDiMode());
    parentBiDiMode_ = true;
  }
}

bool TMenu::IsRightToLeft() const { return SysLocale.MiddleEast && biDiMode_ != bdLeftToRight; }
bool TMenu::UseRightToLeftAlignment() const { return SysLocale.MiddleEast && biDiMode_ == bdRightToLeft; }
bool TMenu::UseRightToLeftReading() const { return SysLocale.MiddleEast && biDiMode_ != bdLeftToRight; }

void TMenu::UpdateItems() {
  if (IsLoading() || IsDestroying()) return;
  std::function<void(TMenuItem*)> rebuild = [&](TMenuItem* item) {
    for (int i = 0; i < item->GetCount(); ++i) rebuild(item->GetItem(i));
    item->RebuildNative();
  };
  rebuild(items_);
  MenuChanged(this, nullptr, true);
}

void TMenu::MenuChanged(TObject*, TMenuItem* source, bool rebuild) {
  if (IsLoading() || IsDestroying()) return;
  DoChange(source, rebuild);
}

void TMenu::DoChange(TMenuItem* source, bool rebuild) {
  if (OnChange) OnChange(this, source, rebuild);
}

TMenuItem* TMenu::FindItem(intptr_t value, TFindItemKind kind) {
  if (kind != fkCommand && value == 0) return nullptr;
  std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* item) -> TMenuItem* {
    bool hit = (kind == fkCommand && value == item->command_) ||
               (kind == fkHandle && value == reinterpret_cast<intptr_t>(item->handle_)) ||
               (kind == fkShortCut && value == item->shortCut_);
    if (hit) return item;
    for (TMenuItem* sub : item->items_)
      if (TMenuItem* found = find(sub)) return found;
    return nullptr;
  };
  return find(items_);
}

bool TMenu::DispatchCommand(WORD command) {
  TMenuItem* item = FindItem(command, fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchPopup(HMENU menu) {
  TMenuItem* item = FindItem(reinterpret_cast<intptr_t>(menu), fkHandle);
  if (!item) return false;
  if (!item->IsDesigning()) item->InitiateActions();
  item->Click();
  return true;
}

bool TMenu::IsShortCut(TMessage& keyMessage) {
  TWMKey key(keyMessage);
  TShortCut shortCut = LOBYTE(key.CharCode());
  if (GetKeyState(VK_SHIFT) < 0) shortCut |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) shortCut |= scCtrl;
  if (key.KeyData() & 0x20000000) shortCut |= scAlt;

  enum TClickResult { crDisabled, crClicked, crShortCutMoved, crShortCutFreed };
  // Clicks the item's parents from the top, then the item, while each is
  // enabled; a click may update actions (and so move the shortcut to
  // another item) or free the item, which the free notification tells.
  auto doClick = [&](TMenuItem* item) {
    std::vector<TMenuItem*> chain;
    for (TMenuItem* i = item; i; i = i->GetParent()) chain.insert(chain.begin(), i);
    for (TMenuItem* i : chain) {
      if (!shortCutItem_) return crShortCutFreed;
      if (!i->GetEnabled()) return crDisabled;
      if (!IsDesigning()) i->InitiateActions();
      if (!shortCutItem_) return crShortCutFreed;
      if (!i->GetEnabled()) return crDisabled;
      i->Click();
    }
    if (!shortCutItem_) return crShortCutFreed;
    return shortCutItem_->GetShortCut() != shortCut ? crShortCutMoved : crClicked;
  };

  bool found = false;
  TClickResult result;
  do {
    result = crDisabled;
    shortCutItem_ = FindItem(shortCut, fkShortCut);
    if (!shortCutItem_) break;
    found = true;
    shortCutItem_->FreeNotification(this);
    try {
      result = doClick(shortCutItem_);
    } catch (...) {
      if (shortCutItem_) shortCutItem_->RemoveFreeNotification(this);
      shortCutItem_ = nullptr;
      throw;
    }
    if (shortCutItem_) shortCutItem_->RemoveFreeNotification(this);
    shortCutItem_ = nullptr;
  } while (result == crShortCutMoved);
  return found;
}

void TMenu::GetChildren(const TGetChildProc& proc, TComponent* root) { items_->GetChildren(proc, root); }

void TMenu::SetChildOrder(TComponent* child, int order) { items_->SetChildOrder(child, order); }

void TMenu::Loaded() {
  inherited::Loaded();
  ParentBiDiModeChanged();
  DoChange(nullptr, false);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == images_) SetImages(nullptr);
  if (component == shortCutItem_) shortCutItem_ = nullptr;
}

// ---------------------------------------------------------------------------

PUBLISHED(TMainMenu) {
  using M = TMainMenu;
  p.Prop("AutoMerge", &M::GetAutoMerge, &M::SetAutoMerge).Default(false);
  p.Prop("BiDiMode", &M::GetBiDiMode, &M::SetBiDiMode).Stored(&M::IsBiDiModeStored);
  p.Prop("Images", &M::GetImages, &M::SetImages);
  p.Prop("OwnerDraw", &M::GetOwnerDraw, &M::SetOwnerDraw).Default(false);
  p.Prop("ParentBiDiMode", &M::GetParentBiDiMode, &M::SetParentBiDiMode).Default(true);
  p.Prop("OnChange", &M::GetOnChange, &M::SetOnChange);
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

void TMainMenu::Destroy() {
  HWND window = GetWindowHandle();
  if (window && GetItems() && GetItems()->HandleAllocated() && ::GetMenu(window) == GetItems()->GetHandle())
    ::SetMenu(window, nullptr);
  inherited::Destroy();
}

void TMainMenu::MenuChanged(TObject* sender, TMenuItem* source, bool rebuild) {
  HWND window = GetWindowHandle();
  bool barChanged = !source || source->GetParent() == GetItems();
  if (window && barChanged && !IsLoading() && !IsDestroying()) DrawMenuBar(window);
  inherited::MenuChanged(sender, source, rebuild);
}

// ---------------------------------------------------------------------------

PUBLISHED(TPopupMenu) {
  using M = TPopupMenu;
  p.Prop("Alignment", &M::GetAlignment, &M::SetAlignment).Default(paLeft);
  p.Prop("AutoPopup", &M::GetAutoPopup, &M::SetAutoPopup).Default(true);
  p.Prop("BiDiMode", &M::GetBiDiMode, &M::SetBiDiMode).Stored(&M::IsBiDiModeStored);
  p.Prop("HelpContext", &M::GetHelpContext, &M::SetHelpContext).Default(0);
  p.Prop("Images", &M::GetImages, &M::SetImages);
  p.Prop("MenuAnimation", &M::GetMenuAnimation, &M::SetMenuAnimation).Default(TMenuAnimation());
  p.Prop("OwnerDraw", &M::GetOwnerDraw, &M::SetOwnerDraw).Default(false);
  p.Prop("ParentBiDiMode", &M::GetParentBiDiMode, &M::SetParentBiDiMode).Default(true);
  p.Prop("TrackButton", &M::GetTrackButton, &M::SetTrackButton).Default(tbRightButton);
  p.Prop("OnChange", &M::GetOnChange, &M::SetOnChange);
  p.Prop("OnPopup", &M::GetOnPopup, &M::SetOnPopup);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {
  TPopupList* list = PopupList();
  list->Add(this);
  SetWindowHandle(list->GetWindow());
}

void TPopupMenu::Destroy() {
  if (TPopupList* list = PopupList()) list->Remove(this);
  SetPopupComponent(nullptr);
  inherited::Destroy();
}

void TPopupMenu::SetPopupComponent(TComponent* value) {
  if (popupComponent_ == value) return;
  if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
  popupComponent_ = value;
  if (value) value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

bool TPopupMenu::UseRightToLeftAlignment() const {
  if (auto* control = dynamic_cast<TControl*>(popupComponent_)) return control->UseRightToLeftAlignment();
  return inherited::UseRightToLeftAlignment();
}

void TPopupMenu::DoPopup(TObject* sender) {
  if (OnPopup) OnPopup(sender);
}

UINT TPopupMenu::GetTrackFlags() const {
  // The alignment is mirrored for right-to-left controls.
  static const UINT aligns[2][3] = {{TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN},
                                    {TPM_RIGHTALIGN, TPM_LEFTALIGN, TPM_CENTERALIGN}};
  UINT flags = aligns[UseRightToLeftAlignment() ? 1 : 0][alignment_];
  flags |= trackButton_ == tbRightButton ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON;
  // The animation flags exist from Windows 98 and 2000 on.
  if (Win32MajorVersion > 4 || (Win32MajorVersion == 4 && Win32MinorVersion > 0))
    flags |= static_cast<UINT>(menuAnimation_.Bits() & 0x1F) << 10;
  return flags;
}

void TPopupMenu::Popup(int x, int y) {
  DoPopup(this);
  popupPoint_ = POINT{x, y};
  TrackPopupMenu(GetItems()->GetHandle(), GetTrackFlags(), x, y, 0, PopupList()->GetWindow(), nullptr);
}
