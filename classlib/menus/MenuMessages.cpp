#include "classlib/menus/MenuMessages.h"

#include <algorithm>

#include "classlib/Scopes.h"
#include "classlib/menus/MenusUnit.h"

namespace {

// A canvas over dc in the menu font; it restores the DC when it goes.
Owned<TCanvas> MenuCanvas(HDC dc) {
  Owned<TCanvas> canvas = MakeOwned<TCanvas>();
  canvas->SetHandle(dc);
  canvas->GetFont()->Assign(MenuFont());
  return canvas;
}

}  // namespace

TMenuItem* MenuSelectItem(TMenu* menu, const TMessage& m) {
  const UINT flags = HIWORD(m.WParam);
  auto* native = reinterpret_cast<HMENU>(m.LParam);
  if (!menu || (flags == 0xFFFF && !native)) return nullptr;
  intptr_t value = LOWORD(m.WParam);
  TFindItemKind kind = fkCommand;
  if (flags != 0xFFFF && (flags & MF_POPUP)) {
    // An item that opens a sub-menu is named by its position.
    kind = fkHandle;
    value = native ? reinterpret_cast<intptr_t>(GetSubMenu(native, static_cast<int>(value))) : 0;
  }
  return menu->FindItem(value, kind);
}

std::string MenuItemLongHint(const TMenuItem* item) {
  if (!item) return std::string();
  const std::string& hint = item->GetHint();
  size_t bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

bool DrawMenuItemMessage(TMenu* menu, const DRAWITEMSTRUCT* ds) {
  if (!menu || !ds || ds->CtlType != ODT_MENU) return false;
  TMenuItem* item = menu->FindItem(static_cast<intptr_t>(ds->itemID), fkCommand);
  if (!item) return false;
  Owned<TCanvas> canvas = MenuCanvas(ds->hDC);
  DrawMenuItem(item, canvas.get(), ds->rcItem, OwnerDrawStateOf(ds->itemState));
  return true;
}

bool MeasureMenuItemMessage(TMenu* menu, HWND window, MEASUREITEMSTRUCT* ms) {
  if (!menu || !ms || ms->CtlType != ODT_MENU) return false;
  TMenuItem* item = menu->FindItem(static_cast<intptr_t>(ms->itemID), fkCommand);
  if (!item) return false;
  TWindowDC dc(window);
  Owned<TCanvas> canvas = MenuCanvas(dc.Get());
  int width = static_cast<int>(ms->itemWidth);
  int height = static_cast<int>(ms->itemHeight);
  item->MeasureItem(canvas.get(), width, height);
  ms->itemWidth = static_cast<UINT>(std::max(width, 0));
  ms->itemHeight = static_cast<UINT>(std::max(height, 0));
  return true;
}
