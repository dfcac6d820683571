// KxBHints: balloon hints. A rounded box with a tail that points at the
// mouse, optionally with a drop shadow, or four pictures of the user's as the
// balloon, replaces the application's hint window while a TKxBalloonHints
// component lives.
//
// The component installs TKxCustomHintWindow as the application's hint
// window class (turning ShowHint off and on, so that the application makes a
// new window of it) and puts the previous class back when it goes. The
// window, made by the application, looks for the balloon-hints components
// on the application's forms and connects to the last one it finds: from
// then on the component's setters reach the window, and the window asks the
// component for ShowBalloon and Shadow. A window with no component draws a
// framed rectangle.
//
// The window answers WM_NCHITTEST with HTTRANSPARENT and WM_ERASEBKGND
// without erasing: the mouse goes through to the control below, and where
// the balloon's shape does not reach, the window shows what was under it
// when it appeared (CS_SAVEBITS).
#pragma once

#include <cstdint>
#include <string>

#include "classlib/Classes.h"
#include "classlib/Forms.h"
#include "classlib/Graphics.h"

// Where the balloon lies relative to the point its tail touches.
enum TKxHintCorner : uint8_t { hcLowerRight, hcLowerLeft, hcUpperLeft, hcUpperRight };
DECLARE_ENUM_TYPE(TKxHintCorner);

// The place of a balloon of w x h whose tail touches anchor, on a screen of
// screenWidth x screenHeight: the preferred corner, turned away from each
// screen edge the balloon would cross (top, bottom, right, left, in that
// order).
struct TKxBalloonPlace {
  int X;
  int Y;
  TKxHintCorner Corner;
};
TKxBalloonPlace KxPlaceBalloon(POINT anchor, int w, int h, TKxHintCorner corner, int screenWidth, int screenHeight);

class TKxBalloonHints;

using TSetHintWinSizeEvent = TClosure<void(TObject* Sender, TCanvas* Canvas, int& Width, int& Height,
                                           const std::string& Caption, TKxHintCorner Corner)>;
using TSetHintRectEvent =
    TClosure<void(TObject* Sender, TCanvas* Canvas, TRect& Rect, const std::string& Caption, TKxHintCorner Corner)>;

// The four pictures that make the balloon, one per corner; a corner without
// its own picture shows another one mirrored.
class TKxBalloonBitmaps : public TPersistent {
  DECLARE_CLASS(TKxBalloonBitmaps, TPersistent)

  TKxBalloonBitmaps();

  TBitmap* GetLowerRight() const { return lowerRight_; }
  TBitmap* GetLowerLeft() const { return lowerLeft_; }
  TBitmap* GetUpperLeft() const { return upperLeft_; }
  TBitmap* GetUpperRight() const { return upperRight_; }
  // The picture of a corner.
  TBitmap* GetBitmap(TKxHintCorner corner) const;
  TColor GetTransparentColor() const { return transparentColor_; }
  void SetTransparentColor(TColor v) { transparentColor_ = v; }
  TNotifyEvent OnChange;

  // --- virtual operations, in the library's order ---------------------------------------
  // Each copies the picture into its own (unless it is that very object) and
  // fires OnChange.
  virtual void SetLowerRight(TBitmap* value);
  virtual void SetLowerLeft(TBitmap* value);
  virtual void SetUpperLeft(TBitmap* value);
  virtual void SetUpperRight(TBitmap* value);

  void Assign(TPersistent* source) override;

 protected:
  void Destroy() override;

 private:
  void Put(TBitmap* own, TBitmap* value);

  TBitmap* lowerRight_;
  TBitmap* lowerLeft_;
  TBitmap* upperLeft_;
  TBitmap* upperRight_;
  TColor transparentColor_ = clOlive;
};

// The balloon window the application makes as its hint window.
class TKxCustomHintWindow : public THintWindow {
  DECLARE_CLASS(TKxCustomHintWindow, THintWindow)

  explicit TKxCustomHintWindow(TComponent* owner);

