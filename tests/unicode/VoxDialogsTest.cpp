// The wide file dialogs and the wide folder browser. The wide record and
// the way names are read back are checked through a substitute dialog
// function; the system's dialogs then run for real, with names outside the
// ANSI code page in a scratch folder, driven from the dialog's own events
// (OnShow, OnCanClose) and, for the folder browser, from a message hook of
// the test's that acts once the browser has set itself up.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "classlib/SysUtils.h"
#include "tests/classlib/DialogTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"
#include "tests/unicode/VoxTestSupport.h"
#include "unicode/VoxDialogs.h"
#include "unicode/VoxStdActns.h"

#include <commctrl.h>
#include <shlobj.h>

// shlwapi.h declares names the layer's VoxSysUtils has too (StrCatW...).
extern "C" HRESULT WINAPI StrRetToBufW(STRRET* ret, LPCITEMIDLIST pidl, LPWSTR buffer, UINT size);

using namespace forms_test;
using namespace dialogs_test;

namespace {

using WLines = std::vector<std::wstring>;

const std::wstring kChinese = L"\u4E2D\u6587";
const std::wstring kGreek = L"\u03B1\u03B2\u03B3";

WLines WideLinesOf(TVoxStrings* s) {
  WLines out;
  for (int i = 0; i < s->GetCount(); ++i) out.push_back(s->Get(i));
  return out;
}

Lines AnsiFormsOf(const WLines& lines) {
  Lines out;
  for (const std::wstring& l : lines) out.push_back(WideToAnsi(l));
  return out;
}

std::wstring Lower(std::wstring s) {
  CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

// --- The wide record, through a substitute --------------------------------------------------------

// The dialog function a test substitutes for the system's.
std::function<BOOL(OPENFILENAMEW&)> Substitute;
BOOL WINAPI SubstituteFunc(LPOPENFILENAMEW ofn) { return Substitute(*ofn); }

class TTestVoxOpenDialog : public TVoxOpenDialog {
 public:
  using TVoxOpenDialog::TVoxOpenDialog;
  bool RunSubstitute() { return DoExecuteW(&SubstituteFunc); }
};

// A NUL-separated list ending in two NULs, as text with '|' for the NULs.
std::wstring DoubleNulList(const wchar_t* p) {
  std::wstring s;
  while (p && *p) {
    std::wstring item = p;
    s += item + L"|";
    p += item.size() + 1;
  }
  return s;
}

std::wstring TextOf(const wchar_t* p) { return p ? p : L"(null)"; }

struct TSeenRecord {
  std::wstring filter, initialDir, defaultExt, title, file;
  std::wstring templateText;
  DWORD size = 0, flags = 0, maxFile = 0, filterIndex = 0;
  HWND owner = nullptr;
  bool hooked = false;
};

class VoxFileDialogRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { dialog = New<TTestVoxOpenDialog>(nullptr); }
  void TearDown() override {
    dialog->Free();
    Substitute = nullptr;
    ForceCurrentDirectory = false;
  }
  // Runs the dialog through the substitute: records what it was given and
  // answers with the buffer's characters ('|' for NUL), flags and filter index.
  bool Run(const std::wstring& answer = {}, DWORD addFlags = 0, DWORD filterIndex = 0, BOOL result = TRUE) {
    Substitute = [&, answer, addFlags, filterIndex, result](OPENFILENAMEW& ofn) {
      seen.size = ofn.lStructSize;
      seen.filter = DoubleNulList(ofn.lpstrFilter);
      seen.initialDir = TextOf(ofn.lpstrInitialDir);
      seen.defaultExt = TextOf(ofn.lpstrDefExt);
      seen.title = TextOf(ofn.lpstrTitle);
      seen.templateText = ofn.lpTemplateName && !IS_INTRESOURCE(ofn.lpTemplateName) ? ofn.lpTemplateName : L"";
      seen.file = ofn.lpstrFile;
      seen.flags = ofn.Flags;
      seen.maxFile = ofn.nMaxFile;
      seen.filterIndex = ofn.nFilterIndex;
      seen.owner = ofn.hwndOwner;
      seen.hooked = ofn.lpfnHook != nullptr;
      if (!answer.empty()) {
        EXPECT_LT(answer.size() + 1, ofn.nMaxFile);
        std::wstring a = answer;
        std::replace(a.begin(), a.end(), L'|', L'\0');
        std::copy(a.begin(), a.end(), ofn.lpstrFile);
        ofn.lpstrFile[a.size()] = L'\0';
        ofn.lpstrFile[a.size() + 1] = L'\0';
      }
      ofn.Flags = (ofn.Flags & ~static_cast<DWORD>(OFN_READONLY | OFN_EXTENSIONDIFFERENT)) | addFlags;
      if (filterIndex) ofn.nFilterIndex = filterIndex;
      return result;
    };
    return dialog->RunSubstitute();
  }

  TFreshApplication app;
  TTestVoxOpenDialog* dialog = nullptr;
  TSeenRecord seen;
};

TEST_F(VoxFileDialogRecordTest, TheWideRecordCarriesTheWideTexts) {
  dialog->SetFilter(kChinese + L" files|*.txt|All|*.*");
  dialog->SetFilterIndex(2);
  dialog->SetFileName(L"C:\\" + kChinese + L"\\report.doc");
  dialog->SetTitle(L"Pick " + kGreek);
  dialog->SetInitialDir(L"C:\\" + kChinese + L"\\");
  dialog->SetTemplate("MYTEMPLATE");
  ASSERT_TRUE(Run(L"C:\\x.txt"));
  EXPECT_EQ(seen.size, sizeof(OPENFILENAMEW));
  EXPECT_EQ(seen.filter, kChinese + L" files|*.txt|All|*.*|");
  EXPECT_EQ(seen.filterIndex, 2u);
  EXPECT_EQ(seen.file, L"C:\\" + kChinese + L"\\report.doc");
  EXPECT_EQ(seen.title, L"Pick " + kGreek);
  EXPECT_EQ(seen.initialDir, L"C:\\" + kChinese);
  EXPECT_EQ(seen.templateText, L"MYTEMPLATE");
  EXPECT_EQ(seen.maxFile, static_cast<DWORD>(MAX_PATH));
  EXPECT_EQ(seen.owner, Application->GetHandle());
  EXPECT_TRUE(seen.hooked);
  DWORD expected = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  EXPECT_EQ(seen.flags, expected);
  EXPECT_EQ(seen.defaultExt, L"(null)");
  // The ANSI sides follow.
  EXPECT_EQ(dialog->TOpenDialog::GetTitle(), WideToAnsi(L"Pick " + kGreek));
  EXPECT_EQ(dialog->TOpenDialog::GetInitialDir(), WideToAnsi(L"C:\\" + kChinese));
}

TEST_F(VoxFileDialogRecordTest, InitialFolderFilterAndExtensionAsTheyGoIn) {
  struct TCase {
    const char* what;
    TOpenOptions options;
    std::wstring initialDir;
    bool force;
    std::wstring fileName, defaultExt, filter;
    DWORD maxFile;
    std::wstring seenDir, seenExt, seenFilter;
  };
  const TCase cases[] = {
      {"no folder", {}, L"", false, L"", L"", L"", MAX_PATH, L"", L"(null)", L""},
      {"forced current folder", {}, L"", true, L"", L"", L"", MAX_PATH, L".", L"(null)", L""},
      {"a given folder wins over the forced one", {}, L"D:\\" + kGreek, true, L"", L"", L"", MAX_PATH,
       L"D:\\" + kGreek, L"(null)", L""},
      {"a drive root keeps its backslash", {}, L"C:\\", false, L"", L"", L"", MAX_PATH, L"C:\\", L"(null)", L""},
      {"a folder loses its trailing backslash", {}, L"C:\\" + kGreek + L"\\", false, L"", L"", L"", MAX_PATH,
       L"C:\\" + kGreek, L"(null)", L""},
      {"old style takes the wide name's extension", {ofOldStyleDialog}, L"", false, L"a." + kChinese, L"", L"",
       MAX_PATH, L"", kChinese, L""},
      {"a default extension wins", {ofOldStyleDialog}, L"", false, L"a.doc", L"t" + kGreek, L"", MAX_PATH, L"",
       L"t" + kGreek, L""},
      {"one filter", {}, L"", false, L"", L"", kGreek + L"|*." + kGreek, MAX_PATH, L"", L"(null)",
       kGreek + L"|*." + kGreek + L"|"},
      {"several filters", {}, L"", false, L"", L"", L"A|*.a|B|*.b;*.c", MAX_PATH, L"", L"(null)",
       L"A|*.a|B|*.b;*.c|"},
      {"multi-select has the large buffer", {ofAllowMultiSelect}, L"", false, L"", L"", L"", 0xFFFF - 16, L"",
       L"(null)", L""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    dialog->SetOptions(c.options);
    dialog->SetInitialDir(c.initialDir);
    ForceCurrentDirectory = c.force;
    dialog->SetFileName(c.fileName);
    dialog->SetDefaultExt(c.defaultExt);
    dialog->SetFilter(c.filter);
    Run();
    EXPECT_EQ(seen.maxFile, c.maxFile);
    EXPECT_EQ(seen.initialDir, c.seenDir);
    EXPECT_EQ(seen.defaultExt, c.seenExt);
    EXPECT_EQ(seen.filter, c.seenFilter);
  }
}

TEST_F(VoxFileDialogRecordTest, NamesComeBackWithTheirFolder) {
  const std::wstring dir = L"C:\\" + kChinese;
  struct TCase {
    const char* what;
    TOpenOptions options;
    std::wstring answer;  // '|' stands for NUL
    WLines files;
  };
  const TCase cases[] = {
      {"one name", {}, dir + L"\\a " + kGreek + L".txt", {dir + L"\\a " + kGreek + L".txt"}},
      {"several names after their folder", {ofAllowMultiSelect}, dir + L"|" + kGreek + L".txt|b.txt",
       {dir + L"\\" + kGreek + L".txt", dir + L"\\b.txt"}},
      {"a folder ending in a backslash gets no second one", {ofAllowMultiSelect}, L"C:\\|a.txt|" + kGreek,
       {L"C:\\a.txt", L"C:\\" + kGreek}},
      {"one name of a multi-select dialog", {ofAllowMultiSelect}, dir + L"\\a.txt", {dir + L"\\a.txt"}},
      {"full paths stay as they are", {ofAllowMultiSelect}, dir + L"|D:\\" + kGreek + L"|\\\\srv\\y.txt|C:|C:\\",
       {L"D:\\" + kGreek, L"\\\\srv\\y.txt", dir + L"\\C:", dir + L"\\C:\\"}},
      {"an old-style dialog separates with blanks", {ofAllowMultiSelect, ofOldStyleDialog},
       dir + L" " + kGreek + L".txt b.txt", {dir + L"\\" + kGreek + L".txt", dir + L"\\b.txt"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    dialog->SetOptions(c.options);
    ASSERT_TRUE(Run(c.answer));
    EXPECT_EQ(WideLinesOf(dialog->GetFiles()), c.files);
    EXPECT_EQ(dialog->GetFileName(), c.files.front());
    // The class library's ANSI lists hold the ANSI forms.
    EXPECT_EQ(LinesOf(dialog->TOpenDialog::GetFiles()), AnsiFormsOf(c.files));
    EXPECT_EQ(dialog->TOpenDialog::GetFileName(), WideToAnsi(c.files.front()));
  }
}

TEST_F(VoxFileDialogRecordTest, AnAcceptedDialogReportsItsFlagsAndFilter) {
  dialog->SetOptions({ofReadOnly});
  ASSERT_TRUE(Run(L"C:\\a.txt", OFN_EXTENSIONDIFFERENT, 3));
  EXPECT_NE(seen.flags & OFN_READONLY, 0u);
  EXPECT_EQ(dialog->GetFilterIndex(), 3);
  EXPECT_FALSE(dialog->GetOptions().Contains(ofReadOnly));
  EXPECT_TRUE(dialog->GetOptions().Contains(ofExtensionDifferent));
  ASSERT_TRUE(Run(L"C:\\a.txt", OFN_READONLY, 1));
  EXPECT_TRUE(dialog->GetOptions().Contains(ofReadOnly));
  EXPECT_FALSE(dialog->GetOptions().Contains(ofExtensionDifferent));
}

TEST_F(VoxFileDialogRecordTest, ARefusedDialogChangesNothing) {
  dialog->SetFileName(L"C:\\" + kChinese + L".txt");
  dialog->SetFilterIndex(2);
  dialog->SetOptions({ofReadOnly});
  EXPECT_FALSE(Run(L"C:\\other.txt", OFN_EXTENSIONDIFFERENT, 5, FALSE));
  EXPECT_EQ(dialog->GetFileName(), L"C:\\" + kChinese + L".txt");
  EXPECT_EQ(dialog->GetFilterIndex(), 2);
  EXPECT_EQ(dialog->GetOptions(), TOpenOptions{ofReadOnly});
  EXPECT_EQ(dialog->GetFiles()->GetCount(), 0);
}

TEST(VoxFileDialogTest, WideTextsFollowLaterAnsiAssignments) {
  TFreshApplication app;
  Owned<TVoxOpenDialog> d(New<TVoxOpenDialog>(nullptr));
  d->SetFilter(kChinese + L"|*.*");
  d->SetTitle(kChinese);
  d->SetFileName(kChinese + L".txt");
  EXPECT_EQ(d->GetFilter(), kChinese + L"|*.*");
  EXPECT_EQ(d->GetTitle(), kChinese);
  EXPECT_EQ(d->GetFileName(), kChinese + L".txt");
  // ANSI code assigning later wins over the wide value.
  d->SetFilter("Text|*.txt");
  d->SetTitle("Plain");
  d->SetFileName("plain.txt");
  EXPECT_EQ(d->GetFilter(), L"Text|*.txt");
  EXPECT_EQ(d->GetTitle(), L"Plain");
  EXPECT_EQ(d->GetFileName(), L"plain.txt");
}

TEST(VoxFileDialogTest, TheWideTextsAreStoredWithTheForm) {
  TFreshApplication app;
  // The program registers the classes its stored forms name.
  if (!GetClass("TVoxSaveDialog")) RegisterClass(TVoxSaveDialog::StaticClass());
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetName("Holder");
  auto* d = New<TVoxSaveDialog>(form.get());
  d->SetName("Save");
  d->SetDefaultExt(kGreek);
  d->SetFileName(kChinese + L".txt");
  d->SetFilter(kChinese + L"|*.txt");
  d->SetInitialDir(L"C:\\" + kGreek);
  d->SetTitle(L"Save " + kChinese);
  std::string text = WriteForm(form.get());
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* read = dynamic_cast<TVoxSaveDialog*>(copy->FindComponent("Save"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetDefaultExt(), kGreek);
  EXPECT_EQ(read->GetFileName(), kChinese + L".txt");
  EXPECT_EQ(read->GetFilter(), kChinese + L"|*.txt");
  EXPECT_EQ(read->GetInitialDir(), L"C:\\" + kGreek);
  EXPECT_EQ(read->GetTitle(), L"Save " + kChinese);
}

// --- The system's dialogs -------------------------------------------------------------------------------

class VoxSystemFileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const std::wstring& name : WLines{kChinese + L".txt", kGreek + L".txt", L"plain.log"})
      WriteFileBytes(folder.Path(name), "x");
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

  TWideTempFolder folder{L"voxdlg-" + kGreek};
  TFreshApplication app;
  Owned<TForm> form;
  Owned<TCommonDialog> owned;
  TDialogScript script;
};

TEST_F(VoxSystemFileDialogTest, OpenTakesTheTypedWideNameWithItsFolder) {
  auto* d = Make<TVoxOpenDialog>();
  d->SetFilter(kChinese + L"|*.txt|All|*.*");
  d->SetTitle(L"Open " + kChinese);
  bool formEnabledMeanwhile = true;
  std::wstring caption;
  script.OnShow = [&](TCommonDialog* cd) {
    formEnabledMeanwhile = IsWindowEnabled(form->GetHandle()) != FALSE;
    wchar_t text[64] = {};
    GetWindowTextW(SystemDialog(cd), text, 64);
    caption = text;
    TypeName(SystemDialog(cd), kChinese + L".txt");
    PressButton(SystemDialog(cd), IDOK);
  };
  ASSERT_TRUE(d->Execute());
  EXPECT_EQ(caption, L"Open " + kChinese);
  EXPECT_EQ(Lower(d->GetFileName()), Lower(folder.Path(kChinese + L".txt")));
  EXPECT_EQ(WideLinesOf(d->GetFiles()).size(), 1u);
  EXPECT_EQ(d->TOpenDialog::GetFileName(), WideToAnsi(d->GetFileName()));
  EXPECT_FALSE(formEnabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
  EXPECT_EQ(script.Log, (Lines{"show", "close"}));
}

// A file chosen in the wide open dialog reaches the shell's "Open With"
// chooser by its wide name; a FileName set on the action goes as it is.
TEST_F(VoxSystemFileDialogTest, OpenWithOffersTheChosenFileByItsWideName) {
  std::vector<std::wstring> wide;
  std::vector<std::string> ansi;
  TSeamOverride<decltype(Seams().ShellExecuteW)> shellW(
      Seams().ShellExecuteW, [&](HWND, const wchar_t* verb, const wchar_t* file, const wchar_t* params,
                                 const wchar_t*, int) {
        wide.push_back(std::wstring(verb) + L"|" + file + L"|" + params);
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
      });
  TSeamOverride<decltype(Seams().ShellExecute)> shellA(
      Seams().ShellExecute, [&](HWND, const char* verb, const char* file, const char* params, const char*, int) {
        ansi.push_back(std::string(verb) + "|" + file + "|" + params);
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
      });
  auto* action = New<TVoxFileOpenWith>(form.get());
  action->GetDialog()->SetInitialDir(folder.Folder());
  script.Attach(action->GetDialog());
  script.OnShow = [&](TCommonDialog* cd) {
    TypeName(SystemDialog(cd), kChinese + L".txt");
    PressButton(SystemDialog(cd), IDOK);
  };
  EXPECT_TRUE(action->Execute());
  ASSERT_EQ(wide.size(), 1u);
  EXPECT_EQ(Lower(wide[0]), Lower(L"open|rundll32.exe|shell32.dll,OpenAs_RunDLL " + folder.Path(kChinese + L".txt")));
  EXPECT_TRUE(ansi.empty());

  wide.clear();
  script.OnShow = [&](TCommonDialog* cd) { PressButton(SystemDialog(cd), IDCANCEL); };
  EXPECT_TRUE(action->Execute());
  EXPECT_TRUE(wide.empty()) << "a cancelled dialog offers nothing";

  action->SetFileName("C:\\My Files\\notes.txt");
  script.OnShow = [&](TCommonDialog*) { ADD_FAILURE() << "no dialog with a FileName"; };
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(ansi, std::vector<std::string>{"open|rundll32.exe|shell32.dll,OpenAs_RunDLL C:\\My Files\\notes.txt"});
  EXPECT_TRUE(wide.empty());
}

TEST_F(VoxSystemFileDialogTest, MultiSelectGivesEveryWideNameWithItsFolder) {
  auto* d = Make<TVoxOpenDialog>();
  d->SetOptions({ofAllowMultiSelect, ofFileMustExist, ofEnableSizing});
  script.OnShow = [&](TCommonDialog* cd) {
    TypeName(SystemDialog(cd), L"\"" + kChinese + L".txt\" \"" + kGreek + L".txt\"");
    PressButton(SystemDialog(cd), IDOK);
  };
  ASSERT_TRUE(d->Execute());
  WLines files = WideLinesOf(d->GetFiles());
  ASSERT_EQ(files.size(), 2u);
  std::sort(files.begin(), files.end(), [](const std::wstring& a, const std::wstring& b) { return Lower(a) < Lower(b); });
  WLines expected{folder.Path(kChinese + L".txt"), folder.Path(kGreek + L".txt")};
  std::sort(expected.begin(), expected.end(),
            [](const std::wstring& a, const std::wstring& b) { return Lower(a) < Lower(b); });
  for (size_t i = 0; i < 2; ++i) EXPECT_EQ(Lower(files[i]), Lower(expected[i]));
  EXPECT_EQ(d->GetFileName(), d->GetFiles()->Get(0));
}

TEST_F(VoxSystemFileDialogTest, CanCloseSeesTheWideNamesOnceAndARefusalKeepsTheName) {
  auto* d = Make<TVoxSaveDialog>();
  d->SetFileName(L"old " + kGreek + L".txt");
  int asked = 0;
  WLines seenFiles;
  std::wstring seenName;
  bool refuse = true;
  struct TAsker {
    std::function<void(bool&)> f;
    void Ask(TObject*, bool& canClose) { f(canClose); }
  } asker;
  asker.f = [&](bool& canClose) {
    ++asked;
    seenFiles = WideLinesOf(d->GetFiles());
    seenName = d->GetFileName();
    canClose = !refuse;
    // The user gives up after the refusal.
    if (refuse) PressButton(SystemDialog(d), IDCANCEL);
  };
  d->OnCanClose = TCloseQueryEvent(&asker, &TAsker::Ask);
  const std::wstring typed = L"new " + kChinese + L".txt";
  script.OnShow = [&](TCommonDialog* cd) {
    TypeName(SystemDialog(cd), typed);
    PressButton(SystemDialog(cd), IDOK);
  };
  EXPECT_FALSE(d->Execute());
  EXPECT_EQ(asked, 1);
  ASSERT_EQ(seenFiles.size(), 1u);
  EXPECT_EQ(Lower(seenFiles[0]), Lower(folder.Path(typed)));
  EXPECT_EQ(Lower(seenName), Lower(folder.Path(typed)));
  // Refused and cancelled: nothing changed, on either side.
  EXPECT_EQ(d->GetFileName(), L"old " + kGreek + L".txt");
  EXPECT_EQ(d->TOpenDialog::GetFileName(), WideToAnsi(L"old " + kGreek + L".txt"));
  EXPECT_EQ(d->GetFiles()->GetCount(), 0);
  EXPECT_EQ(d->TOpenDialog::GetFiles()->GetCount(), 0);

  // Accepted: asked once, and the name is taken.
  asked = 0;
  refuse = false;
  ASSERT_TRUE(d->Execute());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(Lower(d->GetFileName()), Lower(folder.Path(typed)));
}

TEST_F(VoxSystemFileDialogTest, APathBeyondMaxPathIsReadWholeWhileTheDialogShows) {
  // A folder and a typed name that together pass MAX_PATH; each stays
  // within what a name may be.
  std::wstring longFolder = folder.Path(std::wstring(150, L'd') + kGreek);
  ASSERT_TRUE(CreateDirectoryW(longFolder.c_str(), nullptr));
  std::wstring typed = kChinese + std::wstring(120, L'n') + L".txt";
  auto* d = Make<TVoxOpenDialog>();
  d->SetInitialDir(longFolder);
  std::wstring whileShown;
  script.OnShow = [&](TCommonDialog* cd) {
    TypeName(SystemDialog(cd), typed);
    whileShown = d->GetFileName();
    PressButton(SystemDialog(cd), IDCANCEL);
  };
  EXPECT_FALSE(d->Execute());
  std::wstring expected = longFolder + L"\\" + typed;
  ASSERT_GT(expected.size(), static_cast<size_t>(MAX_PATH));
  EXPECT_EQ(Lower(whileShown), Lower(expected));
}

TEST_F(VoxSystemFileDialogTest, IncludeItemIsAskedWideForEveryFileOfTheFolder) {
  auto* d = Make<TVoxOpenDialog>();
  d->SetOptions({ofEnableIncludeNotify, ofEnableSizing});
  WLines asked;
  struct TIncluder {
    std::function<void(const TOFNotifyExW&, bool&)> f;
    void Include(const TOFNotifyExW& ofn, bool& include) { f(ofn, include); }
  } includer;
  includer.f = [&](const TOFNotifyExW& ofn, bool& include) {
    EXPECT_TRUE(include);
    EXPECT_EQ(ofn.hdr.code, static_cast<UINT>(CDN_INCLUDEITEM));
    STRRET ret{};
    auto* shellFolder = static_cast<IShellFolder*>(ofn.psf);
    auto* pidl = static_cast<LPCITEMIDLIST>(ofn.pidl);
    wchar_t name[MAX_PATH] = {};
    if (shellFolder->GetDisplayNameOf(pidl, SHGDN_INFOLDER | SHGDN_FORPARSING, &ret) == S_OK)
      StrRetToBufW(&ret, pidl, name, MAX_PATH);
    asked.push_back(Lower(name));
  };
  d->OnIncludeItem = TIncludeItemEventW(&includer, &TIncluder::Include);
  script.OnShow = [&](TCommonDialog* cd) { PressButton(SystemDialog(cd), IDCANCEL); };
  EXPECT_FALSE(d->Execute());
  std::sort(asked.begin(), asked.end());
  asked.erase(std::unique(asked.begin(), asked.end()), asked.end());
  WLines expected{Lower(kChinese + L".txt"), Lower(kGreek + L".txt"), L"plain.log"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(asked, expected);
}

TEST_F(VoxSystemFileDialogTest, AnOldStyleDialogTakesTheWideName) {
  auto* d = Make<TVoxOpenDialog>();
  d->SetOptions({ofOldStyleDialog});
  d->SetFileName(L"before.txt");
  bool ownNameBox = false;
  std::wstring whileShown;
  script.OnShow = [&](TCommonDialog* cd) {
    // The hooked window is the dialog itself, with its own name box.
    ownNameBox = GetDlgItem(cd->GetHandle(), kFileNameEdit) != nullptr;
    SetDlgItemTextW(cd->GetHandle(), kFileNameEdit, (kGreek + L".txt").c_str());
    // An old-style dialog has no path to tell: the name set stays.
    whileShown = d->GetFileName();
    PressButton(cd->GetHandle(), IDOK);
  };
  ASSERT_TRUE(d->Execute());
  EXPECT_TRUE(ownNameBox);
  EXPECT_EQ(whileShown, L"before.txt");
  EXPECT_EQ(Lower(d->GetFileName()), Lower(folder.Path(kGreek + L".txt")));
}

TEST_F(VoxSystemFileDialogTest, TheAnsiRouteRunsTheClassLibrarysDialog) {
  TAnsiRoute ansi;
  auto* d = Make<TVoxOpenDialog>();
  // The ANSI dialog cannot reach the wide folder; the ANSI temporary folder
  // it can.
  TTempFolder plain("voxdlg-ansi");
  std::string name = plain.Path("picked.txt");
  WriteFileBytes(AnsiToWide(name), "x");
  d->TOpenDialog::SetInitialDir(plain.Folder());
  script.OnShow = [&](TCommonDialog* cd) {
    TypeName(SystemDialog(cd), std::string("picked.txt"));
    PressButton(SystemDialog(cd), IDOK);
  };
  ASSERT_TRUE(d->Execute());
  EXPECT_EQ(Lower(d->GetFileName()), Lower(AnsiToWide(name)));
  EXPECT_EQ(WideLinesOf(d->GetFiles()).size(), 1u);
  EXPECT_EQ(Lower(d->GetFiles()->Get(0)), Lower(AnsiToWide(name)));
}

// --- The folder browser ------------------------------------------------------------------------------------

// Serial: the browser walks its tree through the shared temporary folder,
// where tests running beside it make and remove folders; Wine's browser
// then at times misses the folder it is asked to select.
class SerialVoxSelectDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    inner = folder.Path(L"inner " + kChinese);
    ASSERT_TRUE(CreateDirectoryW(inner.c_str(), nullptr));
    form.reset(New<TForm>(nullptr, 0));
    form->Show();
    PumpApplication(2);
  }

  TWideTempFolder folder{L"voxseldir"};
  std::wstring inner;
  TFreshApplication app;
  Owned<TForm> form;
};

TEST_F(SerialVoxSelectDirectoryTest, OkGivesTheWideFolderTheBrowserStartedOn) {
  const std::wstring caption = L"Pick " + kGreek;
  TBrowserDriver driver(IDOK);
  std::wstring selected;
  bool captionShown = false, formEnabledMeanwhile = true;
  driver.OnReady = [&](HWND browser) {
    // Wine's browser now and then has nothing selected after the start
    // folder was asked for (asked again, it selects it); the user then
    // picks it, so that the answer is still read from the browser.
    if (TreeItemText(browser, TVGN_CARET).empty())
      SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(inner.c_str()));
    selected = TreeItemText(browser, TVGN_CARET);
    captionShown = HasChildText(browser, caption);
    formEnabledMeanwhile = IsWindowEnabled(form->GetHandle()) != FALSE;
  };
  std::wstring dir = inner;
  ASSERT_TRUE(WideSelectDirectory(caption, L"", dir));
  EXPECT_EQ(selected, L"inner " + kChinese);
  EXPECT_EQ(Lower(WideExcludeTrailingBackslash(dir)), Lower(inner));
  ASSERT_FALSE(driver.Selections.empty());
  EXPECT_EQ(driver.Selections.front(), inner);
  EXPECT_TRUE(captionShown);
  EXPECT_FALSE(formEnabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
}

TEST_F(SerialVoxSelectDirectoryTest, ACancelledBrowserLeavesTheValueAsItWas) {
  struct TCase {
    const char* what;
    bool ansi;
    std::wstring dir;
    WLines selections;
  };
  const TCase cases[] = {
      {"an existing folder is preselected", false, inner, {inner}},
      {"a missing folder is not preselected and not lost", false, inner + L"\\not there", {}},
      {"the same on the ANSI route", true, folder.Path(L"not there"), {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TAnsiRoute route(c.ansi);
    TBrowserDriver driver(IDCANCEL);
    std::wstring dir = c.dir;
    EXPECT_FALSE(WideSelectDirectory(L"Cancel", L"", dir));
    EXPECT_TRUE(driver.Shown);
    EXPECT_EQ(dir, c.dir);
    EXPECT_EQ(driver.Selections, c.selections);
  }
  EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
}

TEST_F(SerialVoxSelectDirectoryTest, TheTreeStartsAtTheWideRoot) {
  TBrowserDriver driver(IDCANCEL);
  std::wstring rootItem;
  driver.OnReady = [&](HWND browser) { rootItem = TreeItemText(browser, TVGN_ROOT); };
  std::wstring dir;
  EXPECT_FALSE(WideSelectDirectory(L"Under a root", inner, dir));
  EXPECT_EQ(rootItem, L"inner " + kChinese);
}

}  // namespace
