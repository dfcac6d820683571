// KxButton: the window-less buttons for inside other controls and the
// bitmap-shaped button (TKxControlButton, TKxShapeButton).
#include <algorithm>
#include <vector>

#include "classlib/Scopes.h"
#include "kx/controls/KxButton.h"
#include "kx/foundation/KxGrafx.h"

namespace {

uint32_t Rgb(TColor c) { return static_cast<uint32_t>(ColorToRGB(c)) & 0xFFFFFF; }

// A 24-bit copy of a bitmap, for reading and writing its pixels by row.
Owned<TBitmap> Copy24(TBitmap* source) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->Assign(source);
  b->SetPixelFormat(pf24bit);
  return b;
}

uint32_t PixelOf(TBitmap* b, int x, int y) {
  auto row = b->ScanLineAs<RGBTRIPLE>(y);
  const RGBTRIPLE& p = row[x];
  return RGB(p.rgbtRed, p.rgbtGreen, p.rgbtBlue);
}

void SetPixelOf(TBitmap* b, int x, int y, uint32_t rgb) {
  auto row = b->ScanLineAs<RGBTRIPLE>(y);
  row[x] = RGBTRIPLE{GetBValue(rgb), GetGValue(rgb), GetRValue(rgb)};
}

// A monochrome bitmap of the source's size: white where the source has the
// key colour, black elsewhere (copying to a monochrome bitmap compares each
// pixel with the source DC's background colour).
void MaskOf(TBitmap* source, TColor key, TBitmap* mask) {
  int w = source->GetWidth(), h = source->GetHeight();
  mask->Assign(nullptr);
  mask->SetMonochrome(true);
  mask->SetSize(w, h);
  HDC sourceDC = source->GetCanvas()->GetHandle();
  COLORREF old = SetBkColor(sourceDC, static_cast<COLORREF>(ColorToRGB(key)));
  BitBlt(mask->GetCanvas()->GetHandle(), 0, 0, w, h, sourceDC, 0, 0, SRCCOPY);
  SetBkColor(sourceDC, old);
  mask->Changed(mask);
}

}  // namespace

DEFINE_ENUM_TYPE(TKxControlButtonStyle, "cbsNone", "cbsLeft", "cbsUp", "cbsRight", "cbsDown", "cbsDropDown")
DEFINE_ENUM_TYPE(TKxCaptionPosition, "cpCentered", "cpXY")

// --- TKxControlButton -------------------------------------------------------------------------

PUBLISHED(TKxControlButton) {
  using C = TKxControlButton;
  PublishControlProps(p, {"Action", "Caption"});
  p.Prop("Color", &TControl::GetColor, &TControl::SetColor)
      .Default(clBtnFace)
      .Stored(&TControl::IsColorStored)
      .Type(TColorTypeInfo());
  p.Prop("Delay", &C::GetDelay, &C::SetDelay).Default(100);
  PublishControlProps(p, {"Enabled"});
  p.Prop("Flat", &C::GetFlat, &C::SetFlat).Default(false);
  p.Prop("Glyph", &C::GetGlyph, &C::SetGlyph);
  p.Prop("InitialDelay", &C::GetInitialDelay, &C::SetInitialDelay).Default(400);
  p.Prop("NumGlyphs", &C::GetNumGlyphs, &C::SetNumGlyphs).Default(1);
  p.Prop("RepeatClicks", &C::GetRepeatClicks, &C::SetRepeatClicks).Default(false);
  p.Prop("Style", &C::GetStyle, &C::SetStyle).Default(cbsNone);
  PublishControlProps(p, {"OnClick"});
  p.Prop("OnMouseEnter", &C::GetOnMouseEnter, &C::SetOnMouseEnter);
  p.Prop("OnMouseLeave", &C::GetOnMouseLeave, &C::SetOnMouseLeave);
}

TKxControlButton::TKxControlButton(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(TControlStyle{csCaptureMouse});
  SetBounds(GetLeft(), GetTop(), 17, 21);
  SetColor(clBtnFace);
  SetDragMode(dmManual);
  glyph_ = New<TBitmap>();
  glyph_->SetOnChange(TNotifyEvent(this, &TKxControlButton::GlyphChanged));
}

void TKxControlButton::Destroy() {
  inherited::Destroy();
  FreeAndNil(glyph_);
}

