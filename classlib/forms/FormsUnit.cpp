#include "classlib/forms/FormsUnit.h"
#include "classlib/forms/FormsHooks.h"

#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "classlib/classes/Filer.h"
#include "classlib/forms/Application.h"
#include "classlib/forms/DockForm.h"
#include "classlib/forms/ScrollBox.h"
#include "classlib/forms/Screen.h"

namespace {
int gFindGlobalId = 0;

// Stored references to another form ("Form2.Button1") find it by name.
TComponent* FindGlobalForm(const std::string& name) {
  if (!Screen) return nullptr;
  for (int i = 0; i < Screen->GetCustomFormCount(); ++i) {
    TCustomForm* f = Screen->GetCustomForms(i);
    if (SameName(f->GetName(), name)) return f;
  }
  return nullptr;
}
}  // namespace

void InitializeForms() {
  FillFormsHooks();
  Screen = New<TScreen>(nullptr);
  Application = New<TApplication>(nullptr);
  Application->SetShowHint(true);
  gFindGlobalId = RegisterFindGlobalComponentProc(FindGlobalForm);
  // Controls that float are hosted by dock forms unless they name a class.
  DefaultFloatingDockSiteClass = TCustomDockForm::StaticClass();
  RegisterClasses({TScrollBox::StaticClass()});
}

void FinalizeForms() {
  DefaultFloatingDockSiteClass = nullptr;
  UnregisterFindGlobalComponentProc(gFindGlobalId);
  // The globals stay set while each object tears down: its forms still ask
  // for the application and the screen.
  if (Application) {
    Application->Free();
    Application = nullptr;
  }
  if (Screen) {
    Screen->Free();
    Screen = nullptr;
  }
  ClearFormsHooks();
}
