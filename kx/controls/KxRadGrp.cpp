#include "kx/controls/KxRadGrp.h"

#include <algorithm>

#include "classlib/Forms.h"
#include "classlib/Scopes.h"
#include "kx/controls/KxPanelPublish.h"

void InitializeKxRadGrp() { RegisterClasses({TKxRadioGroup::StaticClass(), TKxCheckGroup::StaticClass()}); }

namespace {

// The styles that take two pixels on a side (the bevel-like ones).
bool IsTwoPixelStyle(TFrameStyleEx style) { return style >= fsGroove && style <= fsButtonUp; }

}  // namespace

// ---------------------------------------------------------------------------
// TKxCustomItemGroup

IMPLEMENT_CLASS(TKxCustomItemGroup)

TKxCustomItemGroup::TKxCustomItemGroup(TComponent* owner) : TKxCustomGroupBox(owner) {
  SetControlStyle(TControlStyle{csAcceptsControls, csSetCaption, csDoubleClicks});
  itemLines_ = New<TStringList>();
  itemLines_->SetOnChange(TNotifyEvent(this, &TKxCustomItemGroup::ItemsChange));
  itemFont_ = New<TFont>();
  itemFont_->SetName("MS Sans Serif");
  itemFont_->SetSize(8);
  itemFont_->SetOnChange(TNotifyEvent(this, &TKxCustomItemGroup::ItemFontChanged));
  customGlyphs_ = New<TBitmap>();
  customGlyphs_->SetOnChange(TNotifyEvent(this, &TKxCustomItemGroup::CustomGlyphsChanged));
}

void TKxCustomItemGroup::Destroy() {
  itemLines_->SetOnChange(TNotifyEvent());
  inherited::Destroy();
  FreeAndNil(itemLines_);
  FreeAndNil(itemFont_);
  FreeAndNil(customGlyphs_);
}

