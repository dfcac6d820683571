// The list view on the common control "SysListView32": TListItem,
// TListItems, TListColumn/TListColumns, TCustomListView, TListView, and the
// link class its actions use (TListViewActionLink).
//
// The items live in the control, not in the window: each TListItem keeps
// its caption, sub-items, image and data, and the window holds a copy of
// the texts with the item object as the row's lParam. So the items, their
// order, selection and focus survive a new window (a style change) and
// exist before the first one; while a window exists, selection and focus
// are the window's (the user changes them there).
#pragma once

#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/controls/ControlActionLink.h"
#include "classlib/stdctrls/ListBox.h"

class TCustomListView;
class TListItems;

class TListItem : public TPersistent {
  DECLARE_CLASS(TListItem, TPersistent)

  explicit TListItem(TListItems* owner);
  ~TListItem() override { DestroyUnfinished(); }

  TListItems* GetOwner() const { return owner_; }
  TCustomListView* GetListView() const;
  const std::string& GetCaption() const { return caption_; }
  void SetCaption(const std::string& value);
  // The texts of the report view's further columns; changing them updates
  // the window.
  TStrings* GetSubItems() const { return subItems_; }
  void SetSubItems(TStrings* value) { subItems_->Assign(value); }
  void* GetData() const { return data_; }
  void SetData(void* value) { data_ = value; }
  int GetImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  bool GetSelected() const;
  void SetSelected(bool value);
  bool GetFocused() const;
  void SetFocused(bool value);
  // The position in the list (-1 once removed).
  int GetIndex() const;
  // Removes the item from its list and frees it.
  void Delete();
  // Scrolls the list until the item shows.
  void MakeVisible(bool partialOK);
  // Caption, sub-items, image and data from another list item.
  void Assign(TPersistent* source) override;

 protected:
  void Destroy() override;

 private:
  friend class TListItems;
  friend class TCustomListView;
  void SubItemsChanged(TObject*);
  TListItems* owner_;
  std::string caption_;
  TStringList* subItems_ = nullptr;
  void* data_ = nullptr;
  int imageIndex_ = -1;
  // Kept while there is no window.
  bool selected_ = false;
  bool focused_ = false;
};

class TListItems : public TPersistent {
  DECLARE_CLASS(TListItems, TPersistent)

  explicit TListItems(TCustomListView* owner) : owner_(owner) {}
  ~TListItems() override { DestroyUnfinished(); }

  TCustomListView* GetOwner() const { return owner_; }
  TListItem* Add();
  // A new item at index (0..Count); another index raises EListError.
  TListItem* Insert(int index);
  // item (a new one when null) inserted at index, or added when index is -1.
  TListItem* AddItem(TListItem* item, int index = -1);
  void Clear();
  // Raises EListError "List index out of bounds (%d)" for a bad index.
  void Delete(int index);
  int GetCount() const { return static_cast<int>(items_.size()); }
  // Raises EListError for a bad index.
  TListItem* GetItem(int index) const;
  TListItem* operator[](int index) const { return GetItem(index); }
  int IndexOf(const TListItem* item) const;
  // The window is not repainted until the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  // Every item of another list: caption, sub-items, image and data.
  void Assign(TPersistent* source) override;

 protected:
  void Destroy() override;

 private:
  friend class TListItem;
  friend class TCustomListView;
  void Remove(TListItem* item);
  TCustomListView* owner_;
  std::vector<TListItem*> items_;
  int updateCount_ = 0;
};

class TListColumn : public TCollectionItem {
  DECLARE_CLASS(TListColumn, TCollectionItem)

  explicit TListColumn(TCollection* collection = nullptr);

  const std::string& GetCaption() const { return caption_; }
  void SetCaption(const std::string& value);
  // The width in pixels (50 by default).
  int GetWidth() const;
  void SetWidth(int value);
  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  std::string GetDisplayName() const override;
  void AssignTo(TPersistent* dest) override;

 private:
  friend class TCustomListView;
  std::string caption_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
};

class TListColumns : public TCollection {
  DECLARE_CLASS(TListColumns, TCollection)

  explicit TListColumns(TCustomListView* owner);

  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
  TListColumn* GetItem(int index) const { return static_cast<TListColumn*>(TCollection::GetItem(index)); }
  TListColumn* operator[](int index) const { return GetItem(index); }
  TCustomListView* GetOwnerListView() const { return owner_; }
  TPersistent* GetOwner() override;
  void Update(TCollectionItem* item) override;

