// KxRadGrp: group boxes that own one item control per line of their Items
// and lay the items out in columns.
//
// TKxCustomRadioGroup/TKxRadioGroup keep one item checked (ItemIndex) and
// ask OnChanging before a change, whether a click, a key or code makes it;
// TKxCustomCheckGroup/TKxCheckGroup keep a state per item and store the
// states with the form ("CheckStates"). What the two share (the items, the
// column layout, the appearance every item is given at layout time, the
// item font that follows the group's font) is TKxCustomItemGroup. The items
// themselves, TKxGroupButton and TKxGroupCheck, are made and freed by their
// group and are never stored.
#pragma once

#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Scopes.h"
#include "kx/controls/KxPanel.h"
#include "kx/controls/KxRadChk.h"
#include "kx/foundation/KxChkLst.h"
#include "kx/foundation/KxIntLst.h"

using TKxIndexChangingEvent = TClosure<void(TObject* Sender, int NewIndex, bool& AllowChange)>;

// ---------------------------------------------------------------------------
// TKxCustomItemGroup

class TKxCustomItemGroup : public TKxCustomGroupBox {
  DECLARE_CLASS(TKxCustomItemGroup, TKxCustomGroupBox)

  explicit TKxCustomItemGroup(TComponent* owner);
  ~TKxCustomItemGroup() override { DestroyUnfinished(); }

  int GetItemCount() const { return static_cast<int>(items_.size()); }
  TKxCustomGlyphButton* GetItem(int index) const;
  int IndexOfItem(TObject* item) const;
  // The glyph size the layout reserves: 13 x 13, or one cell of the strip.
  SIZE ItemGlyphSize() const;

