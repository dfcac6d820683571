#include "unicode/VoxDialogs.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "classlib/FileCtrl.h"
#include "classlib/Forms.h"
#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"
#include "unicode/VoxControls.h"
#include "unicode/VoxSysUtils.h"
#include "unicode/VoxWindows.h"

namespace {
// The dialog whose record CaptureRecord keeps: set only while the class
// library's DoExecute runs with the substitute.
TVoxOpenDialog* gCapturingDialog = nullptr;

// "Text|*.txt|All|*.*" as the dialog wants it: NUL-separated, ending in
// two NULs; nothing for no filter.
std::wstring WideFilterText(const std::wstring& filter) {
  if (filter.empty()) return {};
  std::wstring s = filter;
  std::replace(s.begin(), s.end(), L'|', L'\0');
  s.push_back(L'\0');
  return s;
}
}  // namespace

PUBLISHED(TVoxOpenDialog) {
  p.Prop("DefaultExt", &TVoxOpenDialog::GetDefaultExt,
         static_cast<void (TVoxOpenDialog::*)(const std::wstring&)>(&TVoxOpenDialog::SetDefaultExt));
  p.Prop("FileName", &TVoxOpenDialog::GetFileName,
         static_cast<void (TVoxOpenDialog::*)(const std::wstring&)>(&TVoxOpenDialog::SetFileName));
  p.Prop("Filter", &TVoxOpenDialog::GetFilter,
         static_cast<void (TVoxOpenDialog::*)(const std::wstring&)>(&TVoxOpenDialog::SetFilter));
  p.Prop("InitialDir", &TVoxOpenDialog::GetInitialDir,
         static_cast<void (TVoxOpenDialog::*)(const std::wstring&)>(&TVoxOpenDialog::SetInitialDir));
  p.Prop("Title", &TVoxOpenDialog::GetTitle,
         static_cast<void (TVoxOpenDialog::*)(const std::wstring&)>(&TVoxOpenDialog::SetTitle));
  p.Prop("OnIncludeItem", &TVoxOpenDialog::GetOnIncludeItem, &TVoxOpenDialog::SetOnIncludeItem);
}

TVoxOpenDialog::TVoxOpenDialog(TComponent* owner) : TOpenDialog(owner) { files_ = New<TVoxStringList>(); }

void TVoxOpenDialog::Destroy() {
  FreeAndNil(files_);
  inherited::Destroy();
}

void TVoxOpenDialog::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  VoxPersistent_AfterInherited_DefineProperties(filer, this);
}

bool TVoxOpenDialog::Execute() {
  return Win32PlatformIsUnicode ? DoExecuteW(&GetOpenFileNameW) : DoExecute(&GetOpenFileNameA);
}

bool TVoxSaveDialog::Execute() {
  return Win32PlatformIsUnicode ? DoExecuteW(&GetSaveFileNameW) : DoExecute(&GetSaveFileNameA);
}

IMPLEMENT_CLASS(TVoxSaveDialog)

// --- The wide texts ----------------------------------------------------------------------------

std::wstring TVoxOpenDialog::GetDefaultExt() { return GetSyncedWideString(defaultExt_, TOpenDialog::GetDefaultExt()); }

void TVoxOpenDialog::SetDefaultExt(const std::wstring& value) {
  SetSyncedWideString(value, defaultExt_, TOpenDialog::GetDefaultExt(),
                      [this](const std::string& s) { TOpenDialog::SetDefaultExt(s); });
}

std::wstring TVoxOpenDialog::GetFilter() { return GetSyncedWideString(filter_, TOpenDialog::GetFilter()); }

void TVoxOpenDialog::SetFilter(const std::wstring& value) {
  SetSyncedWideString(value, filter_, TOpenDialog::GetFilter(),
                      [this](const std::string& s) { TOpenDialog::SetFilter(s); });
}

std::wstring TVoxOpenDialog::GetInitialDir() { return GetSyncedWideString(initialDir_, TOpenDialog::GetInitialDir()); }

void TVoxOpenDialog::SetInitialDir(const std::wstring& value) {
  size_t n = value.size();
  int last = static_cast<int>(n);
  if (n > 1 && WideIsPathDelimiter(value, last) && !WideIsDelimiter(L":", value, last - 1)) --n;
  SetSyncedWideString(value.substr(0, n), initialDir_, TOpenDialog::GetInitialDir(),
                      [this](const std::string& s) { TOpenDialog::SetInitialDir(s); });
}

std::wstring TVoxOpenDialog::GetTitle() { return GetSyncedWideString(title_, TOpenDialog::GetTitle()); }

void TVoxOpenDialog::SetTitle(const std::wstring& value) {
  SetSyncedWideString(value, title_, TOpenDialog::GetTitle(),
                      [this](const std::string& s) { TOpenDialog::SetTitle(s); });
}

