// What the font lists share (the font combo box and the font list box):
// the family filter and enumeration, the type glyphs, the drawing of one
// item, the preview's sample text and the most recently used block; and
// the font list box itself.
#include <algorithm>
#include <exception>

#include "classlib/Printers.h"
#include "classlib/graphics/Resources.h"
#include "classlib/StdCtrls.h"
#include "kx/foundation/KxLstBox.h"
#include "kx/foundation/KxPreviewFontPanel.h"
#include "kx/foundation/KxStatus.h"

DEFINE_ENUM_TYPE(TKxFontDevice, "fdScreen", "fdPrinter")
DEFINE_ENUM_TYPE(TKxFontType, "ftAll", "ftTrueType", "ftFixedPitch", "ftPrinter")
DEFINE_ENUM_TYPE(TKxShowStyle, "ssFontName", "ssFontSample", "ssFontNameAndSample", "ssFontPreview")

namespace {

constexpr const char* kSample = "AaBbYyZz";
constexpr int kGlyphSize = 12;

struct TEnumTarget {
  TStrings* Items;
  TKxFontType Type;
  bool ShowSymbolFonts;
  // What adding a family raised (the list's own error, a handler of its
  // changes): it ends the enumeration and is raised once the system is done.
  std::exception_ptr Failure;
};

int CALLBACK AddFamily(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD, LPARAM data) {
  auto* target = reinterpret_cast<TEnumTarget*>(data);
  if (KxFontPassesFilter(font->lfCharSet, metrics->tmPitchAndFamily, target->Type, target->ShowSymbolFonts)) {
    std::string name(font->lfFaceName, strnlen(font->lfFaceName, LF_FACESIZE));
    // A callback of the system: nothing may leave it.
    try {
      target->Items->AddObject(name, reinterpret_cast<TObject*>(static_cast<uintptr_t>(metrics->tmPitchAndFamily)));
    } catch (...) {
      target->Failure = std::current_exception();
      return 0;
    }
  }
  return 1;
}

void EnumerateFamilies(HDC dc, TEnumTarget& target) {
  EnumFontFamiliesA(dc, nullptr, AddFamily, reinterpret_cast<LPARAM>(&target));
}

}  // namespace

bool KxFontPassesFilter(BYTE charSet, BYTE pitchAndFamily, TKxFontType type, bool showSymbolFonts) {
  if (charSet == SYMBOL_CHARSET && !showSymbolFonts) return false;
  switch (type) {
    case ftAll: return true;
    case ftTrueType: return (pitchAndFamily & TMPF_TRUETYPE) != 0;
    case ftFixedPitch: return (pitchAndFamily & TMPF_FIXED_PITCH) == 0;
    case ftPrinter: return false;
  }
  return false;
}

void KxLoadFonts(TStrings* items, TKxFontDevice device, TKxFontType type, bool showSymbolFonts) {
  TEnumTarget target{items, type, showSymbolFonts, nullptr};
  if (device == fdPrinter) {
    HDC dc = nullptr;
    try {
      dc = Printer()->GetHandle();
    } catch (const EPrinter&) {
      return;  // no printer: no printer fonts
    }
    EnumerateFamilies(dc, target);
  } else {
    HDC dc = GetDC(nullptr);
    EnumerateFamilies(dc, target);
    ReleaseDC(nullptr, dc);
  }
  if (target.Failure) std::rethrow_exception(target.Failure);
}

void TKxFontMRUBlock::Keep(TStrings* items, int last, bool destroying) {
  kept_.clear();
  if (destroying) return;
  last = std::min(last, items->GetCount() - 1);
  for (int i = 0; i <= last; ++i) kept_.emplace_back(items->Get(i), items->GetObject(i));
}

int TKxFontMRUBlock::Refill(TStrings* items, const std::function<void()>& load) {
  std::vector<std::pair<std::string, TObject*>> block;
  block.swap(kept_);
  items->BeginUpdate();
  // The block goes on top of whatever the load listed before it failed, so
  // the owner's block count still names the block's items and the block is
  // kept for the next window; then the failure is raised.
  std::exception_ptr failure;
  try {
    items->Clear();
    load();
  } catch (...) {
    failure = std::current_exception();
  }
  try {
    for (size_t i = 0; i < block.size(); ++i) items->InsertObject(static_cast<int>(i), block[i].first, block[i].second);
  } catch (...) {
    items->EndUpdate();
    throw;
  }
  items->EndUpdate();
  if (failure) std::rethrow_exception(failure);
  return static_cast<int>(block.size()) - 1;
}

