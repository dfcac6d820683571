#include "classlib/graphics/GraphicsObjects.h"

#include <cstring>

#include "classlib/graphics/Bitmap.h"

DEFINE_ENUM_TYPE(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
DEFINE_ENUM_TYPE(TFontPitch, "fpDefault", "fpVariable", "fpFixed")
DEFINE_ENUM_TYPE(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame")
DEFINE_ENUM_TYPE(TPenMode, "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
                 "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask",
                 "pmXor", "pmNotXor")
DEFINE_ENUM_TYPE(TBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
                 "bsCross", "bsDiagCross")

int ScreenLogPixels() {
  HDC dc = GetDC(nullptr);
  int ppi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return ppi > 0 ? ppi : 96;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TGraphicsObject)

void TGraphicsObject::Changed() {
  if (onChange_) onChange_(this);
}

// ---------------------------------------------------------------------------
PUBLISHED(TFont) {
  p.Prop("Charset", &TFont::GetCharset, &TFont::SetCharset).Type(TFontCharsetTypeInfo()).NoDefault();
  p.Prop("Color", &TFont::GetColor, &TFont::SetColor).Type(TColorTypeInfo()).NoDefault();
  p.Prop("Height", &TFont::GetHeight, &TFont::SetHeight).NoDefault();
  p.Prop("Name", &TFont::GetName, &TFont::SetName);
  p.Prop("Pitch", &TFont::GetPitch, &TFont::SetPitch).Default(fpDefault);
  p.Prop("Size", &TFont::GetSize, &TFont::SetSize).Stored(false);
  p.Prop("Style", &TFont::GetStyle, &TFont::SetStyle).NoDefault();
}

TFont::TFont() : pixelsPerInch_(ScreenLogPixels()), height_(-MulDiv(8, pixelsPerInch_, 72)) {}

TFont::~TFont() {
  if (handle_) DeleteObject(handle_);
}

void TFont::DataChanged() {
  HFONT old = handle_;
  handle_ = nullptr;
  adopted_ = false;
  Changed();
  if (old) DeleteObject(old);
}

// Assigning fires OnChange only when something differs, as the platform's
// shared font, pen and brush descriptions do: a control given the font it
// already has must not take it for a change of its own (ParentFont).
void TFont::Assign(TPersistent* source) {
  if (auto* f = dynamic_cast<TFont*>(source)) {
    if (f == this) return;
    // A font of another resolution keeps its point size here.
    int height = pixelsPerInch_ != f->pixelsPerInch_ ? -MulDiv(f->GetSize(), pixelsPerInch_, 72) : f->height_;
    bool sameHandle = !adopted_ && name_ == f->name_ && height_ == height && style_ == f->style_ &&
                      charset_ == f->charset_ && pitch_ == f->pitch_;
    bool sameColor = color_ == f->color_;
    if (sameHandle && sameColor) return;
    name_ = f->name_;
    height_ = height;
    style_ = f->style_;
    charset_ = f->charset_;
    pitch_ = f->pitch_;
    color_ = f->color_;
    if (sameHandle) Changed();  // the colour is not part of the GDI font
    else DataChanged();
    return;
  }
  inherited::Assign(source);
}

HFONT TFont::GetHandle() {
  if (!handle_) {
    LOGFONTA lf{};
    lf.lfHeight = height_;
    lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style_.Contains(fsItalic);
    lf.lfUnderline = style_.Contains(fsUnderline);
    lf.lfStrikeOut = style_.Contains(fsStrikeOut);
    lf.lfCharSet = charset_;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = pitch_ == fpVariable ? VARIABLE_PITCH : pitch_ == fpFixed ? FIXED_PITCH : DEFAULT_PITCH;
    std::strncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
    handle_ = CreateFontIndirectA(&lf);
  }
  return handle_;
}

void TFont::SetHandle(HFONT font) {
  if (font == handle_) return;
  LOGFONTA lf{};
  if (font && GetObjectA(font, sizeof lf, &lf) == sizeof lf) {
    height_ = lf.lfHeight;
    style_ = {};
    if (lf.lfWeight >= FW_BOLD) style_.Include(fsBold);
    if (lf.lfItalic) style_.Include(fsItalic);
    if (lf.lfUnderline) style_.Include(fsUnderline);
    if (lf.lfStrikeOut) style_.Include(fsStrikeOut);
    charset_ = lf.lfCharSet;
    int pitch = lf.lfPitchAndFamily & 3;
    pitch_ = pitch == VARIABLE_PITCH ? fpVariable : pitch == FIXED_PITCH ? fpFixed : fpDefault;
    name_ = lf.lfFaceName;
  }
  HFONT old = handle_;
  handle_ = font;
  adopted_ = font != nullptr;
  Changed();
  if (old) DeleteObject(old);
}

void TFont::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  // The colour is not part of the GDI font: the handle stays.
  Changed();
}

void TFont::SetHeight(int v) {
  if (v == height_) return;
  height_ = v;
  DataChanged();
}

int TFont::GetSize() const { return -MulDiv(height_, 72, pixelsPerInch_); }

void TFont::SetSize(int v) { SetHeight(-MulDiv(v, pixelsPerInch_, 72)); }

void TFont::SetName(const std::string& v) {
  if (v.empty() || v == name_) return;
  name_ = v;
  DataChanged();
}

void TFont::SetStyle(TFontStyles v) {
  if (v == style_) return;
  style_ = v;
  DataChanged();
}

void TFont::SetCharset(TFontCharset v) {
  if (v == charset_) return;
  charset_ = v;
  DataChanged();
}

void TFont::SetPitch(TFontPitch v) {
  if (v == pitch_) return;
  pitch_ = v;
  DataChanged();
}

// ---------------------------------------------------------------------------
int PenModeToROP2(TPenMode mode) {
  static const int kModes[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN,
                               R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,
                               R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN, R2_NOTXORPEN};
  return kModes[mode];
}

PUBLISHED(TPen) {
  p.Prop("Color", &TPen::GetColor, &TPen::SetColor).Type(TColorTypeInfo()).Default(clBlack);
  p.Prop("Mode", &TPen::GetMode, &TPen::SetMode).Default(pmCopy);
  p.Prop("Style", &TPen::GetStyle, &TPen::SetStyle).Default(psSolid);
  p.Prop("Width", &TPen::GetWidth, &TPen::SetWidth).Default(1);
}

TPen::~TPen() {
  if (handle_) DeleteObject(handle_);
}

void TPen::DataChanged() {
  HPEN old = handle_;
  handle_ = nullptr;
  Changed();
  if (old) DeleteObject(old);
}

void TPen::Assign(TPersistent* source) {
  if (auto* p = dynamic_cast<TPen*>(source)) {
    if (p == this) return;
    bool sameHandle = color_ == p->color_ && width_ == p->width_ && style_ == p->style_;
    if (sameHandle && mode_ == p->mode_) return;
    color_ = p->color_;
    width_ = p->width_;
    style_ = p->style_;
    mode_ = p->mode_;
    if (sameHandle) Changed();  // the mode is the DC's ROP2, not part of the GDI pen
    else DataChanged();
    return;
  }
  inherited::Assign(source);
}

HPEN TPen::GetHandle() {
  if (!handle_) {
    static const UINT kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    LOGPEN lp{};
    lp.lopnStyle = kStyles[style_];
    lp.lopnWidth.x = width_;
    lp.lopnColor = static_cast<COLORREF>(ColorToRGB(color_));
    handle_ = CreatePenIndirect(&lp);
  }
  return handle_;
}

void TPen::SetHandle(HPEN pen) {
  if (pen == handle_) return;
  LOGPEN lp{};
  if (pen && GetObjectA(pen, sizeof lp, &lp) == sizeof lp) {
    switch (lp.lopnStyle) {
      case PS_DASH: style_ = psDash; break;
      case PS_DOT: style_ = psDot; break;
      case PS_DASHDOT: style_ = psDashDot; break;
      case PS_DASHDOTDOT: style_ = psDashDotDot; break;
      case PS_NULL: style_ = psClear; break;
      case PS_INSIDEFRAME: style_ = psInsideFrame; break;
      default: style_ = psSolid; break;
    }
    width_ = lp.lopnWidth.x;
    color_ = static_cast<TColor>(lp.lopnColor);
  }
  HPEN old = handle_;
  handle_ = pen;
  Changed();
  if (old) DeleteObject(old);
}

void TPen::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  DataChanged();
}

