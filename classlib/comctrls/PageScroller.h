// TPageScroller: the system's pager common control ("SysPager") holding
// one child control (Control) larger than itself, scrolled with the
// control's arrow buttons. The pager asks its size with PGN_CALCSIZE
// (answered with the child's width or height) and moves the child's window
// itself; the child's bounds follow the pager's position.
#pragma once

#include "classlib/Controls.h"

enum TPageScrollerOrientation { soHorizontal, soVertical };
DECLARE_ENUM_TYPE(TPageScrollerOrientation);

class TPageScroller : public TWinControl {
  DECLARE_CLASS(TPageScroller, TWinControl)

  explicit TPageScroller(TComponent* owner);

  // The scrolled child; a windowed child of the pager.
  TWinControl* GetControl() const { return control_; }
  void SetControl(TWinControl* v);
  TPageScrollerOrientation GetOrientation() const { return orientation_; }
  void SetOrientation(TPageScrollerOrientation v);
  // The scroll position in pixels.
  int GetPosition();
  void SetPosition(int v);
  int GetButtonSize() const { return buttonSize_; }
  void SetButtonSize(int v);
  bool GetAutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool v);

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& m) override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void CNNotify(TMessage& m);
  void AlignControls(TControl* control, RECT& rect) override;

 private:
  void UpdateChild();

  TWinControl* control_ = nullptr;
  TPageScrollerOrientation orientation_ = soHorizontal;
  int position_ = 0;
  int buttonSize_ = 12;
  bool autoScroll_ = false;
};
