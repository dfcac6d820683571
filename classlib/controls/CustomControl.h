// Controls that paint themselves: TGraphicControl (no window; its parent
// paints it in Z-order) and TCustomControl (a window), both through a
// TControlCanvas in a virtual Paint.
#pragma once

#include "classlib/controls/WinControl.h"

// Gives back the DCs that control canvases took outside painting, except
// those of locked canvases; the window procedure calls it after each message.
void FreeDeviceContexts();
// Gives back the DCs taken on one window (before the window goes).
void FreeDeviceContextsOf(HWND window);

// The canvas drawing into a device context that a paint message brought,
// for the life of the object: locked (FreeDeviceContexts leaves it alone),
// and given back the DC when the painting ends, also by an exception.
class TCanvasPaintScope {
 public:
  TCanvasPaintScope(TCanvas* canvas, HDC dc) : canvas_(canvas) {
    canvas_->Lock();
    canvas_->SetHandle(dc);
  }
  ~TCanvasPaintScope() {
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
  }
  TCanvasPaintScope(const TCanvasPaintScope&) = delete;
  TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;

 private:
  TCanvas* canvas_;
};

// DrawText of text on the canvas; a disabled control's text is embossed, as
// the platform draws it: once in clBtnHighlight one pixel down and right,
// then in clBtnShadow (the canvas keeps that font colour).
void DrawControlText(TCanvas* canvas, const std::string& text, RECT& rect, UINT flags, bool enabled);

// A canvas over a control's device context: GetDC of the control's window,
// or of the parent's window with the origin and clip moved onto a windowless
// control. A DC taken outside painting is given back after the message that
// took it (FreeDeviceContexts).
class TControlCanvas : public TCanvas {
  DECLARE_CLASS(TControlCanvas, TCanvas)

  TControlCanvas() = default;

  TControl* GetControl() const { return control_; }
  void SetControl(TControl* control);
  // Gives back the device context taken from the window.
  void FreeHandle();
  HWND GetDCWindow() const { return window_; }
  // Sets the canvas text flags from the control's reading order.
  void UpdateTextFlags();

 protected:
  void CreateHandle() override;
  void Destroy() override;

 private:
  TControl* control_ = nullptr;
  HDC deviceContext_ = nullptr;
  HWND window_ = nullptr;
};

class TGraphicControl : public TControl {
  DECLARE_CLASS(TGraphicControl, TControl)

  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override { DestroyUnfinished(); }

  TCanvas* GetCanvas() const { return canvas_; }
  virtual void Paint() {}

  // Paints into the DC the parent's painting brings (nothing without one).
  virtual void WMPaint(TMessage& m);
  void Dispatch(TMessage& m) override;

 protected:
  void Destroy() override;

 private:
  TCanvas* canvas_ = nullptr;
};

class TCustomControl : public TWinControl {
  DECLARE_CLASS(TCustomControl, TWinControl)

  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override { DestroyUnfinished(); }

  TCanvas* GetCanvas() const { return canvas_; }
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;
  void WMPaint(TMessage& m) override;

 protected:
  void Destroy() override;

 private:
  TCanvas* canvas_ = nullptr;
};
