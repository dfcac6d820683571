#include "skin/pkImgBtn.h"

#include <utility>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Menus.h"
#include "classlib/Forms.h"
#include "skin/pkBitmap.h"
#include "skin/pkGdi.h"
#include "skin/pkImager.h"
#include "skin/pkShared.h"
#include "skin/pktext.h"

DEFINE_ENUM_TYPE(TpkDitherStyle, "dsDither", "dsBlendDither", "dsFill")

namespace {

// The region selected as the clip of a canvas's DC while it lives.
class TClipScope {
 public:
  TClipScope(TCanvas* canvas, HRGN region) : dc_(canvas->GetHandle()) { SelectClipRgn(dc_, region); }
  ~TClipScope() { SelectClipRgn(dc_, nullptr); }
  TClipScope(const TClipScope&) = delete;
  TClipScope& operator=(const TClipScope&) = delete;

 private:
  HDC dc_;
};

TColor PixelTColor(const RGBTRIPLE& p) {
  return static_cast<TColor>(uint32_t{p.rgbtBlue} << 16 | uint32_t{p.rgbtGreen} << 8 | p.rgbtRed);
}

}  // namespace

HRGN BuildRegionFromPkBitmap(TpkBitmap* bitmap, TColor transparentColor) {
  if (!bitmap || bitmap->GetWidth() <= 0 || bitmap->GetHeight() <= 0) return nullptr;
  const TpkBitmap* b = bitmap;
  int width = b->GetWidth(), height = b->GetHeight();
  if (transparentColor == clFirstPixel) transparentColor = PixelTColor(b->GetRow(0)[0]);
  uint32_t key = static_cast<uint32_t>(transparentColor);
  pk_detail::TRowRegionBuilder builder;
  std::vector<pk_detail::TRun> runs;
  for (int y = 0; y < height; ++y) {
    TPixelRow<const RGBTRIPLE> row = b->GetRow(y);
    pk_detail::ScanRuns(width, [&row](int x) { return static_cast<uint32_t>(PixelTColor(row[x])); }, key, runs);
    builder.AddRow(y, runs);
  }
  return builder.Finish();
}

// --- TpkImgDownOffsets -------------------------------------------------------------------

PUBLISHED(TpkImgDownOffsets) {
  p.Prop("ImageDownX", &TpkImgDownOffsets::GetImageDownX, &TpkImgDownOffsets::SetImageDownX).Default(2);
  p.Prop("ImageDownY", &TpkImgDownOffsets::GetImageDownY, &TpkImgDownOffsets::SetImageDownY).Default(2);
}

void TpkImgDownOffsets::AssignTo(TPersistent* dest) {
  if (auto* d = dynamic_cast<TpkImgDownOffsets*>(dest)) {
    d->imageDownX_ = imageDownX_;
    d->imageDownY_ = imageDownY_;
  }
  inherited::AssignTo(dest);
}

// --- TpkCustomImageBtn: life -------------------------------------------------------------

IMPLEMENT_CLASS(TpkCustomImageBtn)

TpkCustomImageBtn::TpkCustomImageBtn(TComponent* owner) : TpkCustomBitBtn(owner) {
  image_ = New<TpkBitmap>();
  image_->SetOnChange(TNotifyEvent(this, &TpkCustomImageBtn::ImageChanged));
  imageDown_ = New<TpkBitmap>();
  imageDown_->SetOnChange(TNotifyEvent(this, &TpkCustomImageBtn::ImageChanged));
  link_ = New<TpkChangeLink>();
  link_->SetOnChange(TNotifyEvent(this, &TpkCustomImageBtn::ImageChanged));
  SetColor(clNone);
  SetPaintHalftone(true);
}

void TpkCustomImageBtn::Destroy() {
  Detach(extImage_);
  if (extImageDown_ != extImage_) Detach(extImageDown_);
  extImage_ = extImageDown_ = nullptr;
  inherited::Destroy();
  FreeAndNil(link_);
  FreeAndNil(imageDown_);
  FreeAndNil(image_);
}

