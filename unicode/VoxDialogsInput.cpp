#include "unicode/VoxDialogs.h"

#include "classlib/Buttons.h"
#include "classlib/Forms.h"
#include "classlib/Graphics.h"
#include "classlib/StdCtrls.h"
#include "unicode/VoxForms.h"
#include "unicode/VoxStdCtrls.h"

namespace {
// The average width of the letters and their height in the canvas's font:
// the dialog units the box is laid out in.
TPoint DialogUnits(TCanvas* canvas) {
  wchar_t letters[52];
  for (int i = 0; i < 26; ++i) {
    letters[i] = static_cast<wchar_t>(L'A' + i);
    letters[26 + i] = static_cast<wchar_t>(L'a' + i);
  }
  SIZE size{};
  GetTextExtentPointW(canvas->GetHandle(), letters, 52, &size);
  return TPoint(size.cx / 52, size.cy);
}
}  // namespace

bool WideInputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& value) {
  Owned<TVoxForm> form(New<TVoxForm>(Application, 0));
  form->GetCanvas()->GetFont()->Assign(form->GetFont());
  TPoint units = DialogUnits(form->GetCanvas());
  form->SetBorderStyle(bsDialog);
  form->SetCaption(caption);
  form->SetClientWidth(MulDiv(180, units.x, 4));
  form->SetClientHeight(MulDiv(63, units.y, 8));
  form->SetPosition(poScreenCenter);

  auto* label = New<TVoxLabel>(form.get());
  label->SetParent(form.get());
  label->SetAutoSize(true);
  label->SetLeft(MulDiv(8, units.x, 4));
  label->SetTop(MulDiv(8, units.y, 8));
  label->SetCaption(prompt);

  auto* edit = New<TVoxEdit>(form.get());
  edit->SetParent(form.get());
  edit->SetLeft(label->GetLeft());
  edit->SetTop(MulDiv(19, units.y, 8));
  edit->SetWidth(MulDiv(164, units.x, 4));
  edit->SetMaxLength(255);
  edit->SetText(value);
  edit->SelectAll();

  int buttonTop = MulDiv(41, units.y, 8);
  int buttonWidth = MulDiv(50, units.x, 4);
  int buttonHeight = MulDiv(14, units.y, 8);
  auto* ok = New<TButton>(form.get());
  ok->SetParent(form.get());
  ok->SetCaption(BitBtnCaption(bkOK));
  ok->SetModalResult(mrOk);
  ok->SetDefault(true);
  ok->SetBounds(MulDiv(38, units.x, 4), buttonTop, buttonWidth, buttonHeight);
  auto* cancel = New<TButton>(form.get());
  cancel->SetParent(form.get());
  cancel->SetCaption(BitBtnCaption(bkCancel));
  cancel->SetModalResult(mrCancel);
  cancel->SetCancel(true);
  cancel->SetBounds(MulDiv(92, units.x, 4), buttonTop, buttonWidth, buttonHeight);

  if (form->ShowModal() != mrOk) return false;
  value = edit->GetText();
  return true;
}