  TStrings* GetItems() const { return itemLines_; }
  TFont* GetItemFont() const { return itemFont_; }
  int GetColumns() const { return columns_; }
  bool GetSpaceEvenly() const { return spaceEvenly_; }
  int GetStartXPos() const { return startXPos_; }
  int GetStartYPos() const { return startYPos_; }
  int GetVerticalSpacing() const { return verticalSpacing_; }
  int GetItemHeight() const { return itemHeight_; }
  TColor GetItemFrameColor() const { return itemFrameColor_; }
  bool GetItemHotTrack() const { return itemHotTrack_; }
  TColor GetItemHighlightColor() const { return itemHighlightColor_; }
  TColor GetItemHotTrackColor() const { return itemHotTrackColor_; }
  TKxHotTrackColorType GetItemHotTrackColorType() const { return itemHotTrackColorType_; }
  TBitmap* GetCustomGlyphs() const { return customGlyphs_; }
  bool GetUseCustomGlyphs() const { return useCustomGlyphs_; }
  bool GetLightTextStyle() const { return lightTextStyle_; }
  TTextStyle GetTextStyle() const { return textStyle_; }
  int GetTextShadowDepth() const { return textShadowDepth_; }
  TColor GetTextShadowColor() const { return textShadowColor_; }
  TColor GetTextHighlightColor() const { return textHighlightColor_; }
  TColor GetTransparentColor() const { return transparentColor_; }
  TColor GetWinMaskColor() const { return winMaskColor_; }
  bool GetTabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool value) { tabOnEnter_ = value; }
  // Whether ItemFont was set on its own (it then no longer follows Font).
  bool IsItemFontStored() const { return itemFontSet_; }
  bool GetItemEnabled(int index) const;
  void SetItemEnabled(int index, bool value);

  // --- layout and items ----------------------------------------------------------------
  // Makes or frees items at the end until there are count.
  virtual void SetItemCount(int count);
  // Places every item in its column and row and gives it the group's item
  // appearance (nothing without items or while the form is read).
  virtual void ArrangeItems();
  // Item count and captions from Items, then the layout.
  virtual void UpdateItems();
  virtual bool CanModify() { return true; }
  virtual void SetColumns(int value);
  virtual void SetCustomGlyphs(TBitmap* value);
  virtual void SetItemFrameColor(TColor value);
  virtual void SetItemHotTrack(bool value);
  virtual void SetItemHighlightColor(TColor value);
  virtual void SetItemHotTrackColor(TColor value);
  virtual void SetItemHotTrackColorType(TKxHotTrackColorType value);
  virtual void SetItemFont(TFont* value);
  virtual void SetItemHeight(int value);
  virtual void SetItems(TStrings* value);
  virtual void SetLightTextStyle(bool value);
  virtual void SetTextHighlightColor(TColor value);
  virtual void SetTextShadowColor(TColor value);
  virtual void SetTextShadowDepth(int value);
  virtual void SetSpaceEvenly(bool value);
  // 1: StartXPos; anything else: StartYPos.
  virtual void SetStartPos(int index, int value);
  void SetStartXPos(int value) { SetStartPos(1, value); }
  void SetStartYPos(int value) { SetStartPos(2, value); }
  virtual void SetTextStyle(TTextStyle value);
  virtual void SetVerticalSpacing(int value);
  virtual void SetTransparentColor(TColor value);
  virtual void SetUseCustomGlyphs(bool value);
  virtual void SetWinMaskColor(TColor value);

  void SetGroupBoxStyle(TKxGroupBoxStyle value) override;
  void SetTransparent(bool value) override;
  void DefineProperties(TFiler* filer) override;
  void ReadState(TReader* reader) override;
  void ChangeScale(int m, int d) override;
  void KeyPress(char& key) override;
  void FlipChildren(bool) override {}

  void CMEnabledChanged(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  void CMTextChanged(TMessage& m) override;
  void WMSize(TMessage& m) override;

 protected:
  void Destroy() override;
  // A new item of the group's kind, with its click bound to the group.
  virtual TKxCustomGlyphButton* CreateItem() = 0;
  // How many cells a custom glyph strip holds for this kind of item.
  virtual int GlyphCells() const = 0;
  // What this kind of group gives its items besides the shared appearance.
  virtual void PushItem(TKxCustomGlyphButton*) {}
  // The Items' change event.
  virtual void ItemsChange(TObject* sender) = 0;
  bool GetReading() const { return reading_; }
  bool GetUpdating() const { return updating_; }
  void SetUpdating(bool value) { updating_ = value; }
  template <class V>
  void StoreArrange(V& field, V value) {
    if (field == value) return;
    field = value;
    ArrangeItems();
  }

 private:
  friend class TKxGroupItemAccess;
  void AddItem(TKxCustomGlyphButton* item) { items_.push_back(item); }
  void RemoveItem(TKxCustomGlyphButton* item);
  void ItemFontChanged(TObject* sender);
  void CustomGlyphsChanged(TObject* sender);
  // Assigns ItemFont without taking it for a setting of its own.
  void FollowFont();

  std::vector<TKxCustomGlyphButton*> items_;
  TStringList* itemLines_ = nullptr;
  TFont* itemFont_ = nullptr;
  bool itemFontSet_ = false;
  bool followingFont_ = false;
  int columns_ = 1;
  bool spaceEvenly_ = false;
  int startXPos_ = 8;
  int startYPos_ = 2;
  int verticalSpacing_ = 3;
  int itemHeight_ = 17;
  TColor itemFrameColor_ = clBtnShadow;
  bool itemHotTrack_ = false;
  TColor itemHighlightColor_ = clHighlight;
  TColor itemHotTrackColor_ = clHighlight;
  TKxHotTrackColorType itemHotTrackColorType_ = htctComplement;
  TBitmap* customGlyphs_ = nullptr;
  bool useCustomGlyphs_ = false;
  bool lightTextStyle_ = false;
  TTextStyle textStyle_ = tsNormal;
  int textShadowDepth_ = 2;
  TColor textShadowColor_ = clBtnShadow;
  TColor textHighlightColor_ = clBtnHighlight;
  TColor transparentColor_ = clOlive;
  TColor winMaskColor_ = clTeal;
  bool tabOnEnter_ = false;
  bool reading_ = false;
  bool updating_ = false;
};

// The items' ties to their group: added to its list when made, taken out
// when freed, their clicks and keys passed on to it.
class TKxGroupItemAccess {
 public:
  static void Add(TKxCustomItemGroup* group, TKxCustomGlyphButton* item) { group->AddItem(item); }
  static void Remove(TKxCustomItemGroup* group, TKxCustomGlyphButton* item) { group->RemoveItem(item); }
};

template <class Base>
class TKxGroupItem : public Base {
 public:
  explicit TKxGroupItem(TKxCustomItemGroup* group) : Base(group), group_(group) {
    TKxGroupItemAccess::Add(group, this);
    this->SetVisible(false);
    this->SetEnabled(group->GetEnabled());
    this->SetParentShowHint(false);
    this->SetParent(group);
    this->SetParentFont(false);
  }
  ~TKxGroupItem() override { this->DestroyUnfinished(); }

  TKxCustomItemGroup* GetGroup() const { return group_; }

