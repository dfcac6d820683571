// What the standard controls ask of the form they sit on.
//
// Surface for component writers (a button or container reaches its form's
// ModalResult and ActiveControl with these): include it directly; it changes
// only as the unit headers do.
#pragma once

#include "classlib/Controls.h"
#include "classlib/forms/FormTypes.h"

// Sets the ModalResult of the control's parent form (nothing without one).
void SetParentFormModalResult(TControl* control, TModalResult result);
// The ActiveControl of the control's parent form, or null.
TWinControl* ParentFormActiveControl(TControl* control);
// The platform's TWinControl.SelectFirst: the first control in container's
// tab order (a tab stop if there is one) becomes its form's ActiveControl.
void SelectFirst(TWinControl* container);
