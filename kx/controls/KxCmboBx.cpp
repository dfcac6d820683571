#include "kx/controls/KxCmboBx.h"

#include <algorithm>
#include <optional>

#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"
#include "kx/foundation/KxThemeSrv.h"

namespace {

constexpr UINT kSearchResetMs = 1500;

bool IsLeadByte(char c) { return IsDBCSLeadByte(static_cast<BYTE>(c)) != 0; }

bool ShiftDown() { return GetKeyState(VK_SHIFT) < 0; }

}  // namespace

// ---------------------------------------------------------------------------
// TKxCustomComboBox

IMPLEMENT_CLASS(TKxCustomComboBox)

TKxCustomComboBox::TKxCustomComboBox(TComponent* owner)
    : TKxFramed<TCustomComboBox>(owner),
      searchTimer_(kSearchResetMs, TNotifyEvent(this, &TKxCustomComboBox::SearchTimerExpired)) {
  // The class library's completion would fight the library's own.
  TCustomComboBox::SetAutoComplete(false);
}

// --- items and search ------------------------------------------------------------

bool TKxCustomComboBox::FindItem(const std::string& s) {
  int i = GetItems()->IndexOf(s);
  if (i >= 0) SetItemIndex(i);
  return i >= 0;
}

bool TKxCustomComboBox::FindClosestItem(const std::string& s) {
  int i = FindClosest(s);
  if (i >= 0) SetItemIndex(i);
  return i >= 0;
}

int TKxCustomComboBox::FindClosest(const std::string& s) {
  // An empty prefix names no item.
  if (s.empty()) return -1;
  return static_cast<int>(
      Perform(CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s.c_str())));
}

void TKxCustomComboBox::ForceText(const std::string& s) {
  if (s == GetText()) return;
  TRestore completing(autoComplete_, false);
  SetText(s);
}

void TKxCustomComboBox::InvalidKeyPressed() {
  if (beepOnInvalidKey_) MessageBeep(0);
}

void TKxCustomComboBox::SearchTimerExpired(TObject*) {
  if (typing_ || !searchTimer_.Due()) return;
  searchString_.clear();
}

void TKxCustomComboBox::DropLastChar(std::string& s) {
  if (s.empty()) return;
  // A double-byte character goes whole: its trail byte, then its lead.
  s.pop_back();
  if (!s.empty() && IsLeadByte(s.back())) s.pop_back();
}

void TKxCustomComboBox::UpdateIndex(const std::string& s, TMessage* keyMessage) {
  int index = FindClosest(s);
  if (index < 0) {
    InvalidKeyPressed();
    return;
  }
  SetItemIndex(index);
  searchString_ = s;
  Click();
  Change();
  if (keyMessage) DoKeyPress(*keyMessage);
}

bool TKxCustomComboBox::FindListItem(const std::string& s, TMessage* keyMessage) {
  // An empty text completes to nothing (every item begins with it).
  if (s.empty()) return false;
  int index = FindClosest(s);
  if (index < 0) return false;
  std::string item = GetItems()->Get(index);
  if (keepSearchCase_) {
    GuardText();
    SetText(s + item.substr(std::min(s.size(), item.size())));
  } else {
    // Selected again even when it is the current item: the edit may hold
    // other text by now.
    textChangeGuard_ = true;
    Perform(CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    textChangeGuard_ = false;
  }
  Click();
  Change();
  if (keyMessage) DoKeyPress(*keyMessage);
  int start = static_cast<int>(s.size());
  Perform(CB_SETEDITSEL, 0, MAKELPARAM(start, static_cast<int>(GetText().size())));
  Match();
  return true;
}

void TKxCustomComboBox::UpdateSearchStr() {
  if (GetStyle() != csDropDown) return;
  // The first change after Enter keeps what was typed (the history box sets
  // its text again then), but an empty text is never to be completed: a
  // handler that clears the box on Enter must find it empty.
  std::string text = GetText();
  bool keep = enterPressed_ && !text.empty();
  enterPressed_ = false;
  if (!keep) searchString_ = text;
  if (searchString_.empty()) return;
  int index = FindClosest(searchString_);
  if (index < 0) return;
  SetItemIndex(index);
  int start = static_cast<int>(searchString_.size());
  Perform(CB_SETEDITSEL, 0, MAKELPARAM(start, static_cast<int>(GetItems()->Get(index).size())));
}

// --- the list styles' search: characters that reach the combo box's own window ------

void TKxCustomComboBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
      if (TWMKey(m).CharCode() == VK_ESCAPE && GetDroppedDown()) escapeClosesList_ = true;
      break;
    case WM_CHAR: {
      WORD code = TWMKey(m).CharCode();
      std::string s = searchString_;
      if (code == VK_BACK) {
        if (s.empty()) {
          // Nothing to take back (an empty prefix finds no item either).
          InvalidKeyPressed();
        } else {
          DropLastChar(s);
          if (!s.empty()) {
            UpdateIndex(s, &m);
          } else {
            SetItemIndex(0);
            Click();
            Change();
            ClearSearchString();
            DoKeyPress(m);
          }
        }
        return;
      }
      if (code == VK_ESCAPE) {
        if (escapeClosesList_) {
          escapeClosesList_ = false;
        } else {
          SetItemIndex(0);
          Click();
          Change();
        }
        return;
      }
      if (code >= 32 && code <= 255) {
        TRestore typing(typing_, true);
        s += static_cast<char>(code);
        UpdateIndex(s, &m);
        searchTimer_.Restart();
        return;
      }
      break;
    }
  }
  inherited::WndProc(m);
}

