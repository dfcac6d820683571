#include "unicode/VoxMenus.h"

#include <algorithm>

#include "classlib/ImgList.h"
#include "classlib/SysUtils.h"
#include "unicode/VoxClasses.h"
#include "unicode/VoxActnList.h"
#include "unicode/VoxMenusPrivate.h"
#include "unicode/VoxSysUtils.h"

using namespace vox_menus;

namespace vox_menus {

bool IsTopLevelOfMainMenu(const TMenuItem* item, TMenu* menu) {
  return item->GetParent() && menu && item->GetParent() == menu->GetItems() && dynamic_cast<TMainMenu*>(menu);
}

void UpdateMenuStrings(TMenuItem* item, TMenu* menu) {
  if (item->GetComponentState().Contains(csReading) || item->IsDestroying()) return;
  // From the last to the first: an update never moves an earlier sibling.
  for (int i = item->GetCount() - 1; i >= 0; --i) UpdateMenuStrings(item->GetItem(i), menu);
  if (auto* wide = dynamic_cast<TVoxMenuItem*>(item)) wide->UpdateMenuString(menu);
}

}  // namespace vox_menus

// --- Any menu item -------------------------------------------------------------------

std::wstring WideGetMenuItemCaption(TMenuItem* item) {
  if (auto* wide = dynamic_cast<TVoxMenuItem*>(item)) return wide->GetCaption();
  return AnsiToWide(item->GetCaption());
}

std::wstring WideGetMenuItemHint(TMenuItem* item) {
  if (auto* wide = dynamic_cast<TVoxMenuItem*>(item)) return wide->GetHint();
  return AnsiToWide(item->GetHint());
}

bool MenuItemHasBitmap(TMenuItem* item) { return item->HasBitmap(); }

namespace {

bool Win98Plus() { return Win32MajorVersion > 4 || (Win32MajorVersion == 4 && Win32MinorVersion > 0); }

// An image of the menu's list at the item's index, or a non-empty bitmap.
bool ItemHasValidImage(TMenuItem* item) {
  VoxAssert(item != nullptr, "VOX Internal Error: ItemHasValidImage: item = nil", "VoxMenus", 340);
  TCustomImageList* images = item->GetImageList();
  if (images && item->GetImageIndex() >= 0 && item->GetImageIndex() < images->GetCount()) return true;
  return MenuItemHasBitmap(item) && !item->GetBitmap()->GetEmpty();
}

}  // namespace

void NoOwnerDrawTopLevelItems(TMainMenu* mainMenu) {
  if (!Win98Plus()) return;
  HMENU bar = mainMenu->GetHandle();
  int count = GetMenuItemCount(bar);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID;
    if (!GetMenuItemInfoA(bar, static_cast<UINT>(i), TRUE, &info) || !(info.fType & MFT_OWNERDRAW)) continue;
    TMenuItem* item = mainMenu->FindItem(static_cast<intptr_t>(info.wID), fkCommand);
    if (!item || item->OnDrawItem || item->OnAdvancedDrawItem || ItemHasValidImage(item)) continue;
    // A plain text item again: the type without MFT_OWNERDRAW, and the text.
    auto setText = [&](auto entry, auto text, auto setMenuItemInfo) {
      entry.cbSize = sizeof entry;
      entry.fMask = MIIM_FTYPE | MIIM_STRING;
      entry.fType = info.fType & ~static_cast<UINT>(MFT_OWNERDRAW);
      entry.dwTypeData = text.data();
      setMenuItemInfo(bar, static_cast<UINT>(i), TRUE, &entry);
    };
    auto* wide = dynamic_cast<TVoxMenuItem*>(item);
    if (wide && Win32PlatformIsUnicode) setText(MENUITEMINFOW{}, wide->GetCaption(), SetMenuItemInfoW);
    else setText(MENUITEMINFOA{}, item->GetCaption(), SetMenuItemInfoA);
  }
}

