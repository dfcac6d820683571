#include "kx/foundation/KxLstBox.h"

#include <algorithm>
#include <cmath>

#include "classlib/Scopes.h"
#include "classlib/Seams.h"
#include "classlib/SysUtils.h"
#include "kx/foundation/KxGrafx.h"

namespace {

constexpr UINT kSearchResetMs = 1500;
// The gradient of a group header: bands of about four pixels.
constexpr int kGroupGradientColors = 64;
// The most tab stops that reach the window and the drawing.
constexpr int kMaxTabStops = 1000;

constexpr const char* SHeaderError =
    "Only THeader and THeaderControl components can be passed to TKxCustomTabbedListBox.UpdateFromHeader";
constexpr const char* SRowOutOfRange = "Row parameter out of range";
constexpr const char* SColumnOutOfRange = "Column parameter out of range";

bool IsItemListMessage(UINT msg) {
  return msg == LB_ADDSTRING || msg == LB_INSERTSTRING || msg == LB_DELETESTRING;
}

bool ApplicationIsForeground() {
  DWORD pid = 0;
  HWND w = GetForegroundWindow();
  if (!w) return false;
  GetWindowThreadProcessId(w, &pid);
  return pid == GetCurrentProcessId();
}

}  // namespace

// ---------------------------------------------------------------------------
// TKxSearchTimer

TKxSearchTimer::TKxSearchTimer(UINT interval, TNotifyEvent onTimer) : interval_(interval) {
  timer_ = New<TTimer>(nullptr);
  timer_->SetEnabled(false);
  timer_->SetInterval(interval);
  timer_->SetOnTimer(onTimer);
}

TKxSearchTimer::~TKxSearchTimer() { FreeAndNil(timer_); }

void TKxSearchTimer::Restart() {
  lastKey_ = Seams().TickCount();
  if (!timer_->GetEnabled()) timer_->SetEnabled(true);
}

bool TKxSearchTimer::Due() {
  DWORD gone = Seams().TickCount() - lastKey_;
  if (gone >= interval_) {
    timer_->SetEnabled(false);
    timer_->SetInterval(interval_);
    return true;
  }
  // SetTimer on the running timer starts its period again: it comes back
  // when the interval since the last key is over.
  timer_->SetInterval(interval_ - gone);
  return false;
}

// ---------------------------------------------------------------------------
// TKxCustomListBox

IMPLEMENT_CLASS(TKxCustomListBox)

TKxCustomListBox::TKxCustomListBox(TComponent* owner)
    : TKxFramed<TCustomListBox>(owner),
      searchTimer_(kSearchResetMs, TNotifyEvent(this, &TKxCustomListBox::SearchTimerExpired)) {
  // The framed combo boxes and edits take no caption from their name; the
  // list box keeps the class library's list box's rule.
  SetControlStyle(GetControlStyle() + TControlStyle{csSetCaption});
  groupFont_ = New<TFont>();
  groupFont_->Assign(GetFont());
  groupFont_->SetStyle(groupFont_->GetStyle() + TFontStyles{fsBold});
  groupFont_->SetColor(clHighlight);
  groupFont_->SetOnChange(TNotifyEvent(this, &TKxCustomListBox::GroupFontChanged));
}

void TKxCustomListBox::Destroy() {
  inherited::Destroy();
  FreeAndNil(groupFont_);
}

// --- items -----------------------------------------------------------------------

void TKxCustomListBox::Delete(int index) {
  int selected = GetItemIndex();
  GetItems()->Delete(index);
  int count = GetItems()->GetCount();
  if (count > 0 && selected >= 0) {
    SetItemIndex(selected < count ? selected : count - 1);
    Click();
  }
}

void TKxCustomListBox::DeleteSelectedItems() {
  {
    TCursor saved = Screen->GetCursor();
    Screen->SetCursor(crHourGlass);
    TFinally restoreCursor([saved] { Screen->SetCursor(saved); });
    TStrings* items = GetItems();
    TUpdateScope<TStrings> update(items);
    for (int i = items->GetCount() - 1; i >= 0; --i)
      if (GetSelected(i)) items->Delete(i);
  }
  DoDeleteItems();
}

std::string TKxCustomListBox::SelectedItem() {
  int i = GetItemIndex();
  return i >= 0 && i < GetItems()->GetCount() ? GetItems()->Get(i) : std::string();
}

bool TKxCustomListBox::FindItem(const std::string& s) {
  int i = GetItems()->IndexOf(s);
  if (i >= 0) SetItemIndex(i);
  return i >= 0;
}

