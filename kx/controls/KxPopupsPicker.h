// What the calendar and the time picker of the KxPopups unit share: their
// colour sets addressed by index, and a panel base that sizes itself to its
// font (a natural size each picker works out from the width of "0" and the
// text height), takes the focus on a click unless it drops from another
// control, wants the arrow keys, and draws the pieces both show: the
// background, the raised bar their title or time sits on, the text on it
// and the push buttons.
#pragma once

#include <string>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Scopes.h"
#include "kx/controls/KxPanel.h"

// Colours addressed by index, each starting at its default; an index
// outside reads as clNone and writes nothing. A change repaints the owner
// (a set kept for pickers yet to come has none).
class TKxPickerColors : public TPersistent {
  DECLARE_CLASS(TKxPickerColors, TPersistent)

  TColor GetColor(int index) const;
  void SetColor(int index, TColor value);
  // From a set of the same class.
  void Assign(TPersistent* source) override;

 protected:
  template <int N>
  TKxPickerColors(TControl* owner, const TColor (&defaults)[N]) : owner_(owner), colors_(defaults, defaults + N) {}

 private:
  void Changed();

  TControl* owner_;
  std::vector<TColor> colors_;
};

class TKxPickerBase : public TKxCustomPanel {
  DECLARE_CLASS(TKxPickerBase, TKxCustomPanel)

  // Set by the owner of a drop-down picker: a click takes no focus.
  bool GetIsPopup() const { return isPopup_; }
  void SetIsPopup(bool value) { isPopup_ = value; }

  // The size the picker needs for its font and what it shows.
  virtual SIZE NaturalSize() = 0;
  // The font's measures the layout is made of.
  virtual void CalcFontSize();
  // New measures, the natural size applied, repainted.
  void AdjustForFont();

  bool CanAutoSize(int& newWidth, int& newHeight) override;
  void ConstrainedResize(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight) override;
  void AdjustSize() override;
  void AdjustClientRect(RECT& rect) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void DoEnter() override;
  void DoExit() override;
  void Dispatch(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;

 protected:
  explicit TKxPickerBase(TComponent* owner);

  // The pickers' own defaults: BorderOuter fsLowered, Color clWindow, no
  // parent colour, FlatColorAdjustment 0, AutoSize and TabStop on, double
  // buffered.
  void SetPickerDefaults();
  // A flat outer border asks for flat bars and etched buttons.
  bool FlatLook() const;
  // The edit root of the theme, or the panel with its frame.
  void PaintBackground(TCanvas* canvas);
  // The bar a title or the time sits on: the theme's header, or a raised
  // inner edge on clBtnFace.
  void DrawBar(TCanvas* canvas, const TRect& rect);
  // Text centred in rect over what is there, in the font's colour.
  void DrawBarText(TCanvas* canvas, const std::string& text, const TRect& rect);
  // Text centred on one line in rect with the canvas's font and brush.
  static void CenterText(TCanvas* canvas, const std::string& text, TRect rect);
  // A Today, Clear or Set button: the themed push button, or a classic edge
  // (sunken when pressed, etched for a flat look, else raised) on
  // clBtnFace; the caption centred, 2 pixels right and down while pressed.
  void DrawPickerButton(TCanvas* canvas, const TRect& rect, const std::string& caption, bool pressed);
  // Runs f with the value setters' "nothing changed" shortcut off.
  template <class F>
  void Forcing(F f) {
    TRestore<bool> forcing(forcing_, true);
    f();
  }
  bool IsForcing() const { return forcing_; }

  int charW_ = 0;
  int textH_ = 0;

 private:
  bool isPopup_ = false;
  bool forcing_ = false;
};
