#include "skin/pktext.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "classlib/SysUtils.h"
#include "skin/pkGdi.h"
#include "skin/pkShared.h"

using pk_detail::TScopeExit;

DEFINE_ENUM_TYPE(TpkTextStyle, "pklsDefault", "pklsLowered", "pklsRaised", "pklsOutline")
DEFINE_ENUM_TYPE(TpkOrientation, "pkTopLeft", "pkTopRight", "pkBottomLeft", "pkBottomRight", "pkTop", "pkRight",
                 "pkLeft", "pkBottom")
DEFINE_ENUM_TYPE(TpkVAlignment, "vaTop", "vaVCenter", "vaBottom")
DEFINE_ENUM_TYPE(TpkTextOption, "toShowAccel", "toShowEllipsis", "toFullJustify")

namespace {

const TPoint kOrientationVectors[] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}, {0, 1}, {-1, 0}, {1, 0}, {0, -1}};

// "Rounded down" as the renderer has always rounded: Round(x - 0.4999).
int RoundDown(double x) { return static_cast<int>(Round(x - 0.4999)); }

int Sign(int v) { return (v > 0) - (v < 0); }

TRect Shifted(const TRect& r, int dx, int dy) {
  TRect s = r;
  OffsetRect(&s, dx, dy);
  return s;
}

double Radians(int degrees) { return degrees * std::numbers::pi / 180; }

}  // namespace

TPoint OrientationVector(TpkOrientation orientation) {
  int i = static_cast<int>(orientation);
  return i >= 0 && i < 8 ? kOrientationVectors[i] : TPoint{0, 0};
}

// ---------------------------------------------------------------------------
// Option objects

PUBLISHED(TpkShadowEffects) {
  p.Prop("Color", &TpkShadowEffects::GetColor, &TpkShadowEffects::SetColor)
      .Type(TColorTypeInfo())
      .Default(clBtnShadow);
  p.Prop("Enabled", &TpkShadowEffects::GetEnabled, &TpkShadowEffects::SetEnabled).Default(false);
  p.Prop("XOffset", &TpkShadowEffects::GetXOffset, &TpkShadowEffects::SetXOffset).Default(10);
  p.Prop("YOffset", &TpkShadowEffects::GetYOffset, &TpkShadowEffects::SetYOffset).Default(10);
}

void TpkShadowEffects::AssignTo(TPersistent* dest) {
  if (auto* d = dynamic_cast<TpkShadowEffects*>(dest)) {
    d->SetColor(color_);
    d->SetEnabled(enabled_);
    d->SetXOffset(xOffset_);
    d->SetYOffset(yOffset_);
    return;
  }
  inherited::AssignTo(dest);
}

void TpkShadowEffects::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  renderer_->Changed();
}

void TpkShadowEffects::SetEnabled(bool value) {
  if (value == enabled_) return;
  renderer_->Layout();
  enabled_ = value;
  renderer_->Changed();
}

void TpkShadowEffects::SetXOffset(int value) {
  if (value == xOffset_) return;
  renderer_->Layout();
  xOffset_ = value;
  renderer_->Changed();
}

void TpkShadowEffects::SetYOffset(int value) {
  if (value == yOffset_) return;
  renderer_->Layout();
  yOffset_ = value;
  renderer_->Changed();
}

PUBLISHED(TpkExtrudeEffects) {
  p.Prop("Depth", &TpkExtrudeEffects::GetDepth, &TpkExtrudeEffects::SetDepth).Default(10);
  p.Prop("Enabled", &TpkExtrudeEffects::GetEnabled, &TpkExtrudeEffects::SetEnabled).Default(false);
  p.Prop("FarColor", &TpkExtrudeEffects::GetFarColor, &TpkExtrudeEffects::SetFarColor)
      .Type(TColorTypeInfo())
      .Default(clBlack);
  p.Prop("NearColor", &TpkExtrudeEffects::GetNearColor, &TpkExtrudeEffects::SetNearColor)
      .Type(TColorTypeInfo())
      .Default(clBlack);
  p.Prop("Orientation", &TpkExtrudeEffects::GetOrientation, &TpkExtrudeEffects::SetOrientation)
      .Default(pkBottomRight);
  p.Prop("Striated", &TpkExtrudeEffects::GetStriated, &TpkExtrudeEffects::SetStriated).Default(false);
}