void TKxControlButton::GlyphChanged(TObject*) {
  numGlyphs_ = KxGlyphCells(glyph_);
  Invalidate();
}

void TKxControlButton::SetFlat(bool value) {
  if (flat_ == value) return;
  flat_ = value;
  Repaint();
}

void TKxControlButton::SetGlyph(TBitmap* value) { glyph_->Assign(value); }

void TKxControlButton::SetNumGlyphs(int value) {
  if (numGlyphs_ == value) return;
  numGlyphs_ = value;
  Invalidate();
}

void TKxControlButton::SetStyle(TKxControlButtonStyle value) {
  if (style_ == value) return;
  style_ = value;
  Invalidate();
}

bool TKxControlButton::Active() const { return down_ || (mouseOver_ && GetEnabled()) || IsDesigning(); }

TSize TKxControlButton::GetImageSize() {
  int cells = numGlyphs_ > 0 ? numGlyphs_ : 1;
  return TSize{glyph_->GetWidth() / cells, glyph_->GetHeight()};
}

void TKxControlButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (button != mbLeft || !GetEnabled()) return;
  if (!down_) {
    down_ = true;
    Invalidate();
  }
  dragging_ = true;
  if (!repeatClicks_) return;
  if (!repeatTimer_) {
    repeatTimer_ = New<TTimer>(this);
    repeatTimer_->SetEnabled(false);
    repeatTimer_->SetOnTimer(TNotifyEvent(this, &TKxControlButton::TimerExpired));
  }
  repeatTimer_->SetInterval(initialDelay_);
  repeatTimer_->SetEnabled(true);
}

void TKxControlButton::TimerExpired(TObject*) {
  repeatTimer_->SetInterval(delay_);
  if (!down_ || GetCaptureControl() != this) return;
  // A click that fails ends the repeating.
  TRollback stop([this] { repeatTimer_->SetEnabled(false); });
  Click();
  stop.Commit();
}

void TKxControlButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseUp(button, shift, x, y);
  if (repeatTimer_) repeatTimer_->SetEnabled(false);
  if (!dragging_) return;
  dragging_ = false;
  down_ = false;
  mouseOver_ = false;
  Repaint();
  RECT client = GetClientRect();
  if (PtInRect(&client, POINT{x, y})) Click();
  UpdateTracking();
}

void TKxControlButton::UpdateTracking() {
  if ((flat_ || ThemeServices().GetThemesEnabled()) && GetEnabled()) KxUpdateTracking(this);
}

void TKxControlButton::MouseEnter() {
  mouseOver_ = true;
  if (OnMouseEnter) OnMouseEnter(this);
  if (flat_ || ThemeServices().GetThemesEnabled()) Repaint();
}

void TKxControlButton::MouseLeave() {
  mouseOver_ = false;
  if (OnMouseLeave) OnMouseLeave(this);
  if (flat_ || ThemeServices().GetThemesEnabled()) Repaint();
}

void TKxControlButton::CMMouseEnter(TMessage& m) {
  inherited::CMMouseEnter(m);
  MouseEnter();
}

void TKxControlButton::CMMouseLeave(TMessage& m) {
  inherited::CMMouseLeave(m);
  MouseLeave();
}

TRect TKxControlButton::DrawClassicFace(TCanvas* canvas, TRect rect) {
  if (flat_) {
    if (Active()) rect = DrawBorder(canvas, rect, down_ ? fsStatus : fsPopup);
    KxFillSolid(canvas, rect, GetColor());
    return rect;
  }
  rect = down_ ? DrawBevel(canvas, rect, clBtnShadow, clBtnShadow, 1, sdAllSides) : DrawBorder(canvas, rect, fsButtonUp);
  KxFillSolid(canvas, rect, clBtnFace);
  return rect;
}

TRect TKxControlButton::DrawBtnFace(TCanvas* canvas, const TRect& rect) {
  if (!ThemeServices().GetThemesEnabled()) return DrawClassicFace(canvas, rect);
  TThemedScrollBar e;
  if (Active()) e = down_ ? tsThumbBtnHorzPressed : tsThumbBtnHorzHot;
  else if (flat_) e = tsScrollBarDontCare;
  else e = GetEnabled() ? tsThumbBtnHorzNormal : tsThumbBtnHorzDisabled;
  if (e == tsScrollBarDontCare) {
    KxFillSolid(canvas, rect, GetColor());
  } else {
    // The thumb's own outer edge falls outside the button: drawn 2 pixels
    // larger (1 on the left) and cut to the face.
    TRect big{rect.left - 1, rect.top - 2, rect.right + 2, rect.bottom + 2};
    ThemeServices().DrawElement(canvas->GetHandle(), ThemeServices().GetElementDetails(e), big, &rect);
  }
  TRect r = rect;
  InflateRect(&r, -2, -2);
  return r;
}

