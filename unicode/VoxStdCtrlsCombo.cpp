// The wide combo box: wide items and text in its Unicode COMBOBOX window
// (its edit and list windows Unicode too), kept across new windows, and the
// wide auto-complete of the edit styles and auto-search of the list styles.
#include <algorithm>

#include "classlib/Classes.h"
#include "classlib/Forms.h"
#include "classlib/Scopes.h"
#include "classlib/Seams.h"
#include "classlib/stdctrls/StdCtrlsTables.h"
#include "unicode/VoxGraphics.h"
#include "unicode/VoxStdCtrlsPrivate.h"

namespace {

constexpr const char* SInsertLineError = "Unable to insert a line";
// A pause this long between two keys starts a new search.
constexpr DWORD kSearchPause = 1250;

bool HasEdit(TCustomComboBox* combo) {
  return combo->GetStyle() == csDropDown || combo->GetStyle() == csSimple;
}

// The first item from after start that begins with s: the control's own
// search when it has one, else the window's.
int FindPrefix(TCustomComboBox* combo, int start, const std::wstring& s) {
  if (IVoxComboFindString* find = nullptr; Supports(combo, find)) return find->FindString(s, start);
  HWND h = combo->GetHandle();
  if (IsWindowUnicode(h))
    return static_cast<int>(
        SendMessageW(h, CB_FINDSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(s.c_str())));
  std::string ansi = WideToAnsi(s);
  return static_cast<int>(
      SendMessageA(h, CB_FINDSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(ansi.c_str())));
}

// The only item that begins with s, or -1 (none, or more than one: the
// search from the first match, which wraps round, finds another).
int FindUnique(TCustomComboBox* combo, const std::wstring& s) {
  int first = FindPrefix(combo, -1, s);
  if (first < 0) return -1;
  return FindPrefix(combo, first, s) == first ? first : -1;
}

// Selects the item found for s. In an edit style the text becomes s (as
// typed) followed by the rest of the item, with that rest selected.
bool SelectByPrefix(TCustomComboBox* combo, TVoxStrings* items, const std::wstring& s, bool setText,
                    bool uniqueOnly) {
  int index = uniqueOnly ? FindUnique(combo, s) : FindPrefix(combo, -1, s);
  if (index < 0) return false;
  bool changed = index != combo->GetItemIndex();
  combo->SetItemIndex(index);
  if (HasEdit(combo)) {
    if (setText) {
      std::wstring item = items->Get(index);
      VoxControl_SetText(combo, s + item.substr(std::min(s.size(), item.size())));
    }
    int length = static_cast<int>(VoxControl_GetText(combo).size());
    SendMessageW(combo->GetHandle(), CB_SETEDITSEL, 0, MAKELPARAM(s.size(), length));
  }
  if (changed) {
    combo->Click();
    combo->Select();
  }
  return true;
}

}  // namespace

// --- TVoxComboBoxStrings ----------------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxComboBoxStrings)

std::wstring TVoxComboBoxStrings::Get(int index) const {
  HWND h = VoxControl_WideHandle(comboBox_);
  if (!h) return AnsiToWide(Ansi()->Get(index));
  LRESULT length = SendMessageW(h, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  if (SendMessageW(h, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data())) == CB_ERR)
    return std::wstring();
  text.resize(text.find(L'\0'));
  return text;
}

int TVoxComboBoxStrings::GetCount() const { return Ansi()->GetCount(); }
TObject* TVoxComboBoxStrings::GetObject(int index) const { return Ansi()->GetObject(index); }
void TVoxComboBoxStrings::PutObject(int index, TObject* obj) { Ansi()->PutObject(index, obj); }
void TVoxComboBoxStrings::SetUpdateState(bool updating) { Ansi()->SetUpdateState(updating); }
void TVoxComboBoxStrings::Delete(int index) { Ansi()->Delete(index); }

int TVoxComboBoxStrings::Add(const std::wstring& s) {
  HWND h = VoxControl_WideHandle(comboBox_);
  if (!h) return Ansi()->Add(WideToAnsi(s));
  LRESULT r = SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  if (r < 0) throw EOutOfResources(SInsertLineError);
  return static_cast<int>(r);
}