TpkOffsets* TpkCustomImageBtn::CreateOffsets() { return New<TpkImgDownOffsets>(this); }

TpkImgDownOffsets* TpkCustomImageBtn::GetImgOffsets() const {
  return static_cast<TpkImgDownOffsets*>(GetOffsets());
}

// --- properties ----------------------------------------------------------------------------

void TpkCustomImageBtn::SetDitherColor(TColor value) {
  if (ditherColor_ == value) return;
  ditherColor_ = value;
  Invalidate();
}

void TpkCustomImageBtn::SetDitherStyle(TpkDitherStyle value) {
  if (ditherStyle_ == value) return;
  ditherStyle_ = value;
  Invalidate();
}

bool TpkCustomImageBtn::GetRespectPalette() const { return image_->GetRespectPalette(); }

void TpkCustomImageBtn::SetRespectPalette(bool value) {
  image_->SetRespectPalette(value);
  imageDown_->SetRespectPalette(value);
  Invalidate();
}

bool TpkCustomImageBtn::GetParentClipping() const {
  TWinControl* parent = GetParent();
  if (!parent || !parent->HandleAllocated()) return false;
  return (GetWindowLongPtrA(parent->GetWindowHandle(), GWL_STYLE) & WS_CLIPCHILDREN) != 0;
}

void TpkCustomImageBtn::SetParentClipping(bool value) {
  TWinControl* parent = GetParent();
  if (!parent || IsDesigning()) return;
  HWND w = parent->GetHandle();
  LONG_PTR style = GetWindowLongPtrA(w, GWL_STYLE);
  LONG_PTR wanted = value ? (style | WS_CLIPCHILDREN) : (style & ~static_cast<LONG_PTR>(WS_CLIPCHILDREN));
  if (wanted != style) SetWindowLongPtrA(w, GWL_STYLE, wanted);
}

void TpkCustomImageBtn::SetTransparentColor(TColor value) {
  if (transparentColor_ == value) return;
  transparentColor_ = value;
  // While a form is read its blobs come after this property and stay;
  // otherwise the held shapes were cut with the old colour.
  if (!IsLoading()) {
    FreeRegionBlob(RegionBlob(false));
    FreeRegionBlob(RegionBlob(true));
  }
  RecreateWnd();
  InvalidateInParent(true);
}

void TpkCustomImageBtn::SetImage(TpkBitmap* value) {
  if (value) SetExtImage(nullptr);
  image_->Assign(value);
  if (!(GetDown() && !imageDown_->GetEmpty())) RecreateWnd();
}

void TpkCustomImageBtn::SetImageDown(TpkBitmap* value) {
  if (value) SetExtImageDown(nullptr);
  imageDown_->Assign(value);
  if (GetDown()) RecreateWnd();
}

// --- sources -----------------------------------------------------------------------------------

TpkBitmap* TpkCustomImageBtn::SourceImage(TComponent* source, bool pressed) {
  if (!source || source->IsDestroying()) return nullptr;
  if (auto* imager = dynamic_cast<TpkCustomImager*>(source)) return imager->GetWorkBitmap();
  if (auto* button = dynamic_cast<TpkCustomImageBtn*>(source)) return pressed ? button->imageDown_ : button->GetImage();
  return nullptr;
}

TpkBitmap* TpkCustomImageBtn::GetStateImage(bool pressed) {
  if (TpkBitmap* b = SourceImage(pressed ? extImageDown_ : extImage_, pressed)) return b;
  return pressed ? imageDown_ : GetImage();
}

TpkBitmap* TpkCustomImageBtn::GetImage() const {
  // A stored form, another button, a size or a shape asking while the window
  // is gone must see the pixels, not the empty bitmap they were parked from.
  const_cast<TpkCustomImageBtn*>(this)->RestoreParkedImage();
  return image_;
}

bool TpkCustomImageBtn::ImageParked() const { return image_->HasParkedPixels(); }

