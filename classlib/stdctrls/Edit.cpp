#include "classlib/stdctrls/Edit.h"

#include <algorithm>

#include "classlib/classes/Lists.h"
#include "classlib/stdctrls/ItemTexts.h"
#include "classlib/stdctrls/StdCtrlsTables.h"

// ---------------------------------------------------------------------------
// TCustomEdit

PUBLISHED(TEdit) { PublishEditTable(p); }
IMPLEMENT_CLASS(TCustomEdit)

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(TControlStyle{csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight});
  SetBounds(GetLeft(), GetTop(), 121, 25);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  TControl::SetAutoSize(true);
  AdjustHeight();
}

bool TCustomEdit::IsMultiLine() const {
  return HandleAllocated() && (GetWindowLongPtrA(GetWindowHandle(), GWL_STYLE) & ES_MULTILINE) != 0;
}

void TCustomEdit::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  CreateSubClass(params, "EDIT");
  DWORD style = ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (borderStyle_ == bsSingle) style |= WS_BORDER;
  if (passwordChar_ != '\0') style |= ES_PASSWORD;
  if (readOnly_) style |= ES_READONLY;
  if (charCase_ == ecUpperCase) style |= ES_UPPERCASE;
  else if (charCase_ == ecLowerCase) style |= ES_LOWERCASE;
  if (!hideSelection_) style |= ES_NOHIDESEL;
  if (oemConvert_) style |= ES_OEMCONVERT;
  params.Style |= style;
  if (GetCtl3D() && borderStyle_ == bsSingle) {
    params.Style &= ~DWORD{WS_BORDER};
    params.ExStyle |= WS_EX_CLIENTEDGE;
  }
}

void TCustomEdit::CreateWnd() {
  // The window's own EN_CHANGE while it takes its text is no change.
  creating_ = true;
  try {
    inherited::CreateWnd();
  } catch (...) {
    creating_ = false;
    throw;
  }
  creating_ = false;
  DoSetMaxLength(maxLength_);
  SetModified(modified_);
  if (passwordChar_ != '\0')
    SendMessageA(GetWindowHandle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar_), 0);
  UpdateHeight();
}

void TCustomEdit::DestroyWnd() {
  modified_ = GetModified();
  inherited::DestroyWnd();
}

void TCustomEdit::AdjustHeight() {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  // The border and the edit's own margins: four borders each side with a 3-D
  // edge, three without.
  int extra = GetSystemMetrics(SM_CYBORDER) * (GetCtl3D() ? 8 : 6);
  SetHeight(metrics.tmHeight + extra);
}

void TCustomEdit::UpdateHeight() {
  TControlStyle style = GetControlStyle();
  if (GetAutoSize() && borderStyle_ == bsSingle) {
    style.Include(csFixedHeight);
    SetControlStyle(style);
    AdjustHeight();
  } else {
    style.Exclude(csFixedHeight);
    SetControlStyle(style);
  }
}

void TCustomEdit::SetAutoSize(bool v) {
  if (GetAutoSize() == v) return;
  inherited::SetAutoSize(v);
  UpdateHeight();
}

void TCustomEdit::SetBorderStyle(TBorderStyle v) {
  if (v != bsNone) v = bsSingle;
  if (borderStyle_ == v) return;
  borderStyle_ = v;
  UpdateHeight();
  RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase v) {
  if (charCase_ == v) return;
  charCase_ = v;
  RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool v) {
  if (hideSelection_ == v) return;
  hideSelection_ = v;
  RecreateWnd();
}

void TCustomEdit::SetOEMConvert(bool v) {
  if (oemConvert_ == v) return;
  oemConvert_ = v;
  RecreateWnd();
}

void TCustomEdit::SetMaxLength(int v) {
  if (v < 0) v = 0;
  if (maxLength_ == v) return;
  maxLength_ = v;
  if (HandleAllocated()) DoSetMaxLength(v);
}

void TCustomEdit::DoSetMaxLength(int v) { SendMessageA(GetWindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(v), 0); }

void TCustomEdit::SetPasswordChar(char v) {
  if (passwordChar_ == v) return;
  passwordChar_ = v;
  if (HandleAllocated()) {
    SendMessageA(GetWindowHandle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(v), 0);
    InvalidateRect(GetWindowHandle(), nullptr, TRUE);
  }
}

void TCustomEdit::SetReadOnly(bool v) {
  if (readOnly_ == v) return;
  readOnly_ = v;
  if (HandleAllocated()) SendMessageA(GetWindowHandle(), EM_SETREADONLY, v ? TRUE : FALSE, 0);
}

bool TCustomEdit::GetModified() {
  if (!HandleAllocated()) return modified_;
  return SendMessageA(GetWindowHandle(), EM_GETMODIFY, 0, 0) != 0;
}

void TCustomEdit::SetModified(bool v) {
  if (HandleAllocated()) SendMessageA(GetWindowHandle(), EM_SETMODIFY, v ? TRUE : FALSE, 0);
  else modified_ = v;
}

