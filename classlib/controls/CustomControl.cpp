#include "classlib/controls/CustomControl.h"

#include <algorithm>
#include <vector>

IMPLEMENT_CLASS(TControlCanvas)

namespace {
// Canvases holding a DC of their own making (one GUI thread).
std::vector<TControlCanvas*>& CanvasList() {
  static std::vector<TControlCanvas*> list;
  return list;
}
}  // namespace

void FreeDeviceContexts() {
  auto& list = CanvasList();
  for (size_t i = list.size(); i-- > 0;)
    if (i < list.size() && list[i]->GetLockCount() == 0) list[i]->FreeHandle();
}

void FreeDeviceContextsOf(HWND window) {
  auto& list = CanvasList();
  for (size_t i = list.size(); i-- > 0;)
    if (i < list.size() && list[i]->GetDCWindow() == window) list[i]->FreeHandle();
}

void DrawControlText(TCanvas* canvas, const std::string& text, RECT& rect, UINT flags, bool enabled) {
  int len = static_cast<int>(text.size());
  if (!enabled) {
    OffsetRect(&rect, 1, 1);
    canvas->GetFont()->SetColor(clBtnHighlight);
    DrawTextA(canvas->GetHandle(), text.c_str(), len, &rect, flags);
    OffsetRect(&rect, -1, -1);
    canvas->GetFont()->SetColor(clBtnShadow);
  }
  DrawTextA(canvas->GetHandle(), text.c_str(), len, &rect, flags);
}

void TControlCanvas::Destroy() {
  FreeHandle();
  inherited::Destroy();
}

void TControlCanvas::SetControl(TControl* control) {
  if (control_ == control) return;
  FreeHandle();
  control_ = control;
}

void TControlCanvas::FreeHandle() {
  if (!deviceContext_) return;
  SetHandle(nullptr);
  ReleaseDC(window_, deviceContext_);
  deviceContext_ = nullptr;
  window_ = nullptr;
  auto& list = CanvasList();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TControlCanvas::CreateHandle() {
  if (!control_) {
    inherited::CreateHandle();
    return;
  }
  if (!deviceContext_) {
    if (auto* w = dynamic_cast<TWinControl*>(control_)) {
      window_ = w->GetHandle();
      deviceContext_ = GetDC(window_);
    } else if (control_->GetParent()) {
      // A windowless control draws into its parent's window, moved and
      // clipped onto its own bounds.
      window_ = control_->GetParent()->GetHandle();
      deviceContext_ = GetDCEx(window_, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
      SetViewportOrgEx(deviceContext_, control_->GetLeft(), control_->GetTop(), nullptr);
      IntersectClipRect(deviceContext_, 0, 0, control_->GetWidth(), control_->GetHeight());
    } else {
      throw EInvalidOperation("Control '" + control_->GetName() + "' has no parent window");
    }
    CanvasList().push_back(this);
  }
  SetHandle(deviceContext_);
  UpdateTextFlags();
}

void TControlCanvas::UpdateTextFlags() {
  if (!control_) return;
  int flags = GetTextFlags() & ~ETO_RTLREADING;
  if (control_->UseRightToLeftReading()) flags |= ETO_RTLREADING;
  SetTextFlags(flags);
}

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TGraphicControl)

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {
  auto* canvas = New<TControlCanvas>();
  canvas->SetControl(this);
  canvas_ = canvas;
}

void TGraphicControl::Destroy() {
  // The canvas may still hold the parent's device context.
  inherited::Destroy();
  FreeAndNil(canvas_);
}

void TGraphicControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_PAINT) WMPaint(m);
  else inherited::Dispatch(m);
}

void TGraphicControl::WMPaint(TMessage& m) {
  HDC dc = TWMPaint(m).DC();
  if (!dc) return;
  TCanvasPaintScope scope(canvas_, dc);
  Paint();
}

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TCustomControl)

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {
  auto* canvas = New<TControlCanvas>();
  canvas->SetControl(this);
  canvas_ = canvas;
}

void TCustomControl::Destroy() {
  inherited::Destroy();
  FreeAndNil(canvas_);
}

void TCustomControl::WMPaint(TMessage& m) {
  SetControlState(GetControlState() + TControlState{csCustomPaint});
  try {
    inherited::WMPaint(m);
  } catch (...) {
    SetControlState(GetControlState() - TControlState{csCustomPaint});
    throw;
  }
  SetControlState(GetControlState() - TControlState{csCustomPaint});
}

void TCustomControl::PaintWindow(HDC dc) {
  TCanvasPaintScope scope(canvas_, dc);
  static_cast<TControlCanvas*>(canvas_)->UpdateTextFlags();
  Paint();
}