void TKxCustomListBox::SelectAll() {
  if (GetMultiSelect()) Perform(LB_SETSEL, TRUE, -1);
}

void TKxCustomListBox::UnselectAll() {
  if (GetMultiSelect()) Perform(LB_SETSEL, FALSE, -1);
}

int TKxCustomListBox::FindClosest(const std::string& s) {
  return static_cast<int>(
      Perform(LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s.c_str())));
}

void TKxCustomListBox::ClearSearchString() { searchString_.clear(); }

// --- groups ------------------------------------------------------------------------

int TKxCustomListBox::AddGroup(const std::string& caption) { return GetItems()->Add(groupPrefix_ + caption); }

bool TKxCustomListBox::GetItemIsGroup(int index) {
  if (index < 0 || index >= GetItems()->GetCount()) return false;
  return GetItems()->Get(index).compare(0, groupPrefix_.size(), groupPrefix_) == 0;
}

void TKxCustomListBox::ItemToGroup(int index) {
  if (index < 0 || index >= GetItems()->GetCount() || GetItemIsGroup(index)) return;
  bool selected = GetSelected(index);
  GetItems()->Put(index, groupPrefix_ + GetItems()->Get(index));
  if (selected) SetSelected(index, true);
}

void TKxCustomListBox::GroupToItem(int index) {
  if (!GetItemIsGroup(index)) return;
  bool selected = GetSelected(index);
  GetItems()->Put(index, GetItems()->Get(index).substr(groupPrefix_.size()));
  if (selected) SetSelected(index, true);
}

int TKxCustomListBox::ItemIndexOfGroup(int groupIndex) {
  if (groupIndex < 0) return -1;
  int count = GetItems()->GetCount();
  int seen = 0;
  for (int i = 0; i < count; ++i)
    if (GetItemIsGroup(i) && seen++ == groupIndex) return i;
  return -1;
}

int TKxCustomListBox::ItemsInGroup(int groupIndex) {
  int header = ItemIndexOfGroup(groupIndex);
  if (header < 0) return 0;
  int count = GetItems()->GetCount();
  int n = 0;
  for (int i = header + 1; i < count && !GetItemIsGroup(i); ++i) ++n;
  return n;
}

int TKxCustomListBox::InsertItemIntoGroup(int groupIndex, int position, const std::string& s) {
  int header = ItemIndexOfGroup(groupIndex);
  if (header < 0 || position < 0 || position > ItemsInGroup(groupIndex)) return -1;
  GetItems()->Insert(header + 1 + position, s);
  return header + 1 + position;
}

int TKxCustomListBox::AddItemToGroup(int groupIndex, const std::string& s) {
  return InsertItemIntoGroup(groupIndex, ItemsInGroup(groupIndex), s);
}

std::string TKxCustomListBox::ItemCaption(int index) {
  std::string text = GetItems()->Get(index);
  return GetItemIsGroup(index) ? text.substr(groupPrefix_.size()) : text;
}

int TKxCustomListBox::ItemGroupIndex(int index) {
  for (int i = std::min(index, GetItems()->GetCount() - 1); i >= 0; --i)
    if (GetItemIsGroup(i)) return i;
  return -1;
}

bool TKxCustomListBox::ItemInsideGroup(int index) { return ItemGroupIndex(index) != -1; }

// --- colours and frame ---------------------------------------------------------------

void TKxCustomListBox::ColorApplied() {
  if (GetFrameVisible() && !UseThemes()) RepaintFrame();
}

void TKxCustomListBox::SetDisabledColor(TColor value) {
  inherited::SetDisabledColor(value);
  UpdateColors();
  ColorApplied();
}

void TKxCustomListBox::SetFocusColor(TColor value) {
  inherited::SetFocusColor(value);
  UpdateColors();
  ColorApplied();
}

bool TKxCustomListBox::IsColorStored() const { return !GetParentColor() && !GetFrameController(); }
bool TKxCustomListBox::IsFocusColorStored() const {
  return GetFocusColor() != GetNormalColor() && !GetFrameController();
}