bool TCustomEdit::GetCanUndo() {
  return HandleAllocated() && SendMessageA(GetWindowHandle(), EM_CANUNDO, 0, 0) != 0;
}

int TCustomEdit::GetSelStart() {
  DWORD start = 0, end = 0;
  SendMessageA(GetHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int v) {
  SendMessageA(GetHandle(), EM_SETSEL, static_cast<WPARAM>(v), static_cast<LPARAM>(v));
}

int TCustomEdit::GetSelLength() {
  DWORD start = 0, end = 0;
  SendMessageA(GetHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end) - static_cast<int>(start);
}

void TCustomEdit::SetSelLength(int v) {
  DWORD start = 0, end = 0;
  HWND h = GetHandle();
  SendMessageA(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  SendMessageA(h, EM_SETSEL, start, static_cast<LPARAM>(static_cast<int>(start) + v));
  SendMessageA(h, EM_SCROLLCARET, 0, 0);
}

std::string TCustomEdit::GetSelText() {
  std::string text = GetText();
  int start = std::clamp(GetSelStart(), 0, static_cast<int>(text.size()));
  int length = std::clamp(GetSelLength(), 0, static_cast<int>(text.size()) - start);
  return text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

void TCustomEdit::SetSelText(const std::string& v) {
  SendMessageA(GetHandle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(v.c_str()));
}

void TCustomEdit::Clear() { SetText(""); }
void TCustomEdit::ClearSelection() { SendMessageA(GetHandle(), WM_CLEAR, 0, 0); }
void TCustomEdit::ClearUndo() { SendMessageA(GetHandle(), EM_EMPTYUNDOBUFFER, 0, 0); }
void TCustomEdit::CopyToClipboard() { SendMessageA(GetHandle(), WM_COPY, 0, 0); }
void TCustomEdit::CutToClipboard() { SendMessageA(GetHandle(), WM_CUT, 0, 0); }
void TCustomEdit::PasteFromClipboard() { SendMessageA(GetHandle(), WM_PASTE, 0, 0); }
void TCustomEdit::SelectAll() { SendMessageA(GetHandle(), EM_SETSEL, 0, -1); }
void TCustomEdit::Undo() { SendMessageA(GetHandle(), WM_UNDO, 0, 0); }

void TCustomEdit::Change() {
  Changed();
  if (OnChange) OnChange(this);
}

void TCustomEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND: CNCommand(m); return;
    case CM_TEXTCHANGED: CMTextChanged(m); return;
    case WM_SETFONT: WMSetFont(m); return;
    default: inherited::Dispatch(m); return;
  }
}

void TCustomEdit::CNCommand(TMessage& m) {
  if (TWMCommand(m).NotifyCode() == EN_CHANGE && !creating_) Change();
}

void TCustomEdit::CMTextChanged(TMessage&) {
  // A single-line window reports its own change (EN_CHANGE); a memo does
  // not for text set from outside.
  if (!HandleAllocated() || IsMultiLine()) Change();
}

void TCustomEdit::WMSetFont(TMessage& m) {
  DefaultHandler(m);
  // The system's margins for the new font.
  if (HandleAllocated() && !IsMultiLine())
    SendMessageA(GetWindowHandle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(EC_USEFONTINFO, 0));
}

void TCustomEdit::CMEnter(TMessage& m) {
  if (autoSelect_ && !GetControlState().Contains(csLButtonDown) && !IsMultiLine()) SelectAll();
  inherited::CMEnter(m);
}

void TCustomEdit::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  if (GetControlStyle().Contains(csFixedHeight) && !(IsDesigning() && IsLoading())) AdjustHeight();
}

void TCustomEdit::CMCtl3DChanged(TMessage& m) {
  if (borderStyle_ == bsSingle) {
    UpdateHeight();
    RecreateWnd();
  }
  inherited::CMCtl3DChanged(m);
}

void TCustomEdit::WMContextMenu(TMessage& m) {
  SetFocus();
  inherited::WMContextMenu(m);
}

// ---------------------------------------------------------------------------
// TMemoStrings

IMPLEMENT_CLASS(TMemoStrings)

namespace {
// Every line break (CR, LF or CR LF) as the CR LF an edit window shows.
std::string CrLfLineBreaks(const std::string& s) {
  std::string r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' || s[i] == '\n') {
      if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      r += "\r\n";
    } else {
      r += s[i];
    }
  }
  return r;
}
}  // namespace

HWND TMemoStrings::Window() const {
  if (!memo_) Error(SListIndexError, 0);
  return memo_->GetHandle();
}

int TMemoStrings::GetCount() const {
  if (!memo_) return 0;
  HWND h = Window();
  int count = static_cast<int>(SendMessageA(h, EM_GETLINECOUNT, 0, 0));
  LRESULT lastStart = SendMessageA(h, EM_LINEINDEX, static_cast<WPARAM>(count - 1), 0);
  if (SendMessageA(h, EM_LINELENGTH, static_cast<WPARAM>(lastStart), 0) == 0) --count;
  return count;
}

