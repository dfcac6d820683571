// The printer on a machine without printers, the path every test machine
// takes: nothing fails until a printer is needed, and then EPrinter says
// why.
#include <gtest/gtest.h>

#include "classlib/Printers.h"
#include "tests/common/TestSupport.h"

namespace {

TEST(PrinterTest, WithoutPrintersOnlyWhatNeedsOneFails) {
  // The shared object is made on first use without asking for a printer.
  TPrinter* p = Printer();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(Printer(), p);
  ASSERT_EQ(p->GetPrinters()->GetCount(), 0) << "this machine has a printer";
  EXPECT_EQ(MessageOf<EPrinter>([&] { p->GetPrinterIndex(); }),
            "There is no default printer currently selected");
  EXPECT_EQ(MessageOf<EPrinter>([&] { p->GetHandle(); }), "There is no default printer currently selected");
  EXPECT_EQ(MessageOf<EPrinter>([&] { p->GetFonts(); }), "There is no default printer currently selected");
  EXPECT_EQ(MessageOf<EPrinter>([&] { p->SetPrinterIndex(0); }), "Printer index out of range");
  EXPECT_EQ(MessageOf<EPrinter>([&] { p->SetPrinterIndex(-2); }), "Printer index out of range");
  // Asking again reads the system again, with the same answer.
  p->Refresh();
  EXPECT_EQ(p->GetPrinters()->GetCount(), 0);
}

TEST(PrinterTest, AnotherPrinterObjectCanBeInstalled) {
  TPrinter* shared = Printer();
  Owned<TPrinter> mine(New<TPrinter>());
  TPrinter* old = SetPrinter(mine.get());
  EXPECT_EQ(old, shared);
  EXPECT_EQ(Printer(), mine.get());
  EXPECT_EQ(SetPrinter(old), mine.get());
  EXPECT_EQ(Printer(), old);
}

}  // namespace