TKxCustomGlyphButton* TKxCustomItemGroup::GetItem(int index) const {
  if (index < 0 || index >= GetItemCount()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
  return items_[static_cast<size_t>(index)];
}

int TKxCustomItemGroup::IndexOfItem(TObject* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TKxCustomItemGroup::RemoveItem(TKxCustomGlyphButton* item) { std::erase(items_, item); }

SIZE TKxCustomItemGroup::ItemGlyphSize() const {
  if (!useCustomGlyphs_) return SIZE{13, 13};
  return SIZE{customGlyphs_->GetWidth() / GlyphCells(), customGlyphs_->GetHeight()};
}

bool TKxCustomItemGroup::GetItemEnabled(int index) const { return GetItem(index)->GetEnabled(); }
void TKxCustomItemGroup::SetItemEnabled(int index, bool value) { GetItem(index)->SetEnabled(value); }

void TKxCustomItemGroup::SetItemCount(int count) {
  while (GetItemCount() < count) CreateItem();
  while (GetItemCount() > count) items_.back()->Free();
}

void TKxCustomItemGroup::UpdateItems() {
  SetItemCount(itemLines_->GetCount());
  for (int i = 0; i < GetItemCount(); ++i) items_[static_cast<size_t>(i)]->SetCaption(itemLines_->Get(i));
  ArrangeItems();
  Invalidate();
}

void TKxCustomItemGroup::ArrangeItems() {
  if (items_.empty() || reading_) return;
  const int count = GetItemCount();
  const int rows = (count + columns_ - 1) / columns_;
  const int evenWidth = (GetWidth() - startXPos_ - 2 * GetBorderWidth() - 10) / columns_;
  const bool captioned = !GetCaption().empty();
  const int fh = GetMinFontHeight(GetFont());
  int top;
  if (GetGroupStyle() == gsStandard) {
    top = captioned ? fh + startYPos_ : fh / 2 + startYPos_ + 2;
  } else {
    int b = GetBorderWidth() + 1;
    if (IsTwoPixelStyle(GetBorderOuter())) b += 2;
    if (IsTwoPixelStyle(GetBorderInner())) b += 2;
    top = captioned ? fh + b + startYPos_ : b + startYPos_;
  }
  // Each column as wide as its widest item: caption, glyph and a gap.
  std::vector<int> columnWidths(static_cast<size_t>(columns_), 0);
  if (!spaceEvenly_) {
    const int glyph = ItemGlyphSize().cx;
    for (int i = 0; i < count; ++i) {
      int& w = columnWidths[static_cast<size_t>(i / rows)];
      w = std::max(w, KxTextWidth(itemFont_, items_[static_cast<size_t>(i)]->GetCaption()) + glyph + 12);
    }
  }
  const bool rtl = UseRightToLeftReading();
  const int clientWidth = GetClientWidth();
  for (int i = 0; i < count; ++i) {
    TKxCustomGlyphButton* item = items_[static_cast<size_t>(i)];
    int c = i / rows, r = i % rows;
    int y = top + r * (itemHeight_ + verticalSpacing_);
    int x, w;
    if (spaceEvenly_) {
      w = evenWidth;
      x = rtl ? clientWidth - c * w - w - startXPos_ : startXPos_ + c * w;
    } else {
      int before = 0;
      for (int k = 0; k < c; ++k) before += columnWidths[static_cast<size_t>(k)];
      int column = columnWidths[static_cast<size_t>(c)];
      w = column - 4;
      x = rtl ? clientWidth - before - column - startXPos_ + 4 : startXPos_ + before;
    }
    item->SetBounds(x, y, w, itemHeight_);
    item->SetVisible(true);
    item->SetFont(itemFont_);
    item->SetBiDiMode(GetBiDiMode());
    item->SetAlignment(item->GetControlsAlignment());
    item->SetTextHighlightColor(textHighlightColor_);
    item->SetTextShadowColor(textShadowColor_);
    item->SetTextShadowDepth(textShadowDepth_);
    item->SetLightTextStyle(lightTextStyle_);
    item->SetTextStyle(textStyle_);
    item->SetTransparent(GetTransparent());
    item->SetWinMaskColor(winMaskColor_);
    item->SetTransparentColor(transparentColor_);
    item->SetCustomGlyphs(customGlyphs_);
    item->SetUseCustomGlyphs(useCustomGlyphs_);
    item->SetFrameColor(itemFrameColor_);
    item->SetHotTrack(itemHotTrack_);
    item->SetHighlightColor(itemHighlightColor_);
    item->SetHotTrackColor(itemHotTrackColor_);
    item->SetHotTrackColorType(itemHotTrackColorType_);
    PushItem(item);
  }
}

// --- properties ---

void TKxCustomItemGroup::SetColumns(int value) {
  value = std::clamp(value, 1, 16);
  if (columns_ == value) return;
  columns_ = value;
  ArrangeItems();
  Invalidate();
}

void TKxCustomItemGroup::SetCustomGlyphs(TBitmap* value) {
  customGlyphs_->Assign(value);
  ArrangeItems();
}

void TKxCustomItemGroup::CustomGlyphsChanged(TObject*) {
  useCustomGlyphs_ = true;
  ArrangeItems();
}

void TKxCustomItemGroup::SetUseCustomGlyphs(bool value) { StoreArrange(useCustomGlyphs_, value); }
void TKxCustomItemGroup::SetItemFrameColor(TColor value) { StoreArrange(itemFrameColor_, value); }
void TKxCustomItemGroup::SetItemHotTrack(bool value) { StoreArrange(itemHotTrack_, value); }
void TKxCustomItemGroup::SetItemHighlightColor(TColor value) { StoreArrange(itemHighlightColor_, value); }
void TKxCustomItemGroup::SetItemHotTrackColor(TColor value) { StoreArrange(itemHotTrackColor_, value); }
void TKxCustomItemGroup::SetItemHotTrackColorType(TKxHotTrackColorType value) {
  StoreArrange(itemHotTrackColorType_, value);
}
void TKxCustomItemGroup::SetItemHeight(int value) { StoreArrange(itemHeight_, value); }
void TKxCustomItemGroup::SetLightTextStyle(bool value) { StoreArrange(lightTextStyle_, value); }
void TKxCustomItemGroup::SetTextHighlightColor(TColor value) { StoreArrange(textHighlightColor_, value); }
void TKxCustomItemGroup::SetTextShadowColor(TColor value) { StoreArrange(textShadowColor_, value); }
void TKxCustomItemGroup::SetTextShadowDepth(int value) { StoreArrange(textShadowDepth_, value); }
void TKxCustomItemGroup::SetSpaceEvenly(bool value) { StoreArrange(spaceEvenly_, value); }
void TKxCustomItemGroup::SetTextStyle(TTextStyle value) { StoreArrange(textStyle_, value); }
void TKxCustomItemGroup::SetVerticalSpacing(int value) { StoreArrange(verticalSpacing_, value); }
void TKxCustomItemGroup::SetTransparentColor(TColor value) { StoreArrange(transparentColor_, value); }
void TKxCustomItemGroup::SetWinMaskColor(TColor value) { StoreArrange(winMaskColor_, value); }

void TKxCustomItemGroup::SetStartPos(int index, int value) {
  if (index == 1) StoreArrange(startXPos_, value);
  else StoreArrange(startYPos_, value);
}

void TKxCustomItemGroup::SetItems(TStrings* value) { itemLines_->Assign(value); }

void TKxCustomItemGroup::SetItemFont(TFont* value) { itemFont_->Assign(value); }

void TKxCustomItemGroup::ItemFontChanged(TObject*) {
  if (!followingFont_) itemFontSet_ = true;
  ArrangeItems();
}

void TKxCustomItemGroup::FollowFont() {
  TRestore following(followingFont_, true);
  itemFont_->Assign(GetFont());
}

void TKxCustomItemGroup::SetGroupBoxStyle(TKxGroupBoxStyle value) {
  inherited::SetGroupBoxStyle(value);
  ArrangeItems();
  Invalidate();
}

void TKxCustomItemGroup::SetTransparent(bool value) {
  inherited::SetTransparent(value);
  ArrangeItems();
}

// --- stored forms, scaling, messages ---

void TKxCustomItemGroup::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  // Older versions called ItemHotTrack "Flat"; read, never written.
  filer->DefineProperty("Flat", [this](TReader* r) { SetItemHotTrack(r->ReadBoolean()); }, nullptr, false);
}

void TKxCustomItemGroup::ReadState(TReader* reader) {
  {
    TRestore reading(reading_, true);
    inherited::ReadState(reader);
  }
  UpdateItems();
}

void TKxCustomItemGroup::ChangeScale(int m, int d) {
  inherited::ChangeScale(m, d);
  if (m == d || d == 0) return;
  if (itemFontSet_) itemFont_->SetSize(MulDiv(itemFont_->GetSize(), m, d));
  verticalSpacing_ = MulDiv(verticalSpacing_, m, d);
  itemHeight_ = MulDiv(itemHeight_, m, d);
  startYPos_ = MulDiv(startYPos_, m, d);
  ArrangeItems();
}

void TKxCustomItemGroup::KeyPress(char& key) {
  if (tabOnEnter_ && key == '\r') {
    // Enter moves on as Tab does: the form's dialog keys take the Tab.
    key = 0;
    if (HandleAllocated()) PostMessageA(GetHandle(), WM_KEYDOWN, VK_TAB, 0);
    return;
  }
  inherited::KeyPress(key);
}

void TKxCustomItemGroup::CMEnabledChanged(TMessage& m) {
  inherited::CMEnabledChanged(m);
  Repaint();
  // Every item follows the group, also one disabled on its own before.
  for (TKxCustomGlyphButton* item : std::vector<TKxCustomGlyphButton*>(items_)) item->SetEnabled(GetEnabled());
}

void TKxCustomItemGroup::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  if (!itemFontSet_) FollowFont();
  Invalidate();
}