void TpkExtrudeEffects::AssignTo(TPersistent* dest) {
  if (auto* d = dynamic_cast<TpkExtrudeEffects*>(dest)) {
    d->SetDepth(depth_);
    d->SetEnabled(enabled_);
    d->SetFarColor(farColor_);
    d->SetNearColor(nearColor_);
    d->SetOrientation(orientation_);
    d->SetStriated(striated_);
    return;
  }
  inherited::AssignTo(dest);
}

void TpkExtrudeEffects::SetDepth(int value) {
  if (value == depth_) return;
  renderer_->Layout();
  depth_ = value;
  renderer_->Changed();
}

void TpkExtrudeEffects::SetEnabled(bool value) {
  if (value == enabled_) return;
  renderer_->Layout();
  enabled_ = value;
  renderer_->Changed();
}

void TpkExtrudeEffects::SetFarColor(TColor value) {
  if (value == farColor_) return;
  farColor_ = value;
  renderer_->Changed();
}

void TpkExtrudeEffects::SetNearColor(TColor value) {
  if (value == nearColor_) return;
  nearColor_ = value;
  renderer_->Changed();
}

void TpkExtrudeEffects::SetOrientation(TpkOrientation value) {
  if (value == orientation_) return;
  renderer_->Layout();
  orientation_ = value;
  renderer_->Changed();
}

void TpkExtrudeEffects::SetStriated(bool value) {
  if (value == striated_) return;
  striated_ = value;
  renderer_->Changed();
}

PUBLISHED(TpkDisabledColors) {
  p.Prop("HighlightColor", &TpkDisabledColors::GetHighlightColor, &TpkDisabledColors::SetHighlightColor)
      .Type(TColorTypeInfo())
      .Default(clBtnHighlight);
  p.Prop("ShadeColor", &TpkDisabledColors::GetShadeColor, &TpkDisabledColors::SetShadeColor)
      .Type(TColorTypeInfo())
      .Default(clBtnShadow);
}

void TpkDisabledColors::AssignTo(TPersistent* dest) {
  if (auto* d = dynamic_cast<TpkDisabledColors*>(dest)) {
    d->SetHighlightColor(highlightColor_);
    d->SetShadeColor(shadeColor_);
    return;
  }
  inherited::AssignTo(dest);
}

// The disabled colours tell the owner directly, past the renderer's Changed.
void TpkDisabledColors::SetHighlightColor(TColor value) {
  if (value == highlightColor_) return;
  highlightColor_ = value;
  renderer_->TpkText::Changed();
}

void TpkDisabledColors::SetShadeColor(TColor value) {
  if (value == shadeColor_) return;
  shadeColor_ = value;
  renderer_->TpkText::Changed();
}

// ---------------------------------------------------------------------------
// TpkText: life and properties

IMPLEMENT_CLASS(TpkText)

TpkText::TpkText(TCanvas* canvas, TFont* font, const TNotifyEvent& onChange, const TNotifyEvent& onLayout,
                 const TpkEnabledQuery& isEnabled)
    : canvas_(canvas), font_(font), onChange_(onChange), onLayout_(onLayout), isEnabled_(isEnabled) {
  disabledColors_ = New<TpkDisabledColors>(this);
  extrudeEffects_ = New<TpkExtrudeEffects>(this);
  shadow_ = New<TpkShadowEffects>(this);
}

void TpkText::Destroy() {
  FreeAndNil(shadow_);
  FreeAndNil(extrudeEffects_);
  FreeAndNil(disabledColors_);
  inherited::Destroy();
}

