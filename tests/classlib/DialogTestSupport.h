// Helpers of the common-dialog tests: a script run from a dialog's OnShow
// (where a test acts as the user would, then presses a button) and a log of
// the dialog's show and close.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "classlib/Dialogs.h"

namespace dialogs_test {

struct TDialogScript {
  std::function<void(TCommonDialog*)> OnShow;
  std::vector<std::string> Log;
  void Show(TObject* sender) {
    auto* d = static_cast<TCommonDialog*>(sender);
    Log.push_back(d->GetHandle() ? "show" : "show without window");
    if (OnShow) OnShow(d);
  }
  void Close(TObject* sender) {
    Log.push_back(static_cast<TCommonDialog*>(sender)->GetHandle() ? "close with window" : "close");
  }
  // Makes dialog report to this script.
  void Attach(TCommonDialog* dialog) {
    dialog->OnShow = TNotifyEvent(this, &TDialogScript::Show);
    dialog->OnClose = TNotifyEvent(this, &TDialogScript::Close);
  }
};

// Presses a button of a dialog window (posted, as a click arrives).
inline void PressButton(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0); }

}  // namespace dialogs_test
