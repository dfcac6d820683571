#include "classlib/forms/FormsHooks.h"

#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "classlib/forms/Application.h"
#include "classlib/forms/Screen.h"

void FillFormsHooks() {
  auto& h = ControlsHooks();
  h.AsForm = [](TControl* c) { return dynamic_cast<TCustomForm*>(c); };
  h.FormControl = [](TCustomForm* f) -> TWinControl* { return f; };
  h.SetFocusedControl = [](TCustomForm* f, TWinControl* c) { return f->SetFocusedControl(c); };
  h.FocusControl = [](TCustomForm* f, TWinControl* c) { f->FocusControl(c); };
  h.DefocusControl = [](TCustomForm* f, TWinControl* c, bool removing) { f->DefocusControl(c, removing); };
  h.WantChildKey = [](TCustomForm* f, TControl* child, TMessage& m) { return f->WantChildKey(child, m); };
  h.KeyPreview = [](TCustomForm* f) { return f->GetKeyPreview(); };
  h.SendCancelMode = [](TCustomForm* f, TControl* sender) { f->SendCancelMode(sender); };
  h.HandleException = [](TObject* sender) {
    if (Application) Application->HandleException(sender);
  };
  h.ControlDestroyed = [](TControl* c) {
    if (Application) Application->ControlDestroyed(c);
  };
  h.HintMouseMessage = [](TControl* c, TMessage& m) {
    if (Application) Application->HintMouseMessage(c, m);
  };
  h.HintShortCuts = [] { return Application && Application->GetHintShortCuts(); };
  h.ExecuteAction = [](TBasicAction* a) { return Application && Application->ExecuteAction(a); };
  h.UpdateAction = [](TBasicAction* a) { return Application && Application->UpdateAction(a); };
  h.ApplicationHandle = []() -> HWND { return Application ? Application->GetHandle() : nullptr; };
  h.ScreenCursor = [] { return Screen ? Screen->GetCursor() : crDefault; };
  h.CursorHandle = [](TCursor c) -> HCURSOR { return Screen ? Screen->GetCursors(c) : nullptr; };
  h.ImageListComponent = [](TCustomImageList* images) -> TComponent* { return images; };
  // The Menus unit's IsMenuKey asks the form after the pop-up menus.
  auto& m = MenusHooks();
  m.FormIsShortCut = [](TCustomForm* f, TMessage& key) { return f->IsShortCut(key); };
  m.SetApplicationHint = [](const std::string& hint) {
    if (Application) Application->SetHint(hint);
  };
  m.MenuFont = []() -> TFont* { return Screen ? Screen->GetMenuFont() : nullptr; };
}

void ClearFormsHooks() {
  auto& h = ControlsHooks();
  h.AsForm = nullptr;
  h.FormControl = nullptr;
  h.SetFocusedControl = nullptr;
  h.FocusControl = nullptr;
  h.DefocusControl = nullptr;
  h.WantChildKey = nullptr;
  h.SendCancelMode = nullptr;
  h.HandleException = nullptr;
  h.ControlDestroyed = nullptr;
  h.HintMouseMessage = nullptr;
  h.KeyPreview = nullptr;
  h.HintShortCuts = nullptr;
  h.ExecuteAction = nullptr;
  h.UpdateAction = nullptr;
  h.ApplicationHandle = nullptr;
  h.ScreenCursor = nullptr;
  h.CursorHandle = nullptr;
  h.ImageListComponent = nullptr;
  MenusHooks() = TMenusHooks{};
}
