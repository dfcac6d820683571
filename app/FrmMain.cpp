#include "app/FrmMain.h"

#include "app/perivane.h"
#include "classlib/IniFiles.h"
#include "classlib/SysUtils.h"
#include "kx/foundation/KxBHints.h"
#include "kx/foundation/KxChkLst.h"
#include "kx/foundation/KxLabel.h"
#include "kx/foundation/KxLstBox.h"
#include "kx/foundation/KxStatus.h"
#include "skin/pkBitmap.h"
#include "skin/pkImager.h"
#include "skin/pkImgBtn.h"
#include "skin/pkimageform.h"
#include "skin/pkpanel.h"

PUBLISHED(TFormMain) {
  p.Field("pkPanel1", &TFormMain::pkPanel1);
  p.Field("pkImageBtnExit", &TFormMain::pkImageBtnExit);
  p.Field("pkImageBtn3", &TFormMain::pkImageBtn3);
  p.Field("pkImageBtn4", &TFormMain::pkImageBtn4);
  p.Field("pkImageBtn5", &TFormMain::pkImageBtn5);
  p.Field("pkImageBtn2", &TFormMain::pkImageBtn2);
  p.Field("pkImageBtnMin", &TFormMain::pkImageBtnMin);
  p.Field("pkImager1", &TFormMain::pkImager1);
  p.Field("KxBalloonHints1", &TFormMain::KxBalloonHints1);
  p.Field("pkImageBtn1", &TFormMain::pkImageBtn1);
  p.Field("BtnUpdate", &TFormMain::BtnUpdate);
  p.Field("KxURLLabel1", &TFormMain::KxURLLabel1);
  p.Field("KxLabel1", &TFormMain::KxLabel1);
  p.Field("KxLabel2", &TFormMain::KxLabel2);
  p.Field("KxListBoxP", &TFormMain::KxListBoxP);
  p.Field("KxCheckListL", &TFormMain::KxCheckListL);
  p.Field("KxVersionInfo1", &TFormMain::KxVersionInfo1);
  p.Field("pkImageForm1", &TFormMain::pkImageForm1);
  p.Method("FormCreate", &TFormMain::FormCreate);
  p.Method("FormShow", &TFormMain::FormShow);
  p.Method("BtnUpdateClick", &TFormMain::BtnUpdateClick);
  p.Method("pkImageBtn1Click", &TFormMain::pkImageBtn1Click);
  p.Method("pkImageBtn2Click", &TFormMain::pkImageBtn2Click);
  p.Method("KxListBoxPClick", &TFormMain::KxListBoxPClick);
  p.Method("KxCheckListLClick", &TFormMain::KxCheckListLClick);
  p.Method("KxCheckListLDrawItem", &TFormMain::KxCheckListLDrawItem);
  p.Method("pkImageBtn3Click", &TFormMain::pkImageBtn3Click);
  p.Method("pkImageBtn4Click", &TFormMain::pkImageBtn4Click);
  p.Method("pkImageBtn5Click", &TFormMain::pkImageBtn5Click);
  p.Method("pkImageBtnMinClick", &TFormMain::pkImageBtnMinClick);
  p.Method("pkImageBtnExitClick", &TFormMain::pkImageBtnExitClick);
  p.Method("KxURLLabel1Click", &TFormMain::KxURLLabel1Click);
}

namespace {

const char* const kTipCaption = "Tip";

// A number setting: read as text with its default text, converted with a
// fallback for text that is no integer.
int IntSetting(TIniFile& ini, const char* section, const char* key, const char* def, int fallback) {
  return StrToIntDef(ini.ReadString(section, key, def), fallback);
}

// The positions of OBJLOCATION: key pairs, their defaults, and the control
// each places.
struct TPlacement {
  const char* LeftKey;
  int LeftDefault;
  const char* TopKey;
  int TopDefault;
  TControl* (*Control)(TFormMain& form);
};

}  // namespace

