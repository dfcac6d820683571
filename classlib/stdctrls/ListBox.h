// List controls: TCustomListControl (what every list control offers: the
// item index, adding, copying and deleting selected items),
// TCustomMultiSelectListControl, and the list box on the system LISTBOX
// class: TListBoxStrings, TCustomListBox, TListBox.
//
// A list box keeps its items in the window itself: TListBoxStrings reads and
// writes them with LB_* messages, item objects as item data. When the window
// is destroyed (a style change re-creates it) the items, their objects, the
// top index and the item index are copied out and put back into the new
// window.
#pragma once

#include <functional>
#include <string>

#include "classlib/Classes.h"
#include "classlib/stdctrls/StdCtrlsTypes.h"

class TCustomListControl : public TWinControl {
  DECLARE_CLASS(TCustomListControl, TWinControl)
  using TWinControl::TWinControl;

  virtual int GetCount() = 0;
  virtual int GetItemIndex() = 0;
  virtual void SetItemIndex(int value) = 0;
  virtual void AddItem(const std::string& item, TObject* object) = 0;
  virtual void Clear() = 0;
  virtual void ClearSelection() = 0;
  // Adds the selected items (text and object) to destination.
  virtual void CopySelection(TCustomListControl* destination) = 0;
  virtual void DeleteSelected() = 0;
  // CopySelection, then DeleteSelected.
  virtual void MoveSelection(TCustomListControl* destination);
  virtual void SelectAll() = 0;
};

class TCustomMultiSelectListControl : public TCustomListControl {
  DECLARE_CLASS(TCustomMultiSelectListControl, TCustomListControl)
  using TCustomListControl::TCustomListControl;

  bool GetMultiSelect() const { return multiSelect_; }
  virtual void SetMultiSelect(bool value) = 0;
  virtual int GetSelCount() = 0;

 protected:
  bool multiSelect_ = false;
};

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
DECLARE_ENUM_TYPE(TListBoxStyle);

using TLBGetDataEvent = TClosure<void(TWinControl* Control, int Index, std::string& Data)>;
using TLBGetDataObjectEvent = TClosure<void(TWinControl* Control, int Index, TObject*& DataObject)>;
using TLBFindDataEvent = TClosure<int(TWinControl* Control, std::string FindString)>;

class TCustomListBox;

// The items of a list box, kept in its window.
class TListBoxStrings : public TStrings {
  DECLARE_CLASS(TListBoxStrings, TStrings)

  TListBoxStrings() = default;
  explicit TListBoxStrings(TCustomListBox* listBox) : listBox_(listBox) {}

  TCustomListBox* GetListBox() const { return listBox_; }
  void SetListBox(TCustomListBox* listBox) { listBox_ = listBox; }

  // LB_GETTEXTLEN/LB_GETTEXT; an index outside the list raises
  // EStringListError "List index out of bounds (%d)".
  std::string Get(int index) const override;
  int GetCount() const override;
  // LB_GETITEMDATA as the object; the same error for a bad index.
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* obj) override;
  // Replaces the text, keeping the item's object and the item index.
  void Put(int index, const std::string& s) override;
  // LB_ADDSTRING / LB_INSERTSTRING; a refusal raises EOutOfResources
  // "Unable to insert a line". Virtual list boxes hold no strings.
  int Add(const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;
  int IndexOf(const std::string& s) const override;
  // WM_SETREDRAW off while updating; a refresh when it ends.
  void SetUpdateState(bool updating) override;

 private:
  TCustomListBox* listBox_ = nullptr;
};

class TCustomListBox : public TCustomMultiSelectListControl {
  DECLARE_CLASS(TCustomListBox, TCustomMultiSelectListControl)

  explicit TCustomListBox(TComponent* owner);
  ~TCustomListBox() override { DestroyUnfinished(); }

  // --- items ------------------------------------------------------------------
  // The list's items. A descendant that keeps its own item list (with more
  // per item) overrides GetItems; SetItems assigns into GetItems().
  virtual TStrings* GetItems() const { return items_; }
  virtual void SetItems(TStrings* value);
  int GetCount() override;
  // The number of items of a virtual list box (LB_SETCOUNT); other styles
  // raise EListError.
  void SetCount(int value);
  void AddItem(const std::string& item, TObject* object) override;
  void Clear() override;
  void ClearSelection() override;
  void CopySelection(TCustomListControl* destination) override;
  void DeleteSelected() override;
  void SelectAll() override;
  // LB_RESETCONTENT / LB_DELETESTRING (virtual list boxes have no strings).
  virtual void ResetContent();
  virtual void DeleteString(int index);
  // Item data (the item's object) by index.
  virtual LONG_PTR GetItemData(int index);
  virtual void SetItemData(int index, LONG_PTR data);
  // What the strings object uses to carry data across a replace or a move;
  // a descendant that wraps the data unwraps it here.
  virtual LONG_PTR InternalGetItemData(int index);
  virtual void InternalSetItemData(int index, LONG_PTR data);
  // Replaces an item through `replace` (a delete and an insert at the same
  // index), keeping the item's data and the selection.
  void ReplaceItem(int index, const std::function<void()>& replace);
  // Set while the strings object moves an item (delete and insert).
  bool GetMoving() const { return moving_; }
  void SetMoving(bool v) { moving_ = v; }

  // Virtual data (lbVirtual, lbVirtualOwnerDraw).
  virtual std::string DoGetData(int index);
  virtual TObject* DoGetDataObject(int index);
  virtual int DoFindData(const std::string& data);

