#include "classlib/comctrls/ComCtrlsUnit.h"

#include "classlib/ComCtrls.h"

void InitializeComCtrls() {
  // The common controls' window classes (the image lists' start-up has
  // loaded the library; the header, hot key, tool bar, pager and extended
  // combo box need their classes registered).
  INITCOMMONCONTROLSEX icc{sizeof icc,
                           ICC_WIN95_CLASSES | ICC_PAGESCROLLER_CLASS | ICC_BAR_CLASSES | ICC_USEREX_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterClasses({TComboBoxEx::StaticClass(), THeaderControl::StaticClass(), THotKey::StaticClass(),
                   TListView::StaticClass(), TRichEdit::StaticClass(),
                   TToolBar::StaticClass(), TToolButton::StaticClass(), TPageScroller::StaticClass()});
}

void FinalizeComCtrls() { FreeRichEditModule(); }
