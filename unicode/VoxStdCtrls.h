// VoxStdCtrls: the class library's standard controls with UTF-16 text.
//
// Each wide control descends from the class library's control, makes a
// Unicode window of its system class through the layer's creation seam
// (edits on "EDIT", buttons on "BUTTON" ...), and publishes the same
// properties as its class library twin, with the text-carrying ones wide:
// Text, Caption, Hint, an edit's PasswordChar, a memo's Lines, the items of
// a combo box or list box. The ANSI properties stay reachable through the
// class library's base, and keep in step with the wide ones (the wide value
// counts while its ANSI form is still the ANSI value).
//
// Where the wide API is missing (Win32PlatformIsUnicode false) the controls
// behave as their class library twins.
#pragma once

#include <string>

#include "classlib/StdCtrls.h"
#include "unicode/VoxActnList.h"
#include "unicode/VoxClasses.h"
#include "unicode/VoxControls.h"

// The members every wide control has over its class library Base: the
// wide link and ActionChange step, the wide-property companions of the
// stored form, the wide Hint and the stored rules of Caption/Text and Hint.
template <class Base>
class TVoxControlOf : public Base {
 public:
  using Base::Base;

  void DefineProperties(TFiler* filer) override {
    Base::DefineProperties(filer);
    VoxPersistent_AfterInherited_DefineProperties(filer, this);
  }
  void ActionChange(TObject* sender, bool checkDefaults) override {
    VoxControl_BeforeInherited_ActionChange(this, sender, checkDefaults);
    Base::ActionChange(sender, checkDefaults);
  }
  TClass GetActionLinkClass() override { return VoxControl_GetActionLinkClass(this, Base::GetActionLinkClass()); }

  std::wstring GetHint() { return VoxControl_GetHint(this); }
  void SetHint(const std::wstring& v) { VoxControl_SetHint(this, v); }
  bool IsHintStored() const { return VoxControl_IsHintStored(const_cast<TVoxControlOf*>(this)); }
  bool IsCaptionStored() const { return VoxControl_IsCaptionStored(const_cast<TVoxControlOf*>(this)); }
};

// Publishes the wide Hint, and the wide Caption (or Text) with its stored
// rule, of a wide control class T.
template <class T>
void PublishWideHint(TPublisher<T>& p) {
  p.Prop("Hint", &T::GetHint, &T::SetHint).Stored(&T::IsHintStored);
}
template <class T>
void PublishWideCaption(TPublisher<T>& p) {
  p.Prop("Caption", &T::GetCaption, &T::SetCaption).Stored(&T::IsCaptionStored);
}
template <class T>
void PublishWideText(TPublisher<T>& p) {
  p.Prop("Text", &T::GetText, &T::SetText).Stored(&T::IsCaptionStored);
}

// --- Edits --------------------------------------------------------------------------------

// The edit's window: a Unicode EDIT; on a Far-East 9x system a read-only
// edit is made writable and then set read-only.
void VoxCustomEdit_CreateWindowHandle(TCustomEdit* edit, const TCreateParams& params);
// After the inherited CreateWnd: the wide password character to the new window.
void VoxCustomEdit_AfterInherited_CreateWnd(TCustomEdit* edit, const std::wstring& passwordChar);
// The selection in characters of the wide text (on 9x translated from the
// ANSI bytes the window counts).
int VoxCustomEdit_GetSelStart(TCustomEdit* edit);
void VoxCustomEdit_SetSelStart(TCustomEdit* edit, int value);
int VoxCustomEdit_GetSelLength(TCustomEdit* edit);
void VoxCustomEdit_SetSelLength(TCustomEdit* edit, int value);
std::wstring VoxCustomEdit_GetSelText(TCustomEdit* edit);
void VoxCustomEdit_SetSelText(TCustomEdit* edit, const std::wstring& value);
// The wide password character, first brought in step with the ANSI one.
std::wstring VoxCustomEdit_GetPasswordChar(TCustomEdit* edit, std::wstring& passwordChar);
void VoxCustomEdit_SetPasswordChar(TCustomEdit* edit, std::wstring& passwordChar, const std::wstring& value);