void TpkCustomImageBtn::RestoreParkedImage() {
  // Not again from inside a parking or an unparking (a follower told of the
  // change would ask for the image once more).
  if (parking_ || !image_->HasParkedPixels()) return;
  // Parking and unparking move the same pixels: no change to hear.
  pk_detail::TScopeExit parking([this, was = std::exchange(parking_, true)] { parking_ = was; });
  image_->UnparkPixels();
}

void TpkCustomImageBtn::Attach(TComponent* source) {
  if (!source) return;
  if (auto* imager = dynamic_cast<TpkCustomImager*>(source))
    imager->RegisterChanges(link_);
  else if (auto* button = dynamic_cast<TpkCustomImageBtn*>(source))
    button->image_->RegisterChanges(link_);
  source->FreeNotification(this);
}

void TpkCustomImageBtn::Detach(TComponent* source) {
  if (!source) return;
  if (auto* imager = dynamic_cast<TpkCustomImager*>(source))
    imager->UnregisterChanges(link_);
  else if (auto* button = dynamic_cast<TpkCustomImageBtn*>(source))
    button->image_->UnregisterChanges(link_);
}

void TpkCustomImageBtn::SetSource(TComponent*& field, TComponent* other, TComponent* value) {
  // One link per source: a source that both properties follow holds the
  // link once, until neither follows it (a second registration would
  // outlive this button in the source's list).
  TComponent* old = field;
  field = value;
  if (old && old != other) Detach(old);
  if (value && value != other) Attach(value);
  RecreateWnd();
}

void TpkCustomImageBtn::SetExtImage(TComponent* value) {
  if (extImage_ == value) return;
  if (value) image_->Assign(nullptr);
  SetSource(extImage_, extImageDown_, value);
}

void TpkCustomImageBtn::SetExtImageDown(TComponent* value) {
  if (extImageDown_ == value) return;
  if (value) imageDown_->Assign(nullptr);
  SetSource(extImageDown_, extImage_, value);
}

void TpkCustomImageBtn::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == extImage_) extImage_ = nullptr;
  if (component == extImageDown_) extImageDown_ = nullptr;
}

// --- images and regions ----------------------------------------------------------------------------

void TpkCustomImageBtn::ImageChanged(TObject* sender) {
  // Parking and unparking move the same pixels in and out of memory.
  if (IsDestroying() || applying_ || parking_) return;
  // New pixels make any parked copy stale: it must not come back over them
  // when the window is made again.
  if (sender == image_ && image_->HasParkedPixels()) image_->FreeParkedPixels();
  if (sender == GetStateImage(false) || sender == image_)
    FreeRegionBlob(RegionBlob(false));
  if (sender == GetStateImage(true) || sender == imageDown_)
    FreeRegionBlob(RegionBlob(true));
  InvalidateInParent(true);
  Invalidate();
}

TColor TpkCustomImageBtn::TransparentColorFor(bool pressed) {
  if (transparentColor_ == clNoRegion) return clNoRegion;
  if (transparentColor_ != clNone) return transparentColor_;
  TpkBitmap* img = pressed ? GetStateImage(true) : GetStateImage(false);
  if (pressed && img->GetEmpty()) img = GetStateImage(false);
  if (img->GetEmpty()) return clNone;
  const TpkBitmap* b = img;
  return ColorToRGB(PixelTColor(b->GetRow(0)[0])) & 0xFFFFFF;
}

