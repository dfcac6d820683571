// The sample disc's own programs: copied onto the disc as "Driver\Setup.exe"
// (a driver installer) and "Tools\Viewer.exe" (the viewer the menu falls back
// to for documents no program is registered for).
//
// Each run is one line "program|current folder|arguments" appended to the
// file that PERIVANE_DISC_LOG names: that is how the end-to-end tests see
// what the menu started, where and with what. Without that variable the
// program tells the user what it would do, in a message box.
#include <windows.h>

#include <string>

namespace {

// The command line after the program's own name (quoted or not).
std::string Arguments() {
  const char* p = GetCommandLineA();
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

std::string ModuleName() {
  char name[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, name, MAX_PATH);
  return name;
}

std::string CurrentFolder() {
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, folder);
  return folder;
}

// One whole line in one write, so that runs never interleave.
bool AppendLine(const std::string& file, const std::string& line) {
  HANDLE h = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const std::string text = line + "\r\n";
  const bool ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                  written == text.size();
  CloseHandle(h);
  return ok;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string program = ModuleName();
  const std::string folder = CurrentFolder();
  const std::string args = Arguments();
  char log[MAX_PATH] = {};
  if (GetEnvironmentVariableA("PERIVANE_DISC_LOG", log, MAX_PATH) > 0)
    return AppendLine(log, program + "|" + folder + "|" + args) ? 0 : 1;
  const std::string text = "This is a program of the Perivane sample disc.\n\nProgram: " + program +
                           "\nFolder: " + folder + "\nArguments: " + (args.empty() ? "(none)" : args);
  MessageBoxA(nullptr, text.c_str(), "Perivane sample disc", MB_OK | MB_ICONINFORMATION);
  return 0;
}
