// TpkCustomImage: a windowless control that holds a picture and paints it at
// its own size from the top-left corner. On a palette display (8 bits or
// fewer) the picture is drawn through a TpkBitmap that realises the
// picture's own colours, unless the no-palette-dither switch is on. The image
// form builds on it.
#pragma once

#include "classlib/Controls.h"

class TpkCustomImage : public TGraphicControl {
  DECLARE_CLASS(TpkCustomImage, TGraphicControl)

  explicit TpkCustomImage(TComponent* owner);

  TPicture* GetPicture() const { return picture_; }
  virtual void SetPicture(TPicture* value);
  // Stores, then PictureChanged (which sizes the control to the picture).
  void SetAutoSize(bool value) override;

  void Paint() override;
  // The picture's OnChange: size, opacity, palette and repaint.
  virtual void PictureChanged(TObject* sender);

  // The picture's graphic takes this flag (never set by the library).
  bool GetTransparent() const { return transparent_; }
  bool GetDrawing() const { return drawing_; }
  bool GetNoPaletteDither() const { return noPaletteDither_; }
  void SetNoPaletteDither(bool value) { noPaletteDither_ = value; }

 protected:
  void Destroy() override;
  // Hands a changed palette of the graphic to the parent form; true when
  // the palette changed.
  bool DoPaletteChange();

 private:
  TPicture* picture_ = nullptr;
  bool transparent_ = false;
  bool drawing_ = false;
  bool noPaletteDither_ = false;
};
