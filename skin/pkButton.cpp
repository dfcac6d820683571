#include "skin/pkButton.h"

#include <algorithm>
#include <array>
#include <utility>

#include "classlib/ActnList.h"
#include "classlib/Classes.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/Seams.h"
#include "classlib/graphics/Resources.h"
#include "skin/pkBitmap.h"
#include "skin/pkGdi.h"
#include "skin/pkShared.h"
#include "skin/pktext.h"

DEFINE_ENUM_TYPE(TpkShadeStyle, "fbsNormal", "fbsRaised", "fbsHighlight", "fbsFlat")
DEFINE_ENUM_TYPE(TpkButtonOption, "boFocusable", "boOverrideActionGlyph", "boToggleOnUp", "boFocusRect",
                 "boAutoBold")

namespace {

// What a kind sets besides the class library's caption and modal result.
struct TKindInfo {
  const char* Glyph;
  bool Default;
  bool Cancel;
};

const std::array<TKindInfo, 11>& Kinds() {
  static const std::array<TKindInfo, 11> kinds = {{
      {nullptr, false, false},     // bkCustom
      {"JNOK", true, false},       // bkOK
      {"JNCANCEL", false, true},   // bkCancel
      {"JNHELP", false, false},    // bkHelp
      {"JNYES", true, false},      // bkYes
      {"JNNO", false, true},       // bkNo
      {"JNCLOSE", false, false},   // bkClose
      {"JNABORT", false, false},   // bkAbort
      {"JNRETRY", false, false},   // bkRetry
      {"JNIGNORE", false, false},  // bkIgnore
      {"JNALL", false, false},     // bkAll
  }};
  return kinds;
}

const TKindInfo& KindInfo(TBitBtnKind kind) {
  size_t i = static_cast<size_t>(kind);
  return Kinds()[i < Kinds().size() ? i : 0];
}

// The kind glyphs, loaded on first use, freed at the unit's finalisation.
std::array<TBitmap*, 11> gKindGlyphs{};

// A companion object's setter: a changed value repaints its button.
template <class T>
void StoreAndRepaint(TpkCustomBitBtn* button, T& field, T value) {
  if (field == value) return;
  field = value;
  if (button) button->Invalidate();
}

TpkCustomBitBtn* ButtonOf(LPARAM lParam) {
  return dynamic_cast<TpkCustomBitBtn*>(reinterpret_cast<TObject*>(lParam));
}

}  // namespace

TBitmap* BitBtnKindGlyph(TBitBtnKind kind) {
  size_t i = static_cast<size_t>(kind);
  if (i == 0 || i >= gKindGlyphs.size()) return nullptr;
  if (!gKindGlyphs[i]) {
    Owned<TBitmap> glyph = MakeOwned<TBitmap>();
    glyph->LoadFromResourceName(MainInstance(), KindInfo(kind).Glyph);
    gKindGlyphs[i] = glyph.release();
  }
  return gKindGlyphs[i];
}

void FinalizePkButton() {
  for (TBitmap*& glyph : gKindGlyphs) FreeAndNil(glyph);
}

// --- TpkOffsets ------------------------------------------------------------------------

PUBLISHED(TpkOffsets) {
  p.Prop("GlyphX", &TpkOffsets::GetGlyphX, &TpkOffsets::SetGlyphX).Default(0);
  p.Prop("GlyphY", &TpkOffsets::GetGlyphY, &TpkOffsets::SetGlyphY).Default(0);
  p.Prop("TextX", &TpkOffsets::GetTextX, &TpkOffsets::SetTextX).Default(0);
  p.Prop("TextY", &TpkOffsets::GetTextY, &TpkOffsets::SetTextY).Default(0);
  p.Prop("TextDownX", &TpkOffsets::GetTextDownX, &TpkOffsets::SetTextDownX).Default(1);
  p.Prop("TextDownY", &TpkOffsets::GetTextDownY, &TpkOffsets::SetTextDownY).Default(1);
}

void TpkOffsets::Set(int& field, int v) { StoreAndRepaint(button_, field, v); }

void TpkOffsets::AssignTo(TPersistent* dest) {
  auto* d = dynamic_cast<TpkOffsets*>(dest);
  if (!d) {
    inherited::AssignTo(dest);
    return;
  }
  d->SetGlyphX(glyphX_);
  d->SetGlyphY(glyphY_);
  d->SetTextX(textX_);
  d->SetTextY(textY_);
  d->textDownX_ = textDownX_;
  d->textDownY_ = textDownY_;
}

// --- TpkShadeColors ----------------------------------------------------------------------

PUBLISHED(TpkShadeColors) {
  using C = TpkShadeColors;
  p.Prop("BtnHighlight", &C::GetBtnHighlight, &C::SetBtnHighlight).Default(clBtnHighlight).Type(TColorTypeInfo());
  p.Prop("Btn3DLight", &C::GetBtn3DLight, &C::SetBtn3DLight).Default(cl3DLight).Type(TColorTypeInfo());
  p.Prop("BtnShadow", &C::GetBtnShadow, &C::SetBtnShadow).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("BtnBlack", &C::GetBtnBlack, &C::SetBtnBlack).Default(clBlack).Type(TColorTypeInfo());
  p.Prop("BtnFocus", &C::GetBtnFocus, &C::SetBtnFocus).Default(clBlack).Type(TColorTypeInfo());
  p.Prop("Shadow", &C::GetShadow, &C::SetShadow).Default(clBlack).Type(TColorTypeInfo());
}

