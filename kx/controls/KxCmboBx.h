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
#pragma once

#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"
#include "kx/controls/KxFramed.h"
#include "kx/foundation/KxCommon.h"

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
  void ClearItems() { GetItems()->Clear(); }
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
  TTimer* GetSearchTimer() const { return searchTimer_; }

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
  void Destroy() override;
  // The next text change is not completed (a text set on purpose).
  void GuardText() { textChangeGuard_ = true; }

 private:
  void SearchTimerExpired(TObject* sender);
  void UpdateSearchStr();
  void RestartSearchTimer();
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
  TTimer* searchTimer_ = nullptr;
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

// The published properties of the framed combo boxes; the styles' default
// and the events of the descendants differ.
template <class T>
void PublishKxComboBoxProps(TPublisher<T>& p, TComboBoxStyle defaultStyle, int defaultDropDownCount = 8,
                            bool defaultSorted = false) {
  p.Prop("Style", &T::GetStyle, &T::SetStyle).Default(defaultStyle);
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
  p.Prop("DropDownCount", &T::GetDropDownCount, &T::SetDropDownCount).Default(defaultDropDownCount);
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
  p.Prop("Sorted", &T::GetSorted, &T::SetSorted).Default(defaultSorted);
  p.Prop("TabOnEnter", &T::GetTabOnEnter, &T::SetTabOnEnter).Default(false);
  PublishControlProps(p, {"TabOrder"});
  p.Prop("TabStop", &T::GetTabStop, &T::SetTabStop).Default(true);
  PublishControlProps(p, {"Text", "Visible"});
  p.Prop("OnChange", &T::GetOnChange, &T::SetOnChange);
  PublishControlProps(p, {"OnClick"});
  p.Prop("OnCloseUp", &T::GetOnCloseUp, &T::SetOnCloseUp);
  PublishControlProps(p, {"OnContextPopup", "OnDblClick"});
  p.Prop("OnDeleteItem", &T::GetOnDeleteItem, &T::SetOnDeleteItem);
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
  p.Prop("Items", &T::GetItems, &T::SetItems);
  p.Prop("ItemIndex", &T::GetItemIndex, &T::SetItemIndex).Default(-1);
}

// Start-up: the combo boxes' stored-form classes.
void InitializeKxCmboBx();
void FinalizeKxCmboBx();