void TKxCustomItemGroup::CMTextChanged(TMessage& m) {
  inherited::CMTextChanged(m);
  // The first row sits lower under a caption.
  ArrangeItems();
}

void TKxCustomItemGroup::WMSize(TMessage& m) {
  inherited::WMSize(m);
  ArrangeItems();
}

// ---------------------------------------------------------------------------
// Radio group

namespace {

template <class T>
void PublishItemGroupProps(TPublisher<T>& p) {
  using G = TKxCustomItemGroup;
  PublishKxGroupBoxProps(p);
  p.Prop("Columns", &G::GetColumns, &G::SetColumns).Default(1);
  p.Prop("CustomGlyphs", &G::GetCustomGlyphs, &G::SetCustomGlyphs);
  p.Prop("ItemFrameColor", &G::GetItemFrameColor, &G::SetItemFrameColor).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("ItemHotTrack", &G::GetItemHotTrack, &G::SetItemHotTrack).Default(false);
  p.Prop("ItemHighlightColor", &G::GetItemHighlightColor, &G::SetItemHighlightColor)
      .Default(clHighlight)
      .Type(TColorTypeInfo());
  p.Prop("ItemHotTrackColor", &G::GetItemHotTrackColor, &G::SetItemHotTrackColor)
      .Default(clHighlight)
      .Type(TColorTypeInfo());
  p.Prop("ItemHotTrackColorType", &G::GetItemHotTrackColorType, &G::SetItemHotTrackColorType)
      .Default(htctComplement);
  p.Prop("ItemFont", &G::GetItemFont, &G::SetItemFont).Stored(&G::IsItemFontStored);
  p.Prop("ItemHeight", &G::GetItemHeight, &G::SetItemHeight).Default(17);
  p.Prop("Items", &G::GetItems, &G::SetItems);
  p.Prop("LightTextStyle", &G::GetLightTextStyle, &G::SetLightTextStyle).Default(false);
  p.Prop("TextHighlightColor", &G::GetTextHighlightColor, &G::SetTextHighlightColor)
      .Default(clBtnHighlight)
      .Type(TColorTypeInfo());
  p.Prop("TextShadowColor", &G::GetTextShadowColor, &G::SetTextShadowColor).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("TextShadowDepth", &G::GetTextShadowDepth, &G::SetTextShadowDepth).Default(2);
  p.Prop("SpaceEvenly", &G::GetSpaceEvenly, &G::SetSpaceEvenly).Default(false);
  p.Prop("StartXPos", &G::GetStartXPos, &G::SetStartXPos).Default(8);
  p.Prop("StartYPos", &G::GetStartYPos, &G::SetStartYPos).Default(2);
  p.Prop("TabOnEnter", &G::GetTabOnEnter, &G::SetTabOnEnter).Default(false);
  p.Prop("TextStyle", &G::GetTextStyle, &G::SetTextStyle).Default(tsNormal);
  p.Prop("TransparentColor", &G::GetTransparentColor, &G::SetTransparentColor).Default(clOlive).Type(TColorTypeInfo());
  p.Prop("UseCustomGlyphs", &G::GetUseCustomGlyphs, &G::SetUseCustomGlyphs).Default(false);
  p.Prop("VerticalSpacing", &G::GetVerticalSpacing, &G::SetVerticalSpacing).Default(3);
  p.Prop("WinMaskColor", &G::GetWinMaskColor, &G::SetWinMaskColor).Default(clTeal).Type(TColorTypeInfo());
}

}  // namespace

