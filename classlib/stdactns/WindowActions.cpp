#include "classlib/stdactns/WindowActions.h"

#include <vector>

PUBLISHED(TWindowAction) {
  p.Prop("Form", static_cast<TForm* (TWindowAction::*)() const>(&TWindowAction::GetForm),
         &TWindowAction::SetForm);
}
IMPLEMENT_CLASS(TWindowClose)
IMPLEMENT_CLASS(TWindowCascade)
IMPLEMENT_CLASS(TWindowTileHorizontal)
IMPLEMENT_CLASS(TWindowTileVertical)
IMPLEMENT_CLASS(TWindowMinimizeAll)
IMPLEMENT_CLASS(TWindowArrange)

TWindowAction::TWindowAction(TComponent* owner) : TAction(owner) {
  // The form does the work: no OnExecute needed.
  SetDisableIfNoHandler(false);
  SetEnabled(IsDesigning());
}

void TWindowAction::SetForm(TForm* v) {
  if (form_ == v) return;
  if (form_) form_->RemoveFreeNotification(this);
  form_ = v;
  if (v) v->FreeNotification(this);
}

void TWindowAction::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == form_) form_ = nullptr;
}

TForm* TWindowAction::GetForm(TObject* target) { return static_cast<TForm*>(target); }

bool TWindowAction::HandlesTarget(TObject* target) {
  auto* form = dynamic_cast<TForm*>(target);
  if (!form || (form_ && form != form_)) return false;
  return form->GetFormStyle() == fsMDIForm;
}

void TWindowAction::UpdateTarget(TObject* target) { SetEnabled(GetForm(target)->GetMDIChildCount() > 0); }

void TWindowClose::ExecuteTarget(TObject* target) {
  if (TForm* child = GetForm(target)->GetActiveMDIChild()) child->Close();
}

void TWindowClose::UpdateTarget(TObject* target) { SetEnabled(GetForm(target)->GetActiveMDIChild() != nullptr); }

void TWindowCascade::ExecuteTarget(TObject* target) { GetForm(target)->Cascade(); }

void TWindowTileHorizontal::ExecuteTarget(TObject* target) {
  TForm* form = GetForm(target);
  form->SetTileMode(tbHorizontal);
  form->Tile();
}

void TWindowTileVertical::ExecuteTarget(TObject* target) {
  TForm* form = GetForm(target);
  form->SetTileMode(tbVertical);
  form->Tile();
}

void TWindowMinimizeAll::ExecuteTarget(TObject* target) {
  // Minimising one activates another, which moves that one to the front of
  // the children's order: the list is taken first, then run backwards.
  TForm* form = GetForm(target);
  std::vector<TForm*> children;
  for (int i = 0; i < form->GetMDIChildCount(); ++i) children.push_back(form->GetMDIChildren(i));
  for (auto it = children.rbegin(); it != children.rend(); ++it)
    if (*it) (*it)->SetWindowState(wsMinimized);
}

void TWindowArrange::ExecuteTarget(TObject* target) { GetForm(target)->ArrangeIcons(); }

void RegisterWindowActions() {
  RegisterClasses({TWindowClose::StaticClass(), TWindowCascade::StaticClass(),
                   TWindowTileHorizontal::StaticClass(), TWindowTileVertical::StaticClass(),
                   TWindowMinimizeAll::StaticClass(), TWindowArrange::StaticClass()});
}