void FixMenuBiDiProblem(TMenu* menu) {
  if (!SysLocale.MiddleEast || !menu || menu->GetItems()->GetCount() == 0) return;
  if (auto* first = dynamic_cast<TVoxMenuItem*>(menu->GetItems()->GetItem(0))) first->UpdateMenuString(menu);
}

TVoxMenuItem* WideNewSubMenu(const std::wstring& caption, int helpContext, const std::string& name,
                             std::initializer_list<TMenuItem*> items, bool enabled) {
  TVoxMenuItem* item = New<TVoxMenuItem>(nullptr);
  item->Add(items);
  item->SetCaption(caption);
  item->SetHelpContext(helpContext);
  item->SetName(name);
  item->SetEnabled(enabled);
  return item;
}

TVoxMenuItem* WideNewItem(const std::wstring& caption, TShortCut shortCut, bool checked, bool enabled,
                          TNotifyEvent onClick, int helpContext, const std::string& name) {
  TVoxMenuItem* item = New<TVoxMenuItem>(nullptr);
  item->SetCaption(caption);
  item->SetShortCut(shortCut);
  item->OnClick = onClick;
  item->SetHelpContext(helpContext);
  item->SetChecked(checked);
  item->SetEnabled(enabled);
  item->SetName(name);
  return item;
}

// --- TVoxMenuItem ---------------------------------------------------------------------

PUBLISHED(TVoxMenuItem) {
  using M = TVoxMenuItem;
  p.Prop("Caption", &M::GetCaption, &M::SetCaption).Stored(&M::IsCaptionStored);
  p.Prop("Hint", &M::GetHint, &M::SetHint).Stored(&M::IsHintStored);
}

TVoxMenuItem::TVoxMenuItem(TComponent* owner) : TMenuItem(owner) {}

void TVoxMenuItem::SetInheritedCaption(const std::string& value) { TMenuItem::SetCaption(value); }

void TVoxMenuItem::SetInheritedHint(const std::string& value) { TMenuItem::SetHint(value); }

namespace {

// Where the ANSI caption's mark stands, counted in characters of the
// caption without marks; with the parenthesised Far-East form the marked
// character goes with the mark. npos without a mark.
struct TAnsiMark {
  size_t Index = std::wstring::npos;
  bool Parenthesised = false;
  wchar_t Char = 0;
};

TAnsiMark AnsiMarkOf(const std::string& ansiCaption) {
  TAnsiMark mark;
  std::wstring wide = AnsiToWide(ansiCaption);
  std::wstring hotkey = WideGetHotkey(wide);
  if (hotkey.empty()) return mark;
  // The mark's place: the last single "&" before the hotkey character.
  size_t markAt = std::wstring::npos;
  for (size_t i = 0; i + 1 < wide.size(); ++i) {
    if (wide[i] != cHotkeyPrefix) continue;
    if (wide[i + 1] != cHotkeyPrefix) markAt = i;
    ++i;
  }
  mark.Char = hotkey[0];
  mark.Parenthesised = SysLocale.FarEast && markAt > 0 && wide.size() - markAt >= 3 && wide[markAt - 1] == L'(' &&
                       wide[markAt + 2] == L')';
  size_t prefixEnd = mark.Parenthesised ? markAt - 1 : markAt;
  mark.Index = WideStripHotkey(wide.substr(0, prefixEnd)).size();
  return mark;
}

}  // namespace

std::wstring TVoxMenuItem::GetCaption() {
  const std::string& ansi = TMenuItem::GetCaption();
  if (WideToAnsi(caption_) != ansi && WideSameCaption(caption_, AnsiToWide(ansi))) {
    // The class library moved the mark (assigning hotkeys, say): the wide
    // caption follows it.
    TAnsiMark mark = AnsiMarkOf(ansi);
    std::wstring stripped = WideStripHotkey(caption_);
    if (mark.Index != std::wstring::npos && mark.Index <= stripped.size()) {
      if (mark.Parenthesised) stripped.insert(mark.Index, std::wstring(L"(&") + mark.Char + L")");
      else if (mark.Index < stripped.size()) stripped.insert(mark.Index, 1, cHotkeyPrefix);
    }
    caption_ = stripped;
  }
  return GetSyncedWideString(caption_, ansi);
}