IMPLEMENT_CLASS(TKxGroupButton)
IMPLEMENT_CLASS(TKxGroupCheck)
IMPLEMENT_CLASS(TKxCustomRadioGroup)

PUBLISHED(TKxRadioGroup) {
  PublishItemGroupProps(p);
  // ItemIndex after Items, so a stored form has the lines when it is set.
  p.Prop("ItemIndex", &TKxCustomRadioGroup::GetItemIndex, &TKxCustomRadioGroup::SetItemIndex).Default(-1);
  p.Prop("OnChanging", &TKxCustomRadioGroup::GetOnChanging, &TKxCustomRadioGroup::SetOnChanging);
}

TKxCustomRadioGroup::TKxCustomRadioGroup(TComponent* owner) : TKxCustomItemGroup(owner) {}

TKxGroupButton* TKxCustomRadioGroup::GetButtons(int index) const {
  return static_cast<TKxGroupButton*>(GetItem(index));
}

TKxCustomGlyphButton* TKxCustomRadioGroup::CreateItem() {
  auto* button = New<TKxGroupButton>(this);
  button->OnClick = TNotifyEvent(this, &TKxCustomRadioGroup::ButtonClick);
  return button;
}

bool TKxCustomRadioGroup::CanChange(int newIndex) {
  bool allow = true;
  if (OnChanging) OnChanging(this, newIndex, allow);
  return allow;
}

void TKxCustomRadioGroup::ApplyItemIndex(int value) {
  TFinally updating([this, was = GetUpdating()] { SetUpdating(was); });
  SetUpdating(true);
  if (itemIndex_ >= 0 && itemIndex_ < GetItemCount()) GetButtons(itemIndex_)->SetChecked(false);
  itemIndex_ = value;
  if (value >= 0) GetButtons(value)->SetChecked(true);
}

void TKxCustomRadioGroup::SetItemIndex(int value) {
  if (GetReading()) {
    itemIndex_ = value;
    return;
  }
  value = std::clamp(value, -1, GetItemCount() - 1);
  if (value == itemIndex_) return;
  // Asked before anything moves: a refusal leaves the index and the checked
  // item as they were, in agreement.
  if (value >= 0 && !CanChange(value)) return;
  ApplyItemIndex(value);
  if (value < 0) return;
  Changed();
  Click();
}

void TKxCustomRadioGroup::ButtonClick(TObject* sender) {
  if (GetUpdating()) return;
  int index = IndexOfItem(sender);
  if (index < 0) return;
  if (CanChange(index)) {
    ApplyItemIndex(index);
    Changed();
    Click();
    return;
  }
  // Refused: the previous item is checked (and focused) again, or, with
  // none before, the clicked one is unchecked.
  SetUpdating(true);
  TFinally updating([this] { SetUpdating(false); });
  if (itemIndex_ >= 0) {
    TKxGroupButton* previous = GetButtons(itemIndex_);
    previous->SetChecked(true);
    if (previous->CanFocus()) previous->SetFocus();
  } else {
    GetButtons(index)->SetChecked(false);
  }
}

