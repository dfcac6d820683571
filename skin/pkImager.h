// TpkImager: shows a picture through a working TpkBitmap to which a fixed
// chain of effects is applied (TpkBitmapOptions), in one of six draw styles.
//
// The chain always starts again from the source picture, so effects never
// accumulate: a change of any option, of the picture or of the size that the
// working bitmap needs re-runs it whole. The imager can take the keyboard
// focus through a hidden windowed proxy (TpkImagerWinControl) and then copies,
// cuts and pastes through the clipboard. TpkDBCustomImager is the same design
// on a window of its own.
//
// The draw styles are a scoped enumeration (TpkImagerDrawStyle::dsNormal):
// the image list's TDrawingStyle (classlib/ImgList.h) has a dsNormal of its
// own, and both reach the same source files. Stored forms name them as usual
// ("dsNormal").
#pragma once

#include <functional>
#include <vector>

#include "classlib/Controls.h"

class TpkBitmap;
class TpkChangeLink;
class TpkBitmapOptions;

// Blends a picture over the result (Amount 0..255 of the difference).
class TpkAlphaBlend : public TPersistent {
  DECLARE_CLASS(TpkAlphaBlend, TPersistent)

  explicit TpkAlphaBlend(TpkBitmapOptions* options = nullptr);

  uint8_t GetAmount() const { return amount_; }
  void SetAmount(uint8_t v);
  TpkBitmap* GetBitmap() const { return bitmap_; }
  // Assigns the given bitmap into the owned one.
  void SetBitmap(TpkBitmap* v);
  bool GetTransparent() const;
  void SetTransparent(bool v);

  // Applies the options unless already inside that call.
  virtual void Changed();

 protected:
  void Destroy() override;

 private:
  void BitmapChanged(TObject*);

  TpkBitmapOptions* options_;
  uint8_t amount_ = 0;
  TpkBitmap* bitmap_ = nullptr;
  bool changing_ = false;
};

// Rotation about a centre (-1: the centre of the working bitmap).
class TpkRotate : public TPersistent {
  DECLARE_CLASS(TpkRotate, TPersistent)

  explicit TpkRotate(TpkBitmapOptions* options = nullptr) : options_(options) {}

  int GetCenterX() const { return centerX_; }
  void SetCenterX(int v);
  int GetCenterY() const { return centerY_; }
  void SetCenterY(int v);
  int GetAngle() const { return angle_; }
  void SetAngle(int v);

 private:
  TpkBitmapOptions* options_;
  int centerX_ = -1;
  int centerY_ = -1;
  int angle_ = 0;
};

class TpkWave : public TPersistent {
  DECLARE_CLASS(TpkWave, TPersistent)

  explicit TpkWave(TpkBitmapOptions* options = nullptr) : options_(options) {}

  int GetXDiv() const { return xDiv_; }
  void SetXDiv(int v);
  int GetYDiv() const { return yDiv_; }
  void SetYDiv(int v);
  int GetRatio() const { return ratio_; }
  void SetRatio(int v);
  bool GetWrap() const { return wrap_; }
  void SetWrap(bool v);

 private:
  TpkBitmapOptions* options_;
  int xDiv_ = 0;
  int yDiv_ = 0;
  int ratio_ = 0;
  bool wrap_ = false;
};

// The effect options of an imager and the chain that applies them.
class TpkBitmapOptions : public TPersistent {
  DECLARE_CLASS(TpkBitmapOptions, TPersistent)

  // control: the owning control (its loading state stops the chain);
  // workBitmap and sourcePicture belong to it.
  TpkBitmapOptions(TControl* control = nullptr, TpkBitmap* workBitmap = nullptr, TPicture* sourcePicture = nullptr);

