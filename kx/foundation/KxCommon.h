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

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Controls.h"
#include "classlib/Forms.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Graphics.h"
#include "classlib/IniFiles.h"
#include "classlib/ImgList.h"
#include "classlib/Messages.h"
#include "classlib/Scopes.h"
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

// The library's private component messages for blinking controls.
inline constexpr UINT CM_GETBLINKING = CM_BASE + 1000;  // answer 1 while blinking
inline constexpr UINT CM_BLINK = CM_BASE + 1001;        // WParam: the TBlinkState

// Messages of the settings components (resource strings of the library).
inline constexpr int SKxNoRegIniFile = 65467;
inline constexpr int SKxCannotLoadFraming = 65468;
inline constexpr int SKxCannotSaveFraming = 65469;
inline constexpr int SKxCannotLoadColors = 65470;
inline constexpr int SKxCannotSaveColors = 65471;

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
// A screen DC with a font selected, given back at the end of the scope:
// where text is measured without a canvas.
class TKxScreenFontDC {
 public:
  explicit TKxScreenFontDC(TFont* font);
  HDC DC() const { return screen_.Get(); }
  SIZE Extent(const std::string& s) const;
  int Width(const std::string& s) const { return Extent(s).cx; }

 private:
  TScreenDC screen_;
  TSelectedObject font_;
};
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

// ---------------------------------------------------------------------------
// Background of a group heading: the explorer bar's root element when
// themed, else a gradient over two thirds of the rectangle.

void DrawGroupBarBackground(TCanvas* canvas, const TRect& bounds, bool themed, TKxGroupBarGradientPath path,
                            TColor color, int amount);

// ---------------------------------------------------------------------------
// TKxRegIniFile: one read/write interface over an INI file or a registry
// key, chosen by PathType. The INI or registry object is made on the first
// operation after a property changes, not when it changes.

class TKxRegIniFile : public TComponent {
  DECLARE_CLASS(TKxRegIniFile, TComponent)

  explicit TKxRegIniFile(TComponent* owner);

  const std::string& GetPath() const { return path_; }
  virtual void SetPath(const std::string& value);
  TKxPathType GetPathType() const { return pathType_; }
  virtual void SetPathType(TKxPathType value);
  TKxRegKey GetRegKey() const { return regKey_; }
  virtual void SetRegKey(TKxRegKey value);
  TKxRegAccess GetRegAccess() const { return regAccess_; }
  virtual void SetRegAccess(TKxRegAccess value);

  // The registry root of a key and the access mask of a set of rights.
  static HKEY RootOf(TKxRegKey key);
  static DWORD AccessMaskOf(TKxRegAccess access);
  // The INI file or registry key the next operation uses.
  std::string EffectivePath() const;

  // (Re)makes the INI or registry object when a property changed.
  void CheckAccess();
  bool SectionExists(const std::string& section);
  bool ValueExists(const std::string& section, const std::string& name);
  bool ReadBool(const std::string& section, const std::string& name, bool def);
  void WriteBool(const std::string& section, const std::string& name, bool value);
  TDateTime ReadDate(const std::string& section, const std::string& name, TDateTime def);
  void WriteDate(const std::string& section, const std::string& name, TDateTime value);
  TDateTime ReadDateTime(const std::string& section, const std::string& name, TDateTime def);
  void WriteDateTime(const std::string& section, const std::string& name, TDateTime value);
  double ReadFloat(const std::string& section, const std::string& name, double def);
  void WriteFloat(const std::string& section, const std::string& name, double value);
  int ReadInteger(const std::string& section, const std::string& name, int def);
  void WriteInteger(const std::string& section, const std::string& name, int value);
  std::string ReadString(const std::string& section, const std::string& name, const std::string& def);
  void WriteString(const std::string& section, const std::string& name, const std::string& value);
  TDateTime ReadTime(const std::string& section, const std::string& name, TDateTime def);
  void WriteTime(const std::string& section, const std::string& name, TDateTime value);
  int ReadBinaryStream(const std::string& section, const std::string& name, TStream* value);
  void WriteBinaryStream(const std::string& section, const std::string& name, TStream* value);
  void ReadSection(const std::string& section, TStrings* strings);
  void ReadSections(TStrings* strings);
  // Registry mode lists every value of the section's key as name=text.
  void ReadSectionValues(const std::string& section, TStrings* strings);
  void EraseSection(const std::string& section);
  void DeleteKey(const std::string& section, const std::string& name);

