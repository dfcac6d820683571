// TOpenDialog and TSaveDialog: the system's file dialogs (GetOpenFileNameA,
// GetSaveFileNameA).
//
// The dialog is Explorer-style unless ofOldStyleDialog is set (or
// NewStyleControls is off). An Explorer-style dialog hooks a child dialog
// of the system's dialog (empty, or the Template): Handle is that child,
// the system's dialog its parent, and the dialog's notifications (CDN_*)
// reach WndProc there: CDN_INITDONE shows (OnShow), CDN_FILEOK asks
// DoCanClose with the chosen names in Files, CDN_SELCHANGE,
// CDN_FOLDERCHANGE and CDN_TYPECHANGE fire their events, CDN_INCLUDEITEM
// (with ofEnableIncludeNotify) asks DoIncludeItem.
//
// DoExecute(dialogFunc) prepares the OPENFILENAMEA record and runs the
// given function with it task-modal; a descendant may hand its own function
// (the wide dialogs take the prepared record from it and run the wide
// function themselves).
#pragma once

#include "classlib/Win.h"

#include <commdlg.h>

#include <string>
#include <vector>

#include "classlib/dialogs/CommonDialog.h"
#include "classlib/forms/FormTypes.h"

enum TOpenOption {
  ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, ofAllowMultiSelect,
  ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn,
  ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks,
  ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent, ofForceShowHidden
};
DECLARE_ENUM_TYPE(TOpenOption);
using TOpenOptions = TSet<TOpenOption>;

enum TOpenOptionEx { ofExNoPlacesBar };
DECLARE_ENUM_TYPE(TOpenOptionEx);
using TOpenOptionsEx = TSet<TOpenOptionEx>;

using TOFNotifyEx = OFNOTIFYEXA;
using TIncludeItemEvent = TClosure<void(const TOFNotifyEx& OFN, bool& Include)>;
// A file dialog function (GetOpenFileNameA, GetSaveFileNameA, or a
// descendant's own).
using TOpenFileNameFunc = BOOL(WINAPI*)(LPOPENFILENAMEA);

// The names in a file dialog's buffer of size characters, each with its
// folder. With multiSelect the buffer holds the folder, then the names, all
// ended by separator (NUL, or a blank in an old-style dialog); a name that
// is a full path already stays as it is. Without, the buffer is one name.
template <class Char>
std::vector<std::basic_string<Char>> SplitDialogFileNames(const Char* buffer, size_t size, bool multiSelect,
                                                         Char separator) {
  using Str = std::basic_string<Char>;
  const Char* p = buffer;
  const Char* end = buffer + size;
  auto next = [&] {
    const Char* q = p;
    while (q < end && *q && *q != separator) ++q;
    Str s(p, q);
    p = q < end ? q + 1 : q;
    return s;
  };
  std::vector<Str> names;
  Str first = next();
  Str name = multiSelect ? next() : Str();
  if (name.empty()) {
    names.push_back(first);
    return names;
  }
  if (first.empty() || first.back() != Char('\\')) first += Char('\\');
  do {
    bool rooted = name[0] == Char('\\') || (name.size() > 3 && name[1] == Char(':') && name[2] == Char('\\'));
    names.push_back(rooted ? name : first + name);
    name = next();
  } while (!name.empty());
  return names;
}

// With an empty InitialDir the dialogs start in the current folder ("."),
// not in the one the system remembers.
extern bool ForceCurrentDirectory;

class TOpenDialog : public TCommonDialog {
  DECLARE_CLASS(TOpenDialog, TCommonDialog)

  explicit TOpenDialog(TComponent* owner);
  ~TOpenDialog() override { DestroyUnfinished(); }

  bool Execute() override;

