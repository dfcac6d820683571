#include "classlib/controls/ControlActionLink.h"

IMPLEMENT_CLASS(TControlActionLink)
IMPLEMENT_CLASS(TWinControlActionLink)

void TControlActionLink::AssignClient(TObject* client) {
  client_ = dynamic_cast<TControl*>(client);
  if (!client_) throw EInvalidCast("Invalid class typecast");
}

bool TControlActionLink::IsCaptionLinked() {
  return inherited::IsCaptionLinked() && client_->GetCaption() == CustomAction()->GetCaption();
}
bool TControlActionLink::IsEnabledLinked() {
  return inherited::IsEnabledLinked() && client_->GetEnabled() == CustomAction()->GetEnabled();
}
bool TControlActionLink::IsHelpContextLinked() {
  return inherited::IsHelpContextLinked() && client_->GetHelpContext() == CustomAction()->GetHelpContext();
}
bool TControlActionLink::IsHintLinked() {
  return inherited::IsHintLinked() && client_->GetHint() == CustomAction()->GetHint();
}
bool TControlActionLink::IsVisibleLinked() {
  return inherited::IsVisibleLinked() && client_->GetVisible() == CustomAction()->GetVisible();
}
bool TControlActionLink::IsOnExecuteLinked() {
  return inherited::IsOnExecuteLinked() && GetAction() && client_->OnClick == GetAction()->GetOnExecute();
}

void TControlActionLink::SetCaption(const std::string& v) {
  if (IsCaptionLinked()) client_->SetCaption(v);
}
void TControlActionLink::SetEnabled(bool v) {
  if (IsEnabledLinked()) client_->SetEnabled(v);
}
void TControlActionLink::SetHelpContext(int v) {
  if (IsHelpContextLinked()) client_->SetHelpContext(v);
}
void TControlActionLink::SetHint(const std::string& v) {
  if (IsHintLinked()) client_->SetHint(v);
}
void TControlActionLink::SetVisible(bool v) {
  if (IsVisibleLinked()) client_->SetVisible(v);
}
void TControlActionLink::SetOnExecute(TNotifyEvent v) {
  if (IsOnExecuteLinked()) client_->OnClick = v;
}
