#include "tests/app/AppTestSupport.h"

#include <windows.h>

#include <shellapi.h>

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

// SHFileOperation wants a list of names ended by an empty one.
std::string DoubleNul(const std::string& path) { return path + std::string(2, '\0'); }

void Shell(UINT func, const std::string& from, const std::string& to) {
  std::string source = DoubleNul(from);
  std::string target = DoubleNul(to);
  SHFILEOPSTRUCTA op{};
  op.wFunc = func;
  op.pFrom = source.c_str();
  op.pTo = to.empty() ? nullptr : target.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT | FOF_NOCONFIRMMKDIR;
  if (SHFileOperationA(&op) != 0 || op.fAnyOperationsAborted)
    throw std::runtime_error("file operation failed on " + from);
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
  Shell(FO_COPY, SampleDisc() + "\\*", folder_);
}

TDiscCopy::~TDiscCopy() {
  try {
    Shell(FO_DELETE, folder_, "");
  } catch (...) {
  }
}

void TDiscCopy::Write(const std::string& relative, const std::string& bytes) const {
  const std::string path = Path(relative);
  ForceDirectories(ExtractFileDir(path));
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

void TDiscCopy::Remove(const std::string& relative) const { DeleteFile(Path(relative)); }

namespace {

void ListFolder(const std::string& root, const std::string& relative, std::vector<std::string>& out) {
  WIN32_FIND_DATAA found{};
  HANDLE h = FindFirstFileA((root + "\\" + relative + "*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const ULONGLONG size = (ULONGLONG{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
    const ULONGLONG written =
        (ULONGLONG{found.ftLastWriteTime.dwHighDateTime} << 32) | found.ftLastWriteTime.dwLowDateTime;
    out.push_back(relative + name + "|" + std::to_string(size) + "|" + std::to_string(written));
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ListFolder(root, relative + name + "\\", out);
  } while (FindNextFileA(h, &found));
  FindClose(h);
}

}  // namespace

std::vector<std::string> TDiscCopy::Listing() const {
  std::vector<std::string> files;
  ListFolder(folder_, "", files);
  std::sort(files.begin(), files.end());
  return files;
}

std::string TDiscCopy::Read(const std::string& relative) const {
  const std::string path = Path(relative);
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
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
