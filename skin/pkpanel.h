// TpkPanel: a panel that can be see-through (its parent's picture shows
// behind it and behind its child controls) and that can draw an edit-style
// frame (TpkEditFrame) instead of bevels, in other colours while it has the
// focus.
//
// See-through works by not painting: the window is WS_EX_TRANSPARENT (the
// system paints it after the siblings below it), answers WM_ERASEBKGND
// without erasing, and neither it nor its parent clips children, so the
// parent's own painting (the skin) lies under it. Whatever invalidates the
// panel invalidates the same area of the parent first. Design mode always
// paints opaque.
#pragma once

#include "classlib/ExtCtrls.h"

class TpkEditFrame;

class TpkCustomPanel : public TCustomPanel {
  DECLARE_CLASS(TpkCustomPanel, TCustomPanel)

  explicit TpkCustomPanel(TComponent* owner);

  TpkEditFrame* GetFrame() const { return frame_; }
  void SetFrame(TpkEditFrame* value);
  bool GetTransparent() const { return transparent_; }
  bool GetHasFocus() const { return hasFocus_; }

  // --- virtual operations, in the library's order ---------------------------------------
  virtual void SetTransparent(bool value);
  // Transparent and not being designed.
  virtual bool IsTransparent();
  virtual bool FocusColorsDiffer();

  // --- overrides ------------------------------------------------------------------------------
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void AlignControls(TControl* control, RECT& rect) override;
  void Invalidate() override;
  void Paint() override;
  void SetParent(TWinControl* parent) override;
  void WMEraseBkgnd(TMessage& m) override;
  void WMMove(TMessage& m) override;
  void CMTextChanged(TMessage& m) override;
  void CMEnter(TMessage& m) override;
  void CMExit(TMessage& m) override;

 protected:
  void Destroy() override;

 private:
  bool FrameInEffect() const;
  void FocusChanged();
  void ClearClipChildren();

  TpkEditFrame* frame_ = nullptr;
  bool transparent_ = false;
  bool hasFocus_ = false;
};

class TpkPanel : public TpkCustomPanel {
  DECLARE_CLASS(TpkPanel, TpkCustomPanel)
  using TpkCustomPanel::TpkCustomPanel;
};

// Start-up: the panel class joins the class registry.
void InitializePkPanel();
void FinalizePkPanel();
