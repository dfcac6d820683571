#include "skin/pkImager.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "classlib/Classes.h"
#include "classlib/Menus.h"
#include "classlib/Clipbrd.h"
#include "skin/pkBitmap.h"
#include "skin/pkGdi.h"
#include "skin/pkShared.h"

DEFINE_ENUM_TYPE(TpkImagerDrawStyle, "dsNormal", "dsCenter", "dsStretch", "dsTile", "dsProportional",
                 "dsProportionalCenter")

namespace {

void ApplyOf(TpkBitmapOptions* options) {
  if (options) options->Apply();
}

bool EmptyPicture(const TPicture* p) { return !p->GetGraphic() || p->GetGraphic()->GetEmpty(); }

// The size the working bitmap needs.
TPoint WorkingSize(TpkImagerDrawStyle style, bool preProcess, int angle, int w, int h, const TPicture* p) {
  if (!preProcess && style >= TpkImagerDrawStyle::dsStretch) return TPoint{w, h};
  if (angle != 0) {
    int side = std::max(p->GetWidth(), p->GetHeight());
    return TPoint{side, side};
  }
  return TPoint{p->GetWidth(), p->GetHeight()};
}

// Draws the working bitmap as the draw style and PreProcess ask.
void PaintWorking(TCanvas* canvas, TpkBitmap* work, TpkImagerDrawStyle style, bool preProcess, const TRect& r) {
  if (!preProcess) {
    canvas->Draw(r.left, r.top, work);
    return;
  }
  switch (style) {
    case TpkImagerDrawStyle::dsNormal:
    case TpkImagerDrawStyle::dsCenter: canvas->Draw(r.left, r.top, work); break;
    case TpkImagerDrawStyle::dsTile: work->TileDraw(canvas, r); break;
    default: canvas->StretchDraw(r, work); break;
  }
}

}  // namespace

TRect ImagerDrawRect(TpkImagerDrawStyle style, int w, int h, int bw, int bh, int pw, int ph) {
  switch (style) {
    case TpkImagerDrawStyle::dsNormal: return Rect(0, 0, pw, ph);
    case TpkImagerDrawStyle::dsCenter: {
      int x = w / 2 - bw / 2, y = h / 2 - bh / 2;
      return Rect(x, y, w - x, h - y);
    }
    case TpkImagerDrawStyle::dsStretch:
    case TpkImagerDrawStyle::dsTile: return Rect(0, 0, w, h);
    default: break;
  }
  if (w <= 0 || h <= 0 || bw <= 0 || bh <= 0) return Rect(0, 0, 0, 0);
  bool tall = static_cast<double>(bh) / h >= static_cast<double>(bw) / w;
  int64_t fitW = int64_t{bw} * h / bh;
  int64_t fitH = int64_t{bh} * w / bw;
  if (style == TpkImagerDrawStyle::dsProportional)
    return tall ? Rect(0, 0, static_cast<int>(fitW), h) : Rect(0, 0, w, static_cast<int>(fitH));
  if (tall) {
    int x = static_cast<int>(Trunc((w - static_cast<double>(h) / bh * bw) / 2));
    return Rect(x, 0, x + static_cast<int>(fitW), h);
  }
  int y = static_cast<int>(Trunc((h - static_cast<double>(w) / bw * bh) / 2));
  return Rect(0, y, w, y + static_cast<int>(fitH));
}

// --- TpkAlphaBlend, TpkRotate, TpkWave ---------------------------------------------------

PUBLISHED(TpkAlphaBlend) {
  p.Prop("Amount", &TpkAlphaBlend::GetAmount, &TpkAlphaBlend::SetAmount).NoDefault();
  p.Prop("Bitmap", &TpkAlphaBlend::GetBitmap, &TpkAlphaBlend::SetBitmap);
  p.Prop("Transparent", &TpkAlphaBlend::GetTransparent, &TpkAlphaBlend::SetTransparent).NoDefault();
}

TpkAlphaBlend::TpkAlphaBlend(TpkBitmapOptions* options) : options_(options) {
  bitmap_ = New<TpkBitmap>();
  bitmap_->SetOnChange(TNotifyEvent(this, &TpkAlphaBlend::BitmapChanged));
}

void TpkAlphaBlend::Destroy() {
  FreeAndNil(bitmap_);
  inherited::Destroy();
}

void TpkAlphaBlend::BitmapChanged(TObject*) { Changed(); }