  TpkAlphaBlend* GetAlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(TpkAlphaBlend* v) { alphaBlend_->Assign(v); }
  TpkRotate* GetRotation() const { return rotation_; }
  void SetRotation(TpkRotate* v) { rotation_->Assign(v); }
  TpkWave* GetWave() const { return wave_; }
  void SetWave(TpkWave* v) { wave_->Assign(v); }
  TColor GetColor() const { return color_; }
  void SetColor(TColor v);
  TColor GetTintColor() const { return tintColor_; }
  void SetTintColor(TColor v);
  // Index 0 Lightness, 1 Saturation, 2 Sponge, 3 GaussianBlur, 4 Contrast,
  // 5 Sharpen.
  int GetIntOption(int index) const;
  void SetIntOption(int index, int v);
  // Index 0 Embossed, 1 Inverted, 2 GrayScale, 3 HorizontallyFlipped,
  // 4 VerticallyFlipped.
  bool GetBoolOption(int index) const;
  void SetBoolOption(int index, bool v);

  TControl* GetControl() const { return control_; }
  TpkBitmap* GetWorkBitmap() const { return workBitmap_; }
  TPicture* GetSourcePicture() const { return sourcePicture_; }
  bool GetTileFill() const { return tileFill_; }
  void SetTileFill(bool v) { tileFill_ = v; }
  int GetUpdateCount() const { return updateCount_; }
  TNotifyEvent OnChange;

  // Keeps Apply from running until the matching EndUpdate.
  virtual void BeginUpdate();
  // The effect chain, from the source picture into the working bitmap.
  virtual void Apply();
  // Lowers the counter; at 0 the chain runs once for every change made.
  void EndUpdate();

  void AssignTo(TPersistent* dest) override;

 protected:
  void Destroy() override;

 private:
  TControl* control_;
  TpkBitmap* workBitmap_;
  TPicture* sourcePicture_;
  TpkAlphaBlend* alphaBlend_ = nullptr;
  TpkRotate* rotation_ = nullptr;
  TpkWave* wave_ = nullptr;
  TColor color_ = clNone;
  TColor tintColor_ = clNone;
  int ints_[6] = {0, -1, 0, 0, 0, 0};
  bool bools_[5] = {false, false, false, false, false};
  bool tileFill_ = false;
  int updateCount_ = 0;
};

enum class TpkImagerDrawStyle { dsNormal, dsCenter, dsStretch, dsTile, dsProportional, dsProportionalCenter };
DECLARE_ENUM_TYPE(TpkImagerDrawStyle);

// Where the working bitmap (bw x bh) of a picture (pw x ph) is drawn in a
// control of w x h. Sizes of 0 give an empty rectangle, never a division by 0.
TRect ImagerDrawRect(TpkImagerDrawStyle style, int w, int h, int bw, int bh, int pw, int ph);

// What both imagers hold and do alike: the source picture, the working
// bitmap and its options, the draw style, PreProcess and the transparent
// flag, with the sizing, bounds and painting logic over them. The owning
// control keeps its own events, invalidation and focus handling.
class TpkImagerParts {
 public:
  // The picture's changes go to pictureChanged, the chain's to optionsChanged.
  TpkImagerParts(TControl* control, TNotifyEvent pictureChanged, TNotifyEvent optionsChanged);
  ~TpkImagerParts();
  TpkImagerParts(const TpkImagerParts&) = delete;
  TpkImagerParts& operator=(const TpkImagerParts&) = delete;

  TPicture* Picture() const { return picture_; }
  TpkBitmap* WorkBitmap() const { return workBitmap_; }
  TpkBitmapOptions* Options() const { return options_; }
  TpkImagerDrawStyle DrawStyle() const { return drawStyle_; }
  // Stores the style; the chain tiles the picture for dsTile.
  void SetDrawStyle(TpkImagerDrawStyle v);
  bool PreProcess() const { return preProcess_; }
  void SetPreProcess(bool v) { preProcess_ = v; }
  bool Transparent() const { return transparent_; }
  // Stores the flag and hands it to the picture's graphic.
  void SetTransparent(bool v);
  bool SuppressInvalidate() const { return suppressInvalidate_; }

