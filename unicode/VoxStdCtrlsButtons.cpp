// The wide static text, buttons, check boxes, radio buttons, group boxes
// and scroll bars: Unicode windows of their system classes, wide captions
// and their accelerators.
#include "classlib/stdctrls/FormLink.h"
#include "classlib/stdctrls/StdCtrlsTables.h"
#include "unicode/VoxForms.h"
#include "unicode/VoxGraphics.h"
#include "unicode/VoxStdCtrls.h"
#include "unicode/VoxSysUtils.h"

namespace {

// CM_DIALOGCHAR of a wide caption control: its accelerator, while it can
// take the focus, does what the control's accelerator means and answers 1;
// anything else goes on to the controls inside it.
template <class Act>
void WideDialogChar(TWinControl* control, TMessage& m, const std::wstring& caption, Act act) {
  if (IsWideCharAccel(TWMKey(m).CharCode(), caption) && control->CanFocus()) {
    act();
    m.Result = 1;
    return;
  }
  control->TWinControl::CMDialogChar(m);
}

}  // namespace

// --- Static text ----------------------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxCustomStaticText)

TVoxCustomStaticText::TVoxCustomStaticText(TComponent* owner) : TVoxCaptionControlOf(owner) {}

void TVoxCustomStaticText::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, L"STATIC");
}

void TVoxCustomStaticText::CMDialogChar(TMessage& m) {
  WideDialogChar(this, m, GetCaption(), [this] { Click(); });
}

void TVoxCustomStaticText::MeasureText(HDC dc, RECT& rect, UINT flags) {
  if (!Win32PlatformIsUnicode) {
    inherited::MeasureText(dc, rect, flags);
    return;
  }
  std::wstring text = GetCaption();
  if (text.empty()) text = L" ";
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

PUBLISHED(TVoxStaticText) {
  PublishStaticTextTable(p);
  PublishWideCaption(p);
  PublishWideHint(p);
}

// --- Buttons -----------------------------------------------------------------------------------

PUBLISHED(TVoxButton) {
  PublishButtonTable(p);
  PublishWideCaption(p);
  PublishWideHint(p);
}

TVoxButton::TVoxButton(TComponent* owner) : TVoxCaptionControlOf(owner) {}

void TVoxButton::CreateWindowHandle(const TCreateParams& params) { CreateUnicodeHandle(this, params, L"BUTTON"); }

void TVoxButton::CMDialogChar(TMessage& m) {
  WideDialogChar(this, m, GetCaption(), [this] { Click(); });
}

IMPLEMENT_CLASS(TVoxCustomCheckBox)

TVoxCustomCheckBox::TVoxCustomCheckBox(TComponent* owner) : TVoxCaptionControlOf(owner) {}

void TVoxCustomCheckBox::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, L"BUTTON");
}

void TVoxCustomCheckBox::CMDialogChar(TMessage& m) {
  WideDialogChar(this, m, GetCaption(), [this] {
    SetFocus();
    if (Focused()) Toggle();
  });
}

PUBLISHED(TVoxCheckBox) {
  PublishCheckBoxTable(p);
  PublishWideCaption(p);
  PublishWideHint(p);
}

PUBLISHED(TVoxRadioButton) {
  PublishRadioButtonTable(p);
  PublishWideCaption(p);
  PublishWideHint(p);
}

TVoxRadioButton::TVoxRadioButton(TComponent* owner) : TVoxCaptionControlOf(owner) {}

void TVoxRadioButton::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, L"BUTTON");
}

void TVoxRadioButton::CMDialogChar(TMessage& m) {
  WideDialogChar(this, m, GetCaption(), [this] { SetFocus(); });
}

// --- Group boxes ------------------------------------------------------------------------------

IMPLEMENT_CLASS(TVoxCustomGroupBox)

TVoxCustomGroupBox::TVoxCustomGroupBox(TComponent* owner) : TVoxCaptionControlOf(owner) {}

void TVoxCustomGroupBox::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, std::wstring());
}

int TVoxCustomGroupBox::CaptionTextWidth(TCanvas* canvas) {
  if (!Win32PlatformIsUnicode) return inherited::CaptionTextWidth(canvas);
  return WideCanvasTextWidth(canvas, GetCaption());
}

void TVoxCustomGroupBox::DrawCaptionText(TCanvas* canvas, TRect& rect, UINT flags) {
  if (!Win32PlatformIsUnicode) {
    inherited::DrawCaptionText(canvas, rect, flags);
    return;
  }
  std::wstring text = GetCaption();
  DrawTextW(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

void TVoxCustomGroupBox::CMDialogChar(TMessage& m) {
  WideDialogChar(this, m, GetCaption(), [this] { SelectFirst(this); });
}

PUBLISHED(TVoxGroupBox) {
  PublishGroupBoxTable(p);
  PublishWideCaption(p);
  PublishWideHint(p);
}

// --- Scroll bars --------------------------------------------------------------------------------

PUBLISHED(TVoxScrollBar) {
  PublishScrollBarTable(p);
  PublishWideHint(p);
}

TVoxScrollBar::TVoxScrollBar(TComponent* owner) : TVoxControlOf(owner) {}

void TVoxScrollBar::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, L"SCROLLBAR");
}
