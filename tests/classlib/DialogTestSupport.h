// Helpers of the common-dialog tests: a script run from a dialog's OnShow
// (where a test acts as the user would, then presses a button) and a log of
// the dialog's show and close.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "classlib/Dialogs.h"
#include "classlib/SysUtils.h"

#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>

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

// The system's dialog of a hooked common dialog: the hooked child's parent
// (Explorer style).
inline HWND SystemDialog(TCommonDialog* d) { return GetParent(d->GetHandle()); }

// The file name box of the system's file dialog (Explorer style): its edit
// and the combo box around it.
constexpr int kFileNameEdit = edt1;
constexpr int kFileNameCombo = cmb13;

// Types a name into the file name box of the system's file dialog.
inline void TypeName(HWND dialog, const std::string& name) {
  SendMessageA(dialog, CDM_SETCONTROLTEXT, kFileNameEdit, reinterpret_cast<LPARAM>(name.c_str()));
  SendMessageA(dialog, CDM_SETCONTROLTEXT, kFileNameCombo, reinterpret_cast<LPARAM>(name.c_str()));
}
inline void TypeName(HWND dialog, const std::wstring& name) {
  SendMessageW(dialog, CDM_SETCONTROLTEXT, kFileNameEdit, reinterpret_cast<LPARAM>(name.c_str()));
  SendMessageW(dialog, CDM_SETCONTROLTEXT, kFileNameCombo, reinterpret_cast<LPARAM>(name.c_str()));
}

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

// A hook on the test's thread that watches the browser: it records every
// selection asked of it and, once the browser has set itself up (its
// WM_INITDIALOG returned: the tree is filled and the start folder asked
// for), lets the test look and press a button.
class TBrowserDriver {
 public:
  explicit TBrowserDriver(int button) : button_(button) {
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, &Proc, nullptr, GetCurrentThreadId());
  }
  ~TBrowserDriver() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  TBrowserDriver(const TBrowserDriver&) = delete;
  TBrowserDriver& operator=(const TBrowserDriver&) = delete;

  std::function<void(HWND browser)> OnReady;
  // The paths the browser was asked to select, in order.
  std::vector<std::wstring> Selections;
  bool Shown = false;

 private:
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
    auto* m = reinterpret_cast<CWPRETSTRUCT*>(lParam);
    TBrowserDriver* self = current_;
    if (code == HC_ACTION && self) {
      wchar_t cls[16] = {};
      GetClassNameW(m->hwnd, cls, 16);
      if (std::wstring(cls) == L"#32770") {
        if (m->message == BFFM_SETSELECTIONW && m->wParam)
          self->Selections.push_back(reinterpret_cast<LPCWSTR>(m->lParam));
        if (m->message == BFFM_SETSELECTIONA && m->wParam)
          self->Selections.push_back(AnsiToWide(reinterpret_cast<LPCSTR>(m->lParam)));
        if (m->message == WM_INITDIALOG && !self->Shown) {
          self->Shown = true;
          if (self->OnReady) self->OnReady(m->hwnd);
          PostMessageW(m->hwnd, WM_COMMAND, static_cast<WPARAM>(self->button_), 0);
        }
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline TBrowserDriver* current_ = nullptr;
  HHOOK hook_ = nullptr;
  int button_;
};

}  // namespace dialogs_test