// --- the edit part: auto-completion -------------------------------------------------

void TKxCustomComboBox::PassOn(TMessage& m, HWND wnd, WNDPROC proc) {
  m.Result = CallWindowProcA(proc, wnd, m.Msg, m.WParam, m.LParam);
}

void TKxCustomComboBox::EditKeyDown(TMessage& m) {
  sysKey_ = false;
  TWMKey k(m);
  switch (k.CharCode()) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
      textChangeGuard_ = true;
      ClearSearchString();
      if (readOnly_) k.SetCharCode(0);
      break;
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_RIGHT:
      searchString_ = GetText();
      break;
    case VK_INSERT:
      if (ShiftDown()) keyboardPaste_ = true;
      if (!allowEdit_) k.SetCharCode(0);
      break;
    case VK_DELETE: {
      searchString_ = GetText();
      int start = GetSelStart();
      int length = GetSelLength();
      if (start < static_cast<int>(searchString_.size())) {
        int n = std::max(length, IsLeadByte(searchString_[static_cast<size_t>(start)]) ? 2 : 1);
        searchString_.erase(static_cast<size_t>(start), static_cast<size_t>(n));
      }
      if (!allowEdit_ && length < static_cast<int>(GetText().size())) k.SetCharCode(0);
      break;
    }
    case VK_F4:
      if (readOnly_) k.SetCharCode(0);
      break;
  }
}