void TKxCustomListBox::RepaintFrame() {
  if (!HandleAllocated()) return;
  RECT r{0, 0, GetWidth(), GetHeight()};
  RedrawWindow(GetWindowHandle(), &r, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

void TKxCustomListBox::UpdateFrame(bool isMouse, bool value) {
  if (isMouse) mouseOver_ = value;
  else focused_ = value;
  if (GetFrameHotTrack()) RepaintFrame();
  UpdateColors();
}

void TKxCustomListBox::SetFrameVisible(bool value) {
  if (frameVisible_ == value) return;
  frameVisible_ = value;
  if (value) SetCtl3D(true);
  RecreateWnd();
}

TColor TKxCustomListBox::FrameSurroundColor() { return GetParent() ? GetParent()->GetColor() : clBtnFace; }

// --- groups' look, extent, hints ----------------------------------------------------------

void TKxCustomListBox::SetGroupPrefix(const std::string& value) {
  if (groupPrefix_ == value) return;
  groupPrefix_ = value;
  Invalidate();
}

void TKxCustomListBox::SetGroupColor(TColor value) {
  if (groupColor_ == value) return;
  groupColor_ = value;
  Invalidate();
}

void TKxCustomListBox::SetGroupFont(TFont* value) { groupFont_->Assign(value); }

void TKxCustomListBox::GroupFontChanged(TObject*) {
  groupFontSet_ = true;
  Invalidate();
}

void TKxCustomListBox::SetUseGradients(bool value) {
  if (useGradients_ == value) return;
  useGradients_ = value;
  Invalidate();
}

void TKxCustomListBox::SetShowGroups(bool value) {
  if (showGroups_ == value) return;
  showGroups_ = value;
  if (value) {
    SetStyle(lbOwnerDrawFixed);
    UpdateItemHeight();
  }
  Invalidate();
}

void TKxCustomListBox::UpdateItemHeight() { SetItemHeight(GetMinFontHeight(GetFont())); }

void TKxCustomListBox::SetHorzExtent(int value) {
  value = std::clamp(value, 0, 0xFFFF);
  horzExtent_ = value;
  if (HandleAllocated()) Perform(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(value), 0);
}

void TKxCustomListBox::SetHorzScrollBar(bool value) {
  if (horzScrollBar_ == value) return;
  horzScrollBar_ = value;
  RecreateWnd();
}

void TKxCustomListBox::SetOwnerDrawIndent(int value) {
  if (ownerDrawIndent_ == value) return;
  ownerDrawIndent_ = value;
  Invalidate();
}

void TKxCustomListBox::AdjustHorzExtent() {
  if (!HandleAllocated()) return;
  TKxScreenFontDC dc(GetFont());
  int widest = 0;
  int count = GetItems()->GetCount();
  for (int i = 0; i < count; ++i) widest = std::max(widest, dc.Width(GetItems()->Get(i) + "x"));
  SetHorzExtent(widest);
}

// --- type-ahead search ------------------------------------------------------------------------

void TKxCustomListBox::SearchTimerExpired(TObject*) {
  if (searching_ || !searchTimer_.Due()) return;
  searchString_.clear();
}

void TKxCustomListBox::SearchFor(const std::string& text, char key) {
  int old = GetItemIndex();
  int i = FindClosest(text);
  if (i == -1) {
    if (beepOnInvalidKey_) MessageBeep(0);
    return;
  }
  if (GetMultiSelect()) {
    if (old >= 0) SetSelected(old, false);
    SetSelected(i, true);
    Perform(LB_SETCARETINDEX, static_cast<WPARAM>(i), 0);
  } else {
    SetItemIndex(i);
  }
  searchString_ = text;
  TWinControl::KeyPress(key);
  Match();
}

void TKxCustomListBox::WMChar(TMessage& m) {
  // Replaces the window's own search and the class library's completion,
  // which would fight this one.
  WORD code = TWMKey(m).CharCode();
  char ch = static_cast<char>(code);
  if (code == VK_BACK) {
    if (searchString_.empty()) {
      if (beepOnInvalidKey_) MessageBeep(0);
      SearchFor("", ch);
    } else {
      searchString_.pop_back();
      if (!searchString_.empty()) {
        SearchFor(searchString_, ch);
      } else {
        SetItemIndex(0);
        searchString_.clear();
        TWinControl::KeyPress(ch);
      }
    }
  } else if (code == VK_RETURN) {
    if (tabOnEnter_) PostMessageA(GetWindowHandle(), WM_KEYDOWN, VK_TAB, 0);
    else TWinControl::KeyPress(ch);
  } else if (code == VK_ESCAPE) {
    SetItemIndex(-1);
  } else if (code >= 32 && code <= 255) {
    if (code == ' ' && GetMultiSelect() && !GetExtendedSelect()) {
      // A multiple-selection list toggles the caret item with the blank.
      DefaultHandler(m);
      return;
    }
    // Back to false, not to what it was: a search never nests.
    TFinally searchDone([this] { searching_ = false; });
    searching_ = true;
    SearchFor(searchString_ + ch, ch);
    searchTimer_.Restart();
  }
}

bool KxKeyEndsSearch(WORD key) {
  switch (key) {
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      return true;
    default:
      return false;
  }
}

void TKxCustomListBox::WMLButtonDown(TMessage& m) {
  ClearSearchString();
  inherited::WMLButtonDown(m);
}

void TKxCustomListBox::WMKeyDown(TMessage& m) {
  if (KxKeyEndsSearch(TWMKey(m).CharCode())) ClearSearchString();
  inherited::WMKeyDown(m);
}

// --- drawing ------------------------------------------------------------------------------------

int TKxCustomListBox::TextOffset(TCanvas* canvas) { return (GetItemHeight() - canvas->TextHeight("Pp")) / 2; }

void TKxCustomListBox::CNDrawItem(TMessage& m) {
  const DRAWITEMSTRUCT* source = TWMDrawItem(m).DrawItemStruct();
  if (!source) return;
  DRAWITEMSTRUCT d = *source;
  int index = static_cast<int>(d.itemID);
  TOwnerDrawState state = OwnerDrawStateOf(d.itemState);
  TRect rect = d.rcItem;
  bool header = showGroups_ && index >= 0 && index < GetItems()->GetCount() && GetItemIsGroup(index);
  if (!header) {
    if (UseRightToLeftAlignment()) rect.right -= OwnerDrawItemIndent();
    else rect.left += OwnerDrawItemIndent();
  }
  TCanvas* canvas = GetCanvas();
  TCanvasPaintScope scope(canvas, d.hDC);
  canvas->GetFont()->Assign(GetFont());
  canvas->GetBrush()->Assign(GetBrush());
  if (index >= 0 && state.Contains(odSelected)) {
    canvas->GetBrush()->SetColor(clHighlight);
    canvas->GetFont()->SetColor(clHighlightText);
  }
  if (index < 0) canvas->FillRect(rect);
  else if (header) DrawGroup(index, rect, state);
  else DrawItem(index, rect, state);
  if (state.Contains(odFocused)) canvas->DrawFocusRect(rect);
}

void TKxCustomListBox::DrawItem(int index, TRect rect, TOwnerDrawState state) { DrawListItem(index, rect, state); }

void TKxCustomListBox::DrawListItem(int index, TRect rect, TOwnerDrawState state) {
  if (OnDrawItem) OnDrawItem(this, index, rect, state);
  else DefaultDrawItem(index, rect, state);
}

void TKxCustomListBox::DefaultDrawItem(int index, TRect rect, TOwnerDrawState) {
  TCanvas* canvas = GetCanvas();
  canvas->FillRect(rect);
  if (index >= GetItems()->GetCount() && !IsVirtual()) return;
  std::string text = IsVirtual() ? DoGetData(index) : GetItems()->Get(index);
  if (UseRightToLeftAlignment()) rect.right -= 2;
  else rect.left += 2;
  UINT flags = DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  DrawTextA(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

void TKxCustomListBox::DrawGroup(int index, TRect rect, TOwnerDrawState state) {
  TCanvas* canvas = GetCanvas();
  canvas->GetFont()->Assign(groupFont_);
  if (state.Contains(odSelected)) {
    canvas->GetFont()->SetColor(clHighlightText);
    canvas->FillRect(rect);
  } else if (useGradients_ && FullColorSupport()) {
    if (UseRightToLeftReading())
      PaintGradient(canvas, rect, gdVerticalEnd, groupColor_, GetColor(), kGroupGradientColors);
    else
      PaintGradient(canvas, rect, gdVerticalEnd, GetColor(), groupColor_, kGroupGradientColors);
  } else {
    canvas->GetBrush()->SetColor(groupColor_);
    canvas->FillRect(rect);
  }
  canvas->GetBrush()->SetStyle(bsClear);
  DrawGroupText(index, rect, ItemCaption(index));
}

void TKxCustomListBox::DrawGroupText(int, TRect rect, const std::string& text) {
  TCanvas* canvas = GetCanvas();
  HDC dc = canvas->GetHandle();
  int y = rect.top + TextOffset(canvas);
  if (UseRightToLeftReading()) {
    UINT oldAlign = SetTextAlign(dc, TA_RIGHT);
    canvas->TextRect(rect, rect.right - 2, y, text);
    SetTextAlign(dc, oldAlign);
  } else {
    canvas->TextRect(rect, rect.left + 2, y, text);
  }
}

// --- events -------------------------------------------------------------------------------------

void TKxCustomListBox::Match() {
  if (OnMatch) OnMatch(this);
}

void TKxCustomListBox::DoDeleteItems() {
  if (OnDeleteItems) OnDeleteItems(this);
}

bool TKxCustomListBox::DoMouseWheelDown(TShiftState, POINT) {
  int lines = Mouse().GetWheelScrollLines();
  HWND h = GetHandle();
  int pos = GetScrollPos(h, SB_VERT) + lines;
  for (int i = 0; i < lines; ++i) Perform(WM_VSCROLL, SB_LINEDOWN, 0);
  SetScrollPos(h, SB_VERT, pos, TRUE);
  return true;
}

bool TKxCustomListBox::DoMouseWheelUp(TShiftState, POINT) {
  HWND h = GetHandle();
  int pos = GetScrollPos(h, SB_VERT);
  // Nearer the top than a whole wheel step: only as far as the top.
  int lines = std::min(Mouse().GetWheelScrollLines(), pos);
  for (int i = 0; i < lines; ++i) Perform(WM_VSCROLL, SB_LINEUP, 0);
  SetScrollPos(h, SB_VERT, pos - lines, TRUE);
  return true;
}

void TKxCustomListBox::Resize() {
  inherited::Resize();
  if (useGradients_) Invalidate();
}

// --- item hints ---------------------------------------------------------------------------------

void TKxCustomListBox::ShowItemHint(TPoint clientPos) {
  int index = ItemAtPos(clientPos, true);
  if (IsDesigning() || index < 0) {
    HideItemHint();
    return;
  }
  std::string text = GetItems()->Get(index);
  int width;
  {
    TKxScreenFontDC dc(GetFont());
    width = dc.Width(text);
  }
  if (width + 2 <= GetClientWidth() || !ApplicationIsForeground()) {
    HideItemHint();
    return;
  }
  if (!itemHintWindow_) {
    itemHintWindow_ = New<THintWindow>(this);
    itemHintWindow_->SetColor(Application->GetHintColor());
  }
  std::string hint;
  for (char c : text) {
    if (c == '\t') hint += "        ";
    else hint += c;
  }
  itemHintWindow_->GetFont()->Assign(GetFont());
  TRect r = itemHintWindow_->CalcHintRect(Screen->GetWidth(), hint, nullptr);
  TRect item = ItemRect(index);
  TPoint origin = ClientToScreen(TPoint{item.left, item.top});
  int hintHeight = r.bottom - r.top;
  OffsetRect(&r, origin.x - 1, origin.y + (GetItemHeight() - hintHeight) / 2 - 2);
  bool visible = itemHintWindow_->HandleAllocated() && IsWindowVisible(itemHintWindow_->GetWindowHandle());
  RECT shown{};
  if (visible) GetWindowRect(itemHintWindow_->GetWindowHandle(), &shown);
  if (!visible || !EqualRect(&shown, &r)) itemHintWindow_->ActivateHint(r, hint);
}

void TKxCustomListBox::HideItemHint() {
  if (itemHintWindow_ && itemHintWindow_->HandleAllocated())
    ShowWindow(itemHintWindow_->GetWindowHandle(), SW_HIDE);
}

void TKxCustomListBox::WMMouseMove(TMessage& m) {
  inherited::WMMouseMove(m);
  if (showItemHints_) ShowItemHint(TWMMouse(m).Pos());
}

// --- window and messages --------------------------------------------------------------------------

void TKxCustomListBox::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  if (horzScrollBar_) params.Style |= WS_HSCROLL;
  else params.Style &= ~DWORD{WS_HSCROLL};
}

void TKxCustomListBox::CreateWnd() {
  inherited::CreateWnd();
  HWND h = GetWindowHandle();
  SendMessageA(h, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(horzExtent_), 0);
  ShowScrollBar(h, SB_HORZ, horzScrollBar_);
}

void TKxCustomListBox::WndProc(TMessage& m) {
  inherited::WndProc(m);
  if (horzScrollBar_ && (IsItemListMessage(m.Msg) || m.Msg == LB_RESETCONTENT)) AdjustHorzExtent();
}

void TKxCustomListBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT: WMNCPaint(m); return;
    default: inherited::Dispatch(m); return;
  }
}

// The system's border first, then the frame over it.
void TKxCustomListBox::WMNCPaint(TMessage& m) {
  DefaultHandler(m);
  if (PaintNCFrame()) m.Result = 0;
}

void TKxCustomListBox::WMSize(TMessage& m) {
  inherited::WMSize(m);
  if (frameVisible_ && !UseThemes()) RepaintFrame();
}

void TKxCustomListBox::CMParentColorChanged(TMessage& m) {
  inherited::CMParentColorChanged(m);
  if (frameVisible_) RepaintFrame();
}

void TKxCustomListBox::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  if (showGroups_) UpdateItemHeight();
  if (horzScrollBar_) AdjustHorzExtent();
}

