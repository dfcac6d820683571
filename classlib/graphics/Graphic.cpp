#include "classlib/graphics/Graphic.h"

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Canvas.h"

DEFINE_ENUM_TYPE(TProgressStage, "psStarting", "psRunning", "psEnding")

IMPLEMENT_CLASS(TGraphic)

bool IsGraphicClass(TClass cls) { return cls && cls->InheritsFrom(TGraphic::StaticClass()); }

HPALETTE TGraphic::GetPalette() { return nullptr; }

void TGraphic::SetPalette(HPALETTE) {}

void TGraphic::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Changed(this);
}

void TGraphic::SetModified(bool value) {
  if (value) Changed(this);
  else modified_ = false;
}

void TGraphic::Changed(TObject*) {
  modified_ = true;
  if (onChange_) onChange_(this);
}

void TGraphic::Progress(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& r,
                        const std::string& msg) {
  if (onProgress_) onProgress_(sender, stage, percentDone, redrawNow, r, msg);
}

void TGraphic::AssignTo(TPersistent* dest) {
  if (auto* bmp = dynamic_cast<TBitmap*>(dest)) {
    // Any graphic becomes a bitmap by drawing it on white.
    bmp->SetSize(0, 0);
    bmp->SetSize(GetWidth(), GetHeight());
    if (!GetEmpty()) bmp->GetCanvas()->Draw(0, 0, this);
    bmp->SetTransparent(GetTransparent());
    return;
  }
  inherited::AssignTo(dest);
}
