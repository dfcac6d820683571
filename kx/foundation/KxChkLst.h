// The check list: an owner-drawn list box with a check box in front of
// every item. Each item has a check state (unchecked, checked, grayed) and
// an enabled flag of its own, kept beside the window's items by
// TKxCheckListStrings. The user toggles a state with the mouse or the
// space bar, the owner is asked first (OnChanging) and told after
// (OnChange); the boxes come from a custom glyph strip, from the visual
// theme or from the built-in bitmaps recoloured to the control's colours.
//
// Line format of the item strings (one item per line, lines ended by
// CR LF): "&", the enabled digit (0 or 1), a blank, the state digit
// (0 unchecked, 1 checked, 2 grayed), a blank, the text, one more blank.
// Files written by earlier versions carry that trailing blank and readers
// keep it as part of the text, so the writer keeps adding it. A line
// without the leading "&" is a plain, enabled, unchecked item.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/StdCtrls.h"
#include "kx/foundation/KxLstBox.h"

// The per-item state of a check list: one check state and one enabled flag.
struct TPacket {
  uint8_t State = cbUnchecked;  // a TCheckBoxState
  bool Enabled = true;
};

// The line that SaveToStream writes for one item, CR LF included.
std::string CheckListItemLine(const std::string& text, const TPacket& packet);
// Reads one line of the format into packet and text. A line that begins with
// "&" gives its flags and the text after its fifth character; any other line
// is the text of an enabled, unchecked item. A state digit out of 0..2 reads
// as unchecked; a fourth character that is no number raises EConvertError.
void ReadCheckListItemLine(const std::string& line, TPacket& packet, std::string& text);

// A string list with a packet beside every string: the check list holds its
// items in one while its window is destroyed and made again. The packets
// follow their strings through inserts, deletes, exchanges and moves.
class TPacketStringList : public TStringList {
  DECLARE_CLASS(TPacketStringList, TStringList)

  // The packet of item index; raises EStringListError for a bad index.
  TPacket GetPacket(int index) const;
  void SetPacket(int index, const TPacket& packet);

  void InsertItem(int index, const std::string& s, TObject* obj) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;
  // Texts and objects, and, from a list that keeps packets, their packets.
  void AddStrings(TStrings* strings) override;

 private:
  std::vector<TPacket> packets_;
};

class TKxCheckList;

// The items of a check list: texts and objects in the list box window, a
// packet per item beside them. Without its check list the list is inert.
class TKxCheckListStrings : public TStrings {
  DECLARE_CLASS(TKxCheckListStrings, TStrings)

  TKxCheckListStrings() = default;

  TKxCheckList* GetCheckList() const { return checkList_; }
  void SetCheckList(TKxCheckList* checkList) { checkList_ = checkList; }

  // The packet of an item, read and written without repainting; a bad index
  // raises EListError "List index out of bounds (%d)".
  TPacket GetPacket(int index) const;
  void SetPacket(int index, const TPacket& packet);
  int GetPacketCount() const { return static_cast<int>(packets_.size()); }

  std::string Get(int index) const override;
  // -1 without a check list.
  int GetCount() const override;
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* obj) override;
  int Add(const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  void Move(int curIndex, int newIndex) override;
  void Exchange(int index1, int index2) override;
  void AddStrings(TStrings* strings) override;
  void SetUpdateState(bool updating) override;
  // The item line format. Loading reads every line before it changes the
  // list: a line it cannot read leaves the list as it was.
  void LoadFromStream(TStream* stream) override;
  void SaveToStream(TStream* stream) override;
  // "Strings", then "ItemEnabled" and "ItemState" (one value per item).
  void DefineProperties(TFiler* filer) override;

 private:
  HWND Window() const;
  void CheckPacketIndex(int index) const;
  int InsertString(UINT msg, int index, const std::string& s);
  void ReadItemEnabled(TReader* reader);
  void WriteItemEnabled(TWriter* writer);
  void ReadItemState(TReader* reader);
  void WriteItemState(TWriter* writer);

  TKxCheckList* checkList_ = nullptr;
  std::vector<TPacket> packets_;
};

// The packet of item index of a list that keeps packets (a check list's
// items or a TPacketStringList); false for any other list.
bool GetPacketOf(TStrings* strings, int index, TPacket& packet);

using TStateChangingEvent =
    TClosure<void(TObject* Sender, int Index, TCheckBoxState NewState, bool& AllowChange)>;
using TStateChangeEvent = TClosure<void(TObject* Sender, int Index, TCheckBoxState NewState)>;

class TKxCheckList : public TKxCustomTabbedListBox {
  DECLARE_CLASS(TKxCheckList, TKxCustomTabbedListBox)

  explicit TKxCheckList(TComponent* owner);

