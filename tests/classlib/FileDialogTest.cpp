// The file dialogs. The record the dialog prepares and the way it reads the
// names back are checked through a substitute dialog function (the path
// the wide dialogs take); the system's own dialog is then run for real and
// driven from the dialog's OnShow and OnCanClose, as a user would type a
// name and press a button.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "classlib/SysUtils.h"
#include "tests/classlib/DialogTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

using namespace forms_test;
using namespace dialogs_test;

namespace {

// The template of TemplateAddsItsControlsToTheDialog (FileDialogTest.rc).
constexpr int kTemplateButton = 4001;

// The name of a shell item in its folder, in lower case.
std::string DisplayName(IShellFolder* folder, LPCITEMIDLIST pidl) {
  STRRET ret{};
  if (!folder || folder->GetDisplayNameOf(pidl, SHGDN_INFOLDER | SHGDN_FORPARSING, &ret) != S_OK) return {};
  char name[MAX_PATH] = {};
  StrRetToBufA(&ret, pidl, name, sizeof name);
  return AnsiLowerCase(name);
}

// The dialog function a test substitutes for the system's.
std::function<BOOL(OPENFILENAMEA&)> Substitute;
BOOL WINAPI SubstituteFunc(LPOPENFILENAMEA ofn) { return Substitute(*ofn); }

class TTestOpenDialog : public TOpenDialog {
 public:
  using TOpenDialog::TOpenDialog;
  bool RunSubstitute() { return DoExecute(&SubstituteFunc); }
};

// A NUL-separated list ending in two NULs, as text with '|' for the NULs.
std::string DoubleNulList(const char* p) {
  std::string s;
  while (p && *p) {
    std::string item = p;
    s += item + "|";
    p += item.size() + 1;
  }
  return s;
}

struct TSeenRecord {
  std::string filter, initialDir, defaultExt, title, templateName, file;
  DWORD flags = 0, maxFile = 0, filterIndex = 0;
  HWND owner = nullptr;
};

class FileDialogRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { dialog = New<TTestOpenDialog>(nullptr); }
  void TearDown() override {
    dialog->Free();
    Substitute = nullptr;
    ForceCurrentDirectory = false;
  }
  // Runs the dialog through the substitute: records what it was given and
  // answers with the buffer bytes, flags and filter index given.
  bool Run(const std::string& answer = {}, DWORD addFlags = 0, DWORD filterIndex = 0, BOOL result = TRUE) {
    Substitute = [&, answer, addFlags, filterIndex, result](OPENFILENAMEA& ofn) {
      seen.filter = DoubleNulList(ofn.lpstrFilter);
      seen.initialDir = ofn.lpstrInitialDir ? ofn.lpstrInitialDir : "(null)";
      seen.defaultExt = ofn.lpstrDefExt ? ofn.lpstrDefExt : "(null)";
      seen.title = ofn.lpstrTitle ? ofn.lpstrTitle : "(null)";
      seen.templateName = ofn.lpTemplateName ? ofn.lpTemplateName : "(null)";
      seen.file = ofn.lpstrFile;
      seen.flags = ofn.Flags;
      seen.maxFile = ofn.nMaxFile;
      seen.filterIndex = ofn.nFilterIndex;
      seen.owner = ofn.hwndOwner;
      if (!answer.empty()) {
        EXPECT_LT(answer.size() + 1, ofn.nMaxFile);
        std::copy(answer.begin(), answer.end(), ofn.lpstrFile);
        ofn.lpstrFile[answer.size()] = '\0';
        ofn.lpstrFile[answer.size() + 1] = '\0';
      }
      // The dialog reports these two as the user left them.
      ofn.Flags = (ofn.Flags & ~static_cast<DWORD>(OFN_READONLY | OFN_EXTENSIONDIFFERENT)) | addFlags;
      if (filterIndex) ofn.nFilterIndex = filterIndex;
      return result;
    };
    return dialog->RunSubstitute();
  }