void TpkShadeColors::Set(TColor& field, TColor v) { StoreAndRepaint(button_, field, v); }

void TpkShadeColors::AssignTo(TPersistent* dest) {
  auto* d = dynamic_cast<TpkShadeColors*>(dest);
  if (!d) {
    inherited::AssignTo(dest);
    return;
  }
  d->SetBtnHighlight(btnHighlight_);
  d->SetBtn3DLight(btn3DLight_);
  d->SetBtnShadow(btnShadow_);
  d->SetBtnBlack(btnBlack_);
  d->SetBtnFocus(btnFocus_);
  d->SetShadow(shadow_);
}

// --- TpkCustomBitBtn: life ---------------------------------------------------------------

IMPLEMENT_CLASS(TpkCustomBitBtn)

TpkCustomBitBtn::TpkCustomBitBtn(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(TControlStyle{csSetCaption, csOpaque, csReflector});
  SetBounds(GetLeft(), GetTop(), 75, 25);
  SetColor(clBtnFace);
  SetTabStop(true);
  canvas_ = New<TCanvas>();
  glyph_ = New<TBitmap>();
  glyph_->SetOnChange(TNotifyEvent(this, &TpkCustomBitBtn::GlyphChanged));
  shadeColors_ = New<TpkShadeColors>(this);
  textOptions_ = New<TpkCaptionText>(canvas_, GetFont(), TNotifyEvent(this, &TpkCustomBitBtn::CaptionRendererChanged),
                                     TNotifyEvent(this, &TpkCustomBitBtn::CaptionRendererChanged),
                                     TpkEnabledQuery(this, &TpkCustomBitBtn::TextEnabled));
  textOptions_->SetAlignment(taCenter);
  textOptions_->SetVAlignment(vaVCenter);
}

void TpkCustomBitBtn::AfterConstruction() {
  inherited::AfterConstruction();
  // A virtual factory: the image button makes its own kind of offsets.
  offsets_ = CreateOffsets();
}

void TpkCustomBitBtn::Destroy() {
  inherited::Destroy();
  FreeAndNil(textOptions_);
  FreeAndNil(offsets_);
  FreeAndNil(shadeColors_);
  FreeAndNil(glyph_);
  FreeAndNil(canvas_);
  appliedCopy_.reset();
}

TpkOffsets* TpkCustomBitBtn::CreateOffsets() { return New<TpkOffsets>(this); }

void TpkCustomBitBtn::CaptionRendererChanged(TObject*) { Invalidate(); }

// --- properties ------------------------------------------------------------------------------

void TpkCustomBitBtn::SetAllowAllUp(bool value) {
  if (allowAllUp_ == value) return;
  allowAllUp_ = value;
  BroadcastPressed();
}

void TpkCustomBitBtn::SetGroupIndex(int value) {
  if (groupIndex_ == value) return;
  groupIndex_ = value;
  BroadcastPressed();
}

void TpkCustomBitBtn::SetDefault(bool value) {
  default_ = value;
  if (!HandleAllocated()) return;
  if (TCustomForm* form = GetParentForm(this))
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->GetActiveControl()));
}

void TpkCustomBitBtn::SetDownState(bool value, bool broadcast, bool repaint) {
  if (value != down_) {
    down_ = value;
    paintPressed_ = value;
    ApplyRegionIfShaped();
    if (value) NotifyLinksChanging();
    if (broadcast) BroadcastPressed();
    if (repaint) Invalidate();
  }
  if (groupIndex_ > 0 && options_.Contains(boAutoBold)) {
    TFontStyles style = GetFont()->GetStyle();
    if (down_)
      style.Include(fsBold);
    else
      style.Exclude(fsBold);
    GetFont()->SetStyle(style);
  }
}

void TpkCustomBitBtn::SetDown(bool value) {
  if (value && groupIndex_ == 0 && !IsLoading()) return;
  bool was = down_;
  SetDownState(value, true, true);
  if (down_ != was) SelChange();
}

void TpkCustomBitBtn::SetGlyph(TBitmap* value) {
  glyph_->Assign(value);
  Invalidate();
}

void TpkCustomBitBtn::GlyphChanged(TObject*) {
  if (!settingKind_) glyphDiffersFromKind_ = true;
  Invalidate();
}

TBitBtnKind TpkCustomBitBtn::GetKind() {
  if (kind_ != bkCustom) {
    const TKindInfo& k = KindInfo(kind_);
    if (k.Default != default_ || k.Cancel != cancel_ || BitBtnModalResult(kind_) != modalResult_ ||
        glyphDiffersFromKind_)
      kind_ = bkCustom;
  }
  return kind_;
}

void TpkCustomBitBtn::SetKind(TBitBtnKind value) {
  if (value == bkCustom) {
    kind_ = bkCustom;
    Invalidate();
    return;
  }
  DoSetKind(value);
}

