// TMenuItem: one item of a menu, and the tree of its sub-items; and
// TMenuActionLink, the link from an action to an item.
//
// The native menu. An item with sub-items owns a pop-up HMENU (Handle, made
// on first use) that holds one native entry per visible sub-item, appended
// by the sub-item's AppendTo; the root item of a main menu owns the menu bar
// (CreateMenu). A change of an item that alters its native entry (caption,
// shortcut, visibility...) rebuilds its parent's native menu; the parent
// passes the change up to the menu (TMenu::MenuChanged), which tells its
// OnChange. Checked and Enabled change the native state in place.
//
// Stored forms. Items are components owned by the form and parented to their
// menu or item (GetParentComponent/SetParentComponent); a menu's and an
// item's GetChildren list the sub-items, so a stored form nests
// "object File1: TMenuItem" blocks under the menu and under each other.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "classlib/ActnList.h"
#include "classlib/menus/MenuTypes.h"

class TMenuActionLink;

class TMenuItem : public TComponent {
  DECLARE_CLASS(TMenuItem, TComponent)

  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override { DestroyUnfinished(); }

  // --- the tree -----------------------------------------------------------------
  int GetCount() const { return static_cast<int>(items_.size()); }
  // Raises EMenuError "Menu index out of range".
  TMenuItem* GetItem(int index) const;
  TMenuItem* GetParent() const { return parent_; }
  // Appends; Insert's rules apply.
  void Add(TMenuItem* item);
  void Add(std::initializer_list<TMenuItem*> items);
  // Raises EMenuError "Menu inserted twice" for an item that already has a
  // parent (or would become its own ancestor) and "Menu index out of range"
  // for an index outside 0..Count.
  void Insert(int index, TMenuItem* item);
  // Takes the sub-item out (it is not freed); "Menu index out of range".
  void Delete(int index);
  // Raises EMenuError "Sub-menu is not in menu" when item is not a sub-item.
  void Remove(TMenuItem* item);
  // Frees every sub-item.
  void Clear();
  int IndexOf(const TMenuItem* item) const;
  // The first sub-item whose caption, without accelerator marks, equals
  // caption (also without them), case ignored; null when none.
  TMenuItem* Find(const std::string& caption) const;
  // The position among the parent's sub-items (-1 without a parent); a new
  // value is clipped to the range and moves the item.
  int GetMenuIndex() const;
  void SetMenuIndex(int value);
  // The menu at the root of the tree (null for a tree outside any menu).
  TMenu* GetParentMenu() const;
  bool IsLine() const { return caption_ == cLineCaption; }

  // Clicking: an enabled item toggles Checked when AutoCheck is set, then
  // runs OnClick, or its action when OnClick is just the action's handler.
  virtual void Click();
  // Updates the linked action (it may change this item's state).
  void InitiateAction();
  // InitiateAction of every sub-item (before the sub-menu opens).
  void InitiateActions();

  // --- the native menu --------------------------------------------------------------
  // The item's pop-up menu holding its sub-items, made on first use.
  HMENU GetHandle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  // The unique id that WM_COMMAND carries for this item (never 0).
  WORD GetCommand() const { return command_; }
  // Appends the item's native entry to menu (nothing while invisible): the
  // text, the types (separator, radio check, break, owner draw, right to
  // left), the state, the id and the sub-menu.
  virtual void AppendTo(HMENU menu, bool rightToLeft);
  // The entry's text: the caption, and for an item without sub-items that
  // has a shortcut and is not on a main menu's bar, a tab and the shortcut.
  virtual std::string GetNativeText();
  // Puts the built entry into menu (InsertMenuItemA at the end). The Unicode
  // layer inserts the wide text instead.
  virtual void InsertNativeItem(HMENU menu, MENUITEMINFOA& info, const std::string& text);
  // Makes the HMENU of the item's sub-items: the menu bar for the root item
  // of a main menu, a pop-up menu otherwise.
  virtual HMENU CreateMenuHandle();
  // Empties the native menu and appends the sub-items again, then
  // MenuChanged(false). Deferred to Loaded while the item is being read.
  void RebuildHandle();
  // Tells the parent (or, for a root item, the menu) that this item changed;
  // Rebuild asks the parent to rebuild its native menu.
  virtual void MenuChanged(bool rebuild);

