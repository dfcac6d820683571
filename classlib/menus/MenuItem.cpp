#include "classlib/menus/MenuItem.h"

#include <algorithm>
#include <functional>

#include "classlib/ImgList.h"
#include "classlib/SysUtils.h"
#include "classlib/menus/Menu.h"
#include "classlib/menus/ShortCuts.h"

namespace {

// The command ids in use. Id 0 is never handed out: WM_MENUSELECT uses it
// with flags 0xFFFF for "the menu closed", and a FindItem of 0 would match
// nothing sensible.
std::vector<bool>& CommandPool() {
  static std::vector<bool> pool(1, true);
  return pool;
}
size_t firstFreeCommand = 1;

WORD UniqueCommand() {
  auto& pool = CommandPool();
  for (size_t i = firstFreeCommand; i < pool.size(); ++i) {
    if (!pool[i]) {
      pool[i] = true;
      firstFreeCommand = i + 1;
      return static_cast<WORD>(i);
    }
  }
  // WM_COMMAND carries the id in 16 bits: a 65536th item would share an id.
  if (pool.size() > 0xFFFF) throw EMenuError("Too many menu items");
  pool.push_back(true);
  firstFreeCommand = pool.size();
  return static_cast<WORD>(pool.size() - 1);
}

void ReleaseCommand(WORD command) {
  auto& pool = CommandPool();
  if (command == 0 || command >= pool.size()) return;
  pool[command] = false;
  firstFreeCommand = std::min<size_t>(firstFreeCommand, command);
}

// The position of the entry with this id among menu's own entries, or -1.
int NativePosition(HMENU menu, WORD command) {
  int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID;
    if (GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) && info.wID == command) return i;
  }
  return -1;
}

}  // namespace

// ---------------------------------------------------------------------------

PUBLISHED(TMenuItem) {
  using M = TMenuItem;
  p.Prop("Action", &M::GetAction, &M::SetAction);
  p.Prop("AutoCheck", &M::GetAutoCheck, &M::SetAutoCheck).Default(false);
  p.Prop("Bitmap", &M::GetBitmap, &M::SetBitmap);
  p.Prop("Break", &M::GetBreak, &M::SetBreak).Default(mbNone);
  p.Prop("Caption", &M::GetCaption, &M::SetCaption).Stored(&M::IsCaptionStored);
  p.Prop("Checked", &M::GetChecked, &M::SetChecked).Default(false).Stored(&M::IsCheckedStored);
  p.Prop("Default", &M::GetDefault, &M::SetDefault).Default(false);
  p.Prop("Enabled", &M::GetEnabled, &M::SetEnabled).Default(true).Stored(&M::IsEnabledStored);
  p.Prop("GroupIndex", &M::GetGroupIndex, &M::SetGroupIndex).Default(0);
  p.Prop("HelpContext", &M::GetHelpContext, &M::SetHelpContext).Default(0).Stored(&M::IsHelpContextStored);
  p.Prop("Hint", &M::GetHint, &M::SetHint).Stored(&M::IsHintStored);
  p.Prop("ImageIndex", &M::GetImageIndex, &M::SetImageIndex).Default(-1).Stored(&M::IsImageIndexStored);
  p.Prop("RadioItem", &M::GetRadioItem, &M::SetRadioItem).Default(false);
  p.Prop("ShortCut", &M::GetShortCut, &M::SetShortCut).Default(0).Stored(&M::IsShortCutStored);
  p.Prop("Visible", &M::GetVisible, &M::SetVisible).Default(true).Stored(&M::IsVisibleStored);
  p.Prop("OnClick", &M::GetOnClick, &M::SetOnClick).Stored(&M::IsOnClickStored);
  p.Prop("OnDrawItem", &M::GetOnDrawItem, &M::SetOnDrawItem);
  p.Prop("OnAdvancedDrawItem", &M::GetOnAdvancedDrawItem, &M::SetOnAdvancedDrawItem);
  p.Prop("OnMeasureItem", &M::GetOnMeasureItem, &M::SetOnMeasureItem);
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(UniqueCommand()) {}

void TMenuItem::Destroy() {
  if (parent_) parent_->Remove(this);
  // The sub-items go with their parent, whoever owns them.
  while (!items_.empty()) items_.front()->Free();
  if (handle_) {
    DestroyMenu(handle_);
    handle_ = nullptr;
  }
  FreeAndNil(actionLink_);
  FreeAndNil(bitmap_);
  ReleaseCommand(command_);
  command_ = 0;
  inherited::Destroy();
}

// --- the tree --------------------------------------------------------------------

TMenuItem* TMenuItem::GetItem(int index) const {
  if (index < 0 || index >= GetCount()) throw EMenuError("Menu index out of range");
  return items_[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(GetCount(), item); }

void TMenuItem::Add(std::initializer_list<TMenuItem*> items) {
  for (TMenuItem* item : items) Add(item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) throw EMenuError("Sub-menu is not in menu");
  // An item in a tree, a menu's root, or an ancestor of this item (which
  // would make the tree a loop) cannot be inserted.
  bool cycle = false;
  for (const TMenuItem* p = this; p; p = p->parent_)
    if (p == item) cycle = true;
  if (item->parent_ || item->menu_ || cycle) throw EMenuError("Menu inserted twice");
  if (index < 0 || index > GetCount()) throw EMenuError("Menu index out of range");
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  if (handle_) RebuildNative();
  MenuChanged(GetCount() == 1);
}

void TMenuItem::Delete(int index) {
  if (index < 0 || index >= GetCount()) throw EMenuError("Menu index out of range");
  TMenuItem* cur = items_[static_cast<size_t>(index)];
  // Take the entry out of the native menu first: the sub-item may destroy
  // its own HMENU next, which must not stay attached here.
  if (handle_) {
    int pos = NativePosition(handle_, cur->command_);
    if (pos >= 0) RemoveMenu(handle_, static_cast<UINT>(pos), MF_BYPOSITION);
  }
  items_.erase(items_.begin() + index);
  cur->parent_ = nullptr;
  if (handle_) RebuildNative();
  MenuChanged(GetCount() == 0);
}

void TMenuItem::Remove(TMenuItem* item) {
  int i = IndexOf(item);
  if (i < 0) throw EMenuError("Sub-menu is not in menu");
  Delete(i);
}

void TMenuItem::Clear() {
  while (!items_.empty()) items_.back()->Free();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const std::string& caption) const {
  std::string wanted = StripHotkey(caption);
  for (TMenuItem* item : items_)
    if (AnsiSameText(wanted, StripHotkey(item->caption_))) return item;
  return nullptr;
}

int TMenuItem::GetMenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int value) {
  if (!parent_) return;
  int count = parent_->GetCount();
  if (value < 0) value = 0;
  if (value >= count) value = count - 1;
  if (value == GetMenuIndex()) return;
  TMenuItem* parent = parent_;
  parent->Remove(this);
  parent->Insert(value, this);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->parent_) item = item->parent_;
  return item->menu_;
}