void TKxCustomListBox::CMEnter(TMessage& m) {
  UpdateFrame(false, true);
  inherited::CMEnter(m);
}

void TKxCustomListBox::CMExit(TMessage& m) {
  inherited::CMExit(m);
  UpdateFrame(false, false);
}

void TKxCustomListBox::CMMouseEnter(TMessage& m) {
  inherited::CMMouseEnter(m);
  if (showItemHints_ && HandleAllocated()) ShowItemHint(ScreenToClient(Mouse().GetCursorPos()));
}

void TKxCustomListBox::CMMouseLeave(TMessage& m) {
  inherited::CMMouseLeave(m);
  HideItemHint();
}

// ---------------------------------------------------------------------------
// TKxListBox

PUBLISHED(TKxListBox) { PublishKxListBoxProps(p); }

// ---------------------------------------------------------------------------
// TKxTabStopList

DEFINE_ENUM_TYPE(TKxTabStopsMode, "tsmManual", "tsmAutomatic")

IMPLEMENT_CLASS(TKxTabStopList)

TKxTabStopList::TKxTabStopList(TKxCustomTabbedListBox* listBox) : listBox_(listBox) {
  SetMin(-2147483647);
  SetMax(2147483647);
}

void TKxTabStopList::SetItem(int index, int value) {
  inherited::SetItem(index, value);
  if (listBox_) listBox_->UpdateTabStops();
}

