#include "classlib/mask/MaskEdit.h"

#include <algorithm>

#include "classlib/Clipbrd.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"

namespace {
constexpr const char* SMaskEditErr = "Invalid input value.  Use escape key to abandon changes";
}  // namespace

PUBLISHED(TMaskEdit) {
  PublishControlProps(p, {"Anchors"});
  p.Prop("AutoSelect", &TMaskEdit::GetAutoSelect, &TMaskEdit::SetAutoSelect).Default(true);
  p.Prop("AutoSize", &TMaskEdit::GetAutoSize, &TMaskEdit::SetAutoSize).Default(true);
  PublishControlProps(p, {"BiDiMode"});
  p.Prop("BorderStyle", &TMaskEdit::GetBorderStyle, &TMaskEdit::SetBorderStyle).Default(bsSingle);
  p.Prop("CharCase", &TMaskEdit::GetCharCase, &TMaskEdit::SetCharCase).Default(ecNormal);
  PublishColor(p, clWindow);
  PublishControlProps(p, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("EditMask", &TMaskEdit::GetEditMask, &TMaskEdit::SetEditMask);
  PublishControlProps(p, {"Font", "ImeMode", "ImeName"});
  p.Prop("MaxLength", &TMaskEdit::GetMaxLength, &TMaskEdit::SetMaxLength).Default(0);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint"});
  p.Prop("PasswordChar", &TMaskEdit::GetPasswordChar, &TMaskEdit::SetPasswordChar).Default('\0');
  PublishControlProps(p, {"PopupMenu"});
  p.Prop("ReadOnly", &TMaskEdit::GetReadOnly, &TMaskEdit::SetReadOnly).Default(false);
  PublishControlProps(p, {"ShowHint", "TabOrder"});
  p.Prop("TabStop", &TMaskEdit::GetTabStop, &TMaskEdit::SetTabStop).Default(true);
  // Text after EditMask, so that a stored value is read through the mask.
  p.Prop("Text", &TMaskEdit::GetText, &TMaskEdit::SetText);
  PublishControlProps(p, {"Visible"});
  p.Prop("OnChange", &TMaskEdit::GetOnChange, &TMaskEdit::SetOnChange);
  PublishControlProps(p, {"OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock",
                          "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown",
                          "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
}
IMPLEMENT_CLASS(TCustomMaskEdit)

TCustomMaskEdit::TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

void TCustomMaskEdit::SetEditMask(const std::string& v) {
  if (editMask_ == v) return;
  int start = 0, stop = 0;
  if (HandleAllocated()) GetSel(start, stop);
  // The value crosses to the new mask as the old one's input characters
  // alone (blanks as spaces, the unfilled end dropped).
  std::string value;
  if (IsMasked()) {
    std::string edit = GetEditText();
    for (int i = 0; i < mask_.Count() && i < static_cast<int>(edit.size()); ++i)
      if (!mask_.IsLiteral(i)) {
        char c = edit[static_cast<size_t>(i)];
        value += c == mask_.Blank() ? ' ' : c;
      }
    if (mask_.LeadingBlanks()) value.erase(0, std::min(value.find_first_not_of(' '), value.size()));
    else value.erase(value.find_last_not_of(' ') + 1);
  } else {
    value = TControl::GetText();
  }
  editMask_ = v;
  mask_ = TEditMaskInfo(v);
  if (HandleAllocated()) DoSetMaxLength(TCustomEdit::GetMaxLength());
  if (IsMasked()) SetEditText(mask_.InsertLiterals(value, mask_.Blank()));
  else TControl::SetText(value);
  if (HandleAllocated() && Focused()) SetCursor(start);
}

int TCustomMaskEdit::GetMaxLength() const { return IsMasked() ? mask_.Count() : TCustomEdit::GetMaxLength(); }

void TCustomMaskEdit::DoSetMaxLength(int v) {
  // A masked edit holds exactly its positions.
  inherited::DoSetMaxLength(IsMasked() ? mask_.Count() : v);
}

void TCustomMaskEdit::CreateWnd() {
  inherited::CreateWnd();
  DoSetMaxLength(TCustomEdit::GetMaxLength());
}

void TCustomMaskEdit::SetEditText(const std::string& v) {
  TControl::SetText(v);
  CheckCursor();
}

std::string TCustomMaskEdit::GetText() {
  if (!IsMasked()) return TControl::GetText();
  return mask_.TextOf(GetEditText());
}

void TCustomMaskEdit::SetText(const std::string& v) {
  if (!IsMasked()) TControl::SetText(v);
  else SetEditText(mask_.EditTextOf(v));
}

void TCustomMaskEdit::GetSel(int& start, int& stop) {
  DWORD s = 0, e = 0;
  SendMessageA(GetHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  start = static_cast<int>(s);
  stop = static_cast<int>(e);
}

void TCustomMaskEdit::SetCursor(int pos) {
  if (!HandleAllocated()) return;
  int len = static_cast<int>(GetEditText().size());
  pos = std::clamp(pos, 0, len);
  // The character under the caret is selected, so that typing replaces it.
  int stop = std::min(pos + 1, len);
  SendMessageA(GetWindowHandle(), EM_SETSEL, static_cast<WPARAM>(pos), static_cast<LPARAM>(stop));
}

void TCustomMaskEdit::CheckCursor() {
  if (!HandleAllocated() || !IsMasked()) return;
  int start = 0, stop = 0;
  GetSel(start, stop);
  if (start == stop) SetCursor(start);
}

void TCustomMaskEdit::BlankRange(std::string& text, int start, int stop) const {
  for (int i = std::max(start, 0); i < stop && i < static_cast<int>(text.size()); ++i)
    if (!mask_.IsLiteral(i)) text[static_cast<size_t>(i)] = mask_.Blank();
}

void TCustomMaskEdit::PutEditText(const std::string& text) {
  if (text != GetEditText()) {
    TControl::SetText(text);
    SetModified(true);
  }
}

bool TCustomMaskEdit::BlankSelection(int& start, std::string& text) {
  int stop = 0;
  GetSel(start, stop);
  text = GetEditText();
  // The one-character caret is no selection.
  if (stop - start <= 1) return false;
  BlankRange(text, start, stop);
  PutEditText(text);
  return true;
}

void TCustomMaskEdit::CharKeys(char c) {
  int start = 0;
  std::string text;
  BlankSelection(start, text);
  // A literal typed where it stands steps over it; one the caret has just
  // stepped over (typing "555-1234" into "000-0000") is taken as typed.
  for (int i = start; i < mask_.Count() && mask_.IsLiteral(i); ++i)
    if (mask_.At(i).Literal == c) {
      SetCursor(mask_.NextInput(i + 1));
      return;
    }
  for (int i = start - 1; i >= 0 && mask_.IsLiteral(i); --i)
    if (mask_.At(i).Literal == c) return;
  int pos = mask_.NextInput(start);
  if (pos >= mask_.Count() || !mask_.Accepts(pos, c)) {
    MessageBeep(0);
    SetCursor(std::min(pos, static_cast<int>(text.size())));
    return;
  }
  text[static_cast<size_t>(pos)] = c;
  PutEditText(text);
  SetCursor(mask_.NextInput(pos + 1));
}

void TCustomMaskEdit::DeleteKeys(WORD key) {
  int start = 0;
  std::string text;
  if (BlankSelection(start, text)) {
    SetCursor(start);
    return;
  }
  if (key == VK_BACK) {
    int pos = mask_.PriorInput(start - 1);
    if (pos < 0) {
      MessageBeep(0);
      return;
    }
    BlankRange(text, pos, pos + 1);
    PutEditText(text);
    SetCursor(pos);
  } else {
    BlankRange(text, start, start + 1);
    PutEditText(text);
    SetCursor(start);
  }
}

void TCustomMaskEdit::ArrowKeys(WORD key) {
  int start = 0, stop = 0;
  GetSel(start, stop);
  int len = static_cast<int>(GetEditText().size());
  int pos = start;
  switch (key) {
    case VK_LEFT: {
      int prior = mask_.PriorInput(start - 1);
      if (prior >= 0) pos = prior;
      break;
    }
    case VK_RIGHT: pos = std::min(mask_.NextInput(start + 1), len); break;
    case VK_HOME: pos = std::min(mask_.NextInput(0), len); break;
    case VK_END: pos = len; break;
    default: break;
  }
  SetCursor(pos);
}

void TCustomMaskEdit::KeyDown(WORD& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  if (!IsMasked() || key == 0 || GetReadOnly()) return;
  bool plainMove = !shift.Contains(ssShift) && !shift.Contains(ssCtrl);
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
      if (plainMove) {
        ArrowKeys(key);
        key = 0;
      }
      break;
    case VK_DELETE:
      // Shift+Delete cuts, through WM_CUT.
      if (!shift.Contains(ssShift)) {
        DeleteKeys(VK_DELETE);
        key = 0;
      }
      break;
    default: break;
  }
}

void TCustomMaskEdit::KeyPress(char& key) {
  inherited::KeyPress(key);
  if (!IsMasked() || key == 0) return;
  if (key == 27) {
    Reset();
    key = 0;
    return;
  }
  if (GetReadOnly()) return;
  if (key == 8) {
    DeleteKeys(VK_BACK);
    key = 0;
  } else if (static_cast<unsigned char>(key) >= 32) {
    CharKeys(key);
    key = 0;
  }
  // Other control characters (Ctrl+C, Ctrl+V, Ctrl+X) reach the edit,
  // which sends itself WM_COPY, WM_PASTE or WM_CUT.
}

void TCustomMaskEdit::Reset() {
  if (!IsMasked() || !GetModified()) return;
  SetEditText(oldValue_);
  SetModified(false);
}

void TCustomMaskEdit::ValidateEdit() {
  if (!IsMasked() || !GetModified()) return;
  int pos = 0;
  if (mask_.Validate(GetEditText(), pos)) return;
  if (!IsDesigning()) {
    // The focus stays (or comes back) here without a fresh start value.
    reEnter_ = true;
    SetFocus();
  }
  SetCursor(pos);
  ValidateError();
}

void TCustomMaskEdit::ValidateError() {
  MessageBeep(0);
  throw EDBEditError(SMaskEditErr);
}

void TCustomMaskEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_WANTSPECIALKEY: CMWantSpecialKey(m); return;
    case WM_LBUTTONUP: WMLButtonUpMask(m); return;
    case WM_PASTE: WMPaste(m); return;
    case WM_CUT: WMCut(m); return;
    case WM_CLEAR: WMClear(m); return;
    default: inherited::Dispatch(m);
  }
}

void TCustomMaskEdit::CMWantSpecialKey(TMessage& m) {
  // Escape belongs to the edit while there is a change to abandon.
  if (m.WParam == VK_ESCAPE && IsMasked() && GetModified()) m.Result = 1;
  else inherited::Dispatch(m);
}

void TCustomMaskEdit::WMLButtonUpMask(TMessage& m) {
  inherited::Dispatch(m);
  CheckCursor();
}

void TCustomMaskEdit::CMEnter(TMessage& m) {
  if (IsMasked() && !IsDesigning()) {
    if (!reEnter_) {
      oldValue_ = GetEditText();
      inherited::CMEnter(m);
    }
    reEnter_ = false;
    CheckCursor();
  } else {
    inherited::CMEnter(m);
  }
}

void TCustomMaskEdit::CMExit(TMessage& m) {
  try {
    ValidateEdit();
  } catch (...) {
    SetFocus();
    throw;
  }
  inherited::CMExit(m);
}

void TCustomMaskEdit::WMPaste(TMessage& m) {
  if (!IsMasked() || GetReadOnly()) {
    inherited::Dispatch(m);
    return;
  }
  std::string value = Clipboard()->GetAsText();
  int start = 0, stop = 0;
  GetSel(start, stop);
  std::string text = GetEditText();
  if (stop - start > 1) BlankRange(text, start, stop);
  int pos = start;
  for (char c : value) {
    // A literal in the pasted text matches the mask's own literal.
    if (pos < mask_.Count() && mask_.IsLiteral(pos) && mask_.At(pos).Literal == c) {
      ++pos;
      continue;
    }
    pos = mask_.NextInput(pos);
    if (pos >= mask_.Count() || !mask_.Accepts(pos, c)) {
      MessageBeep(0);
      break;
    }
    text[static_cast<size_t>(pos++)] = c;
  }
  PutEditText(text);
  SetCursor(std::min(mask_.NextInput(pos), static_cast<int>(text.size())));
}

void TCustomMaskEdit::WMCut(TMessage& m) {
  if (!IsMasked() || GetReadOnly()) {
    inherited::Dispatch(m);
    return;
  }
  CopyToClipboard();
  WMClear(m);
}

void TCustomMaskEdit::WMClear(TMessage& m) {
  if (!IsMasked() || GetReadOnly()) {
    inherited::Dispatch(m);
    return;
  }
  int start = 0, stop = 0;
  GetSel(start, stop);
  std::string text = GetEditText();
  BlankRange(text, start, std::max(stop, start + 1));
  PutEditText(text);
  SetCursor(start);
}