void TpkText::AssignTo(TPersistent* dest) {
  if (auto* d = dynamic_cast<TpkText*>(dest)) {
    d->SetAlignment(alignment_);
    d->SetDisabledColors(disabledColors_);
    d->SetExtrudeEffects(extrudeEffects_);
    d->SetHighlightColor(highlightColor_);
    d->SetLineSpacing(lineSpacing_);
    d->SetOptions(options_);
    d->SetOutlineColor(outlineColor_);
    d->SetRotation(rotation_);
    d->SetShadeColor(shadeColor_);
    d->SetShadow(shadow_);
    d->SetStyle(style_);
    d->SetVAlignment(vAlignment_);
    d->SetWordWrap(wordWrap_);
    d->SetDoubleBuffered(doubleBuffered_);
    return;
  }
  inherited::AssignTo(dest);
}

void TpkText::Changed() {
  if (onChange_) onChange_(this);
}

void TpkText::Layout() {
  if (onLayout_) onLayout_(this);
}

void TpkText::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Changed();
}

void TpkText::SetHighlightColor(TColor value) {
  if (value == highlightColor_) return;
  highlightColor_ = value;
  Changed();
}

void TpkText::SetOutlineColor(TColor value) {
  if (value == outlineColor_) return;
  outlineColor_ = value;
  Changed();
}

void TpkText::SetShadeColor(TColor value) {
  if (value == shadeColor_) return;
  shadeColor_ = value;
  Changed();
}

void TpkText::SetVAlignment(TpkVAlignment value) {
  if (value == vAlignment_) return;
  vAlignment_ = value;
  Changed();
}

void TpkText::SetLineSpacing(int value) {
  if (value == lineSpacing_) return;
  Layout();
  lineSpacing_ = value;
  Changed();
}

void TpkText::SetStyle(TpkTextStyle value) {
  if (value == style_) return;
  Layout();
  style_ = value;
  Changed();
}

void TpkText::SetOptions(TpkTextOptions value) {
  if (value == options_) return;
  options_ = value;
  SetFlag(!value.Contains(toShowAccel), flags_, static_cast<UINT>(DT_NOPREFIX));
  SetFlag(value.Contains(toShowEllipsis), flags_, static_cast<UINT>(DT_END_ELLIPSIS));
  Layout();
  Changed();
}

void TpkText::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  SetFlag(value, flags_, static_cast<UINT>(DT_WORDBREAK));
  Changed();
}

void TpkText::SetRotation(int value) {
  int64_t a = value;
  rotation_ = static_cast<int>(a < 0 ? 360 - (-a % 360) : a % 360);
  Layout();
  Changed();
}

// ---------------------------------------------------------------------------
// Measuring

TCanvas* TpkText::GetCanvas() { return useOffscreen_ && offscreen_ ? offscreen_->GetCanvas() : canvas_; }

void TpkText::AssignFont(TFont* font) {
  if (font) GetCanvas()->GetFont()->Assign(font);
}

std::string TpkText::ShownText() const {
  return options_.Contains(toShowAccel) ? StripAccelerators(caption_) : caption_;
}

void TpkText::GetLogFont(LOGFONTA& lf) {
  lf = LOGFONTA{};
  lf.lfHeight = font_->GetHeight();
  if (scaleFont_) lf.lfHeight = RoundDown(static_cast<double>(lf.lfHeight) * ScreenLogPixels() / 96);
  lf.lfWidth = 0;
  lf.lfEscapement = lf.lfOrientation = rotation_ * 10;
  lf.lfWeight = font_->GetStyle().Contains(fsBold) ? 700 : 400;
  lf.lfItalic = font_->GetStyle().Contains(fsItalic);
  lf.lfUnderline = font_->GetStyle().Contains(fsUnderline);
  lf.lfStrikeOut = font_->GetStyle().Contains(fsStrikeOut);
  lf.lfCharSet = font_->GetCharset() == DEFAULT_CHARSET ? 0 : font_->GetCharset();
  // TrueType only when rotated: bitmap faces cannot turn.
  lf.lfOutPrecision = rotation_ == 0 ? OUT_TT_PRECIS : OUT_TT_ONLY_PRECIS;
  lf.lfClipPrecision = 0;
  lf.lfQuality = 2;
  lf.lfPitchAndFamily = 2;
  std::strncpy(lf.lfFaceName, font_->GetName().c_str(), LF_FACESIZE - 1);
}