void TKxTabStopList::Delete(int index) {
  inherited::Delete(index);
  if (listBox_) listBox_->UpdateTabStops();
}

void TKxTabStopList::Insert(int index, int value) {
  inherited::Insert(index, value);
  if (listBox_) listBox_->UpdateTabStops();
}

int TKxTabStopList::Add(int value) {
  int index = inherited::Add(value);
  if (listBox_) listBox_->UpdateTabStops();
  return index;
}

// ---------------------------------------------------------------------------
// TKxCustomTabbedListBox

IMPLEMENT_CLASS(TKxCustomTabbedListBox)

TKxCustomTabbedListBox::TKxCustomTabbedListBox(TComponent* owner) : TKxCustomListBox(owner) {
  tabStops_ = New<TKxTabStopList>(this);
  SetShowItemHints(false);
}

void TKxCustomTabbedListBox::Destroy() {
  inherited::Destroy();
  FreeAndNil(tabStops_);
}

void TKxCustomTabbedListBox::UpdateDialogUnits() {
  // A font too small to have an average width still divides: one pixel.
  dialogUnits_ = std::max(1, GetAvgCharWidth(GetFont()));
}

std::vector<int> TKxCustomTabbedListBox::GetTabArray() {
  int count = std::min(tabStops_->GetCount(), kMaxTabStops);
  std::vector<int> stops(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) stops[static_cast<size_t>(i)] = tabStops_->GetItem(i) * 4;
  return stops;
}