 protected:
  void Destroy() override;

 private:
  TCustomIniFile* Store();

  std::string path_;
  TKxPathType pathType_ = ptIniFile;
  TKxRegKey regKey_ = hkeyCurrentUser;
  TKxRegAccess regAccess_{keyAllAccess};
  TCustomIniFile* store_ = nullptr;
  bool recreate_ = true;
};

// ---------------------------------------------------------------------------
// TKxCustomColors: the colour dialog's 16 custom colours, "ColorA=FFFFFF" ..
// "ColorP=FFFFFF", stored through a TKxRegIniFile.

class TKxCustomColors : public TComponent {
  DECLARE_CLASS(TKxCustomColors, TComponent)

  explicit TKxCustomColors(TComponent* owner);

  TStrings* GetColors() const { return colors_; }
  virtual void SetColors(TStrings* value);
  TKxRegIniFile* GetRegIniFile() const { return regIniFile_; }
  virtual void SetRegIniFile(TKxRegIniFile* value);

  virtual void InitColors();
  std::string GetColorName(int index) const;
  // Every value as six lower-case hexadecimal digits of its 24 bits.
  void FixupColors();
  void Load(const std::string& section);
  void Save(const std::string& section);

  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void Destroy() override;

 private:
  TStrings* colors_;
  TKxRegIniFile* regIniFile_ = nullptr;
};

// ---------------------------------------------------------------------------
// TKxOldPropReader: readers for properties older versions of the library
// wrote into stored forms. Each reads one value and drops it; defined with a
// reader only (DefineProperty(name, &ReadOld..., nullptr, false)), so the
// name is never written again.

class TKxOldPropReader {
 public:
  static void ReadOldBooleanProp(TReader* reader);
  static void ReadOldEnumProp(TReader* reader);
  static void ReadOldIdentProp(TReader* reader);
  static void ReadOldIntegerProp(TReader* reader);
  static void ReadOldSetProp(TReader* reader);
  static void ReadOldStringProp(TReader* reader);
  static void WriteOldProp(TWriter* writer);
};

// ---------------------------------------------------------------------------
// Framing: the frame settings, the retired frame names,
// IKxCustomFramingNotification and TKxFrameController

// The frame and colour settings a framed control and the frame controller
// each hold, at the defaults their published properties declare. Whether the
// frame shows is kept apart (FrameVisible): the framed families switch it
// themselves while they make their windows again.
struct TKxFrameSettings {
  TColor color = clWindow;  // the colour while neither disabled nor focused
  TColor disabledColor = clBtnFace;
  TColor focusColor = clWindow;
  TColor frameColor = clBtnShadow;
  TColor frameHotColor = clBtnShadow;
  bool frameHotTrack = false;
  TFrameStyle frameHotStyle = fsFlatBold;
  TSides frameSides = sdAllSides;
  TFrameStyle frameStyle = fsFlat;
  TFramingPreference framingPreference = fpXPThemes;
};

// What the retired frame names set on their owner.
struct TKxRetiredFrameSetters {
  std::function<void(bool)> setFrameHotTrack;
  std::function<void(TFrameStyle)> setFrameStyle;
  std::function<void(TFrameStyle)> setFrameHotStyle;
};

// Older stored forms of the framed controls and the frame controller hold
// "FrameFlat" (true: hot tracking, a status frame that turns lowered while
// hot), "FrameFocusStyle" (the hot style) and "FrameFlatStyle" (nothing now).
// They are read and mapped or dropped, never written again. A focus style
// outside the published frame styles is dropped: kept, it would be written
// under a name that cannot be read back.
void KxDefineRetiredFrameProperties(TFiler* filer, const TKxRetiredFrameSetters& setters);
template <class T>
void KxDefineRetiredFrameProperties(TFiler* filer, T* owner) {
  KxDefineRetiredFrameProperties(filer, TKxRetiredFrameSetters{
                                            [owner](bool value) { owner->SetFrameHotTrack(value); },
                                            [owner](TFrameStyle value) { owner->SetFrameStyle(value); },
                                            [owner](TFrameStyle value) { owner->SetFrameHotStyle(value); },
                                        });
}
// The frame style a retired identifier names: false (style untouched) when
// it names none of the published frame styles.
bool KxReadRetiredFrameStyle(const std::string& ident, TFrameStyle& style);