  // --- properties ------------------------------------------------------------------------
  const std::string& GetCaption() const { return caption_; }
  void SetCaption(const std::string& v);
  bool GetChecked() const { return checked_; }
  void SetChecked(bool v);
  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool GetVisible() const { return visible_; }
  void SetVisible(bool v);
  // One default item per sub-menu: setting one clears the others.
  bool GetDefault() const { return default_; }
  void SetDefault(bool v);
  // A checked radio item unchecks the radio items of its group among its
  // siblings.
  bool GetRadioItem() const { return radioItem_; }
  void SetRadioItem(bool v);
  uint8_t GetGroupIndex() const { return groupIndex_; }
  void SetGroupIndex(uint8_t v);
  TShortCut GetShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut v);
  const std::string& GetHint() const { return hint_; }
  void SetHint(const std::string& v) { hint_ = v; }
  int GetHelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; }
  int GetImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  bool GetAutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool v) { autoCheck_ = v; }
  TMenuBreak GetBreak() const { return break_; }
  void SetBreak(TMenuBreak v);
  // The glyph, made on first use; a non-empty one makes the item owner-drawn.
  TBitmap* GetBitmap();
  void SetBitmap(TBitmap* v);
  // Whether a Bitmap object exists (without making one).
  bool HasBitmap() const { return bitmap_ != nullptr; }
  // The image list of the item's glyphs: the menu's Images.
  TCustomImageList* GetImageList() const;

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;
  TNotifyEvent GetOnClick() const { return OnClick; }
  void SetOnClick(TNotifyEvent e) { OnClick = e; }
  TMenuDrawItemEvent GetOnDrawItem() const { return OnDrawItem; }
  void SetOnDrawItem(TMenuDrawItemEvent e) { OnDrawItem = e; }
  TAdvancedMenuDrawItemEvent GetOnAdvancedDrawItem() const { return OnAdvancedDrawItem; }
  void SetOnAdvancedDrawItem(TAdvancedMenuDrawItemEvent e) { OnAdvancedDrawItem = e; }
  TMenuMeasureItemEvent GetOnMeasureItem() const { return OnMeasureItem; }
  void SetOnMeasureItem(TMenuMeasureItemEvent e) { OnMeasureItem = e; }

  // --- actions ------------------------------------------------------------------------------
  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* v);
  TMenuActionLink* GetActionLink() const { return actionLink_; }
  // Takes the action's caption, checked and enabled state, help context,
  // hint, group (radio items), image, shortcut, visibility and OnExecute;
  // with checkDefaults only where the item still has its default value.
  virtual void ActionChange(TObject* sender, bool checkDefaults);
  virtual TClass GetActionLinkClass();
  bool IsCaptionStored() const;
  bool IsCheckedStored() const;
  bool IsEnabledStored() const;
  bool IsHelpContextStored() const;
  bool IsHintStored() const;
  bool IsImageIndexStored() const;
  bool IsShortCutStored() const;
  bool IsVisibleStored() const;
  bool IsOnClickStored() const;

  // --- owner drawing (menus with OwnerDraw or Images, items with a Bitmap) --------------------
  // Draws the item: OnDrawItem/OnAdvancedDrawItem when the menu is
  // owner-drawn or has images and the item has one of them; otherwise the
  // background, the glyph (image, check mark or bitmap), the caption and the
  // shortcut, mirrored in right-to-left menus.
  virtual void AdvancedDrawItem(TCanvas* canvas, TRect rect, TOwnerDrawState state, bool topLevel);
  // OnDrawItem.
  virtual void DrawItem(TCanvas* canvas, TRect rect, bool selected);
  // Draws (or, with DT_CALCRECT, measures) one text of the item: a line for
  // a separator; bold for the default item; embossed when disabled.
  virtual void DoDrawText(TCanvas* canvas, const std::string& caption, TRect& rect, bool selected, UINT flags);
  // The item's size for WM_MEASUREITEM (width and height come in with the
  // system's values), then OnMeasureItem.
  virtual void MeasureItem(TCanvas* canvas, int& width, int& height);

  // --- stored forms ---------------------------------------------------------------------------
  bool HasParent() override { return true; }
  // The menu for a top-level item, else the parent item.
  TComponent* GetParentComponent() override;
  void SetParentComponent(TComponent* value) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void Destroy() override;
  void DoActionChange(TObject* sender);
  // A sub-item changed: rebuild the native menu when asked, pass it on up.
  virtual void SubItemChanged(TObject* sender, TMenuItem* source, bool rebuild);
  // Fills the entry of this item as AppendTo puts it into a native menu.
  void BuildMenuItemInfo(MENUITEMINFOA& info, bool rightToLeft);
  // One text of the item drawn (or measured) by drawText in the look of the
  // item's state: on a clear background, bold for the default item, and for
  // a disabled one embossed (a highlight copy one pixel down and right
  // unless selected, then the shadow colour). The one text-drawing point the
  // ANSI and the wide items share; each hands in its own DrawText call.
  void DrawTextInState(TCanvas* canvas, TRect& rect, bool selected, const std::function<void(TRect&)>& drawText);

 private:
  friend class TMenu;

  void PopulateMenu();
  // Empties and refills the native menu, without telling anyone.
  void RebuildNative();
  // Writes Checked/Enabled/Default into the entry in the parent's menu.
  void UpdateNativeState();
  void TurnSiblingsOff();
  void BitmapChanged(TObject* sender);

  std::string caption_;
  HMENU handle_ = nullptr;
  bool checked_ = false;
  bool enabled_ = true;
  bool default_ = false;
  bool radioItem_ = false;
  bool visible_ = true;
  bool autoCheck_ = false;
  bool streamedRebuild_ = false;
  uint8_t groupIndex_ = 0;
  int imageIndex_ = -1;
  TMenuBreak break_ = mbNone;
  TBitmap* bitmap_ = nullptr;
  WORD command_ = 0;
  int helpContext_ = 0;
  std::string hint_;
  std::vector<TMenuItem*> items_;
  TShortCut shortCut_ = 0;
  TMenuItem* parent_ = nullptr;
  // Set on the root item of a menu: the menu, and its change handler.
  TMenu* menu_ = nullptr;
  TMenuChangeEvent onChange_;
  TMenuActionLink* actionLink_ = nullptr;
};