  const std::string& GetDefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const std::string& v) { defaultExt_ = v; }
  // While an Explorer-style dialog shows, the path the dialog holds now.
  std::string GetFileName() const;
  void SetFileName(const std::string& v) { fileName_ = v; }
  // The names chosen (several with ofAllowMultiSelect), each with its folder.
  TStrings* GetFiles() const { return files_; }
  const std::string& GetFilter() const { return filter_; }
  void SetFilter(const std::string& v) { filter_ = v; }
  // From 1; while the dialog shows, the filter the user has chosen.
  int GetFilterIndex() const;
  void SetFilterIndex(int v) { filterIndex_ = v; }
  // A trailing backslash is dropped, except after a drive ("C:\").
  const std::string& GetInitialDir() const { return initialDir_; }
  void SetInitialDir(const std::string& v);
  TOpenOptions GetOptions() const { return options_; }
  void SetOptions(TOpenOptions v) { options_ = v; }
  TOpenOptionsEx GetOptionsEx() const { return optionsEx_; }
  void SetOptionsEx(TOpenOptionsEx v) { optionsEx_ = v; }
  const std::string& GetTitle() const { return title_; }
  void SetTitle(const std::string& v) { title_ = v; }

  TCloseQueryEvent OnCanClose;
  TNotifyEvent OnFolderChange;
  TNotifyEvent OnSelectionChange;
  TNotifyEvent OnTypeChange;
  TIncludeItemEvent OnIncludeItem;
  TCloseQueryEvent GetOnCanClose() const { return OnCanClose; }
  void SetOnCanClose(TCloseQueryEvent e) { OnCanClose = e; }
  TNotifyEvent GetOnFolderChange() const { return OnFolderChange; }
  void SetOnFolderChange(TNotifyEvent e) { OnFolderChange = e; }
  TNotifyEvent GetOnSelectionChange() const { return OnSelectionChange; }
  void SetOnSelectionChange(TNotifyEvent e) { OnSelectionChange = e; }
  TNotifyEvent GetOnTypeChange() const { return OnTypeChange; }
  void SetOnTypeChange(TNotifyEvent e) { OnTypeChange = e; }
  TIncludeItemEvent GetOnIncludeItem() const { return OnIncludeItem; }
  void SetOnIncludeItem(TIncludeItemEvent e) { OnIncludeItem = e; }

  void WndProc(TMessage& message) override;

 protected:
  void Destroy() override;
  // Fills the record from the properties, runs dialogFunc task-modal and,
  // when it accepts, reads the names, the read-only and extension flags and
  // the filter index back.
  bool DoExecute(TOpenFileNameFunc dialogFunc);
  // The name as it was set or read back, even while a dialog shows.
  const std::string& GetStoredFileName() const { return fileName_; }
  // The names of the record's file buffer into Files and FileName.
  void GetFileNames(const OPENFILENAMEA& ofn);
  // CDN_FILEOK: the chosen names in Files while DoCanClose decides.
  bool CanClose(const OPENFILENAMEA& ofn);
  virtual bool DoCanClose();
  virtual void DoFolderChange();
  virtual void DoSelectionChange();
  virtual void DoTypeChange();
  virtual void DoIncludeItem(const TOFNotifyEx& ofn, bool& include);
  // The hook of Explorer-style dialogs: the child dialog's window goes to
  // the object; the system's dialog is centred once it is laid out.
  static UINT_PTR CALLBACK ExplorerHook(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  bool IsExplorerStyle() const { return !options_.Contains(ofOldStyleDialog) && NewStyleControls; }

  std::string defaultExt_;
  std::string fileName_;
  TStrings* files_ = nullptr;
  std::string filter_;
  int filterIndex_ = 1;
  int currentFilterIndex_ = 1;
  std::string initialDir_;
  TOpenOptions options_{ofHideReadOnly, ofEnableSizing};
  TOpenOptionsEx optionsEx_;
  std::string title_;
};

class TSaveDialog : public TOpenDialog {
  DECLARE_CLASS(TSaveDialog, TOpenDialog)
  using TOpenDialog::TOpenDialog;

  bool Execute() override;
};