TCustomImageList* TMenuItem::GetImageList() const {
  TMenu* menu = GetParentMenu();
  return menu ? menu->GetImages() : nullptr;
}

// --- clicking -------------------------------------------------------------------------

void TMenuItem::Click() {
  if (!enabled_) return;
  if (autoCheck_ && !IsDesigning()) SetChecked(!checked_);
  TBasicAction* action = GetAction();
  // OnClick runs unless it is just the action's OnExecute, which the link runs.
  if (OnClick && action && !(OnClick == action->GetOnExecute())) OnClick(this);
  else if (!IsDesigning() && actionLink_) actionLink_->Execute(this);
  else if (OnClick) OnClick(this);
}

void TMenuItem::InitiateAction() {
  if (actionLink_) actionLink_->Update();
}

void TMenuItem::InitiateActions() {
  // An action's update may add or remove items: walk a copy.
  std::vector<TMenuItem*> items = items_;
  for (TMenuItem* item : items)
    if (IndexOf(item) >= 0) item->InitiateAction();
}

// --- the native menu --------------------------------------------------------------------

HMENU TMenuItem::GetHandle() {
  if (!handle_) {
    HMENU h = CreateMenuHandle();
    if (!h) RaiseLastOSError();
    handle_ = h;
    PopulateMenu();
  }
  return handle_;
}

HMENU TMenuItem::CreateMenuHandle() {
  if (!parent_ && dynamic_cast<TMainMenu*>(menu_)) return CreateMenu();
  return CreatePopupMenu();
}

void TMenuItem::PopulateMenu() {
  TMenu* menu = GetParentMenu();
  bool rightToLeft = menu && menu->IsRightToLeft();
  for (TMenuItem* item : items_) item->AppendTo(handle_, rightToLeft);
}

void TMenuItem::RebuildNative() {
  if (!handle_ || IsDestroying()) return;
  // RemoveMenu (not DeleteMenu): the sub-items' menus stay theirs.
  for (int n = GetMenuItemCount(handle_); n > 0; --n) RemoveMenu(handle_, static_cast<UINT>(n - 1), MF_BYPOSITION);
  PopulateMenu();
}

