// VoxStdActns: the class library's standard actions with UTF-16 Caption and
// Hint. Each is the class library's action of the same name with the wide
// action's members (VoxActnList); a copy by Assign also takes what the
// standard action's own kind carries.
#pragma once

#include "classlib/StdActns.h"
#include "unicode/VoxActnList.h"
#include "unicode/VoxDialogs.h"

// VoxAction_AfterInherited_Assign, then what both actions' kind carries
// beyond the action's own properties.
void VoxStdActn_AfterInherited_Assign(TCustomAction* action, TPersistent* source);

// The wide members over a standard action of the class library.
template <class Base>
using TVoxStdActionOf = TVoxActionOf<Base, &VoxStdActn_AfterInherited_Assign>;

// The application's hint handed to its targets (a status bar): the wide
// hint only.
class TVoxHintAction : public TVoxStdActionOf<THintAction> {
  DECLARE_CLASS(TVoxHintAction, THintAction)
  explicit TVoxHintAction(TComponent* owner);
};

// --- Edit actions ------------------------------------------------------------------------------
class TVoxEditAction : public TVoxStdActionOf<TEditAction> {
  DECLARE_CLASS(TVoxEditAction, TEditAction)
  explicit TVoxEditAction(TComponent* owner);
};

class TVoxEditCut : public TVoxStdActionOf<TEditCut> {
  DECLARE_CLASS(TVoxEditCut, TEditCut)
  explicit TVoxEditCut(TComponent* owner);
};

class TVoxEditCopy : public TVoxStdActionOf<TEditCopy> {
  DECLARE_CLASS(TVoxEditCopy, TEditCopy)
  explicit TVoxEditCopy(TComponent* owner);
};

class TVoxEditPaste : public TVoxStdActionOf<TEditPaste> {
  DECLARE_CLASS(TVoxEditPaste, TEditPaste)
  explicit TVoxEditPaste(TComponent* owner);
};

class TVoxEditSelectAll : public TVoxStdActionOf<TEditSelectAll> {
  DECLARE_CLASS(TVoxEditSelectAll, TEditSelectAll)
  explicit TVoxEditSelectAll(TComponent* owner);
};

class TVoxEditUndo : public TVoxStdActionOf<TEditUndo> {
  DECLARE_CLASS(TVoxEditUndo, TEditUndo)
  explicit TVoxEditUndo(TComponent* owner);
};

// Delete as the Delete key does it: the selection, or else the character
// after the caret. So it is always enabled.
class TVoxEditDelete : public TVoxStdActionOf<TEditDelete> {
  DECLARE_CLASS(TVoxEditDelete, TEditDelete)
  explicit TVoxEditDelete(TComponent* owner);
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};

// --- Window actions ----------------------------------------------------------------------------
class TVoxWindowAction : public TVoxStdActionOf<TWindowAction> {
  DECLARE_CLASS(TVoxWindowAction, TWindowAction)
  explicit TVoxWindowAction(TComponent* owner);
};

class TVoxWindowClose : public TVoxStdActionOf<TWindowClose> {
  DECLARE_CLASS(TVoxWindowClose, TWindowClose)
  explicit TVoxWindowClose(TComponent* owner);
};

class TVoxWindowCascade : public TVoxStdActionOf<TWindowCascade> {
  DECLARE_CLASS(TVoxWindowCascade, TWindowCascade)
  explicit TVoxWindowCascade(TComponent* owner);
};

class TVoxWindowTileHorizontal : public TVoxStdActionOf<TWindowTileHorizontal> {
  DECLARE_CLASS(TVoxWindowTileHorizontal, TWindowTileHorizontal)
  explicit TVoxWindowTileHorizontal(TComponent* owner);
};

class TVoxWindowTileVertical : public TVoxStdActionOf<TWindowTileVertical> {
  DECLARE_CLASS(TVoxWindowTileVertical, TWindowTileVertical)
  explicit TVoxWindowTileVertical(TComponent* owner);
};

class TVoxWindowMinimizeAll : public TVoxStdActionOf<TWindowMinimizeAll> {
  DECLARE_CLASS(TVoxWindowMinimizeAll, TWindowMinimizeAll)
  explicit TVoxWindowMinimizeAll(TComponent* owner);
};

class TVoxWindowArrange : public TVoxStdActionOf<TWindowArrange> {
  DECLARE_CLASS(TVoxWindowArrange, TWindowArrange)
  explicit TVoxWindowArrange(TComponent* owner);
};

// --- Help actions ------------------------------------------------------------------------------
class TVoxHelpAction : public TVoxStdActionOf<THelpAction> {
  DECLARE_CLASS(TVoxHelpAction, THelpAction)
  explicit TVoxHelpAction(TComponent* owner);
};

class TVoxHelpContents : public TVoxStdActionOf<THelpContents> {
  DECLARE_CLASS(TVoxHelpContents, THelpContents)
  explicit TVoxHelpContents(TComponent* owner);
};