class TVoxCustomEdit : public TVoxControlOf<TCustomEdit> {
  DECLARE_CLASS(TVoxCustomEdit, TCustomEdit)

  explicit TVoxCustomEdit(TComponent* owner);

  void CreateWindowHandle(const TCreateParams& params) override;
  void CreateWnd() override;

  std::wstring GetText() { return VoxControl_GetText(this); }
  void SetText(const std::wstring& v) { VoxControl_SetText(this, v); }
  int GetSelStart() { return VoxCustomEdit_GetSelStart(this); }
  void SetSelStart(int v) { VoxCustomEdit_SetSelStart(this, v); }
  int GetSelLength() { return VoxCustomEdit_GetSelLength(this); }
  void SetSelLength(int v) { VoxCustomEdit_SetSelLength(this, v); }
  std::wstring GetSelText() { return VoxCustomEdit_GetSelText(this); }
  void SetSelText(const std::wstring& v) { VoxCustomEdit_SetSelText(this, v); }
  // At most one character; "" for none.
  std::wstring GetPasswordChar() { return VoxCustomEdit_GetPasswordChar(this, passwordChar_); }
  void SetPasswordChar(const std::wstring& v) { VoxCustomEdit_SetPasswordChar(this, passwordChar_, v); }

 private:
  std::wstring passwordChar_;
};

class TVoxEdit : public TVoxCustomEdit {
  DECLARE_CLASS(TVoxEdit, TVoxCustomEdit)
  using TVoxCustomEdit::TVoxCustomEdit;
};

// --- Memos -------------------------------------------------------------------------------------

// The start and length of a line of a memo's Unicode window (EM_LINEINDEX,
// EM_LINELENGTH); -1 / 0 for a line it does not have.
int VoxMemo_LineStart(HWND handle, int index);
int VoxMemo_LineLength(HWND handle, int index);

// The lines of a memo, wide: read and written in its window while that is a
// Unicode window, through the class library's ANSI Lines otherwise.
class TVoxMemoStrings : public TVoxStrings {
  DECLARE_CLASS(TVoxMemoStrings, TVoxStrings)

  TVoxMemoStrings() = default;
  explicit TVoxMemoStrings(TCustomMemo* memo) : memo_(memo) {}

  std::wstring Get(int index) const override;
  int GetCount() const override;
  void Put(int index, const std::wstring& s) override;
  void Insert(int index, const std::wstring& s) override;
  void Delete(int index) override;
  void Clear() override;
  std::wstring GetTextStr() const override;
  void SetTextStr(const std::wstring& value) override;
  void SetUpdateState(bool updating) override;

 private:
  // The window, when it is a Unicode one (made when there is none yet).
  HWND WideWindow() const;
  void ReplaceRange(HWND h, int start, int end, const std::wstring& s) const;
  TCustomMemo* memo_ = nullptr;
};

class TVoxCustomMemo : public TVoxControlOf<TCustomMemo> {
  DECLARE_CLASS(TVoxCustomMemo, TCustomMemo)

  explicit TVoxCustomMemo(TComponent* owner);
  ~TVoxCustomMemo() override { DestroyUnfinished(); }

  void CreateWindowHandle(const TCreateParams& params) override;

  std::wstring GetText() { return VoxControl_GetText(this); }
  void SetText(const std::wstring& v) { VoxControl_SetText(this, v); }
  int GetSelStart() { return VoxCustomEdit_GetSelStart(this); }
  void SetSelStart(int v) { VoxCustomEdit_SetSelStart(this, v); }
  int GetSelLength() { return VoxCustomEdit_GetSelLength(this); }
  void SetSelLength(int v) { VoxCustomEdit_SetSelLength(this, v); }
  std::wstring GetSelText() { return VoxCustomEdit_GetSelText(this); }
  void SetSelText(const std::wstring& v) { VoxCustomEdit_SetSelText(this, v); }
  TVoxStrings* GetLines() const { return lines_; }
  void SetLines(TVoxStrings* v) { lines_->Assign(v); }

