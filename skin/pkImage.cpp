#include "skin/pkImage.h"

#include <utility>

#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "skin/pkBitmap.h"
#include "skin/pkGdi.h"

namespace {

// Icons and metafiles keep their own transparency.
bool TakesTransparency(const TGraphic* g) {
  for (TClass c = g->ClassType(); c; c = c->ClassParent())
    if (c->ClassNameIs("TIcon") || c->ClassNameIs("TMetafile")) return false;
  return true;
}

}  // namespace

IMPLEMENT_CLASS(TpkCustomImage)

TpkCustomImage::TpkCustomImage(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(GetControlStyle() + TControlStyle{csReplicatable});
  picture_ = New<TPicture>();
  picture_->SetOnChange(TNotifyEvent(this, &TpkCustomImage::PictureChanged));
  SetBounds(GetLeft(), GetTop(), 105, 105);
}

void TpkCustomImage::Destroy() {
  inherited::Destroy();
  FreeAndNil(picture_);
}

void TpkCustomImage::SetPicture(TPicture* value) { picture_->Assign(value); }

void TpkCustomImage::SetAutoSize(bool value) {
  inherited::SetAutoSize(value);
  PictureChanged(this);
}

void TpkCustomImage::Paint() {
  if (picture_->GetWidth() == 0) return;
  TCanvas* canvas = GetCanvas();
  if (IsDesigning()) {
    canvas->GetPen()->SetStyle(psDash);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->Rectangle(0, 0, GetWidth(), GetHeight());
  }
  TGraphic* graphic = picture_->GetGraphic();
  if (!graphic) return;
  pk_detail::TScopeExit drawing([this, was = std::exchange(drawing_, true)] { drawing_ = was; });
  if (noPaletteDither_ || Seams().DisplayBitsPerPixel() > 8) {
    canvas->StretchDraw(Rect(0, 0, picture_->GetWidth(), picture_->GetHeight()), graphic);
  } else {
    // A palette display: the picture's own colours, realised for the draw.
    Owned<TpkBitmap> bitmap = MakeOwned<TpkBitmap>();
    bitmap->SetRespectPalette(true);
    bitmap->Assign(graphic);
    canvas->Draw(0, 0, bitmap.get());
  }
}

bool TpkCustomImage::DoPaletteChange() {
  TGraphic* graphic = picture_->GetGraphic();
  if (!graphic || !GetVisible() || IsLoading() || !graphic->GetPaletteModified()) return false;
  if (!graphic->GetPalette()) {
    graphic->SetPaletteModified(false);
    return false;
  }
  TCustomForm* form = GetParentForm(this);
  if (!form || !form->GetActive() || !form->HandleAllocated()) return false;
  if (drawing_)
    form->Perform(WM_QUERYNEWPALETTE, 0, 0);
  else
    PostMessageA(form->GetHandle(), WM_QUERYNEWPALETTE, 0, 0);
  graphic->SetPaletteModified(false);
  return true;
}

void TpkCustomImage::PictureChanged(TObject*) {
  if (GetAutoSize() && picture_->GetWidth() > 0 && picture_->GetHeight() > 0)
    SetBounds(GetLeft(), GetTop(), picture_->GetWidth(), picture_->GetHeight());
  TControlStyle style = GetControlStyle();
  TGraphic* graphic = picture_->GetGraphic();
  if (graphic) {
    if (TakesTransparency(graphic)) graphic->SetTransparent(transparent_);
    if (!graphic->GetTransparent() && graphic->GetWidth() >= GetWidth() && graphic->GetHeight() >= GetHeight())
      style.Include(csOpaque);
    else
      style.Exclude(csOpaque);
    SetControlStyle(style);
    if (DoPaletteChange() && drawing_) Update();
  } else {
    style.Exclude(csOpaque);
    SetControlStyle(style);
  }
  if (!drawing_) Invalidate();
}
