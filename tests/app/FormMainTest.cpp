// The main form made from its stored form: the skin chosen by colour depth,
// every setting with its default and fallback, the placement arithmetic, and
// the "Tip" box for each skin file that does not load.
#include <gtest/gtest.h>

#include "app/FrmMain.h"
#include "app/perivane.h"
#include "classlib/Seams.h"
#include "kx/foundation/KxBHints.h"
#include "kx/foundation/KxLabel.h"
#include "skin/pkBitmap.h"
#include "skin/pkImager.h"
#include "skin/pkImgBtn.h"
#include "skin/pkimageform.h"
#include "skin/pkpanel.h"
#include "tests/app/AppTestSupport.h"

using namespace app_test;

namespace {

TEST(FormMain, TakesTheSkinsSizeAndKeepsTheStoredLayoutOfTheLaunchButtons) {
  TRecordedBoxes boxes;
  TMenuFixture menu(SampleDisc());
  TFormMain* f = menu.Form();
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(f->GetBorderStyle(), bsNone);
  EXPECT_EQ(f->GetCaption(), "FormMain");
  // The sample disc's background is 640 x 480.
  EXPECT_EQ(f->GetWidth(), 640);
  EXPECT_EQ(f->GetHeight(), 480);
  TpkImageBtn* launch[] = {f->pkImageBtn3, f->pkImageBtn4, f->pkImageBtn5};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(launch[i]->GetParent(), f->pkPanel1);
    EXPECT_EQ(launch[i]->GetTop(), 30 * i);
    EXPECT_FALSE(launch[i]->GetVisible());
    EXPECT_EQ(launch[i]->GetTransparentColor(), clWhite);
    // Sized to the image: the sample's launch buttons are 150 x 26.
    EXPECT_EQ(launch[i]->GetWidth(), 150);
    EXPECT_EQ(launch[i]->GetHeight(), 26);
  }
  EXPECT_EQ(f->pkPanel1->GetWidth(), 150);
  EXPECT_EQ(f->pkPanel1->GetHeight(), 60 + 26);
  EXPECT_EQ(f->pkImageBtnMin->GetHint(), "Minimize");
  EXPECT_EQ(f->pkImageBtnExit->GetHint(), "Exit");
  EXPECT_TRUE(f->pkImageBtnMin->GetShowHint());
  EXPECT_EQ(f->pkImageBtn1->GetTransparentColor(), clBlack);
  EXPECT_EQ(f->pkImageBtn2->GetTransparentColor(), clWhite);
  EXPECT_EQ(f->BtnUpdate->GetCaption(), "Update");
  EXPECT_EQ(f->KxLabel1->GetCaption(), "Please Select Product Model:");
  EXPECT_EQ(f->KxLabel2->GetCaption(), "Please Select Your Language:");
  EXPECT_TRUE(f->KxLabel1->GetFont()->GetStyle().Contains(fsBold));
  EXPECT_EQ(f->KxLabel1->GetFont()->GetColor(), clWhite);
  EXPECT_TRUE(f->KxURLLabel1->GetFont()->GetStyle().Contains(fsUnderline));
  EXPECT_TRUE(f->KxURLLabel1->GetFlyByEnabled());
  EXPECT_EQ(f->KxURLLabel1->GetShadowDepth(), 1);
  // The balloons replace the application's hint window.
  TKxBalloonHints* hints = f->KxBalloonHints1;
  EXPECT_EQ(HintWindowClass, TKxCustomHintWindow::StaticClass());
  EXPECT_EQ(hints->GetAlignment(), taCenter);
  EXPECT_EQ(hints->GetCorner(), hcLowerLeft);
  EXPECT_EQ(hints->GetCaptionWidth(), 100);
  EXPECT_EQ(hints->GetHintPause(), 500);
  EXPECT_TRUE(hints->GetShadow());
  EXPECT_EQ(hints->GetFont()->GetHeight(), -13);
  EXPECT_EQ(f->ProductIndex, -1);
  EXPECT_EQ(f->LanguageIndex, -1);
}