void TpkCustomBitBtn::DoSetKind(TBitBtnKind kind) {
  const TKindInfo& k = KindInfo(kind);
  SetDefault(k.Default);
  SetCancel(k.Cancel);
  if (!IsLoading() || GetCaption().empty()) SetCaption(BitBtnCaption(kind));
  SetModalResult(BitBtnModalResult(kind));
  {
    pk_detail::TScopeExit setting([this, was = std::exchange(settingKind_, true)] { settingKind_ = was; });
    glyph_->Assign(BitBtnKindGlyph(kind));
  }
  SetNumGlyphs(2);
  glyphDiffersFromKind_ = false;
  kind_ = kind;
  Invalidate();
}

bool TpkCustomBitBtn::IsGlyphStored() { return GetKind() == bkCustom; }

// The kind as Kind reads it: a caption left from a forgotten kind is the
// button's own and must be written (Caption is written before Kind).
bool TpkCustomBitBtn::IsCaptionStored() { return GetCaption() != BitBtnCaption(GetKind()); }

void TpkCustomBitBtn::SetLayout(TButtonLayout value) {
  if (layout_ == value) return;
  layout_ = value;
  Invalidate();
}

void TpkCustomBitBtn::SetMargin(int value) {
  if (value < -1 || value == margin_) return;
  margin_ = value;
  Invalidate();
}

void TpkCustomBitBtn::SetNumGlyphs(int value) {
  value = std::clamp(value, 1, 4);
  if (numGlyphs_ == value) return;
  numGlyphs_ = value;
  Invalidate();
}

void TpkCustomBitBtn::SetOffsets(TpkOffsets* value) { offsets_->Assign(value); }

void TpkCustomBitBtn::SetOptions(TpkButtonOptions value) {
  TpkButtonOptions old = options_;
  options_ = value;
  if (old.Contains(boFocusable) && !value.Contains(boFocusable)) SetTabStop(false);
  if (old.Contains(boAutoBold) != value.Contains(boAutoBold)) SetDownState(down_, false, false);
  Invalidate();
}

void TpkCustomBitBtn::SetShadeStyle(TpkShadeStyle value) {
  if (shadeStyle_ == value) return;
  shadeStyle_ = value;
  RecreateWnd();
}

void TpkCustomBitBtn::SetStyle(TButtonStyle value) {
  if (style_ == value) return;
  style_ = value;
  Invalidate();
}

void TpkCustomBitBtn::SetSpacing(int value) {
  if (spacing_ == value) return;
  spacing_ = value;
  Invalidate();
}

void TpkCustomBitBtn::SetTextOptions(TpkCaptionText* value) { textOptions_->Assign(value); }

HPALETTE TpkCustomBitBtn::GetPalette() { return glyph_->GetPalette(); }

// --- layout and painting ----------------------------------------------------------------------

int TpkCustomBitBtn::GlyphWidth() {
  int w = glyph_->GetWidth();
  return numGlyphs_ == 0 ? w : w / numGlyphs_;
}

void TpkCustomBitBtn::CalcLayout(TCanvas*, const TRect& bounds, TRect& client, TSize textSize, TRect& glyphRect,
                                 TRect& textRect) {
  client = bounds;
  InflateRect(&client, -margin_, -margin_);
  int margin = margin_ == -1 ? 4 : margin_;
  int gw = 0, gh = 0;
  if (!glyph_->GetEmpty()) {
    gw = GlyphWidth();
    gh = glyph_->GetHeight();
  }
  int tw = textSize.cx, th = textSize.cy;
  bool hasCaption = !GetCaption().empty();
  int s = (hasCaption && !glyph_->GetEmpty()) ? spacing_ : 0;
  int width = GetWidth(), height = GetHeight();
  int cx;
  switch (textOptions_->GetAlignment()) {
    case taLeftJustify: cx = (tw + gw + s) / 2 + margin; break;
    case taRightJustify: cx = width - margin - (tw + gw + s) / 2; break;
    default: cx = width / 2; break;
  }
  int cy = height / 2;
  if (gw == 0 || gh == 0) s = (s - 6) / 2;
  int w = gw + tw + s;
  int h = gh + 1 + th + s;
  POINT g{}, t{};
  switch (layout_) {
    case blGlyphLeft:
      g = {cx - w / 2, cy - (gh + 1) / 2};
      t = {cx - w / 2 + s + gw, cy - th / 2};
      break;
    case blGlyphRight:
      g = {cx - w / 2 + s + tw, cy - (gh + 1) / 2};
      t = {cx - w / 2, cy - th / 2};
      break;
    case blGlyphTop:
      g = {cx - gw / 2, cy - h / 2};
      t = {cx - tw / 2, cy - h / 2 + s + gh};
      break;
    case blGlyphBottom:
      g = {cx - gw / 2, cy - h / 2 + s + th};
      t = {cx - tw / 2, cy - h / 2};
      break;
  }
  glyphRect = Bounds(g.x, g.y, gw, gh);
  textRect = Bounds(t.x, t.y, tw, th);
  OffsetRect(&textRect, offsets_->GetTextX(), offsets_->GetTextY());
  OffsetRect(&glyphRect, offsets_->GetGlyphX(), offsets_->GetGlyphY());
  if (paintPressed_) {
    OffsetRect(&textRect, offsets_->GetTextDownX(), offsets_->GetTextDownY());
    OffsetRect(&glyphRect, offsets_->GetTextDownX(), offsets_->GetTextDownY());
  }
}