HRGN TpkCustomImageBtn::GetStateRegion(bool createIfMissing, bool pressed) {
  if (transparentColor_ == clNoRegion) return nullptr;
  if (HRGN held = inherited::GetStateRegion(createIfMissing, pressed)) return held;
  TpkBitmap* up = GetStateImage(false);
  if (!createIfMissing || up->GetEmpty()) return nullptr;
  TpkBitmap* down = GetStateImage(true);
  TpkBitmap* source = (pressed && !down->GetEmpty()) ? down : up;
  Owned<TpkBitmap> scratch = MakeOwned<TpkBitmap>();
  scratch->SetRespectPalette(up->GetRespectPalette());
  RenderImage(source, scratch.get(), pressed, true, GetShadeStyle());
  TpkRegion region(BuildRegionFromPkBitmap(scratch.get(), TransparentColorFor(pressed)));
  if (GetShadeStyle() == fbsRaised && region) {
    // The raised face is drawn 2 pixels smaller at (0, 0) up and at (2, 2)
    // pressed; the up shape covers both so that a press stays inside it.
    TpkRegion moved(CreateRectRgn(0, 0, 0, 0));
    if (CombineRgn(moved.get(), region.get(), nullptr, RGN_COPY) != ERROR) {
      OffsetRgn(moved.get(), 2, 2);
      if (pressed)
        region = std::move(moved);
      else
        CombineRgn(region.get(), region.get(), moved.get(), RGN_OR);
    }
  }
  scratch.reset();
  StoreRegionData(region.get(), pressed);
  return region.release();
}

bool TpkCustomImageBtn::StateShapesDiffer() {
  bool both = !GetStateImage(false)->GetEmpty() && !GetStateImage(true)->GetEmpty();
  return (both || GetShadeStyle() == fbsRaised) && transparentColor_ != clNoRegion;
}

void TpkCustomImageBtn::ApplyRegion() {
  pk_detail::TScopeExit applying([this, was = std::exchange(applying_, true)] { applying_ = was; });
  inherited::ApplyRegion();
}

void TpkCustomImageBtn::SizeToImage() {
  TpkBitmap* up = GetStateImage(false);
  if (up->GetEmpty()) return;
  SetBounds(GetLeft(), GetTop(), up->GetWidth(), up->GetHeight());
  InvalidateInParent(true);
}

// --- rendering ---------------------------------------------------------------------------------------

void TpkCustomImageBtn::RenderImage(TpkBitmap* source, TpkBitmap* dest, bool pressed, bool shapeOnly,
                                    TpkShadeStyle shadeStyle) {
  int w = GetWidth(), h = GetHeight();
  if (shadeStyle == fbsRaised) {
    w -= 2;
    h -= 2;
  }
  if (w < 1 || h < 1) return;
  dest->SetSize(w, h);
  bool tinted = !shapeOnly && GetColor() != clNone;
  bool dithered = !shapeOnly && GetGroupIndex() > 0 && pressed && ditherColor_ != clNone &&
                  GetStateImage(true)->GetEmpty();
  TpkRegion clip;
  if (tinted || dithered) clip.reset(GetStateRegion(true, pressed));
  dest->GetCanvas()->StretchDraw(Rect(0, 0, w, h), source);
  if (tinted) {
    TClipScope scope(dest->GetCanvas(), clip.get());
    dest->SetTransparentColor(TransparentColorFor(pressed));
    TColor c = ColorToRGB(GetColor());
    dest->Colorize(GetRValue(c), GetGValue(c), GetBValue(c));
  }
  if (dithered) {
    if (shadeStyle == fbsRaised && clip) OffsetRgn(clip.get(), -2, -2);
    TClipScope scope(dest->GetCanvas(), clip.get());
    TRect all = Rect(0, 0, GetWidth(), GetHeight());
    switch (ditherStyle_) {
      case dsFill:
        dest->GetCanvas()->GetBrush()->SetStyle(bsSolid);
        dest->GetCanvas()->GetBrush()->SetColor(ditherColor_);
        dest->GetCanvas()->FillRect(all);
        break;
      case dsDither: FillChecker(dest->GetCanvas(), all, clSilver, ditherColor_); break;
      case dsBlendDither: FillChecker(dest->GetCanvas(), all, clNone, ditherColor_); break;
    }
  }
}

