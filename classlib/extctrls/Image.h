// TImage: shows a picture, at its own size, centred, stretched or scaled in
// proportion; its Canvas draws into a bitmap picture.
#pragma once

#include "classlib/Controls.h"

class TImage : public TGraphicControl {
  DECLARE_CLASS(TImage, TGraphicControl)

  explicit TImage(TComponent* owner);

  TPicture* GetPicture() const { return picture_; }
  void SetPicture(TPicture* v) { picture_->Assign(v); }
  // The canvas of the picture's bitmap (it hides the control's own canvas,
  // which Paint reaches as TGraphicControl::GetCanvas); an empty picture
  // first gets a bitmap of the control's size. Any other graphic raises
  // EInvalidOperation "Can only modify an image if it contains a bitmap".
  TCanvas* GetCanvas();
  bool GetCenter() const { return center_; }
  void SetCenter(bool v);
  bool GetIncrementalDisplay() const { return incrementalDisplay_; }
  void SetIncrementalDisplay(bool v) { incrementalDisplay_ = v; }
  // Stretched to fill the control, or scaled in proportion when larger
  // than it (with Stretch: always scaled in proportion).
  bool GetProportional() const { return proportional_; }
  void SetProportional(bool v);
  bool GetStretch() const { return stretch_; }
  void SetStretch(bool v);
  bool GetTransparent() const { return transparent_; }
  void SetTransparent(bool v);

  // Where the picture is drawn in the client area.
  TRect DestRect();
  bool CanAutoSize(int& newWidth, int& newHeight) override;
  void Paint() override;
  // Size, opacity and repaint after the picture changed.
  virtual void PictureChanged(TObject* sender);

  TProgressEvent OnProgress;
  TProgressEvent GetOnProgress() const { return OnProgress; }
  void SetOnProgress(TProgressEvent e) { OnProgress = e; }

 protected:
  void Destroy() override;
  void Progress(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& r,
                const std::string& msg);

 private:
  TPicture* picture_ = nullptr;
  bool center_ = false;
  bool incrementalDisplay_ = false;
  bool proportional_ = false;
  bool stretch_ = false;
  bool transparent_ = false;
  bool drawing_ = false;
};
