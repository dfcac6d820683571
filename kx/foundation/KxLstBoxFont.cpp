// TKxFontListBox: the installed fonts in a framed list box, with what it
// shares with the font combo box in TKxFontListCore.
#include "kx/foundation/KxLstBox.h"
#include "kx/foundation/KxPreviewFontPanel.h"

TKxFontListBox::TKxFontListBox(TComponent* owner) : TKxCustomListBox(owner), TKxFontListCore(this, false) {
  SetStyle(lbOwnerDrawFixed);
  SetSorted(true);
  InitFontList(owner);
}

POINT TKxFontListBox::PreviewPlace() {
  POINT origin = ClientToScreen(POINT{0, 0});
  RECT window{};
  GetWindowRect(GetHandle(), &window);
  return POINT{window.right - 1, origin.y};
}

void TKxFontListBox::CreateWnd() {
  inherited::CreateWnd();
  FontWindowMade();
}

void TKxFontListBox::DestroyWnd() {
  FontWindowGoing();
  inherited::DestroyWnd();
}

void TKxFontListBox::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  RecreateWnd();
}

void TKxFontListBox::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  FontNotification(component, operation);
}

void TKxFontListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  UpdatePreviewText();
  inherited::MouseDown(button, shift, x, y);
  if (GetShowStyle() == ssFontPreview) ShowPreviewPanel();
}

void TKxFontListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseUp(button, shift, x, y);
  if (GetShowStyle() == ssFontPreview) HidePreviewPanel();
}

void TKxFontListBox::Dispatch(TMessage& m) {
  if (m.Msg == CM_HIDEPREVIEWPANEL) {
    DefaultHandler(m);
    HidePreviewPanel();
    return;
  }
  FontCancelMode(m);
  inherited::Dispatch(m);
}

void TKxFontListBox::CNDrawItem(TMessage& m) {
  IndentFontItem(m);
  inherited::CNDrawItem(m);
}

void TKxFontListBox::DefaultDrawItem(int index, TRect rect, TOwnerDrawState state) {
  DrawFontItem(GetCanvas(), GetItemHeight(), index, rect, state);
}

PUBLISHED(TKxFontListBox) {
  using T = TKxFontListBox;
  PublishKxListBoxProps(p);
  PublishKxFontListProps(p, false);
  // The list is the system's fonts: made, not stored.
  p.Prop("Items", &T::GetItems, &T::SetItems).Stored(false);
  p.Prop("Sorted", &T::GetSorted, &T::SetSorted).Default(true);
  p.Prop("Style", &T::GetStyle, &T::SetStyle).Default(lbOwnerDrawFixed);
  p.Prop("FontName", &T::GetFontName, &T::SetFontName);
}
