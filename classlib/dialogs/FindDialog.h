// TFindDialog and TReplaceDialog: the system's modeless find and replace
// dialogs (FindTextA, ReplaceTextA).
//
// Execute opens the dialog and returns at once; the dialog stays while the
// program runs its loop, and a second Execute brings it to the top. Its
// buttons come back as the registered FINDMSGSTRING message to the
// dialog's owner, an invisible window control of the object's own (owned
// in turn by the program's top window, so the dialog stays above it; being
// a control, it also ends the application's search for a control to give
// the dialog's keys to, which then reach IsDialogMessage): Options are read back
// from the dialog and Find Next fires OnFind, Replace and Replace All fire
// OnReplace; closing the dialog remembers its position. While the dialog is
// active it is the application's DialogHandle, so its keys (Tab, Enter,
// Escape) work under the class library's loop. CloseDialog closes it.
#pragma once

#include "classlib/Win.h"

#include <commdlg.h>

#include <string>

#include "classlib/dialogs/CommonDialog.h"

enum TFindOption {
  frDown, frFindNext, frHideMatchCase, frHideWholeWord, frHideUpDown, frMatchCase, frDisableMatchCase,
  frDisableUpDown, frDisableWholeWord, frReplace, frReplaceAll, frWholeWord, frShowHelp
};
DECLARE_ENUM_TYPE(TFindOption);
using TFindOptions = TSet<TFindOption>;

class TWinControl;

class TFindDialog : public TCommonDialog {
  DECLARE_CLASS(TFindDialog, TCommonDialog)

  explicit TFindDialog(TComponent* owner);
  ~TFindDialog() override { DestroyUnfinished(); }

  // Opens the dialog (true when it is there).
  bool Execute() override;
  // Closes an open dialog (posts WM_CLOSE).
  void CloseDialog();

  // At most 255 characters, as the dialog's buffer holds.
  std::string GetFindText() const { return findBuffer_; }
  void SetFindText(const std::string& v);
  TFindOptions GetOptions() const { return options_; }
  void SetOptions(TFindOptions v) { options_ = v; }
  // Where the dialog is (screen); (-1, -1) until it has been shown or
  // placed: the system's place.
  POINT GetPosition() const;
  void SetPosition(POINT v);
  int GetLeft() const { return GetPosition().x; }
  void SetLeft(int v) { SetPosition({v, GetTop()}); }
  int GetTop() const { return GetPosition().y; }
  void SetTop(int v) { SetPosition({GetLeft(), v}); }

  TNotifyEvent OnFind;
  TNotifyEvent GetOnFind() const { return OnFind; }
  void SetOnFind(TNotifyEvent e) { OnFind = e; }

  void WndProc(TMessage& message) override;

 protected:
  void Destroy() override;
  bool MessageHook(TMessage& message) override;
  virtual void Find();
  virtual void Replace();
  // ReplaceText's text and event, published by TReplaceDialog.
  std::string GetReplaceText() const { return replaceBuffer_; }
  void SetReplaceText(const std::string& v);
  TNotifyEvent OnReplace;
  // The system function that opens the dialog.
  using TFindReplaceFunc = HWND(WINAPI*)(LPFINDREPLACEA);
  TFindReplaceFunc findReplaceFunc_ = &FindTextA;

 private:
  friend class TRedirectorWindow;
  static UINT_PTR CALLBACK FindReplaceHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void DialogEnded();

  FINDREPLACEA findReplace_{};
  char findBuffer_[256] = {};
  char replaceBuffer_[256] = {};
  TFindOptions options_{frDown};
  POINT position_{-1, -1};
  HWND findHandle_ = nullptr;
  TWinControl* redirector_ = nullptr;
};

class TReplaceDialog : public TFindDialog {
  DECLARE_CLASS(TReplaceDialog, TFindDialog)

  explicit TReplaceDialog(TComponent* owner);

  using TFindDialog::GetReplaceText;
  using TFindDialog::SetReplaceText;
  TNotifyEvent GetOnReplace() const { return OnReplace; }
  void SetOnReplace(TNotifyEvent e) { OnReplace = e; }
  using TFindDialog::OnReplace;
};
