// The framed library's combo boxes.
//
// TKxCustomComboBox is the base of them all: the class library's combo box
// with its own type-ahead search (the list styles gather keystrokes until a
// pause of 1500 ms) and auto-completion in the edit part (the typed prefix
// completed to the first item that begins with it, the completed tail
// selected), a read-only mode, Tab on Enter, a flat drop-down button, a
// frame painted over the client area with hot tracking, colours by state,
// membership of a frame controller, wheel stepping and extra events.
// TKxComboBox publishes it.
//
// TKxMRUComboBox keeps a history of the texts entered in it (the most
// recent first), stored through a TKxRegIniFile, with its own edit menu
// that can remove the current text from the history.
//
// TKxImageComboBox draws items that are TKxImageComboBoxItem objects: an
// image of an image list (with an overlay), then a caption, indented by
// level; the captions live in the items, not in the list's strings.
//
// TKxColorComboBox lists colour swatches: a default colour, the 16 standard
// colours, the 25 system colours and a custom colour chosen through the
// colour dialog, under names that can be changed (TKxColorNames).
// TKxFontComboBox lists the installed fonts with type glyphs, samples, a
// block of the most recently used fonts on top and a floating preview,
// TKxPreviewFontPanel (kx/foundation/KxPreviewFontPanel.h, offered here
// too), which the font list box also uses; what the two font lists share
// is TKxFontListCore (kx/foundation/KxFontLists.h).
#pragma once

#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Dialogs.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"
#include "kx/foundation/KxFramed.h"
#include "kx/foundation/KxCommon.h"
#include "kx/foundation/KxLstBox.h"
#include "kx/foundation/KxPreviewFontPanel.h"

// (Sender, the item's data): an item leaves the list.
using TKxDeleteComboItemEvent = TClosure<void(TObject* Sender, void* Data)>;

class TKxCustomComboBox : public TKxFramed<TCustomComboBox> {
  DECLARE_CLASS(TKxCustomComboBox, TKxFramed<TCustomComboBox>)

  explicit TKxCustomComboBox(TComponent* owner);
  ~TKxCustomComboBox() override { DestroyUnfinished(); }

  // --- items ---------------------------------------------------------------------
  int Add(const std::string& s) { return GetItems()->Add(s); }
  int AddObject(const std::string& s, TObject* obj) { return GetItems()->AddObject(s, obj); }
  virtual void Delete(int index) { GetItems()->Delete(index); }
  virtual void ClearItems() { GetItems()->Clear(); }
  virtual int IndexOf(const std::string& s) { return GetItems()->IndexOf(s); }
  void Insert(int index, const std::string& s) { GetItems()->Insert(index, s); }
  void InsertObject(int index, const std::string& s, TObject* obj) { GetItems()->InsertObject(index, s, obj); }
  int Count() { return GetItems()->GetCount(); }
  // Selects the item equal to s (no events); true when there is one.
  bool FindItem(const std::string& s);
  // Selects the first item that begins with s (no events); true when there
  // is one.
  bool FindClosestItem(const std::string& s);
  // The first item that begins with s, without regard to case; -1 if none.
  virtual int FindClosest(const std::string& s);
  // Sets Text (when it differs, case-sensitively) without completing it.
  virtual void ForceText(const std::string& s);
  void ClearSearchString() { searchString_.clear(); }
  const std::string& GetSearchString() const { return searchString_; }
  // The search timer (1500 ms): tests fire it through the timer seam.
  TTimer* GetSearchTimer() const { return searchTimer_.Timer(); }

