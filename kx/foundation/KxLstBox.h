// The framed library's list boxes.
//
// TKxCustomListBox extends the class library's list box with a type-ahead
// search that gathers keystrokes for 1500 ms, group header items (a text
// prefix, drawn in a group font over a gradient), colours that follow the
// enabled and focused state, a custom frame drawn in the non-client area
// with hot tracking and mouse-enter and mouse-leave events (the machinery
// the framed combo boxes and edits share, KxFramed.h), an automatic
// horizontal extent, tool tips for items wider than the list and wheel
// scrolling by the system's line count. TKxListBox publishes it.
//
// TKxCustomTabbedListBox adds tab-separated columns: stops kept in a
// TKxTabStopList (in average character widths; a negative stop is a
// right-aligned column), set by hand, fitted to the widest text of every
// column, or taken from a header control; single cells can be read and
// written. TKxTabbedListBox publishes it.
//
// TKxEditListBox edits an item in place in a small pop-up edit
// (TKxPopupEdit): a click on the item that was already selected opens it
// after 400 ms, F2 at once; Enter keeps the text, Escape drops it.
// TKxRankListBox lets the user reorder items by dragging them (with Shift
// by default) or with Shift and the cursor keys. TKxFontListBox lists the
// installed fonts with type glyphs, samples, a block of the most recently
// used ones and a pop-up preview (TKxPreviewFontPanel); what it shares
// with the font combo box is TKxFontListCore (KxFontLists.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/ComCtrls.h"
#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"
#include "kx/foundation/KxCommon.h"
#include "kx/foundation/KxFontLists.h"
#include "kx/foundation/KxFramed.h"
#include "kx/foundation/KxIntLst.h"

// The type-ahead search's reset, shared by the framed list and combo boxes:
// the search string goes once the interval has passed since the last
// keystroke. Restarting a window timer at every key would cost two round
// trips to the window server per key (under Wine, the larger part of a
// search over a long list), so a key only notes the time; the timer, set
// at the first key, is set again for what remains when it comes early.
class TKxSearchTimer {
 public:
  TKxSearchTimer(UINT interval, TNotifyEvent onTimer);
  ~TKxSearchTimer();
  TKxSearchTimer(const TKxSearchTimer&) = delete;
  TKxSearchTimer& operator=(const TKxSearchTimer&) = delete;

  TTimer* Timer() const { return timer_; }
  // A keystroke: the interval starts again from now.
  void Restart();
  // In the timer's event: true (and the timer stopped) when the interval
  // has passed since the last keystroke.
  bool Due();

 private:
  TTimer* timer_ = nullptr;
  UINT interval_;
  DWORD lastKey_ = 0;
};

// The keys that move about the list or cancel: each one ends the type-ahead
// search, so the next character starts a new search string.
bool KxKeyEndsSearch(WORD key);

class TKxCustomListBox : public TKxFramed<TCustomListBox> {
  DECLARE_CLASS(TKxCustomListBox, TKxFramed<TCustomListBox>)

  explicit TKxCustomListBox(TComponent* owner);

  // --- items --------------------------------------------------------------------
  int Add(const std::string& s) { return GetItems()->Add(s); }
  int AddObject(const std::string& s, TObject* obj) { return GetItems()->AddObject(s, obj); }
  void Insert(int index, const std::string& s) { GetItems()->Insert(index, s); }
  void InsertObject(int index, const std::string& s, TObject* obj) { GetItems()->InsertObject(index, s, obj); }
  int IndexOf(const std::string& s) { return GetItems()->IndexOf(s); }
  // Deletes the item; the selection stays on the same place (the new last
  // item when the last one went) and Click fires.
  void Delete(int index);
  // Deletes every selected item, last first, then fires OnDeleteItems.
  void DeleteSelectedItems();
  // The selected item's text, or "" when none is selected.
  std::string SelectedItem();
  // Selects the item equal to s; true when there is one.
  bool FindItem(const std::string& s);
  void SelectAll() override;
  void UnselectAll();
  // The first item that begins with s, without regard to case; -1 if none.
  virtual int FindClosest(const std::string& s);
  void ClearSearchString();
  const std::string& GetSearchString() const { return searchString_; }

