// The status panes of unit KxStatus.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "classlib/Controls.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"
#include "classlib/SysUtils.h"
#include "kx/foundation/KxStatus.h"
#include "kx/foundation/KxSysRes.h"
#include "kx/foundation/KxThemeSrv.h"

DEFINE_ENUM_TYPE(TGlyphAlignment, "gaLeft", "gaRight")
DEFINE_ENUM_TYPE(TKxToggleKey, "tkCapsLock", "tkNumLock", "tkScrollLock", "tkInsert")
DEFINE_ENUM_TYPE(TKxToggleState, "tsOn", "tsOff")
DEFINE_ENUM_TYPE(TKxInsertState, "isInsert", "isOverwrite")
DEFINE_ENUM_TYPE(TResourceType, "rtSystem", "rtMemory")
DEFINE_ENUM_TYPE(TDisplayStyle, "dsBar", "dsText")

namespace {

// SetTextAlign's anchor of each TAlignment (taLeftJustify, taRightJustify,
// taCenter).
constexpr UINT kTextAlignments[] = {TA_LEFT, TA_RIGHT, TA_CENTER};

// The width of the grip strip a pane under a status bar's grip leaves to it.
constexpr int kGripStrip = 12;

TKxPollingList* pollingList = nullptr;

int KxTextWidthOf(TFont* font, const std::string& text) { return KxTextExtent(font, text).cx; }

}  // namespace

SIZE KxTextExtent(TFont* font, const std::string& text) { return TKxScreenFontDC(font).Extent(text); }

void KxDrawCutCornerFrame(TCanvas* canvas, const TRect& r, TColor color) {
  canvas->GetPen()->SetStyle(psSolid);
  canvas->GetPen()->SetWidth(1);
  canvas->GetPen()->SetColor(color);
  canvas->MoveTo(r.left, r.top + 1);
  canvas->LineTo(r.left, r.bottom - 1);
  canvas->MoveTo(r.left + 1, r.top);
  canvas->LineTo(r.right - 1, r.top);
  canvas->MoveTo(r.right - 1, r.top + 1);
  canvas->LineTo(r.right - 1, r.bottom - 1);
  canvas->MoveTo(r.left + 1, r.bottom - 1);
  canvas->LineTo(r.right - 1, r.bottom - 1);
}

int KxPaneFrameAllowance(TFrameStyleEx style) {
  switch (style) {
    case fsNone:
    case fsFlatRounded: return 0;
    case fsFlat:
    case fsStatus:
    case fsPopup: return 1;
    default: return 2;
  }
}

TWinControl* KxStatusBarParent(const TControl* control) {
  TWinControl* parent = control ? control->GetParent() : nullptr;
  if (!parent) return nullptr;
  for (TClass c = parent->ClassType(); c; c = c->ClassParent())
    if (c->ClassNameIs("TKxStatusBar")) return parent;
  return nullptr;
}

bool KxStatusBarThemed(const TControl* control) {
  TWinControl* bar = KxStatusBarParent(control);
  if (!bar || !ThemeServices().GetThemesEnabled()) return false;
  PPropInfo info = GetPropInfo(bar, "ThemeAware");
  return info && GetOrdProp(bar, info) != 0;
}

// ---------------------------------------------------------------------------
// TKxCustomStatusPane

IMPLEMENT_CLASS(TKxCustomStatusPane)

TKxCustomStatusPane::TKxCustomStatusPane(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(GetControlStyle() + TControlStyle{csNoDesignVisible});
  SetBounds(GetLeft(), GetTop(), 100, 20);
  SetColor(clWindow);
  SetParentColor(true);
  fillColor_ = GetColor();
  textColor_ = normalTextColor_ = GetFont()->GetColor();
  BlinkingControlsList()->Add(this);
}

void TKxCustomStatusPane::Destroy() {
  SetFrameController(nullptr);
  if (TKxBlinkingControlsList* list = FindBlinkingControlsList()) list->Remove(this);
  FreeBlinkingControlsListIfEmpty();
  inherited::Destroy();
}

void TKxCustomStatusPane::SetAlignment(TAlignment value) { Store(alignment_, value); }
void TKxCustomStatusPane::SetBlinkColor(TColor value) { Store(blinkColor_, value); }
void TKxCustomStatusPane::SetBorderWidth(int value) { Store(borderWidth_, value); }
void TKxCustomStatusPane::SetFlatColor(TColor value) { Store(flatColor_, value); }
void TKxCustomStatusPane::SetFlatColorAdjustment(int value) { Store(flatColorAdjustment_, value); }
void TKxCustomStatusPane::SetFrameStyle(TFrameStyle value) { Store(frameStyle_, value); }

void TKxCustomStatusPane::SetDefaultWidth(int value) {
  if (defaultWidth_ == value) return;
  defaultWidth_ = value;
  Invalidate();
  AdjustBounds();
}

void TKxCustomStatusPane::SetCaptionOffset(int value) {
  if (captionOffset_ == value) return;
  captionOffset_ = value;
  Invalidate();
  AdjustBounds();
}

void TKxCustomStatusPane::SetFillColor(TColor value) {
  parentFillColor_ = false;
  Store(fillColor_, value);
}