TRect TKxControlButton::DrawSpinButton(TCanvas* canvas, const TRect& rect) {
  TDirection direction = style_ == cbsUp     ? dirUp
                         : style_ == cbsDown ? dirDown
                         : style_ == cbsLeft ? dirLeft
                                             : dirRight;
  if (!ThemeServices().GetThemesEnabled()) {
    TRect inside = DrawClassicFace(canvas, rect);
    DrawSpinArrow(canvas, inside, uiWindows95, direction, down_, GetEnabled());
    return inside;
  }
  if (!Active() && flat_) {
    KxFillSolid(canvas, rect, GetColor());
    DrawSpinArrow(canvas, rect, uiWindowsXP, direction, down_, GetEnabled());
  } else {
    // Normal, hot, pressed, disabled follow each part's first state.
    TThemedSpin first = style_ == cbsUp     ? tsUpNormal
                        : style_ == cbsDown ? tsDownNormal
                        : style_ == cbsLeft ? tsDownHorzNormal
                                            : tsUpHorzNormal;
    int state = Active() ? (down_ ? 2 : 1) : (GetEnabled() ? 0 : 3);
    TThemedSpin e = static_cast<TThemedSpin>(first + state);
    ThemeServices().DrawElement(canvas->GetHandle(), ThemeServices().GetElementDetails(e), rect);
  }
  TRect r = rect;
  InflateRect(&r, -2, -2);
  return r;
}

TRect TKxControlButton::DrawDropDownButton(TCanvas* canvas, const TRect& rect) {
  if (!ThemeServices().GetThemesEnabled()) {
    TRect inside = DrawClassicFace(canvas, rect);
    DrawDropDownArrow(canvas, inside, uiWindows95, down_, GetEnabled());
    return inside;
  }
  if (Active()) {
    TRect grown = rect;
    InflateRect(&grown, 1, 1);
    TThemedComboBox e = down_ ? tcDropDownButtonPressed : tcDropDownButtonHot;
    ThemeServices().DrawElement(canvas->GetHandle(), ThemeServices().GetElementDetails(e), grown, &rect);
  } else if (flat_) {
    KxFillSolid(canvas, rect, GetColor());
    DrawDropDownArrow(canvas, rect, uiWindowsXP, down_, GetEnabled());
  } else {
    TThemedComboBox e = GetEnabled() ? tcDropDownButtonNormal : tcDropDownButtonDisabled;
    ThemeServices().DrawElement(canvas->GetHandle(), ThemeServices().GetElementDetails(e), rect);
  }
  TRect r = rect;
  InflateRect(&r, -2, -2);
  return r;
}

void TKxControlButton::DrawGlyph(TCanvas* canvas, const TRect& rect) {
  if (glyph_->GetEmpty()) return;
  TSize image = GetImageSize();
  if (image.cx <= 0 || image.cy <= 0) return;
  TRect face = rect;
  InflateRect(&face, -1, -1);
  TRect dest = CenterRect(face, image.cx, image.cy);
  if (down_) OffsetRect(&dest, 1, ThemeServices().GetThemesEnabled() ? 0 : 1);
  int cell = (numGlyphs_ >= 2 && !GetEnabled()) ? 1 : 0;
  TRect source{cell * image.cx, 0, (cell + 1) * image.cx, image.cy};
  TColor key = glyph_->GetCanvas()->GetPixels(0, glyph_->GetHeight() - 1);
  DrawFullTransparentBitmap(canvas, glyph_, dest, source, key);
}

void TKxControlButton::Paint() {
  TCanvas* canvas = GetCanvas();
  TRect client = GetClientRect();
  switch (style_) {
    case cbsNone: DrawGlyph(canvas, DrawBtnFace(canvas, client)); break;
    case cbsLeft:
    case cbsUp:
    case cbsRight:
    case cbsDown: DrawSpinButton(canvas, client); break;
    case cbsDropDown: DrawDropDownButton(canvas, client); break;
  }
}