void TPen::SetWidth(int v) {
  if (v < 0 || v == width_) return;
  width_ = v;
  DataChanged();
}

void TPen::SetStyle(TPenStyle v) {
  if (v == style_) return;
  style_ = v;
  DataChanged();
}

void TPen::SetMode(TPenMode v) {
  if (v == mode_) return;
  mode_ = v;
  // The mode is the DC's ROP2, not part of the GDI pen.
  Changed();
}

// ---------------------------------------------------------------------------
PUBLISHED(TBrush) {
  p.Prop("Color", &TBrush::GetColor, &TBrush::SetColor).Type(TColorTypeInfo()).Default(clWhite);
  p.Prop("Style", &TBrush::GetStyle, &TBrush::SetStyle).Default(bsSolid);
}

TBrush::~TBrush() {
  if (handle_) DeleteObject(handle_);
}

void TBrush::DataChanged() {
  HBRUSH old = handle_;
  handle_ = nullptr;
  Changed();
  if (old) DeleteObject(old);
}

void TBrush::Assign(TPersistent* source) {
  if (auto* b = dynamic_cast<TBrush*>(source)) {
    if (b != this) SetData(b->color_, b->style_, b->bitmap_);
    return;
  }
  inherited::Assign(source);
}

HBRUSH TBrush::GetHandle() {
  if (!handle_) {
    LOGBRUSH lb{};
    lb.lbColor = static_cast<COLORREF>(ColorToRGB(color_));
    if (bitmap_ && !bitmap_->GetEmpty()) {
      // GDI copies the pattern: the bitmap may change or go while the brush lives.
      handle_ = CreatePatternBrush(bitmap_->GetHandle());
      return handle_;
    }
    switch (style_) {
      case bsSolid: lb.lbStyle = BS_SOLID; break;
      case bsClear: lb.lbStyle = BS_HOLLOW; break;
      default:
        lb.lbStyle = BS_HATCHED;
        lb.lbHatch = static_cast<ULONG_PTR>(style_ - bsHorizontal);  // HS_HORIZONTAL .. HS_DIAGCROSS
        break;
    }
    handle_ = CreateBrushIndirect(&lb);
  }
  return handle_;
}

