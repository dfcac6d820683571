#include "classlib/stdctrls/ComboBox.h"

#include <algorithm>

#include "classlib/Scopes.h"
#include "classlib/Seams.h"
#include "classlib/classes/Lists.h"
#include "classlib/stdctrls/ItemTexts.h"
#include "classlib/stdctrls/OwnerDraw.h"
#include "classlib/stdctrls/StdCtrlsTables.h"
#include "classlib/sysutils/StringRoutines.h"

namespace {

constexpr const char* SInsertLineError = "Unable to insert a line";

// A character that reached a Unicode child window (the list, see CreateWnd)
// goes to the key events in the ANSI code page, byte by byte as Wine's
// conversion gave it to the ANSI subclass before (two bytes for a
// double-byte character): a byte they take takes the character, and a
// single byte they change changes it.
template <class CharTaken>
bool WideCharTaken(TMessage& m, CharTaken charTaken) {
  TWMKey key(m);
  const auto wide = static_cast<wchar_t>(key.CharCode());
  if (wide < 0x80) return charTaken(m);
  const std::string ansi = WideToAnsi(std::wstring_view(&wide, 1));
  for (char byte : ansi) {
    TMessage narrow = m;
    TWMKey(narrow).SetCharCode(static_cast<unsigned char>(byte));
    if (charTaken(narrow)) return true;
    const auto changed = static_cast<char>(TWMKey(narrow).CharCode());
    if (ansi.size() == 1 && changed != byte) {
      const std::wstring back = AnsiToWide(std::string(1, changed));
      key.SetCharCode(back.empty() ? WORD{0} : static_cast<WORD>(back[0]));
    }
  }
  return false;
}

}  // namespace

// ---------------------------------------------------------------------------
// TCustomComboBoxStrings, TComboBoxStrings

IMPLEMENT_CLASS(TCustomComboBoxStrings)
IMPLEMENT_CLASS(TComboBoxStrings)

HWND TCustomComboBoxStrings::Window() const {
  if (!comboBox_) Error(SListIndexError, 0);
  return comboBox_->GetHandle();
}

int TCustomComboBoxStrings::GetCount() const {
  if (!comboBox_) return 0;
  return static_cast<int>(SendMessageA(Window(), CB_GETCOUNT, 0, 0));
}

std::string TCustomComboBoxStrings::Get(int index) const {
  Window();
  // Read from the combo box's list: CB_GETLBTEXT is LB_GETTEXT sent on by
  // the combo box's procedure, through the class library's subclass of the
  // list.
  std::string s;
  if (!ReadListBoxItem(comboBox_->GetListHandle(), comboBox_->GetDefListProc(), index, s)) return std::string();
  return s;
}