std::wstring TVoxOpenDialog::GetFileName() {
  if (Win32PlatformIsUnicode && GetHandle() && IsExplorerStyle()) {
    // The system's dialog is the hooked child's parent. The dialog answers
    // with the size it needs when the buffer is too small: ask again with
    // that, so a path beyond MAX_PATH comes whole.
    HWND dialog = GetParent(GetHandle());
    std::vector<wchar_t> path(MAX_PATH + 1, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
      LRESULT n = SendMessageW(dialog, CDM_GETFILEPATH, path.size(), reinterpret_cast<LPARAM>(path.data()));
      if (n <= 0) break;
      if (static_cast<size_t>(n) <= path.size()) return std::wstring(path.data(), wcsnlen(path.data(), path.size()));
      path.assign(static_cast<size_t>(n), L'\0');
    }
  }
  return GetSyncedWideString(fileName_, GetStoredFileName());
}

void TVoxOpenDialog::SetFileName(const std::wstring& value) {
  fileName_ = value;
  TOpenDialog::SetFileName(WideToAnsi(value));
}

TVoxStrings* TVoxOpenDialog::GetFiles() {
  // The ANSI dialogs fill only the class library's list.
  if (!Win32PlatformIsUnicode) {
    files_->Clear();
    TStrings* ansi = TOpenDialog::GetFiles();
    for (int i = 0; i < ansi->GetCount(); ++i) files_->Add(AnsiToWide(ansi->Get(i)));
  }
  return files_;
}

// --- Running the wide dialog ----------------------------------------------------------------------

BOOL WINAPI TVoxOpenDialog::CaptureRecord(LPOPENFILENAMEA ofn) {
  if (gCapturingDialog) gCapturingDialog->record_ = *ofn;
  return FALSE;
}

bool TVoxOpenDialog::DoExecuteW(TOpenFileNameFuncW dialogFunc) {
  files_->Clear();
  // The class library prepares the record; the substitute keeps a copy and
  // refuses, so nothing of the ANSI dialog's result is taken.
  record_ = {};
  {
    TRestore capturing(gCapturingDialog, this);
    DoExecute(&CaptureRecord);
  }
  if (record_.lStructSize == 0) return false;

  // The same record with wide texts: the copy's own text pointers pointed
  // into the class library's call, which has returned.
  static_assert(sizeof(OPENFILENAMEW) == sizeof(OPENFILENAMEA));
  OPENFILENAMEW ofn;
  std::memcpy(&ofn, &record_, sizeof ofn);
  ofn.lStructSize = sizeof ofn;
  std::wstring filter = WideFilterText(GetFilter());
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.lpstrCustomFilter = nullptr;
  ofn.lpstrFileTitle = nullptr;
  std::wstring fileName = GetFileName();
  std::vector<wchar_t> file(static_cast<size_t>(ofn.nMaxFile) + 2, L'\0');
  std::copy_n(fileName.begin(), std::min<size_t>(fileName.size(), ofn.nMaxFile), file.begin());
  ofn.lpstrFile = file.data();
  std::wstring initialDir = GetInitialDir();
  if (initialDir.empty() && ForceCurrentDirectory) initialDir = L".";
  ofn.lpstrInitialDir = initialDir.c_str();
  std::wstring title = GetTitle();
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  std::wstring ext = GetDefaultExt();
  if (ext.empty() && !(ofn.Flags & OFN_EXPLORER)) {
    ext = WideExtractFileExt(fileName);
    if (!ext.empty()) ext.erase(0, 1);
  }
  ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
  std::wstring templateName;
  if (record_.lpTemplateName && !IS_INTRESOURCE(record_.lpTemplateName)) {
    templateName = AnsiToWide(record_.lpTemplateName);
    ofn.lpTemplateName = templateName.c_str();
  } else {
    ofn.lpTemplateName = reinterpret_cast<LPCWSTR>(record_.lpTemplateName);
  }

  if (!TaskModalDialog(dialogFunc, ofn)) return false;
  GetFileNamesW(ofn);
  TOpenOptions options = GetOptions();
  if (ofn.Flags & OFN_EXTENSIONDIFFERENT) options.Include(ofExtensionDifferent);
  else options.Exclude(ofExtensionDifferent);
  if (ofn.Flags & OFN_READONLY) options.Include(ofReadOnly);
  else options.Exclude(ofReadOnly);
  SetOptions(options);
  SetFilterIndex(static_cast<int>(ofn.nFilterIndex));
  return true;
}

void TVoxOpenDialog::GetFileNamesW(const OPENFILENAMEW& ofn) {
  bool multiSelect = GetOptions().Contains(ofAllowMultiSelect);
  // An old-style dialog separates several names with blanks, an
  // Explorer-style one with NULs (the buffer ends in two).
  wchar_t separator = multiSelect && !IsExplorerStyle() ? L' ' : L'\0';
  files_->Clear();
  TStrings* ansi = TOpenDialog::GetFiles();
  ansi->Clear();
  for (const std::wstring& name : SplitDialogFileNames(ofn.lpstrFile, ofn.nMaxFile, multiSelect, separator)) {
    files_->Add(name);
    ansi->Add(WideToAnsi(name));
  }
  SetFileName(files_->Get(0));
}

