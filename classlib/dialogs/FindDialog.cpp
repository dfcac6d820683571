#include "classlib/dialogs/FindDialog.h"

#include <algorithm>
#include <cstring>

#include "classlib/Controls.h"
#include "classlib/Forms.h"

DEFINE_ENUM_TYPE(TFindOption, "frDown", "frFindNext", "frHideMatchCase", "frHideWholeWord", "frHideUpDown",
                 "frMatchCase", "frDisableMatchCase", "frDisableUpDown", "frDisableWholeWord", "frReplace",
                 "frReplaceAll", "frWholeWord", "frShowHelp")

namespace {
constexpr DWORD kFindOptionFlags[] = {
    FR_DOWN,        FR_FINDNEXT,      FR_HIDEMATCHCASE, FR_HIDEWHOLEWORD, FR_HIDEUPDOWN,
    FR_MATCHCASE,   FR_NOMATCHCASE,   FR_NOUPDOWN,      FR_NOWHOLEWORD,   FR_REPLACE,
    FR_REPLACEALL,  FR_WHOLEWORD,     FR_SHOWHELP};
static_assert(std::size(kFindOptionFlags) == frShowHelp + 1);

UINT FindMessage() {
  static const UINT msg = RegisterWindowMessageA(FINDMSGSTRINGA);
  return msg;
}

// The dialog's owner's owner: the first form's window of this thread (in
// the system's order, the topmost first).
HWND TopFormWindow() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        if (!dynamic_cast<TForm*>(FindControl(window))) return TRUE;
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void CopyText(char (&buffer)[256], const std::string& v) {
  size_t n = std::min(v.size(), sizeof buffer - 1);
  std::memcpy(buffer, v.data(), n);
  buffer[n] = '\0';
}
}  // namespace

// The owner of the dialog's window: where the dialog's FINDMSGSTRING
// messages arrive. Invisible (no size) and owned by the program's top
// window.
class TRedirectorWindow : public TWinControl {
  DECLARE_CLASS(TRedirectorWindow, TWinControl)

  TRedirectorWindow(TFindDialog* dialog, HWND owner) : TWinControl(nullptr), dialog_(dialog), owner_(owner) {}

  void CreateParams(TCreateParams& params) override {
    inherited::CreateParams(params);
    params.Style = WS_VISIBLE | WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW;
    params.X = params.Y = params.Width = params.Height = 0;
    params.WndParent = owner_;
  }
  void WndProc(TMessage& message) override {
    // Freed once the dialog has gone, outside the dialog's own message
    // that ended it.
    if (message.Msg == CM_RELEASE) {
      Free();
      return;
    }
    inherited::WndProc(message);
    if (message.Result == 0 && message.Msg != WM_CREATE && dialog_) message.Result = dialog_->MessageHook(message);
  }
  void Forget() { dialog_ = nullptr; }

 private:
  TFindDialog* dialog_;
  HWND owner_;
};
IMPLEMENT_CLASS(TRedirectorWindow)

PUBLISHED(TFindDialog) {
  p.Prop("Ctl3D", &TFindDialog::GetCtl3D, &TFindDialog::SetCtl3D).Default(true);
  p.Prop("FindText", &TFindDialog::GetFindText, &TFindDialog::SetFindText);
  p.Prop("HelpContext", &TFindDialog::GetHelpContext, &TFindDialog::SetHelpContext).Default(0);
  p.Prop("Options", &TFindDialog::GetOptions, &TFindDialog::SetOptions).Default(TFindOptions{frDown});
  p.Prop("OnClose", &TFindDialog::GetOnClose, &TFindDialog::SetOnClose);
  p.Prop("OnFind", &TFindDialog::GetOnFind, &TFindDialog::SetOnFind);
  p.Prop("OnShow", &TFindDialog::GetOnShow, &TFindDialog::SetOnShow);
}

PUBLISHED(TReplaceDialog) {
  p.Prop("ReplaceText", &TReplaceDialog::GetReplaceText, &TReplaceDialog::SetReplaceText);
  p.Prop("OnReplace", &TReplaceDialog::GetOnReplace, &TReplaceDialog::SetOnReplace);
}

TFindDialog::TFindDialog(TComponent* owner) : TCommonDialog(owner) {}

TReplaceDialog::TReplaceDialog(TComponent* owner) : TFindDialog(owner) { findReplaceFunc_ = &ReplaceTextA; }

void TFindDialog::Destroy() {
  if (findHandle_) SendMessageA(findHandle_, WM_CLOSE, 0, 0);
  // A dialog that would not close goes with its owner.
  if (auto* redirector = static_cast<TRedirectorWindow*>(redirector_)) {
    redirector_ = nullptr;
    redirector->Forget();
    redirector->Free();
  }
  findHandle_ = nullptr;
  inherited::Destroy();
}

void TFindDialog::SetFindText(const std::string& v) { CopyText(findBuffer_, v); }

