#include "classlib/comctrls/ListView.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/SysUtils.h"
#include "classlib/classes/Lists.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"

DEFINE_ENUM_TYPE(TViewStyle, "vsIcon", "vsSmallIcon", "vsList", "vsReport")
DEFINE_ENUM_TYPE(TItemChange, "ctText", "ctImage", "ctState")

namespace {
void IndexError(int index) { throw EListError(Format(SListIndexError, {index})); }
}  // namespace

// ---------------------------------------------------------------------------
// TListItem

IMPLEMENT_CLASS(TListItem)

TListItem::TListItem(TListItems* owner) : owner_(owner) {
  subItems_ = New<TStringList>();
  subItems_->SetOnChange(TNotifyEvent(this, &TListItem::SubItemsChanged));
}

void TListItem::Destroy() {
  if (owner_) owner_->Remove(this);
  FreeAndNil(subItems_);
  inherited::Destroy();
}

TCustomListView* TListItem::GetListView() const { return owner_ ? owner_->GetOwner() : nullptr; }

int TListItem::GetIndex() const { return owner_ ? owner_->IndexOf(this) : -1; }

void TListItem::SetCaption(const std::string& value) {
  if (caption_ == value) return;
  caption_ = value;
  if (TCustomListView* lv = GetListView()) {
    lv->UpdateItem(this);
    lv->Change(this, ctText);
  }
}

void TListItem::SetImageIndex(int value) {
  if (imageIndex_ == value) return;
  imageIndex_ = value;
  if (TCustomListView* lv = GetListView()) {
    lv->UpdateItem(this);
    lv->Change(this, ctImage);
  }
}

void TListItem::SubItemsChanged(TObject*) {
  if (TCustomListView* lv = GetListView()) lv->UpdateItem(this);
}

bool TListItem::GetSelected() const {
  TCustomListView* lv = GetListView();
  if (!lv || !lv->HandleAllocated()) return selected_;
  return SendMessageA(lv->GetWindowHandle(), LVM_GETITEMSTATE, static_cast<WPARAM>(GetIndex()), LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool value) {
  selected_ = value;
  TCustomListView* lv = GetListView();
  if (!lv || !lv->HandleAllocated()) return;
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED;
  item.state = value ? LVIS_SELECTED : 0;
  SendMessageA(lv->GetWindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(GetIndex()),
               reinterpret_cast<LPARAM>(&item));
}

bool TListItem::GetFocused() const {
  TCustomListView* lv = GetListView();
  if (!lv || !lv->HandleAllocated()) return focused_;
  return SendMessageA(lv->GetWindowHandle(), LVM_GETITEMSTATE, static_cast<WPARAM>(GetIndex()), LVIS_FOCUSED) != 0;
}

void TListItem::SetFocused(bool value) {
  focused_ = value;
  TCustomListView* lv = GetListView();
  if (!lv || !lv->HandleAllocated()) return;
  LVITEMA item{};
  item.stateMask = LVIS_FOCUSED;
  item.state = value ? LVIS_FOCUSED : 0;
  SendMessageA(lv->GetWindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(GetIndex()),
               reinterpret_cast<LPARAM>(&item));
}

void TListItem::Delete() { Free(); }

void TListItem::MakeVisible(bool partialOK) {
  TCustomListView* lv = GetListView();
  if (lv && lv->HandleAllocated())
    SendMessageA(lv->GetWindowHandle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(GetIndex()), partialOK ? TRUE : FALSE);
}

void TListItem::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TListItem*>(source);
  if (!other) {
    inherited::Assign(source);
    return;
  }
  caption_ = other->caption_;
  imageIndex_ = other->imageIndex_;
  data_ = other->data_;
  // The sub-items' change writes the whole row once.
  subItems_->Assign(other->subItems_);
  if (TCustomListView* lv = GetListView()) lv->UpdateItem(this);
}

// ---------------------------------------------------------------------------
// TListItems

IMPLEMENT_CLASS(TListItems)

