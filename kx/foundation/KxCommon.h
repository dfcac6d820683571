// KxCommon: the common ground of the Kx component library.
//
// The enumerations and sets every framed or themed Kx control publishes; the
// frame, bevel, border, arrow and bar drawing its paint code calls; colour
// arithmetic in HSL on a 0..240 scale (the shading rule of every control);
// small string, font, version, monitor and centring helpers; the dialog
// component base; the frame controller and its notification interface; the
// INI/registry settings storage, custom colours and the reader of retired
// stored-form properties; and the blink timer shared by blinking controls.
//
// Drawing functions paint on the caller's canvas, change only its pen, brush
// and font (restoring nothing unless said), and return the rectangle left
// inside what they drew, so calls chain from the outside inwards. System
// colours go to the canvas unresolved; clNone means "nothing in that colour"
// where a function says so.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/Classes.h"
#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "classlib/Messages.h"
#include "classlib/Types.h"

// ---------------------------------------------------------------------------
// Enumerations (values from 0 in declaration order; their names are the
// stored forms' identifiers)

enum TFrameStyleEx {
  fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp,
  fsStatus, fsPopup, fsFlatBold, fsFlatRounded
};
DECLARE_ENUM_TYPE(TFrameStyleEx);
// The subrange fsNone..fsFlatBold. C++ has no subranges: the values are
// TFrameStyleEx's, and properties of this type publish with
// .Type(TFrameStyleTypeInfo()) so that stored forms know only its 11 names.
using TFrameStyle = TFrameStyleEx;
inline constexpr TFrameStyleEx fsLastFrameStyle = fsFlatBold;
const TTypeInfo* TFrameStyleTypeInfo();

enum TSide { sdLeft, sdTop, sdRight, sdBottom };
DECLARE_ENUM_TYPE(TSide);
using TSides = TSet<TSide>;
inline constexpr TSides sdAllSides{sdLeft, sdTop, sdRight, sdBottom};

enum TFramingPreference { fpCustomFraming, fpXPThemes };
DECLARE_ENUM_TYPE(TFramingPreference);
enum TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
DECLARE_ENUM_TYPE(TTextStyle);
enum TAlignmentVertical { avTop, avCenter, avBottom };
DECLARE_ENUM_TYPE(TAlignmentVertical);
enum TOrientation { orHorizontal, orVertical };
DECLARE_ENUM_TYPE(TOrientation);
enum TDirection { dirUp, dirDown, dirLeft, dirRight };
DECLARE_ENUM_TYPE(TDirection);
enum TBarStyle { bsTraditional, bsLED };
DECLARE_ENUM_TYPE(TBarStyle);
enum TLineStyle { lsNone, lsFlat, lsGroove, lsBump };
DECLARE_ENUM_TYPE(TLineStyle);
enum TBlinkState { bsOn, bsOff };
DECLARE_ENUM_TYPE(TBlinkState);
enum TKxUIStyle { uiWindows95, uiWindowsXP };
DECLARE_ENUM_TYPE(TKxUIStyle);
enum TKxWindowsVersion { Win95, WinNT, Win98, WinMe, Win2000, WinXP, WinServer2003 };
DECLARE_ENUM_TYPE(TKxWindowsVersion);
enum TExpandOnType { etMouseButton2Click, etFocus, etNone };
DECLARE_ENUM_TYPE(TExpandOnType);
enum TKxScrollType { stNone, stRightToLeft, stLeftToRight };
DECLARE_ENUM_TYPE(TKxScrollType);
enum TKxHotTrackColorType { htctComplement, htctActual };
DECLARE_ENUM_TYPE(TKxHotTrackColorType);
enum TKxScrollStyle { scsNone, scsLeft, scsUp, scsRight, scsDown };
DECLARE_ENUM_TYPE(TKxScrollStyle);
enum TKxGroupBarGradientPath { gpTopToBottom, gpBottomToTop };
DECLARE_ENUM_TYPE(TKxGroupBarGradientPath);
enum TKxFrameProperty {
  fpAll, fpColor, fpFocusColor, fpDisabledColor, fpParentColor, fpFlatButtonColor, fpFlatButtons,
  fpFrameColor, fpHotColor, fpHotTrack, fpHotStyle, fpSides, fpStyle, fpVisible, fpPreference
};
DECLARE_ENUM_TYPE(TKxFrameProperty);
enum TKxPathType { ptIniFile, ptRegistry };
DECLARE_ENUM_TYPE(TKxPathType);
enum TKxRegKey {
  hkeyClassesRoot, hkeyCurrentUser, hkeyLocalMachine, hkeyUsers, hkeyPerformanceData,
  hkeyCurrentConfig, hkeyDynData
};
DECLARE_ENUM_TYPE(TKxRegKey);
enum TKxRegAccessKey {
  keyQueryValue, keySetValue, keyCreateSubKey, keyEnumerateSubKeys, keyNotify, keyCreateLink,
  keyRead, keyWrite, keyExecute, keyAllAccess
};
DECLARE_ENUM_TYPE(TKxRegAccessKey);
using TKxRegAccess = TSet<TKxRegAccessKey>;

