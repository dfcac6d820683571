#include "classlib/forms/DockForm.h"

IMPLEMENT_CLASS(TCustomDockForm)

TCustomDockForm::TCustomDockForm(TComponent* owner) : TCustomForm(owner, 0) {
  SetBorderStyle(bsSizeToolWin);
  SetFormStyle(fsStayOnTop);
  SetDockSite(true);
}

void TCustomDockForm::DoAddDockClient(TControl* client, const RECT& rect) {
  inherited::DoAddDockClient(client, rect);
  client->SetAlign(alClient);
  SetCaption(client->GetCaption());
}

void TCustomDockForm::DoRemoveDockClient(TControl* client) {
  inherited::DoRemoveDockClient(client);
  if (client->GetAlign() == alClient) client->SetAlign(alNone);
  // Empty, the host has no more use.
  if (GetDockClientCount() == 0 && !IsDestroying()) {
    Hide();
    Release();
  }
}

void TCustomDockForm::GetSiteInfo(TControl* client, RECT& influenceRect, POINT mousePos, bool& canDock) {
  // One control per floating host.
  canDock = GetDockClientCount() == 0;
  inherited::GetSiteInfo(client, influenceRect, mousePos, canDock);
}

void TCustomDockForm::Dispatch(TMessage& m) {
  if (m.Msg == WM_NCLBUTTONDOWN && m.WParam == HTCAPTION && GetDockClientCount() > 0 && !IsIconic(GetHandle())) {
    // The caption drags the control, not the window: a dock drag that
    // begins once the mouse has moved.
    SetFocus();
    GetDockClients(0)->BeginDrag(false);
    m.Result = 0;
    return;
  }
  inherited::Dispatch(m);
}
