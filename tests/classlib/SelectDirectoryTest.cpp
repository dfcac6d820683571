// The shell's folder browser run for real: a message hook of the test's
// sees the browser set itself up and presses its button as the user would.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "classlib/FileCtrl.h"
#include "classlib/Forms.h"
#include "classlib/SysUtils.h"
#include "tests/classlib/DialogTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"

#include <commctrl.h>
#include <shlobj.h>

using namespace dialogs_test;
using namespace forms_test;

namespace {

// Looks at the browser first, when set.
std::function<void(HWND browser)> OnRootItem;

// The text of the tree's selected item.
std::string SelectedItem(HWND browser) { return WideToAnsi(TreeItemText(browser, TVGN_CARET)); }

// Serial: the browser walks its tree through the shared temporary folder,
// where tests running beside it make and remove folders; Wine's browser
// then at times misses the folder it is asked to select.
class SerialSelectDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sub = folder.Folder() + "\\inner";
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    form.reset(New<TForm>(nullptr, 0));
    form->Show();
    PumpApplication(2);
  }
  void TearDown() override {
    OnRootItem = nullptr;
    RemoveDirectoryA(sub.c_str());
  }
  // Runs SelectDirectory with the browser answered by press once it has
  // set itself up. With waitFor, the browser should then have that item
  // selected: Wine's browser now and then misses the folder it was asked to
  // start on (asked again, it selects it); the test then picks it as a user
  // would, so that the answer is still read from the browser.
  bool Run(const std::string& caption, const std::wstring& root, std::string& dir, int button,
           const std::string& waitFor = {}) {
    TBrowserDriver driver(button);
    std::string pick = dir;
    driver.OnReady = [&](HWND browser) {
      if (!waitFor.empty() && SelectedItem(browser) != waitFor)
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(pick.c_str()));
      formEnabledMeanwhile = IsWindowEnabled(form->GetHandle()) != FALSE;
      if (OnRootItem) OnRootItem(browser);
      captionShown = HasChildText(browser, AnsiToWide(caption));
    };
    bool result = SelectDirectory(caption, root, dir);
    EXPECT_TRUE(driver.Shown) << "the browser never showed";
    return result;
  }

  TTempFolder folder{"seldir"};
  std::string sub;
  TFreshApplication app;
  Owned<TForm> form;
  bool formEnabledMeanwhile = true;
  bool captionShown = false;
};

TEST_F(SerialSelectDirectoryTest, OkGivesTheFolderTheBrowserStartedOn) {
  std::string dir = sub;
  ASSERT_TRUE(Run("Pick a folder", L"", dir, IDOK, "inner"));
  EXPECT_EQ(AnsiLowerCase(ExcludeTrailingPathDelimiter(dir)), AnsiLowerCase(sub));
  EXPECT_FALSE(formEnabledMeanwhile);
  EXPECT_TRUE(captionShown);
  EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
}

TEST_F(SerialSelectDirectoryTest, TheTreeStartsAtTheRoot) {
  std::string rootItem;
  OnRootItem = [&](HWND browser) { rootItem = WideToAnsi(TreeItemText(browser, TVGN_ROOT)); };
  std::string dir;
  EXPECT_FALSE(Run("Under a root", UTF8Decode(folder.Folder()), dir, IDCANCEL));
  EXPECT_EQ(AnsiLowerCase(rootItem), AnsiLowerCase(ExtractFileName(folder.Folder())));
}

TEST_F(SerialSelectDirectoryTest, CancelLeavesTheFolderAndAMissingFolderIsCleared) {
  std::string dir = sub;
  EXPECT_FALSE(Run("Cancel", L"", dir, IDCANCEL));
  EXPECT_EQ(dir, sub);
  std::string missing = sub + "\\not-there";
  EXPECT_FALSE(Run("Missing", L"", missing, IDCANCEL));
  EXPECT_EQ(missing, "");
  EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
}

}  // namespace