TKxFontGlyph KxFontGlyphFor(BYTE pitchAndFamily, TKxFontDevice device) {
  bool trueType = (pitchAndFamily & TMPF_TRUETYPE) != 0;
  bool fixed = (pitchAndFamily & TMPF_FIXED_PITCH) == 0;
  if (trueType && fixed) return fgTrueTypeFixed;
  if (trueType) return fgTrueType;
  if (fixed) return fgFixedPitch;
  return device == fdPrinter ? fgPrinter : fgDevice;
}

TKxFontGlyphs::~TKxFontGlyphs() {
  for (TBitmap*& b : glyphs_) FreeAndNil(b);
}

void TKxFontGlyphs::Load() {
  static const char* const kNames[5] = {"KXCMBOBX_TRUETYPE", "KXCMBOBX_FIXEDPITCH", "KXCMBOBX_TRUETYPEFIXED",
                                        "KXCMBOBX_PRINTER", "KXCMBOBX_DEVICE"};
  for (int i = 0; i < 5; ++i) {
    if (!glyphs_[i]) glyphs_[i] = New<TBitmap>();
    glyphs_[i]->LoadFromResourceName(MainInstance(), kNames[i]);
  }
}

void TKxFontGlyphs::Draw(TCanvas* canvas, int left, int top, BYTE pitchAndFamily, TKxFontDevice device,
                         TColor back) const {
  TBitmap* glyph = glyphs_[KxFontGlyphFor(pitchAndFamily, device)];
  if (!glyph || glyph->GetEmpty()) return;
  Owned<TBitmap> square(New<TBitmap>());
  square->SetSize(kGlyphSize, kGlyphSize);
  TCanvas* c = square->GetCanvas();
  c->GetBrush()->SetColor(back);
  TRect r{0, 0, kGlyphSize, kGlyphSize};
  c->BrushCopy(r, glyph, r, clOlive);
  canvas->Draw(left, top, square.get());
}

void KxDrawFontItem(const TKxFontGlyphs& glyphs, const TKxFontItemDraw& d) {
  TCanvas* canvas = d.Canvas;
  const TRect& r = d.Rect;
  canvas->FillRect(r);
  glyphs.Draw(canvas, r.left - 20, r.top + (d.ItemHeight - kGlyphSize) / 2, d.Pitch, d.Device, d.Back);
  if (!d.Enabled) canvas->GetFont()->SetColor(clBtnShadow);
  int y = r.top + (d.ItemHeight - canvas->TextHeight("Yy")) / 2;
  TKxShowStyle style = d.Style;
  if (d.ComboEdit && style == ssFontNameAndSample) style = ssFontName;
  switch (style) {
    case ssFontName:
    case ssFontPreview:
      canvas->TextRect(r, r.left + 2, y, d.Name);
      break;
    case ssFontSample:
      canvas->GetFont()->SetName(d.Name);
      canvas->TextRect(r, r.left + 2, y, d.Name);
      break;
    case ssFontNameAndSample: {
      int mid = r.left + (r.right - r.left) / 2;
      canvas->TextRect(TRect{r.left, r.top, mid - 4, r.bottom}, r.left + 2, y, d.Name);
      canvas->GetPen()->SetColor(d.Enabled ? clWindowText : clBtnShadow);
      canvas->MoveTo(mid - 2, r.top);
      canvas->LineTo(mid - 2, r.bottom);
      canvas->GetFont()->SetName(d.Name);
      canvas->TextRect(TRect{mid, r.top, r.right, r.bottom}, mid + 2, y, d.Name);
      break;
    }
  }
  if (d.MRULine && !d.ComboEdit) {
    canvas->GetPen()->SetColor(clBtnShadow);
    canvas->MoveTo(0, r.bottom - 1);
    canvas->LineTo(r.right, r.bottom - 1);
  }
}

std::string KxPreviewText(const std::string& previewText, TCustomEdit* edit, TFont* font, int width,
                          TAlignment& alignment) {
  std::string text = previewText.empty() ? kSample : previewText;
  alignment = taCenter;
  if (edit) {
    alignment = taLeftJustify;
    return edit->GetSelLength() >= 1 ? edit->GetSelText() : edit->GetText().substr(0, 10);
  }
  if (KxTextExtent(font, text).cx >= width) {
    text = "AaBbYyZ";
    if (KxTextExtent(font, text).cx >= width) text = "AaBbYy";
  }
  return text;
}

TFont* KxSelectedFont(TFont* font, TStrings* items, int index, int size, TFontStyles style) {
  if (index < 0) return nullptr;
  font->SetName(items->Get(index));
  font->SetSize(size);
  font->SetStyle(style);
  return font;
}