// Each skin set its own size, so the size tells which file was loaded.
TEST(FormMain, TheColourDepthPicksTheSkinSet) {
  TDiscCopy disc;
  disc.Write("Resource\\SEL8_1024_768.BMP", disc.Read("Resource\\MIN8_1024_768.BMP"));
  const struct {
    int Depth;
    int SelectorWidth;
  } cases[] = {{1, 22}, {4, 22}, {8, 22}, {15, 22}, {16, 150}, {24, 150}, {32, 150}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Depth);
    TMenuFixture menu(disc.Folder(), c.Depth);
    EXPECT_EQ(ScreenInfo.ColorDepth, c.Depth);
    EXPECT_EQ(menu.Form()->pkImageBtn1->GetWidth(), c.SelectorWidth);
    EXPECT_EQ(menu.Form()->pkImageBtn2->GetWidth(), c.SelectorWidth);
  }
}

TEST(FormMain, AFailedScreenProbeIsAllZeroAndPicksTheEightBitSet) {
  const TScreenInfo none = ScreenInfoFromDC(nullptr);
  EXPECT_EQ(none.ColorDepth, 0);
  EXPECT_EQ(none.HorzRes, 0);
  EXPECT_EQ(none.VertRes, 0);
  EXPECT_EQ(SkinFileName("BG", none.ColorDepth), "Resource\\BG8_1024_768.BMP");
  EXPECT_EQ(SkinFileName("EXE", 24, "B"), "Resource\\EXE24_1024_768B.BMP");
  // The real display: Xvfb at 24 bits reports 32 bits per pixel.
  const TScreenInfo real = ProbeScreen();
  EXPECT_EQ(real.ColorDepth, 32);
  EXPECT_EQ(real.HorzRes, 1024);
  EXPECT_EQ(real.VertRes, 768);
}

TEST(FormMain, EverySkinFileThatDoesNotLoadGivesOneTipBoxWithItsFullPath) {
  TDiscCopy disc;
  disc.Remove("Resource\\BG24_1024_768.BMP");
  disc.Write("Resource\\EXE24_1024_768B.BMP", "BM not really a bitmap");
  // Cut short inside its header.
  disc.Write("Resource\\SEL24_1024_768.BMP", disc.Read("Resource\\SEL24_1024_768.BMP").substr(0, 30));
  TRecordedBoxes boxes;
  TMenuFixture menu(disc.Folder());
  const std::string base = disc.Folder() + "\\Resource\\";
  using TBox = std::pair<std::string, std::string>;
  const std::vector<TBox> expected = {
      {"Need main picture file: " + base + "BG24_1024_768.BMP", "Tip"},
      {"Need button picture file: " + base + "EXE24_1024_768B.BMP", "Tip"},
      {"Need button picture file: " + base + "SEL24_1024_768.BMP", "Tip"},  // product selector
      {"Need button picture file: " + base + "SEL24_1024_768.BMP", "Tip"},  // language selector
  };
  EXPECT_EQ(boxes.Boxes(), expected);
  // The start goes on: the rest of the skin is there.
  EXPECT_EQ(menu.Form()->pkImageBtn3->GetWidth(), 150);
  EXPECT_EQ(menu.Form()->pkImageBtnExit->GetWidth(), 22);
}

// A file of no bytes loads as an empty bitmap without an error; in the menu
// a skin picture without pixels did not load: the same "Tip" box.
TEST(FormMain, ASkinFileWithoutPixelsGivesTheTipBoxAsOneThatDoesNotLoad) {
  TDiscCopy disc;
  for (const char* name : {"BG24_1024_768.BMP", "EXE24_1024_768A.BMP", "MIN24_1024_768.BMP"})
    disc.Write(std::string("Resource\\") + name, "");
  TRecordedBoxes boxes;
  TMenuFixture menu(disc.Folder());
  const std::string base = disc.Folder() + "\\Resource\\";
  using TBox = std::pair<std::string, std::string>;
  const std::vector<TBox> expected = {
      {"Need main picture file: " + base + "BG24_1024_768.BMP", "Tip"},
      {"Need button picture file: " + base + "EXE24_1024_768A.BMP", "Tip"},
      {"Need button picture file: " + base + "MIN24_1024_768.BMP", "Tip"},
  };
  EXPECT_EQ(boxes.Boxes(), expected);
  EXPECT_EQ(menu.Form()->pkImageBtn4->GetWidth(), 150);
}

// --- settings ------------------------------------------------------------------------------

struct TExpectedSettings {
  int SelectLeft, SelectTop, PictureLeft, PictureTop, ExecLeft, ExecTop, MinLeft, MinTop, ExitLeft, ExitTop;
  bool ProductShowOne, LanguageShowOne, MultiLangDisplay, Debug, Transparent;
  TColor ButtonKey;  // of the minimise and exit buttons
  const char* Viewer;
  const char* DefaultLang;
  int LinkLeft, LinkTop;
  bool ProductTitle, LanguageTitle;
  const char* Link;
};

