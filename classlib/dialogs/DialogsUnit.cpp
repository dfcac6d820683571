#include "classlib/dialogs/DialogsUnit.h"

#include "classlib/Dialogs.h"

void InitializeDialogs() {
  RegisterClasses({TColorDialog::StaticClass(), TOpenDialog::StaticClass(), TSaveDialog::StaticClass(),
                   TFontDialog::StaticClass(), TFindDialog::StaticClass(), TReplaceDialog::StaticClass(),
                   TPrintDialog::StaticClass(), TPrinterSetupDialog::StaticClass()});
}