TSize TpkCustomBitBtn::MeasureCaption(TCanvas* canvas) {
  textOptions_->SetOwnerCanvas(canvas);
  textOptions_->SetCaption(GetCaption());
  // Measured in the font the renderer draws with (the button's, made from its
  // LOGFONT), not in whatever font the paint canvas holds: a scratch bitmap's
  // canvas has the default font, and a bold or larger caption would be laid
  // out too small and drawn over the glyph.
  LOGFONTA lf;
  textOptions_->GetLogFont(lf);
  canvas->GetFont()->SetHandle(CreateFontIndirectA(&lf));
  TSize size{0, 0};
  textOptions_->GetTextExtent(size);
  textOptions_->AssignFont(GetFont());
  textOptions_->SetOwnerCanvas(canvas_);
  return size;
}

void TpkCustomBitBtn::DrawCaption(TCanvas* canvas, const TRect& textRect) {
  canvas->GetBrush()->SetStyle(bsClear);
  textOptions_->SetOwnerCanvas(canvas);
  textOptions_->SetCaption(GetCaption());
  textOptions_->SetTextRect(textRect);
  textOptions_->Draw();
  textOptions_->SetOwnerCanvas(canvas_);
}

void TpkCustomBitBtn::DrawGlyph(TCanvas* canvas, const TRect& glyphRect) {
  int gw = GlyphWidth(), gh = glyph_->GetHeight();
  if (gw <= 0 || gh <= 0) return;
  int cell = 0;
  if (!GetEnabled() && numGlyphs_ >= 2)
    cell = 1;
  else if (paintPressed_ && numGlyphs_ > 2)
    cell = 2;
  else if (mouseInControl_ && numGlyphs_ > 3)
    cell = 3;
  // The cell in 24 bits, and its transparent colour (the glyph's own).
  Owned<TBitmap> image = MakeOwned<TBitmap>();
  image->SetPixelFormat(pf24bit);
  image->SetSize(gw, gh);
  Owned<TBitmap> source = MakeOwned<TBitmap>();
  source->Assign(glyph_);
  TColor key = ColorToRGB(glyph_->GetTransparentColor());
  BitBlt(image->GetCanvas()->GetHandle(), 0, 0, gw, gh, CanvasDC(source->GetCanvas()), cell * gw, 0, SRCCOPY);
  image->Changed(image.get());
  if (!GetEnabled() && numGlyphs_ == 1) {
    // The shape embossed over clBtnFace, which then becomes transparent.
    image->SetTransparentColor(key);
    Owned<TBitmap> embossed = MakeOwned<TBitmap>();
    DrawDisabledGlyph(image.get(), embossed.get());
    image.reset(embossed.release());
    key = ColorToRGB(clBtnFace);
  }
  HDC dc = canvas->GetHandle();
  TransparentBlt(dc, glyphRect.left, glyphRect.top, gw, gh, CanvasDC(image->GetCanvas()), 0, 0, gw, gh,
                 static_cast<UINT>(key));
  canvas->Changed();
}

void TpkCustomBitBtn::PaintContents(TCanvas* canvas, const TRect& rect) {
  TRect bounds = rect;
  InflateRect(&bounds, -2, -2);
  TSize textSize = MeasureCaption(canvas);
  TRect client, glyphRect, textRect;
  CalcLayout(canvas, bounds, client, textSize, glyphRect, textRect);
  textRect.left = std::max<LONG>(textRect.left, 0);
  textRect.top = std::max<LONG>(textRect.top, 0);
  textRect.right = std::min<LONG>(textRect.right, GetClientWidth());
  textRect.bottom = std::min<LONG>(textRect.bottom, GetClientHeight());
  if (!glyph_->GetEmpty()) DrawGlyph(canvas, glyphRect);
  DrawCaption(canvas, textRect);
  if (options_.Contains(boFocusRect) && options_.Contains(boFocusable) && Focused()) {
    TRect u;
    UnionRect(&u, &glyphRect, &textRect);
    InflateRect(&u, 2, 2);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(clWhite);
    canvas->GetFont()->SetColor(clBlack);
    canvas->DrawFocusRect(u);
  }
}

void TpkCustomBitBtn::PaintFace(TpkBitmap*, bool, bool, TpkShadeStyle) {}

void TpkCustomBitBtn::PaintButton() {
  paintPressed_ = GetControlState().Contains(csPaintCopy) ? false : down_;
  struct TRestore {
    TpkCustomBitBtn* b;
    ~TRestore() { b->paintPressed_ = b->down_; }
  } restore{this};
  // A button without area has nothing to show (and no face to paint on).
  if (GetWidth() <= 0 || GetHeight() <= 0) return;
  Owned<TpkBitmap> bitmap = MakeOwned<TpkBitmap>();
  if (paintHalftone_) bitmap->SetHalftonePalette(true);
  bitmap->SetSize(GetWidth(), GetHeight());
  TpkShadeStyle style = (shadeStyle_ == fbsFlat && inClick_) ? fbsNormal : shadeStyle_;
  PaintFace(bitmap.get(), false, paintPressed_, style);
  if (!bitmap->GetEmpty()) PaintContents(bitmap->GetCanvas(), GetClientRect());
  canvas_->Draw(0, 0, bitmap.get());
  if (smoothFont_) {
    // The caption once more, straight onto the window's DC.
    TRect bounds = GetClientRect();
    InflateRect(&bounds, -2, -2);
    TRect client, glyphRect, textRect;
    CalcLayout(canvas_, bounds, client, MeasureCaption(canvas_), glyphRect, textRect);
    DrawCaption(canvas_, textRect);
  }
}

