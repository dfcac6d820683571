// A program that faults under the scripts ends at once with a non-zero exit
// code and a readable message, instead of waiting in Wine's debugger (whose
// crash dialog nobody can click under Xvfb) until ctest's timeout.
//
// Wine writes its "Unhandled page fault ..." line to the Unix error stream of
// the faulting process, which a Windows parent cannot redirect, so this test
// starts its own executable again through /bin/sh (Wine runs Unix programs
// too) with that stream in a file: the first run faults on purpose, and a
// second run of the same test signals a named event once the first has
// ended (a Unix process gives no handle to wait on).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

TEST(ToolchainFault, AFaultingProgramEndsAtOnceWithAMessage) {
  if (std::getenv("PERIVANE_FAULT_ON_PURPOSE")) {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
  }
  if (const char* done = std::getenv("PERIVANE_FAULT_DONE")) {
    HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, done);
    ASSERT_NE(event, nullptr);
    SetEvent(event);
    CloseHandle(event);
    return;
  }
  char self[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
  const std::string id = "perivane-fault-" + std::to_string(GetCurrentProcessId());
  // The prefix maps Z: to the Unix root.
  const std::string unixLog = "/tmp/" + id + ".txt", windowsLog = "Z:\\tmp\\" + id + ".txt";
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, id.c_str());
  ASSERT_NE(done, nullptr);
  const std::string run = "wine '" + std::string(self) +
                          "' --gtest_filter=ToolchainFault.AFaultingProgramEndsAtOnceWithAMessage </dev/null";
  std::string command = "/bin/sh -c \"PERIVANE_FAULT_ON_PURPOSE=1 " + run + " >/dev/null 2>" + unixLog +
                        "; echo 'exit status' $? >>" + unixLog + "; PERIVANE_FAULT_DONE=" + id + " exec " + run +
                        " >/dev/null 2>&1\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      << GetLastError();
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  // At once: a few seconds at most, where a debugger waited for ever.
  const DWORD waited = WaitForSingleObject(done, 30000);
  CloseHandle(done);
  std::stringstream log;
  log << std::ifstream(windowsLog).rdbuf();
  DeleteFileA(windowsLog.c_str());
  ASSERT_EQ(waited, WAIT_OBJECT_0) << "the faulting program is still waiting";
  EXPECT_NE(log.str().find("Unhandled page fault on write access to 0000000000000000"), std::string::npos)
      << log.str();
  // The exit status of the faulting run: the exception code's low byte.
  EXPECT_NE(log.str().find("exit status 5"), std::string::npos) << log.str();
}

}  // namespace
