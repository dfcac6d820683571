#include "classlib/stdctrls/Label.h"

#include "classlib/stdctrls/StdCtrlsTables.h"

namespace {
UINT AlignmentFlag(TAlignment a) {
  switch (a) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

// A right-to-left aligned control mirrors left and right.
TAlignment BiDiAlignment(const TControl* control, TAlignment a) {
  if (!control->UseRightToLeftAlignment()) return a;
  if (a == taLeftJustify) return taRightJustify;
  if (a == taRightJustify) return taLeftJustify;
  return a;
}
}  // namespace

// ---------------------------------------------------------------------------
// TCustomLabel

PUBLISHED(TLabel) { PublishLabelTable(p); }
IMPLEMENT_CLASS(TCustomLabel)

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(GetControlStyle() + TControlStyle{csOpaque, csReplicatable});
  SetBounds(GetLeft(), GetTop(), 65, 17);
  TControl::SetAutoSize(true);
}

std::string TCustomLabel::GetLabelText() { return GetCaption(); }

void TCustomLabel::DoDrawText(TRect& rect, UINT flags) {
  std::string text = GetLabelText();
  // An empty text, or a lone accelerator mark, still measures one line.
  if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&"))) text += ' ';
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  flags = DrawTextBiDiModeFlags(flags);
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  DrawControlText(canvas, text, rect, flags, GetEnabled());
}

void TCustomLabel::Paint() {
  TCanvas* canvas = GetCanvas();
  TRect client = GetClientRect();
  if (!GetTransparent()) {
    canvas->GetBrush()->SetColor(GetColor());
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->FillRect(client);
  }
  canvas->GetBrush()->SetStyle(bsClear);
  TRect rect = client;
  UINT flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | AlignmentFlag(alignment_);
  if (layout_ != tlTop) {
    TRect calc = rect;
    DoDrawText(calc, flags | DT_CALCRECT);
    int dy = GetHeight() - calc.bottom;
    OffsetRect(&rect, 0, layout_ == tlBottom ? dy : dy / 2);
  }
  DoDrawText(rect, flags);
}

void TCustomLabel::AdjustBounds() {
  if (GetComponentState().Contains(csReading) || !GetAutoSize()) return;
  TRect rect = GetClientRect();
  HDC dc = GetDC(nullptr);
  TCanvas* canvas = GetCanvas();
  canvas->SetHandle(dc);
  try {
    DoDrawText(rect, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0));
  } catch (...) {
    canvas->SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    throw;
  }
  canvas->SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  int x = GetLeft();
  if (BiDiAlignment(this, alignment_) == taRightJustify) x += GetWidth() - rect.right;
  SetBounds(x, GetTop(), rect.right, rect.bottom);
}

void TCustomLabel::SetAlignment(TAlignment v) {
  if (alignment_ == v) return;
  alignment_ = v;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool v) {
  if (GetAutoSize() == v) return;
  inherited::SetAutoSize(v);
  AdjustBounds();
}

void TCustomLabel::SetFocusControl(TWinControl* v) {
  focusControl_ = v;
  if (v) v->FreeNotification(this);
}

void TCustomLabel::SetLayout(TTextLayout v) {
  if (layout_ == v) return;
  layout_ = v;
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool v) {
  if (showAccelChar_ == v) return;
  showAccelChar_ = v;
  Invalidate();
}

bool TCustomLabel::GetTransparent() const { return !GetControlStyle().Contains(csOpaque); }

void TCustomLabel::SetTransparent(bool v) {
  if (GetTransparent() == v) return;
  TControlStyle style = GetControlStyle();
  if (v) style.Exclude(csOpaque);
  else style.Include(csOpaque);
  SetControlStyle(style);
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool v) {
  if (wordWrap_ == v) return;
  wordWrap_ = v;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::Loaded() {
  inherited::Loaded();
  AdjustBounds();
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED: CMTextChanged(m); return;
    case CM_DIALOGCHAR: CMDialogChar(m); return;
    default: inherited::Dispatch(m); return;
  }
}

void TCustomLabel::CMTextChanged(TMessage&) {
  Invalidate();
  AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  AdjustBounds();
}