bool TVoxOpenDialog::CanCloseW(const OPENFILENAMEW& ofn) {
  // FileName stays as it was: a refused name must not outlive a dialog the
  // user then cancels (while the dialog shows, FileName is the dialog's).
  std::wstring savedName = fileName_;
  std::string savedAnsiName = GetStoredFileName();
  TFinally restore([&] {
    fileName_ = savedName;
    TOpenDialog::SetFileName(savedAnsiName);
    files_->Clear();
    TOpenDialog::GetFiles()->Clear();
  });
  GetFileNamesW(ofn);
  return DoCanClose();
}

void TVoxOpenDialog::DoIncludeItem(const TOFNotifyEx& ofn, bool& include) {
  // A wide dialog's notification carries the wide record; the two
  // structures differ only in the type of that pointer.
  static_assert(sizeof(OFNOTIFYEXW) == sizeof(OFNOTIFYEXA));
  if (Win32PlatformIsUnicode && OnIncludeItem) OnIncludeItem(reinterpret_cast<const TOFNotifyExW&>(ofn), include);
}

void TVoxOpenDialog::WndProc(TMessage& message) {
  message.Result = 0;
  if (message.Msg == WM_INITDIALOG && !GetOptions().Contains(ofOldStyleDialog)) return;
  if (Win32PlatformIsUnicode && message.Msg == WM_NOTIFY) {
    auto* notify = reinterpret_cast<OFNOTIFYW*>(message.LParam);
    if (notify->hdr.code == static_cast<UINT>(CDN_FILEOK)) {
      if (!CanCloseW(*notify->lpOFN)) {
        // The system reads the refusal from the hooked dialog's result.
        message.Result = 1;
        SetWindowLongPtrW(GetHandle(), DWLP_MSGRESULT, 1);
        return;
      }
      // Accepted: the class library's own CDN_FILEOK would read the wide
      // record as an ANSI one and ask DoCanClose a second time.
      TCommonDialog::WndProc(message);
      return;
    }
  }
  inherited::WndProc(message);
}

// --- The folder browser ---------------------------------------------------------------------

namespace {
int CALLBACK WideSelectDirCallback(HWND window, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED && data) SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}
}  // namespace

bool WideSelectDirectory(const std::wstring& caption, const std::wstring& root, std::wstring& directory) {
  if (!Win32PlatformIsUnicode) {
    std::string ansi = WideToAnsi(directory);
    if (!SelectDirectory(WideToAnsi(caption), root, ansi)) return false;
    directory = AnsiToWide(ansi);
    return true;
  }
  // A folder that does not exist is not preselected; the caller's value
  // stays as it is until a folder is chosen.
  std::wstring start = WideDirectoryExists(directory) ? directory : std::wstring();
  TShellMalloc shell;
  if (!shell.Malloc) return false;
  // What the shell hands out goes back to its allocator, on every way out.
  auto shellFree = [&shell](void* p) { shell.Free(p); };
  using TShellOwned = std::unique_ptr<void, decltype(shellFree)>;
  TShellOwned bufferOwner(shell.Malloc->Alloc(MAX_PATH * sizeof(wchar_t)), shellFree);
  auto* buffer = static_cast<wchar_t*>(bufferOwner.get());
  if (!buffer) return false;
  buffer[0] = L'\0';
  TShellOwned rootList(root.empty() ? nullptr : ParseShellPath(root), shellFree);
  BROWSEINFOW info{};
  info.hwndOwner = Application ? Application->GetHandle() : nullptr;
  info.pidlRoot = static_cast<PCIDLIST_ABSOLUTE>(rootList.get());
  info.pszDisplayName = buffer;
  info.lpszTitle = caption.c_str();
  info.ulFlags = Win32MajorVersion > 4 ? BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE : BIF_RETURNONLYFSDIRS;
  if (!start.empty()) {
    info.lpfn = &WideSelectDirCallback;
    info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  }
  TShellOwned chosen(nullptr, shellFree);
  {
    TTaskWindowList windows = DisableTaskWindows(nullptr);
    TFinally enable([&windows] { EnableTaskWindows(windows); });
    TFinally errorMode([oldErrorMode = SetErrorMode(SEM_FAILCRITICALERRORS)] { SetErrorMode(oldErrorMode); });
    chosen.reset(Vox_SHBrowseForFolderW(&info));
  }
  if (!chosen) return false;
  Win32Check(Vox_SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(chosen.get()), buffer));
  directory = buffer;
  return true;
}