std::vector<int> TKxCustomTabbedListBox::TabStopPixels() {
  std::vector<int> stops = GetTabArray();
  for (int& s : stops) s = static_cast<int>(std::lround(s * dialogUnits_ / 4.0));
  return stops;
}

void TKxCustomTabbedListBox::TabbedText(HDC dc, int x, int y, const std::string& text) {
  // The tab origin is the client's left edge: column 0's width counts
  // whatever stands before the text (the check list's box).
  std::vector<int> stops = TabStopPixels();
  TabbedTextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()), static_cast<int>(stops.size()),
                 stops.empty() ? nullptr : stops.data(), 0);
}

void TKxCustomTabbedListBox::UpdateTabStops() {
  if (!HandleAllocated()) return;
  std::vector<int> stops = GetTabArray();
  SendMessageA(GetWindowHandle(), LB_SETTABSTOPS, stops.size(),
               stops.empty() ? 0 : reinterpret_cast<LPARAM>(stops.data()));
  // The extent is measured through the stops: an item added to an automatic
  // list is measured before its stops are fitted to it, so it would lag an
  // item behind.
  if (GetHorzScrollBar()) AdjustHorzExtent();
  Invalidate();
}

void TKxCustomTabbedListBox::SetTabStops(TKxTabStopList* value) {
  tabStops_->Assign(value);
  UpdateTabStops();
}

void TKxCustomTabbedListBox::SetTabStopsMode(TKxTabStopsMode value) {
  if (tabStopsMode_ == value) return;
  tabStopsMode_ = value;
  if (value == tsmAutomatic) AdjustTabStops();
}