  // --- groups ---------------------------------------------------------------------
  int AddGroup(const std::string& caption);
  virtual bool GetItemIsGroup(int index);
  void ItemToGroup(int index);
  void GroupToItem(int index);
  int ItemIndexOfGroup(int groupIndex);
  int ItemsInGroup(int groupIndex);
  int InsertItemIntoGroup(int groupIndex, int position, const std::string& s);
  int AddItemToGroup(int groupIndex, const std::string& s);
  std::string ItemCaption(int index);
  virtual int ItemGroupIndex(int index);
  virtual bool ItemInsideGroup(int index);

  // --- colours and frame (TKxFramed; what the list box does its own way) -------------
  void UpdateFrame(bool isMouse, bool value) override;
  void RepaintFrame() override;
  // Showing or hiding the frame makes the window again, with the 3-D border
  // the frame is drawn over.
  void SetFrameVisible(bool value) override;
  // The list box follows the window's focus itself, not what entering and
  // leaving recorded.
  bool FrameFocused() const override { return Focused(); }
  // A new disabled or focus colour brings the colours in line whatever the
  // state, and the frame is drawn again.
  void SetDisabledColor(TColor value) override;
  void SetFocusColor(TColor value) override;
  // The list box's own stored rules: Color is left out while it follows
  // the parent's, FocusColor while it is the same value as Color.
  bool IsColorStored() const;
  bool IsFocusColorStored() const;

  // --- groups' look, extent, hints ----------------------------------------------------
  const std::string& GetGroupPrefix() const { return groupPrefix_; }
  virtual void SetGroupPrefix(const std::string& value);
  bool IsGroupPrefixStored() const { return groupPrefix_ != "//"; }
  TColor GetGroupColor() const { return groupColor_; }
  virtual void SetGroupColor(TColor value);
  TFont* GetGroupFont() const { return groupFont_; }
  virtual void SetGroupFont(TFont* value);
  bool GetUseGradients() const { return useGradients_; }
  virtual void SetUseGradients(bool value);
  bool GetShowGroups() const { return showGroups_; }
  virtual void SetShowGroups(bool value);
  uint16_t GetHorzExtent() const { return static_cast<uint16_t>(horzExtent_); }
  virtual void SetHorzExtent(int value);
  bool GetHorzScrollBar() const { return horzScrollBar_; }
  virtual void SetHorzScrollBar(bool value);
  int GetOwnerDrawIndent() const { return ownerDrawIndent_; }
  virtual void SetOwnerDrawIndent(int value);
  bool GetBeepOnInvalidKey() const { return beepOnInvalidKey_; }
  void SetBeepOnInvalidKey(bool value) { beepOnInvalidKey_ = value; }
  bool GetTabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool value) { tabOnEnter_ = value; }
  bool GetShowItemHints() const { return showItemHints_; }
  void SetShowItemHints(bool value) { showItemHints_ = value; }
  // The item tool tip, made the first time one is shown.
  THintWindow* GetItemHintWindow() const { return itemHintWindow_; }
  // The search timer (1500 ms): tests fire it through the timer seam.
  TTimer* GetSearchTimer() const { return searchTimer_.Timer(); }

  virtual int OwnerDrawItemIndent() { return ownerDrawIndent_; }
  virtual void UpdateItemHeight();
  virtual void GroupFontChanged(TObject* sender);
  virtual void AdjustHorzExtent();

  // --- drawing -----------------------------------------------------------------------
  virtual void DrawListItem(int index, TRect rect, TOwnerDrawState state);
  virtual void DrawGroup(int index, TRect rect, TOwnerDrawState state);
  virtual void DefaultDrawItem(int index, TRect rect, TOwnerDrawState state);
  // The text of a group header, in the canvas's font over what DrawGroup
  // painted.
  virtual void DrawGroupText(int index, TRect rect, const std::string& text);
  void DrawItem(int index, TRect rect, TOwnerDrawState state) override;

  // --- events --------------------------------------------------------------------------
  TNotifyEvent OnMatch;
  TNotifyEvent OnDeleteItems;
  TNotifyEvent GetOnMatch() const { return OnMatch; }
  void SetOnMatch(TNotifyEvent e) { OnMatch = e; }
  TNotifyEvent GetOnDeleteItems() const { return OnDeleteItems; }
  void SetOnDeleteItems(TNotifyEvent e) { OnDeleteItems = e; }
  virtual void Match();
  virtual void DoDeleteItems();
  // A wheel notch scrolls by the system's line count; always handled.
  bool DoMouseWheelDown(TShiftState shift, POINT mousePos) override;
  bool DoMouseWheelUp(TShiftState shift, POINT mousePos) override;
  void Resize() override;

  // --- window and messages --------------------------------------------------------------
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& m) override;
  void Dispatch(TMessage& m) override;
  void WMLButtonDown(TMessage& m) override;
  void WMKeyDown(TMessage& m) override;
  void WMChar(TMessage& m) override;
  virtual void WMNCPaint(TMessage& m);
  void WMSize(TMessage& m) override;
  void WMMouseMove(TMessage& m) override;
  void CNDrawItem(TMessage& m) override;
  void CMParentColorChanged(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  void CMEnter(TMessage& m) override;
  void CMExit(TMessage& m) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;

 protected:
  void Destroy() override;
  void ColorApplied() override;
  // The frame is drawn against the parent: its ring takes the parent's
  // colour.
  TColor FrameSurroundColor() override;
  // Runs the search with text (the type-ahead's step).
  void SearchFor(const std::string& text, char key);
  void ShowItemHint(TPoint clientPos);
  void HideItemHint();
  // The vertical position of a line of text in an item: (ItemHeight - the
  // height of "Pp") / 2, truncated toward zero.
  int TextOffset(TCanvas* canvas);

 private:
  void SearchTimerExpired(TObject* sender);

  bool beepOnInvalidKey_ = true;
  std::string searchString_;
  TKxSearchTimer searchTimer_;
  bool searching_ = false;
  std::string groupPrefix_ = "//";
  TColor groupColor_ = clInactiveCaptionText;
  TFont* groupFont_ = nullptr;
  bool groupFontSet_ = false;
  bool useGradients_ = true;
  bool tabOnEnter_ = false;
  bool showItemHints_ = true;
  int ownerDrawIndent_ = 0;
  int horzExtent_ = 0;
  bool horzScrollBar_ = false;
  bool showGroups_ = false;
  THintWindow* itemHintWindow_ = nullptr;
};