  // --- behaviour -------------------------------------------------------------------
  bool GetAllowEdit() const { return allowEdit_; }
  void SetAllowEdit(bool v) { allowEdit_ = v; }
  // The library's completion (the class library's own stays off).
  bool GetAutoComplete() const { return autoComplete_; }
  void SetAutoComplete(bool v) { autoComplete_ = v; }
  bool GetBeepOnInvalidKey() const { return beepOnInvalidKey_; }
  void SetBeepOnInvalidKey(bool v) { beepOnInvalidKey_ = v; }
  bool GetKeepSearchCase() const { return keepSearchCase_; }
  void SetKeepSearchCase(bool v) { keepSearchCase_ = v; }
  bool GetReadOnly() const { return readOnly_; }
  virtual void SetReadOnly(bool value);
  bool GetTabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool v) { tabOnEnter_ = v; }
  int GetDropDownWidth() const { return dropDownWidth_; }
  virtual void SetDropDownWidth(int value);
  bool GetFlatButtons() const { return flatButtons_; }
  virtual void SetFlatButtons(bool value);
  TColor GetFlatButtonColor() const { return flatButtonColor_; }
  virtual void SetFlatButtonColor(TColor value);
  // Only the owner-drawn styles take an item height (the window is made
  // again).
  void SetItemHeight(int value) override;
  bool Focused() const override { return focused_; }

  // --- frame -----------------------------------------------------------------------
  void SetFrameVisible(bool value) override;
  void RepaintFrame() override { Invalidate(); }
  void UpdateFrame(bool isMouse, bool value) override;
  // The drop-down button's place in the client area.
  TRect ButtonRect();

  // --- keys --------------------------------------------------------------------------
  virtual void InvalidKeyPressed();
  // Selects the first item that begins with s (the list styles' search):
  // the search string becomes s, then Click, Change and the key press of
  // the message; a miss only beeps.
  virtual void UpdateIndex(const std::string& s, TMessage* keyMessage);
  // Completes s in the edit part; false when no item begins with s. The key
  // press of the message fires when one is given.
  virtual bool FindListItem(const std::string& s, TMessage* keyMessage);
  void KeyPress(char& key) override;

  // --- events --------------------------------------------------------------------------
  TKxDeleteComboItemEvent OnDeleteItem;
  TNotifyEvent OnMatch;
  TNotifyEvent OnNotInList;
  TNotifyEvent OnSelEndCancel;
  TNotifyEvent OnSelEndOk;
  TKxDeleteComboItemEvent GetOnDeleteItem() const { return OnDeleteItem; }
  void SetOnDeleteItem(TKxDeleteComboItemEvent e) { OnDeleteItem = e; }
  TNotifyEvent GetOnMatch() const { return OnMatch; }
  void SetOnMatch(TNotifyEvent e) { OnMatch = e; }
  TNotifyEvent GetOnNotInList() const { return OnNotInList; }
  void SetOnNotInList(TNotifyEvent e) { OnNotInList = e; }
  TNotifyEvent GetOnSelEndCancel() const { return OnSelEndCancel; }
  void SetOnSelEndCancel(TNotifyEvent e) { OnSelEndCancel = e; }
  TNotifyEvent GetOnSelEndOk() const { return OnSelEndOk; }
  void SetOnSelEndOk(TNotifyEvent e) { OnSelEndOk = e; }
  virtual void Match();
  virtual void NotInList();
  virtual void SelEndCancel();
  virtual void SelEndOk();
  // An item with data leaves the list: OnDeleteItem.
  virtual void DeleteItem(void* data);
  void CloseUp() override;
  // One wheel notch: the open list scrolls by the system's line count, a
  // closed one steps the selection (never past the last item).
  bool DoMouseWheelDown(TShiftState shift, POINT mousePos) override;
  bool DoMouseWheelUp(TShiftState shift, POINT mousePos) override;

  // --- window and messages ----------------------------------------------------------------
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& m) override;
  void ComboWndProc(TMessage& m, HWND comboWnd, WNDPROC comboProc) override;
  void Dispatch(TMessage& m) override;
  void CNCommand(TMessage& m) override;
  void CNDrawItem(TMessage& m) override;
  void WMPaint(TMessage& m) override;
  void WMSize(TMessage& m) override;
  void WMKeyDown(TMessage& m) override;
  void WMKillFocus(TMessage& m) override;
  void WMLButtonDown(TMessage& m) override;
  void WMLButtonDblClk(TMessage& m) override;
  void CMEnter(TMessage& m) override;
  void CMExit(TMessage& m) override;
  virtual void CMTextChanged(TMessage& m);
  void WMDeleteItem(TMessage& m) override;
  virtual void WMCut(TMessage& m);
  virtual void WMPaste(TMessage& m);

 protected:
  // Whether a selected owner-drawn item gets a dotted focus border.
  bool drawFocus_ = true;
  // Draws the frame, the button and the colour strips over what the
  // window painted.
  virtual void PaintOverlay(HDC dc);
  // The next text change is not completed (a text set on purpose).
  void GuardText() { textChangeGuard_ = true; }

 private:
  void SearchTimerExpired(TObject* sender);
  void UpdateSearchStr();
  // The edit part's character (auto-completion); true when it goes no
  // further.
  bool EditChar(TMessage& m, HWND wnd, WNDPROC proc);
  void EditKeyDown(TMessage& m);
  // Hands a message to the edit's own procedure (no key events).
  static void PassOn(TMessage& m, HWND wnd, WNDPROC proc);
  // Removes the last character of s (a double-byte one whole).
  static void DropLastChar(std::string& s);
  void ApplyReadOnly();

  std::string searchString_;
  TKxSearchTimer searchTimer_;
  bool typing_ = false;
  bool textChangeGuard_ = false;
  bool escapeClosesList_ = false;
  bool enterPressed_ = false;
  bool sysKey_ = false;
  bool keyboardPaste_ = false;
  bool allowEdit_ = true;
  bool autoComplete_ = true;
  bool beepOnInvalidKey_ = true;
  bool keepSearchCase_ = false;
  bool readOnly_ = false;
  bool tabOnEnter_ = false;
  bool flatButtons_ = false;
  TColor flatButtonColor_ = clBtnFace;
  int dropDownWidth_ = 0;
};

