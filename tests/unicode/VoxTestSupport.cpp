#include "tests/unicode/VoxTestSupport.h"

#include <stdexcept>

#include "unicode/VoxControls.h"

namespace {

void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = dir + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
      else DeleteFileW(path.c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(dir.c_str());
}

}  // namespace

TWideTempFolder::TWideTempFolder(const std::wstring& tag) {
  wchar_t temp[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  static int counter = 0;
  folder_ = std::wstring(temp, n) + tag + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
  RemoveTree(folder_);
  // The temporary folder itself may not exist yet in a new prefix.
  for (size_t p = folder_.find(L'\\', 3); p != std::wstring::npos; p = folder_.find(L'\\', p + 1))
    CreateDirectoryW(folder_.substr(0, p).c_str(), nullptr);
  if (!CreateDirectoryW(folder_.c_str(), nullptr)) throw std::runtime_error("cannot create the test folder");
}

TWideTempFolder::~TWideTempFolder() { RemoveTree(folder_); }

void WriteFileBytes(const std::wstring& fileName, const std::string& bytes) {
  HANDLE h = CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create test file");
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

std::string ReadFileBytes(const std::wstring& fileName) {
  HANDLE h = CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "(missing)";
  std::string out(GetFileSize(h, nullptr), '\0');
  DWORD read = 0;
  if (!out.empty()) ReadFile(h, out.data(), static_cast<DWORD>(out.size()), &read, nullptr);
  CloseHandle(h);
  out.resize(read);
  return out;
}

IMPLEMENT_CLASS(TWideTestEdit)

void TWideTestEdit::CreateWindowHandle(const TCreateParams& p) { CreateUnicodeHandle(this, p, L"EDIT"); }

void TWideTestEdit::WndProc(TMessage& m) {
  if (m.Msg == kFreeYourself) {
    Free();
    return;
  }
  if (m.Msg == WM_CHAR) Chars.push_back(m.WParam);
  if (m.Msg == CM_TEXTCHANGED) ++TextChanged;
  inherited::WndProc(m);
}

std::wstring WideWindowText(HWND window) {
  wchar_t text[256]{};
  SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return text;
}
