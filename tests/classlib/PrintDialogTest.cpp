// The print dialogs on a machine without printers (every test machine):
// Execute needs the program's printer and says so; the dialogs' settings
// are kept and stored without one.
#include <gtest/gtest.h>

#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "classlib/Printers.h"
#include "tests/classlib/DialogTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"

using namespace forms_test;
using namespace dialogs_test;

namespace {

TEST(PrintDialogTest, WithoutAPrinterExecuteRaisesAndShowsNothing) {
  TFreshApplication app;
  ASSERT_EQ(Printer()->GetPrinters()->GetCount(), 0) << "this machine has a printer";
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->Show();
  Owned<TPrintDialog> print(New<TPrintDialog>(nullptr));
  Owned<TPrinterSetupDialog> setup(New<TPrinterSetupDialog>(nullptr));
  TDialogScript script;
  script.Attach(print.get());
  script.Attach(setup.get());
  for (TCommonDialog* d : {static_cast<TCommonDialog*>(print.get()), static_cast<TCommonDialog*>(setup.get())}) {
    SCOPED_TRACE(d->ClassName());
    EXPECT_EQ(MessageOf<EPrinter>([&] { d->Execute(); }), "There is no default printer currently selected");
    EXPECT_TRUE(IsWindowEnabled(form->GetHandle()));
  }
  EXPECT_TRUE(script.Log.empty());
}

TEST(PrintDialogTest, SettingsAreStoredWithoutAPrinter) {
  TFreshApplication app;
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetName("PrintForm");
  auto* d = New<TPrintDialog>(form.get());
  d->SetName("PrintDialog1");
  // Copies set from a stored form needs no printer.
  d->SetCopies(3);
  d->SetCollate(true);
  d->SetOptions({poPageNums, poSelection});
  d->SetPrintRange(prPageNums);
  d->SetFromPage(2);
  d->SetToPage(5);
  d->SetMaxPage(9);
  std::string text = WriteForm(form.get());
  Owned<TForm> again(New<TForm>(nullptr, 0));
  ReadForm(text, again.get());
  auto* e = dynamic_cast<TPrintDialog*>(again->FindComponent("PrintDialog1"));
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->GetCopies(), 3);
  EXPECT_TRUE(e->GetCollate());
  EXPECT_EQ(e->GetOptions(), (TPrintDialogOptions{poPageNums, poSelection}));
  EXPECT_EQ(e->GetPrintRange(), prPageNums);
  EXPECT_EQ(e->GetFromPage(), 2);
  EXPECT_EQ(e->GetToPage(), 5);
  EXPECT_EQ(e->GetMaxPage(), 9);
  EXPECT_EQ(e->GetMinPage(), 0);
}

}  // namespace
