// TMetafile: a picture made of GDI drawing calls, held as an enhanced
// metafile (HENHMETAFILE) whatever it was read from.
//
// Reads EMF files and WMF files with or without the placeable header (the
// header's bounding box and units-per-inch give the size; a bare WMF takes
// the size Win32 gives it). Writes EMF while Enhanced is set, else a WMF with
// a placeable header. Sizes are kept in hundredths of a millimetre
// (MMWidth/MMHeight); Width and Height are those at the screen's resolution.
#pragma once

#include "classlib/Win.h"

#include "classlib/graphics/Graphic.h"

class TMetafile : public TGraphic {
  DECLARE_CLASS(TMetafile, TGraphic)

  TMetafile();

  void Assign(TPersistent* source) override;
  void Clear();

  // Damaged data raise EInvalidGraphic "Metafile is not valid" and leave the
  // metafile unchanged.
  void LoadFromStream(TStream* stream) override;
  void SaveToStream(TStream* stream) override;

  // CF_ENHMETAFILE: a copy of the clipboard's metafile, or of this one.
  void LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette) override;
  void SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) override;

  void Draw(TCanvas* canvas, const TRect& rect) override;
  bool GetEmpty() const override { return handle_ == nullptr; }
  int GetWidth() const override;
  int GetHeight() const override;
  void SetWidth(int value) override;
  void SetHeight(int value) override;
  // Only what the metafile draws is painted.
  bool GetTransparent() const override { return true; }

  HENHMETAFILE GetHandle() const { return handle_; }
  // Takes the handle over (the metafile deletes it); the size comes from the
  // metafile's frame.
  void SetHandle(HENHMETAFILE value);
  bool HandleAllocated() const { return handle_ != nullptr; }
  // Gives the handle to the caller; the metafile is empty afterwards.
  HENHMETAFILE ReleaseHandle();

  bool GetEnhanced() const { return enhanced_; }
  void SetEnhanced(bool value) { enhanced_ = value; }
  int GetMMWidth() const { return mmWidth_; }
  void SetMMWidth(int value);
  int GetMMHeight() const { return mmHeight_; }
  void SetMMHeight(int value);
  // Units per inch of a placeable WMF's bounding box (0: not read from one).
  int GetInch() const { return inch_; }
  void SetInch(int value) { inch_ = value; }

 protected:
  void Destroy() override;

 private:
  void DeleteHandle();

  HENHMETAFILE handle_ = nullptr;
  int mmWidth_ = 0;
  int mmHeight_ = 0;
  int inch_ = 0;
  bool enhanced_ = true;
};

// Start-up: "emf" and "wmf" in the picture formats, CF_ENHMETAFILE among the
// clipboard formats, the class in the class registry.
void InitializeMetafile();
void FinalizeMetafile();