class TKxComboBox : public TKxCustomComboBox {
  DECLARE_CLASS(TKxComboBox, TKxCustomComboBox)
  using TKxCustomComboBox::TKxCustomComboBox;
};

// ---------------------------------------------------------------------------
// MRU combo box

class TKxMRUComboBox : public TKxCustomComboBox {
  DECLARE_CLASS(TKxMRUComboBox, TKxCustomComboBox)

  explicit TKxMRUComboBox(TComponent* owner);
  ~TKxMRUComboBox() override { DestroyUnfinished(); }
  void AfterConstruction() override;

  int GetMaxHistory() const { return maxHistory_; }
  void SetMaxHistory(int v) { maxHistory_ = v; }
  const std::string& GetMruPath() const { return mruPath_; }
  void SetMruPath(const std::string& v) { mruPath_ = v; }
  TKxRegIniFile* GetMruRegIniFile() const { return mruRegIniFile_; }
  virtual void SetMruRegIniFile(TKxRegIniFile* value);
  const std::string& GetMruSection() const { return mruSection_; }
  void SetMruSection(const std::string& v) { mruSection_ = v; }
  const std::string& GetMruID() const { return mruID_; }
  void SetMruID(const std::string& v) { mruID_ = v; }
  const std::string& GetRemoveItemCaption() const { return removeItemCaption_; }
  void SetRemoveItemCaption(const std::string& value);
  bool IsRemoveItemCaptionStored() const;
  bool GetSelectFirstItemOnLoad() const { return selectFirstItemOnLoad_; }
  void SetSelectFirstItemOnLoad(bool v) { selectFirstItemOnLoad_ = v; }
  bool GetLoaded() const { return loaded_; }

  // Reads the history from the store (not while designing). With reorder
  // each entry also moves to its stored place among the items.
  virtual void LoadMRUData(bool reorder);
  // Writes at most MaxHistory entries and removes the numbers above them.
  virtual void SaveMRUData();
  // Puts Text at the top of the list and saves the history.
  virtual void UpdateMRUList();
  // The store's conditions hold: a path or a store, a section and an id.
  bool HasStore() const;

  // The edit menu: Undo, Cut, Copy, Paste, Delete, Select all, Remove.
  TPopupMenu* GetEditMenu() const { return menu_; }
  TMenuItem* GetMenuItem(int index) const { return items_[static_cast<size_t>(index)]; }
  virtual void CreatePopupMenuItems();
  virtual void InitializePopupMenuItems();
  virtual void AddMenuItemsToPopupMenu();
  virtual void SetupMenuItem(TMenuItem* item, const std::string& caption, TNotifyEvent onClick, bool checked,
                             bool radioItem, int groupIndex, TShortCut shortCut);

  TNotifyEvent OnEnterKeyPressed;
  TNotifyEvent OnEscapeKeyPressed;
  TNotifyEvent GetOnEnterKeyPressed() const { return OnEnterKeyPressed; }
  void SetOnEnterKeyPressed(TNotifyEvent e) { OnEnterKeyPressed = e; }
  TNotifyEvent GetOnEscapeKeyPressed() const { return OnEscapeKeyPressed; }
  void SetOnEscapeKeyPressed(TNotifyEvent e) { OnEscapeKeyPressed = e; }
  virtual void EnterKeyPressed();
  virtual void EscapeKeyPressed();

  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void CreateWnd() override;
  void KeyPress(char& key) override;
  void DoExit() override;

