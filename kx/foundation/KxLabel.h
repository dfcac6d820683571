// KxLabel: the framed label (3-D text, rotation, arc text, blinking, a
// fly-by colour, caption condensing, a full border) and the URL label, which
// opens its URL through the shell when clicked.
//
// Rotation. A flat-rotated label draws its caption with a font turned by
// Angle degrees (GDI's escapement), placed by a table of the right angles;
// TrueType faces alone can be turned, so turning a label with a bitmap font
// switches it to "Verdana". Arc text draws one character at a time along an
// ellipse inside the label, each with its own turned font.
//
// Blinking goes through the process's one blink timer (KxCommon's blinking
// controls list): the label joins the list when made and answers its
// CM_GETBLINKING and CM_BLINK.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/StdCtrls.h"
#include "kx/foundation/KxCommon.h"

enum TRotation : uint8_t { roNone, roFlat, roCurve };
DECLARE_ENUM_TYPE(TRotation);
enum TCenterPoint : uint8_t {
  cpUpperLeft,
  cpUpperCenter,
  cpUpperRight,
  cpLeftCenter,
  cpCenter,
  cpRightCenter,
  cpLowerLeft,
  cpLowerCenter,
  cpLowerRight
};
DECLARE_ENUM_TYPE(TCenterPoint);
enum TKxCondenseCaption : uint8_t { ccNone, ccAtEnd, ccWithinPath };
DECLARE_ENUM_TYPE(TKxCondenseCaption);

// The screen cursor the URL label shows.
inline constexpr TCursor crKxHand = 26000;

// The library's own hand cursor ("KXCOMMON_HANDCURSOR"), made afresh: the
// caller owns it (the screen, once installed). Null when the program lacks
// the resource.
HCURSOR CreateKxHandCursor();

class TKxLabel : public TLabel, public IKxCustomFramingNotification {
  DECLARE_CLASS(TKxLabel, TLabel)

  explicit TKxLabel(TComponent* owner);