void TpkCustomBitBtn::PaintOnDC(const DRAWITEMSTRUCT& drawItem) {
  canvas_->SetHandle(drawItem.hDC);
  try {
    PaintButton();
  } catch (...) {
    canvas_->SetHandle(nullptr);
    throw;
  }
  canvas_->SetHandle(nullptr);
}

void TpkCustomBitBtn::RepaintNow() {
  if (!HandleAllocated()) return;
  HWND window = GetHandle();
  HDC dc = GetDC(window);
  canvas_->SetHandle(dc);
  try {
    PaintButton();
  } catch (...) {
    canvas_->SetHandle(nullptr);
    ReleaseDC(window, dc);
    throw;
  }
  canvas_->SetHandle(nullptr);
  ReleaseDC(window, dc);
}

void TpkCustomBitBtn::InvalidateInParent(bool erase) {
  TWinControl* parent = GetParent();
  if (!parent || !parent->HandleAllocated()) return;
  RECT r = GetBoundsRect();
  InvalidateRect(parent->GetHandle(), &r, erase);
}

// --- regions --------------------------------------------------------------------------------------

HRGN TpkCustomBitBtn::GetStateRegion(bool, bool pressed) { return RegionFromBlob(pressed ? downRegion_ : upRegion_); }

void TpkCustomBitBtn::FreeRegionBlob(TpkRegionBlob& blob) { blob.Clear(); }

void TpkCustomBitBtn::StoreRegionData(HRGN region, bool pressed) {
  TpkRegionBlob& blob = pressed ? downRegion_ : upRegion_;
  FreeRegionBlob(blob);
  blob = CaptureRegionBlob(region);
}

void TpkCustomBitBtn::ReadRegionData(TStream* stream) { upRegion_ = ReadRegionBlob(stream); }
void TpkCustomBitBtn::ReadDownRegionData(TStream* stream) { downRegion_ = ReadRegionBlob(stream); }
void TpkCustomBitBtn::WriteRegionData(TStream* stream) { WriteRegionBlob(stream, upRegion_); }
void TpkCustomBitBtn::WriteDownRegionData(TStream* stream) { WriteRegionBlob(stream, downRegion_); }

void TpkCustomBitBtn::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  bool stores = StoresRegionData();
  filer->DefineBinaryProperty(
      "RegionData", [this](TStream* s) { ReadRegionData(s); }, [this](TStream* s) { WriteRegionData(s); }, stores);
  filer->DefineBinaryProperty(
      "DownRegionData", [this](TStream* s) { ReadDownRegionData(s); },
      [this](TStream* s) { WriteDownRegionData(s); }, stores);
}

void TpkCustomBitBtn::ApplyRegionIfShaped() {
  if (StateShapesDiffer()) ApplyRegion();
}

void TpkCustomBitBtn::ClearRegions() {
  if (!IsDestroying() && HandleAllocated()) SetWindowRgn(GetHandle(), nullptr, TRUE);
  appliedRegion_ = nullptr;
  appliedCopy_.reset();
  regionApplied_ = false;
}

