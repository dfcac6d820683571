// The main() of every test executable (classlib_tests, skin_tests, ...).
//
// Each executable defines TestUnits() (tests/<library>/TestUnits.cpp): the
// start-up list of the units it links, in the system's order, so that the
// tests run with every unit initialised as in the program.
#include <gtest/gtest.h>
#include <windows.h>

#include "classlib/Units.h"

const std::vector<TUnitEntry>& TestUnits();

namespace {
// Under Wine a stack overflow ends the process with exit code 0 and no
// word, which ctest counts as a pass. The first touch of the stack's guard
// page is still reported as an exception: end the test there, failed.
LONG CALLBACK StackOverflowFails(EXCEPTION_POINTERS* info) {
  if (info->ExceptionRecord->ExceptionCode != EXCEPTION_STACK_OVERFLOW) return EXCEPTION_CONTINUE_SEARCH;
  static const char kText[] = "\nStack overflow: the test process ends here\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), kText, sizeof kText - 1, &written, nullptr);
  TerminateProcess(GetCurrentProcess(), EXCEPTION_STACK_OVERFLOW);
  return EXCEPTION_CONTINUE_SEARCH;
}
}  // namespace

int main(int argc, char** argv) {
  AddVectoredExceptionHandler(1, StackOverflowFails);
  testing::InitGoogleTest(&argc, argv);
  InitializeUnits(TestUnits());
  int result = RUN_ALL_TESTS();
  FinalizeUnits();
  return result;
}
