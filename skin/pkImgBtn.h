// TpkImageBtn: a skinned bit button whose face is a bitmap.
//
// An up image and an optional down image (TpkBitmap), or the pictures of
// other components (ExtImage, ExtImageDown: an imager's working bitmap or
// another image button's images, followed through a change link). The face
// can be tinted (Color), dithered while a sticky button is down without a
// down image, or shaded with 3-D edges that follow the outline of the
// picture. The window is cut to the picture's outline: each state's region
// is built from a rendered copy of its image the first time it is needed
// (a transparent colour, see pkRegion.h) and kept in the state's blob until
// that image changes or the button is resized.
#pragma once

#include "skin/pkButton.h"

class TpkBitmap;
class TpkChangeLink;

// The up image's shift while pressed without a down image.
class TpkImgDownOffsets : public TpkOffsets {
  DECLARE_CLASS(TpkImgDownOffsets, TpkOffsets)

  explicit TpkImgDownOffsets(TpkCustomBitBtn* button = nullptr) : TpkOffsets(button) {}

  int GetImageDownX() const { return imageDownX_; }
  void SetImageDownX(int v) { imageDownX_ = v; }
  int GetImageDownY() const { return imageDownY_; }
  void SetImageDownY(int v) { imageDownY_ = v; }

  void AssignTo(TPersistent* dest) override;

 private:
  int imageDownX_ = 2;
  int imageDownY_ = 2;
};

enum TpkDitherStyle { dsDither, dsBlendDither, dsFill };
DECLARE_ENUM_TYPE(TpkDitherStyle);

// The run scan of BuildRegionFromGraphic straight over a TpkBitmap's rows:
// pixels compared as TColor values (red in the low byte) with
// transparentColor as given; -1 takes the colour of pixel (0, 0). The caller
// owns the region; an empty bitmap or one without an opaque pixel gives null.
HRGN BuildRegionFromPkBitmap(TpkBitmap* bitmap, TColor transparentColor);

class TpkCustomImageBtn : public TpkCustomBitBtn {
  DECLARE_CLASS(TpkCustomImageBtn, TpkCustomBitBtn)

  explicit TpkCustomImageBtn(TComponent* owner);

  // --- properties ----------------------------------------------------------------------
  TColor GetDitherColor() const { return ditherColor_; }
  void SetDitherColor(TColor value);
  TpkDitherStyle GetDitherStyle() const { return ditherStyle_; }
  void SetDitherStyle(TpkDitherStyle value);
  TComponent* GetExtImage() const { return extImage_; }
  void SetExtImage(TComponent* value);
  TComponent* GetExtImageDown() const { return extImageDown_; }
  void SetExtImageDown(TComponent* value);
  // Pixels parked while the window is gone come back when the image is
  // asked for.
  TpkBitmap* GetImage() const;
  void SetImage(TpkBitmap* value);
  TpkBitmap* GetImageDown() const { return imageDown_; }
  void SetImageDown(TpkBitmap* value);
  TpkImgDownOffsets* GetImgOffsets() const;
  void SetImgOffsets(TpkImgDownOffsets* value) { SetOffsets(value); }
  // Whether the parent window clips its children. False removes
  // WS_CLIPCHILDREN from the parent, True puts it back (not while designing).
  bool GetParentClipping() const;
  void SetParentClipping(bool value);
  // The up image's; setting it sets both images'.
  bool GetRespectPalette() const;
  void SetRespectPalette(bool value);
  // See pkRegion.h. A change outside stored-form loading drops both region
  // blobs, so the next region follows the new colour.
  TColor GetTransparentColor() const { return transparentColor_; }
  void SetTransparentColor(TColor value);

  // --- overrides of the bit button --------------------------------------------------------
  TpkOffsets* CreateOffsets() override;
  HRGN GetStateRegion(bool createIfMissing, bool pressed) override;
  bool StoresRegionData() override { return true; }
  void PaintFace(TpkBitmap* bitmap, bool shapeOnly, bool pressed, TpkShadeStyle shadeStyle) override;
  bool UseRegion() override { return transparentColor_ != clNoRegion; }
  bool StateShapesDiffer() override;
  void SizeToImage() override;
  void ApplyRegion() override;

  // --- new operations ------------------------------------------------------------------------
  // The picture of a state: the source component's, else the own image
  // (pressed: the own down image even when it is empty).
  virtual TpkBitmap* GetStateImage(bool pressed);
  // Source stretched into dest at the face's size (2 pixels smaller for
  // fbsRaised); unless shapeOnly, tinted and dithered as the state asks.
  virtual void RenderImage(TpkBitmap* source, TpkBitmap* dest, bool pressed, bool shapeOnly,
                           TpkShadeStyle shadeStyle);
  // A state's image changed: its region blob goes and the button repaints.
  virtual void ImageChanged(TObject* sender);
  // The colour at point of the face as it is painted now.
  virtual TColor PixelColorAt(TPoint point);
  // The highlight faces of both states become the images.
  virtual void BakeShading();

  // The transparent colour of a state (see pkRegion.h).
  TColor TransparentColorFor(bool pressed);

  void AssignTo(TPersistent* dest) override;
  void Notification(TComponent* component, TOperation operation) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 protected:
  void Destroy() override;
  // The up image's pixels are parked in memory (no window, and nobody has
  // asked for the image since).
  bool ImageParked() const;

 private:
  void RestoreParkedImage();
  TpkBitmap* SourceImage(TComponent* source, bool pressed);
  // Sets one of ExtImage/ExtImageDown (field) to value; other is the
  // second property's source.
  void SetSource(TComponent*& field, TComponent* other, TComponent* value);
  void Attach(TComponent* source);
  void Detach(TComponent* source);
  void DrawEdges(TpkBitmap* face, bool pressed);

  TpkBitmap* image_ = nullptr;
  TpkBitmap* imageDown_ = nullptr;
  TComponent* extImage_ = nullptr;
  TComponent* extImageDown_ = nullptr;
  TpkChangeLink* link_ = nullptr;
  TColor transparentColor_ = clNone;
  TColor ditherColor_ = clWhite;
  TpkDitherStyle ditherStyle_ = dsDither;
  bool applying_ = false;
  bool parking_ = false;
};

class TpkImageBtn : public TpkCustomImageBtn {
  DECLARE_CLASS(TpkImageBtn, TpkCustomImageBtn)
  using TpkCustomImageBtn::TpkCustomImageBtn;
};

// Start-up: the image button classes join the class registry.
void InitializePkImgBtn();
void FinalizePkImgBtn();
