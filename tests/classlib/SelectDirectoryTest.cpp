// The shell's folder browser run for real: a timer of the test's, firing
// inside the browser's own loop, finds the browser window and presses its
// button as the user would.
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

// Runs on each tick while the browser is up, until it says it has acted;
// then it is dropped.
std::function<bool(HWND browser)> OnBrowser;
// Looks at the browser first, when set.
std::function<void(HWND browser)> OnRootItem;

// The visible dialog window of this thread, if any.
HWND FindBrowser() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM data) -> BOOL {
        char cls[16] = {};
        GetClassNameA(w, cls, sizeof cls);
        if (std::string(cls) != "#32770" || !IsWindowVisible(w)) return TRUE;
        *reinterpret_cast<HWND*>(data) = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
  HWND browser = FindBrowser();
  if (!browser || !OnBrowser) return;
  if (!OnBrowser(browser)) return;
  KillTimer(nullptr, id);
  OnBrowser = nullptr;
}

// The text of the tree's selected item.
std::string SelectedItem(HWND browser) { return WideToAnsi(TreeItemText(browser, TVGN_CARET)); }

class SelectDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sub = folder.Folder() + "\\inner";
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    form.reset(New<TForm>(nullptr, 0));
    form->Show();
    PumpApplication(2);
  }
  void TearDown() override {
    OnBrowser = nullptr;
    OnRootItem = nullptr;
    RemoveDirectoryA(sub.c_str());
  }
  // Runs SelectDirectory with the browser answered by press.
  // With waitFor, the browser is answered once its selected item is that:
  // it selects the start folder while it fills its tree. Wine's browser now
  // and then misses the folder it was asked to start on; after a while the
  // test then picks it as a user would, so that the answer is still read.
  bool Run(const std::string& caption, const std::wstring& root, std::string& dir, int button,
           const std::string& waitFor = {}) {
    int ticks = 0;
    std::string pick = dir;
    OnBrowser = [&, button, waitFor, pick](HWND browser) {
      if (!waitFor.empty() && SelectedItem(browser) != waitFor) {
        if (++ticks == 50) SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(pick.c_str()));
        if (ticks < 250) return false;
      }
      formEnabledMeanwhile = IsWindowEnabled(form->GetHandle()) != FALSE;
      if (OnRootItem) OnRootItem(browser);
      captionShown = HasChildText(browser, AnsiToWide(caption));
      PostMessageA(browser, WM_COMMAND, static_cast<WPARAM>(button), 0);
      return true;
    };
    UINT_PTR timer = SetTimer(nullptr, 0, 20, &Tick);
    bool result = SelectDirectory(caption, root, dir);
    KillTimer(nullptr, timer);
    EXPECT_EQ(OnBrowser, nullptr) << "the browser never showed";
    return result;
  }

  TTempFolder folder{"seldir"};
  std::string sub;
  TFreshApplication app;
  Owned<TForm> form;
  bool formEnabledMeanwhile = true;
  bool captionShown = false;
};

TEST_F(SelectDirectoryTest, OkGivesTheFolderTheBrowserStartedOn) {
  std::string dir = sub;
  ASSERT_TRUE(Run("Pick a folder", L"", dir, IDOK, "inner"));
  EXPECT_EQ(AnsiLowerCase(ExcludeTrailingPathDelimiter(dir)), AnsiLowerCase(sub));
  EXPECT_FALSE(formEnabledMeanwhile);
  EXPECT_TRUE(captionShown);
  EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
}

TEST_F(SelectDirectoryTest, TheTreeStartsAtTheRoot) {
  std::string rootItem;
  OnRootItem = [&](HWND browser) { rootItem = WideToAnsi(TreeItemText(browser, TVGN_ROOT)); };
  std::string dir;
  EXPECT_FALSE(Run("Under a root", UTF8Decode(folder.Folder()), dir, IDCANCEL));
  EXPECT_EQ(AnsiLowerCase(rootItem), AnsiLowerCase(ExtractFileName(folder.Folder())));
}

TEST_F(SelectDirectoryTest, CancelLeavesTheFolderAndAMissingFolderIsCleared) {
  std::string dir = sub;
  EXPECT_FALSE(Run("Cancel", L"", dir, IDCANCEL));
  EXPECT_EQ(dir, sub);
  std::string missing = sub + "\\not-there";
  EXPECT_FALSE(Run("Missing", L"", missing, IDCANCEL));
  EXPECT_EQ(missing, "");
  EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
}

}  // namespace