void TBrush::SetHandle(HBRUSH brush) {
  if (brush == handle_) return;
  LOGBRUSH lb{};
  if (brush && GetObjectA(brush, sizeof lb, &lb) == sizeof lb) {
    color_ = static_cast<TColor>(lb.lbColor);
    bitmap_ = nullptr;
    if (lb.lbStyle == BS_HOLLOW) style_ = bsClear;
    else if (lb.lbStyle == BS_HATCHED && lb.lbHatch <= HS_DIAGCROSS)
      style_ = static_cast<TBrushStyle>(bsHorizontal + static_cast<int>(lb.lbHatch));
    else style_ = bsSolid;
  }
  HBRUSH old = handle_;
  handle_ = brush;
  Changed();
  if (old) DeleteObject(old);
}

// The brush's description changes as a whole: a change fires OnChange (and
// drops the handle) only when the result differs, as the platform's shared
// brush resources do.
void TBrush::SetData(TColor color, TBrushStyle style, TBitmap* bitmap) {
  if (color == color_ && style == style_ && bitmap == bitmap_) return;
  color_ = color;
  style_ = style;
  bitmap_ = bitmap;
  DataChanged();
}

void TBrush::SetColor(TColor v) { SetData(v, style_ == bsClear ? bsSolid : style_, bitmap_); }

// A clear brush is white, so that a later solid style paints white, as on
// the platform; a pattern bitmap stays (it wins over the style).
void TBrush::SetStyle(TBrushStyle v) { SetData(v == bsClear ? clWhite : color_, v, bitmap_); }

// A pattern starts from the default brush: white and solid.
void TBrush::SetBitmap(TBitmap* v) { SetData(clWhite, bsSolid, v); }