void TpkCustomImageBtn::DrawEdges(TpkBitmap* face, bool pressed) {
  int w = face->GetWidth(), h = face->GetHeight();
  if (w <= 0 || h <= 0) return;
  TpkShadeColors* sc = GetShadeColors();
  int highlight = ColorToPixel(sc->GetBtnHighlight());
  int light = ColorToPixel(sc->GetBtn3DLight());
  int shadow = ColorToPixel(sc->GetBtnShadow());
  int black = ColorToPixel(sc->GetBtnBlack());
  int focus = ColorToPixel(sc->GetBtnFocus());
  int enterOuter = pressed ? black : highlight, enterInner = pressed ? shadow : light;
  int exitOuter = pressed ? highlight : black, exitInner = pressed ? light : shadow;
  TColor key = TransparentColorFor(pressed);
  bool outerEdge = Focused() || GetDefault();
  bool focusStep = GetOptions().Contains(boFocusable) && Focused();

  // Shapes are read from the face as it was, so that edges already drawn
  // never count as shape; every write stays inside the bitmap.
  std::vector<uint32_t> shape(static_cast<size_t>(w) * static_cast<size_t>(h));
  const TpkBitmap* cface = face;
  for (int y = 0; y < h; ++y) {
    TPixelRow<const RGBTRIPLE> row = cface->GetRow(y);
    for (int x = 0; x < w; ++x)
      shape[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] =
          static_cast<uint32_t>(PixelTColor(row[x])) != static_cast<uint32_t>(key);
  }
  auto opaque = [&](int x, int y) {
    return shape[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] != 0;
  };
  auto put = [&](int x0, int y0, int k, int pixel) {
    int x = x0 + k, y = y0 + k;
    if (x >= 0 && y >= 0 && x < w && y < h) face->SetPixel(x, y, pixel);
  };
  auto diagonal = [&](int x0, int y0) {
    int n = std::min(w - x0, h - y0);
    int k = 0;
    while (k < n) {
      while (k < n && !opaque(x0 + k, y0 + k)) ++k;
      if (k >= n) break;
      int entry = k;
      while (k + 1 < n && opaque(x0 + k + 1, y0 + k + 1)) ++k;
      int exit = k;
      ++k;
      int e = entry, x = exit;
      if (outerEdge) {
        ++e;
        --x;
      }
      if (focusStep) ++e;
      put(x0, y0, e, enterOuter);
      put(x0, y0, e + 1, enterInner);
      put(x0, y0, x, exitOuter);
      put(x0, y0, x - 1, exitInner);
      if (outerEdge) {
        put(x0, y0, entry, black);
        put(x0, y0, exit, black);
      }
      if (focusStep && pressed) put(x0, y0, e - 1, focus);
    }
  };
  for (int x = w - 1; x >= 0; --x) diagonal(x, 0);
  for (int y = 1; y < h; ++y) diagonal(0, y);
}

void TpkCustomImageBtn::PaintFace(TpkBitmap* bitmap, bool shapeOnly, bool pressed, TpkShadeStyle shadeStyle) {
  int w = GetWidth(), h = GetHeight();
  // Without area there is no face: the bitmap stays as it is.
  if (w <= 0 || h <= 0) return;
  TpkBitmap* up = GetStateImage(false);
  bitmap->SetSizeIfChanged(w, h);
  if (GetRespectPalette()) {
    bitmap->SetColorTable(up->GetColorTable(), up->GetHasColorTable());
    bitmap->SetRespectPalette(true);
  }
  TCanvas* c = bitmap->GetCanvas();
  if (up->GetEmpty()) {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(clBtnFace);
    c->GetPen()->SetStyle(psDashDot);
    c->GetPen()->SetColor(clBlack);
    c->Rectangle(0, 0, w, h);
    return;
  }
  TpkBitmap* down = GetStateImage(true);
  bool hasDown = !down->GetEmpty();
  Owned<TpkBitmap> scratch = MakeOwned<TpkBitmap>();
  RenderImage(pressed && hasDown ? down : up, scratch.get(), pressed, shapeOnly, shadeStyle);
  POINT pos{0, 0};
  if (pressed && !hasDown) pos = POINT{GetImgOffsets()->GetImageDownX(), GetImgOffsets()->GetImageDownY()};

  if (shadeStyle == fbsHighlight || (shadeStyle == fbsFlat && GetMouseInControl())) {
    c->Draw(pos.x, pos.y, scratch.get());
    if (scratch->GetWidth() == bitmap->GetWidth() && scratch->GetHeight() == bitmap->GetHeight())
      DrawEdges(bitmap, pressed);
    return;
  }
  TColor shadow = GetShadeColors()->GetShadow();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(shadow);
  c->GetPen()->SetStyle(psSolid);
  c->GetPen()->SetColor(shadow);
  c->Rectangle(0, 0, w, h);
  if (transparentColor_ != clNoRegion && !scratch->GetEmpty()) {
    TColor key = TransparentColorFor(pressed);
    if (pressed && ditherStyle_ == dsBlendDither) {
      scratch->SetTransparentColor(key);
      scratch->SetTransparent(true);
    } else if (key != clNone) {
      scratch->ReplaceColor(ColorToPixel(key), ColorToPixel(shadow));
    }
  }
  c->Draw(pos.x, pos.y, scratch.get());
}