void TMenuItem::RebuildHandle() {
  if (IsDestroying()) return;
  if (GetComponentState().Contains(csReading)) {
    streamedRebuild_ = true;
    return;
  }
  if (!handle_) return;
  RebuildNative();
  MenuChanged(false);
}

std::string TMenuItem::GetNativeText() {
  std::string text = caption_;
  bool onMenuBar = parent_ && !parent_->parent_ && dynamic_cast<TMainMenu*>(parent_->menu_);
  if (items_.empty() && shortCut_ != scNone && !onMenuBar) text += "\t" + ShortCutToText(shortCut_);
  return text;
}

void TMenuItem::BuildMenuItemInfo(MENUITEMINFOA& info, bool rightToLeft) {
  static const UINT breaks[] = {0, MFT_MENUBREAK, MFT_MENUBARBREAK};
  TMenu* menu = GetParentMenu();
  bool ownerDraw =
      (menu && (menu->GetOwnerDraw() || GetImageList())) || (bitmap_ && !bitmap_->GetEmpty());
  info = MENUITEMINFOA{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_CHECKMARKS | MIIM_DATA | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_TYPE;
  info.fType = (radioItem_ ? MFT_RADIOCHECK : 0) | breaks[break_] | (IsLine() ? MFT_SEPARATOR : MFT_STRING) |
               (rightToLeft ? MFT_RIGHTORDER | MFT_RIGHTJUSTIFY : 0) | (ownerDraw ? MFT_OWNERDRAW : 0);
  info.fState = (checked_ ? MFS_CHECKED : MFS_UNCHECKED) | (enabled_ ? MFS_ENABLED : MFS_DISABLED | MFS_GRAYED) |
                (default_ ? MFS_DEFAULT : 0);
  info.wID = command_;
  info.hSubMenu = items_.empty() ? nullptr : GetHandle();
}

void TMenuItem::AppendTo(HMENU menu, bool rightToLeft) {
  if (!visible_) return;
  MENUITEMINFOA info;
  BuildMenuItemInfo(info, rightToLeft);
  InsertNativeItem(menu, info, GetNativeText());
}

void TMenuItem::InsertNativeItem(HMENU menu, MENUITEMINFOA& info, const std::string& text) {
  std::string buffer = text;
  info.dwTypeData = buffer.data();
  info.cch = static_cast<UINT>(buffer.size());
  InsertMenuItemA(menu, static_cast<UINT>(-1), TRUE, &info);
}

void TMenuItem::UpdateNativeState() {
  if (!parent_ || !parent_->handle_ || GetComponentState().Contains(csReading)) return;
  int pos = NativePosition(parent_->handle_, command_);
  if (pos < 0) return;
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  info.fState = (checked_ ? MFS_CHECKED : MFS_UNCHECKED) | (enabled_ ? MFS_ENABLED : MFS_DISABLED | MFS_GRAYED) |
                (default_ ? MFS_DEFAULT : 0);
  SetMenuItemInfoA(parent_->handle_, static_cast<UINT>(pos), TRUE, &info);
}

void TMenuItem::MenuChanged(bool rebuild) {
  TMenuItem* source = (!parent_ && menu_) ? nullptr : this;
  if (parent_) parent_->SubItemChanged(this, source, rebuild);
  else if (onChange_) onChange_(this, source, rebuild);
}

void TMenuItem::SubItemChanged(TObject*, TMenuItem* source, bool rebuild) {
  if (rebuild) {
    if (GetComponentState().Contains(csReading)) streamedRebuild_ = true;
    else RebuildNative();
  }
  if (parent_) parent_->SubItemChanged(this, source, false);
  else if (onChange_) onChange_(this, source, rebuild);
}

// --- properties -------------------------------------------------------------------------------

void TMenuItem::SetCaption(const std::string& v) {
  if (caption_ == v) return;
  caption_ = v;
  MenuChanged(true);
}

void TMenuItem::SetChecked(bool v) {
  if (checked_ == v) return;
  checked_ = v;
  UpdateNativeState();
  if (v && radioItem_) TurnSiblingsOff();
  MenuChanged(false);
}

void TMenuItem::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  UpdateNativeState();
  MenuChanged(false);
}

void TMenuItem::SetVisible(bool v) {
  if (visible_ == v) return;
  visible_ = v;
  MenuChanged(true);
}