 private:
  // Runs fn on the store: MruRegIniFile, or a registry store of MruPath
  // made for the one operation.
  template <class F>
  void WithStore(F fn);
  void MenuPopup(TObject* sender);
  void UndoClick(TObject* sender);
  void CutClick(TObject* sender);
  void CopyClick(TObject* sender);
  void PasteClick(TObject* sender);
  void DeleteClick(TObject* sender);
  void SelectAllClick(TObject* sender);
  void RemoveClick(TObject* sender);

  int maxHistory_ = 25;
  std::string mruPath_;
  TKxRegIniFile* mruRegIniFile_ = nullptr;
  std::string mruSection_;
  std::string mruID_;
  std::string removeItemCaption_;
  bool selectFirstItemOnLoad_ = false;
  bool loaded_ = false;
  TPopupMenu* menu_ = nullptr;
  TMenuItem* items_[10] = {};
  int tag_ = 0;
};

// The text of a string resource of the system library "Shell32" ("" when
// it has none by that number).
std::string ShellString(UINT id);

// ---------------------------------------------------------------------------
// Image combo box

class TKxCustomImageComboBox;

class TKxImageComboBoxItem : public TObject {
  DECLARE_CLASS(TKxImageComboBoxItem, TObject)

  TKxImageComboBoxItem() = default;
  explicit TKxImageComboBoxItem(TKxCustomImageComboBox* owner) : owner_(owner) {}

  TKxCustomImageComboBox* GetOwner() const { return owner_; }
  const std::string& GetCaption() const { return caption_; }
  void SetCaption(const std::string& v);
  int GetImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  int GetIndentLevel() const { return indentLevel_; }
  void SetIndentLevel(int v);
  int GetOverlayIndex() const { return overlayIndex_; }
  void SetOverlayIndex(int v);
  // The list position given when the item was added.
  int GetIndex() const { return index_; }
  void SetIndex(int v) { index_ = v; }

 private:
  void Changed();

  TKxCustomImageComboBox* owner_ = nullptr;
  std::string caption_;
  int imageIndex_ = 0;
  int indentLevel_ = 0;
  int overlayIndex_ = -1;
  int index_ = -1;
};

using TKxDeleteImageComboBoxItemEvent = TClosure<void(TObject* Sender, TKxImageComboBoxItem* Item)>;
using TKxImageComboBoxGetItemDataEvent = TClosure<void(TObject* Sender, TKxImageComboBoxItem* Item)>;

class TKxCustomImageComboBox : public TKxCustomComboBox {
  DECLARE_CLASS(TKxCustomImageComboBox, TKxCustomComboBox)

  explicit TKxCustomImageComboBox(TComponent* owner);
  ~TKxCustomImageComboBox() override { DestroyUnfinished(); }

  // A new item of the combo box at the end of the list.
  virtual TKxImageComboBoxItem* AddItem(const std::string& caption, int imageIndex, int indentLevel);
  TKxImageComboBoxItem* GetImageComboBoxItem(int index);
  // Remove items and free them.
  void Delete(int index) override;
  void ClearItems() override;
  void Clear() override;
  // The first item whose caption is s, without regard to case; -1 if none.
  int IndexOf(const std::string& s) override;
  void ItemsBeginUpdate() { GetItems()->BeginUpdate(); }
  void ItemsEndUpdate() { GetItems()->EndUpdate(); }
  // OnGetItemData, before the item is drawn.
  virtual void GetItemData(TKxImageComboBoxItem* item);
  // The items the combo box holds and will free: shown, kept for the next
  // window, or taken out of Items by hand.
  int OwnedItemCount() const { return static_cast<int>(live_.size()); }

  bool GetAutoSizeHeight() const { return autoSizeHeight_; }
  void SetAutoSizeHeight(bool v) { autoSizeHeight_ = v; }
  TCustomImageList* GetImages() const { return images_; }
  virtual void SetImages(TCustomImageList* value);
  int GetItemIndent() const { return itemIndent_; }
  void SetItemIndent(int value);
  // The height of the font (or of the images, when taller): the item
  // height of the owner-drawn list.
  virtual void AutoSize(HFONT font);

