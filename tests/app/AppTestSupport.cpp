#include "tests/app/AppTestSupport.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "app/perivane.h"
#include "classlib/Seams.h"
#include "classlib/SysUtils.h"
#include "tests/classlib/FormTestSupport.h"

namespace app_test {

namespace {

std::string TestsFolder() {
  char name[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, name, MAX_PATH);
  return ExtractFilePath(name);
}

// Every entry of a folder and its subfolders, depth first, a folder before
// what it holds; relative names with backslashes.
void Walk(const std::string& root, const std::string& relative,
          const std::function<void(const std::string&, const WIN32_FIND_DATAA&)>& visit) {
  WIN32_FIND_DATAA found{};
  HANDLE h = FindFirstFileA((root + "\\" + relative + "*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    visit(relative + name, found);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Walk(root, relative + name + "\\", visit);
  } while (FindNextFileA(h, &found));
  FindClose(h);
}

bool IsFolder(const WIN32_FIND_DATAA& found) { return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// What the tests change: copied, never linked.
bool Changeable(const std::string& relative) {
  return SameText(relative, IniFileName) || SameText(relative.substr(0, 9), "Resource\\");
}

// Removes a folder and everything in it; what cannot be removed stays.
void RemoveFolder(const std::string& folder) {
  std::vector<std::string> folders{folder};
  Walk(folder, "", [&](const std::string& relative, const WIN32_FIND_DATAA& found) {
    const std::string path = folder + "\\" + relative;
    if (IsFolder(found)) folders.push_back(path);
    else DeleteFileA(path.c_str());
  });
  // Innermost first: the walk lists a folder before its subfolders.
  for (auto f = folders.rbegin(); f != folders.rend(); ++f) RemoveDirectoryA(f->c_str());
}

}  // namespace

std::string SampleDisc() { return ExpandFileName(TestsFolder() + "..\\disc"); }

std::string ToolsFolder() { return ExpandFileName(TestsFolder() + "..\\disc-tools"); }

TDiscCopy::TDiscCopy() {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  static int counter = 0;
  folder_ = IncludeTrailingPathDelimiter(temp) + "perivane-disc-" + IntToStr(GetCurrentProcessId()) + "-" +
            IntToStr(++counter);
  if (!CreateDirectoryA(folder_.c_str(), nullptr)) throw std::runtime_error("cannot make " + folder_);
  const std::string sample = SampleDisc();
  Walk(sample, "", [&](const std::string& relative, const WIN32_FIND_DATAA& found) {
    const std::string from = sample + "\\" + relative;
    const std::string to = Path(relative);
    bool made;
    if (IsFolder(found)) made = CreateDirectoryA(to.c_str(), nullptr);
    else if (Changeable(relative)) made = CopyFileA(from.c_str(), to.c_str(), TRUE);
    else made = CreateHardLinkA(to.c_str(), from.c_str(), nullptr) || CopyFileA(from.c_str(), to.c_str(), TRUE);
    if (!made) throw std::runtime_error("cannot make " + to + " (error " + std::to_string(GetLastError()) + ")");
  });
}

TDiscCopy::~TDiscCopy() { RemoveFolder(folder_); }

void TDiscCopy::Write(const std::string& relative, const std::string& bytes) const {
  const std::string path = Path(relative);
  ForceDirectories(ExtractFileDir(path));
  // A new file, never the old one rewritten: the old one may be a link to
  // the sample disc's. Wine refuses to remove a name while its file is open
  // elsewhere without delete sharing (through any of its names); then the
  // creation fails too, rather than write into the shared file.
  DeleteFileA(path.c_str());
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

void TDiscCopy::Remove(const std::string& relative) const { DeleteFile(Path(relative)); }

std::vector<std::string> FolderListing(const std::string& folder) {
  std::vector<std::string> files;
  Walk(folder, "", [&](const std::string& relative, const WIN32_FIND_DATAA& found) {
    const ULONGLONG size = (ULONGLONG{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
    const ULONGLONG written =
        (ULONGLONG{found.ftLastWriteTime.dwHighDateTime} << 32) | found.ftLastWriteTime.dwLowDateTime;
    files.push_back(relative + "|" + std::to_string(size) + "|" + std::to_string(written));
  });
  std::sort(files.begin(), files.end());
  return files;
}

std::string ReadBytes(const std::string& path) {
  // With delete sharing: a file of the sample disc read here must not stop
  // another test from removing its own link to it.
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "";
  std::string bytes(GetFileSize(h, nullptr), '\0');
  DWORD read = 0;
  ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(h);
  bytes.resize(read);
  return bytes;
}

std::string IniText(const TSettings& settings) {
  std::string text;
  for (const auto& [section, lines] : settings) {
    text += "[" + section + "]\r\n";
    for (const std::string& line : lines) text += line + "\r\n";
  }
  return text;
}

TRecordedBoxes::TRecordedBoxes() : saved_(Seams().MessageBox) {
  Seams().MessageBox = [this](HWND, const std::string& text, const std::string& caption, UINT) {
    boxes_.emplace_back(text, caption);
    return IDOK;
  };
}

TRecordedBoxes::~TRecordedBoxes() { Seams().MessageBox = saved_; }

TMenuFixture::TMenuFixture(const std::string& folder, int colorDepth)
    : savedApplication_(Application), savedExeDir_(ExeDir), savedDepth_(Seams().DisplayBitsPerPixel) {
  Application = New<TApplication>(nullptr);
  Application->SetShowHint(true);
  Seams().DisplayBitsPerPixel = [colorDepth] { return colorDepth; };
  ExeDir = IncludeTrailingPathDelimiter(folder);
  ProbeScreen();
  Application->CreateForm(TFormMain::StaticClass(), form_);
  FormMain = form_;
}

TMenuFixture::~TMenuFixture() {
  Application->Free();
  Application = savedApplication_;
  FormMain = nullptr;
  ExeDir = savedExeDir_;
  Seams().DisplayBitsPerPixel = savedDepth_;
  ProbeScreen();
  MSG msg;
  for (int i = 0; i < 200 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i)
    if (msg.message != WM_QUIT) DispatchMessageA(&msg);
}

void Pump(int rounds) { forms_test::PumpApplication(rounds); }

}  // namespace app_test