  bool PictureEmpty() const;
  TRect DrawRect() const;
  // The working bitmap at the size that the style, PreProcess, the rotation
  // and the picture ask for.
  void SizeWorkingBitmap();
  // With AutoSize (and no Align) the control takes the picture's size.
  void AdjustSize();
  // A new size: the parent does not erase under the control meanwhile, what
  // is pending is painted, then update runs; the same size only moves.
  void SetBounds(int left, int top, int width, int height,
                 const std::function<void(int, int, int, int)>& inheritedSetBounds,
                 const std::function<void()>& update);
  // Paints the working bitmap in the draw rectangle; while it is still empty
  // runs apply instead (the next paint draws).
  void Paint(TCanvas* canvas, const std::function<void()>& apply) const;

 private:
  TControl* control_;
  TPicture* picture_ = nullptr;
  TpkBitmap* workBitmap_ = nullptr;
  TpkBitmapOptions* options_ = nullptr;
  TpkImagerDrawStyle drawStyle_ = TpkImagerDrawStyle::dsNormal;
  bool preProcess_ = true;
  bool transparent_ = false;
  bool sizing_ = false;
  bool suppressInvalidate_ = false;
};

class TpkCustomImager;

// The hidden windowed control that takes the focus for an imager.
class TpkImagerWinControl : public TWinControl {
  DECLARE_CLASS(TpkImagerWinControl, TWinControl)

  explicit TpkImagerWinControl(TComponent* owner);

  TpkCustomImager* GetImager() const { return imager_; }
  void SetImager(TpkCustomImager* v) { imager_ = v; }

  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyUp(WORD& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  void CMEnter(TMessage& m) override;
  void CMExit(TMessage& m) override;

 private:
  TpkCustomImager* imager_ = nullptr;
};

class TpkCustomImager : public TGraphicControl {
  DECLARE_CLASS(TpkCustomImager, TGraphicControl)

  explicit TpkCustomImager(TComponent* owner);

  // --- properties ----------------------------------------------------------------------
  TPicture* GetPicture() const { return parts_.Picture(); }
  void SetPicture(TPicture* v) { parts_.Picture()->Assign(v); }
  TpkBitmap* GetWorkBitmap() const { return parts_.WorkBitmap(); }
  TpkBitmapOptions* GetBitmapOptions() const { return parts_.Options(); }
  void SetBitmapOptions(TpkBitmapOptions* v) { parts_.Options()->Assign(v); }
  TpkImagerDrawStyle GetDrawStyle() const { return parts_.DrawStyle(); }
  void SetDrawStyle(TpkImagerDrawStyle v);
  bool GetPreProcess() const { return parts_.PreProcess(); }
  void SetPreProcess(bool v);
  bool GetTransparent() const { return parts_.Transparent(); }
  void SetTransparent(bool v);
  TColor GetTransparentColor() const;
  void SetTransparentColor(TColor v);
  bool GetSmoothStretching() const;
  void SetSmoothStretching(bool v);
  bool GetRespectPalette() const { return respectPalette_; }
  void SetRespectPalette(bool v);
  void SetAutoSize(bool v) override;
  bool GetFocusable() const { return focusable_; }
  void SetFocusable(bool v);
  bool GetTabStop() const { return tabStop_; }
  void SetTabStop(bool v);
  int GetTabOrder() const { return tabOrder_; }
  void SetTabOrder(int v);
  TpkImagerWinControl* GetFocusControl() const { return focusControl_; }
  bool GetHasFocus() const { return hasFocus_; }
  // Where the working bitmap is drawn.
  TRect DrawRect() const { return parts_.DrawRect(); }

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent GetOnEnter() const { return OnEnter; }
  void SetOnEnter(TNotifyEvent e) { OnEnter = e; }
  TNotifyEvent GetOnExit() const { return OnExit; }
  void SetOnExit(TNotifyEvent e) { OnExit = e; }
  TKeyEvent GetOnKeyDown() const { return OnKeyDown; }
  void SetOnKeyDown(TKeyEvent e) { OnKeyDown = e; }
  TKeyEvent GetOnKeyUp() const { return OnKeyUp; }
  void SetOnKeyUp(TKeyEvent e) { OnKeyUp = e; }
  TKeyPressEvent GetOnKeyPress() const { return OnKeyPress; }
  void SetOnKeyPress(TKeyPressEvent e) { OnKeyPress = e; }