bool TKxCustomComboBox::EditChar(TMessage& m, HWND wnd, WNDPROC proc) {
  TWMKey k(m);
  WORD code = k.CharCode();
  if (sysKey_) {
    sysKey_ = false;
    return false;
  }
  if (readOnly_) return code != 3;  // Ctrl+C still copies
  std::string s = searchString_;
  switch (code) {
    case VK_BACK: {
      if (s.empty()) {
        InvalidKeyPressed();
        return false;
      }
      int selStart = GetSelStart();
      int selLength = GetSelLength();
      if (selStart >= static_cast<int>(s.size())) {
        DropLastChar(s);
      } else if (selLength > 0 && allowEdit_) {
        s.erase(static_cast<size_t>(selStart), static_cast<size_t>(selLength));
        Perform(CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        Perform(CB_SETEDITSEL, 0, MAKELPARAM(selStart, selStart));
      } else if (allowEdit_ && selStart > 0) {
        // The byte before the caret (both bytes of a double-byte one).
        size_t at = static_cast<size_t>(selStart) - 1;
        if (at > 0 && IsLeadByte(s[at - 1])) --at;
        s.erase(at, static_cast<size_t>(selStart) - at);
      }
      Change();
      if (s.empty()) {
        SetItemIndex(-1);
        if (keepSearchCase_) SetText("");
        ClearSearchString();
        Click();
        Change();
        if (!DoKeyPress(m)) PassOn(m, wnd, proc);
        return true;
      }
      searchString_ = s;
      return FindListItem(s, &m);
    }
    case VK_RETURN:
      enterPressed_ = true;
      return false;
    case 22:  // Ctrl+V
    case 24:  // Ctrl+X
      if (!allowEdit_) k.SetCharCode(0);
      return false;
    case VK_ESCAPE:
      if (!GetDroppedDown()) SetItemIndex(-1);
      ClearSearchString();
      Click();
      Change();
      if (GetDroppedDown()) return false;  // closes the list (and fires the key press)
      DoKeyPress(m);
      return true;
  }
  if (code < 32 || code > 255) return false;
  if (DoKeyPress(m)) return true;
  code = k.CharCode();
  if (code < 32 || code > 255) {
    PassOn(m, wnd, proc);
    return true;
  }
  int selStart = GetSelStart();
  int selLength = GetSelLength();
  if (selLength > 0 && selStart < static_cast<int>(searchString_.size()))
    searchString_.erase(static_cast<size_t>(selStart), static_cast<size_t>(selLength));
  std::string kept = searchString_;
  std::string typed = searchString_;
  size_t at = std::min(static_cast<size_t>(std::max(selStart, 0)), typed.size());
  typed.insert(at, 1, static_cast<char>(code));
  MSG trail{};
  bool hasTrail = false;
  if (IsLeadByte(static_cast<char>(code)) && PeekMessageA(&trail, wnd, WM_CHAR, WM_CHAR, PM_NOREMOVE)) {
    typed.insert(at + 1, 1, static_cast<char>(trail.wParam));
    hasTrail = true;
  }
  searchString_ = typed;
  if (FindListItem(typed, nullptr)) {
    if (hasTrail) PeekMessageA(&trail, wnd, WM_CHAR, WM_CHAR, PM_REMOVE);
    return true;
  }
  if (allowEdit_) {
    // The completed tail goes; the character lands after what was typed.
    GuardText();
    SetText(kept);
    Perform(CB_SETEDITSEL, 0, MAKELPARAM(selStart, selStart));
    textChangeGuard_ = false;
    PassOn(m, wnd, proc);
    return true;
  }
  InvalidKeyPressed();
  searchString_ = kept;
  return true;
}

void TKxCustomComboBox::ComboWndProc(TMessage& m, HWND comboWnd, WNDPROC comboProc) {
  if (!autoComplete_ || comboWnd != GetEditHandle()) {
    inherited::ComboWndProc(m, comboWnd, comboProc);
    return;
  }
  try {
    UINT msg = m.Msg;
    bool ctrlPasteOrCut = false;
    switch (msg) {
      case WM_KEYDOWN:
        EditKeyDown(m);
        break;
      case WM_SYSKEYDOWN:
        sysKey_ = true;
        if (readOnly_ && TWMKey(m).CharCode() != VK_F4) return;
        break;
      case WM_LBUTTONDOWN:
        if (GetStyle() == csDropDown) searchString_ = GetText();
        break;
      case WM_CHAR: {
        WORD code = TWMKey(m).CharCode();
        ctrlPasteOrCut = code == 22 || code == 24;
        if (EditChar(m, comboWnd, comboProc)) return;
        break;
      }
    }
    bool pasted = keyboardPaste_ && msg == WM_KEYDOWN;
    if (pasted) keyboardPaste_ = false;
    inherited::ComboWndProc(m, comboWnd, comboProc);
    if (allowEdit_ && (pasted || ctrlPasteOrCut)) {
      searchString_ = GetText();
      FindListItem(searchString_, nullptr);
    }
  } catch (...) {
    ControlsHandleException(this);
  }
}

// --- keys of the control -----------------------------------------------------------------

void TKxCustomComboBox::KeyPress(char& key) {
  if (tabOnEnter_ && key == VK_RETURN && !GetDroppedDown()) {
    key = 0;
    PostMessageA(GetHandle(), WM_KEYDOWN, VK_TAB, 0);
  } else if (GetStyle() == csDropDown && static_cast<unsigned char>(key) >= 32 && GetMaxLength() > 0 &&
             static_cast<int>(GetText().size()) >= GetMaxLength() && GetSelLength() == 0) {
    MessageBeep(0);
    key = 0;
  }
  inherited::KeyPress(key);
  switch (key) {
    case 0:
    case VK_BACK:
    case VK_ESCAPE:
      break;
    case VK_TAB:
      if (GetAutoDropDown() && GetDroppedDown()) SetDroppedDown(false);
      break;
    default:
      if (GetAutoDropDown() && !GetDroppedDown()) SetDroppedDown(true);
      break;
  }
}

void TKxCustomComboBox::WMKeyDown(TMessage& m) {
  if (KxKeyEndsSearch(TWMKey(m).CharCode())) ClearSearchString();
  inherited::WMKeyDown(m);
}

void TKxCustomComboBox::WMKillFocus(TMessage& m) {
  ClearSearchString();
  inherited::WMKillFocus(m);
}

void TKxCustomComboBox::WMCut(TMessage& m) {
  if (!allowEdit_) return;
  searchString_ = GetText();
  FindListItem(searchString_, nullptr);
  DefaultHandler(m);
}

void TKxCustomComboBox::WMPaste(TMessage& m) {
  if (!allowEdit_) return;
  DefaultHandler(m);
  searchString_ = GetText();
  FindListItem(searchString_, nullptr);
}

void TKxCustomComboBox::CMTextChanged(TMessage& m) {
  DefaultHandler(m);
  if (autoComplete_ && !IsDesigning() && !textChangeGuard_ && !GetDroppedDown()) UpdateSearchStr();
  textChangeGuard_ = false;
}

// --- mouse ---------------------------------------------------------------------------------

void TKxCustomComboBox::WMLButtonDown(TMessage& m) {
  if (readOnly_) return;
  inherited::WMLButtonDown(m);
}

void TKxCustomComboBox::WMLButtonDblClk(TMessage& m) {
  if (readOnly_) return;
  inherited::WMLButtonDblClk(m);
}

bool TKxCustomComboBox::DoMouseWheelDown(TShiftState shift, POINT mousePos) {
  if (inherited::DoMouseWheelDown(shift, mousePos)) return true;
  if (GetDroppedDown()) {
    int top = static_cast<int>(Perform(CB_GETTOPINDEX, 0, 0));
    Perform(CB_SETTOPINDEX, static_cast<WPARAM>(top + Mouse().GetWheelScrollLines()), 0);
    return true;
  }
  // The last item stays the last: no step past the end, no events for none.
  int index = GetItemIndex();
  if (index + 1 < GetItems()->GetCount()) {
    SetItemIndex(index + 1);
    Click();
    Change();
  }
  return true;
}

bool TKxCustomComboBox::DoMouseWheelUp(TShiftState shift, POINT mousePos) {
  if (inherited::DoMouseWheelUp(shift, mousePos)) return true;
  if (GetDroppedDown()) {
    int top = static_cast<int>(Perform(CB_GETTOPINDEX, 0, 0));
    Perform(CB_SETTOPINDEX, static_cast<WPARAM>(std::max(0, top - Mouse().GetWheelScrollLines())), 0);
    return true;
  }
  int index = GetItemIndex();
  if (index < 1) {
    SetItemIndex(0);
  } else {
    SetItemIndex(index - 1);
    Click();
    Change();
  }
  return true;
}

// --- settings ---------------------------------------------------------------------------------

void TKxCustomComboBox::ApplyReadOnly() {
  if (HandleAllocated() && GetEditHandle())
    SendMessageA(GetEditHandle(), EM_SETREADONLY, readOnly_ ? TRUE : FALSE, 0);
}

void TKxCustomComboBox::SetReadOnly(bool value) {
  readOnly_ = value;
  ApplyReadOnly();
  Invalidate();
}

void TKxCustomComboBox::SetDropDownWidth(int value) {
  dropDownWidth_ = value;
  if (HandleAllocated()) Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(value), 0);
}