void TKxCustomTabbedListBox::AdjustTabStops() {
  if (GetComponentState().Contains(csLoading) || GetComponentState().Contains(csDestroying)) return;
  TStrings* items = GetItems();
  int count = items->GetCount();
  std::vector<std::string> rest(static_cast<size_t>(count));
  std::vector<bool> header(static_cast<size_t>(count));
  int columns = 0;
  for (int i = 0; i < count; ++i) {
    rest[static_cast<size_t>(i)] = items->Get(i);
    header[static_cast<size_t>(i)] = GetItemIsGroup(i);
    columns = std::max(columns, static_cast<int>(std::count(rest[static_cast<size_t>(i)].begin(),
                                                            rest[static_cast<size_t>(i)].end(), '\t')));
  }
  std::vector<int> stops;
  {
    TKxScreenFontDC normal(GetFont());
    TKxScreenFontDC group(GetGroupFont());
    for (int c = 0; c < columns; ++c) {
      int widest = 0;
      for (int i = 0; i < count; ++i) {
        std::string& line = rest[static_cast<size_t>(i)];
        size_t tab = line.find('\t');
        std::string head;
        if (tab != std::string::npos) {
          head = line.substr(0, tab);
          line.erase(0, tab + 1);
        }
        int w;
        if (header[static_cast<size_t>(i)]) {
          if (c == 0 && head.compare(0, GetGroupPrefix().size(), GetGroupPrefix()) == 0)
            head.erase(0, GetGroupPrefix().size());
          w = group.Width(head);
        } else {
          w = normal.Width(head) + (c == 0 ? InitialTabStopOffset() : 0);
        }
        widest = std::max(widest, w);
      }
      stops.push_back((stops.empty() ? 0 : stops.back()) + widest / dialogUnits_ + 4);
    }
  }
  // Straight into the list, then one update of the window.
  Owned<TKxIntegerList> fitted = MakeOwned<TKxIntegerList>();
  for (int s : stops) fitted->Add(s);
  tabStops_->Assign(fitted.get());
  UpdateTabStops();
}

void TKxCustomTabbedListBox::UpdateFromHeader(TControl* control) {
  int sum = 0;
  if (auto* header = dynamic_cast<THeader*>(control)) {
    int last = std::min(header->GetSections()->GetCount() - 2, tabStops_->GetCount() - 1);
    for (int i = 0; i <= last; ++i) {
      sum += header->GetSectionWidth(i);
      if (tabStops_->GetItem(i) < 0)
        tabStops_->SetItem(i, 1 - (header->GetSectionWidth(i + 1) + sum) / dialogUnits_);
      else
        tabStops_->SetItem(i, sum / dialogUnits_ + 1);
    }
  } else if (auto* headerControl = dynamic_cast<THeaderControl*>(control)) {
    THeaderSections* sections = headerControl->GetSections();
    int sectionCount = sections->GetCount();
    int last = std::min(sectionCount - 1, tabStops_->GetCount() - 1);
    for (int i = 0; i <= last; ++i) {
      sum += sections->GetItem(i)->GetWidth();
      if (tabStops_->GetItem(i) >= 0)
        tabStops_->SetItem(i, sum / dialogUnits_ + 1);
      else if (i + 1 < sectionCount)
        tabStops_->SetItem(i, 1 - (sections->GetItem(i + 1)->GetWidth() + sum) / dialogUnits_);
      else
        tabStops_->SetItem(i, 1 - GetWidth() / dialogUnits_);
    }
  } else {
    throw EHeaderError(SHeaderError);
  }
}

namespace {
// The start of cell column in text (after its column-th TAB), or npos.
size_t CellStart(const std::string& text, int column) {
  size_t pos = 0;
  for (int c = 0; c < column; ++c) {
    size_t tab = text.find('\t', pos);
    if (tab == std::string::npos) return std::string::npos;
    pos = tab + 1;
  }
  return pos;
}
}  // namespace