void TListItems::Destroy() {
  // Freed last first; each item takes itself out of the list and the window.
  while (!items_.empty()) items_.back()->Free();
  inherited::Destroy();
}

TListItem* TListItems::Add() { return AddItem(nullptr, -1); }

TListItem* TListItems::Insert(int index) { return AddItem(nullptr, index); }

TListItem* TListItems::AddItem(TListItem* item, int index) {
  if (index < -1 || index > GetCount()) IndexError(index);
  if (index == -1) index = GetCount();
  if (!item) item = New<TListItem>(this);
  else item->owner_ = this;
  items_.insert(items_.begin() + index, item);
  try {
    if (owner_) owner_->InsertRow(item, index);
  } catch (...) {
    // The window has no row for it: out of the list before it is freed.
    items_.erase(items_.begin() + index);
    item->owner_ = nullptr;
    item->Free();
    throw;
  }
  return item;
}

void TListItems::Clear() {
  BeginUpdate();
  try {
    while (!items_.empty()) items_.back()->Free();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TListItems::Delete(int index) { GetItem(index)->Free(); }

TListItem* TListItems::GetItem(int index) const {
  if (index < 0 || index >= GetCount()) IndexError(index);
  return items_[static_cast<size_t>(index)];
}

int TListItems::IndexOf(const TListItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TListItems::Remove(TListItem* item) {
  int index = IndexOf(item);
  if (index < 0) return;
  if (owner_) owner_->Delete(item);
  if (owner_ && owner_->HandleAllocated())
    SendMessageA(owner_->GetWindowHandle(), LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
  items_.erase(items_.begin() + index);
  item->owner_ = nullptr;
}

void TListItems::BeginUpdate() {
  if (updateCount_++ == 0 && owner_ && owner_->HandleAllocated())
    SendMessageA(owner_->GetWindowHandle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0) return;
  if (owner_ && owner_->HandleAllocated()) {
    SendMessageA(owner_->GetWindowHandle(), WM_SETREDRAW, TRUE, 0);
    owner_->Invalidate();
  }
}

void TListItems::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TListItems*>(source);
  if (!other) {
    inherited::Assign(source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  try {
    Clear();
    for (TListItem* from : other->items_) Add()->Assign(from);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// ---------------------------------------------------------------------------
// TListColumn, TListColumns

PUBLISHED(TListColumn) {
  p.Prop("Alignment", &TListColumn::GetAlignment, &TListColumn::SetAlignment).Default(taLeftJustify);
  p.Prop("Caption", &TListColumn::GetCaption, &TListColumn::SetCaption);
  p.Prop("Width", &TListColumn::GetWidth, &TListColumn::SetWidth).Default(50);
}

TListColumn::TListColumn(TCollection* collection) : TCollectionItem(collection) {}

void TListColumn::SetCaption(const std::string& value) {
  if (caption_ == value) return;
  caption_ = value;
  Changed(false);
}

int TListColumn::GetWidth() const {
  // The user drags the width in the window's header. Only a report window
  // has one: another view answers its own column width for any index (the
  // view style may already name the next window's view).
  auto* columns = dynamic_cast<TListColumns*>(GetCollection());
  TCustomListView* lv = columns ? columns->GetOwnerListView() : nullptr;
  if (lv && lv->HandleAllocated() &&
      (GetWindowLongPtrA(lv->GetWindowHandle(), GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT)
    return static_cast<int>(
        SendMessageA(lv->GetWindowHandle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(GetIndex()), 0));
  return width_;
}

void TListColumn::SetWidth(int value) {
  width_ = value;
  Changed(false);
}

void TListColumn::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  Changed(false);
}

std::string TListColumn::GetDisplayName() const {
  return caption_.empty() ? inherited::GetDisplayName() : caption_;
}

void TListColumn::AssignTo(TPersistent* dest) {
  if (auto* to = dynamic_cast<TListColumn*>(dest)) {
    to->caption_ = caption_;
    to->width_ = GetWidth();
    to->alignment_ = alignment_;
    to->Changed(false);
    return;
  }
  inherited::AssignTo(dest);
}

IMPLEMENT_CLASS(TListColumns)

TListColumns::TListColumns(TCustomListView* owner) : TCollection(TListColumn::StaticClass()), owner_(owner) {}

TPersistent* TListColumns::GetOwner() { return owner_; }

void TListColumns::Update(TCollectionItem*) {
  if (owner_) owner_->UpdateColumns();
}

// ---------------------------------------------------------------------------
// TCustomListView

PUBLISHED(TListView) {
  PublishControlProps(p, {"Action", "Align", "Anchors", "BiDiMode"});
  p.Prop("Columns", &TListView::GetColumns, &TListView::SetColumns);
  PublishColor(p, clWindow);
  PublishControlProps(p, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled", "Font"});
  p.Prop("HideSelection", &TListView::GetHideSelection, &TListView::SetHideSelection).Default(true);
  p.Prop("MultiSelect", &TListView::GetMultiSelect, &TListView::SetMultiSelect).Default(false);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("ReadOnly", &TListView::GetReadOnly, &TListView::SetReadOnly).Default(false);
  p.Prop("RowSelect", &TListView::GetRowSelect, &TListView::SetRowSelect).Default(false);
  p.Prop("ShowColumnHeaders", &TListView::GetShowColumnHeaders, &TListView::SetShowColumnHeaders).Default(true);
  PublishControlProps(p, {"ShowHint", "TabOrder"});
  p.Prop("TabStop", &TListView::GetTabStop, &TListView::SetTabStop).Default(true);
  p.Prop("ViewStyle", &TListView::GetViewStyle, &TListView::SetViewStyle).Default(vsIcon);
  PublishControlProps(p, {"Visible"});
  p.Prop("OnChange", &TListView::GetOnChange, &TListView::SetOnChange);
  PublishControlProps(p, {"OnClick", "OnContextPopup", "OnDblClick"});
  p.Prop("OnDeletion", &TListView::GetOnDeletion, &TListView::SetOnDeletion);
  PublishControlProps(p, {"OnDragDrop", "OnDragOver"});
  p.Prop("OnEdited", &TListView::GetOnEdited, &TListView::SetOnEdited);
  p.Prop("OnEditing", &TListView::GetOnEditing, &TListView::SetOnEditing);
  PublishControlProps(p, {"OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp",
                          "OnMouseDown", "OnMouseMove", "OnMouseUp"});
  p.Prop("OnSelectItem", &TListView::GetOnSelectItem, &TListView::SetOnSelectItem);
  PublishControlProps(p, {"OnStartDock", "OnStartDrag"});
}
IMPLEMENT_CLASS(TCustomListView)
IMPLEMENT_CLASS(TListViewActionLink)

TCustomListView::TCustomListView(TComponent* owner) : TCustomMultiSelectListControl(owner) {
  SetControlStyle(GetControlStyle() - TControlStyle{csCaptureMouse} +
                  TControlStyle{csDisplayDragImage, csReflector});
  SetBounds(GetLeft(), GetTop(), 250, 150);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  items_ = New<TListItems>(this);
  columns_ = New<TListColumns>(this);
}

void TCustomListView::Destroy() {
  inherited::Destroy();
  FreeAndNil(items_);
  FreeAndNil(columns_);
}

TClass TCustomListView::GetActionLinkClass() { return TListViewActionLink::StaticClass(); }

void TCustomListView::SetViewStyle(TViewStyle value) {
  if (viewStyle_ == value) return;
  viewStyle_ = value;
  RecreateWnd();
}

void TCustomListView::SetMultiSelect(bool value) {
  if (multiSelect_ == value) return;
  multiSelect_ = value;
  RecreateWnd();
}

void TCustomListView::SetReadOnly(bool value) {
  if (readOnly_ == value) return;
  readOnly_ = value;
  RecreateWnd();
}

void TCustomListView::SetHideSelection(bool value) {
  if (hideSelection_ == value) return;
  hideSelection_ = value;
  RecreateWnd();
}

void TCustomListView::SetShowColumnHeaders(bool value) {
  if (showColumnHeaders_ == value) return;
  showColumnHeaders_ = value;
  RecreateWnd();
}

void TCustomListView::SetRowSelect(bool value) {
  if (rowSelect_ == value) return;
  rowSelect_ = value;
  if (HandleAllocated())
    SendMessageA(GetWindowHandle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 rowSelect_ ? LVS_EX_FULLROWSELECT : 0);
}

// --- selection -------------------------------------------------------------------

TListItem* TCustomListView::GetSelected() const {
  for (TListItem* item : items_->items_)
    if (item->GetSelected()) return item;
  return nullptr;
}

void TCustomListView::SetSelected(TListItem* item) {
  ClearSelection();
  if (item) {
    item->SetSelected(true);
    item->SetFocused(true);
  }
}

TListItem* TCustomListView::GetItemFocused() const {
  for (TListItem* item : items_->items_)
    if (item->GetFocused()) return item;
  return nullptr;
}

void TCustomListView::SetItemFocused(TListItem* item) {
  if (TListItem* old = GetItemFocused(); old && old != item) old->SetFocused(false);
  if (item) item->SetFocused(true);
}

int TCustomListView::GetItemIndex() {
  TListItem* item = GetSelected();
  return item ? item->GetIndex() : -1;
}

void TCustomListView::SetItemIndex(int value) {
  if (value == -1) {
    ClearSelection();
    return;
  }
  SetSelected(items_->GetItem(value));
}

int TCustomListView::GetSelCount() {
  if (HandleAllocated()) return static_cast<int>(SendMessageA(GetWindowHandle(), LVM_GETSELECTEDCOUNT, 0, 0));
  return static_cast<int>(
      std::count_if(items_->items_.begin(), items_->items_.end(), [](TListItem* i) { return i->selected_; }));
}

void TCustomListView::ClearSelection() {
  for (TListItem* item : items_->items_)
    if (item->GetSelected()) item->SetSelected(false);
}

void TCustomListView::SelectAll() {
  if (!multiSelect_) return;
  for (TListItem* item : items_->items_) item->SetSelected(true);
}

void TCustomListView::AddItem(const std::string& item, TObject* object) {
  TListItem* added = items_->Add();
  added->SetCaption(item);
  added->SetData(object);
}

void TCustomListView::CopySelection(TCustomListControl* destination) {
  if (!destination) return;
  for (TListItem* item : items_->items_)
    if (item->GetSelected()) destination->AddItem(item->GetCaption(), static_cast<TObject*>(item->GetData()));
}

void TCustomListView::DeleteSelected() {
  items_->BeginUpdate();
  try {
    for (int i = items_->GetCount() - 1; i >= 0; --i)
      if (items_->GetItem(i)->GetSelected()) items_->Delete(i);
  } catch (...) {
    items_->EndUpdate();
    throw;
  }
  items_->EndUpdate();
}

TListItem* TCustomListView::FindCaption(int startIndex, const std::string& value, bool partial, bool inclusive,
                                        bool wrap) const {
  int count = items_->GetCount();
  if (count == 0) return nullptr;
  int first = inclusive ? startIndex : startIndex + 1;
  auto matches = [&](const TListItem* item) {
    const std::string& c = item->GetCaption();
    if (!partial) return AnsiSameText(c, value);
    return c.size() >= value.size() && AnsiSameText(c.substr(0, value.size()), value);
  };
  for (int i = std::max(first, 0); i < count; ++i)
    if (matches(items_->GetItem(i))) return items_->GetItem(i);
  if (wrap)
    for (int i = 0; i < std::min(first, count); ++i)
      if (matches(items_->GetItem(i))) return items_->GetItem(i);
  return nullptr;
}

TListItem* TCustomListView::GetItemAt(int x, int y) {
  if (!HandleAllocated()) return nullptr;
  LVHITTESTINFO info{};
  info.pt = POINT{x, y};
  int row = static_cast<int>(SendMessageA(GetWindowHandle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
  if (row < 0 || !(info.flags & LVHT_ONITEM)) return nullptr;
  return row < items_->GetCount() ? items_->GetItem(row) : nullptr;
}

// --- the window's rows and columns ------------------------------------------------------

void TCustomListView::InsertRow(TListItem* item, int index) {
  if (!HandleAllocated()) return;
  LVITEMA row{};
  row.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE | LVIF_STATE;
  row.iItem = index;
  row.pszText = const_cast<char*>(item->caption_.c_str());
  row.iImage = item->imageIndex_;
  row.lParam = reinterpret_cast<LPARAM>(item);
  row.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  row.state = (item->selected_ ? LVIS_SELECTED : 0) | (item->focused_ ? LVIS_FOCUSED : 0);
  // The states written here are the item's own: no selection event.
  bool was = writing_;
  writing_ = true;
  LRESULT r = SendMessageA(GetWindowHandle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
  writing_ = was;
  if (r < 0) throw EOutOfResources("Unable to insert an item");
  WriteRow(item, index);
}

void TCustomListView::WriteRow(TListItem* item, int index) {
  HWND h = GetWindowHandle();
  LVITEMA row{};
  row.mask = LVIF_TEXT | LVIF_IMAGE;
  row.iItem = index;
  row.pszText = const_cast<char*>(item->caption_.c_str());
  row.iImage = item->imageIndex_;
  SendMessageA(h, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&row));
  // Sub-items beyond the last column are kept by the item; the window holds
  // what it has columns for.
  int subCount = std::max(columns_->GetCount() - 1, 0);
  for (int k = 0; k < subCount; ++k) {
    std::string text = k < item->subItems_->GetCount() ? item->subItems_->Get(k) : std::string();
    LVITEMA sub{};
    sub.iSubItem = k + 1;
    sub.pszText = const_cast<char*>(text.c_str());
    SendMessageA(h, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
  }
}

void TCustomListView::UpdateItem(TListItem* item) {
  if (!HandleAllocated()) return;
  int index = items_->IndexOf(item);
  if (index >= 0) WriteRow(item, index);
}

void TCustomListView::UpdateColumns() {
  if (!HandleAllocated()) return;
  HWND h = GetWindowHandle();
  while (SendMessageA(h, LVM_DELETECOLUMN, 0, 0)) {
  }
  static const int formats[] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER};
  for (int i = 0; i < columns_->GetCount(); ++i) {
    TListColumn* c = columns_->GetItem(i);
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.pszText = const_cast<char*>(c->caption_.c_str());
    col.cx = c->width_;
    // The first column is always left-aligned by the control.
    col.fmt = i == 0 ? LVCFMT_LEFT : formats[c->alignment_];
    SendMessageA(h, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
  }
  // The sub-item texts follow the columns.
  for (int i = 0; i < items_->GetCount(); ++i) WriteRow(items_->GetItem(i), i);
}

TListItem* TCustomListView::ItemOfParam(LPARAM param) const {
  auto* item = reinterpret_cast<TListItem*>(param);
  return items_->IndexOf(item) >= 0 ? item : nullptr;
}

void TCustomListView::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  CreateSubClass(params, WC_LISTVIEWA);
  static const DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  params.Style |= views[viewStyle_] | LVS_SHAREIMAGELISTS | WS_CLIPCHILDREN;
  if (!multiSelect_) params.Style |= LVS_SINGLESEL;
  if (!readOnly_) params.Style |= LVS_EDITLABELS;
  if (!hideSelection_) params.Style |= LVS_SHOWSELALWAYS;
  if (!showColumnHeaders_) params.Style |= LVS_NOCOLUMNHEADER;
  if (GetCtl3D()) params.ExStyle |= WS_EX_CLIENTEDGE;
  else params.Style |= WS_BORDER;
  params.WindowClass.style &= ~UINT{CS_HREDRAW | CS_VREDRAW};
}

void TCustomListView::CreateWnd() {
  inherited::CreateWnd();
  HWND h = GetWindowHandle();
  if (rowSelect_) SendMessageA(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  UpdateColumns();
  items_->BeginUpdate();
  try {
    for (int i = 0; i < items_->GetCount(); ++i) InsertRow(items_->GetItem(i), i);
  } catch (...) {
    items_->EndUpdate();
    throw;
  }
  items_->EndUpdate();
}

void TCustomListView::DestroyWnd() {
  // What the user changed in the window stays with the items and columns.
  for (TListItem* item : items_->items_) {
    item->selected_ = item->GetSelected();
    item->focused_ = item->GetFocused();
  }
  for (int i = 0; i < columns_->GetCount(); ++i) columns_->GetItem(i)->width_ = columns_->GetItem(i)->GetWidth();
  inherited::DestroyWnd();
}

void TCustomListView::Dispatch(TMessage& m) {
  if (m.Msg == CN_NOTIFY) CNNotify(m);
  else inherited::Dispatch(m);
}

void TCustomListView::Delete(TListItem* item) {
  if (OnDeletion && !GetComponentState().Contains(csDestroying)) OnDeletion(this, item);
}

void TCustomListView::Change(TListItem* item, TItemChange change) {
  if (OnChange) OnChange(this, item, change);
}

bool TCustomListView::CanEdit(TListItem* item) {
  bool allow = !readOnly_;
  if (allow && OnEditing) OnEditing(this, item, allow);
  return allow;
}

void TCustomListView::Edit(const LVITEMA& row) {
  TListItem* item = ItemOfParam(row.lParam);
  if (!item) item = row.iItem >= 0 && row.iItem < items_->GetCount() ? items_->GetItem(row.iItem) : nullptr;
  if (!item || !row.pszText) return;  // no text: the edit was cancelled
  std::string s = row.pszText;
  if (OnEdited) OnEdited(this, item, s);
  item->SetCaption(s);
}

void TCustomListView::CNNotify(TMessage& m) {
  auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
  if (!hdr) return;
  switch (hdr->code) {
    case LVN_ITEMCHANGED: {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(m.LParam);
      if (writing_ || !(nm->uChanged & LVIF_STATE)) break;
      TListItem* item = ItemOfParam(nm->lParam);
      if (!item && nm->iItem >= 0 && nm->iItem < items_->GetCount()) item = items_->GetItem(nm->iItem);
      if (!item) break;
      Change(item, ctState);
      if ((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED)
        if (OnSelectItem) OnSelectItem(this, item, (nm->uNewState & LVIS_SELECTED) != 0);
      break;
    }
    // The control asks its parent which kind it wants; both kinds are read
    // (the Unicode layer's parents may answer wide).
    case LVN_BEGINLABELEDITA:
    case LVN_BEGINLABELEDITW: {
      auto* nm = reinterpret_cast<NMLVDISPINFOA*>(m.LParam);
      TListItem* item = ItemOfParam(nm->item.lParam);
      if (!item && nm->item.iItem >= 0 && nm->item.iItem < items_->GetCount()) item = items_->GetItem(nm->item.iItem);
      m.Result = item && CanEdit(item) ? FALSE : TRUE;
      break;
    }
    case LVN_ENDLABELEDITA:
      Edit(reinterpret_cast<NMLVDISPINFOA*>(m.LParam)->item);
      // The caption is already written: the control keeps its own text.
      m.Result = FALSE;
      break;
    case LVN_ENDLABELEDITW: {
      LVITEMW& w = reinterpret_cast<NMLVDISPINFOW*>(m.LParam)->item;
      LVITEMA a{};
      a.iItem = w.iItem;
      a.lParam = w.lParam;
      std::string text;
      if (w.pszText) {
        int n = WideCharToMultiByte(CP_ACP, 0, w.pszText, -1, nullptr, 0, nullptr, nullptr);
        text.resize(static_cast<size_t>(std::max(n, 1)));
        WideCharToMultiByte(CP_ACP, 0, w.pszText, -1, text.data(), n, nullptr, nullptr);
        a.pszText = text.data();
      }
      Edit(a);
      m.Result = FALSE;
      break;
    }
    default:
      break;
  }
}