TPoint TpkText::ShadowOffset() const {
  if (!shadow_->GetEnabled()) return TPoint{0, 0};
  TPoint s{shadow_->GetXOffset(), shadow_->GetYOffset()};
  if (extrudeEffects_->GetEnabled()) {
    TPoint v = OrientationVector(extrudeEffects_->GetOrientation());
    if (Sign(s.x) != Sign(v.x)) s.x = 0;
    if (Sign(s.y) != Sign(v.y)) s.y = 0;
  }
  return s;
}

TPoint TpkText::ExtrudeOffset(bool full) const {
  if (!extrudeEffects_->GetEnabled()) return TPoint{0, 0};
  int depth = extrudeEffects_->GetDepth();
  if (!full) return TPoint{depth, depth};
  TPoint v = OrientationVector(extrudeEffects_->GetOrientation());
  return TPoint{depth * std::abs(v.x), depth * std::abs(v.y)};
}

void TpkText::GetTextExtent(TSize& size) {
  int width = 0;
  if (wordWrap_) width = RectWidth(textRect_) - std::max(ShadowOffset().x, ExtrudeOffset(false).x);
  MultiLineExtent(GetCanvas(), ShownText(), lineSpacing_, size, flags_, width);
  size.cx += 1;
}

void TpkText::GetRotatedSize(bool clip, TSize& size) {
  TSize ext;
  GetTextExtent(ext);
  TPoint eo = ExtrudeOffset(false), so = ShadowOffset();
  double w = ext.cx + eo.x + so.x, h = ext.cy + eo.y + so.y;
  if (style_ == pklsOutline) {
    w += 2;
    h += 2;
  }
  const double theta = Radians(rotation_);
  const double s = std::fabs(std::sin(theta)), c = std::fabs(std::cos(theta));
  size.cx = RoundDown(s * h + c * w);
  size.cy = RoundDown(c * h + s * w);
  if (!clip) {
    size.cx = std::min<LONG>(size.cx, RectWidth(textRect_));
    size.cy = std::min<LONG>(size.cy, RectHeight(textRect_));
  }
}

void TpkText::GetDrawRect(bool clip, TRect& rect) {
  TSize rotated, ext;
  GetRotatedSize(clip, rotated);
  GetTextExtent(ext);
  TPoint so = ShadowOffset(), eo = ExtrudeOffset(false);
  const double theta = Radians(rotation_);
  const double s = std::sin(theta), c = std::cos(theta);
  // The text's origin such that the turned text (with its shadow and
  // extrusion) is centred on the text rectangle: back along the baseline by
  // half its width, up against the text's downward direction by half its
  // height.
  const int cx = (textRect_.left + textRect_.right) / 2, cy = (textRect_.top + textRect_.bottom) / 2;
  int left = cx - (so.x + eo.x) / 2 - RoundDown(c * ext.cx) / 2 - RoundDown(s * ext.cy) / 2;
  int top = cy - (so.y + eo.y) / 2 + RoundDown(s * ext.cx) / 2 - RoundDown(c * ext.cy) / 2;
  rect = Bounds(left, top, rotated.cx, rotated.cy);
  if (rect.left < textRect_.left) OffsetRect(&rect, textRect_.left - rect.left, 0);
  if (rect.top < textRect_.top) OffsetRect(&rect, 0, textRect_.top - rect.top);
}

void TpkText::CalcRect(bool clip, TRect& rect) {
  LOGFONTA lf;
  GetLogFont(lf);
  GetCanvas()->GetFont()->SetHandle(CreateFontIndirectA(&lf));
  TScopeExit restore([this] { AssignFont(font_); });
  GetDrawRect(clip, rect);
}

