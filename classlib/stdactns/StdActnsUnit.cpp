#include "classlib/stdactns/StdActnsUnit.h"

#include "classlib/StdActns.h"

void InitializeStdActns() {
  RegisterClasses({TEditCut::StaticClass(), TEditCopy::StaticClass(), TEditPaste::StaticClass(),
                   TEditSelectAll::StaticClass(), TEditUndo::StaticClass(), TEditDelete::StaticClass(),
                   THelpContents::StaticClass(), THelpTopicSearch::StaticClass(), THelpOnHelp::StaticClass(),
                   THelpContextAction::StaticClass(), TFileOpen::StaticClass(), TFileOpenWith::StaticClass(),
                   TFileSaveAs::StaticClass(), TFilePrintSetup::StaticClass(), TFileExit::StaticClass(),
                   TSearchFind::StaticClass(), TSearchFindFirst::StaticClass(), TSearchFindNext::StaticClass(),
                   TSearchReplace::StaticClass(), TFontEdit::StaticClass(), TColorSelect::StaticClass(),
                   TPrintDlg::StaticClass()});
  RegisterWindowActions();
}