// --- palettes ---------------------------------------------------------------------------------------

HPALETTE KxCopyPalette(HPALETTE palette) {
  if (!palette) return nullptr;
  WORD count = 0;
  if (GetObjectType(palette) != OBJ_PAL || GetObjectA(palette, sizeof count, &count) == 0) throw EInvalidGraphic("Invalid palette in CopyPalette");
  if (count == 0) return nullptr;
  std::vector<uint8_t> buffer(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(buffer.data());
  log->palVersion = 0x300;
  log->palNumEntries = count;
  if (GetPaletteEntries(palette, 0, count, log->palPalEntry) != count)
    throw EInvalidGraphic("Cannot get palette entries in CopyPalette");
  HPALETTE copy = CreatePalette(log);
  if (!copy) throw EOutOfResources("Cannot create palette in CopyPalette");
  return copy;
}

// --- TKxShapeButton -------------------------------------------------------------------------------------

PUBLISHED(TKxShapeButton) {
  using C = TKxShapeButton;
  p.Prop("AutoSize", &C::GetAutoSize, &C::SetAutoSize).Default(true);
  p.Prop("BevelHighlightColor", &C::GetBevelHighlightColor, &C::SetBevelHighlightColor)
      .Default(clBtnHighlight)
      .Type(TColorTypeInfo());
  p.Prop("BevelShadowColor", &C::GetBevelShadowColor, &C::SetBevelShadowColor)
      .Default(clBtnShadow)
      .Type(TColorTypeInfo());
  p.Prop("BevelWidth", &C::GetBevelWidth, &C::SetBevelWidth).Default(2);
  p.Prop("Bitmap", &C::GetBitmap, &C::SetBitmap);
  p.Prop("BorderColor", &C::GetBorderColor, &C::SetBorderColor).Default(cl3DDkShadow).Type(TColorTypeInfo());
  p.Prop("BorderStyle", &C::GetBorderStyle, &C::SetBorderStyle).Default(bsSingle);
  PublishControlProps(p, {"Caption"});
  p.Prop("CaptionPosition", &C::GetCaptionPosition, &C::SetCaptionPosition).Default(cpCentered);
  p.Prop("CaptionX", &C::GetCaptionX, &C::SetCaptionX).Default(0);
  p.Prop("CaptionY", &C::GetCaptionY, &C::SetCaptionY).Default(0);
  PublishControlProps(p, {"Enabled", "Font", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "Visible"});
  p.Prop("PreciseClick", &C::GetPreciseClick, &C::SetPreciseClick).Default(true);
  p.Prop("PreciseShowHint", &C::GetPreciseShowHint, &C::SetPreciseShowHint).Default(true);
  PublishControlProps(p, {"OnClick"});
}

TKxShapeButton::TKxShapeButton(TComponent* owner) : TGraphicControl(owner) {
  // The bitmaps first: SetBounds (overridden) reads the bitmap.
  bitmap_ = New<TBitmap>();
  bitmap_->SetOnChange(TNotifyEvent(this, &TKxShapeButton::BitmapChanged));
  bitmapUp_ = New<TBitmap>();
  bitmapDown_ = New<TBitmap>();
  mask_ = New<TBitmap>();
  SetControlStyle(TControlStyle{csCaptureMouse, csOpaque});
  SetBounds(GetLeft(), GetTop(), 80, 80);
  SetParentFont(true);
}

void TKxShapeButton::Destroy() {
  inherited::Destroy();
  FreeAndNil(mask_);
  FreeAndNil(bitmapDown_);
  FreeAndNil(bitmapUp_);
  FreeAndNil(bitmap_);
}

void TKxShapeButton::BitmapChanged(TObject*) { GenerateImages(); }

void TKxShapeButton::SetBevelHighlightColor(TColor value) {
  if (bevelHighlightColor_ == value) return;
  bevelHighlightColor_ = value;
  GenerateImages();
}

void TKxShapeButton::SetBevelShadowColor(TColor value) {
  if (bevelShadowColor_ == value) return;
  bevelShadowColor_ = value;
  GenerateImages();
}

void TKxShapeButton::SetBevelWidth(TKxBevelWidth value) {
  value = std::clamp(value, 0, 2);
  if (bevelWidth_ == value) return;
  bevelWidth_ = value;
  GenerateImages();
}

void TKxShapeButton::SetBorderColor(TColor value) {
  if (borderColor_ == value) return;
  borderColor_ = value;
  GenerateImages();
}

void TKxShapeButton::SetBorderStyle(TBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  GenerateImages();
}

void TKxShapeButton::SetBitmap(TBitmap* value) { bitmap_->Assign(value); }
void TKxShapeButton::SetBitmapUp(TBitmap* value) { bitmapUp_->Assign(value); }
void TKxShapeButton::SetBitmapDown(TBitmap* value) { bitmapDown_->Assign(value); }

void TKxShapeButton::SetCaptionPosition(TKxCaptionPosition value) {
  if (captionPosition_ == value) return;
  captionPosition_ = value;
  Invalidate();
}

void TKxShapeButton::SetCaptionX(int value) { SetCaptionXY(value, captionY_); }
void TKxShapeButton::SetCaptionY(int value) { SetCaptionXY(captionX_, value); }

void TKxShapeButton::SetCaptionXY(int x, int y) {
  if (x == captionX_ && y == captionY_) return;
  captionX_ = x;
  captionY_ = y;
  captionPosition_ = cpXY;
  Invalidate();
}

void TKxShapeButton::SetAutoSize(bool value) {
  if (autoSize_ == value) return;
  autoSize_ = value;
  SetBounds(GetLeft(), GetTop(), GetWidth(), GetHeight());
}

void TKxShapeButton::SetBounds(int left, int top, int width, int height) {
  if (autoSize_ && !GetComponentState().Contains(csReading) && !bitmap_->GetEmpty()) {
    width = bitmap_->GetWidth() + 4;
    height = bitmap_->GetHeight() + 4;
  }
  inherited::SetBounds(left, top, width, height);
}

void TKxShapeButton::Invalidate() {
  // The parent repaints the whole rectangle, so what shows through the
  // transparent parts is fresh.
  TWinControl* parent = GetParent();
  if (!parent || !parent->HandleAllocated()) return;
  RECT r = GetBoundsRect();
  InvalidateRect(parent->GetHandle(), &r, TRUE);
}

void TKxShapeButton::Create3DBitmap(TBitmap* source, TButtonState state, TBitmap* dest) {
  Owned<TBitmap> src = Copy24(source);
  Owned<TBitmap> out = Copy24(source);
  int w = src->GetWidth(), h = src->GetHeight();
  uint32_t key = Rgb(source->GetTransparentColor());
  uint32_t highlight = Rgb(bevelHighlightColor_) == key ? Rgb(DarkerColor(bevelHighlightColor_, 1))
                                                         : Rgb(bevelHighlightColor_);
  uint32_t shadow = Rgb(bevelShadowColor_);
  uint32_t border = Rgb(borderColor_);
  bool raised = state != bsDown;
  int rings = bevelWidth_ + (borderStyle_ == bsSingle ? 1 : 0);
  auto opaque = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && PixelOf(src.get(), x, y) != key; };
  std::vector<uint8_t> clear(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int k = 1; k <= rings; ++k) {
    // Which pixels are still outside the shape when the ring starts.
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) clear[static_cast<size_t>(y) * w + x] = PixelOf(out.get(), x, y) == key;
    std::vector<POINT> lowerRight, upperLeft;
    for (int d = -k; d <= k; ++d) lowerRight.push_back(POINT{k, d});
    for (int d = k - 1; d >= -k; --d) lowerRight.push_back(POINT{d, k});
    for (int d = k - 1; d >= -k; --d) upperLeft.push_back(POINT{-k, d});
    for (int d = -k + 1; d <= k - 1; ++d) upperLeft.push_back(POINT{d, -k});
    bool outermostBorder = borderStyle_ == bsSingle && k == rings;
    struct TGroup {
      const std::vector<POINT>* Offsets;
      uint32_t Colour;
      bool Skip;
    };
    const TGroup groups[2] = {
        {&lowerRight, outermostBorder ? border : (raised ? shadow : highlight), !raised && k == rings},
        {&upperLeft, outermostBorder ? border : (raised ? highlight : shadow), false},
    };
    for (const TGroup& g : groups) {
      if (g.Skip) continue;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          if (!clear[static_cast<size_t>(y) * w + x]) continue;
          for (POINT o : *g.Offsets)
            if (opaque(x - o.x, y - o.y)) {
              SetPixelOf(out.get(), x, y, g.Colour);
              break;
            }
        }
    }
  }
  out->Changed(out.get());
  dest->Assign(out.get());
  dest->SetPalette(KxCopyPalette(source->GetPalette()));
}