// The ordinal read back from settings storage as a value of E when it names
// one (0 .. last), else def: stored files may hold anything.
template <class E>
E OrdinalOr(int64_t value, E last, E def) {
  return value >= 0 && value <= static_cast<int64_t>(last) ? static_cast<E>(value) : def;
}

// ---------------------------------------------------------------------------
// Frame drawing

TRect DrawSides(TCanvas* canvas, const TRect& bounds, TColor ulColor, TColor lrColor, TSides sides);
TRect DrawBevel(TCanvas* canvas, const TRect& bounds, TColor ulColor, TColor lrColor, int width, TSides sides);
TRect DrawCtl3DBorder(TCanvas* canvas, const TRect& bounds, bool sunken);
TRect DrawCtl3DBorderSides(TCanvas* canvas, const TRect& bounds, bool sunken, TSides sides);
TRect DrawButtonBorder(TCanvas* canvas, const TRect& bounds, bool pressed);
TRect DrawButtonBorderSides(TCanvas* canvas, const TRect& bounds, bool pressed, TSides sides);
TRect DrawColorButtonBorder(TCanvas* canvas, const TRect& bounds, TColor color, bool pressed);
TRect DrawColorButtonBorderSides(TCanvas* canvas, const TRect& bounds, TColor color, bool pressed, TSides sides);
TRect DrawBorder(TCanvas* canvas, const TRect& bounds, TFrameStyleEx style);
TRect DrawBorderSides(TCanvas* canvas, const TRect& bounds, TFrameStyleEx style, TSides sides);
TRect DrawColorBorder(TCanvas* canvas, const TRect& bounds, TColor color, TFrameStyleEx style);
TRect DrawColorBorderSides(TCanvas* canvas, const TRect& bounds, TColor color, TFrameStyleEx style, TSides sides);
TRect DrawFocusBorder(TCanvas* canvas, const TRect& bounds);
TRect DrawRoundedFlatBorder(TCanvas* canvas, const TRect& bounds, TColor color, TSides sides);
// The whole border of a bordered control: outer style, border rings, inner
// style.
TRect DrawInnerOuterBorders(TCanvas* canvas, const TRect& bounds, TFrameStyleEx outerStyle,
                            TFrameStyleEx innerStyle, int borderWidth, TSides sides, int bevelWidth,
                            TColor borderColor, TColor highlightColor, TColor shadowColor, TColor flatColor,
                            int flatColorAdjustment, TColor controlColor, TColor parentColor, bool transparent,
                            bool softInnerFlatBorder);
void DrawDropShadow(TCanvas* canvas, const TRect& bounds, int depth, TColor shadowColor);
void DrawFrame(TCanvas* canvas, int width, int height, TFrameStyleEx frameStyle, TColor controlColor,
               TColor frameColor, TSides sides, bool skipColorRing);
void DrawLEDBar(TCanvas* canvas, const TRect& bounds, TOrientation orientation, TColor barColor, TColor backColor,
                int segments, int percent, bool themed);
void DrawPercentBar(TCanvas* canvas, const TRect& bounds, TOrientation orientation, TColor barColor,
                    TColor backColor, uint16_t percent, bool showText);
void DrawDropDownArrow(TCanvas* canvas, const TRect& bounds, TKxUIStyle style, bool pressed, bool enabled);
void DrawSpinArrow(TCanvas* canvas, const TRect& bounds, TKxUIStyle style, TDirection direction, bool pressed,
                   bool enabled);

// ---------------------------------------------------------------------------
// Colour arithmetic: HSL bytes on a 0..240 scale (hue 0 and 240 both red).
// System colours are resolved with ColorToRGB first.

void ColorToHSL(TColor color, uint8_t& hue, uint8_t& saturation, uint8_t& lightness);
uint8_t ColorHue(TColor color);
uint8_t ColorSaturation(TColor color);
uint8_t ColorLuminance(TColor color);
TColor HSLtoColor(uint8_t hue, uint8_t saturation, uint8_t lightness);
TColor DarkerColor(TColor color, uint8_t amount);
TColor LighterColor(TColor color, uint8_t amount);
// Darker for a negative amount, lighter for a positive one; 0 gives the colour
// itself (a system colour stays one).
TColor AdjustColor(TColor color, int amount);
TColor BlendColors(TColor first, TColor second, uint8_t weight);
bool ColorsTooClose(TColor first, TColor second);
bool FullColorSupport();

// ---------------------------------------------------------------------------
// Geometry, string, component and font helpers