void TpkAlphaBlend::Changed() {
  if (changing_) return;
  pk_detail::TScopeExit changing([this, was = std::exchange(changing_, true)] { changing_ = was; });
  ApplyOf(options_);
}

void TpkAlphaBlend::SetAmount(uint8_t v) {
  if (amount_ == v) return;
  amount_ = v;
  Changed();
}

void TpkAlphaBlend::SetBitmap(TpkBitmap* v) { bitmap_->Assign(v); }

bool TpkAlphaBlend::GetTransparent() const { return bitmap_->GetTransparent(); }

void TpkAlphaBlend::SetTransparent(bool v) {
  if (bitmap_->GetTransparent() == v) return;
  bitmap_->SetTransparent(v);
  Changed();
}

PUBLISHED(TpkRotate) {
  p.Prop("CenterX", &TpkRotate::GetCenterX, &TpkRotate::SetCenterX).NoDefault();
  p.Prop("CenterY", &TpkRotate::GetCenterY, &TpkRotate::SetCenterY).NoDefault();
  p.Prop("Angle", &TpkRotate::GetAngle, &TpkRotate::SetAngle).NoDefault();
}

void TpkRotate::SetCenterX(int v) {
  if (centerX_ == v) return;
  centerX_ = v;
  ApplyOf(options_);
}
void TpkRotate::SetCenterY(int v) {
  if (centerY_ == v) return;
  centerY_ = v;
  ApplyOf(options_);
}
void TpkRotate::SetAngle(int v) {
  if (angle_ == v) return;
  angle_ = v;
  ApplyOf(options_);
}

PUBLISHED(TpkWave) {
  p.Prop("XDiv", &TpkWave::GetXDiv, &TpkWave::SetXDiv).NoDefault();
  p.Prop("YDiv", &TpkWave::GetYDiv, &TpkWave::SetYDiv).NoDefault();
  p.Prop("Ratio", &TpkWave::GetRatio, &TpkWave::SetRatio).NoDefault();
  p.Prop("Wrap", &TpkWave::GetWrap, &TpkWave::SetWrap).NoDefault();
}

void TpkWave::SetXDiv(int v) {
  if (xDiv_ == v) return;
  xDiv_ = v;
  ApplyOf(options_);
}
void TpkWave::SetYDiv(int v) {
  if (yDiv_ == v) return;
  yDiv_ = v;
  ApplyOf(options_);
}
void TpkWave::SetRatio(int v) {
  if (ratio_ == v) return;
  ratio_ = v;
  ApplyOf(options_);
}
void TpkWave::SetWrap(bool v) {
  if (wrap_ == v) return;
  wrap_ = v;
  ApplyOf(options_);
}

// --- TpkBitmapOptions ----------------------------------------------------------------------

PUBLISHED(TpkBitmapOptions) {
  using C = TpkBitmapOptions;
  p.Prop("AlphaBlend", &C::GetAlphaBlend, &C::SetAlphaBlend);
  p.Prop("Color", &C::GetColor, &C::SetColor).NoDefault().Type(TColorTypeInfo());
  p.IndexedProp("Contrast", 4, &C::GetIntOption, &C::SetIntOption).NoDefault();
  p.IndexedProp("Embossed", 0, &C::GetBoolOption, &C::SetBoolOption).NoDefault();
  p.Prop("TintColor", &C::GetTintColor, &C::SetTintColor).NoDefault().Type(TColorTypeInfo());
  p.IndexedProp("GaussianBlur", 3, &C::GetIntOption, &C::SetIntOption).NoDefault();
  p.IndexedProp("GrayScale", 2, &C::GetBoolOption, &C::SetBoolOption).NoDefault();
  p.IndexedProp("HorizontallyFlipped", 3, &C::GetBoolOption, &C::SetBoolOption).NoDefault();
  p.IndexedProp("Inverted", 1, &C::GetBoolOption, &C::SetBoolOption).NoDefault();
  p.IndexedProp("Lightness", 0, &C::GetIntOption, &C::SetIntOption).NoDefault();
  p.Prop("Rotation", &C::GetRotation, &C::SetRotation);
  p.IndexedProp("Saturation", 1, &C::GetIntOption, &C::SetIntOption).NoDefault();
  p.IndexedProp("Sharpen", 5, &C::GetIntOption, &C::SetIntOption).NoDefault();
  p.IndexedProp("Sponge", 2, &C::GetIntOption, &C::SetIntOption).NoDefault();
  p.IndexedProp("VerticallyFlipped", 4, &C::GetBoolOption, &C::SetBoolOption).NoDefault();
  p.Prop("Wave", &C::GetWave, &C::SetWave);
}

