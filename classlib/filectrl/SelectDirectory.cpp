#include "classlib/filectrl/SelectDirectory.h"

#include <shlobj.h>

#include "classlib/Forms.h"
#include "classlib/SysUtils.h"

namespace {
int CALLBACK SelectDirCallback(HWND window, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED && data) SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
  return 0;
}
}  // namespace

LPITEMIDLIST ParseShellPath(const std::wstring& path) {
  IShellFolder* desktop = nullptr;
  if (SHGetDesktopFolder(&desktop) != S_OK || !desktop) return nullptr;
  LPITEMIDLIST list = nullptr;
  ULONG eaten = 0;
  ULONG attributes = 0;
  HWND owner = Application ? Application->GetHandle() : nullptr;
  if (desktop->ParseDisplayName(owner, nullptr, const_cast<wchar_t*>(path.c_str()), &eaten, &list, &attributes) !=
      S_OK)
    list = nullptr;
  desktop->Release();
  return list;
}

bool SelectDirectory(const std::string& caption, const std::wstring& root, std::string& directory) {
  if (!DirectoryExists(directory)) directory.clear();
  TShellMalloc shell;
  if (!shell.Malloc) return false;
  auto* buffer = static_cast<char*>(shell.Malloc->Alloc(MAX_PATH));
  if (!buffer) return false;
  buffer[0] = '\0';
  // The root's item list is the caller's to free (the platform leaked it).
  LPITEMIDLIST rootList = root.empty() ? nullptr : ParseShellPath(root);
  BROWSEINFOA info{};
  info.hwndOwner = Application ? Application->GetHandle() : nullptr;
  info.pidlRoot = rootList;
  info.pszDisplayName = buffer;
  info.lpszTitle = caption.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  if (!directory.empty()) {
    info.lpfn = &SelectDirCallback;
    info.lParam = reinterpret_cast<LPARAM>(directory.c_str());
  }
  bool result = false;
  TTaskWindowList windows = DisableTaskWindows(nullptr);
  UINT oldErrorMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  SetErrorMode(oldErrorMode);
  EnableTaskWindows(windows);
  if (chosen) {
    // A choice without a file-system path leaves Directory alone.
    if (SHGetPathFromIDListA(chosen, buffer)) {
      directory = buffer;
      result = true;
    }
    shell.Free(chosen);
  }
  shell.Free(rootList);
  shell.Free(buffer);
  return result;
}
