#include "classlib/extctrls/ControlBar.h"

#include <algorithm>
#include <vector>

#include "classlib/stdctrls/StdCtrlsPublish.h"

namespace {
constexpr int kEdge = 2;  // the bar's own border inside its client area
}  // namespace

PUBLISHED(TControlBar) {
  PublishControlProps(p, {"Align", "Anchors"});
  p.Prop("AutoDrag", &TControlBar::GetAutoDrag, &TControlBar::SetAutoDrag).Default(true);
  PublishControlProps(p, {"AutoSize", "BiDiMode"});
  PublishColor(p, clBtnFace);
  PublishControlProps(p, {"Constraints", "DockSite", "DragCursor", "DragKind", "DragMode", "Enabled", "Font",
                          "ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("RowSize", &TControlBar::GetRowSize, &TControlBar::SetRowSize).Default(26);
  PublishControlProps(p, {"ShowHint", "TabOrder", "TabStop", "Visible", "OnClick", "OnContextPopup",
                          "OnDblClick", "OnDockDrop", "OnDockOver", "OnDragDrop", "OnDragOver", "OnEndDock",
                          "OnEndDrag", "OnEnter", "OnExit", "OnGetSiteInfo", "OnMouseDown", "OnMouseMove",
                          "OnMouseUp", "OnResize", "OnStartDock", "OnStartDrag", "OnUnDock"});
}

TControlBar::TControlBar(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
  SetBounds(GetLeft(), GetTop(), 100, 50);
  SetColor(clBtnFace);
  SetParentColor(false);
}

void TControlBar::SetRowSize(int v) {
  v = std::max(v, 4);
  if (rowSize_ == v) return;
  rowSize_ = v;
  Realign();
  Invalidate();
}

void TControlBar::SetAutoSize(bool v) {
  inherited::SetAutoSize(v);
  if (v) Realign();
}

int TControlBar::RowOf(TControl* c) const { return std::max(0, (c->GetTop() - kEdge) / rowSize_); }

RECT TControlBar::BandRect(TControl* c) const {
  int top = kEdge + RowOf(c) * rowSize_;
  return RECT{c->GetLeft() - GrabberSize, top, c->GetLeft() + c->GetWidth() + 2, top + rowSize_ - 2};
}

void TControlBar::AlignControls(TControl*, RECT&) { LayoutBands(); }

void TControlBar::LayoutBands() {
  if (laying_) return;
  laying_ = true;
  try {
    // Each visible control's row comes from where it stands; within a row
    // the bands keep their order and push each other right.
    std::vector<TControl*> bands;
    for (TControl* c : Controls())
      if (c->GetVisible()) bands.push_back(c);
    std::stable_sort(bands.begin(), bands.end(), [this](TControl* a, TControl* b) {
      int ra = RowOf(a), rb = RowOf(b);
      return ra != rb ? ra < rb : a->GetLeft() < b->GetLeft();
    });
    int row = -1, lastRow = -1, x = kEdge;
    for (TControl* c : bands) {
      int r = RowOf(c);
      if (r != lastRow) {
        // Empty rows close up.
        ++row;
        lastRow = r;
        x = kEdge;
      }
      int bandLeft = std::max(x, c->GetLeft() - GrabberSize);
      int top = kEdge + row * rowSize_ + std::max(0, (rowSize_ - 2 - c->GetHeight()) / 2);
      c->SetBounds(bandLeft + GrabberSize, top, c->GetWidth(), c->GetHeight());
      x = bandLeft + GrabberSize + c->GetWidth() + 2;
    }
    rows_ = row + 1;
  } catch (...) {
    laying_ = false;
    throw;
  }
  laying_ = false;
  // The bar as tall as its rows (CanAutoSize), through the size checks.
  if (GetAutoSize()) {
    int w = GetWidth(), h = GetHeight();
    if (DoCanAutoSize(w, h)) SetBounds(GetLeft(), GetTop(), w, h);
  }
  Invalidate();
}

bool TControlBar::CanAutoSize(int& newWidth, int& newHeight) {
  (void)newWidth;
  newHeight = std::max(rows_, 1) * rowSize_ + 2 * kEdge;
  return true;
}

void TControlBar::Paint() {
  TCanvas* c = GetCanvas();
  c->GetBrush()->SetColor(GetColor());
  c->GetBrush()->SetStyle(bsSolid);
  RECT client = GetClientRect();
  c->FillRect(client);
  HDC dc = c->GetHandle();
  for (TControl* control : Controls()) {
    if (!control->GetVisible()) continue;
    RECT band = BandRect(control);
    DrawEdge(dc, &band, BDR_RAISEDINNER, BF_RECT);
    // The grabber: two raised bars.
    for (int gx : {band.left + 3, band.left + 6}) {
      RECT g{gx, band.top + 3, gx + 3, band.bottom - 3};
      DrawEdge(dc, &g, BDR_RAISEDINNER, BF_RECT);
    }
  }
}

TControl* TControlBar::GrabberAt(int x, int y) {
  for (TControl* c : Controls()) {
    if (!c->GetVisible()) continue;
    RECT band = BandRect(c);
    RECT grab{band.left, band.top, band.left + GrabberSize, band.bottom};
    POINT p{x, y};
    if (PtInRect(&grab, p)) return c;
  }
  return nullptr;
}

void TControlBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && autoDrag_) {
    dragging_ = GrabberAt(x, y);
    if (dragging_) dragOffset_ = POINT{x - dragging_->GetLeft(), y - BandRect(dragging_).top};
  }
  inherited::MouseDown(button, shift, x, y);
}

void TControlBar::MouseMove(TShiftState shift, int x, int y) {
  if (dragging_) {
    // The row under the mouse (one past the last opens a new row), the
    // band's left where the mouse holds it.
    int row = std::clamp<int>((y - kEdge) / rowSize_, 0, rows_);
    int left = std::max<int>(kEdge + GrabberSize, x - static_cast<int>(dragOffset_.x));
    if (row != RowOf(dragging_) || left != dragging_->GetLeft()) {
      laying_ = true;
      dragging_->SetBounds(left, kEdge + row * rowSize_, dragging_->GetWidth(), dragging_->GetHeight());
      laying_ = false;
      LayoutBands();
    }
  }
  inherited::MouseMove(shift, x, y);
}

void TControlBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) dragging_ = nullptr;
  inherited::MouseUp(button, shift, x, y);
}
