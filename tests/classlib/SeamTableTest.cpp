// The seams default to the real calls.
#include <gtest/gtest.h>

#include "classlib/seams/SeamTable.h"

namespace {

TEST(SeamTable, WideShellExecuteReachesTheShell) {
  // A file that is not there: the shell's own "file not found" (2).
  HINSTANCE r = Seams().ShellExecuteW(nullptr, nullptr, L"C:\\no such folder\\no such file \u00e9.txt", nullptr,
                                      nullptr, SW_HIDE);
  EXPECT_EQ(reinterpret_cast<HINSTANCE>(SE_ERR_FNF), r);
}

}  // namespace
