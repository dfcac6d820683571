#include "classlib/dialogs/DialogsUnit.h"

#include "classlib/Dialogs.h"

void InitializeDialogs() { RegisterClasses({TColorDialog::StaticClass()}); }
