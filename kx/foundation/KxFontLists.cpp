// What the font lists share (the font combo box and the font list box):
// the family filter and enumeration, the type glyphs, the drawing of one
// item, the preview's sample text, the most recently used block and
// TKxFontListCore.
#include "kx/foundation/KxFontLists.h"

#include <algorithm>
#include <exception>

#include "classlib/Printers.h"
#include "classlib/Scopes.h"
#include "classlib/graphics/Resources.h"
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
    TScreenDC screen;
    EnumerateFamilies(screen.Get(), target);
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
  // The block goes on top of whatever the load listed before it failed, so
  // the owner's block count still names the block's items and the block is
  // kept for the next window; then the failure is raised.
  std::exception_ptr failure;
  {
    TUpdateScope update(items);
    try {
      items->Clear();
      load();
    } catch (...) {
      failure = std::current_exception();
    }
    for (size_t i = 0; i < block.size(); ++i) items->InsertObject(static_cast<int>(i), block[i].first, block[i].second);
  }
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
// TKxFontListCore

namespace {
constexpr int kFontGlyphIndent = 24;
}  // namespace

TKxFontListCore::TKxFontListCore(TCustomListControl* control, bool maintainMRUFonts)
    : control_(control), maintainMRUFonts_(maintainMRUFonts) {}

TKxFontListCore::~TKxFontListCore() = default;

void TKxFontListCore::InitFontList(TComponent* owner) {
  selectedFont_.reset(New<TFont>());
  selectedFont_->SetSize(fontSize_);
  LoadBitmaps();
  previewPanel_ = TKxPreviewFontPanel::CreateFor(control_, owner);
}

void TKxFontListCore::LoadBitmaps() { glyphs_.Load(); }

void TKxFontListCore::LoadFonts() { KxLoadFonts(FontItems(), fontDevice_, fontType_, showSymbolFonts_); }

void TKxFontListCore::FontWindowMade() {
  TStrings* items = FontItems();
  lastMRU_ = savedMRU_.Refill(items, [this] { LoadFonts(); });
  if (!savedName_.empty()) control_->SetItemIndex(items->IndexOf(savedName_));
  savedName_.clear();
}

void TKxFontListCore::FontWindowGoing() {
  savedName_ = GetFontName();
  savedMRU_.Keep(FontItems(), lastMRU_, control_->IsDestroying());
}

void TKxFontListCore::SetFontDevice(TKxFontDevice value) {
  if (fontDevice_ == value) return;
  fontDevice_ = value;
  control_->RecreateWnd();
}

void TKxFontListCore::SetFontType(TKxFontType value) {
  if (fontType_ == value) return;
  fontType_ = value;
  control_->RecreateWnd();
}

void TKxFontListCore::SetShowSymbolFonts(bool value) {
  if (showSymbolFonts_ == value) return;
  showSymbolFonts_ = value;
  control_->RecreateWnd();
}

void TKxFontListCore::SetShowStyle(TKxShowStyle value) {
  if (showStyle_ == value) return;
  showStyle_ = value;
  control_->Invalidate();
}

void TKxFontListCore::SetMaintainMRUFonts(bool value) {
  if (maintainMRUFonts_ == value) return;
  maintainMRUFonts_ = value;
  control_->Invalidate();
}

TFont* TKxFontListCore::GetSelectedFont() {
  return KxSelectedFont(selectedFont_.get(), FontItems(), control_->GetItemIndex(), fontSize_, fontStyle_);
}

void TKxFontListCore::SetSelectedFont(TFont* value) {
  if (value) SetFontName(value->GetName());
}

std::string TKxFontListCore::GetFontName() {
  int index = control_->HandleAllocated() ? control_->GetItemIndex() : -1;
  return index < 0 ? std::string() : FontItems()->Get(index);
}

void TKxFontListCore::SetFontName(const std::string& value) { control_->SetItemIndex(FontItems()->IndexOf(value)); }

void TKxFontListCore::SetPreviewEdit(TCustomEdit* value) {
  if (previewEdit_ == value) return;
  previewEdit_ = value;
  if (value) value->FreeNotification(control_);
}

void TKxFontListCore::FontNotification(TComponent* component, TOperation operation) {
  if (operation != opRemove) return;
  if (component == previewEdit_) previewEdit_ = nullptr;
  if (component == previewPanel_) previewPanel_ = nullptr;
}

int TKxFontListCore::GetPreviewFontSize() { return previewPanel_ ? previewPanel_->GetFont()->GetSize() : 36; }
void TKxFontListCore::SetPreviewFontSize(int value) { previewPanel_->GetFont()->SetSize(value); }
int TKxFontListCore::GetPreviewHeight() { return previewPanel_ ? previewPanel_->GetHeight() : 65; }
void TKxFontListCore::SetPreviewHeight(int value) { previewPanel_->SetHeight(value); }
int TKxFontListCore::GetPreviewWidth() { return previewPanel_ ? previewPanel_->GetWidth() : 260; }
void TKxFontListCore::SetPreviewWidth(int value) { previewPanel_->SetWidth(value); }

void TKxFontListCore::UpdatePreviewText() {
  if (previewPanel_) previewPanel_->UpdateSample(previewText_, previewEdit_);
}

void TKxFontListCore::ShowPreviewPanel() {
  if (!previewPanel_ || FontItems()->GetCount() == 0) return;
  if (!previewPanel_->GetParent()) previewPanel_->SetParent(control_->GetParent());
  POINT at = PreviewPlace();
  previewPanel_->ShowAt(at.x, at.y);
}

void TKxFontListCore::HidePreviewPanel() {
  if (previewPanel_) previewPanel_->HidePanel();
}

void TKxFontListCore::FontCancelMode(const TMessage& m) {
  if (m.Msg == CM_CANCELMODE && showStyle_ == ssFontPreview && reinterpret_cast<TControl*>(m.LParam) != control_)
    HidePreviewPanel();
}

void TKxFontListCore::AddFontToMRUList() {
  if (!maintainMRUFonts_) return;
  int selected = control_->GetItemIndex();
  if (selected <= 0) return;
  KxAddFontToMRU(FontItems(), selected, lastMRU_);
  control_->SetItemIndex(0);
}

void TKxFontListCore::IndentFontItem(TMessage& m) {
  if (auto* d = TWMDrawItem(m).DrawItemStruct()) d->rcItem.left += kFontGlyphIndent;
}

void TKxFontListCore::DrawFontItem(TCanvas* canvas, int itemHeight, int index, const TRect& rect,
                                   TOwnerDrawState state) {
  TStrings* items = FontItems();
  if (index < 0 || index >= items->GetCount()) return;
  std::string name = items->Get(index);
  bool edit = state.Contains(odComboBoxEdit);
  TKxFontItemDraw d{canvas, rect, name,
                    KxFontItemPitch(items->GetObject(index)), showStyle_, control_->GetEnabled(),
                    edit, itemHeight, fontDevice_, control_->GetColor(),
                    maintainMRUFonts_ && index == lastMRU_};
  KxDrawFontItem(glyphs_, d);
  // A combo box's edit part is drawn focused too: the preview stays with
  // the list's focused item.
  if (showStyle_ == ssFontPreview && state.Contains(odFocused) && !edit && previewPanel_) {
    previewPanel_->GetFont()->SetName(name);
    UpdatePreviewText();
  }
}
