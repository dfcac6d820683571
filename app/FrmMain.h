// FrmMain: the menu's one window. A borderless form painted by a skin
// bitmap, carrying the product and language selectors (image buttons that
// drop a list under themselves), the product picture, three launch buttons
// on a transparent panel, a link, minimise and exit buttons and, in debug
// mode, an update button.
//
// Everything it shows comes from "perivane.ini" and the files under
// "Resource\" beside the executable (ExeDir); nothing is ever written.
// FrmMain.cpp holds creation (skin and settings), FrmMainSelect.cpp the
// product and language selection, FrmMainLaunch.cpp the launching.
#pragma once

#include <array>
#include <string>

#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

class TGraphic;
class TIniFile;
class TKxBalloonHints;
class TKxCheckList;
class TKxLabel;
class TKxListBox;
class TKxURLLabel;
class TKxVersionInfo;
class TpkImageBtn;
class TpkImageForm;
class TpkImager;
class TpkPanel;

class TFormMain : public TForm {
  DECLARE_CLASS(TFormMain, TForm)

  explicit TFormMain(TComponent* owner) : TForm(owner) {}

  // --- published fields, in the stored form's order ------------------------------------
  TpkPanel* pkPanel1 = nullptr;           // holds the three launch buttons
  TpkImageBtn* pkImageBtnExit = nullptr;
  TpkImageBtn* pkImageBtn3 = nullptr;     // launch button 1 (manual)
  TpkImageBtn* pkImageBtn4 = nullptr;     // launch button 2 (driver)
  TpkImageBtn* pkImageBtn5 = nullptr;     // launch button 3 (document reader)
  TpkImageBtn* pkImageBtn2 = nullptr;     // language selector
  TpkImageBtn* pkImageBtnMin = nullptr;
  TpkImager* pkImager1 = nullptr;         // product picture
  TKxBalloonHints* KxBalloonHints1 = nullptr;  // the application's hints
  TpkImageBtn* pkImageBtn1 = nullptr;     // product selector
  TButton* BtnUpdate = nullptr;           // debug mode only
  TKxURLLabel* KxURLLabel1 = nullptr;     // the maker's web page
  TKxLabel* KxLabel1 = nullptr;           // title over the product selector
  TKxLabel* KxLabel2 = nullptr;           // title over the language selector
  TKxListBox* KxListBoxP = nullptr;       // product drop-down list
  TKxCheckList* KxCheckListL = nullptr;   // language drop-down list
  TKxVersionInfo* KxVersionInfo1 = nullptr;
  TpkImageForm* pkImageForm1 = nullptr;   // the skin

  // --- state ---------------------------------------------------------------------------------
  std::array<std::string, 3> BtnCmd;   // BTNCMD1..3 of the applied product, trimmed
  std::array<std::string, 3> BtnHint;  // HINTS1..3 as read
  std::string ViewerPath;              // ExeDir + VIEWER/AcrobatReader; "" without a viewer
  std::string LangPath;                // LANG<n>PATH of the applied language
  std::string DefaultLang;             // LANGUAGE/DefaultLang
  std::string LangSelect;              // LANGSELECT of the applied product
  int ProductIndex = -1;               // applied product line, -1 = none (or one that failed)
  int LanguageIndex = -1;              // applied language line, -1 = none or disabled
  bool ProductShowOne = false;
  bool LanguageShowOne = false;
  bool MultiLangDisplay = false;

  // --- handlers --------------------------------------------------------------------------------
  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void BtnUpdateClick(TObject* sender);
  void pkImageBtn1Click(TObject* sender);
  void pkImageBtn2Click(TObject* sender);
  void KxListBoxPClick(TObject* sender);
  void KxCheckListLClick(TObject* sender);
  void KxCheckListLDrawItem(TWinControl* control, int index, TRect rect, TOwnerDrawState state);
  void pkImageBtn3Click(TObject* sender);
  void pkImageBtn4Click(TObject* sender);
  void pkImageBtn5Click(TObject* sender);
  void pkImageBtnMinClick(TObject* sender);
  void pkImageBtnExitClick(TObject* sender);
  void KxURLLabel1Click(TObject* sender);

  // --- operations ---------------------------------------------------------------------------------
  // The product selected in the product list: captions, commands and hints
  // of the launch buttons, the picture, the languages it offers.
  void ApplyProduct();
  // The language selected in the language list: its folder, its built-in
  // captions in the button images.
  void ApplyLanguage();
  // Opens BtnCmd[index] (0 or 1) through the shell, else with the viewer;
  // a failure switches the launch button's hint on.
  void LaunchButtonCommand(int index);
  // The language's built-in captions written into the images of the
  // language selector and the three launch buttons (each reloaded first).
  void BurnLanguageCaptions();
  // The launch button of a BtnCmd index, 0 to 2.
  TpkImageBtn* LaunchButton(int index) const;
  // The full path of a settings file name: ExeDir + name.
  static std::string DiscPath(const std::string& name);

 private:
  void LoadSkin();
  // ApplyProduct's work for product line i; ApplyProduct counts the product
  // applied only when this returns.
  void ApplyProductLine(int i);
  void ReadSettings(TIniFile& ini);
  // Under the selector, the selector's width plus 10, 128 high (the list's
  // constraints still apply).
  void PlaceList(TControl* list, TControl* selector);
  // Shows a dropped list after moving the pointer 25 pixels down, into it.
  void DropList(TControl* list);
  // The applied language is no longer offered: none is applied, and the
  // images lose its captions.
  void DropLanguage();
};

// A picture with pixels: a graphic that is not empty and not 0 wide or high.
// A skin, button or product picture that loads without pixels counts as not
// loaded.
bool HasPixels(const TGraphic* graphic);

// Loads a bitmap file into an image button's Image; a failure (a picture
// without pixels included) shows the "Tip" box "Need button picture file: " +
// path and returns normally.
void LoadButtonImage(TpkImageBtn* button, const std::string& path);

// The skin file of a kind ("BG", "EXE", "SEL", "MIN", "ET"; suffix "A" to
// "C" for the launch buttons) for a colour depth: the "8" set below 16 bits
// per pixel, the "24" set from 16 on. Relative to ExeDir.
std::string SkinFileName(const std::string& kind, int colorDepth, const std::string& suffix = "");

// The full path a launch command stands for (trimmed command): a leading "+"
// puts the rest into the applied language's folder (LangPath), else into
// DefaultLang, else straight under exeDir; anything else is exeDir + command.
std::string ResolveCommand(const std::string& command, const std::string& exeDir, int languageIndex,
                           const std::string& langPath, const std::string& defaultLang);
