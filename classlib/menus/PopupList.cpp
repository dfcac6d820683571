#include "classlib/menus/PopupList.h"

#include <algorithm>

#include "classlib/SysUtils.h"
#include "classlib/menus/MenuMessages.h"
#include "classlib/menus/MenusUnit.h"

namespace {
TPopupList* currentList = nullptr;
}  // namespace

TPopupList* PopupList() { return currentList; }

TPopupList* SetPopupList(TPopupList* list) {
  TPopupList* old = currentList;
  currentList = list;
  return old;
}

IMPLEMENT_CLASS(TPopupList)

void TPopupList::Destroy() {
  DeallocateHWnd(window_);
  window_ = nullptr;
  items_.clear();
  inherited::Destroy();
}

void TPopupList::Add(TPopupMenu* popup) {
  if (!popup || std::find(items_.begin(), items_.end(), popup) != items_.end()) return;
  items_.push_back(popup);
}

void TPopupList::Remove(TPopupMenu* popup) {
  auto it = std::find(items_.begin(), items_.end(), popup);
  if (it != items_.end()) items_.erase(it);
}

HWND TPopupList::GetWindow() {
  if (!window_) window_ = AllocateHWnd(TWndMethod(this, &TPopupList::MainWndProc));
  return window_;
}

void TPopupList::MainWndProc(TMessage& message) {
  try {
    WndProc(message);
  } catch (...) {
    ControlsHandleException(this);
  }
}

void TPopupList::WndProc(TMessage& message) {
  // A menu's handler may free menus: walk a copy, and only menus still listed.
  std::vector<TPopupMenu*> menus = items_;
  auto listed = [&](TPopupMenu* m) { return std::find(items_.begin(), items_.end(), m) != items_.end(); };
  switch (message.Msg) {
    case WM_COMMAND:
      for (TPopupMenu* m : menus)
        if (listed(m) && m->DispatchCommand(LOWORD(message.WParam))) return;
      break;
    case WM_INITMENUPOPUP:
      for (TPopupMenu* m : menus)
        if (listed(m) && m->DispatchPopup(reinterpret_cast<HMENU>(message.WParam))) return;
      break;
    case WM_MENUSELECT: {
      TMenuItem* item = nullptr;
      for (TPopupMenu* m : menus)
        if ((item = MenuSelectItem(m, message)) != nullptr) break;
      if (auto& set = MenusHooks().SetApplicationHint) set(MenuItemLongHint(item));
      break;
    }
    case WM_DRAWITEM:
      for (TPopupMenu* m : menus)
        if (DrawMenuItemMessage(m, reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam))) {
          message.Result = TRUE;
          return;
        }
      break;
    case WM_MEASUREITEM:
      for (TPopupMenu* m : menus)
        if (MeasureMenuItemMessage(m, window_, reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam))) {
          message.Result = TRUE;
          return;
        }
      break;
  }
  message.Result = DefWindowProcA(window_, message.Msg, message.WParam, message.LParam);
}
