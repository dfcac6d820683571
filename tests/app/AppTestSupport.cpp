#include "tests/app/AppTestSupport.h"

#include <windows.h>

#include <shellapi.h>

#include <stdexcept>

#include "app/perivane.h"
#include "classlib/Seams.h"
#include "classlib/SysUtils.h"

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

void Pump(int rounds) {
  auto saved = Application->GetIdleHook();
  Application->SetIdleHook([saved](bool& done) {
    if (saved) saved(done);
    done = false;
  });
  for (int i = 0; i < rounds; ++i) {
    Application->ProcessMessages();
    MSG msg{};
    Application->Idle(msg);
  }
  Application->SetIdleHook(saved);
}

}  // namespace app_test
