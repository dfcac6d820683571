// The colour picker of unit KxBorder (the unit's bordered display controls
// are in kx/foundation/KxBorder.h) and the colour-name table.
//
// TKxColorPicker is a palette inside a border: 40 standard colours in 5 rows
// of 8, optionally the 30 system colours below a separator, and optional
// "None" and "Default" rows above and a custom-colour row ("More Colors..."
// and a swatch) below. A click selects a cell; "More Colors..." opens the
// colour dialog; hovering shows the colour's name in a hint window. Drawing
// and hit testing share one geometry, so a click selects the cell drawn
// under it.
#pragma once

#include <string>

#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "kx/foundation/KxBorder.h"
#include "kx/foundation/KxCommon.h"

// --- the colour-name table ---------------------------------------------------------

inline constexpr int KxColorNameCount = 70;

struct TKxColorName {
  TColor Value;
  std::string Name;
};

// Entry 0..69: 0-39 the standard colours (8 a row), 40-69 the system
// colours clScrollBar..clMenuBar. The names are the program's resource
// strings, bound at the unit's start-up (empty before).
const TKxColorName& KxColorNames(int index);
// The string-table identifiers: the 70 names from SKxColorNameBase, then
// "Default", "None" and "More Colors...".
inline constexpr int SKxColorNameBase = 65360;
inline constexpr int SKxDefaultColor = SKxColorNameBase + 70;
inline constexpr int SKxNoColor = SKxColorNameBase + 71;
inline constexpr int SKxMoreColors = SKxColorNameBase + 72;

void InitializeKxColorPicker();
void FinalizeKxColorPicker();

// --- the picker ----------------------------------------------------------------------

// Cell indices besides 0..69.
inline constexpr int cpiNoColor = -1;      // the None row; also no cell at all
inline constexpr int cpiCustomColor = -2;  // the custom swatch
inline constexpr int cpiMoreColors = -3;   // the "More Colors..." button
inline constexpr int cpiDefaultColor = -4; // the Default row
inline constexpr int cpiSeparator = -5;    // the band between the grids and the two empty cells
inline constexpr int cpiNothing = -6;      // nothing highlighted

// Where everything of a picker lies, for a client rectangle, the special
// rows shown and the row height (Margin).
struct TKxColorPickerGeometry {
  TRect Client{};
  int Margin = 0;
  int CellWidth = 0;
  int CellHeight = 0;
  // Empty when the row is not shown. The None and Default rows are Margin
  // high, each followed by a one-pixel gap that belongs to it.
  TRect NoneRow{};
  TRect DefaultRow{};
  TRect CustomRow{};
  bool SystemColors = false;
  int GridTop = 0;
  // The band between the grids: from the standard grid's bottom to the
  // system grid's top.
  int BandTop = 0;
  int SystemTop = 0;

  // The rectangle of cell 0..69; 70 and 71 are the two empty places after
  // the last system colour (its row holds 6).
  TRect Cell(int index) const;
  // The part of a special row: the swatch of the Default and custom rows,
  // the button of the custom row, the None row.
  TRect Part(int index) const;
  // The index of what lies under p (cpiNoColor for nothing).
  int HitTest(POINT p) const;
};

class TKxColorPicker : public TKxBorder {
  DECLARE_CLASS(TKxColorPicker, TKxBorder)

  explicit TKxColorPicker(TComponent* owner);

  TColor GetCustomColor() const { return customColor_; }
  const std::string& GetCustomColorCaption() const { return customColorCaption_; }
  TKxCustomColors* GetCustomColors() const { return customColors_; }
  TColorDialogOptions GetColorDlgOptions() const { return colorDlgOptions_; }
  void SetColorDlgOptions(TColorDialogOptions value) { colorDlgOptions_ = value; }
  TColor GetDefaultColor() const { return defaultColor_; }
  const std::string& GetDefaultColorCaption() const { return defaultColorCaption_; }
  const std::string& GetNoColorCaption() const { return noColorCaption_; }
  bool GetShowColorHints() const { return showColorHints_; }
  void SetShowColorHints(bool value) { showColorHints_ = value; }
  bool GetShowNoColor() const { return showNoColor_; }
  bool GetShowCustomColor() const { return showCustomColor_; }
  bool GetShowDefaultColor() const { return showDefaultColor_; }
  bool GetShowSystemColors() const { return showSystemColors_; }
  int GetSelColorIndex() const { return selColorIndex_; }
  int GetHighlightColorIndex() const { return highlightColorIndex_; }
  // The hint window (null before the first colour hint).
  THintWindow* GetHintWindow() const { return hintWindow_; }
  bool IsSelectedColorStored() const { return const_cast<TKxColorPicker*>(this)->GetSelectedColor() != clNone; }

  // The special rows' height: |Font.Height| + 12.
  int Margin() const;
  TKxColorPickerGeometry Geometry();
  TRect GetCellRect(int index) { return Geometry().Cell(index); }
  int HitTest(int x, int y) { return Geometry().HitTest(POINT{x, y}); }

  TNotifyEvent OnChange;
  TNotifyEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TNotifyEvent e) { OnChange = e; }

  // --- introduced virtual operations, in the library's order ------------------------
  // The colour dialog; an accepted colour becomes the custom colour.
  virtual void PickCustomColor();
  virtual void SetCustomColorCaption(const std::string& value);
  // Stored always; repainted while the custom row shows.
  virtual void SetCustomColor(TColor value);
  virtual void SetCustomColors(TKxCustomColors* value);
  // Stored always; repainted while the Default row shows.
  virtual void SetDefaultColor(TColor value);
  virtual void SetNoColorCaption(const std::string& value);
  virtual void SetDefaultColorCaption(const std::string& value);
  virtual void SetShowCustomColor(bool value);
  virtual void SetShowNoColor(bool value);
  virtual void SetShowDefaultColor(bool value);
  virtual void SetShowSystemColors(bool value);
  virtual void SetSelColorIndex(int value);
  virtual void SetHighlightColorIndex(int value);
  virtual TColor GetSelectedColor();
  virtual void SetSelectedColor(TColor value);
  // Fires OnChange.
  virtual void ColorChanged();

  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  bool CanAutoSize(int& newWidth, int& newHeight) override;
  void Paint() override;
  TColor InteriorColor() override { return GetColor(); }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void CMFontChanged(TMessage& m) override;

  // The colour hint for the point (client coordinates): shown over a
  // colour cell, hidden elsewhere.
  void DoHint(int x, int y);

 protected:
  void Destroy() override;

 private:
  void ApplyTheme();
  // The Show... setters' common step.
  void ShowChanged();
  void DrawSwatch(TCanvas* canvas, const TRect& cell, TColor color);
  void DrawMark(TCanvas* canvas, const TRect& r, bool selected);
  void DrawTextBox(TCanvas* canvas, const TRect& box, const std::string& caption);

  TColor customColor_ = clWhite;
  std::string customColorCaption_;
  TKxCustomColors* customColors_ = nullptr;
  TColorDialogOptions colorDlgOptions_{cdFullOpen};
  TColor defaultColor_ = clHighlight;
  std::string defaultColorCaption_;
  std::string noColorCaption_;
  bool showColorHints_ = true;
  bool showNoColor_ = false;
  bool showCustomColor_ = false;
  bool showDefaultColor_ = false;
  bool showSystemColors_ = false;
  int selColorIndex_ = cpiNoColor;
  int highlightColorIndex_ = cpiNothing;
  THintWindow* hintWindow_ = nullptr;
};
