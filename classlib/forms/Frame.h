// TCustomFrame and TFrame: a reusable group of controls with a stored form
// of its own, placed on forms and on other frames.
//
// A frame class with a stored form ("TFRAME1", the class name in upper case)
// reads it when it is made, once the object is whole (AfterConstruction, as
// forms do): the stored forms of its classes from the one below TFrame down
// to its own, so a frame class may inherit another's. A class other than
// TFrame without any raises EResNotFound "Resource %s not found". The
// frame's components are its own (it is their owner and the root their
// events and references are bound to); a second frame of one class on one
// owner takes "Frame1_1" while its stored form is read, as the first holds
// "Frame1".
//
// On a form's stored form a frame is an "inline" object: the frame is made
// (its own stored form read), then the form's values are read over it, its
// children's as "inherited" objects of the frame.
#pragma once

#include "classlib/forms/ScrollingWinControl.h"

class TCustomFrame : public TScrollingWinControl {
  DECLARE_CLASS(TCustomFrame, TScrollingWinControl)

  explicit TCustomFrame(TComponent* owner);
  ~TCustomFrame() override { DestroyUnfinished(); }

  void AfterConstruction() override;
  void CreateParams(TCreateParams& params) override;
  // Its controls, then (for the frame being written) the components it owns
  // that no parent writes.
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetParent(TWinControl* parent) override;

 protected:
  // A family of frames with a root of its own: objects of rootAncestor
  // read no stored form, those of the classes below it read theirs from
  // the one below rootAncestor down.
  TCustomFrame(TComponent* owner, TClass rootAncestor);

 private:
  TClass rootAncestor_;
};

class TFrame : public TCustomFrame {
  DECLARE_CLASS(TFrame, TCustomFrame)
  using TCustomFrame::TCustomFrame;
};
