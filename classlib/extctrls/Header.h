// THeader: the older header of the ExtCtrls unit, painted by the class
// library itself (no common control): a row of sections named by a string
// list, each with its width, whose dividers the user drags.
//
// The last section has no width of its own: it runs from the end of the
// others to the right edge of the client area. A drag of a divider resizes
// the section on its left while the mouse moves (OnSizing on each move) and
// OnSized fires once the button is released.
#pragma once

#include <vector>

#include "classlib/Controls.h"
#include "classlib/forms/FormTypes.h"

// Raised by users of the header controls that are handed the wrong kind of
// control; the class library keeps it beside the older header.
DECLARE_EXCEPTION(EHeaderError, Exception);

using TSectionEvent = TClosure<void(TObject* Sender, int ASection, int AWidth)>;

class THeader : public TCustomControl {
  DECLARE_CLASS(THeader, TCustomControl)

  explicit THeader(TComponent* owner);

  TStrings* GetSections() const { return sections_; }
  void SetSections(TStrings* v) { sections_->Assign(v); }
  // A width outside the sections reads 0 and is not written; the last
  // section's width is what is left of the client width (not below 0).
  int GetSectionWidth(int index);
  void SetSectionWidth(int index, int width);
  bool GetAllowResize() const { return allowResize_; }
  void SetAllowResize(bool v) { allowResize_ = v; }
  TBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);

  TSectionEvent OnSizing;
  TSectionEvent OnSized;
  TSectionEvent GetOnSizing() const { return OnSizing; }
  void SetOnSizing(TSectionEvent e) { OnSizing = e; }
  TSectionEvent GetOnSized() const { return OnSized; }
  void SetOnSized(TSectionEvent e) { OnSized = e; }

  // The divider at the right of section i lies at SectionRight(i); the
  // divider under client x, or -1.
  int SectionRight(int index);
  int DividerAt(int x);

  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void WMSetCursor(TMessage& m) override;

 protected:
  void Destroy() override;
  virtual void Sizing(int section, int width);
  virtual void Sized(int section, int width);

 private:
  void SectionsChanged(TObject* sender);

  TStringList* sections_ = nullptr;
  std::vector<int> widths_;
  bool allowResize_ = true;
  TBorderStyle borderStyle_ = bsSingle;
  int tracking_ = -1;  // the section whose divider is being dragged
  int trackOffset_ = 0;
};
