// Helpers of the common-dialog tests: a script run from a dialog's OnShow
// (where a test acts as the user would, then presses a button) and a log of
// the dialog's show and close.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "classlib/Dialogs.h"

#include <commctrl.h>

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

// The text of an item of the first tree view in a dialog (the folder
// browser's): TVGN_CARET the selected one, TVGN_ROOT the first root.
inline std::wstring TreeItemText(HWND dialog, WPARAM which) {
  HWND tree = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
  auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, which, 0));
  wchar_t text[MAX_PATH] = {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = MAX_PATH;
  if (item) SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  return text;
}

// Whether any child window of parent has this text.
inline bool HasChildText(HWND parent, const std::wstring& text) {
  struct TSearch {
    std::wstring text;
    bool found = false;
  } search{text};
  EnumChildWindows(
      parent,
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<TSearch*>(data);
        wchar_t buffer[256] = {};
        GetWindowTextW(w, buffer, 256);
        if (s->text == buffer) s->found = true;
        return !s->found;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace dialogs_test
