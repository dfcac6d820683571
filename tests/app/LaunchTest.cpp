// Launching: the "+" rule, the shell call, the viewer fallback, the failure
// hint, and launch button 3's per-language command. The shell is the seam
// here; the end-to-end tests go through the real one.
#include <gtest/gtest.h>

#include "app/FrmMain.h"
#include "app/perivane.h"
#include "classlib/Seams.h"
#include "classlib/SysUtils.h"
#include "kx/foundation/KxLabel.h"
#include "skin/pkImgBtn.h"
#include "tests/app/AppTestSupport.h"

using namespace app_test;

namespace {

TEST(Launch, CommandsResolveByThePlusRule) {
  const std::string exe = "C:\\Disc\\";
  struct TCase {
    const char* Command;
    int Language;
    const char* LangPath;
    const char* DefaultLang;
    std::string Expected;
  } cases[] = {
      {"+manual.pdf", 1, "EN", "DE", exe + "EN\\manual.pdf"},
      {"+manual.pdf", -1, "EN", "DE", exe + "DE\\manual.pdf"},
      {"+manual.pdf", -1, "EN", "", exe + "manual.pdf"},
      {"+manual.pdf", 0, "", "DE", exe + "\\manual.pdf"},  // an applied language without a folder
      {"Driver\\setup.exe", 1, "EN", "DE", exe + "Driver\\setup.exe"},
      {"Docs\\a+b.pdf", 1, "EN", "DE", exe + "Docs\\a+b.pdf"},  // "+" not first: part of the name
      {"", -1, "", "", exe},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Command);
    EXPECT_EQ(ResolveCommand(c.Command, exe, c.Language, c.LangPath, c.DefaultLang), c.Expected);
  }
}

// The shell calls a launch made, answered from a script of results.
struct TShellCall {
  std::string Verb, File, Params;
  bool HasDir;
  int Show;
};

class LaunchFixture : public ::testing::Test {
 protected:
  LaunchFixture()
      : menu_(disc_.Folder()),
        shell_(Seams().ShellExecute, [this](HWND window, const char* verb, const char* file, const char* params,
                                            const char* dir, int show) {
          EXPECT_EQ(window, menu_.Form()->GetHandle());
          calls_.push_back({verb, file, params ? params : "", dir != nullptr, show});
          const INT_PTR result = results_.empty() ? 42 : results_.front();
          if (!results_.empty()) results_.erase(results_.begin());
          return reinterpret_cast<HINSTANCE>(result);
        }) {
    savedDir_ = GetCurrentDir();
  }
  ~LaunchFixture() override { SetCurrentDir(savedDir_); }

  TFormMain* Form() { return menu_.Form(); }

  TDiscCopy disc_;
  TMenuFixture menu_;
  std::vector<TShellCall> calls_;
  std::vector<INT_PTR> results_;
  TSeamOverride<decltype(TSeams::ShellExecute)> shell_;
  std::string savedDir_;
};

TEST_F(LaunchFixture, AnOpenedDocumentSwitchesTheHintOffAndLeavesTheCurrentFolderAtIt) {
  TFormMain* f = Form();
  f->BtnCmd[1] = "+PV-100 Manual.pdf";  // a name with blanks
  f->LanguageIndex = 3;
  f->LangPath = "FR";
  f->pkImageBtn4->SetShowHint(true);
  f->LaunchButtonCommand(1);
  const std::string path = disc_.Path("FR\\PV-100 Manual.pdf");
  ASSERT_EQ(calls_.size(), 1u);
  EXPECT_EQ(calls_[0].Verb, "OPEN");
  EXPECT_EQ(calls_[0].File, path);
  EXPECT_EQ(calls_[0].Params, "");
  EXPECT_FALSE(calls_[0].HasDir);
  EXPECT_EQ(calls_[0].Show, SW_SHOWNORMAL);
  EXPECT_FALSE(f->pkImageBtn4->GetShowHint());
  EXPECT_TRUE(SameText(GetCurrentDir(), disc_.Path("FR")));
}

TEST_F(LaunchFixture, WithoutAProgramForTheDocumentTheViewerGetsItsQuotedPath) {
  TFormMain* f = Form();
  f->BtnCmd[0] = "Docs\\PV-50 Quick Start.pdf";
  const struct {
    INT_PTR ViewerResult;
    bool Hint;
  } cases[] = {{33, false}, {32, true}, {2, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ViewerResult);
    calls_.clear();
    results_ = {SE_ERR_NOASSOC, c.ViewerResult};
    f->LaunchButtonCommand(0);
    ASSERT_EQ(calls_.size(), 2u);
    EXPECT_EQ(calls_[1].File, disc_.Path("Tools\\Viewer.exe"));
    EXPECT_EQ(calls_[1].Params, "\"" + disc_.Path("Docs\\PV-50 Quick Start.pdf") + "\"");
    EXPECT_EQ(f->pkImageBtn3->GetShowHint(), c.Hint);
    // Only the button launched shows its hint.
    EXPECT_FALSE(f->pkImageBtn4->GetShowHint());
  }
}

TEST_F(LaunchFixture, AMissingTargetCallsNoShellAndShowsTheHint) {
  TFormMain* f = Form();
  f->BtnCmd[1] = "Driver\\PV300\\Setup.exe";
  f->LaunchButtonCommand(1);
  EXPECT_TRUE(calls_.empty());
  EXPECT_TRUE(f->pkImageBtn4->GetShowHint());
  EXPECT_FALSE(f->pkImageBtn3->GetShowHint());
}