void TKxCustomComboBox::SetFlatButtons(bool value) {
  if (flatButtons_ == value) return;
  flatButtons_ = value;
  Invalidate();
}

void TKxCustomComboBox::SetFlatButtonColor(TColor value) {
  if (flatButtonColor_ == value) return;
  flatButtonColor_ = value;
  Invalidate();
}

void TKxCustomComboBox::SetItemHeight(int value) {
  if (GetStyle() == csOwnerDrawFixed || GetStyle() == csOwnerDrawVariable) inherited::SetItemHeight(value);
}

void TKxCustomComboBox::SetFrameVisible(bool value) {
  if (frameVisible_ == value) return;
  frameVisible_ = value;
  SetParentCtl3D(!value);
  SetCtl3D(!value);
  Invalidate();
}

void TKxCustomComboBox::UpdateFrame(bool isMouse, bool value) {
  if (isMouse) mouseOver_ = value;
  else focused_ = value;
  if ((flatButtons_ || GetFrameHotTrack()) && !GetDroppedDown() && HandleAllocated()) {
    TRect r = GetClientRect();
    if (!GetFrameHotTrack()) {
      if (UseRightToLeftAlignment()) r.right = r.left + GetSystemMetrics(SM_CXVSCROLL) + 2;
      else r.left = r.right - GetSystemMetrics(SM_CXVSCROLL) - 2;
    }
    RedrawWindow(GetWindowHandle(), &r, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW);
  }
  UpdateColors();
}