// A control that reads a frame controller's settings itself implements this
// and is only told that they changed. A C++ interface is a class of pure
// virtual operations found by dynamic_cast; the GUID names it as the
// platform's interface did.
class IKxCustomFramingNotification {
 public:
  static constexpr GUID IID = {0x64B1C9EA, 0xC954, 0x428A, {0x95, 0xC4, 0x4E, 0xA2, 0xEB, 0x0F, 0x1E, 0x16}};
  virtual void CustomFramingChanged() = 0;

 protected:
  ~IKxCustomFramingNotification() = default;
};

// One set of frame and colour settings pushed into every registered control,
// by published property name, or through IKxCustomFramingNotification.
class TKxFrameController : public TComponent {
  DECLARE_CLASS(TKxFrameController, TComponent)

  explicit TKxFrameController(TComponent* owner);

  void AddControl(TComponent* control);
  void RemoveControl(TComponent* control);
  // Registered controls in registration order (0 without the list).
  int GetControlCount() const;
  bool HasControlList() const { return controls_ != nullptr; }
  void BeginUpdate();
  void EndUpdate();
  int GetUpdateCount() const { return updateCount_; }
  void UpdateControls();
  void Load(const std::string& section);
  void Save(const std::string& section);
  void Assign(TPersistent* source) override;

  virtual void UpdateControlFrame(TComponent* control, TKxFrameProperty property);
  virtual void UpdateFrames(TKxFrameProperty property);

  TColor GetColor() const { return settings_.color; }
  virtual void SetColor(TColor value);
  bool GetParentColor() const { return parentColor_; }
  virtual void SetParentColor(bool value);
  TColor GetFlatButtonColor() const { return flatButtonColor_; }
  virtual void SetFlatButtonColor(TColor value);
  bool GetFlatButtons() const { return flatButtons_; }
  virtual void SetFlatButtons(bool value);
  TColor GetDisabledColor() const { return settings_.disabledColor; }
  virtual void SetDisabledColor(TColor value);
  TColor GetFocusColor() const { return settings_.focusColor; }
  virtual void SetFocusColor(TColor value);
  TColor GetFrameColor() const { return settings_.frameColor; }
  virtual void SetFrameColor(TColor value);
  TColor GetFrameHotColor() const { return settings_.frameHotColor; }
  virtual void SetFrameHotColor(TColor value);
  bool GetFrameHotTrack() const { return settings_.frameHotTrack; }
  virtual void SetFrameHotTrack(bool value);
  TFrameStyle GetFrameHotStyle() const { return settings_.frameHotStyle; }
  virtual void SetFrameHotStyle(TFrameStyle value);
  TSides GetFrameSides() const { return settings_.frameSides; }
  virtual void SetFrameSides(TSides value);
  TFrameStyle GetFrameStyle() const { return settings_.frameStyle; }
  virtual void SetFrameStyle(TFrameStyle value);
  bool GetFrameVisible() const { return frameVisible_; }
  virtual void SetFrameVisible(bool value);
  TFramingPreference GetFramingPreference() const { return settings_.framingPreference; }
  virtual void SetFramingPreference(TFramingPreference value);
  TKxRegIniFile* GetRegIniFile() const { return regIniFile_; }
  virtual void SetRegIniFile(TKxRegIniFile* value);

  bool IsColorStored() const { return !parentColor_; }
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void DefineProperties(TFiler* filer) override;

 protected:
  void Destroy() override;

 private:
  TList* controls_ = nullptr;
  int updateCount_ = 0;
  TKxFrameSettings settings_;
  bool frameVisible_ = false;
  bool parentColor_ = false;
  TColor flatButtonColor_ = clBtnFace;
  bool flatButtons_ = true;
  TKxRegIniFile* regIniFile_ = nullptr;
};

