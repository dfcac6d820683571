// TCustomDockForm: the floating host of a docked control that was dropped
// away from every dock site. A small tool window, always on top, holding
// its one control client-aligned; a drag of its caption is a dock drag of
// that control (so it can be docked again), and it frees itself once the
// control has left.
#pragma once

#include "classlib/forms/Form.h"

class TCustomDockForm : public TCustomForm {
  DECLARE_CLASS(TCustomDockForm, TCustomForm)

  explicit TCustomDockForm(TComponent* owner);

  void DoAddDockClient(TControl* client, const RECT& rect) override;
  void DoRemoveDockClient(TControl* client) override;
  void GetSiteInfo(TControl* client, RECT& influenceRect, POINT mousePos, bool& canDock) override;
  void Dispatch(TMessage& m) override;
};