void TMenuItem::SetDefault(bool v) {
  if (default_ == v) return;
  if (v && parent_)
    for (TMenuItem* item : parent_->items_)
      if (item != this && item->default_) {
        item->default_ = false;
        item->UpdateNativeState();
      }
  default_ = v;
  MenuChanged(true);
}

void TMenuItem::SetRadioItem(bool v) {
  if (radioItem_ == v) return;
  radioItem_ = v;
  if (checked_ && v) TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::SetGroupIndex(uint8_t v) {
  if (groupIndex_ == v) return;
  groupIndex_ = v;
  if (checked_ && radioItem_) TurnSiblingsOff();
}

void TMenuItem::TurnSiblingsOff() {
  if (!parent_) return;
  std::vector<TMenuItem*> siblings = parent_->items_;
  for (TMenuItem* item : siblings)
    if (item != this && item->radioItem_ && item->groupIndex_ == groupIndex_) item->SetChecked(false);
}

void TMenuItem::SetShortCut(TShortCut v) {
  if (shortCut_ == v) return;
  shortCut_ = v;
  MenuChanged(true);
}

void TMenuItem::SetImageIndex(int v) {
  if (imageIndex_ == v) return;
  imageIndex_ = v;
  MenuChanged(true);
}

void TMenuItem::SetBreak(TMenuBreak v) {
  if (break_ == v) return;
  break_ = v;
  MenuChanged(true);
}

TBitmap* TMenuItem::GetBitmap() {
  if (!bitmap_) {
    bitmap_ = New<TBitmap>();
    bitmap_->SetOnChange(TNotifyEvent(this, &TMenuItem::BitmapChanged));
  }
  return bitmap_;
}

void TMenuItem::SetBitmap(TBitmap* v) { GetBitmap()->Assign(v); }

void TMenuItem::BitmapChanged(TObject*) { MenuChanged(true); }

// --- actions ----------------------------------------------------------------------------------

TBasicAction* TMenuItem::GetAction() const { return actionLink_ ? actionLink_->GetAction() : nullptr; }

void TMenuItem::SetAction(TBasicAction* v) {
  if (!v) {
    FreeAndNil(actionLink_);
    return;
  }
  if (!actionLink_) actionLink_ = CreateAs<TMenuActionLink>(GetActionLinkClass(), this);
  actionLink_->SetAction(v);
  actionLink_->OnChange = TNotifyEvent(this, &TMenuItem::DoActionChange);
  ActionChange(v, v->IsLoading());
  v->FreeNotification(this);
}

TClass TMenuItem::GetActionLinkClass() { return TMenuActionLink::StaticClass(); }

void TMenuItem::DoActionChange(TObject* sender) {
  if (sender == GetAction()) ActionChange(sender, false);
}

void TMenuItem::ActionChange(TObject* sender, bool checkDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (!action) return;
  if (!checkDefaults || caption_.empty()) SetCaption(action->GetCaption());
  if (!checkDefaults || !checked_) SetChecked(action->GetChecked());
  if (!checkDefaults || enabled_) SetEnabled(action->GetEnabled());
  if (!checkDefaults || helpContext_ == 0) SetHelpContext(action->GetHelpContext());
  if (!checkDefaults || hint_.empty()) SetHint(action->GetHint());
  if (radioItem_ && (!checkDefaults || groupIndex_ == 0))
    SetGroupIndex(static_cast<uint8_t>(action->GetGroupIndex()));
  if (!checkDefaults || imageIndex_ == -1) SetImageIndex(action->GetImageIndex());
  if (!checkDefaults || shortCut_ == scNone) SetShortCut(action->GetShortCut());
  if (!checkDefaults || visible_) SetVisible(action->GetVisible());
  if (!checkDefaults || !OnClick) OnClick = action->GetOnExecute();
}

bool TMenuItem::IsCaptionStored() const { return !actionLink_ || !actionLink_->IsCaptionLinked(); }
bool TMenuItem::IsCheckedStored() const { return !actionLink_ || !actionLink_->IsCheckedLinked(); }
bool TMenuItem::IsEnabledStored() const { return !actionLink_ || !actionLink_->IsEnabledLinked(); }
bool TMenuItem::IsHelpContextStored() const { return !actionLink_ || !actionLink_->IsHelpContextLinked(); }
bool TMenuItem::IsHintStored() const { return !actionLink_ || !actionLink_->IsHintLinked(); }
bool TMenuItem::IsImageIndexStored() const { return !actionLink_ || !actionLink_->IsImageIndexLinked(); }
bool TMenuItem::IsShortCutStored() const { return !actionLink_ || !actionLink_->IsShortCutLinked(); }
bool TMenuItem::IsVisibleStored() const { return !actionLink_ || !actionLink_->IsVisibleLinked(); }
bool TMenuItem::IsOnClickStored() const { return !actionLink_ || !actionLink_->IsOnExecuteLinked(); }

// --- stored forms -------------------------------------------------------------------------------

TComponent* TMenuItem::GetParentComponent() {
  if (parent_ && parent_->menu_) return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* value) {
  if (parent_) parent_->Remove(this);
  if (!value) return;
  if (auto* menu = dynamic_cast<TMenu*>(value)) menu->GetItems()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(value)) item->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& proc, TComponent*) {
  for (TMenuItem* item : items_) proc(item);
}

