// The wide pop-up menus and their pop-up list, and the unit's start-up.
#include <algorithm>
#include <vector>

#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"
#include "unicode/VoxForms.h"
#include "unicode/VoxMenus.h"
#include "unicode/VoxMenusPrivate.h"

using namespace vox_menus;

TVoxPopupList* VoxPopupList = nullptr;

namespace {

// The application's hint while a menu item is selected: wide through the
// layer's companion; before the layer's start-up, the ANSI form.
void SetApplicationWideHint(const std::wstring& hint) {
  if (VoxApplication) VoxApplication->SetHint(hint);
  else if (auto& set = MenusHooks().SetApplicationHint) set(WideToAnsi(hint));
}

}  // namespace

// --- TVoxPopupMenu -------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxPopupMenu)

TVoxPopupMenu::TVoxPopupMenu(TComponent* owner) : TPopupMenu(owner) {
  if (!VoxPopupList) return;
  if (TPopupList* list = PopupList()) list->Remove(this);
  VoxPopupList->Add(this);
  SetWindowHandle(VoxPopupList->GetWindow());
}

void TVoxPopupMenu::Destroy() {
  // Back in the class library's list, which the inherited teardown leaves.
  if (VoxPopupList) VoxPopupList->Remove(this);
  if (TPopupList* list = PopupList()) list->Add(this);
  inherited::Destroy();
}

void TVoxPopupMenu::DoChange(TMenuItem* source, bool rebuild) {
  UpdateMenuStrings(GetItems(), this);
  inherited::DoChange(source, rebuild);
}

void TVoxPopupMenu::Popup(int x, int y) {
  if (!VoxPopupList) {
    inherited::Popup(x, y);
    return;
  }
  // The menu's messages go to the window of the list in use when it opens.
  SetPopupList(VoxPopupList);
  TFinally restore([] { SetPopupList(VoxPopupList->GetSavedList()); });
  inherited::Popup(x, y);
}

// --- TVoxPopupList -----------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxPopupList)

void TVoxPopupList::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_MENUSELECT: {
      for (int i = 0; i < GetCount(); ++i)
        if (TMenuItem* item = MenuSelectItem(GetItem(i), message)) {
          SetApplicationWideHint(WideGetLongHint(WideGetMenuItemHint(item)));
          return;
        }
      SetApplicationWideHint(std::wstring());
      break;
    }
    case WM_ENTERMENULOOP: {
      // The loop has its owner window; code run meanwhile sees the class
      // library's list again.
      SetPopupList(savedList_);
      std::vector<TPopupMenu*> menus;
      for (int i = 0; i < GetCount(); ++i) menus.push_back(GetItem(i));
      for (TPopupMenu* menu : menus) FixMenuBiDiProblem(menu);
      break;
    }
  }
  inherited::WndProc(message);
}

// --- Unit start-up --------------------------------------------------------------------------

void InitializeVoxMenus() {
  if (!VoxPopupList) VoxPopupList = New<TVoxPopupList>(PopupList());
  RegisterClasses({TVoxMenuItem::StaticClass(), TVoxMainMenu::StaticClass(), TVoxPopupMenu::StaticClass()});
}

void FinalizeVoxMenus() {
  if (!VoxPopupList) return;
  // A list left in place by a pop-up that never returned goes back first.
  if (PopupList() == VoxPopupList) SetPopupList(VoxPopupList->GetSavedList());
  FreeAndNil(VoxPopupList);
}
