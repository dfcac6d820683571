#include "classlib/comctrls/ComCtrlsUnit.h"

#include "classlib/ComCtrls.h"

void InitializeComCtrls() {
  // The common controls' window classes (the image lists' start-up has
  // loaded the library; the header and hot key need their classes
  // registered).
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterClasses({THeaderControl::StaticClass(), THotKey::StaticClass(), TRichEdit::StaticClass()});
}

void FinalizeComCtrls() { FreeRichEditModule(); }
