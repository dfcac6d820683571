// The seams default to the real calls, and a test may swap one for a while.
#include <gtest/gtest.h>

#include "classlib/seams/SeamTable.h"

namespace {

TEST(SeamTable, WideShellExecuteReachesTheShell) {
  // A file that is not there: the shell's own "file not found" (2).
  HINSTANCE r = Seams().ShellExecuteW(nullptr, nullptr, L"C:\\no such folder\\no such file \u00e9.txt", nullptr,
                                      nullptr, SW_HIDE);
  EXPECT_EQ(reinterpret_cast<HINSTANCE>(SE_ERR_FNF), r);
}

TEST(SeamTable, WinExecStartsProgramsThroughTheSystem) {
  // A program that does not exist: the system's own "file not found".
  EXPECT_EQ(Seams().WinExec("Z:\\no such folder\\no such program.exe", SW_HIDE),
            static_cast<UINT>(ERROR_FILE_NOT_FOUND));
  // Replaced and put back.
  {
    TSeamOverride<decltype(Seams().WinExec)> fake(Seams().WinExec, [](const char*, UINT) { return 33u; });
    EXPECT_EQ(Seams().WinExec("anything", SW_SHOWNORMAL), 33u);
  }
  EXPECT_EQ(Seams().WinExec("Z:\\no such folder\\no such program.exe", SW_HIDE),
            static_cast<UINT>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
