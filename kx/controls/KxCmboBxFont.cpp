// TKxFontComboBox: the installed fonts with type glyphs, samples, the most
// recently used block and the floating preview.
#include <algorithm>

#include "classlib/SysUtils.h"
#include "kx/controls/KxCmboBx.h"

namespace {
constexpr int kGlyphIndent = 24;
}  // namespace

// ---------------------------------------------------------------------------
// TKxFontComboBox

TKxFontComboBox::TKxFontComboBox(TComponent* owner) : TKxCustomComboBox(owner) {
  SetStyle(csOwnerDrawFixed);
  SetSorted(true);
  SetDropDownCount(14);
  selectedFont_ = New<TFont>();
  selectedFont_->SetSize(fontSize_);
  LoadBitmaps();
  previewPanel_ = TKxPreviewFontPanel::CreateFor(this, owner);
}

void TKxFontComboBox::Destroy() {
  inherited::Destroy();
  FreeAndNil(selectedFont_);
}

void TKxFontComboBox::LoadBitmaps() { glyphs_.Load(); }

void TKxFontComboBox::LoadFonts() { KxLoadFonts(GetItems(), fontDevice_, fontType_, showSymbolFonts_); }

void TKxFontComboBox::CreateWnd() {
  inherited::CreateWnd();
  TStrings* items = GetItems();
  lastMRU_ = savedMRU_.Refill(items, [this] { LoadFonts(); });
  if (!savedName_.empty()) SetItemIndex(items->IndexOf(savedName_));
  savedName_.clear();
}

void TKxFontComboBox::DestroyWnd() {
  savedName_ = GetFontName();
  savedMRU_.Keep(GetItems(), lastMRU_, IsDestroying());
  inherited::DestroyWnd();
}

void TKxFontComboBox::SetFontDevice(TKxFontDevice value) {
  if (fontDevice_ == value) return;
  fontDevice_ = value;
  RecreateWnd();
}

void TKxFontComboBox::SetFontType(TKxFontType value) {
  if (fontType_ == value) return;
  fontType_ = value;
  RecreateWnd();
}

void TKxFontComboBox::SetShowSymbolFonts(bool value) {
  if (showSymbolFonts_ == value) return;
  showSymbolFonts_ = value;
  RecreateWnd();
}

void TKxFontComboBox::SetShowStyle(TKxShowStyle value) {
  if (showStyle_ == value) return;
  showStyle_ = value;
  Invalidate();
}

void TKxFontComboBox::SetFontSize(int value) {
  fontSize_ = value;
  selectedFont_->SetSize(value);
}

void TKxFontComboBox::SetMaintainMRUFonts(bool value) {
  if (maintainMRUFonts_ == value) return;
  maintainMRUFonts_ = value;
  Invalidate();
}

void TKxFontComboBox::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  RecreateWnd();
}

TFont* TKxFontComboBox::GetSelectedFont() {
  return KxSelectedFont(selectedFont_, GetItems(), GetItemIndex(), fontSize_, fontStyle_);
}

void TKxFontComboBox::SetSelectedFont(TFont* value) {
  if (value) SetItemIndex(GetItems()->IndexOf(value->GetName()));
}

std::string TKxFontComboBox::GetFontName() {
  int index = HandleAllocated() ? GetItemIndex() : -1;
  return index < 0 ? std::string() : GetItems()->Get(index);
}

void TKxFontComboBox::SetFontName(const std::string& value) { SetItemIndex(GetItems()->IndexOf(value)); }

void TKxFontComboBox::SetPreviewEdit(TCustomEdit* value) {
  if (previewEdit_ == value) return;
  previewEdit_ = value;
  if (value) value->FreeNotification(this);
}

void TKxFontComboBox::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == previewEdit_) previewEdit_ = nullptr;
  if (component == previewPanel_) previewPanel_ = nullptr;
}

int TKxFontComboBox::GetPreviewFontSize() { return previewPanel_->GetFont()->GetSize(); }
void TKxFontComboBox::SetPreviewFontSize(int value) { previewPanel_->GetFont()->SetSize(value); }
int TKxFontComboBox::GetPreviewHeight() { return previewPanel_->GetHeight(); }
void TKxFontComboBox::SetPreviewHeight(int value) { previewPanel_->SetHeight(value); }
int TKxFontComboBox::GetPreviewWidth() { return previewPanel_->GetWidth(); }
void TKxFontComboBox::SetPreviewWidth(int value) { previewPanel_->SetWidth(value); }

void TKxFontComboBox::UpdatePreviewText() {
  if (previewPanel_) previewPanel_->UpdateSample(previewText_, previewEdit_);
}