  // --- item states --------------------------------------------------------------
  virtual void ToggleCheckState();
  // color, or one step off it when it would vanish in the glyph (the
  // transparent colour, or the grey of the box's frame).
  virtual TColor CheckColor(TColor color);
  // The item's glyph, GlyphWidth x GlyphHeight, into bitmap.
  virtual void SelectGlyph(int index, TBitmap* bitmap);
  virtual bool GetItemChecked(int index);
  virtual void SetItemChecked(int index, bool checked);
  virtual bool GetItemEnabled(int index);
  virtual void SetItemEnabled(int index, bool enabled);
  virtual TCheckBoxState GetItemState(int index);
  virtual void SetItemState(int index, TCheckBoxState state);
  int AddEx(const std::string& s, bool checked, bool enabled);
  void CheckAll();
  void UncheckAll();
  // Checked items that are not group headers.
  int ItemsChecked();
  void SetGroupState(int groupIndex, TCheckBoxState state);
  void CheckGroup(int groupIndex);
  void UncheckGroup(int groupIndex);
  void EnableGroup(int groupIndex);
  void DisableGroup(int groupIndex);
  void LoadFromFile(const std::string& fileName) { items_->LoadFromFile(fileName); }
  void LoadFromStream(TStream* stream) { items_->LoadFromStream(stream); }
  void SaveToFile(const std::string& fileName) { items_->SaveToFile(fileName); }
  void SaveToStream(TStream* stream) { items_->SaveToStream(stream); }

  // --- properties ----------------------------------------------------------------
  TStrings* GetItems() const override { return items_; }
  TKxCheckListStrings* GetCheckListItems() const { return items_; }
  virtual void SetItems(TStrings* value) override;
  bool GetAllowGrayed() const { return allowGrayed_; }
  virtual void SetAllowGrayed(bool value);
  TBitmap* GetCustomGlyphs() const { return customGlyphs_; }
  virtual void SetCustomGlyphs(TBitmap* value);
  bool GetUseCustomGlyphs() const { return useCustomGlyphs_; }
  virtual void SetUseCustomGlyphs(bool value);
  TColor GetHighlightColor() const { return highlightColor_; }
  virtual void SetHighlightColor(TColor value);
  TColor GetTransparentColor() const { return transparentColor_; }
  virtual void SetTransparentColor(TColor value);
  bool GetToggleOnItemClick() const { return toggleOnItemClick_; }
  void SetToggleOnItemClick(bool value) { toggleOnItemClick_ = value; }
  int GetGlyphWidth() const { return glyphWidth_; }
  int GetGlyphHeight() const { return glyphHeight_; }
  int GetNumStates() const { return numStates_; }
  bool GetChangingItems() const { return changingItems_; }
  void SetChangingItems(bool value) { changingItems_ = value; }

  TStateChangingEvent OnChanging;
  TStateChangeEvent OnChange;
  TStateChangingEvent GetOnChanging() const { return OnChanging; }
  void SetOnChanging(TStateChangingEvent e) { OnChanging = e; }
  TStateChangeEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TStateChangeEvent e) { OnChange = e; }
  virtual bool CanChange(int index, TCheckBoxState newState);
  virtual void Change(int index, TCheckBoxState newState);

  // --- overrides ---------------------------------------------------------------------
  void UpdateItemHeight() override;
  int OwnerDrawItemIndent() override { return glyphWidth_ + 8; }
  int InitialTabStopOffset() override { return glyphWidth_; }
  void DrawListItem(int index, TRect rect, TOwnerDrawState state) override;
  void DefaultDrawItem(int index, TRect rect, TOwnerDrawState state) override;
  void Loaded() override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyUp(WORD& key, TShiftState shift) override;
  void WMChar(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;

 protected:
  void Destroy() override;

 private:
  void CustomGlyphsChanged(TObject* sender);
  void UpdateGlyphSize();
  TRect CheckArea(int index);

  TKxCheckListStrings* items_ = nullptr;
  bool allowGrayed_ = false;
  int numStates_ = 6;
  int glyphWidth_ = 13;
  int glyphHeight_ = 13;
  TBitmap* customGlyphs_ = nullptr;
  bool useCustomGlyphs_ = false;
  TColor transparentColor_ = clOlive;
  TColor highlightColor_ = clHighlight;
  bool toggleOnItemClick_ = false;
  bool changingItems_ = false;
  bool changingState_ = false;
  int selectedItem_ = -1;
  TPacketStringList* savedItems_ = nullptr;
  int savedTopIndex_ = 0;
  int savedItemIndex_ = -1;
};

// Start-up: the check list's stored-form class.
void InitializeKxChkLst();
void FinalizeKxChkLst();
