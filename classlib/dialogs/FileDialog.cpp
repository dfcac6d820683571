#include "classlib/dialogs/FileDialog.h"

#include <algorithm>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/SysUtils.h"

DEFINE_ENUM_TYPE(TOpenOption, "ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp",
                 "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist", "ofFileMustExist",
                 "ofCreatePrompt", "ofShareAware", "ofNoReadOnlyReturn", "ofNoTestFileCreate", "ofNoNetworkButton",
                 "ofNoLongNames", "ofOldStyleDialog", "ofNoDereferenceLinks", "ofEnableIncludeNotify",
                 "ofEnableSizing", "ofDontAddToRecent", "ofForceShowHidden")
DEFINE_ENUM_TYPE(TOpenOptionEx, "ofExNoPlacesBar")

bool ForceCurrentDirectory = false;

namespace {
// The OFN_ flag of each TOpenOption. ofOldStyleDialog is OFN_EXPLORER
// turned round below.
constexpr DWORD kOpenOptionFlags[] = {
    OFN_READONLY,          OFN_OVERWRITEPROMPT,    OFN_HIDEREADONLY,       OFN_NOCHANGEDIR,
    OFN_SHOWHELP,          OFN_NOVALIDATE,         OFN_ALLOWMULTISELECT,   OFN_EXTENSIONDIFFERENT,
    OFN_PATHMUSTEXIST,     OFN_FILEMUSTEXIST,      OFN_CREATEPROMPT,       OFN_SHAREAWARE,
    OFN_NOREADONLYRETURN,  OFN_NOTESTFILECREATE,   OFN_NONETWORKBUTTON,    OFN_NOLONGNAMES,
    OFN_EXPLORER,          OFN_NODEREFERENCELINKS, OFN_ENABLEINCLUDENOTIFY, OFN_ENABLESIZING,
    OFN_DONTADDTORECENT,   OFN_FORCESHOWHIDDEN};
static_assert(std::size(kOpenOptionFlags) == ofForceShowHidden + 1);

// A multi-select buffer holds the folder and every name after it.
constexpr DWORD kMultiSelectBufferSize = 0xFFFF - 16;

// "Text|*.txt|All|*.*" as the dialog wants it: NUL-separated, ending in
// two NULs; nothing for no filter.
std::string FilterText(const std::string& filter) {
  if (filter.empty()) return {};
  std::string s = filter;
  std::replace(s.begin(), s.end(), '|', '\0');
  s.push_back('\0');
  return s;
}
}  // namespace

PUBLISHED(TOpenDialog) {
  p.Prop("Ctl3D", &TOpenDialog::GetCtl3D, &TOpenDialog::SetCtl3D).Default(true);
  p.Prop("DefaultExt", &TOpenDialog::GetDefaultExt, &TOpenDialog::SetDefaultExt);
  p.Prop("FileName", &TOpenDialog::GetFileName, &TOpenDialog::SetFileName);
  p.Prop("Filter", &TOpenDialog::GetFilter, &TOpenDialog::SetFilter);
  p.Prop("FilterIndex", &TOpenDialog::GetFilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
  p.Prop("HelpContext", &TOpenDialog::GetHelpContext, &TOpenDialog::SetHelpContext).Default(0);
  p.Prop("InitialDir", &TOpenDialog::GetInitialDir, &TOpenDialog::SetInitialDir);
  p.Prop("Options", &TOpenDialog::GetOptions, &TOpenDialog::SetOptions)
      .Default(TOpenOptions{ofHideReadOnly, ofEnableSizing});
  p.Prop("OptionsEx", &TOpenDialog::GetOptionsEx, &TOpenDialog::SetOptionsEx).Default(TOpenOptionsEx{});
  p.Prop("Title", &TOpenDialog::GetTitle, &TOpenDialog::SetTitle);
  p.Prop("OnCanClose", &TOpenDialog::GetOnCanClose, &TOpenDialog::SetOnCanClose);
  p.Prop("OnClose", &TOpenDialog::GetOnClose, &TOpenDialog::SetOnClose);
  p.Prop("OnFolderChange", &TOpenDialog::GetOnFolderChange, &TOpenDialog::SetOnFolderChange);
  p.Prop("OnIncludeItem", &TOpenDialog::GetOnIncludeItem, &TOpenDialog::SetOnIncludeItem);
  p.Prop("OnSelectionChange", &TOpenDialog::GetOnSelectionChange, &TOpenDialog::SetOnSelectionChange);
  p.Prop("OnShow", &TOpenDialog::GetOnShow, &TOpenDialog::SetOnShow);
  p.Prop("OnTypeChange", &TOpenDialog::GetOnTypeChange, &TOpenDialog::SetOnTypeChange);
}

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner) { files_ = New<TStringList>(); }

