// TKxColorEdit: a colour swatch in an edit's frame, chosen from the
// colour picker in a pop-up panel.
#include "kx/controls/KxColorPicker.h"
#include "kx/controls/KxEdit.h"
#include "kx/controls/KxPopups.h"
#include "classlib/Scopes.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"

TKxColorEdit::TKxColorEdit(TComponent* owner) : TKxCustomEdit(owner) {
  SetControlStyle(GetControlStyle() - TControlStyle{csDoubleClicks});
  SetDropButtonVisible(true);
  SetParentColor(false);
}

void TKxColorEdit::SetCustomColors(TKxCustomColors* value) {
  if (customColors_ == value) return;
  customColors_ = value;
  if (value) value->FreeNotification(this);
}

void TKxColorEdit::SetSelectedColor(TColor value) {
  if (selectedColor_ == value) return;
  selectedColor_ = value;
  Invalidate();
}

void TKxColorEdit::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == customColors_) customColors_ = nullptr;
}

void TKxColorEdit::DropDown() {
  inherited::DropDown();
  DisplayColorPicker();
}

void TKxColorEdit::DisplayColorPicker() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return;
  Owned<TKxPopupPanel> panel(New<TKxPopupPanel>(nullptr));
  panel->SetParent(form);
  panel->GetFont()->SetName(GetFont()->GetName());
  auto* picker = New<TKxColorPicker>(panel.get());
  picker->SetParent(panel.get());
  picker->SetNoColorCaption(noColorCaption_);
  picker->SetShowNoColor(showNoColor_);
  picker->SetCustomColorCaption(customColorCaption_);
  picker->SetDefaultColorCaption(defaultColorCaption_);
  picker->SetShowCustomColor(showCustomColor_);
  picker->SetShowDefaultColor(showDefaultColor_);
  picker->SetShowSystemColors(showSystemColors_);
  picker->SetShowColorHints(showColorHints_);
  picker->SetCustomColor(customColor_);
  picker->SetDefaultColor(defaultColor_);
  picker->SetSelectedColor(selectedColor_);
  picker->SetCustomColors(customColors_);
  picker->SetColorDlgOptions(colorDlgOptions_);
  ApplyPickerFrame(picker);
  picker->OnClick = TNotifyEvent(panel.get(), &TKxPopupPanel::Close);
  if (panel->Popup(this)) {
    SetSelectedColor(picker->GetSelectedColor());
    customColor_ = picker->GetCustomColor();
    SetCustomColors(picker->GetCustomColors());
    Change();
  }
}

void TKxColorEdit::WndProc(TMessage& m) {
  // The keyboard has nothing to type here: only Alt+Down (the drop-down)
  // gets through; a right press opens no menu.
  constexpr UINT firstKey = WM_KEYDOWN, lastKey = 0x0108;
  const bool key = m.Msg >= firstKey && m.Msg <= lastKey;
  const bool altDown = m.Msg == WM_SYSKEYDOWN && m.WParam == VK_DOWN && (m.LParam & (1 << 29));
  if ((key || m.Msg == WM_RBUTTONDOWN) && !altDown) return;
  inherited::WndProc(m);
}

void TKxColorEdit::WMNCHitTest(TMessage& m) {
  inherited::WMNCHitTest(m);
  // The whole face opens the picker.
  SetMouseOverButton(true);
}

void TKxColorEdit::WMLButtonDown(TMessage& m) {
  inherited::WMLButtonDown(m);
  if (!HandleAllocated()) return;
  HideCaret(GetWindowHandle());
  if (GetCapture() == GetWindowHandle()) ReleaseCapture();
}

void TKxColorEdit::WMSetFocus(TMessage& m) {
  inherited::WMSetFocus(m);
  HideCaret(GetWindowHandle());
  Invalidate();
}

void TKxColorEdit::WMKillFocus(TMessage& m) {
  inherited::WMKillFocus(m);
  if (!GetDroppedDown()) Invalidate();
}