TpkBitmapOptions::TpkBitmapOptions(TControl* control, TpkBitmap* workBitmap, TPicture* sourcePicture)
    : control_(control), workBitmap_(workBitmap), sourcePicture_(sourcePicture) {
  alphaBlend_ = New<TpkAlphaBlend>(this);
  rotation_ = New<TpkRotate>(this);
  wave_ = New<TpkWave>(this);
}

void TpkBitmapOptions::Destroy() {
  FreeAndNil(wave_);
  FreeAndNil(rotation_);
  FreeAndNil(alphaBlend_);
  inherited::Destroy();
}

void TpkBitmapOptions::SetColor(TColor v) {
  if (color_ == v) return;
  color_ = v;
  Apply();
}

void TpkBitmapOptions::SetTintColor(TColor v) {
  if (tintColor_ == v) return;
  tintColor_ = v;
  Apply();
}

int TpkBitmapOptions::GetIntOption(int index) const { return index >= 0 && index < 6 ? ints_[index] : 0; }

void TpkBitmapOptions::SetIntOption(int index, int v) {
  if (index < 0 || index >= 6 || ints_[index] == v) return;
  ints_[index] = v;
  Apply();
}

bool TpkBitmapOptions::GetBoolOption(int index) const { return index >= 0 && index < 5 && bools_[index]; }

void TpkBitmapOptions::SetBoolOption(int index, bool v) {
  if (index < 0 || index >= 5 || bools_[index] == v) return;
  bools_[index] = v;
  Apply();
}

void TpkBitmapOptions::BeginUpdate() { ++updateCount_; }

void TpkBitmapOptions::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  if (updateCount_ == 0) Apply();
}

void TpkBitmapOptions::AssignTo(TPersistent* dest) {
  auto* d = dynamic_cast<TpkBitmapOptions*>(dest);
  if (!d) {
    inherited::AssignTo(dest);
    return;
  }
  d->BeginUpdate();
  d->alphaBlend_->SetAmount(alphaBlend_->GetAmount());
  d->alphaBlend_->SetBitmap(alphaBlend_->GetBitmap());
  d->alphaBlend_->SetTransparent(alphaBlend_->GetTransparent());
  d->rotation_->SetCenterX(rotation_->GetCenterX());
  d->rotation_->SetCenterY(rotation_->GetCenterY());
  d->rotation_->SetAngle(rotation_->GetAngle());
  d->wave_->SetXDiv(wave_->GetXDiv());
  d->wave_->SetYDiv(wave_->GetYDiv());
  d->wave_->SetRatio(wave_->GetRatio());
  d->wave_->SetWrap(wave_->GetWrap());
  d->SetColor(color_);
  d->SetTintColor(tintColor_);
  for (int i = 0; i < 6; ++i) d->SetIntOption(i, ints_[i]);
  for (int i = 0; i < 5; ++i) d->SetBoolOption(i, bools_[i]);
  d->EndUpdate();
}

