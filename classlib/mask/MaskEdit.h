// TCustomMaskEdit and TMaskEdit: an edit whose input follows an edit mask
// (EditMask.h). The window shows the edit text: literals in place and the
// blank character where nothing is typed yet. Typing overwrites one input
// position at a time and the caret, a one-character selection, skips the
// literals; Backspace and Delete blank positions instead of moving the text;
// a paste goes in character by character and stops at the first one the
// mask refuses. Leaving the control validates it: a wrong or missing
// character raises EDBEditError with the caret on it and the focus kept.
#pragma once

#include "classlib/StdCtrls.h"
#include "classlib/mask/EditMask.h"

DECLARE_EXCEPTION(EDBEditError, Exception);

class TCustomMaskEdit : public TCustomEdit {
  DECLARE_CLASS(TCustomMaskEdit, TCustomEdit)

  explicit TCustomMaskEdit(TComponent* owner);

  const std::string& GetEditMask() const { return editMask_; }
  void SetEditMask(const std::string& v);
  bool IsMasked() const { return mask_.IsMasked(); }
  const TEditMaskInfo& MaskInfo() const { return mask_; }
  // What the window shows, literals and blanks included.
  std::string GetEditText() { return TControl::GetText(); }
  void SetEditText(const std::string& v);
  // The value: without blanks, and without literals when the mask says so.
  std::string GetText();
  void SetText(const std::string& v);
  int GetMaxLength() const;

  // Raises through ValidateError when the edit text does not fit the mask
  // (only after the user changed it), with the caret on the first wrong
  // position.
  virtual void ValidateEdit();
  // Puts back the text the control had when it was entered.
  virtual void Reset();

  void DoSetMaxLength(int v) override;
  void CreateWnd() override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void Dispatch(TMessage& m) override;
  void CMEnter(TMessage& m) override;
  void CMExit(TMessage& m) override;
  virtual void CMWantSpecialKey(TMessage& m);
  virtual void WMLButtonUpMask(TMessage& m);
  virtual void WMPaste(TMessage& m);
  virtual void WMCut(TMessage& m);
  virtual void WMClear(TMessage& m);

 protected:
  // A beep and EDBEditError "Invalid input value.  Use escape key to abandon
  // changes".
  virtual void ValidateError();
  // The caret at position pos: the character there selected.
  void SetCursor(int pos);
  void CheckCursor();

 private:
  void GetSel(int& start, int& stop);
  // Blanks the input positions of [start, stop) in text.
  void BlankRange(std::string& text, int start, int stop) const;
  void PutEditText(const std::string& text);
  // Blanks a selection wider than the caret; start and text are the
  // selection's start and the edit text afterwards. False when there was
  // none.
  bool BlankSelection(int& start, std::string& text);
  void CharKeys(char c);
  void DeleteKeys(WORD key);
  void ArrowKeys(WORD key);

  std::string editMask_;
  TEditMaskInfo mask_;
  std::string oldValue_;
  bool reEnter_ = false;
};

class TMaskEdit : public TCustomMaskEdit {
  DECLARE_CLASS(TMaskEdit, TCustomMaskEdit)
  using TCustomMaskEdit::TCustomMaskEdit;
};