  TFreshApplication app;
  TTestOpenDialog* dialog = nullptr;
  TSeenRecord seen;
};

TEST_F(FileDialogRecordTest, TheRecordCarriesThePropertiesAsTheDialogWantsThem) {
  dialog->SetFilter("Text files|*.txt|All|*.*");
  dialog->SetFilterIndex(2);
  dialog->SetFileName("C:\\data\\report.doc");
  dialog->SetTitle("Pick one");
  dialog->SetInitialDir("C:\\data\\");
  dialog->SetTemplate("MYTEMPLATE");
  ASSERT_TRUE(Run("C:\\data\\x.txt"));
  EXPECT_EQ(seen.filter, "Text files|*.txt|All|*.*|");
  EXPECT_EQ(seen.filterIndex, 2u);
  EXPECT_EQ(seen.file, "C:\\data\\report.doc");
  EXPECT_EQ(seen.title, "Pick one");
  EXPECT_EQ(seen.initialDir, "C:\\data");
  EXPECT_EQ(seen.templateName, "MYTEMPLATE");
  EXPECT_EQ(seen.maxFile, static_cast<DWORD>(MAX_PATH));
  EXPECT_EQ(seen.owner, Application->GetHandle());
  // Explorer style with the hook and the template; the default options.
  DWORD expected = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  EXPECT_EQ(seen.flags, expected);
  // An Explorer-style dialog takes no extension from the file name.
  EXPECT_EQ(seen.defaultExt, "(null)");
}

