#include "classlib/dialogs/ColorDialog.h"

#include <commdlg.h>

#include <cstdio>

#include "classlib/Forms.h"
#include "classlib/SysUtils.h"

DEFINE_ENUM_TYPE(TColorDialogOption, "cdFullOpen", "cdPreventFullOpen", "cdShowHelp", "cdSolidColor",
                 "cdAnyColor")

PUBLISHED(TColorDialog) {
  p.Prop("Ctl3D", &TColorDialog::GetCtl3D, &TColorDialog::SetCtl3D).Default(true);
  p.Prop("Color", &TColorDialog::GetColor, &TColorDialog::SetColor).Default(clBlack).Type(TColorTypeInfo());
  p.Prop("CustomColors", &TColorDialog::GetCustomColors, &TColorDialog::SetCustomColors);
  p.Prop("Options", &TColorDialog::GetOptions, &TColorDialog::SetOptions).Default(TColorDialogOptions{});
  p.Prop("HelpContext", &TColorDialog::GetHelpContext, &TColorDialog::SetHelpContext).Default(0);
  p.Prop("OnClose", &TColorDialog::GetOnClose, &TColorDialog::SetOnClose);
  p.Prop("OnShow", &TColorDialog::GetOnShow, &TColorDialog::SetOnShow);
}

namespace {
constexpr int kCustomColorCount = 16;

std::string CustomColorName(int i) { return std::string("Color") + static_cast<char>('A' + i); }

// A custom colour line's value: hexadecimal digits; anything else (or no
// line) is no colour, which the dialog shows white.
COLORREF ParseCustomColor(const std::string& s) {
  if (s.empty() || s.size() > 8) return 0xFFFFFF;
  COLORREF v = 0;
  for (char c : s) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else return 0xFFFFFF;
    v = v * 16 + static_cast<COLORREF>(d);
  }
  return v & 0xFFFFFF;
}
}  // namespace

TColorDialog::TColorDialog(TComponent* owner) : TCommonDialog(owner) { customColors_ = New<TStringList>(); }

void TColorDialog::Destroy() {
  FreeAndNil(customColors_);
  inherited::Destroy();
}

bool TColorDialog::Execute() {
  static const DWORD optionFlags[] = {CC_FULLOPEN, CC_PREVENTFULLOPEN, CC_SHOWHELP, CC_SOLIDCOLOR, CC_ANYCOLOR};
  COLORREF custom[kCustomColorCount];
  for (int i = 0; i < kCustomColorCount; ++i) custom[i] = ParseCustomColor(customColors_->GetValue(CustomColorName(i)));
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof(CHOOSECOLORA);
  cc.hwndOwner = Application->GetHandle();
  cc.hInstance = reinterpret_cast<HWND>(GetModuleHandleA(nullptr));
  cc.rgbResult = static_cast<COLORREF>(ColorToRGB(color_));
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_ENABLEHOOK;
  for (int o = cdFullOpen; o <= cdAnyColor; ++o)
    if (options_.Contains(static_cast<TColorDialogOption>(o))) cc.Flags |= optionFlags[o];
  if (!GetTemplate().empty()) {
    cc.Flags |= CC_ENABLETEMPLATE;
    cc.lpTemplateName = GetTemplate().c_str();
  }
  cc.lpfnHook = &TCommonDialog::DialogHook;
  bool ok = TaskModalDialog(&ChooseColorA, cc) != FALSE;
  if (ok) {
    color_ = static_cast<TColor>(cc.rgbResult);
    customColors_->BeginUpdate();
    try {
      for (int i = 0; i < kCustomColorCount; ++i) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%.6X", static_cast<unsigned>(custom[i] & 0xFFFFFF));
        customColors_->SetValue(CustomColorName(i), buf);
      }
    } catch (...) {
      customColors_->EndUpdate();
      throw;
    }
    customColors_->EndUpdate();
  }
  return ok;
}
