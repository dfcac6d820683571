// TKxMemo, TKxRichEdit and TKxHotKeyEdit: the framed memo, rich edit and
// hot-key control.
#include "classlib/Forms.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"
#include "kx/controls/KxEdit.h"

namespace {

// The properties and events the memo and the rich edit add to their class
// library's ones.
template <class T>
void PublishLineColEvents(TPublisher<T>& p) {
  p.Prop("OnClipboardChange", &T::GetOnClipboardChange, &T::SetOnClipboardChange);
  p.Prop("OnLineColChange", &T::GetOnLineColChange, &T::SetOnLineColChange);
  PublishKxMouseEvents(p);
  PublishControlProps(p, {"OnMouseWheelDown", "OnMouseWheelUp"});
}

}  // namespace

// --- memo ----------------------------------------------------------------------------------------

PUBLISHED(TKxMemo) {
  using T = TKxMemo;
  PublishControlProps(p, {"Align"});
  p.Prop("Alignment", &T::GetAlignment, &T::SetAlignment).Default(taLeftJustify);
  PublishControlProps(p, {"Anchors", "BiDiMode"});
  p.Prop("BorderStyle", &T::GetBorderStyle, &T::SetBorderStyle).Default(bsSingle);
  PublishKxColor(p);
  PublishControlProps(p, {"Constraints", "Ctl3D"});
  PublishKxDisabledColor(p);
  PublishControlProps(p, {"DragCursor", "DragKind", "DragMode", "Enabled"});
  PublishKxFocusColor(p);
  PublishControlProps(p, {"Font"});
  PublishKxFrameProps(p);
  p.Prop("HideSelection", &T::GetHideSelection, &T::SetHideSelection).Default(true);
  PublishControlProps(p, {"ImeMode", "ImeName"});
  p.Prop("Lines", &T::GetLines, &T::SetLines);
  p.Prop("MaxLength", &T::GetMaxLength, &T::SetMaxLength).Default(0);
  p.Prop("OEMConvert", &T::GetOEMConvert, &T::SetOEMConvert).Default(false);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("ReadOnly", &T::GetReadOnly, &T::SetReadOnly).Default(false);
  p.Prop("ScrollBars", &T::GetScrollBars, &T::SetScrollBars).Default(ssNone);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("TabOnEnter", &T::GetTabOnEnter, &T::SetTabOnEnter).Default(false);
  PublishControlProps(p, {"TabOrder"});
  p.Prop("TabStop", &T::GetTabStop, &T::SetTabStop).Default(true);
  PublishControlProps(p, {"Visible"});
  p.Prop("WantReturns", &T::GetWantReturns, &T::SetWantReturns).Default(true);
  p.Prop("WantTabs", &T::GetWantTabs, &T::SetWantTabs).Default(false);
  p.Prop("WordWrap", &T::GetWordWrap, &T::SetWordWrap).Default(true);
  p.Prop("OnChange", &T::GetOnChange, &T::SetOnChange);
  PublishControlProps(p, {"OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock",
                          "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown",
                          "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
  PublishLineColEvents(p);
}

// --- rich edit -------------------------------------------------------------------------------------

PUBLISHED(TKxRichEdit) {
  using T = TKxRichEdit;
  PublishControlProps(p, {"Align"});
  p.Prop("Alignment", &T::GetAlignment, &T::SetAlignment).Default(taLeftJustify);
  PublishControlProps(p, {"Anchors", "BiDiMode"});
  p.Prop("BorderStyle", &T::GetBorderStyle, &T::SetBorderStyle).Default(bsSingle);
  PublishKxColor(p);
  PublishControlProps(p, {"Constraints", "Ctl3D"});
  PublishKxDisabledColor(p);
  PublishControlProps(p, {"DragCursor", "DragKind", "DragMode", "Enabled"});
  PublishKxFocusColor(p);
  PublishControlProps(p, {"Font"});
  PublishKxFrameProps(p);
  p.Prop("HideSelection", &T::GetHideSelection, &T::SetHideSelection).Default(true);
  p.Prop("HideScrollBars", &T::GetHideScrollBars, &T::SetHideScrollBars).Default(true);
  PublishControlProps(p, {"ImeMode", "ImeName"});
  p.Prop("Lines", &T::GetLines, &T::SetLines);
  p.Prop("MaxLength", &T::GetMaxLength, &T::SetMaxLength).Default(0);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint"});
  p.Prop("PlainText", &T::GetPlainText, &T::SetPlainText).Default(false);
  PublishControlProps(p, {"PopupMenu"});
  p.Prop("ReadOnly", &T::GetReadOnly, &T::SetReadOnly).Default(false);
  p.Prop("ScrollBars", &T::GetScrollBars, &T::SetScrollBars).Default(ssNone);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("TabOnEnter", &T::GetTabOnEnter, &T::SetTabOnEnter).Default(false);
  PublishControlProps(p, {"TabOrder"});
  p.Prop("TabStop", &T::GetTabStop, &T::SetTabStop).Default(true);
  PublishControlProps(p, {"Visible"});
  p.Prop("WantTabs", &T::GetWantTabs, &T::SetWantTabs).Default(false);
  p.Prop("WantReturns", &T::GetWantReturns, &T::SetWantReturns).Default(true);
  p.Prop("WordWrap", &T::GetWordWrap, &T::SetWordWrap).Default(true);
  p.Prop("OnChange", &T::GetOnChange, &T::SetOnChange);
  PublishControlProps(p, {"OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter",
                          "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove",
                          "OnMouseUp"});
  p.Prop("OnSelectionChange", &T::GetOnSelectionChange, &T::SetOnSelectionChange);
  PublishControlProps(p, {"OnStartDock", "OnStartDrag"});
  PublishLineColEvents(p);
}

void TKxRichEdit::SelectionChange() {
  inherited::SelectionChange();
  ClipboardChange();
}

void TKxRichEdit::CMEnabledChanged(TMessage&) {
  if (!GetEnabled() && GetParent()) RemoveFocus(false);
  if (HandleAllocated() && !IsDesigning()) {
    HWND h = GetWindowHandle();
    // EnableWindow(FALSE) would grey the text and the background; the
    // style bit alone stops the input and DisabledColor shows the state.
    if (GetEnabled()) EnableWindow(h, TRUE);
    else SetWindowLongA(h, GWL_STYLE, GetWindowLongA(h, GWL_STYLE) | WS_DISABLED);
  }
  UpdateColors();
}

// --- hot-key edit -----------------------------------------------------------------------------------

PUBLISHED(TKxHotKeyEdit) {
  using T = TKxHotKeyEdit;
  PublishControlProps(p, {"Anchors", "BiDiMode"});
  PublishKxColor(p);
  PublishControlProps(p, {"Constraints"});
  PublishKxDisabledColor(p);
  PublishControlProps(p, {"Enabled"});
  PublishKxFocusColor(p);
  PublishKxFrameProps(p);
  p.Prop("HotKey", &T::GetHotKey, &T::SetHotKey).Default(scAlt | 'A');
  p.Prop("InvalidKeys", &T::GetInvalidKeys, &T::SetInvalidKeys).Default(THKInvalidKeys{hcNone, hcShift});
  p.Prop("Modifiers", &T::GetModifiers, &T::SetModifiers).Default(THKModifiers{hkAlt});
  PublishControlProps(p, {"ParentBiDiMode", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder"});
  p.Prop("TabStop", &T::GetTabStop, &T::SetTabStop).Default(true);
  PublishControlProps(p, {"Visible", "OnContextPopup", "OnEnter", "OnExit", "OnMouseDown"});
  PublishKxMouseEvents(p);
  PublishControlProps(p, {"OnMouseMove", "OnMouseUp"});
}

TKxHotKeyEdit::TKxHotKeyEdit(TComponent* owner) : TKxFramedPlain<THotKey>(owner) { SetHeight(21); }
