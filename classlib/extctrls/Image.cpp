#include "classlib/extctrls/Image.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"

namespace {
// Icons and metafiles keep their own transparency.
bool TakesTransparency(const TGraphic* g) {
  for (TClass c = g->ClassType(); c; c = c->ClassParent())
    if (c->ClassNameIs("TIcon") || c->ClassNameIs("TMetafile")) return false;
  return true;
}
}  // namespace

PUBLISHED(TImage) {
  PublishControlProps(p, {"Align", "Anchors"});
  p.Prop("AutoSize", &TImage::GetAutoSize, &TImage::SetAutoSize).Default(false);
  p.Prop("Center", &TImage::GetCenter, &TImage::SetCenter).Default(false);
  PublishControlProps(p, {"Constraints", "DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("IncrementalDisplay", &TImage::GetIncrementalDisplay, &TImage::SetIncrementalDisplay).Default(false);
  PublishControlProps(p, {"ParentShowHint"});
  p.Prop("Picture", &TImage::GetPicture, &TImage::SetPicture);
  PublishControlProps(p, {"PopupMenu"});
  p.Prop("Proportional", &TImage::GetProportional, &TImage::SetProportional).Default(false);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("Stretch", &TImage::GetStretch, &TImage::SetStretch).Default(false);
  p.Prop("Transparent", &TImage::GetTransparent, &TImage::SetTransparent).Default(false);
  PublishControlProps(p, {"Visible", "OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver",
                          "OnEndDock", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
  p.Prop("OnProgress", &TImage::GetOnProgress, &TImage::SetOnProgress);
  PublishControlProps(p, {"OnStartDock", "OnStartDrag"});
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(GetControlStyle() + TControlStyle{csReplicatable});
  picture_ = New<TPicture>();
  picture_->SetOnChange(TNotifyEvent(this, &TImage::PictureChanged));
  picture_->SetOnProgress(TProgressEvent(this, &TImage::Progress));
  SetBounds(GetLeft(), GetTop(), 105, 105);
}

void TImage::Destroy() {
  inherited::Destroy();
  FreeAndNil(picture_);
}

TCanvas* TImage::GetCanvas() {
  if (!picture_->GetGraphic()) {
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetSize(GetWidth(), GetHeight());
    picture_->SetGraphic(bitmap.get());
  }
  auto* bitmap = dynamic_cast<TBitmap*>(picture_->GetGraphic());
  if (!bitmap) throw EInvalidOperation("Can only modify an image if it contains a bitmap");
  return bitmap->GetCanvas();
}

void TImage::SetCenter(bool v) {
  if (center_ == v) return;
  center_ = v;
  PictureChanged(this);
}

void TImage::SetProportional(bool v) {
  if (proportional_ == v) return;
  proportional_ = v;
  PictureChanged(this);
}

void TImage::SetStretch(bool v) {
  if (stretch_ == v) return;
  stretch_ = v;
  PictureChanged(this);
}

void TImage::SetTransparent(bool v) {
  if (transparent_ == v) return;
  transparent_ = v;
  PictureChanged(this);
}

TRect TImage::DestRect() {
  int w = picture_->GetWidth();
  int h = picture_->GetHeight();
  int cw = GetClientWidth();
  int ch = GetClientHeight();
  if (stretch_ || (proportional_ && (w > cw || h > ch))) {
    if (proportional_ && w > 0 && h > 0) {
      // Fit the longer side first, then the other if it still overflows.
      double aspect = static_cast<double>(w) / h;
      if (w > h) {
        w = cw;
        h = static_cast<int>(cw / aspect);
        if (h > ch) {
          h = ch;
          w = static_cast<int>(ch * aspect);
        }
      } else {
        h = ch;
        w = static_cast<int>(ch * aspect);
        if (w > cw) {
          w = cw;
          h = static_cast<int>(cw / aspect);
        }
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r = Rect(0, 0, w, h);
  if (center_) OffsetRect(&r, (cw - w) / 2, (ch - h) / 2);
  return r;
}

bool TImage::CanAutoSize(int& newWidth, int& newHeight) {
  if (!IsDesigning() || (picture_->GetWidth() > 0 && picture_->GetHeight() > 0)) {
    TAlign a = GetAlign();
    if (a == alNone || a == alLeft || a == alRight) newWidth = picture_->GetWidth();
    if (a == alNone || a == alTop || a == alBottom) newHeight = picture_->GetHeight();
  }
  return true;
}

void TImage::Paint() {
  TCanvas* canvas = TGraphicControl::GetCanvas();
  if (IsDesigning()) {
    canvas->GetPen()->SetStyle(psDash);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->Rectangle(0, 0, GetWidth(), GetHeight());
  }
  TGraphic* graphic = picture_->GetGraphic();
  if (!graphic) return;
  drawing_ = true;
  try {
    canvas->StretchDraw(DestRect(), graphic);
  } catch (...) {
    drawing_ = false;
    throw;
  }
  drawing_ = false;
}

void TImage::PictureChanged(TObject*) {
  if (GetAutoSize() && picture_->GetWidth() > 0 && picture_->GetHeight() > 0)
    SetBounds(GetLeft(), GetTop(), picture_->GetWidth(), picture_->GetHeight());
  TControlStyle style = GetControlStyle();
  if (TGraphic* graphic = picture_->GetGraphic()) {
    if (TakesTransparency(graphic)) graphic->SetTransparent(transparent_);
    // Opaque only when a solid picture covers the whole control.
    TRect d = DestRect();
    if (!graphic->GetTransparent() && d.left <= 0 && d.top <= 0 && d.right >= GetWidth() &&
        d.bottom >= GetHeight())
      style.Include(csOpaque);
    else
      style.Exclude(csOpaque);
  } else {
    style.Exclude(csOpaque);
  }
  SetControlStyle(style);
  if (!drawing_) Invalidate();
}

void TImage::Progress(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& r,
                      const std::string& msg) {
  if (incrementalDisplay_ && redrawNow) Repaint();
  if (OnProgress) OnProgress(sender, stage, percentDone, redrawNow, r, msg);
}