std::string TMemoStrings::Get(int index) const {
  HWND h = Window();
  if (index < 0 || index >= GetCount()) Error(SListIndexError, index);
  std::string s;
  if (!ReadEditLine(h, index, s)) Error(SListIndexError, index);
  return s;
}

void TMemoStrings::Put(int index, const std::string& s) {
  HWND h = Window();
  if (index < 0 || index >= GetCount()) Error(SListIndexError, index);
  LRESULT start = SendMessageA(h, EM_LINEINDEX, static_cast<WPARAM>(index), 0);
  if (start < 0) return;
  LRESULT length = SendMessageA(h, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
  SendMessageA(h, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
  SendMessageA(h, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

void TMemoStrings::Insert(int index, const std::string& s) {
  HWND h = Window();
  if (index < 0 || index > GetCount()) Error(SListIndexError, index);
  LRESULT start = SendMessageA(h, EM_LINEINDEX, static_cast<WPARAM>(index), 0);
  std::string line;
  if (start >= 0) {
    line = s + "\r\n";
  } else {
    // After the last line, which has no line break of its own yet.
    start = SendMessageA(h, EM_LINEINDEX, static_cast<WPARAM>(index - 1), 0);
    if (start < 0) return;
    start += SendMessageA(h, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
    line = "\r\n" + s;
  }
  SendMessageA(h, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start));
  SendMessageA(h, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

void TMemoStrings::Delete(int index) {
  HWND h = Window();
  if (index < 0 || index >= GetCount()) Error(SListIndexError, index);
  LRESULT start = SendMessageA(h, EM_LINEINDEX, static_cast<WPARAM>(index), 0);
  if (start < 0) return;
  LRESULT end = SendMessageA(h, EM_LINEINDEX, static_cast<WPARAM>(index + 1), 0);
  if (end < 0) end = start + SendMessageA(h, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
  SendMessageA(h, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
  SendMessageA(h, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(""));
}

void TMemoStrings::Clear() {
  if (memo_) memo_->Clear();
}

std::string TMemoStrings::GetTextStr() const { return memo_ ? memo_->GetText() : std::string(); }

void TMemoStrings::SetTextStr(const std::string& value) {
  if (!memo_) return;
  std::string text = CrLfLineBreaks(value);
  if (text == memo_->GetText()) return;
  if (SendMessageA(Window(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) == 0)
    throw EInvalidOperation("Text exceeds memo capacity");
  memo_->Perform(CM_TEXTCHANGED, 0, 0);
}

void TMemoStrings::SetUpdateState(bool updating) {
  if (!memo_ || !memo_->HandleAllocated()) return;
  SendMessageA(memo_->GetWindowHandle(), WM_SETREDRAW, updating ? FALSE : TRUE, 0);
  if (!updating) {
    memo_->Refresh();
    memo_->Perform(CM_TEXTCHANGED, 0, 0);
  }
}

// ---------------------------------------------------------------------------
// TCustomMemo

PUBLISHED(TMemo) { PublishMemoTable(p); }
IMPLEMENT_CLASS(TCustomMemo)

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) {
  SetBounds(GetLeft(), GetTop(), 185, 89);
  SetAutoSize(false);
  lines_ = New<TMemoStrings>(this);
}

void TCustomMemo::Destroy() {
  inherited::Destroy();
  FreeAndNil(lines_);
}

void TCustomMemo::SetAlignment(TAlignment v) {
  if (alignment_ == v) return;
  alignment_ = v;
  RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle v) {
  if (scrollBars_ == v) return;
  scrollBars_ = v;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool v) {
  if (wordWrap_ == v) return;
  wordWrap_ = v;
  RecreateWnd();
}

void TCustomMemo::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  // A wrapping memo scrolls only vertically.
  if (wordWrap_) params.Style &= ~DWORD{ES_AUTOHSCROLL};
  params.Style |= ES_MULTILINE;
  TAlignment a = alignment_;
  if (UseRightToLeftAlignment()) {
    if (a == taLeftJustify) a = taRightJustify;
    else if (a == taRightJustify) a = taLeftJustify;
  }
  params.Style |= a == taRightJustify ? ES_RIGHT : a == taCenter ? ES_CENTER : ES_LEFT;
  switch (scrollBars_) {
    case ssHorizontal: params.Style |= WS_HSCROLL; break;
    case ssVertical: params.Style |= WS_VSCROLL; break;
    case ssBoth: params.Style |= WS_HSCROLL | WS_VSCROLL; break;
    default: break;
  }
}

void TCustomMemo::KeyPress(char& key) {
  inherited::KeyPress(key);
  if (key == '\r' && !wantReturns_) key = 0;
}

void TCustomMemo::Dispatch(TMessage& m) {
  if (m.Msg == WM_GETDLGCODE) WMGetDlgCode(m);
  else inherited::Dispatch(m);
}

void TCustomMemo::WMGetDlgCode(TMessage& m) {
  DefaultHandler(m);
  if (wantTabs_) m.Result |= DLGC_WANTTAB;
  else m.Result &= ~LRESULT{DLGC_WANTTAB};
  if (!wantReturns_) m.Result &= ~LRESULT{DLGC_WANTALLKEYS};
}