  // A release that the group lets change anything; a second one arriving
  // while the first is still being handled (a handler that pumps messages)
  // is dropped.
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
    if (inClick_) return;
    TRestore clicking(inClick_, true);
    try {
      if (group_->CanModify()) Base::MouseUp(button, shift, x, y);
    } catch (...) {
      Application->HandleException(this);
    }
  }
  void KeyPress(char& key) override {
    Base::KeyPress(key);
    group_->KeyPress(key);
    if ((key == '\b' || key == ' ') && !group_->CanModify()) key = 0;
  }
  void KeyDown(WORD& key, TShiftState shift) override {
    Base::KeyDown(key, shift);
    group_->KeyDown(key, shift);
  }

 protected:
  void Destroy() override {
    TKxGroupItemAccess::Remove(group_, this);
    Base::Destroy();
  }

 private:
  TKxCustomItemGroup* group_;
  bool inClick_ = false;
};

class TKxGroupButton : public TKxGroupItem<TKxRadioButton> {
  DECLARE_CLASS(TKxGroupButton, TKxGroupItem<TKxRadioButton>)
  using TKxGroupItem<TKxRadioButton>::TKxGroupItem;
};

class TKxGroupCheck : public TKxGroupItem<TKxCheckBox> {
  DECLARE_CLASS(TKxGroupCheck, TKxGroupItem<TKxCheckBox>)
  using TKxGroupItem<TKxCheckBox>::TKxGroupItem;
};

// ---------------------------------------------------------------------------
// Radio group

class TKxCustomRadioGroup : public TKxCustomItemGroup {
  DECLARE_CLASS(TKxCustomRadioGroup, TKxCustomItemGroup)

  explicit TKxCustomRadioGroup(TComponent* owner);

  int GetItemIndex() const { return itemIndex_; }
  TKxGroupButton* GetButtons(int index) const;

  TKxIndexChangingEvent OnChanging;
  TKxIndexChangingEvent GetOnChanging() const { return OnChanging; }
  void SetOnChanging(TKxIndexChangingEvent e) { OnChanging = e; }

  // Kept within -1..count - 1. A change to an item asks CanChange first (as
  // a click does): refused, nothing changes; allowed, the item is checked
  // and Changed and OnClick follow. -1 unchecks silently.
  virtual void SetItemIndex(int value);
  // Fires OnChanging; AllowChange starts true.
  virtual bool CanChange(int newIndex);
  // An item's click: the change asked for, made or undone.
  void ButtonClick(TObject* sender);
  void UpdateItems() override;

 protected:
  TKxCustomGlyphButton* CreateItem() override;
  int GlyphCells() const override { return 6; }
  void ItemsChange(TObject* sender) override;

 private:
  // Unchecks the old item, stores the index and checks the new item, with
  // the items' clicks muted.
  void ApplyItemIndex(int value);

  int itemIndex_ = -1;
};

class TKxRadioGroup : public TKxCustomRadioGroup {
  DECLARE_CLASS(TKxRadioGroup, TKxCustomRadioGroup)
  using TKxCustomRadioGroup::TKxCustomRadioGroup;
};

// ---------------------------------------------------------------------------
// Check group

class TKxCustomCheckGroup : public TKxCustomItemGroup {
  DECLARE_CLASS(TKxCustomCheckGroup, TKxCustomItemGroup)

  explicit TKxCustomCheckGroup(TComponent* owner);
  ~TKxCustomCheckGroup() override { DestroyUnfinished(); }

  TKxGroupCheck* GetChecks(int index) const;
  bool GetAllowGrayed() const { return allowGrayed_; }
  virtual void SetAllowGrayed(bool value);
  bool GetItemChecked(int index) const;
  void SetItemChecked(int index, bool value);
  TCheckBoxState GetItemState(int index) const;
  void SetItemState(int index, TCheckBoxState value);

  TStateChangeEvent OnChange;
  TStateChangeEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TStateChangeEvent e) { OnChange = e; }

  // Fires OnChange.
  virtual void Change(int index, TCheckBoxState newState);
  void CheckClick(TObject* sender);
  void DefineProperties(TFiler* filer) override;
  // Gives each item the state stored for it.
  void Loaded() override;

 protected:
  void Destroy() override;
  TKxCustomGlyphButton* CreateItem() override;
  int GlyphCells() const override { return 9; }
  void PushItem(TKxCustomGlyphButton* item) override;
  void ItemsChange(TObject* sender) override;

 private:
  void ReadCheckStates(TReader* reader);
  void WriteCheckStates(TWriter* writer);

  bool allowGrayed_ = false;
  TKxIntegerList* checkStates_ = nullptr;
};

class TKxCheckGroup : public TKxCustomCheckGroup {
  DECLARE_CLASS(TKxCheckGroup, TKxCustomCheckGroup)
  using TKxCustomCheckGroup::TKxCustomCheckGroup;
};

void InitializeKxRadGrp();
