#include "classlib/extctrls/ExtCtrlsUnit.h"

#include "classlib/ExtCtrls.h"

void InitializeExtCtrls() {
  RegisterClasses({TTimer::StaticClass(), TPanel::StaticClass(), TBevel::StaticClass(), TShape::StaticClass(),
                   TImage::StaticClass(), THeader::StaticClass(),
                   TControlBar::StaticClass()});
}
