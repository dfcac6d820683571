#include "classlib/stdctrls/ListBox.h"

#include <algorithm>

#include "classlib/Seams.h"
#include "classlib/SysUtils.h"
#include "classlib/classes/Lists.h"
#include "classlib/stdctrls/ItemTexts.h"
#include "classlib/stdctrls/OwnerDraw.h"
#include "classlib/stdctrls/StdCtrlsTables.h"

namespace {
constexpr const char* SInsertLineError = "Unable to insert a line";
constexpr const char* SListBoxCountError = "Count can only be set on a virtual list box";
}  // namespace

// ---------------------------------------------------------------------------
// TCustomListControl

IMPLEMENT_CLASS(TCustomListControl)
IMPLEMENT_CLASS(TCustomMultiSelectListControl)

void TCustomListControl::MoveSelection(TCustomListControl* destination) {
  CopySelection(destination);
  DeleteSelected();
}

// ---------------------------------------------------------------------------
// TListBoxStrings

IMPLEMENT_CLASS(TListBoxStrings)

int TListBoxStrings::GetCount() const {
  if (!listBox_) return 0;
  return static_cast<int>(SendMessageA(listBox_->GetHandle(), LB_GETCOUNT, 0, 0));
}

std::string TListBoxStrings::Get(int index) const {
  if (!listBox_) Error(SListIndexError, index);
  if (listBox_->GetStyle() == lbVirtual || listBox_->GetStyle() == lbVirtualOwnerDraw) {
    if (index < 0 || index >= GetCount()) Error(SListIndexError, index);
    return listBox_->DoGetData(index);
  }
  HWND h = listBox_->GetHandle();
  std::string s;
  if (!ReadListBoxItem(h, listBox_->GetDefWndProc(), index, s)) Error(SListIndexError, index);
  return s;
}

TObject* TListBoxStrings::GetObject(int index) const {
  if (!listBox_) return nullptr;
  if (listBox_->GetStyle() == lbVirtual || listBox_->GetStyle() == lbVirtualOwnerDraw) {
    if (index < 0 || index >= GetCount()) Error(SListIndexError, index);
    return listBox_->DoGetDataObject(index);
  }
  if (index < 0 || index >= GetCount()) Error(SListIndexError, index);
  return reinterpret_cast<TObject*>(listBox_->GetItemData(index));
}

void TListBoxStrings::PutObject(int index, TObject* obj) {
  if (!listBox_ || index == -1) return;
  if (listBox_->GetStyle() == lbVirtual || listBox_->GetStyle() == lbVirtualOwnerDraw) return;
  if (index < 0 || index >= GetCount()) Error(SListIndexError, index);
  listBox_->SetItemData(index, reinterpret_cast<LONG_PTR>(obj));
}

void TListBoxStrings::Put(int index, const std::string& s) {
  if (index < 0 || index >= GetCount()) Error(SListIndexError, index);
  listBox_->ReplaceItem(index, [&] {
    Delete(index);
    InsertObject(index, s, nullptr);
  });
}

