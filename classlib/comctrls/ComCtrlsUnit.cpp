#include "classlib/comctrls/ComCtrlsUnit.h"

#include "classlib/ComCtrls.h"

void InitializeComCtrls() {
  // The common controls' window classes (the image lists' start-up has
  // loaded the library; the header needs its own class registered).
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterClasses({THeaderControl::StaticClass()});
}