void TMenuItem::SetChildOrder(TComponent* child, int order) {
  if (auto* item = dynamic_cast<TMenuItem*>(child); item && item->parent_ == this) item->SetMenuIndex(order);
}

void TMenuItem::Loaded() {
  inherited::Loaded();
  if (TBasicAction* action = GetAction()) ActionChange(action, true);
  if (streamedRebuild_) {
    streamedRebuild_ = false;
    RebuildHandle();
  }
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && actionLink_ && component == actionLink_->GetAction()) SetAction(nullptr);
}

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TMenuActionLink)

void TMenuActionLink::AssignClient(TObject* client) {
  client_ = dynamic_cast<TMenuItem*>(client);
  if (!client_) throw EInvalidCast("Invalid class typecast");
}

bool TMenuActionLink::IsCaptionLinked() {
  return inherited::IsCaptionLinked() && client_->GetCaption() == CustomAction()->GetCaption();
}
bool TMenuActionLink::IsCheckedLinked() {
  return inherited::IsCheckedLinked() && client_->GetChecked() == CustomAction()->GetChecked();
}
bool TMenuActionLink::IsEnabledLinked() {
  return inherited::IsEnabledLinked() && client_->GetEnabled() == CustomAction()->GetEnabled();
}
bool TMenuActionLink::IsGroupIndexLinked() {
  return inherited::IsGroupIndexLinked() && client_->GetRadioItem() &&
         client_->GetGroupIndex() == CustomAction()->GetGroupIndex();
}
bool TMenuActionLink::IsHelpContextLinked() {
  return inherited::IsHelpContextLinked() && client_->GetHelpContext() == CustomAction()->GetHelpContext();
}
bool TMenuActionLink::IsHintLinked() {
  return inherited::IsHintLinked() && client_->GetHint() == CustomAction()->GetHint();
}
bool TMenuActionLink::IsImageIndexLinked() {
  return inherited::IsImageIndexLinked() && client_->GetImageIndex() == CustomAction()->GetImageIndex();
}
bool TMenuActionLink::IsShortCutLinked() {
  return inherited::IsShortCutLinked() && client_->GetShortCut() == CustomAction()->GetShortCut();
}
bool TMenuActionLink::IsVisibleLinked() {
  return inherited::IsVisibleLinked() && client_->GetVisible() == CustomAction()->GetVisible();
}
bool TMenuActionLink::IsOnExecuteLinked() {
  return inherited::IsOnExecuteLinked() && GetAction() && client_->OnClick == GetAction()->GetOnExecute();
}

void TMenuActionLink::SetCaption(const std::string& v) {
  if (IsCaptionLinked()) client_->SetCaption(v);
}
void TMenuActionLink::SetChecked(bool v) {
  if (IsCheckedLinked()) client_->SetChecked(v);
}
void TMenuActionLink::SetEnabled(bool v) {
  if (IsEnabledLinked()) client_->SetEnabled(v);
}
void TMenuActionLink::SetGroupIndex(int v) {
  if (IsGroupIndexLinked()) client_->SetGroupIndex(static_cast<uint8_t>(v));
}
void TMenuActionLink::SetHelpContext(int v) {
  if (IsHelpContextLinked()) client_->SetHelpContext(v);
}
void TMenuActionLink::SetHint(const std::string& v) {
  if (IsHintLinked()) client_->SetHint(v);
}
void TMenuActionLink::SetImageIndex(int v) {
  if (IsImageIndexLinked()) client_->SetImageIndex(v);
}
void TMenuActionLink::SetShortCut(TShortCut v) {
  if (IsShortCutLinked()) client_->SetShortCut(v);
}
void TMenuActionLink::SetVisible(bool v) {
  if (IsVisibleLinked()) client_->SetVisible(v);
}
void TMenuActionLink::SetOnExecute(TNotifyEvent v) {
  if (IsOnExecuteLinked()) client_->OnClick = v;
}