  int GetAngle() const { return angle_; }
  bool GetBlinking() const { return blinking_; }
  TColor GetBlinkColor() const { return blinkColor_; }
  int GetBevelWidth() const { return bevelWidth_; }
  TFrameStyleEx GetBorderInner() const { return borderInner_; }
  TFrameStyleEx GetBorderOuter() const { return borderOuter_; }
  TSides GetBorderSides() const { return borderSides_; }
  TColor GetBorderColor() const { return borderColor_; }
  TColor GetBorderHighlight() const { return borderHighlight_; }
  TColor GetBorderShadow() const { return borderShadow_; }
  int GetBorderWidth() const { return borderWidth_; }
  TKxCondenseCaption GetCondenseCaption() const { return condenseCaption_; }
  TColor GetFlatColor() const { return flatColor_; }
  int GetFlatColorAdjustment() const { return flatColorAdjustment_; }
  TKxFrameController* GetFrameController() const { return frameController_; }
  TCenterPoint GetCenterPoint() const { return centerPoint_; }
  TColor GetFlyByColor() const { return flyByColor_; }
  bool GetFlyByEnabled() const { return flyByEnabled_; }
  bool GetLightTextStyle() const { return lightTextStyle_; }
  TRotation GetRotation() const { return rotation_; }
  TColor GetHighlightColor() const { return highlightColor_; }
  TColor GetShadowColor() const { return shadowColor_; }
  int GetShadowDepth() const { return shadowDepth_; }
  TTextStyle GetTextStyle() const { return textStyle_; }
  // The colour the text is drawn in now: the normal one, or the blink
  // colour during a blink.
  TColor GetCurrentTextColor() const { return currentColor_; }
  TNotifyEvent GetOnMouseEnter() const { return OnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent e) { OnMouseEnter = e; }
  TNotifyEvent GetOnMouseLeave() const { return OnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent e) { OnMouseLeave = e; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // --- virtual operations, in the library's order ---------------------------------------
  // Takes the frame controller's look (only while its frame is visible).
  void CustomFramingChanged() override;
  // bsOff (true) shows the blink colour, bsOn (false) the normal one.
  virtual void Blink(bool showBlinkColor);
  // Grows a text box by everything around the text: borders, shadow,
  // rotation.
  virtual void AdjustForBorders(TRect& rect);
  // Shrinks a rectangle by the borders (and the border width when asked).
  virtual void FixClientRect(TRect& rect, bool includeBorderWidth);
  virtual void SetAngle(int value);
  virtual void SetBlinking(bool value);
  virtual void SetBlinkColor(TColor value);
  virtual uint16_t GetBlinkIntervalOff() const;
  virtual void SetBlinkIntervalOff(uint16_t value);
  virtual uint16_t GetBlinkIntervalOn() const;
  virtual void SetBlinkIntervalOn(uint16_t value);
  virtual void SetBevelWidth(int value);
  virtual void SetBorderColor(TColor value);
  virtual void SetBorderInner(TFrameStyleEx value);
  virtual void SetBorderOuter(TFrameStyleEx value);
  virtual void SetBorderSides(TSides value);
  virtual void SetBorderHighlight(TColor value);
  virtual void SetBorderShadow(TColor value);
  virtual void SetBorderWidth(int value);
  virtual void SetCondenseCaption(TKxCondenseCaption value);
  virtual void SetFlatColor(TColor value);
  virtual void SetFlatColorAdjustment(int value);
  virtual void SetFrameController(TKxFrameController* value);
  virtual void SetCenterPoint(TCenterPoint value);
  virtual void SetFlyByColor(TColor value);
  virtual void SetFlyByEnabled(bool value);
  virtual TTextLayout GetLayout() const;
  virtual void SetLayout(TTextLayout value);
  virtual void SetLightTextStyle(bool value);
  virtual void SetRotation(TRotation value);
  virtual void SetTextStyle(TTextStyle value);
  virtual void SetHighlightColor(TColor value);
  virtual void SetShadowColor(TColor value);
  virtual void SetShadowDepth(int value);
  virtual void MouseEnter();
  virtual void MouseLeave();

  // --- own operations --------------------------------------------------------------------
  // The centre of the arc and its radii (x and y).
  TPoint CalcCenterPoint() const;
  TPoint CalcRadius() const;
  void DrawArcText();
  void Draw3DText();
  // Moves the text rectangle for the vertical layout and the shadow.
  void AdjustForLayout(const std::string& text, UINT flags, TRect& rect);

  // --- overrides ---------------------------------------------------------------------------
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;
  void DefineProperties(TFiler* filer) override;
  void AdjustBounds() override;
  void Paint() override;
  void Dispatch(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  void CMTextChanged(TMessage& m) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
  void CMParentColorChanged(TMessage& m) override;

 protected:
  void Destroy() override;
  // Gives the font a colour of its own (the URL label's visited state); while
  // the fly-by colour is shown, the colour the label returns to when the
  // mouse leaves.
  void SetRestingFontColor(TColor color);

 private:
  // DT_END_ELLIPSIS or DT_PATH_ELLIPSIS for CondenseCaption, else 0.
  UINT CondenseFlag() const;
  // The shrinking of one side by a frame style.
  int StyleWidth(TFrameStyleEx style) const;
  // Draws one layer of flat-rotated or unrotated text in colour at an offset.
  void TextLayer(const std::string& text, UINT flags, const TRect& rect, TPoint at, bool rotated, TColor colour,
                 int dx, int dy);

  int angle_ = 0;
  bool blinking_ = false;
  TColor blinkColor_ = clHighlight;
  int bevelWidth_ = 1;
  TFrameStyleEx borderInner_ = fsNone;
  TFrameStyleEx borderOuter_ = fsNone;
  TSides borderSides_ = sdAllSides;
  TColor borderColor_ = clBtnFace;
  TColor borderHighlight_ = clBtnHighlight;
  TColor borderShadow_ = clBtnShadow;
  int borderWidth_ = 0;
  TKxCondenseCaption condenseCaption_ = ccNone;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 30;
  TKxFrameController* frameController_ = nullptr;
  TCenterPoint centerPoint_ = cpCenter;
  TColor flyByColor_ = clHighlight;
  bool flyByEnabled_ = false;
  bool lightTextStyle_ = false;
  TRotation rotation_ = roNone;
  TColor highlightColor_ = clBtnHighlight;
  TColor shadowColor_ = clBtnShadow;
  int shadowDepth_ = 2;
  TTextStyle textStyle_ = tsNormal;

  TColor normalColor_ = clWindowText;
  TColor currentColor_ = clWindowText;
  TColor savedFontColor_ = clWindowText;
  // The fly-by colour is on the font (the mouse is over the label).
  bool flyByShown_ = false;
  bool ignoreParentColor_ = false;
};

// A label that opens its URL (or its caption) through the shell when
// clicked, in its unvisited colour until the first success, with the hand
// cursor.
class TKxURLLabel : public TKxLabel {
  DECLARE_CLASS(TKxURLLabel, TKxLabel)

  explicit TKxURLLabel(TComponent* owner);

  const std::string& GetURL() const { return url_; }
  void SetURL(const std::string& v) { url_ = v; }
  bool GetVisited() const { return visited_; }
  TColor GetUnvisitedColor() const { return unvisitedColor_; }
  TColor GetVisitedColor() const { return visitedColor_; }

  // --- virtual operations, in the library's order ---------------------------------------
  virtual void UpdateFontColor();
  virtual void SetVisited(bool value);
  virtual void SetUnvisitedColor(TColor value);
  virtual void SetVisitedColor(TColor value);

  void Click() override;

 private:
  std::string url_;
  bool visited_ = false;
  TColor unvisitedColor_ = clHighlight;
  TColor visitedColor_ = 0x800080;
};

// Start-up: the label classes join the class registry.
void InitializeKxLabel();
void FinalizeKxLabel();
