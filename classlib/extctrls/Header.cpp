#include "classlib/extctrls/Header.h"

#include <algorithm>

#include "classlib/stdctrls/StdCtrlsPublish.h"

namespace {
// A new section's width, as the platform's header gives it.
constexpr int kDefaultSectionWidth = 64;
// How near a divider (on either side) the mouse grabs it.
constexpr int kGrip = 2;
}  // namespace

PUBLISHED(THeader) {
  PublishControlProps(p, {"Align"});
  p.Prop("AllowResize", &THeader::GetAllowResize, &THeader::SetAllowResize).Default(true);
  PublishControlProps(p, {"Anchors"});
  p.Prop("BorderStyle", &THeader::GetBorderStyle, &THeader::SetBorderStyle).Default(bsSingle);
  PublishControlProps(p, {"Constraints", "DragCursor", "DragKind", "DragMode", "Enabled", "Font", "ParentFont",
                          "ParentShowHint", "PopupMenu"});
  p.Prop("Sections", &THeader::GetSections, &THeader::SetSections);
  PublishControlProps(p, {"ShowHint", "TabOrder", "TabStop", "Visible", "OnContextPopup", "OnDragDrop",
                          "OnDragOver", "OnEndDock", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp"});
  p.Prop("OnSizing", &THeader::GetOnSizing, &THeader::SetOnSizing);
  p.Prop("OnSized", &THeader::GetOnSized, &THeader::SetOnSized);
  PublishControlProps(p, {"OnStartDock", "OnStartDrag"});
}

THeader::THeader(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(TControlStyle{csDoubleClicks, csOpaque});
  SetBounds(GetLeft(), GetTop(), 250, 25);
  sections_ = New<TStringList>();
  sections_->SetOnChange(TNotifyEvent(this, &THeader::SectionsChanged));
}

void THeader::Destroy() {
  FreeAndNil(sections_);
  inherited::Destroy();
}

void THeader::SectionsChanged(TObject*) {
  // Widths follow the sections by position: new ones get the default width.
  widths_.resize(static_cast<size_t>(sections_->GetCount()), kDefaultSectionWidth);
  Invalidate();
}

int THeader::GetSectionWidth(int index) {
  int count = sections_->GetCount();
  if (index < 0 || index >= count) return 0;
  if (index < count - 1) return widths_[static_cast<size_t>(index)];
  int used = 0;
  for (int i = 0; i < count - 1; ++i) used += widths_[static_cast<size_t>(i)];
  return std::max(0, GetClientWidth() - used);
}

void THeader::SetSectionWidth(int index, int width) {
  if (index < 0 || index >= sections_->GetCount()) return;
  width = std::max(0, width);
  if (widths_[static_cast<size_t>(index)] == width) return;
  widths_[static_cast<size_t>(index)] = width;
  Invalidate();
}

void THeader::SetBorderStyle(TBorderStyle v) {
  if (borderStyle_ == v) return;
  borderStyle_ = v;
  RecreateWnd();
}

void THeader::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  if (borderStyle_ == bsSingle) params.Style |= WS_BORDER;
}

int THeader::SectionRight(int index) {
  int x = 0;
  for (int i = 0; i <= index && i < sections_->GetCount(); ++i) x += GetSectionWidth(i);
  return x;
}

int THeader::DividerAt(int x) {
  // The last section has no divider of its own: its right edge is the
  // control's.
  for (int i = 0; i < sections_->GetCount() - 1; ++i) {
    int right = SectionRight(i);
    if (x >= right - kGrip && x <= right + kGrip) return i;
  }
  return -1;
}

void THeader::Paint() {
  TCanvas* c = GetCanvas();
  c->GetFont()->Assign(GetFont());
  c->GetBrush()->SetColor(clBtnFace);
  RECT client = GetClientRect();
  c->FillRect(client);
  c->GetBrush()->SetStyle(bsClear);
  int left = 0;
  for (int i = 0; i < sections_->GetCount(); ++i) {
    RECT r{left, 0, left + GetSectionWidth(i), client.bottom};
    if (i == sections_->GetCount() - 1) r.right = std::max(r.right, client.right);
    left = r.right;
    DrawEdge(c->GetHandle(), &r, EDGE_RAISED, BF_RECT);
    RECT text{r.left + 4, r.top + 2, r.right - 4, r.bottom - 2};
    std::string s = sections_->Get(i);
    DrawTextA(c->GetHandle(), s.c_str(), static_cast<int>(s.size()), &text,
              DrawTextBiDiModeFlags(DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX));
  }
}

void THeader::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && allowResize_) {
    tracking_ = DividerAt(x);
    if (tracking_ >= 0) trackOffset_ = x - SectionRight(tracking_);
  }
  inherited::MouseDown(button, shift, x, y);
}

void THeader::MouseMove(TShiftState shift, int x, int y) {
  if (tracking_ >= 0) {
    int left = SectionRight(tracking_) - GetSectionWidth(tracking_);
    int width = std::max(0, x - trackOffset_ - left);
    if (width != GetSectionWidth(tracking_)) {
      SetSectionWidth(tracking_, width);
      Sizing(tracking_, width);
    }
  }
  inherited::MouseMove(shift, x, y);
}

void THeader::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (tracking_ >= 0 && button == mbLeft) {
    int section = tracking_;
    tracking_ = -1;
    Sized(section, GetSectionWidth(section));
  }
  inherited::MouseUp(button, shift, x, y);
}

void THeader::WMSetCursor(TMessage& m) {
  // Over a divider (or while one is dragged) the split cursor shows.
  if (LOWORD(m.LParam) == HTCLIENT && allowResize_) {
    POINT p = Mouse().GetCursorPos();
    p = ScreenToClient(p);
    if (tracking_ >= 0 || DividerAt(p.x) >= 0) {
      ::SetCursor(CursorHandleOf(crHSplit));
      m.Result = 1;
      return;
    }
  }
  inherited::WMSetCursor(m);
}

void THeader::Sizing(int section, int width) {
  if (OnSizing) OnSizing(this, section, width);
}

void THeader::Sized(int section, int width) {
  if (OnSized) OnSized(this, section, width);
}
