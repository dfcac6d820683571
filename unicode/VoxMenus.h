// VoxMenus: UTF-16 captions and hints for menu items, the wide shortcut and
// hotkey routines, and the pop-up list that shows wide hints.
//
// The class library builds its native menus from ANSI captions. A wide item
// keeps its wide caption beside the ANSI one (synchronised: the wide value
// counts while its ANSI form is still the ANSI caption) and, after every
// change that may have rebuilt a native menu, writes the wide text into its
// native entry again (UpdateMenuString). Owner-drawn items draw and measure
// the wide text themselves. Where the wide API is missing
// (Win32PlatformIsUnicode false) the class library's ANSI behaviour stays.
#pragma once

#include <initializer_list>
#include <string>

#include "classlib/Menus.h"
#include "unicode/VoxControls.h"

class TVoxMenuItem;

// --- Shortcuts and hotkeys -------------------------------------------------------
// The key of a WM_KEYDOWN-like message with the shift state of its key data.
TShortCut MessageToShortCut(const TMessage& keyMessage);
// "Shift+", "Ctrl+", "Alt+" and the key's name. The keys with fixed names
// (Backspace, Tab, Enter, Esc, Space, the navigation keys, Insert, Delete,
// F1..F24) keep the class library's text; digits and letters are the
// keyboard's characters (MapVirtualKeyW), other keys the keyboard's own key
// names (GetKeyNameTextW). "" for a key without a name.
std::wstring WideShortCutToText(TShortCut shortCut);
// The inverse: leading "Shift+", "Ctrl+" (or "^") and "Alt+", written as
// WideShortCutToText writes them, then a key name (case ignored). 0 when no
// virtual key (8..255) has that name.
TShortCut WideTextToShortCut(const std::wstring& text);
// The character after the last single "&" ("&&" is a literal ampersand), or
// "" when the caption has no accelerator.
std::wstring WideGetHotkey(const std::wstring& caption);
// The caption without its accelerator marks ("&&" keeps one "&"); on a
// Far-East system a mark written "(&X)" goes as a whole.
std::wstring WideStripHotkey(const std::wstring& caption);
// The two captions without marks, case ignored.
bool WideSameCaption(const std::wstring& a, const std::wstring& b);

// --- Any menu item ---------------------------------------------------------------
// The wide caption / hint of a wide item, the ANSI one widened for others.
std::wstring WideGetMenuItemCaption(TMenuItem* item);
std::wstring WideGetMenuItemHint(TMenuItem* item);
// Whether the item has a Bitmap object (empty or not).
bool MenuItemHasBitmap(TMenuItem* item);
// Top-level items of the bar that are owner-drawn only because the menu is
// (no drawing event, no image of their own) become plain text items again,
// so that the system draws the bar (Windows 98/2000 and later).
void NoOwnerDrawTopLevelItems(TMainMenu* mainMenu);
// On a Middle-East system the first top-level item's native text is written
// again: the system loses it when the reading order changes.
void FixMenuBiDiProblem(TMenu* menu);

// Items built in code, without owner.
TVoxMenuItem* WideNewSubMenu(const std::wstring& caption, int helpContext, const std::string& name,
                             std::initializer_list<TMenuItem*> items, bool enabled = true);
TVoxMenuItem* WideNewItem(const std::wstring& caption, TShortCut shortCut, bool checked, bool enabled,
                          TNotifyEvent onClick, int helpContext, const std::string& name);

// --- Wide menu items ---------------------------------------------------------------
class TVoxMenuItem : public TMenuItem {
  DECLARE_CLASS(TVoxMenuItem, TMenuItem)

  explicit TVoxMenuItem(TComponent* owner);
  ~TVoxMenuItem() override { DestroyUnfinished(); }

  // The wide caption. When the class library moved the accelerator mark of
  // the ANSI caption (the same caption apart from marks), the wide caption
  // takes the mark over at the same place first.
  std::wstring GetCaption();
  void SetCaption(const std::wstring& value);
  std::wstring GetHint();
  void SetHint(const std::wstring& value);

  // The first sub-item whose wide caption equals caption, both without
  // accelerator marks and case ignored; null when none.
  using TMenuItem::Find;
  TMenuItem* Find(const std::wstring& caption) const;

