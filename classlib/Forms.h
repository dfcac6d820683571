// The Forms unit: scrolling controls and the scroll box, forms, the application, the screen,
// hint windows and the unit's start-up.
#pragma once

#include "classlib/forms/Application.h"
#include "classlib/forms/DockForm.h"
#include "classlib/forms/Form.h"
#include "classlib/forms/FormTypes.h"
#include "classlib/forms/FormsUnit.h"
#include "classlib/forms/Frame.h"
#include "classlib/forms/HintWindow.h"
#include "classlib/forms/Screen.h"
#include "classlib/forms/ScrollBox.h"
#include "classlib/forms/ScrollingWinControl.h"
