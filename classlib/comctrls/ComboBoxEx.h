// The extended combo box on the common control "ComboBoxEx32": its items
// (TListControlItem/TListControlItems, TComboExItem/TComboExItems), the
// string view of them (TComboBoxExStrings), TCustomComboBoxEx, TComboBoxEx
// and the link class its actions use (TComboBoxExActionLink).
//
// The items live in the control's collection (ItemsEx), not in the window:
// the window holds a copy of each item's caption, images, indent and data,
// written whenever the item changes, so the items exist before the first
// window and survive a new one (a style change). The window is made of
// three: the ComboBoxEx32 itself, the owner-drawn combo box inside it that
// has the focus and the list, and in the edit styles an edit inside that
// combo box. All three go through ComboWndProc, so the key events fire
// whichever of them the user types into.
#pragma once

#include <string>

#include "classlib/Classes.h"
#include "classlib/ImgList.h"
#include "classlib/controls/ControlActionLink.h"
#include "classlib/stdctrls/ComboBox.h"

class TCustomComboBoxEx;

// An item of a list control's collection: a caption, an image and data.
class TListControlItem : public TCollectionItem {
  DECLARE_CLASS(TListControlItem, TCollectionItem)

  explicit TListControlItem(TCollection* collection = nullptr) : TCollectionItem(collection) {}

  const std::string& GetCaption() const { return caption_; }
  void SetCaption(const std::string& value);
  // Not stored: a pointer the program keeps with the item.
  void* GetData() const { return data_; }
  void SetData(void* value);
  int GetImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  std::string GetDisplayName() const override;
  void Assign(TPersistent* source) override;

 protected:
  // Tells the collection; inside its update the whole list is written again
  // at the end.
  void ItemChanged();

 private:
  friend class TComboExItems;
  std::string caption_;
  void* data_ = nullptr;
  int imageIndex_ = -1;
};

class TListControlItems : public TOwnedCollection {
  DECLARE_CLASS(TListControlItems, TOwnedCollection)

  TListControlItems(TPersistent* owner, TClass itemClass) : TOwnedCollection(owner, itemClass) {}

  TListControlItem* Add() { return static_cast<TListControlItem*>(TCollection::Add()); }
  TListControlItem* GetItem(int index) const { return static_cast<TListControlItem*>(TCollection::GetItem(index)); }
  // The first item whose caption is s (case ignored), or -1.
  int IndexOfCaption(const std::string& s) const;
};

// An item of the extended combo box: besides caption, image and data, the
// image shown while it is selected, an overlay and an indent (in steps of
// 10 pixels).
class TComboExItem : public TListControlItem {
  DECLARE_CLASS(TComboExItem, TListControlItem)

  explicit TComboExItem(TCollection* collection = nullptr) : TListControlItem(collection) {}

  int GetSelectedImageIndex() const { return selectedImageIndex_; }
  void SetSelectedImageIndex(int value);
  int GetOverlayImageIndex() const { return overlayImageIndex_; }
  void SetOverlayImageIndex(int value);
  int GetIndent() const { return indent_; }
  void SetIndent(int value);
  void SetIndex(int value) override;
  void Assign(TPersistent* source) override;

 private:
  friend class TComboExItems;
  int selectedImageIndex_ = -1;
  int overlayImageIndex_ = -1;
  int indent_ = 0;
};

class TComboExItems : public TListControlItems {
  DECLARE_CLASS(TComboExItems, TListControlItems)

  explicit TComboExItems(TCustomComboBoxEx* owner);

  TComboExItem* Add() { return static_cast<TComboExItem*>(TCollection::Add()); }
  TComboExItem* AddItem(const std::string& caption, int imageIndex, int selectedImageIndex, int overlayImageIndex,
                        int indent, void* data);
  // A new item at index (0..Count); another index raises EListError.
  TComboExItem* Insert(int index);
  TComboExItem* GetComboItem(int index) const { return static_cast<TComboExItem*>(TCollection::GetItem(index)); }
  TComboExItem* operator[](int index) const { return GetComboItem(index); }
  TCustomComboBoxEx* GetComboBox() const { return owner_; }

