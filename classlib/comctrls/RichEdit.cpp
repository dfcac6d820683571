#include "classlib/comctrls/RichEdit.h"

#include <richedit.h>

#include "classlib/stdctrls/StdCtrlsPublish.h"

namespace {
HMODULE RichEditModule = nullptr;
constexpr const char* SRichEditModuleName = "RICHED32.DLL";
constexpr const char* SRichEditClass = "RICHEDIT";
}  // namespace

void FreeRichEditModule() {
  if (RichEditModule) FreeLibrary(RichEditModule);
  RichEditModule = nullptr;
}

PUBLISHED(TRichEdit) {
  PublishControlProps(p, {"Align"});
  p.Prop("Alignment", &TRichEdit::GetAlignment, &TRichEdit::SetAlignment).Default(taLeftJustify);
  PublishControlProps(p, {"Anchors", "BiDiMode"});
  p.Prop("BorderStyle", &TRichEdit::GetBorderStyle, &TRichEdit::SetBorderStyle).Default(bsSingle);
  PublishColor(p, clWindow);
  PublishControlProps(p, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled", "Font"});
  p.Prop("HideSelection", &TRichEdit::GetHideSelection, &TRichEdit::SetHideSelection).Default(true);
  p.Prop("HideScrollBars", &TRichEdit::GetHideScrollBars, &TRichEdit::SetHideScrollBars).Default(true);
  PublishControlProps(p, {"ImeMode", "ImeName"});
  p.Prop("Lines", &TRichEdit::GetLines, &TRichEdit::SetLines);
  p.Prop("MaxLength", &TRichEdit::GetMaxLength, &TRichEdit::SetMaxLength).Default(0);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint"});
  p.Prop("PlainText", &TRichEdit::GetPlainText, &TRichEdit::SetPlainText).Default(false);
  PublishControlProps(p, {"PopupMenu"});
  p.Prop("ReadOnly", &TRichEdit::GetReadOnly, &TRichEdit::SetReadOnly).Default(false);
  p.Prop("ScrollBars", &TRichEdit::GetScrollBars, &TRichEdit::SetScrollBars).Default(ssNone);
  PublishControlProps(p, {"ShowHint", "TabOrder"});
  p.Prop("TabStop", &TRichEdit::GetTabStop, &TRichEdit::SetTabStop).Default(true);
  PublishControlProps(p, {"Visible"});
  p.Prop("WantTabs", &TRichEdit::GetWantTabs, &TRichEdit::SetWantTabs).Default(false);
  p.Prop("WantReturns", &TRichEdit::GetWantReturns, &TRichEdit::SetWantReturns).Default(true);
  p.Prop("WordWrap", &TRichEdit::GetWordWrap, &TRichEdit::SetWordWrap).Default(true);
  p.Prop("OnChange", &TRichEdit::GetOnChange, &TRichEdit::SetOnChange);
  PublishControlProps(p, {"OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter",
                          "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseMove",
                          "OnMouseUp"});
  p.Prop("OnSelectionChange", &TRichEdit::GetOnSelectionChange, &TRichEdit::SetOnSelectionChange);
  PublishControlProps(p, {"OnStartDock", "OnStartDrag"});
}
IMPLEMENT_CLASS(TCustomRichEdit)

TCustomRichEdit::TCustomRichEdit(TComponent* owner) : TCustomMemo(owner) {}

void TCustomRichEdit::SetHideScrollBars(bool v) {
  if (hideScrollBars_ == v) return;
  hideScrollBars_ = v;
  RecreateWnd();
}

void TCustomRichEdit::CreateParams(TCreateParams& params) {
  if (!RichEditModule) RichEditModule = LoadLibraryA(SRichEditModuleName);
  inherited::CreateParams(params);
  CreateSubClass(params, SRichEditClass);
  if (!hideScrollBars_) params.Style |= ES_DISABLENOSCROLL;
  // The rich edit paints its own background.
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomRichEdit::CreateWnd() {
  inherited::CreateWnd();
  // Changes, selection changes and the rest of the usual notifications.
  SendMessageA(GetWindowHandle(), EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE | ENM_PROTECTED);
  // The window's background in the control's colour.
  SendMessageA(GetWindowHandle(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(GetColor())));
}

void TCustomRichEdit::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY: CNNotify(m); return;
    case CM_COLORCHANGED:
      inherited::Dispatch(m);
      if (HandleAllocated())
        SendMessageA(GetWindowHandle(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(GetColor())));
      return;
    default: inherited::Dispatch(m);
  }
}

void TCustomRichEdit::CNNotify(TMessage& m) {
  auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
  if (hdr && hdr->code == EN_SELCHANGE) SelectionChange();
  m.Result = 0;
}

void TCustomRichEdit::SelectionChange() {
  if (OnSelectionChange) OnSelectionChange(this);
}