// --- events --------------------------------------------------------------------------------------

void TKxCustomComboBox::Match() {
  if (OnMatch) OnMatch(this);
}

void TKxCustomComboBox::NotInList() {
  if (OnNotInList) OnNotInList(this);
}

void TKxCustomComboBox::SelEndCancel() {
  if (OnSelEndCancel) OnSelEndCancel(this);
}

void TKxCustomComboBox::SelEndOk() {
  if (OnSelEndOk) OnSelEndOk(this);
}

void TKxCustomComboBox::DeleteItem(void* data) {
  if (OnDeleteItem) OnDeleteItem(this, data);
}

void TKxCustomComboBox::CloseUp() {
  inherited::CloseUp();
  Invalidate();
}

// --- window and messages ---------------------------------------------------------------------------

void TKxCustomComboBox::CreateWnd() {
  inherited::CreateWnd();
  if (dropDownWidth_ != 0) Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(dropDownWidth_), 0);
  ApplyReadOnly();
}

void TKxCustomComboBox::DestroyWnd() {
  // DropDownWidth is kept in its field and given to the next window.
  inherited::DestroyWnd();
}

void TKxCustomComboBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED: CMTextChanged(m); return;
    case WM_CUT: WMCut(m); return;
    case WM_PASTE: WMPaste(m); return;
    case CN_DELETEITEM: WMDeleteItem(m); return;
    default: inherited::Dispatch(m); return;
  }
}

void TKxCustomComboBox::WMDeleteItem(TMessage& m) {
  // The owner hears of a deleted item; reflected to the combo box, or sent
  // to it straight.
  if (auto* d = TWMDeleteItem(m).DeleteItemStruct(); d && d->itemData != 0) {
    DeleteItem(reinterpret_cast<void*>(d->itemData));
    d->itemData = 0;
  }
  if (m.Msg == WM_DELETEITEM) inherited::WMDeleteItem(m);
}

void TKxCustomComboBox::CNCommand(TMessage& m) {
  inherited::CNCommand(m);
  switch (TWMCommand(m).NotifyCode()) {
    case CBN_SELENDOK:
      textChangeGuard_ = true;
      SelEndOk();
      break;
    case CBN_SELENDCANCEL:
      SelEndCancel();
      break;
  }
}

void TKxCustomComboBox::CNDrawItem(TMessage& m) {
  const DRAWITEMSTRUCT* source = TWMDrawItem(m).DrawItemStruct();
  if (!source) return;
  DRAWITEMSTRUCT d = *source;
  int index = static_cast<int>(d.itemID);
  TOwnerDrawState state = OwnerDrawStateOf(d.itemState);
  TCanvas* canvas = GetCanvas();
  TCanvasPaintScope scope(canvas, d.hDC);
  canvas->GetFont()->Assign(GetFont());
  canvas->GetBrush()->Assign(GetBrush());
  bool selected = state.Contains(odSelected);
  if (index >= 0) {
    if (selected) {
      canvas->GetBrush()->SetColor(clHighlight);
      canvas->GetFont()->SetColor(clHighlightText);
    }
    DrawItem(index, d.rcItem, state);
    if (selected && drawFocus_) DrawFocusBorder(canvas, d.rcItem);
  } else if (selected) {
    DrawFocusBorder(canvas, d.rcItem);
  } else {
    canvas->FillRect(d.rcItem);
  }
}

void TKxCustomComboBox::WMSize(TMessage& m) {
  inherited::WMSize(m);
  if (GetFrameVisible() && !UseThemes()) Invalidate();
}

void TKxCustomComboBox::CMEnter(TMessage& m) {
  UpdateFrame(false, true);
  inherited::CMEnter(m);
}

void TKxCustomComboBox::CMExit(TMessage& m) {
  inherited::CMExit(m);
  ClearSearchString();
  UpdateFrame(false, false);
  if (GetStyle() == csDropDown && !GetText().empty() && GetItems()->IndexOf(GetText()) < 0) NotInList();
}

