// TKxFontComboBox: the installed fonts in a framed combo box, with what it
// shares with the font list box in TKxFontListCore.
#include "kx/controls/KxCmboBx.h"

TKxFontComboBox::TKxFontComboBox(TComponent* owner) : TKxCustomComboBox(owner), TKxFontListCore(this, true) {
  SetStyle(csOwnerDrawFixed);
  SetSorted(true);
  SetDropDownCount(14);
  InitFontList(owner);
}

POINT TKxFontComboBox::PreviewPlace() {
  POINT origin = ClientToScreen(POINT{0, 0});
  int width = GetDropDownWidth() != 0 ? GetDropDownWidth() : GetWidth();
  return POINT{origin.x + width - 1, origin.y};
}

void TKxFontComboBox::CreateWnd() {
  inherited::CreateWnd();
  FontWindowMade();
}

void TKxFontComboBox::DestroyWnd() {
  FontWindowGoing();
  inherited::DestroyWnd();
}

void TKxFontComboBox::SetFontSize(int value) {
  TKxFontListCore::SetFontSize(value);
  SelectedFontObject()->SetSize(value);
}

void TKxFontComboBox::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  RecreateWnd();
}

void TKxFontComboBox::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  FontNotification(component, operation);
}

void TKxFontComboBox::DropDown() {
  UpdatePreviewText();
  inherited::DropDown();
  if (GetShowStyle() == ssFontPreview) ShowPreviewPanel();
}

void TKxFontComboBox::CloseUp() {
  inherited::CloseUp();
  if (GetShowStyle() == ssFontPreview) HidePreviewPanel();
  AddFontToMRUList();
}

void TKxFontComboBox::CMHidePreviewPanel(TMessage& m) {
  DefaultHandler(m);
  HidePreviewPanel();
}

void TKxFontComboBox::Dispatch(TMessage& m) {
  if (m.Msg == CM_HIDEPREVIEWPANEL) {
    CMHidePreviewPanel(m);
    return;
  }
  FontCancelMode(m);
  inherited::Dispatch(m);
}

void TKxFontComboBox::CNDrawItem(TMessage& m) {
  IndentFontItem(m);
  inherited::CNDrawItem(m);
}

void TKxFontComboBox::DrawItem(int index, TRect rect, TOwnerDrawState state) {
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  DrawFontItem(GetCanvas(), GetItemHeight(), index, rect, state);
}

PUBLISHED(TKxFontComboBox) {
  using T = TKxFontComboBox;
  TKxComboPublishing o;
  o.Style = csOwnerDrawFixed;
  o.DropDownCount = 14;
  o.Sorted = true;
  o.Items = false;
  PublishKxComboBoxProps(p, o);
  PublishKxFontListProps(p, true);
  // Last: the list it picks from follows the settings above.
  p.Prop("FontName", &T::GetFontName, &T::SetFontName);
}