 protected:
  void Destroy() override;

 private:
  TVoxMemoStrings* lines_ = nullptr;
};

class TVoxMemo : public TVoxCustomMemo {
  DECLARE_CLASS(TVoxMemo, TVoxCustomMemo)
  using TVoxCustomMemo::TVoxCustomMemo;
};

// --- List boxes ------------------------------------------------------------------------------------

// The control's window when it is a Unicode one (made when there is none
// yet and the wide API is there); null otherwise.
HWND VoxControl_WideHandle(TWinControl* control);

// The wide data of item index of a virtual list box.
using TLBGetWideDataEvent = TClosure<void(TWinControl* Control, int Index, std::wstring& Data)>;

class TVoxCustomListBox;

// The items of a wide list box, kept in its Unicode window; their objects
// are the items' data.
class TVoxListBoxStrings : public TVoxStrings {
  DECLARE_CLASS(TVoxListBoxStrings, TVoxStrings)

  TVoxListBoxStrings() = default;
  explicit TVoxListBoxStrings(TVoxCustomListBox* listBox) : listBox_(listBox) {}

  // A bad index raises EStringListError "List index out of bounds (%d)".
  std::wstring Get(int index) const override;
  int GetCount() const override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* obj) override;
  // The item's data and the item index stay.
  void Put(int index, const std::wstring& s) override;
  // A refusal of the window raises EOutOfResources "Unable to insert a line".
  int Add(const std::wstring& s) override;
  void Insert(int index, const std::wstring& s) override;
  void Delete(int index) override;
  void Clear() override;
  // Texts and data change places; the item index follows its item.
  void Exchange(int index1, int index2) override;
  // The item keeps its data.
  void Move(int curIndex, int newIndex) override;
  int IndexOf(const std::wstring& s) const override;
  void SetUpdateState(bool updating) override;

 private:
  TStrings* Ansi() const;
  TVoxCustomListBox* listBox_ = nullptr;
};

// Before the inherited DestroyWnd: the items (not of a virtual list box),
// the top index and the item index into saved, topIndex and itemIndex, and
// the window's items cleared. After the inherited CreateWnd: put back.
void VoxListBox_BeforeInherited_DestroyWnd(TCustomListBox* listBox, TVoxStrings* items, TVoxStringList*& saved,
                                           int& topIndex, int& itemIndex);
void VoxListBox_AfterInherited_CreateWnd(TCustomListBox* listBox, TVoxStrings* items, TVoxStringList*& saved,
                                         int topIndex, int itemIndex);
// The item's wide text in the canvas of an owner-drawn list box.
void VoxListBox_DrawItem_Text(TCustomListBox* listBox, TVoxStrings* items, int index, TRect rect);
void VoxListBox_AddItem(TVoxStrings* items, const std::wstring& item, TObject* object);
// Adds the selected items (all of a multi-select list box, else the item
// index's) to destination, wide where it takes wide items.
void VoxListBox_CopySelection(TCustomListBox* listBox, TVoxStrings* items, TCustomListControl* destination);

class TVoxCustomListBox : public TVoxControlOf<TCustomListBox>, public IWideCustomListControl {
  DECLARE_CLASS(TVoxCustomListBox, TCustomListBox)

  explicit TVoxCustomListBox(TComponent* owner);
  ~TVoxCustomListBox() override { DestroyUnfinished(); }

  TVoxStrings* GetItems() { return items_; }
  void SetItems(TVoxStrings* v) { items_->Assign(v); }
  void AddItem(const std::wstring& item, TObject* object) override;
  void CopySelection(TCustomListControl* destination) override;

  // The wide data of a virtual list box: OnData when set, else the class
  // library's OnData widened.
  TLBGetWideDataEvent OnData;
  TLBGetWideDataEvent GetOnData() const { return OnData; }
  void SetOnData(TLBGetWideDataEvent e) { OnData = e; }
  std::wstring DoGetWideData(int index);
  // The ANSI form of the wide data for the class library's readers.
  std::string DoGetData(int index) override;
  bool HasData() const { return static_cast<bool>(OnData) || static_cast<bool>(TCustomListBox::OnData); }

