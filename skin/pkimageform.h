// TpkImageForm: turns the form it sits on into a skinned window. It fills
// the form, paints a picture, makes the form borderless, can cut the form to
// the outline of the picture, and lets the user drag the whole form by
// pressing the left button on any point that is not a clickable control.
//
// Dragging. One WH_MOUSE hook per thread serves every image form of the
// thread (reference-counted by the forms' constructors and destructors). It
// sees a left press before the window does, decides whether the press drags
// (see the hook in the source file), swallows it and runs the drag: either
// the system's own move loop (ifUseWindowsDrag with full-window dragging on)
// or a capture loop of its own that draws a dotted outline on the screen
// and moves the form when the button goes up, once the cursor has left the
// DragTolerance square around the press point.
//
// Region. The form's window region is rebuilt from the picture only when
// the stored "RegionData" is read with a count of 0, and just before it is
// written; a picture loaded later repaints the form but does not reshape it.
#pragma once

#include "classlib/Controls.h"
#include "skin/pkImage.h"

class TCustomForm;

enum TpkImageFormOption { ifUseWindowsDrag, ifNoPaletteDither };
DECLARE_ENUM_TYPE(TpkImageFormOption);
using TpkImageFormOptions = TSet<TpkImageFormOption>;

class TpkCustomImageForm : public TpkCustomImage {
  DECLARE_CLASS(TpkCustomImageForm, TpkCustomImage)

  explicit TpkCustomImageForm(TComponent* owner);

  // --- properties -------------------------------------------------------------
  int GetDragTolerance() const { return dragTolerance_; }
  void SetDragTolerance(int value) { dragTolerance_ = value; }
  // clNone: the colour of the picture's bottom-left pixel. Setting it does
  // not rebuild the region.
  TColor GetTransparentColor() const { return transparentColor_; }
  void SetTransparentColor(TColor value) { transparentColor_ = value; }
  // The region last set on the form (the form's window owns it), or null.
  HRGN GetRegion() const { return region_; }
  // When set, only presses inside it drag the form.
  TControl* GetCaptionBarControl() const { return captionBarControl_; }
  void SetCaptionBarControl(TControl* value);
  TpkImageFormOptions GetOptions() const { return options_; }
  void SetOptions(TpkImageFormOptions value) { options_ = value; }
  // Assigns the picture and sizes the parent form's client area to it.
  void SetPicture(TPicture* value) override;

  // --- drag and region ----------------------------------------------------------
  // Three nested dotted frames in XOR: drawing them again erases them.
  virtual void DrawDragOutline(HDC dc, const TRect& rect);
  // Starts a drag at (x, y) of the form's client area; without ssLeft it
  // opens the window's keyboard menu instead.
  virtual void BeginMove(TMouseButton button, TShiftState shift, int x, int y);
  // A mouse filter for a window procedure that wants the drag without the
  // hook (nothing in the library calls it).
  virtual void FilterMouseMessage(TMessage& message);
  // The capture loop of the outline drag.
  virtual void DragLoop(int x, int y);
  // One WM_MOUSEMOVE of the loop.
  virtual void DragStep(int x, int y, const TRect& startRect, TRect& targetRect, bool& first, POINT cursorPos);
  // WM_LBUTTONUP of the loop.
  virtual void EndDrag(const TRect& targetRect);
  // ifUseWindowsDrag with the system's full-window dragging on.
  virtual bool UseSystemDrag();
  virtual void RebuildRegion();
  // Recreates the form's current window region scaled by the two factors.
  virtual void ScaleRegion(float scaleX, float scaleY);

  // --- overrides ------------------------------------------------------------------
  void DefineProperties(TFiler* filer) override;
  void Notification(TComponent* component, TOperation operation) override;
  // The form of the given parent; the form loses WS_CLIPCHILDREN and its
  // border.
  void SetParent(TWinControl* parent) override;
  // With AutoSize, the parent form's client area follows the size.
  void SetBounds(int left, int top, int width, int height) override;
  void Paint() override;

  // The picture's key colour: TransparentColor, or with clNone the picture's
  // bottom-left pixel (a graphic that is not a bitmap is drawn on white at
  // its own size and that drawing's pixel is taken).
  TColor RegionColor();

 protected:
  void Destroy() override;

 private:
  TCustomForm* ParentFormOf() const;
  void SetFormRegion(HRGN region, bool redraw);
  void DropRegion();
  void ReadRegionStream(TStream* stream);
  void WriteRegionStream(TStream* stream);

  int dragTolerance_ = 5;
  TColor transparentColor_ = clNone;
  HRGN region_ = nullptr;
  // True while region_ belongs to this control (not handed to a window).
  bool ownsRegion_ = false;
  TControl* captionBarControl_ = nullptr;
  TpkImageFormOptions options_;
  TRect lastOutline_{0, 0, 0, 0};
  bool moved_ = false;
  bool hooked_ = false;
};

class TpkImageForm : public TpkCustomImageForm {
  DECLARE_CLASS(TpkImageForm, TpkCustomImageForm)
  using TpkCustomImageForm::TpkCustomImageForm;
};

namespace pk_detail {
// The thread's image-form mouse hook and its reference count (for tests).
HHOOK ImageFormHook();
int ImageFormHookCount();
}  // namespace pk_detail

// Start-up: the image form classes join the class registry.
void InitializePkImageForm();
void FinalizePkImageForm();