  int GetCaptionWidth() const { return captionWidth_; }
  void SetCaptionWidth(int v) { captionWidth_ = v; }
  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v; }
  TKxHintCorner GetCorner() const { return corner_; }
  void SetCorner(TKxHintCorner v) { corner_ = v; }
  // The corner of the last placement (hcLowerRight before the first).
  TKxHintCorner GetCurrentCorner() const { return currentCorner_; }
  TFont* GetFont() const { return font_; }
  // Copies the font into the window's own and the canvas.
  void SetFont(TFont* value);
  TKxBalloonHints* GetBalloonHints() const { return balloonHints_; }
  TKxBalloonBitmaps* GetBitmaps() const { return bitmaps_; }
  void SetBitmaps(TKxBalloonBitmaps* v) { bitmaps_ = v; }
  bool GetActive() const { return active_; }
  // What the last hint was shown for: its control and the cursor position in
  // that control's client coordinates.
  const THintInfo& GetHintInfo() const { return hintInfo_; }

  TSetHintWinSizeEvent OnSetHintWinSize;
  TSetHintRectEvent OnSetHintRect;

  // The application's OnShowHint while the window lives.
  void DoShowHint(std::string& hintStr, bool& canShow, THintInfo& hintInfo);
  void DrawBalloon(TCanvas* canvas, TRect body);
  void DrawBitmapBalloon(TCanvas* canvas);
  // Repaints (and reshapes) when the window shows.
  void BitmapChanged(TObject* sender);
  // Cuts the window to what Paint draws at its present size.
  void UpdateShape();

  // Called by the component: the window follows it, or no component.
  void Connect(TKxBalloonHints* hints) { balloonHints_ = hints; }

  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void Dispatch(TMessage& m) override;
  bool IsHintMsg(const MSG& msg) override;
  void ReleaseHandle() override;
  void ActivateHint(TRect rect, const std::string& hint) override;
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;
  void CMTextChanged(TMessage& m) override;
  void WMNCPaint(TMessage& m) override;
  void WMNCHitTest(TMessage& m) override;

 protected:
  void Destroy() override;

 private:
  bool ShowBalloon() const;
  bool Shadow() const;
  void SetHintControl(TControl* control);
  void MouseMessage(TMessage& message);

  TFont* font_ = nullptr;
  int captionWidth_ = 100;
  TAlignment alignment_ = taLeftJustify;
  TKxHintCorner corner_ = hcUpperRight;
  TKxHintCorner currentCorner_ = hcLowerRight;
  TKxBalloonHints* balloonHints_ = nullptr;
  TKxBalloonBitmaps* bitmaps_ = nullptr;
  bool active_ = false;
  TApplication* application_ = nullptr;
  THintInfo hintInfo_;
};

// The component dropped on a form: it installs the balloon window and holds
// its settings.
class TKxBalloonHints : public TComponent {
  DECLARE_CLASS(TKxBalloonHints, TComponent)

  explicit TKxBalloonHints(TComponent* owner);

  TAlignment GetAlignment() const { return alignment_; }
  TKxBalloonBitmaps* GetBitmaps() const { return bitmaps_; }
  void SetBitmaps(TKxBalloonBitmaps* value) { bitmaps_->Assign(value); }
  int GetCaptionWidth() const { return captionWidth_; }
  TColor GetColor() const { return color_; }
  TKxHintCorner GetCorner() const { return corner_; }
  TFont* GetFont() const { return font_; }
  bool GetShadow() const { return shadow_; }
  void SetShadow(bool v) { shadow_ = v; }
  bool GetShowBalloon() const { return showBalloon_; }
  void SetShowBalloon(bool v) { showBalloon_ = v; }
  TSetHintWinSizeEvent GetOnSetHintWinSize() const { return onSetHintWinSize_; }
  TSetHintRectEvent GetOnSetHintRect() const { return onSetHintRect_; }
  TShowHintEvent GetOnShowHint() const { return OnShowHint; }
  void SetOnShowHint(TShowHintEvent e) { OnShowHint = e; }
  // The window connected to the component, or null.
  TKxCustomHintWindow* GetHintWindow() const { return window_; }

  TShowHintEvent OnShowHint;

  // --- virtual operations, in the library's order ---------------------------------------
  // Each stores the value and copies it into the connected window.
  virtual void SetFont(TFont* value);
  virtual void SetColor(TColor value);
  virtual void SetCaptionWidth(int value);
  virtual void SetAlignment(TAlignment value);
  virtual void SetCorner(TKxHintCorner value);
  virtual void SetOnSetHintWinSize(TSetHintWinSizeEvent value);
  virtual void SetOnSetHintRect(TSetHintRectEvent value);
  // The application's hint pauses.
  virtual int GetHintPause() const;
  virtual void SetHintPause(int value);
  virtual int GetHintShortPause() const;
  virtual void SetHintShortPause(int value);

  // The window takes the component's settings and follows it.
  void MakeConnection(TKxCustomHintWindow* window);
  // The window goes or follows another component.
  void BreakConnection(TKxCustomHintWindow* window);
  void FontChanged(TObject* sender);

  void DefineProperties(TFiler* filer) override;

 protected:
  void Destroy() override;

 private:
  void BitmapsChanged(TObject* sender);
  // Turns the application's hints off and on around a change of the window
  // class, so that the application makes a window of the new one.
  static void SwapHintWindowClass(THintWindowClass cls);

  TAlignment alignment_ = taLeftJustify;
  TKxBalloonBitmaps* bitmaps_ = nullptr;
  int captionWidth_ = 100;
  TColor color_ = clInfoBk;
  TKxHintCorner corner_ = hcUpperRight;
  TFont* font_ = nullptr;
  bool shadow_ = false;
  bool showBalloon_ = true;
  TSetHintWinSizeEvent onSetHintWinSize_;
  TSetHintRectEvent onSetHintRect_;
  THintWindowClass savedClass_ = nullptr;
  bool installed_ = false;
  TKxCustomHintWindow* window_ = nullptr;
};

// Start-up: the balloon-hints component joins the class registry.
void InitializeKxBHints();
void FinalizeKxBHints();