void TpkBitmapOptions::Apply() {
  if (control_ && control_->IsLoading()) return;
  if (!workBitmap_ || workBitmap_->GetEmpty() || !sourcePicture_ || EmptyPicture(sourcePicture_)) return;
  if (updateCount_ > 0) return;
  TGraphic* graphic = sourcePicture_->GetGraphic();
  TpkBitmap* wb = workBitmap_;
  int w = wb->GetWidth(), h = wb->GetHeight();
  // 1. Always from the source picture, so nothing accumulates.
  if (w == graphic->GetWidth() && h == graphic->GetHeight()) {
    wb->Assign(graphic);
  } else if (tileFill_) {
    TileGraphic(graphic, wb->GetCanvas(), Rect(0, 0, w, h));
  } else {
    Owned<TpkBitmap> temp = MakeOwned<TpkBitmap>();
    temp->Assign(graphic);
    if (auto* imager = dynamic_cast<TpkCustomImager*>(control_)) temp->SetSmoothStretching(imager->GetSmoothStretching());
    wb->GetCanvas()->StretchDraw(Rect(0, 0, w, h), temp.get());
  }
  if (bools_[2]) wb->GrayScale();
  if (ints_[0] != 0) wb->Lightness(ints_[0]);
  if (alphaBlend_->GetAmount() > 0 && !alphaBlend_->GetBitmap()->GetEmpty())
    wb->AlphaBlend(alphaBlend_->GetBitmap(), alphaBlend_->GetAmount(), true);
  if (color_ != clNone) {
    TColor c = ColorToRGB(color_);
    wb->Colorize(GetRValue(c), GetGValue(c), GetBValue(c));
  }
  if (tintColor_ != clNone) {
    TColor c = ColorToRGB(tintColor_);
    wb->Tint(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2);
  }
  if (ints_[2] != 0) wb->Sponge(ints_[2]);
  if (ints_[1] != -1) wb->Saturation(ints_[1]);
  if (ints_[3] != 0) wb->GaussianBlur(ints_[3]);
  if (bools_[0]) wb->Emboss();
  if (bools_[1]) wb->Invert();
  if (ints_[4] != 0) wb->Contrast(ints_[4]);
  if (ints_[5] != 0) wb->Sharpen(ints_[5]);
  if (bools_[3]) wb->Flip(true);
  if (bools_[4]) wb->Flip(false);
  if (wave_->GetRatio() != 0 && wave_->GetXDiv() != 0 && wave_->GetYDiv() != 0)
    wb->Wave(wave_->GetWrap(), wave_->GetXDiv(), wave_->GetYDiv(), wave_->GetRatio());
  if (rotation_->GetAngle() != 0)
    wb->Rotate(TPoint{rotation_->GetCenterX(), rotation_->GetCenterY()}, rotation_->GetAngle());
  if (OnChange) OnChange(this);
}

// --- TpkImagerParts ---------------------------------------------------------------------------

TpkImagerParts::TpkImagerParts(TControl* control, TNotifyEvent pictureChanged, TNotifyEvent optionsChanged)
    : control_(control) {
  picture_ = New<TPicture>();
  picture_->SetOnChange(pictureChanged);
  workBitmap_ = New<TpkBitmap>();
  workBitmap_->SetRespectPalette(true);
  workBitmap_->SetHalftonePalette(true);
  options_ = New<TpkBitmapOptions>(control, workBitmap_, picture_);
  options_->OnChange = optionsChanged;
}

TpkImagerParts::~TpkImagerParts() {
  FreeAndNil(options_);
  FreeAndNil(workBitmap_);
  FreeAndNil(picture_);
}

void TpkImagerParts::SetDrawStyle(TpkImagerDrawStyle v) {
  drawStyle_ = v;
  options_->SetTileFill(v == TpkImagerDrawStyle::dsTile);
}

void TpkImagerParts::SetTransparent(bool v) {
  transparent_ = v;
  if (!PictureEmpty()) picture_->GetGraphic()->SetTransparent(v);
}

bool TpkImagerParts::PictureEmpty() const { return EmptyPicture(picture_); }

TRect TpkImagerParts::DrawRect() const {
  return ImagerDrawRect(drawStyle_, control_->GetWidth(), control_->GetHeight(), workBitmap_->GetWidth(),
                        workBitmap_->GetHeight(), picture_->GetWidth(), picture_->GetHeight());
}

void TpkImagerParts::SizeWorkingBitmap() {
  TPoint size = WorkingSize(drawStyle_, preProcess_, options_->GetRotation()->GetAngle(), control_->GetWidth(),
                            control_->GetHeight(), picture_);
  workBitmap_->SetSizeIfChanged(size.x, size.y);
}

void TpkImagerParts::AdjustSize() {
  if (!control_->GetAutoSize() || PictureEmpty() || control_->IsLoading() || control_->GetAlign() != alNone) return;
  pk_detail::TScopeExit sizing([this, was = std::exchange(sizing_, true)] { sizing_ = was; });
  if (control_->GetWidth() != picture_->GetWidth() || control_->GetHeight() != picture_->GetHeight())
    control_->SetBounds(control_->GetLeft(), control_->GetTop(), picture_->GetWidth(), picture_->GetHeight());
}

void TpkImagerParts::SetBounds(int left, int top, int width, int height,
                               const std::function<void(int, int, int, int)>& inheritedSetBounds,
                               const std::function<void()>& update) {
  if ((width == control_->GetWidth() && height == control_->GetHeight()) || sizing_) {
    inheritedSetBounds(left, top, width, height);
    return;
  }
  pk_detail::TScopeExit suppress(
      [this, was = std::exchange(suppressInvalidate_, true)] { suppressInvalidate_ = was; });
  TWinControl* parent = control_->GetParent();
  TControlStyle saved;
  if (parent) {
    saved = parent->GetControlStyle();
    parent->SetControlStyle(saved + TControlStyle{csOpaque});
  }
  try {
    inheritedSetBounds(left, top, width, height);
  } catch (...) {
    if (parent) parent->SetControlStyle(saved);
    throw;
  }
  if (parent) parent->SetControlStyle(saved);
  if (control_->GetVisible()) control_->Update();
  update();
}