std::string TKxCustomTabbedListBox::GetCellText(int column, int row) {
  if (row < 0 || row >= GetItems()->GetCount()) throw ERangeError(SRowOutOfRange);
  std::string text = GetItems()->Get(row);
  size_t start = column < 0 ? std::string::npos : CellStart(text, column);
  if (start == std::string::npos) throw ERangeError(SColumnOutOfRange);
  size_t end = text.find('\t', start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void TKxCustomTabbedListBox::SetCellText(int column, int row, const std::string& value) {
  if (row < 0 || row >= GetItems()->GetCount()) throw ERangeError(SRowOutOfRange);
  std::string text = GetItems()->Get(row);
  size_t start = column < 0 ? std::string::npos : CellStart(text, column);
  if (start == std::string::npos) throw ERangeError(SColumnOutOfRange);
  size_t end = text.find('\t', start);
  text.replace(start, end == std::string::npos ? std::string::npos : end - start, value);
  GetItems()->Put(row, text);
}

void TKxCustomTabbedListBox::GroupFontChanged(TObject* sender) {
  inherited::GroupFontChanged(sender);
  if (tabStopsMode_ == tsmAutomatic) AdjustTabStops();
}

void TKxCustomTabbedListBox::DefaultDrawItem(int index, TRect rect, TOwnerDrawState) {
  TCanvas* canvas = GetCanvas();
  canvas->FillRect(rect);
  if (index >= GetItems()->GetCount()) return;
  std::string text = GetItems()->Get(index);
  HDC dc = canvas->GetHandle();
  int saved = SaveDC(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  int y = rect.top + TextOffset(canvas);
  if (UseRightToLeftAlignment()) {
    SetTextAlign(dc, TA_RIGHT);
    TextOutA(dc, rect.right - 2, y, text.c_str(), static_cast<int>(text.size()));
  } else {
    TabbedText(dc, rect.left + 2, y, text);
  }
  RestoreDC(dc, saved);
}

void TKxCustomTabbedListBox::DrawGroupText(int index, TRect rect, const std::string& text) {
  if (UseRightToLeftReading()) {
    inherited::DrawGroupText(index, rect, text);
    return;
  }
  TCanvas* canvas = GetCanvas();
  HDC dc = canvas->GetHandle();
  int saved = SaveDC(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  TabbedText(dc, rect.left + 2, rect.top + TextOffset(canvas), text);
  RestoreDC(dc, saved);
}

void TKxCustomTabbedListBox::AdjustHorzExtent() {
  if (!HandleAllocated()) return;
  int count = std::min(tabStops_->GetCount(), kMaxTabStops);
  std::vector<int> stops(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) stops[static_cast<size_t>(i)] = tabStops_->GetItem(i) * dialogUnits_;
  TKxScreenFontDC dc(GetFont());
  int widest = 0;
  int items = GetItems()->GetCount();
  for (int i = 0; i < items; ++i) {
    std::string text = GetItems()->Get(i) + "x";
    DWORD extent = GetTabbedTextExtentA(dc.DC(), text.c_str(), static_cast<int>(text.size()), count,
                                        stops.empty() ? nullptr : stops.data());
    widest = std::max(widest, static_cast<int>(LOWORD(extent)));
  }
  SetHorzExtent(widest);
}

void TKxCustomTabbedListBox::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  params.Style |= LBS_USETABSTOPS;
}

void TKxCustomTabbedListBox::CreateWnd() {
  inherited::CreateWnd();
  UpdateTabStops();
}

void TKxCustomTabbedListBox::Loaded() {
  inherited::Loaded();
  UpdateTabStops();
  if (tabStopsMode_ == tsmAutomatic) AdjustTabStops();
}

void TKxCustomTabbedListBox::WndProc(TMessage& m) {
  inherited::WndProc(m);
  if (tabStopsMode_ == tsmAutomatic && IsItemListMessage(m.Msg)) AdjustTabStops();
}

void TKxCustomTabbedListBox::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  UpdateDialogUnits();
  if (tabStopsMode_ == tsmAutomatic) AdjustTabStops();
}

// ---------------------------------------------------------------------------
// TKxTabbedListBox

PUBLISHED(TKxTabbedListBox) {
  PublishKxListBoxProps(p);
  p.Prop("TabStops", &TKxTabbedListBox::GetTabStops, &TKxTabbedListBox::SetTabStops)
      .Stored(&TKxTabbedListBox::IsTabStopsStored);
  p.Prop("TabStopsMode", &TKxTabbedListBox::GetTabStopsMode, &TKxTabbedListBox::SetTabStopsMode)
      .Default(tsmManual);
}

void InitializeKxLstBox() {
  RegisterClasses({TKxListBox::StaticClass(), TKxTabbedListBox::StaticClass(), TKxEditListBox::StaticClass(),
                   TKxRankListBox::StaticClass(), TKxFontListBox::StaticClass()});
}

void FinalizeKxLstBox() {
  for (TClass c : {TKxFontListBox::StaticClass(), TKxRankListBox::StaticClass(), TKxEditListBox::StaticClass(),
                   TKxTabbedListBox::StaticClass(), TKxListBox::StaticClass()})
    UnRegisterClass(c);
}