// ---------------------------------------------------------------------------
// Drawing

void TpkText::PrepareFont() {
  LOGFONTA lf;
  GetLogFont(lf);
  TFont* f = GetCanvas()->GetFont();
  f->SetHandle(CreateFontIndirectA(&lf));
  f->SetColor(font_->GetColor());
  GetDrawRect(false, drawRect_);
}

void TpkText::DrawTextIn(const TRect& r, TColor color) {
  GetCanvas()->GetFont()->SetColor(color);
  DrawTextAt(r);
}

void TpkText::DrawTextAt(const TRect& rect) {
  TCanvas* canvas = GetCanvas();
  HDC dc = canvas->GetHandle();
  SetBkMode(dc, TRANSPARENT);
  const double theta = Radians(rotation_);
  if (wordWrap_ && options_.Contains(toFullJustify)) {
    DrawJustified(dc, rect, ShownText(), theta);
    return;
  }
  const double s = std::sin(theta), c = std::cos(theta);
  TRect r = rect;
  const int count = CountOf(caption_, "\r\n") + 1;
  for (int i = 0; i < count; ++i) {
    std::string line = NthField(caption_, "\r\n", i);
    TRect lr = r;
    DrawTextExA(dc, line.data(), static_cast<int>(line.size()), &lr, flags_, nullptr);
    int step = TextHeightIn(canvas, flags_, RectWidth(r), line) + lineSpacing_;
    OffsetRect(&r, RoundDown(s * step), RoundDown(c * step));
  }
}

void TpkText::DrawJustified(HDC dc, TRect r, const std::string& text, double theta) {
  TCanvas* canvas = GetCanvas();
  const double s = std::sin(theta), c = std::cos(theta);
  const int width = RectWidth(r);
  const int lineHeight = TextHeightIn(canvas, flags_, std::max(5, width), "AgTpjW");
  auto advance = [&](int by) { OffsetRect(&r, RoundDown(s * by), RoundDown(c * by)); };
  auto put = [&](const std::string& line, bool justify) {
    std::string trimmed = Trim(line);
    int spaces = static_cast<int>(std::count(trimmed.begin(), trimmed.end(), ' '));
    int extra = width - canvas->TextWidth(trimmed);
    if (justify && spaces > 0 && extra > 0) SetTextJustification(dc, extra, spaces);
    TextOutA(dc, r.left, r.top, trimmed.data(), static_cast<int>(trimmed.size()));
    SetTextJustification(dc, 0, 0);
    advance(lineHeight);
  };
  const std::string separator = CountOf(text, "\n\n") >= 2 ? "\n\n" : "\r\n";
  const int paragraphs = CountOf(text, separator) + 1;
  for (int p = 0; p < paragraphs; ++p) {
    const std::string paragraph = NthField(text, separator, p);
    std::vector<std::string> words;
    std::string word;
    for (int pos = 1; NextToken(paragraph, pos, {ntSkipBlanks}, word, " ");)
      if (!word.empty()) words.push_back(word);
    std::string line;
    for (const std::string& w : words) {
      // A line takes words while they fit, and always at least one, so that
      // a word wider than the rectangle still ends up on a line of its own.
      if (!line.empty() && canvas->TextWidth(line) + canvas->TextWidth(w) >= width) {
        put(line, true);
        line.clear();
      }
      line += w + " ";
    }
    put(line, false);
    advance(lineSpacing_);
  }
}

void TpkText::DrawShadow(const TRect& rect) {
  if (!shadow_->GetEnabled()) return;
  DrawTextIn(Shifted(rect, shadow_->GetXOffset(), shadow_->GetYOffset()),
             TextEnabled() ? shadow_->GetColor() : disabledColors_->GetShadeColor());
}

void TpkText::DrawHighlight() {
  TPoint v = OrientationVector(extrudeEffects_->GetOrientation());
  DrawTextIn(Shifted(drawRect_, -v.x, -v.y), highlightColor_);
  DrawTextIn(drawRect_, font_->GetColor());
}