void TpkImagerParts::Paint(TCanvas* canvas, const std::function<void()>& apply) const {
  if (workBitmap_->GetEmpty() && !PictureEmpty()) {
    apply();
    return;
  }
  if (control_->IsDesigning() && workBitmap_->GetEmpty()) {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(clWhite);
    canvas->GetPen()->SetStyle(psDash);
    canvas->GetPen()->SetColor(clBlack);
    canvas->Rectangle(0, 0, control_->GetWidth(), control_->GetHeight());
    return;
  }
  if (workBitmap_->GetEmpty()) return;
  PaintWorking(canvas, workBitmap_, drawStyle_, preProcess_, DrawRect());
}

// --- TpkImagerWinControl ----------------------------------------------------------------------

IMPLEMENT_CLASS(TpkImagerWinControl)

TpkImagerWinControl::TpkImagerWinControl(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(GetControlStyle() + TControlStyle{csReplicatable});
}

void TpkImagerWinControl::KeyDown(WORD& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  if (imager_) imager_->DoKeyDown(key, shift);
}

void TpkImagerWinControl::KeyUp(WORD& key, TShiftState shift) {
  inherited::KeyUp(key, shift);
  if (imager_) imager_->DoKeyUp(key, shift);
}

void TpkImagerWinControl::KeyPress(char& key) {
  inherited::KeyPress(key);
  if (imager_) imager_->DoKeyPress(key);
}

void TpkImagerWinControl::CMEnter(TMessage& m) {
  inherited::CMEnter(m);
  if (imager_) imager_->DoEnter();
}

void TpkImagerWinControl::CMExit(TMessage& m) {
  inherited::CMExit(m);
  if (imager_) imager_->DoExit();
}

// --- TpkCustomImager -----------------------------------------------------------------------------

IMPLEMENT_CLASS(TpkCustomImager)

TpkCustomImager::TpkCustomImager(TComponent* owner)
    : TGraphicControl(owner),
      parts_(this, TNotifyEvent(this, &TpkCustomImager::PictureChanged),
             TNotifyEvent(this, &TpkCustomImager::BitmapOptionsChanged)) {
  SetControlStyle(GetControlStyle() + TControlStyle{csOpaque});
  SetBounds(GetLeft(), GetTop(), 100, 100);
}

void TpkCustomImager::Destroy() {
  if (focusControl_) {
    focusControl_->SetImager(nullptr);
    FreeAndNil(focusControl_);
  }
  inherited::Destroy();
}

bool TpkCustomImager::PictureEmpty() const { return parts_.PictureEmpty(); }