void TKxShapeButton::GenerateImages() {
  TComponentState cs = GetComponentState();
  if (cs.Contains(csReading) || cs.Contains(csLoading)) return;
  SetBounds(GetLeft(), GetTop(), GetWidth(), GetHeight());
  if (bitmap_->GetEmpty()) {
    bitmapUp_->Assign(nullptr);
    bitmapDown_->Assign(nullptr);
    mask_->Assign(nullptr);
    Invalidate();
    return;
  }
  {
    TCursor cursor = Screen->GetCursor();
    Screen->SetCursor(crHourGlass);
    TFinally restoreCursor([cursor] { Screen->SetCursor(cursor); });
    Create3DBitmap(bitmap_, bsUp, bitmapUp_);
    Create3DBitmap(bitmap_, bsDown, bitmapDown_);
    MaskOf(bitmapUp_, bitmap_->GetTransparentColor(), mask_);
  }
  Invalidate();
}

void TKxShapeButton::Loaded() {
  inherited::Loaded();
  // The stored images stay as they were; a point hits when it is opaque in
  // the bitmap or in the raised image.
  if (bitmapUp_->GetEmpty()) return;
  TColor key = bitmap_->GetEmpty() ? bitmapUp_->GetTransparentColor() : bitmap_->GetTransparentColor();
  MaskOf(bitmapUp_, key, mask_);
  if (!bitmap_->GetEmpty() && bitmap_->GetWidth() == mask_->GetWidth() &&
      bitmap_->GetHeight() == mask_->GetHeight()) {
    Owned<TBitmap> own = MakeOwned<TBitmap>();
    MaskOf(bitmap_, key, own.get());
    // Black (opaque) in either: AND of the two white-outside masks.
    BitBlt(mask_->GetCanvas()->GetHandle(), 0, 0, mask_->GetWidth(), mask_->GetHeight(),
           own->GetCanvas()->GetHandle(), 0, 0, SRCAND);
    mask_->Changed(mask_);
  }
}