void TKxCustomStatusPane::SetParentFillColor(bool value) {
  if (parentFillColor_ == value) return;
  parentFillColor_ = value;
  if (GetParent() && !GetComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
  Invalidate();
}

void TKxCustomStatusPane::SetAutoSize(bool value) {
  bool changed = value != GetAutoSize();
  inherited::SetAutoSize(value);
  if (changed) AdjustBounds();
}

uint16_t TKxCustomStatusPane::GetBlinkIntervalOff() {
  return static_cast<uint16_t>(BlinkingControlsList()->GetOffInterval());
}
void TKxCustomStatusPane::SetBlinkIntervalOff(uint16_t value) { BlinkingControlsList()->SetOffInterval(value); }
uint16_t TKxCustomStatusPane::GetBlinkIntervalOn() {
  return static_cast<uint16_t>(BlinkingControlsList()->GetOnInterval());
}
void TKxCustomStatusPane::SetBlinkIntervalOn(uint16_t value) { BlinkingControlsList()->SetOnInterval(value); }

void TKxCustomStatusPane::SetBlinking(bool value) {
  if (blinking_ == value) return;
  blinking_ = value;
  if (!value) {
    textColor_ = normalTextColor_;
    Repaint();
  }
}

void TKxCustomStatusPane::Blink(TBlinkState state) {
  textColor_ = state == bsOn ? normalTextColor_ : blinkColor_;
  Refresh();
}

void TKxCustomStatusPane::SetFrameController(TKxFrameController* value) {
  KxSetFrameController(this, frameController_, value);
}

void TKxCustomStatusPane::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == frameController_) frameController_ = nullptr;
}

void TKxCustomStatusPane::CustomFramingChanged() {
  if (!frameController_ || !frameController_->GetFrameVisible()) return;
  frameStyle_ = frameController_->GetFrameStyle();
  flatColor_ = frameController_->GetFrameColor();
  flatColorAdjustment_ = 0;
  fillColor_ = frameController_->GetColor();
  SetParentColor(frameController_->GetParentColor());
  Invalidate();
}

void TKxCustomStatusPane::Loaded() {
  inherited::Loaded();
  normalTextColor_ = GetFont()->GetColor();
  if (!blinking_) textColor_ = normalTextColor_;
  AdjustBounds();
}

void TKxCustomStatusPane::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  if (IsLoading()) return;
  normalTextColor_ = GetFont()->GetColor();
  if (!blinking_) textColor_ = normalTextColor_;
  AdjustBounds();
}

void TKxCustomStatusPane::CMColorChanged(TMessage& m) {
  inherited::CMColorChanged(m);
  if (parentFillColor_) fillColor_ = GetColor();
}

void TKxCustomStatusPane::CMParentColorChanged(TMessage& m) {
  inherited::CMParentColorChanged(m);
  if (parentFillColor_) fillColor_ = GetColor();
}

void TKxCustomStatusPane::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_GETBLINKING: m.Result = blinking_ ? 1 : 0; return;
    case CM_BLINK:
      if (blinking_) Blink(static_cast<TBlinkState>(m.WParam));
      return;
    case CM_TEXTCHANGED:
      Invalidate();
      AdjustBounds();
      return;
    default: inherited::Dispatch(m); return;
  }
}

void TKxCustomStatusPane::AdjustBounds() {
  if (!GetAutoSize() || GetComponentState().Contains(csReading)) return;
  int width = GetMinWidth(TKxScreenFontDC(GetFont()).DC());
  SetBounds(GetLeft(), GetTop(), width, GetHeight());
}

int TKxCustomStatusPane::GetMinWidth(HDC dc) {
  std::string caption = GetCaption();
  if (caption.empty()) return defaultWidth_;
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, caption.c_str(), -1, &r, DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX);
  return (r.right - r.left) + 2 * borderWidth_ + captionOffset_ + 6;
}

TRect TKxCustomStatusPane::GetCaptionRect() {
  TRect r = GetClientRect();
  int inset = borderWidth_ + KxPaneFrameAllowance(frameStyle_);
  InflateRect(&r, -inset, -inset);
  return r;
}

void TKxCustomStatusPane::Paint() {
  DrawStatusBorder();
  DrawCaption(GetCaption());
}

void TKxCustomStatusPane::DrawStatusBorder() {
  TCanvas* canvas = GetCanvas();
  TRect client = GetClientRect();
  if (KxStatusBarThemed(this)) {
    ThemeServices().DrawElement(canvas->GetHandle(), ThemeServices().GetElementDetails(tsPane), client);
    return;
  }
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(client);
  TRect r = client;
  InflateRect(&r, -borderWidth_, -borderWidth_);
  if (frameStyle_ != fsFlat) {
    DrawBorder(canvas, r, frameStyle_);
    return;
  }
  KxDrawCutCornerFrame(canvas, r, AdjustColor(flatColor_, flatColorAdjustment_));
}

TPoint TKxCustomStatusPane::CaptionOrigin(TCanvas* canvas, const TRect& rect) {
  int x;
  if (alignment_ == taLeftJustify) x = rect.left + captionOffset_ + 1;
  else if (alignment_ == taRightJustify) x = rect.right - captionOffset_ - 1;
  else x = (rect.left + rect.right) / 2;
  int y = rect.top + (rect.bottom - rect.top - canvas->TextHeight("Pp")) / 2;
  return TPoint{x, y};
}

void TKxCustomStatusPane::DrawStatusBackground(TCanvas* canvas, const TRect& rect, const TPoint& at) {
  TWinControl* bar = KxStatusBarParent(this);
  if (!bar) return;
  Owned<TBitmap> back = MakeOwned<TBitmap>();
  back->SetSize(bar->GetWidth(), bar->GetHeight());
  ThemeServices().DrawElement(back->GetCanvas()->GetHandle(), ThemeServices().GetElementDetails(tsStatusRoot),
                              TRect{0, 0, bar->GetWidth(), bar->GetHeight()});
  TRect source = rect;
  OffsetRect(&source, GetLeft(), GetTop());
  TRect dest = rect;
  OffsetRect(&dest, at.x - rect.left, at.y - rect.top);
  canvas->CopyRect(dest, back->GetCanvas(), source);
}

