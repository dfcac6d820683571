#include "classlib/stdctrls/GroupBox.h"

#include "classlib/stdctrls/FormLink.h"
#include "classlib/stdctrls/StdCtrlsTables.h"

PUBLISHED(TGroupBox) { PublishGroupBoxTable(p); }
IMPLEMENT_CLASS(TCustomGroupBox)

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks,
                                csReplicatable});
  SetBounds(GetLeft(), GetTop(), 185, 105);
}

void TCustomGroupBox::AdjustClientRect(RECT& rect) {
  inherited::AdjustClientRect(rect);
  // Measured on the screen: the canvas has a DC only while painting.
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
  SIZE s{};
  GetTextExtentPoint32A(dc, "0", 1, &s);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  rect.top += s.cy;
  InflateRect(&rect, -1, -1);
  if (GetCtl3D()) InflateRect(&rect, -1, -1);
}

void TCustomGroupBox::Paint() {
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  int h = canvas->TextHeight("0");
  TRect r = Rect(0, h / 2 - 1, GetWidth(), GetHeight());
  if (GetCtl3D()) {
    // An etched frame: highlight one pixel down and right, shadow over it.
    r.left += 1;
    r.top += 1;
    canvas->GetBrush()->SetColor(clBtnHighlight);
    canvas->FrameRect(r);
    OffsetRect(&r, -1, -1);
    canvas->GetBrush()->SetColor(clBtnShadow);
  } else {
    canvas->GetBrush()->SetColor(clWindowFrame);
  }
  canvas->FrameRect(r);
  if (GetText().empty()) return;
  if (!UseRightToLeftAlignment()) r = Rect(8, 0, 0, h);
  else r = Rect(r.right - CaptionTextWidth(canvas) - 8, 0, 0, h);
  UINT flags = DrawTextBiDiModeFlags(DT_SINGLELINE);
  DrawCaptionText(canvas, r, flags | DT_CALCRECT);
  canvas->GetBrush()->SetColor(GetColor());
  DrawCaptionText(canvas, r, flags);
}

int TCustomGroupBox::CaptionTextWidth(TCanvas* canvas) { return canvas->TextWidth(GetText()); }

void TCustomGroupBox::DrawCaptionText(TCanvas* canvas, TRect& rect, UINT flags) {
  std::string text = GetText();
  // The handle is taken for each call: it realizes the brush set since.
  DrawTextA(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

void TCustomGroupBox::Dispatch(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) CMTextChanged(m);
  else inherited::Dispatch(m);
}

void TCustomGroupBox::CMDialogChar(TMessage& m) {
  if (IsAccel(TWMKey(m).CharCode(), GetCaption()) && CanFocus()) {
    SelectFirst(this);
    m.Result = 1;
    return;
  }
  inherited::CMDialogChar(m);
}

void TCustomGroupBox::CMTextChanged(TMessage&) {
  Invalidate();
  Realign();
}

void TCustomGroupBox::CMCtl3DChanged(TMessage& m) {
  inherited::CMCtl3DChanged(m);
  Invalidate();
  Realign();
}

void TCustomGroupBox::WMSize(TMessage& m) {
  inherited::WMSize(m);
  Invalidate();
}