void TpkCustomBitBtn::ApplyRegion() {
  if (!HandleAllocated() || !UseRegion()) return;
  HWND window = GetHandle();
  bool pressed = down_;
  SetWindowRgn(window, nullptr, FALSE);
  appliedRegion_ = nullptr;
  TpkRegion fresh(GetStateRegion(true, pressed));
  bool differ = StateShapesDiffer();
  if (differ && regionApplied_) {
    // What changed between the shapes shows the ancestors through; a state
    // without a region (before or after) is the whole rectangle.
    TpkRegion whole(CreateRectRgn(0, 0, GetWidth(), GetHeight()));
    TpkRegion changed(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(changed.get(), appliedCopy_ ? appliedCopy_.get() : whole.get(), fresh ? fresh.get() : whole.get(),
               RGN_XOR);
    OffsetRgn(changed.get(), GetLeft(), GetTop());
    for (TWinControl* p = GetParent(); p; p = p->GetParent()) {
      if (p->HandleAllocated()) InvalidateRgn(p->GetHandle(), changed.get(), TRUE);
      if (dynamic_cast<TCustomForm*>(p)) break;
      OffsetRgn(changed.get(), p->GetLeft(), p->GetTop());
    }
  }
  appliedCopy_.reset();
  if (fresh) {
    appliedCopy_.reset(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(appliedCopy_.get(), fresh.get(), nullptr, RGN_COPY);
    if (SetWindowRgn(window, fresh.get(), FALSE)) appliedRegion_ = fresh.release();
  }
  regionApplied_ = true;
  if (differ && GetParent() && GetParent()->HandleAllocated()) InvalidateOverlapping(GetParent()->GetHandle(), window);
}

void TpkCustomBitBtn::InvalidateOutsideRegion(bool erase) {
  TWinControl* parent = GetParent();
  if (!parent || !parent->HandleAllocated()) return;
  TpkRegion shape(GetStateRegion(true, down_));
  if (!shape) return;
  TpkRegion outside(CreateRectRgn(0, 0, GetClientWidth(), GetClientHeight()));
  CombineRgn(outside.get(), outside.get(), shape.get(), RGN_DIFF);
  OffsetRgn(outside.get(), GetLeft(), GetTop());
  InvalidateRgn(parent->GetHandle(), outside.get(), erase);
}

bool TpkCustomBitBtn::IsShaped() { return StateShapesDiffer(); }

bool TpkCustomBitBtn::IsPointInButton(const POINT* clientPoint) {
  if (TCustomForm* form = GetParentForm(this)) {
    HWND active = GetActiveWindow();
    HWND formWindow = form->HandleAllocated() ? form->GetHandle() : nullptr;
    HWND parentWindow = form->GetParentWindow();
    TFormStyle fs = form->GetFormStyle();
    if (formWindow != active && (fs == fsNormal || fs == fsStayOnTop) && !InheritsFromName(form, "TActiveForm") &&
        (!parentWindow || ::GetParent(parentWindow) != active))
      return false;
  }
  POINT p;
  if (clientPoint) {
    p = *clientPoint;
  } else {
    POINT cursor{};
    Seams().GetCursorPos(cursor);
    p = ScreenToClient(cursor);
  }
  if (IsShaped()) {
    TpkRegion hit(GetStateRegion(true, !down_));
    if (!hit) hit.reset(CreateRectRgn(0, 0, 0, 0));
    if (appliedCopy_) CombineRgn(hit.get(), hit.get(), appliedCopy_.get(), RGN_OR);
    return PtInRegion(hit.get(), p.x, p.y) != 0;
  }
  TWinControl* parent = GetParent();
  if (!parent || !parent->HandleAllocated() || !HandleAllocated()) {
    RECT r = GetClientRect();
    return PtInRect(&r, p) != 0;
  }
  POINT inParent{p.x + GetLeft(), p.y + GetTop()};
  return ChildWindowFromPointEx(parent->GetHandle(), inParent, CWP_SKIPINVISIBLE) == GetHandle();
}

// --- links ------------------------------------------------------------------------------------------

void TpkCustomBitBtn::AddChangeLink(TpkChangeLink* link) {
  if (link && std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
}

void TpkCustomBitBtn::RemoveChangeLink(TpkChangeLink* link) {
  links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

void TpkCustomBitBtn::NotifyLinksChanged() {
  std::vector<TpkChangeLink*> links = links_;
  for (TpkChangeLink* l : links) {
    l->SetSender(this);
    l->Change();
  }
}

void TpkCustomBitBtn::NotifyLinksChanging() {
  std::vector<TpkChangeLink*> links = links_;
  for (TpkChangeLink* l : links) {
    l->SetSender(this);
    l->Changing();
  }
}

void TpkCustomBitBtn::NotifyLinksLoaded() {
  std::vector<TpkChangeLink*> links = links_;
  for (TpkChangeLink* l : links) {
    l->SetSender(this);
    l->Loaded();
  }
}

// --- groups, pressing and clicking ---------------------------------------------------------------------

void TpkCustomBitBtn::BroadcastPressed() {
  if (groupIndex_ == 0 || !GetParent()) return;
  TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(static_cast<TObject*>(this)), 0};
  GetParent()->Broadcast(m);
}

void TpkCustomBitBtn::CMButtonPressed(TMessage& m) {
  if (static_cast<int>(m.WParam) != groupIndex_) return;
  TpkCustomBitBtn* sender = ButtonOf(m.LParam);
  if (!sender || !sender->down_) return;
  if (sender == this) {
    downAtSelChange_ = down_;
    return;
  }
  if (down_) {
    SetDownState(false, false, false);
    Invalidate();
    SelChange();
  }
}

void TpkCustomBitBtn::SelChange() {
  downAtSelChange_ = down_;
  if (OnSelChange) OnSelChange(this);
  NotifyLinksChanged();
}

void TpkCustomBitBtn::PressDown() {
  downAtPress_ = down_;
  if (options_.Contains(boToggleOnUp) && groupIndex_ != 0) return;
  if (options_.Contains(boFocusable) && CanFocus()) SetFocus();
  bool was = down_;
  SetDownState(true, false, false);
  if (down_ != was) RepaintNow();
}

void TpkCustomBitBtn::Release(bool inside) {
  if (groupIndex_ != 0) {
    BroadcastPressed();
    if ((inside || options_.Contains(boToggleOnUp)) && (!downAtPress_ || allowAllUp_)) {
      SetDownState(!downAtPress_, true, true);
      RepaintNow();
      SelChange();
    }
  } else {
    SetDownState(false, false, false);
    RepaintNow();
  }
}

void TpkCustomBitBtn::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (button != mbLeft || !GetEnabled()) return;
  PressDown();
  mousePressed_ = true;
  SetMouseCapture(true);
}

void TpkCustomBitBtn::MouseMove(TShiftState shift, int x, int y) {
  inherited::MouseMove(shift, x, y);
  if (!mousePressed_ || options_.Contains(boToggleOnUp) || !shift.Contains(ssLeft)) return;
  POINT p{x, y};
  bool inside = IsPointInButton(&p) && mousePressed_;
  if ((inside && !down_) || (!inside && down_ && !downAtPress_)) {
    SetDownState(inside, false, false);
    RepaintNow();
  }
}

void TpkCustomBitBtn::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseUp(button, shift, x, y);
  if (button != mbLeft || !mousePressed_) return;
  POINT p{x, y};
  bool inside = (GetParent() && InheritsFromName(GetParent(), "TpkCustomOutlookBar")) || IsPointInButton(&p);
  Release(inside);
  SetMouseCapture(false);
  mousePressed_ = false;
  if (inside || options_.Contains(boToggleOnUp)) Click();
}

void TpkCustomBitBtn::KeyDown(WORD& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  if (key != VK_SPACE) return;
  // The BUTTON class never sees Space: the button presses and clicks itself.
  if (!spacePressed_ && GetEnabled()) {
    spacePressed_ = true;
    PressDown();
  }
  key = 0;
}

void TpkCustomBitBtn::KeyUp(WORD& key, TShiftState shift) {
  inherited::KeyUp(key, shift);
  if (key != VK_SPACE) return;
  key = 0;
  if (!spacePressed_) return;
  spacePressed_ = false;
  Release(true);
  Click();
}

void TpkCustomBitBtn::Click() {
  {
    pk_detail::TScopeExit inClick([this, was = std::exchange(inClick_, true)] { inClick_ = was; });
    TCustomForm* form = GetParentForm(this);
    switch (GetKind()) {
      case bkHelp: {
        TControl* c = this;
        while (c && c->GetHelpContext() == 0) c = c->GetParent();
        if (c && Application)
          Application->HelpContext(c->GetHelpContext());
        else
          inherited::Click();
        break;
      }
      case bkClose:
        if (form)
          form->Close();
        else
          inherited::Click();
        break;
      default:
        if (form) form->SetModalResult(modalResult_);
        inherited::Click();
        break;
    }
  }
  Invalidate();
}

// --- window -----------------------------------------------------------------------------------------

void TpkCustomBitBtn::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  CreateSubClass(params, "BUTTON");
  params.Style |= BS_OWNERDRAW;
}

