#include "classlib/stdctrls/ScrollBar.h"
#include "classlib/stdctrls/StdCtrlsTables.h"

namespace {
constexpr const char* SScrollBarRange = "Scrollbar property out of range";
}  // namespace

PUBLISHED(TScrollBar) { PublishScrollBarTable(p); }

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(GetLeft(), GetTop(), 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
  SetControlStyle(TControlStyle{csFramed, csDoubleClicks, csOpaque});
}

void TScrollBar::SetKind(TScrollBarKind v) {
  if (kind_ == v) return;
  kind_ = v;
  // A bar turned by 90 degrees swaps its width and height.
  if (!IsLoading()) SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
  RecreateWnd();
}

void TScrollBar::CreateParams(TCreateParams& params) {
  inherited::CreateParams(params);
  CreateSubClass(params, "SCROLLBAR");
  params.Style |= kind_ == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::UpdateScrollInfo() {
  if (!HandleAllocated()) return;
  SCROLLINFO si{};
  si.cbSize = sizeof(SCROLLINFO);
  si.fMask = SIF_PAGE | SIF_POS | SIF_RANGE;
  si.nMin = min_;
  si.nMax = max_;
  si.nPage = static_cast<UINT>(pageSize_);
  si.nPos = position_;
  SetScrollInfo(GetWindowHandle(), SB_CTL, &si, TRUE);
}

void TScrollBar::CreateWnd() {
  inherited::CreateWnd();
  UpdateScrollInfo();
  EnableScrollBar(GetWindowHandle(), SB_CTL, GetEnabled() ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}

void TScrollBar::SetParams(int position, int min, int max) {
  if (max < min || max < pageSize_) throw EInvalidOperation(SScrollBarRange);
  position = std::clamp(position, min, max);
  bool rangeChanged = min_ != min || max_ != max;
  bool positionChanged = position_ != position;
  min_ = min;
  max_ = max;
  position_ = position;
  if (rangeChanged || positionChanged) UpdateScrollInfo();
  if (positionChanged) Change();
}

void TScrollBar::SetPageSize(int v) {
  if (v < 0 || v > max_ - min_ + 1) throw EInvalidOperation(SScrollBarRange);
  if (pageSize_ == v) return;
  pageSize_ = v;
  UpdateScrollInfo();
}

void TScrollBar::Change() {
  Changed();
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode code, int& pos) {
  if (OnScroll) OnScroll(this, code, pos);
}

void TScrollBar::Dispatch(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) CNScroll(m);
  else inherited::Dispatch(m);
}

void TScrollBar::CNScroll(TMessage& m) {
  TWMScroll s(m);
  int pos = position_;
  auto code = static_cast<TScrollCode>(std::min<WORD>(s.ScrollCode(), scEndScroll));
  switch (code) {
    case scLineUp: pos -= smallChange_; break;
    case scLineDown: pos += smallChange_; break;
    case scPageUp: pos -= largeChange_; break;
    case scPageDown: pos += largeChange_; break;
    case scPosition:
    case scTrack: {
      // The 32-bit track position, not the message's 16-bit one.
      SCROLLINFO si{};
      si.cbSize = sizeof(SCROLLINFO);
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(GetWindowHandle(), SB_CTL, &si);
      pos = si.nTrackPos;
      break;
    }
    case scTop: pos = min_; break;
    case scBottom: pos = max_; break;
    case scEndScroll: break;
  }
  pos = std::clamp(pos, min_, max_);
  Scroll(code, pos);
  SetPosition(pos);
}

void TScrollBar::CMEnabledChanged(TMessage& m) {
  inherited::CMEnabledChanged(m);
  if (HandleAllocated())
    EnableScrollBar(GetWindowHandle(), SB_CTL, GetEnabled() ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}
