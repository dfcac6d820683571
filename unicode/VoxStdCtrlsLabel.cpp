// The wide label: its wide caption kept in the caption holder (a label has
// no window), drawn and measured with DrawTextW.
#include "classlib/stdctrls/StdCtrlsTables.h"
#include "unicode/VoxForms.h"
#include "unicode/VoxStdCtrls.h"
#include "unicode/VoxSysUtils.h"

namespace {

// DrawTextW with the label's font; a disabled label embossed as the class
// library draws it (highlight one pixel down and right, shadow on top).
void DrawWideControlText(TCanvas* canvas, const std::wstring& text, TRect& rect, UINT flags, bool enabled) {
  int len = static_cast<int>(text.size());
  if (!enabled) {
    OffsetRect(&rect, 1, 1);
    canvas->GetFont()->SetColor(clBtnHighlight);
    DrawTextW(canvas->GetHandle(), text.c_str(), len, &rect, flags);
    OffsetRect(&rect, -1, -1);
    canvas->GetFont()->SetColor(clBtnShadow);
  }
  DrawTextW(canvas->GetHandle(), text.c_str(), len, &rect, flags);
}

}  // namespace

void VoxLabel_DoDrawText(TCustomLabel* label, TRect& rect, UINT flags, const std::wstring& labelText) {
  std::wstring text = labelText;
  // An empty text, or a lone accelerator mark, still measures one line.
  if ((flags & DT_CALCRECT) && (text.empty() || (label->GetShowAccelChar() && text == L"&"))) text += L' ';
  if (!label->GetShowAccelChar()) flags |= DT_NOPREFIX;
  flags = label->DrawTextBiDiModeFlags(flags);
  // Wrapping between two full-width characters would split a word of an
  // East Asian text that has no spaces.
  if (flags & DT_WORDBREAK) flags |= DT_NOFULLWIDTHCHARBREAK;
  TCanvas* canvas = label->GetCanvas();
  canvas->SetFont(label->GetFont());
  DrawWideControlText(canvas, text, rect, flags, label->GetEnabled());
}

IMPLEMENT_CLASS(TVoxCustomLabel)

TVoxCustomLabel::TVoxCustomLabel(TComponent* owner) : TVoxControlOf(owner) {}

void TVoxCustomLabel::DoDrawText(TRect& rect, UINT flags) {
  if (!Win32PlatformIsUnicode) {
    inherited::DoDrawText(rect, flags);
    return;
  }
  VoxLabel_DoDrawText(this, rect, flags, GetWideLabelText());
}

void TVoxCustomLabel::Dispatch(TMessage& m) {
  // The hint window shows the wide hint of a windowless control too.
  if (m.Msg == CM_HINTSHOW) ProcessCMHintShowMsg(m);
  inherited::Dispatch(m);
}

void TVoxCustomLabel::CMDialogChar(TMessage& m) {
  TWinControl* focusControl = GetFocusControl();
  if (focusControl && GetEnabled() && GetShowAccelChar() && IsWideCharAccel(TWMKey(m).CharCode(), GetCaption()) &&
      focusControl->CanFocus()) {
    focusControl->SetFocus();
    m.Result = 1;
  }
}

PUBLISHED(TVoxLabel) {
  PublishLabelTable(p);
  PublishWideCaption(p);
  PublishWideHint(p);
}