void TVoxMenuItem::SetCaption(const std::wstring& value) {
  GetCaption();
  SetSyncedWideString(value, caption_, TMenuItem::GetCaption(),
                      [this](const std::string& s) { SetInheritedCaption(s); });
}

std::wstring TVoxMenuItem::GetHint() { return GetSyncedWideString(hint_, TMenuItem::GetHint()); }

void TVoxMenuItem::SetHint(const std::wstring& value) {
  SetSyncedWideString(value, hint_, TMenuItem::GetHint(), [this](const std::string& s) { SetInheritedHint(s); });
}

TMenuItem* TVoxMenuItem::Find(const std::wstring& caption) const {
  for (int i = 0; i < GetCount(); ++i)
    if (WideSameCaption(WideGetMenuItemCaption(GetItem(i)), caption)) return GetItem(i);
  return nullptr;
}

void TVoxMenuItem::UpdateMenuString(TMenu* parentMenu) {
  if (!Win32PlatformIsUnicode || !GetParent() || !parentMenu) return;
  if (GetComponentState().Contains(csReading) || IsDestroying() || !GetVisible()) return;
  HMENU menu = parentMenu->GetHandle();
  UINT command = GetCommand();
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_TYPE;
  if (!GetMenuItemInfoW(menu, command, FALSE, &info)) return;
  if (info.fType & (MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR)) return;
  bool onBar = IsTopLevelOfMainMenu(this, parentMenu);
  std::wstring text = GetCaption();
  if (GetCount() == 0 && GetShortCut() != 0 && !onBar) text += L"\t" + WideShortCutToText(GetShortCut());

  int length = GetMenuStringW(menu, command, nullptr, 0, MF_BYCOMMAND);
  std::wstring current(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
  int got = GetMenuStringW(menu, command, current.data(), length + 1, MF_BYCOMMAND);
  current.resize(static_cast<size_t>(std::clamp(got, 0, std::max(length, 0))));
  if (current == text) return;
  // MIIM_TYPE writes the type with the text: the type just read is kept.
  info.dwTypeData = text.data();
  info.cch = static_cast<UINT>(text.size());
  Win32Check(SetMenuItemInfoW(menu, command, FALSE, &info));
  if (onBar && parentMenu->GetWindowHandle()) DrawMenuBar(parentMenu->GetWindowHandle());
}

void TVoxMenuItem::MenuChanged(bool rebuild) {
  if (ignoreMenuChanged_) return;
  inherited::MenuChanged(rebuild);
  TMenu* menu = GetParentMenu();
  UpdateMenuStrings(this, menu);
  FixMenuBiDiProblem(menu);
}

void TVoxMenuItem::Loaded() {
  inherited::Loaded();
  UpdateMenuString(GetParentMenu());
}

void TVoxMenuItem::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  VoxPersistent_AfterInherited_DefineProperties(filer, this);
}

TClass TVoxMenuItem::GetActionLinkClass() { return TVoxMenuActionLink::StaticClass(); }

void TVoxMenuItem::ActionChange(TObject* sender, bool checkDefaults) {
  if (auto* action = dynamic_cast<TCustomAction*>(sender); action && Supports<IVoxAction>(action)) {
    if (!checkDefaults || GetCaption().empty()) SetCaption(VoxAction_GetCaption(action));
    if (!checkDefaults || GetHint().empty()) SetHint(VoxAction_GetHint(action));
  }
  inherited::ActionChange(sender, checkDefaults);
}

// --- Wide menus ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxMainMenu)

void TVoxMainMenu::DoChange(TMenuItem* source, bool rebuild) {
  UpdateMenuStrings(GetItems(), this);
  inherited::DoChange(source, rebuild);
}