  // --- selection and geometry -----------------------------------------------------
  // The selected item (LB_GETCURSEL), or with MultiSelect the caret item.
  int GetItemIndex() override;
  void SetItemIndex(int value) override;
  int GetSelCount() override;
  // Selected[i]; an index outside the list raises EListError.
  bool GetSelected(int index);
  void SetSelected(int index, bool value);
  int GetTopIndex();
  void SetTopIndex(int value);
  // The item under a client point: TopIndex onwards, -1 outside the client
  // area; below the last item -1 when existing, else Count.
  int ItemAtPos(TPoint pos, bool existing);
  // The item's rectangle; for Count the rectangle below the last one, for
  // other indexes outside the list an empty one.
  TRect ItemRect(int index);

  // --- appearance and behaviour ----------------------------------------------------
  TListBoxStyle GetStyle() const { return style_; }
  virtual void SetStyle(TListBoxStyle value);
  TBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  int GetColumns() const { return columns_; }
  void SetColumns(int value);
  bool GetExtendedSelect() const { return extendedSelect_; }
  void SetExtendedSelect(bool value);
  void SetMultiSelect(bool value) override;
  bool GetIntegralHeight() const { return integralHeight_; }
  void SetIntegralHeight(bool value);
  // Owner-draw styles: the height given to CN_MEASUREITEM; the standard
  // style: the window's own item height.
  virtual int GetItemHeight();
  virtual void SetItemHeight(int value);
  bool GetSorted() const { return sorted_; }
  void SetSorted(bool value);
  // Tab stops in dialog units (LBS_USETABSTOPS); 0: none.
  int GetTabWidth() const { return tabWidth_; }
  void SetTabWidth(int value);
  // The horizontal scroll extent in pixels (LB_SETHORIZONTALEXTENT).
  int GetScrollWidth();
  void SetScrollWidth(int value);
  // Typing selects the first item that begins with what was typed within
  // half a second.
  bool GetAutoComplete() const { return autoComplete_; }
  void SetAutoComplete(bool value) { autoComplete_ = value; }
  TCanvas* GetCanvas() const { return canvas_; }

  // --- drawing -------------------------------------------------------------------------
  // OnDrawItem, or the item's text in the canvas (owner-draw styles).
  virtual void DrawItem(int index, TRect rect, TOwnerDrawState state);
  // OnMeasureItem (lbOwnerDrawVariable).
  virtual void MeasureItem(int index, int& height);

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;
  TLBGetDataEvent OnData;
  TLBGetDataObjectEvent OnDataObject;
  TLBFindDataEvent OnDataFind;
  TDrawItemEvent GetOnDrawItem() const { return OnDrawItem; }
  void SetOnDrawItem(TDrawItemEvent e) { OnDrawItem = e; }
  TMeasureItemEvent GetOnMeasureItem() const { return OnMeasureItem; }
  void SetOnMeasureItem(TMeasureItemEvent e) { OnMeasureItem = e; }
  TLBGetDataEvent GetOnData() const { return OnData; }
  void SetOnData(TLBGetDataEvent e) { OnData = e; }
  TLBGetDataObjectEvent GetOnDataObject() const { return OnDataObject; }
  void SetOnDataObject(TLBGetDataObjectEvent e) { OnDataObject = e; }
  TLBFindDataEvent GetOnDataFind() const { return OnDataFind; }
  void SetOnDataFind(TLBFindDataEvent e) { OnDataFind = e; }

  // --- window ----------------------------------------------------------------------------
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& m) override;
  void KeyPress(char& key) override;
  // With DragMode dmAutomatic the press selects first and then starts a drag
  // that waits for the threshold (WMLButtonDown), instead of TControl's
  // immediate drag that the list would never see.
  void WndProc(TMessage& m) override;
  void WMLButtonDown(TMessage& m) override;

  virtual void CNCommand(TMessage& m);
  virtual void CNDrawItem(TMessage& m);
  virtual void CNMeasureItem(TMessage& m);
  // LB_GETTEXT / LB_GETTEXTLEN of the virtual styles answer from DoGetData.
  virtual void LBGetText(TMessage& m);
  virtual void LBGetTextLen(TMessage& m);
  void WMSize(TMessage& m) override;
  void CMCtl3DChanged(TMessage& m) override;

 protected:
  void Destroy() override;
  bool IsVirtual() const { return style_ == lbVirtual || style_ == lbVirtualOwnerDraw; }
  void SetColumnWidth();

 private:
  TListBoxStrings* items_ = nullptr;
  TCanvas* canvas_ = nullptr;
  TStringList* saveItems_ = nullptr;
  int saveTopIndex_ = 0;
  int saveItemIndex_ = -1;
  int oldCount_ = -1;
  TListBoxStyle style_ = lbStandard;
  TBorderStyle borderStyle_ = bsSingle;
  int columns_ = 0;
  bool extendedSelect_ = true;
  bool integralHeight_ = false;
  int itemHeight_ = 16;
  bool sorted_ = false;
  int tabWidth_ = 0;
  int scrollWidth_ = 0;
  bool autoComplete_ = true;
  bool moving_ = false;
  std::string filter_;
  DWORD lastTime_ = 0;
};

class TListBox : public TCustomListBox {
  DECLARE_CLASS(TListBox, TCustomListBox)
  using TCustomListBox::TCustomListBox;
};