 private:
  TCustomListView* owner_;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
DECLARE_ENUM_TYPE(TViewStyle);
enum TItemChange { ctText, ctImage, ctState };
DECLARE_ENUM_TYPE(TItemChange);

using TLVSelectItemEvent = TClosure<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVDeletedEvent = TClosure<void(TObject* Sender, TListItem* Item)>;
using TLVEditedEvent = TClosure<void(TObject* Sender, TListItem* Item, std::string& S)>;
using TLVEditingEvent = TClosure<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVChangeEvent = TClosure<void(TObject* Sender, TListItem* Item, TItemChange Change)>;

// The link an action keeps with a list view (the Unicode layer's wide link
// derives from it).
class TListViewActionLink : public TWinControlActionLink {
  DECLARE_CLASS(TListViewActionLink, TWinControlActionLink)
  using TWinControlActionLink::TWinControlActionLink;
};

class TCustomListView : public TCustomMultiSelectListControl {
  DECLARE_CLASS(TCustomListView, TCustomMultiSelectListControl)

  explicit TCustomListView(TComponent* owner);
  ~TCustomListView() override { DestroyUnfinished(); }

  TListItems* GetItems() const { return items_; }
  void SetItems(TListItems* value) { items_->Assign(value); }
  TListColumns* GetColumns() const { return columns_; }
  void SetColumns(TListColumns* value) { columns_->Assign(value); }
  TViewStyle GetViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle value);
  void SetMultiSelect(bool value) override;
  // Without ReadOnly the user edits captions in place.
  bool GetReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  bool GetHideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value);
  bool GetShowColumnHeaders() const { return showColumnHeaders_; }
  void SetShowColumnHeaders(bool value);
  bool GetRowSelect() const { return rowSelect_; }
  void SetRowSelect(bool value);

  // The first selected item, or null; setting selects only that one.
  TListItem* GetSelected() const;
  void SetSelected(TListItem* item);
  TListItem* GetItemFocused() const;
  void SetItemFocused(TListItem* item);
  // The first item from startIndex + 1 (startIndex itself when inclusive;
  // on from the top when wrap) whose caption is value, or begins with it
  // when partial, without regard to case; null when none.
  TListItem* FindCaption(int startIndex, const std::string& value, bool partial, bool inclusive, bool wrap) const;
  // The item at a client point, or null.
  TListItem* GetItemAt(int x, int y);

  // TCustomListControl: items are captions with the object as data.
  int GetCount() override { return items_->GetCount(); }
  int GetItemIndex() override;
  void SetItemIndex(int value) override;
  int GetSelCount() override;
  void AddItem(const std::string& item, TObject* object) override;
  void Clear() override { items_->Clear(); }
  void ClearSelection() override;
  void CopySelection(TCustomListControl* destination) override;
  void DeleteSelected() override;
  void SelectAll() override;

  TLVSelectItemEvent OnSelectItem;
  TLVDeletedEvent OnDeletion;
  TLVEditingEvent OnEditing;
  TLVEditedEvent OnEdited;
  TLVChangeEvent OnChange;
  TLVSelectItemEvent GetOnSelectItem() const { return OnSelectItem; }
  void SetOnSelectItem(TLVSelectItemEvent e) { OnSelectItem = e; }
  TLVDeletedEvent GetOnDeletion() const { return OnDeletion; }
  void SetOnDeletion(TLVDeletedEvent e) { OnDeletion = e; }
  TLVEditingEvent GetOnEditing() const { return OnEditing; }
  void SetOnEditing(TLVEditingEvent e) { OnEditing = e; }
  TLVEditedEvent GetOnEdited() const { return OnEdited; }
  void SetOnEdited(TLVEditedEvent e) { OnEdited = e; }
  TLVChangeEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TLVChangeEvent e) { OnChange = e; }

  // What the window does with the control's items (also used by the items).
  void UpdateItem(TListItem* item);
  void UpdateColumns();

  TClass GetActionLinkClass() override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& m) override;
  virtual void CNNotify(TMessage& m);
  virtual void Delete(TListItem* item);
  virtual void Change(TListItem* item, TItemChange change);
  virtual void Edit(const LVITEMA& item);
  virtual bool CanEdit(TListItem* item);

 protected:
  void Destroy() override;

 private:
  friend class TListItems;
  friend class TListItem;
  void InsertRow(TListItem* item, int index);
  void WriteRow(TListItem* item, int index);
  // The item a notification names (its row's lParam), when still listed.
  TListItem* ItemOfParam(LPARAM param) const;
  TListItems* items_ = nullptr;
  TListColumns* columns_ = nullptr;
  TViewStyle viewStyle_ = vsIcon;
  bool readOnly_ = false;
  bool hideSelection_ = true;
  bool showColumnHeaders_ = true;
  bool rowSelect_ = false;
  bool writing_ = false;
};

class TListView : public TCustomListView {
  DECLARE_CLASS(TListView, TCustomListView)
  using TCustomListView::TCustomListView;
};
