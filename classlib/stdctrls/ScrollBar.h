// TScrollBar: a scroll bar control on the system SCROLLBAR class.
#pragma once

#include <algorithm>

#include "classlib/stdctrls/StdCtrlsTypes.h"

class TScrollBar : public TWinControl {
  DECLARE_CLASS(TScrollBar, TWinControl)

  explicit TScrollBar(TComponent* owner);

  TScrollBarKind GetKind() const { return kind_; }
  void SetKind(TScrollBarKind v);
  int GetMin() const { return min_; }
  void SetMin(int v) { SetParams(position_, v, max_); }
  int GetMax() const { return max_; }
  void SetMax(int v) { SetParams(position_, min_, v); }
  int GetPosition() const { return position_; }
  void SetPosition(int v) { SetParams(v, min_, max_); }
  int GetPageSize() const { return pageSize_; }
  void SetPageSize(int v);
  TScrollBarInc GetSmallChange() const { return smallChange_; }
  void SetSmallChange(TScrollBarInc v) { smallChange_ = v; }
  TScrollBarInc GetLargeChange() const { return largeChange_; }
  void SetLargeChange(TScrollBarInc v) { largeChange_ = v; }
  // Sets position and range at once; a range below the page size or a Max
  // below Min raises EInvalidOperation "Scrollbar property out of range".
  void SetParams(int position, int min, int max);

  virtual void Change();
  virtual void Scroll(TScrollCode code, int& pos);

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;
  TNotifyEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TNotifyEvent e) { OnChange = e; }
  TScrollEvent GetOnScroll() const { return OnScroll; }
  void SetOnScroll(TScrollEvent e) { OnScroll = e; }

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& m) override;
  virtual void CNScroll(TMessage& m);
  void CMEnabledChanged(TMessage& m) override;

 private:
  void UpdateScrollInfo();

  TScrollBarKind kind_ = sbHorizontal;
  int position_ = 0;
  int min_ = 0;
  int max_ = 100;
  int pageSize_ = 0;
  TScrollBarInc smallChange_ = 1;
  TScrollBarInc largeChange_ = 1;
};