void TpkCustomBitBtn::CreateWnd() {
  inherited::CreateWnd();
  activeDefault_ = default_;
  ApplyRegion();
}

void TpkCustomBitBtn::DestroyWnd() {
  ClearRegions();
  inherited::DestroyWnd();
}

void TpkCustomBitBtn::Loaded() {
  inherited::Loaded();
  if (!options_.Contains(boFocusable)) SetTabStop(false);
  ApplyRegion();
  NotifyLinksLoaded();
}

void TpkCustomBitBtn::SetShadeColorsFrom(TColor color) {
  shadeColors_->SetBtnShadow(AdjustColor(color, -50, true));
  shadeColors_->SetBtnBlack(AdjustColor(shadeColors_->GetBtnShadow(), -50, true));
  shadeColors_->SetBtn3DLight(AdjustColor(color, 50, true));
  shadeColors_->SetBtnHighlight(AdjustColor(shadeColors_->GetBtn3DLight(), 50, true));
}

void TpkCustomBitBtn::ActionChange(TObject* sender, bool checkDefaults) {
  inherited::ActionChange(sender, checkDefaults);
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (!action || !glyph_->GetEmpty()) return;
  TCustomImageList* images = action->GetImages();
  int index = action->GetImageIndex();
  if (!images || index < 0 || index >= images->GetCount()) return;
  glyph_->SetSize(images->GetWidth(), images->GetHeight());
  TCanvas* c = glyph_->GetCanvas();
  c->GetBrush()->SetColor(clFuchsia);
  c->FillRect(Rect(0, 0, images->GetWidth(), images->GetHeight()));
  images->Draw(c, 0, 0, index);
}

// --- messages -----------------------------------------------------------------------------------------

void TpkCustomBitBtn::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEACTIVATE: WMMouseActivate(m); return;
    case CN_DRAWITEM: CNDrawItem(m); return;
    case CN_MEASUREITEM: CNMeasureItem(m); return;
    case CM_BUTTONPRESSED: CMButtonPressed(m); return;
    default: inherited::Dispatch(m); return;
  }
}

void TpkCustomBitBtn::WMPaint(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (!GetControlState().Contains(csPaintCopy) || !dc) {
    inherited::WMPaint(m);
    return;
  }
  canvas_->SetHandle(dc);
  pk_detail::TScopeExit release([this] { canvas_->SetHandle(nullptr); });
  if (!GetParent() || !InheritsFromName(GetParent(), "TCustomGrid")) {
    PaintButton();
    return;
  }
  // A grid's copy takes the grid's text colour. The caption is drawn in the
  // button's font, so that font wears the colour for this one paint, unheard:
  // a font change would repaint the button and clear its ParentFont.
  TFont* font = GetFont();
  TNotifyEvent onChange = font->GetOnChange();
  TColor color = font->GetColor();
  font->SetOnChange(TNotifyEvent());
  font->SetColor(static_cast<TColor>(GetTextColor(dc)));
  pk_detail::TScopeExit restore([font, onChange, color] {
    font->SetColor(color);
    font->SetOnChange(onChange);
  });
  PaintButton();
}