// The link from an action to a menu item: each property follows the action
// while the item still shows the action's value.
class TMenuActionLink : public TActionLink {
  DECLARE_CLASS(TMenuActionLink, TActionLink)
  using TActionLink::TActionLink;

  TMenuItem* GetClient() const { return client_; }

  bool IsCaptionLinked() override;
  bool IsCheckedLinked() override;
  bool IsEnabledLinked() override;
  bool IsGroupIndexLinked() override;
  bool IsHelpContextLinked() override;
  bool IsHintLinked() override;
  bool IsImageIndexLinked() override;
  bool IsShortCutLinked() override;
  bool IsVisibleLinked() override;
  bool IsOnExecuteLinked() override;
  void SetCaption(const std::string& v) override;
  void SetChecked(bool v) override;
  void SetEnabled(bool v) override;
  void SetGroupIndex(int v) override;
  void SetHelpContext(int v) override;
  void SetHint(const std::string& v) override;
  void SetImageIndex(int v) override;
  void SetShortCut(TShortCut v) override;
  void SetVisible(bool v) override;
  void SetOnExecute(TNotifyEvent v) override;

 protected:
  void AssignClient(TObject* client) override;
  TMenuItem* client_ = nullptr;
};

// Draws an owner-drawn item as the platform does for WM_DRAWITEM: the menu
// colours (highlight for a selected item below the bar), then the item's
// AdvancedDrawItem. The canvas carries the menu font.
void DrawMenuItem(TMenuItem* item, TCanvas* canvas, TRect rect, TOwnerDrawState state);