  TKxDeleteImageComboBoxItemEvent OnDeleteImageItem;
  TKxImageComboBoxGetItemDataEvent OnGetItemData;
  TKxDeleteImageComboBoxItemEvent GetOnDeleteImageItem() const { return OnDeleteImageItem; }
  void SetOnDeleteImageItem(TKxDeleteImageComboBoxItemEvent e) { OnDeleteImageItem = e; }
  TKxImageComboBoxGetItemDataEvent GetOnGetItemData() const { return OnGetItemData; }
  void SetOnGetItemData(TKxImageComboBoxGetItemDataEvent e) { OnGetItemData = e; }

  void DrawItem(int index, TRect rect, TOwnerDrawState state) override;
  void DeleteItem(void* data) override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* component, TOperation operation) override;
  void Dispatch(TMessage& m) override;
  void WMEraseBkgnd(TMessage& m) override;
  virtual void WMSetFont(TMessage& m);

 protected:
  void Destroy() override;

 private:
  // The items this combo box made and has not freed yet.
  std::vector<TKxImageComboBoxItem*> live_;
  // The items shown when the window went, in order, for the next window.
  std::vector<TKxImageComboBoxItem*> kept_;
  int keptIndex_ = -1;
  bool recreating_ = false;
  bool deleting_ = false;
  bool fontGuard_ = false;
  bool autoSizeHeight_ = true;
  TCustomImageList* images_ = nullptr;
  int itemIndent_ = 12;
};

class TKxImageComboBox : public TKxCustomImageComboBox {
  DECLARE_CLASS(TKxImageComboBox, TKxCustomImageComboBox)
  using TKxCustomImageComboBox::TKxCustomImageComboBox;
};

// ---------------------------------------------------------------------------
// Colour combo box

struct TKxColorItem {
  const char* Name;
  TColor Color;
};
extern const TKxColorItem DefaultColorItem;
extern const TKxColorItem StdColorItems[16];
extern const TKxColorItem SysColorItems[25];
extern const TKxColorItem CustomColorItem;

class TKxColorComboBox;

// The names the colour combo box shows for its colours.
class TKxColorNames : public TPersistent {
  DECLARE_CLASS(TKxColorNames, TPersistent)

  TKxColorNames();

  const std::string& GetDefault() const { return default_; }
  void SetDefault(const std::string& v);
  std::string GetStdColor(int index) const { return std_[static_cast<size_t>(index)]; }
  void SetStdColor(int index, std::string v);
  std::string GetSysColor(int index) const { return sys_[static_cast<size_t>(index)]; }
  void SetSysColor(int index, std::string v);
  const std::string& GetCustom() const { return custom_; }
  void SetCustom(const std::string& v);
  bool ShowDefaultColor = true;
  bool ShowCustomColor = true;
  bool ShowSysColors = true;
  TKxColorComboBox* GetComboBox() const { return comboBox_; }
  void SetComboBox(TKxColorComboBox* c) { comboBox_ = c; }

  // From other names: the standard names always, the default, system and
  // custom names when this one shows them.
  void Assign(TPersistent* source) override;

 private:
  // The item that shows a name (-1: none) and its new text.
  void Rename(int item, const std::string& text);

  std::string default_;
  std::string std_[16];
  std::string sys_[25];
  std::string custom_;
  TKxColorComboBox* comboBox_ = nullptr;
};

class TKxColorComboBox : public TKxCustomComboBox {
  DECLARE_CLASS(TKxColorComboBox, TKxCustomComboBox)

  explicit TKxColorComboBox(TComponent* owner);
  ~TKxColorComboBox() override { DestroyUnfinished(); }

