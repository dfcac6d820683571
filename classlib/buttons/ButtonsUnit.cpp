#include "classlib/buttons/ButtonsUnit.h"

#include "classlib/Buttons.h"

void InitializeButtons() { RegisterClasses({TSpeedButton::StaticClass()}); }
