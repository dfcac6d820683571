// pktext: the caption renderer of the skin library's buttons. Draws a caption
// rotated to any angle, with a drop shadow, a 3-D extrusion with a colour
// ramp, raised, lowered or outlined, in separate colours while disabled,
// word-wrapped (optionally fully justified), optionally double-buffered.
//
// The owner (a button) creates the renderer with its canvas, its font and
// three callbacks (a change notification, a layout notification for changes
// that affect the caption's size, and an is-enabled query), and sets the
// caption and the text rectangle before each Draw.
#pragma once

#include <string>

#include "classlib/Controls.h"
#include "classlib/Graphics.h"
#include "classlib/Win.h"

enum TpkTextStyle { pklsDefault, pklsLowered, pklsRaised, pklsOutline };
DECLARE_ENUM_TYPE(TpkTextStyle);
enum TpkOrientation { pkTopLeft, pkTopRight, pkBottomLeft, pkBottomRight, pkTop, pkRight, pkLeft, pkBottom };
DECLARE_ENUM_TYPE(TpkOrientation);
enum TpkVAlignment { vaTop, vaVCenter, vaBottom };
DECLARE_ENUM_TYPE(TpkVAlignment);
enum TpkTextOption { toShowAccel, toShowEllipsis, toFullJustify };
DECLARE_ENUM_TYPE(TpkTextOption);
using TpkTextOptions = TSet<TpkTextOption>;

// The step of an extrusion in an orientation; the same eight vectors, in
// order, are the outline's offsets.
TPoint OrientationVector(TpkOrientation orientation);

class TpkText;

class TpkShadowEffects : public TPersistent {
  DECLARE_CLASS(TpkShadowEffects, TPersistent)

  explicit TpkShadowEffects(TpkText* renderer) : renderer_(renderer) {}
  void AssignTo(TPersistent* dest) override;

  TColor GetColor() const { return color_; }
  void SetColor(TColor value);
  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool value);
  int GetXOffset() const { return xOffset_; }
  void SetXOffset(int value);
  int GetYOffset() const { return yOffset_; }
  void SetYOffset(int value);

 private:
  TpkText* renderer_;
  TColor color_ = clBtnShadow;
  bool enabled_ = false;
  int xOffset_ = 10;
  int yOffset_ = 10;
};

class TpkExtrudeEffects : public TPersistent {
  DECLARE_CLASS(TpkExtrudeEffects, TPersistent)

  explicit TpkExtrudeEffects(TpkText* renderer) : renderer_(renderer) {}
  void AssignTo(TPersistent* dest) override;

  int GetDepth() const { return depth_; }
  void SetDepth(int value);
  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool value);
  TColor GetFarColor() const { return farColor_; }
  void SetFarColor(TColor value);
  TColor GetNearColor() const { return nearColor_; }
  void SetNearColor(TColor value);
  TpkOrientation GetOrientation() const { return orientation_; }
  void SetOrientation(TpkOrientation value);
  bool GetStriated() const { return striated_; }
  void SetStriated(bool value);

 private:
  TpkText* renderer_;
  int depth_ = 10;
  bool enabled_ = false;
  TColor farColor_ = clBlack;
  TColor nearColor_ = clBlack;
  TpkOrientation orientation_ = pkBottomRight;
  bool striated_ = false;
};

class TpkDisabledColors : public TPersistent {
  DECLARE_CLASS(TpkDisabledColors, TPersistent)

  explicit TpkDisabledColors(TpkText* renderer) : renderer_(renderer) {}
  void AssignTo(TPersistent* dest) override;

  TColor GetHighlightColor() const { return highlightColor_; }
  void SetHighlightColor(TColor value);
  TColor GetShadeColor() const { return shadeColor_; }
  void SetShadeColor(TColor value);

 private:
  TpkText* renderer_;
  TColor highlightColor_ = clBtnHighlight;
  TColor shadeColor_ = clBtnShadow;
};

using TpkEnabledQuery = TClosure<bool()>;

class TpkText : public TPersistent {
  DECLARE_CLASS(TpkText, TPersistent)

  TpkText(TCanvas* canvas, TFont* font, const TNotifyEvent& onChange, const TNotifyEvent& onLayout,
          const TpkEnabledQuery& isEnabled);

  void AssignTo(TPersistent* dest) override;

  // The offscreen canvas while double-buffering, else the owner's.
  virtual TCanvas* GetCanvas();
  virtual void GetLogFont(LOGFONTA& lf);
  virtual void GetTextExtent(TSize& size);
  virtual void GetRotatedSize(bool clip, TSize& size);
  virtual void GetDrawRect(bool clip, TRect& rect);
  virtual void DrawHighlight();
  virtual void DrawOutline();
  virtual void DrawShadow(const TRect& rect);
  virtual void DrawTextAt(const TRect& rect);
  // The drawing rectangle, measured with the rotated font.
  virtual void CalcRect(bool clip, TRect& rect);
  // The owner's change callback.
  virtual void Changed();
  virtual void Draw();
  virtual void DrawDefault();
  virtual void DrawOutlined();
  virtual void DrawEmbossed(bool raised);
  // Makes the rotated font the canvas's font in the font's colour and
  // computes the drawing rectangle.
  virtual void PrepareFont();
  // The canvas's font takes font's description (dropping a created handle).
  virtual void AssignFont(TFont* font);