std::string SkinFileName(const std::string& kind, int colorDepth, const std::string& suffix) {
  const char* depth = colorDepth < 16 ? "8" : "24";
  return "Resource\\" + kind + depth + "_1024_768" + suffix + ".BMP";
}

std::string TFormMain::DiscPath(const std::string& name) { return ExeDir + name; }

bool HasPixels(const TGraphic* graphic) {
  return graphic && !graphic->GetEmpty() && graphic->GetWidth() > 0 && graphic->GetHeight() > 0;
}

void LoadButtonImage(TpkImageBtn* button, const std::string& path) {
  // A file of no bytes loads as an empty bitmap without a word: it did not
  // load either.
  bool loaded = false;
  try {
    button->GetImage()->LoadFromFile(path);
    loaded = HasPixels(button->GetImage());
  } catch (...) {
  }
  if (!loaded) Application->MessageBox("Need button picture file: " + path, kTipCaption, 0);
}

void TFormMain::FormCreate(TObject*) {
  LoadSkin();
  // Open for the rest of the handler, freed whatever happens.
  Owned<TIniFile> ini = MakeOwned<TIniFile>(DiscPath(IniFileName));
  ReadSettings(*ini);
}

void TFormMain::LoadSkin() {
  const int depth = ScreenInfo.ColorDepth;
  const std::string background = DiscPath(SkinFileName("BG", depth));
  bool loaded = false;
  try {
    pkImageForm1->GetPicture()->LoadFromFile(background);
    loaded = HasPixels(pkImageForm1->GetPicture()->GetGraphic());
  } catch (...) {
  }
  if (!loaded) Application->MessageBox("Need main picture file: " + background, kTipCaption, 0);
  auto loadSized = [](TpkImageBtn* button, const std::string& path) {
    LoadButtonImage(button, path);
    button->SetWidth(button->GetImage()->GetWidth());
    button->SetHeight(button->GetImage()->GetHeight());
  };
  loadSized(pkImageBtn3, DiscPath(SkinFileName("EXE", depth, "A")));
  loadSized(pkImageBtn4, DiscPath(SkinFileName("EXE", depth, "B")));
  loadSized(pkImageBtn5, DiscPath(SkinFileName("EXE", depth, "C")));
  // The stored tops (0, 30, 60) stay; the panel wraps the three buttons.
  pkPanel1->SetWidth(std::max({pkImageBtn3->GetWidth(), pkImageBtn4->GetWidth(), pkImageBtn5->GetWidth()}));
  pkPanel1->SetHeight(pkImageBtn5->GetTop() + pkImageBtn5->GetHeight() - pkImageBtn3->GetTop());
  const std::string selector = DiscPath(SkinFileName("SEL", depth));
  loadSized(pkImageBtn1, selector);
  LoadButtonImage(pkImageBtn2, selector);
  pkImageBtn2->SetWidth(pkImageBtn1->GetWidth());
  pkImageBtn2->SetHeight(pkImageBtn1->GetHeight());
  loadSized(pkImageBtnMin, DiscPath(SkinFileName("MIN", depth)));
  loadSized(pkImageBtnExit, DiscPath(SkinFileName("ET", depth)));
}