void TKxCustomStatusPane::DrawCaption(const std::string& text) {
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  canvas->GetFont()->SetColor(textColor_);
  TRect r = GetCaptionRect();
  SetTextAlign(canvas->GetHandle(), kTextAlignments[alignment_]);
  TPoint at = CaptionOrigin(canvas, r);
  if (KxStatusBarThemed(this)) {
    DrawStatusBackground(canvas, r, TPoint{r.left, r.top});
    canvas->GetBrush()->SetStyle(bsClear);
  } else {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(fillColor_);
  }
  if (!GetEnabled()) {
    canvas->GetFont()->SetColor(clBtnHighlight);
    canvas->TextRect(r, at.x + 1, at.y + 1, text);
    canvas->GetFont()->SetColor(clBtnShadow);
    canvas->GetBrush()->SetStyle(bsClear);
  }
  canvas->TextRect(r, at.x, at.y, text);
  SetTextAlign(canvas->GetHandle(), TA_LEFT);
  canvas->GetBrush()->SetStyle(bsSolid);
}

bool TKxCustomStatusPane::UnderSizeGrip(const TRect& rect) {
  TWinControl* bar = KxStatusBarParent(this);
  if (!bar || !GetParent()) return false;
  POINT right = ClientToScreen(POINT{rect.right, rect.top});
  POINT barRight = bar->ClientToScreen(POINT{bar->GetClientRect().right, 0});
  return right.x >= barRight.x;
}

void TKxCustomStatusPane::CMHitTest(TMessage& m) {
  inherited::CMHitTest(m);
  TWinControl* bar = KxStatusBarParent(this);
  if (!bar || !UnderSizeGrip(GetClientRect())) return;
  int x = static_cast<short>(LOWORD(m.LParam));
  int gripLeft = bar->GetClientRect().right - GetLeft() - kGripStrip;
  if (x >= gripLeft) m.Result = bar->Perform(WM_NCHITTEST, m.WParam, m.LParam);
}

void TKxCustomStatusPane::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}
void TKxCustomStatusPane::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}
void TKxCustomStatusPane::CMMouseEnter(TMessage& m) {
  inherited::CMMouseEnter(m);
  MouseEnter();
}
void TKxCustomStatusPane::CMMouseLeave(TMessage& m) {
  inherited::CMMouseLeave(m);
  MouseLeave();
}

