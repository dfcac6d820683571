// The wide edit: its Unicode EDIT window, the selection in characters of
// the wide text, and the wide password character.
#include <algorithm>

#include "classlib/SysUtils.h"
#include "classlib/stdctrls/StdCtrlsTables.h"
#include "unicode/VoxStdCtrlsPrivate.h"

// --- Free routines --------------------------------------------------------------------------

void VoxCustomEdit_CreateWindowHandle(TCustomEdit* edit, const TCreateParams& params) {
  // A read-only edit made on a Far-East 9x system would not take the
  // double-byte input method; it is made writable and then set read-only.
  if (SysLocale.FarEast && Win32Platform != VER_PLATFORM_WIN32_NT && (params.Style & ES_READONLY)) {
    TCreateParams copy = params;
    copy.Style &= ~DWORD{ES_READONLY};
    CreateUnicodeHandle(edit, copy, L"EDIT");
    if (edit->HandleAllocated()) SendMessageA(edit->GetWindowHandle(), EM_SETREADONLY, 1, 0);
    return;
  }
  CreateUnicodeHandle(edit, params, L"EDIT");
}

void VoxCustomEdit_AfterInherited_CreateWnd(TCustomEdit* edit, const std::wstring& passwordChar) {
  // The inherited step set the ANSI character ('*' for one beyond 255).
  if (Win32PlatformIsUnicode && !passwordChar.empty())
    SendMessageW(edit->GetWindowHandle(), EM_SETPASSWORDCHAR, passwordChar[0], 0);
}

int VoxCustomEdit_GetSelStart(TCustomEdit* edit) { return vox_stdctrls::GetSelStart(edit); }
void VoxCustomEdit_SetSelStart(TCustomEdit* edit, int value) { vox_stdctrls::SetSelStart(edit, value); }
int VoxCustomEdit_GetSelLength(TCustomEdit* edit) { return vox_stdctrls::GetSelLength(edit); }
void VoxCustomEdit_SetSelLength(TCustomEdit* edit, int value) { vox_stdctrls::SetSelLength(edit, value); }
std::wstring VoxCustomEdit_GetSelText(TCustomEdit* edit) { return vox_stdctrls::GetSelText(edit); }

void VoxCustomEdit_SetSelText(TCustomEdit* edit, const std::wstring& value) {
  if (!Win32PlatformIsUnicode) {
    edit->TCustomEdit::SetSelText(WideToAnsi(value));
    return;
  }
  SendMessageW(edit->GetHandle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

namespace {

// The ANSI password character that stands for a wide one: itself below 256,
// '*' beyond.
char AnsiPasswordChar(const std::wstring& passwordChar) {
  if (passwordChar.empty()) return '\0';
  wchar_t c = passwordChar[0];
  return c < 256 ? static_cast<char>(c) : '*';
}

}  // namespace

std::wstring VoxCustomEdit_GetPasswordChar(TCustomEdit* edit, std::wstring& passwordChar) {
  // Code that set the ANSI character since wins.
  char ansi = edit->TCustomEdit::GetPasswordChar();
  if (AnsiPasswordChar(passwordChar) != ansi)
    passwordChar = ansi ? std::wstring(1, static_cast<wchar_t>(static_cast<unsigned char>(ansi))) : std::wstring();
  return passwordChar;
}

void VoxCustomEdit_SetPasswordChar(TCustomEdit* edit, std::wstring& passwordChar, const std::wstring& value) {
  std::wstring c = value.substr(0, 1);
  if (VoxCustomEdit_GetPasswordChar(edit, passwordChar) == c) return;
  passwordChar = c;
  edit->TCustomEdit::SetPasswordChar(AnsiPasswordChar(c));
  if (Win32PlatformIsUnicode && edit->HandleAllocated()) {
    SendMessageW(edit->GetWindowHandle(), EM_SETPASSWORDCHAR, c.empty() ? 0 : c[0], 0);
    InvalidateRect(edit->GetWindowHandle(), nullptr, TRUE);
  }
}

// --- TVoxCustomEdit ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxCustomEdit)

TVoxCustomEdit::TVoxCustomEdit(TComponent* owner) : TVoxControlOf(owner) {}

void TVoxCustomEdit::CreateWindowHandle(const TCreateParams& params) {
  VoxCustomEdit_CreateWindowHandle(this, params);
}

void TVoxCustomEdit::CreateWnd() {
  inherited::CreateWnd();
  VoxCustomEdit_AfterInherited_CreateWnd(this, passwordChar_);
}

PUBLISHED(TVoxEdit) {
  PublishEditTable(p);
  PublishWideHint(p);
  p.Prop("PasswordChar", &TVoxEdit::GetPasswordChar, &TVoxEdit::SetPasswordChar);
  PublishWideText(p);
}
