// TKxCustomImageComboBox: items drawn as an image and a caption, indented by
// level.
#include <algorithm>
#include <cstdlib>

#include "classlib/Forms.h"
#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"
#include "kx/controls/KxCmboBx.h"

// ---------------------------------------------------------------------------
// TKxImageComboBoxItem

IMPLEMENT_CLASS(TKxImageComboBoxItem)

void TKxImageComboBoxItem::Changed() {
  if (owner_) owner_->Invalidate();
}

void TKxImageComboBoxItem::SetCaption(const std::string& v) {
  caption_ = v;
  Changed();
}

void TKxImageComboBoxItem::SetImageIndex(int v) {
  imageIndex_ = v;
  Changed();
}

void TKxImageComboBoxItem::SetIndentLevel(int v) {
  indentLevel_ = v;
  Changed();
}

void TKxImageComboBoxItem::SetOverlayIndex(int v) {
  overlayIndex_ = v;
  Changed();
}

// ---------------------------------------------------------------------------
// TKxCustomImageComboBox

IMPLEMENT_CLASS(TKxCustomImageComboBox)

TKxCustomImageComboBox::TKxCustomImageComboBox(TComponent* owner) : TKxCustomComboBox(owner) {
  SetStyle(csOwnerDrawFixed);
  drawFocus_ = false;
}

void TKxCustomImageComboBox::Destroy() {
  inherited::Destroy();
  // What the window still held (or held when it went without a successor)
  // belongs to nobody else.
  for (TKxImageComboBoxItem* item : live_) item->Free();
  live_.clear();
  kept_.clear();
}

TKxImageComboBoxItem* TKxCustomImageComboBox::AddItem(const std::string& caption, int imageIndex, int indentLevel) {
  auto* item = New<TKxImageComboBoxItem>(this);
  item->SetCaption(caption);
  item->SetImageIndex(imageIndex);
  item->SetIndentLevel(indentLevel);
  live_.push_back(item);
  TRollback forget([this, item] {
    live_.pop_back();
    item->Free();
  });
  item->SetIndex(GetItems()->AddObject("", item));
  forget.Commit();
  return item;
}

TKxImageComboBoxItem* TKxCustomImageComboBox::GetImageComboBoxItem(int index) {
  TObject* obj = GetItems()->GetObject(index);
  auto* item = dynamic_cast<TKxImageComboBoxItem*>(obj);
  if (obj && !item) throw EInvalidCast("Invalid class typecast");
  return item;
}

void TKxCustomImageComboBox::Delete(int index) {
  TRestore deleting(deleting_, true);
  GetItems()->Delete(index);
}

void TKxCustomImageComboBox::ClearItems() {
  TRestore deleting(deleting_, true);
  GetItems()->Clear();
}

void TKxCustomImageComboBox::Clear() {
  TRestore deleting(deleting_, true);
  inherited::Clear();
}

int TKxCustomImageComboBox::IndexOf(const std::string& s) {
  int count = GetItems()->GetCount();
  for (int i = 0; i < count; ++i)
    if (auto* item = GetImageComboBoxItem(i); item && AnsiCompareText(item->GetCaption(), s) == 0) return i;
  return -1;
}

void TKxCustomImageComboBox::GetItemData(TKxImageComboBoxItem* item) {
  if (OnGetItemData) OnGetItemData(this, item);
}

void TKxCustomImageComboBox::DeleteItem(void* data) {
  // The window's items go while it is made again: they come back.
  if (recreating_) return;
  auto* item = static_cast<TKxImageComboBoxItem*>(data);
  if (OnDeleteImageItem) OnDeleteImageItem(this, item);
  auto at = std::find(live_.begin(), live_.end(), item);
  if (at == live_.end()) return;  // not one of this combo box's
  // Removed for good (Delete, ClearItems, Clear, the end of the control):
  // freed. An item taken out of Items by hand stays with the combo box
  // until it goes, so a pointer put back into the list never dangles.
  if (deleting_ || IsDestroying()) {
    live_.erase(at);
    item->Free();
  }
}

// --- images and height ---------------------------------------------------------------------

void TKxCustomImageComboBox::SetImages(TCustomImageList* value) {
  if (images_ == value) return;
  images_ = value;
  Invalidate();
  if (value) value->FreeNotification(this);
  if (!IsLoading() && HandleAllocated()) AutoSize(GetFont()->GetHandle());
}

void TKxCustomImageComboBox::SetItemIndent(int value) {
  if (itemIndent_ == value) return;
  itemIndent_ = value;
  Invalidate();
}

void TKxCustomImageComboBox::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

void TKxCustomImageComboBox::AutoSize(HFONT font) {
  if (!autoSizeHeight_) return;
  TEXTMETRICA tm{};
  {
    TScreenDC dc;
    TSelectedObject selected(dc.Get(), font);
    GetTextMetricsA(dc.Get(), &tm);
  }
  int height = std::abs(static_cast<int>(tm.tmHeight)) + 4;
  if (images_ && height < images_->GetHeight()) height = images_->GetHeight();
  // The live window takes the height as it is (making it again inside its
  // own WM_SETFONT would destroy the window that is being told); the next
  // window measures its items with it.
  itemHeight_ = height;
  if (HandleAllocated()) SendMessageA(GetWindowHandle(), CB_SETITEMHEIGHT, 0, height);
}