namespace {

// What every published pane publishes.
template <class T>
void PublishPaneBase(TPublisher<T>& p) {
  using C = TKxCustomStatusPane;
  PublishControlProps(p, {"Align", "Anchors"});
  p.Prop("BorderWidth", &C::GetBorderWidth, &C::SetBorderWidth).Default(1);
  p.Prop("Color", &TControl::GetColor, &TControl::SetColor)
      .Default(clWindow)
      .Stored(&TControl::IsColorStored)
      .Type(TColorTypeInfo());
  PublishControlProps(p, {"Constraints", "DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("FillColor", &C::GetFillColor, &C::SetFillColor)
      .Default(clBtnFace)
      .Stored(&C::IsFillColorStored)
      .Type(TColorTypeInfo());
  p.Prop("FlatColor", &C::GetFlatColor, &C::SetFlatColor).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("FlatColorAdjustment", &C::GetFlatColorAdjustment, &C::SetFlatColorAdjustment).Default(30);
  PublishControlProps(p, {"Font"});
  p.Prop("FrameController", &C::GetFrameController, &C::SetFrameController);
  p.Prop("FrameStyle", &C::GetFrameStyle, &C::SetFrameStyle).Default(fsFlat).Type(TFrameStyleTypeInfo());
  p.Prop("Height", &TControl::GetHeight, &TControl::SetHeight).Default(20);
  PublishParentColor(p, true);
  p.Prop("ParentFillColor", &C::GetParentFillColor, &C::SetParentFillColor).Default(true);
  PublishControlProps(p, {"ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "Visible"});
  PublishControlProps(p, {"OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock",
                          "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDock",
                          "OnStartDrag"});
  p.Prop("OnMouseEnter", &C::GetOnMouseEnter, &C::SetOnMouseEnter);
  p.Prop("OnMouseLeave", &C::GetOnMouseLeave, &C::SetOnMouseLeave);
}

// The caption, blinking and sizing properties.
template <class T>
void PublishPaneText(TPublisher<T>& p, TAlignment alignment, bool caption, bool defaultWidth) {
  using C = TKxCustomStatusPane;
  p.Prop("Alignment", &C::GetAlignment, &C::SetAlignment).Default(alignment);
  PublishControlProps(p, {"AutoSize"});
  p.Prop("Blinking", &C::GetBlinking, &C::SetBlinking).Default(false);
  p.Prop("BlinkColor", &C::GetBlinkColor, &C::SetBlinkColor).Default(clHighlight).Type(TColorTypeInfo());
  p.Prop("BlinkIntervalOff", &C::GetBlinkIntervalOff, &C::SetBlinkIntervalOff).Default(500);
  p.Prop("BlinkIntervalOn", &C::GetBlinkIntervalOn, &C::SetBlinkIntervalOn).Default(500);
  if (caption) PublishControlProps(p, {"Caption"});
  p.Prop("CaptionOffset", &C::GetCaptionOffset, &C::SetCaptionOffset).Default(2);
  if (defaultWidth) p.Prop("DefaultWidth", &C::GetDefaultWidth, &C::SetDefaultWidth).Default(40);
}

template <class T>
void PublishPolling(TPublisher<T>& p) {
  using C = TKxPollingStatus;
  p.Prop("Active", &C::GetActive, &C::SetActive).Default(true);
  p.Prop("Interval", &C::GetInterval, &C::SetInterval).Default(500);
  p.Prop("OnTimerExpired", &C::GetOnTimerExpired, &C::SetOnTimerExpired);
}

}  // namespace

PUBLISHED(TKxStatusPane) {
  PublishPaneBase(p);
  PublishPaneText(p, taLeftJustify, true, true);
  p.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Default(100);
}

// ---------------------------------------------------------------------------
// TKxCustomGlyphStatus

IMPLEMENT_CLASS(TKxCustomGlyphStatus)

TKxCustomGlyphStatus::TKxCustomGlyphStatus(TComponent* owner) : TKxCustomStatusPane(owner) {
  glyph_ = New<TBitmap>();
  glyph_->SetOnChange(TNotifyEvent(this, &TKxCustomGlyphStatus::GlyphChanged));
  imagesLink_ = New<TChangeLink>();
  imagesLink_->SetOnChange(TNotifyEvent(this, &TKxCustomGlyphStatus::ImagesChanged));
}

void TKxCustomGlyphStatus::Destroy() {
  SetImages(nullptr);
  inherited::Destroy();
  FreeAndNil(imagesLink_);
  FreeAndNil(glyph_);
}

void TKxCustomGlyphStatus::SetGlyph(TBitmap* value) { glyph_->Assign(value); }

void TKxCustomGlyphStatus::GlyphChanged(TObject*) {
  int w = glyph_->GetWidth(), h = glyph_->GetHeight();
  if (h != 0 && w % h == 0) numGlyphs_ = w / h < 5 ? w / h : 1;
  Invalidate();
  AdjustBounds();
}

void TKxCustomGlyphStatus::ImagesChanged(TObject*) { Invalidate(); }

void TKxCustomGlyphStatus::SetGlyphAlignment(TGlyphAlignment value) { Store(glyphAlignment_, value); }
void TKxCustomGlyphStatus::SetGlyphOffset(int value) {
  if (glyphOffset_ == value) return;
  glyphOffset_ = value;
  Invalidate();
  AdjustBounds();
}
void TKxCustomGlyphStatus::SetImageIndex(int value) { Store(imageIndex_, value); }
void TKxCustomGlyphStatus::SetDisabledIndex(int value) { Store(disabledIndex_, value); }
void TKxCustomGlyphStatus::SetNumGlyphs(int value) { Store(numGlyphs_, value < 1 ? 1 : value); }
void TKxCustomGlyphStatus::SetShowGlyph(bool value) {
  if (showGlyph_ == value) return;
  showGlyph_ = value;
  Invalidate();
  AdjustBounds();
}

void TKxCustomGlyphStatus::SetImages(TCustomImageList* value) {
  if (images_ == value) return;
  if (images_) {
    images_->UnRegisterChanges(imagesLink_);
    images_->RemoveFreeNotification(this);
  }
  images_ = value;
  if (images_) {
    images_->RegisterChanges(imagesLink_);
    images_->FreeNotification(this);
  }
  Invalidate();
}

void TKxCustomGlyphStatus::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == images_) {
    images_ = nullptr;
    Invalidate();
  }
}

SIZE TKxCustomGlyphStatus::ImageSize() {
  if (images_ && imageIndex_ != -1) return SIZE{images_->GetWidth(), images_->GetHeight()};
  return SIZE{glyph_->GetWidth() / (numGlyphs_ < 1 ? 1 : numGlyphs_), glyph_->GetHeight()};
}

TRect TKxCustomGlyphStatus::GetCaptionRect() {
  TRect r = inherited::GetCaptionRect();
  if (!showGlyph_) return r;
  int room = ImageSize().cx + glyphOffset_;
  if (glyphAlignment_ == gaLeft) r.left += room;
  else r.right -= room;
  return r;
}

int TKxCustomGlyphStatus::GetMinWidth(HDC dc) {
  return inherited::GetMinWidth(dc) + glyphOffset_ + (showGlyph_ ? ImageSize().cx : 0);
}

void TKxCustomGlyphStatus::Paint() {
  inherited::Paint();
  if (!showGlyph_) return;
  TCanvas* canvas = GetCanvas();
  SIZE size = ImageSize();
  TRect caption = GetCaptionRect();
  int h = std::min<int>(size.cy, caption.bottom - caption.top);
  int allowance = KxPaneFrameAllowance(GetFrameStyle());
  int bw = GetBorderWidth();
  int x = (glyphAlignment_ == gaLeft ? glyphOffset_ + bw : GetWidth() - size.cx - glyphOffset_ - bw - 2) + allowance;
  int y = bw + std::abs(GetHeight() - h - bw - 1) / 2;
  if (!KxStatusBarThemed(this)) {
    TRect strip = glyphAlignment_ == gaLeft ? TRect{bw + allowance, caption.top, caption.left, caption.bottom}
                                            : TRect{caption.right, caption.top, GetWidth() - bw - allowance,
                                                    caption.bottom};
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(GetFillColor());
    canvas->FillRect(strip);
  }
  if (images_ && imageIndex_ != -1) {
    if (disabledIndex_ == -1) images_->Draw(canvas, x, y, imageIndex_, GetEnabled());
    else images_->Draw(canvas, x, y, GetEnabled() ? imageIndex_ : disabledIndex_, true);
    return;
  }
  if (glyph_->GetEmpty() || size.cx <= 0) return;
  int cell = numGlyphs_ >= 2 && !GetEnabled() ? 1 : 0;
  Owned<TBitmap> scratch = MakeOwned<TBitmap>();
  scratch->SetSize(size.cx, h);
  scratch->GetCanvas()->GetBrush()->SetColor(GetFillColor());
  scratch->GetCanvas()->FillRect(TRect{0, 0, size.cx, h});
  TColor key = glyph_->GetCanvas()->GetPixels(0, glyph_->GetHeight() - 1);
  scratch->GetCanvas()->BrushCopy(TRect{0, 0, size.cx, h}, glyph_, TRect{cell * size.cx, 0, (cell + 1) * size.cx, h},
                                  key);
  canvas->Draw(x, y, scratch.get());
}

PUBLISHED(TKxGlyphStatus) {
  using G = TKxCustomGlyphStatus;
  PublishPaneBase(p);
  PublishPaneText(p, taLeftJustify, true, true);
  p.Prop("DisabledIndex", &G::GetDisabledIndex, &G::SetDisabledIndex).Default(-1);
  p.Prop("Glyph", &G::GetGlyph, &G::SetGlyph);
  p.Prop("GlyphAlignment", &G::GetGlyphAlignment, &G::SetGlyphAlignment).Default(gaLeft);
  p.Prop("GlyphOffset", &G::GetGlyphOffset, &G::SetGlyphOffset).Default(2);
  p.Prop("ImageIndex", &G::GetImageIndex, &G::SetImageIndex).Default(-1);
  p.Prop("Images", &G::GetImages, &G::SetImages);
  p.Prop("NumGlyphs", &G::GetNumGlyphs, &G::SetNumGlyphs).Default(1);
  p.Prop("ShowGlyph", &G::GetShowGlyph, &G::SetShowGlyph).Default(true);
  p.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Default(100);
}

// ---------------------------------------------------------------------------
// TKxPollingList and TKxPollingStatus

IMPLEMENT_CLASS(TKxPollingList)

TKxPollingList::TKxPollingList() : timer_(New<TTimer>(nullptr)) {
  timer_->SetInterval(500);
  timer_->SetOnTimer(TNotifyEvent(this, &TKxPollingList::TimerFired));
  timer_->SetEnabled(true);
}

void TKxPollingList::Destroy() {
  FreeAndNil(timer_);
  inherited::Destroy();
}

void TKxPollingList::Add(TKxPollingStatus* pane) { panes_.Add(pane); }
void TKxPollingList::Remove(TKxPollingStatus* pane) { panes_.Remove(pane); }
int TKxPollingList::GetCount() const { return panes_.GetCount(); }
bool TKxPollingList::GetActive() const { return timer_->GetEnabled(); }
void TKxPollingList::SetActive(bool value) {
  if (value != timer_->GetEnabled()) timer_->SetEnabled(value);
}
uint16_t TKxPollingList::GetInterval() const { return static_cast<uint16_t>(timer_->GetInterval()); }
void TKxPollingList::SetInterval(uint16_t value) {
  if (value != timer_->GetInterval()) timer_->SetInterval(value);
}

void TKxPollingList::TimerFired(TObject*) {
  panes_.Walk([](TKxPollingStatus* pane) {
    if (pane->GetVisible()) pane->TimerExpired();
  });
}

TKxPollingList* FindPollingList() { return pollingList; }

IMPLEMENT_CLASS(TKxPollingStatus)

TKxPollingStatus::TKxPollingStatus(TComponent* owner) : TKxCustomStatusPane(owner) {
  if (!pollingList) pollingList = New<TKxPollingList>();
  pollingList->Add(this);
}

void TKxPollingStatus::Destroy() {
  if (pollingList) {
    pollingList->Remove(this);
    if (pollingList->GetCount() == 0) FreeAndNil(pollingList);
  }
  inherited::Destroy();
}

bool TKxPollingStatus::GetActive() const { return pollingList && pollingList->GetActive(); }
void TKxPollingStatus::SetActive(bool value) {
  if (pollingList) pollingList->SetActive(value);
}
uint16_t TKxPollingStatus::GetInterval() const { return pollingList ? pollingList->GetInterval() : 500; }
void TKxPollingStatus::SetInterval(uint16_t value) {
  if (pollingList) pollingList->SetInterval(value);
}

void TKxPollingStatus::TimerExpired() {
  if (OnTimerExpired) OnTimerExpired(this);
}

// ---------------------------------------------------------------------------
// TKxClockStatus

PUBLISHED(TKxClockStatus) {
  using K = TKxClockStatus;
  PublishPaneBase(p);
  PublishPolling(p);
  PublishPaneText(p, taLeftJustify, false, false);
  p.Prop("Format", &K::GetFormat, &K::SetFormat);
  p.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Default(150);
  p.Prop("OnGetDateTime", &K::GetOnGetDateTime, &K::SetOnGetDateTime);
}

TKxClockStatus::TKxClockStatus(TComponent* owner) : TKxPollingStatus(owner) {
  SetBounds(GetLeft(), GetTop(), 150, GetHeight());
}

void TKxClockStatus::SetFormat(const std::string& value) {
  if (format_ == value) return;
  format_ = value;
  UpdateTime();
  Invalidate();
}

void TKxClockStatus::UpdateTime() {
  TDateTime value = Now();
  if (OnGetDateTime) OnGetDateTime(this, value);
  std::string text = format_.empty() ? DateTimeToStr(value) : FormatDateTime(format_, value);
  if (text == text_) return;
  text_ = text;
  SetCaption(text);
  AdjustBounds();
  if (GetParent() && GetParent()->HandleAllocated() && GetVisible()) DrawCaption(text_);
}

TRect TKxClockStatus::GetCaptionRect() {
  TRect r = inherited::GetCaptionRect();
  if (UnderSizeGrip(GetClientRect())) r.right -= 12;
  return r;
}

void TKxClockStatus::TimerExpired() {
  UpdateTime();
  inherited::TimerExpired();
}

void TKxClockStatus::Loaded() {
  inherited::Loaded();
  UpdateTime();
}

void TKxClockStatus::Paint() {
  if (GetCaption() != text_) SetCaption(text_);
  inherited::Paint();
}

// ---------------------------------------------------------------------------
// TKxKeyStatus

namespace {
constexpr int kToggleKeys[] = {VK_CAPITAL, VK_NUMLOCK, VK_SCROLL, VK_INSERT};
bool ToggleBit(int vk) { return (GetKeyState(vk) & 1) != 0; }
}  // namespace



PUBLISHED(TKxKeyStrings) {
  using S = TKxKeyStrings;
  p.IndexedProp("CapsLock", 0, &S::GetString, &S::SetString);
  p.IndexedProp("NumLock", 1, &S::GetString, &S::SetString);
  p.IndexedProp("ScrollLock", 2, &S::GetString, &S::SetString);
  p.IndexedProp("Insert", 3, &S::GetString, &S::SetString);
  p.IndexedProp("Overwrite", 4, &S::GetString, &S::SetString);
}

void TKxKeyStrings::SetString(int index, std::string value) {
  if (index < 0 || index > 4) return;
  strings_[static_cast<size_t>(index)] = std::move(value);
  changed_ = true;
  if (pane_) pane_->Invalidate();
}

void TKxKeyStrings::Assign(TPersistent* source) {
  auto* s = dynamic_cast<TKxKeyStrings*>(source);
  if (!s) {
    inherited::Assign(source);
    return;
  }
  for (int i = 0; i < 5; ++i) SetString(i, s->GetString(i));
}

PUBLISHED(TKxKeyStatus) {
  using K = TKxKeyStatus;
  PublishPaneBase(p);
  PublishPolling(p);
  PublishPaneText(p, taCenter, false, false);
  p.Prop("InsertState", &K::GetInsertState, &K::SetInsertState).Default(isInsert);
  p.Prop("Key", &K::GetKey, &K::SetKey).Default(tkCapsLock);
  p.Prop("KeyStrings", &K::GetKeyStrings, &K::SetKeyStrings).Stored(&K::IsKeyStringsStored);
  p.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Default(45);
}

TKxKeyStatus::TKxKeyStatus(TComponent* owner) : TKxPollingStatus(owner) {
  keyStrings_ = New<TKxKeyStrings>(this);
  SetBounds(GetLeft(), GetTop(), 45, GetHeight());
  SetAlignment(taCenter);
  insertToggle_ = ToggleBit(VK_INSERT);
}

void TKxKeyStatus::Destroy() {
  inherited::Destroy();
  FreeAndNil(keyStrings_);
}

void TKxKeyStatus::SetKey(TKxToggleKey value) { Store(key_, value); }

void TKxKeyStatus::SetInsertState(TKxInsertState value) {
  // Set in code, the state is also the one the Insert key toggles from.
  if (!IsLoading()) baseInsertState_ = value;
  Store(insertState_, value);
}

void TKxKeyStatus::Loaded() {
  inherited::Loaded();
  baseInsertState_ = insertState_;
}

void TKxKeyStatus::TimerExpired() {
  if (key_ == tkInsert) {
    if (!IsDesigning()) {
      TKxInsertState other = baseInsertState_ == isInsert ? isOverwrite : isInsert;
      Store(insertState_, ToggleBit(VK_INSERT) == insertToggle_ ? baseInsertState_ : other);
    }
  } else {
    Store(state_, ToggleBit(kToggleKeys[key_]) ? tsOn : tsOff);
  }
  inherited::TimerExpired();
}

void TKxKeyStatus::Paint() {
  std::string caption;
  if (key_ == tkInsert) caption = keyStrings_->GetString(insertState_ == isOverwrite ? 4 : 3);
  else if (state_ == tsOn) caption = keyStrings_->GetString(key_);
  if (GetCaption() != caption) SetCaption(caption);
  inherited::Paint();
}

// ---------------------------------------------------------------------------
// TKxResourceStatus



PUBLISHED(TKxResourceStrings) {
  using S = TKxResourceStrings;
  p.IndexedProp("System", 0, &S::GetString, &S::SetString);
  p.IndexedProp("Memory", 1, &S::GetString, &S::SetString);
}

void TKxResourceStrings::SetString(int index, std::string value) {
  if (index < 0 || index > 1) return;
  strings_[static_cast<size_t>(index)] = std::move(value);
  changed_ = true;
  if (auto* pane = dynamic_cast<TKxResourceStatus*>(pane_)) {
    pane->UpdateHint();
    pane->Invalidate();
  }
}

void TKxResourceStrings::Assign(TPersistent* source) {
  auto* s = dynamic_cast<TKxResourceStrings*>(source);
  if (!s) {
    inherited::Assign(source);
    return;
  }
  for (int i = 0; i < 2; ++i) SetString(i, s->GetString(i));
}

void TKxResourceStrings::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  filer->DefineProperty("User", &TKxOldPropReader::ReadOldStringProp, nullptr, false);
  filer->DefineProperty("GDI", &TKxOldPropReader::ReadOldStringProp, nullptr, false);
}

PUBLISHED(TKxResourceStatus) {
  using R = TKxResourceStatus;
  PublishPaneBase(p);
  PublishPolling(p);
  p.Prop("Alignment", &TKxCustomStatusPane::GetAlignment, &TKxCustomStatusPane::SetAlignment).Default(taLeftJustify);
  p.Prop("BackColor", &R::GetBackColor, &R::SetBackColor).Default(clBtnFace).Type(TColorTypeInfo());
  p.Prop("BarColor", &R::GetBarColor, &R::SetBarColor).Default(clHighlight).Type(TColorTypeInfo());
  p.Prop("BarStyle", &R::GetBarStyle, &R::SetBarStyle).Default(bsTraditional);
  p.Prop("CaptionOffset", &TKxCustomStatusPane::GetCaptionOffset, &TKxCustomStatusPane::SetCaptionOffset)
      .Default(2);
  p.Prop("DisplayStyle", &R::GetDisplayStyle, &R::SetDisplayStyle).Default(dsBar);
  p.Prop("Hint", &TControl::GetHint, &TControl::SetHint).Stored(false);
  p.Prop("NumSegments", &R::GetNumSegments, &R::SetNumSegments).Default(15);
  p.Prop("Orientation", &R::GetOrientation, &R::SetOrientation).Default(orHorizontal);
  p.Prop("ResourceStrings", &R::GetResourceStrings, &R::SetResourceStrings).Stored(&R::IsResourceStringsStored);
  p.Prop("ShowHint", &TControl::GetShowHint, &TControl::SetShowHint).Default(true);
  p.Prop("ShowPercent", &R::GetShowPercent, &R::SetShowPercent).Default(false);
  p.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Default(100);
}

TKxResourceStatus::TKxResourceStatus(TComponent* owner) : TKxPollingStatus(owner) {
  resourceStrings_ = New<TKxResourceStrings>(this);
  resourceType_ = Win32Platform == VER_PLATFORM_WIN32_NT ? rtMemory : rtSystem;
  SetShowHint(true);
}

void TKxResourceStatus::Destroy() {
  inherited::Destroy();
  FreeAndNil(resourceStrings_);
}

void TKxResourceStatus::SetBarStyle(TBarStyle value) {
  barStyle_ = value;
  showPercent_ = false;
  Invalidate();
}

void TKxResourceStatus::UpdateHint() {
  std::string type = resourceStrings_->GetString(resourceType_ == rtSystem ? 0 : 1);
  SetHint(Format("%s: %d%%", {type, percent_ < 0 ? 0 : percent_}));
}

void TKxResourceStatus::TimerExpired() {
  int percent;
  if (resourceType_ == rtSystem) {
    percent = GetFreeSystemResources(gfsr_SystemResources);
  } else {
    MEMORYSTATUS status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    uint64_t avail = status.dwAvailPageFile / 1024;
    uint64_t total = status.dwTotalPageFile / 1024;
    kilobytes_ = avail;
    // A page file under a kilobyte has no share to give.
    percent = total ? static_cast<int>(std::nearbyint(100.0 * static_cast<double>(avail) / static_cast<double>(total)))
                    : 0;
  }
  if (percent != percent_) {
    percent_ = percent;
    UpdateHint();
    Invalidate();
  }
  inherited::TimerExpired();
}

void TKxResourceStatus::Paint() {
  int percent = percent_ < 0 ? 0 : percent_;
  if (displayStyle_ == dsText) {
    std::string caption = resourceType_ == rtMemory ? FormatFloat("#,##0", static_cast<double>(kilobytes_)) + " KB"
                                                    : Format("%u%%", {percent});
    if (GetCaption() != caption) SetCaption(caption);
    inherited::Paint();
    return;
  }
  DrawStatusBorder();
  TCanvas* canvas = GetCanvas();
  TRect r = GetCaptionRect();
  if (barStyle_ == bsLED) {
    canvas->GetPen()->SetStyle(psInsideFrame);
    canvas->GetPen()->SetColor(backColor_);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->Rectangle(r);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetPen()->SetStyle(psSolid);
    InflateRect(&r, -1, -1);
    DrawLEDBar(canvas, r, orientation_, barColor_, backColor_, numSegments_, percent, false);
  } else {
    DrawPercentBar(canvas, r, orientation_, barColor_, backColor_, static_cast<uint16_t>(percent), showPercent_);
  }
}

void TKxResourceStatus::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  filer->DefineProperty("ResourceType", &TKxOldPropReader::ReadOldEnumProp, nullptr, false);
}

