#include "unicode/VoxStdActns.h"

#include "classlib/Seams.h"
#include "classlib/StdCtrls.h"

void VoxStdActn_AfterInherited_Assign(TCustomAction* action, TPersistent* source) {
  VoxAction_AfterInherited_Assign(action, source);
  if (auto *to = dynamic_cast<TCommonDialogAction*>(action), *from = dynamic_cast<TCommonDialogAction*>(source);
      to && from) {
    to->SetOnAccept(from->GetOnAccept());
    to->SetOnCancel(from->GetOnCancel());
    to->SetBeforeExecute(from->GetBeforeExecute());
  }
  if (auto *to = dynamic_cast<TFileOpenWith*>(action), *from = dynamic_cast<TFileOpenWith*>(source); to && from)
    to->SetFileName(from->GetFileName());
  if (auto *to = dynamic_cast<TSearchFindNext*>(action), *from = dynamic_cast<TSearchFindNext*>(source);
      to && from)
    to->SetSearchFind(from->GetSearchFind());
  if (auto *to = dynamic_cast<TWindowAction*>(action), *from = dynamic_cast<TWindowAction*>(source); to && from)
    to->SetForm(from->GetForm());
}

// A wide standard action publishing its wide Caption and Hint; one with
// none of its own (a base of others).
#define VOX_STD_ACTION(Self)           \
  PUBLISHED(Self) {                    \
    PublishWideActionCaption(p);       \
    PublishWideActionHint(p);          \
  }                                    \
  Self::Self(TComponent* owner) : Wide(owner) {}
#define VOX_STD_ACTION_BASE(Self) \
  IMPLEMENT_CLASS(Self)           \
  Self::Self(TComponent* owner) : Wide(owner) {}

PUBLISHED(TVoxHintAction) { PublishWideActionHint(p); }
TVoxHintAction::TVoxHintAction(TComponent* owner) : Wide(owner) {}

VOX_STD_ACTION(TVoxEditAction)
VOX_STD_ACTION(TVoxEditCut)
VOX_STD_ACTION(TVoxEditCopy)
VOX_STD_ACTION(TVoxEditPaste)
VOX_STD_ACTION(TVoxEditSelectAll)
VOX_STD_ACTION(TVoxEditUndo)
VOX_STD_ACTION(TVoxEditDelete)

void TVoxEditDelete::UpdateTarget(TObject*) { SetEnabled(true); }

void TVoxEditDelete::ExecuteTarget(TObject* target) {
  TCustomEdit* edit = GetControl(target);
  if (edit->GetSelLength() == 0) edit->SetSelLength(1);
  edit->ClearSelection();
}

VOX_STD_ACTION(TVoxWindowAction)
VOX_STD_ACTION(TVoxWindowClose)
VOX_STD_ACTION(TVoxWindowCascade)
VOX_STD_ACTION(TVoxWindowTileHorizontal)
VOX_STD_ACTION(TVoxWindowTileVertical)
VOX_STD_ACTION(TVoxWindowMinimizeAll)
VOX_STD_ACTION(TVoxWindowArrange)

VOX_STD_ACTION(TVoxHelpAction)
VOX_STD_ACTION(TVoxHelpContents)
VOX_STD_ACTION(TVoxHelpTopicSearch)
VOX_STD_ACTION(TVoxHelpOnHelp)
VOX_STD_ACTION(TVoxHelpContextAction)

VOX_STD_ACTION_BASE(TVoxCommonDialogAction)
VOX_STD_ACTION_BASE(TVoxFileAction)
// A wide file action with its wide dialog, published as the class
// library's action publishes its own.
#define VOX_FILE_ACTION(Self, Dialog)                                                        \
  PUBLISHED(Self) {                                                                          \
    p.Prop("Dialog", &Self::GetDialog, nullptr);                                            \
    PublishWideActionCaption(p);                                                             \
    PublishWideActionHint(p);                                                                \
  }                                                                                          \
  Self::Self(TComponent* owner) : Wide(owner) {}                                             \
  TClass Self::GetDialogClass() { return Dialog::StaticClass(); }                            \
  Dialog* Self::GetDialog() const { return static_cast<Dialog*>(GetCommonDialog()); }

VOX_FILE_ACTION(TVoxFileOpen, TVoxOpenDialog)
VOX_FILE_ACTION(TVoxFileOpenWith, TVoxOpenDialog)
VOX_FILE_ACTION(TVoxFileSaveAs, TVoxSaveDialog)

void TVoxFileOpenWith::ExecuteTarget(TObject* target) {
  if (!GetFileName().empty()) {
    inherited::ExecuteTarget(target);
    return;
  }
  // The dialog's ANSI name would carry "?" for every character outside
  // the code page, and the shell would be offered a file that does not
  // exist.
  TFileOpen::ExecuteTarget(target);
  if (!GetExecuteResult()) return;
  const std::wstring params = L"shell32.dll,OpenAs_RunDLL " + GetDialog()->GetFileName();
  HWND owner = Application ? Application->GetHandle() : nullptr;
  Seams().ShellExecuteW(owner, L"open", L"rundll32.exe", params.c_str(), nullptr, SW_SHOW);
}
VOX_STD_ACTION(TVoxFilePrintSetup)
VOX_STD_ACTION(TVoxFileExit)

VOX_STD_ACTION_BASE(TVoxSearchAction)
VOX_STD_ACTION(TVoxSearchFind)
VOX_STD_ACTION(TVoxSearchReplace)
VOX_STD_ACTION(TVoxSearchFindFirst)
VOX_STD_ACTION(TVoxSearchFindNext)

VOX_STD_ACTION(TVoxFontEdit)
VOX_STD_ACTION(TVoxColorSelect)
VOX_STD_ACTION(TVoxPrintDlg)