void TFormMain::ReadSettings(TIniFile& ini) {
  if (ini.ValueExists("Application", "TransparentColor")) {
    pkImager1->SetTransparentColor(static_cast<TColor>(ini.ReadInteger("Application", "TransparentColor", 0)));
    pkImager1->SetTransparent(true);
    pkImageBtnMin->SetTransparentColor(pkImager1->GetTransparentColor());
    pkImageBtnExit->SetTransparentColor(pkImager1->GetTransparentColor());
  } else {
    pkImager1->SetTransparent(false);
    pkImageBtnMin->SetTransparentColor(static_cast<TColor>(0xFFFFFF));
    pkImageBtnExit->SetTransparentColor(static_cast<TColor>(0xFFFFFF));
  }

  const std::string link = ini.ReadString("LINK", "http", "");
  KxURLLabel1->SetCaption(link);
  KxURLLabel1->SetURL(link);
  KxURLLabel1->SetUnvisitedColor(static_cast<TColor>(0x800000));
  KxURLLabel1->SetFlyByColor(static_cast<TColor>(0xFF0000));

  // Without a viewer a failed launch stays a failure: ExeDir alone would
  // open the program's folder.
  const std::string viewer = ini.ReadString("VIEWER", "AcrobatReader", "");
  ViewerPath = viewer.empty() ? std::string() : DiscPath(viewer);

  if (IntSetting(ini, "DEBUG", "Debug", "0", 0) == 1) {
    KxVersionInfo1->SetFilePath(Application->GetExeName());
    BtnUpdate->SetCaption(KxVersionInfo1->GetField(vifFileVersion));
    BtnUpdate->SetVisible(true);
  } else {
    BtnUpdate->SetVisible(false);
  }

  if (IntSetting(ini, "OBJECT", "ProductTitle", "1", 1) == 0) KxLabel1->SetVisible(false);
  if (IntSetting(ini, "OBJECT", "LanguageTitle", "1", 1) == 0) KxLabel2->SetVisible(false);
  if (IntSetting(ini, "OBJECT", "ProductShowOne", "1", 0) == 1) ProductShowOne = true;
  if (IntSetting(ini, "OBJECT", "LanguageShowOne", "1", 0) == 1) LanguageShowOne = true;

  static const TPlacement kPlacements[] = {
      {"ProductpicLeft", 355, "ProductpicTop", 108, [](TFormMain& f) -> TControl* { return f.pkImager1; }},
      {"ExecLeft", 392, "ExecTop", 320, [](TFormMain& f) -> TControl* { return f.pkPanel1; }},
      {"LinkLeft", 368, "LinkTop", 432, [](TFormMain& f) -> TControl* { return f.KxURLLabel1; }},
      {"MiniBtnLeft", 56, "MiniBtnTop", 424, [](TFormMain& f) -> TControl* { return f.pkImageBtnMin; }},
      {"ExitBtnLeft", 95, "ExitBtnTop", 424, [](TFormMain& f) -> TControl* { return f.pkImageBtnExit; }},
  };
  KxLabel1->SetLeft(IntSetting(ini, "OBJLOCATION", "SelectLeft", "56", 56));
  KxLabel1->SetTop(IntSetting(ini, "OBJLOCATION", "SelectTop", "128", 128));
  // Each offset adds the height of the element being placed, not that of
  // the element above it.
  pkImageBtn1->SetLeft(KxLabel1->GetLeft());
  KxLabel2->SetLeft(KxLabel1->GetLeft());
  pkImageBtn2->SetLeft(KxLabel1->GetLeft());
  pkImageBtn1->SetTop(KxLabel1->GetTop() + pkImageBtn1->GetHeight() + 5);
  KxLabel2->SetTop(pkImageBtn1->GetTop() + KxLabel2->GetHeight() + 25);
  pkImageBtn2->SetTop(KxLabel2->GetTop() + pkImageBtn2->GetHeight() + 5);
  for (const TPlacement& placement : kPlacements) {
    TControl* control = placement.Control(*this);
    control->SetLeft(IntSetting(ini, "OBJLOCATION", placement.LeftKey, std::to_string(placement.LeftDefault).c_str(),
                                placement.LeftDefault));
    control->SetTop(IntSetting(ini, "OBJLOCATION", placement.TopKey, std::to_string(placement.TopDefault).c_str(),
                               placement.TopDefault));
  }

  DefaultLang = ini.ReadString("LANGUAGE", "DefaultLang", "");
  if (IntSetting(ini, "OPTION", "MultilanguageScreenDisplay", "1", 0) == 1) MultiLangDisplay = true;
}

void TFormMain::BtnUpdateClick(TObject* sender) {
  if (OnCreate) OnCreate(sender);
}

TpkImageBtn* TFormMain::LaunchButton(int index) const {
  TpkImageBtn* const buttons[] = {pkImageBtn3, pkImageBtn4, pkImageBtn5};
  return buttons[index];
}