void TOpenDialog::Destroy() {
  FreeAndNil(files_);
  inherited::Destroy();
}

bool TOpenDialog::Execute() { return DoExecute(&GetOpenFileNameA); }

bool TSaveDialog::Execute() { return DoExecute(&GetSaveFileNameA); }

IMPLEMENT_CLASS(TSaveDialog)

std::string TOpenDialog::GetFileName() const {
  // The system's dialog is the hooked child's parent.
  if (GetHandle() && IsExplorerStyle()) {
    char path[MAX_PATH + 1] = {};
    LRESULT n = SendMessageA(GetParent(GetHandle()), CDM_GETFILEPATH, sizeof path, reinterpret_cast<LPARAM>(path));
    if (n > 0) return std::string(path, strnlen(path, sizeof path));
  }
  return fileName_;
}

int TOpenDialog::GetFilterIndex() const { return GetHandle() ? currentFilterIndex_ : filterIndex_; }

void TOpenDialog::SetInitialDir(const std::string& v) {
  size_t n = v.size();
  if (n > 1 && IsPathDelimiter(v, static_cast<int>(n)) && !IsDelimiter(":", v, static_cast<int>(n) - 1)) --n;
  initialDir_ = v.substr(0, n);
}

bool TOpenDialog::DoExecute(TOpenFileNameFunc dialogFunc) {
  files_->Clear();
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof(OPENFILENAMEA);
  ofn.hInstance = GetModuleHandleA(nullptr);
  std::string filter = FilterText(filter_);
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
  currentFilterIndex_ = filterIndex_;
  ofn.nMaxFile = options_.Contains(ofAllowMultiSelect) ? kMultiSelectBufferSize : MAX_PATH;
  std::vector<char> file(ofn.nMaxFile + 2, '\0');
  std::copy_n(fileName_.begin(), std::min<size_t>(fileName_.size(), ofn.nMaxFile), file.begin());
  ofn.lpstrFile = file.data();
  ofn.lpstrInitialDir = initialDir_.empty() && ForceCurrentDirectory ? "." : initialDir_.c_str();
  ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
  ofn.Flags = OFN_ENABLEHOOK;
  for (int o = ofReadOnly; o <= ofForceShowHidden; ++o)
    if (options_.Contains(static_cast<TOpenOption>(o))) ofn.Flags |= kOpenOptionFlags[o];
  // ofOldStyleDialog stands for OFN_EXPLORER, which a new-style system
  // wants the other way round.
  if (NewStyleControls) {
    ofn.Flags ^= OFN_EXPLORER;
    if (optionsEx_.Contains(ofExNoPlacesBar)) ofn.FlagsEx |= OFN_EX_NOPLACESBAR;
  } else {
    ofn.Flags &= ~static_cast<DWORD>(OFN_EXPLORER);
  }
  std::string ext = defaultExt_;
  if (ext.empty() && !(ofn.Flags & OFN_EXPLORER)) {
    ext = ExtractFileExt(fileName_);
    if (!ext.empty()) ext.erase(0, 1);
  }
  if (!ext.empty()) ofn.lpstrDefExt = ext.c_str();
  ofn.lpfnHook = IsExplorerStyle() ? &TOpenDialog::ExplorerHook : &TCommonDialog::DialogHook;
  if (!GetTemplate().empty()) {
    ofn.Flags |= OFN_ENABLETEMPLATE;
    ofn.lpTemplateName = GetTemplate().c_str();
  }
  ofn.hwndOwner = Application ? Application->GetHandle() : nullptr;
  bool result = TaskModalDialog(dialogFunc, ofn) != FALSE;
  if (result) {
    GetFileNames(ofn);
    if (ofn.Flags & OFN_EXTENSIONDIFFERENT) options_.Include(ofExtensionDifferent);
    else options_.Exclude(ofExtensionDifferent);
    if (ofn.Flags & OFN_READONLY) options_.Include(ofReadOnly);
    else options_.Exclude(ofReadOnly);
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
  }
  return result;
}

