#include "classlib/dialogs/FontDialog.h"

#include <commdlg.h>
#include <dlgs.h>

#include "classlib/Forms.h"
#include "classlib/Printers.h"
#include "classlib/SysUtils.h"

DEFINE_ENUM_TYPE(TFontDialogOption, "fdAnsiOnly", "fdTrueTypeOnly", "fdEffects", "fdFixedPitchOnly",
                 "fdForceFontExist", "fdNoFaceSel", "fdNoOEMFonts", "fdNoSimulations", "fdNoSizeSel",
                 "fdNoStyleSel", "fdNoVectorFonts", "fdShowHelp", "fdWysiwyg", "fdLimitSize", "fdScalableOnly",
                 "fdApplyButton")
DEFINE_ENUM_TYPE(TFontDialogDevice, "fdScreen", "fdPrinter", "fdBoth")

namespace {
constexpr DWORD kFontOptionFlags[] = {
    CF_ANSIONLY,        CF_TTONLY,        CF_EFFECTS,     CF_FIXEDPITCHONLY,
    CF_FORCEFONTEXIST,  CF_NOFACESEL,     CF_NOOEMFONTS,  CF_NOSIMULATIONS,
    CF_NOSIZESEL,       CF_NOSTYLESEL,    CF_NOVECTORFONTS, CF_SHOWHELP,
    // WYSIWYG fonts are those both devices have, and scalable.
    CF_WYSIWYG | CF_BOTH | CF_SCALABLEONLY, CF_LIMITSIZE, CF_SCALABLEONLY, CF_APPLY};
static_assert(std::size(kFontOptionFlags) == fdApplyButton + 1);
constexpr DWORD kDeviceFlags[] = {CF_SCREENFONTS, CF_PRINTERFONTS, CF_BOTH};

// The Apply button and the colour list of the system's font dialog.
constexpr int kApplyButton = psh3;
constexpr int kColorCombo = cmb4;
constexpr int kScriptCombo = cmb5;
}  // namespace

PUBLISHED(TFontDialog) {
  p.Prop("Ctl3D", &TFontDialog::GetCtl3D, &TFontDialog::SetCtl3D).Default(true);
  p.Prop("Font", &TFontDialog::GetFont, &TFontDialog::SetFont);
  p.Prop("Device", &TFontDialog::GetDevice, &TFontDialog::SetDevice).Default(TFontDialogDevice::fdScreen);
  p.Prop("MinFontSize", &TFontDialog::GetMinFontSize, &TFontDialog::SetMinFontSize).Default(0);
  p.Prop("MaxFontSize", &TFontDialog::GetMaxFontSize, &TFontDialog::SetMaxFontSize).Default(0);
  p.Prop("Options", &TFontDialog::GetOptions, &TFontDialog::SetOptions).Default(TFontDialogOptions{fdEffects});
  p.Prop("HelpContext", &TFontDialog::GetHelpContext, &TFontDialog::SetHelpContext).Default(0);
  p.Prop("OnApply", &TFontDialog::GetOnApply, &TFontDialog::SetOnApply);
  p.Prop("OnClose", &TFontDialog::GetOnClose, &TFontDialog::SetOnClose);
  p.Prop("OnShow", &TFontDialog::GetOnShow, &TFontDialog::SetOnShow);
}

TFontDialog::TFontDialog(TComponent* owner) : TCommonDialog(owner) { font_ = New<TFont>(); }

void TFontDialog::Destroy() {
  FreeAndNil(font_);
  inherited::Destroy();
}

void TFontDialog::WndProc(TMessage& message) {
  if (message.Msg == WM_COMMAND) {
    WORD id = LOWORD(message.WParam);
    WORD code = HIWORD(message.WParam);
    if (id == kApplyButton && code == BN_CLICKED) {
      DoApply(GetHandle());
      message.Result = 1;
      return;
    }
    // The colour and the script are taken only when the user picked them:
    // the dialog shows its nearest entries, not the font's own values.
    if (code == CBN_SELENDOK) {
      if (id == kColorCombo) fontColorModified_ = true;
      else if (id == kScriptCombo) fontCharsetModified_ = true;
    }
  }
  inherited::WndProc(message);
}

void TFontDialog::Apply(HWND wnd) {
  if (OnApply) OnApply(this, wnd);
}

void TFontDialog::DoApply(HWND wnd) {
  LOGFONTA logFont{};
  SendMessageA(wnd, WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&logFont));
  UpdateFromLogFont(logFont);
  LRESULT i = SendDlgItemMessageA(wnd, kColorCombo, CB_GETCURSEL, 0, 0);
  if (i != CB_ERR)
    font_->SetColor(static_cast<TColor>(SendDlgItemMessageA(wnd, kColorCombo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)));
  try {
    Apply(wnd);
  } catch (...) {
    Application->HandleException(this);
  }
}

bool TFontDialog::Execute() {
  LOGFONTA logFont{};
  GetObjectA(font_->GetHandle(), sizeof logFont, &logFont);
  std::string originalFace = logFont.lfFaceName;
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof(CHOOSEFONTA);
  if (device_ != TFontDialogDevice::fdScreen) cf.hDC = Printer()->GetHandle();
  cf.lpLogFont = &logFont;
  cf.Flags = kDeviceFlags[static_cast<int>(device_)] | CF_INITTOLOGFONTSTRUCT | CF_ENABLEHOOK;
  for (int o = fdAnsiOnly; o <= fdApplyButton; ++o)
    if (options_.Contains(static_cast<TFontDialogOption>(o))) cf.Flags |= kFontOptionFlags[o];
  if (OnApply) cf.Flags |= CF_APPLY;
  if (!GetTemplate().empty()) {
    cf.Flags |= CF_ENABLETEMPLATE;
    cf.hInstance = GetModuleHandleA(nullptr);
    cf.lpTemplateName = GetTemplate().c_str();
  }
  cf.rgbColors = static_cast<COLORREF>(ColorToRGB(font_->GetColor()));
  cf.lpfnHook = &TCommonDialog::DialogHook;
  cf.nSizeMin = minFontSize_;
  cf.nSizeMax = maxFontSize_;
  if (cf.nSizeMin > cf.nSizeMax) cf.Flags &= ~static_cast<DWORD>(CF_LIMITSIZE);
  cf.hwndOwner = Application ? Application->GetHandle() : nullptr;
  fontColorModified_ = false;
  fontCharsetModified_ = false;
  bool result = TaskModalDialog(&ChooseFontA, cf) != FALSE;
  if (result) {
    if (AnsiCompareText(originalFace, logFont.lfFaceName) != 0) fontCharsetModified_ = true;
    UpdateFromLogFont(logFont);
    if (fontColorModified_) font_->SetColor(static_cast<TColor>(cf.rgbColors));
  }
  return result;
}

void TFontDialog::UpdateFromLogFont(const LOGFONTA& logFont) {
  font_->SetName(logFont.lfFaceName);
  font_->SetHeight(logFont.lfHeight);
  if (fontCharsetModified_) font_->SetCharset(logFont.lfCharSet);
  TFontStyles style;
  if (logFont.lfWeight > FW_REGULAR) style.Include(fsBold);
  if (logFont.lfItalic) style.Include(fsItalic);
  if (logFont.lfUnderline) style.Include(fsUnderline);
  if (logFont.lfStrikeOut) style.Include(fsStrikeOut);
  font_->SetStyle(style);
}
