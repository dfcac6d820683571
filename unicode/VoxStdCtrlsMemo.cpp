// The wide memo and its wide lines, read and written in its Unicode window.
#include <algorithm>

#include "classlib/stdctrls/StdCtrlsTables.h"
#include "unicode/VoxStdCtrls.h"
#include "unicode/VoxSysUtils.h"

int VoxMemo_LineStart(HWND handle, int index) {
  VoxAssert(Win32PlatformIsUnicode, "VOX Internal Error: VoxMemo_LineStart is only for the wide API.", "VoxStdCtrls",
            1177);
  return static_cast<int>(SendMessageW(handle, EM_LINEINDEX, static_cast<WPARAM>(index), 0));
}

int VoxMemo_LineLength(HWND handle, int index) {
  VoxAssert(Win32PlatformIsUnicode, "VOX Internal Error: VoxMemo_LineLength is only for the wide API.",
            "VoxStdCtrls", 1185);
  int start = VoxMemo_LineStart(handle, index);
  if (start < 0) return 0;
  return static_cast<int>(SendMessageW(handle, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
}

// --- TVoxMemoStrings ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxMemoStrings)

HWND TVoxMemoStrings::WideWindow() const {
  if (!memo_ || !Win32PlatformIsUnicode) return nullptr;
  HWND h = memo_->GetHandle();
  return IsWindowUnicode(h) ? h : nullptr;
}

void TVoxMemoStrings::ReplaceRange(HWND h, int start, int end, const std::wstring& s) const {
  SendMessageW(h, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
  SendMessageW(h, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

int TVoxMemoStrings::GetCount() const { return memo_ ? memo_->GetLines()->GetCount() : 0; }

std::wstring TVoxMemoStrings::Get(int index) const {
  HWND h = WideWindow();
  if (!h) return memo_ ? AnsiToWide(memo_->GetLines()->Get(index)) : std::wstring();
  int length = VoxMemo_LineLength(h, index);
  if (length == 0) return std::wstring();
  // EM_GETLINE reads the buffer's size from its first code unit.
  std::wstring line(static_cast<size_t>(length) + 1, L'\0');
  line[0] = static_cast<wchar_t>(std::min(length + 1, 0xFFFF));
  LRESULT got = SendMessageW(h, EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(line.data()));
  line.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, length)));
  return line;
}

void TVoxMemoStrings::Put(int index, const std::wstring& s) {
  HWND h = WideWindow();
  if (!h) {
    if (memo_) memo_->GetLines()->Put(index, WideToAnsi(s));
    return;
  }
  int start = VoxMemo_LineStart(h, index);
  if (start >= 0) ReplaceRange(h, start, start + VoxMemo_LineLength(h, index), s);
}

void TVoxMemoStrings::Insert(int index, const std::wstring& s) {
  HWND h = WideWindow();
  if (!h) {
    if (memo_) memo_->GetLines()->Insert(index, WideToAnsi(s));
    return;
  }
  if (index < 0) return;
  int start = VoxMemo_LineStart(h, index);
  if (start >= 0) {
    ReplaceRange(h, start, start, s + L"\r\n");
    return;
  }
  // After the last line, which has no line break of its own yet.
  start = VoxMemo_LineStart(h, index - 1);
  int length = VoxMemo_LineLength(h, index - 1);
  if (start < 0 || length == 0) return;
  ReplaceRange(h, start + length, start + length, L"\r\n" + s);
}

void TVoxMemoStrings::Delete(int index) {
  if (memo_) memo_->GetLines()->Delete(index);
}

void TVoxMemoStrings::Clear() {
  if (memo_) memo_->GetLines()->Clear();
}

void TVoxMemoStrings::SetUpdateState(bool updating) {
  if (memo_) memo_->GetLines()->SetUpdateState(updating);
}

std::wstring TVoxMemoStrings::GetTextStr() const { return memo_ ? VoxControl_GetText(memo_) : std::wstring(); }

void TVoxMemoStrings::SetTextStr(const std::wstring& value) {
  if (memo_) VoxControl_SetText(memo_, VoxAdjustLineBreaks(value));
}

// --- TVoxCustomMemo -----------------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxCustomMemo)

TVoxCustomMemo::TVoxCustomMemo(TComponent* owner) : TVoxControlOf(owner) { lines_ = New<TVoxMemoStrings>(this); }

void TVoxCustomMemo::Destroy() {
  inherited::Destroy();
  FreeAndNil(lines_);
}

void TVoxCustomMemo::CreateWindowHandle(const TCreateParams& params) {
  VoxCustomEdit_CreateWindowHandle(this, params);
}

PUBLISHED(TVoxMemo) {
  PublishMemoTable(p);
  PublishWideHint(p);
  p.Prop("Lines", &TVoxMemo::GetLines, &TVoxMemo::SetLines);
}