void TpkText::DrawOutline() {
  TColor color = TextEnabled() ? outlineColor_ : disabledColors_->GetShadeColor();
  for (const TPoint& v : kOrientationVectors) DrawTextIn(Shifted(drawRect_, v.x, v.y), color);
}

void TpkText::DrawExtrusion() {
  if (!extrudeEffects_->GetEnabled()) return;
  const TpkColorBytes nearC = SplitColor(extrudeEffects_->GetNearColor());
  const TpkColorBytes farC = SplitColor(extrudeEffects_->GetFarColor());
  const TPoint v = OrientationVector(extrudeEffects_->GetOrientation());
  const TPoint full = ExtrudeOffset(true);
  const int depth = extrudeEffects_->GetDepth();
  // The steps start behind the text and end where the text is drawn.
  TRect r = Shifted(drawRect_, full.x / 2, full.y / 2);
  OffsetRect(&r, -(full.x / 2) * v.x, -(full.y / 2) * v.y);
  auto ramp = [&](int f, int n, int i) { return RoundDown(f + static_cast<double>(n - f) * i / depth); };
  for (int i = 1; i <= depth; ++i) {
    OffsetRect(&r, v.x, v.y);
    int red = ramp(farC.R, nearC.R, i), green = ramp(farC.G, nearC.G, i), blue = ramp(farC.B, nearC.B, i);
    if (extrudeEffects_->GetStriated() && i % 2 == 0) {
      // A darker stripe on every even step.
      red /= 4;
      green /= 4;
      blue /= 4;
    }
    DrawTextIn(r, static_cast<TColor>(RGB(red, green, blue)));
  }
  drawRect_ = r;
}

void TpkText::DrawDefault() {
  if (!TextEnabled()) {
    DrawEmbossed(false);
    return;
  }
  PrepareFont();
  TScopeExit restore([this] { AssignFont(font_); });
  DrawExtrusion();
  DrawShadow(drawRect_);
  DrawTextIn(drawRect_, font_->GetColor());
}

void TpkText::DrawEmbossed(bool raised) {
  TCanvas* canvas = GetCanvas();
  canvas->Lock();
  TScopeExit unlock([canvas] { canvas->Unlock(); });
  PrepareFont();
  TScopeExit restore([this] { AssignFont(font_); });
  DrawExtrusion();
  DrawShadow(drawRect_);
  const bool enabled = TextEnabled();
  const TColor h = enabled ? highlightColor_ : disabledColors_->GetHighlightColor();
  const TColor s = enabled ? shadeColor_ : disabledColors_->GetShadeColor();
  if (enabled && (s != clNone || raised) && !(h == clNone && raised))
    DrawTextIn(Shifted(drawRect_, -1, -1), raised ? h : s);
  if ((h != clNone || raised) && !(s == clNone && raised)) DrawTextIn(Shifted(drawRect_, 1, 1), raised ? s : h);
  DrawTextIn(drawRect_, enabled ? font_->GetColor() : disabledColors_->GetShadeColor());
}

void TpkText::DrawOutlined() {
  PrepareFont();
  TScopeExit restore([this] { AssignFont(font_); });
  DrawExtrusion();
  DrawShadow(drawRect_);
  DrawOutline();
  DrawTextIn(drawRect_, TextEnabled() ? font_->GetColor() : disabledColors_->GetHighlightColor());
}

