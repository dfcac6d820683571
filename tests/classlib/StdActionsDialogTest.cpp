// The dialog, file and help actions run on a shown, active form as a menu
// item or button runs them (Execute, which the application hands to the
// active form): each dialog action's own dialog comes up for real and the
// test presses its buttons from the dialog's OnShow; Open With and help
// requests are seen through the shell seam and OnHelp. Activation is the
// desktop's: these suites run alone.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/ActnList.h"
#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "classlib/Printers.h"
#include "classlib/Seams.h"
#include "classlib/StdActns.h"
#include "classlib/StdCtrls.h"
#include "classlib/SysUtils.h"
#include "tests/classlib/DialogTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"


using namespace forms_test;
using namespace dialogs_test;

namespace {

// The events around a dialog action's dialog, in order.
struct TActionLog {
  std::vector<std::string>* Log;
  void Before(TObject*) { Log->push_back("before"); }
  void Accept(TObject*) { Log->push_back("accept"); }
  void Cancel(TObject*) { Log->push_back("cancel"); }
  void Attach(TCommonDialogAction* a) {
    a->SetBeforeExecute(TNotifyEvent(this, &TActionLog::Before));
    a->SetOnAccept(TNotifyEvent(this, &TActionLog::Accept));
    a->SetOnCancel(TNotifyEvent(this, &TActionLog::Cancel));
  }
};

class SerialStdDialogActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBounds(60, 60, 300, 200);
    edit = New<TEdit>(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 150, 24);
    form->Show();
    SetForegroundWindow(form->GetHandle());
    edit->SetFocus();
    PumpApplication(3);
  }

  TTempFolder folder{"stdactns"};
  TFreshApplication app;
  Owned<TForm> form;
  TEdit* edit = nullptr;
  std::vector<std::string> log;
  TActionLog events{&log};
  TDialogScript script;
};

struct TDialogActionCase {
  const char* Name;
  std::function<TCommonDialogAction*(TComponent*)> Make;
  const char* DialogClass;
  const char* DialogName;
  // Where the dialog's OK and Cancel buttons are.
  bool Explorer;
};

TEST_F(SerialStdDialogActionsTest, EachDialogActionRunsItsOwnDialogBetweenItsEvents) {
  const TDialogActionCase cases[] = {
      {"TFontEdit", [](TComponent* o) { return New<TFontEdit>(o); }, "TFontDialog", "FontDialog", false},
      {"TColorSelect", [](TComponent* o) { return New<TColorSelect>(o); }, "TColorDialog", "ColorDialog", false},
      {"TFileOpen", [](TComponent* o) { return New<TFileOpen>(o); }, "TOpenDialog", "OpenDialog", true},
      {"TFileSaveAs", [](TComponent* o) { return New<TFileSaveAs>(o); }, "TSaveDialog", "SaveDialog", true},
  };
  for (const TDialogActionCase& c : cases) {
    for (int button : {IDOK, IDCANCEL}) {
      SCOPED_TRACE(std::string(c.Name) + (button == IDOK ? " OK" : " Cancel"));
      TCommonDialogAction* action = c.Make(form.get());
      auto* dialog = dynamic_cast<TCommonDialog*>(action->FindComponent(c.DialogName));
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->ClassName(), c.DialogClass);
      EXPECT_EQ(dialog->GetOwner(), action);
      EXPECT_TRUE(dialog->GetComponentStyle().Contains(csSubComponent));
      if (auto* file = dynamic_cast<TOpenDialog*>(dialog)) file->SetInitialDir(folder.Folder());
      log.clear();
      events.Attach(action);
      script.Log.clear();
      script.Attach(dialog);
      script.OnShow = [&](TCommonDialog* d) {
        log.push_back("dialog");
        HWND window = c.Explorer ? SystemDialog(d) : d->GetHandle();
        if (c.Explorer && button == IDOK) TypeName(window, std::string("chosen.txt"));
        PressButton(window, button);
      };
      EXPECT_TRUE(action->Execute());
      EXPECT_EQ(log, (std::vector<std::string>{"before", "dialog", button == IDOK ? "accept" : "cancel"}));
      EXPECT_EQ(action->GetExecuteResult(), button == IDOK);
      if (c.Explorer && button == IDOK) {
        EXPECT_EQ(AnsiLowerCase(static_cast<TFileAction*>(action)->GetFileName()),
                  AnsiLowerCase(folder.Folder() + "\\chosen.txt"));
      }
      // The form is the active window again.
      EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
      action->Free();
    }
  }
}