  TKxColorNames* GetColorNames() const { return colorNames_; }
  virtual void SetColorNames(TKxColorNames* value);
  bool IsColorNamesStored() const { return namesChanged_; }
  void NamesChanged() { namesChanged_ = true; }
  TColor GetCustomColor() const { return customColor_; }
  virtual void SetCustomColor(TColor value);
  TStrings* GetCustomColors() const { return customColors_; }
  virtual void SetCustomColors(TStrings* value);
  TColorDialogOptions GetColorDlgOptions() const { return colorDlgOptions_; }
  void SetColorDlgOptions(TColorDialogOptions v) { colorDlgOptions_ = v; }
  TColor GetDefaultColor() const { return defaultColor_; }
  virtual void SetDefaultColor(TColor value);
  TKxRegIniFile* GetRegIniFile() const { return regIniFile_; }
  virtual void SetRegIniFile(TKxRegIniFile* value);
  bool GetShowColorNames() const { return showColorNames_; }
  virtual void SetShowColorNames(bool value);
  bool GetShowCustomColor() const { return showCustomColor_; }
  virtual void SetShowCustomColor(bool value);
  bool GetShowDefaultColor() const { return showDefaultColor_; }
  virtual void SetShowDefaultColor(bool value);
  bool GetShowSysColors() const { return showSysColors_; }
  virtual void SetShowSysColors(bool value);
  // DefaultColor while nothing is selected, else the selected item's colour.
  virtual TColor GetSelectedColor();
  // Selects the first item of that colour; with none, the colour becomes
  // CustomColor and the custom item is selected.
  virtual void SetSelectedColor(TColor value);
  virtual TColor GetColorFromItem(int index);
  std::string GetCustomColorName(int index);
  // Every custom colour as six hexadecimal digits of its 24 bits.
  virtual void FixupCustomColors();
  virtual void InitColorNames();
  void LoadCustomColors(const std::string& section);
  void SaveCustomColors(const std::string& section);

  void SetFrameVisible(bool value) override;
  void DrawItem(int index, TRect rect, TOwnerDrawState state) override;
  void CloseUp() override;
  void CNCommand(TMessage& m) override;
  void CNDrawItem(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void Destroy() override;

 private:
  bool HasCustomItem() { return showCustomColor_ && GetItems()->GetCount() > 0; }
  void FillItems();

  TKxColorNames* colorNames_ = nullptr;
  bool namesChanged_ = false;
  TColor customColor_ = 0;
  TStrings* customColors_ = nullptr;
  TColorDialogOptions colorDlgOptions_{cdFullOpen};
  TColor defaultColor_ = 0;
  TKxRegIniFile* regIniFile_ = nullptr;
  bool showColorNames_ = true;
  bool showCustomColor_ = true;
  bool showDefaultColor_ = true;
  bool showSysColors_ = true;
  int savedIndex_ = 0;
  bool cancelled_ = false;
};

// ---------------------------------------------------------------------------
// Font combo box

class TKxFontComboBox : public TKxCustomComboBox, public TKxFontListCore {
  DECLARE_CLASS(TKxFontComboBox, TKxCustomComboBox)

  explicit TKxFontComboBox(TComponent* owner);
  ~TKxFontComboBox() override { DestroyUnfinished(); }

  // Also the size of the selected font.
  void SetFontSize(int value);
  // The last item of the most recently used block (-1: none).
  int GetLastMRUIndex() const { return LastMRU(); }

  void DrawItem(int index, TRect rect, TOwnerDrawState state) override;
  void DropDown() override;
  void CloseUp() override;
  void CNDrawItem(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* component, TOperation operation) override;
  void Dispatch(TMessage& m) override;
  virtual void CMHidePreviewPanel(TMessage& m);