void TpkCustomImager::RegisterChanges(TpkChangeLink* link) {
  if (link && std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
}

void TpkCustomImager::UnregisterChanges(TpkChangeLink* link) {
  links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

void TpkCustomImager::NotifyLinks() {
  std::vector<TpkChangeLink*> links = links_;
  for (TpkChangeLink* l : links) {
    l->SetSender(GetWorkBitmap());
    l->Change();
  }
}

void TpkCustomImager::InvalidateParent(bool erase) {
  TWinControl* parent = GetParent();
  if (!parent || !parent->HandleAllocated()) return;
  RECT r = GetBoundsRect();
  InvalidateRect(parent->GetHandle(), &r, erase);
}

void TpkCustomImager::Invalidate() {
  if (!parts_.SuppressInvalidate()) InvalidateParent(true);
}

void TpkCustomImager::PictureChanged(TObject*) {
  UpdateWorkingBitmap();
  InvalidateParent(true);
  NotifyLinks();
}

void TpkCustomImager::BitmapOptionsChanged(TObject*) {
  InvalidateParent(GetTransparent());
  NotifyLinks();
}

void TpkCustomImager::UpdateWorkingBitmap() {
  if (IsLoading() || updating_) return;
  pk_detail::TScopeExit updating([this, was = std::exchange(updating_, true)] { updating_ = was; });
  parts_.SizeWorkingBitmap();
  ApplyBitmapOptions();
  AdjustSize();
}

void TpkCustomImager::ApplyBitmapOptions() {
  if (PictureEmpty() || IsLoading()) return;
  if (GetWorkBitmap()->GetEmpty()) {
    // Sizing it applies the options; an empty size leaves nothing to apply.
    if (!updating_) UpdateWorkingBitmap();
    return;
  }
  GetBitmapOptions()->Apply();
}

void TpkCustomImager::AdjustSize() { parts_.AdjustSize(); }

void TpkCustomImager::SetBounds(int left, int top, int width, int height) {
  parts_.SetBounds(
      left, top, width, height, [this](int l, int t, int w, int h) { inherited::SetBounds(l, t, w, h); },
      [this] { UpdateWorkingBitmap(); });
}

void TpkCustomImager::SetDrawStyle(TpkImagerDrawStyle v) {
  parts_.SetDrawStyle(v);
  UpdateWorkingBitmap();
  Invalidate();
}

void TpkCustomImager::SetPreProcess(bool v) {
  parts_.SetPreProcess(v);
  UpdateWorkingBitmap();
}

void TpkCustomImager::SetTransparent(bool v) {
  parts_.SetTransparent(v);
  Invalidate();
}

TColor TpkCustomImager::GetTransparentColor() const { return GetWorkBitmap()->GetTransparentColor(); }

void TpkCustomImager::SetTransparentColor(TColor v) {
  GetWorkBitmap()->SetTransparentColor(v);
  ApplyBitmapOptions();
  Invalidate();
}

bool TpkCustomImager::GetSmoothStretching() const { return GetWorkBitmap()->GetSmoothStretching(); }

void TpkCustomImager::SetSmoothStretching(bool v) {
  GetWorkBitmap()->SetSmoothStretching(v);
  ApplyBitmapOptions();
  Invalidate();
}

void TpkCustomImager::SetRespectPalette(bool v) {
  respectPalette_ = v;
  bool tinted = GetBitmapOptions()->GetColor() != clNone || GetBitmapOptions()->GetTintColor() != clNone;
  GetWorkBitmap()->SetRespectPalette(v && !tinted);
  Invalidate();
}

void TpkCustomImager::SetAutoSize(bool v) {
  inherited::SetAutoSize(v);
  AdjustSize();
}

void TpkCustomImager::Paint() {
  inherited::Paint();
  if (IsDestroying()) return;
  parts_.Paint(GetCanvas(), [this] { ApplyBitmapOptions(); });
}

void TpkCustomImager::Loaded() {
  inherited::Loaded();
  AdjustSize();
  // The working bitmap was not sized while the form was read: the chain
  // runs once now, from the stored picture.
  ApplyBitmapOptions();
}

void TpkCustomImager::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TpkCustomImager::WndProc(TMessage& m) { inherited::WndProc(m); }

void TpkCustomImager::SetParent(TWinControl* parent) {
  inherited::SetParent(parent);
  if (focusControl_) focusControl_->SetParent(parent);
}

void TpkCustomImager::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (focusControl_ && focusControl_->CanFocus()) focusControl_->SetFocus();
}

void TpkCustomImager::SetFocus() {
  if (focusControl_ && focusControl_->CanFocus()) focusControl_->SetFocus();
}

// --- focus proxy --------------------------------------------------------------------------------------

void TpkCustomImager::CreateFocusControl() {
  if (focusControl_) return;
  focusControl_ = New<TpkImagerWinControl>(this);
  focusControl_->SetImager(this);
  focusControl_->SetVisible(true);
  focusControl_->SetBounds(0, 0, 0, 0);
  focusControl_->SetParent(GetParent());
  focusControl_->SetTabStop(tabStop_);
}

void TpkCustomImager::UpdateFocusControl() {
  if (focusable_ || tabStop_) {
    CreateFocusControl();
    focusControl_->SetTabStop(tabStop_);
    if (tabOrder_ >= 0) focusControl_->SetTabOrder(tabOrder_);
  } else if (focusControl_) {
    focusControl_->SetImager(nullptr);
    FreeAndNil(focusControl_);
  }
}

void TpkCustomImager::SetFocusable(bool v) {
  focusable_ = v;
  UpdateFocusControl();
}

void TpkCustomImager::SetTabStop(bool v) {
  tabStop_ = v;
  UpdateFocusControl();
}

void TpkCustomImager::SetTabOrder(int v) {
  tabOrder_ = v;
  if (focusable_) {
    UpdateFocusControl();
  } else if (focusControl_) {
    focusControl_->SetImager(nullptr);
    FreeAndNil(focusControl_);
  }
}

void TpkCustomImager::DoEnter() {
  if (OnEnter) OnEnter(this);
  hasFocus_ = true;
  Invalidate();
}

void TpkCustomImager::DoExit() {
  if (OnExit) OnExit(this);
  hasFocus_ = false;
  Invalidate();
}

void TpkCustomImager::DoKeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
  if (key == VK_INSERT && shift.Contains(ssShift))
    PasteFromClipboard();
  else if (key == VK_INSERT && shift.Contains(ssCtrl))
    CopyToClipboard();
  else if (key == VK_DELETE && shift.Contains(ssShift))
    CutToClipboard();
}