  // Writes the wide caption (and, for an item without sub-items that has a
  // shortcut and is not on a main menu's bar, a tab and the wide shortcut
  // text) into the item's native entry of parentMenu when it differs; a
  // changed entry on a bar redraws the bar. Not for separators, owner-drawn
  // or bitmap entries; nothing while the item is read, destroyed or
  // invisible. A failing SetMenuItemInfoW raises the OS error.
  void UpdateMenuString(TMenu* parentMenu);

  // The text flags of the menu's alignment: a pop-up menu's Alignment,
  // DT_LEFT for any other menu.
  UINT GetAlignmentDrawStyle() const;
  // Draws (or with DT_CALCRECT measures) one wide text of the item as the
  // class library draws its ANSI texts: bold for the default item, embossed
  // when disabled, right to left in right-to-left menus.
  using TMenuItem::DoDrawText;
  void DoDrawText(TCanvas* canvas, const std::wstring& caption, TRect& rect, bool selected, UINT flags);
  // The width DoDrawText measures for text in the item's alignment.
  int MeasureItemTextWidth(TCanvas* canvas, const std::wstring& text);

  void AdvancedDrawItem(TCanvas* canvas, TRect rect, TOwnerDrawState state, bool topLevel) override;
  void MeasureItem(TCanvas* canvas, int& width, int& height) override;
  // Passes the change on, then writes the native texts of the item and its
  // sub-items; nothing at all while the item blanks its caption to draw.
  void MenuChanged(bool rebuild) override;
  TClass GetActionLinkClass() override;
  // A wide action's wide caption and hint first, then the class library's
  // transfer (which finds the same ANSI texts and changes nothing).
  void ActionChange(TObject* sender, bool checkDefaults) override;
  void DefineProperties(TFiler* filer) override;
  void Loaded() override;

 protected:
  // Write the ANSI side of the synchronised pairs.
  void SetInheritedCaption(const std::string& value);
  void SetInheritedHint(const std::string& value);

 private:
  std::wstring caption_;
  std::wstring hint_;
  // Set while the ANSI caption and shortcut are blanked for the class
  // library's drawing of the background and glyph.
  bool ignoreMenuChanged_ = false;
};

// --- Wide menus ---------------------------------------------------------------------
// After every change the native texts of all wide items are written again:
// a change of one item rebuilds its parent's native menu from ANSI texts.
class TVoxMainMenu : public TMainMenu {
  DECLARE_CLASS(TVoxMainMenu, TMainMenu)

  explicit TVoxMainMenu(TComponent* owner) : TMainMenu(owner) {}
  ~TVoxMainMenu() override { DestroyUnfinished(); }

  void DoChange(TMenuItem* source, bool rebuild) override;
};

// Listed in VoxPopupList (not the class library's list), whose window shows
// wide hints for its items.
class TVoxPopupMenu : public TPopupMenu {
  DECLARE_CLASS(TVoxPopupMenu, TPopupMenu)

  explicit TVoxPopupMenu(TComponent* owner);
  ~TVoxPopupMenu() override { DestroyUnfinished(); }

  void DoChange(TMenuItem* source, bool rebuild) override;
  // The class library's Popup with VoxPopupList in the place of its list
  // (put back afterwards, also on an exception).
  void Popup(int x, int y) override;

 protected:
  void Destroy() override;
};

// The pop-up list of the wide pop-up menus: the application's wide hint
// follows the selected item, and the class library's list is put back as
// soon as a menu loop begins.
class TVoxPopupList : public TPopupList {
  DECLARE_CLASS(TVoxPopupList, TPopupList)

  explicit TVoxPopupList(TPopupList* savedList) : savedList_(savedList) {}

  // The list that was the class library's when this one was made.
  TPopupList* GetSavedList() const { return savedList_; }
  void WndProc(TMessage& message) override;

 private:
  TPopupList* savedList_;
};

// Made by the unit's start-up with the class library's list saved in it.
extern TVoxPopupList* VoxPopupList;

// Unit start-up: VoxPopupList and the stored-form classes; finalisation.
void InitializeVoxMenus();
void FinalizeVoxMenus();
