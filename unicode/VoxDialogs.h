// VoxDialogs: file dialogs with UTF-16 names, filter, title, default
// extension and initial folder, a wide input box and a wide folder picker.
//
// The wide file dialogs are the class library's with the wide system
// functions (GetOpenFileNameW, GetSaveFileNameW) where the platform has
// them: the class library still prepares the record (its options, hook,
// template and owner) through its DoExecute, run with a substitute dialog
// function that only keeps a copy of the record; the copy then gets the
// wide texts and goes to the wide function. Without the wide API the class
// library's ANSI dialogs run, and the wide properties follow their ANSI
// sides.
#pragma once

#include <string>

#include "classlib/Dialogs.h"
#include "classlib/Win.h"
#include "unicode/VoxClasses.h"

#include <commdlg.h>

using TOFNotifyExW = OFNOTIFYEXW;
using TIncludeItemEventW = TClosure<void(const TOFNotifyExW& OFN, bool& Include)>;
// GetOpenFileNameW, GetSaveFileNameW, or a substitute of the same form.
using TOpenFileNameFuncW = BOOL(WINAPI*)(LPOPENFILENAMEW);

class TVoxOpenDialog : public TOpenDialog {
  DECLARE_CLASS(TVoxOpenDialog, TOpenDialog)

  explicit TVoxOpenDialog(TComponent* owner);
  ~TVoxOpenDialog() override { DestroyUnfinished(); }

  bool Execute() override;
  void DefineProperties(TFiler* filer) override;

  // The wide texts. DefaultExt, Filter, InitialDir and Title are kept in
  // step with the class library's ANSI ones (the wide value counts while its
  // ANSI form is still the ANSI value); the ANSI setters stay reachable.
  using TOpenDialog::SetDefaultExt;
  using TOpenDialog::SetFileName;
  using TOpenDialog::SetFilter;
  using TOpenDialog::SetInitialDir;
  using TOpenDialog::SetTitle;
  std::wstring GetDefaultExt();
  void SetDefaultExt(const std::wstring& value);
  // While an Explorer-style wide dialog shows, the path the dialog holds
  // now, however long.
  std::wstring GetFileName();
  void SetFileName(const std::wstring& value);
  std::wstring GetFilter();
  void SetFilter(const std::wstring& value);
  // A trailing backslash is dropped, except after a drive ("C:\").
  std::wstring GetInitialDir();
  void SetInitialDir(const std::wstring& value);
  std::wstring GetTitle();
  void SetTitle(const std::wstring& value);
  // The names chosen, each with its folder.
  TVoxStrings* GetFiles();

  // Asked for each item of the folder with ofEnableIncludeNotify (the wide
  // dialogs only; the ANSI event is not asked).
  TIncludeItemEventW OnIncludeItem;
  TIncludeItemEventW GetOnIncludeItem() const { return OnIncludeItem; }
  void SetOnIncludeItem(TIncludeItemEventW e) { OnIncludeItem = e; }

  void WndProc(TMessage& message) override;

 protected:
  void Destroy() override;
  // Runs the wide dialog function with the class library's record made
  // wide; false when the dialog was not accepted (nothing changes then).
  bool DoExecuteW(TOpenFileNameFuncW dialogFunc);
  // The names of the record's file buffer into Files and FileName, and into
  // the class library's ANSI Files.
  void GetFileNamesW(const OPENFILENAMEW& ofn);
  // CDN_FILEOK of a wide dialog: the chosen names in Files while DoCanClose
  // decides; FileName stays as it was.
  bool CanCloseW(const OPENFILENAMEW& ofn);
  void DoIncludeItem(const TOFNotifyEx& ofn, bool& include) override;

 private:
  static BOOL WINAPI CaptureRecord(LPOPENFILENAMEA ofn);
  bool IsExplorerStyle() { return !GetOptions().Contains(ofOldStyleDialog) && NewStyleControls; }

  std::wstring defaultExt_;
  std::wstring fileName_;
  std::wstring filter_;
  std::wstring initialDir_;
  std::wstring title_;
  TVoxStringList* files_ = nullptr;
  // The record as the class library prepared it.
  OPENFILENAMEA record_{};
};

class TVoxSaveDialog : public TVoxOpenDialog {
  DECLARE_CLASS(TVoxSaveDialog, TVoxOpenDialog)
  using TVoxOpenDialog::TVoxOpenDialog;

  bool Execute() override;
};

// A box that asks for one line of text: Caption on its title bar, Prompt
// above the edit, Value in the edit (selected). True when the user accepted
// it (OK or Enter), with the text in Value; false leaves Value as it was.
bool WideInputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& value);

// The shell's folder browser. Caption is the text above the tree; Root,
// when not empty, the folder the tree starts from; Directory, when it
// exists, is selected at the start. True when the user chose a folder,
// which is then in Directory; false leaves Directory as it was.
bool WideSelectDirectory(const std::wstring& caption, const std::wstring& root, std::wstring& directory);
