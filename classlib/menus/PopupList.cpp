#include "classlib/menus/PopupList.h"

#include <algorithm>

#include "classlib/SysUtils.h"
#include "classlib/menus/MenusUnit.h"

namespace {

TPopupList* currentList = nullptr;

// A window's DC for the life of the object (declared before a canvas that
// attaches it, so that the canvas lets go first).
class TWindowDC {
 public:
  explicit TWindowDC(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
  ~TWindowDC() { ReleaseDC(window_, dc_); }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

std::string LongHint(const std::string& hint) {
  size_t bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

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
      UINT flags = HIWORD(message.WParam);
      intptr_t value = LOWORD(message.WParam);
      TFindItemKind kind = fkCommand;
      HMENU menu = reinterpret_cast<HMENU>(message.LParam);
      if (flags != 0xFFFF && (flags & MF_POPUP)) {
        kind = fkHandle;
        value = menu ? reinterpret_cast<intptr_t>(GetSubMenu(menu, static_cast<int>(value))) : 0;
      }
      std::string hint;
      if (!(flags == 0xFFFF && !menu)) {
        for (TPopupMenu* m : menus) {
          if (TMenuItem* item = m->FindItem(value, kind)) {
            hint = LongHint(item->GetHint());
            break;
          }
        }
      }
      if (auto& set = MenusHooks().SetApplicationHint) set(hint);
      break;
    }
    case WM_DRAWITEM: {
      auto* ds = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
      if (ds->CtlType != ODT_MENU) break;
      for (TPopupMenu* m : menus) {
        TMenuItem* item = m->FindItem(static_cast<intptr_t>(ds->itemID), fkCommand);
        if (!item) continue;
        // The canvas gives the DC back as it found it when it goes.
        Owned<TCanvas> canvas = MakeOwned<TCanvas>();
        canvas->SetHandle(ds->hDC);
        canvas->GetFont()->Assign(MenuFont());
        DrawMenuItem(item, canvas.get(), ds->rcItem, OwnerDrawStateOf(ds->itemState));
        message.Result = TRUE;
        return;
      }
      break;
    }
    case WM_MEASUREITEM: {
      auto* ms = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
      if (ms->CtlType != ODT_MENU) break;
      for (TPopupMenu* m : menus) {
        TMenuItem* item = m->FindItem(static_cast<intptr_t>(ms->itemID), fkCommand);
        if (!item) continue;
        TWindowDC dc(window_);
        Owned<TCanvas> canvas = MakeOwned<TCanvas>();
        canvas->SetHandle(dc.Get());
        canvas->GetFont()->Assign(MenuFont());
        int width = static_cast<int>(ms->itemWidth);
        int height = static_cast<int>(ms->itemHeight);
        item->MeasureItem(canvas.get(), width, height);
        ms->itemWidth = static_cast<UINT>(std::max(width, 0));
        ms->itemHeight = static_cast<UINT>(std::max(height, 0));
        message.Result = TRUE;
        return;
      }
      break;
    }
  }
  message.Result = DefWindowProcA(window_, message.Msg, message.WParam, message.LParam);
}