// ---------------------------------------------------------------------------
// TKxMarqueeStatus

PUBLISHED(TKxMarqueeStatus) {
  using M = TKxMarqueeStatus;
  PublishPaneBase(p);
  PublishPaneText(p, taLeftJustify, true, true);
  p.Prop("ScrollDelay", &M::GetScrollDelay, &M::SetScrollDelay).Default(100);
  p.Prop("ScrollSize", &M::GetScrollSize, &M::SetScrollSize).Default(1);
  p.Prop("ScrollType", &M::GetScrollType, &M::SetScrollType).Default(stRightToLeft);
  p.Prop("Scrolling", &M::GetScrolling, &M::SetScrolling).Default(true);
  p.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Default(100);
}

TKxMarqueeStatus::TKxMarqueeStatus(TComponent* owner) : TKxStatusPane(owner) {
  SetControlStyle(GetControlStyle() - TControlStyle{csOpaque});
  scratch_ = New<TBitmap>();
  timer_ = New<TTimer>(nullptr);
  timer_->SetInterval(scrollDelay_);
  timer_->SetOnTimer(TNotifyEvent(this, &TKxMarqueeStatus::TimerTick));
  timer_->SetEnabled(scrolling_);
  UpdateCycle();
}

void TKxMarqueeStatus::Destroy() {
  FreeAndNil(timer_);
  inherited::Destroy();
  FreeAndNil(scratch_);
}