  void CreateWindowHandle(const TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void DrawItem(int index, TRect rect, TOwnerDrawState state) override;
  void LBGetText(TMessage& m) override;
  void LBGetTextLen(TMessage& m) override;

 protected:
  void Destroy() override;

 private:
  TVoxListBoxStrings* items_ = nullptr;
  TVoxStringList* savedItems_ = nullptr;
  int savedTopIndex_ = 0;
  int savedItemIndex_ = -1;
};

class TVoxListBox : public TVoxCustomListBox {
  DECLARE_CLASS(TVoxListBox, TVoxCustomListBox)
  using TVoxCustomListBox::TVoxCustomListBox;
};

// --- Combo boxes -------------------------------------------------------------------------------------

// A wide combo box that finds its items itself (a descendant whose items
// are not the window's text): the first item from after startIndex that
// begins with value, or -1.
class IVoxComboFindString : public IInterface {
 public:
  static constexpr TGUID IID = TGUID::Parse("{63BEBEF4-B1A2-495A-B558-7487B66F6827}");
  virtual int FindString(const std::wstring& value, int startIndex) = 0;
};

// The items of a wide combo box, kept in its Unicode window.
class TVoxComboBoxStrings : public TVoxStrings {
  DECLARE_CLASS(TVoxComboBoxStrings, TVoxStrings)

  TVoxComboBoxStrings() = default;
  explicit TVoxComboBoxStrings(TCustomComboBox* comboBox) : comboBox_(comboBox) {}

  // An index outside the list gives "".
  std::wstring Get(int index) const override;
  int GetCount() const override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* obj) override;
  // A refusal of the window raises EOutOfResources "Unable to insert a line".
  int Add(const std::wstring& s) override;
  void Insert(int index, const std::wstring& s) override;
  void Delete(int index) override;
  // Keeps the combo box's wide text.
  void Clear() override;
  int IndexOf(const std::wstring& s) const override;
  void SetUpdateState(bool updating) override;

 private:
  TStrings* Ansi() const { return comboBox_->GetItems(); }
  TCustomComboBox* comboBox_ = nullptr;
};

// What a wide combo box keeps while it has no window.
struct TVoxComboSaved {
  TVoxStringList* Items = nullptr;
  int ItemIndex = -1;
  std::wstring Text;
};

// Before the inherited DestroyWnd: items, item index and wide text into
// saved and the window's items cleared. After the inherited CreateWnd: put
// back (an item index beyond the last item is no selection), and the edit
// and list windows made Unicode again under the class library's procedures.
void VoxCombo_BeforeInherited_DestroyWnd(TCustomComboBox* combo, TVoxStrings* items, TVoxComboSaved& saved);
void VoxCombo_AfterInherited_CreateWnd(TCustomComboBox* combo, TVoxStrings* items, TVoxComboSaved& saved);
// The wide steps of the messages of the edit and list windows; false when
// the class library's ComboWndProc is to handle the message.
bool VoxCombo_ComboWndProc(TCustomComboBox* combo, TMessage& m, HWND comboWnd, WNDPROC comboProc);
// CBN_SELCHANGE: the wide text of the selected item, then Click and Select;
// false for other notifications.
bool VoxCombo_CNCommand(TCustomComboBox* combo, TVoxStrings* items, TMessage& m);
// The selection in characters of the wide text; empty and not settable
// without an edit (the list styles).
int VoxCombo_GetSelStart(TCustomComboBox* combo);
void VoxCombo_SetSelStart(TCustomComboBox* combo, int value);
int VoxCombo_GetSelLength(TCustomComboBox* combo);
void VoxCombo_SetSelLength(TCustomComboBox* combo, int value);
std::wstring VoxCombo_GetSelText(TCustomComboBox* combo);
void VoxCombo_SetSelText(TCustomComboBox* combo, const std::wstring& value);
// The class library's own completion is off while the inherited KeyPress
// runs (the layer completes wide text instead).
void VoxCombo_BeforeKeyPress(TCustomComboBox* combo, bool& savedAutoComplete);
void VoxCombo_AfterKeyPress(TCustomComboBox* combo, bool savedAutoComplete);
// Drops the list down keeping the edit's text and selection.
void VoxCombo_DropDown_PreserveSelection(TCustomComboBox* combo);
void VoxComboBox_AddItem(TVoxStrings* items, const std::wstring& item, TObject* object);
void VoxComboBox_CopySelection(TCustomComboBox* combo, TVoxStrings* items, TCustomListControl* destination);
// The typed character (WM_CHAR, packed for ANSI code) completes the edit's
// text from the items, keeping the typed case; a character used is taken
// out of the message. Only for csDropDown and csSimple.
void VoxCombo_AutoCompleteKeyPress(TCustomComboBox* combo, TVoxStrings* items, TMessage& m);
// The typed character extends the search prefix of a list style (a pause
// of 1250 ms or more starts a new one) and selects the first item that
// begins with it.
void VoxCombo_AutoSearchKeyPress(TCustomComboBox* combo, TVoxStrings* items, TMessage& m, std::wstring& prefix,
                                 DWORD& lastTime);

