// TScrollingWinControl: a window control whose client area scrolls over a
// range larger than itself, with one TControlScrollBar per direction.
//
// Range is the extent of the scrolled area in pixels; the window's own scroll
// bar shows while Range is larger than the client size (and the bar is
// Visible). Position is how far the area is scrolled: moving it moves every
// child (ScrollBy). With AutoScroll the ranges follow the children: the
// right and bottom edges of the unaligned and left/top-aligned ones.
#pragma once

#include "classlib/Controls.h"
#include "classlib/forms/FormTypes.h"

class TScrollingWinControl;

class TControlScrollBar : public TPersistent {
  DECLARE_CLASS(TControlScrollBar, TPersistent)

  TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind);

  void Assign(TPersistent* source) override;

  TScrollBarKind GetKind() const { return kind_; }
  TScrollBarInc GetIncrement() const { return increment_; }
  void SetIncrement(TScrollBarInc v);
  int GetPosition() const { return position_; }
  void SetPosition(int v);
  int GetRange() const { return range_; }
  void SetRange(int v);
  bool GetVisible() const { return visible_; }
  void SetVisible(bool v);
  // Range is stored unless AutoScroll computes it.
  bool IsRangeStored() const;

  // True while the window shows this scroll bar.
  bool IsScrollBarVisible();
  // The scroll bar's part of a WM_HSCROLL/WM_VSCROLL of the control itself.
  void ScrollMessage(TMessage& m);
  // Sends the range, page and position to the window's scroll bar.
  void Update(bool controlSB, bool assumeSB);
  // Sets the range AutoScroll computed (Range without storing it).
  void DoSetRange(int v);

 private:
  friend class TScrollingWinControl;
  // The client size in this bar's direction; controlSB counts the other
  // bar's thickness when it is shown, assumeSB when it would be.
  int ControlSize(bool controlSB, bool assumeSB);

  TScrollingWinControl* control_;
  TScrollBarKind kind_;
  TScrollBarInc increment_ = 8;
  int pageIncrement_ = 80;
  int position_ = 0;
  int range_ = 0;
  int calcRange_ = 0;
  bool visible_ = true;
};

class TScrollingWinControl : public TWinControl {
  DECLARE_CLASS(TScrollingWinControl, TWinControl)

  explicit TScrollingWinControl(TComponent* owner);
  ~TScrollingWinControl() override { DestroyUnfinished(); }

  TControlScrollBar* GetHorzScrollBar() const { return horzScrollBar_; }
  void SetHorzScrollBar(TControlScrollBar* v) { horzScrollBar_->Assign(v); }
  TControlScrollBar* GetVertScrollBar() const { return vertScrollBar_; }
  void SetVertScrollBar(TControlScrollBar* v) { vertScrollBar_->Assign(v); }
  bool GetAutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool v);

  // While disabled (counted), AutoScroll leaves the ranges as they are.
  void DisableAutoRange();
  void EnableAutoRange();
  // Scrolls so that control lies within the client area.
  void ScrollInView(TControl* control);
  // ScrollInView unless either is being loaded (what focusing a child does).
  void AutoScrollInView(TControl* control);
  // Moves every child by (dx, dy) pixels and scrolls the window's pixels.
  void ScrollBy(int dx, int dy);
  void UpdateScrollBars();
  void CalcAutoRange();

  void CreateParams(TCreateParams& params) override;
  void AlignControls(TControl* control, RECT& rect) override;
  void AdjustClientRect(RECT& rect) override;
  void CreateWnd() override;
  void WMSize(TMessage& m) override;
  void WMHScroll(TMessage& m) override;
  void WMVScroll(TMessage& m) override;

 protected:
  void Destroy() override;
  // What a root (a form, a frame) writes after its controls: the
  // components it owns that no parent writes (menus, timers, the
  // libraries' non-visual components).
  void GetOwnedChildren(const TGetChildProc& proc);

 private:
  friend class TControlScrollBar;
  TControlScrollBar* horzScrollBar_ = nullptr;
  TControlScrollBar* vertScrollBar_ = nullptr;
  bool autoScroll_ = true;
  int autoRangeCount_ = 0;
  bool updatingScrollBars_ = false;
};