void TpkCustomBitBtn::WMEraseBkgnd(TMessage& m) { m.Result = 1; }

void TpkCustomBitBtn::WMLButtonDown(TMessage& m) {
  SendCancelMode(this);
  if (GetControlStyle().Contains(csCaptureMouse)) SetMouseCapture(true);
  if (GetControlStyle().Contains(csClickEvents)) {
    TControlState state = GetControlState();
    state.Include(csClicked);
    SetControlState(state);
  }
  DoMouseDown(m, mbLeft, {});
}

void TpkCustomBitBtn::WMLButtonDblClk(TMessage& m) { WMLButtonDown(m); }

void TpkCustomBitBtn::WMSize(TMessage& m) {
  inherited::WMSize(m);
  FreeRegionBlob(upRegion_);
  FreeRegionBlob(downRegion_);
  if (HandleAllocated()) SetWindowRgn(GetHandle(), nullptr, TRUE);
  appliedRegion_ = nullptr;
  ApplyRegion();
  Invalidate();
  InvalidateInParent(true);
}

void TpkCustomBitBtn::WMCancelMode(TMessage& m) {
  inherited::WMCancelMode(m);
  if (mousePressed_) Perform(WM_LBUTTONUP, 0, static_cast<LPARAM>(-1));
}

void TpkCustomBitBtn::WMMouseActivate(TMessage& m) {
  if (!inClick_ || IsDesigning() || options_.Contains(boFocusable)) {
    inherited::Dispatch(m);
    return;
  }
  m.Result = MA_NOACTIVATEANDEAT;
  if (TCustomForm* form = GetParentForm(this)) form->BringToFront();
  POINT cursor{};
  Seams().GetCursorPos(cursor);
  POINT p = ScreenToClient(cursor);
  if (p.x < 0 || p.y < 0) return;
  WPARAM keys = 0;
  if (GetKeyState(VK_SHIFT) < 0) keys |= MK_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) keys |= MK_CONTROL;
  LPARAM pos = MAKELPARAM(p.x, p.y);
  if (HIWORD(m.LParam) == WM_LBUTTONDOWN) {
    pk_detail::TScopeExit resending([this, was = std::exchange(resending_, true)] { resending_ = was; });
    SendMessageA(GetHandle(), WM_LBUTTONDOWN, keys | MK_LBUTTON, pos);
  } else {
    PostMessageA(GetHandle(), WM_RBUTTONDOWN, keys | MK_RBUTTON, pos);
  }
}

void TpkCustomBitBtn::CNDrawItem(TMessage& m) {
  PaintOnDC(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
  m.Result = TRUE;
}

void TpkCustomBitBtn::CNMeasureItem(TMessage& m) {
  auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  mi->itemWidth = static_cast<UINT>(GetWidth());
  mi->itemHeight = static_cast<UINT>(GetHeight());
  m.Result = TRUE;
}

void TpkCustomBitBtn::DialogClick(TMessage& m) {
  Click();
  m.Result = 1;
}

void TpkCustomBitBtn::CMDialogKey(TMessage& m) {
  TWMKey k(m);
  WORD key = k.CharCode();
  if (((key == VK_RETURN && activeDefault_) || (key == VK_ESCAPE && cancel_)) &&
      KeyDataToShiftState(k.KeyData()).Empty() && CanFocus()) {
    DialogClick(m);
    return;
  }
  inherited::CMDialogKey(m);
}

void TpkCustomBitBtn::CMDialogChar(TMessage& m) {
  TWMKey k(m);
  WORD key = k.CharCode();
  if (((key == VK_RETURN && activeDefault_) || (key == VK_ESCAPE && cancel_)) &&
      KeyDataToShiftState(k.KeyData()).Empty() && CanFocus()) {
    DialogClick(m);
    return;
  }
  if (IsAccel(key, GetCaption()) && CanFocus()) {
    if (groupIndex_ > 0) SetDownState(true, true, false);
    Click();
    Invalidate();
    m.Result = 1;
    return;
  }
  inherited::CMDialogChar(m);
}

void TpkCustomBitBtn::CMEnabledChanged(TMessage& m) {
  inherited::CMEnabledChanged(m);
  Invalidate();
}

void TpkCustomBitBtn::CMFocusChanged(TMessage& m) {
  auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
  if (dynamic_cast<TpkCustomBitBtn*>(focused))
    activeDefault_ = focused == this;
  else
    activeDefault_ = default_;
  inherited::CMFocusChanged(m);
}

void TpkCustomBitBtn::CMMouseEnter(TMessage& m) {
  inherited::CMMouseEnter(m);
  mouseInControl_ = true;
  if (shadeStyle_ == fbsFlat || numGlyphs_ == 4) Invalidate();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TpkCustomBitBtn::CMMouseLeave(TMessage& m) {
  inherited::CMMouseLeave(m);
  mouseInControl_ = false;
  if (shadeStyle_ == fbsFlat || numGlyphs_ == 4) Invalidate();
  if (OnMouseLeave) OnMouseLeave(this);
}