void TpkCustomImager::DoKeyUp(WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TpkCustomImager::DoKeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
  switch (key) {
    case 3: CopyToClipboard(); break;
    case 22: PasteFromClipboard(); break;
    case 24: CutToClipboard(); break;
    default: break;
  }
}

// --- clipboard ----------------------------------------------------------------------------------------

void TpkCustomImager::CopyToClipboard() {
  if (GetWorkBitmap()->GetEmpty()) return;
  Owned<TBitmap> copy = MakeOwned<TBitmap>();
  GetWorkBitmap()->SaveToBitmap(copy.get());
  Clipboard()->Assign(copy.get());
}

void TpkCustomImager::CutToClipboard() {
  if (!GetPicture()->GetGraphic()) return;
  CopyToClipboard();
  GetPicture()->SetGraphic(nullptr);
}

void TpkCustomImager::PasteFromClipboard() {
  if (!Clipboard()->HasFormat(CF_BITMAP)) return;
  Owned<TBitmap> pasted = MakeOwned<TBitmap>();
  pasted->Assign(Clipboard());
  pasted->SetTransparent(GetTransparent());
  GetPicture()->SetBitmap(pasted.get());
}

// --- TpkImager ------------------------------------------------------------------------------------------

PUBLISHED(TpkImager) {
  using C = TpkCustomImager;
  PublishControlProps(p, {"Align"});
  p.Prop("AutoSize", &C::GetAutoSize, &C::SetAutoSize).NoDefault();
  p.Prop("BitmapOptions", &C::GetBitmapOptions, &C::SetBitmapOptions);
  p.Prop("DrawStyle", &C::GetDrawStyle, &C::SetDrawStyle).NoDefault();
  p.Prop("Picture", &C::GetPicture, &C::SetPicture);
  p.Prop("PreProcess", &C::GetPreProcess, &C::SetPreProcess).NoDefault();
  p.Prop("RespectPalette", &C::GetRespectPalette, &C::SetRespectPalette).Default(true);
  p.Prop("SmoothStretching", &C::GetSmoothStretching, &C::SetSmoothStretching).NoDefault();
  p.Prop("Transparent", &C::GetTransparent, &C::SetTransparent).NoDefault();
  p.Prop("TransparentColor", &C::GetTransparentColor, &C::SetTransparentColor).NoDefault().Type(TColorTypeInfo());
  PublishControlProps(p, {"Visible"});
  p.Prop("Focusable", &C::GetFocusable, &C::SetFocusable).Default(false);
  PublishControlProps(p, {"Anchors", "Constraints"});
  p.Prop("TabOrder", &C::GetTabOrder, &C::SetTabOrder).Default(-1);
  p.Prop("TabStop", &C::GetTabStop, &C::SetTabStop).Default(false);
  PublishControlProps(p, {"OnEndDock", "OnStartDock", "OnClick", "OnDblClick", "OnDragDrop", "OnDragOver",
                          "OnEndDrag"});
  p.Prop("OnEnter", &C::GetOnEnter, &C::SetOnEnter);
  p.Prop("OnExit", &C::GetOnExit, &C::SetOnExit);
  PublishControlProps(p, {"OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"});
  p.Prop("OnKeyPress", &C::GetOnKeyPress, &C::SetOnKeyPress);
  p.Prop("OnKeyDown", &C::GetOnKeyDown, &C::SetOnKeyDown);
  p.Prop("OnKeyUp", &C::GetOnKeyUp, &C::SetOnKeyUp);
}

// --- TpkDBCustomImager ---------------------------------------------------------------------------------

IMPLEMENT_CLASS(TpkDBCustomImager)