bool TKxShapeButton::MaskHit(int x, int y) const {
  if (mask_->GetEmpty()) return true;
  if (x < 0 || y < 0 || x >= mask_->GetWidth() || y >= mask_->GetHeight()) return false;
  return GetPixel(mask_->GetCanvas()->GetHandle(), x, y) == RGB(0, 0, 0);
}

bool TKxShapeButton::PtInMask(int x, int y) { return MaskHit(x, y); }

void TKxShapeButton::ReadBitmapUpData(TStream* stream) { bitmapUp_->LoadFromStream(stream); }
void TKxShapeButton::WriteBitmapUpData(TStream* stream) { bitmapUp_->SaveToStream(stream); }
void TKxShapeButton::ReadBitmapDownData(TStream* stream) { bitmapDown_->LoadFromStream(stream); }
void TKxShapeButton::WriteBitmapDownData(TStream* stream) { bitmapDown_->SaveToStream(stream); }

void TKxShapeButton::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  filer->DefineBinaryProperty(
      "BitmapUp", [this](TStream* s) { ReadBitmapUpData(s); }, [this](TStream* s) { WriteBitmapUpData(s); },
      !bitmapUp_->GetEmpty());
  filer->DefineBinaryProperty(
      "BitmapDown", [this](TStream* s) { ReadBitmapDownData(s); }, [this](TStream* s) { WriteBitmapDownData(s); },
      !bitmapDown_->GetEmpty());
}

TRect TKxShapeButton::GetCaptionRect(TCanvas* canvas) {
  TRect client = GetClientRect();
  if (captionPosition_ == cpCentered) return client;
  TRect r{0, 0, client.right, 0};
  std::string caption = GetCaption();
  DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  OffsetRect(&r, captionX_, captionY_);
  return r;
}