void TKxColorEdit::WMPaint(TMessage& m) {
  TWMPaint pm(m);
  if (pm.DC()) {
    PaintSwatch(pm.DC());
    return;
  }
  TPaintDC paint(GetWindowHandle());
  PaintSwatch(paint.Get());
}

void TKxColorEdit::PaintSwatch(HDC dc) {
  TCanvas* canvas = FrameCanvas();
  TCanvasPaintScope scope(canvas, dc);
  TRect box = GetClientRect();
  InflateRect(&box, -2, -2);
  const bool active = Focused() || GetDroppedDown();
  if (selectedColor_ == clNone) {
    // No colour: a hatched box, darker while the edit is in use.
    TColor ink = active ? clBtnShadow : clBtnFace;
    canvas->GetPen()->SetColor(ink);
    canvas->GetBrush()->SetColor(ink);
    canvas->GetBrush()->SetStyle(bsBDiagonal);
    canvas->Rectangle(box);
    canvas->GetBrush()->SetStyle(bsSolid);
  } else {
    RECT inside = box;
    DrawEdge(dc, &inside, BDR_RAISEDOUTER, BF_RECT | BF_ADJUST | BF_FLAT);
    canvas->GetBrush()->SetColor(selectedColor_);
    canvas->FillRect(inside);
  }
  if (active) canvas->DrawFocusRect(box);
}

PUBLISHED(TKxColorEdit) {
  using C = TKxColorEdit;
  PublishControlProps(p, {"Anchors", "BiDiMode"});
  p.Prop("ColorDlgOptions", &C::GetColorDlgOptions, &C::SetColorDlgOptions)
      .Default(TColorDialogOptions{cdFullOpen});
  PublishKxColor(p);
  PublishControlProps(p, {"Constraints", "Ctl3D"});
  p.Prop("CustomColor", &C::GetCustomColor, &C::SetCustomColor).Default(clWhite).Type(TColorTypeInfo());
  p.Prop("CustomColorCaption", &C::GetCustomColorCaption, &C::SetCustomColorCaption);
  p.Prop("CustomColors", &C::GetCustomColors, &C::SetCustomColors);
  p.Prop("DefaultColor", &C::GetDefaultColor, &C::SetDefaultColor).Default(clHighlight).Type(TColorTypeInfo());
  p.Prop("DefaultColorCaption", &C::GetDefaultColorCaption, &C::SetDefaultColorCaption);
  PublishKxDisabledColor(p);
  PublishControlProps(p, {"DragCursor", "DragKind", "DragMode", "Enabled"});
  PublishKxFlatButtons(p);
  PublishKxFocusColor(p);
  PublishControlProps(p, {"Font"});
  PublishKxFrameProps(p);
  p.Prop("NoColorCaption", &C::GetNoColorCaption, &C::SetNoColorCaption);
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("SelectedColor", &C::GetSelectedColor, &C::SetSelectedColor).Default(clNone).Type(TColorTypeInfo());
  p.Prop("ShowColorHints", &C::GetShowColorHints, &C::SetShowColorHints).Default(true);
  p.Prop("ShowCustomColor", &C::GetShowCustomColor, &C::SetShowCustomColor).Default(false);
  p.Prop("ShowDefaultColor", &C::GetShowDefaultColor, &C::SetShowDefaultColor).Default(false);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("ShowNoColor", &C::GetShowNoColor, &C::SetShowNoColor).Default(false);
  p.Prop("ShowSystemColors", &C::GetShowSystemColors, &C::SetShowSystemColors).Default(false);
  PublishControlProps(p, {"TabOrder"});
  p.Prop("TabStop", &C::GetTabStop, &C::SetTabStop).Default(true);
  PublishControlProps(p, {"Visible"});
  p.Prop("OnChange", &C::GetOnChange, &C::SetOnChange);
  PublishControlProps(p, {"OnClick"});
  p.Prop("OnCloseUp", &C::GetOnCloseUp, &C::SetOnCloseUp);
  p.Prop("OnDropDown", &C::GetOnDropDown, &C::SetOnDropDown);
  PublishControlProps(p, {"OnEnter", "OnExit"});
  PublishKxMouseEvents(p);
}