class TVoxHelpTopicSearch : public TVoxStdActionOf<THelpTopicSearch> {
  DECLARE_CLASS(TVoxHelpTopicSearch, THelpTopicSearch)
  explicit TVoxHelpTopicSearch(TComponent* owner);
};

class TVoxHelpOnHelp : public TVoxStdActionOf<THelpOnHelp> {
  DECLARE_CLASS(TVoxHelpOnHelp, THelpOnHelp)
  explicit TVoxHelpOnHelp(TComponent* owner);
};

class TVoxHelpContextAction : public TVoxStdActionOf<THelpContextAction> {
  DECLARE_CLASS(TVoxHelpContextAction, THelpContextAction)
  explicit TVoxHelpContextAction(TComponent* owner);
};

// --- Dialog and file actions ---------------------------------------------------------------------
// The bases publish no wide text. The file actions own the wide file
// dialogs.
class TVoxCommonDialogAction : public TVoxStdActionOf<TCommonDialogAction> {
  DECLARE_CLASS(TVoxCommonDialogAction, TCommonDialogAction)
  explicit TVoxCommonDialogAction(TComponent* owner);
};

class TVoxFileAction : public TVoxStdActionOf<TFileAction> {
  DECLARE_CLASS(TVoxFileAction, TFileAction)
  explicit TVoxFileAction(TComponent* owner);
};

class TVoxFileOpen : public TVoxStdActionOf<TFileOpen> {
  DECLARE_CLASS(TVoxFileOpen, TFileOpen)
  explicit TVoxFileOpen(TComponent* owner);
  TVoxOpenDialog* GetDialog() const;

 protected:
  TClass GetDialogClass() override;
};

class TVoxFileOpenWith : public TVoxStdActionOf<TFileOpenWith> {
  DECLARE_CLASS(TVoxFileOpenWith, TFileOpenWith)
  explicit TVoxFileOpenWith(TComponent* owner);
  TVoxOpenDialog* GetDialog() const;
  // A file chosen in the wide dialog goes to the shell by its wide name.
  void ExecuteTarget(TObject* target) override;

 protected:
  TClass GetDialogClass() override;
};

class TVoxFileSaveAs : public TVoxStdActionOf<TFileSaveAs> {
  DECLARE_CLASS(TVoxFileSaveAs, TFileSaveAs)
  explicit TVoxFileSaveAs(TComponent* owner);
  TVoxSaveDialog* GetDialog() const;

 protected:
  TClass GetDialogClass() override;
};

class TVoxFilePrintSetup : public TVoxStdActionOf<TFilePrintSetup> {
  DECLARE_CLASS(TVoxFilePrintSetup, TFilePrintSetup)
  explicit TVoxFilePrintSetup(TComponent* owner);
};

class TVoxFileExit : public TVoxStdActionOf<TFileExit> {
  DECLARE_CLASS(TVoxFileExit, TFileExit)
  explicit TVoxFileExit(TComponent* owner);
};

// --- Search actions --------------------------------------------------------------------------------
// The base publishes no wide text.
class TVoxSearchAction : public TVoxStdActionOf<TSearchAction> {
  DECLARE_CLASS(TVoxSearchAction, TSearchAction)
  explicit TVoxSearchAction(TComponent* owner);
};

class TVoxSearchFind : public TVoxStdActionOf<TSearchFind> {
  DECLARE_CLASS(TVoxSearchFind, TSearchFind)
  explicit TVoxSearchFind(TComponent* owner);
};

class TVoxSearchReplace : public TVoxStdActionOf<TSearchReplace> {
  DECLARE_CLASS(TVoxSearchReplace, TSearchReplace)
  explicit TVoxSearchReplace(TComponent* owner);
};

class TVoxSearchFindFirst : public TVoxStdActionOf<TSearchFindFirst> {
  DECLARE_CLASS(TVoxSearchFindFirst, TSearchFindFirst)
  explicit TVoxSearchFindFirst(TComponent* owner);
};

class TVoxSearchFindNext : public TVoxStdActionOf<TSearchFindNext> {
  DECLARE_CLASS(TVoxSearchFindNext, TSearchFindNext)
  explicit TVoxSearchFindNext(TComponent* owner);
};

// --- Dialogs of fonts, colours and printing --------------------------------------------------------
class TVoxFontEdit : public TVoxStdActionOf<TFontEdit> {
  DECLARE_CLASS(TVoxFontEdit, TFontEdit)
  explicit TVoxFontEdit(TComponent* owner);
};

class TVoxColorSelect : public TVoxStdActionOf<TColorSelect> {
  DECLARE_CLASS(TVoxColorSelect, TColorSelect)
  explicit TVoxColorSelect(TComponent* owner);
};

class TVoxPrintDlg : public TVoxStdActionOf<TPrintDlg> {
  DECLARE_CLASS(TVoxPrintDlg, TPrintDlg)
  explicit TVoxPrintDlg(TComponent* owner);
};