TEST_F(LaunchFixture, WithoutAViewerAFailedLaunchStaysAFailure) {
  TFormMain* f = Form();
  f->ViewerPath.clear();  // as an empty VIEWER setting leaves it
  f->BtnCmd[0] = "Docs\\PV-50 Quick Start.pdf";
  results_ = {SE_ERR_NOASSOC};
  f->LaunchButtonCommand(0);
  ASSERT_EQ(calls_.size(), 1u);  // the program's folder is never opened
  EXPECT_TRUE(f->pkImageBtn3->GetShowHint());
}

TEST_F(LaunchFixture, LaunchButtonThreeOpensTheFirstProductsCommandOfTheLanguage) {
  TFormMain* f = Form();
  disc_.Write("perivane.ini",
              "[PRODUCT1]\r\nBTNCMD3Language1=Reader\\de.exe\r\nBTNCMD3Language2=Reader\\en.exe\r\n"
              "[PRODUCT4]\r\nBTNCMD3Language1=Other\\de.exe\r\n");
  f->pkImageBtn5Click(f->pkImageBtn5);
  EXPECT_TRUE(calls_.empty());  // no language applied
  f->ProductIndex = 3;
  f->LanguageIndex = 0;
  results_ = {2};  // the result is not looked at
  f->pkImageBtn5Click(f->pkImageBtn5);
  ASSERT_EQ(calls_.size(), 1u);
  EXPECT_EQ(calls_[0].File, "Reader\\de.exe");  // as it stands: no folder, no test
  EXPECT_EQ(calls_[0].Verb, "OPEN");
}

// A name the ANSI shell cannot take (MAX_PATH characters or more) is never
// handed to it: the viewer's is a failed viewer start, launch button 3's is
// dropped without a word. One character less still reaches the shell.
TEST_F(LaunchFixture, ANameTooLongForTheShellIsNeverHandedToIt) {
  TFormMain* f = Form();
  const std::string viewerFolder = disc_.Path("Tools\\");
  const struct {
    size_t Length;  // of the full name the shell would get
    bool Reaches;
  } cases[] = {{MAX_PATH - 1, true}, {MAX_PATH, false}, {1000, false}, {5000, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Length);
    const std::string viewer = "Tools\\" + std::string(c.Length - viewerFolder.size() - 4, 'v') + ".exe";
    const std::string reader = "Reader\\" + std::string(c.Length - 11, 'r') + ".exe";
    disc_.Write("perivane.ini",
                IniText({{"VIEWER", {"AcrobatReader=" + viewer}}, {"PRODUCT1", {"BTNCMD3Language1=" + reader}}}));
    f->BtnUpdateClick(f->BtnUpdate);  // the settings read again
    ASSERT_EQ(f->ViewerPath.size(), c.Length);
    f->BtnCmd[0] = "Docs\\PV-50 Quick Start.pdf";
    calls_.clear();
    results_ = {SE_ERR_NOASSOC, 42};
    f->LaunchButtonCommand(0);
    ASSERT_EQ(calls_.size(), c.Reaches ? 2u : 1u);
    if (c.Reaches) {
      EXPECT_EQ(calls_[1].File, f->ViewerPath);
    }
    EXPECT_EQ(f->pkImageBtn3->GetShowHint(), !c.Reaches);

    calls_.clear();
    f->LanguageIndex = 0;
    f->pkImageBtn5Click(f->pkImageBtn5);
    ASSERT_EQ(calls_.size(), c.Reaches ? 1u : 0u);
    if (c.Reaches) {
      EXPECT_EQ(calls_[0].File, reader);
    }
  }
}

// The link opens its page once per click, through the label's own shell
// call; the form's handler adds no second one.
TEST_F(LaunchFixture, AClickOnTheLinkOpensItsPageOnceAndMarksItVisited) {
  TFormMain* f = Form();
  std::vector<std::string> opened;
  TSeamOverride<decltype(TSeams::ShellExecuteEx)> shellEx(Seams().ShellExecuteEx, [&](SHELLEXECUTEINFOA* info) {
    opened.push_back(std::string(info->lpVerb) + " " + info->lpFile);
    info->hProcess = nullptr;
    return TRUE;
  });
  f->KxURLLabel1->Click();
  EXPECT_EQ(opened, std::vector<std::string>{"Open http://www.orlo.example/"});
  EXPECT_TRUE(calls_.empty());
  EXPECT_TRUE(f->KxURLLabel1->GetVisited());
}

// The same long settings through the real shell, which faulted on them (or
// ended the test program without a word). The document is of a kind no
// program opens, so the shell starts nothing; the names lead nowhere.
TEST(LaunchThroughTheShell, LongViewerAndReaderSettingsFailQuietly) {
  const std::string savedDir = GetCurrentDir();
  for (size_t length : {size_t{1000}, size_t{5000}}) {
    SCOPED_TRACE(length);
    TDiscCopy disc;
    disc.Write("Docs\\Notes.pvm", "a document of a kind no program opens");
    const std::string viewer = "Tools\\" + std::string(length, 'v') + ".exe";
    const std::string reader = "Reader\\" + std::string(length, 'r') + ".exe";
    disc.Write("perivane.ini",
               IniText({{"VIEWER", {"AcrobatReader=" + viewer}}, {"PRODUCT1", {"BTNCMD3Language1=" + reader}}}));
    TMenuFixture menu(disc.Folder());
    TFormMain* f = menu.Form();
    f->BtnCmd[0] = "Docs\\Notes.pvm";
    f->LaunchButtonCommand(0);
    EXPECT_TRUE(f->pkImageBtn3->GetShowHint());
    f->LanguageIndex = 0;
    f->pkImageBtn5Click(f->pkImageBtn5);
    SetCurrentDir(savedDir);
  }
}

}  // namespace