void TCustomLabel::CMDialogChar(TMessage& m) {
  if (focusControl_ && GetEnabled() && showAccelChar_ && IsAccel(TWMKey(m).CharCode(), GetCaption()) &&
      focusControl_->CanFocus()) {
    focusControl_->SetFocus();
    m.Result = 1;
  }
}

// ---------------------------------------------------------------------------
// TCustomStaticText

PUBLISHED(TStaticText) { PublishStaticTextTable(p); }
IMPLEMENT_CLASS(TCustomStaticText)

TCustomStaticText::TCustomStaticText(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csReplicatable, csDoubleClicks});
  SetBounds(GetLeft(), GetTop(), 65, 17);
  TControl::SetAutoSize(true);
}

void TCustomStaticText::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  CreateSubClass(params, "STATIC");
  switch (alignment_) {
    case taRightJustify: params.Style |= SS_RIGHT; break;
    case taCenter: params.Style |= SS_CENTER; break;
    default: params.Style |= SS_LEFT; break;
  }
  params.Style |= SS_NOTIFY;
  if (!showAccelChar_) params.Style |= SS_NOPREFIX;
  switch (borderStyle_) {
    case sbsSingle: params.Style |= WS_BORDER; break;
    case sbsSunken: params.Style |= SS_SUNKEN; break;
    default: break;
  }
  params.WindowClass.style &= ~UINT{CS_HREDRAW | CS_VREDRAW};
}

void TCustomStaticText::AdjustBounds() {
  if (GetComponentState().Contains(csReading) || !GetAutoSize() || IsLoading()) return;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
  RECT r{0, 0, 0, 0};
  UINT flags = DT_CALCRECT | DT_EXPANDTABS | (showAccelChar_ ? 0 : DT_NOPREFIX);
  MeasureText(dc, r, DrawTextBiDiModeFlags(flags));
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  // The border takes a pixel (single) or two (sunken) on each side.
  int border = borderStyle_ == sbsSingle ? 2 : borderStyle_ == sbsSunken ? 4 : 0;
  int w = r.right + border;
  int h = r.bottom + border;
  int x = GetLeft();
  if (BiDiAlignment(this, alignment_) == taRightJustify) x += GetWidth() - w;
  SetBounds(x, GetTop(), w, h);
}

void TCustomStaticText::MeasureText(HDC dc, RECT& rect, UINT flags) {
  std::string text = GetText();
  if (text.empty()) text = " ";
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

void TCustomStaticText::SetAlignment(TAlignment v) {
  if (alignment_ == v) return;
  alignment_ = v;
  RecreateWnd();
}

void TCustomStaticText::SetAutoSize(bool v) {
  if (GetAutoSize() == v) return;
  inherited::SetAutoSize(v);
  AdjustBounds();
}

void TCustomStaticText::SetBorderStyle(TStaticBorderStyle v) {
  if (borderStyle_ == v) return;
  borderStyle_ = v;
  RecreateWnd();
  AdjustBounds();
}

void TCustomStaticText::SetFocusControl(TWinControl* v) {
  focusControl_ = v;
  if (v) v->FreeNotification(this);
}

void TCustomStaticText::SetShowAccelChar(bool v) {
  if (showAccelChar_ == v) return;
  showAccelChar_ = v;
  RecreateWnd();
  AdjustBounds();
}

void TCustomStaticText::Loaded() {
  inherited::Loaded();
  AdjustBounds();
}

void TCustomStaticText::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TCustomStaticText::Dispatch(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) CMTextChanged(m);
  else inherited::Dispatch(m);
}

void TCustomStaticText::CMDialogChar(TMessage& m) {
  if (focusControl_ && GetEnabled() && showAccelChar_ && IsAccel(TWMKey(m).CharCode(), GetCaption()) &&
      focusControl_->CanFocus()) {
    focusControl_->SetFocus();
    m.Result = 1;
    return;
  }
  inherited::CMDialogChar(m);
}

void TCustomStaticText::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  AdjustBounds();
}

void TCustomStaticText::CMTextChanged(TMessage&) {
  Invalidate();
  AdjustBounds();
}