// Without a printer (every test machine) the print dialogs refuse to run:
// the application shows why, and neither OnAccept nor OnCancel comes.
TEST_F(SerialStdDialogActionsTest, ThePrintActionsShowWhyThereIsNoDialogWithoutAPrinter) {
  ASSERT_EQ(Printer()->GetPrinters()->GetCount(), 0) << "this machine has a printer";
  struct TCatcher {
    std::vector<std::string> Messages;
    void Handle(TObject*, Exception& e) { Messages.push_back(std::string(e.ClassName()) + ": " + e.GetMessage()); }
  } catcher;
  Application->OnException = TExceptionEvent(&catcher, &TCatcher::Handle);
  TCommonDialogAction* actions[] = {New<TPrintDlg>(form.get()), New<TFilePrintSetup>(form.get())};
  for (TCommonDialogAction* action : actions) {
    SCOPED_TRACE(action->ClassName());
    log.clear();
    catcher.Messages.clear();
    events.Attach(action);
    action->Execute();
    EXPECT_EQ(log, std::vector<std::string>{"before"});
    EXPECT_EQ(catcher.Messages,
              std::vector<std::string>{"EPrinter: There is no default printer currently selected"});
    EXPECT_FALSE(action->GetExecuteResult());
  }
  EXPECT_NE(dynamic_cast<TPrintDialog*>(static_cast<TPrintDlg*>(actions[0])->GetDialog()), nullptr);
  EXPECT_NE(dynamic_cast<TPrinterSetupDialog*>(static_cast<TFilePrintSetup*>(actions[1])->GetDialog()), nullptr);
}

// Open With hands the file to the shell's chooser: its own FileName, or
// the one chosen in its open dialog; a cancelled dialog hands nothing.
TEST_F(SerialStdDialogActionsTest, OpenWithOffersItsFileOrTheChosenOneToTheShell) {
  std::vector<std::string> calls;
  TSeamOverride<decltype(Seams().ShellExecute)> shell(
      Seams().ShellExecute,
      [&](HWND owner, const char* verb, const char* file, const char* params, const char* dir, int show) {
        calls.push_back(std::string(verb) + "|" + file + "|" + params + "|" + (dir ? dir : "null") + "|" +
                        std::to_string(show) + (owner == Application->GetHandle() ? "|app" : "|other"));
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
      });
  auto* action = New<TFileOpenWith>(form.get());
  action->GetDialog()->SetInitialDir(folder.Folder());
  script.Attach(action->GetDialog());

  action->SetFileName("C:\\My Files\\notes.txt");
  script.OnShow = [&](TCommonDialog*) { ADD_FAILURE() << "no dialog with a FileName"; };
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(calls, std::vector<std::string>{"open|rundll32.exe|shell32.dll,OpenAs_RunDLL C:\\My Files\\notes.txt|null|" +
                                            std::to_string(SW_SHOW) + "|app"});

  calls.clear();
  action->SetFileName("");
  script.OnShow = [&](TCommonDialog* d) { PressButton(SystemDialog(d), IDCANCEL); };
  EXPECT_TRUE(action->Execute());
  EXPECT_TRUE(calls.empty());

  script.OnShow = [&](TCommonDialog* d) {
    TypeName(SystemDialog(d), std::string("picked.txt"));
    PressButton(SystemDialog(d), IDOK);
  };
  EXPECT_TRUE(action->Execute());
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(AnsiLowerCase(calls[0]), AnsiLowerCase("open|rundll32.exe|shell32.dll,OpenAs_RunDLL " + folder.Folder() +
                                                   "\\picked.txt|null|" + std::to_string(SW_SHOW) + "|app"));
  EXPECT_EQ(action->GetFileName(), "");  // the chosen file is not kept as FileName
}

// What each help action asks of the application, and when it is enabled.
struct THelpRecorder {
  std::vector<std::string> Calls;
  bool Help(WORD command, intptr_t data, bool& callHelp) {
    std::string d = command == HELP_PARTIALKEY ? "'" + std::string(reinterpret_cast<const char*>(data)) + "'"
                                               : std::to_string(data);
    Calls.push_back(std::to_string(command) + " " + d);
    callHelp = false;
    return true;
  }
};

TEST_F(SerialStdDialogActionsTest, HelpActionsAskTheApplicationForHelp) {
  struct TCase {
    std::function<THelpAction*(TComponent*)> Make;
    std::string Call;
  };
  edit->SetHelpContext(42);
  const TCase cases[] = {
      {[](TComponent* o) { return New<THelpContents>(o); }, std::to_string(HELP_FINDER) + " 0"},
      {[](TComponent* o) { return New<THelpTopicSearch>(o); }, std::to_string(HELP_PARTIALKEY) + " ''"},
      {[](TComponent* o) { return New<THelpOnHelp>(o); }, std::to_string(HELP_HELPONHELP) + " 0"},
      {[](TComponent* o) { return New<THelpContextAction>(o); }, std::to_string(HELP_CONTEXT) + " 42"},
  };
  THelpRecorder recorder;
  for (const TCase& c : cases) {
    THelpAction* action = c.Make(form.get());
    SCOPED_TRACE(action->ClassName());
    // No help at all: nothing to ask, and the action says so.
    Application->OnHelp = THelpEvent();
    Application->SetHelpFile("");
    EXPECT_FALSE(action->Execute());
    EXPECT_FALSE(action->GetEnabled());

    Application->OnHelp = THelpEvent(&recorder, &THelpRecorder::Help);
    recorder.Calls.clear();
    EXPECT_TRUE(action->Execute());
    EXPECT_EQ(recorder.Calls, std::vector<std::string>{c.Call});
    action->Free();
  }
}

