// The link between an action and a control: the control follows the
// action's caption, enabled state, hint, help context, visibility and
// OnExecute while it still shows the action's value.
#pragma once

#include "classlib/ActnList.h"
#include "classlib/controls/Control.h"

class TControlActionLink : public TActionLink {
  DECLARE_CLASS(TControlActionLink, TActionLink)
  using TActionLink::TActionLink;

  TControl* GetClient() const { return client_; }

  bool IsCaptionLinked() override;
  bool IsEnabledLinked() override;
  bool IsHelpContextLinked() override;
  bool IsHintLinked() override;
  bool IsVisibleLinked() override;
  bool IsOnExecuteLinked() override;
  void SetCaption(const std::string& v) override;
  void SetEnabled(bool v) override;
  void SetHelpContext(int v) override;
  void SetHint(const std::string& v) override;
  void SetVisible(bool v) override;
  void SetOnExecute(TNotifyEvent v) override;

 protected:
  void AssignClient(TObject* client) override;
  TControl* client_ = nullptr;
};

class TWinControlActionLink : public TControlActionLink {
  DECLARE_CLASS(TWinControlActionLink, TControlActionLink)
  using TControlActionLink::TControlActionLink;
};