class TVoxCustomComboBox : public TVoxControlOf<TCustomComboBox>, public IWideCustomListControl {
  DECLARE_CLASS(TVoxCustomComboBox, TCustomComboBox)

  explicit TVoxCustomComboBox(TComponent* owner);
  ~TVoxCustomComboBox() override { DestroyUnfinished(); }

  TVoxStrings* GetItems() { return items_; }
  void SetItems(TVoxStrings* v) { items_->Assign(v); }
  std::wstring GetText() { return VoxControl_GetText(this); }
  void SetText(const std::wstring& v) { VoxControl_SetText(this, v); }
  int GetSelStart() { return VoxCombo_GetSelStart(this); }
  void SetSelStart(int v) { VoxCombo_SetSelStart(this, v); }
  int GetSelLength() { return VoxCombo_GetSelLength(this); }
  void SetSelLength(int v) { VoxCombo_SetSelLength(this, v); }
  std::wstring GetSelText() { return VoxCombo_GetSelText(this); }
  void SetSelText(const std::wstring& v) { VoxCombo_SetSelText(this, v); }
  void AddItem(const std::wstring& item, TObject* object) override;
  void CopySelection(TCustomListControl* destination) override;

  void CreateWindowHandle(const TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& m) override;
  void ComboWndProc(TMessage& m, HWND comboWnd, WNDPROC comboProc) override;
  void CNCommand(TMessage& m) override;
  void KeyPress(char& key) override;
  void DoEditCharMsg(TMessage& m) override;
  void DrawItem(int index, TRect rect, TOwnerDrawState state) override;

 protected:
  void Destroy() override;

 private:
  TVoxComboBoxStrings* items_ = nullptr;
  TVoxComboSaved saved_;
  std::wstring searchPrefix_;
  DWORD lastSearchTime_ = 0;
};

class TVoxComboBox : public TVoxCustomComboBox {
  DECLARE_CLASS(TVoxComboBox, TVoxCustomComboBox)
  using TVoxCustomComboBox::TVoxCustomComboBox;
};

// --- Labels -------------------------------------------------------------------------------

// Draws (or with DT_CALCRECT measures) a label's wide text; the inherited
// DoDrawText on 9x.
void VoxLabel_DoDrawText(TCustomLabel* label, TRect& rect, UINT flags, const std::wstring& text);

class TVoxCustomLabel : public TVoxControlOf<TCustomLabel> {
  DECLARE_CLASS(TVoxCustomLabel, TCustomLabel)

  explicit TVoxCustomLabel(TComponent* owner);