void TVoxComboBoxStrings::Insert(int index, const std::wstring& s) {
  HWND h = VoxControl_WideHandle(comboBox_);
  if (!h) {
    Ansi()->Insert(index, WideToAnsi(s));
    return;
  }
  LRESULT r = SendMessageW(h, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
  if (r < 0) throw EOutOfResources(SInsertLineError);
}

void TVoxComboBoxStrings::Clear() {
  HWND h = VoxControl_WideHandle(comboBox_);
  if (!h) {
    Ansi()->Clear();
    return;
  }
  std::wstring text = VoxControl_GetText(comboBox_);
  SendMessageW(h, CB_RESETCONTENT, 0, 0);
  VoxControl_SetText(comboBox_, text);
  comboBox_->Update();
}

int TVoxComboBoxStrings::IndexOf(const std::wstring& s) const {
  HWND h = VoxControl_WideHandle(comboBox_);
  if (!h) return Ansi()->IndexOf(WideToAnsi(s));
  return static_cast<int>(
      SendMessageW(h, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s.c_str())));
}

// --- Free routines --------------------------------------------------------------------------------

void VoxCombo_BeforeInherited_DestroyWnd(TCustomComboBox* combo, TVoxStrings* items, TVoxComboSaved& saved) {
  if (!Win32PlatformIsUnicode || items->GetCount() == 0) return;
  Owned<TVoxStringList> copy(New<TVoxStringList>());
  copy->Assign(items);
  FreeAndNil(saved.Items);
  saved.Items = copy.release();
  saved.ItemIndex = combo->GetItemIndex();
  saved.Text = VoxControl_GetText(combo);
  // Nothing left for the class library to keep as ANSI text.
  items->Clear();
}

namespace {

// A child window subclassed by the class library through the ANSI call (the
// edit) is an ANSI window: its own procedure is put back, read again wide,
// and the class library's procedure installed with the wide call, so that
// the window stays Unicode and its own procedure gets its wide messages as
// they are. The list the class library subclasses wide already, and its
// procedure is the wide one.
WNDPROC ResubclassWide(HWND child, WNDPROC original, WNDPROC instance) {
  if (IsWindowUnicode(child)) return original;
  SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  auto wide = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(child, GWLP_WNDPROC));
  SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(instance));
  return wide;
}

}  // namespace