  // --- virtual operations, in the library's order ------------------------------------------
  virtual void CreateFocusControl();
  virtual void BitmapOptionsChanged(TObject* sender);
  virtual void PictureChanged(TObject* sender);
  void AdjustSize() override;
  virtual void DoKeyUp(WORD& key, TShiftState shift);
  virtual void DoKeyDown(WORD& key, TShiftState shift);
  virtual void DoKeyPress(char& key);
  virtual void DoEnter();
  virtual void DoExit();
  virtual bool PictureEmpty() const;
  virtual void RegisterChanges(TpkChangeLink* link);
  virtual void UpdateWorkingBitmap();
  virtual void ApplyBitmapOptions();
  virtual void UnregisterChanges(TpkChangeLink* link);
  virtual void CopyToClipboard();
  virtual void PasteFromClipboard();
  virtual void CutToClipboard();
  virtual void SetFocus();

  // --- overrides -----------------------------------------------------------------------------
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void WndProc(TMessage& m) override;
  void SetParent(TWinControl* parent) override;
  void SetBounds(int left, int top, int width, int height) override;
  void Invalidate() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 protected:
  void Destroy() override;

 private:
  void NotifyLinks();
  void InvalidateParent(bool erase);
  void UpdateFocusControl();

  TpkImagerParts parts_;
  bool respectPalette_ = true;
  bool focusable_ = false;
  bool tabStop_ = false;
  int tabOrder_ = -1;
  TpkImagerWinControl* focusControl_ = nullptr;
  bool hasFocus_ = false;
  bool updating_ = false;
  std::vector<TpkChangeLink*> links_;
};

class TpkImager : public TpkCustomImager {
  DECLARE_CLASS(TpkImager, TpkCustomImager)
  using TpkCustomImager::TpkCustomImager;
};

// The imager's design on a window of its own (no focus proxy).
class TpkDBCustomImager : public TCustomControl {
  DECLARE_CLASS(TpkDBCustomImager, TCustomControl)

  explicit TpkDBCustomImager(TComponent* owner);

  TPicture* GetPicture() const { return parts_.Picture(); }
  void SetPicture(TPicture* v) { parts_.Picture()->Assign(v); }
  TpkBitmap* GetWorkBitmap() const { return parts_.WorkBitmap(); }
  TpkBitmapOptions* GetBitmapOptions() const { return parts_.Options(); }
  TpkImagerDrawStyle GetDrawStyle() const { return parts_.DrawStyle(); }
  void SetDrawStyle(TpkImagerDrawStyle v);
  bool GetPreProcess() const { return parts_.PreProcess(); }
  void SetPreProcess(bool v);
  bool GetTransparent() const { return parts_.Transparent(); }
  void SetTransparent(bool v);
  void SetAutoSize(bool v) override;
  TRect DrawRect() const { return parts_.DrawRect(); }

  virtual void UpdateWorkingBitmap();
  virtual void ApplyBitmapOptions();
  virtual bool PictureEmpty() const;
  void AdjustSize() override;
  void Paint() override;
  void Loaded() override;
  void SetBounds(int left, int top, int width, int height) override;
  void Invalidate() override;
  void CreateWnd() override;
  void WMEraseBkgnd(TMessage& m) override;
  void CMEnter(TMessage& m) override;
  void CMExit(TMessage& m) override;

 private:
  void PictureChanged(TObject*);
  void OptionsChanged(TObject*);

  TpkImagerParts parts_;
  bool applying_ = false;
  bool updating_ = false;
};

// Start-up: the imager classes join the class registry.
void InitializePkImager();
void FinalizePkImager();
