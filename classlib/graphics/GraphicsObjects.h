// Fonts, pens and brushes: the GDI objects a canvas selects.
//
// Each keeps its description and makes its GDI handle on demand, cached until
// the description changes. A change fires OnChange first (a canvas that has
// the old handle selected deselects it there) and only then deletes the old
// handle, because GDI refuses to delete an object still selected in a DC.
#pragma once

#include <string>

#include "classlib/Win.h"
#include "classlib/classes/Persistent.h"
#include "classlib/graphics/Colors.h"

class TBitmap;

class TGraphicsObject : public TPersistent {
  DECLARE_CLASS(TGraphicsObject, TPersistent)

  const TNotifyEvent& GetOnChange() const { return onChange_; }
  void SetOnChange(const TNotifyEvent& e) { onChange_ = e; }
  // True once a handle has been made and not yet dropped.
  virtual bool HandleAllocated() const = 0;

 protected:
  virtual void Changed();

 private:
  TNotifyEvent onChange_;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
DECLARE_ENUM_TYPE(TFontStyle);
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
DECLARE_ENUM_TYPE(TFontPitch);

class TFont : public TGraphicsObject {
  DECLARE_CLASS(TFont, TGraphicsObject)

  TFont();
  ~TFont() override;

  void Assign(TPersistent* source) override;

  // The font handle (CreateFontIndirect), made on first use.
  HFONT GetHandle();
  // Takes over a font handle: its LOGFONT becomes the description. The
  // handle may be more than the description says (a rotated font): the next
  // Assign replaces it even when the descriptions agree.
  void SetHandle(HFONT font);
  bool HandleAllocated() const override { return handle_ != nullptr; }

  TColor GetColor() const { return color_; }
  void SetColor(TColor v);
  // Height in pixels as LOGFONT's lfHeight: negative for the character height.
  int GetHeight() const { return height_; }
  void SetHeight(int v);
  // Points: -MulDiv(Height, 72, PixelsPerInch).
  int GetSize() const;
  void SetSize(int v);
  const std::string& GetName() const { return name_; }
  void SetName(const std::string& v);
  TFontStyles GetStyle() const { return style_; }
  void SetStyle(TFontStyles v);
  TFontCharset GetCharset() const { return charset_; }
  void SetCharset(TFontCharset v);
  TFontPitch GetPitch() const { return pitch_; }
  void SetPitch(TFontPitch v);
  int GetPixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int v) { pixelsPerInch_ = v; }

 private:
  void DataChanged();

  HFONT handle_ = nullptr;
  // The handle came from SetHandle, not from the description.
  bool adopted_ = false;
  TColor color_ = clWindowText;
  int pixelsPerInch_;
  int height_;
  std::string name_ = "MS Sans Serif";
  TFontStyles style_;
  TFontCharset charset_ = DEFAULT_CHARSET;
  TFontPitch pitch_ = fpDefault;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
DECLARE_ENUM_TYPE(TPenStyle);
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
DECLARE_ENUM_TYPE(TPenMode);
// The raster operation (SetROP2) of a pen mode.
int PenModeToROP2(TPenMode mode);

class TPen : public TGraphicsObject {
  DECLARE_CLASS(TPen, TGraphicsObject)

  TPen() = default;
  ~TPen() override;

  void Assign(TPersistent* source) override;

  HPEN GetHandle();
  void SetHandle(HPEN pen);
  bool HandleAllocated() const override { return handle_ != nullptr; }

  TColor GetColor() const { return color_; }
  void SetColor(TColor v);
  int GetWidth() const { return width_; }
  void SetWidth(int v);
  TPenStyle GetStyle() const { return style_; }
  void SetStyle(TPenStyle v);
  // Applied by the canvas (SetROP2) whenever it selects the pen.
  TPenMode GetMode() const { return mode_; }
  void SetMode(TPenMode v);

 private:
  void DataChanged();

  HPEN handle_ = nullptr;
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
DECLARE_ENUM_TYPE(TBrushStyle);

class TBrush : public TGraphicsObject {
  DECLARE_CLASS(TBrush, TGraphicsObject)

  TBrush() = default;
  ~TBrush() override;

  void Assign(TPersistent* source) override;

  HBRUSH GetHandle();
  void SetHandle(HBRUSH brush);
  bool HandleAllocated() const override { return handle_ != nullptr; }

  // Setting a colour on a clear brush makes it solid, and the clear style
  // makes the colour white, as on the platform.
  TColor GetColor() const { return color_; }
  void SetColor(TColor v);
  TBrushStyle GetStyle() const { return style_; }
  void SetStyle(TBrushStyle v);
  // A pattern bitmap (not owned); while set, the brush is a pattern brush
  // whatever its style. Setting it makes the brush white and solid.
  TBitmap* GetBitmap() const { return bitmap_; }
  void SetBitmap(TBitmap* v);

 private:
  void DataChanged();
  void SetData(TColor color, TBrushStyle style, TBitmap* bitmap);

  HBRUSH handle_ = nullptr;
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  TBitmap* bitmap_ = nullptr;
};

// Logical pixels per inch of the screen (GetDeviceCaps LOGPIXELSY).
int ScreenLogPixels();
