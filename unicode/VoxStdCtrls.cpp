#include "unicode/VoxStdCtrls.h"

void InitializeVoxStdCtrls() { RegisterClasses({TVoxEdit::StaticClass(), TVoxLabel::StaticClass()}); }