class TKxListBox : public TKxCustomListBox {
  DECLARE_CLASS(TKxListBox, TKxCustomListBox)
  using TKxCustomListBox::TKxCustomListBox;
};

// ---------------------------------------------------------------------------
// Tabbed list box

enum TKxTabStopsMode { tsmManual, tsmAutomatic };
DECLARE_ENUM_TYPE(TKxTabStopsMode);

class TKxCustomTabbedListBox;

// The tab stops of a tabbed list box, in average character widths; every
// change is passed on to the list box's window.
class TKxTabStopList : public TKxIntegerList {
  DECLARE_CLASS(TKxTabStopList, TKxIntegerList)

  TKxTabStopList() = default;
  explicit TKxTabStopList(TKxCustomTabbedListBox* listBox);

  TKxCustomTabbedListBox* GetListBox() const { return listBox_; }
  void SetItem(int index, int value) override;
  void Delete(int index) override;
  void Insert(int index, int value) override;
  int Add(int value) override;

 private:
  TKxCustomTabbedListBox* listBox_ = nullptr;
};

class TKxCustomTabbedListBox : public TKxCustomListBox {
  DECLARE_CLASS(TKxCustomTabbedListBox, TKxCustomListBox)

  explicit TKxCustomTabbedListBox(TComponent* owner);

  // The left offset of column 0's text (the check list's glyph width).
  virtual int InitialTabStopOffset() { return 0; }
  // Fits the stops to the widest text of every column.
  virtual void AdjustTabStops();
  TKxTabStopList* GetTabStops() const { return tabStops_; }
  virtual void SetTabStops(TKxTabStopList* value);
  bool IsTabStopsStored() const { return tabStops_->GetCount() > 0; }
  TKxTabStopsMode GetTabStopsMode() const { return tabStopsMode_; }
  virtual void SetTabStopsMode(TKxTabStopsMode value);
  // The stops as the list box message takes them (dialog template units,
  // four per average character width), at most 1000.
  virtual std::vector<int> GetTabArray();
  // The stops in pixels for the tabbed-text functions, at most 1000.
  std::vector<int> TabStopPixels();
  virtual void UpdateTabStops();
  // Average character width of the font in pixels (never below 1).
  int GetDialogUnits() const { return dialogUnits_; }
  // Takes the stops from a THeader's or a THeaderControl's section widths.
  void UpdateFromHeader(TControl* control);
  virtual std::string GetCellText(int column, int row);
  virtual void SetCellText(int column, int row, const std::string& value);