void TKxMarqueeStatus::UpdateCycle() { cycleLength_ = KxTextWidthOf(GetFont(), GetCaption()) + GetWidth(); }

// The timer runs only while scrolling is on and there is a direction to
// scroll in.
void TKxMarqueeStatus::SetScrollType(TKxScrollType value) {
  scrollType_ = value;
  timer_->SetEnabled(scrolling_ && value != stNone);
  Invalidate();
}

void TKxMarqueeStatus::SetScrolling(bool value) {
  scrolling_ = value;
  timer_->SetEnabled(value && scrollType_ != stNone);
  if (!value) {
    position_ = 0;
    Invalidate();
  }
}

void TKxMarqueeStatus::SetScrollSize(uint16_t value) { scrollSize_ = value == 0 ? 1 : value; }

void TKxMarqueeStatus::SetScrollDelay(uint16_t value) {
  scrollDelay_ = value;
  timer_->SetInterval(value);
}

void TKxMarqueeStatus::TimerTick(TObject*) {
  if (!timer_->GetEnabled()) return;
  position_ += scrollSize_;
  if (GetParent() && GetParent()->HandleAllocated()) DrawCaption(GetCaption());
  if (position_ >= cycleLength_) position_ = 0;
}

void TKxMarqueeStatus::SetBounds(int left, int top, int width, int height) {
  inherited::SetBounds(left, top, width, height);
  if (scratch_) UpdateCycle();
}

