// Combo boxes on the system COMBOBOX class: TCustomCombo (the base of every
// combo box: its edit and list windows, selection and drop-down),
// TCustomComboBoxStrings/TComboBoxStrings (the items, kept in the window),
// TCustomComboBox and TComboBox.
//
// The combo box subclasses its child windows (the edit of csDropDown and
// csSimple, and the list): their messages go through ComboWndProc, which a
// descendant overrides to see keys and mouse clicks typed into them.
#pragma once

#include <string>

#include "classlib/Classes.h"
#include "classlib/stdctrls/ListBox.h"

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
DECLARE_ENUM_TYPE(TComboBoxStyle);

class TCustomCombo;

class TCustomComboBoxStrings : public TStrings {
  DECLARE_CLASS(TCustomComboBoxStrings, TStrings)

  TCustomComboBoxStrings() = default;
  explicit TCustomComboBoxStrings(TCustomCombo* comboBox) : comboBox_(comboBox) {}

  TCustomCombo* GetComboBox() const { return comboBox_; }
  void SetComboBox(TCustomCombo* comboBox) { comboBox_ = comboBox; }

  int GetCount() const override;
  // CB_GETLBTEXT; an index outside the list gives "".
  std::string Get(int index) const override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* obj) override;
  void Delete(int index) override;
  // Keeps the edit's text.
  void Clear() override;
  int IndexOf(const std::string& s) const override;
  void SetUpdateState(bool updating) override;

 protected:
  HWND Window() const;
  TCustomCombo* comboBox_ = nullptr;
};

class TComboBoxStrings : public TCustomComboBoxStrings {
  DECLARE_CLASS(TComboBoxStrings, TCustomComboBoxStrings)
  using TCustomComboBoxStrings::TCustomComboBoxStrings;

  // A refusal of the window raises EOutOfResources "Unable to insert a line".
  int Add(const std::string& s) override;
  void Insert(int index, const std::string& s) override;
};

class TCustomCombo : public TCustomListControl {
  DECLARE_CLASS(TCustomCombo, TCustomListControl)

  explicit TCustomCombo(TComponent* owner);
  ~TCustomCombo() override { DestroyUnfinished(); }

  TStrings* GetItems() const { return items_; }
  virtual void SetItems(TStrings* value);
  int GetCount() override { return items_->GetCount(); }
  virtual int GetItemCount() { return items_->GetCount(); }
  // While the component loads, the index waits for Loaded.
  int GetItemIndex() override;
  void SetItemIndex(int value) override;
  virtual int GetItemHt() = 0;
  int GetItemHeight() { return GetItemHt(); }
  virtual void SetItemHeight(int value);
  int GetDropDownCount() const { return dropDownCount_; }
  virtual void SetDropDownCount(int value) { dropDownCount_ = value; }
  bool GetDroppedDown();
  void SetDroppedDown(bool value);
  int GetMaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  int GetSelStart();
  void SetSelStart(int value);
  int GetSelLength();
  void SetSelLength(int value);
  TCanvas* GetCanvas() const { return canvas_; }
  // True while the combo box, its edit or its list has the focus.
  bool Focused() const override;

  void AddItem(const std::string& item, TObject* object) override;
  void Clear() override;
  void ClearSelection() override;
  void CopySelection(TCustomListControl* destination) override;
  void DeleteSelected() override;
  void SelectAll() override;

  // The child windows and their original procedures; the Unicode layer
  // swaps these for wide ones.
  HWND GetEditHandle() const { return editHandle_; }
  HWND GetListHandle() const { return listHandle_; }
  WNDPROC GetDefEditProc() const { return defEditProc_; }
  void SetDefEditProc(WNDPROC p) { defEditProc_ = p; }
  WNDPROC GetDefListProc() const { return defListProc_; }
  void SetDefListProc(WNDPROC p) { defListProc_ = p; }
  WNDPROC GetEditInstance() const { return editInstance_; }
  WNDPROC GetListInstance() const { return listInstance_; }