void KxAddFontToMRU(TStrings* items, int selected, int& lastMRU) {
  if (selected <= 0 || selected >= items->GetCount()) return;
  std::string name = items->Get(selected);
  int last = std::min(lastMRU, items->GetCount() - 1);
  for (int i = 0; i <= last; ++i) {
    if (items->Get(i) != name) continue;
    items->Move(i, 0);
    return;
  }
  items->InsertObject(0, name, items->GetObject(selected));
  ++lastMRU;
}

// ---------------------------------------------------------------------------
// TKxFontListBox

namespace {
constexpr int kFontGlyphIndent = 24;
}  // namespace

TKxFontListBox::TKxFontListBox(TComponent* owner) : TKxCustomListBox(owner) {
  SetStyle(lbOwnerDrawFixed);
  SetSorted(true);
  selectedFont_ = New<TFont>();
  selectedFont_->SetSize(fontSize_);
  LoadBitmaps();
  previewPanel_ = TKxPreviewFontPanel::CreateFor(this, owner);
}

void TKxFontListBox::Destroy() {
  inherited::Destroy();
  FreeAndNil(selectedFont_);
}

void TKxFontListBox::LoadBitmaps() { glyphs_.Load(); }

void TKxFontListBox::LoadFonts() { KxLoadFonts(GetItems(), fontDevice_, fontType_, showSymbolFonts_); }

void TKxFontListBox::CreateWnd() {
  inherited::CreateWnd();
  TStrings* items = GetItems();
  mruCount_ = savedMRU_.Refill(items, [this] { LoadFonts(); });
  if (!savedName_.empty()) SetItemIndex(items->IndexOf(savedName_));
  savedName_.clear();
}

void TKxFontListBox::DestroyWnd() {
  savedName_ = GetFontName();
  savedMRU_.Keep(GetItems(), mruCount_, IsDestroying());
  inherited::DestroyWnd();
}

void TKxFontListBox::SetFontDevice(TKxFontDevice value) {
  if (fontDevice_ == value) return;
  fontDevice_ = value;
  RecreateWnd();
}

void TKxFontListBox::SetFontType(TKxFontType value) {
  if (fontType_ == value) return;
  fontType_ = value;
  RecreateWnd();
}

void TKxFontListBox::SetShowSymbolFonts(bool value) {
  if (showSymbolFonts_ == value) return;
  showSymbolFonts_ = value;
  RecreateWnd();
}

void TKxFontListBox::SetShowStyle(TKxShowStyle value) {
  if (showStyle_ == value) return;
  showStyle_ = value;
  Invalidate();
}

void TKxFontListBox::SetMaintainMRUFonts(bool value) {
  if (maintainMRUFonts_ == value) return;
  maintainMRUFonts_ = value;
  Invalidate();
}

void TKxFontListBox::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  RecreateWnd();
}

TFont* TKxFontListBox::GetSelectedFont() {
  return KxSelectedFont(selectedFont_, GetItems(), GetItemIndex(), fontSize_, fontStyle_);
}

void TKxFontListBox::SetSelectedFont(TFont* value) {
  if (value) SetFontName(value->GetName());
}

std::string TKxFontListBox::GetFontName() {
  int index = HandleAllocated() ? GetItemIndex() : -1;
  return index < 0 ? std::string() : GetItems()->Get(index);
}

void TKxFontListBox::SetFontName(const std::string& value) { SetItemIndex(GetItems()->IndexOf(value)); }

void TKxFontListBox::SetPreviewEdit(TCustomEdit* value) {
  if (previewEdit_ == value) return;
  previewEdit_ = value;
  if (value) value->FreeNotification(this);
}

void TKxFontListBox::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == previewEdit_) previewEdit_ = nullptr;
  if (component == previewPanel_) previewPanel_ = nullptr;
}

int TKxFontListBox::GetPreviewFontSize() { return previewPanel_ ? previewPanel_->GetFont()->GetSize() : 36; }
void TKxFontListBox::SetPreviewFontSize(int value) { previewPanel_->GetFont()->SetSize(value); }
int TKxFontListBox::GetPreviewHeight() { return previewPanel_ ? previewPanel_->GetHeight() : 65; }
void TKxFontListBox::SetPreviewHeight(int value) { previewPanel_->SetHeight(value); }
int TKxFontListBox::GetPreviewWidth() { return previewPanel_ ? previewPanel_->GetWidth() : 260; }
void TKxFontListBox::SetPreviewWidth(int value) { previewPanel_->SetWidth(value); }

