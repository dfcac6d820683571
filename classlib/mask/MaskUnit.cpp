#include "classlib/mask/MaskUnit.h"

#include "classlib/Mask.h"

void InitializeMask() { RegisterClasses({TMaskEdit::StaticClass()}); }
