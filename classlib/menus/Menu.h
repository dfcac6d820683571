// TMenu and its two kinds: TMainMenu (a form's menu bar) and TPopupMenu
// (a context menu shown by TrackPopupMenu).
//
// A menu owns its root item (Items) and hands out its native menu (Handle).
// The window that shows the menu tells it its commands: the form passes
// WM_COMMAND of its menu bar to DispatchCommand, WM_INITMENUPOPUP to
// DispatchPopup and WM_MENUSELECT, WM_DRAWITEM and WM_MEASUREITEM to the
// helpers of MenuMessages.h; pop-up menus get theirs through the pop-up
// list's window (PopupList.h).
#pragma once

#include <string>

#include "classlib/menus/MenuItem.h"

class TMenu : public TComponent {
  DECLARE_CLASS(TMenu, TComponent)

  explicit TMenu(TComponent* owner);
  ~TMenu() override { DestroyUnfinished(); }

  TMenuItem* GetItems() const { return items_; }
  // The native menu (the root item's), made on first use.
  virtual HMENU GetHandle();
  // The window that shows the menu (a form's for a main menu; the pop-up
  // list's window for a pop-up menu).
  HWND GetWindowHandle() const { return windowHandle_; }
  virtual void SetWindowHandle(HWND value);

  TCustomImageList* GetImages() const { return images_; }
  void SetImages(TCustomImageList* value);
  bool GetOwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool value);
  TBiDiMode GetBiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode value);
  bool GetParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool value);
  bool IsBiDiModeStored() const { return !parentBiDiMode_; }
  // With ParentBiDiMode the menu takes the BiDiMode of its owner when that
  // is a control (or of control, which the form passes when its mode
  // changed).
  void ParentBiDiModeChanged();
  void ParentBiDiModeChanged(TObject* control);
  // Right to left takes effect only on a Middle-East enabled system.
  bool IsRightToLeft() const;
  virtual bool UseRightToLeftAlignment() const;
  bool UseRightToLeftReading() const;

  // The item with the command id: its Click. False when no item has it.
  bool DispatchCommand(WORD command);
  // The item whose sub-menu is about to open: its actions are updated and
  // it is clicked. False when no item owns the menu.
  bool DispatchPopup(HMENU menu);
  // The first item, the root included, whose Command, Handle or ShortCut is
  // value (depth first); a handle or shortcut of 0 finds nothing.
  TMenuItem* FindItem(intptr_t value, TFindItemKind kind);
  // A WM_KEYDOWN/WM_SYSKEYDOWN message (or its CN_ twin): the key with the
  // shift state of the moment is looked up among the shortcuts; the item
  // and each of its parents, from the top, are updated and clicked while
  // they are enabled. True when an item has the shortcut.
  virtual bool IsShortCut(TMessage& keyMessage);

  TMenuChangeEvent OnChange;
  TMenuChangeEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TMenuChangeEvent e) { OnChange = e; }

  // A change of an item reached the menu (not while loading or destroying):
  // DoChange.
  virtual void MenuChanged(TObject* sender, TMenuItem* source, bool rebuild);
  // OnChange.
  virtual void DoChange(TMenuItem* source, bool rebuild);
  // Rebuilds every native menu of the tree (owner drawing, images or the
  // reading order changed).
  void UpdateItems();

  // --- stored forms ---------------------------------------------------------------
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void Destroy() override;

 private:
  TMenuItem* items_ = nullptr;
  HWND windowHandle_ = nullptr;
  TCustomImageList* images_ = nullptr;
  bool ownerDraw_ = false;
  TBiDiMode biDiMode_ = bdLeftToRight;
  bool parentBiDiMode_ = true;
  // The item IsShortCut is clicking; cleared when it is freed meanwhile.
  TMenuItem* shortCutItem_ = nullptr;
};

class TMainMenu : public TMenu {
  DECLARE_CLASS(TMainMenu, TMenu)

  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override { DestroyUnfinished(); }

  // Kept for stored forms; menus are not merged.
  bool GetAutoMerge() const { return autoMerge_; }
  void SetAutoMerge(bool v) { autoMerge_ = v; }

  // Redraws the window's menu bar when an item of the bar changed.
  void MenuChanged(TObject* sender, TMenuItem* source, bool rebuild) override;

 protected:
  // The window gives the menu bar back, so that the menu stays whole when
  // the bar is destroyed before the window.
  void Destroy() override;

 private:
  bool autoMerge_ = false;
};

class TPopupMenu : public TMenu {
  DECLARE_CLASS(TPopupMenu, TMenu)

  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override { DestroyUnfinished(); }

  // OnPopup, then TrackPopupMenu at the screen point with the pop-up list's
  // window as owner; returns when the menu closes (the chosen item's
  // WM_COMMAND is posted to that window and clicks it later).
  virtual void Popup(int x, int y);
  // OnPopup.
  virtual void DoPopup(TObject* sender);
  // The point of the last Popup.
  POINT GetPopupPoint() const { return popupPoint_; }
  // The component the menu was shown for (the control of WM_CONTEXTMENU).
  TComponent* GetPopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* value);
  // The pop-up component's alignment when it is a control.
  bool UseRightToLeftAlignment() const override;

  TPopupAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment v) { alignment_ = v; }
  bool GetAutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool v) { autoPopup_ = v; }
  int GetHelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; }
  TMenuAnimation GetMenuAnimation() const { return menuAnimation_; }
  void SetMenuAnimation(TMenuAnimation v) { menuAnimation_ = v; }
  TTrackButton GetTrackButton() const { return trackButton_; }
  void SetTrackButton(TTrackButton v) { trackButton_ = v; }
  // TrackPopupMenu's flags for the current settings.
  UINT GetTrackFlags() const;

  TNotifyEvent OnPopup;
  TNotifyEvent GetOnPopup() const { return OnPopup; }
  void SetOnPopup(TNotifyEvent e) { OnPopup = e; }

  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void Destroy() override;

 private:
  TPopupAlignment alignment_ = paLeft;
  bool autoPopup_ = true;
  int helpContext_ = 0;
  TMenuAnimation menuAnimation_;
  TTrackButton trackButton_ = tbRightButton;
  TComponent* popupComponent_ = nullptr;
  POINT popupPoint_{};
};