  std::wstring GetCaption() { return VoxControl_GetText(this); }
  void SetCaption(const std::wstring& v) { VoxControl_SetText(this, v); }
  // The text drawn: the wide caption.
  virtual std::wstring GetWideLabelText() { return GetCaption(); }
  void DoDrawText(TRect& rect, UINT flags) override;
  void Dispatch(TMessage& m) override;
  void CMDialogChar(TMessage& m) override;
};

class TVoxLabel : public TVoxCustomLabel {
  DECLARE_CLASS(TVoxLabel, TVoxCustomLabel)
  using TVoxCustomLabel::TVoxCustomLabel;
};

// --- Static text, buttons, group boxes and scroll bars --------------------------------------------

// A wide window control whose text is its Caption.
template <class Base>
class TVoxCaptionControlOf : public TVoxControlOf<Base> {
 public:
  using TVoxControlOf<Base>::TVoxControlOf;
  std::wstring GetCaption() { return VoxControl_GetText(this); }
  void SetCaption(const std::wstring& v) { VoxControl_SetText(this, v); }
};

class TVoxCustomStaticText : public TVoxCaptionControlOf<TCustomStaticText> {
  DECLARE_CLASS(TVoxCustomStaticText, TCustomStaticText)
  explicit TVoxCustomStaticText(TComponent* owner);
  void CreateWindowHandle(const TCreateParams& params) override;
  void CMDialogChar(TMessage& m) override;
  // AutoSize measures the wide caption.
  void MeasureText(HDC dc, RECT& rect, UINT flags) override;
};

class TVoxStaticText : public TVoxCustomStaticText {
  DECLARE_CLASS(TVoxStaticText, TVoxCustomStaticText)
  using TVoxCustomStaticText::TVoxCustomStaticText;
};

class TVoxButton : public TVoxCaptionControlOf<TButton> {
  DECLARE_CLASS(TVoxButton, TButton)
  explicit TVoxButton(TComponent* owner);
  void CreateWindowHandle(const TCreateParams& params) override;
  void CMDialogChar(TMessage& m) override;
};

class TVoxCustomCheckBox : public TVoxCaptionControlOf<TCustomCheckBox> {
  DECLARE_CLASS(TVoxCustomCheckBox, TCustomCheckBox)
  explicit TVoxCustomCheckBox(TComponent* owner);
  void CreateWindowHandle(const TCreateParams& params) override;
  void CMDialogChar(TMessage& m) override;
};

class TVoxCheckBox : public TVoxCustomCheckBox {
  DECLARE_CLASS(TVoxCheckBox, TVoxCustomCheckBox)
  using TVoxCustomCheckBox::TVoxCustomCheckBox;
};

class TVoxRadioButton : public TVoxCaptionControlOf<TRadioButton> {
  DECLARE_CLASS(TVoxRadioButton, TRadioButton)
  explicit TVoxRadioButton(TComponent* owner);
  void CreateWindowHandle(const TCreateParams& params) override;
  void CMDialogChar(TMessage& m) override;
};

// A group box's window has no system class; its frame and wide caption are
// painted here.
class TVoxCustomGroupBox : public TVoxCaptionControlOf<TCustomGroupBox> {
  DECLARE_CLASS(TVoxCustomGroupBox, TCustomGroupBox)
  explicit TVoxCustomGroupBox(TComponent* owner);
  void CreateWindowHandle(const TCreateParams& params) override;
  int CaptionTextWidth(TCanvas* canvas) override;
  void DrawCaptionText(TCanvas* canvas, TRect& rect, UINT flags) override;
  void CMDialogChar(TMessage& m) override;
};

class TVoxGroupBox : public TVoxCustomGroupBox {
  DECLARE_CLASS(TVoxGroupBox, TVoxCustomGroupBox)
  using TVoxCustomGroupBox::TVoxCustomGroupBox;
};

class TVoxScrollBar : public TVoxControlOf<TScrollBar> {
  DECLARE_CLASS(TVoxScrollBar, TScrollBar)
  explicit TVoxScrollBar(TComponent* owner);
  void CreateWindowHandle(const TCreateParams& params) override;
};

// Unit start-up: registers the wide controls' classes.
void InitializeVoxStdCtrls();