TEST_F(FileDialogRecordTest, OptionsAndFoldersAsTheyGoIn) {
  struct TCase {
    const char* what;
    TOpenOptions options;
    std::string initialDir;
    bool force;
    std::string fileName, defaultExt;
    DWORD flagsIn, flagsOut, maxFile;
    std::string seenDir, seenExt;
  };
  const TCase cases[] = {
      {"old style takes the extension of the file name", {ofOldStyleDialog}, "", false, "a.doc", "", OFN_ENABLEHOOK,
       OFN_EXPLORER, MAX_PATH, "", "doc"},
      {"a default extension wins", {ofOldStyleDialog}, "", false, "a.doc", "txt", 0, OFN_EXPLORER, MAX_PATH, "",
       "txt"},
      {"multi-select has the large buffer", {ofAllowMultiSelect, ofFileMustExist}, "", false, "", "",
       OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_EXPLORER, 0, 0xFFFF - 16, "", "(null)"},
      {"forced current folder", {}, "", true, "", "", OFN_EXPLORER, 0, MAX_PATH, ".", "(null)"},
      {"a given folder wins over the forced one", {}, "D:\\work", true, "", "", OFN_EXPLORER, 0, MAX_PATH,
       "D:\\work", "(null)"},
      {"a drive root keeps its backslash", {}, "C:\\", false, "", "", OFN_EXPLORER, 0, MAX_PATH, "C:\\", "(null)"},
      {"every option has its flag",
       {ofReadOnly, ofOverwritePrompt, ofNoChangeDir, ofShowHelp, ofNoValidate, ofPathMustExist, ofCreatePrompt,
        ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
        ofNoDereferenceLinks, ofEnableIncludeNotify, ofDontAddToRecent, ofForceShowHidden},
       "", false, "", "",
       OFN_READONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR | OFN_SHOWHELP | OFN_NOVALIDATE | OFN_PATHMUSTEXIST |
           OFN_CREATEPROMPT | OFN_SHAREAWARE | OFN_NOREADONLYRETURN | OFN_NOTESTFILECREATE | OFN_NONETWORKBUTTON |
           OFN_NOLONGNAMES | OFN_NODEREFERENCELINKS | OFN_ENABLEINCLUDENOTIFY | OFN_DONTADDTORECENT |
           OFN_FORCESHOWHIDDEN | OFN_EXPLORER,
       OFN_HIDEREADONLY | OFN_ENABLESIZING, MAX_PATH, "", "(null)"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    dialog->SetOptions(c.options);
    dialog->SetInitialDir(c.initialDir);
    ForceCurrentDirectory = c.force;
    dialog->SetFileName(c.fileName);
    dialog->SetDefaultExt(c.defaultExt);
    Run();
    EXPECT_EQ(seen.flags & c.flagsIn, c.flagsIn);
    EXPECT_EQ(seen.flags & c.flagsOut, 0u);
    EXPECT_NE(seen.flags & OFN_ENABLEHOOK, 0u);
    EXPECT_EQ(seen.maxFile, c.maxFile);
    EXPECT_EQ(seen.initialDir, c.seenDir);
    EXPECT_EQ(seen.defaultExt, c.seenExt);
  }
}

TEST_F(FileDialogRecordTest, NamesComeBackWithTheirFolder) {
  struct TCase {
    const char* what;
    TOpenOptions options;
    std::string answer;  // '|' stands for NUL
    Lines files;
  };
  const TCase cases[] = {
      {"one name", {}, "C:\\dir\\a b.txt", {"C:\\dir\\a b.txt"}},
      {"several names after their folder", {ofAllowMultiSelect}, "C:\\dir|a.txt|b.txt",
       {"C:\\dir\\a.txt", "C:\\dir\\b.txt"}},
      {"a folder ending in a backslash gets no second one", {ofAllowMultiSelect}, "C:\\|a.txt|b.txt",
       {"C:\\a.txt", "C:\\b.txt"}},
      {"one name of a multi-select dialog", {ofAllowMultiSelect}, "C:\\dir\\a.txt", {"C:\\dir\\a.txt"}},
      {"full paths stay as they are", {ofAllowMultiSelect}, "C:\\dir|D:\\x.txt|\\\\srv\\y.txt|C:",
       {"D:\\x.txt", "\\\\srv\\y.txt", "C:\\dir\\C:"}},
      {"an old-style dialog separates with blanks", {ofAllowMultiSelect, ofOldStyleDialog}, "C:\\dir a.txt b.txt",
       {"C:\\dir\\a.txt", "C:\\dir\\b.txt"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    dialog->SetOptions(c.options);
    std::string answer = c.answer;
    std::replace(answer.begin(), answer.end(), '|', '\0');
    ASSERT_TRUE(Run(answer));
    EXPECT_EQ(LinesOf(dialog->GetFiles()), c.files);
    EXPECT_EQ(dialog->GetFileName(), c.files.front());
  }
}

TEST_F(FileDialogRecordTest, AnAcceptedDialogReportsItsFlagsAndFilter) {
  dialog->SetOptions({ofReadOnly, ofExtensionDifferent});
  ASSERT_TRUE(Run("C:\\a.txt", OFN_EXTENSIONDIFFERENT, 3));
  EXPECT_EQ(dialog->GetFilterIndex(), 3);
  // Read-only went in ticked and came back unticked; the extension differed.
  EXPECT_NE(seen.flags & OFN_READONLY, 0u);
  EXPECT_FALSE(dialog->GetOptions().Contains(ofReadOnly));
  EXPECT_TRUE(dialog->GetOptions().Contains(ofExtensionDifferent));
  dialog->SetOptions({ofExtensionDifferent});
  ASSERT_TRUE(Run("C:\\a.txt", OFN_READONLY, 1));
  EXPECT_TRUE(dialog->GetOptions().Contains(ofReadOnly));
  EXPECT_FALSE(dialog->GetOptions().Contains(ofExtensionDifferent));
}

TEST_F(FileDialogRecordTest, ARefusedDialogChangesNothing) {
  dialog->SetFileName("C:\\keep.txt");
  dialog->SetFilterIndex(2);
  dialog->SetOptions({ofReadOnly});
  EXPECT_FALSE(Run("C:\\other.txt", OFN_EXTENSIONDIFFERENT, 5, FALSE));
  EXPECT_EQ(dialog->GetFileName(), "C:\\keep.txt");
  EXPECT_EQ(dialog->GetFilterIndex(), 2);
  EXPECT_EQ(dialog->GetOptions(), TOpenOptions{ofReadOnly});
  EXPECT_EQ(dialog->GetFiles()->GetCount(), 0);
}

TEST(FileDialogTest, InitialDirDropsATrailingBackslashExceptAfterADrive) {
  TFreshApplication app;
  Owned<TOpenDialog> d(New<TOpenDialog>(nullptr));
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\work\\", "C:\\work"}, {"C:\\", "C:\\"}, {"\\", "\\"}, {"work", "work"}, {"", ""}, {"a\\\\", "a\\"}};
  for (const auto& [in, out] : cases) {
    d->SetInitialDir(in);
    EXPECT_EQ(d->GetInitialDir(), out) << in;
  }
}

// --- the system's dialog ----------------------------------------------------------------

class SystemFileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.txt", "b.txt", "c.log"}) {
      std::string path = folder.Path(name);
      HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      ASSERT_NE(h, INVALID_HANDLE_VALUE);
      CloseHandle(h);
    }
    form.reset(New<TForm>(nullptr, 0));
    form->SetBounds(40, 40, 200, 100);
    form->Show();
    PumpApplication(2);
  }
  template <class D>
  D* Make() {
    D* d = New<D>(nullptr);
    owned.reset(d);
    script.Attach(d);
    d->SetInitialDir(folder.Folder());
    return d;
  }

  TTempFolder folder{"filedlg"};
  TFreshApplication app;
  Owned<TForm> form;
  Owned<TCommonDialog> owned;
  TDialogScript script;
};