void TKxCustomRadioGroup::ItemsChange(TObject*) {
  if (GetReading()) return;
  if (itemIndex_ >= GetItems()->GetCount()) itemIndex_ = GetItems()->GetCount() - 1;
  UpdateItems();
}

void TKxCustomRadioGroup::UpdateItems() {
  itemIndex_ = std::clamp(itemIndex_, -1, GetItems()->GetCount() - 1);
  inherited::UpdateItems();
  if (itemIndex_ >= 0) ApplyItemIndex(itemIndex_);
}

// ---------------------------------------------------------------------------
// Check group

IMPLEMENT_CLASS(TKxCustomCheckGroup)

PUBLISHED(TKxCheckGroup) {
  p.Prop("AllowGrayed", &TKxCustomCheckGroup::GetAllowGrayed, &TKxCustomCheckGroup::SetAllowGrayed).Default(false);
  PublishItemGroupProps(p);
  p.Prop("OnChange", &TKxCustomCheckGroup::GetOnChange, &TKxCustomCheckGroup::SetOnChange);
}

TKxCustomCheckGroup::TKxCustomCheckGroup(TComponent* owner) : TKxCustomItemGroup(owner) {
  checkStates_ = New<TKxIntegerList>();
}

void TKxCustomCheckGroup::Destroy() {
  inherited::Destroy();
  FreeAndNil(checkStates_);
}

TKxGroupCheck* TKxCustomCheckGroup::GetChecks(int index) const { return static_cast<TKxGroupCheck*>(GetItem(index)); }

TKxCustomGlyphButton* TKxCustomCheckGroup::CreateItem() {
  auto* check = New<TKxGroupCheck>(this);
  check->OnClick = TNotifyEvent(this, &TKxCustomCheckGroup::CheckClick);
  return check;
}

void TKxCustomCheckGroup::PushItem(TKxCustomGlyphButton* item) {
  static_cast<TKxGroupCheck*>(item)->SetAllowGrayed(allowGrayed_);
}

void TKxCustomCheckGroup::SetAllowGrayed(bool value) { StoreArrange(allowGrayed_, value); }

bool TKxCustomCheckGroup::GetItemChecked(int index) const { return GetChecks(index)->GetChecked(); }
void TKxCustomCheckGroup::SetItemChecked(int index, bool value) { GetChecks(index)->SetChecked(value); }
TCheckBoxState TKxCustomCheckGroup::GetItemState(int index) const { return GetChecks(index)->GetState(); }
void TKxCustomCheckGroup::SetItemState(int index, TCheckBoxState value) { GetChecks(index)->SetState(value); }

void TKxCustomCheckGroup::Change(int index, TCheckBoxState newState) {
  if (OnChange) OnChange(this, index, newState);
}

void TKxCustomCheckGroup::CheckClick(TObject* sender) {
  int index = IndexOfItem(sender);
  if (index >= 0) Change(index, GetChecks(index)->GetState());
}

void TKxCustomCheckGroup::ItemsChange(TObject*) {
  if (!GetReading()) UpdateItems();
}

void TKxCustomCheckGroup::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  filer->DefineProperty(
      "CheckStates", [this](TReader* r) { ReadCheckStates(r); }, [this](TWriter* w) { WriteCheckStates(w); },
      GetItemCount() > 0);
}

void TKxCustomCheckGroup::ReadCheckStates(TReader* reader) {
  checkStates_->Clear();
  reader->ReadListBegin();
  while (!reader->EndOfList()) checkStates_->Add(reader->ReadInteger());
  reader->ReadListEnd();
}

void TKxCustomCheckGroup::WriteCheckStates(TWriter* writer) {
  writer->WriteListBegin();
  for (int i = 0; i < GetItemCount(); ++i) writer->WriteInteger(GetItemState(i));
  writer->WriteListEnd();
}

void TKxCustomCheckGroup::Loaded() {
  inherited::Loaded();
  // A state for an item the group does not have, or one no check box
  // knows, is left out.
  int n = std::min(checkStates_->GetCount(), GetItemCount());
  for (int i = 0; i < n; ++i) {
    int state = checkStates_->GetItem(i);
    if (state >= cbUnchecked && state <= cbGrayed) SetItemState(i, static_cast<TCheckBoxState>(state));
  }
  checkStates_->Clear();
}