TColor TpkCustomImageBtn::PixelColorAt(TPoint point) {
  Owned<TpkBitmap> face = MakeOwned<TpkBitmap>();
  PaintFace(face.get(), false, GetDown(), GetShadeStyle());
  if (point.x < 0 || point.y < 0 || point.x >= face->GetWidth() || point.y >= face->GetHeight()) return clNone;
  const TpkBitmap* f = face.get();
  return PixelTColor(f->GetRow(point.y)[point.x]);
}

void TpkCustomImageBtn::BakeShading() {
  // Without area the faces would be empty and take the images with them.
  if (GetStateImage(false)->GetEmpty() || GetWidth() <= 0 || GetHeight() <= 0) return;
  Owned<TpkBitmap> upFace = MakeOwned<TpkBitmap>();
  Owned<TpkBitmap> downFace = MakeOwned<TpkBitmap>();
  PaintFace(upFace.get(), false, false, fbsHighlight);
  PaintFace(downFace.get(), false, true, fbsHighlight);
  // Without region use nothing lies outside the pressed shape: the whole
  // face is kept (no region would otherwise read as "all outside").
  if (UseRegion()) {
    TpkRegion pressedShape(GetStateRegion(true, true));
    downFace->SetTransparentColor(TransparentColorFor(true));
    FillOutsideRegion(downFace.get(), pressedShape.get());
  }
  SetImage(upFace.get());
  SetImageDown(downFace.get());
  RecreateWnd();
}

// --- window and copies ----------------------------------------------------------------------------------

void TpkCustomImageBtn::CreateWnd() {
  RestoreParkedImage();
  inherited::CreateWnd();
  ApplyRegion();
}

void TpkCustomImageBtn::DestroyWnd() {
  inherited::DestroyWnd();
  pk_detail::TScopeExit parking([this, was = std::exchange(parking_, true)] { parking_ = was; });
  image_->ParkPixels();
}

void TpkCustomImageBtn::AssignTo(TPersistent* dest) {
  auto* d = dynamic_cast<TpkCustomImageBtn*>(dest);
  if (!d) {
    inherited::AssignTo(dest);
    return;
  }
  d->SetDitherColor(ditherColor_);
  d->SetDitherStyle(ditherStyle_);
  d->SetExtImage(this);
  d->SetExtImageDown(this);
  d->GetOffsets()->Assign(GetOffsets());
  d->SetRespectPalette(GetRespectPalette());
  d->SetTransparentColor(transparentColor_);
}

// --- TpkImageBtn -------------------------------------------------------------------------------------------