void TKxCustomImageComboBox::WMSetFont(TMessage& m) {
  if (fontGuard_) {
    DefaultHandler(m);
    return;
  }
  TRestore guard(fontGuard_, true);
  AutoSize(reinterpret_cast<HFONT>(m.WParam));
  DefaultHandler(m);
}

// --- window ----------------------------------------------------------------------------------

void TKxCustomImageComboBox::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  params.Style &= ~static_cast<DWORD>(CBS_HASSTRINGS);
}

void TKxCustomImageComboBox::CreateWnd() {
  inherited::CreateWnd();
  SendMessageA(GetWindowHandle(), CB_SETEXTENDEDUI, 1, 0);
  std::vector<TKxImageComboBoxItem*> kept;
  kept.swap(kept_);
  for (TKxImageComboBoxItem* item : kept) item->SetIndex(GetItems()->AddObject("", item));
  if (keptIndex_ >= 0 && keptIndex_ < GetItems()->GetCount()) SetItemIndex(keptIndex_);
  keptIndex_ = -1;
}

void TKxCustomImageComboBox::DestroyWnd() {
  if (!IsDestroying()) {
    // The items outlive the window: the next one shows them again.
    int count = GetItems()->GetCount();
    kept_.clear();
    for (int i = 0; i < count; ++i)
      if (auto* item = GetImageComboBoxItem(i)) kept_.push_back(item);
    keptIndex_ = GetItemIndex();
    TRestore recreating(recreating_, true);
    GetItems()->Clear();
  }
  inherited::DestroyWnd();
}

void TKxCustomImageComboBox::Dispatch(TMessage& m) {
  if (m.Msg == WM_SETFONT) {
    WMSetFont(m);
    return;
  }
  inherited::Dispatch(m);
}

void TKxCustomImageComboBox::WMEraseBkgnd(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  TColor color = dynamic_cast<TForm*>(GetOwner()) ? static_cast<TControl*>(GetOwner())->GetColor() : clWindow;
  TOwnedGdiObject<HBRUSH> brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color))));
  RECT r = GetClientRect();
  FillRect(dc, &r, brush.get());
  m.Result = 1;
}

// --- drawing ------------------------------------------------------------------------------------

void TKxCustomImageComboBox::DrawItem(int index, TRect rect, TOwnerDrawState state) {
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  TKxImageComboBoxItem* item = GetImageComboBoxItem(index);
  if (!item) return;
  GetItemData(item);
  int level = state.Contains(odComboBoxEdit) ? 0 : item->GetIndentLevel();
  bool selected = state.Contains(odSelected);
  TCanvas* canvas = GetCanvas();
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(rect);
  if (images_) {
    if (selected) {
      canvas->GetBrush()->SetColor(clHighlight);
      images_->SetBlendColor(clHighlight);
      images_->SetDrawingStyle(dsSelected);
    } else {
      images_->SetDrawingStyle(dsNormal);
    }
    HIMAGELIST list = images_->GetHandle();
    TFinally back([list, saved = ImageList_GetBkColor(list)] { ImageList_SetBkColor(list, saved); });
    ImageList_SetBkColor(list, static_cast<COLORREF>(ColorToRGB(GetColor())));
    int x = rect.left + 2 + itemIndent_ * level;
    int y = (rect.top + rect.bottom - images_->GetHeight()) / 2;
    if (item->GetOverlayIndex() >= 0)
      images_->DrawOverlay(canvas, x, y, item->GetImageIndex(), item->GetOverlayIndex(), true);
    else
      images_->Draw(canvas, x, y, item->GetImageIndex(), true);
  }
  if (selected) canvas->GetBrush()->SetColor(clHighlight);
  if (item->GetCaption().empty()) return;
  TRect r;
  r.left = rect.left + 1 + itemIndent_ * level + (images_ ? images_->GetWidth() + 4 : 4);
  r.top = rect.top;
  r.right = r.left + canvas->TextWidth(item->GetCaption()) + 3;
  r.bottom = rect.bottom - 1;
  if (!GetEnabled()) canvas->GetFont()->SetColor(clBtnShadow);
  canvas->TextRect(r, r.left + 1, r.top + 1, item->GetCaption());
}

// ---------------------------------------------------------------------------
// TKxImageComboBox

PUBLISHED(TKxImageComboBox) {
  using T = TKxImageComboBox;
  TKxComboPublishing o;
  o.Style = csOwnerDrawFixed;
  o.DeleteItemEvent = false;
  o.Items = false;
  PublishKxComboBoxProps(p, o);
  p.Prop("AutoSizeHeight", &T::GetAutoSizeHeight, &T::SetAutoSizeHeight).Default(true);
  p.Prop("Images", &T::GetImages, &T::SetImages);
  p.Prop("ItemIndent", &T::GetItemIndent, &T::SetItemIndent).Default(12);
  p.Prop("OnDeleteItem", &T::GetOnDeleteImageItem, &T::SetOnDeleteImageItem);
  p.Prop("OnGetItemData", &T::GetOnGetItemData, &T::SetOnGetItemData);
}