TRect TKxCustomComboBox::ButtonRect() {
  int a = ThemeServices().GetThemesEnabled() ? 1 : 2;
  int cx = GetSystemMetrics(SM_CXVSCROLL);
  int h = GetHeight();
  if (UseRightToLeftAlignment()) return TRect{a, a, a + cx, h - a};
  int w = GetWidth();
  return TRect{w - cx - a, a, w - a, h - a};
}

void TKxCustomComboBox::WMPaint(TMessage& m) {
  inherited::WMPaint(m);
  HDC dc = TWMPaint(m).DC();
  std::optional<TClientDC> own;
  if (!dc) dc = own.emplace(GetWindowHandle()).Get();
  PaintOverlay(dc);
}

namespace {
// A ring of width pixels in colour just inside r.
void Ring(TCanvas* canvas, const TRect& r, TColor colour, int width) {
  DrawBevel(canvas, r, colour, colour, width, sdAllSides);
}
bool IsWhite(TColor c) { return ColorToRGB(c) == ColorToRGB(clWhite); }
}  // namespace

void TKxCustomComboBox::PaintOverlay(HDC dc) {
  TCanvas* canvas = FrameCanvas();
  TCanvasPaintScope scope(canvas, dc);
  TColor color = GetColor();
  bool themes = ThemeServices().GetThemesEnabled();
  bool rtl = UseRightToLeftAlignment();
  TRect client = GetClientRect();
  TRect button = ButtonRect();
  bool customFrame = GetFrameVisible() && !UseThemes();

  if (customFrame) {
    if (themes) {
      if (!IsWhite(color)) Ring(canvas, client, color, 1);
    } else {
      Ring(canvas, client, color, 2);
    }
  }
  if (themes) {
    // The themed edit's own edge inside the frame, in the control's colour.
    TRect cover = client;
    if (rtl) cover.left = button.right;
    else cover.right = button.left;
    InflateRect(&cover, -1, -1);
    if (!IsWhite(color)) Ring(canvas, cover, color, 2);
    canvas->GetBrush()->SetColor(color);
    if (rtl) canvas->FillRect(TRect{button.right, button.top, button.right + 2, button.bottom});
    else canvas->FillRect(TRect{button.left - 3, button.top, button.left, button.bottom});
  }

  bool hot = mouseOver_ || focused_;
  bool dropped = GetDroppedDown();
  if (flatButtons_ && !readOnly_) {
    if (!hot) {
      canvas->GetBrush()->SetColor(color);
      canvas->FillRect(button);
      DrawDropDownArrow(canvas, button, themes ? uiWindowsXP : uiWindows95, false, true);
    } else if (themes) {
      TThemedElementDetails details =
          ThemeServices().GetElementDetails(dropped ? tcDropDownButtonPressed : tcDropDownButtonHot);
      ThemeServices().DrawElement(dc, details, button);
    } else {
      DrawHotFlatButton(canvas, button, flatButtonColor_, dropped, true);
    }
  } else if (readOnly_) {
    canvas->GetBrush()->SetColor(color);
    canvas->FillRect(button);
  }

  if (customFrame) {
    TFrameStyle style = CurrentFrameStyle();
    TColor frame = CurrentFrameColor();
    if (style == fsFlat) DrawSides(canvas, client, frame, frame, GetFrameSides());
    else if (style == fsFlatBold) DrawBevel(canvas, client, frame, frame, 2, GetFrameSides());
    else if (color == clWindow) DrawBorderSides(canvas, client, style, GetFrameSides());
    else DrawColorBorderSides(canvas, client, color, style, GetFrameSides());
  }
}

// ---------------------------------------------------------------------------
// TKxComboBox

PUBLISHED(TKxComboBox) { PublishKxComboBoxProps(p); }

void InitializeKxCmboBx() {
  RegisterClasses({TKxComboBox::StaticClass(), TKxMRUComboBox::StaticClass(), TKxImageComboBox::StaticClass(),
                   TKxColorComboBox::StaticClass(), TKxFontComboBox::StaticClass()});
}

void FinalizeKxCmboBx() {
  for (TClass c : {TKxFontComboBox::StaticClass(), TKxColorComboBox::StaticClass(), TKxImageComboBox::StaticClass(),
                   TKxMRUComboBox::StaticClass(), TKxComboBox::StaticClass()})
    UnRegisterClass(c);
}