 protected:
  TStrings* FontItems() override { return GetItems(); }
  POINT PreviewPlace() override;
};

// The published properties of the framed combo boxes; the styles' default
// and the events of the descendants differ.
struct TKxComboPublishing {
  TComboBoxStyle Style = csDropDown;
  int DropDownCount = 8;
  bool Sorted = false;
  // The base's OnDeleteItem (a descendant may publish its own kind).
  bool DeleteItemEvent = true;
  // Items as strings (the image combo box keeps its captions elsewhere).
  bool Items = true;
};

template <class T>
void PublishKxComboBoxProps(TPublisher<T>& p, const TKxComboPublishing& o = {}) {
  p.Prop("Style", &T::GetStyle, &T::SetStyle).Default(o.Style);
  p.Prop("AllowEdit", &T::GetAllowEdit, &T::SetAllowEdit).Default(true);
  PublishControlProps(p, {"Anchors"});
  p.Prop("AutoComplete", &T::GetAutoComplete, &T::SetAutoComplete).Default(true);
  p.Prop("AutoDropDown", &T::GetAutoDropDown, &T::SetAutoDropDown).Default(false);
  p.Prop("BeepOnInvalidKey", &T::GetBeepOnInvalidKey, &T::SetBeepOnInvalidKey).Default(true);
  PublishControlProps(p, {"BiDiMode"});
  p.Prop("CharCase", &T::GetCharCase, &T::SetCharCase).Default(ecNormal);
  PublishKxColor(p);
  PublishControlProps(p, {"Constraints", "Ctl3D"});
  PublishKxDisabledColor(p);
  PublishControlProps(p, {"DragCursor", "DragKind", "DragMode"});
  p.Prop("DropDownCount", &T::GetDropDownCount, &T::SetDropDownCount).Default(o.DropDownCount);
  p.Prop("DropDownWidth", &T::GetDropDownWidth, &T::SetDropDownWidth).Default(0);
  PublishControlProps(p, {"Enabled"});
  p.Prop("FlatButtonColor", &T::GetFlatButtonColor, &T::SetFlatButtonColor)
      .Default(clBtnFace)
      .Stored(&T::IsFrameStored)
      .Type(TColorTypeInfo());
  p.Prop("FlatButtons", &T::GetFlatButtons, &T::SetFlatButtons).Default(false).Stored(&T::IsFrameStored);
  PublishKxFocusColor(p);
  PublishControlProps(p, {"Font"});
  PublishKxFrameProps(p);
  PublishControlProps(p, {"ImeMode", "ImeName"});
  p.Prop("ItemHeight", &T::GetItemHeight, &T::SetItemHeight);
  p.Prop("KeepSearchCase", &T::GetKeepSearchCase, &T::SetKeepSearchCase).Default(false);
  p.Prop("MaxLength", &T::GetMaxLength, &T::SetMaxLength).Default(0);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("ReadOnly", &T::GetReadOnly, &T::SetReadOnly).Default(false);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("Sorted", &T::GetSorted, &T::SetSorted).Default(o.Sorted);
  p.Prop("TabOnEnter", &T::GetTabOnEnter, &T::SetTabOnEnter).Default(false);
  PublishControlProps(p, {"TabOrder"});
  p.Prop("TabStop", &T::GetTabStop, &T::SetTabStop).Default(true);
  PublishControlProps(p, {"Text", "Visible"});
  p.Prop("OnChange", &T::GetOnChange, &T::SetOnChange);
  PublishControlProps(p, {"OnClick"});
  p.Prop("OnCloseUp", &T::GetOnCloseUp, &T::SetOnCloseUp);
  PublishControlProps(p, {"OnContextPopup", "OnDblClick"});
  if (o.DeleteItemEvent) p.Prop("OnDeleteItem", &T::GetOnDeleteItem, &T::SetOnDeleteItem);
  PublishControlProps(p, {"OnDragDrop", "OnDragOver"});
  p.Prop("OnDrawItem", &T::GetOnDrawItem, &T::SetOnDrawItem);
  p.Prop("OnDropDown", &T::GetOnDropDown, &T::SetOnDropDown);
  PublishControlProps(p, {"OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"});
  p.Prop("OnMatch", &T::GetOnMatch, &T::SetOnMatch);
  p.Prop("OnMeasureItem", &T::GetOnMeasureItem, &T::SetOnMeasureItem);
  PublishKxMouseEvents(p);
  PublishControlProps(p, {"OnMouseWheelDown", "OnMouseWheelUp"});
  p.Prop("OnNotInList", &T::GetOnNotInList, &T::SetOnNotInList);
  p.Prop("OnSelect", &T::GetOnSelect, &T::SetOnSelect);
  p.Prop("OnSelEndCancel", &T::GetOnSelEndCancel, &T::SetOnSelEndCancel);
  p.Prop("OnSelEndOk", &T::GetOnSelEndOk, &T::SetOnSelEndOk);
  PublishControlProps(p, {"OnStartDock", "OnStartDrag"});
  // After the events: the items are read last, then ItemIndex waits for
  // Loaded.
  if (o.Items) p.Prop("Items", &T::GetItems, &T::SetItems);
  p.Prop("ItemIndex", &T::GetItemIndex, &T::SetItemIndex).Default(-1);
}

// Start-up: the combo boxes' stored-form classes.
void InitializeKxCmboBx();
void FinalizeKxCmboBx();