void TKxFontComboBox::ShowPreviewPanel() {
  if (!previewPanel_ || GetItems()->GetCount() == 0) return;
  if (!previewPanel_->GetParent()) previewPanel_->SetParent(GetParent());
  POINT origin = ClientToScreen(POINT{0, 0});
  int width = GetDropDownWidth() != 0 ? GetDropDownWidth() : GetWidth();
  previewPanel_->ShowAt(origin.x + width - 1, origin.y);
}

void TKxFontComboBox::HidePreviewPanel() {
  if (previewPanel_) previewPanel_->HidePanel();
}

void TKxFontComboBox::DropDown() {
  UpdatePreviewText();
  inherited::DropDown();
  if (showStyle_ == ssFontPreview) ShowPreviewPanel();
}

void TKxFontComboBox::CloseUp() {
  inherited::CloseUp();
  if (showStyle_ == ssFontPreview) HidePreviewPanel();
  if (!maintainMRUFonts_) return;
  int selected = GetItemIndex();
  if (selected <= 0) return;
  KxAddFontToMRU(GetItems(), selected, lastMRU_);
  SetItemIndex(0);
}

void TKxFontComboBox::CMHidePreviewPanel(TMessage& m) {
  DefaultHandler(m);
  HidePreviewPanel();
}

void TKxFontComboBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_HIDEPREVIEWPANEL:
      CMHidePreviewPanel(m);
      return;
    case CM_CANCELMODE:
      if (showStyle_ == ssFontPreview && reinterpret_cast<TControl*>(m.LParam) != this) HidePreviewPanel();
      break;
  }
  inherited::Dispatch(m);
}

void TKxFontComboBox::CNDrawItem(TMessage& m) {
  if (auto* d = TWMDrawItem(m).DrawItemStruct()) d->rcItem.left += kGlyphIndent;
  inherited::CNDrawItem(m);
}

void TKxFontComboBox::DrawItem(int index, TRect rect, TOwnerDrawState state) {
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  TStrings* items = GetItems();
  if (index < 0 || index >= items->GetCount()) return;
  std::string name = items->Get(index);
  bool edit = state.Contains(odComboBoxEdit);
  TKxFontItemDraw d{GetCanvas(), rect, name,
                    KxFontItemPitch(items->GetObject(index)), showStyle_, GetEnabled(),
                    edit, GetItemHeight(), fontDevice_, GetColor(),
                    maintainMRUFonts_ && index == lastMRU_};
  KxDrawFontItem(glyphs_, d);
  if (showStyle_ == ssFontPreview && state.Contains(odFocused) && !edit) {
    previewPanel_->GetFont()->SetName(name);
    UpdatePreviewText();
  }
}

PUBLISHED(TKxFontComboBox) {
  using T = TKxFontComboBox;
  TKxComboPublishing o;
  o.Style = csOwnerDrawFixed;
  o.DropDownCount = 14;
  o.Sorted = true;
  o.Items = false;
  PublishKxComboBoxProps(p, o);
  p.Prop("FontDevice", &T::GetFontDevice, &T::SetFontDevice).Default(fdScreen);
  p.Prop("FontSize", &T::GetFontSize, &T::SetFontSize).Default(8);
  p.Prop("FontStyle", &T::GetFontStyle, &T::SetFontStyle).Default(TFontStyles{});
  p.Prop("FontType", &T::GetFontType, &T::SetFontType).Default(ftAll);
  p.Prop("MaintainMRUFonts", &T::GetMaintainMRUFonts, &T::SetMaintainMRUFonts).Default(true);
  p.Prop("PreviewEdit", &T::GetPreviewEdit, &T::SetPreviewEdit);
  p.Prop("PreviewFontSize", &T::GetPreviewFontSize, &T::SetPreviewFontSize).Default(36);
  p.Prop("PreviewHeight", &T::GetPreviewHeight, &T::SetPreviewHeight).Default(65);
  p.Prop("PreviewText", &T::GetPreviewText, &T::SetPreviewText);
  p.Prop("PreviewWidth", &T::GetPreviewWidth, &T::SetPreviewWidth).Default(260);
  p.Prop("ShowSymbolFonts", &T::GetShowSymbolFonts, &T::SetShowSymbolFonts).Default(true);
  p.Prop("ShowStyle", &T::GetShowStyle, &T::SetShowStyle).Default(ssFontName);
  // Last: the list it picks from follows the settings above.
  p.Prop("FontName", &T::GetFontName, &T::SetFontName);
}