void TpkText::Draw() {
  if (!canvas_ || !font_) return;
  // The owner sets the text rectangle before each draw; alignment narrows it
  // only for this one.
  const TRect savedRect = textRect_;
  TScopeExit restoreRect([this, savedRect] { textRect_ = savedRect; });

  Owned<TBitmap> offscreen;
  TRect clip{};
  if (doubleBuffered_) {
    clip = canvas_->GetClipRect();
    if (RectWidth(clip) <= 0 || RectHeight(clip) <= 0) return;
    offscreen = MakeOwned<TBitmap>();
    offscreen->SetPixelFormat(pf24bit);
    offscreen->SetSize(RectWidth(clip), RectHeight(clip));
    HDC off = offscreen->GetCanvas()->GetHandle();
    BitBlt(off, 0, 0, RectWidth(clip), RectHeight(clip), canvas_->GetHandle(), clip.left, clip.top, SRCCOPY);
    // The offscreen bitmap stands where the clip rectangle is.
    SetWindowOrgEx(off, clip.left, clip.top, nullptr);
    offscreen_ = offscreen.get();
    useOffscreen_ = true;
  }
  TScopeExit endOffscreen([this] {
    useOffscreen_ = false;
    offscreen_ = nullptr;
  });

  flags_ &= ~static_cast<UINT>(DT_CENTER | DT_RIGHT);
  if (rotation_ % 360 == 0) {
    if (alignment_ == taCenter) flags_ |= DT_CENTER;
    if (alignment_ == taRightJustify) flags_ |= DT_RIGHT;
    if (alignment_ != taCenter || vAlignment_ != vaVCenter) {
      TRect computed;
      CalcRect(false, computed);
      if (alignment_ == taLeftJustify) textRect_.right = textRect_.left + RectWidth(computed);
      if (alignment_ == taRightJustify) textRect_.left = textRect_.right - RectWidth(computed);
      if (vAlignment_ == vaTop) textRect_.bottom = textRect_.top + RectHeight(computed);
      if (vAlignment_ == vaBottom) textRect_.top = textRect_.bottom - RectHeight(computed);
    }
  }
  switch (style_) {
    case pklsDefault: DrawDefault(); break;
    case pklsLowered: DrawEmbossed(false); break;
    case pklsRaised: DrawEmbossed(true); break;
    case pklsOutline: DrawOutlined(); break;
  }
  if (offscreen) {
    HDC off = offscreen->GetCanvas()->GetHandle();
    SetWindowOrgEx(off, 0, 0, nullptr);
    BitBlt(canvas_->GetHandle(), clip.left, clip.top, RectWidth(clip), RectHeight(clip), off, 0, 0, SRCCOPY);
  }
}

// ---------------------------------------------------------------------------

PUBLISHED(TpkCaptionText) {
  p.Prop("Alignment", &TpkText::GetAlignment, &TpkText::SetAlignment);
  p.Prop("DisabledColors", &TpkText::GetDisabledColors, &TpkText::SetDisabledColors);
  p.Prop("ExtrudeEffects", &TpkText::GetExtrudeEffects, &TpkText::SetExtrudeEffects);
  p.Prop("HighlightColor", &TpkText::GetHighlightColor, &TpkText::SetHighlightColor)
      .Type(TColorTypeInfo())
      .Default(clBtnHighlight);
  p.Prop("LineSpacing", &TpkText::GetLineSpacing, &TpkText::SetLineSpacing).Default(5);
  p.Prop("Options", &TpkText::GetOptions, &TpkText::SetOptions).Default(TpkTextOptions{toShowAccel});
  p.Prop("OutlineColor", &TpkText::GetOutlineColor, &TpkText::SetOutlineColor)
      .Type(TColorTypeInfo())
      .Default(clBlack);
  p.Prop("Rotation", &TpkText::GetRotation, &TpkText::SetRotation).Default(0);
  p.Prop("ShadeColor", &TpkText::GetShadeColor, &TpkText::SetShadeColor)
      .Type(TColorTypeInfo())
      .Default(clBtnShadow);
  p.Prop("Shadow", &TpkText::GetShadow, &TpkText::SetShadow);
  p.Prop("Style", &TpkText::GetStyle, &TpkText::SetStyle).Default(pklsDefault);
  p.Prop("VAlignment", &TpkText::GetVAlignment, &TpkText::SetVAlignment);
  p.Prop("WordWrap", &TpkText::GetWordWrap, &TpkText::SetWordWrap).Default(false);
  p.Prop("DoubleBuffered", &TpkText::GetDoubleBuffered, &TpkText::SetDoubleBuffered).Default(false);
}
