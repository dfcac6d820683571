// TCustomRichEdit and TRichEdit: a memo over the system's rich edit control.
// The control's library is loaded by its name ("RICHED32.DLL", the first
// rich edit, whose class is "RICHEDIT") when the first rich edit makes its
// window, and stays loaded until the ComCtrls unit finishes. Lines are the
// memo's, read and written with the edit messages the rich edit shares.
// The control reports selection changes (EN_SELCHANGE, asked for with
// EM_SETEVENTMASK) to its parent, which reflects them here as CN_NOTIFY:
// SelectionChange, then OnSelectionChange.
#pragma once

#include "classlib/StdCtrls.h"

class TCustomRichEdit : public TCustomMemo {
  DECLARE_CLASS(TCustomRichEdit, TCustomMemo)

  explicit TCustomRichEdit(TComponent* owner);

  bool GetHideScrollBars() const { return hideScrollBars_; }
  void SetHideScrollBars(bool v);
  // Lines are plain text (no rich-text format is read or written).
  bool GetPlainText() const { return plainText_; }
  void SetPlainText(bool v) { plainText_ = v; }

  TNotifyEvent OnSelectionChange;
  TNotifyEvent GetOnSelectionChange() const { return OnSelectionChange; }
  void SetOnSelectionChange(TNotifyEvent e) { OnSelectionChange = e; }

  virtual void SelectionChange();

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& m) override;
  virtual void CNNotify(TMessage& m);

 private:
  bool hideScrollBars_ = true;
  bool plainText_ = false;
};

class TRichEdit : public TCustomRichEdit {
  DECLARE_CLASS(TRichEdit, TCustomRichEdit)
  using TCustomRichEdit::TCustomRichEdit;
};

// Lets the rich edit library go (the ComCtrls unit's finalisation).
void FreeRichEditModule();