TpkDBCustomImager::TpkDBCustomImager(TComponent* owner)
    : TCustomControl(owner),
      parts_(this, TNotifyEvent(this, &TpkDBCustomImager::PictureChanged),
             TNotifyEvent(this, &TpkDBCustomImager::OptionsChanged)) {
  SetControlStyle(GetControlStyle() + TControlStyle{csOpaque});
  SetParentColor(false);
  SetColor(clWindow);
  SetBounds(GetLeft(), GetTop(), 100, 100);
}

bool TpkDBCustomImager::PictureEmpty() const { return parts_.PictureEmpty(); }

void TpkDBCustomImager::PictureChanged(TObject*) {
  UpdateWorkingBitmap();
  TWinControl* parent = GetParent();
  if (parent && parent->HandleAllocated()) {
    RECT r = GetBoundsRect();
    InvalidateRect(parent->GetHandle(), &r, TRUE);
  }
}

void TpkDBCustomImager::OptionsChanged(TObject*) { Invalidate(); }

void TpkDBCustomImager::Invalidate() {
  if (HandleAllocated()) InvalidateRect(GetHandle(), nullptr, FALSE);
  TWinControl* parent = GetParent();
  if (GetTransparent() && parent && parent->HandleAllocated()) {
    RECT r = GetBoundsRect();
    InvalidateRect(parent->GetHandle(), &r, TRUE);
  }
}

void TpkDBCustomImager::UpdateWorkingBitmap() {
  if (IsLoading() || updating_) return;
  pk_detail::TScopeExit updating([this, was = std::exchange(updating_, true)] { updating_ = was; });
  parts_.SizeWorkingBitmap();
  // Inside an apply the chain is already running: apply directly; else
  // through the guarded operation.
  if (applying_)
    GetBitmapOptions()->Apply();
  else
    ApplyBitmapOptions();
  AdjustSize();
}

void TpkDBCustomImager::ApplyBitmapOptions() {
  if (PictureEmpty() || IsLoading() || applying_) return;
  pk_detail::TScopeExit applying([this, was = std::exchange(applying_, true)] { applying_ = was; });
  if (GetWorkBitmap()->GetEmpty()) {
    if (!updating_) UpdateWorkingBitmap();
    return;
  }
  GetBitmapOptions()->Apply();
}

void TpkDBCustomImager::AdjustSize() { parts_.AdjustSize(); }

void TpkDBCustomImager::SetBounds(int left, int top, int width, int height) {
  parts_.SetBounds(
      left, top, width, height, [this](int l, int t, int w, int h) { inherited::SetBounds(l, t, w, h); },
      [this] { UpdateWorkingBitmap(); });
}

void TpkDBCustomImager::SetAutoSize(bool v) {
  inherited::SetAutoSize(v);
  AdjustSize();
}

void TpkDBCustomImager::SetDrawStyle(TpkImagerDrawStyle v) {
  parts_.SetDrawStyle(v);
  UpdateWorkingBitmap();
  Invalidate();
}

void TpkDBCustomImager::SetPreProcess(bool v) {
  parts_.SetPreProcess(v);
  UpdateWorkingBitmap();
}

void TpkDBCustomImager::SetTransparent(bool v) {
  parts_.SetTransparent(v);
  Invalidate();
}

void TpkDBCustomImager::Paint() {
  if (IsDestroying()) return;
  parts_.Paint(GetCanvas(), [this] { ApplyBitmapOptions(); });
}

void TpkDBCustomImager::Loaded() {
  inherited::Loaded();
  AdjustSize();
  ApplyBitmapOptions();
}

void TpkDBCustomImager::CreateWnd() {
  inherited::CreateWnd();
  TWinControl* parent = GetParent();
  if (GetTransparent() && parent && parent->HandleAllocated()) {
    HWND w = parent->GetHandle();
    SetWindowLongPtrA(w, GWL_STYLE, GetWindowLongPtrA(w, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CLIPCHILDREN));
  }
}

void TpkDBCustomImager::WMEraseBkgnd(TMessage& m) {
  if (GetTransparent() || (GetParent() && InheritsFromName(GetParent(), "TCustomGrid"))) {
    m.Result = 1;
    return;
  }
  inherited::WMEraseBkgnd(m);
}

void TpkDBCustomImager::CMEnter(TMessage& m) {
  inherited::CMEnter(m);
  Invalidate();
}

void TpkDBCustomImager::CMExit(TMessage& m) {
  inherited::CMExit(m);
  Invalidate();
}

void InitializePkImager() { RegisterClasses({TpkImager::StaticClass()}); }

void FinalizePkImager() { UnRegisterClass(TpkImager::StaticClass()); }
