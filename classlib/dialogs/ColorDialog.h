// TColorDialog: the system's colour dialog (ChooseColorA). Color goes in
// and, when the user accepts, comes back; CustomColors holds the sixteen
// custom colours as the lines "ColorA=RRGGBB" to "ColorP=..." (hexadecimal
// of the COLORREF, 0x00BBGGRR), read before the dialog and written back
// after it is accepted.
#pragma once

#include "classlib/dialogs/CommonDialog.h"

enum TColorDialogOption { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
DECLARE_ENUM_TYPE(TColorDialogOption);
using TColorDialogOptions = TSet<TColorDialogOption>;

class TColorDialog : public TCommonDialog {
  DECLARE_CLASS(TColorDialog, TCommonDialog)

  explicit TColorDialog(TComponent* owner);

  bool Execute() override;

  TColor GetColor() const { return color_; }
  void SetColor(TColor v) { color_ = v; }
  TStrings* GetCustomColors() const { return customColors_; }
  void SetCustomColors(TStrings* v) { customColors_->Assign(v); }
  TColorDialogOptions GetOptions() const { return options_; }
  void SetOptions(TColorDialogOptions v) { options_ = v; }

 protected:
  void Destroy() override;

 private:
  TColor color_ = clBlack;
  TStrings* customColors_ = nullptr;
  TColorDialogOptions options_;
};