// A framed control's FrameController setter: control leaves the controller
// in field and joins value, which tells it when it goes (the control then
// clears field in its Notification).
void KxSetFrameController(TComponent* control, TKxFrameController*& field, TKxFrameController* value);

// ---------------------------------------------------------------------------
// The members of a list that a shared timer calls on each tick (the blink
// list's controls, the polling panes). A member's tick may free members,
// itself or others, and with the last one the list and its timer: a member
// that leaves before its turn is not called, every member that stays is
// called once, and a walk whose list is freed stops without touching it.
// A copy of the members taken before the walk would call a freed member,
// and an index would skip the member after one that left.

template <class T>
class TKxTickMembers {
 public:
  TKxTickMembers() = default;
  // Every walk still in progress ends here.
  ~TKxTickMembers() {
    for (TWalk* w = walks_; w; w = w->Outer) w->Ended = true;
  }
  TKxTickMembers(const TKxTickMembers&) = delete;
  TKxTickMembers& operator=(const TKxTickMembers&) = delete;

  void Add(T* member) { members_.push_back(member); }
  // Removes the first occurrence; a walk in progress keeps its place.
  void Remove(T* member) {
    auto it = std::find(members_.begin(), members_.end(), member);
    if (it == members_.end()) return;
    size_t index = static_cast<size_t>(it - members_.begin());
    members_.erase(it);
    for (TWalk* w = walks_; w; w = w->Outer)
      if (index < w->Next) --w->Next;
  }
  int GetCount() const { return static_cast<int>(members_.size()); }

  // Calls tick(member) for each member, first to last; false when the
  // list was freed meanwhile (the caller must not touch its owner then).
  // A tick may run a message loop that ticks again: walks nest.
  template <class F>
  bool Walk(F&& tick) {
    TWalk walk{0, false, walks_};
    walks_ = &walk;
    struct TUnlink {
      TKxTickMembers* Self;
      TWalk& Current;
      ~TUnlink() {
        if (!Current.Ended) Self->walks_ = Current.Outer;
      }
    } unlink{this, walk};
    while (walk.Next < members_.size()) {
      T* member = members_[walk.Next++];
      tick(member);
      if (walk.Ended) return false;
    }
    return true;
  }

 private:
  struct TWalk {
    size_t Next;
    bool Ended;
    TWalk* Outer;
  };
  std::vector<T*> members_;
  TWalk* walks_ = nullptr;
};

// ---------------------------------------------------------------------------
// The blink timer shared by every blinking control of the process, so that
// they blink in step: each tick flips the state and sends CM_BLINK to every
// registered control that answers 1 to CM_GETBLINKING.

class TKxBlinkingControlsList : public TObject {
  DECLARE_CLASS(TKxBlinkingControlsList, TObject)

  TKxBlinkingControlsList();

  void Add(TControl* control);
  // Removes the first occurrence.
  void Remove(TControl* control);
  int GetCount() const;
  TBlinkState GetBlinkState() const { return state_; }
  int GetOnInterval() const { return onInterval_; }
  int GetOffInterval() const { return offInterval_; }
  // The blinking controls' BlinkIntervalOn/Off: they take effect with the
  // next tick's period.
  void SetOnInterval(int value) { onInterval_ = value; }
  void SetOffInterval(int value) { offInterval_ = value; }
  TTimer* GetTimer() const { return timer_; }
  void TimerFired(TObject* sender);

 protected:
  void Destroy() override;

 private:
  TKxTickMembers<TControl> controls_;
  TTimer* timer_;
  TBlinkState state_ = bsOff;
  int onInterval_ = 500;
  int offInterval_ = 500;
};

// The process's list, made on the first call by a control that starts
// blinking.
TKxBlinkingControlsList* BlinkingControlsList();
// The list when it exists (a control that stops blinking), else null.
TKxBlinkingControlsList* FindBlinkingControlsList();
// Frees the list once no control is registered.
void FreeBlinkingControlsListIfEmpty();

void InitializeKxCommon();
void FinalizeKxCommon();
