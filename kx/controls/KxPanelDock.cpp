// The framed panel's dock manager: caption bars with the docked control's
// text and a close glyph over the class library's dock tree.
#include "classlib/SysUtils.h"
#include "kx/controls/KxPanel.h"

namespace {

// The grabber across (or beside) each docked control.
constexpr int kGrabberSize = 14;

}  // namespace

IMPLEMENT_CLASS(TKxPanelDockManager)

TKxPanelDockManager::TKxPanelDockManager(TWinControl* dockSite)
    : TDockTree(dockSite), panel_(dynamic_cast<TKxCustomPanel*>(dockSite)) {
  grabberSize_ = kGrabberSize;
  captionFont_ = New<TFont>();
  captionFont_->SetName("Verdana");
  captionFont_->SetSize(8);
  closeFont_ = New<TFont>();
  closeFont_->SetName("Marlett");
  closeFont_->SetSize(8);
  // A click elsewhere on the form (WM_MOUSEACTIVATE) or in a docked
  // control (its WM_COMMAND to the site) may move the focus: the captions
  // are painted again in their new colours.
  if (!dockSite->IsDesigning()) {
    oldWindowProc_ = dockSite->GetWindowProc();
    dockSite->SetWindowProc(TWndMethod(this, &TKxPanelDockManager::SiteWindowProc));
    hooked_ = true;
  }
}

void TKxPanelDockManager::Destroy() {
  if (hooked_) {
    GetDockSite()->SetWindowProc(oldWindowProc_);
    hooked_ = false;
  }
  FreeAndNil(captionFont_);
  FreeAndNil(closeFont_);
  inherited::Destroy();
}

void TKxPanelDockManager::SiteWindowProc(TMessage& message) {
  if (message.Msg == WM_COMMAND || message.Msg == WM_MOUSEACTIVATE) GetDockSite()->Invalidate();
  oldWindowProc_(message);
}

void TKxPanelDockManager::AdjustDockRect(TControl*, RECT& rect) {
  TAlign a = GetDockSite()->GetAlign();
  if (a == alTop || a == alBottom) rect.left += grabberSize_;
  else rect.top += grabberSize_;
}

void TKxPanelDockManager::PaintSite(HDC dc) { inherited::PaintSite(dc); }

void TKxPanelDockManager::PaintDockFrame(TCanvas* canvas, TControl* control, const RECT& rect) {
  if (!panel_ || !panel_->GetShowDockClientCaptions()) {
    inherited::PaintDockFrame(canvas, control, rect);
    return;
  }
  canvas->GetFont()->Assign(captionFont_);
  auto* windowed = dynamic_cast<TWinControl*>(control);
  bool active = !windowed || windowed->Focused();
  canvas->GetBrush()->SetColor(active ? clActiveCaption : clInactiveCaption);
  const TColor textColor = active ? clCaptionText : clInactiveCaptionText;
  canvas->GetFont()->SetColor(textColor);
  const std::string text = control->GetText();
  TAlign a = GetDockSite()->GetAlign();
  TRect glyph;
  if (a != alTop && a != alBottom) {
    canvas->FillRect(TRect{rect.left, rect.top, rect.right, rect.top + grabberSize_});
    canvas->TextOut(rect.left + 2, rect.top, text);
    glyph = TRect{rect.right - grabberSize_ - 1, rect.top + 1, rect.right - 2, rect.top + 12};
  } else {
    TRect strip{rect.left, rect.top, rect.left + grabberSize_, rect.bottom};
    canvas->FillRect(strip);
    DrawVertTitle(canvas, text, strip);
    glyph = TRect{rect.left + 1, rect.top + 1, rect.left + grabberSize_ - 2, rect.top + 12};
  }
  // Marlett's "r" is the close cross.
  canvas->GetFont()->Assign(closeFont_);
  canvas->GetFont()->SetColor(textColor);
  canvas->TextRect(glyph, glyph.left, glyph.top, "r");
}

void TKxPanelDockManager::DrawVertTitle(TCanvas* canvas, const std::string& text, const RECT& rect) {
  HDC dc = canvas->GetHandle();
  UINT oldAlign = SetTextAlign(dc, TA_BASELINE);
  TFont* font = canvas->GetFont();
  font->Assign(captionFont_);
  font->SetColor(clCaptionText);
  // The canvas's font owns the turned handle from here.
  font->SetHandle(RotateFont(captionFont_, 90));
  canvas->TextRect(rect, rect.right - 2, rect.bottom - 3, text);
  SetTextAlign(dc, oldAlign);
}
