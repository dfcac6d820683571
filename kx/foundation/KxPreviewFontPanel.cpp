// TKxPreviewFontPanel: the floating sample of the font lists.
#include "kx/foundation/KxPreviewFontPanel.h"

#include "kx/foundation/KxFontLists.h"

namespace {
constexpr const char* kPanelCaption = "AaBbYyZz";
}  // namespace

IMPLEMENT_CLASS(TKxPreviewFontPanel)

TKxPreviewFontPanel::TKxPreviewFontPanel(TComponent* owner) : TCustomPanel(owner) {
  SetColor(clWindow);
  SetBounds(GetLeft(), GetTop(), 260, 65);
  SetVisible(false);
  SetCaption(kPanelCaption);
  SetBevelOuter(bvNone);
  GetFont()->SetSize(36);
}

TKxPreviewFontPanel* TKxPreviewFontPanel::CreateFor(TWinControl* list, TComponent* owner) {
  auto* panel = New<TKxPreviewFontPanel>(list);
  if (auto* parent = dynamic_cast<TWinControl*>(owner)) panel->SetParent(parent);
  panel->SetServed(list);
  return panel;
}

void TKxPreviewFontPanel::UpdateSample(const std::string& previewText, TCustomEdit* edit) {
  TAlignment alignment = taCenter;
  std::string text = KxPreviewText(previewText, edit, GetFont(), GetWidth(), alignment);
  SetAlignment(alignment);
  SetCaption(text);
}

void TKxPreviewFontPanel::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  // A pop-up above everything, owned by the parent's window, not its child.
  params.Style = (params.Style & ~static_cast<DWORD>(WS_CHILD)) | WS_POPUP;
  params.WindowClass.style = CS_SAVEBITS;
}

void TKxPreviewFontPanel::Paint() {
  inherited::Paint();
  TCanvas* canvas = GetCanvas();
  canvas->GetBrush()->SetStyle(bsClear);
  canvas->GetPen()->SetColor(clWindowText);
  canvas->Rectangle(GetClientRect());
}

void TKxPreviewFontPanel::ShowAt(int x, int y) {
  HandleNeeded();
  SetWindowPos(GetHandle(), HWND_TOP, x, y, GetWidth(), GetHeight(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  shown_ = true;
}

void TKxPreviewFontPanel::HidePanel() {
  if (!shown_) return;
  shown_ = false;
  if (HandleAllocated())
    SetWindowPos(GetWindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

void TKxPreviewFontPanel::AskToHide() {
  if (served_) served_->Perform(CM_HIDEPREVIEWPANEL, 0, reinterpret_cast<LPARAM>(this));
}

void TKxPreviewFontPanel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_SHOWINGCHANGED:
      // Only ShowAt and HidePanel show and hide the pop-up.
      return;
    case CM_CANCELMODE:
      if (reinterpret_cast<TControl*>(m.LParam) != this) AskToHide();
      return;
    case WM_KILLFOCUS:
      inherited::Dispatch(m);
      AskToHide();
      return;
    default:
      inherited::Dispatch(m);
      return;
  }
}