TEST_F(SerialStdDialogActionsTest, TheContextActionFollowsTheActiveControlsTopic) {
  THelpRecorder recorder;
  Application->OnHelp = THelpEvent(&recorder, &THelpRecorder::Help);
  auto* other = New<TEdit>(form.get());
  other->SetParent(form.get());
  other->SetBounds(10, 40, 150, 24);
  other->SetHelpContext(7);
  auto* action = New<THelpContextAction>(form.get());

  edit->SetHelpContext(0);
  ASSERT_TRUE(edit->Focused());
  EXPECT_FALSE(action->Execute());
  EXPECT_FALSE(action->GetEnabled());
  EXPECT_TRUE(recorder.Calls.empty());

  other->SetFocus();
  PumpApplication(2);
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(recorder.Calls, std::vector<std::string>{std::to_string(HELP_CONTEXT) + " 7"});
}

// Exit closes the main form (which ends the program's loop), and tells the
// help that the program goes.
TEST(SerialStdFileExitTest, ExitClosesTheMainForm) {
  TFreshApplication app;
  TForm* main = nullptr;
  Application->CreateForm(TForm::StaticClass(), main);
  main->Show();
  SetForegroundWindow(main->GetHandle());
  PumpApplication(2);
  THelpRecorder recorder;
  Application->OnHelp = THelpEvent(&recorder, &THelpRecorder::Help);
  struct TCloser {
    int Closed = 0;
    void Close(TObject*, TCloseAction&) { ++Closed; }
  } closer;
  main->OnClose = TCloseEvent(&closer, &TCloser::Close);
  auto* action = New<TFileExit>(main);
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(closer.Closed, 1);
  PumpApplication(2);
  EXPECT_TRUE(Application->GetTerminated());
  EXPECT_EQ(recorder.Calls, std::vector<std::string>{std::to_string(HELP_QUIT) + " 0"});
}

}  // namespace

// Every standard action is named by stored forms, and a dialog action's
// dialog is stored with it, under its property's name.
TEST(StdActionsStoredTest, StoredFormsNameEveryStandardActionAndKeepTheirDialogs) {
  const char* const names[] = {"TFontEdit", "TColorSelect", "TPrintDlg", "TFileOpen", "TFileOpenWith",
                               "TFileSaveAs", "TFilePrintSetup", "TFileExit", "THelpContents", "THelpTopicSearch",
                               "THelpOnHelp", "THelpContextAction", "TSearchFind", "TSearchFindFirst",
                               "TSearchFindNext", "TSearchReplace"};
  std::string text = "object Form1: TForm\n  object ActionList1: TActionList\n";
  for (const char* n : names) text += std::string("    object ") + (n + 1) + "1: " + n + "\n    end\n";
  text += "  end\nend\n";
  Owned<TForm> form(New<TForm>(nullptr, 0));
  ReadForm(text, form.get());
  auto* list = dynamic_cast<TActionList*>(form->FindComponent("ActionList1"));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetActionCount(), static_cast<int>(std::size(names)));
  for (int i = 0; i < list->GetActionCount(); ++i) EXPECT_EQ(list->GetAction(i)->ClassName(), names[i]);

  // The dialog's own properties go with the action's.
  auto* open = dynamic_cast<TFileOpen*>(form->FindComponent("FileOpen1"));
  ASSERT_NE(open, nullptr);
  open->SetCaption("&Open...");
  open->GetDialog()->SetFilter("Text|*.txt");
  open->GetDialog()->SetDefaultExt("txt");
  auto* next = dynamic_cast<TSearchFindNext*>(form->FindComponent("SearchFindNext1"));
  next->SetSearchFind(dynamic_cast<TSearchFind*>(form->FindComponent("SearchFind1")));
  dynamic_cast<TSearchFind*>(form->FindComponent("SearchFind1"))->GetDialog()->SetFindText("needle");
  const std::string written = WriteForm(form.get());
  EXPECT_NE(written.find("Dialog.Filter = 'Text|*.txt'"), std::string::npos) << written;
  EXPECT_NE(written.find("SearchFind = SearchFind1"), std::string::npos) << written;

  Owned<TForm> again(New<TForm>(nullptr, 0));
  ReadForm(written, again.get());
  auto* open2 = dynamic_cast<TFileOpen*>(again->FindComponent("FileOpen1"));
  ASSERT_NE(open2, nullptr);
  EXPECT_EQ(open2->GetCaption(), "&Open...");
  EXPECT_EQ(open2->GetDialog()->GetFilter(), "Text|*.txt");
  EXPECT_EQ(open2->GetDialog()->GetDefaultExt(), "txt");
  auto* next2 = dynamic_cast<TSearchFindNext*>(again->FindComponent("SearchFindNext1"));
  EXPECT_EQ(next2->GetSearchFind(), again->FindComponent("SearchFind1"));
  EXPECT_EQ(next2->GetSearchFind()->GetDialog()->GetFindText(), "needle");
}