void TKxFontListBox::UpdatePreviewText() {
  if (previewPanel_) previewPanel_->UpdateSample(previewText_, previewEdit_);
}

void TKxFontListBox::ShowPreviewPanel() {
  if (!previewPanel_ || GetItems()->GetCount() == 0) return;
  if (!previewPanel_->GetParent()) previewPanel_->SetParent(GetParent());
  POINT origin = ClientToScreen(POINT{0, 0});
  RECT window{};
  GetWindowRect(GetHandle(), &window);
  previewPanel_->ShowAt(window.right - 1, origin.y);
}

void TKxFontListBox::HidePreviewPanel() {
  if (previewPanel_) previewPanel_->HidePanel();
}

void TKxFontListBox::AddFontToMRUList() {
  if (!maintainMRUFonts_) return;
  int selected = GetItemIndex();
  if (selected <= 0) return;
  KxAddFontToMRU(GetItems(), selected, mruCount_);
  SetItemIndex(0);
}

void TKxFontListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  UpdatePreviewText();
  inherited::MouseDown(button, shift, x, y);
  if (showStyle_ == ssFontPreview) ShowPreviewPanel();
}

void TKxFontListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseUp(button, shift, x, y);
  if (showStyle_ == ssFontPreview) HidePreviewPanel();
}

void TKxFontListBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_HIDEPREVIEWPANEL:
      DefaultHandler(m);
      HidePreviewPanel();
      return;
    case CM_CANCELMODE:
      if (showStyle_ == ssFontPreview && reinterpret_cast<TControl*>(m.LParam) != this) HidePreviewPanel();
      break;
  }
  inherited::Dispatch(m);
}

void TKxFontListBox::CNDrawItem(TMessage& m) {
  if (auto* d = TWMDrawItem(m).DrawItemStruct()) d->rcItem.left += kFontGlyphIndent;
  inherited::CNDrawItem(m);
}

void TKxFontListBox::DefaultDrawItem(int index, TRect rect, TOwnerDrawState state) {
  TStrings* items = GetItems();
  if (index < 0 || index >= items->GetCount()) return;
  std::string name = items->Get(index);
  bool edit = state.Contains(odComboBoxEdit);
  TKxFontItemDraw d{GetCanvas(), rect, name,
                    KxFontItemPitch(items->GetObject(index)), showStyle_, GetEnabled(),
                    edit, GetItemHeight(), fontDevice_, GetColor(),
                    maintainMRUFonts_ && index == mruCount_};
  KxDrawFontItem(glyphs_, d);
  if (showStyle_ == ssFontPreview && state.Contains(odFocused) && previewPanel_) {
    previewPanel_->GetFont()->SetName(name);
    UpdatePreviewText();
  }
}

PUBLISHED(TKxFontListBox) {
  using T = TKxFontListBox;
  PublishKxListBoxProps(p);
  p.Prop("FontDevice", &T::GetFontDevice, &T::SetFontDevice).Default(fdScreen);
  p.Prop("FontSize", &T::GetFontSize, &T::SetFontSize).Default(8);
  p.Prop("FontStyle", &T::GetFontStyle, &T::SetFontStyle).Default(TFontStyles{});
  p.Prop("FontType", &T::GetFontType, &T::SetFontType).Default(ftAll);
  p.Prop("MaintainMRUFonts", &T::GetMaintainMRUFonts, &T::SetMaintainMRUFonts).Default(false);
  p.Prop("PreviewEdit", &T::GetPreviewEdit, &T::SetPreviewEdit);
  p.Prop("PreviewFontSize", &T::GetPreviewFontSize, &T::SetPreviewFontSize).Default(36);
  p.Prop("PreviewHeight", &T::GetPreviewHeight, &T::SetPreviewHeight).Default(65);
  p.Prop("PreviewText", &T::GetPreviewText, &T::SetPreviewText);
  p.Prop("PreviewWidth", &T::GetPreviewWidth, &T::SetPreviewWidth).Default(260);
  p.Prop("ShowSymbolFonts", &T::GetShowSymbolFonts, &T::SetShowSymbolFonts).Default(true);
  p.Prop("ShowStyle", &T::GetShowStyle, &T::SetShowStyle).Default(ssFontName);
  // The list is the system's fonts: made, not stored.
  p.Prop("Items", &T::GetItems, &T::SetItems).Stored(false);
  p.Prop("Sorted", &T::GetSorted, &T::SetSorted).Default(true);
  p.Prop("Style", &T::GetStyle, &T::SetStyle).Default(lbOwnerDrawFixed);
  p.Prop("FontName", &T::GetFontName, &T::SetFontName);
}