int TListBoxStrings::Add(const std::string& s) {
  if (!listBox_ || listBox_->GetStyle() == lbVirtual || listBox_->GetStyle() == lbVirtualOwnerDraw) return -1;
  LRESULT r = SendMessageA(listBox_->GetHandle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  if (r < 0) throw EOutOfResources(SInsertLineError);
  return static_cast<int>(r);
}

void TListBoxStrings::Insert(int index, const std::string& s) {
  if (!listBox_ || listBox_->GetStyle() == lbVirtual || listBox_->GetStyle() == lbVirtualOwnerDraw) return;
  if (index < 0 || index > GetCount()) Error(SListIndexError, index);
  LRESULT r = SendMessageA(listBox_->GetHandle(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(s.c_str()));
  if (r < 0) throw EOutOfResources(SInsertLineError);
}

void TListBoxStrings::Delete(int index) {
  if (!listBox_) return;
  if (index < 0 || index >= GetCount()) Error(SListIndexError, index);
  listBox_->DeleteString(index);
}

void TListBoxStrings::Clear() {
  if (listBox_) listBox_->ResetContent();
}

void TListBoxStrings::Exchange(int index1, int index2) {
  int count = GetCount();
  if (index1 < 0 || index1 >= count) Error(SListIndexError, index1);
  if (index2 < 0 || index2 >= count) Error(SListIndexError, index2);
  if (index1 == index2) return;
  BeginUpdate();
  try {
    LONG_PTR data1 = listBox_->InternalGetItemData(index1);
    std::string text1 = Get(index1);
    Put(index1, Get(index2));
    listBox_->InternalSetItemData(index1, listBox_->InternalGetItemData(index2));
    Put(index2, text1);
    listBox_->InternalSetItemData(index2, data1);
    int selected = listBox_->GetItemIndex();
    if (selected == index1) listBox_->SetItemIndex(index2);
    else if (selected == index2) listBox_->SetItemIndex(index1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TListBoxStrings::Move(int curIndex, int newIndex) {
  // Both indexes are checked before the item is taken out, so a bad target
  // loses nothing.
  int count = GetCount();
  if (curIndex < 0 || curIndex >= count) Error(SListIndexError, curIndex);
  if (newIndex < 0 || newIndex >= count) Error(SListIndexError, newIndex);
  if (curIndex == newIndex) return;
  BeginUpdate();
  listBox_->SetMoving(true);
  try {
    std::string text = Get(curIndex);
    LONG_PTR data = listBox_->InternalGetItemData(curIndex);
    listBox_->InternalSetItemData(curIndex, 0);
    Delete(curIndex);
    Insert(newIndex, text);
    listBox_->InternalSetItemData(newIndex, data);
  } catch (...) {
    listBox_->SetMoving(false);
    EndUpdate();
    throw;
  }
  listBox_->SetMoving(false);
  EndUpdate();
}

int TListBoxStrings::IndexOf(const std::string& s) const {
  if (!listBox_) return -1;
  if (listBox_->GetStyle() == lbVirtual || listBox_->GetStyle() == lbVirtualOwnerDraw)
    return listBox_->DoFindData(s);
  return static_cast<int>(SendMessageA(listBox_->GetHandle(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(s.c_str())));
}

void TListBoxStrings::SetUpdateState(bool updating) {
  if (!listBox_) return;
  SendMessageA(listBox_->GetHandle(), WM_SETREDRAW, updating ? FALSE : TRUE, 0);
  if (!updating) listBox_->Refresh();
}

// ---------------------------------------------------------------------------
// TCustomListBox

PUBLISHED(TListBox) { PublishListBoxTable(p); }
IMPLEMENT_CLASS(TCustomListBox)

TCustomListBox::TCustomListBox(TComponent* owner) : TCustomMultiSelectListControl(owner) {
  SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks, csOpaque});
  SetBounds(GetLeft(), GetTop(), 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  items_ = New<TListBoxStrings>(this);
  auto* canvas = New<TControlCanvas>();
  canvas->SetControl(this);
  canvas_ = canvas;
}

void TCustomListBox::Destroy() {
  inherited::Destroy();
  FreeAndNil(canvas_);
  FreeAndNil(items_);
  FreeAndNil(saveItems_);
}

// --- items ---------------------------------------------------------------------

void TCustomListBox::SetItems(TStrings* value) { GetItems()->Assign(value); }

int TCustomListBox::GetCount() { return GetItems()->GetCount(); }

void TCustomListBox::SetCount(int value) {
  if (!IsVirtual()) throw EListError(SListBoxCountError);
  if (HandleAllocated() && SendMessageA(GetWindowHandle(), LB_SETCOUNT, static_cast<WPARAM>(value), 0) < 0)
    throw EListError(SListBoxCountError);
  if (!HandleAllocated()) oldCount_ = value;
}

void TCustomListBox::AddItem(const std::string& item, TObject* object) { GetItems()->AddObject(item, object); }

void TCustomListBox::Clear() { GetItems()->Clear(); }

void TCustomListBox::ClearSelection() {
  if (multiSelect_) {
    for (int i = 0; i < GetItems()->GetCount(); ++i) SetSelected(i, false);
  } else {
    SetItemIndex(-1);
  }
}

void TCustomListBox::CopySelection(TCustomListControl* destination) {
  if (!destination) return;
  TStrings* items = GetItems();
  if (multiSelect_) {
    for (int i = 0; i < items->GetCount(); ++i)
      if (GetSelected(i)) destination->AddItem(items->Get(i), items->GetObject(i));
  } else {
    int i = GetItemIndex();
    if (i != -1) destination->AddItem(items->Get(i), items->GetObject(i));
  }
}

void TCustomListBox::DeleteSelected() {
  TStrings* items = GetItems();
  if (multiSelect_) {
    for (int i = items->GetCount() - 1; i >= 0; --i)
      if (GetSelected(i)) items->Delete(i);
  } else if (GetItemIndex() != -1) {
    items->Delete(GetItemIndex());
  }
}

void TCustomListBox::SelectAll() {
  if (!multiSelect_) return;
  for (int i = 0; i < GetItems()->GetCount(); ++i) SetSelected(i, true);
}

void TCustomListBox::ResetContent() {
  if (IsVirtual()) return;
  SendMessageA(GetHandle(), LB_RESETCONTENT, 0, 0);
}

void TCustomListBox::DeleteString(int index) { SendMessageA(GetHandle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0); }

LONG_PTR TCustomListBox::GetItemData(int index) {
  return static_cast<LONG_PTR>(SendMessageA(GetHandle(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void TCustomListBox::SetItemData(int index, LONG_PTR data) {
  SendMessageA(GetHandle(), LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

LONG_PTR TCustomListBox::InternalGetItemData(int index) { return GetItemData(index); }

void TCustomListBox::ReplaceItem(int index, const std::function<void()>& replace) {
  int selected = GetItemIndex();
  LONG_PTR data = InternalGetItemData(index);
  // The data goes with the text by hand: a descendant may keep something
  // it frees when an item with data is deleted.
  InternalSetItemData(index, 0);
  replace();
  InternalSetItemData(index, data);
  SetItemIndex(selected);
}
void TCustomListBox::InternalSetItemData(int index, LONG_PTR data) { SetItemData(index, data); }

std::string TCustomListBox::DoGetData(int index) {
  std::string data;
  if (OnData) OnData(this, index, data);
  return data;
}

TObject* TCustomListBox::DoGetDataObject(int index) {
  TObject* obj = nullptr;
  if (OnDataObject) OnDataObject(this, index, obj);
  return obj;
}

int TCustomListBox::DoFindData(const std::string& data) {
  return OnDataFind ? OnDataFind(this, data) : -1;
}

// --- selection and geometry --------------------------------------------------------

int TCustomListBox::GetItemIndex() {
  return static_cast<int>(Perform(multiSelect_ ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int value) {
  HandleNeeded();
  if (GetItemIndex() == value) return;
  if (multiSelect_) Perform(LB_SETCARETINDEX, static_cast<WPARAM>(value), 0);
  else Perform(LB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

int TCustomListBox::GetSelCount() { return static_cast<int>(Perform(LB_GETSELCOUNT, 0, 0)); }

bool TCustomListBox::GetSelected(int index) {
  HandleNeeded();
  LRESULT r = Perform(LB_GETSEL, static_cast<WPARAM>(index), 0);
  if (r == LB_ERR) throw EListError(Format(SListIndexError, {index}));
  return r != 0;
}

void TCustomListBox::SetSelected(int index, bool value) {
  HandleNeeded();
  if (multiSelect_) {
    if (Perform(LB_SETSEL, value ? TRUE : FALSE, static_cast<LPARAM>(index)) == LB_ERR)
      throw EListError(Format(SListIndexError, {index}));
  } else if (value) {
    SetItemIndex(index);
  } else if (GetItemIndex() == index) {
    SetItemIndex(-1);
  }
}

int TCustomListBox::GetTopIndex() {
  HandleNeeded();
  return static_cast<int>(Perform(LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(int value) {
  if (GetTopIndex() != value) Perform(LB_SETTOPINDEX, static_cast<WPARAM>(value), 0);
}

int TCustomListBox::ItemAtPos(TPoint pos, bool existing) {
  HandleNeeded();
  RECT client = GetClientRect();
  if (PtInRect(&client, pos)) {
    int count = GetItems()->GetCount();
    for (int i = GetTopIndex(); i < count; ++i) {
      RECT r{};
      Perform(LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
      if (PtInRect(&r, pos)) return i;
    }
    if (!existing) return count;
  }
  return -1;
}

TRect TCustomListBox::ItemRect(int index) {
  HandleNeeded();
  TRect r{0, 0, 0, 0};
  int count = GetItems()->GetCount();
  if (index == 0 || (index > 0 && index < count)) {
    Perform(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  } else if (index == count) {
    Perform(LB_GETITEMRECT, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&r));
    OffsetRect(&r, 0, r.bottom - r.top);
  }
  return r;
}

// --- appearance -------------------------------------------------------------------------

void TCustomListBox::SetStyle(TListBoxStyle value) {
  if (style_ == value) return;
  style_ = value;
  RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle value) {
  if (value != bsNone) value = bsSingle;
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  RecreateWnd();
}

void TCustomListBox::SetColumns(int value) {
  if (value < 0) value = 0;
  if (columns_ == value) return;
  // LBS_MULTICOLUMN comes and goes with the window; between two column
  // counts only the width changes.
  bool restyle = columns_ == 0 || value == 0;
  columns_ = value;
  if (restyle) RecreateWnd();
  else if (HandleAllocated()) SetColumnWidth();
}

void TCustomListBox::SetColumnWidth() {
  if (columns_ > 0 && HandleAllocated())
    Perform(LB_SETCOLUMNWIDTH, static_cast<WPARAM>((GetWidth() + columns_ - 3) / columns_), 0);
}

void TCustomListBox::SetExtendedSelect(bool value) {
  if (extendedSelect_ == value) return;
  extendedSelect_ = value;
  RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool value) {
  if (multiSelect_ == value) return;
  multiSelect_ = value;
  RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool value) {
  if (integralHeight_ == value) return;
  integralHeight_ = value;
  RecreateWnd();
}

int TCustomListBox::GetItemHeight() {
  if (HandleAllocated() && style_ == lbStandard)
    return static_cast<int>(Perform(LB_GETITEMHEIGHT, 0, 0));
  return itemHeight_;
}

void TCustomListBox::SetItemHeight(int value) {
  if (value <= 0 || itemHeight_ == value) return;
  itemHeight_ = value;
  RecreateWnd();
}

void TCustomListBox::SetSorted(bool value) {
  if (sorted_ == value) return;
  sorted_ = value;
  RecreateWnd();
}

void TCustomListBox::SetTabWidth(int value) {
  if (value < 0) value = 0;
  if (tabWidth_ == value) return;
  tabWidth_ = value;
  RecreateWnd();
}

int TCustomListBox::GetScrollWidth() {
  if (HandleAllocated()) scrollWidth_ = static_cast<int>(Perform(LB_GETHORIZONTALEXTENT, 0, 0));
  return scrollWidth_;
}

void TCustomListBox::SetScrollWidth(int value) {
  if (value < 0) value = 0;
  scrollWidth_ = value;
  if (HandleAllocated()) Perform(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(value), 0);
}

// --- drawing ------------------------------------------------------------------------------

void TCustomListBox::DrawItem(int index, TRect rect, TOwnerDrawState state) {
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  canvas_->FillRect(rect);
  if (index >= GetItems()->GetCount()) return;
  UINT flags = DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (!UseRightToLeftAlignment()) rect.left += 2;
  else rect.right -= 2;
  std::string text = IsVirtual() ? DoGetData(index) : GetItems()->Get(index);
  DrawTextA(canvas_->GetHandle(), text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

void TCustomListBox::MeasureItem(int index, int& height) {
  if (OnMeasureItem) OnMeasureItem(this, index, height);
}

// --- window ----------------------------------------------------------------------------------

void TCustomListBox::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  CreateSubClass(params, "LISTBOX");
  DWORD style = WS_HSCROLL | WS_VSCROLL | LBS_NOTIFY;
  switch (style_) {
    case lbStandard: style |= LBS_HASSTRINGS; break;
    case lbOwnerDrawFixed: style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS; break;
    case lbOwnerDrawVariable: style |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS; break;
    // The window keeps no strings, only a count: owner drawn, never sorted.
    case lbVirtual:
    case lbVirtualOwnerDraw: style |= LBS_OWNERDRAWFIXED | LBS_NODATA; break;
  }
  if (sorted_ && !IsVirtual()) style |= LBS_SORT;
  if (multiSelect_) style |= extendedSelect_ ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (!integralHeight_) style |= LBS_NOINTEGRALHEIGHT;
  if (columns_ != 0) style |= LBS_MULTICOLUMN;
  if (tabWidth_ != 0) style |= LBS_USETABSTOPS;
  if (borderStyle_ == bsSingle) style |= WS_BORDER;
  params.Style |= style;
  if (GetCtl3D() && borderStyle_ == bsSingle) {
    params.Style &= ~DWORD{WS_BORDER};
    params.ExStyle |= WS_EX_CLIENTEDGE;
  }
  params.WindowClass.style &= ~UINT{CS_HREDRAW | CS_VREDRAW};
}

void TCustomListBox::CreateWnd() {
  // An integral height shrinks the new window; the control keeps its size.
  int w = GetWidth();
  int h = GetHeight();
  inherited::CreateWnd();
  HWND wnd = GetWindowHandle();
  SetWindowPos(wnd, nullptr, GetLeft(), GetTop(), w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  if (tabWidth_ != 0) {
    int stops = tabWidth_;
    SendMessageA(wnd, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stops));
  }
  SetColumnWidth();
  if (scrollWidth_ != 0) SendMessageA(wnd, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(scrollWidth_), 0);
  if (oldCount_ != -1 || saveItems_) {
    if (IsVirtual() && oldCount_ != -1) SendMessageA(wnd, LB_SETCOUNT, static_cast<WPARAM>(oldCount_), 0);
    if (saveItems_) {
      // Freed before the assignment can fail, so it is never restored twice.
      Owned<TStringList> saved(saveItems_);
      saveItems_ = nullptr;
      if (!IsVirtual()) items_->Assign(saved.get());
    }
    SetTopIndex(saveTopIndex_);
    SetItemIndex(saveItemIndex_);
    oldCount_ = -1;
  }
}

void TCustomListBox::DestroyWnd() {
  if (items_->GetCount() > 0) {
    if (IsVirtual()) {
      oldCount_ = items_->GetCount();
    } else {
      auto* copy = New<TStringList>();
      try {
        copy->Assign(items_);
      } catch (...) {
        copy->Free();
        throw;
      }
      FreeAndNil(saveItems_);
      saveItems_ = copy;
    }
    saveTopIndex_ = GetTopIndex();
    saveItemIndex_ = GetItemIndex();
  }
  inherited::DestroyWnd();
}

void TCustomListBox::WndProc(TMessage& m) {
  if ((m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) && GetDragMode() == dmAutomatic && !IsDesigning() &&
      !Dragging()) {
    if (IsControlMouseMsg(m)) return;
    SetControlState(GetControlState() + TControlState{csLButtonDown});
    Dispatch(m);
    return;
  }
  inherited::WndProc(m);
}

void TCustomListBox::WMLButtonDown(TMessage& m) {
  TWMMouse mm(m);
  TShiftState shift = KeysToShiftState(mm.Keys());
  bool automatic = GetDragMode() == dmAutomatic;
  if (automatic && multiSelect_ && (!shift.Contains(ssShift) || shift.Contains(ssCtrl))) {
    // A press on a selected item of a multi-select list drags the selection
    // as it is.
    int item = ItemAtPos(mm.Pos(), true);
    if (item >= 0 && GetSelected(item)) {
      BeginDrag(false);
      return;
    }
  }
  inherited::WMLButtonDown(m);
  if (automatic && !(multiSelect_ && (shift.Contains(ssCtrl) || shift.Contains(ssShift)))) BeginDrag(false);
}

void TCustomListBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND: CNCommand(m); return;
    case CN_DRAWITEM: CNDrawItem(m); return;
    case CN_MEASUREITEM: CNMeasureItem(m); return;
    case LB_GETTEXT: LBGetText(m); return;
    case LB_GETTEXTLEN: LBGetTextLen(m); return;
    default: inherited::Dispatch(m); return;
  }
}

void TCustomListBox::CNCommand(TMessage& m) {
  switch (TWMCommand(m).NotifyCode()) {
    case LBN_SELCHANGE:
      Changed();
      Click();
      break;
    case LBN_DBLCLK:
      DblClick();
      break;
  }
}

void TCustomListBox::CNDrawItem(TMessage& m) {
  if (DRAWITEMSTRUCT* d = TWMDrawItem(m).DrawItemStruct())
    DrawOwnerDrawnItem(canvas_, this, *d, [this](int index, TRect rect, TOwnerDrawState state) {
      DrawItem(index, rect, state);
    });
}

void TCustomListBox::CNMeasureItem(TMessage& m) {
  MEASUREITEMSTRUCT* mi = TWMMeasureItem(m).MeasureItemStruct();
  if (!mi) return;
  MeasureOwnerDrawnItem(*mi, itemHeight_, style_ == lbOwnerDrawVariable,
                        [this](int index, int& height) { MeasureItem(index, height); });
  m.Result = TRUE;
}

void TCustomListBox::LBGetText(TMessage& m) {
  if (!IsVirtual()) {
    DefaultHandler(m);
    return;
  }
  int index = static_cast<int>(m.WParam);
  if (OnData && index >= 0 && index < GetCount() && m.LParam) {
    std::string s = DoGetData(index);
    char* buffer = reinterpret_cast<char*>(m.LParam);
    std::copy(s.begin(), s.end(), buffer);
    buffer[s.size()] = '\0';
    m.Result = static_cast<LRESULT>(s.size());
  } else {
    m.Result = LB_ERR;
  }
}

void TCustomListBox::LBGetTextLen(TMessage& m) {
  if (!IsVirtual()) {
    DefaultHandler(m);
    return;
  }
  int index = static_cast<int>(m.WParam);
  if (OnData && index >= 0 && index < GetCount()) m.Result = static_cast<LRESULT>(DoGetData(index).size());
  else m.Result = LB_ERR;
}

void TCustomListBox::WMSize(TMessage& m) {
  inherited::WMSize(m);
  SetColumnWidth();
}

void TCustomListBox::CMCtl3DChanged(TMessage& m) {
  if (borderStyle_ == bsSingle) RecreateWnd();
  inherited::CMCtl3DChanged(m);
}

void TCustomListBox::KeyPress(char& key) {
  inherited::KeyPress(key);
  if (!autoComplete_ || key == 0) return;
  // Keys typed within half a second of each other build one search text.
  DWORD now = Seams().TickCount();
  if (now - lastTime_ >= 500) filter_.clear();
  lastTime_ = now;
  if (key == VK_BACK) {
    if (!filter_.empty()) filter_.pop_back();
  } else if (static_cast<unsigned char>(key) >= 32) {
    filter_ += key;
    key = 0;
  } else {
    return;
  }
  if (filter_.empty()) {
    if (GetCount() > 0) {
      SetItemIndex(0);
      Click();
    }
  } else {
    int found = IsVirtual() ? DoFindData(filter_)
                            : static_cast<int>(Perform(LB_FINDSTRING, static_cast<WPARAM>(-1),
                                                       reinterpret_cast<LPARAM>(filter_.c_str())));
    if (found != LB_ERR) {
      if (multiSelect_) {
        ClearSelection();
        SetSelected(found, true);
      }
      SetItemIndex(found);
      Click();
    }
  }
}