  void Update(TCollectionItem* item) override;
  void Notify(TCollectionItem* item, TCollectionNotification action) override;

 private:
  friend class TListControlItem;
  friend class TComboExItem;
  friend class TCustomComboBoxEx;
  TCustomComboBoxEx* owner_;
  // The window's rows no longer follow the items one to one (an item moved,
  // or changed inside an update): the next whole-list update writes them.
  bool rowsStale_ = false;
};

// The combo box's Items as strings: each string is an item's caption, its
// object the item's data.
class TComboBoxExStrings : public TCustomComboBoxStrings {
  DECLARE_CLASS(TComboBoxExStrings, TCustomComboBoxStrings)
  using TCustomComboBoxStrings::TCustomComboBoxStrings;

  int GetCount() const override;
  // Raises EListError for a bad index.
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* obj) override;
  int Add(const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  int IndexOf(const std::string& s) const override;
  void SetUpdateState(bool updating) override;

 private:
  TComboExItems* Items() const;
};

enum TComboBoxExStyle { csExDropDown, csExSimple, csExDropDownList };
DECLARE_ENUM_TYPE(TComboBoxExStyle);

// The link an action keeps with an extended combo box (the Unicode layer's
// wide link derives from it).
class TComboBoxExActionLink : public TWinControlActionLink {
  DECLARE_CLASS(TComboBoxExActionLink, TWinControlActionLink)
  using TWinControlActionLink::TWinControlActionLink;
};

class TCustomComboBoxEx : public TCustomCombo {
  DECLARE_CLASS(TCustomComboBoxEx, TCustomCombo)

  explicit TCustomComboBoxEx(TComponent* owner);
  ~TCustomComboBoxEx() override { DestroyUnfinished(); }

  TComboExItems* GetItemsEx() const { return itemsEx_; }
  void SetItemsEx(TComboExItems* value) { itemsEx_->Assign(value); }
  TComboBoxExStyle GetStyle() const { return style_; }
  void SetStyle(TComboBoxExStyle value);
  // The images of the items (and of the edit's item); the list is shared,
  // never owned.
  TCustomImageList* GetImages() const { return images_; }
  void SetImages(TCustomImageList* value);
  int GetItemHt() override;
  // The inner combo box and its original procedure.
  HWND GetComboHandle() const { return comboHandle_; }
  bool Focused() const override;
  void AdjustDropDown() override;

  // What the window does with the control's items (also used by them).
  void InsertRow(TComboExItem* item, int index);
  void WriteRow(TComboExItem* item, int index);
  void DeleteRow(int index);
  void WriteAllRows();

  TClass GetActionLinkClass() override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void DestroyWindowHandle() override;
  void WndProc(TMessage& m) override;
  void Dispatch(TMessage& m) override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void CNCommand(TMessage& m);
  virtual void CNNotify(TMessage& m);

 protected:
  void Destroy() override;
  void FindChildWindows(HWND& edit, HWND& list) override;

 private:
  void ComboExWndProc(TMessage& m);
  void ImageListChange(TObject*);
  void SendImageList();
  TComboExItems* itemsEx_ = nullptr;
  TComboBoxExStyle style_ = csExDropDown;
  TCustomImageList* images_ = nullptr;
  TChangeLink* imageChangeLink_ = nullptr;
  HWND comboHandle_ = nullptr;
  WNDPROC defComboProc_ = nullptr;
  WNDPROC comboInstance_ = nullptr;
  // The selection while the window is made again.
  int saveItemIndex_ = -1;
  // Inside the program's own writes to the window (no OnChange then).
  int quiet_ = 0;
};

class TComboBoxEx : public TCustomComboBoxEx {
  DECLARE_CLASS(TComboBoxEx, TCustomComboBoxEx)
  using TCustomComboBoxEx::TCustomComboBoxEx;
};
