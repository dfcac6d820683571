#include "classlib/menus/MenusUnit.h"

#include "classlib/ActnList.h"
#include "classlib/menus/PopupList.h"
#include "classlib/menus/ShortCuts.h"

namespace {

// The system's menu font, made on first use and kept until finalisation.
TFont* systemMenuFont = nullptr;

TFont* SystemMenuFont() {
  if (!systemMenuFont) {
    systemMenuFont = New<TFont>();
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
      systemMenuFont->SetHandle(CreateFontIndirectA(&metrics.lfMenuFont));
  }
  return systemMenuFont;
}

void AddItems(TMenu* menu, std::initializer_list<TMenuItem*> items) {
  for (TMenuItem* item : items) menu->GetItems()->Add(item);
}

}  // namespace

TFont* MenuFont() {
  if (auto& hook = MenusHooks().MenuFont)
    if (TFont* font = hook()) return font;
  return SystemMenuFont();
}

bool IsMenuKey(TWinControl* control, TMessage& keyMessage) {
  if (!control->IsDesigning()) {
    for (TControl* c = control; c; c = c->GetParent()) {
      TPopupMenu* menu = c->GetPopupMenuForContext();
      if (menu && menu->GetWindowHandle() && menu->IsShortCut(keyMessage)) return true;
    }
    if (TCustomForm* form = GetParentForm(control))
      if (auto& formIsShortCut = MenusHooks().FormIsShortCut)
        if (formIsShortCut(form, keyMessage)) return true;
  }
  TWMKey key(keyMessage);
  return SendAppMessage(CM_APPKEYDOWN, key.CharCode(), key.KeyData()) != 0;
}

// --- menus built in code ---------------------------------------------------------

TMainMenu* NewMenu(TComponent* owner, const std::string& name, std::initializer_list<TMenuItem*> items) {
  TMainMenu* menu = New<TMainMenu>(owner);
  menu->SetName(name);
  AddItems(menu, items);
  return menu;
}

TPopupMenu* NewPopupMenu(TComponent* owner, const std::string& name, TPopupAlignment alignment, bool autoPopup,
                         std::initializer_list<TMenuItem*> items) {
  TPopupMenu* menu = New<TPopupMenu>(owner);
  menu->SetName(name);
  menu->SetAlignment(alignment);
  menu->SetAutoPopup(autoPopup);
  AddItems(menu, items);
  return menu;
}

TMenuItem* NewSubMenu(const std::string& caption, int helpContext, const std::string& name,
                      std::initializer_list<TMenuItem*> items, bool enabled) {
  TMenuItem* item = New<TMenuItem>(nullptr);
  item->Add(items);
  item->SetCaption(caption);
  item->SetHelpContext(helpContext);
  item->SetName(name);
  item->SetEnabled(enabled);
  return item;
}

TMenuItem* NewItem(const std::string& caption, TShortCut shortCut, bool checked, bool enabled, TNotifyEvent onClick,
                   int helpContext, const std::string& name) {
  TMenuItem* item = New<TMenuItem>(nullptr);
  item->SetCaption(caption);
  item->SetShortCut(shortCut);
  item->OnClick = onClick;
  item->SetHelpContext(helpContext);
  item->SetChecked(checked);
  item->SetEnabled(enabled);
  item->SetName(name);
  return item;
}

TMenuItem* NewLine() {
  TMenuItem* item = New<TMenuItem>(nullptr);
  item->SetCaption(cLineCaption);
  return item;
}

// --- start-up ------------------------------------------------------------------------

void InitializeMenus() {
  if (!PopupList()) SetPopupList(New<TPopupList>());
  RegisterClasses({TMenuItem::StaticClass(), TMainMenu::StaticClass(), TPopupMenu::StaticClass()});
  auto& hooks = ControlsHooks();
  hooks.PopupMenuComponent = [](TPopupMenu* menu) -> TComponent* { return menu; };
  hooks.PopupMenuPopup = [](TPopupMenu* menu, TControl* control, POINT pos) {
    if (!menu->GetAutoPopup()) return false;
    menu->SetPopupComponent(control);
    menu->Popup(pos.x, pos.y);
    return true;
  };
  hooks.IsMenuKey = &IsMenuKey;
  hooks.ShortCutToText = [](uint16_t shortCut) { return ShortCutToText(shortCut); };
}

void FinalizeMenus() {
  auto& hooks = ControlsHooks();
  hooks.PopupMenuComponent = nullptr;
  hooks.PopupMenuPopup = nullptr;
  hooks.IsMenuKey = nullptr;
  hooks.ShortCutToText = nullptr;
  FreeAndNil(systemMenuFont);
  TPopupList* list = SetPopupList(nullptr);
  FreeObject(list);
}