TEST_F(SystemFileDialogTest, OpenTakesTheTypedNameWithItsFolder) {
  auto* d = Make<TOpenDialog>();
  d->SetFilter("Text|*.txt|All|*.*");
  bool formEnabledMeanwhile = true;
  script.OnShow = [&](TCommonDialog* cd) {
    formEnabledMeanwhile = IsWindowEnabled(form->GetHandle()) != FALSE;
    TypeName(SystemDialog(cd), "b.txt");
    PressButton(SystemDialog(cd), IDOK);
  };
  ASSERT_TRUE(d->Execute());
  EXPECT_EQ(AnsiLowerCase(d->GetFileName()), AnsiLowerCase(folder.Folder() + "\\b.txt"));
  EXPECT_EQ(LinesOf(d->GetFiles()).size(), 1u);
  EXPECT_FALSE(formEnabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
  EXPECT_EQ(script.Log, (Lines{"show", "close"}));
}

TEST_F(SystemFileDialogTest, MultiSelectGivesEveryNameWithItsFolder) {
  auto* d = Make<TOpenDialog>();
  d->SetOptions({ofAllowMultiSelect, ofFileMustExist, ofEnableSizing});
  script.OnShow = [&](TCommonDialog* cd) {
    TypeName(SystemDialog(cd), "\"a.txt\" \"c.log\"");
    PressButton(SystemDialog(cd), IDOK);
  };
  ASSERT_TRUE(d->Execute());
  Lines files = LinesOf(d->GetFiles());
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(AnsiLowerCase(files[0]), AnsiLowerCase(folder.Folder() + "\\a.txt"));
  EXPECT_EQ(AnsiLowerCase(files[1]), AnsiLowerCase(folder.Folder() + "\\c.log"));
  EXPECT_EQ(d->GetFileName(), files[0]);
}

TEST_F(SystemFileDialogTest, CanCloseSeesTheNamesAndMayKeepTheDialogOpen) {
  auto* d = Make<TSaveDialog>();
  d->SetFileName("old.txt");
  int asked = 0;
  Lines seenFiles;
  std::string seenName;
  struct TAsker {
    std::function<void(bool&)> f;
    void Ask(TObject*, bool& canClose) { f(canClose); }
  } asker;
  asker.f = [&](bool& canClose) {
    ++asked;
    seenFiles = LinesOf(d->GetFiles());
    // The dialog's own idea of the name while it shows.
    seenName = d->GetFileName();
    canClose = false;
    // The user gives up after the refusal.
    PressButton(SystemDialog(d), IDCANCEL);
  };
  d->OnCanClose = TCloseQueryEvent(&asker, &TAsker::Ask);
  script.OnShow = [&](TCommonDialog* cd) {
    TypeName(SystemDialog(cd), "new.txt");
    PressButton(SystemDialog(cd), IDOK);
  };
  EXPECT_FALSE(d->Execute());
  EXPECT_EQ(asked, 1);
  ASSERT_EQ(seenFiles.size(), 1u);
  EXPECT_EQ(AnsiLowerCase(seenFiles[0]), AnsiLowerCase(folder.Folder() + "\\new.txt"));
  EXPECT_EQ(AnsiLowerCase(seenName), AnsiLowerCase(folder.Folder() + "\\new.txt"));
  // Refused and cancelled: nothing changed.
  EXPECT_EQ(d->GetFileName(), "old.txt");
  EXPECT_EQ(d->GetFiles()->GetCount(), 0);
}

TEST_F(SystemFileDialogTest, IncludeItemIsAskedForEveryFileOfTheFolder) {
  // Wine asks for every item but, unlike Windows, still shows an item the
  // handler leaves out (it then applies the filter itself), so what the
  // list shows is not checked here.
  auto* d = Make<TOpenDialog>();
  d->SetOptions({ofEnableIncludeNotify, ofEnableSizing});
  Lines asked;
  struct TIncluder {
    std::function<void(const TOFNotifyEx&, bool&)> f;
    void Include(const TOFNotifyEx& ofn, bool& include) { f(ofn, include); }
  } includer;
  includer.f = [&](const TOFNotifyEx& ofn, bool& include) {
    EXPECT_TRUE(include);
    EXPECT_NE(ofn.lpOFN, nullptr);
    EXPECT_EQ(ofn.hdr.code, static_cast<UINT>(CDN_INCLUDEITEM));
    asked.push_back(DisplayName(static_cast<IShellFolder*>(ofn.psf), static_cast<LPCITEMIDLIST>(ofn.pidl)));
  };
  d->OnIncludeItem = TIncludeItemEvent(&includer, &TIncluder::Include);
  script.OnShow = [&](TCommonDialog* cd) { PressButton(SystemDialog(cd), IDCANCEL); };
  EXPECT_FALSE(d->Execute());
  std::sort(asked.begin(), asked.end());
  asked.erase(std::unique(asked.begin(), asked.end()), asked.end());
  EXPECT_EQ(asked, (Lines{"a.txt", "b.txt", "c.log"}));
}

TEST_F(SystemFileDialogTest, TemplateAddsItsControlsToTheDialog) {
  auto* d = Make<TOpenDialog>();
  d->SetTemplate("FILEDIALOGTESTTEMPLATE");
  HWND extra = nullptr;
  script.OnShow = [&](TCommonDialog* cd) {
    extra = GetDlgItem(cd->GetHandle(), kTemplateButton);
    PressButton(SystemDialog(cd), IDCANCEL);
  };
  EXPECT_FALSE(d->Execute());
  EXPECT_NE(extra, nullptr);
}

TEST_F(SystemFileDialogTest, AnOldStyleDialogShowsAtItsOwnInitAndTakesTheName) {
  auto* d = Make<TOpenDialog>();
  d->SetOptions({ofOldStyleDialog});
  bool ownNameBox = false;
  script.OnShow = [&](TCommonDialog* cd) {
    // The hooked window is the dialog itself (with its name box), not a child.
    ownNameBox = GetDlgItem(cd->GetHandle(), kFileNameEdit) != nullptr;
    SetDlgItemTextA(cd->GetHandle(), kFileNameEdit, "c.log");
    PressButton(cd->GetHandle(), IDOK);
  };
  ASSERT_TRUE(d->Execute());
  EXPECT_TRUE(ownNameBox);
  EXPECT_EQ(AnsiLowerCase(d->GetFileName()), AnsiLowerCase(folder.Folder() + "\\c.log"));
}

}  // namespace