const TExpectedSettings kDefaults = {56,    128,  355,  108, 392, 320, 56, 424, 95, 424, true, true, true, false,
                                     false, static_cast<TColor>(0xFFFFFF), "", "", 368, 432, true, true, ""};

void ExpectSettings(TFormMain* f, const TExpectedSettings& e, const std::string& exeDir) {
  EXPECT_EQ(f->pkImageBtn1->GetLeft(), e.SelectLeft);
  EXPECT_EQ(f->pkImageBtn2->GetLeft(), e.SelectLeft);
  // Each offset adds the height of the element placed: 21 for the
  // sample's selector, 13 for the title label in its real font.
  EXPECT_EQ(f->KxLabel1->GetLeft(), e.SelectLeft);
  EXPECT_EQ(f->KxLabel1->GetTop(), e.SelectTop);
  EXPECT_EQ(f->KxLabel2->GetLeft(), e.SelectLeft);
  EXPECT_EQ(f->KxLabel2->GetHeight(), 13);
  EXPECT_EQ(f->pkImageBtn1->GetTop(), e.SelectTop + 21 + 5);
  EXPECT_EQ(f->KxLabel2->GetTop(), e.SelectTop + 21 + 5 + 13 + 25);
  EXPECT_EQ(f->pkImageBtn2->GetTop(), e.SelectTop + 21 + 5 + 13 + 25 + 21 + 5);
  EXPECT_EQ(f->KxLabel1->GetVisible(), e.ProductTitle);
  EXPECT_EQ(f->KxLabel2->GetVisible(), e.LanguageTitle);
  EXPECT_EQ(f->KxURLLabel1->GetLeft(), e.LinkLeft);
  EXPECT_EQ(f->KxURLLabel1->GetTop(), e.LinkTop);
  EXPECT_EQ(f->KxURLLabel1->GetCaption(), e.Link);
  EXPECT_EQ(f->KxURLLabel1->GetURL(), e.Link);
  EXPECT_EQ(f->KxURLLabel1->GetUnvisitedColor(), static_cast<TColor>(0x800000));
  EXPECT_EQ(f->KxURLLabel1->GetFlyByColor(), static_cast<TColor>(0xFF0000));
  EXPECT_EQ(f->pkImager1->GetLeft(), e.PictureLeft);
  EXPECT_EQ(f->pkImager1->GetTop(), e.PictureTop);
  EXPECT_EQ(f->pkPanel1->GetLeft(), e.ExecLeft);
  EXPECT_EQ(f->pkPanel1->GetTop(), e.ExecTop);
  EXPECT_EQ(f->pkImageBtnMin->GetLeft(), e.MinLeft);
  EXPECT_EQ(f->pkImageBtnMin->GetTop(), e.MinTop);
  EXPECT_EQ(f->pkImageBtnExit->GetLeft(), e.ExitLeft);
  EXPECT_EQ(f->pkImageBtnExit->GetTop(), e.ExitTop);
  EXPECT_EQ(f->ProductShowOne, e.ProductShowOne);
  EXPECT_EQ(f->LanguageShowOne, e.LanguageShowOne);
  EXPECT_EQ(f->MultiLangDisplay, e.MultiLangDisplay);
  EXPECT_EQ(f->BtnUpdate->GetVisible(), e.Debug);
  EXPECT_EQ(f->pkImager1->GetTransparent(), e.Transparent);
  EXPECT_EQ(f->pkImageBtnMin->GetTransparentColor(), e.ButtonKey);
  EXPECT_EQ(f->pkImageBtnExit->GetTransparentColor(), e.ButtonKey);
  EXPECT_EQ(f->ViewerPath, *e.Viewer ? exeDir + e.Viewer : std::string());
  EXPECT_EQ(f->DefaultLang, e.DefaultLang);
}