void TKxShapeButton::DrawButtonText(TCanvas* canvas) {
  std::string caption = GetCaption();
  if (caption.empty()) return;
  canvas->GetFont()->Assign(GetFont());
  canvas->GetBrush()->SetStyle(bsClear);
  TRect r = GetCaptionRect(canvas);
  if (state_ == bsDown) OffsetRect(&r, 1, 1);
  DrawTextA(canvas->GetHandle(), caption.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  canvas->GetBrush()->SetStyle(bsSolid);
}

void TKxShapeButton::Paint() {
  TCanvas* canvas = GetCanvas();
  TRect client = GetClientRect();
  if (IsDesigning()) {
    canvas->GetPen()->SetStyle(psDash);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->Rectangle(client);
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetBrush()->SetStyle(bsSolid);
  }
  if (IsDesigning() || !GetEnabled() || state_ == bsExclusive) state_ = bsUp;
  TBitmap* image = state_ == bsDown ? bitmapDown_ : bitmapUp_;
  if (!image->GetEmpty()) {
    TColor key = bitmap_->GetEmpty() ? image->GetTransparentColor() : bitmap_->GetTransparentColor();
    // The image on the transparent colour, moved when pressed, then masked
    // onto what the parent painted.
    Owned<TBitmap> scratch = MakeOwned<TBitmap>();
    scratch->SetPixelFormat(pf24bit);
    scratch->SetSize(client.right, client.bottom);
    scratch->SetPalette(KxCopyPalette(bitmap_->GetPalette()));
    KxFillSolid(scratch->GetCanvas(), client, key);
    int shift = state_ == bsDown ? 1 : 0;
    scratch->GetCanvas()->Draw(shift, shift, image);
    TSelectedPalette palette(canvas->GetHandle(), GetPalette(), false);
    DrawTransparentBitmap(canvas, scratch.get(), client, client, key);
  }
  DrawButtonText(canvas);
}

bool TKxShapeButton::InsideForPress(int x, int y) {
  if (preciseClick_) return PtInMask(x, y);
  RECT client = GetClientRect();
  return PtInRect(&client, POINT{x, y}) != 0;
}

void TKxShapeButton::RestoreHintAndCursor() {
  if (hintSaved_) {
    SetShowHint(savedShowHint_);
    SetParentShowHint(savedParentShowHint_);
    hintSaved_ = false;
  }
  if (cursorSaved_) {
    SetCursor(savedCursor_);
    cursorSaved_ = false;
  }
}

void TKxShapeButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (button != mbLeft || !GetEnabled()) return;
  if (!preciseClick_ || PtInMask(x, y)) {
    state_ = bsDown;
    Repaint();
  }
  dragging_ = true;
}

void TKxShapeButton::MouseMove(TShiftState shift, int x, int y) {
  inherited::MouseMove(shift, x, y);
  bool inMask = PtInMask(x, y);
  if (!inMask && preciseShowHint_) {
    // Outside the shape the button shows no hint (nor its cursor).
    if (!hintSaved_) {
      savedShowHint_ = GetShowHint();
      savedParentShowHint_ = GetParentShowHint();
      hintSaved_ = true;
      SetShowHint(false);
      SetParentShowHint(false);
    }
  } else if (!inMask && preciseClick_) {
    if (!cursorSaved_) {
      savedCursor_ = GetCursor();
      cursorSaved_ = true;
      SetCursor(crDefault);
    }
  } else if (inMask) {
    RestoreHintAndCursor();
  }
  if (!dragging_) return;
  TButtonState next = InsideForPress(x, y) ? bsDown : bsUp;
  if (next == state_) return;
  state_ = next;
  Repaint();
}

void TKxShapeButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseUp(button, shift, x, y);
  if (!dragging_) return;
  dragging_ = false;
  state_ = bsUp;
  Repaint();
  if (InsideForPress(x, y)) Click();
}

void TKxShapeButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGCHAR: CMDialogChar(m); return;
    case CM_TEXTCHANGED: CMTextChanged(m); return;
    case CM_SYSCOLORCHANGE: CMSysColorChange(m); return;
    default: inherited::Dispatch(m); return;
  }
}

void TKxShapeButton::CMHitTest(TMessage& m) {
  TCMHitTest h(m);
  m.Result = PtInMask(h.XPos(), h.YPos()) ? HTCLIENT : HTNOWHERE;
}

void TKxShapeButton::CMDialogChar(TMessage& m) {
  if (IsAccel(TWMKey(m).CharCode(), GetCaption()) && GetEnabled()) {
    Click();
    m.Result = 1;
  }
}

void TKxShapeButton::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  Invalidate();
}

void TKxShapeButton::CMTextChanged(TMessage&) { Invalidate(); }

void TKxShapeButton::CMSysColorChange(TMessage&) { GenerateImages(); }