void TFindDialog::SetReplaceText(const std::string& v) { CopyText(replaceBuffer_, v); }

POINT TFindDialog::GetPosition() const {
  if (findHandle_) {
    RECT r{};
    GetWindowRect(findHandle_, &r);
    return {r.left, r.top};
  }
  return position_;
}

void TFindDialog::SetPosition(POINT v) {
  if (position_.x == v.x && position_.y == v.y) return;
  position_ = v;
  if (findHandle_) SetWindowPos(findHandle_, nullptr, v.x, v.y, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOZORDER);
}

void TFindDialog::CloseDialog() {
  if (findHandle_) PostMessageA(findHandle_, WM_CLOSE, 0, 0);
}

bool TFindDialog::Execute() {
  if (findHandle_) {
    BringWindowToTop(findHandle_);
    return true;
  }
  if (!redirector_) redirector_ = New<TRedirectorWindow>(this, TopFormWindow());
  findReplace_ = FINDREPLACEA{};
  findReplace_.lStructSize = sizeof(FINDREPLACEA);
  findReplace_.hwndOwner = redirector_->GetHandle();
  findReplace_.hInstance = GetModuleHandleA(nullptr);
  findReplace_.lpstrFindWhat = findBuffer_;
  findReplace_.wFindWhatLen = sizeof findBuffer_;
  findReplace_.lpstrReplaceWith = replaceBuffer_;
  findReplace_.wReplaceWithLen = sizeof replaceBuffer_;
  findReplace_.lCustData = reinterpret_cast<LPARAM>(this);
  findReplace_.lpfnHook = &TFindDialog::FindReplaceHook;
  findReplace_.Flags = FR_ENABLEHOOK;
  for (int o = frDown; o <= frShowHelp; ++o)
    if (options_.Contains(static_cast<TFindOption>(o))) findReplace_.Flags |= kFindOptionFlags[o];
  if (!GetTemplate().empty()) {
    findReplace_.Flags |= FR_ENABLETEMPLATE;
    findReplace_.lpTemplateName = GetTemplate().c_str();
  }
  PrepareHook();
  findHandle_ = findReplaceFunc_(&findReplace_);
  return findHandle_ != nullptr;
}

UINT_PTR CALLBACK TFindDialog::FindReplaceHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_INITDIALOG) return 0;
  DialogHook(window, msg, wParam, lParam);
  auto* self = reinterpret_cast<TFindDialog*>(reinterpret_cast<FINDREPLACEA*>(lParam)->lCustData);
  if (self->position_.x != -1 || self->position_.y != -1)
    SetWindowPos(window, nullptr, self->position_.x, self->position_.y, 0, 0,
                 SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOZORDER);
  // The system sets the focus to the first control.
  return 1;
}

void TFindDialog::WndProc(TMessage& message) {
  // A modeless dialog needs IsDialogMessage for its keys: the application
  // gives it the messages of whichever dialog is active.
  HWND self = GetHandle();
  switch (message.Msg) {
    case WM_NCACTIVATE:
      if (Application) {
        if (message.WParam) {
          if (!Application->GetDialogHandle()) Application->SetDialogHandle(self);
        } else if (Application->GetDialogHandle() == self) {
          Application->SetDialogHandle(nullptr);
        }
      }
      break;
    case WM_DESTROY: {
      if (Application && Application->GetDialogHandle() == self) Application->SetDialogHandle(nullptr);
      RECT r{};
      if (GetWindowRect(self, &r)) position_ = {r.left, r.top};
      break;
    }
    default: break;
  }
  inherited::WndProc(message);
}

bool TFindDialog::MessageHook(TMessage& message) {
  if (inherited::MessageHook(message)) return true;
  if (message.Msg != FindMessage() || reinterpret_cast<FINDREPLACEA*>(message.LParam) != &findReplace_) return false;
  DWORD flags = findReplace_.Flags;
  options_ = TFindOptions{};
  for (int o = frDown; o <= frShowHelp; ++o)
    if (flags & kFindOptionFlags[o]) options_.Include(static_cast<TFindOption>(o));
  if (flags & FR_FINDNEXT) Find();
  else if (flags & (FR_REPLACE | FR_REPLACEALL)) Replace();
  else if (flags & FR_DIALOGTERM) DialogEnded();
  return true;
}

void TFindDialog::DialogEnded() {
  if (findHandle_ && IsWindow(findHandle_)) {
    RECT r{};
    if (GetWindowRect(findHandle_, &r)) position_ = {r.left, r.top};
  }
  findHandle_ = nullptr;
  // The next Execute makes a new owner; this one goes on its own.
  if (auto* redirector = static_cast<TRedirectorWindow*>(redirector_)) {
    redirector_ = nullptr;
    redirector->Forget();
    PostMessageA(redirector->GetHandle(), CM_RELEASE, 0, 0);
  }
}

void TFindDialog::Find() {
  if (OnFind) OnFind(this);
}

void TFindDialog::Replace() {
  if (OnReplace) OnReplace(this);
}
