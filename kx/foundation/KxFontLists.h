// What the font combo box and the font list box share: the enumerations,
// the family filter and enumeration, the type glyphs, the drawing of one
// item, the preview's sample text, the most recently used block, and
// TKxFontListCore, the settings, the preview and the block that both
// controls carry, with the steps of their windows and messages.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/StdCtrls.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"

class TKxPreviewFontPanel;

enum TKxFontDevice { fdScreen, fdPrinter };
DECLARE_ENUM_TYPE(TKxFontDevice);
enum TKxFontType { ftAll, ftTrueType, ftFixedPitch, ftPrinter };
DECLARE_ENUM_TYPE(TKxFontType);
enum TKxShowStyle { ssFontName, ssFontSample, ssFontNameAndSample, ssFontPreview };
DECLARE_ENUM_TYPE(TKxShowStyle);

// Whether an enumerated family joins a font list: one of the symbol
// character set only with showSymbolFonts; then by type: every one, the
// TrueType ones, or the fixed-pitch ones (TMPF_FIXED_PITCH clear: the bit
// means variable pitch); ftPrinter lists none.
bool KxFontPassesFilter(BYTE charSet, BYTE pitchAndFamily, TKxFontType type, bool showSymbolFonts);
// The families of the screen or of the printer that pass the filter, added
// to items as face names (at most 32 characters) with their
// pitch-and-family byte as the object. Without a printer there are none.
void KxLoadFonts(TStrings* items, TKxFontDevice device, TKxFontType type, bool showSymbolFonts);
// The recently used block of a font list (items 0 to its last index) kept
// while the control's window is made again, and put back on top of the new
// window's list of fonts.
class TKxFontMRUBlock {
 public:
  // Keeps the block of the window that goes (nothing when the control goes
  // for good).
  void Keep(TStrings* items, int last, bool destroying);
  // Empties items, runs load, puts the kept block back on top (in one
  // update); returns the block's last index (-1: none).
  int Refill(TStrings* items, const std::function<void()>& load);

 private:
  std::vector<std::pair<std::string, TObject*>> kept_;
};

// The pitch-and-family byte an item of a font list keeps as its object.
inline BYTE KxFontItemPitch(TObject* object) { return static_cast<BYTE>(reinterpret_cast<uintptr_t>(object)); }

// The type glyphs of the font lists (12 x 12, olive transparent).
enum TKxFontGlyph { fgTrueType, fgFixedPitch, fgTrueTypeFixed, fgPrinter, fgDevice };
TKxFontGlyph KxFontGlyphFor(BYTE pitchAndFamily, TKxFontDevice device);
class TKxFontGlyphs {
 public:
  TKxFontGlyphs() = default;
  ~TKxFontGlyphs();
  TKxFontGlyphs(const TKxFontGlyphs&) = delete;
  TKxFontGlyphs& operator=(const TKxFontGlyphs&) = delete;
  // "KXCMBOBX_TRUETYPE" .. "KXCMBOBX_DEVICE" from the program's resources.
  void Load();
  TBitmap* Glyph(TKxFontGlyph glyph) const { return glyphs_[glyph]; }
  // The item's glyph copied onto a 12 x 12 square of back (olive
  // transparent), drawn at (left, top).
  void Draw(TCanvas* canvas, int left, int top, BYTE pitchAndFamily, TKxFontDevice device, TColor back) const;

 private:
  TBitmap* glyphs_[5] = {};
};

// One item of a font list: its glyph 20 pixels left of rect (the rect
// begins 24 pixels into the item), then its name in the style asked for
// (in the edit part of a combo box the name and sample style shows the
// name only), and with lastMRU the line under the last most recently used
// item.
struct TKxFontItemDraw {
  TCanvas* Canvas;
  TRect Rect;
  std::string Name;
  BYTE Pitch;
  TKxShowStyle Style;
  bool Enabled;
  bool ComboEdit;
  int ItemHeight;
  TKxFontDevice Device;
  TColor Back;
  bool MRULine;
};
void KxDrawFontItem(const TKxFontGlyphs& glyphs, const TKxFontItemDraw& d);

// The sample a font preview shows: PreviewText ("AaBbYyZz" when empty);
// with an edit its selection, or the first 10 characters of its text, left
// aligned; else shortened to "AaBbYyZ", then "AaBbYy", while as wide as the
// panel in font.
std::string KxPreviewText(const std::string& previewText, TCustomEdit* edit, TFont* font, int width,
                          TAlignment& alignment);
// Sets font to the face of item index at size and style and gives it back;
// null, font untouched, while nothing is selected (index -1).
TFont* KxSelectedFont(TFont* font, TStrings* items, int index, int size, TFontStyles style);
// Moves the selected font to the top of the most recently used block
// (items 0 .. lastMRU), or puts a copy of it there and grows the block;
// then the top item is the selected one. Nothing for item 0 or none.
void KxAddFontToMRU(TStrings* items, int selected, int& lastMRU);

// The font settings, the selected font, the type glyphs, the preview and
// the recently used block of a font list control (the font combo box and
// the font list box derive from it beside their control class). The
// control gives its items and where its preview shows; it calls the
// window and message steps below from its own overrides.
class TKxFontListCore {
 public:
  TKxFontListCore(const TKxFontListCore&) = delete;
  TKxFontListCore& operator=(const TKxFontListCore&) = delete;