void TKxMarqueeStatus::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  UpdateCycle();
}

void TKxMarqueeStatus::Dispatch(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) UpdateCycle();
  inherited::Dispatch(m);
}

void TKxMarqueeStatus::DrawCaption(const std::string& text) {
  if (scrollType_ == stNone) {
    inherited::DrawCaption(text);
    return;
  }
  TRect r = GetCaptionRect();
  int w = std::max<int>(0, r.right - r.left), h = std::max<int>(0, r.bottom - r.top);
  scratch_->SetSize(w, h);
  TCanvas* c = scratch_->GetCanvas();
  if (KxStatusBarThemed(this)) {
    DrawStatusBackground(c, r, TPoint{0, 0});
  } else {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(GetFillColor());
    c->FillRect(TRect{0, 0, w, h});
  }
  c->SetFont(GetFont());
  c->GetFont()->SetColor(GetTextColor());
  c->GetBrush()->SetStyle(bsClear);
  int textWidth = c->TextWidth(text);
  int x = scrollType_ == stRightToLeft ? GetWidth() - position_ : position_ - textWidth;
  int y = r.top + (h - c->TextHeight("Pp")) / 2 - GetBorderWidth() - 1;
  c->TextOut(x, y, text);
  GetCanvas()->Draw(GetBorderWidth() + 1, GetBorderWidth() + 1, scratch_);
}