PUBLISHED(TpkImageBtn) {
  using C = TpkCustomImageBtn;
  using B = TpkCustomBitBtn;
  PublishControlProps(p, {"Action"});
  p.Prop("AllowAllUp", &B::GetAllowAllUp, &B::SetAllowAllUp).Default(false);
  PublishControlProps(p, {"Anchors"});
  p.Prop("Cancel", &B::GetCancel, &B::SetCancel).Default(false);
  p.Prop("Caption", &TControl::GetCaption, &TControl::SetCaption).Stored(&B::CaptionStored);
  p.Prop("Color", &TControl::GetColor, &TControl::SetColor).Default(clWindow).Type(TColorTypeInfo());
  PublishControlProps(p, {"Constraints"});
  p.Prop("Default", &B::GetDefault, &B::SetDefault).Default(false);
  p.Prop("DitherColor", &C::GetDitherColor, &C::SetDitherColor).NoDefault().Type(TColorTypeInfo());
  p.Prop("DitherStyle", &C::GetDitherStyle, &C::SetDitherStyle).NoDefault();
  p.Prop("Down", &B::GetDown, &B::SetDown).Default(false);
  PublishControlProps(p, {"DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("ExtImage", &C::GetExtImage, &C::SetExtImage);
  p.Prop("ExtImageDown", &C::GetExtImageDown, &C::SetExtImageDown);
  PublishControlProps(p, {"Font"});
  p.Prop("Glyph", &B::GetGlyph, &B::SetGlyph).Stored(&B::GlyphStored);
  p.Prop("GroupIndex", &B::GetGroupIndex, &B::SetGroupIndex).Default(0);
  p.Prop("Image", &C::GetImage, &C::SetImage);
  p.Prop("ImageDown", &C::GetImageDown, &C::SetImageDown);
  p.Prop("Kind", &B::GetKind, &B::SetKind).Default(bkCustom);
  p.Prop("Layout", &B::GetLayout, &B::SetLayout).Default(blGlyphLeft);
  p.Prop("Margin", &B::GetMargin, &B::SetMargin).Default(-1);
  p.Prop("ModalResult", &B::GetModalResult, &B::SetModalResult).Default(0);
  p.Prop("NumGlyphs", &B::GetNumGlyphs, &B::SetNumGlyphs).Default(1);
  p.Prop("Offsets", &C::GetImgOffsets, &C::SetImgOffsets);
  p.Prop("Options", &B::GetOptions, &B::SetOptions).Default(TpkButtonOptions{});
  p.Prop("ParentClipping", &C::GetParentClipping, &C::SetParentClipping).NoDefault();
  PublishControlProps(p, {"ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("RespectPalette", &C::GetRespectPalette, &C::SetRespectPalette).Default(false);
  p.Prop("ShadeColors", &B::GetShadeColors, &B::SetShadeColors);
  p.Prop("ShadeStyle", &B::GetShadeStyle, &B::SetShadeStyle).NoDefault();
  PublishControlProps(p, {"ShowHint"});
  p.Prop("SmoothFont", &B::GetSmoothFont, &B::SetSmoothFont).Default(false);
  p.Prop("Spacing", &B::GetSpacing, &B::SetSpacing).Default(4);
  p.Prop("Style", &B::GetStyle, &B::SetStyle).Default(bsAutoDetect);
  PublishControlProps(p, {"TabOrder"});
  p.Prop("TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop).Default(false);
  p.Prop("TextOptions", &B::GetTextOptions, &B::SetTextOptions);
  p.Prop("TransparentColor", &C::GetTransparentColor, &C::SetTransparentColor).NoDefault().Type(TColorTypeInfo());
  PublishControlProps(p, {"Visible", "OnClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnEnter", "OnExit",
                          "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
  p.Prop("OnMouseEnter", &B::GetOnMouseEnter, &B::SetOnMouseEnter);
  p.Prop("OnMouseLeave", &B::GetOnMouseLeave, &B::SetOnMouseLeave);
  p.Prop("OnSelChange", &B::GetOnSelChange, &B::SetOnSelChange);
  PublishControlProps(p, {"OnStartDrag"});
}

void InitializePkImgBtn() {
  RegisterClasses({TpkImageBtn::StaticClass()});
}

void FinalizePkImgBtn() { UnRegisterClass(TpkImageBtn::StaticClass()); }
