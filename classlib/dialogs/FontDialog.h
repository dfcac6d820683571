// TFontDialog: the system's font dialog (ChooseFontA). Font goes in and,
// when the user accepts, comes back: name, height, style, and the colour
// and character set only when the user changed them in the dialog (the
// dialog's own idea of them may differ from the font's). With OnApply the
// dialog has an Apply button, which hands the dialog's current choice to
// Font and fires OnApply while the dialog stays open.
#pragma once

#include "classlib/Graphics.h"
#include "classlib/dialogs/CommonDialog.h"

enum TFontDialogOption {
  fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel, fdNoOEMFonts,
  fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp, fdWysiwyg, fdLimitSize,
  fdScalableOnly, fdApplyButton
};
DECLARE_ENUM_TYPE(TFontDialogOption);
using TFontDialogOptions = TSet<TFontDialogOption>;

// Scoped: the framed library's font lists have an fdScreen/fdPrinter of
// their own, and both headers meet in one source file.
enum class TFontDialogDevice { fdScreen, fdPrinter, fdBoth };
DECLARE_ENUM_TYPE(TFontDialogDevice);

using TFDApplyEvent = TClosure<void(TObject* Sender, HWND Wnd)>;

class TFontDialog : public TCommonDialog {
  DECLARE_CLASS(TFontDialog, TCommonDialog)

  explicit TFontDialog(TComponent* owner);
  ~TFontDialog() override { DestroyUnfinished(); }

  bool Execute() override;

  TFont* GetFont() const { return font_; }
  void SetFont(TFont* v) { font_->Assign(v); }
  // The printer's fonts (fdPrinter, fdBoth) need a printer: EPrinter
  // without one.
  TFontDialogDevice GetDevice() const { return device_; }
  void SetDevice(TFontDialogDevice v) { device_ = v; }
  // Point sizes offered with fdLimitSize (ignored when Min > Max).
  int GetMinFontSize() const { return minFontSize_; }
  void SetMinFontSize(int v) { minFontSize_ = v; }
  int GetMaxFontSize() const { return maxFontSize_; }
  void SetMaxFontSize(int v) { maxFontSize_ = v; }
  TFontDialogOptions GetOptions() const { return options_; }
  void SetOptions(TFontDialogOptions v) { options_ = v; }

  TFDApplyEvent OnApply;
  TFDApplyEvent GetOnApply() const { return OnApply; }
  void SetOnApply(TFDApplyEvent e) { OnApply = e; }

  void WndProc(TMessage& message) override;

 protected:
  void Destroy() override;
  virtual void Apply(HWND wnd);

 private:
  void DoApply(HWND wnd);
  void UpdateFromLogFont(const LOGFONTA& logFont);

  TFont* font_ = nullptr;
  TFontDialogDevice device_ = TFontDialogDevice::fdScreen;
  int minFontSize_ = 0;
  int maxFontSize_ = 0;
  TFontDialogOptions options_{fdEffects};
  bool fontColorModified_ = false;
  bool fontCharsetModified_ = false;
};