void TOpenDialog::GetFileNames(const OPENFILENAMEA& ofn) {
  // An old-style dialog separates several names with spaces, an
  // Explorer-style one with NULs (the buffer ends in two).
  bool multiSelect = options_.Contains(ofAllowMultiSelect);
  char separator = multiSelect && !IsExplorerStyle() ? ' ' : '\0';
  files_->Clear();
  for (const std::string& name : SplitDialogFileNames(ofn.lpstrFile, ofn.nMaxFile, multiSelect, separator))
    files_->Add(name);
  fileName_ = files_->Get(0);
}

bool TOpenDialog::CanClose(const OPENFILENAMEA& ofn) {
  // FileName stays as it was: a refused name must not outlive a dialog the
  // user then cancels (while the dialog shows, FileName is the dialog's).
  std::string savedName = fileName_;
  GetFileNames(ofn);
  bool result = false;
  try {
    result = DoCanClose();
  } catch (...) {
    fileName_ = savedName;
    files_->Clear();
    throw;
  }
  fileName_ = savedName;
  files_->Clear();
  return result;
}

bool TOpenDialog::DoCanClose() {
  bool result = true;
  if (OnCanClose) OnCanClose(this, result);
  return result;
}

void TOpenDialog::DoFolderChange() {
  if (OnFolderChange) OnFolderChange(this);
}

void TOpenDialog::DoSelectionChange() {
  if (OnSelectionChange) OnSelectionChange(this);
}

void TOpenDialog::DoTypeChange() {
  if (OnTypeChange) OnTypeChange(this);
}

void TOpenDialog::DoIncludeItem(const TOFNotifyEx& ofn, bool& include) {
  if (OnIncludeItem) OnIncludeItem(ofn, include);
}

UINT_PTR CALLBACK TOpenDialog::ExplorerHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    TakeWindow(window, wParam, lParam);
  } else if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(CDN_INITDONE)) {
    CenterWindow(GetParent(window));
  }
  return 0;
}

void TOpenDialog::WndProc(TMessage& message) {
  message.Result = 0;
  // An Explorer-style dialog shows at CDN_INITDONE, once the system's
  // dialog is laid out, not at its child's WM_INITDIALOG.
  if (message.Msg == WM_INITDIALOG && IsExplorerStyle()) return;
  if (message.Msg == WM_NOTIFY) {
    auto* notify = reinterpret_cast<OFNOTIFYA*>(message.LParam);
    switch (notify->hdr.code) {
      case CDN_FILEOK:
        if (!CanClose(*notify->lpOFN)) {
          // The system reads the refusal from the hooked dialog's result.
          message.Result = 1;
          SetWindowLongPtrA(GetHandle(), DWLP_MSGRESULT, 1);
          return;
        }
        break;
      case CDN_INITDONE: DoShow(); break;
      case CDN_SELCHANGE: DoSelectionChange(); break;
      case CDN_FOLDERCHANGE: DoFolderChange(); break;
      case CDN_TYPECHANGE: {
        int index = static_cast<int>(notify->lpOFN->nFilterIndex);
        if (index != currentFilterIndex_) {
          currentFilterIndex_ = index;
          DoTypeChange();
        }
        break;
      }
      case CDN_INCLUDEITEM: {
        bool include = true;
        DoIncludeItem(*reinterpret_cast<TOFNotifyEx*>(message.LParam), include);
        message.Result = include ? 1 : 0;
        // The answer is read from the dialog's result as well.
        SetWindowLongPtrA(GetHandle(), DWLP_MSGRESULT, message.Result);
        return;
      }
      default: break;
    }
  }
  inherited::WndProc(message);
}