TObject* TCustomComboBoxStrings::GetObject(int index) const {
  HWND h = Window();
  if (index < 0 || index >= GetCount()) Error(SListIndexError, index);
  return reinterpret_cast<TObject*>(SendMessageA(h, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void TCustomComboBoxStrings::PutObject(int index, TObject* obj) {
  HWND h = Window();
  if (index < 0 || index >= GetCount()) Error(SListIndexError, index);
  SendMessageA(h, CB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(obj));
}

void TCustomComboBoxStrings::Delete(int index) {
  HWND h = Window();
  if (index < 0 || index >= GetCount()) Error(SListIndexError, index);
  SendMessageA(h, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TCustomComboBoxStrings::Clear() {
  if (!comboBox_) return;
  std::string text = comboBox_->GetText();
  SendMessageA(Window(), CB_RESETCONTENT, 0, 0);
  comboBox_->SetText(text);
  comboBox_->Update();
}

int TCustomComboBoxStrings::IndexOf(const std::string& s) const {
  if (!comboBox_) return -1;
  return static_cast<int>(
      SendMessageA(Window(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s.c_str())));
}

void TCustomComboBoxStrings::SetUpdateState(bool updating) {
  if (!comboBox_) return;
  SendMessageA(Window(), WM_SETREDRAW, updating ? FALSE : TRUE, 0);
  if (!updating) comboBox_->Refresh();
}

int TComboBoxStrings::Add(const std::string& s) {
  LRESULT r = SendMessageA(Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  if (r < 0) throw EOutOfResources(SInsertLineError);
  return static_cast<int>(r);
}

void TComboBoxStrings::Insert(int index, const std::string& s) {
  if (index < 0 || index > GetCount()) Error(SListIndexError, index);
  LRESULT r =
      SendMessageA(Window(), CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
  if (r < 0) throw EOutOfResources(SInsertLineError);
}

// ---------------------------------------------------------------------------
// TCustomCombo

IMPLEMENT_CLASS(TCustomCombo)

TCustomCombo::TCustomCombo(TComponent* owner) : TCustomListControl(owner) {
  SetControlStyle(TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks, csFixedHeight, csReflector});
  SetBounds(GetLeft(), GetTop(), 145, 25);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  auto* canvas = New<TControlCanvas>();
  canvas->SetControl(this);
  canvas_ = canvas;
  editInstance_ = MakeObjectInstance(TWndMethod(this, &TCustomCombo::EditWndProc));
  listInstance_ = MakeObjectInstance(TWndMethod(this, &TCustomCombo::ListWndProc));
}

void TCustomCombo::Destroy() {
  inherited::Destroy();
  FreeAndNil(canvas_);
  FreeAndNil(items_);
  FreeObjectInstance(editInstance_);
  FreeObjectInstance(listInstance_);
  editInstance_ = listInstance_ = nullptr;
}

void TCustomCombo::SetItems(TStrings* value) { items_->Assign(value); }

int TCustomCombo::GetItemIndex() {
  if (IsLoading()) return itemIndex_;
  return static_cast<int>(SendMessageA(GetHandle(), CB_GETCURSEL, 0, 0));
}

void TCustomCombo::SetItemIndex(int value) {
  if (IsLoading()) {
    itemIndex_ = value;
    return;
  }
  if (GetItemIndex() != value) SendMessageA(GetHandle(), CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TCustomCombo::Loaded() {
  inherited::Loaded();
  if (itemIndex_ != -1) SetItemIndex(itemIndex_);
}

void TCustomCombo::SetItemHeight(int value) {
  if (value <= 0 || value == itemHeight_) return;
  itemHeight_ = value;
  RecreateWnd();
}

bool TCustomCombo::GetDroppedDown() {
  return HandleAllocated() && SendMessageA(GetWindowHandle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomCombo::SetDroppedDown(bool value) {
  HWND h = GetHandle();
  SendMessageA(h, CB_SHOWDROPDOWN, value ? TRUE : FALSE, 0);
  RECT r = GetClientRect();
  InvalidateRect(h, &r, TRUE);
}

void TCustomCombo::SetMaxLength(int value) {
  if (value < 0) value = 0;
  if (maxLength_ == value) return;
  maxLength_ = value;
  if (HandleAllocated()) SendMessageA(GetWindowHandle(), CB_LIMITTEXT, static_cast<WPARAM>(value), 0);
}

void TCustomCombo::GetEditSel(DWORD& start, DWORD& end) {
  HWND h = GetHandle();
  start = end = 0;
  // The extended combo box passes no selection message on to its edit.
  if (editHandle_)
    SendMessageA(editHandle_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  else
    SendMessageA(h, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
}

void TCustomCombo::SetEditSel(int start, int end) {
  HWND h = GetHandle();
  if (editHandle_) SendMessageA(editHandle_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
  else SendMessageA(h, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
}

int TCustomCombo::GetSelStart() {
  DWORD start = 0, end = 0;
  GetEditSel(start, end);
  return static_cast<int>(start);
}

void TCustomCombo::SetSelStart(int value) { SetEditSel(value, value); }

int TCustomCombo::GetSelLength() {
  DWORD start = 0, end = 0;
  GetEditSel(start, end);
  return static_cast<int>(end) - static_cast<int>(start);
}

void TCustomCombo::SetSelLength(int value) {
  DWORD start = 0, end = 0;
  GetEditSel(start, end);
  SetEditSel(static_cast<int>(start), static_cast<int>(start) + value);
}

bool TCustomCombo::Focused() const {
  HWND focus = ::GetFocus();
  return focus && (focus == GetWindowHandle() || focus == editHandle_ || focus == listHandle_);
}

void TCustomCombo::AddItem(const std::string& item, TObject* object) { items_->AddObject(item, object); }

void TCustomCombo::Clear() {
  SetText("");
  items_->Clear();
  saveIndex_ = -1;
}

void TCustomCombo::ClearSelection() { SetItemIndex(-1); }

void TCustomCombo::CopySelection(TCustomListControl* destination) {
  int i = GetItemIndex();
  if (destination && i != -1) destination->AddItem(items_->Get(i), items_->GetObject(i));
}

void TCustomCombo::DeleteSelected() {
  int i = GetItemIndex();
  if (i != -1) items_->Delete(i);
}

void TCustomCombo::SelectAll() { SetEditSel(0, -1); }

void TCustomCombo::Change() {
  Changed();
  if (OnChange) OnChange(this);
}

void TCustomCombo::Select() {
  if (OnSelect) OnSelect(this);
  else Change();
}

void TCustomCombo::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomCombo::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TCustomCombo::AdjustDropDown() {
  // A drop-down combo box's window is as tall as its open list.
  int count = std::clamp(GetItemCount(), 1, std::max(dropDownCount_, 1));
  HWND h = GetWindowHandle();
  {
    TRestore dropping(droppingDown_, true);
    SetWindowPos(h, nullptr, 0, 0, GetWidth(), GetItemHt() * count + GetHeight() + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_HIDEWINDOW);
  }
  SetWindowPos(h, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_SHOWWINDOW);
}

void TCustomCombo::CreateWnd() {
  inherited::CreateWnd();
  HWND h = GetWindowHandle();
  SendMessageA(h, CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  editHandle_ = nullptr;
  listHandle_ = nullptr;
  HWND edit = nullptr, list = nullptr;
  FindChildWindows(edit, list);
  // The edit (csDropDown, csSimple) and the list (every style) go through
  // ComboWndProc.
  if (edit) {
    editHandle_ = edit;
    defEditProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(editHandle_, GWLP_WNDPROC));
    SetWindowLongPtrA(editHandle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editInstance_));
    SendMessageA(editHandle_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(EC_USEFONTINFO, 0));
  }
  // The list is subclassed with the wide calls, so that it stays a Unicode
  // window: the system's combo procedure reads an item from it with the
  // wide LB_GETTEXT (to fill the edit, to draw the face, to answer the
  // text), and Wine hands that message to an ANSI subclass through a buffer
  // of 512 characters, so a longer item came back empty or overflowed the
  // buffer. ComboWndProc passes its messages on wide.
  if (list) {
    listHandle_ = list;
    defListProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(listHandle_, GWLP_WNDPROC));
    SetWindowLongPtrW(listHandle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listInstance_));
  }
}

void TCustomCombo::FindChildWindows(HWND& edit, HWND& list) {
  HWND h = GetWindowHandle();
  COMBOBOXINFO info{};
  info.cbSize = sizeof(COMBOBOXINFO);
  if (!GetComboBoxInfo(h, &info)) return;
  if (info.hwndItem && info.hwndItem != h) edit = info.hwndItem;
  list = info.hwndList;
}

void TCustomCombo::DestroyWindowHandle() {
  inherited::DestroyWindowHandle();
  // Cleared only now: the children's last messages came through the
  // procedures above while the window was destroyed.
  editHandle_ = nullptr;
  listHandle_ = nullptr;
}

void TCustomCombo::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
      // Sizing for the drop-down must not select the edit's text.
      if (droppingDown_) {
        DefaultHandler(m);
        return;
      }
      break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      // The edit and the list take the combo box's colours.
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(GetFont()->GetColor())));
      SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(GetBrush()->GetColor())));
      m.Result = reinterpret_cast<LRESULT>(GetBrush()->GetHandle());
      return;
    }
    case WM_CHAR: {
      if (CharTaken(m)) return;
      // Reported once: not again by the inherited handler, nor by the list
      // the system's procedure hands the character to for its search.
      TRestore reported(charReported_, true);
      DefaultHandler(m);
      return;
    }
  }
  inherited::WndProc(m);
}

bool TCustomCombo::CharTaken(TMessage& m) {
  if (DoKeyPress(m)) return true;
  // Enter and Escape close an open list and go no further.
  WORD key = TWMKey(m).CharCode();
  if ((key == VK_RETURN || key == VK_ESCAPE) && GetDroppedDown()) {
    SetDroppedDown(false);
    return true;
  }
  return false;
}

void TCustomCombo::DoEditCharMsg(TMessage&) {}

bool TCustomCombo::ChildMessageTaken(TMessage& m) {
  // A window procedure: nothing may leave it (ComboWndProc guards itself).
  try {
    if (m.Msg == WM_SYSCOMMAND) {
      WndProc(m);
      return true;
    }
    if (m.Msg >= WM_KEYFIRST && m.Msg <= WM_KEYLAST) {
      auto& hooks = ControlsHooks();
      if (hooks.WantChildKey)
        if (TCustomForm* form = GetParentForm(this))
          if (hooks.WantChildKey(form, this, m)) return true;
    }
  } catch (...) {
    ControlsHandleException(this);
    return true;
  }
  return false;
}

void TCustomCombo::EditWndProc(TMessage& m) {
  if (ChildMessageTaken(m)) return;
  UINT msg = m.Msg;
  ComboWndProc(m, editHandle_, defEditProc_);
  if (msg == WM_SETFONT && editHandle_)
    SendMessageA(editHandle_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(EC_USEFONTINFO, 0));
}

void TCustomCombo::ListWndProc(TMessage& m) { ComboWndProc(m, listHandle_, defListProc_); }

void TCustomCombo::ComboWndProc(TMessage& m, HWND comboWnd, WNDPROC comboProc) {
  try {
    if (FocusMessageStops(m)) return;
    switch (m.Msg) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        if (comboWnd != listHandle_ && DoKeyDown(m)) return;
        break;
      case WM_CHAR:
        if (!(comboWnd == listHandle_ && charReported_)) {
          auto taken = [this](TMessage& key) { return CharTaken(key); };
          if (IsWindowUnicode(comboWnd) ? WideCharTaken(m, taken) : taken(m)) return;
        }
        if (comboWnd == editHandle_) {
          DoEditCharMsg(m);
          if (TWMKey(m).CharCode() == 0) return;
        }
        break;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        if (DoKeyUp(m)) return;
        break;
      case WM_MOUSEMOVE:
        if (auto& f = ControlsHooks().HintMouseMessage) f(this, m);
        break;
      case WM_GETDLGCODE:
        if (GetDroppedDown()) {
          m.Result = DLGC_WANTALLKEYS;
          return;
        }
        break;
      case WM_NCHITTEST:
        if (IsDesigning()) {
          m.Result = HTTRANSPARENT;
          return;
        }
        break;
      case CN_KEYDOWN:
      case CN_CHAR:
      case CN_SYSKEYDOWN:
      case CN_SYSCHAR:
        WndProc(m);
        return;
    }
    UINT msg = m.Msg;
    // A Unicode child window's messages came wide (Wine converted what was
    // sent to it ANSI) and go on wide.
    m.Result = IsWindowUnicode(comboWnd) ? CallWindowProcW(comboProc, comboWnd, m.Msg, m.WParam, m.LParam)
                                         : CallWindowProcA(comboProc, comboWnd, m.Msg, m.WParam, m.LParam);
    if (msg == WM_LBUTTONDBLCLK && GetControlStyle().Contains(csDoubleClicks)) DblClick();
  } catch (...) {
    ControlsHandleException(this);
  }
}

// ---------------------------------------------------------------------------
// TCustomComboBox

PUBLISHED(TComboBox) { PublishComboBoxTable(p); }
IMPLEMENT_CLASS(TCustomComboBox)

TCustomComboBox::TCustomComboBox(TComponent* owner) : TCustomCombo(owner) {
  items_ = New<TComboBoxStrings>(this);
}

void TCustomComboBox::Destroy() {
  inherited::Destroy();
  FreeAndNil(saveItems_);
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
  if (style_ == value) return;
  style_ = value;
  TControlStyle cs = GetControlStyle();
  if (value == csSimple) cs.Exclude(csFixedHeight);
  else cs.Include(csFixedHeight);
  SetControlStyle(cs);
  RecreateWnd();
}

void TCustomComboBox::SetSorted(bool value) {
  if (sorted_ == value) return;
  sorted_ = value;
  RecreateWnd();
}

void TCustomComboBox::SetCharCase(TEditCharCase value) {
  if (charCase_ == value) return;
  charCase_ = value;
  RecreateWnd();
}

std::string TCustomComboBox::GetSelText() {
  if (!HasEdit()) return std::string();
  std::string text = GetText();
  int start = std::clamp(GetSelStart(), 0, static_cast<int>(text.size()));
  int length = std::clamp(GetSelLength(), 0, static_cast<int>(text.size()) - start);
  return text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

void TCustomComboBox::SetSelText(const std::string& value) {
  if (!HasEdit()) return;
  HandleNeeded();
  if (editHandle_) SendMessageA(editHandle_, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

int TCustomComboBox::GetItemHt() {
  if (style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable) return itemHeight_;
  return static_cast<int>(Perform(CB_GETITEMHEIGHT, 0, 0));
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  CreateSubClass(params, "COMBOBOX");
  DWORD style = WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL;
  switch (style_) {
    case csDropDown: style |= CBS_DROPDOWN; break;
    case csSimple: style |= CBS_SIMPLE; break;
    case csDropDownList: style |= CBS_DROPDOWNLIST; break;
    case csOwnerDrawFixed: style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED; break;
    case csOwnerDrawVariable: style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE; break;
  }
  if (sorted_) style |= CBS_SORT;
  if (charCase_ == ecUpperCase) style |= CBS_UPPERCASE;
  else if (charCase_ == ecLowerCase) style |= CBS_LOWERCASE;
  params.Style |= style;
}

void TCustomComboBox::CreateWnd() {
  inherited::CreateWnd();
  if (!saveItems_) return;
  Owned<TStringList> saved(saveItems_);
  saveItems_ = nullptr;
  items_->Assign(saved.get());
  if (saveIndex_ != -1) {
    saveIndex_ = std::min(saveIndex_, items_->GetCount());
    SendMessageA(GetWindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(saveIndex_), 0);
  }
}

void TCustomComboBox::DestroyWnd() {
  if (items_->GetCount() > 0) {
    saveIndex_ = GetItemIndex();
    Owned<TStringList> copy(New<TStringList>());
    copy->Assign(items_);
    FreeAndNil(saveItems_);
    saveItems_ = copy.release();
  }
  inherited::DestroyWnd();
}

bool TCustomComboBox::SelectItem(const std::string& text) {
  if (text.empty()) {
    SetItemIndex(-1);
    Change();
    return false;
  }
  int index = static_cast<int>(
      SendMessageA(GetHandle(), CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())));
  if (index == CB_ERR) return false;
  bool changed = index != GetItemIndex();
  SendMessageA(GetHandle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (HasEdit()) {
    // The typed letters stay as typed; the rest of the item is selected.
    std::string item = items_->Get(index);
    SetText(text + item.substr(std::min(text.size(), item.size())));
    SendMessageA(GetHandle(), CB_SETEDITSEL, 0, MAKELPARAM(text.size(), GetText().size()));
  } else {
    SetItemIndex(index);
    filter_ = text;
  }
  if (changed) {
    Click();
    Select();
  }
  return true;
}

void TCustomComboBox::KeyPress(char& key) {
  inherited::KeyPress(key);
  if (!HasEdit()) AutoCompleteKey(key);
}

void TCustomComboBox::DoEditCharMsg(TMessage& m) {
  if (!HasEdit()) return;
  char key = static_cast<char>(TWMKey(m).CharCode());
  AutoCompleteKey(key);
  if (key == 0) TWMKey(m).SetCharCode(0);
}

void TCustomComboBox::AutoCompleteKey(char& key) {
  if (!autoComplete_ || key == 0) return;
  if (HasEdit()) {
    filter_ = GetText();
  } else {
    DWORD now = Seams().TickCount();
    if (now - lastTime_ >= 500) filter_.clear();
    lastTime_ = now;
  }
  DWORD start = 0, end = 0;
  bool hasSelection = false;
  if (HasEdit()) {
    SendMessageA(GetHandle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    hasSelection = end > start;
  }
  switch (key) {
    case VK_ESCAPE:
      return;
    case VK_TAB:
      if (autoDropDown_ && GetDroppedDown()) SetDroppedDown(false);
      return;
    case VK_BACK:
      if (hasSelection) {
        std::string text = GetText();
        SetText(text.substr(0, start) + text.substr(std::min<size_t>(end, text.size())));
        SendMessageA(GetHandle(), CB_SETEDITSEL, 0, MAKELPARAM(start, start));
        filter_ = GetText();
      } else if (HasEdit() && !filter_.empty() && start > 0) {
        std::string text = GetText();
        SetText(text.substr(0, start - 1) + text.substr(std::min<size_t>(end, text.size())));
        SendMessageA(GetHandle(), CB_SETEDITSEL, 0, MAKELPARAM(start - 1, start - 1));
        filter_ = GetText();
      } else if (!filter_.empty()) {
        filter_.pop_back();
      }
      key = 0;
      Change();
      return;
    default:
      break;
  }
  if (static_cast<unsigned char>(key) < 32) return;
  if (autoDropDown_ && !GetDroppedDown()) SetDroppedDown(true);
  std::string typed = (hasSelection ? filter_.substr(0, std::min<size_t>(start, filter_.size())) : filter_) + key;
  if (SelectItem(typed)) key = 0;
}

void TCustomComboBox::DrawItem(int index, TRect rect, TOwnerDrawState state) {
  static_cast<TControlCanvas*>(canvas_)->UpdateTextFlags();
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  canvas_->FillRect(rect);
  if (index >= 0) canvas_->TextOut(rect.left + 2, rect.top, items_->Get(index));
}

void TCustomComboBox::MeasureItem(int index, int& height) {
  if (OnMeasureItem) OnMeasureItem(this, index, height);
}

void TCustomComboBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND: CNCommand(m); return;
    case CN_DRAWITEM: CNDrawItem(m); return;
    case CN_MEASUREITEM: CNMeasureItem(m); return;
    default: inherited::Dispatch(m); return;
  }
}

void TCustomComboBox::CNCommand(TMessage& m) {
  switch (TWMCommand(m).NotifyCode()) {
    case CBN_DBLCLK:
      DblClick();
      break;
    case CBN_EDITCHANGE:
      Change();
      break;
    case CBN_DROPDOWN:
      focusChanged_ = false;
      DropDown();
      AdjustDropDown();
      // A handler that moved the focus cancels the drop-down.
      if (focusChanged_) {
        PostMessageA(GetWindowHandle(), WM_CANCELMODE, 0, 0);
        if (!isFocused_) PostMessageA(GetWindowHandle(), CB_SHOWDROPDOWN, 0, 0);
      }
      break;
    case CBN_SELCHANGE: {
      int i = GetItemIndex();
      if (i >= 0) SetText(items_->Get(i));
      Click();
      Select();
      break;
    }
    case CBN_CLOSEUP:
      CloseUp();
      break;
    case CBN_SETFOCUS:
      isFocused_ = true;
      focusChanged_ = true;
      break;
    case CBN_KILLFOCUS:
      isFocused_ = false;
      focusChanged_ = true;
      break;
  }
}

void TCustomComboBox::CNDrawItem(TMessage& m) {
  if (DRAWITEMSTRUCT* d = TWMDrawItem(m).DrawItemStruct())
    DrawOwnerDrawnItem(canvas_, this, *d, [this](int index, TRect rect, TOwnerDrawState state) {
      DrawItem(index, rect, state);
    });
}

void TCustomComboBox::CNMeasureItem(TMessage& m) {
  MEASUREITEMSTRUCT* mi = TWMMeasureItem(m).MeasureItemStruct();
  if (!mi) return;
  MeasureOwnerDrawnItem(*mi, itemHeight_, style_ == csOwnerDrawVariable,
                        [this](int index, int& height) { MeasureItem(index, height); });
  m.Result = TRUE;
}