  // Every message of a child window: keys go through the control's key
  // events, then to the child's own procedure (comboProc).
  virtual void ComboWndProc(TMessage& m, HWND comboWnd, WNDPROC comboProc);
  void EditWndProc(TMessage& m);
  void ListWndProc(TMessage& m);
  // The key press (OnKeyPress), then Enter and Escape closing an open list:
  // true when the character goes no further.
  bool CharTaken(TMessage& m);
  // A character typed into the edit (WM_CHAR) that OnKeyPress let through,
  // before the edit sees it; a handler that takes it sets the character
  // code to 0. The combo box completes the typed text here; the Unicode
  // layer completes wide text instead.
  virtual void DoEditCharMsg(TMessage& m);
  // Sizes the dropped list to DropDownCount items.
  virtual void AdjustDropDown();

  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TNotifyEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TNotifyEvent e) { OnChange = e; }
  TNotifyEvent GetOnSelect() const { return OnSelect; }
  void SetOnSelect(TNotifyEvent e) { OnSelect = e; }
  TNotifyEvent GetOnDropDown() const { return OnDropDown; }
  void SetOnDropDown(TNotifyEvent e) { OnDropDown = e; }
  TNotifyEvent GetOnCloseUp() const { return OnCloseUp; }
  void SetOnCloseUp(TNotifyEvent e) { OnCloseUp = e; }

  void CreateWnd() override;
  void DestroyWindowHandle() override;
  void WndProc(TMessage& m) override;
  void Loaded() override;

 protected:
  void Destroy() override;
  // The edit (none in the list styles) and the list of a new window, which
  // CreateWnd subclasses.
  virtual void FindChildWindows(HWND& edit, HWND& list);
  // The edit's selection, from the edit itself when there is one.
  void GetEditSel(DWORD& start, DWORD& end);
  void SetEditSel(int start, int end);
  // What a child window that has the focus passes to the control and its
  // form first (system commands, the form's dialog keys): true when taken.
  bool ChildMessageTaken(TMessage& m);

  TCustomComboBoxStrings* items_ = nullptr;
  TCanvas* canvas_ = nullptr;
  HWND editHandle_ = nullptr;
  HWND listHandle_ = nullptr;
  WNDPROC defEditProc_ = nullptr;
  WNDPROC defListProc_ = nullptr;
  WNDPROC editInstance_ = nullptr;
  WNDPROC listInstance_ = nullptr;
  int itemHeight_ = 16;
  int maxLength_ = 0;
  int dropDownCount_ = 8;
  int itemIndex_ = -1;
  int saveIndex_ = -1;
  bool droppingDown_ = false;
  // Set while the combo box's own procedure handles a character it has
  // already reported: without an edit it passes the character on to its list.
  bool charReported_ = false;
  bool focusChanged_ = false;
  bool isFocused_ = false;
};

class TCustomComboBox : public TCustomCombo {
  DECLARE_CLASS(TCustomComboBox, TCustomCombo)

  explicit TCustomComboBox(TComponent* owner);
  ~TCustomComboBox() override { DestroyUnfinished(); }

  TComboBoxStyle GetStyle() const { return style_; }
  virtual void SetStyle(TComboBoxStyle value);
  bool GetSorted() const { return sorted_; }
  void SetSorted(bool value);
  TEditCharCase GetCharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase value);
  // Typing selects the first item that begins with the typed text (and in
  // the edit styles completes it).
  bool GetAutoComplete() const { return autoComplete_; }
  void SetAutoComplete(bool value) { autoComplete_ = value; }
  bool GetAutoDropDown() const { return autoDropDown_; }
  void SetAutoDropDown(bool value) { autoDropDown_ = value; }
  bool GetAutoCloseUp() const { return autoCloseUp_; }
  void SetAutoCloseUp(bool value) { autoCloseUp_ = value; }
  // The selected part of the edit's text (empty without an edit).
  std::string GetSelText();
  void SetSelText(const std::string& value);
  int GetItemHt() override;
  // Selects the first item that begins with text; false when none does.
  bool SelectItem(const std::string& text);

  virtual void DrawItem(int index, TRect rect, TOwnerDrawState state);
  virtual void MeasureItem(int index, int& height);
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;
  TDrawItemEvent GetOnDrawItem() const { return OnDrawItem; }
  void SetOnDrawItem(TDrawItemEvent e) { OnDrawItem = e; }
  TMeasureItemEvent GetOnMeasureItem() const { return OnMeasureItem; }
  void SetOnMeasureItem(TMeasureItemEvent e) { OnMeasureItem = e; }

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  // The list styles' search among the items (the edit styles complete in
  // DoEditCharMsg).
  void KeyPress(char& key) override;
  void DoEditCharMsg(TMessage& m) override;
  void Dispatch(TMessage& m) override;
  virtual void CNCommand(TMessage& m);
  virtual void CNDrawItem(TMessage& m);
  virtual void CNMeasureItem(TMessage& m);

 protected:
  void Destroy() override;
  bool HasEdit() const { return style_ == csDropDown || style_ == csSimple; }

 private:
  // The auto-complete step of one typed character (both kinds of style).
  void AutoCompleteKey(char& key);

  TComboBoxStyle style_ = csDropDown;
  bool sorted_ = false;
  TEditCharCase charCase_ = ecNormal;
  bool autoComplete_ = true;
  bool autoDropDown_ = false;
  bool autoCloseUp_ = false;
  TStringList* saveItems_ = nullptr;
  std::string filter_;
  DWORD lastTime_ = 0;
};

class TComboBox : public TCustomComboBox {
  DECLARE_CLASS(TComboBox, TCustomComboBox)
  using TCustomComboBox::TCustomComboBox;
};