TEST(FormMainSettings, EachSettingTakesItsDefaultOrItsFallback) {
  struct TCase {
    const char* Name;
    const char* Ini;  // nullptr: no settings file at all
    TExpectedSettings Expected;
  };
  auto with = [](auto change) {
    TExpectedSettings e = kDefaults;
    change(e);
    return e;
  };
  const TCase cases[] = {
      {"no settings file", nullptr, kDefaults},
      {"an empty settings file", "", kDefaults},
      {"numbers that are no integers",
       "[OBJLOCATION]\r\nSelectLeft=abc\r\nSelectTop=12.5\r\nExecLeft=\r\nExitTop=0x\r\n"
       "[OBJECT]\r\nProductShowOne=abc\r\nLanguageShowOne=yes\r\nProductTitle=abc\r\nLanguageTitle=\r\n"
       "[OPTION]\r\nMultilanguageScreenDisplay=one\r\n",
       with([](TExpectedSettings& e) {
         e.ProductShowOne = e.LanguageShowOne = e.MultiLangDisplay = false;
       })},
      {"numbers out of range",
       "[OBJLOCATION]\r\nSelectLeft=99999999999\r\nProductpicLeft=-40\r\nMiniBtnTop=2147483648\r\n"
       "[DEBUG]\r\nDebug=4294967297\r\n",
       with([](TExpectedSettings& e) { e.PictureLeft = -40; })},
      {"only 1 switches on",
       "[OBJECT]\r\nProductShowOne=2\r\nLanguageShowOne=0\r\nProductTitle=2\r\nLanguageTitle=0\r\n"
       "[OPTION]\r\nMultilanguageScreenDisplay=01\r\n[DEBUG]\r\nDebug=1\r\n",
       with([](TExpectedSettings& e) {
         e.ProductShowOne = e.LanguageShowOne = false;
         e.Debug = true;
         e.LanguageTitle = false;  // only 0 hides a title
       })},
      {"no titles", "[OBJECT]\r\nProductTitle=0\r\nLanguageTitle=00\r\n",
       with([](TExpectedSettings& e) { e.ProductTitle = e.LanguageTitle = false; })},
      {"black as the key colour", "[Application]\r\nTransparentColor=0\r\n",
       with([](TExpectedSettings& e) {
         e.Transparent = true;
         e.ButtonKey = clBlack;
       })},
      {"positions, viewer and default language",
       "[OBJLOCATION]\r\nSelectLeft=10\r\nSelectTop=20\r\nProductpicLeft=300\r\nProductpicTop=40\r\n"
       "ExecLeft=310\r\nExecTop=320\r\nMiniBtnLeft=1\r\nMiniBtnTop=2\r\nExitBtnLeft=3\r\nExitBtnTop=4\r\n"
       "LinkLeft=5\r\nLinkTop=6\r\n[LINK]\r\nhttp=http://www.example.com/a b\r\n"
       "[VIEWER]\r\nAcrobatReader=Tools\\My Viewer.exe\r\n[LANGUAGE]\r\nDefaultLang=DE\r\n",
       {10, 20, 300, 40, 310, 320, 1, 2, 3, 4, true, true, true, false, false, static_cast<TColor>(0xFFFFFF),
        "Tools\\My Viewer.exe", "DE", 5, 6, true, true, "http://www.example.com/a b"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TDiscCopy disc;
    if (c.Ini) disc.Write("perivane.ini", c.Ini);
    else disc.Remove("perivane.ini");
    const std::string before = disc.Read("perivane.ini");
    TRecordedBoxes boxes;
    TMenuFixture menu(disc.Folder());
    ExpectSettings(menu.Form(), c.Expected, disc.Folder() + "\\");
    EXPECT_TRUE(boxes.Boxes().empty());
    // Read only: the file is as it was, and none is made.
    EXPECT_EQ(disc.Read("perivane.ini"), before);
  }
}

TEST(FormMainSettings, TheUpdateButtonRunsCreationAgainAndTheSwitchesStayOn) {
  TDiscCopy disc;
  disc.Write("perivane.ini", "[DEBUG]\r\nDebug=1\r\n[OBJLOCATION]\r\nExecLeft=100\r\n");
  TMenuFixture menu(disc.Folder());
  TFormMain* f = menu.Form();
  ASSERT_TRUE(f->BtnUpdate->GetVisible());
  // The executable's file version (the tests carry the menu's resources).
  EXPECT_EQ(f->BtnUpdate->GetCaption(), "1.0.0.16");
  EXPECT_TRUE(f->ProductShowOne);
  disc.Write("perivane.ini",
             "[DEBUG]\r\nDebug=1\r\n[OBJLOCATION]\r\nExecLeft=200\r\n[OBJECT]\r\nProductShowOne=0\r\n");
  f->BtnUpdate->Click();
  EXPECT_EQ(f->pkPanel1->GetLeft(), 200);
  EXPECT_TRUE(f->ProductShowOne);  // only ever switched on
}

}  // namespace
