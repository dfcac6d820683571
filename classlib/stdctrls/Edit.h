// Edits on the system EDIT class: TCustomEdit/TEdit (one line) and
// TCustomMemo/TMemo (several lines, reached as Lines through TMemoStrings).
#pragma once

#include "classlib/Classes.h"
#include "classlib/stdctrls/StdCtrlsTypes.h"

class TCustomEdit : public TWinControl {
  DECLARE_CLASS(TCustomEdit, TWinControl)

  explicit TCustomEdit(TComponent* owner);

  // Selecting all the text when the edit is entered.
  bool GetAutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool v) { autoSelect_ = v; }
  // A single-line edit with a border takes the height of its font.
  void SetAutoSize(bool v) override;
  TBorderStyle GetBorderStyle() const { return borderStyle_; }
  virtual void SetBorderStyle(TBorderStyle v);
  TEditCharCase GetCharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase v);
  bool GetHideSelection() const { return hideSelection_; }
  void SetHideSelection(bool v);
  int GetMaxLength() const { return maxLength_; }
  void SetMaxLength(int v);
  bool GetOEMConvert() const { return oemConvert_; }
  void SetOEMConvert(bool v);
  char GetPasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char v);
  bool GetReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  bool GetModified();
  void SetModified(bool v);
  bool GetCanUndo();

  // The selection, in characters of the window's text.
  int GetSelStart();
  void SetSelStart(int v);
  int GetSelLength();
  void SetSelLength(int v);
  std::string GetSelText();
  void SetSelText(const std::string& v);

  virtual void Clear();
  void ClearSelection();
  void ClearUndo();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void SelectAll();
  void Undo();

  // OnChange (and the control's Changed) after every change of the text.
  virtual void Change();
  // The height of one line of the font plus the border.
  virtual void AdjustHeight();
  virtual void UpdateHeight();
  virtual void DoSetMaxLength(int v);

  TNotifyEvent OnChange;
  TNotifyEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TNotifyEvent e) { OnChange = e; }

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& m) override;

  virtual void CNCommand(TMessage& m);
  virtual void CMTextChanged(TMessage& m);
  virtual void WMSetFont(TMessage& m);
  void CMEnter(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  void CMCtl3DChanged(TMessage& m) override;
  void WMContextMenu(TMessage& m) override;

 protected:
  bool IsMultiLine() const;

 private:
  int maxLength_ = 0;
  TBorderStyle borderStyle_ = bsSingle;
  char passwordChar_ = '\0';
  bool readOnly_ = false;
  bool autoSelect_ = true;
  bool hideSelection_ = true;
  bool oemConvert_ = false;
  TEditCharCase charCase_ = ecNormal;
  bool creating_ = false;
  bool modified_ = false;
};

class TEdit : public TCustomEdit {
  DECLARE_CLASS(TEdit, TCustomEdit)
  using TCustomEdit::TCustomEdit;
};

class TCustomMemo;

// The lines of a memo, read and written in its window (EM_* messages).
class TMemoStrings : public TStrings {
  DECLARE_CLASS(TMemoStrings, TStrings)

  TMemoStrings() = default;
  explicit TMemoStrings(TCustomMemo* memo) : memo_(memo) {}

  // A last empty line after a final line break is not counted.
  int GetCount() const override;
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  std::string GetTextStr() const override;
  void SetTextStr(const std::string& value) override;
  void SetUpdateState(bool updating) override;

 private:
  HWND Window() const;
  TCustomMemo* memo_ = nullptr;
};

class TCustomMemo : public TCustomEdit {
  DECLARE_CLASS(TCustomMemo, TCustomEdit)

  explicit TCustomMemo(TComponent* owner);
  ~TCustomMemo() override { DestroyUnfinished(); }

  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TStrings* GetLines() const { return lines_; }
  void SetLines(TStrings* v) { lines_->Assign(v); }
  TScrollStyle GetScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v);
  bool GetWantReturns() const { return wantReturns_; }
  void SetWantReturns(bool v) { wantReturns_ = v; }
  bool GetWantTabs() const { return wantTabs_; }
  void SetWantTabs(bool v) { wantTabs_ = v; }
  bool GetWordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);

  TAlignment GetControlsAlignment() const override { return alignment_; }
  void CreateParams(TCreateParams& params) override;
  void KeyPress(char& key) override;
  void Dispatch(TMessage& m) override;
  virtual void WMGetDlgCode(TMessage& m);

 protected:
  void Destroy() override;

 private:
  TMemoStrings* lines_ = nullptr;
  TAlignment alignment_ = taLeftJustify;
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
  bool wantReturns_ = true;
  bool wantTabs_ = false;
};

class TMemo : public TCustomMemo {
  DECLARE_CLASS(TMemo, TCustomMemo)
  using TCustomMemo::TCustomMemo;
};
