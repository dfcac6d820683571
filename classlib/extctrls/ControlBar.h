// TControlBar: a container whose child controls sit as bands in rows of
// RowSize pixels, each band a raised frame with a grabber at its left by
// which the user drags it along its row or into another one. The bands
// keep their rows and left-to-right order from where their controls are;
// a row that empties closes up.
#pragma once

#include "classlib/Controls.h"

class TControlBar : public TCustomControl {
  DECLARE_CLASS(TControlBar, TCustomControl)

  explicit TControlBar(TComponent* owner);

  int GetRowSize() const { return rowSize_; }
  void SetRowSize(int v);
  // Bands dragged by the grabber (on) or left where they are (off).
  bool GetAutoDrag() const { return autoDrag_; }
  void SetAutoDrag(bool v) { autoDrag_ = v; }

  // The width of a band's grabber, left of its control.
  static constexpr int GrabberSize = 11;
  // The band of control c (its frame with the grabber), in client
  // coordinates.
  RECT BandRect(TControl* c) const;
  // The row a band of a control lies in, from 0.
  int RowOf(TControl* c) const;

  void SetAutoSize(bool v) override;
  void AlignControls(TControl* control, RECT& rect) override;
  bool CanAutoSize(int& newWidth, int& newHeight) override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void LayoutBands();
  TControl* GrabberAt(int x, int y);

  int rowSize_ = 26;
  bool autoDrag_ = true;
  bool laying_ = false;
  int rows_ = 0;
  TControl* dragging_ = nullptr;
  POINT dragOffset_{};
};
