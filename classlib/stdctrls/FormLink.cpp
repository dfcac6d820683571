#include "classlib/stdctrls/FormLink.h"

#include "classlib/Forms.h"

void SetParentFormModalResult(TControl* control, TModalResult result) {
  if (TCustomForm* form = GetParentForm(control)) form->SetModalResult(result);
}

TWinControl* ParentFormActiveControl(TControl* control) {
  TCustomForm* form = GetParentForm(control);
  return form ? form->GetActiveControl() : nullptr;
}

void SelectFirst(TWinControl* container) {
  TCustomForm* form = GetParentForm(container);
  if (!form) return;
  TWinControl* first = container->FindNextControl(nullptr, true, true, false);
  if (!first) first = container->FindNextControl(nullptr, true, false, false);
  if (first) form->SetActiveControl(first);
}
