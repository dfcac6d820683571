// TPopupList: the pop-up menus of the program and the hidden window that
// owns them while they are shown.
//
// TrackPopupMenu sends the menu's messages to its owner window: the list's
// window hands WM_COMMAND, WM_INITMENUPOPUP, WM_MENUSELECT and owner-draw
// requests to the listed menus. The list in use is a replaceable global, so
// that the Unicode layer can put a list of its own in its place.
#pragma once

#include <vector>

#include "classlib/menus/Menu.h"

class TPopupList : public TObject {
  DECLARE_CLASS(TPopupList, TObject)

  TPopupList() = default;

  void Add(TPopupMenu* popup);
  void Remove(TPopupMenu* popup);
  int GetCount() const { return static_cast<int>(items_.size()); }
  // Raises EListError "List index out of bounds (%d)" for a bad index.
  TPopupMenu* GetItem(int index) const {
    if (index < 0 || index >= static_cast<int>(items_.size())) TList::Error(SListIndexError, index);
    return items_[static_cast<size_t>(index)];
  }
  // The owner window of shown pop-up menus, made on first use.
  HWND GetWindow();

  // WM_COMMAND and WM_INITMENUPOPUP go to the first menu that takes them;
  // WM_MENUSELECT sets the application's hint to the long part of the item's
  // hint (empty when none); WM_DRAWITEM/WM_MEASUREITEM of menu items draw
  // and measure the item; everything else goes to DefWindowProcA.
  virtual void WndProc(TMessage& message);
  // The window's procedure: WndProc, with every exception handed to the
  // application.
  void MainWndProc(TMessage& message);

 protected:
  void Destroy() override;

 private:
  std::vector<TPopupMenu*> items_;
  HWND window_ = nullptr;
};

// The list in use (made by the Menus unit's start-up).
TPopupList* PopupList();
// Puts another list in place; returns the one it replaces.
TPopupList* SetPopupList(TPopupList* list);