// ---------------------------------------------------------------------------
// TKxCustomFieldStatus

IMPLEMENT_CLASS(TKxCustomFieldStatus)

TKxCustomFieldStatus::TKxCustomFieldStatus(TComponent* owner) : TKxCustomStatusPane(owner) {}

void TKxCustomFieldStatus::SetFieldLabel(const std::string& value) {
  if (fieldLabel_ == value) return;
  fieldLabel_ = value;
  Invalidate();
  AdjustBounds();
}

int TKxCustomFieldStatus::LabelWidth() { return fieldLabel_.empty() ? 0 : KxTextWidthOf(GetFont(), fieldLabel_); }

TRect TKxCustomFieldStatus::GetCaptionRect() {
  TRect r = inherited::GetCaptionRect();
  if (!fieldLabel_.empty()) r.left += LabelWidth() + 2 * GetCaptionOffset();
  return r;
}

int TKxCustomFieldStatus::GetMinWidth(HDC dc) {
  return inherited::GetMinWidth(dc) + LabelWidth() + 2 * GetCaptionOffset();
}

void TKxCustomFieldStatus::DrawCaption(const std::string& text) {
  inherited::DrawCaption(text);
  if (fieldLabel_.empty()) return;
  TCanvas* canvas = GetCanvas();
  TRect base = TKxCustomStatusPane::GetCaptionRect();
  TRect r{base.left, base.top, base.left + LabelWidth() + GetCaptionOffset() + 2, base.bottom};
  canvas->SetFont(GetFont());
  int x = r.left + GetCaptionOffset() + 1;
  int y = r.top + (r.bottom - r.top - canvas->TextHeight("Pp")) / 2;
  canvas->GetBrush()->SetStyle(bsClear);
  if (!GetEnabled()) {
    canvas->GetFont()->SetColor(clBtnHighlight);
    canvas->TextRect(r, x + 1, y + 1, fieldLabel_);
    canvas->GetFont()->SetColor(clBtnShadow);
  } else {
    canvas->GetFont()->SetColor(fieldLabelColor_);
  }
  canvas->TextRect(r, x, y, fieldLabel_);
  canvas->GetBrush()->SetStyle(bsSolid);
}

PUBLISHED(TKxFieldStatus) {
  using F = TKxCustomFieldStatus;
  PublishPaneBase(p);
  PublishPaneText(p, taLeftJustify, true, false);
  p.Prop("FieldLabel", &F::GetFieldLabel, &F::SetFieldLabel);
  p.Prop("FieldLabelColor", &F::GetFieldLabelColor, &F::SetFieldLabelColor).Default(clHighlight).Type(TColorTypeInfo());
  p.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Default(100);
}

// ---------------------------------------------------------------------------
// TKxVersionInfoStatus

PUBLISHED(TKxVersionInfoStatus) {
  using C = TKxVersionInfoStatus;
  using F = TKxCustomFieldStatus;
  PublishPaneBase(p);
  PublishPaneText(p, taLeftJustify, false, false);
  // Always stored: the constructor's value is no default of the type.
  p.Prop("Field", &C::GetField, &C::SetField);
  p.Prop("FieldLabel", &F::GetFieldLabel, &F::SetFieldLabel);
  p.Prop("FieldLabelColor", &F::GetFieldLabelColor, &F::SetFieldLabelColor).Default(clHighlight).Type(TColorTypeInfo());
  p.Prop("VersionInfo", &C::GetVersionInfo, &C::SetVersionInfo);
  p.Prop("Width", &TControl::GetWidth, &TControl::SetWidth).Default(100);
}

TKxVersionInfoStatus::TKxVersionInfoStatus(TComponent* owner) : TKxCustomFieldStatus(owner) {
  field_ = vifProductVersion;
}

void TKxVersionInfoStatus::Destroy() {
  // A pane that goes leaves its component's list, which would otherwise
  // keep a dangling entry for the next refresh.
  if (versionInfo_) versionInfo_->RemoveStatus(this);
  versionInfo_ = nullptr;
  inherited::Destroy();
}

void TKxVersionInfoStatus::SetVersionInfo(TKxVersionInfo* value) {
  if (versionInfo_) versionInfo_->RemoveStatus(this);
  versionInfo_ = value;
  if (!value) return;
  value->AddStatus(this);
  value->FreeNotification(this);
  UpdateCaption();
}

void TKxVersionInfoStatus::SetField(TKxVersionInfoField value) {
  field_ = value;
  UpdateCaption();
}

void TKxVersionInfoStatus::UpdateCaption() {
  if (IsDesigning() || !versionInfo_) return;
  SetCaption(versionInfo_->GetVerField(field_));
}

void TKxVersionInfoStatus::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == versionInfo_) SetVersionInfo(nullptr);
}

// ---------------------------------------------------------------------------

void InitializeKxStatusPanes() {
  RegisterClasses({TKxStatusPane::StaticClass(), TKxGlyphStatus::StaticClass(), TKxClockStatus::StaticClass(),
                   TKxKeyStatus::StaticClass(), TKxResourceStatus::StaticClass(), TKxMarqueeStatus::StaticClass(),
                   TKxFieldStatus::StaticClass(), TKxVersionInfoStatus::StaticClass()});
}

void FinalizeKxStatusPanes() {
  // The last polling pane frees the list; nothing is left once the panes are.
  FreeAndNil(pollingList);
}