TRect CenterRect(const TRect& bounds, int width, int height);
inline int Min(int a, int b) { return a < b ? a : b; }
inline int Max(int a, int b) { return a > b ? a : b; }
void Swap(int& a, int& b);
void Swap(uint16_t& a, uint16_t& b);
// The last character of a non-empty string.
char LastChar(const std::string& s);
int CountChar(char c, const std::string& s);
// s whole when fewer than count occurrences of c lie at or after start
// (1-based); else Copy(s, start, N), N the position of the count-th one.
std::string CopyEx(const std::string& s, int start, char c, int count);
bool RemoveChar(std::string& s, char c);
std::string GetNewComponentName(TComponent* owner, const std::string& base, bool tryBaseFirst);
std::string CreateValidIdent(const std::string& s, const std::string& def);
// A new font handle (the caller deletes it) of the font turned by angle
// degrees.
HFONT RotateFont(TFont* font, int angle);
bool IsTrueTypeFont(TFont* font);
int GetMinFontHeight(TFont* font);
int GetAvgCharWidth(TFont* font);
void AddImageToImageList(TCustomImageList* imageList, TBitmap* bitmap, bool twoImages, int& index,
                         int& secondIndex);
void UpdateObjectInspector(TControl* control);

// ---------------------------------------------------------------------------
// Windows version, desktop, monitors and centring

bool RunningUnder(TKxWindowsVersion version);
TRect GetDesktopClientRect();
TRect GetActiveWorkArea(TWinControl* control);
int GetActiveWorkAreaWidth(TWinControl* control);
int GetActiveWorkAreaHeight(TWinControl* control);
TRect GetMonitorWorkArea(TMonitor* monitor);
TRect GetMonitorBoundsRect(TMonitor* monitor);
void CenterToWindow(TControl* control, TWinControl* window, int& left, int& top);
void CenterToForm(TControl* control, TCustomForm* form, int& left, int& top);
void CenterToMDIChild(TControl* control, TCustomForm* form, int& left, int& top);

// ---------------------------------------------------------------------------
// TKxDialogComponent: the common state of the library's dialog components.

class TKxDialogComponent : public TComponent {
  DECLARE_CLASS(TKxDialogComponent, TComponent)

  explicit TKxDialogComponent(TComponent* owner);

  TFont* GetFont() const { return font_; }
  // Copies the font into the component's own.
  void SetFont(TFont* value);
  const std::string& GetCaptionOK() const { return captionOK_; }
  void SetCaptionOK(const std::string& v) { captionOK_ = v; }
  const std::string& GetCaptionCancel() const { return captionCancel_; }
  void SetCaptionCancel(const std::string& v) { captionCancel_ = v; }
  const std::string& GetCaptionHelp() const { return captionHelp_; }
  void SetCaptionHelp(const std::string& v) { captionHelp_ = v; }
  int GetOriginLeft() const { return originLeft_; }
  void SetOriginLeft(int v) { originLeft_ = v; }
  int GetOriginTop() const { return originTop_; }
  void SetOriginTop(int v) { originTop_ = v; }
  int GetHeight() const { return height_; }
  void SetHeight(int v) { height_ = v; }
  int GetWidth() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  TFormBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle v) { borderStyle_ = v; }
  int GetHelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; }
  bool GetCenterToParent() const { return centerToParent_; }
  // Position follows: poOwnerFormCenter when true, poScreenCenter when false.
  void SetCenterToParent(bool value);
  TPosition GetPosition() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  TColor GetFrameColor() const { return frameColor_; }
  void SetFrameColor(TColor v) { frameColor_ = v; }
  TFrameStyle GetFrameStyle() const { return frameStyle_; }
  void SetFrameStyle(TFrameStyle v) { frameStyle_ = v; }
  bool GetFrameVisible() const { return frameVisible_; }
  void SetFrameVisible(bool v) { frameVisible_ = v; }
  TFramingPreference GetFramingPreference() const { return framingPreference_; }
  void SetFramingPreference(TFramingPreference v) { framingPreference_ = v; }

  // Gives the form the component's Position.
  void CenterForm(TCustomForm* form);

 protected:
  void Destroy() override;

 private:
  TFont* font_;
  std::string captionOK_;
  std::string captionCancel_;
  std::string captionHelp_;
  int originLeft_ = 100;
  int originTop_ = 100;
  int height_ = 300;
  int width_ = 350;
  TFormBorderStyle borderStyle_ = bsSizeable;
  int helpContext_ = 0;
  bool centerToParent_ = false;
  TPosition position_ = poScreenCenter;
  TColor frameColor_ = clBtnShadow;
  TFrameStyle frameStyle_ = fsFlat;
  bool frameVisible_ = false;
  TFramingPreference framingPreference_ = fpXPThemes;
};