  TPoint ShadowOffset() const;
  TPoint ExtrudeOffset(bool full) const;
  void DrawExtrusion();
  // The owner's layout callback.
  void Layout();
  bool TextEnabled() const { return isEnabled_ ? isEnabled_() : true; }

  // --- Properties --------------------------------------------------------------
  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TpkDisabledColors* GetDisabledColors() const { return disabledColors_; }
  void SetDisabledColors(TpkDisabledColors* value) { disabledColors_->Assign(value); }
  TpkExtrudeEffects* GetExtrudeEffects() const { return extrudeEffects_; }
  void SetExtrudeEffects(TpkExtrudeEffects* value) { extrudeEffects_->Assign(value); }
  TColor GetHighlightColor() const { return highlightColor_; }
  void SetHighlightColor(TColor value);
  int GetLineSpacing() const { return lineSpacing_; }
  void SetLineSpacing(int value);
  TpkTextOptions GetOptions() const { return options_; }
  void SetOptions(TpkTextOptions value);
  TColor GetOutlineColor() const { return outlineColor_; }
  void SetOutlineColor(TColor value);
  int GetRotation() const { return rotation_; }
  // A negative angle a is kept as 360 - (|a| mod 360), any other as a mod 360.
  void SetRotation(int value);
  TColor GetShadeColor() const { return shadeColor_; }
  void SetShadeColor(TColor value);
  TpkShadowEffects* GetShadow() const { return shadow_; }
  void SetShadow(TpkShadowEffects* value) { shadow_->Assign(value); }
  TpkTextStyle GetStyle() const { return style_; }
  void SetStyle(TpkTextStyle value);
  TpkVAlignment GetVAlignment() const { return vAlignment_; }
  void SetVAlignment(TpkVAlignment value);
  bool GetWordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool GetDoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }

  // --- Renderer state ------------------------------------------------------------
  const std::string& GetCaption() const { return caption_; }
  void SetCaption(const std::string& value) { caption_ = value; }
  const TRect& GetTextRect() const { return textRect_; }
  void SetTextRect(const TRect& value) { textRect_ = value; }
  // Where the text itself is drawn (after PrepareFont and the extrusion).
  const TRect& GetDrawingRect() const { return drawRect_; }
  // DrawText flags (DT_NOCLIP at first).
  UINT GetFlags() const { return flags_; }
  void SetFlags(UINT value) { flags_ = value; }
  // Scale the font height by the screen's pixels per inch / 96.
  bool GetScaleFont() const { return scaleFont_; }
  void SetScaleFont(bool value) { scaleFont_ = value; }
  TCanvas* GetOwnerCanvas() const { return canvas_; }
  void SetOwnerCanvas(TCanvas* value) { canvas_ = value; }
  TFont* GetFont() const { return font_; }
  void SetFont(TFont* value) { font_ = value; }

 protected:
  void Destroy() override;

 private:
  // The caption (or one line of it) at r in color.
  void DrawTextIn(const TRect& r, TColor color);
  void DrawJustified(HDC dc, TRect r, const std::string& text, double theta);
  std::string ShownText() const;

  TCanvas* canvas_;
  TFont* font_;
  TNotifyEvent onChange_;
  TNotifyEvent onLayout_;
  TpkEnabledQuery isEnabled_;
  std::string caption_;
  TRect textRect_{0, 0, 0, 0};
  TRect drawRect_{0, 0, 0, 0};
  UINT flags_ = DT_NOCLIP;
  TBitmap* offscreen_ = nullptr;
  bool useOffscreen_ = false;
  bool scaleFont_ = false;

  TAlignment alignment_ = taLeftJustify;
  TpkDisabledColors* disabledColors_;
  TpkExtrudeEffects* extrudeEffects_;
  TColor highlightColor_ = clBtnHighlight;
  int lineSpacing_ = 5;
  TpkTextOptions options_{toShowAccel};
  TColor outlineColor_ = clBlack;
  int rotation_ = 0;
  TColor shadeColor_ = clBtnShadow;
  TpkShadowEffects* shadow_;
  TpkTextStyle style_ = pklsDefault;
  TpkVAlignment vAlignment_ = vaTop;
  bool wordWrap_ = false;
  bool doubleBuffered_ = false;
};

// The renderer as the buttons publish it (their TextOptions).
class TpkCaptionText : public TpkText {
  DECLARE_CLASS(TpkCaptionText, TpkText)
  using TpkText::TpkText;
};