  void GroupFontChanged(TObject* sender) override;
  void DrawGroupText(int index, TRect rect, const std::string& text) override;
  void DefaultDrawItem(int index, TRect rect, TOwnerDrawState state) override;
  void AdjustHorzExtent() override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;
  void WndProc(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;

 protected:
  void Destroy() override;
  void UpdateDialogUnits();
  // Text with its columns at the tab stops, from (x, y) on dc.
  void TabbedText(HDC dc, int x, int y, const std::string& text);

 private:
  int dialogUnits_ = 6;
  TKxTabStopList* tabStops_ = nullptr;
  TKxTabStopsMode tabStopsMode_ = tsmManual;
};

class TKxTabbedListBox : public TKxCustomTabbedListBox {
  DECLARE_CLASS(TKxTabbedListBox, TKxCustomTabbedListBox)
  using TKxCustomTabbedListBox::TKxCustomTabbedListBox;
};

// The published properties of the framed list boxes (the list box, the
// tabbed list box and the check list publish the same set).
template <class T>
void PublishKxListBoxProps(TPublisher<T>& p) {
  PublishControlProps(p, {"Align", "Anchors"});
  p.Prop("BeepOnInvalidKey", &T::GetBeepOnInvalidKey, &T::SetBeepOnInvalidKey).Default(true);
  PublishControlProps(p, {"BiDiMode"});
  p.Prop("BorderStyle", &T::GetBorderStyle, &T::SetBorderStyle).Default(bsSingle);
  p.Prop("Color", &T::GetNormalColor, &T::SetColor)
      .Default(clWindow)
      .Stored(&T::IsColorStored)
      .Type(TColorTypeInfo());
  p.Prop("Columns", &T::GetColumns, &T::SetColumns).Default(0);
  PublishControlProps(p, {"Constraints", "Ctl3D"});
  p.Prop("DisabledColor", &T::GetDisabledColor, &T::SetDisabledColor)
      .Default(clBtnFace)
      .Type(TColorTypeInfo());
  PublishControlProps(p, {"DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("ExtendedSelect", &T::GetExtendedSelect, &T::SetExtendedSelect).Default(true);
  p.Prop("FocusColor", &T::GetFocusColor, &T::SetFocusColor)
      .Default(clWindow)
      .Stored(&T::IsFocusColorStored)
      .Type(TColorTypeInfo());
  PublishControlProps(p, {"Font"});
  p.Prop("FrameColor", &T::GetFrameColor, &T::SetFrameColor)
      .Default(clBtnShadow)
      .Stored(&T::IsFrameStored)
      .Type(TColorTypeInfo());
  p.Prop("FrameController", &T::GetFrameController, &T::SetFrameController);
  p.Prop("FrameHotColor", &T::GetFrameHotColor, &T::SetFrameHotColor)
      .Default(clBtnShadow)
      .Stored(&T::IsFrameStored)
      .Type(TColorTypeInfo());
  p.Prop("FrameHotTrack", &T::GetFrameHotTrack, &T::SetFrameHotTrack)
      .Default(false);
  p.Prop("FrameHotStyle", &T::GetFrameHotStyle, &T::SetFrameHotStyle)
      .Default(fsFlatBold)
      .Type(TFrameStyleTypeInfo());
  p.Prop("FrameSides", &T::GetFrameSides, &T::SetFrameSides)
      .Default(TSides{sdLeft, sdTop, sdRight, sdBottom});
  p.Prop("FrameStyle", &T::GetFrameStyle, &T::SetFrameStyle)
      .Default(fsFlat)
      .Type(TFrameStyleTypeInfo());
  p.Prop("FrameVisible", &T::GetFrameVisible, &T::SetFrameVisible)
      .Default(false);
  p.Prop("FramingPreference", &T::GetFramingPreference, &T::SetFramingPreference)
      .Default(fpXPThemes);
  p.Prop("GroupColor", &T::GetGroupColor, &T::SetGroupColor)
      .Default(clInactiveCaptionText)
      .Type(TColorTypeInfo());
  p.Prop("GroupFont", &T::GetGroupFont, &T::SetGroupFont);
  p.Prop("GroupPrefix", &T::GetGroupPrefix, &T::SetGroupPrefix)
      .Stored(&T::IsGroupPrefixStored);
  p.Prop("HorzExtent", &T::GetHorzExtent, &T::SetHorzExtent).Default(0);
  p.Prop("HorzScrollBar", &T::GetHorzScrollBar, &T::SetHorzScrollBar).Default(false);
  PublishControlProps(p, {"ImeMode", "ImeName"});
  p.Prop("IntegralHeight", &T::GetIntegralHeight, &T::SetIntegralHeight).Default(false);
  p.Prop("ItemHeight", &T::GetItemHeight, &T::SetItemHeight);
  p.Prop("Items", &T::GetItems, &T::SetItems);
  p.Prop("MultiSelect", &T::GetMultiSelect, &T::SetMultiSelect).Default(false);
  p.Prop("OwnerDrawIndent", &T::GetOwnerDrawIndent, &T::SetOwnerDrawIndent).Default(0);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("ShowGroups", &T::GetShowGroups, &T::SetShowGroups).Default(false);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("ShowItemHints", &T::GetShowItemHints, &T::SetShowItemHints).Default(true);
  p.Prop("Sorted", &T::GetSorted, &T::SetSorted).Default(false);
  p.Prop("Style", &T::GetStyle, &T::SetStyle).Default(lbStandard);
  p.Prop("TabOnEnter", &T::GetTabOnEnter, &T::SetTabOnEnter).Default(false);
  PublishControlProps(p, {"TabOrder"});
  p.Prop("TabStop", &T::GetTabStop, &T::SetTabStop).Default(true);
  p.Prop("TabWidth", &T::GetTabWidth, &T::SetTabWidth).Default(0);
  p.Prop("UseGradients", &T::GetUseGradients, &T::SetUseGradients).Default(true);
  PublishControlProps(p, {"Visible", "OnClick", "OnContextPopup", "OnDblClick"});
  p.Prop("OnDeleteItems", &T::GetOnDeleteItems, &T::SetOnDeleteItems);
  PublishControlProps(p, {"OnDragDrop", "OnDragOver"});
  p.Prop("OnDrawItem", &T::GetOnDrawItem, &T::SetOnDrawItem);
  PublishControlProps(p, {"OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"});
  p.Prop("OnMatch", &T::GetOnMatch, &T::SetOnMatch);
  p.Prop("OnMeasureItem", &T::GetOnMeasureItem, &T::SetOnMeasureItem);
  PublishControlProps(p, {"OnMouseDown"});
  p.Prop("OnMouseEnter", &T::GetOnMouseEnter, &T::SetOnMouseEnter);
  p.Prop("OnMouseLeave", &T::GetOnMouseLeave, &T::SetOnMouseLeave);
  PublishControlProps(p, {"OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
}

// ---------------------------------------------------------------------------
// Edit list box

class TKxEditListBox;

// The in-place editor of an edit list box.
class TKxPopupEdit : public TCustomEdit {
  DECLARE_CLASS(TKxPopupEdit, TCustomEdit)

  explicit TKxPopupEdit(TComponent* owner);

  TKxEditListBox* GetListBox() const { return listBox_; }
  void SetListBox(TKxEditListBox* list) { listBox_ = list; }

  void CreateParams(TCreateParams& params) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void Dispatch(TMessage& m) override;
  void CNKeyDown(TMessage& m) override;
  void WMKillFocus(TMessage& m) override;

 private:
  TKxEditListBox* listBox_ = nullptr;
};

using TKxSizeEditRectEvent = TClosure<void(TObject* Sender, int Index, TRect& Rect)>;
using TKxShowingEditorEvent = TClosure<void(TObject* Sender, int Index, bool& AllowEdit)>;
using TKxItemChangedEvent = TClosure<void(TObject* Sender, int Index)>;

class TKxEditListBox : public TKxListBox {
  DECLARE_CLASS(TKxEditListBox, TKxListBox)

  explicit TKxEditListBox(TComponent* owner);
  ~TKxEditListBox() override { DestroyUnfinished(); }

  bool GetAllowEdit() const { return allowEdit_; }
  void SetAllowEdit(bool v) { allowEdit_ = v; }
  bool GetAllowDeleteByKbd() const { return allowDeleteByKbd_; }
  void SetAllowDeleteByKbd(bool v) { allowDeleteByKbd_ = v; }
  bool GetPopupVisible() const { return popupVisible_; }
  TKxPopupEdit* GetEditor() const { return editor_; }
  // The click-to-edit delay (400 ms): tests fire it through the timer seam.
  TTimer* GetEditTimer() const { return editTimer_; }
  int GetCurrIdx() const { return currIdx_; }

  // Opens the editor on the caret item.
  virtual void ShowEditor();
  // Closes the editor, keeping its text when accept.
  virtual void HideEditor(bool accept);
  virtual void SizeEditRect(int index, TRect& rect);
  virtual void DoShowingEditor(int index, bool& allowEdit);
  virtual void DoHidingEditor();
  virtual void ItemChanged(int index);

  TKxSizeEditRectEvent OnSizeEditRect;
  TKxShowingEditorEvent OnShowingEditor;
  TNotifyEvent OnHidingEditor;
  TKxItemChangedEvent OnItemChanged;
  TKxSizeEditRectEvent GetOnSizeEditRect() const { return OnSizeEditRect; }
  void SetOnSizeEditRect(TKxSizeEditRectEvent e) { OnSizeEditRect = e; }
  TKxShowingEditorEvent GetOnShowingEditor() const { return OnShowingEditor; }
  void SetOnShowingEditor(TKxShowingEditorEvent e) { OnShowingEditor = e; }
  TNotifyEvent GetOnHidingEditor() const { return OnHidingEditor; }
  void SetOnHidingEditor(TNotifyEvent e) { OnHidingEditor = e; }
  TKxItemChangedEvent GetOnItemChanged() const { return OnItemChanged; }
  void SetOnItemChanged(TKxItemChangedEvent e) { OnItemChanged = e; }

  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void WMSetFocus(TMessage& m) override;
  void WMLButtonDown(TMessage& m) override;
  void WMLButtonDblClk(TMessage& m) override;

 protected:
  void Destroy() override;

 private:
  void EditTimerExpired(TObject* sender);

  bool allowEdit_ = true;
  bool allowDeleteByKbd_ = false;
  bool popupVisible_ = false;
  TKxPopupEdit* editor_ = nullptr;
  TTimer* editTimer_ = nullptr;
  int currIdx_ = -1;
  int editorIdx_ = -1;
  bool justGotFocus_ = false;
  bool showEditorOnNextClick_ = false;
  bool doubleClicked_ = false;
};

// ---------------------------------------------------------------------------
// Rank list box

enum TKxModifierKey { mkShift, mkNone };
DECLARE_ENUM_TYPE(TKxModifierKey);
using TKxMoveItemEvent = TClosure<void(TObject* Sender, int OldIndex, int NewIndex)>;

class TKxRankListBox : public TKxListBox {
  DECLARE_CLASS(TKxRankListBox, TKxListBox)

  explicit TKxRankListBox(TComponent* owner);

  TKxModifierKey GetModifierKey() const { return modifierKey_; }
  void SetModifierKey(TKxModifierKey v) { modifierKey_ = v; }
  bool GetMoveOnDrag() const { return moveOnDrag_; }
  // Refused while an item is being moved.
  void SetMoveOnDrag(bool value);
  bool GetMoving() const { return moving_; }
  // Items.Move, the moved item selected, then OnMoveItem.
  virtual void MoveItem(int oldIndex, int newIndex);

  TKxMoveItemEvent OnMoveItem;
  TKxMoveItemEvent GetOnMoveItem() const { return OnMoveItem; }
  void SetOnMoveItem(TKxMoveItemEvent e) { OnMoveItem = e; }

  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;

 private:
  // Where an item dragged to a client point goes (the point moved into the
  // client area first).
  int TargetAt(POINT p, bool above);

  TKxModifierKey modifierKey_ = mkShift;
  bool moveOnDrag_ = true;
  bool moving_ = false;
  int movingIndex_ = -1;
  HCURSOR savedCursor_ = nullptr;
};

// ---------------------------------------------------------------------------
// Font list box

class TKxFontListBox : public TKxCustomListBox, public TKxFontListCore {
  DECLARE_CLASS(TKxFontListBox, TKxCustomListBox)

  explicit TKxFontListBox(TComponent* owner);
  ~TKxFontListBox() override { DestroyUnfinished(); }

  int GetMRUCount() const { return LastMRU(); }
  using TKxFontListCore::AddFontToMRUList;

  void DefaultDrawItem(int index, TRect rect, TOwnerDrawState state) override;
  void CNDrawItem(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* component, TOperation operation) override;
  void Dispatch(TMessage& m) override;

 protected:
  TStrings* FontItems() override { return GetItems(); }
  POINT PreviewPlace() override;
};

// Start-up: the list boxes' stored-form classes.
void InitializeKxLstBox();
void FinalizeKxLstBox();
