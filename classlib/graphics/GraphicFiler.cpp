// The stored-form "Data" properties of graphics and pictures.
#include "classlib/classes/Filer.h"
#include "classlib/graphics/Graphic.h"
#include "classlib/graphics/Picture.h"

void TGraphic::DefineProperties(TFiler* filer) {
  // Written when there is something to write, or, in a descendant form, when
  // it differs from the ancestor's graphic.
  bool write;
  if (TPersistent* ancestor = filer->GetAncestor()) {
    auto* g = dynamic_cast<TGraphic*>(ancestor);
    write = !g || !Equals(g);
  } else {
    write = !GetEmpty();
  }
  filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, write);
}

void TPicture::DefineProperties(TFiler* filer) {
  bool write;
  if (TPersistent* ancestor = filer->GetAncestor()) {
    auto* p = dynamic_cast<TPicture*>(ancestor);
    write = !p || !(graphic_ == p->graphic_ || (graphic_ && p->graphic_ && graphic_->Equals(p->graphic_)));
  } else {
    write = graphic_ != nullptr;
  }
  filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, write);
}