  TKxFontDevice GetFontDevice() const { return fontDevice_; }
  virtual void SetFontDevice(TKxFontDevice value);
  TKxFontType GetFontType() const { return fontType_; }
  virtual void SetFontType(TKxFontType value);
  bool GetShowSymbolFonts() const { return showSymbolFonts_; }
  virtual void SetShowSymbolFonts(bool value);
  TKxShowStyle GetShowStyle() const { return showStyle_; }
  virtual void SetShowStyle(TKxShowStyle value);
  int GetFontSize() const { return fontSize_; }
  void SetFontSize(int value) { fontSize_ = value; }
  TFontStyles GetFontStyle() const { return fontStyle_; }
  void SetFontStyle(TFontStyles value) { fontStyle_ = value; }
  bool GetMaintainMRUFonts() const { return maintainMRUFonts_; }
  void SetMaintainMRUFonts(bool value);
  // Null while nothing is selected, else a font of the selected face at
  // FontSize and FontStyle.
  virtual TFont* GetSelectedFont();
  virtual void SetSelectedFont(TFont* value);
  // "" while nothing is selected or there is no window.
  virtual std::string GetFontName();
  virtual void SetFontName(const std::string& value);
  TCustomEdit* GetPreviewEdit() const { return previewEdit_; }
  virtual void SetPreviewEdit(TCustomEdit* value);
  // The panel's font size, height and width (36, 65 and 260 once the panel
  // is gone).
  virtual int GetPreviewFontSize();
  virtual void SetPreviewFontSize(int value);
  virtual int GetPreviewHeight();
  virtual void SetPreviewHeight(int value);
  virtual int GetPreviewWidth();
  virtual void SetPreviewWidth(int value);
  const std::string& GetPreviewText() const { return previewText_; }
  void SetPreviewText(const std::string& v) { previewText_ = v; }
  TKxPreviewFontPanel* GetPreviewPanel() const { return previewPanel_; }

  virtual void LoadFonts();
  virtual void LoadBitmaps();
  // Shows the preview where PreviewPlace says (nothing while the list is
  // empty); hides it.
  virtual void ShowPreviewPanel();
  virtual void HidePreviewPanel();
  void UpdatePreviewText();

 protected:
  TKxFontListCore(TCustomListControl* control, bool maintainMRUFonts);
  virtual ~TKxFontListCore();

  // The end of the control's constructor: the selected font, the glyphs and
  // the preview panel (owned by the control, floating over owner).
  void InitFontList(TComponent* owner);
  // The control's items and the screen point its preview shows at.
  virtual TStrings* FontItems() = 0;
  virtual POINT PreviewPlace() = 0;

  // After the control's CreateWnd: the fonts, the kept block on top, the
  // kept selection. Before its DestroyWnd: what the next window gets back.
  void FontWindowMade();
  void FontWindowGoing();
  // From the control's Notification.
  void FontNotification(TComponent* component, TOperation operation);
  // CM_CANCELMODE from another control hides the preview.
  void FontCancelMode(const TMessage& m);
  // CN_DRAWITEM: the item's rectangle begins after the glyph.
  static void IndentFontItem(TMessage& m);
  // One item in the control's canvas; with the preview style the focused
  // item's face goes to the preview.
  void DrawFontItem(TCanvas* canvas, int itemHeight, int index, const TRect& rect, TOwnerDrawState state);
  // Puts the selected font on top of the recently used block and selects
  // it (with MaintainMRUFonts, for an item other than the first).
  void AddFontToMRUList();
  // The last item of the recently used block (-1: none).
  int LastMRU() const { return lastMRU_; }
  TFont* SelectedFontObject() const { return selectedFont_.get(); }

 private:
  TCustomListControl* control_;
  TKxFontDevice fontDevice_ = fdScreen;
  TKxFontType fontType_ = ftAll;
  bool showSymbolFonts_ = true;
  TKxShowStyle showStyle_ = ssFontName;
  int fontSize_ = 8;
  TFontStyles fontStyle_;
  bool maintainMRUFonts_;
  int lastMRU_ = -1;
  Owned<TFont> selectedFont_;
  TKxFontGlyphs glyphs_;
  TKxPreviewFontPanel* previewPanel_ = nullptr;
  TCustomEdit* previewEdit_ = nullptr;
  std::string previewText_;
  std::string savedName_;
  // The most recently used block, kept for the next window.
  TKxFontMRUBlock savedMRU_;
};

// The font settings both controls publish, in their stored order; the
// default of MaintainMRUFonts is the control's.
template <class T>
void PublishKxFontListProps(TPublisher<T>& p, bool maintainMRUFonts) {
  p.Prop("FontDevice", &T::GetFontDevice, &T::SetFontDevice).Default(fdScreen);
  p.Prop("FontSize", &T::GetFontSize, &T::SetFontSize).Default(8);
  p.Prop("FontStyle", &T::GetFontStyle, &T::SetFontStyle).Default(TFontStyles{});
  p.Prop("FontType", &T::GetFontType, &T::SetFontType).Default(ftAll);
  p.Prop("MaintainMRUFonts", &T::GetMaintainMRUFonts, &T::SetMaintainMRUFonts).Default(maintainMRUFonts);
  p.Prop("PreviewEdit", &T::GetPreviewEdit, &T::SetPreviewEdit);
  p.Prop("PreviewFontSize", &T::GetPreviewFontSize, &T::SetPreviewFontSize).Default(36);
  p.Prop("PreviewHeight", &T::GetPreviewHeight, &T::SetPreviewHeight).Default(65);
  p.Prop("PreviewText", &T::GetPreviewText, &T::SetPreviewText);
  p.Prop("PreviewWidth", &T::GetPreviewWidth, &T::SetPreviewWidth).Default(260);
  p.Prop("ShowSymbolFonts", &T::GetShowSymbolFonts, &T::SetShowSymbolFonts).Default(true);
  p.Prop("ShowStyle", &T::GetShowStyle, &T::SetShowStyle).Default(ssFontName);
}