void VoxCombo_AfterInherited_CreateWnd(TCustomComboBox* combo, TVoxStrings* items, TVoxComboSaved& saved) {
  if (!Win32PlatformIsUnicode) return;
  if (HWND list = combo->GetListHandle())
    combo->SetDefListProc(ResubclassWide(list, combo->GetDefListProc(), combo->GetListInstance()));
  if (HWND edit = combo->GetEditHandle())
    combo->SetDefEditProc(ResubclassWide(edit, combo->GetDefEditProc(), combo->GetEditInstance()));
  if (!saved.Items) return;
  // Let go of before the assignment can fail, so it is never put back twice.
  Owned<TVoxStringList> copy(saved.Items);
  saved.Items = nullptr;
  items->Assign(copy.get());
  // An index at or past the count (the list shrank, or it was one past the
  // end) selects nothing rather than asking the window for a bad index.
  int index = saved.ItemIndex < items->GetCount() ? saved.ItemIndex : -1;
  SendMessageW(combo->GetWindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  VoxControl_SetText(combo, saved.Text);
  saved.ItemIndex = -1;
  saved.Text.clear();
}

bool VoxCombo_ComboWndProc(TCustomComboBox* combo, TMessage& m, HWND comboWnd, WNDPROC comboProc) {
  try {
    bool unicode = comboWnd && IsWindowUnicode(comboWnd);
    if (m.Msg == WM_CHAR) {
      if (unicode) MakeWMCharMsgSafeForAnsi(m);
      bool taken = false;
      {
        TFinally restore([unicode, &m] {
          if (unicode) RestoreWMCharMsg(m);
        });
        taken = combo->DoKeyPress(m);
        if (!taken && comboWnd == combo->GetEditHandle()) {
          combo->DoEditCharMsg(m);
          taken = TWMKey(m).CharCode() == 0;
        }
      }
      if (taken) return true;
      WORD key = TWMKey(m).CharCode();
      if ((key == VK_RETURN || key == VK_ESCAPE) && combo->GetDroppedDown()) {
        combo->SetDroppedDown(false);
        return true;
      }
      m.Result = unicode ? CallWindowProcW(comboProc, comboWnd, m.Msg, m.WParam, m.LParam)
                         : CallWindowProcA(comboProc, comboWnd, m.Msg, m.WParam, m.LParam);
      return true;
    }
    if (!unicode) return false;
    if (IsTextMessage(m.Msg) || m.Msg == EM_REPLACESEL || m.Msg == WM_IME_COMPOSITION) {
      m.Result = CallWindowProcW(comboProc, comboWnd, m.Msg, m.WParam, m.LParam);
      return true;
    }
    if (m.Msg == WM_IME_CHAR) {
      m.Result = SendMessageW(comboWnd, WM_CHAR, m.WParam, m.LParam);
      return true;
    }
    return false;
  } catch (...) {
    if (Application) Application->HandleException(combo);
    return true;
  }
}

bool VoxCombo_CNCommand(TCustomComboBox* combo, TVoxStrings* items, TMessage& m) {
  if (TWMCommand(m).NotifyCode() != CBN_SELCHANGE) return false;
  int index = combo->GetItemIndex();
  if (index >= 0) VoxControl_SetText(combo, items->Get(index));
  combo->Click();
  combo->Select();
  return true;
}

int VoxCombo_GetSelStart(TCustomComboBox* combo) { return vox_stdctrls::GetSelStart(combo); }
void VoxCombo_SetSelStart(TCustomComboBox* combo, int value) { vox_stdctrls::SetSelStart(combo, value); }
int VoxCombo_GetSelLength(TCustomComboBox* combo) { return vox_stdctrls::GetSelLength(combo); }
void VoxCombo_SetSelLength(TCustomComboBox* combo, int value) { vox_stdctrls::SetSelLength(combo, value); }

std::wstring VoxCombo_GetSelText(TCustomComboBox* combo) {
  return HasEdit(combo) ? vox_stdctrls::GetSelText(combo) : std::wstring();
}

void VoxCombo_SetSelText(TCustomComboBox* combo, const std::wstring& value) {
  if (!HasEdit(combo)) return;
  if (!Win32PlatformIsUnicode) {
    combo->TCustomComboBox::SetSelText(WideToAnsi(value));
    return;
  }
  combo->HandleNeeded();
  if (HWND edit = combo->GetEditHandle())
    SendMessageW(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

void VoxCombo_BeforeKeyPress(TCustomComboBox* combo, bool& savedAutoComplete) {
  savedAutoComplete = combo->GetAutoComplete();
  combo->SetAutoComplete(false);
}

void VoxCombo_AfterKeyPress(TCustomComboBox* combo, bool savedAutoComplete) {
  combo->SetAutoComplete(savedAutoComplete);
}

void VoxCombo_DropDown_PreserveSelection(TCustomComboBox* combo) {
  std::wstring text = VoxControl_GetText(combo);
  int start = VoxCombo_GetSelStart(combo), length = VoxCombo_GetSelLength(combo);
  combo->SetDroppedDown(true);
  VoxControl_SetText(combo, text);
  VoxCombo_SetSelStart(combo, start);
  VoxCombo_SetSelLength(combo, length);
}

void VoxComboBox_AddItem(TVoxStrings* items, const std::wstring& item, TObject* object) {
  items->AddObject(item, object);
}

void VoxComboBox_CopySelection(TCustomComboBox* combo, TVoxStrings* items, TCustomListControl* destination) {
  if (!destination) return;
  int index = combo->GetItemIndex();
  if (index != -1) WideListControl_AddItem(destination, items->Get(index), items->GetObject(index));
}

void VoxCombo_AutoCompleteKeyPress(TCustomComboBox* combo, TVoxStrings* items, TMessage& m) {
  VoxAssert(HasEdit(combo),
            "Internal Error: VoxCombo_AutoCompleteKeyPress is only for csSimple and csDropDown style combo boxes.",
            "VoxStdCtrls", 1873);
  if (!combo->GetAutoComplete()) return;
  wchar_t key = GetWideCharFromWMCharMsg(m);
  switch (key) {
    case VK_BACK:
    case VK_ESCAPE:
      return;
    case VK_TAB:
      if (combo->GetAutoDropDown() && combo->GetDroppedDown()) combo->SetDroppedDown(false);
      return;
    default:
      break;
  }
  if (combo->GetAutoDropDown() && !combo->GetDroppedDown()) VoxCombo_DropDown_PreserveSelection(combo);
  std::wstring text = VoxControl_GetText(combo);
  int start = VoxCombo_GetSelStart(combo), length = VoxCombo_GetSelLength(combo);
  // Only typing at the end completes; a character typed inside the text
  // edits it as typed.
  if (start + length >= static_cast<int>(text.size())) {
    std::wstring typed = text.substr(0, std::min(static_cast<size_t>(std::max(0, start)), text.size())) + key;
    if (SelectByPrefix(combo, items, typed, true, false)) key = 0;
  }
  SetWideCharForWMCharMsg(m, key);
}

void VoxCombo_AutoSearchKeyPress(TCustomComboBox* combo, TVoxStrings* items, TMessage& m, std::wstring& prefix,
                                 DWORD& lastTime) {
  if (HasEdit(combo) || !combo->GetAutoComplete()) return;
  wchar_t key = GetWideCharFromWMCharMsg(m);
  switch (key) {
    case VK_BACK:
      if (!prefix.empty()) prefix.pop_back();
      return;
    case VK_TAB:
      if (combo->GetAutoDropDown() && combo->GetDroppedDown()) combo->SetDroppedDown(false);
      return;
    case VK_ESCAPE:
      return;
    default:
      break;
  }
  if (combo->GetAutoDropDown() && !combo->GetDroppedDown()) combo->SetDroppedDown(true);
  DWORD now = Seams().TickCount();
  if (now - lastTime >= kSearchPause) prefix.clear();
  lastTime = now;
  if (SelectByPrefix(combo, items, prefix + key, true, false)) {
    prefix += key;
    key = 0;
  }
  SetWideCharForWMCharMsg(m, key);
}

// --- TVoxCustomComboBox ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxCustomComboBox)

TVoxCustomComboBox::TVoxCustomComboBox(TComponent* owner) : TVoxControlOf(owner) {
  items_ = New<TVoxComboBoxStrings>(this);
}

void TVoxCustomComboBox::Destroy() {
  inherited::Destroy();
  FreeAndNil(items_);
  FreeAndNil(saved_.Items);
}

void TVoxCustomComboBox::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, L"COMBOBOX");
}

void TVoxCustomComboBox::CreateWnd() {
  inherited::CreateWnd();
  VoxCombo_AfterInherited_CreateWnd(this, items_, saved_);
}

void TVoxCustomComboBox::DestroyWnd() {
  VoxCombo_BeforeInherited_DestroyWnd(this, items_, saved_);
  inherited::DestroyWnd();
}

void TVoxCustomComboBox::WndProc(TMessage& m) {
  // The list styles search before the key press: the combo box itself has
  // the focus and gets the character (packed for ANSI code).
  if (m.Msg == WM_CHAR && !HasEdit()) {
    VoxCombo_AutoSearchKeyPress(this, items_, m, searchPrefix_, lastSearchTime_);
    if (GetWideCharFromWMCharMsg(m) == 0) return;
  }
  inherited::WndProc(m);
}

void TVoxCustomComboBox::ComboWndProc(TMessage& m, HWND comboWnd, WNDPROC comboProc) {
  if (!VoxCombo_ComboWndProc(this, m, comboWnd, comboProc)) inherited::ComboWndProc(m, comboWnd, comboProc);
}

void TVoxCustomComboBox::CNCommand(TMessage& m) {
  if (!VoxCombo_CNCommand(this, items_, m)) inherited::CNCommand(m);
}

void TVoxCustomComboBox::KeyPress(char& key) {
  bool saved = true;
  VoxCombo_BeforeKeyPress(this, saved);
  TFinally after([this, &saved] { VoxCombo_AfterKeyPress(this, saved); });
  inherited::KeyPress(key);
}

void TVoxCustomComboBox::DoEditCharMsg(TMessage& m) {
  if (HasEdit()) VoxCombo_AutoCompleteKeyPress(this, items_, m);
}

void TVoxCustomComboBox::DrawItem(int index, TRect rect, TOwnerDrawState state) {
  static_cast<TControlCanvas*>(GetCanvas())->UpdateTextFlags();
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  GetCanvas()->FillRect(rect);
  if (index >= 0) WideCanvasTextOut(GetCanvas(), rect.left + 2, rect.top, items_->Get(index));
}

void TVoxCustomComboBox::AddItem(const std::wstring& item, TObject* object) {
  VoxComboBox_AddItem(items_, item, object);
}

void TVoxCustomComboBox::CopySelection(TCustomListControl* destination) {
  VoxComboBox_CopySelection(this, items_, destination);
}

PUBLISHED(TVoxComboBox) {
  PublishComboBoxTable(p);
  PublishWideHint(p);
  p.Prop("Items", &TVoxComboBox::GetItems, &TVoxComboBox::SetItems);
  PublishWideText(p);
}
